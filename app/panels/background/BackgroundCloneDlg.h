// The Background menu's clone panel, for sheets whose cells carry designs of their own: the
// user picks a source cell and a destination cell on two small sheets and copies the whole
// design of the source (background and border record, image layers, texts) onto the
// destination, which then becomes the current cell.
//
// The rules it keeps: nothing is copied unless source and destination are two different
// cells that both have a frame record; the destination sheet only records its click (the
// canvas follows the source sheet, and the destination after a copy); the three messages
// of a refused copy are English whatever the language.
#pragma once
#include "app/print/PaperPreviewWnd.h"
#include "ui/SkinButton.h"
#include "ui/SkinPanelDlg.h"

class CFrostwellDoc;

class CBackgroundCloneDlg : public CSkinPanelDlg
{
public:
    CBackgroundCloneDlg();

    void OnActivate() override;
    BOOL OnPanelCancel() override { return TRUE; }
    int OnPanelBack() override { return 0; }
    int OnPanelNext() override { return 0; }
    BOOL OnPanelFinish() override { return TRUE; }

    // Copies the record, the image layers and the texts of the source cell onto the
    // destination cell; false, with nothing copied, when either cell has no frame record
    // or they are the same cell.
    static bool CopyDesign(CFrostwellDoc* doc, int source, int destination);

    CPaperPreviewWnd& SourcePreview() { return m_source; }
    CPaperPreviewWnd& DestinationPreview() { return m_destination; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    void OnQuickLink();
    void OnClone();
    LRESULT OnNothing(WPARAM, LPARAM) { return 0; }
    DECLARE_MESSAGE_MAP()

    // Has the preview lay out its cells again and draw them.
    void RefreshPreview(CPaperPreviewWnd& preview);

    CSkinButton m_btnClone;
    CStatic m_sourceLabel, m_hidden, m_destinationLabel;
    CListBox m_quickLinks;
    CPaperPreviewWnd m_source, m_destination;
};

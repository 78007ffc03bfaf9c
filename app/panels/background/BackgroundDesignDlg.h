// The Background menu's design selection panel, first of the menu when every cell of the
// sheet has a design of its own: the sheet with every cell's design, where a click makes
// that cell's frame record the one the canvas and the other panels work on.
//
// The rules it keeps: the panel exists only with individual designs; the preview lays its
// cells out again whenever the panel is shown, so it never shows a stale sheet.
#pragma once
#include "app/print/PaperPreviewWnd.h"
#include "ui/SkinPanelDlg.h"

class CBackgroundDesignDlg : public CSkinPanelDlg
{
public:
    CBackgroundDesignDlg();

    void OnActivate() override;
    BOOL OnPanelCancel() override { return TRUE; }
    int OnPanelBack() override { return 0; }
    int OnPanelNext() override { return 0; }
    BOOL OnPanelFinish() override { return TRUE; }

    CPaperPreviewWnd& Preview() { return m_preview; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    void OnQuickLink();
    DECLARE_MESSAGE_MAP()

    CStatic m_selectionLabel, m_linksLabel;
    CListBox m_quickLinks;
    CPaperPreviewWnd m_preview;
};

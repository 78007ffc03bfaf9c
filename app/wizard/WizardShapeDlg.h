// The design wizard's first page: the catalogue's layouts as thumbnails to choose from, the
// individual-designs and oversized options, and the custom mode (paper sizes and four shape
// buttons) that leads to the paper page.
//
// The rules it keeps: it lists a layout unless it is custom, or restricted and not offered;
// the mode and options live in the wizard, so they outlive a visit to the paper page; a
// layout that allows no individual designs clears that option; resting on a thumbnail
// shows the tip of its layout or paper size.
#pragma once
#include "app/browser/ThumbListCtrl.h"
#include "ui/SkinButton.h"
#include "ui/SkinPanelDlg.h"

class CDesignWizardDlg;
class CPaperLayout;

class CWizardShapeDlg : public CSkinPanelDlg
{
public:
    CWizardShapeDlg();

    void OnActivate() override;
    BOOL OnPanelCancel() override { return TRUE; }
    int OnPanelBack() override;
    int OnPanelNext() override;
    BOOL OnPanelFinish() override;

    int GetSelectedLayoutId() const { return m_nSelectedLayout; }
    int GetSelectedPaperSizeId() const { return m_nSelectedPaper; }
    int GetSelectionCount() const { return m_nSelectionCount; }

    CThumbListCtrl m_layouts;  // 1185
    CThumbListCtrl m_papers;   // 1186
    CThumbListCtrl m_layouts2; // 1187, a second catalogue list no control selects

    // Whether the shape page lists the layout.
    static bool IsListed(const CPaperLayout& layout);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    void OnCatalogue();
    void OnCustom();
    void OnSquare() { ChooseShape(314); }
    void OnCircle() { ChooseShape(313); }
    void OnRectangle() { ChooseShape(312); }
    void OnOval() { ChooseShape(315); }
    void OnIcing() { ApplyVisibility(); }
    void OnIndividual();
    void OnOversized();
    LRESULT OnItemChosen(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CDesignWizardDlg* Wizard() const;
    void ChooseShape(int layoutId);
    void UpdateOptionButtons();
    void ApplyVisibility();
    void ShowItem(int id, bool show);
    void FillLists();
    // The tip of the item under the pointer in one of the lists; FALSE when no item is there.
    BOOL FillItemTip(CThumbListCtrl& list, bool paperSizes, POINT screen, CString& tip);

    CSkinButton m_buttons[10]; // nine bound, the tenth kept for a control the page does not set up
    int m_nSelectedLayout = 0;
    int m_nSelectedPaper = 10;
    BYTE m_bIndividualOffered = 0;
    BYTE m_bSpare1 = 0;
    BYTE m_bSpare2 = 0;
    int m_nSelectionCount = 0;
};

// The design wizard's paper page: a custom layout measured out on the chosen paper with a
// ruler (item width, height or size, gaps, top and left margin), the several-items and
// individual-designs switches, and the layout window that shows the resulting sheet.
//
// The rules it keeps: sizes are kept in display units, gaps and margins in hundredths of an
// inch; the item never reaches past the paper less its margin, and never below the ruler's
// lower bound; a burst of ruler moves redraws the sheet once, 500 ms after the last; Finish
// takes the cell count from a fresh drawing of the sheet, at least one.
#pragma once
#include "app/view/RulerWnd.h"
#include "app/wizard/PaperLayoutWnd.h"
#include "ui/SkinButton.h"
#include "ui/SkinPanelDlg.h"

class CDesignWizardDlg;

// Edit modes: which value the ruler edits.
enum PaperEditMode : int {
    kEditWidth = 1,
    kEditHeight = 2,
    kEditSize = 3,
    kEditGapX = 4,
    kEditGapY = 5,
    kEditTop = 6,
    kEditLeft = 7,
};

class CWizardPaperDlg : public CSkinPanelDlg
{
public:
    CWizardPaperDlg();

    void OnActivate() override;
    BOOL OnPanelCancel() override { return TRUE; }
    int OnPanelBack() override;
    int OnPanelNext() override;
    BOOL OnPanelFinish() override;

    int GetEditMode() const { return m_nEditMode; }
    CSize GetPaperSize() const { return m_paper; } // display units
    CSize GetItemSize() const { return m_item; }   // display units
    CSize GetGap() const { return m_gap; }         // hundredths
    CPoint GetMargin() const { return m_margin; }  // hundredths (left, top)
    int GetShapeKind() const { return m_nShapeKind; }
    int GetPreviewUpdates() const { return m_nPreviewUpdates; }

    CRulerWnd m_ruler;
    CRulerWnd m_ruler2; // never created
    CPaperLayoutWnd m_layoutWnd;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    void OnWidth() { ChooseMode(kEditWidth); }
    void OnHeight() { ChooseMode(kEditHeight); }
    void OnItemSize() { ChooseMode(kEditSize); }
    void OnGapX() { ChooseMode(kEditGapX); }
    void OnGapY() { ChooseMode(kEditGapY); }
    void OnTop() { ChooseMode(kEditTop); }
    void OnLeft() { ChooseMode(kEditLeft); }
    void OnMultiple();
    void OnIndividual();
    void OnTimer(UINT_PTR id);
    BOOL OnEraseBkgnd(CDC* dc);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    CDesignWizardDlg* Wizard() const;
    void ChooseMode(int mode);
    // The paper less the margins, in display units; shortens the item to fit it.
    CSize Clamp();
    void RefreshControls();
    void UpdatePreview();
    // A ruler value into the field of the edit mode.
    void StoreRulerValue(int value);
    int EditedValue() const; // display units
    void CopyToWizard();
    void ShowItem(int id, bool show);

    CSkinButton m_buttons[10]; // nine bound, the tenth kept unbound
    CSize m_paper;             // display units
    CSize m_item;              // display units
    CSize m_gap;               // hundredths
    CPoint m_margin;           // hundredths (left, top)
    Gdiplus::SizeF m_border;   // inches
    int m_nShapeKind = 0;
    int m_nItemCount = 1;
    CBrush m_brushPage;
    int m_nEditMode = kEditWidth;
    BYTE m_bMultiple = 0;
    BYTE m_bIndividual = 0;
    BYTE m_bInitialising = 1;
    int m_nPreviewUpdates = 0;
};

// The design wizard: a modal host in the pale-yellow colours with the shape page and the
// paper page, whose Finish turns the wizard's state into the current paper layout and a new,
// empty design of one frame record per cell.
//
// The rules it keeps: lengths in the state are whole hundredths of an inch, whatever the
// metric setting; the create-design step changes nothing unless the catalogue holds the
// chosen layout; the document's modified flag is left as the reset leaves it.
#pragma once
#include "app/wizard/WizardPaperDlg.h"
#include "app/wizard/WizardShapeDlg.h"
#include "ui/MenuHostDlg.h"

// Shape modes of the wizard.
enum WizardShapeMode : int {
    kShapeCatalogue = 0,
    kShapeCustom = 1,
    kShapeCatalogue2 = 2,
};

class CDesignWizardDlg : public CMenuHostDlg
{
public:
    explicit CDesignWizardDlg(CWnd* parent);

    // The create-design step, run by a page's Finish once it has stored its values.
    // FALSE, with nothing changed, when the catalogue has no layout of the wizard's id.
    BOOL OnFinish();

    CWizardShapeDlg m_shapePage;
    CWizardPaperDlg m_paperPage;

    // The wizard's state, read and written by both pages.
    int m_nShapeMode = kShapeCatalogue;
    int m_nLayoutId = 312;
    int m_nPaperSizeId = 10;
    int m_bMultiple = 0;
    int m_bIndividual = 0;
    int m_bOversized = 0;
    int m_nItemCount = 1;
    CPoint m_margin;  // left, top
    CSize m_gap;      // x, y
    CSize m_itemSize; // width, height
    int m_bCleared = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnPaint();
    DECLARE_MESSAGE_MAP()

    void ResetState();
};

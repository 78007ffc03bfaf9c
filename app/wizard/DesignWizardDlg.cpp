#include "app/wizard/DesignWizardDlg.h"
#include "base/Globals.h"
#include "fw/fwwait.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "res/wizard_res.h"
#include "ui/Skin.h"

BEGIN_MESSAGE_MAP(CDesignWizardDlg, CMenuHostDlg)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CDesignWizardDlg::CDesignWizardDlg(CWnd* parent) : CMenuHostDlg(IDD_DESIGN_WIZARD, parent) {}

void CDesignWizardDlg::DoDataExchange(CDataExchange* pDX)
{
    CMenuHostDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WIZARD_HELP, m_hoverButtons[0]);
    DDX_Control(pDX, IDCANCEL, m_hoverButtons[1]);
    DDX_Control(pDX, kHostNextPlain, m_hoverButtons[2]);
    DDX_Control(pDX, kHostBackPlain, m_hoverButtons[3]);
    DDX_Control(pDX, kHostFinishPlain, m_hoverButtons[4]);
}

void CDesignWizardDlg::ResetState()
{
    m_nShapeMode = kShapeCatalogue;
    m_nLayoutId = 312;
    // A4 portrait, the paper of the layout the shape page selects first.
    m_nPaperSizeId = 10;
    m_bMultiple = m_bIndividual = m_bOversized = 0;
    m_nItemCount = 1;
    m_margin = CPoint(0, 0);
    m_gap = CSize(0, 0);
    m_itemSize = CSize(0, 0);
    m_bCleared = 0;
}

BOOL CDesignWizardDlg::OnInitDialog()
{
    ResetState();
    SetPanelPlaceholder(kHostPlaceholder);
    CSkinPanelDlg* pages[] = {&m_shapePage, &m_paperPage};
    for (CSkinPanelDlg* p : pages) {
        p->m_pDoc = m_pDoc;
        p->m_pHost = this;
        // White captions would vanish on the pale yellow.
        p->m_crButtonText = kSkinBlack;
    }
    AddPanel(&m_shapePage, IDD_WIZARD_SHAPE);
    AddPanel(&m_paperPage, IDD_WIZARD_PAPER);
    CMenuHostDlg::OnInitDialog();
    SetTitle(GetLangText("48"));
    SetDlgItemText(kHostBackPlain, GetLangText("BACK"));
    SetDlgItemText(kHostNextPlain, GetLangText("NEXT"));
    SetDlgItemText(kHostFinishPlain, GetLangText("FINISH"));
    SetDlgItemText(IDCANCEL, GetLangText("CANCEL"));
    return TRUE;
}

void CDesignWizardDlg::OnPaint()
{
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
}

BOOL CDesignWizardDlg::OnFinish()
{
    // An id the catalogue lacks (the catalogue button before an item is chosen, a key that
    // is no number) has no record to copy: refuse rather than build on the old layout.
    const CPaperLayout* source =
        m_nLayoutId >= 0 && m_nLayoutId <= 0xFFFF ? GetGlobalObjectA()->Lookup((WORD)m_nLayoutId) : nullptr;
    if (source == nullptr || m_pDoc == nullptr)
        return FALSE;
    CPaperLayout* layout = GetPaperLayout();
    layout->CopyFrom(*source);
    layout->SetNoInset((BYTE)m_bOversized);
    layout->SetOneDesignPerCell((BYTE)m_bIndividual);
    layout->SetTurned((BYTE)m_bCleared);
    layout->SetMultiple((BYTE)(source->IsMultiple() || m_bMultiple));

    int width = 0, height = 0;
    if (!layout->IsCustom()) {
        const CSize printable = layout->GetPrintableRect();
        width = printable.cx;
        height = printable.cy;
    } else {
        layout->SetPaperSize(m_nPaperSizeId >= 0 && m_nPaperSizeId <= 0xFFFF
                                 ? GetGlobalObjectB()->Lookup((WORD)m_nPaperSizeId)
                                 : nullptr);
        layout->SetItemSize(m_itemSize.cx / 100.0f, m_itemSize.cy / 100.0f);
        layout->SetMargin(m_margin.x / 100.0f, m_margin.y / 100.0f);
        layout->SetSpacing(m_gap.cx / 100.0f, m_gap.cy / 100.0f);
        width = m_itemSize.cx;
        height = m_itemSize.cy;
    }

    m_pDoc->ResetDesign();
    m_pDoc->SetTitle("Untitled");
    m_pDoc->SetPreviewRefresh(TRUE);
    CLayerArray* layers = m_pDoc->GetLayers();
    layers->Reset(m_nItemCount > 0 ? m_nItemCount : 1);
    const CRect rect = m_pDoc->GetDesignRect();
    layers->SetRecordRects(rect, width, height);
    SetGlobalValueA(layout->IsSeries());
    if (layout->GetTemplateBitmap() != 0) {
        CImageLayer* overlay = new CImageLayer;
        overlay->SetPlacement(rect, width, height);
        overlay->LoadMaskFromResource((UINT)layout->GetTemplateBitmap());
        layers->SetLayoutOverlay(overlay);
    }
    {
        CWaitCursor wait;
        m_pDoc->SetRedrawFlag();
        if (CWnd* main = AfxGetMainWnd())
            main->Invalidate(TRUE);
    }
    return TRUE;
}

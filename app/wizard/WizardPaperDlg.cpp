#include "app/wizard/WizardPaperDlg.h"
#include "app/wizard/DesignWizardDlg.h"
#include "base/Globals.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "res/ui_res.h"
#include "res/wizard_res.h"
#include "ui/Skin.h"

#include <algorithm>

namespace {

const PanelControl kPaperControls[] = {
    {IDC_PAPER_WIDTH, "DESIGN_WIZARD_PAPER_WIDTH_BTN", "39", IDB_SKIN_ITEM_WIDTH, "DESIGN_WIZARD_PAPER_WIDTH_BTN"},
    {IDC_PAPER_HEIGHT, "DESIGN_WIZARD_PAPER_HEIGHT_BTN", "40", IDB_SKIN_ITEM_HEIGHT, "DESIGN_WIZARD_PAPER_HEIGHT_BTN"},
    {IDC_PAPER_SIZE, "DESIGN_WIZARD_PAPER_SIZE_BTN", "41", IDB_SKIN_ITEM_SIZE, "DESIGN_WIZARD_PAPER_SIZE_BTN"},
    {IDC_PAPER_GAP_X, "DESIGN_WIZARD_PAPER_GAP_X_BTN", "44", IDB_SKIN_GAP_X, "DESIGN_WIZARD_PAPER_GAP_X_BTN"},
    {IDC_PAPER_GAP_Y, "DESIGN_WIZARD_PAPER_GAP_Y_BTN", "45", IDB_SKIN_GAP_Y, "DESIGN_WIZARD_PAPER_GAP_Y_BTN"},
    {IDC_PAPER_TOP, "DESIGN_WIZARD_PAPER_GAP_TOP_BTN", "46", IDB_SKIN_MARGIN_TOP, "DESIGN_WIZARD_PAPER_GAP_TOP_BTN"},
    {IDC_PAPER_LEFT, "DESIGN_WIZARD_PAPER_GAP_LEFT_BTN", "47", IDB_SKIN_MARGIN_LEFT,
     "DESIGN_WIZARD_PAPER_GAP_LEFT_BTN"},
    {IDC_PAPER_MULTIPLE, "DESIGN_WIZARD_MULTIPLE_BTN", "42", IDB_SKIN_MULTIPLE, "DESIGN_WIZARD_MULTIPLE_BTN"},
    {IDC_PAPER_INDIVIDUAL, "DESIGN_WIZARD_INDIVIDUAL_BTN", "43", IDB_SKIN_INDIVIDUAL, "DESIGN_WIZARD_INDIVIDUAL_BTN"},
};
const int kSizeButton = 2; // index of IDC_PAPER_SIZE in the table

// The ruler's lower bound for sizes (ruler units, a tenth of display units).
const int kRulerSizeLowest = 10;
const UINT kPreviewDelayMs = 500;

float ToInches(int displayUnits) { return FromDisplayUnits(displayUnits); }

// Hundredths of an inch in display units.
int HundredthsToDisplay(int hundredths) { return ToDisplayUnitsA(hundredths / 100.0f); }

} // namespace

BEGIN_MESSAGE_MAP(CWizardPaperDlg, CSkinPanelDlg)
    ON_BN_CLICKED(IDC_PAPER_WIDTH, &CWizardPaperDlg::OnWidth)
    ON_BN_CLICKED(IDC_PAPER_HEIGHT, &CWizardPaperDlg::OnHeight)
    ON_BN_CLICKED(IDC_PAPER_SIZE, &CWizardPaperDlg::OnItemSize)
    ON_BN_CLICKED(IDC_PAPER_GAP_X, &CWizardPaperDlg::OnGapX)
    ON_BN_CLICKED(IDC_PAPER_GAP_Y, &CWizardPaperDlg::OnGapY)
    ON_BN_CLICKED(IDC_PAPER_TOP, &CWizardPaperDlg::OnTop)
    ON_BN_CLICKED(IDC_PAPER_LEFT, &CWizardPaperDlg::OnLeft)
    ON_BN_CLICKED(IDC_PAPER_MULTIPLE, &CWizardPaperDlg::OnMultiple)
    ON_BN_CLICKED(IDC_PAPER_INDIVIDUAL, &CWizardPaperDlg::OnIndividual)
    ON_WM_TIMER()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CWizardPaperDlg::CWizardPaperDlg()
    : CSkinPanelDlg(IDD_WIZARD_PAPER, nullptr), m_paper(0, 0), m_item(0, 0), m_gap(0, 0), m_margin(0, 0), m_border(0, 0)
{
    SetControlTable(kPaperControls);
    m_brushPage.CreateSolidBrush(kSkinPaleYellow);
}

CDesignWizardDlg* CWizardPaperDlg::Wizard() const { return static_cast<CDesignWizardDlg*>(m_pHost); }

void CWizardPaperDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinPanelDlg::DoDataExchange(pDX);
    int i = 0;
    for (const PanelControl& c : kPaperControls)
        DDX_Control(pDX, c.id, m_buttons[i++]);
    DDX_Control(pDX, IDC_PAPER_RULER, m_ruler);
}

BOOL CWizardPaperDlg::OnInitDialog()
{
    m_paper = CSize(ToDisplayUnitsA(7.5f), ToDisplayUnitsA(10.0f));
    m_item = CSize(ToDisplayUnitsA(5.0f), ToDisplayUnitsA(5.0f));
    m_gap = CSize(0, 0);
    m_margin = CPoint(0, 0);
    m_nShapeKind = 0;
    m_nItemCount = 1;
    CSkinPanelDlg::OnInitDialog();
    CRect area;
    GetClientRect(&area);
    area.DeflateRect(200, 5, 5, 30);
    m_layoutWnd.Create(WS_CHILD | WS_VISIBLE, area, this, IDC_PAPER_LAYOUT_WND);
    SetupControls();
    m_ruler.SetStyle(RWS_HORIZONTAL | RWS_SCALE_NEAR);
    ShowItem(IDC_PAPER_SIZE, false);
    UpdateData(FALSE);
    OnActivate();
    m_bInitialising = 0;
    m_helpTips.AddHelpTool(this, &m_ruler, "DESIGN_WIZARD_RULER");
    m_helpTips.AddHelpTool(this, &m_layoutWnd, "DESIGN_WIZARD_PREVIEW_LAYOUT");
    return TRUE;
}

void CWizardPaperDlg::ShowItem(int id, bool show)
{
    if (HWND h = ::GetDlgItem(m_hWnd, id))
        ::ShowWindow(h, show ? SW_SHOW : SW_HIDE);
}

void CWizardPaperDlg::OnActivate()
{
    const CDesignWizardDlg* w = Wizard();
    const int paperId = w->m_nPaperSizeId;
    if (const CPaperSize* paper =
            paperId >= 0 && paperId <= 0xFFFF ? GetGlobalObjectB()->Lookup((WORD)paperId) : nullptr) {
        const Gdiplus::SizeF printable = paper->GetPrintableSize();
        m_paper = CSize(ToDisplayUnitsA(printable.Width), ToDisplayUnitsA(printable.Height));
        m_border = Gdiplus::SizeF(paper->GetMargin().X, paper->GetMargin().Y);
        const int layoutId = w->m_nLayoutId;
        if (const CPaperLayout* layout =
                layoutId >= 0 && layoutId <= 0xFFFF ? GetGlobalObjectA()->Lookup((WORD)layoutId) : nullptr) {
            m_nShapeKind = layout->GetShape();
            if (m_nShapeKind == CPaperLayout::kRound || m_nShapeKind == CPaperLayout::kSquare) {
                const int side = std::min(m_paper.cx, m_paper.cy);
                m_item = CSize(side, side);
            } else {
                m_item = m_paper;
            }
        }
    }
    if (m_nShapeKind == CPaperLayout::kRound || m_nShapeKind == CPaperLayout::kSquare) {
        m_nEditMode = kEditSize;
        m_buttons[kSizeButton].SetBitmaps(
            m_nShapeKind == CPaperLayout::kRound ? IDB_SKIN_ITEM_SIZE : IDB_SKIN_ITEM_SIZE_SQUARE, 0xFFFFFFFF, 0, 0);
    }
    if (m_bInitialising)
        return;
    RefreshControls();
    Invalidate(TRUE);
    UpdatePreview();
}

CSize CWizardPaperDlg::Clamp()
{
    const float paperW = ToInches(m_paper.cx), paperH = ToInches(m_paper.cy);
    const float left = m_margin.x / 100.0f, top = m_margin.y / 100.0f;
    const CSize room(ToDisplayUnitsA(paperW - left), ToDisplayUnitsA(paperH - top));
    // Only a clamped side is written back: a round trip through inches could lose a unit.
    if (ToInches(m_item.cx) + left - paperW >= 0)
        m_item.cx = room.cx;
    if (ToInches(m_item.cy) + top - paperH >= 0)
        m_item.cy = room.cy;
    // Margins that leave no room would leave no item: keep the ruler's lowest size.
    const int lowest = kRulerSizeLowest * 10;
    m_item.cx = std::max<int>(m_item.cx, lowest);
    m_item.cy = std::max<int>(m_item.cy, lowest);
    return room;
}

int CWizardPaperDlg::EditedValue() const
{
    switch (m_nEditMode) {
    case kEditWidth:
    case kEditSize:
        return m_item.cx;
    case kEditHeight:
        return m_item.cy;
    case kEditGapX:
        return HundredthsToDisplay(m_gap.cx);
    case kEditGapY:
        return HundredthsToDisplay(m_gap.cy);
    case kEditTop:
        return HundredthsToDisplay(m_margin.y);
    default:
        return HundredthsToDisplay(m_margin.x);
    }
}

void CWizardPaperDlg::RefreshControls()
{
    const CSize room = Clamp();
    int lowest = 0, highest = 0;
    switch (m_nEditMode) {
    case kEditWidth:
        lowest = kRulerSizeLowest;
        highest = room.cx / 10;
        break;
    case kEditHeight:
        lowest = kRulerSizeLowest;
        highest = room.cy / 10;
        break;
    case kEditSize:
        lowest = kRulerSizeLowest;
        highest = std::min(m_paper.cx, m_paper.cy) / 10;
        break;
    default:
        highest = IsMetric() ? 50 : 20;
        break;
    }
    // An upper bound below the lower one (margins that fill the paper) would leave no scale
    // and a division by zero.
    highest = std::max(highest, std::max(lowest, 1));
    if (m_ruler.GetSafeHwnd() != nullptr) {
        CRect client;
        m_ruler.GetClientRect(&client);
        m_ruler.SetMinPosition(lowest);
        m_ruler.SetScaleLength(highest);
        m_ruler.SetTickSpacing((float)(client.Width() - 40) / (float)highest);
        m_ruler.RemoveAllMarkers();
        m_ruler.AddMarker(EditedValue() / 10, 0, lowest, highest, 0, 0, kSkinBlack, kSkinBlue);
        m_ruler.UpdateScale();
        m_ruler.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    const bool several = m_bMultiple != 0;
    ShowItem(IDC_PAPER_MARK_WIDTH, m_nEditMode == kEditWidth);
    ShowItem(IDC_PAPER_MARK_HEIGHT, m_nEditMode == kEditHeight);
    ShowItem(IDC_PAPER_MARK_SIZE, m_nEditMode == kEditSize);
    ShowItem(IDC_PAPER_MARK_GAP_X, m_nEditMode == kEditGapX && several);
    ShowItem(IDC_PAPER_MARK_GAP_Y, m_nEditMode == kEditGapY && several);
    ShowItem(IDC_PAPER_MARK_TOP, m_nEditMode == kEditTop);
    ShowItem(IDC_PAPER_MARK_LEFT, m_nEditMode == kEditLeft);
    ShowItem(IDC_PAPER_MARK_MULTIPLE, several);
    ShowItem(IDC_PAPER_MARK_INDIVIDUAL, several && m_bIndividual);
    for (int id : {IDC_PAPER_INDIVIDUAL, IDC_PAPER_GAP_X, IDC_PAPER_GAP_Y})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), several);
    const bool oneSize = m_nShapeKind == CPaperLayout::kRound || m_nShapeKind == CPaperLayout::kSquare;
    ShowItem(IDC_PAPER_WIDTH, !oneSize);
    ShowItem(IDC_PAPER_HEIGHT, !oneSize);
    ShowItem(IDC_PAPER_SIZE, oneSize);
}

void CWizardPaperDlg::StoreRulerValue(int value)
{
    const int units = value * 10;
    switch (m_nEditMode) {
    case kEditWidth:
        m_item.cx = units;
        return;
    case kEditHeight:
        m_item.cy = units;
        return;
    case kEditSize:
        m_item.cx = m_item.cy = units;
        return;
    case kEditGapX:
        m_gap.cx = DisplayUnitsToHundredths(units);
        break;
    case kEditGapY:
        m_gap.cy = DisplayUnitsToHundredths(units);
        break;
    case kEditTop:
        m_margin.y = DisplayUnitsToHundredths(units);
        break;
    default:
        m_margin.x = DisplayUnitsToHundredths(units);
        break;
    }
    Clamp();
}

void CWizardPaperDlg::ChooseMode(int mode)
{
    if (const RulerMarker* marker = m_ruler.GetMarker(0))
        StoreRulerValue(marker->position);
    m_nEditMode = mode;
    RefreshControls();
    m_ruler.SetFocus();
}

void CWizardPaperDlg::OnMultiple()
{
    m_bMultiple = m_bMultiple ? 0 : 1;
    RefreshControls();
    UpdatePreview();
}

void CWizardPaperDlg::OnIndividual()
{
    m_bIndividual = m_bIndividual ? 0 : 1;
    RefreshControls();
    UpdatePreview();
}

BOOL CWizardPaperDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr || header->code != RULER_NOTIFY_CODE || header->hwndFrom != m_ruler.GetSafeHwnd())
        return CSkinPanelDlg::OnNotify(wParam, lParam, pResult);
    StoreRulerValue(reinterpret_cast<const RulerNotification*>(lParam)->newPosition);
    // A drag sends many moves: the sheet is drawn again once they stop.
    SetTimer(kPanelApplyTimer, kPreviewDelayMs, nullptr);
    *pResult = 0;
    return TRUE;
}

void CWizardPaperDlg::OnTimer(UINT_PTR id)
{
    if (id != kPanelApplyTimer) {
        CSkinPanelDlg::OnTimer(id);
        return;
    }
    KillTimer(kPanelApplyTimer);
    UpdatePreview();
}

BOOL CWizardPaperDlg::OnEraseBkgnd(CDC*)
{
    const BOOL erased = (BOOL)Default();
    UpdatePreview();
    return erased;
}

HBRUSH CWizardPaperDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_LISTBOX || ctlColor == CTLCOLOR_BTN)
        return CSkinPanelDlg::OnCtlColor(dc, wnd, ctlColor);
    dc->SetBkMode(TRANSPARENT);
    dc->SetBkColor(kSkinPaleYellow);
    return (HBRUSH)m_brushPage.GetSafeHandle();
}

void CWizardPaperDlg::UpdatePreview()
{
    CPaperPreview& preview = m_layoutWnd.Preview();
    preview.SetSheetSize(
        Gdiplus::SizeF(DisplayUnitsToHundredths(m_paper.cx) / 100.0f, DisplayUnitsToHundredths(m_paper.cy) / 100.0f));
    preview.SetCellSize(
        Gdiplus::SizeF(DisplayUnitsToHundredths(m_item.cx) / 100.0f, DisplayUnitsToHundredths(m_item.cy) / 100.0f));
    preview.SetSpacing(Gdiplus::SizeF(m_gap.cx / 100.0f, m_gap.cy / 100.0f));
    preview.SetCaptionFlags(1, m_bMultiple);
    preview.SetShapeKind(m_nShapeKind);
    preview.SetBorder(m_border);
    preview.SetMargin(Gdiplus::SizeF(m_margin.x / 100.0f, m_margin.y / 100.0f));
    preview.SetMultiple(m_bMultiple);
    preview.SetHighlighted(0);
    preview.SetPerCellDesigns(m_bIndividual);
    ++m_nPreviewUpdates;
    if (m_layoutWnd.GetSafeHwnd() != nullptr)
        m_layoutWnd.Invalidate(TRUE);
}

void CWizardPaperDlg::CopyToWizard()
{
    CDesignWizardDlg* w = Wizard();
    w->m_bMultiple = m_bMultiple;
    w->m_margin = m_margin;
    w->m_gap = m_gap;
    w->m_itemSize = CSize(DisplayUnitsToHundredths(m_item.cx), DisplayUnitsToHundredths(m_item.cy));
    w->m_bIndividual = m_bIndividual;
}

int CWizardPaperDlg::OnPanelBack()
{
    UpdateData(TRUE);
    CopyToWizard();
    return 0;
}

int CWizardPaperDlg::OnPanelNext()
{
    UpdateData(TRUE);
    CopyToWizard();
    return 0;
}

BOOL CWizardPaperDlg::OnPanelFinish()
{
    UpdateData(TRUE);
    // The count is that of the sheet as it stands now: drawn here, since a sheet never
    // painted has laid out no cell; a design has at least one area.
    UpdatePreview();
    CPaperPreview& preview = m_layoutWnd.Preview();
    const Gdiplus::SizeF sheet = preview.GetSheetSize();
    preview.Draw(nullptr, 0, 0, FALSE);
    preview.SetSheetSize(sheet);
    m_nItemCount = std::max(1, preview.GetCellCount());
    CopyToWizard();
    Wizard()->m_nItemCount = m_nItemCount;
    return Wizard()->OnFinish();
}

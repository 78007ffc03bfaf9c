#include "app/panels/background/BackgroundFillDlg.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/background/QuickLinks.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "res/background_res.h"
#include "res/ui_res.h"
#include "ui/FillControls.h"

namespace {

const PanelControl kFillControls[] = {
    {IDC_FILL_SOLID, "BACKGROUND_FILL_SOLID_BTN", "19", IDB_SKIN_SOLID, "BACKGROUND_FILL_SOLID_BTN"},
    {IDC_FILL_LINEAR, "BACKGROUND_FILL_LINEAR_BTN", "20", IDB_SKIN_KNOB_LINEAR, "BACKGROUND_FILL_LINEAR_BTN"},
    {IDC_FILL_RADIAL, "BACKGROUND_FILL_RADIAL_BTN", "21", IDB_SKIN_RADIAL, "BACKGROUND_FILL_RADIAL_BTN"},
    {IDC_FILL_CLEAR, "BACKGROUND_FILL_CLEAR_BTN", "18", IDB_SKIN_CLEAR, "BACKGROUND_FILL_CLEAR_BTN"},
    {IDC_FILL_ADD_SWATCH, "ADD_SWATCH_BTN", nullptr, IDB_SKIN_ADD_SWATCH, "ADD_SWATCH_BTN"},
    {IDC_FILL_REMOVE_SWATCH, "REMOVE_SWATCH_BTN", nullptr, IDB_SKIN_REMOVE_SWATCH, "REMOVE_SWATCH_BTN"},
    {IDC_FILL_COLOUR_LABEL, "FILL_COLOURS_LABEL", "22", 0, nullptr},
    {IDC_FILL_SWATCH_LABEL, "FILL_SWATCHES_LABEL", "24", 0, nullptr},
    {IDC_FILL_TRANSPARENCY_LABEL, "FILL_TRANSPARENCY_LABEL", "23", 0, nullptr},
    {IDC_FILL_ANGLE_LABEL, "FILL_ANGLE_LABEL", "25", 0, nullptr},
    {IDC_FILL_SWATCHES, "SWATCH_LIST", nullptr, 0, "SWATCH_LIST"},
    {IDC_FILL_COLOUR1, "FILL_COLOUR1", nullptr, 0, "COLOUR_SELECTION"},
    {IDC_FILL_COLOUR2, "FILL_COLOUR2", nullptr, 0, "COLOUR_SELECTION"},
    {IDC_FILL_COLOUR5, "FILL_COLOUR5", nullptr, 0, "COLOUR_SELECTION"},
    {IDC_FILL_COLOUR3, "FILL_COLOUR3", nullptr, 0, "COLOUR_SELECTION"},
    {IDC_FILL_COLOUR4, "FILL_COLOUR4", nullptr, 0, "COLOUR_SELECTION"},
    {IDC_FILL_ANGLE, "FILL_ANGLE", nullptr, 0, "COLOUR_ROTATION"},
    {IDC_FILL_TRANSPARENCY, "FILL_TRANSPARENCY", nullptr, 0, "COLOUR_EFFECT"},
};

// The colour picker's "chosen" notification (wParam the colour, lParam its control id).
const UINT kPickerSelEndOk = WM_USER + 1004;

} // namespace

BEGIN_MESSAGE_MAP(CBackgroundFillDlg, CSkinPanelDlg)
    ON_MESSAGE(kPickerSelEndOk, &CBackgroundFillDlg::OnColourSelEndOk)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(IDC_FILL_CLEAR, &CBackgroundFillDlg::OnFillClear)
    ON_BN_CLICKED(IDC_FILL_SOLID, &CBackgroundFillDlg::OnFillSolid)
    ON_BN_CLICKED(IDC_FILL_LINEAR, &CBackgroundFillDlg::OnFillLinear)
    ON_BN_CLICKED(IDC_FILL_RADIAL, &CBackgroundFillDlg::OnFillRadial)
    ON_BN_CLICKED(1018, &CBackgroundFillDlg::OnNothing)
    ON_WM_CTLCOLOR()
    ON_LBN_SELCHANGE(IDC_QUICK_LINKS, &CBackgroundFillDlg::OnQuickLink)
    ON_CBN_SELENDOK(IDC_FILL_SWATCHES, &CBackgroundFillDlg::OnSwatchChosen)
    ON_BN_CLICKED(IDC_FILL_ADD_SWATCH, &CBackgroundFillDlg::OnAddSwatch)
    ON_BN_CLICKED(IDC_FILL_REMOVE_SWATCH, &CBackgroundFillDlg::OnRemoveSwatch)
END_MESSAGE_MAP()

CBackgroundFillDlg::CBackgroundFillDlg() : CSkinPanelDlg(IDD_BACKGROUND_FILL, nullptr), m_swatches(m_swatchList, *this)
{
    SetControlTable(kFillControls);
}

int CBackgroundFillDlg::PickerId(int colour)
{
    static const int ids[] = {IDC_FILL_COLOUR1, IDC_FILL_COLOUR2, IDC_FILL_COLOUR3, IDC_FILL_COLOUR4, IDC_FILL_COLOUR5};
    return colour >= 1 && colour <= 5 ? ids[colour - 1] : 0;
}

COLORREF CBackgroundFillDlg::RecordColour(CLayerArray* layers, int colour)
{
    switch (colour) {
    case 1:
        return layers->GetBgColour1();
    case 2:
        return layers->GetBgColour2();
    case 3:
        return layers->GetBgColour3();
    case 4:
        return layers->GetBgColour4();
    default:
        return layers->GetBgColour5();
    }
}

void CBackgroundFillDlg::SetRecordColour(CLayerArray* layers, int colour, COLORREF value)
{
    switch (colour) {
    case 1:
        layers->SetBgColour1(value);
        break;
    case 2:
        layers->SetBgColour2(value);
        break;
    case 3:
        layers->SetBgColour3(value);
        break;
    case 4:
        layers->SetBgColour4(value);
        break;
    default:
        layers->SetBgColour5(value);
        break;
    }
}

CBackgroundMenuDlg* CBackgroundFillDlg::Host() const { return static_cast<CBackgroundMenuDlg*>(m_pHost); }

CLayerArray* CBackgroundFillDlg::Layers() const { return m_pDoc->GetLayers(); }

void CBackgroundFillDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinPanelDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FILL_SOLID, m_btnSolid);
    DDX_Control(pDX, IDC_FILL_LINEAR, m_btnLinear);
    DDX_Control(pDX, IDC_FILL_RADIAL, m_btnRadial);
    DDX_Control(pDX, IDC_FILL_CLEAR, m_btnClear);
    DDX_Control(pDX, IDC_FILL_ADD_SWATCH, m_btnAdd);
    DDX_Control(pDX, IDC_FILL_REMOVE_SWATCH, m_btnRemove);
    DDX_Control(pDX, IDC_QUICK_LINKS, m_quickLinks);
    DDX_Control(pDX, IDC_FILL_HIDDEN1, m_hidden[0]);
    DDX_Control(pDX, IDC_FILL_HIDDEN2, m_hidden[1]);
    DDX_Control(pDX, IDC_FILL_HIDDEN3, m_hidden[2]);
    DDX_Control(pDX, IDC_FILL_HIDDEN4, m_hidden[3]);
    DDX_Control(pDX, IDC_FILL_ANGLE, m_dial);
    for (int c = 1; c <= 5; ++c)
        DDX_Control(pDX, PickerId(c), m_pickers[c - 1]);
    DDX_Control(pDX, IDC_FILL_COLOUR_LABEL, m_lblColours);
    DDX_Control(pDX, IDC_FILL_SWATCH_LABEL, m_lblSwatches);
    DDX_Control(pDX, IDC_FILL_TRANSPARENCY_LABEL, m_lblTransparency);
    DDX_Control(pDX, IDC_FILL_ANGLE_LABEL, m_lblAngle);
    DDX_Control(pDX, IDC_FILL_SWATCHES, m_swatchList);
    DDX_Control(pDX, IDC_FILL_TRANSPARENCY_VALUE, m_transparencyValue);
}

BOOL CBackgroundFillDlg::OnInitDialog()
{
    CSkinPanelDlg::OnInitDialog();
    FillQuickLinks(m_quickLinks, m_fontBoldCell, IDD_BACKGROUND_FILL, m_pDoc);
    SetControlColour(IDC_QUICK_LINKS, kSkinCaptionWhite);
    for (CStatic& s : m_hidden)
        s.SetFont(&m_fontBold);
    m_dial.SetBackgroundColour(m_crPanel);
    m_dial.SetRange(0, 359, FALSE);
    m_dial.SetPos(Layers()->GetBgAngle());
    m_dial.SetKnobBitmap(IDB_SKIN_KNOB_LINEAR);
    m_bar.CreateFromStatic(WS_CHILD | WS_VISIBLE | 0x14E, this, IDC_FILL_TRANSPARENCY_PLACE, IDC_FILL_TRANSPARENCY);
    m_bar.SetScrollRange(0, 100, FALSE);
    m_bar.SetScrollPos(100, FALSE);
    m_bar.SetThumbColour(kSkinBarRed);
    m_bar.SetGreyMarks(TRUE);
    m_transparency.Bind(&m_bar, &m_transparencyValue, ValueControl::ScrollBar, 100.0f, kValuePercent, 0, 100, false);
    m_transparency.SetApply([this](float opacity) { Layers()->SetBgOpacity(opacity); });
    m_transparency.SetDocument(m_pDoc, EditScope::AllViews);
    SetupControls(); // captions, bitmaps and help bubbles, the bar's included
    m_swatches.Fill();
    RefreshFillControls();
    return TRUE;
}

void CBackgroundFillDlg::OnActivate()
{
    RefreshFillControls();
    Host()->UpdateDesign(); // showing the panel redraws the design (and marks it modified)
    SelectQuickLink(m_quickLinks, IDD_BACKGROUND_FILL, m_pDoc);
    Host()->EnableBack(IndividualDesignsOn());
    Host()->EnableNext(TRUE);
    ShowRecordColours();
    // Rounded, not truncated: a stored 0.53 shows 53, not 52.
    m_transparency.SetStored(Layers()->GetBgOpacity());
    m_dial.SetPos(Layers()->GetBgAngle());
    RefreshFillControls();
    Host()->EnableFinish(TRUE);
    CSkinPanelDlg::OnActivate();
}

int CBackgroundFillDlg::OnPanelBack()
{
    UpdateData(TRUE);
    return 0;
}

int CBackgroundFillDlg::OnPanelNext()
{
    UpdateData(TRUE);
    return 0;
}

BOOL CBackgroundFillDlg::OnPanelFinish()
{
    UpdateData(TRUE);
    return TRUE;
}

void CBackgroundFillDlg::SetFillKind(int kind)
{
    m_nFillKind = kind;
    Host()->m_nFillKind = kind;
}

void CBackgroundFillDlg::SelectFirstSwatch()
{
    m_swatchList.SetCurSel(0);
    ApplySelectedSwatch();
}

void CBackgroundFillDlg::SetPlainFill(int kind)
{
    SelectFirstSwatch();
    CLayerArray* layers = Layers();
    layers->SetBgOpacity(1.0f);
    m_transparency.SetStored(1.0f); // the bar and its value show the opaque fill
    layers->SetBgLinear(0);
    layers->SetBgRadial(0);
    m_pDoc->SetModifiedFlag(TRUE);
    SetFillKind(kind);
    Host()->UpdateDesign();
    RefreshFillControls();
    UpdateData(FALSE);
}

void CBackgroundFillDlg::SetGradientFill(int kind)
{
    if (m_nFillKind <= 1)
        SelectFirstSwatch();
    CLayerArray* layers = Layers();
    layers->SetBgLinear(kind == 2 ? 1 : 0);
    layers->SetBgRadial(kind == 3 ? 1 : 0);
    m_pDoc->SetModifiedFlag(TRUE);
    SetFillKind(kind);
    Host()->UpdateDesign();
    RefreshFillControls();
    UpdateData(FALSE);
}

void CBackgroundFillDlg::RefreshFillControls()
{
    CLayerArray* layers = Layers();
    const int kind = layers->GetBgRadial() ? 3 : layers->GetBgLinear() ? 2 : 1;
    SetFillKind(kind);
    const int marks[] = {IDC_FILL_MARK_SOLID, IDC_FILL_MARK_LINEAR, IDC_FILL_MARK_RADIAL};
    for (int i = 0; i < 3; ++i)
        ::ShowWindow(::GetDlgItem(m_hWnd, marks[i]), kind == i + 1 ? SW_SHOW : SW_HIDE);
    const FillKindControls& row = *FillControlsFor(kind); // kind is 1, 2 or 3 here
    m_dial.EnableWindow(row.dial);
    m_pickers[0].EnableWindow(TRUE);
    for (int c = 2; c <= 5; ++c)
        m_pickers[c - 1].EnableWindow(row.gradientPickers);
    m_swatchList.EnableWindow(row.swatches);
    m_btnAdd.EnableWindow(row.swatches);
    m_btnRemove.EnableWindow(row.swatches);
    m_lblSwatches.SetHighlight(row.swatches);
    m_lblAngle.SetHighlight(row.dial);
    UpdateSwatchButtons();
}

void CBackgroundFillDlg::UpdateSwatchButtons()
{
    const int kind = Host()->m_nFillKind;
    EnableSwatchButtons(kind, kind == 2 || kind == 3 ? m_swatches.Match() : 0, m_btnAdd, m_btnRemove);
}

void CBackgroundFillDlg::ApplySelectedSwatch() { m_swatches.Apply(); }

void CBackgroundFillDlg::GetSwatchColours(COLORREF colours[5]) const
{
    for (int c = 1; c <= 5; ++c)
        colours[c - 1] = RecordColour(Layers(), c);
}

void CBackgroundFillDlg::SetSwatchColours(const COLORREF colours[5])
{
    for (int c = 1; c <= 5; ++c)
        SetRecordColour(Layers(), c, colours[c - 1]);
    ShowRecordColours();
    m_pDoc->DesignEdited(EditScope::AllViews);
    UpdateSwatchButtons();
}

void CBackgroundFillDlg::SwatchesChanged(bool designChanged)
{
    UpdateSwatchButtons();
    if (designChanged)
        m_pDoc->DesignEdited(EditScope::AllViews);
}

void CBackgroundFillDlg::ShowRecordColours()
{
    for (int c = 1; c <= 5; ++c)
        m_pickers[c - 1].SetColour(RecordColour(Layers(), c));
}

LRESULT CBackgroundFillDlg::OnColourSelEndOk(WPARAM wParam, LPARAM lParam)
{
    for (int c = 1; c <= 5; ++c)
        if ((int)lParam == PickerId(c)) {
            SetRecordColour(Layers(), c, m_pickers[c - 1].GetColour());
            UpdateSwatchButtons();
            m_pDoc->SetModifiedFlag(TRUE);
        }
    Host()->UpdateDesign();
    return 0;
}

void CBackgroundFillDlg::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    const HWND from = bar != nullptr ? bar->GetSafeHwnd() : nullptr;
    if (from != nullptr && from == m_dial.GetSafeHwnd()) {
        Layers()->SetBgAngle(m_dial.GetPos());
        m_dial.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Host()->UpdateDesign();
    } else if (!m_transparency.OnScroll(from, code, (int)(short)pos)) {
        Host()->UpdateDesign();
    }
    // (The bar stores the opacity, shows "%d%%" and updates the design itself, once.)
    Default();
}

HBRUSH CBackgroundFillDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    return CSkinPanelDlg::OnCtlColor(dc, wnd, ctlColor);
}

void CBackgroundFillDlg::OnQuickLink()
{
    UpdateData(TRUE);
    JumpToQuickLink(m_quickLinks, m_pHost, m_pDoc);
}

void CBackgroundFillDlg::OnAddSwatch() { m_swatches.Add(); }

void CBackgroundFillDlg::OnRemoveSwatch() { m_swatches.Remove(); }

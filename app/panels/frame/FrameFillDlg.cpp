#include "app/panels/frame/FrameFillDlg.h"

#include "model/design/FrostwellDoc.h"
#include "res/frame_fill_res.h"
#include "res/ui_res.h"
#include "ui/FillControls.h"
#include "ui/MenuHostDlg.h"

namespace {

const PanelControl kFrameFillControls[] = {
    {IDC_FRAME_FILL_ADD_SWATCH, "FRAME_ADD_SWATCH_BTN", nullptr, IDB_SKIN_ADD_SWATCH, "FRAME_ADD_SWATCH_BTN"},
    {IDC_FRAME_FILL_REMOVE_SWATCH, "FRAME_REMOVE_SWATCH_BTN", nullptr, IDB_SKIN_REMOVE_SWATCH,
     "FRAME_REMOVE_SWATCH_BTN"},
    {IDC_FRAME_FILL_CLEAR, "FRAME_FILL_CLEAR_BTN", "18", IDB_SKIN_CLEAR, "FRAME_FILL_CLEAR_BTN"},
    {IDC_FRAME_FILL_SOLID, "FRAME_FILL_SOLID_BTN", "19", IDB_SKIN_SOLID, "FRAME_FILL_SOLID_BTN"},
    {IDC_FRAME_FILL_LINEAR, "FRAME_FILL_LINEAR_BTN", "20", IDB_SKIN_KNOB_LINEAR, "FRAME_FILL_LINEAR_BTN"},
    {IDC_FRAME_FILL_RADIAL, "FRAME_FILL_RADIAL_BTN", "21", IDB_SKIN_RADIAL, "FRAME_FILL_RADIAL_BTN"},
    {IDC_FRAME_FILL_SWATCH_LABEL, "FRAME_FILL_SWATCHES_LABEL", "24", 0, nullptr},
    {IDC_FRAME_FILL_OPACITY_LABEL, "FRAME_FILL_TRANSPARENCY_LABEL", "23", 0, nullptr},
    {IDC_FRAME_FILL_ANGLE_LABEL, "FRAME_FILL_ANGLE_LABEL", "25", 0, nullptr},
    {IDC_FRAME_FILL_COLOUR_LABEL, "FRAME_FILL_COLOUR_LABEL", "22", 0, nullptr},
    {IDC_FRAME_FILL_OUTLINE_LABEL, "FRAME_FILL_OUTLINE_WIDTH_LABEL", "60", 0, nullptr},
    {IDC_FRAME_FILL_OUTLINE_COLOUR_LABEL, "FRAME_FILL_OUTLINE_COLOUR_LABEL", "59", 0, nullptr},
    {IDC_FRAME_FILL_SWATCHES, "SWATCH_LIST", nullptr, 0, "SWATCH_LIST"},
    {IDC_FRAME_FILL_COLOUR1, "FRAME_FILL_COLOUR1", nullptr, 0, "COLOUR_SELECTION1"},
    {IDC_FRAME_FILL_COLOUR2, "FRAME_FILL_COLOUR2", nullptr, 0, "COLOUR_SELECTION2"},
    {IDC_FRAME_FILL_COLOUR3, "FRAME_FILL_COLOUR3", nullptr, 0, "COLOUR_SELECTION3"},
    {IDC_FRAME_FILL_COLOUR4, "FRAME_FILL_COLOUR4", nullptr, 0, "COLOUR_SELECTION4"},
    {IDC_FRAME_FILL_COLOUR5, "FRAME_FILL_COLOUR5", nullptr, 0, "COLOUR_SELECTION5"},
    {IDC_FRAME_FILL_OUTLINE_COLOUR, "FRAME_PEN", nullptr, 0, "FRAME_PEN"},
    {IDC_FRAME_FILL_OPACITY, "FRAME_FILL_OPACITY", nullptr, 0, "COLOUR_EFFECT"},
    {IDC_FRAME_FILL_OUTLINE, "FRAME_PEN_THICKNESS", nullptr, 0, "FRAME_PEN_THICKNESS"},
    {IDC_FRAME_FILL_ANGLE, "FRAME_FILL_ANGLE", nullptr, 0, "COLOUR_ROTATION"},
};

// The colour picker's "chosen" notification (wParam the colour, lParam its control id).
const UINT kPickerSelEndOk = WM_USER + 1004;
// The skinned scroll bars' style: child, visible, horizontal with the skin's arrows.
const DWORD kBarStyle = WS_CHILD | WS_VISIBLE | 0x14E;
// This panel's entry in the quick links.
const int kOwnLink = 1;

COLORREF RecordColour(CLayerArray* layers, int colour)
{
    switch (colour) {
    case 1:
        return layers->GetFrameColour1();
    case 2:
        return layers->GetFrameColour2();
    case 3:
        return layers->GetFrameColour3();
    case 4:
        return layers->GetFrameColour4();
    case 5:
        return layers->GetFrameColour5();
    default:
        return layers->GetFrameOutlineColour();
    }
}

void SetRecordColour(CLayerArray* layers, int colour, COLORREF value)
{
    switch (colour) {
    case 1:
        layers->SetFrameColour1(value);
        break;
    case 2:
        layers->SetFrameColour2(value);
        break;
    case 3:
        layers->SetFrameColour3(value);
        break;
    case 4:
        layers->SetFrameColour4(value);
        break;
    case 5:
        layers->SetFrameColour5(value);
        break;
    default:
        layers->SetFrameOutlineColour(value);
        break;
    }
}

} // namespace

BEGIN_MESSAGE_MAP(CFrameFillDlg, CFramePanelDlg)
    ON_MESSAGE(kPickerSelEndOk, &CFrameFillDlg::OnColourSelEndOk)
    ON_CBN_SELENDOK(IDC_FRAME_FILL_SWATCHES, &CFrameFillDlg::OnSwatchChosen)
    ON_BN_CLICKED(IDC_FRAME_FILL_ADD_SWATCH, &CFrameFillDlg::OnAddSwatch)
    ON_BN_CLICKED(IDC_FRAME_FILL_REMOVE_SWATCH, &CFrameFillDlg::OnRemoveSwatch)
    ON_BN_CLICKED(IDC_FRAME_FILL_CLEAR, &CFrameFillDlg::OnFillClear)
    ON_BN_CLICKED(IDC_FRAME_FILL_SOLID, &CFrameFillDlg::OnFillSolid)
    ON_BN_CLICKED(IDC_FRAME_FILL_LINEAR, &CFrameFillDlg::OnFillLinear)
    ON_BN_CLICKED(IDC_FRAME_FILL_RADIAL, &CFrameFillDlg::OnFillRadial)
    ON_WM_HSCROLL()
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CFrameFillDlg::CFrameFillDlg() : CFramePanelDlg(IDD_FRAME_FILL, nullptr), m_swatches(m_swatchList, *this)
{
    SetControlTable(kFrameFillControls);
}

int CFrameFillDlg::PickerId(int colour)
{
    static const int ids[] = {IDC_FRAME_FILL_COLOUR1, IDC_FRAME_FILL_COLOUR2, IDC_FRAME_FILL_COLOUR3,
                              IDC_FRAME_FILL_COLOUR4, IDC_FRAME_FILL_COLOUR5, IDC_FRAME_FILL_OUTLINE_COLOUR};
    return colour >= 1 && colour <= 6 ? ids[colour - 1] : 0;
}

CLayerArray* CFrameFillDlg::Layers() const { return m_pDoc->GetLayers(); }

void CFrameFillDlg::DoDataExchange(CDataExchange* pDX)
{
    CFramePanelDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FRAME_FILL_SWATCH_LABEL, m_lblSwatches);
    DDX_Control(pDX, IDC_FRAME_FILL_OPACITY_LABEL, m_lblOpacity);
    DDX_Control(pDX, IDC_FRAME_FILL_OUTLINE_LABEL, m_lblOutlineWidth);
    DDX_Control(pDX, IDC_FRAME_FILL_OUTLINE_COLOUR_LABEL, m_lblOutlineColour);
    DDX_Control(pDX, IDC_FRAME_FILL_COLOUR_LABEL, m_lblColour);
    DDX_Control(pDX, IDC_FRAME_FILL_ANGLE_LABEL, m_lblAngle);
    DDX_Control(pDX, IDC_FRAME_FILL_SWATCHES, m_swatchList);
    DDX_Control(pDX, IDC_FRAME_FILL_OUTLINE_HEADING, m_headOutline);
    DDX_Control(pDX, IDC_FRAME_QUICK_LINKS_HEADING, m_headLinks);
    DDX_Control(pDX, IDC_FRAME_FILL_HEADING, m_headFill);
    DDX_Control(pDX, IDC_FRAME_FILL_ADD_SWATCH, m_btnAdd);
    DDX_Control(pDX, IDC_FRAME_FILL_REMOVE_SWATCH, m_btnRemove);
    DDX_Control(pDX, IDC_FRAME_FILL_RADIAL, m_btnRadial);
    DDX_Control(pDX, IDC_FRAME_FILL_LINEAR, m_btnLinear);
    DDX_Control(pDX, IDC_FRAME_FILL_SOLID, m_btnSolid);
    DDX_Control(pDX, IDC_FRAME_FILL_CLEAR, m_btnClear);
    for (int c = 1; c <= 6; ++c)
        DDX_Control(pDX, PickerId(c), m_pickers[c - 1]);
    DDX_Control(pDX, IDC_FRAME_FILL_ANGLE, m_dial);
    DDX_Control(pDX, IDC_FRAME_FILL_OPACITY_VALUE, m_opacityValue);
    DDX_Control(pDX, IDC_FRAME_FILL_OUTLINE_VALUE, m_outlineValue);
}

BOOL CFrameFillDlg::OnInitDialog()
{
    CFramePanelDlg::OnInitDialog();
    for (CStatic* heading : {&m_headOutline, &m_headLinks, &m_headFill})
        heading->SetFont(&m_fontBold);

    m_outlineBar.CreateFromStatic(kBarStyle, this, IDC_FRAME_FILL_OUTLINE_PLACE, IDC_FRAME_FILL_OUTLINE);
    m_outlineBar.SetScrollRange(0, 100, TRUE);
    m_outlineBar.SetScrollPos(100, TRUE);
    m_outlineBar.SetThumbColour(kSkinBarBlue);
    m_outlineBar.SetGreyMarks(TRUE);
    m_opacityBar.CreateFromStatic(kBarStyle, this, IDC_FRAME_FILL_OPACITY_PLACE, IDC_FRAME_FILL_OPACITY);
    m_opacityBar.SetScrollRange(0, 100, TRUE);
    m_opacityBar.SetScrollPos(100, TRUE);
    m_opacityBar.SetThumbColour(kSkinBarRed);
    m_opacityBar.SetGreyMarks(TRUE);
    // Each move stores at once; OnHScroll redraws and schedules the apply (timer 102).
    m_outlineWidth.Bind(&m_outlineBar, &m_outlineValue, ValueControl::ScrollBar, 100.0f, kValueTwoDecimals, 0, 100,
                        false);
    m_outlineWidth.SetApply([this](float width) { Layers()->SetFrameOutlineWidth(width); });
    m_opacity.Bind(&m_opacityBar, &m_opacityValue, ValueControl::ScrollBar, 100.0f, kValuePercent, 0, 100, false);
    m_opacity.SetApply([this](float opacity) { Layers()->SetFrameOpacity(opacity); });

    FillQuickLinks(TRUE, kOwnLink);

    m_dial.SetBackgroundColour(m_crPanel);
    m_dial.SetKnobBitmap(IDB_SKIN_KNOB_LINEAR);
    m_dial.SetRange(0, 359, FALSE);
    m_dial.Invalidate();

    SetupControls(); // buttons, captions and help bubbles, the bars' and the dial's included
    m_swatches.Fill();
    UpdateFillControls();
    UpdateData(FALSE);
    return TRUE;
}

void CFrameFillDlg::OnActivate()
{
    if (m_pHost != nullptr) {
        m_pHost->EnableNext(TRUE);
        m_pHost->EnableFinish(TRUE);
        m_pHost->EnableBack(TRUE);
    }
    ShowRecordColours();
    // Rounded, not truncated: a stored 0.29 is 28.999998 in float and shows 0.29.
    m_outlineWidth.SetStored(Layers()->GetFrameOutlineWidth());
    m_opacity.SetStored(Layers()->GetFrameOpacity());
    m_dial.SetPos(Layers()->GetFrameFillAngle());
    m_dial.Invalidate();
    m_quickLinks.SetCurSel(kOwnLink);
    UpdateFillControls();
    CFramePanelDlg::OnActivate();
}

void CFrameFillDlg::ShowRecordColours()
{
    for (int c = 1; c <= 6; ++c)
        m_pickers[c - 1].SetColour(RecordColour(Layers(), c));
}

void CFrameFillDlg::UpdateFillControls()
{
    m_nFillStyle = Layers()->GetFrameFillStyle();
    const int marks[] = {IDC_FRAME_FILL_MARK_SOLID, IDC_FRAME_FILL_MARK_LINEAR, IDC_FRAME_FILL_MARK_RADIAL};
    for (int i = 0; i < 3; ++i)
        ::ShowWindow(::GetDlgItem(m_hWnd, marks[i]), m_nFillStyle == i + 1 ? SW_SHOW : SW_HIDE);
    if (const FillKindControls* row = FillControlsFor(m_nFillStyle)) {
        m_dial.EnableWindow(row->dial);
        m_pickers[0].EnableWindow(TRUE);
        for (int c = 2; c <= 5; ++c)
            m_pickers[c - 1].EnableWindow(row->gradientPickers);
        m_swatchList.EnableWindow(row->swatches);
        m_btnAdd.EnableWindow(row->swatches);
        m_btnRemove.EnableWindow(row->swatches);
        m_lblSwatches.SetHighlight(row->swatches);
        m_lblAngle.SetHighlight(row->dial);
        m_opacityBar.EnableWindow(TRUE);
    }
    // The outline picker and the outline thickness bar stay enabled in every style.
    m_lblSwatches.Invalidate();
    m_lblAngle.Invalidate();
    UpdateSwatchButtons();
}

void CFrameFillDlg::UpdateSwatchButtons()
{
    const int style = Layers()->GetFrameFillStyle();
    EnableSwatchButtons(style, style == 2 || style == 3 ? m_swatches.Match() : 0, m_btnAdd, m_btnRemove);
}

void CFrameFillDlg::ApplyFill() { m_pDoc->DesignEdited(EditScope::AllViews); }

void CFrameFillDlg::GetSwatchColours(COLORREF colours[5]) const
{
    for (int c = 1; c <= 5; ++c)
        colours[c - 1] = RecordColour(Layers(), c);
}

void CFrameFillDlg::SetSwatchColours(const COLORREF colours[5])
{
    // A swatch is the five fill colours; the outline colour stays.
    for (int c = 1; c <= 5; ++c)
        SetRecordColour(Layers(), c, colours[c - 1]);
    ShowRecordColours();
    UpdateSwatchButtons();
    ApplyFill();
}

void CFrameFillDlg::SwatchesChanged(bool designChanged)
{
    // After an add the buttons follow the new swatch; a remove only redraws the design.
    if (designChanged)
        ApplyFill();
    else
        UpdateSwatchButtons();
}

void CFrameFillDlg::ChooseFill(int style)
{
    m_swatchList.SetCurSel(0);
    OnSwatchChosen();
    if (style >= 1 && style <= 3) {
        Layers()->SetFrameOpacity(1.0f);
        Layers()->SetFrameFillStyle(style);
        m_opacity.SetStored(1.0f); // the bar shows what is stored
    }
    m_pDoc->SetModifiedFlag(TRUE);
    UpdateFillControls();
    ApplyFill();
}

LRESULT CFrameFillDlg::OnColourSelEndOk(WPARAM, LPARAM lParam)
{
    for (int c = 1; c <= 6; ++c)
        if ((int)lParam == PickerId(c)) {
            SetRecordColour(Layers(), c, m_pickers[c - 1].GetColour());
            m_pDoc->SetModifiedFlag(TRUE);
        }
    UpdateSwatchButtons();
    ApplyFill();
    return 0;
}

void CFrameFillDlg::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    const HWND from = bar != nullptr ? bar->GetSafeHwnd() : nullptr;
    bool moved = false;
    if (from != nullptr && from == m_dial.GetSafeHwnd()) {
        Layers()->SetFrameFillAngle(m_dial.GetPos());
        m_dial.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        moved = true; // an angle is an edit too: applied like the bars' moves
    } else {
        // Each stores its value and shows its label ("0.37", "40%").
        moved = m_outlineWidth.OnScroll(from, code, (int)(short)pos) || m_opacity.OnScroll(from, code, (int)(short)pos);
    }
    if (moved)
        SetTimer(kPanelApplyTimer, CValueBar::kDeferMs, nullptr);
    RedrawDesign();
    Default();
}

void CFrameFillDlg::OnTimer(UINT_PTR id)
{
    if (id == kPanelApplyTimer) {
        KillTimer(kPanelApplyTimer);
        ApplyFill();
    }
    CFramePanelDlg::OnTimer(id);
}

HBRUSH CFrameFillDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    // The quick links' white text is in the base's colour table.
    return CFramePanelDlg::OnCtlColor(dc, wnd, ctlColor);
}

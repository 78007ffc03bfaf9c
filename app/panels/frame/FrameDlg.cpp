#include "app/panels/frame/FrameDlg.h"
#include "app/panels/frame/FrameMenuDlg.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "res/frame_res.h"
#include "res/ui_res.h"

#include <cstdlib>

namespace {

const PanelControl kFrameControls[] = {
    {IDC_FRAME_REMOVE, "FRAME_CUT_BTN", "REMOVE", IDB_SKIN_CUT, "FRAME_CUT_BTN"},
    {IDC_FRAME_LIST, "FRAME_LIST", nullptr, 0, "FRAME_LIST"},
    {IDC_FRAME_SIZE, "FRAME_THICKNESS", nullptr, 0, "FRAME_THICKNESS"},
    {IDC_FRAME_INTENSITY, "FRAME_EFFECT", nullptr, 0, "FRAME_EFFECT"},
    {IDC_FRAME_STYLES_LABEL, "FRAME_STYLES_LABEL", "54", 0, nullptr},
    {IDC_FRAME_INTENSITY_LABEL, "FRAME_INTENSITY_LABEL", "57", 0, nullptr},
    {IDC_FRAME_SIZE_LABEL, "FRAME_SIZE_LABEL", "41", 0, nullptr},
};

// The bars' style: a horizontal skinned scroll bar.
const DWORD kBarStyle = WS_CHILD | WS_VISIBLE | 0x14E;
// Thumbnails as the list shows them, and the distance between them: the rows stand a
// thumbnail and a line for its number apart, since closer rows would lie over each other
// and hide every style past the first row.
const int kThumbSide = 48;
const int kLabelHeight = 20;
const int kIconSpacingX = 65;
const int kIconSpacingY = kThumbSide + kLabelHeight;

} // namespace

BEGIN_MESSAGE_MAP(CFrameDlg, CFramePanelDlg)
    ON_MESSAGE(WM_THUMBNAIL_CHOSEN, &CFrameDlg::OnFrameChosen)
    ON_BN_CLICKED(IDC_FRAME_REMOVE, &CFrameDlg::OnRemoveFrame)
    ON_WM_HSCROLL()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CFrameDlg::CFrameDlg(CWnd* parent) : CFramePanelDlg(IDD_FRAME_PANEL, parent) { SetControlTable(kFrameControls); }

UINT CFrameDlg::StyleBitmap(int style)
{
    if (style == 1)
        return IDB_FRAME_STYLE_1;
    return style >= 2 && style <= kStyleCount ? (UINT)(672 + style) : 0;
}

CLayerArray* CFrameDlg::Layers() const { return m_pDoc->GetLayers(); }

bool CFrameDlg::HasFrame() const { return Layers()->GetFrameStyle() != 0; }

void CFrameDlg::DoDataExchange(CDataExchange* pDX)
{
    CFramePanelDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FRAME_STYLES_LABEL, m_lblStyles);
    DDX_Control(pDX, IDC_FRAME_INTENSITY_LABEL, m_lblIntensity);
    DDX_Control(pDX, IDC_FRAME_SIZE_LABEL, m_lblSize);
    DDX_Control(pDX, IDC_FRAME_STYLE_HEADING, m_styleHeading);
    DDX_Control(pDX, IDC_FRAME_LINKS_HEADING, m_linksHeading);
    DDX_Control(pDX, IDC_FRAME_LIST, m_frameList);
    DDX_Control(pDX, IDC_FRAME_REMOVE, m_btnRemove);
    DDX_Control(pDX, IDC_FRAME_SIZE_VALUE, m_sizeValue);
    DDX_Control(pDX, IDC_FRAME_INTENSITY_VALUE, m_intensityValue);
}

BOOL CFrameDlg::OnInitDialog()
{
    CFramePanelDlg::OnInitDialog();
    m_frameList.SetThumbnailSize(kThumbSide, kThumbSide);
    m_frameList.SendMessage(LVM_SETICONSPACING, 0, MAKELPARAM(kIconSpacingX, kIconSpacingY));
    m_frameList.CreateImageList();
    FillFrameList();
    m_styleHeading.SetFont(&m_fontBold);
    m_linksHeading.SetFont(&m_fontBold);

    m_sizeBar.CreateFromStatic(kBarStyle, this, IDC_FRAME_SIZE_PLACE, IDC_FRAME_SIZE);
    m_sizeBar.SetScrollRange(0, 250, TRUE);
    m_sizeBar.SetScrollPos(100, TRUE);
    m_sizeBar.SetThumbColour(kSkinBarBlue);
    m_sizeBar.SetGreyMarks(TRUE);
    m_intensityBar.CreateFromStatic(kBarStyle, this, IDC_FRAME_INTENSITY_PLACE, IDC_FRAME_INTENSITY);
    m_intensityBar.SetScrollRange(0, 200, TRUE);
    m_intensityBar.SetScrollPos(100, TRUE);
    m_intensityBar.SetThumbColour(kSkinBarRed);
    m_intensityBar.SetGreyMarks(TRUE);
    // The bars store at once; the panel redraws on every move and applies 100 ms after the
    // last one (OnHScroll, OnTimer).
    m_size.Bind(&m_sizeBar, &m_sizeValue, ValueControl::ScrollBar, 100.0f, kValuePercent, 0, 250, false);
    m_size.SetApply([this](float size) { Layers()->SetFrameSize(size); });
    m_intensity.Bind(&m_intensityBar, nullptr, ValueControl::ScrollBar, 100.0f, kValuePercent, 0, 200, false);
    m_intensity.SetApply([this](float intensity) { Layers()->SetFrameIntensity(intensity); });

    FillQuickLinks(TRUE, 0);
    SetupControls(); // Remove, the labels' texts and the help bubbles
    UpdateControls();
    UpdateData(FALSE);
    return TRUE;
}

void CFrameDlg::FillFrameList()
{
    m_frameList.StopLoading();
    for (int style = 1; style <= kStyleCount; ++style) {
        CString text;
        text.Format("%d", style);
        m_frameList.AddItem(StyleBitmap(style), text, style);
    }
    m_frameList.ShowWindow(m_frameList.GetItemCount() > 0 ? SW_SHOW : SW_HIDE);
}

void CFrameDlg::OnActivate()
{
    // Rounded, not truncated: a stored 0.53 is 52.999996 times 100 in float and shows 53.
    m_size.SetStored(Layers()->GetFrameSize());
    m_intensity.SetStored(Layers()->GetFrameIntensity());
    ShowIntensityValue();
    UpdateControls();
}

void CFrameDlg::ShowIntensityValue()
{
    CString text;
    text.Format(kValuePercent, m_intensity.GetPosition() / 2);
    m_intensityValue.SetWindowText(text);
}

void CFrameDlg::EnableIntensity(BOOL on)
{
    m_intensityBar.EnableWindow(on);
    m_lblIntensity.SetHighlight(on);
    m_intensityValue.ShowWindow(on ? SW_SHOW : SW_HIDE);
}

void CFrameDlg::UpdateControls()
{
    const BOOL hasFrame = HasFrame() ? TRUE : FALSE;
    m_btnRemove.EnableWindow(hasFrame);
    m_sizeBar.EnableWindow(hasFrame);
    m_intensityBar.EnableWindow(hasFrame);
    m_lblSize.SetHighlight(hasFrame);
    m_lblIntensity.SetHighlight(hasFrame);
    m_lblSize.Invalidate(TRUE);
    m_lblIntensity.Invalidate(TRUE);
    m_sizeValue.ShowWindow(hasFrame ? SW_SHOW : SW_HIDE);
    m_intensityValue.ShowWindow(hasFrame ? SW_SHOW : SW_HIDE);
    // Without a frame the fill panels have nothing to fill.
    FillQuickLinks(hasFrame, 0);
    if (m_pHost != nullptr) {
        m_pHost->EnableNext(hasFrame);
        m_pHost->EnableBack(FALSE);
    }
}

void CFrameDlg::ApplyFrameChange()
{
    UpdateControls();
    m_pDoc->DesignEdited(EditScope::AllViews);
}

LRESULT CFrameDlg::OnFrameChosen(WPARAM, LPARAM)
{
    // Not a number: style 0, no frame.
    const int style = std::atoi(m_frameList.GetChosenPath());
    Layers()->SetFrameStyle(style);
    ApplyFrameChange();
    // Styles 1 and 9 have no effect to set.
    EnableIntensity(style != 1 && style != 9);
    return 0;
}

void CFrameDlg::OnRemoveFrame()
{
    CLayerArray* layers = Layers();
    layers->SetFrameStyle(0);
    layers->SetFrameSize(1.0f);
    layers->SetFrameOutlineWidth(0.5f);
    layers->SetFrameColour1(kSkinWhite);
    layers->SetFrameColour2(kSkinWhite);
    layers->SetFrameColour3(kSkinWhite);
    layers->SetFrameColour4(kSkinWhite);
    layers->SetFrameColour5(kSkinWhite);
    layers->SetFrameOutlineColour(kSkinBlack);
    layers->SetFrameIntensity(1.0f);
    layers->SetFrameOpacity(1.0f);
    layers->SetFrameSpareFloat(1.0f);
    layers->SetFrameSpareInt(0);
    layers->SetFrameFillImage(nullptr); // deletes the image it held
    layers->SetFrameImageScale(0.2f);
    layers->SetFrameImageRotation(0);
    layers->SetFrameImageOffset(0.0f);
    layers->SetFrameImageTransparency(100);
    ApplyFrameChange();
}

void CFrameDlg::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    const HWND from = bar != nullptr ? bar->GetSafeHwnd() : nullptr;
    const int position = (int)(short)pos;
    if (m_size.OnScroll(from, code, position)) {
        SetTimer(kPanelApplyTimer, CValueBar::kDeferMs, nullptr);
    } else if (m_intensity.OnScroll(from, code, position)) {
        ShowIntensityValue();
        SetTimer(kPanelApplyTimer, CValueBar::kDeferMs, nullptr);
    }
    RedrawDesign();
    Default();
}

void CFrameDlg::OnTimer(UINT_PTR id)
{
    if (id == kPanelApplyTimer) {
        KillTimer(kPanelApplyTimer);
        ApplyFrameChange();
    }
    CFramePanelDlg::OnTimer(id);
}

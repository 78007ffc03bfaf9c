#include "app/panels/background/BackgroundImageDlg.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/background/QuickLinks.h"
#include "fw/fwwait.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/design/ImageReplace.h"
#include "res/background_res.h"
#include "res/ui_res.h"

#include <cmath>
#include <initializer_list>

namespace {

const PickPanelTraits kImageTraits = {
    IDD_BACKGROUND_IMAGE, 1, "IMAGES_DIR", 60, CRect(1, 85, 1, 225), kSkinCaptionWhite,
};

const PanelControl kImageControls[] = {
    {IDC_PICK_NEW, "BACKGROUND_NEW_IMAGE_BTN", "NEW", IDB_SKIN_NEW, "BACKGROUND_NEW_IMAGE_BTN"},
    {IDC_PICK_DELETE, "BACKGROUND_CUT_IMAGE_BTN", "DELETE", IDB_SKIN_CUT, "BACKGROUND_CUT_IMAGE_BTN"},
    {IDC_PICK_CANCEL, "BACKGROUND_CANCEL_IMAGE_BTN", "CANCEL", IDB_SKIN_CLEAR, "BACKGROUND_CANCEL_IMAGE_BTN"},
    {IDC_BGIMAGE_ANGLE_LABEL, "BGIMAGE_ANGLE_LABEL", "25", 0, nullptr},
    {IDC_BGIMAGE_SIZE_LABEL, "BGIMAGE_SIZE_LABEL", "26", 0, nullptr},
    {IDC_BGIMAGE_TRANS_LABEL, "BGIMAGE_TRANS_LABEL", "23", 0, nullptr},
    {IDC_PICK_BROWSER, "BACKGROUND_FILE_CTRL", nullptr, 0, "BACKGROUND_FILE_CTRL"},
    {IDC_BGIMAGE_ROTATION, "BACKGROUND_TILE_ROTATION", nullptr, 0, "BACKGROUND_TILE_ROTATION"},
    {IDC_BGIMAGE_SIZE, "BACKGROUND_TILE_SIZE", nullptr, 0, "BACKGROUND_TILE_SIZE"},
    {IDC_BGIMAGE_TRANS, "BACKGROUND_TILE_TRANS", nullptr, 0, "BACKGROUND_TILE_TRANS"},
};

// The skinned scroll bars' style: child, visible, horizontal with the skin's arrows.
const DWORD kBarStyle = WS_CHILD | WS_VISIBLE | 0x14E;

void Show(CWnd& w, bool show) { w.ShowWindow(show ? SW_SHOW : SW_HIDE); }

} // namespace

BEGIN_MESSAGE_MAP(CBackgroundImageDlg, CBackgroundPickDlg)
    ON_WM_HSCROLL()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CBackgroundImageDlg::CBackgroundImageDlg() : CBackgroundPickDlg(kImageTraits) { SetControlTable(kImageControls); }

void CBackgroundImageDlg::DoDataExchange(CDataExchange* pDX)
{
    CBackgroundPickDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BGIMAGE_ROTATION, m_dial);
    DDX_Control(pDX, IDC_BGIMAGE_SIZE_VALUE, m_sizeValue);
    DDX_Control(pDX, IDC_BGIMAGE_TRANS_VALUE, m_transValue);
    DDX_Control(pDX, IDC_BGIMAGE_ANGLE_LABEL, m_lblAngle);
    DDX_Control(pDX, IDC_BGIMAGE_SIZE_LABEL, m_lblSize);
    DDX_Control(pDX, IDC_BGIMAGE_TRANS_LABEL, m_lblTransparency);
}

BOOL CBackgroundImageDlg::OnInitDialog()
{
    CBackgroundPickDlg::OnInitDialog();
    m_dial.SetBackgroundColour(m_crPanel);
    m_dial.SetRange(0, 359, FALSE);
    m_dial.SetKnobBitmap(IDB_SKIN_KNOB);
    m_sizeBar.CreateFromStatic(kBarStyle, this, IDC_BGIMAGE_SIZE_PLACE, IDC_BGIMAGE_SIZE);
    m_sizeBar.SetThumbColour(kSkinBarBlue);
    m_sizeBar.SetGreyMarks(TRUE);
    m_transBar.CreateFromStatic(kBarStyle, this, IDC_BGIMAGE_TRANS_PLACE, IDC_BGIMAGE_TRANS);
    m_transBar.SetThumbColour(kSkinBarRed);
    m_transBar.SetGreyMarks(TRUE);
    // A move stores at once; the panel redraws the design 100 ms after the last one.
    m_size.Bind(&m_sizeBar, &m_sizeValue, ValueControl::ScrollBar, 100.0f, kValuePercent, 5, 500, false);
    m_size.SetApply([this](float scale) { Layers()->SetBgTileScale(scale); });
    m_transparency.Bind(&m_transBar, &m_transValue, ValueControl::ScrollBar, 1.0f, kValuePercent, 1, 100, false);
    m_transparency.SetApply([this](float percent) { Layers()->SetBgTileTransparency((int)std::lround(percent)); });
    ShowTileSettings();
    PlaceBrowser();
    SetupControls(); // buttons, label texts and the help bubbles of the pane, dial and bars
    PlaceBrowser();
    m_browser.ApplySkin(&m_helpTips);
    UpdateData(FALSE);
    return TRUE;
}

CImageLayer* CBackgroundImageDlg::CurrentImage() { return Layers()->GetBackgroundImage(); }

Gdiplus::Bitmap* CBackgroundImageDlg::PreviewBitmap(CImageLayer* image) { return image->GetScreenCopy(); }

void CBackgroundImageDlg::StoreImage(std::unique_ptr<CImageLayer> loaded)
{
    CLayerArray* layers = Layers();
    ReplaceImageLayer(layers->GetAt(layers->GetCurrent()).backgroundImage, std::move(loaded));
}

void CBackgroundImageDlg::ShowTileSettings()
{
    CLayerArray* layers = Layers();
    m_dial.SetPos(layers->GetBgTileRotation());
    // Rounded to the nearest percent: a stored 2.29 is 228.99998 after scaling.
    m_size.SetStored(layers->GetBgTileScale());
    m_transparency.SetStored((float)layers->GetBgTileTransparency());
}

void CBackgroundImageDlg::UpdateTileTexts()
{
    CLayerArray* layers = Layers();
    m_sizeValue.SetWindowText(
        CValueBar::FormatValue(kValuePercent, CValueBar::ToPosition(layers->GetBgTileScale(), 100.0f), 100.0f));
    m_transValue.SetWindowText(CValueBar::FormatValue(kValuePercent, layers->GetBgTileTransparency(), 1.0f));
}

void CBackgroundImageDlg::OnActivate()
{
    SelectQuickLink(m_quickLinks, IDD_BACKGROUND_IMAGE, m_pDoc);
    // Not the last panel when the design selection and clone panels follow.
    Host()->EnableNext(IndividualDesignsOn());
    Host()->EnableBack(TRUE);
    ShowNormalView();
    // The current record may be another design area's than when the panel was last shown.
    ShowTileSettings();
    UpdateTileTexts();
    CBackgroundPickDlg::OnActivate();
}

void CBackgroundImageDlg::ShowTileControls(bool show)
{
    for (CWnd* w : std::initializer_list<CWnd*>{&m_btnDelete, &m_dial, &m_sizeBar, &m_transBar, &m_lblAngle, &m_lblSize,
                                                &m_lblTransparency})
        Show(*w, show);
}

void CBackgroundImageDlg::FollowImage()
{
    const bool has = HasImage();
    Show(m_sizeValue, has);
    Show(m_transValue, has);
    for (CWnd* w : std::initializer_list<CWnd*>{&m_btnDelete, &m_dial, &m_sizeBar, &m_transBar})
        w->EnableWindow(has ? TRUE : FALSE);
    for (CLineStatic* label : {&m_lblAngle, &m_lblSize, &m_lblTransparency})
        label->SetHighlight(has ? TRUE : FALSE);
}

void CBackgroundImageDlg::ShowNormalView()
{
    ShowBrowser(false, false);
    Show(m_btnCancel, false);
    Show(m_btnNew, true);
    ShowTileControls(true);
    Show(m_quickLinks, true);
    FollowImage();
    InvalidatePreview();
}

void CBackgroundImageDlg::ShowBrowsingView()
{
    ShowBrowser(true, true);
    Show(m_btnNew, false);
    Show(m_btnCancel, true);
    ShowTileControls(false);
    Show(m_sizeValue, false);
    Show(m_transValue, false);
    Show(m_quickLinks, false);
}

void CBackgroundImageDlg::OnNewImage()
{
    {
        CWaitCursor wait;
        m_browser.Refresh();
    }
    ShowBrowsingView();
}

void CBackgroundImageDlg::AfterPick()
{
    ShowBrowser(false, false);
    Host()->EnableNext(TRUE);
    Show(m_btnNew, true);
    Show(m_btnCancel, false);
    // The controls of the picture stand only while the record has one.
    ShowTileControls(HasImage());
    Show(m_quickLinks, true);
    FollowImage();
    UpdateTileTexts();
}

void CBackgroundImageDlg::OnDeleteImage()
{
    if (HasImage())
        Layers()->SetBackgroundImage(nullptr);
    FollowImage();
    InvalidatePreview();
    // Marked modified with or without a picture to delete.
    DesignChanged();
}

void CBackgroundImageDlg::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    const HWND from = bar != nullptr ? bar->GetSafeHwnd() : nullptr;
    const int position = (int)(short)pos;
    bool ours = false;
    if (from != nullptr && from == m_dial.GetSafeHwnd()) {
        // The dial's own position: its end-of-drag notification carries none.
        Layers()->SetBgTileRotation(m_dial.GetPos());
        m_dial.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ours = true;
    } else {
        // The bars store the value and show "%d%%" of their position themselves.
        ours = m_size.OnScroll(from, code, position) || m_transparency.OnScroll(from, code, position);
    }
    if (ours) {
        // Every move starts the wait again: a drag redraws the design once, after it stops.
        SetTimer(kPanelApplyTimer, CValueBar::kDeferMs, nullptr);
    }
    Default();
}

void CBackgroundImageDlg::OnTimer(UINT_PTR id)
{
    if (id != kPanelApplyTimer) {
        CBackgroundPickDlg::OnTimer(id);
        return;
    }
    KillTimer(kPanelApplyTimer);
    Host()->UpdateDesign();
}

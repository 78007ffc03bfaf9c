#include "app/panels/frame/FrameImageFillDlg.h"

#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "fw/fwwait.h"
#include "fw/fwworker.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageReplace.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "res/frame_fill_res.h"
#include "res/ui_res.h"
#include "ui/MenuHostDlg.h"

#include <cmath>
#include <memory>

using namespace Gdiplus;

namespace {

const PanelControl kImageFillControls[] = {
    {IDC_FRAME_IMAGE_NEW, "FRAME_IMAGE_FILL_NEW_BTN", "NEW", IDB_SKIN_NEW, "FRAME_IMAGE_FILL_NEW_BTN"},
    {IDC_FRAME_IMAGE_REMOVE, "FRAME_IMAGE_FILL_CUT_BTN", "REMOVE", IDB_SKIN_CUT, "FRAME_IMAGE_FILL_CUT_BTN"},
    {IDC_FRAME_IMAGE_CANCEL, "FRAME_IMAGE_FILL_CANCEL_BTN", "CANCEL", IDB_SKIN_CLEAR, "FRAME_IMAGE_FILL_CANCEL_BTN"},
    {IDC_FRAME_IMAGE_ANGLE_LABEL, "FRAME_IMAGE_ANGLE_LABEL", "25", 0, nullptr},
    {IDC_FRAME_IMAGE_SIZE_LABEL, "FRAME_IMAGE_SIZE_LABEL", "41", 0, nullptr},
    {IDC_FRAME_IMAGE_OFFSET_LABEL, "FRAME_IMAGE_OFFSET_LABEL", "58", 0, nullptr},
    {IDC_FRAME_IMAGE_TRANS_LABEL, "FRAME_IMAGE_TRANS_LABEL", "23", 0, nullptr},
    {IDC_FRAME_IMAGE_SIZE, "FRAME_IMAGE_SIZE", nullptr, 0, "FRAME_IMAGE_SIZE"},
    {IDC_FRAME_IMAGE_OFFSET, "FRAME_IMAGE_OFFSET", nullptr, 0, "FRAME_IMAGE_OFFSET"},
    {IDC_FRAME_IMAGE_TRANS, "FRAME_IMAGE_TRANS", nullptr, 0, "FRAME_IMAGE_TRANS"},
    {IDC_FRAME_IMAGE_ROTATION, "FRAME_IMAGE_ROTATION", nullptr, 0, "FRAME_IMAGE_ROTATION"},
};

// The skinned scroll bars' style: child, visible, horizontal with the skin's arrows.
const DWORD kBarStyle = WS_CHILD | WS_VISIBLE | 0x14E;
// This panel's entry in the quick links.
const int kOwnLink = 2;
// The browser leaves this much of the panel's bottom free (for Cancel).
const int kBrowserBottomGap = 60;
// The preview: the client area less 75 pixels at the top, 1 on the right, 250 at the bottom.
const int kPreviewTop = 75;
const int kPreviewRight = 1;
const int kPreviewBottom = 250;

void Show(CWnd& wnd, BOOL show)
{
    if (wnd.GetSafeHwnd() != nullptr)
        wnd.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void Enable(CWnd& wnd, BOOL enable)
{
    if (wnd.GetSafeHwnd() != nullptr)
        wnd.EnableWindow(enable);
}

} // namespace

BEGIN_MESSAGE_MAP(CFrameImageFillDlg, CFramePanelDlg)
    ON_MESSAGE(WM_FILE_PICKED, &CFrameImageFillDlg::OnFilePicked)
    ON_BN_CLICKED(IDC_FRAME_IMAGE_NEW, &CFrameImageFillDlg::OnNewImage)
    ON_BN_CLICKED(IDC_FRAME_IMAGE_REMOVE, &CFrameImageFillDlg::OnRemoveImage)
    ON_BN_CLICKED(IDC_FRAME_IMAGE_CANCEL, &CFrameImageFillDlg::OnCancelButton)
    ON_WM_HSCROLL()
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CFrameImageFillDlg::CFrameImageFillDlg() : CFramePanelDlg(IDD_FRAME_IMAGE_FILL, nullptr)
{
    SetControlTable(kImageFillControls);
}

CLayerArray* CFrameImageFillDlg::Layers() const { return m_pDoc->GetLayers(); }

void CFrameImageFillDlg::DoDataExchange(CDataExchange* pDX)
{
    CFramePanelDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FRAME_IMAGE_SIZE_LABEL, m_lblSize);
    DDX_Control(pDX, IDC_FRAME_IMAGE_OFFSET_LABEL, m_lblOffset);
    DDX_Control(pDX, IDC_FRAME_IMAGE_TRANS_LABEL, m_lblTransparency);
    DDX_Control(pDX, IDC_FRAME_IMAGE_ANGLE_LABEL, m_lblAngle);
    DDX_Control(pDX, IDC_FRAME_IMAGE_REMOVE, m_btnRemove);
    DDX_Control(pDX, IDC_FRAME_IMAGE_CANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_FRAME_IMAGE_NEW, m_btnNew);
    DDX_Control(pDX, IDC_FRAME_IMAGE_ROTATION, m_dial);
    DDX_Control(pDX, IDC_FRAME_IMAGE_SIZE_VALUE, m_sizeValue);
    DDX_Control(pDX, IDC_FRAME_IMAGE_OFFSET_VALUE, m_offsetValue);
    DDX_Control(pDX, IDC_FRAME_IMAGE_TRANS_VALUE, m_transValue);
}

BOOL CFrameImageFillDlg::OnInitDialog()
{
    // The browser reports a pick to this panel (no name box) and lists image files.
    m_browser.SetDocument(m_pDoc);
    m_browser.SetNotifyParent(TRUE);
    m_browser.SetSaveMode(FALSE);
    m_browser.SetThumbnailMode(1);
    m_browser.SetFolder(GetDataFolder("IMAGES_DIR"));
    m_browser.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 0, 0), this, IDC_FRAME_IMAGE_BROWSER);

    CFramePanelDlg::OnInitDialog();

    m_dial.SetBackgroundColour(m_crPanel);
    m_dial.SetKnobBitmap(IDB_SKIN_KNOB);
    m_dial.SetRange(0, 359, FALSE);
    m_dial.SetPos(Layers()->GetFrameImageRotation());

    const struct
    {
        CXScrollBar* bar;
        int place, id, low, high, pos;
        COLORREF thumb;
    } bars[] = {
        {&m_sizeBar, IDC_FRAME_IMAGE_SIZE_PLACE, IDC_FRAME_IMAGE_SIZE, 5, 100, 100, kSkinBarBlue},
        {&m_offsetBar, IDC_FRAME_IMAGE_OFFSET_PLACE, IDC_FRAME_IMAGE_OFFSET, -100, 100, 0, kSkinBarGreen},
        {&m_transBar, IDC_FRAME_IMAGE_TRANS_PLACE, IDC_FRAME_IMAGE_TRANS, 1, 100, 100, kSkinBarRed},
    };
    for (const auto& b : bars) {
        b.bar->CreateFromStatic(kBarStyle, this, b.place, b.id);
        b.bar->SetScrollRange(b.low, b.high, TRUE);
        b.bar->SetScrollPos(b.pos, TRUE);
        b.bar->SetThumbColour(b.thumb);
        b.bar->SetGreyMarks(TRUE);
    }
    // Each move stores at once; OnHScroll redraws and schedules the apply (timer 102).
    m_size.Bind(&m_sizeBar, &m_sizeValue, ValueControl::ScrollBar, 100.0f, kValuePercent, 5, 100, false);
    m_size.SetApply([this](float scale) { Layers()->SetFrameImageScale(scale); });
    m_offset.Bind(&m_offsetBar, &m_offsetValue, ValueControl::ScrollBar, 100.0f, kValueTwoDecimals, -100, 100, false);
    m_offset.SetApply([this](float offset) { Layers()->SetFrameImageOffset(offset); });
    m_transparency.Bind(&m_transBar, &m_transValue, ValueControl::ScrollBar, 1.0f, kValuePercent, 1, 100, false);
    m_transparency.SetApply([this](float percent) { Layers()->SetFrameImageTransparency((int)std::lround(percent)); });

    FillQuickLinks(TRUE, kOwnLink);

    if (m_browser.GetSafeHwnd() != nullptr) {
        CRect client;
        GetClientRect(&client);
        client.bottom -= kBrowserBottomGap;
        m_browser.MoveWindow(&client, TRUE);
    }
    SetupControls(); // buttons, captions and help bubbles, the bars' and the dial's included
    if (m_browser.GetSafeHwnd() != nullptr)
        m_browser.ApplySkin(&m_helpTips);
    UpdateData(FALSE);
    return TRUE;
}

void CFrameImageFillDlg::OnActivate()
{
    if (m_pHost != nullptr) {
        m_pHost->EnableNext(FALSE);
        m_pHost->EnableFinish(TRUE);
        m_pHost->EnableBack(TRUE);
    }
    // Rounded, not truncated: a stored -0.29 is -28.999998 in float and shows "-0.29".
    m_size.SetStored(Layers()->GetFrameImageScale());
    m_offset.SetStored(Layers()->GetFrameImageOffset());
    m_transparency.SetStored((float)Layers()->GetFrameImageTransparency());
    m_dial.SetPos(Layers()->GetFrameImageRotation());
    m_quickLinks.SetCurSel(kOwnLink);
    Show(m_btnCancel, FALSE);
    Show(m_btnNew, TRUE);
    // The whole settings view: a panel left while browsing comes back with its controls.
    const BOOL hasImage = Layers()->HasFrameFillImage();
    ShowSettings(TRUE, TRUE, hasImage);
    Show(m_quickLinks, TRUE);
    Show(m_browser, FALSE);
    CFramePanelDlg::OnActivate();
}

BOOL CFrameImageFillDlg::IsBrowsing() const
{
    return m_browser.GetSafeHwnd() != nullptr && ::IsWindowVisible(m_browser.GetSafeHwnd());
}

void CFrameImageFillDlg::ShowValues(BOOL show)
{
    for (CWnd* value : {(CWnd*)&m_sizeValue, (CWnd*)&m_offsetValue, (CWnd*)&m_transValue})
        Show(*value, show);
}

void CFrameImageFillDlg::LightLabels(BOOL lit)
{
    for (CLineStatic* label : {&m_lblSize, &m_lblOffset, &m_lblTransparency, &m_lblAngle}) {
        label->SetHighlight(lit);
        label->Invalidate(TRUE);
    }
}

void CFrameImageFillDlg::ShowSettings(BOOL show, BOOL labels, BOOL lit)
{
    const BOOL hasImage = Layers()->HasFrameFillImage();
    for (CWnd* control :
         {(CWnd*)&m_btnRemove, (CWnd*)&m_sizeBar, (CWnd*)&m_offsetBar, (CWnd*)&m_transBar, (CWnd*)&m_dial}) {
        Show(*control, show);
        Enable(*control, hasImage);
    }
    ShowValues(hasImage);
    for (CLineStatic* label : {&m_lblSize, &m_lblOffset, &m_lblTransparency, &m_lblAngle})
        Show(*label, labels);
    LightLabels(lit);
}

void CFrameImageFillDlg::OnNewImage()
{
    CWaitCursor wait;
    m_browser.Refresh();
    Show(m_browser, TRUE);
    Show(m_btnNew, FALSE);
    Show(m_btnCancel, TRUE);
    for (CWnd* control :
         {(CWnd*)&m_btnRemove, (CWnd*)&m_sizeBar, (CWnd*)&m_offsetBar, (CWnd*)&m_transBar, (CWnd*)&m_dial,
          (CWnd*)&m_lblSize, (CWnd*)&m_lblOffset, (CWnd*)&m_lblTransparency, (CWnd*)&m_lblAngle, (CWnd*)&m_quickLinks})
        Show(*control, FALSE);
    ShowValues(FALSE);
}

void CFrameImageFillDlg::OnCancel()
{
    Show(m_browser, FALSE);
    Show(m_btnCancel, FALSE);
    Show(m_btnNew, TRUE);
    const BOOL hasImage = Layers()->HasFrameFillImage();
    ShowSettings(TRUE, TRUE, hasImage);
    Show(m_quickLinks, TRUE);
    Invalidate(TRUE); // the preview shows again
}

BOOL CFrameImageFillDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && m_hWnd != nullptr &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        OnCancel();
        return TRUE;
    }
    return CFramePanelDlg::PreTranslateMessage(msg);
}

LRESULT CFrameImageFillDlg::OnFilePicked(WPARAM, LPARAM)
{
    LoadSelectedImage();
    Show(m_browser, FALSE);
    if (m_pHost != nullptr)
        m_pHost->EnableNext(TRUE);
    Show(m_btnNew, TRUE);
    Show(m_btnCancel, FALSE);
    const BOOL hasImage = Layers()->HasFrameFillImage();
    ShowSettings(hasImage, hasImage, TRUE);
    Show(m_quickLinks, TRUE);
    Invalidate(TRUE); // the preview shows the new fill (or the old one)
    return 0;
}

BOOL CFrameImageFillDlg::LoadSelectedImage()
{
    const CString path = m_browser.GetSelectedPath();
    // The new layer is placed on the design as the current layout prints it.
    const CSize printable = GetPaperLayout()->GetPrintableRect();
    CImageLayer placement;
    placement.SetPlacement(m_pDoc->GetDesignRect(), printable.cx, printable.cy);

    std::unique_ptr<CImageLayer> loaded;
    m_browser.StopProgress(); // shows the bar at 0
    // The worker reads into a layer nothing else sees; the record is changed only here,
    // on this thread, and only once the new image is there.
    const WorkerResult result =
        RunOnWorker([&] { loaded = LoadImageLayerFile(path, &placement); }, [this] { m_browser.StepProgress(); });
    m_browser.FinishProgress();
    if (result.outcome != WorkerOutcome::Done || !loaded)
        return FALSE;

    CString folder = m_browser.GetListFolder();
    if (folder.GetLength() > 3 && folder.Right(1) == "\\")
        folder = folder.Left(folder.GetLength() - 1); // callers add "\name" themselves
    SetDataFolder("IMAGES_DIR", folder);
    Layers()->SetFrameFillImage(loaded.release()); // the record owns it; the old fill goes
    ApplyImageFill();
    return TRUE;
}

void CFrameImageFillDlg::OnRemoveImage()
{
    if (Layers()->HasFrameFillImage())
        Layers()->SetFrameFillImage(nullptr);
    // Scale, offset, transparency and angle stay for the next image.
    const BOOL hasImage = Layers()->HasFrameFillImage();
    for (CWnd* control : {(CWnd*)&m_sizeBar, (CWnd*)&m_offsetBar, (CWnd*)&m_transBar, (CWnd*)&m_dial})
        Enable(*control, hasImage);
    ShowValues(hasImage);
    LightLabels(hasImage);
    Enable(m_btnRemove, FALSE);
    Invalidate(TRUE);
    ApplyImageFill();
}

void CFrameImageFillDlg::ApplyImageFill() { m_pDoc->DesignEdited(EditScope::AllViews); }

void CFrameImageFillDlg::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    const HWND from = bar != nullptr ? bar->GetSafeHwnd() : nullptr;
    const int position = (int)(short)pos;
    bool moved = false;
    if (from != nullptr && from == m_dial.GetSafeHwnd()) {
        // The dial's own position: its end-of-drag notification carries none.
        Layers()->SetFrameImageRotation(m_dial.GetPos());
        m_dial.Invalidate(TRUE);
        moved = true;
    } else {
        // Each stores its value and shows its label ("50%", "-0.25", "40%").
        moved = m_size.OnScroll(from, code, position) || m_offset.OnScroll(from, code, position) ||
                m_transparency.OnScroll(from, code, position);
    }
    if (moved)
        SetTimer(kPanelApplyTimer, CValueBar::kDeferMs, nullptr);
    RedrawDesign();
    Default();
}

void CFrameImageFillDlg::OnTimer(UINT_PTR id)
{
    if (id == kPanelApplyTimer) {
        KillTimer(kPanelApplyTimer);
        ApplyImageFill();
    }
    CFramePanelDlg::OnTimer(id);
}

CRect CFrameImageFillDlg::PreviewRect() const
{
    CRect r;
    GetClientRect(&r);
    r.top += kPreviewTop;
    r.right -= kPreviewRight;
    r.bottom -= kPreviewBottom;
    return r;
}

void CFrameImageFillDlg::OnPaint()
{
    CPaintDC dc(this);
    if (IsBrowsing())
        return;
    const CRect r = PreviewRect();
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    Graphics g(dc.GetSafeHdc());
    CImageLayer* fill = Layers()->GetFrameFillImage();
    if (fill == nullptr) {
        Pen white(Color(255, 255, 255, 255), 1.0f);
        g.DrawRectangle(&white, r.left, r.top, r.Width(), r.Height());
        const CStringW text(GetLangText("159"));
        Gdiplus::Font font(L"Arial", 12.0f, FontStyleRegular, UnitPoint);
        SolidBrush yellow(Color(255, 255, 255, 0));
        StringFormat centred;
        centred.SetAlignment(StringAlignmentCenter);
        centred.SetLineAlignment(StringAlignmentCenter);
        const PointF centre((REAL)(r.left + r.Width() / 2.0), (REAL)(r.top + r.Height() / 2.0));
        g.DrawString(text, -1, &font, centre, &centred, &yellow);
        return;
    }
    Bitmap* image = fill->GetScreenCopy();
    if (image == nullptr)
        return; // a fill without a working bitmap shows nothing
    const double w = image->GetWidth(), h = image->GetHeight();
    if (w <= 0 || h <= 0)
        return;
    // Fitted into the rectangle, its aspect kept, centred.
    double s = 0;
    if (w > h) {
        s = r.Width() / w;
        if (r.Height() < h * s)
            s = r.Height() / h;
    } else {
        s = r.Height() / h;
        if (r.Width() < w * s)
            s = r.Width() / w;
    }
    const int dw = (int)(w * s), dh = (int)(h * s);
    const int left = r.left + (int)((r.Width() - w * s) / 2);
    const int top = r.top + (int)((r.Height() - h * s) / 2);
    g.DrawImage(image, Rect(left, top, dw, dh), 0, 0, (INT)w, (INT)h, UnitPixel);
}

HBRUSH CFrameImageFillDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    // The quick links' white text is in the base's colour table.
    return CFramePanelDlg::OnCtlColor(dc, wnd, ctlColor);
}

#include "app/view/FrostwellView.h"
#include "app/shell/FrostwellApp.h"
#include "ui/MessageDlg.h"
#include "app/home/PanelManager.h"
#include "app/print/PrinterByName.h"
#include "app/view/RulerBar.h"
#include "app/home/SystemDlg.h"
#include "base/Globals.h"
#include "base/KeyStore.h"
#include "model/design/DesignLayers.h"
#include "model/design/DesignUpdateHint.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/design/TextItem.h"
#include "res/view_res.h"

namespace {

const DWORD kRulerBarStyle = CBRS_TOP | CBRS_HIDE_INPLACE;
static_assert(kRulerBarStyle == 0x2808, "the rulers keep their bar style");
const int kRulerBand = 25; // the rulers sit this far above and left of the design
const int kRulerRoom = 30; // what updates invalidate beyond the design rectangle

} // namespace

IMPLEMENT_DYNCREATE(CFrostwellView, CView)

BEGIN_MESSAGE_MAP(CFrostwellView, CView)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_COMMAND(ID_APP_EXIT, &CFrostwellView::OnExit)
    ON_COMMAND(ID_FILE_PRINT, &CFrostwellView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, &CFrostwellView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CFrostwellView::OnFilePrintPreview)
    ON_COMMAND(ID_VIEW_ASK_PRINT, &CFrostwellView::OnAskPrint)
END_MESSAGE_MAP()

CFrostwellView::CFrostwellView()
    : m_crBackground(kCanvasColour), m_bHostCreated(0), m_fPixelsPerInch(0), m_designOrigin(0, 0), m_nAdjustX(0),
      m_nAdjustY(0), m_tracker(this), m_nScenePaints(0)
{
    SetTrackerCursor(OT_CURSOR_PIVOT, IDC_TRACK_PIVOT);
    SetTrackerCursor(OT_CURSOR_MOVE_CTRL, IDC_TRACK_MOVE_CTRL);
    SetTrackerCursor(OT_CURSOR_ROTATE, IDC_TRACK_ROTATE);
    SetTrackerCursor(OT_CURSOR_SHEAR_H, IDC_TRACK_SHEAR_H);
    SetTrackerCursor(OT_CURSOR_SHEAR_V, IDC_TRACK_SHEAR_V);
}

CFrostwellView::~CFrostwellView() {}

CFrostwellDoc* CFrostwellView::GetDocument() const { return static_cast<CFrostwellDoc*>(m_pDocument); }

BOOL CFrostwellView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = WS_CHILD | WS_VISIBLE;
    cs.dwExStyle = 0;
    return CView::PreCreateWindow(cs);
}

void CFrostwellView::OnDraw(CDC*)
{
    // Everything is drawn in OnPaint, through the kept off-screen image.
}

BOOL CFrostwellView::OnEraseBkgnd(CDC*) { return TRUE; }

void CFrostwellView::OnExit() {}

void CFrostwellView::OnPaint()
{
    CPaintDC dc(this);
    CFrostwellDoc* doc = GetDocument();
    Gdiplus::SizeF printable = GetPaperLayout()->GetPrintableSize();
    m_rectDesign = doc->GetDesignRect();
    m_rectInvalid = m_rectDesign;
    m_rectInvalid.InflateRect(kRulerRoom, kRulerRoom, 0, 0);
    m_tracker.SetLimits(m_rectDesign, printable.Width, printable.Height);

    CRect client;
    GetClientRect(&client);
    CMemDC mem(&dc, client, client, &m_cache);
    // A new off-screen bitmap (first paint, new size) holds nothing yet: draw it too.
    if (doc->NeedsRedraw() || m_cache.NeedsRedraw()) {
        DrawScene(&mem, client);
        m_cache.ClearStale();
    }
    mem.FlushIfOlder(0);
    doc->ClearRedrawFlag();
}

void CFrostwellView::DrawScene(CDC* dc, const CRect& client)
{
    ++m_nScenePaints;
    CFrostwellDoc* doc = GetDocument();
    CPaperLayout* layout = GetPaperLayout();
    Gdiplus::SizeF printable = layout->GetPrintableSize();
    BYTE round = layout->IsRound() ? 1 : 0;
    CLayerArray* layers = doc->GetLayers();
    float edge = layers->GetEdgeMargin();

    CBrush background(m_crBackground);
    dc->FillRect(&client, &background);
    // An item without size has no design rectangle: only the background is shown.
    if (m_rectDesign.IsRectEmpty() || printable.Width <= 0 || printable.Height <= 0)
        return;

    Gdiplus::Graphics g(dc->m_hDC);
    Gdiplus::GraphicsPath clip(Gdiplus::FillModeAlternate);
    DrawWithCurrentStyle(&g, dc->IsPrinting());
    g.SetPageUnit(Gdiplus::UnitInch);
    double ox = 0, oy = 0, w = 0, h = 0;
    float scale = ComputeDrawingScale(dc, &g, m_rectDesign, printable.Width, printable.Height, ox, oy, w, h);
    g.TranslateTransform((float)ox, (float)oy, Gdiplus::MatrixOrderAppend);
    g.SetPageScale(scale);
    m_fPixelsPerInch = m_rectDesign.Width() / printable.Width;
    m_designOrigin = Gdiplus::PointF((float)ox, (float)oy);

    Gdiplus::RectF item(0, 0, printable.Width, printable.Height);
    if (round)
        clip.AddEllipse(item);
    else
        clip.AddRectangle(item);
    g.SetClip(&clip, Gdiplus::CombineModeReplace);

    // The canvas shows no template image; the overlay is dimmed and turns with the layout.
    DesignLayerOptions shown;
    shown.layers = kLayerBackground | kLayerFrames;
    if (doc->AreImagesShown())
        shown.layers |= kLayerImages;
    if (doc->IsPerRecordDrawing())
        shown.layers |= kLayerFrameImage | kLayerOverlay;
    if (doc->AreTextsShown())
        shown.layers |= kLayerTexts;
    shown.round = round != 0;
    shown.origin = shown.textOrigin = m_designOrigin;
    shown.overlayTurn = layout->IsTurned() ? 180 : 0;
    shown.dimOverlay = true;
    // The rulers with the selection's marks lie between the texts and the overlay.
    shown.afterStep = [&](DesignLayer step) {
        if (step != kLayerTexts)
            return;
        HDC hdc = g.GetHDC();
        DrawRulers(CDC::FromHandle(hdc), printable.Width, printable.Height);
        g.ReleaseHDC(hdc);
    };
    DrawDesignLayers(&g, doc, shown);
    {
        HDC hdc = g.GetHDC();
        DrawHandles(CDC::FromHandle(hdc));
        g.ReleaseHDC(hdc);
    }

    g.ResetClip();
    if (edge > 0) {
        Gdiplus::Pen grey(Gdiplus::Color(0xFF808080), edge);
        grey.SetAlignment(Gdiplus::PenAlignmentInset);
        g.DrawPath(&grey, &clip);
    }
    Gdiplus::Pen black(Gdiplus::Color(0xFF000000), 0.01f);
    g.DrawPath(&black, &clip);
    doc->SetCellImageDirty(TRUE);
}

void CFrostwellView::DrawRulers(CDC* dc, float width, float height)
{
    CFrostwellDoc* doc = GetDocument();
    float p = m_rectDesign.Height() / height;
    CRect marks;
    CImageLayer* image = doc->GetSelectedImage();
    if (doc->IsImageToolMode() && image != NULL)
        marks.SetRect((int)(image->m_boundsLeft * p), (int)(image->m_boundsTop * p), (int)(image->m_boundsRight * p),
                      (int)(image->m_boundsBottom * p));
    CTextItem* text = doc->GetCurrentObject();
    if (doc->IsTextToolMode() && text != NULL) {
        const Gdiplus::RectF& b = text->m_textBounds;
        marks.SetRect((int)(b.X * p), (int)(b.Y * p), (int)((b.X + b.Width) * p), (int)((b.Y + b.Height) * p));
    }
    if (IsMetric()) {
        width *= 2.54f;
        height *= 2.54f;
    }
    CRect empty;
    {
        CRulerBar bar(TRUE);
        bar.Create(this, kRulerBarStyle, empty, kHostId);
        CRect h(marks.left, 0, marks.right, 0);
        bar.SetRuler(CSize(m_rectDesign.Width() + 5, 0), &h, CSize((int)(width * 1440), 0));
        bar.DoPaint(dc, CPoint(m_rectDesign.left, m_rectDesign.top - kRulerBand));
    }
    {
        CRulerBarV bar(TRUE);
        bar.Create(this, kRulerBarStyle, kHostId);
        CRect v(0, marks.top, 0, marks.bottom);
        bar.SetRuler(CSize(0, m_rectDesign.Height()), &v, CSize(0, (int)(height * 1440)));
        bar.DoPaint(dc, CPoint(m_rectDesign.left - kRulerBand, m_rectDesign.top));
    }
}

void CFrostwellView::DrawHandles(CDC* dc)
{
    CFrostwellDoc* doc = GetDocument();
    CTextItem* text = doc->GetCurrentObject();
    if (text != NULL && doc->IsTextToolMode() && doc->AreTextsShown() && doc->IsTextTrackerShown()) {
        text->BuildViewOutline(m_fPixelsPerInch, m_rectDesign.left, m_rectDesign.top);
        m_tracker.SetMoveOnly(text->m_arcLayout != 0);
        m_tracker.SetPath(text->GetViewOutline(), TRUE, NULL);
        m_tracker.DrawSizeLabel(dc);
        m_tracker.SetMoveOnly(FALSE);
    }
    CImageLayer* image = doc->GetSelectedImage();
    if (doc->AreImagesShown() && image != NULL && doc->IsImageToolMode()) {
        image->UpdateOutlinePath(m_fPixelsPerInch, m_rectDesign.left, m_rectDesign.top);
        m_tracker.SetPath(image->GetOutlinePath(), TRUE, NULL);
        m_tracker.DrawSizeLabel(dc);
    }
}

void CFrostwellView::OnSize(UINT type, int cx, int cy)
{
    if (cx > 100 && cy > 100) {
        CView::OnSize(type, cx, cy);
        if (type == SIZE_RESTORED)
            GetDocument()->RelayoutDesign();
    }
    if (m_bHostCreated && m_host.GetSafeHwnd() != NULL) {
        m_host.SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetGlobalObjectC()->RelayoutHosts();
    }
    // The design rectangle moves with the size: the whole canvas is new.
    Invalidate(FALSE);
}

void CFrostwellView::OnUpdate(CView*, LPARAM hint, CObject*)
{
    CFrostwellDoc* doc = GetDocument();
    if (!doc->NeedsRedraw())
        return;
    if (hint == kHintRedrawNow)
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (doc->NeedsRedraw())
        InvalidateRect(&m_rectInvalid, TRUE);
}

void CFrostwellView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CFrostwellDoc* doc = GetDocument();
    doc->SetViewReady(TRUE);
    // The framework's new-document road runs this again (Ctrl+N): the home host and
    // the start-up timer belong to the first run only.
    if (m_bHostCreated)
        return;
    if (!m_host.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, kHostId))
        return;
    CSystemDlg* home = new CSystemDlg(NULL);
    home->m_pDoc = doc;
    if (home->Create(IDD_HOME_PANEL, &m_host))
        m_host.SubclassMenu("", IDD_HOME_PANEL, home);
    else
        delete home;
    m_host.ShowWindow(SW_SHOW);
    m_bHostCreated = 1;
    SetTimer(kStartupTimer, kStartupDelay);
}

void CFrostwellView::OnTimer(UINT_PTR id)
{
    if (id == kStartupTimer) {
        KillTimer(kStartupTimer);
        if (CFrostwellApp* app = GetFrostwellApp())
            app->HideSplash();
        {
            CWaitCursor wait;
            SelectPrinterByName(GetSetting("printer"));
        }
        CRect client;
        GetClientRect(&client);
        if (IsTooSmall(client.Size()))
            ShowLangMessage("125");
        if (GetSettingInt("FIRSTRUN") == 0)
            SetSetting("FIRSTRUN", "1");
    }
    CView::OnTimer(id);
}

// ---- selection by mouse ----

void CFrostwellView::TrackSelection(UINT flags, CPoint point)
{
    CFrostwellDoc* doc = GetDocument();
    CClientDC dc(this);
    OnPrepareDC(&dc, NULL);
    dc.DPtoLP(&point);

    CImageLayer* image = doc->GetSelectedImage();
    if (doc->IsImageToolMode() && image != NULL) {
        image->UpdateOutlinePath(m_fPixelsPerInch, m_rectDesign.left, m_rectDesign.top);
        m_tracker.SetPath(image->GetOutlinePath(), TRUE, &dc);
        if (m_tracker.Track(&dc, flags, point, FALSE) > 0) {
            image->m_angle += m_tracker.GetRotation();
            // A resize past the opposite corner would collapse the image: ignore it.
            float scale = m_tracker.GetScale().X;
            if (scale > 0)
                image->ScaleFromHandle(scale, m_tracker.GetAnchorHandle());
            Gdiplus::PointF move = m_tracker.GetTranslation();
            image->MoveBy((int)move.X, (int)move.Y, m_fPixelsPerInch);
            image->UpdateOutlinePath(m_fPixelsPerInch, m_rectDesign.left, m_rectDesign.top);
            m_tracker.SetPath(image->GetOutlinePath(), TRUE, NULL);
            // A canvas edit is an edit like any other; the rulers' marks move with it.
            doc->DesignEdited(EditScope::DesignAreaAndRulers);
        }
    }
    CTextItem* text = doc->GetCurrentObject();
    if (text != NULL && doc->IsTextToolMode()) {
        text->BuildViewOutline(m_fPixelsPerInch, m_rectDesign.left, m_rectDesign.top);
        m_tracker.SetMoveOnly(text->m_arcLayout != 0);
        m_tracker.SetPath(text->GetViewOutline(), TRUE, &dc);
        if (m_tracker.Track(&dc, flags, point, FALSE) > 0) {
            text->m_rotation += m_tracker.GetRotation();
            float scale = m_tracker.GetScale().X;
            if (scale > 0)
                text->ResizeByHandle(scale, m_tracker.GetAnchorHandle(), m_fPixelsPerInch);
            Gdiplus::PointF move = m_tracker.GetTranslation();
            text->MoveBy((int)move.X, (int)move.Y, m_fPixelsPerInch);
            text->BuildViewOutline(m_fPixelsPerInch, m_rectDesign.left, m_rectDesign.top);
            m_tracker.SetPath(text->GetViewOutline(), TRUE, NULL);
            doc->DesignEdited(EditScope::DesignAreaAndRulers);
        }
        m_tracker.SetMoveOnly(FALSE);
    }
}

void CFrostwellView::OnLButtonDown(UINT flags, CPoint point)
{
    // A click on the canvas takes the keyboard focus from the panels, so that the frame's
    // keys (Ctrl+S) work again.
    SetFocus();
    CFrostwellDoc* doc = GetDocument();
    if (doc->IsImageToolMode()) {
        // The topmost layer under the click; the selection stays the panels' choice.
        CPoint rel = point - m_rectDesign.TopLeft();
        doc->GetImageList()->HitTest(rel.x, rel.y, m_fPixelsPerInch);
    }
    TrackSelection(flags, point);
    // The tool panels show what the click selected, moved, resized or rotated.
    GetGlobalObjectC()->ForwardToActivePanel();
    GetGlobalObjectC()->NotifyTextPanel();
    CView::OnLButtonDown(flags, point);
}

void CFrostwellView::OnRButtonDown(UINT flags, CPoint point)
{
    SetFocus();
    TrackSelection(MK_CONTROL, point);
    GetGlobalObjectC()->ForwardToActivePanel();
    GetGlobalObjectC()->NotifyTextPanel();
    CView::OnRButtonDown(flags, point);
}

void CFrostwellView::OnLButtonUp(UINT flags, CPoint point)
{
    GetDocument()->SetRedrawFlag();
    InvalidateRect(&m_rectInvalid, TRUE);
    CView::OnLButtonUp(flags, point);
}

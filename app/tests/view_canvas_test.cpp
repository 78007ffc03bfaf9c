// The design view inside a real frame: the canvas it paints, the kept image, sizes, the
// start-up message, a second new document, and a drag of an image layer with the mouse.
#include "app/view/FrostwellView.h"
#include "app/home/PanelManager.h"
#include "app/home/SystemDlg.h"
#include "base/Globals.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/DesignUpdateHint.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/design/TextItem.h"
#include "model/gfx/MemDC.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "res/app_res.h"
#include "res/ui_res.h"
#include "res/view_res.h"
#include "model/tests/rich_design.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/GdiCheck.h"
#include "testsupport/Input.h"
#include "testsupport/Pixels.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace {

// The program's document, counting how often the design is marked as changed.
class CountingDoc : public CFrostwellDoc
{
    DECLARE_DYNCREATE(CountingDoc)
public:
    void SetModifiedFlag(BOOL modified = TRUE) override
    {
        marked += modified ? 1 : 0;
        CFrostwellDoc::SetModifiedFlag(modified);
    }
    int marked = 0;
};
IMPLEMENT_DYNCREATE(CountingDoc, CFrostwellDoc)

class CanvasTest : public DesignWindowTest
{
protected:
    CRuntimeClass* DocClass() const override { return RUNTIME_CLASS(CountingDoc); }
    CSize ClientSize() const override { return CSize(1280, 1000); }
    void SetClientSize(int cx, int cy)
    {
        ResizeClient(cx, cy);
        PumpPending();
    }
    COLORREF At(int x, int y)
    {
        CClientDC dc(view);
        return dc.GetPixel(x, y);
    }
    void Repaint() { view->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW); }
    int Marked() const { return static_cast<CountingDoc*>(doc)->marked; }
    // What waits to be painted: the client area less 120 pixels on the left and 240 on
    // the right after a drag, the rulers' band at the top included.
    CRect PendingPaint() const
    {
        CRect r;
        ::GetUpdateRect(view->GetSafeHwnd(), &r, FALSE);
        return r;
    }
};

TEST_F(CanvasTest, PaintsTheDesignOfLayoutTwoWithRulers)
{
    doc->SetRedrawFlag();
    Repaint();
    CRect design = view->GetDesignRectOnScreen();
    EXPECT_EQ(CRect(229, 25, 930, 995), design);
    EXPECT_EQ(RGB(66, 154, 252), At(1100, 500)) << "canvas background";
    EXPECT_EQ(RGB(66, 154, 252), At(200, 900));
    EXPECT_EQ(RGB(255, 255, 255), At(580, 500)) << "the design area";
    EXPECT_EQ(RGB(0, 0, 0), At(229, 500)) << "its outline";
    // The rulers: white ticks in the band above and left of the design.
    int ticks = 0;
    for (int x = design.left; x < design.right; ++x)
        ticks += At(x, design.top - 25 + 3 + 9) == RGB(255, 255, 255);
    EXPECT_GT(ticks, 20);
    int vticks = 0;
    for (int y = design.top; y < design.bottom; ++y)
        vticks += At(design.left - 25 + 3 + 9, y) == RGB(255, 255, 255);
    EXPECT_GT(vticks, 20);
    EXPECT_NEAR(701 / GetPaperLayout()->GetPrintableSize().Width, view->GetPixelsPerInch(), 0.01);
}

TEST_F(CanvasTest, ItemWithoutSizeShowsOnlyTheCanvas)
{
    CPaperLayout* layout = GetPaperLayout();
    Gdiplus::SizeF item = layout->GetItemSize();
    float inset = layout->GetInset();
    layout->SetItemSize(0, 0);
    layout->SetInset(0);
    doc->SetRedrawFlag();
    Repaint();
    EXPECT_TRUE(view->GetDesignRectOnScreen().IsRectEmpty());
    for (CPoint p : {CPoint(580, 500), CPoint(229, 500), CPoint(600, 12)})
        EXPECT_EQ(RGB(66, 154, 252), At(p.x, p.y)) << p.x << "," << p.y;
    layout->SetItemSize(item.Width, item.Height);
    layout->SetInset(inset);
    doc->SetRedrawFlag();
    Repaint();
    EXPECT_EQ(RGB(255, 255, 255), At(580, 500));
}

TEST_F(CanvasTest, RepaintWithoutRedrawFlagCopiesTheKeptImage)
{
    doc->SetRedrawFlag();
    Repaint();
    int scenes = view->GetScenePaintCount();
    for (int i = 0; i < 3; ++i)
        Repaint();
    EXPECT_EQ(scenes, view->GetScenePaintCount()) << "no scene drawn";
    EXPECT_EQ(RGB(255, 255, 255), At(580, 500)) << "the kept image is shown";
    doc->SetRedrawFlag();
    Repaint();
    EXPECT_EQ(scenes + 1, view->GetScenePaintCount());
    EXPECT_FALSE(doc->NeedsRedraw()) << "painting clears the flag";
}

TEST_F(CanvasTest, UpdatesInvalidateOnlyWithTheRedrawFlag)
{
    doc->SetRedrawFlag();
    Repaint();
    int scenes = view->GetScenePaintCount();
    doc->UpdateAllViews(NULL, 0);
    PumpPending();
    EXPECT_EQ(scenes, view->GetScenePaintCount());
    doc->SetRedrawFlag();
    doc->UpdateAllViews(NULL, kHintRedrawNow); // redrawn at once
    EXPECT_EQ(scenes + 1, view->GetScenePaintCount());
}

TEST_F(CanvasTest, HomeHostReturnsToTheCornerOnEverySize)
{
    ASSERT_TRUE(view->IsHostCreated());
    CMenuWnd* host = view->GetHomeHost();
    EXPECT_STREQ("MenuWnd2", (LPCTSTR)WindowText(host->GetSafeHwnd()));
    host->SetWindowPos(NULL, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const CSize sizes[] = {CSize(1100, 800), CSize(90, 90), CSize(1280, 1000)};
    for (CSize s : sizes) {
        host->SetWindowPos(NULL, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetClientSize(s.cx, s.cy);
        CRect r;
        host->GetWindowRect(&r);
        view->ScreenToClient(&r);
        EXPECT_EQ(CPoint(0, 0), r.TopLeft()) << s.cx << " x " << s.cy;
    }
}

TEST_F(CanvasTest, StartupMessageOnlyBelow1024By700)
{
    struct
    {
        CSize size;
        bool shown;
    } cases[] = {
        {CSize(1023, 800), true},
        {CSize(1100, 699), true},
        {CSize(1024, 700), false},
    };
    for (const auto& c : cases) {
        view->SetWindowPos(NULL, 0, 0, c.size.cx, c.size.cy, SWP_NOZORDER | SWP_NOMOVE);
        CString text;
        DialogDriver driver([&](HWND dlg) {
            text = ItemText(dlg, IDC_MESSAGE_TEXT);
            Press(dlg, IDOK);
        });
        // The message, when there is one, is modal: the timer's handler returns once it
        // has been answered.
        view->SendMessage(WM_TIMER, CFrostwellView::kStartupTimer);
        PumpPending();
        EXPECT_EQ(c.shown, driver.Acted()) << c.size.cx << " x " << c.size.cy;
        if (c.shown) {
            EXPECT_STREQ((LPCTSTR)GetLangText("125"), (LPCTSTR)text);
        }
    }
    EXPECT_STREQ("1", (LPCTSTR)GetSetting("FIRSTRUN"));
}

int CountHosts(HWND parent)
{
    int n = 0;
    for (HWND c = ::GetWindow(parent, GW_CHILD); c != NULL; c = ::GetWindow(c, GW_HWNDNEXT))
        n += WindowText(c) == "MenuWnd2";
    return n;
}

TEST_F(CanvasTest, NewDocumentKeepsOneHomeHost)
{
    EXPECT_EQ(1, CountHosts(view->GetSafeHwnd()));
    // What Ctrl+N runs: the framework's new document through the template.
    ASSERT_EQ(doc, m_template->OpenDocumentFile(NULL, TRUE));
    PumpPending();
    EXPECT_EQ(1, CountHosts(view->GetSafeHwnd()));
}

TEST_F(CanvasTest, NoGdiObjectsLeakOverRepaints)
{
    for (int i = 0; i < 5; ++i) {
        doc->SetRedrawFlag();
        Repaint();
    }
    LiveGdiCheck check;
    for (int i = 0; i < 100; ++i) {
        doc->SetRedrawFlag();
        Repaint();
    }
    EXPECT_TRUE(check.Unchanged(19));
}

TEST_F(CanvasTest, DraggingTheImageMovesItAndAsksBeforeClosing)
{
    CImageLayer* layer = AddImageLayer(doc);
    doc->SetRedrawFlag();
    Repaint();
    // The home panel's image tool selects the first layer of the frame.
    CWnd* home = view->GetHomeHost()->GetHostedDialog();
    ASSERT_NE(nullptr, home);
    home->SendDlgItemMessage(IDC_HOME_IMAGES, BM_CLICK);
    PumpPending();
    ASSERT_EQ(layer, doc->GetSelectedImage());
    ASSERT_TRUE(doc->IsImageToolMode());
    Repaint();

    double x0 = layer->m_centreX, y0 = layer->m_centreY;
    float ppi = view->GetPixelsPerInch();
    CRect design = view->GetDesignRectOnScreen();
    CPoint at((int)(x0 * ppi) + design.left, (int)(y0 * ppi) + design.top);
    const CSize by(40, 25);
    HWND wnd = view->GetSafeHwnd();
    ::PostMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 10, at.y + 5));
    ::PostMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + by.cx, at.y + by.cy));
    ::PostMessage(wnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x + by.cx, at.y + by.cy));
    const int marked = Marked();
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(CRect(120, 0, 1280 - 240, 1000), PendingPaint());
    PumpPending();
    EXPECT_NEAR(x0 + by.cx / ppi, layer->m_centreX, 1e-4);
    EXPECT_NEAR(y0 + by.cy / ppi, layer->m_centreY, 1e-4);
    EXPECT_TRUE(doc->IsModified()) << "a drag on the canvas is an edit";
    EXPECT_EQ(marked + 1, Marked()) << "marked once per drag";

    // Closing asks "Save Changes"; Cancel keeps the window.
    CString title;
    DialogDriver driver([&](HWND dlg) {
        title = WindowText(dlg);
        Press(dlg, IDCANCEL);
    });
    frame->SendMessage(WM_CLOSE);
    PumpPending();
    EXPECT_TRUE(driver.Acted());
    EXPECT_STREQ((LPCTSTR)GetLangText("129"), (LPCTSTR)title);
    EXPECT_TRUE(::IsWindow(frame->GetSafeHwnd()));
}

TEST_F(CanvasTest, EscapeOrAResizePastTheCornerLeavesTheImage)
{
    CImageLayer* layer = AddImageLayer(doc);
    CSystemDlg* home = static_cast<CSystemDlg*>(view->GetHomeHost()->GetHostedDialog());
    home->SendDlgItemMessage(IDC_HOME_IMAGES, BM_CLICK);
    Repaint();
    HWND wnd = view->GetSafeHwnd();
    CObjectTracker* tracker = view->GetTracker();
    CPoint corner = tracker->GetHandlePoint(4);
    CPoint opposite = tracker->GetHandlePoint(0);

    // The corner handle works: halfway to the opposite corner halves the image.
    float scaleBefore = layer->m_scale;
    CPoint half((corner.x + opposite.x) / 2, (corner.y + opposite.y) / 2);
    ::PostMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(half.x, half.y));
    ::PostMessage(wnd, WM_LBUTTONUP, 0, MAKELPARAM(half.x, half.y));
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(corner.x, corner.y));
    PumpPending();
    ASSERT_NEAR(scaleBefore * 0.5f, layer->m_scale, scaleBefore * 0.05f);
    Repaint();
    corner = tracker->GetHandlePoint(4);
    opposite = tracker->GetHandlePoint(0);
    double x0 = layer->m_centreX, y0 = layer->m_centreY;
    float scale0 = layer->m_scale;

    // Handle 4 dragged past handle 0: scale 0, ignored.
    ::PostMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(opposite.x - 30, opposite.y - 30));
    ::PostMessage(wnd, WM_LBUTTONUP, 0, MAKELPARAM(opposite.x - 30, opposite.y - 30));
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(corner.x, corner.y));
    PumpPending();
    EXPECT_EQ(scale0, layer->m_scale);
    EXPECT_EQ(x0, layer->m_centreX);

    // Esc during a move.
    doc->SetModifiedFlag(FALSE);
    Repaint();
    CPoint centre = tracker->GetHandlePoint(8);
    ::PostMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(centre.x + 50, centre.y));
    ::PostMessage(wnd, WM_KEYDOWN, VK_ESCAPE, 1);
    ::PostMessage(wnd, WM_LBUTTONUP, 0, MAKELPARAM(centre.x + 50, centre.y));
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    PumpPending();
    EXPECT_EQ(x0, layer->m_centreX);
    EXPECT_EQ(y0, layer->m_centreY);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(CanvasTest, RightDragRotatesAsWithCtrl)
{
    CImageLayer* layer = AddImageLayer(doc);
    view->GetHomeHost()->GetHostedDialog()->SendDlgItemMessage(IDC_HOME_IMAGES, BM_CLICK);
    Repaint();
    CObjectTracker* tracker = view->GetTracker();
    CPoint centre = tracker->GetHandlePoint(8);
    CPoint corner = tracker->GetHandlePoint(2); // top-right
    // A quarter turn clockwise about the centre, with Shift to land on 90 exactly.
    CPoint to(centre.x + (centre.y - corner.y), centre.y + (corner.x - centre.x));
    float angle0 = layer->m_angle;
    HWND wnd = view->GetSafeHwnd();
    ::PostMessage(wnd, WM_MOUSEMOVE, MK_RBUTTON | MK_SHIFT, MAKELPARAM(to.x, to.y));
    ::PostMessage(wnd, WM_RBUTTONUP, MK_SHIFT, MAKELPARAM(to.x, to.y));
    view->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(corner.x, corner.y));
    PumpPending();
    EXPECT_FLOAT_EQ(angle0 + 90, layer->m_angle);
    EXPECT_TRUE(doc->IsModified());
}

// Reaches the view's own rulers and handles, which the reference scene draws with it.
struct ViewParts : CFrostwellView
{
    static void Rulers(CFrostwellView* view, CDC* dc, float width, float height)
    {
        (view->*&ViewParts::DrawRulers)(dc, width, height);
    }
    static void Handles(CFrostwellView* view, CDC* dc) { (view->*&ViewParts::DrawHandles)(dc); }
};

// The canvas as the view drew it when it called each layer itself: its transform and
// clip, the layers one by one (the template never, the overlay dimmed and turned with
// the layout), the rulers between the texts and the overlay, the handles, the outline.
void DrawReferenceScene(CFrostwellView* view, CDC* dc, const CRect& client)
{
    using namespace Gdiplus;
    CFrostwellDoc* doc = view->GetDocument();
    CPaperLayout* layout = GetPaperLayout();
    const SizeF printable = layout->GetPrintableSize();
    const BYTE round = layout->IsRound() ? 1 : 0;
    CLayerArray* layers = doc->GetLayers();
    const CRect design = view->GetDesignRectOnScreen();

    CBrush background(CFrostwellView::kCanvasColour);
    dc->FillRect(&client, &background);
    Graphics g(dc->m_hDC);
    DrawWithCurrentStyle(&g, dc->IsPrinting());
    g.SetPageUnit(UnitInch);
    double ox = 0, oy = 0, w = 0, h = 0;
    const float scale = ComputeDrawingScale(dc, &g, design, printable.Width, printable.Height, ox, oy, w, h);
    g.TranslateTransform((float)ox, (float)oy, MatrixOrderAppend);
    g.SetPageScale(scale);
    const PointF origin((float)ox, (float)oy);
    GraphicsPath clip(FillModeAlternate);
    if (round)
        clip.AddEllipse(RectF(0, 0, printable.Width, printable.Height));
    else
        clip.AddRectangle(RectF(0, 0, printable.Width, printable.Height));
    g.SetClip(&clip, CombineModeReplace);
    auto onGdi = [&g](const std::function<void(CDC*)>& draw) {
        HDC hdc = g.GetHDC();
        draw(CDC::FromHandle(hdc));
        g.ReleaseHDC(hdc);
    };

    layers->DrawBackground(&g, round, 0);
    if (doc->AreImagesShown())
        doc->GetImageList()->DrawAll(&g, origin, 0);
    if (doc->IsPerRecordDrawing())
        layers->DrawFrameImage(&g, origin, 0);
    layers->DrawFrames(&g, round, origin, 0);
    if (doc->AreTextsShown())
        doc->GetTextList()->DrawAll(&g, origin);
    onGdi([&](CDC* gdi) { ViewParts::Rulers(view, gdi, printable.Width, printable.Height); });
    if (doc->IsPerRecordDrawing())
        layers->DrawLayoutOverlay(&g, origin, layout->IsTurned() ? 180 : 0, 1);
    onGdi([&](CDC* gdi) { ViewParts::Handles(view, gdi); });

    g.ResetClip();
    if (layers->GetEdgeMargin() > 0) {
        Pen grey(Color(0xFF808080), layers->GetEdgeMargin());
        grey.SetAlignment(PenAlignmentInset);
        g.DrawPath(&grey, &clip);
    }
    Pen black(Color(0xFF000000), 0.01f);
    g.DrawPath(&black, &clip);
}

// Every layer kind on the canvas with its rulers, handles and outline, as the tool modes
// and drawing switches show them: the screen shows, pixel for pixel, the reference scene
// put on the screen through a kept image of its own the same way.
TEST_F(CanvasTest, RichDesignCanvasKeepsItsPixels)
{
    rich_design::BuildRichDesign(doc, 0, doc->GetDesignRect());
    doc->RelayoutDesign();
    CSystemDlg* home = static_cast<CSystemDlg*>(view->GetHomeHost()->GetHostedDialog());
    const struct
    {
        const char* what;
        int tool; // 0 none, 1 images, 2 texts
        BOOL imagesShown, perRecord;
        BYTE turned;
    } cases[] = {
        {"no tool", 0, TRUE, TRUE, 0},
        {"image tool, turned layout", 1, TRUE, TRUE, 1},
        {"text tool, images and record images hidden", 2, FALSE, FALSE, 0},
    };
    std::vector<Picture> shown;
    for (const auto& c : cases) {
        if (c.tool == 1)
            home->SendDlgItemMessage(IDC_HOME_IMAGES, BM_CLICK);
        else if (c.tool == 2)
            home->SendDlgItemMessage(IDC_HOME_TEXT, BM_CLICK);
        doc->SetImagesShown(c.imagesShown);
        doc->SetPerRecordDrawing(c.perRecord);
        GetPaperLayout()->SetTurned(c.turned);
        doc->SetRedrawFlag();
        Repaint();
        CRect design = view->GetDesignRectOnScreen();
        CRect r(design.left - 30, design.top - 25, design.right + 5, design.bottom);
        CRect host;
        view->GetHomeHost()->GetWindowRect(&host);
        view->ScreenToClient(&host);
        ASSERT_LT(host.right, r.left) << "the home panel stays out of the compared area";
        shown.push_back(PictureOfWindow(view->GetSafeHwnd(), r));
        {
            CClientDC screen(view);
            CRect client;
            view->GetClientRect(&client);
            CMemDCCache cache;
            CMemDC memory(&screen, client, client, &cache);
            DrawReferenceScene(view, &memory, client);
            memory.FlushIfOlder(0);
        }
        EXPECT_TRUE(SamePixels(shown.back(), PictureOfWindow(view->GetSafeHwnd(), r))) << c.what;
    }
    // Each case shows a picture of its own: the comparisons saw the design.
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(SamePixels(shown[i], shown[j])) << cases[i].what << " / " << cases[j].what;
    GetPaperLayout()->SetTurned(0);
}

TEST_F(CanvasTest, TextToolDragsTheFirstText)
{
    CTextItem* text = doc->AddTextLayer(true);
    text->m_text = "Cake";
    text->m_fontSize = 150;
    Gdiplus::SizeF area = GetPaperLayout()->GetPrintableSize();
    text->SetPrintableSize(area.Width, area.Height);
    view->GetHomeHost()->GetHostedDialog()->SendDlgItemMessage(IDC_HOME_TEXT, BM_CLICK);
    ASSERT_EQ(text, doc->GetCurrentObject());
    ASSERT_FALSE(doc->IsImageToolMode());
    doc->SetRedrawFlag();
    Repaint();
    Gdiplus::PointF p0 = text->m_position;
    CPoint centre = view->GetTracker()->GetHandlePoint(8);
    HWND wnd = view->GetSafeHwnd();
    ::PostMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(centre.x - 30, centre.y + 20));
    ::PostMessage(wnd, WM_LBUTTONUP, 0, MAKELPARAM(centre.x - 30, centre.y + 20));
    const int marked = Marked();
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    EXPECT_EQ(CRect(120, 0, 1280 - 240, 1000), PendingPaint());
    PumpPending();
    float ppi = view->GetPixelsPerInch();
    EXPECT_NEAR(p0.X - 30 / ppi, text->m_position.X, 1e-4);
    EXPECT_NEAR(p0.Y + 20 / ppi, text->m_position.Y, 1e-4);
    EXPECT_EQ(marked + 1, Marked()) << "marked once per drag";
}

} // namespace

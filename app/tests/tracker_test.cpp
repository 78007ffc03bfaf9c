// The mouse-tracking loop and the object tracker, driven by posted messages.
#include "app/view/ObjectTracker.h"
#include "app/view/TrackDC.h"
#include "base/Globals.h"
#include "testsupport/DibSurface.h"
#include <gtest/gtest.h>
#include <cmath>

namespace {

// A plain window that owns the drag and counts the timer messages it is sent.
class OwnerWindow : public CWnd
{
public:
    OwnerWindow()
    {
        CreateEx(0, AfxRegisterWndClass(0), "tracker owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, NULL, NULL);
    }
    ~OwnerWindow() override { DestroyWindow(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER)
            ++timers;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int timers = 0;
};

void PostMouse(HWND wnd, UINT message, UINT keys, int x, int y) { ::PostMessage(wnd, message, keys, MAKELPARAM(x, y)); }

// Handles what is queued (paints must be dispatched, or they stay queued).
void DrainQueue()
{
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT)
            ::DispatchMessage(&msg);
}

class TrackerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DrainQueue();
        tracker.SetPath(NULL, TRUE, NULL);
        // Object 100..200 x 50..150: handles sit 8 pixels outside it (frame + outline margin).
        tracker.SetRect(CRect(100, 50, 200, 150), TRUE, NULL);
    }
    void TearDown() override
    {
        DrainQueue();
        if (::GetCapture() != NULL)
            ::ReleaseCapture();
    }
    int Drag(UINT pressKeys, CPoint from, std::initializer_list<CPoint> moves, UINT keys = MK_LBUTTON,
             UINT up = WM_LBUTTONUP)
    {
        HWND wnd = owner.GetSafeHwnd();
        CPoint last = from;
        for (CPoint p : moves) {
            PostMouse(wnd, WM_MOUSEMOVE, keys, p.x, p.y);
            last = p;
        }
        PostMouse(wnd, up, keys & ~(MK_LBUTTON | MK_RBUTTON), last.x, last.y);
        return tracker.Track(NULL, pressKeys, from, FALSE);
    }

    OwnerWindow owner;
    CObjectTracker tracker{&owner};
};

TEST_F(TrackerTest, HandlesAroundTheObject)
{
    struct
    {
        int handle;
        CPoint at;
    } cases[] = {
        {0, CPoint(92, 42)},   {1, CPoint(150, 42)}, {2, CPoint(208, 42)}, {3, CPoint(208, 100)}, {4, CPoint(208, 158)},
        {5, CPoint(150, 158)}, {6, CPoint(92, 158)}, {7, CPoint(92, 100)}, {8, CPoint(150, 100)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.at, tracker.GetHandlePoint(c.handle)) << "handle " << c.handle;
        int expect = c.handle == 8 ? 9 : c.handle; // the pivot counts as the body
        EXPECT_EQ(expect, tracker.HitTestHandles(c.at)) << "handle " << c.handle;
        EXPECT_EQ(expect, tracker.HitTestHandles(c.at + CSize(3, 3))) << "handle " << c.handle;
    }
    EXPECT_EQ(-1, tracker.HitTestHandles(CPoint(300, 250)));
}

TEST_F(TrackerTest, ResizeResults)
{
    // Handle 4 sits 116, 116 from handle 0; dragging it to twice the x distance and three
    // times the y distance scales by the smaller factor, keeping handle 0 in place.
    struct
    {
        const char* name;
        int handle;
        CPoint to;
        float scale;
        int anchor;
    } cases[] = {
        {"corner x2 x3", 4, CPoint(92 + 232, 42 + 348), 2.0f, 0},
        {"corner halved", 4, CPoint(92 + 58, 42 + 58), 0.5f, 0},
        {"past the opposite corner", 4, CPoint(60, 20), 0.0f, 0},
        {"top-left corner x2", 0, CPoint(208 - 232, 158 - 232), 2.0f, 4},
        {"right edge", 3, CPoint(92 + 174, 100), 1.5f, 7},
        {"bottom edge past top", 5, CPoint(150, 10), 0.0f, 1},
    };
    for (const auto& c : cases) {
        tracker.SetRect(CRect(100, 50, 200, 150), TRUE, NULL);
        CPoint from = tracker.GetHandlePoint(c.handle);
        EXPECT_EQ(1, Drag(0, from, {c.to})) << c.name;
        EXPECT_NEAR(c.scale, tracker.GetScale().X, 1e-4) << c.name;
        EXPECT_NEAR(c.scale, tracker.GetScale().Y, 1e-4) << c.name;
        EXPECT_EQ(c.anchor, tracker.GetAnchorHandle()) << c.name;
        EXPECT_EQ(0.0f, tracker.GetRotation()) << c.name;
        EXPECT_EQ(0.0f, tracker.GetTranslation().X) << c.name;
    }
}

TEST_F(TrackerTest, RotateWithShiftSnapsToFifteenDegrees)
{
    // Ctrl on a corner rotates about the centre (150, 100).  Corner 2 starts at -45 degrees.
    struct
    {
        double degrees;
        UINT keys;
        float expect;
    } cases[] = {
        {52, MK_SHIFT, 45}, {53, MK_SHIFT, 60}, {-52, MK_SHIFT, -45}, {90, MK_SHIFT, 90},
        {90, 0, 90},        {-90, 0, -90},      {52, 0, 52},
    };
    for (const auto& c : cases) {
        tracker.SetRect(CRect(100, 50, 200, 150), TRUE, NULL);
        CPoint from = tracker.GetHandlePoint(2);
        double a = (-45 + c.degrees) * 3.14159265358979 / 180;
        CPoint to(150 + (int)lround(1000 * cos(a)), 100 + (int)lround(1000 * sin(a)));
        EXPECT_EQ(1, Drag(MK_CONTROL, from, {to}, MK_LBUTTON | c.keys)) << c.degrees;
        if (c.keys & MK_SHIFT)
            EXPECT_EQ(c.expect, tracker.GetRotation()) << c.degrees;
        else
            EXPECT_NEAR(c.expect, tracker.GetRotation(), 0.1) << c.degrees;
        EXPECT_EQ(1.0f, tracker.GetScale().X);
    }
}

TEST_F(TrackerTest, MovesAndTheShiftConstraint)
{
    struct
    {
        CSize by;
        UINT keys;
        CSize expect;
    } cases[] = {
        {CSize(30, 10), MK_SHIFT, CSize(30, 0)},  {CSize(10, -30), MK_SHIFT, CSize(0, -30)},
        {CSize(20, 15), MK_SHIFT, CSize(15, 15)}, {CSize(-15, 20), MK_SHIFT, CSize(-15, 15)},
        {CSize(30, 10), 0, CSize(30, 10)},
    };
    for (const auto& c : cases) {
        CPoint from(150, 100);
        EXPECT_EQ(1, Drag(0, from, {from + CSize(1, 1), from + c.by}, MK_LBUTTON | c.keys));
        EXPECT_EQ((float)c.expect.cx, tracker.GetTranslation().X) << c.by.cx << "," << c.by.cy;
        EXPECT_EQ((float)c.expect.cy, tracker.GetTranslation().Y) << c.by.cx << "," << c.by.cy;
        EXPECT_EQ(1.0f, tracker.GetScale().X);
    }
}

TEST_F(TrackerTest, LoopResults)
{
    HWND wnd = owner.GetSafeHwnd();
    CPoint body(150, 100);

    // Released where it was pressed: 3, not 1.
    EXPECT_EQ(TRACK_NOT_MOVED, Drag(0, body, {}));

    // Released with Ctrl held: 2.
    EXPECT_EQ(TRACK_RELEASED_CTRL, Drag(0, body, {CPoint(160, 100)}, MK_LBUTTON | MK_CONTROL));

    // Esc cancels and every result is neutral again.
    PostMouse(wnd, WM_MOUSEMOVE, MK_LBUTTON, 170, 120);
    ::PostMessage(wnd, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMouse(wnd, WM_LBUTTONUP, 0, 170, 120);
    EXPECT_EQ(TRACK_CANCELLED, tracker.Track(NULL, 0, body, FALSE));
    EXPECT_EQ(0.0f, tracker.GetTranslation().X);
    EXPECT_EQ(1.0f, tracker.GetScale().X);
    EXPECT_EQ(OT_IDLE, tracker.GetMode());
    DrainQueue();

    // A press outside every handle starts nothing.
    EXPECT_EQ(TRACK_REFUSED, tracker.Track(NULL, 0, CPoint(350, 250), FALSE));
    EXPECT_EQ(NULL, ::GetCapture());
}

TEST_F(TrackerTest, CaptureHeldElsewhereRefusesAtOnce)
{
    OwnerWindow other;
    ::SetCapture(other.GetSafeHwnd());
    ASSERT_EQ(other.GetSafeHwnd(), ::GetCapture());
    EXPECT_EQ(TRACK_REFUSED, tracker.Track(NULL, 0, CPoint(150, 100), FALSE));
    EXPECT_EQ(-1, tracker.GetHit()) << "OnBegin never ran";
    EXPECT_EQ(other.GetSafeHwnd(), ::GetCapture());
    ::ReleaseCapture();
}

TEST_F(TrackerTest, OtherMessagesAreDispatchedDuringTheDrag)
{
    HWND wnd = owner.GetSafeHwnd();
    PostMouse(wnd, WM_MOUSEMOVE, MK_LBUTTON, 160, 100);
    ::PostMessage(wnd, WM_TIMER, 7, 0);
    ::PostMessage(wnd, WM_TIMER, 7, 0);
    PostMouse(wnd, WM_LBUTTONUP, 0, 160, 100);
    EXPECT_EQ(1, tracker.Track(NULL, 0, CPoint(150, 100), FALSE));
    EXPECT_EQ(2, owner.timers);
}

TEST_F(TrackerTest, QuitEndsTheDragAndIsPostedAgain)
{
    HWND wnd = owner.GetSafeHwnd();
    PostMouse(wnd, WM_MOUSEMOVE, MK_LBUTTON, 160, 100);
    ::PostQuitMessage(42);
    EXPECT_EQ(TRACK_REFUSED, tracker.Track(NULL, 0, CPoint(150, 100), FALSE));
    EXPECT_EQ(NULL, ::GetCapture());
    EXPECT_EQ(0.0f, tracker.GetTranslation().X) << "an ended drag changes nothing";
    MSG msg;
    BOOL found = FALSE;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT && msg.wParam == 42)
            found = TRUE;
        else
            ::DispatchMessage(&msg);
    }
    EXPECT_TRUE(found) << "the outer loop still sees the quit request";
}

TEST_F(TrackerTest, LosingTheCaptureEndsTheDrag)
{
    HWND wnd = owner.GetSafeHwnd();
    PostMouse(wnd, WM_MOUSEMOVE, MK_LBUTTON, 160, 100);
    ::PostMessage(wnd, WM_CANCELMODE, 0, 0);
    PostMouse(wnd, WM_LBUTTONUP, 0, 170, 100);
    EXPECT_EQ(TRACK_REFUSED, tracker.Track(NULL, 0, CPoint(150, 100), FALSE));
    EXPECT_EQ(0.0f, tracker.GetTranslation().X);
}

TEST_F(TrackerTest, PressOutsideTheOutlineStartsNoDrag)
{
    // A diamond inside its bounding rectangle: its corners' area is not the object.
    Gdiplus::GraphicsPath path;
    Gdiplus::Point diamond[4] = {{150, 50}, {200, 100}, {150, 150}, {100, 100}};
    path.AddPolygon(diamond, 4);
    tracker.SetPath(&path, TRUE, NULL);
    EXPECT_EQ(-1, tracker.HitTestHandles(CPoint(105, 55)));
    EXPECT_EQ(9, tracker.HitTestHandles(CPoint(150, 100)));
    EXPECT_EQ(TRACK_REFUSED, tracker.Track(NULL, 0, CPoint(105, 55), FALSE));
}

TEST_F(TrackerTest, MoveReadoutInInches)
{
    // 100 pixels per inch, design rectangle at (50, 40).
    tracker.SetLimits(CRect(50, 40, 550, 440), 5.0f, 4.0f);
    EXPECT_EQ(1, Drag(0, CPoint(150, 100), {CPoint(250, 190)}));
    EXPECT_STREQ("2.00  x 1.50", (LPCTSTR)tracker.GetStatus());
}

TEST_F(TrackerTest, SizeLabelMeasuresTheObjectNotItsHandleFrame)
{
    // 100 pixels per inch from (50, 50).  The handles sit 12 pixels outside the object;
    // the readout gives the object's own corner and size.
    tracker.SetLimits(CRect(50, 50, 550, 450), 5.0f, 4.0f);
    struct
    {
        CRect object;
        BOOL metric;
        const char* position;
        const char* width;
        const char* height;
    } cases[] = {
        {CRect(250, 200, 350, 250), FALSE, "2.00\" x 1.50\"", "1.00\"", "0.50\""},
        {CRect(250, 200, 350, 250), TRUE, "50mm x 38mm", "25mm", "12mm"},
        // A picture that prints 79.5 x 53.3 mm.
        {CRect(100, 100, 413, 310), TRUE, "12mm x 12mm", "79mm", "53mm"},
        {CRect(100, 100, 413, 310), FALSE, "0.50\" x 0.50\"", "3.13\"", "2.10\""},
    };
    BOOL was = IsMetric();
    for (const auto& c : cases) {
        SetMetric(c.metric);
        tracker.SetRect(c.object, TRUE, NULL);
        CString position, width, height;
        ASSERT_TRUE(tracker.GetReadout(position, width, height));
        EXPECT_STREQ(c.position, (LPCTSTR)position) << c.object.Width() << " metric " << c.metric;
        EXPECT_STREQ(c.width, (LPCTSTR)width) << c.object.Width() << " metric " << c.metric;
        EXPECT_STREQ(c.height, (LPCTSTR)height) << c.object.Width() << " metric " << c.metric;
    }
    SetMetric(was);
    tracker.SetLimits(CRect(), 0, 0);
    CString a, b, c;
    EXPECT_FALSE(tracker.GetReadout(a, b, c)) << "no limits, no label";
}

TEST(TrackDC, FeedbackIsCopiedBackInvertedAndErasedByTheSecondDrawing)
{
    DibSurface surface(16, 16, RGB(200, 100, 50));
    CDC& target = surface.dc;
    target.SetBkColor(RGB(255, 255, 255));

    for (int pass = 0; pass < 2; ++pass) {
        CTrackDC dc(&target, 0x00990066);
        dc.SetROP2(R2_NOTXORPEN);
        dc.MoveTo(2, 5);
        dc.LineTo(10, 5); // the default pen is black
    }
    // Two passes at the same place: the screen is as before.
    EXPECT_EQ(RGB(200, 100, 50), target.GetPixel(4, 5));
    {
        CTrackDC dc(&target, 0x00990066);
        dc.SetROP2(R2_NOTXORPEN);
        dc.MoveTo(2, 5);
        dc.LineTo(10, 5);
    }
    EXPECT_EQ(RGB(55, 155, 205), target.GetPixel(4, 5)) << "feedback inverts what is under it";
    EXPECT_EQ(RGB(200, 100, 50), target.GetPixel(4, 6)) << "and nothing else";

    EXPECT_GE(CTrackDC::GetSharedBitmapSize().cx, 16);
}

TEST(TrackDC, SharedBitmapOnlyGrows)
{
    CDC screen;
    screen.Attach(::GetDC(NULL));
    ASSERT_TRUE(CTrackDC::PrepareBitmap(&screen, 300, 200));
    CSize big = CTrackDC::GetSharedBitmapSize();
    ASSERT_TRUE(CTrackDC::PrepareBitmap(&screen, 50, 40));
    EXPECT_EQ(big, CTrackDC::GetSharedBitmapSize()) << "a smaller drag reuses it";
    ASSERT_TRUE(CTrackDC::PrepareBitmap(&screen, big.cx + 10, big.cy));
    EXPECT_EQ(CSize(big.cx + 10, big.cy), CTrackDC::GetSharedBitmapSize());
    ::ReleaseDC(NULL, screen.Detach());
}

} // namespace

// The drawn slider over a striped parent (the parent's pixels captured once, white kept) and
// the dial slider: its rim points and values from the range's minimum, its keys, its mouse
// (a press outside the dial does nothing), its ticks, colours and icon, and no handle left.
#include "ui/periphery/DialSliderCtrl.h"
#include "ui/periphery/DrawnSlider.h"
#include "ui/tests/ui_test_util.h"

#include "testsupport/DibSurface.h"
#include "testsupport/Dump.h"
#include "testsupport/GdiCheck.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>
#include <memory>

using Gdiplus::Color;
using Gdiplus::Point;

namespace {

const COLORREF kStripeA = RGB(200, 40, 40);
const COLORREF kStripeB = RGB(40, 40, 200);

// A window striped in 4-pixel columns, whose static controls get a grey or a white brush.
class StripedParent : public CWnd
{
public:
    StripedParent(int x, int y, int w, int h)
    {
        CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), "striped", WS_POPUP, x, y, w,
                 h, nullptr, nullptr);
        ShowWindow(SW_SHOWNOACTIVATE);
    }
    ~StripedParent() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }
    static COLORREF StripeAt(int x) { return (x / 4) % 2 ? kStripeB : kStripeA; }
    bool whiteControls = false;
    std::vector<UINT> notes; // the dial's notifications, by their wParam

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        CRect r;
        GetClientRect(&r);
        for (int x = 0; x < r.right; x += 4)
            dc.FillSolidRect(x, 0, 4, r.bottom, StripeAt(x));
    }
    HBRUSH OnCtlColor(CDC*, CWnd*, UINT)
    {
        return (HBRUSH)::GetStockObject(whiteControls ? WHITE_BRUSH : LTGRAY_BRUSH);
    }
    LRESULT OnDialNote(WPARAM w, LPARAM)
    {
        notes.push_back((UINT)w);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

const UINT kDialNote = WM_APP + 40;

BEGIN_MESSAGE_MAP(StripedParent, CWnd)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(kDialNote, &StripedParent::OnDialNote)
END_MESSAGE_MAP()

void SnapWindow(HWND wnd, DibSurface& into)
{
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    PumpPending();
    HDC dc = ::GetDC(wnd);
    ::BitBlt(into.Hdc(), 0, 0, into.Width(), into.Height(), dc, 0, 0, SRCCOPY);
    ::ReleaseDC(wnd, dc);
}

TEST(DrawnSlider, ShowsTheParentCapturedOnceAndKeepsWhite)
{
    StripedParent parent(40, 40, 300, 120);
    parent.UpdateWindow();
    CDrawnSlider slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_NOTICKS, CRect(21, 20, 221, 50), &parent, 100));
    EXPECT_FALSE(slider.HasBackground());
    DibSurface first(200, 30);
    SnapWindow(slider.m_hWnd, first);
    ASSERT_TRUE(slider.HasBackground()) << "captured at the first channel draw";
    // Corners lie away from the channel and the thumb: the stripes behind the control show.
    for (int x : {0, 1, 2, 3, 4, 5, 6, 7, 195, 198})
        EXPECT_EQ(StripedParent::StripeAt(21 + x), first.At(x, 1)) << x;
    DumpPng(first, "drawn_slider");

    // Moved by two pixels the stripes behind it change phase; the control keeps its capture.
    slider.MoveWindow(23, 20, 200, 30);
    DibSurface moved(200, 30);
    SnapWindow(slider.m_hWnd, moved);
    for (int x : {0, 1, 2, 3, 4, 5})
        EXPECT_EQ(StripedParent::StripeAt(21 + x), moved.At(x, 1)) << x << ": the first capture";
    EXPECT_NE(StripedParent::StripeAt(23 + 2), StripedParent::StripeAt(21 + 2)) << "the phase did change";
}

TEST(DrawnSlider, PureWhiteOfTheControlStays)
{
    StripedParent parent(40, 40, 300, 120);
    parent.whiteControls = true;
    parent.UpdateWindow();
    CDrawnSlider slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_NOTICKS, CRect(21, 20, 221, 50), &parent, 100));
    DibSurface s(200, 30);
    SnapWindow(slider.m_hWnd, s);
    for (int x : {0, 1, 2, 3, 4, 5, 6, 7})
        EXPECT_EQ(RGB(255, 255, 255), s.At(x, 1)) << x << ": a white control background is kept";
}

TEST(DrawnSlider, NoHandleLeftByTenSliders)
{
    StripedParent parent(40, 40, 300, 120);
    parent.UpdateWindow();
    LiveGdiCheck check;
    for (int i = 0; i < 10; ++i) {
        CDrawnSlider slider;
        ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ, CRect(10, 10, 210, 40), &parent, 100));
        slider.UpdateWindow();
        PumpPending();
        EXPECT_TRUE(slider.HasBackground());
        slider.DestroyWindow();
    }
    EXPECT_TRUE(check.Unchanged());
}

// --- the dial ---

class DialTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parent.UpdateWindow();
        ASSERT_TRUE(dial.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 110, 110), &parent, 101));
        dial.SetNotify(&parent, kDialNote, 7, 0);
        dial.SetRange(0, 100, TRUE);
        dial.Layout(); // client 100 x 100: dial (10, 10, 80, 80), centre (50, 50)
    }
    // Input given to the dial and handled through the program's pump.
    void Post(UINT message, WPARAM w, LPARAM l)
    {
        ::PostMessage(dial.m_hWnd, message, w, l);
        PumpPending();
    }
    StripedParent parent{40, 40, 300, 200};
    CDialSliderCtrl dial;
};

TEST_F(DialTest, RimPointsCountFromTheMinimum)
{
    ASSERT_EQ(Point(50, 50).X, dial.GetCentre().X);
    struct Case
    {
        int lo, hi, value, radius;
        POINT expect;
    } cases[] = {
        {0, 100, 0, 30, {28, 71}},    // 135 degrees: down and left
        {0, 100, 100, 30, {71, 71}},  // 405 = 45 degrees: down and right
        {0, 100, 50, 30, {49, 20}},   // straight up
        {20, 120, 20, 30, {28, 71}},  // the minimum, whatever it is
        {20, 120, 120, 30, {71, 71}}, //
        {20, 120, 70, 30, {49, 20}},  //
        {-50, 50, 0, 40, {49, 10}},   // a range across zero: its middle at the top
        {30, 30, 30, 30, {0, 0}},     // an empty range: every point (0, 0)
    };
    for (const Case& c : cases) {
        dial.SetRange(c.lo, c.hi, FALSE);
        const Point p = dial.PointOnRim(c.value, c.radius);
        EXPECT_EQ(c.expect.x, p.X) << c.lo << ".." << c.hi << " value " << c.value;
        EXPECT_EQ(c.expect.y, p.Y) << c.lo << ".." << c.hi << " value " << c.value;
    }
}

TEST_F(DialTest, ValueUnderAPoint)
{
    struct Case
    {
        int lo, hi;
        POINT p;
        int expect;
    } cases[] = {
        {0, 100, {20, 50}, 16},  {0, 100, {50, 20}, 50},  {0, 100, {80, 50}, 83},   {0, 100, {29, 71}, 0},
        {0, 100, {50, 80}, 0},   {0, 100, {71, 71}, 100}, // below the centre and past the end: limited
        {20, 120, {20, 50}, 36}, {20, 120, {50, 20}, 70}, {20, 120, {80, 50}, 103}, {20, 120, {50, 80}, 20},
        {30, 30, {80, 50}, 30}, // an empty range
    };
    for (const Case& c : cases) {
        dial.SetRange(c.lo, c.hi, FALSE);
        EXPECT_EQ(c.expect, dial.ValueFromPoint(c.p.x, c.p.y)) << c.lo << " (" << c.p.x << "," << c.p.y << ")";
    }
}

TEST_F(DialTest, KeysChangeTheValueAndNotifyOncePerChange)
{
    struct Case
    {
        int lo, start;
        UINT key;
        int expect;
    } cases[] = {
        {0, 50, VK_PRIOR, 60}, {0, 95, VK_PRIOR, 100}, {0, 50, VK_NEXT, 40},  {0, 5, VK_NEXT, 0},
        {0, 50, VK_END, 0},    {0, 50, VK_HOME, 100},  {0, 50, VK_LEFT, 49},  {0, 50, VK_DOWN, 49},
        {0, 50, VK_UP, 51},    {0, 50, VK_RIGHT, 51},  {0, 0, VK_LEFT, 0},    {0, 100, VK_UP, 100},
        {20, 25, VK_NEXT, 20}, {20, 50, VK_END, 20},   {20, 20, VK_DOWN, 20},
    };
    dial.SetFocus();
    for (const Case& c : cases) {
        dial.SetRange(c.lo, 100, FALSE);
        dial.SetPos(c.start);
        parent.notes.clear();
        Post(WM_KEYDOWN, c.key, 1);
        Post(WM_KEYUP, c.key, 0xC0000001);
        EXPECT_EQ(c.expect, dial.GetPos()) << c.start << " key " << c.key;
        EXPECT_EQ(c.expect != c.start ? 1u : 0u, parent.notes.size()) << c.start << " key " << c.key;
        if (!parent.notes.empty()) {
            EXPECT_EQ(7u, parent.notes[0]) << "with the parameters given";
        }
    }
}

TEST_F(DialTest, DragInsideTheDialPressOutsideDoesNothing)
{
    for (int lo : {0, 20}) {
        dial.SetRange(lo, lo + 100, FALSE);
        dial.SetPos(lo + 50);
        parent.notes.clear();
        Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)); // outside the disc's square
        EXPECT_FALSE(dial.IsDragging());
        Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 50));
        Post(WM_LBUTTONUP, 0, MAKELPARAM(80, 50));
        EXPECT_EQ(lo + 50, dial.GetPos()) << lo;
        EXPECT_TRUE(parent.notes.empty()) << lo;

        Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 20)); // inside: a drag starts
        EXPECT_TRUE(dial.IsDragging());
        EXPECT_EQ(lo + 50, dial.GetPos()) << "a press alone changes nothing";
        Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 50));
        EXPECT_EQ(lo + 16, dial.GetPos());
        Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 50)); // the same value: no note
        Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 50));
        EXPECT_EQ(lo + 83, dial.GetPos());
        Post(WM_LBUTTONUP, 0, MAKELPARAM(80, 50));
        EXPECT_FALSE(dial.IsDragging());
        EXPECT_EQ(2u, parent.notes.size()) << lo << ": one note per change";
        Post(WM_MOUSEMOVE, 0, MAKELPARAM(20, 50));
        EXPECT_EQ(lo + 83, dial.GetPos()) << "no drag after the release";
    }
}

TEST_F(DialTest, ColoursLightenWithinTheirRange)
{
    struct Case
    {
        Color in;
        int d;
        Color expect;
    } cases[] = {
        {Color(255, 250, 10, 10), 55, Color(255, 255, 15, 15)}, // the channel nearest its limit decides
        {Color(255, 100, 100, 100), 55, Color(255, 155, 155, 155)},
        {Color(128, 100, 60, 200), -55, Color(128, 45, 5, 145)}, // alpha kept
        {Color(255, 0, 100, 200), -55, Color(255, 0, 100, 200)}, // a channel at 0 already
        {Color(255, 10, 20, 30), 300, Color(255, 10, 20, 30)},   // out of range: unchanged
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expect.GetValue(), CDialSliderCtrl::Lighten(c.in, c.d).GetValue()) << c.d;
    dial.SetFaceColor(RGB(10, 20, 30), FALSE);
    dial.SetAlpha(100, FALSE);
    EXPECT_EQ(RGB(10, 20, 30), dial.GetFaceColor());
}

TEST_F(DialTest, TicksDrawnOnlyWithAMaximumAboveZero)
{
    auto shot = [&](bool ticks, DibSurface& s) {
        dial.SetMajorTicks(ticks, FALSE);
        dial.SetMinorTicks(ticks, FALSE);
        SnapWindow(dial.m_hWnd, s);
    };
    DibSurface on(100, 100), off(100, 100);
    dial.SetRange(0, 100, FALSE);
    shot(true, on);
    shot(false, off);
    EXPECT_NE("", on.Diff(off)) << "ticks show with the range 0 to 100";
    DibSurface zeroOn(100, 100), zeroOff(100, 100);
    dial.SetRange(-100, 0, FALSE);
    dial.SetPos(-50);
    shot(true, zeroOn);
    shot(false, zeroOff);
    EXPECT_EQ("", zeroOn.Diff(zeroOff)) << "a maximum of 0 draws no ticks";
    dial.SetRange(0, 100, FALSE);
    dial.SetMajorTickStep(0, FALSE);
    dial.SetMinorTickStep(-5, FALSE);
    DibSurface noStep(100, 100);
    shot(true, noStep); // a step that never advances draws nothing and returns
    EXPECT_EQ("", noStep.Diff(off));
}

TEST_F(DialTest, IconIsOwnedAndReplaced)
{
    HICON first = ::CopyIcon(::LoadIcon(nullptr, IDI_APPLICATION));
    HICON second = ::CopyIcon(::LoadIcon(nullptr, IDI_INFORMATION));
    ICONINFO info = {};
    EXPECT_EQ(0, dial.SetIcon(first));
    EXPECT_EQ(0, dial.SetIcon(second));
    EXPECT_FALSE(::GetIconInfo(first, &info)) << "the replaced icon is destroyed";
    EXPECT_EQ(0, dial.SetIcon((HICON) nullptr));
    EXPECT_FALSE(::GetIconInfo(second, &info)) << "cleared: destroyed too";
    EXPECT_EQ(2, dial.SetIcon((HICON)(INT_PTR)0x7777)) << "not an icon";
}

TEST_F(DialTest, GalleryWithTicksAndIcon)
{
    dial.SetRange(0, 100, FALSE);
    dial.SetPos(70);
    dial.SetColors(RGB(120, 170, 230), RGB(255, 255, 192), FALSE);
    dial.SetIcon(::CopyIcon(::LoadIcon(nullptr, IDI_INFORMATION)));
    dial.SetTooltipText("Turn me");
    dial.SetFocus();
    DibSurface s(100, 100);
    SnapWindow(dial.m_hWnd, s);
    EXPECT_EQ(RGB(255, 255, 192), s.At(1, 1)) << "the background colour";
    SaveScreenshot(parent.m_hWnd, "periphery_dial");
}

TEST(DialSlider, NoHandleLeftByTenDials)
{
    StripedParent parent(40, 40, 300, 200);
    parent.UpdateWindow();
    std::unique_ptr<LiveGdiCheck> check;
    for (int i = 0; i < 11; ++i) {
        if (i == 1) // after a first dial has filled the caches that fill once
            check = std::make_unique<LiveGdiCheck>();
        CDialSliderCtrl dial;
        ASSERT_TRUE(dial.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 110), &parent, 101));
        dial.SetIcon(::CopyIcon(::LoadIcon(nullptr, IDI_APPLICATION)), FALSE);
        dial.UseParentBackground(FALSE);
        CClientDC dc(&parent);
        EXPECT_EQ(0, dial.CaptureBackground(&dc));
        dial.SetTooltipText("tip");
        dial.UpdateWindow();
        PumpPending();
        dial.DestroyWindow();
    }
    // Three objects stay behind whether ten or thirty dials come and go: slots of the
    // system's caches (GDI+ and the tooltip), not a dial's.
    EXPECT_TRUE(check->Unchanged(3));
}

} // namespace

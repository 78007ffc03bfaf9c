// The ruler control: marker positions under the mouse, drags, wheel and keys, and the
// notifications its parent receives.
#include "app/view/RulerWnd.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

class Parent : public CWnd
{
public:
    Parent() { CreateEx(0, AfxRegisterWndClass(0), "ruler parent", WS_POPUP | WS_VISIBLE, 0, 0, 600, 100, NULL, NULL); }
    ~Parent() override { DestroyWindow(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY && ((NMHDR*)lParam)->code == RULER_NOTIFY_CODE) {
            notes.push_back(*(RulerNotification*)lParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<RulerNotification> notes;
};

// Horizontal ruler along the top, 20 + 4 pixels per position, positions 10..100.
class RulerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ruler.Create(0, CRect(0, 0, 500, 40), &parent, 1001));
        ruler.SetStyle(RWS_HORIZONTAL | RWS_SCALE_NEAR);
        ruler.SetMinPosition(10);
        ruler.SetScaleLength(100);
        ruler.SetTickSpacing(4.0f);
        ruler.AddMarker(50, 0, 0, 0x0FFFFFFF, 0, 0, RGB(64, 64, 64), RGB(220, 220, 255));
        ruler.UpdateScale();
    }
    void TearDown() override { ::ClipCursor(NULL); }
    int Position() { return ruler.GetMarker(0)->position; }
    BOOL Key(UINT vk)
    {
        MSG msg = {ruler.GetSafeHwnd(), WM_KEYDOWN, vk, 1};
        return ruler.PreTranslateMessage(&msg);
    }
    void Wheel(short delta) { ruler.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(10, 10)); }

    Parent parent;
    CRulerWnd ruler;
};

TEST_F(RulerTest, PositionUnderAPoint)
{
    struct
    {
        int x;
        int expect;
    } cases[] = {
        {220, 50},
        {221, 50},
        {222, 51} /* 50.5 rounds up */,
        {223, 51},
        {20, 10} /* below the minimum */,
        {480, 100} /* beyond the scale */,
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expect, ruler.PositionFromPoint(CPoint(c.x, 5))) << c.x;
    ruler.SetScrollOffset(40);
    EXPECT_EQ(60, ruler.PositionFromPoint(CPoint(220, 5))) << "the scroll offset moves positions";
}

TEST_F(RulerTest, HitTestingMarkers)
{
    EXPECT_EQ(0, ruler.HitTestMarker(CPoint(220, 20)));
    EXPECT_EQ(0, ruler.HitTestMarker(CPoint(210, 0))) << "near edge inclusive";
    EXPECT_EQ(-1, ruler.HitTestMarker(CPoint(230, 20))) << "far edge exclusive";
    ruler.SetScrollOffset(40);
    EXPECT_EQ(-1, ruler.HitTestMarker(CPoint(220, 20)));
    EXPECT_EQ(0, ruler.HitTestMarker(CPoint(180, 20)));
    ruler.SetScrollOffset(0);
    ruler.GetMarker(0)->flags = 1;
    EXPECT_EQ(-1, ruler.HitTestMarker(CPoint(220, 20))) << "a locked marker cannot be grabbed";
}

TEST_F(RulerTest, DragNotifiesWhileMovingAndOnTheDrop)
{
    HWND wnd = ruler.GetSafeHwnd();
    ::SendMessage(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(220, 20));
    ::SendMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(240, 20));
    ::SendMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(241, 20)); // same position
    ::SendMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(499, 20)); // past the end
    ::SendMessage(wnd, WM_LBUTTONUP, 0, MAKELPARAM(499, 20));
    ASSERT_EQ(3u, parent.notes.size());
    struct
    {
        int action;
        int pos;
        int prev;
    } expect[] = {{RULER_DRAGGING, 55, 50}, {RULER_DRAGGING, 100, 50}, {RULER_MOVED, 100, 50}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(expect[i].action, parent.notes[i].action) << i;
        EXPECT_EQ(expect[i].pos, parent.notes[i].newPosition) << i;
        EXPECT_EQ(expect[i].prev, parent.notes[i].previousPosition) << i;
        EXPECT_EQ(0, parent.notes[i].markerId);
        EXPECT_EQ(1001u, parent.notes[i].idFrom);
        EXPECT_EQ((DWORD)(RWS_HORIZONTAL | RWS_SCALE_NEAR), parent.notes[i].style);
    }
    EXPECT_EQ(100, Position());
    EXPECT_FALSE(ruler.IsDragging());
}

TEST_F(RulerTest, DropAtTheSamePlaceSendsNothing)
{
    HWND wnd = ruler.GetSafeHwnd();
    ::SendMessage(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(220, 20));
    ::SendMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(221, 20));
    ::SendMessage(wnd, WM_LBUTTONUP, 0, MAKELPARAM(221, 20));
    ASSERT_EQ(1u, parent.notes.size()) << "only the drag notification";
    EXPECT_EQ(RULER_DRAGGING, parent.notes[0].action);
    EXPECT_EQ(50, Position());
}

TEST_F(RulerTest, WheelMovesOnePositionAndStopsAtTheLimits)
{
    struct
    {
        int start;
        short delta;
        int expect;
        bool notified;
    } cases[] = {
        {50, 120, 49, true},     {50, 360, 49, true},  // three notches: still one position
        {50, -120, 51, true},    {10, 120, 10, false}, // at the minimum: nothing, not a move the other way
        {100, -120, 100, false}, {50, 0, 50, false},
    };
    for (const auto& c : cases) {
        ruler.GetMarker(0)->position = c.start;
        parent.notes.clear();
        Wheel(c.delta);
        EXPECT_EQ(c.expect, Position()) << c.start << " " << c.delta;
        EXPECT_EQ(c.notified ? 1u : 0u, parent.notes.size()) << c.start << " " << c.delta;
        if (c.notified) {
            EXPECT_EQ(RULER_MOVED, parent.notes[0].action);
            EXPECT_EQ(c.expect, parent.notes[0].newPosition);
            EXPECT_EQ(c.expect, parent.notes[0].previousPosition);
        }
    }
}

TEST_F(RulerTest, Keys)
{
    struct
    {
        int start;
        UINT vk;
        BOOL consumed;
        int expect;
    } cases[] = {
        {50, VK_HOME, TRUE, 10},    {50, VK_END, TRUE, 100},
        {50, VK_PRIOR, TRUE, 40},   {20, VK_PRIOR, FALSE, 20}, // not above min + 10
        {50, VK_NEXT, TRUE, 60},    {90, VK_NEXT, FALSE, 90},
        {50, VK_LEFT, TRUE, 49},    {10, VK_LEFT, TRUE, 10}, // consumed, not moved
        {50, VK_DOWN, TRUE, 49},    {50, VK_UP, TRUE, 51},
        {100, VK_RIGHT, TRUE, 100}, {50, 'A', FALSE, 50},
    };
    for (const auto& c : cases) {
        ruler.GetMarker(0)->position = c.start;
        EXPECT_EQ(c.consumed, Key(c.vk)) << c.start << " key " << c.vk;
        EXPECT_EQ(c.expect, Position()) << c.start << " key " << c.vk;
    }
    ruler.RemoveAllMarkers();
    EXPECT_FALSE(Key(VK_HOME)) << "no marker 0: keys go on to the dialog";
}

TEST_F(RulerTest, MarkersAndNotifyTargets)
{
    EXPECT_EQ(1, ruler.AddMarker(5, 7, 0, 10, 0, 0, 0, 0));
    EXPECT_EQ(5, ruler.GetMarker(7)->position);
    EXPECT_EQ(NULL, ruler.GetMarker(3));
    EXPECT_EQ(1, ruler.RemoveMarker(7));
    EXPECT_EQ(-1, ruler.RemoveMarker(7));
    EXPECT_EQ(1, ruler.GetMarkerCount());
    ruler.UpdateScale();
    EXPECT_EQ(500, ruler.GetVisibleLength());
    EXPECT_EQ(440, ruler.GetTotalLength());

    CRulerWnd orphan; // no window, no parent
    EXPECT_EQ(-1, orphan.NotifyParent(RULER_MOVED, 0, 1, 1, 0, 0));
}

TEST_F(RulerTest, PaintsMarkerAndScale)
{
    ruler.SetBackColour(RGB(255, 255, 192));
    ruler.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CClientDC dc(&ruler);
    EXPECT_EQ(RGB(255, 255, 192), dc.GetPixel(300, 30)) << "background";
    EXPECT_EQ(RGB(0, 0, 0), dc.GetPixel(60, 5)) << "major tick at position 10";
    EXPECT_EQ(RGB(220, 220, 255), dc.GetPixel(220, 30)) << "marker fill";
}

} // namespace

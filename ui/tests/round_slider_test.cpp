// The round dial in a real dialog: the position under a point, the keys with their wrap
// round the range and the codes they post, the marker where the value says, the disabled
// look, one knob image at a time, and the module's two drawing helpers.
#include "ui/tests/ui_test_util.h"
#include "ui/tests/value_dialog.h"

#include "testsupport/GdiCheck.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>
#include <psapi.h>

namespace {

const COLORREF kRed = RGB(255, 0, 0);

class RoundSliderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Open(40, 40));
        dlg.UpdateWindow();
    }
    ValueDialog dlg;
};

TEST_F(RoundSliderTest, PositionUnderAPoint)
{
    // Dial 80 x 80: centre (40, 40). 0 degrees at the top, clockwise.
    ASSERT_EQ(CPoint(40, 40), dlg.dial.GetCentre());
    ASSERT_EQ(38, dlg.dial.GetRadius()) << "half the side less the inset 7, plus 5";
    struct Case
    {
        POINT p;
        int zero;
        bool inverted;
        int maximum;
        int expect;
    } cases[] = {
        {{40, 40}, 0, false, 359, 180}, // the centre itself counts as straight down
        {{40, 10}, 0, false, 359, 0},   {{70, 40}, 0, false, 359, 90},   {{40, 70}, 0, false, 359, 180},
        {{10, 40}, 0, false, 359, 270}, {{70, 10}, 0, false, 359, 45},   {{10, 10}, 0, false, 359, 315},
        {{70, 40}, 90, false, 359, 0},  {{40, 10}, 90, false, 359, 270}, // zero angle moves the minimum
        {{70, 40}, 0, true, 359, 270},                                   // anticlockwise
        {{70, 40}, 0, false, 99, 25},                                    // another range: a quarter
    };
    for (const Case& c : cases) {
        dlg.dial.SetZeroAngle(c.zero);
        dlg.dial.SetInverted(c.inverted);
        dlg.dial.SetRange(0, c.maximum, FALSE);
        dlg.dial.SetPos(c.expect == 1 ? 2 : 1);
        EXPECT_TRUE(dlg.dial.SetPosFromPoint(c.p)) << c.p.x << "," << c.p.y;
        EXPECT_EQ(c.expect, dlg.dial.GetPos()) << c.p.x << "," << c.p.y << " zero " << c.zero;
        EXPECT_FALSE(dlg.dial.SetPosFromPoint(c.p)) << "the same point again changes nothing";
    }
}

TEST_F(RoundSliderTest, KeysWrapRoundTheRangeAndPostTheirCodes)
{
    struct Case
    {
        int start;
        UINT key;
        int expect;   // the position after the key
        int downCode; // posted on key-down, -1 none
        bool endOnUp; // SB_ENDSCROLL on key-up
    } cases[] = {
        {355, VK_NEXT, 5, SB_PAGEDOWN, true},  {5, VK_PRIOR, 355, SB_PAGEUP, true},
        {359, VK_RIGHT, 0, SB_LINEDOWN, true}, {10, VK_DOWN, 11, SB_LINEDOWN, true},
        {0, VK_LEFT, 359, SB_LINEUP, true},    {0, VK_UP, 359, SB_LINEUP, true},
        {30, VK_HOME, 30, -1, false},          {30, VK_END, 30, -1, false},
        {20, VK_RIGHT, 21, SB_LINEDOWN, true}, // after the silent keys: the notes still come
    };
    dlg.dial.SetFocus();
    for (const Case& c : cases) {
        dlg.dial.SetPos(c.start);
        dlg.notes.clear();
        ::PostMessage(dlg.dial.m_hWnd, WM_KEYDOWN, c.key, 1);
        ::PostMessage(dlg.dial.m_hWnd, WM_KEYUP, c.key, 0xC0000001);
        PumpPending();
        const size_t expected = (c.downCode >= 0 ? 1u : 0u) + (c.endOnUp ? 1u : 0u);
        EXPECT_TRUE(PumpUntil([&] { return dlg.notes.size() >= expected; }, 2000));
        PumpPending();
        EXPECT_EQ(c.expect, dlg.dial.GetPos()) << "key " << c.key << " from " << c.start;
        ASSERT_EQ(expected, dlg.notes.size()) << "key " << c.key;
        if (c.downCode >= 0) {
            EXPECT_EQ((UINT)c.downCode, dlg.notes[0].code);
            EXPECT_EQ(c.expect, dlg.notes[0].position) << "the new position travels in the message";
            EXPECT_EQ(dlg.dial.m_hWnd, dlg.notes[0].from);
            EXPECT_EQ((UINT)WM_HSCROLL, dlg.notes[0].message);
        }
        if (c.endOnUp) {
            EXPECT_EQ((UINT)SB_ENDSCROLL, dlg.notes.back().code);
        }
    }
}

TEST_F(RoundSliderTest, MarkerStandsAtTheValueAndFadesWhenDisabled)
{
    const COLORREF green = RGB(0, 128, 0);
    dlg.dial.SetBackgroundColour(green);
    struct Case
    {
        int pos;
        POINT dot; // 15 pixels in from the rim point of the angle
    } cases[] = {{0, {40, 17}}, {90, {63, 40}}, {180, {40, 63}}, {270, {17, 40}}};
    DibSurface shown(80, 80);
    for (const Case& c : cases) {
        dlg.dial.SetPos(c.pos);
        dlg.dial.RedrawWindow();
        Snap(dlg.dial.m_hWnd, shown);
        EXPECT_EQ(kRed, shown.At(c.dot.x, c.dot.y)) << "pos " << c.pos;
        for (const Case& other : cases) {
            if (other.pos != c.pos) {
                EXPECT_NE(kRed, shown.At(other.dot.x, other.dot.y)) << "pos " << c.pos << " not at " << other.pos;
            }
        }
        EXPECT_EQ(green, shown.At(6, 40)) << "the dial's own background";
    }
    dlg.dial.SetPos(45);
    EXPECT_EQ(CString("45\xB0"), dlg.dial.GetValueText());
    dlg.dial.RedrawWindow();
    Snap(dlg.dial.m_hWnd, shown);
    const int redEnabled = CountOf(shown, kRed);
    EXPECT_GT(redEnabled, 30) << "a filled dot of diameter 10";
    CaptureToPng(dlg.dial.m_hWnd, "round-slider-enabled");

    dlg.dial.EnableWindow(FALSE);
    dlg.dial.RedrawWindow();
    Snap(dlg.dial.m_hWnd, shown);
    EXPECT_EQ(0, CountOf(shown, kRed)) << "the disabled dot is drawn faint";
    CaptureToPng(dlg.dial.m_hWnd, "round-slider-disabled");
}

TEST_F(RoundSliderTest, ANewKnobReleasesTheOldOne)
{
    PROCESS_MEMORY_COUNTERS_EX before = {};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&before, sizeof before);
    LiveGdiCheck gdi;
    // 48 x 48 knobs: a kept image each would hold about 9 KB, 18 MB in all.
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(dlg.dial.SetKnobBitmap(i % 2 ? IDB_SKIN_KNOB : IDB_SKIN_KNOB_ROTATE));
    EXPECT_TRUE(gdi.Unchanged(2));
    PROCESS_MEMORY_COUNTERS_EX after = {};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&after, sizeof after);
    ASSERT_GT(after.PagefileUsage, 0u) << "the memory the process holds must be readable";
    EXPECT_LT((long long)after.PagefileUsage - (long long)before.PagefileUsage, 4ll << 20);

    // A bitmap that is not there leaves no knob: the dial still paints, without one.
    EXPECT_FALSE(dlg.dial.SetKnobBitmap(1));
    dlg.dial.RedrawWindow();
    EXPECT_TRUE(dlg.dial.SetKnobBitmap(IDB_SKIN_KNOB));
    EXPECT_TRUE(gdi.Unchanged(2)) << "one knob held, as at the start";
}

TEST(RoundSliderHelpers, BlendRgbMixesByTheAngle)
{
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    const COLORREF warm = RGB(200, 100, 0), cold = RGB(0, 100, 200);
    struct Case
    {
        double angle;
        COLORREF fromWhite, fromWarm;
    } cases[] = {
        {-2.356, RGB(255, 255, 255), RGB(200, 100, 0)}, // facing the light: all of colour 1
        {0.0, RGB(37, 37, 37), RGB(29, 100, 170)},
        {1.0, RGB(2, 2, 2), RGB(2, 100, 197)},     // wrapped from below -3.1415
        {-6.0, RGB(15, 15, 15), RGB(11, 99, 188)}, // reflected from above 3.1415; truncated
        {3.0, RGB(203, 203, 203), RGB(159, 100, 40)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.fromWhite, BlendRgb(c.angle, white, black)) << c.angle;
        EXPECT_EQ(c.fromWarm, BlendRgb(c.angle, warm, cold)) << c.angle;
    }
}

TEST(RoundSliderHelpers, MarkerDotIsACircleOfRadiusFiveWithTheDcPen)
{
    DibSurface s(20, 20, RGB(255, 255, 255));
    CDC* dc = CDC::FromHandle(s.Hdc());
    DrawMarkerDot(dc, 10, 10, kRed);
    EXPECT_EQ(kRed, s.At(10, 10));
    const CRect red = BoundsOf(s, kRed);
    EXPECT_TRUE(red.left >= 6 && red.top >= 6 && red.right <= 14 && red.bottom <= 14) << "inside the outline";
    EXPECT_EQ(RGB(0, 0, 0), s.At(10, 5)) << "the DC's black pen";
    EXPECT_EQ(RGB(0, 0, 0), s.At(5, 10));
    EXPECT_EQ(RGB(255, 255, 255), s.At(10, 3));
    EXPECT_EQ(RGB(255, 255, 255), s.At(16, 10));
}

} // namespace

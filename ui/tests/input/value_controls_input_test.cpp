// The round dial and the skinned scroll bar under the real pointer (xdotool): a drag round
// the dial reports its track and exactly one end, across the top it wraps; a click that
// changes nothing reports nothing; the scroll bar's thumb lights up under the pointer with
// the hand cursor, and the bar takes the focus.
#include "ui/tests/input/Xdo.h"
#include "ui/tests/ui_test_util.h"
#include "ui/tests/value_dialog.h"

#include "testsupport/Pump.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The screen point `radius` pixels from the dial's centre at `degrees` clockwise from the top.
POINT OnDial(CRoundSliderCtrl& dial, double degrees, int radius)
{
    const double a = degrees * 3.14159265358979 / 180;
    POINT p = dial.GetCentre();
    p.x += (LONG)std::lround(std::sin(a) * radius);
    p.y -= (LONG)std::lround(std::cos(a) * radius);
    ::ClientToScreen(dial.m_hWnd, &p);
    return p;
}

bool NearPos(CRoundSliderCtrl& dial, int expect) { return std::abs(dial.GetPos() - expect) <= 2; }

TEST(RoundSliderInput, DragRoundTheDialTracksWrapsAndEndsOnce)
{
    ValueDialog dlg;
    ASSERT_TRUE(dlg.Open(60, 300));
    dlg.UpdateWindow();
    ASSERT_EQ(0, dlg.dial.GetPos());

    POINT p = OnDial(dlg.dial, 90, 25);
    ASSERT_TRUE(Xdo("mousemove %ld %ld", p.x, p.y));
    ASSERT_TRUE(Xdo("mousedown 1"));
    ASSERT_TRUE(PumpUntil([&] { return NearPos(dlg.dial, 90); })) << dlg.dial.GetPos();
    // Clockwise round, over the top (359 -> 0) and on to 45 degrees.
    for (int degrees : {180, 270, 330, 350, 10, 45}) {
        p = OnDial(dlg.dial, degrees, 25);
        ASSERT_TRUE(Xdo("mousemove %ld %ld", p.x, p.y));
        ASSERT_TRUE(PumpUntil([&] { return NearPos(dlg.dial, degrees); })) << degrees << ": " << dlg.dial.GetPos();
    }
    ASSERT_TRUE(Xdo("mouseup 1"));
    ASSERT_TRUE(PumpUntil([&] { return !dlg.From(dlg.dial.m_hWnd, SB_THUMBPOSITION).empty(); }));
    PumpPending();

    const auto track = dlg.From(dlg.dial.m_hWnd, SB_THUMBTRACK);
    EXPECT_GE(track.size(), 7u);
    EXPECT_EQ(1u, dlg.From(dlg.dial.m_hWnd, SB_THUMBPOSITION).size());
    EXPECT_EQ((UINT)SB_THUMBPOSITION, dlg.notes.back().code) << "the end comes last";
    EXPECT_EQ(dlg.dial.GetPos(), dlg.notes.back().position);
    bool wrapped = false;
    for (size_t i = 1; i < track.size(); ++i)
        wrapped = wrapped || (track[i - 1].position >= 340 && track[i].position <= 20);
    EXPECT_TRUE(wrapped) << "across the top the value goes from the maximum to the minimum";
    CaptureToPng(dlg.m_hWnd, "round-slider-dragged");

    // A click where the value already is reports nothing; a click elsewhere (the positive
    // control, handled after it) one track and one end.
    dlg.notes.clear();
    const int before = dlg.dial.GetPos();
    ASSERT_TRUE(Xdo("click 1"));
    p = OnDial(dlg.dial, 135, 25);
    ASSERT_TRUE(Xdo("mousemove %ld %ld click 1", p.x, p.y));
    ASSERT_TRUE(PumpUntil([&] { return !dlg.From(dlg.dial.m_hWnd, SB_THUMBPOSITION).empty(); }));
    PumpPending();
    ASSERT_EQ(2u, dlg.notes.size()) << "only the second click reported (value was " << before << ")";
    EXPECT_EQ((UINT)SB_THUMBTRACK, dlg.notes[0].code);
    EXPECT_TRUE(std::abs(dlg.notes[0].position - 135) <= 2) << dlg.notes[0].position;
    EXPECT_EQ((UINT)SB_THUMBPOSITION, dlg.notes[1].code);
}

TEST(XScrollBarInput, ThumbLightsUpUnderThePointerWithTheHand)
{
    ValueDialog dlg;
    ASSERT_TRUE(dlg.Open(60, 300));
    dlg.bar.SetThumbColour(RGB(255, 0, 0));
    dlg.bar.SetScrollRange(0, 100);
    dlg.bar.SetScrollPos(60); // thumb at x 100..124
    HWND button = ::GetDlgItem(dlg.m_hWnd, IDC_T_VAL_BUTTON);
    ::SetFocus(button);
    PumpPending();
    ASSERT_EQ(button, ::GetFocus());

    DibSurface shown(200, 12);
    auto body = [&] {
        Snap(dlg.bar.m_hWnd, shown);
        return shown.At(105, 5);
    };
    ASSERT_EQ(RGB(255, 0, 0), body());

    POINT p = {112, 6};
    ::ClientToScreen(dlg.bar.m_hWnd, &p);
    ASSERT_TRUE(Xdo("mousemove %ld %ld", p.x, p.y));
    EXPECT_TRUE(PumpUntil([&] { return body() == RGB(255, 204, 0); })) << "the hover colour";
    // The cursor is asked for before the move that starts the hover is handled: the next
    // move over the thumb shows the hand.
    ASSERT_TRUE(Xdo("mousemove %ld %ld", p.x + 1, p.y));
    EXPECT_EQ(dlg.bar.m_hWnd, ::GetFocus()) << "the pointer's move took the focus";
    HCURSOR hand = ::LoadCursor(::GetModuleHandle(nullptr), "IDC_HAND");
    EXPECT_TRUE(PumpUntil([&] { return ::GetCursor() == hand; })) << "the hand over the thumb";
    CaptureToPng(dlg.bar.m_hWnd, "scrollbar-hover");

    // Off the thumb (still on the bar): the hover check puts the thumb colour back.
    ASSERT_TRUE(Xdo("mousemove %ld %ld", p.x - 70, p.y));
    EXPECT_TRUE(PumpUntil([&] { return body() == RGB(255, 0, 0); })) << "back to the thumb colour";
    EXPECT_TRUE(PumpUntil([&] { return ::GetCursor() != hand; }));
}

} // namespace

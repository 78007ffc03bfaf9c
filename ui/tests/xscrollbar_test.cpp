// The skinned scroll bar in a real dialog: thumb geometry (an empty range and a bar without
// room included), the gauge shades, the thumb's marks, the disabled fade, and what the
// mouse, the held arrow, the wheel and the keys send the parent.
#include "ui/Skin.h"
#include "ui/tests/ui_test_util.h"
#include "ui/tests/value_dialog.h"

#include "testsupport/Pump.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

const COLORREF kMarks[] = {RGB(0, 0, 1), RGB(0, 0, 2), RGB(0, 0, 3), RGB(0, 0, 4)};
const COLORREF kGrey = RGB(91, 91, 91);

// The colour of hue and saturation of `c` with half its saturation and luminance `l`
// (the usual HLS conversion, worked out here on its own).
COLORREF Shade(COLORREF c, double l)
{
    const double r = GetRValue(c) / 255.0, g = GetGValue(c) / 255.0, b = GetBValue(c) / 255.0;
    const double mx = std::max(r, std::max(g, b)), mn = std::min(r, std::min(g, b)), d = mx - mn;
    const double lum = (mx + mn) / 2;
    double s = 0, h = 0;
    if (d > 0) {
        s = lum > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
        h = mx == r ? std::fmod((g - b) / d + 6, 6) : mx == g ? (b - r) / d + 2 : (r - g) / d + 4;
    }
    s /= 2;
    const double chroma = (1 - std::fabs(2 * l - 1)) * s;
    const double x = chroma * (1 - std::fabs(std::fmod(h, 2) - 1));
    double rgb[3] = {0, 0, 0};
    const int sector = (int)h % 6;
    const int order[6][3] = {{0, 1, 2}, {1, 0, 2}, {1, 2, 0}, {2, 1, 0}, {2, 0, 1}, {0, 2, 1}};
    // order[sector]: which channel gets chroma, x and 0.
    rgb[order[sector][0]] = chroma;
    rgb[order[sector][1]] = x;
    rgb[order[sector][2]] = 0;
    const double m = l - chroma / 2;
    auto byte = [m](double v) { return (BYTE)std::lround((v + m) * 255); };
    return RGB(byte(rgb[0]), byte(rgb[1]), byte(rgb[2]));
}

// A pixel of a program bitmap resource.
COLORREF ResourcePixel(UINT id, int x, int y)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(id))
        return CLR_INVALID;
    DibSurface s(40, 40);
    HDC src = ::CreateCompatibleDC(s.Hdc());
    HGDIOBJ old = ::SelectObject(src, bitmap.GetSafeHandle());
    ::BitBlt(s.Hdc(), 0, 0, 40, 40, src, 0, 0, SRCCOPY);
    ::SelectObject(src, old);
    ::DeleteDC(src);
    return s.At(x, y);
}

class XScrollBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Open(40, 40));
        dlg.bar.SetScrollRange(0, 100);
        dlg.bar.SetScrollPos(60);
        PumpPending();
    }
    // The bar as it shows now.
    DibSurface& Shown()
    {
        Snap(dlg.bar.m_hWnd, shown);
        return shown;
    }
    void Post(UINT message, int x, int y, WPARAM w = 0)
    {
        ::PostMessage(dlg.bar.m_hWnd, message, w, MAKELPARAM(x, y));
        PumpPending();
    }
    ValueDialog dlg;
    DibSurface shown{200, 12};
};

TEST_F(XScrollBarTest, ThumbGeometry)
{
    // 200 x 12 with 25-pixel arrows and thumb: the thumb moves over 125 pixels.
    struct Case
    {
        int pos;
        int left;
    } cases[] = {{0, 25}, {60, 100}, {100, 150}, {150, 150}, {-10, 25}, {1, 26}, {99, 149}};
    for (const Case& c : cases) {
        dlg.bar.SetScrollPos(c.pos);
        EXPECT_EQ(CRect(c.left, 0, c.left + 25, 12), dlg.bar.GetThumbRect()) << "pos " << c.pos;
        EXPECT_EQ(c.pos, dlg.bar.GetScrollPos()) << "kept as given, unclamped";
    }
    // The vertical bar: 12 x 180, thumb 25 high over 105 pixels.
    dlg.vbar.SetScrollRange(0, 100);
    dlg.vbar.SetScrollPos(50);
    EXPECT_EQ(CRect(0, 78, 12, 103), dlg.vbar.GetThumbRect());
}

TEST(XScrollBarGeometry, NoRoomOrNoRangeGivesTheChannelStartAndTheMinimum)
{
    struct Case
    {
        int length, minimum, maximum, pos, thumbStart;
        int thumb, position;
    } cases[] = {
        {200, 0, 100, 60, 100, 100, 60},                              // a plain bar both ways
        {200, 5, 5, 5, 100, 25, 5},                                   // range 0
        {200, 5, 5, 9, 150, 25, 5},      {75, 0, 100, 50, 40, 25, 0}, // exactly three thumbs long: no room
        {60, 0, 100, 50, 40, 25, 0},                                  // shorter still
        {200, 0, 100, 0, 400, 25, 100},                               // a thumb beyond the end gives the maximum
    };
    for (const Case& c : cases) {
        const int range = std::abs(c.maximum - c.minimum);
        EXPECT_EQ(c.thumb, CXScrollBar::ThumbFromPosition(c.pos, c.minimum, range, c.length, 25)) << c.length;
        EXPECT_EQ(c.position, CXScrollBar::PositionFromThumb(c.thumbStart, c.minimum, c.maximum, range, c.length, 25))
            << c.length << " range " << range;
    }
}

TEST_F(XScrollBarTest, EmptyRangeShowsNoThumbAndAClickGivesTheMinimum)
{
    dlg.bar.SetScrollRange(5, 5);
    dlg.bar.SetScrollPos(5);
    EXPECT_EQ(CRect(-1, -1, -1, -1), dlg.bar.GetThumbRect()) << "no thumb drawn";
    Post(WM_LBUTTONDOWN, 100, 6, MK_LBUTTON);
    Post(WM_LBUTTONUP, 100, 6);
    const auto track = dlg.From(dlg.bar.m_hWnd, SB_THUMBTRACK);
    ASSERT_EQ(1u, track.size());
    EXPECT_EQ(5, track[0].position);
    EXPECT_EQ(5, dlg.bar.GetScrollPos());
}

TEST(XScrollBarShort, ABarWithoutRoomKeepsTheThumbAtTheStart)
{
    ValueDialog dlg;
    ASSERT_TRUE(dlg.Open(40, 40, {10, 50, 70, 62}));
    dlg.bar.SetScrollRange(0, 100);
    dlg.bar.SetScrollPos(50);
    EXPECT_EQ(25, dlg.bar.GetThumbRect().left);
    // A drag of the thumb there gives the minimum.
    // (Not released over the last arrow at 35..59, which would step once more.)
    ::PostMessage(dlg.bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(28, 6));
    ::PostMessage(dlg.bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(32, 6));
    ::PostMessage(dlg.bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(32, 6));
    ASSERT_TRUE(PumpUntil([&] { return !dlg.From(dlg.bar.m_hWnd, SB_THUMBTRACK).empty(); }, 2000));
    PumpPending();
    EXPECT_EQ(0, dlg.From(dlg.bar.m_hWnd, SB_THUMBTRACK).back().position);
    EXPECT_EQ(0, dlg.bar.GetScrollPos());
}

TEST_F(XScrollBarTest, GaugeShadesOfTheThumbColour)
{
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), kSkinBlue};
    const COLORREF plainTop = ResourcePixel(IDB_SCROLL_CHANNEL_H, 0, 0);
    ASSERT_NE(CLR_INVALID, plainTop);
    // Without a thumb colour the channel is the plain strip on both sides.
    EXPECT_EQ(plainTop, Shown().At(50, 1));
    EXPECT_EQ(plainTop, shown.At(150, 1));
    for (COLORREF c : colours) {
        dlg.bar.SetThumbColour(c);
        dlg.bar.SetScrollPos(60);
        Shown();
        // Before the thumb's middle (x 112): the strip's first pixel 0.92, its second 0.87,
        // the rest 0.8; beyond it the plain strip.
        EXPECT_PRED3(Near, Shade(c, 0.92), shown.At(50, 1), 2) << std::hex << c;
        EXPECT_PRED3(Near, Shade(c, 0.87), shown.At(50, 2), 2) << std::hex << c;
        EXPECT_PRED3(Near, Shade(c, 0.8), shown.At(50, 6), 2) << std::hex << c;
        EXPECT_PRED3(Near, Shade(c, 0.8), shown.At(95, 9), 2) << std::hex << c;
        EXPECT_EQ(plainTop, shown.At(150, 1)) << std::hex << c;
    }
    CaptureToPng(dlg.bar.m_hWnd, "scrollbar-enabled");
}

TEST_F(XScrollBarTest, ThumbMarksTakeTheBarsColours)
{
    // Thumb at x 100..124. Bitmap columns: body at (5, 5), grip at column 12 rows 3..8,
    // the first end's corner at (0, 1), the last end's at (24, 1).
    const COLORREF red = RGB(255, 0, 0);
    struct Case
    {
        bool colourOn, grey;
    } cases[] = {{true, true}, {true, false}, {false, true}, {false, false}};
    for (const Case& c : cases) {
        ValueDialog d;
        ASSERT_TRUE(d.Open(40, 40));
        if (c.colourOn)
            d.bar.SetThumbColour(red);
        d.bar.SetGreyMarks(c.grey);
        d.bar.SetScrollRange(0, 100);
        d.bar.SetScrollPos(60);
        DibSurface s(200, 12);
        Snap(d.bar.m_hWnd, s);
        const char* what = c.colourOn ? (c.grey ? "colour, grey" : "colour") : (c.grey ? "grey" : "neither");
        const COLORREF body = c.colourOn ? red : ResourcePixel(IDB_SCROLL_THUMB_H, 5, 5);
        EXPECT_EQ(body, s.At(105, 5)) << what;
        const COLORREF grip = c.grey ? kGrey : (c.colourOn ? red : ResourcePixel(IDB_SCROLL_THUMB_H, 12, 2));
        for (int y = 3; y <= 8; ++y)
            EXPECT_EQ(grip, s.At(112, y)) << what << " row " << y;
        EXPECT_EQ(s.At(25, 1), s.At(100, 1)) << what << ": the first end shows the channel's first pixel";
        EXPECT_EQ(s.At(174, 1), s.At(124, 1)) << what << ": the last end shows the channel's last pixel";
        for (COLORREF mark : kMarks)
            EXPECT_EQ(0, CountOf(s, mark)) << what << " leaves no mark " << mark;
    }
}

TEST_F(XScrollBarTest, DisabledBarFadesIntoThePanelBlue)
{
    dlg.bar.SetThumbColour(RGB(255, 0, 0));
    dlg.bar.SetScrollPos(60);
    const POINT spots[] = {{10, 6}, {50, 6}, {105, 5}, {150, 3}, {190, 8}};
    COLORREF before[5];
    for (int i = 0; i < 5; ++i)
        before[i] = Shown().At(spots[i].x, spots[i].y);
    dlg.bar.EnableWindow(FALSE);
    auto faded = [](COLORREF p) {
        auto mix = [](int a, int b) { return (a * 25 + b * 75) / 100; };
        return RGB(mix(GetRValue(p), GetRValue(kSkinBlue)), mix(GetGValue(p), GetGValue(kSkinBlue)),
                   mix(GetBValue(p), GetBValue(kSkinBlue)));
    };
    ASSERT_TRUE(PumpUntil([&] { return Near(faded(before[1]), Shown().At(50, 6), 3); }, 3000));
    for (int i = 0; i < 5; ++i)
        EXPECT_PRED3(Near, faded(before[i]), shown.At(spots[i].x, spots[i].y), 3) << i;
    CaptureToPng(dlg.bar.m_hWnd, "scrollbar-disabled");
}

TEST_F(XScrollBarTest, ChannelClickSendsOneThumbTrack)
{
    // x 112 puts the thumb's middle there: thumb at 100, position 60 of 0..100.
    dlg.bar.SetScrollPos(10);
    Post(WM_LBUTTONDOWN, 112, 6, MK_LBUTTON);
    ASSERT_EQ(1u, dlg.notes.size());
    EXPECT_EQ((UINT)WM_HSCROLL, dlg.notes[0].message);
    EXPECT_EQ((UINT)SB_THUMBTRACK, dlg.notes[0].code);
    EXPECT_EQ(60, dlg.notes[0].position);
    Post(WM_LBUTTONUP, 112, 6);
    EXPECT_EQ(1u, dlg.notes.size()) << "the release there sends nothing more";
    EXPECT_EQ(60, dlg.bar.GetScrollPos());

    // The vertical bar reports by WM_VSCROLL.
    ::PostMessage(dlg.vbar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 90));
    ::PostMessage(dlg.vbar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(6, 90));
    ASSERT_TRUE(PumpUntil([&] { return dlg.CountFrom(dlg.vbar.m_hWnd) > 0; }, 2000));
    EXPECT_EQ((UINT)WM_VSCROLL, dlg.From(dlg.vbar.m_hWnd, SB_THUMBTRACK).at(0).message);
}

TEST_F(XScrollBarTest, ArrowClickStepsOnReleaseEvenAtTheEnd)
{
    dlg.bar.SetScrollPos(100);
    Post(WM_LBUTTONDOWN, 190, 6, MK_LBUTTON);
    EXPECT_TRUE(dlg.notes.empty()) << "nothing on the press";
    Post(WM_LBUTTONUP, 190, 6);
    ASSERT_EQ(1u, dlg.notes.size());
    EXPECT_EQ((UINT)SB_LINERIGHT, dlg.notes[0].code);
    EXPECT_EQ(100, dlg.bar.GetScrollPos()) << "at the maximum the position stays";
    Post(WM_LBUTTONDOWN, 5, 6, MK_LBUTTON);
    Post(WM_LBUTTONUP, 5, 6);
    ASSERT_EQ(2u, dlg.notes.size());
    EXPECT_EQ((UINT)SB_LINELEFT, dlg.notes[1].code);
    EXPECT_EQ(99, dlg.bar.GetScrollPos());
}

// A release over an arrow whose press the bar never saw (the press went to a window that
// went away under the pointer) steps nothing; the same release after a press steps.
TEST_F(XScrollBarTest, ReleaseWithoutAPressOnTheArrowStepsNothing)
{
    for (int x : {5, 190}) {
        Post(WM_LBUTTONUP, x, 6);
        EXPECT_TRUE(dlg.notes.empty()) << "release alone at " << x;
        EXPECT_EQ(60, dlg.bar.GetScrollPos());
    }
    // A press on one arrow released over the other steps neither.
    Post(WM_LBUTTONDOWN, 190, 6, MK_LBUTTON);
    Post(WM_LBUTTONUP, 5, 6);
    EXPECT_TRUE(dlg.notes.empty());
    Post(WM_LBUTTONDOWN, 5, 6, MK_LBUTTON);
    Post(WM_LBUTTONUP, 5, 6);
    ASSERT_EQ(1u, dlg.notes.size());
    EXPECT_EQ((UINT)SB_LINELEFT, dlg.notes[0].code);
    EXPECT_EQ(59, dlg.bar.GetScrollPos());
}

TEST_F(XScrollBarTest, HeldArrowRepeatsAfter150MsEvery100Ms)
{
    dlg.bar.SetScrollPos(10);
    const DWORD down = ::GetTickCount();
    ::PostMessage(dlg.bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 6));
    ASSERT_TRUE(PumpUntil([&] { return dlg.notes.size() >= 4; }, 3000));
    // The first delay (150 ms) then the first repeat period (100 ms).
    EXPECT_GE(dlg.notes[0].time - down, 240u);
    EXPECT_LE(dlg.notes[0].time - down, 450u);
    for (size_t i = 1; i < 4; ++i) {
        const DWORD gap = dlg.notes[i].time - dlg.notes[i - 1].time;
        EXPECT_GE(gap, 90u) << i;
        EXPECT_LE(gap, 250u) << i;
    }
    ::PostMessage(dlg.bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(190, 6));
    PumpPending();
    const size_t steps = dlg.notes.size();
    for (const ScrollNote& n : dlg.notes)
        EXPECT_EQ((UINT)SB_LINERIGHT, n.code);
    EXPECT_EQ(10 + (int)steps, dlg.bar.GetScrollPos()) << "the release stepped once more";
    EXPECT_FALSE(PumpUntil([&] { return dlg.notes.size() > steps; }, 400)) << "no repeat after the release";
}

TEST_F(XScrollBarTest, WheelAndKeysStepOnce)
{
    dlg.bar.SetScrollPos(50);
    ::PostMessage(dlg.bar.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(100, 100));
    PumpPending();
    ::PostMessage(dlg.bar.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-240), MAKELPARAM(100, 100));
    PumpPending();
    ASSERT_EQ(2u, dlg.notes.size()) << "one step per message";
    EXPECT_EQ((UINT)SB_LINELEFT, dlg.notes[0].code);
    EXPECT_EQ((UINT)SB_LINERIGHT, dlg.notes[1].code);
    EXPECT_EQ(50, dlg.bar.GetScrollPos());

    dlg.bar.SetFocus();
    dlg.notes.clear();
    const UINT keys[] = {VK_LEFT, VK_LEFT, VK_UP, VK_RIGHT};
    for (UINT key : keys) {
        ::PostMessage(dlg.bar.m_hWnd, WM_KEYDOWN, key, 1);
        PumpPending();
    }
    ASSERT_EQ(3u, dlg.notes.size()) << "Left and Right step, Up is not the bar's";
    EXPECT_EQ((UINT)SB_LINELEFT, dlg.notes[0].code);
    EXPECT_EQ((UINT)SB_LINELEFT, dlg.notes[1].code);
    EXPECT_EQ((UINT)SB_LINERIGHT, dlg.notes[2].code);
    EXPECT_EQ(49, dlg.bar.GetScrollPos());
}

TEST_F(XScrollBarTest, MouseMoveTakesTheFocus)
{
    HWND button = ::GetDlgItem(dlg.m_hWnd, IDC_T_VAL_BUTTON);
    ::SetFocus(button);
    ASSERT_EQ(button, ::GetFocus());
    Post(WM_MOUSEMOVE, 60, 6);
    EXPECT_EQ(dlg.bar.m_hWnd, ::GetFocus());
}

TEST(XScrollBarCursor, ProgramHandThenTheSystemHand)
{
    bool copied = true;
    HCURSOR own = CXScrollBar::FindHandCursor(::GetModuleHandle(nullptr), &copied);
    EXPECT_EQ(::LoadCursor(::GetModuleHandle(nullptr), "IDC_HAND"), own);
    EXPECT_NE(nullptr, own);
    EXPECT_FALSE(copied);
    // A module without it: this Wine's winhlp32.exe has no cursor 106, so the system's hand.
    HCURSOR other = CXScrollBar::FindHandCursor(::GetModuleHandle("kernel32.dll"), &copied);
    EXPECT_FALSE(copied);
    EXPECT_EQ(::LoadCursor(nullptr, IDC_HAND), other);
}

} // namespace

// The rotated device context by pixels on tiny surfaces (each quarter turn, a copy of the
// target's pixels there and back, a rectangle outside the clip box, the bitmap kept by a
// smaller creation) and the bevel line in a real window: its two shades, its turned caption,
// its embossed caption when disabled.
#include "ui/periphery/Rot90DC.h"
#include "ui/periphery/RotBevelLine.h"
#include "ui/tests/ui_test_util.h"

#include "testsupport/DibSurface.h"
#include "testsupport/Dump.h"
#include "testsupport/GdiCheck.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);

TEST(Rot90DC, AnglesAndTurns)
{
    struct
    {
        int degrees, index;
    } angles[] = {{0, 0}, {90, 1}, {180, 2}, {270, 3}, {-90, 3}, {-180, 2}, {360, 0}, {450, 1}, {-270, 1}};
    for (const auto& a : angles)
        EXPECT_EQ(a.index, cdxCRot90DC::AngleIndex(a.degrees)) << a.degrees;

    struct
    {
        int index;
        POINT expect; // the turn of (3, 1)
    } points[] = {{0, {3, 1}}, {1, {-1, 3}}, {2, {-3, -1}}, {3, {1, -3}}};
    for (const auto& p : points)
        EXPECT_EQ(CPoint(p.expect), cdxCRot90DC::RotatePoint(CPoint(3, 1), p.index)) << p.index;
    EXPECT_EQ(CRect(-8, 4, -4, 12), cdxCRot90DC::RotateRect(CRect(4, 4, 12, 8), 1)) << "normalised";
}

// The memory's top-left pixel red and the one to its right green, the rest blue: where they
// land on the target shows the turn.
TEST(Rot90DC, DrawingLandsTurnedOnTheTarget)
{
    const CRect rect(4, 4, 12, 8);
    struct Case
    {
        int angle;
        SIZE memory; // the size the caller draws in
        POINT red, green;
    } cases[] = {
        {0, {8, 4}, {4, 4}, {5, 4}},     {90, {4, 8}, {4, 7}, {4, 6}},    {180, {8, 4}, {11, 7}, {10, 7}},
        {270, {4, 8}, {11, 4}, {11, 5}}, {-90, {4, 8}, {11, 4}, {11, 5}},
    };
    for (const Case& c : cases) {
        DibSurface target(20, 20, kWhite);
        {
            cdxCRot90DC rot(&target.dc, &rect, c.angle);
            ASSERT_TRUE(rot.IsCreated()) << c.angle;
            const CRect& at = rot.GetRotRect();
            EXPECT_EQ(CSize(c.memory), at.Size()) << c.angle;
            rot.FillSolidRect(&at, kBlue);
            rot.SetPixelV(at.left, at.top, kRed);
            rot.SetPixelV(at.left + 1, at.top, kGreen);
            EXPECT_EQ(kWhite, target.At(c.red.x, c.red.y)) << "nothing on the target before the finish";
        } // the destructor finishes
        EXPECT_EQ(kRed, target.At(c.red.x, c.red.y)) << c.angle;
        EXPECT_EQ(kGreen, target.At(c.green.x, c.green.y)) << c.angle;
        EXPECT_EQ(rect, CRect(target.Ink(kWhite))) << c.angle << ": the drawing covers the rectangle exactly";
        EXPECT_EQ(8 * 4 - 2, CountOf(target, kBlue)) << c.angle;
    }
}

TEST(Rot90DC, CopiedPixelsComeBackUnchanged)
{
    const CRect rect(3, 2, 14, 9);
    for (int angle : {0, 90, 180, 270}) {
        DibSurface target(16, 12, kWhite);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x)
                target.Set(x, y, RGB(x * 15, y * 20, (x * y) % 256));
        DibSurface before(16, 12, kWhite);
        ::BitBlt(before.Hdc(), 0, 0, 16, 12, target.Hdc(), 0, 0, SRCCOPY);
        {
            cdxCRot90DC rot(&target.dc, &rect, angle, true);
            ASSERT_TRUE(rot.IsCreated());
            // The copied pixels are there to draw over: the rectangle's top-left pixel of the
            // target is at the turned rectangle's matching corner.
            const CPoint corner = rot.RotatePoint(CPoint(rect.left, rect.top));
            const CRect& at = rot.GetRotRect();
            const int x = corner.x == at.right ? corner.x - 1 : corner.x;
            const int y = corner.y == at.bottom ? corner.y - 1 : corner.y;
            EXPECT_EQ(before.At(rect.left, rect.top), rot.GetPixel(x, y)) << angle;
        }
        EXPECT_EQ("", target.Diff(before)) << angle;
    }
}

TEST(Rot90DC, RectangleOutsideTheClipBoxDrawsNothing)
{
    DibSurface target(20, 20, kWhite);
    const CRect outside(30, 30, 40, 40);
    const CRect empty(5, 5, 5, 9);
    for (const CRect* r : {&outside, &empty}) {
        cdxCRot90DC rot(&target.dc, r, 90);
        EXPECT_FALSE(rot.IsCreated());
        EXPECT_FALSE(rot.Finish());
        rot.FillSolidRect(0, 0, 40, 40, kRed); // no context: nothing anywhere
    }
    EXPECT_TRUE(CRect(target.Ink(kWhite)).IsRectEmpty());
}

TEST(Rot90DC, SmallerCreationKeepsTheBitmapLargerReplacesIt)
{
    DibSurface target(40, 40, kWhite);
    cdxCRot90DC rot;
    ASSERT_TRUE(rot.Create(target.dc, CRect(0, 0, 30, 20), 90));
    const HGDIOBJ first = ::GetCurrentObject(rot.m_hDC, OBJ_BITMAP);
    BITMAP bm = {};
    ::GetObject(first, sizeof(bm), &bm);
    EXPECT_EQ(20, bm.bmWidth);
    EXPECT_EQ(30, bm.bmHeight);
    EXPECT_TRUE(rot.Finish());
    EXPECT_TRUE(rot.Finish()) << "finished already";
    ASSERT_TRUE(rot.Create(target.dc, CRect(5, 5, 15, 10), 0));
    EXPECT_EQ(first, ::GetCurrentObject(rot.m_hDC, OBJ_BITMAP)) << "a smaller area keeps the bitmap";
    rot.Finish();
    ASSERT_TRUE(rot.Create(target.dc, CRect(0, 0, 40, 40), 180));
    ::GetObject(::GetCurrentObject(rot.m_hDC, OBJ_BITMAP), sizeof(bm), &bm);
    EXPECT_EQ(40, bm.bmWidth) << "a larger area gets a new bitmap";
}

TEST(Rot90DC, LeavesNoHandleBehind)
{
    std::unique_ptr<LiveGdiCheck> check;
    for (int i = 0; i < 11; ++i) {
        if (i == 1) // after a first round has filled the system's caches
            check = std::make_unique<LiveGdiCheck>();
        DibSurface target(30, 30, kWhite);
        cdxCRot90DC rot(&target.dc, CRect(2, 2, 20, 12), i * 90, true);
        rot.DrawControl(rot.GetRotRect(), "Ab", ::LoadIcon(nullptr, IDI_APPLICATION), DT_LEFT | DT_VCENTER, 3);
    }
    EXPECT_TRUE(check->Unchanged());
}

// --- the bevel line in a real window ---

// The pixels of a window that are neither `background` nor one of `others`, cropped to
// their bounds, as rows of '#' and '.'.
using Mask = std::vector<std::string>;
Mask InkMask(const DibSurface& s, std::initializer_list<COLORREF> ignore)
{
    auto inked = [&](int x, int y) {
        const COLORREF c = s.At(x, y);
        for (COLORREF i : ignore)
            if (c == i)
                return false;
        return true;
    };
    int left = s.Width(), top = s.Height(), right = -1, bottom = -1;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (inked(x, y)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    Mask m;
    for (int y = top; y <= bottom; ++y) {
        std::string row;
        for (int x = left; x <= right; ++x)
            row += inked(x, y) ? '#' : '.';
        m.push_back(row);
    }
    return m;
}
// Turned a quarter anticlockwise (as the screen shows a 90-degree caption).
Mask TurnLeft(const Mask& m)
{
    Mask out;
    if (m.empty())
        return out;
    const int w = (int)m[0].size(), h = (int)m.size();
    for (int x = w - 1; x >= 0; --x) {
        std::string row;
        for (int y = 0; y < h; ++y)
            row += m[y][x];
        out.push_back(row);
    }
    return out;
}
Mask TurnRight(const Mask& m) { return TurnLeft(TurnLeft(TurnLeft(m))); }
std::string Show(const Mask& m)
{
    std::string out = "\n";
    for (const std::string& row : m)
        out += row + "\n";
    return out;
}

class BevelLineTest : public ::testing::Test
{
protected:
    cdxCRotBevelLine* Add(const char* text, DWORD style, const RECT& r)
    {
        lines.emplace_back(new cdxCRotBevelLine);
        cdxCRotBevelLine* line = lines.back().get();
        EXPECT_TRUE(line->Create(text, WS_CHILD | WS_VISIBLE | style, r, &parent, 0xFFFF));
        line->SetBackColour(kBack);
        line->SetCaptionColour(kCaption);
        return line;
    }
    void Snap(cdxCRotBevelLine* line, DibSurface& into)
    {
        line->RedrawWindow();
        PumpPending();
        HDC dc = ::GetDC(line->m_hWnd);
        ::BitBlt(into.Hdc(), 0, 0, into.Width(), into.Height(), dc, 0, 0, SRCCOPY);
        ::ReleaseDC(line->m_hWnd, dc);
    }
    const COLORREF kBack = RGB(250, 240, 200);
    const COLORREF kCaption = RGB(200, 0, 0);
    const COLORREF kShadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF kLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    TestParent parent{60, 60, 420, 260};

    std::vector<std::unique_ptr<cdxCRotBevelLine>> lines;
};

TEST_F(BevelLineTest, DefaultsAndTheTwoShades)
{
    cdxCRotBevelLine fresh;
    EXPECT_TRUE(fresh.IsSunken());
    EXPECT_EQ(::GetSysColor(COLOR_3DFACE), fresh.GetBackColour());
    EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), fresh.GetCaptionColour());

    cdxCRotBevelLine* h = Add("", 0, CRect(10, 10, 110, 20));   // 100 x 10: line on rows 4 and 5
    cdxCRotBevelLine* v = Add("", 0, CRect(150, 10, 160, 110)); // 10 x 100: columns 4 and 5
    struct
    {
        bool sunken;
        COLORREF first, second; // row 4 / column 4, row 5 / column 5
    } cases[] = {{true, kShadow, kLight}, {false, kLight, kShadow}};
    for (const auto& c : cases) {
        h->SetSunken(c.sunken);
        v->SetSunken(c.sunken);
        DibSurface hs(100, 10), vs(10, 100);
        Snap(h, hs);
        Snap(v, vs);
        EXPECT_EQ(c.first, hs.At(50, 4)) << c.sunken;
        EXPECT_EQ(c.second, hs.At(50, 5)) << c.sunken;
        EXPECT_EQ(kBack, hs.At(50, 3));
        EXPECT_EQ(kBack, hs.At(50, 6));
        EXPECT_EQ(c.first, vs.At(4, 50)) << c.sunken;
        EXPECT_EQ(c.second, vs.At(5, 50)) << c.sunken;
        EXPECT_EQ(kBack, vs.At(3, 50));
        EXPECT_EQ(kBack, vs.At(6, 50));
    }
}

TEST_F(BevelLineTest, VerticalCaptionTurnedNinetyOrWithTildeTwoSeventy)
{
    // The same caption flat, turned 90 degrees (reads upwards) and 270 (reads downwards).
    cdxCRotBevelLine* flat = Add("Sugar", SS_CENTER, CRect(10, 10, 160, 40));
    cdxCRotBevelLine* up = Add("Sugar", SS_CENTER, CRect(200, 10, 230, 160));
    cdxCRotBevelLine* down = Add("~Sugar", SS_CENTER, CRect(250, 10, 280, 160));
    cdxCRotBevelLine* upLeft = Add("Sugar", SS_LEFT, CRect(300, 10, 330, 160));
    cdxCRotBevelLine* downLeft = Add("~Sugar", SS_LEFT, CRect(350, 10, 380, 160));
    DibSurface fs(150, 30), us(30, 150), ds(30, 150), uls(30, 150), dls(30, 150);
    Snap(flat, fs);
    Snap(up, us);
    Snap(down, ds);
    Snap(upLeft, uls);
    Snap(downLeft, dls);
    const Mask text = InkMask(fs, {kBack, kShadow, kLight});
    ASSERT_FALSE(text.empty()) << "the flat caption shows";
    EXPECT_EQ(Show(TurnLeft(text)), Show(InkMask(us, {kBack, kShadow, kLight})));
    EXPECT_EQ(Show(TurnRight(text)), Show(InkMask(ds, {kBack, kShadow, kLight})));
    // SS_LEFT: the caption starts at the line's start, that is the bottom when it reads
    // upwards and the top when it reads downwards.
    const CRect upInk = BoundsOf(uls, kCaption), downInk = BoundsOf(dls, kCaption);
    EXPECT_GT(upInk.top, 75) << "reads upwards from the bottom";
    EXPECT_LT(downInk.bottom, 75) << "reads downwards from the top";
    // The line is broken under the caption and goes on elsewhere.
    EXPECT_EQ(kShadow, uls.At(14, 5));
    for (int y = upInk.top; y < upInk.bottom; ++y)
        EXPECT_NE(kShadow, uls.At(14, y)) << y;
}

TEST_F(BevelLineTest, DisabledCaptionIsEmbossed)
{
    cdxCRotBevelLine* line = Add("Icing", SS_CENTER, CRect(10, 10, 160, 40));
    line->SetBackColour(RGB(0, 128, 128)); // neither shade
    DibSurface on(150, 30), off(150, 30);
    Snap(line, on);
    line->EnableWindow(FALSE);
    Snap(line, off);
    EXPECT_GT(CountOf(on, kCaption), 0);
    EXPECT_EQ(0, CountOf(off, kCaption));
    EXPECT_GT(CountOf(off, kLight) - CountOf(on, kLight), 10) << "the lit copy";
    EXPECT_GT(CountOf(off, kShadow) - CountOf(on, kShadow), 10) << "the shadow copy";
    const CRect lit = BoundsOf(off, kLight);
    EXPECT_LT(lit.top, 12) << "the caption's light reaches above the line";
    DumpPng(off, "bevel_disabled");
}

TEST_F(BevelLineTest, NoHandleLeftByTenControls)
{
    LiveGdiCheck check;
    for (int i = 0; i < 10; ++i) {
        cdxCRotBevelLine* line = Add(i % 2 ? "~Turned" : "Flat", SS_CENTER, CRect(10, 10, 40, 200));
        line->UpdateWindow();
        line->DestroyWindow();
    }
    lines.clear();
    EXPECT_TRUE(check.Unchanged());
}

} // namespace

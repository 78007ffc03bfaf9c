// The view's ruler bars, painted into a small bitmap: band, ticks, numbers, skips.
#include "app/view/RulerBar.h"
#include "testsupport/DibSurface.h"
#include <gtest/gtest.h>
#include <set>

namespace {

const COLORREF kGround = RGB(0, 0, 128);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBand = RGB(255, 64, 64);
const COLORREF kBlack = RGB(0, 0, 0);

// A surface of the ground colour that the rulers are drawn on.
struct Canvas : DibSurface
{
    Canvas(int w, int h) : DibSurface(w, h, kGround) {}
};

// The horizontal bar's origin is moved down by its top border of 3 pixels.
const int kTop = 3;

void PaintH(Canvas& canvas, CSize size, CRect marks, CSize length)
{
    CRulerBar bar(TRUE);
    bar.SetRuler(size, &marks, length);
    bar.DoPaint(&canvas.dc, CPoint(0, 0));
}

TEST(ViewRuler, SelectionBandAndItsFrame)
{
    Canvas canvas(120, 30);
    PaintH(canvas, CSize(100, 0), CRect(10, 0, 30, 0), CSize(1440, 0));
    EXPECT_EQ(kBand, canvas.At(20, kTop + 6));
    EXPECT_EQ(kBand, canvas.At(11, kTop + 15));
    EXPECT_EQ(kBlack, canvas.At(20, kTop + 4)) << "frame top";
    EXPECT_EQ(kBlack, canvas.At(20, kTop + 16)) << "frame bottom";
    EXPECT_EQ(kBlack, canvas.At(10, kTop + 10)) << "frame left";
    EXPECT_EQ(kBlack, canvas.At(29, kTop + 10)) << "frame right";
    EXPECT_EQ(kGround, canvas.At(30, kTop + 15)) << "right of the band";
    EXPECT_EQ(kGround, canvas.At(20, kTop + 3));
    EXPECT_EQ(kGround, canvas.At(20, kTop + 17));
}

TEST(ViewRuler, NoBandForEmptyOrOutsideSelections)
{
    struct
    {
        const char* name;
        CRect marks;
    } cases[] = {
        {"marks coincide", CRect(40, 0, 40, 0)},
        {"wholly before 0", CRect(-30, 0, -5, 0)},
        {"wholly beyond the size", CRect(120, 0, 150, 0)},
        {"no selection", CRect()},
    };
    for (const auto& c : cases) {
        Canvas canvas(120, 30);
        PaintH(canvas, CSize(100, 0), c.marks, CSize(1440, 0));
        for (int x = 0; x < 110; ++x)
            ASSERT_NE(kBand, canvas.At(x, kTop + 10)) << c.name << " at " << x;
        EXPECT_TRUE(canvas.Columns(kTop + 4, kBlack).empty()) << c.name;
    }
}

TEST(ViewRuler, TicksEveryTenthAndHalf)
{
    // One unit (1440) over 100 pixels: a tick every 10 pixels, the half one longer.
    Canvas canvas(120, 30);
    PaintH(canvas, CSize(100, 0), CRect(), CSize(1440, 0));
    std::set<int> minor = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    EXPECT_EQ(minor, canvas.Columns(kTop + 9, kWhite));
    EXPECT_EQ(std::set<int>({50}), canvas.Columns(kTop + 12, kWhite)) << "only the half tick is long";
    EXPECT_EQ(std::set<int>({8, 9, 10, 11, 12}), [&] {
        std::set<int> ys;
        for (int y : canvas.Rows(50, kWhite))
            ys.insert(y - kTop);
        return ys;
    }());
}

TEST(ViewRuler, TinyRulerDropsMinorTicksThenNumbers)
{
    struct
    {
        const char* name;
        int size;
        bool minor;
        bool half;
        bool numbers;
    } cases[] = {
        // 144 units are 2 pixels, 720 are 10, 1440 are 20.
        {"no minor ticks", 40, false, true, true},
        // 720 units are 4 pixels, 1440 are 8: nothing at all.
        {"nothing", 16, false, false, false},
        {"everything", 200, true, true, true},
    };
    for (const auto& c : cases) {
        Canvas canvas(c.size + 20, 30);
        PaintH(canvas, CSize(c.size, 0), CRect(), CSize(2880, 0));
        int minorX = ::MulDiv(144, c.size, 2880), halfX = ::MulDiv(720, c.size, 2880);
        int numberX = ::MulDiv(1440, c.size, 2880);
        EXPECT_EQ(c.minor, canvas.At(minorX, kTop + 9) == kWhite) << c.name;
        EXPECT_EQ(c.half, canvas.At(halfX, kTop + 12) == kWhite) << c.name;
        bool text = false;
        for (int x = numberX - 4; x <= numberX + 4; ++x)
            for (int y = kTop; y < 30; ++y)
                text = text || canvas.At(x, y) == kWhite;
        EXPECT_EQ(c.numbers, text) << c.name;
    }
}

TEST(ViewRuler, TicksAtTheMarksAreLeftOut)
{
    // A tick is left out where it meets the left mark, or size minus the right mark.
    Canvas canvas(120, 30);
    PaintH(canvas, CSize(100, 0), CRect(30, 0, 80, 0), CSize(1440, 0));
    std::set<int> ticks = canvas.Columns(kTop + 9, kWhite);
    EXPECT_EQ(0u, ticks.count(30));
    EXPECT_EQ(0u, ticks.count(20)) << "100 - 80";
    EXPECT_EQ(1u, ticks.count(10));
    EXPECT_EQ(1u, ticks.count(40)) << "drawn over the band";
}

TEST(ViewRuler, VerticalBarIsTheTwin)
{
    Canvas canvas(30, 120);
    CRulerBarV bar(TRUE);
    CRect marks(0, 10, 0, 30);
    bar.SetRuler(CSize(0, 100), &marks, CSize(0, 1440));
    bar.DoPaint(&canvas.dc, CPoint(0, 0));
    const int left = 3; // its left border
    EXPECT_EQ(kBand, canvas.At(left + 14, 20));
    EXPECT_EQ(kBlack, canvas.At(left + 3, 20)) << "frame left";
    EXPECT_EQ(kBlack, canvas.At(left + 16, 20)) << "frame right";
    EXPECT_EQ(kGround, canvas.At(left + 17, 20));
    std::set<int> ys;
    for (int y : canvas.Rows(left + 9, kWhite))
        if (y < 10 || y >= 30)
            ys.insert(y);
    // 70 is left out: it is the size less the bottom mark.
    EXPECT_EQ(std::set<int>({30, 40, 50, 60, 80, 90}), ys);
}

TEST(ViewRuler, SetRulerStoresOnlyChanges)
{
    CRulerBar bar(TRUE);
    CRect marks(1, 0, 2, 0);
    bar.SetRuler(CSize(10, 0), &marks, CSize(1440, 0));
    EXPECT_EQ(CSize(10, 0), bar.GetSize());
    EXPECT_EQ(marks, bar.GetMarks());
    EXPECT_EQ(CSize(1440, 0), bar.GetLength());
    EXPECT_EQ(23, bar.CalcFixedLayout(FALSE, TRUE).cy);
    CRulerBarV v(TRUE);
    EXPECT_EQ(25, v.CalcFixedLayout(FALSE, FALSE).cx);
}

} // namespace

// The drawing tools of the owner-drawn controls on tiny surfaces: the buffer copies back only
// its area, the pen and brush selectors read their colours back and put the DC's own objects
// back, and nothing is left behind.
#include "ui/DrawTools.h"

#include "testsupport/DibSurface.h"
#include "testsupport/GdiCheck.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryBufferDC, CopiesBackItsAreaOnly)
{
    struct
    {
        const char* what;
        CRect area;
        CRect clip; // of the target; empty: none
        CRect painted;
    } cases[] = {
        {"given area", CRect(2, 3, 6, 7), CRect(), CRect(2, 3, 6, 7)},
        {"empty area: the target's clip box", CRect(), CRect(1, 1, 5, 4), CRect(1, 1, 5, 4)},
    };
    for (const auto& c : cases) {
        DibSurface target(10, 10, RGB(1, 2, 3));
        if (!c.clip.IsRectEmpty())
            ::IntersectClipRect(target.Hdc(), c.clip.left, c.clip.top, c.clip.right, c.clip.bottom);
        {
            CMemoryBufferDC buffer(target.Hdc(), c.area);
            EXPECT_EQ(c.painted, buffer.Area()) << c.what;
            buffer.FillSolidRect(CRect(0, 0, 10, 10), RGB(200, 0, 0));
            EXPECT_EQ(RGB(1, 2, 3), target.At(c.painted.left, c.painted.top)) << c.what << ": nothing before the end";
        }
        ::SelectClipRgn(target.Hdc(), nullptr);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                EXPECT_EQ(c.painted.PtInRect(CPoint(x, y)) ? RGB(200, 0, 0) : RGB(1, 2, 3), target.At(x, y))
                    << c.what << " at " << x << "," << y;
    }
}

TEST(Selectors, ColourReadBackAndTheDCsOwnObjectsBack)
{
    DibSurface surface(8, 8, RGB(255, 255, 255));
    HDC dc = surface.Hdc();
    const HGDIOBJ pen = ::GetCurrentObject(dc, OBJ_PEN), brush = ::GetCurrentObject(dc, OBJ_BRUSH);
    LiveGdiCheck check;
    for (int i = 0; i < 20; ++i) {
        CPenSelector p(dc, RGB(10, 20, 30));
        CBrushSelector b(dc, RGB(40, 50, 60));
        EXPECT_EQ(RGB(10, 20, 30), p.GetColour());
        EXPECT_EQ(RGB(40, 50, 60), b.GetColour());
        ::Rectangle(dc, 0, 0, 8, 8);
        EXPECT_EQ(RGB(10, 20, 30), surface.At(0, 0)) << "drawn with the pen";
        EXPECT_EQ(RGB(40, 50, 60), surface.At(4, 4)) << "filled with the brush";
        p.SetColour(RGB(70, 80, 90));
        b.SetColour(CBrushSelector::kNoBrushColour);
        EXPECT_EQ(RGB(70, 80, 90), p.GetColour());
        EXPECT_EQ(CBrushSelector::kNoBrushColour, b.GetColour());
        EXPECT_EQ(::GetStockObject(NULL_BRUSH), ::GetCurrentObject(dc, OBJ_BRUSH)) << "the hollow brush";
        ::Rectangle(dc, 2, 2, 6, 6);
        EXPECT_EQ(RGB(40, 50, 60), surface.At(4, 4)) << "a hollow rectangle leaves the inside";
    }
    EXPECT_EQ(pen, ::GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(brush, ::GetCurrentObject(dc, OBJ_BRUSH));
    EXPECT_TRUE(check.Unchanged());
}

} // namespace

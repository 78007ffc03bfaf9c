// The drawing scale of the design rectangle, on screen and on paper.
#include "base/Globals.h"
#include <gtest/gtest.h>
#include <cmath>

namespace {

TEST(ViewDrawingScale, PrintingLeavesNoOffsets)
{
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    int dpi = dc.GetDeviceCaps(LOGPIXELSX);
    CRect rect(2 * dpi, 1 * dpi, 12 * dpi, 7 * dpi);
    struct
    {
        const char* name;
        BOOL printing;
        float w, h;
        double x, y;
        float scale;
    } cases[] = {
        {"screen", FALSE, 5.0f, 3.0f, 1.0, 0.5, 2.0f},
        {"printer: offsets are 0, not what the caller had", TRUE, 5.0f, 3.0f, 0, 0, 1.0f},
        {"no printable width: no offsets, a finite scale", FALSE, 0.0f, 3.0f, 0, 0, 1.0f},
    };
    for (const auto& c : cases) {
        dc.m_bPrinting = c.printing;
        double x = -7, y = -7, w = 0, h = 0;
        float scale = ComputeDrawingScale(&dc, nullptr, rect, c.w, c.h, x, y, w, h);
        EXPECT_NEAR(c.x, x, 1e-5) << c.name;
        EXPECT_NEAR(c.y, y, 1e-5) << c.name;
        EXPECT_FLOAT_EQ(c.scale, scale) << c.name;
        EXPECT_TRUE(std::isfinite(scale)) << c.name;
        EXPECT_EQ(c.w, w) << c.name;
        EXPECT_EQ(c.h, h) << c.name;
    }
    dc.m_bPrinting = FALSE;
}

} // namespace

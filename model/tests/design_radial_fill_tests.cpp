// The radial (four-corner) fills of backgrounds, frames and texts and their transparency:
// towards the centre the corner colours turn into the centre colour by transparency x t,
// t running from 0 on the area's edge to 1 at its centre, so at 100% the centre shows the
// centre colour, at 27% a little of it and at 0% none.
#include "design_fixture.h"
#include "testsupport/Dump.h"
#include "model/design/LayerArray.h"
#include "model/design/TextItem.h"
#include "model/gfx/CornerGradient.h"

#include <math.h>

#include <algorithm>
#include <string>

using namespace Gdiplus;
using namespace design_test;

namespace {

const COLORREF kRed = 0x0000FF, kBlue = 0xFF0000;

// Red corners and a blue centre, mixed by f.
ARGB RedToBlue(float f)
{
    const int b = (int)(255 * f + 0.5f);
    return 0xFF000000 | (ARGB)(255 - b) << 16 | (ARGB)b;
}

// t of pixel (x, y) of a w x h area whose gradient's centre is the area's middle.
float CentreWard(int x, int y, int w, int h)
{
    const float dx = fabsf(x + 0.5f - w / 2.0f) / (w / 2.0f), dy = fabsf(y + 0.5f - h / 2.0f) / (h / 2.0f);
    return 1.0f - std::max(dx, dy);
}

const float kOpacities[] = {1.0f, 0.27f, 0.0f};

} // namespace

TEST(DesignRadialFill, BackgroundFollowsTheTransparency)
{
    // 2 x 2 inches: the centre, halfway to the top edge, near the left edge, a corner.
    const POINT at[] = {{96, 96}, {96, 48}, {4, 96}, {100, 130}, {1, 1}};
    for (float o : kOpacities) {
        CLayerArray a;
        a.SetRecordRects(CRect(0, 0, 192, 192), 200, 200);
        a.SetBgColour1(kRed);
        a.SetBgColour2(kRed);
        a.SetBgColour3(kRed);
        a.SetBgColour4(kRed);
        a.SetBgColour5(kBlue);
        a.SetBgRadial(1);
        a.SetBgOpacity(o);
        Canvas c(192, 192);
        a.DrawBackground(&c.graphics, 0, 0);
        DumpPng(c.bitmap, ("radial_background_" + std::to_string((int)(o * 100))).c_str());
        for (const POINT& p : at)
            EXPECT_TRUE(ArgbNear(RedToBlue(o * CentreWard(p.x, p.y, 192, 192)), c.At(p.x, p.y), 6))
                << "opacity " << o << " at " << p.x << "," << p.y;
    }
}

TEST(DesignRadialFill, FrameBandFollowsTheTransparency)
{
    // A band 0.75 inch wide round a 2-inch square: its inner points reach t = 0.75.
    const POINT at[] = {{96, 60}, {96, 30}, {20, 96}, {3, 3}};
    for (float o : kOpacities) {
        CLayerArray a;
        a.SetRecordRects(CRect(0, 0, 192, 192), 200, 200);
        a.SetFrameStyle(1);
        a.SetFrameSize(1.5f);
        a.SetFrameOutlineWidth(0.0f);
        a.SetFrameFillStyle(3);
        a.SetFrameColour1(kRed);
        a.SetFrameColour2(kRed);
        a.SetFrameColour3(kRed);
        a.SetFrameColour4(kRed);
        a.SetFrameColour5(kBlue);
        a.SetFrameOpacity(o);
        Canvas c(192, 192);
        a.DrawFrames(&c.graphics, 0, PointF(0, 0), 0);
        DumpPng(c.bitmap, ("radial_frame_" + std::to_string((int)(o * 100))).c_str());
        for (const POINT& p : at)
            EXPECT_TRUE(ArgbNear(RedToBlue(o * CentreWard(p.x, p.y, 192, 192)), c.At(p.x, p.y), 6))
                << "opacity " << o << " at " << p.x << "," << p.y;
        EXPECT_EQ(0u, c.At(96, 96)) << "the inside of the frame stays clear";
    }
}

TEST(DesignRadialFill, TextFollowsTheTransparency)
{
    // "H" 1.5 inches high: its crossbar runs through the centre of the text's box, where the
    // most blue shows: all of it at 100%, 27% of it at 27%, none at 0%.
    for (float o : kOpacities) {
        CTextItem t;
        t.m_text = "H";
        t.m_fontSize = 150;
        t.m_outlineSize = 0;
        t.m_fillKind = 3;
        t.m_fillColour[0] = t.m_fillColour[1] = t.m_fillColour[2] = t.m_fillColour[3] = kRed;
        t.m_fillColour[4] = kBlue;
        t.m_fillOpacity = o;
        t.SetPrintableSize(3.0f, 2.0f);
        Canvas c(288, 192);
        t.Draw(&c.graphics, PointF(0, 0));
        c.graphics.Flush(FlushIntentionSync);
        DumpPng(c.bitmap, ("radial_text_" + std::to_string((int)(o * 100))).c_str());
        int most = -1, painted = 0;
        for (int y = 0; y < 192; ++y) {
            for (int x = 0; x < 288; ++x) {
                const ARGB px = c.At(x, y);
                if ((px >> 24) != 0xFF)
                    continue; // the letter's smoothed edge
                ++painted;
                most = std::max(most, (int)(px & 0xFF));
            }
        }
        EXPECT_GT(painted, 1000) << o;
        EXPECT_LE(most, (int)(255 * o) + 6) << "opacity " << o;
        EXPECT_GE(most, (int)(255 * o * 0.85f) - 2) << "opacity " << o;
    }
}

// The gradient itself on a turned quadrilateral, as a text's box is placed: colours along
// an edge run between its corners, the centre takes the centre colour by the strength.
TEST(DesignRadialFill, CornerGradientColours)
{
    CornerGradient g;
    const PointF corners[4] = {PointF(0, 0), PointF(10, 0), PointF(10, 10), PointF(0, 10)};
    const ARGB colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    for (int i = 0; i < 4; ++i) {
        g.corners[i] = corners[i];
        g.colours[i] = Color(colours[i]);
    }
    g.centre = PointF(5, 5);
    g.centreColour = Color(0xFF000000);
    const struct
    {
        float strength;
        PointF at;
        ARGB want;
    } cases[] = {
        {1.0f, PointF(0, 0), 0xFFFF0000},    {1.0f, PointF(10, 0), 0xFF00FF00},   {1.0f, PointF(0, 10), 0xFFFFFFFF},
        {1.0f, PointF(5, 0), 0xFF808000},    {1.0f, PointF(10, 5), 0xFF008080},   {1.0f, PointF(5, 5), 0xFF000000},
        {0.0f, PointF(5, 2.5f), 0xFF808000}, {0.5f, PointF(5, 2.5f), 0xFF606000}, {1.0f, PointF(5, 2.5f), 0xFF404000},
    };
    for (const auto& k : cases) {
        g.strength = k.strength;
        EXPECT_TRUE(ArgbNear(k.want, g.ColourAt(k.at), 2)) << k.strength << " at " << k.at.X << "," << k.at.Y;
    }
}

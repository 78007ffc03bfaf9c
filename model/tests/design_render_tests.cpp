// Backgrounds and border frames drawn into small ARGB canvases at 96 pixels per inch.
#include "design_fixture.h"
#include "testsupport/Dump.h"
#include "base/Globals.h"
#include "model/design/ImageLayer.h"
#include "model/design/LayerArray.h"

#include <string.h>

using namespace Gdiplus;
using namespace design_test;

namespace {

const COLORREF kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kYellow = 0x00FFFF, kMagenta = 0xFF00FF;
const ARGB kOpRed = 0xFFFF0000, kOpGreen = 0xFF00FF00, kOpBlue = 0xFF0000FF, kOpYellow = 0xFFFFFF00,
           kOpMagenta = 0xFFFF00FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

// Colour c at alpha 127 laid over opaque white.
ARGB HalfOverWhite(ARGB c)
{
    ARGB out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        int v = (int)((c >> shift) & 0xFF);
        out |= (ARGB)((v * 127 + 255 * 128) / 255) << shift;
    }
    return out;
}

// Print-flag state of one test, always cleared afterwards.
struct PrintFlags
{
    PrintFlags(int mirror, int printing)
    {
        SetGlobalValueA(mirror);
        SetGlobalValueC(printing);
    }
    ~PrintFlags()
    {
        SetGlobalValueA(0);
        SetGlobalValueC(0);
    }
};

void SetFiveBackgroundColours(CLayerArray& a)
{
    a.SetBgColour1(kRed);
    a.SetBgColour2(kGreen);
    a.SetBgColour3(kBlue);
    a.SetBgColour4(kYellow);
    a.SetBgColour5(kMagenta);
}

ARGB HalvesRedBlue(int x, int) { return x < 150 ? 0xFFFF0000 : 0xFF0000FF; }

} // namespace

TEST(DesignBackground, DefaultRecordPaintsOpaqueWhite)
{
    CLayerArray a;
    a.SetRecordRects(CRect(0, 0, 96, 96), 100, 100);
    Canvas c(96, 96);
    a.DrawBackground(&c.graphics, 0, 0);
    const POINT at[] = {{0, 0}, {95, 0}, {48, 48}, {0, 95}, {95, 95}};
    for (const POINT& p : at)
        EXPECT_EQ(kWhite, c.At(p.x, p.y)) << p.x << "," << p.y;
}

TEST(DesignBackground, SolidFillIgnoresOpacity)
{
    CLayerArray a;
    a.SetRecordRects(CRect(0, 0, 96, 96), 100, 100);
    a.SetBgColour1(kRed);
    a.SetBgOpacity(0.5f);
    Canvas c(96, 96);
    a.DrawBackground(&c.graphics, 0, 0);
    EXPECT_EQ(kOpRed, c.At(10, 10));
    EXPECT_EQ(kOpRed, c.At(90, 90));
}

TEST(DesignBackground, RoundItemsFillAnEllipse)
{
    CLayerArray a;
    a.SetRecordRects(CRect(0, 0, 96, 96), 100, 100);
    a.SetBgColour1(kRed);
    Canvas c(96, 96);
    a.DrawBackground(&c.graphics, 1, 0);
    EXPECT_EQ(0u, c.At(1, 1));
    EXPECT_EQ(kOpRed, c.At(48, 48));
    EXPECT_EQ(kOpRed, c.At(48, 2));
}

TEST(DesignBackground, LinearGradientOrderAndOpacity)
{
    // 4 x 1 inch: the five stops at 0, 1/4, 1/2, 3/4 and 1 of the width.
    CLayerArray a;
    a.SetRecordRects(CRect(0, 0, 384, 96), 400, 100);
    SetFiveBackgroundColours(a);
    a.SetBgLinear(1);
    a.SetBgOpacity(0.5f);
    const struct
    {
        int mirror, printing;
        ARGB along[5];
    } cases[] = {
        {0, 0, {kOpRed, kOpGreen, kOpMagenta, kOpBlue, kOpYellow}},
        {1, 0, {kOpRed, kOpGreen, kOpMagenta, kOpBlue, kOpYellow}}, // the screen never mirrors
        {0, 1, {kOpRed, kOpGreen, kOpMagenta, kOpBlue, kOpYellow}},
        {1, 1, {kOpYellow, kOpBlue, kOpMagenta, kOpGreen, kOpRed}}, // printed mirrored
    };
    const int xs[5] = {1, 96, 192, 288, 382};
    for (const auto& t : cases) {
        PrintFlags flags(t.mirror, t.printing);
        Canvas c(384, 96);
        a.DrawBackground(&c.graphics, 0, 0);
        for (int i = 0; i < 5; i++)
            EXPECT_TRUE(ArgbNear(HalfOverWhite(t.along[i]), c.At(xs[i], 48), 10))
                << "mirror " << t.mirror << " printing " << t.printing << " stop " << i;
    }
}

TEST(DesignBackground, RadialCornersAndCentre)
{
    CLayerArray a;
    a.SetRecordRects(CRect(0, 0, 96, 96), 100, 100);
    SetFiveBackgroundColours(a);
    a.SetBgRadial(1);
    a.SetBgLinear(1); // radial wins
    Canvas c(96, 96);
    a.DrawBackground(&c.graphics, 0, 0);
    EXPECT_TRUE(ArgbNear(kOpRed, c.At(0, 0), 12));
    EXPECT_TRUE(ArgbNear(kOpGreen, c.At(95, 0), 12));
    EXPECT_TRUE(ArgbNear(kOpYellow, c.At(95, 95), 12));
    EXPECT_TRUE(ArgbNear(kOpBlue, c.At(0, 95), 12));
    EXPECT_TRUE(ArgbNear(kOpMagenta, c.At(48, 48), 12));
}

TEST(DesignBackground, TiledImageTakesItsSizeFromTheFile)
{
    // 300 x 30 pixels, left half red, right half blue.
    const struct
    {
        unsigned ppm; // 0: the file states no resolution
        float scale;
        int redX[2], blueX[2];
    } cases[] = {
        {0, 1.0f, {48, 240}, {144, 336}},    // 150 per inch: tiles of 2 inches (192 px)
        {11811, 1.0f, {24, 120}, {72, 168}}, // 300 per inch: tiles of 1 inch
        {0, 0.1f, {4, 23}, {14, 33}},        // default scale: 0.2 inch (19.2 px)
    };
    for (const auto& t : cases) {
        std::vector<BYTE> png = MakePng(300, 30, HalvesRedBlue, t.ppm);
        CImageLayer* tile = new CImageLayer;
        ASSERT_TRUE(tile->LoadFromMemory(&png[0], png.size()));
        CLayerArray a;
        a.SetRecordRects(CRect(0, 0, 480, 96), 500, 100);
        a.SetBackgroundImage(tile);
        a.SetBgTileScale(t.scale);
        Canvas c(480, 96);
        a.DrawBackground(&c.graphics, 0, 0);
        for (int x : t.redX)
            EXPECT_TRUE(ArgbNear(kOpRed, c.At(x, 10), 16)) << "ppm " << t.ppm << " x " << x;
        for (int x : t.blueX)
            EXPECT_TRUE(ArgbNear(kOpBlue, c.At(x, 10), 16)) << "ppm " << t.ppm << " x " << x;

        // Transparency 50 halves the texture's alpha; 0 hides it.
        a.SetBgTileTransparency(50);
        Canvas h(480, 96);
        a.DrawBackground(&h.graphics, 0, 0);
        EXPECT_TRUE(ArgbNear(HalfOverWhite(kOpRed), h.At(t.redX[0], 10), 16));
        a.SetBgTileTransparency(0);
        Canvas z(480, 96);
        a.DrawBackground(&z.graphics, 0, 0);
        EXPECT_EQ(kWhite, z.At(t.redX[0], 10));
    }
}

TEST(DesignBackground, EmptyAreaDrawsNothing)
{
    CLayerArray a;
    a.SetBgColour1(kRed);
    Canvas c(16, 16);
    a.DrawBackground(&c.graphics, 0, 0);
    EXPECT_EQ(0u, c.At(0, 0));
}

TEST(DesignFrames, StyleZeroDrawsNothing)
{
    CLayerArray a;
    a.SetRecordRects(CRect(0, 0, 192, 192), 200, 200);
    a.SetFrameColour1(kRed);
    a.SetFrameOutlineWidth(2.0f);
    a.SetFrameFillStyle(3);
    Canvas c(192, 192);
    a.DrawFrames(&c.graphics, 0, PointF(0, 0), 0);
    RECT painted = PaintedBounds(c.bitmap);
    EXPECT_EQ(0, painted.right - painted.left);
}

TEST(DesignFrames, SolidBandOutlineWidths)
{
    // 2 x 2 inches, frame size 1: the band is W / 4 = 0.5 inch (48 px) wide.
    const struct
    {
        float outline;
        ARGB atEdge, at49, at51; // pixels (0, 96), (49, 96), (51, 96)
    } cases[] = {
        {0.0f, 0, 0, 0},           // no stroke: the edge pixel is the band colour
        {0.5f, kBlack, 0, 0},      // 0.025 inch (2.4 px), half on either side of the line
        {1.0f, kBlack, kBlack, 0}, // 0.05 inch (4.8 px)
    };
    for (const auto& t : cases) {
        CLayerArray a;
        a.SetRecordRects(CRect(0, 0, 192, 192), 200, 200);
        a.SetFrameStyle(1);
        a.SetFrameColour1(kRed);
        a.SetFrameOpacity(0.5f);
        a.SetFrameOutlineWidth(t.outline);
        Canvas c(192, 192);
        a.DrawFrames(&c.graphics, 0, PointF(0, 0), 0);
        DumpPng(c.bitmap, "frame_band");
        EXPECT_TRUE(ArgbNear(HalfOverWhite(kOpRed), c.At(24, 96), 2)) << t.outline; // the band
        EXPECT_EQ(0u, c.At(96, 96)) << t.outline;                                   // inside stays clear
        EXPECT_EQ(t.atEdge ? t.atEdge : HalfOverWhite(kOpRed), c.At(0, 96)) << t.outline;
        EXPECT_EQ(t.at49, c.At(49, 96)) << t.outline;
        EXPECT_EQ(t.at51, c.At(51, 96)) << t.outline;
    }
}

TEST(DesignFrames, RadialFillShowsOnlyInTheBand)
{
    CLayerArray a;
    a.SetRecordRects(CRect(0, 0, 192, 192), 200, 200);
    a.SetFrameStyle(1);
    a.SetFrameFillStyle(3);
    a.SetFrameOutlineWidth(0.0f);
    a.SetFrameColour1(kRed);
    a.SetFrameColour2(kGreen);
    a.SetFrameColour3(kBlue);
    a.SetFrameColour4(kYellow);
    a.SetFrameColour5(kMagenta);
    Canvas c(192, 192);
    a.DrawFrames(&c.graphics, 0, PointF(0, 0), 0);
    EXPECT_TRUE(ArgbNear(kOpRed, c.At(0, 0), 12));
    EXPECT_TRUE(ArgbNear(kOpGreen, c.At(191, 0), 12));
    EXPECT_TRUE(ArgbNear(kOpYellow, c.At(191, 191), 12));
    EXPECT_TRUE(ArgbNear(kOpBlue, c.At(0, 191), 12));
    EXPECT_EQ(0u, c.At(96, 96));
}

TEST(DesignFrames, MirroredPrintFlipsTheGradient)
{
    const struct
    {
        int mirror, printing;
        ARGB left, right;
    } cases[] = {
        {0, 0, kOpRed, kOpYellow},
        {1, 0, kOpRed, kOpYellow},
        {1, 1, kOpYellow, kOpRed},
    };
    for (const auto& t : cases) {
        PrintFlags flags(t.mirror, t.printing);
        CLayerArray a;
        a.SetRecordRects(CRect(0, 0, 384, 96), 400, 100);
        a.SetFrameStyle(1);
        a.SetFrameSize(0.1f); // a band of 0.1 inch
        a.SetFrameFillStyle(2);
        a.SetFrameOutlineWidth(0.0f);
        a.SetFrameColour1(kRed);
        a.SetFrameColour2(kGreen);
        a.SetFrameColour3(kBlue);
        a.SetFrameColour4(kYellow);
        a.SetFrameColour5(kMagenta);
        Canvas c(384, 96);
        a.DrawFrames(&c.graphics, 0, PointF(0, 0), 0);
        EXPECT_TRUE(ArgbNear(t.left, c.At(2, 48), 12)) << t.mirror << t.printing;
        EXPECT_TRUE(ArgbNear(t.right, c.At(381, 48), 12)) << t.mirror << t.printing;
        EXPECT_EQ(0u, c.At(192, 48));
    }
}

TEST(DesignFrames, FrameImageFillTransparency)
{
    std::vector<BYTE> png = MakePng(300, 30, HalvesRedBlue);
    const struct
    {
        int transparency;
        ARGB band;
    } cases[] = {{100, kOpRed}, {0, kWhite}};
    for (const auto& t : cases) {
        CImageLayer* tile = new CImageLayer;
        ASSERT_TRUE(tile->LoadFromMemory(&png[0], png.size()));
        CLayerArray a;
        a.SetRecordRects(CRect(0, 0, 192, 192), 200, 200);
        a.SetFrameStyle(1);
        a.SetFrameOutlineWidth(0.0f);
        a.SetFrameFillImage(tile);
        a.SetFrameImageScale(1.0f);
        a.SetFrameImageTransparency(t.transparency);
        Canvas c(192, 192);
        a.DrawFrames(&c.graphics, 0, PointF(0, 0), 0);
        EXPECT_TRUE(ArgbNear(t.band, c.At(20, 20), 16)) << t.transparency;
        EXPECT_EQ(0u, c.At(96, 96));
    }
}

TEST(DesignFrames, StyleFourScalesOnlyOnRoundItems)
{
    // 2 x 2 inches, frame size and intensity 0.4: round items take a quarter of the
    // width of them (a band of 0.2 inch), rectangular ones the values themselves (0.4).
    const struct
    {
        BYTE round;
        ARGB at28;
    } cases[] = {{1, 0}, {0, 0xFFFF0000}};
    for (const auto& t : cases) {
        CLayerArray a;
        a.SetRecordRects(CRect(0, 0, 192, 192), 200, 200);
        a.SetFrameStyle(4);
        a.SetFrameSize(0.4f);
        a.SetFrameIntensity(0.4f);
        a.SetFrameColour1(kRed);
        a.SetFrameOutlineWidth(0.0f);
        Canvas c(192, 192);
        a.DrawFrames(&c.graphics, t.round, PointF(0, 0), 0);
        EXPECT_EQ(kOpRed, c.At(5, 96)) << (int)t.round;
        EXPECT_EQ(t.at28, c.At(28, 96)) << (int)t.round;
        EXPECT_EQ(0u, c.At(60, 96)) << (int)t.round;
    }
}

TEST(DesignFrames, FittedImagesFollowTheAreaAndTheEdgeMargin)
{
    // The test mask: transparent on the left half, opaque white on the right.
    const struct
    {
        const char* what;
        float margin;
        int rotation;
        BYTE dimmed;
        int x;
        ARGB colour;
    } cases[] = {
        {"template, right half dimmed", 0.0f, 0, 1, 150, 0xFFB2B2B2},
        {"template, left half clear", 0.0f, 0, 1, 40, 0},
        {"template undimmed", 0.0f, 0, 0, 150, 0xFFFFFFFF},
        {"margin shrinks the image", 0.25f, 0, 0, 165, 0xFFFFFFFF},
        {"margin leaves the edge clear", 0.25f, 0, 0, 172, 0},
        {"overlay turned by 180", 0.0f, 180, 0, 40, 0xFFFFFFFF},
        {"frame image", 0.0f, 0, 0, 150, 0xFFFFFFFF},
    };
    for (const auto& t : cases) {
        CImageLayer* image = new CImageLayer;
        image->SetPlacement(CRect(0, 0, 192, 96), 200, 100);
        ASSERT_TRUE(image->LoadMaskFromResource(31901));
        image->m_frameIndex = 0;
        CLayerArray a;
        a.SetEdgeMargin(t.margin);
        Canvas c(192, 96);
        if (strstr(t.what, "overlay")) {
            a.SetLayoutOverlay(image);
            a.SetRecordRects(CRect(0, 0, 192, 96), 200, 100);
            a.DrawLayoutOverlay(&c.graphics, PointF(0, 0), t.rotation, t.dimmed);
        } else if (strstr(t.what, "frame")) {
            a.SetFrameImage(image);
            a.SetRecordRects(CRect(0, 0, 192, 96), 200, 100);
            a.DrawFrameImage(&c.graphics, PointF(0, 0), t.rotation);
        } else {
            a.SetTemplateImage(image);
            a.SetRecordRects(CRect(0, 0, 192, 96), 200, 100);
            a.DrawTemplateImage(&c.graphics, PointF(0, 0), t.dimmed);
        }
        EXPECT_TRUE(ArgbNear(t.colour, c.At(t.x, 48), 1)) << t.what;
    }
}

// Picture fills turned by their angle: the background's tiled image (rectangular and
// round items), the frame's image fill and a text's image fill.  Each drawing is compared,
// pixel by pixel, with a reference that takes the untouched picture and turns the output:
// the colour expected at a canvas pixel is the tile's colour at the point the turn
// brings back to the tile.  Only pixels well inside one quarter of the tile and well
// inside the filled shape are compared, so smoothing never decides a result.
#include "design_fixture.h"
#include "testsupport/Dump.h"
#include "model/design/ImageLayer.h"
#include "model/design/LayerArray.h"
#include "model/design/TextItem.h"

#include <math.h>

#include <functional>
#include <string>

using namespace Gdiplus;
using namespace design_test;

namespace {

// 60 x 60 pixels in four quarters; saved without a resolution, so 150 per inch.
const int kTile = 60;
const ARGB kQuarters[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
ARGB Quarters(int x, int y) { return kQuarters[(x >= kTile / 2 ? 1 : 0) + (y >= kTile / 2 ? 2 : 0)]; }
// The shape's colour while the picture is hidden: marks where the fill may show.
const COLORREF kMaskColour = 0x000000;
const ARGB kMask = 0xFF000000;

// Where a canvas point (inches) lands in the tile's pixels.
typedef std::function<PointF(PointF)> ToTile;

// Tile pixels -> inches: scale k, turn by `degrees` about the origin, then move by `at`
// (the order a texture brush's transform takes them when built by appending).
ToTile TurnedTile(float k, float degrees, PointF at = PointF(0, 0))
{
    return [=](PointF p) {
        const double a = -degrees * 3.14159265358979 / 180.0;
        const double x = p.X - at.X, y = p.Y - at.Y;
        return PointF((REAL)((x * cos(a) - y * sin(a)) / k), (REAL)((x * sin(a) + y * cos(a)) / k));
    };
}

// The tile colour at tile point t, or 0 when t lies within `margin` pixels of a quarter's
// edge (the tile repeats without end).
ARGB ExpectedAt(PointF t, float margin)
{
    float u = fmodf(t.X, (float)kTile), v = fmodf(t.Y, (float)kTile);
    u += u < 0 ? kTile : 0;
    v += v < 0 ? kTile : 0;
    const float half = kTile / 2.0f;
    for (float edge : {0.0f, half, (float)kTile}) {
        if (fabsf(u - edge) < margin || fabsf(v - edge) < margin)
            return 0;
    }
    return Quarters((int)u, (int)v);
}

// A pixel whose eight neighbours and itself are all the mask colour.
bool InsideMask(Canvas& mask, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (mask.At(x + dx, y + dy) != kMask)
                return false;
    return true;
}

// Draws the fill twice, the picture hidden (the mask) and shown, and compares every pixel
// well inside the mask with the reference.  Returns how many differ; `compared` counts the
// pixels looked at.
int CountMismatches(int w, int h, const std::function<void(Canvas&, bool shown)>& draw, const ToTile& toTile,
                    int& compared, const std::string& dumpName)
{
    Canvas mask(w, h), drawn(w, h);
    draw(mask, false);
    draw(drawn, true);
    drawn.graphics.Flush(FlushIntentionSync);
    DumpPng(drawn.bitmap, dumpName.c_str());
    int mismatches = 0;
    compared = 0;
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            if (!InsideMask(mask, x, y))
                continue;
            // The pixel's centre, and a margin of 2.5 tile pixels around the quarters' edges.
            const ARGB want = ExpectedAt(toTile(PointF((x + 0.5f) / 96.0f, (y + 0.5f) / 96.0f)), 2.5f);
            if (want == 0)
                continue;
            ++compared;
            if (!ArgbNear(want, drawn.At(x, y), 40))
                ++mismatches;
        }
    }
    return mismatches;
}

CImageLayer* NewTile()
{
    static const std::vector<BYTE> png = MakePng(kTile, kTile, Quarters);
    CImageLayer* tile = new CImageLayer;
    EXPECT_TRUE(tile->LoadFromMemory(&png[0], png.size()));
    return tile;
}

const int kAngles[] = {0, 42, 90, 180, 357};

} // namespace

TEST(DesignTurnedFill, BackgroundPictureAtEveryAngle)
{
    // 2 x 2 inches; scale 1: one tile is 0.4 inch (60 pixels at 150 per inch).
    const float k = 1.0f / 150.0f;
    for (int round = 0; round <= 1; ++round) {
        for (int angle : kAngles) {
            CLayerArray a;
            a.SetRecordRects(CRect(0, 0, 192, 192), 200, 200);
            a.SetBgColour1(kMaskColour);
            a.SetBackgroundImage(NewTile());
            a.SetBgTileScale(1.0f);
            a.SetBgTileRotation(angle);
            int compared = 0;
            const int bad = CountMismatches(
                192, 192,
                [&](Canvas& c, bool shown) {
                    a.SetBgTileTransparency(shown ? 100 : 0);
                    a.DrawBackground(&c.graphics, (BYTE)round, 0);
                },
                TurnedTile(k, (float)angle), compared,
                "turned_background_" + std::to_string(round) + "_" + std::to_string(angle));
            EXPECT_GT(compared, round ? 10000 : 14000) << "round " << round << " angle " << angle;
            EXPECT_EQ(0, bad) << "round " << round << " angle " << angle << " of " << compared;
        }
    }
}

TEST(DesignTurnedFill, FramePictureFillAtEveryAngle)
{
    // A band a quarter of the 2-inch width wide; no offset, so the turn is about the
    // area's corner.
    const float k = 1.0f / 150.0f;
    for (int angle : kAngles) {
        CLayerArray a;
        a.SetRecordRects(CRect(0, 0, 192, 192), 200, 200);
        a.SetFrameStyle(1);
        a.SetFrameSize(1.0f);
        a.SetFrameOutlineWidth(0.0f);
        a.SetFrameColour1(kMaskColour);
        a.SetFrameFillImage(NewTile());
        a.SetFrameImageScale(1.0f);
        a.SetFrameImageOffset(0.0f);
        a.SetFrameImageRotation(angle);
        int compared = 0;
        const int bad = CountMismatches(
            192, 192,
            [&](Canvas& c, bool shown) {
                a.SetFrameImageTransparency(shown ? 100 : 0);
                a.DrawFrames(&c.graphics, 0, PointF(0, 0), 0);
            },
            TurnedTile(k, (float)angle), compared, "turned_frame_" + std::to_string(angle));
        EXPECT_GT(compared, 3000) << "angle " << angle;
        EXPECT_EQ(0, bad) << "angle " << angle << " of " << compared;
    }
}

TEST(DesignTurnedFill, TextPictureFillAtEveryAngle)
{
    // "MW" 2 inches high at the centre of a 4 x 2.5 inch canvas; scale 0.4 makes a tile
    // pixel 0.01 x 0.4 x 2 = 0.008 inch, turned about the text's centre.
    std::vector<BYTE> png = MakePng(kTile, kTile, Quarters);
    std::string path = WriteTempFile("turned_text_tile.png", png);
    for (int angle : kAngles) {
        CTextItem t;
        t.m_text = "MW";
        t.m_fontSize = 200;
        t.m_outlineSize = 0;
        t.m_fillKind = 1;
        t.m_fillColour[0] = kMaskColour;
        t.SetPrintableSize(4.0f, 2.5f);
        ASSERT_TRUE(t.LoadFillImage(path.c_str()));
        t.m_imageTileScale = 0.4f;
        t.m_imageRotation = angle;
        int compared = 0;
        const int bad = CountMismatches(
            384, 240,
            [&](Canvas& c, bool shown) {
                t.m_imageOpacity = shown ? 100 : 0;
                t.Draw(&c.graphics, PointF(0, 0));
            },
            TurnedTile(0.008f, (float)angle, t.m_position), compared, "turned_text_" + std::to_string(angle));
        EXPECT_GT(compared, 1000) << "angle " << angle;
        EXPECT_EQ(0, bad) << "angle " << angle << " of " << compared;
    }
    DeleteFileA(path.c_str());
}

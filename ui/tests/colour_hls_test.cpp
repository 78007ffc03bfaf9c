// The hover buttons' colour arithmetic: RGB to packed HLS and back, shading by lightness and
// saturation, lightening and darkening.
#include "ui/ColourHls.h"

#include <gtest/gtest.h>

#include <stdlib.h>

namespace {

// Every grey goes to saturation 0 and comes back as itself.
TEST(ColourHls, EveryGreyRoundTripsExactly)
{
    for (int g = 0; g <= 255; ++g) {
        const PackedHls hls = RgbToHls(RGB(g, g, g));
        EXPECT_EQ(0, HlsSaturation(hls)) << g;
        EXPECT_EQ(g, HlsLightness(hls)) << g;
        EXPECT_EQ(RGB(g, g, g), HlsToRgb(hls)) << g;
    }
}

TEST(ColourHls, KnownConversions)
{
    struct
    {
        COLORREF colour;
        BYTE hue, lightness, saturation;
    } cases[] = {
        {RGB(255, 0, 0), 255, 127, 255},    // red lands on 360 degrees, hue byte 255
        {RGB(0, 255, 0), 85, 127, 255},     // green at 120 degrees
        {RGB(0, 0, 255), 170, 127, 255},    // blue at 240 degrees
        {RGB(255, 255, 0), 42, 127, 255},   // yellow: red and green both largest, green's formula wins
        {RGB(66, 154, 252), 149, 159, 247}, // the skin blue
        {RGB(128, 64, 64), 255, 96, 85},
    };
    for (const auto& c : cases) {
        const PackedHls hls = RgbToHls(c.colour);
        EXPECT_EQ(c.hue, HlsHue(hls)) << std::hex << c.colour;
        EXPECT_EQ(c.lightness, HlsLightness(hls)) << std::hex << c.colour;
        EXPECT_EQ(c.saturation, HlsSaturation(hls)) << std::hex << c.colour;
    }
}

// A change of 0 and 0 is one round trip through HLS: within one per channel.
TEST(ColourHls, AdjustByNothingStaysWithinOne)
{
    const COLORREF colours[] = {RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(0, 0, 255),    RGB(66, 154, 252),
                                RGB(255, 255, 192), RGB(212, 208, 200), RGB(10, 36, 106),  RGB(1, 2, 3),
                                RGB(254, 253, 1),   RGB(128, 64, 64),   RGB(200, 100, 50), RGB(17, 200, 99)};
    for (COLORREF c : colours) {
        const COLORREF back = AdjustColourHls(c, 0, 0);
        EXPECT_LE(abs(GetRValue(back) - GetRValue(c)), 1) << std::hex << c << " -> " << back;
        EXPECT_LE(abs(GetGValue(back) - GetGValue(c)), 1) << std::hex << c << " -> " << back;
        EXPECT_LE(abs(GetBValue(back) - GetBValue(c)), 1) << std::hex << c << " -> " << back;
    }
}

TEST(ColourHls, AdjustMovesLightnessAndSaturation)
{
    struct
    {
        COLORREF colour;
        int dl, ds;
        BYTE lightness, saturation; // of the result
    } cases[] = {
        {RGB(100, 100, 100), 50, 0, 177, 0},  // 100 + 155 x 50 / 100
        {RGB(100, 100, 100), -10, 0, 90, 0},  // 100 x 90 / 100
        {RGB(100, 100, 100), 100, 0, 255, 0}, // white
        {RGB(100, 100, 100), -100, 0, 0, 0},  // black
        {RGB(255, 0, 0), 0, -50, 127, 127},   // 255 x 50 / 100
        {RGB(255, 0, 0), 0, -100, 127, 0},
    };
    for (const auto& c : cases) {
        const PackedHls result = RgbToHls(AdjustColourHls(c.colour, c.dl, c.ds));
        EXPECT_EQ(c.lightness, HlsLightness(result)) << c.dl << " " << c.ds;
        EXPECT_EQ(c.saturation, HlsSaturation(result)) << c.dl << " " << c.ds;
    }
}

TEST(ColourHls, LightenAndDarken)
{
    struct
    {
        double factor;
        COLORREF lighter, darker; // of RGB(100, 200, 0)
    } cases[] = {
        {0.5, RGB(177, 227, 127), RGB(50, 100, 0)}, {1.0, RGB(255, 255, 255), RGB(0, 0, 0)},
        {0.0, RGB(100, 200, 0), RGB(100, 200, 0)},  // no change
        {-0.5, RGB(100, 200, 0), RGB(100, 200, 0)}, // out of range: unchanged
        {1.5, RGB(100, 200, 0), RGB(100, 200, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.lighter, LightenColour(RGB(100, 200, 0), c.factor)) << c.factor;
        EXPECT_EQ(c.darker, DarkenColour(RGB(100, 200, 0), c.factor)) << c.factor;
    }
}

} // namespace

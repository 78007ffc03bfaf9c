// Tone and colour effects on tiny surfaces, hand-worked.
#include "effects/Tone.h"
#include "effects/tests/FaultCheck.h"

#include <functional>

namespace {

typedef std::function<HRESULT(HDC, HDC, LONG*)> Effect;

Rows Map(const Rows& rows, COLORREF (*f)(COLORREF))
{
    Rows out = rows;
    for (auto& row : out)
        for (auto& c : row)
            c = f(c);
    return out;
}

const Rows kPattern = Patterned(5, 3);

} // namespace

TEST(ToneEffects, ThresholdsAtTheirLevels)
{
    // Greys (126 + 127 + 128) / 3 = 127 and (127 + 128 + 129) / 3 = 128.
    const Rows source = {{RGB(126, 127, 128), RGB(127, 128, 129), RGB(0, 0, 1), RGB(255, 255, 254)}};
    EXPECT_EQ((Rows{{Grey(0), Grey(255), Grey(0), Grey(255)}}),
              Apply(source, [](HDC d, HDC s, LONG* l) { return DibThreshold(d, s, l); }));
    // Level below 0 acts as 0: grey 0 black, any grey above it white.
    const Rows dark = {{RGB(0, 0, 2), RGB(0, 0, 3), RGB(0, 0, 0)}};
    EXPECT_EQ((Rows{{Grey(0), Grey(255), Grey(0)}}),
              Apply(dark, [](HDC d, HDC s, LONG* l) { return DibThresholdLevel(d, s, -40, l); }));
    EXPECT_EQ((Rows{{RGB(0, 0, 255), RGB(0, 255, 255)}}),
              Apply({{RGB(127, 0, 128), RGB(0, 128, 255)}},
                    [](HDC d, HDC s, LONG* l) { return DibThresholdChannels(d, s, l); }));
}

TEST(ToneEffects, PosterizeLevels)
{
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibPosterize(d, s, 0, l); }));
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibPosterize(d, s, -9, l); }));
    EXPECT_EQ((Rows{{RGB(64, 0, 192)}}),
              Apply({{RGB(100, 63, 255)}}, [](HDC d, HDC s, LONG* l) { return DibPosterize(d, s, 63, l); }));
    EXPECT_EQ((Rows{{RGB(0, 51, 102), RGB(153, 204, 255)}}),
              Apply({{RGB(25, 26, 127), RGB(178, 229, 230)}},
                    [](HDC d, HDC s, LONG* l) { return DibPosterizeSix(d, s, l); }));
}

TEST(ToneEffects, GammaKeepsAtOneAndStopsAtTen)
{
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibGamma(d, s, 1.0f, l); }));
    const Rows ten = Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibGamma(d, s, 10.0f, l); });
    EXPECT_EQ(ten, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibGamma(d, s, 20.0f, l); }));
    EXPECT_NE(ten, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibGamma(d, s, 5.0f, l); }));
    // Gamma 2: 255 * sqrt(64 / 255) = 127.7.
    EXPECT_EQ((Rows{{RGB(127, 0, 255)}}),
              Apply({{RGB(64, 0, 255)}}, [](HDC d, HDC s, LONG* l) { return DibGamma(d, s, 2.0f, l); }));
}

TEST(ToneEffects, SaturationTintAndDifference)
{
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSaturation(d, s, 0, l); }));
    const Rows greys = Map(kPattern, [](COLORREF c) { return Grey((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3); });
    EXPECT_EQ(greys, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSaturation(d, s, -255, l); }));
    EXPECT_EQ(greys, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSaturation(d, s, -999, l); }));
    // Amount 255: t = 510, (grey * -255 + c * 510) >> 8; grey 100: red 150 -> 199, blue 50 -> 0.
    EXPECT_EQ((Rows{{RGB(199, 99, 0)}}),
              Apply({{RGB(150, 100, 50)}}, [](HDC d, HDC s, LONG* l) { return DibSaturation(d, s, 255, l); }));

    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibTint(d, s, RGB(9, 8, 7), 0, l); }));
    EXPECT_EQ(Flat(5, 3, RGB(9, 8, 7)),
              Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibTint(d, s, RGB(9, 8, 7), 255, l); }));
    EXPECT_EQ(Flat(5, 3, RGB(9, 8, 7)),
              Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibTint(d, s, RGB(9, 8, 7), 400, l); }));

    const Rows inverted =
        Map(kPattern, [](COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); });
    EXPECT_EQ(inverted, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibDifferenceLevel(d, s, 255, l); }));
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibDifferenceLevel(d, s, 0, l); }));
    EXPECT_EQ((Rows{{RGB(100, 127, 127)}}),
              Apply({{RGB(100, 127, 128)}}, [](HDC d, HDC s, LONG* l) { return DibSolarize(d, s, TRUE, l); }));
    EXPECT_EQ((Rows{{RGB(155, 128, 128)}}),
              Apply({{RGB(100, 127, 128)}}, [](HDC d, HDC s, LONG* l) { return DibSolarize(d, s, FALSE, l); }));
    // Reduce contrast 50: 100 -> min(150, 127); 200 -> max(150, 127); 130 -> max(80, 127).
    EXPECT_EQ((Rows{{RGB(127, 150, 127)}}),
              Apply({{RGB(100, 200, 130)}}, [](HDC d, HDC s, LONG* l) { return DibReduceContrast(d, s, 50, l); }));
}

TEST(ToneEffects, HueShiftSectors)
{
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibHueShift(d, s, 0, l); }));
    // 350: sector 6 with weight trunc(50 * 5.11) = 255, green = mix(B, G, 255) = G: unchanged.
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibHueShift(d, s, 999, l); }));
    // 100: sector 2, weight 0: red B, green R, blue B.
    EXPECT_EQ((Rows{{RGB(30, 10, 30)}}),
              Apply({{RGB(10, 20, 30)}}, [](HDC d, HDC s, LONG* l) { return DibHueShift(d, s, 100, l); }));
    // 75: sector 1, weight trunc(25 * 5.12) = 128: red (10 * 127 + 30 * 128) >> 8 = 19, green R.
    EXPECT_EQ((Rows{{RGB(19, 10, 30)}}),
              Apply({{RGB(10, 20, 30)}}, [](HDC d, HDC s, LONG* l) { return DibHueShift(d, s, 75, l); }));
    // Mix blue into green 255: blue = G, then green = the new blue.
    EXPECT_EQ((Rows{{RGB(10, 20, 20)}}),
              Apply({{RGB(10, 20, 30)}}, [](HDC d, HDC s, LONG* l) { return DibMixBlueGreen(d, s, 255, l); }));
}

TEST(ToneEffects, AutoLevelsOnAOneValueChannel)
{
    // Red holds 100 everywhere, green 50 and 150, blue 7.
    const Rows source = {{RGB(100, 50, 7), RGB(100, 150, 7)}};
    // Red only: range 0, scale 1, the value shifted to 0; green and blue untouched.
    EXPECT_EQ((Rows{{RGB(0, 50, 7), RGB(0, 150, 7)}}),
              Apply(source, [](HDC d, HDC s, LONG* l) { return DibAutoLevels(d, s, 1, 1.0, l); }));
    // All: green 50..150 stretched to 0..255 (scale 2.55), blue shifted to 0.
    EXPECT_EQ((Rows{{RGB(0, 0, 0), RGB(0, 255, 0)}}),
              Apply(source, [](HDC d, HDC s, LONG* l) { return DibAutoLevels(d, s, 7, 1.0, l); }));
    // Amount 0 only shifts: green 0 and 100.
    EXPECT_EQ((Rows{{RGB(100, 0, 7), RGB(100, 100, 7)}}),
              Apply(source, [](HDC d, HDC s, LONG* l) { return DibAutoLevels(d, s, 2, -3.0, l); }));
    // Grey first: greys 52 and 85 become 0 and 255.
    EXPECT_EQ((Rows{{Grey(0), Grey(255)}}),
              Apply(source, [](HDC d, HDC s, LONG* l) { return DibAutoLevels(d, s, 8, 1.0, l); }));
}

TEST(ToneEffects, ContourBands)
{
    const Rows four = Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibContourBands(d, s, 4, 10, 1, l); });
    EXPECT_EQ(four, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibContourBands(d, s, 3, 10, 1, l); }));
    EXPECT_NE(four, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibContourBands(d, s, 6, 10, 1, l); }));
    // No band: the grey image, then its palette.
    const Rows greys = {{Grey(0), Grey(55), Grey(155), Grey(255), RGB(150, 160, 170)}};
    EXPECT_EQ((Rows{{Grey(0), Grey(55), Grey(155), Grey(255), Grey(160)}}),
              Apply(greys, [](HDC d, HDC s, LONG* l) { return DibContourBands(d, s, 0, 3, 1, l); }));
    const Rows fire = Apply(greys, [](HDC d, HDC s, LONG* l) { return DibContourBands(d, s, 0, 3, 2, l); });
    EXPECT_EQ(RGB(0, 0, 0), fire[0][0]);
    EXPECT_EQ(RGB(190, 55, 0), fire[0][1]);
    EXPECT_EQ(RGB(255, 190, 50), fire[0][2]);
    EXPECT_EQ(RGB(255, 255, 255), fire[0][3]);
    const Rows ice = Apply(greys, [](HDC d, HDC s, LONG* l) { return DibContourBands(d, s, -1, 3, 3, l); });
    EXPECT_EQ(RGB(0, 65, 205), ice[0][1]);
}

TEST(ToneEffects, ColorDotsAtDensityOneColourEveryPixel)
{
    EXPECT_EQ(Flat(5, 3, RGB(1, 200, 3)),
              Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibColorDots(d, s, 1, RGB(1, 200, 3), l); }));
    EXPECT_EQ(Flat(5, 3, RGB(1, 200, 3)),
              Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibColorDots(d, s, -5, RGB(1, 200, 3), l); }));
    // Noise of 0 moves nothing; of 255 each pixel gets one channel at 255.
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibChannelNoise(d, s, 0, l); }));
    const Rows noisy = Apply(Flat(4, 4, Grey(10)), [](HDC d, HDC s, LONG* l) { return DibChannelNoise(d, s, 900, l); });
    for (const auto& row : noisy)
        for (COLORREF c : row)
            EXPECT_EQ(10 + 10 + 255, GetRValue(c) + GetGValue(c) + GetBValue(c));
}

TEST(ToneEffects, BalanceColorsSumsBeyond32Bits)
{
    // 3000 x 3000: red sums to 4.5M * (255 + 250) = 2.27e9, past a signed 32-bit sum.
    const int w = 3000, h = 3000;
    DibSurface src(w, h);
    const RECT top = {0, 0, w, h / 2}, bottom = {0, h / 2, w, h};
    src.Fill(top, RGB(255, 200, 10));
    src.Fill(bottom, RGB(250, 100, 0));
    DibSurface dst(w, h, kMarker);
    LONG lines = -7;
    ASSERT_EQ(S_OK, DibBalanceColors(dst.Hdc(), src.Hdc(), 128, &lines));
    EXPECT_EQ(h, lines);
    // The reference in 64 bits: n = stride * height / 3 = 9,000,000 (no padding).
    const int64_t n = (int64_t)w * h, half = n / 2;
    const int64_t meanR = (half * 255 + half * 250) / n + 1; // 253
    const int64_t meanG = (half * 200 + half * 100) / n + 1; // 151
    const int64_t meanB = (half * 10) / n + 1;               // 6
    auto expect = [&](int64_t v, int64_t mean) { return (int)std::min<int64_t>(255, v * 128 / mean); };
    EXPECT_EQ(RGB(expect(255, meanR), expect(200, meanG), expect(10, meanB)), dst.At(5, 5));
    EXPECT_EQ(RGB(expect(250, meanR), expect(100, meanG), 0), dst.At(w - 1, h - 1));
    EXPECT_EQ(RGB(129, 169, 213), dst.At(0, 0)); // 255 * 128 / 253, 200 * 128 / 151, 10 * 128 / 6
}

TEST(ToneImageEffects, PointOperations)
{
    const Rows source = {{RGB(100, 100, 100), RGB(10, 10, 10), RGB(250, 5, 30)}};
    auto run = [&](const ImageEffect& effect) {
        const EffectRun r = RunOnImage(source, effect);
        EXPECT_EQ(S_OK, r.hr);
        EXPECT_EQ(1, r.lines);
        return r.result;
    };
    // Sepia: grey 100 -> (153, 120, 67); grey 10 -> (63, 30, 30) with green and blue raised to 30;
    // grey 95 -> (148, 115, 62).
    EXPECT_EQ((Rows{{RGB(153, 120, 67), RGB(63, 30, 30), RGB(148, 115, 62)}}),
              run([](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) { return DibSepia(s, d, l); }));
    EXPECT_EQ((Rows{{RGB(110, 110, 110), RGB(20, 20, 20), RGB(255, 15, 40)}}),
              run([](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) { return DibBrightness(s, d, 10, l); }));
    EXPECT_EQ((Rows{{Grey(0), Grey(0), Grey(0)}}),
              run([](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) { return DibGrayBrightness(s, d, -999, l); }));
    // Contrast red 2: (100 - 127) * 2 + 127 = 73; (250 - 127) * 2 + 127 -> 255; green 0 -> 127.
    EXPECT_EQ((Rows{{RGB(73, 127, 100), RGB(0, 127, 10), RGB(255, 127, 30)}}),
              run([](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) { return DibContrastRgb(s, d, 2, 0, 1, l); }));
    // Filter amount 255 with red 255: k 0, s = 0 for red, so red stays; green and blue s = 0 too.
    EXPECT_EQ(source, run([](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) {
                  return DibColorFilter(s, d, RGB(255, 0, 0), 255, l);
              }));
    // Amount 0 with black: s = 255 on each channel, all black.
    EXPECT_EQ((Rows{{Grey(0), Grey(0), Grey(0)}}),
              run([](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) { return DibColorFilter(s, d, 0, 0, l); }));
    // Replace within 20 (half 10, +-25.5): 100 and 250/5/30 are inside 100 +- 25? only the first.
    EXPECT_EQ((Rows{{RGB(1, 2, 3), RGB(10, 10, 10), RGB(250, 5, 30)}}),
              run([](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) {
                  return DibReplaceColor(s, d, RGB(110, 90, 120), RGB(1, 2, 3), 20, l);
              }));
}

TEST(ToneImageEffects, RemoveBackgroundScansFromTheSides)
{
    const COLORREF W = Grey(255), K = Grey(0), F = RGB(0, 0, 255);
    const Rows ring = {{W, W, W, W, W}, {W, K, K, K, W}, {W, K, W, K, W}, {W, K, K, K, W}, {W, W, W, W, W}};
    auto remove = [&](BOOL top, BOOL left, BOOL right, BOOL bottom) {
        const EffectRun r = RunOnImage(ring, [=](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) {
            return DibRemoveBackground(s, d, W, F, 0, top, left, right, bottom, l);
        });
        EXPECT_EQ(S_OK, r.hr);
        return r.result;
    };
    EXPECT_EQ(ring, remove(FALSE, FALSE, FALSE, FALSE)) << "no side: drawn, unchanged";
    EXPECT_EQ((Rows{{F, F, F, F, F}, {F, K, K, K, W}, {F, K, W, K, W}, {F, K, K, K, W}, {F, F, F, F, F}}),
              remove(FALSE, TRUE, FALSE, FALSE));
    EXPECT_EQ((Rows{{F, F, F, F, F}, {F, K, K, K, F}, {F, K, W, K, F}, {F, K, K, K, F}, {F, F, F, F, F}}),
              remove(TRUE, TRUE, TRUE, TRUE))
        << "the enclosed white keeps its colour";
    // From the top: the outer columns run white to the bottom, the inner ones stop at the ring.
    EXPECT_EQ((Rows{{F, F, F, F, F}, {F, K, K, K, F}, {F, K, W, K, F}, {F, K, K, K, F}, {F, W, W, W, F}}),
              remove(TRUE, FALSE, FALSE, FALSE));
}

TEST(ToneImageEffects, DarkenEllipse)
{
    // 6 x 6 white; the rectangle (0, 0, 4, 4) moves to (1, 2, 5, 6); point (x, height - y) is tested.
    const EffectRun r = RunOnImage(Flat(6, 6, Grey(255)), [](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) {
        return DibDarkenEllipse(s, d, RECT{0, 0, 4, 4}, 100, 0, 300, l);
    });
    ASSERT_EQ(S_OK, r.hr);
    int darkened = 0;
    for (const auto& row : r.result)
        for (COLORREF c : row) {
            if (c == RGB(155, 255, 0))
                ++darkened;
            else
                EXPECT_EQ(Grey(255), c);
        }
    EXPECT_GT(darkened, 4);
    EXPECT_LT(darkened, 16);
    EXPECT_EQ(Grey(255), r.result[0][0]);
}

TEST(ToneEffects, FailuresAreClean)
{
    ExpectCleanFailures("DibThreshold", [](HDC d, HDC s, LONG* l) { return DibThreshold(d, s, l); });
    ExpectCleanFailures("DibAutoLevels", [](HDC d, HDC s, LONG* l) { return DibAutoLevels(d, s, 15, 1.0, l); });
    ExpectCleanFailures("DibBalanceColors", [](HDC d, HDC s, LONG* l) { return DibBalanceColors(d, s, 128, l); });
    ExpectCleanImageFailures("DibSepia",
                             [](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) { return DibSepia(s, d, l); });
    ExpectCleanImageFailures("DibRemoveBackground", [](Gdiplus::Bitmap* s, Gdiplus::Image* d, LONG* l) {
        return DibRemoveBackground(s, d, RGB(40, 40, 40), 0, 50, TRUE, TRUE, TRUE, TRUE, l);
    });
}

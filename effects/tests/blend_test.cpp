// Blend modes on hand-worked values, and the two-image effects on tiny surfaces.
#include "effects/Blend.h"
#include "effects/tests/EffectTestUtil.h"

TEST(BlendPixel, EveryModeOnOnePair)
{
    // a = 200 (base), b = 100 (layer), each worked by hand from the mode's formula.
    const int expected[25] = {
        200, // 0: not a mode, the base
        150, // average: 300 >> 1
        78,  // multiply: 20000 >> 8
        222, // screen: 255 - (55 * 155 >> 8)
        100, // darken
        200, // lighten
        100, // difference
        155, // negation
        144, // exclusion: 300 - (20000 >> 7)
        189, // overlay (a >= 128): 255 - (55 * 155 >> 7)
        156, // hard light (b < 128): 20000 >> 7
        190, // soft light: 78 + ((222 - 78) * 200 >> 8)
        255, // colour dodge: min(255, 51200 / 155)
        115, // colour burn: 255 - 14080 / 100
        156, // soft dodge (a + b >= 256): 255 - 155 * 128 / 200
        185, // soft burn (a + b >= 256): 255 - 55 * 128 / 100
        255, // reflect: min(255, 40000 / 155)
        181, // glow: 10000 / 55
        225, // freeze: 255 - 3025 / 100
        135, // heat: 255 - 24025 / 200
        255, // additive
        44,  // subtractive: 300 - 256
        157, // interpolation: 114 + 43
        144, // stamp: 200 + 200 - 256
        172, // xor: 11001000 ^ 01100100
    };
    for (int mode = 0; mode <= 24; ++mode)
        EXPECT_EQ(expected[mode], BlendPixel(200, 100, mode)) << "mode " << mode;
    for (int mode : {-1, 25, 1000})
        EXPECT_EQ(200, BlendPixel(200, 100, mode)) << "mode " << mode;
}

TEST(BlendPixel, OtherBranches)
{
    const struct
    {
        int a, b, mode, out;
    } cases[] = {
        {50, 220, 9, 85},    // overlay, a < 128: 11000 >> 7
        {50, 220, 10, 199},  // hard light, b >= 128: 255 - (205 * 35 >> 7)
        {50, 100, 14, 41},   // soft dodge, a + b < 256: 6400 / 155
        {50, 100, 15, 62},   // soft burn, a + b < 256: 12800 / 205
        {50, 220, 15, 136},  // soft burn, a + b >= 256: 255 - 205 * 128 / 220
        {0, 0, 22, 0},       // interpolation: both terms 0
        {255, 255, 22, 255}, // both terms 128, capped
        {100, 100, 21, 0},   // subtractive below 0
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.out, BlendPixel(c.a, c.b, c.mode)) << c.a << " " << c.b << " mode " << c.mode;
}

TEST(BlendPixel, GuardedEdges)
{
    for (int a : {0, 1, 128, 254, 255}) {
        EXPECT_EQ(255, BlendColorDodge(a, 255)) << a;
        EXPECT_EQ(0, BlendColorBurn(a, 0)) << a;
        EXPECT_EQ(255, BlendReflect(a, 255)) << a;
        EXPECT_EQ(0, BlendFreeze(a, 0)) << a;
        EXPECT_EQ(255, BlendGlow(255, a)) << a;
        EXPECT_EQ(0, BlendHeat(0, a)) << a;
    }
    // Soft dodge at a + b = 256 takes the second branch, which divides by a.
    EXPECT_EQ(255, BlendSoftDodge(1, 255));
    EXPECT_EQ(128, BlendSoftDodge(128, 128)); // 255 - 127 * 128 / 128
    EXPECT_EQ(128, BlendSoftDodge(255, 1));   // 255 - 254 * 128 / 255
    EXPECT_EQ(255, BlendSoftBurn(255, 1));
    // Stamp clamps both ways.
    EXPECT_EQ(0, BlendStamp(0, 0));
    EXPECT_EQ(0, BlendStamp(10, 50));
    EXPECT_EQ(255, BlendStamp(255, 255));
    EXPECT_EQ(84, BlendStamp(100, 120));
}

namespace {

const Rows kFirst = {{RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)},
                     {RGB(100, 110, 120), RGB(130, 140, 150), RGB(160, 170, 180)}};
const Rows kSecond = {
    {RGB(200, 200, 200), RGB(0, 0, 0)}, {RGB(90, 90, 90), RGB(30, 30, 30)}, {RGB(250, 240, 230), RGB(2, 4, 6)}};

struct TwoRun
{
    HRESULT hr = E_UNEXPECTED;
    LONG lines = -7;
    Rows result;
};

template <class Effect> TwoRun RunTwoOn(const Rows& first, const Rows& second, Effect effect)
{
    auto a = SurfaceOf(first);
    auto b = SurfaceOf(second);
    DibSurface dst(4, 4, kMarker);
    TwoRun run;
    run.hr = effect(dst.Hdc(), a->Hdc(), b->Hdc(), &run.lines);
    run.result = RowsOf(dst);
    return run;
}

} // namespace

TEST(TwoImageEffects, BlendOverTheCommonSizeOnly)
{
    // Common size 2 x 2: the bottom rows of each (first: both rows; second: rows 1 and 2),
    // the left columns, drawn at the destination's origin.
    const TwoRun run =
        RunTwoOn(kFirst, kSecond, [](HDC d, HDC a, HDC b, LONG* lines) { return DibBlendLayers(d, a, b, 1, lines); });
    ASSERT_EQ(S_OK, run.hr);
    EXPECT_EQ(2, run.lines);
    const Rows expected = {{RGB(50, 55, 60), RGB(35, 40, 45), kMarker, kMarker},
                           {RGB(175, 175, 175), RGB(66, 72, 78), kMarker, kMarker},
                           {kMarker, kMarker, kMarker, kMarker},
                           {kMarker, kMarker, kMarker, kMarker}};
    EXPECT_EQ(expected, run.result);

    const TwoRun none =
        RunTwoOn(kFirst, kSecond, [](HDC d, HDC a, HDC b, LONG* lines) { return DibBlendLayers(d, a, b, 25, lines); });
    const Rows firstPart = {{RGB(10, 20, 30), RGB(40, 50, 60), kMarker, kMarker},
                            {RGB(100, 110, 120), RGB(130, 140, 150), kMarker, kMarker},
                            {kMarker, kMarker, kMarker, kMarker},
                            {kMarker, kMarker, kMarker, kMarker}};
    EXPECT_EQ(firstPart, none.result) << "a mode outside 1..24 draws the first source";
}

TEST(TwoImageEffects, CrossFadeClampsItsOpacity)
{
    const struct
    {
        int opacity;
        COLORREF topLeft;
    } cases[] = {
        {-5, RGB(10, 20, 30)},  {0, RGB(10, 20, 30)},   {255, RGB(90, 90, 90)},
        {999, RGB(90, 90, 90)}, {128, RGB(49, 54, 59)}, // (10 * 127 + 90 * 128) >> 8 = 49.9
    };
    for (const auto& c : cases) {
        const TwoRun run = RunTwoOn(
            kFirst, kSecond, [&](HDC d, HDC a, HDC b, LONG* lines) { return DibCrossFade(d, a, b, c.opacity, lines); });
        EXPECT_EQ(S_OK, run.hr);
        EXPECT_EQ(c.topLeft, run.result[0][0]) << c.opacity;
        EXPECT_EQ(kMarker, run.result[0][2]) << c.opacity;
    }
}

TEST(TwoImageEffects, ReliefBlendDirections)
{
    auto relief = [](int direction) {
        return RunTwoOn(kFirst, kSecond, [direction](HDC d, HDC a, HDC b, LONG* lines) {
            return DibReliefBlend(d, a, b, 1.0, direction, lines);
        });
    };
    const TwoRun one = relief(1);
    ASSERT_EQ(S_OK, one.hr);
    EXPECT_EQ(2, one.lines);
    EXPECT_NE(kMarker, one.result[0][0]);
    EXPECT_EQ(one.result, relief(9).result) << "direction 9 acts as 1";
    EXPECT_EQ(one.result, relief(17).result);
    EXPECT_NE(one.result, relief(5).result) << "the opposite direction differs";

    const TwoRun zero = relief(0);
    EXPECT_EQ(S_OK, zero.hr);
    EXPECT_EQ(-7, zero.lines);
    EXPECT_EQ(Flat(4, 4, kMarker), zero.result) << "direction 0 draws nothing";

    // Over a flat first source every e is 128: the second source comes through unchanged.
    const TwoRun flat = RunTwoOn(Flat(2, 2, Grey(77)), kSecond, [](HDC d, HDC a, HDC b, LONG* lines) {
        return DibReliefBlend(d, a, b, 3.5, 4, lines);
    });
    EXPECT_EQ(RGB(90, 90, 90), flat.result[0][0]);
    EXPECT_EQ(RGB(2, 4, 6), flat.result[1][1]);
}

TEST(TwoImageEffects, EitherFailedReadFails)
{
    EffectFaults& faults = EffectTestFaults();
    for (int failing : {1, 2}) {
        faults.reads = 0;
        faults.failReadAt = failing;
        const TwoRun run = RunTwoOn(kFirst, kSecond,
                                    [](HDC d, HDC a, HDC b, LONG* lines) { return DibBlendLayers(d, a, b, 2, lines); });
        faults.failReadAt = 0;
        EXPECT_EQ(E_FAIL, run.hr) << "read " << failing;
        EXPECT_EQ(-7, run.lines);
        EXPECT_EQ(Flat(4, 4, kMarker), run.result);
    }
    // No bitmap behind the second source.
    auto a = SurfaceOf(kFirst);
    DibSurface dst(2, 2, kMarker);
    LONG lines = -7;
    EXPECT_EQ(E_FAIL, DibCrossFade(dst.Hdc(), a->Hdc(), nullptr, 10, &lines));
    EXPECT_EQ(-7, lines);
    EXPECT_EQ(Flat(2, 2, kMarker), RowsOf(dst));
}

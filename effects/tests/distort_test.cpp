// Geometric distortions on tiny surfaces, hand-worked.
#include "effects/Distort.h"
#include "effects/tests/FaultCheck.h"

#include <functional>

namespace {

typedef std::function<HRESULT(HDC, HDC, LONG*)> Effect;

// Every column its own colour, the same down each column.
Rows Columns(int w, int h)
{
    Rows rows((size_t)h, std::vector<COLORREF>((size_t)w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows[y][x] = RGB(20 * x + 5, 100, 200 - 10 * x);
    return rows;
}

const Rows kPattern = Patterned(9, 9);

} // namespace

TEST(DistortEffects, SwirlMirrorsNearTheCentre)
{
    // Twist 255: right of the centre (4, 4) on its row, the source column is 2 * 4 - x: the turn
    // r / 255 is far too small to move a pixel there.
    const Rows swirled = Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSwirl(d, s, 255, l); });
    for (int x = 5; x < 9; ++x)
        EXPECT_EQ(kPattern[4][8 - x], swirled[4][x]) << x;
    EXPECT_EQ(swirled, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSwirl(d, s, 1000, l); }));
    EXPECT_NE(swirled, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSwirl(d, s, 3, l); }));
    // Twist 0 would divide by zero: a copy.
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSwirl(d, s, 0, l); }));
}

TEST(DistortEffects, NeutralParametersCopy)
{
    for (const Effect& copy : std::vector<Effect>{
             [](HDC d, HDC s, LONG*l) { return DibTwirl(d, s, 0, l); },
             [](HDC d, HDC s, LONG*l) { return DibRipple(d, s, 0, 40, l); },
             [](HDC d, HDC s, LONG*l) { return DibRipple(d, s, -5, 40, l); },
             [](HDC d, HDC s, LONG*l) { return DibRippleGrowing(d, s, 0, 40, l); },
             [](HDC d, HDC s, LONG*l) { return DibWaves(d, s, 0, 30, 1, l); },
         })
        EXPECT_EQ(kPattern, Apply(kPattern, copy));
    EXPECT_NE(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibTwirl(d, s, 100, l); }));
    EXPECT_NE(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibRipple(d, s, 3, 40, l); }));
}

TEST(DistortEffects, LensesAtStrengthZeroDrawNothing)
{
    for (const Effect& none : std::vector<Effect>{
             [](HDC d, HDC s, LONG*l) { return DibLens(d, s, 0.0, l); },
             [](HDC d, HDC s, LONG*l) { return DibCylinderLens(d, s, 0.0, l); },
         }) {
        const EffectRun run = RunOn(kPattern, none);
        EXPECT_EQ(S_OK, run.hr);
        EXPECT_EQ(-7, run.lines);
        EXPECT_EQ(Flat(9, 9, kMarker), run.result);
    }
    // A lens less than two pixels across has no radius: a copy.
    const Rows thin = Patterned(5, 1);
    EXPECT_EQ(thin, Apply(thin, [](HDC d, HDC s, LONG* l) { return DibLens(d, s, 500.0, l); }));
    EXPECT_EQ(thin, Apply(thin, [](HDC d, HDC s, LONG* l) { return DibCylinderLens(d, s, -500.0, l); }));
}

TEST(DistortEffects, CylinderLensMagnifiesTheMiddleColumns)
{
    // 9 x 9, strength 1000: k = 1, m = 4, q = 4 / ln 5, so d' = 5^(d / 4) - 1: 0.50, 1.24, 2.34
    // for d = 1, 2, 3, truncated to 0, 1, 2; columns 0 and 8 (d = 4) are copied.
    const Rows source = Columns(9, 9);
    const int from[9] = {0, 2, 3, 4, 4, 4, 5, 6, 8};
    const Rows lensed = Apply(source, [](HDC d, HDC s, LONG* l) { return DibCylinderLens(d, s, 1000.0, l); });
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(source[y][from[x]], lensed[y][x]) << x << "," << y;
    // The round lens keeps the centre and the corners (beyond m).
    const Rows round = Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibLens(d, s, 1000.0, l); });
    EXPECT_EQ(kPattern[4][4], round[4][4]);
    EXPECT_EQ(kPattern[0][0], round[0][0]);
    EXPECT_EQ(kPattern[8][8], round[8][8]);
    EXPECT_NE(kPattern, round);
}

TEST(DistortEffects, PolarRemapsRepeat)
{
    for (const Effect& effect : std::vector<Effect>{
             [](HDC d, HDC s, LONG*l) { return DibBulge(d, s, l); },
             [](HDC d, HDC s, LONG*l) { return DibBulgeDoubleAngle(d, s, l); },
             [](HDC d, HDC s, LONG*l) { return DibPinch(d, s, l); },
             [](HDC d, HDC s, LONG*l) { return DibHalfAngle(d, s, l); },
             [](HDC d, HDC s, LONG*l) { return DibPolarToRect(d, s, 0, l); },
             [](HDC d, HDC s, LONG*l) { return DibTwistGradient(d, s, 2.0, -1.0, l); },
             [](HDC d, HDC s, LONG*l) { return DibWaves(d, s, 2, 30, 2, l); },
         }) {
        const Rows once = Apply(kPattern, effect);
        EXPECT_EQ(once, Apply(kPattern, effect)) << "unwritten pixels keep the source's";
        EXPECT_NE(kPattern, once);
    }
    // Bulge: the centre pixel (r = 0) takes the centre, mirrored to column 8 - 4 = 4.
    EXPECT_EQ(kPattern[4][4], Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibBulge(d, s, l); })[4][4]);
    // Even tiny images: 1 x 1 and 2 x 1.
    for (const Rows& tiny : {Patterned(1, 1), Patterned(2, 1), Patterned(1, 2)})
        for (const Effect& effect : std::vector<Effect>{
                 [](HDC d, HDC s, LONG*l) { return DibPolarToRect(d, s, 0, l); },
                 [](HDC d, HDC s, LONG*l) { return DibTwirl(d, s, 50, l); },
                 [](HDC d, HDC s, LONG*l) { return DibPinch(d, s, l); },
             })
            EXPECT_EQ(S_OK, RunOn(tiny, effect).hr);
}

TEST(DistortEffects, WaterDropsOfEverySmallSizeEnd)
{
    for (int largest = -3; largest <= 6; ++largest) {
        const DWORD start = ::GetTickCount();
        const EffectRun run = RunOn(
            Patterned(40, 30), [largest](HDC d, HDC s, LONG* l) { return DibWaterDrops(d, s, largest, 50, 60, l); });
        EXPECT_EQ(S_OK, run.hr) << largest;
        EXPECT_EQ(30, run.lines) << largest;
        EXPECT_LT(::GetTickCount() - start, 5000u) << largest;
    }
    // Large drops on a small image, many of them: still bounded.
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(S_OK, RunOn(Patterned(20, 20), [](HDC d, HDC s, LONG* l) {
                        return DibWaterDrops(d, s, 1000000, 1000000, 100, l);
                    }).hr);
    EXPECT_LT(::GetTickCount() - start, 10000u);
}

TEST(DistortEffects, FailuresAreClean)
{
    ExpectCleanFailures("DibWaterDrops", [](HDC d, HDC s, LONG* l) { return DibWaterDrops(d, s, 12, 3, 50, l); });
    ExpectCleanFailures("DibPolarToRect", [](HDC d, HDC s, LONG* l) { return DibPolarToRect(d, s, 0, l); });
    ExpectCleanFailures("DibSwirl", [](HDC d, HDC s, LONG* l) { return DibSwirl(d, s, 40, l); });
    ExpectCleanFailures("DibLens", [](HDC d, HDC s, LONG* l) { return DibLens(d, s, -300.0, l); });
}

// Pixel shuffles and blit effects on tiny surfaces, hand-worked.
#include "effects/Shuffle.h"
#include "effects/tests/FaultCheck.h"

#include <functional>

namespace {

typedef std::function<HRESULT(HDC, HDC, LONG*)> Effect;

Rows Reversed(Rows rows)
{
    std::reverse(rows.begin(), rows.end());
    return rows;
}

const Rows kPattern = Patterned(5, 3);

} // namespace

TEST(ShuffleEffects, SwapRowPairs)
{
    // Buffer rows run bottom-up: the bottom two image rows swap, the top one (odd height) stays.
    const Rows once = Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibSwapRowPairs(d, s, l); });
    EXPECT_EQ((Rows{kPattern[0], kPattern[2], kPattern[1]}), once);
    EXPECT_EQ(kPattern, Apply(once, [](HDC d, HDC s, LONG* l) { return DibSwapRowPairs(d, s, l); }));
}

TEST(ShuffleEffects, Pixelate)
{
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibPixelate(d, s, 1, l); }));
    // Larger than the image: the sample is at (4 / 2, 2 / 2) of the buffer, the middle pixel.
    EXPECT_EQ(Flat(5, 3, kPattern[1][2]),
              Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibPixelate(d, s, 10, l); }));
    EXPECT_EQ(Flat(5, 3, kPattern[1][2]),
              Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibPixelate(d, s, 0x7FFFFFFF, l); }));
    // 4 x 2 in blocks of 2: the samples are buffer (1, 0) and (2, 0), both in the bottom row.
    const Rows small = Patterned(4, 2);
    const COLORREF a = small[1][1], b = small[1][2];
    EXPECT_EQ((Rows{{a, a, b, b}, {a, a, b, b}}),
              Apply(small, [](HDC d, HDC s, LONG* l) { return DibPixelate(d, s, 2, l); }));
    // No block size: nothing drawn, 0 lines.
    for (int n : {0, -4}) {
        const EffectRun run = RunOn(kPattern, [n](HDC d, HDC s, LONG* l) { return DibPixelate(d, s, n, l); });
        EXPECT_EQ(S_OK, run.hr);
        EXPECT_EQ(0, run.lines);
        EXPECT_EQ(Flat(5, 3, kMarker), run.result);
    }
}

TEST(ShuffleEffects, MirrorFromColumn)
{
    EXPECT_EQ(kPattern, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibMirrorFromColumn(d, s, 5, l); }))
        << "the width: nothing changes, but it is drawn";
    Rows fromOne = kPattern;
    for (size_t y = 0; y < 3; ++y)
        for (size_t x = 1; x < 5; ++x)
            fromOne[y][x] = kPattern[y][4 - x];
    EXPECT_EQ(fromOne, Apply(kPattern, [](HDC d, HDC s, LONG* l) { return DibMirrorFromColumn(d, s, 1, l); }));
    for (int column : {0, 6, -1}) {
        const EffectRun run =
            RunOn(kPattern, [column](HDC d, HDC s, LONG* l) { return DibMirrorFromColumn(d, s, column, l); });
        EXPECT_EQ((HRESULT)0xFFFFFFFF, run.hr) << column;
        EXPECT_EQ(-7, run.lines);
        EXPECT_EQ(Flat(5, 3, kMarker), run.result);
    }
}

TEST(ShuffleEffects, Drip)
{
    const Rows black = Flat(4, 6, 0);
    EXPECT_EQ(black, Apply(black, [](HDC d, HDC s, LONG* l) { return DibDrip(d, s, 50, l); }));
    // One column of 8: white at row 6 from the top, d = 255 / 50 = 5; with one row below it,
    // ReflectIndex lets it run one row up only.
    const COLORREF K = 0, W = Grey(255);
    const Rows column = {{K}, {K}, {K}, {K}, {K}, {K}, {W}, {K}};
    EXPECT_EQ((Rows{{K}, {K}, {K}, {K}, {K}, {W}, {W}, {K}}),
              Apply(column, [](HDC d, HDC s, LONG* l) { return DibDrip(d, s, 50, l); }));
    // Amount 1 (and below): d = 255, and t - d < 1 everywhere: nothing runs.
    const Rows high = {{K}, {K}, {K}, {W}, {K}, {K}, {K}, {K}};
    EXPECT_EQ(high, Apply(high, [](HDC d, HDC s, LONG* l) { return DibDrip(d, s, -3, l); }));
}

TEST(ShuffleEffects, DiffuseKeepsTheOuterRows)
{
    const Rows source = Patterned(10, 10);
    const Rows diffused = Apply(source, [](HDC d, HDC s, LONG* l) { return DibDiffuse(d, s, l); });
    for (int y : {0, 1, 2, 8, 9})
        EXPECT_EQ(source[y], diffused[y]) << y;
    const Rows flat = Flat(10, 10, RGB(5, 6, 7));
    EXPECT_EQ(flat, Apply(flat, [](HDC d, HDC s, LONG* l) { return DibDiffuse(d, s, l); }));
}

TEST(BlitEffects, FlipWithBothFlagsIsTheVerticalMirror)
{
    auto flip = [](BOOL h, BOOL v) {
        auto src = SurfaceOf(kPattern);
        DibSurface dst(5, 3, kMarker);
        EXPECT_EQ(0, DibFlip(dst.Hdc(), src->Hdc(), 5, 3, h, v));
        return RowsOf(dst);
    };
    const Rows vertical = flip(FALSE, TRUE);
    EXPECT_EQ(Reversed(kPattern), vertical);
    EXPECT_EQ(vertical, flip(TRUE, TRUE));
    Rows mirrored = kPattern;
    for (auto& row : mirrored)
        std::reverse(row.begin(), row.end());
    EXPECT_EQ(mirrored, flip(TRUE, FALSE));
    EXPECT_EQ(Flat(5, 3, kMarker), flip(FALSE, FALSE));
}

TEST(BlitEffects, ScatterWaveAndCopy)
{
    // Jitter 1 (or less): every tile to its own place.
    for (int jitter : {1, 0, -9}) {
        const EffectRun run =
            RunOn(kPattern, [jitter](HDC d, HDC s, LONG* l) { return DibScatterTiles(d, s, 2, 2, jitter, l); });
        EXPECT_EQ(S_OK, run.hr);
        EXPECT_EQ(1, run.lines);
        EXPECT_EQ(kPattern, run.result) << jitter;
    }
    const EffectRun still = RunOn(kPattern, [](HDC d, HDC s, LONG* l) { return DibWaveStrips(d, s, 0, 30, 1, 1, l); });
    EXPECT_EQ(S_OK, still.hr);
    EXPECT_EQ(1, still.lines);
    EXPECT_EQ(kPattern, still.result);
    // Columns moved by trunc(sin(2 * 45 * i degrees) * 2), the degree a hair short: 0, 1, 0, -1, 0.
    const EffectRun waved = RunOn(kPattern, [](HDC d, HDC s, LONG* l) { return DibWaveStrips(d, s, 2, 45, 0, 0, l); });
    EXPECT_EQ(kPattern[0][0], waved.result[0][0]);
    EXPECT_EQ(kMarker, waved.result[0][1]);
    EXPECT_EQ(kPattern[0][1], waved.result[1][1]);
    EXPECT_EQ(kPattern[1][3], waved.result[0][3]);
    EXPECT_EQ(kMarker, waved.result[2][3]);

    LONG lines = -7;
    DibSurface dst(5, 3, kMarker);
    EXPECT_EQ(E_FAIL, DibScatterTiles(dst.Hdc(), nullptr, 2, 2, 1, &lines));
    EXPECT_EQ(E_FAIL, DibWaveStrips(dst.Hdc(), nullptr, 2, 2, 1, 1, &lines));
    EXPECT_EQ(-7, lines);

    auto src = SurfaceOf(kPattern);
    EXPECT_EQ(0, DibCopy(dst.Hdc(), 1, 1, 2, 1, src->Hdc(), 3, 0, SRCCOPY, &lines));
    EXPECT_EQ(1, lines);
    EXPECT_EQ(kPattern[0][3], RowsOf(dst)[1][1]);
    EXPECT_EQ(kPattern[0][4], RowsOf(dst)[1][2]);
    EXPECT_EQ(kMarker, RowsOf(dst)[1][3]);
    EXPECT_EQ(0, DibCopy(dst.Hdc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY, &lines));
    EXPECT_EQ(0, lines) << "a failed BitBlt reports 0";
}

TEST(ShuffleEffects, FailuresAreClean)
{
    ExpectCleanFailures("DibDrip", [](HDC d, HDC s, LONG* l) { return DibDrip(d, s, 5, l); });
    ExpectCleanFailures("DibMirrorFromColumn", [](HDC d, HDC s, LONG* l) { return DibMirrorFromColumn(d, s, 2, l); });
    ExpectCleanFailures("DibPixelate", [](HDC d, HDC s, LONG* l) { return DibPixelate(d, s, 2, l); });
}

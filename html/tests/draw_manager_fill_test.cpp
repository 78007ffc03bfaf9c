// The drawing manager's fills, framed rectangles and lines, by the pixels they leave.
#include "html/DrawManager.h"
#include "testsupport/DibSurface.h"
#include <gtest/gtest.h>

namespace {

const COLORREF kBack = RGB(1, 2, 3);

// Every pixel of rect in colour, every other one untouched.
void ExpectFilled(const DibSurface& s, const RECT& rect, COLORREF colour, const char* what)
{
    int wrong = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) {
            const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
            if (s.At(x, y) != (inside ? colour : kBack) && wrong++ < 3)
                ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << s.At(x, y);
        }
}

TEST(DrawManagerFills, GradientBands)
{
    CPPDrawManager manager;
    // 64 columns: one band each, band i = (c1 x (64 - i) + c2 x i) >> 6.
    DibSurface wide(66, 1, kBack);
    manager.FillGradient(wide.Hdc(), RECT{1, 0, 65, 1}, RGB(0, 255, 40), RGB(255, 0, 40), TRUE);
    const struct
    {
        int band;
        COLORREF colour;
    } bands[] = {{0, RGB(0, 255, 40)}, {1, RGB(3, 251, 40)}, {32, RGB(127, 127, 40)}, {63, RGB(251, 3, 40)}};
    for (const auto& b : bands)
        EXPECT_EQ(b.colour, wide.At(1 + b.band, 0)) << "band " << b.band;
    EXPECT_EQ(kBack, wide.At(0, 0));
    EXPECT_EQ(kBack, wide.At(65, 0));

    // 10 rows: most bands are empty and skipped; row 0 shows band 6, the last row band 63.
    DibSurface tall(1, 10, kBack);
    manager.FillGradient(tall.Hdc(), RECT{0, 0, 1, 10}, RGB(0, 0, 0), RGB(255, 255, 255), FALSE);
    EXPECT_EQ(RGB(23, 23, 23), tall.At(0, 0));
    EXPECT_EQ(RGB(251, 251, 251), tall.At(0, 9));
    for (int y = 1; y < 10; ++y)
        EXPECT_GT(GetRValue(tall.At(0, y)), GetRValue(tall.At(0, y - 1))) << y;

    // 128 columns: bands of two.
    DibSurface double_(128, 1, kBack);
    manager.FillGradient(double_.Hdc(), RECT{0, 0, 128, 1}, RGB(0, 0, 0), RGB(128, 0, 0), TRUE);
    EXPECT_EQ(double_.At(10, 0), double_.At(11, 0));
    EXPECT_NE(double_.At(11, 0), double_.At(12, 0));
}

TEST(DrawManagerFills, EveryEffectNumberCoversItsRectangle)
{
    // With one colour three times every effect, texture or not, fills exactly the rectangle.
    // Granularities far out of range too: the noise divides by a quotient of it.
    const RECT rect = {2, 1, 22, 13};
    for (int granularity : {5, 0, -3, 20000, 0x7FFFFFFF})
        for (int effect = -2; effect <= 17; ++effect) {
            CPPDrawManager manager;
            DibSurface s(24, 15, kBack);
            manager.FillEffect(s.Hdc(), effect, rect, RGB(10, 120, 230), RGB(10, 120, 230), RGB(10, 120, 230),
                               granularity, 0);
            ExpectFilled(s, rect, RGB(10, 120, 230),
                         ("effect " + std::to_string(effect) + ", granularity " + std::to_string(granularity)).c_str());
        }
    // Solid ones take c1 whatever the others are.
    for (int effect : {0, -1, 16, 100}) {
        CPPDrawManager manager;
        DibSurface s(24, 15, kBack);
        manager.FillEffect(s.Hdc(), effect, rect, RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), 5, 0);
        ExpectFilled(s, rect, RGB(200, 0, 0), ("solid effect " + std::to_string(effect)).c_str());
    }
}

TEST(DrawManagerFills, GradientEffectsRunBetweenTheirColours)
{
    const COLORREF c1 = RGB(0, 0, 0), c2 = RGB(128, 128, 128), c3 = RGB(255, 255, 255);
    struct Case
    {
        int effect;
        bool horizontal;
        COLORREF first, middle; // at the start and at the start of the second half
    } cases[] = {
        {CPPDrawManager::EFFECT_HGRADIENT, true, c1, RGB(127, 127, 127)},
        {CPPDrawManager::EFFECT_VGRADIENT, false, c1, RGB(127, 127, 127)},
        {CPPDrawManager::EFFECT_HCGRADIENT, true, c1, c3},
        {CPPDrawManager::EFFECT_VCGRADIENT, false, c1, c3},
        {CPPDrawManager::EFFECT_3HGRADIENT, true, c1, c2},
        {CPPDrawManager::EFFECT_3VGRADIENT, false, c1, c2},
    };
    for (const Case& c : cases) {
        CPPDrawManager manager;
        DibSurface s(128, 128, kBack);
        manager.FillEffect(s.Hdc(), c.effect, RECT{0, 0, 128, 128}, c1, c2, c3, 5, 0);
        auto at = [&](int i) { return c.horizontal ? s.At(i, 64) : s.At(64, i); };
        EXPECT_EQ(c.first, at(0)) << "effect " << c.effect;
        EXPECT_EQ(c.middle, at(64)) << "effect " << c.effect;
        // The far end is near c1 for the two-way ones, near c3 for the rest.
        const int end = GetRValue(at(127));
        if (c.effect == CPPDrawManager::EFFECT_HCGRADIENT || c.effect == CPPDrawManager::EFFECT_VCGRADIENT)
            EXPECT_LT(end, 10) << "effect " << c.effect;
        else
            EXPECT_GT(end, 245) << "effect " << c.effect;
    }
}

// The shades run from c3 at the bottom (or right) to c1 at the top (or left).
TEST(DrawManagerFills, TexturesShadeTheirWay)
{
    const COLORREF white = RGB(255, 255, 255), grey = RGB(128, 128, 128), black = RGB(0, 0, 0);
    {
        CPPDrawManager manager;
        DibSurface s(32, 64, kBack);
        manager.FillEffect(s.Hdc(), CPPDrawManager::EFFECT_HSHADE, RECT{0, 0, 32, 64}, white, grey, black, 0, 0);
        EXPECT_GT(GetRValue(s.At(5, 0)), 240);
        EXPECT_LT(GetRValue(s.At(5, 63)), 10);
    }
    {
        CPPDrawManager manager;
        DibSurface s(64, 32, kBack);
        manager.FillEffect(s.Hdc(), CPPDrawManager::EFFECT_VSHADE, RECT{0, 0, 64, 32}, white, grey, black, 0, 0);
        EXPECT_GT(GetRValue(s.At(0, 5)), 240);
        EXPECT_LT(GetRValue(s.At(63, 5)), 10);
    }
    {
        // A blend of 100 % makes every palette entry c1.
        CPPDrawManager manager;
        DibSurface s(16, 16, kBack);
        manager.FillEffect(s.Hdc(), CPPDrawManager::EFFECT_NOISE, RECT{0, 0, 16, 16}, white, grey, black, 20, 100);
        ExpectFilled(s, RECT{0, 0, 16, 16}, white, "noise blended fully");
    }
}

// The hard bump divides by a quarter of the height squared and the metal by 32767 / a side:
// on rectangles where those are 0 both fill with c1.
TEST(DrawManagerFills, DegenerateTexturesFillWithTheFirstColour)
{
    struct Case
    {
        int width, height;
    } sizes[] = {{1, 1}, {40000, 2}, {1, 9}, {9, 1}, {2, 40000}};
    const COLORREF c1 = RGB(90, 30, 200);
    for (int effect : {CPPDrawManager::EFFECT_HARDBUMP, CPPDrawManager::EFFECT_METAL}) {
        for (const Case& c : sizes) {
            CPPDrawManager manager;
            DibSurface s(c.width + 2, c.height + 2, kBack);
            ASSERT_TRUE(s.Valid());
            const RECT rect = {1, 1, 1 + c.width, 1 + c.height};
            manager.FillEffect(s.Hdc(), effect, rect, c1, RGB(0, 0, 0), RGB(255, 255, 255), 5, 0);
            ExpectFilled(
                s, rect, c1,
                ("effect " + std::to_string(effect) + " on " + std::to_string(c.width) + "x" + std::to_string(c.height))
                    .c_str());
        }
        // On an ordinary rectangle they are textures, not a plain fill.
        CPPDrawManager manager;
        DibSurface s(40, 20, kBack);
        manager.FillEffect(s.Hdc(), effect, RECT{0, 0, 40, 20}, c1, RGB(0, 0, 0), RGB(255, 255, 255), 5, 0);
        int other = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                other += s.At(x, y) != c1;
        EXPECT_GT(other, 100) << "effect " << effect;
    }
}

TEST(DrawManagerLines, RectangleSidesAndDoubleFrame)
{
    const COLORREF R = RGB(255, 0, 0), B = RGB(0, 0, 255), W = RGB(255, 255, 255);
    CPPDrawManager manager;
    {
        // Top and left in colour 1 from the bottom-left corner, right and bottom in colour 2.
        DibSurface s(6, 5, W);
        manager.DrawRectangle(s.Hdc(), 0, 0, 6, 5, R, B, CPPDrawManager::PEN_SOLID, 1);
        const COLORREF want[5][6] = {
            {R, R, R, R, R, B}, {R, W, W, W, W, B}, {R, W, W, W, W, B}, {R, W, W, W, W, B}, {R, B, B, B, B, B},
        };
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(want[y][x], s.At(x, y)) << "solid, pixel " << x << "," << y;
    }
    {
        // Double: the frame again, inset by twice the width.
        DibSurface s(8, 8, W);
        manager.DrawRectangle(s.Hdc(), RECT{0, 0, 8, 8}, R, R, CPPDrawManager::PEN_DOUBLE, 1);
        const char* rows[8] = {"########", "#......#", "#.####.#", "#.#..#.#",
                               "#.#..#.#", "#.####.#", "#......#", "########"};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(rows[y][x] == '#' ? R : W, s.At(x, y)) << "double, pixel " << x << "," << y;
    }
    {
        // A width of 3 lies inside the rectangle.
        DibSurface s(12, 12, W);
        manager.DrawRectangle(s.Hdc(), 0, 0, 12, 12, R, R, CPPDrawManager::PEN_SOLID, 3);
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(x < 3 ? R : W, s.At(x, 6)) << "wide, column " << x;
    }
    // Style 0 or a width below 1: nothing.
    for (int width : {0, -2}) {
        DibSurface s(6, 5, W);
        manager.DrawRectangle(s.Hdc(), 0, 0, 6, 5, R, B, CPPDrawManager::PEN_SOLID, width);
        manager.DrawRectangle(s.Hdc(), 0, 0, 6, 5, R, B, CPPDrawManager::PEN_NULL, 1);
        manager.DrawLine(s.Hdc(), 0, 2, 6, 2, R, CPPDrawManager::PEN_NULL, 1);
        manager.DrawLine(s.Hdc(), 0, 2, 6, 2, R, CPPDrawManager::PEN_SOLID, width);
        EXPECT_EQ(0, s.Ink(W).right) << "width " << width;
    }
}

TEST(DrawManagerLines, LineStylesDrawTheirOwnPatterns)
{
    const COLORREF R = RGB(255, 0, 0), W = RGB(255, 255, 255);
    CPPDrawManager manager;
    std::vector<std::string> patterns;
    for (int style = 1; style <= 5; ++style) {
        DibSurface s(60, 3, W);
        manager.DrawLine(s.Hdc(), 0, 1, 60, 1, R, style, 1);
        std::string pattern;
        for (int x = 0; x < 60; ++x)
            pattern += s.At(x, 1) == R ? '#' : '.';
        EXPECT_EQ('#', pattern[0]) << "style " << style;
        patterns.push_back(pattern);
    }
    EXPECT_EQ(std::string(60, '#'), patterns[0]) << "solid";
    for (int i = 1; i < 5; ++i) {
        EXPECT_NE(std::string::npos, patterns[i].find('.')) << "style " << i + 1 << ": " << patterns[i];
        for (int j = 0; j < i; ++j)
            EXPECT_NE(patterns[j], patterns[i]) << "styles " << j + 1 << " and " << i + 1;
    }
    // Any other code is solid.
    DibSurface s(60, 3, W);
    manager.DrawLine(s.Hdc(), 0, 1, 60, 1, R, 9, 1);
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(R, s.At(x, 1)) << x;
}

TEST(DrawManagerLines, DoubleLineLiesBelowOrRight)
{
    const COLORREF R = RGB(255, 0, 0), W = RGB(255, 255, 255);
    CPPDrawManager manager;
    DibSurface h(8, 6, W);
    manager.DrawLine(h.Hdc(), 0, 1, 8, 1, R, CPPDrawManager::PEN_DOUBLE, 1);
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(y == 1 || y == 3 ? R : W, h.At(4, y)) << "horizontal, row " << y;
    DibSurface v(6, 8, W);
    manager.DrawLine(v.Hdc(), 1, 0, 1, 8, R, CPPDrawManager::PEN_DOUBLE, 1);
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(x == 1 || x == 3 ? R : W, v.At(x, 4)) << "vertical, column " << x;
}

} // namespace

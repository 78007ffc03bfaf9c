// The drawing manager's colour helpers, blends, image effects, images and shadows, by the
// pixels they leave on tiny memory DCs.
#include "html/DibCanvas.h"
#include "html/DrawManager.h"
#include "testsupport/DibSurface.h"
#include "testsupport/GdiCheck.h"
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A top-down 32-bit DIB section selected nowhere (the manager selects it itself) whose
// pixel (x, y) is word(x, y), blue in the low byte.  The caller deletes it.
HBITMAP NewSection(int width, int height, const std::function<DWORD(int x, int y)>& word)
{
    CDibCanvas canvas;
    if (!canvas.Create(nullptr, width, height))
        return nullptr;
    DWORD* p = canvas.Bits();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p[y * width + x] = word(x, y);
    return canvas.Detach();
}

// A section with its pixels given as words, row by row, owned for the scope.
class SourceBitmap
{
public:
    SourceBitmap(int width, int height, std::initializer_list<DWORD> pixels)
    {
        const std::vector<DWORD> words(pixels);
        m_bitmap = NewSection(width, height, [&](int x, int y) {
            const size_t i = (size_t)y * width + x;
            return i < words.size() ? words[i] : 0;
        });
    }
    ~SourceBitmap() { ::DeleteObject(m_bitmap); }
    SourceBitmap(const SourceBitmap&) = delete;
    SourceBitmap& operator=(const SourceBitmap&) = delete;
    HBITMAP Get() const { return m_bitmap; }

private:
    HBITMAP m_bitmap;
};

// The pixel words of a DIB section the manager made.
std::vector<DWORD> PixelsOf(HBITMAP bitmap)
{
    DIBSECTION section = {};
    if (!bitmap || ::GetObject(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits)
        return {};
    ::GdiFlush();
    const DWORD* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
    return std::vector<DWORD>(bits, bits + (size_t)section.dsBm.bmWidth * section.dsBm.bmHeight);
}

TEST(DrawManagerColours, HelpersAtTheirEdges)
{
    // Pixel words: 0x00RRGGBB.
    EXPECT_EQ(0x4C4C4Cu, CPPDrawManager::GrayColor(0xFF0000)); // 76.2
    EXPECT_EQ(0x969696u, CPPDrawManager::GrayColor(0x00FF00)); // 149.7
    EXPECT_EQ(0x1D1D1Du, CPPDrawManager::GrayColor(0x0000FF)); // 29.1
    EXPECT_EQ(0xFFFFFFu, CPPDrawManager::GrayColor(0xFFFFFF));
    EXPECT_EQ(0u, CPPDrawManager::GrayColor(0));
    EXPECT_EQ(RGB(76, 76, 76), CPPDrawManager::GrayColorRef(RGB(255, 0, 0)));
    EXPECT_EQ(0xEDCBA9u, CPPDrawManager::InvertColor(0x123456));

    struct Case
    {
        DWORD pixel;
        double factor;
        DWORD darker, lighter;
    } cases[] = {
        {0x808080, 0.5, 0x404040, 0xC0C0C0},
        {0x00C8DC, 0.25, 0x003237, 0x00FAFF}, // 200 -> 250 and 220 -> 255 (capped)
        {0x010101, 0.5, 0x010101, 0x020202},  // halves round to nearest
        {0xC8C8C8, 0.75, 0x969696, 0xFFFFFF},
        {0x646464, 1.0, 0x646464, 0xC8C8C8}, // darker needs f < 1, lighter allows 1
        {0x646464, 0.0, 0x000000, 0x646464}, // darker allows 0, lighter needs f > 0
        {0x646464, 1.5, 0x646464, 0x646464},
        {0x646464, -0.1, 0x646464, 0x646464},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.darker, CPPDrawManager::DarkenColor(c.pixel, c.factor)) << std::hex << c.pixel << " " << c.factor;
        EXPECT_EQ(c.lighter, CPPDrawManager::LightenColor(c.pixel, c.factor)) << std::hex << c.pixel << " " << c.factor;
    }

    EXPECT_EQ(0x800080u, CPPDrawManager::MixColors(0xFF0000, 0.5, 0x0000FF, 0.5));
    EXPECT_EQ(0x123456u, CPPDrawManager::MixColors(0xFF123456, 1.0, 0xFFFFFF, 0.0)); // high byte 0
    EXPECT_EQ(0xFFFFFFu, CPPDrawManager::MixColors(0xFFFFFF, 1.0, 0xFFFFFF, 1.0));   // capped
}

TEST(DrawManagerColours, SizesOfBitmapsAndIcons)
{
    SourceBitmap bitmap(5, 3, {});
    const SIZE size = CPPDrawManager::GetSizeOfBitmap(bitmap.Get());
    EXPECT_EQ(5, size.cx);
    EXPECT_EQ(3, size.cy);
    const SIZE none = CPPDrawManager::GetSizeOfBitmap(nullptr);
    EXPECT_EQ(0, none.cx);
    EXPECT_EQ(0, none.cy);
    const SIZE noIcon = CPPDrawManager::GetSizeOfIcon(nullptr);
    EXPECT_EQ(0, noIcon.cx);
    EXPECT_EQ(0, noIcon.cy);
}

TEST(DrawManagerBlends, AlphaBltAtEveryPercent)
{
    struct Case
    {
        int percent;
        COLORREF inside;
    } cases[] = {
        {0, RGB(0, 100, 200)},    // the destination stays
        {50, RGB(100, 100, 100)}, // half of each
        {100, RGB(200, 100, 0)},  // a plain copy
        {150, RGB(200, 100, 0)},  {-20, RGB(0, 100, 200)},
    };
    for (const Case& c : cases) {
        CPPDrawManager manager;
        DibSurface src(4, 2, RGB(200, 100, 0));
        DibSurface dst(4, 2, RGB(0, 100, 200));
        manager.AlphaBlt(dst.Hdc(), 1, 0, 2, 2, src.Hdc(), 0, 0, c.percent);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(x == 1 || x == 2 ? c.inside : RGB(0, 100, 200), dst.At(x, y))
                    << c.percent << "%, pixel " << x << "," << y;
    }
}

TEST(DrawManagerBlends, AlphaChannelBltUsesEachSourceAlpha)
{
    CPPDrawManager manager;
    DibSurface src(3, 1, RGB(255, 255, 255));
    src.SetRaw(0, 0, 0x00FF0000); // alpha 0: the destination stays
    src.SetRaw(1, 0, 0x80FF0000); // alpha 128: about half
    src.SetRaw(2, 0, 0xFFFF0000); // alpha 255: the source
    DibSurface dst(3, 1, RGB(255, 255, 255));
    manager.AlphaChannelBlt(dst.Hdc(), 0, 0, 3, 1, src.Hdc(), 0, 0);
    EXPECT_EQ(RGB(255, 255, 255), dst.At(0, 0));
    EXPECT_EQ(RGB(255, 127, 127), dst.At(1, 0));
    EXPECT_EQ(RGB(255, 0, 0), dst.At(2, 0));
}

TEST(DrawManagerBlends, MultipleCopyTilesAndCutsAtTheEdges)
{
    CPPDrawManager manager;
    DibSurface src(2, 2, RGB(255, 255, 255));
    const COLORREF tile[2][2] = {{RGB(1, 0, 0), RGB(2, 0, 0)}, {RGB(3, 0, 0), RGB(4, 0, 0)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            src.Set(x, y, tile[y][x]);
    DibSurface dst(7, 4, RGB(9, 9, 9));
    manager.MultipleCopy(dst.Hdc(), 1, 0, 5, 3, src.Hdc(), 0, 0, 2, 2);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool inside = x >= 1 && x < 6 && y < 3;
            EXPECT_EQ(inside ? tile[y % 2][(x - 1) % 2] : RGB(9, 9, 9), dst.At(x, y)) << x << "," << y;
        }
}

TEST(DrawManagerImages, ImageEffectsPixelByPixel)
{
    const DWORD mask = 0xFF00FF; // magenta as a pixel word
    struct Case
    {
        WORD flags;
        BOOL useMask;
        DWORD source, expected;
    } cases[] = {
        {0, FALSE, 0xC86428, 0xC86428},
        {CPPDrawManager::IMAGE_EFFECT_GRAY, FALSE, 0xFF0000, 0x4C4C4C},
        {CPPDrawManager::IMAGE_EFFECT_DARKER, FALSE, 0xC86428, 0x964B1E},  // x 0.75
        {CPPDrawManager::IMAGE_EFFECT_LIGHTER, FALSE, 0xC86428, 0xFA7D32}, // x 1.25
        {CPPDrawManager::IMAGE_EFFECT_MONO, FALSE, 0xC86428, 0x0A141E},    // the mono colour
        {CPPDrawManager::IMAGE_EFFECT_INVERT, FALSE, 0xC86428, 0x379BD7},
        {CPPDrawManager::IMAGE_EFFECT_GRAY | CPPDrawManager::IMAGE_EFFECT_INVERT, FALSE, 0xFF0000, 0xB3B3B3},
        {CPPDrawManager::IMAGE_EFFECT_GRAY | CPPDrawManager::IMAGE_EFFECT_DARKER, FALSE, 0xFFFFFF, 0xBFBFBF},
        {CPPDrawManager::IMAGE_EFFECT_GRAY, TRUE, mask, 0x000000},   // masked: 0, no effect
        {CPPDrawManager::IMAGE_EFFECT_INVERT, TRUE, mask, 0xFFFFFF}, // inverted all the same
        {CPPDrawManager::IMAGE_EFFECT_MONO | CPPDrawManager::IMAGE_EFFECT_INVERT, TRUE, 0x123456, 0xF5EBE1},
    };
    CPPDrawManager manager;
    for (const Case& c : cases) {
        SourceBitmap source(1, 1, {c.source});
        HBITMAP made =
            manager.CreateImageEffect(source.Get(), 1, 1, c.flags, c.useMask, RGB(255, 0, 255), RGB(10, 20, 30));
        ASSERT_NE(nullptr, made) << std::hex << c.flags;
        const std::vector<DWORD> pixels = PixelsOf(made);
        ::DeleteObject(made);
        ASSERT_EQ(1u, pixels.size());
        EXPECT_EQ(c.expected, pixels[0] & 0xFFFFFF) << "flags " << std::hex << c.flags << ", source " << c.source;
        EXPECT_FALSE(manager.HadAlphaChannel());
    }
    // An alpha byte is kept and noticed.
    SourceBitmap alpha(2, 1, {0x80C86428, 0x00000000});
    HBITMAP made = manager.CreateImageEffect(alpha.Get(), 2, 1, CPPDrawManager::IMAGE_EFFECT_INVERT, FALSE, 0, 0);
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(manager.HadAlphaChannel());
    EXPECT_EQ(0x80379BD7u, PixelsOf(made)[0]);
    ::DeleteObject(made);
    EXPECT_EQ(nullptr, manager.CreateImageEffect(nullptr, 1, 1, 0, FALSE, 0, 0));
    EXPECT_EQ(nullptr, manager.CreateImageEffect(alpha.Get(), 0, 1, 0, FALSE, 0, 0));
}

TEST(DrawManagerImages, DrawBitmapMaskedStretchedAndShadowed)
{
    const COLORREF grey = RGB(128, 128, 128), white = RGB(255, 255, 255);
    CPPDrawManager manager;
    {
        // The mask colour leaves the destination showing.
        SourceBitmap bitmap(3, 1, {0xFF0000, 0xFF00FF, 0x0000FF});
        DibSurface dst(3, 1, grey);
        manager.DrawBitmap(dst.Hdc(), 0, 0, 3, 1, bitmap.Get(), TRUE, RGB(255, 0, 255), 0, FALSE, 0, 0, 0, 0, 0);
        EXPECT_EQ(RGB(255, 0, 0), dst.At(0, 0));
        EXPECT_EQ(grey, dst.At(1, 0));
        EXPECT_EQ(RGB(0, 0, 255), dst.At(2, 0));
    }
    {
        // Stretched to the size asked for.
        SourceBitmap bitmap(2, 1, {0xFF0000, 0x0000FF});
        DibSurface dst(4, 1, RGB(255, 255, 255));
        manager.DrawBitmap(dst.Hdc(), 0, 0, 4, 1, bitmap.Get(), FALSE, 0, 0, FALSE, 0, 0, 0, 0, 0);
        const COLORREF want[4] = {RGB(255, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 0, 255)};
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(want[x], dst.At(x, 0)) << x;
    }
    // A 2 x 2 red image at (0, 0) with its shadow 2 pixels down and right in grey: a hard
    // shadow darkens by the colour, the shadow flag left out draws the image there instead.
    const COLORREF R = RGB(255, 0, 0), S = RGB(128, 128, 128), W = white;
    struct Case
    {
        WORD flags;
        COLORREF atShadow; // the pixels (2..3, 2..3)
    } cases[] = {{CPPDrawManager::IMAGE_EFFECT_SHADOW, S}, {0, R}};
    for (const Case& c : cases) {
        SourceBitmap bitmap(2, 2, {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000});
        DibSurface dst(5, 5, white);
        manager.DrawBitmap(dst.Hdc(), 0, 0, 2, 2, bitmap.Get(), FALSE, 0, c.flags, TRUE, 2, 2, 0, 0, grey);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                const COLORREF want = x < 2 && y < 2 ? R : (x >= 2 && x < 4 && y >= 2 && y < 4 ? c.atShadow : W);
                EXPECT_EQ(want, dst.At(x, y)) << "flags " << c.flags << ", pixel " << x << "," << y;
            }
    }
}

TEST(DrawManagerImages, DrawImageListPicksTheCell)
{
    // Cells of 2 x 1 in a 4 x 2 strip: index 3 is the second cell of the second row.
    SourceBitmap strip(4, 2, {0x010000, 0x010000, 0x020000, 0x020000, 0x030000, 0x030000, 0x040000, 0x040000});
    CPPDrawManager manager;
    DibSurface dst(2, 1, RGB(9, 9, 9));
    manager.DrawImageList(dst.Hdc(), 0, 0, 2, 1, strip.Get(), 3, 2, 1, FALSE, 0, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(RGB(4, 0, 0), dst.At(0, 0));
    EXPECT_EQ(RGB(4, 0, 0), dst.At(1, 0));
    // Bad indexes and cell sizes draw nothing.
    const int bad[][3] = {{4, 2, 1}, {-1, 2, 1}, {0, 0, 1}, {0, 2, 0}, {0, 5, 1}};
    for (const auto& b : bad) {
        DibSurface untouched(2, 1, RGB(9, 9, 9));
        manager.DrawImageList(untouched.Hdc(), 0, 0, 2, 1, strip.Get(), b[0], b[1], b[2], FALSE, 0, 0, FALSE, 0, 0, 0,
                              0, 0);
        EXPECT_EQ(RGB(9, 9, 9), untouched.At(0, 0)) << b[0] << " " << b[1] << " " << b[2];
    }
}

TEST(DrawManagerImages, DrawIconUsesItsOwnMask)
{
    // A 4 x 4 icon: green, its top-left pixel transparent.
    std::vector<DWORD> colour(16, 0x00FF00);
    colour[0] = 0;
    HBITMAP colourBitmap = ::CreateBitmap(4, 4, 1, 32, colour.data());
    const BYTE maskRows[8] = {0x80, 0, 0, 0, 0, 0, 0, 0}; // 1 = transparent; rows of 16 bits
    HBITMAP maskBitmap = ::CreateBitmap(4, 4, 1, 1, maskRows);
    ICONINFO info = {TRUE, 2, 2, maskBitmap, colourBitmap};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(colourBitmap);
    ::DeleteObject(maskBitmap);
    ASSERT_NE(nullptr, icon);
    const SIZE size = CPPDrawManager::GetSizeOfIcon(icon);
    EXPECT_EQ(4, size.cx);
    EXPECT_EQ(4, size.cy);

    CPPDrawManager manager;
    DibSurface dst(4, 4, RGB(255, 255, 255));
    manager.DrawIcon(dst.Hdc(), 0, 0, 4, 4, icon, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(RGB(255, 255, 255), dst.At(0, 0));
    EXPECT_EQ(RGB(0, 255, 0), dst.At(1, 0));
    EXPECT_EQ(RGB(0, 255, 0), dst.At(3, 3));

    // Stretched to 8 x 8: the transparent pixel becomes 2 x 2.
    DibSurface big(8, 8, RGB(255, 255, 255));
    manager.DrawIcon(big.Hdc(), 0, 0, 8, 8, icon, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(RGB(255, 255, 255), big.At(1, 1));
    EXPECT_EQ(RGB(0, 255, 0), big.At(2, 0));
    EXPECT_EQ(RGB(0, 255, 0), big.At(7, 7));
    ::DestroyIcon(icon);
}

// A mask bitmap (selected nowhere) of one colour with an optional square of another.
HBITMAP MaskBitmap(int size, DWORD fill, DWORD square = 0, int from = 0, int to = 0)
{
    return NewSection(size, size,
                      [=](int x, int y) { return x >= from && x < to && y >= from && y < to ? square : fill; });
}

void Paint(DibSurface& s)
{
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            s.Set(x, y, RGB(200, 10 * x, 10 * y));
}

TEST(DrawManagerShadows, WhiteMaskLeavesTheDestination)
{
    HBITMAP white = MaskBitmap(12, 0xFFFFFF);
    for (BOOL soft : {FALSE, TRUE}) {
        CPPDrawManager manager;
        DibSurface dst(12, 12, RGB(255, 255, 255)), before(12, 12, RGB(255, 255, 255));
        Paint(dst);
        Paint(before);
        manager.DrawShadow(dst.Hdc(), 0, 0, 12, 12, white, soft, 4, 4);
        EXPECT_EQ("", dst.Diff(before)) << (soft ? "soft" : "hard");
    }
    ::DeleteObject(white);
}

TEST(DrawManagerShadows, HardShadowDarkensByTheMask)
{
    HBITMAP mask = MaskBitmap(4, 0xFFFFFF, 0x808080, 1, 3); // grey 128 in the middle 2 x 2
    CPPDrawManager manager;
    DibSurface dst(6, 6, RGB(200, 100, 255));
    manager.DrawShadow(dst.Hdc(), 1, 1, 4, 4, mask, FALSE, 0, 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool shaded = x >= 2 && x < 4 && y >= 2 && y < 4;
            EXPECT_EQ(shaded ? RGB(100, 50, 128) : RGB(200, 100, 255), dst.At(x, y)) << x << "," << y;
        }
    ::DeleteObject(mask);
}

TEST(DrawManagerShadows, SoftShadowTakesTheNextOddDepth)
{
    HBITMAP mask = MaskBitmap(24, 0xFFFFFF, 0x000000, 6, 18);
    auto shadow = [&](int depth, DibSurface& dst) {
        CPPDrawManager manager;
        manager.DrawShadow(dst.Hdc(), 0, 0, 24, 24, mask, TRUE, depth, depth);
    };
    DibSurface six(24, 24, RGB(255, 255, 255)), seven(24, 24, RGB(255, 255, 255)), five(24, 24, RGB(255, 255, 255));
    shadow(6, six);
    shadow(7, seven);
    shadow(5, five);
    EXPECT_EQ("", six.Diff(seven));
    EXPECT_NE("", five.Diff(seven)); // the depth does change the shadow
    // Darkest in the middle, lighter towards the edge, nothing at the corner.
    EXPECT_EQ(RGB(0, 0, 0), seven.At(12, 12));
    EXPECT_GT(GetRValue(seven.At(5, 12)), GetRValue(seven.At(8, 12)));
    EXPECT_EQ(RGB(255, 255, 255), seven.At(0, 0));
    ::DeleteObject(mask);
}

TEST(DrawManagerShadows, BlurMaskIsABoxFilterWithWhiteAround)
{
    const DWORD row[3] = {0, 0xFF, 0xFF};
    double factors[3];
    CPPDrawManager::BlurMask(3, 1, row, 3, 1, factors);
    EXPECT_DOUBLE_EQ(2.0 / 3, factors[0]); // 255 outside, 0, 255
    EXPECT_DOUBLE_EQ(2.0 / 3, factors[1]);
    EXPECT_DOUBLE_EQ(1.0, factors[2]);

    const DWORD dot = 0;
    double one = 0;
    CPPDrawManager::BlurMask(1, 1, &dot, 3, 3, &one);
    EXPECT_DOUBLE_EQ(8.0 / 9, one);

    // A 5 x 1 box over a 7 x 2 mask with one black pixel: it reaches 2 pixels each side.
    DWORD grid[14];
    for (DWORD& p : grid)
        p = 0xFF;
    grid[3] = 0;
    double out[14];
    CPPDrawManager::BlurMask(7, 2, grid, 5, 1, out);
    for (int x = 0; x < 7; ++x) {
        EXPECT_DOUBLE_EQ(x == 0 || x == 6 ? 1.0 : 4.0 / 5, out[x]) << x;
        EXPECT_DOUBLE_EQ(1.0, out[7 + x]) << x;
    }
}

TEST(DrawManagerImages, ReleasesEveryHandle)
{
    const LiveGdiCheck gdi;
    {
        CPPDrawManager manager;
        SourceBitmap bitmap(2, 2, {0xFF0000, 0xFF00FF, 0x00FF00, 0x0000FF});
        HBITMAP mask = MaskBitmap(8, 0xFFFFFF, 0, 2, 6);
        DibSurface dst(16, 16, RGB(255, 255, 255));
        manager.DrawBitmap(dst.Hdc(), 0, 0, 4, 4, bitmap.Get(), TRUE, RGB(255, 0, 255),
                           CPPDrawManager::IMAGE_EFFECT_SOFT_SHADOW | CPPDrawManager::IMAGE_EFFECT_GRAY, TRUE, 2, 2, 3,
                           3, RGB(100, 100, 100));
        manager.DrawShadow(dst.Hdc(), 2, 2, 8, 8, mask, TRUE, 3, 3);
        manager.AlphaBlt(dst.Hdc(), 0, 0, 4, 4, dst.Hdc(), 4, 4, 30);
        manager.FillEffect(dst.Hdc(), CPPDrawManager::EFFECT_METAL, RECT{0, 0, 16, 16}, 1, 2, 3, 5, 10);
        manager.FillEffect(dst.Hdc(), CPPDrawManager::EFFECT_3HGRADIENT, RECT{0, 0, 16, 16}, 1, 2, 3, 5, 10);
        manager.DrawRectangle(dst.Hdc(), 0, 0, 16, 16, 1, 2, CPPDrawManager::PEN_DOUBLE, 1);
        manager.DrawLine(dst.Hdc(), 0, 0, 16, 16, 1, CPPDrawManager::PEN_DASH, 1);
        ::DeleteObject(mask);
    }
    EXPECT_TRUE(gdi.Unchanged());
}

} // namespace

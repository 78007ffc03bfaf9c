// Bitmap copies and drawing, checked pixel by pixel on tiny bitmaps.
#include <gtest/gtest.h>

#include "model/gfx/Dib.h"
#include "model/gfx/DibTools.h"
#include "testsupport/DibSurface.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kMagenta = RGB(255, 0, 255), kWhite = RGB(255, 255, 255),
               kBlack = RGB(0, 0, 0);

TEST(BitmapTools, CopyDrawAndStretch)
{
    DibSurface src(2, 1, kRed);
    SetPixel(src.Hdc(), 1, 0, kMagenta);
    CBitmapTools tools;
    ASSERT_TRUE(tools.CopyFromDC(src.Hdc(), NULL, 0, 0, 2, 1));
    EXPECT_EQ(2, tools.GetWidth());

    DibSurface dst(3, 1, kBlue);
    ASSERT_TRUE(tools.DrawTransparent(dst.Hdc(), 0, 0, 2, 1, kMagenta));
    EXPECT_EQ(kRed, dst.At(0, 0));
    EXPECT_EQ(kBlue, dst.At(1, 0)); // the transparent pixel left the destination
    EXPECT_EQ(kBlue, dst.At(2, 0));

    DibSurface big(4, 2, kWhite);
    const RECT r = {0, 0, 4, 2};
    ASSERT_TRUE(tools.StretchDraw(big.Hdc(), r));
    EXPECT_EQ(kRed, big.At(1, 1));
    EXPECT_EQ(kMagenta, big.At(2, 0));

    CBitmapTools copy;
    ASSERT_TRUE(copy.CopyFrom(tools));
    DibSurface out(2, 1, kWhite);
    ASSERT_TRUE(copy.Draw(out.Hdc(), 0, 0));
    EXPECT_EQ(kMagenta, out.At(1, 0));
    tools.Destroy();
    EXPECT_FALSE(tools.IsReady());
    EXPECT_FALSE(tools.Draw(out.Hdc(), 0, 0));
}

TEST(BitmapTools, PatternFill)
{
    // A 2 x 2 checker: black at (0,0) and (1,1).
    DibSurface checker(2, 2, kWhite);
    SetPixel(checker.Hdc(), 0, 0, kBlack);
    SetPixel(checker.Hdc(), 1, 1, kBlack);
    CBitmapTools pattern;
    ASSERT_TRUE(pattern.CopyFromDC(checker.Hdc(), NULL, 0, 0, 2, 2));
    DibSurface dst(5, 5, kBlue);
    const RECT area = {1, 1, 5, 5};
    ASSERT_TRUE(pattern.FillPattern(dst.Hdc(), area, TRUE));
    EXPECT_EQ(kBlue, dst.At(0, 0));
    EXPECT_EQ(kBlack, dst.At(1, 1)); // the pattern starts at the rectangle's corner
    EXPECT_EQ(kWhite, dst.At(2, 1));
    EXPECT_EQ(kBlack, dst.At(2, 2));
}

TEST(Dib, ScaledCopy)
{
    CDib src;
    ASSERT_TRUE(src.Create(3, 1, 8));
    for (int x = 0; x < 3; ++x)
        src.SetPixelIndex(x, 0, (BYTE)(x + 1));
    CDib dst;
    ASSERT_TRUE(dst.Create(7, 2, 8));
    const RECT to = {0, 0, 6, 2}, from = {0, 0, 3, 1};
    dst.CopyScaled(to, src, from);
    const BYTE expected[7] = {1, 1, 2, 2, 3, 3, 0}; // every pixel twice, the last untouched
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(expected[x], dst.GetPixelIndex(x, y)) << x << "," << y;

    // 3 -> 5: the two extra pixels spread over the row.
    CDib five;
    ASSERT_TRUE(five.Create(5, 1, 8));
    const RECT to5 = {0, 0, 5, 1};
    five.CopyScaled(to5, src, from);
    const BYTE spread[5] = {1, 1, 2, 2, 3};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(spread[x], five.GetPixelIndex(x, 0)) << x;
}

TEST(Dib, TransparentCopy)
{
    CDib src, dst;
    ASSERT_TRUE(src.Create(2, 2, 8));
    ASSERT_TRUE(dst.Create(3, 3, 8));
    src.SetPixelIndex(0, 0, 5);
    src.SetPixelIndex(1, 0, 6);
    src.SetPixelIndex(0, 1, 5);
    src.SetPixelIndex(1, 1, 7);
    dst.Fill(1);
    BYTE mask[256] = {};
    mask[5] = 1;
    mask[7] = 1;
    dst.CopyTransparent(2, 1, 2, 2, src, 0, 0, mask); // clipped at the right edge
    EXPECT_EQ(5, dst.GetPixelIndex(2, 1));
    EXPECT_EQ(5, dst.GetPixelIndex(2, 2));
    EXPECT_EQ(1, dst.GetPixelIndex(1, 1));
    dst.CopyTransparent(0, 0, 2, 1, src, 0, 0);
    EXPECT_EQ(6, dst.GetPixelIndex(1, 0));
}

TEST(Dib, ConvertIntoPalette)
{
    RGBQUAD palette[256] = {};
    palette[1] = {255, 255, 255, 0}; // white (blue, green, red)
    palette[2] = {0, 0, 255, 0};     // red
    palette[3] = {0, 200, 0, 0};     // green
    CDib rgb;
    ASSERT_TRUE(rgb.Create(4, 1, 24));
    rgb.SetPixel24(0, 0, RGB(250, 250, 250));
    rgb.SetPixel24(1, 0, RGB(200, 20, 20));
    rgb.SetPixel24(2, 0, RGB(10, 180, 10));
    rgb.SetPixel24(3, 0, RGB(255, 0, 0));
    CDib indexed;
    ASSERT_TRUE(indexed.Create(4, 1, 8));
    indexed.SetPalette(palette);
    ASSERT_TRUE(indexed.ConvertFrom(rgb));
    EXPECT_EQ(1, indexed.GetPixelIndex(0, 0));
    EXPECT_EQ(2, indexed.GetPixelIndex(1, 0));
    EXPECT_EQ(3, indexed.GetPixelIndex(2, 0));
    EXPECT_EQ(2, indexed.GetPixelIndex(3, 0));

    // One bit per pixel: 0 black, 1 white.
    CDib mono;
    ASSERT_TRUE(mono.Create(9, 1, 1));
    const RGBQUAD bw[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    mono.SetPalette(bw);
    mono.GetRow(0)[0] = 0x80; // pixel 0 white
    mono.GetRow(0)[1] = 0x80; // pixel 8 white
    CDib wide;
    ASSERT_TRUE(wide.Create(9, 1, 8));
    wide.SetPalette(palette);
    ASSERT_TRUE(wide.ConvertFrom(mono));
    EXPECT_EQ(1, wide.GetPixelIndex(0, 0));
    EXPECT_EQ(0, wide.GetPixelIndex(1, 0));
    EXPECT_EQ(1, wide.GetPixelIndex(8, 0));

    CDib other;
    ASSERT_TRUE(other.Create(3, 1, 8));
    EXPECT_FALSE(other.ConvertFrom(rgb)); // sizes differ

    HGLOBAL packed = rgb.CopyToGlobal8(palette);
    ASSERT_TRUE(packed != NULL);
    CDib back;
    ASSERT_TRUE(back.CreateFromPacked(packed));
    EXPECT_EQ(8, back.GetBitCount());
    EXPECT_EQ(3, back.GetPixelIndex(2, 0));
    GlobalFree(packed);
}

} // namespace

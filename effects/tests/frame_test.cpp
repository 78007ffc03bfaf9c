// The three calling forms: what is read, where it lands, what is reported, and what a failed
// allocation or read leaves.
#include "effects/Blend.h"
#include "effects/EffectFrame.h"
#include "effects/tests/FaultCheck.h"
#include "testsupport/Pixels.h"

#include <memory>

namespace {

// Buffer row 0 is the bottom row: marks its first pixel pure red and inverts the rest.
bool MarkAndInvert(Dib& dib)
{
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x)
            for (int c = 0; c < 3; ++c)
                dib.Px(x, y)[c] = (BYTE)(255 - dib.Px(x, y)[c]);
    BYTE* first = dib.Px(0, 0);
    first[0] = 0;
    first[1] = 0;
    first[2] = 255;
    return true;
}

const Rows kSource = {{RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)},
                      {RGB(100, 110, 120), RGB(130, 140, 150), RGB(160, 170, 180)}};

} // namespace

TEST(EffectFrame, FormAReadsBottomUpAndDrawsAtTheOrigin)
{
    auto src = SurfaceOf(kSource);
    DibSurface dst(4, 3, kMarker);
    LONG lines = -7;
    EXPECT_EQ(S_OK, RunFormA(dst.Hdc(), src->Hdc(), &lines, MarkAndInvert));
    EXPECT_EQ(2, lines);
    const Rows expected = {{RGB(245, 235, 225), RGB(215, 205, 195), RGB(185, 175, 165), kMarker},
                           {RGB(255, 0, 0), RGB(125, 115, 105), RGB(95, 85, 75), kMarker},
                           {kMarker, kMarker, kMarker, kMarker}};
    EXPECT_EQ(expected, RowsOf(dst));
    EXPECT_EQ(kSource, RowsOf(*src)) << "the source stays as it was";

    // A device-dependent bitmap in a memory DC reads the same.
    const HDC screen = ::GetDC(nullptr);
    const HBITMAP ddb = ::CreateCompatibleBitmap(screen, 3, 2);
    ::ReleaseDC(nullptr, screen);
    const HDC mem = ::CreateCompatibleDC(nullptr);
    {
        CSelectGuard guard(mem, ddb);
        ::BitBlt(mem, 0, 0, 3, 2, src->Hdc(), 0, 0, SRCCOPY);
        DibSurface dst2(4, 3, kMarker);
        EXPECT_EQ(S_OK, RunFormA(dst2.Hdc(), mem, &lines, MarkAndInvert));
        EXPECT_EQ(expected, RowsOf(dst2));
    }
    ::DeleteDC(mem);
    ::DeleteObject(ddb);
}

TEST(EffectFrame, FormAWithoutABitmap)
{
    DibSurface dst(2, 2, kMarker);
    LONG lines = -7;
    EXPECT_EQ(E_FAIL, RunFormA(dst.Hdc(), nullptr, &lines, MarkAndInvert));
    EXPECT_EQ(0, lines) << "no bitmap reports 0 lines";
    EXPECT_EQ(Flat(2, 2, kMarker), RowsOf(dst));
}

TEST(EffectFrame, StridesOfEveryPadding)
{
    // Widths 1 to 5 pad 1, 2, 3, 0 and 1 bytes: a pixel inverted twice comes back whole.
    for (int w = 1; w <= 5; ++w) {
        const Rows source = Patterned(w, 3);
        const EffectRun once = RunOn(source, [](HDC d, HDC s, LONG* l) {
            return RunFormA(d, s, l, [](Dib& dib) { return dib.stride == DibStride(dib.width) && MarkAndInvert(dib); });
        });
        ASSERT_EQ(S_OK, once.hr) << w;
        EXPECT_EQ(RGB(255, 0, 0), once.result[2][0]) << w;
        EXPECT_EQ(RGB(255 - GetRValue(source[0][w - 1]), 255 - GetGValue(source[0][w - 1]),
                      255 - GetBValue(source[0][w - 1])),
                  once.result[0][w - 1])
            << w;
    }
}

TEST(EffectFrame, FormBBetweenImageObjects)
{
    // 3 x 2 ARGB: one pixel fully transparent, which arrives over white.
    Gdiplus::Bitmap source(3, 2, PixelFormat32bppARGB);
    const DWORD pixels[2][3] = {{0xFF0A141E, 0x00000000, 0xFF465A50}, {0xFF646E78, 0xFF828C96, 0xFFA0AAB4}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            source.SetPixel(x, y, Gdiplus::Color(pixels[y][x]));
    Gdiplus::Bitmap destination(4, 3, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&destination);
        g.Clear(Gdiplus::Color(255, 1, 2, 3));
    }
    LiveGdiCheck gdi;
    LONG lines = -7;
    EXPECT_EQ(S_OK, RunFormB(&source, &destination, &lines, MarkAndInvert));
    EXPECT_EQ(2, lines);
    const Picture after = PictureOf(destination);
    ASSERT_EQ(4, after.width);
    EXPECT_EQ(0xF5EBE1u, after.At(0, 0) & 0xFFFFFF);
    EXPECT_EQ(0x000000u, after.At(1, 0) & 0xFFFFFF) << "transparent: white, inverted";
    EXPECT_EQ(0xFF0000u, after.At(0, 1) & 0xFFFFFF) << "buffer row 0 is the bottom row";
    EXPECT_EQ(0x010203u, after.At(3, 0) & 0xFFFFFF);
    EXPECT_EQ(0x010203u, after.At(0, 2) & 0xFFFFFF);
    EXPECT_TRUE(gdi.Unchanged());

    lines = -7;
    EXPECT_EQ(E_FAIL, RunFormB(nullptr, &destination, &lines, MarkAndInvert));
    EXPECT_EQ(-7, lines);
}

TEST(EffectFrame, FormBFailuresLeaveTheDestination)
{
    Gdiplus::Bitmap source(5, 4, PixelFormat32bppARGB);
    EffectFaults& faults = EffectTestFaults();
    const int liveBefore = faults.liveBlocks;
    for (int kind = 0; kind < 2; ++kind) {
        Gdiplus::Bitmap destination(5, 4, PixelFormat32bppARGB);
        {
            Gdiplus::Graphics g(&destination);
            g.Clear(Gdiplus::Color(255, 1, 2, 3));
        }
        const Picture before = PictureOf(destination);
        LiveGdiCheck gdi;
        faults.allocs = 0;
        faults.reads = 0;
        (kind == 0 ? faults.failAllocAt : faults.failReadAt) = 1;
        LONG lines = -7;
        const HRESULT hr = RunFormB(&source, &destination, &lines, MarkAndInvert);
        faults.failAllocAt = 0;
        faults.failReadAt = 0;
        EXPECT_EQ(E_FAIL, hr) << kind;
        EXPECT_EQ(-7, lines) << kind;
        EXPECT_TRUE(SamePixels(PictureOf(destination), before)) << kind;
        EXPECT_EQ(liveBefore, faults.liveBlocks) << kind;
        EXPECT_TRUE(gdi.Unchanged()) << kind;
    }
}

TEST(EffectFrame, TwoImageEffectsFailCleanly)
{
    // The second source is the same surface as the first: every allocation and read in turn.
    ExpectCleanFailures("DibBlendLayers", [](HDC d, HDC s, LONG* l) { return DibBlendLayers(d, s, s, 3, l); });
    ExpectCleanFailures("DibCrossFade", [](HDC d, HDC s, LONG* l) { return DibCrossFade(d, s, s, 100, l); });
    ExpectCleanFailures("DibReliefBlend", [](HDC d, HDC s, LONG* l) { return DibReliefBlend(d, s, s, 2.0, 3, l); });
}

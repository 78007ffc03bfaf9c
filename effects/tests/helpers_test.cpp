// The pixel helpers, on hand-worked values.
#include "effects/EffectFrame.h"
#include "effects/EffectHelpers.h"

#include <gtest/gtest.h>
#include <math.h>
#include <string.h>
#include <vector>

TEST(EffectHelpers, ClampByte)
{
    const struct
    {
        int in;
        int out;
    } cases[] = {{-1000, 0}, {-1, 0}, {0, 0}, {128, 128}, {255, 255}, {256, 255}, {99999, 255}};
    for (const auto& c : cases)
        EXPECT_EQ(c.out, ClampByte(c.in)) << c.in;
}

TEST(EffectHelpers, MixByteEndsAndExtrapolation)
{
    const struct
    {
        int a, b, t, out;
    } cases[] = {
        {100, 200, 0, 100},                         // the base exactly
        {100, 200, 255, 200},                       // the layer exactly
        {100, 200, 128, 149},                       // (100 * 127 + 200 * 128) >> 8
        {7, 9, 0, 7},         {100, 200, -128, 49}, // (100 * 383 - 200 * 128) >> 8: past the base
        {100, 200, 300, 216},                       // (-100 * 45 + 200 * 300) >> 8: past the layer
        {200, 100, 300, 82},                        // (-200 * 45 + 100 * 300) >> 8
        {0, 255, 1000, 996},                        // 255 * 1000 >> 8: far outside a byte, the callers clamp
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.out, MixByte(c.a, c.b, c.t)) << c.a << " " << c.b << " " << c.t;
}

TEST(EffectHelpers, MixDouble)
{
    EXPECT_EQ(10.0, MixDouble(10, 20, 0));
    EXPECT_EQ(20.0, MixDouble(10, 20, 255));
    EXPECT_EQ(128.0, MixDouble(0, 256, 128));  // (127 * 0 + 256 * 128) / 256
    EXPECT_EQ(-63.75, MixDouble(0, 64, -255)); // (510 * 0 - 64 * 255) / 256
}

TEST(EffectHelpers, LuminanceTruncates)
{
    EXPECT_EQ(76, Luminance(255, 0, 0));  // 76.5
    EXPECT_EQ(150, Luminance(0, 255, 0)); // 150.45
    EXPECT_EQ(28, Luminance(0, 0, 255));  // 28.05
    EXPECT_EQ(18, Luminance(10, 20, 30)); // 3 + 11.8 + 3.3
    EXPECT_EQ(0, Luminance(0, 0, 0));
}

TEST(EffectHelpers, RoundDoubleOfHalves)
{
    const struct
    {
        double in;
        int64_t out;
    } cases[] = {{0.5, 1}, {2.5, 3}, {-0.5, 0}, {-1.5, -1}, {-2.5, -2}, {-0.6, -1}, {1e12 + 0.5, 1000000000001LL}};
    for (const auto& c : cases)
        EXPECT_EQ(c.out, RoundDouble(c.in)) << c.in;
}

TEST(EffectHelpers, ReflectIndexNearBothEnds)
{
    const struct
    {
        int i, d, n, out;
    } cases[] = {
        {0, 2, 10, 2},                 // room enough
        {7, 2, 10, 2},                 // i + d = n - 1
        {8, 2, 10, 1},                 // one short
        {9, 2, 10, 0},                 // the last index
        {9, 0, 10, 0},   {0, 5, 3, 2}, // an image smaller than the offset
        {0, -1, 10, -1},               // the low end is the caller's to fold
        {0, 1, 1, 0},                  // one row only
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.out, ReflectIndex(c.i, c.d, c.n)) << c.i << " " << c.d << " " << c.n;
}

TEST(EffectHelpers, PolarAngleAtRightAnglesAndBeyond)
{
    // 100 x 200: lo 50, hi 100.  At 0 and 180 degrees the weight is about -255 and 510:
    // (510 * 100 - 255 * 50) / 256 = 149.41.  Just short of 90 degrees (57.295 per radian) the
    // weight is a hair below 0, so the mix divides by 256: 255 * 100 / 256 = 99.61.
    EXPECT_NEAR(149.414, PolarAngle(100, 200, 0.0), 0.001);
    EXPECT_NEAR(149.41, PolarAngle(100, 200, 3.14159265358979), 0.01);
    EXPECT_NEAR(149.41, PolarAngle(200, 100, -3.14159265358979), 0.01); // either order, either sign
    EXPECT_NEAR(99.61, PolarAngle(100, 200, 1.5707963267949), 0.01);
}

TEST(EffectHelpers, StrideOfNarrowRows)
{
    const int strides[6] = {0, 4, 8, 12, 12, 16}; // 3, 6, 9, 12, 15 bytes padded to 4
    for (int w = 1; w <= 5; ++w)
        EXPECT_EQ(strides[w], DibStride(w)) << w;
}

TEST(EffectHelpers, HistogramChannelsAndRange)
{
    // 2 x 1 pixels: (b, g, r) = (1, 2, 3) and (4, 5, 6); stride 8.
    const BYTE buffer[8] = {1, 2, 3, 4, 5, 6, 0xEE, 0xEE};
    HistogramRecord record;
    const struct
    {
        int channel;
        int lo, hi;
    } cases[] = {{1, 3, 6}, {2, 2, 5}, {4, 1, 4}};
    for (const auto& c : cases) {
        memset(&record, 0x5A, sizeof record);
        BuildHistogram(buffer, 2, 1, record.counts, c.channel);
        HistogramRange(&record);
        EXPECT_EQ(c.lo, record.lowest) << c.channel;
        EXPECT_EQ(c.hi, record.highest) << c.channel;
        EXPECT_EQ(1, record.counts[c.lo]);
        EXPECT_EQ(0, record.counts[0xEE]) << "padding counted";
    }
    for (int code : {0, 3, 8}) {
        memset(&record, 0x5A, sizeof record);
        BuildHistogram(buffer, 2, 1, record.counts, code);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(0, record.counts[i]) << "code " << code << " bin " << i;
        HistogramRange(&record);
        EXPECT_EQ(255, record.lowest);
        EXPECT_EQ(0, record.highest);
    }
}

namespace {

const UINT WM_COUNTED = WM_APP + 7;
int g_dispatched = 0;

LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COUNTED)
        ++g_dispatched;
    return ::DefWindowProc(wnd, msg, wp, lp);
}

} // namespace

TEST(EffectHelpers, PumpMessagesStopsAtQuitAndPostsItAgain)
{
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        ;
    const DWORD start = ::GetTickCount();
    PumpMessages(); // an empty queue: back at once
    EXPECT_LT(::GetTickCount() - start, 1000u);

    WNDCLASS wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = ::GetModuleHandle(nullptr);
    wc.lpszClassName = "EffectPumpCounter";
    ::RegisterClass(&wc);
    const HWND wnd =
        ::CreateWindow("EffectPumpCounter", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, wnd);
    g_dispatched = 0;
    ::PostMessage(wnd, WM_COUNTED, 0, 0);
    ::PostThreadMessage(::GetCurrentThreadId(), WM_QUIT, 5, 0);
    ::PostMessage(wnd, WM_COUNTED, 1, 0);
    PumpMessages();
    EXPECT_EQ(1, g_dispatched) << "the message before the quit is handled, the one after it is not";

    // What is left: the later message, then the quit again with its code.
    std::vector<UINT> left;
    WPARAM code = 0;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        left.push_back(msg.message);
        if (msg.message == WM_QUIT)
            code = msg.wParam;
    }
    EXPECT_EQ((std::vector<UINT>{WM_COUNTED, WM_QUIT}), left);
    EXPECT_EQ(5u, code);
    ::DestroyWindow(wnd);
    ::UnregisterClass("EffectPumpCounter", wc.hInstance);
}

TEST(EffectHelpers, ConvolveKernel)
{
    BYTE buffer[3 * 12] = {};
    for (int i = 0; i < 36; ++i)
        buffer[i] = (BYTE)(10 + i);
    const double identity[9] = {0, 0, 0, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(buffer, ConvolveKernel(buffer, 3, 3, identity, 0)) << "r < 1 gives the input itself";
    EXPECT_EQ(buffer, ConvolveKernel(buffer, 3, 3, identity, -2));

    const double twice[9] = {0, 0, 0, 0, 2, 0, 0, 0, 0.5};
    BYTE* out = ConvolveKernel(buffer, 3, 3, twice, 1);
    ASSERT_NE(nullptr, out);
    ASSERT_NE(buffer, out);
    // Only the centre pixel (row 1, column 1: bytes 15..17) is written: 2 * centre + 0.5 * the
    // pixel at row 2, column 2 (bytes 30..32): 2 * 25 + 0.5 * 40 = 70, 2 * 26 + 0.5 * 41 = 72.5.
    EXPECT_EQ(70, out[15]);
    EXPECT_EQ(72, out[16]);
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(0, out[35]);
    EffectFree(out);
}

TEST(EffectHelpers, LookUpTables)
{
    BYTE table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = (BYTE)i;
    RotateLut(table, 1);
    EXPECT_EQ(255, table[0]);
    EXPECT_EQ(0, table[1]);
    // abs(i - 1) mod 256: entries 0 and 2 both land at 1 (the later wins), nothing lands at 255.
    RotateLut(table, -1);
    EXPECT_EQ(0, table[0]);
    EXPECT_EQ(1, table[1]);
    EXPECT_EQ(254, table[255]);

    BYTE t1[256] = {}, t2[256] = {}, t3[256] = {};
    const int32_t flat[8] = {9, 9, 1, 2, 3, 4, 5, 6};
    FillLutRamp(flat, t1, t2, t3);
    EXPECT_EQ(0, t1[9]) << "an empty segment writes nothing";
    const int32_t ramp[8] = {10, 20, 0, 100, 255, 255, 200, 0};
    FillLutRamp(ramp, t1, t2, t3);
    EXPECT_EQ(0, t1[10]);
    EXPECT_EQ(255, t1[20]);
    EXPECT_EQ(200, t2[20]);
    EXPECT_EQ(0, t3[20]);
    EXPECT_EQ(0, t1[21]);
    // i = 15: t = 5 * 255 / 10 = 127; (128 * 0 + 255 * 127) / 256 = 126.5
    EXPECT_EQ(126, t1[15]);
}

TEST(EffectHelpers, PalettesAndBands)
{
    // One row of 4 greys: 0, 55, 155, 255.
    const BYTE greys[4] = {0, 55, 155, 255};
    BYTE buffer[12];
    for (int i = 0; i < 4; ++i)
        memset(buffer + 3 * i, greys[i], 3);
    BYTE fire[12];
    memcpy(fire, buffer, sizeof fire);
    ApplyFirePalette(fire, 4, 1);
    const BYTE fireExpected[12] = {0, 0, 0, 0, 55, 190, 50, 190, 255, 255, 255, 255}; // b, g, r
    EXPECT_EQ(0, memcmp(fireExpected, fire, 12));
    BYTE ice[12];
    memcpy(ice, buffer, sizeof ice);
    ApplyIcePalette(ice, 4, 1);
    const BYTE iceExpected[12] = {0, 0, 0, 205, 65, 0, 255, 205, 65, 255, 255, 255};
    EXPECT_EQ(0, memcmp(iceExpected, ice, 12));

    // Fewer than one band: the buffer stays (no division by zero).
    BYTE kept[12];
    memcpy(kept, buffer, sizeof kept);
    ApplyBandLut(kept, 4, 1, 0, 0);
    ApplyBandLut(kept, 4, 1, -3, 7);
    EXPECT_EQ(0, memcmp(buffer, kept, 12));
    // One band: a ramp from 1 to 255 up, entry 0 at 0.  Grey 55: t = 54 * 255 / 254 = 54,
    // 255 * 54 / 256 = 53.8.
    ApplyBandLut(kept, 4, 1, 1, 0);
    EXPECT_EQ(0, kept[0]);
    EXPECT_EQ(53, kept[3]);
    EXPECT_EQ(255, kept[9]);

    // A triangle with step 100: 0, 100, 200, 255, 155, 55, 0, 100, ...; entry 255 becomes 0.
    BYTE tri[12];
    memcpy(tri, buffer, sizeof tri);
    BuildTriangleLut(tri, 4, 1, 1);
    EXPECT_EQ(0, memcmp(buffer, tri, 12)) << "a step below 2 leaves the buffer";
    const BYTE steps[4] = {0, 1, 2, 3};
    for (int i = 0; i < 4; ++i)
        memset(tri + 3 * i, steps[i], 3);
    BuildTriangleLut(tri, 4, 1, 100);
    EXPECT_EQ(0, tri[0]);
    EXPECT_EQ(100, tri[3]);
    EXPECT_EQ(200, tri[6]);
    EXPECT_EQ(255, tri[9]);
}

TEST(EffectHelpers, Alloc2DFreesWhatItGotWhenABlockFails)
{
    EffectFaults& faults = EffectTestFaults();
    const int liveBefore = faults.liveBlocks;
    BYTE** ok = Alloc2D(3, 5);
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ(0, ok[2][4]);
    EXPECT_EQ(liveBefore + 4, faults.liveBlocks);
    Free2D(ok, 3);
    EXPECT_EQ(liveBefore, faults.liveBlocks);
    for (int n = 1; n <= 4; ++n) {
        faults.allocs = 0;
        faults.failAllocAt = n;
        EXPECT_EQ(nullptr, Alloc2D(3, 5)) << n;
        faults.failAllocAt = 0;
        EXPECT_EQ(liveBefore, faults.liveBlocks) << n;
    }
}

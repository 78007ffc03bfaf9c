#include "effects/EffectHelpers.h"

#include "effects/EffectFrame.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

BYTE ClampByte(int value) { return (BYTE)(value < 0 ? 0 : value > 255 ? 255 : value); }

int MixByte(int a, int b, int t)
{
    if (t == 0)
        return a;
    if (t == 255)
        return b;
    return (a * (255 - t) + b * t) >> 8;
}

double MixDouble(double a, double b, double t)
{
    if (t == 0)
        return a;
    if (t == 255)
        return b;
    return ((255 - t) * a + b * t) / 256;
}

BYTE Luminance(int red, int green, int blue) { return (BYTE)(int)(0.3 * red + 0.59 * green + 0.11 * blue); }

int64_t RoundDouble(double value) { return (int64_t)floor(value + 0.5); }

int ReflectIndex(int i, int d, int n)
{
    // Lowering d one by one while i + d passes n - 1 ends at n - 1 - i: at once, for any d.
    const int room = n - 1 - i;
    return d > room ? room : d;
}

double PolarAngle(int a, int b, double angle)
{
    const double deg = fabs(angle * 57.295);
    const double lo = (a < b ? a : b) / 2;
    const double hi = (a < b ? b : a) / 2;
    if (deg <= 90)
        return MixDouble(hi, lo, (deg - 90) * 255 / 90);
    return MixDouble(lo, hi, deg * 255 / 90);
}

BYTE** Alloc2D(int n, int m)
{
    if (n < 0 || m < 0)
        return nullptr;
    BYTE** array = static_cast<BYTE**>(EffectAlloc((size_t)n * sizeof(BYTE*)));
    if (array == nullptr)
        return nullptr;
    for (int i = 0; i < n; ++i) {
        array[i] = static_cast<BYTE*>(EffectAlloc((size_t)m));
        if (array[i] == nullptr) {
            Free2D(array, i);
            return nullptr;
        }
    }
    return array;
}

void Free2D(BYTE** array, int n)
{
    if (array == nullptr)
        return;
    for (int i = 0; i < n; ++i)
        EffectFree(array[i]);
    EffectFree(array);
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Taken off the queue but not ours to swallow: the thread's own loop must see it.
            ::PostQuitMessage((int)msg.wParam);
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

void ApplyChannelLuts(const BYTE* red, const BYTE* green, const BYTE* blue, BYTE* buffer, int width, int height)
{
    const int stride = DibStride(width);
    for (int y = 0; y < height; ++y) {
        BYTE* p = buffer + (size_t)y * stride;
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = blue[p[0]];
            p[1] = green[p[1]];
            p[2] = red[p[2]];
        }
    }
}

void BuildHistogram(const BYTE* buffer, int width, int height, int32_t* counts, int channel)
{
    memset(counts, 0, 256 * sizeof(int32_t));
    const int offset = channel == 1 ? 2 : channel == 2 ? 1 : channel == 4 ? 0 : -1;
    if (offset < 0)
        return;
    const int stride = DibStride(width);
    for (int y = 0; y < height; ++y) {
        const BYTE* p = buffer + (size_t)y * stride + offset;
        for (int x = 0; x < width; ++x, p += 3)
            ++counts[*p];
    }
}

void HistogramRange(HistogramRecord* record)
{
    int lo = 0;
    while (lo < 255 && record->counts[lo] == 0)
        ++lo;
    int hi = 255;
    while (hi > 0 && record->counts[hi] == 0)
        --hi;
    record->lowest = lo;
    record->highest = hi;
}

BYTE* ConvolveKernel(const BYTE* buffer, int width, int height, const double* kernel, int r)
{
    if (r < 1)
        return const_cast<BYTE*>(buffer);
    const int stride = DibStride(width);
    BYTE* out = static_cast<BYTE*>(EffectAlloc((size_t)stride * height));
    if (out == nullptr)
        return nullptr;
    const int side = 2 * r + 1;
    for (int y = r; y < height - r; ++y) {
        for (int x = r; x < width - r; ++x) {
            double sum[3] = {0, 0, 0};
            for (int dy = -r; dy <= r; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    const BYTE* n = buffer + (size_t)(y + dy) * stride + (size_t)(x + dx) * 3;
                    const double k = kernel[(dy + r) * side + (dx + r)];
                    sum[0] += n[0] * k;
                    sum[1] += n[1] * k;
                    sum[2] += n[2] * k;
                }
            }
            BYTE* o = out + (size_t)y * stride + (size_t)x * 3;
            for (int c = 0; c < 3; ++c)
                o[c] = ClampByte((int)sum[c]);
        }
    }
    return out;
}

void BuildTriangleLut(BYTE* buffer, int width, int height, int step)
{
    if (step < 2)
        return;
    BYTE table[256] = {};
    int i = 0;
    while (i < 256) {
        for (int v = 0; v < 256 && i < 256; v += step)
            table[i++] = (BYTE)v;
        for (int v = 255; v > 0 && i < 256; v -= step)
            table[i++] = (BYTE)v;
    }
    table[255] = step % 2 == 1 ? 255 : 0;
    ApplyChannelLuts(table, table, table, buffer, width, height);
}

void FillLutRamp(const int32_t* segment, BYTE* table1, BYTE* table2, BYTE* table3)
{
    const int start = segment[0];
    const int end = segment[1];
    if (end == start)
        return;
    BYTE* tables[3] = {table1, table2, table3};
    for (int i = start; i <= end; ++i) {
        if (i < 0 || i > 255)
            continue; // a table has 256 entries, whatever the segment says
        const int t = (i - start) * 255 / (end - start);
        for (int k = 0; k < 3; ++k)
            tables[k][i] = (BYTE)(int)MixDouble(segment[2 + k], segment[5 + k], t);
    }
}

void RotateLut(BYTE* table, int phase)
{
    BYTE copy[256];
    memcpy(copy, table, sizeof(copy));
    for (int i = 0; i < 256; ++i)
        table[abs(i + phase) % 256] = copy[i];
}

void ApplyBandLut(BYTE* buffer, int width, int height, int bands, int phase)
{
    // Below one band there is nothing to spread 255 over: the buffer stays.
    if (bands < 1)
        return;
    const int step = 255 / bands;
    BYTE table[256] = {};
    for (int i = 0; i < bands; ++i) {
        const bool odd = i % 2 == 1;
        table[255] = odd ? 0 : 255;
        int32_t segment[8];
        if (odd) {
            const int32_t s[8] = {i * step, (i + 1) * step, 255, 255, 255, 0, 0, 0};
            memcpy(segment, s, sizeof(s));
        } else {
            const int32_t s[8] = {i * step + 1, (i + 1) * step, 0, 0, 0, 255, 255, 255};
            memcpy(segment, s, sizeof(s));
        }
        FillLutRamp(segment, table, table, table);
    }
    RotateLut(table, phase);
    ApplyChannelLuts(table, table, table, buffer, width, height);
}

namespace {

// Three ramps of (red, green, blue) stops at 0, 55, 155 and 255.
void ApplyPalette(BYTE* buffer, int width, int height, const int (*stops)[3])
{
    BYTE red[256] = {}, green[256] = {}, blue[256] = {};
    const int at[4] = {0, 55, 155, 255};
    for (int s = 0; s < 3; ++s) {
        const int32_t segment[8] = {at[s],       at[s + 1],       stops[s][0],     stops[s][1],
                                    stops[s][2], stops[s + 1][0], stops[s + 1][1], stops[s + 1][2]};
        FillLutRamp(segment, red, green, blue);
    }
    ApplyChannelLuts(red, green, blue, buffer, width, height);
}

} // namespace

void ApplyFirePalette(BYTE* buffer, int width, int height)
{
    static const int stops[4][3] = {{0, 0, 0}, {190, 55, 0}, {255, 190, 50}, {255, 255, 255}};
    ApplyPalette(buffer, width, height, stops);
}

void ApplyIcePalette(BYTE* buffer, int width, int height)
{
    static const int stops[4][3] = {{0, 0, 0}, {0, 65, 205}, {65, 205, 255}, {255, 255, 255}};
    ApplyPalette(buffer, width, height, stops);
}

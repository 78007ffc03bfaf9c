// The painterly neighbourhood effects (oil paint, random paint, stamp) and the picture as
// characters.
#include "effects/Neighbourhood.h"

#include "effects/NeighbourhoodUtil.h"

#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <string.h>

using namespace effects_detail;

namespace {

// Per-bucket counts and channel sums; 32-bit, since a window of radius 10 holds 441 pixels.
struct Buckets
{
    int32_t count[256];
    int32_t sum[256][3];
    int used[256];
    int usedCount = 0;

    Buckets() { memset(count, 0, sizeof count); }
    void Add(int bucket, const BYTE* p)
    {
        if (count[bucket] == 0) {
            used[usedCount++] = bucket;
            sum[bucket][0] = sum[bucket][1] = sum[bucket][2] = 0;
        }
        ++count[bucket];
        sum[bucket][0] += p[0];
        sum[bucket][1] += p[1];
        sum[bucket][2] += p[2];
    }
    // Empties the buckets that were used, ready for the next window.
    void Reset()
    {
        for (int i = 0; i < usedCount; ++i)
            count[used[i]] = 0;
        usedCount = 0;
    }
};

template <class F> void ForWindow(const BYTE* buffer, int width, int height, int x, int y, int r, F f)
{
    const int stride = DibStride(width);
    for (int yy = y - r; yy <= y + r; ++yy) {
        if (yy < 0 || yy >= height)
            continue;
        for (int xx = x - r; xx <= x + r; ++xx)
            if (xx >= 0 && xx < width)
                f(buffer + (size_t)yy * stride + (size_t)xx * 3);
    }
}

COLORREF ColourOf(int32_t blue, int32_t green, int32_t red) { return RGB(red, green, blue); }

COLORREF FullestBucket(Buckets& b);

COLORREF OilPaintWith(Buckets& b, const BYTE* buffer, int width, int height, int x, int y, int radius, int levels)
{
    const double scale = levels / 255.0;
    ForWindow(buffer, width, height, x, y, radius,
              [&](const BYTE* p) { b.Add((int)(Luminance(p[2], p[1], p[0]) * scale), p); });
    return FullestBucket(b);
}

// The mean colour of the fullest bucket (the lowest of a tie); the buckets are emptied.
COLORREF FullestBucket(Buckets& b)
{
    int best = -1;
    for (int i = 0; i < b.usedCount; ++i) {
        const int k = b.used[i];
        if (best < 0 || b.count[k] > b.count[best] || (b.count[k] == b.count[best] && k < best))
            best = k;
    }
    COLORREF colour = 0;
    if (best >= 0) {
        const int32_t n = b.count[best];
        colour = ColourOf(b.sum[best][0] / n, b.sum[best][1] / n, b.sum[best][2] / n);
    }
    b.Reset();
    return colour;
}

void PutColour(BYTE* p, COLORREF colour)
{
    p[0] = GetBValue(colour);
    p[1] = GetGValue(colour);
    p[2] = GetRValue(colour);
}

} // namespace

COLORREF OilPaintPixel(const BYTE* buffer, int width, int height, int x, int y, int radius, int levels)
{
    Buckets b;
    return OilPaintWith(b, buffer, width, height, x, y, radius, ClampInt(levels, 1, 255));
}

COLORREF RandomPaintPixel(const BYTE* buffer, int width, int height, int x, int y, int radius)
{
    Buckets b;
    int32_t total = 0;
    int32_t all[3] = {0, 0, 0};
    ForWindow(buffer, width, height, x, y, radius, [&](const BYTE* p) {
        b.Add(Luminance(p[2], p[1], p[0]), p);
        ++total;
        all[0] += p[0];
        all[1] += p[1];
        all[2] += p[2];
    });
    if (total == 0)
        return 0;
    int draws = 0;
    int drawn = -1;
    while (true) {
        ++draws;
        const int32_t target = (int32_t)((int64_t)(rand() + 1) * total / 32768);
        int32_t sum = 0;
        int k = 0;
        for (; k < 255; ++k) {
            sum += b.count[k];
            if (sum >= target)
                break;
        }
        if (b.count[k] > 0) {
            drawn = k;
            break;
        }
        if (draws > total)
            break;
    }
    if (drawn >= 0 && draws < total) {
        const int32_t n = b.count[drawn];
        return ColourOf(b.sum[drawn][0] / n, b.sum[drawn][1] / n, b.sum[drawn][2] / n);
    }
    return ColourOf(all[0] / total, all[1] / total, all[2] / total);
}

HRESULT DibOilPaint(Gdiplus::Bitmap* source, Gdiplus::Image* destination, int radius, int levels, LONG* lines)
{
    const int r = ClampInt(radius, 1, 5);
    const int l = ClampInt(levels, 10, 255);
    return RunFormB(source, destination, lines, [r, l](Dib& dib) {
        Dib out;
        if (!dib.CopyTo(out))
            return false;
        // Each pixel's bucket once, rather than once for every window it falls in.
        EffectBlock plane;
        if (!plane.Allocate((size_t)dib.width * dib.height))
            return false;
        const double scale = l / 255.0;
        BYTE* bucketOf = plane.Get();
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                const BYTE* p = dib.Px(x, y);
                bucketOf[(size_t)y * dib.width + x] = (BYTE)(int)(Luminance(p[2], p[1], p[0]) * scale);
            }
        Buckets b;
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                for (int yy = std::max(0, y - r); yy <= std::min(dib.height - 1, y + r); ++yy)
                    for (int xx = std::max(0, x - r); xx <= std::min(dib.width - 1, x + r); ++xx)
                        b.Add(bucketOf[(size_t)yy * dib.width + xx], dib.Px(xx, yy));
                PutColour(out.Px(x, y), FullestBucket(b));
            }
        memcpy(dib.Bits(), out.Bits(), dib.Size());
        return true;
    });
}

HRESULT DibRandomPaint(HDC destination, HDC source, int radius, LONG* lines)
{
    const int r = ClampInt(radius, 1, 10);
    return RunFormA(destination, source, lines, [r](Dib& dib) {
        Dib out;
        if (!dib.CopyTo(out))
            return false;
        srand(::GetTickCount());
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                PutColour(out.Px(x, y), RandomPaintPixel(dib.Bits(), dib.width, dib.height, x, y, r));
                PumpMessages();
            }
        memcpy(dib.Bits(), out.Bits(), dib.Size());
        return true;
    });
}

HRESULT DibStamp(HDC destination, HDC source, int threshold, int distance, int grain, int depth, COLORREF dark,
                 COLORREF light, LONG* lines)
{
    auto lighten = [](COLORREF c) {
        const int grey = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
        if (grey >= 11)
            return c;
        return RGB(GetRValue(c) + 127, GetGValue(c) + 127, GetBValue(c) + 127);
    };
    const COLORREF darkColour = lighten(dark), lightColour = lighten(light);
    const int t = ClampInt(threshold, 0, 255);
    const int d = ClampInt(distance, 1, 5);
    const int g = ClampInt(grain, 0, 60);
    const int k = ClampInt(depth, 0, 10);
    return RunFormA(destination, source, lines, [=](Dib& dib) {
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                BYTE* p = dib.Px(x, y);
                PutColour(p, GreyOf(p) >= t ? lightColour : darkColour);
            }
        if (g > 0) {
            srand(::GetTickCount());
            for (int y = 0; y < dib.height; ++y)
                for (int x = 0; x < dib.width; ++x) {
                    BYTE* p = dib.Px(x, y);
                    const COLORREF c = RGB(p[2], p[1], p[0]);
                    if (c != lightColour && c != darkColour)
                        continue;
                    int n = rand() % g;
                    if (n % 2 == 1)
                        n = 0;
                    if (GreyOf(p) > 127)
                        n = -n;
                    for (int i = 0; i < 3; ++i)
                        p[i] = ClampByte(p[i] + n);
                }
        }
        Dib out;
        if (!dib.CopyTo(out))
            return false;
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                const BYTE* p = dib.Px(x, y);
                const BYTE* n = dib.Px(x + ReflectIndex(x, d, dib.width), y + ReflectIndex(y, d, dib.height));
                const int e = k * ((n[2] - p[2]) + (n[1] - p[1]) + (n[0] - p[0])) / 3;
                BYTE* o = out.Px(x, y);
                for (int i = 0; i < 3; ++i)
                    o[i] = ClampByte(p[i] - e);
            }
        memcpy(dib.Bits(), out.Bits(), dib.Size());
        return true;
    });
}

namespace {

// Rows of every fourth line and every third pixel, with CR LF each, and the NUL.
size_t AsciiArtBytes(LONG width, LONG height)
{
    const size_t rows = ((size_t)height + 3) / 4;
    const size_t perRow = ((size_t)width + 2) / 3 + 2;
    const size_t needed = rows * perRow + 1;
    const size_t reported = ((size_t)width / 3 + 2) * (size_t)height;
    return reported > needed ? reported : needed;
}

} // namespace

HRESULT DibAsciiArtSize(HDC source, size_t* size)
{
    BITMAPINFOHEADER header;
    LONG width = 0, height = 0;
    if (GetDibOfDC(source, &header, &width, &height) == nullptr || size == nullptr)
        return E_FAIL;
    *size = AsciiArtBytes(width, height);
    return S_OK;
}

HRESULT DibAsciiArt(HDC source, char* text, size_t size, LONG* lines)
{
    size_t needed = 0;
    if (text == nullptr || FAILED(DibAsciiArtSize(source, &needed)) || size < needed)
        return E_FAIL;
    Dib dib;
    const HRESULT hr = ReadDibOfDC(source, dib, lines);
    if (FAILED(hr))
        return hr;
    static const char ramp[] = "#WMBRXVYIti+=;:,. ";
    char* out = text;
    for (int y = dib.height - 1; y >= 0; y -= 4) {
        for (int x = 0; x < dib.width; x += 3) {
            const BYTE* p = dib.Px(x, y);
            float index = ((p[0] + p[1] + p[2]) / 3) / 14.22f;
            if (index > 17)
                index = 17;
            *out++ = ramp[(int)index];
        }
        *out++ = '\r';
        *out++ = '\n';
    }
    *out = '\0';
    if (lines != nullptr)
        *lines = dib.linesRead;
    return S_OK;
}

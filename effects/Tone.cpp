#include "effects/Tone.h"

#include "effects/EffectFrame.h"
#include "effects/EffectHelpers.h"

#include <algorithm>
#include <limits.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

namespace {

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }
double ClampD(double v, double lo, double hi) { return v < lo ? lo : v > hi ? hi : v; }
int GreyOf(const BYTE* p) { return (p[0] + p[1] + p[2]) / 3; }

template <class F> void ForEachPixel(Dib& dib, F f)
{
    for (int y = 0; y < dib.height; ++y) {
        BYTE* p = dib.Px(0, y);
        for (int x = 0; x < dib.width; ++x, p += 3)
            f(p);
    }
}

// One table for all three channels, built by `entry(i)`.
struct Lut
{
    BYTE t[256];
    template <class F> explicit Lut(F entry)
    {
        for (int i = 0; i < 256; ++i)
            t[i] = entry(i);
    }
};

HRESULT ApplyLutA(HDC destination, HDC source, LONG* lines, const Lut& lut)
{
    return RunFormA(destination, source, lines, [&lut](Dib& dib) {
        ApplyChannelLuts(lut.t, lut.t, lut.t, dib.Bits(), dib.width, dib.height);
        return true;
    });
}

HRESULT ThresholdAt(HDC destination, HDC source, int level, LONG* lines)
{
    return RunFormA(destination, source, lines, [level](Dib& dib) {
        ForEachPixel(dib, [level](BYTE* p) { memset(p, GreyOf(p) <= level ? 0 : 255, 3); });
        return true;
    });
}

// The low..high bounds of each channel of `colour` within the tolerance; index 0 blue.
struct Bounds
{
    int low[3];
    int high[3];
    Bounds(COLORREF colour, int tolerance)
    {
        const int half = tolerance / 2;
        const int v[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
        for (int c = 0; c < 3; ++c) {
            low[c] = (int)ClampD(v[c] - half * 2.55, 0, 255);
            high[c] = (int)ClampD(v[c] + half * 2.55, 0, 255);
        }
    }
    bool Holds(const BYTE* p) const
    {
        for (int c = 0; c < 3; ++c)
            if (p[c] < low[c] || p[c] > high[c])
                return false;
        return true;
    }
};

void SetColour(BYTE* p, COLORREF colour)
{
    p[0] = GetBValue(colour);
    p[1] = GetGValue(colour);
    p[2] = GetRValue(colour);
}

bool IsColour(const BYTE* p, COLORREF colour)
{
    return p[0] == GetBValue(colour) && p[1] == GetGValue(colour) && p[2] == GetRValue(colour);
}

} // namespace

HRESULT DibThreshold(HDC destination, HDC source, LONG* lines) { return ThresholdAt(destination, source, 127, lines); }

HRESULT DibThresholdLevel(HDC destination, HDC source, int level, LONG* lines)
{
    return ThresholdAt(destination, source, level < 0 ? 0 : level, lines);
}

HRESULT DibThresholdChannels(HDC destination, HDC source, LONG* lines)
{
    return ApplyLutA(destination, source, lines, Lut([](int i) { return (BYTE)(i < 128 ? 0 : 255); }));
}

HRESULT DibPosterize(HDC destination, HDC source, int level, LONG* lines)
{
    // Above 255 every step is wider than a byte: the same as 255.
    const int step = Clamp(level, 0, 255) + 1;
    return ApplyLutA(destination, source, lines, Lut([step](int i) { return (BYTE)(i - i % step); }));
}

HRESULT DibPosterizeSix(HDC destination, HDC source, LONG* lines)
{
    return ApplyLutA(destination, source, lines, Lut([](int i) {
                         return (BYTE)(i < 26 ? 0 : i < 77 ? 51 : i < 128 ? 102 : i < 179 ? 153 : i < 230 ? 204 : 255);
                     }));
}

HRESULT DibBrightness(Gdiplus::Bitmap* source, Gdiplus::Image* destination, int amount, LONG* lines)
{
    const int a = Clamp(amount, -256, 256);
    const Lut lut([a](int i) { return ClampByte(i + a); });
    return RunFormB(source, destination, lines, [&lut](Dib& dib) {
        ApplyChannelLuts(lut.t, lut.t, lut.t, dib.Bits(), dib.width, dib.height);
        return true;
    });
}

HRESULT DibContrastRgb(Gdiplus::Bitmap* source, Gdiplus::Image* destination, float red, float green, float blue,
                       LONG* lines)
{
    auto table = [](float factor) {
        const float f = factor < 0 ? 0 : factor;
        return Lut([f](int i) { return (BYTE)ClampD(trunc((i - 127) * (double)f) + 127, 0, 255); });
    };
    const Lut r = table(red), g = table(green), b = table(blue);
    return RunFormB(source, destination, lines, [&](Dib& dib) {
        ApplyChannelLuts(r.t, g.t, b.t, dib.Bits(), dib.width, dib.height);
        return true;
    });
}

HRESULT DibGamma(HDC destination, HDC source, float gamma, LONG* lines)
{
    const double g = ClampD(gamma, 0, 10);
    return ApplyLutA(destination, source, lines, Lut([g](int i) { return (BYTE)(int)(255 * pow(i / 255.0, 1 / g)); }));
}

HRESULT DibReduceContrast(HDC destination, HDC source, int amount, LONG* lines)
{
    const int a = Clamp(amount, -512, 512);
    return RunFormA(destination, source, lines, [a](Dib& dib) {
        ForEachPixel(dib, [a](BYTE* p) {
            for (int c = 0; c < 3; ++c) {
                const int v = p[c];
                p[c] = (BYTE)(v < 128 ? std::min(ClampByte(v + a), (BYTE)127) : std::max(ClampByte(v - a), (BYTE)127));
            }
        });
        return true;
    });
}

HRESULT DibDifferenceLevel(HDC destination, HDC source, int level, LONG* lines)
{
    const int l = Clamp(level, 0, 255);
    return ApplyLutA(destination, source, lines, Lut([l](int i) { return ClampByte(abs(l - i)); }));
}

HRESULT DibSolarize(HDC destination, HDC source, BOOL upper, LONG* lines)
{
    return ApplyLutA(destination, source, lines, Lut([upper](int i) {
                         const bool turned = upper ? i > 127 : i < 128;
                         return (BYTE)(turned ? 255 - i : i);
                     }));
}

HRESULT DibSaturation(HDC destination, HDC source, int amount, LONG* lines)
{
    const int t = Clamp(amount, -255, 512) + 255;
    return RunFormA(destination, source, lines, [t](Dib& dib) {
        ForEachPixel(dib, [t](BYTE* p) {
            const int grey = GreyOf(p);
            for (int c = 0; c < 3; ++c)
                p[c] = ClampByte(MixByte(grey, p[c], t));
        });
        return true;
    });
}

HRESULT DibGrayBrightness(Gdiplus::Bitmap* source, Gdiplus::Image* destination, int amount, LONG* lines)
{
    const int a = Clamp(amount, -255, 255);
    return RunFormB(source, destination, lines, [a](Dib& dib) {
        ForEachPixel(dib, [a](BYTE* p) {
            int g = GreyOf(p);
            g = a < 0 ? MixByte(g, 0, -a) : ClampByte(g + a);
            memset(p, g, 3);
        });
        return true;
    });
}

HRESULT DibSepia(Gdiplus::Bitmap* source, Gdiplus::Image* destination, LONG* lines)
{
    // Three tables on the grey: one pass of look-ups per pixel.
    const Lut red([](int g) { return ClampByte(g + 53); });
    const Lut green([](int g) { return (BYTE)std::max(30, (int)ClampByte(g + 20)); });
    const Lut blue([](int g) { return (BYTE)std::max(30, (int)ClampByte(g - 33)); });
    return RunFormB(source, destination, lines, [&](Dib& dib) {
        ForEachPixel(dib, [&](BYTE* p) {
            const int g = GreyOf(p);
            p[0] = blue.t[g];
            p[1] = green.t[g];
            p[2] = red.t[g];
        });
        return true;
    });
}

HRESULT DibTint(HDC destination, HDC source, COLORREF colour, int opacity, LONG* lines)
{
    const int t = 255 - Clamp(opacity, 0, 255);
    const int channel[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
    const Lut b([&](int i) { return ClampByte(MixByte(channel[0], i, t)); });
    const Lut g([&](int i) { return ClampByte(MixByte(channel[1], i, t)); });
    const Lut r([&](int i) { return ClampByte(MixByte(channel[2], i, t)); });
    return RunFormA(destination, source, lines, [&](Dib& dib) {
        ApplyChannelLuts(r.t, g.t, b.t, dib.Bits(), dib.width, dib.height);
        return true;
    });
}

HRESULT DibColorFilter(Gdiplus::Bitmap* source, Gdiplus::Image* destination, COLORREF colour, int amount, LONG* lines)
{
    const int k = 255 - Clamp(amount, 0, 255);
    auto table = [k](int channel) {
        const int s = ClampByte(k - channel);
        return Lut([s](int i) { return ClampByte(i - s); });
    };
    const Lut r = table(GetRValue(colour)), g = table(GetGValue(colour)), b = table(GetBValue(colour));
    return RunFormB(source, destination, lines, [&](Dib& dib) {
        ApplyChannelLuts(r.t, g.t, b.t, dib.Bits(), dib.width, dib.height);
        return true;
    });
}

HRESULT DibMixBlueGreen(HDC destination, HDC source, int amount, LONG* lines)
{
    const int t = Clamp(amount, 0, 255);
    return RunFormA(destination, source, lines, [t](Dib& dib) {
        ForEachPixel(dib, [t](BYTE* p) {
            p[0] = ClampByte(MixByte(p[0], p[1], t));
            p[1] = ClampByte(MixByte(p[1], p[0], t));
        });
        return true;
    });
}

HRESULT DibHueShift(HDC destination, HDC source, int amount, LONG* lines)
{
    const int a = Clamp(amount, 0, 350);
    const int sector = std::min(a / 50, 6);
    const int t = (int)((a - 50 * sector) * (sector <= 4 ? 5.12 : 5.11));
    return RunFormA(destination, source, lines, [sector, t](Dib& dib) {
        ForEachPixel(dib, [sector, t](BYTE* p) {
            const int B = p[0], G = p[1], R = p[2];
            int r = R, g = G, b = B;
            switch (sector) {
            case 0:
                g = MixByte(G, R, t);
                break;
            case 1:
                r = MixByte(R, B, t), g = R;
                break;
            case 2:
                r = B, g = R, b = MixByte(B, R, t);
                break;
            case 3:
                r = B, g = MixByte(R, B, t), b = R;
                break;
            case 4:
                r = MixByte(B, R, t), g = B, b = R;
                break;
            case 5:
                g = B, b = MixByte(R, B, t);
                break;
            default:
                g = MixByte(B, G, t);
                break;
            }
            p[0] = ClampByte(b);
            p[1] = ClampByte(g);
            p[2] = ClampByte(r);
        });
        return true;
    });
}

HRESULT DibAutoLevels(HDC destination, HDC source, int flags, double amount, LONG* lines)
{
    const double k = ClampD(amount, 0, 2);
    return RunFormA(destination, source, lines, [flags, k](Dib& dib) {
        int selected = flags;
        if (selected & 8) {
            ForEachPixel(dib, [](BYTE* p) { memset(p, GreyOf(p), 3); });
            selected = 7;
        }
        const int codes[3] = {4, 2, 1}; // byte 0 blue, 1 green, 2 red
        for (int c = 0; c < 3; ++c) {
            if (!(selected & codes[c]))
                continue;
            HistogramRecord record;
            BuildHistogram(dib.Bits(), dib.width, dib.height, record.counts, codes[c]);
            HistogramRange(&record);
            const int lo = record.lowest;
            const int range = record.highest - lo;
            const double target = range + (double)RoundDouble((255 - range) * k);
            const double scale = range == 0 ? 1.0 : target / range;
            ForEachPixel(dib, [c, lo, scale](BYTE* p) {
                const double v = ClampD((double)RoundDouble((p[c] - lo) * scale), -1, 256);
                p[c] = ClampByte((int)v);
            });
        }
        return true;
    });
}

HRESULT DibBalanceColors(HDC destination, HDC source, int level, LONG* lines)
{
    return RunFormA(destination, source, lines, [level](Dib& dib) {
        // 64-bit sums: a 32-bit one overflows from about 8.4 million bright pixels.
        int64_t sum[3] = {0, 0, 0};
        ForEachPixel(dib, [&sum](BYTE* p) {
            sum[0] += p[0];
            sum[1] += p[1];
            sum[2] += p[2];
        });
        const int64_t n = (int64_t)dib.stride * dib.height / 3;
        int64_t mean[3];
        for (int c = 0; c < 3; ++c)
            mean[c] = sum[c] / n + 1;
        ForEachPixel(dib, [&mean, level](BYTE* p) {
            for (int c = 0; c < 3; ++c) {
                const int64_t v = (int64_t)p[c] * level / mean[c];
                p[c] = (BYTE)(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        });
        return true;
    });
}

HRESULT DibContourBands(HDC destination, HDC source, int bands, int phase, int palette, LONG* lines)
{
    return RunFormA(destination, source, lines, [bands, phase, palette](Dib& dib) {
        ForEachPixel(dib, [](BYTE* p) { memset(p, GreyOf(p), 3); });
        const int n = bands % 2 != 0 && bands < INT_MAX ? bands + 1 : bands;
        ApplyBandLut(dib.Bits(), dib.width, dib.height, n, phase);
        if (palette == 2)
            ApplyFirePalette(dib.Bits(), dib.width, dib.height);
        else if (palette == 3)
            ApplyIcePalette(dib.Bits(), dib.width, dib.height);
        return true;
    });
}

HRESULT DibReplaceColor(Gdiplus::Bitmap* source, Gdiplus::Image* destination, COLORREF from, COLORREF to, int tolerance,
                        LONG* lines)
{
    const Bounds bounds(from, tolerance);
    return RunFormB(source, destination, lines, [&bounds, to](Dib& dib) {
        ForEachPixel(dib, [&bounds, to](BYTE* p) {
            if (bounds.Holds(p))
                SetColour(p, to);
        });
        return true;
    });
}

HRESULT DibRemoveBackground(Gdiplus::Bitmap* source, Gdiplus::Image* destination, COLORREF key, COLORREF fill,
                            int tolerance, BOOL fromTop, BOOL fromLeft, BOOL fromRight, BOOL fromBottom, LONG* lines)
{
    const Bounds bounds(key, tolerance);
    return RunFormB(source, destination, lines, [&](Dib& dib) {
        EffectBlock mask;
        if (!mask.Allocate(dib.Size()))
            return false;
        BYTE* marks = mask.Get();
        // Marks and passes over key pixels, passes over fill pixels; false at any other.
        auto visit = [&](int x, int y) {
            const BYTE* p = dib.Px(x, y);
            if (IsColour(p, fill))
                return true;
            if (!bounds.Holds(p))
                return false;
            marks[(size_t)y * dib.stride + (size_t)x * 3] = 1;
            return true;
        };
        const int w = dib.width, h = dib.height;
        if (fromTop)
            for (int x = 0; x < w; ++x)
                for (int y = h - 1; y >= 0 && visit(x, y); --y) {}
        if (fromLeft)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w && visit(x, y); ++x) {}
        if (fromRight)
            for (int y = 0; y < h; ++y)
                for (int x = w - 1; x >= 0 && visit(x, y); --x) {}
        if (fromBottom)
            for (int x = 0; x < w; ++x)
                for (int y = 0; y < h && visit(x, y); ++y) {}
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (marks[(size_t)y * dib.stride + (size_t)x * 3])
                    SetColour(dib.Px(x, y), fill);
        return true;
    });
}

HRESULT DibDarkenEllipse(Gdiplus::Bitmap* source, Gdiplus::Image* destination, RECT rect, short red, short green,
                         short blue, LONG* lines)
{
    return RunFormB(source, destination, lines, [&](Dib& dib) {
        RECT r = rect;
        ::OffsetRect(&r, 1, 2);
        const HRGN region = ::CreateEllipticRgnIndirect(&r);
        if (region == nullptr)
            return false;
        const int amounts[3] = {blue, green, red};
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x)
                if (::PtInRegion(region, x, dib.height - y)) {
                    BYTE* p = dib.Px(x, y);
                    for (int c = 0; c < 3; ++c)
                        p[c] = ClampByte(p[c] - amounts[c]);
                }
        ::DeleteObject(region);
        return true;
    });
}

HRESULT DibColorDots(HDC destination, HDC source, int density, COLORREF colour, LONG* lines)
{
    const int d = Clamp(density, 1, 255);
    return RunFormA(destination, source, lines, [d, colour](Dib& dib) {
        srand(::GetTickCount());
        ForEachPixel(dib, [d, colour](BYTE* p) {
            const int r = rand() % d + 1;
            if (r == 1 || r == 2)
                SetColour(p, colour);
        });
        return true;
    });
}

HRESULT DibChannelNoise(HDC destination, HDC source, int amount, LONG* lines)
{
    const int a = Clamp(amount, -255, 255);
    return RunFormA(destination, source, lines, [a](Dib& dib) {
        srand(::GetTickCount());
        ForEachPixel(dib, [a](BYTE* p) {
            const int k = rand() % 3; // 0 red, 1 green, 2 blue
            BYTE* c = p + (2 - k);
            *c = ClampByte(*c + a);
        });
        return true;
    });
}

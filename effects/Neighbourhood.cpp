#include "effects/Neighbourhood.h"

#include "effects/NeighbourhoodUtil.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

using namespace effects_detail;

namespace {

// In place over the interior (rows and columns 1 .. n-2): `counted(window pixel, centre)`
// says which pixel a window position counts with.
template <class Counted> bool SmoothInterior(Dib& dib, Counted counted)
{
    for (int y = 1; y < dib.height - 1; ++y)
        for (int x = 1; x < dib.width - 1; ++x) {
            BYTE* centre = dib.Px(x, y);
            Sum3 sum;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum.Add(counted(dib.Px(x + dx, y + dy), centre));
            sum.StoreMean(centre, 9);
        }
    return true;
}

// Mean of the (2r+1)^2 clamped neighbours of (x, y) in `from`, written to `to`.
void WindowMean(const Dib& from, int x, int y, int r, BYTE* to)
{
    Sum3 sum;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            sum.Add(Neighbour(from, x, y, dx, dy));
    sum.StoreMean(to, (2 * r + 1) * (2 * r + 1));
}

// A second buffer, a copy of the source, each pixel of which `f(x, y, out)` writes.
template <class F> bool IntoSecond(Dib& dib, F f)
{
    Dib out;
    if (!dib.CopyTo(out))
        return false;
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x)
            f(x, y, out.Px(x, y));
    memcpy(dib.Bits(), out.Bits(), dib.Size());
    return true;
}

double ClampD(double v, double lo, double hi) { return v < lo ? lo : v > hi ? hi : v; }

// WindowMean of every pixel into `to`.  Where the whole window lies inside the image it holds
// plain pixels, summed from running column sums (a few additions a pixel instead of a
// window's worth); the rim takes the clamped rule pixel by pixel.
bool BoxMean(const Dib& from, int r, Dib& to)
{
    const int w = from.width, h = from.height, side = 2 * r + 1, count = side * side;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x < r || y < r || x > w - 1 - r || y > h - 1 - r)
                WindowMean(from, x, y, r, to.Px(x, y));
    if (w < side || h < side)
        return true;
    EffectBlock block;
    if (!block.Allocate((size_t)w * 3 * sizeof(int)))
        return false;
    int* columns = reinterpret_cast<int*>(block.Get());
    for (int x = 0; x < w * 3; ++x)
        for (int y = 0; y < side; ++y)
            columns[x] += from.Px(0, y)[x];
    for (int y = r; y <= h - 1 - r; ++y) {
        if (y > r) {
            const BYTE* in = from.Px(0, y + r);
            const BYTE* out = from.Px(0, y - r - 1);
            for (int x = 0; x < w * 3; ++x)
                columns[x] += in[x] - out[x];
        }
        int sum[3] = {0, 0, 0};
        for (int x = 0; x < side; ++x)
            for (int c = 0; c < 3; ++c)
                sum[c] += columns[x * 3 + c];
        for (int x = r; x <= w - 1 - r; ++x) {
            if (x > r)
                for (int c = 0; c < 3; ++c)
                    sum[c] += columns[(x + r) * 3 + c] - columns[(x - r - 1) * 3 + c];
            BYTE* p = to.Px(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = (BYTE)(sum[c] / count);
        }
    }
    return true;
}

HRESULT EdgesWith(HDC destination, HDC source, short shift, short distance, bool inverted, LONG* lines)
{
    const int s = ClampInt(shift, 0, 5);
    const int d = ClampInt(distance, 1, 5);
    return RunFormA(destination, source, lines, [s, d, inverted](Dib& dib) {
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                BYTE* p = dib.Px(x, y);
                const BYTE* right = dib.Px(x + ReflectIndex(x, d, dib.width), y);
                const BYTE* up = dib.Px(x, y + ReflectIndex(y, d, dib.height));
                for (int c = 0; c < 3; ++c) {
                    const int h = p[c] - right[c];
                    const int v = p[c] - up[c];
                    const BYTE e = ClampByte((int)sqrt((double)((h * h + v * v) << s)));
                    p[c] = (BYTE)(inverted ? 255 - e : e);
                }
            }
        return true;
    });
}

} // namespace

HRESULT DibBlur3x3(HDC destination, HDC source, LONG* lines)
{
    return RunFormA(destination, source, lines,
                    [](Dib& dib) { return SmoothInterior(dib, [](const BYTE* p, const BYTE*) { return p; }); });
}

HRESULT DibSelectiveSmooth(HDC destination, HDC source, int tolerance, LONG* lines)
{
    const int t = ClampInt(tolerance, 0, 255);
    return RunFormA(destination, source, lines, [t](Dib& dib) {
        return SmoothInterior(
            dib, [t](const BYTE* p, const BYTE* centre) { return abs(GreyOf(p) - GreyOf(centre)) <= t ? p : centre; });
    });
}

HRESULT DibSelectiveSmoothInverse(HDC destination, HDC source, int tolerance, LONG* lines)
{
    const int t = ClampInt(tolerance, 0, 255);
    return RunFormA(destination, source, lines, [t](Dib& dib) {
        return SmoothInterior(
            dib, [t](const BYTE* p, const BYTE* centre) { return abs(GreyOf(p) - GreyOf(centre)) <= t ? centre : p; });
    });
}

HRESULT DibSelectiveBlur(HDC destination, HDC source, short radius, short tolerance, BOOL useTolerance, LONG* lines)
{
    if (radius < 1)
        return S_OK;
    const int r = ClampInt(radius, 1, 10);
    return RunFormA(destination, source, lines, [r, tolerance, useTolerance](Dib& dib) {
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                BYTE* centre = dib.Px(x, y);
                const int grey = GreyOf(centre);
                Sum3 sum;
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx) {
                        const BYTE* n = Neighbour(dib, x, y, dx, dy);
                        sum.Add(useTolerance && abs(GreyOf(n) - grey) > tolerance ? centre : n);
                    }
                sum.StoreMean(centre, (2 * r + 1) * (2 * r + 1));
            }
        return true;
    });
}

HRESULT DibAdaptiveBlur(HDC destination, HDC source, LONG* lines)
{
    return RunFormA(destination, source, lines, [](Dib& dib) {
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                BYTE* p = dib.Px(x, y);
                WindowMean(dib, x, y, GreyOf(p) < 128 ? 1 : 3, p);
            }
        return true;
    });
}

HRESULT DibCrossBlur(HDC destination, HDC source, int distance, LONG* lines)
{
    return RunFormA(destination, source, lines, [distance](Dib& dib) {
        const int w = dib.width, h = dib.height;
        const int64_t d = distance;
        auto clampTo = [](int64_t v, int n) { return (int)(v < 0 ? 0 : v > n - 1 ? n - 1 : v); };
        const Dib& from = dib;
        return IntoSecond(dib, [&](int x, int y, BYTE* out) {
            Sum3 sum;
            sum.Add(from.Px(x, clampTo(y + d, h)));
            sum.Add(from.Px(x, clampTo(y - d, h)));
            sum.Add(from.Px(clampTo(x + d, w), y));
            sum.Add(from.Px(clampTo(x - d, w), y));
            sum.StoreMean(out, 4);
        });
    });
}

HRESULT DibRingBlur(HDC destination, HDC source, int radius, LONG* lines)
{
    const int r = ClampInt(radius, 1, 1000);
    return RunFormA(destination, source, lines, [r](Dib& dib) {
        const Dib& from = dib;
        return IntoSecond(dib, [&](int x, int y, BYTE* out) {
            Sum3 sum;
            int count = 0;
            auto add = [&](int dx, int dy) {
                sum.Add(from.Px(ClampInt(x + dx, 0, from.width - 1), ClampInt(y + dy, 0, from.height - 1)));
                ++count;
            };
            for (int dx = -r; dx <= r; ++dx) {
                add(dx, -r);
                add(dx, r);
            }
            for (int dy = -r + 1; dy <= r - 1; ++dy) {
                add(-r, dy);
                add(r, dy);
            }
            sum.StoreMean(out, count);
        });
    });
}

HRESULT DibMotionBlur(HDC destination, HDC source, double angle, int length, LONG* lines)
{
    const double a = angle == 0 ? 0.0001 : angle;
    const double u = 6.283 / (360 / a);
    const double cu = cos(u), su = sin(u);
    // A negative length has no samples to average: as 0, a copy.
    const int l = ClampInt(length, 0, 100000);
    return RunFormA(destination, source, lines, [cu, su, l](Dib& dib) {
        const Dib& from = dib;
        const double maxX = from.width - 1, maxY = from.height - 1;
        return IntoSecond(dib, [&](int x, int y, BYTE* out) {
            Sum3 sum;
            for (int t = -l; t <= l; ++t)
                sum.Add(from.Px((int)ClampD(x + t * cu, 0, maxX), (int)ClampD(y + t * su, 0, maxY)));
            sum.StoreMean(out, 2 * l + 1);
        });
    });
}

HRESULT DibSpinBlur(HDC destination, HDC source, short span, LONG* lines)
{
    if (span == 0)
        return S_OK;
    const int s = span < 0 ? 1 : span;
    return RunFormA(destination, source, lines, [s](Dib& dib) {
        const Dib& from = dib;
        const int hw = from.width / 2, hh = from.height / 2;
        return IntoSecond(dib, [&](int x, int y, BYTE* out) {
            const double dx = hw - x, dy = hh - y;
            const double r = sqrt(dx * dx + dy * dy);
            const double a = atan2(dy, dx);
            Sum3 sum;
            for (int k = -s; k <= s; ++k) {
                const double b = a + k * 0.01745329;
                const int sx = ClampInt((int)(hw - r * cos(b)), 0, from.width - 1);
                const int sy = ClampInt((int)(hh - r * sin(b)), 0, from.height - 1);
                sum.Add(from.Px(sx, sy));
            }
            sum.StoreMean(out, 2 * s + 1);
        });
    });
}

HRESULT DibZoomBlur(HDC destination, HDC source, short strength, LONG* lines)
{
    if (strength == 0)
        return S_OK;
    const int s = strength < 0 ? 1 : strength;
    return RunFormA(destination, source, lines, [s](Dib& dib) {
        const Dib& from = dib;
        const int hw = from.width / 2, hh = from.height / 2;
        const double diagonal = sqrt((double)from.width * from.width + (double)from.height * from.height);
        return IntoSecond(dib, [&](int x, int y, BYTE* out) {
            const double dx = hw - x, dy = hh - y;
            const double r = sqrt(dx * dx + dy * dy);
            const double a = atan2(dy, dx);
            const double L = s * r / diagonal;
            if (L == 0) {
                memcpy(out, from.Px(x, y), 3);
                return;
            }
            Sum3 sum;
            for (int t = 0; t < L; ++t) {
                const int sx = ClampInt((int)(hw - (r - t) * cos(a)), 0, from.width - 1);
                const int sy = ClampInt((int)(hh - (r - t) * sin(a)), 0, from.height - 1);
                sum.Add(from.Px(sx, sy));
            }
            sum.StoreMean(out, (int)(L + 1));
        });
    });
}

HRESULT DibUnsharpMask(HDC destination, HDC source, short radius, double amount, LONG* lines)
{
    if (radius < 1 || amount < 0)
        return S_OK;
    const int r = ClampInt(radius, 1, 10);
    const double k = amount > 10 ? 10 : amount;
    return RunFormA(destination, source, lines, [r, k](Dib& dib) {
        Dib blur;
        if (!dib.CopyTo(blur))
            return false;
        if (!BoxMean(dib, r, blur))
            return false;
        Dib out;
        if (!dib.CopyTo(out))
            return false;
        for (int y = 0; y < dib.height; ++y) {
            const BYTE* p = dib.Px(0, y);
            const BYTE* b = blur.Px(0, y);
            BYTE* o = out.Px(0, y);
            for (int i = 0; i < dib.width * 3; ++i)
                o[i] = (BYTE)ClampD(trunc(p[i] * (k + 1) - b[i] * k), 0, 255);
        }
        memcpy(dib.Bits(), out.Bits(), dib.Size());
        return true;
    });
}

HRESULT DibSharpenDiagonal(HDC destination, HDC source, int amount, LONG* lines)
{
    // Past 255 every difference already saturates.
    const int a = ClampInt(amount, 0, 256);
    return RunFormA(destination, source, lines, [a](Dib& dib) {
        for (int y = 1; y < dib.height; ++y)
            for (int x = 1; x < dib.width; ++x) {
                BYTE* p = dib.Px(x - 1, y - 1);
                const BYTE* c = dib.Px(x, y);
                for (int k = 0; k < 3; ++k)
                    p[k] = ClampByte(p[k] + a * (p[k] - c[k]));
            }
        return true;
    });
}

HRESULT DibSharpen(HDC destination, HDC source, float amount, LONG* lines)
{
    const double a = amount < 0 ? 0 : amount > 1000 ? 1000 : amount;
    return RunFormA(destination, source, lines, [a](Dib& dib) {
        const size_t size = dib.Size();
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                BYTE* p = dib.Px(x, y);
                // The pixel down and left; on the first row and column the offset folds to the
                // positive side, which on an image one or two rows high lies past the buffer:
                // there the pixel is its own neighbour.
                const size_t offset = (size_t)llabs((long long)(y - 1) * dib.stride + 3LL * (x - 1));
                const BYTE* n = offset + 3 <= size ? dib.Bits() + offset : p;
                BYTE nv[3] = {n[0], n[1], n[2]};
                for (int k = 0; k < 3; ++k)
                    p[k] = (BYTE)ClampD(p[k] + trunc((p[k] - nv[k]) * a), 0, 255);
            }
        return true;
    });
}

namespace {

bool Emboss(Dib& dib, double depth)
{
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x) {
            BYTE* p = dib.Px(x, y);
            const BYTE* n = Neighbour(dib, x, y, 1, 1);
            int sum = 0;
            for (int c = 0; c < 3; ++c)
                sum += (int)fabs(trunc(ClampD((p[c] - n[c]) * depth + 128, -1e9, 1e9)));
            memset(p, ClampByte(sum / 3), 3);
        }
    return true;
}

} // namespace

HRESULT DibEmboss(HDC destination, HDC source, float depth, LONG* lines)
{
    return RunFormA(destination, source, lines, [depth](Dib& dib) { return Emboss(dib, depth); });
}

HRESULT DibEmbossImage(Gdiplus::Bitmap* source, Gdiplus::Image* destination, float depth, LONG* lines)
{
    return RunFormB(source, destination, lines, [depth](Dib& dib) { return Emboss(dib, depth); });
}

HRESULT DibEmbossColor(HDC destination, HDC source, LONG* lines)
{
    return RunFormA(destination, source, lines, [](Dib& dib) {
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                BYTE* p = dib.Px(x, y);
                const BYTE* n = Neighbour(dib, x, y, 2, 2);
                BYTE nv[3] = {n[0], n[1], n[2]};
                for (int c = 0; c < 3; ++c)
                    p[c] = ClampByte(p[c] - nv[c] + 128);
            }
        return true;
    });
}

HRESULT DibEdges(HDC destination, HDC source, short shift, short distance, LONG* lines)
{
    return EdgesWith(destination, source, shift, distance, false, lines);
}

HRESULT DibEdgesInverted(HDC destination, HDC source, short shift, short distance, LONG* lines)
{
    return EdgesWith(destination, source, shift, distance, true, lines);
}

HRESULT DibEdgeTwoTone(HDC destination, HDC source, int threshold, COLORREF edge, COLORREF background, LONG* lines)
{
    const int t = ClampInt(threshold, 0, 255);
    return RunFormA(destination, source, lines, [t, edge, background](Dib& dib) {
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                BYTE* p = dib.Px(x, y);
                const BYTE* right = dib.Px(x + ReflectIndex(x, 1, dib.width), y);
                const BYTE* up = dib.Px(x, y + ReflectIndex(y, 1, dib.height));
                int sum = 0;
                for (int c = 0; c < 3; ++c) {
                    const int h = p[c] - right[c];
                    const int v = p[c] - up[c];
                    sum += ClampByte((int)sqrt((double)(h * h + v * v) * 2));
                }
                const COLORREF colour = sum / 3 <= t ? background : edge;
                p[0] = GetBValue(colour);
                p[1] = GetGValue(colour);
                p[2] = GetRValue(colour);
            }
        return true;
    });
}

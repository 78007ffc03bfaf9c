#include "effects/Distort.h"

#include "effects/EffectFrame.h"
#include "effects/EffectHelpers.h"

#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

namespace {

const double kDegree = 0.0174527777777778; // 3.1415 / 180

int ClampInt(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// A coordinate truncated toward 0 and clamped to 0..n-1 (NaN and the infinities included).
int Coord(double v, int n)
{
    if (!(v > 0))
        return 0;
    if (v >= n - 1)
        return n - 1;
    return (int)v;
}

// Runs `map(x, y, out)` over every pixel (columns, then rows) into a copy of the source;
// `map` returns the destination pixel to write (or nullptr) and sets (sx, sy).
template <class Map> bool Remap(Dib& dib, Map map)
{
    Dib out;
    if (!dib.CopyTo(out))
        return false;
    for (int x = 0; x < dib.width; ++x)
        for (int y = 0; y < dib.height; ++y) {
            int dx = x, dy = y;
            double sx = 0, sy = 0;
            if (map(x, y, dx, dy, sx, sy))
                memcpy(out.Px(dx, dy), dib.Px(Coord(sx, dib.width), Coord(sy, dib.height)), 3);
        }
    memcpy(dib.Bits(), out.Bits(), dib.Size());
    return true;
}

// The polar remappings: around the integer centre, within half the diagonal.
template <class Polar> HRESULT PolarRemap(HDC destination, HDC source, LONG* lines, Polar polar)
{
    return RunFormA(destination, source, lines, [&polar](Dib& dib) {
        const int cx = dib.width / 2, cy = dib.height / 2;
        const double R = sqrt((double)dib.width * dib.width + (double)dib.height * dib.height) / 2;
        return Remap(dib, [&](int x, int y, int& tx, int& ty, double& sx, double& sy) {
            const double dx = cx - x, dy = cy - y;
            const double r = sqrt(dx * dx + dy * dy);
            if (r >= R)
                return false;
            return polar(dib.width, x, y, cx, cy, r, atan2(dy, dx), R, tx, ty, sx, sy);
        });
    });
}

} // namespace

HRESULT DibBulge(HDC destination, HDC source, LONG* lines)
{
    return PolarRemap(
        destination, source, lines,
        [](int w, int x, int, int cx, int cy, double r, double a, double R, int& tx, int&, double& sx, double& sy) {
            tx = w - 1 - x;
            sx = cx + cos(a) * r * r / R;
            sy = cy - sin(a) * r * r / R;
            return true;
        });
}

HRESULT DibBulgeDoubleAngle(HDC destination, HDC source, LONG* lines)
{
    return PolarRemap(
        destination, source, lines,
        [](int, int, int, int cx, int cy, double r, double a, double R, int&, int&, double& sx, double& sy) {
            sx = cx + cos(2 * a) * r * r / R;
            sy = cy - sin(2 * a) * r * r / R;
            return true;
        });
}

HRESULT DibPinch(HDC destination, HDC source, LONG* lines)
{
    return PolarRemap(
        destination, source, lines,
        [](int w, int x, int, int cx, int cy, double r, double a, double R, int& tx, int&, double& sx, double& sy) {
            tx = w - 1 - x;
            sx = cx + cos(a) * sqrt(r * R);
            sy = cy - sin(a) * sqrt(r * R);
            return true;
        });
}

HRESULT DibHalfAngle(HDC destination, HDC source, LONG* lines)
{
    return PolarRemap(
        destination, source, lines,
        [](int w, int x, int, int cx, int cy, double r, double a, double, int& tx, int&, double& sx, double& sy) {
            tx = w - 1 - x;
            sx = cx + cos(a / 2) * r;
            sy = cy - sin(a / 2) * r;
            return true;
        });
}

HRESULT DibSwirl(HDC destination, HDC source, int twist, LONG* lines)
{
    const int t = ClampInt(twist, -255, 255);
    // No twist at all would turn by r / 0: the image is copied.
    if (t == 0)
        return RunFormA(destination, source, lines, [](Dib&) { return true; });
    return PolarRemap(
        destination, source, lines,
        [t](int, int, int, int cx, int cy, double r, double a, double, int&, int&, double& sx, double& sy) {
            sx = cx + cos(a + r / t) * r;
            sy = cy - sin(a + r / t) * r;
            return true;
        });
}

HRESULT DibTwirl(HDC destination, HDC source, int amount, LONG* lines)
{
    const int am = ClampInt(amount, -100, 100);
    return RunFormA(destination, source, lines, [am](Dib& dib) {
        const double cx = dib.width / 2.0, cy = dib.height / 2.0;
        const double k = am / (cx * 10);
        return Remap(dib, [&](int x, int y, int&, int&, double& sx, double& sy) {
            const double dx = cx - x, dy = cy - y;
            const double r = sqrt(dx * dx + dy * dy);
            const double a = atan2(dy, dx);
            const double rb = PolarAngle(dib.height, dib.width, a);
            // No turn at all: each pixel stays exactly where it is.
            if (r < rb && k != 0) {
                const double turned = a + (rb - r) * k;
                sx = cx - cos(turned) * r;
                sy = cy - sin(turned) * r;
            } else {
                sx = x;
                sy = y;
            }
            return true;
        });
    });
}

HRESULT DibTwistGradient(HDC destination, HDC source, double outerAngle, double centreAngle, LONG* lines)
{
    const double a1 = outerAngle * 3.1415 / 8, a2 = centreAngle * 3.1415 / 8;
    return RunFormA(destination, source, lines, [a1, a2](Dib& dib) {
        const int cx = dib.width / 2, cy = dib.height / 2;
        const double D = sqrt((double)dib.width * dib.width + (double)dib.height * dib.height);
        return Remap(dib, [&](int x, int y, int&, int&, double& sx, double& sy) {
            const double dx = x - cx, dy = y - cy;
            const double r = sqrt(dx * dx + dy * dy);
            const double t = r / D;
            const double turned = t * a1 + (1 - t) * a2 + atan2(dy, dx);
            sx = cx + cos(turned) * r;
            sy = cy + sin(turned) * r;
            return true;
        });
    });
}

HRESULT DibPolarToRect(HDC destination, HDC source, int, LONG* lines)
{
    return RunFormA(destination, source, lines, [](Dib& dib) {
        Dib out;
        EffectBlock mask;
        if (!dib.CopyTo(out) || !mask.Allocate(dib.Size()))
            return false;
        const int w = dib.width, h = dib.height;
        const int cx = w / 2, cy = h / 2;
        BYTE* marks = mask.Get();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double dx = cx - x, dy = y - cy;
                const double r = sqrt(dx * dx + dy * dy);
                const double a = atan2(dy, dx);
                const double rb = PolarAngle(h, w, a);
                const int sx = Coord(w * a / 6.2832 + cx, w);
                const int sy = Coord(h - h * r / rb - 1, h);
                const int ty = cx == 0 ? 0 : ClampInt(x * cy / cx, 0, h - 1);
                const int tx = cy == 0 ? 0 : ClampInt(y * cx / cy, 0, w - 1);
                memcpy(out.Px(tx, ty), dib.Px(sx, sy), 3);
                marks[(size_t)ty * dib.stride + (size_t)tx * 3] = 1;
            }
        for (int y = 0; y < h; ++y)
            for (int x = 1; x < w - 1; ++x)
                if (!marks[(size_t)y * dib.stride + (size_t)x * 3]) {
                    BYTE* p = out.Px(x, y);
                    for (int c = 0; c < 3; ++c)
                        p[c] = (BYTE)((p[c - 3] + p[c + 3]) >> 1);
                }
        memcpy(dib.Bits(), out.Bits(), dib.Size());
        return true;
    });
}

namespace {

template <class Offset> HRESULT Wave(HDC destination, HDC source, LONG* lines, Offset offset)
{
    return RunFormA(destination, source, lines, [&offset](Dib& dib) {
        const int cx = dib.width / 2, cy = dib.height / 2;
        const double D = sqrt((double)dib.width * dib.width + (double)dib.height * dib.height);
        return Remap(dib, [&](int x, int y, int&, int&, double& sx, double& sy) {
            const double dx = cx - x, dy = cy - y;
            offset(x, y, dx, dy, sqrt(dx * dx + dy * dy), D, sx, sy);
            return true;
        });
    });
}

} // namespace

HRESULT DibWaves(HDC destination, HDC source, short amplitude, short frequency, short mode, LONG* lines)
{
    const double A = amplitude < 0 ? 0 : amplitude, F = frequency < 0 ? 0 : frequency;
    const bool odd = mode % 2 != 0;
    return Wave(destination, source, lines,
                [=](int x, int y, double dx, double dy, double, double, double& sx, double& sy) {
                    sx = x + A * sin(F * (odd ? x : dx) * kDegree);
                    sy = y + A * cos(F * (odd ? y : dy) * kDegree);
                });
}

HRESULT DibRipple(HDC destination, HDC source, short amplitude, short frequency, LONG* lines)
{
    const double A = amplitude < 0 ? 0 : amplitude, F = frequency < 0 ? 0 : frequency;
    return Wave(destination, source, lines,
                [=](int x, int y, double, double, double r, double, double& sx, double& sy) {
                    sx = x + A * sin(F * r * kDegree);
                    sy = y + A * cos(F * r * kDegree);
                });
}

HRESULT DibRippleGrowing(HDC destination, HDC source, short amplitude, short frequency, LONG* lines)
{
    const double A = amplitude < 0 ? 0 : amplitude, F = frequency < 0 ? 0 : frequency;
    return Wave(destination, source, lines,
                [=](int x, int y, double, double, double r, double D, double& sx, double& sy) {
                    const double grown = trunc(A * r / D);
                    sx = x + grown * sin(F * r * kDegree);
                    sy = y + grown * cos(F * r * kDegree);
                });
}

namespace {

// The distance sampled for distance d of a lens of k = strength / 1000 and radius m.
struct LensCurve
{
    double k;
    double q;
    LensCurve(double strength, int m) : k(strength * 0.001), q(m / log(fabs(strength * 0.001) * m + 1)) {}
    double operator()(double d) const { return k > 0 ? (exp(d / q) - 1) / k : q * log(1 - k * d); }
};

template <class Lens> HRESULT RunLens(HDC destination, HDC source, double strength, LONG* lines, Lens lens)
{
    if (strength == 0)
        return S_OK;
    return RunFormA(destination, source, lines, [strength, &lens](Dib& dib) {
        const int m = (dib.width < dib.height ? dib.width : dib.height) / 2;
        // Below a radius of one pixel there is no lens: the image is copied.
        if (m < 1)
            return true;
        const LensCurve curve(strength, m);
        return Remap(
            dib, [&](int x, int y, int&, int&, double& sx, double& sy) { return lens(dib, curve, m, x, y, sx, sy); });
    });
}

} // namespace

HRESULT DibLens(HDC destination, HDC source, double strength, LONG* lines)
{
    return RunLens(destination, source, strength, lines,
                   [](const Dib& dib, const LensCurve& curve, int m, int x, int y, double& sx, double& sy) {
                       const int cx = dib.width / 2, cy = dib.height / 2;
                       const double dx = x - cx, dy = y - cy;
                       const double d = sqrt(dx * dx + dy * dy);
                       if (d >= m)
                           return false;
                       const double a = atan2(dy, dx), dd = curve(d);
                       sx = cx + trunc(cos(a) * dd);
                       sy = cy + trunc(sin(a) * dd);
                       return true;
                   });
}

HRESULT DibCylinderLens(HDC destination, HDC source, double strength, LONG* lines)
{
    return RunLens(destination, source, strength, lines,
                   [](const Dib& dib, const LensCurve& curve, int m, int x, int y, double& sx, double& sy) {
                       const int cx = dib.width / 2;
                       const double d = abs(x - cx);
                       if (d >= m)
                           return false;
                       const double dd = trunc(curve(d));
                       sx = x < cx ? cx - dd : cx + dd;
                       sy = y;
                       return true;
                   });
}

namespace {

// The shade added to a drop pixel at distance d (in h) and angle a.
int DropShade(double d, double h, double a)
{
    struct Window
    {
        double from, to; // (from, to]
        int shade;
    };
    struct Ring
    {
        double inner;
        Window windows[3];
        int count;
    };
    static const Ring rings[] = {
        {0.9, {{-2.25, 0, -80}, {-2.5, -2.25, -40}, {0, 0.25, -40}}, 3},
        {0.8, {{-1.5, -0.75, -40}, {-0.75, 0.1, -30}, {-2.35, -1.5, -30}}, 3},
        {0.7, {{-2.0, -0.1, -20}, {1.9, 2.5, 60}, {0, 0, 0}}, 2},
        {0.6, {{-1.75, -0.5, -20}, {-0.25, 0, 20}, {-2.25, -2.0, 20}}, 3},
        {0.5, {{-0.5, -0.25, 30}, {-2.0, -1.75, 30}, {0, 0, 0}}, 2},
        {0.4, {{-1.75, -0.5, 40}, {0, 0, 0}, {0, 0, 0}}, 1},
        {0.3, {{-2.25, 0, 30}, {0, 0, 0}, {0, 0, 0}}, 1},
        {0.2, {{-1.75, -0.5, 20}, {0, 0, 0}, {0, 0, 0}}, 1},
    };
    for (const Ring& ring : rings) {
        if (d < ring.inner * h)
            continue;
        for (int i = 0; i < ring.count; ++i)
            if (a > ring.windows[i].from && a <= ring.windows[i].to)
                return ring.windows[i].shade;
        return 0;
    }
    return 0;
}

} // namespace

HRESULT DibWaterDrops(HDC destination, HDC source, int largest, int count, int strength, LONG* lines)
{
    const int s = ClampInt(strength, 1, 100);
    return RunFormA(destination, source, lines, [=](Dib& dib) {
        const int w = dib.width, ht = dib.height;
        Dib out;
        if (!dib.CopyTo(out))
            return false;
        BYTE** mask = Alloc2D(w, ht);
        if (mask == nullptr)
            return false;
        const double k = s * 0.01;
        // No drop is larger than the image around it, and no more drops fit than pixels.
        const int limit = 2 * (w + ht) + 6;
        const int biggest = largest > limit ? limit : largest;
        const int64_t last = count > (int64_t)w * ht ? (int64_t)w * ht : count;
        srand(::GetTickCount());
        for (int64_t drop = 0; drop <= last; ++drop) {
            int size = (int)(rand() * (double)(biggest - 5) / 32767 + 5);
            // A drop needs a radius of at least one pixel.
            if (size < 2)
                size = 2;
            const int h = size / 2;
            const double q = h / log(h * k + 1);
            int cx = 0, cy = 0;
            int draws = 0;
            for (; draws < 10000; ++draws) {
                cx = (int)(rand() * (double)(w - 1) / 32767);
                cy = (int)(rand() * (double)(ht - 1) / 32767);
                bool taken = false;
                for (int yy = cy - h; yy <= cy + h && !taken; ++yy)
                    for (int xx = cx - h; xx <= cx + h && !taken; ++xx)
                        taken = xx >= 0 && yy >= 0 && xx < w && yy < ht && mask[xx][yy];
                if (!taken)
                    break;
            }
            if (draws >= 10000)
                break;
            for (int oy = -h; oy <= size - h - 1; ++oy)
                for (int ox = -h; ox <= size - h - 1; ++ox) {
                    const double d = sqrt((double)ox * ox + (double)oy * oy);
                    if (d > h)
                        continue;
                    const double a = atan2((double)oy, (double)ox);
                    const double dd = (exp(d / q) - 1) / k;
                    const int tx = cx + ox, ty = cy + oy;
                    const int sx = cx + (int)(cos(a) * dd), sy = cy + (int)(sin(a) * dd);
                    if (tx < 0 || ty < 0 || tx >= w || ty >= ht || sx < 0 || sy < 0 || sx >= w || sy >= ht)
                        continue;
                    BYTE* p = out.Px(tx, ty);
                    memcpy(p, dib.Px(sx, sy), 3);
                    mask[tx][ty] = 1;
                    const int shade = DropShade(d, h, a);
                    for (int c = 0; c < 3; ++c)
                        p[c] = ClampByte(p[c] + shade);
                }
            const int b = size / 25 + 1;
            for (int oy = -h - b; oy <= size - h + b - 1; ++oy)
                for (int ox = -h - b; ox <= size - h + b - 1; ++ox) {
                    const int tx = cx + ox, ty = cy + oy;
                    if (sqrt((double)ox * ox + (double)oy * oy) > 1.1 * h || tx < 0 || ty < 0 || tx >= w || ty >= ht)
                        continue;
                    double sum[3] = {0, 0, 0};
                    int n = 0;
                    for (int yy = ty - b; yy <= ty + b; ++yy)
                        for (int xx = tx - b; xx <= tx + b; ++xx)
                            if (xx >= 0 && yy >= 0 && xx < w && yy < ht) {
                                const BYTE* q3 = out.Px(xx, yy);
                                sum[0] += q3[0];
                                sum[1] += q3[1];
                                sum[2] += q3[2];
                                ++n;
                            }
                    BYTE* p = out.Px(tx, ty);
                    for (int c = 0; c < 3; ++c)
                        p[c] = (BYTE)(int)(sum[c] / n);
                }
        }
        Free2D(mask, w);
        memcpy(dib.Bits(), out.Bits(), dib.Size());
        return true;
    });
}

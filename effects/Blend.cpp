#include "effects/Blend.h"

#include "effects/EffectFrame.h"
#include "effects/EffectHelpers.h"

#include <math.h>
#include <stdlib.h>

namespace {

int Min(int a, int b) { return a < b ? a : b; }
int Max(int a, int b) { return a < b ? b : a; }

BYTE InterpolationTerm(int v) { return (BYTE)(int)(64 - 64 * cos(v * 3.14 / 255) + 0.5); }

} // namespace

BYTE BlendAverage(int a, int b) { return (BYTE)((a + b) >> 1); }
BYTE BlendMultiply(int a, int b) { return (BYTE)(a * b >> 8); }
BYTE BlendScreen(int a, int b) { return (BYTE)(255 - ((255 - a) * (255 - b) >> 8)); }
BYTE BlendDarken(int a, int b) { return (BYTE)Min(a, b); }
BYTE BlendLighten(int a, int b) { return (BYTE)Max(a, b); }
BYTE BlendDifference(int a, int b) { return (BYTE)abs(a - b); }
BYTE BlendNegation(int a, int b) { return (BYTE)(255 - abs(a - b)); }
BYTE BlendExclusion(int a, int b) { return (BYTE)(a + b - (a * b >> 7)); }

BYTE BlendOverlay(int a, int b) { return (BYTE)(a < 128 ? a * b >> 7 : 255 - ((255 - a) * (255 - b) >> 7)); }

BYTE BlendHardLight(int a, int b) { return (BYTE)(b < 128 ? a * b >> 7 : 255 - ((255 - a) * (255 - b) >> 7)); }

BYTE BlendSoftLight(int a, int b)
{
    const int c = a * b >> 8;
    const int s = 255 - ((255 - a) * (255 - b) >> 8);
    return (BYTE)(c + ((s - c) * a >> 8));
}

BYTE BlendColorDodge(int a, int b) { return (BYTE)(b == 255 ? 255 : Min(255, (a * 256) / (255 - b))); }
BYTE BlendColorBurn(int a, int b) { return (BYTE)(b == 0 ? 0 : Max(0, 255 - ((255 - a) * 256) / b)); }

BYTE BlendSoftDodge(int a, int b)
{
    if (a + b < 256)
        return (BYTE)(b == 255 ? 255 : Min(255, (a * 128) / (255 - b)));
    return (BYTE)(b == 255 ? 255 : Max(0, 255 - ((255 - b) * 128) / a));
}

BYTE BlendSoftBurn(int a, int b)
{
    if (a + b < 256)
        return (BYTE)(a == 255 ? 255 : Min(255, (b * 128) / (255 - a)));
    return (BYTE)(a == 255 ? 255 : Max(0, 255 - ((255 - a) * 128) / b));
}

BYTE BlendReflect(int a, int b) { return (BYTE)(b == 255 ? 255 : Min(255, a * a / (255 - b))); }
BYTE BlendGlow(int a, int b) { return (BYTE)(a == 255 ? 255 : Min(255, b * b / (255 - a))); }
BYTE BlendFreeze(int a, int b) { return (BYTE)(b == 0 ? 0 : Max(0, 255 - (255 - a) * (255 - a) / b)); }
BYTE BlendHeat(int a, int b) { return (BYTE)(a == 0 ? 0 : Max(0, 255 - (255 - b) * (255 - b) / a)); }
BYTE BlendAdditive(int a, int b) { return (BYTE)Min(255, a + b); }
BYTE BlendSubtractive(int a, int b) { return (BYTE)Max(0, a + b - 256); }
BYTE BlendInterpolation(int a, int b) { return (BYTE)Min(255, InterpolationTerm(a) + InterpolationTerm(b)); }
BYTE BlendStamp(int a, int b) { return ClampByte(a + 2 * b - 256); }
BYTE BlendXor(int a, int b) { return (BYTE)(a ^ b); }

BYTE BlendPixel(int a, int b, int mode)
{
    typedef BYTE (*Formula)(int, int);
    static const Formula formulas[24] = {
        BlendAverage,   BlendMultiply,  BlendScreen,      BlendDarken,        BlendLighten,   BlendDifference,
        BlendNegation,  BlendExclusion, BlendOverlay,     BlendHardLight,     BlendSoftLight, BlendColorDodge,
        BlendColorBurn, BlendSoftDodge, BlendSoftBurn,    BlendReflect,       BlendGlow,      BlendFreeze,
        BlendHeat,      BlendAdditive,  BlendSubtractive, BlendInterpolation, BlendStamp,     BlendXor};
    if (mode < 1 || mode > 24)
        return (BYTE)a;
    return formulas[mode - 1](a, b);
}

namespace {

// Reads both sources, runs `step` on every byte pair of the common size and draws `drawn`
// (0 the first buffer, 1 the second).
template <class Step> HRESULT RunTwo(HDC destination, HDC first, HDC second, LONG* lines, int drawn, Step step)
{
    Dib a;
    Dib b;
    const HRESULT hr = ReadTwoDibs(first, second, a, b);
    if (FAILED(hr))
        return hr;
    step(a, b);
    DrawDib(destination, drawn == 0 ? a : b);
    if (lines != nullptr)
        *lines = a.linesRead;
    return S_OK;
}

} // namespace

HRESULT DibBlendLayers(HDC destination, HDC first, HDC second, int mode, LONG* lines)
{
    return RunTwo(destination, first, second, lines, 0, [mode](Dib& a, Dib& b) {
        for (int y = 0; y < a.height; ++y) {
            BYTE* p = a.Px(0, y);
            const BYTE* q = b.Px(0, y);
            for (int i = 0; i < a.width * 3; ++i)
                p[i] = BlendPixel(p[i], q[i], mode);
        }
    });
}

HRESULT DibCrossFade(HDC destination, HDC first, HDC second, int opacity, LONG* lines)
{
    const int t = opacity < 0 ? 0 : opacity > 255 ? 255 : opacity;
    return RunTwo(destination, first, second, lines, 0, [t](Dib& a, Dib& b) {
        for (int y = 0; y < a.height; ++y) {
            BYTE* p = a.Px(0, y);
            const BYTE* q = b.Px(0, y);
            for (int i = 0; i < a.width * 3; ++i)
                p[i] = (BYTE)MixByte(p[i], q[i], t);
        }
    });
}

HRESULT DibReliefBlend(HDC destination, HDC first, HDC second, double depth, int direction, LONG* lines)
{
    while (direction > 8)
        direction -= 8;
    if (direction < 1)
        return S_OK;
    //                          direction: 1   2  3   4   5   6   7  8
    static const int columnOffset[9] = {0, 1, 1, 1, 0, -1, -1, -1, 0};
    static const int rowOffset[9] = {0, 1, 0, -1, -1, -1, 0, 1, 1};
    const int ox = columnOffset[direction];
    const int oy = rowOffset[direction];
    return RunTwo(destination, first, second, lines, 1, [ox, oy, depth](Dib& a, Dib& b) {
        for (int y = 0; y < a.height; ++y) {
            const int ny = y + oy < 0 ? 0 : y + oy >= a.height ? a.height - 1 : y + oy;
            for (int x = 0; x < a.width; ++x) {
                const int nx = x + ox < 0 ? 0 : x + ox >= a.width ? a.width - 1 : x + ox;
                const BYTE* p = a.Px(x, y);
                const BYTE* n = a.Px(nx, ny);
                int sum = 0;
                for (int c = 0; c < 3; ++c)
                    sum += abs((int)((p[c] - n[c]) * depth + 128));
                const int e = ClampByte(sum / 3);
                BYTE* q = b.Px(x, y);
                for (int c = 0; c < 3; ++c)
                    q[c] = ClampByte(q[c] + e - 128);
            }
        }
    });
}

#include "effects/Shuffle.h"

#include "effects/EffectFrame.h"
#include "effects/EffectHelpers.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

namespace {

int GreyOf(const BYTE* p) { return (p[0] + p[1] + p[2]) / 3; }

} // namespace

HRESULT DibDiffuse(HDC destination, HDC source, LONG* lines)
{
    return RunFormA(destination, source, lines, [](Dib& dib) {
        srand(::GetTickCount());
        for (int y = 2; y <= dib.height - 4; ++y)
            for (int x = 2; x <= dib.width - 4; ++x) {
                const int ox = rand() % 4 - 2;
                const int oy = rand() % 4 - 2;
                memcpy(dib.Px(x, y), dib.Px(x + ox, y + oy), 3);
            }
        return true;
    });
}

HRESULT DibPixelate(HDC destination, HDC source, int n, LONG* lines)
{
    if (n <= 0) {
        if (lines != nullptr)
            *lines = 0;
        return S_OK;
    }
    return RunFormA(destination, source, lines, [n](Dib& dib) {
        const int w = dib.width, h = dib.height;
        for (int by = 0; by < h; by += n) {
            for (int bx = 0; bx < w; bx += n) {
                BYTE sample[3];
                memcpy(sample, dib.Px(bx + ReflectIndex(bx, n, w) / 2, by + ReflectIndex(by, n, h) / 2), 3);
                for (int y = by; y < h && y - by < n; ++y)
                    for (int x = bx; x < w && x - bx < n; ++x)
                        memcpy(dib.Px(x, y), sample, 3);
                if (bx > w - 1 - n)
                    break; // the next block would start past the image (and bx + n could overflow)
            }
            if (by > h - 1 - n)
                break;
        }
        return true;
    });
}

HRESULT DibSwapRowPairs(HDC destination, HDC source, LONG* lines)
{
    return RunFormA(destination, source, lines, [](Dib& dib) {
        const size_t bytes = (size_t)dib.width * 3;
        for (int y = 0; y + 1 < dib.height; y += 2) {
            BYTE* a = dib.Px(0, y);
            BYTE* b = dib.Px(0, y + 1);
            for (size_t i = 0; i < bytes; ++i) {
                const BYTE t = a[i];
                a[i] = b[i];
                b[i] = t;
            }
        }
        return true;
    });
}

HRESULT DibMirrorFromColumn(HDC destination, HDC source, int column, LONG* lines)
{
    BITMAPINFOHEADER header;
    LONG width = 0, height = 0;
    if (GetDibOfDC(source, &header, &width, &height) != nullptr && (column < 1 || column > width))
        return (HRESULT)0xFFFFFFFF;
    return RunFormA(destination, source, lines, [column](Dib& dib) {
        Dib mirror;
        if (!dib.CopyTo(mirror))
            return false;
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x)
                memcpy(mirror.Px(x, y), dib.Px(dib.width - 1 - x, y), 3);
        for (int y = 0; y < dib.height; ++y)
            for (int x = column; x < dib.width; ++x)
                memcpy(dib.Px(x, y), mirror.Px(x, y), 3);
        return true;
    });
}

HRESULT DibDrip(HDC destination, HDC source, int amount, LONG* lines)
{
    const int a = amount < 1 ? 1 : amount > 50 ? 50 : amount;
    return RunFormA(destination, source, lines, [a](Dib& dib) {
        Dib out;
        if (!dib.CopyTo(out))
            return false;
        const int h = dib.height;
        for (int x = 0; x < dib.width; ++x)
            for (int t = 0; t < h; ++t) {
                // Row t counted from the top.
                const BYTE* p = dib.Px(x, h - 1 - t);
                const int d = GreyOf(p) / a;
                memcpy(out.Px(x, h - 1 - t), p, 3);
                if (t - d < 1)
                    continue;
                for (int i = 1; i <= d - 1; ++i) {
                    const int up = ReflectIndex(t, i, h);
                    memcpy(out.Px(x, h - 1 - (t - up)), p, 3);
                }
            }
        memcpy(dib.Bits(), out.Bits(), dib.Size());
        return true;
    });
}

HRESULT DibWaveStrips(HDC destination, HDC source, int amplitude, int frequency, BYTE wrap, BYTE rows, LONG* lines)
{
    BITMAPINFOHEADER header;
    LONG w = 0, h = 0;
    if (GetDibOfDC(source, &header, &w, &h) == nullptr)
        return E_FAIL;
    const int amp = amplitude < 0 ? 0 : amplitude;
    const int freq = frequency < 0 ? 0 : frequency;
    const int strips = rows ? h : w;
    for (int i = 0; i < strips; ++i) {
        const int off = (int)(sin(2.0 * freq * i * 0.0174527777777778) * amp);
        if (rows) {
            ::BitBlt(destination, off, i, w, 1, source, 0, i, SRCCOPY);
            if (wrap) {
                ::BitBlt(destination, 0, i, off, 1, source, w - off, i, SRCCOPY);
                ::BitBlt(destination, w + off, i, 2 * amp - off, 1, source, 0, i, SRCCOPY);
            }
        } else {
            ::BitBlt(destination, i, off, 1, h, source, i, 0, SRCCOPY);
            if (wrap) {
                ::BitBlt(destination, i, 0, 1, off, source, i, h - off, SRCCOPY);
                ::BitBlt(destination, i, h + off, 1, 2 * amp - off, source, i, 0, SRCCOPY);
            }
        }
    }
    if (lines != nullptr)
        *lines = 1;
    return S_OK;
}

HRESULT DibScatterTiles(HDC destination, HDC source, int tileWidth, int tileHeight, int jitter, LONG* lines)
{
    BITMAPINFOHEADER header;
    LONG w = 0, h = 0;
    if (GetDibOfDC(source, &header, &w, &h) == nullptr)
        return E_FAIL;
    const int tw = tileWidth < 1 ? 1 : tileWidth;
    const int th = tileHeight < 1 ? 1 : tileHeight;
    const int j = jitter < 1 ? 1 : jitter;
    srand(::GetTickCount());
    for (LONG y = 0; y < h; y += th)
        for (LONG x = 0; x < w; x += tw) {
            const int ox = rand() % j - j / 2;
            const int oy = rand() % j - j / 2;
            ::BitBlt(destination, x + ox, y + oy, tw, th, source, x, y, SRCCOPY);
        }
    if (lines != nullptr)
        *lines = 1;
    return S_OK;
}

HRESULT DibFlip(HDC destination, HDC source, int width, int height, BOOL horizontal, BOOL vertical)
{
    if (horizontal)
        ::StretchBlt(destination, 0, 0, width, height, source, width - 1, 0, -width, height, SRCCOPY);
    if (vertical)
        ::StretchBlt(destination, 0, 0, width, height, source, 0, height - 1, width, -height, SRCCOPY);
    return 0;
}

HRESULT DibCopy(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop,
                LONG* lines)
{
    const BOOL done = ::BitBlt(destination, x, y, width, height, source, sourceX, sourceY, rop);
    if (lines != nullptr)
        *lines = done;
    return 0;
}

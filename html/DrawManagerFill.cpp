// The drawing manager's fills (banded gradients, noise textures on an 8-bit palette canvas)
// and its framed rectangles and lines in pen styles.
#include "html/DrawManager.h"
#include "fw/fwselect.h"
#include <stdlib.h>

namespace {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    CBrush brush;
    if (brush.CreateSolidBrush(colour))
        ::FillRect(dc, &rect, (HBRUSH)brush.GetSafeHandle());
}

int Granular(int granularity) { return granularity < 0 ? 0 : (granularity > 255 ? 255 : granularity); }

// A cube shrunk to the -128..128 range of its argument: t^3 / 128 / 128.
int Bump(int t) { return t * t * t / 128 / 128; }

int PenStyleOf(int style)
{
    switch (style) {
    case CPPDrawManager::PEN_DASH:
        return PS_DASH;
    case CPPDrawManager::PEN_DOT:
        return PS_DOT;
    case CPPDrawManager::PEN_DASHDOT:
        return PS_DASHDOT;
    case CPPDrawManager::PEN_DASHDOTDOT:
        return PS_DASHDOTDOT;
    default:
        return PS_SOLID;
    }
}

void Polyline3(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3)
{
    const POINT points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    ::Polyline(dc, points, 3);
}

} // namespace

void CPPDrawManager::FillGradient(HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, BOOL horizontal)
{
    const int start = horizontal ? rect.left : rect.top;
    const int size = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    if (size <= 0 || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    for (int i = 0; i < 64; ++i) {
        const int from = start + ((i * size) >> 6);
        const int to = start + (((i + 1) * size) >> 6);
        if (to <= from)
            continue;
        const COLORREF band = RGB((GetRValue(c1) * (64 - i) + GetRValue(c2) * i) >> 6,
                                  (GetGValue(c1) * (64 - i) + GetGValue(c2) * i) >> 6,
                                  (GetBValue(c1) * (64 - i) + GetBValue(c2) * i) >> 6);
        RECT part = rect;
        if (horizontal) {
            part.left = from;
            part.right = to;
        } else {
            part.top = from;
            part.bottom = to;
        }
        FillSolid(dc, part, band);
    }
}

void CPPDrawManager::FillEffect(HDC dc, int effect, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3,
                                int granularity, int blend)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    RECT first = rect, second = rect;
    const int midX = rect.left + (rect.right - rect.left) / 2;
    const int midY = rect.top + (rect.bottom - rect.top) / 2;
    switch (effect) {
    case EFFECT_HGRADIENT:
        FillGradient(dc, rect, c1, c3, TRUE);
        break;
    case EFFECT_VGRADIENT:
        FillGradient(dc, rect, c1, c3, FALSE);
        break;
    case EFFECT_HCGRADIENT:
    case EFFECT_3HGRADIENT:
        first.right = second.left = midX;
        FillGradient(dc, first, c1, effect == EFFECT_HCGRADIENT ? c3 : c2, TRUE);
        FillGradient(dc, second, effect == EFFECT_HCGRADIENT ? c3 : c2, effect == EFFECT_HCGRADIENT ? c1 : c3, TRUE);
        break;
    case EFFECT_VCGRADIENT:
    case EFFECT_3VGRADIENT:
        first.bottom = second.top = midY;
        FillGradient(dc, first, c1, effect == EFFECT_VCGRADIENT ? c3 : c2, FALSE);
        FillGradient(dc, second, effect == EFFECT_VCGRADIENT ? c3 : c2, effect == EFFECT_VCGRADIENT ? c1 : c3, FALSE);
        break;
    case EFFECT_NOISE:
    case EFFECT_DIAGSHADE:
    case EFFECT_HSHADE:
    case EFFECT_VSHADE:
    case EFFECT_HBUMP:
    case EFFECT_VBUMP:
    case EFFECT_SOFTBUMP:
    case EFFECT_HARDBUMP:
    case EFFECT_METAL:
        FillEffectDib(dc, rect, effect, granularity, blend, c1, c2, c3);
        break;
    default:
        FillSolid(dc, rect, c1);
        break;
    }
}

void CPPDrawManager::FillEffectDib(HDC dc, const RECT& rect, int effect, int granularity, int blend, COLORREF c1,
                                   COLORREF c2, COLORREF c3)
{
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    // The edges of the hard bump divide by a quarter of the height squared, the strokes of
    // the metal by 32767 / a side: on such rectangles both are a plain fill.
    if ((effect == EFFECT_HARDBUMP || effect == EFFECT_METAL) && (W < 2 || H < 2 || W > 32767 || H > 32767)) {
        FillSolid(dc, rect, c1);
        return;
    }
    if (!m_canvas.Create(W, H, 8))
        return;
    for (int i = 0; i <= 128; ++i)
        m_canvas.SetPaletteIndex((BYTE)i, (BYTE)((GetRValue(c3) * (128 - i) + GetRValue(c2) * i) >> 7),
                                 (BYTE)((GetGValue(c3) * (128 - i) + GetGValue(c2) * i) >> 7),
                                 (BYTE)((GetBValue(c3) * (128 - i) + GetBValue(c2) * i) >> 7));
    for (int i = 1; i <= 128; ++i)
        m_canvas.SetPaletteIndex((BYTE)(127 + i), (BYTE)((GetRValue(c2) * (128 - i) + GetRValue(c1) * i) >> 7),
                                 (BYTE)((GetGValue(c2) * (128 - i) + GetGValue(c1) * i) >> 7),
                                 (BYTE)((GetBValue(c2) * (128 - i) + GetBValue(c1) * i) >> 7));
    m_canvas.BlendPalette(c1, blend);

    const int g = Granular(granularity);
    const int twice = 2 * g;
    const int q = 32767 / (twice > 1 ? twice : 1);
    auto noise = [q]() { return rand() / q; };
    LPBYTE bits = m_canvas.GetBits();
    const int stride = m_canvas.GetStride();
    // r counts rows from the bottom, which is how the canvas stores them.
    auto at = [&](int x, int r) -> BYTE& { return bits[(size_t)r * stride + x]; };

    if (effect == EFFECT_METAL) {
        m_canvas.Clear(0);
        for (int stroke = 0; stroke < 200; ++stroke) {
            const int x0 = rand() / (32767 / W);
            const int y0 = rand() / (32767 / H);
            const int length = rand() / (32767 / (W < H ? W : H));
            const BYTE c = (BYTE)(rand() / 819);
            for (int k = 0; k < length / 2; ++k) {
                if (x0 - k > 0 && y0 + k < H)
                    m_canvas.SetPixelIndex(x0 - k, y0 + k, c);
                if (x0 + k < W && y0 - k >= 1)
                    m_canvas.SetPixelIndex(W - x0 + k, y0 - k, c);
            }
        }
        const int d = (255 - twice - 40) / 2;
        for (int r = 0; r < H; ++r)
            for (int x = 0; x < W; ++x)
                at(x, r) = (BYTE)(at(x, r) + d * r / H + d * (W - x) / W + noise());
    } else {
        const int k = W / 6 < 16 ? W / 6 : 16;
        const long long quarter = (long long)H * H / 4;
        for (int r = 0; r < H; ++r) {
            const int tRow = r * 255 / H - 127;
            for (int x = 0; x < W; ++x) {
                const int tCol = (W - x) * 255 / W - 127;
                int v = 0;
                switch (effect) {
                case EFFECT_NOISE:
                    v = 128 - g + noise();
                    break;
                case EFFECT_DIAGSHADE: {
                    const int d = (255 - twice) / 2;
                    v = g + d * r / H + d * (W - x) / W + (noise() - g);
                    break;
                }
                case EFFECT_HSHADE:
                    v = g + (255 - twice) * r / H + (noise() - g);
                    break;
                case EFFECT_VSHADE:
                    v = g + (255 - twice) * (W - x) / W + (noise() - g);
                    break;
                case EFFECT_HBUMP:
                    v = Bump(tRow) * (128 - g) / 128 + 128 + (noise() - g);
                    break;
                case EFFECT_VBUMP:
                    v = Bump(tCol) * (128 - g) / 128 + 128 + (noise() - g);
                    break;
                case EFFECT_SOFTBUMP:
                    v = (Bump(tRow) + Bump(tCol)) * (128 - g) / 128 + 128;
                    v = v < g ? g : (v > 255 - g ? 255 - g : v);
                    v += noise() - g;
                    break;
                case EFFECT_HARDBUMP: {
                    v = Bump(tRow) * (128 - twice) / 128 + 128 + (noise() - g);
                    // Rounded side edges.
                    const long long dr = r - H / 2;
                    const int dx = x - W / 2;
                    const int e = (int)(dr * dr * k / quarter);
                    if (k > 0 && dx > W / 2 - k + e)
                        v = (W - x) * 128 / k + g;
                    else if (k > 0 && dx + W / 2 - k + e < 0)
                        v = (255 - g) - x * 128 / k;
                    v += noise() - g;
                    break;
                }
                }
                at(x, r) = (BYTE)v;
            }
        }
    }
    m_canvas.Draw(dc, rect.left, rect.top);
}

void CPPDrawManager::DrawRectangle(HDC dc, int left, int top, int right, int bottom, COLORREF colour1, COLORREF colour2,
                                   int style, int width)
{
    if (style == PEN_NULL || width < 1)
        return;
    CPen first;
    if (!first.CreatePen(PenStyleOf(style), width, colour1))
        return;
    CPen second;
    if (colour2 != colour1 && !second.CreatePen(PenStyleOf(style), width, colour2))
        return;
    HPEN secondPen = (HPEN)(second.GetSafeHandle() ? second.GetSafeHandle() : first.GetSafeHandle());
    // The pen runs inside the rectangle by half its width.
    int l = left + width / 2, t = top + width / 2;
    int r = right - 1 - (width - 1) / 2, b = bottom - 1 - (width - 1) / 2;
    for (int pass = 0; pass < (style == PEN_DOUBLE ? 2 : 1); ++pass) {
        {
            CSelectGuard select(dc, first.GetSafeHandle());
            Polyline3(dc, l, b, l, t, r, t);
        }
        {
            CSelectGuard select(dc, secondPen);
            Polyline3(dc, r, t, r, b, l, b);
        }
        l += 2 * width;
        t += 2 * width;
        r -= 2 * width;
        b -= 2 * width;
    }
}

void CPPDrawManager::DrawRectangle(HDC dc, const RECT& rect, COLORREF colour1, COLORREF colour2, int style, int width)
{
    DrawRectangle(dc, rect.left, rect.top, rect.right, rect.bottom, colour1, colour2, style, width);
}

void CPPDrawManager::DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int style, int width)
{
    if (style == PEN_NULL || width < 1)
        return;
    CPen pen;
    if (!pen.CreatePen(PenStyleOf(style), width, colour))
        return;
    CSelectGuard select(dc, pen.GetSafeHandle());
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
    if (style == PEN_DOUBLE) {
        // The second line lies below a line that is not vertical, right of one that is not
        // horizontal.
        const int dx = y1 == y2 ? 0 : 2 * width;
        const int dy = x1 == x2 ? 0 : 2 * width;
        ::MoveToEx(dc, x1 + dx, y1 + dy, nullptr);
        ::LineTo(dc, x2 + dx, y2 + dy);
    }
}

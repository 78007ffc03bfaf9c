// The drawing manager's colour helpers, sizes and blends.
#include "html/DrawManager.h"
#include "html/DibCanvas.h"

namespace {

int Round(double value) { return (int)(value + 0.5); }

int Channel(DWORD pixel, int shift) { return (int)((pixel >> shift) & 0xFF); }

DWORD Pack(int b, int g, int r)
{
    auto cap = [](int v) { return (DWORD)(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    return cap(b) | (cap(g) << 8) | (cap(r) << 16);
}

// Mixes a source rectangle into the destination pixel by pixel, through two canvases of
// the destination's kind: mix(source pixel, destination pixel) gives the new destination
// pixel.  Nothing changes when a canvas cannot be made.
template <class Mix>
void MixThroughCanvases(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, Mix mix)
{
    CDibCanvas source, target;
    if (!source.Create(dst, width, height) || !target.Create(dst, width, height))
        return;
    ::BitBlt(source.Dc(), 0, 0, width, height, src, srcX, srcY, SRCCOPY);
    ::BitBlt(target.Dc(), 0, 0, width, height, dst, x, y, SRCCOPY);
    const DWORD* s = source.Bits();
    DWORD* d = target.Bits();
    for (size_t i = 0, n = target.Count(); i < n; ++i)
        d[i] = mix(s[i], d[i]);
    ::BitBlt(dst, x, y, width, height, target.Dc(), 0, 0, SRCCOPY);
}

} // namespace

CPPDrawManager::CPPDrawManager() = default;
CPPDrawManager::~CPPDrawManager() = default;

DWORD CPPDrawManager::GrayColor(DWORD pixel)
{
    const int g = Round(0.299 * Channel(pixel, 16) + 0.587 * Channel(pixel, 8) + 0.114 * Channel(pixel, 0));
    return Pack(g, g, g);
}

COLORREF CPPDrawManager::GrayColorRef(COLORREF colour)
{
    return ColorRefFromPixel(GrayColor(PixelFromColorRef(colour)));
}

DWORD CPPDrawManager::InvertColor(DWORD colour)
{
    return Pack(255 - Channel(colour, 0), 255 - Channel(colour, 8), 255 - Channel(colour, 16));
}

DWORD CPPDrawManager::DarkenColor(DWORD pixel, double factor)
{
    if (!(factor >= 0.0 && factor < 1.0))
        return pixel;
    return Pack(Round(Channel(pixel, 0) * factor), Round(Channel(pixel, 8) * factor),
                Round(Channel(pixel, 16) * factor));
}

DWORD CPPDrawManager::LightenColor(DWORD pixel, double factor)
{
    if (!(factor > 0.0 && factor <= 1.0))
        return pixel;
    const double f = 1.0 + factor;
    return Pack(Round(Channel(pixel, 0) * f), Round(Channel(pixel, 8) * f), Round(Channel(pixel, 16) * f));
}

DWORD CPPDrawManager::MixColors(DWORD c1, double f1, DWORD c2, double f2)
{
    auto mix = [&](int shift) { return Round(Channel(c1, shift) * f1 + Channel(c2, shift) * f2); };
    return Pack(mix(0), mix(8), mix(16));
}

SIZE CPPDrawManager::GetSizeOfIcon(HICON icon)
{
    SIZE size = {0, 0};
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info))
        return size;
    // GetIconInfo hands out copies of the icon's bitmaps.
    CBitmap colour, mask;
    colour.Attach(info.hbmColor);
    mask.Attach(info.hbmMask);
    size.cx = (LONG)info.xHotspot * 2;
    size.cy = (LONG)info.yHotspot * 2;
    return size;
}

SIZE CPPDrawManager::GetSizeOfBitmap(HBITMAP bitmap)
{
    SIZE size = {0, 0};
    BITMAP info = {};
    if (bitmap && ::GetObject(bitmap, sizeof info, &info)) {
        size.cx = info.bmWidth;
        size.cy = info.bmHeight;
    }
    return size;
}

void CPPDrawManager::AlphaBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int percent)
{
    if (width <= 0 || height <= 0)
        return;
    if (percent >= 100) {
        ::BitBlt(dst, x, y, width, height, src, srcX, srcY, SRCCOPY);
        return;
    }
    const double p = percent <= 0 ? 0.0 : percent / 100.0;
    MixThroughCanvases(dst, x, y, width, height, src, srcX, srcY,
                       [p](DWORD s, DWORD d) { return MixColors(s, p, d, 1.0 - p); });
}

void CPPDrawManager::AlphaChannelBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY)
{
    if (width <= 0 || height <= 0)
        return;
    MixThroughCanvases(dst, x, y, width, height, src, srcX, srcY, [](DWORD s, DWORD d) {
        const double a = (s >> 24) / 255.0;
        return MixColors(s, a, d, 1.0 - a);
    });
}

void CPPDrawManager::MultipleCopy(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                                  int srcWidth, int srcHeight)
{
    if (width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0)
        return;
    for (int top = 0; top < height; top += srcHeight) {
        const int h = height - top < srcHeight ? height - top : srcHeight;
        for (int left = 0; left < width; left += srcWidth) {
            const int w = width - left < srcWidth ? width - left : srcWidth;
            ::BitBlt(dst, x + left, y + top, w, h, src, srcX, srcY, SRCCOPY);
        }
    }
}

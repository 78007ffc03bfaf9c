// The drawing manager's images: colour effects, masks and shadows for bitmaps, icons and
// cells of image strips.
#include "html/DrawManager.h"
#include "html/DibCanvas.h"

namespace {

// A memory DC compatible with dc holding one bitmap for the lifetime of this object.
class CBitmapDC
{
public:
    CBitmapDC(HDC dc, HBITMAP bitmap)
    {
        HDC mem = ::CreateCompatibleDC(dc);
        if (!mem)
            return;
        m_dc.Attach(mem);
        m_select.emplace(mem, bitmap);
    }
    HDC Dc() const { return m_select && m_select->Selected() ? m_dc.GetSafeHdc() : nullptr; }

private:
    CDC m_dc;
    std::optional<CSelectGuard> m_select;
};

// Copies the whole bitmap onto a new canvas of width x height, stretched when the sizes differ.
bool CopyBitmap(CDibCanvas& target, HDC dc, HBITMAP bitmap, int width, int height)
{
    const SIZE size = CPPDrawManager::GetSizeOfBitmap(bitmap);
    if (size.cx <= 0 || size.cy <= 0 || !target.Create(dc, width, height))
        return false;
    CBitmapDC source(dc, bitmap);
    if (!source.Dc())
        return false;
    if (size.cx == width && size.cy == height)
        return ::BitBlt(target.Dc(), 0, 0, width, height, source.Dc(), 0, 0, SRCCOPY) != FALSE;
    ::SetStretchBltMode(target.Dc(), COLORONCOLOR);
    return ::StretchBlt(target.Dc(), 0, 0, width, height, source.Dc(), 0, 0, size.cx, size.cy, SRCCOPY) != FALSE;
}

} // namespace

bool CPPDrawManager::MakeImageEffect(CDibCanvas& target, HDC src, int width, int height, WORD flags, BOOL useMask,
                                     COLORREF maskColour, COLORREF monoColour)
{
    m_alpha = false;
    if (!src || !target.Create(src, width, height))
        return false;
    ::BitBlt(target.Dc(), 0, 0, width, height, src, 0, 0, SRCCOPY);
    const DWORD mask = PixelFromColorRef(maskColour);
    const DWORD mono = PixelFromColorRef(monoColour);
    DWORD* bits = target.Bits();
    for (size_t i = 0, n = target.Count(); i < n; ++i) {
        const DWORD alpha = bits[i] & 0xFF000000;
        if (alpha)
            m_alpha = true;
        DWORD c = bits[i] & 0xFFFFFF;
        if (useMask && c == mask) {
            c = 0;
        } else {
            if (flags & IMAGE_EFFECT_GRAY)
                c = GrayColor(c);
            if (flags & IMAGE_EFFECT_DARKER)
                c = DarkenColor(c, 0.75);
            if (flags & IMAGE_EFFECT_LIGHTER)
                c = LightenColor(c, 0.25);
            if (flags & IMAGE_EFFECT_MONO)
                c = mono;
        }
        if (flags & IMAGE_EFFECT_INVERT)
            c = InvertColor(c);
        bits[i] = (c & 0xFFFFFF) | alpha;
    }
    return true;
}

HBITMAP CPPDrawManager::CreateImageEffect(HBITMAP bitmap, int width, int height, WORD flags, BOOL useMask,
                                          COLORREF maskColour, COLORREF monoColour)
{
    m_alpha = false;
    if (!bitmap || width <= 0 || height <= 0)
        return nullptr;
    CBitmapDC source(nullptr, bitmap);
    CDibCanvas target;
    if (!MakeImageEffect(target, source.Dc(), width, height, flags, useMask, maskColour, monoColour))
        return nullptr;
    return target.Detach();
}

HICON CPPDrawManager::StretchIcon(HICON icon, int width, int height)
{
    ICONINFO info = {};
    if (!icon || width <= 0 || height <= 0 || !::GetIconInfo(icon, &info))
        return nullptr;
    CBitmap colour, mask;
    colour.Attach(info.hbmColor);
    mask.Attach(info.hbmMask);
    const SIZE from = GetSizeOfIcon(icon);
    if (from.cx <= 0 || from.cy <= 0 || !info.hbmColor || !info.hbmMask)
        return nullptr;

    CDibCanvas colourCanvas;
    if (!colourCanvas.Create(nullptr, width, height))
        return nullptr;
    {
        CBitmapDC src(nullptr, info.hbmColor);
        if (!src.Dc())
            return nullptr;
        ::SetStretchBltMode(colourCanvas.Dc(), COLORONCOLOR);
        ::StretchBlt(colourCanvas.Dc(), 0, 0, width, height, src.Dc(), 0, 0, from.cx, from.cy, SRCCOPY);
    }
    CBitmap newColour, newMask;
    newColour.Attach(colourCanvas.Detach());
    newMask.Attach(::CreateBitmap(width, height, 1, 1, nullptr));
    if (!newMask.GetSafeHandle())
        return nullptr;
    {
        CBitmapDC src(nullptr, info.hbmMask), dst(nullptr, (HBITMAP)newMask.GetSafeHandle());
        if (!src.Dc() || !dst.Dc())
            return nullptr;
        ::SetStretchBltMode(dst.Dc(), COLORONCOLOR);
        ::StretchBlt(dst.Dc(), 0, 0, width, height, src.Dc(), 0, 0, from.cx, from.cy, SRCCOPY);
    }
    ICONINFO made = {};
    made.fIcon = info.fIcon;
    made.xHotspot = (DWORD)width / 2;
    made.yHotspot = (DWORD)height / 2;
    made.hbmColor = (HBITMAP)newColour.GetSafeHandle();
    made.hbmMask = (HBITMAP)newMask.GetSafeHandle();
    return ::CreateIconIndirect(&made); // copies the bitmaps
}

void CPPDrawManager::DrawImageEffects(HDC dc, int x, int y, int width, int height, const ImageSources& sources,
                                      WORD flags, BOOL shadow, int dx, int dy, int depthX, int depthY, COLORREF colour)
{
    CDibCanvas image;
    if (!MakeImageEffect(image, sources.image, width, height, flags, sources.imageUseMask, sources.imageMask, colour))
        return;
    const bool alpha = m_alpha;
    CDibCanvas madeMask;
    HDC andMask = sources.andMask;
    if (!andMask) {
        // Image pixels black, masked pixels white.
        if (!MakeImageEffect(madeMask, sources.image, width, height, IMAGE_EFFECT_MONO | IMAGE_EFFECT_INVERT,
                             sources.imageUseMask, sources.imageMask, RGB(255, 255, 255)))
            return;
        andMask = madeMask.Dc();
    }
    auto put = [&](int px, int py) {
        if (alpha) {
            AlphaChannelBlt(dc, px, py, width, height, image.Dc(), 0, 0);
            return;
        }
        // A monochrome mask takes these two colours when it meets a colour device.
        const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
        const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
        ::BitBlt(dc, px, py, width, height, andMask, 0, 0, SRCAND);
        ::BitBlt(dc, px, py, width, height, image.Dc(), 0, 0, SRCPAINT);
        ::SetTextColor(dc, oldText);
        ::SetBkColor(dc, oldBack);
    };
    if (shadow) {
        if (flags & (IMAGE_EFFECT_SHADOW | IMAGE_EFFECT_SOFT_SHADOW)) {
            // Masked pixels white, image pixels the shadow colour.
            CDibCanvas shadowMask;
            if (MakeImageEffect(shadowMask, sources.shadow, width, height, IMAGE_EFFECT_MONO | IMAGE_EFFECT_INVERT,
                                sources.shadowUseMask, sources.shadowMask, InvertColor(colour)))
                DrawShadowFrom(dc, x + dx, y + dy, width, height, shadowMask.Dc(),
                               (flags & IMAGE_EFFECT_SOFT_SHADOW) != 0, depthX, depthY);
        } else {
            put(x + dx, y + dy);
        }
    }
    put(x, y);
    m_alpha = alpha;
}

void CPPDrawManager::DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, BOOL useMask,
                                COLORREF maskColour, WORD flags, BOOL shadow, int dx, int dy, int depthX, int depthY,
                                COLORREF colour)
{
    if (!bitmap || width <= 0 || height <= 0)
        return;
    CDibCanvas copy;
    if (!CopyBitmap(copy, dc, bitmap, width, height))
        return;
    ImageSources sources = {copy.Dc(), useMask, maskColour, nullptr, copy.Dc(), useMask, maskColour};
    DrawImageEffects(dc, x, y, width, height, sources, flags, shadow, dx, dy, depthX, depthY, colour);
}

void CPPDrawManager::DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, WORD flags, BOOL shadow, int dx,
                              int dy, int depthX, int depthY, COLORREF colour)
{
    if (!icon || width <= 0 || height <= 0)
        return;
    const SIZE size = GetSizeOfIcon(icon);
    if (size.cx <= 0 || size.cy <= 0)
        return;
    HICON stretched = nullptr;
    if (size.cx != width || size.cy != height) {
        stretched = StretchIcon(icon, width, height);
        if (!stretched)
            return;
        icon = stretched;
    }
    ICONINFO info = {};
    if (::GetIconInfo(icon, &info)) {
        CBitmap colourBitmap, maskBitmap;
        colourBitmap.Attach(info.hbmColor);
        maskBitmap.Attach(info.hbmMask);
        if (info.hbmColor && info.hbmMask) {
            CBitmapDC colourDC(dc, info.hbmColor), maskDC(dc, info.hbmMask);
            if (colourDC.Dc() && maskDC.Dc()) {
                const bool mono = (flags & IMAGE_EFFECT_MONO) != 0;
                ImageSources sources = {mono ? maskDC.Dc() : colourDC.Dc(),
                                        TRUE,
                                        mono ? RGB(255, 255, 255) : RGB(0, 0, 0),
                                        maskDC.Dc(),
                                        maskDC.Dc(),
                                        TRUE,
                                        RGB(255, 255, 255)};
                DrawImageEffects(dc, x, y, width, height, sources, flags, shadow, dx, dy, depthX, depthY, colour);
            }
        }
    }
    if (stretched)
        ::DestroyIcon(stretched);
}

void CPPDrawManager::DrawImageList(HDC dc, int x, int y, int width, int height, HBITMAP strip, int index, int cx,
                                   int cy, BOOL useMask, COLORREF maskColour, WORD flags, BOOL shadow, int dx, int dy,
                                   int depthX, int depthY, COLORREF colour)
{
    if (!strip || cx <= 0 || cy <= 0 || index < 0)
        return;
    const SIZE size = GetSizeOfBitmap(strip);
    const int columns = size.cx / cx, rows = size.cy / cy;
    if (columns <= 0 || rows <= 0 || index >= columns * rows)
        return;
    CDibCanvas cell;
    if (!cell.Create(dc, cx, cy))
        return;
    {
        CBitmapDC source(dc, strip);
        if (!source.Dc())
            return;
        ::BitBlt(cell.Dc(), 0, 0, cx, cy, source.Dc(), (index % columns) * cx, (index / columns) * cy, SRCCOPY);
    }
    CBitmap bitmap;
    bitmap.Attach(cell.Detach());
    DrawBitmap(dc, x, y, width, height, (HBITMAP)bitmap.GetSafeHandle(), useMask, maskColour, flags, shadow, dx, dy,
               depthX, depthY, colour);
}

#include "model/gfx/DibTools.h"

CBitmapTools::CBitmapTools()
    : m_bitmap(NULL), m_dc(NULL), m_width(0), m_height(0), m_bitmapWidth(0), m_bitmapHeight(0), m_ready(false)
{}

CBitmapTools::~CBitmapTools() { Destroy(); }

void CBitmapTools::Destroy()
{
    m_selection.reset();
    if (m_dc)
        DeleteDC(m_dc);
    if (m_bitmap)
        DeleteObject(m_bitmap);
    m_bitmap = NULL;
    m_dc = NULL;
    m_width = m_height = m_bitmapWidth = m_bitmapHeight = 0;
    m_ready = false;
}

BOOL CBitmapTools::Adopt(HDC dc, HBITMAP bitmap)
{
    if (!bitmap)
        return FALSE;
    HDC mem = CreateCompatibleDC(dc);
    if (!mem) {
        DeleteObject(bitmap);
        return FALSE;
    }
    m_dc = mem;
    m_bitmap = bitmap;
    m_selection.emplace(mem, bitmap);
    BITMAP bm = {};
    GetObject(bitmap, sizeof(bm), &bm);
    m_bitmapWidth = bm.bmWidth;
    m_bitmapHeight = bm.bmHeight;
    m_width = bm.bmWidth;
    m_height = bm.bmHeight;
    m_ready = true;
    return TRUE;
}

BOOL CBitmapTools::CopyFromDC(HDC dc, HGDIOBJ select, int x, int y, int width, int height, DWORD rop)
{
    Destroy();
    if (width <= 0 || height <= 0)
        return FALSE;
    HDC source = dc ? dc : ::GetDC(NULL);
    if (!source)
        return FALSE;
    BOOL ok;
    {
        std::optional<CSelectGuard> chosen;
        if (select && GetCurrentObject(source, GetObjectType(select)) != select)
            chosen.emplace(source, select);
        ok = Adopt(source, CreateCompatibleBitmap(source, width, height));
        if (ok)
            ok = BitBlt(m_dc, 0, 0, width, height, source, x, y, rop);
    }
    if (!dc)
        ReleaseDC(NULL, source);
    if (!ok)
        Destroy();
    return ok;
}

BOOL CBitmapTools::CreatePlain(HDC dc, int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    Destroy();
    return Adopt(dc, ::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmapTools::CopyFrom(const CBitmapTools& other, DWORD rop)
{
    if (&other == this || !other.m_ready)
        return FALSE;
    return CopyFromDC(other.m_dc, NULL, 0, 0, other.m_width, other.m_height, rop);
}

BOOL CBitmapTools::LoadImage(HINSTANCE module, LPCTSTR name)
{
    Destroy();
    return Adopt(NULL, (HBITMAP)::LoadImageA(module, name, IMAGE_BITMAP, 0, 0, 0));
}

BOOL CBitmapTools::FillPattern(HDC dc, const RECT& rect, BOOL align, DWORD rop) const
{
    if (!m_ready)
        return FALSE;
    HBRUSH brush = CreatePatternBrush(m_bitmap);
    if (!brush)
        return FALSE;
    POINT oldOrigin;
    if (align)
        SetBrushOrgEx(dc, rect.left, rect.top, &oldOrigin);
    BOOL ok;
    {
        CSelectGuard pattern(dc, brush, true);
        ok = PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, rop);
    }
    if (align)
        SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, NULL);
    return ok;
}

BOOL CBitmapTools::PlayMetafile(HDC dc, HENHMETAFILE metafile, const RECT& rect) const
{
    return metafile && PlayEnhMetaFile(dc, metafile, &rect);
}

BOOL CBitmapTools::Draw(HDC dc, int x, int y, DWORD rop) const
{
    return m_ready && BitBlt(dc, x, y, m_width, m_height, m_dc, 0, 0, rop);
}

BOOL CBitmapTools::StretchDraw(HDC dc, const RECT& rect, DWORD rop, int mode) const
{
    if (!m_ready)
        return FALSE;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w == m_width && h == m_height)
        return BitBlt(dc, rect.left, rect.top, w, h, m_dc, 0, 0, rop);
    const int oldMode = SetStretchBltMode(dc, mode);
    const BOOL ok = StretchBlt(dc, rect.left, rect.top, w, h, m_dc, 0, 0, m_width, m_height, rop);
    SetStretchBltMode(dc, oldMode);
    return ok;
}

BOOL CBitmapTools::DrawTransparent(HDC dc, int x, int y, int width, int height, COLORREF transparent) const
{
    if (!m_ready || width <= 0 || height <= 0)
        return FALSE;
    const int w = m_width, h = m_height;
    HDC maskDC = CreateCompatibleDC(dc);
    HDC imageDC = CreateCompatibleDC(dc);
    HDC workDC = CreateCompatibleDC(dc);
    BOOL ok;
    {
        // Mask: 1 where the bitmap has the transparent colour.
        CSelectGuard mask(maskDC, ::CreateBitmap(w, h, 1, 1, NULL), true);
        const COLORREF oldBk = SetBkColor(m_dc, transparent);
        BitBlt(maskDC, 0, 0, w, h, m_dc, 0, 0, SRCCOPY);
        SetBkColor(m_dc, oldBk);

        // The bitmap with its transparent pixels blacked out.
        CSelectGuard image(imageDC, CreateCompatibleBitmap(dc, w, h), true);
        BitBlt(imageDC, 0, 0, w, h, m_dc, 0, 0, SRCCOPY);
        SetBkColor(imageDC, RGB(255, 255, 255));
        SetTextColor(imageDC, RGB(0, 0, 0));
        BitBlt(imageDC, 0, 0, w, h, maskDC, 0, 0, 0x00220326); // destination AND NOT source

        // The destination area, the mask ANDed in, the blacked-out bitmap XORed over it.
        CSelectGuard work(workDC, CreateCompatibleBitmap(dc, width, height), true);
        BitBlt(workDC, 0, 0, width, height, dc, x, y, SRCCOPY);
        SetBkColor(workDC, RGB(255, 255, 255));
        SetTextColor(workDC, RGB(0, 0, 0));
        const int oldMode = SetStretchBltMode(workDC, COLORONCOLOR);
        StretchBlt(workDC, 0, 0, width, height, maskDC, 0, 0, w, h, SRCAND);
        StretchBlt(workDC, 0, 0, width, height, imageDC, 0, 0, w, h, SRCINVERT);
        SetStretchBltMode(workDC, oldMode);
        ok = BitBlt(dc, x, y, width, height, workDC, 0, 0, SRCCOPY);
    }
    DeleteDC(workDC);
    DeleteDC(imageDC);
    DeleteDC(maskDC);
    return ok;
}

// A bitmap selected into its own memory DC, with copy, pattern fill, stretch and
// transparent drawing.
#pragma once

#include "fw/fw.h"
#include <optional>

class CBitmapTools
{
public:
    CBitmapTools();
    virtual ~CBitmapTools();

    // A copy of width x height pixels at (x, y) of dc (the screen when NULL); select, when
    // given and not already current there, is selected into dc for the copy.
    BOOL CopyFromDC(HDC dc, HGDIOBJ select, int x, int y, int width, int height, DWORD rop = SRCCOPY);
    BOOL CreatePlain(HDC dc, int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CopyFrom(const CBitmapTools& other, DWORD rop = SRCCOPY);
    BOOL LoadImage(HINSTANCE module, LPCTSTR name);
    // Selects the old bitmap back, deletes the DC and the bitmap.
    void Destroy();

    bool IsReady() const { return m_ready; }
    HDC GetDC() const { return m_dc; }
    HBITMAP GetBitmap() const { return m_bitmap; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    // Fills rect of dc with the bitmap as a pattern brush (its origin at the rectangle's
    // corner when align is set).
    BOOL FillPattern(HDC dc, const RECT& rect, BOOL align, DWORD rop = PATCOPY) const;
    BOOL PlayMetafile(HDC dc, HENHMETAFILE metafile, const RECT& rect) const;
    BOOL Draw(HDC dc, int x, int y, DWORD rop = SRCCOPY) const;
    BOOL StretchDraw(HDC dc, const RECT& rect, DWORD rop = SRCCOPY, int mode = COLORONCOLOR) const;
    // Draws the bitmap leaving the pixels of the transparent colour as they were.
    BOOL DrawTransparent(HDC dc, int x, int y, int width, int height, COLORREF transparent) const;

private:
    CBitmapTools(const CBitmapTools&) = delete;
    CBitmapTools& operator=(const CBitmapTools&) = delete;

    // Takes the bitmap into a new memory DC compatible with dc.
    BOOL Adopt(HDC dc, HBITMAP bitmap);

    std::optional<CSelectGuard> m_selection; // m_bitmap in m_dc
    HBITMAP m_bitmap;
    HDC m_dc;
    int m_width, m_height;
    int m_bitmapWidth, m_bitmapHeight; // as the bitmap's own header gives them
    bool m_ready;
};

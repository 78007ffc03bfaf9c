// A 32-bit top-down DIB section selected into a memory DC, for exact pixels on tiny
// bitmaps.  It owns the bitmap and the DC, cannot be copied, and puts the DC's own bitmap
// back before deleting either.
#pragma once
#include "fw/fw.h"

#include <set>

class DibSurface
{
public:
    // Every pixel starts as `fill`; the DC starts in its default state.
    DibSurface(int width, int height, COLORREF fill = RGB(0, 0, 0));
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC Hdc() const { return dc.m_hDC; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The pixel as GDI reads it back.
    COLORREF At(int x, int y) const;
    // The pixel as the bits hold it, 0xRRGGBB (GDI's pending drawing flushed first).
    DWORD Rgb(int x, int y) const;
    // FillSolidRect: the DC's background colour becomes `colour`.
    void Fill(const RECT& r, COLORREF colour);
    // The columns of row y, and the rows of column x, that hold `colour`.
    std::set<int> Columns(int y, COLORREF colour) const;
    std::set<int> Rows(int x, COLORREF colour) const;

    CDC dc;

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    const DWORD* m_bits = nullptr;
};

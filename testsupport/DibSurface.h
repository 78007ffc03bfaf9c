// A 32-bit top-down DIB section selected into a memory DC, for exact pixels on tiny
// bitmaps.  It owns the bitmap and the DC, cannot be copied, and puts the DC's own bitmap
// back before deleting either.
#pragma once
#include "fw/fw.h"

#include <optional>
#include <set>
#include <string>

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
    // Whether the section and the DC were made.
    bool Valid() const { return m_bits != nullptr && dc.m_hDC != nullptr; }

    // The pixel as GDI reads it back.
    COLORREF At(int x, int y) const;
    // The pixel as the bits hold it, 0xRRGGBB (GDI's pending drawing flushed first).
    DWORD Rgb(int x, int y) const;
    // The pixel words, rows top-down (GDI's pending drawing flushed first).
    const DWORD* Bits() const;
    // The whole pixel word, alpha byte included (0xAARRGGBB), and written as such.
    DWORD Raw(int x, int y) const;
    void SetRaw(int x, int y, DWORD word);
    // One pixel written through the bits, alpha 0.
    void Set(int x, int y, COLORREF colour);
    // Every pixel becomes `colour` through the bits: the DC keeps its state.
    void Clear(COLORREF colour);
    // FillSolidRect: the DC's background colour becomes `colour`.
    void Fill(const RECT& r, COLORREF colour);
    // The columns of row y, and the rows of column x, that hold `colour`.
    std::set<int> Columns(int y, COLORREF colour) const;
    std::set<int> Rows(int x, COLORREF colour) const;
    // The smallest rectangle around every pixel other than `background` in the rows
    // [top, bottom) (all rows by default); empty when there is none.
    RECT Ink(COLORREF background = RGB(255, 255, 255), int top = 0, int bottom = -1) const;
    // The first pixel where two surfaces of one size differ, as "x,y: RRGGBB != RRGGBB";
    // empty when every pixel is the same.
    std::string Diff(const DibSurface& other) const;

    CDC dc;

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap = nullptr;
    DWORD* m_bits = nullptr;
    std::optional<CSelectGuard> m_selection;
};

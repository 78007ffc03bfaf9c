// A top-down 32-bit DIB section selected into its own memory device context: the one place
// where the drawing manager does per-pixel work.
// Rule kept: one owner for the section and the DC; the section is selected back out before
// either is deleted.
#pragma once
#include "fw/fw.h"
#include "fw/fwselect.h"
#include <optional>

// A COLORREF (red in the low byte) as a pixel word (blue in the low byte), and back.
inline DWORD PixelFromColorRef(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline COLORREF ColorRefFromPixel(DWORD p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }

class CDibCanvas
{
public:
    CDibCanvas() = default;
    ~CDibCanvas() { Release(); }
    CDibCanvas(const CDibCanvas&) = delete;
    CDibCanvas& operator=(const CDibCanvas&) = delete;

    // width x height pixels compatible with dc (the screen when null); false when the sizes
    // are not positive, too large, or a handle cannot be made.
    bool Create(HDC dc, int width, int height);
    void Release();
    // Gives the section up to the caller (deselected, the DC deleted).
    HBITMAP Detach();

    HDC Dc() const { return m_dc.GetSafeHdc(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The pixels as 32-bit words, blue in the low byte; flushed GDI work first.
    DWORD* Bits() const
    {
        ::GdiFlush();
        return m_bits;
    }
    size_t Count() const { return (size_t)m_width * (size_t)m_height; }

private:
    CBitmap m_bitmap;
    CDC m_dc;
    std::optional<CSelectGuard> m_select;
    DWORD* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};

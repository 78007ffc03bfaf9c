// Helpers of the html tests: a tiny 32-bit surface in a memory DC whose pixels are read
// back exactly, reference text drawn with plain GDI, and a count of live GDI handles.
// Kept in one header so that the shared test-support library can take its place.
#pragma once
#include "fw/fw.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace html_test {

// A top-down 32-bit DIB section selected into a memory DC, filled white.
class DibSurface
{
public:
    DibSurface(int width, int height, COLORREF fill = RGB(255, 255, 255)) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<DWORD*>(bits);
        m_dc = ::CreateCompatibleDC(nullptr);
        m_old = ::SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~DibSurface()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteDC(m_dc);
        ::DeleteObject(m_bitmap);
    }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Valid() const { return m_bits && m_dc; }
    void Fill(COLORREF colour)
    {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Set(x, y, colour);
    }
    // The pixel as a COLORREF (red in the low byte).
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        const DWORD p = m_bits[(size_t)y * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    DWORD Raw(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[(size_t)y * m_width + x];
    }
    void Set(int x, int y, COLORREF c)
    {
        ::GdiFlush();
        m_bits[(size_t)y * m_width + x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    void SetRaw(int x, int y, DWORD p)
    {
        ::GdiFlush();
        m_bits[(size_t)y * m_width + x] = p;
    }
    // The smallest rectangle around every pixel that differs from background within the
    // band of rows [top, bottom) (all rows by default); empty when there is none.
    RECT Ink(COLORREF background = RGB(255, 255, 255), int top = 0, int bottom = -1) const
    {
        RECT r = {m_width, m_height, 0, 0};
        if (bottom < 0 || bottom > m_height)
            bottom = m_height;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < m_width; ++x)
                if (At(x, y) != background) {
                    r.left = x < r.left ? x : r.left;
                    r.top = y < r.top ? y : r.top;
                    r.right = x + 1 > r.right ? x + 1 : r.right;
                    r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
                }
        if (r.right <= r.left)
            r = RECT{0, 0, 0, 0};
        return r;
    }
    // Writes the surface as a 32-bit top-down BMP file (for looking at a failure).
    bool Save(LPCTSTR path) const
    {
        FILE* f = fopen(path, "wb");
        if (!f)
            return false;
        const DWORD image = (DWORD)m_width * m_height * 4;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + image;
        BITMAPINFOHEADER info = {};
        info.biSize = sizeof info;
        info.biWidth = m_width;
        info.biHeight = -m_height;
        info.biPlanes = 1;
        info.biBitCount = 32;
        ::GdiFlush();
        const bool ok = fwrite(&file, sizeof file, 1, f) == 1 && fwrite(&info, sizeof info, 1, f) == 1 &&
                        fwrite(m_bits, 1, image, f) == image;
        return fclose(f) == 0 && ok;
    }
    // The first place where two surfaces of one size differ, as "x,y: a != b"; empty when
    // they are the same.
    std::string Diff(const DibSurface& other) const
    {
        if (other.m_width != m_width || other.m_height != m_height)
            return "sizes differ";
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (At(x, y) != other.At(x, y)) {
                    char text[96];
                    sprintf(text, "%d,%d: %06lX != %06lX", x, y, (unsigned long)At(x, y),
                            (unsigned long)other.At(x, y));
                    return text;
                }
        return std::string();
    }

private:
    int m_width, m_height;
    HBITMAP m_bitmap = nullptr;
    DWORD* m_bits = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

// A font of plain GDI, selected into a DC for the lifetime of this object.
class TestFont
{
public:
    TestFont(HDC dc, int height, LPCTSTR face, int weight = FW_NORMAL, BOOL italic = FALSE, BOOL underline = FALSE,
             BOOL strikeOut = FALSE)
        : m_dc(dc)
    {
        m_font = ::CreateFont(height, 0, 0, 0, weight, (BYTE)italic, (BYTE)underline, (BYTE)strikeOut, DEFAULT_CHARSET,
                              0, 0, 0, 0, face);
        m_old = ::SelectObject(dc, m_font);
    }
    ~TestFont()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_font);
    }
    TestFont(const TestFont&) = delete;
    TestFont& operator=(const TestFont&) = delete;
    int Width(LPCTSTR text) const
    {
        SIZE s = {0, 0};
        ::GetTextExtentPoint32(m_dc, text, (int)strlen(text), &s);
        return s.cx;
    }
    TEXTMETRIC Metrics() const
    {
        TEXTMETRIC tm = {};
        ::GetTextMetrics(m_dc, &tm);
        return tm;
    }
    // Draws text with its top-left corner at (x, y) in colour, on a transparent background.
    int Draw(int x, int y, LPCTSTR text, COLORREF colour = RGB(0, 0, 0)) const
    {
        ::SetBkMode(m_dc, TRANSPARENT);
        ::SetTextColor(m_dc, colour);
        ::TextOut(m_dc, x, y, text, (int)strlen(text));
        return x + Width(text);
    }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
};

// GDI objects and DCs held by the framework's wrappers, which every handle of html/ uses.
inline LONG LiveGdiHandles() { return FwGdiLiveHandles(); }

} // namespace html_test

#include "testsupport/DibSurface.h"

#include <stdio.h>

namespace {

DWORD WordOf(COLORREF c) { return ((DWORD)GetRValue(c) << 16) | ((DWORD)GetGValue(c) << 8) | GetBValue(c); }

} // namespace

DibSurface::DibSurface(int width, int height, COLORREF fill) : m_width(width), m_height(height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top-down: row y is bits[y * width]
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<DWORD*>(bits);
    // Filled through the bits, so that the DC keeps its first state (colours, modes).
    Clear(fill);
    dc.CreateCompatibleDC(nullptr);
    m_selection.emplace(dc.m_hDC, m_bitmap);
}

DibSurface::~DibSurface()
{
    m_selection.reset();
    dc.DeleteDC();
    ::DeleteObject(m_bitmap);
}

COLORREF DibSurface::At(int x, int y) const { return ::GetPixel(dc.m_hDC, x, y); }

DWORD DibSurface::Rgb(int x, int y) const { return Raw(x, y) & 0xFFFFFF; }

const DWORD* DibSurface::Bits() const
{
    ::GdiFlush();
    return m_bits;
}

DWORD DibSurface::Raw(int x, int y) const { return Bits()[(size_t)y * m_width + x]; }

void DibSurface::SetRaw(int x, int y, DWORD word)
{
    ::GdiFlush();
    m_bits[(size_t)y * m_width + x] = word;
}

void DibSurface::Set(int x, int y, COLORREF colour) { SetRaw(x, y, WordOf(colour)); }

void DibSurface::Clear(COLORREF colour)
{
    ::GdiFlush();
    for (size_t i = 0; m_bits != nullptr && i < (size_t)m_width * m_height; ++i)
        m_bits[i] = WordOf(colour);
}

void DibSurface::Fill(const RECT& r, COLORREF colour) { dc.FillSolidRect(&r, colour); }

std::set<int> DibSurface::Columns(int y, COLORREF colour) const
{
    std::set<int> xs;
    for (int x = 0; x < m_width; ++x)
        if (At(x, y) == colour)
            xs.insert(x);
    return xs;
}

std::set<int> DibSurface::Rows(int x, COLORREF colour) const
{
    std::set<int> ys;
    for (int y = 0; y < m_height; ++y)
        if (At(x, y) == colour)
            ys.insert(y);
    return ys;
}

RECT DibSurface::Ink(COLORREF background, int top, int bottom) const
{
    RECT r = {m_width, m_height, 0, 0};
    if (bottom < 0 || bottom > m_height)
        bottom = m_height;
    const DWORD ground = WordOf(background);
    for (int y = top < 0 ? 0 : top; y < bottom; ++y)
        for (int x = 0; x < m_width; ++x)
            if (Rgb(x, y) != ground) {
                r.left = x < r.left ? x : r.left;
                r.top = y < r.top ? y : r.top;
                r.right = x + 1 > r.right ? x + 1 : r.right;
                r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
            }
    if (r.right <= r.left)
        r = RECT{0, 0, 0, 0};
    return r;
}

std::string DibSurface::Diff(const DibSurface& other) const
{
    if (other.m_width != m_width || other.m_height != m_height)
        return "sizes differ";
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (Rgb(x, y) != other.Rgb(x, y)) {
                char text[96];
                snprintf(text, sizeof text, "%d,%d: %06lX != %06lX", x, y, (unsigned long)Rgb(x, y),
                         (unsigned long)other.Rgb(x, y));
                return text;
            }
    return std::string();
}

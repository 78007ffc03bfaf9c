#include "testsupport/DibSurface.h"

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
    m_bits = static_cast<const DWORD*>(bits);
    // Filled through the bits, so that the DC keeps its first state (colours, modes).
    const DWORD pixel = ((DWORD)GetRValue(fill) << 16) | ((DWORD)GetGValue(fill) << 8) | GetBValue(fill);
    DWORD* p = static_cast<DWORD*>(bits);
    for (int i = 0; p != nullptr && i < width * height; ++i)
        p[i] = pixel;
    dc.CreateCompatibleDC(nullptr);
    m_old = ::SelectObject(dc.m_hDC, m_bitmap);
}

DibSurface::~DibSurface()
{
    ::SelectObject(dc.m_hDC, m_old);
    dc.DeleteDC();
    ::DeleteObject(m_bitmap);
}

COLORREF DibSurface::At(int x, int y) const { return ::GetPixel(dc.m_hDC, x, y); }

DWORD DibSurface::Rgb(int x, int y) const
{
    ::GdiFlush();
    return m_bits[y * m_width + x] & 0xFFFFFF;
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

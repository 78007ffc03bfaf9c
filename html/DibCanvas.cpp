#include "html/DibCanvas.h"

bool CDibCanvas::Create(HDC dc, int width, int height)
{
    Release();
    if (width <= 0 || height <= 0 || (unsigned long long)width * (unsigned long long)height > 0x1FFFFFFFull)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section)
        return false;
    m_bitmap.Attach(section);
    HDC mem = ::CreateCompatibleDC(dc);
    if (mem)
        m_dc.Attach(mem);
    if (!bits || !mem) {
        Release();
        return false;
    }
    m_select.emplace(mem, section);
    if (!m_select->Selected()) {
        Release();
        return false;
    }
    m_bits = static_cast<DWORD*>(bits);
    m_width = width;
    m_height = height;
    return true;
}

void CDibCanvas::Release()
{
    m_select.reset();
    m_dc.DeleteDC();
    m_bitmap.DeleteObject();
    m_bits = nullptr;
    m_width = m_height = 0;
}

HBITMAP CDibCanvas::Detach()
{
    m_select.reset();
    m_dc.DeleteDC();
    m_bits = nullptr;
    m_width = m_height = 0;
    return (HBITMAP)m_bitmap.Detach();
}

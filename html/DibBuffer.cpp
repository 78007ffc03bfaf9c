#include "html/DibBuffer.h"
#include "fw/fwselect.h"
#include <new>
#include <string.h>

namespace {

WORD ColorCountOf(int bitCount)
{
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

bool IsKnownDepth(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

} // namespace

CPPDibBuffer::CPPDibBuffer() { memset(&m_header, 0, sizeof m_header); }

CPPDibBuffer::~CPPDibBuffer() { Destroy(); }

LPBYTE CPPDibBuffer::Create(int width, int height, int bitCount)
{
    Destroy();
    if (width <= 0 || height <= 0 || !IsKnownDepth(bitCount))
        return nullptr;
    const unsigned long long stride = ((unsigned long long)bitCount * (unsigned long long)width + 31) / 32 * 4;
    const unsigned long long image = stride * (unsigned long long)height;
    const WORD colors = ColorCountOf(bitCount);
    const unsigned long long total = sizeof(BITMAPINFOHEADER) + 4ull * colors + image;
    // The header's size fields are 32-bit; a block they cannot describe is refused.
    if (total > 0x7FFFFFFFull)
        return nullptr;
    m_block.reset(new (std::nothrow) BYTE[(size_t)total]);
    if (!m_block)
        return nullptr;
    m_header.biSize = sizeof(BITMAPINFOHEADER);
    m_header.biWidth = width;
    m_header.biHeight = height;
    m_header.biPlanes = 1;
    m_header.biBitCount = (WORD)bitCount;
    m_header.biCompression = BI_RGB;
    m_header.biSizeImage = (DWORD)image;
    m_colorCount = colors;
    m_stride = (int)stride;
    memcpy(m_block.get(), &m_header, sizeof m_header);
    return m_block.get();
}

void CPPDibBuffer::Destroy()
{
    m_memDC.DeleteDC();
    m_section.DeleteObject();
    m_sectionBits = nullptr;
    m_block.reset();
    memset(&m_header, 0, sizeof m_header);
    m_colorCount = 0;
    m_stride = 0;
}

DWORD CPPDibBuffer::GetTotalSize() const
{
    if (!m_block)
        return 0;
    return sizeof(BITMAPINFOHEADER) + GetPaletteSize() + m_header.biSizeImage;
}

LPBYTE CPPDibBuffer::GetBits() const
{
    return m_block ? m_block.get() + sizeof(BITMAPINFOHEADER) + GetPaletteSize() : nullptr;
}

RGBQUAD* CPPDibBuffer::Palette() const
{
    return m_block ? reinterpret_cast<RGBQUAD*>(m_block.get() + sizeof(BITMAPINFOHEADER)) : nullptr;
}

void CPPDibBuffer::SetPaletteIndex(BYTE index, BYTE red, BYTE green, BYTE blue)
{
    if (!m_block || index >= m_colorCount)
        return;
    RGBQUAD& entry = Palette()[index];
    entry.rgbBlue = blue;
    entry.rgbGreen = green;
    entry.rgbRed = red;
    entry.rgbReserved = 0;
}

void CPPDibBuffer::BlendPalette(COLORREF colour, int percent)
{
    if (!m_block)
        return;
    const int p = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    RGBQUAD* palette = Palette();
    for (int i = 0; i < m_colorCount; ++i) {
        palette[i].rgbRed = (BYTE)((palette[i].rgbRed * (100 - p) + r * p) / 100);
        palette[i].rgbGreen = (BYTE)((palette[i].rgbGreen * (100 - p) + g * p) / 100);
        palette[i].rgbBlue = (BYTE)((palette[i].rgbBlue * (100 - p) + b * p) / 100);
    }
}

void CPPDibBuffer::SetGrayPalette()
{
    if (!m_block || m_colorCount == 0)
        return;
    for (int i = 0; i < m_colorCount; ++i)
        SetPaletteIndex((BYTE)i, (BYTE)i, (BYTE)i, (BYTE)i);
    SetPaletteIndex(0, 0, 0, 0);
    SetPaletteIndex((BYTE)(m_colorCount - 1), 255, 255, 255);
}

void CPPDibBuffer::Clear(BYTE value)
{
    if (m_block)
        memset(GetBits(), value, m_header.biSizeImage);
}

void CPPDibBuffer::SetPixelIndex(int x, int y, BYTE index)
{
    if (!m_block || m_colorCount == 0 || x < 0 || y < 0 || x >= m_header.biWidth || y >= m_header.biHeight)
        return;
    LPBYTE row = GetBits() + (size_t)(m_header.biHeight - y - 1) * m_stride;
    switch (m_header.biBitCount) {
    case 1: {
        const BYTE bit = (BYTE)(0x80 >> (x & 7));
        row[x >> 3] = (BYTE)((index & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
        break;
    }
    case 4: {
        BYTE& pair = row[x >> 1];
        pair = (x & 1) ? (BYTE)((pair & 0xF0) | (index & 0x0F)) : (BYTE)((pair & 0x0F) | (index << 4));
        break;
    }
    default:
        row[x] = index;
        break;
    }
}

BOOL CPPDibBuffer::CopyFrom(const CPPDibBuffer& other)
{
    if (&other == this)
        return m_block != nullptr;
    if (!other.m_block) {
        Destroy();
        return FALSE;
    }
    if (!Create(other.GetWidth(), other.GetHeight(), other.GetBitCount()))
        return FALSE;
    memcpy(m_block.get(), other.m_block.get(), other.GetTotalSize());
    return TRUE;
}

bool CPPDibBuffer::MakeSection(HDC dc)
{
    if (!m_block)
        return false;
    if (!m_section.GetSafeHandle()) {
        void* bits = nullptr;
        HBITMAP section = ::CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(m_block.get()), DIB_RGB_COLORS,
                                             &bits, nullptr, 0);
        if (!section)
            return false;
        m_section.Attach(section);
        if (!bits) {
            m_section.DeleteObject();
            return false;
        }
        m_sectionBits = bits;
    }
    if (!m_memDC.GetSafeHdc()) {
        HDC mem = ::CreateCompatibleDC(dc);
        if (!mem)
            return false;
        m_memDC.Attach(mem);
    }
    return true;
}

void CPPDibBuffer::Draw(HDC dc, int x, int y)
{
    if (!MakeSection(dc))
        return;
    ::GdiFlush();
    memcpy(m_sectionBits, GetBits(), m_header.biSizeImage);
    CSelectGuard select(m_memDC.GetSafeHdc(), m_section.GetSafeHandle());
    if (!select.Selected())
        return;
    // The palette may have changed since the section was made.
    if (m_colorCount)
        ::SetDIBColorTable(m_memDC.GetSafeHdc(), 0, m_colorCount, Palette());
    ::BitBlt(dc, x, y, m_header.biWidth, m_header.biHeight, m_memDC.GetSafeHdc(), 0, 0, SRCCOPY);
}

void CPPDibBuffer::GrabFrom(HDC dc, int x, int y)
{
    if (!MakeSection(dc))
        return;
    {
        CSelectGuard select(m_memDC.GetSafeHdc(), m_section.GetSafeHandle());
        if (!select.Selected())
            return;
        if (!::BitBlt(m_memDC.GetSafeHdc(), 0, 0, m_header.biWidth, m_header.biHeight, dc, x, y, SRCCOPY))
            return;
    }
    ::GdiFlush();
    memcpy(GetBits(), m_sectionBits, m_header.biSizeImage);
}

BOOL CPPDibBuffer::WriteBmp(LPCTSTR path) const
{
    if (!path || !*path || !m_block)
        return FALSE;
    HANDLE file = ::CreateFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    const DWORD total = GetTotalSize();
    BYTE head[14] = {'B', 'M'};
    const DWORD fileSize = total + 14;
    const DWORD offset = sizeof(BITMAPINFOHEADER) + GetPaletteSize() + 14;
    for (int i = 0; i < 4; ++i) {
        head[2 + i] = (BYTE)(fileSize >> (8 * i));
        head[10 + i] = (BYTE)(offset >> (8 * i));
    }
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, head, sizeof head, &written, nullptr) && written == sizeof head;
    ok = ok && ::WriteFile(file, m_block.get(), total, &written, nullptr) && written == total;
    ok = ::CloseHandle(file) && ok;
    return ok;
}

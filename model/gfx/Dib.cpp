#include "model/gfx/Dib.h"

#include <math.h>
#include <string.h>

#include <new>
#include <vector>

namespace {

// No real image comes near these; a header beyond them is damage, not a size to allocate.
const LONG kMaxSide = 1 << 16;
const ULONGLONG kMaxPixelBytes = 256ull << 20;
const SIZE_T kNoOffset = (SIZE_T)-1;

int ColourCountFor(int bitCount)
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

// The checks every header must pass before anything is allocated for it.
bool SaneSize(LONG width, LONG height, int bitCount)
{
    if (width <= 0 || height == 0 || width > kMaxSide || height > kMaxSide || height < -kMaxSide)
        return false;
    const ULONGLONG rows = (ULONGLONG)(height < 0 ? -(LONGLONG)height : height);
    return (ULONGLONG)CDib::StrideFor(width, bitCount) * rows <= kMaxPixelBytes;
}

} // namespace

CDib::CDib()
    : m_block(NULL), m_header(NULL), m_colours(NULL), m_bits(NULL), m_rows(NULL), m_width(0), m_height(0),
      m_bitCount(0), m_stride(0), m_colourCount(0), m_mapping(false)
{
    for (int i = 0; i < 256; ++i)
        m_map[i] = (BYTE)i;
    memset(m_cacheColour, 0, sizeof(m_cacheColour));
    memset(m_cacheUsed, 0, sizeof(m_cacheUsed));
}

CDib::CDib(HGLOBAL packed) : CDib()
{
    if (packed)
        CreateFromPacked(packed);
}

CDib::~CDib() { Free(); }

int CDib::StrideFor(int width, int bitCount) { return (int)(((ULONGLONG)width * (ULONGLONG)bitCount + 31) / 32 * 4); }

void CDib::Free()
{
    delete[] m_block;
    delete[] m_rows;
    m_block = NULL;
    m_header = NULL;
    m_colours = NULL;
    m_bits = NULL;
    m_rows = NULL;
    m_width = m_height = m_bitCount = m_stride = m_colourCount = 0;
}

SIZE_T CDib::BlockSize() const
{
    return sizeof(BITMAPINFOHEADER) + (SIZE_T)m_colourCount * sizeof(RGBQUAD) + (SIZE_T)m_stride * m_height;
}

bool CDib::Init(const BITMAPINFOHEADER& header)
{
    Free();
    const int bitCount = header.biBitCount;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    if (!SaneSize(header.biWidth, header.biHeight, bitCount))
        return false;
    const int width = header.biWidth;
    const bool topDown = header.biHeight < 0;
    const int height = topDown ? -header.biHeight : header.biHeight;
    const int stride = StrideFor(width, bitCount);
    const int colours = ColourCountFor(bitCount);
    const SIZE_T size = sizeof(BITMAPINFOHEADER) + (SIZE_T)colours * sizeof(RGBQUAD) + (SIZE_T)stride * height;
    BYTE* block = new (std::nothrow) BYTE[size];
    BYTE** rows = new (std::nothrow) BYTE*[height];
    if (!block || !rows) {
        delete[] block;
        delete[] rows;
        return false;
    }
    memset(block, 0, size);
    m_block = block;
    m_rows = rows;
    m_header = (BITMAPINFOHEADER*)block;
    *m_header = header;
    m_header->biSize = sizeof(BITMAPINFOHEADER);
    m_header->biPlanes = 1;
    m_header->biCompression = BI_RGB;
    m_header->biSizeImage = (DWORD)stride * height;
    m_header->biClrUsed = 0;
    m_header->biClrImportant = 0;
    m_colours = (RGBQUAD*)(block + sizeof(BITMAPINFOHEADER));
    m_bits = block + sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
    m_width = width;
    m_height = height;
    m_bitCount = bitCount;
    m_stride = stride;
    m_colourCount = colours;
    for (int r = 0; r < height; ++r)
        m_rows[r] = m_bits + (SIZE_T)(topDown ? r : height - 1 - r) * stride;
    return true;
}

bool CDib::Create(int width, int height, int bitCount)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = (WORD)bitCount;
    header.biCompression = BI_RGB;
    return Init(header);
}

bool CDib::CopyPacked(const BYTE* data, SIZE_T size, SIZE_T colourOffset, SIZE_T bitsOffset)
{
    Free();
    if (!data || size < sizeof(BITMAPINFOHEADER))
        return false;
    BITMAPINFOHEADER header;
    memcpy(&header, data, sizeof(header));
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size)
        return false;
    if (header.biCompression != BI_RGB)
        return false;
    const int bitCount = header.biBitCount;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)
        return false;
    if (!SaneSize(header.biWidth, header.biHeight, bitCount))
        return false;

    // The colour table may be shorter than the depth allows (biClrUsed).
    const int colours = ColourCountFor(bitCount);
    const int stored = header.biClrUsed != 0 && header.biClrUsed < (DWORD)colours ? (int)header.biClrUsed : colours;
    if (colourOffset == kNoOffset)
        colourOffset = header.biSize;
    if (bitsOffset == kNoOffset)
        bitsOffset = colourOffset + (SIZE_T)stored * sizeof(RGBQUAD);
    const ULONGLONG rows = (ULONGLONG)(header.biHeight < 0 ? -(LONGLONG)header.biHeight : header.biHeight);
    const ULONGLONG pixelBytes = (ULONGLONG)StrideFor(header.biWidth, bitCount) * rows;
    if ((ULONGLONG)colourOffset + (ULONGLONG)stored * sizeof(RGBQUAD) > size ||
        (ULONGLONG)bitsOffset + pixelBytes > size)
        return false;

    if (!Init(header))
        return false;
    memcpy(m_colours, data + colourOffset, (SIZE_T)stored * sizeof(RGBQUAD));
    memcpy(m_bits, data + bitsOffset, (SIZE_T)pixelBytes);
    return true;
}

bool CDib::CreateFromPacked(HGLOBAL packed)
{
    Free();
    if (!packed)
        return false;
    const SIZE_T size = GlobalSize(packed);
    const BYTE* data = (const BYTE*)GlobalLock(packed);
    if (!data)
        return false;
    const bool ok = CopyPacked(data, size, kNoOffset, kNoOffset);
    GlobalUnlock(packed);
    return ok;
}

BYTE* CDib::GetRow(int r) const { return r >= 0 && r < m_height ? m_rows[r] : NULL; }

CBitmap* CDib::CreateBitmap(HDC dc) const
{
    if (!IsValid() || !dc)
        return NULL;
    HBITMAP ddb = CreateDIBitmap(dc, m_header, CBM_INIT, m_bits, GetInfo(), DIB_RGB_COLORS);
    if (!ddb)
        return NULL;
    CBitmap* result = NULL;
    BITMAP bm;
    if (GetObject(ddb, sizeof(bm), &bm) == sizeof(bm)) {
        const SIZE_T bytes = (SIZE_T)bm.bmWidthBytes * bm.bmHeight;
        BYTE* bits = new (std::nothrow) BYTE[bytes];
        if (bits && GetBitmapBits(ddb, (LONG)bytes, bits) == (LONG)bytes) {
            bm.bmBits = bits;
            result = new CBitmap;
            if (!result->CreateBitmapIndirect(&bm)) {
                delete result;
                result = NULL;
            }
        }
        delete[] bits;
    }
    DeleteObject(ddb);
    return result;
}

void CDib::SetPalette(const RGBQUAD* colours)
{
    if (IsValid() && colours)
        memcpy(m_colours, colours, m_colourCount * sizeof(RGBQUAD));
    memset(m_cacheUsed, 0, sizeof(m_cacheUsed));
}

void CDib::SetPaletteFromRGB(const BYTE* triples)
{
    if (!IsValid() || !triples)
        return;
    for (int i = 0; i < m_colourCount; ++i) {
        const BYTE* t = triples + 3 * i;
        m_colours[i].rgbRed = m_mapping ? m_map[t[0]] : t[0];
        m_colours[i].rgbGreen = m_mapping ? m_map[t[1]] : t[1];
        m_colours[i].rgbBlue = m_mapping ? m_map[t[2]] : t[2];
        m_colours[i].rgbReserved = 0;
    }
    memset(m_cacheUsed, 0, sizeof(m_cacheUsed));
}

void CDib::SetMapping(double gamma, bool on)
{
    for (int i = 0; i < 256; ++i) {
        const double v = pow(i / 255.0, gamma) * 255 + 0.5;
        m_map[i] = v >= 255 ? 255 : (v <= 0 ? 0 : (BYTE)v);
    }
    m_mapping = on;
}

COLORREF CDib::GetPaletteColour(int index) const
{
    if (index < 0 || index >= m_colourCount)
        return 0;
    return RGB(m_colours[index].rgbRed, m_colours[index].rgbGreen, m_colours[index].rgbBlue);
}

COLORREF CDib::GetPixel24(int x, int y) const
{
    if (m_bitCount != 24 || x < 0 || x >= m_width || y < 0 || y >= m_height)
        return 0;
    const BYTE* p = m_rows[y] + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

void CDib::SetPixel24(int x, int y, COLORREF colour)
{
    if (m_bitCount != 24 || x < 0 || x >= m_width || y < 0 || y >= m_height)
        return;
    BYTE* p = m_rows[y] + 3 * x;
    p[0] = GetBValue(colour);
    p[1] = GetGValue(colour);
    p[2] = GetRValue(colour);
}

BYTE CDib::GetPixelIndex(int x, int y) const
{
    if (m_bitCount != 8 || x < 0 || x >= m_width || y < 0 || y >= m_height)
        return 0;
    return m_rows[y][x];
}

void CDib::SetPixelIndex(int x, int y, BYTE index)
{
    if (m_bitCount != 8 || x < 0 || x >= m_width || y < 0 || y >= m_height)
        return;
    m_rows[y][x] = index;
}

void CDib::Fill(DWORD value)
{
    for (int r = 0; r < m_height; ++r) {
        if (m_bitCount == 24) {
            for (int x = 0; x < m_width; ++x)
                SetPixel24(x, r, value);
        } else {
            memset(m_rows[r], (BYTE)value, m_stride);
        }
    }
}

void CDib::CopyRow(int from, int to)
{
    if (from == to || !GetRow(from) || !GetRow(to))
        return;
    memcpy(m_rows[to], m_rows[from], m_stride);
}

void CDib::ReplaceIndex(BYTE oldIndex, BYTE newIndex)
{
    if (m_bitCount != 8)
        return;
    for (int r = 0; r < m_height; ++r)
        for (int x = 0; x < m_width; ++x)
            if (m_rows[r][x] == oldIndex)
                m_rows[r][x] = newIndex;
}

void CDib::MarkUsedColours(BYTE used[256]) const
{
    if (m_bitCount != 8)
        return;
    for (int r = 0; r < m_height; ++r)
        for (int x = 0; x < m_width; ++x)
            used[m_rows[r][x]] = 1;
}

int CDib::CountUsedColours() const
{
    BYTE used[256] = {};
    MarkUsedColours(used);
    int count = 0;
    for (BYTE u : used)
        count += u;
    return count;
}

int CDib::Draw(HDC dc, int x, int y, int width, int height, int srcX, int srcY) const
{
    if (!IsValid())
        return 0;
    return SetDIBitsToDevice(dc, x, y, width, height, srcX, srcY, 0, m_height, m_bits, GetInfo(), DIB_RGB_COLORS);
}

int CDib::Stretch(HDC dc, const RECT& dst, const RECT& src) const
{
    if (!IsValid())
        return 0;
    return StretchDIBits(dc, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, src.left, src.top,
                         src.right - src.left, src.bottom - src.top, m_bits, GetInfo(), DIB_RGB_COLORS, SRCCOPY);
}

bool CDib::CopyFrom(const CDib& other)
{
    if (&other == this)
        return true;
    if (!other.IsValid()) {
        Free();
        return false;
    }
    // Any depth the other image could be made with, 16 and 32 bits included.
    if (!Init(*other.m_header))
        return false;
    memcpy(m_block, other.m_block, BlockSize());
    return true;
}

HGLOBAL CDib::CopyToGlobal() const
{
    if (!IsValid())
        return NULL;
    const SIZE_T size = BlockSize();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (!memory)
        return NULL;
    void* p = GlobalLock(memory);
    if (!p) {
        GlobalFree(memory);
        return NULL;
    }
    memcpy(p, m_block, size);
    GlobalUnlock(memory);
    return memory;
}

bool CDib::LoadBmp(LPCTSTR path)
{
    Free();
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER fileSize;
    bool ok = false;
    if (GetFileSizeEx(file, &fileSize) && fileSize.QuadPart >= 14 + (LONGLONG)sizeof(BITMAPINFOHEADER) &&
        (ULONGLONG)fileSize.QuadPart <= kMaxPixelBytes + (1u << 20)) {
        const SIZE_T size = (SIZE_T)fileSize.QuadPart;
        BYTE* data = new (std::nothrow) BYTE[size];
        DWORD done = 0;
        if (data && ReadFile(file, data, (DWORD)size, &done, NULL) && done == size && data[0] == 'B' &&
            data[1] == 'M') {
            DWORD offBits;
            memcpy(&offBits, data + 10, sizeof(offBits));
            // The rows lie where the file header says; the colour table follows the info header.
            const SIZE_T bitsOffset = offBits - 14;
            if (offBits >= 14 + sizeof(BITMAPINFOHEADER) && offBits < size)
                ok = CopyPacked(data + 14, size - 14, kNoOffset, bitsOffset);
        }
        delete[] data;
    }
    CloseHandle(file);
    return ok;
}

bool CDib::SaveBmp(LPCTSTR path, bool dontWrite) const
{
    if (dontWrite || !IsValid())
        return false;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42; // "BM"
    fh.bfSize = (DWORD)(BlockSize() + sizeof(fh));
    fh.bfOffBits = (DWORD)(m_colourCount * sizeof(RGBQUAD) + sizeof(fh) + sizeof(BITMAPINFOHEADER));
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD done1 = 0, done2 = 0;
    const bool ok = WriteFile(file, &fh, sizeof(fh), &done1, NULL) && done1 == sizeof(fh) &&
                    WriteFile(file, m_block, (DWORD)BlockSize(), &done2, NULL) && done2 == BlockSize();
    CloseHandle(file);
    return ok;
}

void CDib::CopyScaled(const RECT& dst, const CDib& other, const RECT& src)
{
    if (m_bitCount != 8 || other.m_bitCount != 8)
        return;
    const int dw = dst.right - dst.left, dh = dst.bottom - dst.top;
    const int sw = src.right - src.left, sh = src.bottom - src.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    for (int y = 0; y < dh; ++y) {
        // Whole rows and the spread remainder: source row = y x sh / dh.
        BYTE* out = GetRow(dst.top + y);
        const BYTE* in = other.GetRow(src.top + (int)((LONGLONG)y * sh / dh));
        if (!out || !in)
            continue;
        for (int x = 0; x < dw; ++x) {
            const int tx = dst.left + x;
            const int sx = src.left + (int)((LONGLONG)x * sw / dw);
            if (tx >= 0 && tx < m_width && sx >= 0 && sx < other.m_width)
                out[tx] = in[sx];
        }
    }
}

void CDib::CopyTransparent(int dstX, int dstY, int width, int height, const CDib& other, int srcX, int srcY,
                           const BYTE* mask)
{
    if (m_bitCount != 8 || other.m_bitCount != 8)
        return;
    for (int y = 0; y < height; ++y) {
        BYTE* out = GetRow(dstY + y);
        const BYTE* in = other.GetRow(srcY + y);
        if (!out || !in)
            continue;
        for (int x = 0; x < width; ++x) {
            const int tx = dstX + x, sx = srcX + x;
            if (tx < 0 || tx >= m_width || sx < 0 || sx >= other.m_width)
                continue;
            if (!mask || mask[in[sx]])
                out[tx] = in[sx];
        }
    }
}

int CDib::NearestIndex(BYTE red, BYTE green, BYTE blue)
{
    const COLORREF colour = RGB(red, green, blue);
    for (int i = 0; i < m_colourCount; ++i)
        if (m_cacheUsed[i] && m_cacheColour[i] == colour)
            return i;
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < m_colourCount; ++i) {
        const long dr = (long)m_colours[i].rgbRed - red;
        const long dg = (long)m_colours[i].rgbGreen - green;
        const long db = (long)m_colours[i].rgbBlue - blue;
        const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
            if (distance == 0)
                break; // an exact match
        }
    }
    if (bestDistance == 0) {
        m_cacheColour[best] = colour;
        m_cacheUsed[best] = 1;
    }
    return best;
}

bool CDib::ConvertFrom(const CDib& other)
{
    if (m_bitCount != 8 || !other.IsValid() || other.m_width != m_width || other.m_height != m_height)
        return false;
    const int depth = other.m_bitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24)
        return false;
    if (depth == 24) {
        // 5 bits per channel: each of the 32768 colours is matched once.
        std::vector<short> table(32768, -1);
        for (int y = 0; y < m_height; ++y) {
            const BYTE* in = other.m_rows[y];
            for (int x = 0; x < m_width; ++x) {
                const BYTE b = in[3 * x], g = in[3 * x + 1], r = in[3 * x + 2];
                const int key = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
                if (table[key] < 0)
                    table[key] = (short)NearestIndex(r, g, b);
                m_rows[y][x] = (BYTE)table[key];
            }
        }
        return true;
    }
    BYTE map[256];
    for (int i = 0; i < other.m_colourCount; ++i)
        map[i] = (BYTE)NearestIndex(other.m_colours[i].rgbRed, other.m_colours[i].rgbGreen, other.m_colours[i].rgbBlue);
    for (int y = 0; y < m_height; ++y) {
        const BYTE* in = other.m_rows[y];
        for (int x = 0; x < m_width; ++x) {
            int index;
            if (depth == 8)
                index = in[x];
            else if (depth == 4)
                index = (in[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
            else
                index = (in[x / 8] >> (7 - x % 8)) & 1;
            m_rows[y][x] = map[index];
        }
    }
    return true;
}

HGLOBAL CDib::CopyToGlobal8(const RGBQUAD* palette) const
{
    if (!IsValid() || !palette)
        return NULL;
    CDib copy;
    if (!copy.Create(m_width, m_height, 8))
        return NULL;
    copy.SetPalette(palette);
    if (!copy.ConvertFrom(*this))
        return NULL;
    return copy.CopyToGlobal();
}

// A device-independent bitmap held in memory as one packed block (header, colour table,
// bottom-up rows padded to 4 bytes) whose palette and pixels are set directly, drawn to a
// device context through a DIB section made on first use.
// Rule kept: every write stays inside the block; a buffer without a block does nothing.
#pragma once
#include "fw/fw.h"
#include <memory>

class CPPDibBuffer
{
public:
    CPPDibBuffer();
    virtual ~CPPDibBuffer();
    CPPDibBuffer(const CPPDibBuffer&) = delete;
    CPPDibBuffer& operator=(const CPPDibBuffer&) = delete;

    // Frees what was there and makes a block of width x height at 1, 4, 8, 16, 24 or 32 bits
    // per pixel; colour table and pixels are not initialised. Null when the sizes are not
    // positive, the depth is not one of those or the block cannot be allocated.
    LPBYTE Create(int width, int height, int bitCount);
    void Destroy();

    DWORD GetTotalSize() const;
    DWORD GetPaletteSize() const { return 4u * m_colorCount; }
    LPBYTE GetBits() const;
    int GetBitCount() const { return m_header.biBitCount; }
    WORD GetColorCount() const { return m_colorCount; }
    int GetWidth() const { return m_header.biWidth; }
    int GetHeight() const { return m_header.biHeight; }
    int GetStride() const { return m_stride; }
    const BITMAPINFOHEADER& GetHeader() const { return m_header; }

    void SetPaletteIndex(BYTE index, BYTE red, BYTE green, BYTE blue);
    // Moves every palette entry towards colour by percent (clamped to 0..100).
    void BlendPalette(COLORREF colour, int percent);
    void SetGrayPalette();
    void Clear(BYTE value);
    // Palette buffers only; y counts from the top. Writes the bit, nibble or byte of the
    // buffer's depth.
    void SetPixelIndex(int x, int y, BYTE index);
    BOOL CopyFrom(const CPPDibBuffer& other);

    void Draw(HDC dc, int x, int y);
    // Copies the device context's area at (x, y) into the buffer's pixels.
    void GrabFrom(HDC dc, int x, int y);
    BOOL WriteBmp(LPCTSTR path) const;

private:
    RGBQUAD* Palette() const;
    bool MakeSection(HDC dc);

    std::unique_ptr<BYTE[]> m_block;
    BITMAPINFOHEADER m_header;
    WORD m_colorCount = 0;
    int m_stride = 0;
    CBitmap m_section;
    void* m_sectionBits = nullptr;
    CDC m_memDC;
};

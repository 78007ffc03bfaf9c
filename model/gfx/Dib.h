// A device-independent bitmap in one memory block (header, colour table, pixel rows) with a
// table of row pointers: row 0 is the top row however the rows are stored.
#pragma once

#include "fw/fw.h"

class CDib
{
public:
    CDib();
    // Wraps a copy of a packed device-independent bitmap (NULL: an empty object).
    explicit CDib(HGLOBAL packed);
    virtual ~CDib();

    // Bytes of one row: bitCount x width bits rounded up to whole 32-bit words.
    static int StrideFor(int width, int bitCount);

    // A copy of a packed bitmap (header, colour table, rows) held in global memory. Refused:
    // compression, depths other than 1, 4, 8 and 24, empty or absurd sizes, and a block too
    // small for what its header describes. The current image is freed first either way.
    bool CreateFromPacked(HGLOBAL packed);
    // Allocates an image of the header's size and depth (colours and pixels zero).
    bool Init(const BITMAPINFOHEADER& header);
    // A new image: one plane, no compression.
    bool Create(int width, int height, int bitCount);
    void Free();

    bool IsValid() const { return m_block != NULL; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; } // rows, always positive
    int GetBitCount() const { return m_bitCount; }
    int GetStride() const { return m_stride; }
    int GetColourCount() const { return m_colourCount; }
    const BITMAPINFO* GetInfo() const { return (const BITMAPINFO*)m_block; }
    const BYTE* GetBits() const { return m_bits; }
    // Row r from the top; NULL outside the image.
    BYTE* GetRow(int r) const;

    // A device-dependent copy for the device, owned by the caller; NULL on failure.
    CBitmap* CreateBitmap(HDC dc) const;

    // Colour table: colour-count entries; triples pass through the mapping table when on.
    void SetPalette(const RGBQUAD* colours);
    void SetPaletteFromRGB(const BYTE* triples); // red, green, blue per entry
    // Mapping table from a gamma curve: entry i = trunc((i / 255)^gamma x 255 + 0.5).
    void SetMapping(double gamma, bool on);
    COLORREF GetPaletteColour(int index) const;

    // Pixels by column and row from the top; reads outside the image give 0, writes there
    // do nothing.
    COLORREF GetPixel24(int x, int y) const;
    void SetPixel24(int x, int y, COLORREF colour);
    BYTE GetPixelIndex(int x, int y) const;
    void SetPixelIndex(int x, int y, BYTE index);
    // Every byte of every row set to value; 24-bit images: every pixel to the COLORREF.
    void Fill(DWORD value);
    void CopyRow(int from, int to);
    void ReplaceIndex(BYTE oldIndex, BYTE newIndex);
    int CountUsedColours() const;
    void MarkUsedColours(BYTE used[256]) const;

    int Draw(HDC dc, int x, int y, int width, int height, int srcX, int srcY) const;
    int Stretch(HDC dc, const RECT& dst, const RECT& src) const;

    bool CopyFrom(const CDib& other);
    // 8-bit copies: other's area src scaled (by whole pixels and rows, remainders spread
    // evenly) into this image's area dst; both rectangles are clipped to their images.
    void CopyScaled(const RECT& dst, const CDib& other, const RECT& src);
    // other's width x height pixels from (srcX, srcY) to (dstX, dstY), clipped to both
    // images; with a mask table only pixels whose index is marked there are copied.
    void CopyTransparent(int dstX, int dstY, int width, int height, const CDib& other, int srcX, int srcY,
                         const BYTE* mask = NULL);
    // Re-colours a 1-, 4-, 8- or 24-bit image of the same size into this 8-bit image's
    // palette, each colour to the nearest entry (3 dr^2 + 4 dg^2 + 2 db^2).
    bool ConvertFrom(const CDib& other);
    // Index of the palette entry nearest to the colour.
    int NearestIndex(BYTE red, BYTE green, BYTE blue);
    // A packed copy in new global memory (GMEM_MOVEABLE | GMEM_DDESHARE), NULL on failure.
    HGLOBAL CopyToGlobal() const;
    // The same for an 8-bit copy of the image re-coloured into the given 256 colours.
    HGLOBAL CopyToGlobal8(const RGBQUAD* palette) const;

    // BMP files: the 14-byte file header then the block. A file whose header does not match
    // its size is refused like a damaged packed bitmap. SaveBmp with dontWrite writes nothing
    // and fails.
    bool LoadBmp(LPCTSTR path);
    bool SaveBmp(LPCTSTR path, bool dontWrite = false) const;

private:
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Checks a packed bitmap of size bytes (header first) and copies it; colourOffset and
    // bitsOffset locate the colour table and the rows in it.
    bool CopyPacked(const BYTE* data, SIZE_T size, SIZE_T colourOffset, SIZE_T bitsOffset);
    SIZE_T BlockSize() const;

    BYTE* m_block;
    BITMAPINFOHEADER* m_header;
    RGBQUAD* m_colours;
    BYTE* m_bits;
    BYTE** m_rows;
    int m_width;
    int m_height;
    int m_bitCount;
    int m_stride;
    int m_colourCount;
    bool m_mapping;
    BYTE m_map[256];
    // Colours already matched by NearestIndex, by palette entry (reset with the palette).
    COLORREF m_cacheColour[256];
    BYTE m_cacheUsed[256];
};

// What every effect of the effect library shares: the 24-bit pixel buffer read from a device
// context or an image object, drawn back when the effect is done, and the two seams through
// which every allocation and every pixel read go.
//
// The rule it keeps: an effect that cannot allocate or read returns E_FAIL having drawn
// nothing, leaving `lines` as it was, and holding nothing afterwards.  Buffers start zeroed,
// so results repeat.
#pragma once
#include "fw/fw.h"

#include <objidl.h>
#include <gdiplus.h>

#include <stddef.h>

// The one allocation of the library: zeroed bytes, nullptr when they cannot be had.
void* EffectAlloc(size_t bytes);
void EffectFree(void* block);
// The one pixel read of the library (GetDIBits of `lines` scan lines from line 0).
int EffectReadBits(HDC dc, HBITMAP bitmap, UINT lines, void* bits, BITMAPINFO* info);

// For tests: make the n-th allocation or read from now fail (0: none) and count them.  The
// counters move with interlocked operations: effects may run on several threads at once.
struct EffectFaults
{
    LONG failAllocAt = 0;
    LONG failReadAt = 0;
    LONG allocs = 0;
    LONG reads = 0;
    LONG liveBlocks = 0;
    // Each block ends at a page that cannot be read: a read past its end faults at once.
    bool guardPages = false;
};
EffectFaults& EffectTestFaults();

// A block from EffectAlloc, freed once when it goes.
class EffectBlock
{
public:
    EffectBlock() = default;
    ~EffectBlock() { Release(); }
    EffectBlock(const EffectBlock&) = delete;
    EffectBlock& operator=(const EffectBlock&) = delete;

    bool Allocate(size_t bytes);
    void Release();
    BYTE* Get() const { return m_bytes; }

private:
    BYTE* m_bytes = nullptr;
};

// A 24-bit DIB header with room for whatever GetDIBits writes after it.
struct DibInfo
{
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];

    BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(this); }
};

// The pixel buffer of one effect: blue, green, red; buffer row 0 is the bottom row; rows
// padded to 4 bytes.
struct Dib
{
    DibInfo info = {};
    int width = 0;
    int height = 0;
    int stride = 0;
    int linesRead = 0;
    EffectBlock block;

    BYTE* Bits() const { return block.Get(); }
    size_t Size() const { return (size_t)stride * height; }
    BYTE* Px(int x, int y) const { return block.Get() + (size_t)y * stride + (size_t)x * 3; }
    // A zeroed buffer of this size, its header made for width x height.
    bool Allocate(int w, int h);
    // A second buffer of the same size holding a copy of this one.
    bool CopyTo(Dib& other) const;
};

// Bytes per row of a 24-bit buffer `width` pixels wide.
int DibStride(int width);

// The bitmap selected into `dc`, its header filled (24 bits, BI_RGB, rows bottom-up);
// nullptr when there is none or the header cannot be had.
HBITMAP GetDibOfDC(HDC dc, BITMAPINFOHEADER* header, LONG* width, LONG* height);
// The same for a bitmap handle, queried through a memory DC.
HBITMAP GetDibOfImage(HBITMAP bitmap, BITMAPINFOHEADER* header, LONG* width, LONG* height);

// The reading and drawing steps of the frame, for the effects' own use.
HRESULT ReadDibOfDC(HDC source, Dib& dib, LONG* lines);
void DrawDib(HDC destination, Dib& dib);
HRESULT ReadDibOfImage(Gdiplus::Bitmap* source, Dib& dib);
HRESULT DrawDibOnImage(Gdiplus::Image* destination, Dib& dib);
// Two sources at their common size: both bottom-left parts, with one stride.
HRESULT ReadTwoDibs(HDC first, HDC second, Dib& a, Dib& b);

// Form A: read the source DC, run `algorithm` (false: it could not allocate), draw on the
// destination DC at its origin, report the lines read.
template <class Algorithm> HRESULT RunFormA(HDC destination, HDC source, LONG* lines, Algorithm algorithm)
{
    Dib dib;
    const HRESULT hr = ReadDibOfDC(source, dib, lines);
    if (FAILED(hr))
        return hr;
    if (!algorithm(dib))
        return E_FAIL;
    DrawDib(destination, dib);
    if (lines != nullptr)
        *lines = dib.linesRead;
    return S_OK;
}

// Form B: the same between GDI+ image objects; the source arrives over opaque white.
template <class Algorithm>
HRESULT RunFormB(Gdiplus::Bitmap* source, Gdiplus::Image* destination, LONG* lines, Algorithm algorithm)
{
    Dib dib;
    HRESULT hr = ReadDibOfImage(source, dib);
    if (FAILED(hr))
        return hr;
    if (!algorithm(dib))
        return E_FAIL;
    hr = DrawDibOnImage(destination, dib);
    if (FAILED(hr))
        return hr;
    if (lines != nullptr)
        *lines = dib.linesRead;
    return S_OK;
}

// Neighbourhood filters: an output pixel depends on a window of input pixels.  Blurs,
// sharpening, embossing, edges, the painterly effects and the picture as characters.
// DC-to-DC effects take (destination, source, ..., lines); image-object effects take
// (source bitmap, destination image, ..., lines).  Parameters out of range are clamped.
#pragma once
#include "fw/fw.h"

#include <objidl.h>
#include <gdiplus.h>

#include <stddef.h>

HRESULT DibBlur3x3(HDC destination, HDC source, LONG* lines);
HRESULT DibSelectiveSmooth(HDC destination, HDC source, int tolerance, LONG* lines);
HRESULT DibSelectiveSmoothInverse(HDC destination, HDC source, int tolerance, LONG* lines);
HRESULT DibSelectiveBlur(HDC destination, HDC source, short radius, short tolerance, BOOL useTolerance, LONG* lines);
HRESULT DibAdaptiveBlur(HDC destination, HDC source, LONG* lines);
HRESULT DibCrossBlur(HDC destination, HDC source, int distance, LONG* lines);
HRESULT DibRingBlur(HDC destination, HDC source, int radius, LONG* lines);
HRESULT DibMotionBlur(HDC destination, HDC source, double angle, int length, LONG* lines);
HRESULT DibSpinBlur(HDC destination, HDC source, short span, LONG* lines);
HRESULT DibZoomBlur(HDC destination, HDC source, short strength, LONG* lines);
HRESULT DibUnsharpMask(HDC destination, HDC source, short radius, double amount, LONG* lines);
HRESULT DibSharpenDiagonal(HDC destination, HDC source, int amount, LONG* lines);
HRESULT DibSharpen(HDC destination, HDC source, float amount, LONG* lines);
HRESULT DibEmboss(HDC destination, HDC source, float depth, LONG* lines);
HRESULT DibEmbossImage(Gdiplus::Bitmap* source, Gdiplus::Image* destination, float depth, LONG* lines);
HRESULT DibEmbossColor(HDC destination, HDC source, LONG* lines);
HRESULT DibEdges(HDC destination, HDC source, short shift, short distance, LONG* lines);
HRESULT DibEdgesInverted(HDC destination, HDC source, short shift, short distance, LONG* lines);
HRESULT DibEdgeTwoTone(HDC destination, HDC source, int threshold, COLORREF edge, COLORREF background, LONG* lines);

// The colour of the fullest luminance bucket around (x, y) of a 24-bit buffer.
COLORREF OilPaintPixel(const BYTE* buffer, int width, int height, int x, int y, int radius, int levels);
// The colour of a luminance bucket around (x, y) drawn at random by its share.
COLORREF RandomPaintPixel(const BYTE* buffer, int width, int height, int x, int y, int radius);
HRESULT DibOilPaint(Gdiplus::Bitmap* source, Gdiplus::Image* destination, int radius, int levels, LONG* lines);
// Handles this thread's messages after every pixel.
HRESULT DibRandomPaint(HDC destination, HDC source, int radius, LONG* lines);
HRESULT DibStamp(HDC destination, HDC source, int threshold, int distance, int grain, int depth, COLORREF dark,
                 COLORREF light, LONG* lines);

// The bytes DibAsciiArt needs for the source's picture, the final NUL included.
HRESULT DibAsciiArtSize(HDC source, size_t* size);
// The picture as lines of characters, dark to light; E_FAIL, nothing written, when `size`
// is below what DibAsciiArtSize reports.
HRESULT DibAsciiArt(HDC source, char* text, size_t size, LONG* lines);

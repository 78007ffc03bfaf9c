// Tone and colour effects: each output pixel depends on the same input pixel only (and, for
// a few, on image-wide statistics or a region).  DC-to-DC effects take (destination, source,
// ..., lines); image-object effects take (source bitmap, destination image, ..., lines).
// Parameters out of range are clamped, never rejected.
#pragma once
#include "fw/fw.h"

#include <objidl.h>
#include <gdiplus.h>

HRESULT DibThreshold(HDC destination, HDC source, LONG* lines);
HRESULT DibThresholdLevel(HDC destination, HDC source, int level, LONG* lines);
HRESULT DibThresholdChannels(HDC destination, HDC source, LONG* lines);
HRESULT DibPosterize(HDC destination, HDC source, int level, LONG* lines);
HRESULT DibPosterizeSix(HDC destination, HDC source, LONG* lines);
HRESULT DibBrightness(Gdiplus::Bitmap* source, Gdiplus::Image* destination, int amount, LONG* lines);
HRESULT DibContrastRgb(Gdiplus::Bitmap* source, Gdiplus::Image* destination, float red, float green, float blue,
                       LONG* lines);
HRESULT DibGamma(HDC destination, HDC source, float gamma, LONG* lines);
HRESULT DibReduceContrast(HDC destination, HDC source, int amount, LONG* lines);
HRESULT DibDifferenceLevel(HDC destination, HDC source, int level, LONG* lines);
HRESULT DibSolarize(HDC destination, HDC source, BOOL upper, LONG* lines);
HRESULT DibSaturation(HDC destination, HDC source, int amount, LONG* lines);
HRESULT DibGrayBrightness(Gdiplus::Bitmap* source, Gdiplus::Image* destination, int amount, LONG* lines);
HRESULT DibSepia(Gdiplus::Bitmap* source, Gdiplus::Image* destination, LONG* lines);
HRESULT DibTint(HDC destination, HDC source, COLORREF colour, int opacity, LONG* lines);
HRESULT DibColorFilter(Gdiplus::Bitmap* source, Gdiplus::Image* destination, COLORREF colour, int amount, LONG* lines);
HRESULT DibMixBlueGreen(HDC destination, HDC source, int amount, LONG* lines);
HRESULT DibHueShift(HDC destination, HDC source, int amount, LONG* lines);
// flags: 1 red, 2 green, 4 blue, 8 grey (all three, after turning the image grey).
HRESULT DibAutoLevels(HDC destination, HDC source, int flags, double amount, LONG* lines);
HRESULT DibBalanceColors(HDC destination, HDC source, int level, LONG* lines);
// palette 2 fire, 3 ice, any other none.
HRESULT DibContourBands(HDC destination, HDC source, int bands, int phase, int palette, LONG* lines);
HRESULT DibReplaceColor(Gdiplus::Bitmap* source, Gdiplus::Image* destination, COLORREF from, COLORREF to, int tolerance,
                        LONG* lines);
HRESULT DibRemoveBackground(Gdiplus::Bitmap* source, Gdiplus::Image* destination, COLORREF key, COLORREF fill,
                            int tolerance, BOOL fromTop, BOOL fromLeft, BOOL fromRight, BOOL fromBottom, LONG* lines);
HRESULT DibDarkenEllipse(Gdiplus::Bitmap* source, Gdiplus::Image* destination, RECT rect, short red, short green,
                         short blue, LONG* lines);
HRESULT DibColorDots(HDC destination, HDC source, int density, COLORREF colour, LONG* lines);
HRESULT DibChannelNoise(HDC destination, HDC source, int amount, LONG* lines);

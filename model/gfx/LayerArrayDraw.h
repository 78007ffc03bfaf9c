// Small drawing helpers shared by the renderers of backgrounds, frames and texts.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "base/Globals.h"

// Alpha of a colour drawn at opacity o (0 to 1): trunc(255 x o), kept within a byte
// for values read from a file.
inline BYTE AlphaFromOpacity(float opacity)
{
    float a = opacity * 255.0f;
    if (!(a > 0))
        return 0;
    if (a >= 255.0f)
        return 255;
    return (BYTE)(int)a;
}

// A GDI+ colour from a COLORREF (0x00BBGGRR) with the given alpha.
inline Gdiplus::Color ArgbFromColorref(BYTE alpha, COLORREF c)
{
    return Gdiplus::Color(alpha, (BYTE)(c & 0xFF), (BYTE)((c & 0xFFFF) >> 8), (BYTE)((c >> 16) & 0xFF));
}

// The five fill colours in the order the gradients take them: a radial fill has corners
// 1, 2, 4, 3 and centre 5, always opaque; a linear fill runs 1, 2, 5, 3, 4 at `alpha`.
inline void GradientColours(bool radial, BYTE alpha, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4, COLORREF c5,
                            Gdiplus::Color out[5])
{
    if (radial) {
        const COLORREF order[5] = {c1, c2, c4, c3, c5};
        for (int i = 0; i < 5; ++i)
            out[i] = ArgbFromColorref(255, order[i]);
    } else {
        const COLORREF order[5] = {c1, c2, c5, c3, c4};
        for (int i = 0; i < 5; ++i)
            out[i] = ArgbFromColorref(alpha, order[i]);
    }
}

// The design is drawn mirrored left to right only while printing with the mirror flag.
inline bool IsMirroredPrinting() { return GetGlobalValueA() != 0 && GetGlobalValueC() != 0; }

// Mirrors a brush about the vertical line x = width / 2 of the area (0, 0, width, h).
// Used instead of a negative-width gradient rectangle, which some GDI+ builds fill with
// nothing.
template <class Brush> inline void MirrorBrushHorizontally(Brush& brush, float width)
{
    Gdiplus::Matrix mirror(-1.0f, 0.0f, 0.0f, 1.0f, width, 0.0f);
    brush.MultiplyTransform(&mirror, Gdiplus::MatrixOrderAppend);
}

// Strokes `path` with a pen of `width` (world units, inches here) in `colour`, or with
// `brush` when given (the brush is rescaled for the call).  The path is stroked in
// coordinates 1000 times larger under a 1/1000 world scale: Wine widens pens of paths
// whose coordinates are fractions of a world unit wrongly (a 0.025-inch pen fills a
// whole inch), while every GDI+ draws the enlarged form alike.
void StrokePathPrecise(Gdiplus::Graphics* g, const Gdiplus::GraphicsPath* path, float width,
                       const Gdiplus::Color& colour, Gdiplus::Brush* brush = NULL,
                       Gdiplus::PenAlignment alignment = Gdiplus::PenAlignmentCenter);

// Fills `area` (world units) with `tile` repeated without end, the tiles placed by
// `placement`, which maps tile pixels to world units as a texture brush's transform
// would.  The tiles are drawn in device pixels by an untransformed brush under the
// graphics' transform, from a copy of the tile shrunk near to its size on the device:
// Wine's GDI+ cannot invert a turned matrix whose determinant is below 1e-5 and then
// paints nothing, and a large picture tiled in inches, turned, has such a matrix.  A
// placement that cannot be inverted draws nothing.
void FillTiled(Gdiplus::Graphics* g, const Gdiplus::GraphicsPath* area, Gdiplus::Bitmap* tile,
               Gdiplus::ImageAttributes* attributes, const Gdiplus::Matrix& placement);

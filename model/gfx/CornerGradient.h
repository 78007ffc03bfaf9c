// The four-corner gradient of backgrounds, frames and texts: each corner of a quadrilateral
// has its colour, the edges run between them, and towards the centre point the colour
// turns into the centre colour by `strength` x t, t running from 0 on the edge to 1 at
// the centre (strength 1 reaches the centre colour, 0 never shows it).
//
// It is computed here, one device pixel at a time, and laid into the area as a picture:
// Wine's path-gradient brush ignores its blend factors, so the strength would change
// nothing on the screen.  The result is the path gradient every GDI+ draws with blend
// factors 0, strength / 2 and strength at the positions 0, 1/2 and 1.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

struct CornerGradient
{
    Gdiplus::PointF corners[4]; // world units, in order round the quadrilateral
    Gdiplus::Color colours[4];  // one per corner
    Gdiplus::PointF centre;     // world units
    Gdiplus::Color centreColour;
    float strength; // 0 to 1

    // The gradient on rectangle r, placed by `placement` when given: corners top-left,
    // top-right, bottom-right, bottom-left take colours[0] to [3], the middle colours[4];
    // a strength outside 0 to 1 (from a file) is held within.
    static CornerGradient OnRect(const Gdiplus::RectF& r, const Gdiplus::Color colours[5], float strength,
                                 const Gdiplus::Matrix* placement = nullptr);

    // The colour at point p, in any units where p, the corners and the centre agree.
    Gdiplus::ARGB ColourAt(Gdiplus::PointF p) const;
    // Fills `area` (world units) with the gradient on the graphics' device pixels.  A very
    // large device area is computed on coarser pixels (the gradient is smooth).
    void Fill(Gdiplus::Graphics* g, const Gdiplus::GraphicsPath* area) const;
};

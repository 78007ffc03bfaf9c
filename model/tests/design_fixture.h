// Shared helpers of the design-object tests: small ARGB canvases at 96 dpi drawn in
// inches, and hand-made PNG files (so that a test decides exactly whether the file
// carries a resolution).
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>
#include <vector>

namespace design_test {

// A w x h pixel canvas, 96 pixels to the inch, page unit inch, cleared to `clear`.
struct Canvas
{
    Gdiplus::Bitmap bitmap;
    Gdiplus::Graphics graphics;
    Canvas(int w, int h, Gdiplus::ARGB clear = 0)
        : bitmap(w, h, PixelFormat32bppARGB), graphics((bitmap.SetResolution(96, 96), &bitmap))
    {
        graphics.SetPageUnit(Gdiplus::UnitInch);
        graphics.Clear(Gdiplus::Color(clear));
    }
    Gdiplus::ARGB At(int x, int y)
    {
        graphics.Flush(Gdiplus::FlushIntentionSync);
        Gdiplus::Color c;
        bitmap.GetPixel(x, y, &c);
        return c.GetValue();
    }
};

// Bounds of the pixels whose alpha is not 0 (empty when none) and counts of pixels.
RECT PaintedBounds(Gdiplus::Bitmap& bitmap);
int CountPixels(Gdiplus::Bitmap& bitmap, bool (*match)(Gdiplus::ARGB));

// Each channel of a within tol of b.
::testing::AssertionResult ArgbNear(Gdiplus::ARGB a, Gdiplus::ARGB b, int tol);

// PNG of w x h pixels (32-bit RGBA, unfiltered, stored deflate) whose pixel (x, y) is
// pixel(x, y) as ARGB; with ppm > 0 a pHYs chunk of that many pixels per unit (1 the
// metre, 0 no unit: the pixels' aspect only).
std::vector<BYTE> MakePng(int w, int h, Gdiplus::ARGB (*pixel)(int x, int y), unsigned ppm = 0, BYTE unit = 1);
// Writes bytes to a file in the working folder; returns its name.
std::string WriteTempFile(const char* name, const std::vector<BYTE>& bytes);

} // namespace design_test

// Pictures compared pixel for pixel within one run: what the code under test drew against
// a reference the test draws itself in the same process.  Both sides go through the same
// GDI+ and the same screen, so the comparison holds on every target and build, where a
// frozen digest of anti-aliased edges would hold on one only.
#pragma once
#include "fw/fwwin.h"

#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>
#include <vector>

// width x height pixels as 32-bit words, rows top-down.
struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    DWORD At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};

// The bitmap's pixels as 0xAARRGGBB; an empty picture when they cannot be read.
Picture PictureOf(Gdiplus::Bitmap& bitmap);
// The rectangle r of the window's client area as the screen shows it, as 0x00RRGGBB.
Picture PictureOfWindow(HWND wnd, const RECT& r);

// Success when both pictures have one size and every pixel is alike; the failure says how
// many pixels differ and where the first one is.
::testing::AssertionResult SamePixels(const Picture& actual, const Picture& expected);
// The same for two bitmaps (a missing one fails).
::testing::AssertionResult SamePixels(Gdiplus::Bitmap* actual, Gdiplus::Bitmap* expected);

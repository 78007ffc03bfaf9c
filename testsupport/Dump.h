// Pictures a test drew, kept for a person to look at: saved as PNG under the (Windows)
// folder named by SL_DUMP_DIR when that is set; nothing is written otherwise.  Windows of
// the real-window tests go to the build's screenshots folder every run.
#pragma once
#include "testsupport/DibSurface.h"

#include <objidl.h>
#include <gdiplus.h>

// Saves the bitmap as <SL_DUMP_DIR>\<name>.png; true when it was written.
bool DumpPng(Gdiplus::Bitmap& bitmap, const char* name);
// The same for a GDI bitmap (a copy of a window) and a DIB surface; alpha is not kept.
bool DumpPng(HBITMAP bitmap, const char* name);
bool DumpPng(const DibSurface& surface, const char* name);

// The window's client area as the screen shows it, into "<build>\screenshots\<name>.png"
// (tests run in <build>\testdata); true when it was written.
bool SaveScreenshot(HWND wnd, const char* name);

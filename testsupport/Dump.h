// Pictures a test drew, kept for a person to look at: saved as PNG under the (Windows)
// folder named by SL_DUMP_DIR when that is set; nothing is written otherwise.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// Saves the bitmap as <SL_DUMP_DIR>\<name>.png; true when it was written.
bool DumpPng(Gdiplus::Bitmap& bitmap, const char* name);
// The same for a GDI bitmap (a DIB surface, a copy of a window); its alpha is not kept.
bool DumpPng(HBITMAP bitmap, const char* name);

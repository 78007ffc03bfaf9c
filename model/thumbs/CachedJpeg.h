// What a cached thumbnail must be before it is decoded: a whole JPEG (start marker, marker
// segments that fit the bytes, a frame header before the scan, the end marker last) whose
// frame header states a size of 1 to `maxSide` pixels a side.  A cache file comes from the
// folder, not from this program alone: its images are checked like any other input.
#pragma once

#include <windows.h>
#include <stddef.h>

bool CheckCachedJpeg(const BYTE* data, size_t size, DWORD maxSide, DWORD* width = NULL, DWORD* height = NULL);

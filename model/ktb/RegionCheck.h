// What the bytes of a stored cut-out region ("Region%d.dat") must be: a Windows region
// description (RGNDATA) with a rectangle header whose rectangle count fits the bytes.
#pragma once

#include <windows.h>
#include <stddef.h>

// Largest region stream read (bytes): a quarter of a million rectangles.
const size_t kMaxRegionStreamBytes = 4u * 1024u * 1024u;

bool CheckRegionBytes(const BYTE* data, size_t size);

// What an image stream of a design file must be before it is decoded: a PNG, JPEG, GIF or
// BMP whose stated size stays within what the program can hold.  The decoder allocates the
// stated size up front, so a few hundred bytes could otherwise ask for gigabytes.
#pragma once

#include <windows.h>
#include <stddef.h>

const size_t kMaxImageStreamBytes = 256u * 1024u * 1024u;
const DWORD kMaxImageSide = 32768;
const DWORD kMaxImagePixels = 64u * 1024u * 1024u;

// Width and height as the image's header states them; false for anything else (unknown
// format, truncated header, zero or oversized dimensions).
bool CheckImageBytes(const BYTE* data, size_t size, DWORD* width = NULL, DWORD* height = NULL);

// What an image stream of a design file must be before it is decoded: a PNG (the only
// format the program writes there) whose chunks are whole, carry their own checksums and
// begin with a header stating a size the program can hold.  Decoders allocate the stated
// size up front and some trust chunk lengths, so a few hundred bytes could otherwise ask
// for gigabytes or send a decoder reading past its buffer.
#pragma once

#include <windows.h>
#include <stddef.h>

const size_t kMaxImageStreamBytes = 256u * 1024u * 1024u;
const DWORD kMaxImageSide = 32768;
const DWORD kMaxImagePixels = 64u * 1024u * 1024u;

// Width and height from the PNG header; false for anything that is not a well-formed PNG
// of an acceptable size.
bool CheckImageBytes(const BYTE* data, size_t size, DWORD* width = NULL, DWORD* height = NULL);

// The one way the program writes images: GDI+ encoders found by MIME type ("image/png",
// "image/jpeg"), and the two conversions between a GDI bitmap handle and a GDI+ bitmap.
// Rule kept: every save reports failure (no encoder, a failed write, an empty result) as
// false, never as success; a converted bitmap owns its pixels (the source may go at once).
#pragma once

#include "fw/fw.h"

#include <objidl.h>
#include <gdiplus.h>

#include <vector>

// Whether GDI+ has an encoder for that MIME type (exact, as GDI+ names it).
bool HasImageEncoder(const WCHAR* mime);

// Encodes `image` into `stream` with the encoder of `mime`.  `quality` 0-100 is passed as
// the encoder's quality parameter; a negative quality passes none.  False when there is
// no such encoder, the encoder fails or nothing was written.
bool SaveImageToStream(Gdiplus::Image* image, IStream* stream, const WCHAR* mime, int quality = -1);
// The same with the caller's own encoder parameters (NULL for none).
bool SaveImageToStreamWith(Gdiplus::Image* image, IStream* stream, const WCHAR* mime,
                           const Gdiplus::EncoderParameters* parameters);
// The same into a file, replacing it; a failed save leaves no partial file behind.
bool SaveImageToFile(Gdiplus::Image* image, LPCWSTR path, const WCHAR* mime, int quality = -1);
// The same into memory.
bool EncodeImage(Gdiplus::Image* image, const WCHAR* mime, int quality, std::vector<BYTE>& bytes);

// A 24-bit GDI+ copy of a GDI bitmap: GDI+ reads an HBITMAP without its alpha, so the copy
// is opaque whatever the handle held.  The caller owns the result; NULL when the handle is
// no bitmap.
Gdiplus::Bitmap* BitmapFromHbitmap(HBITMAP source);
// A GDI bitmap of `image`, transparent parts laid over `background`.  The caller owns the
// handle; NULL on failure.
HBITMAP HbitmapFromBitmap(Gdiplus::Bitmap* image, Gdiplus::Color background = Gdiplus::Color(255, 255, 255));

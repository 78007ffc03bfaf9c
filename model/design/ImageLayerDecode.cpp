// Decoding image bytes into bitmaps the program owns, with the resolution the image
// file states itself.
#include "model/design/ImageLayer.h"

#include "base/ComOwner.h"

#include <string.h>
#include <vector>

using namespace Gdiplus;

namespace {

DWORD Be32(const BYTE* p) { return ((DWORD)p[0] << 24) | ((DWORD)p[1] << 16) | ((DWORD)p[2] << 8) | p[3]; }
WORD Be16(const BYTE* p) { return (WORD)((p[0] << 8) | p[1]); }
DWORD Le32(const BYTE* p) { return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24); }

const float kInchesPerMetre = 0.0254f;
const float kCentimetresPerInch = 2.54f;

// A resolution the file states: positive and finite in both directions (a missing
// vertical value takes the horizontal one).
bool Stated(float x, float y, ImageResolution* out)
{
    if (!(x > 0) || x > 1e9f)
        return false;
    if (!(y > 0) || y > 1e9f)
        y = x;
    if (out) {
        out->x = x;
        out->y = y;
    }
    return true;
}

// The resolution a TIFF structure (a TIFF file or the body of an EXIF block) states in
// its first directory: XResolution and YResolution per ResolutionUnit (2 inch, the
// default; 3 centimetre; 1 no unit, which states none).
bool TiffResolution(const BYTE* t, size_t size, ImageResolution* out)
{
    if (size < 8)
        return false;
    bool little;
    if (t[0] == 'I' && t[1] == 'I')
        little = true;
    else if (t[0] == 'M' && t[1] == 'M')
        little = false;
    else
        return false;
    auto u16 = [&](size_t o) -> DWORD { return little ? (DWORD)(t[o] | (t[o + 1] << 8)) : Be16(t + o); };
    auto u32 = [&](size_t o) -> DWORD { return little ? Le32(t + o) : Be32(t + o); };
    // A RATIONAL stored by offset: numerator / denominator, 0 when unreadable.
    auto rational = [&](size_t entry) -> float {
        if (u16(entry + 2) != 5 || u32(entry + 4) != 1)
            return 0.0f;
        DWORD at = u32(entry + 8);
        if (at > size || size - at < 8 || u32(at + 4) == 0)
            return 0.0f;
        return (float)((double)u32(at) / (double)u32(at + 4));
    };
    DWORD ifd = u32(4);
    if (ifd > size || size - ifd < 2)
        return false;
    DWORD count = u16(ifd);
    float x = 0, y = 0;
    DWORD unit = 2;
    for (DWORD i = 0; i < count; i++) {
        size_t e = ifd + 2 + (size_t)i * 12;
        if (e + 12 > size)
            break;
        switch (u16(e)) {
        case 0x011A:
            x = rational(e);
            break;
        case 0x011B:
            y = rational(e);
            break;
        case 0x0128:
            unit = u16(e + 8); // a SHORT held in the entry itself
            break;
        }
    }
    if (unit == 3)
        return Stated(x * kCentimetresPerInch, y * kCentimetresPerInch, out);
    return unit == 2 && Stated(x, y, out);
}

bool PngResolution(const BYTE* p, size_t size, ImageResolution* out)
{
    size_t pos = 8;
    while (pos + 8 <= size) {
        DWORD len = Be32(p + pos);
        const BYTE* type = p + pos + 4;
        if (len > size - pos - 8)
            return false;
        if (memcmp(type, "pHYs", 4) == 0) {
            // Unit 1 is the metre; unit 0 gives only the pixels' aspect ratio.
            const BYTE* d = p + pos + 8;
            return len >= 9 && d[8] == 1 &&
                   Stated((float)Be32(d) * kInchesPerMetre, (float)Be32(d + 4) * kInchesPerMetre, out);
        }
        if (memcmp(type, "IDAT", 4) == 0 || memcmp(type, "IEND", 4) == 0)
            return false; // pHYs must come before the image data
        pos += 12 + (size_t)len;
    }
    return false;
}

// The first resolution the segments state, in file order: JFIF density in dots per inch
// or centimetre (units 0 give only an aspect ratio), or the EXIF block's.
bool JpegResolution(const BYTE* p, size_t size, ImageResolution* out)
{
    size_t pos = 2;
    while (pos + 4 <= size) {
        if (p[pos] != 0xFF)
            return false;
        BYTE marker = p[pos + 1];
        if (marker == 0xFF) { // fill byte
            pos++;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            return false; // end of image or start of scan
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        size_t len = Be16(p + pos + 2);
        if (len < 2 || len > size - pos - 2)
            return false;
        const BYTE* d = p + pos + 4;
        size_t dlen = len - 2;
        if (marker == 0xE0 && dlen >= 12 && memcmp(d, "JFIF\0", 5) == 0) {
            const BYTE units = d[7];
            const float x = Be16(d + 8), y = Be16(d + 10);
            if (units == 1 && Stated(x, y, out))
                return true;
            if (units == 2 && Stated(x * kCentimetresPerInch, y * kCentimetresPerInch, out))
                return true;
        }
        if (marker == 0xE1 && dlen >= 14 && memcmp(d, "Exif\0\0", 6) == 0 && TiffResolution(d + 6, dlen - 6, out))
            return true;
        pos += 2 + len;
    }
    return false;
}

} // namespace

bool ImageBytesResolution(const void* bytes, size_t size, ImageResolution* out)
{
    const BYTE* p = (const BYTE*)bytes;
    if (!p || size < 4)
        return false;
    static const BYTE pngSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 8 && memcmp(p, pngSig, 8) == 0)
        return PngResolution(p, size, out);
    if (p[0] == 0xFF && p[1] == 0xD8)
        return JpegResolution(p, size, out);
    if (p[0] == 'B' && p[1] == 'M') {
        if (size < 14 + 40 || Le32(p + 14) < 40)
            return false; // the oldest header has no resolution
        const LONG x = (LONG)Le32(p + 14 + 24), y = (LONG)Le32(p + 14 + 28);
        return x > 0 && Stated((float)x * kInchesPerMetre, y > 0 ? (float)y * kInchesPerMetre : 0.0f, out);
    }
    if ((p[0] == 'I' && p[1] == 'I' && p[2] == 42 && p[3] == 0) ||
        (p[0] == 'M' && p[1] == 'M' && p[2] == 0 && p[3] == 42))
        return TiffResolution(p, size, out);
    // GIF, icons and every kind not read here state none the program can trust (decoders
    // report 96 for them).
    return false;
}

bool ImageBytesHaveResolution(const void* bytes, size_t size) { return ImageBytesResolution(bytes, size, NULL); }

Bitmap* CopyBitmapPixels(Bitmap* source)
{
    if (!source || source->GetLastStatus() != Ok)
        return NULL;
    UINT w = source->GetWidth(), h = source->GetHeight();
    if (w == 0 || h == 0)
        return NULL;
    Bitmap* copy = new Bitmap((INT)w, (INT)h, PixelFormat32bppARGB);
    if (copy->GetLastStatus() != Ok) {
        delete copy;
        return NULL;
    }
    Rect all(0, 0, (INT)w, (INT)h);
    BitmapData from, to;
    bool ok = false;
    if (source->LockBits(&all, ImageLockModeRead, PixelFormat32bppARGB, &from) == Ok) {
        if (copy->LockBits(&all, ImageLockModeWrite, PixelFormat32bppARGB, &to) == Ok) {
            for (UINT y = 0; y < h; y++)
                memcpy((BYTE*)to.Scan0 + (INT_PTR)y * to.Stride, (const BYTE*)from.Scan0 + (INT_PTR)y * from.Stride,
                       (size_t)w * 4);
            copy->UnlockBits(&to);
            ok = true;
        }
        source->UnlockBits(&from);
    }
    if (!ok) {
        delete copy;
        return NULL;
    }
    copy->SetResolution(source->GetHorizontalResolution(), source->GetVerticalResolution());
    return copy;
}

Bitmap* DecodeImageBytes(const void* bytes, size_t size)
{
    if (!bytes || size == 0 || size > 0x7FFFFFFF)
        return NULL;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!mem)
        return NULL;
    void* dst = GlobalLock(mem);
    if (!dst) {
        GlobalFree(mem);
        return NULL;
    }
    memcpy(dst, bytes, size);
    GlobalUnlock(mem);
    ComOwner<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(mem, TRUE, stream.Put()))) {
        GlobalFree(mem);
        return NULL;
    }
    Bitmap* decoded = Bitmap::FromStream(stream, FALSE);
    Bitmap* owned = CopyBitmapPixels(decoded); // decoded may still read the stream
    delete decoded;
    stream.Reset();
    // The file's own statement wins over the decoder's, which ignores some (EXIF, TIFF
    // units) and reports 96 where there is none.
    ImageResolution stated = {kUnstatedResolution, kUnstatedResolution};
    if (owned) {
        ImageBytesResolution(bytes, size, &stated);
        owned->SetResolution(stated.x, stated.y);
    }
    return owned;
}

Bitmap* LoadImageFile(LPCTSTR path)
{
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return NULL;
    std::vector<BYTE> bytes;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart > 0 && size.QuadPart < 0x40000000;
    if (ok) {
        bytes.resize((size_t)size.QuadPart);
        DWORD got = 0;
        ok = ReadFile(f, &bytes[0], (DWORD)bytes.size(), &got, NULL) && got == bytes.size();
    }
    CloseHandle(f);
    return ok ? DecodeImageBytes(&bytes[0], bytes.size()) : NULL;
}

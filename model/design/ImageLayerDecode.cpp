// Decoding image bytes into bitmaps the program owns, and telling whether an image
// file states its own resolution.
#include "model/design/ImageLayer.h"

#include "base/ComOwner.h"

#include <string.h>
#include <vector>

using namespace Gdiplus;

namespace {

DWORD Be32(const BYTE* p) { return ((DWORD)p[0] << 24) | ((DWORD)p[1] << 16) | ((DWORD)p[2] << 8) | p[3]; }
WORD Be16(const BYTE* p) { return (WORD)((p[0] << 8) | p[1]); }

// Whether a TIFF structure (a TIFF file or the body of an EXIF block) names a
// non-zero X resolution in its first directory.
bool TiffHasResolution(const BYTE* t, size_t size)
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
    auto u32 = [&](size_t o) -> DWORD {
        return little ? ((DWORD)t[o] | ((DWORD)t[o + 1] << 8) | ((DWORD)t[o + 2] << 16) | ((DWORD)t[o + 3] << 24))
                      : Be32(t + o);
    };
    DWORD ifd = u32(4);
    if (ifd > size || size - ifd < 2)
        return false;
    DWORD count = u16(ifd);
    for (DWORD i = 0; i < count; i++) {
        size_t e = ifd + 2 + (size_t)i * 12;
        if (e + 12 > size)
            return false;
        if (u16(e) != 0x011A) // XResolution, a RATIONAL stored by offset
            continue;
        DWORD at = u32(e + 8);
        if (at > size || size - at < 8)
            return false;
        return u32(at) != 0 && u32(at + 4) != 0;
    }
    return false;
}

bool PngHasResolution(const BYTE* p, size_t size)
{
    size_t pos = 8;
    while (pos + 8 <= size) {
        DWORD len = Be32(p + pos);
        const BYTE* type = p + pos + 4;
        if (len > size - pos - 8)
            return false;
        if (memcmp(type, "pHYs", 4) == 0)
            return len >= 9 && p[pos + 16] == 1 && Be32(p + pos + 8) != 0;
        if (memcmp(type, "IDAT", 4) == 0 || memcmp(type, "IEND", 4) == 0)
            return false; // pHYs must come before the image data
        pos += 12 + (size_t)len;
    }
    return false;
}

bool JpegHasResolution(const BYTE* p, size_t size)
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
            BYTE units = d[7];
            if ((units == 1 || units == 2) && Be16(d + 8) != 0)
                return true;
        }
        if (marker == 0xE1 && dlen >= 14 && memcmp(d, "Exif\0\0", 6) == 0 && TiffHasResolution(d + 6, dlen - 6))
            return true;
        pos += 2 + len;
    }
    return false;
}

} // namespace

bool ImageBytesHaveResolution(const void* bytes, size_t size)
{
    const BYTE* p = (const BYTE*)bytes;
    if (!p || size < 4)
        return false;
    static const BYTE pngSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 8 && memcmp(p, pngSig, 8) == 0)
        return PngHasResolution(p, size);
    if (p[0] == 0xFF && p[1] == 0xD8)
        return JpegHasResolution(p, size);
    if (p[0] == 'B' && p[1] == 'M') {
        if (size < 14 + 40)
            return false;
        DWORD headerSize = p[14] | (p[15] << 8) | (p[16] << 16) | ((DWORD)p[17] << 24);
        if (headerSize < 40)
            return false; // the oldest header has no resolution
        const BYTE* x = p + 14 + 24;
        LONG ppm = (LONG)(x[0] | (x[1] << 8) | (x[2] << 16) | ((DWORD)x[3] << 24));
        return ppm > 0;
    }
    if ((p[0] == 'I' && p[1] == 'I' && p[2] == 42 && p[3] == 0) ||
        (p[0] == 'M' && p[1] == 'M' && p[2] == 0 && p[3] == 42))
        return TiffHasResolution(p, size);
    if (p[0] == 'G' && p[1] == 'I' && p[2] == 'F')
        return false;
    return true; // other kinds: trust the decoder
}

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
    if (owned && !ImageBytesHaveResolution(bytes, size))
        owned->SetResolution(150.0f, 150.0f);
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

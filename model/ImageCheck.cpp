#include "model/ImageCheck.h"

#include <limits.h>
#include <string.h>

namespace {

DWORD BigEndian32(const BYTE* p) { return ((DWORD)p[0] << 24) | ((DWORD)p[1] << 16) | ((DWORD)p[2] << 8) | p[3]; }
DWORD BigEndian16(const BYTE* p) { return ((DWORD)p[0] << 8) | p[1]; }
DWORD Little16(const BYTE* p) { return (DWORD)p[0] | ((DWORD)p[1] << 8); }
DWORD Little32(const BYTE* p) { return Little16(p) | (Little16(p + 2) << 16); }

bool PngSize(const BYTE* d, size_t n, DWORD& w, DWORD& h)
{
    static const BYTE sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (n < 24 || memcmp(d, sig, 8) != 0 || memcmp(d + 12, "IHDR", 4) != 0)
        return false;
    w = BigEndian32(d + 16);
    h = BigEndian32(d + 20);
    return true;
}

bool JpegSize(const BYTE* d, size_t n, DWORD& w, DWORD& h)
{
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8)
        return false;
    size_t at = 2;
    while (at + 4 <= n) {
        if (d[at] != 0xFF)
            return false;
        BYTE marker = d[at + 1];
        if (marker == 0xFF) {            // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)   // end, or scan data before any frame header
            return false;
        DWORD length = BigEndian16(d + at + 2);
        if (length < 2)
            return false;
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > n || length < 7)
                return false;
            h = BigEndian16(d + at + 5);
            w = BigEndian16(d + at + 7);
            return true;
        }
        at += 2 + length;
    }
    return false;
}

bool GifSize(const BYTE* d, size_t n, DWORD& w, DWORD& h)
{
    if (n < 10 || (memcmp(d, "GIF87a", 6) != 0 && memcmp(d, "GIF89a", 6) != 0))
        return false;
    w = Little16(d + 6);
    h = Little16(d + 8);
    return true;
}

bool BmpSize(const BYTE* d, size_t n, DWORD& w, DWORD& h)
{
    if (n < 26 || d[0] != 'B' || d[1] != 'M')
        return false;
    DWORD header = Little32(d + 14);
    if (header == 12) {
        w = Little16(d + 18);
        h = Little16(d + 20);
        return true;
    }
    if (header < 40 || n < 14 + 12)
        return false;
    LONG sw = (LONG)Little32(d + 18);
    LONG sh = (LONG)Little32(d + 22);
    if (sw <= 0 || sh == 0 || sh == LONG_MIN)
        return false;
    w = (DWORD)sw;
    h = (DWORD)(sh < 0 ? -sh : sh);
    return true;
}

} // namespace

bool CheckImageBytes(const BYTE* data, size_t size, DWORD* width, DWORD* height)
{
    if (data == NULL || size == 0 || size > kMaxImageStreamBytes)
        return false;
    DWORD w = 0, h = 0;
    if (!PngSize(data, size, w, h) && !JpegSize(data, size, w, h) && !GifSize(data, size, w, h) &&
        !BmpSize(data, size, w, h))
        return false;
    if (w == 0 || h == 0 || w > kMaxImageSide || h > kMaxImageSide ||
        (ULONGLONG)w * h > kMaxImagePixels)
        return false;
    if (width)
        *width = w;
    if (height)
        *height = h;
    return true;
}

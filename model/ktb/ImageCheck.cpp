#include "model/ktb/ImageCheck.h"

#include "digest/crc32.h"

#include <string.h>

namespace {

DWORD BigEndian32(const BYTE* p) { return ((DWORD)p[0] << 24) | ((DWORD)p[1] << 16) | ((DWORD)p[2] << 8) | p[3]; }

bool IsChunkType(const BYTE* t)
{
    for (int i = 0; i < 4; ++i)
        if (!((t[i] >= 'A' && t[i] <= 'Z') || (t[i] >= 'a' && t[i] <= 'z')))
            return false;
    return true;
}

} // namespace

bool CheckImageBytes(const BYTE* data, size_t size, DWORD* width, DWORD* height)
{
    static const BYTE signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (data == NULL || size < 8 + 25 || size > kMaxImageStreamBytes || memcmp(data, signature, 8) != 0)
        return false;
    DWORD w = 0, h = 0;
    bool header = false, imageData = false;
    size_t at = 8;
    for (;;) {
        if (size - at < 12)
            return false; // the chunks end before IEND
        const DWORD length = BigEndian32(data + at);
        if (length > size - at - 12)
            return false;
        const BYTE* type = data + at + 4;
        const BYTE* body = type + 4;
        if (!IsChunkType(type) || Crc32Of(type, 4 + (size_t)length) != BigEndian32(body + length))
            return false;
        if (!header) {
            if (memcmp(type, "IHDR", 4) != 0 || length != 13)
                return false;
            w = BigEndian32(body);
            h = BigEndian32(body + 4);
            header = true;
        } else if (memcmp(type, "IHDR", 4) == 0) {
            return false;
        } else if (memcmp(type, "IDAT", 4) == 0) {
            imageData = true;
        } else if (memcmp(type, "IEND", 4) == 0) {
            break;
        }
        at += 12 + (size_t)length;
    }
    if (!imageData || w == 0 || h == 0 || w > kMaxImageSide || h > kMaxImageSide || (ULONGLONG)w * h > kMaxImagePixels)
        return false;
    if (width)
        *width = w;
    if (height)
        *height = h;
    return true;
}

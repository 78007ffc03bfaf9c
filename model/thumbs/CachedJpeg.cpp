#include "model/thumbs/CachedJpeg.h"

namespace {

DWORD BigEndian16(const BYTE* p) { return ((DWORD)p[0] << 8) | p[1]; }

// Frame headers: SOF0..SOF15 but DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameHeader(BYTE marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

bool CheckCachedJpeg(const BYTE* data, size_t size, DWORD maxSide, DWORD* width, DWORD* height)
{
    // The smallest whole JPEG: SOI, a frame header, a scan header and EOI.
    if (data == NULL || size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    if (data[size - 2] != 0xFF || data[size - 1] != 0xD9)
        return false; // cut short
    DWORD w = 0, h = 0;
    bool frame = false;
    size_t at = 2;
    for (;;) {
        if (at + 2 > size || data[at] != 0xFF)
            return false;
        while (at + 1 < size && data[at + 1] == 0xFF) // fill bytes before a marker
            ++at;
        if (at + 2 > size)
            return false;
        const BYTE marker = data[at + 1];
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a segment
        if (marker == 0xD8 || marker == 0xD9)
            return false; // a second start, or the end before any scan
        if (at + 2 > size)
            return false;
        const DWORD length = BigEndian16(data + at);
        if (length < 2 || at + length > size)
            return false;
        if (IsFrameHeader(marker)) {
            // precision, height, width, components
            if (frame || length < 8)
                return false;
            h = BigEndian16(data + at + 3);
            w = BigEndian16(data + at + 5);
            frame = true;
        }
        at += length;
        if (marker == 0xDA)
            break; // the entropy-coded data runs from here to the end marker
    }
    if (!frame || w == 0 || h == 0 || w > maxSide || h > maxSide)
        return false;
    if (width)
        *width = w;
    if (height)
        *height = h;
    return true;
}

#include "model/ktb/RegionCheck.h"

#include <string.h>

bool CheckRegionBytes(const BYTE* data, size_t size)
{
    if (data == NULL || size < sizeof(RGNDATAHEADER) || size > kMaxRegionStreamBytes)
        return false;
    RGNDATAHEADER header;
    memcpy(&header, data, sizeof header);
    if (header.dwSize != sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES)
        return false;
    return header.nCount <= (size - sizeof(RGNDATAHEADER)) / sizeof(RECT);
}

#include "digest/crc32.h"

#include <cstdio>

void CCrc32::UpdateCrc32(const uint8_t* bytes, size_t length, DWORD& value)
{
    const DWORD* table = crc32_detail::kTable.v;
    DWORD v = value;
    for (size_t i = 0; i < length; ++i)
        v = (v >> 8) ^ table[(v ^ bytes[i]) & 0xFF];
    value = v;
}

DWORD CCrc32::StringCrc32(const char* text, DWORD& crc)
{
    crc = 0xFFFFFFFFu;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(text);
    if (p) {
        while (*p)
            UpdateCrc32(*p++, crc);
    }
    crc = ~crc;
    return kOk;
}

DWORD CCrc32::FileCrc32(const char* path, DWORD& crc)
{
    crc = 0xFFFFFFFFu;
    FILE* f = path ? std::fopen(path, "rb") : nullptr;
    if (!f) {
        // Not the CRC of an empty file: the caller must be able to tell the two apart.
        crc = 0;
        return kCannotOpen;
    }
    std::setvbuf(f, nullptr, _IOFBF, 1 << 16); // fewer, larger reads from the system
    uint8_t buf[4096];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
        UpdateCrc32(buf, got, crc);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    crc = ~crc;
    return failed ? kReadFailed : kOk;
}

BOOL CCrc32::GetFileSize64(HANDLE file, ULONGLONG& size)
{
    DWORD high = 0;
    const DWORD low = ::GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) {
        size = 0;
        return FALSE;
    }
    size = (static_cast<ULONGLONG>(high) << 32) | low;
    return TRUE;
}

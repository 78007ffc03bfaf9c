// CRC-32 of ISO 3309 / IEEE 802.3 (reflected polynomial 0xEDB88320).
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

namespace crc32_detail {

struct Table
{
    DWORD v[256];
};

constexpr Table MakeTable()
{
    Table t{};
    for (DWORD n = 0; n < 256; ++n) {
        DWORD c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t.v[n] = c;
    }
    return t;
}

// Built by the compiler: a constant table, no start-up work.
inline constexpr Table kTable = MakeTable();
static_assert(kTable.v[1] == 0x77073096u && kTable.v[255] == 0x2D02EF8Du, "CRC-32 table");

} // namespace crc32_detail

class CCrc32
{
public:
    // Return codes of StringCrc32 and FileCrc32.
    enum : DWORD {
        kOk = 0,
        kCannotOpen = ERROR_OPEN_FAILED, // the file could not be opened
        kReadFailed = ERROR_CRC          // reading stopped half-way
    };

    virtual ~CCrc32() {}

    static void UpdateCrc32(uint8_t byte, DWORD& value)
    {
        value = (value >> 8) ^ crc32_detail::kTable.v[(value ^ byte) & 0xFF];
    }

    // Folds a run of bytes into a running value (no pre- or post-complement).
    static void UpdateCrc32(const uint8_t* bytes, size_t length, DWORD& value);

    // CRC of the bytes up to the terminating zero.
    static DWORD StringCrc32(const char* text, DWORD& crc);
    // CRC of a file's bytes, read in chunks of 4096 bytes.  Returns kCannotOpen (crc 0)
    // when the file cannot be opened, kReadFailed when a read fails.
    static DWORD FileCrc32(const char* path, DWORD& crc);
    // Size of an open file; FALSE (size 0) when the platform cannot tell it.
    static BOOL GetFileSize64(HANDLE file, ULONGLONG& size);
};

// The CRC of one run of bytes, complemented before and after (as PNG chunks carry it).
inline DWORD Crc32Of(const void* bytes, size_t length)
{
    DWORD value = 0xFFFFFFFF;
    CCrc32::UpdateCrc32(static_cast<const uint8_t*>(bytes), length, value);
    return ~value;
}

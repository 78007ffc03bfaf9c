// CRC-32 return codes, runs of bytes and the file-size helper.
#include "digest/crc32.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(Crc32, ReturnCodesTellMissingFromEmpty)
{
    DWORD crc = 0;
    EXPECT_EQ(CCrc32::kOk, CCrc32::StringCrc32("123456789", crc));
    EXPECT_EQ(0xCBF43926u, crc);

    FILE* f = std::fopen("crc32_empty.bin", "wb");
    ASSERT_NE(nullptr, f);
    std::fclose(f);
    crc = 1;
    EXPECT_EQ(CCrc32::kOk, CCrc32::FileCrc32("crc32_empty.bin", crc));
    EXPECT_EQ(0u, crc);
    std::remove("crc32_empty.bin");

    crc = 1;
    EXPECT_EQ(CCrc32::kCannotOpen, CCrc32::FileCrc32("crc32_no_such_file.bin", crc));
    EXPECT_EQ(0u, crc);
}

TEST(Crc32, FileSize64)
{
    FILE* f = std::fopen("crc32_size.bin", "wb");
    ASSERT_NE(nullptr, f);
    std::fputs("abc", f);
    std::fclose(f);
    HANDLE h = CreateFileA("crc32_size.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    ULONGLONG size = 0;
    EXPECT_TRUE(CCrc32::GetFileSize64(h, size));
    EXPECT_EQ(3u, size);
    CloseHandle(h);
    std::remove("crc32_size.bin");

    size = 99;
    EXPECT_FALSE(CCrc32::GetFileSize64(INVALID_HANDLE_VALUE, size));
    EXPECT_EQ(0u, size);
}

// The file source folds runs of bytes, the text source one byte at a time: a 100-byte
// message split in two runs at every boundary gives the CRC of the whole text.
TEST(Crc32, RunsSplitAtEveryBoundary)
{
    char text[101];
    for (int i = 0; i < 100; ++i)
        text[i] = static_cast<char>(1 + ((static_cast<uint32_t>(i) * 2654435761u) >> 24) % 255);
    text[100] = '\0';
    DWORD whole = 0;
    ASSERT_EQ(CCrc32::kOk, CCrc32::StringCrc32(text, whole));
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
    for (size_t k = 0; k <= 100; ++k) {
        DWORD crc = 0xFFFFFFFFu;
        CCrc32::UpdateCrc32(bytes, k, crc);
        CCrc32::UpdateCrc32(bytes + k, 100 - k, crc);
        EXPECT_EQ(whole, ~crc) << "split at " << k;
    }
    EXPECT_EQ(whole, Crc32Of(bytes, 100)) << "one run";
    EXPECT_EQ(0xCBF43926u, Crc32Of("123456789", 9));
    EXPECT_EQ(0u, Crc32Of(bytes, 0));
}

// The byte stream in memory and file mode: growth, positions, reads past the end, attached
// handles, closed streams and sizes that would wrap.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "net/ByteStream.h"

namespace {

TEST(ByteStreamMemory, CapacityGrowsInSteps)
{
    struct
    {
        const char* label;
        int write;    // bytes written to a fresh stream first
        int reserve;  // then reserved
        int capacity; // what the stream has then
    } cases[] = {
        {"first 1-byte write", 1, 0, 4096},
        {"reserve 4097 after it", 1, 4097, 8192},
        {"reserve below the capacity", 1, 100, 4096},
        {"exactly one step", 4096, 0, 4096},
        {"one byte more", 4097, 0, 8192},
        {"reserve on an empty stream", 0, 10000, 12288},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CByteStream s;
        ASSERT_NE(nullptr, s.Open());
        EXPECT_EQ(0, s.GetCapacity());
        std::string bytes((size_t)c.write, 'x');
        if (c.write > 0) {
            EXPECT_EQ(1u, s.Write(bytes.data(), (size_t)c.write, 1));
        }
        if (c.reserve > 0) {
            EXPECT_EQ(0, s.Reserve((size_t)c.reserve));
        }
        EXPECT_EQ(c.capacity, s.GetCapacity());
        EXPECT_EQ(c.write, s.GetLength());
    }
}

TEST(ByteStreamMemory, PositionsReadsAndBytes)
{
    CByteStream s;
    ASSERT_NE(nullptr, s.Open());
    EXPECT_EQ(4u, s.Write("abcdefgh", 2, 4));
    EXPECT_EQ(8, s.Length());
    EXPECT_EQ(8, s.Tell());

    // A seek before the start fails and keeps the position.
    ASSERT_EQ(0, s.Seek(2, SEEK_SET));
    EXPECT_EQ(-1, s.Seek(-3, SEEK_CUR));
    EXPECT_EQ(2, s.Tell());
    EXPECT_EQ(-1, s.Seek(-9, SEEK_END));
    EXPECT_EQ(2, s.Tell());
    EXPECT_EQ(-1, s.Seek(0, 7)); // no such origin
    EXPECT_EQ(2, s.Tell());

    // Get-byte reads without moving.
    EXPECT_EQ('c', s.GetByte());
    EXPECT_EQ('c', s.GetByte());
    __int64 pos = -1;
    EXPECT_EQ(0, s.GetPos(&pos));
    EXPECT_EQ(2, pos);

    // A read copies what is left and returns whole items.
    char buffer[16] = {};
    EXPECT_EQ(0u, s.Read(buffer, 0, 5)); // nothing asked for
    EXPECT_EQ(0, s.Eof());
    EXPECT_EQ(1u, s.Read(buffer, 4, 2)); // 6 bytes left: one whole item of 4
    EXPECT_STREQ("cdefgh", buffer);
    EXPECT_EQ(8, s.Tell());
    EXPECT_EQ(1, s.Eof());
    EXPECT_EQ(-1, s.GetByte());
    EXPECT_EQ(0u, s.Read(buffer, 1, 1));

    // Put-byte appends like a write of one byte and returns the byte.
    EXPECT_EQ(0xFE, s.PutByte(0x1FE));
    EXPECT_EQ(9, s.Length());
    EXPECT_EQ(0, s.Flush());
}

TEST(ByteStreamMemory, WriteAfterSeekPastTheEndFillsTheGapWithZeros)
{
    CByteStream s;
    ASSERT_NE(nullptr, s.Open());
    ASSERT_EQ(0, s.Reserve(64));
    ASSERT_EQ(0, s.Seek(5, SEEK_SET));
    ASSERT_EQ(1u, s.Write("z", 1, 1));
    ASSERT_EQ(6, s.GetLength());
    const std::string bytes((const char*)s.GetData(), 6);
    EXPECT_EQ(std::string("\0\0\0\0\0z", 6), bytes);
}

TEST(ByteStreamMemory, SizesThatWouldWrapAreRefused)
{
    CByteStream s;
    ASSERT_NE(nullptr, s.Open());
    char b[4] = {};
    struct
    {
        const char* label;
        size_t size, count;
    } cases[] = {
        {"product wraps size_t", SIZE_MAX / 2 + 2, 2},
        {"product beyond the limit", 0x10000, 0x10000},
        {"just beyond the limit", (size_t)CByteStream::kMaxMemory + 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(0u, s.Write(b, c.size, c.count));
        EXPECT_EQ(0u, s.Read(b, c.size, c.count));
        EXPECT_EQ(0, s.GetLength());
        EXPECT_EQ(0, s.GetCapacity());
    }
    EXPECT_EQ(-1, s.Reserve((size_t)CByteStream::kMaxMemory + 1));
    // Position near the limit: a write that would pass it is refused.
    ASSERT_EQ(0, s.Seek(CByteStream::kMaxMemory - 1, SEEK_SET));
    EXPECT_EQ(0u, s.Write(b, 1, 4));
    EXPECT_EQ(-1, s.Seek(2, SEEK_CUR));
    // And the positive control: an ordinary write still works.
    ASSERT_EQ(0, s.Seek(0, SEEK_SET));
    EXPECT_EQ(4u, s.Write(b, 1, 4));
    EXPECT_EQ(4, s.GetLength());
}

TEST(ByteStreamModes, ClosedAttachedAndFileStreams)
{
    // A closed stream refuses everything.
    CByteStream closed;
    char b[4] = {};
    EXPECT_EQ(-1, closed.Close());
    EXPECT_EQ(0u, closed.Write("a", 1, 1));
    EXPECT_EQ(0u, closed.Read(b, 1, 1));
    EXPECT_EQ(-1, closed.Seek(0, SEEK_SET));
    EXPECT_EQ(-1, closed.Tell());
    EXPECT_EQ(-1, closed.Length());
    EXPECT_EQ(-1, closed.GetByte());
    EXPECT_EQ(-1, closed.PutByte('a'));
    EXPECT_EQ(-1, closed.Reserve(10));

    // An attached buffer: read in place, Close refused, never grown.
    char owned[4] = {'w', 'x', 'y', 'z'};
    {
        CByteStream attached(owned, 4);
        EXPECT_EQ(4, attached.GetLength());
        EXPECT_EQ(4, attached.GetCapacity());
        EXPECT_EQ('w', attached.GetByte());
        EXPECT_EQ(1u, attached.Write("W", 1, 1));
        EXPECT_EQ(0u, attached.Write("abcd", 1, 4)); // would need a larger buffer
        EXPECT_EQ(-1, attached.Close());
        EXPECT_EQ(owned, (const char*)attached.GetData());
    }
    EXPECT_EQ('W', owned[0]);

    // File mode: what was written reads back.
    char path[MAX_PATH];
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "bs", 0, path);
    {
        CByteStream f(CByteStream::kFileStream);
        EXPECT_EQ(nullptr, f.Open(nullptr, "wb"));
        void* handle = f.Open(path, "wb");
        ASSERT_NE(nullptr, handle);
        EXPECT_EQ(handle, f.Open(path, "wb")); // an open stream returns its handle
        EXPECT_EQ(2u, f.Write("hello!", 3, 2));
        EXPECT_EQ('!', f.PutByte('!'));
        EXPECT_EQ(7, f.Length());
        EXPECT_EQ(0, f.Close());
    }
    {
        CByteStream f(CByteStream::kFileStream);
        ASSERT_NE(nullptr, f.Open(path, "rb"));
        EXPECT_EQ(7, f.Length());
        EXPECT_EQ('h', f.GetByte());
        char text[8] = {};
        EXPECT_EQ(6u, f.Read(text, 1, 7)); // six after the byte read
        EXPECT_STREQ("ello!!", text);
        EXPECT_NE(0, f.Eof());
        __int64 pos = 0;
        EXPECT_EQ(0, f.GetPos(&pos));
        EXPECT_EQ(7, pos);
    }
    // A file stream handed in is the caller's to close.
    FILE* file = std::fopen(path, "rb");
    ASSERT_NE(nullptr, file);
    {
        CByteStream f(file);
        EXPECT_EQ(-1, f.Close());
        EXPECT_EQ('h', f.GetByte());
    }
    EXPECT_EQ('e', std::fgetc(file)); // still open after the stream went
    std::fclose(file);
    DeleteFileA(path);
}

} // namespace

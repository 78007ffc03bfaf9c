// Files: text-mode line reading and writing, open errors, the archive's string form.
#include "fw/fw.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string Bytes(const char* path)
{
    std::string out;
    FILE* f = fopen(path, "rb");
    if (!f)
        return "<missing>";
    int c;
    while ((c = fgetc(f)) != EOF)
        out += (char)c;
    fclose(f);
    return out;
}

void Put(const char* path, const std::string& bytes)
{
    FILE* f = fopen(path, "wb");
    ASSERT_NE(nullptr, f);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

std::vector<std::string> ReadLines(const char* path)
{
    std::vector<std::string> lines;
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeText))
        return {"<cannot open>"};
    CString line;
    while (file.ReadString(line))
        lines.push_back((LPCTSTR)line);
    file.Close();
    return lines;
}

TEST(CStdioFile, LineEndsReadAlike)
{
    const std::vector<std::string> want = {"0,0,0", "", "255,255,255", "last"};
    struct
    {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"CR LF", "0,0,0\r\n\r\n255,255,255\r\nlast\r\n"},
        {"LF only", "0,0,0\n\n255,255,255\nlast\n"},
        {"no final line end", "0,0,0\r\n\r\n255,255,255\r\nlast"},
        {"mixed", "0,0,0\n\r\n255,255,255\r\nlast"},
    };
    for (auto& c : cases) {
        Put("fwt_lines.txt", c.bytes);
        EXPECT_EQ(want, ReadLines("fwt_lines.txt")) << c.name;
    }
    Put("fwt_lines.txt", "");
    EXPECT_TRUE(ReadLines("fwt_lines.txt").empty());
    Put("fwt_lines.txt", "\r\n");
    EXPECT_EQ(std::vector<std::string>{""}, ReadLines("fwt_lines.txt"));
    DeleteFileA("fwt_lines.txt");
}

TEST(CStdioFile, LongLinesAndBufferReads)
{
    std::string longLine(1000, 'k');
    Put("fwt_long.txt", longLine + "\r\nshort\r\n");
    EXPECT_EQ((std::vector<std::string>{longLine, "short"}), ReadLines("fwt_long.txt"));

    CStdioFile file("fwt_long.txt", CFile::modeRead | CFile::typeText);
    char buffer[8];
    ASSERT_NE(nullptr, file.ReadString(buffer, sizeof buffer));
    EXPECT_STREQ("kkkkkkk", buffer); // at most 7 characters and the terminator
    file.Close();
    DeleteFileA("fwt_long.txt");
}

TEST(CStdioFile, WritesCrLfAndAppendsAfterReading)
{
    {
        CStdioFile out("fwt_swatches.txt", CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        out.WriteString("1,2,3\n");
        out.WriteString("4,5,6\n");
        out.Close();
    }
    EXPECT_EQ("1,2,3\r\n4,5,6\r\n", Bytes("fwt_swatches.txt"));

    // Read every line, then seek to the end and add one, as the swatch panels do.
    CStdioFile file;
    ASSERT_TRUE(file.Open("fwt_swatches.txt", CFile::modeReadWrite | CFile::typeText));
    CString line;
    int count = 0;
    while (file.ReadString(line))
        ++count;
    EXPECT_EQ(2, count);
    file.SeekToEnd();
    file.WriteString("7,8,9\n");
    file.Close();
    EXPECT_EQ("1,2,3\r\n4,5,6\r\n7,8,9\r\n", Bytes("fwt_swatches.txt"));

    // Binary mode keeps the bytes.
    CStdioFile raw("fwt_swatches.txt", CFile::modeWrite | CFile::modeCreate | CFile::typeBinary);
    raw.WriteString("a\nb");
    raw.Close();
    EXPECT_EQ("a\nb", Bytes("fwt_swatches.txt"));
    DeleteFileA("fwt_swatches.txt");
}

TEST(CFile, OpenFailuresTable)
{
    CreateDirectoryA("fwt_locked", NULL);
    struct
    {
        const char* path;
        UINT flags;
        int cause;
    } cases[] = {
        {"fwt_missing.bin", CFile::modeRead, CFileException::fileNotFound},
        {"no\\such\\folder\\x.bin", CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
        {"fwt_locked", CFile::modeRead, CFileException::accessDenied},
    };
    for (auto& c : cases) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(c.path, c.flags, &error)) << c.path;
        EXPECT_EQ(c.cause, error.m_cause) << c.path;
        EXPECT_STREQ(c.path, error.m_strFileName);
        char message[256];
        EXPECT_TRUE(error.GetErrorMessage(message, sizeof message));
        EXPECT_NE(nullptr, strstr(message, c.path)) << message;

        // The throwing constructors report the same, by pointer.
        int caught = -1;
        try {
            CStdioFile thrown(c.path, c.flags | CFile::typeText);
        } catch (CFileException* e) {
            caught = e->m_cause;
            e->Delete();
        }
        EXPECT_EQ(c.cause, caught) << c.path;
    }
    RemoveDirectoryA("fwt_locked");
    // Opening without modeCreate never makes the file.
    CStdioFile text;
    EXPECT_FALSE(text.Open("fwt_missing.txt", CFile::modeReadWrite | CFile::typeText));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("fwt_missing.txt"));
}

TEST(CFile, ReadWriteSeekLength)
{
    CFile file("fwt_data.bin", CFile::modeCreate | CFile::modeReadWrite);
    EXPECT_STREQ("fwt_data.bin", file.GetFileName());
    EXPECT_STREQ("fwt_data", file.GetFileTitle());
    file.Write("0123456789", 10);
    EXPECT_EQ(10u, file.GetLength());
    EXPECT_EQ(10u, file.GetPosition());
    EXPECT_EQ(4u, file.Seek(4, CFile::begin));
    char buffer[16] = {};
    EXPECT_EQ(3u, file.Read(buffer, 3));
    EXPECT_STREQ("456", buffer);
    EXPECT_EQ(8u, file.Seek(-2, CFile::end));
    EXPECT_EQ(2u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));
    file.SetLength(3);
    EXPECT_EQ(3u, file.GetLength());
    int caught = -1;
    try {
        file.Seek(-100, CFile::begin);
    } catch (CFileException* e) {
        caught = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CFileException::badSeek, caught);
    file.Close();
    CFile::Remove("fwt_data.bin");
    caught = -1;
    try {
        CFile::Remove("fwt_data.bin");
    } catch (CFileException* e) {
        caught = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CFileException::fileNotFound, caught);
}

TEST(CArchive, StringFormAndUntrustedLength)
{
    {
        CFile file("fwt_archive.bin", CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << CString("CAKEDATA=3") << CString() << CString(CString('x', 300)) << (DWORD)0x01020304;
    }
    std::string bytes = Bytes("fwt_archive.bin");
    std::string want;
    want += '\x0A'; // length 10 in one byte
    want += "CAKEDATA=3";
    want += '\x00';         // empty string
    want += "\xFF\x2C\x01"; // 0xFF marker, then 300 as a 16-bit length
    want += std::string(300, 'x');
    want += "\x04\x03\x02\x01"; // DWORD, little-endian
    EXPECT_EQ(want, bytes);

    {
        CFile file("fwt_archive.bin", CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        CString a, b, c;
        DWORD d = 0;
        ar >> a >> b >> c >> d;
        EXPECT_STREQ("CAKEDATA=3", a);
        EXPECT_TRUE(b.IsEmpty());
        EXPECT_EQ(300, c.GetLength());
        EXPECT_EQ(0x01020304u, d);
    }

    // A length read from the file larger than what follows is an error, not a huge buffer.
    Put("fwt_archive.bin", std::string("\xFF\xFF\xFF\x00\x00\x00\x7F"
                                       "abc",
                                       10));
    int caught = -1;
    {
        CFile file("fwt_archive.bin", CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        CString s;
        try {
            ar >> s;
        } catch (CArchiveException* e) {
            caught = e->m_cause;
            e->Delete();
        }
    }
    EXPECT_EQ(CArchiveException::endOfFile, caught);
    DeleteFileA("fwt_archive.bin");
}

} // namespace

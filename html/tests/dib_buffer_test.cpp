// The DIB buffer: block sizes, palette and pixel writes at every depth, drawing to a memory
// DC, and the BMP file it writes.
#include "html/DibBuffer.h"
#include "testsupport/DibSurface.h"
#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

TEST(DibBuffer, BlockSizesByDepth)
{
    struct Case
    {
        int width, height, bits;
        int stride, colours, total;
    } cases[] = {
        // total = 40 + 4 x colours + stride x height
        {10, 3, 8, 12, 256, 40 + 1024 + 36}, {10, 3, 1, 4, 2, 40 + 8 + 12}, {33, 2, 1, 8, 2, 40 + 8 + 16},
        {9, 2, 4, 8, 16, 40 + 64 + 16},      {5, 3, 24, 16, 0, 40 + 48},    {3, 1, 32, 12, 0, 40 + 12},
    };
    for (const Case& c : cases) {
        CPPDibBuffer dib;
        LPBYTE block = dib.Create(c.width, c.height, c.bits);
        ASSERT_NE(nullptr, block) << c.bits << " bits";
        EXPECT_EQ(c.stride, dib.GetStride()) << c.bits << " bits, width " << c.width;
        EXPECT_EQ(c.colours, dib.GetColorCount()) << c.bits << " bits";
        EXPECT_EQ((DWORD)c.total, dib.GetTotalSize()) << c.bits << " bits";
        EXPECT_EQ(block + 40 + 4 * c.colours, dib.GetBits());
        const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
        EXPECT_EQ(40u, header->biSize);
        EXPECT_EQ(c.width, header->biWidth);
        EXPECT_EQ(c.height, header->biHeight); // bottom-up
        EXPECT_EQ(1, header->biPlanes);
        EXPECT_EQ(c.bits, header->biBitCount);
        EXPECT_EQ((DWORD)BI_RGB, header->biCompression);
        EXPECT_EQ((DWORD)(c.stride * c.height), header->biSizeImage);
        EXPECT_EQ(0u, header->biClrUsed);
    }
}

TEST(DibBuffer, RefusedSizesLeaveItEmpty)
{
    CPPDibBuffer dib;
    ASSERT_NE(nullptr, dib.Create(4, 4, 8));
    const int bad[][3] = {{0, 4, 8}, {4, 0, 8}, {-1, 4, 8}, {4, 4, 7}, {4, 4, 0}, {0x7FFFFFFF, 0x7FFFFFFF, 32}};
    for (const auto& b : bad) {
        EXPECT_EQ(nullptr, dib.Create(b[0], b[1], b[2])) << b[0] << "x" << b[1] << "x" << b[2];
        EXPECT_EQ(nullptr, dib.GetBits());
        EXPECT_EQ(0u, dib.GetTotalSize());
        // Nothing to write to: these must do nothing.
        dib.SetPixelIndex(0, 0, 1);
        dib.SetPaletteIndex(0, 1, 2, 3);
        dib.BlendPalette(RGB(1, 2, 3), 50);
        dib.Clear(7);
        EXPECT_FALSE(dib.WriteBmp("never.bmp"));
    }
}

// Each write lands on its bit, nibble or byte and nowhere else, also at the last column of
// the last row in memory.
TEST(DibBuffer, SetPixelIndexWritesOnlyItsPixel)
{
    struct Case
    {
        int width, height, bits, x, y, index;
        int byte;   // offset in the pixel block
        BYTE value; // of that byte afterwards, every other byte staying 0
    } cases[] = {
        {40, 2, 1, 39, 0, 1, 8 + 4, 0x01}, // top row is the last in memory; stride 8
        {40, 2, 1, 0, 1, 1, 0, 0x80},      // bottom row first in memory
        {40, 2, 1, 9, 1, 3, 1, 0x40},      // only the index's low bit counts
        {9, 2, 4, 8, 0, 0xA, 8 + 4, 0xA0}, // even x: high nibble; stride 8
        {9, 2, 4, 7, 0, 0x5, 8 + 3, 0x05}, // odd x: low nibble
        {9, 2, 4, 1, 1, 0x1F, 0, 0x0F},    // the nibble only
        {5, 3, 8, 4, 0, 200, 2 * 8 + 4, 200}, {5, 3, 8, 0, 2, 9, 0, 9},
    };
    for (const Case& c : cases) {
        CPPDibBuffer dib;
        ASSERT_NE(nullptr, dib.Create(c.width, c.height, c.bits));
        dib.Clear(0);
        dib.SetPixelIndex(c.x, c.y, (BYTE)c.index);
        const LPBYTE bits = dib.GetBits();
        const int size = dib.GetStride() * c.height;
        for (int i = 0; i < size; ++i)
            EXPECT_EQ(i == c.byte ? c.value : 0, bits[i])
                << c.bits << " bits, pixel " << c.x << "," << c.y << ", byte " << i;
    }
}

TEST(DibBuffer, SetPixelIndexKeepsNeighboursAndIgnoresOutside)
{
    CPPDibBuffer dib;
    ASSERT_NE(nullptr, dib.Create(8, 1, 1));
    dib.Clear(0xFF);
    dib.SetPixelIndex(3, 0, 0);
    EXPECT_EQ(0xEF, dib.GetBits()[0]);
    ASSERT_NE(nullptr, dib.Create(4, 1, 4));
    dib.Clear(0x77);
    dib.SetPixelIndex(2, 0, 0xC);
    EXPECT_EQ(0x77, dib.GetBits()[0]);
    EXPECT_EQ(0xC7, dib.GetBits()[1]);

    ASSERT_NE(nullptr, dib.Create(3, 2, 8));
    dib.Clear(0);
    const int outside[][2] = {{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {1000, 1000}};
    for (const auto& p : outside)
        dib.SetPixelIndex(p[0], p[1], 9);
    for (int i = 0; i < dib.GetStride() * 2; ++i)
        EXPECT_EQ(0, dib.GetBits()[i]) << "byte " << i;

    // No palette at 24 bits: pixel and palette writes do nothing.
    ASSERT_NE(nullptr, dib.Create(2, 2, 24));
    dib.Clear(0x11);
    dib.SetPixelIndex(0, 0, 5);
    dib.SetPaletteIndex(0, 1, 2, 3);
    for (DWORD i = 0; i < dib.GetTotalSize() - 40; ++i)
        EXPECT_EQ(0x11, dib.GetBits()[i]) << "byte " << i;
}

TEST(DibBuffer, PaletteEntriesAndBlends)
{
    CPPDibBuffer dib;
    ASSERT_NE(nullptr, dib.Create(2, 2, 4));
    const RGBQUAD* palette = reinterpret_cast<const RGBQUAD*>(dib.GetBits() - dib.GetPaletteSize());
    for (int i = 0; i < 16; ++i)
        dib.SetPaletteIndex((BYTE)i, (BYTE)(i * 10), (BYTE)(i * 5), (BYTE)(200 - i));
    dib.SetPaletteIndex(16, 9, 9, 9); // beyond the 16 entries: ignored
    EXPECT_EQ(50, palette[5].rgbRed);
    EXPECT_EQ(25, palette[5].rgbGreen);
    EXPECT_EQ(195, palette[5].rgbBlue);
    EXPECT_EQ(0, palette[5].rgbReserved);

    dib.BlendPalette(RGB(255, 255, 255), 0);
    EXPECT_EQ(50, palette[5].rgbRed);
    dib.BlendPalette(RGB(100, 0, 255), 50); // (channel x 50 + colour x 50) / 100
    EXPECT_EQ(75, palette[5].rgbRed);
    EXPECT_EQ(12, palette[5].rgbGreen);
    EXPECT_EQ(225, palette[5].rgbBlue);
    dib.BlendPalette(RGB(1, 2, 3), 250); // clamped to 100
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(1, palette[i].rgbRed) << i;
        EXPECT_EQ(2, palette[i].rgbGreen) << i;
        EXPECT_EQ(3, palette[i].rgbBlue) << i;
    }

    dib.SetGrayPalette();
    EXPECT_EQ(0, palette[0].rgbRed);
    EXPECT_EQ(7, palette[7].rgbGreen);
    EXPECT_EQ(255, palette[15].rgbBlue);
}

// The palette and pixels the drawing and file tests share: a 5 x 3 image (odd width, so
// rows are padded) whose pixel (x, y) counted from the top has the index (x + 3y) mod the
// colour count; at 24 bits the colour (50x, 100y, 200).
COLORREF PatternColour(int bits, int x, int y)
{
    if (bits == 24)
        return RGB(50 * x, 100 * y, 200);
    const int colours = 1 << bits;
    const int i = (x + 3 * y) % colours;
    return RGB((i * 40 + 10) % 256, 255 - (i * 20) % 256, (i * 7 + 3) % 256);
}

void MakePattern(CPPDibBuffer& dib, int bits)
{
    ASSERT_NE(nullptr, dib.Create(5, 3, bits));
    dib.Clear(0);
    if (bits == 24) {
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const COLORREF c = PatternColour(24, x, y);
                LPBYTE p = dib.GetBits() + (2 - y) * dib.GetStride() + 3 * x;
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
            }
        return;
    }
    const int colours = 1 << bits;
    for (int i = 0; i < colours; ++i) {
        const COLORREF c = PatternColour(bits, i, 0);
        dib.SetPaletteIndex((BYTE)i, GetRValue(c), GetGValue(c), GetBValue(c));
    }
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            dib.SetPixelIndex(x, y, (BYTE)((x + 3 * y) % colours));
}

TEST(DibBuffer, DrawsEveryDepthPixelForPixel)
{
    for (int bits : {1, 4, 8, 24}) {
        CPPDibBuffer dib;
        MakePattern(dib, bits);
        DibSurface surface(8, 5, RGB(1, 2, 3));
        dib.Draw(surface.Hdc(), 2, 1);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= 2 && x < 7 && y >= 1 && y < 4;
                EXPECT_EQ(inside ? PatternColour(bits, x - 2, y - 1) : RGB(1, 2, 3), surface.At(x, y))
                    << bits << " bits, pixel " << x << "," << y;
            }
    }
}

// The section made at the first Draw follows later palette and pixel changes.
TEST(DibBuffer, DrawAgainShowsNewPaletteAndPixels)
{
    CPPDibBuffer dib;
    ASSERT_NE(nullptr, dib.Create(2, 1, 8));
    dib.SetPaletteIndex(0, 255, 0, 0);
    dib.SetPaletteIndex(1, 0, 0, 255);
    dib.Clear(0);
    DibSurface surface(2, 1, RGB(255, 255, 255));
    dib.Draw(surface.Hdc(), 0, 0);
    EXPECT_EQ(RGB(255, 0, 0), surface.At(1, 0));
    dib.SetPixelIndex(1, 0, 1);
    dib.BlendPalette(RGB(0, 255, 0), 100);
    dib.SetPaletteIndex(1, 0, 0, 255);
    dib.Draw(surface.Hdc(), 0, 0);
    EXPECT_EQ(RGB(0, 255, 0), surface.At(0, 0));
    EXPECT_EQ(RGB(0, 0, 255), surface.At(1, 0));
}

TEST(DibBuffer, GrabFromAndCopyFrom)
{
    DibSurface surface(4, 2, RGB(10, 20, 30));
    surface.Set(3, 1, RGB(200, 100, 50));
    CPPDibBuffer dib;
    ASSERT_NE(nullptr, dib.Create(2, 2, 24));
    dib.Clear(0);
    dib.GrabFrom(surface.Hdc(), 2, 0);
    // Bottom-up: the grabbed pixel (1, 1) is the first row in memory.
    const LPBYTE p = dib.GetBits() + 3;
    EXPECT_EQ(50, p[0]);
    EXPECT_EQ(100, p[1]);
    EXPECT_EQ(200, p[2]);

    CPPDibBuffer copy;
    ASSERT_TRUE(copy.CopyFrom(dib));
    ASSERT_EQ(dib.GetTotalSize(), copy.GetTotalSize());
    EXPECT_EQ(0, memcmp(dib.GetBits() - 40, copy.GetBits() - 40, dib.GetTotalSize()));
    CPPDibBuffer empty;
    EXPECT_FALSE(copy.CopyFrom(empty));
    EXPECT_EQ(nullptr, copy.GetBits());
}

CString TempPath(LPCTSTR name)
{
    char folder[MAX_PATH];
    ::GetTempPath(MAX_PATH, folder);
    return CString(folder) + name;
}

// The file is "BM", the file size, two zero words, the pixel offset, then the block.
TEST(DibBuffer, WriteBmpFileHeaderAndBlock)
{
    for (int bits : {1, 4, 8, 24}) {
        CPPDibBuffer dib;
        MakePattern(dib, bits);
        const CString path = TempPath("sl_dib_header.bmp");
        ASSERT_TRUE(dib.WriteBmp(path)) << bits;
        FILE* f = fopen(path, "rb");
        ASSERT_NE(nullptr, f);
        std::vector<BYTE> file(14 + dib.GetTotalSize() + 1);
        const size_t read = fread(file.data(), 1, file.size(), f);
        fclose(f);
        ::DeleteFile(path);
        ASSERT_EQ(14 + dib.GetTotalSize(), read) << bits;
        auto dword = [&](int at) {
            return (DWORD)(file[at] | file[at + 1] << 8 | file[at + 2] << 16 | file[at + 3] << 24);
        };
        EXPECT_EQ('B', file[0]);
        EXPECT_EQ('M', file[1]);
        EXPECT_EQ(14 + dib.GetTotalSize(), dword(2)) << "file size";
        EXPECT_EQ(0u, dword(6)) << "reserved words";
        EXPECT_EQ(14 + 40 + dib.GetPaletteSize(), dword(10)) << "pixel offset";
        EXPECT_EQ(0, memcmp(file.data() + 14, dib.GetBits() - 40 - dib.GetPaletteSize(), dib.GetTotalSize()));
    }
    CPPDibBuffer dib;
    ASSERT_NE(nullptr, dib.Create(1, 1, 8));
    EXPECT_FALSE(dib.WriteBmp(""));
    EXPECT_FALSE(dib.WriteBmp(nullptr));
    EXPECT_FALSE(dib.WriteBmp("Q:\\no\\such\\folder\\x.bmp"));
}

// Writes the pattern files that an independent reader checks pixel by pixel: into the
// folder the read-back script names (html/tests/scripts/bmp_readback.sh), else the temp folder.
TEST(DibBuffer, WriteBmpForIndependentReader)
{
    const char* named = getenv("SL_HTML_BMP_DIR");
    const CString folder = named ? CString(named) : TempPath("").Left(TempPath("").GetLength() - 1);
    for (int bits : {1, 4, 8, 24}) {
        CPPDibBuffer dib;
        MakePattern(dib, bits);
        CString path;
        path.Format("%s\\pattern%d.bmp", (LPCTSTR)folder, bits);
        EXPECT_TRUE(dib.WriteBmp(path)) << (LPCTSTR)path;
        const DWORD attributes = ::GetFileAttributes(path);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes) << (LPCTSTR)path;
        if (!named)
            ::DeleteFile(path);
    }
}

} // namespace

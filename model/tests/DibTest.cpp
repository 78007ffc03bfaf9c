#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "model/gfx/Dib.h"

namespace {

TEST(Dib, Stride)
{
    const struct
    {
        int width, bitCount, stride;
    } cases[] = {{3, 24, 12}, {33, 1, 8}, {32, 1, 4}, {1, 1, 4},  {5, 8, 8},
                 {8, 4, 4},   {9, 4, 8},  {1, 32, 4}, {4, 24, 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.stride, CDib::StrideFor(c.width, c.bitCount)) << c.width << "x" << c.bitCount;
        CDib dib;
        ASSERT_TRUE(dib.Create(c.width, 2, c.bitCount));
        EXPECT_EQ(c.stride, dib.GetStride());
    }
}

TEST(Dib, RowZeroIsTheTopRow)
{
    CDib up;
    ASSERT_TRUE(up.Create(3, 4, 24));
    EXPECT_EQ(up.GetBits() + 3 * 12, up.GetRow(0)); // stored last, bottom-up
    EXPECT_EQ(up.GetBits(), up.GetRow(3));
    EXPECT_TRUE(up.GetRow(4) == NULL);
    EXPECT_TRUE(up.GetRow(-1) == NULL);

    CDib down;
    ASSERT_TRUE(down.Create(3, -4, 24)); // a top-down image stores row 0 first
    EXPECT_EQ(4, down.GetHeight());
    EXPECT_EQ(down.GetBits(), down.GetRow(0));
}

// A packed 8-bit bitmap of 3 x 2 pixels: header, palette, two rows of 4 bytes (bottom row
// first).
std::vector<BYTE> Packed8(LONG width = 3, LONG height = 2, WORD bitCount = 8, DWORD compression = BI_RGB,
                          DWORD clrUsed = 0)
{
    BITMAPINFOHEADER h = {};
    h.biSize = 40;       // header size
    h.biWidth = width;   // pixels
    h.biHeight = height; // positive: bottom-up
    h.biPlanes = 1;
    h.biBitCount = bitCount;
    h.biCompression = compression;
    h.biClrUsed = clrUsed; // 0: as many colours as the depth allows
    const int colours = clrUsed ? (int)clrUsed : (bitCount <= 8 ? 1 << bitCount : 0);
    std::vector<BYTE> out((BYTE*)&h, (BYTE*)&h + sizeof(h));
    for (int i = 0; i < colours; ++i) {
        const BYTE q[4] = {(BYTE)i, (BYTE)(i + 1), (BYTE)(i + 2), 0}; // blue, green, red
        out.insert(out.end(), q, q + 4);
    }
    const BYTE rows[] = {
        7, 8, 9, 0, // bottom row, padded to 4
        1, 2, 3, 0, // top row
    };
    out.insert(out.end(), rows, rows + sizeof(rows));
    return out;
}

HGLOBAL ToGlobal(const std::vector<BYTE>& bytes)
{
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(GlobalLock(g), bytes.data(), bytes.size());
    GlobalUnlock(g);
    return g;
}

TEST(Dib, PackedBitmap)
{
    HGLOBAL g = ToGlobal(Packed8());
    CDib dib(g);
    ASSERT_TRUE(dib.IsValid());
    EXPECT_EQ(3, dib.GetWidth());
    EXPECT_EQ(2, dib.GetHeight());
    EXPECT_EQ(1, dib.GetPixelIndex(0, 0));
    EXPECT_EQ(3, dib.GetPixelIndex(2, 0));
    EXPECT_EQ(9, dib.GetPixelIndex(2, 1));
    EXPECT_EQ(RGB(7, 6, 5), dib.GetPaletteColour(5));
    GlobalFree(g);

    // Packed again and read back.
    HGLOBAL copy = dib.CopyToGlobal();
    ASSERT_TRUE(copy != NULL);
    CDib again;
    EXPECT_TRUE(again.CreateFromPacked(copy));
    EXPECT_EQ(9, again.GetPixelIndex(2, 1));
    GlobalFree(copy);
}

TEST(Dib, PackedBitmapsRefused)
{
    std::vector<BYTE> shortBlock = Packed8();
    shortBlock.pop_back(); // one byte of the last row missing
    std::vector<BYTE> shortPalette = Packed8(3, 2, 8, BI_RGB, 0);
    shortPalette.resize(40 + 100);
    std::vector<BYTE> tinyHeader = Packed8();
    reinterpret_cast<BITMAPINFOHEADER*>(tinyHeader.data())->biSize = 12;
    std::vector<BYTE> headerOnly = Packed8();
    headerOnly.resize(40);
    const struct
    {
        const char* what;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"run-length encoded", Packed8(3, 2, 8, BI_RLE8)},
        {"bit fields", Packed8(3, 2, 16, BI_BITFIELDS)},
        {"16 bits", Packed8(3, 2, 16)},
        {"32 bits", Packed8(1, 2, 32)},
        {"2 bits", Packed8(3, 2, 2)},
        {"short block", shortBlock},
        {"short palette", shortPalette},
        {"header of 12 bytes", tinyHeader},
        {"width 0", Packed8(0, 2)},
        {"negative width", Packed8(-3, 2)},
        {"height 0", Packed8(3, 0)},
        {"absurd size", Packed8(60000, 60000)},
        {"absurd width", Packed8(0x7FFFFFFF, 1)},
        {"header only", headerOnly},
    };
    for (const auto& c : cases) {
        HGLOBAL g = ToGlobal(c.bytes);
        CDib dib;
        ASSERT_TRUE(dib.Create(2, 2, 8));
        EXPECT_FALSE(dib.CreateFromPacked(g)) << c.what;
        EXPECT_FALSE(dib.IsValid()) << c.what;
        GlobalFree(g);
    }
}

TEST(Dib, PackedBitmapsAccepted)
{
    // 24 bits: no palette, rows of 9 bytes padded to 12.
    std::vector<BYTE> rgb = Packed8(3, 2, 24);
    rgb.resize(40 + 24);
    CDib dib;
    HGLOBAL g = ToGlobal(rgb);
    EXPECT_TRUE(dib.CreateFromPacked(g));
    GlobalFree(g);

    // A short colour table (biClrUsed 2): the rest of the table is black.
    g = ToGlobal(Packed8(3, 2, 8, BI_RGB, 2));
    EXPECT_TRUE(dib.CreateFromPacked(g));
    EXPECT_EQ(RGB(3, 2, 1), dib.GetPaletteColour(1));
    EXPECT_EQ(RGB(0, 0, 0), dib.GetPaletteColour(2));
    EXPECT_EQ(1, dib.GetPixelIndex(0, 0));
    GlobalFree(g);

    // Top-down: the first stored row is the top row.
    g = ToGlobal(Packed8(3, -2));
    EXPECT_TRUE(dib.CreateFromPacked(g));
    EXPECT_EQ(7, dib.GetPixelIndex(0, 0));
    GlobalFree(g);
}

TEST(Dib, Pixels)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(2, 2, 24));
    dib.Fill(RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), dib.GetPixel24(1, 1));
    dib.SetPixel24(0, 0, RGB(1, 2, 3));
    EXPECT_EQ(3, dib.GetRow(0)[0]); // blue first
    EXPECT_EQ(1, dib.GetRow(0)[2]);
    EXPECT_EQ(0u, dib.GetPixel24(2, 0));
    dib.SetPixel24(-1, 0, RGB(9, 9, 9)); // nothing outside
    dib.CopyRow(0, 1);
    EXPECT_EQ(RGB(1, 2, 3), dib.GetPixel24(0, 1));

    CDib indexed;
    ASSERT_TRUE(indexed.Create(3, 2, 8));
    indexed.Fill(4);
    indexed.SetPixelIndex(1, 1, 9);
    EXPECT_EQ(2, indexed.CountUsedColours());
    indexed.ReplaceIndex(4, 9);
    EXPECT_EQ(1, indexed.CountUsedColours());
    EXPECT_EQ(0, indexed.GetPixelIndex(3, 0));

    indexed.SetMapping(2.0, true);
    const BYTE triples[256 * 3] = {255, 128, 0};
    indexed.SetPaletteFromRGB(triples);
    EXPECT_EQ(RGB(255, 64, 0), indexed.GetPaletteColour(0)); // 128 -> trunc(0.2519 x 255 + .5)
}

TEST(Dib, CopiesOfEveryDepth)
{
    const struct
    {
        int width, height, bitCount;
    } cases[] = {{3, 2, 1}, {3, 2, 4}, {3, 2, 8}, {3, -2, 24}, {3, 2, 16}, {3, 2, 32}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bitCount << " bits, height " << c.height);
        CDib source;
        ASSERT_TRUE(source.Create(c.width, c.height, c.bitCount));
        BYTE* row = source.GetRow(1);
        for (int k = 0; k < source.GetStride(); ++k)
            row[k] = (BYTE)(0x10 + k);
        if (c.bitCount <= 8) {
            RGBQUAD colours[256] = {};
            colours[1].rgbRed = 200;
            source.SetPalette(colours);
        }
        CDib copy;
        ASSERT_TRUE(copy.Create(5, 5, 8)); // replaced by the copy
        ASSERT_TRUE(copy.CopyFrom(source));
        EXPECT_EQ(3, copy.GetWidth());
        EXPECT_EQ(2, copy.GetHeight());
        ASSERT_EQ(source.GetStride(), copy.GetStride());
        EXPECT_EQ(0, memcmp(source.GetRow(1), copy.GetRow(1), copy.GetStride()));
        EXPECT_NE(source.GetRow(1), copy.GetRow(1)); // bits of its own
        if (c.bitCount <= 8) {
            EXPECT_EQ(RGB(200, 0, 0), copy.GetPaletteColour(1));
        }
    }
    CDib empty, target;
    ASSERT_TRUE(target.Create(2, 2, 8));
    EXPECT_FALSE(target.CopyFrom(empty));
    EXPECT_FALSE(target.IsValid());
}

TEST(Dib, BmpFiles)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2, 8));
    dib.SetPixelIndex(2, 0, 200);
    EXPECT_FALSE(dib.SaveBmp("dib_none.bmp", true));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("dib_none.bmp"));
    ASSERT_TRUE(dib.SaveBmp("dib.bmp"));

    // 14-byte file header: "BM", file size, two reserved words, offset of the rows.
    HANDLE f = CreateFileA("dib.bmp", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    std::vector<BYTE> bytes(GetFileSize(f, NULL));
    DWORD done = 0;
    ReadFile(f, bytes.data(), (DWORD)bytes.size(), &done, NULL);
    CloseHandle(f);
    ASSERT_EQ(14u + 40 + 1024 + 8, bytes.size());
    EXPECT_EQ('B', bytes[0]);
    EXPECT_EQ('M', bytes[1]);
    EXPECT_EQ(bytes.size(), *(DWORD*)&bytes[2]);
    EXPECT_EQ(14u + 40 + 1024, *(DWORD*)&bytes[10]);

    CDib back;
    ASSERT_TRUE(back.LoadBmp("dib.bmp"));
    EXPECT_EQ(200, back.GetPixelIndex(2, 0));

    // Damaged copies.
    const struct
    {
        const char* what;
        size_t keep; // bytes kept
        int offset;  // byte to change, -1 none
        BYTE value;
    } damaged[] = {{"truncated", bytes.size() - 1, -1, 0},
                   {"no mark", bytes.size(), 0, 'X'},
                   {"rows beyond the end", bytes.size(), 11, 0x40},
                   {"header only", 14 + 40, -1, 0}};
    for (const auto& d : damaged) {
        std::vector<BYTE> b(bytes.begin(), bytes.begin() + d.keep);
        if (d.offset >= 0)
            b[d.offset] = d.value;
        HANDLE w = CreateFileA("dib_bad.bmp", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ::WriteFile(w, b.data(), (DWORD)b.size(), &done, NULL);
        CloseHandle(w);
        EXPECT_FALSE(back.LoadBmp("dib_bad.bmp")) << d.what;
    }
    EXPECT_FALSE(back.LoadBmp("dib_missing.bmp"));
}

TEST(Dib, DeviceDependentCopy)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(2, 2, 24));
    dib.Fill(RGB(255, 255, 255));
    dib.SetPixel24(1, 0, RGB(0, 0, 0));
    HDC screen = GetDC(NULL);
    CBitmap* bitmap = dib.CreateBitmap(screen);
    ASSERT_TRUE(bitmap != NULL);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, (HBITMAP)*bitmap);
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(mem, 0, 0));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(mem, 1, 0));
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);
    delete bitmap;
}

} // namespace

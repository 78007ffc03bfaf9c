// Replacing a slot's image layer from a file, and the image encoders: a file that cannot be
// read keeps the old layer object; PNG and JPEG writes decode back at the source's size;
// the HBITMAP conversions keep pixels and drop alpha.
#include "design_fixture.h"
#include "model/design/ImageReplace.h"
#include "model/gfx/ImageEncoders.h"

#include <memory>

using namespace Gdiplus;
using namespace design_test;

namespace {

ARGB Blue(int, int) { return 0xFF0000FF; }
ARGB HalfRedHalfGreen(int x, int) { return x < 3 ? 0xFFFF0000 : 0xFF00FF00; }

} // namespace

TEST(ImageReplace, FailedLoadKeepsTheOldLayerObject)
{
    const std::string good = WriteTempFile("replace_good.png", MakePng(40, 20, Blue));
    const std::string junk = WriteTempFile("replace_junk.png", std::vector<BYTE>(64, 0x5A));
    const struct
    {
        const char* what;
        const char* path;
    } bad[] = {
        {"missing file", "replace_no_such_file.png"},
        {"bytes that are no image", junk.c_str()},
        {"empty path", ""},
    };
    CImageLayer* original = new CImageLayer;
    original->SetPlacement(CRect(0, 0, 400, 300), 400, 300);
    ASSERT_TRUE(original->LoadFromFile(good.c_str()));
    Bitmap* originalBitmap = original->GetMasterBitmap();
    const long liveBefore = CImageLayer::GetLiveCount();
    CImageLayer* slot = original;
    for (const auto& c : bad) {
        EXPECT_FALSE(ReplaceImageFromFile(slot, c.path)) << c.what;
        EXPECT_EQ(original, slot) << c.what;
        EXPECT_EQ(originalBitmap, slot->GetMasterBitmap()) << c.what;
        EXPECT_EQ(CString(good.c_str()), CString(slot->m_filePath)) << c.what;
        EXPECT_EQ(liveBefore, CImageLayer::GetLiveCount()) << c.what; // the trial layer is gone
    }

    // Positive control: a readable file replaces the layer, placed like the old one.
    const std::string other = WriteTempFile("replace_other.png", MakePng(10, 30, Blue));
    ASSERT_TRUE(ReplaceImageFromFile(slot, other.c_str()));
    EXPECT_NE(original, slot);
    EXPECT_EQ(10u, slot->GetMasterBitmap()->GetWidth());
    EXPECT_EQ(400, slot->m_areaWidth);
    EXPECT_EQ(300, slot->m_areaHeight);
    EXPECT_TRUE(slot->m_loaded);
    EXPECT_EQ(liveBefore, CImageLayer::GetLiveCount()); // the old one was deleted
    delete slot;

    // An empty slot is filled.
    CImageLayer* empty = nullptr;
    EXPECT_FALSE(ReplaceImageFromFile(empty, "replace_no_such_file.png"));
    EXPECT_EQ(nullptr, empty);
    ASSERT_TRUE(ReplaceImageFromFile(empty, good.c_str()));
    ASSERT_NE(nullptr, empty);
    delete empty;
}

TEST(ImageEncoders, PngAndJpegDecodeAtTheSourceSize)
{
    const std::vector<BYTE> png6x4 = MakePng(6, 4, HalfRedHalfGreen);
    std::unique_ptr<Bitmap> source(DecodeImageBytes(png6x4.data(), png6x4.size()));
    ASSERT_TRUE(source);
    const struct
    {
        const WCHAR* mime;
        const char* file;
        BYTE magic0, magic1;
        bool exact; // lossless: pixels compared exactly
    } cases[] = {
        {L"image/png", "encoded.png", 0x89, 'P', true},
        {L"image/jpeg", "encoded.jpg", 0xFF, 0xD8, false},
    };
    for (const auto& c : cases) {
        std::vector<BYTE> bytes;
        ASSERT_TRUE(EncodeImage(source.get(), c.mime, 80, bytes)) << c.file;
        ASSERT_GT(bytes.size(), 2u);
        EXPECT_EQ(c.magic0, bytes[0]) << c.file;
        EXPECT_EQ(c.magic1, bytes[1]) << c.file;

        const CStringW path(c.file);
        DeleteFileW(path);
        ASSERT_TRUE(SaveImageToFile(source.get(), path, c.mime, 80)) << c.file;
        std::unique_ptr<Bitmap> read(LoadImageFile(CString(c.file)));
        ASSERT_TRUE(read) << c.file;
        EXPECT_EQ(6u, read->GetWidth()) << c.file;
        EXPECT_EQ(4u, read->GetHeight()) << c.file;
        Color left, right;
        read->GetPixel(0, 1, &left);
        read->GetPixel(5, 1, &right);
        const int tol = c.exact ? 0 : 60;
        EXPECT_TRUE(ArgbNear(0xFFFF0000, left.GetValue(), tol)) << c.file;
        EXPECT_TRUE(ArgbNear(0xFF00FF00, right.GetValue(), tol)) << c.file;
    }

    // Failures are failures: an unknown type, no image, an unwritable path.
    std::vector<BYTE> none;
    EXPECT_FALSE(EncodeImage(source.get(), L"image/x-none", -1, none));
    EXPECT_FALSE(EncodeImage(nullptr, L"image/png", -1, none));
    EXPECT_FALSE(SaveImageToFile(source.get(), L"no_such_folder\\x.png", L"image/png"));
    EXPECT_FALSE(SaveImageToFile(source.get(), L"unknown_type.bin", L"image/x-none"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"unknown_type.bin"));
    EXPECT_TRUE(HasImageEncoder(L"image/png"));
    EXPECT_FALSE(HasImageEncoder(L"image/x-none"));
}

TEST(ImageEncoders, HbitmapConversionsKeepPixelsAndDropAlpha)
{
    // A 2 x 1 top-down 32-bit DIB: a half-transparent red and a transparent blue pixel,
    // premultiplied as GDI keeps them.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, dib);
    const DWORD pixels[2] = {0x80C00000, 0x000000FF}; // AARRGGBB
    memcpy(bits, pixels, sizeof(pixels));

    std::unique_ptr<Bitmap> copy(BitmapFromHbitmap(dib));
    DeleteObject(dib); // the copy owns its pixels
    ASSERT_TRUE(copy);
    EXPECT_EQ(2u, copy->GetWidth());
    EXPECT_EQ(PixelFormat24bppRGB, copy->GetPixelFormat());
    Color c;
    copy->GetPixel(0, 0, &c);
    EXPECT_EQ(0xFFC00000u, c.GetValue()); // colour kept, alpha dropped: opaque
    copy->GetPixel(1, 0, &c);
    EXPECT_EQ(0xFF0000FFu, c.GetValue());
    EXPECT_EQ(nullptr, BitmapFromHbitmap(nullptr));

    // Back to a handle: transparent parts over the background colour.
    Bitmap argb(2, 1, PixelFormat32bppARGB);
    argb.SetPixel(0, 0, Color(255, 0, 128, 0));
    argb.SetPixel(1, 0, Color(0, 10, 20, 30));
    HBITMAP handle = HbitmapFromBitmap(&argb, Color(255, 255, 255));
    ASSERT_NE(nullptr, handle);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, handle);
    EXPECT_EQ(RGB(0, 128, 0), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 1, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(handle);
    EXPECT_EQ(nullptr, HbitmapFromBitmap(nullptr));
}

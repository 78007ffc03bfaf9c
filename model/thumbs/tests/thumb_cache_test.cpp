// The thumbnail cache file: the cached-JPEG check, scaling to 125 pixels, templates and
// design files, the entries it writes, and caches and files it must not trust.
#include "model/thumbs/CachedJpeg.h"
#include "model/thumbs/ThumbCache.h"
#include "model/thumbs/ThumbSink.h"
#include "model/thumbs/tests/ThumbFixture.h"

#include <gtest/gtest.h>

using namespace Gdiplus;
using thumb_test::Bytes;

namespace {

// ---------------------------------------------------------------------------------------
// The check of a cached JPEG, on hand-made headers.

// SOI, APP0 (JFIF), SOF0 of the given size, SOS, three bytes of scan data, EOI.
Bytes Jpeg(WORD height, WORD width)
{
    return Bytes{
        0xFF,
        0xD8, // SOI
        0xFF,
        0xE0,
        0x00,
        0x10,
        'J',
        'F',
        'I',
        'F',
        0x00, // APP0, length 16, "JFIF\0"
        0x01,
        0x01,
        0x00,
        0x00,
        0x01,
        0x00,
        0x01,
        0x00,
        0x00, //   version 1.1, no units, 1:1, no preview
        0xFF,
        0xC0,
        0x00,
        0x0B,
        0x08, // SOF0, length 11, 8 bits
        (BYTE)(height >> 8),
        (BYTE)height,
        (BYTE)(width >> 8),
        (BYTE)width, //   height, width
        0x01,
        0x01,
        0x11,
        0x00, //   1 component: id 1, 1x1, table 0
        0xFF,
        0xDA,
        0x00,
        0x08,
        0x01,
        0x01,
        0x00,
        0x00,
        0x3F,
        0x00, // SOS, length 8, 1 component, 0..63
        0x12,
        0x34,
        0x56, // scan data
        0xFF,
        0xD9, // EOI
    };
}

Bytes Patched(Bytes b, size_t at, std::initializer_list<BYTE> with)
{
    for (BYTE v : with)
        b[at++] = v;
    return b;
}

TEST(CachedJpeg, OnlyWholeSmallJpegsPass)
{
    const Bytes whole = Jpeg(83, 125);
    Bytes filled = whole;
    filled.insert(filled.begin() + 20, {0xFF, 0xFF}); // fill bytes before SOF0
    Bytes noFrame = whole;
    noFrame.erase(noFrame.begin() + 20, noFrame.begin() + 33); // SOF0 taken out
    struct Case
    {
        const char* what;
        Bytes bytes;
        bool ok;
        DWORD w, h;
    } cases[] = {
        {"125 x 83", whole, true, 125, 83},
        {"125 x 125", Jpeg(125, 125), true, 125, 125},
        {"1 x 1", Jpeg(1, 1), true, 1, 1},
        {"fill bytes before a marker", filled, true, 125, 83},
        {"126 wide", Jpeg(83, 126), false, 0, 0},
        {"60000 x 60000", Jpeg(60000, 60000), false, 0, 0},
        {"height 0", Jpeg(0, 125), false, 0, 0},
        {"cut before EOI", Bytes(whole.begin(), whole.end() - 2), false, 0, 0},
        {"cut in the header", Bytes(whole.begin(), whole.begin() + 24), false, 0, 0},
        {"APP0 length past the end", Patched(whole, 4, {0x7F, 0xFF}), false, 0, 0},
        {"APP0 length 1", Patched(whole, 4, {0x00, 0x01}), false, 0, 0},
        {"scan without a frame header", noFrame, false, 0, 0},
        {"a second SOI", Patched(whole, 2, {0xFF, 0xD8}), false, 0, 0},
        {"a PNG", Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0xFF, 0xD9}, false, 0, 0},
        {"SOI and EOI only", Bytes{0xFF, 0xD8, 0xFF, 0xD9}, false, 0, 0},
        {"empty", Bytes(), false, 0, 0},
    };
    for (const Case& c : cases) {
        DWORD w = 0, h = 0;
        EXPECT_EQ(c.ok, CheckCachedJpeg(c.bytes.empty() ? nullptr : c.bytes.data(), c.bytes.size(), 125, &w, &h))
            << c.what;
        EXPECT_EQ(c.w, w) << c.what;
        EXPECT_EQ(c.h, h) << c.what;
    }
}

// ---------------------------------------------------------------------------------------
// The cache.

struct Shown
{
    std::string label, value;
    UINT width, height;
    Color left, right; // pixels a tenth in from each side, on the middle row
};

struct Recorder : CThumbSink
{
    std::vector<Shown> shown;
    void MakeThumbnail(Image* image, LPCTSTR label, LPCTSTR value) override
    {
        Bitmap* bitmap = static_cast<Bitmap*>(image);
        Shown s = {label, value, image->GetWidth(), image->GetHeight(), Color(), Color()};
        bitmap->GetPixel((INT)s.width / 10, (INT)s.height / 2, &s.left);
        bitmap->GetPixel((INT)(s.width - 1 - s.width / 10), (INT)s.height / 2, &s.right);
        shown.push_back(s);
    }
};

::testing::AssertionResult Near(const Color& c, BYTE r, BYTE g, BYTE b, int tolerance = 3)
{
    if (abs(c.GetR() - r) <= tolerance && abs(c.GetG() - g) <= tolerance && abs(c.GetB() - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << (int)c.GetR() << "," << (int)c.GetG() << "," << (int)c.GetB()
                                         << " instead of " << (int)r << "," << (int)g << "," << (int)b;
}

std::string Put(const std::string& folder, const std::string& name, const Bytes& bytes)
{
    const std::string path = folder + "\\" + name;
    EXPECT_TRUE(ktb::WriteFileBytes(path, bytes)) << path;
    return path;
}

const ARGB kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kClear = 0x00000000;
const ARGB kCake = 0xFFC86432; // 200, 100, 50

TEST(ThumbCache, ScalesFilesToTheLongerSide)
{
    const std::string folder = ktb::ScratchFolder("thumb_scaling");
    struct Case
    {
        const char* what;
        int w, h;
        ARGB left, right;
        UINT thumbW, thumbH;
        BYTE rightR, rightG, rightB;
    } cases[] = {
        {"1000 x 500", 1000, 500, kRed, kBlue, 125, 62, 0, 0, 255},
        {"30 x 40, enlarged", 30, 40, kRed, kBlue, 93, 125, 0, 0, 255},
        {"250 x 100", 250, 100, kRed, kBlue, 125, 50, 0, 0, 255},
        {"3000 x 2000, reduced first", 3000, 2000, kRed, kBlue, 125, 83, 0, 0, 255},
        {"2000 x 3, a sliver keeps a pixel", 2000, 3, kRed, kBlue, 125, 1, 0, 0, 255},
        {"transparent half over white", 200, 100, kRed, kClear, 125, 62, 255, 255, 255},
        {"transparent half over white, reduced first", 2000, 1000, kRed, kClear, 125, 62, 255, 255, 255},
    };
    for (const Case& c : cases) {
        const std::string path = Put(folder, "picture.png", thumb_test::Picture(c.w, c.h, c.left, c.right));
        CThumbCache cache;
        ASSERT_TRUE(cache.LoadSourceImage(path.c_str())) << c.what;
        Recorder r;
        r.MakeThumbnail(cache.GetWorkingImage(), "", "");
        EXPECT_EQ(c.thumbW, r.shown[0].width) << c.what;
        EXPECT_EQ(c.thumbH, r.shown[0].height) << c.what;
        EXPECT_EQ(PixelFormat24bppRGB, cache.GetWorkingImage()->GetPixelFormat()) << c.what;
        EXPECT_TRUE(Near(r.shown[0].left, 255, 0, 0)) << c.what;
        EXPECT_TRUE(Near(r.shown[0].right, c.rightR, c.rightG, c.rightB)) << c.what;
    }
    // Not a picture at all.
    const std::string text = Put(folder, "notes.png", Bytes(200, 'x'));
    CThumbCache cache;
    EXPECT_FALSE(cache.LoadSourceImage(text.c_str()));
    EXPECT_EQ(nullptr, cache.GetWorkingImage());
}

TEST(ThumbCache, TemplatesAreDarkerAndDesignsShowTheirThumbnail)
{
    const std::string folder = ktb::ScratchFolder("thumb_sources");
    const Bytes cake = thumb_test::Picture(250, 100, kCake, kCake);
    struct Case
    {
        const char* what;
        const char* name;
        Bytes file;
        bool shown;
        BYTE r, g, b;
    } cases[] = {
        {"PNG", "cake.png", cake, true, 200, 100, 50},
        {"the same PNG as a template, 70 %", "cake.tpl", cake, true, 140, 70, 35},
        {"template, upper case", "CAKE2.TPL", cake, true, 140, 70, 35},
        {"design", "d.ktb", thumb_test::DesignFile(cake), true, 200, 100, 50},
        {"paper layout", "p.pap", thumb_test::DesignFile(cake), true, 200, 100, 50},
        {"design without a Thumbnail", "none.ktb", thumb_test::DesignFile(Bytes()), false, 0, 0, 0},
        {"design whose Thumbnail is a JPEG", "jpeg.ktb",
         thumb_test::DesignFile(thumb_test::Picture(250, 100, kCake, kCake, L"image/jpeg")), false, 0, 0, 0},
        {"design with a looping sector chain", "loop.ktb",
         thumb_test::WithLoopingChain(ktb::MakeCompoundFile({{"CakeData", Bytes(9000, 0)}, {"Thumbnail", cake}}),
                                      "CakeData"),
         false, 0, 0, 0},
        {"design that is no compound file", "flat.ktb", cake, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const std::string path = Put(folder, c.name, c.file);
        CThumbCache cache;
        const DWORD start = GetTickCount();
        EXPECT_EQ(c.shown, !!cache.LoadSourceImage(path.c_str())) << c.what;
        EXPECT_LT(GetTickCount() - start, 5000u) << c.what;
        if (!c.shown || !cache.GetWorkingImage())
            continue;
        Recorder r;
        r.MakeThumbnail(cache.GetWorkingImage(), "", "");
        EXPECT_EQ(125u, r.shown[0].width) << c.what;
        EXPECT_EQ(50u, r.shown[0].height) << c.what;
        EXPECT_TRUE(Near(r.shown[0].left, c.r, c.g, c.b)) << c.what;
    }
}

// The record of "24:03:05:14:07:09": 36 bytes of text and terminator, then the text.
const Bytes kStampOf2024 = {
    0x24, 0x00, 0x00, 0x00,                                                 // L = 36
    '2',  0,    '4',  0,    ':', 0, '0', 0, '3', 0, ':', 0, '0', 0, '5', 0, // "24:03:05"
    ':',  0,    '1',  0,    '4', 0, ':', 0, '0', 0, '7', 0, ':', 0, '0', 0, // ":14:07:0"
    '9',  0,                                                                // "9"
    0x00, 0x00,                                                             // terminator
};

TEST(ThumbCache, EntriesAreWrittenWholeAndFetchedWhileFresh)
{
    const std::string folder = ktb::ScratchFolder("thumb_entries");
    const std::string big = Put(folder, "big.png", thumb_test::Picture(1000, 500, kRed, kBlue));
    const CTime written(2024, 3, 5, 14, 7, 9);
    EXPECT_STREQ("24:03:05:14:07:09", CThumbCache::StampText(written));

    CThumbCache cache;
    Recorder r;
    ASSERT_FALSE(cache.Open(folder.c_str())) << "no cache yet";
    ASSERT_TRUE(cache.Create(folder.c_str()));
    EXPECT_EQ(folder + "\\thumbs.pst", std::string(cache.GetPath()));
    EXPECT_TRUE(cache.StoreThumbnail(big.c_str(), written, &r));
    ASSERT_EQ(1u, r.shown.size());
    EXPECT_EQ("big.png", r.shown[0].label);
    EXPECT_EQ(big, r.shown[0].value);
    EXPECT_EQ(125u, r.shown[0].width);
    EXPECT_EQ(62u, r.shown[0].height);
    cache.Close();

    auto streams = thumb_test::ReadStreams(folder + "\\thumbs.pst");
    EXPECT_EQ((std::vector<std::string>{"big.png", "big.png.dat"}), thumb_test::Names(streams));
    EXPECT_EQ(kStampOf2024, streams["big.png.dat"]);
    DWORD w = 0, h = 0;
    const Bytes& jpeg = streams["big.png"];
    EXPECT_TRUE(CheckCachedJpeg(jpeg.data(), jpeg.size(), 125, &w, &h));
    EXPECT_EQ(125u, w);
    EXPECT_EQ(62u, h);

    // Fresh: shown from the cache; the same colours come back.
    ASSERT_TRUE(cache.Open(folder.c_str()));
    EXPECT_TRUE(cache.FetchThumbnail(big.c_str(), written, &r));
    ASSERT_EQ(2u, r.shown.size());
    EXPECT_EQ(125u, r.shown[1].width);
    EXPECT_EQ(62u, r.shown[1].height);
    EXPECT_TRUE(Near(r.shown[1].left, 255, 0, 0, 24)) << "JPEG at quality 40";
    EXPECT_TRUE(Near(r.shown[1].right, 0, 0, 255, 24));
    // Another time: stale, and both streams go.
    EXPECT_FALSE(cache.FetchThumbnail(big.c_str(), written + CTimeSpan(1), &r));
    EXPECT_EQ(2u, r.shown.size());
    cache.Close();
    EXPECT_TRUE(thumb_test::ReadStreams(folder + "\\thumbs.pst").empty());

    // A file that gives no image leaves no entry, also where it had one.
    ASSERT_TRUE(cache.Open(folder.c_str()));
    EXPECT_TRUE(cache.StoreThumbnail(big.c_str(), written, &r));
    Put(folder, "big.png", Bytes(100, 'x'));
    EXPECT_FALSE(cache.StoreThumbnail(big.c_str(), written, &r));
    EXPECT_EQ(3u, r.shown.size()) << "nothing shown for it";
    cache.Close();
    EXPECT_TRUE(thumb_test::ReadStreams(folder + "\\thumbs.pst").empty());
}

TEST(ThumbCache, HostileEntriesAreStaleAndRebuilt)
{
    const std::string folder = ktb::ScratchFolder("thumb_hostile_entries");
    const std::string big = Put(folder, "big.png", thumb_test::Picture(300, 200, kRed, kBlue));
    const CTime written(2024, 3, 5, 14, 7, 9);
    const Bytes good = thumb_test::Picture(125, 83, kRed, kBlue, L"image/jpeg");
    const Bytes stamp = thumb_test::Stamp("24:03:05:14:07:09");
    ASSERT_EQ(kStampOf2024, stamp);
    Bytes huge = good;
    huge.insert(huge.end() - 2, 2u * 1024 * 1024, 0x00); // over 1 MiB, still whole
    Bytes unterminated(stamp.begin(), stamp.end() - 2);
    unterminated[0] = 34;
    Bytes stated = good; // the frame header of the encoder's JPEG says 60000 x 60000
    for (size_t i = 2; i + 9 < stated.size(); ++i)
        if (stated[i] == 0xFF && stated[i + 1] == 0xC0) {
            stated[i + 5] = 0xEA, stated[i + 6] = 0x60, stated[i + 7] = 0xEA, stated[i + 8] = 0x60;
            break;
        }
    struct Case
    {
        const char* what;
        std::vector<std::pair<std::string, Bytes>> streams;
    } cases[] = {
        {"stamp length 0x7FFFFFFF",
         {{"big.png", good}, {"big.png.dat", thumb_test::Stamp("24:03:05:14:07:09", 0x7FFFFFFF)}}},
        {"short stamp", {{"big.png", good}, {"big.png.dat", Bytes(stamp.begin(), stamp.begin() + 6)}}},
        {"stamp without terminator", {{"big.png", good}, {"big.png.dat", unterminated}}},
        {"stamp of another time", {{"big.png", good}, {"big.png.dat", thumb_test::Stamp("24:03:05:14:07:10")}}},
        {"truncated JPEG", {{"big.png", Bytes(good.begin(), good.begin() + good.size() / 2)}, {"big.png.dat", stamp}}},
        {"JPEG stating 60000 x 60000", {{"big.png", stated}, {"big.png.dat", stamp}}},
        {"JPEG over 1 MiB", {{"big.png", huge}, {"big.png.dat", stamp}}},
        {"a PNG for the JPEG", {{"big.png", thumb_test::Picture(20, 20, kRed, kRed)}, {"big.png.dat", stamp}}},
        {"empty image", {{"big.png", Bytes()}, {"big.png.dat", stamp}}},
        {"stamp without its image", {{"big.png.dat", stamp}}},
        {"image without its stamp", {{"big.png", good}}},
    };
    // Control: the same entry made whole is fetched.
    ktb::WriteFileBytes(folder + "\\thumbs.pst", ktb::MakeCompoundFile({{"big.png", good}, {"big.png.dat", stamp}}));
    {
        CThumbCache cache;
        Recorder r;
        ASSERT_TRUE(cache.Open(folder.c_str()));
        EXPECT_TRUE(cache.FetchThumbnail(big.c_str(), written, &r));
    }
    for (const Case& c : cases) {
        ktb::WriteFileBytes(folder + "\\thumbs.pst", ktb::MakeCompoundFile(c.streams));
        CThumbCache cache;
        Recorder r;
        const DWORD start = GetTickCount();
        ASSERT_TRUE(cache.Open(folder.c_str())) << c.what;
        EXPECT_FALSE(cache.FetchThumbnail(big.c_str(), written, &r)) << c.what;
        EXPECT_TRUE(r.shown.empty()) << c.what;
        EXPECT_TRUE(cache.StoreThumbnail(big.c_str(), written, &r)) << c.what;
        EXPECT_EQ(1u, r.shown.size()) << c.what;
        cache.Close();
        EXPECT_LT(GetTickCount() - start, 5000u) << c.what;
        auto streams = thumb_test::ReadStreams(folder + "\\thumbs.pst");
        EXPECT_EQ((std::vector<std::string>{"big.png", "big.png.dat"}), thumb_test::Names(streams)) << c.what;
        EXPECT_EQ(stamp, streams["big.png.dat"]) << c.what;
        ASSERT_TRUE(cache.Open(folder.c_str())) << c.what;
        EXPECT_TRUE(cache.FetchThumbnail(big.c_str(), written, &r)) << c.what << ": rebuilt whole";
        cache.Close();
    }
}

TEST(ThumbCache, CacheFilesThatCannotBeTrustedOrUsed)
{
    const std::string folder = ktb::ScratchFolder("thumb_cache_files");
    RemoveDirectoryA((folder + "\\thumbs.pst").c_str());
    const std::string big = Put(folder, "big.png", thumb_test::Picture(300, 200, kRed, kBlue));
    const std::string cacheFile = folder + "\\thumbs.pst";
    const CTime written(2024, 3, 5, 14, 7, 9);

    // Not a compound file, or one whose sector chain loops: not opened, replaced by a new one.
    struct Case
    {
        const char* what;
        Bytes file;
    } replaced[] = {
        {"not a compound file", Bytes(1000, 'x')},
        {"empty file", Bytes()},
        {"looping sector chain",
         thumb_test::WithLoopingChain(ktb::MakeCompoundFile({{"big.png", Bytes(9000, 1)}}), "big.png")},
    };
    for (const Case& c : replaced) {
        ktb::WriteFileBytes(cacheFile, c.file);
        CThumbCache cache;
        Recorder r;
        const DWORD start = GetTickCount();
        EXPECT_FALSE(cache.Open(folder.c_str())) << c.what;
        EXPECT_LT(GetTickCount() - start, 5000u) << c.what;
        ASSERT_TRUE(cache.Create(folder.c_str())) << c.what;
        EXPECT_TRUE(cache.StoreThumbnail(big.c_str(), written, &r)) << c.what;
        cache.Close();
        EXPECT_EQ((std::vector<std::string>{"big.png", "big.png.dat"}),
                  thumb_test::Names(thumb_test::ReadStreams(cacheFile)))
            << c.what;
    }

    // Held by another list: neither opened nor created; the thumbnail is still made and
    // the holder's file stays as it was.
    {
        const Bytes before = ktb::ReadFileAll(cacheFile);
        ASSERT_FALSE(before.empty());
        CThumbCache holder;
        ASSERT_TRUE(holder.Open(folder.c_str()));
        CThumbCache second;
        Recorder r;
        EXPECT_FALSE(second.Open(folder.c_str()));
        EXPECT_FALSE(second.Create(folder.c_str()));
        EXPECT_TRUE(second.StoreThumbnail(big.c_str(), written + CTimeSpan(5), &r));
        EXPECT_EQ(1u, r.shown.size());
        holder.Close();
        EXPECT_EQ(before, ktb::ReadFileAll(cacheFile));
    }

    // A folder in the cache file's place.
    DeleteFileA(cacheFile.c_str());
    ASSERT_TRUE(CreateDirectoryA(cacheFile.c_str(), nullptr));
    {
        CThumbCache cache;
        Recorder r;
        EXPECT_FALSE(cache.Open(folder.c_str()));
        EXPECT_FALSE(cache.Create(folder.c_str()));
        EXPECT_TRUE(cache.StoreThumbnail(big.c_str(), written, &r));
        EXPECT_EQ(1u, r.shown.size());
    }
    EXPECT_EQ(0, ktb::CountFiles(cacheFile));
    RemoveDirectoryA(cacheFile.c_str());
}

TEST(ThumbCache, NamesTheCacheCannotHoldAreShownUncached)
{
    const std::string folder = ktb::ScratchFolder("thumb_names");
    const Bytes picture = thumb_test::Picture(60, 40, kRed, kBlue);
    struct Case
    {
        const char* name;
        bool cached;
    } cases[] = {
        {"abcdefghijklmnopqrstuvw.png", true},   // 27 characters: the stamp name has 31
        {"abcdefghijklmnopqrstuvwx.png", false}, // 28: the stamp name would have 32
        {"wow!.png", false},
        {"a.b.c.png", true},
    };
    CThumbCache cache;
    ASSERT_TRUE(cache.Create(folder.c_str()));
    Recorder r;
    for (const Case& c : cases) {
        const std::string path = Put(folder, c.name, picture);
        EXPECT_TRUE(cache.StoreThumbnail(path.c_str(), CTime(2024, 1, 1, 0, 0, 0), &r)) << c.name;
        EXPECT_EQ(c.cached, !!cache.FetchThumbnail(path.c_str(), CTime(2024, 1, 1, 0, 0, 0), &r)) << c.name;
    }
    cache.Close();
    EXPECT_EQ(6u, r.shown.size()) << "each shown once when stored, the cached ones again when fetched";
    EXPECT_EQ((std::vector<std::string>{"a.b.c.png", "a.b.c.png.dat", "abcdefghijklmnopqrstuvw.png",
                                        "abcdefghijklmnopqrstuvw.png.dat"}),
              thumb_test::Names(thumb_test::ReadStreams(folder + "\\thumbs.pst")));
}

} // namespace

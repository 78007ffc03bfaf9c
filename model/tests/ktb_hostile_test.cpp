// Hostile and damaged design files: each is refused quickly, before anything is built from
// it, whatever count, length, index or image it lies about.
#include <windows.h>
#include <gtest/gtest.h>

#include "digest/crc32.h"
#include "model/ktb/CompoundCheck.h"
#include "model/ktb/DesignFile.h"
#include "model/ktb/DesignSections.h"
#include "model/ktb/ImageCheck.h"
#include "model/design/ImageLayer.h"
#include "model/design/TextItem.h"
#include "model/tests/KtbTestUtil.h"
#include "model/tests/design_fixture.h"

using namespace ktb;
using namespace Gdiplus;

namespace {

ARGB Grey(int, int) { return 0xFF808080; }

std::string LayoutLine() { return (LPCTSTR)TestDesign().layout.FormatCsv(); }

Records Header(int frames = 1, const std::string& line = LayoutLine())
{
    Records r;
    r.Key("CAKEDATA3", 1).Append(HeaderRecords("10.15", frames, line));
    return r;
}

Bytes WithStreams(const Records& cake, std::vector<std::pair<std::string, Bytes>> more = {})
{
    more.insert(more.begin(), {"CakeData", cake.bytes});
    return MakeCompoundFile(more);
}

void PutBe32(Bytes& b, size_t at, DWORD v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = (BYTE)(v >> (24 - 8 * i));
}

// A PNG whose header claims w x h pixels (its checksum made to fit) but holds one pixel.
Bytes LyingPng(DWORD w, DWORD h)
{
    Bytes png = design_test::MakePng(1, 1, Grey);
    PutBe32(png, 16, w);                     // IHDR width
    PutBe32(png, 20, h);                     // IHDR height
    PutBe32(png, 29, Crc32Of(&png[12], 17)); // IHDR checksum over type and data
    return png;
}

TEST(KtbHostile, RefusedQuicklyWithoutBuildingAnything)
{
    // The 12-row layout line: the counts are checked before any token is used.
    std::string twelveRows = LayoutLine();
    twelveRows.replace(twelveRows.find(','), 3, ",12");
    Bytes frameEntry99 = DefaultFrameEntry(99).bytes;
    Bytes bigBstr = Records().Bstr("Arial").bytes;
    bigBstr[0] = 0xF0, bigBstr[1] = 0xFF, bigBstr[2] = 0xFF, bigBstr[3] = 0xFF; // 0xFFFFFFF0
    Records unknownVariant;
    unknownVariant.Key("CAKEDATA3", 1).Text("10.15").U16(VT_UNKNOWN).Raw("\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16);
    Records nanLayer;
    nanLayer.Append(Header()).Key("IMAGE", 1);
    nanLayer.R4(NAN).R4(0).R8(1).R8(1).I4(0).Bool(false).Bstr("Image1.png").I4(100).Key("END", 0);
    Records oldMillion;
    oldMillion.Key("CAKEDATA", 1)
        .I4(1)
        .I4(304)
        .I4(0)
        .I4(0)
        .I4(1)
        .I4(0) // custom rectangle
        .R4(300)
        .R4(300)
        .I4(0)
        .I4(0)
        .I4(0)
        .I4(0)
        .R4(0)
        .I4(1000000000)
        .Text("6.0")
        .Key("END", 0);
    Records oldNegative = oldMillion;
    oldNegative.bytes.clear();
    oldNegative.Key("CAKEDATA", 1)
        .I4(1)
        .I4(304)
        .I4(0)
        .I4(0)
        .I4(1)
        .I4(0)
        .R4(300)
        .R4(300)
        .I4(0)
        .I4(0)
        .I4(0)
        .I4(0)
        .R4(0)
        .I4(-1)
        .Text("6.0")
        .Key("END", 0);
    Bytes loopFile = WithStreams(Header().Key("END", 0), {{"Image1.png", Bytes(9000, 1)}});
    {
        // Point the image stream's sector chain back at its start.
        CfbPatch p(loopFile);
        DWORD start = p.Get32(p.Entry(p.Find("Image1.png")) + 0x74);
        p.Set32(p.FatEntry(start + 2), start);
    }
    std::vector<BYTE> notImage(300, 0x41);
    std::vector<BYTE> png = design_test::MakePng(2, 2, Grey);

    struct Case
    {
        const char* what;
        Bytes file;
        DesignReadResult result;
    } cases[] = {
        {"IMAGE=2000000000, short stream", WithStreams(Header().Key("IMAGE", 2000000000)), kDesignDamaged},
        {"IMAGE=3 with one entry",
         WithStreams(
             Header().Key("IMAGE", 3).Append(LayerRecords(1, 0, 1, 1, 0, false, "Image1.png", true)).Key("END", 0)),
         kDesignDamaged},
        {"TEXT=-5", WithStreams(Header().Key("TEXT", -5).Key("END", 0)), kDesignDamaged},
        {"FRAME=1000000000", WithStreams(Header().Key("FRAME", 1000000000)), kDesignDamaged},
        {"FRAME=99999999999", WithStreams(Header().Bstr("FRAME=99999999999")), kDesignDamaged},
        {"frame count -1", WithStreams(Header(-1).Key("END", 0)), kDesignDamaged},
        {"frame count 10^9", WithStreams(Header(1000000000).Key("END", 0)), kDesignDamaged},
        {"frame count 0", WithStreams(Header(0).Key("END", 0)), kDesignDamaged},
        {"oldest form, 10^9 areas", WithStreams(oldMillion), kDesignDamaged},
        {"oldest form, -1 areas", WithStreams(oldNegative), kDesignDamaged},
        {"BSTR of 0xFFFFFFF0 bytes", WithStreams(Header().Key("TEXT", 1).Raw(bigBstr.data(), bigBstr.size())),
         kDesignDamaged},
        {"key line of 0xFFFFFFF0 bytes", WithStreams(Header().Raw(bigBstr.data(), bigBstr.size())), kDesignDamaged},
        {"record index 99 of one",
         WithStreams(Header().Key("FRAME", 1).Raw(frameEntry99.data(), frameEntry99.size()).Key("END", 0)),
         kDesignDamaged},
        {"record index -1", WithStreams(Header().Key("FRAME", 1).Append(DefaultFrameEntry(-1)).Key("END", 0)),
         kDesignDamaged},
        {"layout line of 12 rows", WithStreams(Header(1, twelveRows).Key("END", 0)), kDesignDamaged},
        {"VT_UNKNOWN value", WithStreams(unknownVariant), kDesignDamaged},
        {"NaN scale", WithStreams(nanLayer, {{"Image1.png", png}}), kDesignDamaged},
        {"image stream not an image",
         WithStreams(
             Header().Key("IMAGE", 1).Append(LayerRecords(1, 0, 1, 1, 0, false, "Image1.png", true)).Key("END", 0),
             {{"Image1.png", notImage}}),
         kDesignDamaged},
        {"PNG claiming 40000 x 40000",
         WithStreams(
             Header().Key("IMAGE", 1).Append(LayerRecords(1, 0, 1, 1, 0, false, "Image1.png", true)).Key("END", 0),
             {{"Image1.png", LyingPng(40000, 40000)}}),
         kDesignDamaged},
        {"PNG claiming 8000 x 8000, not decodable",
         WithStreams(
             Header().Key("IMAGE", 1).Append(LayerRecords(1, 0, 1, 1, 0, false, "Image1.png", true)).Key("END", 0),
             {{"Image1.png", LyingPng(8000, 8000)}}),
         kDesignDamaged},
        {"stream name with a slash",
         WithStreams(
             Header().Key("IMAGE", 1).Append(LayerRecords(1, 0, 1, 1, 0, false, "../Image1.png", true)).Key("END", 0)),
         kDesignDamaged},
        {"truncated inside a record", WithStreams(Header().Key("FRAME", 1).Raw(frameEntry99.data(), 20)),
         kDesignDamaged},
        // Refused on purpose rather than read on with the header skipped: such a file
        // states no frame count for what follows.
        {"CAKEDATA3=0", WithStreams(Records().Key("CAKEDATA3", 0).Key("END", 0)), kDesignDamaged},
        {"section before any header", WithStreams(Records().Key("FRAME", 1).Append(DefaultFrameEntry(0))),
         kDesignUnreadable},
        {"empty CakeData", WithStreams(Records()), kDesignUnreadable},
        {"no CakeData", MakeCompoundFile({{"Thumbnail", png}}), kDesignUnreadable},
        {"not a compound file", Bytes(5000, 'x'), kDesignUnreadable},
        {"empty file", Bytes(), kDesignUnreadable},
        {"sector chain loop", loopFile, kDesignUnreadable},
    };
    for (const Case& c : cases) {
        const long layers = CImageLayer::GetLiveCount(), texts = CTextItem::GetLiveCount();
        DWORD start = GetTickCount();
        CDesignContent content;
        EXPECT_EQ(c.result, ReadDesignBytes(c.file.data(), c.file.size(), content)) << c.what;
        EXPECT_LT(GetTickCount() - start, 2000u) << c.what;
        EXPECT_TRUE(content.frames.empty() && content.images.empty() && content.texts.empty()) << c.what;
        EXPECT_EQ(layers, CImageLayer::GetLiveCount()) << c.what;
        EXPECT_EQ(texts, CTextItem::GetLiveCount()) << c.what;
    }
}

TEST(KtbHostile, ImageChecksBeforeDecoding)
{
    const Bytes png = design_test::MakePng(3, 2, Grey);
    // Chunks: signature 8, IHDR 25 (length 4, type 4, data 13, checksum 4), IDAT, IEND 12.
    auto damaged = [&](void (*damage)(Bytes&)) {
        Bytes b = png;
        damage(b);
        return b;
    };
    struct Case
    {
        const char* what;
        Bytes bytes;
        bool ok;
        DWORD w, h;
    } cases[] = {
        {"PNG", png, true, 3, 2},
        {"PNG with bytes after IEND", damaged([](Bytes& b) { b.push_back(7); }), true, 3, 2},
        {"one data bit flipped", damaged([](Bytes& b) { b[40] ^= 1; }), false, 0, 0},
        {"IDAT length beyond the end", damaged([](Bytes& b) { PutBe32(b, 33, 0x7FFFFFF0); }), false, 0, 0},
        {"no IEND", damaged([](Bytes& b) { b.resize(b.size() - 12); }), false, 0, 0},
        {"IHDR not first", damaged([](Bytes& b) {
             memcpy(&b[12], "IHDX", 4);
             PutBe32(b, 29, Crc32Of(&b[12], 17));
         }),
         false, 0, 0},
        {"PNG 0 wide", LyingPng(0, 5), false, 0, 0},
        {"PNG 32769 wide", LyingPng(32769, 1), false, 0, 0},
        {"PNG 64M + 1 pixels", LyingPng(8193, 8192), false, 0, 0},
        {"PNG 64M pixels", LyingPng(8192, 8192), true, 8192, 8192},
        {"BMP", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 7, 0, 0, 0, 5, 0, 0, 0, 1,
                      0,   32,  0, 0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         false, 0, 0},
        {"JPEG", Bytes{0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 6, 0, 10, 1, 1, 0x11, 0, 0xFF, 0xD9,
                       0,    0,    0,    0,    0, 0,  0, 0, 0, 0, 0,  0, 0, 0,    0, 0,    0},
         false, 0, 0},
        {"nothing", Bytes(), false, 0, 0},
    };
    for (const Case& c : cases) {
        DWORD w = 0, h = 0;
        EXPECT_EQ(c.ok, CheckImageBytes(c.bytes.data(), c.bytes.size(), &w, &h)) << c.what;
        if (c.ok) {
            EXPECT_EQ(c.w, w) << c.what;
            EXPECT_EQ(c.h, h) << c.what;
        }
    }
}

TEST(KtbHostile, ImageBudgetCountsLayersAndPixels)
{
    CImageBudget budget(2, 3000000);
    EXPECT_TRUE(budget.TakeLayer());
    EXPECT_TRUE(budget.TakePixels(1000, 1000));  // 1M + a 1000 x 1000 screen copy
    EXPECT_FALSE(budget.TakePixels(1000, 1000)); // 1M left: not enough for another
    EXPECT_TRUE(budget.TakePixels(10, 1000));    // 10,000 + 1000 x 11
    EXPECT_TRUE(budget.TakeLayer());
    EXPECT_FALSE(budget.TakeLayer());
    EXPECT_EQ(&budget, CImageBudget::Current());
}

} // namespace

// What the design writer puts into a file: the record sequence of "CakeData" value by
// value, the streams beside it, and that a failed write leaves no trace.
#include <windows.h>
#include <gtest/gtest.h>

#include "model/ktb/DesignFile.h"
#include "model/ktb/DesignSections.h"
#include "model/ktb/DesignStorage.h"
#include "model/ktb/DesignVersion.h"
#include "model/design/ImageLayer.h"
#include "model/design/RegionData.h"
#include "model/tests/KtbTestUtil.h"
#include "model/tests/design_fixture.h"

using namespace ktb;
using namespace Gdiplus;

namespace {

ARGB Checker(int x, int y) { return ((x + y) & 1) ? 0xFF2040E0 : 0x80FFD000; }

TEST(KtbWrite, VersionTextIsTheStringResource) { EXPECT_STREQ("10.15", GetWriterDesignVersion()); }

TEST(KtbWrite, NewEmptyDesignRecordByRecord)
{
    TestDesign design;
    Bytes file = WriteToMemory(design);

    Records expected;
    expected
        .Key("CAKEDATA3", 1)                      // BSTR "CAKEDATA3=1"
        .Text("10.15")                            // VT_BSTR version
        .I4(1)                                    // VT_I4 frame count
        .Text((LPCTSTR)design.layout.FormatCsv()) // VT_BSTR layout line
        .I4(0)                                    // VT_I4 print-mirror flag
        .Key("IMAGE", 0)
        .Key("TEXT", 0)
        .Key("FRAME", 1)
        .Append(DefaultFrameEntry(0))
        .Key("END", 0);
    EXPECT_EQ(expected.bytes, StreamOf(file, "CakeData"));

    // The size, from the record sizes: four key lines of 4 + 2 x (length + 1) bytes, two
    // VT_I4 (6 each), two VT_BSTR (2 + 4 + 2 x (length + 1)), and the frame entry:
    // 23 VT_I4, 10 VT_R4 (6 each) and 5 VT_BOOL (4 each).
    auto line = [](size_t n) { return 4 + 2 * (n + 1); };
    size_t layoutLength = design.layout.FormatCsv().GetLength();
    size_t size = line(11) + (2 + line(5)) + 6 + (2 + line(layoutLength)) + 6 + line(7) + line(6) + line(7) + 33 * 6 +
                  5 * 4 + line(5);
    EXPECT_EQ(size, StreamOf(file, "CakeData").size());
    EXPECT_EQ(std::vector<std::string>{"CakeData"}, StreamNamesOf(file));

    // For the independent reader of the build's scripts.
    if (const char* copy = getenv("SL_KTB_COPY")) {
        EXPECT_TRUE(WriteFileBytes(copy, file));
        char expectedSize[32];
        sprintf(expectedSize, "%u", (unsigned)size);
        EXPECT_TRUE(
            WriteFileBytes(std::string(copy) + ".size", Bytes(expectedSize, expectedSize + strlen(expectedSize))));
    }
}

TEST(KtbWrite, StreamsOfImagesRegionsAndThumbnail)
{
    TestDesign design(10);
    design.layers.Reset(2);
    std::vector<BYTE> png = design_test::MakePng(3, 2, Checker);
    auto layer = [&](int frame) {
        CImageLayer* l = new CImageLayer();
        EXPECT_TRUE(l->LoadFromMemory(png.data(), png.size()));
        l->m_frameIndex = frame;
        return l;
    };
    for (int k = 0; k < 2; ++k) {
        FrameRecord& r = design.layers.GetAt(k);
        r.frameImage = layer(k);
        r.region = new CRegionData();
        BYTE region[sizeof(RGNDATAHEADER) + sizeof(RECT)] = {};
        RGNDATAHEADER h = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, 1, sizeof(RECT), {0, 0, 10, 10}};
        RECT rc = {0, 0, 10, 10};
        memcpy(region, &h, sizeof h);
        memcpy(region + sizeof h, &rc, sizeof rc);
        r.region->SetData(region, sizeof region);
    }
    design.layers.GetAt(1).backgroundImage = layer(1);
    design.layers.GetAt(1).templateImage = layer(1);
    design.layers.GetAt(0).frameFillImage = layer(0);
    for (int frame : {0, 1, 0})
        design.images.Add(layer(frame));
    // Two image-filled texts in frame 0, one in frame 1.
    for (int frame : {0, 1, 0}) {
        CTextItem* text = new CTextItem();
        text->m_frameIndex = frame;
        Bitmap fill(2, 2, PixelFormat32bppARGB);
        text->SetFillImage(&fill);
        design.texts.AddPair(text);
    }
    Bitmap sheet(4, 4, PixelFormat32bppARGB);
    design.sheet = &sheet;

    Bytes file = WriteToMemory(design);
    std::vector<std::string> expected = {"CakeData",          "CanvasClipart1.png", "Frame0.png",    "Frame1.png",
                                         "FrameClipart0.png", "Image1.png",         "Image2.png",    "Image3.png",
                                         "Region0.dat",       "Region1.dat",        "Template1.png", "TextFill0.png",
                                         "TextFill0_2.png",   "TextFill1.png",      "Thumbnail"};
    EXPECT_EQ(expected, StreamNamesOf(file));
    // The images are PNG, the regions their bytes.
    for (const char* name : {"Frame0.png", "Image2.png", "TextFill0_2.png", "Thumbnail"}) {
        Bytes stream = StreamOf(file, name);
        ASSERT_GE(stream.size(), 8u) << name;
        EXPECT_EQ(0x89, stream[0]) << name;
        EXPECT_EQ('P', stream[1]) << name;
    }
    EXPECT_EQ(Bytes(design.layers.GetAt(1).region->GetData(), design.layers.GetAt(1).region->GetData() + 48),
              StreamOf(file, "Region1.dat"));
}

TEST(KtbWrite, RegionOfNoBytesWritesNoStream)
{
    TestDesign design;
    design.layers.GetAt(0).region = new CRegionData();
    Bytes file = WriteToMemory(design);
    EXPECT_EQ(std::vector<std::string>{"CakeData"}, StreamNamesOf(file));
    Records entry = DefaultFrameEntry(0);
    Bytes cake = StreamOf(file, "CakeData");
    EXPECT_NE(cake.end(), std::search(cake.begin(), cake.end(), entry.bytes.begin(), entry.bytes.end()));
}

} // namespace

// Reading design files of all three forms: a rich design round trip, the older forms from
// fixtures written record by record as their programs wrote them, and the version gates.
#include <windows.h>
#include <gtest/gtest.h>

#include "model/ktb/DesignFile.h"
#include "model/ktb/DesignSections.h"
#include "model/ktb/DesignStorage.h"
#include "model/ktb/DesignVersion.h"
#include "model/design/ImageLayer.h"
#include "model/design/RegionData.h"
#include "model/design/TextItem.h"
#include "model/tests/KtbTestUtil.h"
#include "model/tests/design_fixture.h"
#include "base/Globals.h"
#include "testsupport/Pixels.h"

using namespace ktb;
using namespace Gdiplus;

namespace {

ARGB Checker(int x, int y) { return ((x + y) & 1) ? 0xFF2040E0 : 0x80FFD000; }
ARGB Stripes(int x, int y) { return (y % 3) ? 0xFF10A010 : 0x40000000 | (DWORD)(x * 40); }

std::vector<BYTE> SamplePng() { return design_test::MakePng(5, 4, Checker); }

CImageLayer* NewLayer(int frame, ARGB (*pixel)(int, int) = Checker)
{
    std::vector<BYTE> png = design_test::MakePng(6, 3, pixel);
    CImageLayer* l = new CImageLayer();
    EXPECT_TRUE(l->LoadFromMemory(png.data(), png.size()));
    l->m_frameIndex = frame;
    return l;
}

CRegionData* NewRegion(int rects)
{
    std::vector<BYTE> bytes(sizeof(RGNDATAHEADER) + rects * sizeof(RECT));
    RGNDATAHEADER h = {
        sizeof(RGNDATAHEADER), RDH_RECTANGLES, (DWORD)rects, (DWORD)(rects * sizeof(RECT)), {0, 0, 40, 40}};
    memcpy(bytes.data(), &h, sizeof h);
    for (int i = 0; i < rects; ++i) {
        RECT rc = {i * 4, i * 4, i * 4 + 10, i * 4 + 10};
        memcpy(bytes.data() + sizeof h + i * sizeof(RECT), &rc, sizeof rc);
    }
    CRegionData* region = new CRegionData();
    region->SetData(bytes.data(), (DWORD)bytes.size());
    return region;
}

// A compound file holding "CakeData" and the given image streams.
Bytes DesignFileOf(const Records& cakeData, const std::vector<std::string>& pngStreams = {})
{
    std::vector<std::pair<std::string, Bytes>> streams = {{"CakeData", cakeData.bytes}};
    for (const std::string& name : pngStreams)
        streams.push_back({name, SamplePng()});
    return MakeCompoundFile(streams);
}

DesignReadResult Read(const Bytes& file, CDesignContent& content)
{
    return ReadDesignBytes(file.data(), file.size(), content);
}

// Layout 10 with one design per cell, three layers, two texts, frame records with a border
// style, images in every slot and a region.
void BuildRichDesign(TestDesign& d)
{
    d.layout.SetOneDesignPerCell(1);
    d.layers.Reset(d.layout.GetItemCount());
    const float angles[] = {15.0f, -30.0f, 90.0f};
    const float scales[] = {0.5f, 1.25f, 2.0f};
    const int transparencies[] = {100, 40, 75};
    const int frames[] = {0, 1, 0};
    for (int i = 0; i < 3; ++i) {
        CImageLayer* l = NewLayer(frames[i], i == 1 ? Stripes : Checker);
        l->m_angle = angles[i];
        l->m_scale = scales[i];
        l->m_transparency = transparencies[i];
        l->m_centreX = 1.25 + i;
        l->m_centreY = 0.75 * i;
        d.images.Add(l);
    }
    CTextItem* arc = new CTextItem();
    arc->m_text = "Happy Birthday";
    arc->m_arcLayout = 1;
    arc->m_arcBelow = 1;
    arc->m_arcRadius = 1.5f;
    arc->m_fontSize = 35;
    arc->m_frameIndex = 0;
    d.texts.AddPair(arc);
    CTextItem* bubble = new CTextItem();
    bubble->m_text = "Hi!";
    bubble->m_bubbleKind = 2;
    bubble->m_bubbleTailPosition = 5;
    bubble->m_bubbleFillColour = 0x00E0F0FF;
    bubble->m_fillKind = 2;
    bubble->m_gradientAngle = 30;
    for (int i = 0; i < 5; ++i)
        bubble->m_fillColour[i] = 0x00102030u * (i + 1);
    bubble->m_bold = 1;
    bubble->m_rotation = -12.5f;
    bubble->m_frameIndex = 1;
    Bitmap fill(3, 3, PixelFormat32bppARGB);
    fill.SetPixel(1, 1, Color(0xFF00FF00));
    bubble->SetFillImage(&fill);
    d.texts.AddPair(bubble);

    for (int k : {0, 3}) {
        FrameRecord& r = d.layers.GetAt(k);
        r.frameStyle = 7 + k;
        r.frameFillStyle = 2;
        r.frameColour3 = 0x00ABCDEF;
        r.frameSize = 0.8f;
        r.bgLinear = 1;
        r.bgColour2 = 0x00112233;
        r.bgTileTransparency = 60;
        r.frameImageTransparency = 30;
        r.frameImage = NewLayer(k);
        r.backgroundImage = NewLayer(k, Stripes);
        r.frameFillImage = NewLayer(k);
        r.templateImage = NewLayer(k, Stripes);
        r.region = NewRegion(3 + k);
    }
}

TEST(KtbRead, RichDesignRoundTrip)
{
    TestDesign original(10);
    BuildRichDesign(original);
    const Bytes first = WriteToMemory(original);

    CDesignContent content;
    ASSERT_EQ(kDesignRead, Read(first, content));
    EXPECT_EQ("10.15", content.version);
    EXPECT_FALSE(content.oldest);
    TestDesign loaded(2);
    DesignParts parts = loaded.Parts();
    MoveDesignInto(content, parts, CRect(125, 25, 825, 375));
    EXPECT_TRUE(content.frames.empty() && content.images.empty() && content.texts.empty());
    EXPECT_STREQ("10.15", GetLoadedDesignVersion());

    EXPECT_EQ(10, loaded.layout.GetId());
    EXPECT_EQ(CSize(354, 177), loaded.layout.GetPrintableRect());
    ASSERT_EQ(10, loaded.layers.GetCount());
    ASSERT_EQ(3, loaded.images.GetCount());
    ASSERT_EQ(2, loaded.texts.GetCount());

    const Bytes second = WriteToMemory(loaded);
    EXPECT_EQ(StreamOf(first, "CakeData"), StreamOf(second, "CakeData"));
    EXPECT_EQ(StreamNamesOf(first), StreamNamesOf(second));

    // Each image back in the field it was written from, with its pixels.
    for (int k : {0, 3}) {
        FrameRecord& a = original.layers.GetAt(k);
        FrameRecord& b = loaded.layers.GetAt(k);
        ASSERT_TRUE(b.frameImage && b.backgroundImage && b.frameFillImage && b.templateImage && b.region) << k;
        EXPECT_TRUE(SamePixels(a.frameImage->GetMasterBitmap(), b.frameImage->GetMasterBitmap())) << k;
        EXPECT_TRUE(SamePixels(a.backgroundImage->GetMasterBitmap(), b.backgroundImage->GetMasterBitmap())) << k;
        EXPECT_TRUE(SamePixels(a.frameFillImage->GetMasterBitmap(), b.frameFillImage->GetMasterBitmap())) << k;
        EXPECT_TRUE(SamePixels(a.templateImage->GetMasterBitmap(), b.templateImage->GetMasterBitmap())) << k;
        EXPECT_TRUE(b.templateImage->m_dim);
        EXPECT_EQ(k, b.frameImage->m_frameIndex);
        EXPECT_EQ(CRect(125, 25, 825, 375), b.backgroundImage->m_designRect);
        EXPECT_EQ(Bytes(a.region->GetData(), a.region->GetData() + a.region->GetSize()),
                  Bytes(b.region->GetData(), b.region->GetData() + b.region->GetSize()));
    }
    EXPECT_EQ(nullptr, loaded.layers.GetAt(1).frameImage);
    POSITION pa = original.images.GetHeadPosition(), pb = loaded.images.GetHeadPosition();
    while (pa && pb) {
        CImageLayerPair a = original.images.GetNext(pa), b = loaded.images.GetNext(pb);
        EXPECT_EQ(a.frame, b.frame);
        EXPECT_TRUE(SamePixels(a.layer->GetMasterBitmap(), b.layer->GetMasterBitmap()));
        EXPECT_EQ(CRect(125, 25, 825, 375), b.layer->m_designRect);
        EXPECT_EQ(354, b.layer->m_areaWidth);
    }
    POSITION ta = original.texts.GetHeadPosition(), tb = loaded.texts.GetHeadPosition();
    CTextItemPair arc = loaded.texts.GetNext(tb), bubble = loaded.texts.GetNext(tb);
    EXPECT_EQ(0, arc.frame);
    EXPECT_EQ(1, bubble.frame);
    EXPECT_EQ(1, arc.item->m_arcBelow);
    EXPECT_EQ(2, bubble.item->m_bubbleKind);
    original.texts.GetNext(ta);
    EXPECT_TRUE(SamePixels(original.texts.GetNext(ta).item->GetFillImage(), bubble.item->GetFillImage()));
}

TEST(KtbRead, OldestFormOfVersion50)
{
    Records cake;
    cake.Key("CAKEDATA", 1)
        .Append(OldLayoutRecords(2, "5.0", 0))
        .Key("IMAGE", 1)
        .Append(LayerRecords(0.5f, 10.0f, 1.0, 2.0, 0, false, "Image1.png", false))
        .Key("TEXT", 1)
        .Append(TextRecords(TextFixture(), "5.0"))
        .Key("FRAME", 1)
        .I4(0)
        .I4(0x123456)
        .R4(0.25f) // index, background colour 1, edge margin
        .Bool(false)
        .Bool(false) // first image flag, region flag
        .Key("END", 0);
    CDesignContent content;
    ASSERT_EQ(kDesignRead, Read(DesignFileOf(cake, {"Image1.png"}), content));
    EXPECT_TRUE(content.oldest);
    EXPECT_EQ("5.0", content.version);
    ASSERT_EQ(1u, content.frames.size());
    const FrameRecord& r = content.frames[0];
    EXPECT_EQ(0x123456u, r.bgColour1);
    EXPECT_EQ(0.25f, r.edgeMargin);
    // Everything else keeps the defaults.
    FrameRecord defaults;
    memset(&defaults, 0, sizeof defaults);
    SetFrameRecordDefaults(defaults);
    defaults.bgColour1 = 0x123456;
    defaults.edgeMargin = 0.25f;
    EXPECT_EQ(0, memcmp(&defaults, &r, sizeof r));
    // A layer of 5.x: opaque.
    ASSERT_EQ(1u, content.images.size());
    EXPECT_EQ(100, content.images[0]->m_transparency);
    EXPECT_EQ(0.5f, content.images[0]->m_scale);
    EXPECT_TRUE(content.images[0]->HasBitmap());
    // A text of 5.0: gradient angle 0, the rest of the record absent.
    ASSERT_EQ(1u, content.texts.size());
    EXPECT_EQ(0, content.texts[0]->m_gradientAngle);
    EXPECT_EQ("Cake", content.texts[0]->m_text);
    EXPECT_EQ(20, content.texts[0]->m_fontSize);
}

TEST(KtbRead, OldestFormOfVersion65)
{
    TextFixture filled;
    filled.hasFill = true;
    filled.imageOpacity = 55;
    filled.gradientAngle = 45;
    TextFixture second = filled;
    second.text = "Second";
    Records cake;
    cake.Key("CAKEDATA", 1)
        .Append(OldLayoutRecords(2, "6.5", 0))
        .Key("TEXT", 2)
        .Append(TextRecords(filled, "6.x"))
        .Append(TextRecords(second, "6.x"))
        .Key("FRAME", 1)
        .I4(0)
        .I4(0x0000FF)
        .R4(0.0f)
        .I4(0x00FF00)
        .I4(1)
        .I4(45)     // index .. angle
        .Bool(true) // a user layer, fitted
        .Append(LayerRecords(3.0f, 0.0f, 1.0, 1.0, 0, false, "Frame0.png", true, 80))
        .Bool(false) // no region
        .Bool(true)  // "Back0.png"
        .R4(0.3f)
        .I4(10)
        .I4(70)      // tile values
        .Bool(false) // no template
        .Key("END", 0);
    CDesignContent content;
    ASSERT_EQ(kDesignRead, Read(DesignFileOf(cake, {"TextFill0.png", "Frame0.png", "Back0.png"}), content));
    const FrameRecord& r = content.frames[0];
    EXPECT_EQ(1, r.bgLinear);
    EXPECT_EQ(45, r.bgAngle);
    EXPECT_EQ(0.3f, r.bgTileScale);
    EXPECT_EQ(70, r.bgTileTransparency);
    EXPECT_EQ(0, r.frameStyle); // 7.0 values keep their defaults
    // The first-slot image joined the user's layers, fitted; Back0.png is the frame image.
    ASSERT_EQ(1u, content.images.size());
    EXPECT_TRUE(content.images[0]->m_fitToArea);
    EXPECT_EQ(80, content.images[0]->m_transparency);
    ASSERT_NE(nullptr, r.frameImage);
    EXPECT_TRUE(r.frameImage->HasBitmap());
    EXPECT_EQ(nullptr, r.backgroundImage);
    // Texts of 6.5 end after the image-fill flag: white fills, kind 1, black outlines, no
    // styles, no bubble; both fills come from the one stream older writers made.
    ASSERT_EQ(2u, content.texts.size());
    for (CTextItem* t : content.texts) {
        EXPECT_EQ(45, t->m_gradientAngle);
        EXPECT_EQ(55, t->m_imageOpacity);
        EXPECT_EQ(0xFFFFFFu, t->m_fillColour[0]);
        EXPECT_EQ(1, t->m_fillKind);
        EXPECT_EQ(0u, t->m_outlineColour[0]);
        EXPECT_EQ(0, t->m_bold);
        EXPECT_EQ(0, t->m_bubbleKind);
        ASSERT_NE(nullptr, t->GetFillImage());
        EXPECT_EQ(5u, t->GetFillImage()->GetWidth());
    }
    EXPECT_EQ("Second", content.texts[1]->m_text);
}

TEST(KtbRead, BackStreamMissingLeavesNoFrameImage)
{
    Records cake;
    cake.Key("CAKEDATA", 1)
        .Append(OldLayoutRecords(2, "6.0", 0))
        .Key("FRAME", 1)
        .I4(0)
        .I4(0)
        .R4(0.0f)
        .I4(0)
        .I4(0)
        .I4(0)
        .Bool(false)
        .Bool(false)
        .Bool(true) // "Back0.png", which is not there
        .R4(0.1f)
        .I4(0)
        .I4(100)
        .Key("END", 0);
    CDesignContent content;
    ASSERT_EQ(kDesignRead, Read(DesignFileOf(cake), content));
    EXPECT_EQ(nullptr, content.frames[0].frameImage);
}

// A header of the second or third form, then one layer, no text, one default frame entry.
Records NewerForm(const std::string& key, const std::string& version)
{
    TestDesign d;
    Records cake;
    cake.Key(key, 1)
        .Append(HeaderRecords(version, 1, (LPCTSTR)d.layout.FormatCsv(), 1))
        .Key("IMAGE", 1)
        .Append(LayerRecords(1.5f, 20.0f, 2.0, 3.0, 0, false, "Image1.png", true, 60))
        .Key("TEXT", 0)
        .Key("FRAME", 1)
        .Append(DefaultFrameEntry(0))
        .Key("END", 0);
    return cake;
}

TEST(KtbRead, SecondAndThirdFormsByVersion)
{
    struct Case
    {
        const char* key;
        const char* version;
        DesignReadResult result;
    } cases[] = {
        {"CAKEDATA2", "7.0", kDesignRead},   {"CAKEDATA3", "7.0", kDesignRead},   {"CAKEDATA3", "10.15", kDesignRead},
        {"CAKEDATA2", "6.9", kDesignTooOld}, {"CAKEDATA3", "6.3", kDesignTooOld}, {"CAKEDATA3", "junk", kDesignTooOld},
    };
    for (const Case& c : cases) {
        CDesignContent content;
        EXPECT_EQ(c.result, Read(DesignFileOf(NewerForm(c.key, c.version), {"Image1.png"}), content))
            << c.key << " " << c.version;
        if (c.result != kDesignRead) {
            EXPECT_TRUE(content.frames.empty() && content.images.empty());
            continue;
        }
        EXPECT_EQ(c.version, content.version);
        EXPECT_EQ(0, content.mirror) << "layout 2's mirror flag, not the stored 1";
        ASSERT_EQ(1u, content.images.size());
        EXPECT_EQ(60, content.images[0]->m_transparency);
        EXPECT_EQ(20.0f, content.images[0]->m_angle);
        ASSERT_EQ(1u, content.frames.size());
        EXPECT_EQ(1.0f, content.frames[0].frameOpacity);
    }
}

// The stored print-mirror flag is read past; the loaded layout's flag (its series flag,
// set on the layouts of the sheets printed mirrored) is what the design opens with.
TEST(KtbRead, MirrorFlagComesFromTheLoadedLayout)
{
    FillCatalogues();
    const int before = GetGlobalValueA();
    struct Case
    {
        int layout, stored, mirror;
    } cases[] = {
        {2, 1, 0},
        {2, 0, 0},
        {391, 0, 1},
        {391, 1, 1},
    };
    for (const Case& c : cases) {
        TestDesign d(c.layout);
        ASSERT_EQ(c.layout, d.layout.GetId());
        Records cake;
        cake.Key("CAKEDATA3", 1)
            .Append(HeaderRecords("10.15", 1, (LPCTSTR)d.layout.FormatCsv(), c.stored))
            .Key("FRAME", 1)
            .Append(DefaultFrameEntry(0))
            .Key("END", 0);
        CDesignContent content;
        ASSERT_EQ(kDesignRead, Read(DesignFileOf(cake), content)) << c.layout << " " << c.stored;
        EXPECT_EQ(c.mirror, content.mirror) << c.layout << " " << c.stored;
        SetGlobalValueA(1 - c.mirror);
        TestDesign target;
        DesignParts parts = target.Parts();
        MoveDesignInto(content, parts, CRect(0, 0, 400, 400));
        EXPECT_EQ(c.mirror, GetGlobalValueA()) << c.layout << " " << c.stored;
        EXPECT_EQ(c.mirror, parts.mirror) << c.layout << " " << c.stored;
    }
    SetGlobalValueA(before);
}

// One key line: the key before the first "=", the number after it; a record that is no key
// line of a section ends the reading.
TEST(KtbRead, ReadLineTable)
{
    struct Case
    {
        const char* what;
        Records records;
        bool more;
        const char* key;
        int value;
        bool readFailed;
    } cases[] = {
        {"IMAGE=2", Records().Bstr("IMAGE=2"), true, "IMAGE", 2, false},
        {"END=0", Records().Bstr("END=0"), false, "END", 0, false},
        {"no \"=\"", Records().Bstr("NOEQUALS"), false, "", 0, false},
        {"empty record", Records().Bstr(""), false, "", 0, false},
        {"empty key", Records().Bstr("=5"), false, "", 5, false},
        {"two \"=\"", Records().Bstr("FRAME=3=4"), true, "FRAME", 3, false},
        {"truncated record", Records().U32(40).U16('F').U16('R'), false, "", 0, true},
        {"end of the stream", Records(), false, "", 0, true},
    };
    for (const Case& c : cases) {
        IStream* stream = nullptr;
        ASSERT_EQ(S_OK, CreateMemoryStream(c.records.bytes.empty() ? nullptr : c.records.bytes.data(),
                                           c.records.bytes.size(), &stream))
            << c.what;
        CString key = "stale";
        int value = -7;
        HRESULT hr = S_OK;
        EXPECT_EQ(c.more, ReadLine(stream, key, value, &hr)) << c.what;
        EXPECT_STREQ(c.key, key) << c.what;
        EXPECT_EQ(c.value, value) << c.what;
        EXPECT_EQ(c.readFailed, FAILED(hr)) << c.what;
        stream->Release();
    }
    // A record without "=" after the sections ends the reading there: what follows it is
    // never looked at, and what came before it stays.
    Records cake = NewerForm("CAKEDATA3", "10.15");
    cake.bytes.resize(cake.bytes.size() - Records().Key("END", 0).bytes.size());
    cake.Bstr("NOEQUALS").Key("FRAME", 5).U32(0xDEADBEEF);
    CDesignContent content;
    EXPECT_EQ(kDesignRead, Read(DesignFileOf(cake, {"Image1.png"}), content));
    EXPECT_EQ(1u, content.images.size());
    EXPECT_EQ(1u, content.frames.size());
}

TEST(KtbRead, EndStopsTheReading)
{
    Records cake = NewerForm("CAKEDATA3", "10.15");
    cake.Key("FRAME", 5).U32(0xDEADBEEF); // after END: never looked at
    CDesignContent content;
    EXPECT_EQ(kDesignRead, Read(DesignFileOf(cake, {"Image1.png"}), content));
    // A key line that is not one ends it too; an unknown key is passed over.
    Records odd;
    odd.Key("CAKEDATA3", 1)
        .Append(HeaderRecords("10.15", 1, (LPCTSTR)TestDesign().layout.FormatCsv()))
        .Key("FUTURE", 7)
        .Key("FRAME", 1)
        .Append(DefaultFrameEntry(0))
        .Bstr("no key line");
    EXPECT_EQ(kDesignRead, Read(DesignFileOf(odd), content));
    EXPECT_EQ(1u, content.frames.size());
}

TEST(KtbRead, LayoutOverlayFromVersion75)
{
    FillCatalogues();
    TestDesign withTemplate(21);
    ASSERT_NE(0, withTemplate.layout.GetTemplateBitmap());
    // Lines older than 7.8 hold no template id: the current layout's is kept.
    CPaperLayout saved;
    saved.CopyFrom(*GetPaperLayout());
    GetPaperLayout()->CopyFrom(withTemplate.layout);
    for (const char* version : {"7.4", "7.5", "7.8", "10.15"}) {
        Records cake;
        cake.Key("CAKEDATA3", 1)
            .Append(HeaderRecords(version, 1, (LPCTSTR)withTemplate.layout.FormatCsv()))
            .Key("FRAME", 1)
            .Append(DefaultFrameEntry(0))
            .Key("END", 0);
        CDesignContent content;
        ASSERT_EQ(kDesignRead, Read(DesignFileOf(cake), content)) << version;
        TestDesign target;
        DesignParts parts = target.Parts();
        MoveDesignInto(content, parts, CRect(0, 0, 400, 400));
        EXPECT_EQ(strcmp(version, "7.4") != 0, target.layers.GetLayoutOverlay() != nullptr) << version;
    }
    GetPaperLayout()->CopyFrom(saved);
}

TEST(KtbRead, MissingStreamsAreToleratedDamagedOnesAreNot)
{
    auto withRegion = [](bool present, const Bytes& regionBytes) {
        TestDesign d;
        Records cake;
        cake.Key("CAKEDATA3", 1)
            .Append(HeaderRecords("10.15", 1, (LPCTSTR)d.layout.FormatCsv()))
            .Key("IMAGE", 1)
            .Append(LayerRecords(1.0f, 0.0f, 1.0, 1.0, 0, false, "Image1.png", true))
            .Key("FRAME", 1);
        Records entry = DefaultFrameEntry(0);
        entry.bytes[6 + 6 + 6 + 6 + 6 + 6 + 4 + 2] = 0xFF; // region flag: true
        entry.bytes[6 + 6 + 6 + 6 + 6 + 6 + 4 + 3] = 0xFF;
        cake.Append(entry).Key("END", 0);
        std::vector<std::pair<std::string, Bytes>> streams = {{"CakeData", cake.bytes}};
        if (present)
            streams.push_back({"Region0.dat", regionBytes});
        return MakeCompoundFile(streams);
    };
    CRegionData* good = NewRegion(2);
    Bytes goodBytes(good->GetData(), good->GetData() + good->GetSize());
    delete good;
    Bytes shortCount = goodBytes;
    shortCount[8] = 200; // nCount: 200 rectangles in 32 bytes

    CDesignContent content;
    EXPECT_EQ(kDesignRead, Read(withRegion(false, {}), content)); // no region, no image
    EXPECT_EQ(nullptr, content.frames[0].region);
    EXPECT_FALSE(content.images[0]->HasBitmap());
    EXPECT_EQ(kDesignRead, Read(withRegion(true, goodBytes), content));
    ASSERT_NE(nullptr, content.frames[0].region);
    EXPECT_EQ(goodBytes.size(), content.frames[0].region->GetSize());
    EXPECT_EQ(kDesignDamaged, Read(withRegion(true, shortCount), content));
    EXPECT_EQ(kDesignDamaged, Read(withRegion(true, Bytes(31, 0)), content));
}

} // namespace

namespace {

// The one-entry-per-call readers of the lists and the array, as an older reader drove them:
// each reads exactly its entry, at the version the header set.
TEST(KtbRead, SectionMembersReadOneEntryPerCall)
{
    FillCatalogues();
    TextFixture text;
    text.frame = 1;
    Records cake;
    cake.Key("IMAGE", 1)
        .Append(LayerRecords(1.5f, 0.0f, 1.0, 1.0, 1, false, "Image1.png", true, 30))
        .Key("TEXT", 1)
        .Append(TextRecords(text, "7+"))
        .Key("FRAME", 1)
        .Append(DefaultFrameEntry(1))
        .Key("END", 0);
    Bytes file = DesignFileOf(cake, {"Image1.png"});
    ILockBytes* lock = nullptr;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, file.size());
    memcpy(GlobalLock(mem), file.data(), file.size());
    GlobalUnlock(mem);
    ASSERT_EQ(S_OK, CreateILockBytesOnHGlobal(mem, TRUE, &lock));
    IStorage* storage = nullptr;
    ASSERT_EQ(S_OK, StgOpenStorageOnILockBytes(lock, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage));
    IStream* stream = nullptr;
    ASSERT_EQ(S_OK, storage->OpenStream(L"CakeData", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream));

    SetLoadedDesignVersion("10.15");
    TestDesign d;
    d.layers.Reset(2);
    CString key;
    int value = 0;
    ASSERT_TRUE(ReadLine(stream, key, value));
    EXPECT_EQ("IMAGE", key);
    d.images.Load(storage, stream, nullptr);
    ASSERT_TRUE(ReadLine(stream, key, value));
    EXPECT_EQ("TEXT", key);
    d.texts.Load(storage, stream);
    ASSERT_TRUE(ReadLine(stream, key, value));
    EXPECT_EQ("FRAME", key);
    d.layers.Load(storage, stream, nullptr);
    EXPECT_FALSE(ReadLine(stream, key, value));
    EXPECT_EQ("END", key);

    ASSERT_EQ(1, d.images.GetCount());
    POSITION pos = d.images.GetHeadPosition();
    CImageLayerPair pair = d.images.GetNext(pos);
    EXPECT_EQ(1, pair.frame);
    EXPECT_EQ(30, pair.layer->m_transparency);
    EXPECT_TRUE(pair.layer->HasBitmap());
    ASSERT_EQ(1, d.texts.GetCount());
    pos = d.texts.GetHeadPosition();
    EXPECT_EQ(1, d.texts.GetNext(pos).frame);
    EXPECT_EQ(0.1f, d.layers.GetAt(1).bgTileScale);
    stream->Release();
    storage->Release();
    lock->Release();
}

} // namespace

// Frame records: defaults, reset, ownership of images, copying between records.
#include "design_fixture.h"
#include "model/design/ImageLayer.h"
#include "model/design/LayerArray.h"
#include "model/design/RegionData.h"
#include "testsupport/DibSurface.h"

using namespace Gdiplus;
using namespace design_test;

namespace {

ARGB Grey(int, int) { return 0xFF808080; }

CImageLayer* NewImage(int frameIndex)
{
    static const std::vector<BYTE> png = MakePng(4, 4, Grey);
    CImageLayer* layer = new CImageLayer;
    EXPECT_TRUE(layer->LoadFromMemory(&png[0], png.size()));
    layer->m_frameIndex = frameIndex;
    return layer;
}

CRegionData* NewRegion()
{
    struct
    {
        RGNDATAHEADER h;
        RECT r;
    } data = {{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 1, sizeof(RECT), {0, 0, 10, 10}}, {0, 0, 10, 10}};
    CRegionData* region = new CRegionData;
    region->SetData(&data, sizeof(data));
    return region;
}

void ExpectDefaults(FrameRecord& r)
{
    EXPECT_EQ(NULL, r.region);
    EXPECT_EQ(NULL, r.frameImage);
    EXPECT_EQ(NULL, r.templateImage);
    EXPECT_EQ(NULL, r.backgroundImage);
    EXPECT_EQ(NULL, r.frameFillImage);
    EXPECT_EQ(0, r.bgRadial);
    EXPECT_EQ(0, r.bgLinear);
    EXPECT_EQ(0, r.contentFlag);
    const COLORREF bg[5] = {r.bgColour1, r.bgColour2, r.bgColour3, r.bgColour4, r.bgColour5};
    const COLORREF fr[5] = {r.frameColour1, r.frameColour2, r.frameColour3, r.frameColour4, r.frameColour5};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(0xFFFFFFu, bg[i]) << i;
        EXPECT_EQ(0xFFFFFFu, fr[i]) << i;
    }
    EXPECT_EQ(1.0f, r.bgOpacity);
    EXPECT_EQ(0, r.bgAngle);
    EXPECT_EQ(0.0f, r.edgeMargin);
    EXPECT_EQ(0.1f, r.bgTileScale);
    EXPECT_EQ(0, r.bgTileRotation);
    EXPECT_EQ(100, r.bgTileTransparency);
    EXPECT_EQ(0, r.frameStyle);
    EXPECT_EQ(1, r.frameFillStyle);
    EXPECT_EQ(0, r.frameFillAngle);
    EXPECT_EQ(1.0f, r.frameSize);
    EXPECT_EQ(0.5f, r.frameOutlineWidth);
    EXPECT_EQ(1.0f, r.frameIntensity);
    EXPECT_EQ(0u, r.frameOutlineColour);
    EXPECT_EQ(1.0f, r.frameOpacity);
    EXPECT_EQ(1.0f, r.frameSpareFloat);
    EXPECT_EQ(0, r.frameSpareInt);
    EXPECT_EQ(0.1f, r.frameImageScale);
    EXPECT_EQ(0.0f, r.frameImageOffset);
    EXPECT_EQ(0, r.frameImageRotation);
    EXPECT_EQ(0u, r.reserved1);
    EXPECT_EQ(0u, r.reserved2);
    EXPECT_EQ(100, r.frameImageTransparency);
}

// Drawing straight onto a device context: a 45-degree gradient of the current record's
// first two background colours, and a black outline, both on the design rectangle only.
TEST(DesignLayerArray, DrawsOntoADeviceContext)
{
    DibSurface surface(120, 80, RGB(255, 255, 255));
    ASSERT_TRUE(surface.Valid());
    const HDC dc = surface.Hdc();
    auto at = [&](int x, int y) { return surface.Rgb(x, y); };
    auto clear = [&]() { surface.Clear(RGB(255, 255, 255)); };

    CLayerArray layers;
    layers.Reset(2);
    layers.SetCurrent(1);
    layers.SetBgColour1(RGB(255, 0, 0));
    layers.SetBgColour2(RGB(0, 0, 255));
    clear();
    layers.FillGradientOnDC(dc); // no design rectangle yet: nothing
    layers.DrawOutlineOnDC(dc, FALSE);
    EXPECT_EQ(0xFFFFFFu, at(60, 40));

    layers.SetRecordRects(CRect(10, 10, 110, 70), 400, 240);
    layers.FillGradientOnDC(dc);
    EXPECT_TRUE(ArgbNear(0xFFFF0000, 0xFF000000 | at(11, 11), 24)) << std::hex << at(11, 11);
    EXPECT_TRUE(ArgbNear(0xFF0000FF, 0xFF000000 | at(108, 68), 24)) << std::hex << at(108, 68);
    // At 45 degrees the colour changes along the diagonal, not along the other one.
    EXPECT_TRUE(ArgbNear(0xFF000000 | at(80, 20), 0xFF000000 | at(40, 60), 8));
    EXPECT_EQ(0xFFFFFFu, at(9, 40));
    EXPECT_EQ(0xFFFFFFu, at(110, 40));
    EXPECT_EQ(0xFFFFFFu, at(60, 9));
    EXPECT_EQ(0xFFFFFFu, at(60, 70));

    const struct
    {
        BYTE round;
        POINT black[2], white[2];
    } outlines[] = {
        {FALSE, {{10, 40}, {109, 69}}, {{60, 40}, {9, 9}}},
        {TRUE, {{10, 40}, {60, 10}}, {{11, 11}, {60, 40}}}, // the corners stay clear
    };
    for (const auto& o : outlines) {
        clear();
        layers.DrawOutlineOnDC(dc, o.round);
        for (const POINT& p : o.black)
            EXPECT_EQ(0u, at(p.x, p.y)) << (int)o.round << " at " << p.x << "," << p.y;
        for (const POINT& p : o.white)
            EXPECT_EQ(0xFFFFFFu, at(p.x, p.y)) << (int)o.round << " at " << p.x << "," << p.y;
    }
}

} // namespace

TEST(DesignLayerArray, NewArrayHoldsOneDefaultRecord)
{
    CLayerArray a;
    ASSERT_EQ(1, a.GetCount());
    EXPECT_EQ(0, a.GetCurrent());
    EXPECT_FALSE(a.IsFrameToolEnabled());
    ExpectDefaults(a.GetAt(0));
    EXPECT_TRUE(a.GetDesignRect().IsRectEmpty());
}

TEST(DesignLayerArray, ResetDeletesEveryOwnedObjectThenMakesDefaults)
{
    long layers = CImageLayer::GetLiveCount(), regions = CRegionData::GetLiveCount();
    {
        CLayerArray a;
        a.Reset(2);
        for (int i = 0; i < 2; i++) {
            a.SetCurrent(i);
            a.SetFrameImage(NewImage(i));
            a.SetTemplateImage(NewImage(i));
            a.SetBackgroundImage(NewImage(i));
            a.SetFrameFillImage(NewImage(i));
            a.SetRegion(NewRegion());
            a.SetFrameStyle(5);
            a.SetBgColour3(0x123456);
        }
        a.SetLayoutOverlay(NewImage(0));
        a.SetRecordRects(CRect(0, 0, 96, 96), 100, 100);
        EXPECT_EQ(layers + 9, CImageLayer::GetLiveCount());
        EXPECT_EQ(regions + 2, CRegionData::GetLiveCount());

        a.Reset(3);
        EXPECT_EQ(layers, CImageLayer::GetLiveCount());
        EXPECT_EQ(regions, CRegionData::GetLiveCount());
        ASSERT_EQ(3, a.GetCount());
        for (int i = 0; i < 3; i++)
            ExpectDefaults(a.GetAt(i));
        EXPECT_EQ(0, a.GetCurrent());
        EXPECT_EQ(0, a.GetPrintableWidth());
        EXPECT_EQ(NULL, a.GetLayoutOverlay());

        a.SetCurrent(1);
        a.SetBackgroundImage(NewImage(1));
    }
    // The destructor deletes what the records still own.
    EXPECT_EQ(layers, CImageLayer::GetLiveCount());
}

TEST(DesignLayerArray, CopyRecordGivesTheDestinationItsOwnCopies)
{
    long layers = CImageLayer::GetLiveCount();
    CLayerArray a;
    a.Reset(3);
    a.SetCurrent(0);
    a.SetFrameImage(NewImage(0));
    a.SetBackgroundImage(NewImage(0));
    a.SetBgColour2(0x0000FF);
    a.SetBgLinear(1);
    a.SetFrameStyle(7);
    a.SetFrameImageTransparency(40);
    a.GetAt(0).contentFlag = 1;
    a.SetCurrent(2);
    CRegionData* region = NewRegion();
    a.SetRegion(region);
    CImageLayer* fill = NewImage(2);
    a.SetFrameFillImage(fill);
    a.SetBackgroundImage(NewImage(2)); // replaced by the copy
    a.SetFrameImage(NewImage(2));      // replaced by the copy

    a.CopyRecord(0, 2);

    EXPECT_EQ(0, a.GetCurrent()); // the source is current again
    FrameRecord& s = a.GetAt(0);
    FrameRecord& d = a.GetAt(2);
    ASSERT_NE((CImageLayer*)NULL, d.frameImage);
    ASSERT_NE((CImageLayer*)NULL, d.backgroundImage);
    EXPECT_NE(s.frameImage, d.frameImage);
    EXPECT_NE(s.backgroundImage, d.backgroundImage);
    EXPECT_EQ(2, d.frameImage->m_frameIndex);
    EXPECT_EQ(2, d.backgroundImage->m_frameIndex);
    EXPECT_TRUE(d.backgroundImage->HasBitmap());
    EXPECT_EQ(NULL, d.templateImage);
    EXPECT_EQ(region, d.region);       // keeps its own region
    EXPECT_EQ(fill, d.frameFillImage); // and its own frame fill image
    EXPECT_EQ(0x0000FFu, d.bgColour2);
    EXPECT_EQ(1, d.bgLinear);
    EXPECT_EQ(7, d.frameStyle);
    EXPECT_EQ(40, d.frameImageTransparency);
    EXPECT_EQ(1, d.contentFlag);
    EXPECT_TRUE(a.RecordHasContent(2));
    EXPECT_FALSE(a.RecordHasContent(1));
    // 2 source images, 2 copies, the destination's fill image.
    EXPECT_EQ(layers + 5, CImageLayer::GetLiveCount());

    // Copying a record onto itself keeps its images and leaves it current.
    a.SetCurrent(1);
    a.SetTemplateImage(NewImage(2));
    CImageLayer* framed = a.GetAt(2).frameImage;
    a.CopyRecord(2, 2);
    EXPECT_EQ(2, a.GetCurrent());
    EXPECT_EQ(framed, a.GetAt(2).frameImage);
    ASSERT_NE((CImageLayer*)NULL, a.GetAt(2).templateImage);
    EXPECT_TRUE(a.GetAt(2).templateImage->HasBitmap());
    EXPECT_EQ(layers + 6, CImageLayer::GetLiveCount());
}

// A record that does not exist is neither read nor written: the records, their images and
// the current record stay as they were; a copy between existing records still works.
TEST(DesignLayerArray, CopyRecordOutsideTheRecordsCopiesNothing)
{
    const long layers = CImageLayer::GetLiveCount();
    CLayerArray a;
    a.Reset(2);
    for (int k = 0; k < 2; ++k) {
        a.SetCurrent(k);
        a.SetFrameImage(NewImage(k));
        a.SetBgColour1(k == 0 ? 0x0000FFu : 0x00FF00u);
        a.SetFrameStyle(k + 3);
    }
    a.SetCurrent(1);
    CImageLayer* kept[2] = {a.GetAt(0).frameImage, a.GetAt(1).frameImage};
    static const struct
    {
        int source, destination;
    } cases[] = {{0, 2}, {2, 0}, {-1, 1}, {1, -1}, {5, 7}, {0, 0x7FFFFFFF}};
    for (const auto& c : cases) {
        a.CopyRecord(c.source, c.destination);
        EXPECT_EQ(1, a.GetCurrent()) << c.source << " -> " << c.destination;
        EXPECT_EQ(2, a.GetCount());
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(kept[k], a.GetAt(k).frameImage) << c.source << " -> " << c.destination << ", record " << k;
            EXPECT_EQ(k == 0 ? 0x0000FFu : 0x00FF00u, a.GetAt(k).bgColour1) << "record " << k;
            EXPECT_EQ(k + 3, a.GetAt(k).frameStyle) << "record " << k;
        }
        EXPECT_EQ(layers + 2, CImageLayer::GetLiveCount());
    }
    // The positive control: the same records copy when both exist.
    a.CopyRecord(0, 1);
    EXPECT_EQ(0x0000FFu, a.GetAt(1).bgColour1);
    EXPECT_EQ(3, a.GetAt(1).frameStyle);
    ASSERT_NE((CImageLayer*)NULL, a.GetAt(1).frameImage);
    EXPECT_NE(kept[0], a.GetAt(1).frameImage);
    EXPECT_EQ(1, a.GetAt(1).frameImage->m_frameIndex) << "a copy of record 0's frame image";
}

TEST(DesignLayerArray, ImageOperations)
{
    CLayerArray a;
    a.Reset(3);
    a.SetCurrent(0);
    EXPECT_FALSE(a.DeleteFrameImage());
    EXPECT_FALSE(a.DeleteTemplateImage());
    EXPECT_FALSE(a.DeleteRegion());

    // Stored in the record its frame index names, whatever record is current.
    CImageLayer* framed = NewImage(2);
    a.SetFrameImage(framed);
    EXPECT_FALSE(a.HasFrameImage());
    EXPECT_EQ(framed, a.GetAt(2).frameImage);
    a.SetCurrent(2);
    EXPECT_TRUE(a.HasFrameImage());
    EXPECT_TRUE(a.DeleteFrameImage());
    EXPECT_FALSE(a.HasFrameImage());

    long before = CImageLayer::GetLiveCount();
    a.SetBackgroundImage(NewImage(2));
    a.SetBackgroundImage(NewImage(2)); // the first one is deleted
    EXPECT_EQ(before + 1, CImageLayer::GetLiveCount());
    a.SetBackgroundImage(NULL); // only deletes
    EXPECT_EQ(before, CImageLayer::GetLiveCount());
    EXPECT_FALSE(a.HasBackgroundImage());

    CRgn rgn;
    EXPECT_FALSE(a.GetRegionRgn(1, 2, 30, 40, &rgn));
    CRect box;
    rgn.GetRgnBox(&box);
    EXPECT_EQ(CRect(1, 2, 30, 40), box);
    a.SetRegion(NewRegion());
    CRgn scaled;
    EXPECT_TRUE(a.GetRegionRgn(100, 100, 120, 140, &scaled));
    scaled.GetRgnBox(&box);
    EXPECT_EQ(CRect(100, 100, 120, 140), box);
    EXPECT_TRUE(a.DeleteRegion());
}

TEST(DesignLayerArray, SetRecordRectsPlacesFrameAndTemplateImages)
{
    CLayerArray a;
    a.Reset(2);
    a.SetFrameImage(NewImage(1));
    a.SetTemplateImage(NewImage(0));
    a.SetRecordRects(CRect(10, 20, 300, 400), 771, 1066);
    EXPECT_EQ(771, a.GetAt(1).frameImage->m_areaWidth);
    EXPECT_EQ(1066, a.GetAt(0).templateImage->m_areaHeight);
    EXPECT_EQ(CRect(10, 20, 300, 400), a.GetAt(0).templateImage->m_designRect);
    EXPECT_EQ(CRect(10, 20, 300, 400), a.GetDesignRect());
}

TEST(DesignLayerArray, StepTowardNearer)
{
    EXPECT_EQ(6.0f, StepTowardNearer(1, 5, 0, 10)); // at the middle: upward
    EXPECT_EQ(3.0f, StepTowardNearer(1, 4, 0, 10));
}

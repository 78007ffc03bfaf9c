// Image layers: size from the file's resolution, fitting, drawing, hit tests, resizing,
// and layers whose bitmap is missing.
#include "design_fixture.h"
#include "base/Globals.h"
#include "model/design/ImageLayer.h"

#include <string.h>

using namespace Gdiplus;
using namespace design_test;

namespace {

ARGB Red(int, int) { return 0xFFFF0000; }

struct PrintFlags
{
    PrintFlags(int mirror, int printing)
    {
        SetGlobalValueA(mirror);
        SetGlobalValueC(printing);
    }
    ~PrintFlags()
    {
        SetGlobalValueA(0);
        SetGlobalValueC(0);
    }
};

std::vector<BYTE> Bytes(std::initializer_list<int> list)
{
    std::vector<BYTE> v;
    for (int b : list)
        v.push_back((BYTE)b);
    return v;
}

// JPEG start with one APP0 JFIF segment of the given units and density.
std::vector<BYTE> JfifHead(int units, int density)
{
    return Bytes(
        {0xFF, 0xD8,  0xFF,         0xE0,           0x00,         0x10,           'J',  'F',  'I',  'F',  0x00, 0x01,
         0x01, units, density >> 8, density & 0xFF, density >> 8, density & 0xFF, 0x00, 0x00, 0xFF, 0xDA, 0x00, 0x02});
}

// JPEG start with an EXIF block (little-endian TIFF) whose first directory holds
// one entry: XResolution = num / 1.
std::vector<BYTE> ExifHead(int num)
{
    std::vector<BYTE> tiff = Bytes({'I',  'I',  42, 0, 8, 0, 0, 0,              // header, directory at 8
                                    1,    0,                                    // one entry
                                    0x1A, 0x01, 5,  0, 1, 0, 0, 0, 26, 0, 0, 0, // XResolution, RATIONAL at 26
                                    0,    0,    0,  0,                          // no next directory
                                    num,  0,    0,  0, 1, 0, 0, 0});
    std::vector<BYTE> v = Bytes({0xFF, 0xD8, 0xFF, 0xE1, 0, (int)(2 + 6 + tiff.size()), 'E', 'x', 'i', 'f', 0, 0});
    v.insert(v.end(), tiff.begin(), tiff.end());
    v.insert(v.end(), {0xFF, 0xDA, 0x00, 0x02});
    return v;
}

std::vector<BYTE> BmpHead(int ppm)
{
    std::vector<BYTE> v(54, 0);
    v[0] = 'B';
    v[1] = 'M';
    v[14] = 40;
    memcpy(&v[38], &ppm, 4);
    return v;
}

// A layer of a w x h red image without resolution, placed on an area of areaW x areaH
// hundredths shown 96 pixels to the inch.
CImageLayer* RedLayer(int w, int h, int areaW = 400, int areaH = 300, unsigned ppm = 0)
{
    std::vector<BYTE> png = MakePng(w, h, Red, ppm);
    CImageLayer* layer = new CImageLayer;
    layer->SetPlacement(CRect(0, 0, areaW * 96 / 100, areaH * 96 / 100), areaW, areaH);
    EXPECT_TRUE(layer->LoadFromMemory(&png[0], png.size()));
    return layer;
}

} // namespace

TEST(DesignImageLayer, FileResolutionDetection)
{
    const struct
    {
        const char* what;
        std::vector<BYTE> bytes;
        bool has;
    } cases[] = {
        {"PNG without pHYs", MakePng(2, 2, Red), false},
        {"PNG with pHYs in metres", MakePng(2, 2, Red, 5906), true},
        {"JFIF without units", JfifHead(0, 1), false},
        {"JFIF in dots per inch", JfifHead(1, 300), true},
        {"JFIF in dots per cm", JfifHead(2, 118), true},
        {"JFIF dpi of 0", JfifHead(1, 0), false},
        {"EXIF resolution", ExifHead(72), true},
        {"EXIF resolution 0", ExifHead(0), false},
        {"BMP without pixels per metre", BmpHead(0), false},
        {"BMP with pixels per metre", BmpHead(3780), true},
        {"GIF", Bytes({'G', 'I', 'F', '8', '9', 'a', 0, 0}), false},
        {"truncated JPEG", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x7F}), false},
    };
    for (const auto& t : cases)
        EXPECT_EQ(t.has, ImageBytesHaveResolution(&t.bytes[0], t.bytes.size())) << t.what;
}

TEST(DesignImageLayer, PrintSizeFromPixelsAndResolution)
{
    const struct
    {
        unsigned ppm;
        float width, height;
        int dpi;
    } cases[] = {
        {0, 2.0f, 1.0f, 150},     // no resolution in the file: 150 per inch
        {11812, 1.0f, 0.5f, 300}, // 300 per inch
    };
    for (const auto& t : cases) {
        std::vector<BYTE> png = MakePng(300, 150, Red, t.ppm);
        std::string path = WriteTempFile("design_layer.png", png);
        CImageLayer layer; // no placement: fitting leaves the scale alone
        ASSERT_TRUE(layer.LoadFromFile(path.c_str()));
        EXPECT_TRUE(layer.m_loaded);
        EXPECT_NEAR(t.width, layer.m_printedWidth, 1e-3) << t.ppm;
        EXPECT_NEAR(t.height, layer.m_printedHeight, 1e-3) << t.ppm;
        EXPECT_EQ(t.dpi, layer.GetDpi());
        EXPECT_EQ(path.c_str(), CString(layer.m_filePath));
        ASSERT_NE((Bitmap*)NULL, layer.GetScreenCopy());
        EXPECT_EQ(1000u, layer.GetScreenCopy()->GetWidth());
        EXPECT_EQ(500u, layer.GetScreenCopy()->GetHeight());
        ASSERT_NE((Bitmap*)NULL, layer.GetThumbnail());
        EXPECT_EQ(125u, layer.GetThumbnail()->GetWidth());
        EXPECT_EQ(62u, layer.GetThumbnail()->GetHeight());
    }
}

TEST(DesignImageLayer, LoadFromFileFitsAndCentres)
{
    std::vector<BYTE> png = MakePng(300, 150, Red);
    std::string path = WriteTempFile("design_fit.png", png);
    CImageLayer layer;
    layer.SetPlacement(CRect(0, 0, 384, 288), 400, 300);
    ASSERT_TRUE(layer.LoadFromFile(path.c_str()));
    // 2 x 1 inch into 4 x 3: the width is the tighter side.
    EXPECT_NEAR(2.0f, layer.m_scale, 1e-4);
    EXPECT_DOUBLE_EQ(2.0, layer.m_centreX);
    EXPECT_DOUBLE_EQ(1.5, layer.m_centreY);
}

TEST(DesignImageLayer, FitToAreaFlagFollowsTheArea)
{
    CImageLayer* layer = RedLayer(37, 91);
    layer->m_fitToArea = true;
    layer->m_scale = 3.0f;
    layer->UpdatePrintSize(0.1f);
    EXPECT_NEAR(3.857f, layer->m_printedWidth, 1e-3);
    EXPECT_NEAR(2.842f, layer->m_printedHeight, 1e-3);
    EXPECT_EQ(1.0f, layer->m_scale);
    delete layer;
}

TEST(DesignImageLayer, DrawsAtItsPlaceWithItsTransparency)
{
    const struct
    {
        int transparency;
        int alpha;
    } cases[] = {{100, 255}, {50, 127}, {0, 0}};
    for (const auto& t : cases) {
        CImageLayer* layer = RedLayer(300, 150); // 2 x 1 inch
        layer->SetCentre(1.5, 1.0);
        layer->m_transparency = t.transparency;
        Canvas c(288, 192);
        layer->Draw(&c.graphics, 0.0f, 0.0f, 0.0f, 0);
        ARGB mid = c.At(144, 96);
        EXPECT_NEAR(t.alpha, (int)(mid >> 24), 1) << t.transparency;
        if (t.alpha) {
            EXPECT_EQ(0xFF0000u, mid & 0xFFFFFF);
        }
        if (t.transparency == 100) {
            RECT r = PaintedBounds(c.bitmap);
            EXPECT_NEAR(48, r.left, 1); // 0.5 to 2.5 inches
            EXPECT_NEAR(240, r.right, 1);
            EXPECT_NEAR(48, r.top, 1); // 0.5 to 1.5 inches
            EXPECT_NEAR(144, r.bottom, 1);
        }
        delete layer;
    }
}

TEST(DesignImageLayer, DimmedDrawsAtSeventyPercent)
{
    CImageLayer* layer = RedLayer(300, 150);
    layer->SetCentre(1.0, 0.5);
    layer->m_dim = true;
    Canvas c(192, 96);
    layer->Draw(&c.graphics, 0.0f, 0.0f, 0.0f, 0);
    EXPECT_TRUE(ArgbNear(0xFFB20000, c.At(96, 48), 1));
    delete layer;
}

TEST(DesignImageLayer, MirroredOnlyWhenPrintingWithTheMirrorFlag)
{
    const struct
    {
        int mirror, printing;
        int left, right;
    } cases[] = {
        {1, 0, 0, 96}, // screen: at 0.5 inch, 1 inch wide
        {0, 1, 0, 96},
        {1, 1, 288, 384}, // mirrored in an area 4 inches wide: centre at 3.5 inches
    };
    for (const auto& t : cases) {
        PrintFlags flags(t.mirror, t.printing);
        CImageLayer* layer = RedLayer(150, 150); // 1 x 1 inch
        layer->SetCentre(0.5, 0.5);
        Canvas c(384, 96);
        layer->Draw(&c.graphics, 0.0f, 0.0f, 0.0f, 0);
        RECT r = PaintedBounds(c.bitmap);
        EXPECT_NEAR(t.left, r.left, 1) << t.mirror << t.printing;
        EXPECT_NEAR(t.right, r.right, 1) << t.mirror << t.printing;
        // A draw while printing makes a print copy at 200 pixels per inch.
        EXPECT_EQ(t.printing ? 200u : 0u, layer->GetPrintCopy() ? layer->GetPrintCopy()->GetWidth() : 0u);
        delete layer;
    }
}

TEST(DesignImageLayer, HitTestInViewPixels)
{
    CImageLayer* layer = RedLayer(300, 150); // 2 x 1 inch about (2, 1.5)
    layer->CentreInArea();
    layer->m_angle = 90.0f; // now 1 wide, 2 high
    layer->UpdatePrintSize(0.0f);
    const struct
    {
        int x, y;
        bool hit;
    } cases[] = {{192, 144, true}, {192, 60, true}, {130, 144, false}, {250, 144, false}, {192, 40, false}};
    for (const auto& t : cases)
        EXPECT_EQ(t.hit, layer->HitTest(t.x, t.y, 96.0f)) << t.x << "," << t.y;
    layer->UpdateOutlinePath(96.0f, 10, 20);
    RectF box;
    layer->GetOutlinePath()->GetBounds(&box);
    EXPECT_NEAR(10 + 144, box.X, 1);
    EXPECT_NEAR(20 + 48, box.Y, 1);
    delete layer;
}

TEST(DesignImageLayer, ScaleFromHandleKeepsTheAnchor)
{
    const struct
    {
        int anchor;
        int corner; // index of the corner that stays: 0 top-left, 2 bottom-right
    } cases[] = {{0, 0}, {4, 2}};
    for (const auto& t : cases) {
        CImageLayer* layer = RedLayer(300, 150);
        layer->CentreInArea();
        layer->UpdatePrintSize(0.0f);
        PointF before = layer->GetCorners()[t.corner];
        layer->ScaleFromHandle(2.0f, t.anchor);
        layer->UpdatePrintSize(0.0f);
        PointF after = layer->GetCorners()[t.corner];
        EXPECT_NEAR(before.X, after.X, 1e-4) << t.anchor;
        EXPECT_NEAR(before.Y, after.Y, 1e-4) << t.anchor;
        EXPECT_NEAR(4.0f, layer->m_printedWidth, 1e-4);
        delete layer;
    }
}

TEST(DesignImageLayer, ResizeNeverGoesBelowOneViewPixel)
{
    CImageLayer* layer = RedLayer(300, 150); // 96 view pixels per inch
    for (float factor : {0.001f, 0.0f, -2.0f, 1e-30f}) {
        layer->ScaleFromHandle(factor, 4);
        layer->UpdatePrintSize(0.0f);
        EXPECT_GE(layer->m_printedHeight * 96.0f, 0.999f) << factor;
        EXPECT_GT(layer->GetDpi(), 0) << factor;
    }
    delete layer;
}

TEST(DesignImageLayer, LayerWithoutBitmapIsSkippedAndKeepsItsValues)
{
    CImageLayer layer;
    layer.SetPlacement(CRect(0, 0, 384, 288), 400, 300);
    EXPECT_FALSE(layer.LoadFromFile("design_no_such_file.png"));
    std::vector<BYTE> junk(64, 0x5A);
    EXPECT_FALSE(layer.LoadFromMemory(&junk[0], junk.size()));
    EXPECT_FALSE(layer.m_loaded);
    layer.m_scale = 0.7f;
    layer.m_angle = 30.0f;
    layer.SetCentre(1.25, 2.5);
    layer.m_transparency = 40;

    Canvas c(64, 64);
    layer.Draw(&c.graphics, 0.0f, 0.0f, 0.0f, 0);
    layer.UpdatePrintSize(0.0f);
    layer.FitToArea();
    layer.ScaleFromHandle(2.0f, 0);
    layer.BuildThumbnail();
    layer.BuildScreenCopy();
    layer.BuildPrintCopy(300.0f);
    EXPECT_EQ(0, layer.GetDpi());
    EXPECT_FALSE(layer.HitTest(0, 0, 96.0f));
    EXPECT_FALSE(layer.HitTest(120, 240, 96.0f));
    RECT r = PaintedBounds(c.bitmap);
    EXPECT_EQ(0, r.right - r.left);
    EXPECT_EQ(0.7f, layer.m_scale);
    EXPECT_EQ(30.0f, layer.m_angle);
    EXPECT_DOUBLE_EQ(1.25, layer.m_centreX);
    EXPECT_DOUBLE_EQ(2.5, layer.m_centreY);
    EXPECT_EQ(40, layer.m_transparency);
}

TEST(DesignImageLayer, CopyToMakesIndependentBitmaps)
{
    CImageLayer* source = RedLayer(300, 150);
    source->m_frameIndex = 3;
    source->m_dim = true;
    source->m_angle = 12.0f;
    CImageLayer copy;
    source->CopyTo(&copy);
    EXPECT_EQ(3, copy.m_frameIndex);
    EXPECT_EQ(12.0f, copy.m_angle);
    EXPECT_FALSE(copy.m_dim);
    ASSERT_TRUE(copy.HasBitmap());
    EXPECT_NE(source->GetMasterBitmap(), copy.GetMasterBitmap());
    EXPECT_NE(source->GetScreenCopy(), copy.GetScreenCopy());
    EXPECT_EQ(150.0f, copy.GetMasterBitmap()->GetHorizontalResolution());
    delete source;
    copy.UpdatePrintSize(0.0f);
    EXPECT_NEAR(2.0f, copy.m_printedWidth, 1e-4);
}

TEST(DesignImageLayer, TakingBackItsOwnBitmapKeepsTheImage)
{
    // An image edited in place comes back as the layer's own master bitmap.
    for (bool refresh : {false, true}) {
        CImageLayer* layer = RedLayer(300, 150);
        Bitmap* own = layer->GetMasterBitmap();
        own->SetPixel(0, 0, Color(255, 0, 0, 255));
        if (refresh)
            EXPECT_EQ(0, layer->Refresh(own));
        else
            layer->SetBitmap(own);
        ASSERT_TRUE(layer->HasBitmap()) << refresh;
        Color c;
        layer->GetMasterBitmap()->GetPixel(0, 0, &c);
        EXPECT_EQ(0xFF0000FFu, c.GetValue()) << refresh;
        layer->GetMasterBitmap()->GetPixel(299, 149, &c);
        EXPECT_EQ(0xFFFF0000u, c.GetValue()) << refresh;
        EXPECT_EQ(300u, layer->GetMasterBitmap()->GetWidth()) << refresh;
        ASSERT_NE((Bitmap*)NULL, layer->GetScreenCopy()) << refresh;
        EXPECT_EQ(1000u, layer->GetScreenCopy()->GetWidth()) << refresh;
        delete layer;
    }
}

TEST(DesignImageLayer, BitmapResourceBecomesAMask)
{
    // Bitmap 31901 of the tests: 4 x 2, black on the left half, grey on the right.
    CImageLayer layer;
    layer.SetPlacement(CRect(0, 0, 192, 96), 200, 100);
    ASSERT_TRUE(layer.LoadMaskFromResource(31901));
    EXPECT_TRUE(layer.m_fitToArea);
    EXPECT_TRUE(layer.m_loaded);
    EXPECT_DOUBLE_EQ(1.0, layer.m_centreX);
    Color c;
    layer.GetMasterBitmap()->GetPixel(0, 0, &c);
    EXPECT_EQ(0x00FFFFFFu, c.GetValue());
    layer.GetMasterBitmap()->GetPixel(3, 1, &c);
    EXPECT_EQ(0xFFFFFFFFu, c.GetValue());
    EXPECT_FALSE(layer.LoadMaskFromResource(31999));
}

TEST(DesignImageLayer, LoadFromStreamKeepsTheStoredPlacement)
{
    std::vector<BYTE> png = MakePng(300, 150, Red);
    IStream* stream = NULL;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(NULL, TRUE, &stream));
    stream->Write(&png[0], (ULONG)png.size(), NULL);
    LARGE_INTEGER zero = {};
    stream->Seek(zero, STREAM_SEEK_SET, NULL);
    CImageLayer layer;
    layer.SetPlacement(CRect(0, 0, 384, 288), 400, 300);
    layer.m_filePath = "C:\\old.png";
    layer.m_scale = 0.5f;
    ASSERT_TRUE(layer.LoadFromStream(stream));
    stream->Release(); // the layer's bitmap must not depend on the stream
    EXPECT_TRUE(layer.m_filePath.IsEmpty());
    EXPECT_TRUE(layer.m_loaded);
    EXPECT_EQ(0.5f, layer.m_scale);
    EXPECT_DOUBLE_EQ(3.75, layer.m_centreX);
    EXPECT_NEAR(1.0f, layer.m_printedWidth, 1e-4);
    Color c;
    layer.GetMasterBitmap()->GetPixel(299, 149, &c);
    EXPECT_EQ(0xFFFF0000u, c.GetValue());
}

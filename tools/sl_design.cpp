// Writes the design files the scripts check and describes a design file as plain text, so
// that a design written by one build (32- or 64-bit) can be compared with what another reads.
// Usage: sl_design write-empty <file>
//        sl_design write-rich <file>
//        sl_design write-one-image <file>
//        sl_design write-banded-image <file>
//        sl_design write-cells <file>
//        sl_design describe <file>
// "write-one-image" is layout 2 with one image layer of 300 x 200 pixels of the colour
// (200, 40, 40), centred; "write-banded-image" is layout 2 on a pale yellow background with
// one image layer of 300 x 200 pixels at 150 dpi in red and blue bands of 20 pixels, its
// centre at (2, 2.5) inches: the designs the program scripts open and drag about.
// "write-cells" is layout 10 with one design per cell, cell k filled with the solid colour
// RGB(20k + 10, 100, 230 - 20k) and cell 0 holding the one-image layer: the design the
// clone and design selection panels are driven on.
// "describe" prints the layout, the frame records (their stored form), every image layer and
// text item with what placement and pixels it has; two builds that read a file alike print
// the same text.  Exit code 0 on success, 1 when the file cannot be written or read.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <vector>

#include "base/ComOwner.h"
#include "base/Globals.h"
#include "digest/crc32.h"
#include "model/ktb/DesignFile.h"
#include "model/design/ImageLayer.h"
#include "model/design/ImageLayerList.h"
#include "model/design/LayerArray.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "model/design/RegionData.h"
#include "model/design/TextItem.h"
#include "model/design/TextItemList.h"

using namespace Gdiplus;

namespace {

void FillCatalogues()
{
    if (GetGlobalObjectB()->GetCount() == 0)
        GetGlobalObjectB()->AddOversizedPapers();
    if (GetGlobalObjectA()->GetCount() == 0)
        GetGlobalObjectA()->AddBuiltInLayouts();
}

// A design outside any document, on a layout of the catalogue.
struct Design
{
    explicit Design(int layoutId)
    {
        FillCatalogues();
        if (const CPaperLayout* known = GetGlobalObjectA()->Lookup((WORD)layoutId))
            layout.CopyFrom(*known);
    }
    DesignParts Parts()
    {
        DesignParts p = {&layers, &images, &texts, &layout, nullptr, mirror};
        return p;
    }
    CLayerArray layers;
    CImageLayerList images;
    CTextItemList texts;
    CPaperLayout layout;
    int mirror = 0;
};

ARGB Checker(int x, int y) { return ((x + y) & 1) ? 0xFF2040E0 : 0x80FFD000; }
ARGB Stripes(int x, int y) { return (y % 3) ? 0xFF10A010 : 0x40000000 | (DWORD)(x * 40); }
ARGB Bands(int x, int y) { return (x / 20 + y / 20) % 2 ? 0xFFD02030 : 0xFF2050D0; }

// A w x h image of a pattern, handed to a layer as PNG bytes (as a file would be); with
// dpi > 0 the PNG states that resolution.
CImageLayer* NewLayer(int frame, int w, int h, ARGB (*pattern)(int x, int y), float dpi = 0)
{
    Bitmap bitmap(w, h, PixelFormat32bppARGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bitmap.SetPixel(x, y, Color(pattern(x, y)));
    if (dpi > 0)
        bitmap.SetResolution(dpi, dpi);
    CLSID png;
    if (GetEncoderClsid(L"image/png", &png) < 0)
        return nullptr;
    ComOwner<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
    CImageLayer* layer = new CImageLayer();
    bool loaded = false;
    if (stream && bitmap.Save(stream, &png, nullptr) == Ok) {
        LARGE_INTEGER zero = {};
        stream->Seek(zero, STREAM_SEEK_SET, nullptr);
        loaded = layer->LoadFromStream(stream);
    }
    if (!loaded) {
        delete layer;
        return nullptr;
    }
    layer->m_frameIndex = frame;
    return layer;
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

// Layout 10 with one design per cell: three layers, two texts (an arc, a bubble with an
// image fill), frame records with a border style, images in every slot and a region.
bool BuildRich(Design& d)
{
    d.layout.SetOneDesignPerCell(1);
    d.layers.Reset(d.layout.GetItemCount());
    const float angles[] = {15.0f, -30.0f, 90.0f};
    const float scales[] = {0.5f, 1.25f, 2.0f};
    const int transparencies[] = {100, 40, 75};
    const int frames[] = {0, 1, 0};
    for (int i = 0; i < 3; ++i) {
        CImageLayer* l = NewLayer(frames[i], 6 + i, 3 + i, i == 1 ? Stripes : Checker);
        if (!l)
            return false;
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
        r.frameImage = NewLayer(k, 6, 3, Checker);
        r.backgroundImage = NewLayer(k, 6, 3, Stripes);
        r.frameFillImage = NewLayer(k, 6, 3, Checker);
        r.templateImage = NewLayer(k, 6, 3, Stripes);
        r.region = NewRegion(3 + k);
        if (!r.frameImage || !r.backgroundImage || !r.frameFillImage || !r.templateImage)
            return false;
    }
    return true;
}

// CRC-32 of a bitmap's pixels as 32-bit ARGB, row by row, with its size.
void PrintPixels(const char* what, Bitmap* bitmap)
{
    if (bitmap == nullptr) {
        std::printf("%s none\n", what);
        return;
    }
    DWORD crc = 0xFFFFFFFF;
    for (UINT y = 0; y < bitmap->GetHeight(); ++y)
        for (UINT x = 0; x < bitmap->GetWidth(); ++x) {
            Color c;
            bitmap->GetPixel(x, y, &c);
            ARGB v = c.GetValue();
            CCrc32::UpdateCrc32(reinterpret_cast<const uint8_t*>(&v), sizeof v, crc);
        }
    std::printf("%s %ux%u crc %08lX\n", what, bitmap->GetWidth(), bitmap->GetHeight(), (unsigned long)~crc);
}

void PrintLayer(const char* what, const CImageLayer* l)
{
    if (l == nullptr) {
        std::printf("%s none\n", what);
        return;
    }
    std::printf("%s frame %d centre %.4f %.4f scale %.4f angle %.4f transparency %d\n", what, l->m_frameIndex,
                l->m_centreX, l->m_centreY, (double)l->m_scale, (double)l->m_angle, l->m_transparency);
    PrintPixels("  pixels", l->GetMasterBitmap());
}

// The records of "CakeData" that the design gives when written again: the same text on two
// builds means they read every frame record, layer and text alike.
bool PrintRewritten(Design& d)
{
    ComOwner<ILockBytes> lock;
    ComOwner<IStorage> storage;
    if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, lock.Put())))
        return false;
    HRESULT hr =
        StgCreateDocfileOnILockBytes(lock, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage.Put());
    DesignParts parts = d.Parts();
    if (SUCCEEDED(hr))
        hr = WriteDesign(storage, parts);
    ComOwner<IStream> records;
    if (SUCCEEDED(hr))
        hr = storage->OpenStream(L"CakeData", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, records.Put());
    if (SUCCEEDED(hr)) {
        DWORD crc = 0xFFFFFFFF;
        ULONG total = 0, got = 0;
        BYTE chunk[4096];
        while (SUCCEEDED(records->Read(chunk, sizeof chunk, &got)) && got > 0) {
            CCrc32::UpdateCrc32(chunk, got, crc);
            total += got;
        }
        std::printf("records %lu bytes crc %08lX\n", (unsigned long)total, (unsigned long)~crc);
    }
    return SUCCEEDED(hr);
}

int Describe(LPCTSTR path)
{
    CDesignContent content;
    DesignReadResult result = ReadDesignFile(path, content);
    if (result != kDesignRead) {
        std::fprintf(stderr, "sl_design: %s cannot be read (%d)\n", path, (int)result);
        return 1;
    }
    Design d(2);
    DesignParts parts = d.Parts();
    std::printf("version %s\n", (LPCTSTR)content.version);
    MoveDesignInto(content, parts, CRect(125, 25, 825, 375));
    std::printf("layout %s\nmirror %d\nframes %d\n", (LPCTSTR)d.layout.FormatCsv(), d.mirror, d.layers.GetCount());
    for (int k = 0; k < d.layers.GetCount(); ++k) {
        FrameRecord& r = d.layers.GetAt(k);
        std::printf("frame %d region %lu bytes\n", k, r.region ? (unsigned long)r.region->GetSize() : 0ul);
        PrintLayer(" frame image", r.frameImage);
        PrintLayer(" background image", r.backgroundImage);
        PrintLayer(" frame fill image", r.frameFillImage);
        PrintLayer(" template image", r.templateImage);
    }
    std::printf("images %d\n", (int)d.images.GetCount());
    for (POSITION p = d.images.GetHeadPosition(); p;) {
        CImageLayerPair pair = d.images.GetNext(p);
        PrintLayer("image", pair.layer);
    }
    std::printf("texts %d\n", (int)d.texts.GetCount());
    for (POSITION p = d.texts.GetHeadPosition(); p;) {
        CTextItemPair pair = d.texts.GetNext(p);
        const CTextItem* t = pair.item;
        std::printf("text frame %d \"%s\" face \"%s\" size %d arc %d below %d radius %.4f bubble %d fill %d\n",
                    pair.frame, (LPCTSTR)t->m_text, (LPCTSTR)t->m_fontFace, t->m_fontSize, t->m_arcLayout,
                    t->m_arcBelow, (double)t->m_arcRadius, t->m_bubbleKind, t->m_fillKind);
        PrintPixels("  fill image", t->GetFillImage());
    }
    return PrintRewritten(d) ? 0 : 1;
}

// Layout 2 with one image layer of 300 x 200 pixels of one colour, centred in the area.
bool BuildOneImage(Design& d)
{
    Bitmap bitmap(300, 200, PixelFormat32bppARGB);
    {
        Graphics g(&bitmap);
        g.Clear(Color(255, 200, 40, 40));
    }
    CImageLayer* layer = new CImageLayer;
    layer->SetBitmap(&bitmap);
    const CSize area = d.layout.GetPrintableRect();
    layer->SetPlacement(CRect(0, 0, area.cx, area.cy), area.cx, area.cy);
    layer->CentreInArea();
    d.images.Add(layer);
    return true;
}

// Layout 2 on a pale yellow background with one image layer of 300 x 200 pixels at 150
// dpi (2 x 1.33 inches) in bands, its centre at (2, 2.5) inches.
bool BuildBandedImage(Design& d)
{
    CImageLayer* layer = NewLayer(0, 300, 200, Bands, 150);
    if (layer == nullptr)
        return false;
    layer->m_centreX = 2.0;
    layer->m_centreY = 2.5;
    d.images.Add(layer);
    d.layers.GetAt(0).bgColour1 = 0x0080FFFF;
    return true;
}

// Layout 10, one design per cell: a solid colour of its own in every cell, and in cell 0
// one image layer of 300 x 200 pixels of (200, 40, 40), centred.
bool BuildCells(Design& d)
{
    d.layout.SetOneDesignPerCell(1);
    d.layers.Reset(d.layout.GetItemCount());
    for (int k = 0; k < d.layers.GetCount(); ++k)
        d.layers.GetAt(k).bgColour1 = RGB(20 * k + 10, 100, 230 - 20 * k);
    return BuildOneImage(d);
}

int Write(LPCTSTR path, int layoutId, bool (*build)(Design&))
{
    Design d(layoutId);
    if (build != nullptr && !build(d)) {
        std::fprintf(stderr, "sl_design: the design's images could not be made\n");
        return 1;
    }
    DesignParts parts = d.Parts();
    HRESULT hr = SaveDesignFile(path, parts);
    if (FAILED(hr)) {
        std::fprintf(stderr, "sl_design: %s not written (0x%08lX)\n", path, (unsigned long)hr);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: sl_design write-empty|write-rich|write-one-image|write-banded-image|write-cells|"
                             "describe <file>\n");
        return 2;
    }
    const ComScope com = EnsureCom();
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    GdiplusStartup(&token, &input, nullptr);
    int rc = 2;
    if (strcmp(argv[1], "write-empty") == 0)
        rc = Write(argv[2], 2, nullptr);
    else if (strcmp(argv[1], "write-rich") == 0)
        rc = Write(argv[2], 10, BuildRich);
    else if (strcmp(argv[1], "write-one-image") == 0)
        rc = Write(argv[2], 2, BuildOneImage);
    else if (strcmp(argv[1], "write-banded-image") == 0)
        rc = Write(argv[2], 2, BuildBandedImage);
    else if (strcmp(argv[1], "write-cells") == 0)
        rc = Write(argv[2], 10, BuildCells);
    else if (strcmp(argv[1], "describe") == 0)
        rc = Describe(argv[2]);
    else
        std::fprintf(stderr, "sl_design: unknown command %s\n", argv[1]);
    GdiplusShutdown(token);
    return rc;
}

// Rendering benchmark: a rich design (radial background, tiled background image, a
// gradient-filled scalloped frame, 10 rotated translucent image layers of 2000 x 1500
// pixels, 10 texts on arcs or speech bubbles with outlines) drawn 50 times into a
// 1920 x 1080 ARGB bitmap, at screen quality, at display quality and as for print.
// Prints the milliseconds per frame of each.
#include "base/Globals.h"
#include "model/design/DesignLayers.h"
#include "model/design/ImageLayer.h"
#include "model/design/ImageLayerList.h"
#include "model/design/LayerArray.h"
#include "model/design/TextItemList.h"

#include <stdio.h>

using namespace Gdiplus;

namespace {

const int kFrames = 50;
const int kWidth = 1920, kHeight = 1080;
const int kAreaW = 750, kAreaH = 1000; // hundredths of an inch

// A photograph-like test image: a gradient with circles.
Bitmap* MakePhoto(int w, int h, int seed)
{
    Bitmap* b = new Bitmap(w, h, PixelFormat32bppARGB);
    Graphics g(b);
    LinearGradientBrush back(Rect(0, 0, w, h), Color(255, (BYTE)(40 * seed), 120, 200),
                             Color(255, 250, 200, (BYTE)(25 * seed)), 30.0f + seed * 10, TRUE);
    g.FillRectangle(&back, 0, 0, w, h);
    for (int i = 0; i < 40; i++) {
        SolidBrush dot(Color(200, (BYTE)(i * 6), (BYTE)(255 - i * 5), (BYTE)(seed * 20 + i)));
        g.FillEllipse(&dot, (i * 97 + seed * 31) % w, (i * 53 + seed * 17) % h, 120 + i * 3, 120 + i * 3);
    }
    b->SetResolution(300, 300);
    return b;
}

struct Design
{
    CLayerArray frames;
    CImageLayerList layers;
    CTextItemList texts;
};

void Build(Design& d, CRect designRect)
{
    d.frames.SetRecordRects(designRect, kAreaW, kAreaH);
    d.frames.SetBgRadial(1);
    d.frames.SetBgColour1(0x3050F0);
    d.frames.SetBgColour2(0xF0A030);
    d.frames.SetBgColour3(0x30C040);
    d.frames.SetBgColour4(0xC030C0);
    d.frames.SetBgColour5(0xFFFFFF);
    CImageLayer* tile = new CImageLayer;
    Bitmap* tileBits = MakePhoto(300, 300, 9);
    tile->SetBitmap(tileBits);
    delete tileBits;
    d.frames.SetBackgroundImage(tile);
    d.frames.SetBgTileScale(0.5f);
    d.frames.SetBgTileRotation(15);
    d.frames.SetBgTileTransparency(40);
    d.frames.SetFrameStyle(7);
    d.frames.SetFrameFillStyle(2);
    d.frames.SetFrameFillAngle(45);
    d.frames.SetFrameSize(0.3f);
    d.frames.SetFrameIntensity(0.2f);
    d.frames.SetFrameColour1(0x2020C0);
    d.frames.SetFrameColour2(0xC0C020);
    d.frames.SetFrameColour3(0x20C0C0);
    d.frames.SetFrameColour4(0xC020C0);
    d.frames.SetFrameColour5(0x808080);

    for (int i = 0; i < 10; i++) {
        CImageLayer* layer = new CImageLayer;
        layer->SetPlacement(designRect, kAreaW, kAreaH);
        Bitmap* photo = MakePhoto(2000, 1500, i);
        layer->SetBitmap(photo);
        delete photo;
        layer->m_scale = 0.5f;
        layer->m_angle = (float)(i * 17 % 90) - 45.0f;
        layer->m_transparency = 50 + i * 5;
        layer->SetCentre(1.0 + (i % 4) * 1.8, 1.5 + (i / 4) * 3.0);
        layer->m_frameIndex = 0;
        d.layers.Add(layer);
    }
    for (int i = 0; i < 10; i++) {
        CTextItem* t = new CTextItem;
        t->m_text = "Happy Birthday";
        t->m_fontSize = 30 + i * 4;
        t->SetPrintableSize(kAreaW / 100.0f, kAreaH / 100.0f);
        t->m_position = PointF(1.5f + (i % 3) * 2.2f, 1.0f + i * 0.85f);
        t->m_rotation = (float)(i * 7);
        t->m_outlineSize = 3;
        t->m_outlineColour[0] = 0x202020;
        t->m_fillKind = 1 + i % 3;
        t->m_fillColour[0] = 0x2080FF;
        t->m_fillColour[1] = 0xFF8020;
        if (i % 2 == 0) {
            t->m_arcLayout = 1;
            t->m_arcRadius = 1.5f + i * 0.2f;
        } else {
            t->m_bubbleKind = 1 + (i / 2) % 2;
            t->m_bubbleTailPosition = 1 + i % 8;
        }
        d.texts.AddPair(t);
    }
}

double g_parts[5];

double Now()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)f.QuadPart;
}

// One frame as the view paints it: background, image layers, frame image, frames,
// texts; the design area fitted to the bitmap's height and centred.
void DrawFrame(Design& d, Graphics& g, BOOL printing)
{
    DrawWithCurrentStyle(&g, printing);
    g.Clear(Color(255, 64, 64, 64));
    g.ResetTransform();
    g.SetPageUnit(UnitInch);
    float ppi = kHeight / (kAreaH / 100.0f);
    g.SetPageScale(ppi / 96.0f);
    float x0 = (kWidth / ppi - kAreaW / 100.0f) / 2.0f;
    g.TranslateTransform(x0, 0);
    g.SetClip(RectF(0, 0, kAreaW / 100.0f, kAreaH / 100.0f));
    DesignParts parts;
    parts.records = &d.frames;
    parts.images = &d.layers;
    parts.texts = &d.texts;
    DesignLayerOptions shown;
    shown.layers = kLayerBackground | kLayerImages | kLayerFrameImage | kLayerFrames | kLayerTexts;
    shown.origin = PointF(x0, 0);
    // The time of each part: background, image layers, frame image and frames, texts.
    double t = Now();
    shown.afterStep = [&](DesignLayer step) {
        int part = step == kLayerBackground ? 0
                   : step == kLayerImages   ? 1
                   : step == kLayerFrames   ? 2
                   : step == kLayerTexts    ? 3
                                            : -1;
        if (part < 0)
            return;
        if (step == kLayerTexts)
            g.Flush(FlushIntentionSync);
        double now = Now();
        g_parts[part] += now - t;
        t = now;
    };
    DrawDesignLayers(&g, parts, shown);
    g.ResetClip();
}

double Measure(Design& d, Bitmap& target, BOOL displayMode, BOOL printing)
{
    SetDisplayMode(displayMode);
    SetGlobalValueC(printing);
    if (printing)
        d.layers.BuildPrintCopies();
    Graphics g(&target);
    DrawFrame(d, g, printing); // warm-up
    for (double& p : g_parts)
        p = 0;
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < kFrames; i++)
        DrawFrame(d, g, printing);
    QueryPerformanceCounter(&t1);
    if (printing)
        d.layers.FreePrintCopies();
    SetGlobalValueC(0);
    SetDisplayMode(FALSE);
    printf("  (background %.2f, image layers %.2f, frames %.2f, texts %.2f ms)\n", g_parts[0] / kFrames,
           g_parts[1] / kFrames, g_parts[2] / kFrames, g_parts[3] / kFrames);
    return (double)(t1.QuadPart - t0.QuadPart) * 1000.0 / (double)freq.QuadPart / kFrames;
}

} // namespace

int main(int argc, char** argv)
{
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, NULL) != Ok) {
        fprintf(stderr, "render_bench: GDI+ did not start\n");
        return 1;
    }
    int result = 0;
    {
        Bitmap target(kWidth, kHeight, PixelFormat32bppARGB);
        target.SetResolution(96, 96);
        float ppi = kHeight / (kAreaH / 100.0f);
        int w = (int)(kAreaW / 100.0f * ppi);
        CRect designRect((kWidth - w) / 2, 0, (kWidth - w) / 2 + w, kHeight);
        Design d;
        Build(d, designRect);
        printf("render_bench: %d frames of %d x %d, 10 image layers of 2000 x 1500, 10 texts\n", kFrames, kWidth,
               kHeight);
        printf("screen quality:  %8.2f ms per frame\n", Measure(d, target, FALSE, FALSE));
        printf("display quality: %8.2f ms per frame\n", Measure(d, target, TRUE, FALSE));
        printf("print:           %8.2f ms per frame\n", Measure(d, target, TRUE, TRUE));
        if (argc > 1) {
            // Optional: save the last frame as PNG to look at it.
            CLSID png;
            if (GetEncoderClsid(L"image/png", &png) >= 0) {
                Graphics g(&target);
                DrawFrame(d, g, FALSE);
                if (target.Save(CStringW(argv[1]), &png, NULL) != Ok)
                    result = 2;
            }
        }
    }
    GdiplusShutdown(token);
    return result;
}

// A design that uses every layer kind at once, each in colours of its own and laid over
// the others (gradient background, a turned half-transparent image, a frame image, a
// scalloped band, a plain and a bubbled text, a template and the layout overlay): the
// canvas, the printed page and the paper preview keep their pixels exactly, whatever
// their drawing code is rearranged into.
#pragma once

#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/design/TextItem.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"

#include <objidl.h>
#include <gdiplus.h>

namespace rich_design {

// A w x h ARGB bitmap at 96 pixels per inch, cleared to clear, with draw() painting on it.
template <class Paint> Gdiplus::Bitmap* MakeBitmap(int w, int h, Gdiplus::ARGB clear, Paint draw)
{
    Gdiplus::Bitmap* b = new Gdiplus::Bitmap(w, h, PixelFormat32bppARGB);
    b->SetResolution(96, 96);
    Gdiplus::Graphics g(b);
    g.Clear(Gdiplus::Color(clear));
    draw(g);
    return b;
}

// An image layer of record frame holding the bitmap (which it takes), placed in an area
// of area hundredths of an inch shown in designRect.
inline CImageLayer* MakeLayer(Gdiplus::Bitmap* bitmap, int frame, const CRect& designRect, CSize area)
{
    CImageLayer* layer = new CImageLayer;
    layer->SetBitmap(bitmap);
    delete bitmap;
    layer->m_frameIndex = frame;
    layer->SetPlacement(designRect, area.cx, area.cy);
    return layer;
}

// The same, stretched over the whole area as the record's own images are.
inline CImageLayer* MakeFittedLayer(Gdiplus::Bitmap* bitmap, int frame, const CRect& designRect, CSize area)
{
    CImageLayer* layer = MakeLayer(bitmap, frame, designRect, area);
    layer->m_fitToArea = true;
    layer->CentreInArea();
    return layer;
}

// Fills record frame of the document (which must exist) with every layer kind; the
// layout overlay is the whole layout's.  designRect: where the canvas shows the area.
inline void BuildRichDesign(CFrostwellDoc* doc, int frame, const CRect& designRect)
{
    using namespace Gdiplus;
    CLayerArray* layers = doc->GetLayers();
    const int saved = layers->GetCurrent();
    layers->SetCurrent(frame);
    const SizeF area = GetPaperLayout()->GetPrintableSize();
    const CSize hundredths = GetPaperLayout()->GetPrintableRect();

    layers->SetBgLinear(1);
    layers->SetBgAngle(30);
    layers->SetBgColour1(RGB(250, 220, 120));
    layers->SetBgColour2(RGB(120, 200, 250));
    layers->SetBgColour3(RGB(250, 150, 200));
    layers->SetBgColour4(RGB(180, 250, 160));
    layers->SetBgColour5(RGB(250, 250, 250));
    layers->SetBgOpacity(1.0f);
    layers->SetEdgeMargin(0.08f);
    layers->SetFrameStyle(7);
    layers->SetFrameFillStyle(0);
    layers->SetFrameSize(0.3f);
    layers->SetFrameIntensity(0.2f);
    layers->SetFrameColour1(RGB(40, 60, 160));
    layers->SetFrameOpacity(1.0f);
    layers->SetFrameOutlineWidth(0.02f);
    layers->SetFrameOutlineColour(RGB(160, 20, 20));

    // Stripes show a wrong place or turn; the transparency shows the layers below.
    CImageLayer* photo = MakeLayer(MakeBitmap(150, 100, 0xFF204080,
                                              [](Graphics& g) {
                                                  SolidBrush stripe(Color(0xFFF0C020));
                                                  for (int x = 0; x < 150; x += 30)
                                                      g.FillRectangle(&stripe, x, 0, 12, 100);
                                              }),
                                   frame, designRect, hundredths);
    photo->SetCentre(area.Width * 0.35, area.Height * 0.4);
    photo->m_angle = 20;
    photo->m_transparency = 70;
    doc->GetImageList()->Add(photo);
    CImageLayer* second = MakeLayer(MakeBitmap(60, 90, 0xFF30A050, [](Graphics&) {}), frame, designRect, hundredths);
    second->SetCentre(area.Width * 0.6, area.Height * 0.55);
    doc->GetImageList()->Add(second);

    // Fitted images: mostly clear, each with a mark of its own colour off the centre.
    CImageLayer* frameImage = MakeFittedLayer(MakeBitmap(100, 100, 0x00000000,
                                                         [](Graphics& g) {
                                                             Pen band(Color(0xC0A020C0), 14);
                                                             g.DrawLine(&band, 0, 100, 100, 0);
                                                         }),
                                              frame, designRect, hundredths);
    layers->SetFrameImage(frameImage);
    CImageLayer* templ = MakeFittedLayer(MakeBitmap(100, 100, 0x00000000,
                                                    [](Graphics& g) {
                                                        Pen ring(Color(0xFF008080), 6);
                                                        g.DrawEllipse(&ring, 20, 20, 60, 60);
                                                    }),
                                         frame, designRect, hundredths);
    layers->SetTemplateImage(templ);
    CImageLayer* overlay = MakeFittedLayer(MakeBitmap(100, 100, 0x00000000,
                                                      [](Graphics& g) {
                                                          SolidBrush corner(Color(0xFFE06000));
                                                          g.FillRectangle(&corner, 5, 5, 30, 20);
                                                      }),
                                           frame, designRect, hundredths);
    layers->SetLayoutOverlay(overlay);

    CTextItem* plain = new CTextItem;
    plain->m_text = "Cake";
    plain->m_fontSize = 90;
    plain->m_frameIndex = frame;
    plain->SetPrintableSize(area.Width, area.Height);
    plain->m_position = PointF(area.Width * 0.5f, area.Height * 0.3f);
    plain->m_fillColour[0] = RGB(200, 30, 30);
    plain->m_outlineSize = 2;
    plain->m_outlineColour[0] = RGB(20, 20, 20);
    doc->GetTextList()->AddPair(plain);
    CTextItem* bubble = new CTextItem;
    bubble->m_text = "Joy";
    bubble->m_fontSize = 60;
    bubble->m_frameIndex = frame;
    bubble->SetPrintableSize(area.Width, area.Height);
    bubble->m_position = PointF(area.Width * 0.4f, area.Height * 0.7f);
    bubble->m_rotation = 15;
    bubble->m_fillColour[0] = RGB(30, 30, 200);
    bubble->m_bubbleKind = 1;
    bubble->m_bubbleTailPosition = 3;
    bubble->m_bubbleFillColour = RGB(255, 255, 200);
    doc->GetTextList()->AddPair(bubble);

    layers->SetRecordRects(designRect, hundredths.cx, hundredths.cy);
    layers->SetCurrent(saved);
}

} // namespace rich_design

// Border frame of the current frame record (a filled and stroked band between the
// area's edge and the style's inner outline) and the images drawn fitted over the area.
#include "model/design/LayerArray.h"
#include "model/design/ImageLayer.h"
#include "model/gfx/CornerGradient.h"
#include "model/gfx/LayerArrayDraw.h"
#include "model/gfx/ShapeOutline.h"

using namespace Gdiplus;

void CLayerArray::DrawFrames(Graphics* g, BYTE round, PointF, int)
{
    if (!g || records.GetSize() == 0)
        return;
    const FrameRecord& r = Cur();
    if (r.frameStyle == 0)
        return;
    float W = (float)printableWidth / 100.0f, H = (float)printableHeight / 100.0f;
    if (!(W > 0) || !(H > 0))
        return;
    bool mirrored = IsMirroredPrinting();
    float o = r.frameOpacity;
    BYTE A = AlphaFromOpacity(o);

    Color cols[6];
    GradientColours(r.frameFillStyle == 3, A, r.frameColour1, r.frameColour2, r.frameColour3, r.frameColour4,
                    r.frameColour5, cols);
    cols[5] = ArgbFromColorref(255, r.frameOutlineColour);

    float width = r.frameSize * W / 4.0f;
    float intensity = r.frameIntensity * W / 4.0f;
    RectF area(0, 0, W, H);
    GraphicsPath P(FillModeAlternate);
    P.AddRectangle(area);
    GraphicsPath F(FillModeAlternate);
    if (r.frameStyle == 4 && !round)
        CShapePath::AddBowedIn(&F, r.frameSize, r.frameIntensity, W, H);
    else
        CShapePath::AddFrameStyle(&F, r.frameStyle, width, intensity, W, H);

    // The alternate fill of the edge rectangle plus the inner outline paints the band.
    // The rectangle's figure is closed, so the outline starts a figure of its own (Wine
    // would join it to the closed rectangle with a line if asked to connect).
    P.AddPath(&F, FALSE);

    if (r.frameFillStyle == 3) {
        CornerGradient::OnRect(area, cols, o).Fill(g, &P);
    } else {
        Color end = ArgbFromColorref(A, r.frameColour1);
        LinearGradientBrush linear(area, end, end, (REAL)r.frameFillAngle + 0.1f, TRUE);
        if (r.frameFillStyle == 2) {
            REAL positions[5] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
            linear.SetInterpolationColors(cols, positions, 5);
        }
        if (mirrored)
            MirrorBrushHorizontally(linear, W);
        SolidBrush white(Color(255, 255, 255, 255));
        g->FillPath(&white, &P);
        g->FillPath(&linear, &P);
    }

    CImageLayer* image = r.frameFillImage;
    Bitmap* tile = image ? image->GetScreenCopy() : NULL;
    float Iw = image ? image->GetNaturalWidth() : 0.0f;
    if (tile && Iw > 0) {
        float bw = (float)tile->GetWidth();
        float res = bw / Iw;
        float k = Iw / bw;
        float D = (W - Iw) * res;
        ImageAttributes ia;
        SetOpacityMatrix(&ia, r.frameImageTransparency);
        ia.SetWrapMode(WrapModeTile, Color(255, 0, 0, 0), FALSE);
        float s = r.frameImageScale, q = r.frameImageOffset;
        Matrix placement; // tile pixels to inches
        placement.Rotate((REAL)r.frameImageRotation, MatrixOrderAppend);
        if (mirrored) {
            placement.Translate(-D, 0, MatrixOrderAppend);
            placement.Scale(-s * k, s * k, MatrixOrderAppend);
            placement.Translate(-q, q, MatrixOrderAppend);
        } else {
            placement.Scale(s * k, s * k, MatrixOrderAppend);
            placement.Translate(q, q, MatrixOrderAppend);
        }
        FillTiled(g, &P, tile, &ia, placement);
    }

    if (r.frameOutlineWidth != 0.0f) {
        StrokePathPrecise(g, &P, r.frameOutlineWidth * 0.05f, cols[5]);
    }
}

void CLayerArray::DrawFrameImage(Graphics* g, PointF offset, int rotation)
{
    if (records.GetSize() == 0)
        return;
    if (CImageLayer* image = Cur().frameImage)
        image->Draw(g, Cur().edgeMargin, offset.X, offset.Y, rotation);
}

void CLayerArray::DrawTemplateImage(Graphics* g, PointF offset, BYTE dimmed)
{
    if (records.GetSize() == 0)
        return;
    if (CImageLayer* image = Cur().templateImage) {
        image->m_dim = dimmed != 0;
        image->Draw(g, Cur().edgeMargin, offset.X, offset.Y, 0);
    }
}

void CLayerArray::DrawLayoutOverlay(Graphics* g, PointF offset, int rotation, BYTE dimmed)
{
    if (!layoutOverlay)
        return;
    layoutOverlay->m_dim = dimmed != 0;
    float margin = records.GetSize() ? Cur().edgeMargin : 0.0f;
    layoutOverlay->Draw(g, margin, offset.X, offset.Y, rotation);
}

// Background of the current frame record: solid, linear or radial fill and the tiled
// background image.
#include "model/design/LayerArray.h"
#include "model/design/ImageLayer.h"
#include "model/gfx/CornerGradient.h"
#include "model/gfx/LayerArrayDraw.h"

using namespace Gdiplus;

void CLayerArray::DrawBackground(Graphics* g, BYTE round, BYTE)
{
    if (!g || records.GetSize() == 0)
        return;
    const FrameRecord& r = Cur();
    float W = (float)printableWidth / 100.0f, H = (float)printableHeight / 100.0f;
    if (!(W > 0) || !(H > 0))
        return; // an empty area shows nothing
    bool mirrored = IsMirroredPrinting();
    float o = r.bgOpacity;
    BYTE A = AlphaFromOpacity(o);

    Color cols[5];
    GradientColours(r.bgRadial != 0, A, r.bgColour1, r.bgColour2, r.bgColour3, r.bgColour4, r.bgColour5, cols);
    RectF area(0, 0, W, H);

    if (r.bgRadial) {
        GraphicsPath shape;
        if (round)
            shape.AddEllipse(area);
        else
            shape.AddRectangle(area);
        // The gradient's rectangle stays the whole area on round items too.
        CornerGradient::OnRect(area, cols, o).Fill(g, &shape);
    } else {
        SolidBrush solid(Color(255, 255, 255, 255));
        if (!r.bgLinear)
            solid.SetColor(ArgbFromColorref(255, r.bgColour1)); // the solid fill is always opaque
        if (round)
            g->FillEllipse(&solid, area);
        else
            g->FillRectangle(&solid, area);
        if (r.bgLinear) {
            Color end = ArgbFromColorref(A, r.bgColour1);
            LinearGradientBrush linear(area, end, end, (REAL)r.bgAngle + 0.1f, TRUE);
            REAL positions[5] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
            linear.SetInterpolationColors(cols, positions, 5);
            if (mirrored)
                MirrorBrushHorizontally(linear, W);
            if (round)
                g->FillEllipse(&linear, area);
            else
                g->FillRectangle(&linear, area);
        }
    }

    CImageLayer* image = r.backgroundImage;
    Bitmap* tile = image ? image->GetScreenCopy() : NULL;
    float Iw = image ? image->GetNaturalWidth() : 0.0f;
    if (!tile || !(Iw > 0))
        return;
    float bw = (float)tile->GetWidth(), bh = (float)tile->GetHeight();
    float res = bw / Iw; // pixels of the tile bitmap per inch
    float k = Iw / bw;
    ImageAttributes ia;
    SetOpacityMatrix(&ia, r.bgTileTransparency);
    ia.SetWrapMode(WrapModeTile, Color(255, 0, 0, 0), FALSE);
    float s = r.bgTileScale;
    REAL t = (REAL)r.bgTileRotation;
    Matrix placement; // tile pixels to inches
    if (round) {
        if (mirrored) {
            placement.Translate(bw / 2, bh / 2, MatrixOrderAppend);
            placement.Rotate(t, MatrixOrderAppend);
            placement.Scale(-s * k, s * k, MatrixOrderAppend);
        } else {
            placement.Translate(bw, bh, MatrixOrderAppend);
            placement.Rotate(t, MatrixOrderAppend);
            placement.Scale(s * k, s * k, MatrixOrderAppend);
        }
    } else {
        placement.Rotate(t, MatrixOrderAppend);
        if (mirrored) {
            float D = (W - Iw) * res;
            placement.Translate(-D, 0, MatrixOrderAppend);
            placement.Scale(-s * k, s * k, MatrixOrderAppend);
        } else {
            placement.Scale(s * k, s * k, MatrixOrderAppend);
        }
    }
    GraphicsPath shape;
    if (round)
        shape.AddEllipse(area);
    else
        shape.AddRectangle(area);
    FillTiled(g, &shape, tile, &ia, placement);
}

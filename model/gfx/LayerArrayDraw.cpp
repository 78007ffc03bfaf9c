#include "model/gfx/LayerArrayDraw.h"

using namespace Gdiplus;

void StrokePathPrecise(Graphics* g, const GraphicsPath* path, float width, const Color& colour, Brush* brush,
                       PenAlignment alignment)
{
    if (!g || !path || path->GetPointCount() == 0)
        return;
    const REAL k = 1000.0f;
    GraphicsPath* big = path->Clone();
    if (!big)
        return;
    Matrix up(k, 0, 0, k, 0, 0);
    big->Transform(&up);
    Pen pen(colour, width * k);
    pen.SetAlignment(alignment);
    if (brush) {
        switch (brush->GetType()) {
        case BrushTypeLinearGradient:
            static_cast<LinearGradientBrush*>(brush)->ScaleTransform(k, k, MatrixOrderAppend);
            break;
        case BrushTypePathGradient:
            static_cast<PathGradientBrush*>(brush)->ScaleTransform(k, k, MatrixOrderAppend);
            break;
        case BrushTypeTextureFill:
            static_cast<TextureBrush*>(brush)->ScaleTransform(k, k, MatrixOrderAppend);
            break;
        default:
            break;
        }
        pen.SetBrush(brush);
    }
    GraphicsState state = g->Save();
    g->ScaleTransform(1.0f / k, 1.0f / k);
    g->DrawPath(&pen, big);
    g->Restore(state);
    delete big;
}

// The frame array's drawing straight onto a device context, in device pixels.
#include "model/design/LayerArray.h"
#include "model/gfx/LayerArrayDraw.h"

using namespace Gdiplus;

void CLayerArray::FillGradientOnDC(HDC dc)
{
    if (dc == NULL || designRect.IsRectEmpty() || GetCount() == 0)
        return;
    Graphics g(dc);
    const RectF area((REAL)designRect.left, (REAL)designRect.top, (REAL)designRect.Width(), (REAL)designRect.Height());
    LinearGradientBrush brush(area, ArgbFromColorref(255, Cur().bgColour1), ArgbFromColorref(255, Cur().bgColour2),
                              45.0f);
    g.FillRectangle(&brush, area);
}

void CLayerArray::DrawOutlineOnDC(HDC dc, BYTE round)
{
    if (dc == NULL || designRect.IsRectEmpty())
        return;
    Graphics g(dc);
    Pen black(Color(255, 0, 0, 0), 1.0f);
    // The last row and column inside the rectangle carry the outline.
    const Rect outline(designRect.left, designRect.top, designRect.Width() - 1, designRect.Height() - 1);
    if (round)
        g.DrawEllipse(&black, outline);
    else
        g.DrawRectangle(&black, outline);
}

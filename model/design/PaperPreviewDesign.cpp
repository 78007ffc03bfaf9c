// One design area drawn for a cell of the paper preview.
#include "model/design/PaperPreview.h"

#include "model/design/DesignLayers.h"
#include "model/design/FrostwellDoc.h"
#include "model/gfx/LayerArrayDraw.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"

using namespace Gdiplus;

void DrawDesignArea(CFrostwellDoc* document, Graphics* g, float width, float height)
{
    if (document == nullptr || g == nullptr)
        return;
    CLayerArray* layers = document->GetLayers();
    if (layers->GetCurrent() < 0 || layers->GetCurrent() >= layers->GetCount())
        return;
    const float edge = layers->GetEdgeMargin();
    const BYTE round = GetPaperLayout()->IsRound() ? 1 : 0;
    document->SetFixedDesignRect(TRUE);

    GraphicsPath outline;
    if (round)
        outline.AddEllipse(0.0f, 0.0f, width, height);
    else
        outline.AddRectangle(RectF(0.0f, 0.0f, width, height));
    g->SetClip(&outline);

    // Every layer at the origin, nothing dimmed.
    DesignLayerOptions cell;
    cell.round = round != 0;
    DrawDesignLayers(g, document, cell);

    g->ResetClip();
    if (edge > 0)
        StrokePathPrecise(g, &outline, edge, Color(0xFFFFFFFF), nullptr, PenAlignmentInset);
    StrokePathPrecise(g, &outline, 0.02f, Color(0xFF000000), nullptr, PenAlignmentInset);

    document->SetFixedDesignRect(FALSE);
    document->RelayoutDesign();
}

#include "app/print/ViewPrintRender.h"

#include "base/Globals.h"
#include "base/KeyStore.h"
#include "model/design/DesignLayers.h"
#include "model/design/FrostwellDoc.h"
#include "model/gfx/LayerArrayDraw.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperSize.h"

#include <memory>

using namespace Gdiplus;

void RenderPrintItem(Graphics* g, float pageScale, CFrostwellDoc* document, float x, float y, float w, float h, int a,
                     const PrintAdjustments& adjustments)
{
    if (g == nullptr || document == nullptr)
        return;
    CLayerArray* layers = document->GetLayers();
    if (layers->GetCurrent() < 0 || layers->GetCurrent() >= layers->GetCount())
        return;
    const CPaperLayout* layout = GetPaperLayout();
    const float t = layers->GetEdgeMargin();
    const BYTE round = layout->IsRound() ? 1 : 0;

    GraphicsState state = g->Save();
    DrawWithCurrentStyle(g, TRUE);
    g->SetPageUnit(UnitInch);

    x += adjustments.horizontalMm / 25.4f;
    y += adjustments.verticalMm / 25.4f;

    // The item turns about its own centre, then moves to its place.
    g->ResetTransform();
    g->TranslateTransform(x, y, MatrixOrderAppend);
    if (layout->IsTurned())
        a += 180;
    g->TranslateTransform(w / 2, h / 2, MatrixOrderPrepend);
    g->RotateTransform((REAL)a, MatrixOrderPrepend);
    g->TranslateTransform(-w / 2, -h / 2, MatrixOrderPrepend);
    g->SetPageScale(pageScale);

    const RectF clip(t, t, w - 2 * t, h - 2 * t);
    g->SetClip(clip);

    // Every layer, nothing dimmed; the angle already holds the layout's turn, and the
    // texts draw in the item's transform from (0, 0).
    DesignLayerOptions item;
    item.round = round != 0;
    item.origin = PointF(x, y);
    item.angle = a;
    DrawDesignLayers(g, document, item);

    g->ResetClip();
    {
        // A mark of the item's top-left corner.
        GraphicsPath mark;
        mark.AddLine(0.0f, 0.0f, 0.01f, 0.0f);
        StrokePathPrecise(g, &mark, 0.015f, Color(0xFFFFFF00));
    }

    GraphicsPath outline;
    if (round) {
        GraphicsPath clipPath;
        clipPath.AddRectangle(clip);
        StrokePathPrecise(g, &clipPath, 0.01f, Color(0xFFFFFFFF));
        // The rectangle less the ellipse: the corners outside the round item.
        GraphicsPath corners(FillModeAlternate);
        corners.AddRectangle(clip);
        corners.AddEllipse(clip);
        SolidBrush white(Color(0xFFFFFFFF));
        g->FillPath(&white, &corners);
        outline.AddEllipse(0.0f, 0.0f, w, h);
    } else {
        outline.AddRectangle(RectF(0.0f, 0.0f, w, h));
    }
    g->ResetClip();
    if (adjustments.outline)
        StrokePathPrecise(g, &outline, 0.01f, Color(0xFF000000));
    g->Restore(state);
}

void PrintCells(CFrostwellDoc* document, const std::vector<PrintCell>& cells,
                const std::function<void(const PrintCell&)>& renderItem)
{
    const CPaperLayout* layout = GetPaperLayout();
    const int saved = document->GetCurrentFrame();
    const int frames = document->GetLayers()->GetCount();
    SetGlobalValueC(1);
    document->GetImageList()->BuildPrintCopies();
    for (const PrintCell& cell : cells) {
        if (layout->IsOneDesignPerCell() && cell.index < frames)
            document->SetCurrentFrameNoUpdate(cell.index);
        if (!cell.skipped)
            renderItem(cell);
    }
    document->SetCurrentFrameNoUpdate(saved);
    SetGlobalValueC(0);
    document->GetImageList()->FreePrintCopies();
}

PrintPlacementInput MakePlacementInput(CFrostwellDoc* document, float physicalOffsetX, float physicalOffsetY)
{
    const CPaperLayout* layout = GetPaperLayout();
    PrintPlacementInput input;
    if (IsUniformGrid(*layout))
        input.gridCounts = document->CountCellsOnPaper((int)(layout->GetSpacing().Width * 100),
                                                       (int)(layout->GetSpacing().Height * 100));
    input.paperCorrections = GetSettingInt("4600") == 1;
    input.physicalOffsetX = physicalOffsetX;
    input.physicalOffsetY = physicalOffsetY;
    return input;
}

Bitmap* RenderPageToBitmap(CFrostwellDoc* document, float dpi, const PrintAdjustments& adjustments)
{
    const CPaperLayout* layout = GetPaperLayout();
    const CPaperSize* paper = layout->GetPaperSize();
    if (document == nullptr || paper == nullptr)
        return nullptr;
    std::vector<PrintCell> cells;
    if (!ComputePrintCells(*layout, MakePlacementInput(document, 0.0f, 0.0f), cells))
        return nullptr;
    const SizeF sheet = paper->GetSheetSize();
    std::unique_ptr<Bitmap> page(new Bitmap((int)(sheet.Width * dpi), (int)(sheet.Height * dpi), PixelFormat32bppARGB));
    if (page->GetLastStatus() != Ok)
        return nullptr;
    page->SetResolution(dpi, dpi);
    {
        Graphics clear(page.get());
        clear.Clear(Color(0xFFFFFFFF));
    }
    const SizeF item = layout->GetPrintableSize();
    PrintCells(document, cells, [&](const PrintCell& cell) {
        Graphics g(page.get());
        RenderPrintItem(&g, 1.0f, document, cell.x, cell.y, item.Width, item.Height, cell.angle, adjustments);
    });
    return page.release();
}

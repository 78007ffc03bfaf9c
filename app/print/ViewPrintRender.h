// Drawing of the printed page, free of windows: one printed item (the current frame
// record's design area turned about its centre, round items whitened outside their
// ellipse, the optional outline) and the loop over every cell of the layout.  The view
// prints through these onto the printer's DC; tests render the page into a bitmap.
#pragma once

#include "app/print/ViewPrintLayout.h"

#include <functional>
#include <objidl.h>
#include <gdiplus.h>

class CFrostwellDoc;

// What the user chose in the print dialog for this job.
struct PrintAdjustments
{
    int horizontalMm = 0; // moves every item right (positive) or left
    int verticalMm = 0;   // moves every item down (positive) or up
    BOOL outline = FALSE; // "Print Outline"
};

// Draws the current frame record as one printed item at (x, y) inches with the size and
// angle given, on graphics whose page unit becomes the inch with the given page scale.
void RenderPrintItem(Gdiplus::Graphics* graphics, float pageScale, CFrostwellDoc* document, float x, float y,
                     float width, float height, int angle, const PrintAdjustments& adjustments);

// The print loop: switches the printing flag on and has the print copies built, makes
// frame record k current for each cell when the layout prints one design per cell (only
// while k is below the number of records), hands every cell that is not skipped to
// renderItem, then restores the current frame, the printing flag and the copies.
void PrintCells(CFrostwellDoc* document, const std::vector<PrintCell>& cells,
                const std::function<void(const PrintCell&)>& renderItem);

// The placement input for the document's current layout: the uniform grid's counts,
// the "4600" paper corrections and the printer's unprintable margin in inches.
PrintPlacementInput MakePlacementInput(CFrostwellDoc* document, float physicalOffsetX, float physicalOffsetY);

// The whole page of the current layout rendered into a new white bitmap of the paper's
// sheet size at the given resolution, as a printer without unprintable margins would
// print it.  NULL when the layout has no paper size.  The caller owns the bitmap.
Gdiplus::Bitmap* RenderPageToBitmap(CFrostwellDoc* document, float dpi, const PrintAdjustments& adjustments);

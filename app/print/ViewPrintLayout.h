// Where each cell of the current paper layout lands on the printed page.  Pure
// geometry: the view's print loop and the page-to-bitmap renderer both walk this list.
#pragma once

#include "fw/fw.h"

#include <vector>

class CPaperLayout;

struct PrintCell
{
    int row;      // i: runs along x
    int column;   // j: runs along y
    int index;    // k: cells counted from 0, row by row
    float x, y;   // top-left of the item on the page, inches, before the user's adjustments
    int angle;    // degrees, turned about the item's centre (without the layout's turn)
    bool skipped; // the last cell of a skip-last layout: printed empty
};

struct PrintPlacementInput
{
    // Columns and rows of a uniform grid (along x, along y) as the document counts them
    // for the layout's spacing; read only when the layout is custom and multiple.
    CSize gridCounts = CSize(1, 1);
    // The setting "4600" reads as 1: papers 6 and 9 move their items right.
    BOOL paperCorrections = FALSE;
    // The printer's unprintable margin, inches.
    float physicalOffsetX = 0.0f;
    float physicalOffsetY = 0.0f;
};

// The cells of the layout in print order.  FALSE (and no cells) when the layout has no
// paper size: nothing can be placed without the sheet.
BOOL ComputePrintCells(const CPaperLayout& layout, const PrintPlacementInput& input, std::vector<PrintCell>& cells);

// Whether the layout is printed as a uniform grid from the paper's margins.
bool IsUniformGrid(const CPaperLayout& layout);

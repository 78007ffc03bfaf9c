#include "app/print/ViewPrintLayout.h"

#include "model/paper/PaperLayout.h"
#include "model/paper/PaperSize.h"

namespace {

// Papers whose items the printer draws from a point further right than the sheet's edge
// when the correction is on: 42.5 mm and 22.5 mm.
const float kPaper6Correction = 1.673228f;
const float kPaper9Correction = 0.885826f;

} // namespace

bool IsUniformGrid(const CPaperLayout& layout) { return layout.IsMultiple() && layout.IsCustom(); }

BOOL ComputePrintCells(const CPaperLayout& layout, const PrintPlacementInput& input, std::vector<PrintCell>& cells)
{
    cells.clear();
    const CPaperSize* paper = layout.GetPaperSize();
    if (paper == nullptr)
        return FALSE;

    const Gdiplus::SizeF item = layout.GetPrintableSize();
    const bool uniform = IsUniformGrid(layout);
    // Spacing and the custom layout's margin in whole hundredths of an inch.
    const int sx = (int)(layout.GetSpacing().Width * 100);
    const int sy = (int)(layout.GetSpacing().Height * 100);
    const int mx = layout.IsCustom() ? (int)(layout.GetMargin().X * 100) : 0;
    const int my = layout.IsCustom() ? (int)(layout.GetMargin().Y * 100) : 0;

    int rows = layout.GetRows();
    int columns = layout.GetColumns();
    if (uniform) {
        rows = input.gridCounts.cx;    // along x
        columns = input.gridCounts.cy; // along y
    }

    int k = 0;
    for (int i = 0; i < rows; i++) {
        for (int j = 0; j < columns; j++, k++) {
            PrintCell cell;
            cell.row = i;
            cell.column = j;
            cell.index = k;
            if (uniform) {
                cell.x = i * (sx / 100.0f + item.Width) + paper->GetMargin().X;
                cell.y = j * (sy / 100.0f + item.Height) + paper->GetMargin().Y;
            } else {
                cell.x = layout.GetRowOffset(i);
                if (input.paperCorrections && paper->GetId() == 6)
                    cell.x += kPaper6Correction;
                if (input.paperCorrections && paper->GetId() == 9)
                    cell.x += kPaper9Correction;
                cell.y = layout.GetColumnOffset(j) + layout.GetItemShift(i, j);
            }
            cell.angle = layout.GetItemAngle(i, j);
            cell.x += mx / 100.0f;
            cell.y += my / 100.0f;
            cell.x -= input.physicalOffsetX;
            cell.y -= input.physicalOffsetY;
            cell.skipped = layout.IsSkipLast() && i == rows - 1 && j == columns - 1;
            cells.push_back(cell);
        }
    }
    return TRUE;
}

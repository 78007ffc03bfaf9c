// A paper layout drawn at reduced scale: the sheet, every item cell with its outline,
// optionally each cell's design, and optionally a caption with item size, margin and
// spacing.  Renders into an off-screen bitmap at 96 pixels per inch, keeps every cell's
// rectangle in output pixels for hit testing, and can paint the result onto a DC.
// With a document it also leaves the whole sheet image on the document (the image that
// design files keep as their thumbnail).
#pragma once

#include "fw/fw.h"

#include <objidl.h>
#include <gdiplus.h>

class CFrostwellDoc;

struct PreviewCell
{
    float left, top, right, bottom; // output pixels
    Gdiplus::Bitmap* design;        // owned; the cell's rendered design or NULL
};

class CPaperPreview
{
public:
    CPaperPreview();
    virtual ~CPaperPreview();

    void SetDocument(CFrostwellDoc* document) { m_document = document; }
    void SetHighlighted(BYTE on) { m_highlighted = on; }
    void SetSheetSize(Gdiplus::SizeF size) { m_sheetSize = size; }
    void SetCellSize(Gdiplus::SizeF size) { m_cellSize = size; }
    void SetSpacing(Gdiplus::SizeF size) { m_spacing = size; }
    void SetMargin(Gdiplus::SizeF size) { m_margin = size; }
    void SetBorder(Gdiplus::SizeF size) { m_border = size; }
    void SetOutputSize(int cx, int cy)
    {
        m_outputWidth = cx;
        m_outputHeight = cy;
    }
    void SetShapeKind(int kind) { m_shapeKind = kind; }
    void SetCaptionFlags(BYTE sizeAndMargin, BYTE spacing)
    {
        m_sizeCaption = sizeAndMargin;
        m_spacingCaption = spacing;
    }
    void SetDesignMode(BYTE on) { m_designMode = on; }
    void SetPerCellDesigns(BYTE on) { m_perCellDesigns = on; }
    BYTE GetPerCellDesigns() const { return m_perCellDesigns; }
    void SetMultiple(BYTE on) { m_fitCells = on; }
    BYTE IsMultiple() const { return m_fitCells; }
    void SetColourCells(BYTE on) { m_colourCells = on; }
    void SetViewRect(float left, float top, float right, float bottom);
    void SetSelectedCell(int index) { m_selectedCell = index; }
    void SetHoverCell(int index) { m_hoverCell = index; }

    int GetCellCount() const { return m_cellCount; }
    float GetScale() const { return m_scale; }
    CRect GetOutputRect() const { return m_outputRect; }
    int GetSelectedCell() const { return m_selectedCell; }
    int GetHoverCell() const { return m_hoverCell; }
    // Record i's rectangle in output pixels and its design image (NULL outside).
    const PreviewCell* GetCell(int index) const;
    Gdiplus::SizeF GetSheetSize() const { return m_sheetSize; }

    // Loads sheet, cell, spacing, shape, margin and flags from the current paper layout.
    // A layout without a paper size leaves an empty sheet, and nothing is drawn then.
    void LoadSettings();
    // Renders the preview; with toDevice also paints it onto the target at the origin.
    // A NULL target renders for a 96 pixels per inch screen and paints nothing.
    void Draw(CDC* target, int originX, int originY, BOOL toDevice);
    // Index of the cell under a point in output pixels, the last one when cells overlap;
    // -1 when none.  With a document, cells past its frame records are never hit.
    int HitTest(POINT point) const;
    void DrawCellDesign(Gdiplus::Graphics* graphics, int index, Gdiplus::RectF cell);
    void ResetCells(int count);

    // Columns or rows that fit: a cell counts while margin + k x cell + (k - 1) x spacing
    // stays within the sheet.  A step that does not advance counts one cell.
    static int CountFittingCells(float margin, float cell, float spacing, float sheet);
    // Millimetres from inches as the captions show them.
    static int ToCaptionMillimetres(float inches);
    // The caption line for the current values and the metric setting.
    CString FormatCaption() const;

private:
    CPaperPreview(const CPaperPreview&) = delete;
    CPaperPreview& operator=(const CPaperPreview&) = delete;

    int FrameCount() const;
    void DrawCaption(Gdiplus::Graphics& graphics, float x, float y);

    CFrostwellDoc* m_document;
    BYTE m_highlighted;
    float m_scale;
    int m_cellCount;
    BYTE m_designMode;
    int m_selectedCell;
    int m_hoverCell;
    int m_shapeKind;
    Gdiplus::SizeF m_sheetSize;
    Gdiplus::SizeF m_cellSize;
    Gdiplus::SizeF m_spacing;
    int m_outputWidth;
    int m_outputHeight;
    Gdiplus::SizeF m_margin;
    Gdiplus::SizeF m_border;
    BYTE m_sizeCaption;
    BYTE m_spacingCaption;
    BYTE m_rebuildCells;
    BYTE m_perCellDesigns;
    BYTE m_fitCells;
    BYTE m_firstDraw;
    float m_viewRect[4];
    BYTE m_colourCells;
    CRect m_outputRect;
    CArray<PreviewCell, PreviewCell&> m_cells;
};

// Draws the current frame record's design area at the origin of the graphics, w x h in
// its units (inches), clipped to the item's outline, with the outline stroked.  Nothing
// when the document has no current frame record.
void DrawDesignArea(CFrostwellDoc* document, Gdiplus::Graphics* graphics, float width, float height);

// Draws the current layout's preview once so that the document holds a fresh sheet image
// (the thumbnail of design files).
void RefreshSheetImage(CFrostwellDoc* document);

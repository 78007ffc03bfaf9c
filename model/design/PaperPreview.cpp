#include "model/design/PaperPreview.h"

#include "base/Globals.h"
#include "model/design/FrostwellDoc.h"
#include "model/gfx/LayerArrayDraw.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperSize.h"
#include "model/gfx/RgbHlsColor.h"

#include <algorithm>
#include <memory>

using namespace Gdiplus;

namespace {

const float kDpi = 96.0f;
const ARGB kHighlightBack = 0xFF409AFC;
const ARGB kCaptionBandHighlighted = 0xFF429AFC;
const ARGB kCaptionBand = 0xFFFFFFC0;
const ARGB kCaptionText = 0xFF429AFC;

// A 32-bit ARGB bitmap whose inch is 96 pixels whatever the screen says.
std::unique_ptr<Bitmap> NewSheetBitmap(int width, int height)
{
    std::unique_ptr<Bitmap> bitmap(new Bitmap(width, height, PixelFormat32bppARGB));
    if (bitmap->GetLastStatus() != Ok)
        return nullptr;
    bitmap->SetResolution(kDpi, kDpi);
    return bitmap;
}

} // namespace

CPaperPreview::CPaperPreview()
    : m_document(nullptr), m_highlighted(0), m_scale(1.0f), m_cellCount(0), m_designMode(0), m_selectedCell(-1),
      m_hoverCell(-1), m_shapeKind(0), m_sheetSize(0, 0), m_cellSize(0, 0), m_spacing(0, 0), m_outputWidth(0),
      m_outputHeight(0), m_margin(0, 0), m_border(0, 0), m_sizeCaption(0), m_spacingCaption(0), m_rebuildCells(0),
      m_perCellDesigns(1), m_fitCells(0), m_firstDraw(1), m_viewRect{0, 0, 0, 0}, m_colourCells(0),
      m_outputRect(0, 0, 0, 0)
{}

CPaperPreview::~CPaperPreview() { ResetCells(0); }

void CPaperPreview::SetViewRect(float left, float top, float right, float bottom)
{
    m_viewRect[0] = left;
    m_viewRect[1] = top;
    m_viewRect[2] = right;
    m_viewRect[3] = bottom;
}

const PreviewCell* CPaperPreview::GetCell(int index) const
{
    if (index < 0 || index >= m_cells.GetSize())
        return nullptr;
    return &m_cells.ElementAt(index);
}

void CPaperPreview::ResetCells(int count)
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); i++)
        delete m_cells[i].design;
    m_cells.RemoveAll();
    if (count < 0)
        count = 0;
    m_cells.SetSize(count);
    for (int i = 0; i < count; i++)
        m_cells[i] = PreviewCell{0, 0, 0, 0, nullptr};
    m_cellCount = count;
}

int CPaperPreview::FrameCount() const { return m_document != nullptr ? m_document->GetLayers()->GetCount() : 0; }

void CPaperPreview::LoadSettings()
{
    const CPaperLayout* layout = GetPaperLayout();
    const CPaperSize* paper = layout->GetPaperSize();
    m_sheetSize = paper != nullptr ? paper->GetPrintableSize() : SizeF(0, 0);
    m_cellSize = layout->GetPrintableSize();
    m_spacing = layout->GetSpacing();
    m_sizeCaption = 0;
    m_spacingCaption = 0;
    m_shapeKind = layout->GetShape();
    m_margin = SizeF(layout->GetMargin().X, layout->GetMargin().Y);
    m_designMode = 1;
    m_perCellDesigns = layout->IsOneDesignPerCell();
    m_fitCells = layout->IsMultiple();
}

int CPaperPreview::CountFittingCells(float margin, float cell, float spacing, float sheet)
{
    if (cell + spacing <= 0.0f)
        return margin + cell <= sheet ? 1 : 0;
    int count = 0;
    float x = margin;
    while (sheet + spacing > x) {
        x += spacing;
        x += cell;
        if (sheet + spacing >= x)
            count++;
    }
    return count;
}

int CPaperPreview::ToCaptionMillimetres(float inches)
{
    int mm = (int)(inches * 25.4);
    if ((int)(inches * 254) % 10 > 5)
        mm++;
    return mm;
}

CString CPaperPreview::FormatCaption() const
{
    CString size, margin, spacing;
    if (IsMetric()) {
        size.Format("Size %dmm x %dmm", ToCaptionMillimetres(m_cellSize.Width),
                    ToCaptionMillimetres(m_cellSize.Height));
        margin.Format("Margin %dmm : %dmm", ToCaptionMillimetres(m_margin.Width),
                      ToCaptionMillimetres(m_margin.Height));
        spacing.Format("Spacing %dmm : %dmm", ToCaptionMillimetres(m_spacing.Width),
                       ToCaptionMillimetres(m_spacing.Height));
    } else {
        size.Format("Size %0.2f\" x %0.2f\"", m_cellSize.Width, m_cellSize.Height);
        margin.Format("Margin %0.2f\" : %0.2f\"", m_margin.Width, m_margin.Height);
        spacing.Format("Spacing %0.2f\" : %0.2f\"", m_spacing.Width, m_spacing.Height);
    }
    CString caption;
    if (m_spacingCaption)
        caption.Format("%s   %s   %s", (LPCTSTR)size, (LPCTSTR)margin, (LPCTSTR)spacing);
    else
        caption.Format("%s   %s", (LPCTSTR)size, (LPCTSTR)margin);
    return caption;
}

void CPaperPreview::Draw(CDC* target, int originX, int originY, BOOL toDevice)
{
    int columns = 1, rows = 1;
    if (m_fitCells) {
        columns = CountFittingCells(m_margin.Width, m_cellSize.Width, m_spacing.Width, m_sheetSize.Width);
        rows = CountFittingCells(m_margin.Height, m_cellSize.Height, m_spacing.Height, m_sheetSize.Height);
    }
    const int total = columns * rows;

    if (m_document != nullptr) {
        if ((m_document->NeedsPreviewRefresh() || m_firstDraw) && m_designMode) {
            m_firstDraw = 0;
            ResetCells(total);
            m_selectedCell = 0;
            m_hoverCell = -1;
            m_document->SetPreviewRefresh(FALSE);
            m_rebuildCells = 1;
        } else if (m_cellCount != total) {
            // The layout changed without a refresh request: the kept cells no longer fit.
            ResetCells(total);
            m_rebuildCells = 1;
        }
    } else if (m_cellCount != total) {
        ResetCells(total);
    }

    m_sheetSize.Width += 2 * m_border.Width;
    m_sheetSize.Height += 2 * m_border.Height;

    const int W = (int)(m_sheetSize.Width * kDpi);
    const int H = (int)(m_sheetSize.Height * kDpi);
    if (W <= 0 || H <= 0)
        return; // no sheet (a layout without a paper size): nothing to draw
    const float s = std::min((float)m_outputWidth / W, (float)m_outputHeight / H);

    std::unique_ptr<Bitmap> bitmap = NewSheetBitmap(W, H);
    if (!bitmap)
        return;
    {
        Graphics graphics(bitmap.get());
        graphics.Clear(Color(m_highlighted ? kHighlightBack : (ARGB)Color::White));
        graphics.SetPageUnit(UnitInch);
        const float targetDpi = target != nullptr ? (float)target->GetDeviceCaps(LOGPIXELSX) : kDpi;
        const float dpiX = graphics.GetDpiX();
        graphics.SetPageScale((W / (m_sheetSize.Width * dpiX)) * (targetDpi / dpiX));

        if (!m_designMode) {
            SolidBrush grey(Color(0xFFD3D3D3));
            graphics.FillRectangle(&grey, 0.0f, 0.0f, m_sheetSize.Width, m_sheetSize.Height);
            SolidBrush inner(Color(0xFFF8F8F8));
            graphics.FillRectangle(&inner, m_border.Width, m_border.Height, m_sheetSize.Width - 2 * m_border.Width,
                                   m_sheetSize.Height - 2 * m_border.Height);
        }

        int i = 0;
        for (int c = 0; c < columns; c++) {
            for (int r = 0; r < rows; r++, i++) {
                RectF cell(c * m_cellSize.Width + c * m_spacing.Width + m_border.Width + m_margin.Width,
                           r * m_cellSize.Height + r * m_spacing.Height + m_border.Height + m_margin.Height,
                           m_cellSize.Width, m_cellSize.Height);
                PreviewCell& record = m_cells[i];
                record.left = cell.X * kDpi * s + (m_outputWidth - W * s) / 2;
                record.top = cell.Y * kDpi * s + originY;
                record.right = record.left + m_cellSize.Width * kDpi * s;
                record.bottom = record.top + m_cellSize.Height * kDpi * s;

                if (m_designMode)
                    DrawCellDesign(&graphics, i, cell);

                // Selected red 0.08 inch, hovered blue 0.05, others black 0.04, inside the shape.
                Color outline(0xFF000000);
                float outlineWidth = 0.04f;
                if (i == m_selectedCell) {
                    outline = Color(0xFFFF0000);
                    outlineWidth = 0.08f;
                } else if (i == m_hoverCell) {
                    outline = Color(0xFF0000FF);
                    outlineWidth = 0.05f;
                }

                const bool marked = i == m_selectedCell || i == m_hoverCell || !m_designMode;
                if (!marked || !m_perCellDesigns)
                    continue;
                const bool rectangular = m_shapeKind == 0 || m_shapeKind == 2;
                const bool round = m_shapeKind == 1 || m_shapeKind == 3;
                if (!rectangular && !round)
                    continue;
                GraphicsPath shape;
                if (rectangular)
                    shape.AddRectangle(cell);
                else
                    shape.AddEllipse(cell);
                if (!m_designMode) {
                    COLORREF fill = m_colourCells ? CRgbHlsColor::FromIndex(i).GetColorRef() : RGB(255, 255, 255);
                    SolidBrush brush(Color(255, GetRValue(fill), GetGValue(fill), GetBValue(fill)));
                    graphics.SetClip(&shape);
                    graphics.FillPath(&brush, &shape);
                    graphics.ResetClip();
                }
                StrokePathPrecise(&graphics, &shape, outlineWidth, outline, nullptr, PenAlignmentInset);
            }
        }
    }
    m_rebuildCells = 0;

    if (m_document != nullptr) {
        Bitmap* sheet = bitmap->Clone(0, 0, (int)(m_sheetSize.Width * kDpi), (int)(m_sheetSize.Height * kDpi),
                                      bitmap->GetPixelFormat());
        m_document->SetSheetImage(sheet);
    }

    const float X = originX + (m_outputWidth - W * s) / 2;
    const float Y = originY + (m_outputHeight - H * s) / 2;
    m_outputRect.SetRect((int)X, (int)Y, (int)(W * s), (int)(H * s));
    m_scale = s;

    if (!toDevice || target == nullptr)
        return;
    Graphics screen(target->GetSafeHdc());
    GraphicsState state = screen.Save();
    DrawWithCurrentStyle(&screen, FALSE);
    // Device pixels throughout: the bitmap is drawn to the scaled size directly.
    screen.DrawImage(bitmap.get(), RectF(X, Y, W * s, H * s), 0.0f, 0.0f, (REAL)W, (REAL)H, UnitPixel);
    m_outputRect.SetRect((int)X, (int)Y, (int)(X + W * s), (int)(Y + H * s));
    if (m_sizeCaption) {
        SolidBrush band(Color(m_highlighted ? kCaptionBandHighlighted : kCaptionBand));
        screen.FillRectangle(&band, X - 50, Y + H * s, W * s + 100, 20.0f);
        DrawCaption(screen, (float)(m_outputRect.left + m_outputRect.Width() / 2), (float)(m_outputRect.bottom + 10));
        m_outputRect.right += 40;
        m_outputRect.bottom += 20;
    }
    screen.Restore(state);
}

void CPaperPreview::DrawCaption(Graphics& graphics, float x, float y)
{
    const CStringW caption(FormatCaption());
    FontFamily family(L"Arial");
    Font font(&family, 8.0f, FontStyleRegular, UnitPoint);
    SolidBrush brush{Color(kCaptionText)};
    StringFormat format;
    format.SetAlignment(StringAlignmentCenter);
    format.SetLineAlignment(StringAlignmentCenter);
    graphics.DrawString(caption, -1, &font, PointF(x, y), &format, &brush);
}

int CPaperPreview::HitTest(POINT point) const
{
    int hit = -1;
    const int frames = FrameCount();
    for (int i = 0; i < m_cells.GetSize(); i++) {
        // A cell without a frame record of its own shows nothing to point at.
        if (m_document != nullptr && m_perCellDesigns && i >= frames)
            break;
        const PreviewCell& cell = m_cells.ElementAt(i);
        CRect rect((int)cell.left, (int)cell.top, (int)cell.right, (int)cell.bottom);
        if (rect.PtInRect(point))
            hit = i;
    }
    return hit;
}

void CPaperPreview::DrawCellDesign(Graphics* graphics, int index, RectF cell)
{
    if (m_document == nullptr || index < 0 || index >= m_cells.GetSize())
        return;
    PreviewCell& record = m_cells[index];
    const bool rerender = m_rebuildCells || (index == m_document->GetCurrentFrame() && m_document->IsCellImageDirty());
    if (rerender) {
        m_document->SetCellImageDirty(FALSE);
        delete record.design;
        record.design = nullptr;
        const int frames = FrameCount();
        // A cell past the frame records (more cells fit than the design has areas)
        // stays empty.
        if (m_perCellDesigns && index >= frames)
            return;
        const int saved = m_document->GetCurrentFrame();
        if (m_perCellDesigns)
            m_document->SetCurrentFrameNoUpdate(index);
        m_document->SetFixedDesignRectValue(CRect(0, 0, (int)(cell.Width * kDpi), (int)(cell.Height * kDpi)));
        std::unique_ptr<Bitmap> design = NewSheetBitmap((int)(cell.Width * kDpi + 1), (int)(cell.Height * kDpi + 1));
        if (design) {
            {
                Graphics g(design.get());
                g.SetPageUnit(UnitInch);
                g.SetPageScale(1.0f);
                DrawWithCurrentStyle(&g, FALSE);
                DrawDesignArea(m_document, &g, cell.Width, cell.Height);
            }
            record.design = design.release();
            graphics->DrawImage(record.design, cell.X, cell.Y);
        }
        m_document->SetCurrentFrameNoUpdate(saved);
        return;
    }
    const PreviewCell* source = m_perCellDesigns ? &record : GetCell(0);
    if (source != nullptr && source->design != nullptr)
        graphics->DrawImage(source->design, cell.X, cell.Y);
}

void RefreshSheetImage(CFrostwellDoc* document)
{
    CPaperPreview preview;
    preview.SetDocument(document);
    preview.LoadSettings();
    preview.SetOutputSize(200, 200);
    preview.Draw(nullptr, 0, 0, FALSE);
}

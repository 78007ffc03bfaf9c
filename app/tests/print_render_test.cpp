// The printed page rendered into bitmaps: every cell of the layout in its place with
// its own frame record, the user's adjustments, the turn, skipped cells, round items
// whitened outside their ellipse and the optional outline.
#include "app/print/ViewPrintRender.h"

#include "base/Globals.h"
#include "base/KeyStore.h"
#include "model/design/FrostwellDoc.h"
#include "model/gfx/LayerArrayDraw.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "model/tests/rich_design.h"
#include "testsupport/Pixels.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Gdiplus;

namespace {

const COLORREF kColours[10] = {
    RGB(200, 0, 0),   RGB(0, 200, 0),  RGB(0, 0, 200),  RGB(200, 200, 0), RGB(0, 200, 200),
    RGB(200, 0, 200), RGB(100, 50, 0), RGB(0, 100, 50), RGB(50, 0, 100),  RGB(100, 100, 100),
};

ARGB Opaque(COLORREF c) { return 0xFF000000u | ((ARGB)GetRValue(c) << 16) | ((ARGB)GetGValue(c) << 8) | GetBValue(c); }

ARGB PixelAt(Bitmap* bitmap, float xInches, float yInches, float dpi)
{
    Color c;
    bitmap->GetPixel((int)(xInches * dpi), (int)(yInches * dpi), &c);
    return c.GetValue();
}

class PrintRenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_doc.reset(new CFrostwellDoc);
        SetSetting("4600", "1");
    }
    void TearDown() override { m_doc.reset(); }

    void UseLayout(int id, bool onePerCell)
    {
        const CPaperLayout* layout = GetGlobalObjectA()->Lookup((WORD)id);
        ASSERT_NE(nullptr, layout);
        GetPaperLayout()->CopyFrom(*layout);
        GetPaperLayout()->SetOneDesignPerCell(onePerCell ? 1 : 0);
    }
    // n frame records, record k a solid kColours[k], sized to the layout's item.
    void MakeFrames(int n)
    {
        CLayerArray* layers = m_doc->GetLayers();
        layers->Reset(n);
        CSize size = GetPaperLayout()->GetPrintableRect();
        layers->SetRecordRects(CRect(0, 0, size.cx, size.cy), size.cx, size.cy);
        for (int k = 0; k < n; k++) {
            layers->SetCurrent(k);
            layers->SetBgColour1(kColours[k]);
        }
        m_doc->SetCurrentFrameNoUpdate(0);
    }
    std::unique_ptr<Bitmap> Page(float dpi, const PrintAdjustments& adjustments = PrintAdjustments())
    {
        return std::unique_ptr<Bitmap>(RenderPageToBitmap(m_doc.get(), dpi, adjustments));
    }
    // x of the first pixel that is not white on row y, from x0 on.
    static int FirstInk(Bitmap* page, int x0, int y)
    {
        for (int x = x0; x < (int)page->GetWidth(); x++) {
            Color c;
            page->GetPixel(x, y, &c);
            if (c.GetValue() != 0xFFFFFFFF)
                return x;
        }
        return -1;
    }

    std::unique_ptr<CFrostwellDoc> m_doc;
};

} // namespace

// Layout 10: cell k = i x 5 + j shows frame record k at row offset i and column offset j
// (each with the inset).
TEST_F(PrintRenderTest, EveryCellShowsItsOwnRecordInItsPlace)
{
    UseLayout(10, true);
    MakeFrames(10);
    const float dpi = 50;
    std::unique_ptr<Bitmap> page = Page(dpi);
    ASSERT_TRUE(page);
    EXPECT_EQ((UINT)(8.2677f * dpi), page->GetWidth());
    const CPaperLayout* layout = GetPaperLayout();
    const SizeF item = layout->GetPrintableSize();
    for (int i = 0; i < 2; i++) {
        for (int j = 0; j < 5; j++) {
            const int k = i * 5 + j;
            const float x = layout->GetRowOffset(i), y = layout->GetColumnOffset(j);
            EXPECT_EQ(Opaque(kColours[k]), PixelAt(page.get(), x + item.Width / 2, y + item.Height / 2, dpi)) << k;
            EXPECT_EQ(Opaque(kColours[k]), PixelAt(page.get(), x + 0.05f, y + 0.05f, dpi)) << k;
            EXPECT_EQ(0xFFFFFFFF, PixelAt(page.get(), x - 0.03f, y + item.Height / 2, dpi)) << k;
        }
    }
    EXPECT_EQ(0, m_doc->GetLayers()->GetCurrent()) << "current frame restored";
    EXPECT_EQ(0, GetGlobalValueC()) << "printing flag off again";
}

TEST_F(PrintRenderTest, AdjustmentsMoveEveryItem)
{
    UseLayout(10, true);
    MakeFrames(10);
    const float dpi = 100;
    const CPaperLayout* layout = GetPaperLayout();
    const int row = (int)((layout->GetColumnOffset(2) + 0.5f) * dpi);
    // Cell (1, 2)'s left edge, found from a point in the gap before it.
    auto leftEdge = [&](Bitmap* page, float moveInches) {
        return FirstInk(page, (int)((layout->GetRowOffset(1) + moveInches - 0.1f) * dpi), row);
    };
    std::unique_ptr<Bitmap> plain = Page(dpi);
    const int edge = leftEdge(plain.get(), 0.0f);
    EXPECT_NEAR(layout->GetRowOffset(1) * dpi, edge, 1.0);
    static const struct
    {
        int h, v;
    } cases[] = {{5, -5}, {-5, 5}};
    for (const auto& c : cases) {
        PrintAdjustments adjustments;
        adjustments.horizontalMm = c.h;
        adjustments.verticalMm = c.v;
        std::unique_ptr<Bitmap> moved = Page(dpi, adjustments);
        const float step = 5 / 25.4f * dpi; // 19.7 pixels at 100 dpi
        EXPECT_NEAR(edge + (c.h > 0 ? step : -step), leftEdge(moved.get(), c.h / 25.4f), 1.0) << c.h;
        // The top edge of cell (1, 2) moved the other way.
        const float top = layout->GetColumnOffset(2) * dpi + (c.v > 0 ? step : -step);
        const float cx = layout->GetRowOffset(1) + 1.0f;
        EXPECT_EQ(0xFFFFFFFF, PixelAt(moved.get(), cx + c.h / 25.4f, (top - 2) / dpi, dpi)) << c.v;
        EXPECT_EQ(Opaque(kColours[7]), PixelAt(moved.get(), cx + c.h / 25.4f, (top + 2) / dpi, dpi)) << c.v;
    }
}

// Layout 163: round items, one design for all, the last cell left empty; paper 9 moves
// every item 22.5 mm right while "4600" is 1.
TEST_F(PrintRenderTest, SkipLastLeavesTheLastCellEmpty)
{
    UseLayout(163, false);
    MakeFrames(1);
    const float dpi = 50;
    std::unique_ptr<Bitmap> page = Page(dpi);
    ASSERT_TRUE(page);
    const CPaperLayout* layout = GetPaperLayout();
    const SizeF item = layout->GetPrintableSize();
    for (int i = 0; i < 2; i++) {
        for (int j = 0; j < 3; j++) {
            const float x = layout->GetRowOffset(i) + 0.885826f + item.Width / 2;
            const float y = layout->GetColumnOffset(j) + layout->GetItemShift(i, j) + item.Height / 2;
            const ARGB expected = (i == 1 && j == 2) ? 0xFFFFFFFF : Opaque(kColours[0]);
            EXPECT_EQ(expected, PixelAt(page.get(), x, y, dpi)) << i << "," << j;
        }
    }
}

// The yellow mark of the item's top-left corner shows where the item's origin went.
TEST_F(PrintRenderTest, TurnedLayoutTurnsEveryItemAboutItsCentre)
{
    UseLayout(10, true);
    MakeFrames(10);
    const float dpi = 300;
    const CPaperLayout* layout = GetPaperLayout();
    const SizeF item = layout->GetPrintableSize();
    static const struct
    {
        BYTE turned;
    } cases[] = {{0}, {1}};
    for (const auto& c : cases) {
        GetPaperLayout()->SetTurned(c.turned);
        std::unique_ptr<Bitmap> page = Page(dpi);
        for (int k : {0, 7}) {
            const float x = layout->GetRowOffset(k / 5), y = layout->GetColumnOffset(k % 5);
            const float one = 1.0f / dpi;
            // (The background covers whole hundredths of an inch: the last pixel may stay white.)
            const ARGB atOrigin = PixelAt(page.get(), x + 2 * one, y + one, dpi);
            const ARGB atFarCorner = PixelAt(page.get(), x + item.Width - 2 * one, y + item.Height - one, dpi);
            EXPECT_EQ(c.turned ? Opaque(kColours[k]) : 0xFFFFFF00, atOrigin) << "cell " << k;
            EXPECT_EQ(c.turned ? 0xFFFFFF00 : Opaque(kColours[k]), atFarCorner) << "cell " << k;
        }
    }
}

// Layout 4: a round item printed over a blue page keeps the blue outside its clip
// rectangle, whitens the corners between rectangle and ellipse, and gets a black
// elliptic outline 0.01 inch wide only with "Print Outline".
TEST_F(PrintRenderTest, RoundItemWhiteCornersAndOutline)
{
    UseLayout(4, false);
    MakeFrames(1);
    const float dpi = 100, w = 2.0f, h = 1.0f;
    m_doc->GetLayers()->SetRecordRects(CRect(0, 0, 200, 100), 200, 100);
    m_doc->GetLayers()->SetEdgeMargin(0.1f);
    for (BOOL outline : {FALSE, TRUE}) {
        Bitmap canvas(300, 200, PixelFormat32bppARGB);
        canvas.SetResolution(dpi, dpi);
        {
            Graphics g(&canvas);
            g.Clear(Color(0xFF0000FF));
            PrintAdjustments adjustments;
            adjustments.outline = outline;
            SetGlobalValueC(1);
            RenderPrintItem(&g, 1.0f, m_doc.get(), 0.5f, 0.5f, w, h, 0, adjustments);
            SetGlobalValueC(0);
        }
        static const struct
        {
            float x, y;
            ARGB plain, outlined;
            const char* what;
        } cases[] = {
            {0.5f + 1.0f, 0.5f + 0.5f, 0xFFC80000, 0xFFC80000, "centre: the design"},
            {0.5f + 0.15f, 0.5f + 0.15f, 0xFFFFFFFF, 0xFFFFFFFF, "corner inside the clip"},
            {0.5f + 0.05f, 0.5f + 0.5f, 0xFF0000FF, 0xFF0000FF, "in the edge margin"},
            {0.2f, 0.2f, 0xFF0000FF, 0xFF0000FF, "outside the item"},
            {0.5f + 1.0f, 0.5f + 0.005f, 0xFF0000FF, 0xFF000000, "top of the outline ellipse"},
        };
        for (const auto& c : cases) {
            const ARGB expected = outline ? c.outlined : c.plain;
            EXPECT_EQ(expected, PixelAt(&canvas, c.x, c.y, dpi)) << c.what << (outline ? " outlined" : "");
        }
    }
}

// Cells past the frame records print the record made current last; the skipped cell
// is never handed over.
TEST_F(PrintRenderTest, RecordsBecomeCurrentOnlyWhileTheyExist)
{
    UseLayout(10, true);
    GetPaperLayout()->SetSkipLast(1);
    MakeFrames(6);
    m_doc->SetCurrentFrameNoUpdate(2);
    std::vector<PrintCell> cells;
    ASSERT_TRUE(ComputePrintCells(*GetPaperLayout(), PrintPlacementInput(), cells));
    std::vector<int> seen;
    int printingFlag = 0;
    PrintCells(m_doc.get(), cells, [&](const PrintCell& cell) {
        seen.push_back(m_doc->GetLayers()->GetCurrent());
        printingFlag = GetGlobalValueC();
        (void)cell;
    });
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 5, 5, 5}), seen);
    EXPECT_EQ(1, printingFlag);
    EXPECT_EQ(0, GetGlobalValueC());
    EXPECT_EQ(m_doc->GetCurrentFrame(), m_doc->GetLayers()->GetCurrent());
}

namespace {

// A printed item as the renderer drew it when it called each layer itself, with no
// adjustments and no outline: turned about its centre and moved to its place, clipped
// inside its edge margin, the layers in their order (the texts from the item's corner),
// the corner mark, and a round item's corners whitened.
void DrawReferenceItem(Graphics* g, CFrostwellDoc* doc, float x, float y, float w, float h, int a)
{
    CLayerArray* layers = doc->GetLayers();
    if (layers->GetCurrent() < 0 || layers->GetCurrent() >= layers->GetCount())
        return;
    const CPaperLayout* layout = GetPaperLayout();
    const float t = layers->GetEdgeMargin();
    const BYTE round = layout->IsRound() ? 1 : 0;
    DrawWithCurrentStyle(g, TRUE);
    g->SetPageUnit(UnitInch);
    g->TranslateTransform(x, y, MatrixOrderAppend);
    if (layout->IsTurned())
        a += 180;
    g->TranslateTransform(w / 2, h / 2, MatrixOrderPrepend);
    g->RotateTransform((REAL)a, MatrixOrderPrepend);
    g->TranslateTransform(-w / 2, -h / 2, MatrixOrderPrepend);
    g->SetPageScale(1.0f);
    const RectF clip(t, t, w - 2 * t, h - 2 * t);
    g->SetClip(clip);

    const PointF at(x, y);
    layers->DrawBackground(g, round, 0);
    doc->GetImageList()->DrawAll(g, at, a);
    layers->DrawFrameImage(g, at, a);
    layers->DrawFrames(g, round, at, a);
    doc->GetTextList()->DrawAll(g, PointF(0, 0));
    layers->DrawTemplateImage(g, at, 0);
    layers->DrawLayoutOverlay(g, at, a, 0);

    g->ResetClip();
    GraphicsPath mark;
    mark.AddLine(0.0f, 0.0f, 0.01f, 0.0f);
    StrokePathPrecise(g, &mark, 0.015f, Color(0xFFFFFF00));
    if (round) {
        GraphicsPath edge;
        edge.AddRectangle(clip);
        StrokePathPrecise(g, &edge, 0.01f, Color(0xFFFFFFFF));
        GraphicsPath corners(FillModeAlternate);
        corners.AddRectangle(clip);
        corners.AddEllipse(clip);
        SolidBrush white(Color(0xFFFFFFFF));
        g->FillPath(&white, &corners);
    }
}

// The whole page of reference items, placed by the print loop as the renderer's are.
std::unique_ptr<Bitmap> ReferencePage(CFrostwellDoc* doc, float dpi)
{
    const CPaperLayout* layout = GetPaperLayout();
    std::vector<PrintCell> cells;
    if (layout->GetPaperSize() == nullptr || !ComputePrintCells(*layout, MakePlacementInput(doc, 0, 0), cells))
        return nullptr;
    const SizeF sheet = layout->GetPaperSize()->GetSheetSize();
    std::unique_ptr<Bitmap> page(new Bitmap((int)(sheet.Width * dpi), (int)(sheet.Height * dpi), PixelFormat32bppARGB));
    page->SetResolution(dpi, dpi);
    {
        Graphics clear(page.get());
        clear.Clear(Color(0xFFFFFFFF));
    }
    const SizeF item = layout->GetPrintableSize();
    PrintCells(doc, cells, [&](const PrintCell& cell) {
        Graphics g(page.get());
        DrawReferenceItem(&g, doc, cell.x, cell.y, item.Width, item.Height, cell.angle);
    });
    return page;
}

} // namespace

// Every layer kind in the first record, printed straight, mirrored and turned, and on
// round items: each page is, pixel for pixel, the page of reference items of a twin
// design.  Twice each: images never drawn before print from their screen copies (their
// printed size is known once they are drawn), later prints from copies made for printing.
TEST_F(PrintRenderTest, RichDesignPagesKeepTheirPixels)
{
    const struct
    {
        int layout;
        bool onePerCell;
        int mirror;
        BYTE turned;
    } cases[] = {
        {10, true, 0, 0},
        {10, true, 1, 1},
        {163, false, 0, 0},
    };
    std::vector<std::unique_ptr<Bitmap>> firstPages;
    for (const auto& c : cases) {
        auto makeDesign = [&] {
            m_doc.reset(new CFrostwellDoc); // no layers left over from the case before
            UseLayout(c.layout, c.onePerCell);
            GetPaperLayout()->SetTurned(c.turned);
            MakeFrames(3);
            CSize size = GetPaperLayout()->GetPrintableRect();
            rich_design::BuildRichDesign(m_doc.get(), 0, CRect(0, 0, size.cx, size.cy));
            SetGlobalValueA(c.mirror); // after the new document, which clears it
        };
        makeDesign();
        std::unique_ptr<Bitmap> pages[2] = {Page(96), Page(96)};
        makeDesign();
        std::unique_ptr<Bitmap> references[2] = {ReferencePage(m_doc.get(), 96), ReferencePage(m_doc.get(), 96)};
        SetGlobalValueA(0);
        for (int k = 0; k < 2; ++k) {
            ASSERT_TRUE(pages[k]);
            EXPECT_TRUE(SamePixels(pages[k].get(), references[k].get()))
                << "layout " << c.layout << " mirror " << c.mirror << (k == 0 ? ", first print" : ", printed again");
        }
        firstPages.push_back(std::move(pages[0]));
    }
    // Each case prints a page of its own: the comparisons saw the design.
    for (size_t i = 0; i < firstPages.size(); ++i)
        for (size_t j = i + 1; j < firstPages.size(); ++j)
            EXPECT_FALSE(SamePixels(firstPages[i].get(), firstPages[j].get())) << i << " / " << j;
}

TEST_F(PrintRenderTest, LayoutWithoutPaperSizeRendersNoPage)
{
    UseLayout(10, true);
    GetPaperLayout()->SetPaperSize(nullptr);
    MakeFrames(10);
    EXPECT_FALSE(Page(50));
}

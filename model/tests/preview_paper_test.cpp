// The paper preview: how many cells fit, where they land, captions, hit testing, the
// pixels it paints, and the sheet image it leaves on the document.
#include "model/design/PaperPreview.h"

#include "base/Globals.h"
#include "model/design/FrostwellDoc.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"

#include "testsupport/DibSurface.h"
#include <gtest/gtest.h>

#include <memory>

using namespace Gdiplus;

namespace {

ARGB PixelAt(Bitmap* bitmap, float xInches, float yInches)
{
    Color c;
    bitmap->GetPixel((int)(xInches * 96), (int)(yInches * 96), &c);
    return c.GetValue();
}

// Makes a copy of a catalogue layout current (the document fills the catalogues).
void UseLayout(int id)
{
    const CPaperLayout* layout = GetGlobalObjectA()->Lookup((WORD)id);
    ASSERT_NE(nullptr, layout);
    GetPaperLayout()->CopyFrom(*layout);
}

// The process-wide objects as the program has them: a document fills the catalogues.
class PreviewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_doc.reset(new CFrostwellDoc);
        SetMetric(FALSE);
    }
    void TearDown() override { m_doc.reset(); }

    // n frame records, record k filled with kColours[k], sized to the current layout.
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

    static const COLORREF kColours[10];
    std::unique_ptr<CFrostwellDoc> m_doc;
};

const COLORREF PreviewTest::kColours[10] = {
    RGB(200, 0, 0),   RGB(0, 200, 0),  RGB(0, 0, 200),  RGB(200, 200, 0), RGB(0, 200, 200),
    RGB(200, 0, 200), RGB(100, 50, 0), RGB(0, 100, 50), RGB(50, 0, 100),  RGB(100, 100, 100),
};

ARGB Opaque(COLORREF c) { return 0xFF000000u | ((ARGB)GetRValue(c) << 16) | ((ARGB)GetGValue(c) << 8) | GetBValue(c); }

} // namespace

TEST(PreviewCount, CellsFitFromTheMarginOnTheNearSideOnly)
{
    static const struct
    {
        float margin, cell, spacing, sheet;
        int count;
    } cases[] = {
        {0.5f, 2.0f, 0.25f, 8.0f, 3}, // 0.5 + 3 x 2 + 2 x 0.25 = 7; a fourth ends at 9.25
        {0.0f, 2.0f, 0.0f, 8.0f, 4},  // exactly on the far edge still counts
        {0.0f, 2.0f, 0.5f, 7.0f, 3},  // 3 x 2 + 2 x 0.5 = 7
        {0.0f, 8.5f, 0.0f, 8.0f, 0},  // a cell larger than the sheet
        {1.0f, 0.0f, 0.0f, 8.0f, 1},  // a step that does not advance counts one cell
        {9.0f, 0.0f, 0.0f, 8.0f, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.count, CPaperPreview::CountFittingCells(c.margin, c.cell, c.spacing, c.sheet))
            << c.margin << " " << c.cell << " " << c.spacing << " " << c.sheet;
}

TEST(PreviewCaption, MillimetresRoundUpOnlyAboveFiveTenths)
{
    static const struct
    {
        float inches;
        int mm;
    } cases[] = {
        {7.9527f, 202},              // 2019 tenths: the 9 rounds 201 up
        {10.9054f, 277},             // 2769
        {0.5f, 13},                  // 127
        {0.1f, 2},                   // 25: a 5 does not round up
        {0.0f, 0},       {1.0f, 25}, // 254
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.mm, CPaperPreview::ToCaptionMillimetres(c.inches)) << c.inches;
}

TEST(PreviewCaption, MetricAndInchTexts)
{
    CPaperPreview preview;
    preview.SetCellSize(SizeF(7.9527f, 10.9054f));
    preview.SetMargin(SizeF(0.5f, 0.1f));
    preview.SetSpacing(SizeF(1.0f, 0.0f));
    static const struct
    {
        BOOL metric;
        BYTE spacing;
        const char* text;
    } cases[] = {
        {TRUE, 0, "Size 202mm x 277mm   Margin 13mm : 2mm"},
        {TRUE, 1, "Size 202mm x 277mm   Margin 13mm : 2mm   Spacing 25mm : 0mm"},
        {FALSE, 0, "Size 7.95\" x 10.91\"   Margin 0.50\" : 0.10\""},
        {FALSE, 1, "Size 7.95\" x 10.91\"   Margin 0.50\" : 0.10\"   Spacing 1.00\" : 0.00\""},
    };
    for (const auto& c : cases) {
        SetMetric(c.metric);
        preview.SetCaptionFlags(1, c.spacing);
        EXPECT_STREQ(c.text, (LPCTSTR)preview.FormatCaption());
    }
    SetMetric(FALSE);
}

TEST_F(PreviewTest, LayoutTenLaysOutTenCellsColumnByColumn)
{
    UseLayout(10);
    CPaperPreview preview;
    preview.LoadSettings();
    preview.SetOutputSize(400, 400);
    preview.Draw(nullptr, 0, 0, FALSE);
    ASSERT_EQ(10, preview.GetCellCount());
    // A4 portrait: 793 x 1122 pixels at 96 dpi, fitted into 400 x 400 by its height.
    const float s = 400.0f / 1122;
    EXPECT_FLOAT_EQ(s, preview.GetScale());
    const float cw = 3.7007f - 2 * 0.0787f, ch = 1.9291f - 2 * 0.0787f;
    const float dx = (400 - 793 * s) / 2;
    for (int i = 0; i < 10; i++) {
        const int c = i / 5, r = i % 5; // five rows in each of two columns
        const PreviewCell* cell = preview.GetCell(i);
        ASSERT_NE(nullptr, cell);
        const float x = c * cw + c * 0.2362f + 0.315f, y = r * ch + r * 0.1968f + 0.7283f;
        EXPECT_NEAR(x * 96 * s + dx, cell->left, 1e-3) << i;
        EXPECT_NEAR(y * 96 * s, cell->top, 1e-3) << i;
        EXPECT_NEAR(cw * 96 * s, cell->right - cell->left, 1e-3) << i;
        EXPECT_NEAR(ch * 96 * s, cell->bottom - cell->top, 1e-3) << i;
    }
    // Without the device the rectangle holds the image's width and height.
    EXPECT_EQ(CRect((int)dx, 0, (int)(793 * s), (int)(1122 * s)), preview.GetOutputRect());
}

TEST_F(PreviewTest, OneCellUnlessCellsAreFitted)
{
    UseLayout(10);
    CPaperPreview preview;
    preview.LoadSettings();
    preview.SetMultiple(0);
    preview.SetOutputSize(100, 100);
    preview.Draw(nullptr, 0, 0, FALSE);
    EXPECT_EQ(1, preview.GetCellCount());
}

TEST(PreviewHitTest, OverlappingCellsGiveTheHigherIndex)
{
    CPaperPreview preview;
    preview.SetSheetSize(SizeF(4.0f, 1.0f));
    preview.SetCellSize(SizeF(2.0f, 1.0f));
    preview.SetSpacing(SizeF(-1.0f, 0.0f)); // each cell overlaps the next by an inch
    preview.SetMultiple(1);
    preview.SetOutputSize(384, 96); // scale 1
    preview.Draw(nullptr, 0, 0, FALSE);
    ASSERT_EQ(3, preview.GetCellCount());
    static const struct
    {
        int x, y, cell;
    } cases[] = {
        {10, 10, 0},  {100, 10, 1}, // cells 0 and 1 both hold it
        {191, 95, 1}, {192, 10, 2}, // left edge inclusive
        {287, 10, 2}, {288, 10, 2}, // right edge of cell 1 exclusive
        {383, 10, 2}, {384, 10, -1}, {10, 96, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.cell, preview.HitTest(CPoint(c.x, c.y))) << c.x << "," << c.y;
}

// Without design mode: grey border, light sheet, white cells with black outlines.
TEST(PreviewPaint, SheetBorderAndCellsOnTheDevice)
{
    DibSurface surface(400, 200, RGB(1, 2, 3));
    CPaperPreview preview;
    preview.SetSheetSize(SizeF(2.0f, 1.0f));
    preview.SetBorder(SizeF(0.25f, 0.25f)); // sheet grows to 2.5 x 1.5 inches
    preview.SetCellSize(SizeF(0.5f, 0.5f));
    preview.SetSpacing(SizeF(0.5f, 0.5f));
    preview.SetMultiple(1);
    preview.SetOutputSize(240, 144); // 240 x 144: scale 1
    preview.SetSelectedCell(-1);
    preview.SetCaptionFlags(1, 0);
    preview.Draw(&surface.dc, 10, 20, TRUE);
    ASSERT_EQ(2, preview.GetCellCount()); // two columns of one row
    // Image at (10, 20), 240 x 144, grown by the caption: 40 more on the right, 20 below.
    EXPECT_EQ(CRect(10, 20, 290, 184), preview.GetOutputRect());
    static const struct
    {
        int x, y;
        COLORREF colour;
        const char* what;
    } cases[] = {
        {5, 25, RGB(1, 2, 3), "outside the image"},
        {12, 22, RGB(0xD3, 0xD3, 0xD3), "border band"},
        {10 + 28, 20 + 100, RGB(0xF8, 0xF8, 0xF8), "sheet under cell 0"},
        {10 + 24 + 24, 20 + 24 + 24, RGB(255, 255, 255), "inside cell 0"},
        {10 + 24 + 1, 20 + 24 + 24, RGB(0, 0, 0), "outline of cell 0, inside its edge"},
        {10 + 24 + 96 + 24, 20 + 24 + 24, RGB(255, 255, 255), "inside cell 1"},
        {10 + 24 + 48 + 24, 20 + 24 + 24, RGB(0xF8, 0xF8, 0xF8), "between the cells"},
        {10 + 2, 164 + 2, RGB(0xFF, 0xFF, 0xC0), "caption band under the image"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.colour, surface.At(c.x, c.y)) << c.what;
}

TEST_F(PreviewTest, SheetImageOfAnA4PortraitLayout)
{
    UseLayout(2);
    MakeFrames(1);
    CPaperPreview preview;
    preview.SetDocument(m_doc.get());
    preview.LoadSettings();
    preview.SetOutputSize(200, 200);
    preview.Draw(nullptr, 0, 0, FALSE);
    Bitmap* sheet = m_doc->GetSheetImage();
    ASSERT_NE(nullptr, sheet);
    EXPECT_EQ(793u, sheet->GetWidth());
    EXPECT_EQ(1122u, sheet->GetHeight());
    // The one cell shows the design: the first record's background.
    const CPaperLayout* layout = GetPaperLayout();
    const float cx = layout->GetMargin().X + layout->GetPrintableSize().Width / 2;
    const float cy = layout->GetMargin().Y + layout->GetPrintableSize().Height / 2;
    EXPECT_EQ(Opaque(kColours[0]), PixelAt(sheet, cx, cy));
}

// Layout 10 with fewer frame records than cells: the cells past them stay empty and
// cannot be pointed at.
TEST_F(PreviewTest, EachCellShowsItsOwnFrameRecord)
{
    UseLayout(10);
    GetPaperLayout()->SetOneDesignPerCell(1);
    MakeFrames(6);
    CPaperPreview preview;
    preview.SetDocument(m_doc.get());
    preview.LoadSettings();
    preview.SetOutputSize(793, 1122); // scale 1: output pixels are sheet pixels
    preview.Draw(nullptr, 0, 0, FALSE);
    ASSERT_EQ(10, preview.GetCellCount());
    Bitmap* sheet = m_doc->GetSheetImage();
    ASSERT_NE(nullptr, sheet);
    for (int i = 0; i < 10; i++) {
        const PreviewCell* cell = preview.GetCell(i);
        const float x = (cell->left + cell->right) / 2 / 96, y = (cell->top + cell->bottom) / 2 / 96;
        const ARGB expected = i < 6 ? Opaque(kColours[i]) : 0xFFFFFFFF;
        EXPECT_EQ(expected, PixelAt(sheet, x, y)) << "cell " << i;
        CPoint centre((int)((cell->left + cell->right) / 2), (int)((cell->top + cell->bottom) / 2));
        EXPECT_EQ(i < 6 ? i : -1, preview.HitTest(centre)) << "cell " << i;
    }
    EXPECT_EQ(0, m_doc->GetLayers()->GetCurrent()) << "the current frame is restored";
}

// After the first full rendering only the current frame's cell is rendered again, and
// only when the view has rendered its scene again since.
TEST_F(PreviewTest, CellDesignsAreKeptBetweenDraws)
{
    UseLayout(10);
    GetPaperLayout()->SetOneDesignPerCell(1);
    MakeFrames(10);
    CPaperPreview preview;
    preview.SetDocument(m_doc.get());
    preview.LoadSettings();
    preview.SetOutputSize(200, 200);
    preview.Draw(nullptr, 0, 0, FALSE);
    EXPECT_EQ(0, preview.GetSelectedCell());
    Bitmap* first[10];
    for (int i = 0; i < 10; i++) {
        first[i] = preview.GetCell(i)->design;
        EXPECT_NE(nullptr, first[i]) << i;
    }
    preview.Draw(nullptr, 0, 0, FALSE);
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(first[i], preview.GetCell(i)->design) << "kept " << i;

    m_doc->SetCurrentFrame(3);
    m_doc->SetCellImageDirty(TRUE);
    preview.Draw(nullptr, 0, 0, FALSE);
    EXPECT_FALSE(m_doc->IsCellImageDirty());
    for (int i = 0; i < 10; i++) {
        if (i == 3)
            EXPECT_NE(nullptr, preview.GetCell(i)->design);
        else
            EXPECT_EQ(first[i], preview.GetCell(i)->design) << "kept " << i;
    }

    // A refresh request renders every cell again and selects the first.
    preview.SetSelectedCell(5);
    m_doc->SetPreviewRefresh(TRUE);
    preview.Draw(nullptr, 0, 0, FALSE);
    EXPECT_FALSE(m_doc->NeedsPreviewRefresh());
    EXPECT_EQ(0, preview.GetSelectedCell());
}

TEST_F(PreviewTest, LayoutWithoutPaperSizeDrawsNothing)
{
    UseLayout(10);
    GetPaperLayout()->SetPaperSize(nullptr);
    MakeFrames(1);
    m_doc->SetSheetImage(nullptr);
    DibSurface surface(50, 50, RGB(1, 2, 3));
    CPaperPreview preview;
    preview.SetDocument(m_doc.get());
    preview.LoadSettings();
    preview.SetOutputSize(50, 50);
    preview.Draw(&surface.dc, 0, 0, TRUE);
    EXPECT_EQ(nullptr, m_doc->GetSheetImage());
    EXPECT_EQ(RGB(1, 2, 3), surface.At(25, 25));
    EXPECT_EQ(-1, preview.HitTest(CPoint(25, 25)));
}

// The sheet image is what a saved design keeps as its "Thumbnail" PNG.
TEST_F(PreviewTest, SavedDesignKeepsTheSheetImageAsThumbnail)
{
    UseLayout(2);
    MakeFrames(1);
    RefreshSheetImage(m_doc.get());
    ASSERT_NE(nullptr, m_doc->GetSheetImage());
    const char* path = "preview_thumbnail.ktb";
    ASSERT_TRUE(m_doc->OnSaveDocument(path));

    IStorage* storage = nullptr;
    ASSERT_EQ(S_OK, StgOpenStorage(L"preview_thumbnail.ktb", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                   &storage));
    IStream* stream = nullptr;
    ASSERT_EQ(S_OK, storage->OpenStream(L"Thumbnail", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream));
    BYTE signature[8] = {};
    ULONG got = 0;
    stream->Read(signature, 8, &got);
    EXPECT_EQ(0, memcmp(signature, "\x89PNG\r\n\x1A\n", 8));
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    {
        Bitmap png(stream);
        EXPECT_EQ(793u, png.GetWidth());
        EXPECT_EQ(1122u, png.GetHeight());
    }
    stream->Release();
    storage->Release();
    ::DeleteFileA(path);
}

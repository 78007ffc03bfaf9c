// The paper preview window under the virtual display: the layout's cells drawn flush
// right, hover redrawing only when the cell under the mouse changes, clicks selecting.
#include "app/print/PaperPreviewWnd.h"

#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"

#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include <gtest/gtest.h>

#include <memory>

namespace {

class PreviewWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureTestApp();
        LoadLanguageFile("english");
        doc.reset(new CFrostwellDoc);
        const CPaperLayout* layout = GetGlobalObjectA()->Lookup(10);
        ASSERT_NE(nullptr, layout);
        GetPaperLayout()->CopyFrom(*layout);
        GetPaperLayout()->SetOneDesignPerCell(1);
        CLayerArray* layers = doc->GetLayers();
        layers->Reset(10);
        CSize size = GetPaperLayout()->GetPrintableRect();
        layers->SetRecordRects(CRect(0, 0, size.cx, size.cy), size.cx, size.cy);
        for (int k = 0; k < 10; k++) {
            layers->SetCurrent(k);
            layers->SetBgColour1(RGB(20 * k, 100, 200 - 20 * k));
        }
        doc->SetCurrentFrameNoUpdate(0);

        parent.CreateEx(0, AfxRegisterWndClass(0), "preview test", WS_POPUP | WS_VISIBLE, CRect(0, 0, 420, 320),
                        nullptr, 0);
        wnd.SetDocument(doc.get());
        // Wider than the sheet's aspect: the sheet is drawn against the right edge.
        ASSERT_TRUE(wnd.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 410, 310), &parent, 9007));
        wnd.Update();
        PumpPending();
    }
    void TearDown() override
    {
        if (wnd.GetSafeHwnd() != nullptr)
            wnd.DestroyWindow();
        if (parent.GetSafeHwnd() != nullptr)
            parent.DestroyWindow();
        doc.reset();
    }
    // The client point over the centre of cell i.
    CPoint CellCentre(int i)
    {
        const PreviewCell* cell = wnd.GetPreview()->GetCell(i);
        EXPECT_NE(nullptr, cell);
        CPoint origin = wnd.GetImageOrigin();
        return CPoint((int)((cell->left + cell->right) / 2) + origin.x,
                      (int)((cell->top + cell->bottom) / 2) + origin.y);
    }
    void Move(CPoint p) { wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); }
    void Click(CPoint p) { wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y)); }
    bool Invalidated()
    {
        CRect r;
        return ::GetUpdateRect(wnd.GetSafeHwnd(), &r, FALSE) != 0;
    }
    COLORREF At(CPoint p)
    {
        CClientDC dc(&wnd);
        return dc.GetPixel(p.x, p.y);
    }

    std::unique_ptr<CFrostwellDoc> doc;
    CWnd parent;
    CPaperPreviewWnd wnd;
};

} // namespace

TEST_F(PreviewWndTest, ShowsEveryCellsDesignFlushRight)
{
    ASSERT_EQ(10, wnd.GetPreview()->GetCellCount());
    Gdiplus::Bitmap* sheet = doc->GetSheetImage();
    ASSERT_NE(nullptr, sheet);
    const float s = wnd.GetPreview()->GetScale();
    const int dx = (int)(400 - sheet->GetWidth() * s);
    EXPECT_EQ(CPoint(dx / 2, 0), wnd.GetImageOrigin());
    wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    for (int i = 1; i < 10; i++)
        EXPECT_EQ(RGB(20 * i, 100, 200 - 20 * i), At(CellCentre(i))) << "cell " << i;
    // The sheet's highlighted background reaches the right edge.
    EXPECT_EQ(RGB(0x40, 0x9A, 0xFC), At(CPoint(398, 150)));
}

TEST_F(PreviewWndTest, HoverRedrawsOnlyWhenTheCellChanges)
{
    wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    static const struct
    {
        int cell;
        int dx;
        bool redraw;
    } moves[] = {
        {3, 0, true},                 // into cell 3
        {3, 2, false},                // within cell 3
        {3, -2, false}, {4, 0, true}, // over to cell 4
        {-1, 0, true},                // off every cell
        {-1, 0, false},
    };
    for (const auto& m : moves) {
        CPoint p = m.cell >= 0 ? CellCentre(m.cell) : CPoint(2, 2);
        p.x += m.dx;
        Move(p);
        EXPECT_EQ(m.redraw, Invalidated()) << "to cell " << m.cell << " + " << m.dx;
        EXPECT_EQ(m.cell, wnd.GetPreview()->GetHoverCell());
        wnd.UpdateWindow();
    }
}

TEST_F(PreviewWndTest, ClickSelectsTheFrameUnlessSelectOnly)
{
    Click(CellCentre(7));
    EXPECT_EQ(7, wnd.GetSelectedCell());
    EXPECT_EQ(7, wnd.GetPreview()->GetSelectedCell());
    EXPECT_EQ(7, doc->GetCurrentFrame());

    wnd.SetSelectOnly();
    Click(CellCentre(2));
    EXPECT_EQ(2, wnd.GetSelectedCell());
    EXPECT_EQ(7, doc->GetCurrentFrame()) << "select only leaves the document's frame";

    Click(CPoint(2, 2));
    EXPECT_EQ(2, wnd.GetSelectedCell()) << "a click outside every cell does nothing";
}

// Cells past the design's frame records cannot be pointed at or clicked.
TEST_F(PreviewWndTest, CellsWithoutFrameRecordsIgnoreTheMouse)
{
    doc->GetLayers()->Reset(6);
    doc->SetPreviewRefresh(TRUE);
    wnd.Update();
    Move(CellCentre(8));
    EXPECT_EQ(-1, wnd.GetPreview()->GetHoverCell());
    Click(CellCentre(8));
    EXPECT_EQ(0, doc->GetCurrentFrame());
    Move(CellCentre(5));
    EXPECT_EQ(5, wnd.GetPreview()->GetHoverCell());
}

TEST_F(PreviewWndTest, OneDesignForAllCellsNeitherHoversNorSelects)
{
    GetPaperLayout()->SetOneDesignPerCell(0);
    wnd.Update();
    Move(CellCentre(3));
    EXPECT_EQ(-1, wnd.GetPreview()->GetHoverCell());
    Click(CellCentre(3));
    EXPECT_EQ(0, doc->GetCurrentFrame());
}

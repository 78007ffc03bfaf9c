// Where every cell of a paper layout lands on the printed page, in print order.
#include "app/print/ViewPrintLayout.h"

#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"

#include <gtest/gtest.h>

namespace {

const CPaperLayout& BuiltIn(int id)
{
    if (GetGlobalObjectB()->GetCount() == 0)
        GetGlobalObjectB()->AddOversizedPapers();
    if (GetGlobalObjectA()->GetCount() == 0)
        GetGlobalObjectA()->AddBuiltInLayouts(GetGlobalObjectB());
    const CPaperLayout* layout = GetGlobalObjectA()->Lookup((WORD)id);
    EXPECT_NE(nullptr, layout) << id;
    return *layout;
}

struct Expected
{
    int k, i, j;
    float x, y;
    int angle;
    bool skipped;
};

void ExpectCells(const std::vector<PrintCell>& cells, const Expected* expected, size_t count)
{
    ASSERT_EQ(count, cells.size());
    for (size_t n = 0; n < count; n++) {
        const Expected& e = expected[n];
        const PrintCell& c = cells[n];
        EXPECT_EQ(e.k, c.index) << "cell " << n;
        EXPECT_EQ(e.i, c.row) << "cell " << n;
        EXPECT_EQ(e.j, c.column) << "cell " << n;
        EXPECT_NEAR(e.x, c.x, 1e-4) << "cell " << n;
        EXPECT_NEAR(e.y, c.y, 1e-4) << "cell " << n;
        EXPECT_EQ(e.angle, c.angle) << "cell " << n;
        EXPECT_EQ(e.skipped, c.skipped) << "cell " << n;
    }
}

} // namespace

// Layout 10: two rows of five label cells on A4, inset 0.0787 inch.
TEST(PrintPlacement, RowMajorOrderWithInsetAndPrinterOffset)
{
    PrintPlacementInput input;
    input.physicalOffsetX = 0.25f;
    input.physicalOffsetY = 0.125f;
    std::vector<PrintCell> cells;
    ASSERT_TRUE(ComputePrintCells(BuiltIn(10), input, cells));
    const float in = 0.0787f;
    static const float rows[] = {0.374f, 4.3307f};
    static const float cols[] = {0.5315f, 2.6575f, 4.7835f, 6.9094f, 9.0354f};
    std::vector<Expected> expected;
    for (int i = 0; i < 2; i++)
        for (int j = 0; j < 5; j++)
            expected.push_back({i * 5 + j, i, j, rows[i] + in - 0.25f, cols[j] + in - 0.125f, 0, false});
    ExpectCells(cells, expected.data(), expected.size());
}

// Layout 163 on paper 9: row angles 270 and 90, row shifts 0 and 1.7716, last cell empty.
TEST(PrintPlacement, AnglesShiftsSkipLastAndPaperCorrections)
{
    static const struct
    {
        BOOL corrections;
        float dx;
    } cases[] = {
        {FALSE, 0.0f}, {TRUE, 0.885826f}, // paper 9: 22.5 mm
    };
    for (const auto& c : cases) {
        PrintPlacementInput input;
        input.paperCorrections = c.corrections;
        std::vector<PrintCell> cells;
        ASSERT_TRUE(ComputePrintCells(BuiltIn(163), input, cells));
        const Expected expected[] = {
            {0, 0, 0, 0.3937f + c.dx, 0.4331f, 270, false},
            {1, 0, 1, 0.3937f + c.dx, 3.9764f, 270, false},
            {2, 0, 2, 0.3937f + c.dx, 7.4803f, 270, false},
            {3, 1, 0, 3.6614f + c.dx, 0.4331f + 1.7716f, 90, false},
            {4, 1, 1, 3.6614f + c.dx, 3.9764f + 1.7716f, 90, false},
            {5, 1, 2, 3.6614f + c.dx, 7.4803f + 1.7716f, 90, true},
        };
        ExpectCells(cells, expected, 6);
    }
}

TEST(PrintPlacement, PaperSixMovesRightOnlyWithCorrections)
{
    CPaperLayout layout;
    layout.CopyFrom(BuiltIn(4));
    layout.SetPaperSize(GetGlobalObjectB()->Lookup(6));
    const float base = 0.3144f + 0.0787f;
    static const struct
    {
        BOOL corrections;
        float x;
    } cases[] = {
        {FALSE, base}, {TRUE, base + 1.673228f}, // 42.5 mm
    };
    for (const auto& c : cases) {
        PrintPlacementInput input;
        input.paperCorrections = c.corrections;
        std::vector<PrintCell> cells;
        ASSERT_TRUE(ComputePrintCells(layout, input, cells));
        ASSERT_EQ(1u, cells.size());
        EXPECT_NEAR(c.x, cells[0].x, 1e-4);
    }
    // Papers other than 6 and 9 never move.
    layout.SetPaperSize(GetGlobalObjectB()->Lookup(10));
    PrintPlacementInput input;
    input.paperCorrections = TRUE;
    std::vector<PrintCell> cells;
    ASSERT_TRUE(ComputePrintCells(layout, input, cells));
    EXPECT_NEAR(base, cells[0].x, 1e-4);
}

TEST(PrintPlacement, PerCellAnglesAndShifts)
{
    CPaperLayout layout;
    layout.CopyFrom(BuiltIn(10));
    layout.SetCellAngles(1);
    layout.SetCellShifts(1);
    layout.SetCellAngle(1, 3, 45);
    layout.SetCellShift(1, 3, 0.5f);
    layout.SetRowAngle(1, 90); // overridden by the per-cell values
    layout.SetRowShift(1, 2.0f);
    std::vector<PrintCell> cells;
    ASSERT_TRUE(ComputePrintCells(layout, PrintPlacementInput(), cells));
    ASSERT_EQ(10u, cells.size());
    EXPECT_EQ(45, cells[8].angle);
    EXPECT_NEAR(6.9094f + 0.0787f + 0.5f, cells[8].y, 1e-4);
    EXPECT_EQ(0, cells[7].angle);
    EXPECT_NEAR(4.7835f + 0.0787f, cells[7].y, 1e-4);
}

// A custom layout of several items is a regular grid from the paper's margins: the
// counts are (along x, along y), and i runs along x.
TEST(PrintPlacement, UniformGridFromPaperMarginsAndSpacing)
{
    CPaperSize paper;
    paper.SetId(42);
    paper.SetSheetSize(8.0f, 11.0f);
    paper.SetPrintableSize(8.0f, 11.0f);
    paper.SetMargin(0.5f, 0.25f);
    CPaperLayout layout;
    layout.SetCounts(1, 1);
    layout.SetItemSize(2.0f, 3.0f);
    layout.SetNoInset(1);
    layout.SetCustom(1);
    layout.SetMultiple(1);
    layout.SetSpacing(0.259f, 0.1f); // 25 and 10 hundredths
    layout.SetMargin(0.2f, 0.3f);    // the extra offset of custom layouts
    layout.SetSkipLast(1);
    layout.SetPaperSize(&paper);
    PrintPlacementInput input;
    input.gridCounts = CSize(3, 2);
    std::vector<PrintCell> cells;
    ASSERT_TRUE(ComputePrintCells(layout, input, cells));
    std::vector<Expected> expected;
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 2; j++)
            expected.push_back({i * 2 + j, i, j, i * (0.25f + 2.0f) + 0.5f + 0.2f, j * (0.1f + 3.0f) + 0.25f + 0.3f, 0,
                                i == 2 && j == 1});
    ExpectCells(cells, expected.data(), expected.size());
}

TEST(PrintPlacement, LayoutWithoutPaperSizePlacesNothing)
{
    CPaperLayout layout;
    layout.CopyFrom(BuiltIn(10));
    layout.SetPaperSize(nullptr);
    std::vector<PrintCell> cells(3);
    EXPECT_FALSE(ComputePrintCells(layout, PrintPlacementInput(), cells));
    EXPECT_TRUE(cells.empty());
}

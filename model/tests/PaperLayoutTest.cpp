// Paper sizes, the layout record's geometry and its stored line.
#include <gtest/gtest.h>

#include <objbase.h>
#include <oleauto.h>

#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "model/tests/PaperTestUtil.h"

namespace {

class PaperTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { FillPaperCatalogues(); }
};

int CountTokens(const CString& line)
{
    CStringArray tokens;
    SplitText(line, tokens, ',');
    return (int)tokens.GetSize();
}

CString Token(const CString& line, int index)
{
    CStringArray tokens;
    SplitText(line, tokens, ',');
    return index < tokens.GetSize() ? tokens[index] : CString("<none>");
}

// ---------------------------------------------------------------------------------------
// Paper sizes.

TEST_F(PaperTest, EightPaperSizes)
{
    const struct
    {
        WORD id;
        const char* name;
        float sheetW, sheetH, printW, printH, marginX, marginY;
        int preview, code;
        BYTE landscape;
    } sizes[] = {
        // In the map's walk order: ids 6 to 13 all hash to bucket 0 (id >> 4), where each
        // new key goes to the head, so the last inserted (8) comes first.
        {8, "IDS_STRING563", 11.69f, 8.267f, 11.19f, 7.767f, 0.25f, 0.25f, 739, 9, 1},
        {9, "IDS_STRING563", 8.267f, 11.69f, 7.767f, 11.19f, 0.25f, 0.25f, 736, 9, 0},
        {7, "IDS_STRING563", 8.267f, 11.69f, 8.1f, 11.44f, 0.25f, 0.25f, 736, 9, 0},
        {6, "IDS_STRING563", 4.8f, 10.4f, 4.8f, 10.4f, 0.25f, 0.25f, 737, 9, 0},
        {13, "IDS_STRING558", 16.5354f, 11.6929f, 16, 11, 0.2677f, 0.3462f, 448, 8, 1},
        {12, "IDS_STRING557", 11.6929f, 16.5354f, 11, 16, 0.3462f, 0.2677f, 447, 8, 0},
        {11, "A4L", 11.6929f, 8.2677f, 11.6929f, 8.2677f, 0.8661f, 0.2362f, 926, 9, 1},
        {10, "A4P", 8.2677f, 11.6929f, 8.2677f, 11.6929f, 0.2362f, 0.8661f, 925, 9, 0},
    };
    CPaperSizeList* all = GetGlobalObjectB()->GetAll();
    ASSERT_EQ(8, all->GetCount());
    POSITION pos = all->GetHeadPosition();
    for (const auto& e : sizes) {
        SCOPED_TRACE(e.id);
        const CPaperSize* s = all->GetNext(pos);
        ASSERT_TRUE(s == GetGlobalObjectB()->Lookup(e.id));
        EXPECT_EQ(e.id, s->GetId());
        EXPECT_STREQ(e.name, s->GetName());
        EXPECT_EQ(e.sheetW, s->GetSheetSize().Width);
        EXPECT_EQ(e.sheetH, s->GetSheetSize().Height);
        EXPECT_EQ(e.printW, s->GetPrintableSize().Width);
        EXPECT_EQ(e.printH, s->GetPrintableSize().Height);
        EXPECT_EQ(e.marginX, s->GetMargin().X);
        EXPECT_EQ(e.marginY, s->GetMargin().Y);
        EXPECT_EQ(e.preview, s->GetPreviewBitmap());
        EXPECT_EQ(e.code, s->GetPaperCode());
        EXPECT_EQ(e.landscape, s->IsLandscape());
    }
    delete all;
    for (WORD id = 0; id <= 5; ++id)
        EXPECT_TRUE(GetGlobalObjectB()->Lookup(id) == NULL) << id;
    EXPECT_TRUE(GetGlobalObjectB()->Lookup(14) == NULL);
}

TEST_F(PaperTest, LandscapeFollowsTheSheetSize)
{
    CPaperSize s;
    s.SetSheetSize(5, 4);
    EXPECT_EQ(1, s.IsLandscape());
    s.SetSheetSize(4, 4);
    EXPECT_EQ(0, s.IsLandscape());
    s.SetSheetSize(4, 5);
    EXPECT_EQ(0, s.IsLandscape());
}

TEST_F(PaperTest, MapReplacesAndOwns)
{
    CPaperSizeMap map;
    map.AddOversizedPapers();
    map.AddOversizedPapers(); // the second set replaces the first
    EXPECT_EQ(8, map.GetCount());
    CPaperSize* extra = new CPaperSize;
    extra->SetId(10);
    map.Add(extra);
    EXPECT_EQ(extra, map.Lookup(10));
    EXPECT_EQ(8, map.GetCount());
}

// ---------------------------------------------------------------------------------------
// Splitting a line.

TEST(SplitText, Pieces)
{
    const struct
    {
        const char* text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"", {}},          {"a", {"a"}}, {"a,b,c", {"a", "b", "c"}}, {"a,,b", {"a", "", "b"}}, {"a,b,", {"a", "b"}},
        {",a", {"", "a"}}, {",", {""}},
    };
    for (const auto& c : cases) {
        CStringArray pieces;
        SplitText(c.text, pieces, ',');
        ASSERT_EQ(c.pieces.size(), (size_t)pieces.GetSize()) << c.text;
        for (size_t k = 0; k < c.pieces.size(); ++k)
            EXPECT_STREQ(c.pieces[k].c_str(), pieces[k]) << c.text;
    }
}

// ---------------------------------------------------------------------------------------
// The stored line.

TEST_F(PaperTest, LineOfOneA4Sheet)
{
    CPaperLayout l;
    l.CopyFrom(*GetGlobalObjectA()->Lookup(2));
    l.SetName("N");
    EXPECT_STREQ("2,1,1,0,7.952700,10.905400,925,0,0.000000,0.000000,0,0.000000,0.000000,N,10,0,"
                 "0.157400,0.629900,0,0,0.000000,0.000000,0,0,0,0,0,0,0,0",
                 l.FormatCsv());
}

TEST_F(PaperTest, TokenCountOfEveryBuiltInLayout)
{
    CPaperLayoutList* list = GetGlobalObjectA()->GetLayoutList();
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        const CPaperLayout* l = list->GetNext(pos);
        const int r = l->GetRows(), c = l->GetColumns();
        EXPECT_EQ(24 + 3 * r + c + 2 * r * c, CountTokens(l->FormatCsv())) << l->GetId();
    }
    delete list;
}

TEST_F(PaperTest, CellListsRunColumnByColumn)
{
    CPaperLayout l;
    ASSERT_TRUE(l.SetCounts(2, 5));
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 5; ++j)
            l.SetCellAngle(i, j, 10 * i + j);
    const CString line = l.FormatCsv();
    ASSERT_EQ(55, CountTokens(line));
    // 16 head fields, 2 row offsets, 5 column offsets, 2 row angles, then the cells.
    const int first = 16 + 2 + 5 + 2;
    EXPECT_STREQ("0", Token(line, first));      // [0][0]
    EXPECT_STREQ("10", Token(line, first + 1)); // [1][0]
    EXPECT_STREQ("1", Token(line, first + 2));  // [0][1]
    EXPECT_STREQ("14", Token(line, first + 9)); // [1][4]
}

TEST_F(PaperTest, UnsafeFieldsAreWrittenSafely)
{
    CPaperLayout l;
    l.SetCounts(1, 1);
    l.SetName("a,b"); // a comma would shift every later field
    const CString line = l.FormatCsv();
    EXPECT_EQ(30, CountTokens(line));
    EXPECT_STREQ("a;b", Token(line, 13));
    EXPECT_STREQ("0", Token(line, 14)); // no paper size
}

// A record filled with values that no line below holds, to see what a parse leaves alone.
void FillSentinels(CPaperLayout& l)
{
    l.SetId(77);
    l.SetCounts(1, 1);
    l.SetRowAngle(0, 33);
    l.SetCellAngle(0, 0, 44);
    l.SetRowShift(0, 5.5f);
    l.SetTemplateBitmap(999);
    l.SetSkipLast(1);
    l.SetNoInset(0);
    l.SetInset(0.5f);
    l.SetName("OLD");
}

// id 10, 1 x 1, ..., row angle 90, cell angle 45, row shift 0.5, cell shift 0.25, template
// 744, flags 1,1,1,1,1,1 then the no-inset field 0.
const char kLine1x1[] = "10,1,1,2,3.5,2.5,916,0,0.1,0.2,1,0.3,0.4,NAME,10,1,"
                        "0.75,1.25,90,45,0.5,0.25,744,1,1,1,1,1,1,0";

TEST_F(PaperTest, VersionDecidesWhatIsRead)
{
    {
        SCOPED_TRACE("7.7: nothing after the column offsets");
        CPaperLayout l;
        FillSentinels(l);
        ASSERT_TRUE(l.ParseCsv(kLine1x1, "7.7"));
        EXPECT_EQ(10, l.GetId());
        EXPECT_STREQ("NAME", l.GetName());
        EXPECT_FLOAT_EQ(0.75f, l.GetStoredRowOffset(0));
        EXPECT_FLOAT_EQ(1.25f, l.GetStoredColumnOffset(0));
        EXPECT_EQ(33, l.GetRowAngle(0));
        EXPECT_EQ(44, l.GetCellAngle(0, 0));
        EXPECT_EQ(5.5f, l.GetRowShift(0));
        EXPECT_EQ(999, l.GetTemplateBitmap());
        EXPECT_EQ(0, l.IsNoInset());
        EXPECT_EQ(1, l.IsOneDesignPerCell());
        EXPECT_EQ(1, l.IsMultiple());
        EXPECT_EQ(GetGlobalObjectB()->Lookup(10), l.GetPaperSize());
    }
    const struct
    {
        const char* version;
        BYTE noInset; // field 30 is 0 in the line
    } cases[] = {
        {"7.8", 0}, {"9.9", 0}, {"10.0", 1}, {"10.2", 1}, {"10.3", 0}, {"10.15", 0}, {"11", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        CPaperLayout l;
        FillSentinels(l);
        ASSERT_TRUE(l.ParseCsv(kLine1x1, c.version));
        EXPECT_EQ(90, l.GetRowAngle(0));
        EXPECT_EQ(45, l.GetCellAngle(0, 0));
        EXPECT_FLOAT_EQ(0.5f, l.GetRowShift(0));
        EXPECT_FLOAT_EQ(0.25f, l.GetCellShift(0, 0));
        EXPECT_EQ(744, l.GetTemplateBitmap());
        EXPECT_EQ(1, l.IsSeries());
        EXPECT_EQ(1, l.IsTurned());
        EXPECT_EQ(1, l.IsSeries2());
        EXPECT_EQ(1, l.HasPrintDialogFlag());
        EXPECT_EQ(1, l.HasCellShifts());
        EXPECT_EQ(1, l.IsSkipLast());
        EXPECT_EQ(c.noInset, l.IsNoInset());
    }
    // From 10.3 on the line's last field decides; "2" is as set as "1".
    CPaperLayout l;
    CString line(kLine1x1);
    line = line.Left(line.GetLength() - 1) + "2";
    ASSERT_TRUE(l.ParseCsv(line, "10.15"));
    EXPECT_EQ(1, l.IsNoInset());
}

TEST_F(PaperTest, InsetComesFromTheCatalogue)
{
    // Layout 10 is known (inset 0.0787); the same line under id 999 is not.
    CPaperLayout known;
    FillSentinels(known);
    ASSERT_TRUE(known.ParseCsv(kLine1x1, "10.15"));
    EXPECT_FLOAT_EQ(0.0787f, known.GetInset());
    EXPECT_FLOAT_EQ(0.75f + 0.0787f, known.GetRowOffset(0));
    EXPECT_FLOAT_EQ(3.5f - 2 * 0.0787f, known.GetPrintableSize().Width);

    CString line(kLine1x1);
    line = "999" + line.Mid(2);
    CPaperLayout unknown;
    FillSentinels(unknown);
    ASSERT_TRUE(unknown.ParseCsv(line, "10.15"));
    EXPECT_EQ(999, unknown.GetId());
    EXPECT_EQ(0.0f, unknown.GetInset());
    EXPECT_EQ(1, unknown.HasCellAngles()); // it has a cell angle of 45
}

TEST_F(PaperTest, MalformedLinesChangeNothing)
{
    CString full = GetGlobalObjectA()->Lookup(10)->FormatCsv(); // 2 x 5
    CString shortLine = full.Left(full.ReverseFind(','));       // one token short
    const struct
    {
        const char* what;
        CString line;
        const char* version;
    } cases[] = {
        {"12 rows",
         "1,12,1,0,1,1,0,0,0,0,0,0,0,N,10,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,"
         "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0",
         "10.15"},
        {"0 columns", "1,1,0,0,1,1,0,0,0,0,0,0,0,N,10,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0", "10.15"},
        {"negative rows", "1,-1,1,0,1,1,0,0,0,0,0,0,0,N,10,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0", "10.15"},
        {"too few tokens for 10.3", shortLine, "10.15"},
        {"too few tokens for 7.8", full.Left(full.Find("0.000000,0.000000,0,0,0,0,0,0,0,0")), "7.8"},
        {"no column offsets", "1,1,1,0,1,1,0,0,0,0,0,0,0,N,10,0,0.5", "7.7"},
        {"head only", "1,1,1,0,1,1,0,0,0,0,0,0,0,N,10", "7.7"},
        {"empty", "", "10.15"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CPaperLayout l;
        FillSentinels(l);
        const CString before = l.FormatCsv();
        EXPECT_FALSE(l.ParseCsv(c.line, c.version));
        EXPECT_STREQ(before, l.FormatCsv());
        EXPECT_EQ(0.5f, l.GetInset());
    }
    // The full line is fine with every version.
    CPaperLayout l;
    EXPECT_TRUE(l.ParseCsv(shortLine, "10.2"));
    EXPECT_TRUE(l.ParseCsv(full, "10.15"));
}

TEST_F(PaperTest, NumbersReadAsDecimals)
{
    // The item width (field 5) and the cell shift (field 22) of kLine1x1 replaced.
    const struct
    {
        int token;
        const char* text;
        bool read;
        float value;
    } cases[] = {
        {4, "1.5e1", true, 15.0f}, {4, "-2.25", true, -2.25f}, {4, " 3", true, 3.0f},   {4, "4cm", true, 4.0f},
        {4, "", true, 0.0f},       {4, "inf", true, 0.0f},     {4, "nan", true, 0.0f},  {4, "0x1p3", true, 0.0f},
        {4, "2e", true, 2.0f},     {4, "3e38", true, 3e38f},   {4, "1e39", false, 0},   {4, "-1e39", false, 0},
        {4, "1e400", false, 0},    {21, "1e39", false, 0},     {21, "nan", true, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "token " << c.token << " \"" << c.text << "\"");
        CStringArray tokens;
        SplitText(kLine1x1, tokens, ',');
        tokens[c.token] = c.text;
        CString line = tokens[0];
        for (INT_PTR k = 1; k < tokens.GetSize(); ++k)
            line += "," + tokens[k];
        CPaperLayout l;
        FillSentinels(l);
        const CString before = l.FormatCsv();
        ASSERT_EQ(c.read, l.ParseCsv(line, "10.15") != FALSE);
        if (!c.read) {
            EXPECT_STREQ(before, l.FormatCsv());
        } else if (c.token == 4) {
            EXPECT_EQ(c.value, l.GetItemSize().Width);
        } else {
            EXPECT_EQ(c.value, l.GetCellShift(0, 0));
        }
    }
}

TEST_F(PaperTest, EveryBuiltInLayoutSurvivesItsLine)
{
    CPaperLayoutList* list = GetGlobalObjectA()->GetLayoutList();
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        const CPaperLayout* a = list->GetNext(pos);
        SCOPED_TRACE(a->GetId());
        CPaperLayout b;
        ASSERT_TRUE(b.ParseCsv(a->FormatCsv(), "10.15"));
        EXPECT_STREQ(a->FormatCsv(), b.FormatCsv());
        EXPECT_EQ(a->GetRows(), b.GetRows());
        EXPECT_EQ(a->GetColumns(), b.GetColumns());
        EXPECT_EQ(a->GetShape(), b.GetShape());
        EXPECT_EQ(a->GetPaperSize(), b.GetPaperSize());
        EXPECT_EQ(a->GetInset(), b.GetInset());
        EXPECT_EQ(a->IsNoInset(), b.IsNoInset());
        EXPECT_EQ(a->GetPrintableRect(), b.GetPrintableRect());
        EXPECT_NEAR(a->GetPrintableSize().Width, b.GetPrintableSize().Width, 1e-6);
        EXPECT_NEAR(a->GetPrintableSize().Height, b.GetPrintableSize().Height, 1e-6);
        for (int i = 0; i < a->GetRows(); ++i) {
            EXPECT_NEAR(a->GetRowOffset(i), b.GetRowOffset(i), 1e-6) << i;
            for (int j = 0; j < a->GetColumns(); ++j) {
                EXPECT_NEAR(a->GetColumnOffset(j), b.GetColumnOffset(j), 1e-6) << j;
                EXPECT_EQ(a->GetItemAngle(i, j), b.GetItemAngle(i, j)) << i << "," << j;
                EXPECT_NEAR(a->GetItemShift(i, j), b.GetItemShift(i, j), 1e-6) << i << "," << j;
                EXPECT_EQ(a->IsSkippedCell(i, j), b.IsSkippedCell(i, j)) << i << "," << j;
            }
        }
    }
    delete list;
}

TEST_F(PaperTest, CopyLeavesEntriesAboveTheCounts)
{
    CPaperLayout target;
    target.SetCounts(3, 3);
    target.SetRowOffset(2, 9.0f);
    target.SetColumnOffset(2, 8.0f);
    target.SetCellAngle(2, 2, 7);
    target.SetListed(1);
    const CPaperLayout* source = GetGlobalObjectA()->Lookup(12); // 1 x 2, not listed
    target.CopyFrom(*source);
    EXPECT_EQ(1, target.GetRows());
    EXPECT_EQ(2, target.GetColumns());
    EXPECT_EQ(source->GetStoredRowOffset(0), target.GetStoredRowOffset(0));
    EXPECT_EQ(source->GetStoredColumnOffset(1), target.GetStoredColumnOffset(1));
    EXPECT_EQ(9.0f, target.GetStoredRowOffset(2));
    EXPECT_EQ(8.0f, target.GetStoredColumnOffset(2));
    EXPECT_EQ(7, target.GetCellAngle(2, 2));
    EXPECT_EQ(1, target.IsListed());
    EXPECT_STREQ(source->GetName(), target.GetName());
    EXPECT_EQ(source->GetPaperSize(), target.GetPaperSize());
}

TEST_F(PaperTest, CountsOutsideTheArraysAreRefused)
{
    CPaperLayout l;
    EXPECT_FALSE(l.SetCounts(0, 1));
    EXPECT_FALSE(l.SetCounts(1, 12));
    EXPECT_TRUE(l.SetCounts(11, 11));
    EXPECT_EQ(121, l.GetItemCount());
    EXPECT_EQ(0.0f, l.GetRowOffset(11));
    EXPECT_EQ(0, l.GetCellAngle(-1, 0));
}

} // namespace

// The drawer's tables, checked by the pixels of cell backgrounds and borders: spans that widen
// columns and rows, stretching and alignment in the drawing pass, nested tables, empty tables,
// every background effect, and spans, nesting and unclosed tables that a text gets wrong.
#include "html_drawer_fixture.h"
#include <stdlib.h>
#include <string>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

struct Pixel
{
    int x, y;
    COLORREF colour;
};

class HtmlTables : public html_test::HtmlDrawerTest
{
protected:
    // Measures the text, draws it into a rectangle of the given width (the measured width
    // when 0) and checks the pixels.
    void Check(const char* what, const char* text, SIZE measured, std::initializer_list<Pixel> pixels, int width = 0)
    {
        canvas.Clear(kWhite);
        const SIZE size = Measure(text);
        EXPECT_EQ(measured.cx, size.cx) << what;
        EXPECT_EQ(measured.cy, size.cy) << what;
        const RECT rect = {0, 0, width ? width : size.cx, size.cy};
        drawer.DrawPreparedOutput(canvas.Hdc(), &rect);
        for (const Pixel& p : pixels)
            EXPECT_EQ(p.colour, canvas.At(p.x, p.y)) << what << " at " << p.x << "," << p.y;
    }
};

TEST_F(HtmlTables, SpanningCellsWidenTheirColumnsAndRows)
{
    // A cell over two columns, 41 wide, above cells of 10: both columns grow by 10, the odd
    // pixel going to the second (20 and 21, one pixel between them).
    Check("two columns",
          "<table cellpadding=0 cellspacing=0>"
          "<tr><td colspan=2 width=41 height=5 bgcolor=#ff0000></td></tr>"
          "<tr><td width=10 height=5 bgcolor=#00ff00></td><td width=10 height=5 bgcolor=#0000ff></td></tr>"
          "</table>",
          SIZE{43, 12},
          {{0, 0, kRed},
           {41, 4, kRed},
           {42, 0, kWhite},
           {0, 5, kWhite},
           {0, 6, kGreen},
           {19, 10, kGreen},
           {20, 6, kWhite},
           {21, 6, kBlue},
           {41, 10, kBlue},
           {42, 10, kWhite}});
    // A cell over two rows, 21 high, beside cells of 5: the odd pixel goes to the first row
    // (11 and 10 high).
    Check("two rows",
          "<table cellpadding=0 cellspacing=0>"
          "<tr><td rowspan=2 width=5 height=21 bgcolor=#ff0000></td><td width=5 height=5 bgcolor=#00ff00></td></tr>"
          "<tr><td width=5 height=5 bgcolor=#0000ff></td></tr>"
          "</table>",
          SIZE{12, 23},
          {{0, 0, kRed},
           {4, 21, kRed},
           {5, 0, kWhite},
           {6, 0, kGreen},
           {10, 10, kGreen},
           {8, 11, kWhite},
           {8, 12, kBlue},
           {10, 21, kBlue},
           {0, 22, kWhite}});
}

TEST_F(HtmlTables, FreeColumnsStretchWhenDrawnAndFixedTablesAreAligned)
{
    // Measured at its content (12 wide); drawn into 101 pixels, the two columns without a
    // width share the 89 left over: 44 and 45.
    const char* stretched = "<table cellpadding=0 cellspacing=0><tr>"
                            "<td height=4 bgcolor=#ff0000></td><td width=10 height=4 bgcolor=#0000ff></td>"
                            "<td height=4 bgcolor=#00ff00></td></tr></table>";
    Check("stretched", stretched, SIZE{13, 5},
          {{0, 0, kRed},
           {43, 3, kRed},
           {44, 0, kWhite},
           {45, 0, kBlue},
           {54, 3, kBlue},
           {55, 0, kWhite},
           {56, 0, kGreen},
           {100, 3, kGreen}},
          101);

    struct Case
    {
        const char* align;
        int left; // of the one 10-pixel column in a block of 51
    };
    const Case cases[] = {{"", 0}, {"align=left", 0}, {"align=center", 20}, {"align=right", 41}};
    for (const Case& c : cases) {
        const std::string text = std::string("<table ") + c.align +
                                 " cellpadding=0 cellspacing=0><tr><td width=10 height=4 bgcolor=#0000ff></td>"
                                 "</tr></table>";
        Check(text.c_str(), text.c_str(), SIZE{11, 5},
              {{c.left, 0, kBlue},
               {c.left + 9, 3, kBlue},
               {c.left + 10, 0, kWhite},
               {c.left ? c.left - 1 : 50, 0, kWhite}},
              51);
    }
}

TEST_F(HtmlTables, NestedTableIsDrawnInsideItsCellsContent)
{
    // The outer table: a border of 1 (its cell gets one too) and a cell padding of 3, so the
    // cell's content starts 1 + 1 + 3 = 5 pixels in. The inner table fills 6 x 4 there.
    Check("nested",
          "<table border=1 bordercolor=#000000 cellpadding=3 cellspacing=0><tr><td>"
          "<table border=0 cellpadding=0 cellspacing=0><tr><td width=6 height=4 bgcolor=#ff0000></td></tr></table>"
          "</td></tr></table>",
          SIZE{17, 15},
          {{0, 0, kBlack},
           {15, 13, kBlack},
           {1, 1, kBlack},
           {14, 12, kBlack},
           {2, 2, kWhite},
           {4, 5, kWhite},
           {5, 4, kWhite},
           {5, 5, kRed},
           {10, 8, kRed},
           {11, 5, kWhite},
           {5, 9, kWhite}});
}

TEST_F(HtmlTables, TableWithoutRowsDrawsOnlyItsBackgroundAndBorder)
{
    // No columns: 9 - 1 pixels of spacing, plus the border on both sides.
    const char* text = "<table cellspacing=9 border=2 bordercolor=#0000ff bgcolor=#ff0000></table>";
    const SIZE size = Measure(text);
    EXPECT_EQ(13, size.cx);
    EXPECT_EQ(13, size.cy);
    const RECT rect = {0, 0, size.cx, size.cy};
    drawer.DrawPreparedOutput(canvas.Hdc(), &rect);

    const RECT table = {0, 0, 12, 12};
    const HBRUSH red = ::CreateSolidBrush(kRed);
    ::FillRect(reference.Hdc(), &table, red);
    ::DeleteObject(red);
    drawer.GetDrawManager()->DrawRectangle(reference.Hdc(), table, kBlue, kBlue, CPPDrawManager::PEN_SOLID, 2);
    ExpectSameAsReference("background and border only");
    EXPECT_EQ(kRed, canvas.At(5, 5));
    EXPECT_EQ(kBlue, canvas.At(0, 0));
}

TEST_F(HtmlTables, EveryBackgroundEffectName)
{
    struct Case
    {
        const char* name;
        int effect; // -1: nothing drawn
    };
    const Case cases[] = {{"transparent", -1}, {"solid", 0},      {"hgradient", 1},  {"vgradient", 2},
                          {"hcgradient", 3},   {"vcgradient", 4}, {"3hgradient", 5}, {"3vgradient", 6},
                          {"noise", 7},        {"diagshade", 8},  {"hshade", 9},     {"vshade", 10},
                          {"hbump", 11},       {"vbump", 12},     {"softbump", 13},  {"hardbump", 14},
                          {"metal", 15},       {"12", 12},        {"sparkle", 0}};
    const COLORREF c1 = RGB(16, 32, 48), c2 = RGB(160, 176, 192), c3 = RGB(240, 224, 208);
    for (const Case& c : cases) {
        canvas.Clear(kWhite);
        reference.Clear(kWhite);
        // No rows: the table is 30 x 30 of background alone.
        const std::string text = std::string("<table cellspacing=31 bgcolor=#102030 bgmidcolor=#a0b0c0 "
                                             "bgendcolor=#f0e0d0 bgeffect=") +
                                 c.name + "></table>";
        srand(77); // the textures draw random numbers
        const SIZE size = Render(text.c_str());
        EXPECT_EQ(31, size.cx) << c.name;
        if (c.effect >= 0) {
            srand(77);
            drawer.GetDrawManager()->FillEffect(reference.Hdc(), c.effect, RECT{0, 0, 30, 30}, c1, c2, c3, 5);
        }
        ExpectSameAsReference(c.name);
    }
}

TEST_F(HtmlTables, SpansStayOnTheGrid)
{
    struct Case
    {
        const char* what;
        const char* text;
        SIZE size;
        std::initializer_list<Pixel> pixels;
    };
    const Case cases[] = {
        // Spans of 0 and below count as 1: two cells side by side.
        {"span 0 and -1",
         "<table cellpadding=0 cellspacing=0><tr><td colspan=0 rowspan=0 width=4 height=4 bgcolor=#ff0000></td>"
         "<td colspan=-1 rowspan=-1 width=4 height=4 bgcolor=#00ff00></td></tr></table>",
         SIZE{10, 5},
         {{0, 0, kRed}, {3, 3, kRed}, {4, 0, kWhite}, {5, 0, kGreen}, {8, 3, kGreen}}},
        // Spans past the grid stop at its edge: one cell over the whole 2 x 2 grid, and the
        // cells that find no slot left are dropped.
        {"span 99",
         "<table cellpadding=0 cellspacing=0><tr><td colspan=99 rowspan=99 width=4 height=4 bgcolor=#ff0000></td>"
         "<td width=4 height=4 bgcolor=#00ff00></td></tr>"
         "<tr><td width=4 height=4 bgcolor=#0000ff></td><td width=4 height=4 bgcolor=#0000ff></td></tr></table>",
         SIZE{6, 6},
         {{0, 0, kRed}, {4, 4, kRed}, {5, 0, kWhite}, {0, 5, kWhite}}},
        // A span stops before a slot that a cell of an earlier row holds.
        {"span into a taken slot",
         "<table cellpadding=0 cellspacing=0>"
         "<tr><td width=4 height=4 bgcolor=#ff0000></td><td rowspan=2 width=4 height=9 bgcolor=#00ff00></td></tr>"
         "<tr><td colspan=2 width=4 height=4 bgcolor=#0000ff></td></tr></table>",
         SIZE{10, 11},
         {{0, 0, kRed},
          {0, 4, kRed},
          {0, 5, kWhite},
          {5, 0, kGreen},
          {5, 9, kGreen},
          {0, 6, kBlue},
          {3, 9, kBlue},
          {4, 6, kWhite}}},
    };
    for (const Case& c : cases)
        Check(c.what, c.text, c.size, c.pixels);
}

TEST_F(HtmlTables, NestingIsBoundedAndUnclosedTablesEndWithTheText)
{
    // Tables inside tables: the sixteenth level still draws, the seventeenth is skipped.
    auto nested = [](int levels) {
        std::string text;
        for (int i = 0; i < levels; ++i)
            text += "<table cellpadding=0 cellspacing=0><tr><td>";
        text += "<table cellpadding=0 cellspacing=0><tr><td width=3 height=3 bgcolor=#ff0000></td></tr></table>";
        for (int i = 0; i < levels; ++i)
            text += "</td></tr></table>";
        return text;
    };
    Check("16 levels", nested(15).c_str(), SIZE{4, 4}, {{0, 0, kRed}, {2, 2, kRed}, {3, 0, kWhite}});
    Check("17 levels", nested(16).c_str(), SIZE{0, 0}, {{0, 0, kWhite}, {2, 2, kWhite}});

    // Thousands of levels never closed: every search moves on, and both passes end.
    std::string deep;
    for (int i = 0; i < 3000; ++i)
        deep += "<table><tr><td>";
    Render((deep + "x").c_str());

    // A table never closed runs to the end of the text, below the text before it.
    html_test::TestFont font(reference.Hdc(), 16, "arial");
    const int h = font.Metrics().tmHeight;
    Check("unclosed", "ab<table cellpadding=0 cellspacing=0><tr><td width=3 height=3 bgcolor=#ff0000>",
          SIZE{font.Width("ab") + 1, h + 3 + 1}, {{0, h, kRed}, {2, h + 2, kRed}, {3, h, kWhite}, {0, h + 3, kWhite}});
    // A table whose tag never ends has no rows and takes no room.
    Check("tag never ended", "x<table bgcolor=#ff0000", SIZE{font.Width("x") + 1, h + 1}, {{0, h, kWhite}});
}

} // namespace

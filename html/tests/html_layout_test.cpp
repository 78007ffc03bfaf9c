// The drawer's line layout: sizes, word wrap, cut words, empty lines, justification,
// alignment, rules, tabs and line breaks, checked against text drawn with plain GDI.
#include "html_drawer_fixture.h"
#include "testsupport/GdiCheck.h"

using html_test::TestFont;

namespace {

class HtmlLayout : public html_test::HtmlDrawerTest
{};

TEST_F(HtmlLayout, WithoutMaximumWidthALongLineStaysOneLine)
{
    const char* text = "The quick brown fox jumps over the lazy dog, again and again and again.";
    TestFont font(reference.Hdc(), 16, "arial");
    const SIZE size = Render(text);
    EXPECT_EQ(font.Width(text) + 1, size.cx);
    EXPECT_EQ(font.Metrics().tmHeight + 1, size.cy);
    font.Draw(0, 0, text);
    ExpectSameAsReference("one long line");
}

TEST_F(HtmlLayout, EmptyTextIsZeroByZeroAndDrawsNothing)
{
    EXPECT_EQ(0, Measure("").cx);
    EXPECT_EQ(0, Measure("").cy);
    EXPECT_EQ(0, Measure(nullptr).cx);
    // Only tags that take no room: nothing to draw either.
    const SIZE size = Render("<b></b>");
    EXPECT_EQ(0, size.cx);
    EXPECT_EQ(0, size.cy);
    const RECT rect = {0, 0, 50, 50};
    drawer.DrawPreparedOutput(canvas.Hdc(), &rect);
    EXPECT_EQ(0, canvas.Ink().right);
}

TEST_F(HtmlLayout, WrapsBehindTheBreakCharacter)
{
    TestFont font(reference.Hdc(), 16, "arial");
    const int h = font.Metrics().tmHeight;
    drawer.SetMaxWidth(font.Width("well-known") - 1);
    const SIZE size = Render("well-known");
    EXPECT_EQ((font.Width("well-") > font.Width("known") ? font.Width("well-") : font.Width("known")) + 1, size.cx);
    EXPECT_EQ(2 * h + 1, size.cy);
    font.Draw(0, 0, "well-");
    font.Draw(0, h, "known");
    ExpectSameAsReference("well- / known");
}

TEST_F(HtmlLayout, WrapDropsSpacesAndMovesWholeWords)
{
    TestFont font(reference.Hdc(), 16, "arial");
    const int h = font.Metrics().tmHeight;
    // Trailing spaces of the wrapped line and leading ones of its continuation go.
    drawer.SetMaxWidth(font.Width("aaa bb"));
    Render("aaa    bbb");
    font.Draw(0, 0, "aaa");
    font.Draw(0, h, "bbb");
    ExpectSameAsReference("spaces at the wrap");

    // A word that does not fit after other content goes whole to the next line.
    canvas.Clear(RGB(255, 255, 255));
    reference.Clear(RGB(255, 255, 255));
    drawer.SetMaxWidth(font.Width("yyyy") + 2);
    const SIZE size = Render("<i>xx</i>yyyy");
    EXPECT_EQ(2 * h + 1, size.cy);
    {
        TestFont italic(reference.Hdc(), 16, "arial", FW_NORMAL, TRUE);
        italic.Draw(0, 0, "xx");
    }
    font.Draw(0, h, "yyyy");
    ExpectSameAsReference("whole word on the next line");
}

TEST_F(HtmlLayout, WordWiderThanAnEmptyLineIsCutBetweenCharacters)
{
    drawer.SetCssStyles("body {font-size: 16px; font-family: \"courier new\"}");
    TestFont font(reference.Hdc(), 16, "courier new");
    const int w = font.Width("a"), h = font.Metrics().tmHeight;
    ASSERT_EQ(10 * w, font.Width("abcdefghij")) << "a fixed-pitch font";
    drawer.SetMaxWidth(4 * w + 1);
    const SIZE size = Render("abcdefghij");
    EXPECT_EQ(4 * w + 1, size.cx);
    EXPECT_EQ(3 * h + 1, size.cy);
    font.Draw(0, 0, "abcd");
    font.Draw(0, h, "efgh");
    font.Draw(0, 2 * h, "ij");
    ExpectSameAsReference("cut words");

    // Narrower than one character: still one character a line, the width clamped.
    drawer.SetMaxWidth(1);
    const SIZE narrow = Measure("abc");
    EXPECT_EQ(2, narrow.cx);
    EXPECT_EQ(3 * h + 1, narrow.cy);
}

TEST_F(HtmlLayout, EmptyLineIsAsHighAsTheCurrentFont)
{
    TestFont font(reference.Hdc(), 16, "arial");
    const int h = font.Metrics().tmHeight;
    EXPECT_EQ(3 * h + 1, Measure("a<br><br>b").cy);
    EXPECT_EQ(3 * h + 1, Measure("a<br></br>b").cy); // the closing form breaks the same way
    EXPECT_EQ(4 * h + 1, Measure("a<br 3>b").cy);
    TestFont big(canvas.Hdc(), 40, "arial");
    EXPECT_EQ(h + big.Metrics().tmHeight + h + 1, Measure("a<br><font size=40><br></font>b").cy);
}

TEST_F(HtmlLayout, LineBreakOption)
{
    TestFont font(reference.Hdc(), 16, "arial");
    const int h = font.Metrics().tmHeight;
    const SIZE on = Measure("ab\r\ncd");
    EXPECT_EQ(2 * h + 1, on.cy);
    drawer.SetOption(FALSE);
    const SIZE off = Measure("ab\r\ncd\t");
    EXPECT_EQ(h + 1, off.cy);
    EXPECT_EQ(font.Width("abcd") + 1, off.cx);
}

TEST_F(HtmlLayout, JustifiedTextStretchesOnlyWrappedLines)
{
    drawer.SetCssStyles("body {font-size: 16px; font-family: \"courier new\"}");
    TestFont font(reference.Hdc(), 16, "courier new");
    const int w = font.Width("a"), h = font.Metrics().tmHeight;
    drawer.SetMaxWidth(13 * w);
    // Lines: "a b c" (wrapped), "dddddddddddd" (wrapped, no space), "e f" (the last).
    const SIZE size = Render("<justify>a b c dddddddddddd e f</justify>");
    ASSERT_EQ(12 * w + 1, size.cx);
    ASSERT_EQ(3 * h + 1, size.cy);
    // The first line runs from the left edge to the right one: "a" at 0, "c" ending at the
    // block's edge, "b" somewhere between; the other two lines keep their natural spacing.
    font.Draw(0, 0, "a");
    font.Draw(11 * w + 1, 0, "c");
    font.Draw(0, h, "dddddddddddd");
    font.Draw(0, 2 * h, "e f");
    const RECT middle = {w, 0, 11 * w + 1, h};
    EXPECT_GT(canvas.Ink(RGB(255, 255, 255), 0, h).right, 0);
    ::BitBlt(reference.Hdc(), middle.left, 0, middle.right - middle.left, h, canvas.Hdc(), middle.left, 0, SRCCOPY);
    ExpectSameAsReference("justified");
    DibSurface b(middle.right - middle.left, h, RGB(255, 255, 255));
    ::BitBlt(b.Hdc(), 0, 0, b.Width(), h, canvas.Hdc(), middle.left, 0, SRCCOPY);
    const RECT ink = b.Ink();
    EXPECT_GT(ink.left, 2 * w) << "\"b\" moved right";
    EXPECT_LT(ink.right, b.Width() - 2 * w) << "\"b\" left of \"c\"";

    // The same text left-aligned: the first line is as narrow as its words.
    canvas.Clear(RGB(255, 255, 255));
    Render("a b c dddddddddddd e f");
    EXPECT_LE(canvas.Ink(RGB(255, 255, 255), 0, h).right, 5 * w);
}

TEST_F(HtmlLayout, CentredAndRightLinesUseTheMeasuredWidths)
{
    drawer.SetCssStyles("body {font-size: 16px; font-family: \"courier new\"}");
    TestFont font(reference.Hdc(), 16, "courier new");
    const int w = font.Width("a"), h = font.Metrics().tmHeight;
    // In a block of 4w + 1: where "aaaa" and "bb" start.
    struct Case
    {
        const char* text;
        int firstX, secondX;
    } cases[] = {
        {"<center>aaaa<br>bb</center>", 0, (4 * w + 1 - 2 * w) / 2},
        {"<right>aaaa<br>bb</right>", 1, 4 * w + 1 - 2 * w},
        {"<left>aaaa<br>bb</left>", 0, 0},
    };
    for (const Case& c : cases) {
        canvas.Clear(RGB(255, 255, 255));
        reference.Clear(RGB(255, 255, 255));
        const SIZE size = Render(c.text);
        EXPECT_EQ(4 * w + 1, size.cx) << c.text;
        font.Draw(c.firstX, 0, "aaaa");
        font.Draw(c.secondX, h, "bb");
        ExpectSameAsReference(c.text);
    }
}

TEST_F(HtmlLayout, RuleOfFiftyPercentTakesHalfTheBlock)
{
    TestFont font(reference.Hdc(), 16, "arial");
    const int h = font.Metrics().tmHeight;
    const SIZE size = Measure("abcdefghij<br><hr width=50% size=1 color=#ff0000>");
    EXPECT_EQ(font.Width("abcdefghij") + 1, size.cx) << "the rule does not widen the block";
    EXPECT_EQ(h + 9 + 1, size.cy) << "a rule line is its thickness + 8 high";
    const RECT rect = {0, 0, 200, size.cy};
    drawer.DrawPreparedOutput(canvas.Hdc(), &rect);
    // Half of 200, in the middle of the rule's line.
    const int y = h + 9 / 2;
    for (int x = 0; x < 200; ++x)
        EXPECT_EQ(x < 100 ? RGB(255, 0, 0) : RGB(255, 255, 255), canvas.At(x, y)) << "column " << x;
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(50, y - 1));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(50, y + 1));

    // A rule of a fixed width counts as that width.
    EXPECT_EQ(151, Measure("<hr width=150>").cx);
}

TEST_F(HtmlLayout, TabsMoveToTheNextStops)
{
    TestFont font(canvas.Hdc(), 16, "arial");
    const int x = font.Width("x");
    struct Case
    {
        const char* text;
        int end; // of the text before the "x"
    } cases[] = {
        {"<hr width=10><t 3>x", 96}, // 10 -> 32, then two more stops
        {"<hr width=32><t>x", 64},   // already at a stop: a whole tab
        {"<t>x", 32},
        {"\tx", 32},
        {"<t 0>x", 32}, // a count of 0 counts as 1
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.end + x + 1, Measure(c.text).cx) << c.text;
    drawer.SetTabSize(10);
    EXPECT_EQ(20 + x + 1, Measure("<hr width=10><t>x").cx);
}

TEST_F(HtmlLayout, TextTransforms)
{
    drawer.SetCssStyles(CString(kSheet) + " .up {text-transform:uppercase} .cap {text-transform:capitalize}");
    TestFont font(reference.Hdc(), 16, "arial");
    Render("<span class=up>mixed Case</span> <span class=cap>hello wORLD</span>");
    int x = font.Draw(0, 0, "MIXED CASE");
    x = font.Draw(x, 0, " ");
    font.Draw(x, 0, "Hello World");
    ExpectSameAsReference("transforms");
}

TEST_F(HtmlLayout, DrawHtmlAtDrawsAtThePointAndPassesRestoreTheDC)
{
    TestFont font(reference.Hdc(), 16, "arial");
    font.Draw(30, 20, "here");
    HGDIOBJ fontBefore = ::GetCurrentObject(canvas.Hdc(), OBJ_FONT);
    ::SetTextColor(canvas.Hdc(), RGB(1, 2, 3));
    ::SetBkColor(canvas.Hdc(), RGB(4, 5, 6));
    ::SetBkMode(canvas.Hdc(), OPAQUE);
    const LiveGdiCheck gdi;
    drawer.DrawHtmlAt(canvas.Hdc(), "<b><font color=red bkgnd=yellow>x</font></b><br>", POINT{300, 200});
    canvas.Clear(RGB(255, 255, 255));
    drawer.DrawHtmlAt(canvas.Hdc(), "here", POINT{30, 20});
    EXPECT_EQ(fontBefore, ::GetCurrentObject(canvas.Hdc(), OBJ_FONT));
    EXPECT_EQ(RGB(1, 2, 3), ::GetTextColor(canvas.Hdc()));
    EXPECT_EQ(RGB(4, 5, 6), ::GetBkColor(canvas.Hdc()));
    EXPECT_EQ(OPAQUE, ::GetBkMode(canvas.Hdc()));
    EXPECT_TRUE(gdi.Unchanged());
    ExpectSameAsReference("drawn at (30, 20)");
}

} // namespace

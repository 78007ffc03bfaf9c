// The drawer's dialect: entities, tags and their scopes, the font tag, colours, the
// tokenizer, resource strings; drawn text checked against plain GDI.
#include "html_drawer_fixture.h"

using html_test::TestFont;

namespace {

class HtmlDialect : public html_test::HtmlDrawerTest
{
protected:
    // One run of text in a font of the reference.
    struct Run
    {
        const char* text;
        int weight;
        BOOL italic;
    };
    // Draws the runs one after the other on the top line of the reference.
    void DrawRuns(const std::vector<Run>& runs)
    {
        int x = 0;
        for (const Run& run : runs) {
            TestFont font(reference.Hdc(), 16, "arial", run.weight, run.italic);
            x = font.Draw(x, 0, run.text);
        }
    }
};

TEST_F(HtmlDialect, SpecialCharacters)
{
    struct Case
    {
        const char* source;
        const char* prepared;
    } cases[] = {
        {"&amp;&bull;&copy;&euro;&gt;&iquest;", "&\x95\xA9\x80>\xBF"},
        {"&lt;&nbsp;&para;&pound;&quot;&reg;&trade;", "<< \xB6\xA3\"\xAE\x99"},
        {"&amp;lt;", "<<"}, // "&amp;" goes first, then the "&lt;" it made
        {"&unknown; &AMP;", "&unknown; &AMP;"},
        {"a\r\nb\tc\r", "a<br>b<t>c"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.prepared, drawer.ReplaceSpecialChars(c.source)) << c.source;
    drawer.SetOption(FALSE);
    EXPECT_STREQ("abc", drawer.ReplaceSpecialChars("a\r\nb\tc"));
}

TEST_F(HtmlDialect, EntitiesShowAsTextAndOpenNoTag)
{
    TestFont font(reference.Hdc(), 16, "arial");
    const SIZE size = Render("&lt;b&gt;x &amp; &quot;y&quot;");
    EXPECT_EQ(font.Width("<b>x & \"y\"") + 1, size.cx);
    font.Draw(0, 0, "<b>x & \"y\"");
    ExpectSameAsReference("entities");
}

TEST_F(HtmlDialect, ScopesNestAndCloseInnermostFirst)
{
    const int N = FW_NORMAL, B = FW_BOLD;
    struct Case
    {
        const char* markup;
        std::vector<Run> runs;
    } cases[] = {
        {"<b>x</b>y", {{"x", 800, FALSE}, {"y", N, FALSE}}},
        {"<b><b>x</b>y</b>z", {{"x", 900, FALSE}, {"y", 800, FALSE}, {"z", N, FALSE}}},
        {"<i>a<i>b</i>c</i>d", {{"a", N, TRUE}, {"b", N, FALSE}, {"c", N, TRUE}, {"d", N, FALSE}}},
        {"<b>a</i>b</b>c", {{"a", 800, FALSE}, {"b", 800, FALSE}, {"c", N, FALSE}}}, // "</i>" matches nothing
        {"<em>a</i>b", {{"a", N, TRUE}, {"b", N, FALSE}}},                           // one style name
        {"<B>a</B>b<I>c", {{"a", N, FALSE}, {"b", N, FALSE}, {"c", N, FALSE}}},      // upper case: no tags
        {"<font style=b>a<i>b</font>c</i>d", {{"a", B, FALSE}, {"b", B, TRUE}, {"c", B, TRUE}, {"d", B, FALSE}}},
    };
    for (const Case& c : cases) {
        canvas.Clear(RGB(255, 255, 255));
        reference.Clear(RGB(255, 255, 255));
        Render(c.markup);
        DrawRuns(c.runs);
        ExpectSameAsReference(c.markup);
    }
}

// The top row of ink between two columns.
int InkTop(const DibSurface& s, int left, int right)
{
    for (int y = 0; y < s.Height(); ++y)
        for (int x = left; x < right; ++x)
            if (s.At(x, y) != RGB(255, 255, 255))
                return y;
    return -1;
}

TEST_F(HtmlDialect, MiddleIsClosedByVcenterBottomIsNot)
{
    TestFont big(canvas.Hdc(), 40, "arial");
    const int start = big.Width("X");
    int a = 0;
    {
        TestFont small(canvas.Hdc(), 16, "arial");
        a = small.Width("a");
    }
    struct Case
    {
        const char* markup;
        bool sameHeight; // the two a's
    } cases[] = {
        {"<font size=40>X</font><middle>a</vcenter>a", false},
        {"<font size=40>X</font><bottom>a</vcenter>a", true},
        {"<font size=40>X</font><bottom>a</bottom>a", false},
        {"<font size=40>X</font><top>a</top>a", false},
    };
    for (const Case& c : cases) {
        canvas.Clear(RGB(255, 255, 255));
        Render(c.markup);
        const int first = InkTop(canvas, start, start + a), second = InkTop(canvas, start + a, start + 2 * a);
        ASSERT_GE(first, 0) << c.markup;
        ASSERT_GE(second, 0) << c.markup;
        EXPECT_EQ(c.sameHeight, first == second) << c.markup << ": " << first << " and " << second;
    }
}

TEST_F(HtmlDialect, EveryAttributeOfTheFontTag)
{
    const COLORREF black = RGB(0, 0, 0), none = CLR_INVALID;
    struct Case
    {
        const char* markup;
        int height;
        const char* face;
        int weight;
        BOOL italic, underline, strikeOut;
        COLORREF colour, background; // background CLR_INVALID: transparent
    } cases[] = {
        {"<font face=\"courier new\">iii</font>", 16, "courier new", FW_NORMAL, 0, 0, 0, black, none},
        {"<font face=\"\">iii</font>", 16, "arial", FW_NORMAL, 0, 0, 0, black, none},
        {"<font size=30>iii</font>", 30, "arial", FW_NORMAL, 0, 0, 0, black, none},
        {"<font size=3>iii</font>", 12, "arial", FW_NORMAL, 0, 0, 0, black, none},
        {"<font size=+2>iii</font>", 10, "arial", FW_NORMAL, 0, 0, 0, black, none},
        {"<font size=20px>iii</font>", 20, "arial", FW_NORMAL, 0, 0, 0, black, none},
        {"<font color=#FF0000>iii</font>", 16, "arial", FW_NORMAL, 0, 0, 0, RGB(255, 0, 0), none},
        {"<font color=255>iii</font>", 16, "arial", FW_NORMAL, 0, 0, 0, RGB(255, 0, 0), none},
        {"<font color=crimson>iii</font>", 16, "arial", FW_NORMAL, 0, 0, 0, RGB(0xDC, 0x14, 0x3C), none},
        {"<font color=#F00>iii</font>", 16, "arial", FW_NORMAL, 0, 0, 0, black, none},
        {"<font color=nosuch>iii</font>", 16, "arial", FW_NORMAL, 0, 0, 0, black, none},
        {"<i><font style=+b-i>iii</font></i>", 16, "arial", FW_BOLD, 0, 0, 0, black, none},
        {"<font style='us'>iii</font>", 16, "arial", FW_NORMAL, 0, 1, 1, black, none},
        {"<u><font style=-u+i>iii</font></u>", 16, "arial", FW_NORMAL, 1, 0, 0, black, none},
        {"<b><font style=-b>iii</font></b>", 16, "arial", FW_NORMAL, 0, 0, 0, black, none},
        {"<font weight=bold>iii</font>", 16, "arial", FW_BOLD, 0, 0, 0, black, none},
        {"<font bkgnd=yellow>iii</font>", 16, "arial", FW_NORMAL, 0, 0, 0, black, RGB(255, 255, 0)},
        {"<font bkgnd=yellow><font bkgnd=transparent>iii</font></font>", 16, "arial", FW_NORMAL, 0, 0, 0, black, none},
    };
    for (const Case& c : cases) {
        canvas.Clear(RGB(255, 255, 255));
        reference.Clear(RGB(255, 255, 255));
        Render(c.markup);
        TestFont font(reference.Hdc(), c.height, c.face, c.weight, c.italic, c.underline, c.strikeOut);
        if (c.background != none) {
            ::SetBkMode(reference.Hdc(), OPAQUE);
            ::SetBkColor(reference.Hdc(), c.background);
            ::SetTextColor(reference.Hdc(), c.colour);
            ::TextOut(reference.Hdc(), 0, 0, "iii", 3);
        } else {
            font.Draw(0, 0, "iii", c.colour);
        }
        ExpectSameAsReference(c.markup);
    }
}

TEST_F(HtmlDialect, OverlineIsALineOfTheTextColourOverTheText)
{
    Render("<font style=o color=blue>iii</font>");
    TestFont font(reference.Hdc(), 16, "arial");
    const int width = font.Draw(0, 0, "iii", RGB(0, 0, 255));
    for (int x = 0; x < width; ++x)
        reference.Set(x, 0, RGB(0, 0, 255));
    ExpectSameAsReference("overline");
}

TEST_F(HtmlDialect, DisabledDrawerDrawsInTheDisabledColour)
{
    const COLORREF green = RGB(0, 128, 0);
    const char* markup = "x<font color=red>y</font><a href=q>z</a><font bkgnd=yellow>w</font>";
    Render(markup);
    const RECT enabled = canvas.Ink();
    int red = 0; // enabled, the "y" is red
    for (int y = 0; y < enabled.bottom; ++y)
        for (int x = 0; x < enabled.right; ++x)
            red += GetRValue(canvas.At(x, y)) > 200 && GetGValue(canvas.At(x, y)) < 60;
    EXPECT_GT(red, 3);

    canvas.Clear(RGB(255, 255, 255));
    drawer.SetEnabled(FALSE);
    drawer.SetDisabledColor(green);
    Render(markup);
    TestFont font(reference.Hdc(), 16, "arial");
    int x = 0; // one colour, no background
    for (const char* piece : {"x", "y", "z", "w"})
        x = font.Draw(x, 0, piece, green);
    ExpectSameAsReference("disabled");
}

TEST_F(HtmlDialect, ColourValues)
{
    const COLORREF def = RGB(1, 2, 3);
    struct Case
    {
        const char* text;
        COLORREF colour;
    } cases[] = {
        {"#FF0000", RGB(255, 0, 0)},
        {"#00ff80", RGB(0, 255, 128)},
        {"#F00", def},
        {"#FF00000", def},
        {"#GG0000", def},
        {"", def},
        {"255", RGB(255, 0, 0)},
        {"0xFF00", RGB(0, 255, 0)},
        {"010", 8},
        {"red", RGB(255, 0, 0)},
        {"Red", def},
        {"aqua", 0xFFFF00},
        {"cyan", 0xFFFF00},
        {"brown", 0x2A2AA5},
        {"gold", 0x00D7FF},
        {"orange", 0x00A5FF},
        {"pink", 0xCBC0FF},
        {"snow", 0xFAFAFF},
        {"violet", 0xEE82EE},
        {"aliceblue", 0xFFF8F0},
        {"crimson", 0x3C14DC},
        {"lightgrey", RGB(0xD3, 0xD3, 0xD3)},
        {"lightgray", def},
        {"darkslategray", RGB(0x2F, 0x4F, 0x4F)},
        {"yellowgreen", RGB(0x9A, 0xCD, 0x32)},
        {"buttonface", ::GetSysColor(COLOR_BTNFACE)},
        {"threedface", ::GetSysColor(COLOR_3DFACE)},
        {"infobackground", ::GetSysColor(COLOR_INFOBK)},
        {"windowtext", ::GetSysColor(COLOR_WINDOWTEXT)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.colour, drawer.GetColorValue(c.text, def)) << "\"" << c.text << "\"";

    drawer.SetColorName("cakepink", RGB(250, 200, 210));
    EXPECT_EQ(RGB(250, 200, 210), drawer.GetColorByName("cakepink", def));
    drawer.SetEnabled(FALSE);
    drawer.SetDisabledColor(RGB(9, 9, 9));
    EXPECT_EQ(RGB(9, 9, 9), drawer.GetColorByName("red", def));
    EXPECT_EQ(RGB(9, 9, 9), drawer.GetColorByName("nosuch", def));
}

TEST_F(HtmlDialect, TagCodes)
{
    struct Case
    {
        const char* tag;
        int code;
        const char* style;
        bool closing;
    } cases[] = {
        {"b", 1, "bold", false},
        {"/b", 1, "bold", true},
        {"B", 0, "", false},
        {"em", 2, "italic", false},
        {"strike", 4, "strikeout", false},
        {"font", 5, "font", false},
        {"hr", 6, "", false},
        {"/br", 7, "", true},
        {"\n", 7, "", false},
        {"t", 8, "", false},
        {"\t", 8, "", false},
        {"justify", 12, "justify", false},
        {"middle", 15, "vcenter", false},
        {"/vcenter", 15, "vcenter", true},
        {"bottom", 16, "bottom", false},
        {"ilst", 19, "", false},
        {"string", 20, "", false},
        {"h6", 21, "h6", false},
        {"sup", 21, "sup", false},
        {"span", 22, "span", false},
        {"a", 23, "link", false},
        {"table", 0, "", false},
        {"", 0, "", false},
        {"/", 0, "", true},
    };
    for (const Case& c : cases) {
        CString style = "stale";
        bool closing = !c.closing;
        EXPECT_EQ(c.code, drawer.GetTagCode(c.tag, style, closing)) << "\"" << c.tag << "\"";
        EXPECT_STREQ(c.style, style) << "\"" << c.tag << "\"";
        EXPECT_EQ(c.closing, closing) << "\"" << c.tag << "\"";
    }
    drawer.AddTag("strong", CPPHtmlDialect::TAG_BOLD, "bold");
    CString style;
    bool closing = false;
    EXPECT_EQ(1, drawer.GetTagCode("strong", style, closing));
}

TEST_F(HtmlDialect, TagAttributes)
{
    const CString text = " face=\"Courier New\" size = 3 bold x='y z' =junk last=\"open";
    const char* want[][2] = {{"face", "Courier New"}, {"size", "3"}, {"bold", ""}, {"x", "y z"}, {"junk", ""},
                             {"last", "open"}};
    int pos = 0;
    CString name, value;
    for (const auto& w : want) {
        ASSERT_TRUE(HtmlTokens::GetTagAttributes(text, pos, name, value)) << w[0];
        EXPECT_STREQ(w[0], name);
        EXPECT_STREQ(w[1], value) << w[0];
    }
    EXPECT_FALSE(HtmlTokens::GetTagAttributes(text, pos, name, value));
    pos = 0;
    EXPECT_FALSE(HtmlTokens::GetTagAttributes("  = \"\" ", pos, name, value));

    // The readers move forward or report the end.
    int at = 0;
    EXPECT_TRUE(HtmlTokens::SkipToToken("  ;+x", at));
    EXPECT_EQ(4, at);
    at = 0;
    EXPECT_TRUE(HtmlTokens::SkipToToken("  ;+x", at, true));
    EXPECT_EQ(3, at);
    at = 0;
    EXPECT_EQ(';', HtmlTokens::FindOneOf("ab;c", at, ";,"));
    EXPECT_EQ(2, at);
    EXPECT_EQ(0, HtmlTokens::FindOneOf("abc", at, ";"));
    EXPECT_EQ(3, at);
    at = 0;
    EXPECT_FALSE(HtmlTokens::ExpectChar("  x", at, ':'));
    EXPECT_EQ(0, at);
    EXPECT_TRUE(HtmlTokens::ExpectChar("  :x", at, ':'));
    EXPECT_EQ(3, at);
    at = 0;
    EXPECT_STREQ("key", HtmlTokens::ReadToken("key:value", at, ":"));
    CString value2;
    EXPECT_TRUE(HtmlTokens::GetValue("key : 'a b';", at, ':', ";", value2));
    EXPECT_STREQ("a b", value2);
    EXPECT_STREQ("def", HtmlTokens::GetStrValue("def", ""));
    EXPECT_STREQ("v", HtmlTokens::GetStrValue("def", "v"));
}

TEST_F(HtmlDialect, StringTagFromTheProgramsModule)
{
    EXPECT_STREQ("From the program", drawer.GetStringFromResource(28432));
    EXPECT_STREQ("", drawer.GetStringFromResource(0));
    EXPECT_STREQ("", drawer.GetStringFromResource(28431));
    TestFont font(reference.Hdc(), 16, "arial");
    const SIZE size = Render("<string idres=28432>!");
    EXPECT_EQ(font.Width("From the program!") + 1, size.cx);
    int x = font.Draw(0, 0, "From the program");
    font.Draw(x, 0, "!");
    ExpectSameAsReference("resource string");
    // A string that cannot be loaded takes no room.
    EXPECT_EQ(font.Width("!") + 1, Measure("<string idres=28431>!").cx);
}

} // namespace

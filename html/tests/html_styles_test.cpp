// The drawer's style sheets: the default sheet, the rule store, declarations applied to a
// style record, lengths in every unit, and hostile sheets.
#include "html_drawer_fixture.h"
#include <algorithm>

using html_test::TestFont;

namespace {

class HtmlStyles : public html_test::HtmlDrawerTest
{};

TEST_F(HtmlStyles, DefaultSheetHasItsSeventeenRules)
{
    CPPHtmlDrawer fresh;
    const char* rules[][2] = {
        {"body", "font-size: 10pt; color:black; font-family:Verdana"},
        {"p", "font-size: 10pt; color:black; font-family:Verdana; font-weight:bold"},
        {"h1", "font-size: 14pt; color:black; font-family:Verdana; font-weight:bold"},
        {"h2", "font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold"},
        {"h3", "font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold"},
        {"h4", "font-size: 10pt; color:black; font-family:Verdana; font-weight:bold"},
        {"h5", "font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold"},
        {"h6", "font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal"},
        {"pre", "font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb"},
        {"code", "color:#990000; font-family:Arial"},
        {"a:link", "text-decoration:none; color:blue"},
        {"a:hover", "text-decoration:underline; color:blue"},
        {"sub", "font-size:65%; vertical-align:bottom"},
        {"sup", "font-size:65%; vertical-align:top"},
        {"big", "font-size:125%"},
        {"small", "font-size:75%"},
        {".cpp-comment", "color:green; font-style:italic"},
    };
    EXPECT_EQ(17, fresh.GetStyleCount());
    for (const auto& rule : rules) {
        const LPCTSTR text = fresh.GetStyleText(rule[0]);
        ASSERT_NE(nullptr, text) << rule[0];
        EXPECT_STREQ(rule[1], text) << rule[0];
    }
    EXPECT_EQ(nullptr, fresh.GetStyleText("table"));
    const CString& sheet = fresh.GetCssStyles();
    EXPECT_EQ(17, std::count(sheet.GetString(), sheet.GetString() + sheet.GetLength(), '\n'));

    // A null sheet brings the default back; an empty one has no rules.
    fresh.SetCssStyles("");
    EXPECT_EQ(0, fresh.GetStyleCount());
    fresh.SetCssStyles(nullptr);
    EXPECT_EQ(17, fresh.GetStyleCount());
}

TEST_F(HtmlStyles, DefaultBodyIsTenPointsAt96Dpi)
{
    CPPHtmlDrawer fresh;
    PPHtmlStyle style;
    fresh.ApplyStyleByName("body", style);
    EXPECT_EQ(13, style.fontHeight);
    EXPECT_STREQ("verdana", style.face);
    fresh.ApplyStyleByName("h6", style);
    EXPECT_EQ(8, style.fontHeight); // 65 % of 13
    EXPECT_EQ(RGB(0x62, 0x62, 0x62), style.textColor);
}

TEST_F(HtmlStyles, SelectorsAreLowerCased)
{
    drawer.SetStyle("Cake.Top", "color:red");
    EXPECT_STREQ("color:red", drawer.GetStyleText("cake.top"));
    EXPECT_STREQ("color:red", drawer.GetStyleText("CAKE.TOP"));
    drawer.SetStyle("CAKE.top", "color:blue"); // the same rule
    EXPECT_STREQ("color:blue", drawer.GetStyleText("Cake.Top"));
    drawer.RemoveStyle("CAKE.TOP");
    EXPECT_EQ(nullptr, drawer.GetStyleText("cake.top"));
    drawer.RemoveStyle("never there");

    drawer.SetCssStyles("H1 {color:red} .Big {font-size:30px}");
    EXPECT_STREQ("color:red", drawer.GetStyleText("h1"));
    EXPECT_STREQ("font-size:30px", drawer.GetStyleText(".big"));
    EXPECT_STREQ("H1 {color:red} .Big {font-size:30px}", drawer.GetCssStyles());
}

TEST_F(HtmlStyles, CommaSelectorNeverMatches)
{
    drawer.SetCssStyles(CString(kSheet) + " h1, h2 {color:red} h3,h4 {color:red}");
    EXPECT_EQ(nullptr, drawer.GetStyleText("h1"));
    EXPECT_EQ(nullptr, drawer.GetStyleText("h2"));
    EXPECT_EQ(nullptr, drawer.GetStyleText("h3"));
    EXPECT_NE(nullptr, drawer.GetStyleText("h3,h4"));
    TestFont font(reference.Hdc(), 16, "arial");
    Render("<h1>x</h1><h3>y</h3>");
    font.Draw(font.Draw(0, 0, "x"), 0, "y");
    ExpectSameAsReference("no red heading");
}

TEST_F(HtmlStyles, DeclarationsIntoAStyleRecord)
{
    // Each case starts from a fresh record (height 16, width 0, no border).
    struct Case
    {
        const char* declarations;
        void (*check)(const PPHtmlStyle&);
    } cases[] = {
        {"font-family: \"Courier New\"", [](const PPHtmlStyle& s) { EXPECT_STREQ("courier new", s.face); }},
        {"font-family:", [](const PPHtmlStyle& s) { EXPECT_STREQ("Verdana", s.face); }},
        {"FONT-WEIGHT: BOLD; COLOR: RED",
         [](const PPHtmlStyle& s) {
             EXPECT_EQ(FW_BOLD, s.weight);
             EXPECT_EQ(RGB(255, 0, 0), s.textColor);
         }},
        {"font-weight:bolder", [](const PPHtmlStyle& s) { EXPECT_EQ(900, s.weight); }},
        {"font-weight:lighter", [](const PPHtmlStyle& s) { EXPECT_EQ(100, s.weight); }},
        {"font-weight:600", [](const PPHtmlStyle& s) { EXPECT_EQ(600, s.weight); }},
        {"font-weight:bold; font-weight:normal", [](const PPHtmlStyle& s) { EXPECT_EQ(400, s.weight); }},
        {"font-style:oblique", [](const PPHtmlStyle& s) { EXPECT_TRUE(s.italic); }},
        {"font-size:65%", [](const PPHtmlStyle& s) { EXPECT_EQ(10, s.fontHeight); }},
        {"font-size:3", [](const PPHtmlStyle& s) { EXPECT_EQ(12, s.fontHeight); }},
        {"font-size:9", [](const PPHtmlStyle& s) { EXPECT_EQ(9, s.fontHeight); }},
        {"text-align:right", [](const PPHtmlStyle& s) { EXPECT_EQ(PPHtmlStyle::ALIGN_RIGHT, s.hAlign); }},
        {"text-align:center; text-align:justify",
         [](const PPHtmlStyle& s) { EXPECT_EQ(PPHtmlStyle::ALIGN_CENTER, s.hAlign); }},
        {"text-transform:capitalize",
         [](const PPHtmlStyle& s) { EXPECT_EQ(PPHtmlStyle::TRANSFORM_CAPITALIZE, s.transform); }},
        {"text-decoration: underline, overline",
         [](const PPHtmlStyle& s) {
             EXPECT_TRUE(s.underline);
             EXPECT_TRUE(s.overline);
             EXPECT_FALSE(s.strikeOut);
         }},
        {"text-decoration: line-through underline none overline",
         [](const PPHtmlStyle& s) {
             EXPECT_FALSE(s.underline);
             EXPECT_FALSE(s.strikeOut);
             EXPECT_TRUE(s.overline);
         }},
        {"vertical-align:vcenter", [](const PPHtmlStyle& s) { EXPECT_EQ(PPHtmlStyle::VALIGN_MIDDLE, s.vAlign); }},
        {"vertical-align:top; vertical-align:",
         [](const PPHtmlStyle& s) { EXPECT_EQ(PPHtmlStyle::VALIGN_BASELINE, s.vAlign); }},
        {"background-color:#102030",
         [](const PPHtmlStyle& s) {
             EXPECT_EQ(OPAQUE, s.bkMode);
             EXPECT_EQ(RGB(0x10, 0x20, 0x30), s.bkColor);
         }},
        {"background-color:#102030; background-color:transparent",
         [](const PPHtmlStyle& s) { EXPECT_EQ(TRANSPARENT, s.bkMode); }},
        {"border-color:green",
         [](const PPHtmlStyle& s) {
             EXPECT_EQ(RGB(0, 128, 0), s.borderLight);
             EXPECT_EQ(RGB(0, 128, 0), s.borderDark);
         }},
        {"margin:7px; padding:3",
         [](const PPHtmlStyle& s) {
             EXPECT_EQ(7, s.margin);
             EXPECT_EQ(3, s.padding);
         }},
        {"nonsense:1; color red; ;;; color:blue", [](const PPHtmlStyle& s) { EXPECT_EQ(RGB(0, 0, 255), s.textColor); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.declarations);
        PPHtmlStyle style;
        drawer.ApplyDeclarations(c.declarations, style);
        c.check(style);
    }
}

TEST_F(HtmlStyles, BorderRules)
{
    struct Case
    {
        int width, style;
        const char* declarations;
        int wantWidth, wantStyle;
    } cases[] = {
        {0, 0, "border-width:2px", 2, CPPDrawManager::PEN_SOLID},   // a width makes a solid border
        {2, 2, "border-width:4", 4, CPPDrawManager::PEN_DASH},      // a style stays
        {3, 1, "border-width:0", 0, CPPDrawManager::PEN_NULL},      // no width, no style
        {0, 0, "border-style:dashed", 1, CPPDrawManager::PEN_DASH}, // a style makes width 1
        {5, 1, "border-style:dotted", 5, CPPDrawManager::PEN_DOT},
        {5, 1, "border-style:double", 5, CPPDrawManager::PEN_DOUBLE},
        {5, 1, "border-style:none", 5, CPPDrawManager::PEN_NULL},
        {5, 1, "border-style:wavy", 5, CPPDrawManager::PEN_SOLID}, // unknown: unchanged
        {8, 1, "border-width:thin", 6, CPPDrawManager::PEN_SOLID},
        {8, 1, "border-width:thick", 10, CPPDrawManager::PEN_SOLID},
        {8, 1, "border-width:medium", 8, CPPDrawManager::PEN_SOLID},
        {0, 0, "size:3", 3, CPPDrawManager::PEN_SOLID},
    };
    for (const Case& c : cases) {
        PPHtmlStyle style;
        style.borderWidth = c.width;
        style.borderStyle = c.style;
        drawer.ApplyDeclarations(c.declarations, style);
        EXPECT_EQ(c.wantWidth, style.borderWidth) << c.declarations;
        EXPECT_EQ(c.wantStyle, style.borderStyle) << c.declarations;
    }
}

TEST_F(HtmlStyles, DisabledDrawerTakesTheDisabledColourFromRules)
{
    drawer.SetEnabled(FALSE);
    drawer.SetDisabledColor(RGB(7, 8, 9));
    PPHtmlStyle style;
    drawer.ApplyDeclarations("color:#ff0000; border-color:blue; background-color:yellow", style);
    EXPECT_EQ(RGB(7, 8, 9), style.textColor);
    EXPECT_EQ(RGB(7, 8, 9), style.borderLight);
    EXPECT_EQ(RGB(7, 8, 9), style.borderDark);
    EXPECT_EQ(TRANSPARENT, style.bkMode);
}

TEST_F(HtmlStyles, LengthsInEveryUnitOn96Dpi)
{
    SIZE size;
    drawer.PrepareOutput(canvas.Hdc(), "", &size); // the drawer's device context
    ASSERT_EQ(96, ::GetDeviceCaps(canvas.Hdc(), LOGPIXELSY));
    TestFont font(canvas.Hdc(), 20, "arial");
    const int em = font.Metrics().tmHeight, ex = font.Width("x");
    struct Case
    {
        const char* text;
        int def;
        BOOL fontSize;
        int pixels;
    } cases[] = {
        {"12px", 0, FALSE, 12}, {"2in", 0, FALSE, 192}, {"1cm", 0, FALSE, 37},     {"10mm", 0, FALSE, 37},
        {"10pt", 0, FALSE, 13}, {"2pc", 0, FALSE, 32},  {"3em", 0, FALSE, 3 * em}, {"3ex", 0, FALSE, 3 * ex},
        {"50%", 30, FALSE, 15}, {"65%", 13, TRUE, 8},   {"", 42, FALSE, 42},       {"+2", 0, FALSE, 2},
        {"-2", 0, FALSE, 2},    {"3", 0, FALSE, 3},     {"3", 0, TRUE, 12},        {"1", 0, TRUE, 8},
        {"7", 0, TRUE, 36},     {"9", 0, TRUE, 9},      {"0x10", 0, FALSE, 16},    {"010", 0, FALSE, 8},
        {"2PX", 0, FALSE, 2},   {"abc", 5, FALSE, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.pixels, drawer.GetLengthValue(c.text, c.def, c.fontSize))
            << "\"" << c.text << "\"" << (c.fontSize ? " as a font size" : "");
}

TEST_F(HtmlStyles, BrokenSheetsKeepTheRulesBeforeTheBreak)
{
    struct Case
    {
        const char* sheet;
        int rules;
        const char* selector; // one that must be there
    } cases[] = {
        {"h1 {color:red} h2 {color:blue", 1, "h1"}, // "{" without "}"
        {"h1 {color:red} h2 color:blue}", 1, "h1"}, // "}" without "{"
        {"}}}} h1", 0, nullptr},
        {"{{{{", 0, nullptr},
        {"{}", 0, nullptr},
        {"a{}b{}", 2, "b"},
        {"  \r\n ;;; ", 0, nullptr},
        {"h1 {color:red}}}} h2 {color:blue}", 2, "h2"},
    };
    for (const Case& c : cases) {
        drawer.SetCssStyles(c.sheet);
        EXPECT_EQ(c.rules, drawer.GetStyleCount()) << c.sheet;
        if (c.selector) {
            EXPECT_NE(nullptr, drawer.GetStyleText(c.selector)) << c.sheet;
        }
    }
}

TEST_F(HtmlStyles, StyleSheetFromAResource)
{
    drawer.SetCssStylesFromResource(28433);
    EXPECT_EQ(2, drawer.GetStyleCount());
    EXPECT_STREQ("color: #00ff00", drawer.GetStyleText("h1"));
    TestFont font(reference.Hdc(), 20, "arial");
    Render("<h1>x</h1>");
    font.Draw(0, 0, "x", RGB(0, 255, 0));
    ExpectSameAsReference("sheet from the resource");
}

} // namespace

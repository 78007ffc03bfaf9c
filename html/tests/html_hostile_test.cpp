// Hostile input for the drawer: tab size 0, a drawing pass that outruns the measured lines,
// huge numbers, broken markup, and a library named by the text whose code must never run.
#include "html_drawer_fixture.h"

using html_test::TestFont;

namespace {

class HtmlHostile : public html_test::HtmlDrawerTest
{};

TEST_F(HtmlHostile, TabSizeZeroKeepsOnePixelStops)
{
    TestFont font(canvas.Hdc(), 16, "arial");
    for (int size : {0, -7}) {
        drawer.SetTabSize(size);
        EXPECT_EQ(1, drawer.GetTabSize()) << size;
        EXPECT_EQ(font.Width("ab") + 1 + 3 + 1, Measure("a<t>b<t 3>").cx) << size;
    }
}

TEST_F(HtmlHostile, DrawingPassStopsAtTheLastMeasuredLine)
{
    TestFont font(reference.Hdc(), 16, "arial");
    const int h = font.Metrics().tmHeight;
    const char* text = "aaa bbb ccc ddd";
    // Measured as one line, then drawn so that it would need four: into a narrow, taller
    // rectangle with wrapping on.
    const SIZE one = Measure(text);
    ASSERT_EQ(h + 1, one.cy);
    drawer.SetMaxWidth(font.Width("aaa"));
    const RECT narrow = {0, 0, font.Width("aaa") + 1, 10 * h};
    drawer.DrawPreparedOutput(canvas.Hdc(), &narrow);
    EXPECT_EQ(0, canvas.Ink(RGB(255, 255, 255), h, kHeight).right) << "nothing below the recorded line";
    font.Draw(0, 0, "aaa");
    ExpectSameAsReference("the recorded line only");

    // Measured with the same width, all four lines are drawn.
    canvas.Clear(RGB(255, 255, 255));
    const SIZE four = Render(text);
    EXPECT_EQ(4 * h + 1, four.cy);
    EXPECT_GT(canvas.Ink(RGB(255, 255, 255), 3 * h, 4 * h).right, 0);

    // Nothing prepared: nothing drawn.
    CPPHtmlDrawer fresh;
    canvas.Clear(RGB(255, 255, 255));
    fresh.DrawPreparedOutput(canvas.Hdc(), &narrow);
    EXPECT_EQ(0, canvas.Ink().right);
}

TEST_F(HtmlHostile, BrokenMarkupAndHugeNumbers)
{
    TestFont font(canvas.Hdc(), 16, "arial");
    const int h = font.Metrics().tmHeight;
    const char* texts[] = {
        "<",
        "<<",
        "<b",
        "<<<b>>>",
        "</b></b></body></body></font>",
        "<a href='x",
        "<a href=x><a href=y>z",
        "<font size=99999999>x</font>",
        "<font size=-99999999>x</font>",
        "<br 99999999999>x",
        "<t 2147483647>x",
        "<hr width=99999999999in size=-5>",
        "<hr width=-50% size=99999>",
        "<string idres=99999999999>",
        "<string iddll=5 srcdll=\"Q:\\\\no\\\\such.dll\">",
        "<table><table>x",
        "</table>x",
        "<span class>x</span>",
        "<font color=#>x</font>",
        "<font face>x",
        "&lt;table>x",
        "&&&;;;<>",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const SIZE size = Render(text);
        EXPECT_GE(size.cx, 0);
        EXPECT_GE(size.cy, 0);
    }
    // A table takes its room (the cell's text and its padding of 2 on both sides), the text
    // behind it goes below.
    const int table = font.Width("x") + 4;
    EXPECT_EQ((table > font.Width("y") ? table : font.Width("y")) + 1,
              Measure("<table><tr><td>x</td></tr></table>y").cx);
    EXPECT_EQ(font.Width("<table>x") + 1, Measure("&lt;table>x").cx); // a literal, no table
    // Deep nesting.
    CString deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<b><i>";
    deep += "x";
    EXPECT_EQ(h + 1, Measure(deep).cy);
}

CString ExeFolder()
{
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileName(nullptr, path, MAX_PATH);
    CString folder(path, (int)length);
    return folder.Left(folder.ReverseFind('\\') + 1);
}

bool FileExists(const CString& path) { return ::GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

// The "string" tag reads a library named by the text as data: the string shows, and the
// library's entry point (which leaves a marker file) never runs.
TEST_F(HtmlHostile, StringFromALibraryNeverRunsItsCode)
{
    const CString dll = ExeFolder() + "html_marker.dll";
    ASSERT_TRUE(FileExists(dll)) << "the marker library is built beside the tests: " << (LPCTSTR)dll;
    char temp[MAX_PATH];
    ::GetTempPath(MAX_PATH, temp);
    const CString marker = CString(temp) + "sl_html_marker.txt";
    ::DeleteFile(marker);
    ASSERT_TRUE(::SetEnvironmentVariable("SL_HTML_MARKER", marker));

    TestFont font(reference.Hdc(), 16, "arial");
    const SIZE size = Render("<string iddll=7 srcdll=\"" + dll + "\">");
    EXPECT_EQ(font.Width("Marker string") + 1, size.cx);
    font.Draw(0, 0, "Marker string");
    ExpectSameAsReference("the library's string");
    EXPECT_STREQ("Marker string", drawer.GetStringFromDll(7, dll));
    EXPECT_FALSE(FileExists(marker)) << "the library's code ran";

    // The drawer's own resource module, loaded as data too.
    drawer.SetResourceDll(dll, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_STREQ("Marker string", drawer.GetStringFromDll(7, nullptr));
    EXPECT_EQ(font.Width("Marker string") + 1, Measure("<string iddll=7>").cx);
    drawer.SetResourceDll(nullptr);
    EXPECT_EQ(nullptr, drawer.GetResourceDllHandle());
    EXPECT_FALSE(FileExists(marker)) << "the library's code ran";

    // The control: loaded as code, the library does leave its marker.
    HMODULE code = ::LoadLibrary(dll);
    ASSERT_NE(nullptr, code);
    ::FreeLibrary(code);
    EXPECT_TRUE(FileExists(marker)) << "the marker library leaves no marker";
    ::DeleteFile(marker);
}

TEST_F(HtmlHostile, ModuleHandedInByHandleStaysAndIsNeverFreed)
{
    HMODULE own = ::GetModuleHandle(nullptr);
    drawer.SetResourceDllHandle(own);
    EXPECT_EQ(own, drawer.GetResourceDllHandle());
    drawer.SetResourceDllHandle(nullptr); // changes nothing while one is set
    drawer.SetResourceDll("html_marker.dll", LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_EQ(own, drawer.GetResourceDllHandle());
    EXPECT_STREQ("From the program", drawer.GetStringFromDll(28432, nullptr));
}

} // namespace

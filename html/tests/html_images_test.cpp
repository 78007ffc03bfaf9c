// The drawer's images: bitmaps from the program, a file and a library read as data, icons at
// a share of the system's icon size, shadows, strips and their animation, image lists, hot
// styles of hovered links, handles, table backgrounds and resource string parts.
#include "html_drawer_fixture.h"
#include <stdlib.h>
#include <string>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kIconGreen = RGB(0, 200, 0);
// The tests' resources (html_tests.rc and the marker library).
const UINT kStrip = 28440; // four 4 x 4 frames: red, green, blue, yellow
const UINT kIcon = 28441;  // 32 x 32, green
const UINT kLines = 28442; // "zero", "one", "two" on three lines
const UINT kDllStrip = 9;

CString ExeFolder()
{
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileName(nullptr, path, MAX_PATH);
    CString folder(path, (int)length);
    return folder.Left(folder.ReverseFind('\\') + 1);
}

// A path of the source tree as Wine sees it.
CString SourcePath(const char* relative)
{
    const char* root = getenv("SL_SOURCE_DIR");
    CString path = CString("Z:") + (root ? root : "") + "/" + relative;
    path.Replace('/', '\\');
    return path;
}

bool FileExists(const CString& path) { return ::GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

class HtmlImages : public html_test::HtmlDrawerTest
{
protected:
    // The four frames of the strip side by side in row y from x.
    void ExpectStrip(const char* what, int x = 0, int y = 0)
    {
        const COLORREF frames[] = {kRed, kGreen, kBlue, kYellow};
        for (int f = 0; f < 4; ++f)
            for (int dx = 0; dx < 4; ++dx)
                EXPECT_EQ(frames[f], canvas.At(x + 4 * f + dx, y)) << what << ", column " << 4 * f + dx;
        EXPECT_EQ(kWhite, canvas.At(x + 16, y)) << what;
    }
};

TEST_F(HtmlImages, BitmapFromTheProgramAFileAndALibraryReadAsData)
{
    const CString dll = ExeFolder() + "html_marker.dll";
    const CString file = SourcePath("html/tests/res/strip.bmp");
    ASSERT_TRUE(FileExists(dll)) << (LPCTSTR)dll;
    ASSERT_TRUE(FileExists(file)) << (LPCTSTR)file;
    char temp[MAX_PATH];
    ::GetTempPath(MAX_PATH, temp);
    const CString marker = CString(temp) + "sl_html_image_marker.txt";
    ::DeleteFile(marker);
    ASSERT_TRUE(::SetEnvironmentVariable("SL_HTML_MARKER", marker));

    const std::string sources[] = {
        "<bmp idres=28440>",
        std::string("<bmp file=\"") + (LPCTSTR)file + "\">",
        std::string("<bmp iddll=9 srcdll=\"") + (LPCTSTR)dll + "\">",
        std::string("<ilst iddll=9 cx=16 cy=4 srcdll=\"") + (LPCTSTR)dll + "\">",
    };
    for (const std::string& text : sources) {
        canvas.Clear(kWhite);
        const SIZE size = Render(text.c_str());
        EXPECT_EQ(17, size.cx) << text;
        EXPECT_EQ(5, size.cy) << text;
        ExpectStrip(text.c_str());
    }
    // The drawer's own resource module: a library named by path is read as data whatever
    // flags the caller asks for.
    drawer.SetResourceDll(dll, 0);
    canvas.Clear(kWhite);
    Render("<bmp iddll=9>");
    ExpectStrip("from the resource module");
    HBITMAP loaded = drawer.LoadBitmapFromDll(kDllStrip);
    EXPECT_NE(nullptr, loaded);
    ::DeleteObject(loaded);
    drawer.SetResourceDll(nullptr);
    EXPECT_FALSE(FileExists(marker)) << "the library's code ran";

    // The control: loaded as code, the library leaves its marker.
    HMODULE code = ::LoadLibrary(dll);
    ASSERT_NE(nullptr, code);
    ::FreeLibrary(code);
    EXPECT_TRUE(FileExists(marker)) << "the marker library leaves no marker";
    ::DeleteFile(marker);
}

TEST_F(HtmlImages, IconSizesAreSharesOfTheSystemIconSize)
{
    const int system = ::GetSystemMetrics(SM_CXICON);
    ASSERT_EQ(32, system) << "the cases below are for 32-pixel icons";
    struct Case
    {
        const char* text;
        int size;
    };
    const Case cases[] = {
        {"<icon idres=28441 width=50% height=50%>", 16},
        {"<icon idres=28441>", 32},
        {"<icon idres=28441 width=24 height=24>", 24},
    };
    for (const Case& c : cases) {
        canvas.Clear(kWhite);
        const SIZE size = Render(c.text);
        EXPECT_EQ(c.size + 1, size.cx) << c.text;
        const RECT ink = canvas.Ink();
        EXPECT_EQ(0, ink.left) << c.text;
        EXPECT_EQ(c.size, ink.right) << c.text;
        EXPECT_EQ(c.size, ink.bottom) << c.text;
        EXPECT_EQ(kIconGreen, canvas.At(c.size - 1, c.size - 1)) << c.text;
    }
}

TEST_F(HtmlImages, ShadowStyleAddsTheShadowOffsets)
{
    // A hard shadow of darkness 50 under a 16 x 4 bitmap, 4 pixels down and right.
    drawer.SetImageShadow(4, 4, 50, FALSE, 7, 7);
    SIZE size = Render("<bmp idres=28440 style=s>");
    EXPECT_EQ(16 + 4 + 1, size.cx);
    EXPECT_EQ(4 + 4 + 1, size.cy);
    ExpectStrip("over its shadow");
    EXPECT_EQ(RGB(128, 128, 128), canvas.At(19, 7)) << "the shadow";
    EXPECT_EQ(kWhite, canvas.At(3, 7)) << "left of the shadow";

    // Without the letter, or with no offsets, no room for a shadow.
    canvas.Clear(kWhite);
    size = Render("<bmp idres=28440 style=g>");
    EXPECT_EQ(17, size.cx);
    EXPECT_EQ(RGB(76, 76, 76), canvas.At(0, 0)) << "grey red";
    drawer.SetImageShadow(0, 0);
    size = Render("<bmp idres=28440 style=s>");
    EXPECT_EQ(17, size.cx);
}

TEST_F(HtmlImages, WhatIsNoImageDrawsNothing)
{
    CBitmap strip;
    ASSERT_TRUE(strip.Attach(drawer.LoadBitmapFromResource(kStrip)));
    drawer.SetImageListFromBitmap((HBITMAP)strip.GetSafeHandle(), 4, 4, 4, RGB(255, 0, 255));
    HICON icon = drawer.LoadIconFromResource(kIcon, 0, 0);
    ASSERT_NE(nullptr, icon);
    CString bitmapHandle, iconHandle;
    bitmapHandle.Format("0x%llX", (unsigned long long)(UINT_PTR)strip.GetSafeHandle());
    iconHandle.Format("0x%llX", (unsigned long long)(UINT_PTR)icon);

    struct Case
    {
        std::string text;
        COLORREF colour; // at (1, 1); white: nothing drawn
    };
    const Case cases[] = {
        {"<ilst index=2>", kBlue},
        {"<ilst index=4>", kWhite},
        {"<ilst index=99>", kWhite},
        {"<ilst idres=28440 cx=4 cy=4 index=3>", kYellow},
        {"<ilst idres=28440 cx=0 cy=4 index=3>", kWhite},
        {"<ilst idres=28440 cx=4 cy=4 index=4>", kWhite},
        {std::string("<bmp handle=") + (LPCTSTR)bitmapHandle + ">", kRed},
        {"<bmp handle=12345>", kWhite},
        {std::string("<bmp handle=") + (LPCTSTR)iconHandle + ">", kWhite},
        {std::string("<icon handle=") + (LPCTSTR)iconHandle + ">", kIconGreen},
        {std::string("<icon handle=") + (LPCTSTR)bitmapHandle + ">", kWhite},
        {"<icon handle=777>", kWhite},
        {"<bmp idres=1>", kWhite},
        {"<bmp file=\"Q:\\no\\such.bmp\">", kWhite},
    };
    for (const Case& c : cases) {
        canvas.Clear(kWhite);
        const SIZE size = Render(c.text.c_str());
        EXPECT_EQ(c.colour, canvas.At(1, 1)) << c.text;
        if (c.colour == kWhite) {
            EXPECT_EQ(0, size.cx) << c.text;
            EXPECT_EQ(0, canvas.Ink().right) << c.text;
        }
    }
    // Handles the text names are the caller's: still there after drawing.
    EXPECT_EQ(OBJ_BITMAP, (int)::GetObjectType(strip.GetSafeHandle()));
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);
}

TEST_F(HtmlImages, LineOfAnImageTakesTheAlignmentInForce)
{
    // A centred picture above a wider line of text: the picture's line is centred in the
    // drawn width, as a line of text would be.
    const SIZE size = Render("<center><bmp idres=28440><br>A line wider than the picture</center>");
    const int left = (size.cx - 16) / 2;
    ASSERT_GT(left, 4);
    ExpectStrip("centred", left, 0);
    EXPECT_EQ(kWhite, canvas.At(left - 1, 0));
}

TEST_F(HtmlImages, HoveredLinkDrawsItsImageWithTheHotStyle)
{
    const char* text = "<a href=\"https://example.invalid/\"><bmp idres=28440 hotstyle=g></a>";
    Render(text);
    EXPECT_EQ(kRed, canvas.At(1, 1)) << "not hovered";
    drawer.OnSetCursor(POINT{2, 2});
    EXPECT_EQ(0, drawer.GetHoveredLink());
    Render(text);
    EXPECT_EQ(RGB(76, 76, 76), canvas.At(1, 1)) << "hovered: grey";
    drawer.OnSetCursor(POINT{60, 60});
    Render(text);
    EXPECT_EQ(kRed, canvas.At(1, 1)) << "left again";
}

TEST_F(HtmlImages, StripAnimatesOneFrameEverySpeedSteps)
{
    // Speed 2: every second step shows the next frame, back to the first after the fourth.
    const char* text = "<ilst idres=28440 cx=4 cy=4 speed=2>";
    Render(text);
    EXPECT_EQ(kRed, canvas.At(1, 1));
    struct Step
    {
        BOOL advanced;
        COLORREF colour;
    };
    const Step steps[] = {{FALSE, kRed},  {TRUE, kGreen},  {FALSE, kGreen},  {TRUE, kBlue},
                          {FALSE, kBlue}, {TRUE, kYellow}, {FALSE, kYellow}, {TRUE, kRed}};
    const RECT rect = {0, 0, 5, 5};
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        EXPECT_EQ(steps[i].advanced, drawer.StepAnimations()) << "step " << i + 1;
        drawer.DrawPreparedOutput(canvas.Hdc(), &rect);
        EXPECT_EQ(steps[i].colour, canvas.At(1, 1)) << "step " << i + 1;
    }
    // Without a speed nothing moves.
    Render("<ilst idres=28440 cx=4 cy=4 index=1>");
    EXPECT_FALSE(drawer.StepAnimations());
}

TEST_F(HtmlImages, TableBackgroundImageIsTiled)
{
    // An 8 x 8 table without rows over the 16 x 4 strip: two rows of its first 8 columns.
    Render("<table cellspacing=9 background=\"idres:28440\"></table>");
    const struct
    {
        int x, y;
        COLORREF colour;
    } pixels[] = {{0, 0, kRed}, {3, 3, kRed}, {4, 0, kGreen}, {7, 7, kGreen}, {0, 4, kRed}, {8, 0, kWhite}};
    for (const auto& p : pixels)
        EXPECT_EQ(p.colour, canvas.At(p.x, p.y)) << p.x << "," << p.y;
    // A disabled drawer draws no background images.
    canvas.Clear(kWhite);
    drawer.SetEnabled(FALSE);
    Render("<table cellspacing=9 background=\"idres:28440\"></table>");
    EXPECT_EQ(kWhite, canvas.At(0, 0));
}

TEST_F(HtmlImages, ResourceStringParts)
{
    struct Case
    {
        UINT id;
        int part;
        const char* text;
    };
    const Case cases[] = {{kLines, 0, "zero"}, {kLines, 1, "one"}, {kLines, 2, "two"},
                          {kLines, 3, ""},     {kLines, -1, ""},   {28432, 0, "From the program"},
                          {28432, 1, ""},      {12, 0, ""},        {0, 0, ""}};
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, drawer.GetResourceStringPart(c.id, c.part)) << c.id << " part " << c.part;
}

TEST_F(HtmlImages, OwnedResourceModuleIsFreedAndReplaced)
{
    const CString dll = ExeFolder() + "html_marker.dll";
    drawer.SetResourceDll(dll);
    const HMODULE owned = drawer.GetResourceDllHandle();
    ASSERT_NE(nullptr, owned);
    EXPECT_STREQ("Marker string", drawer.GetStringFromDll(7, nullptr));
    // A module handed in replaces the owned one, which is freed and never used again.
    const HMODULE program = ::GetModuleHandle(nullptr);
    drawer.SetResourceDllHandle(program);
    EXPECT_EQ(program, drawer.GetResourceDllHandle());
    EXPECT_STREQ("From the program", drawer.GetStringFromDll(28432, nullptr));
    EXPECT_STREQ("", drawer.GetStringFromDll(7, nullptr));
    // Another module handed in replaces that one in turn; none of them is freed here.
    const HMODULE kernel = ::GetModuleHandle("kernel32.dll");
    drawer.SetResourceDllHandle(kernel);
    EXPECT_EQ(kernel, drawer.GetResourceDllHandle());
    drawer.SetResourceDllHandle(nullptr); // a handed-in module stays
    EXPECT_EQ(kernel, drawer.GetResourceDllHandle());
}

} // namespace

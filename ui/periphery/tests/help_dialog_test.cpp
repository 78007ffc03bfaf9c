// The help topic window as a person meets it: the program's topic fitted to its width, Copy
// All onto the clipboard, keeping it on top, the right-button menu, the error pages of a
// missing topic or file, and Print Topic on the chosen printer (run by a script that reads
// the printed PDF).
#include "ui/periphery/HelpDialog.h"

#include "res/periphery_help_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/PrintQueue.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string>

namespace {

std::string TextOf(HWND edit)
{
    const int n = (int)::SendMessage(edit, WM_GETTEXTLENGTH, 0, 0);
    std::string text((size_t)n + 1, '\0');
    ::SendMessage(edit, WM_GETTEXT, (WPARAM)n + 1, (LPARAM)&text[0]);
    text.resize(strlen(text.c_str()));
    return text;
}

// The dialog made and shown as the program would show it.
void Open(CHelpDialog& dlg)
{
    ASSERT_TRUE(dlg.Create(IDD_HELP_TOPIC));
    ::SetWindowPos(dlg.m_hWnd, HWND_TOPMOST, 30, 30, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    dlg.UpdateWindow();
    PumpPending();
}

// The height the rich edit asks for at its size now, or at `width` (and 1 pixel high).
int RequestedHeightAt(CHelpDialog& dlg, int width = 0)
{
    dlg.RichEdit().SetEventMask(ENM_REQUESTRESIZE);
    if (width > 0)
        dlg.RichEdit().SetWindowPos(nullptr, 0, 0, width, 1, SWP_NOZORDER | SWP_NOMOVE);
    dlg.RichEdit().RequestResize();
    return dlg.RequestedSize().cy;
}

TEST(HelpTopic, ShowsTheProgramsTopicFittedToItsWidth)
{
    CHelpDialog dlg(nullptr, IDR_HELP_TOPIC_DESIGN);
    Open(dlg);
    EXPECT_STREQ("Help", WindowText(dlg.m_hWnd)) << "the default title";
    const std::string text = TextOf(dlg.RichEdit().m_hWnd);
    EXPECT_NE(std::string::npos, text.find("Designing a cake top")) << text;
    EXPECT_NE(std::string::npos, text.find("paper offsets")) << "the whole topic";
    EXPECT_NE(nullptr, (HICON)dlg.SendMessage(WM_GETICON, ICON_BIG));

    // The window is as wide as the text needs, 500 pixels high.
    const CSize fitted = dlg.RequestedSize();
    const int screen = ::GetSystemMetrics(SM_CXSCREEN) & ~1;
    EXPECT_GE(fitted.cx, 100);
    EXPECT_LT(fitted.cx, screen);
    CRect window;
    dlg.GetWindowRect(&window);
    EXPECT_EQ(fitted.cx + 19, window.Width());
    EXPECT_EQ(500, window.Height());
    // The rich edit fills the client area less 2 pixels left and top, 1 right and bottom.
    CRect client, edit;
    dlg.GetClientRect(&client);
    dlg.RichEdit().GetWindowRect(&edit);
    dlg.ScreenToClient(&edit);
    EXPECT_EQ(CRect(2, 2, client.right - 1, client.bottom - 1), edit);
    SaveScreenshot(dlg.m_hWnd, "help-topic");

    // Fitted: the topic shows in as few lines as at the screen's width, and narrower
    // takes more.
    const int shown = RequestedHeightAt(dlg);
    const int widest = RequestedHeightAt(dlg, screen);
    EXPECT_EQ(widest, shown);
    EXPECT_GT(RequestedHeightAt(dlg, edit.Width() - 20), widest);
    dlg.DestroyWindow();
}

TEST(HelpTopic, CopyAllPutsTheTextOnTheClipboard)
{
    CHelpDialog dlg(nullptr, IDR_HELP_TOPIC_DESIGN);
    Open(dlg);
    ASSERT_TRUE(::OpenClipboard(dlg.m_hWnd));
    ::EmptyClipboard();
    ::CloseClipboard();
    dlg.SendMessage(WM_COMMAND, ID_HELP_COPY_ALL);
    ASSERT_TRUE(::OpenClipboard(dlg.m_hWnd));
    HANDLE data = ::GetClipboardData(CF_TEXT);
    std::string copied = data != nullptr ? std::string((const char*)::GlobalLock(data)) : std::string();
    if (data != nullptr)
        ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_NE(std::string::npos, copied.find("Designing a cake top")) << copied;
    EXPECT_NE(std::string::npos, copied.find("Print Preview shows every cell")) << "the whole text";
    CHARRANGE selection = {-1, -1};
    dlg.RichEdit().SendMessage(EM_EXGETSEL, 0, (LPARAM)&selection);
    EXPECT_EQ(selection.cpMin, selection.cpMax) << "nothing stays selected";
    dlg.DestroyWindow();
}

TEST(HelpTopic, ErrorPagesShowInTheWindow)
{
    char missing[MAX_PATH];
    ::GetFullPathName("no_such_folder\\topic.rtf", MAX_PATH, missing, nullptr);
    struct Case
    {
        UINT id;
        const char* file;
        const char* shows;
    } cases[] = {
        {0, nullptr, "no RTF ID set in constructor AND no RTF File Loaded, check your code!"},
        {999, nullptr, "Failed to load RTF from resources, check your code!"},
        {0, missing, "Failed to load RTF file '"},
    };
    for (const Case& c : cases) {
        CHelpDialog dlg(nullptr, c.id);
        if (c.file != nullptr) {
            EXPECT_FALSE(dlg.LoadRtfFile(c.file));
        }
        Open(dlg);
        const std::string text = TextOf(dlg.RichEdit().m_hWnd);
        EXPECT_NE(std::string::npos, text.find("HelpDialog Internal Error")) << text;
        EXPECT_NE(std::string::npos, text.find(c.shows)) << text;
        if (c.file != nullptr) {
            // The path as written, backslashes and all, and the system's reason.
            EXPECT_NE(std::string::npos, text.find(std::string("'") + missing + "'")) << text;
            EXPECT_NE(std::string::npos, text.find("Reason: ")) << text;
            SaveScreenshot(dlg.m_hWnd, "help-topic-missing-file");
        }
        dlg.DestroyWindow();
    }
}

TEST(HelpTopic, ShowsATopicFile)
{
    const char* path = "help_topic_test.rtf";
    FILE* f = fopen(path, "wb");
    ASSERT_NE(nullptr, f);
    fputs("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Icing sheets from a {\\b file}.\\par}", f);
    fclose(f);
    CHelpDialog dlg;
    dlg.SetTitle("Icing help");
    EXPECT_TRUE(dlg.LoadRtfFile(path));
    Open(dlg);
    EXPECT_STREQ("Icing help", WindowText(dlg.m_hWnd));
    EXPECT_NE(std::string::npos, TextOf(dlg.RichEdit().m_hWnd).find("Icing sheets from a file."));
    dlg.DestroyWindow();
    remove(path);
}

// The menu the right button opens, looked at while it is up, then closed.
struct MenuSeen
{
    bool up = false;
    CString first;
    UINT onTop = 0, notOnTop = 0;
} g_menu;

void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = ::FindWindow("#32768", nullptr);
    if (menu == nullptr || !::IsWindowVisible(menu))
        return;
    ::KillTimer(nullptr, id);
    HMENU shown = (HMENU)::SendMessage(menu, MN_GETHMENU, 0, 0);
    char text[64] = {};
    ::GetMenuString(shown, 0, text, sizeof text, MF_BYPOSITION);
    g_menu.first = text;
    g_menu.onTop = ::GetMenuState(shown, ID_HELP_ON_TOP, MF_BYCOMMAND) & MF_CHECKED;
    g_menu.notOnTop = ::GetMenuState(shown, ID_HELP_NOT_ON_TOP, MF_BYCOMMAND) & MF_CHECKED;
    g_menu.up = true;
    ::EndMenu();
}

TEST(HelpTopic, KeepOnTopFromTheMenu)
{
    CHelpDialog dlg(nullptr, IDR_HELP_TOPIC_DESIGN);
    Open(dlg);
    EXPECT_TRUE(dlg.IsOnTop());
    auto topmost = [&] { return (dlg.GetExStyle() & WS_EX_TOPMOST) != 0; };

    dlg.SendMessage(WM_COMMAND, ID_HELP_NOT_ON_TOP);
    EXPECT_FALSE(dlg.IsOnTop());
    EXPECT_FALSE(topmost());
    // The right button's menu is the File menu, its marks saying "Not On Top".
    g_menu = MenuSeen();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, LookAtMenu);
    CRect r;
    dlg.RichEdit().GetWindowRect(&r);
    dlg.PostMessage(WM_CONTEXTMENU, (WPARAM)dlg.RichEdit().m_hWnd, MAKELPARAM(r.left + 20, r.top + 20));
    EXPECT_TRUE(PumpUntil([] { return g_menu.up; }, 5000)) << "the menu came up";
    ::KillTimer(nullptr, timer);
    EXPECT_STREQ("&Copy All", g_menu.first);
    EXPECT_EQ(0u, g_menu.onTop);
    EXPECT_NE(0u, g_menu.notOnTop);

    dlg.SendMessage(WM_COMMAND, ID_HELP_ON_TOP);
    EXPECT_TRUE(dlg.IsOnTop());
    EXPECT_TRUE(topmost());
    // The menu bar's popup shows the same marks.
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_HELP_TOPIC_MENU));
    HMENU file = ::GetSubMenu(menu.GetSafeHmenu(), 0);
    dlg.SendMessage(WM_INITMENUPOPUP, (WPARAM)file, 0);
    EXPECT_NE(0u, ::GetMenuState(file, ID_HELP_ON_TOP, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(0u, ::GetMenuState(file, ID_HELP_NOT_ON_TOP, MF_BYCOMMAND) & MF_CHECKED);

    dlg.SendMessage(WM_COMMAND, ID_HELP_EXIT);
    EXPECT_FALSE(dlg.IsWindowVisible()) << "Exit closes it";
    dlg.DestroyWindow();
}

// Print Topic with the print dialog answered by OK (the default printer, the test command's
// Cake_PDF).
void PrintThroughTheDialog(CHelpDialog& dlg)
{
    Open(dlg);
    {
        DialogDriver driver([](HWND printDialog) { Press(printDialog, IDOK); });
        dlg.SendMessage(WM_COMMAND, ID_HELP_PRINT_TOPIC);
        EXPECT_EQ(1u, driver.StepsTaken());
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    dlg.DestroyWindow();
}

// Run by ui/periphery/tests/help_print_pdf.sh, which then reads the printed PDF's text.
TEST(HelpTopic, PrintTopicOnTheChosenPrinter)
{
    if (!getenv("HELP_PRINT_CHECK"))
        GTEST_SKIP() << "run by the PDF check script";
    REQUIRE_PRINT_QUEUE("Cake_PDF");
    CHelpDialog dlg(nullptr, IDR_HELP_TOPIC_DESIGN);
    PrintThroughTheDialog(dlg);
}

// The same with a topic of 150 numbered paragraphs, longer than a page.
TEST(HelpTopic, PrintLongTopicOverSeveralPages)
{
    if (!getenv("HELP_PRINT_CHECK"))
        GTEST_SKIP() << "run by the PDF check script";
    REQUIRE_PRINT_QUEUE("Cake_PDF");
    const char* path = "help_long_topic.rtf";
    FILE* f = fopen(path, "wb");
    ASSERT_NE(nullptr, f);
    fputs("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ", f);
    for (int i = 1; i <= 150; ++i)
        fprintf(f, "Paragraph %d of the long topic.\\par ", i);
    fputs("}", f);
    fclose(f);
    CHelpDialog dlg;
    ASSERT_TRUE(dlg.LoadRtfFile(path));
    PrintThroughTheDialog(dlg);
    remove(path);
}

} // namespace

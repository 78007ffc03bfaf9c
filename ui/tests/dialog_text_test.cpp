// The language's texts and the shared dialog font put on a dialog's controls.
#include <windows.h>
#include <gtest/gtest.h>

#include <stdio.h>

#include "base/Globals.h"
#include "base/TextTable.h"
#include "ui/DialogText.h"

namespace {

// A message-only parent with child controls 1 and 42.
struct Controls
{
    Controls()
    {
        parent = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        button = CreateWindowA("BUTTON", "a", WS_CHILD, 0, 0, 10, 10, parent, (HMENU)1, nullptr, nullptr);
        label = CreateWindowA("STATIC", "old", WS_CHILD, 0, 0, 10, 10, parent, (HMENU)42, nullptr, nullptr);
    }
    ~Controls() { DestroyWindow(parent); }
    CString Text(HWND h)
    {
        char text[64] = {};
        GetWindowTextA(h, text, sizeof text);
        return text;
    }
    HWND parent, button, label;
};

TEST(DialogText, ControlGetsTheLanguageTextAsItStands)
{
    // Language files are read from the current directory: a file of our own, then English again.
    char old[MAX_PATH], dir[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, old);
    GetTempPathA(MAX_PATH, dir);
    SetCurrentDirectoryA(dir);
    FILE* f = fopen("sl_dialog_text.ini", "wb");
    ASSERT_NE(nullptr, f);
    fputs("T=one#two\r\n", f);
    fclose(f);
    LoadLanguageFile("sl_dialog_text");
    DeleteFileA("sl_dialog_text.ini");
    SetCurrentDirectoryA(old);

    Controls c;
    ASSERT_NE(nullptr, c.label);
    SetDlgItemLangText(c.parent, 42, "T");
    EXPECT_STREQ("one#two", c.Text(c.label)) << "\"#\" is not turned into a line break";
    SetDlgItemLangText(c.parent, 43, "T"); // no such control: nothing happens
    SetDlgItemLangText((HWND) nullptr, 42, "T");
    EXPECT_STREQ("one#two", c.Text(c.label));
    LoadLanguageFile("english");
}

TEST(DialogText, EveryChildGetsTheSharedDialogFont)
{
    Controls c;
    ASSERT_NE(nullptr, c.button);
    EnumChildWindows(c.parent, SetDialogFontProc, 0);
    EXPECT_EQ((LRESULT)GetDialogFont(), SendMessageA(c.button, WM_GETFONT, 0, 0));
    EXPECT_EQ((LRESULT)GetDialogFont(), SendMessageA(c.label, WM_GETFONT, 0, 0));
}

TEST(DialogText, FontCallbacksSetTheirOwnFonts)
{
    const struct
    {
        WNDENUMPROC proc;
        HFONT (*font)();
    } cases[] = {
        {SetDialogFontProc, GetDialogFont},
        {SetSmallFontProc, GetSmallDialogFont},
        {SetTitleFontProc, GetTitleFont},
    };
    Controls c;
    ASSERT_NE(nullptr, c.button);
    for (const auto& k : cases) {
        ASSERT_NE(nullptr, k.font());
        EnumChildWindows(c.parent, k.proc, 0);
        EXPECT_EQ((LRESULT)k.font(), SendMessageA(c.button, WM_GETFONT, 0, 0));
        EXPECT_EQ((LRESULT)k.font(), SendMessageA(c.label, WM_GETFONT, 0, 0));
    }
}

} // namespace

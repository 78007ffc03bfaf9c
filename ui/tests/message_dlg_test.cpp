// The skinned message box and "Save Changes" as they show: pale yellow, hover buttons, the
// bold child font on every control; the message box ends with Cancel on Escape.
#include "ui/MessageDlg.h"
#include "ui/SaveChangesDlg.h"
#include "ui/Skin.h"
#include "ui/tests/ui_test_util.h"

#include "base/TextTable.h"
#include "res/ui_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Input.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <vector>

namespace {

struct Look
{
    COLORREF corner = 0;
    std::vector<HFONT> fonts;
    std::vector<DWORD> buttonTypes;
};

Look LookAt(HWND dlg, std::initializer_list<int> buttons, const char* picture)
{
    Look look;
    ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = ::GetDC(dlg);
    look.corner = ::GetPixel(dc, 2, 2);
    ::ReleaseDC(dlg, dc);
    for (HWND c = ::GetWindow(dlg, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT))
        look.fonts.push_back((HFONT)::SendMessage(c, WM_GETFONT, 0, 0));
    for (int id : buttons)
        look.buttonTypes.push_back((DWORD)::GetWindowLongPtr(::GetDlgItem(dlg, id), GWL_STYLE) & BS_TYPEMASK);
    CaptureToPng(dlg, picture);
    return look;
}

void ExpectSkinned(const Look& look, size_t buttons)
{
    EXPECT_EQ(kSkinPaleYellow, look.corner);
    ASSERT_FALSE(look.fonts.empty());
    for (HFONT f : look.fonts)
        EXPECT_EQ(SkinBoldChildFont(), f);
    ASSERT_EQ(buttons, look.buttonTypes.size());
    for (DWORD t : look.buttonTypes)
        EXPECT_EQ((DWORD)BS_OWNERDRAW, t) << "a hover button draws itself";
}

class SkinnedDialogs : public ::testing::Test
{
protected:
    void SetUp() override { LoadLanguageFile("english"); }
};

TEST_F(SkinnedDialogs, MessageBoxLook)
{
    Look look;
    DialogDriver driver([&](HWND dlg) {
        look = LookAt(dlg, {IDOK, IDCANCEL}, "message-box");
        Press(dlg, IDOK);
    });
    CMessageDlg dlg;
    dlg.m_message = GetLangText("125");
    EXPECT_EQ(IDOK, dlg.DoModal());
    ASSERT_TRUE(driver.Acted());
    ExpectSkinned(look, 2);
}

TEST_F(SkinnedDialogs, SaveChangesLookAndNoIs100)
{
    Look look;
    DialogDriver driver([&](HWND dlg) {
        look = LookAt(dlg, {IDOK, IDC_SAVE_NO, IDCANCEL}, "save-changes");
        Press(dlg, IDC_SAVE_NO);
    });
    CSaveChangesDlg dlg;
    EXPECT_EQ(SAVE_CHANGES_NO, dlg.DoModal());
    ASSERT_TRUE(driver.Acted());
    ExpectSkinned(look, 3);
}

// A language file without the texts leaves the title and the buttons empty.
TEST_F(SkinnedDialogs, MissingTextsLeaveEmptyCaptions)
{
    FILE* empty = fopen("sl_no_texts.ini", "wb");
    ASSERT_NE(nullptr, empty);
    fclose(empty);
    LoadLanguageFile("sl_no_texts");
    CString title, ok;
    DialogDriver driver([&](HWND dlg) {
        title = WindowText(dlg);
        ok = ItemText(dlg, IDOK);
        PressEscape(dlg);
    });
    CMessageDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_TRUE(driver.Acted());
    EXPECT_STREQ("", (LPCTSTR)title);
    EXPECT_STREQ("", (LPCTSTR)ok);
    LoadLanguageFile("english");
    remove("sl_no_texts.ini");
}

} // namespace

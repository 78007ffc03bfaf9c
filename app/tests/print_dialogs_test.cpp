// The print dialog on the program's template and the password dialog, driven as a
// person uses them: texts read, scroll bars clicked, boxes ticked, buttons pressed.
#include "app/print/MyPrintDialog.h"
#include "app/print/PasswordDlg.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "res/print_res.h"

#include <dlgs.h>

#include "testsupport/DialogDriver.h"
#include "testsupport/Input.h"
#include "testsupport/PrintQueue.h"
#include "testsupport/TestApp.h"
#include <gtest/gtest.h>

TEST(PrintPasswordDialog, OkKeepsTheDigestOfTheTypedText)
{
    EnsureTestApp();
    LoadLanguageFile("english");
    CString title, text, ok;
    CPasswordDlg dialog;
    DialogDriver driver([&](HWND dlg) {
        char buf[256];
        ::GetWindowTextA(dlg, buf, sizeof buf);
        title = buf;
        text = ItemText(dlg, IDC_PASSWORD_TEXT);
        ok = ItemText(dlg, IDOK);
        EXPECT_TRUE(::GetWindowLong(::GetDlgItem(dlg, IDC_PASSWORD_EDIT), GWL_STYLE) & ES_PASSWORD);
        TypeText(dlg, IDC_PASSWORD_EDIT, "secret");
        Press(dlg, IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(driver.Acted());
    EXPECT_STREQ("Password Protection", (LPCTSTR)title);
    EXPECT_STREQ((LPCTSTR)GetLangText("127"), (LPCTSTR)text);
    EXPECT_STREQ("OK", (LPCTSTR)ok);
    EXPECT_STREQ("5ebe2294ecd0e0f08eab7690d2a6ee69", (LPCTSTR)dialog.GetDigest());
}

// The dialog has no Cancel button: Escape and the close box leave it.
TEST(PrintPasswordDialog, CancelLeavesTheDigestEmpty)
{
    EnsureTestApp();
    static const struct
    {
        const char* way;
        void (*leave)(HWND dlg);
    } ways[] = {
        {"Escape", &PressEscape},
        {"close box", [](HWND dlg) { ::PostMessage(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& w : ways) {
        CPasswordDlg dialog;
        DialogDriver driver([&](HWND dlg) {
            TypeText(dlg, IDC_PASSWORD_EDIT, "secret");
            w.leave(dlg);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal()) << w.way;
        EXPECT_TRUE(driver.Acted()) << w.way;
        EXPECT_TRUE(dialog.GetDigest().IsEmpty()) << w.way;
    }
}

// The common print dialog needs a printer: these run against the test run's PDF queue.
class PrintDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureTestApp();
        REQUIRE_PRINT_QUEUE("cake_pdf");
        SetSetting("language", "english");
    }
    void TearDown() override { SetSetting("language", "english"); }
};

TEST_F(PrintDialogTest, ShowsPrinterAndAdjustmentsAndReadsThemBack)
{
    CMyPrintDialog dialog(FALSE, 0, 0, 2, -3, "cake_pdf", 0x14000C);
    CString name, horizontal, vertical, properties, afterClicks[2];
    BOOL invertHidden = FALSE;
    DialogDriver driver([&](HWND dlg) {
        name = ItemText(dlg, IDC_PRINT_PRINTER_NAME);
        horizontal = ItemText(dlg, IDC_PRINT_HADJUST_TEXT);
        vertical = ItemText(dlg, IDC_PRINT_VADJUST_TEXT);
        properties = ItemText(dlg, psh2);
        invertHidden = !::IsWindowVisible(::GetDlgItem(dlg, IDC_PRINT_INVERT));
        HWND hbar = ::GetDlgItem(dlg, IDC_PRINT_HBAR), vbar = ::GetDlgItem(dlg, IDC_PRINT_VBAR);
        EXPECT_NE(nullptr, hbar);
        EXPECT_NE(nullptr, vbar);
        // One click on the right arrow, then the far right end: the range stops at 5.
        SendScroll(dlg, IDC_PRINT_HBAR, SB_LINERIGHT);
        afterClicks[0] = ItemText(dlg, IDC_PRINT_HADJUST_TEXT);
        SendScroll(dlg, IDC_PRINT_HBAR, SB_RIGHT);
        SendScroll(dlg, IDC_PRINT_HBAR, SB_LINERIGHT);
        // One click up on the vertical bar: one more millimetre up.
        SendScroll(dlg, IDC_PRINT_VBAR, SB_LINEUP);
        afterClicks[1] = ItemText(dlg, IDC_PRINT_VADJUST_TEXT);
        ::CheckDlgButton(dlg, IDC_PRINT_OUTLINE, BST_CHECKED);
        Press(dlg, IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    ASSERT_TRUE(driver.Acted());
    EXPECT_STREQ("cake_pdf", (LPCTSTR)name);
    EXPECT_STREQ("2mm", (LPCTSTR)horizontal);
    EXPECT_STREQ("-3mm", (LPCTSTR)vertical);
    EXPECT_STREQ("&Properties", (LPCTSTR)properties);
    EXPECT_TRUE(invertHidden);
    EXPECT_STREQ("3mm", (LPCTSTR)afterClicks[0]);
    EXPECT_STREQ("-4mm", (LPCTSTR)afterClicks[1]);
    EXPECT_EQ(5, dialog.GetHorizontalAdjustment());
    EXPECT_EQ(-4, dialog.GetVerticalAdjustment());
    EXPECT_TRUE(dialog.IsOutlineChecked());
    EXPECT_NE(nullptr, dialog.GetPrinterDC());
}

TEST_F(PrintDialogTest, PropertiesButtonSpeaksDutchAndFrench)
{
    static const struct
    {
        const char* language;
        const char* caption;
    } cases[] = {
        {"DUTCH", "Voorkeuren"},
        {"french", "Pr\xE9"
                   "f\xE9"
                   "rences"},
        {"portugese", "&Properties"},
    };
    for (const auto& c : cases) {
        SetSetting("language", c.language);
        CMyPrintDialog dialog(FALSE, 0, 0, 0, 0, "nowhere", 0x14000C);
        CString caption, name;
        DialogDriver driver([&](HWND dlg) {
            caption = ItemText(dlg, psh2);
            name = ItemText(dlg, IDC_PRINT_PRINTER_NAME);
            Press(dlg, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_STREQ(c.caption, (LPCTSTR)caption) << c.language;
        EXPECT_STREQ("nowhere", (LPCTSTR)name) << "the setting's text, printer or not";
        EXPECT_FALSE(dialog.IsOutlineChecked());
    }
}

TEST_F(PrintDialogTest, OpensCentredOnTheWindowThatOwnsIt)
{
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    const RECT owners[] = {
        {0, 0, screenW * 3 / 5, screenH * 3 / 5},
        {screenW * 2 / 5, screenH * 2 / 5, screenW, screenH},
    };
    for (const RECT& place : owners) {
        HWND owner = ::CreateWindowEx(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, place.left, place.top,
                                      place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                      ::GetModuleHandle(nullptr), nullptr);
        ASSERT_NE(nullptr, owner);
        CMyPrintDialog dialog(FALSE, 0, 0, 0, 0, "cake_pdf", 0x14000C, CWnd::FromHandle(owner));
        RECT shown = {0, 0, 0, 0};
        DialogDriver driver([&](HWND dlg) {
            ::GetWindowRect(dlg, &shown);
            Press(dlg, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        ASSERT_TRUE(driver.Acted());
        RECT ownerRect;
        ::GetWindowRect(owner, &ownerRect);
        ::DestroyWindow(owner);
        EXPECT_NEAR((ownerRect.left + ownerRect.right) / 2, (shown.left + shown.right) / 2, 1) << place.left;
        EXPECT_NEAR((ownerRect.top + ownerRect.bottom) / 2, (shown.top + shown.bottom) / 2, 1) << place.left;
    }
}

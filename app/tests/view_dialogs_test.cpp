// The message box, the question "Save Changes" and the home panel's host, shown as a
// person meets them: the dialog's texts are read and its buttons pressed.
#include "ui/MenuWnd.h"
#include "ui/MessageDlg.h"
#include "ui/SaveChangesDlg.h"
#include "base/TextTable.h"
#include "res/ui_res.h"
#include "res/view_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Input.h"
#include <gtest/gtest.h>

namespace {

class ViewDialogs : public ::testing::Test
{
protected:
    void SetUp() override { LoadLanguageFile("english"); }
};

TEST_F(ViewDialogs, PlainMessageShowsOneButton)
{
    CString title, text, ok;
    BOOL cancelShown = TRUE;
    DialogDriver driver([&](HWND dlg) {
        title = WindowText(dlg);
        text = WindowText(::GetDlgItem(dlg, IDC_MESSAGE_TEXT));
        ok = WindowText(::GetDlgItem(dlg, IDOK));
        cancelShown = ::IsWindowVisible(::GetDlgItem(dlg, IDCANCEL));
        Press(dlg, IDOK);
    });
    CMessageDlg dlg;
    dlg.m_message = GetLangText("125");
    EXPECT_EQ(IDOK, dlg.DoModal());
    ASSERT_TRUE(driver.Acted());
    EXPECT_STREQ((LPCTSTR)GetLangText("120"), (LPCTSTR)title);
    EXPECT_STREQ((LPCTSTR)GetLangText("125"), (LPCTSTR)text);
    EXPECT_STREQ("OK", (LPCTSTR)ok);
    EXPECT_FALSE(cancelShown);
}

// The yes/no form changes the title and the button texts only: its second button shows
// only when asked for, like the plain form's Cancel.
TEST_F(ViewDialogs, YesNoMessageChangesTextsNotButtons)
{
    struct
    {
        BYTE yesNo, showCancel;
        const char* title;
        const char* ok;
        const char* cancel;
        BOOL cancelShown;
    } cases[] = {
        {TRUE, FALSE, "121", "Yes", "No", FALSE},
        {TRUE, TRUE, "121", "Yes", "No", TRUE},
        {FALSE, TRUE, "120", "OK", "Cancel", TRUE},
    };
    for (const auto& c : cases) {
        CString title, yes, no;
        BOOL shown = !c.cancelShown;
        DialogDriver driver([&](HWND dlg) {
            title = WindowText(dlg);
            yes = WindowText(::GetDlgItem(dlg, IDOK));
            no = WindowText(::GetDlgItem(dlg, IDCANCEL));
            shown = ::IsWindowVisible(::GetDlgItem(dlg, IDCANCEL));
            PressEscape(dlg);
        });
        CMessageDlg dlg;
        dlg.m_message = "?";
        dlg.SetYesNo(c.yesNo);
        dlg.m_bShowCancel = c.showCancel;
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        ASSERT_TRUE(driver.Acted());
        EXPECT_STREQ((LPCTSTR)GetLangText(c.title), (LPCTSTR)title) << c.title;
        EXPECT_STREQ(c.ok, (LPCTSTR)yes);
        EXPECT_STREQ(c.cancel, (LPCTSTR)no);
        EXPECT_EQ(c.cancelShown, shown) << c.ok << " " << (int)c.showCancel;
    }
}

TEST_F(ViewDialogs, EscapeEndsThePlainMessageWithCancel)
{
    DialogDriver driver(&PressEscape);
    CMessageDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST_F(ViewDialogs, SaveChangesAnswers)
{
    struct
    {
        int button;
        int result;
    } cases[] = {
        {IDOK, 1},
        {IDC_SAVE_NO, 100},
        {IDCANCEL, 2},
    };
    for (const auto& c : cases) {
        CString title, question, yes, no, cancel;
        DialogDriver driver([&](HWND dlg) {
            title = WindowText(dlg);
            question = WindowText(::GetDlgItem(dlg, IDC_SAVE_QUESTION));
            yes = WindowText(::GetDlgItem(dlg, IDOK));
            no = WindowText(::GetDlgItem(dlg, IDC_SAVE_NO));
            cancel = WindowText(::GetDlgItem(dlg, IDCANCEL));
            Press(dlg, c.button);
        });
        CSaveChangesDlg dlg;
        EXPECT_EQ(c.result, dlg.DoModal()) << c.button;
        EXPECT_STREQ((LPCTSTR)GetLangText("129"), (LPCTSTR)title);
        EXPECT_STREQ((LPCTSTR)GetLangText("130"), (LPCTSTR)question);
        EXPECT_STREQ("Yes", (LPCTSTR)yes);
        EXPECT_STREQ("No", (LPCTSTR)no);
        EXPECT_STREQ("Cancel", (LPCTSTR)cancel);
    }
}

// ---- the home panel's host ----

int g_movesSeen = 0;
INT_PTR CALLBACK CountingDlgProc(HWND, UINT message, WPARAM, LPARAM)
{
    if (message == WM_MOUSEMOVE)
        ++g_movesSeen;
    return message == WM_INITDIALOG;
}

class Frame : public CWnd
{
public:
    Frame()
    {
        CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)::GetStockObject(WHITE_BRUSH)), "frame",
                 WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 400, NULL, NULL);
    }
    ~Frame() override { DestroyWindow(); }
};

TEST(ViewMenuWnd, HostsThePanelInsideAOnePixelBorder)
{
    Frame frame;
    CMenuWnd host;
    ASSERT_TRUE(host.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &frame, 101));
    EXPECT_STREQ("MenuWnd2", (LPCTSTR)WindowText(host.GetSafeHwnd()));
    CDialog* panel = new CDialog(IDD_HOME_PANEL, NULL);
    ASSERT_TRUE(panel->Create(IDD_HOME_PANEL, &host));
    ::SetWindowLongPtr(panel->GetSafeHwnd(), DWLP_DLGPROC, (LONG_PTR)&CountingDlgProc);
    host.SubclassMenu("", IDD_HOME_PANEL, panel); // the host owns the panel from here

    CRect panelClient, hostRect, panelRect;
    panel->GetClientRect(&panelClient);
    host.GetWindowRect(&hostRect);
    panel->GetWindowRect(&panelRect);
    frame.ScreenToClient(&hostRect);
    EXPECT_EQ(CPoint(0, 0), hostRect.TopLeft());
    EXPECT_EQ(panelClient.Width() + 2, hostRect.Width());
    EXPECT_EQ(panelClient.Height() + 2, hostRect.Height());
    host.ScreenToClient(&panelRect);
    EXPECT_EQ(CPoint(1, 1), panelRect.TopLeft());
    EXPECT_TRUE(panel->IsWindowVisible());
    EXPECT_STREQ("none", (LPCTSTR)host.GetName());

    frame.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    CClientDC dc(&host);
    EXPECT_EQ(RGB(66, 154, 252), dc.GetPixel(0, 0)) << "the border";
    EXPECT_EQ(RGB(66, 154, 252), dc.GetPixel(hostRect.Width() - 1, 5));

    // A drag with exactly the left button while the panel holds the capture is swallowed;
    // with Shift held it is passed on.
    HWND p = panel->GetSafeHwnd();
    ::SetCapture(p);
    g_movesSeen = 0;
    ::SendMessage(p, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(0, g_movesSeen);
    ::SendMessage(p, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(0, g_movesSeen);
    ::SendMessage(p, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 5));
    EXPECT_EQ(1, g_movesSeen);
    ::ReleaseCapture();
    ::SendMessage(p, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(2, g_movesSeen) << "without the capture nothing is swallowed";
}

} // namespace

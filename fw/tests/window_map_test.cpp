// Message-map entries beyond the plain ones: registered messages, command ranges,
// notifications and their reflection, colour requests, subclassing.
#include "window_test_app.h"
#include "window_test_res.h"
#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_log;
const UINT g_registered = RegisterWindowMessage("FwTestRegistered");

class MapWnd : public CWnd
{
public:
    int preSubclass = 0;
    void PreSubclassWindow() override { ++preSubclass; }
    LRESULT OnRegistered(WPARAM w, LPARAM)
    {
        g_log.push_back("registered " + std::to_string(w));
        return 5;
    }
    void OnRange(UINT id) { g_log.push_back("range " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MapWnd, CWnd)
    ON_REGISTERED_MESSAGE(g_registered, &MapWnd::OnRegistered)
    ON_COMMAND_RANGE(100, 102, &MapWnd::OnRange)
END_MESSAGE_MAP()

TEST(WindowMap, RegisteredMessagesAndCommandRanges)
{
    MapWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "map", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(1, wnd.preSubclass) << "PreSubclassWindow for a window the layer creates";
    struct Case
    {
        UINT msg;
        WPARAM w;
        LRESULT result;
        const char* ran;
    } cases[] = {
        {g_registered, 3, 5, "registered 3"},
        {WM_COMMAND, 100, 1, "range 100"},
        {WM_COMMAND, 102, 1, "range 102"},
        {WM_COMMAND, 103, 0, ""},
        {WM_COMMAND, 99, 0, ""},
    };
    for (const Case& c : cases) {
        g_log.clear();
        EXPECT_EQ(c.result, wnd.SendMessage(c.msg, c.w, 0)) << c.msg << " " << c.w;
        EXPECT_EQ(c.ran, g_log.empty() ? std::string() : g_log[0]);
    }
    wnd.DestroyWindow();
}

// --- notifications and colours reflected to the control -----------------------------------

HBRUSH RedBrush()
{
    static HBRUSH b = ::CreateSolidBrush(RGB(255, 0, 0));
    return b;
}
HBRUSH BlueBrush()
{
    static HBRUSH b = ::CreateSolidBrush(RGB(0, 0, 255));
    return b;
}

class NotifyButton : public CButton
{
public:
    BOOL m_result = FALSE;
    int preSubclass = 0;
    void PreSubclassWindow() override { ++preSubclass; }
    BOOL OnNotifyEx(NMHDR*, LRESULT* pResult)
    {
        g_log.push_back("control");
        *pResult = 11;
        return m_result;
    }
    HBRUSH CtlColor(CDC*, UINT) { return RedBrush(); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NotifyButton, CButton)
    ON_NOTIFY_REFLECT_EX(NM_CLICK, &NotifyButton::OnNotifyEx)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class NotifyDialog : public CDialog
{
public:
    NotifyDialog() : CDialog(IDD_TEST_CONTROLS) {}
    bool ownColours = false;
    void OnClickNotify(NMHDR*, LRESULT* pResult)
    {
        g_log.push_back("parent");
        *pResult = 22;
    }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        HBRUSH fromBase = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
        return ownColours ? BlueBrush() : fromBase;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NotifyDialog, CDialog)
    ON_NOTIFY(NM_CLICK, IDC_TEST_BUTTON, &NotifyDialog::OnClickNotify)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST(WindowReflection, NotifyReflectedWithExSemantics)
{
    struct Case
    {
        BOOL exResult;
        std::vector<std::string> ran;
        LRESULT result;
    } cases[] = {
        {TRUE, {"control"}, 11},
        {FALSE, {"control", "parent"}, 22},
    };
    for (const Case& c : cases) {
        NotifyDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_TEST_CONTROLS, nullptr));
        NotifyButton button;
        button.m_result = c.exResult;
        ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_BUTTON, &dlg));
        EXPECT_EQ(1, button.preSubclass) << "PreSubclassWindow for a control bound later";
        NMHDR hdr = {button.m_hWnd, IDC_TEST_BUTTON, (UINT)NM_CLICK};
        g_log.clear();
        LRESULT r = dlg.SendMessage(WM_NOTIFY, IDC_TEST_BUTTON, (LPARAM)&hdr);
        EXPECT_EQ(c.ran, g_log) << "result " << c.exResult;
        EXPECT_EQ(c.result, r);
        dlg.DestroyWindow();
    }
}

TEST(WindowReflection, ColourRequestsReachTheControlThroughTheParent)
{
    struct Case
    {
        bool bound;
        bool parentOwnColours;
        HBRUSH expected;
    } cases[] = {
        {true, false, RedBrush()}, // the control's reflected answer
        {true, true, BlueBrush()}, // the parent's handler has the last word
        {false, true, BlueBrush()},
    };
    for (const Case& c : cases) {
        NotifyDialog dlg;
        dlg.ownColours = c.parentOwnColours;
        ASSERT_TRUE(dlg.Create(IDD_TEST_CONTROLS, nullptr));
        NotifyButton button;
        HWND hButton = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_BUTTON);
        if (c.bound) {
            ASSERT_TRUE(button.SubclassWindow(hButton));
        }
        HDC hdc = ::GetDC(hButton);
        HBRUSH got = (HBRUSH)dlg.SendMessage(WM_CTLCOLORBTN, (WPARAM)hdc, (LPARAM)hButton);
        ::ReleaseDC(hButton, hdc);
        EXPECT_EQ(c.expected, got) << c.bound << c.parentOwnColours;
        dlg.DestroyWindow();
    }
}

TEST(WindowMap, UnsubclassRestoresTheControlsProcedure)
{
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_CONTROLS, nullptr));
    HWND hEdit = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT);
    LONG_PTR original = ::GetWindowLongPtr(hEdit, GWLP_WNDPROC);
    CEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    EXPECT_EQ((LONG_PTR)AfxGetAfxWndProc(), ::GetWindowLongPtr(hEdit, GWLP_WNDPROC));
    EXPECT_EQ(&edit, CWnd::FromHandlePermanent(hEdit));
    edit.SetWindowText("typed");
    char buf[16];
    ::GetWindowText(hEdit, buf, sizeof buf);
    EXPECT_STREQ("typed", buf) << "messages still reach the edit control";
    EXPECT_EQ(hEdit, edit.UnsubclassWindow());
    EXPECT_EQ(original, ::GetWindowLongPtr(hEdit, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
    EXPECT_EQ(nullptr, edit.m_hWnd);
    // A temporary wrapper stands for it now, and only until the thread's handler ends.
    CWnd* temp = CWnd::FromHandle(hEdit);
    EXPECT_NE(nullptr, temp);
    EXPECT_EQ(temp, CWnd::FromHandle(hEdit));
    dlg.DestroyWindow();
}

// A temporary wrapper stays valid for the code that got it, even when another object
// binds the same window meanwhile (a dialog's set-up asking for a control, then
// subclassing it), also outside any message loop.
TEST(WindowMap, TemporaryWrapperOutlivesBindingOfItsWindow)
{
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_CONTROLS, nullptr));
    HWND hEdit = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT);
    CWnd* temp = dlg.GetDlgItem(IDC_TEST_EDIT);
    ASSERT_NE(nullptr, temp);
    ASSERT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
    CEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    EXPECT_EQ(hEdit, temp->m_hWnd);
    EXPECT_EQ(IDC_TEST_EDIT, temp->GetDlgCtrlID());
    EXPECT_EQ(&edit, CWnd::FromHandle(hEdit)) << "the bound object answers for the window";
    edit.UnsubclassWindow();
    EXPECT_EQ(temp, CWnd::FromHandle(hEdit));
    dlg.DestroyWindow();
}

} // namespace

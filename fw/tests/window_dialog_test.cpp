// Dialogs: modal runs and their nesting, data exchange, reflection of notifications to
// the controls, and Esc inside a child dialog.
#include "window_test_app.h"
#include "window_test_res.h"
#include "testsupport/PrintQueue.h"
#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_log;

// --- nesting -----------------------------------------------------------------------------

struct NestRecord
{
    int shows = 0;
    bool ownerDisabled = false;
    HWND self = nullptr;
    HWND owner = nullptr;
};
NestRecord g_nest[4];
std::vector<INT_PTR> g_nestResults;

class NestDialog : public CDialog
{
public:
    explicit NestDialog(int depth) : CDialog(IDD_TEST_NEST), m_depth(depth) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1, 20); // timers come when the queue is empty: after the dialog shows
        return TRUE;
    }
    void OnTimer(UINT_PTR id)
    {
        KillTimer(id);
        OnGo(0, 0);
    }
    void OnShowWindow(BOOL bShow, UINT)
    {
        if (bShow)
            ++g_nest[m_depth].shows;
        Default();
    }
    LRESULT OnGo(WPARAM, LPARAM)
    {
        HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
        g_nest[m_depth].ownerDisabled = owner && !::IsWindowEnabled(owner);
        g_nest[m_depth].self = m_hWnd;
        g_nest[m_depth].owner = owner;
        if (m_depth < 3) {
            NestDialog inner(m_depth + 1);
            g_nestResults.push_back(inner.DoModal());
            // Back from the inner run: this dialog is usable again.
            g_log.push_back(::IsWindowEnabled(m_hWnd) ? "enabled" : "disabled");
        }
        EndDialog(100 + m_depth);
        return 0;
    }
    int m_depth;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NestDialog, CDialog)
    ON_WM_SHOWWINDOW()
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(WindowDialog, ModalRunsNestThreeDeepEachShownOnce)
{
    for (auto& r : g_nest)
        r = NestRecord();
    g_nestResults.clear();
    g_log.clear();
    // Parentless dialogs are owned through the main window.
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, nullptr, "main", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
    TestApp().m_pMainWnd = &mainWnd;
    HWND mainHwnd = mainWnd.m_hWnd;
    NestDialog outer(1);
    EXPECT_EQ(101, outer.DoModal());
    TestApp().m_pMainWnd = nullptr;
    EXPECT_TRUE(mainWnd.IsWindowEnabled()) << "enabled again after the outermost run";
    mainWnd.DestroyWindow();
    ASSERT_EQ(2u, g_nestResults.size());
    EXPECT_EQ(103, g_nestResults[0]);
    EXPECT_EQ(102, g_nestResults[1]);
    for (int depth = 1; depth <= 3; ++depth)
        EXPECT_EQ(1, g_nest[depth].shows) << "depth " << depth;
    for (int depth = 1; depth <= 3; ++depth)
        EXPECT_TRUE(g_nest[depth].ownerDisabled) << "depth " << depth;
    // Each parentless run is owned by the main window's last active popup: the run
    // around it.
    EXPECT_EQ(mainHwnd, g_nest[1].owner);
    EXPECT_EQ(g_nest[1].self, g_nest[2].owner);
    EXPECT_EQ(g_nest[2].self, g_nest[3].owner);
    EXPECT_EQ((std::vector<std::string>{"enabled", "enabled"}), g_log);
    EXPECT_EQ(nullptr, outer.m_hWnd);
}

TEST(WindowDialog, MissingTemplateGivesMinusOne)
{
    CDialog dlg(IDD_TEST_MISSING);
    EXPECT_EQ(-1, dlg.DoModal());
}

TEST(WindowDialog, ModelessCreateOwnedByItsOwnArgument)
{
    CWnd constructed, given;
    ASSERT_TRUE(constructed.CreateEx(0, nullptr, "a", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(given.CreateEx(0, nullptr, "b", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CDialog dlg(IDD_TEST_NEST, &constructed);
    ASSERT_TRUE(dlg.Create(IDD_TEST_NEST, &given));
    EXPECT_EQ(given.m_hWnd, ::GetWindow(dlg.m_hWnd, GW_OWNER));
    dlg.DestroyWindow();
    given.DestroyWindow();
    constructed.DestroyWindow();
}

TEST(WindowDialog, EndDialogOnModelessDialogHides)
{
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_NEST, nullptr));
    dlg.ShowWindow(SW_SHOW);
    dlg.EndDialog(IDOK);
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    EXPECT_FALSE(dlg.IsWindowVisible());
    dlg.DestroyWindow();
}

// --- sent messages during a modal run ----------------------------------------------------

// A worker that sends to the user interface thread while a modal dialog runs there gets
// its answer: the modal loop delivers sent messages, to the dialog and to its disabled
// owner alike.
class AnsweringWnd : public CWnd
{
public:
    LRESULT OnAsk(WPARAM w, LPARAM) { return 10 + (LRESULT)w; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(AnsweringWnd, CWnd)
    ON_MESSAGE(WM_APP, &AnsweringWnd::OnAsk)
END_MESSAGE_MAP()

class SentToDialog : public CDialog
{
public:
    explicit SentToDialog(CWnd* pOwner) : CDialog(IDD_TEST_NEST, pOwner) {}
    HWND m_hOwner = nullptr;
    LRESULT m_ownerAnswer = 0, m_dialogAnswer = 0;
    CWinThread* m_pWorker = nullptr;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_hOwner = ::GetWindow(m_hWnd, GW_OWNER);
        SetTimer(1, 15000); // ends a run that nobody answered
        m_pWorker = AfxBeginThread(Ask, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        m_pWorker->m_bAutoDelete = FALSE;
        m_pWorker->ResumeThread();
        return TRUE;
    }
    static UINT Ask(LPVOID p)
    {
        auto* dlg = static_cast<SentToDialog*>(p);
        DWORD_PTR answer = 0;
        dlg->m_ownerAnswer =
            ::SendMessageTimeout(dlg->m_hOwner, WM_APP, 1, 0, SMTO_BLOCK, 5000, &answer) ? (LRESULT)answer : -1;
        dlg->m_dialogAnswer =
            ::SendMessageTimeout(dlg->m_hWnd, WM_APP, 2, 0, SMTO_BLOCK, 5000, &answer) ? (LRESULT)answer : -1;
        return 0;
    }
    LRESULT OnAsk(WPARAM w, LPARAM)
    {
        EndDialog(40 + (int)w);
        return 20 + (LRESULT)w;
    }
    void OnTimer(UINT_PTR id)
    {
        KillTimer(id);
        EndDialog(-2);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SentToDialog, CDialog)
    ON_MESSAGE(WM_APP, &SentToDialog::OnAsk)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(WindowDialog, ModalLoopDeliversMessagesSentFromAWorker)
{
    AnsweringWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
    SentToDialog dlg(&owner);
    EXPECT_EQ(42, dlg.DoModal());
    ASSERT_NE(nullptr, dlg.m_pWorker);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dlg.m_pWorker->m_hThread, 5000));
    delete dlg.m_pWorker;
    EXPECT_EQ(11, dlg.m_ownerAnswer) << "the disabled owner answered";
    EXPECT_EQ(22, dlg.m_dialogAnswer);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

// --- data exchange -------------------------------------------------------------------------

class CountingEdit : public CEdit
{
public:
    int setTexts = 0;
    LRESULT OnSetText(WPARAM, LPARAM)
    {
        ++setTexts;
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CountingEdit, CEdit)
    ON_MESSAGE(WM_SETTEXT, &CountingEdit::OnSetText)
END_MESSAGE_MAP()

class ExchangeDialog : public CDialog
{
public:
    ExchangeDialog() : CDialog(IDD_TEST_CONTROLS) {}
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_TEST_EDIT, m_edit);
        DDX_Text(pDX, IDC_TEST_EDIT, m_text);
        DDX_Check(pDX, IDC_TEST_CHECK, m_check);
        DDX_CBString(pDX, IDC_TEST_COMBO, m_combo);
        DDX_Text(pDX, IDC_TEST_NUMBER, m_number);
    }
    void OnEditChange() { ++m_changes; }
    CountingEdit m_edit;
    CString m_text = "abc";
    int m_check = 1;
    CString m_combo = "two";
    int m_number = 42;
    int m_changes = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ExchangeDialog, CDialog)
    ON_EN_CHANGE(IDC_TEST_EDIT, &ExchangeDialog::OnEditChange)
END_MESSAGE_MAP()

TEST(WindowDialog, DataExchangeBothWays)
{
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_CONTROLS, nullptr));
    HWND combo = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_COMBO);
    for (const char* s : {"one", "two", "three"})
        ::SendMessage(combo, CB_ADDSTRING, 0, (LPARAM)s);
    ASSERT_TRUE(dlg.UpdateData(FALSE));

    // The control was bound once and set once; the notification of that set was held back.
    EXPECT_EQ(&dlg.m_edit, CWnd::FromHandlePermanent(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT)));
    EXPECT_EQ(0, dlg.m_changes);
    int sets = dlg.m_edit.setTexts;
    EXPECT_GE(sets, 1);
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(sets, dlg.m_edit.setTexts) << "unchanged text is not written again";
    EXPECT_EQ(0, dlg.m_changes);

    char buf[32];
    ::GetDlgItemText(dlg.m_hWnd, IDC_TEST_EDIT, buf, sizeof buf);
    EXPECT_STREQ("abc", buf);
    EXPECT_EQ(1u, ::IsDlgButtonChecked(dlg.m_hWnd, IDC_TEST_CHECK));
    EXPECT_EQ(1, (int)::SendMessage(combo, CB_GETCURSEL, 0, 0));
    ::GetDlgItemText(dlg.m_hWnd, IDC_TEST_NUMBER, buf, sizeof buf);
    EXPECT_STREQ("42", buf);

    // A change outside the exchange is a user's change: its handler runs.
    ::SetDlgItemText(dlg.m_hWnd, IDC_TEST_EDIT, "xyz");
    EXPECT_EQ(1, dlg.m_changes);
    ::CheckDlgButton(dlg.m_hWnd, IDC_TEST_CHECK, BST_UNCHECKED);
    ::SendMessage(combo, CB_SETCURSEL, 2, 0);
    ::SetDlgItemText(dlg.m_hWnd, IDC_TEST_NUMBER, " -7 ");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ("xyz", std::string(dlg.m_text));
    EXPECT_EQ(0, dlg.m_check);
    EXPECT_EQ("three", std::string(dlg.m_combo));
    EXPECT_EQ(-7, dlg.m_number);
    dlg.DestroyWindow();
}

TEST(WindowDialog, NumberThatDoesNotParseFailsTheExchange)
{
    struct Case
    {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"12", true, 12}, {"12x", false, 5}, {"", false, 5}, {"-", false, 5}, {"99999999999", false, 5},
    };
    for (const Case& c : cases) {
        ExchangeDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_TEST_CONTROLS, nullptr));
        dlg.UpdateData(FALSE);
        dlg.m_number = 5;
        ::SetDlgItemText(dlg.m_hWnd, IDC_TEST_NUMBER, c.text);
        TestApp().messages.clear();
        EXPECT_EQ(c.ok, dlg.UpdateData(TRUE) != FALSE) << c.text;
        EXPECT_EQ(c.value, dlg.m_number) << c.text;
        EXPECT_EQ(c.ok ? 0u : 1u, TestApp().messages.size()) << c.text;
        dlg.DestroyWindow();
    }
}

// --- reflection ------------------------------------------------------------------------------

class ReflectButton : public CButton
{
public:
    BOOL m_result = FALSE;
    int m_draws = 0;
    UINT m_drawnId = 0;
    BOOL OnClickedEx()
    {
        g_log.push_back("control");
        return m_result;
    }
    void DrawItem(LPDRAWITEMSTRUCT p) override
    {
        ++m_draws;
        m_drawnId = p->CtlID;
        ::FillRect(p->hDC, &p->rcItem, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ReflectButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &ReflectButton::OnClickedEx)
END_MESSAGE_MAP()

class PlainReflectButton : public CButton
{
public:
    void OnClicked() { g_log.push_back("control"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PlainReflectButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, &PlainReflectButton::OnClicked)
END_MESSAGE_MAP()

class ReflectDialog : public CDialog
{
public:
    ReflectDialog() : CDialog(IDD_TEST_CONTROLS) {}
    void OnButton() { g_log.push_back("parent"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ReflectDialog, CDialog)
    ON_BN_CLICKED(IDC_TEST_BUTTON, &ReflectDialog::OnButton)
END_MESSAGE_MAP()

TEST(WindowReflection, ClickReflectedToControlFirst)
{
    struct Case
    {
        int kind;
        BOOL exResult;
        std::vector<std::string> ran;
    } cases[] = {
        {0, TRUE, {"control"}},            // _EX handled: the parent does not see it
        {0, FALSE, {"control", "parent"}}, // _EX not handled: the parent's handler runs
        {1, FALSE, {"control"}},           // plain reflection ends the handling
        {2, FALSE, {"parent"}},            // no control object: the parent alone
    };
    for (const Case& c : cases) {
        ReflectDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_TEST_CONTROLS, nullptr));
        ReflectButton ex;
        PlainReflectButton plain;
        if (c.kind == 0) {
            ex.m_result = c.exResult;
            ASSERT_TRUE(ex.SubclassDlgItem(IDC_TEST_BUTTON, &dlg));
        } else if (c.kind == 1) {
            ASSERT_TRUE(plain.SubclassDlgItem(IDC_TEST_BUTTON, &dlg));
        }
        g_log.clear();
        ::SendMessage(::GetDlgItem(dlg.m_hWnd, IDC_TEST_BUTTON), BM_CLICK, 0, 0);
        EXPECT_EQ(c.ran, g_log) << "kind " << c.kind << " result " << c.exResult;
        dlg.DestroyWindow();
    }
}

TEST(WindowReflection, DrawItemReachesTheControl)
{
    ReflectDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_CONTROLS, nullptr));
    ReflectButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_BUTTON, &dlg));
    dlg.ShowWindow(SW_SHOW);
    button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    EXPECT_GE(button.m_draws, 1);
    EXPECT_EQ((UINT)IDC_TEST_BUTTON, button.m_drawnId);
    // What DrawItem painted is on the screen: the button's middle is black.
    RECT r;
    ::GetClientRect(button.m_hWnd, &r);
    HDC hdc = ::GetDC(button.m_hWnd);
    COLORREF c = ::GetPixel(hdc, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::ReleaseDC(button.m_hWnd, hdc);
    EXPECT_EQ(RGB(0, 0, 0), c);
    dlg.DestroyWindow();
}

// --- Esc inside a child dialog -------------------------------------------------------------

class InnerDialog : public CDialog
{
public:
    InnerDialog() : CDialog(IDD_TEST_CHILD) {}
    void OnCancel() override
    {
        g_log.push_back("inner");
        if (CDialog* outer = static_cast<CDialog*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd))))
            outer->EndDialog(77);
    }
};

class OuterDialog : public CDialog
{
public:
    OuterDialog() : CDialog(IDD_TEST_OUTER) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_inner.Create(IDD_TEST_CHILD, this);
        HWND edit = ::GetDlgItem(m_inner.m_hWnd, IDC_TEST_CHILD_EDIT);
        ::SetFocus(edit);
        ::PostMessage(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        ::PostMessage(m_hWnd, WM_APP, 0, 0); // a guard: ends the run if Esc went astray
        return FALSE;
    }
    void OnCancel() override
    {
        g_log.push_back("outer");
        EndDialog(IDCANCEL);
    }
    LRESULT OnGuard(WPARAM, LPARAM)
    {
        ::PostMessage(m_hWnd, WM_APP + 1, 0, 0);
        return 0;
    }
    LRESULT OnGuard2(WPARAM, LPARAM)
    {
        EndDialog(-5);
        return 0;
    }
    InnerDialog m_inner;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(OuterDialog, CDialog)
    ON_MESSAGE(WM_APP, &OuterDialog::OnGuard)
    ON_MESSAGE(WM_APP + 1, &OuterDialog::OnGuard2)
END_MESSAGE_MAP()

TEST(WindowPreTranslate, EscInChildDialogReachesInnerOnCancel)
{
    g_log.clear();
    OuterDialog dlg;
    EXPECT_EQ(77, dlg.DoModal());
    EXPECT_EQ((std::vector<std::string>{"inner"}), g_log);
}

// --- common dialogs: the object is hooked to the system dialog's window ----------------

class ProbeColorDialog : public CColorDialog
{
public:
    ProbeColorDialog() : CColorDialog(RGB(10, 20, 30), CC_FULLOPEN) {}
    bool initRan = false;
    BOOL OnInitDialog() override
    {
        initRan = CColorDialog::OnInitDialog() != FALSE;
        PostMessage(WM_COMMAND, IDOK); // the system dialog ends itself on OK
        return TRUE;
    }
};

TEST(WindowCommonDialog, ColourDialogRunsWithTheObjectAttached)
{
    ProbeColorDialog dlg;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(dlg.initRan);
    EXPECT_EQ(RGB(10, 20, 30), dlg.GetColor());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

class ProbePrintDialog : public CPrintDialog
{
public:
    ProbePrintDialog() : CPrintDialog(FALSE) {}
    bool initRan = false;
    int checks = 0;
    BOOL OnInitDialog() override
    {
        initRan = CPrintDialog::OnInitDialog() != FALSE;
        PostMessage(WM_COMMAND, IDCANCEL);
        return TRUE;
    }
    void OnCancel() override
    {
        ++checks;
        CPrintDialog::OnCancel();
    }
};

TEST(WindowCommonDialog, PrintDialogRunsWithTheObjectAttached)
{
    // The test command's print server makes its PDF queue the default printer.
    REQUIRE_PRINT_QUEUE("Cake_PDF");
    PRINTDLG probe = {sizeof probe};
    probe.Flags = PD_RETURNDEFAULT;
    ASSERT_TRUE(PrintDlg(&probe)) << "no default printer, though the queue Cake_PDF exists";
    GlobalFree(probe.hDevMode);
    GlobalFree(probe.hDevNames);
    ProbePrintDialog dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(dlg.initRan);
    EXPECT_EQ(1, dlg.checks) << "the object's map saw the command";
    EXPECT_EQ(nullptr, dlg.GetPrinterDC());
    if (dlg.m_pd.hDevMode)
        GlobalFree(dlg.m_pd.hDevMode);
    if (dlg.m_pd.hDevNames)
        GlobalFree(dlg.m_pd.hDevNames);
}

} // namespace

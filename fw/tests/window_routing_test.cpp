// Command routing (view -> document -> frame -> application; dialog -> application),
// pre-translation, the main window seen from other threads, and user-interface threads.
#include "window_test_app.h"
#include "window_test_res.h"
#include <gtest/gtest.h>
#include <atomic>

namespace {

std::vector<std::string> g_log;

// What a worker saw of the main window while the document was being made.
std::atomic<CWnd*> g_mainSeenFromWorker{nullptr};
std::atomic<LONG> g_mainWidthSeenFromWorker{0};

class RouteDoc : public CDocument
{
    DECLARE_DYNCREATE(RouteDoc)
public:
    BOOL OnNewDocument() override
    {
        // A loader working on another thread asks for the main window's client size.
        CWinThread* t = AfxBeginThread(
            [](LPVOID) -> UINT {
                CWnd* main = AfxGetMainWnd();
                g_mainSeenFromWorker = main;
                RECT rc = {};
                if (main)
                    ::GetClientRect(main->m_hWnd, &rc);
                g_mainWidthSeenFromWorker = rc.right;
                return 0;
            },
            nullptr, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        t->m_bAutoDelete = FALSE;
        t->ResumeThread();
        WaitForSingleObject(t->m_hThread, 5000);
        delete t;
        return CDocument::OnNewDocument();
    }
    void OnViewAndDoc() { g_log.push_back("doc"); }
    void OnDocOnly() { g_log.push_back("doc"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(RouteDoc, CDocument)
BEGIN_MESSAGE_MAP(RouteDoc, CDocument)
    ON_COMMAND(ID_TEST_VIEW_AND_DOC, &RouteDoc::OnViewAndDoc)
    ON_COMMAND(ID_TEST_DOC, &RouteDoc::OnDocOnly)
END_MESSAGE_MAP()

class RouteView : public CView
{
    DECLARE_DYNCREATE(RouteView)
public:
    void OnDraw(CDC*) override {}
    void OnViewCommand() { g_log.push_back("view"); }
    void OnKeyDown(UINT nChar, UINT, UINT) { g_log.push_back("key " + std::to_string(nChar)); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(RouteView, CView)
BEGIN_MESSAGE_MAP(RouteView, CView)
    ON_COMMAND(ID_TEST_VIEW_AND_DOC, &RouteView::OnViewCommand)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
END_MESSAGE_MAP()

class RouteFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(RouteFrame)
public:
    void OnFrameCommand() { g_log.push_back("frame"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(RouteFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(RouteFrame, CFrameWnd)
    ON_COMMAND(ID_TEST_FRAME, &RouteFrame::OnFrameCommand)
    ON_COMMAND(ID_TEST_VIEW_AND_DOC, &RouteFrame::OnFrameCommand)
END_MESSAGE_MAP()

// A document, its frame and view made by a single-document template, as the program's.
struct ShellFixture : ::testing::Test
{
    CSingleDocTemplate* tmpl = nullptr;
    CDocument* doc = nullptr;
    CFrameWnd* frame = nullptr;
    CView* view = nullptr;

    void SetUp() override
    {
        g_log.clear();
        TestApp().commandLog = &g_log;
        TestApp().m_nCmdShow = SW_SHOWNORMAL;
        tmpl = new CSingleDocTemplate(IDR_TEST_SHELL, RUNTIME_CLASS(RouteDoc), RUNTIME_CLASS(RouteFrame),
                                      RUNTIME_CLASS(RouteView));
        doc = tmpl->OpenDocumentFile(nullptr);
        ASSERT_NE(nullptr, doc);
        POSITION pos = doc->GetFirstViewPosition();
        view = doc->GetNextView(pos);
        ASSERT_NE(nullptr, view);
        frame = view->GetParentFrame();
        ASSERT_NE(nullptr, frame);
    }
    void TearDown() override
    {
        TestApp().commandLog = nullptr;
        if (tmpl && tmpl->m_pOnlyDoc)
            tmpl->m_pOnlyDoc->OnCloseDocument();
        delete tmpl;
        TestApp().m_pMainWnd = nullptr;
        PumpPending();
        MSG m;
        while (PeekMessage(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    }
};

TEST_F(ShellFixture, CommandsRouteViewDocumentFrameApplication)
{
    struct Case
    {
        UINT id;
        const char* ran;
    } cases[] = {
        {ID_TEST_VIEW_AND_DOC, "view"}, // view first, though document and frame have one
        {ID_TEST_DOC, "doc"},           {ID_TEST_FRAME, "frame"}, {ID_TEST_APP, "app"}, {ID_TEST_NOBODY, ""},
    };
    for (const Case& c : cases) {
        g_log.clear();
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        std::string ran = g_log.empty() ? "" : g_log[0];
        EXPECT_EQ(c.ran, ran) << "command " << std::hex << c.id;
        EXPECT_LE(g_log.size(), 1u) << "one handler per command";
    }
}

TEST_F(ShellFixture, FrameIsMainWindowWithDocumentTitle)
{
    EXPECT_EQ(frame, AfxGetMainWnd());
    EXPECT_EQ(frame, g_mainSeenFromWorker.load()) << "main window known while the document is made";
    EXPECT_GT(g_mainWidthSeenFromWorker.load(), 0);
    char title[128] = {};
    ::GetWindowText(frame->m_hWnd, title, sizeof title);
    EXPECT_STREQ("Untitled - Sugarleaf Studio", title);
    doc->SetTitle("cake.ktb"); // the caption follows at once
    ::GetWindowText(frame->m_hWnd, title, sizeof title);
    EXPECT_STREQ("cake.ktb - Sugarleaf Studio", title);
    EXPECT_EQ(view, frame->GetActiveView());
    EXPECT_EQ(doc, frame->GetActiveDocument());
    // The view fills the frame's client area.
    RECT client, pane;
    ::GetClientRect(frame->m_hWnd, &client);
    ::GetWindowRect(view->m_hWnd, &pane);
    EXPECT_EQ(client.right - client.left, pane.right - pane.left);
    EXPECT_EQ(client.bottom - client.top, pane.bottom - pane.top);
}

TEST_F(ShellFixture, NewDocumentReusesDocumentAndFrame)
{
    doc->SetModifiedFlag(TRUE);
    doc->SetTitle("changed");
    TestApp().messages.clear();
    // The base SaveModified asks; the test app answers IDOK, which is neither Yes nor Cancel.
    CDocument* again = tmpl->OpenDocumentFile(nullptr);
    EXPECT_EQ(doc, again);
    EXPECT_EQ(1u, TestApp().messages.size());
    EXPECT_EQ("Untitled", std::string(doc->GetTitle()));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(frame, view->GetParentFrame());
}

TEST_F(ShellFixture, MainWindowFromWorkerThread)
{
    struct Shared
    {
        std::atomic<CWnd*> seen{nullptr};
        HANDLE done;
    } shared;
    shared.done = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    CWinThread* t = AfxBeginThread(
        [](LPVOID p) -> UINT {
            auto* s = static_cast<Shared*>(p);
            s->seen = AfxGetMainWnd();
            SetEvent(s->done);
            return 0;
        },
        &shared);
    ASSERT_NE(nullptr, t);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(shared.done, 5000));
    EXPECT_EQ(frame, shared.seen.load());
    CloseHandle(shared.done);
}

TEST_F(ShellFixture, CtrlKeyMessagesSwallowedByApplication)
{
    TestApp().swallowCtrl = true;
    struct Case
    {
        UINT msg;
        WPARAM vk;
        bool reaches;
    } cases[] = {
        {WM_KEYDOWN, VK_CONTROL, false},
        {WM_KEYUP, VK_CONTROL, false},
        {WM_KEYDOWN, 'A', true},
        {WM_KEYDOWN, VK_SHIFT, true},
    };
    for (const Case& c : cases) {
        g_log.clear();
        ::PostMessage(view->m_hWnd, c.msg, c.vk, 1);
        PumpPending();
        bool reached = false;
        for (auto& s : g_log)
            if (s == "key " + std::to_string(c.vk))
                reached = true;
        if (c.msg == WM_KEYDOWN)
            EXPECT_EQ(c.reaches, reached) << "vk " << c.vk;
        else
            EXPECT_TRUE(g_log.empty());
    }
    TestApp().swallowCtrl = false;
}

// Dialog commands go to the dialog, then to the application, never to the frame.
class RouteDialog : public CDialog
{
public:
    RouteDialog() : CDialog(IDD_TEST_NEST) {}
    void OnFrameCommand() { g_log.push_back("dialog"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RouteDialog, CDialog)
    ON_COMMAND(ID_TEST_DOC, &RouteDialog::OnFrameCommand)
END_MESSAGE_MAP()

TEST_F(ShellFixture, DialogCommandsRouteToApplication)
{
    RouteDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_NEST, frame));
    struct Case
    {
        UINT id;
        const char* ran;
    } cases[] = {
        {ID_TEST_DOC, "dialog"},
        {ID_TEST_APP, "app"},
        {ID_TEST_FRAME, ""},
        {ID_TEST_VIEW_AND_DOC, ""},
    };
    for (const Case& c : cases) {
        g_log.clear();
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        EXPECT_EQ(c.ran, g_log.empty() ? std::string() : g_log[0]) << std::hex << c.id;
    }
    dlg.DestroyWindow();
}

// A user-interface thread: its own loop, ends with its main window, deletes itself.
std::atomic<int> g_uiThreadState{0};
HWND g_uiWindow = nullptr;

class UiThread : public CWinThread
{
    DECLARE_DYNCREATE(UiThread)
public:
    ~UiThread() override { g_uiThreadState = 3; }
    BOOL InitInstance() override
    {
        auto* w = new Owned;
        if (!w->CreateEx(0, nullptr, "ui thread", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = w;
        g_uiWindow = w->m_hWnd;
        g_uiThreadState = 1;
        return TRUE;
    }
    int ExitInstance() override
    {
        g_uiThreadState = 2;
        return CWinThread::ExitInstance();
    }
    struct Owned : CWnd
    {
        void PostNcDestroy() override { delete this; }
    };
};
IMPLEMENT_DYNCREATE(UiThread, CWinThread)

TEST(WindowThreads, UiThreadEndsWithItsMainWindowAndDeletesItself)
{
    g_uiThreadState = 0;
    CWinThread* t = AfxBeginThread(RUNTIME_CLASS(UiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, t);
    Sleep(50);
    EXPECT_EQ(0, g_uiThreadState.load()) << "created suspended";
    HANDLE h = nullptr;
    DuplicateHandle(GetCurrentProcess(), t->m_hThread, GetCurrentProcess(), &h, 0, FALSE, DUPLICATE_SAME_ACCESS);
    t->ResumeThread();
    for (int i = 0; i < 500 && g_uiThreadState != 1; ++i)
        Sleep(10);
    ASSERT_EQ(1, g_uiThreadState.load());
    ::PostMessage(g_uiWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(h, 5000));
    EXPECT_EQ(3, g_uiThreadState.load()) << "ExitInstance ran, then the object was deleted";
    CloseHandle(h);
}

} // namespace

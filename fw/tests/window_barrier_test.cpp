// The exception barrier: a failure thrown from a handler is reported and the program
// goes on, whether the message came through SendMessage or DispatchMessage.
#include "window_test_app.h"
#include "window_test_res.h"
#include <gtest/gtest.h>
#include <new>

namespace {

enum Throw { ThrowFileException, ThrowBadAlloc, ThrowInt, ThrowNothing };

class ThrowingWnd : public CWnd
{
public:
    Throw what = ThrowNothing;
    bool failCreate = false;
    int paints = 0;
    LRESULT OnThrow(WPARAM, LPARAM)
    {
        switch (what) {
        case ThrowFileException:
            AfxThrowFileException(CFileException::fileNotFound, -1, "cake.ktb");
        case ThrowBadAlloc:
            throw std::bad_alloc();
        case ThrowInt:
            throw 42;
        case ThrowNothing:
            break;
        }
        return 7;
    }
    int OnCreate(LPCREATESTRUCT)
    {
        if (failCreate)
            AfxThrowNotSupportedException();
        return 0;
    }
    void OnPaint()
    {
        ++paints;
        throw 1; // before BeginPaint: the barrier must validate the window
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ThrowingWnd, CWnd)
    ON_MESSAGE(WM_APP, &ThrowingWnd::OnThrow)
    ON_WM_CREATE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(WindowBarrier, ExceptionsFromHandlersAreReportedAndSwallowed)
{
    CString outOfMemory, failure;
    outOfMemory.LoadString(FW_IDS_MEMORY_EXCEPTION);
    failure.LoadString(FW_IDP_INTERNAL_FAILURE);
    struct Case
    {
        Throw what;
        bool posted;
    } cases[] = {
        {ThrowFileException, false}, {ThrowFileException, true}, {ThrowBadAlloc, false},
        {ThrowBadAlloc, true},       {ThrowInt, false},          {ThrowInt, true},
    };
    for (const Case& c : cases) {
        ThrowingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "barrier", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
        wnd.what = c.what;
        TestApp().messages.clear();
        if (c.posted) {
            wnd.PostMessage(WM_APP);
            PumpPending();
        } else {
            EXPECT_EQ(0, wnd.SendMessage(WM_APP)) << "a failed handler answers 0";
        }
        ASSERT_EQ(1u, TestApp().messages.size()) << c.what << " posted " << c.posted;
        const std::string& text = TestApp().messages[0];
        if (c.what == ThrowFileException)
            EXPECT_NE(std::string::npos, text.find("cake.ktb")) << text;
        else if (c.what == ThrowBadAlloc)
            EXPECT_EQ(std::string(outOfMemory), text);
        else
            EXPECT_EQ(std::string(failure), text);
        // Still alive and answering.
        wnd.what = ThrowNothing;
        EXPECT_EQ(7, wnd.SendMessage(WM_APP));
        wnd.DestroyWindow();
    }
}

TEST(WindowBarrier, FailedCreateEndsCreationAndFailedPaintValidates)
{
    TestApp().messages.clear();
    ThrowingWnd bad;
    bad.failCreate = true;
    EXPECT_FALSE(bad.CreateEx(0, nullptr, "bad", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
    EXPECT_EQ(nullptr, bad.m_hWnd);
    EXPECT_EQ(1u, TestApp().messages.size());

    ThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "paint", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr));
    TestApp().messages.clear();
    wnd.Invalidate();
    wnd.UpdateWindow();
    EXPECT_EQ(1, wnd.paints);
    EXPECT_FALSE(::GetUpdateRect(wnd.m_hWnd, nullptr, FALSE)) << "no endless WM_PAINT";
    PumpPending();
    EXPECT_EQ(1, wnd.paints);
    wnd.DestroyWindow();
}

TEST(WindowBarrier, WorkerThreadFailureIsReported)
{
    TestApp().messages.clear();
    CWinThread* t = AfxBeginThread([](LPVOID) -> UINT { throw std::bad_alloc(); }, nullptr, THREAD_PRIORITY_NORMAL, 0,
                                   CREATE_SUSPENDED);
    ASSERT_NE(nullptr, t);
    t->m_bAutoDelete = FALSE;
    t->ResumeThread();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t->m_hThread, 5000));
    DWORD code = 0;
    GetExitCodeThread(t->m_hThread, &code);
    EXPECT_EQ((DWORD)-1, code);
    EXPECT_EQ(1u, TestApp().messages.size());
    delete t;
}

// A set-up that fails inside the creation hook (PreSubclassWindow) is reported there and
// the window is refused: the creation fails as a failed WM_CREATE does, and the next one
// works.
template <class Base> class ThrowingSetUp : public Base
{
public:
    int ncDestroys = 0;
    void PreSubclassWindow() override { AfxThrowNotSupportedException(); }
    void PostNcDestroy() override { ++ncDestroys; }
};

TEST(WindowBarrier, FailedSetUpInCreationHookRefusesTheWindow)
{
    TestApp().messages.clear();
    ThrowingSetUp<CWnd> wnd;
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, "setup", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, ::FindWindow(FW_WND_CLASS, "setup"));
    EXPECT_EQ(1, wnd.ncDestroys) << "the creator is told the window never became its";
    EXPECT_EQ(1u, TestApp().messages.size());

    TestApp().messages.clear();
    ThrowingSetUp<CDialog> modeless;
    EXPECT_FALSE(modeless.Create(IDD_TEST_NEST, nullptr));
    EXPECT_EQ(nullptr, modeless.m_hWnd);
    ThrowingSetUp<CDialog> modal;
    modal.m_lpszTemplateName = MAKEINTRESOURCE(IDD_TEST_NEST);
    EXPECT_EQ(-1, modal.DoModal());
    EXPECT_EQ(2u, TestApp().messages.size());

    CWnd fine;
    ASSERT_TRUE(fine.CreateEx(0, nullptr, "fine", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
    fine.DestroyWindow();
    EXPECT_EQ(2u, TestApp().messages.size());
}

// WinMain's barrier: a failure in InitInstance is reported and the program ends with -1.
TEST(WindowBarrier, FailureInInitInstanceEndsWinMainWithMinusOne)
{
    CString outOfMemory, failure;
    outOfMemory.LoadString(FW_IDS_MEMORY_EXCEPTION);
    failure.LoadString(FW_IDP_INTERNAL_FAILURE);
    struct Case
    {
        int what;
        std::string text;
    } cases[] = {
        {1, ""},
        {2, std::string(outOfMemory)},
        {3, std::string(failure)},
    };
    for (const Case& c : cases) {
        TestApp().messages.clear();
        TestApp().throwInInit = c.what;
        int code = AfxWinMain(GetModuleHandle(nullptr), nullptr, GetCommandLine(), SW_SHOWNORMAL);
        TestApp().throwInInit = 0;
        EXPECT_EQ(-1, code) << c.what;
        ASSERT_EQ(1u, TestApp().messages.size()) << c.what;
        if (!c.text.empty()) {
            EXPECT_EQ(c.text, TestApp().messages[0]);
        }
    }
    EXPECT_EQ(&TestApp(), AfxGetThread()) << "the test thread is still the application's";
}

} // namespace

// A bare single-document shell, run as its own process the way the program runs: one
// maximised window "Untitled - Sugarleaf Studio" without menu; Ctrl+N makes a new
// document; a close message ends the process with code 0.
#include "window_test_app.h"
#include "window_test_res.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void AppendShellLog(const char* line)
{
    if (const char* path = getenv("FW_SHELL_LOG")) {
        if (FILE* f = fopen(path, "a")) {
            fprintf(f, "%s\n", line);
            fclose(f);
        }
    }
}

class ShellDoc : public CDocument
{
    DECLARE_DYNCREATE(ShellDoc)
public:
    BOOL OnNewDocument() override
    {
        if (!CDocument::OnNewDocument())
            return FALSE;
        AppendShellLog("new");
        return TRUE;
    }
};
IMPLEMENT_DYNCREATE(ShellDoc, CDocument)

class ShellView : public CView
{
    DECLARE_DYNCREATE(ShellView)
public:
    void OnDraw(CDC* pDC) override
    {
        RECT r = {20, 20, 120, 80};
        ::FillRect(pDC->m_hDC, &r, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    }
};
IMPLEMENT_DYNCREATE(ShellView, CView)

class ShellFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(ShellFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        if (!CFrameWnd::PreCreateWindow(cs))
            return FALSE;
        cs.dwExStyle = 0;
        return TRUE;
    }
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        SetMenu(nullptr);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(ShellFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(ShellFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// The shell's start-up, as the program's InitInstance does it.
BOOL ShellInitInstance(CWinApp& app)
{
    app.AddDocTemplate(new CSingleDocTemplate(IDR_TEST_SHELL, RUNTIME_CLASS(ShellDoc), RUNTIME_CLASS(ShellFrame),
                                              RUNTIME_CLASS(ShellView)));
    CCommandLineInfo cmdInfo;
    app.ParseCommandLine(cmdInfo);
    app.m_nCmdShow = SW_SHOWMAXIMIZED;
    if (!app.ProcessShellCommand(cmdInfo))
        return FALSE;
    app.m_pMainWnd->ShowWindow(SW_SHOW);
    app.m_pMainWnd->UpdateWindow();
    return TRUE;
}

// Runs in the child process only.
TEST(ShellChild, Run)
{
    if (!getenv("FW_SHELL_CHILD"))
        GTEST_SKIP() << "runs as the shell's own process";
    TestApp().shellMode = true;
    int code = AfxWinMain(GetModuleHandle(nullptr), nullptr, GetCommandLine(), SW_SHOWNORMAL);
    fflush(stdout);
    ExitProcess((UINT)code);
}

struct Found
{
    DWORD pid;
    int visibleTopLevel;
    HWND shell;
};

BOOL CALLBACK CountWindows(HWND h, LPARAM lp)
{
    auto* f = (Found*)lp;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == f->pid && IsWindowVisible(h)) {
        ++f->visibleTopLevel;
        char title[128] = {};
        GetWindowText(h, title, sizeof title);
        if (strcmp(title, "Untitled - Sugarleaf Studio") == 0)
            f->shell = h;
    }
    return TRUE;
}

int CountLines(const std::string& path)
{
    int n = 0;
    if (FILE* f = fopen(path.c_str(), "r")) {
        char line[64];
        while (fgets(line, sizeof line, f))
            ++n;
        fclose(f);
    }
    return n;
}

TEST(WindowShell, SingleDocumentShellLifecycle)
{
    // It types keys into the focus: ctest runs it on its own (fw_shell), so that no
    // other program's window takes the keys or the focus meanwhile.
    if (!getenv("FW_SHELL_CHECK"))
        GTEST_SKIP() << "types keys: run alone by the fw_shell test";
    char exe[MAX_PATH];
    GetModuleFileName(nullptr, exe, MAX_PATH);
    char temp[MAX_PATH];
    GetTempPath(MAX_PATH, temp);
    std::string log = std::string(temp) + "fw_shell_test.log";
    DeleteFile(log.c_str());
    SetEnvironmentVariable("FW_SHELL_CHILD", "1");
    SetEnvironmentVariable("FW_SHELL_LOG", log.c_str());
    std::string cmd = std::string("\"") + exe + "\" --gtest_filter=ShellChild.Run";
    STARTUPINFO si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    BOOL started = CreateProcess(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariable("FW_SHELL_CHILD", nullptr);
    SetEnvironmentVariable("FW_SHELL_LOG", nullptr);
    ASSERT_TRUE(started);

    Found found = {pi.dwProcessId, 0, nullptr};
    for (int i = 0; i < 200 && !found.shell; ++i) {
        Sleep(50);
        found.visibleTopLevel = 0;
        EnumWindows(CountWindows, (LPARAM)&found);
    }
    ASSERT_NE(nullptr, found.shell) << "no window titled \"Untitled - Sugarleaf Studio\"";
    Sleep(300);
    found.visibleTopLevel = 0;
    EnumWindows(CountWindows, (LPARAM)&found);
    EXPECT_EQ(1, found.visibleTopLevel);
    EXPECT_TRUE(IsZoomed(found.shell));
    EXPECT_EQ(nullptr, GetMenu(found.shell));
    EXPECT_FALSE(GetWindowLong(found.shell, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(1, CountLines(log));

    if (const char* pause = getenv("FW_SHELL_PAUSE_MS")) // time for a screenshot
        Sleep((DWORD)atoi(pause));

    // Ctrl+N, typed into the shell.  Other tests share the display and may take the
    // focus meanwhile: type again until the shell had it.
    INPUT in[4] = {};
    for (INPUT& i : in)
        i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = VK_CONTROL;
    in[1].ki.wVk = 'N';
    in[2].ki.wVk = 'N';
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.wVk = VK_CONTROL;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    for (int attempt = 0; attempt < 20 && CountLines(log) < 2; ++attempt) {
        SetForegroundWindow(found.shell);
        Sleep(100);
        if (GetForegroundWindow() != found.shell)
            continue;
        SendInput(4, in, sizeof(INPUT));
        for (int i = 0; i < 20 && CountLines(log) < 2; ++i)
            Sleep(50);
    }
    EXPECT_EQ(2, CountLines(log)) << "Ctrl+N made a new document";
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(pi.hProcess, 200)) << "still running";
    EXPECT_TRUE(IsWindow(found.shell));

    PostMessage(found.shell, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 10000));
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 3);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DeleteFile(log.c_str());
}

} // namespace

BOOL ShellInitInstanceForApp(CWinApp& app) { return ShellInitInstance(app); }

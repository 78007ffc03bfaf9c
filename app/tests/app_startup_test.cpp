// The application object run as its own process, the way the program runs: what the main
// window looks like, which key messages reach the view, and the settings it leaves.
#include <windows.h>
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "app/shell/FrostwellApp.h"
#include "app/view/FrostwellView.h"
#include "base/KeyStore.h"

namespace {

// --- The child process ---------------------------------------------------------------

WNDPROC g_viewProc = nullptr;

void Log(const char* format, ...)
{
    const char* path = getenv("SL_APP_LOG");
    if (path == nullptr)
        return;
    if (FILE* f = fopen(path, "a")) {
        va_list args;
        va_start(args, format);
        vfprintf(f, format, args);
        va_end(args);
        fputc('\n', f);
        fclose(f);
    }
}

// Records every key message the view's window procedure receives.
LRESULT CALLBACK ViewSpy(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP)
        Log("%s %u", msg == WM_KEYDOWN ? "down" : msg == WM_KEYUP ? "up" : "sys", (unsigned)wParam);
    return CallWindowProc(g_viewProc, wnd, msg, wParam, lParam);
}

class SpyApp : public CFrostwellApp
{
public:
    BOOL InitInstance() override
    {
        if (!CFrostwellApp::InitInstance())
            return FALSE;
        CWnd* view = CWnd::FromHandle(::GetDlgItem(m_pMainWnd->m_hWnd, AFX_IDW_PANE_FIRST));
        g_viewProc = (WNDPROC)SetWindowLongPtr(view->m_hWnd, GWLP_WNDPROC, (LONG_PTR)ViewSpy);
        Log("ready");
        return TRUE;
    }
};

TEST(AppChild, Run)
{
    if (!getenv("SL_APP_CHILD"))
        GTEST_SKIP() << "runs as the program's own process";
    static SpyApp app;
    int code = AfxWinMain(GetModuleHandle(nullptr), nullptr, GetCommandLine(), SW_SHOWNORMAL);
    fflush(stdout);
    ExitProcess((UINT)code);
}

// --- The parent --------------------------------------------------------------------------

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    if (FILE* f = fopen(path.c_str(), "r")) {
        char line[128];
        while (fgets(line, sizeof line, f)) {
            std::string s(line);
            while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
                s.pop_back();
            lines.push_back(s);
        }
        fclose(f);
    }
    return lines;
}

struct Windows
{
    DWORD pid;
    HWND main = nullptr;
    HWND splash = nullptr;
};

BOOL CALLBACK FindWindows(HWND wnd, LPARAM param)
{
    auto* found = (Windows*)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != found->pid || !IsWindowVisible(wnd))
        return TRUE;
    char title[128] = {};
    GetWindowTextA(wnd, title, sizeof title);
    RECT r;
    GetWindowRect(wnd, &r);
    if (strcmp(title, "Untitled - Sugarleaf Studio") == 0)
        found->main = wnd;
    else if (r.right - r.left == 640 && r.bottom - r.top == 480)
        found->splash = wnd;
    return TRUE;
}

Windows Find(DWORD pid)
{
    Windows found;
    found.pid = pid;
    EnumWindows(FindWindows, (LPARAM)&found);
    return found;
}

class ProgramProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        m_dir = std::string(base) + "slapp" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_dir.c_str(), nullptr);
        m_log = m_dir + "\\log.txt";
        CopyFileA("english.ini", (m_dir + "\\english.ini").c_str(), FALSE);
    }
    void TearDown() override
    {
        if (m_process.hProcess != nullptr) {
            if (WaitForSingleObject(m_process.hProcess, 0) != WAIT_OBJECT_0)
                TerminateProcess(m_process.hProcess, 3);
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
        for (const char* name : {"log.txt", "english.ini", "ziviz.dat"})
            DeleteFileA((m_dir + "\\" + name).c_str());
        RemoveDirectoryA(m_dir.c_str());
    }
    void Start()
    {
        char exe[MAX_PATH];
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string cmd = std::string("\"") + exe + "\" --gtest_filter=AppChild.Run";
        SetEnvironmentVariableA("SL_APP_CHILD", "1");
        SetEnvironmentVariableA("SL_APP_LOG", m_log.c_str());
        STARTUPINFOA si = {sizeof si};
        BOOL started =
            CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, m_dir.c_str(), &si, &m_process);
        SetEnvironmentVariableA("SL_APP_CHILD", nullptr);
        SetEnvironmentVariableA("SL_APP_LOG", nullptr);
        ASSERT_TRUE(started);
    }
    bool LogHas(const std::string& line)
    {
        for (const std::string& l : ReadLines(m_log))
            if (l == line)
                return true;
        return false;
    }

    std::string m_dir, m_log;
    PROCESS_INFORMATION m_process = {};
};

TEST_F(ProgramProcess, StartsMaximisedKeepsCtrlAwayAndSavesSettingsOnClose)
{
    Start();
    // The splash comes first, then the main window; the start-up timer takes the splash
    // (and its hidden owner) away.
    Windows seen;
    HWND splash = nullptr, owner = nullptr;
    for (int i = 0; i < 400 && (seen = Find(m_process.dwProcessId)).main == nullptr; i++) {
        if (seen.splash != nullptr && splash == nullptr) {
            splash = seen.splash;
            owner = GetWindow(splash, GW_OWNER);
        }
        Sleep(25);
    }
    ASSERT_NE(nullptr, seen.main) << "no window titled \"Untitled - Sugarleaf Studio\"";
    EXPECT_NE(nullptr, splash) << "no splash before the main window";
    for (int i = 0; i < 200 && IsWindow(splash); i++)
        Sleep(25);
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_FALSE(IsWindow(owner));

    HWND frame = seen.main;
    EXPECT_TRUE(IsZoomed(frame));
    EXPECT_EQ(nullptr, GetMenu(frame));
    EXPECT_EQ(0, GetWindowLong(frame, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    HWND view = GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ((LONG)(WS_CHILD | WS_VISIBLE), GetWindowLong(view, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(0, GetWindowLong(view, GWL_EXSTYLE));
    for (int i = 0; i < 200 && !LogHas("ready"); i++)
        Sleep(25);
    ASSERT_TRUE(LogHas("ready"));

    // Key messages taken from the queue: the Ctrl key's own never reach the view.
    const struct
    {
        UINT msg;
        WPARAM key;
    } posted[] = {
        {WM_KEYDOWN, VK_CONTROL}, {WM_KEYUP, VK_CONTROL},      {WM_KEYDOWN, 'A'},
        {WM_KEYUP, 'A'},          {WM_KEYDOWN, VK_CONTROL},    {WM_KEYDOWN, VK_SHIFT},
        {WM_KEYUP, VK_CONTROL},   {WM_SYSKEYDOWN, VK_CONTROL}, // Alt held: not the plain Ctrl message
        {WM_KEYUP, VK_SHIFT},
    };
    for (const auto& p : posted)
        PostMessage(view, p.msg, p.key, 1);
    for (int i = 0; i < 200 && !LogHas("up 16"); i++)
        Sleep(25);
    std::vector<std::string> keys;
    for (const std::string& l : ReadLines(m_log))
        if (l != "ready")
            keys.push_back(l);
    const std::vector<std::string> expected = {"down 65", "up 65", "down 16", "sys 17", "up 16"};
    EXPECT_EQ(expected, keys);

    // Closing writes the settings: "root" is the folder the program ran in.
    PostMessage(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_process.hProcess, 15000));
    DWORD code = 1;
    GetExitCodeProcess(m_process.hProcess, &code);
    EXPECT_EQ(0u, code);
    CKeyStore saved;
    saved.SetValue("root", m_dir.c_str());
    ASSERT_TRUE(saved.Load("ziviz.dat"));
    char longDir[MAX_PATH];
    GetLongPathNameA(m_dir.c_str(), longDir, MAX_PATH);
    CString root = saved.GetValue("root");
    char longRoot[MAX_PATH];
    GetLongPathNameA(root, longRoot, MAX_PATH);
    EXPECT_STRCASEEQ(longDir, longRoot);
    for (const char* key : {"metric", "hide_wizard_help", "hide_bubble_help", "4600"})
        EXPECT_STREQ("1", saved.GetValue(key)) << key;
}

} // namespace

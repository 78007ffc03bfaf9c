#include "app/browser/tests/window/BrowserHost.h"

#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"

#include <stdio.h>

BEGIN_MESSAGE_MAP(CBrowserTestHost, CWnd)
    ON_MESSAGE(WM_FILE_PICKED, &CBrowserTestHost::OnPicked)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CBrowserTestHost::~CBrowserTestHost()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

bool CBrowserTestHost::Open(const PaneOptions& options, int width, int height)
{
    EnsureTestApp();
    // Without clipping its children: the host's white shows where the pane paints nothing.
    const DWORD style = WS_POPUP | WS_CAPTION;
    RECT frame = {0, 0, width, height};
    ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOPMOST);
    if (!CreateEx(WS_EX_TOPMOST,
                  AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                      (HBRUSH)::GetStockObject(WHITE_BRUSH)),
                  "File browser", style, 40, 40, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr))
        return false;
    pane.SetFolder(options.folder);
    pane.SetSaveMode(options.save);
    pane.SetNotifyParent(options.notify);
    pane.SetThumbnailMode(options.thumbnailMode);
    pane.SetThumbnailSize(100, 100);
    pane.SetDocument(options.doc);
    pane.FileKind = options.fileKind;
    pane.ShowControls = options.showControls;
    CRect client;
    GetClientRect(&client);
    if (!pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, client, this, 1005))
        return false;
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    UpdateWindow();
    return true;
}

void CBrowserTestHost::SetClientSize(int width, int height)
{
    RECT frame = {0, 0, width, height};
    ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CBrowserTestHost::WaitForList(DWORD ms)
{
    return PumpUntil([&] { return !pane.GetList().GetWorker().IsAlive(); }, ms);
}

LRESULT CBrowserTestHost::OnPicked(WPARAM, LPARAM)
{
    ++picked;
    return 0;
}

void CBrowserTestHost::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (pane.GetSafeHwnd() != nullptr)
        pane.MoveWindow(0, 0, cx, cy);
}

bool RunUnixShell(const char* command)
{
    // Wine starts a Unix program without waiting for it: the shell leaves its exit status
    // in a file once it ended.
    static int count = 0;
    char done[128];
    snprintf(done, sizeof done, "/tmp/sl_browser_sh_%lu_%d", ::GetCurrentProcessId(), ++count);
    char line[1200];
    snprintf(line, sizeof line, "Z:\\bin\\sh -c \"%s; echo $? > %s.part && mv %s.part %s.done\"", command, done, done,
             done);
    STARTUPINFO si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcess(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // The shell is a Unix program: Wine fills in no process information for it, and the
    // handles there are leftovers that may be this process's own, so none is closed.
    char status[MAX_PATH];
    snprintf(status, sizeof status, "Z:%s.done", done);
    for (char* c = status; *c != 0; ++c)
        if (*c == '/')
            *c = '\\';
    if (!PumpUntil([&] { return ::GetFileAttributes(status) != INVALID_FILE_ATTRIBUTES; }, 10000))
        return false;
    int code = 1;
    if (FILE* f = fopen(status, "r")) {
        if (fscanf(f, "%d", &code) != 1)
            code = 1;
        fclose(f);
    }
    ::DeleteFile(status);
    return code == 0;
}

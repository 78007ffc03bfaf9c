#include "app/shell/SplashThread.h"

IMPLEMENT_DYNCREATE(CSplashThread, CWinThread)

CSplashThread::CSplashThread() : m_ready(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

CSplashThread::~CSplashThread()
{
    if (m_ready != nullptr)
        CloseHandle(m_ready);
}

BOOL CSplashThread::InitInstance()
{
    // Shares focus and key state with the UI thread.
    if (CWinApp* app = AfxGetApp())
        AttachThreadInput(GetCurrentThreadId(), app->m_nThreadID, TRUE);
    BOOL created = m_splash.Create();
    if (created)
        m_pMainWnd = &m_splash;
    SetEvent(m_ready);
    // Without a window the thread ends at once rather than wait for a close that
    // cannot come.
    return created;
}

BOOL CSplashThread::WaitForSplash(DWORD timeoutMs)
{
    HANDLE waits[2] = {m_ready, m_hThread};
    DWORD count = m_hThread != nullptr ? 2 : 1;
    if (WaitForMultipleObjects(count, waits, FALSE, timeoutMs) == WAIT_TIMEOUT)
        return FALSE;
    HWND splash = m_splash.GetSafeHwnd();
    return WaitForSingleObject(m_ready, 0) == WAIT_OBJECT_0 && splash != nullptr && ::IsWindow(splash);
}

void CSplashThread::HideSplash(DWORD timeoutMs)
{
    if (!WaitForSplash(timeoutMs))
        return;
    m_splash.AllowClose();
    ::SendMessage(m_splash.GetSafeHwnd(), WM_CLOSE, 0, 0);
}

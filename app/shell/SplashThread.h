// The splash thread: a user-interface thread of its own that shows the splash window
// while the UI thread starts the program, until the view's start-up timer hides it.
#pragma once

#include "fw/fwwin.h"

#include "app/shell/SplashWnd.h"

class CSplashThread : public CWinThread
{
    DECLARE_DYNCREATE(CSplashThread)
public:
    CSplashThread();
    ~CSplashThread() override;

    // The bitmap by resource id (only its low 16 bits count), by the whole id, or from a
    // file.
    void SetBitmap(UINT resourceId) { m_splash.SetBitmapResource((WORD)resourceId); }
    void SetBitmapResource(UINT resourceId) { m_splash.SetBitmapResource(resourceId); }
    void SetBitmapFile(LPCTSTR path) { m_splash.SetBitmapFile(path); }
    BOOL InitInstance() override;

    // On the UI thread: waits (bounded) until the splash thread has made its window or
    // has ended, then lets the window close and closes it.  Nothing when there is none.
    void HideSplash(DWORD timeoutMs = 10000);
    // Waits until the splash thread has made its window (TRUE) or has ended or the time
    // ran out (FALSE).
    BOOL WaitForSplash(DWORD timeoutMs);

    CSplashWnd m_splash;

private:
    HANDLE m_ready; // set once the splash thread has tried to make its window
};

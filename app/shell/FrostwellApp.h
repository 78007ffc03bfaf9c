// The application object: start-up (settings, GDI+, splash, the single-document template
// and the maximised main window), the Ctrl key's own messages kept away from every
// window, and shutdown.
#pragma once

#include "fw/fwwin.h"
#include "base/ComOwner.h"

class CSplashThread;

class CFrostwellApp : public CWinApp
{
    DECLARE_DYNAMIC(CFrostwellApp)
public:
    CFrostwellApp();
    ~CFrostwellApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL OnIdle(LONG lCount) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Closes the splash window (the view's start-up timer).  Bounded; after it the
    // application holds no splash thread any more.
    void HideSplash();
    CSplashThread* GetSplashThread() const { return m_pSplashThread; }

protected:
    void OnUnusedCommand();
    DECLARE_MESSAGE_MAP()

private:
    CSplashThread* m_pSplashThread = nullptr; // owned; null once hidden
    ULONG_PTR m_gdiplusToken = 0;
    ComScope m_com;
};

// The application object when it is a CFrostwellApp, else null.
CFrostwellApp* GetFrostwellApp();

// Whether a message is one of the Ctrl key's own key messages, which the application
// consumes (chords such as Ctrl+S still work: the key state stays current).
BOOL IsCtrlKeyMessage(const MSG& msg);

#include "app/shell/FrostwellApp.h"

#include <gdiplus.h>

#include "model/design/FrostwellDoc.h"
#include "app/view/FrostwellView.h"
#include "app/shell/MainFrame.h"
#include "app/shell/SplashThread.h"
#include "app/files/DesignFileRoad.h"
#include "model/ktb/DocumentFile.h"
#include "base/KeyStore.h"
#include "res/app_res.h"

IMPLEMENT_DYNAMIC(CFrostwellApp, CWinApp)

BEGIN_MESSAGE_MAP(CFrostwellApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
    ON_COMMAND(ID_APP_UNUSED_COMMAND, &CFrostwellApp::OnUnusedCommand)
END_MESSAGE_MAP()

CFrostwellApp::CFrostwellApp() : CWinApp(nullptr) {}

CFrostwellApp::~CFrostwellApp() {}

CFrostwellApp* GetFrostwellApp()
{
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->IsKindOf(RUNTIME_CLASS(CFrostwellApp)) ? static_cast<CFrostwellApp*>(app) : nullptr;
}

BOOL CFrostwellApp::InitInstance()
{
    // COM for the UI thread's whole life; it ends with the application object.
    m_com = EnsureCom();
    AfxEnableControlContainer();

    // Settings: "root" is where the settings files are; "ziviz.dat" holds every setting
    // of the last run and so wins over "security.dat".  Its "root" and data folders may
    // name where the program ran before: the folder it runs from now wins.
    char folder[256] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    SetSetting("root", folder);
    GetKeyStore().Load("security.dat");
    GetKeyStore().Load("ziviz.dat");
    SettleDataFolders(folder);
    SetSetting("4600", "1");
    SetSetting("metric", "1");
    SetSetting("hide_wizard_help", "1");
    SetSetting("hide_bubble_help", "1");

    Enable3dControlsStatic();

    // An open or save on this thread (the command line's open among them) shows its
    // message at once; the home panel's worker hands it back instead.
    SetDesignFileMessageSink(&ShowDesignFileMessage);

    Gdiplus::GdiplusStartupInput gdiplus;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &gdiplus, nullptr);

    m_pSplashThread = static_cast<CSplashThread*>(
        AfxBeginThread(RUNTIME_CLASS(CSplashThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
    if (m_pSplashThread == nullptr)
        return FALSE;
    // The application owns the thread object (it reads it again to hide the splash).
    m_pSplashThread->m_bAutoDelete = FALSE;
    m_pSplashThread->SetBitmap(IDB_SPLASH);
    m_pSplashThread->ResumeThread();
    Sleep(2000);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CFrostwellDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CFrostwellView)));

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    m_nCmdShow = SW_SHOWMAXIMIZED;
    if (!ProcessShellCommand(commandLine))
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int CFrostwellApp::ExitInstance()
{
    // A start-up that failed after the splash came up still takes it down, before GDI+
    // (which the splash paints with) goes.
    HideSplash();
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    return CWinApp::ExitInstance();
}

BOOL CFrostwellApp::OnIdle(LONG) { return FALSE; }

BOOL IsCtrlKeyMessage(const MSG& msg)
{
    return (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_CONTROL;
}

BOOL CFrostwellApp::PreTranslateMessage(MSG* pMsg)
{
    if (IsCtrlKeyMessage(*pMsg))
        return TRUE;
    return CWinApp::PreTranslateMessage(pMsg);
}

void CFrostwellApp::HideSplash()
{
    CSplashThread* splash = m_pSplashThread;
    if (splash == nullptr)
        return;
    m_pSplashThread = nullptr;
    splash->HideSplash();
    // Its window is gone, so the thread ends; a thread that does not end in time keeps
    // its object rather than lose it under its feet.
    if (WaitForSingleObject(splash->m_hThread, 5000) == WAIT_OBJECT_0)
        delete splash;
}

void CFrostwellApp::OnUnusedCommand() {}

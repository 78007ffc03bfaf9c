// The tests' application object.
#include "window_test_app.h"
#include <new>

namespace {
CTestApp theApp;
}

CTestApp& TestApp() { return theApp; }

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_TEST_APP, &CTestApp::OnAppCommand)
END_MESSAGE_MAP()

BOOL CTestApp::InitInstance()
{
    switch (throwInInit) {
    case 1:
        AfxThrowNotSupportedException();
    case 2:
        throw std::bad_alloc();
    case 3:
        throw 3;
    default:
        break;
    }
    if (shellMode)
        return ShellInitInstanceForApp(*this);
    return CWinApp::InitInstance();
}

int CTestApp::DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT)
{
    messages.push_back(lpszPrompt);
    return IDOK;
}

BOOL CTestApp::PreTranslateMessage(MSG* pMsg)
{
    // As the program does: the Ctrl key's own key messages reach no window.
    if (swallowCtrl && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) && pMsg->wParam == VK_CONTROL)
        return TRUE;
    return CWinApp::PreTranslateMessage(pMsg);
}

void CTestApp::OnAppCommand()
{
    if (commandLog)
        commandLog->push_back("app");
}

// The one application object of the layer's tests, with what the tests watch: message
// boxes (recorded, answered at once), commands that reach the application, and the
// Ctrl-key filter of the program's pre-translation.
#pragma once
#include "fw/fwwin.h"
#include "testsupport/Pump.h"
#include <string>
#include <vector>

class CTestApp : public CWinApp
{
public:
    CTestApp() = default;
    BOOL InitInstance() override;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnAppCommand();

    std::vector<std::string> messages; // texts shown through AfxMessageBox
    std::vector<std::string>* commandLog = nullptr;
    bool swallowCtrl = false;
    bool shellMode = false;
    int throwInInit = 0; // 1: a CException, 2: out of memory, 3: anything else
    DECLARE_MESSAGE_MAP()
};

CTestApp& TestApp();
// The single-document shell's start-up (window_shell_test.cpp).
BOOL ShellInitInstanceForApp(CWinApp& app);

// Commands used by the routing tests.
#define ID_TEST_VIEW_AND_DOC 0x8101
#define ID_TEST_DOC 0x8102
#define ID_TEST_FRAME 0x8103
#define ID_TEST_APP 0x8104
#define ID_TEST_NOBODY 0x8105

// Threads and the application object: message loops, worker and user-interface threads,
// WinMain, the application's printer, command-line processing and the message box.
#pragma once
#include "fw/fwwnd.h"
#include "fw/res/fwres.h"
#include <commdlg.h>
#include <vector>

class CDocTemplate;
class CDocument;
class CPrintDialog;

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // Starts the thread (suspended when CREATE_SUSPENDED is in the flags).
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    BOOL SetThreadPriority(int n) { return ::SetThreadPriority(m_hThread, n); }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    operator HANDLE() const { return m_hThread; }
    BOOL PostThreadMessage(UINT m, WPARAM w, LPARAM l) { return ::PostThreadMessage(m_nThreadID, m, w, l); }

    virtual BOOL InitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual int ExitInstance();
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    // Deletes the object when it is auto-delete (called when the thread ends).
    virtual void Delete();

    CWnd* m_pMainWnd = nullptr; // the thread's main window; its destruction ends the loop
    CWnd* m_pActiveWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    MSG m_msgCur = {};
    LPVOID m_pThreadParams = nullptr;
    AFX_THREADPROC m_pfnThreadProc = nullptr;

    DECLARE_MESSAGE_MAP()
};

// Worker thread running pfnThreadProc(pParam), or a user-interface thread of a creatable
// CWinThread class.  Both are auto-delete; with CREATE_SUSPENDED the caller resumes it.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Ends the calling layer thread at once.
void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
CWinThread* AfxGetThread();
BOOL AfxPumpMessage();
BOOL AfxPreTranslateMessage(MSG* pMsg);
void AfxPostQuitMessage(int nExitCode);

// What the command line asks for: a new document or the file named on it.
class CCommandLineInfo : public CObject
{
public:
    CCommandLineInfo() = default;
    ~CCommandLineInfo() override = default;
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };
    int m_nShellCommand = FileNew;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    CString m_strFileName;
};

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG lCount) override;
    // Every message box of the layer goes through here.
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    virtual BOOL SaveAllModified();

    // Documents.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    void CloseAllDocuments(BOOL bEndSession);

    // The 3-D look is always on; kept for callers that ask for it.
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }
    void SetRegistryKey(LPCTSTR) {}
    void LoadStdProfileSettings(UINT = 4) {}

    // The application's printer.
    void SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld = TRUE);
    BOOL GetPrinterDeviceDefaults(PRINTDLG* pPrintDlg);
    BOOL CreatePrinterDC(CDC& dc);
    void UpdatePrinterSelection(BOOL bForceDefaults);
    int DoPrintDialog(CPrintDialog* pPD);

    HICON LoadIcon(UINT nID) const { return ::LoadIcon(FwGetResourceHandle(), MAKEINTRESOURCE(nID)); }
    HICON LoadIcon(LPCTSTR name) const { return ::LoadIcon(FwGetResourceHandle(), name); }
    HICON LoadStandardIcon(LPCTSTR name) const { return ::LoadIcon(nullptr, name); }
    HCURSOR LoadCursor(UINT nID) const { return ::LoadCursor(FwGetResourceHandle(), MAKEINTRESOURCE(nID)); }
    HCURSOR LoadStandardCursor(LPCTSTR name) const { return ::LoadCursor(nullptr, name); }

    // Framework command handlers that an application's map routes to.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();

    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszExeName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;
    std::vector<CDocTemplate*> m_templates;

    DECLARE_MESSAGE_MAP()
private:
    CString m_strAppName;
    CString m_strExeName;
};

CWinApp* AfxGetApp();
// The application's main window, on every thread (set as soon as the first frame exists).
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
LPCTSTR AfxGetAppName();
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// The body of WinMain: the one application object's InitInstance, Run and ExitInstance.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
inline void AfxEnableControlContainer() {}
// Common names for the layer's own texts.
#define AFX_IDS_UNTITLED FW_IDS_UNTITLED
#define AFX_IDP_COMMAND_FAILURE FW_IDP_COMMAND_FAILURE
#define AFX_IDP_FAILED_TO_START_PRINT FW_IDP_FAILED_TO_START_PRINT

// Threads and the application object.  WinMain lives here, beside the application
// object's constructor, so that every program that defines an application links it.
#include "fw/fwwin.h"
#include "fw/fwstate.h"
#include <process.h>
#include <new>

namespace {
CWinApp* g_pApp = nullptr;
}

// ---------------------------------------------------------------------------------------
// CWinThread

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pThreadParams(pParam), m_pfnThreadProc(pfnThreadProc)
{}

CWinThread::~CWinThread()
{
    if (m_hThread && this != g_pApp)
        ::CloseHandle(m_hThread);
    FwThreadState& ts = FwGetThreadState();
    if (ts.pThread == this)
        ts.pThread = nullptr;
}

namespace {

// Runs f inside the barrier; a caught failure is reported and FALSE returned.
template <class F> bool Guarded(F f)
{
    try {
        f();
        return true;
    } catch (CException* e) {
        FwReportException(e);
        e->Delete();
    } catch (const std::bad_alloc&) {
        FwReportOutOfMemory();
    } catch (...) {
        FwReportUnknownException();
    }
    return false;
}

void EndThreadObject(CWinThread* pThread)
{
    FwDeleteTempMaps();
    FwGetThreadState().pThread = nullptr;
    pThread->Delete();
}

unsigned __stdcall ThreadEntry(void* p)
{
    auto* pThread = static_cast<CWinThread*>(p);
    FwGetThreadState().pThread = pThread;
    UINT code = (UINT)-1;
    Guarded([&] {
        if (pThread->m_pfnThreadProc) {
            code = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        } else if (!pThread->InitInstance()) {
            if (pThread->m_pMainWnd && ::IsWindow(pThread->m_pMainWnd->m_hWnd))
                pThread->m_pMainWnd->DestroyWindow();
            code = (UINT)pThread->ExitInstance();
        } else {
            code = (UINT)pThread->Run();
        }
    });
    EndThreadObject(pThread);
    return code;
}

} // namespace

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES sa)
{
    unsigned id = 0;
    m_hThread = (HANDLE)_beginthreadex(sa, nStackSize, ThreadEntry, this, dwCreateFlags | CREATE_SUSPENDED, &id);
    if (!m_hThread)
        return FALSE;
    m_nThreadID = id;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

BOOL CWinThread::InitInstance()
{
    return FALSE; // a user-interface thread class overrides this
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    // Mouse moves without a real move and the caret's blink do not end an idle phase.
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118 /* WM_SYSTIMER */;
}

BOOL CWinThread::OnIdle(LONG)
{
    FwDeleteTempMaps();
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
        m_msgCur = msg;
        return FALSE;
    }
    m_msgCur = msg;
    FwThreadState& ts = FwGetThreadState();
    ++ts.pumpDepth;
    Guarded([&] {
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    });
    --ts.pumpDepth;
    if (ts.pumpDepth == 0)
        FwDeleteTempMaps();
    return TRUE;
}

int CWinThread::Run()
{
    bool idle = true;
    LONG idleCount = 0;
    MSG peek;
    for (;;) {
        while (idle && !::PeekMessage(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            BOOL more = FALSE;
            Guarded([&] { more = OnIdle(idleCount++); });
            if (!more)
                idle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessage(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    CWnd* pMainWnd = m_pMainWnd;
    if (this == g_pApp && !pMainWnd)
        pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(FwGetSafeHwnd(pMainWnd), pMsg, 0))
        return TRUE;
    // A window outside the main window's tree (a modeless popup): the main window's
    // accelerators still apply.
    if (pMainWnd && pMsg->hwnd && pMainWnd->m_hWnd) {
        HWND top = pMsg->hwnd;
        while ((::GetWindowLong(top, GWL_STYLE) & WS_CHILD) && ::GetParent(top))
            top = ::GetParent(top);
        if (top != pMainWnd->m_hWnd && GetWindowThreadProcessId(pMainWnd->m_hWnd, nullptr) == GetCurrentThreadId())
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

int CWinThread::ExitInstance() { return (int)m_msgCur.wParam; }

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfn, LPVOID pParam, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES sa)
{
    auto* pThread = new CWinThread(pfn, pParam);
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, sa)) {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES sa)
{
    if (!pThreadClass || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread)))
        return nullptr;
    auto* pThread = static_cast<CWinThread*>(pThreadClass->CreateObject());
    if (!pThread)
        return nullptr;
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, sa)) {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

void AfxEndThread(UINT nExitCode, BOOL bDelete)
{
    CWinThread* pThread = FwGetThreadState().pThread;
    if (pThread && pThread != g_pApp) {
        if (!bDelete)
            pThread->m_bAutoDelete = FALSE;
        EndThreadObject(pThread);
    }
    _endthreadex(nExitCode);
}

CWinThread* AfxGetThread()
{
    FwThreadState& ts = FwGetThreadState();
    if (ts.pThread)
        return ts.pThread;
    if (g_pApp && g_pApp->m_nThreadID == GetCurrentThreadId())
        return g_pApp;
    return nullptr;
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (CWinThread* pThread = AfxGetThread())
        return pThread->PreTranslateMessage(pMsg);
    return CWnd::WalkPreTranslateTree(nullptr, pMsg, 0);
}

BOOL AfxPumpMessage()
{
    if (CWinThread* pThread = AfxGetThread())
        return pThread->PumpMessage();
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0))
        return FALSE;
    FwThreadState& ts = FwGetThreadState();
    ++ts.pumpDepth;
    Guarded([&] {
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    });
    --ts.pumpDepth;
    return TRUE;
}

void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

// ---------------------------------------------------------------------------------------
// Command line

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL)
{
    // Only a file name counts: the first plain argument opens that file.
    if (!bFlag && m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

// ---------------------------------------------------------------------------------------
// CWinApp

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName)
{
    g_pApp = this;
    m_bAutoDelete = FALSE;
    m_nThreadID = GetCurrentThreadId();
    m_hThread = GetCurrentThread();
    if (lpszAppName) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* t : m_templates)
        delete t;
    m_templates.clear();
    if (m_hDevMode)
        ::GlobalFree(m_hDevMode);
    if (m_hDevNames)
        ::GlobalFree(m_hDevNames);
    if (g_pApp == this)
        g_pApp = nullptr;
    m_hThread = nullptr;
}

BOOL CWinApp::InitApplication()
{
    if (!m_pszAppName) {
        if (!m_strAppName.LoadString(AFX_IDS_APP_TITLE)) {
            char path[MAX_PATH];
            ::GetModuleFileName(nullptr, path, MAX_PATH);
            const char* base = strrchr(path, '\\');
            m_strAppName = base ? base + 1 : path;
            int dot = m_strAppName.ReverseFind('.');
            if (dot > 0)
                m_strAppName = m_strAppName.Left(dot);
        }
        m_pszAppName = m_strAppName;
    }
    if (!m_pszExeName) {
        m_strExeName = m_strAppName;
        m_pszExeName = m_strExeName;
    }
    return TRUE;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run()
{
    if (!m_pMainWnd)
        ::PostQuitMessage(0); // nothing to show: end at once
    return CWinThread::Run();
}

int CWinApp::ExitInstance() { return (int)m_msgCur.wParam; }

BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT)
{
    HWND owner = nullptr;
    if (CWnd* pMain = AfxGetMainWnd())
        owner = ::GetLastActivePopup(pMain->m_hWnd);
    if (!owner)
        owner = ::GetActiveWindow();
    return ::MessageBox(owner, lpszPrompt, AfxGetAppName(), nType | MB_TASKMODAL);
}

BOOL CWinApp::SaveAllModified()
{
    for (CDocTemplate* t : m_templates)
        if (!t->SaveAllModified())
            return FALSE;
    return TRUE;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) { m_templates.push_back(pTemplate); }

POSITION CWinApp::GetFirstDocTemplatePosition() const { return m_templates.empty() ? nullptr : (POSITION)(UINT_PTR)1; }

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    size_t i = (size_t)(UINT_PTR)pos - 1;
    CDocTemplate* t = m_templates[i];
    pos = i + 1 < m_templates.size() ? (POSITION)(UINT_PTR)(i + 2) : nullptr;
    return t;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName)
{
    if (m_templates.empty())
        return nullptr;
    return m_templates.front()->OpenDocumentFile(lpszFileName);
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (CDocTemplate* t : m_templates)
        t->CloseAllDocuments(bEndSession);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    for (int i = 1; i < __argc; ++i) {
        const char* p = __argv[i];
        BOOL flag = (p[0] == '-' || p[0] == '/');
        rCmdInfo.ParseParam(flag ? p + 1 : p, flag, i + 1 == __argc);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, 0, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        return FALSE;
    }
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CFileDialog dlg(TRUE);
    if (dlg.DoModal() != IDOK)
        return;
    OpenDocumentFile(dlg.GetPathName());
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---------------------------------------------------------------------------------------
// The application's printer

void CWinApp::SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld)
{
    if (bFreeOld) {
        if (m_hDevNames && m_hDevNames != hDevNames)
            ::GlobalFree(m_hDevNames);
        if (m_hDevMode && m_hDevMode != hDevMode)
            ::GlobalFree(m_hDevMode);
    }
    m_hDevNames = (HGLOBAL)hDevNames;
    m_hDevMode = (HGLOBAL)hDevMode;
}

void CWinApp::UpdatePrinterSelection(BOOL bForceDefaults)
{
    if (m_hDevNames && !bForceDefaults)
        return;
    PRINTDLG pd = {};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT;
    if (::PrintDlg(&pd)) {
        SelectPrinter(pd.hDevNames, pd.hDevMode);
    } else if (bForceDefaults) {
        SelectPrinter(nullptr, nullptr);
    }
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLG* pPrintDlg)
{
    UpdatePrinterSelection(FALSE);
    if (!m_hDevNames)
        return FALSE;
    pPrintDlg->hDevNames = m_hDevNames;
    pPrintDlg->hDevMode = m_hDevMode;
    return TRUE;
}

BOOL CWinApp::CreatePrinterDC(CDC& dc)
{
    UpdatePrinterSelection(FALSE);
    HDC h = FwCreatePrinterDC(m_hDevNames, m_hDevMode);
    if (!h)
        return FALSE;
    dc.Attach(h);
    dc.m_bPrinting = TRUE;
    return TRUE;
}

int CWinApp::DoPrintDialog(CPrintDialog* pPD)
{
    UpdatePrinterSelection(FALSE);
    // The dialog works on copies of the application's printer: anything that chooses
    // another printer while the dialog is open (freeing the application's handles) must
    // not pull the blocks from under the system dialog or the job that follows.
    pPD->TakeCopiesOf(m_hDevNames, m_hDevMode);
    int result = (int)pPD->DoModal();
    while (result != IDOK && result != IDCANCEL && ::CommDlgExtendedError() == PDERR_DEFAULTDIFFERENT) {
        pPD->TakeCopiesOf(nullptr, pPD->m_pd.hDevMode);
        result = (int)pPD->DoModal();
    }
    // What the person chose becomes the application's printer, as a copy of its own.
    if (result == IDOK && pPD->m_pd.hDevNames)
        SelectPrinter(FwCopyGlobal(pPD->m_pd.hDevNames), FwCopyGlobal(pPD->m_pd.hDevMode));
    return result;
}

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog dlg(TRUE);
    DoPrintDialog(&dlg);
}

// ---------------------------------------------------------------------------------------
// Globals

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd()
{
    if (g_pApp && g_pApp->m_pMainWnd)
        return g_pApp->m_pMainWnd;
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp && g_pApp->m_hInstance)
        return g_pApp->m_hInstance;
    return ::GetModuleHandle(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return FwGetResourceHandle(); }

LPCTSTR AfxGetAppName()
{
    if (g_pApp) {
        if (!g_pApp->m_pszAppName)
            g_pApp->InitApplication();
        return g_pApp->m_pszAppName;
    }
    return "";
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (g_pApp)
        return g_pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBox(::GetActiveWindow(), lpszText, nullptr, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    if (!text.LoadString(nIDPrompt))
        text.Format("%u", nIDPrompt);
    return AfxMessageBox((LPCTSTR)text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = g_pApp;
    if (!pApp)
        return -1;
    int code = -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    pApp->m_nThreadID = GetCurrentThreadId();
    FwGetThreadState().pThread = pApp;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                                ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&icc);
    bool ok = Guarded([&] {
        if (!pApp->InitApplication() || !pApp->InitInstance()) {
            if (pApp->m_pMainWnd && ::IsWindow(pApp->m_pMainWnd->m_hWnd))
                pApp->m_pMainWnd->DestroyWindow();
            code = pApp->ExitInstance();
            return;
        }
        code = pApp->Run();
    });
    if (!ok)
        code = -1;
    FwDeleteTempMaps();
    FwGetThreadState().pThread = nullptr;
    return code;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}

// Dialogs: modal runs through the layer's own loop (so pre-translation works inside
// dialogs), modeless dialogs, data exchange and the common dialogs.
#include "fw/fwwin.h"
#include "fw/fwstate.h"
#include <cerrno>
#include <cfloat>
#include <cstdlib>

namespace {

INT_PTR CALLBACK FwDlgProc(HWND, UINT message, WPARAM, LPARAM)
{
    // The object's map handles everything; the system's dialog procedure does the rest.
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

void InitControlsOnce()
{
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                                    ICC_PROGRESS_CLASS | ICC_USEREX_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

LPCDLGTEMPLATE LoadDialogTemplate(LPCTSTR name)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResource(hInst, name, RT_DIALOG);
    if (!hRes)
        return nullptr;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRes);
    return hGlobal ? (LPCDLGTEMPLATE)::LockResource(hGlobal) : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------
// CDialog

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd)
{}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd) &&
        GetWindowThreadProcessId(m_hWnd, nullptr) == GetCurrentThreadId())
        DestroyWindow();
}

HWND CDialog::PreModal()
{
    HWND hWnd = FwGetSafeHwnd(m_pParentWnd);
    if (!hWnd) {
        if (CWnd* pMain = AfxGetMainWnd())
            if (pMain->m_hWnd && ::IsWindow(pMain->m_hWnd))
                hWnd = ::GetLastActivePopup(pMain->m_hWnd);
        if (!hWnd)
            hWnd = ::GetActiveWindow(); // no main window yet: the thread's active window
    }
    // A child cannot own a popup: its top-level window does.
    while (hWnd && (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    m_hWndTop = hWnd;
    return hWnd;
}

void CDialog::PostModal() { m_hWndTop = nullptr; }

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATE lpTemplate = m_lpDialogTemplate;
    if (!lpTemplate && m_lpszTemplateName)
        lpTemplate = LoadDialogTemplate(m_lpszTemplateName);
    if (!lpTemplate)
        return -1;

    HWND hOwner = PreModal();
    bool enableOwner = false;
    if (hOwner && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        enableOwner = true;
    }
    m_bModal = TRUE;
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hOwner))) {
        if (m_nFlags & WF_CONTINUEMODAL)
            RunModalLoop(MLF_SHOWONIDLE);
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    if (enableOwner)
        ::EnableWindow(hOwner, TRUE);
    if (hOwner && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hOwner);
    if (m_hWnd)
        DestroyWindow();
    PostModal();
    m_bModal = FALSE;
    return m_nModalResult;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    InitControlsOnce();
    AfxHookWindowCreate(this);
    HWND hWnd =
        ::CreateDialogIndirectParam(AfxGetResourceHandle(), lpDialogTemplate, FwGetSafeHwnd(pParentWnd), FwDlgProc, 0);
    if (!AfxUnhookWindowCreate()) {
        if (hWnd)
            ::DestroyWindow(hWnd);
        return FALSE;
    }
    if (!hWnd) {
        if (m_hWnd)
            Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd); }

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = (UINT)(UINT_PTR)lpszTemplateName;
    LPCDLGTEMPLATE lpTemplate = LoadDialogTemplate(lpszTemplateName);
    if (!lpTemplate)
        return FALSE;
    return CreateIndirect(lpTemplate, pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    if (!pParentWnd)
        pParentWnd = AfxGetMainWnd();
    m_bModal = FALSE;
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd);
}

void CDialog::EndDialog(int nResult)
{
    if (m_bModal) {
        EndModalLoop(nResult);
    } else if (m_hWnd) {
        m_nModalResult = nResult;
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return HandleInitDialog(wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    bool key = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    bool mouse = pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST;
    if (!key && !mouse)
        return FALSE;
    return ::IsDialogMessage(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // Plain commands that the dialog does not handle go on to the application.
    UINT nMsg = HIWORD((DWORD)nCode);
    if ((nMsg != 0 && nMsg != WM_COMMAND) || LOWORD((DWORD)nCode) != CN_COMMAND || nID < 0x8000 || nID >= 0xF000)
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------------------
// Data exchange

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    FwThreadState& ts = FwGetThreadState();
    HWND oldLockout = ts.hLockoutNotify;
    ts.hLockoutNotify = m_hWnd; // controls' notifications are not handled meanwhile
    BOOL ok = FALSE;
    try {
        DoDataExchange(&dx);
        ok = TRUE;
    } catch (CUserException* e) {
        e->Delete(); // validation failed; the user was told
    } catch (...) {
        ts.hLockoutNotify = oldLockout;
        throw;
    }
    ts.hLockoutNotify = oldLockout;
    return ok;
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND h = ::GetDlgItem(FwGetSafeHwnd(m_pDlgWnd), nIDC);
    if (!h)
        AfxThrowNotSupportedException();
    m_idLastControl = h;
    return h;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl) {
        ::SetFocus(m_idLastControl);
        char cls[16] = {};
        ::GetClassName(m_idLastControl, cls, sizeof cls);
        if (lstrcmpi(cls, "Edit") == 0)
            ::SendMessage(m_idLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return; // bound once
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(h))
        AfxThrowNotSupportedException();
}

namespace {

CString WindowText(HWND h)
{
    CString s;
    int n = ::GetWindowTextLength(h);
    char* buf = s.GetBuffer(n + 1);
    ::GetWindowText(h, buf, n + 1);
    s.ReleaseBuffer();
    return s;
}

// Sets the text only when it differs: a single-line edit notifies every set.
void SetTextIfChanged(HWND h, LPCTSTR text)
{
    if (WindowText(h) != text)
        ::SetWindowText(h, text);
}

bool ParseLong(const CString& text, long& out, bool isUnsigned)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (!*p)
        return false;
    char* end = nullptr;
    errno = 0;
    if (isUnsigned) {
        if (*p == '-')
            return false;
        out = (long)strtoul(p, &end, 10);
    } else {
        out = strtol(p, &end, 10);
    }
    if (end == p || errno == ERANGE)
        return false; // no digits, or too large to hold
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == 0;
}

bool ParseDouble(const CString& text, double& out)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (!*p)
        return false;
    char* end = nullptr;
    out = strtod(p, &end);
    if (end == p)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == 0;
}

template <class T>
void DDX_TextInteger(CDataExchange* pDX, int nIDC, T& value, bool isUnsigned, long lo, unsigned long hi)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long v = 0;
        if (!ParseLong(WindowText(h), v, isUnsigned) || (!isUnsigned && (v < lo || v > (long)hi)) ||
            (isUnsigned && (unsigned long)v > hi)) {
            AfxMessageBox(FW_IDP_PARSE_INT);
            pDX->Fail();
        }
        value = (T)v;
    } else {
        CString s;
        if (isUnsigned)
            s.Format("%lu", (unsigned long)value);
        else
            s.Format("%ld", (long)value);
        SetTextIfChanged(h, s);
    }
}

template <class T> void DDX_TextReal(CDataExchange* pDX, int nIDC, T& value, int digits)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double v = 0;
        if (!ParseDouble(WindowText(h), v)) {
            AfxMessageBox(FW_IDP_PARSE_REAL);
            pDX->Fail();
        }
        value = (T)v;
    } else {
        CString s;
        s.Format("%.*g", digits, (double)value);
        SetTextIfChanged(h, s);
    }
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(h);
    else
        SetTextIfChanged(h, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    DDX_TextInteger(pDX, nIDC, value, false, LONG_MIN, LONG_MAX);
}
void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    DDX_TextInteger(pDX, nIDC, value, false, LONG_MIN, LONG_MAX);
}
void DDX_Text(CDataExchange* pDX, int nIDC, short& value) { DDX_TextInteger(pDX, nIDC, value, false, -32768, 32767); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { DDX_TextInteger(pDX, nIDC, value, true, 0, 0xFFFFFFFFul); }
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value) { DDX_TextInteger(pDX, nIDC, value, true, 0, 0xFFFFFFFFul); }
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) { DDX_TextInteger(pDX, nIDC, value, true, 0, 255); }
void DDX_Text(CDataExchange* pDX, int nIDC, float& value) { DDX_TextReal(pDX, nIDC, value, FLT_DIG); }
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) { DDX_TextReal(pDX, nIDC, value, DBL_DIG); }

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = (int)::SendMessage(h, BM_GETCHECK, 0, 0);
    } else {
        if (value < 0 || value > 2)
            value = 0;
        ::SendMessage(h, BM_SETCHECK, (WPARAM)value, 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    do {
        if (::SendMessage(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessage(h, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = index;
            } else {
                ::SendMessage(h, BM_SETCHECK, index == value, 0);
            }
            ++index;
        }
        h = ::GetWindow(h, GW_HWNDNEXT);
    } while (h && !(::GetWindowLong(h, GWL_STYLE) & WS_GROUP));
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        if ((::GetWindowLong(h, GWL_STYLE) & 3) == CBS_DROPDOWNLIST) {
            int sel = (int)::SendMessage(h, CB_GETCURSEL, 0, 0);
            value.Empty();
            if (sel != CB_ERR) {
                int n = (int)::SendMessage(h, CB_GETLBTEXTLEN, sel, 0);
                ::SendMessage(h, CB_GETLBTEXT, sel, (LPARAM)value.GetBuffer(n + 1));
                value.ReleaseBuffer();
            }
        } else {
            value = WindowText(h);
        }
    } else {
        if (::SendMessage(h, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value) == CB_ERR)
            SetTextIfChanged(h, value); // ignored by a drop-down list
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessage(h, CB_GETCURSEL, 0, 0);
    else
        ::SendMessage(h, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessage(h, LB_GETCURSEL, 0, 0);
    else
        ::SendMessage(h, LB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int sel = (int)::SendMessage(h, LB_GETCURSEL, 0, 0);
        value.Empty();
        if (sel != LB_ERR) {
            int n = (int)::SendMessage(h, LB_GETTEXTLEN, sel, 0);
            ::SendMessage(h, LB_GETTEXT, sel, (LPARAM)value.GetBuffer(n + 1));
            value.ReleaseBuffer();
        }
    } else {
        ::SendMessage(h, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value);
    }
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessage(h, TBM_GETPOS, 0, 0);
    else
        ::SendMessage(h, TBM_SETPOS, TRUE, value);
}

void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ::GetScrollPos(h, SB_CTL);
    else
        ::SetScrollPos(h, SB_CTL, value, TRUE);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        CString s;
        s.Format("%d - %d", minVal, maxVal);
        AfxMessageBox((LPCTSTR)s, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

// ---------------------------------------------------------------------------------------
// Common dialogs

UINT_PTR CALLBACK FwCommDlgHookProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : 0; }

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)

LRESULT CCommonDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // The system dialog sets itself up first; then the object's own set-up.
        Default();
        return OnInitDialog();
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CCommonDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    Default(); // the system dialog ends itself
}

void CCommonDialog::OnCancel() { Default(); }

template <class F> INT_PTR CCommonDialog::RunSystemDialog(F run)
{
    HWND hOwner = PreModal();
    m_bModal = TRUE;
    AfxHookWindowCreate(this);
    INT_PTR result = run(hOwner);
    AfxUnhookWindowCreate();
    if (m_hWnd)
        Detach();
    PostModal();
    m_bModal = FALSE;
    return result;
}

IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_pd(m_pdActual), m_pdActual()
{
    m_pd.lStructSize = sizeof(PRINTDLG);
    m_pd.Flags = dwFlags | PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    m_pd.lpfnPrintHook = FwCommDlgHookProc;
    m_pd.lpfnSetupHook = FwCommDlgHookProc;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 0xFFFF;
    m_pd.nCopies = 1;
    if (bPrintSetupOnly)
        m_pd.Flags |= PD_PRINTSETUP;
    else
        m_pd.Flags |= PD_RETURNDC;
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDC)
        ::DeleteDC(m_pd.hDC);
    FreeOwnedHandles();
}

void CPrintDialog::FreeOwnedHandles()
{
    if (!m_bOwnsHandles)
        return;
    if (m_pd.hDevNames)
        ::GlobalFree(m_pd.hDevNames);
    if (m_pd.hDevMode)
        ::GlobalFree(m_pd.hDevMode);
    m_pd.hDevNames = nullptr;
    m_pd.hDevMode = nullptr;
    m_bOwnsHandles = FALSE;
}

void CPrintDialog::TakeCopiesOf(HGLOBAL hDevNames, HGLOBAL hDevMode)
{
    HGLOBAL names = FwCopyGlobal(hDevNames);
    HGLOBAL mode = FwCopyGlobal(hDevMode);
    FreeOwnedHandles();
    m_pd.hDevNames = names;
    m_pd.hDevMode = mode;
    m_bOwnsHandles = TRUE;
}

INT_PTR CPrintDialog::DoModal()
{
    if (m_pd.hDC) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    return RunSystemDialog([this](HWND hOwner) -> INT_PTR {
        m_pd.hwndOwner = hOwner;
        return ::PrintDlg(&m_pd) ? IDOK : IDCANCEL;
    });
}

BOOL CPrintDialog::GetDefaults()
{
    PRINTDLG pd = m_pd;
    pd.Flags = PD_RETURNDEFAULT | (m_pd.Flags & PD_RETURNDC);
    pd.hDevMode = nullptr;
    pd.hDevNames = nullptr;
    pd.hDC = nullptr;
    if (!::PrintDlg(&pd))
        return FALSE;
    m_pd.hDevMode = pd.hDevMode;
    m_pd.hDevNames = pd.hDevNames;
    if (m_pd.hDC)
        ::DeleteDC(m_pd.hDC);
    m_pd.hDC = pd.hDC;
    return TRUE;
}

HDC CPrintDialog::CreatePrinterDC()
{
    if (m_pd.hDC)
        ::DeleteDC(m_pd.hDC);
    m_pd.hDC = FwCreatePrinterDC(m_pd.hDevNames, m_pd.hDevMode);
    return m_pd.hDC;
}

int CPrintDialog::GetCopies() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES) {
        if (LPDEVMODE dm = GetDevMode()) {
            int n = dm->dmCopies;
            ::GlobalUnlock(m_pd.hDevMode);
            return n;
        }
    }
    return m_pd.nCopies;
}

LPDEVMODE CPrintDialog::GetDevMode() const { return m_pd.hDevMode ? (LPDEVMODE)::GlobalLock(m_pd.hDevMode) : nullptr; }

namespace {
CString DevNamesField(HGLOBAL h, int which)
{
    CString s;
    if (!h)
        return s;
    auto* dn = (LPDEVNAMES)::GlobalLock(h);
    if (!dn)
        return s;
    WORD off = which == 0 ? dn->wDriverOffset : which == 1 ? dn->wDeviceOffset : dn->wOutputOffset;
    s = (const char*)dn + off;
    ::GlobalUnlock(h);
    return s;
}
} // namespace

CString CPrintDialog::GetDriverName() const { return DevNamesField(m_pd.hDevNames, 0); }
CString CPrintDialog::GetDeviceName() const { return DevNamesField(m_pd.hDevNames, 1); }
CString CPrintDialog::GetPortName() const { return DevNamesField(m_pd.hDevNames, 2); }

IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

COLORREF* PASCAL CColorDialog::GetSavedCustomColors()
{
    static COLORREF colors[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                  0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    return colors;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd), m_cc()
{
    m_cc.lStructSize = sizeof m_cc;
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags | CC_ENABLEHOOK;
    m_cc.lpfnHook = FwCommDlgHookProc;
    m_cc.rgbResult = clrInit;
    if (clrInit)
        m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    return RunSystemDialog([this](HWND hOwner) -> INT_PTR {
        m_cc.hwndOwner = hOwner;
        return ::ChooseColor(&m_cc) ? IDOK : IDCANCEL;
    });
}

IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_ofn(), m_bOpenFileDialog(bOpenFileDialog)
{
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = MAX_PATH;
    if (lpszFileName)
        lstrcpyn(m_szFileName, lpszFileName, MAX_PATH);
    if (lpszDefExt) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    // "Name|*.ext|...||" becomes the system's double-nul separated list.
    CString filter;
    if (lpszFilter)
        filter = lpszFilter;
    else
        filter.LoadString(FW_IDS_ALL_FILES);
    if (!filter.IsEmpty()) {
        m_filter.assign((LPCTSTR)filter);
        for (char& c : m_filter)
            if (c == '|')
                c = 0;
        m_filter.push_back(0);
        m_filter.push_back(0);
        m_ofn.lpstrFilter = m_filter.data();
    }
}

INT_PTR CFileDialog::DoModal()
{
    // The system dialog is used as it is: no object is hooked to it.
    HWND hOwner = PreModal();
    m_ofn.hwndOwner = hOwner;
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileName(&m_ofn) : ::GetSaveFileName(&m_ofn);
    PostModal();
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const { return CString(m_szFileTitle); }

CString CFileDialog::GetFileExt() const
{
    const char* dot = strrchr(m_szFileName, '.');
    const char* slash = strrchr(m_szFileName, '\\');
    if (!dot || (slash && dot < slash))
        return CString();
    return CString(dot + 1);
}

// The window object: handle maps, the creation hook, the one window procedure with its
// exception barrier, message-map dispatch, reflection and pre-translation.
#include "fw/fwwin.h"
#include "fw/fwstate.h"
#include <windowsx.h>
#undef SubclassWindow
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <unordered_map>

// ---------------------------------------------------------------------------------------
// Per-thread state and handle maps

FwThreadState& FwGetThreadState()
{
    thread_local FwThreadState state;
    return state;
}

FwThreadState::~FwThreadState()
{
    for (auto& kv : temps) {
        kv.second->m_hWnd = nullptr;
        delete kv.second;
    }
    temps.clear();
    for (auto& kv : tempMenus)
        delete kv.second;
    tempMenus.clear();
}

namespace {

std::mutex& PermanentLock()
{
    static std::mutex m;
    return m;
}

std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> m;
    return m;
}

} // namespace

HWND FwGetSafeHwnd(const CWnd* pWnd) { return pWnd ? pWnd->m_hWnd : nullptr; }

HWND CWnd::GetSafeHwnd() const
{
    // Callers of the layer ask a null window for its handle; keep the test from being
    // folded away.
    const void* volatile self = this;
    return self ? m_hWnd : nullptr;
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    std::lock_guard<std::mutex> lock(PermanentLock());
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* p = FromHandlePermanent(hWnd))
        return p;
    FwThreadState& ts = FwGetThreadState();
    auto it = ts.temps.find(hWnd);
    if (it != ts.temps.end())
        return it->second;
    CWnd* p = new CWnd;
    p->m_hWnd = hWnd;
    p->m_nFlags |= WF_TEMPORARY;
    ts.temps[hWnd] = p;
    return p;
}

namespace {
// The temporary maps are locked (AfxLockTempMaps) while a loop of its own runs.
bool TempMapsLocked()
{
    AfxLockTempMaps();
    return !AfxUnlockTempMaps(FALSE);
}
} // namespace

void FwDeleteTempMaps()
{
    FwThreadState& ts = FwGetThreadState();
    if (TempMapsLocked())
        return;
    auto temps = std::move(ts.temps);
    ts.temps.clear();
    for (auto& kv : temps) {
        kv.second->m_hWnd = nullptr;
        delete kv.second;
    }
    auto menus = std::move(ts.tempMenus);
    ts.tempMenus.clear();
    for (auto& kv : menus)
        delete kv.second;
    FwDeleteTempObjects();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return FALSE;
    {
        std::lock_guard<std::mutex> lock(PermanentLock());
        PermanentMap()[hWnd] = this;
    }
    // A temporary wrapper of the same window stays until the thread's loop frees the
    // temporaries: the code that got it may still be using it (a dialog's set-up that
    // binds a control it already asked for).
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h) {
        std::lock_guard<std::mutex> lock(PermanentLock());
        auto it = PermanentMap().find(h);
        if (it != PermanentMap().end() && it->second == this)
            PermanentMap().erase(it);
    }
    m_hWnd = nullptr;
    return h;
}

// ---------------------------------------------------------------------------------------
// CCmdTarget

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {
const FwMsgMap* NoBaseMap() { return nullptr; }
} // namespace

const FwMsgMap* CCmdTarget::GetThisMessageMap()
{
    static const FwMsgMapEntry entries[] = {{0, 0, 0, 0, FwSig_end, nullptr}};
    static const FwMsgMap map = {&NoBaseMap, entries};
    return &map;
}

const FwMsgMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const FwMsgMapEntry* FwFindMessageEntry(const FwMsgMap* pMap, UINT nMsg, UINT nCode, UINT nID)
{
    for (; pMap; pMap = pMap->pfnGetBaseMap()) {
        for (const FwMsgMapEntry* e = pMap->lpEntries; e->nSig != FwSig_end; ++e) {
            if (e->nMessage == nMsg && (WORD)e->nCode == (WORD)nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    UINT nMsg = HIWORD((DWORD)nCode);
    WORD code = LOWORD((DWORD)nCode);
    if (nMsg == 0)
        nMsg = WM_COMMAND;
    const FwMsgMapEntry* e = FwFindMessageEntry(GetMessageMap(), nMsg, code, nID);
    if (!e)
        return FALSE;
    if (pHandlerInfo)
        return TRUE; // only asked whether a handler exists
    FW_NOTIFY* pNotify = static_cast<FW_NOTIFY*>(pExtra);
    switch (e->nSig) {
    case FwSig_v_v:
        (this->*e->pfn)();
        return TRUE;
    case FwSig_b_v:
        return (this->*reinterpret_cast<BOOL (CCmdTarget::*)()>(e->pfn))();
    case FwSig_v_u:
        (this->*reinterpret_cast<void (CCmdTarget::*)(UINT)>(e->pfn))(nID);
        return TRUE;
    case FwSig_b_u:
        return (this->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT)>(e->pfn))(nID);
    case FwSig_notify:
        if (!pNotify)
            return FALSE;
        (this->*reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(e->pfn))(pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    case FwSig_notify_b:
        if (!pNotify)
            return FALSE;
        return (this->*reinterpret_cast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(e->pfn))(pNotify->pNMHDR,
                                                                                         pNotify->pResult);
    case FwSig_cmdui:
        if (!pExtra || code != CN_UPDATE_COMMAND_UI)
            return FALSE;
        (this->*reinterpret_cast<void (CCmdTarget::*)(CCmdUI*)>(e->pfn))(static_cast<CCmdUI*>(pExtra));
        return TRUE;
    case FwSig_notify_range:
        if (!pNotify)
            return FALSE;
        (this->*reinterpret_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(e->pfn))(nID, pNotify->pNMHDR,
                                                                                        pNotify->pResult);
        return TRUE;
    default:
        return FALSE;
    }
}

// ---------------------------------------------------------------------------------------
// Barrier reporting

void FwReportException(CException* e)
{
    char text[512];
    if (e->IsKindOf(RUNTIME_CLASS(CUserException)))
        return; // the user cancelled: already told
    if (e->GetErrorMessage(text, sizeof text) && text[0])
        AfxMessageBox(text, MB_ICONEXCLAMATION);
    else
        AfxMessageBox(FW_IDP_INTERNAL_FAILURE, MB_ICONEXCLAMATION);
}

void FwReportOutOfMemory() { AfxMessageBox(FW_IDS_MEMORY_EXCEPTION, MB_ICONEXCLAMATION); }

void FwReportUnknownException() { AfxMessageBox(FW_IDP_INTERNAL_FAILURE, MB_ICONEXCLAMATION); }

// ---------------------------------------------------------------------------------------
// The window procedure

namespace {

// After WM_NCDESTROY: the thread's main window ends the thread's loop; the object lets go
// of the handle and may delete itself.
void NcDestroyCleanup(CWnd* pWnd, HWND hWnd)
{
    if (CWinThread* pThread = AfxGetThread()) {
        if (pThread->m_pMainWnd == pWnd) {
            pThread->m_pMainWnd = nullptr;
            PostQuitMessage(0);
        }
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == pWnd)
        pApp->m_pMainWnd = nullptr;
    if (pWnd->m_nFlags & WF_CONTINUEMODAL)
        pWnd->EndModalLoop(-1);
    WNDPROC cur = (WNDPROC)GetWindowLongPtr(hWnd, GWLP_WNDPROC);
    if (pWnd->m_pfnSuper && cur == FwWndProc)
        SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)pWnd->m_pfnSuper);
    pWnd->Detach();
    pWnd->PostNcDestroy();
}

} // namespace

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    FwThreadState& ts = FwGetThreadState();
    MSG saved = ts.lastSent;
    ts.lastSent.hwnd = hWnd;
    ts.lastSent.message = nMsg;
    ts.lastSent.wParam = wParam;
    ts.lastSent.lParam = lParam;
    LRESULT lResult = 0;
    bool failed = false;
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        failed = true;
        FwReportException(e);
        e->Delete();
    } catch (const std::bad_alloc&) {
        failed = true;
        FwReportOutOfMemory();
    } catch (...) {
        failed = true;
        FwReportUnknownException();
    }
    if (failed) {
        if (nMsg == WM_CREATE)
            lResult = -1;
        else if (nMsg == WM_PAINT)
            ::ValidateRect(hWnd, nullptr);
    }
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd)
        NcDestroyCleanup(pWnd, hWnd);
    ts.lastSent = saved;
    return lResult;
}

LRESULT CALLBACK FwWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

WNDPROC AfxGetAfxWndProc() { return FwWndProc; }

namespace {

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    FwThreadState& ts = FwGetThreadState();
    if (code == HCBT_CREATEWND && ts.pWndInit) {
        HWND hWnd = (HWND)wParam;
        CWnd* pWnd = ts.pWndInit;
        ts.pWndInit = nullptr;
        pWnd->Attach(hWnd);
        // The hook runs inside CreateWindowEx: nothing may unwind through it.  A failed
        // set-up refuses the window, which then never was the object's.
        bool failed = true;
        try {
            pWnd->PreSubclassWindow();
            failed = false;
        } catch (CException* e) {
            FwReportException(e);
            e->Delete();
        } catch (const std::bad_alloc&) {
            FwReportOutOfMemory();
        } catch (...) {
            FwReportUnknownException();
        }
        if (failed) {
            pWnd->Detach();
            ts.pWndInit = pWnd; // so the creator sees that the window never became its
            return 1;
        }
        WNDPROC old = (WNDPROC)GetWindowLongPtr(hWnd, GWLP_WNDPROC);
        if (old != FwWndProc) {
            SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)FwWndProc);
            pWnd->m_pfnSuper = old;
        }
    }
    return CallNextHookEx(ts.hHook, code, wParam, lParam);
}

} // namespace

void AfxHookWindowCreate(CWnd* pWnd)
{
    FwThreadState& ts = FwGetThreadState();
    if (!ts.hHook)
        ts.hHook = SetWindowsHookEx(WH_CBT, CbtFilterHook, nullptr, GetCurrentThreadId());
    ts.pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    FwThreadState& ts = FwGetThreadState();
    if (ts.pWndInit) {
        ts.pWndInit = nullptr;
        return FALSE; // the hook never saw the window
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Window classes

BOOL AfxRegisterClass(WNDCLASS* lpWndClass)
{
    WNDCLASS existing;
    if (GetClassInfo(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing))
        return TRUE;
    return RegisterClass(lpWndClass) != 0;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::mutex m;
    static std::set<std::string> names;
    HINSTANCE hInst = AfxGetInstanceHandle();
    char name[96];
    wsprintf(name, "Fw:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor, (void*)hbrBackground, (void*)hIcon);
    std::lock_guard<std::mutex> lock(m);
    auto it = names.insert(name).first;
    WNDCLASS wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = hInst;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = it->c_str();
    if (!AfxRegisterClass(&wc))
        AfxThrowResourceException();
    return it->c_str();
}

namespace {

LPCTSTR DefaultWndClass()
{
    static const bool registered = [] {
        WNDCLASS wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = FwWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = FW_WND_CLASS;
        return AfxRegisterClass(&wc) != FALSE;
    }();
    (void)registered;
    return FW_WND_CLASS;
}

} // namespace

// ---------------------------------------------------------------------------------------
// CWnd

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::CWnd(HWND hWnd) { m_hWnd = hWnd; }

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        if (::IsWindow(m_hWnd) && GetWindowThreadProcessId(m_hWnd, nullptr) == GetCurrentThreadId())
            ::DestroyWindow(m_hWnd);
        Detach();
    }
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = DefaultWndClass();
    return TRUE;
}

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, FwGetSafeHwnd(pParentWnd), (HMENU)(UINT_PTR)nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, FwGetSafeHwnd(pParentWnd), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    CREATESTRUCT cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (!AfxUnhookWindowCreate()) {
        PostNcDestroy(); // the window never became ours
        return FALSE;
    }
    return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    HWND h = m_hWnd;
    bool permanent = FromHandlePermanent(h) == this;
    BOOL ok = ::DestroyWindow(h);
    if (!permanent)
        m_hWnd = nullptr; // a temporary or plain wrapper
    return ok;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC old = (WNDPROC)SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)FwWndProc);
    if (old != FwWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND h = ::GetDlgItem(FwGetSafeHwnd(pParent), (int)nID);
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper)
        SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    return Detach();
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& m = FwGetThreadState().lastSent;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage() { return &FwGetThreadState().lastSent; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

namespace {

bool IsCtlColor(UINT m) { return m >= WM_CTLCOLORMSGBOX && m <= WM_CTLCOLORSTATIC; }

// The child window a parent's message concerns, for reflection.
HWND ReflectTarget(HWND hParent, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM: {
        auto* p = (LPDRAWITEMSTRUCT)lParam;
        return p->CtlType == ODT_MENU ? nullptr : p->hwndItem;
    }
    case WM_MEASUREITEM: {
        auto* p = (LPMEASUREITEMSTRUCT)lParam;
        return p->CtlType == ODT_MENU ? nullptr : ::GetDlgItem(hParent, (int)p->CtlID);
    }
    case WM_DELETEITEM:
        return ((LPDELETEITEMSTRUCT)lParam)->hwndItem;
    case WM_COMPAREITEM:
        return ((LPCOMPAREITEMSTRUCT)lParam)->hwndItem;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return (HWND)lParam;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY)
            return (HWND)lParam;
        return nullptr;
    default:
        return IsCtlColor(message) ? (HWND)lParam : nullptr;
    }
}

// Reflected messages arrive at the child's map under one key per kind.
UINT MapKey(UINT message)
{
    if (IsCtlColor(message))
        return WM_CTLCOLORSTATIC;
    if (message >= WM_REFLECT_BASE && IsCtlColor(message - WM_REFLECT_BASE))
        return WM_REFLECT_BASE + WM_CTLCOLORSTATIC;
    return message;
}

} // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
        if (pResult)
            *pResult = lResult;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        auto* p = (NMHDR*)lParam;
        if (!p || !p->hwndFrom || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        if (pResult)
            *pResult = lResult;
        return TRUE;
    }

    const FwMsgMapEntry* e = nullptr;
    if (message >= 0xC000 && message <= 0xFFFF) {
        for (const FwMsgMap* pMap = GetMessageMap(); pMap && !e; pMap = pMap->pfnGetBaseMap())
            for (const FwMsgMapEntry* x = pMap->lpEntries; x->nSig != FwSig_end; ++x)
                if (x->nMessage == 0xC000 && *reinterpret_cast<const UINT*>(x->nSig) == message) {
                    e = x;
                    break;
                }
        if (e) {
            lResult = (this->*reinterpret_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(e->pfn))(wParam, lParam);
            if (pResult)
                *pResult = lResult;
            return TRUE;
        }
        return FALSE;
    }
    e = FwFindMessageEntry(GetMessageMap(), MapKey(message), 0, 0);
    if (!e && (message == WM_DRAWITEM || message == WM_MEASUREITEM) && FwMenuOwnerDraw(message, lParam)) {
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    }
    if (!e) {
        // No handler of the parent's own: the child that the message concerns gets it.
        if (message < WM_REFLECT_BASE) {
            if (HWND hChild = ReflectTarget(m_hWnd, message, wParam, lParam)) {
                if (ReflectLastMsg(hChild, &lResult)) {
                    if (pResult)
                        *pResult = lResult;
                    return TRUE;
                }
            }
        }
        return FALSE;
    }

    union
    {
        FW_PMSG pfn;
        void (CWnd::*v_v)();
        int (CWnd::*i_cs)(LPCREATESTRUCT);
        BOOL (CWnd::*b_cs)(LPCREATESTRUCT);
        BOOL (CWnd::*b_dc)(CDC*);
        void (CWnd::*v_uii)(UINT, int, int);
        void (CWnd::*v_ur)(UINT, LPRECT);
        void (CWnd::*v_t)(UINT_PTR);
        void (CWnd::*v_up)(UINT, CPoint);
        BOOL (CWnd::*b_usp)(UINT, short, CPoint);
        void (CWnd::*v_uuu)(UINT, UINT, UINT);
        BOOL (CWnd::*b_wuu)(CWnd*, UINT, UINT);
        void (CWnd::*v_uus)(UINT, UINT, CScrollBar*);
        void (CWnd::*v_uu)(UINT, UINT);
        HBRUSH (CWnd::*h_dwu)(CDC*, CWnd*, UINT);
        HBRUSH (CWnd::*h_du)(CDC*, UINT);
        void (CWnd::*v_idi)(int, LPDRAWITEMSTRUCT);
        void (CWnd::*v_imi)(int, LPMEASUREITEMSTRUCT);
        void (CWnd::*v_w)(CWnd*);
        void (CWnd::*v_bu)(BOOL, UINT);
        void (CWnd::*v_uwb)(UINT, CWnd*, BOOL);
        void (CWnd::*v_b)(BOOL);
        UINT (CWnd::*u_v)();
        void (CWnd::*v_ii)(int, int);
        void (CWnd::*v_wp)(WINDOWPOS*);
        void (CWnd::*v_mm)(MINMAXINFO*);
        LRESULT (CWnd::*l_p)(CPoint);
        void (CWnd::*v_wpt)(CWnd*, CPoint);
        BOOL (CWnd::*b_v)();
        void (CWnd::*v_ul)(UINT, LPARAM);
        int (CWnd::*i_wuu)(CWnd*, UINT, UINT);
        void (CWnd::*v_bd)(BOOL, DWORD);
        void (CWnd::*v_hd)(HDROP);
        void (CWnd::*v_mub)(CMenu*, UINT, BOOL);
        LRESULT (CWnd::*l_wl)(WPARAM, LPARAM);
    } mmf;
    mmf.pfn = e->pfn;
    UINT realMsg = message >= WM_REFLECT_BASE ? message - WM_REFLECT_BASE : message;

    switch (e->nSig) {
    case FwSig_l_wl:
        lResult = (this->*mmf.l_wl)(wParam, lParam);
        break;
    case FwSig_i_create:
        lResult = (this->*mmf.i_cs)((LPCREATESTRUCT)lParam);
        break;
    case FwSig_b_nccreate:
        lResult = (this->*mmf.b_cs)((LPCREATESTRUCT)lParam);
        break;
    case FwSig_v_paint:
        (this->*mmf.v_v)();
        break;
    case FwSig_b_dc: {
        CDC dc;
        dc.Attach((HDC)wParam);
        try {
            lResult = (this->*mmf.b_dc)(&dc);
        } catch (...) {
            dc.Detach();
            throw;
        }
        dc.Detach();
        break;
    }
    case FwSig_v_size:
        (this->*mmf.v_uii)((UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case FwSig_v_sizing:
        (this->*mmf.v_ur)((UINT)wParam, (LPRECT)lParam);
        lResult = TRUE;
        break;
    case FwSig_v_timer:
        (this->*mmf.v_t)((UINT_PTR)wParam);
        break;
    case FwSig_v_mouse:
        (this->*mmf.v_up)((UINT)wParam, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        break;
    case FwSig_b_wheel:
        lResult = (this->*mmf.b_usp)(LOWORD(wParam), (short)HIWORD(wParam),
                                     CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        break;
    case FwSig_v_key:
        (this->*mmf.v_uuu)((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case FwSig_b_setcursor:
        lResult = (this->*mmf.b_wuu)(FromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case FwSig_v_scroll:
        (this->*mmf.v_uus)(LOWORD(wParam), (UINT)(short)HIWORD(wParam), (CScrollBar*)FromHandle((HWND)lParam));
        break;
    case FwSig_v_scroll_r:
        (this->*mmf.v_uu)(LOWORD(wParam), (UINT)(short)HIWORD(wParam));
        break;
    case FwSig_h_ctlcolor:
    case FwSig_h_ctlcolor_r: {
        CDC dc;
        dc.Attach((HDC)wParam);
        HBRUSH hbr = nullptr;
        try {
            if (e->nSig == FwSig_h_ctlcolor)
                hbr = (this->*mmf.h_dwu)(&dc, FromHandle((HWND)lParam), realMsg - WM_CTLCOLORMSGBOX);
            else
                hbr = (this->*mmf.h_du)(&dc, realMsg - WM_CTLCOLORMSGBOX);
        } catch (...) {
            dc.Detach();
            throw;
        }
        dc.Detach();
        if (e->nSig == FwSig_h_ctlcolor_r && !hbr)
            return FALSE; // the control leaves the colours to its parent
        lResult = (LRESULT)hbr;
        break;
    }
    case FwSig_v_drawitem:
        (this->*mmf.v_idi)((int)wParam, (LPDRAWITEMSTRUCT)lParam);
        lResult = TRUE;
        break;
    case FwSig_v_measure:
        (this->*mmf.v_imi)((int)wParam, (LPMEASUREITEMSTRUCT)lParam);
        lResult = TRUE;
        break;
    case FwSig_v_wnd:
        (this->*mmf.v_w)(FromHandle(realMsg == WM_CAPTURECHANGED ? (HWND)lParam : (HWND)wParam));
        break;
    case FwSig_v_showwnd:
        (this->*mmf.v_bu)((BOOL)wParam, (UINT)lParam);
        break;
    case FwSig_v_activate:
        (this->*mmf.v_uwb)(LOWORD(wParam), FromHandle((HWND)lParam), HIWORD(wParam));
        break;
    case FwSig_v_actapp:
        (this->*mmf.v_bd)((BOOL)wParam, (DWORD)lParam);
        break;
    case FwSig_v_b:
        (this->*mmf.v_b)((BOOL)wParam);
        break;
    case FwSig_u_v:
        lResult = (this->*mmf.u_v)();
        break;
    case FwSig_v_move:
        (this->*mmf.v_ii)((short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case FwSig_v_winpos:
        (this->*mmf.v_wp)((WINDOWPOS*)lParam);
        break;
    case FwSig_v_minmax:
        (this->*mmf.v_mm)((MINMAXINFO*)lParam);
        break;
    case FwSig_l_hittest:
        lResult = (this->*mmf.l_p)(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        break;
    case FwSig_v_ctxmenu:
        (this->*mmf.v_wpt)(FromHandle((HWND)wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        break;
    case FwSig_b_v_msg:
        lResult = (this->*mmf.b_v)();
        break;
    case FwSig_v_syscmd:
        (this->*mmf.v_ul)((UINT)wParam, lParam);
        break;
    case FwSig_i_mouseact:
        lResult = (this->*mmf.i_wuu)(FromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case FwSig_v_dropfiles:
        (this->*mmf.v_hd)((HDROP)wParam);
        break;
    case FwSig_v_initmenu:
        (this->*mmf.v_mub)(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), (BOOL)HIWORD(lParam));
        break;
    default:
        return FALSE;
    }
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);
    if (!hCtrl) {
        if (nID == 0)
            return FALSE;
        nCode = CN_COMMAND; // menu or accelerator
    } else {
        // While UpdateData runs, the controls' own notifications are not handled.
        if (FwGetThreadState().hLockoutNotify == m_hWnd)
            return TRUE;
        if (ReflectLastMsg(hCtrl))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, MAKELONG(nCode, WM_COMMAND), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* pNMHDR = (NMHDR*)lParam;
    if (FwGetThreadState().hLockoutNotify == m_hWnd)
        return TRUE;
    if (ReflectLastMsg(pNMHDR->hwndFrom, pResult))
        return TRUE;
    FW_NOTIFY notify = {pResult, pNMHDR};
    return OnCmdMsg((UINT)pNMHDR->idFrom, MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, nullptr);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (!pWnd)
        return FALSE;
    return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& m = FwGetThreadState().lastSent;
    return OnChildNotify(m.message, m.wParam, m.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND: {
        int nCode = HIWORD(wParam);
        if (CCmdTarget::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        auto* pNMHDR = (NMHDR*)lParam;
        LRESULT dummy = 0;
        FW_NOTIFY notify = {pResult ? pResult : &dummy, pNMHDR};
        return CCmdTarget::OnCmdMsg(0, MAKELONG(pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    default:
        if (IsCtlColor(message))
            return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
        return FALSE;
    }
}

// Base handlers that a derived map may call: each gives the child its reflected message
// first, then default processing.
void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar && ReflectLastMsg(FwGetSafeHwnd((CWnd*)pScrollBar)))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar && ReflectLastMsg(FwGetSafeHwnd((CWnd*)pScrollBar)))
        return;
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult = 0;
    if (pWnd && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lp)
{
    if (lp->CtlType == ODT_MENU ? FwMenuOwnerDraw(WM_DRAWITEM, (LPARAM)lp) : ReflectLastMsg(lp->hwndItem))
        return;
    Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lp)
{
    if (lp->CtlType == ODT_MENU ? FwMenuOwnerDraw(WM_MEASUREITEM, (LPARAM)lp)
                                : ReflectLastMsg(::GetDlgItem(m_hWnd, (int)lp->CtlID)))
        return;
    Default();
}

void CWnd::OnNcDestroy() { Default(); }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg, int)
{
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* pWnd = FromHandlePermanent(h);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (h == hWndStop)
            break;
    }
    return FALSE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    for (HWND h = ::GetTopWindow(m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            if (CWnd* p = FromHandlePermanent(h))
                AfxCallWndProc(p, h, message, wParam, lParam);
        } else {
            ::SendMessage(h, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(h)) {
            CWnd child(h);
            child.SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
            child.m_hWnd = nullptr;
        }
    }
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND h = m_hWnd;
    for (HWND p; (p = ::GetParent(h)) != nullptr && (::GetWindowLong(h, GWL_STYLE) & WS_CHILD);)
        h = p;
    return FromHandle(h);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        CWnd* p = FromHandlePermanent(h);
        if (p && p->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(p);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CWnd* p = FromHandlePermanent(m_hWnd);
    CFrameWnd* frame = (p && p->IsKindOf(RUNTIME_CLASS(CFrameWnd))) ? static_cast<CFrameWnd*>(p) : GetParentFrame();
    while (frame) {
        CFrameWnd* up = frame->GetParentFrame();
        if (!up)
            break;
        frame = up;
    }
    return frame;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    for (HWND h = ::GetTopWindow(m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(h) == nID) {
            CWnd* p = bOnlyPerm ? FromHandlePermanent(h) : FromHandle(h);
            if (p)
                return p;
        }
        CWnd child(h);
        CWnd* found = child.GetDescendantWindow(nID, bOnlyPerm);
        child.m_hWnd = nullptr;
        if (found)
            return found;
    }
    return nullptr;
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT)
{
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, GetExStyle());
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD style = GetStyle();
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongPtr(m_hWnd, GWL_STYLE, (LONG_PTR)newStyle);
    if (nFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD style = GetExStyle();
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongPtr(m_hWnd, GWL_EXSTYLE, (LONG_PTR)newStyle);
    if (nFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase)
{
    ::InvalidateRgn(m_hWnd, pRgn ? (HRGN)pRgn->GetSafeHandle() : nullptr, bErase);
}

BOOL CWnd::RedrawWindow(LPCRECT r, CRgn* pRgn, UINT flags)
{
    return ::RedrawWindow(m_hWnd, r, pRgn ? (HRGN)pRgn->GetSafeHandle() : nullptr, flags);
}

void CWnd::ClientToScreen(LPRECT r) const { ::MapWindowPoints(m_hWnd, nullptr, (LPPOINT)r, 2); }

void CWnd::ScreenToClient(LPRECT r) const { ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)r, 2); }

BOOL CWnd::SetWindowPos(const CWnd* pAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    // The pseudo windows wndTop etc. are passed as their handle values.
    HWND after = (HWND)pAfter;
    if (pAfter != (const CWnd*)HWND_TOP && pAfter != (const CWnd*)HWND_BOTTOM && pAfter != (const CWnd*)HWND_TOPMOST &&
        pAfter != (const CWnd*)HWND_NOTOPMOST)
        after = FwGetSafeHwnd(pAfter);
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, nFlags);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    RECT rc, area;
    ::GetWindowRect(m_hWnd, &rc);
    HWND hCenter = pAlternateOwner ? pAlternateOwner->m_hWnd : nullptr;
    if (!hCenter && (GetStyle() & WS_CHILD))
        hCenter = ::GetParent(m_hWnd);
    else if (!hCenter)
        hCenter = ::GetWindow(m_hWnd, GW_OWNER);
    if (hCenter && (GetStyle() & WS_CHILD)) {
        ::GetClientRect(hCenter, &area);
        ::MapWindowPoints(::GetParent(m_hWnd), nullptr, (LPPOINT)&rc, 2);
        RECT pr = area;
        ::MapWindowPoints(hCenter, ::GetParent(m_hWnd), (LPPOINT)&pr, 2);
        area = pr;
        ::GetWindowRect(m_hWnd, &rc);
        ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), (LPPOINT)&rc, 2);
    } else if (hCenter && ::IsWindowVisible(hCenter) && !::IsIconic(hCenter)) {
        ::GetWindowRect(hCenter, &area);
    } else {
        ::SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
    }
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = (area.left + area.right - w) / 2;
    int y = (area.top + area.bottom - h) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::GetWindowText(CString& s) const
{
    int n = ::GetWindowTextLength(m_hWnd);
    char* buf = s.GetBuffer(n + 1);
    ::GetWindowText(m_hWnd, buf, n + 1);
    s.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& s) const
{
    s.Empty();
    HWND h = ::GetDlgItem(m_hWnd, nID);
    if (!h)
        return 0;
    int n = ::GetWindowTextLength(h);
    char* buf = s.GetBuffer(n + 1);
    ::GetWindowText(h, buf, n + 1);
    s.ReleaseBuffer();
    return s.GetLength();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, (WPARAM)(pFont ? pFont->GetSafeHandle() : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const
{
    HFONT h = (HFONT)SendMessage(WM_GETFONT);
    return h ? CFont::FromHandle(h) : nullptr;
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }

CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()) : 0; }

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->GetSafeHmenu() : nullptr); }

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT nType)
{
    if (!caption)
        caption = AfxGetAppName();
    return ::MessageBox(m_hWnd, text, caption, nType);
}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    ModifyStyleEx(bAccept ? 0 : WS_EX_ACCEPTFILES, bAccept ? WS_EX_ACCEPTFILES : 0);
}

// ---------------------------------------------------------------------------------------
// Modal loop

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessage(m_hWnd, WM_NULL, 0, 0); // wake the loop
    }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
    HWND hWnd = m_hWnd;
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    // Shown once, before the first message: waiting for an idle queue could let a timer
    // or posted message end the run before the window was ever seen.
    if ((dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE)) {
        ::ShowWindow(hWnd, SW_SHOWNORMAL);
        ::UpdateWindow(hWnd);
    }
    while (ContinueModal()) {
        if (!AfxPumpMessage()) {
            ::PostQuitMessage(0);
            break;
        }
        if (!::IsWindow(hWnd))
            break;
    }
    if (::IsWindow(hWnd))
        m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

// Windows: command targets, the window object with its message map, handle maps and the
// layer's single window procedure.
#pragma once
#include "fw/fw.h"
#include "fw/fwmsg.h"

class CWinThread;
class CWinApp;
class CFrameWnd;
class CMenu;

// Command targets: objects with a message map that commands are routed through.
class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // nCode is MAKELONG(notification code, WM_COMMAND or WM_NOTIFY [+ WM_REFLECT_BASE]);
    // pExtra is the NMHDR/LRESULT pair of a notification.  TRUE when a handler ran (and,
    // for the _EX forms, said it handled the command).
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

    static const FwMsgMap* GetThisMessageMap();

protected:
    virtual const FwMsgMap* GetMessageMap() const;
    friend class CWnd;
};

// Extra data of a WM_NOTIFY dispatched through OnCmdMsg.
struct FW_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Finds the map entry of a message (message, code, id) in a chain of maps.
const FwMsgMapEntry* FwFindMessageEntry(const FwMsgMap* pMap, UINT nMsg, UINT nCode, UINT nID);

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    explicit CWnd(HWND hWnd);
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return GetSafeHwnd(); }
    // Safe on a null object pointer, as callers of the layer expect.
    HWND GetSafeHwnd() const;
    BOOL operator==(const CWnd& w) const { return w.m_hWnd == m_hWnd; }
    BOOL operator!=(const CWnd& w) const { return w.m_hWnd != m_hWnd; }

    // Handle maps: permanent objects (process-wide) and temporary wrappers (per thread,
    // freed after the outermost message handler of the thread returns).
    static CWnd* PASCAL FromHandle(HWND hWnd);
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Creation.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                          int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();

    // Message handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
    LRESULT Default();
    static const MSG* PASCAL GetCurrentMessage();
    BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) { return WalkPreTranslateTree(hWndStop, pMsg, 0); }
    static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg, int);
    BOOL ExecuteDlgInit(LPCTSTR) { return TRUE; }
    // Sends a message to every descendant (bDeep) or to the direct children.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetTopLevelParent() const;
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = 0);

    // Thin wrappers.
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessage(m_hWnd, m, w, l); }
    BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessage(m_hWnd, m, w, l); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtr(m_hWnd, GWLP_ID, nID); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* p) { return FromHandle(::SetParent(m_hWnd, FwGetSafeHwnd(p))); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    CWnd*(GetNextWindow)(UINT nFlag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    BOOL IsChild(const CWnd* p) const { return ::IsChild(m_hWnd, FwGetSafeHwnd(p)); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL b = TRUE) { return ::EnableWindow(m_hWnd, b); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT r, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, r, bErase); }
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT r) { ::ValidateRect(m_hWnd, r); }
    BOOL RedrawWindow(LPCRECT r = nullptr, CRgn* pRgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void GetClientRect(LPRECT r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(LPRECT r) const { ::GetWindowRect(m_hWnd, r); }
    void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(LPRECT r) const;
    void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(LPRECT r) const;
    void MapWindowPoints(CWnd* pTo, LPPOINT p, UINT n) const { ::MapWindowPoints(m_hWnd, FwGetSafeHwnd(pTo), p, n); }
    void MapWindowPoints(CWnd* pTo, LPRECT r) const { ::MapWindowPoints(m_hWnd, FwGetSafeHwnd(pTo), (LPPOINT)r, 2); }
    void MoveWindow(int x, int y, int w, int h, BOOL bRepaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, bRepaint); }
    void MoveWindow(LPCRECT r, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pAfter, int x, int y, int cx, int cy, UINT nFlags);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* PASCAL GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }
    static CWnd* PASCAL GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* PASCAL FindWindow(LPCTSTR cls, LPCTSTR name) { return FromHandle(::FindWindow(cls, name)); }
    static CWnd* PASCAL WindowFromPoint(POINT pt) { return FromHandle(::WindowFromPoint(pt)); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    void SetWindowText(LPCTSTR s) { ::SetWindowText(m_hWnd, s); }
    int GetWindowText(LPTSTR s, int n) const { return ::GetWindowText(m_hWnd, s, n); }
    void GetWindowText(CString& s) const;
    int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
    void SetDlgItemText(int nID, LPCTSTR s) { ::SetDlgItemText(m_hWnd, nID, s); }
    int GetDlgItemText(int nID, CString& s) const;
    int GetDlgItemText(int nID, LPTSTR s, int n) const { return (int)::GetDlgItemText(m_hWnd, nID, s, n); }
    void SetDlgItemInt(int nID, UINT v, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, v, bSigned); }
    UINT GetDlgItemInt(int nID, BOOL* ok = nullptr, BOOL bSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, nID, ok, bSigned);
    }
    void CheckDlgButton(int nID, UINT n) { ::CheckDlgButton(m_hWnd, nID, n); }
    UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }
    void CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }
    LRESULT SendDlgItemMessage(int nID, UINT m, WPARAM w = 0, LPARAM l = 0) const
    {
        return ::SendDlgItemMessage(m_hWnd, nID, m, w, l);
    }
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    UINT_PTR SetTimer(UINT_PTR nID, UINT nElapse, TIMERPROC pfn = nullptr)
    {
        return ::SetTimer(m_hWnd, nID, nElapse, pfn);
    }
    BOOL KillTimer(UINT_PTR nID) { return ::KillTimer(m_hWnd, nID); }
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    HMENU GetSafeMenu() const { return ::GetMenu(m_hWnd); }
    HICON SetIcon(HICON h, BOOL bBig) { return (HICON)SendMessage(WM_SETICON, bBig, (LPARAM)h); }
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
    int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
    void SetScrollRange(int nBar, int nMin, int nMax, BOOL bRedraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, nBar, nMin, nMax, bRedraw);
    }
    void GetScrollRange(int nBar, LPINT pMin, LPINT pMax) const { ::GetScrollRange(m_hWnd, nBar, pMin, pMax); }
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO p, BOOL bRedraw = TRUE)
    {
        ::SetScrollInfo(m_hWnd, nBar, p, bRedraw);
        return TRUE;
    }
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO p, UINT nMask = SIF_ALL) const
    {
        p->cbSize = sizeof(*p);
        p->fMask = nMask;
        return ::GetScrollInfo(m_hWnd, nBar, p);
    }
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }
    int SetWindowRgn(HRGN h, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, h, bRedraw); }
    BOOL IsWindow() const { return ::IsWindow(GetSafeHwnd()); }
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    CWnd* ChildWindowFromPoint(POINT pt) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, pt)); }
    int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT nType = MB_OK);
    void DragAcceptFiles(BOOL bAccept = TRUE);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(class CDataExchange* pDX);

    // Modal loops (dialogs, and any window that wants one).
    virtual int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // Default message handlers (the base class versions give default processing).
    int OnCreate(LPCREATESTRUCT) { return (int)Default(); }
    BOOL OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
    void OnDestroy() { Default(); }
    void OnNcDestroy();
    void OnPaint() { Default(); }
    void OnNcPaint() { Default(); }
    void OnClose() { Default(); }
    void OnMouseLeave() { Default(); }
    void OnSysColorChange() { Default(); }
    void OnCancelMode() { Default(); }
    BOOL OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnSizing(UINT, LPRECT) { Default(); }
    void OnMove(int, int) { Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnLButtonDblClk(UINT, CPoint) { Default(); }
    void OnRButtonDown(UINT, CPoint) { Default(); }
    void OnRButtonUp(UINT, CPoint) { Default(); }
    void OnRButtonDblClk(UINT, CPoint) { Default(); }
    void OnMButtonDown(UINT, CPoint) { Default(); }
    void OnMButtonUp(UINT, CPoint) { Default(); }
    BOOL OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnKeyUp(UINT, UINT, UINT) { Default(); }
    void OnChar(UINT, UINT, UINT) { Default(); }
    void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
    void OnHScroll(UINT, UINT, CScrollBar* pScrollBar);
    void OnVScroll(UINT, UINT, CScrollBar* pScrollBar);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    void OnSetFocus(CWnd*) { Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    void OnCaptureChanged(CWnd*) { Default(); }
    void OnPaletteChanged(CWnd*) { Default(); }
    BOOL OnQueryNewPalette() { return (BOOL)Default(); }
    void OnShowWindow(BOOL, UINT) { Default(); }
    void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    void OnActivateApp(BOOL, DWORD) { Default(); }
    void OnEnable(BOOL) { Default(); }
    UINT OnGetDlgCode() { return (UINT)Default(); }
    void OnWindowPosChanged(WINDOWPOS*) { Default(); }
    void OnWindowPosChanging(WINDOWPOS*) { Default(); }
    void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    LRESULT OnNcHitTest(CPoint) { return Default(); }
    void OnContextMenu(CWnd*, CPoint) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    int OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
    void OnDropFiles(HDROP) { Default(); }
    void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
    // Reflected forms used by controls through ON_WM_*_REFLECT.
    HBRUSH CtlColor(CDC*, UINT) { return nullptr; }
    void HScroll(UINT, UINT) {}
    void VScroll(UINT, UINT) {}

    WNDPROC m_pfnSuper = nullptr; // the window's previous procedure (subclassed windows)
    UINT m_nFlags = 0;
    int m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()
protected:
    virtual WNDPROC* GetSuperWndProcAddr() { return &m_pfnSuper; }
    friend LRESULT CALLBACK FwWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CWinThread;
};

// Window flags (m_nFlags).
#define WF_CONTINUEMODAL 0x0001
#define WF_MODALLOOP 0x0002
#define WF_TEMPORARY 0x0004
#define WF_MODALDISABLE 0x0008

// Modal loop flags.
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

// The layer's one window procedure and its creation hook.
LRESULT CALLBACK FwWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC AfxGetAfxWndProc();
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();
// Delivers a message to a window object inside the exception barrier.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0);
// Reports a failure caught by a barrier (CException*, out of memory, anything else).
void FwReportException(CException* e);
void FwReportOutOfMemory();
void FwReportUnknownException();

// Window classes.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
BOOL AfxRegisterClass(WNDCLASS* lpWndClass);
#define FW_WND_CLASS "FwWnd"

// Frees this thread's temporary wrappers (called between messages by the outer loops).
void FwDeleteTempMaps();

// The HWND behind a window object (also used by the device-context classes).
HWND FwGetSafeHwnd(const CWnd* pWnd);

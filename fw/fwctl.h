// Thin control wrappers: each call is a message to the control, so they work from any
// thread.  Owner-drawn controls get their reflected draw requests as virtual calls.
#pragma once
#include "fw/fwwnd.h"
#include <commctrl.h>

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;
    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT nID);
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
    void SetState(BOOL b) { SendMessage(BM_SETSTATE, b); }
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int n) { SendMessage(BM_SETCHECK, (WPARAM)n); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT n, BOOL bRedraw = TRUE) { SendMessage(BM_SETSTYLE, n, bRedraw); }
    HBITMAP SetBitmap(HBITMAP h) { return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)h); }
    HICON SetIcon(HICON h) { return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)h); }
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;
    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT nID = 0xFFFF);
    HBITMAP SetBitmap(HBITMAP h) { return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)h); }
    HBITMAP GetBitmap() const { return (HBITMAP)SendMessage(STM_GETIMAGE, IMAGE_BITMAP); }
    HICON SetIcon(HICON h) { return (HICON)SendMessage(STM_SETICON, (WPARAM)h); }
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID);
    void SetSel(int start, int end, BOOL bNoScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void ReplaceSel(LPCTSTR text, BOOL bCanUndo = FALSE) { SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)text); }
    void LimitText(int n = 0) { SendMessage(EM_LIMITTEXT, (WPARAM)n); }
    void SetLimitText(UINT n) { SendMessage(EM_SETLIMITTEXT, n); }
    BOOL SetReadOnly(BOOL b = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, b); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL b = TRUE) { SendMessage(EM_SETMODIFY, b); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }
    void SetPasswordChar(char c) { SendMessage(EM_SETPASSWORDCHAR, (WPARAM)(BYTE)c); }
    void SetMargins(UINT left, UINT right)
    {
        SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(left, right));
    }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO); }
};

class CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID);
    int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
    int SetCurSel(int n) { return (int)SendMessage(LB_SETCURSEL, (WPARAM)n); }
    int GetSel(int n) const { return (int)SendMessage(LB_GETSEL, (WPARAM)n); }
    int SetSel(int n, BOOL b = TRUE) { return (int)SendMessage(LB_SETSEL, b, n); }
    int GetSelCount() const { return (int)SendMessage(LB_GETSELCOUNT); }
    int GetTopIndex() const { return (int)SendMessage(LB_GETTOPINDEX); }
    int SetTopIndex(int n) { return (int)SendMessage(LB_SETTOPINDEX, (WPARAM)n); }
    DWORD_PTR GetItemData(int n) const { return (DWORD_PTR)SendMessage(LB_GETITEMDATA, (WPARAM)n); }
    int SetItemData(int n, DWORD_PTR d) { return (int)SendMessage(LB_SETITEMDATA, (WPARAM)n, (LPARAM)d); }
    void* GetItemDataPtr(int n) const { return (void*)GetItemData(n); }
    int SetItemDataPtr(int n, void* p) { return SetItemData(n, (DWORD_PTR)p); }
    int GetItemRect(int n, LPRECT r) const { return (int)SendMessage(LB_GETITEMRECT, (WPARAM)n, (LPARAM)r); }
    int GetText(int n, LPTSTR buf) const { return (int)SendMessage(LB_GETTEXT, (WPARAM)n, (LPARAM)buf); }
    void GetText(int n, CString& s) const;
    int GetTextLen(int n) const { return (int)SendMessage(LB_GETTEXTLEN, (WPARAM)n); }
    int SetItemHeight(int n, UINT h) { return (int)SendMessage(LB_SETITEMHEIGHT, (WPARAM)n, MAKELONG(h, 0)); }
    int GetItemHeight(int n) const { return (int)SendMessage(LB_GETITEMHEIGHT, (WPARAM)n); }
    int AddString(LPCTSTR s) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)s); }
    int DeleteString(UINT n) { return (int)SendMessage(LB_DELETESTRING, n); }
    int InsertString(int n, LPCTSTR s) { return (int)SendMessage(LB_INSERTSTRING, (WPARAM)n, (LPARAM)s); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int FindString(int start, LPCTSTR s) const { return (int)SendMessage(LB_FINDSTRING, (WPARAM)start, (LPARAM)s); }
    int FindStringExact(int start, LPCTSTR s) const
    {
        return (int)SendMessage(LB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)s);
    }
    int SelectString(int start, LPCTSTR s) { return (int)SendMessage(LB_SELECTSTRING, (WPARAM)start, (LPARAM)s); }
    virtual void DrawItem(LPDRAWITEMSTRUCT);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT);
    virtual void DeleteItem(LPDELETEITEMSTRUCT);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID);
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int n) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)n); }
    DWORD_PTR GetItemData(int n) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, (WPARAM)n); }
    int SetItemData(int n, DWORD_PTR d) { return (int)SendMessage(CB_SETITEMDATA, (WPARAM)n, (LPARAM)d); }
    void* GetItemDataPtr(int n) const { return (void*)GetItemData(n); }
    int SetItemDataPtr(int n, void* p) { return SetItemData(n, (DWORD_PTR)p); }
    int GetLBText(int n, LPTSTR buf) const { return (int)SendMessage(CB_GETLBTEXT, (WPARAM)n, (LPARAM)buf); }
    void GetLBText(int n, CString& s) const;
    int GetLBTextLen(int n) const { return (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)n); }
    int SetItemHeight(int n, UINT h) { return (int)SendMessage(CB_SETITEMHEIGHT, (WPARAM)n, h); }
    int GetItemHeight(int n) const { return (int)SendMessage(CB_GETITEMHEIGHT, (WPARAM)n); }
    int SetDroppedWidth(UINT w) { return (int)SendMessage(CB_SETDROPPEDWIDTH, w); }
    BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE); }
    void ShowDropDown(BOOL b = TRUE) { SendMessage(CB_SHOWDROPDOWN, b); }
    BOOL LimitText(int n) { return (BOOL)SendMessage(CB_LIMITTEXT, (WPARAM)n); }
    int AddString(LPCTSTR s) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)s); }
    int DeleteString(UINT n) { return (int)SendMessage(CB_DELETESTRING, n); }
    int InsertString(int n, LPCTSTR s) { return (int)SendMessage(CB_INSERTSTRING, (WPARAM)n, (LPARAM)s); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int FindString(int start, LPCTSTR s) const { return (int)SendMessage(CB_FINDSTRING, (WPARAM)start, (LPARAM)s); }
    int FindStringExact(int start, LPCTSTR s) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)s);
    }
    int SelectString(int start, LPCTSTR s) { return (int)SendMessage(CB_SELECTSTRING, (WPARAM)start, (LPARAM)s); }
    virtual void DrawItem(LPDRAWITEMSTRUCT);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT);
    virtual void DeleteItem(LPDELETEITEMSTRUCT);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)
public:
    CScrollBar() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID);
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int n, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, n, bRedraw); }
    void GetScrollRange(LPINT lo, LPINT hi) const { ::GetScrollRange(m_hWnd, SB_CTL, lo, hi); }
    void SetScrollRange(int lo, int hi, BOOL bRedraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, lo, hi, bRedraw); }
    BOOL SetScrollInfo(LPSCROLLINFO p, BOOL bRedraw = TRUE)
    {
        ::SetScrollInfo(m_hWnd, SB_CTL, p, bRedraw);
        return TRUE;
    }
    BOOL GetScrollInfo(LPSCROLLINFO p, UINT nMask = SIF_ALL)
    {
        p->cbSize = sizeof(*p);
        p->fMask = nMask;
        return ::GetScrollInfo(m_hWnd, SB_CTL, p);
    }
    void ShowScrollBar(BOOL b = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, b); }
    BOOL EnableScrollBar(UINT n = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, SB_CTL, n); }
};

class CSliderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    CSliderCtrl() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID);
    int GetPos() const { return (int)SendMessage(TBM_GETPOS); }
    void SetPos(int n) { SendMessage(TBM_SETPOS, TRUE, n); }
    int GetRangeMin() const { return (int)SendMessage(TBM_GETRANGEMIN); }
    int GetRangeMax() const { return (int)SendMessage(TBM_GETRANGEMAX); }
    void GetRange(int& lo, int& hi) const
    {
        lo = GetRangeMin();
        hi = GetRangeMax();
    }
    void SetRange(int lo, int hi, BOOL bRedraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, lo);
        SendMessage(TBM_SETRANGEMAX, bRedraw, hi);
    }
    void SetRangeMin(int lo, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMIN, bRedraw, lo); }
    void SetRangeMax(int hi, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMAX, bRedraw, hi); }
    int GetLineSize() const { return (int)SendMessage(TBM_GETLINESIZE); }
    int SetLineSize(int n) { return (int)SendMessage(TBM_SETLINESIZE, 0, n); }
    int GetPageSize() const { return (int)SendMessage(TBM_GETPAGESIZE); }
    int SetPageSize(int n) { return (int)SendMessage(TBM_SETPAGESIZE, 0, n); }
    void SetTicFreq(int n) { SendMessage(TBM_SETTICFREQ, (WPARAM)n); }
    void ClearTics(BOOL bRedraw = FALSE) { SendMessage(TBM_CLEARTICS, bRedraw); }
    BOOL SetTic(int n) { return (BOOL)SendMessage(TBM_SETTIC, 0, n); }
};

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID);
    void SetRange(short lo, short hi) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lo, hi)); }
    void SetRange32(int lo, int hi) { SendMessage(PBM_SETRANGE32, (WPARAM)lo, hi); }
    void GetRange(int& lo, int& hi) const;
    int GetPos() const { return (int)SendMessage(PBM_GETPOS); }
    int SetPos(int n) { return (int)SendMessage(PBM_SETPOS, (WPARAM)n); }
    int OffsetPos(int n) { return (int)SendMessage(PBM_DELTAPOS, (WPARAM)n); }
    int SetStep(int n) { return (int)SendMessage(PBM_SETSTEP, (WPARAM)n); }
    int StepIt() { return (int)SendMessage(PBM_STEPIT); }
    COLORREF SetBarColor(COLORREF c) { return (COLORREF)SendMessage(PBM_SETBARCOLOR, 0, c); }
    COLORREF SetBkColor(COLORREF c) { return (COLORREF)SendMessage(PBM_SETBKCOLOR, 0, c); }
};

// A menu handle owner (menus are removed from the program's frame; popups use this).
class CMenu : public CObject
{
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu() = default;
    ~CMenu() override;
    HMENU m_hMenu = nullptr;
    BOOL m_bTemporary = FALSE; // a wrapper from FromHandle: the menu is not ours
    HMENU GetSafeHmenu() const;
    operator HMENU() const { return GetSafeHmenu(); }
    static CMenu* PASCAL FromHandle(HMENU hMenu);
    BOOL Attach(HMENU h);
    HMENU Detach();
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(UINT nID) { return Attach(::LoadMenu(FwGetResourceHandle(), MAKEINTRESOURCE(nID))); }
    BOOL DestroyMenu();
    BOOL AppendMenu(UINT nFlags, UINT_PTR nID = 0, LPCTSTR text = nullptr)
    {
        return ::AppendMenu(m_hMenu, nFlags, nID, text);
    }
    BOOL InsertMenu(UINT nPos, UINT nFlags, UINT_PTR nID = 0, LPCTSTR text = nullptr)
    {
        return ::InsertMenu(m_hMenu, nPos, nFlags, nID, text);
    }
    BOOL ModifyMenu(UINT nPos, UINT nFlags, UINT_PTR nID = 0, LPCTSTR text = nullptr)
    {
        return ::ModifyMenu(m_hMenu, nPos, nFlags, nID, text);
    }
    BOOL RemoveMenu(UINT nPos, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPos, nFlags); }
    BOOL DeleteMenu(UINT nPos, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPos, nFlags); }
    UINT CheckMenuItem(UINT nID, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nID, nCheck); }
    UINT EnableMenuItem(UINT nID, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nID, nEnable); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT r = nullptr)
    {
        return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, FwGetSafeHwnd(pWnd), r);
    }
    // Owner-drawn items: the owner window's draw and measure requests come here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    // The permanent menu object of a handle (menus attached to an object), or NULL.
    static CMenu* PASCAL FromHandlePermanent(HMENU hMenu);
};

// Hands an owner-draw request for a menu item to its menu object; FALSE when none.
BOOL FwMenuOwnerDraw(UINT message, LPARAM lParam);

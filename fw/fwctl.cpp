// Control wrappers: creation, owner-draw reflection and the menu handle owner.
#include "fw/fwwin.h"
#include "fw/fwstate.h"
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

BOOL CreateControl(CWnd* pWnd, LPCTSTR cls, LPCTSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT nID)
{
    return pWnd->CreateEx(0, cls, text, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, FwGetSafeHwnd(pParent), (HMENU)(UINT_PTR)nID);
}

} // namespace

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CMenu, CObject)

BOOL CButton::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT nID)
{
    return CreateControl(this, "BUTTON", text, style, rect, pParent, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT nID)
{
    return CreateControl(this, "STATIC", text, style, rect, pParent, nID);
}

void CStatic::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID)
{
    return CreateControl(this, "EDIT", "", style, rect, pParent, nID);
}

void CEdit::SetSel(int start, int end, BOOL bNoScroll)
{
    SendMessage(EM_SETSEL, (WPARAM)start, end);
    if (!bNoScroll)
        SendMessage(EM_SCROLLCARET);
}

void CEdit::GetSel(int& start, int& end) const
{
    DWORD s = 0, e = 0;
    SendMessage(EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
    start = (int)s;
    end = (int)e;
}

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID)
{
    return CreateControl(this, "LISTBOX", "", style, rect, pParent, nID);
}

void CListBox::GetText(int n, CString& s) const
{
    int len = GetTextLen(n);
    if (len < 0) {
        s.Empty();
        return;
    }
    SendMessage(LB_GETTEXT, (WPARAM)n, (LPARAM)s.GetBuffer(len + 1));
    s.ReleaseBuffer();
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}

namespace {

// Owner-draw requests of list and combo boxes become the control's virtual calls.
template <class T> BOOL OwnerDrawNotify(T* pCtl, UINT message, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_DRAWITEM:
        pCtl->DrawItem((LPDRAWITEMSTRUCT)lParam);
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    case WM_MEASUREITEM:
        pCtl->MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    case WM_COMPAREITEM: {
        int r = pCtl->CompareItem((LPCOMPAREITEMSTRUCT)lParam);
        if (pResult)
            *pResult = r;
        return TRUE;
    }
    case WM_DELETEITEM:
        pCtl->DeleteItem((LPDELETEITEMSTRUCT)lParam);
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (OwnerDrawNotify(this, message, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID)
{
    return CreateControl(this, "COMBOBOX", "", style, rect, pParent, nID);
}

void CComboBox::GetLBText(int n, CString& s) const
{
    int len = GetLBTextLen(n);
    if (len < 0) {
        s.Empty();
        return;
    }
    SendMessage(CB_GETLBTEXT, (WPARAM)n, (LPARAM)s.GetBuffer(len + 1));
    s.ReleaseBuffer();
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (OwnerDrawNotify(this, message, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID)
{
    return CreateControl(this, "SCROLLBAR", "", style, rect, pParent, nID);
}

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID)
{
    return CreateControl(this, TRACKBAR_CLASS, "", style, rect, pParent, nID);
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID)
{
    return CreateControl(this, PROGRESS_CLASS, "", style, rect, pParent, nID);
}

void CProgressCtrl::GetRange(int& lo, int& hi) const
{
    PBRANGE r = {};
    SendMessage(PBM_GETRANGE, TRUE, (LPARAM)&r);
    lo = r.iLow;
    hi = r.iHigh;
}

// ---------------------------------------------------------------------------------------
// CMenu

namespace {

std::mutex& MenuLock()
{
    static std::mutex m;
    return m;
}

std::unordered_map<HMENU, CMenu*>& MenuMap()
{
    static std::unordered_map<HMENU, CMenu*> m;
    return m;
}

} // namespace

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu)
{
    std::lock_guard<std::mutex> lock(MenuLock());
    auto it = MenuMap().find(hMenu);
    return it == MenuMap().end() ? nullptr : it->second;
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL FwMenuOwnerDraw(UINT message, LPARAM lParam)
{
    if (message == WM_DRAWITEM) {
        auto* p = (LPDRAWITEMSTRUCT)lParam;
        if (p->CtlType != ODT_MENU)
            return FALSE;
        if (CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)p->hwndItem)) {
            pMenu->DrawItem(p);
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_MEASUREITEM) {
        auto* p = (LPMEASUREITEMSTRUCT)lParam;
        if (p->CtlType != ODT_MENU)
            return FALSE;
        // The request names only the item: the menu object that holds it measures it.
        std::vector<CMenu*> menus;
        {
            std::lock_guard<std::mutex> lock(MenuLock());
            for (auto& kv : MenuMap())
                menus.push_back(kv.second);
        }
        for (CMenu* pMenu : menus) {
            if (::GetMenuState(pMenu->m_hMenu, p->itemID, MF_BYCOMMAND) != (UINT)-1) {
                pMenu->MeasureItem(p);
                return TRUE;
            }
        }
    }
    return FALSE;
}

CMenu::~CMenu()
{
    if (!m_bTemporary)
        DestroyMenu();
}

HMENU CMenu::GetSafeHmenu() const
{
    const void* volatile self = this;
    return self ? m_hMenu : nullptr;
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    FwThreadState& ts = FwGetThreadState();
    if (CMenu* p = FromHandlePermanent(hMenu))
        return p;
    auto it = ts.tempMenus.find(hMenu);
    if (it != ts.tempMenus.end())
        return it->second;
    auto* p = new CMenu;
    p->m_hMenu = hMenu;
    p->m_bTemporary = TRUE;
    ts.tempMenus[hMenu] = p;
    return p;
}

BOOL CMenu::Attach(HMENU h)
{
    if (!h || m_hMenu)
        return FALSE;
    m_hMenu = h;
    if (!m_bTemporary) {
        std::lock_guard<std::mutex> lock(MenuLock());
        MenuMap()[h] = this;
    }
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    if (h && !m_bTemporary) {
        std::lock_guard<std::mutex> lock(MenuLock());
        auto it = MenuMap().find(h);
        if (it != MenuMap().end() && it->second == this)
            MenuMap().erase(it);
    }
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    HMENU h = Detach();
    return ::DestroyMenu(h);
}

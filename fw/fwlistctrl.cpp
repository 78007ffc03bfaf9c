// The list-view control wrapper.
#include "fw/fwwin.h"
#include "fw/fwlistctrl.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CreateEx(0, WC_LISTVIEW, nullptr, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, FwGetSafeHwnd(pParentWnd), (HMENU)(UINT_PTR)nID);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR text, UINT nState, UINT nStateMask, int nImage, LPARAM lParam)
{
    LVITEM item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.pszText = const_cast<LPTSTR>(text);
    item.state = nState;
    item.stateMask = nStateMask;
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control copies at most the buffer less one; a full buffer may mean more text.
    for (int size = 256;; size *= 2) {
        CString text;
        LVITEM item = {};
        item.iSubItem = nSubItem;
        item.cchTextMax = size;
        item.pszText = text.GetBuffer(size);
        const int length = (int)SendMessage(LVM_GETITEMTEXT, (WPARAM)nItem, (LPARAM)&item);
        text.ReleaseBuffer(length);
        if (length < size - 1 || size >= 0x10000)
            return text;
    }
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR text)
{
    LVITEM item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPTSTR>(text);
    return (BOOL)SendMessage(LVM_SETITEMTEXT, (WPARAM)nItem, (LPARAM)&item);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEM item = {};
    item.state = nState;
    item.stateMask = nMask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)&item);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEM item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    GetItem(&item);
    return (DWORD_PTR)item.lParam;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    LVITEM item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = (LPARAM)dwData;
    return SetItem(&item);
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    lpRect->left = (LONG)nCode;
    return (BOOL)SendMessage(LVM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect);
}

int CListCtrl::HitTest(POINT pt, UINT* pFlags) const
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    const int item = (int)SendMessage(LVM_HITTEST, 0, (LPARAM)&info);
    if (pFlags)
        *pFlags = info.flags;
    return item;
}

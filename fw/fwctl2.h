// More thin control wrappers: tooltip, tree and image list.  Like the others, each call
// is a message to the control or a call on the handle, usable from any thread.
#pragma once
#include "fw/fwctl.h"

class CImageList : public CObject
{
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;
    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL Attach(HIMAGELIST h);
    HIMAGELIST Detach();
    BOOL DeleteImageList();
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int Add(CBitmap* pImage, CBitmap* pMask);
    int Add(CBitmap* pImage, COLORREF crMask);
    int Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }
    BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    COLORREF SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }
    HICON ExtractIcon(int nImage) { return ImageList_ExtractIcon(nullptr, m_hImageList, nImage); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* p) const { return ImageList_GetImageInfo(m_hImageList, nImage, p); }
};

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // A tool for a window (nIDTool 0: the whole window) or a rectangle of it.
    BOOL AddTool(CWnd* pWnd, LPCTSTR text, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR text, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)lpMsg); }
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
    void SetDelayTime(DWORD dwDuration, int iTime) { SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0)); }
    int SetMaxTipWidth(int iWidth) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth); }
    void SetTipBkColor(COLORREF c) { SendMessage(TTM_SETTIPBKCOLOR, c); }
    void SetTipTextColor(COLORREF c) { SendMessage(TTM_SETTIPTEXTCOLOR, c); }
    void Pop() { SendMessage(TTM_POP); }

private:
    void FillToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};

class CTreeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    CTreeCtrl() = default;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    HTREEITEM InsertItem(LPTVINSERTSTRUCT p) { return (HTREEITEM)SendMessage(TVM_INSERTITEM, 0, (LPARAM)p); }
    HTREEITEM InsertItem(LPCTSTR text, HTREEITEM hParent = TVI_ROOT, HTREEITEM hAfter = TVI_LAST);
    HTREEITEM InsertItem(LPCTSTR text, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hAfter = TVI_LAST);
    HTREEITEM InsertItem(UINT nMask, LPCTSTR text, int nImage, int nSelectedImage, UINT nState, UINT nStateMask,
                         LPARAM lParam, HTREEITEM hParent, HTREEITEM hAfter);
    BOOL DeleteItem(HTREEITEM h) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)h); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT); }
    HTREEITEM GetNextItem(HTREEITEM h, UINT nCode) const
    {
        return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, nCode, (LPARAM)h);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM h) const { return GetNextItem(h, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM h) const { return GetNextItem(h, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM h) const { return GetNextItem(h, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM h) const { return GetNextItem(h, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL SelectItem(HTREEITEM h) { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)h); }
    BOOL SelectDropTarget(HTREEITEM h) { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, (LPARAM)h); }
    BOOL Expand(HTREEITEM h, UINT nCode) { return (BOOL)SendMessage(TVM_EXPAND, nCode, (LPARAM)h); }
    BOOL EnsureVisible(HTREEITEM h) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)h); }
    BOOL GetItem(TVITEM* p) const { return (BOOL)SendMessage(TVM_GETITEM, 0, (LPARAM)p); }
    BOOL SetItem(TVITEM* p) { return (BOOL)SendMessage(TVM_SETITEM, 0, (LPARAM)p); }
    CString GetItemText(HTREEITEM h) const;
    BOOL SetItemText(HTREEITEM h, LPCTSTR text);
    DWORD_PTR GetItemData(HTREEITEM h) const;
    BOOL SetItemData(HTREEITEM h, DWORD_PTR data);
    UINT GetItemState(HTREEITEM h, UINT nStateMask) const
    {
        return (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)h, nStateMask);
    }
    BOOL SetItemState(HTREEITEM h, UINT nState, UINT nStateMask);
    BOOL GetItemImage(HTREEITEM h, int& nImage, int& nSelectedImage) const;
    BOOL SetItemImage(HTREEITEM h, int nImage, int nSelectedImage);
    BOOL ItemHasChildren(HTREEITEM h) const;
    BOOL GetItemRect(HTREEITEM h, LPRECT r, BOOL bTextOnly) const;
    UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT); }
    HTREEITEM HitTest(POINT pt, UINT* pFlags = nullptr) const;
    HIMAGELIST SetImageList(HIMAGELIST h, int nType)
    {
        return (HIMAGELIST)SendMessage(TVM_SETIMAGELIST, nType, (LPARAM)h);
    }
    HIMAGELIST GetImageList(int nType) const { return (HIMAGELIST)SendMessage(TVM_GETIMAGELIST, nType); }
    CEdit* EditLabel(HTREEITEM h);
    CEdit* GetEditControl() const;
    BOOL SortChildren(HTREEITEM h) { return (BOOL)SendMessage(TVM_SORTCHILDREN, 0, (LPARAM)h); }
    BOOL SortChildrenCB(LPTVSORTCB p) { return (BOOL)SendMessage(TVM_SORTCHILDRENCB, 0, (LPARAM)p); }
};

// Control bar styles.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// A strip along a window's edge that paints itself (rulers derive from it).
class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar() = default;
    // The size the bar asks for: the whole length when stretched along its direction.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    // Paints the bar's face; the base fills the client area with the button face.
    virtual void DoPaint(CDC* pDC);
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    void PostNcDestroy() override;

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);

    int m_cxLeftBorder = 0;
    int m_cxRightBorder = 0;
    int m_cyTopBorder = 0;
    int m_cyBottomBorder = 0;
    DWORD m_dwStyle = 0;
    BOOL m_bAutoDelete = FALSE;
    DECLARE_MESSAGE_MAP()
};

// Tooltip, tree and image list wrappers.
#include "fw/fwwin.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

// ---------------------------------------------------------------------------------------
// CImageList

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    DeleteImageList();
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Attach(HIMAGELIST h)
{
    if (!h || m_hImageList)
        return FALSE;
    m_hImageList = h;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    BOOL ok = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return ok;
}

int CImageList::Add(CBitmap* pImage, CBitmap* pMask)
{
    return ImageList_Add(m_hImageList, pImage ? (HBITMAP)pImage->GetSafeHandle() : nullptr,
                         pMask ? (HBITMAP)pMask->GetSafeHandle() : nullptr);
}

int CImageList::Add(CBitmap* pImage, COLORREF crMask)
{
    return ImageList_AddMasked(m_hImageList, pImage ? (HBITMAP)pImage->GetSafeHandle() : nullptr, crMask);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
}

// ---------------------------------------------------------------------------------------
// CToolTipCtrl

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    BOOL ok = CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_NOPREFIX | dwStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FwGetSafeHwnd(pParentWnd), nullptr);
    if (ok)
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return ok;
}

void CToolTipCtrl::FillToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const
{
    ti = {};
    ti.cbSize = sizeof(TOOLINFO);
    HWND h = FwGetSafeHwnd(pWnd);
    if (nIDTool == 0) {
        ti.hwnd = ::GetParent(h) ? ::GetParent(h) : h;
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)h;
    } else {
        ti.hwnd = h;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR text, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillToolInfo(ti, pWnd, nIDTool);
    ti.uFlags |= TTF_SUBCLASS;
    if (lpRectTool)
        ti.rect = *lpRectTool;
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<LPTSTR>(text ? text : LPSTR_TEXTCALLBACK);
    return (BOOL)SendMessage(TTM_ADDTOOL, 0, (LPARAM)&ti);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillToolInfo(ti, pWnd, nIDTool);
    SendMessage(TTM_DELTOOL, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCTSTR text, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillToolInfo(ti, pWnd, nIDTool);
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<LPTSTR>(text);
    SendMessage(TTM_UPDATETIPTEXT, 0, (LPARAM)&ti);
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    TOOLINFO ti;
    FillToolInfo(ti, pWnd, nIDTool);
    char buf[1024] = {};
    ti.lpszText = buf;
    SendMessage(TTM_GETTEXT, sizeof buf, (LPARAM)&ti);
    str = buf;
}

// ---------------------------------------------------------------------------------------
// CTreeCtrl

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CreateEx(0, WC_TREEVIEW, nullptr, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, FwGetSafeHwnd(pParentWnd), (HMENU)(UINT_PTR)nID);
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR text, int nImage, int nSelectedImage, UINT nState, UINT nStateMask,
                                LPARAM lParam, HTREEITEM hParent, HTREEITEM hAfter)
{
    TVINSERTSTRUCT is = {};
    is.hParent = hParent;
    is.hInsertAfter = hAfter;
    is.item.mask = nMask;
    is.item.pszText = const_cast<LPTSTR>(text);
    is.item.iImage = nImage;
    is.item.iSelectedImage = nSelectedImage;
    is.item.state = nState;
    is.item.stateMask = nStateMask;
    is.item.lParam = lParam;
    return InsertItem(&is);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM hParent, HTREEITEM hAfter)
{
    return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, hParent, hAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, int nImage, int nSelectedImage, HTREEITEM hParent, HTREEITEM hAfter)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, nImage, nSelectedImage, 0, 0, 0, hParent,
                      hAfter);
}

CString CTreeCtrl::GetItemText(HTREEITEM h) const
{
    char buf[1024] = {};
    TVITEM item = {};
    item.hItem = h;
    item.mask = TVIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    GetItem(&item);
    return CString(buf);
}

BOOL CTreeCtrl::SetItemText(HTREEITEM h, LPCTSTR text)
{
    TVITEM item = {};
    item.hItem = h;
    item.mask = TVIF_TEXT;
    item.pszText = const_cast<LPTSTR>(text);
    return SetItem(&item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM h) const
{
    TVITEM item = {};
    item.hItem = h;
    item.mask = TVIF_PARAM;
    GetItem(&item);
    return (DWORD_PTR)item.lParam;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM h, DWORD_PTR data)
{
    TVITEM item = {};
    item.hItem = h;
    item.mask = TVIF_PARAM;
    item.lParam = (LPARAM)data;
    return SetItem(&item);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM h, UINT nState, UINT nStateMask)
{
    TVITEM item = {};
    item.hItem = h;
    item.mask = TVIF_STATE;
    item.state = nState;
    item.stateMask = nStateMask;
    return SetItem(&item);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM h, int& nImage, int& nSelectedImage) const
{
    TVITEM item = {};
    item.hItem = h;
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    BOOL ok = GetItem(&item);
    nImage = item.iImage;
    nSelectedImage = item.iSelectedImage;
    return ok;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM h, int nImage, int nSelectedImage)
{
    TVITEM item = {};
    item.hItem = h;
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    return SetItem(&item);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM h) const
{
    TVITEM item = {};
    item.hItem = h;
    item.mask = TVIF_CHILDREN;
    GetItem(&item);
    return item.cChildren != 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM h, LPRECT r, BOOL bTextOnly) const
{
    *(HTREEITEM*)r = h;
    return (BOOL)SendMessage(TVM_GETITEMRECT, bTextOnly, (LPARAM)r);
}

HTREEITEM CTreeCtrl::HitTest(POINT pt, UINT* pFlags) const
{
    TVHITTESTINFO info = {};
    info.pt = pt;
    HTREEITEM h = (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)&info);
    if (pFlags)
        *pFlags = info.flags;
    return h;
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM h)
{
    return (CEdit*)CWnd::FromHandle((HWND)SendMessage(TVM_EDITLABEL, 0, (LPARAM)h));
}

CEdit* CTreeCtrl::GetEditControl() const { return (CEdit*)CWnd::FromHandle((HWND)SendMessage(TVM_GETEDITCONTROL)); }

// ---------------------------------------------------------------------------------------
// CControlBar

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

void CControlBar::DoPaint(CDC* pDC)
{
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    ::FillRect(pDC->GetSafeHdc(), &rc, ::GetSysColorBrush(COLOR_BTNFACE));
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CControlBar::OnPaint()
{
    CPaintDC dc(this);
    DoPaint(&dc);
}

BOOL CControlBar::OnEraseBkgnd(CDC*)
{
    return TRUE; // DoPaint paints the whole face
}

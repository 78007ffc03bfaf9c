// The shell folder tree: options, paths and items, filling, the actions and the keyboard.
// Drag and drop lives in ShellTreeDrag.cpp.
#include "app/browser/ShellTreeCtrl.h"

#include <windowsx.h>
#undef SubclassWindow // windowsx.h names a macro after the window method

#include <algorithm>
#include <vector>

namespace {

const UINT WM_SHELLTREE_POSTINIT = WM_APP + 1;

ShellTreeShell g_shell;

int RealFileOperation(SHFILEOPSTRUCT* op) { return ::SHFileOperation(op); }
BOOL RealExecute(SHELLEXECUTEINFO* info) { return ::ShellExecuteEx(info); }

bool EndsWithBackslash(const CString& s) { return !s.IsEmpty() && s[s.GetLength() - 1] == '\\'; }

CString JoinPath(const CString& folder, LPCTSTR name)
{
    return EndsWithBackslash(folder) ? folder + name : folder + "\\" + name;
}

bool KeyDown(int key) { return ::GetKeyState(key) < 0; }

HWND MainWindowHandle() { return FwGetSafeHwnd(AfxGetMainWnd()); }

void SortNoCase(std::vector<CString>& paths)
{
    std::sort(paths.begin(), paths.end(), [](const CString& a, const CString& b) { return lstrcmpi(a, b) < 0; });
}

} // namespace

ShellTreeShell SetShellTreeShell(const ShellTreeShell& shell)
{
    ShellTreeShell old = g_shell;
    g_shell = shell;
    return old;
}

BEGIN_MESSAGE_MAP(CShellTreeCtrl, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, &CShellTreeCtrl::OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_BEGINLABELEDIT, &CShellTreeCtrl::OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(TVN_ENDLABELEDIT, &CShellTreeCtrl::OnEndLabelEdit)
    ON_NOTIFY_REFLECT(NM_RCLICK, &CShellTreeCtrl::OnRClick)
    ON_NOTIFY_REFLECT(TVN_SELCHANGED, &CShellTreeCtrl::OnSelChanged)
    ON_NOTIFY_REFLECT(NM_DBLCLK, &CShellTreeCtrl::OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAG, &CShellTreeCtrl::OnBeginDrag)
    ON_COMMAND(ID_SHELLTREE_RENAME, &CShellTreeCtrl::OnRename)
    ON_COMMAND(ID_SHELLTREE_PROPERTIES, &CShellTreeCtrl::OnProperties)
    ON_COMMAND(ID_SHELLTREE_OPEN, &CShellTreeCtrl::OnOpen)
    ON_COMMAND(ID_SHELLTREE_DELETE, &CShellTreeCtrl::OnDelete)
    ON_COMMAND(ID_SHELLTREE_UPONELEVEL, &CShellTreeCtrl::OnUpOneLevel)
    ON_UPDATE_COMMAND_UI(ID_SHELLTREE_RENAME, &CShellTreeCtrl::OnUpdateRename)
    ON_UPDATE_COMMAND_UI(ID_SHELLTREE_PROPERTIES, &CShellTreeCtrl::OnUpdateProperties)
    ON_UPDATE_COMMAND_UI(ID_SHELLTREE_OPEN, &CShellTreeCtrl::OnUpdateOpen)
    ON_UPDATE_COMMAND_UI(ID_SHELLTREE_DELETE, &CShellTreeCtrl::OnUpdateDelete)
    ON_UPDATE_COMMAND_UI(ID_SHELLTREE_UPONELEVEL, &CShellTreeCtrl::OnUpdateUpOneLevel)
    ON_WM_CONTEXTMENU()
    ON_WM_INITMENUPOPUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SHELLTREE_POSTINIT, &CShellTreeCtrl::OnPostInit)
END_MESSAGE_MAP()

CShellTreeCtrl::CShellTreeCtrl()
{
    HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
    m_hCopyCursor = m_hNoCopyCursor = m_hMoveCursor = m_hNoMoveCursor = arrow;
}

CShellTreeCtrl::~CShellTreeCtrl()
{
    delete m_pDragImage; // a drag cut short by the window's end
}

// ---------------------------------------------------------------------------------------
// Set-up and options

void CShellTreeCtrl::SetFlags(DWORD flags)
{
    SetShowFiles((flags & STF_SHOWFILES) != 0);
    SetAllowDragDrop((flags & STF_ALLOWDRAGDROP) != 0);
    SetAllowRename((flags & STF_ALLOWRENAME) != 0);
    SetAllowOpen((flags & STF_ALLOWOPEN) != 0);
    SetAllowProperties((flags & STF_ALLOWPROPERTIES) != 0);
    SetAllowDelete((flags & STF_ALLOWDELETE) != 0);
}

void CShellTreeCtrl::SetShowFiles(BOOL show)
{
    m_bShowFiles = show;
    if (m_hWnd)
        Refresh();
}

void CShellTreeCtrl::SetRootFolder(LPCTSTR path)
{
    m_rootFolder = path ? path : "";
    if (EndsWithBackslash(m_rootFolder))
        m_rootFolder = m_rootFolder.Left(m_rootFolder.GetLength() - 1);
    if (m_hWnd)
        Refresh();
}

void CShellTreeCtrl::PreSubclassWindow()
{
    CTreeCtrl::PreSubclassWindow();
    // The image list and the first filling wait until the dialog has finished its set-up.
    PostMessage(WM_SHELLTREE_POSTINIT);
}

LRESULT CShellTreeCtrl::OnPostInit(WPARAM, LPARAM)
{
    SetImageList(m_imageList.GetImageList()->GetSafeHandle(), TVSIL_NORMAL);
    Refresh();
    return 0;
}

// ---------------------------------------------------------------------------------------
// Paths and items

CString CShellTreeCtrl::ItemToPath(HTREEITEM item) const
{
    if (!item)
        return CString();
    std::vector<CString> texts;
    for (HTREEITEM h = item; h; h = GetParentItem(h))
        texts.push_back(GetItemText(h));
    CString path;
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
        if (!path.IsEmpty() && !EndsWithBackslash(path))
            path += "\\";
        path += *it;
    }
    if (!m_rootFolder.IsEmpty())
        path = m_rootFolder + "\\" + path;
    return path;
}

CString CShellTreeCtrl::GetSelectedPath() const { return ItemToPath(GetSelectedItem()); }

HTREEITEM CShellTreeCtrl::FindChildItem(HTREEITEM parent, LPCTSTR text) const
{
    for (HTREEITEM h = GetChildItem(parent ? parent : TVI_ROOT); h; h = GetNextSiblingItem(h))
        if (GetItemText(h).CompareNoCase(text) == 0)
            return h;
    return nullptr;
}

int CShellTreeCtrl::GetIconIndex(LPCTSTR path)
{
    SHFILEINFO info = {};
    if (!::SHGetFileInfo(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return info.iIcon;
}

int CShellTreeCtrl::GetSelIconIndex(LPCTSTR path)
{
    SHFILEINFO info = {};
    if (!::SHGetFileInfo(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON))
        return -1;
    return info.iIcon;
}

int CShellTreeCtrl::GetItemImageIndex(HTREEITEM item) const
{
    int image = -1, selected = -1;
    return GetItemImage(item, image, selected) ? image : -1;
}

int CShellTreeCtrl::GetItemSelImageIndex(HTREEITEM item) const
{
    int image = -1, selected = -1;
    return GetItemImage(item, image, selected) ? selected : -1;
}

int CShellTreeCtrl::GetCheck(HTREEITEM item) const
{
    return (int)((GetItemState(item, TVIS_STATEIMAGEMASK) >> 12) & 0xF) - 1;
}

void CShellTreeCtrl::SetCheck(HTREEITEM item, BOOL check)
{
    SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), TVIS_STATEIMAGEMASK);
}

HTREEITEM CShellTreeCtrl::InsertFileItem(LPCTSTR text, LPCTSTR path, HTREEITEM parent)
{
    const int image = GetIconIndex(path);
    const int selected = GetSelIconIndex(path);
    if (image < 0 || selected < 0)
        return nullptr;
    TVINSERTSTRUCT insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<LPTSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selected;
    insert.item.cChildren = HasSubFolders(path) ? 1 : 0;
    return InsertItem(&insert);
}

BOOL CShellTreeCtrl::IsFilePath(LPCTSTR path)
{
    const DWORD attributes = ::GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL CShellTreeCtrl::IsFolderPath(LPCTSTR path) { return !IsFilePath(path); }

BOOL CShellTreeCtrl::IsDrivePath(LPCTSTR path)
{
    return path && lstrlen(path) == 3 && path[1] == ':' && path[2] == '\\';
}

// ---------------------------------------------------------------------------------------
// Filling

void CShellTreeCtrl::Refresh()
{
    SendMessage(WM_SETREDRAW, FALSE);
    const HTREEITEM selected = GetSelectedItem();
    const CString path = ItemToPath(selected);
    const BOOL hadChildren = selected && GetChildItem(selected) != nullptr;
    if (m_rootFolder.IsEmpty())
        DisplayDrives(TVI_ROOT, FALSE);
    else
        DisplayPath(m_rootFolder, TVI_ROOT, FALSE);
    if (!path.IsEmpty())
        SetSelectedPath(path, hadChildren);
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
}

void CShellTreeCtrl::DisplayDrives(HTREEITEM parent, BOOL useRedraw)
{
    CWaitCursor wait;
    if (useRedraw)
        SendMessage(WM_SETREDRAW, FALSE);
    DeleteAllItems();
    const DWORD drives = ::GetLogicalDrives();
    for (int bit = 0; bit < 32; ++bit) {
        if (!(drives & (1u << bit)))
            continue;
        CString text;
        text.Format("%c:\\", 'A' + bit);
        InsertFileItem(text, text, parent);
    }
    if (useRedraw)
        SendMessage(WM_SETREDRAW, TRUE);
}

void CShellTreeCtrl::DisplayPath(LPCTSTR path, HTREEITEM parent, BOOL useRedraw)
{
    CWaitCursor wait;
    if (useRedraw)
        SendMessage(WM_SETREDRAW, FALSE);
    if (!parent || parent == TVI_ROOT) {
        DeleteAllItems();
        parent = TVI_ROOT;
    } else {
        while (HTREEITEM child = GetChildItem(parent))
            CTreeCtrl::DeleteItem(child);
    }

    const CString folder = path;
    const CString upperMask = CString(m_fileMask).MakeUpper();
    std::vector<CString> folders, files;
    WIN32_FIND_DATA found = {};
    HANDLE find = ::FindFirstFile(JoinPath(folder, "*.*"), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (lstrcmp(found.cFileName, ".") == 0 || lstrcmp(found.cFileName, "..") == 0)
                continue;
            const CString full = JoinPath(folder, found.cFileName);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                folders.push_back(full); // hidden folders too
            } else if (m_bShowFiles && !(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) {
                if (!m_bMaskFilter || full.Find(m_fileMask) >= 0 || full.Find(upperMask) >= 0)
                    files.push_back(full);
            }
        } while (::FindNextFile(find, &found));
        ::FindClose(find);
    }
    SortNoCase(folders);
    SortNoCase(files);
    const int nameStart = EndsWithBackslash(folder) ? folder.GetLength() : folder.GetLength() + 1;
    for (const std::vector<CString>* list : {&folders, &files})
        for (const CString& full : *list)
            InsertFileItem(full.Mid(nameStart), full, parent);
    if (useRedraw)
        SendMessage(WM_SETREDRAW, TRUE);
}

BOOL CShellTreeCtrl::HasSubFolders(LPCTSTR path) const
{
    WIN32_FIND_DATA found = {};
    HANDLE find = ::FindFirstFile(JoinPath(path, "*.*"), &found);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL any = FALSE;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            any = lstrcmp(found.cFileName, ".") != 0 && lstrcmp(found.cFileName, "..") != 0;
        } else {
            // The mask is not applied: a folder may offer to expand and then show nothing.
            any = m_bShowFiles && !(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
        }
    } while (!any && ::FindNextFile(find, &found));
    ::FindClose(find);
    return any;
}

HTREEITEM CShellTreeCtrl::SetSelectedPath(LPCTSTR path, BOOL expand)
{
    CString rest = path ? path : "";
    if (rest.IsEmpty())
        return nullptr;
    if (rest.GetLength() > 3 && EndsWithBackslash(rest))
        rest = rest.Left(rest.GetLength() - 1);
    const bool rooted = !m_rootFolder.IsEmpty();
    if (rooted) {
        // Only paths inside the root folder: the root itself, then a backslash.
        const int length = m_rootFolder.GetLength();
        if (rest.GetLength() <= length + 1 || rest.Left(length).CompareNoCase(m_rootFolder) != 0 ||
            rest[length] != '\\')
            return nullptr;
        rest = rest.Mid(length + 1);
    }

    SendMessage(WM_SETREDRAW, FALSE);
    HTREEITEM item = nullptr; // the top level
    int slash;
    while ((slash = rest.Find('\\')) >= 0) {
        // Without a root folder the first segment keeps its backslash: it names a drive.
        const int keep = (!rooted && !item) ? slash + 1 : slash;
        const CString segment = rest.Left(keep);
        rest = rest.Mid(slash + 1);
        HTREEITEM child = FindChildItem(item, segment);
        if (!child) {
            SendMessage(WM_SETREDRAW, TRUE);
            return nullptr;
        }
        Expand(child, TVE_EXPAND);
        if (!GetChildItem(child) && ItemHasChildren(child))
            DisplayPath(ItemToPath(child), child, FALSE); // expanded once before: fill anyway
        item = child;
    }
    HTREEITEM reached = item;
    if (!rest.IsEmpty())
        reached = FindChildItem(item, rest);
    SelectItem(reached);
    if (reached && expand)
        Expand(reached, TVE_EXPAND);
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
    return reached;
}

void CShellTreeCtrl::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMTREEVIEW* tv = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    *pResult = 0;
    const HTREEITEM item = tv->itemNew.hItem;
    if ((tv->action & TVE_EXPAND) && item && !GetChildItem(item) && IsFolder(item))
        DisplayPath(ItemToPath(item), item, TRUE);
}

// ---------------------------------------------------------------------------------------
// Actions

std::vector<char> CShellTreeCtrl::ShellPath(const CString& path)
{
    std::vector<char> buffer((LPCTSTR)path, (LPCTSTR)path + path.GetLength());
    buffer.push_back('\0');
    buffer.push_back('\0');
    return buffer;
}

int CShellTreeCtrl::RunFileOperation(SHFILEOPSTRUCT& op) const
{
    return (g_shell.fileOperation ? g_shell.fileOperation : RealFileOperation)(&op);
}

void CShellTreeCtrl::Rename(HTREEITEM item)
{
    if (!item || !m_bAllowRename || IsDrive(item))
        return;
    EditLabel(item);
}

BOOL CShellTreeCtrl::ShowProperties(HTREEITEM item)
{
    if (!item || !m_bAllowProperties)
        return FALSE;
    const CString path = ItemToPath(item);
    SHELLEXECUTEINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = MainWindowHandle();
    info.lpVerb = "properties";
    info.lpFile = path;
    info.nShow = SW_SHOWNORMAL;
    return (g_shell.execute ? g_shell.execute : RealExecute)(&info);
}

void CShellTreeCtrl::DeleteItem(HTREEITEM item)
{
    if (!item || !m_bAllowDelete || IsDrive(item))
        return;
    std::vector<char> from = ShellPath(ItemToPath(item));
    SHFILEOPSTRUCT op = {};
    op.hwnd = MainWindowHandle();
    op.wFunc = FO_DELETE;
    op.pFrom = from.data();
    // Into the recycle bin, or for good while Shift is held.
    op.fFlags = KeyDown(VK_SHIFT) ? 0 : FOF_ALLOWUNDO;
    if (RunFileOperation(op) == 0 && !op.fAnyOperationsAborted)
        CTreeCtrl::DeleteItem(item);
}

LRESULT CShellTreeCtrl::Open(HTREEITEM item)
{
    if (item && m_bAllowOpen)
        ::SendMessage(::GetParent(m_hWnd), WM_SHELLTREE_OPEN, (WPARAM)(LPCTSTR)m_chosenPath, 0);
    return 0;
}

void CShellTreeCtrl::OnUpOneLevel()
{
    if (HTREEITEM parent = GetParentItem(GetSelectedItem()))
        SelectItem(parent);
}

// ---------------------------------------------------------------------------------------
// Enabling rules

void CShellTreeCtrl::OnUpdateRename(CCmdUI* ui)
{
    HTREEITEM selected = GetSelectedItem();
    ui->Enable(selected && !IsDrive(selected) && m_bAllowRename);
}

void CShellTreeCtrl::OnUpdateProperties(CCmdUI* ui) { ui->Enable(GetSelectedItem() && m_bAllowProperties); }

void CShellTreeCtrl::OnUpdateOpen(CCmdUI* ui) { ui->Enable(GetSelectedItem() && m_bAllowOpen); }

void CShellTreeCtrl::OnUpdateDelete(CCmdUI* ui)
{
    HTREEITEM selected = GetSelectedItem();
    ui->Enable(selected && !IsDrive(selected) && m_bAllowDelete);
}

void CShellTreeCtrl::OnUpdateUpOneLevel(CCmdUI* ui)
{
    HTREEITEM selected = GetSelectedItem();
    ui->Enable(selected && GetParentItem(selected) != nullptr);
}

void CShellTreeCtrl::OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu)
{
    Default();
    if (!bSysMenu)
        FwUpdateMenuPopup(this, pPopup, TRUE);
}

// ---------------------------------------------------------------------------------------
// Mouse choice, context menu, label edit

void CShellTreeCtrl::OnSelChanged(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    const DWORD pos = ::GetMessagePos();
    CPoint point(GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
    ScreenToClient(&point);
    const HTREEITEM item = HitTest(point);
    // Only a choice made with the mouse: the item under the pointer is the selection.
    if (!item || item != GetSelectedItem())
        return;
    m_chosenPath = ItemToPath(item);
    if (!ItemHasChildren(item))
        Open(item);
}

void CShellTreeCtrl::OnRClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    const DWORD pos = ::GetMessagePos();
    CPoint screen(GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
    CPoint point = screen;
    ScreenToClient(&point);
    const HTREEITEM before = GetSelectedItem();
    if (HTREEITEM item = HitTest(point))
        SelectItem(item);
    OnContextMenu(this, screen);
    SelectItem(before);
}

void CShellTreeCtrl::OnContextMenu(CWnd*, CPoint)
{
    // No menu yet: the commands and their enabling rules wait for a caller's menu.
}

void CShellTreeCtrl::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMTVDISPINFO* info = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
    const HTREEITEM item = info->item.hItem;
    // A click on a selected label starts an edit too: it keeps the rules of Rename.
    *pResult = (!item || !m_bAllowRename || IsDrive(item)) ? TRUE : FALSE;
}

void CShellTreeCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMTVDISPINFO* info = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
    *pResult = FALSE;
    const HTREEITEM item = info->item.hItem;
    if (!item || !info->item.pszText)
        return; // cancelled
    const CString newText = info->item.pszText;
    const HTREEITEM parent = GetParentItem(item);
    const CString folder = parent ? ItemToPath(parent) : m_rootFolder;
    const CString oldPath = ItemToPath(item);
    const CString newPath = JoinPath(folder, newText);
    std::vector<char> from = ShellPath(oldPath), to = ShellPath(newPath);
    SHFILEOPSTRUCT op = {};
    op.hwnd = MainWindowHandle();
    op.wFunc = FO_RENAME;
    op.pFrom = from.data();
    op.pTo = to.data();
    op.fFlags = FOF_ALLOWUNDO;
    if (RunFileOperation(op) != 0 || op.fAnyOperationsAborted)
        return; // the old text stays
    SetItemText(item, newText);
    SetItemImage(item, GetIconIndex(newPath), GetSelIconIndex(newPath));
}

// ---------------------------------------------------------------------------------------
// Keyboard

BOOL CShellTreeCtrl::PreTranslateMessage(MSG* pMsg)
{
    // While a label is edited, its edit gets every key (Enter and Esc end the edit).
    if (GetEditControl()) {
        ::TranslateMessage(pMsg);
        ::DispatchMessage(pMsg);
        return TRUE;
    }
    const bool keyDown = pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN;
    if ((keyDown && pMsg->wParam == VK_F10 && KeyDown(VK_SHIFT)) || pMsg->message == WM_CONTEXTMENU) {
        CRect rect;
        if (HTREEITEM selected = GetSelectedItem())
            GetItemRect(selected, &rect, TRUE);
        ClientToScreen(&rect);
        OnContextMenu(this, rect.TopLeft());
        return TRUE;
    }
    if (keyDown) {
        const bool alt = pMsg->message == WM_SYSKEYDOWN || KeyDown(VK_MENU);
        switch (pMsg->wParam) {
        case VK_ESCAPE:
            if (IsDragging()) {
                EndDragging(TRUE);
                return TRUE;
            }
            break;
        case VK_RETURN:
            if (alt)
                OnProperties();
            else
                OnOpen();
            return TRUE;
        case VK_DELETE:
            OnDelete();
            return TRUE;
        case VK_BACK:
            OnUpOneLevel();
            return TRUE;
        case VK_F2:
            OnRename();
            return TRUE;
        case VK_F5:
            Refresh();
            return TRUE;
        default:
            break;
        }
    }
    return CTreeCtrl::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------------------
// Dialog data exchange

void DDX_ShellTree(CDataExchange* pDX, int nIDC, CShellTreeCtrl& tree, DWORD flags)
{
    if (!pDX->m_bSaveAndValidate && !tree.m_hWnd) {
        HWND control = pDX->PrepareCtrl(nIDC);
        if (!tree.SubclassWindow(control))
            AfxThrowNotSupportedException();
    }
    tree.SetFlags(flags);
}

void DDX_ShellTreePath(CDataExchange* pDX, CShellTreeCtrl& tree, CString& path)
{
    if (pDX->m_bSaveAndValidate)
        path = tree.GetSelectedPath();
    else
        tree.SetSelectedPath(path, FALSE);
}

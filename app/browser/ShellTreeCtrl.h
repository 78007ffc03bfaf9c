// A tree control over the file system with the shell's own icons: every drive, or the
// folders (and optionally the matching files) below a root folder, filled on first
// expansion. Items can be renamed, deleted, opened, shown with their property sheet, and
// moved or copied by drag and drop, all through the shell's operations. The parent learns
// the chosen file from WM_SHELLTREE_OPEN. Dialogs bind it with DDX_ShellTree.
//
// The rules it keeps: the tree changes only after the shell reports an operation done and
// not aborted, so a failed or cancelled operation leaves it as it was; nothing is ever
// done to a drive item but selecting, opening and showing properties; the drag image is
// held exactly while a drag runs.
#pragma once

#include "app/browser/SystemImageList.h"
#include "fw/fwwin.h"

#include <shellapi.h>

#include <vector>

// Sent to the parent when an item is opened: wParam the chosen path (LPCTSTR), lParam 0.
const UINT WM_SHELLTREE_OPEN = WM_USER + 100;

// Options of SetFlags.
enum : DWORD {
    STF_SHOWFILES = 0x01,
    STF_ALLOWDRAGDROP = 0x02,
    STF_ALLOWRENAME = 0x04,
    STF_ALLOWOPEN = 0x08,
    STF_ALLOWPROPERTIES = 0x10,
    STF_ALLOWDELETE = 0x20,
};

// Commands of a menu the tree enables (its popup menus run the enabling rules).
enum : UINT {
    ID_SHELLTREE_RENAME = 0xE900,
    ID_SHELLTREE_PROPERTIES,
    ID_SHELLTREE_OPEN,
    ID_SHELLTREE_DELETE,
    ID_SHELLTREE_UPONELEVEL,
};

// The shell calls behind rename, delete, move, copy and "properties". A null member stands
// for the shell's own function; tests replace them to watch the calls and to fail them.
struct ShellTreeShell
{
    int (*fileOperation)(SHFILEOPSTRUCT* op) = nullptr;
    BOOL (*execute)(SHELLEXECUTEINFO* info) = nullptr;
};
// Returns the calls in force before.
ShellTreeShell SetShellTreeShell(const ShellTreeShell& shell);

class CShellTreeCtrl : public CTreeCtrl
{
public:
    CShellTreeCtrl();
    ~CShellTreeCtrl() override;

    // Set-up and options.
    void SetFlags(DWORD flags);
    void SetShowFiles(BOOL show);
    void SetAllowDragDrop(BOOL allow) { m_bAllowDragDrop = allow; }
    void SetAllowRename(BOOL allow) { m_bAllowRename = allow; }
    void SetAllowOpen(BOOL allow) { m_bAllowOpen = allow; }
    void SetAllowProperties(BOOL allow) { m_bAllowProperties = allow; }
    void SetAllowDelete(BOOL allow) { m_bAllowDelete = allow; }
    void SetRootFolder(LPCTSTR path);
    const CString& GetRootFolder() const { return m_rootFolder; }
    const CString& GetFileMask() const { return m_fileMask; }
    const CString& GetChosenPath() const { return m_chosenPath; }
    BOOL IsDragging() const { return m_pDragImage != nullptr; }

    // Paths and items.
    CString GetSelectedPath() const;
    HTREEITEM SetSelectedPath(LPCTSTR path, BOOL expand);
    CString ItemToPath(HTREEITEM item) const;
    HTREEITEM FindChildItem(HTREEITEM parent, LPCTSTR text) const;
    HTREEITEM InsertFileItem(LPCTSTR text, LPCTSTR path, HTREEITEM parent);
    static BOOL IsFilePath(LPCTSTR path);
    static BOOL IsFolderPath(LPCTSTR path);
    static BOOL IsDrivePath(LPCTSTR path);
    BOOL IsFile(HTREEITEM item) const { return IsFilePath(ItemToPath(item)); }
    BOOL IsFolder(HTREEITEM item) const { return IsFolderPath(ItemToPath(item)); }
    BOOL IsDrive(HTREEITEM item) const { return IsDrivePath(ItemToPath(item)); }
    static int GetIconIndex(LPCTSTR path);
    static int GetSelIconIndex(LPCTSTR path);
    int GetItemImageIndex(HTREEITEM item) const;
    int GetItemSelImageIndex(HTREEITEM item) const;
    int GetCheck(HTREEITEM item) const;
    void SetCheck(HTREEITEM item, BOOL check);

    // Actions on an item; the On* command forms act on the selected item.
    void Rename(HTREEITEM item);
    BOOL ShowProperties(HTREEITEM item);
    void DeleteItem(HTREEITEM item);
    LRESULT Open(HTREEITEM item);
    void Refresh();
    void DisplayDrives(HTREEITEM parent, BOOL useRedraw);
    void DisplayPath(LPCTSTR path, HTREEITEM parent, BOOL useRedraw);
    BOOL HasSubFolders(LPCTSTR path) const;

    void OnRename() { Rename(GetSelectedItem()); }
    void OnProperties() { ShowProperties(GetSelectedItem()); }
    void OnDelete() { DeleteItem(GetSelectedItem()); }
    void OnOpen() { Open(GetSelectedItem()); }
    void OnUpOneLevel();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;

    // Enabling rules of the commands.
    void OnUpdateRename(CCmdUI* ui);
    void OnUpdateProperties(CCmdUI* ui);
    void OnUpdateOpen(CCmdUI* ui);
    void OnUpdateDelete(CCmdUI* ui);
    void OnUpdateUpOneLevel(CCmdUI* ui);

    void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnPostInit(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    // Drag and drop (ShellTreeDrag.cpp).
    BOOL IsValidDropTarget(HTREEITEM target) const;
    void EndDragging(BOOL cancel);
    HTREEITEM CopyBranch(HTREEITEM item, HTREEITEM newParent);
    void SetDragCursor(HTREEITEM target);

    int RunFileOperation(SHFILEOPSTRUCT& op) const;
    // A path as the shell's operations take it: ended by two zero characters.
    static std::vector<char> ShellPath(const CString& path);
    int ItemDepth(HTREEITEM item) const;

    CSystemImageList m_imageList;
    CString m_rootFolder;
    BOOL m_bShowFiles = TRUE;
    HTREEITEM m_hDragItem = nullptr;
    HTREEITEM m_hDropTarget = nullptr;
    CImageList* m_pDragImage = nullptr;
    UINT_PTR m_nDragTimer = 0;
    HCURSOR m_hCopyCursor;
    HCURSOR m_hNoCopyCursor;
    HCURSOR m_hMoveCursor;
    HCURSOR m_hNoMoveCursor;
    DWORD m_nExpandTicks = 0;
    BOOL m_bAllowDragDrop = FALSE;
    BOOL m_bAllowRename = FALSE;
    BOOL m_bAllowOpen = TRUE;
    BOOL m_bAllowProperties = TRUE;
    BOOL m_bAllowDelete = FALSE;
    BOOL m_bMaskFilter = TRUE;
    CString m_fileMask = ".EMF";
    CString m_chosenPath;
};

// Binds the dialog's tree control nIDC to `tree` (once; a control that cannot be bound
// raises the not-supported exception), then applies `flags`.
void DDX_ShellTree(CDataExchange* pDX, int nIDC, CShellTreeCtrl& tree, DWORD flags);
// Saving: `path` takes the selected path; loading: the path is selected (not expanded).
void DDX_ShellTreePath(CDataExchange* pDX, CShellTreeCtrl& tree, CString& path);

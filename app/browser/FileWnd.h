// The file and folder browser pane: a tree of the drives, their folders and the network on
// one side, the thumbnail list of the chosen folder beside or below it, an optional
// file-name box and a progress bar.  Its owner sets the options before Create and reads the
// chosen path afterwards, or, with NotifyParent, gets WM_USER+0x65 when a file is picked.
//
// The rules it keeps:
// - every option is set before Create; the window class "CFileWnd" is registered once and a
//   failed registration throws the resource exception;
// - drive types are probed and folders listed with the system's critical-error box off (an
//   empty removable drive asks nothing), the old error mode restored after;
// - tree items of network containers own a heap copy of their NETRESOURCE record; the pane
//   frees them, leaves first, when its window is destroyed;
// - the pane never trusts a posted button pointer: a grid button is used only while it lives;
// - the start folder opens whatever its ancestors' attributes: hidden folders on the way to
//   it join the tree (others stay out), and a start folder that is gone opens the nearest
//   folder on its path that exists.
#pragma once

#include "fw/fwwin.h"
#include "app/browser/SortedStringArray.h"
#include "app/browser/ThumbListCtrl.h"

class CFrostwellDoc;
class CHelpTipManager;

// Posted to the parent when, with NotifyParent, a file was picked in the list.
const UINT WM_FILE_PICKED = WM_USER + 0x65;
// Posted by a grid button opened with a double click (wParam the button).
const UINT WM_THUMBNAIL_OPENED = 0x3F2;
// The hint with which OK and Cancel have the document's views redrawn.
const LPARAM kFileWndRedrawHint = 13;

class CFileWnd : public CWnd
{
    DECLARE_DYNAMIC(CFileWnd)
public:
    enum ControlId {
        kListId = 1000,
        kTreeId = 1008,
        kNameId = 110,
        kProgressId = 111,
    };

    explicit CFileWnd(CFrostwellDoc* doc = nullptr);
    ~CFileWnd() override;

    // Options, before Create.
    void SetFolder(LPCTSTR folder) { m_strStartFolder = folder; }
    void SetSaveMode(BOOL save) { m_bSaveMode = save ? 1 : 0; }
    void SetThumbnailMode(int mode) { m_nThumbnailMode = mode; }
    void SetNotifyParent(BOOL notify) { m_bNotifyParent = notify ? 1 : 0; }
    void SetThumbnailSize(int width, int height);
    void SetDocument(CFrostwellDoc* doc) { m_pDoc = doc; }
    // In save mode the tree, the list and the name box show only while it is set.
    BYTE ShowControls;
    // The extension save mode forces: 0 ".ktb", 2 ".pap", any other ".png".
    int FileKind;

    // Registers the class "CFileWnd" when the process has none and creates the pane with
    // it (the class name given is not used).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, void* pContext = nullptr) override;

    // The start folder; after the pane was destroyed, the folder last browsed.
    const CString& GetFolder() const { return m_strStartFolder; }
    const CString& GetSelectedPath() const { return m_strSelectedPath; }
    const CString& GetListFolder() const { return m_strListFolder; }
    CThumbListCtrl& GetList() { return m_list; }
    CTreeCtrl& GetTree() { return m_tree; }

    // Reloads the list from its folder and forgets the file name.
    void Refresh();
    // The progress bar: shown at 0; one step (wrapping after 100); run to 99 and hidden.
    void StopProgress();
    void StepProgress();
    void FinishProgress();
    void RecalcLayout();
    // Lays the pane out and gives the list, the tree and the name box their help bubbles,
    // registered for the pane's parent dialog.
    void ApplySkin(CHelpTipManager* tips);
    // Confirms the typed or picked name: the selected path becomes the list folder and the
    // name (in save mode with the forced extension), in lower case.  FALSE, with nothing
    // changed, when there is no name.
    BOOL OnSaveOK();

    // The file browser's item text rule: a text without a lower-case letter is capitalised.
    static CString ItemText(const CString& text);
    // The names of the visible subfolders of `folder` (ending with a backslash), sorted
    // without regard to case.
    static void ListSubfolders(const CString& folder, CSortedStringArray& names);

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnTreeSelChanged(NMHDR* header, LRESULT* result);
    void OnTreeItemExpanding(NMHDR* header, LRESULT* result);
    LRESULT OnListChoice(WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonOpened(WPARAM wParam, LPARAM lParam);
    void OnOK();
    void OnCancel();
    DECLARE_MESSAGE_MAP()

private:
    static BOOL RegisterPaneClass();

    HTREEITEM AddItem(const CString& text, HTREEITEM parent, NETRESOURCE* record);
    void AddDrives();
    void OpenStartFolder();
    // The folder `name` below `parent` when it exists but the tree left it out (hidden):
    // added so that a start folder below it can be reached.
    HTREEITEM AddFolderOnTheWay(HTREEITEM parent, const CString& name);
    void ExpandItem(HTREEITEM item);
    void FillChildren(HTREEITEM item);
    void FillFromNetwork(HTREEITEM item, NETRESOURCE* record);
    void SetNoChildren(HTREEITEM item);
    NETRESOURCE* RecordOf(HTREEITEM item) const;
    CString ItemPath(HTREEITEM item) const;
    void LoadList();
    void RedrawDocument();
    void FreeTree();

    BYTE m_bNotifyParent;
    CEdit m_name;
    CFrostwellDoc* m_pDoc;
    CTreeCtrl m_tree;
    CString m_strFileName;
    CString m_strListFolder;
    CThumbListCtrl m_list;
    CString m_strSelectedPath;
    CString m_strDrives;
    HTREEITEM m_hNetworkRoot;
    CString m_strStartFolder;
    BYTE m_bSaveMode;
    int m_nThumbnailMode;
    BYTE m_bReady;
    int m_nThumbWidth;
    int m_nThumbHeight;
    CProgressCtrl m_progress;
    int m_nProgress;
};

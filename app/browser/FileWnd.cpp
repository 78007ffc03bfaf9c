#include "app/browser/FileWnd.h"

#include "app/browser/CriticalErrorsOff.h"
#include "app/browser/ThumbnailButton.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "ui/HelpTipManager.h"

#include <winnetwk.h>

#include <ctype.h>
#include <memory>
#include <string.h>

namespace {

const char kPaneClass[] = "CFileWnd";
const char kNetworkRootText[] = "Network Neighborhood";
// The network is read once per expansion into a buffer of this size.
const DWORD kNetworkBufferBytes = 64000;
const int kMaxNameChars = 256;

// Layout of the children (pixels).
const int kProgressHeight = 12;
const int kProgressGap = 2;
const int kAreaGap = 16; // the children's area ends this far above the bottom
const int kTreeWidth = 250;
const int kListLeft = 260;
const int kNameGap = 8;
const int kNameHeight = 22;
const int kNameSpace = 30; // taken from the tree's height for the name box

char* CopyText(LPCSTR text)
{
    if (text == nullptr)
        return nullptr;
    const size_t length = strlen(text) + 1;
    char* copy = new char[length];
    memcpy(copy, text, length);
    return copy;
}

// A copy of the record with copies of its four texts, owned by the tree item that carries it.
NETRESOURCE* MakeObjectDynamic(const NETRESOURCE& record)
{
    NETRESOURCE* copy = new NETRESOURCE(record);
    copy->lpLocalName = copy->lpRemoteName = copy->lpComment = copy->lpProvider = nullptr;
    try {
        copy->lpLocalName = CopyText(record.lpLocalName);
        copy->lpRemoteName = CopyText(record.lpRemoteName);
        copy->lpComment = CopyText(record.lpComment);
        copy->lpProvider = CopyText(record.lpProvider);
    } catch (...) {
        delete[] copy->lpLocalName;
        delete[] copy->lpRemoteName;
        delete[] copy->lpComment;
        delete copy;
        throw;
    }
    return copy;
}

void FreeRecord(NETRESOURCE* record)
{
    if (record == nullptr)
        return;
    delete[] record->lpLocalName;
    delete[] record->lpRemoteName;
    delete[] record->lpComment;
    delete[] record->lpProvider;
    delete record;
}

void MoveChild(CWnd& child, int left, int top, int right, int bottom)
{
    if (child.GetSafeHwnd() != nullptr)
        child.MoveWindow(left, top, right - left, bottom - top);
}

void ShowChild(CWnd& child, bool show)
{
    if (child.GetSafeHwnd() != nullptr)
        child.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

} // namespace

IMPLEMENT_DYNAMIC(CFileWnd, CWnd)

BEGIN_MESSAGE_MAP(CFileWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_NOTIFY(TVN_SELCHANGED, CFileWnd::kTreeId, &CFileWnd::OnTreeSelChanged)
    ON_NOTIFY(TVN_ITEMEXPANDING, CFileWnd::kTreeId, &CFileWnd::OnTreeItemExpanding)
    ON_MESSAGE(WM_THUMBNAIL_CHOSEN, &CFileWnd::OnListChoice)
    ON_MESSAGE(WM_THUMBNAIL_OPENED, &CFileWnd::OnButtonOpened)
    ON_COMMAND(IDOK, &CFileWnd::OnOK)
    ON_COMMAND(IDCANCEL, &CFileWnd::OnCancel)
END_MESSAGE_MAP()

CFileWnd::CFileWnd(CFrostwellDoc* doc)
    : ShowControls(0), FileKind(0), m_bNotifyParent(0), m_pDoc(doc), m_hNetworkRoot(nullptr), m_bSaveMode(0),
      m_nThumbnailMode(0), m_bReady(0), m_nThumbWidth(130), m_nThumbHeight(130), m_nProgress(0)
{}

CFileWnd::~CFileWnd()
{
    // Destroyed while the members live, so that the tree's records are freed.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CFileWnd::SetThumbnailSize(int width, int height)
{
    m_nThumbWidth = width;
    m_nThumbHeight = height;
}

BOOL CFileWnd::RegisterPaneClass()
{
    WNDCLASS wc = {};
    const HINSTANCE instance = AfxGetInstanceHandle();
    if (::GetClassInfo(instance, kPaneClass, &wc))
        return TRUE;
    wc = WNDCLASS();
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kPaneClass;
    return AfxRegisterClass(&wc);
}

BOOL CFileWnd::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                      void* pContext)
{
    if (!RegisterPaneClass())
        AfxThrowResourceException();
    return CWnd::Create(kPaneClass, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}

int CFileWnd::OnCreate(LPCREATESTRUCT cs)
{
    m_strSelectedPath.Empty();
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    SetWindowText("");
    m_strDrives = GetSetting("drives");

    const CRect none(0, 0, 0, 0);
    m_progress.Create(WS_CHILD | WS_BORDER, none, this, kProgressId);
    m_progress.SetRange(0, 100);
    if (!m_bNotifyParent)
        m_name.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, none, this, kNameId);

    // The owner's buttons, when the pane holds them.
    if (CWnd* ok = GetDlgItem(IDOK))
        ok->SetWindowText(GetLangText(m_bSaveMode ? "IDS_STRING445" : "IDS_STRINGOK"));
    if (CWnd* cancel = GetDlgItem(IDCANCEL))
        cancel->SetWindowText(GetLangText("IDS_STRINGCANCEL"));

    m_tree.Create(WS_CHILD | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                      TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP | TVS_INFOTIP | TVS_FULLROWSELECT,
                  none, this, kTreeId);
    m_list.Create(WS_CHILD | WS_BORDER | WS_TABSTOP, none, this, kListId);
    m_list.SetThumbnailSize(m_nThumbWidth, m_nThumbHeight);
    m_list.CreateImageList();

    AddDrives();
    if (m_strDrives.IsEmpty() || m_strDrives.Find("NETWORK") >= 0)
        m_hNetworkRoot = AddItem(kNetworkRootText, TVI_ROOT, nullptr);
    OpenStartFolder();

    m_bReady = 1;
    m_tree.ShowWindow(SW_SHOW);
    m_list.ShowWindow(SW_SHOW);
    LoadList();
    return 0;
}

void CFileWnd::AddDrives()
{
    // An empty removable drive would otherwise ask for a disk.
    CriticalErrorsOff quiet;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!m_strDrives.IsEmpty() && m_strDrives.Find(letter) < 0)
            continue;
        CString root;
        root.Format("%c:\\", letter);
        if (m_strListFolder.IsEmpty())
            m_strListFolder = root;
        const UINT type = ::GetDriveType(root);
        if (type >= DRIVE_REMOVABLE && type <= DRIVE_RAMDISK) {
            CString text;
            text.Format("%c:", letter);
            AddItem(text, TVI_ROOT, nullptr);
        }
    }
}

CString CFileWnd::ItemText(const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] >= 'a' && text[i] <= 'z')
            return text;
    CString shown = text;
    shown.MakeLower();
    if (!shown.IsEmpty())
        shown.SetAt(0, (char)toupper((unsigned char)shown[0]));
    return shown;
}

HTREEITEM CFileWnd::AddItem(const CString& text, HTREEITEM parent, NETRESOURCE* record)
{
    const CString shown = ItemText(text);
    TVINSERTSTRUCT insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM;
    insert.item.pszText = const_cast<LPSTR>((LPCSTR)shown);
    insert.item.cChildren = 1;
    insert.item.lParam = (LPARAM)record;
    HTREEITEM item = m_tree.InsertItem(&insert);
    if (item == nullptr)
        FreeRecord(record); // nothing carries it
    return item;
}

void CFileWnd::OpenStartFolder()
{
    HTREEITEM parent = TVI_ROOT;
    int start = 0;
    const CString& folder = m_strStartFolder;
    while (start <= folder.GetLength() && !folder.IsEmpty()) {
        int end = folder.Find('\\', start);
        if (end < 0)
            end = folder.GetLength();
        CString part = folder.Mid(start, end - start);
        if (start == 0 && part.IsEmpty())
            part = kNetworkRootText;
        if (!part.IsEmpty()) {
            HTREEITEM child = parent == TVI_ROOT ? m_tree.GetRootItem() : m_tree.GetChildItem(parent);
            for (; child != nullptr; child = m_tree.GetNextSiblingItem(child))
                if (m_tree.GetItemText(child).CompareNoCase(part) == 0)
                    break;
            if (child == nullptr)
                child = AddFolderOnTheWay(parent, part);
            if (child == nullptr) {
                // The rest of the path is gone: the pane opens the nearest folder that
                // exists, and says so through GetFolder.
                const HTREEITEM reached = m_tree.GetSelectedItem();
                if (reached != nullptr && reached != m_hNetworkRoot && RecordOf(reached) == nullptr)
                    m_strStartFolder = ItemPath(reached);
                return;
            }
            ExpandItem(child);
            m_tree.Expand(child, TVE_EXPAND);
            parent = child;
        }
        if (end >= folder.GetLength())
            break;
        start = end + 1;
    }
}

HTREEITEM CFileWnd::AddFolderOnTheWay(HTREEITEM parent, const CString& name)
{
    // Only folders of a drive or share: the network's own items come from the network.
    if (parent == TVI_ROOT || parent == m_hNetworkRoot || RecordOf(parent) != nullptr)
        return nullptr;
    if (name == "." || name == ".." || name.FindOneOf("*?") >= 0)
        return nullptr;
    CriticalErrorsOff quiet;
    WIN32_FIND_DATA found = {};
    HANDLE find = ::FindFirstFile(ItemPath(parent) + name, &found);
    if (find == INVALID_HANDLE_VALUE)
        return nullptr;
    ::FindClose(find);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return nullptr;
    // The parent may have been found empty of visible folders: it has one now.
    TVITEM tv = {};
    tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
    tv.hItem = parent;
    tv.cChildren = 1;
    m_tree.SetItem(&tv);
    return AddItem(found.cFileName, parent, nullptr);
}

void CFileWnd::ExpandItem(HTREEITEM item)
{
    if (m_tree.GetChildItem(item) == nullptr)
        FillChildren(item);
    if (m_tree.GetSelectedItem() != item)
        m_tree.SelectItem(item);
}

NETRESOURCE* CFileWnd::RecordOf(HTREEITEM item) const
{
    return item == nullptr ? nullptr : (NETRESOURCE*)m_tree.GetItemData(item);
}

void CFileWnd::SetNoChildren(HTREEITEM item)
{
    TVITEM tv = {};
    tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
    tv.hItem = item;
    tv.cChildren = 0;
    m_tree.SetItem(&tv);
}

void CFileWnd::FillChildren(HTREEITEM item)
{
    NETRESOURCE* record = RecordOf(item);
    if (item == m_hNetworkRoot || record != nullptr) {
        FillFromNetwork(item, record);
        return;
    }
    CSortedStringArray names;
    ListSubfolders(ItemPath(item), names);
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        AddItem(names[i], item, nullptr);
    if (names.GetSize() == 0)
        SetNoChildren(item);
}

void CFileWnd::ListSubfolders(const CString& folder, CSortedStringArray& names)
{
    names.RemoveAll();
    if (folder.IsEmpty())
        return;
    CriticalErrorsOff quiet;
    WIN32_FIND_DATA found = {};
    HANDLE find = ::FindFirstFile(folder + "*.*", &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0)
            continue;
        if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
            continue;
        names.Add(found.cFileName);
    } while (::FindNextFile(find, &found));
    ::FindClose(find);
    names.SetCompareFunction(&CompareTextNoCase);
    names.Sort(0, -1);
}

void CFileWnd::FillFromNetwork(HTREEITEM item, NETRESOURCE* record)
{
    HANDLE enumeration = nullptr;
    const DWORD opened = record != nullptr
                             ? ::WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, record, &enumeration)
                             : ::WNetOpenEnum(RESOURCE_CONTEXT, RESOURCETYPE_ANY, 0, nullptr, &enumeration);
    int added = 0;
    if (opened == NO_ERROR) {
        std::unique_ptr<BYTE[]> buffer(new BYTE[kNetworkBufferBytes]());
        DWORD count = (DWORD)-1;
        DWORD size = kNetworkBufferBytes;
        if (::WNetEnumResource(enumeration, &count, buffer.get(), &size) == NO_ERROR) {
            // The entries fit the buffer by construction; their count is capped by it too.
            const DWORD fit = kNetworkBufferBytes / sizeof(NETRESOURCE);
            const NETRESOURCE* entries = (const NETRESOURCE*)buffer.get();
            for (DWORD i = 0; i < count && i < fit; ++i) {
                const NETRESOURCE& entry = entries[i];
                CString name = entry.lpRemoteName != nullptr ? entry.lpRemoteName : "";
                if (name.IsEmpty() && entry.lpComment != nullptr)
                    name = entry.lpComment;
                for (int cut = 0; cut < 2 && !name.IsEmpty() && name[0] == '\\'; ++cut)
                    name = name.Mid(1);
                if (entry.dwDisplayType == RESOURCEDISPLAYTYPE_SHARE) {
                    const int slash = name.Find('\\');
                    if (AddItem(slash >= 0 ? name.Mid(slash + 1) : name, item, nullptr) != nullptr)
                        ++added;
                } else if (AddItem(name, item, MakeObjectDynamic(entry)) != nullptr) {
                    ++added;
                }
            }
        }
        ::WNetCloseEnum(enumeration);
    }
    if (added == 0)
        SetNoChildren(item);
}

CString CFileWnd::ItemPath(HTREEITEM item) const
{
    CString path;
    for (; item != nullptr; item = m_tree.GetParentItem(item)) {
        if (const NETRESOURCE* record = RecordOf(item)) {
            path = CString(record->lpRemoteName != nullptr ? record->lpRemoteName : "") + "\\" + path;
            break;
        }
        path = m_tree.GetItemText(item) + "\\" + path;
    }
    return path;
}

void CFileWnd::OnTreeItemExpanding(NMHDR* header, LRESULT* result)
{
    const NMTREEVIEW* change = (const NMTREEVIEW*)header;
    if (change->action == TVE_EXPAND && change->itemNew.hItem != nullptr)
        ExpandItem(change->itemNew.hItem);
    *result = 0;
}

void CFileWnd::OnTreeSelChanged(NMHDR* header, LRESULT* result)
{
    const NMTREEVIEW* change = (const NMTREEVIEW*)header;
    HTREEITEM item = change->itemNew.hItem;
    *result = 0;
    if (item == nullptr || item == m_hNetworkRoot || RecordOf(item) != nullptr)
        return;
    m_strListFolder = ItemPath(item);
    if (m_bReady) {
        m_strStartFolder = m_strListFolder;
        LoadList();
    }
}

void CFileWnd::LoadList()
{
    if (m_list.GetSafeHwnd() == nullptr)
        return;
    CriticalErrorsOff quiet;
    m_list.LoadFolder(m_strListFolder, "*.*", FALSE, m_nThumbnailMode);
}

void CFileWnd::Refresh()
{
    LoadList();
    m_strFileName.Empty();
}

LRESULT CFileWnd::OnListChoice(WPARAM, LPARAM)
{
    m_strSelectedPath = m_list.GetChosenPath();
    m_strFileName = m_strSelectedPath.Mid(m_strSelectedPath.ReverseFind('\\') + 1);
    if (!m_bNotifyParent)
        m_name.SetWindowText(m_strFileName);
    else if (CWnd* parent = GetParent())
        parent->PostMessage(WM_FILE_PICKED, 0, 0);
    return 0;
}

LRESULT CFileWnd::OnButtonOpened(WPARAM wParam, LPARAM)
{
    // A posted pointer: the grid may have deleted the button since.
    const CThumbnailButton* button = CThumbnailButton::FromPosted(wParam);
    if (button == nullptr)
        return 0;
    m_strSelectedPath = m_strListFolder + button->GetFileName();
    m_strSelectedPath.MakeLower();
    // The opened file is the name OK confirms, not one picked before it.
    m_strFileName = button->GetFileName();
    if (!m_bNotifyParent)
        m_name.SetWindowText(m_strFileName);
    else
        OnOK();
    return 0;
}

BOOL CFileWnd::OnSaveOK()
{
    // The box shows the picked name and whatever was typed over it since: it is the name.
    if (m_name.GetSafeHwnd() != nullptr) {
        char typed[kMaxNameChars + 1] = {};
        m_name.GetWindowText(typed, kMaxNameChars + 1);
        m_strFileName = typed;
    }
    if (m_strFileName.IsEmpty())
        return FALSE;
    CString name = m_strFileName;
    if (m_bSaveMode) {
        const int dot = name.ReverseFind('.');
        if (dot >= 0)
            name = name.Left(dot);
        name += FileKind == 0 ? ".ktb" : (FileKind == 2 ? ".pap" : ".png");
    }
    m_strSelectedPath = m_strListFolder + name;
    m_strSelectedPath.MakeLower();
    return TRUE;
}

void CFileWnd::RedrawDocument()
{
    if (m_pDoc == nullptr)
        return;
    m_pDoc->SetRedrawFlag();
    m_pDoc->UpdateAllViews(nullptr, kFileWndRedrawHint);
}

void CFileWnd::OnOK()
{
    if (OnSaveOK())
        RedrawDocument();
}

void CFileWnd::OnCancel() { RedrawDocument(); }

void CFileWnd::StopProgress()
{
    if (m_progress.GetSafeHwnd() != nullptr)
        m_progress.ShowWindow(SW_SHOW);
    m_nProgress = 0;
}

void CFileWnd::StepProgress()
{
    if (m_progress.GetSafeHwnd() == nullptr)
        return;
    m_progress.SetPos(m_nProgress);
    ++m_nProgress;
    m_progress.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (m_nProgress > 100)
        m_nProgress = 0;
}

void CFileWnd::FinishProgress()
{
    if (m_progress.GetSafeHwnd() == nullptr)
        return;
    for (int value = m_nProgress; value < 100; ++value) {
        m_progress.SetPos(value);
        m_progress.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    m_progress.ShowWindow(SW_HIDE);
}

void CFileWnd::RecalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    const int barBottom = client.bottom - kProgressGap;
    MoveChild(m_progress, 0, barBottom - kProgressHeight, width, barBottom);
    const int area = client.bottom - kAreaGap;
    if (!m_bNotifyParent && m_bSaveMode) {
        const int treeBottom = area - kNameSpace;
        MoveChild(m_tree, 0, 0, kTreeWidth, treeBottom);
        MoveChild(m_list, kListLeft, 0, width, area);
        MoveChild(m_name, 0, treeBottom + kNameGap, kTreeWidth, treeBottom + kNameGap + kNameHeight);
    } else if (m_bNotifyParent) {
        MoveChild(m_tree, 0, 0, width, area / 3 - 1);
        MoveChild(m_list, 0, area / 3 + 1, width, area);
    } else {
        MoveChild(m_tree, 0, 0, kTreeWidth, area);
        MoveChild(m_list, kListLeft, 0, width, area);
    }
    if (!m_bNotifyParent)
        ShowChild(m_name, m_bSaveMode != 0 && ShowControls != 0);
    if (m_bSaveMode) {
        ShowChild(m_tree, ShowControls != 0);
        ShowChild(m_list, ShowControls != 0);
    }
}

void CFileWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}

void CFileWnd::OnPaint()
{
    // The children cover the pane.
    CPaintDC dc(this);
}

void CFileWnd::ApplySkin(CHelpTipManager* tips)
{
    RecalcLayout();
    if (tips == nullptr)
        return;
    CWnd* dialog = GetParent();
    tips->AddHelpTool(dialog, &m_list, "FILE_LIST");
    tips->AddHelpTool(dialog, &m_tree, "FILE_TREE");
    if (m_name.GetSafeHwnd() != nullptr)
        tips->AddHelpTool(dialog, &m_name, "FILE_NAME");
}

void CFileWnd::OnDestroy()
{
    m_bReady = 0;
    if (HTREEITEM selected = m_tree.GetSelectedItem())
        m_strStartFolder = ItemPath(selected);
    FreeTree();
    CWnd::OnDestroy();
}

void CFileWnd::FreeTree()
{
    if (m_tree.GetSafeHwnd() == nullptr)
        return;
    HTREEITEM item = m_tree.GetRootItem();
    while (item != nullptr) {
        if (HTREEITEM child = m_tree.GetChildItem(item)) {
            item = child;
            continue;
        }
        HTREEITEM next = m_tree.GetNextSiblingItem(item);
        if (next == nullptr)
            next = m_tree.GetPrevSiblingItem(item);
        if (next == nullptr)
            next = m_tree.GetParentItem(item);
        NETRESOURCE* record = RecordOf(item);
        m_tree.DeleteItem(item);
        FreeRecord(record);
        item = next;
    }
    m_hNetworkRoot = nullptr;
}

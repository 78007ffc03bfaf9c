// The shell folder tree in a dialog, used as a person uses it: drives in letter order,
// folders first and files by the mask, the chosen path sent on a click and on Enter, label
// edit, Delete and drag and drop acting on the disk through the shell (and surviving the
// shell's failures), the popup menu's enabling rules, and two trees alive at once both
// showing the shell's icons.
#include "app/browser/ShellTreeCtrl.h"
#include "app/browser/tests/shell_tree_test_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/DibSurface.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------
// Fixture folders

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = path + "\\" + name;
            ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                ::DeleteFileA(full.c_str());
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(path.c_str());
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A fresh folder under the test's working folder holding `entries`: a name ending in "/"
// is a folder, "*" before a name makes it hidden, anything else is a small file.
std::string MakeFolder(const char* name, const std::vector<std::string>& entries)
{
    char cwd[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string root = std::string(cwd) + "\\" + name;
    RemoveTree(root);
    EXPECT_TRUE(::CreateDirectoryA(root.c_str(), nullptr)) << root;
    for (std::string entry : entries) {
        const bool hidden = entry[0] == '*';
        if (hidden)
            entry = entry.substr(1);
        for (char& c : entry)
            if (c == '/')
                c = '\\';
        const bool folder = entry.back() == '\\';
        const std::string full = root + "\\" + (folder ? entry.substr(0, entry.size() - 1) : entry);
        if (folder) {
            EXPECT_TRUE(::CreateDirectoryA(full.c_str(), nullptr)) << full;
        } else {
            HANDLE file = ::CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            EXPECT_NE(INVALID_HANDLE_VALUE, file) << full;
            DWORD written = 0;
            ::WriteFile(file, "cake", 4, &written, nullptr);
            ::CloseHandle(file);
        }
        if (hidden)
            ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    return root;
}

// ---------------------------------------------------------------------------------------
// The shell's operations, watched

struct ShellCall
{
    UINT func;
    std::string from, to;
    FILEOP_FLAGS flags;
};

struct ExecuteCall
{
    std::string verb, file;
    int show;
    ULONG mask;
};

std::vector<ShellCall> g_calls;
std::vector<ExecuteCall> g_executes;
int g_failWith = 0;   // an error the shell reports instead of working
bool g_abort = false; // the user stopped the operation
bool g_passOn = true; // otherwise: the real shell does the work

int WatchedFileOperation(SHFILEOPSTRUCT* op)
{
    g_calls.push_back({op->wFunc, op->pFrom ? op->pFrom : "", op->pTo ? op->pTo : "", op->fFlags});
    if (g_failWith)
        return g_failWith;
    if (g_abort) {
        op->fAnyOperationsAborted = TRUE;
        return 0;
    }
    return g_passOn ? ::SHFileOperation(op) : 0;
}

BOOL FailingExecute(SHELLEXECUTEINFO* info)
{
    g_executes.push_back(
        {info->lpVerb ? info->lpVerb : "", info->lpFile ? info->lpFile : "", info->nShow, info->fMask});
    ::SetLastError(ERROR_NO_ASSOCIATION);
    return FALSE;
}

// Installs the watchers for a test's life; the real shell still works unless told otherwise.
struct ShellWatch
{
    ShellTreeShell old;
    ShellWatch()
    {
        g_calls.clear();
        g_executes.clear();
        g_failWith = 0;
        g_abort = false;
        g_passOn = true;
        ShellTreeShell watched;
        watched.fileOperation = &WatchedFileOperation;
        watched.execute = &FailingExecute;
        old = SetShellTreeShell(watched);
    }
    ~ShellWatch() { SetShellTreeShell(old); }
};

// ---------------------------------------------------------------------------------------
// The dialog

class TreeDialog : public CDialog
{
public:
    explicit TreeDialog(DWORD flags) : CDialog(IDD_T_SHELLTREE), m_flags(flags) {}
    CShellTreeCtrl tree;
    std::vector<std::string> opened; // the paths of WM_SHELLTREE_OPEN
    bool withPath = false;           // the path is exchanged too
    CString path;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_ShellTree(pDX, IDC_T_SHELLTREE, tree, m_flags);
        if (withPath)
            DDX_ShellTreePath(pDX, tree, path);
    }
    LRESULT OnOpenPath(WPARAM w, LPARAM l)
    {
        EXPECT_EQ(0, l);
        opened.push_back(w ? (LPCTSTR)w : "(null)");
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    DWORD m_flags;
};

BEGIN_MESSAGE_MAP(TreeDialog, CDialog)
    ON_MESSAGE(WM_SHELLTREE_OPEN, &TreeDialog::OnOpenPath)
END_MESSAGE_MAP()

const DWORD kAll =
    STF_SHOWFILES | STF_ALLOWDRAGDROP | STF_ALLOWRENAME | STF_ALLOWOPEN | STF_ALLOWPROPERTIES | STF_ALLOWDELETE;

// The dialog, shown at (x, y), its tree filled and given the shell's icons.
std::unique_ptr<TreeDialog> OpenTree(DWORD flags, const std::string& root, int x = 40, int y = 40,
                                     const char* path = nullptr)
{
    EnsureTestApp();
    auto dlg = std::make_unique<TreeDialog>(flags);
    dlg->withPath = path != nullptr;
    dlg->path = path ? path : "";
    dlg->tree.SetRootFolder(root.c_str());
    EXPECT_TRUE(dlg->Create(IDD_T_SHELLTREE, nullptr));
    ::SetWindowPos(dlg->m_hWnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_TRUE(PumpUntil([&] { return dlg->tree.GetImageList(TVSIL_NORMAL) != nullptr; }));
    PumpPending();
    return dlg;
}

void CloseTree(std::unique_ptr<TreeDialog>& dlg)
{
    if (dlg && dlg->m_hWnd)
        dlg->DestroyWindow();
    dlg.reset();
}

std::vector<std::string> Children(const CShellTreeCtrl& tree, HTREEITEM parent)
{
    std::vector<std::string> texts;
    for (HTREEITEM h = tree.GetChildItem(parent ? parent : TVI_ROOT); h; h = tree.GetNextSiblingItem(h))
        texts.push_back((LPCTSTR)tree.GetItemText(h));
    return texts;
}

// A key as the keyboard gives it to the tree (through the message loop's pre-translation).
void Key(HWND wnd, UINT vk, bool system = false)
{
    ::PostMessage(wnd, system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 0x00000001 | (system ? 0x20000000 : 0));
    ::PostMessage(wnd, system ? WM_SYSKEYUP : WM_KEYUP, vk, (LPARAM)(0xC0000001u | (system ? 0x20000000 : 0)));
    PumpPending();
}

// The centre of an item's text, in the tree's client coordinates.
CPoint ItemPoint(const CShellTreeCtrl& tree, HTREEITEM item)
{
    CRect rect;
    EXPECT_TRUE(tree.GetItemRect(item, &rect, TRUE));
    return rect.CenterPoint();
}

// The pointer is put where the mouse would be, then the buttons act there.
void PointerAt(const CShellTreeCtrl& tree, CPoint client)
{
    CPoint screen = client;
    tree.ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
}

void Click(CShellTreeCtrl& tree, HTREEITEM item)
{
    const CPoint at = ItemPoint(tree, item);
    PointerAt(tree, at);
    tree.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    tree.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    PumpPending();
}

// Presses on `from`, moves past the drag threshold and on over `to`, the button still down.
void DragOver(CShellTreeCtrl& tree, HTREEITEM from, HTREEITEM to)
{
    const CPoint start = ItemPoint(tree, from), end = ItemPoint(tree, to);
    PointerAt(tree, start);
    tree.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    tree.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 12, start.y + 3));
    PumpPending();
    PointerAt(tree, end);
    tree.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end.x, end.y));
    PumpPending();
}

// Lets go where the pointer is.
void Release(CShellTreeCtrl& tree)
{
    CPoint at;
    ::GetCursorPos(&at);
    tree.ScreenToClient(&at);
    tree.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    PumpUntil([&] { return !tree.IsDragging(); });
}

void Drag(CShellTreeCtrl& tree, HTREEITEM from, HTREEITEM to)
{
    DragOver(tree, from, to);
    Release(tree);
}

// Holds Ctrl in this thread's keyboard state for a scope.
struct CtrlHeld
{
    BYTE keys[256];
    CtrlHeld()
    {
        ::GetKeyboardState(keys);
        BYTE held[256];
        memcpy(held, keys, sizeof held);
        held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
        ::SetKeyboardState(held);
    }
    ~CtrlHeld() { ::SetKeyboardState(keys); }
};

} // namespace

// ---------------------------------------------------------------------------------------

TEST(ShellTree, DrivesInLetterOrderAndNothingHappensToADrive)
{
    ShellWatch watch;
    const std::string root = MakeFolder("tree_drives", {"cake.EMF"});
    auto dlg = OpenTree(kAll, "");
    CShellTreeCtrl& tree = dlg->tree;

    std::vector<std::string> expected;
    const DWORD drives = ::GetLogicalDrives();
    for (int bit = 0; bit < 26; ++bit)
        if (drives & (1u << bit))
            expected.push_back(std::string(1, char('A' + bit)) + ":\\");
    EXPECT_EQ(expected, Children(tree, nullptr));
    ASSERT_FALSE(expected.empty());

    HTREEITEM drive = tree.SetSelectedPath("C:\\", FALSE);
    ASSERT_NE(nullptr, drive);
    EXPECT_EQ(drive, tree.GetSelectedItem());
    EXPECT_EQ(CString("C:\\"), tree.GetSelectedPath());

    // F2 and Delete on a drive: no edit, no shell call.
    Key(tree, VK_F2);
    EXPECT_EQ(nullptr, tree.GetEditControl());
    Key(tree, VK_DELETE);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(expected, Children(tree, nullptr));

    // The same keys on a file, walked to through the drive it lies on: an edit, then the
    // shell's delete (failing here: the item stays).
    const CString file = CString(root.c_str()) + "\\cake.EMF";
    HTREEITEM item = tree.SetSelectedPath(file, FALSE);
    ASSERT_NE(nullptr, item) << (LPCTSTR)file;
    EXPECT_EQ(file, tree.GetSelectedPath());
    Key(tree, VK_F2);
    ASSERT_NE(nullptr, tree.GetEditControl());
    Key(tree.GetEditControl()->m_hWnd, VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return tree.GetEditControl() == nullptr; }));
    EXPECT_TRUE(Exists(root + "\\cake.EMF"));
    g_failWith = ERROR_ACCESS_DENIED;
    Key(tree, VK_DELETE);
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ((UINT)FO_DELETE, g_calls[0].func);
    EXPECT_EQ(std::string((LPCTSTR)file), g_calls[0].from);
    EXPECT_EQ(CString("cake.EMF"), tree.GetItemText(item));
    CloseTree(dlg);
}

TEST(ShellTree, FoldersFirstSortedWithoutCaseAndFilesByTheMask)
{
    const std::string root =
        MakeFolder("tree_listing", {"beta/", "Alpha/", "*hidden folder/", "DATA/", "gamma/", "gamma/notes.txt",
                                    "gamma/shot.emf", "b.EMF", "A.EMF", "c.emf", "d.txt", "*secret.EMF"});
    auto dlg = OpenTree(kAll, root);
    CShellTreeCtrl& tree = dlg->tree;
    // Hidden folders are listed, hidden files never; ".EMF" only as written or upper case.
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "DATA", "gamma", "hidden folder", "A.EMF", "b.EMF"}),
              Children(tree, nullptr));

    // A folder of files that all miss the mask offers to expand and gives nothing.
    HTREEITEM gamma = tree.FindChildItem(nullptr, "GAMMA");
    ASSERT_NE(nullptr, gamma);
    EXPECT_TRUE(tree.ItemHasChildren(gamma));
    tree.Expand(gamma, TVE_EXPAND);
    EXPECT_TRUE(Children(tree, gamma).empty());
    // An empty folder has nothing to expand.
    EXPECT_FALSE(tree.ItemHasChildren(tree.FindChildItem(nullptr, "beta")));

    // The root folder with and without its backslash gives the same paths.
    HTREEITEM a = tree.SetSelectedPath((root + "\\a.emf").c_str(), FALSE);
    ASSERT_NE(nullptr, a);
    const CString withoutSlash = tree.ItemToPath(a);
    EXPECT_EQ(CString((root + "\\A.EMF").c_str()), withoutSlash);
    tree.SetRootFolder((root + "\\").c_str());
    EXPECT_EQ(CString(root.c_str()), tree.GetRootFolder());
    a = tree.SetSelectedPath((root + "\\A.EMF\\").c_str(), FALSE);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(withoutSlash, tree.ItemToPath(a));
    // Paths outside the root, empty, the root itself and an unknown segment select nothing.
    for (const std::string& outside :
         {std::string("C:\\"), std::string(), root, root + "x\\A.EMF", root + "\\nowhere\\A.EMF"})
        EXPECT_EQ(nullptr, tree.SetSelectedPath(outside.c_str(), FALSE)) << outside;
    CloseTree(dlg);
}

// Folders below hidden ones (one hidden by its leading dot, one by its attribute) are
// reached from the drives, and one of them serves as the root folder.
TEST(ShellTree, FoldersBelowHiddenOnesAreReachedAndServeAsRoot)
{
    const std::string top =
        MakeFolder("tree_hidden", {".dot/", "*.dot/Hid/", ".dot/Hid/pics/", ".dot/Hid/pics/cake.EMF"});
    const std::string hid = top + "\\.dot\\Hid", file = hid + "\\pics\\cake.EMF";
    for (const std::string& hidden : {top + "\\.dot", hid})
        ASSERT_NE(0u, ::GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN) << hidden << " is hidden";
    for (const std::string& root : {std::string(), hid}) {
        SCOPED_TRACE(root.empty() ? "from the drives" : "as the root folder");
        auto dlg = OpenTree(kAll, root);
        CShellTreeCtrl& tree = dlg->tree;
        if (!root.empty()) {
            EXPECT_EQ(std::vector<std::string>{"pics"}, Children(tree, nullptr));
        }
        HTREEITEM item = tree.SetSelectedPath(file.c_str(), FALSE);
        EXPECT_NE(nullptr, item) << file;
        EXPECT_EQ(item, tree.GetSelectedItem());
        EXPECT_EQ(0, CString(file.c_str()).CompareNoCase(tree.GetSelectedPath())) << (LPCTSTR)tree.GetSelectedPath();
        CloseTree(dlg);
    }
    RemoveTree(top);
}

TEST(ShellTree, DialogDataExchangeBindsTheTreeAndItsPath)
{
    const std::string root = MakeFolder("tree_ddx", {"Photos/", "Photos/cake.EMF", "other.EMF"});
    const std::string file = root + "\\Photos\\cake.EMF";
    auto dlg = OpenTree(kAll, root, 40, 40, file.c_str());
    CShellTreeCtrl& tree = dlg->tree;
    // Loading selected the path (the folders on the way opened); the posted first filling kept it.
    EXPECT_EQ(CString(file.c_str()), tree.GetSelectedPath());
    EXPECT_EQ(tree.FindChildItem(tree.FindChildItem(nullptr, "photos"), "CAKE.emf"), tree.GetSelectedItem());
    // Saving reads the selection back.
    tree.SelectItem(tree.FindChildItem(nullptr, "other.EMF"));
    EXPECT_TRUE(dlg->UpdateData(TRUE));
    EXPECT_EQ(CString((root + "\\other.EMF").c_str()), dlg->path);
    CloseTree(dlg);

    // A dialog without the control cannot bind the tree: the not-supported exception.
    EnsureTestApp();
    CDialog plain(IDD_T_SHELLTREE);
    ASSERT_TRUE(plain.Create(IDD_T_SHELLTREE, nullptr));
    CShellTreeCtrl unbound;
    CDataExchange dx(&plain, FALSE);
    bool thrown = false;
    try {
        DDX_ShellTree(&dx, IDC_T_SHELLTREE + 1, unbound, kAll);
    } catch (CNotSupportedException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(nullptr, unbound.m_hWnd);
    // Positive control: the control that is there binds.
    DDX_ShellTree(&dx, IDC_T_SHELLTREE, unbound, kAll);
    EXPECT_NE(nullptr, unbound.m_hWnd);
    plain.DestroyWindow();
}

TEST(ShellTree, ClickChoosesAFileAndEnterSendsTheChosenPath)
{
    const std::string root =
        MakeFolder("tree_choose", {"0pad/", "aa/", "aa/inside.EMF", "bb/", "one.EMF", "two.EMF", "three.EMF"});
    auto dlg = OpenTree(kAll, root);
    CShellTreeCtrl& tree = dlg->tree;
    HTREEITEM folder = tree.FindChildItem(nullptr, "aa");
    HTREEITEM one = tree.FindChildItem(nullptr, "one.EMF");
    HTREEITEM three = tree.FindChildItem(nullptr, "three.EMF");
    ASSERT_TRUE(folder && one && three);

    // A folder with something to expand is only selected (the first row, which the tree may
    // select when it takes the focus, is a pad: a click on a selected label edits it).
    Click(tree, folder);
    ASSERT_EQ(folder, tree.GetSelectedItem()) << "the click did not reach the tree";
    EXPECT_TRUE(dlg->opened.empty());
    // A file is chosen and sent.
    Click(tree, one);
    ASSERT_EQ(one, tree.GetSelectedItem());
    EXPECT_EQ((std::vector<std::string>{root + "\\one.EMF"}), dlg->opened);
    // The arrow moves the selection under a resting pointer: the choice stays, Enter sends it.
    Key(tree, VK_DOWN);
    EXPECT_EQ(three, tree.GetSelectedItem());
    Key(tree, VK_RETURN);
    EXPECT_EQ((std::vector<std::string>{root + "\\one.EMF", root + "\\one.EMF"}), dlg->opened);
    // Backspace goes up one level: from inside "aa" back to it.
    HTREEITEM inside = tree.SetSelectedPath((root + "\\aa\\inside.EMF").c_str(), FALSE);
    ASSERT_NE(nullptr, inside);
    Key(tree, VK_BACK);
    EXPECT_EQ(folder, tree.GetSelectedItem());
    CloseTree(dlg);
}

TEST(ShellTree, LabelEditRenamesTheFileOnDisk)
{
    ShellWatch watch;
    const std::string root = MakeFolder("tree_rename", {"folder/", "old.EMF", "keep.EMF"});
    auto dlg = OpenTree(kAll, root);
    CShellTreeCtrl& tree = dlg->tree;

    // Types the new label and presses Enter in the tree's edit.
    auto editTo = [&](HTREEITEM item, const char* text) {
        tree.SelectItem(item);
        Key(tree, VK_F2);
        CEdit* edit = tree.GetEditControl();
        if (!edit) {
            ADD_FAILURE() << "F2 started no edit";
            return;
        }
        const HWND editWnd = edit->m_hWnd;
        ::SendMessage(editWnd, EM_SETSEL, 0, -1);
        for (const char* c = text; *c; ++c)
            ::SendMessage(editWnd, WM_CHAR, (BYTE)*c, 1);
        Key(editWnd, VK_RETURN);
        EXPECT_TRUE(PumpUntil([&] { return tree.GetEditControl() == nullptr; }));
    };

    HTREEITEM item = tree.FindChildItem(nullptr, "old.EMF");
    ASSERT_NE(nullptr, item);
    editTo(item, "new.EMF");
    EXPECT_FALSE(Exists(root + "\\old.EMF"));
    EXPECT_TRUE(Exists(root + "\\new.EMF"));
    EXPECT_EQ(CString("new.EMF"), tree.GetItemText(item));
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ((UINT)FO_RENAME, g_calls[0].func);
    EXPECT_EQ(root + "\\new.EMF", g_calls[0].to);
    EXPECT_NE(0, g_calls[0].flags & FOF_ALLOWUNDO);

    // The shell fails or the user stops it: the old text and the file stay.
    for (int failure : {0, 1}) {
        g_failWith = failure ? ERROR_ALREADY_EXISTS : 0;
        g_abort = !failure;
        HTREEITEM keep = tree.FindChildItem(nullptr, "keep.EMF");
        ASSERT_NE(nullptr, keep);
        editTo(keep, "gone.EMF");
        EXPECT_EQ(CString("keep.EMF"), tree.GetItemText(keep));
        EXPECT_TRUE(Exists(root + "\\keep.EMF"));
    }
    EXPECT_EQ(3u, g_calls.size());

    // An edit started directly (a click on a selected label) keeps the rules of F2: refused
    // while renaming is not allowed.
    tree.SetAllowRename(FALSE);
    tree.SelectItem(item);
    EXPECT_EQ(nullptr, tree.EditLabel(item));
    EXPECT_EQ(nullptr, tree.GetEditControl());
    tree.SetAllowRename(TRUE);
    ASSERT_NE(nullptr, tree.EditLabel(item)); // positive control
    tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE);
    CloseTree(dlg);
}

TEST(ShellTree, DeleteAsksTheShellAndRemovesTheItem)
{
    ShellWatch watch;
    const std::string root = MakeFolder("tree_delete", {"crumbs.EMF", "stays.EMF"});
    auto dlg = OpenTree(kAll, root);
    CShellTreeCtrl& tree = dlg->tree;

    // The shell's question is answered yes.
    std::vector<std::string> titles;
    {
        // The driver sees the tree's own dialog too: that one is left alone.
        DialogDriver driver(DialogDriver::EveryDialog{}, [&](HWND question) {
            if (question == dlg->m_hWnd)
                return;
            titles.push_back((LPCTSTR)WindowText(question));
            ::PostMessage(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), (LPARAM)::GetDlgItem(question, IDYES));
        });
        tree.SelectItem(tree.FindChildItem(nullptr, "crumbs.EMF"));
        Key(tree, VK_DELETE);
        EXPECT_TRUE(PumpUntil([&] { return !Exists(root + "\\crumbs.EMF"); }));
        EXPECT_FALSE(titles.empty()) << "the shell asked nothing";
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    EXPECT_EQ(nullptr, tree.FindChildItem(nullptr, "crumbs.EMF"));
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_NE(0, g_calls[0].flags & FOF_ALLOWUNDO); // into the recycle bin

    // Refused or stopped: the file and its item stay.
    HTREEITEM stays = tree.FindChildItem(nullptr, "stays.EMF");
    for (int failure : {0, 1}) {
        g_failWith = failure ? ERROR_ACCESS_DENIED : 0;
        g_abort = !failure;
        tree.SelectItem(stays);
        Key(tree, VK_DELETE);
        EXPECT_EQ(stays, tree.FindChildItem(nullptr, "stays.EMF"));
        EXPECT_TRUE(Exists(root + "\\stays.EMF"));
    }
    EXPECT_EQ(3u, g_calls.size());
    // Not allowed: no call at all.
    tree.SetAllowDelete(FALSE);
    Key(tree, VK_DELETE);
    EXPECT_EQ(3u, g_calls.size());
    CloseTree(dlg);
}

TEST(ShellTree, DropMovesOrCopiesAFolderAndRefusesItsOwnPlaces)
{
    ShellWatch watch;
    // Two padding folders keep the drop rows away from the top edge, where a waiting
    // pointer scrolls the tree.
    const std::string root = MakeFolder("tree_drop", {"a1/", "a2/", "box/", "box/inner/", "box/inner/x.EMF", "target/",
                                                      "target/old.EMF", "z1/", "z2/", "z3/"});
    auto dlg = OpenTree(kAll, root);
    CShellTreeCtrl& tree = dlg->tree;
    HTREEITEM box = tree.FindChildItem(nullptr, "box");
    ASSERT_NE(nullptr, box);
    tree.Expand(box, TVE_EXPAND);
    HTREEITEM inner = tree.FindChildItem(box, "inner");
    ASSERT_NE(nullptr, inner);

    // On itself, on its parent, into its own sub folder: nothing happens (and a call to the
    // shell, if one came, would be recorded, not carried out).
    g_passOn = false;
    struct Refused
    {
        const char* what;
        HTREEITEM dragged, target;
    } refused[] = {{"itself", box, box}, {"its parent", inner, box}, {"its own sub folder", box, inner}};
    for (const Refused& r : refused) {
        Drag(tree, r.dragged, r.target);
        EXPECT_FALSE(tree.IsDragging()) << r.what;
        EXPECT_TRUE(g_calls.empty()) << r.what;
        EXPECT_TRUE(Exists(root + "\\box\\inner\\x.EMF")) << r.what;
        EXPECT_EQ(nullptr, tree.GetDropHilightItem()) << r.what;
    }

    // With Ctrl on another folder: a copy.
    g_passOn = true;
    HTREEITEM target = tree.FindChildItem(nullptr, "target");
    ASSERT_NE(nullptr, target);
    {
        CtrlHeld ctrl;
        Drag(tree, inner, target);
    }
    ASSERT_EQ(1u, g_calls.size()) << "the drag did not reach the shell";
    EXPECT_EQ((UINT)FO_COPY, g_calls[0].func);
    EXPECT_EQ(root + "\\target", g_calls[0].to);
    EXPECT_TRUE(Exists(root + "\\target\\inner\\x.EMF"));
    EXPECT_TRUE(Exists(root + "\\box\\inner\\x.EMF"));
    EXPECT_EQ(inner, tree.FindChildItem(box, "inner"));

    // Without: a move. The target was never opened: it lists the disk when it opens.
    HTREEITEM z1 = tree.FindChildItem(nullptr, "z1");
    Drag(tree, tree.FindChildItem(nullptr, "box"), z1);
    ASSERT_EQ(2u, g_calls.size());
    EXPECT_EQ((UINT)FO_MOVE, g_calls[1].func);
    EXPECT_FALSE(Exists(root + "\\box"));
    EXPECT_TRUE(Exists(root + "\\z1\\box\\inner\\x.EMF"));
    EXPECT_EQ(nullptr, tree.FindChildItem(nullptr, "box"));
    HTREEITEM moved = tree.FindChildItem(z1, "box");
    ASSERT_NE(nullptr, moved);
    EXPECT_EQ(z1, tree.GetSelectedItem());

    // Into the target, opened before: its listing keeps the old file and gains the new one.
    tree.Expand(target, TVE_EXPAND);
    EXPECT_EQ((std::vector<std::string>{"inner", "old.EMF"}), Children(tree, target));
    Drag(tree, tree.FindChildItem(nullptr, "z2"), target);
    EXPECT_TRUE(Exists(root + "\\target\\z2"));
    EXPECT_EQ((std::vector<std::string>{"inner", "old.EMF", "z2"}), Children(tree, target));

    // The shell fails: the tree stays as it was.
    g_failWith = ERROR_ACCESS_DENIED;
    HTREEITEM z3 = tree.FindChildItem(nullptr, "z3");
    Drag(tree, z3, z1);
    EXPECT_EQ(4u, g_calls.size());
    EXPECT_EQ(z3, tree.FindChildItem(nullptr, "z3"));
    EXPECT_TRUE(Exists(root + "\\z3"));
    EXPECT_TRUE(SaveScreenshot(dlg->m_hWnd, "shell_tree_after_drops"));

    // Held over a closed folder, the drag opens it after three ticks of its timer; Esc then
    // ends the drag and the button let go later drops nothing.
    g_failWith = 0;
    tree.Expand(z1, TVE_COLLAPSE);
    DragOver(tree, z3, z1);
    ASSERT_TRUE(tree.IsDragging());
    EXPECT_EQ(z1, tree.GetDropHilightItem());
    EXPECT_TRUE(PumpUntil([&] { return (tree.GetItemState(z1, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }, 5000));
    Key(tree, VK_ESCAPE);
    EXPECT_FALSE(tree.IsDragging());
    EXPECT_EQ(nullptr, tree.GetDropHilightItem());
    Release(tree);
    EXPECT_EQ(4u, g_calls.size());
    EXPECT_TRUE(Exists(root + "\\z3"));
    CloseTree(dlg);
}

TEST(ShellTree, PopupMenuFollowsTheEnablingRulesAndPropertiesSurviveAFailure)
{
    ShellWatch watch;
    const std::string root = MakeFolder("tree_menu", {"folder/", "folder/in.EMF", "cake.EMF"});
    auto dlg = OpenTree(kAll, root);
    CShellTreeCtrl& tree = dlg->tree;
    const UINT ids[] = {ID_SHELLTREE_RENAME, ID_SHELLTREE_PROPERTIES, ID_SHELLTREE_OPEN, ID_SHELLTREE_DELETE,
                        ID_SHELLTREE_UPONELEVEL};
    // Which commands a popup menu of the tree offers, in the order of `ids`.
    auto enabled = [&]() {
        HMENU popup = ::CreatePopupMenu();
        for (UINT id : ids)
            ::AppendMenu(popup, MF_STRING, id, "command");
        tree.SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(0, FALSE));
        std::string states;
        for (UINT id : ids)
            states += (::GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) ? '-' : '+';
        ::DestroyMenu(popup);
        return states;
    };
    struct Case
    {
        const char* path; // empty: nothing selected
        DWORD flags;
        const char* states; // rename, properties, open, delete, up one level
    } cases[] = {
        {"", kAll, "-----"},
        {"\\cake.EMF", kAll, "++++-"},
        {"\\folder\\in.EMF", kAll, "+++++"},
        {"\\folder\\in.EMF", STF_SHOWFILES, "----+"},
        {"\\folder\\in.EMF", STF_SHOWFILES | STF_ALLOWOPEN | STF_ALLOWPROPERTIES, "-++-+"},
    };
    for (const Case& c : cases) {
        tree.SetFlags(c.flags);
        if (*c.path)
            ASSERT_NE(nullptr, tree.SetSelectedPath((root + c.path).c_str(), FALSE)) << c.path;
        else
            tree.SelectItem(nullptr);
        EXPECT_EQ(std::string(c.states), enabled()) << c.path << " flags " << c.flags;
    }

    // Alt+Enter and the menu command ask the shell for "properties" of the selection; the
    // shell fails, the tree goes on.
    tree.SetFlags(kAll);
    tree.SetSelectedPath((root + "\\cake.EMF").c_str(), FALSE);
    Key(tree, VK_RETURN, true);
    tree.SendMessage(WM_COMMAND, ID_SHELLTREE_PROPERTIES);
    ASSERT_EQ(2u, g_executes.size());
    for (const ExecuteCall& call : g_executes) {
        EXPECT_EQ("properties", call.verb);
        EXPECT_EQ(root + "\\cake.EMF", call.file);
        EXPECT_EQ(SW_SHOWNORMAL, call.show);
        EXPECT_NE(0u, call.mask & SEE_MASK_INVOKEIDLIST);
    }
    EXPECT_EQ(CString((root + "\\cake.EMF").c_str()), tree.GetSelectedPath());
    // Not allowed: no call.
    tree.SetAllowProperties(FALSE);
    Key(tree, VK_RETURN, true);
    EXPECT_EQ(2u, g_executes.size());
    CloseTree(dlg);
}

// The icon of an item, drawn by the tree: how many of its pixels differ from the
// background, and the same count for the empty row beside the text (a positive control
// that the comparison can see nothing as well).
struct IconInk
{
    int icon = 0, beside = 0;
};

IconInk InkOf(CShellTreeCtrl& tree, HTREEITEM item)
{
    CRect client, text;
    tree.GetClientRect(&client);
    tree.GetItemRect(item, &text, TRUE);
    DibSurface surface(client.Width(), client.Height(), RGB(255, 255, 255));
    tree.SendMessage(WM_PRINTCLIENT, (WPARAM)surface.Hdc(), PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF background = ::GetSysColor(COLOR_WINDOW);
    IconInk ink;
    for (int y = text.top; y < text.bottom; ++y) {
        for (int x = text.left - 18; x < text.left - 2; ++x)
            ink.icon += x >= 0 && surface.At(x, y) != background;
        for (int x = text.right + 8; x < text.right + 24 && x < client.right; ++x)
            ink.beside += surface.At(x, y) != background;
    }
    return ink;
}

TEST(ShellTree, TwoTreesAliveAtOnceBothShowIcons)
{
    const std::string root = MakeFolder("tree_icons", {"Birthday/", "Wedding/", "cake.EMF"});
    const LONG before = CSystemImageList::LivingCount();
    auto first = OpenTree(kAll, root, 20, 20);
    auto second = OpenTree(kAll, "", 400, 20);
    EXPECT_EQ(before + 2, CSystemImageList::LivingCount());
    HIMAGELIST shared = first->tree.GetImageList(TVSIL_NORMAL);
    EXPECT_EQ(shared, second->tree.GetImageList(TVSIL_NORMAL));
    ASSERT_GT(ImageList_GetImageCount(shared), 0);

    for (TreeDialog* dlg : {first.get(), second.get()}) {
        CShellTreeCtrl& tree = dlg->tree;
        HTREEITEM item = tree.GetChildItem(TVI_ROOT);
        ASSERT_NE(nullptr, item);
        EXPECT_GE(tree.GetItemImageIndex(item), 0);
        const IconInk ink = InkOf(tree, tree.GetNextSiblingItem(item) ? tree.GetNextSiblingItem(item) : item);
        EXPECT_GT(ink.icon, 20) << "no icon drawn";
        EXPECT_EQ(0, ink.beside);
    }
    EXPECT_TRUE(SaveScreenshot(first->m_hWnd, "shell_tree_folder"));
    EXPECT_TRUE(SaveScreenshot(second->m_hWnd, "shell_tree_drives"));

    // The first tree goes: the second keeps the shell's list and its icons, and a tree made
    // now gets them too.
    CloseTree(first);
    EXPECT_EQ(before + 1, CSystemImageList::LivingCount());
    EXPECT_EQ(ImageList_GetImageCount(shared), ImageList_GetImageCount(second->tree.GetImageList(TVSIL_NORMAL)));
    EXPECT_GT(InkOf(second->tree, second->tree.GetChildItem(TVI_ROOT)).icon, 20);
    auto third = OpenTree(kAll, root, 20, 20);
    EXPECT_EQ(shared, third->tree.GetImageList(TVSIL_NORMAL));
    EXPECT_GT(InkOf(third->tree, third->tree.GetChildItem(TVI_ROOT)).icon, 20);
    CloseTree(third);
    CloseTree(second);
    EXPECT_EQ(before, CSystemImageList::LivingCount());
    // Nobody destroyed the shell's list.
    EXPECT_GT(ImageList_GetImageCount(shared), 0);
}

// The file browser pane in its test host: the layout of each mode at two sizes, the drives
// and the network root by the "drives" setting, opening a start folder without regard to
// case, the name confirmed in save mode, a pick with NotifyParent clicked through the
// display, the progress bar, the document's own pane, and designs shown by their thumbnail.
#include "app/browser/tests/window/BrowserHost.h"

#include "app/browser/ThumbnailButton.h"
#include "app/home/PanelManager.h"
#include "base/KeyStore.h"
#include "ui/HelpTipManager.h"
#include "ui/PPToolTip.h"
#include "model/design/FrostwellDoc.h"
#include "model/thumbs/tests/ThumbFixture.h"
#include "testsupport/DibSurface.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"
#include "ui/tests/input/Xdo.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

const ARGB kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF20A040;

// The folder the start-folder tests open, made afresh: C:\cakes with Photos (three
// pictures), Alpha, beta, DATA, zeta and a hidden folder.
struct CakesFolder
{
    CakesFolder()
    {
        Remove();
        ::CreateDirectory("C:\\cakes", nullptr);
        for (const char* name : {"Photos", "Alpha", "beta", "DATA", "zeta", "Secret"})
            ::CreateDirectory((std::string("C:\\cakes\\") + name).c_str(), nullptr);
        ::SetFileAttributes("C:\\cakes\\Secret", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
        ktb::WriteFileBytes("C:\\cakes\\Photos\\rose.png", thumb_test::Picture(200, 100, kRed, kRed));
        ktb::WriteFileBytes("C:\\cakes\\Photos\\sky.png", thumb_test::Picture(100, 200, kBlue, kBlue));
        ktb::WriteFileBytes("C:\\cakes\\Photos\\leaf.bmp", thumb_test::Picture(60, 60, kGreen, kGreen, L"image/bmp"));
    }
    ~CakesFolder() { Remove(); }
    static void Remove()
    {
        ::SetFileAttributes("C:\\cakes\\Secret", FILE_ATTRIBUTE_DIRECTORY);
        RunUnixShell("rm -rf \\\"$WINEPREFIX/drive_c/cakes\\\"");
    }
};

// The setting "drives" for one test.
struct DrivesSetting
{
    explicit DrivesSetting(const char* value) : kept(GetSetting("drives")) { SetSetting("drives", value); }
    ~DrivesSetting() { SetSetting("drives", kept); }
    CString kept;
};

CRect ChildRect(CWnd& pane, int id)
{
    CWnd* child = pane.GetDlgItem(id);
    CRect r;
    if (child == nullptr)
        return r;
    child->GetWindowRect(&r);
    pane.ScreenToClient(&r);
    return r;
}

std::vector<std::string> Texts(CTreeCtrl& tree, HTREEITEM parent)
{
    std::vector<std::string> texts;
    HTREEITEM item = parent == TVI_ROOT ? tree.GetRootItem() : tree.GetChildItem(parent);
    for (; item != nullptr; item = tree.GetNextSiblingItem(item))
        texts.push_back((LPCTSTR)tree.GetItemText(item));
    return texts;
}

HTREEITEM Find(CTreeCtrl& tree, HTREEITEM parent, const char* text)
{
    HTREEITEM item = parent == TVI_ROOT ? tree.GetRootItem() : tree.GetChildItem(parent);
    for (; item != nullptr; item = tree.GetNextSiblingItem(item))
        if (tree.GetItemText(item) == text)
            return item;
    return nullptr;
}

bool HasExpandButton(CTreeCtrl& tree, HTREEITEM item)
{
    TVITEM tv = {};
    tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
    tv.hItem = item;
    tree.GetItem(&tv);
    return tv.cChildren != 0;
}

struct WindowCount
{
    HWND host;
    int others;
    bool sawHost;
};

BOOL CALLBACK CountWindow(HWND wnd, LPARAM l)
{
    WindowCount* c = (WindowCount*)l;
    if (wnd == c->host)
        c->sawHost = true;
    else if (::IsWindowVisible(wnd))
        ++c->others;
    return TRUE;
}

// The visible top-level windows of this thread, but the host; -1 when the enumeration did
// not see the host itself.
int OtherVisibleWindows(HWND host)
{
    WindowCount count = {host, 0, false};
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, (LPARAM)&count);
    return count.sawHost ? count.others : -1;
}

} // namespace

// Children's rectangles of each mode at two sizes, as the layout rules give them: the bar
// 12 high ending 2 above the bottom, the rest in the area ending 16 above the bottom.
TEST(FileWndLayout, EachModeAtTwoSizes)
{
    CakesFolder cakes;
    struct Case
    {
        const char* name;
        BOOL save, notify;
        int width, height;
        CRect tree, list, edit; // an empty edit: none shown
    } cases[] = {
        {"open_640x400", FALSE, FALSE, 640, 400, {0, 0, 250, 384}, {260, 0, 640, 384}, {}},
        {"open_900x600", FALSE, FALSE, 900, 600, {0, 0, 250, 584}, {260, 0, 900, 584}, {}},
        {"save_640x400", TRUE, FALSE, 640, 400, {0, 0, 250, 354}, {260, 0, 640, 384}, {0, 362, 250, 384}},
        {"save_900x600", TRUE, FALSE, 900, 600, {0, 0, 250, 554}, {260, 0, 900, 584}, {0, 562, 250, 584}},
        {"notify_640x400", FALSE, TRUE, 640, 400, {0, 0, 640, 127}, {0, 129, 640, 384}, {}},
        {"notify_900x600", FALSE, TRUE, 900, 600, {0, 0, 900, 193}, {0, 195, 900, 584}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaneOptions options;
        options.folder = "c:\\cakes\\photos";
        options.save = c.save;
        options.notify = c.notify;
        CBrowserTestHost host;
        ASSERT_TRUE(host.Open(options, 640, 400));
        host.SetClientSize(c.width, c.height);
        ASSERT_TRUE(host.WaitForList());
        PumpUntil([&] { return host.pane.GetList().GetItemCount() == 3; });
        EXPECT_EQ(c.tree, ChildRect(host.pane, CFileWnd::kTreeId));
        EXPECT_EQ(c.list, ChildRect(host.pane, CFileWnd::kListId));
        EXPECT_EQ(CRect(0, c.height - 14, c.width, c.height - 2), ChildRect(host.pane, CFileWnd::kProgressId));
        CWnd* edit = host.pane.GetDlgItem(CFileWnd::kNameId);
        EXPECT_EQ(c.notify == FALSE, edit != nullptr) << "the name box exists only without NotifyParent";
        if (!c.edit.IsRectEmpty()) {
            EXPECT_EQ(c.edit, ChildRect(host.pane, CFileWnd::kNameId));
            EXPECT_TRUE(edit != nullptr && edit->IsWindowVisible());
        } else if (edit != nullptr) {
            EXPECT_FALSE(edit->IsWindowVisible());
        }
        EXPECT_TRUE(host.pane.GetTree().IsWindowVisible());
        EXPECT_TRUE(host.pane.GetList().IsWindowVisible());
        EXPECT_FALSE(host.pane.GetDlgItem(CFileWnd::kProgressId)->IsWindowVisible());
        host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpPending();
        EXPECT_TRUE(SaveScreenshot(host.m_hWnd, (std::string("file_wnd_") + c.name).c_str()));
    }
}

// Save mode shows its tree, list and name box only while ShowControls is set.
TEST(FileWndLayout, SaveModeHidesItsControlsWithoutShowControls)
{
    for (BYTE show : {1, 0}) {
        PaneOptions options;
        options.save = TRUE;
        options.showControls = show;
        CBrowserTestHost host;
        ASSERT_TRUE(host.Open(options, 640, 400));
        EXPECT_EQ(show != 0, host.pane.GetTree().IsWindowVisible() != FALSE);
        EXPECT_EQ(show != 0, host.pane.GetList().IsWindowVisible() != FALSE);
        EXPECT_EQ(show != 0, host.pane.GetDlgItem(CFileWnd::kNameId)->IsWindowVisible() != FALSE);
        host.WaitForList();
    }
}

// An empty filter lists every drive there is, the network root, and the list shows A:\ (no
// such drive here) without any box; "CD" with a D: mapped lists C: and D: only.
TEST(FileWndDrives, FilterDecidesTheTopLevel)
{
    {
        DrivesSetting drives("");
        ::SetErrorMode(0);
        CBrowserTestHost host;
        ASSERT_TRUE(host.Open(PaneOptions(), 640, 400));
        EXPECT_EQ(0u, ::SetErrorMode(0)) << "the error mode is restored after the probes";
        CTreeCtrl& tree = host.pane.GetTree();
        EXPECT_EQ((std::vector<std::string>{"C:", "Z:", "Network Neighborhood"}), Texts(tree, TVI_ROOT));
        EXPECT_STREQ("A:\\", host.pane.GetListFolder());
        EXPECT_TRUE(host.WaitForList());
        EXPECT_EQ(0, host.pane.GetList().GetItemCount());
        EXPECT_EQ(0, OtherVisibleWindows(host.m_hWnd)) << "no error box";

        // No network here: its root loses its expand button; C: keeps its own.
        HTREEITEM network = Find(tree, TVI_ROOT, "Network Neighborhood");
        HTREEITEM c = Find(tree, TVI_ROOT, "C:");
        ASSERT_TRUE(network != nullptr && c != nullptr);
        EXPECT_TRUE(HasExpandButton(tree, network));
        tree.Expand(network, TVE_EXPAND);
        EXPECT_FALSE(HasExpandButton(tree, network));
        EXPECT_EQ(nullptr, tree.GetChildItem(network));
        EXPECT_TRUE(HasExpandButton(tree, c));
        EXPECT_STREQ("A:\\", host.pane.GetListFolder()) << "the network root is no folder";
        host.WaitForList();
    }
    {
        ASSERT_TRUE(
            RunUnixShell("mkdir -p /tmp/sl_browser_d && ln -sfn /tmp/sl_browser_d \\\"$WINEPREFIX/dosdevices/d:\\\""));
        DrivesSetting drives("CD");
        CBrowserTestHost host;
        const bool opened = host.Open(PaneOptions(), 640, 400);
        std::vector<std::string> top = opened ? Texts(host.pane.GetTree(), TVI_ROOT) : std::vector<std::string>();
        const CString listFolder = host.pane.GetListFolder();
        host.WaitForList();
        host.DestroyWindow();
        RunUnixShell("rm -f \\\"$WINEPREFIX/dosdevices/d:\\\"");
        ASSERT_TRUE(opened);
        EXPECT_EQ((std::vector<std::string>{"C:", "D:"}), top);
        EXPECT_STREQ("C:\\", listFolder) << "the first letter the filter lets through";
    }
}

// The start folder opens part by part without regard to case; names without a lower-case
// letter are capitalised, hidden folders left out, the rest sorted without regard to case;
// once destroyed, the pane names the folder last browsed.
TEST(FileWndFolders, StartFolderOpensWithoutRegardToCase)
{
    CakesFolder cakes;
    WIN32_FILE_ATTRIBUTE_DATA hidden = {};
    ASSERT_TRUE(::GetFileAttributesEx("C:\\cakes\\Secret", GetFileExInfoStandard, &hidden));
    ASSERT_NE(0u, hidden.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) << "the fixture's hidden folder";

    PaneOptions options;
    options.folder = "c:\\CAKES\\photos";
    CBrowserTestHost host;
    ASSERT_TRUE(host.Open(options, 900, 600));
    CTreeCtrl& tree = host.pane.GetTree();
    EXPECT_STREQ("C:\\cakes\\Photos\\", host.pane.GetListFolder());
    EXPECT_STREQ("Photos", tree.GetItemText(tree.GetSelectedItem()));
    ASSERT_TRUE(host.WaitForList());
    EXPECT_TRUE(PumpUntil([&] { return host.pane.GetList().GetItemCount() == 3; }));

    HTREEITEM cakesItem = Find(tree, Find(tree, TVI_ROOT, "C:"), "cakes");
    ASSERT_NE(nullptr, cakesItem);
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "Data", "Photos", "zeta"}), Texts(tree, cakesItem));
    EXPECT_TRUE(SaveScreenshot(host.m_hWnd, "file_wnd_start_folder"));

    // Browsing on: a leaf folder loses its expand button when opened; the list follows.
    HTREEITEM beta = Find(tree, cakesItem, "beta");
    tree.SelectItem(beta);
    tree.Expand(beta, TVE_EXPAND);
    EXPECT_FALSE(HasExpandButton(tree, beta));
    EXPECT_STREQ("C:\\cakes\\beta\\", host.pane.GetFolder());
    ASSERT_TRUE(host.WaitForList());
    EXPECT_EQ(0, host.pane.GetList().GetItemCount());

    host.pane.DestroyWindow();
    EXPECT_STREQ("C:\\cakes\\beta\\", host.pane.GetFolder());
}

namespace {

// C:\hiding: one picture in each of plain\pics, Secret\pics (Secret hidden by its
// attribute), .dot\Inner\pics (a leading dot, and Inner hidden by its attribute) and in
// Secret itself; Other is a hidden folder no start folder passes.
struct HidingFolder
{
    HidingFolder()
    {
        Remove();
        for (const char* folder : {"C:\\hiding", "C:\\hiding\\plain", "C:\\hiding\\plain\\pics", "C:\\hiding\\Secret",
                                   "C:\\hiding\\Secret\\pics", "C:\\hiding\\.dot", "C:\\hiding\\.dot\\Inner",
                                   "C:\\hiding\\.dot\\Inner\\pics", "C:\\hiding\\Other"})
            ::CreateDirectory(folder, nullptr);
        for (const char* hidden : {"C:\\hiding\\Secret", "C:\\hiding\\.dot\\Inner", "C:\\hiding\\Other"})
            ::SetFileAttributes(hidden, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
        for (const char* picture : {"C:\\hiding\\plain\\pics\\rose.png", "C:\\hiding\\Secret\\pics\\rose.png",
                                    "C:\\hiding\\.dot\\Inner\\pics\\rose.png", "C:\\hiding\\Secret\\top.png"})
            ktb::WriteFileBytes(picture, thumb_test::Picture(80, 60, kRed, kRed));
    }
    ~HidingFolder() { Remove(); }
    static void Remove()
    {
        for (const char* hidden : {"C:\\hiding\\Secret", "C:\\hiding\\.dot\\Inner", "C:\\hiding\\Other"})
            ::SetFileAttributes(hidden, FILE_ATTRIBUTE_DIRECTORY);
        RunUnixShell("rm -rf \\\"$WINEPREFIX/drive_c/hiding\\\"");
    }
    static bool IsHidden(const char* path)
    {
        const DWORD attributes = ::GetFileAttributes(path);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    }
};

} // namespace

// A start folder opens whatever its ancestors' attributes, in every mode: the folders on the
// way join the tree (other hidden folders stay out), the tree selects it, the list shows its
// files and a saved name lands there.  A start folder that is gone opens the nearest folder
// on its path that exists.
TEST(FileWndFolders, StartFolderBelowHiddenFoldersOpensInEveryMode)
{
    HidingFolder hiding;
    for (const char* hidden :
         {"C:\\hiding\\Secret", "C:\\hiding\\.dot", "C:\\hiding\\.dot\\Inner", "C:\\hiding\\Other"})
        ASSERT_TRUE(HidingFolder::IsHidden(hidden)) << hidden << " is the fixture's hidden folder";
    ASSERT_FALSE(HidingFolder::IsHidden("C:\\hiding\\plain"));

    struct Folder
    {
        const char* start;
        const char* opened; // the list folder
        const char* selected;
        int files;
        bool gone; // GetFolder then names the folder opened instead
    } folders[] = {
        {"C:\\hiding\\plain\\pics", "C:\\hiding\\plain\\pics\\", "pics", 1, false},
        {"C:\\hiding\\Secret\\pics", "C:\\hiding\\Secret\\pics\\", "pics", 1, false},
        {"c:\\HIDING\\.dot\\inner\\pics\\", "C:\\hiding\\.dot\\Inner\\pics\\", "pics", 1, false},
        {"C:\\hiding\\Secret\\gone\\pics", "C:\\hiding\\Secret\\", "Secret", 1, true},
    };
    struct Mode
    {
        const char* name;
        BOOL save, notify;
    } modes[] = {{"open", FALSE, FALSE}, {"save", TRUE, FALSE}, {"notify", FALSE, TRUE}};
    for (const Folder& f : folders) {
        for (const Mode& m : modes) {
            SCOPED_TRACE(std::string(f.start) + " in " + m.name + " mode");
            PaneOptions options;
            options.folder = f.start;
            options.save = m.save;
            options.notify = m.notify;
            CBrowserTestHost host;
            ASSERT_TRUE(host.Open(options, 900, 600));
            CTreeCtrl& tree = host.pane.GetTree();
            EXPECT_STREQ(f.opened, host.pane.GetListFolder());
            EXPECT_STREQ(f.gone ? f.opened : f.start, host.pane.GetFolder());
            ASSERT_NE(nullptr, tree.GetSelectedItem());
            EXPECT_STREQ(f.selected, tree.GetItemText(tree.GetSelectedItem()));
            HTREEITEM hidingItem = Find(tree, Find(tree, TVI_ROOT, "C:"), "hiding");
            ASSERT_NE(nullptr, hidingItem);
            for (const std::string& name : Texts(tree, hidingItem))
                EXPECT_NE("Other", name) << "a hidden folder off the path stays out";
            ASSERT_TRUE(host.WaitForList());
            CThumbListCtrl& list = host.pane.GetList();
            EXPECT_TRUE(PumpUntil([&] { return list.GetItemCount() == f.files; })) << list.GetItemCount();
            if (m.save) {
                TypeText(host.pane.m_hWnd, CFileWnd::kNameId, "Cake");
                host.pane.SendMessage(WM_COMMAND, IDOK);
                EXPECT_STREQ(CString(f.opened).MakeLower() + "cake.ktb", host.pane.GetSelectedPath());
            }
        }
    }
    // Without the hidden folders' way in, the folders stay out of the tree as before.
    PaneOptions options;
    options.folder = "C:\\hiding";
    CBrowserTestHost host;
    ASSERT_TRUE(host.Open(options, 900, 600));
    CTreeCtrl& tree = host.pane.GetTree();
    EXPECT_EQ((std::vector<std::string>{"plain"}), Texts(tree, tree.GetSelectedItem()));
    host.WaitForList();
}

namespace {

class RecordingView : public CView
{
public:
    std::vector<LPARAM> hints;
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM hint, CObject*) override { hints.push_back(hint); }
};

// A document with a view that records its updates.
struct DocumentWithView
{
    CFrostwellDoc doc;
    RecordingView view;
    DocumentWithView()
    {
        doc.m_bAutoDelete = FALSE;
        doc.AddView(&view);
        doc.ClearRedrawFlag();
    }
    ~DocumentWithView() { doc.RemoveView(&view); }
};

} // namespace

// Save mode forces the file kind's extension on the typed name; OK without a name changes
// nothing and redraws nothing; Cancel only redraws.
TEST(FileWndSave, OkForcesTheExtensionOfTheFileKind)
{
    CakesFolder cakes;
    struct Case
    {
        int fileKind;
        const char* typed;
        const char* path; // "" : nothing chosen
    } cases[] = {
        {0, "Cake.v2.png", "c:\\cakes\\photos\\cake.v2.ktb"},
        {2, "Cake.v2.png", "c:\\cakes\\photos\\cake.v2.pap"},
        {7, "Sheet", "c:\\cakes\\photos\\sheet.png"},
        {0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        DocumentWithView document;
        PaneOptions options;
        options.folder = "c:\\cakes\\photos";
        options.save = TRUE;
        options.fileKind = c.fileKind;
        options.doc = &document.doc;
        CBrowserTestHost host;
        ASSERT_TRUE(host.Open(options, 640, 400));
        TypeText(host.pane.m_hWnd, CFileWnd::kNameId, c.typed);
        host.pane.SendMessage(WM_COMMAND, IDOK);
        EXPECT_STREQ(c.path, host.pane.GetSelectedPath());
        const bool named = *c.typed != 0;
        EXPECT_EQ((named ? std::vector<LPARAM>{13} : std::vector<LPARAM>{}), document.view.hints);
        EXPECT_EQ(named, document.doc.NeedsRedraw() != FALSE);
        host.pane.SendMessage(WM_COMMAND, IDCANCEL);
        EXPECT_EQ((named ? std::vector<LPARAM>{13, 13} : std::vector<LPARAM>{13}), document.view.hints);
        EXPECT_STREQ(c.path, host.pane.GetSelectedPath()) << "Cancel chooses nothing";
        host.WaitForList();
    }
}

// A name typed over a picked one is the name saved: the picked file is not overwritten.
TEST(FileWndSave, TypedNameWinsOverAnEarlierPick)
{
    CakesFolder cakes;
    for (const char* typed : {"", "NewCake"}) {
        SCOPED_TRACE(typed);
        PaneOptions options;
        options.folder = "c:\\cakes\\photos";
        options.save = TRUE;
        CBrowserTestHost host;
        ASSERT_TRUE(host.Open(options, 640, 400));
        ASSERT_TRUE(host.WaitForList());
        CThumbListCtrl& list = host.pane.GetList();
        ASSERT_TRUE(PumpUntil([&] { return list.GetItemCount() == 3; }));
        int rose = -1;
        for (int i = 0; i < list.GetItemCount(); ++i)
            if (list.GetItemText(i, 0) == "rose.png")
                rose = i;
        ASSERT_GE(rose, 0);
        list.SetItemState(rose, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ASSERT_TRUE(PumpUntil([&] { return ItemText(host.pane.m_hWnd, CFileWnd::kNameId) == "rose.png"; }));
        if (*typed != 0) {
            ::SetDlgItemText(host.pane.m_hWnd, CFileWnd::kNameId, "");
            TypeText(host.pane.m_hWnd, CFileWnd::kNameId, typed);
        }
        host.pane.SendMessage(WM_COMMAND, IDOK);
        EXPECT_STREQ(*typed != 0 ? "c:\\cakes\\photos\\newcake.ktb" : "c:\\cakes\\photos\\rose.ktb",
                     host.pane.GetSelectedPath());
    }
}

// With NotifyParent a click on a thumbnail posts exactly one pick to the parent; the pane
// has no name box and names the clicked file.
TEST(FileWndNotify, ClickOnThumbnailPostsOnePick)
{
    CakesFolder cakes;
    PaneOptions options;
    options.folder = "c:\\cakes\\photos";
    options.notify = TRUE;
    CBrowserTestHost host;
    ASSERT_TRUE(host.Open(options, 640, 400));
    ASSERT_TRUE(host.WaitForList());
    CThumbListCtrl& list = host.pane.GetList();
    ASSERT_TRUE(PumpUntil([&] { return list.GetItemCount() == 3; }));
    EXPECT_EQ(nullptr, host.pane.GetDlgItem(CFileWnd::kNameId));
    PumpPending();

    const int index = 1;
    const CString label = list.GetItemText(index, 0);
    CRect icon;
    ASSERT_TRUE(list.GetItemRect(index, &icon, LVIR_ICON));
    list.ClientToScreen(&icon);
    ASSERT_TRUE(Xdo("mousemove --sync %d %d click 1", icon.CenterPoint().x, icon.CenterPoint().y));
    ASSERT_TRUE(PumpUntil([&] { return host.picked >= 1; }));
    PumpPending();
    EXPECT_EQ(1, host.picked);
    EXPECT_STREQ(CString("C:\\cakes\\Photos\\") + label, host.pane.GetSelectedPath());
    EXPECT_TRUE(SaveScreenshot(host.m_hWnd, "file_wnd_notify_picked"));
}

namespace {

std::vector<int>* g_positions = nullptr;

LRESULT CALLBACK RecordPositions(HWND wnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR)
{
    if (message == PBM_SETPOS && g_positions != nullptr)
        g_positions->push_back((int)w);
    return ::DefSubclassProc(wnd, message, w, l);
}

} // namespace

// The bar: shown at 0 by StopProgress, stepped three times, run on to 99 and hidden.
TEST(FileWndProgress, FinishRunsTheBarToTheEndAndHidesIt)
{
    CBrowserTestHost host;
    ASSERT_TRUE(host.Open(PaneOptions(), 640, 400));
    host.WaitForList();
    HWND bar = ::GetDlgItem(host.pane.m_hWnd, CFileWnd::kProgressId);
    ASSERT_TRUE(bar != nullptr);
    std::vector<int> positions;
    g_positions = &positions;
    ASSERT_TRUE(::SetWindowSubclass(bar, RecordPositions, 1, 0));
    EXPECT_FALSE(::IsWindowVisible(bar));
    host.pane.StopProgress();
    EXPECT_TRUE(::IsWindowVisible(bar));
    for (int i = 0; i < 3; ++i)
        host.pane.StepProgress();
    EXPECT_EQ(2, (int)::SendMessage(bar, PBM_GETPOS, 0, 0));
    host.pane.FinishProgress();
    ::RemoveWindowSubclass(bar, RecordPositions, 1);
    g_positions = nullptr;
    std::vector<int> expected;
    for (int v = 0; v < 100; ++v)
        expected.push_back(v);
    EXPECT_EQ(expected, positions);
    EXPECT_FALSE(::IsWindowVisible(bar));

    // A hundred and one steps wrap to 0.
    host.pane.StopProgress();
    for (int i = 0; i < 101; ++i)
        host.pane.StepProgress();
    host.pane.StepProgress();
    EXPECT_EQ(0, (int)::SendMessage(bar, PBM_GETPOS, 0, 0));
}

// The document's pane: made and deleted with the document, no window, no worker.  The test
// host on a folder of designs shows each design's "Thumbnail".
TEST(FileWndDocument, DocumentPaneHasNoWindowAndDesignsShowTheirThumbnails)
{
    CDocumentHost* previous = GetDocumentHost();
    SetDocumentHost(GetGlobalObjectC());
    {
        CFrostwellDoc doc;
        doc.m_bAutoDelete = FALSE;
        CFileWnd* pane = dynamic_cast<CFileWnd*>(doc.GetFileBrowser());
        ASSERT_NE(nullptr, pane);
        EXPECT_EQ(nullptr, pane->GetSafeHwnd());
        EXPECT_FALSE(pane->GetList().GetWorker().IsAlive());
        EXPECT_EQ(nullptr, pane->GetList().GetSafeHwnd());
    }
    SetDocumentHost(previous);

    const std::string folder = ktb::ScratchFolder("browser_designs");
    ktb::WriteFileBytes(folder + "\\green.ktb", thumb_test::DesignFile(thumb_test::Picture(200, 100, kGreen, kGreen)));
    ktb::WriteFileBytes(folder + "\\blue.ktb", thumb_test::DesignFile(thumb_test::Picture(100, 200, kBlue, kBlue)));
    ktb::WriteFileBytes(folder + "\\broken.ktb", ktb::Bytes(600, 'x'));
    ::DeleteFile((folder + "\\thumbs.pst").c_str());
    PaneOptions options;
    options.folder = folder.c_str();
    options.thumbnailMode = 0;
    CBrowserTestHost host;
    ASSERT_TRUE(host.Open(options, 900, 600));
    ASSERT_TRUE(host.WaitForList());
    CThumbListCtrl& list = host.pane.GetList();
    ASSERT_TRUE(PumpUntil([&] { return list.GetItemCount() == 2; })) << list.GetItemCount();
    for (int i = 0; i < list.GetItemCount(); ++i) {
        DibSurface surface(100, 100, RGB(1, 2, 3));
        ImageList_Draw(list.GetImageList(LVSIL_NORMAL), i, surface.Hdc(), 0, 0, ILD_NORMAL);
        const COLORREF centre = surface.At(50, 50);
        const bool green = list.GetItemText(i, 0) == "green.ktb";
        EXPECT_NEAR(green ? 0x20 : 0x00, GetRValue(centre), 8) << (LPCTSTR)list.GetItemText(i, 0);
        EXPECT_NEAR(green ? 0xA0 : 0x00, GetGValue(centre), 8);
        EXPECT_NEAR(green ? 0x40 : 0xFF, GetBValue(centre), 8);
    }
    host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPending();
    EXPECT_TRUE(SaveScreenshot(host.m_hWnd, "file_wnd_designs"));
}

// A grid button opened (0x3F2) names its file in the list folder; a button deleted before
// the post arrived is ignored.
TEST(FileWndGrid, OpenedButtonIsUsedOnlyWhileItLives)
{
    CakesFolder cakes;
    PaneOptions options;
    options.folder = "c:\\cakes\\photos";
    CBrowserTestHost host;
    ASSERT_TRUE(host.Open(options, 640, 400));
    host.WaitForList();
    CThumbnailButton* button = new CThumbnailButton("C:\\elsewhere\\Rose.PNG", CTime(), 100, 100);
    host.pane.SendMessage(WM_THUMBNAIL_OPENED, (WPARAM)button);
    EXPECT_STREQ("c:\\cakes\\photos\\rose.png", host.pane.GetSelectedPath());
    EXPECT_STREQ("ROSE.PNG", ItemText(host.pane.m_hWnd, CFileWnd::kNameId));

    CThumbnailButton* other = new CThumbnailButton("C:\\elsewhere\\sky.png", CTime(), 100, 100);
    host.pane.PostMessage(WM_THUMBNAIL_OPENED, (WPARAM)other);
    delete other;
    PumpPending();
    EXPECT_STREQ("c:\\cakes\\photos\\rose.png", host.pane.GetSelectedPath());
    delete button;
}

// The skin gives the list, the tree and the name box the tips file's bubbles, registered
// for the pane's parent; a pane without a name box gets two.
TEST(FileWndSkin, ApplySkinAddsTheThreeBubbles)
{
    CString root = GetSetting("root");
    char cwd[MAX_PATH];
    ::GetCurrentDirectory(MAX_PATH, cwd);
    SetSetting("root", cwd);
    for (BOOL notify : {FALSE, TRUE}) {
        SCOPED_TRACE(notify);
        PaneOptions options;
        options.notify = notify;
        options.save = !notify;
        CBrowserTestHost host;
        ASSERT_TRUE(host.Open(options, 640, 400));
        CHelpTipManager help;
        ASSERT_TRUE(help.LoadHelpFile("tips.txt"));
        CPPToolTip tip;
        help.CreateTooltip(&host, &tip);
        host.pane.GetTree().MoveWindow(0, 0, 10, 10);
        host.pane.ApplySkin(&help);
        EXPECT_EQ(notify ? CRect(0, 0, 640, 127) : CRect(0, 0, 250, 354), ChildRect(host.pane, CFileWnd::kTreeId))
            << "laid out again";
        const struct
        {
            HWND control;
            const char* title;
        } tools[] = {
            {host.pane.GetList().m_hWnd, "Files"},
            {host.pane.GetTree().m_hWnd, "Folders"},
            {::GetDlgItem(host.pane.m_hWnd, CFileWnd::kNameId), "File name"},
        };
        for (const auto& t : tools) {
            if (t.control == nullptr) {
                EXPECT_TRUE(notify) << "only a pane that notifies has no name box";
                continue;
            }
            const std::vector<PPToolInfo> found = tip.GetTools(t.control);
            ASSERT_EQ(1u, found.size()) << t.title;
            EXPECT_GE(found[0].sTooltip.Find(t.title), 0) << (LPCTSTR)found[0].sTooltip;
        }
        host.WaitForList();
    }
    SetSetting("root", root);
}

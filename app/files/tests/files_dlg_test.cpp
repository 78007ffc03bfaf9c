// The dialog "Files" over a real frame and view, driven as a person drives it: a name typed
// into the pane and OK, a thumbnail picked, the save-as and snapshot buttons, the system's
// save dialog and the questions answered by the dialog driver; what it does is read back in
// files, the document's title, path and flag, the settings and the dialog's pixels.
#include "app/files/FilesDlg.h"
#include "app/home/PanelManager.h"
#include "app/view/FrostwellView.h"
#include "base/ComOwner.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "fw/fwworker.h"
#include "model/design/DocumentHost.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "res/app_res.h"
#include "res/file_res.h"
#include "res/ui_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/Pixels.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "ui/Skin.h"

#include <gtest/gtest.h>

#include <dlgs.h>

#include <memory>
#include <process.h>
#include <string>

using namespace Gdiplus;

namespace {

// The host the document asks "Save Changes" through: counts the questions, answers Cancel.
class CountingHost : public CDocumentHost
{
public:
    void AttachDocument(CFrostwellDoc*) override {}
    void DestroyPanels(BOOL) override {}
    CRect GetCanvasClientRect() override { return CRect(0, 0, 1200, 900); }
    int AskSaveChanges() override
    {
        ++asked;
        return IDCANCEL;
    }
    BOOL SaveDesign(CFrostwellDoc*, int) override { return FALSE; }
    CObject* CreateFileBrowser(CFrostwellDoc*) override { return nullptr; }
    void InvalidateCanvas(CFrostwellDoc*, const CRect&) override {}
    int asked = 0;
};

HANDLE NoThread(unsigned(__stdcall*)(void*), void*) { return nullptr; }

// A worker that starts late, as a slow save would run: first it looks, through the waiting
// thread, at the pane's progress bar.
struct LateStart
{
    unsigned(__stdcall* entry)(void*);
    void* argument;
};
HWND g_bar = nullptr;
LRESULT g_barPos = -1;
BOOL g_barShown = FALSE;
unsigned __stdcall LateEntry(void* p)
{
    std::unique_ptr<LateStart> start(static_cast<LateStart*>(p));
    ::Sleep(700);
    g_barPos = ::SendMessage(g_bar, PBM_GETPOS, 0, 0);
    g_barShown = ::IsWindowVisible(g_bar);
    return start->entry(start->argument);
}
HANDLE LateThread(unsigned(__stdcall* entry)(void*), void* argument)
{
    return (HANDLE)_beginthreadex(nullptr, 0, &LateEntry, new LateStart{entry, argument}, 0, nullptr);
}

// Overwrites the start of the design's "CakeData" stream with junk.
bool DamageDesignData(const CString& path)
{
    const ComScope com = EnsureCom();
    IStorage* storage = nullptr;
    if (FAILED(::StgOpenStorage(CStringW(path), nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage)))
        return false;
    IStream* stream = nullptr;
    bool done = false;
    if (SUCCEEDED(storage->OpenStream(L"CakeData", nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &stream))) {
        BYTE junk[64];
        memset(junk, 0xFF, sizeof junk);
        ULONG written = 0;
        done = SUCCEEDED(stream->Write(junk, sizeof junk, &written)) && written == sizeof junk;
        stream->Release();
    }
    done = done && SUCCEEDED(storage->Commit(STGC_DEFAULT));
    storage->Release();
    return done;
}

bool Exists(const CString& path) { return ::GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES; }
bool Visible(HWND dlg, int id) { return ::IsWindowVisible(::GetDlgItem(dlg, id)) != FALSE; }

class FilesDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureTestApp();
        LoadLanguageFile("english");
        if (GetGlobalObjectB()->GetCount() == 0)
            GetGlobalObjectB()->AddOversizedPapers();
        if (GetGlobalObjectA()->GetCount() == 0)
            GetGlobalObjectA()->AddBuiltInLayouts();
        m_oldRoot = GetSetting("root");
        m_oldHelp = GetSetting("path_help");
        m_oldSave = GetSetting("path_SAVE_DIR");
        char current[MAX_PATH];
        ::GetCurrentDirectory(MAX_PATH, current);
        m_oldCurrent = current;
        SetSetting("root", current);
        SetSetting("path_help", "");
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = CString(current) + "\\files_" + info->name();
        folder.MakeLower();
        RemoveFolder(folder);
        ASSERT_TRUE(::CreateDirectory(folder, nullptr));
        SetDataFolder("SAVE_DIR", folder);

        m_previousHost = GetDocumentHost();
        SetDocumentHost(&host);
        m_template = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CFrostwellDoc), RUNTIME_CLASS(CFrameWnd),
                                            RUNTIME_CLASS(CFrostwellView));
        // The panel switcher may still hold the document of an earlier test: it gets this one.
        GetGlobalObjectC()->SetDocument(nullptr);
        doc = static_cast<CFrostwellDoc*>(m_template->OpenDocumentFile(NULL, TRUE));
        ASSERT_NE(nullptr, doc);
        GetGlobalObjectC()->SetDocument(doc);
        POSITION pos = doc->GetFirstViewPosition();
        frame = doc->GetNextView(pos)->GetParentFrame();
        AfxGetApp()->m_pMainWnd = frame;
        frame->SetWindowPos(NULL, 0, 0, 1200, 900, SWP_NOZORDER | SWP_NOACTIVATE);
        frame->ShowWindow(SW_SHOW);
        PumpPending();
    }
    void TearDown() override
    {
        FwSetWorkerThreadStarter(nullptr);
        if (doc != NULL)
            doc->SetModifiedFlag(FALSE);
        AfxGetApp()->m_pMainWnd = NULL;
        if (frame != NULL && ::IsWindow(frame->GetSafeHwnd()))
            frame->SendMessage(WM_CLOSE);
        PumpPending();
        delete m_template;
        GetGlobalObjectC()->SetDocument(nullptr);
        SetDocumentHost(m_previousHost);
        SetSetting("root", m_oldRoot);
        SetSetting("path_help", m_oldHelp);
        SetSetting("path_SAVE_DIR", m_oldSave);
        // The system's save dialog makes the chosen folder the current one.
        ::SetCurrentDirectory(m_oldCurrent);
        RemoveFolder(folder);
    }
    static void RemoveFolder(const CString& path)
    {
        WIN32_FIND_DATA found;
        HANDLE find = ::FindFirstFile(path + "\\*", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const CString name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveFolder(path + "\\" + name);
                else
                    ::DeleteFile(path + "\\" + name);
            } while (::FindNextFile(find, &found));
            ::FindClose(find);
        }
        ::RemoveDirectory(path);
    }

    // Runs the dialog in the mode with the steps answering it and the dialogs it shows;
    // inside the steps `files` is the dialog.
    INT_PTR Run(int mode, std::vector<DialogDriver::Step> steps)
    {
        CFilesDlg dialog(frame);
        dialog.m_pDoc = doc;
        dialog.SetMode(mode);
        files = &dialog;
        INT_PTR result = -1;
        {
            DialogDriver driver(std::move(steps));
            result = dialog.DoModal();
            EXPECT_TRUE(driver.Unexpected().empty());
        }
        files = nullptr;
        PumpPending();
        return result;
    }
    HWND Pane() { return files->GetPane().GetSafeHwnd(); }
    // What the screen shows at the middle of the pane's progress bar (0xRRGGBB).
    DWORD BarPixel(HWND dlg)
    {
        CRect bar;
        ::GetWindowRect(::GetDlgItem(Pane(), CFileWnd::kProgressId), &bar);
        ::MapWindowPoints(nullptr, dlg, (LPPOINT)&bar, 2);
        const Picture shown = PictureOfWindow(dlg, bar);
        return shown.width > 0 ? shown.At(shown.width / 2, shown.height / 2) & 0xFFFFFF : 0;
    }
    // The pane shows the folder (the tree opened down to it).
    bool ShowsFolder(const CString& path)
    {
        return PumpUntil([&] { return files->GetPane().GetListFolder().CompareNoCase(path + "\\") == 0; }, 15000);
    }
    // A name typed into the pane's name box and OK pressed.
    void TypeAndOk(const char* name)
    {
        ::SetDlgItemText(Pane(), CFileWnd::kNameId, "");
        TypeText(Pane(), CFileWnd::kNameId, name);
        Press(files->GetSafeHwnd(), IDOK);
    }
    // A design of one image layer written by the document's own save.
    void WriteDesign(const CString& path)
    {
        auto* layer = new CImageLayer;
        layer->SetPlacement(CRect(0, 0, 400, 300), 400, 300);
        Bitmap picture(40, 30, PixelFormat32bppARGB);
        {
            Graphics g(&picture);
            g.Clear(Color(255, 200, 40, 40));
        }
        layer->SetBitmap(&picture);
        layer->m_loaded = true;
        doc->GetImageList()->Add(layer);
        // With the sheet image, so that the file has the thumbnail the list shows.
        doc->RebuildFrames();
        ASSERT_TRUE(doc->OnSaveDocument(path));
    }

    CountingHost host;
    CDocumentHost* m_previousHost = nullptr;
    CSingleDocTemplate* m_template = nullptr;
    CString m_oldRoot, m_oldHelp, m_oldSave, m_oldCurrent;
    CString folder;
    CFrostwellDoc* doc = nullptr;
    CFrameWnd* frame = nullptr;
    CFilesDlg* files = nullptr;
};

} // namespace

// Saving to a chosen place: the title and pane of mode 2; OK without a name does nothing;
// a typed name is saved as a design in the folder shown, the document takes that path as
// its title, is no longer modified, and the folder becomes the saving folder.
TEST_F(FilesDialog, SaveAsWritesTheTypedNameAndFollowsTheFolder)
{
    doc->SetTitle("Untitled");
    doc->SetModifiedFlag(TRUE);
    bool stayedOpen = false;
    const INT_PTR result = Run(CFilesDlg::kSaveAs, {[&](HWND dlg) {
                                   EXPECT_EQ(GetLangText("53"), WindowText(dlg));
                                   EXPECT_FALSE(Visible(dlg, IDC_FILES_SAVE_AS));
                                   EXPECT_FALSE(Visible(dlg, IDC_FILES_SNAPSHOT));
                                   EXPECT_TRUE(files->GetPane().GetTree().IsWindowVisible());
                                   EXPECT_TRUE(files->GetPane().GetList().IsWindowVisible());
                                   EXPECT_TRUE(ShowsFolder(folder)) << (LPCTSTR)files->GetPane().GetListFolder();
                                   SaveScreenshot(dlg, "files-mode2");
                                   Press(dlg, IDOK);
                                   PumpPending();
                                   stayedOpen = files->ContinueModal() && ::IsWindowVisible(dlg);
                                   TypeAndOk("Cake");
                               }});
    EXPECT_TRUE(stayedOpen) << "OK without a name";
    EXPECT_EQ(IDOK, result);
    const CString saved = folder + "\\cake.ktb";
    EXPECT_TRUE(Exists(saved));
    EXPECT_EQ(0, saved.CompareNoCase(doc->GetTitle())) << (LPCTSTR)doc->GetTitle();
    EXPECT_EQ(0, saved.CompareNoCase(doc->GetDesignPath()));
    EXPECT_FALSE(doc->IsModified());
    CString saveDir = GetSetting("path_SAVE_DIR");
    saveDir.TrimRight('\\');
    EXPECT_EQ(0, saveDir.CompareNoCase(folder)) << (LPCTSTR)saveDir;
}

// Saving to the design's own path shows the preview: the sheet image fitted into the area
// and centred, pale yellow beside it; the save-as button then switches to mode 2, hiding
// itself and the snapshot button and showing the folder tree and file list.
TEST_F(FilesDialog, SaveToPathPreviewsTheSheetAndSaveAsSwitchesMode)
{
    doc->SetTitle("Cake");
    doc->SetDesignPath(folder + "\\cake.ktb");
    const INT_PTR result =
        Run(CFilesDlg::kSaveToPath, {[&](HWND dlg) {
                EXPECT_EQ(GetLangText("52"), WindowText(dlg));
                EXPECT_TRUE(Visible(dlg, IDC_FILES_SAVE_AS));
                EXPECT_TRUE(Visible(dlg, IDC_FILES_SNAPSHOT));
                EXPECT_FALSE(files->GetPane().GetTree().IsWindowVisible());
                EXPECT_FALSE(files->GetPane().GetList().IsWindowVisible());
                Bitmap* sheet = doc->GetSheetImage();
                if (sheet == nullptr) {
                    ADD_FAILURE() << "the set-up renders no sheet image";
                } else {
                    CRect client;
                    ::GetClientRect(dlg, &client);
                    const CRect area = CFilesDlg::PreviewArea(client);
                    const CRect place = CFilesDlg::PreviewRect(area, (int)sheet->GetWidth(), (int)sheet->GetHeight());
                    // A portrait sheet fills the area's height, centred across it.
                    EXPECT_EQ(area.Height(), place.Height());
                    EXPECT_LT(place.Width(), area.Width());
                    EXPECT_LE(std::abs((place.left - area.left) - (area.right - place.right)), 1);
                    ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                    PumpPending();
                    SaveScreenshot(dlg, "files-mode1-preview");
                    const Picture shown = PictureOfWindow(dlg, client);
                    if (shown.width != client.Width()) {
                        ADD_FAILURE() << "the dialog's pixels cannot be read";
                    } else {
                        const DWORD yellow = 0xFFFFC0;
                        EXPECT_EQ(yellow, shown.At(area.left + 2, area.top + area.Height() / 2) & 0xFFFFFF) << "beside";
                        EXPECT_NE(yellow, shown.At(place.CenterPoint().x, place.CenterPoint().y) & 0xFFFFFF) << "sheet";
                        EXPECT_NE(yellow, shown.At(place.left + 2, place.top + 2) & 0xFFFFFF) << "the sheet's corner";
                    }
                }
                Press(dlg, IDC_FILES_SAVE_AS);
                EXPECT_TRUE(PumpUntil([&] { return files->GetMode() == CFilesDlg::kSaveAs; }));
                EXPECT_EQ(GetLangText("53"), WindowText(dlg));
                EXPECT_FALSE(Visible(dlg, IDC_FILES_SAVE_AS));
                EXPECT_FALSE(Visible(dlg, IDC_FILES_SNAPSHOT));
                EXPECT_TRUE(files->GetPane().GetTree().IsWindowVisible());
                EXPECT_TRUE(files->GetPane().GetList().IsWindowVisible());
                Press(dlg, IDCANCEL);
            }});
    EXPECT_EQ(IDCANCEL, result);
}

// The preview's fit: each side of the image against the area, both orientations.
TEST(FilesDialogPreview, FitsTheImageAndCentresIt)
{
    const CRect area(70, 10, 470, 310); // 400 x 300
    static const struct
    {
        int w, h;
        CRect expected;
    } cases[] = {
        {300, 600, CRect(195, 10, 345, 310)}, // portrait: the area's height
        {100, 50, CRect(70, 60, 470, 260)},   // landscape: the area's width
        {800, 200, CRect(70, 110, 470, 210)}, // wide: the width again
        {100, 90, CRect(103, 10, 436, 310)},  // wider than tall, the height bounds it
        {90, 100, CRect(135, 10, 405, 310)},  // taller than wide
        {0, 100, CRect(0, 0, 0, 0)},          // no size: nothing to draw
    };
    for (const auto& c : cases) {
        const CRect r = CFilesDlg::PreviewRect(area, c.w, c.h);
        EXPECT_EQ(c.expected, r) << c.w << "x" << c.h << " -> " << r.left << "," << r.top << "," << r.right << ","
                                 << r.bottom;
    }
}

// The snapshot's file: the folder of the confirmed path and the title up to its last dot.
TEST(FilesDialogSnapshot, NameIsFolderAndTitleUpToTheLastDot)
{
    static const struct
    {
        const char* path;
        const char* title;
        const char* file;
    } cases[] = {
        {"c:\\cakes\\cake.png", "cake.png", "c:\\cakes\\cake.jpg"},
        {"c:\\cakes\\cake", "cake", "c:\\cakes\\cake.jpg"},
        {"c:\\cakes\\my.cake.v2.jpg", "my.cake.v2.jpg", "c:\\cakes\\my.cake.v2.jpg"},
        {"c:\\cake.JPG", "cake.JPG", "c:\\cake.jpg"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.file, CFilesDlg::SnapshotPath(c.path, c.title)) << c.path;
}

// A save that fails (a folder that cannot take the file, or a worker that cannot start)
// shows "IDS_STRING343" once the worker has ended, keeps the dialog open and the design's
// title, path and changes; Cancel then ends it, and the design still asks before closing.
TEST_F(FilesDialog, FailedSaveShowsTheMessageAndKeepsDesignAndDialog)
{
    const char* readOnly = getenv("SL_FILES_READONLY_DIR");
    static const struct
    {
        const char* what;
        bool noThread;
    } cases[] = {{"the folder cannot take the file", false}, {"the worker cannot start", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CString target = folder;
        if (!c.noThread && readOnly != nullptr) {
            target = readOnly;
            target.MakeLower();
        } else if (!c.noThread) {
            // A folder in the way of the file: no file of that name can be made there.
            ASSERT_TRUE(::CreateDirectory(folder + "\\cake.ktb", nullptr));
        }
        SetDataFolder("SAVE_DIR", target);
        FwSetWorkerThreadStarter(c.noThread ? &NoThread : nullptr);
        doc->SetTitle("Kept");
        doc->SetDesignPath("");
        doc->SetModifiedFlag(TRUE);
        CString shown;
        bool openWhileShown = false;
        DWORD pressed = 0, asked = 0, barShown = 0;
        HWND filesWnd = nullptr;
        const INT_PTR result = Run(CFilesDlg::kSaveAs, {[&](HWND dlg) {
                                                            filesWnd = dlg;
                                                            EXPECT_TRUE(ShowsFolder(target));
                                                            pressed = ::GetTickCount();
                                                            TypeAndOk("cake");
                                                        },
                                                        [&](HWND msg) {
                                                            asked = ::GetTickCount();
                                                            shown = ItemText(msg, IDC_MESSAGE_TEXT);
                                                            openWhileShown = ::IsWindowVisible(filesWnd) != FALSE;
                                                            barShown = BarPixel(filesWnd);
                                                            Press(msg, IDOK);
                                                            // Then Cancel in the dialog that stayed.
                                                            Press(filesWnd, IDCANCEL);
                                                        }});
        FwSetWorkerThreadStarter(nullptr);
        EXPECT_EQ(IDCANCEL, result) << "the failed save did not end the dialog";
        EXPECT_EQ(GetLangText("IDS_STRING343"), shown);
        EXPECT_LT(asked - pressed, 5000u);
        EXPECT_TRUE(openWhileShown);
        EXPECT_EQ(0xFFFFC0u, barShown) << "the hidden bar is painted over";
        EXPECT_STREQ("Kept", doc->GetTitle());
        EXPECT_STREQ("", doc->GetDesignPath());
        EXPECT_TRUE(doc->IsModified());
        const int before = host.asked;
        EXPECT_FALSE(doc->SaveModified());
        EXPECT_EQ(before + 1, host.asked) << "closing still asks";
        if (readOnly != nullptr && !c.noThread) {
            EXPECT_FALSE(Exists(target + "\\cake.ktb"));
        }
    }
    // The positive control: the same dialog saves into a folder that takes the file.
    SetDataFolder("SAVE_DIR", folder);
    const INT_PTR result = Run(CFilesDlg::kSaveAs, {[&](HWND) {
                                   EXPECT_TRUE(ShowsFolder(folder));
                                   TypeAndOk("other");
                               }});
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(Exists(folder + "\\other.ktb"));
    EXPECT_FALSE(doc->IsModified());
}

// Opening: mode 0 lists the folder's designs; a picked design and OK opens it, selects its
// first image layer and takes its path as title.  A damaged file shows its message, ends
// the dialog as OK does, and leaves the design as it was.
TEST_F(FilesDialog, OpenPicksADesignAndDamagedFileLeavesTheDesign)
{
    const CString cake = folder + "\\cake.ktb";
    WriteDesign(cake);
    doc->GetImageList()->RemoveAll();
    doc->SetSelectedLayerA(nullptr);
    doc->SetTitle("Before");
    doc->SetModifiedFlag(FALSE);

    // Picks the file of that name in the list (the folder holds `count` files).
    auto pick = [&](const char* name, int count) {
        CThumbListCtrl& list = files->GetPane().GetList();
        if (!PumpUntil([&] { return list.GetItemCount() == count; }, 15000)) {
            ADD_FAILURE() << "the list shows " << list.GetItemCount() << " files";
            return;
        }
        for (int i = 0; i < count; ++i)
            if (list.GetItemText(i, 0) == name)
                list.SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EXPECT_TRUE(PumpUntil([&] { return ItemText(Pane(), CFileWnd::kNameId) == name; })) << name;
    };
    INT_PTR result = Run(CFilesDlg::kOpen, {[&](HWND dlg) {
                             EXPECT_EQ(GetLangText("51"), WindowText(dlg));
                             EXPECT_FALSE(Visible(dlg, IDC_FILES_SAVE_AS));
                             EXPECT_FALSE(Visible(dlg, IDC_FILES_SNAPSHOT));
                             pick("cake.ktb", 1);
                             SaveScreenshot(dlg, "files-mode0");
                             Press(dlg, IDOK);
                         }});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1, doc->GetImageList()->GetCount());
    EXPECT_NE(nullptr, doc->GetSelectedImage());
    EXPECT_EQ(0, cake.CompareNoCase(doc->GetTitle())) << (LPCTSTR)doc->GetTitle();

    // A damaged design beside it: its thumbnail is there, its data is not.
    const CString damaged = folder + "\\damaged.ktb";
    ASSERT_TRUE(::CopyFile(cake, damaged, FALSE));
    ASSERT_TRUE(DamageDesignData(damaged));
    CString shown;
    result = Run(CFilesDlg::kOpen, {[&](HWND dlg) {
                                        pick("damaged.ktb", 2);
                                        Press(dlg, IDOK);
                                    },
                                    [&](HWND msg) {
                                        shown = ItemText(msg, IDC_MESSAGE_TEXT);
                                        Press(msg, IDOK);
                                    }});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(GetLangText("IDS_DESIGN_NOT_OPENED"), shown);
    EXPECT_EQ(1, doc->GetImageList()->GetCount()) << "the design as it was";
    EXPECT_EQ(0, cake.CompareNoCase(doc->GetTitle()));
}

// The snapshot: the system's save dialog names a file; the sheet image is written as a
// decodable JPEG of its size under the title up to its last dot + ".jpg" in that folder.
// A new name is accepted.  An existing JPEG under another confirmed name is asked about
// first: No writes nothing, Yes replaces it.  A write that fails is reported.  The dialog
// stays open throughout.
TEST_F(FilesDialog, SnapshotWritesTheSheetAsJpegAndAsksBeforeReplacing)
{
    const ComScope com = EnsureCom();
    doc->SetTitle("Cake");
    doc->SetDesignPath(folder + "\\cake.ktb");
    const char oldBytes[] = "an older picture";
    static const struct
    {
        const char* what;
        const char* typed;   // into the save dialog
        const char* written; // the file made
        bool existsBefore;   // that file is there before
        int answer;          // to the question (0: none expected)
        bool blocked;        // a folder of that name is in the way: the write fails
    } cases[] = {
        {"a title with an extension", "cake.png", "cake.jpg", false, 0, false},
        {"a new name without one", "fresh", "fresh.jpg", false, 0, false},
        {"an existing file, No", "cake.png", "cake.jpg", true, IDCANCEL, false},
        {"an existing file, Yes", "cake.png", "cake.jpg", true, IDOK, false},
        {"a file that cannot be written", "blocked.png", "blocked.jpg", true, IDOK, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CString target = folder + "\\" + c.written;
        ::DeleteFile(target);
        if (c.blocked) {
            ASSERT_TRUE(::CreateDirectory(target, nullptr));
        } else if (c.existsBefore) {
            CFile old(target, CFile::modeCreate | CFile::modeWrite);
            old.Write(oldBytes, sizeof(oldBytes));
        }
        HWND filesWnd = nullptr;
        CString question, message;
        bool openAfter = false;
        std::vector<DialogDriver::Step> steps = {[&](HWND dlg) {
                                                     filesWnd = dlg;
                                                     Press(dlg, IDC_FILES_SNAPSHOT);
                                                 },
                                                 [&](HWND save) {
                                                     const CString path = folder + "\\" + c.typed;
                                                     ::SetDlgItemText(save, cmb13, path);
                                                     ::SetDlgItemText(save, edt1, path);
                                                     Press(save, IDOK);
                                                     if (c.answer == 0)
                                                         Press(filesWnd, IDCANCEL);
                                                 }};
        if (c.answer != 0)
            steps.push_back([&](HWND ask) {
                question = ItemText(ask, IDC_MESSAGE_TEXT);
                openAfter = ::IsWindowVisible(filesWnd) != FALSE;
                Press(ask, c.answer);
                if (!c.blocked)
                    Press(filesWnd, IDCANCEL);
            });
        if (c.blocked)
            steps.push_back([&](HWND shown) {
                message = ItemText(shown, IDC_MESSAGE_TEXT);
                Press(shown, IDOK);
                Press(filesWnd, IDCANCEL);
            });
        EXPECT_EQ(IDCANCEL, Run(CFilesDlg::kSaveToPath, steps)) << "the snapshot ended the dialog";
        if (c.answer != 0) {
            EXPECT_TRUE(openAfter);
            EXPECT_NE(-1, question.Find(c.written)) << (LPCTSTR)question;
        }
        EXPECT_FALSE(Exists(folder + "\\" + c.typed) && CString(c.typed) != c.written) << "the confirmed name";
        if (c.blocked) {
            EXPECT_EQ(GetLangText("SNAPSHOT_NOT_SAVED"), message) << "a failed write is reported";
            ::RemoveDirectory(target);
            continue;
        }
        EXPECT_EQ("", message);
        if (c.answer == IDCANCEL) {
            CFile old(target, CFile::modeRead);
            EXPECT_EQ(sizeof(oldBytes), old.GetLength()) << "No kept the file";
            continue;
        }
        Bitmap* sheet = doc->GetSheetImage();
        ASSERT_NE(nullptr, sheet);
        const CStringW wide(target);
        Bitmap written(wide);
        ASSERT_EQ(Ok, written.GetLastStatus()) << "not a decodable picture";
        GUID format;
        written.GetRawFormat(&format);
        EXPECT_TRUE(format == ImageFormatJPEG);
        EXPECT_EQ(sheet->GetWidth(), written.GetWidth());
        EXPECT_EQ(sheet->GetHeight(), written.GetHeight());
    }
}

// While the worker saves, the waiting thread steps the pane's bar every 100 ms and answers
// what the worker sends it; once it has ended the bar is run to its end and hidden.
TEST_F(FilesDialog, SaveStepsThePaneBarWhileTheWorkerRuns)
{
    const CString path = folder + "\\slow.ktb";
    doc->SetDesignPath(path);
    doc->SetModifiedFlag(TRUE);
    g_bar = nullptr;
    g_barPos = -1;
    g_barShown = FALSE;
    FwSetWorkerThreadStarter(&LateThread);
    const INT_PTR result = Run(CFilesDlg::kSaveToPath, {[&](HWND dlg) {
                                   g_bar = ::GetDlgItem(Pane(), CFileWnd::kProgressId);
                                   EXPECT_FALSE(::IsWindowVisible(g_bar));
                                   Press(dlg, IDOK);
                               }});
    FwSetWorkerThreadStarter(nullptr);
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(Exists(path));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(g_barShown) << "the bar shows while the worker runs";
    // 700 ms at 100 ms a step: a few steps at least, whatever the scheduler does.
    EXPECT_GE(g_barPos, 2) << "the bar did not step";
    EXPECT_LE(g_barPos, 10);
}

namespace {

// The tooltip windows a dialog owns (its own, and those its controls made).
struct TooltipSearch
{
    HWND owner;
    std::vector<HWND> found;
};
BOOL CALLBACK FindOwnedTooltip(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<TooltipSearch*>(param);
    char cls[32] = "";
    ::GetClassNameA(wnd, cls, sizeof cls);
    if (lstrcmpA(cls, "CPPToolTip") == 0 && ::GetWindow(wnd, GW_OWNER) == search->owner)
        search->found.push_back(wnd);
    return TRUE;
}

} // namespace

// The dialog's own tooltip carries the help bubble of each of its controls and of the
// pane's tree, list and name box, from the tips file.
TEST_F(FilesDialog, EveryControlHasItsHelpBubble)
{
    static const struct
    {
        bool inPane;
        int id;
        const char* title;
    } controls[] = {
        {false, IDC_FILES_SAVE_AS, "Save as"},
        {false, IDC_FILES_SNAPSHOT, "Snapshot"},
        {false, IDOK, "OK"},
        {false, IDCANCEL, "Cancel"},
        {true, CFileWnd::kTreeId, "Folders"},
        {true, CFileWnd::kListId, "Files"},
        {true, CFileWnd::kNameId, "File name"},
    };
    // Per tooltip the dialog owns: the tools of each control.
    std::vector<std::vector<std::vector<PPToolInfo>>> found;
    const INT_PTR result =
        Run(CFilesDlg::kSaveAs, {[&](HWND dlg) {
                TooltipSearch search = {dlg, {}};
                ::EnumThreadWindows(::GetCurrentThreadId(), &FindOwnedTooltip, (LPARAM)&search);
                for (HWND wnd : search.found) {
                    auto* tip = dynamic_cast<CPPToolTip*>(CWnd::FromHandlePermanent(wnd));
                    if (tip == nullptr)
                        continue;
                    found.emplace_back();
                    for (const auto& c : controls)
                        found.back().push_back(tip->GetTools(::GetDlgItem(c.inPane ? Pane() : dlg, c.id)));
                }
                Press(dlg, IDCANCEL);
            }});
    EXPECT_EQ(IDCANCEL, result);
    // One of them carries every bubble, each from its tip's text.
    bool carried = false;
    for (const auto& tools : found) {
        if (tools[0].size() != 1)
            continue;
        carried = true;
        for (size_t i = 0; i < tools.size(); ++i) {
            ASSERT_EQ(1u, tools[i].size()) << controls[i].title;
            EXPECT_NE(-1, tools[i][0].sTooltip.Find(controls[i].title)) << controls[i].title;
        }
    }
    EXPECT_TRUE(carried) << found.size() << " tooltips of the dialog, none with the bubble of its save-as button";
}

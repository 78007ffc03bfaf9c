// The Background menu's two picture panels (tiled background image, border image) inside a
// real frame and view, reached through the fill panel's quick links and used as a person
// uses them: New shows the file pane, a thumbnail chosen in it is read on a worker, the
// bars are dragged with the mouse. What each step stores in the current frame record,
// which controls show, what the preview paints.
#include "app/home/PanelManager.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/view/FrostwellView.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "fw/fwworker.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/gfx/ImageEncoders.h"
#include "res/app_res.h"
#include "res/background_res.h"
#include "testsupport/DibSurface.h"
#include "testsupport/Dump.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "ui/XScrollBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Gdiplus;

namespace {

// Counts the design's "modified" marks, with the tick of each.
class MarkingDoc : public CFrostwellDoc
{
    DECLARE_DYNCREATE(MarkingDoc)
public:
    void SetModifiedFlag(BOOL modified = TRUE) override
    {
        if (modified)
            marks.push_back(::GetTickCount());
        CFrostwellDoc::SetModifiedFlag(modified);
    }
    std::vector<DWORD> marks;
};
IMPLEMENT_DYNCREATE(MarkingDoc, CFrostwellDoc)

const COLORREF kTileRed = RGB(220, 30, 30);
const COLORREF kTileGreen = RGB(30, 200, 60);

// A folder of pictures of the test's own below a hidden folder, the data folders of both
// panels while it lives:
// "tile.png" (red), "other.png" (green), "broken.png" (a picture until the test writes text
// over it) and "more\deep.png" (green).
class PictureFolder
{
public:
    PictureFolder() : m_oldImages(GetSetting("path_IMAGES_DIR")), m_oldFrames(GetSetting("path_FRAMES_DIR"))
    {
        // Below a hidden folder, as the per-user data folders are: the pane opens it all the same.
        char temp[MAX_PATH];
        ::GetTempPath(MAX_PATH, temp);
        m_hidden.Format("%ssl_hidden_%lu", temp, (unsigned long)::GetCurrentProcessId());
        ::CreateDirectory(m_hidden, nullptr);
        ::SetFileAttributes(m_hidden, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
        folder = m_hidden + "\\pictures";
        ::CreateDirectory(folder, nullptr);
        ::CreateDirectory(folder + "\\more", nullptr);
        ok = Write("tile.png", kTileRed) && Write("other.png", kTileGreen) && Write("broken.png", kTileRed) &&
             Write("more\\deep.png", kTileGreen);
        SetSetting("path_IMAGES_DIR", folder);
        SetSetting("path_FRAMES_DIR", folder);
    }
    ~PictureFolder()
    {
        for (const char* name :
             {"tile.png", "other.png", "broken.png", "more\\deep.png", "thumbs.pst", "more\\thumbs.pst"})
            ::DeleteFile(folder + "\\" + name);
        ::RemoveDirectory(folder + "\\more");
        ::RemoveDirectory(folder);
        ::SetFileAttributes(m_hidden, FILE_ATTRIBUTE_DIRECTORY);
        ::RemoveDirectory(m_hidden);
        SetSetting("path_IMAGES_DIR", m_oldImages);
        SetSetting("path_FRAMES_DIR", m_oldFrames);
    }
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;

    // An 8 x 8 picture of one colour with a white top-left quarter.
    bool Write(const char* name, COLORREF colour)
    {
        Bitmap bitmap(8, 8, PixelFormat24bppRGB);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                bitmap.SetPixel(x, y,
                                x < 4 && y < 4 ? Color(255, 255, 255)
                                               : Color(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
        return SaveImageToFile(&bitmap, CStringW(folder + "\\" + name), L"image/png");
    }
    // Text where a picture was.
    bool WriteText(const char* name)
    {
        FILE* f = fopen(folder + "\\" + name, "w");
        if (f == nullptr)
            return false;
        fputs("not a picture\n", f);
        fclose(f);
        return true;
    }

    CString folder;
    bool ok = false;

private:
    CString m_hidden;
    CString m_oldImages, m_oldFrames;
};

// Counts the dialog windows made on this thread while it lives.
class DialogCounter
{
public:
    DialogCounter()
    {
        s_count = 0;
        s_hook = ::SetWindowsHookEx(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~DialogCounter() { ::UnhookWindowsHookEx(s_hook); }
    DialogCounter(const DialogCounter&) = delete;
    DialogCounter& operator=(const DialogCounter&) = delete;
    bool Active() const { return s_hook != nullptr; }
    int Count() const { return s_count; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && reinterpret_cast<CBT_CREATEWND*>(lParam)->lpcs->lpszClass == MAKEINTATOM(32770))
            ++s_count;
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static HHOOK s_hook;
    static int s_count;
};
HHOOK DialogCounter::s_hook = nullptr;
int DialogCounter::s_count = 0;

// A dialog made and destroyed at once: the counter's positive control.
void MakeOneDialog()
{
    struct
    {
        DLGTEMPLATE t;
        WORD menu, cls, title;
    } tmpl = {};
    tmpl.t.style = WS_POPUP;
    HWND dlg = ::CreateDialogIndirect(::GetModuleHandle(nullptr), &tmpl.t, nullptr, nullptr);
    if (dlg != nullptr)
        ::DestroyWindow(dlg);
}

HANDLE NoThread(unsigned(__stdcall*)(void*), void*) { return nullptr; }

class BackgroundPictures : public DesignWindowTest
{
public:
    CRuntimeClass* DocClass() const override { return RUNTIME_CLASS(MarkingDoc); }
    void SetUp() override
    {
        DesignWindowTest::SetUp();
        mdoc = static_cast<MarkingDoc*>(doc);
        ASSERT_TRUE(pictures.ok);
    }
    void ShowMenu()
    {
        GetGlobalObjectC()->ShowBackgroundMenu();
        menu = GetGlobalObjectC()->GetBackgroundMenu();
        ASSERT_NE(nullptr, menu);
        ASSERT_TRUE(PumpPending(10000));
    }
    CLayerArray* Layers() { return doc->GetLayers(); }
    static CString Entry(HWND panel, int index)
    {
        char text[64] = "";
        ::SendDlgItemMessage(panel, IDC_QUICK_LINKS, LB_GETTEXT, index, (LPARAM)text);
        return text;
    }
    static int EntryCount(HWND panel) { return (int)::SendDlgItemMessage(panel, IDC_QUICK_LINKS, LB_GETCOUNT, 0, 0); }
    // Chooses an entry of a panel's quick links as a click does.
    void Jump(HWND panel, int index)
    {
        ::SendDlgItemMessage(panel, IDC_QUICK_LINKS, LB_SETCURSEL, index, 0);
        ::PostMessage(panel, WM_COMMAND, MAKEWPARAM(IDC_QUICK_LINKS, LBN_SELCHANGE),
                      (LPARAM)::GetDlgItem(panel, IDC_QUICK_LINKS));
        ASSERT_TRUE(PumpPending(10000));
    }
    // The image panel shown through the fill panel's entry "15".
    void ShowImagePanel()
    {
        ShowMenu();
        Jump(menu->m_fillDlg.GetSafeHwnd(), 1);
        ASSERT_EQ(1, menu->GetCurrentPanelIndex());
        image = &menu->m_imageDlg;
        ASSERT_TRUE(::IsWindowVisible(image->GetSafeHwnd()));
    }
    void Click(HWND panel, int id)
    {
        Press(panel, id);
        ASSERT_TRUE(PumpPending(10000));
    }
    // Chooses the file's thumbnail in the panel's pane (New first) as a click does, and
    // waits until the panel has taken the pick.
    void Pick(CBackgroundPickDlg* panel, const char* name)
    {
        if (!panel->IsBrowsing())
            Click(panel->GetSafeHwnd(), IDC_PICK_NEW);
        ASSERT_TRUE(panel->IsBrowsing());
        CThumbListCtrl& list = panel->Browser().GetList();
        int index = -1;
        const bool listed = PumpUntil(
            [&] {
                for (int i = 0; i < list.GetItemCount(); ++i)
                    if (list.GetItemText(i, 0).CompareNoCase(name) == 0)
                        index = i;
                return index >= 0;
            },
            15000);
        ASSERT_TRUE(listed) << name << " never showed in the pane";
        // A file written over after it was listed: the list shows what it was.
        if (textInstead) {
            ASSERT_TRUE(pictures.WriteText(name));
        }
        list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        list.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ASSERT_TRUE(PumpUntil([&] { return !panel->IsBrowsing(); }, 15000)) << "the pick of " << name << " never ended";
        ASSERT_TRUE(PumpPending(5000));
    }
    HWND Item(CWnd* panel, int id) const { return ::GetDlgItem(panel->GetSafeHwnd(), id); }
    bool Shown(CWnd* panel, int id) const { return ::IsWindowVisible(Item(panel, id)) != FALSE; }
    bool Enabled(CWnd* panel, int id) const { return ::IsWindowEnabled(Item(panel, id)) != FALSE; }
    // The image panel's controls of the picture: shown and enabled as expected.
    void ExpectPictureControls(bool enabled, const char* what)
    {
        for (int id : {IDC_PICK_DELETE, IDC_BGIMAGE_ROTATION, IDC_BGIMAGE_SIZE, IDC_BGIMAGE_TRANS})
            EXPECT_EQ(enabled, Enabled(image, id)) << what << ", control " << id;
        for (int id : {IDC_BGIMAGE_SIZE_VALUE, IDC_BGIMAGE_TRANS_VALUE})
            EXPECT_EQ(enabled, Shown(image, id)) << what << ", value " << id;
    }
    CXScrollBar* Bar(int id) { return dynamic_cast<CXScrollBar*>(CWnd::FromHandlePermanent(Item(image, id))); }
    // Drags a bar's thumb with the mouse until its position reaches `target` (or the
    // pointer has gone `limit` pixels), then releases it; returns the bar's position.
    int DragBar(int id, int target, int limit = 400)
    {
        CXScrollBar* bar = Bar(id);
        if (bar == nullptr)
            return -1;
        const CRect thumb = bar->GetThumbRect();
        const int y = thumb.CenterPoint().y;
        int x = thumb.CenterPoint().x;
        const int step = target > bar->GetScrollPos() ? 1 : -1;
        ::PostMessage(bar->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PumpPending();
        for (int moved = 0; moved < limit && (step > 0 ? bar->GetScrollPos() < target : bar->GetScrollPos() > target);
             ++moved) {
            x += step;
            ::PostMessage(bar->GetSafeHwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((short)x, y));
            PumpPending();
        }
        ::PostMessage(bar->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM((short)x, y));
        PumpPending();
        return bar->GetScrollPos();
    }
    // Clicks a bar's arrow (right when forward) n times.
    void StepBar(int id, bool forward, int n)
    {
        HWND bar = Item(image, id);
        CRect r;
        ::GetClientRect(bar, &r);
        const LPARAM at = MAKELPARAM(forward ? r.right - 5 : 5, r.Height() / 2);
        for (int i = 0; i < n; ++i) {
            ::PostMessage(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
            ::PostMessage(bar, WM_LBUTTONUP, 0, at);
        }
        PumpPending();
    }
    // The colour at a client point of a window as the screen shows it.
    static COLORREF ScreenPixel(HWND wnd, int x, int y)
    {
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HDC dc = ::GetDC(wnd);
        const COLORREF c = ::GetPixel(dc, x, y);
        ::ReleaseDC(wnd, dc);
        return c;
    }

    PictureFolder pictures;
    bool textInstead = false;
    MarkingDoc* mdoc = NULL;
    CBackgroundMenuDlg* menu = NULL;
    CBackgroundImageDlg* image = NULL;
};

TEST_F(BackgroundPictures, QuickLinkShowsTheImagePanelAndNewShowsThePaneAlone)
{
    ShowMenu();
    const HWND fill = menu->m_fillDlg.GetSafeHwnd();
    ASSERT_EQ(2, menu->GetPanelCount()) << "fill and image without individual designs or frames tool";
    ASSERT_EQ(2, EntryCount(fill));
    EXPECT_STREQ(GetLangText("14"), Entry(fill, 0));
    EXPECT_STREQ(GetLangText("15"), Entry(fill, 1));
    ShowImagePanel();
    const HWND panel = image->GetSafeHwnd();
    EXPECT_FALSE(::IsWindowVisible(fill));
    EXPECT_EQ(1, (int)::SendDlgItemMessage(panel, IDC_QUICK_LINKS, LB_GETCURSEL, 0, 0));
    EXPECT_STREQ(GetLangText("NEW"), ItemText(panel, IDC_PICK_NEW));
    EXPECT_STREQ(GetLangText("26"), ItemText(panel, IDC_BGIMAGE_SIZE_LABEL));
    EXPECT_TRUE(Shown(image, IDC_PICK_NEW));
    EXPECT_FALSE(Shown(image, IDC_PICK_CANCEL));
    EXPECT_FALSE(image->IsBrowsing());
    ExpectPictureControls(false, "no picture yet");

    // New: the pane and Cancel, nothing else of the panel.
    Click(panel, IDC_PICK_NEW);
    EXPECT_TRUE(image->IsBrowsing());
    EXPECT_TRUE(::IsWindowEnabled(image->Browser().GetSafeHwnd()));
    std::vector<int> shown;
    for (HWND child = ::GetWindow(panel, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child))
            shown.push_back(::GetDlgCtrlID(child));
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ((std::vector<int>{IDC_PICK_BROWSER, IDC_PICK_CANCEL}), shown) << "what the browsing view shows";
    CRect pane, client;
    image->Browser().GetWindowRect(&pane);
    image->ScreenToClient(&pane);
    image->GetClientRect(&client);
    EXPECT_EQ(CRect(0, 0, client.right, client.bottom - 60), pane);
    EXPECT_TRUE(SaveScreenshot(menu->GetSafeHwnd(), "background_image_browsing"));

    // Cancel, Esc and another panel each end browsing; the normal view comes back.
    struct
    {
        const char* what;
        void (*leave)(BackgroundPictures*, HWND);
    } roads[] = {
        {"Cancel", [](BackgroundPictures* t, HWND p) { t->Click(p, IDC_PICK_CANCEL); }},
        {"Esc",
         [](BackgroundPictures*, HWND p) {
             ::SetFocus(::GetDlgItem(p, IDC_PICK_CANCEL));
             PressEscape(p);
             PumpPending(5000);
         }},
        {"fill panel and back",
         [](BackgroundPictures* t, HWND p) {
             t->Jump(p, 0);
             EXPECT_TRUE(::IsWindowVisible(t->menu->m_fillDlg.GetSafeHwnd()));
             t->Jump(t->menu->m_fillDlg.GetSafeHwnd(), 1);
         }},
    };
    for (const auto& road : roads) {
        if (!image->IsBrowsing())
            Click(panel, IDC_PICK_NEW);
        ASSERT_TRUE(image->IsBrowsing()) << road.what;
        road.leave(this, panel);
        EXPECT_FALSE(image->IsBrowsing()) << road.what;
        EXPECT_TRUE(::IsWindowVisible(panel)) << road.what;
        EXPECT_TRUE(Shown(image, IDC_PICK_NEW)) << road.what;
        EXPECT_FALSE(Shown(image, IDC_PICK_CANCEL)) << road.what;
        EXPECT_TRUE(Shown(image, IDC_QUICK_LINKS)) << road.what;
        EXPECT_TRUE(Shown(image, IDC_BGIMAGE_ROTATION)) << road.what;
        EXPECT_TRUE(::IsWindowVisible(menu->GetSafeHwnd())) << road.what << ": the menu stays";
    }
}

TEST_F(BackgroundPictures, PickedPictureBecomesTheTiledBackground)
{
    ShowImagePanel();
    // The pane moves to a subfolder, as a click on its tree does.
    Click(image->GetSafeHwnd(), IDC_PICK_NEW);
    CTreeCtrl& tree = image->Browser().GetTree();
    HTREEITEM more = nullptr;
    for (HTREEITEM i = tree.GetChildItem(tree.GetSelectedItem()); i != nullptr; i = tree.GetNextSiblingItem(i))
        if (tree.GetItemText(i).CompareNoCase("more") == 0)
            more = i;
    ASSERT_NE(nullptr, more) << "the pane opens at the pictures' folder";
    tree.SelectItem(more);
    PumpPending();
    const size_t marksBefore = mdoc->marks.size();
    Pick(image, "deep.png");
    CImageLayer* layer = Layers()->GetBackgroundImage();
    ASSERT_NE(nullptr, layer);
    ASSERT_NE(nullptr, layer->GetScreenCopy());
    Color corner;
    ASSERT_EQ(Ok, layer->GetMasterBitmap()->GetPixel(7, 7, &corner));
    EXPECT_EQ(kTileGreen, corner.ToCOLORREF()) << "the picked file's pixels";
    EXPECT_EQ(doc->GetDesignRect(), layer->m_designRect) << "placed on the design rectangle";
    EXPECT_EQ(marksBefore + 1, mdoc->marks.size()) << "the design marked modified once";
    ExpectPictureControls(true, "after the pick");
    EXPECT_TRUE(Shown(image, IDC_PICK_NEW));
    EXPECT_FALSE(Shown(image, IDC_PICK_CANCEL));
    CString folder = GetSetting("path_IMAGES_DIR");
    folder.TrimRight('\\');
    EXPECT_STREQ(pictures.folder + "\\more", folder) << "the data folder follows the pick";

    // The preview: the picture fitted in the area under the quick links.
    CRect client;
    image->GetClientRect(&client);
    const CPoint middle((client.left + client.right) / 2, (85 + client.bottom - 225) / 2);
    EXPECT_EQ(kTileGreen, ScreenPixel(image->GetSafeHwnd(), middle.x + 20, middle.y + 20));
    EXPECT_TRUE(SaveScreenshot(menu->GetSafeHwnd(), "background_image_picked"));

    // Another pick (the pane is in that folder now) replaces the picture; Delete takes it away.
    Pick(image, "deep.png");
    ASSERT_NE(nullptr, Layers()->GetBackgroundImage());
    EXPECT_NE(layer, Layers()->GetBackgroundImage());
    Click(image->GetSafeHwnd(), IDC_PICK_DELETE);
    EXPECT_EQ(nullptr, Layers()->GetBackgroundImage());
    ExpectPictureControls(false, "after Delete");
}

TEST_F(BackgroundPictures, FailedPickKeepsThePictureAndShowsNothing)
{
    ShowImagePanel();
    Pick(image, "tile.png");
    CImageLayer* kept = Layers()->GetBackgroundImage();
    ASSERT_NE(nullptr, kept);
    const CString folder = GetSetting("path_IMAGES_DIR");

    DialogCounter dialogs;
    ASSERT_TRUE(dialogs.Active());
    struct
    {
        const char* what;
        bool text;
        bool noWorker;
    } cases[] = {
        {"a file that became text after it was listed", true, false},
        {"a worker that cannot start", false, true},
    };
    for (const auto& c : cases) {
        textInstead = c.text;
        FwWorkerThreadStarter previous = c.noWorker ? FwSetWorkerThreadStarter(&NoThread) : nullptr;
        const size_t marks = mdoc->marks.size();
        Pick(image, c.text ? "broken.png" : "other.png");
        if (c.noWorker)
            FwSetWorkerThreadStarter(previous);
        textInstead = false;
        EXPECT_EQ(kept, Layers()->GetBackgroundImage()) << c.what;
        EXPECT_EQ(marks, mdoc->marks.size()) << c.what << ": the design is not changed";
        ExpectPictureControls(true, c.what);
        EXPECT_STREQ(folder, GetSetting("path_IMAGES_DIR")) << c.what;
    }
    EXPECT_EQ(0, dialogs.Count()) << "no box for a failed pick";
    // Positive controls: the counter sees a dialog, and the same pick with a worker loads.
    MakeOneDialog();
    EXPECT_EQ(1, dialogs.Count());
    Pick(image, "other.png");
    EXPECT_NE(kept, Layers()->GetBackgroundImage());
}

TEST_F(BackgroundPictures, SizeBarDragStoresAtOnceAndRedrawsOnceAfterTheLastMove)
{
    Layers()->SetBgTileScale(1.0f);
    ShowImagePanel();
    Pick(image, "tile.png");
    ASSERT_TRUE(PumpPending(2000));
    ASSERT_EQ(100, Bar(IDC_BGIMAGE_SIZE)->GetScrollPos());
    const size_t marks = mdoc->marks.size();
    const int paints = view->GetScenePaintCount();

    // Dragged towards 250, the last steps with the arrow.
    const int reached = DragBar(IDC_BGIMAGE_SIZE, 240);
    ASSERT_GE(reached, 200);
    ASSERT_LE(reached, 250);
    StepBar(IDC_BGIMAGE_SIZE, true, 250 - reached);
    const DWORD lastMove = ::GetTickCount();
    EXPECT_EQ(250, Bar(IDC_BGIMAGE_SIZE)->GetScrollPos());
    EXPECT_EQ(2.5f, Layers()->GetBgTileScale()) << "stored at once";
    EXPECT_STREQ("250%", ItemText(image->GetSafeHwnd(), IDC_BGIMAGE_SIZE_VALUE));
    EXPECT_EQ(marks, mdoc->marks.size()) << "no redraw while the bar moves";

    ASSERT_TRUE(PumpUntil([&] { return mdoc->marks.size() > marks; }, 3000)) << "never redrawn after the drag";
    EXPECT_GE(mdoc->marks.back() - lastMove, 90u) << "the redraw waits 100 ms after the last move";
    EXPECT_TRUE(PumpUntil([&] { return view->GetScenePaintCount() > paints; }, 3000)) << "the design is painted again";
    // Nothing more follows (the redraw above is the positive control).
    EXPECT_FALSE(PumpUntil([&] { return mdoc->marks.size() > marks + 1; }, 400));
    EXPECT_EQ(marks + 1, mdoc->marks.size());

    // The dial: stored at once, redrawn once after it stops.
    const size_t beforeDial = mdoc->marks.size();
    SetSlider(image->GetSafeHwnd(), IDC_BGIMAGE_ROTATION, 90);
    EXPECT_EQ(90, Layers()->GetBgTileRotation());
    EXPECT_EQ(beforeDial, mdoc->marks.size());
    EXPECT_TRUE(PumpUntil([&] { return mdoc->marks.size() > beforeDial; }, 3000)) << "never redrawn after the dial";
    EXPECT_FALSE(PumpUntil([&] { return mdoc->marks.size() > beforeDial + 1; }, 400));

    // The ends of both bars.
    struct
    {
        int bar, target, expected;
        const char* text;
    } ends[] = {
        {IDC_BGIMAGE_SIZE, -100, 5, "5%"},
        {IDC_BGIMAGE_SIZE, 900, 500, "500%"},
        {IDC_BGIMAGE_TRANS, -100, 1, "1%"},
        {IDC_BGIMAGE_TRANS, 900, 100, "100%"},
    };
    for (const auto& e : ends) {
        EXPECT_EQ(e.expected, DragBar(e.bar, e.target, 300)) << e.text;
        EXPECT_STREQ(e.text, ItemText(image->GetSafeHwnd(),
                                      e.bar == IDC_BGIMAGE_SIZE ? IDC_BGIMAGE_SIZE_VALUE : IDC_BGIMAGE_TRANS_VALUE));
        if (e.bar == IDC_BGIMAGE_SIZE)
            EXPECT_EQ(e.expected / 100.0f, Layers()->GetBgTileScale()) << e.text;
        else
            EXPECT_EQ(e.expected, Layers()->GetBgTileTransparency()) << e.text;
    }
}

TEST_F(BackgroundPictures, ActivationShowsTheCurrentRecordsTileSettings)
{
    Layers()->Reset(2);
    struct
    {
        int rotation;
        float scale;
        int transparency;
        int sizePosition;
        const char* sizeText;
    } records[] = {
        {10, 1.0f, 100, 100, "100%"}, {45, 0.29f, 37, 29, "29%"}, // 0.29 x 100 is 28.999998 in float: rounded, not cut
    };
    for (int n = 0; n < 2; ++n) {
        Layers()->SetCurrent(n);
        Layers()->SetBgTileRotation(records[n].rotation);
        Layers()->SetBgTileScale(records[n].scale);
        Layers()->SetBgTileTransparency(records[n].transparency);
    }
    Layers()->SetCurrent(0);
    ShowImagePanel();
    for (int n : {0, 1, 0}) {
        // Another design area becomes current; the menu is shown again.
        doc->SetCurrentFrame(n);
        ShowMenu();
        ASSERT_EQ(image, menu->GetPanelAt(menu->GetCurrentPanelIndex())) << "the menu keeps its image panel";
        EXPECT_EQ(records[n].rotation, (int)::SendMessage(Item(image, IDC_BGIMAGE_ROTATION), TBM_GETPOS, 0, 0))
            << "record " << n;
        EXPECT_EQ(records[n].sizePosition, Bar(IDC_BGIMAGE_SIZE)->GetScrollPos()) << "record " << n;
        EXPECT_EQ(records[n].transparency, Bar(IDC_BGIMAGE_TRANS)->GetScrollPos()) << "record " << n;
        EXPECT_STREQ(records[n].sizeText, ItemText(image->GetSafeHwnd(), IDC_BGIMAGE_SIZE_VALUE)) << "record " << n;
    }
    // A move now writes the current record only.
    doc->SetCurrentFrame(1);
    ShowMenu();
    StepBar(IDC_BGIMAGE_TRANS, false, 2);
    EXPECT_EQ(35, Layers()->GetBgTileTransparency());
    Layers()->SetCurrent(0);
    EXPECT_EQ(100, Layers()->GetBgTileTransparency());
}

TEST_F(BackgroundPictures, DeleteMarksTheDesignModifiedWithOrWithoutAPicture)
{
    ShowImagePanel();
    for (bool withPicture : {false, true}) {
        if (withPicture)
            Pick(image, "tile.png");
        doc->SetModifiedFlag(FALSE);
        const size_t marks = mdoc->marks.size();
        EXPECT_EQ(withPicture, Enabled(image, IDC_PICK_DELETE));
        if (withPicture) {
            Click(image->GetSafeHwnd(), IDC_PICK_DELETE);
        } else {
            // The button is disabled: its command comes as the button would send it.
            ::SendMessage(image->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_PICK_DELETE, BN_CLICKED),
                          (LPARAM)Item(image, IDC_PICK_DELETE));
            ASSERT_TRUE(PumpPending(5000));
        }
        EXPECT_EQ(nullptr, Layers()->GetBackgroundImage());
        EXPECT_EQ(marks + 1, mdoc->marks.size()) << (withPicture ? "with" : "without") << " a picture";
        EXPECT_TRUE(doc->IsModified());
    }
}

TEST_F(BackgroundPictures, FramesPanelOnlyWithTheFramesToolAndKeepsItsBorderOnAFailedPick)
{
    // Positive control first: without the flag there is no "16" entry and no frames panel.
    ShowMenu();
    ASSERT_EQ(2, menu->GetPanelCount());
    ASSERT_EQ(2, EntryCount(menu->m_fillDlg.GetSafeHwnd()));
    EXPECT_EQ(nullptr, menu->FindPanel(IDD_BACKGROUND_FRAMES));

    GetGlobalObjectC()->DestroyPanels(FALSE);
    Layers()->Reset(2);
    Layers()->SetFrameToolEnabled(1);
    doc->SetCurrentFrame(1);
    ShowMenu();
    ASSERT_EQ(3, menu->GetPanelCount());
    const HWND fill = menu->m_fillDlg.GetSafeHwnd();
    ASSERT_EQ(3, EntryCount(fill));
    EXPECT_STREQ(GetLangText("16"), Entry(fill, 2));
    Jump(fill, 2);
    CBackgroundFramesDlg* frames = &menu->m_framesDlg;
    ASSERT_EQ(frames, menu->GetPanelAt(menu->GetCurrentPanelIndex()));
    const HWND panel = frames->GetSafeHwnd();
    ASSERT_TRUE(::IsWindowVisible(panel));
    EXPECT_EQ(2, (int)::SendDlgItemMessage(panel, IDC_QUICK_LINKS, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(3, EntryCount(panel));
    EXPECT_FALSE(Shown(frames, IDC_PICK_DELETE)) << "no border to delete";

    Click(panel, IDC_PICK_NEW);
    for (int id : {IDC_FRAMES_TITLE, IDC_FRAMES_LINKS_TITLE, IDC_QUICK_LINKS, IDC_PICK_NEW})
        EXPECT_FALSE(Shown(frames, id)) << "browsing hides " << id;
    CRect pane, client;
    frames->Browser().GetWindowRect(&pane);
    frames->ScreenToClient(&pane);
    frames->GetClientRect(&client);
    EXPECT_EQ(CRect(0, 0, client.right, client.bottom - 50), pane);
    Click(panel, IDC_PICK_CANCEL);

    Pick(frames, "tile.png");
    CImageLayer* border = Layers()->GetFrameImage();
    ASSERT_NE(nullptr, border);
    EXPECT_EQ(1, border->m_frameIndex) << "stored for the current design area";
    EXPECT_TRUE(Shown(frames, IDC_PICK_DELETE));
    CString folder = GetSetting("path_FRAMES_DIR");
    folder.TrimRight('\\');
    EXPECT_STREQ(pictures.folder, folder);
    EXPECT_TRUE(SaveScreenshot(menu->GetSafeHwnd(), "background_frames_picked"));

    textInstead = true;
    Pick(frames, "broken.png");
    textInstead = false;
    EXPECT_EQ(border, Layers()->GetFrameImage()) << "a failed pick keeps the border";
    Pick(frames, "other.png");
    ASSERT_NE(nullptr, Layers()->GetFrameImage());
    EXPECT_NE(border, Layers()->GetFrameImage()) << "a good pick replaces it";
    Layers()->SetCurrent(0);
    EXPECT_EQ(nullptr, Layers()->GetFrameImage()) << "the other design area keeps none";
    Layers()->SetCurrent(1);

    Click(panel, IDC_PICK_DELETE);
    EXPECT_EQ(nullptr, Layers()->GetFrameImage());
    EXPECT_FALSE(Shown(frames, IDC_PICK_DELETE));
}

// The preview without a picture, with a picture without pixels, and with one.
TEST_F(BackgroundPictures, PreviewShowsNoImageUnlessThereArePixels)
{
    ShowImagePanel();
    CRect client;
    image->GetClientRect(&client);
    const HWND panel = image->GetSafeHwnd();
    const CRect area(1, 85, client.right - 1, client.bottom - 225);
    const int midY = (area.top + area.bottom) / 2;
    struct
    {
        const char* what;
        CImageLayer* layer;
        bool picture;
    } cases[] = {
        {"no picture", nullptr, false},
        {"a picture without pixels", new CImageLayer, false},
        {"a picture", nullptr, true},
    };
    for (const auto& c : cases) {
        if (c.picture)
            Pick(image, "tile.png");
        else
            Layers()->SetBackgroundImage(c.layer);
        EXPECT_EQ(c.picture ? kSkinBlue : kSkinWhite, ScreenPixel(panel, area.left, midY)) << c.what << ": the outline";
        EXPECT_EQ(c.picture ? kTileRed : kSkinBlue, ScreenPixel(panel, area.CenterPoint().x + 20, midY + 20)) << c.what;
    }
}

// Where the preview puts a bitmap: the largest rectangle of its shape, centred.
TEST(BackgroundPicturePreview, FitKeepsTheShapeCentred)
{
    struct
    {
        UINT w, h;
        CRect area;
        bool drawn;
        RectF expected;
    } cases[] = {
        {4, 2, CRect(10, 10, 190, 90), true, RectF(20, 10, 160, 80)}, // wide, the height limits
        {4, 1, CRect(10, 10, 190, 90), true, RectF(10, 27, 180, 45)}, // wide, the width limits
        {1, 2, CRect(0, 0, 100, 100), true, RectF(25, 0, 50, 100)},   // tall
        {3, 3, CRect(0, 0, 100, 40), true, RectF(30, 0, 40, 40)},     // square in a wide area
        {0, 5, CRect(0, 0, 100, 100), false, RectF()},                // no width
        {5, 0, CRect(0, 0, 100, 100), false, RectF()},                // no height
        {5, 5, CRect(0, 0, 100, 0), false, RectF()},                  // no area
    };
    for (const auto& c : cases) {
        RectF out;
        ASSERT_EQ(c.drawn, CBackgroundPickDlg::FitPreview(c.area, c.w, c.h, &out)) << c.w << "x" << c.h;
        if (c.drawn) {
            EXPECT_TRUE(out.Equals(c.expected))
                << c.w << "x" << c.h << ": " << out.X << "," << out.Y << " " << out.Width << "x" << out.Height;
        }
    }
}

TEST(BackgroundPicturePreview, NoPictureDrawsTheOutlineAndTheYellowText)
{
    LoadLanguageFile("english");
    ASSERT_FALSE(GetLangText("159").IsEmpty());
    DibSurface surface(200, 100, kSkinBlue);
    ASSERT_TRUE(surface.Valid());
    const CRect area(10, 10, 190, 90);
    CBackgroundPickDlg::DrawPreview(surface.Hdc(), area, nullptr);
    for (CPoint p : {CPoint(10, 50), CPoint(190, 50), CPoint(100, 10), CPoint(100, 90)})
        EXPECT_EQ(0xFFFFFFu, surface.Rgb(p.x, p.y)) << "outline at " << p.x << "," << p.y;
    int yellow = 0, outsideText = 0;
    for (int y = 11; y < 90; ++y)
        for (int x = 11; x < 190; ++x) {
            const DWORD c = surface.Rgb(x, y);
            if ((c >> 16) > 200 && ((c >> 8) & 0xFF) > 200 && (c & 0xFF) < 100)
                (y > 35 && y < 65 ? yellow : outsideText)++;
        }
    EXPECT_GT(yellow, 20) << "the text stands on the middle line";
    EXPECT_EQ(0, outsideText);
    DumpPng(surface, "background_preview_no_image"); // for a person to look at, when asked for
}

} // namespace

// The Frame menu's fill and image fill panels in a menu-style host of the test's own (a
// stand-in first page, then the two panels), over a real frame and view, driven as a
// person drives them: buttons clicked, bars and the dial moved, a file picked in the
// browser; checked in the current frame record, the swatches file, the document's
// modified count, the views' updates and the panel's pixels.
#include "app/panels/frame/FrameMenuDlg.h"
#include "app/view/FrostwellView.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "fw/fwworker.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "model/gfx/ImageEncoders.h"
#include "res/app_res.h"
#include "res/background_res.h"
#include "res/frame_fill_res.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/Pixels.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "ui/LineStatic.h"
#include "ui/MenuHostDlg.h"
#include "ui/Skin.h"
#include "ui/XScrollBar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

class CountingFrameDoc : public CFrostwellDoc
{
    DECLARE_DYNCREATE(CountingFrameDoc)
public:
    void SetModifiedFlag(BOOL modified = TRUE) override
    {
        marked += modified ? 1 : 0;
        CFrostwellDoc::SetModifiedFlag(modified);
    }
    int marked = 0;
};
IMPLEMENT_DYNCREATE(CountingFrameDoc, CFrostwellDoc)

// Counts the updates every view is sent (the design redrawn).
class CountingFrameView : public CFrostwellView
{
    DECLARE_DYNCREATE(CountingFrameView)
public:
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override
    {
        ++updates;
        CFrostwellView::OnUpdate(sender, hint, hintObject);
    }
    int updates = 0;
};
IMPLEMENT_DYNCREATE(CountingFrameView, CFrostwellView)

// The Frame menu itself: the frame panel, then the two fill panels.
using CTestFrameHost = CFrameMenuDlg;

// Three swatches (file order of colours: 1, 2, 5, 3, 4); the middle one stands twice. The
// list shows the newest first: entry 0 is the last line.
const char kSwatchLines[] = "10,20,30,40,50,60,70,80,90,100,110,120,130,140,150\n"
                            "1,1,1,2,2,2,5,5,5,3,3,3,4,4,4\n"
                            "1,1,1,2,2,2,5,5,5,3,3,3,4,4,4\n"
                            "200,0,0,0,200,0,0,0,200,200,200,0,0,200,200\n";

// A folder of the test's own under the working folder, removed with its files.
class TestFolder
{
public:
    // With `hidden`, the folder lies below a hidden folder of that name.
    explicit TestFolder(const char* name, const char* hidden = nullptr)
    {
        char current[MAX_PATH];
        ::GetCurrentDirectory(MAX_PATH, current);
        m_path.Format("%s\\%s_%lu", current, hidden != nullptr ? hidden : name, (unsigned long)::GetCurrentProcessId());
        if (hidden != nullptr) {
            m_hidden = m_path;
            ::CreateDirectory(m_hidden, nullptr);
            ::SetFileAttributes(m_hidden, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
            m_path += CString("\\") + name;
        }
        ::CreateDirectory(m_path, nullptr);
    }
    ~TestFolder()
    {
        // Every file, the browser's thumbnail cache included.
        WIN32_FIND_DATA found;
        HANDLE find = ::FindFirstFile(m_path + "\\*", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                    ::DeleteFile(m_path + "\\" + found.cFileName);
            } while (::FindNextFile(find, &found));
            ::FindClose(find);
        }
        ::RemoveDirectory(m_path);
        if (!m_hidden.IsEmpty()) {
            ::SetFileAttributes(m_hidden, FILE_ATTRIBUTE_DIRECTORY);
            ::RemoveDirectory(m_hidden);
        }
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    CString Write(const char* name, const std::string& bytes)
    {
        const CString file = m_path + "\\" + name;
        if (FILE* f = fopen(file, "wb")) {
            fwrite(bytes.data(), 1, bytes.size(), f);
            fclose(f);
        }
        return file;
    }
    CString WritePng(const char* name, int w, int h, Color colour)
    {
        Bitmap picture(w, h, PixelFormat32bppARGB);
        {
            Graphics g(&picture);
            g.Clear(colour);
        }
        std::vector<BYTE> bytes;
        EncodeImage(&picture, L"image/png", -1, bytes);
        return Write(name, std::string(bytes.begin(), bytes.end()));
    }
    std::string Read(const char* name) const
    {
        std::string text;
        if (FILE* f = fopen(m_path + "\\" + name, "rb")) {
            char buffer[512];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
                text.append(buffer, n);
            fclose(f);
        }
        return text;
    }
    const CString& Path() const { return m_path; }

private:
    CString m_path;
    CString m_hidden;
};

BOOL CALLBACK CountVisibleWindow(HWND wnd, LPARAM counter)
{
    if (::IsWindowVisible(wnd))
        ++*(int*)counter;
    return TRUE;
}

// The visible top-level windows of this thread (a message box would be one more).
int VisibleTopLevelWindows()
{
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountVisibleWindow, (LPARAM)&count);
    return count;
}

class FramePanels : public DesignWindowTest
{
protected:
    CRuntimeClass* DocClass() const override { return RUNTIME_CLASS(CountingFrameDoc); }
    CRuntimeClass* ViewClass() const override { return RUNTIME_CLASS(CountingFrameView); }
    void SetUp() override
    {
        EnsureTestApp();
        m_oldRoot = GetSetting("root");
        m_oldHelp = GetSetting("path_help");
        m_oldImages = GetSetting("path_IMAGES_DIR");
        char current[MAX_PATH];
        ::GetCurrentDirectory(MAX_PATH, current);
        SetSetting("root", current);
        SetSetting("path_help", "");
        SetSetting("path_IMAGES_DIR", images.Path());
        swatches.Write("swatches.txt", kSwatchLines);
        DesignWindowTest::SetUp();
        cdoc = static_cast<CountingFrameDoc*>(doc);
        cview = static_cast<CountingFrameView*>(view);
        host = new CTestFrameHost;
        host->m_pDoc = doc;
        host->m_fillDlg.Swatches().SetFilePath(swatches.Path() + "\\swatches.txt");
        host->SetMenuStyle();
        ASSERT_TRUE(host->Create(IDD_FRAME_MENU, view));
        host->LayoutPanels();
        host->ShowWindow(SW_SHOW);
        ASSERT_TRUE(PumpPending(10000));
    }
    void TearDown() override
    {
        FwSetWorkerThreadStarter(nullptr);
        if (host != nullptr) {
            host->DestroyWindow();
            delete host;
        }
        DesignWindowTest::TearDown();
        SetSetting("root", m_oldRoot);
        SetSetting("path_help", m_oldHelp);
        SetSetting("path_IMAGES_DIR", m_oldImages);
    }

    CLayerArray* Record() { return doc->GetLayers(); }
    void ShowPage(int index)
    {
        ASSERT_TRUE(host->ShowPanelByIndex(index));
        ASSERT_TRUE(PumpPending(10000));
        ASSERT_EQ(index, host->GetCurrentPanelIndex());
    }
    HWND Fill() const { return host->m_fillDlg.GetSafeHwnd(); }
    HWND ImageFill() const { return host->m_imageFillDlg.GetSafeHwnd(); }
    void Click(HWND panel, int id)
    {
        Press(panel, id);
        ASSERT_TRUE(PumpPending(10000));
    }
    // The skinned bar moved to pos as a drag moves it: its thumb, then its notification.
    void MoveBar(HWND panel, int id, int pos)
    {
        auto* bar = dynamic_cast<CXScrollBar*>(CWnd::FromHandlePermanent(::GetDlgItem(panel, id)));
        ASSERT_NE(nullptr, bar);
        bar->SetScrollPos(pos);
        SendScroll(panel, id, SB_THUMBTRACK, pos);
    }
    int BarPos(HWND panel, int id)
    {
        auto* bar = dynamic_cast<CXScrollBar*>(CWnd::FromHandlePermanent(::GetDlgItem(panel, id)));
        return bar != nullptr ? bar->GetScrollPos() : -9999;
    }
    static bool Enabled(HWND panel, int id) { return ::IsWindowEnabled(::GetDlgItem(panel, id)) != FALSE; }
    static bool Visible(HWND panel, int id) { return ::IsWindowVisible(::GetDlgItem(panel, id)) != FALSE; }
    static bool Lit(HWND panel, int id)
    {
        auto* label = dynamic_cast<CLineStatic*>(CWnd::FromHandlePermanent(::GetDlgItem(panel, id)));
        return label != nullptr && label->GetHighlight();
    }
    void SetColours(COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4, COLORREF c5)
    {
        Record()->SetFrameColour1(c1);
        Record()->SetFrameColour2(c2);
        Record()->SetFrameColour3(c3);
        Record()->SetFrameColour4(c4);
        Record()->SetFrameColour5(c5);
    }
    std::vector<COLORREF> Colours()
    {
        CLayerArray* r = Record();
        return {r->GetFrameColour1(), r->GetFrameColour2(), r->GetFrameColour3(), r->GetFrameColour4(),
                r->GetFrameColour5()};
    }
    // A w x h image fill of one colour in the current record (as a loaded one would be).
    CImageLayer* GiveImageFill(int w, int h, Color colour)
    {
        auto* layer = new CImageLayer;
        layer->SetPlacement(CRect(0, 0, 400, 300), 400, 300);
        Bitmap picture(w, h, PixelFormat32bppARGB);
        {
            Graphics g(&picture);
            g.Clear(colour);
        }
        layer->SetBitmap(&picture);
        layer->m_loaded = true;
        Record()->SetFrameFillImage(layer);
        return layer;
    }
    // The image fill panel's browser shown (New) with its list loaded.
    void Browse()
    {
        Click(ImageFill(), IDC_FRAME_IMAGE_NEW);
        ASSERT_TRUE(host->m_imageFillDlg.IsBrowsing());
        CThumbListCtrl& list = host->m_imageFillDlg.Browser().GetList();
        ASSERT_TRUE(PumpUntil([&] { return !list.GetWorker().IsAlive() && list.GetItemCount() >= 1; }, 10000));
    }
    // The file of that name picked in the browser, as a click picks it; waits for the
    // settings view to come back.
    void Pick(const char* name)
    {
        CThumbListCtrl& list = host->m_imageFillDlg.Browser().GetList();
        int item = -1;
        for (int i = 0; i < list.GetItemCount(); ++i)
            if (list.GetItemText(i, 0).CompareNoCase(name) == 0)
                item = i;
        ASSERT_GE(item, 0) << name;
        list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ASSERT_TRUE(PumpUntil([&] { return !host->m_imageFillDlg.IsBrowsing(); }, 10000)) << name;
        ASSERT_TRUE(PumpPending(10000));
    }
    // The panel's pixel at a client point as the screen shows it (0x00RRGGBB).
    DWORD PanelPixel(HWND panel, int x, int y)
    {
        ::RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const RECT r = {x, y, x + 1, y + 1};
        const Picture p = PictureOfWindow(panel, r);
        return p.pixels.empty() ? 0xFFFFFFFF : p.At(0, 0) & 0xFFFFFF;
    }

    TestFolder swatches{"sl_frame_swatches"};
    // Pictures below a hidden folder, as the per-user data folders are.
    TestFolder images{"sl_frame_images", "sl_frame_hidden"};
    CString m_oldRoot, m_oldHelp, m_oldImages;
    CountingFrameDoc* cdoc = nullptr;
    CountingFrameView* cview = nullptr;
    CTestFrameHost* host = nullptr;
};

} // namespace

TEST_F(FramePanels, FillSetsUpCaptionsLinksAndHelp)
{
    ShowPage(1);
    const struct
    {
        int id;
        const char* key;
    } captions[] = {
        {IDC_FRAME_FILL_SWATCH_LABEL, "24"},  {IDC_FRAME_FILL_OPACITY_LABEL, "23"},
        {IDC_FRAME_FILL_ANGLE_LABEL, "25"},   {IDC_FRAME_FILL_COLOUR_LABEL, "22"},
        {IDC_FRAME_FILL_OUTLINE_LABEL, "60"}, {IDC_FRAME_FILL_OUTLINE_COLOUR_LABEL, "59"},
    };
    for (const auto& c : captions) {
        EXPECT_FALSE(GetLangText(c.key).IsEmpty()) << c.key;
        EXPECT_EQ(GetLangText(c.key), ItemText(Fill(), c.id)) << c.key;
    }
    // The quick links: the menu's three panels with their templates, this one selected.
    HWND links = ::GetDlgItem(Fill(), IDC_QUICK_LINKS);
    ASSERT_EQ(3, (int)::SendMessage(links, LB_GETCOUNT, 0, 0));
    const struct
    {
        const char* key;
        int panel;
    } entries[] = {{"54", 30777}, {"55", 30778}, {"56", 30779}};
    for (int i = 0; i < 3; ++i) {
        char text[128] = "";
        ::SendMessage(links, LB_GETTEXT, i, (LPARAM)text);
        EXPECT_EQ(GetLangText(entries[i].key), CString(text)) << entries[i].key;
        EXPECT_EQ(entries[i].panel, (int)::SendMessage(links, LB_GETITEMDATA, i, 0));
    }
    EXPECT_EQ(1, (int)::SendMessage(links, LB_GETCURSEL, 0, 0));
    const char* helpKeys[] = {"SWATCH_LIST",
                              "COLOUR_SELECTION1",
                              "COLOUR_SELECTION2",
                              "COLOUR_SELECTION3",
                              "COLOUR_SELECTION4",
                              "COLOUR_SELECTION5",
                              "FRAME_PEN",
                              "COLOUR_EFFECT",
                              "FRAME_PEN_THICKNESS",
                              "COLOUR_ROTATION",
                              "FRAME_FILL_CLEAR_BTN",
                              "FRAME_FILL_SOLID_BTN",
                              "FRAME_FILL_LINEAR_BTN",
                              "FRAME_FILL_RADIAL_BTN",
                              "FRAME_ADD_SWATCH_BTN",
                              "FRAME_REMOVE_SWATCH_BTN"};
    for (const char* key : helpKeys)
        EXPECT_FALSE(host->m_fillDlg.HelpTips().GetHelpText(key).IsEmpty()) << key;
    // Showing the panel changes nothing: not marked modified.
    EXPECT_EQ(0, cdoc->marked);
    EXPECT_FALSE(doc->IsModified());

    // Choosing the image fill entry shows that panel.
    ::SendMessage(links, LB_SETCURSEL, 2, 0);
    ::SendMessage(Fill(), WM_COMMAND, MAKEWPARAM(IDC_QUICK_LINKS, LBN_SELCHANGE), (LPARAM)links);
    ASSERT_TRUE(PumpPending(10000));
    EXPECT_EQ(2, host->GetCurrentPanelIndex());
    ShowPage(1);
    Record()->SetFrameFillStyle(2);
    host->m_fillDlg.OnActivate();
    ::RedrawWindow(host->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ASSERT_TRUE(PumpPending(10000));
    EXPECT_TRUE(Visible(Fill(), IDC_FRAME_FILL_MARK_LINEAR));
    EXPECT_TRUE(SaveScreenshot(host->GetSafeHwnd(), "frame_fill_panel"));
}

TEST_F(FramePanels, FillStyleEnablesItsControls)
{
    ShowPage(1);
    const int gradientPickers[] = {IDC_FRAME_FILL_COLOUR2, IDC_FRAME_FILL_COLOUR3, IDC_FRAME_FILL_COLOUR4,
                                   IDC_FRAME_FILL_COLOUR5};
    // Style 7 is no style: everything stays as style 3 left it, and no marker shows.
    const struct
    {
        int style;
        bool dial, gradient, swatches;
        int marker; // 0 none
    } cases[] = {
        {1, false, false, false, IDC_FRAME_FILL_MARK_SOLID},
        {2, true, true, true, IDC_FRAME_FILL_MARK_LINEAR},
        {3, false, true, true, IDC_FRAME_FILL_MARK_RADIAL},
        {7, false, true, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        Record()->SetFrameFillStyle(c.style);
        host->m_fillDlg.OnActivate();
        EXPECT_TRUE(Enabled(Fill(), IDC_FRAME_FILL_COLOUR1));
        for (int id : gradientPickers)
            EXPECT_EQ(c.gradient, Enabled(Fill(), id)) << id;
        // The outline picker and the thickness bar are never disabled; nor is the opacity bar.
        EXPECT_TRUE(Enabled(Fill(), IDC_FRAME_FILL_OUTLINE_COLOUR));
        EXPECT_TRUE(Enabled(Fill(), IDC_FRAME_FILL_OUTLINE));
        EXPECT_TRUE(Enabled(Fill(), IDC_FRAME_FILL_OPACITY));
        EXPECT_EQ(c.dial, Enabled(Fill(), IDC_FRAME_FILL_ANGLE));
        EXPECT_EQ(c.swatches, Enabled(Fill(), IDC_FRAME_FILL_SWATCHES));
        EXPECT_EQ(c.swatches, Lit(Fill(), IDC_FRAME_FILL_SWATCH_LABEL));
        EXPECT_EQ(c.dial, Lit(Fill(), IDC_FRAME_FILL_ANGLE_LABEL));
        for (int marker : {IDC_FRAME_FILL_MARK_SOLID, IDC_FRAME_FILL_MARK_LINEAR, IDC_FRAME_FILL_MARK_RADIAL})
            EXPECT_EQ(marker == c.marker, Visible(Fill(), marker)) << marker;
        if (c.style == 1) {
            EXPECT_FALSE(Enabled(Fill(), IDC_FRAME_FILL_ADD_SWATCH));
            EXPECT_FALSE(Enabled(Fill(), IDC_FRAME_FILL_REMOVE_SWATCH));
        }
    }
    // A gradient's swatch buttons follow the colours: a stored swatch enables only Remove,
    // the built-in white one neither, other colours only Add.
    Record()->SetFrameFillStyle(3);
    const struct
    {
        COLORREF c1, c2, c3, c4, c5;
        bool add, remove;
    } matches[] = {
        {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), RGB(5, 5, 5), false, true},
        {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, false, false},
        {RGB(9, 9, 9), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), RGB(5, 5, 5), true, false},
    };
    for (const auto& m : matches) {
        SetColours(m.c1, m.c2, m.c3, m.c4, m.c5);
        host->m_fillDlg.OnActivate();
        EXPECT_EQ(m.add, Enabled(Fill(), IDC_FRAME_FILL_ADD_SWATCH)) << m.c1;
        EXPECT_EQ(m.remove, Enabled(Fill(), IDC_FRAME_FILL_REMOVE_SWATCH)) << m.c1;
    }
}

TEST_F(FramePanels, FillBarsStoreRoundedValuesAndApplyOnceAfterTheLastMove)
{
    ShowPage(1);
    MoveBar(Fill(), IDC_FRAME_FILL_OUTLINE, 37);
    EXPECT_FLOAT_EQ(0.37f, Record()->GetFrameOutlineWidth());
    EXPECT_EQ(CString("0.37"), ItemText(Fill(), IDC_FRAME_FILL_OUTLINE_VALUE));
    MoveBar(Fill(), IDC_FRAME_FILL_OPACITY, 40);
    EXPECT_FLOAT_EQ(0.40f, Record()->GetFrameOpacity());
    EXPECT_EQ(CString("40%"), ItemText(Fill(), IDC_FRAME_FILL_OPACITY_VALUE));

    // Shown again from the stored floats: 0.29 is 28.999998 in float and must read 29.
    const struct
    {
        float stored;
        int position;
        const char* width;
        const char* opacity;
    } cases[] = {{0.29f, 29, "0.29", "29%"}, {0.37f, 37, "0.37", "37%"}, {1.0f, 100, "1.00", "100%"}};
    for (const auto& c : cases) {
        Record()->SetFrameOutlineWidth(c.stored);
        Record()->SetFrameOpacity(c.stored);
        host->m_fillDlg.OnActivate();
        EXPECT_EQ(c.position, BarPos(Fill(), IDC_FRAME_FILL_OUTLINE)) << c.stored;
        EXPECT_EQ(c.position, BarPos(Fill(), IDC_FRAME_FILL_OPACITY)) << c.stored;
        EXPECT_EQ(CString(c.width), ItemText(Fill(), IDC_FRAME_FILL_OUTLINE_VALUE)) << c.stored;
        EXPECT_EQ(CString(c.opacity), ItemText(Fill(), IDC_FRAME_FILL_OPACITY_VALUE)) << c.stored;
    }

    // Ten moves: the design redrawn on each at once, marked modified once, after the last.
    ASSERT_TRUE(PumpPending(1000));
    cdoc->marked = 0;
    cview->updates = 0;
    DWORD lastMove = 0;
    for (int i = 0; i < 10; ++i) {
        MoveBar(Fill(), IDC_FRAME_FILL_OUTLINE, 50 + i);
        lastMove = ::GetTickCount();
    }
    EXPECT_EQ(10, cview->updates);
    EXPECT_EQ(0, cdoc->marked);
    ASSERT_TRUE(PumpUntil([&] { return cdoc->marked >= 1; }, 3000));
    EXPECT_GE(::GetTickCount() - lastMove, 90u);                     // the timer may fire a tick early
    EXPECT_FALSE(PumpUntil([&] { return cdoc->marked >= 2; }, 400)); // and only once
    EXPECT_EQ(1, cdoc->marked);
    EXPECT_EQ(11, cview->updates);
    EXPECT_FLOAT_EQ(0.59f, Record()->GetFrameOutlineWidth());

    // The angle dial is an edit too: stored at once, applied once.
    Record()->SetFrameFillStyle(2);
    host->m_fillDlg.OnActivate();
    cdoc->marked = 0;
    SetSlider(Fill(), IDC_FRAME_FILL_ANGLE, 30);
    EXPECT_EQ(30, Record()->GetFrameFillAngle());
    ASSERT_TRUE(PumpUntil([&] { return cdoc->marked >= 1; }, 3000));
}

TEST_F(FramePanels, FillButtonsApplyEntryZeroAndClearKeepsStyleAndOpacity)
{
    // Entry 0 is the file's last line: colours 1, 2, 5, 3, 4 in the file's order.
    const std::vector<COLORREF> entry0 = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(200, 200, 0), RGB(0, 200, 200),
                                          RGB(0, 0, 200)};
    const struct
    {
        int button;
        int style;     // after the click
        float opacity; // after the click
    } cases[] = {
        {IDC_FRAME_FILL_CLEAR, 3, 0.6f},
        {IDC_FRAME_FILL_SOLID, 1, 1.0f},
        {IDC_FRAME_FILL_LINEAR, 2, 1.0f},
        {IDC_FRAME_FILL_RADIAL, 3, 1.0f},
    };
    ShowPage(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        Record()->SetFrameFillStyle(3);
        Record()->SetFrameOpacity(0.6f);
        Record()->SetFrameOutlineColour(RGB(7, 8, 9));
        SetColours(RGB(1, 2, 3), RGB(1, 2, 3), RGB(1, 2, 3), RGB(1, 2, 3), RGB(1, 2, 3));
        host->m_fillDlg.OnActivate();
        doc->SetModifiedFlag(FALSE);
        Click(Fill(), c.button);
        EXPECT_EQ(entry0, Colours());
        EXPECT_EQ(c.style, Record()->GetFrameFillStyle());
        EXPECT_FLOAT_EQ(c.opacity, Record()->GetFrameOpacity());
        EXPECT_EQ(RGB(7, 8, 9), Record()->GetFrameOutlineColour());
        EXPECT_TRUE(doc->IsModified());
        // The pickers and the opacity bar show what is stored.
        auto* picker =
            dynamic_cast<CColourPicker*>(CWnd::FromHandlePermanent(::GetDlgItem(Fill(), IDC_FRAME_FILL_COLOUR5)));
        ASSERT_NE(nullptr, picker);
        EXPECT_EQ(entry0[4], picker->GetColour());
        EXPECT_EQ((int)(c.opacity * 100 + 0.5f), BarPos(Fill(), IDC_FRAME_FILL_OPACITY));
    }
}

TEST_F(FramePanels, PickedColoursGoToTheirPickersFields)
{
    Record()->SetFrameFillStyle(2);
    ShowPage(1);
    // Picker id -> the record field it edits: colours 1 to 5, then the outline.
    const struct
    {
        int picker;
        int field; // 1-5 the fill colours, 6 the outline
    } cases[] = {
        {IDC_FRAME_FILL_COLOUR1, 1}, {IDC_FRAME_FILL_COLOUR2, 2}, {IDC_FRAME_FILL_COLOUR3, 3},
        {IDC_FRAME_FILL_COLOUR4, 4}, {IDC_FRAME_FILL_COLOUR5, 5}, {IDC_FRAME_FILL_OUTLINE_COLOUR, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picker);
        SetColours(0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF);
        Record()->SetFrameOutlineColour(0);
        host->m_fillDlg.OnActivate();
        doc->SetModifiedFlag(FALSE);
        const COLORREF chosen = RGB(11, 22, 33);
        auto* picker = dynamic_cast<CColourPicker*>(CWnd::FromHandlePermanent(::GetDlgItem(Fill(), c.picker)));
        ASSERT_NE(nullptr, picker);
        picker->SetColour(chosen);
        // What the picker tells its parent when a colour was chosen.
        ::SendMessage(Fill(), WM_USER + 1004, (WPARAM)chosen, (LPARAM)c.picker);
        std::vector<COLORREF> expected(5, 0xFFFFFF);
        if (c.field <= 5)
            expected[(size_t)c.field - 1] = chosen;
        EXPECT_EQ(expected, Colours());
        EXPECT_EQ(c.field == 6 ? chosen : 0, Record()->GetFrameOutlineColour());
        EXPECT_TRUE(doc->IsModified());
        // The fill colours are no swatch now, unless only the outline changed (the white one).
        EXPECT_EQ(c.field <= 5, Enabled(Fill(), IDC_FRAME_FILL_ADD_SWATCH));
    }
}

TEST_F(FramePanels, ChoosingASwatchKeepsTheOutlineColour)
{
    Record()->SetFrameFillStyle(2);
    Record()->SetFrameOutlineColour(RGB(7, 8, 9));
    ShowPage(1);
    HWND list = ::GetDlgItem(Fill(), IDC_FRAME_FILL_SWATCHES);
    // The list: the four lines newest first, then the built-in white swatch.
    ASSERT_EQ(5, (int)::SendMessage(list, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(1, (int)::SendMessage(list, CB_GETITEMDATA, 3, 0));
    ::SendMessage(list, CB_SETCURSEL, 3, 0); // key 1, the first line
    ::SendMessage(Fill(), WM_COMMAND, MAKEWPARAM(IDC_FRAME_FILL_SWATCHES, CBN_SELENDOK), (LPARAM)list);
    ASSERT_TRUE(PumpPending(10000));
    const std::vector<COLORREF> first = {RGB(10, 20, 30), RGB(40, 50, 60), RGB(100, 110, 120), RGB(130, 140, 150),
                                         RGB(70, 80, 90)};
    EXPECT_EQ(first, Colours());
    EXPECT_EQ(RGB(7, 8, 9), Record()->GetFrameOutlineColour());
    auto* outline =
        dynamic_cast<CColourPicker*>(CWnd::FromHandlePermanent(::GetDlgItem(Fill(), IDC_FRAME_FILL_OUTLINE_COLOUR)));
    ASSERT_NE(nullptr, outline);
    EXPECT_EQ(RGB(7, 8, 9), outline->GetColour());
    EXPECT_TRUE(doc->IsModified());
    // A stored swatch: Remove on, Add off.
    EXPECT_TRUE(Enabled(Fill(), IDC_FRAME_FILL_REMOVE_SWATCH));
    EXPECT_FALSE(Enabled(Fill(), IDC_FRAME_FILL_ADD_SWATCH));
}

TEST_F(FramePanels, RemovingASwatchDropsEveryCopyWithoutAMessageBox)
{
    Record()->SetFrameFillStyle(2);
    ShowPage(1);
    HWND list = ::GetDlgItem(Fill(), IDC_FRAME_FILL_SWATCHES);
    // Entry 1 is key 3, the third line, which the file holds twice (lines 2 and 3).
    ASSERT_EQ(3, (int)::SendMessage(list, CB_GETITEMDATA, 1, 0));
    ::SendMessage(list, CB_SETCURSEL, 1, 0);
    ::SendMessage(Fill(), WM_COMMAND, MAKEWPARAM(IDC_FRAME_FILL_SWATCHES, CBN_SELENDOK), (LPARAM)list);
    ASSERT_TRUE(PumpPending(10000));
    ASSERT_TRUE(Enabled(Fill(), IDC_FRAME_FILL_REMOVE_SWATCH));
    const int windows = VisibleTopLevelWindows();
    doc->SetModifiedFlag(FALSE);
    Click(Fill(), IDC_FRAME_FILL_REMOVE_SWATCH);
    // Removed (the positive control) ...
    EXPECT_EQ(4, (int)::SendMessage(list, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("10,20,30,40,50,60,70,80,90,100,110,120,130,140,150\r\n"
              "200,0,0,0,200,0,0,0,200,200,200,0,0,200,200\r\n",
              swatches.Read("swatches.txt"));
    EXPECT_TRUE(doc->IsModified());
    // ... and nothing shown to the user.
    EXPECT_FALSE(PumpUntil([&] { return VisibleTopLevelWindows() > windows; }, 300));
}

TEST_F(FramePanels, ImageFillPickLoadsThePictureAndATextFileKeepsIt)
{
    images.WritePng("rose.png", 60, 40, Color(255, 220, 20, 20));
    images.WritePng("notes.png", 10, 10, Color(255, 0, 0, 0));
    ShowPage(2);
    // Without a fill: the white outline and the text of "159" in the preview.
    EXPECT_FALSE(Visible(ImageFill(), IDC_FRAME_IMAGE_REMOVE) && Enabled(ImageFill(), IDC_FRAME_IMAGE_REMOVE));
    const CRect preview = host->m_imageFillDlg.PreviewRect();
    ASSERT_GT(preview.Height(), 20);
    EXPECT_EQ(0xFFFFFFu, PanelPixel(ImageFill(), preview.left + 5, preview.top));
    EXPECT_EQ(0x429AFCu, PanelPixel(ImageFill(), preview.left + 5, preview.top + 5)); // the panel blue
    EXPECT_TRUE(SaveScreenshot(ImageFill(), "frame_image_fill_empty"));

    SetSetting("path_IMAGES_DIR", "C:\\elsewhere");
    const long live = CImageLayer::GetLiveCount();
    EXPECT_FALSE(Enabled(host->GetSafeHwnd(), kHostNext)); // the last panel
    Browse();
    Pick("rose.png");
    EXPECT_TRUE(Enabled(host->GetSafeHwnd(), kHostNext)); // a pick enables Next all the same
    CImageLayer* fill = Record()->GetFrameFillImage();
    ASSERT_NE(nullptr, fill);
    ASSERT_NE(nullptr, fill->GetMasterBitmap());
    EXPECT_EQ(60u, fill->GetMasterBitmap()->GetWidth());
    EXPECT_EQ(live + 1, CImageLayer::GetLiveCount());
    EXPECT_STREQ(images.Path(), GetSetting("path_IMAGES_DIR"));
    EXPECT_TRUE(doc->IsModified());
    for (int id : {IDC_FRAME_IMAGE_REMOVE, IDC_FRAME_IMAGE_SIZE, IDC_FRAME_IMAGE_OFFSET, IDC_FRAME_IMAGE_TRANS,
                   IDC_FRAME_IMAGE_ROTATION, IDC_FRAME_IMAGE_SIZE_VALUE, IDC_FRAME_IMAGE_NEW})
        EXPECT_TRUE(Visible(ImageFill(), id) && Enabled(ImageFill(), id)) << id;
    EXPECT_FALSE(Visible(ImageFill(), IDC_FRAME_IMAGE_CANCEL));
    // The preview shows the red picture in its middle.
    const DWORD middle = PanelPixel(ImageFill(), preview.CenterPoint().x, preview.CenterPoint().y);
    EXPECT_EQ(0xDC1414u, middle);
    EXPECT_TRUE(SaveScreenshot(ImageFill(), "frame_image_fill_picked"));

    // A text file named like a picture: the fill stays (the same layer), nothing is shown
    // to the user, the folder setting stays, the controls stay.
    SetSetting("path_IMAGES_DIR", "C:\\elsewhere");
    const int windows = VisibleTopLevelWindows();
    Browse();
    // The list shows only files it could read; this one became text after it was listed.
    images.Write("notes.png", "These are notes, not a picture.\r\n");
    Pick("notes.png");
    EXPECT_EQ(fill, Record()->GetFrameFillImage());
    EXPECT_EQ(live + 1, CImageLayer::GetLiveCount());
    EXPECT_STREQ("C:\\elsewhere", GetSetting("path_IMAGES_DIR"));
    EXPECT_TRUE(Visible(ImageFill(), IDC_FRAME_IMAGE_REMOVE) && Enabled(ImageFill(), IDC_FRAME_IMAGE_REMOVE));
    EXPECT_FALSE(PumpUntil([&] { return VisibleTopLevelWindows() > windows; }, 300));
    EXPECT_EQ(0xDC1414u, PanelPixel(ImageFill(), preview.CenterPoint().x, preview.CenterPoint().y));
}

TEST_F(FramePanels, ImageFillPreviewFitsThePictureByItsLongerSide)
{
    ShowPage(2);
    const CRect preview = host->m_imageFillDlg.PreviewRect();
    ASSERT_GT(preview.Width(), 40);
    ASSERT_GT(preview.Height(), 40);
    const CPoint centre = preview.CenterPoint();
    const DWORD blue = 0x429AFC, green = 0x00C800;
    // A wide picture spans the width and leaves the top blue; a tall one the height and
    // leaves the left blue.
    const struct
    {
        int w, h;
        DWORD top, left;
    } cases[] = {{400, 20, blue, green}, {20, 400, green, blue}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        GiveImageFill(c.w, c.h, Color(255, 0, 200, 0));
        host->m_imageFillDlg.Invalidate(TRUE);
        EXPECT_EQ(green, PanelPixel(ImageFill(), centre.x, centre.y));
        EXPECT_EQ(c.top, PanelPixel(ImageFill(), centre.x, preview.top + 2));
        EXPECT_EQ(c.left, PanelPixel(ImageFill(), preview.left + 2, centre.y));
    }
}

TEST_F(FramePanels, ImageFillWorkerThatCannotStartIsAFailedLoad)
{
    images.WritePng("sky.png", 30, 50, Color(255, 20, 20, 220));
    CImageLayer* old = GiveImageFill(20, 20, Color(255, 0, 200, 0));
    ShowPage(2);
    FwSetWorkerThreadStarter([](unsigned(__stdcall*)(void*), void*) -> HANDLE { return nullptr; });
    Browse();
    Pick("sky.png");
    EXPECT_EQ(old, Record()->GetFrameFillImage());
    // Positive control: with the worker back the same pick loads.
    FwSetWorkerThreadStarter(nullptr);
    Browse();
    Pick("sky.png");
    ASSERT_NE(nullptr, Record()->GetFrameFillImage());
    EXPECT_NE(old, Record()->GetFrameFillImage());
    EXPECT_EQ(50u, Record()->GetFrameFillImage()->GetMasterBitmap()->GetHeight());
}

TEST_F(FramePanels, ImageFillBarsShowTheirRanges)
{
    GiveImageFill(20, 20, Color(255, 0, 200, 0));
    ShowPage(2);
    const struct
    {
        int bar;
        int pos; // where the bar is moved (beyond its range is clamped)
        int shown;
        const char* text;
        float stored;
    } cases[] = {
        {IDC_FRAME_IMAGE_OFFSET, -100, -100, "-1.00", -1.0f}, {IDC_FRAME_IMAGE_OFFSET, 100, 100, "1.00", 1.0f},
        {IDC_FRAME_IMAGE_OFFSET, -25, -25, "-0.25", -0.25f},  {IDC_FRAME_IMAGE_SIZE, 2, 5, "5%", 0.05f},
        {IDC_FRAME_IMAGE_SIZE, 100, 100, "100%", 1.0f},       {IDC_FRAME_IMAGE_TRANS, 1, 1, "1%", 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        MoveBar(ImageFill(), c.bar, c.pos);
        const int valueId = c.bar == IDC_FRAME_IMAGE_OFFSET ? IDC_FRAME_IMAGE_OFFSET_VALUE
                            : c.bar == IDC_FRAME_IMAGE_SIZE ? IDC_FRAME_IMAGE_SIZE_VALUE
                                                            : IDC_FRAME_IMAGE_TRANS_VALUE;
        EXPECT_EQ(CString(c.text), ItemText(ImageFill(), valueId));
        EXPECT_EQ(c.shown, BarPos(ImageFill(), c.bar));
        const float stored = c.bar == IDC_FRAME_IMAGE_OFFSET ? Record()->GetFrameImageOffset()
                             : c.bar == IDC_FRAME_IMAGE_SIZE ? Record()->GetFrameImageScale()
                                                             : (float)Record()->GetFrameImageTransparency();
        EXPECT_FLOAT_EQ(c.stored, stored);
    }
    // Shown again from stored floats, negative ones too, rounded to nearest.
    Record()->SetFrameImageOffset(-0.29f);
    Record()->SetFrameImageScale(0.29f);
    host->m_imageFillDlg.OnActivate();
    EXPECT_EQ(-29, BarPos(ImageFill(), IDC_FRAME_IMAGE_OFFSET));
    EXPECT_EQ(CString("-0.29"), ItemText(ImageFill(), IDC_FRAME_IMAGE_OFFSET_VALUE));
    EXPECT_EQ(CString("29%"), ItemText(ImageFill(), IDC_FRAME_IMAGE_SIZE_VALUE));
    SetSlider(ImageFill(), IDC_FRAME_IMAGE_ROTATION, 45);
    EXPECT_EQ(45, Record()->GetFrameImageRotation());
}

TEST_F(FramePanels, ImageFillEscAndCancelReturnFromTheBrowser)
{
    images.WritePng("rose.png", 60, 40, Color(255, 220, 20, 20));
    ShowPage(2);
    const struct
    {
        int id;
        const char* key;
    } captions[] = {{IDC_FRAME_IMAGE_SIZE_LABEL, "41"},
                    {IDC_FRAME_IMAGE_OFFSET_LABEL, "58"},
                    {IDC_FRAME_IMAGE_TRANS_LABEL, "23"},
                    {IDC_FRAME_IMAGE_ANGLE_LABEL, "25"}};
    for (const auto& c : captions) {
        EXPECT_FALSE(GetLangText(c.key).IsEmpty()) << c.key;
        EXPECT_EQ(GetLangText(c.key), ItemText(ImageFill(), c.id)) << c.key;
    }
    for (const char* key : {"NEW", "REMOVE", "CANCEL", "159"})
        EXPECT_FALSE(GetLangText(key).IsEmpty()) << key;
    for (const char* key : {"FRAME_IMAGE_FILL_NEW_BTN", "FRAME_IMAGE_FILL_CUT_BTN", "FRAME_IMAGE_FILL_CANCEL_BTN",
                            "FRAME_IMAGE_SIZE", "FRAME_IMAGE_OFFSET", "FRAME_IMAGE_TRANS", "FRAME_IMAGE_ROTATION"})
        EXPECT_FALSE(host->m_imageFillDlg.HelpTips().GetHelpText(key).IsEmpty()) << key;
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Esc" : "Cancel");
        Browse();
        if (escape) {
            EXPECT_TRUE(SaveScreenshot(ImageFill(), "frame_image_fill_browsing"));
        }
        EXPECT_TRUE(Visible(ImageFill(), IDC_FRAME_IMAGE_CANCEL));
        EXPECT_FALSE(Visible(ImageFill(), IDC_FRAME_IMAGE_NEW));
        EXPECT_FALSE(Visible(ImageFill(), IDC_QUICK_LINKS));
        if (escape)
            PressEscape(ImageFill());
        else
            Press(ImageFill(), IDC_FRAME_IMAGE_CANCEL);
        ASSERT_TRUE(PumpUntil([&] { return !host->m_imageFillDlg.IsBrowsing(); }, 5000));
        EXPECT_TRUE(Visible(ImageFill(), IDC_FRAME_IMAGE_NEW));
        EXPECT_FALSE(Visible(ImageFill(), IDC_FRAME_IMAGE_CANCEL));
        EXPECT_TRUE(Visible(ImageFill(), IDC_QUICK_LINKS));
        // Without an image the controls show, disabled, and their values do not.
        EXPECT_TRUE(Visible(ImageFill(), IDC_FRAME_IMAGE_SIZE));
        EXPECT_FALSE(Enabled(ImageFill(), IDC_FRAME_IMAGE_SIZE));
        EXPECT_FALSE(Visible(ImageFill(), IDC_FRAME_IMAGE_SIZE_VALUE));
        EXPECT_EQ(2, host->GetCurrentPanelIndex()); // nothing closed
        EXPECT_TRUE(::IsWindowVisible(host->GetSafeHwnd()));
    }
    // Left while browsing (the host's Back), then shown again: the whole settings view.
    Browse();
    ShowPage(1);
    ShowPage(2);
    EXPECT_FALSE(host->m_imageFillDlg.IsBrowsing());
    for (int id : {IDC_FRAME_IMAGE_NEW, IDC_QUICK_LINKS, IDC_FRAME_IMAGE_SIZE, IDC_FRAME_IMAGE_ROTATION,
                   IDC_FRAME_IMAGE_SIZE_LABEL, IDC_FRAME_IMAGE_REMOVE})
        EXPECT_TRUE(Visible(ImageFill(), id)) << id;
    EXPECT_FALSE(Visible(ImageFill(), IDC_FRAME_IMAGE_CANCEL));
}

TEST_F(FramePanels, ImageFillRemoveKeepsScaleOffsetRotationAndTransparency)
{
    GiveImageFill(20, 20, Color(255, 0, 200, 0));
    Record()->SetFrameImageScale(0.35f);
    Record()->SetFrameImageOffset(-0.4f);
    Record()->SetFrameImageRotation(33);
    Record()->SetFrameImageTransparency(60);
    Record()->SetFrameFillStyle(2);
    Record()->SetFrameFillAngle(15);
    ShowPage(2);
    ASSERT_TRUE(Enabled(ImageFill(), IDC_FRAME_IMAGE_REMOVE));
    const long live = CImageLayer::GetLiveCount();
    doc->SetModifiedFlag(FALSE);
    Click(ImageFill(), IDC_FRAME_IMAGE_REMOVE);
    EXPECT_EQ(nullptr, Record()->GetFrameFillImage());
    EXPECT_EQ(live - 1, CImageLayer::GetLiveCount());
    EXPECT_FLOAT_EQ(0.35f, Record()->GetFrameImageScale());
    EXPECT_FLOAT_EQ(-0.4f, Record()->GetFrameImageOffset());
    EXPECT_EQ(33, Record()->GetFrameImageRotation());
    EXPECT_EQ(60, Record()->GetFrameImageTransparency());
    EXPECT_EQ(2, Record()->GetFrameFillStyle());
    EXPECT_EQ(15, Record()->GetFrameFillAngle());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(Enabled(ImageFill(), IDC_FRAME_IMAGE_REMOVE));
    EXPECT_FALSE(Enabled(ImageFill(), IDC_FRAME_IMAGE_SIZE));
    EXPECT_FALSE(Visible(ImageFill(), IDC_FRAME_IMAGE_SIZE_VALUE));
    EXPECT_FALSE(Lit(ImageFill(), IDC_FRAME_IMAGE_SIZE_LABEL));
}

// The Background menu and its fill panel inside a real frame and view, shown by the panel
// switcher as the home panel's Background button does, and clicked as a person clicks: what
// each fill button stores in the current frame record, which controls each kind enables,
// Close and a second show of the menu.
#include "app/home/PanelManager.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/view/FrostwellView.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "res/app_res.h"
#include "res/background_res.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"

#include "ui/ColourPicker.h"
#include "ui/XScrollBar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class CountingFillDoc : public CFrostwellDoc
{
    DECLARE_DYNCREATE(CountingFillDoc)
public:
    void SetModifiedFlag(BOOL modified = TRUE) override
    {
        marked += modified ? 1 : 0;
        CFrostwellDoc::SetModifiedFlag(modified);
    }
    int marked = 0;
};
IMPLEMENT_DYNCREATE(CountingFillDoc, CFrostwellDoc)

// Two swatches: line 1 all green, line 2 five distinct colours (file order 1, 2, 5, 3, 4).
const COLORREF kGreens[5] = {RGB(0, 200, 0), RGB(0, 200, 0), RGB(0, 200, 0), RGB(0, 200, 0), RGB(0, 200, 0)};
const COLORREF kLastLine[5] = {RGB(255, 0, 0), RGB(200, 100, 0), RGB(0, 0, 255), RGB(0, 100, 200), RGB(120, 0, 120)};
const char kSwatchesFile[] = "0,200,0,0,200,0,0,200,0,0,200,0,0,200,0\n"
                             "255,0,0,200,100,0,120,0,120,0,0,255,0,100,200\n";

// A swatches folder of the test's own while it lives.
class SwatchFolder
{
public:
    SwatchFolder() : m_old(GetSetting("path_swatches"))
    {
        char temp[MAX_PATH];
        ::GetTempPath(MAX_PATH, temp);
        m_folder.Format("%ssl_swatches_%lu", temp, (unsigned long)::GetCurrentProcessId());
        ::CreateDirectory(m_folder, nullptr);
        FILE* f = fopen(m_folder + "\\swatches.txt", "w");
        if (f != nullptr) {
            fputs(kSwatchesFile, f);
            fclose(f);
        }
        SetSetting("path_swatches", m_folder);
    }
    ~SwatchFolder()
    {
        ::DeleteFile(m_folder + "\\swatches.txt");
        ::RemoveDirectory(m_folder);
        SetSetting("path_swatches", m_old);
    }
    SwatchFolder(const SwatchFolder&) = delete;
    SwatchFolder& operator=(const SwatchFolder&) = delete;

private:
    CString m_old, m_folder;
};

class BackgroundFill : public DesignWindowTest
{
protected:
    CRuntimeClass* DocClass() const override { return RUNTIME_CLASS(CountingFillDoc); }
    void SetUp() override
    {
        DesignWindowTest::SetUp();
        cdoc = static_cast<CountingFillDoc*>(doc);
        ShowMenu();
    }
    void ShowMenu()
    {
        GetGlobalObjectC()->ShowBackgroundMenu();
        menu = GetGlobalObjectC()->GetBackgroundMenu();
        ASSERT_NE(nullptr, menu);
        fill = &menu->m_fillDlg;
        ASSERT_TRUE(PumpPending(10000));
    }
    HWND Fill() const { return fill->GetSafeHwnd(); }
    void Click(int id)
    {
        Press(Fill(), id);
        ASSERT_TRUE(PumpPending(10000));
    }
    CLayerArray* Layers() { return doc->GetLayers(); }
    bool Shown(int id) const { return ::IsWindowVisible(::GetDlgItem(Fill(), id)) != FALSE; }
    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(Fill(), id)) != FALSE; }
    void SetColours(const COLORREF (&c)[5])
    {
        for (int n = 1; n <= 5; ++n)
            CBackgroundFillDlg::SetRecordColour(Layers(), n, c[n - 1]);
    }
    void ExpectColours(const COLORREF (&c)[5], const char* what)
    {
        for (int n = 1; n <= 5; ++n)
            EXPECT_EQ(c[n - 1], CBackgroundFillDlg::RecordColour(Layers(), n)) << what << ", colour " << n;
    }

    // Picks a colour with picker n as its popup does: the picker takes it, then tells the panel.
    void Pick(int n, COLORREF colour)
    {
        const int id = CBackgroundFillDlg::PickerId(n);
        auto* picker = dynamic_cast<CColourPicker*>(CWnd::FromHandlePermanent(::GetDlgItem(Fill(), id)));
        ASSERT_NE(nullptr, picker);
        picker->SetColour(colour);
        ::SendMessage(Fill(), WM_USER + 1004, colour, id);
    }
    // Clicks the transparency bar's left arrow n times.
    void StepTransparencyDown(int n)
    {
        HWND bar = ::GetDlgItem(Fill(), IDC_FILL_TRANSPARENCY);
        ASSERT_NE(nullptr, bar);
        CRect r;
        ::GetClientRect(bar, &r);
        const LPARAM at = MAKELPARAM(5, r.Height() / 2);
        for (int i = 0; i < n; ++i) {
            ::PostMessage(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
            ::PostMessage(bar, WM_LBUTTONUP, 0, at);
        }
        ASSERT_TRUE(PumpPending(5000));
    }
    int BarPosition() const
    {
        auto* bar = dynamic_cast<CXScrollBar*>(CWnd::FromHandlePermanent(::GetDlgItem(Fill(), IDC_FILL_TRANSPARENCY)));
        return bar != nullptr ? bar->GetScrollPos() : -1;
    }
    void CloseAndShowAgain()
    {
        Press(menu->GetSafeHwnd(), kHostClose);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(menu->GetSafeHwnd()); }));
        ShowMenu();
    }

    SwatchFolder swatches;
    CountingFillDoc* cdoc = NULL;
    CBackgroundMenuDlg* menu = NULL;
    CBackgroundFillDlg* fill = NULL;
};

const COLORREF kMixed[5] = {RGB(200, 10, 10), RGB(10, 200, 10), RGB(10, 10, 200), RGB(90, 90, 0), RGB(0, 90, 90)};

TEST_F(BackgroundFill, MenuShowsTheFillPanelFirstWithItsQuickLink)
{
    EXPECT_TRUE(::IsWindowVisible(menu->GetSafeHwnd()));
    ASSERT_EQ(2, menu->GetPanelCount()) << "fill and image without individual designs and frames tool";
    EXPECT_EQ(0, menu->GetCurrentPanelIndex());
    EXPECT_TRUE(::IsWindowVisible(Fill()));
    EXPECT_EQ(0, (int)::SendDlgItemMessage(Fill(), IDC_QUICK_LINKS, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, (int)::SendDlgItemMessage(Fill(), IDC_QUICK_LINKS, LB_GETCOUNT, 0, 0)) << "fill and image";
    EXPECT_STREQ(GetLangText("27"), ItemText(menu->GetSafeHwnd(), kHostTitle));
    EXPECT_TRUE(doc->IsModified()) << "showing the fill panel marks the design modified";

    // The image entry shows the image panel.
    ::SendDlgItemMessage(Fill(), IDC_QUICK_LINKS, LB_SETCURSEL, 1, 0);
    ::SendMessage(Fill(), WM_COMMAND, MAKEWPARAM(IDC_QUICK_LINKS, LBN_SELCHANGE),
                  (LPARAM)::GetDlgItem(Fill(), IDC_QUICK_LINKS));
    EXPECT_EQ(1, menu->GetCurrentPanelIndex());
    EXPECT_FALSE(::IsWindowVisible(Fill()));
    EXPECT_TRUE(::IsWindowVisible(menu->m_imageDlg.GetSafeHwnd()));
}

TEST_F(BackgroundFill, FillButtonsStoreTheRecord)
{
    // Clear on a radial gradient: opaque, no gradient, entry 0's colours, the Solid marker.
    Layers()->SetBgRadial(1);
    Layers()->SetBgOpacity(0.4f);
    SetColours(kMixed);
    fill->RefreshFillControls();
    Click(IDC_FILL_CLEAR);
    EXPECT_EQ(1.0f, Layers()->GetBgOpacity());
    EXPECT_EQ(0, Layers()->GetBgLinear());
    EXPECT_EQ(0, Layers()->GetBgRadial());
    ExpectColours(kLastLine, "Clear: entry 0 is the file's last line");
    EXPECT_TRUE(Shown(IDC_FILL_MARK_SOLID));
    EXPECT_FALSE(Shown(IDC_FILL_MARK_LINEAR));
    EXPECT_FALSE(Shown(IDC_FILL_MARK_RADIAL));
    EXPECT_EQ(1, menu->m_nFillKind) << "Clear shows as Solid: the record is the same";

    // Radial from a plain fill applies entry 0; Linear after Radial keeps the colours.
    Click(IDC_FILL_RADIAL);
    EXPECT_EQ(1, Layers()->GetBgRadial());
    EXPECT_TRUE(Shown(IDC_FILL_MARK_RADIAL));
    SetColours(kMixed);
    Layers()->SetBgOpacity(0.6f);
    Click(IDC_FILL_LINEAR);
    EXPECT_EQ(1, Layers()->GetBgLinear());
    EXPECT_EQ(0, Layers()->GetBgRadial());
    EXPECT_EQ(0.6f, Layers()->GetBgOpacity()) << "a gradient keeps the transparency";
    ExpectColours(kMixed, "Linear after Radial");
    EXPECT_TRUE(Shown(IDC_FILL_MARK_LINEAR));
    EXPECT_FALSE(Shown(IDC_FILL_MARK_SOLID));
    EXPECT_EQ(2, menu->m_nFillKind);
}

TEST_F(BackgroundFill, EachKindEnablesItsControls)
{
    struct
    {
        int button;
        const char* what;
        bool dial, gradientPickers, swatches;
    } cases[] = {
        {IDC_FILL_SOLID, "solid", false, false, false},
        {IDC_FILL_LINEAR, "linear", true, true, true},
        {IDC_FILL_RADIAL, "radial", false, true, true},
    };
    for (const auto& c : cases) {
        Click(c.button);
        EXPECT_TRUE(Enabled(IDC_FILL_COLOUR1)) << c.what << ": the first picker";
        for (int id : {IDC_FILL_COLOUR2, IDC_FILL_COLOUR5, IDC_FILL_COLOUR3, IDC_FILL_COLOUR4})
            EXPECT_EQ(c.gradientPickers, Enabled(id)) << c.what << ": picker " << id;
        EXPECT_EQ(c.dial, Enabled(IDC_FILL_ANGLE)) << c.what << ": dial";
        EXPECT_EQ(c.swatches, Enabled(IDC_FILL_SWATCHES)) << c.what << ": swatch list";
        EXPECT_TRUE(Enabled(IDC_FILL_TRANSPARENCY)) << c.what << ": the transparency bar in every kind";
    }
}

TEST_F(BackgroundFill, TransparencyIsStoredAndShownRounded)
{
    StepTransparencyDown(63);
    EXPECT_EQ(37, BarPosition());
    EXPECT_FLOAT_EQ(0.37f, Layers()->GetBgOpacity());
    EXPECT_STREQ("37%", ItemText(Fill(), IDC_FILL_TRANSPARENCY_VALUE));

    CloseAndShowAgain();
    EXPECT_EQ(37, BarPosition()) << "the stored 0.37 shows 37 again";
    EXPECT_STREQ("37%", ItemText(Fill(), IDC_FILL_TRANSPARENCY_VALUE));

    // 0.53 in float times 100 is 52.999...: it shows 53.
    Layers()->SetBgOpacity(0.53f);
    CloseAndShowAgain();
    EXPECT_EQ(53, BarPosition());
    EXPECT_STREQ("53%", ItemText(Fill(), IDC_FILL_TRANSPARENCY_VALUE));
}

// Clear and Solid make the fill opaque: the bar and its value show it at once, and a
// gradient chosen next starts from the opaque fill.
TEST_F(BackgroundFill, PlainFillsPutTheTransparencyBarBackToFull)
{
    for (int button : {IDC_FILL_CLEAR, IDC_FILL_SOLID}) {
        Click(IDC_FILL_LINEAR);
        StepTransparencyDown(BarPosition() - 27);
        ASSERT_EQ(27, BarPosition()) << "control: the bar moved";
        ASSERT_FLOAT_EQ(0.27f, Layers()->GetBgOpacity());
        Click(button);
        EXPECT_EQ(1.0f, Layers()->GetBgOpacity()) << button;
        EXPECT_EQ(100, BarPosition()) << button;
        EXPECT_STREQ("100%", ItemText(Fill(), IDC_FILL_TRANSPARENCY_VALUE)) << button;
        Click(IDC_FILL_LINEAR);
        EXPECT_EQ(100, BarPosition()) << button << ": the gradient keeps the opaque fill";
        EXPECT_EQ(1.0f, Layers()->GetBgOpacity()) << button;
    }
}

TEST_F(BackgroundFill, PickedColoursMatchingASwatchEnableRemoveOnly)
{
    Click(IDC_FILL_LINEAR); // entry 0, the last line, is applied: a stored swatch
    EXPECT_FALSE(Enabled(IDC_FILL_ADD_SWATCH));
    EXPECT_TRUE(Enabled(IDC_FILL_REMOVE_SWATCH));
    const int pickers[] = {1, 2, 3, 4, 5};
    Pick(1, RGB(1, 2, 3));
    EXPECT_TRUE(Enabled(IDC_FILL_ADD_SWATCH)) << "colours that are no swatch";
    EXPECT_FALSE(Enabled(IDC_FILL_REMOVE_SWATCH));
    for (int n : pickers)
        Pick(n, kGreens[n - 1]);
    ExpectColours(kGreens, "picked");
    EXPECT_FALSE(Enabled(IDC_FILL_ADD_SWATCH)) << "the colours of line 1";
    EXPECT_TRUE(Enabled(IDC_FILL_REMOVE_SWATCH));
    for (int n : pickers)
        Pick(n, 0xFFFFFF);
    EXPECT_FALSE(Enabled(IDC_FILL_ADD_SWATCH)) << "the built-in white swatch: neither";
    EXPECT_FALSE(Enabled(IDC_FILL_REMOVE_SWATCH));
}

// A fresh install: "+" stores the panel's colours into the swatches file that the data folder
// ships (the tests' data folder is made by the same rule as the program's).
TEST_F(BackgroundFill, AddStoresIntoTheSwatchesFileTheDataFolderShips)
{
    char cwd[MAX_PATH] = "";
    ::GetCurrentDirectory(MAX_PATH, cwd);
    const CString shipped = CString(cwd) + "\\swatches\\swatches.txt";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributes(shipped)) << "no " << (LPCTSTR)shipped;
    char temp[MAX_PATH];
    ::GetTempPath(MAX_PATH, temp);
    CString folder;
    folder.Format("%ssl_fresh_swatches_%lu", temp, (unsigned long)::GetCurrentProcessId());
    ::CreateDirectory(folder, nullptr);
    const CString file = folder + "\\swatches.txt";
    ASSERT_TRUE(::CopyFile(shipped, file, FALSE));
    SetSetting("path_swatches", folder);
    GetGlobalObjectC()->DestroyPanels(FALSE);
    ShowMenu();

    Click(IDC_FILL_LINEAR);
    HWND list = ::GetDlgItem(Fill(), IDC_FILL_SWATCHES);
    EXPECT_EQ(1, (int)::SendMessage(list, CB_GETCOUNT, 0, 0)) << "the built-in swatch only";
    Pick(1, RGB(1, 2, 3));
    ASSERT_TRUE(Enabled(IDC_FILL_ADD_SWATCH));
    Click(IDC_FILL_ADD_SWATCH);
    EXPECT_EQ(2, (int)::SendMessage(list, CB_GETCOUNT, 0, 0)) << "the new swatch listed";
    char text[256] = "";
    FILE* f = fopen(file, "r");
    ASSERT_NE(nullptr, f);
    const bool read = fgets(text, sizeof text, f) != nullptr;
    fclose(f);
    ::DeleteFile(file);
    ::RemoveDirectory(folder);
    ASSERT_TRUE(read) << "nothing stored";
    EXPECT_STREQ("1,2,3,255,255,255,255,255,255,255,255,255,255,255,255\n", text);
}

TEST_F(BackgroundFill, CloseFinishesHidesAndPaintsAgainThenShowsTheSamePanel)
{
    HWND panelBefore = Fill();
    ASSERT_TRUE(PumpPending(10000));
    const int paints = view->GetScenePaintCount();
    doc->ClearRedrawFlag();
    Press(menu->GetSafeHwnd(), kHostClose);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(menu->GetSafeHwnd()); }));
    EXPECT_TRUE(PumpUntil([&] { return view->GetScenePaintCount() > paints; })) << "the design is drawn again";

    const int marked = cdoc->marked;
    ShowMenu();
    EXPECT_TRUE(::IsWindowVisible(menu->GetSafeHwnd()));
    EXPECT_EQ(menu, GetGlobalObjectC()->GetBackgroundMenu()) << "the same host";
    EXPECT_EQ(panelBefore, Fill()) << "the same panel window";
    EXPECT_EQ(1, cdoc->marked - marked) << "its OnActivate ran once (it marks the design once)";
}

TEST_F(BackgroundFill, HostButtonMessageRunsTheButtonsAction)
{
    // An unknown window in the message does nothing (and Next only moves on to the image panel).
    menu->SendMessage(WM_HOST_BUTTON, 0, (LPARAM)Fill());
    menu->SendMessage(WM_HOST_BUTTON, 0, (LPARAM)::GetDlgItem(menu->GetSafeHwnd(), kHostNext));
    EXPECT_TRUE(::IsWindowVisible(menu->GetSafeHwnd()));
    menu->SendMessage(WM_HOST_BUTTON, 0, (LPARAM)::GetDlgItem(menu->GetSafeHwnd(), kHostClose));
    EXPECT_FALSE(::IsWindowVisible(menu->GetSafeHwnd())) << "Close's window runs Finish";
}

// Refuses the creation of dialog windows on this thread while it lives.
class RefuseDialogs
{
public:
    RefuseDialogs() { s_hook = ::SetWindowsHookEx(WH_CBT, Hook, nullptr, ::GetCurrentThreadId()); }
    ~RefuseDialogs() { ::UnhookWindowsHookEx(s_hook); }
    bool Active() const { return s_hook != nullptr; }
    RefuseDialogs(const RefuseDialogs&) = delete;
    RefuseDialogs& operator=(const RefuseDialogs&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const CBT_CREATEWND* create = reinterpret_cast<CBT_CREATEWND*>(lParam);
            if (create->lpcs->lpszClass == MAKEINTATOM(32770))
                return 1;
        }
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static HHOOK s_hook;
};
HHOOK RefuseDialogs::s_hook = nullptr;

TEST_F(BackgroundFill, MenuWhoseWindowCannotBeMadeIsNotShown)
{
    GetGlobalObjectC()->DestroyPanels(FALSE);
    ASSERT_EQ(nullptr, GetGlobalObjectC()->GetBackgroundMenu());
    {
        RefuseDialogs refuse;
        ASSERT_TRUE(refuse.Active());
        GetGlobalObjectC()->ShowBackgroundMenu();
        EXPECT_EQ(nullptr, GetGlobalObjectC()->GetBackgroundMenu()) << "nothing half-made is kept or shown";
    }
    // Positive control: once windows can be made, the same show makes and shows the menu.
    ShowMenu();
    EXPECT_TRUE(::IsWindowVisible(menu->GetSafeHwnd()));
}

TEST_F(BackgroundFill, MenuDocksAtTheViewsTopRight)
{
    CRect own, client;
    menu->GetWindowRect(&own);
    view->ScreenToClient(&own);
    view->GetClientRect(&client);
    EXPECT_EQ(client.right - 5, own.right);
    EXPECT_EQ(5, own.top);
}

} // namespace

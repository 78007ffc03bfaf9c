// The panel switcher over the real frame and view: one tool host at a time, the tool modes
// each show leaves, docking after a resize, hosts whose window cannot be made, and what a
// canvas drag tells the imaging and text hosts. The hosts whose screens the program does
// not have yet are test hosts with one recording panel; background and frame are the
// program's own.
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/frame/FrameMenuDlg.h"
#include "model/design/ImageLayer.h"
#include "model/design/TextItem.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "res/background_res.h"
#include "res/frame_res.h"
#include "res/view_res.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Input.h"
#include "ui/MenuHostDlg.h"
#include "ui/SkinPanelDlg.h"

#include <string>

namespace {

using Kind = CPanelManager::HostKind;

// A panel that counts the protocol calls the switcher makes.
class CountingPanel : public CSkinPanelDlg
{
public:
    CountingPanel() : CSkinPanelDlg(IDD_HOME_PANEL, nullptr) {}
    void OnActivate() override { ++activated; }
    void RefreshFromSelection() override { ++refreshed; }
    int activated = 0;
    int refreshed = 0;
};

// A docked host with two counting panels.
class TestHost : public CMenuHostDlg
{
public:
    TestHost() : CMenuHostDlg(IDD_FRAME_MENU, nullptr) {}
    CountingPanel first, second;

protected:
    void DoDataExchange(CDataExchange*) override {}
    BOOL OnInitDialog() override
    {
        SetPanelPlaceholder(kHostPlaceholder);
        first.m_pHost = second.m_pHost = this;
        // The panel id names the panel's template.
        AddPanel(&first, IDD_HOME_PANEL);
        AddPanel(&second, IDD_HOME_PANEL);
        return CMenuHostDlg::OnInitDialog();
    }
};

// What the test maker makes: the program's hosts where they exist, test hosts for the
// others, and for one kind a host whose template does not exist.
int g_failing = -1;
int g_made = 0;
CMenuHostDlg* MakeHost(Kind kind, UINT& templateId)
{
    ++g_made;
    if ((int)kind == g_failing) {
        templateId = 0x7FF0; // no such dialog template
        return new TestHost;
    }
    switch (kind) {
    case CPanelManager::kBackgroundHost:
        templateId = IDD_BACKGROUND_MENU;
        return new CBackgroundMenuDlg(nullptr);
    case CPanelManager::kFrameHost:
        templateId = IDD_FRAME_MENU;
        return new CFrameMenuDlg(nullptr);
    default:
        templateId = IDD_FRAME_MENU;
        return new TestHost;
    }
}

const struct
{
    Kind kind;
    void (CPanelManager::*show)();
    BOOL image, text; // the tool modes after the show
    const char* name;
} kShows[] = {
    {CPanelManager::kPrintingHost, &CPanelManager::ShowPrintingMenu, FALSE, FALSE, "printing"},
    {CPanelManager::kBackgroundHost, &CPanelManager::ShowBackgroundMenu, FALSE, FALSE, "background"},
    {CPanelManager::kImagingHost, &CPanelManager::ShowImagingMenu, TRUE, FALSE, "imaging"},
    {CPanelManager::kTextHost, &CPanelManager::ShowTextMenu, FALSE, TRUE, "text"},
    {CPanelManager::kSettingsHost, &CPanelManager::ShowSettingsMenu, FALSE, FALSE, "settings"},
    {CPanelManager::kFrameHost, &CPanelManager::ShowFrameMenu, FALSE, FALSE, "frame"},
};

class PanelSwitcher : public DesignWindowTest
{
protected:
    void SetUp() override
    {
        DesignWindowTest::SetUp();
        g_failing = -1;
        g_made = 0;
        Panels()->DestroyPanels(FALSE);
        Panels()->SetHostMaker(MakeHost);
    }
    void TearDown() override
    {
        Panels()->DestroyPanels(FALSE);
        DesignWindowTest::TearDown();
    }
    CPanelManager* Panels() const { return GetGlobalObjectC(); }
    CMenuHostDlg* Host(Kind kind) const { return Panels()->GetHost(kind); }
    TestHost* Test(Kind kind) const { return dynamic_cast<TestHost*>(Host(kind)); }
    bool Visible(Kind kind) const { return Host(kind) != nullptr && ::IsWindowVisible(Host(kind)->GetSafeHwnd()); }
    int VisibleHosts() const
    {
        int n = 0;
        for (const auto& s : kShows)
            n += Visible(s.kind) ? 1 : 0;
        return n;
    }
    void Show(void (CPanelManager::*show)())
    {
        (Panels()->*show)();
        ASSERT_TRUE(PumpPending(10000));
    }
};

TEST_F(PanelSwitcher, EachShowLeavesItsHostAloneVisibleWithItsToolMode)
{
    // Twice round: the first makes each host, the second shows the one made before.
    for (int round = 0; round < 2; round++)
        for (const auto& s : kShows) {
            Show(s.show);
            ASSERT_NE(nullptr, Host(s.kind)) << s.name;
            EXPECT_TRUE(Visible(s.kind)) << s.name;
            EXPECT_EQ(1, VisibleHosts()) << s.name << " round " << round;
            EXPECT_EQ(s.image, doc->IsImageToolMode()) << s.name;
            EXPECT_EQ(s.text, doc->IsTextToolMode()) << s.name;
        }
    EXPECT_EQ(6, g_made) << "each host made once";
}

TEST_F(PanelSwitcher, ShowingAHostAgainActivatesItsCurrentPanelButSettings)
{
    static const struct
    {
        Kind kind;
        void (CPanelManager::*show)();
        int activated;  // calls on the current (second) panel by the show again
        int indexAfter; // the current panel after it
    } cases[] = {
        {CPanelManager::kImagingHost, &CPanelManager::ShowImagingMenu, 1, 1},
        {CPanelManager::kTextHost, &CPanelManager::ShowTextMenu, 1, 1},
        {CPanelManager::kSettingsHost, &CPanelManager::ShowSettingsMenu, 0, 1},
        {CPanelManager::kPrintingHost, &CPanelManager::ShowPrintingMenu, 0, 0},
    };
    for (const auto& c : cases) {
        Show(c.show);
        TestHost* host = Test(c.kind);
        ASSERT_NE(nullptr, host);
        ASSERT_TRUE(host->ShowPanelByIndex(1));
        const int before = host->second.activated;
        Show(c.show);
        EXPECT_EQ(host, Test(c.kind)) << "the host made before";
        EXPECT_EQ(c.activated, host->second.activated - before) << c.kind;
        EXPECT_EQ(c.indexAfter, host->GetCurrentPanelIndex()) << c.kind;
    }
}

TEST_F(PanelSwitcher, AfterAResizeEveryHostDocksFivePixelsFromTheViewsTopRight)
{
    for (const auto& s : kShows)
        Show(s.show);
    ResizeClient(1000, 760);
    ASSERT_TRUE(PumpPending());
    CRect client;
    view->GetClientRect(&client);
    ASSERT_EQ(1000, client.Width()) << "the view fills the frame's client area";
    for (const auto& s : kShows) {
        CRect r;
        Host(s.kind)->GetWindowRect(&r);
        view->ScreenToClient(&r);
        EXPECT_EQ(client.right - 5, r.right) << s.name;
        EXPECT_EQ(client.top + 5, r.top) << s.name;
    }
}

TEST_F(PanelSwitcher, AHostWhoseWindowCannotBeMadeIsDeletedForEveryShow)
{
    for (const auto& s : kShows) {
        Panels()->DestroyPanels(FALSE);
        g_failing = s.kind;
        Show(s.show);
        EXPECT_EQ(nullptr, Host(s.kind)) << s.name;
        EXPECT_EQ(0, VisibleHosts()) << s.name;
        // Positive control: the same show with a window that can be made.
        g_failing = -1;
        Show(s.show);
        EXPECT_TRUE(Visible(s.kind)) << s.name;
    }
}

TEST_F(PanelSwitcher, DestroyedHostsAreMadeAnewAndTheBackgroundOneCanBeSpared)
{
    for (const auto& s : kShows)
        Show(s.show);
    CMenuHostDlg* background = Host(CPanelManager::kBackgroundHost);
    Panels()->DestroyPanels(TRUE);
    for (const auto& s : kShows)
        EXPECT_EQ(s.kind == CPanelManager::kBackgroundHost, Host(s.kind) != nullptr) << s.name;
    EXPECT_EQ(background, Host(CPanelManager::kBackgroundHost));
    const int made = g_made;
    Show(&CPanelManager::ShowTextMenu);
    EXPECT_EQ(made + 1, g_made) << "a fresh text host";
    ASSERT_NE(nullptr, Test(CPanelManager::kTextHost));
    EXPECT_EQ(0, Test(CPanelManager::kTextHost)->GetCurrentPanelIndex()) << "its panels from the start";
}

// The home panel's New and Save over the hosts: Cancel keeps every host; a finished wizard or
// a save destroys them (the background one shown anew after the wizard), so the next Text
// press makes a fresh text host.
TEST_F(PanelSwitcher, HomeDialogsKeepTheHostsOnCancelAndDestroyThemOtherwise)
{
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const CString path = CString(folder) + "home_switch_test.ktb";
    static const struct
    {
        int button;
        int answer; // the dialog's control pressed
        bool kept;
        const char* what;
    } cases[] = {
        {IDC_HOME_NEW, IDCANCEL, true, "wizard cancelled"},
        {IDC_HOME_SAVE, IDCANCEL, true, "Files cancelled"},
        {IDC_HOME_NEW, kHostFinishPlain, false, "wizard finished"},
        {IDC_HOME_SAVE, IDOK, false, "saved to the design's path"},
    };
    for (const auto& c : cases) {
        Show(&CPanelManager::ShowTextMenu);
        CMenuHostDlg* text = Host(CPanelManager::kTextHost);
        ASSERT_NE(nullptr, text);
        doc->SetModifiedFlag(FALSE);
        doc->SetDesignPath(path);
        {
            DialogDriver driver([&](HWND dlg) { Press(dlg, c.answer); });
            Press(Home()->GetSafeHwnd(), c.button);
            ASSERT_TRUE(PumpUntil([&] { return driver.Acted(); }, 15000)) << c.what;
            PumpPending(1000);
        }
        EXPECT_EQ(c.kept, Host(CPanelManager::kTextHost) == text) << c.what;
        EXPECT_EQ(c.kept, Host(CPanelManager::kTextHost) != nullptr) << c.what;
        const bool wizardDone = c.button == IDC_HOME_NEW && !c.kept;
        EXPECT_EQ(wizardDone, Visible(CPanelManager::kBackgroundHost)) << c.what;
        const int made = g_made;
        Press(Home()->GetSafeHwnd(), IDC_HOME_TEXT);
        PumpPending();
        EXPECT_EQ(c.kept ? made : made + 1, g_made) << c.what << ": the next Text press";
        EXPECT_TRUE(doc->IsTextToolMode()) << c.what;
    }
    ::DeleteFileA(path);
}

// A drag on the canvas that moves the selected image or text.
class CanvasDrag : public PanelSwitcher
{
protected:
    // Drags from the point by (40, 25) pixels as a person does.
    void Drag(CPoint from)
    {
        HWND wnd = view->GetSafeHwnd();
        ::PostMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x + 10, from.y + 5));
        ::PostMessage(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x + 40, from.y + 25));
        ::PostMessage(wnd, WM_LBUTTONUP, 0, MAKELPARAM(from.x + 40, from.y + 25));
        view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        PumpPending();
    }
    CTextItem* AddText()
    {
        CTextItem* text = doc->AddTextLayer(true);
        text->m_text = "Cake";
        text->m_fontSize = 150;
        Gdiplus::SizeF area = GetPaperLayout()->GetPrintableSize();
        text->SetPrintableSize(area.Width, area.Height);
        return text;
    }
    void Repaint()
    {
        doc->SetRedrawFlag();
        view->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        PumpPending();
    }
};

TEST_F(CanvasDrag, ImageDragRefreshesTheImagingPanelOnce)
{
    CImageLayer* layer = AddImageLayer(doc);
    Show(&CPanelManager::ShowImagingMenu);
    doc->SetSelectedLayerA(layer);
    Repaint();
    TestHost* host = Test(CPanelManager::kImagingHost);
    ASSERT_NE(nullptr, host);
    const double x0 = layer->m_centreX;
    Drag(view->GetTracker()->GetHandlePoint(8));
    EXPECT_NE(x0, layer->m_centreX) << "the drag moved the image";
    EXPECT_EQ(1, host->first.refreshed);
    EXPECT_EQ(0, host->second.refreshed) << "only the current panel";
}

TEST_F(CanvasDrag, TextDragRefreshesTheTextPanelOnce)
{
    CTextItem* text = AddText();
    Show(&CPanelManager::ShowTextMenu);
    doc->SetSelectedLayerB(text);
    Repaint();
    TestHost* host = Test(CPanelManager::kTextHost);
    ASSERT_NE(nullptr, host);
    const float x0 = text->m_position.X;
    Drag(view->GetTracker()->GetHandlePoint(8));
    EXPECT_NE(x0, text->m_position.X) << "the drag moved the text";
    EXPECT_EQ(1, host->first.refreshed);
}

TEST_F(CanvasDrag, WithoutImagingOrTextHostADragTellsNoPanel)
{
    // The program's own maker: no imaging host, the first image selected as before.
    Panels()->SetHostMaker(nullptr);
    Show(&CPanelManager::ShowBackgroundMenu);
    CImageLayer* layer = AddImageLayer(doc);
    Show(&CPanelManager::ShowImagingMenu);
    EXPECT_EQ(nullptr, Host(CPanelManager::kImagingHost));
    EXPECT_EQ(layer, doc->GetSelectedImage());
    EXPECT_TRUE(doc->IsImageToolMode());
    Repaint();
    const double x0 = layer->m_centreX;
    Drag(view->GetTracker()->GetHandlePoint(8));
    EXPECT_NE(x0, layer->m_centreX) << "the drag itself still works";
    EXPECT_EQ(0, VisibleHosts());
}

} // namespace

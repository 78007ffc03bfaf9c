// The panel host driven through its buttons as a person clicks them (posted clicks handled by
// the host's own messages): which of Back, Next and Finish are enabled on each page in
// wizard and menu style, on both ids of each action; panels that stay, refuse to be left,
// refuse to finish or were never shown; Finish with no current panel; the docked place.
#include "ui/MenuHostDlg.h"
#include "ui/SkinPanelDlg.h"
#include "ui/tests/ui_test_res.h"
#include "ui/tests/ui_test_util.h"

#include "model/design/DocumentHost.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A panel that records each protocol call as "<name>:<call>" and answers as told.
class TestPanel : public CSkinPanelDlg
{
public:
    TestPanel(UINT id, const char* name, Log& log) : CSkinPanelDlg(id, nullptr), m_name(name), m_log(log) {}
    BOOL created = TRUE, canLeave = TRUE, cancel = TRUE, finish = TRUE;
    int back = 0, next = 0;

    BOOL OnPanelCreated() override { return Note("created", created); }
    void OnPanelDestroy() override { Note("destroy", 0); }
    BOOL CanLeavePanel() override { return Note("leave", canLeave); }
    void OnActivate() override { Note("activate", 0); }
    BOOL OnPanelCancel() override { return Note("cancel", cancel); }
    int OnPanelBack() override { return Note("back", back); }
    int OnPanelNext() override { return Note("next", next); }
    BOOL OnPanelFinish() override { return Note("finish", finish); }

private:
    int Note(const char* call, int result)
    {
        m_log.push_back(m_name + ":" + call);
        return result;
    }
    std::string m_name;
    Log& m_log;
};

class TestHost : public CMenuHostDlg
{
public:
    TestHost(CWnd* parent, Log& log, int panels, bool menuStyle)
        : CMenuHostDlg(IDD_T_HOST, parent), a(IDD_T_PANEL_A, "A", log), b(IDD_T_PANEL_B, "B", log),
          c(IDD_T_PANEL_C, "C", log), m_count(panels)
    {
        if (menuStyle)
            SetMenuStyle();
    }
    TestPanel a, b, c;
    using CMenuHostDlg::ClosePanel;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, kHostNext, m_btnNext);
        DDX_Control(dx, kHostBack, m_btnBack);
        DDX_Control(dx, kHostClose, m_btnClose);
    }
    BOOL OnInitDialog() override
    {
        SetPanelPlaceholder(kHostPlaceholder);
        TestPanel* panels[] = {&a, &b, &c};
        for (int i = 0; i < m_count; ++i) {
            panels[i]->m_pHost = this;
            AddPanel(panels[i], (int)IDD_T_PANEL_A + i);
        }
        return CMenuHostDlg::OnInitDialog();
    }

private:
    int m_count;
};

// Counts the design-area repaints the host asks for.
class RecordingDocumentHost : public CDocumentHost
{
public:
    RecordingDocumentHost() : m_previous(GetDocumentHost()) { SetDocumentHost(this); }
    ~RecordingDocumentHost() override { SetDocumentHost(m_previous); }
    int repaints = 0;
    void AttachDocument(CFrostwellDoc*) override {}
    void DestroyPanels(BOOL) override {}
    CRect GetCanvasClientRect() override { return CRect(0, 0, 800, 600); }
    int AskSaveChanges() override { return IDCANCEL; }
    BOOL SaveDesign(CFrostwellDoc*, int) override { return FALSE; }
    CObject* CreateFileBrowser(CFrostwellDoc*) override { return nullptr; }
    void InvalidateCanvas(CFrostwellDoc*, const CRect&) override {}
    void InvalidateDesignArea(CFrostwellDoc*) override { ++repaints; }

private:
    CDocumentHost* m_previous;
};

struct Buttons
{
    bool back, next, finish;
};

class MenuHost : public ::testing::Test
{
protected:
    void Make(int panels, bool menuStyle)
    {
        host = std::make_unique<TestHost>(&parent, log, panels, menuStyle);
        ASSERT_TRUE(host->Create(IDD_T_HOST, &parent));
    }
    HWND H() const { return host->GetSafeHwnd(); }
    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(H(), id)) != FALSE; }
    // Both ids of each action must agree; the state is that of the pair.
    void ExpectButtons(const Buttons& want, const std::string& where)
    {
        EXPECT_EQ(want.back, Enabled(kHostBack)) << where << ": Back";
        EXPECT_EQ(want.back, Enabled(kHostBackPlain)) << where << ": Back (plain)";
        EXPECT_EQ(want.next, Enabled(kHostNext)) << where << ": Next";
        EXPECT_EQ(want.next, Enabled(kHostNextPlain)) << where << ": Next (plain)";
        EXPECT_EQ(want.finish, Enabled(kHostClose)) << where << ": Finish";
        EXPECT_EQ(want.finish, Enabled(kHostFinishPlain)) << where << ": Finish (plain)";
    }
    // Clicks a host button and waits until the click has been handled.
    // The hidden plain buttons of the template are reached by their command only.
    void Click(int id)
    {
        HWND button = ::GetDlgItem(H(), id);
        if (::IsWindowVisible(button))
            Press(H(), id);
        else
            ::PostMessage(H(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
        ASSERT_TRUE(PumpPending(10000)) << "the click was handled";
    }
    bool Visible(CWnd& w) const { return w.GetSafeHwnd() != nullptr && ::IsWindowVisible(w.GetSafeHwnd()); }
    int Count(const std::string& entry) const { return (int)std::count(log.begin(), log.end(), entry); }

    void TearDown() override
    {
        if (host && host->GetSafeHwnd())
            host->DestroyWindow();
    }

    TestParent parent{0, 0, 500, 400};
    RecordingDocumentHost docHost;
    Log log;
    std::unique_ptr<TestHost> host;
};

TEST_F(MenuHost, ButtonsFollowThePagesInEachStyle)
{
    struct Step
    {
        int click; // 0: the state right after creation
        int current;
        Buttons buttons;
    };
    struct Case
    {
        const char* what;
        int panels;
        bool menuStyle;
        std::vector<Step> steps;
    } cases[] = {
        {"wizard, three panels",
         3,
         false,
         {{0, 0, {false, true, false}},
          {kHostNext, 1, {true, true, false}},
          {kHostNextPlain, 2, {true, false, true}},
          {kHostBack, 1, {true, true, true}},
          {kHostBackPlain, 0, {false, true, false}}}},
        {"menu, three panels",
         3,
         true,
         {{0, 0, {false, true, true}},
          {kHostNext, 1, {true, true, true}},
          {kHostNext, 2, {true, false, true}},
          {kHostBack, 1, {true, true, true}},
          {kHostBack, 0, {false, true, true}}}},
        {"wizard, one panel", 1, false, {{0, 0, {false, false, true}}}},
    };
    for (const auto& c : cases) {
        Make(c.panels, c.menuStyle);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            if (s.click != 0)
                Click(s.click);
            const std::string where = std::string(c.what) + ", step " + std::to_string(i);
            EXPECT_EQ(s.current, host->GetCurrentPanelIndex()) << where;
            ExpectButtons(s.buttons, where);
        }
        host->DestroyWindow();
        log.clear();
    }
}

TEST_F(MenuHost, PanelThatStaysOrMayNotBeLeftKeepsItsPage)
{
    Make(3, true);
    host->a.next = -1;
    Click(kHostNext);
    EXPECT_EQ(0, host->GetCurrentPanelIndex()) << "-1 from OnPanelNext stays";
    EXPECT_EQ(1, Count("A:activate")) << "the page is not shown again";
    ExpectButtons({false, true, true}, "after a Next that stays");

    host->a.next = 0;
    host->a.canLeave = FALSE;
    Click(kHostNext);
    EXPECT_EQ(0, host->GetCurrentPanelIndex()) << "a panel that may not be left blocks Next";
    EXPECT_EQ(0, Count("B:activate"));
    Click(kHostClose);
    EXPECT_EQ(0, Count("A:finish")) << "and Finish";
    EXPECT_TRUE(Visible(*host));
    EXPECT_FALSE(host->ClosePanel(&host->a)) << "and ClosePanel";
    EXPECT_TRUE(Visible(host->a));
    EXPECT_EQ(0, docHost.repaints);

    // Positive control: once it may be left, the same clicks act.
    host->a.canLeave = TRUE;
    Click(kHostNext);
    EXPECT_EQ(1, host->GetCurrentPanelIndex());
    EXPECT_EQ(1, Count("B:activate"));
}

TEST_F(MenuHost, NextToThePanelItselfShowsItAgain)
{
    Make(3, false);
    host->a.next = IDD_T_PANEL_A;
    Click(kHostNext);
    EXPECT_EQ(0, host->GetCurrentPanelIndex());
    EXPECT_EQ(2, Count("A:activate"));
    host->a.next = 12345; // names no panel of the host
    Click(kHostNext);
    EXPECT_EQ(2, Count("A:activate"));
    EXPECT_EQ(0, host->GetCurrentPanelIndex());
}

TEST_F(MenuHost, FinishStopsAtTheFirstPanelThatRefuses)
{
    Make(3, true);
    Click(kHostNext);
    Click(kHostNext);
    ASSERT_EQ(2, host->GetCurrentPanelIndex());
    host->b.finish = FALSE;
    log.clear();
    Click(kHostClose);
    EXPECT_EQ((Log{"C:leave", "A:finish", "B:finish"}), log) << "C is not asked after B refused";
    EXPECT_TRUE(Visible(*host));
    EXPECT_EQ(0, docHost.repaints);

    host->b.finish = TRUE;
    log.clear();
    Click(kHostFinishPlain);
    EXPECT_EQ((Log{"C:leave", "A:finish", "B:finish", "C:finish"}), log);
    EXPECT_FALSE(Visible(*host)) << "a modeless host is hidden by Finish";
    EXPECT_EQ(1, docHost.repaints) << "the design area is painted again";
}

TEST_F(MenuHost, NeverShownPanelsAreSkipped)
{
    Make(3, true);
    log.clear();
    Click(kHostClose);
    EXPECT_EQ((Log{"A:leave", "A:finish"}), log) << "Finish";
    host->ShowWindow(SW_SHOW);
    log.clear();
    host->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ((Log{"A:cancel"}), log) << "Cancel";
    EXPECT_EQ(2, docHost.repaints);
    log.clear();
    EXPECT_TRUE(host->ClosePanel(&host->c));
    EXPECT_TRUE(log.empty()) << "ClosePanel of a panel without window asks nothing";
    log.clear();
    host->DestroyWindow();
    EXPECT_EQ((Log{"A:leave", "A:destroy"}), log) << "destroying the host closes the created panel only";
}

TEST_F(MenuHost, FinishWithoutCurrentPanelDoesNothing)
{
    // A first panel that fails its creation leaves the host without a current panel.
    host = std::make_unique<TestHost>(&parent, log, 2, true);
    host->a.created = FALSE;
    ASSERT_TRUE(host->Create(IDD_T_HOST, &parent));
    ASSERT_EQ(-1, host->GetCurrentPanelIndex());
    log.clear();
    Click(kHostClose);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(Visible(*host));
    EXPECT_EQ(0, docHost.repaints);
    // Positive control: with a current panel the same click finishes.
    ASSERT_TRUE(host->ShowPanelByIndex(1));
    Click(kHostClose);
    EXPECT_FALSE(Visible(*host));
    EXPECT_EQ(1, docHost.repaints);
}

TEST_F(MenuHost, MenuStyleDocksAtTheParentsTopRight)
{
    for (bool menu : {true, false}) {
        host = std::make_unique<TestHost>(&parent, log, 1, menu);
        ASSERT_TRUE(host->Create(IDD_T_HOST, &parent));
        CRect own, client;
        host->GetWindowRect(&own);
        parent.ScreenToClient(&own);
        parent.GetClientRect(&client);
        if (menu) {
            EXPECT_EQ(client.right - 5, own.right);
            EXPECT_EQ(5, own.top);
        } else {
            EXPECT_NE(client.right - 5, own.right) << "outside menu style the host stays where it was made";
        }
        host->DestroyWindow();
    }
}

} // namespace

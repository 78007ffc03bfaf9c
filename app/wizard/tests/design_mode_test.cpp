// The web design wizard as a person sees it, against the stand-in web service on 127.0.0.1:
// the containers and the fetched picture, the page without a service, and closing it while
// a slow reply is still coming.
#include "app/wizard/DesignModeWizardDlg.h"
#include "base/TextTable.h"
#include "net/WebServiceClient.h"
#include "res/wizard_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/Pixels.h"
#include "testsupport/Pump.h"
#include "testsupport/StandInServer.h"
#include "testsupport/TestApp.h"

#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DesignModePage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureTestApp();
        LoadLanguageFile("english");
    }
    void TearDown() override { CWebServiceClient::OverrideDefaultEndpoint(nullptr, 0); }

    static std::vector<std::string> Names(CComboBox& combo)
    {
        std::vector<std::string> names;
        for (int i = 0; i < combo.GetCount(); ++i) {
            CString name;
            combo.GetLBText(i, name);
            names.push_back((LPCSTR)name);
        }
        return names;
    }
    // The page's picture and frame as they show: the white frame from (10, 10) to (110, 110),
    // the picture at (100, 100), 50 x 20.
    static void ExpectPainted(HWND page, bool picture)
    {
        ::UpdateWindow(page);
        const Picture shown = PictureOfWindow(page, CRect(0, 0, 160, 130));
        ASSERT_EQ(160, shown.width);
        for (const POINT p : {POINT{10, 10}, POINT{10, 60}, POINT{60, 10}, POINT{110, 60}, POINT{60, 110}})
            EXPECT_EQ(0xFFFFFFu, shown.At(p.x, p.y) & 0xFFFFFF) << p.x << "," << p.y;
        // Inside the frame: the page's own colour, not the frame's.
        EXPECT_EQ(0xFFFFC0u, shown.At(60, 60) & 0xFFFFFF);
        const DWORD inside = shown.At(125, 110) & 0xFFFFFF;
        if (picture) {
            // The stand-in's picture: red with a fine grain.
            EXPECT_GE((inside >> 16) & 0xFF, 190u) << std::hex << inside;
            EXPECT_LE((inside >> 8) & 0xFF, 60u) << std::hex << inside;
        } else {
            EXPECT_EQ(0xFFFFC0u, inside);
        }
    }
};

TEST_F(DesignModePage, ShowsTheContainersOfParentTwoAndTheFetchedPicture)
{
    StandInServer server;
    ASSERT_TRUE(server.Started()) << server.Problem();
    CWebServiceClient::OverrideDefaultEndpoint("127.0.0.1", server.Port());
    CDesignModeWizardDlg dlg(nullptr);
    bool looked = false;
    DialogDriver driver([&](HWND wnd) {
        looked = true;
        CDesignModeDlg& page = dlg.m_page;
        EXPECT_STREQ("Design Wizard", WindowText(wnd));
        EXPECT_EQ((std::vector<std::string>{"Birthday cakes", "Wedding cakes"}), Names(page.m_containers));
        EXPECT_EQ(11u, page.m_containers.GetItemData(0));
        EXPECT_EQ(12u, page.m_containers.GetItemData(1));
        ASSERT_NE(nullptr, page.GetFetchedImage());
        EXPECT_EQ(50u, page.GetFetchedImage()->GetWidth());
        EXPECT_EQ(20u, page.GetFetchedImage()->GetHeight());
        EXPECT_TRUE(::IsWindowEnabled(page.GetSafeHwnd()));
        EXPECT_EQ(0, page.m_designs.GetItemCount());
        ExpectPainted(page.GetSafeHwnd(), true);
        // A design chosen in the list (the page itself adds none): its stored number is kept,
        // and the list draws it framed as the picture lists do.
        page.m_designs.AddItem(IDB_PREVIEW_447, "design", 312);
        ASSERT_EQ(1, page.m_designs.GetItemCount());
        page.m_designs.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ::UpdateWindow(page.m_designs.GetSafeHwnd());
        SaveScreenshot(wnd, "design-mode-page");
        Press(wnd, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(looked);
    EXPECT_EQ(312, dlg.m_page.GetChosenNumber());
    EXPECT_EQ(1, dlg.m_page.GetChoiceCount());
    EXPECT_TRUE(driver.Unexpected().empty());
    ASSERT_EQ(2, server.RequestCount());
    EXPECT_NE(std::string::npos, server.Request(1).find("<methodName>download.getContainers</methodName>"));
    EXPECT_NE(std::string::npos, server.Request(2).find("<methodName>download.getItem</methodName>"));
    EXPECT_NE(std::string::npos, server.Request(2).find("<string>dezireze.rev</string>"));
}

TEST_F(DesignModePage, WithoutAServiceOpensAfterOneMessageEmptyAndWithoutPicture)
{
    // Port 1 of this machine: nothing answers there.
    CWebServiceClient::OverrideDefaultEndpoint("127.0.0.1", 1);
    CDesignModeWizardDlg dlg(nullptr);
    std::string message;
    bool looked = false;
    DialogDriver driver(std::vector<DialogDriver::Step>{[&](HWND box) {
                                                            message = (LPCSTR)ItemText(box, 0xFFFF);
                                                            Press(box, IDOK);
                                                        },
                                                        [&](HWND wnd) {
                                                            looked = true;
                                                            EXPECT_EQ(0, dlg.m_page.m_containers.GetCount());
                                                            EXPECT_EQ(nullptr, dlg.m_page.GetFetchedImage());
                                                            ExpectPainted(dlg.m_page.GetSafeHwnd(), false);
                                                            SaveScreenshot(wnd, "design-mode-page-no-service");
                                                            Press(wnd, IDCANCEL);
                                                        }});
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_FALSE(message.empty());
    EXPECT_TRUE(looked);
    EXPECT_EQ(2u, driver.StepsTaken());
    EXPECT_TRUE(driver.Unexpected().empty());
}

TEST_F(DesignModePage, ReplyThatIsNoPictureLeavesNoPicture)
{
    StandInServer server;
    ASSERT_TRUE(server.Started()) << server.Problem();
    ASSERT_EQ(200, server.Post("/control/mode?m=garbage"));
    const int before = server.RequestCount();
    CWebServiceClient::OverrideDefaultEndpoint("127.0.0.1", server.Port());
    CDesignModeWizardDlg dlg(nullptr);
    bool looked = false;
    DialogDriver driver([&](HWND wnd) {
        looked = true;
        // The containers came; the bytes GDI+ cannot read make no picture, and no message.
        EXPECT_EQ(2, dlg.m_page.m_containers.GetCount());
        EXPECT_EQ(nullptr, dlg.m_page.GetFetchedImage());
        ExpectPainted(dlg.m_page.GetSafeHwnd(), false);
        Press(wnd, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(looked);
    EXPECT_TRUE(driver.Unexpected().empty());
    EXPECT_EQ(before + 2, server.RequestCount());
}

// Tries to close the wizard while its page exchanges, as often as the timer comes.
struct CloseProbe
{
    CDesignModeWizardDlg* dlg = nullptr;
    int tries = 0;
    int pageEnabled = 0;
} g_probe;

void CALLBACK TryToClose(HWND, UINT, UINT_PTR, DWORD)
{
    CDesignModeWizardDlg* dlg = g_probe.dlg;
    if (dlg == nullptr || !::IsWindow(dlg->GetSafeHwnd()) || !dlg->m_page.IsExchanging())
        return;
    ++g_probe.tries;
    if (::IsWindowEnabled(dlg->m_page.GetSafeHwnd()))
        ++g_probe.pageEnabled;
    ::PostMessage(dlg->GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    ::PostMessage(dlg->GetSafeHwnd(), WM_CLOSE, 0, 0);
}

TEST_F(DesignModePage, ClosingDuringASlowReplyIsRefused)
{
    StandInServer server;
    ASSERT_TRUE(server.Started()) << server.Problem();
    ASSERT_EQ(200, server.Post("/control/mode?m=slow"));
    const int before = server.RequestCount();
    CWebServiceClient::OverrideDefaultEndpoint("127.0.0.1", server.Port());
    CDesignModeWizardDlg dlg(nullptr);
    g_probe = CloseProbe();
    g_probe.dlg = &dlg;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 150, TryToClose);
    bool looked = false;
    DialogDriver driver([&](HWND wnd) {
        looked = true;
        // Still open after every try, with everything the slow replies brought.
        EXPECT_EQ(2, dlg.m_page.m_containers.GetCount());
        EXPECT_NE(nullptr, dlg.m_page.GetFetchedImage());
        EXPECT_TRUE(::IsWindowEnabled(dlg.m_page.GetSafeHwnd()));
        Press(wnd, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ::KillTimer(nullptr, timer);
    g_probe.dlg = nullptr;
    EXPECT_TRUE(looked);
    EXPECT_GE(g_probe.tries, 3);
    EXPECT_EQ(0, g_probe.pageEnabled);
    EXPECT_EQ(before + 2, server.RequestCount());
}

} // namespace

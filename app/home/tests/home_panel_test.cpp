// The home panel inside the real frame and view, used as a person uses it: its buttons in
// their order, language and colours, the hidden web button, and what each press does to
// the tool modes, the tool hosts and the dialogs it opens.
#include "app/home/SystemDlg.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "base/OpenUrl.h"
#include "res/view_res.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Input.h"
#include "testsupport/Pixels.h"
#include "testsupport/Dump.h"
#include "ui/Skin.h"
#include "ui/SkinButton.h"

#include <string>
#include <vector>

namespace {

// The visible buttons from top to bottom, with their captions in two languages.
const struct
{
    int id;
    const char* english;
    const char* french;
} kVisibleButtons[] = {
    {IDC_HOME_NEW, "New", "Nouveau"},       {IDC_HOME_LOAD, "Load", "Ouvrir"},
    {IDC_HOME_SAVE, "Save", "Enregistrer"}, {IDC_HOME_BACKGROUND, "Background", "Fond"},
    {IDC_HOME_IMAGES, "Images", "Images"},  {IDC_HOME_TEXT, "Text", "Texte"},
    {IDC_HOME_FRAME, "Frame", "Cadre"},     {IDC_HOME_PREVIEW, "Preview", "Aper\xe7u"},
    {IDC_HOME_PRINT, "Print", "Imprimer"},  {IDC_HOME_SETTINGS, "Settings", "R\xe9glages"},
};

std::vector<std::string> g_opened;
INT_PTR RecordOpen(LPCTSTR url, int show)
{
    g_opened.push_back(std::string(url) + " " + std::to_string(show));
    return 33;
}

class HomePanel : public DesignWindowTest
{
protected:
    HWND Panel() const { return Home()->GetSafeHwnd(); }
    HWND Button(int id) const { return ::GetDlgItem(Panel(), id); }
    CPanelManager* Panels() const { return GetGlobalObjectC(); }
    // The host windows that show.
    int VisibleHosts() const
    {
        int n = 0;
        for (int k = 0; k < CPanelManager::kHostKinds; k++) {
            CMenuHostDlg* host = Panels()->GetHost((CPanelManager::HostKind)k);
            n += host != nullptr && ::IsWindowVisible(host->GetSafeHwnd()) ? 1 : 0;
        }
        return n;
    }
    void PressAndPump(int id)
    {
        Press(Panel(), id);
        ASSERT_TRUE(PumpPending(10000));
    }
};

TEST_F(HomePanel, TenSkinnedButtonsInOrderAndLanguageOnThePanelBlue)
{
    for (const char* language : {"english", "french"}) {
        LoadLanguageFile(language);
        // A panel made in that language, in the view's place.
        CSystemDlg home;
        home.m_pDoc = doc;
        ASSERT_TRUE(home.Create(IDD_HOME_PANEL, frame)) << language;
        ::SetWindowPos(home.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        ASSERT_TRUE(PumpPending(5000));
        const bool french = std::string(language) == "french";
        int lastTop = -1;
        CRect panel;
        home.GetClientRect(&panel);
        for (const auto& b : kVisibleButtons) {
            HWND button = ::GetDlgItem(home.GetSafeHwnd(), b.id);
            ASSERT_NE(nullptr, button) << b.id;
            EXPECT_TRUE(::IsWindowVisible(button)) << language << " " << b.english;
            EXPECT_STREQ(french ? b.french : b.english, WindowText(button)) << language;
            CRect r;
            ::GetWindowRect(button, &r);
            home.ScreenToClient(&r);
            EXPECT_GT(r.top, lastTop) << b.english << " in its place from the top";
            lastTop = r.top;
            auto* skinned = dynamic_cast<CSkinButton*>(CWnd::FromHandlePermanent(button));
            ASSERT_NE(nullptr, skinned) << b.english;
            COLORREF back = 0, text = 0;
            skinned->GetColor(kSlotNormalBack, &back);
            skinned->GetColor(kSlotNormalText, &text);
            EXPECT_EQ(kSkinBlue, back) << b.english;
            EXPECT_EQ(kSkinCaptionWhite, text) << b.english;
            // The panel blue left of and below each button.
            Picture around = PictureOfWindow(home.GetSafeHwnd(), CRect(1, r.bottom, 2, r.bottom + 1));
            ASSERT_EQ(1u, around.pixels.size());
            EXPECT_EQ(0x429AFCu, around.pixels[0] & 0xFFFFFF) << language << " below " << b.english;
        }
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(home.GetSafeHwnd(), IDC_HOME_WEB))) << "no web button";
        EXPECT_TRUE(SaveScreenshot(home.GetSafeHwnd(), (std::string("home_panel_") + language).c_str()));
        home.DestroyWindow();
    }
    LoadLanguageFile("english");
}

TEST_F(HomePanel, HiddenWebButtonOpensNothingItsCommandOpensTheAddress)
{
    g_opened.clear();
    const OpenUrlHandler previous = SetOpenUrlHandler(RecordOpen);
    // A click where the web button stands reaches no button.
    CRect r;
    ::GetWindowRect(Button(IDC_HOME_WEB), &r);
    Home()->ScreenToClient(&r);
    const LPARAM at = MAKELPARAM(r.CenterPoint().x, r.CenterPoint().y);
    ::PostMessage(Panel(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessage(Panel(), WM_LBUTTONUP, 0, at);
    PumpPending();
    EXPECT_TRUE(g_opened.empty());
    // Positive control: the command itself opens the maker's address, shown.
    Home()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HOME_WEB, BN_CLICKED), (LPARAM)Button(IDC_HOME_WEB));
    SetOpenUrlHandler(previous);
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ(std::string(kMakerWebAddress) + " " + std::to_string(SW_SHOW), g_opened[0]);
}

TEST_F(HomePanel, ToolButtonsSwitchTheToolModesAndShowOneHost)
{
    static const struct
    {
        int first, then;
        BOOL image, text;
    } cases[] = {
        {IDC_HOME_IMAGES, IDC_HOME_TEXT, FALSE, TRUE},        {IDC_HOME_TEXT, IDC_HOME_IMAGES, TRUE, FALSE},
        {IDC_HOME_IMAGES, IDC_HOME_BACKGROUND, FALSE, FALSE}, {IDC_HOME_TEXT, IDC_HOME_BACKGROUND, FALSE, FALSE},
        {IDC_HOME_IMAGES, IDC_HOME_SETTINGS, FALSE, FALSE},   {IDC_HOME_TEXT, IDC_HOME_SETTINGS, FALSE, FALSE},
        {IDC_HOME_TEXT, IDC_HOME_FRAME, FALSE, FALSE},
    };
    for (const auto& c : cases) {
        PressAndPump(c.first);
        EXPECT_TRUE(c.first == IDC_HOME_IMAGES ? doc->IsImageToolMode() : doc->IsTextToolMode()) << c.first;
        PressAndPump(c.then);
        EXPECT_EQ(c.image, doc->IsImageToolMode()) << c.first << " then " << c.then;
        EXPECT_EQ(c.text, doc->IsTextToolMode()) << c.first << " then " << c.then;
        EXPECT_GE(1, VisibleHosts()) << c.first << " then " << c.then;
    }
    PressAndPump(IDC_HOME_BACKGROUND);
    EXPECT_EQ(1, VisibleHosts());
    EXPECT_TRUE(::IsWindowVisible(Panels()->GetBackgroundMenu()->GetSafeHwnd()));
}

TEST_F(HomePanel, SaveAsksForAPlaceOnlyForANeverSavedDesignAndCancelKeepsTheHosts)
{
    PressAndPump(IDC_HOME_BACKGROUND);
    CBackgroundMenuDlg* background = Panels()->GetBackgroundMenu();
    ASSERT_NE(nullptr, background);
    static const struct
    {
        const char* path;
        const char* titleKey;
    } cases[] = {
        {"", "53"},                     // "Files" asking for a place
        {"C:\\cakes\\party.ktb", "52"}, // "Files" saving to the design's path
    };
    for (const auto& c : cases) {
        doc->SetDesignPath(c.path);
        CString title;
        {
            DialogDriver driver([&](HWND dlg) {
                title = WindowText(dlg);
                Press(dlg, IDCANCEL);
            });
            PressAndPump(IDC_HOME_SAVE);
            ASSERT_TRUE(PumpUntil([&] { return driver.Acted(); }, 15000)) << c.path;
        }
        EXPECT_STREQ(GetLangText(c.titleKey), title) << c.path;
        EXPECT_EQ(background, Panels()->GetBackgroundMenu()) << "Cancel keeps every host";
        EXPECT_TRUE(::IsWindowVisible(background->GetSafeHwnd()));
    }
}

TEST_F(HomePanel, LoadAndNewAskAboutAChangedDesignAndCancelOpensNothing)
{
    PressAndPump(IDC_HOME_BACKGROUND);
    CBackgroundMenuDlg* background = Panels()->GetBackgroundMenu();
    for (int id : {IDC_HOME_LOAD, IDC_HOME_NEW}) {
        doc->SetModifiedFlag(TRUE);
        std::vector<CString> titles;
        {
            DialogDriver driver(DialogDriver::EveryDialog(), [&](HWND dlg) {
                titles.push_back(WindowText(dlg));
                Press(dlg, IDCANCEL);
            });
            PressAndPump(id);
            ASSERT_TRUE(PumpUntil([&] { return driver.Acted(); }, 15000)) << id;
            PumpPending(1000);
        }
        ASSERT_EQ(1u, titles.size()) << id << ": only the question, nothing opened after its Cancel";
        EXPECT_STREQ(GetLangText("129"), titles[0]) << id;
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(background, Panels()->GetBackgroundMenu());
    }
}

// The support member runs the support dialog modally, owned by the program's window, in the
// panel's language; OK ends it and the panel goes on.
TEST_F(HomePanel, SupportRunsTheSupportDialogInTheLanguage)
{
    const struct
    {
        const char* language;
        const char* title;
    } cases[] = {{"english", "Support"}, {"french", "Assistance"}};
    for (const auto& c : cases) {
        LoadLanguageFile(c.language);
        CString title;
        HWND owner = nullptr;
        {
            DialogDriver driver([&](HWND dlg) {
                title = WindowText(dlg);
                owner = ::GetWindow(dlg, GW_OWNER);
                Press(dlg, IDOK);
            });
            auto* home = dynamic_cast<CSystemDlg*>(Home());
            ASSERT_NE(nullptr, home);
            home->OnSupport();
            EXPECT_EQ(1u, driver.StepsTaken()) << c.language;
        }
        EXPECT_STREQ(c.title, title) << c.language;
        EXPECT_EQ(::GetAncestor(Panel(), GA_ROOT), owner) << c.language;
        EXPECT_TRUE(::IsWindow(Panel())) << c.language;
    }
    LoadLanguageFile("english");
}

} // namespace

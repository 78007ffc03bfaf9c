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
#include "testsupport/Input.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"

#include <gtest/gtest.h>

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

class BackgroundFill : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureTestApp();
        LoadLanguageFile("english");
        SetSetting("FIRSTRUN", "0");
        m_template = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CountingFillDoc), RUNTIME_CLASS(CFrameWnd),
                                            RUNTIME_CLASS(CFrostwellView));
        doc = static_cast<CountingFillDoc*>(m_template->OpenDocumentFile(NULL, TRUE));
        ASSERT_NE(nullptr, doc);
        POSITION pos = doc->GetFirstViewPosition();
        view = static_cast<CFrostwellView*>(doc->GetNextView(pos));
        frame = view->GetParentFrame();
        AfxGetApp()->m_pMainWnd = frame;
        CRect r(0, 0, 1200, 900);
        ::AdjustWindowRectEx(&r, frame->GetStyle(), FALSE, frame->GetExStyle());
        frame->SetWindowPos(NULL, 0, 0, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        frame->ShowWindow(SW_SHOW);
        PumpPending();
        ShowMenu();
    }
    void TearDown() override
    {
        if (doc != NULL)
            doc->SetModifiedFlag(FALSE);
        AfxGetApp()->m_pMainWnd = NULL;
        if (frame != NULL && ::IsWindow(frame->GetSafeHwnd()))
            frame->SendMessage(WM_CLOSE);
        PumpPending();
        delete m_template;
    }
    void ShowMenu()
    {
        GetGlobalObjectC()->ShowBackgroundMenu();
        menu = GetGlobalObjectC()->GetBackgroundMenu();
        ASSERT_NE(nullptr, menu);
        fill = &menu->m_fillDlg;
        ASSERT_TRUE(PumpPending());
    }
    HWND Fill() const { return fill->GetSafeHwnd(); }
    void Click(int id)
    {
        Press(Fill(), id);
        ASSERT_TRUE(PumpPending());
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

    CountingFillDoc* doc = NULL;
    CFrostwellView* view = NULL;
    CFrameWnd* frame = NULL;
    CSingleDocTemplate* m_template = NULL;
    CBackgroundMenuDlg* menu = NULL;
    CBackgroundFillDlg* fill = NULL;
};

const COLORREF kMixed[5] = {RGB(200, 10, 10), RGB(10, 200, 10), RGB(10, 10, 200), RGB(90, 90, 0), RGB(0, 90, 90)};
const COLORREF kWhites[5] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

TEST_F(BackgroundFill, MenuShowsTheFillPanelFirstWithItsQuickLink)
{
    EXPECT_TRUE(::IsWindowVisible(menu->GetSafeHwnd()));
    ASSERT_EQ(1, menu->GetPanelCount()) << "without individual designs and frames tool";
    EXPECT_EQ(0, menu->GetCurrentPanelIndex());
    EXPECT_TRUE(::IsWindowVisible(Fill()));
    EXPECT_EQ(0, (int)::SendDlgItemMessage(Fill(), IDC_QUICK_LINKS, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, (int)::SendDlgItemMessage(Fill(), IDC_QUICK_LINKS, LB_GETCOUNT, 0, 0)) << "fill and image";
    EXPECT_STREQ(GetLangText("27"), ItemText(menu->GetSafeHwnd(), kHostTitle));
    EXPECT_TRUE(doc->IsModified()) << "showing the fill panel marks the design modified";

    // The image entry's panel is not built: choosing it leaves the fill panel shown.
    ::SendDlgItemMessage(Fill(), IDC_QUICK_LINKS, LB_SETCURSEL, 1, 0);
    ::SendMessage(Fill(), WM_COMMAND, MAKEWPARAM(IDC_QUICK_LINKS, LBN_SELCHANGE),
                  (LPARAM)::GetDlgItem(Fill(), IDC_QUICK_LINKS));
    EXPECT_EQ(0, menu->GetCurrentPanelIndex());
    EXPECT_TRUE(::IsWindowVisible(Fill()));
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
    ExpectColours(kWhites, "Clear");
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

TEST_F(BackgroundFill, CloseFinishesHidesAndPaintsAgainThenShowsTheSamePanel)
{
    HWND panelBefore = Fill();
    ASSERT_TRUE(PumpPending());
    const int paints = view->GetScenePaintCount();
    doc->ClearRedrawFlag();
    Press(menu->GetSafeHwnd(), kHostClose);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(menu->GetSafeHwnd()); }));
    EXPECT_TRUE(PumpUntil([&] { return view->GetScenePaintCount() > paints; })) << "the design is drawn again";

    const int marked = doc->marked;
    ShowMenu();
    EXPECT_TRUE(::IsWindowVisible(menu->GetSafeHwnd()));
    EXPECT_EQ(menu, GetGlobalObjectC()->GetBackgroundMenu()) << "the same host";
    EXPECT_EQ(panelBefore, Fill()) << "the same panel window";
    EXPECT_EQ(1, doc->marked - marked) << "its OnActivate ran once (it marks the design once)";
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

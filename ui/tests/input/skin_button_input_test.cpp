// The skinned button in a real dialog, used with the pointer through the display (xdotool):
// a double click is two clicks, a check-box button toggles and shows pressed while checked,
// the sound plays at the first click only, an address goes to the open-URL seam, a menu
// drops down at the button's bottom-left corner, a disabled button passes the focus on, and
// a hover change waits for the next repaint.
#include "ui/SkinButton.h"
#include "ui/tests/input/Xdo.h"
#include "ui/tests/ui_test_res.h"
#include "ui/tests/ui_test_util.h"

#include "base/OpenUrl.h"
#include "base/Sound.h"
#include "testsupport/Dump.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

const COLORREF kHoverBack = RGB(200, 30, 30);
const COLORREF kNormalBack = RGB(30, 30, 200);

class ButtonsDialog : public CDialog
{
public:
    ButtonsDialog() : CDialog(IDD_T_BUTTONS, nullptr) {}
    CSkinButton push, check, def, menu, link, quiet, next;
    std::map<int, int> clicks, doubleClicks;
    std::vector<UINT> commands;

    // Made, placed at a free corner of the screen, active.
    bool Open()
    {
        if (!Create(IDD_T_BUTTONS))
            return false;
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 60, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        ::SetForegroundWindow(m_hWnd);
        for (CSkinButton* b : {&push, &check, &def, &menu, &link, &quiet, &next}) {
            b->SetColor(kSlotHoverBack, kHoverBack, FALSE);
            b->SetColor(kSlotNormalBack, kNormalBack, FALSE);
            b->SetColor(kSlotFocusBack, kNormalBack, FALSE);
        }
        UpdateWindow();
        PumpPending();
        return true;
    }
    ~ButtonsDialog() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_T_PUSH, push);
        DDX_Control(dx, IDC_T_CHECK, check);
        DDX_Control(dx, IDC_T_DEFAULT, def);
        DDX_Control(dx, IDC_T_MENU, menu);
        DDX_Control(dx, IDC_T_LINK, link);
        DDX_Control(dx, IDC_T_QUIET, quiet);
        DDX_Control(dx, IDC_T_NEXT, next);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (CDialog::OnCommand(wParam, lParam))
            return TRUE;
        if (lParam == 0)
            commands.push_back(LOWORD(wParam));
        else if (HIWORD(wParam) == BN_CLICKED)
            ++clicks[LOWORD(wParam)];
        else if (HIWORD(wParam) == BN_DOUBLECLICKED)
            ++doubleClicks[LOWORD(wParam)];
        return TRUE;
    }
    void OnOK() override {}
    void OnCancel() override {}
};

// The colour the button shows now at a point of its client area.
COLORREF Shown(CWnd& button, int x = 2, int y = 2)
{
    HDC dc = ::GetDC(button.m_hWnd);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(button.m_hWnd, dc);
    return c;
}

bool ClickOn(CWnd& button, int times = 1)
{
    const POINT p = CentreOf(button.m_hWnd);
    return Xdo("mousemove %ld %ld click --repeat %d --delay 80 1", p.x, p.y, times);
}

// The pointer off every button: on the dialog's own empty bottom-right corner.
bool PointerAway(CWnd& dlg)
{
    CRect r;
    dlg.GetWindowRect(&r);
    return Xdo("mousemove %ld %ld", r.right - 4, r.bottom - 4);
}

class SkinButtonInput : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Open()); }
    ButtonsDialog dlg;
};

TEST_F(SkinButtonInput, DoubleClickGivesTheParentTwoClicks)
{
    ASSERT_TRUE(ClickOn(dlg.push, 2));
    EXPECT_TRUE(PumpUntil([&] { return dlg.clicks[IDC_T_PUSH] >= 2; }));
    PumpPending();
    EXPECT_EQ(2, dlg.clicks[IDC_T_PUSH]);
    EXPECT_EQ(0, dlg.doubleClicks[IDC_T_PUSH]) << "no double-click notification";
}

TEST_F(SkinButtonInput, CheckBoxButtonTogglesAndShowsPressedWhileChecked)
{
    ASSERT_TRUE(dlg.check.IsCheckBox());
    EXPECT_EQ(0, dlg.check.GetCheck());
    const int expected[] = {1, 0, 1};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(ClickOn(dlg.check));
        ASSERT_TRUE(PumpUntil([&] { return dlg.clicks[IDC_T_CHECK] == i + 1; })) << "click " << i;
        EXPECT_EQ(expected[i], dlg.check.GetCheck()) << "click " << i;
        // With the pointer gone the hover is over: what shows is the check state alone.
        ASSERT_TRUE(PointerAway(dlg));
        ASSERT_TRUE(PumpUntil([&] { return !dlg.check.IsHovering(); }));
        dlg.check.Invalidate();
        dlg.check.UpdateWindow();
        EXPECT_EQ(expected[i] ? kHoverBack : kNormalBack, Shown(dlg.check)) << "click " << i;
    }
}

std::vector<std::string> g_sounds;
void RecordSound(LPCTSTR path) { g_sounds.push_back(path); }
std::vector<std::string> g_urls;
std::vector<int> g_shows;
INT_PTR RecordUrl(LPCTSTR url, int show)
{
    g_urls.push_back(url);
    g_shows.push_back(show);
    return 42;
}

TEST_F(SkinButtonInput, SoundAtTheFirstClickOnlyAndTheAddressThroughTheSeam)
{
    SoundHandler previousSound = SetSoundHandler(&RecordSound);
    OpenUrlHandler previousUrl = SetOpenUrlHandler(&RecordUrl);
    g_sounds.clear();
    g_urls.clear();
    g_shows.clear();
    dlg.push.SetSoundName("icing.wav");
    dlg.link.SetURL("http://example.invalid/cakes?size=9");
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(ClickOn(dlg.push));
        ASSERT_TRUE(ClickOn(dlg.quiet));
        ASSERT_TRUE(ClickOn(dlg.link));
    }
    EXPECT_TRUE(PumpUntil([&] { return dlg.clicks[IDC_T_LINK] == 2; }));
    EXPECT_EQ(2, dlg.clicks[IDC_T_PUSH]);
    EXPECT_EQ(2, dlg.clicks[IDC_T_QUIET]);
    ASSERT_EQ(1u, g_sounds.size()) << "once per button, and never for the button without a name";
    EXPECT_NE(std::string::npos, g_sounds[0].find("icing.wav"));
    ASSERT_EQ(2u, g_urls.size());
    EXPECT_EQ("http://example.invalid/cakes?size=9", g_urls[0]);
    EXPECT_EQ(SW_SHOWMAXIMIZED, g_shows[0]);
    SetSoundHandler(previousSound);
    SetOpenUrlHandler(previousUrl);
}

// While the menu is up: where it is, a picture of it, and a click on its second item.
CRect g_menuRect;
bool g_menuSeen = false;
HWND g_buttonsDialog = nullptr;
void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = ::FindWindow("#32768", nullptr);
    if (popup == nullptr || !::IsWindowVisible(popup))
        return;
    ::KillTimer(nullptr, id);
    g_menuSeen = true;
    ::GetWindowRect(popup, &g_menuRect);
    CaptureToPng({g_buttonsDialog, popup}, "skin-button-menu");
    HMENU menu = (HMENU)::SendMessage(popup, MN_GETHMENU, 0, 0);
    RECT item = {};
    if (menu != nullptr && ::GetMenuItemRect(nullptr, menu, 1, &item))
        Xdo("mousemove %ld %ld click 1", (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    else
        ::EndMenu();
}

TEST_F(SkinButtonInput, MenuDropsDownAtTheBottomLeftCorner)
{
    ASSERT_EQ(kSkinOk, dlg.menu.SetMenu(IDR_T_MENU, dlg.m_hWnd, FALSE));
    g_menuSeen = false;
    g_buttonsDialog = dlg.m_hWnd;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &LookAtMenu);
    ASSERT_TRUE(ClickOn(dlg.menu));
    EXPECT_TRUE(PumpUntil([&] { return dlg.clicks[IDC_T_MENU] == 1; }));
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(g_menuSeen) << "no menu showed";
    CRect button;
    dlg.menu.GetWindowRect(&button);
    EXPECT_EQ(button.left, g_menuRect.left);
    EXPECT_EQ(button.bottom, g_menuRect.top);
    EXPECT_TRUE(PumpUntil([&] { return !dlg.commands.empty(); }));
    EXPECT_EQ(std::vector<UINT>{ID_T_MENU_SECOND}, dlg.commands) << "the owner gets the chosen command";
}

// A disabled button cannot keep the focus: it goes to the next tab item.
TEST_F(SkinButtonInput, DisablingTheFocusedButtonMovesTheFocusOn)
{
    dlg.link.SetFocus();
    ASSERT_EQ(dlg.link.m_hWnd, ::GetFocus());
    dlg.link.EnableWindow(FALSE);
    EXPECT_EQ(dlg.quiet.m_hWnd, ::GetFocus());
    dlg.next.SetFocus();
    dlg.next.EnableWindow(FALSE);
    EXPECT_EQ(dlg.push.m_hWnd, ::GetFocus()) << "after the last tab item comes the first again";
}

// The pointer on a flat button sets its hover without a repaint; the next repaint shows the
// hover colour; the pointer gone, the next repaint shows the normal one.
TEST_F(SkinButtonInput, HoverShowsAtTheNextRepaint)
{
    ASSERT_TRUE(PointerAway(dlg));
    PumpPending();
    const POINT p = CentreOf(dlg.push.m_hWnd);
    ASSERT_TRUE(Xdo("mousemove %ld %ld", p.x, p.y));
    ASSERT_TRUE(PumpUntil([&] { return dlg.push.IsHovering() != FALSE; }));
    PumpPending();
    EXPECT_EQ(kNormalBack, Shown(dlg.push)) << "no repaint at the hover";
    dlg.push.Invalidate();
    dlg.push.UpdateWindow();
    EXPECT_EQ(kHoverBack, Shown(dlg.push));
    ASSERT_TRUE(PointerAway(dlg));
    ASSERT_TRUE(PumpUntil([&] { return !dlg.push.IsHovering(); }));
    PumpPending();
    EXPECT_EQ(kHoverBack, Shown(dlg.push)) << "no repaint when it ends either";
    dlg.push.Invalidate();
    dlg.push.UpdateWindow();
    EXPECT_EQ(kNormalBack, Shown(dlg.push));
}

} // namespace

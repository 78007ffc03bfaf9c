// The help bubble as a person meets it: a dialog relays its pointer messages to its tooltip,
// the real pointer of the virtual display (xdotool) rests on a button, the bubble fades in
// beside it with its tail at the pointer, stays while nothing happens, and goes when the
// pointer leaves or a button or key is pressed; and a menu tip beside an item of an open
// popup menu. Screenshots are left in <build>/screenshots for a person to look at.
#include "ui/HelpTipManager.h"
#include "ui/PPToolTip.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "tip_test_util.h"
#include "ui_test_res.h"

#include <vector>

namespace {

using tip_test::HelpFolder;
using tip_test::MovePointer;

// A dialog that relays every message it pre-translates to its tooltip, as the panel base
// does, and tells the tooltip of menu selections.
class CRelayDialog : public CDialog
{
public:
    CRelayDialog() : CDialog(IDD_TEST_TIPS) {}
    BOOL PreTranslateMessage(MSG* msg) override
    {
        tip.RelayEvent(msg);
        return CDialog::PreTranslateMessage(msg);
    }
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam)
    {
        tip.OnMenuSelect(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
        return 0;
    }
    CPPToolTip tip;
    CHelpTipManager help;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRelayDialog, CDialog)
    ON_MESSAGE(WM_MENUSELECT, &CRelayDialog::OnMenuSelect)
END_MESSAGE_MAP()

class PointerTips : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureTestApp();
        folder.Write("tips.txt", {"TEST_BTN=Piping bag~Squeeze gently to pipe a border around the cake top, then "
                                  "lift the bag away.~Decorating"});
        ASSERT_TRUE(dialog.Create(IDD_TEST_TIPS, nullptr));
        dialog.SetWindowPos(nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        ASSERT_TRUE(dialog.help.LoadHelpFile("tips.txt"));
        dialog.help.CreateTooltip(&dialog, &dialog.tip);
        button = ::GetDlgItem(dialog.m_hWnd, IDC_TEST_BUTTON);
        ASSERT_NE(nullptr, button);
        dialog.help.AddHelpTool(&dialog, CWnd::FromHandle(button), "TEST_BTN");
        dialog.tip.SetStepHook([this](int, int transparency) { steps.push_back(transparency); });
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(dialog.m_hWnd) != FALSE; }));
        PumpPending();
    }
    void TearDown() override
    {
        if (dialog.m_hWnd)
            dialog.DestroyWindow();
    }
    // A screen point of the dialog's client area.
    POINT InDialog(int x, int y) const
    {
        POINT pt = {x, y};
        ::ClientToScreen(dialog.m_hWnd, &pt);
        return pt;
    }
    POINT ButtonCentre() const
    {
        RECT r;
        ::GetWindowRect(button, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    bool WaitState(CPPToolTip::State state, DWORD ms = 10000)
    {
        return PumpUntil([&] { return dialog.tip.GetState() == state; }, ms);
    }

    HelpFolder folder;
    CRelayDialog dialog;
    HWND button = nullptr;
    std::vector<int> steps;
};

TEST_F(PointerTips, ButtonShowsItsHelpBubbleWhenThePointerRestsOnIt)
{
    const POINT away = InDialog(5, 5);
    ASSERT_TRUE(MovePointer(away.x, away.y));
    PumpPending();
    EXPECT_EQ(CPPToolTip::STATE_HIDDEN, dialog.tip.GetState()) << "nothing over the dialog's face";

    const POINT at = ButtonCentre();
    ASSERT_TRUE(MovePointer(at.x, at.y));
    ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN)) << "the bubble after the initial delay";
    EXPECT_EQ(button, dialog.tip.GetDisplayedWindow());
    EXPECT_EQ((std::vector<int>{100, 80, 60, 40, 20, 8}), steps) << "fading in";
    ASSERT_TRUE(PumpPending());

    // Above the pointer, the tail's tip at it: 25 from the body's left end; the shadow (5)
    // reaches below and right of the balloon.
    RECT r;
    ::GetWindowRect(dialog.tip.GetSafeHwnd(), &r);
    EXPECT_EQ(at.x - 25, r.left);
    EXPECT_EQ(at.y + 5, r.bottom);
    EXPECT_FALSE(tip_test::Screenshot("help_bubble").IsEmpty());

    // The grey border frames the balloon; the shadow darkens the dialog beside it.
    const int middle = (r.top + r.bottom - 30) / 2;
    const COLORREF border = tip_test::ScreenPixel(r.left, middle);
    EXPECT_LT(GetGValue(border), 100) << "border, not the face beneath";
    const COLORREF face = tip_test::ScreenPixel(r.right + 4, middle);
    const COLORREF shadow = tip_test::ScreenPixel(r.right - 3, middle);
    EXPECT_LT(GetGValue(shadow) + 10, GetGValue(face)) << "shadow darker than the face beside it";

    // No auto-pop: still there after more than the usual auto-pop time.
    EXPECT_FALSE(PumpUntil([&] { return dialog.tip.GetState() != CPPToolTip::STATE_SHOWN; }, 5600));
    EXPECT_TRUE(::IsWindowVisible(dialog.tip.GetSafeHwnd()));

    // The pointer leaves the button: it fades out.
    steps.clear();
    ASSERT_TRUE(MovePointer(away.x, away.y));
    ASSERT_TRUE(WaitState(CPPToolTip::STATE_HIDDEN));
    EXPECT_EQ((std::vector<int>{8, 28, 48, 68, 88, 100}), steps) << "fading out";
    EXPECT_FALSE(::IsWindowVisible(dialog.tip.GetSafeHwnd()));
}

TEST_F(PointerTips, ButtonOrKeyPressedHidesTheBubbleAtOnce)
{
    const POINT away = InDialog(5, 5), at = ButtonCentre();
    // A mouse button.
    ASSERT_TRUE(MovePointer(away.x, away.y));
    ASSERT_TRUE(MovePointer(at.x, at.y));
    ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN));
    steps.clear();
    ASSERT_TRUE(tip_test::ClickPointer());
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(dialog.tip.GetSafeHwnd()); }));
    EXPECT_EQ(CPPToolTip::STATE_HIDDEN, dialog.tip.GetState());
    EXPECT_TRUE(steps.empty()) << "no fading";

    // A key, pressed while the bubble shows.
    ASSERT_TRUE(MovePointer(away.x, away.y));
    ASSERT_TRUE(MovePointer(at.x, at.y));
    ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN));
    ::PostMessage(button, WM_KEYDOWN, VK_SHIFT, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(dialog.tip.GetSafeHwnd()); }));
    EXPECT_EQ(CPPToolTip::STATE_HIDDEN, dialog.tip.GetState());
}

TEST_F(PointerTips, PointerLeavingTheDialogInOneJumpHidesTheBubble)
{
    const POINT away = InDialog(5, 5), at = ButtonCentre();
    // Far outside the dialog: the dialog hears of no move there.
    const POINT outside = {::GetSystemMetrics(SM_CXSCREEN) - 10, ::GetSystemMetrics(SM_CYSCREEN) - 10};
    RECT dialogRect;
    ::GetWindowRect(dialog.m_hWnd, &dialogRect);
    ASSERT_FALSE(::PtInRect(&dialogRect, outside));
    ASSERT_TRUE(MovePointer(away.x, away.y));
    ASSERT_TRUE(MovePointer(at.x, at.y));
    ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN));
    ASSERT_TRUE(MovePointer(outside.x, outside.y));
    EXPECT_TRUE(WaitState(CPPToolTip::STATE_HIDDEN, 3000)) << "the bubble goes without a move over the dialog";
    EXPECT_FALSE(::IsWindowVisible(dialog.tip.GetSafeHwnd()));

    // Back on the button, it shows again.
    ASSERT_TRUE(MovePointer(away.x, away.y));
    ASSERT_TRUE(MovePointer(at.x, at.y));
    EXPECT_TRUE(WaitState(CPPToolTip::STATE_SHOWN));
}

// The menu test's steps, run by a timer inside the menu's own loop.
struct MenuRun
{
    CRelayDialog* dialog = nullptr;
    HMENU menu = nullptr;
    int step = 0;
    int ticks = 0;
    RECT menuWindow = {0, 0, 0, 0};
    RECT tipWindow = {0, 0, 0, 0};
    CString screenshot;
    bool shown = false;
};
MenuRun g_menu;

void CALLBACK MenuStep(HWND, UINT, UINT_PTR, DWORD)
{
    MenuRun& run = g_menu;
    if (++run.ticks > 200) { // 20 s: give up, the checks after the menu fail
        ::EndMenu();
        return;
    }
    HWND menuWnd = ::FindWindow("#32768", nullptr);
    if (run.step == 0 && menuWnd && ::IsWindowVisible(menuWnd)) {
        RECT item;
        if (::GetMenuItemRect(nullptr, run.menu, 1, &item)) {
            ::GetWindowRect(menuWnd, &run.menuWindow);
            tip_test::StartUnix("/usr/bin/xdotool mousemove " + std::to_string((item.left + item.right) / 2) + " " +
                                std::to_string((item.top + item.bottom) / 2));
            run.step = 1;
        }
    } else if (run.step == 1 && run.dialog->tip.GetState() == CPPToolTip::STATE_SHOWN) {
        run.shown = true;
        ::GetWindowRect(run.dialog->tip.GetSafeHwnd(), &run.tipWindow);
        run.step = 2;
    } else if (run.step == 2) {
        // Painted by now. The screenshot waits for its picture handling messages, this
        // timer's among them.
        run.step = 3;
        run.screenshot = tip_test::Screenshot("menu_tip");
        ::EndMenu();
    }
}

TEST_F(PointerTips, MenuTipShowsBesideTheItemOfAnOpenPopupMenu)
{
    CPPToolTip& tip = dialog.tip;
    tip.SetDirection(PPTOOLTIP_SIDE_RIGHT + PPTOOLTIP_ALIGN_CENTER);
    tip.SetMenuTipAlignment(PPTOOLTIP_MENU_RIGHT | PPTOOLTIP_MENU_VCENTER);
    tip.SetDelayTime(CPPToolTip::DELAY_INITIAL, 300);
    tip.SetTransparency(0);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_TEST_FIRST, "First thing");
    menu.AppendMenu(MF_STRING | MF_GRAYED, ID_TEST_SECOND, "Second thing");

    g_menu = MenuRun();
    g_menu.dialog = &dialog;
    g_menu.menu = menu.GetSafeHmenu();
    const POINT open = InDialog(40, 40);
    ASSERT_TRUE(MovePointer(open.x, open.y));
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, MenuStep);
    ::TrackPopupMenu(menu.GetSafeHmenu(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, open.x, open.y, 0,
                     dialog.m_hWnd, nullptr);
    ::KillTimer(nullptr, timer);

    ASSERT_TRUE(g_menu.shown) << "the menu tip showed while the menu was open (step " << g_menu.step << ")";
    EXPECT_FALSE(g_menu.screenshot.IsEmpty());
    // The disabled item's text: the third line of its string.
    EXPECT_STREQ("The second thing cannot open now", tip.GetDisplayedTool().sTooltip);
    EXPECT_EQ(ID_TEST_SECOND, tip.GetDisplayedTool().nIDTool);
    // Beside the menu, to its right (the item's width from the menu's left edge, within the
    // menu's border), at the item's height.
    EXPECT_LE(abs(g_menu.tipWindow.left - g_menu.menuWindow.right), 8);
    EXPECT_LT(g_menu.tipWindow.top, g_menu.menuWindow.bottom);
    EXPECT_GT(g_menu.tipWindow.bottom, g_menu.menuWindow.top);
    // The menu has closed: so has its tip.
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(tip.GetSafeHwnd()); }));
}

} // namespace

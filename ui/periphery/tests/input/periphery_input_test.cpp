// The periphery controls under the real pointer and keyboard of the display (xdotool): the
// dial turned by a drag notifies once per change, the owner-drawn menu opened from the
// keyboard and an item chosen by its underlined letter, the icon check box toggled by a
// click and by the space bar.
#include "ui/periphery/DialSliderCtrl.h"
#include "ui/periphery/IconCheckBox.h"
#include "ui/periphery/MenuXP.h"
#include "ui/tests/input/Xdo.h"
#include "ui/tests/ui_test_util.h"

#include "testsupport/Dump.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

const UINT kDialNote = WM_APP + 41;
const int kDial = 4201;
const int kCheck = 4202;

// A top-level window that takes the focus, keeps the dial's notes, opens its owner-drawn
// menu on Shift+F10 or the menu key, and answers the menu's letters.
class InputWindow : public CWnd
{
public:
    InputWindow()
    {
        CreateEx(WS_EX_TOPMOST,
                 AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_3DFACE)),
                 "periphery input", WS_POPUP | WS_VISIBLE, 200, 150, 360, 220, nullptr, nullptr);
        ::SetForegroundWindow(m_hWnd);
        ::SetFocus(m_hWnd);
    }
    ~InputWindow() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }
    std::vector<int> dialValues;
    CDialSliderCtrl* dial = nullptr;
    CMenuXP* menu = nullptr;
    UINT chosen = 0;
    bool menuShown = false;

protected:
    LRESULT OnDialNote(WPARAM, LPARAM)
    {
        dialValues.push_back(dial->GetPos());
        return 0;
    }
    void OnKeyDown(UINT key, UINT repeat, UINT flags)
    {
        if (menu != nullptr && (key == VK_APPS || (key == VK_F10 && ::GetKeyState(VK_SHIFT) < 0))) {
            ::SetTimer(m_hWnd, 7, 50, MenuTimer);
            chosen = (UINT)::TrackPopupMenu(menu->m_hMenu, TPM_RETURNCMD | TPM_LEFTALIGN, 220, 170, 0, m_hWnd, nullptr);
            ::KillTimer(m_hWnd, 7);
            return;
        }
        CWnd::OnKeyDown(key, repeat, flags);
    }
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags)
    {
        if (key == VK_F10 && ::GetKeyState(VK_SHIFT) < 0)
            return OnKeyDown(key, repeat, flags);
        CWnd::OnSysKeyDown(key, repeat, flags);
    }
    LRESULT OnMenuChar(WPARAM w, LPARAM l) { return CMenuXP::MenuChar(LOWORD(w), (HMENU)l); }
    // Inside the menu's own loop: once the menu shows, it is pictured and its letter typed.
    static void CALLBACK MenuTimer(HWND wnd, UINT, UINT_PTR, DWORD)
    {
        auto* self = static_cast<InputWindow*>(CWnd::FromHandlePermanent(wnd));
        HWND popup = ::FindWindow("#32768", nullptr);
        if (self == nullptr || self->menuShown || popup == nullptr || !::IsWindowVisible(popup))
            return;
        self->menuShown = true;
        ::RedrawWindow(popup, nullptr, nullptr, RDW_UPDATENOW);
        SaveScreenshot(popup, "periphery_menu");
        Xdo("key o");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(InputWindow, CWnd)
    ON_MESSAGE(kDialNote, &InputWindow::OnDialNote)
    ON_WM_KEYDOWN()
    ON_WM_SYSKEYDOWN()
    ON_MESSAGE(WM_MENUCHAR, &InputWindow::OnMenuChar)
END_MESSAGE_MAP()

TEST(PeripheryInput, DialDragNotifiesOncePerChange)
{
    InputWindow wnd;
    CDialSliderCtrl dial;
    ASSERT_TRUE(dial.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(20, 20, 220, 220), &wnd, kDial));
    wnd.dial = &dial;
    dial.SetRange(0, 100, TRUE);
    dial.SetPos(50);
    dial.SetNotify(&wnd, kDialNote);
    dial.UpdateWindow();
    dial.Layout(); // client 200 x 200: dial (20, 20, 160, 160), centre (100, 100)
    POINT origin = {0, 0};
    ::ClientToScreen(dial.m_hWnd, &origin);
    auto at = [&](int x, int y) { return Xdo("mousemove %ld %ld", origin.x + x, origin.y + y); };
    // Pressed at the top (50), dragged round to the left (16) and on down to the start.
    ASSERT_TRUE(at(100, 40));
    ASSERT_TRUE(Xdo("mousedown 1"));
    ASSERT_TRUE(PumpUntil([&] { return dial.IsDragging(); }, 3000)) << "the press starts a drag";
    const POINT path[] = {{80, 42}, {60, 50}, {45, 70}, {40, 100}, {40, 100}, {50, 130}, {60, 150}};
    for (const POINT& p : path) {
        ASSERT_TRUE(at(p.x, p.y));
        PumpPending();
    }
    ASSERT_TRUE(Xdo("mouseup 1"));
    ASSERT_TRUE(PumpUntil([&] { return !dial.IsDragging(); }, 3000));
    ASSERT_FALSE(wnd.dialValues.empty());
    for (size_t i = 1; i < wnd.dialValues.size(); ++i)
        EXPECT_NE(wnd.dialValues[i - 1], wnd.dialValues[i]) << "a note only for a change";
    EXPECT_EQ(dial.GetPos(), wnd.dialValues.back());
    EXPECT_EQ(dial.ValueFromPoint(60, 150), dial.GetPos()) << "the value under the release";
    EXPECT_LT(dial.GetPos(), 16);
    SaveScreenshot(wnd.m_hWnd, "periphery_dial_dragged");
}

TEST(PeripheryInput, MenuOpenedByKeyboardItemChosenByLetter)
{
    InputWindow wnd;
    CMenuXP menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const ACCEL open = {FVIRTKEY | FCONTROL, 'O', 301}, save = {FVIRTKEY | FCONTROL | FSHIFT, 'S', 302};
    menu.AppendTitle(new CMenuXPItem(0, "Sugarleaf"));
    menu.AppendItem(MF_STRING, new CMenuXPItem(300, "&New design", ::CopyIcon(::LoadIcon(nullptr, IDI_APPLICATION))));
    menu.AppendItem(MF_STRING, new CMenuXPItem(301, "&Open...", ::CopyIcon(::LoadIcon(nullptr, IDI_INFORMATION))),
                    &open);
    menu.AppendItem(MF_STRING, new CMenuXPItem(302, "Save &as...", nullptr), &save);
    menu.AppendSeparator();
    menu.AppendItem(MF_STRING | MF_CHECKED, new CMenuXPItem(303, "Show &grid"));
    menu.AppendItem(MF_STRING | MF_GRAYED,
                    new CMenuXPItem(304, "&Print", ::CopyIcon(::LoadIcon(nullptr, IDI_WARNING))));
    wnd.menu = &menu;
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == wnd.m_hWnd; }, 3000)) << "the window has the keys";
    ASSERT_TRUE(Xdo("key shift+F10"));
    ASSERT_TRUE(PumpUntil([&] { return wnd.chosen != 0; }, 10000)) << "shown: " << wnd.menuShown;
    EXPECT_TRUE(wnd.menuShown);
    EXPECT_EQ(301u, wnd.chosen) << "&Open by its letter";
}

TEST(PeripheryInput, IconCheckBoxToggledByClickAndSpace)
{
    InputWindow wnd;
    CIconCheckBox box;
    HWND button = ::CreateWindow("BUTTON", "Sprinkles", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, 20, 20, 160,
                                 30, wnd.m_hWnd, (HMENU)(INT_PTR)kCheck, nullptr, nullptr);
    ASSERT_TRUE(box.SubclassWindow(button));
    box.UpdateWindow();
    const POINT centre = CentreOf(box.m_hWnd);
    ASSERT_TRUE(Xdo("mousemove %ld %ld click 1", centre.x, centre.y));
    ASSERT_TRUE(PumpUntil([&] { return box.GetCheck() == 1; }, 3000)) << "a click checks it";
    EXPECT_TRUE(box.IsHovering()) << "under the pointer";
    // A little aside, so that the two clicks are not one double click.
    ASSERT_TRUE(Xdo("mousemove %ld %ld click 1", centre.x + 12, centre.y));
    ASSERT_TRUE(PumpUntil([&] { return box.GetCheck() == 0; }, 3000)) << "a second click unchecks it";
    box.SetFocus();
    ASSERT_TRUE(Xdo("key space"));
    ASSERT_TRUE(PumpUntil([&] { return box.GetCheck() == 1; }, 3000)) << "the space bar toggles it";
    ASSERT_TRUE(Xdo("mousemove %ld %ld", centre.x + 300, centre.y + 300));
    EXPECT_TRUE(PumpUntil([&] { return !box.IsHovering(); }, 3000)) << "the pointer left";
}

} // namespace

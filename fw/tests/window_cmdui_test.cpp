// Command enabling of popup menus: update entries decide, a command handler alone keeps an
// item usable, an item nobody handles is disabled only when asked, separators and sub menus
// are left alone; the window's WM_INITMENUPOPUP entry runs it as the menu opens.
#include "window_test_app.h"
#include <gtest/gtest.h>

namespace {

enum : UINT {
    kOff = 0x8201, // update entry: disabled
    kOnChecked,    // update entry: enabled and checked
    kCommandOnly,  // no update entry, a command handler
    kNobody,       // neither
    kRenamed,      // update entry: new text
    kInSubMenu,    // an item of the sub menu (the sub menu updates when it opens)
};

class MenuOwner : public CWnd
{
public:
    BOOL disableUnhandled = TRUE;
    std::vector<BOOL> systemFlags; // what WM_INITMENUPOPUP said of the system menu
    void OnUpdateOff(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdateOnChecked(CCmdUI* ui)
    {
        ui->Enable(TRUE);
        ui->SetCheck(1);
    }
    void OnUpdateRenamed(CCmdUI* ui) { ui->SetText("Renamed"); }
    void OnCommandOnly() {}
    void OnInitMenuPopup(CMenu* pPopup, UINT, BOOL bSysMenu)
    {
        systemFlags.push_back(bSysMenu);
        if (!bSysMenu)
            FwUpdateMenuPopup(this, pPopup, disableUnhandled);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuOwner, CWnd)
    ON_UPDATE_COMMAND_UI(kOff, &MenuOwner::OnUpdateOff)
    ON_UPDATE_COMMAND_UI(kOnChecked, &MenuOwner::OnUpdateOnChecked)
    ON_UPDATE_COMMAND_UI(kRenamed, &MenuOwner::OnUpdateRenamed)
    ON_UPDATE_COMMAND_UI(kInSubMenu, &MenuOwner::OnUpdateOff)
    ON_COMMAND(kCommandOnly, &MenuOwner::OnCommandOnly)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

CString MenuText(HMENU menu, UINT id)
{
    char text[64] = {};
    ::GetMenuString(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

} // namespace

TEST(WindowCmdUI, PopupItemsTakeTheStateTheirOwnerGives)
{
    struct Case
    {
        BOOL disableUnhandled;
        UINT id;
        UINT state; // MF_GRAYED / MF_CHECKED bits expected
    } cases[] = {
        {TRUE, kOff, MF_GRAYED},  {TRUE, kOnChecked, MF_CHECKED},
        {TRUE, kCommandOnly, 0},  {TRUE, kNobody, MF_GRAYED},
        {TRUE, kRenamed, 0},      {FALSE, kNobody, 0},
        {FALSE, kOff, MF_GRAYED}, {FALSE, kCommandOnly, 0},
    };
    for (const Case& c : cases) {
        MenuOwner owner;
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "menus", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
        owner.disableUnhandled = c.disableUnhandled;
        HMENU popup = ::CreatePopupMenu();
        HMENU sub = ::CreatePopupMenu();
        ::AppendMenu(sub, MF_STRING, kInSubMenu, "Inner");
        for (UINT id : {kOff, kOnChecked, kCommandOnly, kNobody, kRenamed})
            ::AppendMenu(popup, MF_STRING, id, "Item");
        ::AppendMenu(popup, MF_SEPARATOR, 0, nullptr);
        ::AppendMenu(popup, MF_POPUP, (UINT_PTR)sub, "Sub");
        // As the system sends it when the popup opens.
        owner.SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(0, FALSE));
        const UINT state = ::GetMenuState(popup, c.id, MF_BYCOMMAND);
        EXPECT_EQ(c.state, state & (MF_GRAYED | MF_CHECKED))
            << "item " << std::hex << c.id << " disable unhandled " << c.disableUnhandled;
        EXPECT_EQ(c.id == kRenamed ? CString("Renamed") : CString("Item"), MenuText(popup, c.id));
        // The sub menu was not opened: its item keeps its state; the separator stays one.
        EXPECT_EQ(0u, ::GetMenuState(sub, kInSubMenu, MF_BYCOMMAND) & MF_GRAYED);
        EXPECT_NE(0u, ::GetMenuState(popup, 5, MF_BYPOSITION) & MF_SEPARATOR);
        // Opening the sub menu updates its item.
        owner.SendMessage(WM_INITMENUPOPUP, (WPARAM)sub, MAKELPARAM(6, FALSE));
        EXPECT_NE(0u, ::GetMenuState(sub, kInSubMenu, MF_BYCOMMAND) & MF_GRAYED);
        ::DestroyMenu(popup);
        owner.DestroyWindow();
    }
}

TEST(WindowCmdUI, SystemMenuIsLeftAlone)
{
    MenuOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "menus", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenu(popup, MF_STRING, kOff, "Item");
    owner.SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(0, TRUE));
    EXPECT_EQ(0u, ::GetMenuState(popup, kOff, MF_BYCOMMAND) & MF_GRAYED);
    // Positive control: the same menu as an ordinary popup is updated.
    owner.SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(0, FALSE));
    EXPECT_NE(0u, ::GetMenuState(popup, kOff, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ((std::vector<BOOL>{TRUE, FALSE}), owner.systemFlags);
    ::DestroyMenu(popup);
    owner.DestroyWindow();
}

// The owner-drawn menus: key names of accelerator entries, the item sizes, the flags the
// append operations give, the item objects deleted once (submenus too), no GDI object left
// by the background bitmap, the drawn item by pixels and a real popup on the screen.
#include "ui/periphery/MenuXP.h"
#include "ui/tests/ui_test_util.h"

#include "testsupport/DibSurface.h"
#include "testsupport/Dump.h"
#include "testsupport/GdiCheck.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// Items that count their own ends.
int g_itemsGone = 0;
class CountedItem : public CMenuXPItem
{
public:
    using CMenuXPItem::CMenuXPItem;
    ~CountedItem() override { ++g_itemsGone; }
};

TEST(HotKeyName, KeyTexts)
{
    struct
    {
        BYTE flags;
        WORD key;
        const char* text;
    } cases[] = {
        {FVIRTKEY | FCONTROL, 'O', "Ctrl+O"},
        {FVIRTKEY | FCONTROL | FSHIFT, 'S', "Ctrl+Shift+S"},
        {FVIRTKEY | FALT, VK_F4, "Alt+F4"},
        {FVIRTKEY | FCONTROL | FSHIFT | FALT, VK_F5, "Ctrl+Shift+Alt+F5"},
        {FVIRTKEY, VK_F12, "F12"},
        {0, 'a', "a"},             // a character entry: the character itself
        {FCONTROL, 'q', "Ctrl+q"}, //
        {FCONTROL, 27, "Ctrl+"},   // the Esc character adds nothing
        {0, 27, ""},               //
    };
    for (const auto& c : cases) {
        const ACCEL accel = {c.flags, c.key, 1};
        CString text = "old";
        CHotKeyName(&accel).GetKeyText(text);
        EXPECT_STREQ(c.text, (LPCTSTR)text) << c.key;
    }
}

TEST(HotKeyName, VirtualKeyTexts)
{
    CString out;
    CHotKeyName::GetVirtualKeyText(out, VK_CONTROL, FALSE);
    CHotKeyName::GetVirtualKeyText(out, VK_F2, TRUE);
    // The names are the keyboard driver's (here Wine's), put in lower case but the first
    // letter; the keys of the extended block by their own names, not the keypad's.
    EXPECT_STREQ("Control+F2", (LPCTSTR)out);
    struct
    {
        UINT vk;
        const char* text;
    } cases[] = {{VK_NEXT, "Next"}, {VK_HOME, "Home"}, {VK_DELETE, "Delete"}, {VK_INSERT, "Insert"}};
    for (const auto& c : cases) {
        CString one;
        CHotKeyName::GetVirtualKeyText(one, c.vk, TRUE);
        EXPECT_STREQ(c.text, (LPCTSTR)one) << c.vk;
    }
}

class MenuXPTest : public ::testing::Test
{
protected:
    void SetUp() override { g_itemsGone = 0; }
    UINT State(CMenu& menu, int pos) { return ::GetMenuState(menu.m_hMenu, (UINT)pos, MF_BYPOSITION); }
    MEASUREITEMSTRUCT Measure(CMenuXP& menu, CMenuXPItem* item)
    {
        MEASUREITEMSTRUCT m = {ODT_MENU, 0, item->m_nID, 0, 0, (ULONG_PTR)item};
        menu.MeasureItem(&m);
        return m;
    }
};

TEST_F(MenuXPTest, AppendGivesTheFlagsAndTexts)
{
    CMenuXP menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const ACCEL open = {FVIRTKEY | FCONTROL, 'O', 10};
    auto* title = new CMenuXPItem(0, "Sugarleaf");
    auto* first = new CMenuXPItem(10, "&Open");
    auto* second = new CMenuXPItem(11, "Save");
    ASSERT_TRUE(menu.AppendTitle(title));
    ASSERT_TRUE(menu.AppendItem(MF_STRING, first, &open));
    ASSERT_TRUE(menu.AppendSeparator());
    menu.BarBreak();
    ASSERT_TRUE(menu.AppendItem(MF_STRING, second));
    EXPECT_STREQ("&Open\tCtrl+O", (LPCTSTR)first->m_strText);
    EXPECT_TRUE(title->m_bTitle);
    EXPECT_EQ((UINT)(MF_OWNERDRAW | MF_SEPARATOR), State(menu, 0) & (MF_OWNERDRAW | MF_SEPARATOR));
    EXPECT_EQ((UINT)MF_MENUBREAK, State(menu, 1) & (MF_MENUBREAK | MF_MENUBARBREAK)) << "after the title";
    EXPECT_EQ(0u, State(menu, 2) & (MF_MENUBREAK | MF_MENUBARBREAK)) << "used once";
    EXPECT_EQ((UINT)MF_MENUBARBREAK, State(menu, 3) & (MF_MENUBREAK | MF_MENUBARBREAK));
    EXPECT_EQ(10u, menu.GetMenuItemID(1));
    MENUITEMINFO mii = {sizeof(mii), MIIM_DATA};
    ::GetMenuItemInfo(menu.m_hMenu, 1, TRUE, &mii);
    EXPECT_EQ((ULONG_PTR)first, mii.dwItemData);
    ::GetMenuItemInfo(menu.m_hMenu, 2, TRUE, &mii);
    EXPECT_TRUE(CMenuXP::IsMyItem(mii.dwItemData)) << "the separator's own object";
    EXPECT_FALSE(CMenuXP::IsMyItem(0));
}

TEST_F(MenuXPTest, ItemSizes)
{
    CMenuXP menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const int check = ::GetSystemMetrics(SM_CXMENUCHECK) - 1;
    // The text's size in the bold menu font, as a person's screen shows it.
    NONCLIENTMETRICS ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    ncm.lfMenuFont.lfWeight = FW_BOLD;
    HFONT bold = ::CreateFontIndirect(&ncm.lfMenuFont);
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, bold);
    SIZE text = {};
    ::GetTextExtentPoint32(screen, "Icing sheet", 11, &text);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(bold);

    CMenuXPItem title(0, "Title", nullptr, 24);
    title.m_bTitle = TRUE;
    CMenuXPSeparator separator;
    CMenuXPItem small(1, "Icing sheet", nullptr, 16), big(2, "Icing sheet", nullptr, 40), square(3, "", nullptr, 16);
    square.m_bSquare = TRUE;
    struct
    {
        CMenuXPItem* item;
        int width, height;
    } cases[] = {
        {&title, 24 - check, 1}, // the band is drawn down the whole column
        {&separator, 0, ::GetSystemMetrics(SM_CYMENUCHECK) / 2},
        {&small, (int)text.cx + 4 + 32 + 8 - check, std::max((int)text.cy, 20)},
        {&big, (int)text.cx + 4 + 80 + 8 - check, 44},
        {&square, 20 - check, 20},
    };
    for (const auto& c : cases) {
        const MEASUREITEMSTRUCT m = Measure(menu, c.item);
        EXPECT_EQ((UINT)std::max(0, c.width), m.itemWidth) << c.item->m_nID;
        EXPECT_EQ((UINT)c.height, m.itemHeight) << c.item->m_nID;
    }
    MEASUREITEMSTRUCT foreign = {ODT_MENU, 0, 5, 0, 0, 0};
    foreign.itemWidth = 77;
    menu.MeasureItem(&foreign);
    EXPECT_EQ(77u, foreign.itemWidth) << "an item without the signature is left alone";
}

TEST_F(MenuXPTest, ItemsDeletedOnceWithTheirSubmenus)
{
    {
        CMenuXP menu, sub;
        ASSERT_TRUE(menu.CreatePopupMenu());
        ASSERT_TRUE(sub.CreatePopupMenu());
        sub.AppendItem(MF_STRING, new CountedItem(21, "Inner"));
        sub.AppendItem(MF_STRING, new CountedItem(22, "Inner 2"));
        menu.AppendItem(MF_STRING, new CountedItem(20, "Outer"));
        menu.AppendPopup(0, &sub, new CountedItem(0, "More"));
        MENUITEMINFO mii = {sizeof(mii), MIIM_FTYPE | MIIM_SUBMENU};
        ::GetMenuItemInfo(menu.m_hMenu, 1, TRUE, &mii);
        EXPECT_EQ(sub.m_hMenu, mii.hSubMenu);
        EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
        // The outer menu goes first (declared last), deleting the submenu's items too;
        // the submenu then finds them cleared.
    }
    EXPECT_EQ(4, g_itemsGone);
}

TEST_F(MenuXPTest, BackgroundBitmapAndMenusLeaveNoHandle)
{
    std::unique_ptr<LiveGdiCheck> check;
    for (int i = 0; i < 11; ++i) {
        if (i == 1)
            check = std::make_unique<LiveGdiCheck>();
        CMenuXP menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendItem(MF_STRING, new CMenuXPItem(1, "One", ::CopyIcon(::LoadIcon(nullptr, IDI_APPLICATION))));
        menu.SetBackgroundBitmap(SolidBitmap(40, 40, RGB(250, 250, 200)));
        menu.SetBackgroundBitmap(nullptr);
        menu.SetBackgroundBitmap(SolidBitmap(40, 40, RGB(200, 250, 250)));
        DibSurface s(100, 30, RGB(255, 255, 255));
        DRAWITEMSTRUCT dis = {ODT_MENU, 0, 1, ODA_DRAWENTIRE, 0, (HWND)menu.m_hMenu, s.Hdc(), {0, 0, 100, 24}, 0};
        MENUITEMINFO mii = {sizeof(mii), MIIM_DATA};
        ::GetMenuItemInfo(menu.m_hMenu, 0, TRUE, &mii);
        dis.itemData = mii.dwItemData;
        menu.DrawItem(&dis);
        EXPECT_EQ(RGB(200, 250, 250), s.At(30, 2)) << "the background bitmap under the item";
    }
    EXPECT_TRUE(check->Unchanged());
}

TEST_F(MenuXPTest, DrawnItemsByPixels)
{
    CMenuXP menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    auto* plain = new CMenuXPItem(1, "Plain\tCtrl+P");
    auto* title = new CMenuXPItem(0, "Cakes");
    auto* blank = new CMenuXPItem(2, "");
    menu.AppendTitle(title);
    menu.AppendItem(MF_STRING, blank);
    menu.AppendItem(MF_STRING, plain);
    auto draw = [&](CMenuXPItem* item, UINT state, DibSurface& s) {
        s.Clear(RGB(1, 2, 3));
        DRAWITEMSTRUCT dis = {ODT_MENU,       0,
                              item->m_nID,    ODA_DRAWENTIRE,
                              state,          (HWND)menu.m_hMenu,
                              s.Hdc(),        {0, 0, s.Width(), s.Height()},
                              (ULONG_PTR)item};
        menu.DrawItem(&dis);
    };
    DibSurface s(120, 20);
    draw(plain, 0, s);
    EXPECT_EQ(::GetSysColor(COLOR_MENU), s.At(119, 0));
    EXPECT_EQ(0, CountOf(s, RGB(1, 2, 3))) << "the whole item painted";
    draw(plain, ODS_SELECTED, s);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), s.At(119, 0));
    EXPECT_GT(CountOf(s, ::GetSysColor(COLOR_HIGHLIGHTTEXT)), 5);
    // The accelerator text at the right: ink in the last third of the text area.
    draw(plain, 0, s);
    const CRect ink = s.Ink(::GetSysColor(COLOR_MENU));
    EXPECT_GT(ink.right, 80) << "Ctrl+P at the right";
    EXPECT_LT(ink.left, 30) << "Plain at the left";
    // A checked item without an icon: a tick of black in the square at the left.
    draw(blank, ODS_CHECKED, s);
    const CRect tick = BoundsOf(s, RGB(0, 0, 0));
    // The box is the item's left square less 2 a side: (2, 2)-(18, 18); the tick's 8 x 8 cell
    // at (6, 6); three strokes (0, 3)-(2, 5)-(7, 0) a pixel apart, last points not drawn.
    EXPECT_EQ(CRect(6, 7, 13, 14), tick) << tick.left << "," << tick.top << "," << tick.right << "," << tick.bottom;
    EXPECT_EQ(3 * 7, CountOf(s, RGB(0, 0, 0))) << "three strokes of seven pixels";
    // The title band: its colour and white text.
    DibSurface band(24, 100);
    draw(title, 0, band);
    EXPECT_EQ(RGB(0, 0, 192), band.At(1, 1));
    EXPECT_GT(CountOf(band, RGB(255, 255, 255)), 10);
}

} // namespace

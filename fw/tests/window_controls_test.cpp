// Control wrappers that keep state in the control: tree, image list, tooltip, and
// owner-drawn menu items reaching their menu object.
#include "window_test_app.h"
#include "window_test_res.h"
#include <gtest/gtest.h>

namespace {

TEST(WindowControls, TreeItemsTextDataAndChildren)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_VISIBLE | TVS_HASBUTTONS, CRect(0, 0, 200, 200), &host, 7));
    HTREEITEM root = tree.InsertItem("C:\\");
    HTREEITEM a = tree.InsertItem("cakes", root);
    HTREEITEM b = tree.InsertItem("photos", root);
    tree.SetItemData(b, 42);
    tree.SetItemText(a, "designs");
    struct Case
    {
        HTREEITEM item;
        const char* text;
        HTREEITEM parent;
        DWORD_PTR data;
    } cases[] = {
        {root, "C:\\", nullptr, 0},
        {a, "designs", root, 0},
        {b, "photos", root, 42},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.text, tree.GetItemText(c.item));
        EXPECT_EQ(c.parent, tree.GetParentItem(c.item));
        EXPECT_EQ(c.data, tree.GetItemData(c.item));
    }
    EXPECT_EQ(root, tree.GetRootItem());
    EXPECT_EQ(a, tree.GetChildItem(root));
    EXPECT_EQ(b, tree.GetNextSiblingItem(a));
    EXPECT_EQ(3u, tree.GetCount());
    EXPECT_TRUE(tree.DeleteItem(a));
    EXPECT_EQ(b, tree.GetChildItem(root));
    host.DestroyWindow();
    EXPECT_EQ(nullptr, tree.m_hWnd) << "the child's object let go of its window";
}

TEST(WindowControls, ImageListOwnsItsHandle)
{
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2));
    CBitmap bmp;
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 32, 16));
    ::ReleaseDC(nullptr, screen.Detach());
    EXPECT_EQ(0, list.Add(&bmp, RGB(255, 0, 255)));
    EXPECT_EQ(2, list.GetImageCount()) << "a 32-pixel strip is two images";
    HIMAGELIST h = list.Detach();
    EXPECT_EQ(nullptr, list.GetSafeHandle());
    EXPECT_TRUE(ImageList_Destroy(h));
}

TEST(WindowControls, TooltipToolsAndTexts)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, nullptr, "child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, host.m_hWnd, (HMENU)5));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&host));
    EXPECT_TRUE(tip.AddTool(&child, "Bake"));
    EXPECT_EQ(1, tip.GetToolCount());
    CString text;
    tip.GetText(text, &child);
    EXPECT_STREQ("Bake", text);
    tip.UpdateTipText("Ice", &child);
    tip.GetText(text, &child);
    EXPECT_STREQ("Ice", text);
    tip.DelTool(&child);
    EXPECT_EQ(0, tip.GetToolCount());
    tip.DestroyWindow();
    host.DestroyWindow();
}

class OwnerMenu : public CMenu
{
public:
    int drawn = 0, measured = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }
    void MeasureItem(LPMEASUREITEMSTRUCT p) override
    {
        ++measured;
        p->itemWidth = 80;
        p->itemHeight = 20;
    }
};

TEST(WindowControls, OwnerDrawnMenuItemsReachTheirMenu)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "menus", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    OwnerMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_OWNERDRAW, 4321, (LPCTSTR)(UINT_PTR)7);
    EXPECT_EQ(&menu, CMenu::FromHandle(menu.m_hMenu));

    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 4321, 0, 0, 7};
    EXPECT_EQ(TRUE, wnd.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis));
    EXPECT_EQ(1, menu.measured);
    EXPECT_EQ(80u, mis.itemWidth);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = 4321;
    dis.hwndItem = (HWND)menu.m_hMenu;
    EXPECT_EQ(TRUE, wnd.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis));
    EXPECT_EQ(1, menu.drawn);

    HMENU h = menu.m_hMenu;
    menu.DestroyMenu();
    EXPECT_FALSE(::IsMenu(h));
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(h));
    wnd.DestroyWindow();
}

class TestBar : public CControlBar
{
public:
    TestBar() { SetBorders(0, 3, 0, 3); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
        size.cy = 17 + m_cyTopBorder + m_cyBottomBorder;
        return size;
    }
    void DoPaint(CDC* pDC) override
    {
        CRect rc;
        GetClientRect(&rc);
        ::FillRect(pDC->GetSafeHdc(), &rc, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    }
};

TEST(WindowControls, ControlBarLayoutAndPaint)
{
    TestBar bar;
    struct Case
    {
        BOOL stretch, horz;
        LONG cx, cy;
    } cases[] = {
        {TRUE, TRUE, 32767, 23},
        {FALSE, TRUE, 0, 23},
        {TRUE, FALSE, 0, 23},
    };
    for (const Case& c : cases) {
        CSize s = bar.CalcFixedLayout(c.stretch, c.horz);
        EXPECT_EQ(c.cx, s.cx);
        EXPECT_EQ(c.cy, s.cy);
    }
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
    bar.SetBarStyle(CBRS_TOP);
    ASSERT_TRUE(
        bar.CreateEx(0, cls, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 60, 23, host.m_hWnd, (HMENU)101));
    bar.UpdateWindow();
    HDC hdc = ::GetDC(bar.m_hWnd);
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(hdc, 30, 10));
    ::ReleaseDC(bar.m_hWnd, hdc);
    EXPECT_EQ((DWORD)CBRS_TOP, bar.GetBarStyle());
    host.DestroyWindow();
}

} // namespace

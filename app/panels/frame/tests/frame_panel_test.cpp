// The Frame menu and its frame panel inside a real frame and view, shown by the panel
// switcher as the home panel's Frame button does, and used as a person uses them: the styles
// chosen in the thumbnail list, the bars moved, Remove clicked; what each stores in the
// current frame record, what the panel offers with and without a frame, and when the design
// is redrawn and marked modified.
#include "app/home/PanelManager.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/frame/FrameMenuDlg.h"
#include "app/view/FrostwellView.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "res/app_res.h"
#include "res/background_res.h"
#include "res/frame_res.h"
#include "res/view_res.h"
#include "testsupport/DesignWindow.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "ui/XScrollBar.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts the modified marks the panel sets.
class CountingFrameDoc : public CFrostwellDoc
{
    DECLARE_DYNCREATE(CountingFrameDoc)
public:
    void SetModifiedFlag(BOOL modified = TRUE) override
    {
        marked += modified ? 1 : 0;
        CFrostwellDoc::SetModifiedFlag(modified);
    }
    int marked = 0;
};
IMPLEMENT_DYNCREATE(CountingFrameDoc, CFrostwellDoc)

// Counts the updates the document asks of its view (each redraw of the design).
class CountingFrameView : public CFrostwellView
{
    DECLARE_DYNCREATE(CountingFrameView)
public:
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override
    {
        ++updates;
        CFrostwellView::OnUpdate(sender, hint, hintObject);
    }
    int updates = 0;
};
IMPLEMENT_DYNCREATE(CountingFrameView, CFrostwellView)

// A frame image fill that says when it is deleted.
class WatchedLayer : public CImageLayer
{
public:
    explicit WatchedLayer(bool* deleted) : m_deleted(deleted) {}
    ~WatchedLayer() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

class FramePanel : public DesignWindowTest
{
protected:
    CRuntimeClass* DocClass() const override { return RUNTIME_CLASS(CountingFrameDoc); }
    CRuntimeClass* ViewClass() const override { return RUNTIME_CLASS(CountingFrameView); }
    void SetUp() override
    {
        DesignWindowTest::SetUp();
        cdoc = static_cast<CountingFrameDoc*>(doc);
        cview = static_cast<CountingFrameView*>(view);
        ShowMenu();
    }
    void ShowMenu()
    {
        GetGlobalObjectC()->ShowFrameMenu();
        menu = GetGlobalObjectC()->GetFrameMenu();
        ASSERT_NE(nullptr, menu);
        panel = &menu->m_frameDlg;
        ASSERT_TRUE(PumpPending(10000));
    }
    HWND Panel() const { return panel->GetSafeHwnd(); }
    HWND Host() const { return menu->GetSafeHwnd(); }
    CLayerArray* Layers() { return doc->GetLayers(); }
    bool Shown(int id) const { return ::IsWindowVisible(::GetDlgItem(Panel(), id)) != FALSE; }
    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(Panel(), id)) != FALSE; }
    bool HostEnabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(Host(), id)) != FALSE; }
    int LinkCount() const { return (int)::SendDlgItemMessage(Panel(), IDC_QUICK_LINKS, LB_GETCOUNT, 0, 0); }
    // Selects a style's item in the list as a click does (selected and focused).
    void ChooseStyle(int style)
    {
        HWND list = ::GetDlgItem(Panel(), IDC_FRAME_LIST);
        LVITEM item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = 0;
        ::SendMessage(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessage(list, LVM_SETITEMSTATE, (WPARAM)(style - 1), (LPARAM)&item);
        ASSERT_TRUE(PumpUntil([&] { return Layers()->GetFrameStyle() == style; })) << "style " << style;
        ASSERT_TRUE(PumpPending());
    }
    // A move of a bar: its thumb to the position, then what the bar sends its panel.
    void MoveBar(int id, int position)
    {
        auto* bar = dynamic_cast<CXScrollBar*>(CWnd::FromHandlePermanent(::GetDlgItem(Panel(), id)));
        ASSERT_NE(nullptr, bar);
        bar->SetScrollPos(position, TRUE);
        SendScroll(Panel(), id, SB_THUMBTRACK, position);
    }
    int BarPosition(int id) const
    {
        auto* bar = dynamic_cast<CXScrollBar*>(CWnd::FromHandlePermanent(::GetDlgItem(Panel(), id)));
        return bar != nullptr ? bar->GetScrollPos() : -1;
    }
    bool Applied(int marks)
    {
        return PumpUntil([&] { return cdoc->marked >= marks; }, 2000);
    }
    void CloseAndShowAgain()
    {
        Press(Host(), kHostClose);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(Host()); }));
        ShowMenu();
    }

    CountingFrameDoc* cdoc = NULL;
    CountingFrameView* cview = NULL;
    CFrameMenuDlg* menu = NULL;
    CFrameDlg* panel = NULL;
};

TEST_F(FramePanel, MenuDocksTopRightWithTheFourteenStyles)
{
    EXPECT_TRUE(::IsWindowVisible(Host()));
    EXPECT_EQ(0, menu->GetCurrentPanelIndex());
    EXPECT_TRUE(::IsWindowVisible(Panel()));
    EXPECT_STREQ(GetLangText("61"), ItemText(Host(), kHostTitle));
    CRect own, client;
    menu->GetWindowRect(&own);
    view->ScreenToClient(&own);
    view->GetClientRect(&client);
    EXPECT_EQ(client.right - 5, own.right);
    EXPECT_EQ(5, own.top);

    HWND list = ::GetDlgItem(Panel(), IDC_FRAME_LIST);
    ASSERT_EQ(CFrameDlg::kStyleCount, (int)::SendMessage(list, LVM_GETITEMCOUNT, 0, 0));
    for (int style = 1; style <= CFrameDlg::kStyleCount; ++style) {
        char text[16] = {};
        LVITEM item = {};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ::SendMessage(list, LVM_GETITEMTEXT, (WPARAM)(style - 1), (LPARAM)&item);
        CString want;
        want.Format("%d", style);
        EXPECT_STREQ(want, text);
    }
    // No thumbnail lies over another.
    std::vector<CRect> icons;
    for (int i = 0; i < CFrameDlg::kStyleCount; ++i) {
        CRect r;
        r.left = LVIR_ICON;
        ASSERT_TRUE(::SendMessage(list, LVM_GETITEMRECT, (WPARAM)i, (LPARAM)&r)) << "item " << i;
        for (size_t j = 0; j < icons.size(); ++j) {
            CRect both;
            EXPECT_FALSE(both.IntersectRect(&r, &icons[j])) << "styles " << j + 1 << " and " << i + 1 << " overlap";
        }
        icons.push_back(r);
    }
    // The thumbnails: style 1 is bitmap 660, style k from 2 on is 672 + k, each 50 x 50.
    const struct
    {
        int style;
        UINT bitmap;
    } bitmaps[] = {{0, 0}, {1, 660}, {2, 674}, {9, 681}, {14, 686}, {15, 0}};
    for (const auto& b : bitmaps) {
        EXPECT_EQ(b.bitmap, CFrameDlg::StyleBitmap(b.style)) << "style " << b.style;
        if (b.bitmap == 0)
            continue;
        HBITMAP h = (HBITMAP)::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(b.bitmap), IMAGE_BITMAP, 0, 0, 0);
        ASSERT_NE(nullptr, h) << "bitmap " << b.bitmap;
        BITMAP info = {};
        ::GetObject(h, sizeof(info), &info);
        EXPECT_EQ(50, info.bmWidth);
        EXPECT_EQ(50, info.bmHeight);
        ::DeleteObject(h);
    }
}

TEST_F(FramePanel, WhatARecordWithAndWithoutAFrameOffers)
{
    // Without a frame: nothing but the styles.
    ASSERT_EQ(0, Layers()->GetFrameStyle());
    EXPECT_FALSE(Enabled(IDC_FRAME_REMOVE));
    EXPECT_FALSE(Enabled(IDC_FRAME_SIZE));
    EXPECT_FALSE(Enabled(IDC_FRAME_INTENSITY));
    EXPECT_FALSE(Shown(IDC_FRAME_SIZE_VALUE));
    EXPECT_FALSE(Shown(IDC_FRAME_INTENSITY_VALUE));
    EXPECT_EQ(1, LinkCount());
    EXPECT_EQ(0, (int)::SendDlgItemMessage(Panel(), IDC_QUICK_LINKS, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(IDD_FRAME_PANEL, (int)::SendDlgItemMessage(Panel(), IDC_QUICK_LINKS, LB_GETITEMDATA, 0, 0));
    EXPECT_FALSE(HostEnabled(kHostNext));
    EXPECT_FALSE(HostEnabled(kHostBack));

    // A style each: styles 1 and 9 have no intensity; the fills are then offered.
    const struct
    {
        int style;
        bool intensity;
    } cases[] = {{3, true}, {9, false}, {14, true}, {1, false}, {2, true}};
    for (const auto& c : cases) {
        ChooseStyle(c.style);
        EXPECT_TRUE(Enabled(IDC_FRAME_REMOVE)) << c.style;
        EXPECT_TRUE(Enabled(IDC_FRAME_SIZE)) << c.style;
        EXPECT_TRUE(Shown(IDC_FRAME_SIZE_VALUE)) << c.style;
        EXPECT_EQ(c.intensity, Enabled(IDC_FRAME_INTENSITY)) << c.style;
        EXPECT_EQ(c.intensity, Shown(IDC_FRAME_INTENSITY_VALUE)) << c.style;
        ASSERT_EQ(3, LinkCount()) << c.style;
        const int ids[] = {IDD_FRAME_PANEL, IDD_FRAME_FILL, IDD_FRAME_IMAGE_FILL};
        const char* keys[] = {"54", "55", "56"};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(ids[i], (int)::SendDlgItemMessage(Panel(), IDC_QUICK_LINKS, LB_GETITEMDATA, i, 0));
            char text[64] = {};
            ::SendDlgItemMessage(Panel(), IDC_QUICK_LINKS, LB_GETTEXT, i, (LPARAM)text);
            EXPECT_STREQ(GetLangText(keys[i]), text);
        }
        EXPECT_TRUE(HostEnabled(kHostNext)) << c.style;
        EXPECT_FALSE(HostEnabled(kHostBack)) << c.style;
    }
    // Style 9's intensity comes back with the next activation.
    ChooseStyle(9);
    EXPECT_FALSE(Enabled(IDC_FRAME_INTENSITY));
    CloseAndShowAgain();
    EXPECT_TRUE(Enabled(IDC_FRAME_INTENSITY));
    EXPECT_TRUE(Shown(IDC_FRAME_INTENSITY_VALUE));
}

TEST_F(FramePanel, BarsStoreAtOnceAndShowTheirValues)
{
    ChooseStyle(4);
    const struct
    {
        int id, position;
        float stored;
        const char* shown;
        int label;
    } cases[] = {
        {IDC_FRAME_SIZE, 250, 2.5f, "250%", IDC_FRAME_SIZE_VALUE},
        {IDC_FRAME_SIZE, 0, 0.0f, "0%", IDC_FRAME_SIZE_VALUE},
        {IDC_FRAME_SIZE, 37, 0.37f, "37%", IDC_FRAME_SIZE_VALUE},
        {IDC_FRAME_INTENSITY, 200, 2.0f, "100%", IDC_FRAME_INTENSITY_VALUE},
        {IDC_FRAME_INTENSITY, 1, 0.01f, "0%", IDC_FRAME_INTENSITY_VALUE},
        {IDC_FRAME_INTENSITY, 151, 1.51f, "75%", IDC_FRAME_INTENSITY_VALUE},
    };
    for (const auto& c : cases) {
        MoveBar(c.id, c.position);
        const float stored = c.id == IDC_FRAME_SIZE ? Layers()->GetFrameSize() : Layers()->GetFrameIntensity();
        EXPECT_FLOAT_EQ(c.stored, stored) << "position " << c.position << " stored at once";
        EXPECT_STREQ(c.shown, ItemText(Panel(), c.label)) << "position " << c.position;
    }
    // Stored values come back rounded to the nearest position, not truncated: 0.53f and
    // 1.18f times 100 in float are just under 53 and 118.
    Layers()->SetFrameSize(0.53f);
    Layers()->SetFrameIntensity(1.18f);
    CloseAndShowAgain();
    EXPECT_EQ(53, BarPosition(IDC_FRAME_SIZE));
    EXPECT_STREQ("53%", ItemText(Panel(), IDC_FRAME_SIZE_VALUE));
    EXPECT_EQ(118, BarPosition(IDC_FRAME_INTENSITY));
    EXPECT_STREQ("59%", ItemText(Panel(), IDC_FRAME_INTENSITY_VALUE)) << "half of 118";
}

TEST_F(FramePanel, ABurstOfMovesRedrawsEachTimeAndMarksOnceAfterTheLast)
{
    ChooseStyle(5);
    ASSERT_TRUE(PumpPending());
    const int marked = cdoc->marked;
    const int updates = cview->updates;
    DWORD last = 0;
    for (int i = 1; i <= 10; ++i) {
        MoveBar(IDC_FRAME_SIZE, 100 + 5 * i);
        last = ::GetTickCount();
        EXPECT_EQ(updates + i, cview->updates) << "move " << i << " redraws the design";
    }
    EXPECT_EQ(marked, cdoc->marked) << "nothing marked while the bar moves";
    EXPECT_FLOAT_EQ(1.5f, Layers()->GetFrameSize());
    ASSERT_TRUE(Applied(marked + 1)) << "the change is applied after the last move";
    EXPECT_GE(::GetTickCount() - last, 90u) << "not before 100 ms have passed";
    // Applied once: the timer is gone (a second mark would need another move).
    EXPECT_FALSE(::KillTimer(Panel(), kPanelApplyTimer));
    ASSERT_TRUE(PumpPending());
    EXPECT_EQ(marked + 1, cdoc->marked);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(FramePanel, RemoveResetsTheFrameAndDeletesItsImageFill)
{
    ChooseStyle(7);
    CLayerArray* layers = Layers();
    layers->SetFrameSize(1.7f);
    layers->SetFrameOutlineWidth(0.9f);
    layers->SetFrameColour1(RGB(1, 2, 3));
    layers->SetFrameColour2(RGB(4, 5, 6));
    layers->SetFrameColour3(RGB(7, 8, 9));
    layers->SetFrameColour4(RGB(10, 11, 12));
    layers->SetFrameColour5(RGB(13, 14, 15));
    layers->SetFrameOutlineColour(RGB(200, 0, 0));
    layers->SetFrameIntensity(1.8f);
    layers->SetFrameOpacity(0.3f);
    layers->SetFrameSpareFloat(4.0f);
    layers->SetFrameSpareInt(9);
    layers->SetFrameImageScale(0.6f);
    layers->SetFrameImageRotation(45);
    layers->SetFrameImageOffset(-0.4f);
    layers->SetFrameImageTransparency(30);
    layers->SetFrameFillStyle(3);
    layers->SetFrameFillAngle(120);
    bool deleted = false;
    layers->SetFrameFillImage(new WatchedLayer(&deleted));
    const int marked = cdoc->marked;

    Press(Panel(), IDC_FRAME_REMOVE);
    ASSERT_TRUE(PumpUntil([&] { return layers->GetFrameStyle() == 0; }));
    EXPECT_FLOAT_EQ(1.0f, layers->GetFrameSize());
    EXPECT_FLOAT_EQ(0.5f, layers->GetFrameOutlineWidth());
    const COLORREF colours[] = {layers->GetFrameColour1(), layers->GetFrameColour2(), layers->GetFrameColour3(),
                                layers->GetFrameColour4(), layers->GetFrameColour5()};
    for (COLORREF c : colours)
        EXPECT_EQ(RGB(255, 255, 255), c);
    EXPECT_EQ(RGB(0, 0, 0), layers->GetFrameOutlineColour());
    EXPECT_FLOAT_EQ(1.0f, layers->GetFrameIntensity());
    EXPECT_FLOAT_EQ(1.0f, layers->GetFrameOpacity());
    EXPECT_FLOAT_EQ(1.0f, layers->GetAt(layers->GetCurrent()).frameSpareFloat);
    EXPECT_EQ(0, layers->GetAt(layers->GetCurrent()).frameSpareInt);
    EXPECT_TRUE(deleted) << "the image fill is deleted";
    EXPECT_FALSE(layers->HasFrameFillImage());
    EXPECT_FLOAT_EQ(0.2f, layers->GetFrameImageScale()) << "0.2, not a new record's 0.1";
    EXPECT_EQ(0, layers->GetFrameImageRotation());
    EXPECT_FLOAT_EQ(0.0f, layers->GetFrameImageOffset());
    EXPECT_EQ(100, layers->GetFrameImageTransparency());
    EXPECT_EQ(3, layers->GetFrameFillStyle()) << "the fill style stays";
    EXPECT_EQ(120, layers->GetFrameFillAngle()) << "the fill angle stays";
    EXPECT_EQ(marked + 1, cdoc->marked);
    // And the panel offers nothing but the styles again.
    EXPECT_FALSE(Enabled(IDC_FRAME_REMOVE));
    EXPECT_EQ(1, LinkCount());
}

TEST_F(FramePanel, HostButtonsAndTheSecondShow)
{
    ChooseStyle(3);
    // The 0x8002 message with a window that is no host button does nothing.
    menu->SendMessage(WM_HOST_BUTTON, 0, (LPARAM)Panel());
    EXPECT_TRUE(::IsWindowVisible(Host()));
    menu->SendMessage(WM_HOST_BUTTON, 0, (LPARAM)::GetDlgItem(Host(), kHostClose));
    EXPECT_FALSE(::IsWindowVisible(Host())) << "Close's window runs Finish";

    HWND before = Panel();
    ShowMenu();
    EXPECT_EQ(menu, GetGlobalObjectC()->GetFrameMenu()) << "the same host";
    EXPECT_EQ(before, Panel()) << "the same panel window";
    EXPECT_TRUE(Enabled(IDC_FRAME_REMOVE)) << "activated from the record";

    // The Background menu shows in its place; the frame host is hidden, and destroyed with
    // the others.
    GetGlobalObjectC()->ShowBackgroundMenu();
    EXPECT_FALSE(::IsWindowVisible(Host()));
    GetGlobalObjectC()->DestroyPanels(TRUE);
    EXPECT_EQ(nullptr, GetGlobalObjectC()->GetFrameMenu()) << "kept only the Background menu";
    EXPECT_NE(nullptr, GetGlobalObjectC()->GetBackgroundMenu());
    ShowMenu();
    EXPECT_NE(before, Panel()) << "a new host with a new panel";
}

TEST_F(FramePanel, HomePanelsFrameButtonShowsTheMenuAndUpdatesTheViews)
{
    // The home panel is the dialog in the view's home host that holds the Frame button.
    HWND home = nullptr;
    for (HWND child = ::GetWindow(view->GetHomeHost()->GetSafeHwnd(), GW_CHILD); child != nullptr && home == nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
        if (::GetDlgItem(child, IDC_HOME_FRAME) != nullptr)
            home = child;
    ASSERT_NE(nullptr, home);
    EXPECT_STREQ(GetLangText("7"), ItemText(home, IDC_HOME_FRAME));

    GetGlobalObjectC()->ShowBackgroundMenu();
    ASSERT_FALSE(::IsWindowVisible(Host()));
    const int updates = cview->updates;
    Press(home, IDC_HOME_FRAME);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(Host()) != FALSE; }));
    EXPECT_GT(cview->updates, updates) << "every view updated after the menu shows";
    EXPECT_FALSE(::IsWindowVisible(GetGlobalObjectC()->GetBackgroundMenu()->GetSafeHwnd()));
    EXPECT_EQ(menu, GetGlobalObjectC()->GetFrameMenu()) << "the host made before";
}

// Refuses the creation of dialog windows on this thread while it lives.
class RefuseDialogs
{
public:
    RefuseDialogs() { s_hook = ::SetWindowsHookEx(WH_CBT, Hook, nullptr, ::GetCurrentThreadId()); }
    ~RefuseDialogs() { ::UnhookWindowsHookEx(s_hook); }
    bool Active() const { return s_hook != nullptr; }
    RefuseDialogs(const RefuseDialogs&) = delete;
    RefuseDialogs& operator=(const RefuseDialogs&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const CBT_CREATEWND* create = reinterpret_cast<CBT_CREATEWND*>(lParam);
            if (create->lpcs->lpszClass == MAKEINTATOM(32770))
                return 1;
        }
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static HHOOK s_hook;
};
HHOOK RefuseDialogs::s_hook = nullptr;

TEST_F(FramePanel, MenuWhoseWindowCannotBeMadeIsNotShown)
{
    GetGlobalObjectC()->DestroyPanels(FALSE);
    ASSERT_EQ(nullptr, GetGlobalObjectC()->GetFrameMenu());
    {
        RefuseDialogs refuse;
        ASSERT_TRUE(refuse.Active());
        GetGlobalObjectC()->ShowFrameMenu();
        EXPECT_EQ(nullptr, GetGlobalObjectC()->GetFrameMenu()) << "nothing half-made is kept or shown";
    }
    // Positive control: once windows can be made, the same show makes and shows the menu.
    ShowMenu();
    EXPECT_TRUE(::IsWindowVisible(Host()));
}

} // namespace

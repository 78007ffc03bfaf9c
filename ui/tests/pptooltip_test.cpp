// The tooltip window on the virtual display, driven by messages: its tools, its place near
// every edge of the screen and the window where it says, the owner's notification, links,
// deactivation, the fading steps, tool-bar buttons, the bubble's picture, and a relay that is
// safe in any state.
#include "ui/HelpTipManager.h"
#include "ui/PPToolTip.h"
#include "fw/fwtoolbar.h"
#include "base/OpenUrl.h"
#include "testsupport/GdiCheck.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "tip_test_util.h"
#include "ui_test_res.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using tip_test::OwnerWindow;

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct Screen
{
    int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    int right = left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int bottom = top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
};

class Tooltip : public ::testing::Test
{
protected:
    Tooltip() { EnsureTestApp(); }
    // A tooltip of the owner in the help bubbles' look.
    void CreateHelpStyled()
    {
        ASSERT_TRUE(tip.Create(&owner.wnd, FALSE));
        CHelpTipManager::StyleTooltip(&tip);
    }
    bool WaitState(CPPToolTip::State state, DWORD ms = 5000)
    {
        return PumpUntil([&] { return tip.GetState() == state; }, ms);
    }
    RECT WindowRect() const
    {
        RECT r = {0, 0, 0, 0};
        ::GetWindowRect(tip.GetSafeHwnd(), &r);
        return r;
    }

    OwnerWindow owner;
    CPPToolTip tip;
};

TEST_F(Tooltip, ToolAddedTwiceWithAnEqualRectangleKeepsOneRecord)
{
    ASSERT_TRUE(tip.Create(&owner.wnd));
    CWnd button;
    button.Attach(owner.AddButton(1, 10, 10));
    const RECT half = {0, 0, 40, 24};

    tip.AddTool(&button, "first");
    tip.AddTool(&button, "later");
    std::vector<PPToolInfo> tools = tip.GetTools(button.m_hWnd);
    ASSERT_EQ(1u, tools.size());
    EXPECT_STREQ("later", tools[0].sTooltip);

    tip.AddTool(&button, "left half", &half, 7);
    tip.AddTool(&button, "left half again", &half, 8);
    tools = tip.GetTools(button.m_hWnd);
    ASSERT_EQ(2u, tools.size());
    EXPECT_STREQ("left half again", tools[1].sTooltip);
    EXPECT_EQ(8u, tools[1].nIDTool);

    // A new text replaces the record; a new rectangle adds a moved copy beside it.
    tip.SetToolText("renamed", &button, 8);
    const RECT other = {40, 0, 80, 24};
    tip.SetToolRectById(&button, 8, &other);
    tools = tip.GetTools(button.m_hWnd);
    ASSERT_EQ(3u, tools.size());
    EXPECT_STREQ("renamed", tools[1].sTooltip);
    EXPECT_TRUE(SameRect(other, tools[2].rectBounds));

    tip.RemoveToolById(&button, 8); // the first record with that id: the one at `half`
    tools = tip.GetTools(button.m_hWnd);
    ASSERT_EQ(2u, tools.size());
    tip.RemoveTool(&button);
    EXPECT_EQ(0u, tip.GetTools(button.m_hWnd).size());
    button.Detach();
}

TEST_F(Tooltip, RelayIsSafeInAnyState)
{
    MSG move = {owner.wnd.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, {0, 0}};
    MSG key = {owner.wnd.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    // Before the window exists, with no message, and after the window has gone.
    EXPECT_FALSE(tip.RelayEvent(&move));
    EXPECT_FALSE(tip.RelayEvent(nullptr));
    ASSERT_TRUE(tip.Create(&owner.wnd));
    EXPECT_FALSE(tip.RelayEvent(nullptr));
    EXPECT_FALSE(tip.RelayEvent(&move));
    EXPECT_FALSE(tip.RelayEvent(&key));
    MSG stale = move;
    stale.hwnd = (HWND)(UINT_PTR)0x7FFF0; // no such window
    EXPECT_FALSE(tip.RelayEvent(&stale));
    tip.DestroyWindow();
    EXPECT_FALSE(tip.RelayEvent(&move));
    EXPECT_FALSE(tip.RelayEvent(&key));
    EXPECT_EQ(CPPToolTip::STATE_HIDDEN, tip.GetState());
}

TEST_F(Tooltip, PositionNearEveryEdgeOfTheScreen)
{
    ASSERT_TRUE(tip.Create(&owner.wnd));
    CHelpTipManager::StyleTooltip(&tip); // tail 25 long, 25 from the body's corner
    const Screen s;
    ASSERT_GT(s.right - s.left, 600);
    struct Case
    {
        const char* what;
        UINT direction;
        POINT pt;
        int width; // of the body; 60 high
        UINT used;
        POINT anchor;
    };
    const int midX = (s.left + s.right) / 2, midY = (s.top + s.bottom) / 2;
    const Case cases[] = {
        {"above, room everywhere", 16, {midX, midY}, 100, 16, {25, 85}},
        {"above, near the right edge", 16, {s.right - 30, midY}, 100, 17, {75, 85}},
        {"above, neither end fits", 16, {midX, midY}, s.right - s.left - 20, 18, {(s.right - s.left - 20) / 2, 85}},
        {"above, near the top", 16, {midX, s.top + 30}, 100, 0, {25, 0}},
        {"above, top right corner", 16, {s.right - 30, s.top + 30}, 100, 1, {75, 0}},
        {"below, near the bottom", 0, {midX, s.bottom - 30}, 100, 16, {25, 85}},
        {"right, near the right edge", 32, {s.right - 50, midY}, 100, 48, {125, 25}},
        {"left, near the left edge", 48, {s.left + 50, midY}, 100, 32, {0, 25}},
        {"below centred, at the left edge", 2, {s.left + 10, midY}, 100, 0, {10, 0}},
    };
    for (const Case& c : cases) {
        POINT anchor = {-1, -1};
        RECT window;
        EXPECT_EQ(c.used, tip.GetTooltipPosition(c.direction, c.pt, c.width, 60, anchor, window)) << c.what;
        EXPECT_EQ(c.anchor.x, anchor.x) << c.what;
        EXPECT_EQ(c.anchor.y, anchor.y) << c.what;
        // The window starts on the screen.
        EXPECT_GE(c.pt.x - anchor.x, s.left) << c.what;
        EXPECT_LE(c.pt.x - anchor.x + window.right, s.right) << c.what;
    }
}

TEST_F(Tooltip, WindowIsOnTheScreenWhereThePositionSays)
{
    CreateHelpStyled();
    const Screen s;
    struct Case
    {
        const char* what;
        POINT pt;
        // The window's corners from the point: the tail's tip is the point, the shadow (5)
        // widens the window to the right and down.
        int left, right, top, bottom; // -1: not checked
    };
    const int midX = (s.left + s.right) / 2, midY = (s.top + s.bottom) / 2;
    const Case cases[] = {
        {"above", {midX, midY}, midX - 25, -1, -1, midY + 5},
        {"above, right edge", {s.right - 30, midY}, -1, s.right - 30 + 25 + 5, -1, midY + 5},
        {"below, top edge", {midX, s.top + 20}, midX - 25, -1, s.top + 20, -1},
    };
    for (const Case& c : cases) {
        POINT pt = c.pt;
        tip.ShowHelpTooltip(&pt, "<b>Where</b> the point is");
        ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN)) << c.what;
        EXPECT_TRUE(::IsWindowVisible(tip.GetSafeHwnd())) << c.what;
        const RECT r = WindowRect();
        if (c.left >= 0) {
            EXPECT_EQ(c.left, r.left) << c.what;
        }
        if (c.right >= 0) {
            EXPECT_EQ(c.right, r.right) << c.what;
        }
        if (c.top >= 0) {
            EXPECT_EQ(c.top, r.top) << c.what;
        }
        if (c.bottom >= 0) {
            EXPECT_EQ(c.bottom, r.bottom) << c.what;
        }
        EXPECT_GE(r.left, s.left) << c.what;
        EXPECT_LE(r.right, s.right) << c.what;
        tip.Pop();
        EXPECT_FALSE(::IsWindowVisible(tip.GetSafeHwnd())) << c.what;
    }
}

// The owner of the notification test: replaces or empties the text it is told of.
struct NotifyLog
{
    const char* replacement = nullptr;
    int count = 0;
    UINT code = 0;
    HWND from = nullptr;
    POINT pt = {0, 0};
};
NotifyLog g_notify;

LRESULT CALLBACK NotifiedOwnerProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto* notify = reinterpret_cast<PPTooltipNotify*>(lParam);
        ++g_notify.count;
        g_notify.code = notify->hdr.code;
        g_notify.from = notify->hdr.hwndFrom;
        g_notify.pt = *notify->pt;
        if (g_notify.replacement)
            notify->ti->sTooltip = g_notify.replacement;
        return 0;
    }
    return ::DefWindowProc(wnd, message, wParam, lParam);
}

TEST_F(Tooltip, OwnerNotificationCanChangeOrEmptyTheText)
{
    WNDCLASS wc = {};
    wc.lpfnWndProc = NotifiedOwnerProc;
    wc.hInstance = ::GetModuleHandle(nullptr);
    wc.lpszClassName = "SlTipNotifiedOwner";
    ::RegisterClass(&wc);
    HWND notified =
        ::CreateWindow("SlTipNotifiedOwner", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, notified);
    ASSERT_TRUE(tip.Create(CWnd::FromHandle(notified)));
    tip.SetNotify(TRUE);
    POINT pt = {400, 400};

    struct Case
    {
        const char* replacement;
        bool shown;
        const char* text;
    };
    const Case cases[] = {{nullptr, true, "original"}, {"<i>changed</i>", true, "<i>changed</i>"}, {"", false, ""}};
    for (const Case& c : cases) {
        g_notify = NotifyLog();
        g_notify.replacement = c.replacement;
        tip.ShowHelpTooltip(&pt, "original");
        PumpPending();
        EXPECT_EQ(1, g_notify.count) << c.text;
        EXPECT_EQ(UDM_TOOLTIP_DISPLAY, g_notify.code);
        EXPECT_EQ(tip.GetSafeHwnd(), g_notify.from);
        EXPECT_EQ(400, g_notify.pt.x);
        EXPECT_EQ(c.shown, ::IsWindowVisible(tip.GetSafeHwnd()) != FALSE) << c.text;
        EXPECT_EQ(c.shown ? CPPToolTip::STATE_SHOWN : CPPToolTip::STATE_HIDDEN, tip.GetState()) << c.text;
        if (c.shown) {
            EXPECT_STREQ(c.text, tip.GetDisplayedTool().sTooltip);
        }
        tip.Pop();
    }
    // Without notification nothing is sent.
    tip.SetNotify(FALSE);
    g_notify = NotifyLog();
    tip.ShowHelpTooltip(&pt, "quiet");
    EXPECT_EQ(0, g_notify.count);
    tip.DestroyWindow();
    ::DestroyWindow(notified);
}

std::vector<std::string> g_opened;
INT_PTR RecordUrl(LPCTSTR url, int)
{
    g_opened.push_back(url);
    return 42;
}

TEST_F(Tooltip, ClickOnALinkOpensItAndHidesTheTooltip)
{
    ASSERT_TRUE(tip.Create(&owner.wnd));
    const OpenUrlHandler previous = SetOpenUrlHandler(RecordUrl);
    g_opened.clear();
    POINT pt = {300, 300};
    tip.ShowHelpTooltip(&pt, "Visit <a href=\"https://cakes.example/tops\">our cake tops</a> today");
    ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN));
    ASSERT_TRUE(PumpUntil([&] { return !tip.GetDrawer().GetHotAreas().empty(); })) << "the text was drawn";

    // The pointer on the link, the button pressed there: the message reaches the tooltip's
    // own pre-translation through the message loop.
    const RECT link = tip.GetDrawer().GetHotAreas()[0].rect;
    POINT at = {(link.left + link.right) / 2, (link.top + link.bottom) / 2};
    POINT screen = at;
    ::ClientToScreen(tip.GetSafeHwnd(), &screen);
    ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
    ASSERT_TRUE(PumpUntil([&] { return ::WindowFromPoint(screen) == tip.GetSafeHwnd(); }));
    // Over the link: the link's cursor, and the link is the hovered one.
    ::SendMessage(tip.GetSafeHwnd(), WM_SETCURSOR, (WPARAM)tip.GetSafeHwnd(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(tip.GetDrawer().GetHyperlinkCursor(), ::GetCursor());
    EXPECT_EQ(0, tip.GetDrawer().GetHoveredLink());
    ::PostMessage(tip.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(tip.GetSafeHwnd()); }));
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ("https://cakes.example/tops", g_opened[0]);
    EXPECT_EQ(CPPToolTip::STATE_HIDDEN, tip.GetState());

    // A click away from the tooltip hides it too, and opens nothing.
    tip.ShowHelpTooltip(&pt, "Visit <a href=\"https://cakes.example/tops\">our cake tops</a> today");
    ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN));
    ASSERT_TRUE(::SetCursorPos(5, 5));
    MSG away = {owner.wnd.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1), 0, {5, 5}};
    tip.RelayEvent(&away);
    EXPECT_FALSE(::IsWindowVisible(tip.GetSafeHwnd()));
    EXPECT_EQ(1u, g_opened.size());
    SetOpenUrlHandler(previous);
}

TEST_F(Tooltip, DeactivatingTheApplicationHidesAtOnce)
{
    CreateHelpStyled();
    POINT pt = {300, 300};
    tip.ShowHelpTooltip(&pt, "Stay or go");
    ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN));
    ::SendMessage(tip.GetSafeHwnd(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(::IsWindowVisible(tip.GetSafeHwnd())) << "activation keeps it";
    ::SendMessage(tip.GetSafeHwnd(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(::IsWindowVisible(tip.GetSafeHwnd())) << "hidden without any fading";
    EXPECT_EQ(CPPToolTip::STATE_HIDDEN, tip.GetState());
}

TEST_F(Tooltip, HelpBubbleFadesInAndOutInStepsAndLeavesNoHandles)
{
    CreateHelpStyled();
    std::vector<int> steps;
    tip.SetStepHook([&](int, int transparency) { steps.push_back(transparency); });
    POINT pt = {300, 300};
    std::unique_ptr<LiveGdiCheck> gdi;
    for (int round = 0; round < 4; ++round) {
        // What the first showing keeps (the last balloon's pictures, the texture canvas of
        // the background effect) is made again by every showing, never added to.
        if (round == 1)
            gdi.reset(new LiveGdiCheck);
        steps.clear();
        tip.ShowHelpTooltip(&pt, "<b>Fading</b> in and out");
        ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN));
        EXPECT_EQ((std::vector<int>{100, 80, 60, 40, 20, 8}), steps);
        steps.clear();
        tip.HideTooltip();
        ASSERT_TRUE(WaitState(CPPToolTip::STATE_HIDDEN));
        EXPECT_EQ((std::vector<int>{8, 28, 48, 68, 88, 100}), steps);
        EXPECT_FALSE(::IsWindowVisible(tip.GetSafeHwnd()));
    }
    EXPECT_TRUE(gdi->Unchanged());
}

TEST_F(Tooltip, DefaultsAndValuesItIgnores)
{
    ASSERT_TRUE(tip.Create(&owner.wnd));
    EXPECT_EQ(16u, tip.GetDirection());
    EXPECT_EQ(0u, tip.GetBehaviour());
    struct Delay
    {
        DWORD kind;
        UINT ms;
    };
    for (const Delay& d : {Delay{CPPToolTip::DELAY_AUTOPOP, 5000}, Delay{CPPToolTip::DELAY_INITIAL, 1500},
                           Delay{CPPToolTip::DELAY_FADEIN, 0}, Delay{CPPToolTip::DELAY_FADEOUT, 0},
                           Delay{CPPToolTip::DELAY_ANIMATION, 100}, Delay{1, 0}, Delay{7, 0}})
        EXPECT_EQ(d.ms, tip.GetDelayTime(d.kind)) << d.kind;
    tip.SetDelayTime(7, 999);
    EXPECT_EQ(0u, tip.GetDelayTime(7));
    const int balloon[] = {16, 16, 12, 12, 12, 16, 16, 0, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(balloon[i], tip.GetSize(i)) << i;
    tip.SetSize(9, 5);
    tip.SetSize(-1, 5);
    EXPECT_EQ(0, tip.GetSize(9));
    tip.SetDefaultSizes(FALSE);
    const int plain[] = {0, 0, 3, 1, 0, 0, 0, 0, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(plain[i], tip.GetSize(i)) << i;

    // Transparency above 100 is ignored: the bubble still shows, opaque.
    tip.SetTransparency(101);
    POINT pt = {300, 300};
    tip.ShowHelpTooltip(&pt, "Opaque");
    ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN));
    EXPECT_EQ(0, tip.GetCurrentTransparency());
}

TEST_F(Tooltip, DebugTableDescribesTheWindowUnderThePointer)
{
    ASSERT_TRUE(tip.Create(&owner.wnd));
    HWND button = owner.AddButton(1, 10, 10);
    ::SetWindowText(button, "<b>A title of more than twenty-five characters");
    tip.AddTool(CWnd::FromHandle(button), "tool");
    POINT pt = {20, 20};
    ::ClientToScreen(owner.wnd.m_hWnd, &pt);
    const CString table = tip.GetDebugTable(pt);
    EXPECT_NE(-1, table.Find("<td width=130 bgcolor=window>?b>A title of more th ...</td>")) << (LPCTSTR)table;
    EXPECT_NE(-1, table.Find(">Has Tooltip</td><td width=130 bgcolor=window>Yes</td>")) << (LPCTSTR)table;
    EXPECT_NE(-1, table.Find(">Class name</td><td width=130 bgcolor=window>Button</td>")) << (LPCTSTR)table;
    // Drawn, the table is a table: wider than one cell's text.
    SIZE size = {0, 0};
    CClientDC dc(&owner.wnd);
    tip.GetDrawer().PrepareOutput(dc.GetSafeHdc(), table, &size);
    EXPECT_GT(size.cx, 200);
}

TEST_F(Tooltip, ToolBarButtonsAreToolsWithTheirResourceTexts)
{
    ASSERT_TRUE(tip.Create(&owner.wnd));
    tip.SetDelayTime(CPPToolTip::DELAY_INITIAL, 0);
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&owner.wnd));
    const UINT ids[] = {ID_TEST_FIRST, ID_TEST_SECOND};
    ASSERT_TRUE(bar.SetButtons(ids, 2));
    ASSERT_EQ(2, bar.GetCount());
    ASSERT_TRUE(bar.GetBarStyle() & CBRS_TOOLTIPS);
    tip.AddToolBar(&bar);
    tip.AddToolBar(&bar);
    EXPECT_FALSE(bar.GetBarStyle() & CBRS_TOOLTIPS) << "the bar's own tooltips are off";

    for (int index : {1, 0}) {
        RECT item;
        bar.GetItemRect(index, &item);
        ASSERT_FALSE(::IsRectEmpty(&item));
        POINT client = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        POINT screen = client;
        ::ClientToScreen(bar.m_hWnd, &screen);
        ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
        MSG move = {bar.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y), 0, screen};
        tip.RelayEvent(&move);
        ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN)) << "button " << index;
        EXPECT_EQ(bar.m_hWnd, tip.GetDisplayedWindow());
        EXPECT_EQ(ids[index], tip.GetDisplayedTool().nIDTool);
        EXPECT_STREQ(index ? "Second button" : "First button", tip.GetDisplayedTool().sTooltip);
        EXPECT_TRUE(SameRect(item, tip.GetDisplayedTool().rectBounds));
        tip.Pop();
    }
    bar.DestroyWindow();
}

TEST_F(Tooltip, HelpBubbleShowsImageZeroOfItsListCentredAtTheTop)
{
    CreateHelpStyled();
    // The tests' own picture in place of the program's, opaque and without fading.
    tip.SetImageList(IDB_TEST_BUBBLE, 48, 48, 1, RGB(192, 192, 192));
    tip.SetTransparency(0);
    tip.SetDelayTime(CPPToolTip::DELAY_FADEIN, 0);
    POINT pt = {500, 600};
    tip.ShowHelpTooltip(&pt, CHelpTipManager::FormatBubble("Title", "The body text of the bubble", "Footer"));
    ASSERT_TRUE(WaitState(CPPToolTip::STATE_SHOWN));
    ASSERT_TRUE(PumpPending());
    EXPECT_FALSE(tip_test::Screenshot("tooltip_bubble_picture").IsEmpty());
    const RECT r = WindowRect();
    // The pink of the picture: its columns and rows on the screen.
    int left = r.right, right = r.left, top = r.bottom, bottom = r.top;
    HDC screen = ::GetDC(nullptr);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (::GetPixel(screen, x, y) == RGB(255, 105, 180)) {
                left = x < left ? x : left;
                right = x > right ? x : right;
                top = y < top ? y : top;
                bottom = y > bottom ? y : bottom;
            }
    ::ReleaseDC(nullptr, screen);
    ASSERT_LE(left, right) << "no picture in the bubble";
    EXPECT_EQ(40, right - left + 1) << "the disc's width";
    const int bodyCentre = (r.left + r.right - 5) / 2; // the shadow widens the window by 5
    EXPECT_LE(abs((left + right) / 2 - bodyCentre), 2) << "centred";
    EXPECT_LT(top - r.top, 30) << "at the top";
}

} // namespace

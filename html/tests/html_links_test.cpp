// Hyperlinks of the drawer: hot areas of a wrapped link, hover notifications to a window,
// message links, address links through the open-URL seam, hover styling and the cursor.
#include "base/OpenUrl.h"
#include "html_drawer_fixture.h"
#include <string>

using html_test::TestFont;

namespace {

const UINT kRepaint = WM_USER + 0x65;
const UINT kLink = WM_APP + 7;

// A message-only window that records the drawer's notifications.
class Recorder
{
public:
    Recorder()
    {
        WNDCLASS wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandle(nullptr);
        wc.lpszClassName = "SlHtmlLinkRecorder";
        ::RegisterClass(&wc); // fails harmlessly when already registered
        m_hwnd = ::CreateWindowEx(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtr(m_hwnd, GWLP_USERDATA, (LONG_PTR)this);
    }
    ~Recorder() { ::DestroyWindow(m_hwnd); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    HWND Hwnd() const { return m_hwnd; }

    std::vector<int> repaints;
    std::vector<std::string> links;
    std::vector<LPARAM> lParams;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        try {
            Recorder* self = reinterpret_cast<Recorder*>(::GetWindowLongPtr(hwnd, GWLP_USERDATA));
            if (self && message == kRepaint) {
                self->repaints.push_back((int)(INT_PTR)wParam);
                self->lParams.push_back(lParam);
                return 0;
            }
            if (self && message == kLink) {
                self->links.push_back(reinterpret_cast<LPCTSTR>(wParam));
                self->lParams.push_back(lParam);
                return 0;
            }
        } catch (...) {}
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    }
    HWND m_hwnd = nullptr;
};

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class HtmlLinks : public html_test::HtmlDrawerTest
{
protected:
    Recorder recorder;
};

TEST_F(HtmlLinks, WrappedLinkHasTwoAreasWithOneNumber)
{
    ASSERT_NE(nullptr, recorder.Hwnd());
    TestFont font(canvas.Hdc(), 16, "arial");
    const int h = font.Metrics().tmHeight;
    drawer.SetMaxWidth(font.Width("go click"));
    Render("go <a href=\"http://example.com/a\">click here</a> now");
    const std::vector<CPPHtmlDrawer::HotArea> areas = drawer.GetHotAreas();
    ASSERT_EQ(2u, areas.size());
    for (const auto& area : areas) {
        EXPECT_EQ(0, area.number);
        EXPECT_EQ(PPHtmlStyle::LINK_ADDRESS, area.kind);
        EXPECT_STREQ("http://example.com/a", area.text);
    }
    EXPECT_EQ(font.Width("go "), areas[0].rect.left);
    EXPECT_EQ(font.Width("go click"), areas[0].rect.right);
    EXPECT_EQ(0, areas[1].rect.left);
    EXPECT_EQ(h, areas[1].rect.top);

    drawer.SetCallbackRepaint(recorder.Hwnd(), kRepaint, 77);
    const POINT first = Centre(areas[0].rect), second = Centre(areas[1].rect), outside = {2, h / 2};
    EXPECT_TRUE(drawer.OnSetCursor(first));
    EXPECT_TRUE(drawer.OnSetCursor(second));   // the same link: no news
    EXPECT_FALSE(drawer.OnSetCursor(outside)); // left both
    EXPECT_FALSE(drawer.OnSetCursor(outside));
    EXPECT_TRUE(drawer.OnSetCursor(second));
    EXPECT_EQ((std::vector<int>{0, -2, 0}), recorder.repaints);
    EXPECT_EQ((std::vector<LPARAM>{77, 77, 77}), recorder.lParams);
    EXPECT_EQ(0, drawer.GetHoveredLink());
}

TEST_F(HtmlLinks, AreasIncludeTheirEdges)
{
    TestFont font(canvas.Hdc(), 16, "arial");
    Render("<a href=x>ab</a>");
    ASSERT_EQ(1u, drawer.GetHotAreas().size());
    const RECT r = drawer.GetHotAreas()[0].rect;
    EXPECT_EQ(font.Width("ab"), r.right);
    EXPECT_EQ(font.Metrics().tmHeight, r.bottom);
    EXPECT_TRUE(drawer.OnSetCursor(POINT{r.right, r.bottom}));
    EXPECT_TRUE(drawer.OnSetCursor(POINT{r.left, r.top}));
    EXPECT_FALSE(drawer.OnSetCursor(POINT{r.right + 1, r.bottom}));
    EXPECT_FALSE(drawer.OnSetCursor(POINT{r.right, r.bottom + 1}));
}

TEST_F(HtmlLinks, MessageLinkSendsItsText)
{
    drawer.SetCallbackHyperlink(recorder.Hwnd(), kLink, 5);
    Render("<a msg=\"bake it\">x</a> <a msg=\"\">y</a> <a>z</a>");
    const std::vector<CPPHtmlDrawer::HotArea> areas = drawer.GetHotAreas();
    ASSERT_EQ(3u, areas.size());
    EXPECT_EQ(0, areas[0].number);
    EXPECT_EQ(1, areas[1].number);
    EXPECT_EQ(2, areas[2].number);
    for (const auto& area : areas)
        EXPECT_EQ(PPHtmlStyle::LINK_MESSAGE, area.kind);
    // Empty texts set no cursor and do nothing on a click.
    EXPECT_FALSE(drawer.OnSetCursor(Centre(areas[1].rect)));
    drawer.JumpToHyperlink(Centre(areas[1].rect));
    drawer.JumpToHyperlink(Centre(areas[2].rect));
    EXPECT_TRUE(recorder.links.empty());
    EXPECT_TRUE(drawer.OnSetCursor(Centre(areas[0].rect)));
    EXPECT_EQ(drawer.GetHyperlinkCursor(), ::GetCursor());
    drawer.JumpToHyperlink(Centre(areas[0].rect));
    EXPECT_EQ((std::vector<std::string>{"bake it"}), recorder.links);
    EXPECT_EQ((std::vector<LPARAM>{5}), recorder.lParams);

    // Without a window nothing is sent.
    drawer.SetCallbackHyperlink(nullptr, kLink, 5);
    drawer.JumpToHyperlink(Centre(areas[0].rect));
    drawer.SetCallbackHyperlink(recorder.Hwnd(), 0, 5);
    drawer.JumpToHyperlink(Centre(areas[0].rect));
    EXPECT_EQ(1u, recorder.links.size());
}

std::vector<std::pair<std::string, int>> g_opened;

INT_PTR RecordOpen(LPCTSTR url, int showCommand)
{
    g_opened.emplace_back(url, showCommand);
    return 42;
}

TEST_F(HtmlLinks, AddressLinkGoesThroughTheOpenUrlSeam)
{
    g_opened.clear();
    const OpenUrlHandler previous = SetOpenUrlHandler(RecordOpen);
    Render("<a href=\"http://example.com/cakes and more\">cakes</a> <a msg=m>m</a>");
    ASSERT_EQ(2u, drawer.GetHotAreas().size());
    drawer.JumpToHyperlink(Centre(drawer.GetHotAreas()[1].rect)); // a message link opens nothing
    EXPECT_TRUE(g_opened.empty());
    drawer.JumpToHyperlink(Centre(drawer.GetHotAreas()[0].rect));
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ("http://example.com/cakes and more", g_opened[0].first);
    EXPECT_EQ(SW_SHOW, g_opened[0].second);
    EXPECT_EQ(42, drawer.GotoURL("http://x.example", SW_SHOWMAXIMIZED));
    EXPECT_EQ(SW_SHOWMAXIMIZED, g_opened[1].second);
    EXPECT_NE(nullptr, drawer.GetHyperlinkCursor());
    SetOpenUrlHandler(previous);
}

TEST_F(HtmlLinks, HoveredLinkIsDrawnWithTheHoverRule)
{
    drawer.SetCssStyles(CString(kSheet) + " a:link {color:blue; text-decoration:none}"
                                          " a:hover {color:red; text-decoration:underline}");
    drawer.SetCallbackRepaint(recorder.Hwnd(), kRepaint, 0);
    const char* text = "<a href=x>one</a> <a href=y>two</a>";
    const SIZE size = Render(text);
    auto expect = [&](bool oneHovered, bool twoHovered, const char* what) {
        reference.Clear(RGB(255, 255, 255));
        int x = 0;
        {
            TestFont font(reference.Hdc(), 16, "arial", FW_NORMAL, FALSE, oneHovered);
            x = font.Draw(x, 0, "one", oneHovered ? RGB(255, 0, 0) : RGB(0, 0, 255));
        }
        TestFont plain(reference.Hdc(), 16, "arial");
        x = plain.Draw(x, 0, " ");
        TestFont two(reference.Hdc(), 16, "arial", FW_NORMAL, FALSE, twoHovered);
        two.Draw(x, 0, "two", twoHovered ? RGB(255, 0, 0) : RGB(0, 0, 255));
        ExpectSameAsReference(what);
    };
    expect(false, false, "nothing hovered");
    const RECT rect = {0, 0, size.cx, size.cy};
    drawer.OnSetCursor(Centre(drawer.GetHotAreas()[1].rect));
    canvas.Clear(RGB(255, 255, 255));
    drawer.DrawPreparedOutput(canvas.Hdc(), &rect);
    expect(false, true, "\"two\" hovered");
    drawer.OnSetCursor(POINT{-5, -5});
    canvas.Clear(RGB(255, 255, 255));
    drawer.DrawPreparedOutput(canvas.Hdc(), &rect);
    expect(false, false, "left again");
    EXPECT_EQ((std::vector<int>{1, -2}), recorder.repaints);
}

TEST_F(HtmlLinks, CursorAndRepaintTargetSettings)
{
    const HCURSOR initial = drawer.GetHyperlinkCursor();
    EXPECT_NE(nullptr, initial); // the help viewer's, else the system hand
    HCURSOR own = (HCURSOR)::CopyIcon((HICON)::LoadCursor(nullptr, IDC_CROSS));
    drawer.SetHyperlinkCursor(own);
    EXPECT_EQ(own, drawer.GetHyperlinkCursor());
    drawer.SetHyperlinkCursor(nullptr);
    EXPECT_NE(nullptr, drawer.GetHyperlinkCursor());
    EXPECT_NE(own, drawer.GetHyperlinkCursor());

    Render("<a href=x>ab</a>");
    const POINT on = Centre(drawer.GetHotAreas()[0].rect);
    // A null window or a zero message: nothing is sent, the hover still changes.
    drawer.SetCallbackRepaint(nullptr, kRepaint, 1);
    drawer.OnSetCursor(on);
    drawer.SetCallbackRepaint(recorder.Hwnd(), 0, 1);
    drawer.OnSetCursor(POINT{-1, -1});
    EXPECT_TRUE(recorder.repaints.empty());
    drawer.SetCallbackRepaint(recorder.Hwnd(), kRepaint, 1);
    drawer.OnSetCursor(on);
    EXPECT_EQ((std::vector<int>{0}), recorder.repaints);
}

} // namespace

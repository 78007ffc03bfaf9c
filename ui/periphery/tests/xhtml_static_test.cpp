// The HTML static control drawn in a real window and read back pixel by pixel: entities and
// unknown tags as text, tags in any case, rules, word wrap, status sections, links, commands.
#include "ui/periphery/XHTMLStatic.h"

#include "base/OpenUrl.h"
#include "testsupport/DibSurface.h"
#include "testsupport/Pump.h"
#include "ui/XScrollBar.h"
#include "ui/tests/ui_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const int kWidth = 240, kHeight = 60;

// The picture the control must match: its text in one TextOut at (0, 0), in the window's
// colours and the font the control draws plain (or bold) text in.
class PlainText : public CStatic
{
public:
    LOGFONT font = {};
    bool bold = false;

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        CRect r;
        GetClientRect(&r);
        dc.FillSolidRect(&r, ::GetSysColor(COLOR_WINDOW));
        LOGFONT lf = font;
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        CFont f;
        f.CreateFontIndirect(&lf);
        CSelectGuard guard(&dc, &f);
        ::SetTextColor(dc.m_hDC, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkColor(dc.m_hDC, ::GetSysColor(COLOR_WINDOW));
        ::SetBkMode(dc.m_hDC, OPAQUE);
        CString text;
        GetWindowText(text);
        ::TextOut(dc.m_hDC, 0, 0, text, text.GetLength());
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PlainText, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// A parent that keeps the messages the commands of links send it.
class CommandParent : public TestParent
{
public:
    using TestParent::TestParent;
    struct Got
    {
        UINT message;
        WPARAM wParam;
        std::string text; // lParam read as text; "(0)" for 0
    };
    std::vector<Got> got;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_APP + 10 && message < WM_APP + 20) {
            got.push_back({message, wParam, lParam ? std::string((LPCTSTR)lParam) : std::string("(0)")});
            return 0;
        }
        return TestParent::WindowProc(message, wParam, lParam);
    }
};

class HtmlStaticTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LOGFONT lf = {};
        lf.lfHeight = -16;
        lstrcpy(lf.lfFaceName, "Arial");
        font.CreateFontIndirect(&lf);
        font.GetLogFont(&logFont);
        CWnd* p = CWnd::FromHandle(parent.Hwnd());
        ASSERT_TRUE(html.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), p, 100));
        html.SetFont(&font, FALSE);
        ASSERT_TRUE(plain.Create("", WS_CHILD | WS_VISIBLE, CRect(0, kHeight + 10, kWidth, 2 * kHeight + 10), p, 101));
        plain.font = logFont;
    }

    // The control as the screen shows it, after it painted `text`.
    void Show(const char* text, int width = kWidth)
    {
        html.SetWindowPos(nullptr, 0, 0, width, kHeight, SWP_NOZORDER | SWP_NOMOVE);
        html.SetWindowText(text);
        PumpPending();
    }
    static void Capture(CWnd& w, DibSurface& into)
    {
        w.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = ::GetDC(w.m_hWnd);
        ::BitBlt(into.Hdc(), 0, 0, into.Width(), into.Height(), dc, 0, 0, SRCCOPY);
        ::ReleaseDC(w.m_hWnd, dc);
    }
    // Whether the control shows exactly what one TextOut of `expected` shows.
    bool SameAsPlain(const char* text, const char* expected, bool bold)
    {
        Show(text);
        plain.bold = bold;
        plain.SetWindowText(expected);
        DibSurface a(kWidth, kHeight), b(kWidth, kHeight);
        Capture(html, a);
        Capture(plain, b);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (a.Rgb(x, y) != b.Rgb(x, y))
                    return false;
        return true;
    }
    // Pixels that are not the background in the rows [top, bottom) of the control.
    int InkInRows(int top, int bottom, int width = kWidth)
    {
        DibSurface s(width, kHeight);
        Capture(html, s);
        const DWORD back = s.Rgb(width - 1, kHeight - 1);
        int n = 0;
        for (int y = top; y < bottom && y < kHeight; ++y)
            for (int x = 0; x < width; ++x)
                n += s.Rgb(x, y) != back;
        return n;
    }
    // The smallest rectangle holding every pixel that is not the background.
    CRect InkBounds()
    {
        DibSurface s(kWidth, kHeight);
        Capture(html, s);
        const DWORD back = s.Rgb(kWidth - 1, kHeight - 1);
        CRect r(kWidth, kHeight, -1, -1);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (s.Rgb(x, y) != back) {
                    r.left = std::min(r.left, (LONG)x);
                    r.top = std::min(r.top, (LONG)y);
                    r.right = std::max(r.right, (LONG)x + 1);
                    r.bottom = std::max(r.bottom, (LONG)y + 1);
                }
        return r;
    }
    int LineHeight()
    {
        HDC dc = ::GetDC(html.m_hWnd);
        CSelectGuard guard(dc, font.GetSafeHandle());
        SIZE s = {};
        ::GetTextExtentPoint32(dc, "abcdefgABCDEFG", 14, &s);
        ::ReleaseDC(html.m_hWnd, dc);
        return s.cy;
    }

    CommandParent parent{40, 420, 2 * kWidth, 2 * kHeight + 20};
    CXHTMLStatic html;
    PlainText plain;
    CFont font;
    LOGFONT logFont = {};
};

TEST_F(HtmlStaticTest, TextAndTagsAsTheyShow)
{
    struct Case
    {
        const char* html;
        const char* plain;
        bool bold;
        bool same;
    } cases[] = {
        {"W", "W", false, true},
        {"<B>W</B>", "W", true, true},
        {"<B>W</B>", "W", false, false}, // bold is not plain: the comparison sees a difference
        {"<b>W</b>", "W", true, true},   // tags in any case
        {"&lt;B&gt;W", "<B>W", false, true},
        {"a&amp;lt;b", "a&lt;b", false, true},
        {"&copy; &pound;5 &euro;",
         "\xA9 \xA3"
         "5 \x80",
         false, true},
        {"</B>W", "W", false, true},
        {"</B><B>W", "W", true, true}, // a stray closing tag leaves no debt
        {"<Q>rest", "<Q>rest", false, true},
        {"a <UNKNOWN tag", "a <UNKNOWN tag", false, true},
        {"a&nbsp;b", "a b", false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.same, SameAsPlain(c.html, c.plain, c.bold)) << c.html;
}

TEST_F(HtmlStaticTest, RulesAcrossTheWidthKeepTheirThickness)
{
    html.SetTextColor(RGB(0, 0, 0));
    html.SetBkColor(RGB(255, 255, 255));
    auto fullRows = [&](const char* text) {
        Show(text);
        // SetWindowText set the colours back: black on white again for the count.
        html.SetTextColor(RGB(0, 0, 0));
        html.SetBkColor(RGB(255, 255, 255));
        DibSurface s(kWidth, kHeight);
        Capture(html, s);
        std::vector<int> rows;
        for (int y = 0; y < kHeight; ++y) {
            int x = 0;
            while (x < kWidth && s.Rgb(x, y) == 0)
                ++x;
            if (x == kWidth)
                rows.push_back(y);
        }
        return rows;
    };
    const int line = LineHeight();
    // A break, then the rule under it: 2 pixels unless SIZE says.
    EXPECT_EQ((std::vector<int>{line, line + 1}), fullRows("<HR>"));
    // SIZE=4 stays for the rule after it.
    const std::vector<int> rows = fullRows("<HR SIZE=4><HR>");
    ASSERT_EQ(8u, rows.size());
    EXPECT_EQ(line, rows[0]);
    EXPECT_EQ(line + 3, rows[3]);
    EXPECT_EQ(rows[4], rows[3] + 1 + line) << "the second rule a line further down";
    EXPECT_EQ(rows[7], rows[4] + 3);
}

TEST_F(HtmlStaticTest, WordsWrapAndAWideWordKeepsItsLine)
{
    const int line = LineHeight();
    const int narrow = 70;
    // A word wider than the control is drawn on a line of its own, not dropped.
    Show("Supercalifragilistic", narrow);
    EXPECT_GT(InkInRows(0, line, narrow), 0);
    Show("a Supercalifragilistic", narrow);
    EXPECT_GT(InkInRows(0, line, narrow), 0);
    EXPECT_GT(InkInRows(line, 2 * line, narrow), 0) << "the wide word on the second line";
    // A no-break space holds two words together where a space lets them part.
    Show("aaaaa bbbbbbb", narrow);
    EXPECT_GT(InkInRows(line, 2 * line, narrow), 0) << "parted at the space";
    Show("aaaaa&nbsp;bbbbbbb", narrow);
    EXPECT_EQ(0, InkInRows(line, 2 * line, narrow)) << "held together";
}

TEST_F(HtmlStaticTest, SizesAndShiftsOfRuns)
{
    Show("<BR>x");
    const CRect plain = InkBounds();
    ASSERT_GT(plain.Height(), 0);
    Show("<BR><SUB>x</SUB>");
    EXPECT_GT(InkBounds().top, plain.top) << "subscript lower";
    Show("<BR><SUP>x</SUP>");
    EXPECT_LT(InkBounds().top, plain.top) << "superscript higher";
    Show("<BR><BIG><BIG><BIG><BIG>x");
    EXPECT_GT(InkBounds().Height(), plain.Height()) << "bigger";
    Show("<BR><FONT SIZE=\"8\">x</FONT>");
    EXPECT_GT(InkBounds().Height(), plain.Height()) << "SIZE makes the height larger";
}

TEST_F(HtmlStaticTest, OwnerMarginsAndFont)
{
    Show("W");
    const CRect plain = InkBounds();
    html.SetMargins(20, 0);
    Show("W");
    EXPECT_EQ(plain.left + 20, InkBounds().left);
    html.SetMargins(0, 0);
    LOGFONT big = logFont;
    big.lfHeight = 2 * logFont.lfHeight;
    html.SetOwnFont(&big);
    Show("W");
    EXPECT_GT(InkBounds().Height(), plain.Height() * 3 / 2) << "the owner's font, not the window's";
    html.SetOwnFont(nullptr);
    Show("W");
    EXPECT_EQ(plain, InkBounds());
}

TEST_F(HtmlStaticTest, StatusSectionsNeedTheirFlagValue)
{
    const char* text = "<STATUS FLAG=mode:Edit>X</STATUS>";
    const int line = LineHeight();
    Show(text);
    EXPECT_EQ(0, InkInRows(0, line)) << "no flags: hidden";
    struct Case
    {
        const char* name;
        const char* value;
        bool shown;
    } cases[] = {
        {"mode", "EDIT", true},
        {"mode", "edit", true},
        {"mode", "view", false},
        {"other", "edit", false},
    };
    for (const Case& c : cases) {
        CMapStringToString flags;
        flags.SetAt(c.name, c.value);
        html.SetStatusFlags(&flags);
        Show(text);
        EXPECT_EQ(c.shown, InkInRows(0, line) > 0) << c.name << ":" << c.value;
        html.SetStatusFlags(nullptr);
    }
    // Outside the section the text shows either way.
    Show("<STATUS FLAG=mode:Edit>X</STATUS>Y");
    EXPECT_GT(InkInRows(0, line), 0);
}

TEST_F(HtmlStaticTest, ApplicationCommandsGoOnlyWhereTheTableSays)
{
    EXPECT_FALSE(html.GotoURL("APP:save", SW_SHOW)) << "empty table";
    EXPECT_TRUE(parent.got.empty());

    const CXHTMLStatic::AppCommand table[] = {
        {parent.Hwnd(), WM_APP + 11, 5, "save"},
        {parent.Hwnd(), WM_APP + 12, 6, "help_LOADPAGE"},
        {nullptr, WM_APP + 13, 7, "save"}, // no window: nothing sent
    };
    html.SetAppCommands(table, 3);
    EXPECT_TRUE(html.GotoURL("APP:SAVE", SW_SHOW));
    EXPECT_TRUE(html.GotoURL("\"app:help\"", SW_SHOW));
    EXPECT_FALSE(html.GotoURL("APP:print", SW_SHOW));
    ASSERT_EQ(2u, parent.got.size());
    EXPECT_EQ((UINT)WM_APP + 11, parent.got[0].message);
    EXPECT_EQ(5u, parent.got[0].wParam);
    EXPECT_EQ("SAVE", parent.got[0].text);
    EXPECT_EQ((UINT)WM_APP + 12, parent.got[1].message);
    EXPECT_EQ("(0)", parent.got[1].text) << "a load-page command sends no text";
}

std::vector<std::string> g_opened;
INT_PTR RecordOpen(LPCTSTR url, int)
{
    g_opened.push_back(url);
    return 33;
}

TEST_F(HtmlStaticTest, ClickOnALinkOpensItsTarget)
{
    g_opened.clear();
    const OpenUrlHandler previous = SetOpenUrlHandler(RecordOpen);
    Show("Go <A HREF=\"http://example.com/cakes\">cakes</A> now");
    ASSERT_EQ(1, html.GetLinkCount());
    EXPECT_STREQ("\"http://example.com/cakes\"", html.GetLinkTarget(0));
    const CRect link = html.GetLinkRect(0);
    EXPECT_GT(link.left, 0);

    auto clickAt = [&](POINT client) {
        POINT screen = client;
        html.ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        html.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
        html.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        PumpPending();
    };
    clickAt(POINT{2, link.CenterPoint().y});
    EXPECT_TRUE(g_opened.empty()) << "beside the link";
    clickAt(link.CenterPoint());
    EXPECT_EQ((std::vector<std::string>{"http://example.com/cakes"}), g_opened) << "the address without its quotes";
    SetOpenUrlHandler(previous);
}

TEST_F(HtmlStaticTest, HandOverLinksOnly)
{
    Show("Go <A HREF=\"http://example.com/\">there</A>");
    ASSERT_EQ(1, html.GetLinkCount());
    bool copied = false;
    const HCURSOR hand = CXScrollBar::FindHandCursor(AfxGetResourceHandle(), &copied);
    if (copied)
        ::DestroyCursor(hand);
    ASSERT_NE(nullptr, hand);
    auto pointerAt = [&](POINT client) {
        html.ClientToScreen(&client);
        ::SetCursorPos(client.x, client.y);
    };
    // The link timer looks where the pointer is: over the link the hand, and the control
    // leaves the cursor to it.
    const HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
    ::SetCursor(arrow);
    pointerAt(html.GetLinkRect(0).CenterPoint());
    EXPECT_TRUE(PumpUntil([&] { return ::GetCursor() == hand; }, 2000)) << "the hand over the link";
    EXPECT_FALSE(html.SendMessage(WM_SETCURSOR, (WPARAM)html.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    // Beside it the cursor from before comes back.
    pointerAt(POINT{2, 2});
    EXPECT_TRUE(PumpUntil([&] { return ::GetCursor() == arrow; }, 2000)) << "the cursor from before";
}

TEST_F(HtmlStaticTest, RepaintsKeepTheLinksOfTheText)
{
    Show("<A HREF=a>one</A> and <A HREF=b>two</A>");
    ASSERT_EQ(2, html.GetLinkCount());
    const CRect first = html.GetLinkRect(0);
    for (int i = 0; i < 100; ++i)
        html.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(2, html.GetLinkCount());
    EXPECT_EQ(first, html.GetLinkRect(0));
    EXPECT_STREQ("b", html.GetLinkTarget(1));
    // A new text forgets them.
    Show("no links");
    EXPECT_EQ(0, html.GetLinkCount());
}

TEST_F(HtmlStaticTest, LongFaceNameIsCut)
{
    const std::string face(40, 'F');
    const std::string text = "<FONT FACE=\"" + face + "\">x</FONT>";
    Show(text.c_str());
    LOGFONT lf = {};
    html.GetRunFont().GetLogFont(&lf);
    EXPECT_EQ(face.substr(0, 31), std::string(lf.lfFaceName));
    EXPECT_GT(InkInRows(0, LineHeight()), 0) << "still drawn, in a fallback face";
}

TEST_F(HtmlStaticTest, FontColoursAndSetWindowTextResets)
{
    html.SetBkColor("Navy");
    EXPECT_EQ(RGB(0, 0, 0x80), html.SetBkColor(RGB(0, 0, 0x80)));
    Show("<FONT COLOR=\"#FF0000\" BGCOLOR=\"0,255,0\">W</FONT>");
    DibSurface s(kWidth, kHeight);
    Capture(html, s);
    bool red = false, green = false;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < 40; ++x) {
            red |= s.Rgb(x, y) == 0xFF0000;
            green |= s.Rgb(x, y) == 0x00FF00;
        }
    EXPECT_TRUE(red && green) << "the run in its own colours";
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), s.At(kWidth - 1, kHeight - 1)) << "SetWindowText set the background back";
    html.SetBkColor(RGB(1, 2, 3));
    html.SetWindowText("again");
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), html.SetBkColor(RGB(0, 0, 0)));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), html.SetTextColor(RGB(0, 0, 0)));
}

TEST(HtmlStaticBlank, SpacesAndTabsOnly)
{
    EXPECT_TRUE(CXHTMLStatic::IsBlank(""));
    EXPECT_TRUE(CXHTMLStatic::IsBlank(" \t "));
    EXPECT_FALSE(CXHTMLStatic::IsBlank(" x "));
    EXPECT_FALSE(CXHTMLStatic::IsBlank("\n"));
}

} // namespace

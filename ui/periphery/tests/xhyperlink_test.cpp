// The hyperlink statics of a real dialog: the target their text gives, a click that opens,
// marks visited and tells the parent, a failed open that beeps and still tells, sizing that
// keeps a right-aligned link's right edge, and hovering with its colour and font. The dialog
// is also the gallery of the HTML static and the links, kept as a screenshot.
#include "ui/periphery/XHTMLStatic.h"
#include "ui/periphery/XHyperLink.h"
#include "ui/periphery/XHyperLinkMessage.h"
#include "ui/periphery/tests/periphery_test_res.h"

#include "base/OpenUrl.h"
#include "base/Sound.h"
#include "testsupport/Dump.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Gallery : public CDialog
{
public:
    Gallery() : CDialog(IDD_T_HTML_GALLERY, nullptr) {}
    CXHTMLStatic html;
    CXHyperLink plain, right, empty, hover, visited;
    std::vector<LPARAM> notified;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_T_HTML, html);
        DDX_Control(dx, IDC_T_LINK_PLAIN, plain);
        DDX_Control(dx, IDC_T_LINK_RIGHT, right);
        DDX_Control(dx, IDC_T_LINK_EMPTY, empty);
        DDX_Control(dx, IDC_T_LINK_HOVER, hover);
        DDX_Control(dx, IDC_T_LINK_VISITED, visited);
    }
    LRESULT OnLinkNotify(WPARAM, LPARAM lParam)
    {
        notified.push_back(lParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Gallery, CDialog)
    ON_MESSAGE(WM_XHYPERLINK_NOTIFY, &Gallery::OnLinkNotify)
END_MESSAGE_MAP()

std::vector<std::string> g_opened;
INT_PTR g_openResult = 33;
INT_PTR RecordOpen(LPCTSTR url, int)
{
    g_opened.push_back(url);
    return g_openResult;
}
std::vector<UINT> g_beeps;
void RecordBeep(UINT type) { g_beeps.push_back(type); }

class HyperLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_opened.clear();
        g_beeps.clear();
        g_openResult = 33;
        previousOpen = SetOpenUrlHandler(RecordOpen);
        previousBeep = SetBeepHandler(RecordBeep);
        // The empty static shows the target it was given before it was subclassed.
        dlg.empty.SetURL("http://example.com/empty-text");
        ASSERT_TRUE(dlg.Create(IDD_T_HTML_GALLERY));
        ::SetWindowPos(dlg.m_hWnd, HWND_TOPMOST, 40, 300, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        dlg.UpdateWindow();
        PumpPending();
    }
    void TearDown() override
    {
        dlg.DestroyWindow();
        SetOpenUrlHandler(previousOpen);
        SetBeepHandler(previousBeep);
    }
    // A click as the static gets it: it tells the dialog, which hands the click back to it.
    void Click(CXHyperLink& link)
    {
        const size_t before = dlg.notified.size();
        link.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        link.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(PumpUntil([&] { return dlg.notified.size() > before; }, 3000)) << "the parent was told";
    }
    static void PointerAt(CWnd& w, int x, int y)
    {
        POINT p = {x, y};
        w.ClientToScreen(&p);
        ::SetCursorPos(p.x, p.y);
    }

    Gallery dlg;
    OpenUrlHandler previousOpen = nullptr;
    BeepHandler previousBeep = nullptr;
};

TEST_F(HyperLinkTest, TargetAndTextFillEachOther)
{
    EXPECT_STREQ("http://example.com/sugar", dlg.plain.GetURL()) << "no target: the text";
    EXPECT_STREQ("http://example.com/empty-text", dlg.empty.GetURL());
    CString text;
    dlg.empty.GetWindowText(text);
    EXPECT_STREQ("http://example.com/empty-text", text) << "no text: the target";
    EXPECT_TRUE(dlg.plain.GetStyle() & SS_NOTIFY);
    EXPECT_NE(nullptr, dlg.plain.GetLinkCursor());
    // Sized to its text in the underline font.
    CRect r;
    dlg.plain.GetClientRect(&r);
    HDC dc = ::GetDC(dlg.plain.m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, dlg.plain.UnderlineFont().GetSafeHandle());
    SIZE s = {};
    const CString shown = "http://example.com/sugar";
    ::GetTextExtentPoint32(dc, shown, shown.GetLength(), &s);
    ::SelectObject(dc, old);
    ::ReleaseDC(dlg.plain.m_hWnd, dc);
    EXPECT_EQ(s.cx, r.Width());
    EXPECT_EQ(s.cy, r.Height());
}

TEST_F(HyperLinkTest, ClickOpensMarksVisitedAndTellsTheParent)
{
    EXPECT_FALSE(dlg.plain.GetVisited());
    EXPECT_EQ(RGB(0, 0, 238), dlg.plain.CurrentTextColour());
    Click(dlg.plain);
    EXPECT_EQ((std::vector<std::string>{"http://example.com/sugar"}), g_opened);
    EXPECT_TRUE(dlg.plain.GetVisited());
    EXPECT_EQ(RGB(85, 26, 139), dlg.plain.CurrentTextColour());
    ASSERT_EQ(1u, dlg.notified.size());
    EXPECT_EQ((LPARAM)dlg.plain.m_hWnd, dlg.notified[0]);
    EXPECT_TRUE(g_beeps.empty());
    EXPECT_NE(0u, WM_XHYPERLINK_CLICKED);
    EXPECT_EQ(WM_XHYPERLINK_CLICKED, ::RegisterWindowMessage("WM_XHYPERLINK_CLICKED"));
}

TEST_F(HyperLinkTest, FailedOpenBeepsStaysUnvisitedAndStillTells)
{
    g_openResult = 2; // the file was not found
    Click(dlg.plain);
    EXPECT_EQ(1u, g_opened.size());
    EXPECT_FALSE(dlg.plain.GetVisited());
    EXPECT_EQ((std::vector<UINT>{MB_ICONEXCLAMATION}), g_beeps);
    EXPECT_EQ(1u, dlg.notified.size());
}

TEST_F(HyperLinkTest, EmptyTargetCountsAsOpened)
{
    dlg.right.SetURL("");
    Click(dlg.right);
    EXPECT_TRUE(g_opened.empty()) << "nothing to open";
    EXPECT_TRUE(dlg.right.GetVisited());
    EXPECT_TRUE(g_beeps.empty());
}

TEST_F(HyperLinkTest, RightAlignedLinkKeepsItsRightEdge)
{
    auto place = [&] {
        CRect r;
        dlg.right.GetWindowRect(&r);
        dlg.ScreenToClient(&r);
        return r;
    };
    const CRect before = place();
    dlg.right.SetWindowText("A much longer right-aligned link");
    const CRect after = place();
    EXPECT_EQ(before.right, after.right);
    EXPECT_LT(after.left, before.left);
    EXPECT_GT(after.Width(), before.Width());
    // A left-aligned one keeps its left edge.
    CRect plainBefore;
    dlg.plain.GetWindowRect(&plainBefore);
    dlg.plain.SetWindowText("short");
    CRect plainAfter;
    dlg.plain.GetWindowRect(&plainAfter);
    EXPECT_EQ(plainBefore.left, plainAfter.left);
    EXPECT_LT(plainAfter.Width(), plainBefore.Width());
}

TEST_F(HyperLinkTest, LeavingEndsTheHoverWithTheNormalFont)
{
    struct Case
    {
        int underline;
        bool normalAfter;
    } cases[] = {{-1, true}, {0, true}, {1, false}};
    for (const Case& c : cases) {
        if (c.underline != -1)
            dlg.hover.SetUnderline(c.underline);
        PointerAt(dlg.hover, 2, 2);
        dlg.hover.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(dlg.hover.IsHovering());
        EXPECT_EQ(RGB(255, 0, 0), dlg.hover.CurrentTextColour());
        // Whatever font it shows while hovered, leaving decides it.
        dlg.hover.SendMessage(WM_SETFONT, (WPARAM)dlg.hover.UnderlineFont().GetSafeHandle(), FALSE);
        PointerAt(dlg, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return !dlg.hover.IsHovering(); }, 3000))
            << "the hover timer saw the pointer leave";
        EXPECT_EQ(RGB(0, 0, 238), dlg.hover.CurrentTextColour());
        const HGDIOBJ want =
            c.normalAfter ? dlg.hover.NormalFont().GetSafeHandle() : dlg.hover.UnderlineFont().GetSafeHandle();
        EXPECT_EQ((HFONT)want, (HFONT)dlg.hover.SendMessage(WM_GETFONT)) << "underline mode " << c.underline;
    }
}

TEST_F(HyperLinkTest, GalleryScreenshot)
{
    dlg.html.SetWindowText("<B>Sugarleaf</B> <I>help</I> with <U>tags</U>, <STRIKE>old</STRIKE> "
                           "<FONT COLOR=\"Crimson\">colours</FONT>, <FONT BGCOLOR=\"Khaki\">marks</FONT>, "
                           "H<SUB>2</SUB>O and m<SUP>2</SUP>, <CODE>code</CODE>,<BR>"
                           "<BIG>bigger</BIG> <SMALL>smaller</SMALL> &copy; &euro; &lt;tag&gt;"
                           "<HR SIZE=3>Links: <A HREF=\"http://example.com/\">example</A> and "
                           "<A HREF=\"APP:about\">about</A>");
    EXPECT_EQ(2, dlg.html.GetLinkCount());
    dlg.visited.SetVisited(TRUE);
    PointerAt(dlg.hover, 2, 2);
    dlg.hover.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    dlg.hover.SendMessage(WM_SETFONT, (WPARAM)dlg.hover.UnderlineFont().GetSafeHandle(), FALSE);
    dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(dlg.hover.IsHovering());
    EXPECT_TRUE(SaveScreenshot(dlg.m_hWnd, "periphery-gallery"));
    PointerAt(dlg, 0, 0);
}

} // namespace

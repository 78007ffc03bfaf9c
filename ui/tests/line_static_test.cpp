// The separator line painted in a real dialog: where its dotted rule starts and ends beside
// the text, its colours lit and dimmed; and the tip slider's value text.
#include "ui/LineStatic.h"
#include "ui/Skin.h"
#include "ui/tests/ui_test_util.h"
#include "ui/tests/ui_test_res.h"

#include "testsupport/Pump.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class LinesDialog : public CDialog
{
public:
    LinesDialog() : CDialog(IDD_T_LINES, nullptr) {}
    CLineStatic left, right, centre;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_T_LINE_LEFT, left);
        DDX_Control(dx, IDC_T_LINE_RIGHT, right);
        DDX_Control(dx, IDC_T_LINE_CENTRE, centre);
    }
};

// Columns of row y of the control, as painted, that hold the colour.
std::set<int> ColumnsOf(HWND control, int y, COLORREF colour)
{
    CRect r;
    ::GetClientRect(control, &r);
    std::set<int> xs;
    HDC dc = ::GetDC(control);
    for (int x = 0; x < r.right; ++x)
        if (::GetPixel(dc, x, y) == colour)
            xs.insert(x);
    ::ReleaseDC(control, dc);
    return xs;
}

struct TextSize
{
    int cx, h;
};
TextSize Measure(CWnd& control)
{
    CString text;
    control.GetWindowText(text);
    HDC dc = ::GetDC(control.m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)control.SendMessage(WM_GETFONT));
    SIZE s;
    ::GetTextExtentPoint32(dc, text, text.GetLength(), &s);
    ::SelectObject(dc, old);
    ::ReleaseDC(control.m_hWnd, dc);
    return {s.cx, s.cy / 2};
}

TEST(LineStatic, RuleStandsHalfATextHeightClearOfTheText)
{
    LinesDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_T_LINES));
    ::SetWindowPos(dlg.m_hWnd, HWND_TOPMOST, 40, 600, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    dlg.UpdateWindow();
    PumpPending();
    CRect r;
    dlg.left.GetClientRect(&r);

    // Left: the rule from h after the text to the right edge.
    const TextSize left = Measure(dlg.left);
    ASSERT_GT(left.h, 0);
    const std::set<int> leftRule = ColumnsOf(dlg.left.m_hWnd, left.h, kSkinLineGreen);
    ASSERT_FALSE(leftRule.empty());
    EXPECT_EQ(left.cx + left.h, *leftRule.begin());
    EXPECT_GE(*leftRule.rbegin(), r.right - 4) << "to the right edge, within a dot's period";
    EXPECT_LT(leftRule.size(), (size_t)(r.right - left.cx - left.h)) << "dotted, not solid";

    // Right: the rule from the left edge to h before the text.
    const TextSize right = Measure(dlg.right);
    const std::set<int> rightRule = ColumnsOf(dlg.right.m_hWnd, right.h, kSkinLineGreen);
    ASSERT_FALSE(rightRule.empty());
    EXPECT_EQ(0, *rightRule.begin());
    const int end = r.right - (right.cx + right.h); // LineTo stops short of its end
    EXPECT_LT(*rightRule.rbegin(), end);
    EXPECT_GE(*rightRule.rbegin(), end - 4);

    // Centre: a short rule on the left, then the text, then a rule h after it.
    const TextSize centre = Measure(dlg.centre);
    const std::set<int> centreRule = ColumnsOf(dlg.centre.m_hWnd, centre.h, kSkinLineGreen);
    ASSERT_FALSE(centreRule.empty());
    EXPECT_EQ(0, *centreRule.begin());
    EXPECT_EQ(0u, centreRule.count(10)) << "the first rule ends at 10";
    EXPECT_EQ(1u, centreRule.count(10 + centre.h + centre.cx + centre.h));

    CaptureToPng(dlg.m_hWnd, "line-static");
    dlg.DestroyWindow();
}

TEST(LineStatic, LitTextIsYellowDimmedIsGreen)
{
    LinesDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_T_LINES));
    ::SetWindowPos(dlg.m_hWnd, HWND_TOPMOST, 40, 600, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    dlg.UpdateWindow();
    const TextSize left = Measure(dlg.left);
    auto textPixels = [&](COLORREF colour) {
        int n = 0;
        for (int y = 0; y < 2 * left.h; ++y)
            for (int x : ColumnsOf(dlg.left.m_hWnd, y, colour))
                n += x < left.cx;
        return n;
    };
    EXPECT_GT(textPixels(kSkinTextYellow), 0);
    EXPECT_EQ(0, textPixels(kSkinLineGreen));
    dlg.left.SetHighlight(FALSE);
    dlg.left.UpdateWindow();
    EXPECT_EQ(0, textPixels(kSkinTextYellow));
    EXPECT_GT(textPixels(kSkinLineGreen), 0);
    dlg.DestroyWindow();
}

TEST(TipSlider, ValueTextByKind)
{
    struct
    {
        int kind;
        int position;
        const char* text;
    } cases[] = {
        {CTipSliderCtrl::kPercent, 42, "Size:42%"},
        {CTipSliderCtrl::kPoints, 12, "Size:12pt"},
        {CTipSliderCtrl::kPercentFloat, 42, "Size:42%"},
        {CTipSliderCtrl::kPercent, -5, "Size:-5%"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.text, (LPCTSTR)CTipSliderCtrl::FormatValue("Size", c.kind, c.position)) << c.kind;
}

TEST(TipSlider, PaintingPutsTheValueIntoItsTip)
{
    TestParent parent(40, 700, 220, 60);
    HWND h = ::CreateWindow(TRACKBAR_CLASS, "", WS_CHILD | WS_VISIBLE | TBS_HORZ, 10, 10, 200, 30, parent.Hwnd(),
                            (HMENU)100, nullptr, nullptr);
    CTipSliderCtrl slider;
    ASSERT_TRUE(slider.SubclassWindow(h));
    slider.SetRange(0, 72);
    slider.SetPos(12);
    slider.SetValueCaption("Size", CTipSliderCtrl::kPoints);
    slider.Invalidate();
    slider.UpdateWindow();
    HWND tip = nullptr;
    for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT))
        if (::GetWindow(w, GW_OWNER) == parent.Hwnd() || ::GetParent(w) == h) {
            char cls[64] = {};
            ::GetClassName(w, cls, sizeof cls);
            if (strcmp(cls, TOOLTIPS_CLASS) == 0)
                tip = w;
        }
    ASSERT_NE(nullptr, tip) << "the tip is made on the first paint";
    char text[80] = {};
    TOOLINFO tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = h;
    tool.uId = 1;
    tool.lpszText = text;
    ::SendMessage(tip, TTM_GETTEXT, sizeof text, (LPARAM)&tool);
    EXPECT_STREQ("Size:12pt", text);
    // Its own brushes: the skin blue around the channel and the thumb.
    HDC dc = ::GetDC(h);
    EXPECT_EQ(kSkinBlue, ::GetPixel(dc, 0, 0));
    ::ReleaseDC(h, dc);
    slider.UnsubclassWindow();
}

} // namespace

// The hover button in a real dialog with the pointer moved through the display (xdotool):
// it lights up at once when the pointer comes and goes back when it leaves; a disabled one
// stays in the normal shades with grey text.
#include "ui/ColourHls.h"
#include "ui/HoverButton.h"
#include "ui/tests/input/Xdo.h"
#include "ui/tests/ui_test_res.h"
#include "ui/tests/ui_test_util.h"

#include "testsupport/Pump.h"

#include <gtest/gtest.h>

namespace {

class HoverDialog : public CDialog
{
public:
    HoverDialog() : CDialog(IDD_T_HOVER, nullptr) {}
    ~HoverDialog() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }
    CHoverButton on, off;
    int movesOverOff = 0; // the dialog's own mouse moves over the disabled button

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_T_HOVER_ON, on);
        DDX_Control(dx, IDC_T_HOVER_OFF, off);
    }
    void OnMouseMove(UINT flags, CPoint point)
    {
        CRect r;
        off.GetWindowRect(&r);
        ScreenToClient(&r);
        if (r.PtInRect(point))
            ++movesOverOff;
        CDialog::OnMouseMove(flags, point);
    }
    void OnOK() override {}
    void OnCancel() override {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HoverDialog, CDialog)
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

COLORREF Shown(CWnd& button, int x, int y)
{
    HDC dc = ::GetDC(button.m_hWnd);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(button.m_hWnd, dc);
    return c;
}

int CountShown(CWnd& button, COLORREF colour)
{
    CRect r;
    button.GetClientRect(&r);
    HDC dc = ::GetDC(button.m_hWnd);
    int n = 0;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x)
            n += ::GetPixel(dc, x, y) == colour;
    ::ReleaseDC(button.m_hWnd, dc);
    return n;
}

TEST(HoverButtonInput, LightsUpUnderThePointerAtOnce)
{
    HoverDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_T_HOVER));
    ::SetWindowPos(dlg.m_hWnd, HWND_TOPMOST, 60, 300, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(dlg.m_hWnd);
    dlg.UpdateWindow();
    CRect r;
    dlg.GetWindowRect(&r);
    ASSERT_TRUE(Xdo("mousemove %ld %ld", r.right - 3, r.bottom - 3));
    PumpPending();

    const COLORREF normal = AdjustColourHls(::GetSysColor(COLOR_BTNFACE), -10, 0);
    const COLORREF lit = AdjustColourHls(::GetSysColor(COLOR_HIGHLIGHT), 80, -66);
    ASSERT_NE(normal, lit);
    EXPECT_EQ(normal, Shown(dlg.on, 4, 4));

    // In: repainted in the highlight shades without anyone asking; out: back to normal.
    const POINT on = CentreOf(dlg.on.m_hWnd);
    ASSERT_TRUE(Xdo("mousemove %ld %ld", on.x, on.y));
    EXPECT_TRUE(PumpUntil([&] { return Shown(dlg.on, 4, 4) == lit; })) << "the pointer in";
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), Shown(dlg.on, 0, 0)) << "the frame";
    CaptureToPng(dlg.m_hWnd, "hover-button");
    ASSERT_TRUE(Xdo("mousemove %ld %ld", r.right - 3, r.bottom - 3));
    EXPECT_TRUE(PumpUntil([&] { return Shown(dlg.on, 4, 4) == normal; })) << "the pointer out";
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), Shown(dlg.on, 0, 0));

    // The disabled button under the pointer: the pointer's moves reach the dialog, and the
    // button still shows the normal shades, its text grey.
    const POINT off = CentreOf(dlg.off.m_hWnd);
    ASSERT_TRUE(Xdo("mousemove %ld %ld", off.x, off.y + 2));
    ASSERT_TRUE(PumpUntil([&] { return dlg.movesOverOff > 0; }));
    PumpPending();
    EXPECT_FALSE(dlg.off.IsHovering());
    EXPECT_EQ(normal, Shown(dlg.off, 4, 4));
    EXPECT_GT(CountShown(dlg.off, ::GetSysColor(COLOR_GRAYTEXT)), 0) << "grey text";
    EXPECT_EQ(0, CountShown(dlg.off, ::GetSysColor(COLOR_BTNTEXT)));
}

} // namespace

// The panel base in a real dialog: the control table's one loop (captions, skinned button
// colours, help bubbles), the colours each kind of control is painted in, a per-control text
// colour, the brush made once, a Cancel that reaches the panel, and timer 101 firing once.
#include "ui/SkinPanelDlg.h"
#include "ui/Skin.h"
#include "ui/SkinButton.h"
#include "ui/tests/tip_test_util.h"
#include "ui/tests/ui_test_res.h"

#include "base/TextTable.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kPanel = RGB(30, 60, 200);
const COLORREF kText = RGB(250, 250, 0);
const COLORREF kListText = RGB(255, 255, 255);

const PanelControl kControls[] = {
    {IDC_T_PANEL_BUTTON, "T_PANEL_BTN", "NEXT", 0, "T_PANEL_BTN"},
    {IDC_T_PANEL_LABEL, "T_PANEL_LABEL", "BACK", 0, "T_PANEL_LABEL"},
    {IDC_T_PANEL_PLAIN, "T_PANEL_PLAIN", nullptr, 0, "T_NO_SUCH_TIP"},
};

class TablePanel : public CSkinPanelDlg
{
public:
    TablePanel() : CSkinPanelDlg(IDD_T_PANEL_SKIN, nullptr)
    {
        SetControlTable(kControls);
        m_crPanel = kPanel;
        m_crStaticText = kText;
    }
    CSkinButton button;
    int timerTicks = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_T_PANEL_BUTTON, button); }
    BOOL OnInitDialog() override
    {
        CSkinPanelDlg::OnInitDialog();
        SetupControls();
        SetControlColour(IDC_T_PANEL_LIST, kListText);
        ::SendDlgItemMessage(m_hWnd, IDC_T_PANEL_LIST, LB_ADDSTRING, 0, (LPARAM) "entry");
        return TRUE;
    }
    void OnTimer(UINT_PTR id)
    {
        if (id == kPanelOnceTimer)
            ++timerTicks;
        CSkinPanelDlg::OnTimer(id);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TablePanel, CSkinPanelDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

struct Painted
{
    COLORREF text, back;
    HBRUSH brush;
    int mode;
};

// What the panel answers a control's colour request with.
Painted ColoursOf(HWND panel, int id, UINT message)
{
    HWND control = ::GetDlgItem(panel, id);
    HDC dc = ::GetDC(control);
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkColor(dc, RGB(4, 5, 6));
    ::SetBkMode(dc, OPAQUE);
    HBRUSH brush = (HBRUSH)::SendMessage(panel, message, (WPARAM)dc, (LPARAM)control);
    Painted p{::GetTextColor(dc), ::GetBkColor(dc), brush, ::GetBkMode(dc)};
    ::ReleaseDC(control, dc);
    return p;
}

class SkinPanel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LoadLanguageFile("english");
        tips.Write("tips.txt",
                   {"T_PANEL_BTN=Go on~Shows the next page.~Panels", "T_PANEL_LABEL=Label~A label.~Panels"});
        ASSERT_TRUE(panel.Create(IDD_T_PANEL_SKIN, nullptr));
    }
    void TearDown() override { panel.DestroyWindow(); }

    tip_test::HelpFolder tips;
    TablePanel panel;
};

TEST_F(SkinPanel, TableSetsCaptionsColoursAndBubbles)
{
    CString caption;
    panel.button.GetWindowText(caption);
    EXPECT_STREQ(GetLangText("NEXT"), caption) << "the skinned button's caption";
    EXPECT_FALSE(caption.IsEmpty());
    EXPECT_STREQ(GetLangText("BACK"), (LPCTSTR)ItemText(panel.GetSafeHwnd(), IDC_T_PANEL_LABEL));
    struct
    {
        int slot;
        COLORREF colour;
    } slots[] = {{kSlotHoverText, kSkinCaptionWhite}, {kSlotNormalText, kSkinCaptionWhite},
                 {kSlotFocusText, kSkinCaptionWhite}, {kSlotHoverBack, kPanel},
                 {kSlotNormalBack, kPanel},           {kSlotFocusBack, kPanel}};
    for (const auto& s : slots) {
        COLORREF got = 0;
        panel.button.GetColor(s.slot, &got);
        EXPECT_EQ(s.colour, got) << "slot " << s.slot;
    }
    EXPECT_EQ(1u, panel.Tooltip().GetTools(panel.button.GetSafeHwnd()).size()) << "the button's bubble";
    EXPECT_EQ(1u, panel.Tooltip().GetTools(::GetDlgItem(panel.GetSafeHwnd(), IDC_T_PANEL_LABEL)).size());
    EXPECT_TRUE(panel.Tooltip().GetTools(::GetDlgItem(panel.GetSafeHwnd(), IDC_T_PANEL_PLAIN)).empty())
        << "a key without a tip adds no bubble";
    ASSERT_NE(nullptr, panel.FindControl("T_PANEL_LABEL"));
    EXPECT_EQ(IDC_T_PANEL_LABEL, panel.FindControl("T_PANEL_LABEL")->id);
}

TEST_F(SkinPanel, ControlColoursByKind)
{
    HWND h = panel.GetSafeHwnd();
    HBRUSH panelBrush = (HBRUSH)panel.m_brushPanel.GetSafeHandle();
    struct
    {
        const char* what;
        int id;
        UINT message;
        COLORREF text, back;
        int mode;
        bool panelBrush;
    } cases[] = {
        {"static", IDC_T_PANEL_PLAIN, WM_CTLCOLORSTATIC, kText, kPanel, OPAQUE, true},
        {"edit", IDC_T_PANEL_EDIT, WM_CTLCOLOREDIT, kSkinBlack, kSkinWhite, OPAQUE, false},
        {"button", IDC_T_PANEL_BUTTON, WM_CTLCOLORBTN, kSkinBlack, kPanel, OPAQUE, true},
        {"list with its own text colour", IDC_T_PANEL_LIST, WM_CTLCOLORLISTBOX, kListText, kPanel, TRANSPARENT, true},
    };
    for (const auto& c : cases) {
        Painted p = ColoursOf(h, c.id, c.message);
        EXPECT_EQ(c.text, p.text) << c.what;
        EXPECT_EQ(c.back, p.back) << c.what;
        EXPECT_EQ(c.mode, p.mode) << c.what << ": background mode";
        EXPECT_EQ(c.panelBrush, p.brush == panelBrush) << c.what;
    }
    // The brush was made from the colour once: a later colour change does not change it.
    panel.m_crPanel = RGB(9, 9, 9);
    LOGBRUSH lb{};
    ::GetObject(panelBrush, sizeof(lb), &lb);
    EXPECT_EQ(kPanel, lb.lbColor);
    EXPECT_EQ(panelBrush, ColoursOf(h, IDC_T_PANEL_PLAIN, WM_CTLCOLORSTATIC).brush);
}

TEST_F(SkinPanel, CancelDoesNothingAndTimer101FiresOnce)
{
    panel.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(::IsWindowVisible(panel.GetSafeHwnd())) << "a Cancel reaching the panel does nothing";

    panel.SetTimer(kPanelOnceTimer, 10, nullptr);
    panel.SetTimer(7, 10, nullptr); // a timer the base leaves alone: the positive control
    int sevens = 0;
    // Timer 7 is counted by the thread's queue: wait until it has fired three times.
    MSG msg;
    ASSERT_TRUE(PumpUntil(
        [&] {
            while (::PeekMessage(&msg, panel.GetSafeHwnd(), WM_TIMER, WM_TIMER, PM_REMOVE)) {
                if (msg.wParam == 7)
                    ++sevens;
                ::DispatchMessage(&msg);
            }
            return sevens >= 3;
        },
        5000));
    panel.KillTimer(7);
    EXPECT_EQ(1, panel.timerTicks) << "timer 101 is killed when it fires";
}

} // namespace

// The fading window over a real window (its interval and ticks, the fade in, a start alpha
// below 5, no window when the platform lacks the entry point, the focus handed back) and
// the support and information dialogs run modally and answered as a person would.
#include "ui/periphery/FadeWindow.h"
#include "ui/periphery/SupportDlg.h"
#include "ui/Skin.h"
#include "ui/periphery/tests/periphery_test_util.h"
#include "ui/tests/ui_test_util.h"

#include "base/TextTable.h"
#include "res/periphery_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Dump.h"
#include "testsupport/GdiCheck.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

FARPROC Missing(LPCSTR, LPCSTR) { return nullptr; }

BOOL CALLBACK NoteLayered(HWND w, LPARAM p)
{
    if (::GetWindowLongPtr(w, GWL_EXSTYLE) & WS_EX_LAYERED)
        reinterpret_cast<std::set<HWND>*>(p)->insert(w);
    return TRUE;
}

// The top-level windows of this thread with a layered style.
std::set<HWND> LayeredWindows()
{
    std::set<HWND> out;
    ::EnumThreadWindows(::GetCurrentThreadId(), NoteLayered, (LPARAM)&out);
    return out;
}

// A window filled with one colour, with a white bar across.
class Painted : public CWnd
{
public:
    Painted()
    {
        CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), "painted", WS_POPUP, 100, 100,
                 200, 120, nullptr, nullptr);
        ShowWindow(SW_SHOWNOACTIVATE);
    }
    ~Painted() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }
    COLORREF colour = RGB(200, 30, 30);

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        dc.FillSolidRect(0, 0, 200, 120, colour);
        dc.FillSolidRect(20, 50, 160, 20, RGB(255, 255, 255));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Painted, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

class FadeTest : public ::testing::Test
{
protected:
    void SetUp() override { target.UpdateWindow(); }
    void TearDown() override { CFadeWindow::SetLookup(nullptr); }
    Painted target;
};

TEST_F(FadeTest, IntervalAndTicks)
{
    struct Case
    {
        BYTE alpha;
        UINT duration;
        BOOL out;
        UINT interval;
        int ticks;
        BYTE afterOne; // the alpha after the first tick
    } cases[] = {
        {255, 1020, TRUE, 20, 52, 250}, // 51 steps of 5, then the end
        {100, 1000, TRUE, 50, 21, 95},  //
        {3, 300, TRUE, 300, 1, 3},      // below 5: one step, no division by zero
        {0, 100, TRUE, 100, 1, 0},      //
        {255, 1020, FALSE, 20, 52, 5},  // a fade in starts from nothing
        {4, 40, FALSE, 40, 52, 5},      // at the interval its start alpha gives
    };
    for (const Case& c : cases) {
        CFadeWindow* fade = CFadeWindow::Start(&target, c.duration, c.alpha, c.out);
        ASSERT_NE(nullptr, fade);
        const HWND wnd = fade->m_hWnd;
        EXPECT_EQ(c.interval, fade->GetInterval()) << (int)c.alpha;
        EXPECT_EQ(c.out ? c.alpha : 0, fade->GetAlpha());
        const UINT_PTR timer = c.out ? 1 : 2;
        int ticks = 0;
        while (::IsWindow(wnd) && ticks < 300) {
            ::SendMessage(wnd, WM_TIMER, timer, 0);
            if (++ticks == 1 && ::IsWindow(wnd)) {
                EXPECT_EQ(c.afterOne, fade->GetAlpha()) << (int)c.alpha;
            }
        }
        EXPECT_EQ(c.ticks, ticks) << (int)c.alpha << (c.out ? " out" : " in");
        EXPECT_EQ(0, CFadeWindow::Live()) << "the object went with its window";
    }
}

TEST_F(FadeTest, CoversTheTargetAndFadesOnItsTimer)
{
    const std::set<HWND> before = LayeredWindows();
    CFadeWindow* fade = CFadeWindow::Start(&target, 1020, 255, TRUE);
    ASSERT_NE(nullptr, fade);
    const HWND wnd = fade->m_hWnd;
    EXPECT_EQ(before.size() + 1, LayeredWindows().size());
    EXPECT_EQ((DWORD)(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_TRANSPARENT),
              (DWORD)::GetWindowLongPtr(wnd, GWL_EXSTYLE) & 0x800A8);
    CRect covered, under;
    ::GetWindowRect(wnd, &covered);
    target.GetWindowRect(&under);
    EXPECT_EQ(under, covered);
    // The window changes under the fading copy of its old look.
    target.colour = RGB(30, 30, 200);
    target.RedrawWindow();
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(wnd) || fade->GetAlpha() <= 130; }, 3000)) << "half way";
    EXPECT_TRUE(DisplayPng("periphery_fade"));
    // The focus goes straight back to the window that had it.
    ::SetFocus(target.m_hWnd);
    ::SetFocus(wnd);
    EXPECT_EQ(target.m_hWnd, ::GetFocus());
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(wnd); }, 5000)) << "the fade ends by itself";
    EXPECT_EQ(0, CFadeWindow::Live());
}

TEST_F(FadeTest, NoWindowWithoutTheEntryPoint)
{
    const std::set<HWND> before = LayeredWindows();
    CFadeWindow::SetLookup(Missing);
    EXPECT_EQ(nullptr, CFadeWindow::Start(&target, 500, 255, TRUE));
    EXPECT_EQ(before, LayeredWindows());
    EXPECT_EQ(0, CFadeWindow::Live()) << "nothing kept";
    CFadeWindow::SetLookup(nullptr); // the positive control: the system's look-up finds it
    CFadeWindow* fade = CFadeWindow::Start(&target, 500, 255, TRUE);
    ASSERT_NE(nullptr, fade);
    EXPECT_EQ(before.size() + 1, LayeredWindows().size());
    fade->DestroyWindow();
    EXPECT_EQ(0, CFadeWindow::Live());
}

TEST_F(FadeTest, TenFadesLeaveNoHandle)
{
    std::unique_ptr<LiveGdiCheck> check;
    for (int i = 0; i < 11; ++i) {
        if (i == 1) // after a first fade has filled the system's caches
            check = std::make_unique<LiveGdiCheck>();
        CFadeWindow* fade = CFadeWindow::Start(&target, 100, 255, i % 2 == 0);
        ASSERT_NE(nullptr, fade);
        const HWND wnd = fade->m_hWnd;
        ::SendMessage(wnd, WM_TIMER, i % 2 == 0 ? 1 : 2, 0);
        ::DestroyWindow(wnd);
    }
    EXPECT_EQ(0, CFadeWindow::Live());
    EXPECT_TRUE(check->Unchanged());
}

// --- the support and information dialogs ---

struct Seen
{
    CString title, text;
    COLORREF corner = 0;
    bool boldFont = false;
    DWORD okType = 0;
};

Seen Look(HWND dlg, int textId, const char* picture)
{
    Seen seen;
    seen.title = WindowText(dlg);
    seen.text = ItemText(dlg, textId);
    ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = ::GetDC(dlg);
    seen.corner = ::GetPixel(dc, 2, 2);
    ::ReleaseDC(dlg, dc);
    seen.boldFont = (HFONT)::SendDlgItemMessage(dlg, textId, WM_GETFONT, 0, 0) == SkinBoldChildFont();
    seen.okType = (DWORD)::GetWindowLongPtr(::GetDlgItem(dlg, IDOK), GWL_STYLE) & BS_TYPEMASK;
    SaveScreenshot(dlg, picture);
    return seen;
}

TEST(SupportDlg, ShowsTheLanguagesTitleAndText)
{
    struct
    {
        const char* language;
        const char* title;
        const char* start; // how the text begins
    } cases[] = {
        {"english", "Support", "For help with Sugarleaf Studio"},
        {"french", "Assistance", "Pour de l'aide"},
        {"dutch", "Ondersteuning", "Voor hulp"},
    };
    for (const auto& c : cases) {
        LoadLanguageFile(c.language);
        Seen seen;
        CSupportDlg dlg;
        DialogDriver driver([&](HWND w) {
            seen = Look(w, IDC_SUPPORT_TEXT, (CString("periphery_support_") + c.language).GetString());
            Press(w, IDOK);
        });
        EXPECT_EQ(IDOK, dlg.DoModal());
        EXPECT_STREQ(c.title, (LPCTSTR)seen.title) << c.language;
        EXPECT_EQ(0, seen.text.Find(c.start)) << (LPCTSTR)seen.text;
        EXPECT_EQ(GetLangText("157"), dlg.m_strSupport) << "the member holds the text shown";
        EXPECT_NE(-1, seen.text.Find('\n')) << "'#' is a line break";
        EXPECT_EQ(kSkinPaleYellow, seen.corner);
        EXPECT_TRUE(seen.boldFont);
        EXPECT_EQ((DWORD)BS_OWNERDRAW, seen.okType) << "the hover button";
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    LoadLanguageFile("english");
}

TEST(SupportDlg, EscapeCancels)
{
    LoadLanguageFile("english");
    CSupportDlg dlg;
    DialogDriver driver([](HWND w) { PressEscape(w); });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(driver.Acted());
}

TEST(SupportDlg, TenDialogsLeaveNoHandle)
{
    LoadLanguageFile("english");
    std::unique_ptr<LiveGdiCheck> check;
    for (int i = 0; i < 11; ++i) {
        if (i == 1)
            check = std::make_unique<LiveGdiCheck>();
        CSupportDlg dlg;
        DialogDriver driver([](HWND w) { Press(w, IDOK); });
        EXPECT_EQ(IDOK, dlg.DoModal());
    }
    EXPECT_TRUE(check->Unchanged());
}

TEST(InfoDlg, ShowsItsTextAndEndsWithOK)
{
    CInfoDlg dlg;
    CString text;
    bool bound = false;
    DialogDriver driver([&](HWND w) {
        text = ItemText(w, IDC_INFO_TEXT);
        bound = dlg.m_text.m_hWnd == ::GetDlgItem(w, IDC_INFO_TEXT);
        SaveScreenshot(w, "periphery_info");
        Press(w, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_STREQ("Sugarleaf Studio", (LPCTSTR)text);
    EXPECT_TRUE(bound) << "the static is the dialog's member";
}

} // namespace

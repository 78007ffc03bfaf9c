// The colour picker in a real dialog, used with the pointer through the display (xdotool)
// and with keys posted to its popup: the popup opens under the picker, hovering reports
// without changing the picker, a release outside cancels, the keyboard walks the grid with
// its wraps and reaches "More..." from both ends, "More..." opens the colour dialog, the
// popup stays on the screen, and a popup that cannot be made leaves the picker usable.
#include "ui/ColourPicker.h"
#include "ui/tests/input/Xdo.h"
#include "ui/tests/ui_test_res.h"
#include "ui/tests/ui_test_util.h"

#include "testsupport/DialogDriver.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Note
{
    UINT message;
    COLORREF colour;
    LPARAM id;
    bool operator==(const Note& o) const { return message == o.message && colour == o.colour && id == o.id; }
};
std::ostream& operator<<(std::ostream& os, const Note& n)
{
    return os << "{CPN " << n.message - WM_USER << ", " << std::hex << n.colour << std::dec << ", id " << n.id << "}";
}

int g_popupsMade = 0;
int g_popupsAlive = 0;

// A popup whose window cannot be made.
class FailingPopup : public CColourPopup
{
public:
    FailingPopup() { ++g_popupsAlive; }
    ~FailingPopup() override { --g_popupsAlive; }
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};

class FailingPicker : public CColourPicker
{
protected:
    CColourPopup* NewPopup(CPoint pos, COLORREF colour) override
    {
        ++g_popupsMade;
        auto* popup = new FailingPopup;
        popup->Create(pos, colour, this, "More...");
        return popup;
    }
};

class PickerDialog : public CDialog
{
public:
    PickerDialog() : CDialog(IDD_T_PICKER, nullptr) {}
    ~PickerDialog() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }
    bool Open(int x, int y)
    {
        if (!Create(IDD_T_PICKER))
            return false;
        MoveTo(x, y);
        return true;
    }
    void MoveTo(int x, int y)
    {
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        ::SetForegroundWindow(m_hWnd);
        UpdateWindow();
        PumpPending();
    }
    std::vector<Note> NotesSince(size_t first) const
    {
        return std::vector<Note>(notes.begin() + (long)std::min(first, notes.size()), notes.end());
    }
    size_t Count(UINT message) const
    {
        size_t count = 0;
        for (const Note& n : notes)
            count += n.message == message ? 1 : 0;
        return count;
    }
    bool Got(UINT message) const { return Count(message) > 0; }

    CColourPicker picker;
    FailingPicker failing;
    std::vector<Note> notes;
    int parentClicks = 0;
    COLORREF exchanged = RGB(9, 8, 7);

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_T_PICKER, picker);
        DDX_Control(dx, IDC_T_PICKER_TALL, failing);
        DDX_ColourPicker(dx, IDC_T_PICKER, exchanged);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= CPN_SELCHANGE && message <= CPN_SELENDCANCEL)
            notes.push_back({message, (COLORREF)wParam, lParam});
        return CDialog::WindowProc(message, wParam, lParam);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (CDialog::OnCommand(wParam, lParam))
            return TRUE;
        if (lParam != 0 && HIWORD(wParam) == BN_CLICKED)
            ++parentClicks;
        return TRUE;
    }
    void OnOK() override {}
    void OnCancel() override {}
};

const COLORREF kGreen = RGB(0, 147, 0); // row 1, column 3
const COLORREF kBrown = RGB(165, 42, 0);
const COLORREF kNotInTable = RGB(1, 2, 3);

class ColourPickerInput : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Open(60, 60)); }
    void TearDown() override
    {
        // Whatever a failed check left open goes.
        if (HWND popup = ::GetCapture())
            ::PostMessage(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        PumpUntil([&] { return !dlg.picker.IsActive(); }, 2000);
    }
    // A real click on the picker; the open popup (it holds the capture).
    HWND ClickOpen(CWnd& picker)
    {
        const size_t drops = dlg.Count(CPN_DROPDOWN);
        const POINT p = ClickPoint(picker);
        if (!Xdo("mousemove %ld %ld click 1", p.x, p.y))
            return nullptr;
        if (!PumpUntil([&] {
                return dlg.Count(CPN_DROPDOWN) > drops && ::GetCapture() != nullptr && ::GetCapture() != picker.m_hWnd;
            }))
            return nullptr;
        PumpPending();
        return ::GetCapture();
    }
    // A point on the picker away from the last click: two clicks at one place in quick
    // succession would be a double click, which a button does not report as a click.
    static POINT ClickPoint(CWnd& picker)
    {
        static int count = 0;
        POINT p = CentreOf(picker.m_hWnd);
        p.x += (++count % 2 == 0) ? 12 : -12;
        return p;
    }
    static CColourPopup* PopupOf(HWND popup) { return dynamic_cast<CColourPopup*>(CWnd::FromHandlePermanent(popup)); }
    static POINT CellCentre(HWND popup, int row, int column)
    {
        CRect r;
        if (row == CColourPopup::kCustomRow)
            r = PopupOf(popup)->GetCustomRect();
        else
            PopupOf(popup)->GetCellRect(row, column, r);
        POINT p = r.CenterPoint();
        ::ClientToScreen(popup, &p);
        return p;
    }
    // The cells filled with the "chosen" face, seen in the popup's pixels.
    static std::vector<int> ChosenCells(HWND popup)
    {
        std::vector<int> cells;
        HDC dc = ::GetDC(popup);
        for (int i = 0; i < CColourPopup::kColourCount; ++i) {
            CRect r;
            PopupOf(popup)->GetCellRect(i / 8, i % 8, r);
            if (::GetPixel(dc, r.left + 2, r.top + 2) == ::GetSysColor(COLOR_3DLIGHT))
                cells.push_back(i);
        }
        ::ReleaseDC(popup, dc);
        return cells;
    }

    PickerDialog dlg;
};

TEST_F(ColourPickerInput, HeightIsTheArrowsWhateverTheTemplateSays)
{
    const int side = std::max(std::max(::GetSystemMetrics(SM_CXHTHUMB), 5 * ::GetSystemMetrics(SM_CXEDGE)),
                              std::max(::GetSystemMetrics(SM_CYVTHUMB), 5 * ::GetSystemMetrics(SM_CYEDGE)));
    for (CWnd* p : {(CWnd*)&dlg.picker, (CWnd*)&dlg.failing}) {
        CRect r;
        p->GetWindowRect(&r);
        EXPECT_EQ(side + 2 * ::GetSystemMetrics(SM_CYEDGE), r.Height());
        EXPECT_GT(r.Width(), 60) << "the template's width stays";
        EXPECT_EQ(BS_OWNERDRAW, (UINT)(p->GetStyle() & BS_TYPEMASK));
    }
}

TEST_F(ColourPickerInput, DataExchangeBothWays)
{
    EXPECT_EQ(RGB(9, 8, 7), dlg.picker.GetColour()) << "the dialog's start gave the picker the member";
    dlg.picker.SetColour(RGB(1, 2, 3));
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(RGB(1, 2, 3), dlg.exchanged);
    dlg.exchanged = RGB(4, 5, 6);
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(RGB(4, 5, 6), dlg.picker.GetColour());
    EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), dlg.picker.GetTextColour()) << "selection mode 2: the face colour";
}

TEST_F(ColourPickerInput, HoverReportsAndAReleaseOutsideCancels)
{
    dlg.picker.SetColour(kGreen);
    const int id = IDC_T_PICKER;
    HWND popup = ClickOpen(dlg.picker);
    ASSERT_NE(nullptr, popup) << "no popup after a click";
    EXPECT_TRUE(dlg.picker.IsActive());
    CRect picker, pr;
    dlg.picker.GetWindowRect(&picker);
    ::GetWindowRect(popup, &pr);
    EXPECT_EQ(picker.left, pr.left);
    EXPECT_EQ(picker.bottom, pr.top);
    ASSERT_NE(::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_3DFACE)) << "the chosen face cannot be told apart";
    EXPECT_EQ(std::vector<int>{11}, ChosenCells(popup)) << "green is entry 11";
    CaptureToPng({dlg.m_hWnd, popup}, "colour-popup");
    SaveScreenshot(popup, "colour-popup");

    const size_t start = dlg.notes.size();
    POINT p = CellCentre(popup, 0, 1);
    ASSERT_TRUE(Xdo("mousemove %ld %ld", p.x, p.y));
    ASSERT_TRUE(PumpUntil([&] { return dlg.notes.size() > start; }));
    EXPECT_EQ(kGreen, dlg.picker.GetColour()) << "without track selection the picker keeps its colour";
    p = CellCentre(popup, CColourPopup::kCustomRow, 0);
    ASSERT_TRUE(Xdo("mousemove %ld %ld", p.x, p.y));
    ASSERT_TRUE(PumpUntil([&] { return dlg.notes.size() > start + 1; }));
    SaveScreenshot(popup, "colour-popup-more-hot");

    // Outside the popup, on the dialog's caption above it (the display gives the program
    // only what happens over its own windows).
    CRect frame;
    dlg.GetWindowRect(&frame);
    ASSERT_LT(frame.top + 8, pr.top);
    ASSERT_TRUE(Xdo("mousemove %ld %ld click 1", frame.right - 12, frame.top + 8));
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(popup); })) << "the popup stays after a release outside";
    PumpPending();
    const std::vector<Note> expected = {{CPN_SELCHANGE, kBrown, id},
                                        {CPN_SELCHANGE, kGreen, id}, // "More..." reports the colour held
                                        {CPN_CLOSEUP, kGreen, id},
                                        {CPN_SELENDCANCEL, kGreen, id}};
    EXPECT_EQ(expected, dlg.NotesSince(start));
    EXPECT_EQ(kGreen, dlg.picker.GetColour());
    EXPECT_FALSE(dlg.picker.IsActive());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(ColourPickerInput, ColourNotInTheTableMarksNoCell)
{
    dlg.picker.SetColour(kNotInTable);
    HWND popup = ClickOpen(dlg.picker);
    ASSERT_NE(nullptr, popup);
    int row = 0, column = 0;
    PopupOf(popup)->GetChosenCell(row, column);
    EXPECT_EQ(CColourPopup::kCustomRow, row);
    EXPECT_EQ(std::vector<int>{}, ChosenCells(popup));
    SaveScreenshot(popup, "colour-popup-no-chosen-cell");
    ::PostMessage(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(popup); }));
    // Positive control: a table colour marks its one cell.
    dlg.picker.SetColour(kBrown);
    popup = ClickOpen(dlg.picker);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(std::vector<int>{1}, ChosenCells(popup));
}

// Keys from no hot cell; "More..." is (-2, -2).
TEST_F(ColourPickerInput, KeyboardTableWithItsWraps)
{
    dlg.picker.SetColour(kGreen);
    HWND popup = ClickOpen(dlg.picker);
    ASSERT_NE(nullptr, popup);
    CColourPopup* object = PopupOf(popup);
    const int M = CColourPopup::kCustomRow;
    struct Step
    {
        UINT key;
        int row, column;
    } steps[] = {
        {VK_RIGHT, 0, 0}, // from no cell: the first
        {VK_LEFT, 0, 7},  // wraps to the last column of the row
        {VK_RIGHT, 0, 0}, // and back
        {VK_UP, M, M},    // "More..." from the first row
        {VK_DOWN, 0, 0},  // and down again to the first cell
        {VK_UP, M, M},    //
        {VK_UP, 4, 0},    // from "More...": the last row
        {VK_DOWN, M, M},  // "More..." from the last row
        {VK_LEFT, 4, 7},  // from "More...": the last cell
        {VK_RIGHT, 4, 0}, // wraps within the last row
        {VK_UP, 3, 0},    //
        {VK_DOWN, 4, 0},  //
    };
    for (const Step& s : steps) {
        const size_t before = dlg.notes.size();
        ::PostMessage(popup, WM_KEYDOWN, s.key, 0);
        ASSERT_TRUE(PumpUntil([&] { return dlg.notes.size() > before; })) << "key " << s.key;
        int row = 0, column = 0;
        object->GetHotCell(row, column);
        EXPECT_EQ(s.row, row) << "key " << s.key << " to " << s.row << "," << s.column;
        EXPECT_EQ(s.column, column) << "key " << s.key << " to " << s.row << "," << s.column;
        const COLORREF shown = s.row == M ? kGreen : CColourPopup::kColours[s.row * 8 + s.column].colour;
        EXPECT_EQ((Note{CPN_SELCHANGE, shown, IDC_T_PICKER}), dlg.notes.back());
    }
    // Esc: the colour held before, cancelled.
    const size_t before = dlg.notes.size();
    ::PostMessage(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(popup); }));
    EXPECT_EQ((std::vector<Note>{{CPN_CLOSEUP, kGreen, IDC_T_PICKER}, {CPN_SELENDCANCEL, kGreen, IDC_T_PICKER}}),
              dlg.NotesSince(before));
    // Enter on a cell chooses it: OK, then the change.
    popup = ClickOpen(dlg.picker);
    ASSERT_NE(nullptr, popup);
    const size_t start = dlg.notes.size();
    ::PostMessage(popup, WM_KEYDOWN, VK_RIGHT, 0);
    ::PostMessage(popup, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(popup); }));
    EXPECT_EQ((std::vector<Note>{{CPN_SELCHANGE, RGB(0, 0, 0), IDC_T_PICKER},
                                 {CPN_CLOSEUP, RGB(0, 0, 0), IDC_T_PICKER},
                                 {CPN_SELENDOK, RGB(0, 0, 0), IDC_T_PICKER},
                                 {CPN_SELCHANGE, RGB(0, 0, 0), IDC_T_PICKER}}),
              dlg.NotesSince(start));
    EXPECT_EQ(RGB(0, 0, 0), dlg.picker.GetColour());
}

TEST_F(ColourPickerInput, EnterOnMoreOpensTheColourDialogWhoseCancelGivesTheColourHeld)
{
    dlg.picker.SetColour(kGreen);
    HWND popup = ClickOpen(dlg.picker);
    ASSERT_NE(nullptr, popup);
    const size_t before = dlg.notes.size();
    ::PostMessage(popup, WM_KEYDOWN, VK_DOWN, 0); // the first cell
    ::PostMessage(popup, WM_KEYDOWN, VK_UP, 0);   // "More..."
    ASSERT_TRUE(PumpUntil([&] { return dlg.notes.size() == before + 2; }));
    EXPECT_EQ((Note{CPN_SELCHANGE, kGreen, IDC_T_PICKER}), dlg.notes.back()) << "\"More...\" shows the colour held";
    CString title;
    CRect dialogRect;
    // Every dialog: the picker's own, open all along, is left alone.
    DialogDriver driver(DialogDriver::EveryDialog{}, [&](HWND colourDialog) {
        if (colourDialog == dlg.m_hWnd)
            return;
        title = WindowText(colourDialog);
        ::GetWindowRect(colourDialog, &dialogRect);
        CaptureToPng(colourDialog, "colour-dialog");
        Press(colourDialog, IDCANCEL);
    });
    const size_t start = dlg.notes.size();
    ::PostMessage(popup, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(popup); }, 20000));
    EXPECT_FALSE(title.IsEmpty()) << "no colour dialog";
    EXPECT_GT(dialogRect.Width(), dialogRect.Height()) << "opened in full, with the custom part";
    EXPECT_EQ((std::vector<Note>{{CPN_CLOSEUP, kGreen, IDC_T_PICKER}, {CPN_SELENDOK, kGreen, IDC_T_PICKER}}),
              dlg.NotesSince(start))
        << "OK with the colour held before, and no change";
    EXPECT_EQ(kGreen, dlg.picker.GetColour());
}

TEST_F(ColourPickerInput, PopupStaysOnTheScreen)
{
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
    struct Case
    {
        const char* what;
        int x, y;
        bool left, above;
    } cases[] = {
        {"room everywhere", 60, 60, false, false},
        {"at the right edge", screenW - 90, 60, true, false},
        {"at the bottom", 60, screenH - 80, false, true},
        {"in the corner", screenW - 90, screenH - 80, true, true},
    };
    for (const Case& c : cases) {
        dlg.MoveTo(c.x, c.y);
        HWND popup = ClickOpen(dlg.picker);
        ASSERT_NE(nullptr, popup) << c.what;
        CRect picker, pr;
        dlg.picker.GetWindowRect(&picker);
        ::GetWindowRect(popup, &pr);
        if (c.left)
            EXPECT_EQ(screenW, pr.right) << c.what;
        else
            EXPECT_EQ(picker.left, pr.left) << c.what;
        if (c.above)
            EXPECT_EQ(picker.top, pr.bottom) << c.what << ": opens above the picker";
        else
            EXPECT_EQ(picker.bottom, pr.top) << c.what;
        ::PostMessage(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(popup); })) << c.what;
        dlg.notes.clear();
    }
}

// A popup whose window cannot be made: the picker is not left "active" (every click tries
// again instead of going to the parent) and the popup object is gone.
TEST_F(ColourPickerInput, PopupThatCannotBeMadeLeavesThePickerUsable)
{
    g_popupsMade = 0;
    g_popupsAlive = 0;
    for (int i = 1; i <= 2; ++i) {
        const POINT p = ClickPoint(dlg.failing);
        ASSERT_TRUE(Xdo("mousemove %ld %ld click 1", p.x, p.y));
        ASSERT_TRUE(PumpUntil([&] { return g_popupsMade == i; })) << "click " << i << " made no popup";
        PumpPending();
        EXPECT_FALSE(dlg.failing.IsActive()) << "click " << i;
        EXPECT_EQ(0, g_popupsAlive) << "click " << i << ": the popup object was left behind";
    }
    EXPECT_EQ(0, dlg.parentClicks) << "the clicks stayed with the picker";
    EXPECT_FALSE(dlg.Got(CPN_DROPDOWN)) << "nothing dropped down";
    // Positive control: the working picker beside it drops down.
    HWND popup = ClickOpen(dlg.picker);
    ASSERT_NE(nullptr, popup);
    EXPECT_TRUE(dlg.Got(CPN_DROPDOWN));
}

} // namespace

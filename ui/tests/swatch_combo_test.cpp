// The swatch list: the five boxes of an item (slot geometry and the file's colour order),
// what a disabled, an empty and a selected item show; and a fill panel's list used through
// its buttons and its list, with the swatches file read back as bytes.
#include "ui/SwatchCombo.h"

#include "model/swatches/SwatchFile.h"
#include "testsupport/DibSurface.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"
#include "ui/tests/ui_test_res.h"
#include "ui/tests/ui_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const COLORREF kBack = RGB(1, 1, 1);
const COLORREF kC1 = RGB(200, 0, 0), kC2 = RGB(0, 200, 0), kC3 = RGB(0, 0, 200), kC4 = RGB(200, 200, 0),
               kC5 = RGB(0, 200, 200);

SwatchRecord Swatch(DWORD id, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4, COLORREF c5)
{
    SwatchRecord r = {};
    r.id = id;
    r.colour[0] = c1;
    r.colour[1] = c2;
    r.colour[2] = c3;
    r.colour[3] = c4;
    r.colour[4] = c5;
    return r;
}

int Sum(const std::vector<int>& v)
{
    int total = 0;
    for (int n : v)
        total += n;
    return total;
}

class SwatchComboDraw : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HWND h = ::CreateWindow("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0, 0,
                                100, 100, parent.Hwnd(), (HMENU)(INT_PTR)1105, nullptr, nullptr);
        ASSERT_TRUE(combo.SubclassWindow(h));
        map.SetAt(Swatch(7, kC1, kC2, kC3, kC4, kC5));
        combo.SetRecordMap(&map);
    }
    // One list item of key `key` drawn at (0, 0, width, 6) of a fresh surface.
    void Draw(DibSurface& s, int width, UINT item, DWORD key, UINT state, UINT action = ODA_DRAWENTIRE)
    {
        DRAWITEMSTRUCT dis = DrawRequest(combo.m_hWnd, s.Hdc(), CRect(0, 0, width, 6), state);
        dis.CtlType = ODT_COMBOBOX;
        dis.itemID = item;
        dis.itemData = key;
        dis.itemAction = action;
        combo.DrawItem(&dis);
    }
    // The colour of each column of row 3, as runs "colour x count".
    static std::vector<std::pair<COLORREF, int>> Runs(const DibSurface& s)
    {
        std::vector<std::pair<COLORREF, int>> runs;
        for (int x = 0; x < s.Width(); ++x) {
            const COLORREF c = s.At(x, 3);
            if (!runs.empty() && runs.back().first == c)
                ++runs.back().second;
            else
                runs.push_back({c, 1});
        }
        return runs;
    }

    TestParent parent{0, 0, 120, 80};
    CSwatchCombo combo;
    CRecordMap map;
};

// Slot s = width / 5; box i spans [trunc(i s), trunc(i s) + trunc(s + 1)), drawn left to
// right, so a later box covers the pixel its neighbour spilled over; colours 1, 2, 5, 3, 4.
TEST_F(SwatchComboDraw, FiveBoxesInTheFileOrder)
{
    struct Case
    {
        int width;
        std::vector<int> run; // columns of colours 1, 2, 5, 3, 4
    } cases[] = {
        {20, {4, 4, 4, 4, 5}}, // s 4: boxes 5 wide; the last one ends a pixel past the edge
        {23, {4, 5, 4, 5, 5}}, // s 4.6: lefts 0, 4, 9, 13, 18, the last ends at 23
        {24, {4, 5, 5, 5, 5}}, // s 4.8: lefts 0, 4, 9, 14, 19
        {22, {4, 4, 5, 4, 5}}, // s 4.4: lefts 0, 4, 8, 13, 17
    };
    for (const Case& c : cases) {
        DibSurface s(c.width + 3, 6, kBack);
        Draw(s, c.width, 0, 7, 0);
        const std::vector<std::pair<COLORREF, int>> expected = {{kC1, c.run[0]}, {kC2, c.run[1]},
                                                                {kC5, c.run[2]}, {kC3, c.run[3]},
                                                                {kC4, c.run[4]}, {kBack, c.width + 3 - Sum(c.run)}};
        EXPECT_EQ(expected, Runs(s)) << "width " << c.width;
        EXPECT_EQ(kC4, s.At(c.width - 1, 0)) << "full height";
        EXPECT_EQ(kC1, s.At(0, 5)) << "full height";
    }
}

TEST_F(SwatchComboDraw, DisabledEmptySelectedAndFocusedItems)
{
    DibSurface plain(25, 6, kBack);
    Draw(plain, 25, 0, 7, 0);
    ASSERT_EQ(kC1, plain.At(0, 3)) << "positive control: an enabled item shows its colours";

    struct Case
    {
        const char* what;
        UINT item;
        DWORD key;
        UINT state;
        UINT action;
        bool boxes;
        bool focus;
    } cases[] = {
        {"disabled", 0, 7, ODS_DISABLED, ODA_DRAWENTIRE, false, false},
        {"greyed", 0, 7, ODS_GRAYED, ODA_DRAWENTIRE, false, false},
        {"no record for the key", 0, 8, 0, ODA_DRAWENTIRE, false, false},
        {"empty list, focused", (UINT)-1, 7, ODS_FOCUS, ODA_DRAWENTIRE, false, true},
        {"selected: no highlight", 0, 7, ODS_SELECTED, ODA_DRAWENTIRE, true, false},
        {"focused", 0, 7, ODS_SELECTED | ODS_FOCUS, ODA_DRAWENTIRE, true, true},
        {"focused, selection change only", 0, 7, ODS_SELECTED | ODS_FOCUS, ODA_SELECT, true, false},
    };
    for (const Case& c : cases) {
        DibSurface s(25, 6, kBack);
        Draw(s, 25, c.item, c.key, c.state, c.action);
        if (c.boxes) {
            // The inside shows the boxes exactly as unselected (the focus rectangle, when
            // there is one, only on the border).
            for (int x = 1; x < 24; ++x)
                EXPECT_EQ(plain.At(x, 3), s.At(x, 3)) << c.what << " x " << x;
        } else {
            EXPECT_EQ(kBack, s.At(12, 3)) << c.what << ": no boxes";
        }
        const bool border = s.At(0, 0) != (c.boxes ? kC1 : kBack) || s.At(2, 0) != (c.boxes ? kC1 : kBack);
        EXPECT_EQ(c.focus, border) << c.what << ": focus rectangle";
    }
}

// A fill panel's swatch list: the panel gives and takes five colours and counts what it is
// told.
class SwatchDialog : public CDialog, public CSwatchPanel
{
public:
    SwatchDialog() : CDialog(IDD_T_SWATCHES, nullptr), list(combo, *this) {}
    ~SwatchDialog() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }
    bool Open(LPCTSTR path)
    {
        list.SetFilePath(path);
        if (!Create(IDD_T_SWATCHES))
            return false;
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 300, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        list.Fill();
        UpdateWindow();
        PumpPending();
        return true;
    }
    void GetSwatchColours(COLORREF out[5]) const override
    {
        for (int i = 0; i < 5; ++i)
            out[i] = colours[i];
    }
    void SetSwatchColours(const COLORREF in[5]) override
    {
        for (int i = 0; i < 5; ++i)
            colours[i] = in[i];
        ++applied;
    }
    void SwatchesChanged(bool designChanged) override
    {
        ++changes;
        designChanges += designChanged ? 1 : 0;
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < combo.GetCount(); ++i) {
            CString t;
            combo.GetLBText(i, t);
            EXPECT_EQ(atoi(t), (int)combo.GetItemData(i)) << "item data is the key";
            out.push_back((LPCTSTR)t);
        }
        return out;
    }
    // The user picks entry `index` in the list.
    void Pick(int index)
    {
        combo.SetCurSel(index);
        PostMessage(WM_COMMAND, MAKEWPARAM(IDC_T_SWATCH_LIST, CBN_SELENDOK), (LPARAM)combo.m_hWnd);
    }

    CSwatchCombo combo;
    CSwatchList list;
    COLORREF colours[5] = {};
    int applied = 0, changes = 0, designChanges = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_T_SWATCH_LIST, combo); }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (list.OnCommand(wParam, lParam))
            return TRUE;
        return CDialog::OnCommand(wParam, lParam);
    }
    void OnOK() override {}
    void OnCancel() override {}
};

std::string ReadBytes(const CString& path)
{
    std::string bytes;
    if (FILE* f = fopen(path, "rb")) {
        char buffer[512];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, got);
        fclose(f);
    }
    return bytes;
}

void WriteBytes(const CString& path, const std::string& bytes)
{
    if (FILE* f = fopen(path, "wb")) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
}

TEST(SwatchList, AddApplyAndRemoveThroughThePanel)
{
    char temp[MAX_PATH];
    ::GetTempPath(MAX_PATH, temp);
    CString path;
    path.Format("%ssl_swatchlist_%lu.txt", temp, ::GetCurrentProcessId());
    const std::string grey = "9,9,9,9,9,9,9,9,9,9,9,9,9,9,9\r\n";
    const std::string red = "255,0,0,255,0,0,255,0,0,255,0,0,255,0,0\r\n";
    const std::string plum = "1,2,3,4,5,6,13,14,15,7,8,9,10,11,12\r\n"; // colour 5 third
    WriteBytes(path, grey + "not a swatch\r\n" + red + plum);

    SwatchDialog dlg;
    ASSERT_TRUE(dlg.Open(path));
    EXPECT_EQ((std::vector<std::string>{"3", "2", "1", "0"}), dlg.Entries()) << "the map's order";
    for (int i = 0; i < 5; ++i)
        dlg.colours[i] = RGB(255, 255, 255);
    EXPECT_EQ(-1, dlg.list.Match()) << "the built-in swatch";

    // The list as it shows: the selected swatch in the edit part, nothing when disabled.
    dlg.combo.SetCurSel(0); // key 3: plum
    const auto shown = [&] {
        dlg.combo.RedrawWindow();
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        ::GetComboBoxInfo(dlg.combo.m_hWnd, &info);
        HDC dc = ::GetDC(dlg.combo.m_hWnd);
        const COLORREF c = ::GetPixel(dc, info.rcItem.left + 3, (info.rcItem.top + info.rcItem.bottom) / 2);
        ::ReleaseDC(dlg.combo.m_hWnd, dc);
        return c;
    };
    EXPECT_EQ(RGB(1, 2, 3), shown()) << "colour 1 of the selected swatch";
    dlg.combo.EnableWindow(FALSE);
    EXPECT_NE(RGB(1, 2, 3), shown()) << "a disabled list shows empty items";
    dlg.combo.EnableWindow(TRUE);
    EXPECT_EQ(RGB(1, 2, 3), shown());

    // Add the panel's colours: a new line, key 4 + 1, appended and selected.
    const COLORREF mine[5] = {RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90), RGB(100, 110, 120),
                              RGB(130, 140, 150)};
    for (int i = 0; i < 5; ++i)
        dlg.colours[i] = mine[i];
    EXPECT_EQ(0, dlg.list.Match());
    Press(dlg.m_hWnd, IDC_T_SWATCH_ADD);
    ASSERT_TRUE(PumpUntil([&] { return dlg.changes == 1; }));
    const std::string mineLine = "10,20,30,40,50,60,130,140,150,70,80,90,100,110,120\r\n";
    EXPECT_EQ(grey + "not a swatch\r\n" + red + plum + mineLine, ReadBytes(path));
    EXPECT_EQ((std::vector<std::string>{"3", "2", "1", "0", "5"}), dlg.Entries());
    EXPECT_EQ(4, dlg.combo.GetCurSel());
    EXPECT_EQ(1, dlg.list.Match());
    // The same again: the line is there, nothing changes.
    Press(dlg.m_hWnd, IDC_T_SWATCH_ADD);
    ASSERT_TRUE(PumpUntil([&] { return dlg.changes == 2; }));
    EXPECT_EQ(grey + "not a swatch\r\n" + red + plum + mineLine, ReadBytes(path));
    EXPECT_EQ(5, dlg.combo.GetCount());

    // Picking the plum swatch gives the panel its colours in their places.
    dlg.Pick(0);
    ASSERT_TRUE(PumpUntil([&] { return dlg.applied == 1; }));
    const COLORREF plumColours[5] = {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9), RGB(10, 11, 12), RGB(13, 14, 15)};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(plumColours[i], dlg.colours[i]) << "colour " << i + 1;

    // Removing it: its line leaves the file (the bad line stays), its entry the list.
    Press(dlg.m_hWnd, IDC_T_SWATCH_REMOVE);
    ASSERT_TRUE(PumpUntil([&] { return dlg.changes == 3; }));
    EXPECT_EQ(1, dlg.designChanges);
    EXPECT_EQ(grey + "not a swatch\r\n" + red + mineLine, ReadBytes(path));
    EXPECT_EQ((std::vector<std::string>{"2", "1", "0", "5"}), dlg.Entries());
    EXPECT_EQ(0, dlg.list.Match()) << "the panel still holds plum, which no swatch has now";

    // Adding plum back: four keys, 5 taken, so 6; nothing replaced.
    Press(dlg.m_hWnd, IDC_T_SWATCH_ADD);
    ASSERT_TRUE(PumpUntil([&] { return dlg.changes == 4; }));
    EXPECT_EQ((std::vector<std::string>{"2", "1", "0", "5", "6"}), dlg.Entries());
    SwatchRecord r = {};
    ASSERT_TRUE(dlg.list.Map().Lookup(r, 5));
    EXPECT_EQ(mine[0], r.colour[0]) << "swatch 5 kept";

    // With the list open, for a person to look at.
    dlg.combo.ShowDropDown(TRUE);
    PumpPending();
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(dlg.combo.m_hWnd, &info));
    CaptureToPng({dlg.m_hWnd, info.hwndList}, "swatch-list");
    dlg.combo.ShowDropDown(FALSE);
    ::DeleteFile(path);
}

} // namespace

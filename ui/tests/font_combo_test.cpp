// The face list: filled from the screen's faces, sorted, item 0 selected; every row of a
// TrueType face carries the glyph of bitmap 130 (the edit part's too) and a raster face's
// does not; each style puts the name and the sample where it says; items measure 22 high.
#include "ui/FontComboBox.h"

#include "testsupport/DibSurface.h"
#include "testsupport/Dump.h"
#include "testsupport/Pump.h"
#include "ui/tests/ui_test_res.h"
#include "ui/tests/ui_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

class FontDialog : public CDialog
{
public:
    FontDialog() : CDialog(IDD_T_FONTS, nullptr) {}
    ~FontDialog() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }
    bool Open(int style)
    {
        if (!Create(IDD_T_FONTS))
            return false;
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 500, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        faces.m_style = style;
        faces.m_sampleText = "Cake";
        faces.FillFonts();
        UpdateWindow();
        PumpPending();
        return true;
    }
    CString Face(int i) const
    {
        CString t;
        faces.GetLBText(i, t);
        return t;
    }
    // The first item whose type flags hold `flag`; -1 when none.
    int FirstOf(DWORD flag) const
    {
        for (int i = 0; i < faces.GetCount(); ++i)
            if ((faces.GetItemData(i) & flag) != 0)
                return i;
        return -1;
    }

    CFontComboBox faces;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_T_FONT_LIST, faces); }
    void OnOK() override {}
    void OnCancel() override {}
};

// Item `i` drawn at (0, 0, width, 22) of the surface.
void DrawFace(FontDialog& dlg, DibSurface& s, int i, UINT state, int top = 0)
{
    DRAWITEMSTRUCT dis = DrawRequest(dlg.faces.m_hWnd, s.Hdc(), CRect(0, top, s.Width(), top + 22), state);
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = (UINT)i;
    dis.itemData = i >= 0 ? dlg.faces.GetItemData(i) : 0;
    dlg.faces.DrawItem(&dis);
}

// Two pixels of the glyph (its black stem, its grey bar) at its place (5, 4) in an item.
bool GlyphAt(COLORREF stem, COLORREF bar) { return stem == RGB(0, 0, 0) && bar == RGB(0xA0, 0xA0, 0xA0); }
bool HasGlyph(const DibSurface& s, int top = 0) { return GlyphAt(s.At(5 + 6, top + 4 + 8), s.At(5 + 2, top + 4 + 3)); }

// Columns at or right of x0 with any pixel other than the background.
std::vector<bool> InkColumns(const DibSurface& s, COLORREF back)
{
    std::vector<bool> ink(s.Width(), false);
    for (int x = 0; x < s.Width(); ++x)
        for (int y = 0; y < s.Height(); ++y)
            if (s.At(x, y) != back)
                ink[x] = true;
    return ink;
}
int FirstInk(const std::vector<bool>& ink, int from, int to)
{
    for (int x = from; x < to && x < (int)ink.size(); ++x)
        if (ink[x])
            return x;
    return -1;
}

TEST(FontCombo, FilledSortedWithItemZeroSelected)
{
    FontDialog dlg;
    ASSERT_TRUE(dlg.Open(CFontComboBox::kStyleNameOwnFace));
    ASSERT_GT(dlg.faces.GetCount(), 3);
    EXPECT_EQ(0, dlg.faces.GetCurSel());
    for (int i = 1; i < dlg.faces.GetCount(); ++i)
        EXPECT_LT(lstrcmpi(dlg.Face(i - 1), dlg.Face(i)), 0)
            << dlg.Face(i - 1) << " before " << dlg.Face(i) << ": sorted, each face once";
    EXPECT_EQ(22, dlg.faces.GetItemHeight(0));
    EXPECT_EQ(0, dlg.faces.m_nameWidth) << "style 0 measures no widths";
    EXPECT_EQ(0, dlg.faces.m_sampleWidth);

    FontDialog two;
    ASSERT_TRUE(two.Open(CFontComboBox::kStyleNameSample));
    EXPECT_GT(two.faces.m_nameWidth, 50) << "style 2 keeps the widest name";
    EXPECT_GT(two.faces.m_sampleWidth, 0);
}

TEST(FontCombo, TrueTypeGlyphInEveryRowAndNoneForARasterFace)
{
    FontDialog dlg;
    ASSERT_TRUE(dlg.Open(CFontComboBox::kStyleName)); // names right of the glyph's place
    const int trueType = dlg.FirstOf(TRUETYPE_FONTTYPE);
    // This display has no raster faces; a device (Type 1) face is as much "not TrueType".
    int other = -1;
    for (int i = 0; i < dlg.faces.GetCount() && other < 0; ++i)
        if ((dlg.faces.GetItemData(i) & TRUETYPE_FONTTYPE) == 0)
            other = i;
    ASSERT_GE(trueType, 0) << "no TrueType face to look at";
    ASSERT_GE(other, 0) << "no face other than TrueType to look at";

    int withGlyph = 0;
    for (int i = 0; i < dlg.faces.GetCount(); ++i) {
        DibSurface s(200, 22, kWhite);
        DrawFace(dlg, s, i, 0);
        const bool tt = (dlg.faces.GetItemData(i) & TRUETYPE_FONTTYPE) != 0;
        EXPECT_EQ(tt, HasGlyph(s)) << dlg.Face(i);
        withGlyph += tt ? 1 : 0;
    }
    EXPECT_GT(withGlyph, 0);
    for (UINT state : {(UINT)ODS_COMBOBOXEDIT, (UINT)(ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS)}) {
        DibSurface edit(200, 22, kWhite);
        DrawFace(dlg, edit, trueType, state);
        EXPECT_TRUE(HasGlyph(edit)) << "the edit part, state " << state;
        DibSurface otherEdit(200, 22, kWhite);
        DrawFace(dlg, otherEdit, other, state);
        EXPECT_FALSE(HasGlyph(otherEdit)) << "the edit part of " << dlg.Face(other) << ", state " << state;
        // A raster face's item as the enumeration marks it.
        DibSurface raster(200, 22, kWhite);
        DRAWITEMSTRUCT dis = DrawRequest(dlg.faces.m_hWnd, raster.Hdc(), CRect(0, 0, 200, 22), state);
        dis.CtlType = ODT_COMBOBOX;
        dis.itemID = (UINT)other;
        dis.itemData = RASTER_FONTTYPE;
        dlg.faces.DrawItem(&dis);
        EXPECT_FALSE(HasGlyph(raster)) << "a raster face, state " << state;
    }

    // The real list, dropped down: each row shown carries the glyph by its face's kind.
    dlg.faces.ShowDropDown(TRUE);
    PumpPending();
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(dlg.faces.m_hWnd, &info));
    HWND list = info.hwndList;
    ::UpdateWindow(list);
    CaptureToPng({dlg.m_hWnd, list}, "font-list");
    const int top = (int)::SendMessage(list, LB_GETTOPINDEX, 0, 0);
    CRect client;
    ::GetClientRect(list, &client);
    HDC dc = ::GetDC(list);
    int rows = 0;
    for (int i = top; i < dlg.faces.GetCount(); ++i) {
        CRect r;
        if (::SendMessage(list, LB_GETITEMRECT, i, (LPARAM)&r) == LB_ERR || r.bottom > client.bottom)
            break;
        const bool shown = GlyphAt(::GetPixel(dc, r.left + 11, r.top + 12), ::GetPixel(dc, r.left + 7, r.top + 7));
        EXPECT_EQ((dlg.faces.GetItemData(i) & TRUETYPE_FONTTYPE) != 0, shown) << "row of " << dlg.Face(i);
        ++rows;
    }
    ::ReleaseDC(list, dc);
    EXPECT_GT(rows, 3) << "the list showed too few rows to look at";
    dlg.faces.ShowDropDown(FALSE);
}

// Where each style puts the name and the sample (widths fixed, so the places are known).
TEST(FontCombo, StylesPlaceNameAndSample)
{
    FontDialog dlg;
    ASSERT_TRUE(dlg.Open(CFontComboBox::kStyleName));
    int face = dlg.faces.FindStringExact(-1, "Liberation Sans");
    if (face < 0)
        face = dlg.FirstOf(TRUETYPE_FONTTYPE);
    ASSERT_GE(face, 0);
    ASSERT_NE(0u, dlg.faces.GetItemData(face) & TRUETYPE_FONTTYPE);
    const int kText = 20; // 10 past the left edge, then 10 more
    DibSurface all(320, 22 * 6, kWhite);
    for (int style = 0; style <= 4; ++style) {
        dlg.faces.m_style = style;
        dlg.faces.m_nameWidth = 150;
        dlg.faces.m_sampleWidth = 90;
        DibSurface s(320, 22, kWhite);
        DrawFace(dlg, s, face, 0);
        DrawFace(dlg, all, face, 0, 22 * style);
        const std::vector<bool> ink = InkColumns(s, kWhite);
        EXPECT_TRUE(HasGlyph(s)) << "style " << style;
        const int first = FirstInk(ink, 16, 320);
        EXPECT_GE(first, kText) << "style " << style;
        EXPECT_LE(first, kText + 5) << "style " << style;
        switch (style) {
        case 2: // name, then the sample past the measured name width
            EXPECT_EQ(-1, FirstInk(ink, kText + 130, kText + 150 + 10)) << "gap before the sample";
            EXPECT_NE(-1, FirstInk(ink, kText + 150 + 10, 320)) << "the sample";
            break;
        case 3: // sample, then the name past the measured sample width
            EXPECT_EQ(-1, FirstInk(ink, kText + 70, kText + 90 + 10)) << "gap before the name";
            EXPECT_NE(-1, FirstInk(ink, kText + 90 + 10, 320)) << "the name";
            break;
        default: // one text only
            EXPECT_EQ(-1, FirstInk(ink, kText + 150, 320)) << "style " << style << ": one text";
            break;
        }
    }
    // Selected: the highlight behind the item.
    dlg.faces.m_style = CFontComboBox::kStyleNameOwnFace;
    DrawFace(dlg, all, face, ODS_SELECTED, 22 * 5);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), all.At(300, 22 * 5 + 2));
    DumpPng(all, "font-styles");
}

} // namespace

// The toolkit's resources as the program loads them: every skin bitmap registered in
// res/assets.csv loads by its id with its row's size, depth and baked background; the scroll
// bar thumbs carry their marker pixels, the knobs their blue corners; the hand cursor loads
// by number and by name; the dialog templates are there. A gallery of every skin bitmap is
// saved for a person to look at.
#include "ui/Skin.h"
#include "ui/tests/ui_test_util.h"

#include "res/ui_res.h"
#include "testsupport/DibSurface.h"
#include "testsupport/Dump.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Row
{
    std::string id, symbol, kind, file, size, depth, background, generator, params;
};

std::vector<Row> ReadRows()
{
    std::vector<Row> rows;
    const char* source = getenv("SL_SOURCE_DIR");
    if (source == nullptr)
        return rows;
    std::ifstream in(std::string("Z:") + source + "/res/assets.csv");
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, ','))
            f.push_back(cell);
        f.resize(9);
        rows.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]});
    }
    return rows;
}

// The bitmap as the program loads it, read back as pixels.
struct Loaded
{
    explicit Loaded(UINT id)
        : bitmap((HBITMAP)::LoadImage(::GetModuleHandle(nullptr), MAKEINTRESOURCE(id), IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION))
    {
        if (bitmap != nullptr)
            ::GetObject(bitmap, sizeof dib, &dib);
    }
    ~Loaded()
    {
        if (bitmap != nullptr)
            ::DeleteObject(bitmap);
    }
    COLORREF At(int x, int y) const
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        const COLORREF c = ::GetPixel(dc, x, y);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        return c;
    }
    int Width() const { return dib.dsBm.bmWidth; }
    int Height() const { return dib.dsBm.bmHeight; }
    HBITMAP bitmap;
    DIBSECTION dib = {};
};

COLORREF ParseColour(const std::string& hex)
{
    const unsigned long v = strtoul(hex.c_str() + 1, nullptr, 16);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

TEST(SkinAssets, EveryBitmapRowLoadsWithItsSizeDepthAndBackground)
{
    const std::vector<Row> rows = ReadRows();
    ASSERT_FALSE(rows.empty()) << "res/assets.csv not read (SL_SOURCE_DIR)";
    int skins = 0;
    for (const Row& row : rows) {
        if (row.generator != "skin")
            continue;
        ++skins;
        const UINT id = (UINT)atoi(row.id.c_str());
        Loaded b(id);
        ASSERT_NE(nullptr, b.bitmap) << row.symbol << " does not load";
        int w = 0, h = 0;
        sscanf(row.size.c_str(), "%dx%d", &w, &h);
        EXPECT_EQ(w, b.Width()) << row.symbol;
        EXPECT_EQ(h, b.Height()) << row.symbol;
        EXPECT_EQ(atoi(row.depth.c_str()), b.dib.dsBm.bmBitsPixel) << row.symbol;
        EXPECT_EQ(0u, b.dib.dsBmih.biClrUsed) << row.symbol << ": no palette";
        if (!row.background.empty()) {
            EXPECT_EQ(ParseColour(row.background), b.At(0, 0)) << row.symbol << ": its baked background";
        }
    }
    EXPECT_GE(skins, 56);
}

// The ids other parts load by number, each with its exact size.
TEST(SkinAssets, KnownIdsAndSizes)
{
    struct
    {
        UINT id;
        int w, h;
    } cases[] = {
        {201, 25, 12}, {589, 25, 12}, {203, 1, 12},  {204, 25, 12}, {205, 25, 12},
        {206, 12, 25}, {207, 12, 25}, {590, 12, 1},  {591, 12, 25}, {210, 12, 25},
        {610, 48, 48}, {130, 15, 12}, {603, 16, 16}, {629, 16, 16}, {614, 48, 48},
    };
    for (const auto& c : cases) {
        Loaded b(c.id);
        ASSERT_NE(nullptr, b.bitmap) << c.id;
        EXPECT_EQ(c.w, b.Width()) << c.id;
        EXPECT_EQ(c.h, b.Height()) << c.id;
    }
    Loaded help(IDB_HELP_IMAGE);
    EXPECT_EQ(kSkinHelpMask, help.At(0, 0)) << "the colour the tooltip's image list masks out";
    EXPECT_EQ(24, help.dib.dsBm.bmBitsPixel);
    Loaded glyph(IDB_FONT_GLYPH);
    for (int x = 10; x < 15; ++x)
        for (int y = 0; y < 12; ++y)
            ASSERT_EQ(RGB(255, 255, 255), glyph.At(x, y)) << "one 10-pixel image: column " << x << " is blank";
}

// The scroll bar recolours the thumbs' marked pixels: 204 and 591 hold all four markers,
// 205 and 210 all but the thumb colour; the ends carry the channel's markers.
TEST(SkinAssets, ThumbMarkers)
{
    struct
    {
        UINT id;
        std::set<int> markers;
        POINT firstEnd, lastEnd, grip;
    } cases[] = {
        {IDB_SCROLL_THUMB_H_COLOURED, {1, 2, 3, 4}, {0, 0}, {24, 11}, {12, 6}},
        {IDB_SCROLL_THUMB_H, {2, 3, 4}, {0, 11}, {24, 0}, {12, 5}},
        {IDB_SCROLL_THUMB_V_COLOURED, {1, 2, 3, 4}, {11, 0}, {0, 24}, {6, 12}},
        {IDB_SCROLL_THUMB_V, {2, 3, 4}, {0, 0}, {11, 24}, {5, 12}},
    };
    for (const auto& c : cases) {
        Loaded b(c.id);
        ASSERT_NE(nullptr, b.bitmap) << c.id;
        std::set<int> found;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                const COLORREF p = b.At(x, y);
                if (GetRValue(p) == 0 && GetGValue(p) == 0 && GetBValue(p) >= 1 && GetBValue(p) <= 4)
                    found.insert(GetBValue(p));
            }
        EXPECT_EQ(c.markers, found) << c.id;
        EXPECT_EQ(RGB(0, 0, 3), b.At(c.firstEnd.x, c.firstEnd.y)) << c.id;
        EXPECT_EQ(RGB(0, 0, 4), b.At(c.lastEnd.x, c.lastEnd.y)) << c.id;
        EXPECT_EQ(RGB(0, 0, 2), b.At(c.grip.x, c.grip.y)) << c.id;
    }
}

TEST(SkinAssets, KnobsAreSquareWithBlueCorners)
{
    for (UINT id : {IDB_SKIN_KNOB_LINEAR, IDB_SKIN_KNOB, IDB_SKIN_KNOB_ROTATE}) {
        Loaded b(id);
        ASSERT_NE(nullptr, b.bitmap) << id;
        EXPECT_EQ(b.Width(), b.Height()) << id;
        const int e = b.Width() - 1;
        for (POINT p : {POINT{0, 0}, POINT{e, 0}, POINT{0, e}, POINT{e, e}})
            EXPECT_EQ(RGB(66, 154, 252), b.At(p.x, p.y)) << id << " at " << p.x << "," << p.y;
        EXPECT_NE(RGB(66, 154, 252), b.At(e / 2, e / 2)) << id << ": the knob itself";
    }
}

TEST(SkinAssets, HandCursorByNumberAndByName)
{
    HINSTANCE module = ::GetModuleHandle(nullptr);
    const LPCTSTR names[] = {MAKEINTRESOURCE(IDC_HAND_CURSOR), "IDC_HAND"};
    for (LPCTSTR name : names) {
        HCURSOR cursor = (HCURSOR)::LoadImage(module, name, IMAGE_CURSOR, 0, 0, 0);
        ASSERT_NE(nullptr, cursor);
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(cursor, &info));
        BITMAP mask = {};
        ::GetObject(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(32, mask.bmWidth);
        EXPECT_FALSE(info.fIcon);
        if (info.hbmMask != nullptr)
            ::DeleteObject(info.hbmMask);
        if (info.hbmColor != nullptr)
            ::DeleteObject(info.hbmColor);
        ::DestroyCursor(cursor);
    }
}

// The progress dialog's template: an untitled popup with the bar at 7, 8, 172 x 14 units.
TEST(SkinAssets, ProgressTemplate)
{
    CDialog dlg(IDD_PROGRESS_DLG, nullptr);
    ASSERT_TRUE(dlg.Create(IDD_PROGRESS_DLG));
    EXPECT_EQ(0, dlg.GetWindowTextLength());
    EXPECT_NE((DWORD)WS_CAPTION, dlg.GetStyle() & WS_CAPTION) << "no title bar";
    CRect units(0, 0, 186, 30), client;
    dlg.MapDialogRect(units);
    dlg.GetClientRect(&client);
    EXPECT_EQ(units.Width(), client.Width());
    EXPECT_EQ(units.Height(), client.Height());
    CRect bar(7, 8, 7 + 172, 8 + 14), placed;
    dlg.MapDialogRect(bar);
    HWND control = ::GetDlgItem(dlg.m_hWnd, IDC_PROGRESS_BAR);
    ASSERT_NE(nullptr, control);
    ::GetWindowRect(control, &placed);
    dlg.ScreenToClient(&placed);
    EXPECT_EQ(bar, placed);
    char cls[32] = {};
    ::GetClassName(control, cls, sizeof cls);
    EXPECT_STREQ(PROGRESS_CLASS, cls);
    dlg.DestroyWindow();
}

// Every skin bitmap side by side at twice its size on grey, for a person to look at.
TEST(SkinAssets, Gallery)
{
    const std::vector<Row> rows = ReadRows();
    ASSERT_FALSE(rows.empty());
    const int cell = 2 * 48 + 8, across = 10;
    int count = 0;
    for (const Row& row : rows)
        count += row.generator == "skin";
    DibSurface gallery(across * cell, ((count + across - 1) / across) * cell, RGB(128, 128, 128));
    int n = 0;
    for (const Row& row : rows) {
        if (row.generator != "skin")
            continue;
        Loaded b((UINT)atoi(row.id.c_str()));
        ASSERT_NE(nullptr, b.bitmap) << row.symbol;
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, b.bitmap);
        const int x = (n % across) * cell + 4, y = (n / across) * cell + 4;
        ::StretchBlt(gallery.Hdc(), x, y, 2 * b.Width(), 2 * b.Height(), dc, 0, 0, b.Width(), b.Height(), SRCCOPY);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        EXPECT_EQ(b.At(b.Width() / 2, b.Height() / 2), gallery.At(x + b.Width(), y + b.Height())) << row.symbol;
        ++n;
    }
    DumpPng(gallery.Bitmap(), "skin-gallery");
}

} // namespace

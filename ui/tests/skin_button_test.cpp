// The skinned button drawn through DrawItem onto tiny surfaces: which colour slot fills it in
// each state, its borders, where image and caption go for each alignment, an image larger
// than the button, the disabled look; and its setters' results.
#include "ui/SkinButton.h"
#include "ui/Skin.h"
#include "ui/tests/ui_test_util.h"

#include "base/OpenUrl.h"
#include "base/Sound.h"
#include "res/ui_res.h"
#include "testsupport/DibSurface.h"
#include "testsupport/GdiCheck.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const COLORREF kHoverBack = RGB(200, 10, 10);
const COLORREF kNormalBack = RGB(255, 255, 255);
const COLORREF kFocusBack = RGB(10, 200, 10);
const COLORREF kCaption = RGB(0, 0, 255);
const COLORREF kImage = RGB(255, 0, 0);

// The button with its hover state reachable, as the pointer would set it.
class ProbeButton : public CSkinButton
{
public:
    void SetHover(BOOL hover) { m_bHover = hover; }
};

class SkinButtonDraw : public ::testing::Test
{
protected:
    // A real button window (its caption is the window text), drawn onto surfaces.
    void Make(const char* caption, DWORD style = BS_PUSHBUTTON)
    {
        HWND h = parent.AddButton(100, style, caption, CRect(0, 0, 40, 24));
        ASSERT_TRUE(button.SubclassWindow(h));
        button.SetColor(kSlotHoverBack, kHoverBack, FALSE);
        button.SetColor(kSlotNormalBack, kNormalBack, FALSE);
        button.SetColor(kSlotFocusBack, kFocusBack, FALSE);
        button.SetColor(kSlotNormalText, kCaption, FALSE);
    }
    void Draw(DibSurface& surface, const RECT& item, UINT state)
    {
        DRAWITEMSTRUCT dis = DrawRequest(button.GetSafeHwnd(), surface.Hdc(), item, state);
        button.DrawItem(&dis);
    }

    TestParent parent{0, 0, 120, 80};
    ProbeButton button;
};

TEST_F(SkinButtonDraw, BackgroundSlotByState)
{
    Make("");
    struct
    {
        const char* what;
        BOOL hover;
        UINT state;
        COLORREF back;
    } cases[] = {
        {"normal", FALSE, 0, kNormalBack},
        {"hovered", TRUE, 0, kHoverBack},
        {"focused", FALSE, ODS_FOCUS, kFocusBack},
        {"pressed", FALSE, ODS_SELECTED, kHoverBack},
        {"hovered and focused", TRUE, ODS_FOCUS, kHoverBack},
    };
    for (const auto& c : cases) {
        DibSurface surface(40, 24, RGB(1, 2, 3));
        button.SetHover(c.hover);
        Draw(surface, CRect(0, 0, 40, 24), c.state);
        EXPECT_EQ(c.back, surface.At(0, 0)) << c.what;
        EXPECT_EQ(c.back, surface.At(39, 23)) << c.what;
        EXPECT_EQ(40 * 24, CountOf(surface, c.back)) << c.what << ": a flat button draws no focus mark";
    }
}

TEST_F(SkinButtonDraw, BorderColoursAndCaptionSlot)
{
    Make("H");
    button.SetDrawOption(TRUE, FALSE);
    struct
    {
        UINT state;
        COLORREF border;
    } cases[] = {{0, kSkinBorderNormal}, {ODS_SELECTED, kSkinBorderPressed}};
    for (const auto& c : cases) {
        DibSurface surface(40, 24, RGB(1, 2, 3));
        Draw(surface, CRect(0, 0, 40, 24), c.state);
        EXPECT_EQ(c.border, surface.At(0, 0));
        EXPECT_EQ(c.border, surface.At(39, 23));
        EXPECT_EQ(c.border, surface.At(20, 0));
        EXPECT_NE(c.border, surface.At(1, 1)) << "one pixel wide";
        EXPECT_GT(CountOf(surface, kCaption), 0) << "the caption is drawn in slot 3";
    }
    // The hover and focus caption slots are kept but never drawn.
    button.SetColor(kSlotHoverText, RGB(0, 255, 0), FALSE);
    button.SetColor(kSlotFocusText, RGB(0, 255, 0), FALSE);
    button.SetHover(TRUE);
    DibSurface surface(40, 24, RGB(1, 2, 3));
    Draw(surface, CRect(0, 0, 40, 24), ODS_FOCUS);
    EXPECT_GT(CountOf(surface, kCaption), 0);
    EXPECT_EQ(0, CountOf(surface, RGB(0, 255, 0)));
}

// An 8 x 6 image on a 40 x 24 button, with and without a caption, in each alignment: the
// image lands where the alignment puts it, and the caption stays in its own part.
TEST_F(SkinButtonDraw, ImageAndCaptionPlacement)
{
    struct
    {
        int align;
        const char* caption;
        CRect image;
        CRect captionRoom;
    } cases[] = {
        {kAlignImageLeft, "A", CRect(3, 9, 11, 15), CRect(11, 1, 40, 25)},
        {kAlignImageLeft, "", CRect(16, 9, 24, 15), CRect()},
        {kAlignImageAbove, "A", CRect(16, 3, 24, 9), CRect(0, 7, 40, 25)},
        {kAlignImageAbove, "", CRect(16, 9, 24, 15), CRect()},
        {kAlignImageRight, "A", CRect(29, 9, 37, 15), CRect(3, 1, 29, 25)},
        {kAlignImageRight, "", CRect(16, 9, 24, 15), CRect()},
        {kAlignOverlap, "A", CRect(0, 0, 8, 6), CRect(0, 1, 40, 25)},
        {kAlignOverlap, "", CRect(0, 0, 8, 6), CRect()},
    };
    int n = 0;
    for (const auto& c : cases) {
        TestParent host(0, 100, 60, 40);
        HWND h = host.AddButton(100 + n++, BS_PUSHBUTTON, c.caption, CRect(0, 0, 40, 24));
        ProbeButton b;
        ASSERT_TRUE(b.SubclassWindow(h));
        b.SetColor(kSlotNormalBack, kNormalBack, FALSE);
        b.SetColor(kSlotNormalText, kCaption, FALSE);
        ASSERT_EQ(kSkinOk, b.SetAlign(c.align, FALSE));
        ASSERT_EQ(kSkinOk, b.SetBitmaps(SolidBitmap(8, 6, kImage), 0, nullptr, 0));
        DibSurface surface(40, 24, RGB(1, 2, 3));
        DRAWITEMSTRUCT dis = DrawRequest(h, surface.Hdc(), CRect(0, 0, 40, 24), 0);
        b.DrawItem(&dis);
        EXPECT_EQ(c.image, BoundsOf(surface, kImage)) << "align " << c.align << " caption '" << c.caption << "'";
        EXPECT_EQ(48, CountOf(surface, kImage)) << "align " << c.align;
        const CRect text = BoundsOf(surface, kCaption);
        if (c.captionRoom.IsRectEmpty()) {
            EXPECT_TRUE(text.IsRectEmpty());
            continue;
        }
        ASSERT_FALSE(text.IsRectEmpty()) << "align " << c.align;
        CRect inside;
        inside.IntersectRect(text, c.captionRoom);
        EXPECT_EQ(text, inside) << "align " << c.align << ": the caption stays in its room";
    }
}

// An image twice the button's size is centred on it and clipped by it: the button shows the
// middle of the image, and nothing outside the button is touched.
TEST(SkinButtonImage, OversizedImageIsCentredAndClipped)
{
    const COLORREF quadrant[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    for (int align : {kAlignImageLeft, kAlignImageAbove, kAlignImageRight}) {
        TestParent parent(0, 0, 60, 40);
        HWND h = parent.AddButton(100, BS_PUSHBUTTON, "", CRect(0, 0, 20, 20));
        CSkinButton b;
        ASSERT_TRUE(b.SubclassWindow(h));
        b.SetColor(kSlotNormalBack, kNormalBack, FALSE);
        b.SetAlign(align, FALSE);
        ASSERT_EQ(kSkinOk, b.SetBitmaps(PatternBitmap(40, 40,
                                                      [&](int x, int y) {
                                                          return quadrant[(x >= 20 ? 1 : 0) + (y >= 20 ? 2 : 0)];
                                                      }),
                                        0, nullptr, 0));
        DibSurface surface(40, 40, RGB(1, 2, 3));
        DRAWITEMSTRUCT dis = DrawRequest(h, surface.Hdc(), CRect(10, 10, 30, 30), 0);
        b.DrawItem(&dis);
        EXPECT_EQ(quadrant[0], surface.At(10, 10)) << "align " << align;
        EXPECT_EQ(quadrant[1], surface.At(29, 10)) << "align " << align;
        EXPECT_EQ(quadrant[2], surface.At(10, 29)) << "align " << align;
        EXPECT_EQ(quadrant[3], surface.At(29, 29)) << "align " << align;
        EXPECT_EQ(quadrant[0], surface.At(19, 19)) << "the image's centre on the button's centre";
        EXPECT_EQ(quadrant[3], surface.At(20, 20));
        EXPECT_EQ(RGB(1, 2, 3), surface.At(9, 9)) << "clipped by the button";
        EXPECT_EQ(RGB(1, 2, 3), surface.At(30, 30));
        EXPECT_EQ(RGB(1, 2, 3), surface.At(0, 0));
        b.UnsubclassWindow();
    }
}

// Disabled: the image at 25 % over the background and no caption; enabled: the image whole
// and the caption drawn.
TEST_F(SkinButtonDraw, DisabledDrawsTheImageAtAQuarterAndNoCaption)
{
    Make("H");
    button.SetAlign(kAlignImageLeft, FALSE);
    ASSERT_EQ(kSkinOk, button.SetBitmaps(SolidBitmap(8, 6, RGB(0, 0, 0)), 0, nullptr, 0));
    struct
    {
        UINT state;
        int lowest, highest; // the image's red channel
        bool caption;
    } cases[] = {{ODS_DISABLED, 190, 193, false}, {0, 0, 0, true}};
    for (const auto& c : cases) {
        DibSurface surface(40, 24, RGB(1, 2, 3));
        Draw(surface, CRect(0, 0, 40, 24), c.state);
        const int red = GetRValue(surface.At(6, 12)); // inside the image at (3, 9)
        EXPECT_LE(c.lowest, red) << c.state;
        EXPECT_GE(c.highest, red) << c.state;
        EXPECT_EQ(c.caption, CountOf(surface, kCaption) > 0) << c.state;
    }
    // The opacity setter counts only while enabled.
    button.SetOpacity(50);
    DibSurface half(40, 24, RGB(1, 2, 3));
    Draw(half, CRect(0, 0, 40, 24), 0);
    EXPECT_NEAR(127, GetRValue(half.At(6, 12)), 1);
}

TEST_F(SkinButtonDraw, HoverAndNormalImages)
{
    Make("");
    button.SetAlign(kAlignOverlap, FALSE);
    ASSERT_EQ(kSkinOk, button.SetBitmaps(SolidBitmap(4, 4, RGB(0, 255, 0)), 0, SolidBitmap(4, 4, kImage), 0));
    struct
    {
        BOOL hover;
        UINT state;
        COLORREF image;
    } cases[] = {{FALSE, 0, kImage}, {TRUE, 0, RGB(0, 255, 0)}, {FALSE, ODS_SELECTED, RGB(0, 255, 0)}};
    for (const auto& c : cases) {
        DibSurface surface(40, 24, RGB(1, 2, 3));
        button.SetHover(c.hover);
        Draw(surface, CRect(0, 0, 40, 24), c.state);
        EXPECT_EQ(c.image, surface.At(2, 2)) << c.hover << " " << c.state;
    }
}

// ---- setters ----

TEST(SkinButtonSetters, ResultsAndBadValues)
{
    CSkinButton b;
    COLORREF before[kSkinSlots];
    for (int i = 0; i < kSkinSlots; ++i)
        ASSERT_EQ(kSkinOk, b.GetColor(i, &before[i]));
    struct
    {
        int slot;
        DWORD result;
    } slots[] = {{6, kSkinBadSlot}, {255, kSkinBadSlot}, {0x106, kSkinBadSlot}};
    for (const auto& s : slots) {
        EXPECT_EQ(s.result, b.SetColor(s.slot, RGB(9, 9, 9), FALSE)) << s.slot;
        COLORREF dummy;
        EXPECT_EQ(kSkinBadSlot, b.GetColor(s.slot, &dummy)) << s.slot;
        for (int i = 0; i < kSkinSlots; ++i) {
            COLORREF now;
            b.GetColor(i, &now);
            EXPECT_EQ(before[i], now) << "slot " << s.slot << " changed slot " << i;
        }
    }
    // Only the low byte of a slot counts: 0x105 is slot 5.
    EXPECT_EQ(kSkinOk, b.SetColor(0x105, RGB(9, 9, 9), FALSE));
    COLORREF five;
    b.GetColor(5, &five);
    EXPECT_EQ(RGB(9, 9, 9), five);

    EXPECT_EQ(kSkinBadAlign, b.SetAlign(4, FALSE));
    EXPECT_EQ(kSkinBadAlign, b.SetAlign(-1, FALSE));
    EXPECT_EQ(kSkinOk, b.SetAlign(3, FALSE));
}

TEST(SkinButtonSetters, InitialColoursAndDefaults)
{
    CSkinButton b;
    const COLORREF expected[kSkinSlots] = {::GetSysColor(COLOR_BTNFACE), kSkinWhite,
                                           ::GetSysColor(COLOR_BTNFACE), kSkinWhite,
                                           ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNTEXT)};
    for (int i = 0; i < kSkinSlots; ++i) {
        COLORREF c;
        b.GetColor(i, &c);
        EXPECT_EQ(expected[i], c) << "slot " << i;
    }
    b.SetDefaultColors(FALSE);
    for (int i = 0; i < kSkinSlots; ++i) {
        COLORREF c;
        b.GetColor(i, &c);
        EXPECT_EQ(::GetSysColor(i % 2 == 0 ? COLOR_BTNFACE : COLOR_BTNTEXT), c) << "slot " << i;
    }
}

TEST(SkinButtonSetters, BitmapsThatCannotBeUsedLeaveNone)
{
    TestParent parent(0, 0, 60, 40);
    HWND h = parent.AddButton(100, BS_PUSHBUTTON, "", CRect(0, 0, 40, 24));
    CSkinButton b;
    ASSERT_TRUE(b.SubclassWindow(h));
    b.SetColor(kSlotNormalBack, kNormalBack, FALSE);
    auto imagePixels = [&]() {
        DibSurface surface(40, 24, RGB(1, 2, 3));
        DRAWITEMSTRUCT dis = DrawRequest(h, surface.Hdc(), CRect(0, 0, 40, 24), 0);
        b.DrawItem(&dis);
        return CountOf(surface, kImage);
    };
    ASSERT_EQ(kSkinOk, b.SetBitmaps(SolidBitmap(8, 6, kImage), 0, nullptr, 0));
    EXPECT_EQ(48, imagePixels()) << "a usable bitmap is drawn";
    // A handle that is no bitmap cannot be measured: result 1 and nothing kept.
    EXPECT_EQ(kSkinImageUnmeasured, b.SetBitmaps((HBITMAP)(INT_PTR)0x7777, 0, nullptr, 0));
    EXPECT_EQ(0, imagePixels());
    ASSERT_EQ(kSkinOk, b.SetBitmaps(SolidBitmap(8, 6, kImage), 0, nullptr, 0));
    // A first id that does not load: result 0, no bitmap at all.
    EXPECT_EQ(kSkinOk, b.SetBitmaps(65000u, 0, 0u, 0));
    EXPECT_EQ(0, imagePixels());
}

TEST(SkinButtonSetters, ReleasesEveryImageOnce)
{
    LiveGdiCheck check;
    {
        CSkinButton b;
        for (int i = 0; i < 20; ++i) {
            b.SetBitmaps(SolidBitmap(8, 8, kImage), 0, SolidBitmap(8, 8, kCaption), 0);
            b.SetBitmaps(SolidBitmap(8, 8, kImage), 0, nullptr, 0);
        }
        b.SetBitmaps(nullptr, 0, SolidBitmap(8, 8, kImage), 0); // the second alone is not kept
    }
    EXPECT_TRUE(check.Unchanged(2));
}

TEST(SkinButtonSetters, MenuAndCursorThatDoNotLoad)
{
    CSkinButton b;
    EXPECT_EQ(kSkinLoadFailed, b.SetMenu(65001, nullptr, FALSE));
    EXPECT_EQ(kSkinLoadFailed, b.SetBtnCursor(65001, FALSE));
    EXPECT_EQ(kSkinOk, b.SetBtnCursor(IDC_HAND_CURSOR, FALSE)) << "the program's hand";
    EXPECT_EQ(kSkinOk, b.SetBtnCursor(0, FALSE));
}

// ---- the window ----

// The template's button type decides check-box mode and the default button; the window
// becomes owner-drawn either way, and the dialog manager's style changes keep it so.
TEST(SkinButtonWindow, TypeKeptAsModes)
{
    struct
    {
        DWORD style;
        BOOL checkBox, isDefault;
        UINT dlgCode;
    } cases[] = {
        {BS_PUSHBUTTON, FALSE, FALSE, DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, FALSE, TRUE, DLGC_DEFPUSHBUTTON},
        {BS_AUTOCHECKBOX, TRUE, FALSE, DLGC_UNDEFPUSHBUTTON},
        {BS_CHECKBOX, TRUE, FALSE, DLGC_UNDEFPUSHBUTTON},
    };
    TestParent parent(0, 0, 60, 40);
    int id = 100;
    for (const auto& c : cases) {
        HWND h = parent.AddButton(id++, c.style, "x", CRect(0, 0, 40, 24));
        CSkinButton b;
        ASSERT_TRUE(b.SubclassWindow(h));
        EXPECT_EQ((DWORD)BS_OWNERDRAW, b.GetStyle() & BS_TYPEMASK) << c.style;
        EXPECT_EQ(c.checkBox, b.IsCheckBox()) << c.style;
        EXPECT_EQ(c.isDefault, b.GetDefault()) << c.style;
        const UINT code = (UINT)::SendMessage(h, WM_GETDLGCODE, 0, 0);
        EXPECT_EQ(c.dlgCode, code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) << c.style;
        b.UnsubclassWindow();
    }
    HWND h = parent.AddButton(id, BS_PUSHBUTTON, "x", CRect(0, 0, 40, 24));
    CSkinButton b;
    ASSERT_TRUE(b.SubclassWindow(h));
    ::SendMessage(h, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(b.GetDefault());
    EXPECT_EQ((DWORD)BS_OWNERDRAW, b.GetStyle() & BS_TYPEMASK);
    ::SendMessage(h, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(b.GetDefault());
    EXPECT_EQ((DWORD)BS_OWNERDRAW, b.GetStyle() & BS_TYPEMASK);
    b.UnsubclassWindow();
}

std::vector<std::string> g_opened;
std::vector<int> g_shows;
INT_PTR RecordUrl(LPCTSTR url, int show)
{
    g_opened.push_back(url);
    g_shows.push_back(show);
    return 42;
}

// An address of any length is kept whole and handed to the open-URL seam, maximised.
TEST(SkinButtonWindow, LongAddressReachesTheOpenerWhole)
{
    OpenUrlHandler previous = SetOpenUrlHandler(&RecordUrl);
    g_opened.clear();
    g_shows.clear();
    std::string url = "http://example.invalid/";
    url.append(400, 'a');
    url += "/end";
    TestParent parent(0, 0, 60, 40);
    HWND h = parent.AddButton(100, BS_PUSHBUTTON, "x", CRect(0, 0, 40, 24));
    CSkinButton b;
    ASSERT_TRUE(b.SubclassWindow(h));
    b.SetURL(url.c_str());
    EXPECT_STREQ(url.c_str(), (LPCTSTR)b.GetURL());
    ::SendMessage(parent.Hwnd(), WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), (LPARAM)h); // the button's click
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ(url, g_opened[0]);
    EXPECT_EQ(SW_SHOWMAXIMIZED, g_shows[0]);
    b.SetURL(nullptr);
    ::SendMessage(parent.Hwnd(), WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), (LPARAM)h); // the button's click
    EXPECT_EQ(1u, g_opened.size()) << "no address, nothing opened";
    EXPECT_EQ(2, parent.Clicks(100)) << "the parent gets each click too";
    b.UnsubclassWindow();
    SetOpenUrlHandler(previous);
}

} // namespace

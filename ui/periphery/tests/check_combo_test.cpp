// The icon check box in a real window (its check messages, clicks, hover, lamp and icons,
// the icons it owns) and the image combo box (item sizes from the largest image, refused
// text, removal and selection by image, the drawn and the faded image).
#include "ui/periphery/IconCheckBox.h"
#include "ui/periphery/ImageComboBox.h"
#include "ui/tests/ui_test_util.h"

#include "testsupport/DibSurface.h"
#include "testsupport/GdiCheck.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

const int kCheck = 4101;
const int kCombo = 4102;

bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!::GetIconInfo(icon, &info))
        return false;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return true;
}
HICON NewIcon(LPCTSTR stock) { return ::CopyIcon(::LoadIcon(nullptr, stock)); }

class IconCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HWND button = parent.AddButton(kCheck, BS_AUTOCHECKBOX | WS_TABSTOP, "Sprinkles", CRect(10, 10, 160, 40));
        ASSERT_TRUE(box.SubclassWindow(button));
    }
    COLORREF LampCentre()
    {
        box.RedrawWindow();
        PumpPending();
        // Item 150 x 30, less 3 a side: lamp 15 across from x 3, top (24 - 15) / 2 + 2 = 6.
        HDC dc = ::GetDC(box.m_hWnd);
        const COLORREF c = ::GetPixel(dc, 3 + 7, 6 + 7);
        ::ReleaseDC(box.m_hWnd, dc);
        return c;
    }
    TestParent parent{80, 80, 300, 120};
    CIconCheckBox box;
};

TEST_F(IconCheckTest, BecomesOwnerDrawn) { EXPECT_EQ((DWORD)BS_OWNERDRAW, box.GetStyle() & 0x1F); }

TEST_F(IconCheckTest, CheckMessages)
{
    struct
    {
        WPARAM set;
        LRESULT got;
    } cases[] = {{BST_CHECKED, 1}, {BST_UNCHECKED, 0}, {BST_INDETERMINATE, 1}, {3, 0}, {1, 1}, {7, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(0, ::SendMessage(box.m_hWnd, BM_SETCHECK, c.set, 0));
        EXPECT_EQ(c.got, ::SendMessage(box.m_hWnd, BM_GETCHECK, 0, 0)) << c.set;
        EXPECT_EQ((int)c.got, box.GetCheck());
    }
}

TEST_F(IconCheckTest, ClicksToggle)
{
    struct
    {
        int before, after;
    } cases[] = {{0, 1}, {1, 0}, {2, 0}, {5, 0}};
    for (const auto& c : cases) {
        box.SetCheck(c.before, FALSE);
        Press(parent.m_hWnd, kCheck);
        ASSERT_TRUE(PumpUntil([&] { return box.GetCheck() != c.before; }, 3000)) << c.before;
        EXPECT_EQ(c.after, box.GetCheck()) << c.before;
    }
}

TEST_F(IconCheckTest, LampShowsTheState)
{
    box.SetCheck(1);
    EXPECT_EQ(RGB(0, 255, 0), LampCentre()) << "on";
    box.SetCheck(0);
    EXPECT_EQ(RGB(0, 127, 0), LampCentre()) << "off";
    box.SetLampColours(RGB(255, 0, 0), RGB(0, 0, 128));
    box.SetCheck(1);
    EXPECT_EQ(RGB(255, 0, 0), LampCentre()) << "own colours";
    box.EnableWindow(FALSE);
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), LampCentre()) << "disabled: grey whatever the state";
    box.SetCheck(0);
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), LampCentre());
    EXPECT_FALSE(box.SetLampSize(-1));
    EXPECT_TRUE(box.SetLampSize(0));
}

TEST_F(IconCheckTest, DragOverDoesNotHover)
{
    ::SendMessage(box.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 10));
    EXPECT_FALSE(box.IsHovering()) << "a drag passing over";
    ::SendMessage(box.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    EXPECT_TRUE(box.IsHovering()) << "the pointer alone";
    ::SendMessage(box.m_hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(box.IsHovering());
}

TEST_F(IconCheckTest, IconsAreOwnedAndDestroyed)
{
    HICON a = NewIcon(IDI_APPLICATION), b = NewIcon(IDI_WARNING);
    HICON c = NewIcon(IDI_INFORMATION), d = NewIcon(IDI_ERROR);
    EXPECT_TRUE(box.SetIcons(a, b));
    EXPECT_TRUE(IconAlive(a) && IconAlive(b));
    EXPECT_TRUE(box.SetIcons(c, d));
    EXPECT_FALSE(IconAlive(a)) << "replaced: destroyed";
    EXPECT_FALSE(IconAlive(b));
    EXPECT_TRUE(IconAlive(c) && IconAlive(d));
    box.SetCheck(1);
    box.UpdateWindow();
    box.DestroyWindow();
    {
        CIconCheckBox gone;
        HWND button = parent.AddButton(kCheck + 1, BS_CHECKBOX, "x", CRect(10, 50, 100, 80));
        ASSERT_TRUE(gone.SubclassWindow(button));
        EXPECT_TRUE(gone.SetIcons(c, d));
    }
    EXPECT_FALSE(IconAlive(c)) << "the control's end destroys its icons";
    EXPECT_FALSE(IconAlive(d));
}

TEST_F(IconCheckTest, EachTooltipTextAddsATool)
{
    box.SetTooltipText(nullptr);
    EXPECT_EQ(0, box.GetToolCount());
    box.SetTooltipText("first");
    box.SetTooltipText("second");
    EXPECT_EQ(2, box.GetToolCount());
}

TEST(IconCheckBox, NoHandleLeftByTenControls)
{
    TestParent parent(80, 80, 300, 120);
    LiveGdiCheck check;
    for (int i = 0; i < 10; ++i) {
        CIconCheckBox box;
        ASSERT_TRUE(box.SubclassWindow(parent.AddButton(kCheck, BS_CHECKBOX, "Lamp", CRect(10, 10, 160, 40))));
        if (i % 2)
            box.SetIcons(NewIcon(IDI_APPLICATION), NewIcon(IDI_WARNING));
        box.SetTooltipText("tip");
        box.SetCheck(i % 3);
        box.UpdateWindow();
        box.EnableWindow(FALSE);
        box.UpdateWindow();
        box.DestroyWindow();
    }
    EXPECT_TRUE(check.Unchanged());
}

// --- the image combo box ---

class ImageComboTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | WS_VSCROLL,
                                 CRect(10, 10, 200, 300), &parent, kCombo));
    }
    static std::unique_ptr<Gdiplus::Bitmap> Image(int w, int h, Gdiplus::Color c)
    {
        auto b = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat32bppARGB);
        Gdiplus::Graphics g(b.get());
        g.Clear(c);
        return b;
    }
    TestParent parent{80, 80, 300, 320};
    CImageComboBox combo;
};

TEST_F(ImageComboTest, ItemSizesFollowTheLargestImage)
{
    auto wide = Image(32, 16, Gdiplus::Color::Red), tall = Image(16, 48, Gdiplus::Color::Blue);
    EXPECT_EQ(0, combo.AddImage(wide.get()));
    EXPECT_EQ(22, combo.GetItemHeight(0));
    EXPECT_EQ(1, combo.AddImage(tall.get()));
    for (int i : {0, 1})
        EXPECT_EQ(54, combo.GetItemHeight(i)) << i;
    // The selection field: Wine counts its 2-pixel frame in.
    EXPECT_GE(combo.GetItemHeight(-1), 54);
    EXPECT_LE(combo.GetItemHeight(-1), 56);
    MEASUREITEMSTRUCT m = {};
    combo.MeasureItem(&m);
    EXPECT_EQ(34u, m.itemWidth);
    EXPECT_EQ(50u, m.itemHeight);
    EXPECT_EQ(1, combo.GetCurSel()) << "the new image is chosen";

    EXPECT_EQ(2, combo.InsertImage(2, nullptr));
    EXPECT_EQ(1, combo.GetCurSel()) << "no image: the choice stays";
    EXPECT_EQ(64, combo.GetMaxWidth());
    for (int i : {0, 1, 2})
        EXPECT_EQ(70, combo.GetItemHeight(i)) << i;
    EXPECT_GE(combo.GetItemHeight(-1), 70);
}

TEST_F(ImageComboTest, TextIsRefused)
{
    auto a = Image(8, 8, Gdiplus::Color::Red);
    combo.AddImage(a.get());
    EXPECT_EQ(CB_ERR, combo.AddString("text"));
    EXPECT_EQ(CB_ERR, combo.InsertString(0, "text"));
    EXPECT_EQ(CB_ERR, combo.DeleteString(0));
    EXPECT_EQ(1, combo.GetCount());
    EXPECT_EQ(a.get(), combo.GetItemDataPtr(0));
}

TEST_F(ImageComboTest, RemoveAndSelectByImage)
{
    auto a = Image(8, 8, Gdiplus::Color::Red), b = Image(8, 8, Gdiplus::Color::Blue);
    combo.AddImage(a.get());
    combo.AddImage(b.get());
    combo.AddImage(a.get());
    combo.SelectImage(a.get());
    EXPECT_EQ(2, combo.GetCurSel()) << "the last one wins";
    combo.SelectImage(b.get());
    EXPECT_EQ(1, combo.GetCurSel());
    combo.RemoveImage(a.get());
    ASSERT_EQ(1, combo.GetCount());
    EXPECT_EQ(b.get(), combo.GetItemDataPtr(0));
    EXPECT_EQ(8u, a->GetWidth()) << "the caller's bitmap lives on";
}

TEST_F(ImageComboTest, DrawsTheImageFadedWhenDisabled)
{
    auto red = Image(8, 8, Gdiplus::Color(255, 255, 0, 0));
    combo.AddImage(red.get());
    DibSurface s(40, 20, RGB(255, 255, 255));
    DRAWITEMSTRUCT item = DrawRequest(combo.m_hWnd, s.Hdc(), CRect(0, 0, 40, 20), 0);
    item.CtlType = ODT_COMBOBOX;
    item.itemID = 0;
    item.itemData = (ULONG_PTR)red.get();
    item.itemAction = ODA_DRAWENTIRE;
    combo.DrawItem(&item);
    EXPECT_EQ(RGB(255, 0, 0), s.At(20, 10)) << "stretched over the item";
    s.Clear(RGB(255, 255, 255));
    combo.EnableWindow(FALSE);
    combo.DrawItem(&item);
    const COLORREF faded = s.At(20, 10);
    EXPECT_EQ(255, GetRValue(faded));
    EXPECT_NEAR(191, GetGValue(faded), 3) << "a quarter of the red over white";
    EXPECT_NEAR(191, GetBValue(faded), 3);
}

TEST(ImageComboBox, NoHandleLeftByTenControls)
{
    TestParent parent(80, 80, 300, 320);
    Gdiplus::Bitmap image(24, 24, PixelFormat32bppARGB);
    std::unique_ptr<LiveGdiCheck> check;
    for (int i = 0; i < 11; ++i) {
        if (i == 1) // after a first round has filled the system's caches
            check = std::make_unique<LiveGdiCheck>();
        CImageComboBox combo;
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE,
                                 CRect(10, 10, 200, 200), &parent, kCombo));
        combo.AddImage(&image);
        combo.UpdateWindow();
        combo.DestroyWindow();
    }
    EXPECT_TRUE(check->Unchanged());
}

} // namespace

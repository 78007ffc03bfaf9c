// The periphery controls together on a striped window, for a person to look at: bevel lines
// with flat and turned captions, a drawn slider over the stripes, icon check boxes with
// lamps and with icons (enabled and disabled) and the image combo box dropped down.  The
// picture is the display's own, taken with the list open.
#include "ui/periphery/DrawnSlider.h"
#include "ui/periphery/IconCheckBox.h"
#include "ui/periphery/ImageComboBox.h"
#include "ui/periphery/RotBevelLine.h"
#include "ui/periphery/tests/periphery_test_util.h"
#include "ui/tests/ui_test_util.h"

#include "testsupport/Pump.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class Gallery : public CWnd
{
public:
    Gallery()
    {
        CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), "gallery", WS_POPUP, 40, 40,
                 560, 330, nullptr, nullptr);
        ShowWindow(SW_SHOWNOACTIVATE);
    }
    ~Gallery() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        for (int x = 0; x < 560; x += 6)
            dc.FillSolidRect(x, 0, 6, 330, (x / 6) % 2 ? RGB(236, 214, 170) : RGB(214, 186, 140));
    }
    HBRUSH OnCtlColor(CDC* dc, CWnd*, UINT)
    {
        dc->SetBkMode(TRANSPARENT);
        return ::GetSysColorBrush(COLOR_3DFACE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Gallery, CWnd)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

std::unique_ptr<Gdiplus::Bitmap> Swatch(int w, int h, Gdiplus::Color a, Gdiplus::Color b)
{
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat32bppARGB);
    Gdiplus::Graphics g(bitmap.get());
    Gdiplus::LinearGradientBrush brush(Gdiplus::Rect(0, 0, w, h), a, b, Gdiplus::LinearGradientModeForwardDiagonal);
    g.FillRectangle(&brush, 0, 0, w, h);
    return bitmap;
}

TEST(PeripheryGallery, ControlsTogether)
{
    Gallery gallery;
    gallery.UpdateWindow();
    std::vector<std::unique_ptr<cdxCRotBevelLine>> lines;
    auto line = [&](const char* text, DWORD style, const RECT& r, bool disabled = false) {
        lines.emplace_back(new cdxCRotBevelLine);
        lines.back()->Create(text, WS_CHILD | WS_VISIBLE | style | (disabled ? WS_DISABLED : 0), r, &gallery);
    };
    line("Flat caption", SS_LEFT, CRect(10, 10, 300, 34));
    line("Centred and disabled", SS_CENTER, CRect(10, 40, 300, 64), true);
    line("Reads up", SS_CENTER, CRect(310, 10, 340, 200));
    line("~Reads down", SS_CENTER, CRect(350, 10, 380, 200));

    CDrawnSlider slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_AUTOTICKS, CRect(10, 76, 300, 110), &gallery, 10));
    slider.SetRange(0, 10, TRUE);
    slider.SetPos(6);

    CIconCheckBox checks[4];
    const char* captions[] = {"Lamp on", "Lamp, disabled", "Icons", "Icons, disabled"};
    for (int i = 0; i < 4; ++i) {
        HWND b = ::CreateWindow("BUTTON", captions[i], WS_CHILD | WS_VISIBLE | BS_CHECKBOX | (i % 2 ? WS_DISABLED : 0),
                                10 + (i / 2) * 150, 120 + (i % 2) * 40, 140, 36, gallery.m_hWnd,
                                (HMENU)(INT_PTR)(20 + i), nullptr, nullptr);
        ASSERT_TRUE(checks[i].SubclassWindow(b));
        if (i >= 2)
            checks[i].SetIcons(::CopyIcon(::LoadIcon(nullptr, IDI_INFORMATION)),
                               ::CopyIcon(::LoadIcon(nullptr, IDI_WARNING)));
        checks[i].SetCheck(i == 0 || i == 2 ? 1 : 0);
    }

    auto pink = Swatch(48, 24, Gdiplus::Color(255, 250, 170, 200), Gdiplus::Color(255, 200, 60, 120));
    auto mint = Swatch(48, 24, Gdiplus::Color(255, 190, 250, 210), Gdiplus::Color(255, 40, 150, 90));
    auto lemon = Swatch(48, 24, Gdiplus::Color(255, 255, 250, 170), Gdiplus::Color(255, 220, 170, 20));
    CImageComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | WS_VSCROLL,
                             CRect(400, 10, 540, 300), &gallery, 30));
    combo.AddImage(pink.get());
    combo.AddImage(mint.get());
    combo.AddImage(lemon.get());
    combo.SelectImage(mint.get());

    gallery.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPending();
    combo.ShowDropDown(TRUE);
    ASSERT_TRUE(PumpUntil([&] { return combo.GetDroppedState() != FALSE; }, 3000));
    PumpPending();
    EXPECT_TRUE(slider.HasBackground());
    EXPECT_TRUE(DisplayPng("periphery_gallery"));
    combo.ShowDropDown(FALSE);
}

} // namespace

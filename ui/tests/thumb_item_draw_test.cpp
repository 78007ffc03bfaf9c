// The thumbnail lists' item drawing on a real list view: the selected picture framed light
// red at its top and left and dark red at its bottom and right, the others framed in white,
// each picture at the end of its icon rectangle.
#include "testsupport/Pixels.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"
#include "ui/Skin.h"
#include "ui/ThumbItemDraw.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

const int kSide = 20;
const COLORREF kGreen = RGB(0, 160, 0);

LRESULT CALLBACK HostProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == NM_CUSTOMDRAW)
            return DrawThumbListItem(reinterpret_cast<const NMLVCUSTOMDRAW*>(lParam), header->hwndFrom);
    }
    return DefWindowProcA(wnd, message, wParam, lParam);
}

// The smallest rectangle holding every pixel of the colour (0x00RRGGBB) in the picture.
RECT Extent(const Picture& p, DWORD colour, const RECT& within)
{
    RECT r = {within.right, within.bottom, within.left, within.top};
    for (int y = within.top; y < within.bottom; ++y)
        for (int x = within.left; x < within.right; ++x)
            if ((p.At(x, y) & 0xFFFFFF) == colour) {
                r.left = x < r.left ? x : r.left;
                r.top = y < r.top ? y : r.top;
                r.right = x + 1 > r.right ? x + 1 : r.right;
                r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
            }
    return r;
}

DWORD Rgb(COLORREF c) { return (DWORD)(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); }

TEST(ThumbItemDraw, SelectedItemFramedInRedOthersInWhite)
{
    EnsureTestApp();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = "ThumbDrawHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowA("ThumbDrawHost", "thumbs", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(nullptr, host);
    HWND list = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SHOWSELALWAYS, 0, 0, 300, 200,
                              host, (HMENU)1194, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, list);
    ListView_SetBkColor(list, RGB(255, 255, 255));
    HIMAGELIST images = ImageList_Create(kSide, kSide, ILC_COLOR24, 2, 0);
    for (int i = 0; i < 2; ++i) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, kSide, kSide);
        HGDIOBJ old = SelectObject(dc, bitmap);
        const RECT all = {0, 0, kSide, kSide};
        HBRUSH green = CreateSolidBrush(kGreen);
        FillRect(dc, &all, green);
        DeleteObject(green);
        SelectObject(dc, old);
        ImageList_Add(images, bitmap, nullptr);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    ListView_SetImageList(list, images, LVSIL_NORMAL);
    ListView_SetIconSpacing(list, 100, 80);
    for (int i = 0; i < 2; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE | LVIF_TEXT;
        item.iItem = i;
        item.iImage = i;
        item.pszText = const_cast<char*>("label");
        ListView_InsertItem(list, &item);
    }
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPending();

    RECT icons[2];
    for (int i = 0; i < 2; ++i)
        ListView_GetItemRect(list, i, &icons[i], LVIR_ICON);
    const Picture shown = PictureOfWindow(list, CRect(0, 0, 300, 200));
    ASSERT_EQ(300, shown.width);

    // The selected item: its frame is the picture's outline, 20 x 20, light on two sides.
    const RECT light = Extent(shown, Rgb(kSkinItemFrameLight), icons[0]);
    const RECT dark = Extent(shown, Rgb(kSkinItemFrameDark), icons[0]);
    ASSERT_LT(light.left, light.right) << "no light red frame";
    ASSERT_LT(dark.left, dark.right) << "no dark red frame";
    EXPECT_EQ(kSide - 1, light.right - light.left);
    EXPECT_EQ(kSide - 1, light.bottom - light.top);
    EXPECT_EQ(light.left, dark.left);
    EXPECT_EQ(light.top, dark.top);
    EXPECT_EQ(light.left + kSide, dark.right);
    EXPECT_EQ(light.top + kSide, dark.bottom);
    // The picture ends where the icon rectangle ends.
    EXPECT_EQ(icons[0].right, dark.right);
    EXPECT_EQ(icons[0].bottom, dark.bottom);
    // The picture inside the frame (blended with the selection where the image list can blend).
    const DWORD centre = shown.At((light.left + dark.right) / 2, (light.top + dark.bottom) / 2) & 0xFFFFFF;
    EXPECT_NE(0xFFFFFFu, centre);
    EXPECT_GT(centre & 0xFF00, (centre >> 16) << 8) << std::hex << centre; // greenish

    // The other item: no red, and the plain picture inside a white frame (18 x 18 of green).
    const RECT red = Extent(shown, Rgb(kSkinItemFrameLight), icons[1]);
    EXPECT_GE(red.left, red.right);
    const RECT green = Extent(shown, Rgb(kGreen), icons[1]);
    EXPECT_EQ(kSide - 2, green.right - green.left);
    EXPECT_EQ(kSide - 2, green.bottom - green.top);
    EXPECT_EQ(0xFFFFFFu, shown.At(green.left - 1, green.top - 1) & 0xFFFFFF);
    EXPECT_EQ(icons[1].right - 1, green.right);
    // No label: the list's own drawing is skipped.
    const RECT below = {icons[1].left, icons[1].bottom, icons[1].right,
                        icons[1].bottom + 20 < 200 ? icons[1].bottom + 20 : 200};
    const RECT black = Extent(shown, 0x000000, below);
    EXPECT_GE(black.left, black.right) << "the label was drawn";

    DestroyWindow(host);
    ImageList_Destroy(images);
}

} // namespace

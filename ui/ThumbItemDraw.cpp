#include "ui/ThumbItemDraw.h"
#include "ui/Skin.h"

namespace {

// A solid rectangle without a brush: the background colour of an opaque empty text.
void FillSolid(HDC dc, int x, int y, int cx, int cy, COLORREF colour)
{
    const COLORREF old = ::SetBkColor(dc, colour);
    const RECT r = {x, y, x + cx, y + cy};
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void Draw3dFrame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    const int cx = r.right - r.left, cy = r.bottom - r.top;
    FillSolid(dc, r.left, r.top, cx - 1, 1, topLeft);
    FillSolid(dc, r.left, r.top, 1, cy - 1, topLeft);
    FillSolid(dc, r.left + cx - 1, r.top, 1, cy, bottomRight);
    FillSolid(dc, r.left, r.top + cy - 1, cx, 1, bottomRight);
}

} // namespace

LRESULT DrawThumbListItem(const NMLVCUSTOMDRAW* draw, HWND list)
{
    if (draw == nullptr || list == nullptr)
        return CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;

    const int item = (int)draw->nmcd.dwItemSpec;
    LVITEMA lv = {};
    lv.mask = LVIF_IMAGE | LVIF_STATE;
    lv.iItem = item;
    lv.stateMask = LVIS_SELECTED;
    ListView_GetItem(list, &lv);
    const bool selected = (lv.state & LVIS_SELECTED) != 0;

    // Every image of the list has the size of its first.
    HIMAGELIST images = ListView_GetImageList(list, LVSIL_NORMAL);
    int width = 0, height = 0;
    IMAGEINFO info = {};
    if (images != nullptr && ImageList_GetImageInfo(images, 0, &info)) {
        width = info.rcImage.right - info.rcImage.left;
        height = info.rcImage.bottom - info.rcImage.top;
    }
    RECT r = {};
    ListView_GetItemRect(list, item, &r, LVIR_ICON);
    const int dx = (r.right - r.left - width) / 2;
    const int dy = (r.bottom - r.top - height) / 2;
    ::OffsetRect(&r, dx, dy);
    r.left += dx;
    r.right -= dx;
    r.top += dy;
    r.bottom -= dy;

    if (images != nullptr)
        ImageList_Draw(images, lv.iImage, draw->nmcd.hdc, r.left, r.top, selected ? ILD_BLEND25 : ILD_NORMAL);
    Draw3dFrame(draw->nmcd.hdc, r, selected ? kSkinItemFrameLight : kSkinWhite,
                selected ? kSkinItemFrameDark : kSkinWhite);
    return CDRF_SKIPDEFAULT;
}

// The one drawing of a thumbnail list's items for the lists that show pictures to pick (the
// image load panel's layers, the web design page's designs): each item's image at the end
// of its icon rectangle, blended when selected, framed in red when selected and in white
// otherwise; the list's own drawing (labels, focus) is skipped.
#pragma once
#include "fw/fwwin.h"

#include <commctrl.h>

// The result for the list's NM_CUSTOMDRAW notification: item notifications at pre-paint,
// the drawing above at item pre-paint, the list's default otherwise.
LRESULT DrawThumbListItem(const NMLVCUSTOMDRAW* draw, HWND list);

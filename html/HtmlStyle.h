// The style record of the HTML drawer: everything a tag or a style rule can change, with the
// defaults every pass starts from.
// Rule kept: a link's kind and text live in the record, so closing a scope restores them
// with the rest of the style.
#pragma once
#include "fw/fw.h"

struct PPHtmlStyle
{
    enum { ALIGN_LEFT = 0, ALIGN_CENTER = 1, ALIGN_RIGHT = 2, ALIGN_JUSTIFY = 3 };
    enum { VALIGN_TOP = 0, VALIGN_MIDDLE = 1, VALIGN_BOTTOM = 2, VALIGN_BASELINE = 3 };
    enum { TRANSFORM_NONE = 0, TRANSFORM_UPPER = 1, TRANSFORM_LOWER = 2, TRANSFORM_CAPITALIZE = 3 };
    enum {
        LINK_NONE = 0,
        LINK_ADDRESS = 1, // "href": opened in the browser
        LINK_MESSAGE = 2  // "msg": sent to the hyperlink target
    };

    CString name; // the tag style that opened the current scope, matched by closing tags
    int fontHeight = 16;
    int weight = FW_NORMAL;
    BOOL italic = FALSE;
    BOOL underline = FALSE;
    BOOL strikeOut = FALSE;
    BOOL overline = FALSE;
    CString face = "Verdana";
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF borderLight = RGB(0, 0, 0);
    COLORREF borderDark = RGB(0, 0, 0);
    COLORREF bkMiddle = RGB(255, 255, 255);
    COLORREF bkEnd = RGB(255, 255, 255);
    int bkMode = TRANSPARENT; // or OPAQUE
    int bkEffect = -1;        // a background effect of the drawing manager, -1 none
    CString bkImage;          // a table's "background" attribute
    int hAlign = ALIGN_LEFT;
    int vAlign = VALIGN_BASELINE;
    int borderStyle = 0; // a pen style code of the drawing manager
    int borderWidth = 0;
    int width = 0;  // of a table or cell; kept by a reset
    int height = 0; // of a table or cell; kept by a reset
    int transform = TRANSFORM_NONE;
    int margin = 2;  // a table's cell padding
    int padding = 0; // a table's cell spacing
    int linkKind = LINK_NONE;
    CString linkText;
};

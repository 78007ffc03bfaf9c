// The HTML drawer: measures and draws a short text in a small HTML dialect with style rules
// onto a device context, line by line with word wrap, alignment, tabs and hyperlink areas.
// Every pass walks the same text with the same code: a measuring pass records the layout of
// every line, a drawing pass paints into a rectangle from those records.
// Rules kept: a drawing pass never reads past the records of the last measuring pass; every
// font and selection made by a pass is undone at its end; the dialect's tables and the
// style sheet never change during a pass. UI thread only.
#pragma once
#include "fw/fw.h"
#include "fw/fwselect.h"
#include "html/DrawManager.h"
#include "html/HtmlDialect.h"
#include "html/HtmlStyle.h"
#include "html/HtmlStyles.h"
#include <commctrl.h>
#include <optional>
#include <vector>

// One table of a text, measured once and read back by the drawing passes that follow.
struct PPHtmlTable
{
    struct Cell
    {
        int colSpan = 1;
        int rowSpan = 1;
        int contentWidth = 0;
        int contentHeight = 0;
        int width = 0;
        int height = 0;
        BOOL fixedWidth = FALSE;
        BOOL taken = FALSE; // covered by another cell's span
    };
    int columns = 0;
    int rows = 0;
    std::vector<int> columnWidths;
    std::vector<BOOL> columnFixed;
    std::vector<int> rowHeights;
    std::vector<Cell> cells; // rows x columns
    int spacing = 0;         // between cells, in the pass that lays the table out
    Cell& At(int row, int column) { return cells[(size_t)row * (size_t)columns + (size_t)column]; }
};

class CPPHtmlDrawer
{
public:
    // One line as the measuring pass laid it out.
    struct Line
    {
        int width = 0;  // pixels of fixed-width content
        int ascent = 0; // after the line ends: the line's height
        int descent = 0;
        int percent = 0; // sum of the percentage widths of rules
        int align = PPHtmlStyle::ALIGN_LEFT;
        int spaces = 0;       // for justification
        BOOL wrapped = FALSE; // ended because the next word did not fit
    };
    // A part of a hyperlink as drawn.
    struct HotArea
    {
        RECT rect;
        int kind;
        int number;
        CString text;
    };
    // An animated image strip: its frame, its frame count and its ticks.
    struct Animation
    {
        int frame = 0;
        int frameCount = 0;
        int tick = 0;
        int ticksPerFrame = 0;
    };

    CPPHtmlDrawer();
    virtual ~CPPHtmlDrawer();
    CPPHtmlDrawer(const CPPHtmlDrawer&) = delete;
    CPPHtmlDrawer& operator=(const CPPHtmlDrawer&) = delete;

    // Measures text on dc: size gets the width and height it needs, one pixel more than
    // the content in both directions; an empty text is 0 x 0 and draws nothing.
    void PrepareOutput(HDC dc, LPCTSTR text, SIZE* size);
    // Draws the prepared text into rect (which should have the measured size).
    void DrawPreparedOutput(HDC dc, const RECT* rect);
    void DrawHtmlAt(HDC dc, LPCTSTR text, POINT pt);
    // Entities replaced, carriage returns removed, new lines and tabs made tags (or removed
    // when the line-break option is off).
    CString ReplaceSpecialChars(LPCTSTR text) const;

    // Hyperlinks, with points in the drawn rectangle's device context.
    BOOL OnSetCursor(POINT pt);
    void JumpToHyperlink(POINT pt);
    // Opens an address with the browser (resetting the link cursor first); above 32 is success.
    INT_PTR GotoURL(LPCTSTR url, int showCmd = SW_SHOW);
    int GetHoveredLink() const { return m_hoverLink; }
    const std::vector<HotArea>& GetHotAreas() const { return m_hotAreas; }

    BOOL StepAnimations();

    // Notification targets: nothing is sent while the window or the message is zero.
    void SetCallbackRepaint(HWND wnd, UINT message, LPARAM lParam);
    void SetCallbackHyperlink(HWND wnd, UINT message, LPARAM lParam);
    void SetMaxWidth(int width) { m_maxWidth = width < 0 ? 0 : width; }
    int GetMaxWidth() const { return m_maxWidth; }
    // At least 1.
    void SetTabSize(int size);
    int GetTabSize() const { return m_tabSize; }
    void SetOption(BOOL lineBreaks) { m_lineBreaks = lineBreaks; }
    BOOL GetOption() const { return m_lineBreaks; }
    void SetEnabled(BOOL enabled) { m_enabled = enabled; }
    BOOL IsEnabled() const { return m_enabled; }
    void SetDisabledColor(COLORREF colour) { m_disabledColor = colour; }
    COLORREF GetDisabledColor() const { return m_disabledColor; }
    // The drawer owns the cursor from then on; null restores the default link cursor.
    void SetHyperlinkCursor(HCURSOR cursor);
    HCURSOR GetHyperlinkCursor() const { return m_linkCursor; }
    CPPDrawManager* GetDrawManager() { return &m_drawManager; }
    // Image shadows: offsets, darkness (at most 100), gradient, blur sizes.
    void SetImageShadow(int dx, int dy, int darkness = 50, BOOL gradient = TRUE, int blurX = 7, int blurY = 7);
    // A module for resource ids of images and strings, loaded and owned by the drawer.
    void SetResourceDll(LPCTSTR path, DWORD flags = 0);
    // A module handed in: never freed by the drawer; while one is set it stays.
    void SetResourceDllHandle(HMODULE module);
    HMODULE GetResourceDllHandle() const { return m_resourceModule; }
    void SetImageList(UINT bitmapId, int cx, int cy, int count, COLORREF mask);
    void SetImageListFromBitmap(HBITMAP bitmap, int cx, int cy, int count, COLORREF mask);
    // The system's status-bar font, or null.
    static const LOGFONT* GetStatusFont();

    // The dialect.
    int GetTagCode(const CString& tag, CString& styleName, bool& closing) const
    {
        return m_dialect.GetTagCode(tag, styleName, closing);
    }
    void AddTag(LPCTSTR name, int code, LPCTSTR styleName) { m_dialect.AddTag(name, code, styleName); }
    void SetColorName(LPCTSTR name, COLORREF value) { m_dialect.SetColorName(name, value); }
    // The disabled colour while disabled; else the name's colour, or def for an unknown name.
    COLORREF GetColorByName(const CString& name, COLORREF def) const;
    // "#rrggbb", a number (decimal, 0x hexadecimal, 0 octal) or a colour name; def when the
    // text is empty or not a colour.
    COLORREF GetColorValue(const CString& text, COLORREF def) const;

    // Style sheets.
    void SetCssStyles(LPCTSTR text); // null: the default sheet
    void SetDefaultCssStyles();
    void SetCssStylesFromResource(UINT id, LPCTSTR dll = nullptr);
    const CString& GetCssStyles() const { return m_styleSheet.GetCssStyles(); }
    void SetStyle(LPCTSTR selector, LPCTSTR declarations) { m_styleSheet.SetStyle(selector, declarations); }
    void RemoveStyle(LPCTSTR selector) { m_styleSheet.RemoveStyle(selector); }
    LPCTSTR GetStyleText(LPCTSTR selector) const { return m_styleSheet.GetStyleText(selector); }
    int GetStyleCount() const { return m_styleSheet.GetStyleCount(); }
    void ApplyStyleByName(LPCTSTR selector, PPHtmlStyle& style);
    void ApplyDeclarations(const CString& declarations, PPHtmlStyle& style);
    // The current style back to the defaults (a table's width and height stay).
    void ResetStyle();
    const PPHtmlStyle& GetCurrentStyle() const { return m_style; }
    // A length in pixels on the drawer's device context: px, ex, em, in, cm, mm, pt, pc, a
    // percentage of def, or a plain number (in font-size mode 1..7 are the font sizes).
    int GetLengthValue(const CString& text, int def, BOOL fontSize);

    // Strings from the program's module, or from a module named by path (read as data, its
    // code never run) or the drawer's resource module; empty when missing.
    CString GetStringFromResource(UINT id) const;
    CString GetStringFromDll(UINT id, LPCTSTR dll) const;
    // Part index (from 0) of the program's string id split at new lines; empty when missing.
    CString GetResourceStringPart(UINT id, int index) const;

    // Images, each owned by the caller (null when missing or id 0). A library named by path
    // is read as data for the call; without a path the drawer's resource module is used.
    HBITMAP LoadBitmapFromResource(UINT id) const;
    HBITMAP LoadBitmapFromFile(LPCTSTR path) const;
    HBITMAP LoadBitmapFromDll(UINT id, LPCTSTR dll = nullptr) const;
    HICON LoadIconFromResource(UINT id, int cx, int cy) const;
    HICON LoadIconFromFile(LPCTSTR path, int cx, int cy) const;
    HICON LoadIconFromDll(UINT id, int cx, int cy, LPCTSTR dll = nullptr) const;
    // A background effect by name ("transparent" -1, "solid" 0 ... "metal" 15), a number, or
    // def for an empty text.
    int GetBackgroundEffect(const CString& text, int def);

    // Tables: the index just behind the "</table>" that closes the table opened at start
    // (nested tables counted), or the end of the text when it is never closed.
    static int SearchEndOfTable(const CString& text, int start);
    // The rows of a table's text and the most cells of one row (nested tables not counted).
    static SIZE CountTableDims(const CString& text);
    // Tables deeper than this inside one another are skipped.
    enum { kMaxTableDepth = 16 };

private:
    // One pass over the prepared text into rect.
    SIZE Draw(const RECT& rect, bool measuring);
    SIZE DrawHtml(const CString& run, const RECT& block);
    SIZE DrawHtmlTable(const CString& text, const RECT& block);
    // Flow runs and tables of text one below the other from the block's top.
    SIZE DrawFlow(const CString& text, const RECT& block);
    void DrawTableRow(const CString& text, const RECT& area, PPHtmlTable& table, int row, const RECT& block);
    void DrawTableCell(const CString& text, const RECT& rect, PPHtmlTable::Cell& cell);
    // Applies a table, row or cell tag's attributes to style; returns (column span, row span).
    SIZE GetTableAttributes(const CString& attributes, PPHtmlStyle& style, BOOL table);
    void PushStyleScope(LPCTSTR name);
    void PopStyleScope(LPCTSTR name);

    // An image tag's attributes.
    struct ImageParams
    {
        int index = 0;
        UINT idres = 0;
        UINT iddll = 0;
        UINT_PTR handle = 0;
        CString file;
        CString srcdll;
        BOOL useMask = FALSE;
        COLORREF mask = 0;
        WORD style = 0;
        WORD hotStyle = 0;
        int cx = 0;
        int cy = 0;
        CString width; // as written: a length or a percentage
        CString height;
        int speed = 0;
    };
    void GetImageParams(const CString& attributes, ImageParams& params);
    WORD GetImageStyle(const CString& text) const;
    static BOOL IsPercentValue(const CString& text);
    static BOOL HasImageShadow(const ImageParams& params);
    // A drawn size from its attribute: a percentage of base, a length, or base when empty.
    int GetImageSize(const CString& text, int base);
    void DrawBackgroundImage(HDC dc, int x, int y, int width, int height, const CString& attribute);
    void LayoutText(CString piece);
    CString BreakLine(CString& piece, int blockWidth, int& room);
    // The width of text with extra pixels spread over breaks of its spaces; the advances
    // of its characters when it is stretched (empty when not).
    int JustifiedAdvances(const CString& text, int extra, int breaks, std::vector<int>& advances) const;
    void InitNewLine();
    void NewLine(int count);
    int VerticalAlignText(int y, int height);
    int VerticalAlignImage(int y, int height);
    void Tabulation(int count);
    void BeginContext();
    void UpdateContext();
    void EndContext();
    SIZE Extent(const CString& text) const;
    void MovePen(LONG& coordinate, long long delta);

    void InterpretTag(const CString& tag);
    void ApplyStyleTag(int code, const CString& styleName, const CString& attributes);
    void ApplyFontAttributes(const CString& attributes);
    void OpenLink(const CString& attributes);
    void DrawRule(const CString& attributes);
    void DrawResourceString(const CString& attributes);
    void DrawImageTag(int code, const CString& attributes);
    void ApplyProperty(const CString& property, const CString& value, PPHtmlStyle& style);

    void AddHotArea(int left, int top, int right, int bottom);
    int FindHotArea(POINT pt) const;
    void Notify(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) const;

    CPPHtmlDialect m_dialect;
    CPPHtmlStyleSheet m_styleSheet;
    CPPDrawManager m_drawManager;

    // Notification targets.
    HWND m_repaintWnd = nullptr;
    UINT m_repaintMessage = 0;
    LPARAM m_repaintLParam = 0;
    HWND m_linkWnd = nullptr;
    UINT m_linkMessage = 0;
    LPARAM m_linkLParam = 0;

    // Settings.
    int m_maxWidth = 0;
    int m_tabSize = 32;
    BOOL m_lineBreaks = TRUE;
    BOOL m_enabled = TRUE;
    COLORREF m_disabledColor;
    HCURSOR m_linkCursor = nullptr;
    HMODULE m_resourceModule = nullptr;
    bool m_ownsResourceModule = false;
    HIMAGELIST m_imageList = nullptr;
    SIZE m_imageListSize = {0, 0};
    int m_shadowDx = 4;
    int m_shadowDy = 4;
    int m_shadowDarkness = 50;
    BOOL m_shadowGradient = TRUE;
    int m_shadowBlurX = 7;
    int m_shadowBlurY = 7;
    COLORREF m_shadowColor = RGB(128, 128, 128);

    // The current style and its stack.
    PPHtmlStyle m_style;
    std::vector<PPHtmlStyle> m_styleStack;

    // Device context state of a running pass.
    HDC m_hDC = nullptr;
    CFont m_font;
    std::optional<CSelectGuard> m_fontSelect;
    int m_oldBkMode = TRANSPARENT;
    COLORREF m_oldTextColor = 0;
    COLORREF m_oldBkColor = 0;
    TEXTMETRIC m_tm = {};

    // Layout.
    bool m_measuring = false;
    bool m_linesExhausted = false; // a drawing pass ran out of measured lines
    RECT m_block = {0, 0, 0, 0};
    POINT m_pen = {0, 0};
    int m_lineStartX = 0;
    int m_remainingWidth = 0;
    int m_remainingSpaces = 0;
    int m_runWidth = 0;
    Line m_line;
    int m_lineIndex = 0;
    std::vector<Line> m_lines;
    std::vector<HotArea> m_hotAreas;
    int m_linkCounter = -1;
    int m_hoverLink = -2;
    std::vector<Animation> m_animations;
    int m_animationNumber = -1; // of the strip being drawn in this pass
    std::vector<PPHtmlTable> m_tables;
    int m_tableNumber = -1;
    int m_tableDepth = 0;
    CString m_prepared;
};

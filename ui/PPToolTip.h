// The balloon tooltip window: shows an HTML text for a tool (a window, or a rectangle of a
// window) once the pointer rests on it, shaped as a balloon whose tail points at the pointer,
// over an effect background with a soft shadow, fading in and out over the screen beneath.
// It learns of the pointer only through RelayEvent, which any window may call with every
// message it pre-translates: the call never consumes a message and is safe in any state.
// Rules kept: UI thread only; every timer, bitmap, region and brush it makes is released by
// it exactly once; a text the owner empties shows nothing.
#pragma once
#include "fw/fwwin.h"
#include "html/HtmlDrawer.h"
#include <functional>
#include <map>
#include <vector>

class CToolBar;

// One tool: copied by value.
struct PPToolInfo
{
    UINT nIDTool = 0;               // the caller's id (a menu item, a tool-bar button, AddTool's id)
    RECT rectBounds = {0, 0, 0, 0}; // in the tool window's client coordinates; empty: the whole window
    CString sTooltip;               // the HTML text
    UINT nMask = 0;                 // which of the fields below override the tooltip's defaults
    UINT nDirection = 0;
    UINT nEffect = 0;
    UINT nBehaviour = 0;
    BYTE nGranularity = 0;
    BYTE nTransparency = 0; // 0 opaque .. 100 invisible
    COLORREF crBegin = 0;
    COLORREF crMid = 0;
    COLORREF crEnd = 0;
};

// What the owner receives with WM_NOTIFY just before a text is shown: it may change the
// next tool's fields, its text above all.
struct PPTooltipNotify
{
    NMHDR hdr;
    HWND hwndTool;
    LPPOINT pt; // the display point, screen coordinates
    PPToolInfo* ti;
};

// Mask bits of PPToolInfo.
enum : UINT {
    PPTOOLTIP_MASK_EFFECT = 0x02,
    PPTOOLTIP_MASK_COLORS = 0x04,
    PPTOOLTIP_MASK_DIRECTION = 0x08,
    PPTOOLTIP_MASK_BEHAVIOUR = 0x10,
    PPTOOLTIP_MASK_TRANSPARENCY = 0x20,
};
// Behaviour flags.
enum : UINT {
    PPTOOLTIP_MULTIPLE_SHOW = 0x01, // moving within the shown tool shows it again
    PPTOOLTIP_TRACKING_MOUSE = 0x02,
    PPTOOLTIP_CLOSE_LEAVEWND = 0x04, // moving within the shown tool restarts the auto-pop time
    PPTOOLTIP_NOCLOSE_OVER = 0x08,   // stays while the pointer is over it
    PPTOOLTIP_DISABLE_AUTOPOP = 0x10,
};
// Directions: a side (where the body lies from the point) plus an alignment of the tail.
enum : int {
    PPTOOLTIP_SIDE_BELOW = 0,
    PPTOOLTIP_SIDE_ABOVE = 16,
    PPTOOLTIP_SIDE_RIGHT = 32,
    PPTOOLTIP_SIDE_LEFT = 48,
    PPTOOLTIP_ALIGN_START = 0,
    PPTOOLTIP_ALIGN_END = 1,
    PPTOOLTIP_ALIGN_CENTER = 2,
};
// Menu-tip alignment flags.
enum : UINT {
    PPTOOLTIP_MENU_RIGHT = 0x01,
    PPTOOLTIP_MENU_CENTER = 0x02,
    PPTOOLTIP_MENU_BOTTOM = 0x10,
    PPTOOLTIP_MENU_VCENTER = 0x20,
};
// The notification code to the owner, and the drawer's repaint request.
const UINT UDM_TOOLTIP_DISPLAY = WM_USER + 100;
const UINT UDM_TOOLTIP_REPAINT = WM_USER + 0x65;

class CPPToolTip : public CWnd
{
public:
    enum State { STATE_HIDDEN = 0, STATE_SHOWING = 1, STATE_SHOWN = 2, STATE_HIDING = 3 };
    enum ToolKind { KIND_TOOL = 0, KIND_HELP = 1, KIND_MENU = 2 };
    enum Timer { TIMER_SHOW = 256, TIMER_HIDE = 257, TIMER_FADEIN = 258, TIMER_FADEOUT = 259, TIMER_ANIMATION = 260 };
    enum Delay { DELAY_AUTOPOP = 2, DELAY_INITIAL = 3, DELAY_FADEIN = 4, DELAY_FADEOUT = 5, DELAY_ANIMATION = 6 };
    enum Size {
        SIZE_ROUNDED_CX = 0,
        SIZE_ROUNDED_CY,
        SIZE_MARGIN_CX,
        SIZE_MARGIN_CY,
        SIZE_ANCHOR_WIDTH,
        SIZE_ANCHOR_HEIGHT,
        SIZE_ANCHOR_MARGIN,
        SIZE_RESERVED_1,
        SIZE_RESERVED_2,
        SIZE_COUNT
    };

    // Registers the window class "CPPToolTip" once; a class that cannot be registered
    // raises the resource exception.
    CPPToolTip();
    ~CPPToolTip() override;

    // The hidden popup, owned by the owner. FALSE when the window cannot be made.
    BOOL Create(CWnd* owner, BOOL balloon = TRUE);
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Tools. A tool added again for a window with an equal rectangle replaces the earlier one.
    void AddTool(CWnd* wnd, LPCTSTR text, LPCRECT rect = nullptr, UINT id = 0);
    void AddTool(CWnd* wnd, UINT textId, LPCRECT rect = nullptr, UINT id = 0);
    void AddTool(CWnd* wnd, LPCTSTR text, HICON icon, LPCRECT rect = nullptr, UINT id = 0);
    void AddTool(CWnd* wnd, UINT textId, HICON icon, LPCRECT rect = nullptr, UINT id = 0);
    void AddTool(CWnd* wnd, LPCTSTR text, UINT iconId, SIZE iconSize, LPCRECT rect = nullptr, UINT id = 0);
    void AddTool(CWnd* wnd, UINT textId, UINT iconId, SIZE iconSize, LPCRECT rect = nullptr, UINT id = 0);
    void AddTool(CWnd* wnd, LPCTSTR text, UINT bitmapId, COLORREF mask, SIZE size, LPCRECT rect = nullptr, UINT id = 0);
    void AddTool(HWND wnd, const PPToolInfo& ti);
    void RemoveTool(CWnd* wnd, LPCRECT rect = nullptr);
    void RemoveAllTools();
    BOOL GetToolInfo(PPToolInfo& out, CWnd* wnd, UINT id) const;
    BOOL GetToolInfoByRect(PPToolInfo& out, CWnd* wnd, LPCRECT rect) const;
    void SetToolText(LPCTSTR text, CWnd* wnd, UINT id);
    void SetToolRectById(CWnd* wnd, UINT id, LPCRECT rect);
    void RemoveToolById(CWnd* wnd, UINT id);
    // The tools of a window (empty when it has none).
    std::vector<PPToolInfo> GetTools(HWND wnd) const;
    // Its buttons become tools, with part 1 of their string resource as text.
    void AddToolBar(CToolBar* bar);

    // Showing. RelayEvent never consumes the message (always FALSE) and accepts any message,
    // a null one included, with or without a window.
    BOOL RelayEvent(MSG* msg);
    void SetNewTooltip(HWND wnd, const PPToolInfo& ti, BOOL delay = TRUE, int kind = KIND_TOOL);
    void ShowHelpTooltip(LPPOINT pt, LPCTSTR text, HICON icon = nullptr);
    void ShowHelpTooltip(LPPOINT pt, UINT textId, HICON icon = nullptr);
    void ShowHelpTooltip(LPPOINT pt, LPCTSTR text, UINT iconId, SIZE iconSize);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void HideTooltip();
    void Pop();
    void SetAutoPopTimer();
    void KillTimers(UINT id = 0);

    // Notification of the owner before a text shows.
    void SetNotify(BOOL notify = TRUE);
    void SetNotify(HWND wnd);
    BOOL IsNotify() const { return m_notifyWnd != nullptr; }

    // Defaults of the tools.
    void SetColorBk(COLORREF colour) { SetColorBk(colour, colour, colour); }
    void SetColorBk(COLORREF c1, COLORREF c2) { SetColorBk(c1, c1, c2); }
    void SetColorBk(COLORREF begin, COLORREF mid, COLORREF end);
    void SetEffectBk(UINT effect, BYTE granularity = 5);
    void SetBehaviour(UINT behaviour) { m_defaults.nBehaviour = behaviour; }
    UINT GetBehaviour() const { return m_defaults.nBehaviour; }
    void SetDirection(UINT direction) { m_defaults.nDirection = direction; }
    UINT GetDirection() const { return m_defaults.nDirection; }
    // Above 100 is ignored.
    void SetTransparency(BYTE transparency);
    void SetBorder(COLORREF colour, int cx = 1, int cy = 1);
    void SetBorder(HBRUSH brush, int cx = 1, int cy = 1); // the tooltip owns the brush
    void HideBorder();
    void SetTooltipShadow(int dx, int dy, BYTE darkness = 50, BOOL gradient = TRUE, int depthX = 7, int depthY = 7);
    void SetDelayTime(DWORD kind, UINT ms);
    UINT GetDelayTime(DWORD kind) const;
    void SetSize(int index, int value);
    int GetSize(int index) const;
    void SetDefaultSizes(BOOL balloon = TRUE);
    void SetMaxWidth(int width) { m_drawer.SetMaxWidth(width); }
    void SetCallbackHyperlink(HWND wnd, UINT message, LPARAM lParam = 0)
    {
        m_drawer.SetCallbackHyperlink(wnd, message, lParam);
    }
    void SetImageList(UINT bitmapId, int cx, int cy, int count, COLORREF mask = RGB(255, 0, 255))
    {
        m_drawer.SetImageList(bitmapId, cx, cy, count, mask);
    }
    void SetImageList(HBITMAP bitmap, int cx, int cy, int count, COLORREF mask = RGB(255, 0, 255))
    {
        m_drawer.SetImageListFromBitmap(bitmap, cx, cy, count, mask);
    }
    void SetImageShadow(int dx, int dy, int darkness = 50, BOOL gradient = TRUE, int blurX = 7, int blurY = 7)
    {
        m_drawer.SetImageShadow(dx, dy, darkness, gradient, blurX, blurY);
    }
    void SetCssStyles(LPCTSTR text = nullptr) { m_drawer.SetCssStyles(text); }
    void SetCssStylesFromResource(UINT id, LPCTSTR dll = nullptr) { m_drawer.SetCssStylesFromResource(id, dll); }
    const CString& GetCssStyles() const { return m_drawer.GetCssStyles(); }
    LPCTSTR GetStyleByTagAndClass(LPCTSTR selector) const { return m_drawer.GetStyleText(selector); }
    void SetOption(BOOL lineBreaks) { m_drawer.SetOption(lineBreaks); }
    void SetDebugMode(BOOL debug = TRUE) { m_debug = debug; }
    void EnableRepaintRequest(BOOL enable = TRUE) { m_repaintOnRequest = enable; }
    void SetMenuTipAlignment(UINT flags) { m_menuAlignment = flags; }
    CPPHtmlDrawer& GetDrawer() { return m_drawer; }

    // Where a body of width x height goes for a direction and a screen point: returns the
    // direction used; anchor gets the tail's tip and window the window rectangle, both in
    // window coordinates. Also moves the content and body rectangles off the tail.
    UINT GetTooltipPosition(UINT direction, POINT pt, int width, int height, POINT& anchor, RECT& window);
    // The balloon of a window of width x height with the tail's tip at anchor (a new region
    // the caller deletes).
    HRGN GetTooltipRgn(UINT direction, POINT anchor, int width, int height) const;

    State GetState() const { return m_state; }
    int GetCurrentTransparency() const { return m_transparency; }
    HWND GetDisplayedWindow() const { return m_displayed.wnd; }
    const PPToolInfo& GetDisplayedTool() const { return m_displayed.ti; }
    // Called with the state and the transparency at every step of showing and hiding.
    void SetStepHook(std::function<void(int state, int transparency)> hook) { m_stepHook = std::move(hook); }
    // The debug table of the window under a screen point.
    CString GetDebugTable(POINT pt) const;

protected:
    // Frames the balloon with the border brush.
    virtual void DrawBorder(HDC dc, HRGN region);

    void OnPaint();
    void OnTimer(UINT_PTR id);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnActivateApp(BOOL active, DWORD thread);
    LRESULT OnRepaintRequest(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    struct ToolState
    {
        HWND wnd = nullptr;
        int kind = KIND_TOOL;
        PPToolInfo ti;
    };

    BOOL FindTool(POINT pt, PPToolInfo& ti, HWND& toolWnd, BOOL checkTool) const;
    BOOL FindToolBarItem(POINT pt, PPToolInfo& ti, HWND& toolWnd) const;
    bool IsCursorOverTooltip() const;
    bool PointerLeftDisplayedTool() const;
    void ShowStep();
    void HideStep();
    void FadeInStep();
    void FadeOutStep();
    bool PrepareDisplayTooltip(POINT pt);
    void SendNotify(POINT* pt, PPToolInfo& ti);
    void OnRedrawTooltip(HDC dc, int transparency);
    void OutputTooltipOnScreen(POINT pt);
    void FreeResources();
    void Step();
    void ShowHelp(LPPOINT pt, const CString& text);

    CPPHtmlDrawer m_drawer;
    HWND m_owner = nullptr;
    HWND m_notifyWnd = nullptr;
    BOOL m_repaintOnRequest = TRUE;
    BOOL m_debug = FALSE;
    POINT m_lastPos = {-32768, -32768};

    ToolState m_displayed;
    ToolState m_next;
    bool m_waiting = false;
    bool m_delayed = false;

    State m_state = STATE_HIDDEN;
    UINT m_direction = 0; // as used
    int m_transparency = 0;
    PPToolInfo m_defaults;

    // Of the balloon being shown.
    CBitmap m_background;
    CBitmap m_screen;
    CRgn m_balloon;
    bool m_screenTaken = false;
    RECT m_content = {0, 0, 0, 0};
    RECT m_body = {0, 0, 0, 0};
    RECT m_window = {0, 0, 0, 0};

    CBrush m_borderBrush;
    int m_borderCx = 0;
    int m_borderCy = 0;

    BOOL m_shadowGradient = TRUE;
    int m_shadowDx = 6;
    int m_shadowDy = 6;
    int m_shadowDepthX = 7;
    int m_shadowDepthY = 7;
    BYTE m_shadowDarkness = 50;

    UINT m_autoPop = 5000;
    UINT m_initial = 1500;
    UINT m_fadeIn = 0;
    UINT m_fadeOut = 0;
    UINT m_animation = 0;

    int m_sizes[SIZE_COUNT] = {};
    UINT m_menuAlignment = 0;

    std::map<HWND, std::vector<PPToolInfo>> m_tools;
    std::vector<CToolBar*> m_toolBars;
    std::function<void(int, int)> m_stepHook;
};

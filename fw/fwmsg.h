// Message maps: one static table per class, chained to the base class's table.
// Entry macros convert the handler to the exact signature first (a mismatch does not
// compile), then store it in the generic form together with a signature tag.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CCmdTarget;
class CWnd;
class CDC;
class CScrollBar;
class CPoint;
class CCmdUI;
class CMenu;

typedef void (CCmdTarget::*FW_PMSG)();

// Signature tags: the dispatcher casts the stored pointer back by the tag.
enum FwSig {
    FwSig_end = 0,
    FwSig_v_v,          // void ()                         commands, reflected codes
    FwSig_b_v,          // BOOL ()                         _EX reflected codes
    FwSig_v_u,          // void (UINT id)                  command ranges
    FwSig_b_u,          // BOOL (UINT id)                  command ranges _EX
    FwSig_notify,       // void (NMHDR*, LRESULT*)
    FwSig_notify_b,     // BOOL (NMHDR*, LRESULT*)
    FwSig_notify_range, // void (UINT id, NMHDR*, LRESULT*)
    FwSig_l_wl,         // LRESULT (WPARAM, LPARAM)        ON_MESSAGE
    FwSig_i_create,     // int (LPCREATESTRUCT)
    FwSig_b_nccreate,   // BOOL (LPCREATESTRUCT)
    FwSig_v_paint,      // void ()                         WM_PAINT and friends with no args
    FwSig_b_dc,         // BOOL (CDC*)                     WM_ERASEBKGND
    FwSig_v_size,       // void (UINT, int, int)           WM_SIZE
    FwSig_v_sizing,     // void (UINT, LPRECT)             WM_SIZING
    FwSig_v_timer,      // void (UINT_PTR)
    FwSig_v_mouse,      // void (UINT, CPoint)             mouse buttons and moves
    FwSig_b_wheel,      // BOOL (UINT, short, CPoint)
    FwSig_v_key,        // void (UINT, UINT, UINT)         keys and chars
    FwSig_b_setcursor,  // BOOL (CWnd*, UINT, UINT)
    FwSig_v_scroll,     // void (UINT, UINT, CScrollBar*)
    FwSig_v_scroll_r,   // void (UINT, UINT)               reflected scroll
    FwSig_h_ctlcolor,   // HBRUSH (CDC*, CWnd*, UINT)
    FwSig_h_ctlcolor_r, // HBRUSH (CDC*, UINT)             reflected
    FwSig_v_drawitem,   // void (int, LPDRAWITEMSTRUCT)
    FwSig_v_measure,    // void (int, LPMEASUREITEMSTRUCT)
    FwSig_v_wnd,        // void (CWnd*)                    focus changes, capture
    FwSig_v_showwnd,    // void (BOOL, UINT)
    FwSig_v_activate,   // void (UINT, CWnd*, BOOL)
    FwSig_v_b,          // void (BOOL)                     WM_ENABLE
    FwSig_u_v,          // UINT ()                         WM_GETDLGCODE
    FwSig_v_move,       // void (int, int)
    FwSig_v_winpos,     // void (WINDOWPOS*)
    FwSig_v_minmax,     // void (MINMAXINFO*)
    FwSig_l_hittest,    // LRESULT (CPoint)
    FwSig_v_ctxmenu,    // void (CWnd*, CPoint)
    FwSig_b_v_msg,      // BOOL ()                         WM_QUERYNEWPALETTE
    FwSig_v_syscmd,     // void (UINT, LPARAM)
    FwSig_i_mouseact,   // int (CWnd*, UINT, UINT)
    FwSig_v_actapp,     // void (BOOL, DWORD)
    FwSig_v_dropfiles,  // void (HDROP)
    FwSig_cmdui,        // void (CCmdUI*)                  command enabling
    FwSig_v_initmenu,   // void (CMenu*, UINT, BOOL)       WM_INITMENUPOPUP
};

struct FwMsgMapEntry
{
    UINT nMessage;
    UINT nCode;   // control or notification code
    UINT nID;     // control id (or 0)
    UINT nLastID; // last id of a range
    UINT_PTR nSig;
    FW_PMSG pfn;
};

struct FwMsgMap
{
    const FwMsgMap* (*pfnGetBaseMap)();
    const FwMsgMapEntry* lpEntries;
};

// Reflected messages reach the child's map under this offset.
#define WM_REFLECT_BASE 0xBC00
// Private framework messages.
#define WM_INITIALUPDATE 0x0364
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_FW_SETMESSAGESTRING 0x0362
// Command notification codes used for routing.
#define CN_COMMAND 0
// Asks a command's owner whether the command is enabled (pExtra is the CCmdUI).
#define CN_UPDATE_COMMAND_UI 0xFFFF

#define DECLARE_MESSAGE_MAP()                   \
public:                                         \
    static const FwMsgMap* GetThisMessageMap(); \
                                                \
protected:                                      \
    const FwMsgMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
    const FwMsgMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const FwMsgMap* theClass::GetThisMessageMap()                                   \
    {                                                                               \
        typedef theClass ThisClass;                                                 \
        typedef baseClass TheBaseClass;                                             \
        (void)sizeof(ThisClass*);                                                   \
        static const FwMsgMapEntry _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                       \
    {                                                                                           \
        0, 0, 0, 0, FwSig_end, (FW_PMSG) nullptr                                                \
    }                                                                                           \
    }                                                                                           \
    ;                                                                                           \
    static const FwMsgMap messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                         \
    }

// Checks the handler's exact type, then stores it in the generic form.  Command, notify,
// reflect and message entries take the handler as &Class::Handler; ON_WM_* name theirs.
#define FW_MSG_CAST(type, fn) reinterpret_cast<FW_PMSG>(static_cast<type>(fn))

// --- commands and control notifications ---
#define ON_COMMAND(id, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), FwSig_v_v, FW_MSG_CAST(void(CCmdTarget::*)(), fn)},
#define ON_COMMAND_EX(id, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), FwSig_b_u, FW_MSG_CAST(BOOL(CCmdTarget::*)(UINT), fn)},
#define ON_COMMAND_RANGE(id, idLast, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), FwSig_v_u, FW_MSG_CAST(void(CCmdTarget::*)(UINT), fn)},
#define ON_UPDATE_COMMAND_UI(id, fn)               \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), \
     (UINT)(id), FwSig_cmdui,          FW_MSG_CAST(void(CCmdTarget::*)(CCmdUI*), fn)},
#define ON_CONTROL(code, id, fn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), FwSig_v_v, FW_MSG_CAST(void(CCmdTarget::*)(), fn)},
#define ON_CONTROL_RANGE(code, id, idLast, fn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(idLast), FwSig_v_u, FW_MSG_CAST(void(CCmdTarget::*)(UINT), fn)},
#define ON_NOTIFY(code, id, fn)            \
    {WM_NOTIFY,  (UINT)(code), (UINT)(id), \
     (UINT)(id), FwSig_notify, FW_MSG_CAST(void(CCmdTarget::*)(NMHDR*, LRESULT*), fn)},
#define ON_NOTIFY_RANGE(code, id, idLast, fn)        \
    {WM_NOTIFY,      (UINT)(code),       (UINT)(id), \
     (UINT)(idLast), FwSig_notify_range, FW_MSG_CAST(void(CCmdTarget::*)(UINT, NMHDR*, LRESULT*), fn)},
#define ON_NOTIFY_EX(code, id, fn)           \
    {WM_NOTIFY,  (UINT)(code),   (UINT)(id), \
     (UINT)(id), FwSig_notify_b, FW_MSG_CAST(BOOL(CCmdTarget::*)(NMHDR*, LRESULT*), fn)},

#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_BN_SETFOCUS(id, fn) ON_CONTROL(BN_SETFOCUS, id, fn)
#define ON_BN_KILLFOCUS(id, fn) ON_CONTROL(BN_KILLFOCUS, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)
#define ON_STN_DBLCLK(id, fn) ON_CONTROL(STN_DBLCLK, id, fn)

// --- reflected notifications (handled by the control itself) ---
#define ON_CONTROL_REFLECT(code, fn) \
    {WM_COMMAND + WM_REFLECT_BASE, (UINT)(code), 0, 0, FwSig_v_v, FW_MSG_CAST(void(CCmdTarget::*)(), fn)},
#define ON_CONTROL_REFLECT_EX(code, fn) \
    {WM_COMMAND + WM_REFLECT_BASE, (UINT)(code), 0, 0, FwSig_b_v, FW_MSG_CAST(BOOL(CCmdTarget::*)(), fn)},
#define ON_NOTIFY_REFLECT(code, fn) \
    {WM_NOTIFY + WM_REFLECT_BASE,   \
     (UINT)(code),                  \
     0,                             \
     0,                             \
     FwSig_notify,                  \
     FW_MSG_CAST(void(CCmdTarget::*)(NMHDR*, LRESULT*), fn)},
#define ON_NOTIFY_REFLECT_EX(code, fn) \
    {WM_NOTIFY + WM_REFLECT_BASE,      \
     (UINT)(code),                     \
     0,                                \
     0,                                \
     FwSig_notify_b,                   \
     FW_MSG_CAST(BOOL(CCmdTarget::*)(NMHDR*, LRESULT*), fn)},
#define ON_BN_CLICKED_REFLECT(fn) ON_CONTROL_REFLECT(BN_CLICKED, fn)
#define ON_WM_CTLCOLOR_REFLECT()          \
    {WM_CTLCOLORSTATIC + WM_REFLECT_BASE, \
     0,                                   \
     0,                                   \
     0,                                   \
     FwSig_h_ctlcolor_r,                  \
     FW_MSG_CAST(HBRUSH(CWnd::*)(CDC*, UINT), &ThisClass::CtlColor)},
#define ON_WM_HSCROLL_REFLECT()    \
    {WM_HSCROLL + WM_REFLECT_BASE, \
     0,                            \
     0,                            \
     0,                            \
     FwSig_v_scroll_r,             \
     FW_MSG_CAST(void(CWnd::*)(UINT, UINT), &ThisClass::HScroll)},
#define ON_WM_VSCROLL_REFLECT()    \
    {WM_VSCROLL + WM_REFLECT_BASE, \
     0,                            \
     0,                            \
     0,                            \
     FwSig_v_scroll_r,             \
     FW_MSG_CAST(void(CWnd::*)(UINT, UINT), &ThisClass::VScroll)},

// --- plain and registered messages ---
#define ON_MESSAGE(msg, fn) {(UINT)(msg), 0, 0, 0, FwSig_l_wl, FW_MSG_CAST(LRESULT(CWnd::*)(WPARAM, LPARAM), fn)},
// The entry keeps the address of the variable that holds the registered id.
#define ON_REGISTERED_MESSAGE(nMessageVariable, fn) \
    {0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable), FW_MSG_CAST(LRESULT(CWnd::*)(WPARAM, LPARAM), fn)},

// --- window messages with cracked arguments ---
#define FW_ON_WM(msg, sig, type, fn) {(UINT)(msg), 0, 0, 0, sig, FW_MSG_CAST(type, fn)},
#define ON_WM_CREATE() FW_ON_WM(WM_CREATE, FwSig_i_create, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_NCCREATE() FW_ON_WM(WM_NCCREATE, FwSig_b_nccreate, BOOL (CWnd::*)(LPCREATESTRUCT), OnNcCreate)
#define ON_WM_DESTROY() FW_ON_WM(WM_DESTROY, FwSig_v_paint, void (CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() FW_ON_WM(WM_NCDESTROY, FwSig_v_paint, void (CWnd::*)(), OnNcDestroy)
#define ON_WM_PAINT() FW_ON_WM(WM_PAINT, FwSig_v_paint, void (CWnd::*)(), OnPaint)
#define ON_WM_NCPAINT() FW_ON_WM(WM_NCPAINT, FwSig_v_paint, void (CWnd::*)(), OnNcPaint)
#define ON_WM_CLOSE() FW_ON_WM(WM_CLOSE, FwSig_v_paint, void (CWnd::*)(), OnClose)
#define ON_WM_MOUSELEAVE() FW_ON_WM(WM_MOUSELEAVE, FwSig_v_paint, void (CWnd::*)(), OnMouseLeave)
#define ON_WM_SYSCOLORCHANGE() FW_ON_WM(WM_SYSCOLORCHANGE, FwSig_v_paint, void (CWnd::*)(), OnSysColorChange)
#define ON_WM_CANCELMODE() FW_ON_WM(WM_CANCELMODE, FwSig_v_paint, void (CWnd::*)(), OnCancelMode)
#define ON_WM_ERASEBKGND() FW_ON_WM(WM_ERASEBKGND, FwSig_b_dc, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SIZE() FW_ON_WM(WM_SIZE, FwSig_v_size, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_SIZING() FW_ON_WM(WM_SIZING, FwSig_v_sizing, void (CWnd::*)(UINT, LPRECT), OnSizing)
#define ON_WM_MOVE() FW_ON_WM(WM_MOVE, FwSig_v_move, void (CWnd::*)(int, int), OnMove)
#define ON_WM_TIMER() FW_ON_WM(WM_TIMER, FwSig_v_timer, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_MOUSEMOVE() FW_ON_WM(WM_MOUSEMOVE, FwSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_LBUTTONDOWN() FW_ON_WM(WM_LBUTTONDOWN, FwSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() FW_ON_WM(WM_LBUTTONUP, FwSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() FW_ON_WM(WM_LBUTTONDBLCLK, FwSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() FW_ON_WM(WM_RBUTTONDOWN, FwSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() FW_ON_WM(WM_RBUTTONUP, FwSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() FW_ON_WM(WM_RBUTTONDBLCLK, FwSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() FW_ON_WM(WM_MBUTTONDOWN, FwSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() FW_ON_WM(WM_MBUTTONUP, FwSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnMButtonUp)
#define ON_WM_MOUSEWHEEL() FW_ON_WM(WM_MOUSEWHEEL, FwSig_b_wheel, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_KEYDOWN() FW_ON_WM(WM_KEYDOWN, FwSig_v_key, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() FW_ON_WM(WM_KEYUP, FwSig_v_key, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() FW_ON_WM(WM_CHAR, FwSig_v_key, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SYSKEYDOWN() FW_ON_WM(WM_SYSKEYDOWN, FwSig_v_key, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SETCURSOR() FW_ON_WM(WM_SETCURSOR, FwSig_b_setcursor, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_HSCROLL() FW_ON_WM(WM_HSCROLL, FwSig_v_scroll, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() FW_ON_WM(WM_VSCROLL, FwSig_v_scroll, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_CTLCOLOR() FW_ON_WM(WM_CTLCOLORSTATIC, FwSig_h_ctlcolor, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_DRAWITEM() FW_ON_WM(WM_DRAWITEM, FwSig_v_drawitem, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() \
    FW_ON_WM(WM_MEASUREITEM, FwSig_v_measure, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_SETFOCUS() FW_ON_WM(WM_SETFOCUS, FwSig_v_wnd, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() FW_ON_WM(WM_KILLFOCUS, FwSig_v_wnd, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_CAPTURECHANGED() FW_ON_WM(WM_CAPTURECHANGED, FwSig_v_wnd, void (CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_PALETTECHANGED() FW_ON_WM(WM_PALETTECHANGED, FwSig_v_wnd, void (CWnd::*)(CWnd*), OnPaletteChanged)
#define ON_WM_QUERYNEWPALETTE() FW_ON_WM(WM_QUERYNEWPALETTE, FwSig_b_v_msg, BOOL (CWnd::*)(), OnQueryNewPalette)
#define ON_WM_SHOWWINDOW() FW_ON_WM(WM_SHOWWINDOW, FwSig_v_showwnd, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_ACTIVATE() FW_ON_WM(WM_ACTIVATE, FwSig_v_activate, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ACTIVATEAPP() FW_ON_WM(WM_ACTIVATEAPP, FwSig_v_actapp, void (CWnd::*)(BOOL, DWORD), OnActivateApp)
#define ON_WM_ENABLE() FW_ON_WM(WM_ENABLE, FwSig_v_b, void (CWnd::*)(BOOL), OnEnable)
#define ON_WM_GETDLGCODE() FW_ON_WM(WM_GETDLGCODE, FwSig_u_v, UINT (CWnd::*)(), OnGetDlgCode)
#define ON_WM_WINDOWPOSCHANGED() \
    FW_ON_WM(WM_WINDOWPOSCHANGED, FwSig_v_winpos, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_WINDOWPOSCHANGING() \
    FW_ON_WM(WM_WINDOWPOSCHANGING, FwSig_v_winpos, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_GETMINMAXINFO() FW_ON_WM(WM_GETMINMAXINFO, FwSig_v_minmax, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_NCHITTEST() FW_ON_WM(WM_NCHITTEST, FwSig_l_hittest, LRESULT (CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_CONTEXTMENU() FW_ON_WM(WM_CONTEXTMENU, FwSig_v_ctxmenu, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_SYSCOMMAND() FW_ON_WM(WM_SYSCOMMAND, FwSig_v_syscmd, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_MOUSEACTIVATE() \
    FW_ON_WM(WM_MOUSEACTIVATE, FwSig_i_mouseact, int (CWnd::*)(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_INITMENUPOPUP() \
    FW_ON_WM(WM_INITMENUPOPUP, FwSig_v_initmenu, void (CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_DROPFILES() FW_ON_WM(WM_DROPFILES, FwSig_v_dropfiles, void (CWnd::*)(HDROP), OnDropFiles)

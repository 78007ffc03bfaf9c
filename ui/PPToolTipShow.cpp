// The tooltip window's behaviour: the relayed pointer, the tool under it, the timers that show,
// fade and hide the balloon, notifications, help and menu tips, and the debug table.
#include "ui/PPToolTip.h"
#include "fw/fwtoolbar.h"

namespace {

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool SamePoint(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

// The screen point of a mouse message: client coordinates for the client messages, screen
// coordinates for the others.
POINT MessagePoint(const MSG& msg)
{
    POINT pt = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.message != WM_MOUSEWHEEL &&
        ::IsWindow(msg.hwnd))
        ::ClientToScreen(msg.hwnd, &pt);
    return pt;
}

// A value of the debug table: no tag can start in it, and a long one is cut.
CString DebugValue(CString text)
{
    text.Replace('<', '?');
    if (text.GetLength() > 25)
        text = text.Left(21) + " ...";
    return text;
}

CString DebugRow(LPCTSTR name, const CString& value)
{
    CString row;
    row.Format("<tr><td width=70 bgcolor=buttonface>%s</td><td width=130 bgcolor=window>%s</td></tr>", name,
               (LPCTSTR)DebugValue(value));
    return row;
}

CString WindowClass(HWND wnd)
{
    char name[256] = {};
    ::GetClassName(wnd, name, sizeof name);
    return name;
}

CString WindowTitle(HWND wnd)
{
    char title[256] = {};
    ::GetWindowText(wnd, title, sizeof title);
    return title;
}

CString Hex(HWND wnd)
{
    CString text;
    text.Format("0x%08llX", (unsigned long long)(UINT_PTR)wnd);
    return text;
}

CString Number(long long value)
{
    CString text;
    text.Format("%lld", value);
    return text;
}

} // namespace

bool CPPToolTip::IsCursorOverTooltip() const
{
    if (!m_hWnd || !::IsWindowVisible(m_hWnd))
        return false;
    POINT cursor;
    if (!::GetCursorPos(&cursor))
        return false;
    return ::WindowFromPoint(cursor) == m_hWnd;
}

BOOL CPPToolTip::RelayEvent(MSG* msg)
{
    if (!msg || !m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    switch (msg->message) {
    case WM_MOUSEMOVE: {
        if (m_displayed.kind == KIND_HELP || m_next.kind == KIND_HELP)
            return FALSE;
        const POINT pt = MessagePoint(*msg);
        if (SamePoint(pt, m_lastPos))
            return FALSE;
        m_lastPos = pt;
        if (m_debug) {
            PPToolInfo ti;
            ti.sTooltip = GetDebugTable(pt);
            m_displayed.wnd = nullptr;
            SetNewTooltip(m_hWnd, ti, TRUE, KIND_TOOL);
            return FALSE;
        }
        if (IsCursorOverTooltip() && !(m_displayed.ti.nBehaviour & PPTOOLTIP_TRACKING_MOUSE)) {
            if (m_displayed.ti.nBehaviour & PPTOOLTIP_NOCLOSE_OVER)
                SetAutoPopTimer();
            else
                HideTooltip();
            return FALSE;
        }
        PPToolInfo ti;
        HWND toolWnd = nullptr;
        if (!FindToolBarItem(pt, ti, toolWnd) && !FindTool(pt, ti, toolWnd, TRUE)) {
            m_displayed.wnd = nullptr;
            m_displayed.ti.rectBounds = RECT{0, 0, 0, 0};
            ::KillTimer(m_hWnd, TIMER_SHOW);
            HideTooltip();
            return FALSE;
        }
        if (toolWnd == m_displayed.wnd && SameRect(ti.rectBounds, m_displayed.ti.rectBounds)) {
            const UINT behaviour = m_displayed.ti.nBehaviour;
            if (behaviour & PPTOOLTIP_TRACKING_MOUSE) {
                SetAutoPopTimer();
                OutputTooltipOnScreen(pt);
            } else if (behaviour & PPTOOLTIP_CLOSE_LEAVEWND) {
                SetAutoPopTimer();
            } else if (!(behaviour & PPTOOLTIP_MULTIPLE_SHOW)) {
                HideTooltip();
            } else {
                SetNewTooltip(toolWnd, ti, TRUE, KIND_TOOL);
            }
            return FALSE;
        }
        SetNewTooltip(toolWnd, ti, TRUE, KIND_TOOL);
        return FALSE;
    }
    case WM_LBUTTONDOWN:
        if (IsCursorOverTooltip()) {
            POINT pt;
            ::GetCursorPos(&pt);
            ::ScreenToClient(m_hWnd, &pt);
            m_drawer.JumpToHyperlink(pt);
        }
        Pop();
        return FALSE;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Pop();
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL CPPToolTip::FindTool(POINT pt, PPToolInfo& ti, HWND& toolWnd, BOOL checkTool) const
{
    HWND under = ::WindowFromPoint(pt);
    if (!under)
        return FALSE;
    HWND parent = ::GetParent(under);
    if (!parent)
        return FALSE;
    HWND wnd = nullptr;
    // The edit of a drop-down combo box belongs to the combo box.
    if ((::GetWindowLong(parent, GWL_STYLE) & 0x0F) == CBS_DROPDOWN &&
        WindowClass(parent).CompareNoCase("combobox") == 0) {
        wnd = parent;
    } else {
        POINT client = pt;
        ::ScreenToClient(under, &client);
        wnd = ::ChildWindowFromPoint(under, client);
    }
    if (!wnd || (checkTool && !::IsWindowEnabled(wnd)))
        return FALSE;
    const auto found = m_tools.find(wnd);
    if (found != m_tools.end()) {
        const std::vector<PPToolInfo>& tools = found->second;
        if (tools.size() == 1 && ::IsRectEmpty(&tools[0].rectBounds)) {
            ti = tools[0];
            toolWnd = wnd;
            return TRUE;
        }
        POINT client = pt;
        ::ScreenToClient(wnd, &client);
        for (const PPToolInfo& tool : tools) {
            if (::PtInRect(&tool.rectBounds, client)) {
                ti = tool;
                toolWnd = wnd;
                return TRUE;
            }
        }
    }
    if (checkTool)
        return FALSE;
    ti = PPToolInfo();
    toolWnd = wnd;
    return TRUE;
}

BOOL CPPToolTip::FindToolBarItem(POINT pt, PPToolInfo& ti, HWND& toolWnd) const
{
    if (m_toolBars.empty())
        return FALSE;
    HWND under = ::WindowFromPoint(pt);
    for (CToolBar* bar : m_toolBars) {
        if (!bar || !bar->m_hWnd || bar->m_hWnd != under)
            continue;
        POINT client = pt;
        ::ScreenToClient(under, &client);
        for (int i = 0, count = bar->GetCount(); i < count; ++i) {
            RECT item;
            bar->GetItemRect(i, &item);
            if (!::PtInRect(&item, client))
                continue;
            ti = PPToolInfo();
            ti.nIDTool = bar->GetItemID(i);
            ti.rectBounds = item;
            ti.sTooltip = m_drawer.GetResourceStringPart(ti.nIDTool, 1);
            toolWnd = under;
            return TRUE;
        }
    }
    return FALSE;
}

void CPPToolTip::SetNewTooltip(HWND wnd, const PPToolInfo& ti, BOOL delay, int kind)
{
    if (!m_hWnd)
        return;
    m_waiting = false;
    if (m_state == STATE_SHOWING || m_state == STATE_SHOWN)
        HideTooltip();
    m_next.wnd = wnd;
    m_next.kind = kind;
    m_next.ti = ti;
    if (m_state != STATE_HIDDEN) {
        m_waiting = true;
        m_delayed = delay && m_initial != 0;
        return;
    }
    if (delay && m_initial)
        ::SetTimer(m_hWnd, TIMER_SHOW, m_initial, nullptr);
    else
        ShowStep();
}

void CPPToolTip::ShowHelp(LPPOINT pt, const CString& text)
{
    if (!pt || !m_hWnd)
        return;
    PPToolInfo ti;
    ti.sTooltip = text;
    ti.nBehaviour = m_defaults.nBehaviour | PPTOOLTIP_DISABLE_AUTOPOP;
    ti.nMask = PPTOOLTIP_MASK_BEHAVIOUR;
    m_lastPos = *pt;
    SetNewTooltip(m_owner, ti, FALSE, KIND_HELP);
}

void CPPToolTip::ShowHelpTooltip(LPPOINT pt, LPCTSTR text, HICON icon)
{
    CString html = text ? text : "";
    if (icon) {
        CString withIcon;
        withIcon.Format("<table><tr><td><icon handle=0x%llX></td><td>%s</td></tr></table>",
                        (unsigned long long)(UINT_PTR)icon, (LPCTSTR)html);
        html = withIcon;
    }
    ShowHelp(pt, html);
}

void CPPToolTip::ShowHelpTooltip(LPPOINT pt, UINT textId, HICON icon)
{
    ShowHelpTooltip(pt, (LPCTSTR)m_drawer.GetStringFromResource(textId), icon);
}

void CPPToolTip::ShowHelpTooltip(LPPOINT pt, LPCTSTR text, UINT iconId, SIZE iconSize)
{
    CString html;
    html.Format("<table><tr><td><icon idres=%u width=%ld height=%ld></td><td>%s</td></tr></table>", iconId,
                (long)iconSize.cx, (long)iconSize.cy, text ? text : "");
    ShowHelp(pt, html);
}

void CPPToolTip::ShowStep()
{
    ::KillTimer(m_hWnd, TIMER_SHOW);
    POINT pt = m_lastPos;
    if (m_next.kind == KIND_TOOL)
        ::GetCursorPos(&pt);
    if (!SamePoint(pt, m_lastPos)) {
        HideTooltip(); // the pointer moved since the wait began
        return;
    }
    if (m_state != STATE_HIDDEN)
        return;
    m_state = STATE_SHOWING;
    if (!PrepareDisplayTooltip(pt)) {
        m_state = STATE_HIDDEN; // nothing to show
        m_displayed.kind = m_next.kind = KIND_TOOL;
        return;
    }
    if (m_fadeIn) {
        ::SetTimer(m_hWnd, TIMER_FADEIN, m_fadeIn, nullptr);
        return;
    }
    m_state = STATE_SHOWN;
    Step();
    if (m_autoPop && !(m_next.ti.nBehaviour & PPTOOLTIP_DISABLE_AUTOPOP))
        ::SetTimer(m_hWnd, TIMER_HIDE, m_autoPop, nullptr);
}

void CPPToolTip::FadeInStep()
{
    const int target = m_displayed.ti.nTransparency;
    m_transparency = m_transparency <= 20 ? 0 : m_transparency - 20;
    if (m_transparency <= target) {
        m_transparency = target;
        ::KillTimer(m_hWnd, TIMER_FADEIN);
        m_state = STATE_SHOWN;
        SetAutoPopTimer();
    }
    Step();
    OnRedrawTooltip(nullptr, m_transparency);
}

void CPPToolTip::HideStep()
{
    ::KillTimer(m_hWnd, TIMER_SHOW);
    ::KillTimer(m_hWnd, TIMER_FADEIN);
    ::KillTimer(m_hWnd, TIMER_HIDE);
    if (m_state == STATE_HIDING)
        return;
    m_state = STATE_HIDING;
    Step();
    if (m_fadeOut) {
        ::SetTimer(m_hWnd, TIMER_FADEOUT, m_fadeOut, nullptr);
    } else {
        m_transparency = 100;
        FadeOutStep();
    }
}

void CPPToolTip::FadeOutStep()
{
    m_transparency = m_transparency >= 80 ? 100 : m_transparency + 20;
    if (m_transparency < 100) {
        Step();
        OnRedrawTooltip(nullptr, m_transparency);
        return;
    }
    ::KillTimer(m_hWnd, TIMER_FADEOUT);
    if (m_displayed.ti.nBehaviour & PPTOOLTIP_MULTIPLE_SHOW) {
        m_displayed.wnd = nullptr;
        m_displayed.ti.rectBounds = RECT{0, 0, 0, 0};
    }
    ::ShowWindow(m_hWnd, SW_HIDE);
    m_state = STATE_HIDDEN;
    Step();
    if (m_waiting) {
        m_waiting = false;
        if (m_delayed)
            ::SetTimer(m_hWnd, TIMER_SHOW, m_initial, nullptr);
        else
            ShowStep();
    } else {
        m_displayed.kind = m_next.kind = KIND_TOOL;
    }
}

void CPPToolTip::Step()
{
    if (m_stepHook)
        m_stepHook(m_state, m_transparency);
}

void CPPToolTip::OnTimer(UINT_PTR id)
{
    switch (id) {
    case TIMER_SHOW:
        ShowStep();
        break;
    case TIMER_HIDE:
        HideStep();
        break;
    case TIMER_FADEIN:
        FadeInStep();
        break;
    case TIMER_FADEOUT:
        FadeOutStep();
        break;
    case TIMER_ANIMATION:
        if (m_displayed.kind == KIND_MENU && m_state != STATE_HIDDEN) {
            // A menu tip goes when the pointer leaves the menu it was shown for.
            POINT cursor;
            if (::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) != m_displayed.wnd) {
                HideTooltip();
                break;
            }
        }
        if (PointerLeftDisplayedTool()) {
            HideTooltip();
            break;
        }
        if (::IsWindowVisible(m_hWnd) && m_state == STATE_SHOWN && m_drawer.StepAnimations())
            OnRedrawTooltip(nullptr, m_transparency);
        break;
    default:
        Default();
        break;
    }
}

// A pointer that leaves the owner in one jump sends the owner no further move, so the bubble
// of a registered tool would stay up for good: the animation tick looks where the pointer is.
bool CPPToolTip::PointerLeftDisplayedTool() const
{
    if (m_debug || m_displayed.kind != KIND_TOOL || m_displayed.wnd == nullptr ||
        (m_state != STATE_SHOWING && m_state != STATE_SHOWN) || IsCursorOverTooltip())
        return false;
    POINT cursor;
    if (!::GetCursorPos(&cursor))
        return false;
    PPToolInfo ti;
    HWND toolWnd = nullptr;
    if (!FindToolBarItem(cursor, ti, toolWnd) && !FindTool(cursor, ti, toolWnd, TRUE))
        return true;
    return toolWnd != m_displayed.wnd || !SameRect(ti.rectBounds, m_displayed.ti.rectBounds);
}

void CPPToolTip::HideTooltip()
{
    if (!m_hWnd)
        return;
    if (m_state == STATE_SHOWING) {
        ::KillTimer(m_hWnd, TIMER_FADEIN);
        HideStep();
    } else if (m_state == STATE_SHOWN) {
        HideStep();
    }
}

void CPPToolTip::SetAutoPopTimer()
{
    if (m_hWnd && m_autoPop && !(m_displayed.ti.nBehaviour & PPTOOLTIP_DISABLE_AUTOPOP))
        ::SetTimer(m_hWnd, TIMER_HIDE, m_autoPop, nullptr);
}

void CPPToolTip::KillTimers(UINT id)
{
    if (!m_hWnd)
        return;
    if (id) {
        ::KillTimer(m_hWnd, id);
        return;
    }
    for (UINT timer = TIMER_SHOW; timer <= TIMER_FADEOUT; ++timer)
        ::KillTimer(m_hWnd, timer);
}

void CPPToolTip::Pop()
{
    m_state = STATE_HIDDEN;
    m_waiting = false;
    m_displayed.kind = m_next.kind = KIND_TOOL;
    KillTimers();
    if (m_hWnd && ::IsWindowVisible(m_hWnd)) {
        if (m_displayed.ti.nBehaviour & PPTOOLTIP_MULTIPLE_SHOW) {
            m_displayed.wnd = nullptr;
            m_displayed.ti.rectBounds = RECT{0, 0, 0, 0};
        }
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

void CPPToolTip::SendNotify(POINT* pt, PPToolInfo& ti)
{
    if (!m_notifyWnd || !m_hWnd)
        return;
    PPTooltipNotify notify = {};
    notify.hdr.hwndFrom = m_hWnd;
    notify.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
    notify.hdr.code = UDM_TOOLTIP_DISPLAY;
    notify.hwndTool = m_next.wnd;
    notify.pt = pt;
    notify.ti = &ti;
    ::SendMessage(m_notifyWnd, WM_NOTIFY, notify.hdr.idFrom, (LPARAM)&notify);
}

void CPPToolTip::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    if (!m_hWnd)
        return;
    if (item == 0xFFFF || (flags & (MF_POPUP | MF_SEPARATOR)) || !menu) {
        Pop();
        return;
    }
    HWND menuWnd = ::FindWindow("#32768", nullptr);
    if (!menuWnd) {
        Pop();
        return;
    }
    RECT window;
    ::GetWindowRect(menuWnd, &window);
    // The item's place among the menu's items, and the heights of those before it.
    int y = window.top + ::GetSystemMetrics(SM_CYEDGE) + 1;
    RECT itemRect = {0, 0, 0, 0};
    bool found = false;
    for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i) {
        RECT r;
        if (!::GetMenuItemRect(nullptr, menu, (UINT)i, &r))
            continue;
        if (::GetMenuItemID(menu, i) == item) {
            itemRect = r;
            found = true;
            break;
        }
        y += r.bottom - r.top;
    }
    if (!found) {
        Pop();
        return;
    }
    POINT pt = {window.left, y};
    const int width = itemRect.right - itemRect.left, height = itemRect.bottom - itemRect.top;
    if (m_menuAlignment & PPTOOLTIP_MENU_RIGHT)
        pt.x += width;
    else if (m_menuAlignment & PPTOOLTIP_MENU_CENTER)
        pt.x += width / 2;
    if (m_menuAlignment & PPTOOLTIP_MENU_BOTTOM)
        pt.y += height;
    else if (m_menuAlignment & PPTOOLTIP_MENU_VCENTER)
        pt.y += height / 2;

    PPToolInfo ti;
    ti.nIDTool = item;
    ti.rectBounds = itemRect;
    // A greyed item is disabled as well.
    ti.sTooltip = m_drawer.GetResourceStringPart(item, (flags & (MF_DISABLED | MF_GRAYED)) ? 2 : 0);
    m_lastPos = pt;
    SetNewTooltip(menuWnd, ti, TRUE, KIND_MENU);
}

void CPPToolTip::OnActivateApp(BOOL active, DWORD thread)
{
    Default();
    if (!active)
        Pop();
}

BOOL CPPToolTip::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    if (!m_drawer.OnSetCursor(pt))
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}

LRESULT CPPToolTip::OnRepaintRequest(WPARAM, LPARAM)
{
    if (m_repaintOnRequest && m_state != STATE_HIDDEN) {
        CClientDC dc(this);
        OnRedrawTooltip(dc.GetSafeHdc(), 0);
    }
    return 0;
}

CString CPPToolTip::GetDebugTable(POINT pt) const
{
    HWND wnd = ::WindowFromPoint(pt);
    RECT rect = {0, 0, 0, 0};
    if (wnd)
        ::GetWindowRect(wnd, &rect);
    CString styles;
    styles.Format("0x%08lX", wnd ? (unsigned long)::GetWindowLong(wnd, GWL_STYLE) : 0UL);
    CString place;
    place.Format("(%ld, %ld)-(%ld, %ld)", (long)rect.left, (long)rect.top, (long)rect.right, (long)rect.bottom);
    const bool hasTooltip = wnd && m_tools.count(wnd) != 0;
    HWND owner = wnd ? ::GetParent(wnd) : nullptr;

    CString html = "<table>";
    html += "<tr><td><font color=darkblue>Window</font><table border=1>";
    html += DebugRow("Class name", wnd ? WindowClass(wnd) : CString("N/A"));
    html += DebugRow("Title", wnd ? WindowTitle(wnd) : CString("N/A"));
    html += DebugRow("Handle", Hex(wnd));
    html += DebugRow("Control ID", Number(wnd ? ::GetDlgCtrlID(wnd) : 0));
    html += DebugRow("Styles", styles);
    html += DebugRow("RECT", place);
    html += DebugRow("Width", Number(rect.right - rect.left));
    html += DebugRow("Height", Number(rect.bottom - rect.top));
    html += DebugRow("Has Tooltip", hasTooltip ? "Yes" : "No");
    html += "</table></td><td><font color=darkblue>Window Owner</font><table border=1>";
    html += DebugRow("Class name", owner ? WindowClass(owner) : CString("N/A"));
    html += DebugRow("Title", owner ? WindowTitle(owner) : CString("N/A"));
    html += DebugRow("Handle", owner ? Hex(owner) : CString("N/A"));
    html += "</table><br><font color=darkblue>Mouse Cursor</font><table border=1>";
    html += DebugRow("X", Number(pt.x));
    html += DebugRow("Y", Number(pt.y));
    html += "</table></td></tr></table>";
    return html;
}

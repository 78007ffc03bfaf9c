// The tooltip window's life, its tools and its settings.
#include "ui/PPToolTip.h"
#include "fw/fwtoolbar.h"

namespace {

const char kClassName[] = "CPPToolTip";

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT RectOrEmpty(LPCRECT rect) { return rect ? *rect : RECT{0, 0, 0, 0}; }

// A handle in a tag attribute, all its bits kept.
CString HandleText(const void* handle)
{
    CString text;
    text.Format("0x%llX", (unsigned long long)(UINT_PTR)handle);
    return text;
}

} // namespace

BEGIN_MESSAGE_MAP(CPPToolTip, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_ACTIVATEAPP()
    ON_MESSAGE(UDM_TOOLTIP_REPAINT, &CPPToolTip::OnRepaintRequest)
END_MESSAGE_MAP()

CPPToolTip::CPPToolTip()
{
    WNDCLASS wc = {};
    const HINSTANCE instance = AfxGetInstanceHandle();
    if (!::GetClassInfo(instance, kClassName, &wc)) {
        // No class cursor: the cursor is set on every WM_SETCURSOR. No background brush:
        // the first paint finds the screen beneath.
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        if (!AfxRegisterClass(&wc))
            AfxThrowResourceException();
    }
    m_defaults.nDirection = PPTOOLTIP_SIDE_ABOVE;
    m_defaults.crBegin = m_defaults.crMid = m_defaults.crEnd = ::GetSysColor(COLOR_INFOBK);
    SetBorder(::GetSysColor(COLOR_INFOTEXT), 1, 1);
    SetDefaultSizes(TRUE);
}

CPPToolTip::~CPPToolTip()
{
    if (m_hWnd)
        DestroyWindow();
    FreeResources();
    RemoveAllTools();
}

BOOL CPPToolTip::Create(CWnd* owner, BOOL balloon)
{
    m_owner = FwGetSafeHwnd(owner);
    if (!CWnd::CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, nullptr, WS_POPUP, 0, 0, 0, 0, m_owner, nullptr))
        return FALSE;
    SetDefaultSizes(balloon);
    m_drawer.SetCallbackRepaint(m_hWnd, UDM_TOOLTIP_REPAINT, 0);
    SetDelayTime(DELAY_ANIMATION, 100);
    return TRUE;
}

BOOL CPPToolTip::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    Pop();
    ::KillTimer(m_hWnd, TIMER_ANIMATION);
    m_drawer.SetCallbackRepaint(nullptr, 0, 0);
    return CWnd::DestroyWindow();
}

BOOL CPPToolTip::PreTranslateMessage(MSG* pMsg)
{
    RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

void CPPToolTip::FreeResources()
{
    m_background.DeleteObject();
    m_screen.DeleteObject();
    m_balloon.DeleteObject();
    m_screenTaken = false;
}

void CPPToolTip::AddTool(HWND wnd, const PPToolInfo& ti)
{
    std::vector<PPToolInfo>& tools = m_tools[wnd];
    for (PPToolInfo& tool : tools) {
        if (SameRect(tool.rectBounds, ti.rectBounds)) {
            tool = ti;
            return;
        }
    }
    tools.push_back(ti);
}

void CPPToolTip::AddTool(CWnd* wnd, LPCTSTR text, LPCRECT rect, UINT id)
{
    PPToolInfo ti;
    ti.nIDTool = id;
    ti.rectBounds = RectOrEmpty(rect);
    ti.sTooltip = text ? text : "";
    AddTool(FwGetSafeHwnd(wnd), ti);
}

void CPPToolTip::AddTool(CWnd* wnd, UINT textId, LPCRECT rect, UINT id)
{
    AddTool(wnd, m_drawer.GetStringFromResource(textId), rect, id);
}

void CPPToolTip::AddTool(CWnd* wnd, LPCTSTR text, HICON icon, LPCRECT rect, UINT id)
{
    CString html;
    html.Format("<table><tr><td><icon handle=%s></td><td>%s</td></tr></table>", (LPCTSTR)HandleText(icon),
                text ? text : "");
    AddTool(wnd, html, rect, id);
}

void CPPToolTip::AddTool(CWnd* wnd, UINT textId, HICON icon, LPCRECT rect, UINT id)
{
    AddTool(wnd, (LPCTSTR)m_drawer.GetStringFromResource(textId), icon, rect, id);
}

void CPPToolTip::AddTool(CWnd* wnd, LPCTSTR text, UINT iconId, SIZE iconSize, LPCRECT rect, UINT id)
{
    CString html;
    html.Format("<table><tr><td><icon idres=%u width=%ld height=%ld></td><td>%s</td></tr></table>", iconId,
                (long)iconSize.cx, (long)iconSize.cy, text ? text : "");
    AddTool(wnd, html, rect, id);
}

void CPPToolTip::AddTool(CWnd* wnd, UINT textId, UINT iconId, SIZE iconSize, LPCRECT rect, UINT id)
{
    AddTool(wnd, (LPCTSTR)m_drawer.GetStringFromResource(textId), iconId, iconSize, rect, id);
}

void CPPToolTip::AddTool(CWnd* wnd, LPCTSTR text, UINT bitmapId, COLORREF mask, SIZE size, LPCRECT rect, UINT id)
{
    CString html;
    html.Format("<table><tr><td><bmp idres=%u mask=0x%lX width=%ld height=%ld></td><td>%s</td></tr></table>", bitmapId,
                (unsigned long)mask, (long)size.cx, (long)size.cy, text ? text : "");
    AddTool(wnd, html, rect, id);
}

void CPPToolTip::RemoveTool(CWnd* wnd, LPCRECT rect)
{
    const auto found = m_tools.find(FwGetSafeHwnd(wnd));
    if (found == m_tools.end())
        return;
    if (!rect) {
        m_tools.erase(found);
        return;
    }
    std::vector<PPToolInfo>& tools = found->second;
    for (size_t i = 0; i < tools.size(); ++i) {
        if (SameRect(tools[i].rectBounds, *rect)) {
            tools.erase(tools.begin() + (ptrdiff_t)i);
            break;
        }
    }
    if (tools.empty())
        m_tools.erase(found);
}

void CPPToolTip::RemoveAllTools()
{
    m_tools.clear();
    m_toolBars.clear();
}

std::vector<PPToolInfo> CPPToolTip::GetTools(HWND wnd) const
{
    const auto found = m_tools.find(wnd);
    return found == m_tools.end() ? std::vector<PPToolInfo>() : found->second;
}

BOOL CPPToolTip::GetToolInfo(PPToolInfo& out, CWnd* wnd, UINT id) const
{
    const auto found = m_tools.find(FwGetSafeHwnd(wnd));
    if (found == m_tools.end())
        return FALSE;
    for (const PPToolInfo& tool : found->second) {
        if (tool.nIDTool == id) {
            out = tool;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CPPToolTip::GetToolInfoByRect(PPToolInfo& out, CWnd* wnd, LPCRECT rect) const
{
    const auto found = m_tools.find(FwGetSafeHwnd(wnd));
    if (found == m_tools.end())
        return FALSE;
    const RECT wanted = RectOrEmpty(rect);
    for (const PPToolInfo& tool : found->second) {
        if (SameRect(tool.rectBounds, wanted)) {
            out = tool;
            return TRUE;
        }
    }
    return FALSE;
}

void CPPToolTip::SetToolText(LPCTSTR text, CWnd* wnd, UINT id)
{
    PPToolInfo ti;
    if (!GetToolInfo(ti, wnd, id))
        return;
    ti.sTooltip = text ? text : "";
    AddTool(FwGetSafeHwnd(wnd), ti);
}

void CPPToolTip::SetToolRectById(CWnd* wnd, UINT id, LPCRECT rect)
{
    PPToolInfo ti;
    if (!GetToolInfo(ti, wnd, id))
        return;
    ti.rectBounds = RectOrEmpty(rect);
    AddTool(FwGetSafeHwnd(wnd), ti);
}

void CPPToolTip::RemoveToolById(CWnd* wnd, UINT id)
{
    PPToolInfo ti;
    if (GetToolInfo(ti, wnd, id))
        RemoveTool(wnd, &ti.rectBounds);
}

void CPPToolTip::AddToolBar(CToolBar* bar)
{
    if (!bar)
        return;
    for (CToolBar* known : m_toolBars)
        if (known == bar)
            return;
    m_toolBars.push_back(bar);
    bar->SetBarStyle(bar->GetBarStyle() & ~(DWORD)CBRS_TOOLTIPS);
}

void CPPToolTip::SetNotify(BOOL notify) { m_notifyWnd = notify ? m_owner : nullptr; }

void CPPToolTip::SetNotify(HWND wnd) { m_notifyWnd = wnd; }

void CPPToolTip::SetColorBk(COLORREF begin, COLORREF mid, COLORREF end)
{
    m_defaults.crBegin = begin;
    m_defaults.crMid = mid;
    m_defaults.crEnd = end;
}

void CPPToolTip::SetEffectBk(UINT effect, BYTE granularity)
{
    m_defaults.nEffect = effect;
    m_defaults.nGranularity = granularity;
}

void CPPToolTip::SetTransparency(BYTE transparency)
{
    if (transparency <= 100)
        m_defaults.nTransparency = transparency;
}

void CPPToolTip::SetBorder(COLORREF colour, int cx, int cy)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    SetBorder(brush, cx, cy);
}

void CPPToolTip::SetBorder(HBRUSH brush, int cx, int cy)
{
    m_borderBrush.DeleteObject();
    m_borderCx = m_borderCy = 0;
    if (brush && cx && cy) {
        m_borderBrush.Attach(brush);
        m_borderCx = cx;
        m_borderCy = cy;
    } else if (brush) {
        ::DeleteObject(brush); // handed over, and no border with it
    }
}

void CPPToolTip::HideBorder() { SetBorder((HBRUSH) nullptr, 0, 0); }

void CPPToolTip::SetTooltipShadow(int dx, int dy, BYTE darkness, BOOL gradient, int depthX, int depthY)
{
    m_shadowDx = dx;
    m_shadowDy = dy;
    m_shadowDarkness = darkness > 100 ? 100 : darkness;
    m_shadowGradient = gradient;
    m_shadowDepthX = depthX;
    m_shadowDepthY = depthY;
}

void CPPToolTip::SetDelayTime(DWORD kind, UINT ms)
{
    switch (kind) {
    case DELAY_AUTOPOP:
        m_autoPop = ms;
        break;
    case DELAY_INITIAL:
        m_initial = ms;
        break;
    case DELAY_FADEIN:
        m_fadeIn = ms;
        break;
    case DELAY_FADEOUT:
        m_fadeOut = ms;
        break;
    case DELAY_ANIMATION:
        m_animation = ms;
        if (m_hWnd) {
            ::KillTimer(m_hWnd, TIMER_ANIMATION);
            if (ms)
                ::SetTimer(m_hWnd, TIMER_ANIMATION, ms, nullptr);
        }
        break;
    default:
        break;
    }
}

UINT CPPToolTip::GetDelayTime(DWORD kind) const
{
    switch (kind) {
    case DELAY_AUTOPOP:
        return m_autoPop;
    case DELAY_INITIAL:
        return m_initial;
    case DELAY_FADEIN:
        return m_fadeIn;
    case DELAY_FADEOUT:
        return m_fadeOut;
    case DELAY_ANIMATION:
        return m_animation;
    default:
        return 0;
    }
}

void CPPToolTip::SetSize(int index, int value)
{
    if (index >= 0 && index < SIZE_COUNT)
        m_sizes[index] = value;
}

int CPPToolTip::GetSize(int index) const { return index >= 0 && index < SIZE_COUNT ? m_sizes[index] : 0; }

void CPPToolTip::SetDefaultSizes(BOOL balloon)
{
    static const int kBalloon[SIZE_COUNT] = {16, 16, 12, 12, 12, 16, 16, 0, 0};
    static const int kPlain[SIZE_COUNT] = {0, 0, 3, 1, 0, 0, 0, 0, 0};
    for (int i = 0; i < SIZE_COUNT; ++i)
        m_sizes[i] = balloon ? kBalloon[i] : kPlain[i];
}

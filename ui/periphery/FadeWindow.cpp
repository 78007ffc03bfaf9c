#include "ui/periphery/FadeWindow.h"

BEGIN_MESSAGE_MAP(CFadeWindow, CWnd)
    ON_WM_TIMER()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

namespace {

const UINT_PTR kFadeOut = 1;
const UINT_PTR kFadeIn = 2;

FARPROC SystemLookup(LPCSTR module, LPCSTR name)
{
    HMODULE h = ::GetModuleHandle(module);
    return h != nullptr ? ::GetProcAddress(h, name) : nullptr;
}

CFadeWindow::Lookup g_lookup = SystemLookup;
LONG g_live = 0;

} // namespace

void CFadeWindow::SetLookup(Lookup lookup) { g_lookup = lookup != nullptr ? lookup : SystemLookup; }

int CFadeWindow::Live() { return (int)g_live; }

CFadeWindow* CFadeWindow::Start(CWnd* target, UINT duration, BYTE startAlpha, BOOL fadeOut)
{
    if (target == nullptr || target->GetSafeHwnd() == nullptr)
        return nullptr;
    auto* fade = new CFadeWindow(target, duration, startAlpha, fadeOut);
    if (fade->m_hWnd == nullptr) {
        delete fade; // nothing shown: nothing kept
        return nullptr;
    }
    return fade;
}

CFadeWindow::CFadeWindow(CWnd* target, UINT duration, BYTE startAlpha, BOOL fadeOut) : m_pTarget(target)
{
    ++g_live;
    m_pUpdateLayeredWindow = reinterpret_cast<UpdateLayered>(g_lookup("USER32.DLL", "UpdateLayeredWindow"));
    if (m_pUpdateLayeredWindow == nullptr)
        return;
    CRect r;
    target->GetWindowRect(&r);
    if (!CreateEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_TRANSPARENT, "STATIC", "",
                  WS_POPUP | WS_VISIBLE, r.left, r.top, r.Width(), r.Height(), nullptr, nullptr))
        return;
    m_blend.SourceConstantAlpha = fadeOut ? startAlpha : 0;
    HDC source = ::GetWindowDC(target->m_hWnd);
    POINT at = {r.left, r.top};
    POINT origin = {0, 0};
    SIZE size = {r.Width(), r.Height()};
    m_pUpdateLayeredWindow(m_hWnd, nullptr, &at, &size, source, &origin, 0, &m_blend, ULW_ALPHA);
    ::ReleaseDC(target->m_hWnd, source);
    // Steps of 5 from the start alpha; at least one, so that a start below 5 still ends.
    const UINT steps = startAlpha / 5 > 0 ? startAlpha / 5 : 1;
    m_nInterval = duration / steps;
    SetTimer(fadeOut ? kFadeOut : kFadeIn, m_nInterval);
}

CFadeWindow::~CFadeWindow() { --g_live; }

void CFadeWindow::Update()
{
    m_pUpdateLayeredWindow(m_hWnd, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &m_blend, ULW_ALPHA);
}

void CFadeWindow::OnTimer(UINT_PTR id)
{
    if (id != kFadeOut && id != kFadeIn)
        return;
    ++m_nTicks;
    BYTE& alpha = m_blend.SourceConstantAlpha;
    const bool done = id == kFadeOut ? alpha < 5 : alpha > 250;
    if (done) {
        KillTimer(id);
        DestroyWindow(); // the object goes with its window
        return;
    }
    alpha = (BYTE)(id == kFadeOut ? alpha - 5 : alpha + 5);
    Update();
}

void CFadeWindow::OnSetFocus(CWnd* previous)
{
    // Never keeps the focus: it goes straight back.
    if (previous != nullptr && previous->GetSafeHwnd() != nullptr)
        ::SetFocus(previous->m_hWnd);
}

void CFadeWindow::PostNcDestroy() { delete this; }

// A layered, click-through copy of a window's image laid over it, faded out (or in) on a
// timer, after which it destroys itself (and the object with it).
//
// The rule it keeps: the platform's UpdateLayeredWindow is looked up at run time: where it
// is missing no window appears and nothing is left behind.  A fade takes at least one step,
// whatever the start alpha.
#pragma once
#include "fw/fwwin.h"

class CFadeWindow : public CWnd
{
public:
    using Lookup = FARPROC (*)(LPCSTR module, LPCSTR name);

    // Starts a fade over `target`: duration in milliseconds, start alpha 0 to 255, out or in.
    // The object lives until its window ends; null when no window could be shown.
    static CFadeWindow* Start(CWnd* target, UINT duration, BYTE startAlpha, BOOL fadeOut = TRUE);
    // How the entry point is found (tests put a failing look-up in); null: the system's.
    static void SetLookup(Lookup lookup);

    UINT GetInterval() const { return m_nInterval; }
    int GetTicks() const { return m_nTicks; }
    BYTE GetAlpha() const { return m_blend.SourceConstantAlpha; }
    // Fades alive right now.
    static int Live();

protected:
    void OnTimer(UINT_PTR id);
    void OnSetFocus(CWnd* previous);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    using UpdateLayered = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
    CFadeWindow(CWnd* target, UINT duration, BYTE startAlpha, BOOL fadeOut);
    ~CFadeWindow() override;
    void Update();

    CWnd* m_pTarget;
    UpdateLayered m_pUpdateLayeredWindow = nullptr;
    BLENDFUNCTION m_blend = {AC_SRC_OVER, 0, 0, 0};
    UINT m_nInterval = 0;
    int m_nTicks = 0;
};

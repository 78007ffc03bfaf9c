// The plain owner-drawn push button of the small dialogs: a flat rectangle in system colours
// that lights up in the highlight shades while the pointer is over it, and the tracker that
// tells it when the pointer comes and goes.
//
// The rule it keeps: a change of hover repaints the button at once (the tracker invalidates
// it); a disabled button always draws in the normal shades with grey text.
#pragma once
#include "fw/fwwin.h"

// Mouse-leave tracking for one window.
class CHoverTracker
{
public:
    enum : WORD {
        kInvalidate = 1,   // invalidate the window when the hover changes
        kFrameChanged = 2, // re-apply its frame (SetWindowPos) when it changes
    };

    CHoverTracker() = default;
    void Set(HWND wnd, WORD flags);
    BOOL IsHovering() const { return m_bHover; }
    // A mouse move over `target` (null: the tracker's own window): TRUE when the hover starts.
    BOOL OnMouseMove(HWND target = nullptr);
    // The mouse left `target` (null: the tracker's own window): TRUE when that ended the hover.
    BOOL OnMouseLeave(HWND target = nullptr);

private:
    void Changed();
    void Track(HWND target, DWORD flags);

    HWND m_hWnd = nullptr;
    HWND m_hTracked = nullptr;
    WORD m_flags = 0;
    BYTE m_bHover = FALSE;
};

class CHoverButton : public CButton
{
public:
    CHoverButton() = default;
    BOOL IsHovering() const { return m_tracker.IsHovering(); }

    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
    void OnMouseMove(UINT flags, CPoint point);
    void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    CHoverTracker m_tracker;
};

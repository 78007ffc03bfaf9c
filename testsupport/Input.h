// Input to a dialog as a person gives it.  Clicks and keys are posted, so they reach the
// dialog through its own message loop and the test's code never runs inside the dialog's
// handlers; what a control itself sends its parent (a scroll bar's or slider's
// notification, a typed character to the edit) is sent.  A control a person could not
// use (missing, hidden or disabled) is a test failure.
#pragma once
#include "fw/fwwin.h"

// Clicks the button `id` of `dlg`: BN_CLICKED from the button, posted to the dialog.  The
// click is posted even when the button cannot be used, so that the dialog still ends.
void Press(HWND dlg, int id);

// Escape, as a person leaves a dialog without its Cancel button: the key goes to the
// control with the focus, and the dialog's loop makes it the dialog's cancel.
void PressEscape(HWND dlg);

// The text of control `id` of `dlg` (its caption, an edit's contents), and of a window
// (a dialog's title).
CString ItemText(HWND dlg, int id);
CString WindowText(HWND wnd);

// Drags the slider (trackbar) `id` to `pos`: the slider moves, then its parent gets the
// thumb's position and the end of the drag, horizontal or vertical as the slider lies.
void SetSlider(HWND dlg, int id, int pos);

// One action on the scroll-bar control `id` (SB_LINERIGHT, SB_PAGEUP, SB_THUMBPOSITION
// with `pos`, ...): the WM_HSCROLL or WM_VSCROLL the bar sends its parent.
void SendScroll(HWND dlg, int id, int code, int pos = 0);

// Types `text` into control `id` at its caret, one character at a time, after giving it
// the focus; an empty edit then holds exactly `text`.
void TypeText(HWND dlg, int id, const char* text);

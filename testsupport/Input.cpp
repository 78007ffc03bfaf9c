#include "testsupport/Input.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

// The control a person can use, or null after recording why not.
HWND Usable(HWND dlg, int id, const char* what)
{
    HWND control = ::GetDlgItem(dlg, id);
    if (control == nullptr)
        ADD_FAILURE() << what << ": the dialog has no control " << id;
    else if (!::IsWindowVisible(control))
        ADD_FAILURE() << what << ": control " << id << " is hidden";
    else if (!::IsWindowEnabled(control))
        ADD_FAILURE() << what << ": control " << id << " is disabled";
    else
        return control;
    return nullptr;
}

} // namespace

void Press(HWND dlg, int id)
{
    HWND button = Usable(dlg, id, "Press");
    ::PostMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
}

void PressEscape(HWND dlg)
{
    HWND focus = ::GetFocus();
    HWND target = focus != nullptr && (focus == dlg || ::IsChild(dlg, focus)) ? focus : dlg;
    ::PostMessage(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessage(target, WM_KEYUP, VK_ESCAPE, (LPARAM)0xC0010001u);
}

CString ItemText(HWND dlg, int id)
{
    char buf[512] = "";
    ::GetDlgItemTextA(dlg, id, buf, sizeof buf);
    return buf;
}

CString WindowText(HWND wnd)
{
    char buf[512] = "";
    ::GetWindowTextA(wnd, buf, sizeof buf);
    return buf;
}

void SetSlider(HWND dlg, int id, int pos)
{
    HWND slider = Usable(dlg, id, "SetSlider");
    if (slider == nullptr)
        return;
    ::SendMessage(slider, TBM_SETPOS, TRUE, pos);
    const UINT message = (::GetWindowLong(slider, GWL_STYLE) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    ::SendMessage(dlg, message, MAKEWPARAM(TB_THUMBPOSITION, pos), (LPARAM)slider);
    ::SendMessage(dlg, message, MAKEWPARAM(TB_ENDTRACK, 0), (LPARAM)slider);
}

void SendScroll(HWND dlg, int id, int code, int pos)
{
    HWND bar = Usable(dlg, id, "SendScroll");
    if (bar == nullptr)
        return;
    const UINT message = (::GetWindowLong(bar, GWL_STYLE) & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    ::SendMessage(dlg, message, MAKEWPARAM(code, pos), (LPARAM)bar);
}

void TypeText(HWND dlg, int id, const char* text)
{
    HWND edit = Usable(dlg, id, "TypeText");
    if (edit == nullptr)
        return;
    ::SetFocus(edit);
    for (const char* c = text; *c != 0; ++c)
        ::SendMessage(edit, WM_CHAR, (WPARAM)(unsigned char)*c, 1);
}

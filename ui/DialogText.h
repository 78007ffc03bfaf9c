// The language's texts and the shared dialog font put on a dialog's controls.  Window code:
// the language table and the font themselves live in base/, which knows no windows.
#pragma once

#include "fw/fw.h"

// Sets the text of the parent's child control `id` to the text of `key` as it stands
// ("#" kept); nothing when there is no such control.
void SetDlgItemLangText(HWND parent, UINT id, CString key);
template <class Wnd> inline void SetDlgItemLangText(Wnd* parent, UINT id, CString key)
{
    SetDlgItemLangText(parent != nullptr ? parent->GetSafeHwnd() : (HWND) nullptr, id, key);
}

// Child-window enumeration callbacks: each sets its shared font on every child (with
// redraw): the dialog font, the small Arial and the Times New Roman title font.
BOOL CALLBACK SetDialogFontProc(HWND child, LPARAM unused);
BOOL CALLBACK SetSmallFontProc(HWND child, LPARAM unused);
BOOL CALLBACK SetTitleFontProc(HWND child, LPARAM unused);

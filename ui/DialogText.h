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

// Child-window enumeration callback: sets the shared dialog font on each child.
BOOL CALLBACK SetDialogFontProc(HWND child, LPARAM unused);

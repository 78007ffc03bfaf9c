#include "ui/DialogText.h"

#include "base/Globals.h"
#include "base/TextTable.h"

void SetDlgItemLangText(HWND parent, UINT id, CString key)
{
    if (parent == nullptr)
        return;
    HWND control = GetDlgItem(parent, (int)id);
    if (control != nullptr)
        SetWindowTextA(control, GetTextTable().Lookup(key));
}

BOOL CALLBACK SetDialogFontProc(HWND child, LPARAM)
{
    SendMessageA(child, WM_SETFONT, (WPARAM)GetDialogFont(), TRUE);
    return TRUE;
}

BOOL CALLBACK SetSmallFontProc(HWND child, LPARAM)
{
    SendMessageA(child, WM_SETFONT, (WPARAM)GetSmallDialogFont(), TRUE);
    return TRUE;
}

BOOL CALLBACK SetTitleFontProc(HWND child, LPARAM)
{
    SendMessageA(child, WM_SETFONT, (WPARAM)GetTitleFont(), TRUE);
    return TRUE;
}

#include "fw/fwrichedit.h"

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

BOOL CRichEditCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    // Loaded for the rest of the process: controls of the class may live until its end.
    static HMODULE library = ::LoadLibraryA("riched20.dll");
    if (library == nullptr)
        return FALSE;
    return CWnd::Create(RICHEDIT_CLASSA, nullptr, style, rect, parent, id);
}

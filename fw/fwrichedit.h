// The rich edit control (class "RichEdit20A" of riched20.dll), as far as the program uses
// it: made in code, RTF streamed in, sized to its text, copied and printed page by page.
//
// The rule it keeps: the library is loaded once for the process, before the first control is
// made, and stays loaded while any control of it may live.
#pragma once
#include "fw/fwwin.h"

#include <richedit.h>

class CRichEditCtrl : public CWnd
{
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    CRichEditCtrl() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    COLORREF SetBackgroundColor(BOOL useSystem, COLORREF colour)
    {
        return (COLORREF)SendMessage(EM_SETBKGNDCOLOR, useSystem, colour);
    }
    UINT SetOptions(WORD operation, DWORD flags) { return (UINT)SendMessage(EM_SETOPTIONS, operation, flags); }
    DWORD SetEventMask(DWORD mask) { return (DWORD)SendMessage(EM_SETEVENTMASK, 0, mask); }
    // Replaces the contents from the stream (SF_RTF, SF_TEXT); the characters read.
    long StreamIn(int format, EDITSTREAM& stream) { return (long)SendMessage(EM_STREAMIN, format, (LPARAM)&stream); }
    // Asks for an EN_REQUESTRESIZE with the size the text needs.
    void RequestResize() { SendMessage(EM_REQUESTRESIZE); }
    void SetRect(LPCRECT r) { SendMessage(EM_SETRECT, 0, (LPARAM)r); }
    void SetSel(long start, long end)
    {
        CHARRANGE range = {start, end};
        SendMessage(EM_EXSETSEL, 0, (LPARAM)&range);
    }
    void Copy() { SendMessage(WM_COPY); }
    long GetTextLength() const { return (long)SendMessage(WM_GETTEXTLENGTH); }
    // The characters as the control counts them (a paragraph end is one).
    long GetTextLengthEx() const
    {
        GETTEXTLENGTHEX how = {GTL_DEFAULT | GTL_NUMCHARS, 1200};
        return (long)SendMessage(EM_GETTEXTLENGTHEX, (WPARAM)&how);
    }
    // Formats (and with display, draws) the range into the target; the first character
    // that did not fit. A null range frees the control's cached formatting.
    long FormatRange(FORMATRANGE* range, BOOL display = TRUE)
    {
        return (long)SendMessage(EM_FORMATRANGE, display, (LPARAM)range);
    }
};

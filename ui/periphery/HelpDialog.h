// A resizable window that shows one help topic as RTF text in a read-only rich edit, as wide
// as the text needs, with a menu (on the right button) to copy the text, print it, keep the
// window on top or close it.
//
// The rules it keeps: what cannot be loaded is shown as an error page in the window itself,
// never as a message box; text from outside (a path, the system's message) is escaped before
// it goes into an error page, so that it shows as written.
#pragma once
#include "fw/fwrichedit.h"
#include "fw/fwwin.h"

class CHelpDialog : public CDialog
{
public:
    // rtfId: the program's topic of type "RTF" to show (0: none; LoadRtfFile then).
    explicit CHelpDialog(CWnd* parent = nullptr, UINT rtfId = 0);
    ~CHelpDialog() override;

    void SetTitle(LPCTSTR title) { m_strTitle = title; }
    // Reads the whole file as the topic; FALSE when it cannot be opened (the topic is then
    // the error page naming the file and the reason).
    BOOL LoadRtfFile(LPCTSTR path);
    void SetOnTop(BOOL onTop);
    BOOL IsOnTop() const { return m_bOnTop; }

    CRichEditCtrl& RichEdit() { return m_edit; }
    const CString& RtfText() const { return m_strRtf; }
    CSize RequestedSize() const { return m_requested; }

    // Prints the topic on the printer, one inch margins, page after page; the pages
    // printed, 0 when the job failed.
    int PrintTopic(HDC printer);

    // The error pages: no topic given, the topic missing from the resources, a file that
    // could not be read (its path and the system's reason).
    static CString NoTopicPage();
    static CString MissingResourcePage();
    static CString FileErrorPage(LPCTSTR path, LPCTSTR reason);

protected:
    BOOL OnInitDialog() override;
    void OnSizing(UINT side, LPRECT r);
    void OnSize(UINT type, int cx, int cy);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnInitMenuPopup(CMenu* menu, UINT index, BOOL sysMenu);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnRequestResize(NMHDR* header, LRESULT* result);
    void OnCopyAll();
    void OnOnTop();
    void OnNotOnTop();
    void OnPrintTopic();
    void OnExit();
    DECLARE_MESSAGE_MAP()

private:
    void StreamTopic();
    void FitWidth();
    void FitEdit();
    void ShowMenu(CPoint screen);

    CRichEditCtrl m_edit;
    CString m_strRtf;
    BOOL m_bFileLoaded = FALSE;
    CString m_strTitle = "Help";
    UINT m_nRtfId;
    BOOL m_bOnTop = TRUE;
    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    CSize m_requested;
};

// The topic's text as plain characters, escaped for an RTF text run ('\', '{', '}').
CString RtfEscape(LPCTSTR text);

// The host window that carries one modeless panel inside a one-pixel border and
// takes over the panel's dialog procedure.
//
// The rule it keeps: the panel it took over is its own, destroyed and deleted once with the
// host; the host is always two pixels wider and higher than the panel's client area.
#pragma once
#include "fw/fwwin.h"

#define MENU_WND_TEXT "MenuWnd2"

class CMenuWnd : public CWnd
{
public:
    CMenuWnd();
    ~CMenuWnd() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Takes over an already created modeless dialog (name and id are not used).
    void SubclassMenu(LPCTSTR name, UINT id, CWnd* dialog);
    CWnd* GetHostedDialog() const { return m_pDialog; }
    const CString& GetName() const { return m_strName; }

protected:
    void Fit();
    static INT_PTR CALLBACK HostDlgProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

    void OnShowWindow(BOOL show, UINT status);
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pDialog;
    BOOL m_bOwnsDialog;
    DLGPROC m_pfnOldDlgProc;
    CString m_strName;
    CString m_strClass;
    CBrush m_brush;
};

#include "ui/MenuWnd.h"

#include "ui/Skin.h"

BEGIN_MESSAGE_MAP(CMenuWnd, CWnd)
    ON_WM_SHOWWINDOW()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CMenuWnd::CMenuWnd() : m_pDialog(NULL), m_bOwnsDialog(FALSE), m_pfnOldDlgProc(NULL), m_strName("none")
{
    m_brush.CreateSolidBrush(kSkinBlue);
    m_strClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(NULL, IDC_ARROW),
                                     (HBRUSH)m_brush.GetSafeHandle(), NULL);
}

CMenuWnd::~CMenuWnd()
{
    if (m_pDialog != NULL && m_bOwnsDialog) {
        m_pDialog->DestroyWindow();
        delete m_pDialog;
    }
    m_pDialog = NULL;
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CMenuWnd::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(m_strClass, MENU_WND_TEXT, style, rect, parent, id);
}

void CMenuWnd::SubclassMenu(LPCTSTR, UINT, CWnd* dialog)
{
    m_pDialog = dialog;
    m_bOwnsDialog = TRUE;
    m_strName = "none";
    HWND dlg = dialog->GetSafeHwnd();
    m_pfnOldDlgProc = (DLGPROC)::GetWindowLongPtr(dlg, DWLP_DLGPROC);
    ::SetWindowLongPtr(dlg, DWLP_USER, (LONG_PTR)this);
    ::SetWindowLongPtr(dlg, DWLP_DLGPROC, (LONG_PTR)&CMenuWnd::HostDlgProc);
    dialog->ShowWindow(SW_SHOWNORMAL);
    Fit();
}

void CMenuWnd::Fit()
{
    CRect client;
    m_pDialog->GetClientRect(&client);
    int w = client.Width(), h = client.Height();
    m_pDialog->MoveWindow(1, 1, w, h, TRUE);

    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    ::GetWindowPlacement(m_hWnd, &wp);
    CRect r(wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.left + w + 2,
            wp.rcNormalPosition.top + h + 2);
    if (w + 2 == 0)
        r.right = wp.rcNormalPosition.right;
    if (h + 2 == 0)
        r.bottom = wp.rcNormalPosition.bottom;
    MoveWindow(&r, TRUE);
    Invalidate();
}

// Swallows the panel's mouse moves while it holds the capture with exactly the left or
// the middle button down, so a drag over the panel does not reach its controls.
INT_PTR CALLBACK CMenuWnd::HostDlgProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    CMenuWnd* host = (CMenuWnd*)::GetWindowLongPtr(dlg, DWLP_USER);
    if (message == WM_MOUSEMOVE && ::GetCapture() == dlg && (wParam == MK_LBUTTON || wParam == MK_MBUTTON))
        return 0;
    if (host == NULL || host->m_pfnOldDlgProc == NULL)
        return 0;
    return ::CallWindowProc((WNDPROC)host->m_pfnOldDlgProc, dlg, message, wParam, lParam);
}

void CMenuWnd::OnShowWindow(BOOL show, UINT status) { CWnd::OnShowWindow(show, status); }

BOOL CMenuWnd::OnEraseBkgnd(CDC* dc) { return CWnd::OnEraseBkgnd(dc); }

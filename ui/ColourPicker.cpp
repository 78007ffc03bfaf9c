#include "ui/ColourPicker.h"

#include "fw/fwselect.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CColourPicker, CButton)

BEGIN_MESSAGE_MAP(CColourPicker, CButton)
    ON_WM_CREATE()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CColourPicker::OnClicked)
    ON_MESSAGE(CPN_SELENDOK, &CColourPicker::OnSelEndOK)
    ON_MESSAGE(CPN_SELENDCANCEL, &CColourPicker::OnSelEndCancel)
    ON_MESSAGE(CPN_SELCHANGE, &CColourPicker::OnSelChange)
END_MESSAGE_MAP()

CColourPicker::CColourPicker()
    : m_active(FALSE), m_trackSelection(FALSE), m_bkColour(::GetSysColor(COLOR_3DFACE)),
      m_textColour(::GetSysColor(COLOR_BTNTEXT)), m_selectionMode(2)
{}

COLORREF CColourPicker::GetColour() const { return m_selectionMode == 1 ? m_textColour : m_bkColour; }

void CColourPicker::SetColour(COLORREF colour)
{
    if (m_selectionMode == 1)
        SetTextColour(colour);
    else
        SetBkColour(colour);
}

void CColourPicker::SetBkColour(COLORREF colour)
{
    m_bkColour = colour;
    if (::IsWindow(m_hWnd))
        RedrawWindow();
}

void CColourPicker::SetTextColour(COLORREF colour)
{
    m_textColour = colour;
    if (::IsWindow(m_hWnd))
        RedrawWindow();
}

void CColourPicker::PreSubclassWindow()
{
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
    SetWindowSize();
}

int CColourPicker::OnCreate(LPCREATESTRUCT cs)
{
    if (CButton::OnCreate(cs) == -1)
        return -1;
    SetWindowSize();
    return 0;
}

void CColourPicker::SetWindowSize()
{
    const int cx = ::GetSystemMetrics(SM_CXEDGE);
    const int cy = ::GetSystemMetrics(SM_CYEDGE);
    const int arrowW = std::max(::GetSystemMetrics(SM_CXHTHUMB), 5 * cx);
    const int arrowH = std::max(::GetSystemMetrics(SM_CYVTHUMB), 5 * cy);
    const int side = std::max(arrowW, arrowH);

    CRect r;
    GetWindowRect(&r);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&r);
    const int width = std::max(r.Width(), 2 * cx + side);
    const int height = side + 2 * cy; // the arrow decides, whatever the template says
    MoveWindow(r.left, r.top, width, height, TRUE);

    GetClientRect(&r);
    m_arrowRect.SetRect(r.right - side - cx, r.top + cy, r.right - cx, r.bottom - cy);
}

void CColourPicker::DrawItem(LPDRAWITEMSTRUCT dis)
{
    CDC* dc = CDC::FromHandle(dis->hDC);
    UINT state = dis->itemState;
    if (m_active)
        state |= ODS_SELECTED;
    CRect r = dis->rcItem;

    CRect arrow = m_arrowRect;
    UINT frame = DFCS_SCROLLDOWN;
    if (state & ODS_SELECTED)
        frame |= DFCS_PUSHED;
    if (state & ODS_DISABLED)
        frame |= DFCS_INACTIVE;
    dc->DrawFrameControl(&arrow, DFC_SCROLL, frame);

    dc->DrawEdge(&r, EDGE_SUNKEN, BF_RECT);
    const int cx = ::GetSystemMetrics(SM_CXEDGE);
    const int cy = ::GetSystemMetrics(SM_CYEDGE);
    r.DeflateRect(cx, cy);
    r.right -= m_arrowRect.Width();

    {
        CBrush brush(m_bkColour);
        CSelectGuard b(dc, &brush);
        CSelectGuard p(dis->hDC, ::GetStockObject(NULL_PEN));
        dc->Rectangle(&r);
    }

    CString text;
    GetWindowText(text);
    if (!text.IsEmpty()) {
        const int mode = dc->SetBkMode(TRANSPARENT);
        const COLORREF old = dc->SetTextColor(m_textColour);
        CRect t = r;
        dc->DrawText(text, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc->SetTextColor(old);
        dc->SetBkMode(mode);
    }
    if (state & ODS_FOCUS) {
        CRect focus = r;
        focus.DeflateRect(1, 1);
        dc->DrawFocusRect(&focus);
    }
}

CColourPopup* CColourPicker::NewPopup(CPoint pos, COLORREF colour)
{
    return new CColourPopup(pos, colour, this, "More...");
}

BOOL CColourPicker::OnClicked()
{
    if (m_active)
        return FALSE; // the parent gets the click as well
    m_active = TRUE;
    CRect r;
    GetWindowRect(&r);
    CColourPopup* popup = nullptr;
    try {
        popup = NewPopup(CPoint(r.left, r.bottom), GetColour());
    } catch (CMemoryException* e) {
        e->ReportError();
        e->Delete();
        m_active = FALSE; // otherwise every later click would go straight to the parent
        return FALSE;
    }
    if (popup == nullptr || popup->GetSafeHwnd() == nullptr) {
        // No window: nothing dropped down, nothing to wait for, nothing left behind.
        delete popup;
        m_active = FALSE;
        return TRUE;
    }
    NotifyParent(CPN_DROPDOWN, GetColour());
    return TRUE;
}

void CColourPicker::NotifyParent(UINT message, COLORREF colour)
{
    CWnd* parent = GetParent();
    if (parent != nullptr && parent->GetSafeHwnd() != nullptr)
        parent->SendMessage(message, (WPARAM)colour, (LPARAM)GetDlgCtrlID());
}

LRESULT CColourPicker::OnSelEndOK(WPARAM wParam, LPARAM)
{
    const COLORREF colour = (COLORREF)wParam;
    m_active = FALSE;
    const COLORREF before = GetColour();
    SetColour(colour);
    NotifyParent(CPN_CLOSEUP, colour);
    NotifyParent(CPN_SELENDOK, colour);
    if (colour != before)
        NotifyParent(CPN_SELCHANGE, colour);
    return TRUE;
}

LRESULT CColourPicker::OnSelEndCancel(WPARAM wParam, LPARAM)
{
    const COLORREF colour = (COLORREF)wParam;
    m_active = FALSE;
    SetColour(colour);
    NotifyParent(CPN_CLOSEUP, colour);
    NotifyParent(CPN_SELENDCANCEL, colour);
    return TRUE;
}

LRESULT CColourPicker::OnSelChange(WPARAM wParam, LPARAM)
{
    const COLORREF colour = (COLORREF)wParam;
    if (m_trackSelection)
        SetColour(colour);
    NotifyParent(CPN_SELCHANGE, colour);
    return TRUE;
}

void DDX_ColourPicker(CDataExchange* pDX, int nIDC, COLORREF& colour)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    CColourPicker* picker = DYNAMIC_DOWNCAST(CColourPicker, CWnd::FromHandlePermanent(control));
    if (picker == nullptr)
        return; // not a picker: nothing to exchange with
    if (pDX->m_bSaveAndValidate)
        colour = picker->GetColour();
    else
        picker->SetColour(colour);
}

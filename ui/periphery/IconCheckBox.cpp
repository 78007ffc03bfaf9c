#include "ui/periphery/IconCheckBox.h"

BEGIN_MESSAGE_MAP(CIconCheckBox, CButton)
    ON_WM_MOUSEMOVE()
    ON_CONTROL_REFLECT(BN_CLICKED, &CIconCheckBox::OnClicked)
    ON_WM_MOUSELEAVE()
    ON_MESSAGE(BM_SETCHECK, &CIconCheckBox::OnSetCheck)
    ON_MESSAGE(BM_GETCHECK, &CIconCheckBox::OnGetCheck)
END_MESSAGE_MAP()

CIconCheckBox::~CIconCheckBox() { ReleaseIcons(); }

void CIconCheckBox::Repaint()
{
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
}

void CIconCheckBox::ReleaseIcons()
{
    for (Icon& icon : m_icons) {
        if (icon.handle != nullptr)
            ::DestroyIcon(icon.handle);
        icon = Icon();
    }
}

void CIconCheckBox::SetCheck(int state, BOOL repaint)
{
    m_nCheck = (DWORD)state;
    if (repaint)
        Repaint();
}

LRESULT CIconCheckBox::OnSetCheck(WPARAM wParam, LPARAM)
{
    // Checked and indeterminate both show checked.
    SetCheck(wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? 1 : 0, TRUE);
    return 0;
}

LRESULT CIconCheckBox::OnGetCheck(WPARAM, LPARAM) { return (LRESULT)m_nCheck; }

void CIconCheckBox::OnClicked()
{
    m_nCheck = m_nCheck == 0 ? 1 : 0;
    Repaint();
}

BOOL CIconCheckBox::SetIcons(UINT checkedId, UINT uncheckedId)
{
    // Owned copies, so that releasing them is right.
    HINSTANCE instance = FwGetResourceHandle();
    return SetIcons((HICON)::LoadImage(instance, MAKEINTRESOURCE(checkedId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE),
                    (HICON)::LoadImage(instance, MAKEINTRESOURCE(uncheckedId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
}

BOOL CIconCheckBox::SetIcons(LPCTSTR checkedFile, LPCTSTR uncheckedFile)
{
    return SetIcons((HICON)::LoadImage(nullptr, checkedFile, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_LOADFROMFILE),
                    (HICON)::LoadImage(nullptr, uncheckedFile, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_LOADFROMFILE));
}

BOOL CIconCheckBox::SetIcons(HICON checked, HICON unchecked)
{
    ReleaseIcons();
    m_icons[0].handle = checked;
    m_icons[1].handle = unchecked;
    for (Icon& icon : m_icons) {
        if (icon.handle == nullptr)
            continue;
        ICONINFO info = {};
        if (!::GetIconInfo(icon.handle, &info)) {
            ReleaseIcons();
            break;
        }
        icon.width = info.xHotspot * 2;
        icon.height = info.yHotspot * 2;
        if (info.hbmMask != nullptr)
            ::DeleteObject(info.hbmMask);
        if (info.hbmColor != nullptr)
            ::DeleteObject(info.hbmColor);
    }
    Repaint();
    return TRUE;
}

BOOL CIconCheckBox::SetLampSize(int size)
{
    if (size < 0)
        return FALSE;
    m_nLampSize = size;
    Repaint();
    return TRUE;
}

BOOL CIconCheckBox::SetLampColours(COLORREF on, COLORREF off)
{
    m_clrOn = on;
    m_clrOff = off;
    Repaint();
    return TRUE;
}

void CIconCheckBox::SetTooltipText(LPCTSTR text)
{
    if (text == nullptr || m_hWnd == nullptr)
        return;
    if (m_tooltip.m_hWnd == nullptr && !m_tooltip.Create(this))
        return;
    TOOLINFO ti = {};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = ::GetParent(m_hWnd);
    ti.uId = (UINT_PTR)m_hWnd;
    ti.hinst = FwGetResourceHandle();
    ti.lpszText = const_cast<LPTSTR>(text);
    m_tooltip.SendMessage(TTM_ADDTOOL, 0, (LPARAM)&ti);
}

void CIconCheckBox::PreSubclassWindow()
{
    ModifyStyle(0x1F, BS_OWNERDRAW, SWP_FRAMECHANGED);
    m_dwStyle = GetStyle();
    CButton::PreSubclassWindow();
}

void CIconCheckBox::OnMouseMove(UINT flags, CPoint point)
{
    if ((flags & MK_LBUTTON) && !m_bHover)
        return; // a drag passing over does not light the control
    CPoint screen(point);
    ClientToScreen(&screen);
    if (::WindowFromPoint(screen) == m_hWnd) {
        if (!m_bHover) {
            m_bHover = TRUE;
            Repaint();
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&tme);
        }
    } else
        m_bHover = FALSE;
    CButton::OnMouseMove(flags, point);
}

void CIconCheckBox::OnMouseLeave()
{
    m_bHover = FALSE;
    Repaint();
}

void CIconCheckBox::DrawItem(LPDRAWITEMSTRUCT item)
{
    CDC* dc = CDC::FromHandle(item->hDC);
    m_bPressed = item->itemState & ODS_SELECTED;
    m_bFocused = item->itemState & ODS_FOCUS;
    m_bDisabled = item->itemState & ODS_DISABLED;
    dc->SetBkMode(TRANSPARENT);

    // The face tools (the face itself is left as the button's erase drew it).
    CBrush faceBrush(::GetSysColor(m_bHover ? COLOR_3DHIGHLIGHT : COLOR_BTNFACE));
    CPen facePen(PS_SOLID, 1, m_bHover ? RGB(0, 0, 0) : ::GetSysColor(COLOR_BTNFACE));
    CBrush* oldBrush = dc->SelectObject(&faceBrush);
    CPen* oldPen = dc->SelectObject(&facePen);
    CRect rc(item->rcItem);
    rc.DeflateRect(2, 2);
    rc.DeflateRect(1, 1);

    const bool icons = m_icons[0].handle != nullptr && m_icons[1].handle != nullptr;
    if (icons)
        m_nLampSize = (int)m_icons[0].width;
    CRect text(rc);
    CRect lamp;
    if (m_dwStyle & BS_LEFTTEXT) {
        lamp.SetRect(rc.right - m_nLampSize, 0, rc.right, 0);
        text.right = lamp.left - 3;
    } else {
        lamp.SetRect(rc.left, 0, rc.left + m_nLampSize, 0);
        text.left = lamp.right + 3;
    }
    lamp.top = (text.Height() - m_nLampSize) / 2 + 2;
    lamp.bottom = lamp.top + m_nLampSize;

    if (!icons) {
        CBrush lampBrush(m_bDisabled ? ::GetSysColor(COLOR_BTNSHADOW) : m_nCheck ? m_clrOn : m_clrOff);
        CPen black(PS_SOLID, 1, RGB(0, 0, 0));
        CPen rim(PS_SOLID, 1, m_clrOff);
        dc->SelectObject(&lampBrush);
        dc->SelectObject(&black);
        dc->Ellipse(&lamp);
        dc->SelectObject(&rim);
        CRect inner(lamp);
        inner.DeflateRect(1, 1);
        dc->Ellipse(&inner);
        dc->SelectObject(&faceBrush);
        dc->SelectObject(&facePen);
    } else {
        CPoint at = lamp.TopLeft();
        if (m_bPressed)
            at.Offset(1, 1);
        const Icon& icon = m_icons[m_nCheck ? 0 : 1];
        ::DrawState(dc->GetSafeHdc(), nullptr, nullptr, (LPARAM)icon.handle, 0, at.x, at.y, lamp.Width(), lamp.Height(),
                    DST_ICON | (m_bDisabled ? DSS_DISABLED : 0));
    }

    CString caption;
    GetWindowText(caption);
    if (!caption.IsEmpty()) {
        UINT format = DT_WORDBREAK | DT_VCENTER;
        CRect measured(text);
        const UINT align = m_dwStyle & BS_CENTER;
        format |= align == BS_CENTER ? DT_CENTER : align == BS_RIGHT ? DT_RIGHT : DT_LEFT;
        dc->DrawText(caption, &measured, format | DT_CALCRECT);
        const int h = measured.Height(), w = measured.Width();
        CRect at(text.left, text.top + (text.Height() - h) / 2, text.left + w, text.top + (text.Height() - h) / 2 + h);
        if (align == BS_CENTER)
            at.OffsetRect((text.Width() - w) / 2, 0);
        else if (align == BS_RIGHT)
            at.OffsetRect(text.Width() - w, 0);
        if (m_bPressed)
            at.OffsetRect(1, 1);
        if (!m_bDisabled) {
            dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
            dc->SetBkColor(::GetSysColor(COLOR_BTNFACE));
            dc->DrawText(caption, &at, format);
        } else {
            at.OffsetRect(1, 1);
            dc->SetTextColor(::GetSysColor(COLOR_3DHIGHLIGHT));
            dc->DrawText(caption, &at, format);
            at.OffsetRect(-1, -1);
            dc->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
            dc->DrawText(caption, &at, format);
        }
    }
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}

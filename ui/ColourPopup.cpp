#include "ui/ColourPopup.h"

#include "fw/fwselect.h"

// The grid's colours row by row, 8 to a row. Some names do not describe their values; the
// values are what the designs store, so they stay.
const CColourPopup::NamedColour CColourPopup::kColours[kColourCount] = {
    {RGB(0, 0, 0), "Black"},
    {RGB(165, 42, 0), "Brown"},
    {RGB(0, 64, 64), "Dark Olive Green"},
    {RGB(0, 85, 0), "Dark Green"},
    {RGB(0, 0, 94), "Dark Teal"},
    {RGB(0, 0, 139), "Dark blue"},
    {RGB(75, 0, 130), "Indigo"},
    {RGB(40, 40, 40), "Dark grey"},
    {RGB(139, 0, 0), "Dark red"},
    {RGB(255, 104, 32), "Orange"},
    {RGB(139, 139, 0), "Dark yellow"},
    {RGB(0, 147, 0), "Green"},
    {RGB(56, 142, 142), "Teal"},
    {RGB(0, 0, 255), "Blue"},
    {RGB(123, 123, 192), "Blue-grey"},
    {RGB(102, 102, 102), "Grey - 40"},
    {RGB(255, 0, 0), "Red"},
    {RGB(255, 173, 91), "Light orange"},
    {RGB(50, 205, 50), "Lime"},
    {RGB(60, 179, 113), "Sea green"},
    {RGB(127, 255, 212), "Aqua"},
    {RGB(125, 158, 192), "Light blue"},
    {RGB(128, 0, 128), "Violet"},
    {RGB(127, 127, 127), "Grey - 50"},
    {RGB(255, 192, 203), "Pink"},
    {RGB(255, 215, 0), "Gold"},
    {RGB(255, 255, 0), "Yellow"},
    {RGB(0, 255, 0), "Bright green"},
    {RGB(64, 224, 208), "Turquoise"},
    {RGB(192, 255, 255), "Skyblue"},
    {RGB(72, 0, 72), "Plum"},
    {RGB(192, 192, 192), "Light grey"},
    {RGB(255, 228, 225), "Rose"},
    {RGB(210, 180, 140), "Tan"},
    {RGB(255, 255, 224), "Light yellow"},
    {RGB(152, 251, 152), "Pale green "},
    {RGB(175, 238, 238), "Pale turquoise"},
    {RGB(104, 131, 139), "Pale blue"},
    {RGB(230, 230, 250), "Lavender"},
    {RGB(255, 255, 255), "White"},
};

BEGIN_MESSAGE_MAP(CColourPopup, CWnd)
    ON_WM_LBUTTONUP()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

CColourPopup::CColourPopup() { Initialise(); }

CColourPopup::CColourPopup(CPoint pos, COLORREF colour, CWnd* parentPicker, LPCTSTR customText)
{
    Initialise();
    Create(pos, colour, parentPicker, customText);
}

CColourPopup::~CColourPopup()
{
    m_font.DeleteObject();
    m_palette.DeleteObject();
}

void CColourPopup::Initialise()
{
    m_colourCount = kColourCount;
    if (m_colourCount > 100)
        m_colourCount = 100;
    m_columns = 0;
    m_rows = 0;
    m_boxSize = 18;
    m_margin = ::GetSystemMetrics(SM_CXEDGE);
    if (m_boxSize - 2 * m_margin - 2 < 5)
        m_boxSize = 2 * m_margin + 7;
    m_hotRow = m_hotColumn = -1;
    m_chosenRow = m_chosenColumn = -1;
    m_showCustom = FALSE;
    m_initialColour = m_colour = CLR_DEFAULT;
    m_parent = nullptr;
    m_ownsSelf = false;

    NONCLIENTMETRICS ncm = {};
    ncm.cbSize = sizeof ncm;
    if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        m_font.CreateFontIndirect(&ncm.lfMessageFont);

    // A palette of the table for palette devices.
    struct
    {
        LOGPALETTE head;
        PALETTEENTRY more[kColourCount - 1];
    } pal = {};
    pal.head.palVersion = 0x300;
    pal.head.palNumEntries = (WORD)m_colourCount;
    for (int i = 0; i < m_colourCount; ++i) {
        PALETTEENTRY& e = pal.head.palPalEntry[i];
        e.peRed = GetRValue(kColours[i].colour);
        e.peGreen = GetGValue(kColours[i].colour);
        e.peBlue = GetBValue(kColours[i].colour);
        e.peFlags = 0;
    }
    m_palette.CreatePalette(&pal.head);
}

BOOL CColourPopup::Create(CPoint pos, COLORREF colour, CWnd* parentPicker, LPCTSTR customText)
{
    m_parent = parentPicker;
    m_initialColour = m_colour = colour;
    m_showCustom = customText != nullptr;
    if (m_showCustom)
        m_customText = customText;

    LPCTSTR cls = AfxRegisterWndClass(CS_CLASSDC | CS_SAVEBITS | CS_HREDRAW | CS_VREDRAW, nullptr,
                                      (HBRUSH)::GetStockObject(LTGRAY_BRUSH), nullptr);
    if (!CreateEx(0, cls, "", WS_VISIBLE | WS_POPUP, pos.x, pos.y, 100, 100, FwGetSafeHwnd(parentPicker), nullptr))
        return FALSE;
    m_ownsSelf = true;
    SetWindowSize();
    CreateToolTips();
    FindChosenCell(m_initialColour);
    SetCapture();
    return TRUE;
}

void CColourPopup::PostNcDestroy()
{
    // A popup that had its window deletes itself with it; one that never got a window is
    // deleted by whoever made it.
    if (m_ownsSelf)
        delete this;
}

bool CColourPopup::IsGridCell(int row, int column) const
{
    return row >= 0 && row < m_rows && column >= 0 && column < m_columns && row * m_columns + column < m_colourCount;
}

BOOL CColourPopup::GetCellRect(int row, int column, CRect& rect) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return FALSE;
    rect.left = column * m_boxSize + m_margin;
    rect.top = row * m_boxSize + m_margin;
    if (m_showCustom)
        rect.top += m_margin + m_customRect.Height();
    rect.right = rect.left + m_boxSize;
    rect.bottom = rect.top + m_boxSize;
    return TRUE;
}

void CColourPopup::SetWindowSize()
{
    CSize text(0, 0);
    if (m_showCustom) {
        CClientDC dc(this);
        CSelectGuard font(&dc, &m_font);
        text = dc.GetTextExtent(m_customText);
        text.cx += 2 * m_margin;
        text.cy += 2 * m_margin;
        text.cy += 2 * m_margin + 2; // room for the separator
    }
    m_columns = kColumns;
    m_rows = m_colourCount / m_columns + (m_colourCount % m_columns != 0 ? 1 : 0);

    CRect r;
    GetWindowRect(&r);
    m_windowRect.SetRect(r.left, r.top, r.left + m_columns * m_boxSize + 2 * m_margin,
                         r.top + m_rows * m_boxSize + 2 * m_margin);
    if (m_showCustom) {
        m_windowRect.bottom += m_margin + text.cy;
        if (text.cx > m_windowRect.Width())
            m_windowRect.right = m_windowRect.left + text.cx;
        m_customRect.SetRect(m_margin, m_margin, m_windowRect.Width() - m_margin, m_margin + text.cy);
    }

    // Kept on the screen: left at the right edge, right of 0, above the picker at the bottom.
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
    if (m_windowRect.right > screenW)
        m_windowRect.OffsetRect(-(m_windowRect.right - screenW), 0);
    if (m_windowRect.left < 0)
        m_windowRect.OffsetRect(-m_windowRect.left, 0);
    if (m_windowRect.bottom > screenH) {
        CRect picker;
        if (m_parent != nullptr && m_parent->GetSafeHwnd() != nullptr)
            m_parent->GetWindowRect(&picker);
        m_windowRect.OffsetRect(0, -(picker.Height() + m_windowRect.Height()));
    }
    MoveWindow(&m_windowRect, TRUE);
}

CString CColourPopup::ToolText(int index)
{
    const COLORREF c = kColours[index].colour;
    CString text;
    text.Format("%s [%02x%02x%02x]", kColours[index].name, GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

void CColourPopup::CreateToolTips()
{
    if (!m_toolTip.Create(this))
        return;
    for (int i = 0; i < m_colourCount; ++i) {
        CRect r;
        if (!GetCellRect(i / m_columns, i % m_columns, r))
            continue;
        m_toolTip.AddTool(this, ToolText(i), &r, 1);
    }
}

void CColourPopup::FindChosenCell(COLORREF colour)
{
    m_chosenRow = m_chosenColumn = kCustomRow;
    for (int i = 0; i < m_colourCount; ++i) {
        if (kColours[i].colour == colour) {
            m_chosenRow = i / m_columns;
            m_chosenColumn = i % m_columns;
            return;
        }
    }
}

BOOL CColourPopup::PreTranslateMessage(MSG* pMsg)
{
    if (m_toolTip.GetSafeHwnd() != nullptr)
        m_toolTip.RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

void CColourPopup::OnPaint()
{
    CPaintDC dc(this);
    for (int row = 0; row < m_rows; ++row)
        for (int column = 0; column < m_columns; ++column)
            DrawCell(&dc, row, column);
    if (m_showCustom)
        DrawCustomBox(&dc);
    CRect r;
    GetClientRect(&r);
    dc.DrawEdge(&r, EDGE_RAISED, BF_RECT);
}

void CColourPopup::DrawCustomBox(CDC* dc)
{
    CRect box = m_customRect;
    dc->FillSolidRect(&box, ::GetSysColor(COLOR_3DFACE));
    CRect text = box;
    text.bottom -= 2 * m_margin + 2;
    if (IsCustomCell(m_hotRow, m_hotColumn))
        dc->DrawEdge(&text, EDGE_RAISED, BF_RECT);
    {
        CSelectGuard font(dc, &m_font);
        const int mode = dc->SetBkMode(TRANSPARENT);
        dc->DrawText(m_customText, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc->SetBkMode(mode);
    }
    const int left = box.left + 2 * m_margin;
    const int width = box.Width() - 4 * m_margin;
    dc->FillSolidRect(left, box.bottom - m_margin - 2, width, 1, ::GetSysColor(COLOR_3DSHADOW));
    dc->FillSolidRect(left, box.bottom - m_margin - 1, width, 1, ::GetSysColor(COLOR_3DHILIGHT));
}

void CColourPopup::DrawCell(CDC* dc, int row, int column)
{
    if (m_showCustom && IsCustomCell(row, column)) {
        DrawCustomBox(dc);
        return;
    }
    CRect r;
    if (!IsGridCell(row, column) || !GetCellRect(row, column, r))
        return;
    CPalette* oldPalette = nullptr;
    const bool paletted = (dc->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) != 0;
    if (paletted) {
        oldPalette = dc->SelectPalette(&m_palette, FALSE);
        dc->RealizePalette();
    }
    const bool hot = row == m_hotRow && column == m_hotColumn;
    const bool chosen = row == m_chosenRow && column == m_chosenColumn;
    dc->FillSolidRect(&r, ::GetSysColor(chosen && !hot ? COLOR_3DLIGHT : COLOR_3DFACE));
    if (hot)
        dc->DrawEdge(&r, EDGE_RAISED, BF_RECT);
    else if (chosen)
        dc->DrawEdge(&r, EDGE_SUNKEN, BF_RECT);

    CRect swatch = r;
    swatch.DeflateRect(m_margin + 1, m_margin + 1);
    CBrush brush(kColours[row * m_columns + column].colour | 0x02000000);
    CPen pen(PS_SOLID, 1, ::GetSysColor(COLOR_3DSHADOW));
    {
        CSelectGuard b(dc, &brush);
        CSelectGuard p(dc, &pen);
        dc->Rectangle(&swatch);
    }
    if (paletted && oldPalette != nullptr)
        dc->SelectPalette(oldPalette, FALSE);
}

void CColourPopup::ChangeHotCell(int row, int column)
{
    if (IsGridCell(m_hotRow, m_hotColumn) || IsCustomCell(m_hotRow, m_hotColumn)) {
        const int oldRow = m_hotRow, oldColumn = m_hotColumn;
        m_hotRow = m_hotColumn = -1;
        CClientDC dc(this);
        DrawCell(&dc, oldRow, oldColumn);
    }
    m_hotRow = row;
    m_hotColumn = column;
    {
        CClientDC dc(this);
        DrawCell(&dc, row, column);
    }
    if (IsCustomCell(row, column)) {
        m_parent->SendMessage(CPN_SELCHANGE, (WPARAM)m_initialColour, 0);
    } else if (IsGridCell(row, column)) {
        m_colour = kColours[row * m_columns + column].colour;
        m_parent->SendMessage(CPN_SELCHANGE, (WPARAM)m_colour, 0);
    }
}

void CColourPopup::OnMouseMove(UINT flags, CPoint point)
{
    point.x -= m_margin;
    point.y -= m_margin;
    int row = -1, column = -1;
    if (m_showCustom && m_customRect.PtInRect(point)) {
        row = column = kCustomRow;
    } else {
        if (m_showCustom)
            point.y -= m_customRect.Height();
        if (point.x >= 0 && point.y >= 0) {
            row = point.y / m_boxSize;
            column = point.x / m_boxSize;
        }
        if (!IsGridCell(row, column)) {
            CWnd::OnMouseMove(flags, point);
            return;
        }
    }
    if (row != m_hotRow || column != m_hotColumn)
        ChangeHotCell(row, column);
    CWnd::OnMouseMove(flags, point);
}

void CColourPopup::OnLButtonUp(UINT flags, CPoint point)
{
    CWnd::OnLButtonUp(flags, point);
    const DWORD pos = ::GetMessagePos();
    const CPoint screen((short)LOWORD(pos), (short)HIWORD(pos));
    EndSelection(m_windowRect.PtInRect(screen) ? CPN_SELENDOK : CPN_SELENDCANCEL);
}

void CColourPopup::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    const int lastRow = m_rows - 1;
    const int lastColumn = m_columns - 1;
    int row = m_hotRow, column = m_hotColumn;
    switch (key) {
    case VK_DOWN:
        if (row < 0)
            row = column = 0;
        else if (row == lastRow)
            row = column = kCustomRow;
        else
            ++row;
        ChangeHotCell(row, column);
        break;
    case VK_UP:
        if (row < 0) {
            row = lastRow;
            column = 0;
        } else if (row == 0) {
            row = column = kCustomRow;
        } else {
            --row;
        }
        ChangeHotCell(row, column);
        break;
    case VK_RIGHT:
        if (column < 0)
            row = column = 0;
        else
            column = column < lastColumn ? column + 1 : 0;
        ChangeHotCell(row, column);
        break;
    case VK_LEFT:
        if (column < 0) {
            row = lastRow;
            column = lastColumn;
        } else {
            column = column > 0 ? column - 1 : lastColumn;
        }
        ChangeHotCell(row, column);
        break;
    case VK_ESCAPE:
        m_colour = m_initialColour;
        EndSelection(CPN_SELENDCANCEL);
        return;
    case VK_RETURN:
        EndSelection(CPN_SELENDOK);
        return;
    default:
        break;
    }
    CWnd::OnKeyDown(key, repeat, flags);
}

void CColourPopup::EndSelection(UINT message)
{
    ::ReleaseCapture();
    if (message != CPN_SELENDCANCEL && IsCustomCell(m_hotRow, m_hotColumn)) {
        CColorDialog dlg(m_initialColour, CC_FULLOPEN | CC_ANYCOLOR, this);
        // A cancelled dialog still reports an OK selection, of the colour held before.
        m_colour = dlg.DoModal() == IDOK ? dlg.GetColor() : m_initialColour;
    }
    if (message == CPN_SELENDCANCEL)
        m_colour = m_initialColour;
    if (m_parent != nullptr)
        m_parent->SendMessage(message, (WPARAM)m_colour, 0);
    DestroyWindow(); // the last message deletes this object
}

BOOL CColourPopup::OnQueryNewPalette()
{
    Invalidate();
    return CWnd::OnQueryNewPalette();
}

void CColourPopup::OnPaletteChanged(CWnd* focusWnd)
{
    CWnd::OnPaletteChanged(focusWnd);
    if (focusWnd == nullptr || focusWnd->GetSafeHwnd() != m_hWnd)
        Invalidate();
}

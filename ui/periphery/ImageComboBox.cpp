#include "ui/periphery/ImageComboBox.h"

#include "base/Globals.h"

int CImageComboBox::AddString(LPCTSTR) { return CB_ERR; }
int CImageComboBox::InsertString(int, LPCTSTR) { return CB_ERR; }
int CImageComboBox::DeleteString(UINT) { return CB_ERR; }

int CImageComboBox::AddImage(Gdiplus::Bitmap* bitmap) { return InsertImage(GetCount(), bitmap); }

int CImageComboBox::InsertImage(int index, Gdiplus::Bitmap* bitmap)
{
    const int at = (int)SendMessage(CB_INSERTSTRING, (WPARAM)index, (LPARAM) "");
    if (at == CB_ERR || at == CB_ERRSPACE)
        return at;
    SetItemDataPtr(at, bitmap);
    if (bitmap != nullptr) {
        UpdateSize((int)bitmap->GetWidth(), (int)bitmap->GetHeight());
        SetCurSel(at);
    } else
        UpdateSize(64, 64);
    return at;
}

void CImageComboBox::RemoveImage(Gdiplus::Bitmap* bitmap)
{
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (GetItemDataPtr(i) != bitmap)
            continue;
        DeleteString((UINT)i); // a hook for derived lists
        SendMessage(CB_DELETESTRING, (WPARAM)i);
    }
    Invalidate();
}

void CImageComboBox::SelectImage(Gdiplus::Bitmap* bitmap)
{
    for (int i = 0; i < GetCount(); ++i)
        if (GetItemDataPtr(i) == bitmap)
            SetCurSel(i);
    Invalidate();
}

void CImageComboBox::UpdateSize(int width, int height)
{
    if (width > m_nMaxWidth)
        m_nMaxWidth = width;
    if (height > m_nMaxHeight)
        m_nMaxHeight = height;
    for (int i = -1; i < GetCount(); ++i)
        SetItemHeight(i, (UINT)(m_nMaxHeight + 6));
}

void CImageComboBox::MeasureItem(LPMEASUREITEMSTRUCT item)
{
    item->itemWidth = (UINT)(m_nMaxWidth + 2);
    item->itemHeight = (UINT)(m_nMaxHeight + 2);
}

void CImageComboBox::DrawItem(LPDRAWITEMSTRUCT item)
{
    CDC* dc = CDC::FromHandle(item->hDC);
    auto* bitmap = reinterpret_cast<Gdiplus::Bitmap*>(item->itemData);
    if (item->itemID == (UINT)-1)
        bitmap = nullptr;
    const bool whole = (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0;
    const bool enabled = IsWindowEnabled() != FALSE;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const COLORREF back = !enabled ? RGB(192, 192, 192) : ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    // Made before the DC's state is saved, so that they are selected out before they go.
    CBrush brush(back);
    CPen pen(PS_SOLID, 1, back);
    const int saved = dc->SaveDC();
    if (enabled) {
        if (whole) {
            dc->SelectObject(&brush);
            dc->SelectObject(&pen);
            dc->Rectangle(&item->rcItem);
            dc->SetBkColor(back);
            dc->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            DrawContent(*dc, *item, bitmap);
        }
        if (item->itemAction & ODA_FOCUS)
            dc->DrawFocusRect(&item->rcItem);
    } else {
        dc->SelectObject(&brush);
        dc->SelectObject(&pen);
        DrawContent(*dc, *item, bitmap);
    }
    dc->RestoreDC(saved);
}

void CImageComboBox::DrawContent(CDC& dc, const DRAWITEMSTRUCT& item, Gdiplus::Bitmap* bitmap)
{
    if (bitmap == nullptr)
        return;
    HBITMAP gdi = nullptr;
    if (bitmap->GetHBITMAP(Gdiplus::Color(255, 255, 255, 255), &gdi) != Gdiplus::Ok || gdi == nullptr)
        return;
    CString text;
    const int index = (int)item.itemID;
    if (index >= 0 && index < GetCount() && (GetStyle() & CBS_HASSTRINGS))
        GetLBText(index, text);
    const CRect rc(item.rcItem);
    if (text.IsEmpty()) {
        Gdiplus::Graphics g(dc.GetSafeHdc());
        g.SetPageUnit(Gdiplus::UnitPixel);
        Gdiplus::ImageAttributes attributes;
        SetOpacityMatrix(&attributes, IsWindowEnabled() ? 100 : 25);
        g.DrawImage(bitmap, Gdiplus::Rect(rc.left, rc.top, rc.Width(), rc.Height()), 0, 0, (int)bitmap->GetWidth(),
                    (int)bitmap->GetHeight(), Gdiplus::UnitPixel, &attributes);
    } else {
        HDC mem = ::CreateCompatibleDC(dc.GetSafeHdc());
        HGDIOBJ old = ::SelectObject(mem, gdi);
        ::BitBlt(dc.GetSafeHdc(), rc.left + 2, rc.top + rc.Height() / 2 - m_nMaxHeight / 2, (int)bitmap->GetWidth(),
                 (int)bitmap->GetHeight(), mem, 0, 0, SRCCOPY);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
        CRect textRect(rc);
        textRect.left += m_nMaxWidth + 4;
        dc.DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER);
    }
    ::DeleteObject(gdi); // made for this draw only
}

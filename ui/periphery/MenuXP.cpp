#include "ui/periphery/MenuXP.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CHotKeyName, CObject)
IMPLEMENT_DYNAMIC(CMenuXP, CMenu)

// --- items ---

CMenuXPItem::CMenuXPItem(UINT id, LPCTSTR text, HICON icon, int size)
    : m_nID(id), m_strText(text != nullptr ? text : ""), m_hIcon(icon), m_nSize(size)
{}

CMenuXPItem::~CMenuXPItem()
{
    if (m_hIcon != nullptr)
        ::DestroyIcon(m_hIcon);
}

// --- key names ---

void CHotKeyName::GetKeyText(CString& out) const
{
    out.Empty();
    if (m_pAccel == nullptr)
        return;
    if (m_pAccel->fVirt & FCONTROL)
        out += "Ctrl+";
    if (m_pAccel->fVirt & FSHIFT)
        out += "Shift+";
    if (m_pAccel->fVirt & FALT)
        out += "Alt+";
    if (m_pAccel->fVirt & FVIRTKEY) {
        char name[65] = "";
        const LONG scan = (LONG)::MapVirtualKey(m_pAccel->key, MAPVK_VK_TO_VSC) << 16;
        ::GetKeyNameText(scan, name, 64);
        out += name;
    } else if (m_pAccel->key != 27)
        out += (char)m_pAccel->key;
}

void CHotKeyName::GetVirtualKeyText(CString& out, UINT vk, BOOL last)
{
    LONG scan = (LONG)::MapVirtualKeyEx(vk, MAPVK_VK_TO_VSC, ::GetKeyboardLayout(0)) << 16;
    if (vk >= 33 && vk <= 47) // Page Up to Help: the keys of the extended block
        scan |= 1L << 24;
    char name[65] = "";
    ::GetKeyNameText(scan, name, 64);
    CString text(name);
    text.MakeLower();
    for (int i = 0; i < text.GetLength(); ++i)
        if (::IsCharLower(text[i])) {
            text.SetAt(i, (char)(UINT_PTR)::CharUpper((LPSTR)(UINT_PTR)(BYTE)text[i]));
            break;
        }
    out += text;
    if (!last)
        out += "+";
}

// --- the menu ---

CMenuXP::CMenuXP()
    : m_clrBackground(::GetSysColor(COLOR_MENU)), m_clrSelected(::GetSysColor(COLOR_HIGHLIGHT)),
      m_clrText(::GetSysColor(COLOR_MENUTEXT)), m_clrSelectedText(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_clrDisabledText(::GetSysColor(COLOR_GRAYTEXT)), m_clrFill(::GetSysColor(COLOR_MENU))
{
    NONCLIENTMETRICS ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    m_fontMenu.CreateFontIndirect(&ncm.lfMenuFont);
}

CMenuXP::~CMenuXP()
{
    DropBitmap();
    DeleteItems(m_hMenu);
    m_fontMenu.DeleteObject();
    m_dcBitmap.DeleteDC();
}

bool CMenuXP::IsMyItem(ULONG_PTR data)
{
    return data != 0 && reinterpret_cast<const CMenuXPItem*>(data)->m_dwSignature == 0x0505A0A0;
}

void CMenuXP::DeleteItems(HMENU menu)
{
    if (menu == nullptr || !::IsMenu(menu))
        return;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFO mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_DATA | MIIM_SUBMENU;
        if (!::GetMenuItemInfo(menu, (UINT)i, TRUE, &mii))
            continue;
        if (mii.hSubMenu != nullptr && DYNAMIC_DOWNCAST(CMenuXP, CMenu::FromHandlePermanent(mii.hSubMenu)) != nullptr)
            DeleteItems(mii.hSubMenu);
        if (IsMyItem(mii.dwItemData)) {
            delete reinterpret_cast<CMenuXPItem*>(mii.dwItemData);
            // Cleared, so that the item is never deleted twice.
            mii.fMask = MIIM_DATA;
            mii.dwItemData = 0;
            ::SetMenuItemInfo(menu, (UINT)i, TRUE, &mii);
        }
    }
}

UINT CMenuXP::BreakFlags()
{
    const UINT flags = (m_bBreak ? MF_MENUBREAK : 0) | (m_bBarBreak ? MF_MENUBARBREAK : 0);
    m_bBreak = m_bBarBreak = FALSE;
    return flags;
}

BOOL CMenuXP::AppendItem(UINT flags, CMenuXPItem* item, const ACCEL* accel)
{
    flags |= MF_OWNERDRAW | BreakFlags();
    if (accel != nullptr) {
        CString key;
        CHotKeyName(accel).GetKeyText(key);
        if (!key.IsEmpty())
            item->m_strText += "\t" + key;
    }
    return ::AppendMenu(m_hMenu, flags, item->m_nID, (LPCTSTR)item);
}

BOOL CMenuXP::AppendPopup(UINT flags, CMenuXP* submenu, CMenuXPItem* item)
{
    flags |= MF_OWNERDRAW | MF_POPUP | BreakFlags();
    return ::AppendMenu(m_hMenu, flags, (UINT_PTR)submenu->GetSafeHmenu(), (LPCTSTR)item);
}

BOOL CMenuXP::AppendSeparator()
{
    m_bBreak = m_bBarBreak = FALSE;
    return ::AppendMenu(m_hMenu, MF_OWNERDRAW | MF_SEPARATOR, 0, (LPCTSTR) new CMenuXPSeparator);
}

BOOL CMenuXP::AppendTitle(CMenuXPItem* item)
{
    item->m_bTitle = TRUE;
    m_bBreak = TRUE; // the items go into the next column
    m_bBarBreak = FALSE;
    return ::AppendMenu(m_hMenu, MF_OWNERDRAW | MF_SEPARATOR, item->m_nID, (LPCTSTR)item);
}

void CMenuXP::DropBitmap()
{
    if (m_dcBitmap.GetSafeHdc() != nullptr && m_hBitmapOld != nullptr)
        ::SelectObject(m_dcBitmap.GetSafeHdc(), m_hBitmapOld); // never delete a selected bitmap
    m_hBitmapOld = nullptr;
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
}

void CMenuXP::SetBackgroundBitmap(HBITMAP bitmap)
{
    DropBitmap();
    if (bitmap == nullptr) {
        m_dcBitmap.DeleteDC();
        return;
    }
    m_hBitmap = bitmap;
    if (m_dcBitmap.GetSafeHdc() == nullptr)
        m_dcBitmap.CreateCompatibleDC(nullptr);
    m_hBitmapOld = ::SelectObject(m_dcBitmap.GetSafeHdc(), bitmap);
}

void CMenuXP::MakeBold(CFont& bold) const
{
    LOGFONT lf = {};
    m_fontMenu.GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    bold.CreateFontIndirect(&lf);
}

void CMenuXP::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    if (mis->CtlType != ODT_MENU || !IsMyItem(mis->itemData))
        return;
    const auto* item = reinterpret_cast<const CMenuXPItem*>(mis->itemData);
    int width, height;
    if (item->m_bTitle) {
        // One pixel high: the system never draws an item of none; the band is then drawn
        // down the whole column.
        width = item->m_nSize;
        height = 1;
    } else if (item->m_bSeparator) {
        width = 0;
        height = ::GetSystemMetrics(SM_CYMENUCHECK) / 2;
    } else {
        CFont bold;
        MakeBold(bold);
        CClientDC screen((CWnd*)nullptr);
        CFont* old = screen.SelectObject(&bold);
        CRect r(0, 0, 0, 0);
        screen.DrawText(item->m_strText, &r, DT_SINGLELINE | DT_CALCRECT);
        screen.SelectObject(old);
        height = std::max((int)r.Height(), item->m_nSize + 4);
        width = item->m_bSquare ? height : r.Width() + 4 + 2 * item->m_nSize + 8;
    }
    // The system adds the width of a check mark itself.
    width -= ::GetSystemMetrics(SM_CXMENUCHECK) - 1;
    mis->itemWidth = (UINT)std::max(0, width);
    mis->itemHeight = (UINT)height;
}

void CMenuXP::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (dis->CtlType != ODT_MENU || !IsMyItem(dis->itemData))
        return;
    const auto* item = reinterpret_cast<const CMenuXPItem*>(dis->itemData);
    CDC* dc = CDC::FromHandle(dis->hDC);
    const int saved = dc->SaveDC();
    CRect rect(dis->rcItem);
    const BOOL selected = (dis->itemState & ODS_SELECTED) != 0;
    const BOOL disabled = (dis->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const BOOL checked = (dis->itemState & ODS_CHECKED) != 0;
    if (item->m_bTitle) {
        // The band runs down the whole column, whatever height the item was given.
        CRect client;
        if (HWND wnd = ::WindowFromDC(dis->hDC)) {
            ::GetClientRect(wnd, &client);
            rect.top = client.top;
            rect.bottom = std::max(rect.bottom, client.bottom);
        }
        DrawTitle(dc, rect, item->m_strText, item->m_nSize);
    } else if (item->m_bSeparator) {
        DrawBackground(dc, rect, FALSE, FALSE);
        CRect line(rect);
        line.top += rect.Height() / 2;
        dc->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        if (m_nStyle == 2)
            DrawFill(dc, CRect(rect.left, rect.top, rect.left + item->m_nSize + 4, rect.top + item->m_nSize + 4), FALSE,
                     FALSE);
    } else {
        DrawBackground(dc, rect, selected, disabled);
        CRect square(rect.left, rect.top, rect.left + rect.Height(), rect.bottom);
        if (m_nStyle == 2)
            DrawFill(dc, square, selected, disabled);
        if (item->m_hIcon != nullptr || checked)
            DrawButton(dc, square, selected, disabled, checked);
        CRect inner(square);
        inner.DeflateRect(2, 2);
        if (item->m_hIcon != nullptr)
            DrawIcon(dc, inner, item->m_hIcon, selected, disabled, checked, item->m_nSize);
        else if (checked)
            DrawCheckMark(dc, inner, selected);
        if (!item->m_bSquare) {
            CRect text(square.right + 2, rect.top, rect.right - item->m_nSize, rect.bottom);
            DrawText(dc, text, item->m_strText, selected, disabled, (dis->itemState & ODS_DEFAULT) != 0);
        }
    }
    dc->RestoreDC(saved);
}

void CMenuXP::DrawBackground(CDC* dc, CRect rect, BOOL selected, BOOL disabled)
{
    if (m_hBitmap != nullptr && (!selected || disabled)) {
        BITMAP bm = {};
        ::GetObject(m_hBitmap, sizeof(bm), &bm);
        dc->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &m_dcBitmap, rect.left % std::max(1L, bm.bmWidth),
                   rect.top % std::max(1L, bm.bmHeight), SRCCOPY);
        return;
    }
    COLORREF fill = selected ? m_clrSelected : m_clrBackground;
    if (m_nStyle == 2 && selected && disabled)
        fill = m_clrBackground;
    dc->FillSolidRect(&rect, fill);
    if (m_nStyle == 2 && selected && !disabled) {
        CSelectGuard pen(dc->GetSafeHdc(), ::GetStockObject(BLACK_PEN));
        CSelectGuard brush(dc->GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
        dc->Rectangle(&rect);
    }
}

void CMenuXP::DrawButton(CDC* dc, CRect rect, BOOL selected, BOOL disabled, BOOL checked)
{
    if (m_nStyle == 2) {
        if (checked && !disabled && !selected)
            DrawBackground(dc, rect, TRUE, FALSE);
        return;
    }
    dc->FillSolidRect(&rect, checked && !selected ? ::GetSysColor(COLOR_3DHILIGHT) : m_clrBackground);
    if (!disabled && (selected || checked))
        dc->DrawEdge(&rect, checked ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
}

namespace {

// The icon as a flat silhouette in `colour`: drawn onto a white monochrome mask, which then
// paints the colour where the icon has ink.
void DrawSilhouette(CDC* dc, const CRect& rect, HICON icon, int size, COLORREF colour)
{
    HDC maskDC = ::CreateCompatibleDC(dc->GetSafeHdc());
    HBITMAP mask = ::CreateBitmap(size, size, 1, 1, nullptr);
    HGDIOBJ oldMask = ::SelectObject(maskDC, mask);
    ::PatBlt(maskDC, 0, 0, size, size, WHITENESS);
    ::DrawIconEx(maskDC, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    HBRUSH brush = ::CreateSolidBrush(colour);
    HGDIOBJ oldBrush = ::SelectObject(dc->GetSafeHdc(), brush);
    const COLORREF oldBk = ::SetBkColor(dc->GetSafeHdc(), RGB(255, 255, 255));
    const COLORREF oldText = ::SetTextColor(dc->GetSafeHdc(), RGB(0, 0, 0));
    ::BitBlt(dc->GetSafeHdc(), rect.left, rect.top, size, size, maskDC, 0, 0, 0xB8074A);
    ::SetBkColor(dc->GetSafeHdc(), oldBk);
    ::SetTextColor(dc->GetSafeHdc(), oldText);
    ::SelectObject(dc->GetSafeHdc(), oldBrush);
    ::DeleteObject(brush);
    ::SelectObject(maskDC, oldMask);
    ::DeleteObject(mask);
    ::DeleteDC(maskDC);
}

} // namespace

void CMenuXP::DrawIcon(CDC* dc, CRect rect, HICON icon, BOOL selected, BOOL disabled, BOOL checked, int size)
{
    if (disabled) {
        DrawSilhouette(dc, rect, icon, size, ::GetSysColor(COLOR_3DHILIGHT));
        return;
    }
    if (m_nStyle == 2 && selected && !checked) {
        DrawSilhouette(dc, rect, icon, size, ::GetSysColor(COLOR_3DSHADOW));
        rect.OffsetRect(-1, -1);
    }
    ::DrawIconEx(dc->GetSafeHdc(), rect.left, rect.top, icon, size, size, 0, nullptr, DI_NORMAL);
}

void CMenuXP::DrawTitle(CDC* dc, CRect rect, const CString& text, int)
{
    dc->FillSolidRect(&rect, m_clrExtra1);
    CFont font;
    font.CreateFont(-12, 0, 900, 900, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
    CFont* old = dc->SelectObject(&font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(255, 255, 255));
    // Read upwards from the bottom of the band, centred across it.
    TEXTMETRIC tm = {};
    dc->GetTextMetrics(&tm);
    const int x = rect.left + (rect.Width() - tm.tmHeight) / 2;
    dc->TextOut(x, rect.bottom - 6, text);
    dc->SelectObject(old);
}

void CMenuXP::DrawText(CDC* dc, CRect rect, const CString& text, BOOL selected, BOOL disabled, BOOL bold)
{
    CFont boldFont;
    if (bold)
        MakeBold(boldFont);
    CFont* old = dc->SelectObject(bold ? &boldFont : &m_fontMenu);
    dc->SetBkMode(TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_VCENTER;
    if (disabled && !selected && m_nStyle != 2) {
        CRect lit(rect);
        lit.OffsetRect(1, 1);
        dc->SetTextColor(m_clrSelectedText);
        DrawAcceleratorText(dc, lit, text, format);
        dc->SetTextColor(m_clrDisabledText);
    } else if (disabled)
        dc->SetTextColor(m_clrDisabledText);
    else
        dc->SetTextColor(selected ? m_clrSelectedText : m_clrText);
    DrawAcceleratorText(dc, rect, text, format);
    dc->SelectObject(old);
}

void CMenuXP::DrawAcceleratorText(CDC* dc, CRect rect, const CString& text, UINT format)
{
    const int tab = text.Find('\t');
    if (tab < 0) {
        dc->DrawText(text, &rect, format | DT_LEFT);
        return;
    }
    dc->DrawText(text.Left(tab), &rect, format | DT_LEFT);
    dc->DrawText(text.Mid(tab + 1), &rect, format | DT_RIGHT);
}

void CMenuXP::DrawCheckMark(CDC* dc, CRect rect, BOOL)
{
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* old = dc->SelectObject(&black);
    const int x = rect.left + (rect.Width() - 8) / 2;
    const int y = rect.top + (rect.Height() - 8) / 2;
    for (int i = 0; i < 3; ++i) {
        const POINT tick[3] = {{x, y + 3 + i}, {x + 2, y + 5 + i}, {x + 7, y + i}};
        dc->Polyline(tick, 3);
    }
    dc->SelectObject(old);
}

void CMenuXP::DrawFill(CDC* dc, CRect rect, BOOL selected, BOOL disabled)
{
    if (m_nStyle == 2 && !(selected && !disabled))
        dc->FillSolidRect(&rect, m_clrFill);
}

LRESULT CMenuXP::MenuChar(UINT ch, HMENU menu)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFO mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_DATA | MIIM_STATE;
        if (!::GetMenuItemInfo(menu, (UINT)i, TRUE, &mii) || !IsMyItem(mii.dwItemData))
            continue;
        const CString& text = reinterpret_cast<const CMenuXPItem*>(mii.dwItemData)->m_strText;
        const int amp = text.Find('&');
        if (amp >= 0 && amp + 1 < text.GetLength() &&
            ::CharLower((LPSTR)(UINT_PTR)(BYTE)text[amp + 1]) == ::CharLower((LPSTR)(UINT_PTR)(BYTE)ch))
            return MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
}

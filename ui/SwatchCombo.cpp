#include "ui/SwatchCombo.h"

#include "model/swatches/SwatchFile.h"

void CSwatchCombo::DrawItem(LPDRAWITEMSTRUCT dis)
{
    HDC dc = dis->hDC;
    const int saved = ::SaveDC(dc);
    const CRect item = dis->rcItem;
    SwatchRecord swatch = {};
    const bool found = m_map != nullptr && (int)dis->itemID != -1 && m_map->Lookup(swatch, (DWORD)dis->itemData);
    if (found && (dis->itemState & (ODS_GRAYED | ODS_DISABLED)) == 0) {
        // Five slots; each box one pixel wider so that neighbours meet. Left to right the
        // colours stand in the file's order: 1, 2, 5, 3, 4.
        static const int kOrder[5] = {0, 1, 4, 2, 3};
        const double slot = item.Width() / 5.0;
        const int width = (int)(slot + 1);
        for (int i = 0; i < 5; ++i) {
            const int left = item.left + (int)(slot * i);
            CRect box(left, item.top, left + width, item.bottom);
            ::SetBkColor(dc, swatch.colour[kOrder[i]]);
            ::ExtTextOut(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
        }
    }
    if ((dis->itemState & ODS_FOCUS) != 0 && dis->itemAction != ODA_SELECT)
        ::DrawFocusRect(dc, &item);
    ::RestoreDC(dc, saved);
}

CSwatchList::CSwatchList(CSwatchCombo& combo, CSwatchPanel& panel)
    : m_combo(combo), m_panel(panel), m_path(SwatchFilePath())
{
    m_combo.SetRecordMap(&m_map);
}

void CSwatchList::Fill()
{
    LoadSwatches(m_map, m_path);
    m_combo.ResetContent();
    CList<DWORD, DWORD> keys;
    m_map.GetKeys(keys);
    for (POSITION pos = keys.GetHeadPosition(); pos != nullptr;)
        AddEntry(keys.GetNext(pos));
}

int CSwatchList::AddEntry(DWORD key)
{
    CString text;
    text.Format("%lu", key);
    const int index = m_combo.AddString(text);
    if (index >= 0)
        m_combo.SetItemData(index, key);
    return index;
}

SwatchRecord CSwatchList::PanelRecord() const
{
    SwatchRecord r = {};
    m_panel.GetSwatchColours(r.colour);
    return r;
}

void CSwatchList::Add()
{
    SwatchRecord r = PanelRecord();
    if (AppendSwatchLine(m_path, SwatchLine(r)) == SwatchWrite::Written) {
        r.id = m_map.NewKey();
        m_map.SetAt(r);
        const int index = AddEntry(r.id);
        m_combo.SetCurSel(index);
        m_combo.Invalidate();
    }
    m_panel.SwatchesChanged(false);
}

void CSwatchList::Remove()
{
    const int index = m_combo.GetCurSel();
    if (index < 0)
        return;
    const DWORD key = (DWORD)m_combo.GetItemData(index);
    SwatchRecord r = {};
    const bool found = m_map.Lookup(r, key) != FALSE;
    m_map.RemoveKey(key);
    // The built-in swatch is never in the file, unless a line of five whites is.
    if (found)
        RemoveSwatchLine(m_path, SwatchLine(r));
    m_combo.DeleteString(index);
    m_panel.SwatchesChanged(true);
}

void CSwatchList::Apply()
{
    const int index = m_combo.GetCurSel();
    if (index < 0)
        return;
    SwatchRecord r = {};
    if (m_map.Lookup(r, (DWORD)m_combo.GetItemData(index)))
        m_panel.SetSwatchColours(r.colour);
}

int CSwatchList::Match() const { return m_map.FindMatch(PanelRecord()); }

BOOL CSwatchList::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == BN_CLICKED && id == kSwatchAddCommand) {
        Add();
        return TRUE;
    }
    if (code == BN_CLICKED && id == kSwatchRemoveCommand) {
        Remove();
        return TRUE;
    }
    if (code == CBN_SELENDOK && m_combo.GetSafeHwnd() != nullptr && (HWND)lParam == m_combo.GetSafeHwnd()) {
        Apply();
        return TRUE;
    }
    return FALSE;
}

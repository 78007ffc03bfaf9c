// Owner-drawn menus: each item carries an item object (text, icon, kind) and is drawn with
// the menu font, its icon or a check mark, an optional background bitmap and the text of its
// accelerator at the right; a title item draws a band with vertical text down the menu's
// first column.  CHotKeyName turns an accelerator entry into its readable text.
//
// The rule it keeps: the menu owns the item objects it was given (and those of its CMenuXP
// submenus) and its background bitmap, and deletes each exactly once; only objects with the
// item signature are measured, drawn and deleted.
#pragma once
#include "fw/fwwin.h"

class CMenuXPItem
{
public:
    CMenuXPItem(UINT id = 0, LPCTSTR text = nullptr, HICON icon = nullptr, int size = 16);
    virtual ~CMenuXPItem();
    CMenuXPItem(const CMenuXPItem&) = delete;
    CMenuXPItem& operator=(const CMenuXPItem&) = delete;

    DWORD m_dwSignature = 0x0505A0A0;
    UINT m_nID = 0;
    BYTE m_bSeparator = FALSE;
    BYTE m_bTitle = FALSE;
    BYTE m_bSquare = FALSE; // as wide as high: an icon without text
    CString m_strText;
    HICON m_hIcon = nullptr; // destroyed with the item
    int m_nSize = 16;        // icon size
};

class CMenuXPSeparator : public CMenuXPItem
{
public:
    CMenuXPSeparator() { m_bSeparator = TRUE; }
};

class CHotKeyName : public CObject
{
    DECLARE_DYNAMIC(CHotKeyName)
public:
    explicit CHotKeyName(const ACCEL* accel = nullptr) : m_pAccel(accel) {}
    // "Ctrl+", "Shift+", "Alt+" as the entry has them, then the key's name.
    void GetKeyText(CString& out) const;
    // The key's name under the current layout, in lower case with its first letter upper,
    // appended to `out`, with "+" unless it is the last.
    static void GetVirtualKeyText(CString& out, UINT vk, BOOL last);

    const ACCEL* m_pAccel;
};

class CMenuXP : public CMenu
{
    DECLARE_DYNAMIC(CMenuXP)
public:
    CMenuXP();
    ~CMenuXP() override;

    // The menu takes the item objects it is given.
    BOOL AppendItem(UINT flags, CMenuXPItem* item, const ACCEL* accel = nullptr);
    BOOL AppendPopup(UINT flags, CMenuXP* submenu, CMenuXPItem* item);
    BOOL AppendSeparator();
    BOOL AppendTitle(CMenuXPItem* item);
    void Break() { m_bBreak = TRUE; }
    void BarBreak() { m_bBarBreak = TRUE; }
    // The menu takes the bitmap; none deletes the current one.
    void SetBackgroundBitmap(HBITMAP bitmap);
    void SetStyle(int style) { m_nStyle = style; }

    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
    void DrawItem(LPDRAWITEMSTRUCT dis) override;

    static bool IsMyItem(ULONG_PTR data);
    // The answer to WM_MENUCHAR for an owner-drawn menu: the item whose text has the
    // mnemonic `ch` ("&x") is chosen; 0 (a beep) when there is none.
    static LRESULT MenuChar(UINT ch, HMENU menu);

protected:
    virtual void DrawBackground(CDC* dc, CRect rect, BOOL selected, BOOL disabled);
    virtual void DrawButton(CDC* dc, CRect rect, BOOL selected, BOOL disabled, BOOL checked);
    virtual void DrawIcon(CDC* dc, CRect rect, HICON icon, BOOL selected, BOOL disabled, BOOL checked, int size);
    virtual void DrawTitle(CDC* dc, CRect rect, const CString& text, int size);
    virtual void DrawText(CDC* dc, CRect rect, const CString& text, BOOL selected, BOOL disabled, BOOL bold);
    virtual void DrawCheckMark(CDC* dc, CRect rect, BOOL selected);
    virtual void DrawAcceleratorText(CDC* dc, CRect rect, const CString& text, UINT format);
    virtual void DrawFill(CDC* dc, CRect rect, BOOL selected, BOOL disabled);

    CFont m_fontMenu;
    COLORREF m_clrBackground;
    COLORREF m_clrSelected;
    COLORREF m_clrText;
    COLORREF m_clrSelectedText;
    COLORREF m_clrDisabledText;
    COLORREF m_clrExtra1 = RGB(0, 0, 192); // the title band
    COLORREF m_clrExtra2 = 0;
    COLORREF m_clrFill;
    BOOL m_bBreak = FALSE;
    BOOL m_bBarBreak = FALSE;
    HBITMAP m_hBitmap = nullptr;
    CDC m_dcBitmap;
    HGDIOBJ m_hBitmapOld = nullptr;
    int m_nStyle = 0;

private:
    UINT BreakFlags();
    static void DeleteItems(HMENU menu);
    void DropBitmap();
    void MakeBold(CFont& bold) const;
};

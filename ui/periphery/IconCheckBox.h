// An owner-drawn check box that shows its state as a round lamp (bright green when checked,
// dark green when not, grey when disabled) or as one of two icons beside its caption, and
// can carry tooltips.  A click or the space bar toggles it.
//
// The rule it keeps: the control owns its icons: they are destroyed when replaced and
// when the control goes.
#pragma once
#include "fw/fwwin.h"
#include "fw/fwctl2.h"

class CIconCheckBox : public CButton
{
public:
    CIconCheckBox() = default;
    ~CIconCheckBox() override;

    void SetCheck(int state, BOOL repaint = TRUE);
    int GetCheck() const { return (int)m_nCheck; }
    bool IsHovering() const { return m_bHover != 0; }

    // The checked and the unchecked icon: from the program's resources, from files, or
    // handles the control then owns.  TRUE.
    BOOL SetIcons(UINT checkedId, UINT uncheckedId);
    BOOL SetIcons(LPCTSTR checkedFile, LPCTSTR uncheckedFile);
    BOOL SetIcons(HICON checked, HICON unchecked);
    // FALSE for a negative size.
    BOOL SetLampSize(int size);
    BOOL SetLampColours(COLORREF on, COLORREF off);
    // Adds a tool with this text for the control (each call another tool).
    void SetTooltipText(LPCTSTR text);
    int GetToolCount() const { return m_tooltip.m_hWnd != nullptr ? m_tooltip.GetToolCount() : 0; }

    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
    void OnMouseMove(UINT flags, CPoint point);
    void OnClicked();
    void OnMouseLeave();
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    struct Icon
    {
        HICON handle = nullptr;
        DWORD width = 0;
        DWORD height = 0;
    };
    void ReleaseIcons();
    void Repaint();

    DWORD m_dwStyle = 0;
    BOOL m_bHover = FALSE;
    DWORD m_nCheck = 0;
    UINT m_bDisabled = 0;
    UINT m_bFocused = 0;
    UINT m_bPressed = 0;
    int m_nLampSize = 15;
    COLORREF m_clrOn = 0x0000FF00;
    COLORREF m_clrOff = 0x00007F00;
    CToolTipCtrl m_tooltip;
    Icon m_icons[2]; // shown when checked, when unchecked
};

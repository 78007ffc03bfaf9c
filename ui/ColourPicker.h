// A push button that shows a colour and drops down a CColourPopup when clicked; it reports
// the user's choice to its parent with the CPN_* messages (wParam the colour, lParam its
// control id). Panels subclass it onto a button of their template.
//
// The rule it keeps: the picker is "active" only while its popup is open; a popup that
// cannot be made leaves it inactive and leaves nothing behind, so the next click tries again.
#pragma once
#include "fw/fwwin.h"
#include "ui/ColourPopup.h"

class CColourPicker : public CButton
{
    DECLARE_DYNCREATE(CColourPicker)
public:
    CColourPicker();

    // The text colour in selection mode 1, else the background colour.
    COLORREF GetColour() const;
    void SetColour(COLORREF colour);
    // Store the colour and, once the window exists, redraw it at once.
    void SetBkColour(COLORREF colour);
    void SetTextColour(COLORREF colour);
    COLORREF GetBkColour() const { return m_bkColour; }
    COLORREF GetTextColour() const { return m_textColour; }
    void SetTrackSelection(BOOL track) { m_trackSelection = track; }
    BOOL GetTrackSelection() const { return m_trackSelection; }
    void SetSelectionMode(int mode) { m_selectionMode = mode; }
    int GetSelectionMode() const { return m_selectionMode; }
    BOOL IsActive() const { return m_active; }
    const CRect& GetArrowRect() const { return m_arrowRect; }

    void DrawItem(LPDRAWITEMSTRUCT dis) override;

protected:
    void PreSubclassWindow() override;
    // The popup for a click, made at pos with the picker's colour; may throw on low memory.
    // The window is made by the popup itself: one that failed has no handle.
    virtual CColourPopup* NewPopup(CPoint pos, COLORREF colour);

    int OnCreate(LPCREATESTRUCT cs);
    BOOL OnClicked();
    LRESULT OnSelEndOK(WPARAM colour, LPARAM);
    LRESULT OnSelEndCancel(WPARAM colour, LPARAM);
    LRESULT OnSelChange(WPARAM colour, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void SetWindowSize();
    void NotifyParent(UINT message, COLORREF colour);

    BOOL m_active;
    BOOL m_trackSelection;
    COLORREF m_bkColour;
    COLORREF m_textColour;
    int m_selectionMode;
    CRect m_arrowRect;
};

// Data exchange: on save the picker's colour goes into `colour`, else the picker takes it.
void DDX_ColourPicker(CDataExchange* pDX, int nIDC, COLORREF& colour);

// The drop-down of a colour picker: a borderless popup with a grid of 40 named colours and a
// "More..." box that opens the common colour dialog. It is made only by CColourPicker and
// talks only to it, with the CPN_* messages (wParam the colour, lParam 0).
//
// The rule it keeps: the popup holds the mouse capture while open, so that a release outside
// it cancels; ending the selection releases the capture, reports once and destroys the
// window, whose last message deletes the object.
#pragma once
#include "fw/fwwin.h"

// Notifications, all sent (never posted): from the popup to the picker with lParam 0, and
// from the picker to its parent with lParam the picker's control id.
#define CPN_SELCHANGE (WM_USER + 1001)
#define CPN_DROPDOWN (WM_USER + 1002)
#define CPN_CLOSEUP (WM_USER + 1003)
#define CPN_SELENDOK (WM_USER + 1004)
#define CPN_SELENDCANCEL (WM_USER + 1005)

class CColourPopup : public CWnd
{
public:
    struct NamedColour
    {
        COLORREF colour;
        LPCTSTR name;
    };
    enum { kColourCount = 40, kColumns = 8 };
    static const NamedColour kColours[kColourCount];
    // The hot or chosen cell of the "More..." box.
    enum { kCustomRow = -2 };

    // Only initialises: Create makes the window.
    CColourPopup();
    // Initialises and makes the window at once at (x, y), screen coordinates.
    CColourPopup(CPoint pos, COLORREF colour, CWnd* parentPicker, LPCTSTR customText);
    ~CColourPopup() override;

    // The window, sized and kept on the screen, with its tooltips and the mouse captured;
    // FALSE when the window could not be made.
    BOOL Create(CPoint pos, COLORREF colour, CWnd* parentPicker, LPCTSTR customText);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Where a cell lies in client coordinates; FALSE outside the grid.
    BOOL GetCellRect(int row, int column, CRect& rect) const;
    const CRect& GetCustomRect() const { return m_customRect; }
    int GetRows() const { return m_rows; }
    void GetHotCell(int& row, int& column) const
    {
        row = m_hotRow;
        column = m_hotColumn;
    }
    void GetChosenCell(int& row, int& column) const
    {
        row = m_chosenRow;
        column = m_chosenColumn;
    }
    COLORREF GetColour() const { return m_colour; }
    // The text of cell (row, column)'s tooltip: the name and " [rrggbb]".
    static CString ToolText(int index);

protected:
    void PostNcDestroy() override;
    void OnLButtonUp(UINT flags, CPoint point);
    void OnPaint();
    void OnMouseMove(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    BOOL OnQueryNewPalette();
    void OnPaletteChanged(CWnd* focusWnd);
    DECLARE_MESSAGE_MAP()

private:
    void Initialise();
    void SetWindowSize();
    void CreateToolTips();
    void FindChosenCell(COLORREF colour);
    void ChangeHotCell(int row, int column);
    void EndSelection(UINT message);
    void DrawCell(CDC* dc, int row, int column);
    void DrawCustomBox(CDC* dc);
    bool IsGridCell(int row, int column) const;
    bool IsCustomCell(int row, int column) const { return row == kCustomRow && column == kCustomRow; }

    int m_colourCount;
    int m_columns;
    int m_rows;
    int m_boxSize;
    int m_margin;
    int m_hotRow, m_hotColumn;
    int m_chosenRow, m_chosenColumn;
    BOOL m_showCustom;
    CString m_customText;
    CRect m_customRect;
    CRect m_windowRect;
    CFont m_font;
    CPalette m_palette;
    COLORREF m_initialColour;
    COLORREF m_colour;
    CToolTipCtrl m_toolTip;
    CWnd* m_parent;
    bool m_ownsSelf;
};

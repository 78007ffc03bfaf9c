// The thumbnail grid: a scrolling window holding one CThumbnailButton per file of a folder,
// in rows of fixed-size cells.  A button's press (WM_USER+0x55) and double click (0x3F2)
// are passed on to the grid's parent unchanged.  No screen of the program creates a grid.
//
// The rules it keeps:
// - the grid owns its buttons and deletes them, last first, on a reset and when it goes;
// - its worker only opens or creates the folder's thumbnail cache (its file list stays
//   empty), and every wait for it handles this thread's messages (the pumping Stop).
#pragma once

#include "fw/fwwin.h"
#include "app/browser/ThumbnailThread.h"
#include "base/FileUtils.h"

class CThumbnailButton;

// Lays the grid out again, updates its bars and repaints it.
const UINT WM_GRID_RELAYOUT = 0x3E9;

class CThumbNailControl : public CWnd
{
    DECLARE_DYNAMIC(CThumbNailControl)
public:
    static constexpr int kCellGap = 4;
    static constexpr int kWheelLines = 5;
    static constexpr int kPageStep = 20;

    CThumbNailControl();
    ~CThumbNailControl() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Which files get buttons (the thumbnail worker's kinds; kind 1 also takes ".JPEG").
    void SetFileKind(int kind) { m_nFileKind = kind; }
    int GetFileKind() const { return m_nFileKind; }
    static bool KindMatches(int kind, LPCTSTR extension);

    // Replaces the buttons by one per matching file of the folder, in the order of the walk,
    // and starts the worker on the folder.
    void AddFolder(LPCTSTR folder, LPCTSTR filter, BOOL recursive);
    // One more button in a new cell (nullptr when its window could not be made).
    CThumbnailButton* AddButton(LPCTSTR path, const CTime& written);
    CThumbnailButton* AddButton(UINT bitmapId, LPCTSTR name, int value);
    CThumbnailButton* AddButton(Gdiplus::Image* image, LPCTSTR name, int value);
    // Stops a running worker (handling messages meanwhile); with deleteButtons deletes every
    // button; then, with a window, recounts the columns and lays out.
    void Reset(BOOL deleteButtons);
    void Layout();
    void UpdateScrollBars();

    INT_PTR GetButtonCount() const { return m_buttons.GetSize(); }
    CThumbnailButton* GetButton(INT_PTR index) const { return (CThumbnailButton*)m_buttons[index]; }
    int GetColumns() const { return m_nColumns; }
    int GetRows() const { return m_nRows; }
    const CThumbnailThread& GetWorker() const { return m_worker; }

protected:
    void OnHScroll(UINT code, UINT position, CScrollBar* bar);
    void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    LRESULT OnRelayout(WPARAM wParam, LPARAM lParam);
    LRESULT OnRelay(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    static BOOL RegisterGridClass();
    CThumbnailButton* Append(CThumbnailButton* button);
    void StopWorker();
    void DeleteButtons();
    // The new position of a bar after a scroll code; `step` is the line step.
    int ScrollTo(int bar, UINT code, int lineStep, int pageStep);

    CPtrArray m_buttons;
    int m_nOffsetX;
    int m_nOffsetY;
    int m_nColumns;
    int m_nRows;
    int m_nCellWidth;
    int m_nCellHeight;
    CFolderScan m_files;
    CThumbnailThread m_worker;
    int m_nFileKind;
};

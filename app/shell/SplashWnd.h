// The splash window: a borderless popup showing the splash bitmap centred on the screen,
// owned by a hidden popup.  It cannot be closed until the program allows it.
#pragma once

#include "fw/fwwin.h"

class CSplashWnd : public CWnd
{
public:
    CSplashWnd();
    ~CSplashWnd() override;

    // An id above 0xFFFF names no resource: the window then has no bitmap.
    void SetBitmapResource(UINT resourceId);
    void SetBitmapFile(LPCTSTR path);

    // Loads the bitmap and creates the owner and the splash window (on the thread that
    // is to own them).  A bitmap that cannot be loaded gives a zero-size window.
    BOOL Create();
    void AllowClose() { InterlockedExchange(&m_mayClose, 1); }

    int GetBitmapWidth() const { return m_width; }
    int GetBitmapHeight() const { return m_height; }
    HPALETTE GetPalette() const { return (HPALETTE)m_palette.GetSafeHandle(); }
    HWND GetOwnerHwnd() const { return m_owner.GetSafeHwnd(); }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnClose();
    void OnPaletteChanged(CWnd* pFocusWnd);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    void LoadBitmap();
    void MakePalette();
    void RealizePalette();

    HBITMAP m_bitmap = nullptr; // DIB section
    CPalette m_palette;
    CWnd m_owner; // hidden popup that owns the splash
    int m_width = 0;
    int m_height = 0;
    UINT m_resourceId = 0;
    CString m_path;
    BOOL m_fromFile = FALSE;
    volatile LONG m_mayClose = 0;
};

// An animated splash window: a top-most tool popup showing a bitmap (shaped by a
// transparent colour) with a line of text, faded in and out where the system can, hidden
// after a display time or at the user's first key or click.  Allocate it with new: once
// created, the object deletes itself when its window is gone.
#pragma once

#include "fw/fwwin.h"

class CSplashScreenEx : public CWnd
{
public:
    // Style flags of Create.
    enum {
        kFadeIn = 1,
        kFadeOut = 2,
        kShadow = 4,
        kCentreScreen = 8,
        kCentreParent = 16,
        kHideOnInput = 32, // key-down, system key-down, a mouse button in the window or its frame
    };
    // Font styles of SetTextFont.
    enum { kBold = 1, kItalic = 2, kUnderline = 4 };
    // A colour component of 65535 in SetBitmap: no transparent colour.
    static const WORD kNoTransparency = 65535;

    CSplashScreenEx();
    ~CSplashScreenEx() override;

    // Registers "SplashScreenExClass" and creates the hidden popup.  FALSE when it cannot
    // (the object then stays the caller's to delete).
    BOOL Create(CWnd* parent, LPCTSTR text = nullptr, DWORD displayTimeMs = 2000, DWORD style = kCentreScreen);
    // Loads the bitmap (a resource or a file), sizes and places the window as the style
    // says and, with a transparent colour, shapes it to the other pixels.
    BOOL SetBitmap(UINT resourceId, WORD red = kNoTransparency, WORD green = kNoTransparency,
                   WORD blue = kNoTransparency);
    BOOL SetBitmap(LPCTSTR fileName, WORD red = kNoTransparency, WORD green = kNoTransparency,
                   WORD blue = kNoTransparency);

    // Each redraws the window at once.
    void SetText(LPCTSTR text);
    BOOL SetTextFont(LPCTSTR face, int pointSize, int styles);
    void SetTextDefaultFont();
    void SetTextColor(COLORREF colour);
    void SetTextRect(const CRect& rect);
    void SetTextFormat(UINT format);

    // Shows it without activating it (faded in with kFadeIn) and starts the display time.
    void Show();
    // Hides it (faded out with kFadeOut) and destroys it; the object is deleted then.
    void Hide();

    BOOL CanAnimate() const { return m_animate != nullptr; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnTimer(UINT_PTR id);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    typedef BOOL(WINAPI* AnimateWindowProc)(HWND, DWORD, DWORD);

    BOOL TakeBitmap(HBITMAP bitmap, WORD red, WORD green, WORD blue);
    void Place();
    void Redraw();

    AnimateWindowProc m_animate;
    HWND m_parent = nullptr;
    DWORD m_displayTime = 2000;
    DWORD m_style = 0;
    HBITMAP m_bitmap = nullptr;
    int m_width = 0;
    int m_height = 0;
    CString m_text;
    HFONT m_font = nullptr; // owned unless it is the default GUI font
    bool m_ownFont = false;
    COLORREF m_textColour = 0;
    CRect m_textRect;
    UINT m_textFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    bool m_created = false; // the object deletes itself only after a successful Create
};

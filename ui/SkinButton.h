// The owner-drawn push button of every panel, host and skinned dialog: a state-coloured
// background, a skin bitmap drawn through GDI+ at an opacity, a caption, optional border and
// focus marks; hover tracking; and on a click a sound, a check state, a popup menu or a web
// address.
//
// The rule it keeps: the button owns every image, menu and cursor it was given and frees each
// once; a hover change shows at the next repaint, never at once; the parent always gets the
// click notification too; nothing is played or opened but through the program's sound and
// open-URL seams.
#pragma once
#include "fw/fwwin.h"

// Results of the setters.
enum SkinButtonResult : DWORD {
    kSkinOk = 0,
    kSkinImageUnmeasured = 1, // a bitmap's size could not be read: every image released
    kSkinMaskFailed = 2,      // a bitmap's mask could not be made: every image released
    kSkinBadSlot = 3,         // a colour slot of 6 or more
    kSkinBadAlign = 4,        // an alignment other than 0 to 3
    kSkinLoadFailed = 1,      // a cursor or menu resource did not load
};

// Colour slots. Drawing uses the three backgrounds and always the normal caption; the other
// two captions are kept for GetColor only.
enum SkinButtonSlot : BYTE {
    kSlotHoverBack = 0,
    kSlotHoverText = 1,
    kSlotNormalBack = 2,
    kSlotNormalText = 3,
    kSlotFocusBack = 4,
    kSlotFocusText = 5,
    kSkinSlots = 6,
};

// Placement of image and caption.
enum SkinButtonAlign : BYTE {
    kAlignImageLeft = 0,  // the image left of the caption
    kAlignImageAbove = 1, // the image above the caption (every panel button)
    kAlignImageRight = 2, // the image right of the caption
    kAlignOverlap = 3,    // the caption over the whole button, the image at its top-left corner
};

class CSkinButton : public CButton
{
public:
    CSkinButton();
    ~CSkinButton() override;

    DWORD SetColor(int slot, COLORREF colour, BOOL repaint = TRUE);
    DWORD GetColor(int slot, COLORREF* colour) const;
    // Backgrounds to the system's button face, captions to its button text.
    DWORD SetDefaultColors(BOOL repaint = TRUE);
    DWORD SetAlign(int align, BOOL repaint = TRUE);

    // Bitmaps from the program's resources: the hover/pressed one and, when its id is not 0,
    // the normal one. When the first does not load the button keeps no bitmap (result 0).
    DWORD SetBitmaps(UINT hoverId, COLORREF hoverTransparent, UINT normalId = 0, COLORREF normalTransparent = 0);
    // The same with handles, which the button then owns.
    DWORD SetBitmaps(HBITMAP hover, COLORREF hoverTransparent, HBITMAP normal, COLORREF normalTransparent);
    DWORD SetIcon(UINT hoverId, UINT normalId = 0);
    DWORD SetIcon(HICON hover, HICON normal);

    DWORD SetFlat(BOOL flat, BOOL repaint = TRUE);
    DWORD SetDrawOption(BOOL drawBorder, BOOL repaint = TRUE);
    DWORD SetDrawOption2(BOOL flatFocus, BOOL repaint = TRUE);
    DWORD SetAlwaysTrack(BOOL always);
    // Only in check-box mode.
    DWORD SetCheck(int check, BOOL repaint = TRUE);
    int GetCheck() const { return m_nCheck; }
    BOOL GetDefault() const { return m_bDefault; }
    DWORD SetOpacity(int percent);
    DWORD DrawTransparent(BOOL repaint = FALSE);
    // 0 clears the cursor; kSkinLoadFailed when the resource does not load.
    DWORD SetBtnCursor(UINT cursorId, BOOL repaint = FALSE);
    // The web address opened by a click (null or empty: none). Kept whole, whatever its length.
    DWORD SetURL(LPCTSTR url);
    CString GetURL() const { return m_url; }
    // The menu whose first submenu drops down at the button's bottom-left corner on a click;
    // its commands go to `owner`. 0 removes it.
    DWORD SetMenu(UINT menuId, HWND owner, BOOL repaint = TRUE);
    // The sound played at the button's first click (empty: none).
    DWORD SetSoundName(const CString& name);

    BOOL IsHovering() const { return m_bHover; }
    BOOL IsCheckBox() const { return m_bCheckBox; }

    // Where image and caption go in `item` for an image of `image` size: pure placement,
    // signed, so that an image larger than the button is centred on it (and clipped when drawn).
    static void PlaceImage(int align, const CRect& item, CSize image, bool hasCaption, bool shiftPressed,
                           CRect& imageRect, CRect& captionRect);

    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual DWORD OnDrawBackground(CDC* dc, CRect* rect);
    virtual DWORD OnDrawBorder(CDC* dc, CRect* rect);

    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, CPoint point);
    void OnMouseLeave();
    void OnSysColorChange();
    void OnEnable(BOOL enable);
    void OnKillFocus(CWnd* newWnd);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnCancelMode();
    UINT OnGetDlgCode();
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    BOOL OnClicked();
    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    void EndHover();
    void FreeImages();
    void Repaint(BOOL repaint);
    void DrawImage(CDC* dc, const CRect& item, CRect& caption, bool hasCaption);

    struct Icon
    {
        HICON handle = nullptr;
        int width = 0;
        int height = 0;
    };
    struct Bitmap
    {
        HBITMAP handle = nullptr;
        int width = 0;
        int height = 0;
        HBITMAP mask = nullptr;
        COLORREF transparent = 0;
    };

    CFont m_font;
    BOOL m_bFlat = TRUE;
    BOOL m_bHover = FALSE;
    BOOL m_bTransparent = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL m_bFocused = FALSE;
    BOOL m_bDisabled = FALSE;
    BOOL m_bDefault = FALSE;
    BOOL m_bCheckBox = FALSE;
    BYTE m_nAlign = kAlignImageLeft;
    BOOL m_bDrawBorder = FALSE;
    BOOL m_bFlatFocus = FALSE;
    COLORREF m_colors[kSkinSlots];
    HMENU m_hMenu = nullptr;
    HWND m_hMenuOwner = nullptr;
    BOOL m_bMenuShown = FALSE;
    HCURSOR m_hCursor = nullptr;
    BYTE m_bSoundDone = 0;
    CString m_soundName;
    BOOL m_bAlwaysTrack = FALSE;
    int m_nCheck = 0;
    int m_nOriginalStyle = 0x1F;
    CString m_url;
    Icon m_icons[2];     // 0: hover and pressed, 1: normal
    Bitmap m_bitmaps[2]; // 0: hover and pressed, 1: normal
    int m_nOpacity = 100;
};

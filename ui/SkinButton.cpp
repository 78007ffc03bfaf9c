#include "ui/SkinButton.h"

#include "base/Globals.h"
#include "base/OpenUrl.h"
#include "base/Sound.h"
#include "ui/Skin.h"

#include <memory>

namespace {

// Half a difference, rounded down also when it is negative (an image larger than its room).
int HalfDown(int difference) { return difference >= 0 ? difference / 2 : -((1 - difference) / 2); }

bool IsCheckBoxType(int type)
{
    type &= BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

// A monochrome mask of the bitmap: 1 where it has the transparent colour.
HBITMAP MakeMask(HBITMAP bitmap, int width, int height, COLORREF transparent)
{
    HBITMAP mask = ::CreateBitmap(width, height, 1, 1, nullptr);
    if (mask == nullptr)
        return nullptr;
    HDC source = ::CreateCompatibleDC(nullptr);
    HDC target = ::CreateCompatibleDC(nullptr);
    bool done = false;
    if (source != nullptr && target != nullptr) {
        CSelectGuard from(source, bitmap);
        CSelectGuard to(target, mask);
        ::SetBkColor(source, transparent);
        done = from.Selected() && to.Selected() && ::BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
    }
    if (source != nullptr)
        ::DeleteDC(source);
    if (target != nullptr)
        ::DeleteDC(target);
    if (!done) {
        ::DeleteObject(mask);
        return nullptr;
    }
    return mask;
}

} // namespace

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_ENABLE()
    ON_WM_KILLFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_CANCELMODE()
    ON_WM_GETDLGCODE()
    ON_MESSAGE(BM_SETSTYLE, &CSkinButton::OnSetStyle)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CSkinButton::OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CSkinButton::CSkinButton()
{
    m_font.CreateFont(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
    m_colors[kSlotHoverBack] = ::GetSysColor(COLOR_BTNFACE);
    m_colors[kSlotHoverText] = kSkinWhite;
    m_colors[kSlotNormalBack] = ::GetSysColor(COLOR_BTNFACE);
    m_colors[kSlotNormalText] = kSkinWhite;
    m_colors[kSlotFocusBack] = ::GetSysColor(COLOR_BTNFACE);
    m_colors[kSlotFocusText] = ::GetSysColor(COLOR_BTNTEXT);
}

CSkinButton::~CSkinButton()
{
    FreeImages();
    if (m_hCursor != nullptr)
        ::DestroyCursor(m_hCursor);
    if (m_hMenu != nullptr)
        ::DestroyMenu(m_hMenu);
}

void CSkinButton::Repaint(BOOL repaint)
{
    if (repaint && m_hWnd != nullptr)
        Invalidate();
}

DWORD CSkinButton::SetColor(int slot, COLORREF colour, BOOL repaint)
{
    const BYTE index = (BYTE)slot; // only the low byte counts
    if (index >= kSkinSlots)
        return kSkinBadSlot;
    m_colors[index] = colour;
    Repaint(repaint);
    return kSkinOk;
}

DWORD CSkinButton::GetColor(int slot, COLORREF* colour) const
{
    const BYTE index = (BYTE)slot;
    if (index >= kSkinSlots)
        return kSkinBadSlot;
    if (colour != nullptr)
        *colour = m_colors[index];
    return kSkinOk;
}

DWORD CSkinButton::SetDefaultColors(BOOL repaint)
{
    m_colors[kSlotHoverBack] = m_colors[kSlotNormalBack] = m_colors[kSlotFocusBack] = ::GetSysColor(COLOR_BTNFACE);
    m_colors[kSlotHoverText] = m_colors[kSlotNormalText] = m_colors[kSlotFocusText] = ::GetSysColor(COLOR_BTNTEXT);
    Repaint(repaint);
    return kSkinOk;
}

DWORD CSkinButton::SetAlign(int align, BOOL repaint)
{
    if (align < kAlignImageLeft || align > kAlignOverlap)
        return kSkinBadAlign;
    m_nAlign = (BYTE)align;
    Repaint(repaint);
    return kSkinOk;
}

void CSkinButton::FreeImages()
{
    for (Icon& icon : m_icons) {
        if (icon.handle != nullptr)
            ::DestroyIcon(icon.handle);
        icon = Icon();
    }
    for (Bitmap& bitmap : m_bitmaps) {
        if (bitmap.handle != nullptr)
            ::DeleteObject(bitmap.handle);
        if (bitmap.mask != nullptr)
            ::DeleteObject(bitmap.mask);
        bitmap = Bitmap();
    }
}

DWORD CSkinButton::SetBitmaps(UINT hoverId, COLORREF hoverTransparent, UINT normalId, COLORREF normalTransparent)
{
    HINSTANCE module = FwGetResourceHandle();
    auto load = [module](UINT id) {
        return id == 0 ? nullptr
                       : (HBITMAP)::LoadImage(module, MAKEINTRESOURCE(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    };
    HBITMAP hover = load(hoverId);
    // Without the first the button keeps no bitmap: the second is not even loaded.
    HBITMAP normal = hover != nullptr ? load(normalId) : nullptr;
    return SetBitmaps(hover, hoverTransparent, normal, normalTransparent);
}

DWORD CSkinButton::SetBitmaps(HBITMAP hover, COLORREF hoverTransparent, HBITMAP normal, COLORREF normalTransparent)
{
    FreeImages();
    if (hover == nullptr) {
        if (normal != nullptr) // given to the button, which keeps nothing without the first
            ::DeleteObject(normal);
        Repaint(TRUE);
        return kSkinOk;
    }
    m_bitmaps[0].handle = hover;
    m_bitmaps[0].transparent = hoverTransparent;
    m_bitmaps[1].handle = normal;
    m_bitmaps[1].transparent = normalTransparent;
    for (Bitmap& b : m_bitmaps) {
        if (b.handle == nullptr)
            continue;
        BITMAP info = {};
        if (::GetObject(b.handle, sizeof info, &info) == 0) {
            FreeImages();
            return kSkinImageUnmeasured;
        }
        b.width = info.bmWidth;
        b.height = info.bmHeight;
        b.mask = MakeMask(b.handle, b.width, b.height, b.transparent);
        if (b.mask == nullptr) {
            FreeImages();
            return kSkinMaskFailed;
        }
    }
    Repaint(TRUE);
    return kSkinOk;
}

DWORD CSkinButton::SetIcon(UINT hoverId, UINT normalId)
{
    HINSTANCE module = FwGetResourceHandle();
    auto load = [module](UINT id) {
        return id == 0 ? nullptr : (HICON)::LoadImage(module, MAKEINTRESOURCE(id), IMAGE_ICON, 0, 0, 0);
    };
    HICON hover = load(hoverId);
    HICON normal = hover != nullptr ? load(normalId) : nullptr;
    return SetIcon(hover, normal);
}

DWORD CSkinButton::SetIcon(HICON hover, HICON normal)
{
    FreeImages();
    if (hover == nullptr) {
        if (normal != nullptr)
            ::DestroyIcon(normal);
        Repaint(TRUE);
        return kSkinOk;
    }
    m_icons[0].handle = hover;
    m_icons[1].handle = normal;
    for (Icon& icon : m_icons) {
        if (icon.handle == nullptr)
            continue;
        ICONINFO info = {};
        BITMAP bm = {};
        const BOOL known = ::GetIconInfo(icon.handle, &info);
        const BOOL measured =
            known && ::GetObject(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bm, &bm) != 0;
        if (info.hbmColor != nullptr)
            ::DeleteObject(info.hbmColor);
        if (info.hbmMask != nullptr)
            ::DeleteObject(info.hbmMask);
        if (!measured) {
            FreeImages();
            return kSkinImageUnmeasured;
        }
        icon.width = bm.bmWidth;
        icon.height = info.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2;
    }
    Repaint(TRUE);
    return kSkinOk;
}

DWORD CSkinButton::SetFlat(BOOL flat, BOOL repaint)
{
    m_bFlat = flat;
    Repaint(repaint);
    return kSkinOk;
}

DWORD CSkinButton::SetDrawOption(BOOL drawBorder, BOOL repaint)
{
    m_bDrawBorder = drawBorder;
    Repaint(repaint);
    return kSkinOk;
}

DWORD CSkinButton::SetDrawOption2(BOOL flatFocus, BOOL repaint)
{
    m_bFlatFocus = flatFocus;
    Repaint(repaint);
    return kSkinOk;
}

DWORD CSkinButton::SetAlwaysTrack(BOOL always)
{
    m_bAlwaysTrack = always;
    return kSkinOk;
}

DWORD CSkinButton::SetCheck(int check, BOOL repaint)
{
    if (m_bCheckBox) {
        m_nCheck = check;
        Repaint(repaint);
    }
    return kSkinOk;
}

DWORD CSkinButton::SetOpacity(int percent)
{
    m_nOpacity = percent;
    return kSkinOk;
}

DWORD CSkinButton::DrawTransparent(BOOL repaint)
{
    m_bTransparent = TRUE;
    Repaint(repaint);
    return kSkinOk;
}

DWORD CSkinButton::SetBtnCursor(UINT cursorId, BOOL repaint)
{
    if (m_hCursor != nullptr)
        ::DestroyCursor(m_hCursor);
    m_hCursor = nullptr;
    if (cursorId != 0) {
        m_hCursor = (HCURSOR)::LoadImage(FwGetResourceHandle(), MAKEINTRESOURCE(cursorId), IMAGE_CURSOR, 0, 0, 0);
        if (m_hCursor == nullptr)
            return kSkinLoadFailed;
    }
    Repaint(repaint);
    return kSkinOk;
}

DWORD CSkinButton::SetURL(LPCTSTR url)
{
    m_url = url != nullptr ? url : "";
    return kSkinOk;
}

DWORD CSkinButton::SetMenu(UINT menuId, HWND owner, BOOL repaint)
{
    if (m_hMenu != nullptr)
        ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    m_hMenuOwner = owner;
    if (menuId != 0) {
        m_hMenu = ::LoadMenu(FwGetResourceHandle(), MAKEINTRESOURCE(menuId));
        if (m_hMenu == nullptr)
            return kSkinLoadFailed;
    }
    Repaint(repaint);
    return kSkinOk;
}

DWORD CSkinButton::SetSoundName(const CString& name)
{
    m_soundName = name;
    return kSkinOk;
}

// ---- the window -------------------------------------------------------------------------

void CSkinButton::PreSubclassWindow()
{
    int type = (int)(GetStyle() & 0x1F);
    m_bCheckBox = IsCheckBoxType(type);
    if ((type & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        m_bDefault = TRUE;
        type = (type & ~BS_TYPEMASK) | BS_PUSHBUTTON;
    }
    m_nOriginalStyle = type;
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

LRESULT CSkinButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The button control answers a double click on an owner-drawn button with
    // BN_DOUBLECLICKED; here it is a second press, so a double click is two clicks.
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

BOOL CSkinButton::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (m_hCursor != nullptr) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(wnd, hitTest, message);
}

void CSkinButton::EndHover()
{
    if (m_bFlat)
        m_bHover = FALSE;
}

void CSkinButton::OnMouseMove(UINT flags, CPoint point)
{
    CButton::OnMouseMove(flags, point);
    if ((flags & MK_LBUTTON) && !m_bHover)
        return;
    if (!m_bFlat)
        return;
    POINT screen = point;
    ClientToScreen(&screen);
    if (::WindowFromPoint(screen) == m_hWnd && (m_bAlwaysTrack || ::GetActiveWindow() != nullptr)) {
        if (!m_bHover) {
            m_bHover = TRUE;
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, HOVER_DEFAULT};
            ::TrackMouseEvent(&tme);
        }
        return;
    }
    EndHover();
}

void CSkinButton::OnMouseLeave()
{
    CButton::OnMouseLeave();
    EndHover();
}

void CSkinButton::OnSysColorChange() { CButton::OnSysColorChange(); }

void CSkinButton::OnEnable(BOOL enable)
{
    CButton::OnEnable(enable);
    if (enable)
        return;
    // A disabled button cannot keep the focus: it goes to the next tab item after it.
    if (CWnd* parent = GetParent()) {
        HWND next = ::GetNextDlgTabItem(parent->m_hWnd, m_hWnd, FALSE);
        if (next != nullptr && next != m_hWnd)
            ::SetFocus(next);
        else
            parent->SetFocus();
    }
    EndHover();
}

void CSkinButton::OnKillFocus(CWnd* newWnd)
{
    CButton::OnKillFocus(newWnd);
    EndHover();
}

void CSkinButton::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CButton::OnActivate(state, other, minimized);
    if (state == WA_INACTIVE)
        EndHover();
}

void CSkinButton::OnCancelMode()
{
    CButton::OnCancelMode();
    EndHover();
}

UINT CSkinButton::OnGetDlgCode()
{
    UINT code = CButton::OnGetDlgCode();
    code |= m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return code;
}

LRESULT CSkinButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    const UINT type = (UINT)wParam & BS_TYPEMASK;
    if (type == BS_DEFPUSHBUTTON)
        m_bDefault = TRUE;
    else if (type == BS_PUSHBUTTON)
        m_bDefault = FALSE;
    return DefWindowProc(BM_SETSTYLE, ((UINT)wParam & ~(UINT)BS_TYPEMASK) | BS_OWNERDRAW, lParam);
}

BOOL CSkinButton::OnClicked()
{
    if (!m_bSoundDone) {
        if (!m_soundName.IsEmpty())
            PlayAppSound(m_soundName);
        m_bSoundDone = 1;
    }
    if (m_bCheckBox) {
        m_nCheck = !m_nCheck;
        Invalidate();
    } else if (m_hMenu != nullptr) {
        CRect window;
        GetWindowRect(&window);
        HWND owner = m_hMenuOwner != nullptr ? m_hMenuOwner : ::GetParent(m_hWnd);
        m_bMenuShown = TRUE;
        Invalidate();
        ::TrackPopupMenuEx(::GetSubMenu(m_hMenu, 0), 0, window.left, window.bottom, owner, nullptr);
        m_bMenuShown = FALSE;
        Invalidate();
    } else if (!m_url.IsEmpty()) {
        OpenUrl(m_url, SW_SHOWMAXIMIZED);
    }
    return FALSE; // the parent gets the click too
}

HBRUSH CSkinButton::CtlColor(CDC*, UINT) { return (HBRUSH)::GetStockObject(NULL_BRUSH); }

// ---- drawing ----------------------------------------------------------------------------

void CSkinButton::PlaceImage(int align, const CRect& item, CSize image, bool hasCaption, bool shiftPressed,
                             CRect& imageRect, CRect& captionRect)
{
    const int w = image.cx, h = image.cy;
    imageRect = item;
    captionRect = item;
    switch (align) {
    case kAlignImageLeft:
        if (hasCaption) {
            imageRect.left += 3;
            captionRect.left += w + 3;
        } else {
            imageRect.left += HalfDown(imageRect.Width() - w);
        }
        imageRect.top += HalfDown(imageRect.Height() - h);
        break;
    case kAlignImageAbove:
        imageRect.left += HalfDown(imageRect.Width() - w);
        if (hasCaption) {
            imageRect.top = 3;
            captionRect.top += h;
        } else {
            imageRect.top += HalfDown(imageRect.Height() - h);
        }
        break;
    case kAlignImageRight:
        if (hasCaption) {
            captionRect.right = captionRect.Width() - w - 3;
            captionRect.left = 3;
            imageRect.left = item.right - w - 3;
        } else {
            imageRect.left += HalfDown(imageRect.Width() - w);
        }
        imageRect.top += HalfDown(imageRect.Height() - h);
        break;
    default: // overlap: the caption over everything, the image at the top-left corner
        break;
    }
    if (shiftPressed)
        imageRect.OffsetRect(1, 1);
    imageRect.right = imageRect.left + w;
    imageRect.bottom = imageRect.top + h;
}

DWORD CSkinButton::OnDrawBackground(CDC* dc, CRect* rect)
{
    COLORREF colour = m_colors[kSlotNormalBack];
    if (m_bHover || m_bPressed)
        colour = m_colors[kSlotHoverBack];
    else if (m_bFocused)
        colour = m_colors[kSlotFocusBack];
    CBrush brush(colour);
    dc->FillRect(rect, &brush);
    return kSkinOk;
}

DWORD CSkinButton::OnDrawBorder(CDC* dc, CRect* rect)
{
    const COLORREF colour = m_bPressed ? kSkinBorderPressed : kSkinBorderNormal;
    dc->Draw3dRect(rect, colour, colour);
    return kSkinOk;
}

void CSkinButton::DrawImage(CDC* dc, const CRect& item, CRect& caption, bool hasCaption)
{
    // Hover and pressed show the first image; otherwise the second when there is one.
    // In check-box mode the check takes the place of the hover.
    const bool first = m_bCheckBox ? (m_nCheck || m_bPressed) : (m_bPressed || m_bHover);
    const int icons = m_icons[1].handle != nullptr && !first ? 1 : 0;
    const int bitmaps = m_bitmaps[1].handle != nullptr && !first ? 1 : 0;
    const bool shift = m_bPressed && !m_bCheckBox;
    CRect image;
    if (m_icons[icons].handle != nullptr) {
        const Icon& icon = m_icons[icons];
        PlaceImage(m_nAlign, item, CSize(icon.width, icon.height), hasCaption, shift, image, caption);
        ::DrawState(dc->m_hDC, nullptr, nullptr, (LPARAM)icon.handle, 0, image.left, image.top, icon.width, icon.height,
                    DST_ICON | (m_bDisabled ? DSS_DISABLED : DSS_NORMAL));
    }
    if (m_bitmaps[bitmaps].handle != nullptr) {
        const Bitmap& b = m_bitmaps[bitmaps];
        PlaceImage(m_nAlign, item, CSize(b.width, b.height), hasCaption, shift, image, caption);
        Gdiplus::Graphics graphics(dc->m_hDC);
        // An image larger than the button stays inside it.
        graphics.SetClip(Gdiplus::Rect(item.left, item.top, item.Width(), item.Height()));
        std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromHBITMAP(b.handle, nullptr));
        Gdiplus::ImageAttributes attributes;
        SetOpacityMatrix(&attributes, m_bDisabled ? 25 : m_nOpacity);
        if (picture && picture->GetLastStatus() == Gdiplus::Ok)
            graphics.DrawImage(picture.get(), Gdiplus::Rect(image.left, image.top, b.width, b.height), 0, 0, b.width,
                               b.height, Gdiplus::UnitPixel, &attributes);
    }
}

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    CDC* dc = CDC::FromHandle(item->hDC);
    CSelectGuard font(item->hDC, m_font.GetSafeHandle());
    const BOOL selected = (item->itemState & ODS_SELECTED) != 0;
    m_bPressed = m_bCheckBox ? (selected || m_nCheck) : (selected || m_bMenuShown);
    m_bFocused = (item->itemState & ODS_FOCUS) != 0;
    m_bDisabled = (item->itemState & ODS_DISABLED) != 0;

    CRect r(item->rcItem);
    if (m_bTransparent)
        dc->SetBkMode(TRANSPARENT);
    if (!m_bFlat && (m_bFocused || m_bDefault)) {
        CBrush black(kSkinBlack);
        dc->FrameRect(r, &black);
        r.DeflateRect(1, 1);
    }
    if (!m_bTransparent)
        OnDrawBackground(dc, &r);

    CString caption;
    if (m_hWnd != nullptr)
        GetWindowText(caption);
    CRect c(item->rcItem);
    DrawImage(dc, CRect(item->rcItem), c, !caption.IsEmpty());
    if (m_bDrawBorder)
        OnDrawBorder(dc, &r);
    if (!caption.IsEmpty()) {
        if (m_bPressed && !m_bCheckBox)
            c.OffsetRect(1, 1);
        c.OffsetRect(0, 1);
        if (!m_bDisabled) {
            dc->SetTextColor(m_colors[kSlotNormalText]);
            dc->SetBkMode(TRANSPARENT);
            dc->DrawText(caption, c, DT_CENTER | DT_VCENTER);
        }
    }
    if ((!m_bFlat || m_bFlatFocus) && m_bFocused) {
        CRect focus = r;
        focus.DeflateRect(3, 3);
        dc->DrawFocusRect(focus);
    }
}

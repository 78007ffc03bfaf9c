#include "ui/XScrollBar.h"

#include "base/Globals.h"
#include "fw/fwcursor.h"
#include "fw/fwselect.h"
#include "model/gfx/RgbHlsColor.h"
#include "res/ui_res.h"
#include "ui/Skin.h"

#include <gdiplus.h>
#include <functional>
#include <memory>
#include <vector>

namespace {

// The marks the thumb bitmaps carry where the bar puts its own colours.
const COLORREF kMarkBody = RGB(0, 0, 1);
const COLORREF kMarkGrip = RGB(0, 0, 2);
const COLORREF kMarkFirstEnd = RGB(0, 0, 3);
const COLORREF kMarkLastEnd = RGB(0, 0, 4);

// Luminances of the gauge shades: the strip's first pixel, its second, the rest.
const float kShadeLuminance[3] = {0.92f, 0.87f, 0.8f};

// A bitmap resource selected into a DC of its own for one drawing step.
class LoadedBitmap
{
public:
    LoadedBitmap(CDC* compatible, UINT id)
    {
        if (m_bitmap.LoadBitmap(id) && m_dc.CreateCompatibleDC(compatible)) {
            m_bitmap.GetBitmap(&m_info);
            m_select.reset(new CSelectGuard(m_dc.GetSafeHdc(), m_bitmap.GetSafeHandle()));
        }
    }
    bool Ok() const { return m_select && m_select->Selected(); }
    int Width() const { return m_info.bmWidth; }
    int Height() const { return m_info.bmHeight; }
    // The bitmap's pixels as 0x00RRGGBB words, rows top-down, handed to `edit` and
    // written back (the bitmap is taken out of its DC meanwhile, as GDI asks).
    void Edit(const std::function<void(std::vector<DWORD>&)>& edit)
    {
        if (!Ok())
            return;
        m_select.reset();
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = Width();
        bi.bmiHeader.biHeight = -Height();
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        std::vector<DWORD> pixels((size_t)Width() * Height());
        HBITMAP bitmap = (HBITMAP)m_bitmap.GetSafeHandle();
        if (::GetDIBits(m_dc.GetSafeHdc(), bitmap, 0, Height(), pixels.data(), &bi, DIB_RGB_COLORS) == Height()) {
            edit(pixels);
            ::SetDIBits(m_dc.GetSafeHdc(), bitmap, 0, Height(), pixels.data(), &bi, DIB_RGB_COLORS);
        }
        m_select.reset(new CSelectGuard(m_dc.GetSafeHdc(), bitmap));
    }
    // Stretched into `r` of `target`.
    void StretchTo(CDC* target, const CRect& r)
    {
        if (Ok() && r.Width() > 0 && r.Height() > 0)
            target->StretchBlt(r.left, r.top, r.Width(), r.Height(), &m_dc, 0, 0, Width(), Height(), SRCCOPY);
    }

private:
    // Declared in this order so that the selection is undone before the DC and bitmap go.
    CBitmap m_bitmap;
    CDC m_dc;
    BITMAP m_info = {};
    std::unique_ptr<CSelectGuard> m_select;
};

COLORREF FromWord(DWORD w) { return RGB((w >> 16) & 0xFF, (w >> 8) & 0xFF, w & 0xFF); }
DWORD ToWord(COLORREF c) { return ((DWORD)GetRValue(c) << 16) | ((DWORD)GetGValue(c) << 8) | GetBValue(c); }

} // namespace

// --- CScrollBarMemDC ----------------------------------------------------------------------

CScrollBarMemDC::CScrollBarMemDC(CDC* target, const CRect& rect, bool enabled)
    : m_pTarget(target), m_rect(rect), m_bEnabled(enabled ? 1 : 0)
{
    CreateCompatibleDC(target);
    m_pBitmap = new CBitmap;
    m_pBitmap->CreateCompatibleBitmap(target, rect.Width(), rect.Height());
    m_hOldBitmap = ::SelectObject(GetSafeHdc(), m_pBitmap->GetSafeHandle());
    ::SetWindowOrgEx(GetSafeHdc(), rect.left, rect.top, nullptr);
    // Stretched skin pieces keep their own colours (no AND of dropped rows).
    ::SetStretchBltMode(GetSafeHdc(), COLORONCOLOR);
}

CScrollBarMemDC::~CScrollBarMemDC()
{
    const int w = m_rect.Width(), h = m_rect.Height();
    if (m_bEnabled) {
        ::BitBlt(m_pTarget->GetSafeHdc(), m_rect.left, m_rect.top, w, h, GetSafeHdc(), m_rect.left, m_rect.top,
                 SRCCOPY);
    } else {
        // A disabled bar fades into the panel it stands on.
        m_pTarget->FillSolidRect(&m_rect, kSkinBlue);
        ::SelectObject(GetSafeHdc(), m_hOldBitmap);
        m_hOldBitmap = nullptr;
        Gdiplus::Bitmap image((HBITMAP)m_pBitmap->GetSafeHandle(), nullptr);
        Gdiplus::Graphics graphics(m_pTarget->GetSafeHdc());
        Gdiplus::ImageAttributes attributes;
        SetOpacityMatrix(&attributes, 25);
        graphics.DrawImage(&image, Gdiplus::Rect(m_rect.left, m_rect.top, w, h), 0, 0, w, h, Gdiplus::UnitPixel,
                           &attributes);
    }
    if (m_hOldBitmap != nullptr)
        ::SelectObject(GetSafeHdc(), m_hOldBitmap);
    delete m_pBitmap;
}

// --- CXScrollBar: set-up and the public calls ---------------------------------------------

BEGIN_MESSAGE_MAP(CXScrollBar, CStatic)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEWHEEL()
    ON_WM_ENABLE()
END_MESSAGE_MAP()

CXScrollBar::CXScrollBar() : m_crThumbHover(kSkinScrollThumbHover) {}

CXScrollBar::~CXScrollBar()
{
    if (m_hHand != nullptr && m_bHandCopied)
        ::DestroyCursor(m_hHand);
}

HCURSOR CXScrollBar::FindHandCursor(HINSTANCE program, bool* copied) { return FwFindHandCursor(program, copied); }

BOOL CXScrollBar::CreateFromStatic(DWORD style, CWnd* parent, UINT staticId, UINT newId)
{
    m_pParent = parent;
    HWND placeholder = parent != nullptr ? ::GetDlgItem(parent->GetSafeHwnd(), (int)staticId) : nullptr;
    if (placeholder == nullptr)
        return FALSE;
    CRect r;
    ::GetWindowRect(placeholder, &r);
    parent->ScreenToClient(&r);
    ::ShowWindow(placeholder, SW_HIDE);
    if (m_hHand == nullptr) {
        bool copied = false;
        m_hHand = FindHandCursor(AfxGetResourceHandle(), &copied);
        m_bHandCopied = copied;
    }
    m_bHorizontal = (style & 1) == 0;
    const BOOL created = CStatic::Create("", style, r, parent, newId);
    if (created) {
        CBitmap thumb;
        if (thumb.LoadBitmap(m_bHorizontal ? IDB_SCROLL_THUMB_H_COLOURED : IDB_SCROLL_THUMB_V_COLOURED)) {
            BITMAP info = {};
            thumb.GetBitmap(&info);
            m_nBitmapWidth = info.bmWidth;
            m_nBitmapHeight = info.bmHeight;
        }
        GetClientRect(&m_rectClient);
    }
    return created;
}

void CXScrollBar::SetScrollRange(int minimum, int maximum, BOOL redraw)
{
    m_nMinPos = minimum;
    m_nMaxPos = maximum;
    m_nRange = maximum > minimum ? maximum - minimum : minimum - maximum;
    if (redraw && m_hWnd != nullptr)
        Invalidate(TRUE);
}

void CXScrollBar::GetScrollRange(int* minimum, int* maximum) const
{
    *minimum = m_nMinPos;
    *maximum = m_nMaxPos;
}

int CXScrollBar::SetScrollPos(int position, BOOL redraw)
{
    const int old = m_nPos;
    m_nPos = position;
    UpdateThumbPosition();
    if (redraw && m_hWnd != nullptr)
        Invalidate(TRUE);
    return old;
}

void CXScrollBar::SetThumbColour(COLORREF colour)
{
    m_crThumb = colour;
    m_bThumbColour = TRUE;
}

void CXScrollBar::SetGreyMarks(BOOL on) { m_bGreyMarks = on; }

// --- Geometry -----------------------------------------------------------------------------

int CXScrollBar::ThumbFromPosition(int position, int minimum, int range, int length, int thumb)
{
    const int room = length - 3 * thumb;
    if (range == 0 || room <= 0)
        return thumb;
    return thumb + (int)((double)(position - minimum) * ((double)room / range) + 0.5);
}

int CXScrollBar::PositionFromThumb(int thumbStart, int minimum, int maximum, int range, int length, int thumb)
{
    const int room = length - 3 * thumb;
    if (range == 0 || room <= 0)
        return minimum;
    const int position = minimum + (int)((double)(thumbStart - thumb) * ((double)range / room) + 0.5);
    const int low = minimum < maximum ? minimum : maximum;
    const int high = minimum < maximum ? maximum : minimum;
    return position < low ? low : (position > high ? high : position);
}

int CXScrollBar::Length() const { return m_bHorizontal ? m_rectClient.Width() : m_rectClient.Height(); }

CRect CXScrollBar::FirstArrowRect() const
{
    const CRect& c = m_rectClient;
    return m_bHorizontal ? CRect(c.left, c.top, c.left + m_nBitmapWidth, c.bottom)
                         : CRect(c.left, c.top, c.right, c.top + m_nBitmapHeight);
}

CRect CXScrollBar::LastArrowRect() const
{
    const CRect& c = m_rectClient;
    return m_bHorizontal ? CRect(c.right - m_nBitmapWidth, c.top, c.right, c.bottom)
                         : CRect(c.left, c.bottom - m_nBitmapHeight, c.right, c.bottom);
}

CRect CXScrollBar::CurrentThumbRect() const
{
    const CRect& c = m_rectClient;
    return m_bHorizontal ? CRect(c.left + m_nThumbLeft, c.top, c.left + m_nThumbLeft + m_nBitmapWidth, c.bottom)
                         : CRect(c.left, c.top + m_nThumbTop, c.right, c.top + m_nThumbTop + m_nBitmapHeight);
}

void CXScrollBar::LimitThumbPosition()
{
    const int thumb = ThumbSize();
    const int length = Length();
    int& start = m_bHorizontal ? m_nThumbLeft : m_nThumbTop;
    const int origin = m_bHorizontal ? m_rectClient.left : m_rectClient.top;
    if (start + thumb > length - thumb)
        start = length - 2 * thumb;
    if (start < origin + thumb)
        start = origin + thumb;
}

void CXScrollBar::UpdateThumbPosition()
{
    const int start = ThumbFromPosition(m_nPos, m_nMinPos, m_nRange, Length(), ThumbSize());
    (m_bHorizontal ? m_nThumbLeft : m_nThumbTop) = start;
    LimitThumbPosition();
    Draw();
}

void CXScrollBar::PositionFromThumb()
{
    LimitThumbPosition();
    m_nPos = PositionFromThumb(m_bHorizontal ? m_nThumbLeft : m_nThumbTop, m_nMinPos, m_nMaxPos, m_nRange, Length(),
                               ThumbSize());
}

// --- Messages to the parent and steps ------------------------------------------------------

void CXScrollBar::Send(UINT message, int code, int position)
{
    if (m_pParent == nullptr || !::IsWindow(m_pParent->GetSafeHwnd()))
        return;
    ::SendMessage(m_pParent->GetSafeHwnd(), message, MAKEWPARAM(code, (WORD)position), (LPARAM)m_hWnd);
}

void CXScrollBar::StepBack(BOOL vertical)
{
    if (m_nPos > m_nMinPos)
        --m_nPos;
    Send(vertical ? WM_VSCROLL : WM_HSCROLL, vertical ? SB_LINEUP : SB_LINELEFT, 0);
    UpdateThumbPosition();
}

void CXScrollBar::StepForward(BOOL vertical)
{
    if (m_nPos < m_nMaxPos)
        ++m_nPos;
    Send(vertical ? WM_VSCROLL : WM_HSCROLL, vertical ? SB_LINEDOWN : SB_LINERIGHT, 0);
    UpdateThumbPosition();
}

// --- Drawing ------------------------------------------------------------------------------

void CXScrollBar::Draw()
{
    if (m_hWnd == nullptr || m_rectClient.left < 0)
        return;
    if (m_bHorizontal)
        DrawHorizontal();
    else
        DrawVertical();
}

void CXScrollBar::TintStrip(std::vector<DWORD>& strip)
{
    CRgbHlsColor base(m_crThumb);
    const float hue = base.GetHue();
    const float saturation = base.GetSaturation() / 2;
    DWORD shade[3];
    for (int i = 0; i < 3; ++i) {
        CRgbHlsColor c;
        c.SetHls(hue, kShadeLuminance[i], saturation);
        shade[i] = ToWord(c.GetColorRef());
    }
    // A horizontal strip is one column, a vertical one one row: either way in order.
    for (size_t i = 0; i < strip.size(); ++i)
        strip[i] = shade[i < 2 ? i : 2];
}

void CXScrollBar::RecolourThumb(std::vector<DWORD>& bits, int width, int height, CDC* target)
{
    const CRect& c = m_rectClient;
    const COLORREF body = m_bThumbHover ? m_crThumbHover : m_crThumb;
    COLORREF before = CLR_INVALID;
    // Column by column, each top to bottom: a grip pixel without grey takes the colour of
    // the pixel visited before it, as that pixel is finally drawn.
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            DWORD& word = bits[(size_t)y * width + x];
            const COLORREF read = FromWord(word);
            COLORREF now = read;
            if (read == kMarkBody) {
                if (m_bThumbColour)
                    now = body;
            } else if (read == kMarkGrip) {
                if (m_bGreyMarks)
                    now = kSkinScrollGrip;
                else if (before != CLR_INVALID)
                    now = before;
            } else if (read == kMarkFirstEnd || read == kMarkLastEnd) {
                const bool first = read == kMarkFirstEnd;
                if (m_bHorizontal) {
                    const int row = c.top + y * c.Height() / height;
                    now = target->GetPixel(first ? c.left + m_nBitmapWidth : c.right - m_nBitmapWidth - 1, row);
                } else {
                    const int column = c.left + x * c.Width() / width;
                    now = target->GetPixel(column, first ? c.top + m_nBitmapHeight : c.bottom - m_nBitmapHeight - 1);
                }
                if (now == CLR_INVALID)
                    now = read;
            }
            word = ToWord(now);
            before = now;
        }
    }
}

void CXScrollBar::DrawHorizontal()
{
    CClientDC client(this);
    const CRect c = m_rectClient;
    CScrollBarMemDC dc(&client, c, IsWindowEnabled() != FALSE);
    CBrush frame;
    frame.CreateSolidBrush(kSkinScrollFrame);
    const int w = m_nBitmapWidth;

    // The arrows and the channel are drawn one pixel down and one shorter: the frame
    // closes them at the top.
    auto below = [](CRect r) { return CRect(r.left, r.top + 1, r.right, r.bottom); };
    const CRect first = FirstArrowRect(), last = LastArrowRect();
    LoadedBitmap(&dc, IDB_SCROLL_LEFT).StretchTo(&dc, below(first));
    dc.FrameRect(&first, &frame);

    const CRect thumb = CurrentThumbRect();
    const int middle = thumb.left + w / 2;
    LoadedBitmap strip(&dc, IDB_SCROLL_CHANNEL_H);
    strip.StretchTo(&dc, below(CRect(middle, c.top, c.right - w, c.bottom)));
    if (m_bChannelColour && m_bThumbColour)
        strip.Edit([this](std::vector<DWORD>& px) { TintStrip(px); });
    strip.StretchTo(&dc, below(CRect(c.left + w, c.top, middle, c.bottom)));

    LoadedBitmap(&dc, IDB_SCROLL_RIGHT).StretchTo(&dc, below(last));
    dc.FrameRect(&last, &frame);

    if (m_nRange != 0) {
        LoadedBitmap bits(&dc, m_bThumbColour ? IDB_SCROLL_THUMB_H_COLOURED : IDB_SCROLL_THUMB_H);
        bits.Edit([&](std::vector<DWORD>& px) { RecolourThumb(px, bits.Width(), bits.Height(), &dc); });
        bits.StretchTo(&dc, thumb);
        m_rectThumb = thumb;
    } else {
        m_rectThumb.SetRect(-1, -1, -1, -1);
    }
    dc.FrameRect(&c, &frame);
}

void CXScrollBar::DrawVertical()
{
    CClientDC client(this);
    const CRect c = m_rectClient;
    CScrollBarMemDC dc(&client, c, IsWindowEnabled() != FALSE);
    CBrush frame;
    frame.CreateSolidBrush(kSkinScrollFrame);
    const int h = m_nBitmapHeight;

    const CRect first = FirstArrowRect(), last = LastArrowRect();
    LoadedBitmap(&dc, IDB_SCROLL_UP).StretchTo(&dc, first);
    dc.FrameRect(&first, &frame);

    const CRect thumb = CurrentThumbRect();
    const int middle = thumb.top + h / 2;
    LoadedBitmap strip(&dc, IDB_SCROLL_CHANNEL_V);
    strip.StretchTo(&dc, CRect(c.left + 1, middle, c.right, c.bottom - h));
    if (m_bChannelColour && m_bThumbColour)
        strip.Edit([this](std::vector<DWORD>& px) { TintStrip(px); });
    strip.StretchTo(&dc, CRect(c.left, c.top + h, c.right, middle));

    LoadedBitmap(&dc, IDB_SCROLL_DOWN).StretchTo(&dc, last);
    dc.FrameRect(&last, &frame);

    if (m_nRange != 0) {
        LoadedBitmap bits(&dc, m_bThumbColour ? IDB_SCROLL_THUMB_V_COLOURED : IDB_SCROLL_THUMB_V);
        bits.Edit([&](std::vector<DWORD>& px) { RecolourThumb(px, bits.Width(), bits.Height(), &dc); });
        bits.StretchTo(&dc, thumb);
        m_rectThumb = thumb;
    } else {
        m_rectThumb.SetRect(-1, -1, -1, -1);
    }
    dc.FrameRect(&c, &frame);
}

// --- Message handlers ---------------------------------------------------------------------

void CXScrollBar::OnPaint()
{
    CPaintDC paint(this);
    Draw();
}

void CXScrollBar::OnEnable(BOOL)
{
    Default();
    Invalidate(TRUE);
}

void CXScrollBar::OnLButtonDown(UINT, CPoint point)
{
    SetCapture();
    if (CurrentThumbRect().PtInRect(point)) {
        m_bThumbPressed = TRUE;
    } else if (LastArrowRect().PtInRect(point)) {
        (m_bHorizontal ? m_bRightArrowDown : m_bDownArrowDown) = TRUE;
        SetTimer(kDelayTimer, 150);
    } else if (FirstArrowRect().PtInRect(point)) {
        (m_bHorizontal ? m_bLeftArrowDown : m_bUpArrowDown) = TRUE;
        SetTimer(kDelayTimer, 150);
    } else {
        // A click in the channel: the thumb's middle jumps under the pointer.
        if (m_bHorizontal)
            m_nThumbLeft = point.x - m_nBitmapWidth / 2;
        else
            m_nThumbTop = point.y - m_nBitmapHeight / 2;
        PositionFromThumb();
        Draw();
        Send(m_bHorizontal ? WM_HSCROLL : WM_VSCROLL, SB_THUMBTRACK, m_nPos);
    }
    Default();
}

void CXScrollBar::OnLButtonUp(UINT, CPoint point)
{
    UpdateThumbPosition();
    KillTimer(kRepeatTimer);
    if (GetCapture() == this)
        ::ReleaseCapture();
    // An arrow steps only on the release of its own press: a button pressed elsewhere (on a
    // window that went away meanwhile) and released over the bar changes nothing.
    const BOOL firstPressed = m_bHorizontal ? m_bLeftArrowDown : m_bUpArrowDown;
    const BOOL lastPressed = m_bHorizontal ? m_bRightArrowDown : m_bDownArrowDown;
    if (FirstArrowRect().PtInRect(point)) {
        if (firstPressed)
            StepBack(!m_bHorizontal);
    } else if (LastArrowRect().PtInRect(point)) {
        if (lastPressed)
            StepForward(!m_bHorizontal);
    } else if (CurrentThumbRect().PtInRect(point)) {
        m_bThumbHover = TRUE;
        Invalidate(TRUE);
        SetTimer(kHoverTimer, 50);
    }
    if (m_bHorizontal)
        m_bLeftArrowDown = m_bRightArrowDown = FALSE;
    else
        m_bUpArrowDown = m_bDownArrowDown = FALSE;
    m_bThumbPressed = m_bDragging = FALSE;
    Default();
}

void CXScrollBar::OnMouseMove(UINT, CPoint point)
{
    SetFocus();
    const BOOL wasHover = m_bThumbHover;
    m_bThumbHover = m_rectThumb.PtInRect(point);
    if (m_bThumbPressed)
        m_bDragging = TRUE;
    if (m_bDragging) {
        if (m_bHorizontal)
            m_nThumbLeft = point.x - m_nBitmapWidth / 2;
        else
            m_nThumbTop = point.y - m_nBitmapHeight / 2;
        PositionFromThumb();
        Send(m_bHorizontal ? WM_HSCROLL : WM_VSCROLL, SB_THUMBTRACK, m_nPos);
        Draw();
    }
    if (wasHover != m_bThumbHover) {
        Invalidate(TRUE);
        SetTimer(kHoverTimer, 50);
    }
    Default();
}

void CXScrollBar::OnTimer(UINT_PTR id)
{
    if (id == kDelayTimer) {
        KillTimer(kDelayTimer);
        if (m_bLeftArrowDown || m_bRightArrowDown || m_bUpArrowDown || m_bDownArrowDown)
            SetTimer(kRepeatTimer, 100);
    } else if (id == kRepeatTimer) {
        if (m_bLeftArrowDown)
            StepBack(FALSE);
        if (m_bRightArrowDown)
            StepForward(FALSE);
        if (m_bUpArrowDown)
            StepBack(TRUE);
        if (m_bDownArrowDown)
            StepForward(TRUE);
    } else if (id == kHoverTimer) {
        CPoint p;
        ::GetCursorPos(&p);
        ScreenToClient(&p);
        if (!m_rectThumb.PtInRect(p)) {
            m_bThumbHover = FALSE;
            KillTimer(kHoverTimer);
            ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
            Invalidate(TRUE);
        }
    }
    Default();
}

BOOL CXScrollBar::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(m_bThumbHover && m_hHand != nullptr ? m_hHand : ::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}

BOOL CXScrollBar::OnMouseWheel(UINT, short delta, CPoint)
{
    if (delta > 0)
        StepBack(FALSE);
    else
        StepForward(FALSE);
    return (BOOL)Default();
}

BOOL CXScrollBar::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)) {
        if (msg->wParam == VK_LEFT)
            StepBack(FALSE);
        else
            StepForward(FALSE);
        return TRUE;
    }
    return CStatic::PreTranslateMessage(msg);
}

#include "app/view/RulerWnd.h"
#include <algorithm>
#include <climits>
#include <new>

namespace {

const COLORREF kLight = RGB(0xE6, 0xE6, 0xE6);
const COLORREF kDark = RGB(0x64, 0x64, 0x64);

HFONT MakeScaleFont(HDC dc, int escapement)
{
    LOGFONT lf = {};
    lf.lfHeight = -MulDiv(7, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(lf.lfFaceName, "Arial");
    return ::CreateFontIndirect(&lf);
}

// Pixel of a position without overflow for far-off limits such as 0x0FFFFFFF.
int ClampedPixel(double pixel)
{
    if (pixel > INT_MAX / 2)
        return INT_MAX / 2;
    if (pixel < INT_MIN / 2)
        return INT_MIN / 2;
    return (int)pixel;
}

} // namespace

// ---- CRulerMemDC ----

CRulerMemDC::CRulerMemDC(CDC* target) : m_pTarget(target), m_hBitmap(NULL), m_bMemory(FALSE)
{
    ::GetClipBox(target->m_hDC, &m_rectClip);
    if (!target->IsPrinting()) {
        HDC mem = ::CreateCompatibleDC(target->m_hDC);
        if (mem != NULL)
            m_hBitmap = ::CreateCompatibleBitmap(target->m_hDC, m_rectClip.Width(), m_rectClip.Height());
        if (mem != NULL && m_hBitmap != NULL) {
            m_hDC = m_hAttribDC = mem;
            m_bMemory = TRUE;
            m_bitmapSelection.emplace(mem, m_hBitmap);
            ::SetWindowOrgEx(mem, m_rectClip.left, m_rectClip.top, NULL);
            HBRUSH window = ::GetSysColorBrush(COLOR_WINDOW);
            ::FillRect(mem, &m_rectClip, window);
            return;
        }
        if (mem != NULL)
            ::DeleteDC(mem);
    }
    m_hDC = target->m_hDC;
    m_hAttribDC = target->m_hAttribDC;
    m_bPrinting = target->m_bPrinting;
}

CRulerMemDC::~CRulerMemDC()
{
    if (m_bMemory) {
        ::BitBlt(m_pTarget->m_hDC, m_rectClip.left, m_rectClip.top, m_rectClip.Width(), m_rectClip.Height(), m_hDC,
                 m_rectClip.left, m_rectClip.top, SRCCOPY);
        m_bitmapSelection.reset();
        ::DeleteDC(m_hDC);
        ::DeleteObject(m_hBitmap);
    }
    m_hDC = NULL;
    m_hAttribDC = NULL;
}

// ---- CRulerWnd ----

BEGIN_MESSAGE_MAP(CRulerWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CRulerWnd::CRulerWnd()
    : m_dwStyle(RWS_VERTICAL | RWS_SCALE_NEAR), m_crBack(RGB(0xFF, 0xFF, 0xC0)), m_crTick(0), m_crText(0),
      m_nStartOffset(20), m_nScaleLength(500), m_nMinPosition(0), m_fTickSpacing(4.0f), m_nHalfWidth(10),
      m_nScrollOffset(0), m_bButtonDown(0), m_bDragging(0), m_nDragId(-1), m_nDragStart(-1), m_nGuide(-1),
      m_nTotalLength(0), m_nVisibleLength(0), m_pNotifyWnd(NULL), m_notification()
{
    if (!RegisterWindowClass())
        AfxThrowResourceException();
    RemoveAllMarkers();
}

CRulerWnd::~CRulerWnd()
{
    RemoveAllMarkers();
    if (m_hWnd != NULL)
        DestroyWindow();
    WNDCLASS wc;
    HINSTANCE inst = AfxGetInstanceHandle();
    if (::GetClassInfo(inst, RULER_WND_CLASS, &wc))
        ::UnregisterClass(RULER_WND_CLASS, inst); // refused while other rulers live
}

BOOL CRulerWnd::RegisterWindowClass()
{
    WNDCLASS wc;
    HINSTANCE inst = AfxGetInstanceHandle();
    if (::GetClassInfo(inst, RULER_WND_CLASS, &wc))
        return TRUE;
    wc = WNDCLASS();
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = inst;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = RULER_WND_CLASS;
    return AfxRegisterClass(&wc);
}

BOOL CRulerWnd::Create(DWORD, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(RULER_WND_CLASS, NULL, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

int CRulerWnd::AddMarker(int position, int id, int lowest, int highest, int flags, int spare, COLORREF outline,
                         COLORREF fill)
{
    RulerMarker* m = new (std::nothrow) RulerMarker();
    if (m == NULL)
        return -1;
    m->position = position;
    m->flags = flags;
    m->id = id;
    m->outline = outline;
    m->fill = fill;
    m->lowest = lowest;
    m->highest = highest;
    m->spare = spare;
    return (int)m_markers.Add(m);
}

RulerMarker* CRulerWnd::GetMarker(int id)
{
    for (int i = 0; i < (int)m_markers.GetSize(); ++i) {
        RulerMarker* m = static_cast<RulerMarker*>(m_markers[i]);
        if (m != NULL && m->id == id)
            return m;
    }
    return NULL;
}

int CRulerWnd::RemoveMarker(int id)
{
    for (int i = 0; i < (int)m_markers.GetSize(); ++i) {
        RulerMarker* m = static_cast<RulerMarker*>(m_markers[i]);
        if (m != NULL && m->id == id) {
            delete m;
            m_markers.RemoveAt(i);
            return i;
        }
    }
    return -1;
}

int CRulerWnd::RemoveAllMarkers()
{
    for (int i = 0; i < (int)m_markers.GetSize(); ++i)
        delete static_cast<RulerMarker*>(m_markers[i]);
    m_markers.RemoveAll();
    return 0;
}

int CRulerWnd::PositionToPixel(int position) const { return Pixel(position) - m_nScrollOffset; }

void CRulerWnd::UpdateScale()
{
    CRect client;
    if (m_hWnd != NULL)
        GetClientRect(&client);
    m_nVisibleLength = IsVertical() ? client.Height() : client.Width();
    m_nTotalLength = (int)(2 * m_nStartOffset + m_nScaleLength * m_fTickSpacing);
}

int CRulerWnd::PositionFromPoint(CPoint point) const
{
    int d = (IsVertical() ? point.y : point.x) - m_nStartOffset + m_nScrollOffset;
    float q = d / m_fTickSpacing;
    int n = (int)q;
    if (q - n >= 0.5f)
        ++n;
    if (n < m_nMinPosition)
        n = m_nMinPosition;
    if (n > m_nScaleLength)
        n = m_nScaleLength;
    return n;
}

int CRulerWnd::HitTestMarker(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    BOOL vertical = IsVertical();
    int nearEdge = vertical ? client.top : client.left;
    int farEdge = vertical ? client.bottom : client.right;
    for (int i = 0; i < (int)m_markers.GetSize(); ++i) {
        const RulerMarker* m = static_cast<const RulerMarker*>(m_markers[i]);
        if (m == NULL || (m->flags & 1))
            continue;
        int p = PositionToPixel(m->position);
        int lo = p - m_nHalfWidth, hi = p + m_nHalfWidth;
        if (hi < nearEdge || lo > farEdge)
            continue;
        CRect r;
        int span = 2 * m_nHalfWidth + 2;
        if (!vertical) {
            if (ScaleFar())
                r.SetRect(lo, client.bottom - span, hi, client.bottom - 2);
            else
                r.SetRect(lo, client.top, hi, client.bottom);
        } else {
            if (ScaleFar())
                r.SetRect(client.right - span, lo, client.right - 2, hi);
            else
                r.SetRect(client.left + 2, lo, client.left + span, hi);
        }
        if (r.PtInRect(point) && m->position >= 0 && m->position <= m_nScaleLength)
            return m->id;
    }
    return -1;
}

LRESULT CRulerWnd::NotifyParent(int action, int id, int newPosition, int previousPosition, int a, int b)
{
    m_notification.hwndFrom = m_hWnd;
    m_notification.idFrom = (UINT_PTR)GetDlgCtrlID();
    m_notification.code = RULER_NOTIFY_CODE;
    m_notification.action = action;
    m_notification.style = m_dwStyle;
    m_notification.markerId = id;
    m_notification.newPosition = newPosition;
    m_notification.previousPosition = previousPosition;
    m_notification.value1 = a;
    m_notification.value2 = b;
    HWND target = NULL;
    if (m_pNotifyWnd != NULL && ::IsWindow(m_pNotifyWnd->GetSafeHwnd()))
        target = m_pNotifyWnd->GetSafeHwnd();
    else if (m_hWnd != NULL)
        target = ::GetParent(m_hWnd);
    if (target == NULL || !::IsWindow(target))
        return -1;
    return ::SendMessage(target, WM_NOTIFY, m_notification.idFrom, (LPARAM)&m_notification);
}

// ---- painting ----

BOOL CRulerWnd::OnEraseBkgnd(CDC* dc)
{
    CRulerMemDC mem(dc);
    CRect client;
    GetClientRect(&client);
    mem.FillSolidRect(&client, m_crBack);
    if (m_dwStyle & RWS_RAISED)
        mem.Draw3dRect(&client, kLight, kDark);
    else if (m_dwStyle & RWS_SUNKEN)
        mem.Draw3dRect(&client, kDark, kLight);
    if (IsVertical())
        DrawVertical(&mem, client);
    else
        DrawHorizontal(&mem, client);
    return TRUE;
}

void CRulerWnd::DrawHorizontal(CDC* dc, const CRect& client)
{
    HDC hdc = dc->m_hDC;
    CSelectGuard pen(hdc, ::CreatePen(PS_SOLID, 1, m_crTick), true);
    CSelectGuard font(hdc, MakeScaleFont(hdc, 0), true);
    ::SetTextColor(hdc, m_crText);
    ::SetBkMode(hdc, TRANSPARENT);

    for (int i = 0; i < (int)m_markers.GetSize(); ++i) {
        const RulerMarker* m = static_cast<const RulerMarker*>(m_markers[i]);
        int x = m != NULL ? Pixel(m->position) : 0;
        if (m != NULL && x >= client.left - m_nHalfWidth && x <= client.right + m_nHalfWidth)
            DrawMarker(dc, client, *m);
    }
    BOOL bottom = ScaleFar();
    for (int i = 0; i <= m_nScaleLength; ++i) {
        int counter = i % 10;
        int x = Pixel(i);
        if (x < client.left)
            continue;
        if (x > client.right)
            break;
        int len = counter == 0 ? 9 : counter == 5 ? 6 : 4;
        if (bottom) {
            ::MoveToEx(hdc, x, client.bottom - len, NULL);
            ::LineTo(hdc, x, client.bottom - 2);
        } else {
            ::MoveToEx(hdc, x, client.top + 2, NULL);
            ::LineTo(hdc, x, client.top + len);
        }
        if (counter == 0) {
            char text[16];
            wsprintfA(text, "%ld", (long)(i / 10));
            CRect r(x - 20, bottom ? client.bottom - 22 : client.top + 12, x + 22,
                    bottom ? client.bottom - 12 : client.top + 22);
            ::DrawTextA(hdc, text, -1, &r, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
        }
    }
}

void CRulerWnd::DrawVertical(CDC* dc, const CRect& client)
{
    HDC hdc = dc->m_hDC;
    BOOL right = ScaleFar();
    CSelectGuard pen(hdc, ::CreatePen(PS_SOLID, 1, m_crTick), true);
    CSelectGuard font(hdc, MakeScaleFont(hdc, right ? 900 : -900), true);
    ::SetTextColor(hdc, m_crText);
    ::SetBkMode(hdc, TRANSPARENT);
    UINT oldAlign = ::SetTextAlign(hdc, TA_CENTER | TA_TOP);

    for (int i = 0; i < (int)m_markers.GetSize(); ++i) {
        const RulerMarker* m = static_cast<const RulerMarker*>(m_markers[i]);
        int y = m != NULL ? Pixel(m->position) : 0;
        if (m != NULL && y >= client.top - m_nHalfWidth && y <= client.bottom + m_nHalfWidth)
            DrawMarker(dc, client, *m);
    }
    for (int i = 0; i <= m_nScaleLength; ++i) {
        int counter = i % 10;
        int y = Pixel(i);
        if (y < client.top)
            continue;
        if (y > client.bottom)
            break;
        int len = counter == 0 ? 9 : counter == 5 ? 6 : 4;
        if (right) {
            ::MoveToEx(hdc, client.right - len, y, NULL);
            ::LineTo(hdc, client.right - 2, y);
        } else {
            ::MoveToEx(hdc, client.left + 2, y, NULL);
            ::LineTo(hdc, client.left + len, y);
        }
        if (counter == 0) {
            char text[16];
            wsprintfA(text, "%ld", (long)(i / 10));
            int tx = right ? client.right - 23 : client.left + 23;
            int ty = right ? y + 3 : y - 2;
            ::TextOutA(hdc, tx, ty, text, lstrlenA(text));
        }
    }
    ::SetTextAlign(hdc, oldAlign);
}

void CRulerWnd::DrawMarker(CDC* dc, const CRect& client, const RulerMarker& m)
{
    if (m.position < 0 || m.position > m_nScaleLength)
        return;
    HDC hdc = dc->m_hDC;
    CSelectGuard pen(hdc, ::CreatePen(PS_SOLID, 1, m.outline), true);
    CSelectGuard brush(hdc, ::CreateSolidBrush(m.fill), true);
    int p = PositionToPixel(m.position);
    POINT tri[3];
    POINT seed;
    if (!IsVertical()) {
        int l = p - m_nHalfWidth - 4, r = p + m_nHalfWidth + 4;
        if (ScaleFar()) {
            tri[0] = {l + 2, client.top + 2};
            tri[1] = {r - 2, client.top + 2};
            tri[2] = {p, client.bottom - 3};
            seed = {l + 8, client.top + 4};
        } else {
            tri[0] = {r - 2, client.bottom - 2};
            tri[1] = {l + 2, client.bottom - 2};
            tri[2] = {p, client.top + 3};
            seed = {l + 8, client.bottom - 4};
        }
    } else {
        int t = p - m_nHalfWidth - 2, b = p + m_nHalfWidth + 2;
        if (ScaleFar()) {
            tri[0] = {client.left + 2, t + 2};
            tri[1] = {client.left + 2, b - 2};
            tri[2] = {client.right - 2, p};
            seed = {client.left + 4, b - 8};
        } else {
            tri[0] = {client.right - 2, t + 2};
            tri[1] = {client.right - 2, b - 2};
            tri[2] = {client.left + 2, p};
            seed = {client.right - 4, b - 8};
        }
    }
    ::Polygon(hdc, tri, 3);
    ::FloodFill(hdc, seed.x, seed.y, m.outline);
}

void CRulerWnd::DrawGuide(int position)
{
    CRect client;
    GetClientRect(&client);
    int p = PositionToPixel(position);
    HDC dc = ::GetDC(m_hWnd);
    if (IsVertical())
        ::PatBlt(dc, client.left, p, client.Width(), 1, DSTINVERT);
    else
        ::PatBlt(dc, p, client.top, 1, client.Height(), DSTINVERT);
    ::ReleaseDC(m_hWnd, dc);
}

// ---- mouse, wheel, keys ----

void CRulerWnd::ConfineCursor()
{
    const RulerMarker* m = GetMarker(m_nDragId);
    int lowest = m != NULL ? m->lowest : 0;
    int highest = m != NULL ? m->highest : 0x0FFFFFFF;
    CRect r;
    GetClientRect(&r);
    int lo = ClampedPixel(m_nStartOffset + (double)lowest * m_fTickSpacing) - m_nScrollOffset;
    int hi = ClampedPixel(m_nStartOffset + (double)highest * m_fTickSpacing) - m_nScrollOffset;
    int scaleStart = PositionToPixel(0);
    int scaleEnd = PositionToPixel(m_nScaleLength);
    if (IsVertical()) {
        r.top = std::max({(int)r.top, scaleStart, lo});
        r.bottom = std::min({(int)r.bottom, scaleEnd, hi});
    } else {
        r.left = std::max({(int)r.left, scaleStart, lo});
        r.right = std::min({(int)r.right, scaleEnd, hi});
    }
    ClientToScreen(&r);
    ::ClipCursor(&r);
}

void CRulerWnd::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    m_bButtonDown = 1;
    m_nDragId = HitTestMarker(point);
    if (m_nDragId != -1) {
        const RulerMarker* m = GetMarker(m_nDragId);
        m_nDragStart = m != NULL ? m->position : -1;
    }
}

void CRulerWnd::OnMouseMove(UINT, CPoint point)
{
    SetFocus();
    if (m_bButtonDown && !m_bDragging && m_nDragId != -1) {
        m_bDragging = 1;
        ConfineCursor();
        m_nGuide = -1;
    }
    if (!m_bDragging)
        return;
    int pos = PositionFromPoint(point);
    if (pos == m_nGuide)
        return;
    if (m_nGuide != -1)
        DrawGuide(m_nGuide);
    NotifyParent(RULER_DRAGGING, m_nDragId, pos, m_nDragStart, 0, 0);
    DrawGuide(pos);
    m_nGuide = pos;
}

void CRulerWnd::OnLButtonUp(UINT, CPoint point)
{
    ::ClipCursor(NULL);
    if (m_bDragging) {
        int pos = PositionFromPoint(point);
        RulerMarker* m = GetMarker(m_nDragId);
        if (pos >= 0 && m != NULL && m->position != pos) {
            NotifyParent(RULER_MOVED, m->id, pos, m->position, 0, 0);
            m = GetMarker(m_nDragId); // the parent may have replaced the markers
            if (m != NULL)
                m->position = pos;
        }
        InvalidateRect(NULL, TRUE);
    }
    m_bButtonDown = 0;
    m_bDragging = 0;
    m_nDragId = -1;
    m_nDragStart = -1;
    m_nGuide = -1;
}

void CRulerWnd::MoveMarkerBy(RulerMarker* m, int newPosition)
{
    m->position = newPosition;
    NotifyParent(RULER_MOVED, m->id, newPosition, newPosition, 0, 0);
    InvalidateRect(NULL, TRUE);
}

BOOL CRulerWnd::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    RulerMarker* m = GetMarker(0);
    if (m == NULL)
        return FALSE;
    float half = m_nVisibleLength / 2.0f;
    float at = m->position * m_fTickSpacing;
    // At a limit the wheel does nothing rather than move the marker the other way.
    if (delta > 0 && m->position > m_nMinPosition) {
        if (half > at && m_nScrollOffset > 0)
            m_nScrollOffset = (int)(m_nScrollOffset - m_fTickSpacing);
        MoveMarkerBy(m, m->position - 1);
    } else if (delta < 0 && m->position < m_nScaleLength) {
        if (half < at && m_nVisibleLength + m_nScrollOffset < m_nTotalLength)
            m_nScrollOffset = (int)(m_nScrollOffset + m_fTickSpacing);
        MoveMarkerBy(m, m->position + 1);
    }
    return CWnd::OnMouseWheel(flags, delta, point);
}

BOOL CRulerWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        RulerMarker* m = GetMarker(0);
        if (m != NULL) {
            int pos = m->position;
            switch (msg->wParam) {
            case VK_HOME:
                MoveMarkerBy(m, m_nMinPosition);
                return TRUE;
            case VK_END:
                MoveMarkerBy(m, m_nScaleLength);
                return TRUE;
            case VK_PRIOR:
                if (pos > m_nMinPosition + 10) {
                    MoveMarkerBy(m, pos - 10);
                    return TRUE;
                }
                break;
            case VK_NEXT:
                if (pos < m_nScaleLength - 10) {
                    MoveMarkerBy(m, pos + 10);
                    return TRUE;
                }
                break;
            case VK_LEFT:
            case VK_DOWN:
                if (pos > m_nMinPosition)
                    MoveMarkerBy(m, pos - 1);
                return TRUE;
            case VK_RIGHT:
            case VK_UP:
                if (pos < m_nScaleLength)
                    MoveMarkerBy(m, pos + 1);
                return TRUE;
            default:
                break;
            }
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

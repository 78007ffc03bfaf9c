#include "app/view/ObjectTracker.h"
#include "base/Globals.h"
#include <cmath>

namespace {

HCURSOR g_trackerCursors[OT_CURSOR_SLOTS];

const float kPi = 3.14159265358979f;

BOOL KeyDown(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

CPoint Mid(CPoint a, CPoint b) { return CPoint((a.x + b.x) / 2, (a.y + b.y) / 2); }

CPoint HandleOf(const CPoint* poly, int h)
{
    switch (h) {
    case 0:
        return poly[0];
    case 1:
        return Mid(poly[0], poly[1]);
    case 2:
        return poly[1];
    case 3:
        return Mid(poly[1], poly[2]);
    case 4:
        return poly[2];
    case 5:
        return Mid(poly[2], poly[3]);
    case 6:
        return poly[3];
    case 7:
        return Mid(poly[3], poly[0]);
    default:
        return poly[4];
    }
}

// A pen for one drawing step, owned by the guard that selects it.
HPEN MakePen(COLORREF colour, BOOL dotted)
{
    if (dotted) {
        LOGBRUSH lb = {BS_SOLID, colour, 0};
        return ::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, NULL);
    }
    return ::CreatePen(PS_SOLID, 1, colour);
}

} // namespace

BOOL SetTrackerCursor(int slot, UINT resourceId, HINSTANCE module)
{
    if (slot < 0 || slot >= OT_CURSOR_SLOTS)
        return FALSE;
    HCURSOR cursor = NULL;
    if (resourceId != 0)
        cursor = ::LoadCursor(module != NULL ? module : ::GetModuleHandle(NULL), MAKEINTRESOURCE(resourceId));
    g_trackerCursors[slot] = cursor;
    return cursor != NULL;
}

CObjectTracker::CObjectTracker(CWnd* owner)
    : CTracker(owner), m_nStyle(0xA1), m_crFrame(0xC0C0C0), m_crHandle(0), m_crPivot(0), m_crOutline(0), m_crPath(0),
      m_bActive(FALSE), m_bPanning(FALSE), m_bFlipped(FALSE), m_bAlternate(FALSE), m_bMoveOnly(FALSE), m_nMode(OT_IDLE),
      m_nHit(-1), m_pPath(NULL), m_startAngle(0), m_nHandleSize(8), m_nFrameMargin(4), m_nOutlineMargin(4),
      m_translation(0, 0), m_scale(1, 1), m_rotation(0), m_nAnchorHandle(-1), m_limitWidth(0), m_limitHeight(0),
      m_hLabelFont(NULL)
{
    m_hLabelFont = ::CreateFont(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FF_SWISS, "Arial");
}

CObjectTracker::~CObjectTracker()
{
    delete m_pPath;
    if (m_hLabelFont != NULL)
        ::DeleteObject(m_hLabelFont);
}

CPoint CObjectTracker::GetHandlePoint(int handle) const { return HandleOf(m_base, handle); }

void CObjectTracker::SetPath(const Gdiplus::GraphicsPath* path, BOOL centrePivot, CDC* dc)
{
    delete m_pPath;
    m_pPath = NULL;
    m_pathPoints.clear();
    m_pathTypes.clear();
    m_movedPoints.clear();
    if (path == NULL)
        return;
    m_pPath = path->Clone();
    int count = m_pPath != NULL ? m_pPath->GetPointCount() : 0;
    if (count > 0) {
        m_pathPoints.resize(count);
        m_pathTypes.resize(count);
        if (m_pPath->GetPathPoints(m_pathPoints.data(), count) != Gdiplus::Ok ||
            m_pPath->GetPathTypes(m_pathTypes.data(), count) != Gdiplus::Ok) {
            delete m_pPath;
            m_pPath = NULL;
            m_pathPoints.clear();
            m_pathTypes.clear();
            return;
        }
        m_movedPoints = m_pathPoints;
    }
    Gdiplus::RectF b;
    if (m_pPath != NULL)
        m_pPath->GetBounds(&b);
    int l = (int)b.X, t = (int)b.Y;
    SetRect(CRect(l, t, l + (int)b.Width, t + (int)b.Height), centrePivot, dc);
}

void CObjectTracker::SetRect(const CRect& rect, BOOL centrePivot, CDC* dc)
{
    if (dc != NULL)
        DrawSizeLabel(dc); // exclusive-or: removes the handles drawn before
    m_rectObject = rect;
    m_rectObject.NormalizeRect();
    m_bActive = !m_rectObject.IsRectEmpty();
    if (m_bActive) {
        m_rectObject.InflateRect(m_nFrameMargin, m_nFrameMargin);
        RebuildPolygon(centrePivot);
    }
    if (dc != NULL)
        DrawSizeLabel(dc);
}

void CObjectTracker::RebuildPolygon(BOOL centrePivot)
{
    CRect r = m_rectObject;
    r.InflateRect(m_nOutlineMargin, m_nOutlineMargin);
    m_base[0] = CPoint(r.left, r.top);
    m_base[1] = CPoint(r.right, r.top);
    m_base[2] = CPoint(r.right, r.bottom);
    m_base[3] = CPoint(r.left, r.bottom);
    m_base[4] = centrePivot ? m_rectObject.CenterPoint() : m_moved[4];
    for (int i = 0; i < 5; ++i)
        m_moved[i] = m_base[i];
    m_movedPoints = m_pathPoints;
}

void CObjectTracker::SetLimits(const CRect& designRect, float widthInches, float heightInches)
{
    m_rectLimits = designRect;
    m_limitWidth = widthInches;
    m_limitHeight = heightInches;
}

int CObjectTracker::HitTestHandles(CPoint point) const
{
    if (!m_bActive)
        return -1;
    int half = m_nHandleSize / 2;
    int hit = -1;
    for (int h = 0; h <= OT_HANDLE_BODY && hit < 0; ++h) {
        CRect r;
        if (h == OT_HANDLE_BODY) {
            r = m_rectObject;
        } else {
            CPoint p = HandleOf(m_base, h);
            r.SetRect(p.x - half, p.y - half, p.x + half, p.y + half);
        }
        if (r.PtInRect(point))
            hit = h;
    }
    if (hit == OT_HANDLE_PIVOT && !(m_nStyle & OT_PIVOT_HANDLE))
        hit = OT_HANDLE_BODY;
    if (hit == OT_HANDLE_BODY && m_pPath != NULL &&
        !m_pPath->IsVisible(Gdiplus::PointF((float)point.x, (float)point.y)))
        hit = -1;
    return hit;
}

void CObjectTracker::DrawSizeLabel(CDC* dc)
{
    if (!m_bActive || dc == NULL)
        return;
    int old = ::SetROP2(dc->m_hDC, R2_NOTXORPEN);
    DrawHandles(dc);
    if (m_nStyle & OT_ALT_PIVOT)
        DrawPivotMarker(dc->m_hDC, m_moved[4], FALSE);
    ::SetROP2(dc->m_hDC, old);
}

void CObjectTracker::DrawHandles(CDC* dc)
{
    if (dc == NULL)
        return;
    HDC hdc = dc->m_hDC;
    {
        CSelectGuard hollow(hdc, ::GetStockObject(HOLLOW_BRUSH));
        CSelectGuard pen(hdc, MakePen(m_crFrame, (m_nStyle & OT_DOTTED_FRAME) != 0), true);
        ::Rectangle(hdc, m_rectObject.left, m_rectObject.top, m_rectObject.right, m_rectObject.bottom);
    }
    if (!m_bMoveOnly) {
        // Rectangle honours the drawing mode for outline and fill alike.
        CSelectGuard brush(hdc, ::CreateSolidBrush(m_crHandle), true);
        CSelectGuard pen(hdc, MakePen(m_crHandle, FALSE), true);
        int half = m_nHandleSize / 2;
        for (int h = 0; h < 8; ++h) {
            CPoint p = HandleOf(m_base, h);
            ::Rectangle(hdc, p.x - half, p.y - half, p.x + half, p.y + half);
        }
    }
    DrawReadout(hdc);
}

BOOL CObjectTracker::GetReadout(CString& position, CString& width, CString& height) const
{
    if (m_limitWidth <= 0 || m_rectLimits.Width() <= 0)
        return FALSE;                              // no scale to measure with
    float p = m_rectLimits.Width() / m_limitWidth; // pixels per inch
    // The object itself: the handle frame stands the frame and outline margins outside it.
    const int margin = m_nFrameMargin + m_nOutlineMargin;
    CPoint corner = HandleOf(m_base, 0) + CSize(margin, margin);
    int widthPx = HandleOf(m_base, 2).x - HandleOf(m_base, 0).x - 2 * margin;
    int heightPx = HandleOf(m_base, 6).y - HandleOf(m_base, 0).y - 2 * margin;
    float x = (corner.x - m_rectLimits.left) / p;
    float y = (corner.y - m_rectLimits.top) / p;
    if (IsMetric()) {
        position.Format("%dmm x %dmm", (int)(x * 25.4f), (int)(y * 25.4f));
        width.Format("%dmm", (int)(widthPx / p * 25.4f));
        height.Format("%dmm", (int)(heightPx / p * 25.4f));
    } else {
        position.Format("%0.2f\" x %0.2f\"", x, y);
        width.Format("%0.2f\"", widthPx / p);
        height.Format("%0.2f\"", heightPx / p);
    }
    return TRUE;
}

void CObjectTracker::DrawReadout(HDC dc) const
{
    CString position, width, height;
    if (!GetReadout(position, width, height))
        return;
    int half = m_nHandleSize / 2;
    CPoint corner = HandleOf(m_base, 0) - CSize(half, half);
    CSelectGuard font(dc, m_hLabelFont);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    UINT oldAlign = ::SetTextAlign(dc, TA_LEFT | TA_TOP);
    ::TextOutA(dc, corner.x + 5, corner.y - 15, position, position.GetLength());
    ::SetTextAlign(dc, TA_CENTER | TA_TOP);
    CPoint c5 = HandleOf(m_base, 5);
    ::TextOutA(dc, c5.x, c5.y + 5, width, width.GetLength());
    CPoint c3 = HandleOf(m_base, 3);
    ::TextOutA(dc, c3.x + 25, c3.y - 7, height, height.GetLength());
    ::SetTextAlign(dc, oldAlign);
    ::SetBkMode(dc, oldMode);
}

void CObjectTracker::DrawPivotMarker(HDC dc, CPoint at, BOOL dragged) const
{
    int radius = m_nHandleSize / 2 + (dragged ? 1 : 0);
    CSelectGuard hollow(dc, ::GetStockObject(HOLLOW_BRUSH));
    CSelectGuard pen(dc, MakePen(m_crPivot, FALSE), true);
    ::Ellipse(dc, at.x - radius, at.y - radius, at.x + radius + 1, at.y + radius + 1);
    int reach = m_nHandleSize;
    ::MoveToEx(dc, at.x - reach, at.y, NULL);
    ::LineTo(dc, at.x - radius, at.y);
    ::MoveToEx(dc, at.x + radius, at.y, NULL);
    ::LineTo(dc, at.x + reach, at.y);
    ::MoveToEx(dc, at.x, at.y - reach, NULL);
    ::LineTo(dc, at.x, at.y - radius);
    ::MoveToEx(dc, at.x, at.y + radius, NULL);
    ::LineTo(dc, at.x, at.y + reach);
}

void CObjectTracker::Clear(CDC* dc)
{
    if (dc != NULL)
        DrawSizeLabel(dc);
    m_bActive = FALSE;
}

void CObjectTracker::SetHandleSizes(int handleSize, int frameMargin, int outlineMargin, CDC* dc)
{
    if (dc != NULL)
        DrawSizeLabel(dc);
    if (m_bActive)
        m_rectObject.DeflateRect(m_nFrameMargin, m_nFrameMargin);
    m_nHandleSize = handleSize;
    m_nFrameMargin = frameMargin;
    m_nOutlineMargin = outlineMargin;
    if (m_bActive) {
        m_rectObject.InflateRect(m_nFrameMargin, m_nFrameMargin);
        RebuildPolygon(FALSE); // the pivot stays
    }
    if (dc != NULL)
        DrawSizeLabel(dc);
}

void CObjectTracker::GetHandleSizes(int& handleSize, int& frameMargin, int& outlineMargin) const
{
    handleSize = m_nHandleSize;
    frameMargin = m_nFrameMargin;
    outlineMargin = m_nOutlineMargin;
}

void CObjectTracker::SetCursorForPoint(CDC* dc)
{
    POINT p;
    ::GetCursorPos(&p);
    ::ScreenToClient(m_pOwner->GetSafeHwnd(), &p);
    if (dc != NULL)
        ::DPtoLP(dc->m_hDC, &p, 1);
    SetCursorFor(HitTestHandles(CPoint(p)));
}

void CObjectTracker::SetCursorFor(int hit) const
{
    BOOL ctrl = KeyDown(VK_CONTROL);
    if (KeyDown(VK_SPACE) && !(hit == OT_HANDLE_PIVOT && (m_nStyle & OT_PIVOT_HANDLE)))
        hit = OT_HANDLE_BODY;
    int slot;
    if (hit >= 0 && hit < 8) {
        if (hit & 1) { // edge
            if ((ctrl && (m_nStyle & OT_CTRL_SHEARS)) || m_nMode == OT_SHEAR)
                slot = (hit == 1 || hit == 5) ? OT_CURSOR_SHEAR_H : OT_CURSOR_SHEAR_V;
            else
                slot = (hit == 1 || hit == 5) ? OT_CURSOR_SIZE_NS : OT_CURSOR_SIZE_WE;
        } else if ((ctrl && (m_nStyle & OT_CTRL_ROTATES)) || m_nMode == OT_ROTATE) {
            slot = OT_CURSOR_ROTATE;
        } else {
            slot = ((hit == 0 || hit == 4) ? OT_CURSOR_SIZE_NWSE : OT_CURSOR_SIZE_NESW) ^ (m_bFlipped ? 1 : 0);
        }
    } else if (hit == OT_HANDLE_PIVOT && (m_nStyle & OT_PIVOT_HANDLE)) {
        slot = OT_CURSOR_PIVOT;
    } else {
        slot = ctrl && hit == OT_HANDLE_BODY ? OT_CURSOR_MOVE_CTRL : OT_CURSOR_MOVE;
    }
    if (g_trackerCursors[slot] != NULL)
        ::SetCursor(g_trackerCursors[slot]);
}

void CObjectTracker::ResetResults()
{
    m_translation = Gdiplus::PointF(0, 0);
    m_scale = Gdiplus::PointF(1, 1);
    m_rotation = 0;
    m_matrix.Reset();
}

BOOL CObjectTracker::WantAlternateAnchor() const
{
    BOOL alternate = (m_nStyle & OT_ALT_PIVOT) ? KeyDown(VK_MENU) : FALSE;
    if (m_nMode == OT_ROTATE && (m_nStyle & OT_ROTATE_ON_PIVOT))
        alternate = !alternate;
    return alternate;
}

void CObjectTracker::SetAnchor(BOOL alternate)
{
    m_bAlternate = alternate;
    int handle = alternate ? OT_HANDLE_PIVOT : (m_nHit ^ 4);
    m_anchorBase = HandleOf(m_base, handle);
    m_anchorMoved = HandleOf(m_moved, handle);
    if (m_nMode == OT_ROTATE) {
        CPoint corner = m_base[m_nHit / 2];
        m_startAngle =
            (float)(atan2((double)(corner.y - m_anchorBase.y), (double)(corner.x - m_anchorBase.x)) * 180.0 / kPi);
    }
}

int CObjectTracker::OnBegin(UINT keyFlags, CPoint point)
{
    ResetResults();
    if (!m_bActive)
        return TRACK_REFUSED;
    m_nHit = m_bMoveOnly ? OT_HANDLE_BODY : HitTestHandles(point);
    if (m_nHit < 0)
        return TRACK_REFUSED;
    if (m_nHit == OT_HANDLE_PIVOT) {
        m_nMode = OT_MOVE_PIVOT;
    } else if (m_nHit == OT_HANDLE_BODY) {
        m_nMode = OT_MOVE;
    } else {
        m_nMode = OT_RESIZE;
        if (keyFlags & MK_CONTROL) {
            if ((m_nHit & 1) && (m_nStyle & OT_CTRL_SHEARS))
                m_nMode = OT_SHEAR;
            else if (!(m_nHit & 1) && (m_nStyle & OT_CTRL_ROTATES))
                m_nMode = OT_ROTATE;
        }
    }
    if (m_nMode >= OT_RESIZE && m_nMode <= OT_SHEAR)
        SetAnchor(WantAlternateAnchor());
    SetCursorFor(m_nHit);
    return 0;
}

float CObjectTracker::FactorOf(int moved, int base) const
{
    if (base == 0)
        return 1.0f;
    float f = (float)moved / (float)base;
    if (f < 0 && !(m_nStyle & OT_ALLOW_MIRROR))
        f = 0;
    return f;
}

CPoint CObjectTracker::ConstrainMove(CPoint point) const
{
    CPoint start = m_ptStart;
    int dx = point.x - start.x, dy = point.y - start.y;
    int ax = abs(dx), ay = abs(dy);
    if (ax > 2 * ay)
        point.y = start.y;
    else if (ay > 2 * ax)
        point.x = start.x;
    else if (ax <= ay)
        point.y = start.y + (dy < 0 ? -ax : ax);
    else
        point.x = start.x + (dx < 0 ? -ay : ay);
    return point;
}

int CObjectTracker::OnMouseMessage(UINT message, UINT keyFlags, CPoint point)
{
    if (m_nMode >= OT_RESIZE && m_nMode <= OT_SHEAR) {
        BOOL alternate = WantAlternateAnchor();
        if (alternate != m_bAlternate)
            SetAnchor(alternate);
    }
    if (KeyDown(VK_SPACE)) {
        m_matrix.Translate((float)(point.x - m_ptPrevious.x), (float)(point.y - m_ptPrevious.y),
                           Gdiplus::MatrixOrderAppend);
        GetStatusText(OT_MOVE, (float)point.x, (float)point.y);
        m_bPanning = TRUE;
        return CTracker::OnMouseMessage(message, keyFlags, point);
    }
    if (m_bPanning) {
        SetAnchor(m_bAlternate);
        m_bPanning = FALSE;
    }
    BOOL shift = (keyFlags & MK_SHIFT) != 0;
    switch (m_nMode) {
    case OT_MOVE: {
        if (shift)
            point = ConstrainMove(point);
        m_translation = Gdiplus::PointF((float)(point.x - m_ptStart.x), (float)(point.y - m_ptStart.y));
        m_matrix.Reset();
        m_matrix.Translate(m_translation.X, m_translation.Y, Gdiplus::MatrixOrderAppend);
        GetStatusText(OT_MOVE, (float)point.x, (float)point.y);
        break;
    }
    case OT_MOVE_PIVOT:
        if (shift)
            point = ConstrainMove(point);
        m_base[4] = m_moved[4] = point;
        GetStatusText(OT_MOVE_PIVOT, (float)point.x, (float)point.y);
        break;
    case OT_RESIZE: {
        CSize d1 = point - m_anchorMoved;
        CSize d0 = m_ptStart - m_anchorBase;
        float sx = 1, sy = 1;
        if ((m_nHit & 1) == 0) {
            sx = FactorOf(d1.cx, d0.cx);
            sy = FactorOf(d1.cy, d0.cy);
            // Proportional: the larger magnitude takes the smaller one, keeping its sign.
            if (fabsf(sx) > fabsf(sy))
                sx = sx < 0 ? -fabsf(sy) : fabsf(sy);
            else
                sy = sy < 0 ? -fabsf(sx) : fabsf(sx);
            int slot =
                OT_CURSOR_SIZE_NWSE ^ ((m_nHit & 2) / 2) ^ (m_bFlipped ? 1 : 0) ^ (sx < 0 ? 1 : 0) ^ (sy < 0 ? 1 : 0);
            if (g_trackerCursors[slot] != NULL)
                ::SetCursor(g_trackerCursors[slot]);
        } else if ((m_nHit & 3) == 1) {
            sy = FactorOf(d1.cy, d0.cy);
            sx = sy;
        } else {
            sx = FactorOf(d1.cx, d0.cx);
            sy = sx;
        }
        m_nAnchorHandle = m_nHit ^ 4;
        m_translation = Gdiplus::PointF(0, 0);
        m_rotation = 0;
        m_matrix.Reset();
        m_matrix.Translate((float)-m_anchorBase.x, (float)-m_anchorBase.y, Gdiplus::MatrixOrderAppend);
        m_matrix.Scale(sx, sy, Gdiplus::MatrixOrderAppend);
        m_matrix.Translate((float)m_anchorMoved.x, (float)m_anchorMoved.y, Gdiplus::MatrixOrderAppend);
        m_scale = Gdiplus::PointF(sy, sy);
        GetStatusText(OT_RESIZE, m_rectObject.Width() * sx, m_rectObject.Height() * sy);
        break;
    }
    case OT_ROTATE: {
        CSize d = point - m_anchorMoved;
        float angle = (float)(atan2((double)d.cy, (double)d.cx) * 180.0 / kPi) - m_startAngle;
        while (angle <= -180)
            angle += 360;
        if (shift) {
            angle = (float)((int)((angle + 367.5f) / 15) * 15);
            while (angle > 180)
                angle -= 360;
        }
        m_translation = Gdiplus::PointF(0, 0);
        m_scale = Gdiplus::PointF(1, 1);
        m_matrix.Reset();
        m_matrix.Translate((float)-m_anchorBase.x, (float)-m_anchorBase.y, Gdiplus::MatrixOrderAppend);
        m_matrix.Rotate(angle, Gdiplus::MatrixOrderAppend);
        m_matrix.Translate((float)m_anchorMoved.x, (float)m_anchorMoved.y, Gdiplus::MatrixOrderAppend);
        m_rotation = angle;
        GetStatusText(OT_ROTATE, m_bFlipped ? angle : -angle, 0);
        break;
    }
    case OT_SHEAR: {
        CSize d1 = point - m_anchorMoved;
        CSize d0 = m_ptStart - m_anchorBase;
        float shx = 0, shy = 0, sx = 1, sy = 1;
        if (m_nHit & 2) { // left or right edge
            if (d1.cx != 0)
                shy = (float)d1.cy / (float)d1.cx;
            sx = FactorOf(d1.cx, d0.cx);
            GetStatusText(OT_SHEAR, shy * -100, 0);
        } else {
            if (d1.cy != 0)
                shx = (float)d1.cx / (float)d1.cy;
            sy = FactorOf(d1.cy, d0.cy);
            GetStatusText(OT_SHEAR, shx * -100, 0);
        }
        m_translation = Gdiplus::PointF(0, 0);
        m_scale = Gdiplus::PointF(1, 1);
        m_rotation = 0;
        m_matrix.Reset();
        m_matrix.Translate((float)-m_anchorBase.x, (float)-m_anchorBase.y, Gdiplus::MatrixOrderAppend);
        if (!shift)
            m_matrix.Scale(sx, sy, Gdiplus::MatrixOrderAppend);
        m_matrix.Shear(shx, shy, Gdiplus::MatrixOrderAppend);
        m_matrix.Translate((float)m_anchorMoved.x, (float)m_anchorMoved.y, Gdiplus::MatrixOrderAppend);
        break;
    }
    default:
        break;
    }
    return CTracker::OnMouseMessage(message, keyFlags, point);
}

int CObjectTracker::OnKeyMessage(UINT message, UINT key, UINT repeat, UINT flags)
{
    if (key == VK_CONTROL || key == VK_SPACE)
        SetCursorFor(m_nHit);
    return CTracker::OnKeyMessage(message, key, repeat, flags);
}

int CObjectTracker::OnEnd(int result)
{
    if (m_nMode == OT_MOVE_PIVOT && result == TRACK_RELEASED_CTRL)
        result = TRACK_RELEASED;
    if (result < 0) {
        ResetResults();
        for (int i = 0; i < 5; ++i)
            m_moved[i] = m_base[i];
        m_movedPoints = m_pathPoints;
    }
    m_nMode = OT_IDLE;
    return result;
}

void CObjectTracker::ApplyMatrixToFeedback()
{
    Gdiplus::Point corners[5];
    for (int i = 0; i < 5; ++i)
        corners[i] = Gdiplus::Point(m_base[i].x, m_base[i].y);
    m_matrix.TransformPoints(corners, 5);
    for (int i = 0; i < 5; ++i)
        m_moved[i] = CPoint(corners[i].X, corners[i].Y);
    m_movedPoints = m_pathPoints;
    if (!m_movedPoints.empty())
        m_matrix.TransformPoints(m_movedPoints.data(), (INT)m_movedPoints.size());
}

void CObjectTracker::DrawFeedback(CDC* dc, UINT flags)
{
    if (m_nHit == OT_HANDLE_PIVOT) {
        if (dc != NULL)
            DrawPivotMarker(dc->m_hDC, m_moved[4], TRUE);
        return;
    }
    if (flags & TRACK_FB_DRAW)
        ApplyMatrixToFeedback();
    if (dc == NULL)
        return;
    HDC hdc = dc->m_hDC;
    CSelectGuard hollow(hdc, ::GetStockObject(HOLLOW_BRUSH));
    {
        CSelectGuard pen(hdc, MakePen(m_crOutline, (m_nStyle & OT_DOTTED_OUTLINE) != 0), true);
        POINT poly[4] = {m_moved[0], m_moved[1], m_moved[2], m_moved[3]};
        ::Polygon(hdc, poly, 4);
    }
    if (m_movedPoints.empty())
        return;
    CSelectGuard pen(hdc, MakePen(m_crPath, (m_nStyle & OT_DOTTED_PATH) != 0), true);
    size_t n = m_movedPoints.size();
    POINT figureStart = {0, 0};
    for (size_t i = 0; i < n; ++i) {
        POINT p = {(LONG)m_movedPoints[i].X, (LONG)m_movedPoints[i].Y};
        BYTE type = m_pathTypes[i] & Gdiplus::PathPointTypePathTypeMask;
        if (type == Gdiplus::PathPointTypeStart) {
            ::MoveToEx(hdc, p.x, p.y, NULL);
            figureStart = p;
        } else if (type == Gdiplus::PathPointTypeBezier && i + 2 < n) {
            POINT bz[3];
            for (int k = 0; k < 3; ++k)
                bz[k] = POINT{(LONG)m_movedPoints[i + k].X, (LONG)m_movedPoints[i + k].Y};
            ::PolyBezierTo(hdc, bz, 3);
            i += 2;
        } else {
            ::LineTo(hdc, p.x, p.y);
        }
        if (m_pathTypes[i] & Gdiplus::PathPointTypeCloseSubpath)
            ::LineTo(hdc, figureStart.x, figureStart.y);
    }
}

void CObjectTracker::GetStatusText(int mode, float x, float y)
{
    float p = m_limitWidth > 0 ? m_rectLimits.Width() / m_limitWidth : 0;
    switch (mode) {
    case OT_MOVE:
    case OT_MOVE_PIVOT:
        if (p > 0)
            m_strStatus.Format("%0.2f  x %0.2f", ((int)x - m_rectLimits.left) / p, ((int)y - m_rectLimits.top) / p);
        break;
    case OT_RESIZE:
        m_strStatus.Format("%d \xD7 %d", (int)x, (int)y);
        break;
    case OT_ROTATE:
        m_strStatus.Format("%d\xB0", (int)x);
        break;
    case OT_SHEAR:
        m_strStatus.Format("%d%%", (int)x);
        break;
    default:
        break;
    }
}

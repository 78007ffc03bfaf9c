// CPoint, CSize and CRect: the Win32 POINT, SIZE and RECT with their arithmetic.
#pragma once
#include "fw/fwdefs.h"

class CSize;
class CRect;

class CPoint : public POINT
{
public:
    CPoint()
    {
        x = 0;
        y = 0;
    }
    CPoint(int initX, int initY)
    {
        x = initX;
        y = initY;
    }
    CPoint(POINT p)
    {
        x = p.x;
        y = p.y;
    }
    CPoint(SIZE s)
    {
        x = s.cx;
        y = s.cy;
    }
    // From a mouse message's lParam: signed 16-bit x in the low word, y in the high word.
    explicit CPoint(LPARAM packed)
    {
        x = (short)LOWORD(packed);
        y = (short)HIWORD(packed);
    }

    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    void Offset(POINT p)
    {
        x += p.x;
        y += p.y;
    }
    void Offset(SIZE s)
    {
        x += s.cx;
        y += s.cy;
    }
    void SetPoint(int newX, int newY)
    {
        x = newX;
        y = newY;
    }

    bool operator==(POINT p) const { return x == p.x && y == p.y; }
    bool operator!=(POINT p) const { return !(*this == p); }
    void operator+=(SIZE s)
    {
        x += s.cx;
        y += s.cy;
    }
    void operator-=(SIZE s)
    {
        x -= s.cx;
        y -= s.cy;
    }
    void operator+=(POINT p)
    {
        x += p.x;
        y += p.y;
    }
    void operator-=(POINT p)
    {
        x -= p.x;
        y -= p.y;
    }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
    inline CSize operator-(POINT p) const;
    inline CRect operator+(const RECT* r) const;
    inline CRect operator-(const RECT* r) const;
};

class CSize : public SIZE
{
public:
    CSize()
    {
        cx = 0;
        cy = 0;
    }
    CSize(int initCX, int initCY)
    {
        cx = initCX;
        cy = initCY;
    }
    CSize(SIZE s)
    {
        cx = s.cx;
        cy = s.cy;
    }
    CSize(POINT p)
    {
        cx = p.x;
        cy = p.y;
    }
    void SetSize(int newCX, int newCY)
    {
        cx = newCX;
        cy = newCY;
    }

    bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const { return !(*this == s); }
    void operator+=(SIZE s)
    {
        cx += s.cx;
        cy += s.cy;
    }
    void operator-=(SIZE s)
    {
        cx -= s.cx;
        cy -= s.cy;
    }
    CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
    CPoint operator+(POINT p) const { return CPoint(cx + p.x, cy + p.y); }
    CPoint operator-(POINT p) const { return CPoint(cx - p.x, cy - p.y); }
};

inline CSize CPoint::operator-(POINT p) const { return CSize(x - p.x, y - p.y); }

class CRect : public RECT
{
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& r) { CopyRect(&r); }
    CRect(const RECT* r) { CopyRect(r); }
    CRect(POINT p, SIZE s)
    {
        left = p.x;
        top = p.y;
        right = p.x + s.cx;
        bottom = p.y + s.cy;
    }
    CRect(POINT topLeft, POINT bottomRight)
    {
        left = topLeft.x;
        top = topLeft.y;
        right = bottomRight.x;
        bottom = bottomRight.y;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    // Empty: no area (width or height zero or negative). Null: all four values zero.
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    // Left and top edges inside, right and bottom edges outside.
    BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
    BOOL EqualRect(const RECT* r) const { return ::EqualRect(this, r); }

    void SetRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
    void SetRectEmpty() { left = top = right = bottom = 0; }
    void CopyRect(const RECT* r)
    {
        left = r->left;
        top = r->top;
        right = r->right;
        bottom = r->bottom;
    }

    void InflateRect(int x, int y)
    {
        left -= x;
        top -= y;
        right += x;
        bottom += y;
    }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    void InflateRect(const RECT* r)
    {
        left -= r->left;
        top -= r->top;
        right += r->right;
        bottom += r->bottom;
    }
    void InflateRect(int l, int t, int r, int b)
    {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int x, int y) { InflateRect(-x, -y); }
    void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
    void DeflateRect(const RECT* r)
    {
        left += r->left;
        top += r->top;
        right -= r->right;
        bottom -= r->bottom;
    }
    void DeflateRect(int l, int t, int r, int b)
    {
        left += l;
        top += t;
        right -= r;
        bottom -= b;
    }

    void OffsetRect(int x, int y)
    {
        left += x;
        right += x;
        top += y;
        bottom += y;
    }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void MoveToX(int x)
    {
        right = Width() + x;
        left = x;
    }
    void MoveToY(int y)
    {
        bottom = Height() + y;
        top = y;
    }
    void MoveToXY(int x, int y)
    {
        MoveToX(x);
        MoveToY(y);
    }
    void MoveToXY(POINT p) { MoveToXY(p.x, p.y); }

    // Swaps edges so that left <= right and top <= bottom.
    void NormalizeRect()
    {
        if (left > right) {
            LONG t = left;
            left = right;
            right = t;
        }
        if (top > bottom) {
            LONG t = top;
            top = bottom;
            bottom = t;
        }
    }
    void SwapLeftRight()
    {
        LONG t = left;
        left = right;
        right = t;
    }

    // Both return FALSE and leave an empty rectangle when the result has no area.
    BOOL IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(const RECT* a, const RECT* b) { return ::UnionRect(this, a, b); }
    BOOL SubtractRect(const RECT* a, const RECT* b) { return ::SubtractRect(this, a, b); }

    void operator=(const RECT& r) { CopyRect(&r); }
    bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != 0; }
    bool operator!=(const RECT& r) const { return !(*this == r); }
    void operator+=(POINT p) { OffsetRect(p); }
    void operator+=(SIZE s) { OffsetRect(s); }
    void operator+=(const RECT* r) { InflateRect(r); }
    void operator-=(POINT p) { OffsetRect(-p.x, -p.y); }
    void operator-=(SIZE s) { OffsetRect(-s.cx, -s.cy); }
    void operator-=(const RECT* r) { DeflateRect(r); }
    void operator&=(const RECT& r) { IntersectRect(this, &r); }
    void operator|=(const RECT& r) { UnionRect(this, &r); }
    CRect operator+(POINT p) const
    {
        CRect r(*this);
        r.OffsetRect(p);
        return r;
    }
    CRect operator-(POINT p) const
    {
        CRect r(*this);
        r.OffsetRect(-p.x, -p.y);
        return r;
    }
    CRect operator+(SIZE s) const
    {
        CRect r(*this);
        r.OffsetRect(s);
        return r;
    }
    CRect operator-(SIZE s) const
    {
        CRect r(*this);
        r.OffsetRect(-s.cx, -s.cy);
        return r;
    }
    CRect operator+(const RECT* x) const
    {
        CRect r(*this);
        r.InflateRect(x);
        return r;
    }
    CRect operator-(const RECT* x) const
    {
        CRect r(*this);
        r.DeflateRect(x);
        return r;
    }
    CRect operator&(const RECT& x) const
    {
        CRect r;
        r.IntersectRect(this, &x);
        return r;
    }
    CRect operator|(const RECT& x) const
    {
        CRect r;
        r.UnionRect(this, &x);
        return r;
    }
};

inline CRect CPoint::operator+(const RECT* r) const
{
    CRect t(r);
    t.OffsetRect(x, y);
    return t;
}
inline CRect CPoint::operator-(const RECT* r) const
{
    CRect t(r);
    t.OffsetRect(-x, -y);
    return t;
}

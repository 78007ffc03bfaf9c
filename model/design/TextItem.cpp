// Text item: construction, text paths (straight and on an arc), outline, hit tests,
// moving and resizing.  Drawing is in TextItemDraw.cpp.
#include "model/design/TextItem.h"
#include "model/design/ImageLayer.h"

#include <math.h>
#include <vector>

using namespace Gdiplus;

namespace {

LONG g_liveTexts = 0;

// The text centred on the origin: horizontally by the string format, vertically by
// moving the line up by half its height (Wine ignores a centred line alignment on a
// point layout; this gives the same place everywhere).
void AddCentredString(GraphicsPath* path, const CString& text, const FontFamily& family, int style, float em)
{
    const CStringW w(text);
    if (w.IsEmpty())
        return;
    StringFormat format;
    format.SetAlignment(StringAlignmentCenter);
    format.SetLineAlignment(StringAlignmentNear);
    GraphicsPath line;
    line.AddString(w, -1, &family, style, em, PointF(0, 0), &format);
    UINT16 emHeight = family.GetEmHeight(style);
    float lineHeight = emHeight ? em * (float)family.GetLineSpacing(style) / (float)emHeight : em;
    Matrix up;
    up.Translate(0, -lineHeight / 2.0f);
    line.Transform(&up);
    path->AddPath(&line, FALSE);
}

} // namespace

long CTextItem::GetLiveCount() { return g_liveTexts; }

CTextItem::CTextItem()
    : m_fontSize(5), m_selected(0), m_arcBelow(0), m_rotation(0.0f), m_fontFace("Arial"), m_arcLayout(0),
      m_arcRadius(5.0f), m_gradientAngle(0), m_outlineSize(1), m_imageTileScale(1.0f),
      m_imageOpacity(100), // opaque until a file or panel says otherwise
      m_imageRotation(0), m_fillKind(1), m_frameIndex(-1), m_textBounds(0, 0, 0, 0), m_areaWidth(0), m_areaHeight(0),
      m_bold(0), m_italic(0), m_underline(0), m_fillOpacity(1.0f), m_outlineOpacity(1.0f), m_outlineKind(1),
      m_bubbleKind(0), m_bubbleTailPosition(0), m_bubbleFillColour(0xFFFFFF), m_bubbleLineColour(0),
      m_bubbleOpacity(1.0f), m_bubbleTailWidth(1.0f), m_bubbleTailLength(0.5f), m_bubbleLineThickness(1),
      m_viewOutline(FillModeAlternate), m_position(3.75f, 5.0f), m_fillImage(NULL)
{
    InterlockedIncrement(&g_liveTexts);
    for (int i = 0; i < 5; i++) {
        m_fillColour[i] = 0xFFFFFF;
        m_outlineColour[i] = 0;
        m_corners[i] = PointF(0, 0);
    }
    m_hitRegion.CreateRectRgn(0, 0, 0, 0);
}

CTextItem::~CTextItem()
{
    delete m_fillImage;
    InterlockedDecrement(&g_liveTexts);
}

void CTextItem::SetPrintableSize(float width, float height)
{
    m_areaWidth = width;
    m_areaHeight = height;
    m_position = PointF(width / 2.0f, height / 2.0f);
}

int CTextItem::GetStyle(bool withUnderline, const FontFamily& family) const
{
    int style = FontStyleRegular;
    if (m_bold || !family.IsStyleAvailable(FontStyleRegular))
        style |= FontStyleBold;
    if (m_italic)
        style |= FontStyleItalic;
    if (withUnderline && m_underline)
        style |= FontStyleUnderline;
    return style;
}

void CTextItem::BuildTextPath(GraphicsPath* path)
{
    // A zero em size gives no path to size or hit: draw at least size 1.
    float em = (float)(m_fontSize < 1 ? 1 : m_fontSize) / 100.0f;
    // A radius of 0 or less has no circle to bend onto (it would divide by zero).
    if (m_arcLayout && m_arcRadius > 0) {
        BuildArcTextPath(path, m_arcRadius, m_text, em, m_arcBelow, m_fontFace);
        return;
    }
    FontFamily family{CStringW(m_fontFace)};
    if (family.GetLastStatus() != Ok)
        return; // the system lacks the face: an empty path
    AddCentredString(path, m_text, family, GetStyle(true, family), em);
}

void CTextItem::BuildArcTextPath(GraphicsPath* path, float radius, const CString& text, float emSize, int below,
                                 const CString& face)
{
    if (!(radius > 0))
        return;
    FontFamily family{CStringW(face)};
    if (family.GetLastStatus() != Ok)
        return;
    double R = radius;
    double C = R * 6.283185307;
    double k = C / R;
    GraphicsPath straight;
    AddCentredString(&straight, text, family, GetStyle(false, family), emSize);
    int n = straight.GetPointCount();
    if (n <= 0)
        return;
    std::vector<PointF> pts((size_t)n);
    std::vector<BYTE> types((size_t)n);
    straight.GetPathPoints(&pts[0], n);
    straight.GetPathTypes(&types[0], n);
    RectF b = GetPointBounds(&straight);
    double top = b.Y, h = b.Height;
    for (PointF& p : pts) {
        double x = p.X, y = p.Y;
        if (!below)
            p = RotatePoint(PointF(0.0f, (REAL)(-(R - y + top))), 4.0 * k * x, 1.0);
        else
            p = RotatePoint(PointF(0.0f, (REAL)(-(R - (h - y) - top))), 180.0 - 4.0 * k * x, 1.0);
    }
    AppendPathPoints(path, &pts[0], &types[0], n);
}

PointF CTextItem::RotatePoint(PointF pt, double degrees, double scale)
{
    double a = degrees / 360.0 * 6.283185307;
    double c = cos(a), s = sin(a);
    return PointF((REAL)((c * pt.X - s * pt.Y) * scale), (REAL)((s * pt.X + c * pt.Y) * scale));
}

void CTextItem::AppendPathPoints(GraphicsPath* out, const PointF* points, const BYTE* types, int count)
{
    // The moved points keep their types: figures start where they started, lines and
    // Beziers stay lines and Beziers, closed figures stay closed.
    if (!out || count <= 0)
        return;
    GraphicsPath moved(points, types, count, FillModeAlternate);
    out->AddPath(&moved, FALSE);
}

RectF CTextItem::GetPointBounds(const GraphicsPath* path)
{
    float l = 0, t = 0, r = 0, b = 0;
    int n = path ? path->GetPointCount() : 0;
    if (n > 0) {
        std::vector<PointF> pts((size_t)n);
        path->GetPathPoints(&pts[0], n);
        for (const PointF& p : pts) {
            l = p.X < l ? p.X : l;
            t = p.Y < t ? p.Y : t;
            r = p.X > r ? p.X : r;
            b = p.Y > b ? p.Y : b;
        }
    }
    return RectF(l, t, r - l, b - t);
}

void CTextItem::UpdateOutline(const GraphicsPath* textPath)
{
    RectF b = GetPointBounds(textPath);
    const PointF base[4] = {PointF(b.X, b.Y), PointF(b.GetRight(), b.Y), PointF(b.GetRight(), b.GetBottom()),
                            PointF(b.X, b.GetBottom())};
    POINT poly[5];
    for (int i = 0; i < 4; i++) {
        PointF c = RotatePoint(base[i], m_rotation, 1.0);
        m_corners[i] = PointF(c.X + m_position.X, c.Y + m_position.Y);
        poly[i].x = (LONG)(100.0f * m_corners[i].X);
        poly[i].y = (LONG)(100.0f * m_corners[i].Y);
    }
    poly[4] = poly[0];
    m_hitRegion.DeleteObject();
    if (!m_hitRegion.CreatePolygonRgn(poly, 5, ALTERNATE))
        m_hitRegion.CreateRectRgn(0, 0, 0, 0);
}

SizeF CTextItem::GetOutlineExtent() const
{
    float minX = 1000, minY = 1000, maxX = -1000, maxY = -1000;
    for (int i = 0; i < 4; i++) {
        const PointF& c = m_corners[i];
        minX = c.X < minX ? c.X : minX;
        minY = c.Y < minY ? c.Y : minY;
        maxX = c.X > maxX ? c.X : maxX;
        maxY = c.Y > maxY ? c.Y : maxY;
    }
    return SizeF(maxX - minX, maxY - minY);
}

void CTextItem::BuildViewOutline(float zoom, int dx, int dy)
{
    m_viewOutline.Reset();
    m_viewOutline.SetFillMode(FillModeAlternate);
    Point pts[5];
    for (int i = 0; i < 5; i++) {
        const PointF& c = m_corners[i % 4];
        pts[i] = Point((INT)(zoom * c.X) + dx, (INT)(zoom * c.Y) + dy);
    }
    m_viewOutline.AddPolygon(pts, 5);
}

void CTextItem::MoveBy(int dx, int dy, float zoom)
{
    if (!(zoom > 0))
        return;
    m_position.X += dx / zoom;
    m_position.Y += dy / zoom;
}

void CTextItem::ResizeByHandle(float scale, int handle, float)
{
    if (!(scale > 0 && scale < 1e6f))
        return;
    GraphicsPath before;
    BuildTextPath(&before);
    UpdateOutline(&before);
    SizeF e0 = GetOutlineExtent();
    double size = (double)m_fontSize * scale;
    // Never below 1: a zero em size leaves an empty path that cannot be grabbed again.
    m_fontSize = size < 1.0 ? 1 : size > 1e6 ? 1000000 : (int)size;
    GraphicsPath after;
    BuildTextPath(&after);
    UpdateOutline(&after);
    SizeF e1 = GetOutlineExtent();
    float dx = (e1.Width - e0.Width) / 2.0f, dy = (e1.Height - e0.Height) / 2.0f;
    switch (handle) {
    case 0:
        m_position.X += dx;
        m_position.Y += dy;
        break;
    case 1:
        m_position.Y += dy;
        break;
    case 2:
        m_position.X -= dx;
        m_position.Y += dy;
        break;
    case 3:
        m_position.X -= dx;
        break;
    case 4:
        m_position.X -= dx;
        m_position.Y -= dy;
        break;
    case 5:
        m_position.Y -= dy;
        break;
    case 6:
        m_position.X += dx;
        m_position.Y -= dy;
        break;
    case 7:
        m_position.X += dx;
        break;
    default:
        break;
    }
}

bool CTextItem::ContainsPoint(int x, int y, float zoom) const
{
    if (!(zoom > 0))
        return false;
    return m_hitRegion.PtInRegion((int)((float)x / zoom * 100.0f), (int)((float)y / zoom * 100.0f)) != FALSE;
}

void CTextItem::CopyTo(CTextItem* other) const
{
    if (!other || other == this)
        return;
    other->m_text = m_text;
    other->m_fontFace = m_fontFace;
    other->m_arcLayout = m_arcLayout;
    other->m_arcBelow = m_arcBelow;
    other->m_arcRadius = m_arcRadius;
    other->m_rotation = m_rotation;
    other->m_fontSize = m_fontSize;
    other->m_position = m_position;
    other->m_gradientAngle = m_gradientAngle;
    other->m_outlineSize = m_outlineSize;
    other->m_frameIndex = m_frameIndex;
    other->m_areaWidth = m_areaWidth;
    other->m_areaHeight = m_areaHeight;
    for (int i = 0; i < 5; i++) {
        other->m_fillColour[i] = m_fillColour[i];
        other->m_outlineColour[i] = m_outlineColour[i];
    }
    other->m_fillOpacity = m_fillOpacity;
    other->m_fillKind = m_fillKind;
    other->m_outlineOpacity = m_outlineOpacity;
    other->m_outlineKind = m_outlineKind;
    other->m_bold = m_bold;
    other->m_italic = m_italic;
    other->m_underline = m_underline;
}

bool CTextItem::LoadFillImage(LPCTSTR path)
{
    Bitmap* image = LoadImageFile(path);
    if (!image)
        return false;
    delete m_fillImage;
    m_fillImage = image;
    return true;
}

bool CTextItem::SetFillImage(Bitmap* bitmap)
{
    if (!bitmap)
        return false;
    Bitmap* copy = CopyBitmapPixels(bitmap);
    if (!copy)
        return false;
    delete m_fillImage;
    m_fillImage = copy;
    return true;
}

void CTextItem::ClearFillImage()
{
    delete m_fillImage;
    m_fillImage = NULL;
}

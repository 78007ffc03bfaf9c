#include "model/gfx/ShapeOutline.h"

#include <cmath>
#include <vector>

using namespace Gdiplus;

namespace {

// Collects one figure as points and point types and appends it to a path in one go, so the
// result does not depend on how GDI+ joins separately added segments.
class Figure
{
public:
    void MoveTo(PointF p)
    {
        pts_.clear();
        types_.clear();
        Add(p, PathPointTypeStart);
    }
    // A straight segment a-b; joined to the figure by a line when a is not its last point.
    void Line(PointF a, PointF b)
    {
        Join(a);
        Add(b, PathPointTypeLine);
    }
    void LineTo(PointF b) { Add(b, PathPointTypeLine); }
    void Bezier(PointF p0, PointF p1, PointF p2, PointF p3)
    {
        Join(p0);
        Add(p1, PathPointTypeBezier);
        Add(p2, PathPointTypeBezier);
        Add(p3, PathPointTypeBezier);
    }
    // An arc as GDI+ draws it (degrees, clockwise), joined to the figure by a line.
    void Arc(float x, float y, float w, float h, float start, float sweep)
    {
        GraphicsPath tmp;
        if (tmp.AddArc(x, y, w, h, start, sweep) != Ok)
            return;
        const INT n = tmp.GetPointCount();
        if (n <= 0)
            return;
        std::vector<PointF> p(n);
        std::vector<BYTE> t(n);
        tmp.GetPathPoints(p.data(), n);
        tmp.GetPathTypes(t.data(), n);
        Join(p[0]);
        for (INT i = 1; i < n; ++i)
            Add(p[i], (BYTE)(t[i] & PathPointTypePathTypeMask));
    }
    void Close()
    {
        if (!types_.empty())
            types_.back() |= PathPointTypeCloseSubpath;
    }
    void Translate(float dx, float dy)
    {
        for (auto& p : pts_) {
            p.X += dx;
            p.Y += dy;
        }
    }
    void AppendTo(GraphicsPath* path)
    {
        if (pts_.size() < 2)
            return;
        GraphicsPath fig(pts_.data(), types_.data(), (INT)pts_.size(), path->GetFillMode());
        path->AddPath(&fig, FALSE);
    }

private:
    void Add(PointF p, BYTE type)
    {
        pts_.push_back(p);
        types_.push_back(type);
    }
    void Join(PointF a)
    {
        if (pts_.empty())
            Add(a, PathPointTypeStart);
        else if (!Near(pts_.back(), a))
            Add(a, PathPointTypeLine);
    }
    // Ends of neighbouring pieces that meet in exact arithmetic may differ in the last bit.
    static bool Near(PointF p, PointF q)
    {
        auto close = [](REAL u, REAL v) { return std::fabs(u - v) <= 1e-5f * (1.0f + std::fabs(u) + std::fabs(v)); };
        return close(p.X, q.X) && close(p.Y, q.Y);
    }
    std::vector<PointF> pts_;
    std::vector<BYTE> types_;
};

inline PointF P(double x, double y) { return PointF((REAL)x, (REAL)y); }

// Style 3 (q > 0, bulging out) and style 4 (q < 0, bowed in).
void AddBowed(GraphicsPath* path, float m, float d, float W, float H, float q)
{
    const float R = W - m, B = H - m;
    Figure f;
    f.Bezier(P(m, m), P(m + d, m - q), P(R - d, m - q), P(R, m));
    f.Bezier(P(R, m), P(R + q, m + d), P(R + q, B - d), P(R, B));
    f.Bezier(P(R, B), P(R - d, B + q), P(m + d, B + q), P(m, B));
    f.Bezier(P(m, B), P(m - q, B - d), P(m - q, m + d), P(m, m));
    f.AppendTo(path);
}

// Styles 5 and 6: straight edges joined by arcs of radius d around the corner points.
void AddCornerArcs(GraphicsPath* path, float m, float d, float W, float H, float sweep)
{
    const float R = W - m, B = H - m, s = 2 * d;
    Figure f;
    f.Line(P(m + d, m), P(R - d, m));
    f.Arc(R - d, m - d, s, s, 180, sweep);
    f.Line(P(R, m + d), P(R, B - d));
    f.Arc(R - d, B - d, s, s, 270, sweep);
    f.Line(P(R - d, B), P(m + d, B));
    f.Arc(m - d, B - d, s, s, 0, sweep);
    f.Line(P(m, B - d), P(m, m + d));
    f.Arc(m - d, m - d, s, s, 90, sweep);
    f.AppendTo(path);
}

void AddPolyline(GraphicsPath* path, const PointF* pts, int n)
{
    Figure f;
    f.MoveTo(pts[0]);
    for (int i = 1; i < n; ++i)
        f.LineTo(pts[i]);
    f.AppendTo(path);
}

// The ornament shapes of the repeated styles, one edge step from x (or y) over s.
enum class Ornament { Scallop, Zigzag, Wave };

void AddOrnaments(GraphicsPath* path, float m, float d, float W, float H, Ornament kind)
{
    path->StartFigure();
    OrnamentFit fit;
    if (!ComputeOrnamentFit(m, W, H, &fit))
        return;
    const double s = fit.step, q = s / 4, L = fit.left, T = fit.top, Rr = fit.right, Bb = fit.bottom;
    // For each edge: the start of the step, the unit direction along the edge and the
    // outward normal; the ornament's control points are expressed in that frame.
    struct Edge
    {
        double x0, y0, ux, uy, nx, ny;
        int count;
    } edges[4] = {
        {L, T, 1, 0, 0, -1, fit.countX},
        {Rr, T, 0, 1, 1, 0, fit.countY},
        {Rr, Bb, -1, 0, 0, 1, fit.countX},
        {L, Bb, 0, -1, -1, 0, fit.countY},
    };
    Figure f;
    for (const Edge& e : edges) {
        for (int i = 0; i < e.count; ++i) {
            const double t = i * s;
            auto at = [&](double along, double out) {
                return P(e.x0 + e.ux * (t + along) + e.nx * out, e.y0 + e.uy * (t + along) + e.ny * out);
            };
            switch (kind) {
            case Ornament::Scallop:
                f.Bezier(at(0, 0), at(q, d), at(s - q, d), at(s, 0));
                break;
            case Ornament::Wave:
                f.Bezier(at(0, 0), at(q, d), at(s - q, -d), at(s, 0));
                break;
            case Ornament::Zigzag:
                f.Line(at(0, 0), at(s / 2, d));
                f.LineTo(at(s, 0));
                break;
            }
        }
    }
    f.AppendTo(path);
}

// Bubble outline: the tail points of all eight places, clockwise from the top-right corner;
// only the chosen place has a width and a length. Corners without the tail are rounded
// when round is set.
void AddBubble(GraphicsPath* path, int tailPos, float tailWidth, float tailLength, float W, float H, bool round)
{
    const double BW = 1.1 * W, BH = 1.2 * H;
    const double a0 = (BW < BH ? BW : BH) / 2 * tailWidth;
    const double r = 0.25 * H;
    auto a = [&](int pos) { return pos == tailPos ? a0 : 0.0; };
    auto l = [&](int pos) { return pos == tailPos ? (double)tailLength : 0.0; };

    // Corners in clockwise order: position, corner point, the directions of the incoming and
    // outgoing edges, and the diagonal pointing out.
    struct Corner
    {
        int pos;
        double cx, cy, inx, iny, outx, outy, dx, dy;
    };
    const Corner corners[4] = {
        {1, BW, 0, 1, 0, 0, 1, 1, -1},
        {3, BW, BH, 0, 1, -1, 0, 1, 1},
        {5, 0, BH, -1, 0, 0, -1, -1, 1},
        {7, 0, 0, 0, -1, 1, 0, -1, -1},
    };
    // Middles of the edges that follow each corner: position, middle point, edge direction,
    // outward normal.
    struct Middle
    {
        int pos;
        double mx, my, ux, uy, nx, ny;
    };
    const Middle middles[4] = {
        {2, BW, BH / 2, 0, 1, 1, 0},
        {4, BW / 2, BH, -1, 0, 0, 1},
        {6, 0, BH / 2, 0, -1, -1, 0},
        {8, BW / 2, 0, 1, 0, 0, -1},
    };

    Figure f;
    for (int i = 0; i < 4; ++i) {
        const Corner& c = corners[i];
        if (round && c.pos != tailPos) {
            f.Bezier(P(c.cx - c.inx * r, c.cy - c.iny * r), P(c.cx - c.inx * r / 2, c.cy - c.iny * r / 2),
                     P(c.cx + c.outx * r / 2, c.cy + c.outy * r / 2), P(c.cx + c.outx * r, c.cy + c.outy * r));
        } else {
            const double ca = a(c.pos), cl = l(c.pos);
            f.Line(P(c.cx - c.inx * ca, c.cy - c.iny * ca), P(c.cx + c.dx * cl, c.cy + c.dy * cl));
            f.LineTo(P(c.cx + c.outx * ca, c.cy + c.outy * ca));
        }
        const Middle& e = middles[i];
        const double ea = a(e.pos), el = l(e.pos);
        f.Line(P(e.mx - e.ux * ea, e.my - e.uy * ea), P(e.mx + e.nx * el, e.my + e.ny * el));
        f.LineTo(P(e.mx + e.ux * ea, e.my + e.uy * ea));
    }
    f.Close(); // an open figure would leave the stroke without its last edge
    f.Translate((float)(-BW / 2), (float)(-BH / 2));
    f.AppendTo(path);
}

} // namespace

bool ComputeOrnamentFit(float m, float W, float H, OrnamentFit* fit)
{
    *fit = OrnamentFit{};
    const double w = (double)W - 2.0 * m, h = (double)H - 2.0 * m;
    // An empty inner area would give a step of 0 and never end; a nearly flat one millions
    // of ornaments.
    if (!(w > 0) || !(h > 0) || !std::isfinite(w) || !std::isfinite(h))
        return false;
    const double s = (w < h ? w : h) / (w > h ? w : h);
    const double kMaxPerEdge = 100000;
    if (w / s > kMaxPerEdge || h / s > kMaxPerEdge)
        return false;
    // Steps of s until the count reaches or passes the side; a count that meets the side
    // exactly in exact arithmetic must not gain a step from rounding.
    auto steps = [s](double side) {
        const int n = (int)std::ceil(side / s - 1e-6);
        return n < 1 ? 1 : n;
    };
    const int nx = steps(w), ny = steps(h);
    const double ex = (nx * s - w) / 2, ey = (ny * s - h) / 2;
    fit->step = s;
    fit->countX = nx;
    fit->countY = ny;
    fit->left = m - ex;
    fit->right = (W - m) + ex;
    fit->top = m - ey;
    fit->bottom = (H - m) + ey;
    return true;
}

void CShapePath::AddRectangle(GraphicsPath* path, float m, float W, float H)
{
    path->AddRectangle(RectF(m, m, W - 2 * m, H - 2 * m));
}

void CShapePath::AddRoundedRect(GraphicsPath* path, float m, float d, float W, float H)
{
    const float R = W - m, B = H - m, h = d / 2;
    Figure f;
    f.Line(P(m + d, m), P(R - d, m));
    f.Bezier(P(R - d, m), P(R - h, m), P(R, m + h), P(R, m + d));
    f.Line(P(R, m + d), P(R, B - d));
    f.Bezier(P(R, B - d), P(R, B - h), P(R - h, B), P(R - d, B));
    f.Line(P(R - d, B), P(m + d, B));
    f.Bezier(P(m + d, B), P(m + h, B), P(m, B - h), P(m, B - d));
    f.Line(P(m, B - d), P(m, m + d));
    f.Bezier(P(m, m + d), P(m, m + h), P(m + h, m), P(m + d, m));
    f.AppendTo(path);
}

void CShapePath::AddBowedOut(GraphicsPath* path, float m, float d, float W, float H)
{
    AddBowed(path, m, d, W, H, d / 4);
}

void CShapePath::AddBowedIn(GraphicsPath* path, float m, float d, float W, float H)
{
    AddBowed(path, m, d, W, H, -d / 4);
}

void CShapePath::AddCornerLoops(GraphicsPath* path, float m, float d, float W, float H)
{
    AddCornerArcs(path, m, d, W, H, 270);
}

void CShapePath::AddConcaveCorners(GraphicsPath* path, float m, float d, float W, float H)
{
    AddCornerArcs(path, m, d, W, H, -90);
}

void CShapePath::AddScallops(GraphicsPath* path, float m, float d, float W, float H)
{
    AddOrnaments(path, m, d, W, H, Ornament::Scallop);
}

void CShapePath::AddEllipse(GraphicsPath* path, float m, float W, float H)
{
    path->AddEllipse(RectF(m, m, W - 2 * m, H - 2 * m));
}

void CShapePath::AddZigzag(GraphicsPath* path, float m, float d, float W, float H)
{
    AddOrnaments(path, m, d, W, H, Ornament::Zigzag);
}

void CShapePath::AddSCurves(GraphicsPath* path, float m, float d, float W, float H)
{
    const float R = W - m, B = H - m, q = d / 2;
    Figure f;
    f.Bezier(P(m, m), P(m + d, m + q), P(R - d, m - q), P(R, m));
    f.Bezier(P(R, m), P(R + q, m + d), P(R - q, B - d), P(R, B));
    f.Bezier(P(R, B), P(R - d, B - q), P(m + d, B + q), P(m, B));
    f.Bezier(P(m, B), P(m + q, B - d), P(m - q, m + d), P(m, m));
    f.AppendTo(path);
}

void CShapePath::AddCornerSquares(GraphicsPath* path, float m, float d, float W, float H)
{
    const float R = W - m, B = H - m;
    const PointF pts[] = {
        P(m + d, m),     P(R - d, m),     P(R - d, m - d), P(R + d, m - d), P(R + d, m + d), P(R, m + d),
        P(R, B - d),     P(R + d, B - d), P(R + d, B + d), P(R - d, B + d), P(R - d, B),     P(m + d, B),
        P(m + d, B + d), P(m - d, B + d), P(m - d, B - d), P(m, B - d),     P(m, m + d),     P(m - d, m + d),
        P(m - d, m - d), P(m + d, m - d), P(m + d, m),
    };
    AddPolyline(path, pts, (int)(sizeof(pts) / sizeof(pts[0])));
}

void CShapePath::AddNotchedCorners(GraphicsPath* path, float m, float d, float W, float H)
{
    const float R = W - m, B = H - m;
    const PointF pts[] = {
        P(m + d, m), P(R - d, m),     P(R - d, m + d), P(R, m + d), P(R, B - d),     P(R - d, B - d), P(R - d, B),
        P(m + d, B), P(m + d, B - d), P(m, B - d),     P(m, m + d), P(m + d, m + d), P(m + d, m),
    };
    AddPolyline(path, pts, (int)(sizeof(pts) / sizeof(pts[0])));
}

void CShapePath::AddWaves(GraphicsPath* path, float m, float d, float W, float H)
{
    AddOrnaments(path, m, d, W, H, Ornament::Wave);
}

bool CShapePath::AddFrameStyle(GraphicsPath* path, int style, float m, float d, float W, float H)
{
    switch (style) {
    case 1:
        AddRectangle(path, m, W, H);
        return true;
    case 2:
        AddRoundedRect(path, m, d, W, H);
        return true;
    case 3:
        AddBowedOut(path, m, d, W, H);
        return true;
    case 4:
        AddBowedIn(path, m, d, W, H);
        return true;
    case 5:
        AddCornerLoops(path, m, d, W, H);
        return true;
    case 6:
        AddConcaveCorners(path, m, d, W, H);
        return true;
    case 7:
        AddScallops(path, m, d, W, H);
        return true;
    case 8:
        AddScallops(path, m, -d, W, H);
        return true;
    case 9:
        AddEllipse(path, m, W, H);
        return true;
    case 10:
        AddZigzag(path, m, d, W, H);
        return true;
    case 11:
        AddSCurves(path, m, d, W, H);
        return true;
    case 12:
        AddCornerSquares(path, m, d, W, H);
        return true;
    case 13:
        AddNotchedCorners(path, m, d, W, H);
        return true;
    case 14:
        AddWaves(path, m, d, W, H);
        return true;
    default:
        return false;
    }
}

void AddSpeechBubblePath1(GraphicsPath* path, int tailPos, float tailWidth, float tailLength, float W, float H)
{
    AddBubble(path, tailPos, tailWidth, tailLength, W, H, false);
}

void AddSpeechBubblePath2(GraphicsPath* path, int tailPos, float tailWidth, float tailLength, float W, float H)
{
    AddBubble(path, tailPos, tailWidth, tailLength, W, H, true);
}

void AddRectanglePath(GraphicsPath* path, float m, float W, float H) { CShapePath::AddRectangle(path, m, W, H); }

void AddBowedOutPath(GraphicsPath* path, float m, float d, float W, float H)
{
    CShapePath::AddBowedOut(path, m, d, W, H);
}

void AddBowedInPath(GraphicsPath* path, float m, float d, float W, float H)
{
    CShapePath::AddBowedIn(path, m, d, W, H);
}

void AddCornerLoopsPath(GraphicsPath* path, float m, float d, float W, float H)
{
    CShapePath::AddCornerLoops(path, m, d, W, H);
}

void AddConcaveCornersPath(GraphicsPath* path, float m, float d, float W, float H)
{
    CShapePath::AddConcaveCorners(path, m, d, W, H);
}

void AddScallopsPath(GraphicsPath* path, float m, float d, float W, float H)
{
    CShapePath::AddScallops(path, m, d, W, H);
}

void AddEllipsePath(GraphicsPath* path, float m, float W, float H) { CShapePath::AddEllipse(path, m, W, H); }

void AddZigzagPath(GraphicsPath* path, float m, float d, float W, float H) { CShapePath::AddZigzag(path, m, d, W, H); }

void AddSCurvesPath(GraphicsPath* path, float m, float d, float W, float H)
{
    CShapePath::AddSCurves(path, m, d, W, H);
}

void AddCornerSquaresPath(GraphicsPath* path, float m, float d, float W, float H)
{
    CShapePath::AddCornerSquares(path, m, d, W, H);
}

void AddWavesPath(GraphicsPath* path, float m, float d, float W, float H) { CShapePath::AddWaves(path, m, d, W, H); }

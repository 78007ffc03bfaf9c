#include "model/gfx/CornerGradient.h"

#include "model/gfx/LayerArrayDraw.h"

#include <math.h>

#include <algorithm>

using namespace Gdiplus;

namespace {

// Device pixels computed at most; a larger area takes every second (fourth...) pixel.
const double kMostPixels = 4.0e6;

float Cross(PointF a, PointF b) { return a.X * b.Y - a.Y * b.X; }
PointF Minus(PointF a, PointF b) { return PointF(a.X - b.X, a.Y - b.Y); }

BYTE Mix(BYTE a, BYTE b, float f)
{
    float v = a + (b - a) * f;
    return (BYTE)(v < 0 ? 0 : v > 255 ? 255 : v + 0.5f);
}

ARGB MixColours(const Color& a, const Color& b, float f)
{
    return Color::MakeARGB(Mix(a.GetA(), b.GetA(), f), Mix(a.GetR(), b.GetR(), f), Mix(a.GetG(), b.GetG(), f),
                           Mix(a.GetB(), b.GetB(), f));
}

} // namespace

CornerGradient CornerGradient::OnRect(const RectF& r, const Color colours[5], float strength, const Matrix* placement)
{
    CornerGradient g;
    g.corners[0] = PointF(r.X, r.Y);
    g.corners[1] = PointF(r.GetRight(), r.Y);
    g.corners[2] = PointF(r.GetRight(), r.GetBottom());
    g.corners[3] = PointF(r.X, r.GetBottom());
    g.centre = PointF(r.X + r.Width / 2, r.Y + r.Height / 2);
    if (placement) {
        placement->TransformPoints(g.corners, 4);
        placement->TransformPoints(&g.centre, 1);
    }
    for (int i = 0; i < 4; ++i)
        g.colours[i] = colours[i];
    g.centreColour = colours[4];
    g.strength = strength > 0 ? (strength < 1 ? strength : 1.0f) : 0.0f;
    return g;
}

ARGB CornerGradient::ColourAt(PointF p) const
{
    // The quadrilateral as a fan of four triangles round the centre: in the triangle of
    // the edge from corner i to corner i + 1, p - centre = a (corner i - centre) +
    // b (corner i + 1 - centre); a + b is 1 on the edge and 0 at the centre.
    const PointF d = Minus(p, centre);
    int best = -1;
    float bestA = 0, bestB = 0, bestLow = -1e30f;
    for (int i = 0; i < 4; ++i) {
        const PointF e0 = Minus(corners[i], centre), e1 = Minus(corners[(i + 1) % 4], centre);
        const float det = Cross(e0, e1);
        if (fabsf(det) < 1e-12f)
            continue;
        const float a = Cross(d, e1) / det, b = Cross(e0, d) / det;
        const float low = std::min(a, b);
        if (low > bestLow) {
            best = i;
            bestA = a;
            bestB = b;
            bestLow = low;
        }
    }
    if (best < 0)
        return centreColour.GetValue();
    const float s = bestA + bestB;
    const float along = s > 1e-6f ? std::min(std::max(bestB / s, 0.0f), 1.0f) : 0.0f;
    const Color edge(MixColours(colours[best], colours[(best + 1) % 4], along));
    const float t = std::min(std::max(1.0f - s, 0.0f), 1.0f);
    return MixColours(edge, centreColour, strength * t);
}

void CornerGradient::Fill(Graphics* g, const GraphicsPath* area) const
{
    if (!g || !area || area->GetPointCount() == 0)
        return;
    RectF b;
    if (area->GetBounds(&b) != Ok || !(b.Width > 0) || !(b.Height > 0))
        return;
    PointF box[4] = {PointF(b.X, b.Y), PointF(b.GetRight(), b.Y), PointF(b.GetRight(), b.GetBottom()),
                     PointF(b.X, b.GetBottom())};
    g->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, box, 4);
    float x0 = box[0].X, y0 = box[0].Y, x1 = box[0].X, y1 = box[0].Y;
    for (const PointF& q : box) {
        x0 = std::min(x0, q.X);
        y0 = std::min(y0, q.Y);
        x1 = std::max(x1, q.X);
        y1 = std::max(y1, q.Y);
    }
    // Two pixels more on every side, so smoothed edges find colours too.
    x0 = floorf(x0) - 2;
    y0 = floorf(y0) - 2;
    int step = 1;
    while (((double)(x1 - x0) / step + 3) * ((double)(y1 - y0) / step + 3) > kMostPixels)
        step *= 2;
    const int w = (int)ceilf((x1 + 2 - x0) / step), h = (int)ceilf((y1 + 2 - y0) / step);
    if (w <= 0 || h <= 0)
        return;

    // The gradient in device pixels: corners and centre as the device sees them.
    CornerGradient device = *this;
    g->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, device.corners, 4);
    g->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, &device.centre, 1);

    Bitmap picture(w, h, PixelFormat32bppARGB);
    BitmapData data;
    Rect all(0, 0, w, h);
    if (picture.LockBits(&all, ImageLockModeWrite, PixelFormat32bppARGB, &data) != Ok)
        return;
    for (int j = 0; j < h; ++j) {
        ARGB* row = (ARGB*)((BYTE*)data.Scan0 + (size_t)j * data.Stride);
        for (int i = 0; i < w; ++i)
            row[i] = device.ColourAt(PointF(x0 + (i + 0.5f) * step, y0 + (j + 0.5f) * step));
    }
    picture.UnlockBits(&data);

    // Picture pixels -> world units, through the device points of three of its corners.
    PointF frame[3] = {PointF(x0, y0), PointF(x0 + step, y0), PointF(x0, y0 + step)};
    g->TransformPoints(CoordinateSpaceWorld, CoordinateSpaceDevice, frame, 3);
    Matrix placement(frame[1].X - frame[0].X, frame[1].Y - frame[0].Y, frame[2].X - frame[0].X, frame[2].Y - frame[0].Y,
                     frame[0].X, frame[0].Y);
    FillTiled(g, area, &picture, nullptr, placement);
}

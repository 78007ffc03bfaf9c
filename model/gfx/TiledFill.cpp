// FillTiled (LayerArrayDraw.h): tiles drawn through matrices every GDI+ can invert.
#include "model/gfx/LayerArrayDraw.h"

#include <math.h>

#include <memory>

using namespace Gdiplus;

namespace {

// x' = a x + c y + e, y' = b x + d y + f, in the element order of a GDI+ matrix.
struct Affine
{
    double a, b, c, d, e, f;

    static Affine Of(const Matrix& m)
    {
        REAL v[6];
        m.GetElements(v);
        return {v[0], v[1], v[2], v[3], v[4], v[5]};
    }
    double Det() const { return a * d - b * c; }
    // This one first, then `next`.
    Affine Then(const Affine& n) const
    {
        return {a * n.a + b * n.c, a * n.b + b * n.d,       c * n.a + d * n.c,
                c * n.b + d * n.d, e * n.a + f * n.c + n.e, e * n.b + f * n.d + n.f};
    }
    bool Invert(Affine& out) const
    {
        const double det = Det();
        if (!(fabs(det) > 0) || !isfinite(det))
            return false;
        out = {d / det, -b / det, -c / det, a / det, (c * f - d * e) / det, (b * e - a * f) / det};
        return true;
    }
    void To(Matrix& m) const { m.SetElements((REAL)a, (REAL)b, (REAL)c, (REAL)d, (REAL)e, (REAL)f); }
};

// World units -> device pixels of the graphics as it stands.
Affine WorldToDevice(Graphics* g)
{
    PointF p[3] = {PointF(0, 0), PointF(1, 0), PointF(0, 1)};
    g->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, p, 3);
    return {p[1].X - p[0].X, p[1].Y - p[0].Y, p[2].X - p[0].X, p[2].Y - p[0].Y, p[0].X, p[0].Y};
}

} // namespace

void FillTiled(Graphics* g, const GraphicsPath* area, Bitmap* tile, ImageAttributes* attributes,
               const Matrix& placement)
{
    if (!g || !area || !tile || area->GetPointCount() == 0 || tile->GetWidth() == 0 || tile->GetHeight() == 0)
        return;
    const Affine toWorld = Affine::Of(placement);
    Affine toDevice = toWorld.Then(WorldToDevice(g));
    const double det = toDevice.Det();
    if (!(fabs(det) > 0) || !isfinite(det))
        return;

    // A turned tile whose pixel is smaller than a device pixel: a copy shrunk near to
    // device size, so the matrix below stays far from a determinant Wine refuses.  An
    // upright one is drawn as it is (Wine inverts scaling alone without that limit).
    Bitmap* texture = tile;
    std::unique_ptr<Bitmap> shrunk;
    Affine shrink = {1, 0, 0, 1, 0, 0};
    const double scale = sqrt(fabs(det));
    const UINT bw = tile->GetWidth(), bh = tile->GetHeight();
    const bool upright = toDevice.b == 0 && toDevice.c == 0;
    if (scale < 1.0 && !upright) {
        const UINT w = (UINT)ceil(bw * scale), h = (UINT)ceil(bh * scale);
        shrunk.reset(new Bitmap((INT)(w ? w : 1), (INT)(h ? h : 1), PixelFormat32bppARGB));
        if (shrunk->GetLastStatus() != Ok)
            return;
        {
            Graphics copy(shrunk.get());
            copy.SetInterpolationMode(InterpolationModeHighQualityBilinear);
            copy.SetPixelOffsetMode(PixelOffsetModeHalf);
            ImageAttributes wrap; // edges blend with the next tile, as the fill repeats it
            wrap.SetWrapMode(WrapModeTile);
            copy.DrawImage(tile, Rect(0, 0, (INT)shrunk->GetWidth(), (INT)shrunk->GetHeight()), 0, 0, (INT)bw, (INT)bh,
                           UnitPixel, &wrap);
        }
        texture = shrunk.get();
        shrink = {(double)bw / texture->GetWidth(), 0, 0, (double)bh / texture->GetHeight(), 0, 0};
    }

    // The area in the texture's pixels, drawn under texture pixels -> device pixels.
    Affine toArea;
    if (!shrink.Then(toWorld).Invert(toArea))
        return;
    Matrix inverse;
    toArea.To(inverse);
    std::unique_ptr<GraphicsPath> local(area->Clone());
    if (!local || local->Transform(&inverse) != Ok)
        return;
    Matrix transform;
    shrink.Then(toDevice).To(transform);

    TextureBrush brush(texture, RectF(0, 0, (REAL)texture->GetWidth(), (REAL)texture->GetHeight()), attributes);
    brush.SetWrapMode(WrapModeTile);
    const Unit unit = g->GetPageUnit();
    const REAL pageScale = g->GetPageScale();
    GraphicsState state = g->Save();
    g->SetPageUnit(UnitPixel);
    g->SetPageScale(1.0f);
    g->SetTransform(&transform);
    g->FillPath(&brush, local.get());
    g->Restore(state);
    g->SetPageUnit(unit);
    g->SetPageScale(pageScale);
}

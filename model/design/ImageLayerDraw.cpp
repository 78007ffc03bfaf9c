// Drawing an image layer into graphics whose page unit is the inch.
#include "model/design/ImageLayer.h"
#include "base/Globals.h"
#include "model/gfx/LayerArrayDraw.h"

using namespace Gdiplus;

void CImageLayer::Draw(Graphics* g, float margin, float originX, float originY, int cellAngle)
{
    // A layer without a bitmap (failed load, missing stream) has nothing to show.
    if (!m_master || !g)
        return;
    bool printing = GetGlobalValueC() != 0;
    if (printing && !m_printCopy)
        BuildPrintCopy(200.0f);

    Matrix m;
    GraphicsState state = g->Save();
    UpdatePrintSize(margin);
    Bitmap* source = printing && m_printCopy ? m_printCopy : m_screenCopy;
    if (!source || !(m_printedWidth > 0) || !(m_printedHeight > 0)) {
        g->Restore(state);
        return;
    }
    INT pw = (INT)source->GetWidth(), ph = (INT)source->GetHeight();

    ImageAttributes ia;
    if (m_dim)
        SetDimMatrix(&ia);
    if (m_transparency < 100)
        SetOpacityMatrix(&ia, m_transparency);

    m_drawCentreX += originX;
    m_drawCentreY += originY;
    m_drawLeft += originX;
    m_drawTop += originY;

    float areaW = (float)m_areaWidth / 100.0f, areaH = (float)m_areaHeight / 100.0f;
    m.RotateAt((REAL)cellAngle, PointF(originX + areaW / 2.0f, originY + areaH / 2.0f));

    RectF dest(m_drawLeft, m_drawTop, m_printedWidth, m_printedHeight);
    if (printing && GetGlobalValueA() != 0) {
        // Mirrored about the area's vertical centre line.  A mirroring transform rather
        // than a negative-width rectangle: the same result on every GDI+.
        float mcx = originX + areaW - (m_drawCentreX - originX);
        m.RotateAt(-m_drawAngle, PointF(mcx, m_drawCentreY));
        m.Translate(mcx, 0);
        m.Scale(-1.0f, 1.0f);
        m.Translate(-mcx, 0);
        dest.X = mcx - m_printedWidth / 2.0f;
    } else {
        m.RotateAt(m_drawAngle, PointF(m_drawCentreX, m_drawCentreY));
    }
    g->SetTransform(&m);
    g->DrawImage(source, dest, 0, 0, (REAL)pw, (REAL)ph, UnitPixel, &ia);
    g->Restore(state);
}

void CImageLayer::DrawOutline(Graphics* g)
{
    if (!g)
        return;
    HatchBrush hatch(HatchStyle50Percent, Color(255, 0, 0, 255), Color(0, 0, 255, 255));
    PointF pts[5] = {m_corners[0], m_corners[1], m_corners[2], m_corners[3], m_corners[0]};
    GraphicsPath path;
    path.AddLines(pts, 5);
    StrokePathPrecise(g, &path, (REAL)m_areaWidth / 15000.0f, Color(255, 0, 0, 255), &hatch, PenAlignmentInset);
}

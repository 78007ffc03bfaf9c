// Drawing a text item: speech bubble, colour fill, image fill and outline, placed by
// its centre and rotation (mirrored left to right when printing with the mirror flag).
#include "model/design/TextItem.h"
#include "model/gfx/CornerGradient.h"
#include "model/gfx/LayerArrayDraw.h"
#include "model/gfx/ShapeOutline.h"

using namespace Gdiplus;

namespace {

const REAL kFivePositions[5] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};

// Colour table of a fill or outline: four-corner order for kind 3, else gradient order.
void BuildColourTable(Color out[5], const COLORREF c[5], int kind, float opacity)
{
    if (kind == 3) {
        out[0] = ArgbFromColorref(255, c[0]);
        out[1] = ArgbFromColorref(255, c[1]);
        out[2] = ArgbFromColorref(255, c[3]);
        out[3] = ArgbFromColorref(255, c[2]);
        out[4] = ArgbFromColorref(255, c[4]);
    } else {
        BYTE a = AlphaFromOpacity(opacity);
        out[0] = ArgbFromColorref(a, c[0]);
        out[1] = ArgbFromColorref(a, c[1]);
        out[2] = ArgbFromColorref(a, c[4]);
        out[3] = ArgbFromColorref(a, c[2]);
        out[4] = ArgbFromColorref(a, c[3]);
    }
}

// Four-corner gradient on rectangle b placed by m: corners from table entries 1 to 4
// clockwise from the top-left, the centre from entry 5.
PathGradientBrush* MakeCornerBrush(const RectF& b, const Matrix& m, const Color table[5], float opacity)
{
    GraphicsPath rect;
    rect.AddRectangle(b);
    rect.Transform(&m);
    PathGradientBrush* brush = new PathGradientBrush(&rect);
    REAL factors[3] = {0.0f, opacity * 0.5f, opacity};
    REAL positions[3] = {0.0f, 0.5f, 1.0f};
    brush->SetBlend(factors, positions, 3);
    brush->SetCenterColor(table[4]);
    PointF centre(b.X + b.Width / 2, b.Y + b.Height / 2);
    m.TransformPoints(&centre, 1);
    brush->SetCenterPoint(centre);
    Color corners[4] = {table[0], table[1], table[2], table[3]};
    INT count = 4;
    brush->SetSurroundColors(corners, &count);
    return brush;
}

} // namespace

void CTextItem::Draw(Graphics* g, PointF origin)
{
    if (!g)
        return;
    Color fillTable[5];
    BuildColourTable(fillTable, m_fillColour, m_fillKind, m_fillOpacity);

    GraphicsPath textPath(FillModeAlternate);
    BuildTextPath(&textPath);
    UpdateOutline(&textPath);
    RectF B;
    textPath.GetBounds(&B);
    m_textBounds = B;
    if (textPath.GetPointCount() == 0)
        return; // empty text or missing face: nothing to draw

    GraphicsPath bubble(FillModeAlternate);
    if (!m_arcLayout && (m_bubbleKind == 1 || m_bubbleKind == 2)) {
        if (m_bubbleKind == 1)
            AddSpeechBubblePath1(&bubble, m_bubbleTailPosition, m_bubbleTailWidth, m_bubbleTailLength * B.Height,
                                 B.Width, B.Height);
        else
            AddSpeechBubblePath2(&bubble, m_bubbleTailPosition, m_bubbleTailWidth, m_bubbleTailLength * B.Height,
                                 B.Width, B.Height);
    }

    Matrix placement;
    if (IsMirroredPrinting()) {
        float mx = (origin.X + m_areaWidth - m_position.X) + origin.X;
        placement.Scale(-1.0f, 1.0f);
        placement.RotateAt(m_rotation, PointF(-mx, m_position.Y));
        placement.Translate(-mx, m_position.Y);
    } else {
        placement.RotateAt(m_rotation, m_position);
        placement.Translate(m_position.X, m_position.Y);
    }
    textPath.Transform(&placement);
    bubble.Transform(&placement);
    RectF T;
    textPath.GetBounds(&T);
    PointF tl(T.X, T.Y), br(T.GetRight(), T.GetBottom());

    if (!m_arcLayout && bubble.GetPointCount() > 0) {
        BYTE a = AlphaFromOpacity(m_bubbleOpacity);
        SolidBrush fill(ArgbFromColorref(a, m_bubbleFillColour));
        g->FillPath(&fill, &bubble);
        if (m_bubbleLineThickness > 0) {
            StrokePathPrecise(g, &bubble, (REAL)m_bubbleLineThickness * 0.005f,
                              ArgbFromColorref(a, m_bubbleLineColour));
        }
    }

    switch (m_fillKind) {
    case 1: {
        LinearGradientBrush solid(tl, br, fillTable[0], fillTable[0]);
        g->FillPath(&solid, &textPath);
        break;
    }
    case 2: {
        LinearGradientBrush linear(B, fillTable[0], fillTable[1], (REAL)m_gradientAngle + 0.1f, TRUE);
        linear.SetInterpolationColors(fillTable, kFivePositions, 5);
        Matrix* t = placement.Clone();
        t->RotateAt((REAL)m_gradientAngle, m_position, MatrixOrderPrepend);
        linear.SetTransform(t);
        delete t;
        g->FillPath(&linear, &textPath);
        break;
    }
    case 3:
        CornerGradient::OnRect(B, fillTable, m_fillOpacity, &placement).Fill(g, &textPath);
        break;
    default:
        break;
    }

    if (m_fillImage) {
        ImageAttributes ia;
        ia.SetWrapMode(WrapModeTile);
        if (m_imageOpacity < 100)
            SetOpacityMatrix(&ia, m_imageOpacity);
        float s = 0.01f * m_imageTileScale * (float)m_fontSize / 100.0f;
        Matrix tiles; // tile pixels to inches: scaled, turned with the text, at its centre
        tiles.Scale(s, s, MatrixOrderPrepend);
        tiles.Rotate((REAL)m_imageRotation + m_rotation, MatrixOrderAppend);
        tiles.Translate(m_position.X, m_position.Y, MatrixOrderAppend);
        FillTiled(g, &textPath, m_fillImage, &ia, tiles);
    }

    if (m_outlineSize > 0) {
        Color outlineTable[5];
        BuildColourTable(outlineTable, m_outlineColour, m_outlineKind, m_outlineOpacity);
        BYTE a = AlphaFromOpacity(m_outlineOpacity);
        Brush* brush = NULL;
        switch (m_outlineKind) {
        case 0:
            brush = new LinearGradientBrush(tl, br, Color(255, 255, 255, 255), Color(255, 255, 255, 255));
            break;
        case 1:
            brush = new LinearGradientBrush(tl, br, outlineTable[0], outlineTable[0]);
            break;
        case 2: {
            LinearGradientBrush* linear =
                new LinearGradientBrush(B, ArgbFromColorref(a, m_fillColour[0]), ArgbFromColorref(a, m_fillColour[1]),
                                        (REAL)m_gradientAngle + 0.1f, TRUE);
            linear->SetInterpolationColors(outlineTable, kFivePositions, 5);
            linear->SetTransform(&placement);
            brush = linear;
            break;
        }
        case 3:
            brush = MakeCornerBrush(B, placement, outlineTable, m_outlineOpacity);
            break;
        default:
            break;
        }
        // A brush that could not be made leaves the pen its solid colour.
        StrokePathPrecise(g, &textPath, (REAL)m_outlineSize * 0.005f, ArgbFromColorref(a, m_outlineColour[0]),
                          brush && brush->GetLastStatus() == Ok ? brush : NULL);
        delete brush;
    }
}

void CTextItem::DrawSelectionFrame(Graphics* g)
{
    if (!g)
        return;
    HatchBrush hatch(HatchStyle50Percent, Color(255, 0, 0, 255), Color(0, 0, 0, 0));
    GraphicsPath box;
    if (m_arcLayout) {
        box.AddEllipse(m_position.X - m_arcRadius, m_position.Y - m_arcRadius, 2 * m_arcRadius, 2 * m_arcRadius);
    } else {
        box.AddRectangle(m_textBounds);
        Matrix placement;
        placement.RotateAt(m_rotation, m_position);
        placement.Translate(m_position.X, m_position.Y);
        box.Transform(&placement);
    }
    StrokePathPrecise(g, &box, m_areaWidth / 150.0f, Color(255, 0, 0, 255), &hatch);
}

// One text of a design: a string in a TrueType face, straight or bent onto a circle,
// filled (colour, gradient or tiled image), outlined, optionally on a speech bubble,
// placed by its centre in inches of its design area and rotated about it.
#pragma once

#include "fw/fw.h"

#include <objidl.h>
#include <gdiplus.h>

class CTextItem
{
public:
    CTextItem();
    virtual ~CTextItem();

    void SetPrintableSize(float width, float height);
    void Draw(Gdiplus::Graphics* g, Gdiplus::PointF origin);
    void BuildViewOutline(float zoom, int dx, int dy);
    void MoveBy(int dx, int dy, float zoom);
    void ResizeByHandle(float scale, int handle, float zoom);
    bool ContainsPoint(int x, int y, float zoom) const;
    void CopyTo(CTextItem* other) const;

    bool LoadFillImage(LPCTSTR path);
    bool SetFillImage(Gdiplus::Bitmap* bitmap);
    void ClearFillImage();
    Gdiplus::Bitmap* GetFillImage() const { return m_fillImage; }
    void DrawSelectionFrame(Gdiplus::Graphics* g);

    // Text record of the design file (defined with the design file).
    void Save(IStorage* storage, IStream* stream);
    void Load(IStorage* storage, IStream* stream);

    // Geometry helpers.
    void BuildTextPath(Gdiplus::GraphicsPath* path);
    void BuildArcTextPath(Gdiplus::GraphicsPath* path, float radius, const CString& text, float emSize, int below,
                          const CString& face);
    static Gdiplus::PointF RotatePoint(Gdiplus::PointF pt, double degrees, double scale);
    static void AppendPathPoints(Gdiplus::GraphicsPath* out, const Gdiplus::PointF* points, const BYTE* types,
                                 int count);
    static Gdiplus::RectF GetPointBounds(const Gdiplus::GraphicsPath* path);
    void UpdateOutline(const Gdiplus::GraphicsPath* textPath);
    Gdiplus::SizeF GetOutlineExtent() const;
    Gdiplus::GraphicsPath* GetViewOutline() { return &m_viewOutline; }
    const Gdiplus::PointF* GetCorners() const { return m_corners; }

    // Objects alive in this process (leak checks).
    static long GetLiveCount();

    // Fields, in the order the design keeps them.
    int m_fontSize; // em size = font size / 100 inches; kept >= 1
    BYTE m_selected;
    int m_arcBelow;
    float m_rotation; // degrees about the centre
    CString m_text;
    CString m_fontFace;
    int m_arcLayout;
    float m_arcRadius; // inches; 0 or less lays the text out straight
    COLORREF m_fillColour[5];
    int m_gradientAngle;
    int m_outlineSize; // pen width = size x 0.005 inch
    float m_imageTileScale;
    int m_imageOpacity; // percent
    int m_imageRotation;
    int m_fillKind; // 1 solid, 2 linear, 3 four-corner; other: none
    int m_frameIndex;
    Gdiplus::RectF m_textBounds;
    float m_areaWidth, m_areaHeight;
    BYTE m_bold, m_italic, m_underline;
    float m_fillOpacity;
    COLORREF m_outlineColour[5];
    float m_outlineOpacity;
    int m_outlineKind;        // 0 white, 1 solid, 2 linear, 3 four-corner
    int m_bubbleKind;         // 0 none, 1 or 2
    int m_bubbleTailPosition; // 1 to 8
    COLORREF m_bubbleFillColour;
    COLORREF m_bubbleLineColour;
    float m_bubbleOpacity;
    float m_bubbleTailWidth;
    float m_bubbleTailLength;
    int m_bubbleLineThickness;
    Gdiplus::GraphicsPath m_viewOutline;
    Gdiplus::PointF m_position;
    CRgn m_hitRegion; // hundredths of an inch
    Gdiplus::PointF m_corners[5];

private:
    CTextItem(const CTextItem&) = delete;
    CTextItem& operator=(const CTextItem&) = delete;

    int GetStyle(bool withUnderline, const Gdiplus::FontFamily& family) const;

    Gdiplus::Bitmap* m_fillImage;
};

// One bitmap placed on a design area.  The layer owns the image as read (the master
// bitmap) and three working copies: a thumbnail for lists, a 1000-pixel screen copy
// that the canvas draws and a print copy made only while printing.  Placement is in
// inches relative to the area's top-left corner; hit tests are in view pixels.
#pragma once

#include "fw/fw.h"

#include <objidl.h>
#include <gdiplus.h>

class CImageLayer
{
public:
    CImageLayer();
    virtual ~CImageLayer();

    // Loading.
    bool LoadFromFile(LPCTSTR path);
    bool LoadFromStream(IStream* stream);
    bool LoadFromMemory(const void* bytes, size_t size);
    bool LoadMaskFromResource(UINT bitmapId);
    void SetBitmap(Gdiplus::Bitmap* source);
    int Refresh(Gdiplus::Bitmap* source);
    void SetPlacement(CRect designRect, int areaWidth, int areaHeight);
    void CopyTo(CImageLayer* target) const;

    // Geometry and drawing.
    void UpdatePrintSize(float margin);
    void Draw(Gdiplus::Graphics* g, float margin, float originX, float originY, int cellAngle);
    // Pixels per inch of the printed image, rounded to nearest for showing.
    int GetDpi() const;
    Gdiplus::SizeF GetExtent() const;
    void FitToArea();
    void CentreInArea();
    void ScaleFromHandle(float factor, int handle);
    void MoveBy(int dx, int dy, float pixelsPerInch);
    bool HitTest(int x, int y, float pixelsPerInch) const;
    void UpdateOutlinePath(float pixelsPerInch, int offsetX, int offsetY);
    void SetCentre(double x, double y)
    {
        m_centreX = x;
        m_centreY = y;
    }
    Gdiplus::SizeF GetScaledPixelSize() const;
    void DrawOutline(Gdiplus::Graphics* g);

    // Working copies.
    bool BuildThumbnail();
    bool BuildScreenCopy();
    bool BuildPrintCopy(float pixelsPerInch);
    bool FreePrintCopy();

    // Stored form inside the design file (defined with the design file).
    void Save(IStorage* storage, IStream* recordStream, LPCTSTR streamName);
    void Load(IStorage* storage, IStream* recordStream);

    bool HasBitmap() const { return m_master != NULL; }
    Gdiplus::Bitmap* GetMasterBitmap() const { return m_master; }
    Gdiplus::Bitmap* GetThumbnail() const { return m_thumbnail; }
    Gdiplus::Bitmap* GetScreenCopy() const { return m_screenCopy; }
    Gdiplus::Bitmap* GetPrintCopy() const { return m_printCopy; }
    Gdiplus::GraphicsPath* GetOutlinePath() { return &m_outlinePath; }
    const Gdiplus::PointF* GetCorners() const { return m_corners; }
    // Width of the master bitmap in inches at its own resolution (150 pixels per inch
    // when the image carries none); 0 without a bitmap.
    float GetNaturalWidth() const;

    // Objects alive in this process (leak checks).
    static long GetLiveCount();

    // Fields, in the order the design keeps them.
    bool m_fitToArea;
    float m_scale;
    bool m_loaded;
    float m_angle;      // degrees about the centre
    int m_transparency; // percent, 100 opaque
    bool m_selected;
    int m_frameIndex;
    float m_boundsLeft, m_boundsTop, m_boundsRight, m_boundsBottom;
    bool m_dim; // draw the colours at 70 percent
    CString m_filePath;
    Gdiplus::GraphicsPath m_outlinePath; // view pixels, for the tracker
    CRect m_designRect;                  // view pixels
    int m_areaWidth, m_areaHeight;       // hundredths of an inch
    float m_printedWidth, m_printedHeight;
    float m_drawCentreX, m_drawCentreY;
    float m_drawLeft, m_drawTop;
    float m_drawAngle;
    CRgn m_hitRegion; // hundredths of an inch
    Gdiplus::PointF m_corners[4];
    double m_centreX, m_centreY;

private:
    CImageLayer(const CImageLayer&) = delete;
    CImageLayer& operator=(const CImageLayer&) = delete;

    bool TakeMaster(Gdiplus::Bitmap* owned);
    void UpdateCorners();
    float MinimumPrintedSize() const;

    Gdiplus::Bitmap* m_master;
    Gdiplus::Bitmap* m_thumbnail;
    Gdiplus::Bitmap* m_screenCopy;
    Gdiplus::Bitmap* m_printCopy;
};

// Pixels per inch of an image that states no resolution of its own.
const float kUnstatedResolution = 150.0f;

// Decodes an image held in memory into a bitmap the caller owns, independent of the
// bytes (Windows' decoder may read its source lazily).  The bitmap has the resolution the
// file states (ImageBytesResolution), else 150 pixels per inch.  NULL when the bytes are
// no image.
Gdiplus::Bitmap* DecodeImageBytes(const void* bytes, size_t size);
// Reads and decodes an image file the same way; NULL when it cannot.
Gdiplus::Bitmap* LoadImageFile(LPCTSTR path);

struct ImageResolution
{
    float x, y; // pixels per inch
};
// The resolution the encoded image states itself: PNG pHYs in metres, JPEG JFIF density
// in dots per inch or centimetre or its EXIF block, BMP pixels per metre, TIFF resolution
// tags in inches or centimetres.  False (out untouched) when it states none: no such
// record, a PNG or TIFF without a unit, a JFIF density of units 0, and every other kind
// of image (GIF, icons...).
bool ImageBytesResolution(const void* bytes, size_t size, ImageResolution* out);
bool ImageBytesHaveResolution(const void* bytes, size_t size);
// An exact 32-bit ARGB copy that owns its pixels, keeping the resolution.
Gdiplus::Bitmap* CopyBitmapPixels(Gdiplus::Bitmap* source);

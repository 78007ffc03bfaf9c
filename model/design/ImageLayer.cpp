// Image layer: loading, working copies, placement and hit tests.  Drawing is in
// ImageLayerDraw.cpp, decoding in ImageLayerDecode.cpp.
#include "model/design/ImageLayer.h"
#include "base/Globals.h"

#include <math.h>
#include <vector>

using namespace Gdiplus;

namespace {

LONG g_liveLayers = 0;

bool ReadWholeStream(IStream* stream, std::vector<BYTE>& out)
{
    BYTE chunk[65536];
    for (;;) {
        ULONG got = 0;
        HRESULT hr = stream->Read(chunk, sizeof(chunk), &got);
        if (FAILED(hr))
            return false;
        if (got == 0)
            break;
        if (out.size() + got > 0x40000000)
            return false;
        out.insert(out.end(), chunk, chunk + got);
        if (hr == S_FALSE)
            break;
    }
    return !out.empty();
}

// A new bitmap of the given size with `source` drawn scaled over it.
Bitmap* ScaledCopy(Bitmap* source, int w, int h, PixelFormat format, bool whiteBack, bool dim)
{
    if (w < 1)
        w = 1;
    if (h < 1)
        h = 1;
    Bitmap* copy = new Bitmap(w, h, format);
    if (copy->GetLastStatus() != Ok) {
        delete copy;
        return NULL;
    }
    Graphics g(copy);
    if (whiteBack)
        g.Clear(Color(255, 255, 255, 255));
    ImageAttributes ia;
    ia.SetWrapMode(WrapModeTileFlipXY); // no faded border from sampling past the edge
    if (dim)
        SetDimMatrix(&ia);
    g.DrawImage(source, Rect(0, 0, w, h), 0, 0, (INT)source->GetWidth(), (INT)source->GetHeight(), UnitPixel, &ia);
    return copy;
}

} // namespace

long CImageLayer::GetLiveCount() { return g_liveLayers; }

CImageLayer::CImageLayer()
    : m_fitToArea(false), m_scale(1.0f), m_loaded(false), m_angle(0.0f), m_transparency(100), m_selected(false),
      m_frameIndex(-1), m_boundsLeft(0), m_boundsTop(0), m_boundsRight(0), m_boundsBottom(0), m_dim(false),
      m_outlinePath(FillModeAlternate), m_designRect(0, 0, 0, 0), m_areaWidth(0), m_areaHeight(0), m_printedWidth(0),
      m_printedHeight(0), m_drawCentreX(0), m_drawCentreY(0), m_drawLeft(0), m_drawTop(0), m_drawAngle(0),
      m_centreX(3.75), m_centreY(5.0), m_master(NULL), m_thumbnail(NULL), m_screenCopy(NULL), m_printCopy(NULL)
{
    InterlockedIncrement(&g_liveLayers);
    m_hitRegion.CreateRectRgn(0, 0, 0, 0);
    for (PointF& c : m_corners)
        c = PointF(0, 0);
}

CImageLayer::~CImageLayer()
{
    delete m_master;
    delete m_thumbnail;
    delete m_screenCopy;
    delete m_printCopy;
    InterlockedDecrement(&g_liveLayers);
}

bool CImageLayer::TakeMaster(Bitmap* owned)
{
    if (!owned)
        return false;
    delete m_master;
    m_master = owned;
    BuildThumbnail();
    BuildScreenCopy();
    return true;
}

bool CImageLayer::LoadFromFile(LPCTSTR path)
{
    m_filePath = path;
    CWaitCursor wait;
    if (!TakeMaster(LoadImageFile(path)))
        return false;
    UpdatePrintSize(0.0f);
    FitToArea();
    m_loaded = true;
    return true;
}

bool CImageLayer::LoadFromMemory(const void* bytes, size_t size)
{
    if (!TakeMaster(DecodeImageBytes(bytes, size)))
        return false;
    UpdatePrintSize(0.0f);
    m_loaded = true;
    return true;
}

bool CImageLayer::LoadFromStream(IStream* stream)
{
    m_filePath.Empty();
    std::vector<BYTE> bytes;
    if (!stream || !ReadWholeStream(stream, bytes))
        return false;
    return LoadFromMemory(&bytes[0], bytes.size());
}

bool CImageLayer::LoadMaskFromResource(UINT bitmapId)
{
    HBITMAP hbm =
        (HBITMAP)LoadImageA(FwGetResourceHandle(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!hbm)
        return false;
    Bitmap* source = Bitmap::FromHBITMAP(hbm, NULL);
    Bitmap* rgb = CopyBitmapPixels(source);
    delete source;
    DeleteObject(hbm);
    if (!rgb)
        return false;
    int w = (int)rgb->GetWidth(), h = (int)rgb->GetHeight();
    Bitmap* mask = CreateArgbBitmap(w, h);
    bool ok = false;
    if (mask) {
        Rect all(0, 0, w, h);
        BitmapData from, to;
        if (rgb->LockBits(&all, ImageLockModeRead, PixelFormat32bppARGB, &from) == Ok) {
            if (mask->LockBits(&all, ImageLockModeWrite, PixelFormat32bppARGB, &to) == Ok) {
                for (int y = 0; y < h; y++) {
                    const DWORD* s = (const DWORD*)((const BYTE*)from.Scan0 + (INT_PTR)y * from.Stride);
                    DWORD* d = (DWORD*)((BYTE*)to.Scan0 + (INT_PTR)y * to.Stride);
                    for (int x = 0; x < w; x++)
                        d[x] = (s[x] & 0x00FFFFFF) == 0 ? 0x00FFFFFF : 0xFFFFFFFF;
                }
                mask->UnlockBits(&to);
                ok = true;
            }
            rgb->UnlockBits(&from);
        }
    }
    delete rgb;
    if (!ok) {
        delete mask;
        return false;
    }
    TakeMaster(mask);
    UpdatePrintSize(0.0f);
    CentreInArea();
    m_fitToArea = true;
    m_loaded = true;
    return true;
}

void CImageLayer::SetBitmap(Bitmap* source)
{
    // Copied before the old master goes: the source may be that very bitmap (an image
    // edited in place and handed back).
    Bitmap* copy = source ? CopyBitmapPixels(source) : NULL;
    delete m_master;
    m_master = NULL;
    if (copy && TakeMaster(copy))
        return;
    // Without a master the working copies would show a stale image.
    delete m_thumbnail;
    delete m_screenCopy;
    delete m_printCopy;
    m_thumbnail = m_screenCopy = m_printCopy = NULL;
}

int CImageLayer::Refresh(Bitmap* source)
{
    SetBitmap(source);
    UpdatePrintSize(0.0f);
    FitToArea();
    m_loaded = true;
    return 0;
}

void CImageLayer::SetPlacement(CRect designRect, int areaWidth, int areaHeight)
{
    m_designRect = designRect;
    m_areaWidth = areaWidth;
    m_areaHeight = areaHeight;
}

void CImageLayer::CopyTo(CImageLayer* target) const
{
    if (!target || target == this)
        return;
    target->m_printedWidth = m_printedWidth;
    target->m_printedHeight = m_printedHeight;
    target->m_scale = m_scale;
    target->m_drawCentreX = m_drawCentreX;
    target->m_drawCentreY = m_drawCentreY;
    target->m_drawLeft = m_drawLeft;
    target->m_drawTop = m_drawTop;
    target->m_drawAngle = m_drawAngle;
    target->m_selected = m_selected;
    target->m_centreX = m_centreX;
    target->m_centreY = m_centreY;
    target->m_frameIndex = m_frameIndex;
    target->m_transparency = m_transparency;
    target->m_designRect = m_designRect;
    target->m_areaWidth = m_areaWidth;
    target->m_areaHeight = m_areaHeight;
    target->m_loaded = m_loaded;
    target->m_filePath = m_filePath;
    target->m_angle = m_angle;
    target->m_fitToArea = m_fitToArea;
    target->SetBitmap(m_master);
    delete target->m_thumbnail;
    delete target->m_screenCopy;
    delete target->m_printCopy;
    target->m_thumbnail = CopyBitmapPixels(m_thumbnail);
    target->m_screenCopy = CopyBitmapPixels(m_screenCopy);
    target->m_printCopy = CopyBitmapPixels(m_printCopy);
}

float CImageLayer::GetNaturalWidth() const
{
    if (!m_master)
        return 0.0f;
    float r = m_master->GetHorizontalResolution();
    if (r <= 0)
        r = 150.0f;
    return (float)m_master->GetWidth() / r;
}

void CImageLayer::UpdatePrintSize(float margin)
{
    // A layer without a bitmap keeps every value as it is (a failed load or a missing
    // stream must still save back what was read).
    if (!m_master)
        return;
    m_drawAngle = m_angle;
    if (m_fitToArea)
        m_scale = 1.0f;
    float resolution = m_master->GetHorizontalResolution();
    if (resolution <= 0)
        resolution = 150.0f;
    if (!m_fitToArea) {
        m_printedWidth = (float)m_master->GetWidth() / resolution * m_scale;
        m_printedHeight = (float)m_master->GetHeight() / resolution * m_scale;
    } else {
        m_printedWidth = ((float)m_areaWidth / 100.0f - 2.0f * margin) * 1.015f;
        m_printedHeight = ((float)m_areaHeight / 100.0f - 2.0f * margin) * 1.015f;
    }
    m_drawCentreX = (float)m_centreX;
    m_drawCentreY = (float)m_centreY;
    m_drawLeft = m_drawCentreX - m_printedWidth / 2.0f;
    m_drawTop = m_drawCentreY - m_printedHeight / 2.0f;
    UpdateCorners();
}

void CImageLayer::UpdateCorners()
{
    float w = m_printedWidth, h = m_printedHeight;
    const PointF base[4] = {PointF(-w / 2, -h / 2), PointF(w / 2, -h / 2), PointF(w / 2, h / 2), PointF(-w / 2, h / 2)};
    double a = m_drawAngle / 360.0 * 6.283185307;
    double c = cos(a), s = sin(a);
    m_boundsLeft = m_boundsTop = 1000.0f;
    m_boundsRight = m_boundsBottom = 0.0f;
    POINT poly[5];
    for (int i = 0; i < 4; i++) {
        float x = (float)(base[i].X * c - base[i].Y * s) + (float)m_centreX;
        float y = (float)(base[i].X * s + base[i].Y * c) + (float)m_centreY;
        m_corners[i] = PointF(x, y);
        m_boundsLeft = x < m_boundsLeft ? x : m_boundsLeft;
        m_boundsTop = y < m_boundsTop ? y : m_boundsTop;
        m_boundsRight = x > m_boundsRight ? x : m_boundsRight;
        m_boundsBottom = y > m_boundsBottom ? y : m_boundsBottom;
        poly[i].x = (LONG)(x * 100.0f);
        poly[i].y = (LONG)(y * 100.0f);
    }
    poly[4] = poly[0];
    m_hitRegion.DeleteObject();
    if (!m_hitRegion.CreatePolygonRgn(poly, 5, ALTERNATE))
        m_hitRegion.CreateRectRgn(0, 0, 0, 0);
}

int CImageLayer::GetDpi() const
{
    if (!m_master || !(m_printedWidth > 0))
        return 0;
    // Rounded: a 300-dpi image must not show "299" (the printed width is a float).
    return (int)floor((float)m_master->GetWidth() / m_printedWidth + 0.5f);
}

SizeF CImageLayer::GetExtent() const
{
    float minX = 1000, minY = 1000, maxX = -1000, maxY = -1000;
    for (const PointF& c : m_corners) {
        minX = c.X < minX ? c.X : minX;
        minY = c.Y < minY ? c.Y : minY;
        maxX = c.X > maxX ? c.X : maxX;
        maxY = c.Y > maxY ? c.Y : maxY;
    }
    return SizeF(maxX - minX, maxY - minY);
}

void CImageLayer::FitToArea()
{
    if (!m_master)
        return;
    SizeF box = GetExtent();
    // An empty box or area has no ratio to fit to: only centre.
    if (box.Width > 0 && box.Height > 0 && m_areaWidth > 0 && m_areaHeight > 0) {
        float ratio = (float)m_areaWidth / (float)m_areaHeight;
        if (box.Width / box.Height > ratio)
            m_scale = m_scale * ((float)m_areaWidth / 100.0f) / box.Width;
        else
            m_scale = m_scale * ((float)m_areaHeight / 100.0f) / box.Height;
    }
    CentreInArea();
}

void CImageLayer::CentreInArea()
{
    m_centreX = (float)m_areaWidth / 100.0f / 2.0f;
    m_centreY = (float)m_areaHeight / 100.0f / 2.0f;
}

float CImageLayer::MinimumPrintedSize() const
{
    if (m_designRect.Width() > 0 && m_areaWidth > 0)
        return 1.0f / ((float)m_designRect.Width() / ((float)m_areaWidth / 100.0f));
    return 1.0f / 96.0f;
}

void CImageLayer::ScaleFromHandle(float factor, int handle)
{
    if (!m_master || !(factor > 0 && factor < 1e30f))
        return;
    UpdatePrintSize(0.0f);
    SizeF e0 = GetExtent();
    m_scale = m_scale * factor;
    if (!m_fitToArea) {
        // Never shrink below one view pixel: a zero size would reach divisions and an
        // empty hit region the user could not grab again.
        float natural = GetNaturalWidth();
        float naturalH = natural * (float)m_master->GetHeight() / (float)m_master->GetWidth();
        float smaller = natural < naturalH ? natural : naturalH;
        float minimum = MinimumPrintedSize();
        if (smaller > 0 && smaller * m_scale < minimum)
            m_scale = minimum / smaller;
    }
    UpdatePrintSize(0.0f);
    SizeF e1 = GetExtent();
    double dx = (e1.Width - e0.Width) / 2.0, dy = (e1.Height - e0.Height) / 2.0;
    switch (handle) {
    case 0:
        m_centreX += dx;
        m_centreY += dy;
        break;
    case 1:
        m_centreY += dy;
        break;
    case 2:
        m_centreX -= dx;
        m_centreY += dy;
        break;
    case 3:
        m_centreX -= dx;
        break;
    case 4:
        m_centreX -= dx;
        m_centreY -= dy;
        break;
    case 5:
        m_centreY -= dy;
        break;
    case 6:
        m_centreX += dx;
        m_centreY -= dy;
        break;
    case 7:
        m_centreX += dx;
        break;
    default:
        break;
    }
}

void CImageLayer::MoveBy(int dx, int dy, float pixelsPerInch)
{
    if (!(pixelsPerInch > 0))
        return;
    m_centreX += dx / pixelsPerInch;
    m_centreY += dy / pixelsPerInch;
}

bool CImageLayer::HitTest(int x, int y, float pixelsPerInch) const
{
    if (!m_master || !(pixelsPerInch > 0))
        return false;
    return m_hitRegion.PtInRegion((int)((float)x / pixelsPerInch * 100.0f), (int)((float)y / pixelsPerInch * 100.0f)) !=
           FALSE;
}

void CImageLayer::UpdateOutlinePath(float pixelsPerInch, int offsetX, int offsetY)
{
    m_outlinePath.Reset();
    m_outlinePath.SetFillMode(FillModeAlternate);
    Point pts[5];
    for (int i = 0; i < 5; i++) {
        const PointF& c = m_corners[i % 4];
        pts[i] = Point((INT)(c.X * pixelsPerInch) + offsetX, (INT)(c.Y * pixelsPerInch) + offsetY);
    }
    m_outlinePath.AddPolygon(pts, 5);
}

SizeF CImageLayer::GetScaledPixelSize() const
{
    if (!m_master)
        return SizeF(0, 0);
    return SizeF((float)m_master->GetWidth() * m_scale, (float)m_master->GetHeight() * m_scale);
}

bool CImageLayer::BuildThumbnail()
{
    if (!m_master)
        return true;
    UINT w = m_master->GetWidth(), h = m_master->GetHeight();
    float s = 125.0f / (float)(w > h ? w : h);
    Bitmap* thumb = ScaledCopy(m_master, (int)(w * s), (int)(h * s), PixelFormat24bppRGB, true, m_dim);
    m_dim = false;
    delete m_thumbnail;
    m_thumbnail = thumb;
    return true;
}

bool CImageLayer::BuildScreenCopy()
{
    if (!m_master)
        return true;
    UINT w = m_master->GetWidth(), h = m_master->GetHeight();
    float s = 1000.0f / (float)(w > h ? w : h);
    Bitmap* copy = ScaledCopy(m_master, (int)(w * s), (int)(h * s), PixelFormat32bppARGB, false, false);
    if (copy) {
        // Same size in inches as the master, so a texture of it tiles at the image's size.
        copy->SetResolution(m_master->GetHorizontalResolution() * (float)copy->GetWidth() / (float)w,
                            m_master->GetVerticalResolution() * (float)copy->GetHeight() / (float)h);
    }
    delete m_screenCopy;
    m_screenCopy = copy;
    return true;
}

bool CImageLayer::BuildPrintCopy(float pixelsPerInch)
{
    if (!m_master || !(m_printedWidth > 0) || !(m_printedHeight > 0) || !(pixelsPerInch > 0))
        return true;
    UINT w = m_master->GetWidth(), h = m_master->GetHeight();
    float s = w > h ? pixelsPerInch * m_printedWidth / (float)w : pixelsPerInch * m_printedHeight / (float)h;
    float pw = (float)w * s, ph = (float)h * s;
    // A cap keeps a huge printed size from asking for gigabytes.
    const float cap = 12000.0f;
    if (pw > cap || ph > cap) {
        float k = cap / (pw > ph ? pw : ph);
        pw *= k;
        ph *= k;
    }
    Bitmap* copy = ScaledCopy(m_master, (int)pw, (int)ph, PixelFormat32bppARGB, false, false);
    delete m_printCopy;
    m_printCopy = copy;
    return true;
}

bool CImageLayer::FreePrintCopy()
{
    delete m_printCopy;
    m_printCopy = NULL;
    return true;
}

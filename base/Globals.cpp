#include "base/Globals.h"

#include <math.h>
#include <new>
#include <vector>

namespace {

BOOL g_displayMode = FALSE;
BOOL g_metric = FALSE;
int g_mirror = 0;
int g_printing = 0;
float g_fileVersion = 0.0f;
CLSID g_jpegEncoder = {};

} // namespace

void SetDisplayMode(BOOL on) { g_displayMode = on; }
BOOL GetDisplayMode() { return g_displayMode; }
void SetMetric(BOOL on) { g_metric = on; }
BOOL IsMetric() { return g_metric; }
void SetGlobalValueA(int mirror) { g_mirror = mirror; }
int GetGlobalValueA() { return g_mirror; }
void SetGlobalValueC(int printing) { g_printing = printing; }
int GetGlobalValueC() { return g_printing; }
void SetGlobalFloat(float version) { g_fileVersion = version; }
float GetGlobalFloat() { return g_fileVersion; }

int ToDisplayUnitsA(float inches) { return (int)(inches * (IsMetric() ? 254.0f : 100.0f)); }

float FromDisplayUnits(int units) { return (float)units / (IsMetric() ? 254.0f : 100.0f); }

int DisplayUnitsToHundredths(int units)
{
    // Tenths of a millimetre to hundredths of an inch, in floating point: whole inches
    // only would lose everything below 25.4 mm.
    if (!IsMetric())
        return units;
    return (int)((float)units / 254.0f * 100.0f);
}

int UnitsFiftyOrForty() { return IsMetric() ? 50 : 40; }

int HalveWhenMetric(int n) { return IsMetric() ? n / 2 : n; }

int DoubleWhenMetric(int n) { return IsMetric() ? n * 2 : n; }

void DrawWithCurrentStyle(Gdiplus::Graphics* graphics, BOOL printing)
{
    if (graphics == nullptr)
        return;
    if (!printing && !GetDisplayMode()) {
        graphics->SetSmoothingMode(Gdiplus::SmoothingModeNone);
        graphics->SetInterpolationMode(Gdiplus::InterpolationModeLowQuality);
        graphics->SetCompositingQuality(Gdiplus::CompositingQualityHighSpeed);
    } else {
        graphics->SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        graphics->SetInterpolationMode(Gdiplus::InterpolationModeHighQuality);
        graphics->SetCompositingQuality(Gdiplus::CompositingQualityHighQuality);
    }
}

float ComputeDrawingScale(CDC* dc, Gdiplus::Graphics* graphics, const CRect& rect, float printableWidth,
                          float printableHeight, double& xOffset, double& yOffset, double& width, double& height)
{
    float d = (float)dc->GetDeviceCaps(LOGPIXELSX);
    float g = graphics != nullptr ? graphics->GetDpiX() : d;
    float s = (float)rect.Width() / (printableWidth * g);
    float scale = d / g;
    // A printed page places the design itself: no offsets, never stale ones.
    xOffset = 0;
    yOffset = 0;
    if (!dc->IsPrinting() && s > 0 && s < 1e30f) { // an item without size has no scale
        scale = scale * s;
        xOffset = ((float)rect.left / d) / s;
        yOffset = ((float)rect.top / d) / s;
    }
    width = printableWidth;
    height = printableHeight;
    return scale;
}

namespace {

Gdiplus::Status SetMatrix(Gdiplus::ImageAttributes* attributes, float red, float green, float blue, float alpha)
{
    if (attributes == nullptr)
        return Gdiplus::InvalidParameter;
    Gdiplus::ColorMatrix matrix = {{
        {red, 0, 0, 0, 0},
        {0, green, 0, 0, 0},
        {0, 0, blue, 0, 0},
        {0, 0, 0, alpha, 0},
        {0, 0, 0, 0, 1.0f},
    }};
    return attributes->SetColorMatrix(&matrix, Gdiplus::ColorMatrixFlagsDefault, Gdiplus::ColorAdjustTypeBitmap);
}

} // namespace

Gdiplus::Status SetOpacityMatrix(Gdiplus::ImageAttributes* attributes, int percent)
{
    return SetMatrix(attributes, 1.0f, 1.0f, 1.0f, (float)percent * 0.01f);
}

Gdiplus::Status SetDimMatrix(Gdiplus::ImageAttributes* attributes)
{
    return SetMatrix(attributes, 0.7f, 0.7f, 0.7f, 1.0f);
}

void RewriteBitmapPixels(Gdiplus::Bitmap* bitmap)
{
    if (bitmap == nullptr)
        return;
    int width = (int)bitmap->GetWidth();
    int height = (int)bitmap->GetHeight();
    for (int x = 0; x < width; x++) {
        for (int y = 0; y < height; y++) {
            Gdiplus::Color colour;
            bitmap->GetPixel(x, y, &colour);
            bitmap->SetPixel(x, y, colour);
        }
    }
}

Gdiplus::Bitmap* CreateArgbBitmap(int width, int height)
{
    Gdiplus::Bitmap blank(width, height, PixelFormat32bppARGB);
    if (blank.GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    return blank.Clone(0, 0, width, height, PixelFormat32bppARGB);
}

int GetEncoderClsid(const WCHAR* mimeType, CLSID* clsid)
{
    UINT count = 0, size = 0;
    if (mimeType == nullptr || Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return -1;
    std::vector<BYTE> buffer;
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return -1;
    for (UINT i = 0; i < count; i++) {
        if (codecs[i].MimeType != nullptr && wcscmp(codecs[i].MimeType, mimeType) == 0) {
            if (clsid != nullptr)
                *clsid = codecs[i].Clsid;
            return (int)i;
        }
    }
    return -1;
}

void FindJpegEncoder() { GetEncoderClsid(L"image/jpeg", &g_jpegEncoder); }

CLSID GetJpegEncoderClsid() { return g_jpegEncoder; }

void RotatePointF(Gdiplus::PointF& pt, double degrees, double scale)
{
    double a = degrees / 360.0 * 6.283185307;
    double x = pt.X, y = pt.Y;
    pt.X = (float)((cos(a) * x - sin(a) * y) * scale);
    pt.Y = (float)((sin(a) * x + cos(a) * y) * scale);
}

void RotatePoint(POINT& pt, double degrees, double scale)
{
    double a = degrees / 360.0 * 6.283185307;
    double x = pt.x, y = pt.y;
    // floor(v + 0.5): adding 0.5 and truncating toward zero would round -3.9 to -3.
    pt.x = (LONG)floor((cos(a) * x - sin(a) * y) * scale + 0.5);
    pt.y = (LONG)floor((sin(a) * x + cos(a) * y) * scale + 0.5);
}

namespace {

// Owns one shared font; deleted at process exit.
struct SharedFont
{
    HFONT font;
    SharedFont(int height, int weight, BYTE italic, BYTE quality, BYTE pitchAndFamily, const char* face)
        : font(CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, quality, pitchAndFamily, face))
    {}
    ~SharedFont()
    {
        if (font)
            DeleteObject(font);
    }
    SharedFont(const SharedFont&) = delete;
    SharedFont& operator=(const SharedFont&) = delete;
};

} // namespace

HFONT GetDialogFont()
{
    static SharedFont shared(-12, FW_BOLD, FALSE, ANTIALIASED_QUALITY, FF_SWISS, "Arial");
    return shared.font;
}

HFONT GetSmallDialogFont()
{
    static SharedFont shared(8, FW_NORMAL, FALSE, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
    return shared.font;
}

HFONT GetTitleFont()
{
    static SharedFont shared(-32, FW_NORMAL, TRUE, DEFAULT_QUALITY, DEFAULT_PITCH, "Times New Roman");
    return shared.font;
}

CString FormatBubbleHelp(CString title, CString body, CString footer, int iconId)
{
    CString html;
    html.Format("<center><ilst idres=%d cx=10 cy=10 mask width=100%% height=100%%><br><h2>%s</h2>"
                "<br><hr color=blue></centre><br><justify><br>%s</justify><br=2><right><i>%s</i>"
                "</right>",
                iconId, (LPCTSTR)title, (LPCTSTR)body, (LPCTSTR)footer);
    return html;
}

// Renders pictures with the program's own drawing code, so that thumbnails and previews
// made at build time look exactly as the program draws them.  The asset check runs it for
// rows whose generator is "render"; its words after the output file are that row's params.
//
//   render_assets frame <style 0..14> <width> <height> <out.bmp|out.png> [key=value ...]
//       a design area of width x height pixels (96 to the inch) with the border frame of
//       that style drawn by the frame renderer alone (the frame-style thumbnails of the
//       frame panel); keys: background (the area's colour), colour (the frame's fill),
//       outline (its outline colour), size, intensity (the style's proportions), pen (the
//       outline's width as the record holds it), inches (the width of the area that the
//       picture shows; the picture's width at 96 to the inch unless given).
//   render_assets layout <layout id> <width> <height> <out.bmp|out.png> [key=value ...]
//       a catalogue paper layout as a sheet with its empty cells outlined, fitted and centred;
//       keys: background (around the sheet), colours=1 (each cell in its own colour).
//   render_assets paper <paper size id> <width> <height> <out.bmp|out.png> [background=RRGGBB]
//       a catalogue paper size as a bare sheet without cells, fitted and centred.
//
// Colours are RRGGBB in hexadecimal.  A .bmp is written with 24 bits per pixel, a .png with
// GDI+'s encoder.  Exit code 0 when written, 1 on a bad command line, 2 when the picture
// could not be drawn or written.
#include "base/Globals.h"
#include "model/design/DesignLayers.h"
#include "model/design/LayerArray.h"
#include "model/design/PaperPreview.h"
#include "model/gfx/Dib.h"
#include "model/gfx/LayerArrayDraw.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

using namespace Gdiplus;

namespace {

const int kMaxSide = 4096;

typedef std::map<std::string, std::string> Options;

// A top-down 32-bit DIB section selected into a memory DC for the drawing code.
class Surface
{
public:
    Surface(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<DWORD*>(bits);
        if (m_bits != nullptr && dc.CreateCompatibleDC(nullptr))
            m_old = dc.SelectObject(&m_bitmap);
    }
    ~Surface()
    {
        if (m_old != nullptr)
            dc.SelectObject(m_old);
    }
    bool IsValid() const { return m_old != nullptr; }
    void Fill(COLORREF colour)
    {
        CRect all(0, 0, m_width, m_height);
        dc.FillSolidRect(&all, colour);
        ::GdiFlush();
    }
    // The pixels as a GDI+ bitmap of 96 pixels to the inch, whatever the screen says.
    std::unique_ptr<Bitmap> Wrap()
    {
        std::unique_ptr<Bitmap> bitmap(
            new Bitmap(m_width, m_height, m_width * 4, PixelFormat32bppRGB, reinterpret_cast<BYTE*>(m_bits)));
        bitmap->SetResolution(96.0f, 96.0f);
        return bitmap;
    }
    // The picture as a 24-bit BMP, or as a PNG through GDI+.
    bool Save(const char* path)
    {
        ::GdiFlush();
        const size_t length = strlen(path);
        if (length > 4 && _stricmp(path + length - 4, ".png") == 0)
            return SavePng(path);
        CDib dib;
        if (!dib.Create(m_width, m_height, 24))
            return false;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x) {
                const DWORD p = m_bits[(size_t)y * m_width + x];
                dib.SetPixel24(x, y, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
            }
        return dib.SaveBmp(path);
    }

    CDC dc;

private:
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    bool SavePng(const char* path)
    {
        CLSID png;
        if (GetEncoderClsid(L"image/png", &png) < 0)
            return false;
        CStringW wide(path);
        return Wrap()->Save(wide, &png, nullptr) == Ok;
    }

    int m_width, m_height;
    CBitmap m_bitmap;
    DWORD* m_bits = nullptr;
    CBitmap* m_old = nullptr;
};

bool ParseInt(const char* text, int low, int high, int& out)
{
    char* end = nullptr;
    const long value = strtol(text, &end, 10);
    if (end == text || *end != 0 || value < low || value > high)
        return false;
    out = (int)value;
    return true;
}

// RRGGBB as a COLORREF.
bool ParseColour(const std::string& text, COLORREF& out)
{
    if (text.size() != 6)
        return false;
    char* end = nullptr;
    const unsigned long v = strtoul(text.c_str(), &end, 16);
    if (*end != 0)
        return false;
    out = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    return true;
}

bool ParseFloat(const std::string& text, float& out)
{
    char* end = nullptr;
    out = strtof(text.c_str(), &end);
    return end != text.c_str() && *end == 0;
}

// Reads key=value words; any key outside `known` is refused.
bool ParseOptions(int count, char** words, const char* const* known, Options& out)
{
    for (int i = 0; i < count; ++i) {
        const char* eq = strchr(words[i], '=');
        std::string key = eq ? std::string(words[i], (size_t)(eq - words[i])) : std::string();
        bool ok = false;
        for (const char* const* k = known; *k != nullptr; ++k)
            ok = ok || key == *k;
        if (!ok) {
            fprintf(stderr, "render_assets: unknown option \"%s\"\n", words[i]);
            return false;
        }
        out[key] = eq + 1;
    }
    return true;
}

bool ColourOption(const Options& options, const char* key, COLORREF& colour)
{
    Options::const_iterator it = options.find(key);
    if (it == options.end())
        return true;
    if (ParseColour(it->second, colour))
        return true;
    fprintf(stderr, "render_assets: %s=%s is not a colour RRGGBB\n", key, it->second.c_str());
    return false;
}

bool FloatOption(const Options& options, const char* key, float low, float high, float& value)
{
    Options::const_iterator it = options.find(key);
    if (it == options.end())
        return true;
    if (ParseFloat(it->second, value) && value >= low && value <= high)
        return true;
    fprintf(stderr, "render_assets: %s=%s is not a number from %g to %g\n", key, it->second.c_str(), low, high);
    return false;
}

int RenderFrame(int style, Surface& surface, int width, int height, const Options& options)
{
    CLayerArray layers;
    COLORREF background = RGB(255, 255, 255), fill = layers.GetFrameColour1(), outline = layers.GetFrameOutlineColour();
    float size = layers.GetFrameSize(), intensity = layers.GetFrameIntensity();
    float pen = layers.GetFrameOutlineWidth(), inches = width / 96.0f;
    if (!ColourOption(options, "background", background) || !ColourOption(options, "colour", fill) ||
        !ColourOption(options, "outline", outline) || !FloatOption(options, "size", 0.0f, 4.0f, size) ||
        !FloatOption(options, "intensity", 0.0f, 4.0f, intensity) || !FloatOption(options, "pen", 0.0f, 20.0f, pen) ||
        !FloatOption(options, "inches", 0.1f, 40.0f, inches))
        return 1;
    // The area is `inches` wide (the picture's width at 96 to the inch unless given) and as
    // high as the picture's proportions say, held in whole hundredths as the design holds
    // it; the page scale fits it into the picture.
    const int hundredthsW = (int)(inches * 100.0f + 0.5f);
    const int hundredthsH = (int)((float)hundredthsW * (float)height / (float)width + 0.5f);
    if (hundredthsW < 1 || hundredthsH < 1) {
        fprintf(stderr, "render_assets: a %d x %d picture of %g inches holds no design area\n", width, height,
                (double)inches);
        return 1;
    }
    layers.SetRecordRects(CRect(0, 0, width, height), hundredthsW, hundredthsH);
    layers.SetFrameStyle(style);
    layers.SetFrameColour1(fill);
    layers.SetFrameOutlineColour(outline);
    layers.SetFrameSize(size);
    layers.SetFrameIntensity(intensity);
    layers.SetFrameOutlineWidth(pen);

    surface.Fill(background);
    std::unique_ptr<Bitmap> canvas = surface.Wrap();
    Graphics g(canvas.get());
    DrawWithCurrentStyle(&g, FALSE);
    g.SetPageUnit(UnitInch);
    g.SetPageScale((width / 96.0f) / (hundredthsW / 100.0f));
    g.SetClip(RectF(0, 0, hundredthsW / 100.0f, hundredthsH / 100.0f));
    // The frame layer alone on the background colour: the picture of a frame style.
    DesignParts parts;
    parts.records = &layers;
    DesignLayerOptions shown;
    shown.layers = kLayerFrames;
    DrawDesignLayers(&g, parts, shown);
    g.Flush(FlushIntentionSync);
    return 0;
}

int RenderLayout(int id, Surface& surface, int width, int height, const Options& options)
{
    COLORREF background = RGB(255, 255, 255);
    if (!ColourOption(options, "background", background))
        return 1;
    if (GetGlobalObjectB()->GetCount() == 0)
        GetGlobalObjectB()->AddOversizedPapers();
    if (GetGlobalObjectA()->GetCount() == 0)
        GetGlobalObjectA()->AddBuiltInLayouts();
    const CPaperLayout* layout = GetGlobalObjectA()->Lookup((WORD)id);
    if (layout == nullptr) {
        fprintf(stderr, "render_assets: no paper layout %d in the catalogue\n", id);
        return 1;
    }
    if (layout->GetPaperSize() == nullptr) {
        fprintf(stderr, "render_assets: paper layout %d has no paper size to draw\n", id);
        return 2;
    }
    GetPaperLayout()->CopyFrom(*layout);
    CPaperPreview preview;
    preview.LoadSettings();
    // Every cell empty and outlined, as the layout window shows a layout being chosen.
    preview.SetDesignMode(0);
    preview.SetPerCellDesigns(1);
    Options::const_iterator colours = options.find("colours");
    preview.SetColourCells(colours != options.end() && colours->second == "1");
    preview.SetOutputSize(width, height);
    surface.Fill(background);
    preview.Draw(&surface.dc, 0, 0, TRUE);
    return 0;
}

int RenderPaper(int id, Surface& surface, int width, int height, const Options& options)
{
    COLORREF background = RGB(255, 255, 255);
    if (!ColourOption(options, "background", background))
        return 1;
    if (GetGlobalObjectB()->GetCount() == 0)
        GetGlobalObjectB()->AddOversizedPapers();
    const CPaperSize* paper = GetGlobalObjectB()->Lookup((WORD)id);
    if (paper == nullptr) {
        fprintf(stderr, "render_assets: no paper size %d in the catalogue\n", id);
        return 1;
    }
    CPaperPreview preview;
    preview.SetSheetSize(paper->GetPrintableSize());
    // No cell is outlined or filled: the sheet alone.
    preview.SetDesignMode(0);
    preview.SetPerCellDesigns(0);
    preview.SetOutputSize(width, height);
    surface.Fill(background);
    preview.Draw(&surface.dc, 0, 0, TRUE);
    return 0;
}

int Usage()
{
    fprintf(stderr,
            "usage: render_assets frame <style 0..14> <width> <height> <out.bmp|out.png> [key=value ...]\n"
            "       render_assets layout <layout id> <width> <height> <out.bmp|out.png> [key=value ...]\n"
            "       render_assets paper <paper size id> <width> <height> <out.bmp|out.png> [background=RRGGBB]\n");
    return 1;
}

int Run(int argc, char** argv)
{
    if (argc < 6)
        return Usage();
    const bool frame = strcmp(argv[1], "frame") == 0;
    const bool layout = strcmp(argv[1], "layout") == 0;
    const bool paper = strcmp(argv[1], "paper") == 0;
    int subject = 0, width = 0, height = 0;
    if ((!frame && !layout && !paper) || !ParseInt(argv[2], 0, frame ? 14 : 0xFFFF, subject) ||
        !ParseInt(argv[3], 1, kMaxSide, width) || !ParseInt(argv[4], 1, kMaxSide, height))
        return Usage();
    static const char* const frameKeys[] = {"background", "colour", "outline", "size",
                                            "intensity",  "pen",    "inches",  nullptr};
    static const char* const layoutKeys[] = {"background", "colours", nullptr};
    static const char* const paperKeys[] = {"background", nullptr};
    Options options;
    if (!ParseOptions(argc - 6, argv + 6, frame ? frameKeys : paper ? paperKeys : layoutKeys, options))
        return 1;

    Surface surface(width, height);
    if (!surface.IsValid()) {
        fprintf(stderr, "render_assets: no %d x %d drawing surface\n", width, height);
        return 2;
    }
    const int result = frame   ? RenderFrame(subject, surface, width, height, options)
                       : paper ? RenderPaper(subject, surface, width, height, options)
                               : RenderLayout(subject, surface, width, height, options);
    if (result != 0)
        return result;
    if (!surface.Save(argv[5])) {
        fprintf(stderr, "render_assets: could not write %s\n", argv[5]);
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) != Ok) {
        fprintf(stderr, "render_assets: GDI+ did not start\n");
        return 2;
    }
    const int result = Run(argc, argv);
    GdiplusShutdown(token);
    return result;
}

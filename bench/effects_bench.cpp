// Effect library benchmark: a photograph-like 4000 x 3000 picture (made here) in a DIB
// section selected into a memory DC, and nine effects on it, each the best of three runs.
// Prints milliseconds and megapixels per second of each.  The image-object effects (sepia,
// oil paint) work between GDI+ bitmaps made from the same picture.
//
//   effects_bench.exe [width height]          the table
//   effects_bench.exe --write file.bmp [w h]  writes the picture as a BMP and stops
#include "effects/Distort.h"
#include "effects/Neighbourhood.h"
#include "effects/Shuffle.h"
#include "effects/Tone.h"

#include <functional>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// A 24-bit top-down DIB section in a memory DC, owned once.
class Surface
{
public:
    Surface(int w, int h) : width(w), height(h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        void* p = nullptr;
        bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<BYTE*>(p);
        dc = ::CreateCompatibleDC(nullptr);
        old = ::SelectObject(dc, bitmap);
    }
    ~Surface()
    {
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::DeleteObject(bitmap);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int Stride() const { return (width * 3 + 3) & ~3; }

    int width;
    int height;
    HBITMAP bitmap = nullptr;
    BYTE* bits = nullptr;
    HDC dc = nullptr;
    HGDIOBJ old = nullptr;
};

// Sky-like gradient, soft discs of colour, a dark band and fine grain: a photograph's mix of
// smooth areas, edges and noise.
void Paint(Surface& s)
{
    unsigned state = 12345u;
    for (int y = 0; y < s.height; ++y) {
        BYTE* row = s.bits + (size_t)y * s.Stride();
        for (int x = 0; x < s.width; ++x) {
            int r = 40 + 180 * x / s.width, g = 90 + 120 * y / s.height, b = 220 - 150 * y / s.height;
            for (int i = 0; i < 12; ++i) {
                const int cx = (i * 733) % s.width, cy = (i * 461) % s.height, rad = 150 + i * 60;
                const int dx = x - cx, dy = y - cy;
                if (dx * dx + dy * dy < rad * rad) {
                    r = (r + (i * 53) % 256) / 2;
                    g = (g + (i * 97) % 256) / 2;
                    b = (b + (i * 29) % 256) / 2;
                }
            }
            if (y > s.height * 2 / 3 && y < s.height * 2 / 3 + 40)
                r = g = b = 20;
            state = state * 1103515245u + 12345u;
            const int grain = (int)((state >> 16) & 15) - 8;
            BYTE* p = row + x * 3;
            p[0] = (BYTE)std::min(255, std::max(0, b + grain));
            p[1] = (BYTE)std::min(255, std::max(0, g + grain));
            p[2] = (BYTE)std::min(255, std::max(0, r + grain));
        }
    }
}

bool WriteBmp(const char* path, const Surface& s)
{
    FILE* f = fopen(path, "wb");
    if (f == nullptr)
        return false;
    const DWORD image = (DWORD)s.Stride() * s.height;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42; // "BM"
    fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    fh.bfSize = fh.bfOffBits + image;
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = s.width;
    ih.biHeight = s.height; // bottom-up, as readers expect most
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = image;
    bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&ih, sizeof ih, 1, f) == 1;
    for (int y = s.height - 1; ok && y >= 0; --y)
        ok = fwrite(s.bits + (size_t)y * s.Stride(), (size_t)s.Stride(), 1, f) == 1;
    return fclose(f) == 0 && ok;
}

double Milliseconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b, const LARGE_INTEGER& f)
{
    return (double)(b.QuadPart - a.QuadPart) * 1000.0 / (double)f.QuadPart;
}

} // namespace

int main(int argc, char** argv)
{
    const char* bmp = nullptr;
    int arg = 1;
    if (argc > 2 && strcmp(argv[1], "--write") == 0) {
        bmp = argv[2];
        arg = 3;
    }
    const int w = argc > arg + 1 ? atoi(argv[arg]) : 4000;
    const int h = argc > arg + 1 ? atoi(argv[arg + 1]) : 3000;
    if (w <= 0 || h <= 0) {
        fprintf(stderr, "usage: effects_bench [--write file.bmp] [width height]\n");
        return 2;
    }
    Surface source(w, h);
    Surface destination(w, h);
    if (source.bits == nullptr || destination.bits == nullptr) {
        fprintf(stderr, "cannot make two %d x %d pictures\n", w, h);
        return 1;
    }
    Paint(source);
    if (bmp != nullptr) {
        if (!WriteBmp(bmp, source)) {
            fprintf(stderr, "cannot write %s\n", bmp);
            return 1;
        }
        printf("wrote %s (%d x %d)\n", bmp, w, h);
        return 0;
    }

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    int failures = 0;
    {
        Gdiplus::Bitmap image(source.bitmap, nullptr);
        Gdiplus::Bitmap imageOut(w, h, PixelFormat24bppRGB);
        const struct
        {
            const char* name;
            std::function<HRESULT()> run;
        } effects[] = {
            {"DibBlur3x3", [&] { return DibBlur3x3(destination.dc, source.dc, nullptr); }},
            {"DibSepia", [&] { return DibSepia(&image, &imageOut, nullptr); }},
            {"DibGamma 2.0", [&] { return DibGamma(destination.dc, source.dc, 2.0f, nullptr); }},
            {"DibThreshold", [&] { return DibThreshold(destination.dc, source.dc, nullptr); }},
            {"DibSwirl 100", [&] { return DibSwirl(destination.dc, source.dc, 100, nullptr); }},
            {"DibMotionBlur 45, 5", [&] { return DibMotionBlur(destination.dc, source.dc, 45.0, 5, nullptr); }},
            {"DibUnsharpMask 2, 1.0", [&] { return DibUnsharpMask(destination.dc, source.dc, 2, 1.0, nullptr); }},
            {"DibOilPaint 3", [&] { return DibOilPaint(&image, &imageOut, 3, 255, nullptr); }},
            {"DibFlip vertical", [&] { return DibFlip(destination.dc, source.dc, w, h, FALSE, TRUE); }},
        };
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        printf("%d x %d, best of 3\n", w, h);
        printf("%-24s %10s %10s\n", "effect", "ms", "MP/s");
        for (const auto& e : effects) {
            double best = 1e300;
            for (int i = 0; i < 3; ++i) {
                LARGE_INTEGER a, b;
                ::QueryPerformanceCounter(&a);
                const HRESULT hr = e.run();
                ::GdiFlush();
                ::QueryPerformanceCounter(&b);
                if (FAILED(hr)) {
                    ++failures;
                    fprintf(stderr, "%s failed: 0x%08lX\n", e.name, (unsigned long)hr);
                }
                best = std::min(best, Milliseconds(a, b, frequency));
            }
            printf("%-24s %10.1f %10.1f\n", e.name, best, (double)w * h / 1000.0 / best);
            fflush(stdout);
        }
    }
    Gdiplus::GdiplusShutdown(token);
    return failures == 0 ? 0 : 1;
}

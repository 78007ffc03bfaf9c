// Tiny surfaces for the effect tests: pictures written as rows of colours (top row first),
// read back the same way, and one call that runs a DC-to-DC effect from a fresh source onto
// a destination of a marker colour.
#pragma once
#include "effects/EffectFrame.h"
#include "testsupport/DibSurface.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

typedef std::vector<std::vector<COLORREF>> Rows;

// Any colour no effect here gives by chance: the destination before an effect draws.
const COLORREF kMarker = RGB(1, 2, 3);

inline std::unique_ptr<DibSurface> SurfaceOf(const Rows& rows)
{
    const int h = (int)rows.size();
    const int w = h == 0 ? 0 : (int)rows[0].size();
    auto s = std::make_unique<DibSurface>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s->Set(x, y, rows[y][x]);
    return s;
}

inline Rows RowsOf(const DibSurface& s, int w = -1, int h = -1)
{
    if (w < 0)
        w = s.Width();
    if (h < 0)
        h = s.Height();
    Rows rows((size_t)h, std::vector<COLORREF>((size_t)w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const DWORD v = s.Rgb(x, y);
            rows[y][x] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        }
    return rows;
}

inline Rows Flat(int w, int h, COLORREF c) { return Rows((size_t)h, std::vector<COLORREF>((size_t)w, c)); }

inline COLORREF Grey(int v) { return RGB(v, v, v); }

// What one effect run gave: its result, the lines it reported and the destination.
struct EffectRun
{
    HRESULT hr = E_UNEXPECTED;
    LONG lines = -7;
    Rows result;
};

// Runs `effect(destination DC, source DC, &lines)` on a copy of `source`; the destination is
// a surface of the same size in the marker colour.
template <class Effect> EffectRun RunOn(const Rows& source, Effect effect)
{
    auto src = SurfaceOf(source);
    DibSurface dst(src->Width(), src->Height(), kMarker);
    EffectRun run;
    run.hr = effect(dst.Hdc(), src->Hdc(), &run.lines);
    run.result = RowsOf(dst);
    return run;
}

// Runs an effect that must succeed and report every line read; its result.
template <class Effect> Rows Apply(const Rows& source, Effect effect)
{
    const EffectRun run = RunOn(source, effect);
    EXPECT_EQ(S_OK, run.hr);
    EXPECT_EQ((LONG)source.size(), run.lines);
    return run.result;
}

// A source with some of everything: colours, greys, a bright and a dark corner.
inline Rows Patterned(int w, int h)
{
    Rows rows((size_t)h, std::vector<COLORREF>((size_t)w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows[y][x] = RGB((x * 53 + y * 31) % 256, (x * 17 + y * 97) % 256, (x * y * 29 + 40) % 256);
    return rows;
}

// The same pictures as opaque GDI+ bitmaps, for the effects between image objects.
inline std::unique_ptr<Gdiplus::Bitmap> ImageOf(const Rows& rows)
{
    const int h = (int)rows.size();
    const int w = h == 0 ? 0 : (int)rows[0].size();
    auto image = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat32bppARGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image->SetPixel(x, y, Gdiplus::Color(GetRValue(rows[y][x]), GetGValue(rows[y][x]), GetBValue(rows[y][x])));
    return image;
}

inline Rows RowsOfImage(Gdiplus::Bitmap& image)
{
    const int w = (int)image.GetWidth(), h = (int)image.GetHeight();
    Rows rows((size_t)h, std::vector<COLORREF>((size_t)w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Gdiplus::Color c;
            image.GetPixel(x, y, &c);
            rows[y][x] = RGB(c.GetR(), c.GetG(), c.GetB());
        }
    return rows;
}

// Runs `effect(source, destination, &lines)` between image objects; the destination starts in
// the marker colour.
template <class Effect> EffectRun RunOnImage(const Rows& source, Effect effect)
{
    auto src = ImageOf(source);
    auto dst = ImageOf(Flat((int)source[0].size(), (int)source.size(), kMarker));
    EffectRun run;
    run.hr = effect(src.get(), dst.get(), &run.lines);
    run.result = RowsOfImage(*dst);
    return run;
}

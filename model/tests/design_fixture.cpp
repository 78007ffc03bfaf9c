#include "design_fixture.h"

#include "digest/crc32.h"

#include <limits.h>
#include <stdio.h>

using namespace Gdiplus;

namespace {

void PutBe32(std::vector<BYTE>& v, DWORD x)
{
    v.push_back((BYTE)(x >> 24));
    v.push_back((BYTE)(x >> 16));
    v.push_back((BYTE)(x >> 8));
    v.push_back((BYTE)x);
}

void Chunk(std::vector<BYTE>& png, const char* type, const std::vector<BYTE>& data)
{
    PutBe32(png, (DWORD)data.size());
    std::vector<BYTE> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    PutBe32(png, Crc32Of(&body[0], body.size()));
}

} // namespace

namespace design_test {

::testing::AssertionResult ArgbNear(ARGB a, ARGB b, int tol)
{
    for (int shift = 0; shift < 32; shift += 8) {
        int x = (int)((a >> shift) & 0xFF), y = (int)((b >> shift) & 0xFF);
        if (x - y > tol || y - x > tol)
            return ::testing::AssertionFailure()
                   << std::hex << "0x" << a << " is not within " << std::dec << tol << " of 0x" << std::hex << b;
    }
    return ::testing::AssertionSuccess();
}

std::vector<BYTE> MakePng(int w, int h, ARGB (*pixel)(int x, int y), unsigned ppm, BYTE unit)
{
    std::vector<BYTE> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<BYTE> ihdr;
    PutBe32(ihdr, (DWORD)w);
    PutBe32(ihdr, (DWORD)h);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace
    Chunk(png, "IHDR", ihdr);
    if (ppm) {
        std::vector<BYTE> phys;
        PutBe32(phys, ppm);
        PutBe32(phys, ppm);
        phys.push_back(unit);
        Chunk(png, "pHYs", phys);
    }
    std::vector<BYTE> raw;
    for (int y = 0; y < h; y++) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < w; x++) {
            ARGB c = pixel(x, y);
            raw.insert(raw.end(), {(BYTE)(c >> 16), (BYTE)(c >> 8), (BYTE)c, (BYTE)(c >> 24)});
        }
    }
    // zlib stream of stored blocks.
    std::vector<BYTE> z = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        z.push_back(pos + n == raw.size() ? 1 : 0);
        z.insert(z.end(), {(BYTE)n, (BYTE)(n >> 8), (BYTE)~n, (BYTE)(~n >> 8)});
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    } while (pos < raw.size());
    DWORD a = 1, b = 0;
    for (BYTE c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(z, (b << 16) | a);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    return png;
}

namespace {
template <class F> void ForEachPixel(Bitmap& bitmap, F f)
{
    Rect all(0, 0, (INT)bitmap.GetWidth(), (INT)bitmap.GetHeight());
    BitmapData d;
    if (bitmap.LockBits(&all, ImageLockModeRead, PixelFormat32bppARGB, &d) != Ok)
        return;
    for (UINT y = 0; y < d.Height; y++) {
        const ARGB* row = (const ARGB*)((const BYTE*)d.Scan0 + (INT_PTR)y * d.Stride);
        for (UINT x = 0; x < d.Width; x++)
            f((int)x, (int)y, row[x]);
    }
    bitmap.UnlockBits(&d);
}
} // namespace

RECT PaintedBounds(Bitmap& bitmap)
{
    RECT r = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    ForEachPixel(bitmap, [&](int x, int y, ARGB c) {
        if (c >> 24) {
            r.left = x < r.left ? x : r.left;
            r.top = y < r.top ? y : r.top;
            r.right = x + 1 > r.right ? x + 1 : r.right;
            r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
        }
    });
    if (r.left == INT_MAX)
        r.left = r.top = r.right = r.bottom = 0;
    return r;
}

int CountPixels(Bitmap& bitmap, bool (*match)(ARGB))
{
    int n = 0;
    ForEachPixel(bitmap, [&](int, int, ARGB c) { n += match(c) ? 1 : 0; });
    return n;
}

std::string WriteTempFile(const char* name, const std::vector<BYTE>& bytes)
{
    FILE* f = fopen(name, "wb");
    if (f) {
        fwrite(&bytes[0], 1, bytes.size(), f);
        fclose(f);
    }
    return name;
}

} // namespace design_test

// The print size of an image file: the resolution the file states wins over the decoder's,
// a file that states none (or cannot) prints at 150 pixels per inch, and the resolution
// shown is rounded.  Small files of every kind are made here, byte by byte where the
// resolution records matter.
#include "design_fixture.h"
#include "base/Globals.h"
#include "model/design/ImageLayer.h"

#include <string.h>

using namespace Gdiplus;
using namespace design_test;

namespace {

typedef std::vector<BYTE> Bytes;

ARGB Red(int, int) { return 0xFFFF0000; }

void Le16(Bytes& b, unsigned v) { b.insert(b.end(), {(BYTE)v, (BYTE)(v >> 8)}); }
void Le32(Bytes& b, unsigned v) { b.insert(b.end(), {(BYTE)v, (BYTE)(v >> 8), (BYTE)(v >> 16), (BYTE)(v >> 24)}); }
void Be16(Bytes& b, unsigned v) { b.insert(b.end(), {(BYTE)(v >> 8), (BYTE)v}); }

// An image of w x h red pixels encoded by GDI+ as the given MIME type.
Bytes Encoded(const WCHAR* mime, int w, int h)
{
    Bitmap bitmap(w, h, PixelFormat32bppARGB);
    {
        Graphics g(&bitmap);
        g.Clear(Color(0xFFFF0000));
    }
    CLSID encoder;
    if (GetEncoderClsid(mime, &encoder) < 0)
        return Bytes();
    IStream* stream = NULL;
    CreateStreamOnHGlobal(NULL, TRUE, &stream);
    Bytes out;
    if (bitmap.Save(stream, &encoder, NULL) == Ok) {
        HGLOBAL mem = NULL;
        GetHGlobalFromStream(stream, &mem);
        STATSTG stat = {};
        stream->Stat(&stat, STATFLAG_NONAME);
        out.resize((size_t)stat.cbSize.QuadPart);
        memcpy(out.data(), GlobalLock(mem), out.size());
        GlobalUnlock(mem);
    }
    stream->Release();
    return out;
}

// A little-endian TIFF directory of entries {tag, type, count, value or offset} followed
// by the data the offsets point at; offsets are given relative to that data.
struct TiffEntry
{
    WORD tag, type;
    DWORD count, value;
    bool relative; // value is an offset into the data
};
Bytes TiffStructure(std::vector<TiffEntry> entries, const Bytes& data)
{
    Bytes t = {'I', 'I', 42, 0};
    Le32(t, 8);
    const DWORD dataAt = 8 + 2 + 12 * (DWORD)entries.size() + 4;
    Le16(t, (unsigned)entries.size());
    for (const TiffEntry& e : entries) {
        Le16(t, e.tag);
        Le16(t, e.type);
        Le32(t, e.count);
        Le32(t, e.relative ? dataAt + e.value : e.value);
    }
    Le32(t, 0); // no next directory
    t.insert(t.end(), data.begin(), data.end());
    return t;
}

// The resolution entries of a TIFF directory: x / 1 per unit (unit 0: no unit entry;
// x 0: no resolution entries), their rationals at `at` in the data.
void ResolutionEntries(std::vector<TiffEntry>& entries, Bytes& data, DWORD x, WORD unit)
{
    if (x != 0) {
        entries.push_back({0x011A, 5, 1, (DWORD)data.size(), true});
        Le32(data, x);
        Le32(data, 1);
        entries.push_back({0x011B, 5, 1, (DWORD)data.size(), true});
        Le32(data, x);
        Le32(data, 1);
    }
    if (unit != 0)
        entries.push_back({0x0128, 3, 1, unit, false});
}

// An uncompressed RGB TIFF of w x h red pixels.
Bytes Tiff(int w, int h, DWORD x, WORD unit)
{
    std::vector<TiffEntry> entries;
    Bytes data;
    const DWORD bits = (DWORD)data.size();
    Le16(data, 8);
    Le16(data, 8);
    Le16(data, 8);
    entries.push_back({256, 3, 1, (DWORD)w, false});
    entries.push_back({257, 3, 1, (DWORD)h, false});
    entries.push_back({258, 3, 3, bits, true});
    entries.push_back({259, 3, 1, 1, false}); // no compression
    entries.push_back({262, 3, 1, 2, false}); // RGB
    const size_t stripEntry = entries.size();
    entries.push_back({273, 4, 1, 0, true});
    entries.push_back({277, 3, 1, 3, false});
    entries.push_back({278, 3, 1, (DWORD)h, false});
    entries.push_back({279, 4, 1, (DWORD)(w * h * 3), false});
    ResolutionEntries(entries, data, x, unit);
    entries[stripEntry].value = (DWORD)data.size();
    for (int i = 0; i < w * h; ++i)
        data.insert(data.end(), {0xFF, 0x00, 0x00});
    return TiffStructure(entries, data);
}

// JPEG segments: JFIF of the given units and density; EXIF with resolution x (and unit).
Bytes Jfif(int units, int density)
{
    Bytes s = {0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, (BYTE)units};
    Be16(s, density);
    Be16(s, density);
    s.insert(s.end(), {0, 0});
    return s;
}
Bytes Exif(DWORD x, WORD unit)
{
    std::vector<TiffEntry> entries;
    Bytes data;
    ResolutionEntries(entries, data, x, unit);
    const Bytes tiff = TiffStructure(entries, data);
    Bytes s = {0xFF, 0xE1};
    Be16(s, (unsigned)(2 + 6 + tiff.size()));
    s.insert(s.end(), {'E', 'x', 'i', 'f', 0, 0});
    s.insert(s.end(), tiff.begin(), tiff.end());
    return s;
}

// A JPEG of w x h red pixels from the GDI+ encoder, its own APPn segments replaced by
// the given ones.
Bytes Jpeg(int w, int h, std::initializer_list<Bytes> segments)
{
    const Bytes encoded = Encoded(L"image/jpeg", w, h);
    if (encoded.size() < 4)
        return encoded;
    Bytes out = {0xFF, 0xD8};
    for (const Bytes& s : segments)
        out.insert(out.end(), s.begin(), s.end());
    size_t pos = 2;
    while (pos + 4 <= encoded.size() && encoded[pos] == 0xFF && encoded[pos + 1] >= 0xE0 && encoded[pos + 1] <= 0xEF)
        pos += 2 + ((encoded[pos + 2] << 8) | encoded[pos + 3]);
    out.insert(out.end(), encoded.begin() + pos, encoded.end());
    return out;
}

// A 24-bit BMP of w x h red pixels with the given pixels per metre; `core` writes the
// oldest header, which has no resolution.
Bytes Bmp(int w, int h, int ppm, bool core = false)
{
    const int row = (w * 3 + 3) & ~3;
    const int header = core ? 12 : 40;
    Bytes b = {'B', 'M'};
    Le32(b, 14 + header + row * h);
    Le32(b, 0);
    Le32(b, 14 + header);
    Le32(b, header);
    if (core) {
        Le16(b, w);
        Le16(b, h);
        Le16(b, 1);
        Le16(b, 24);
    } else {
        Le32(b, w);
        Le32(b, h);
        Le16(b, 1);
        Le16(b, 24);
        Le32(b, 0);
        Le32(b, row * h);
        Le32(b, ppm);
        Le32(b, ppm);
        Le32(b, 0);
        Le32(b, 0);
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            b.insert(b.end(), {0x00, 0x00, 0xFF});
        b.insert(b.end(), (size_t)(row - w * 3), 0);
    }
    return b;
}

// An icon of one w x w 32-bit red image.
Bytes Icon(int w)
{
    Bytes b;
    Le16(b, 0);
    Le16(b, 1); // icon
    Le16(b, 1); // one image
    const int mask = ((w + 31) / 32) * 4 * w;
    b.insert(b.end(), {(BYTE)w, (BYTE)w, 0, 0});
    Le16(b, 1);
    Le16(b, 32);
    Le32(b, 40 + w * w * 4 + mask);
    Le32(b, 22);
    Le32(b, 40);
    Le32(b, w);
    Le32(b, w * 2); // colour and mask rows
    Le16(b, 1);
    Le16(b, 32);
    for (int i = 0; i < 6; ++i)
        Le32(b, 0);
    for (int i = 0; i < w * w; ++i)
        b.insert(b.end(), {0x00, 0x00, 0xFF, 0xFF});
    b.insert(b.end(), (size_t)mask, 0);
    return b;
}

// A GIF of w x h red pixels.  The LZW codes stay 3 bits wide: a clear code before every
// two pixels keeps the table from growing.  (Wine's GIF encoder writes no image data.)
Bytes Gif(int w, int h)
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Le16(b, w);
    Le16(b, h);
    b.insert(b.end(), {0x80, 0, 0});          // a global table of two colours
    b.insert(b.end(), {0xFF, 0, 0, 0, 0, 0}); // red, black
    b.insert(b.end(), {',', 0, 0, 0, 0});     // image at (0, 0)
    Le16(b, w);
    Le16(b, h);
    b.insert(b.end(), {0, 2}); // no local table; minimum code size 2
    Bytes codes;
    DWORD bits = 0;
    int count = 0;
    auto put = [&](DWORD code) {
        bits |= code << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8)
            codes.push_back((BYTE)bits);
    };
    for (int i = 0; i < w * h; ++i) {
        if (i % 2 == 0)
            put(4); // clear
        put(0);     // red
    }
    put(5); // end
    if (count > 0)
        codes.push_back((BYTE)bits);
    for (size_t at = 0; at < codes.size(); at += 255) {
        const size_t n = codes.size() - at < 255 ? codes.size() - at : 255;
        b.push_back((BYTE)n);
        b.insert(b.end(), codes.begin() + at, codes.begin() + at + n);
    }
    b.insert(b.end(), {0, ';'});
    return b;
}

// A PNG with a pHYs chunk of the given unit (1 metre, 0 none).
Bytes Png(int w, int h, unsigned ppm, BYTE unit) { return MakePng(w, h, Red, ppm, unit); }

} // namespace

TEST(DesignImageResolution, PrintSizeOfEveryKindOfFile)
{
    const struct
    {
        const char* what;
        const char* name;
        Bytes bytes;
        int w;
        float dpi; // expected pixels per inch
    } cases[] = {
        {"PNG without pHYs", "r.png", Png(48, 24, 0, 1), 48, 150.0f},
        {"PNG pHYs in metres", "r.png", Png(48, 24, 11811, 1), 48, 11811 * 0.0254f},
        {"PNG pHYs without unit", "r.png", Png(48, 24, 11811, 0), 48, 150.0f},
        {"JPEG JFIF dots per inch", "r.jpg", Jpeg(48, 24, {Jfif(1, 200)}), 48, 200.0f},
        {"JPEG JFIF dots per cm", "r.jpg", Jpeg(48, 24, {Jfif(2, 100)}), 48, 254.0f},
        {"JPEG JFIF aspect only", "r.jpg", Jpeg(48, 24, {Jfif(0, 1)}), 48, 150.0f},
        {"JPEG without JFIF or EXIF", "r.jpg", Jpeg(48, 24, {}), 48, 150.0f},
        {"JPEG EXIF only, inches", "r.jpg", Jpeg(48, 24, {Exif(240, 2)}), 48, 240.0f},
        {"JPEG EXIF only, unit left out", "r.jpg", Jpeg(48, 24, {Exif(240, 0)}), 48, 240.0f},
        {"JPEG EXIF only, centimetres", "r.jpg", Jpeg(48, 24, {Exif(100, 3)}), 48, 254.0f},
        {"JPEG EXIF only, no unit", "r.jpg", Jpeg(48, 24, {Exif(240, 1)}), 48, 150.0f},
        {"JPEG JFIF aspect only, then EXIF", "r.jpg", Jpeg(48, 24, {Jfif(0, 1), Exif(240, 2)}), 48, 240.0f},
        {"BMP without pixels per metre", "r.bmp", Bmp(48, 24, 0), 48, 150.0f},
        {"BMP pixels per metre", "r.bmp", Bmp(48, 24, 11811), 48, 11811 * 0.0254f},
        {"BMP oldest header", "r.bmp", Bmp(48, 24, 0, true), 48, 150.0f},
        {"TIFF inches", "r.tif", Tiff(48, 24, 300, 2), 48, 300.0f},
        {"TIFF unit left out", "r.tif", Tiff(48, 24, 300, 0), 48, 300.0f},
        {"TIFF centimetres", "r.tif", Tiff(48, 24, 100, 3), 48, 254.0f},
        {"TIFF no unit", "r.tif", Tiff(48, 24, 300, 1), 48, 150.0f},
        {"TIFF without resolution", "r.tif", Tiff(48, 24, 0, 2), 48, 150.0f},
        {"GIF", "r.gif", Gif(48, 24), 48, 150.0f},
        {"icon", "r.ico", Icon(48), 48, 150.0f},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.bytes.empty()) << c.what << ": no file made";
        const std::string path = WriteTempFile(c.name, c.bytes);
        CImageLayer layer; // no placement: fitting leaves the scale alone
        ASSERT_TRUE(layer.LoadFromFile(path.c_str())) << c.what;
        ASSERT_EQ((UINT)c.w, layer.GetMasterBitmap()->GetWidth()) << c.what;
        EXPECT_NEAR(c.w / c.dpi, layer.m_printedWidth, 1e-4) << c.what;
        EXPECT_EQ((int)(c.dpi + 0.5f), layer.GetDpi()) << c.what;
        // The pixels are the file's, whatever it states.
        Color centre;
        layer.GetMasterBitmap()->GetPixel(c.w / 2, 10, &centre);
        EXPECT_TRUE(ArgbNear(0xFFFF0000, centre.GetValue(), 8)) << c.what;
    }
}

// The resolution shown is rounded to nearest: at exactly 150 pixels per inch, truncating
// pixels / printed width shows 149 for some widths.
TEST(DesignImageResolution, ShownResolutionIsRounded)
{
    int wrong = 0, first = 0;
    for (int w = 1; w <= 3000; ++w) {
        Bitmap bitmap(w, 1, PixelFormat32bppARGB);
        bitmap.SetResolution(150.0f, 150.0f);
        CImageLayer layer;
        layer.Refresh(&bitmap);
        if (layer.GetDpi() != 150 && wrong++ == 0)
            first = w;
    }
    EXPECT_EQ(0, wrong) << "first at width " << first;
}

// Record streams of design files written byte by byte, independently of the program's
// record codec, so that fixtures of older forms are exactly what those programs wrote.
// Shared by the tests and the fuzz harness (no test framework here).
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace ktb {

typedef std::vector<BYTE> Bytes;

// Record stream builder: BSTR and VARIANT records as laid out on disk.
class Records
{
public:
    Records& Raw(const void* p, size_t n)
    {
        const BYTE* b = (const BYTE*)p;
        bytes.insert(bytes.end(), b, b + n);
        return *this;
    }
    Records& U16(WORD v) { return Raw(&v, 2); }
    Records& U32(DWORD v) { return Raw(&v, 4); }
    // 4-byte byte count (text bytes + 2), UTF-16LE text, 2-byte zero.  ASCII only.
    Records& Bstr(const std::string& text)
    {
        U32((DWORD)(text.size() * 2 + 2));
        for (char c : text)
            U16((WORD)(BYTE)c);
        return U16(0);
    }
    Records& Key(const std::string& key, int value) { return Bstr(key + "=" + std::to_string(value)); }
    Records& I4(LONG v)
    {
        U16(VT_I4);
        return Raw(&v, 4);
    }
    Records& R4(float v)
    {
        U16(VT_R4);
        return Raw(&v, 4);
    }
    Records& R8(double v)
    {
        U16(VT_R8);
        return Raw(&v, 8);
    }
    Records& Bool(bool v)
    {
        U16(VT_BOOL);
        return U16(v ? 0xFFFF : 0);
    }
    Records& Text(const std::string& text)
    {
        U16(VT_BSTR);
        return Bstr(text);
    }
    Records& Append(const Records& other) { return Raw(other.bytes.data(), other.bytes.size()); }

    Bytes bytes;
};

// The records of a default frame record with index k, as the FRAME section holds them.
inline Records DefaultFrameEntry(int k)
{
    Records r;
    r.I4(k)
        .I4(0xFFFFFF)
        .R4(0.0f) // index, background colour 1, edge margin
        .I4(0xFFFFFF)
        .I4(0)
        .I4(0)       // background colour 2, linear flag, angle
        .Bool(false) // no frame image
        .Bool(false) // no region
        .Bool(false) // no background clip-art
        .R4(0.1f)
        .I4(0)
        .I4(100)     // tile scale, rotation, transparency
        .Bool(false) // no template image
        .I4(0)
        .I4(1)
        .I4(0) // frame style, fill style, fill angle
        .R4(1.0f)
        .R4(0.5f) // frame size, outline width
        .I4(0xFFFFFF)
        .I4(0xFFFFFF)
        .I4(0xFFFFFF)
        .I4(0xFFFFFF)
        .I4(0xFFFFFF) // frame colours
        .I4(0)        // outline colour
        .R4(1.0f)
        .R4(1.0f)
        .R4(1.0f)
        .I4(0) // intensity, opacity, spare float, spare int
        .R4(0.1f)
        .I4(0)
        .R4(0.0f)
        .I4(100)     // image scale, rotation, offset, transparency
        .Bool(false) // no frame fill image
        .I4(0xFFFFFF)
        .I4(0xFFFFFF)
        .I4(0xFFFFFF) // background colours 3 to 5
        .R4(1.0f)
        .I4(0); // background opacity, radial flag
    return r;
}

// The layout records of the oldest form after its "CAKEDATA" key: not custom, the old
// layout id, the frame count and the version text (the four spacing values from 6.7 on).
inline Records OldLayoutRecords(int oldId, const std::string& version, int areas)
{
    Records r;
    r.I4(0)
        .I4(oldId)
        .I4(0) // custom flag, old layout id, skipped value
        .I4(0)
        .I4(0)
        .I4(0) // round, rectangle and shape-3 flags
        .R4(0)
        .R4(0)
        .I4(0) // item height and width x 100, skipped value
        .I4(0)
        .I4(0)
        .I4(0)     // one design per cell, skipped value, multiple
        .R4(0)     // spacing x 100
        .I4(areas) // design areas (custom layouts only)
        .Text(version);
    if (atof(version.c_str()) >= 6.7)
        r.I4(0).I4(0).I4(0).I4(0); // spacing and margin x 100
    return r;
}

// The header of the second and third forms after its key line.
inline Records HeaderRecords(const std::string& version, int frames, const std::string& layoutLine, int mirror = 0)
{
    Records r;
    r.Text(version).I4(frames).Text(layoutLine).I4(mirror);
    return r;
}

// The records of an image layer; `withTransparency` for files of 6.0 and later.
inline Records LayerRecords(float scale, float angle, double cx, double cy, int frame, bool fit,
                            const std::string& stream, bool withTransparency, int transparency = 100)
{
    Records r;
    r.R4(scale).R4(angle).R8(cx).R8(cy).I4(frame).Bool(fit).Bstr(stream);
    if (withTransparency)
        r.I4(transparency);
    return r;
}

// The records of a text as a writer of the given format generation wrote them:
// "5.0" (no gradient angle, ends after the frame index), "6.x" (ends after the image-fill
// flag) or "7+" (all 53).
struct TextFixture
{
    std::string face = "Arial", text = "Cake";
    int arc = 0, below = 0;
    float radius = 5.0f, rotation = 0.0f;
    int size = 20;
    float x = 1.5f, y = 2.5f;
    int gradientAngle = 0, outline = 1, frame = 0;
    int imageRotation = 0;
    float tileScale = 1.0f;
    int imageOpacity = 100;
    bool hasFill = false;
};

inline Records TextRecords(const TextFixture& t, const std::string& generation)
{
    Records r;
    r.Bstr(t.face)
        .I4(0)
        .Bool(false)
        .Bool(false)
        .Bool(false)
        .Bstr(t.text)
        .I4(t.arc)
        .I4(t.below)
        .R4(t.radius)
        .R4(t.rotation)
        .I4(t.size)
        .R4(t.x)
        .R4(t.y)
        .Bool(false)
        .Bool(false)
        .Bool(false)
        .I4(1)
        .I4(1);
    if (generation != "5.0")
        r.I4(t.gradientAngle);
    r.I4(1).I4(t.outline).I4(t.frame);
    if (generation == "5.0")
        return r;
    r.I4(t.imageRotation).R4(t.tileScale).I4(t.imageOpacity).Bool(t.hasFill);
    if (generation == "6.x")
        return r;
    r.R4(7.5f)
        .R4(10.0f) // design area size
        .Bool(true)
        .Bool(false)
        .Bool(true) // bold, italic, underline
        .I4(0x0000FF)
        .I4(0x00FF00)
        .I4(0xFF0000)
        .I4(0x00FFFF)
        .I4(0xFF00FF)
        .R4(0.5f)
        .I4(2)
        .I4(1)
        .I4(2)
        .I4(3)
        .I4(4)
        .I4(5)
        .R4(0.75f)
        .I4(3)
        .I4(1)
        .I4(4)
        .I4(0xCCCCCC)
        .I4(0x333333)
        .R4(0.9f)
        .R4(1.5f)
        .R4(0.25f)
        .I4(2);
    return r;
}

} // namespace ktb

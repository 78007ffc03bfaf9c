#include "ui/ColourHls.h"

namespace {

double HueChannel(double m1, double m2, double h)
{
    if (h > 360.0)
        h -= 360.0;
    if (h < 0.0)
        h += 360.0;
    if (h < 60.0)
        return m1 + (m2 - m1) * h / 60.0;
    if (h < 180.0)
        return m2;
    if (h < 240.0)
        return m1 + (m2 - m1) * (240.0 - h) / 60.0;
    return m1;
}

BYTE Shift(BYTE value, int percent)
{
    if (percent >= 1)
        return (BYTE)(value + (255 - value) * percent / 100);
    if (percent < 0)
        return (BYTE)(value * (percent + 100) / 100);
    return value;
}

} // namespace

namespace {

// HLS at full precision: hue in degrees, lightness and saturation 0 to 1.
struct Hls
{
    double h, l, s;
};

Hls ToHls(COLORREF colour)
{
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    const int mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const int sum = mx + mn;
    Hls hls = {0.0, sum / 510.0, 0.0};
    if (mx == mn)
        return hls;
    const double d = mx - mn;
    hls.s = sum <= 255 ? d / sum : d / (510 - sum);
    const double rc = (mx - r) / d, gc = (mx - g) / d, bc = (mx - b) / d;
    if (r == mx)
        hls.h = (6.0 + bc - gc) * 60.0;
    if (g == mx)
        hls.h = (2.0 + rc - bc) * 60.0;
    if (b == mx)
        hls.h = (4.0 + gc - rc) * 60.0;
    if (hls.h > 360.0)
        hls.h -= 360.0;
    return hls;
}

COLORREF FromHls(const Hls& hls)
{
    if (hls.s <= 0.0) {
        const BYTE grey = (BYTE)(hls.l * 255.0 + 1e-9); // a grey's own byte, never one below
        return RGB(grey, grey, grey);
    }
    const double m2 = hls.l <= 0.5 ? hls.l * (1.0 + hls.s) : hls.l + hls.s - hls.l * hls.s;
    const double m1 = 2.0 * hls.l - m2;
    const BYTE r = (BYTE)(HueChannel(m1, m2, hls.h + 120.0) * 255.0);
    const BYTE g = (BYTE)(HueChannel(m1, m2, hls.h) * 255.0);
    const BYTE b = (BYTE)(HueChannel(m1, m2, hls.h - 120.0) * 255.0);
    return RGB(r, g, b);
}

} // namespace

PackedHls RgbToHls(COLORREF colour)
{
    const Hls hls = ToHls(colour);
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    const int mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    // (max + min) x 255 / 510 in whole numbers: exact for every grey, where the lightness as a
    // fraction could land a hair below g / 255 and truncate to the byte g - 1.
    const BYTE lightness = (BYTE)((mx + mn) * 255 / 510);
    return MakeHls((BYTE)(hls.h * 255.0 / 360.0), lightness, (BYTE)(hls.s * 255.0));
}

COLORREF HlsToRgb(PackedHls hls)
{
    if (HlsSaturation(hls) == 0)
        return RGB(HlsLightness(hls), HlsLightness(hls), HlsLightness(hls));
    return FromHls({HlsHue(hls) * 360.0 / 255.0, HlsLightness(hls) / 255.0, HlsSaturation(hls) / 255.0});
}

// The hue is kept at full precision: a hue byte moves in steps of 1.4 degrees, which alone
// shifts a saturated channel by up to four, so that a colour with nothing changed would not
// come back as itself. Lightness and saturation change on their byte scales.
COLORREF AdjustColourHls(COLORREF colour, int lightnessPercent, int saturationPercent)
{
    Hls hls = ToHls(colour);
    const PackedHls packed = RgbToHls(colour);
    if (lightnessPercent != 0)
        hls.l = Shift(HlsLightness(packed), lightnessPercent) / 255.0;
    if (saturationPercent != 0)
        hls.s = Shift(HlsSaturation(packed), saturationPercent) / 255.0;
    return FromHls(hls);
}

COLORREF LightenColour(COLORREF colour, double factor)
{
    if (factor <= 0.0 || factor > 1.0)
        return colour;
    auto up = [factor](BYTE c) { return (BYTE)(c + (255 - c) * factor); };
    return RGB(up(GetRValue(colour)), up(GetGValue(colour)), up(GetBValue(colour)));
}

COLORREF DarkenColour(COLORREF colour, double factor)
{
    if (factor <= 0.0 || factor > 1.0)
        return colour;
    auto down = [factor](BYTE c) { return (BYTE)(c - c * factor); };
    return RGB(down(GetRValue(colour)), down(GetGValue(colour)), down(GetBValue(colour)));
}

#include "model/gfx/RgbHlsColor.h"

#include <stdio.h>

namespace {

struct NamedColour
{
    COLORREF colour;
    const char* name;
};

const NamedColour kNamedColours[CRgbHlsColor::kNamedColourCount] = {
    {RGB(240, 248, 255), "aliceblue"},
    {RGB(250, 235, 215), "antiquewhite"},
    {RGB(0, 255, 255), "aqua"},
    {RGB(127, 255, 212), "aquamarine"},
    {RGB(240, 255, 255), "azure"},
    {RGB(245, 245, 220), "beige"},
    {RGB(255, 228, 196), "bisque"},
    {RGB(0, 0, 0), "black"},
    {RGB(255, 235, 205), "blanchedalmond"},
    {RGB(0, 0, 255), "blue"},
    {RGB(138, 43, 226), "blueviolet"},
    {RGB(165, 42, 42), "brown"},
    {RGB(222, 184, 135), "burlywood"},
    {RGB(95, 158, 160), "cadetblue"},
    {RGB(127, 255, 0), "chartreuse"},
    {RGB(210, 105, 30), "chocolate"},
    {RGB(255, 127, 80), "coral"},
    {RGB(100, 149, 237), "cornflower"},
    {RGB(255, 248, 220), "cornsilk"},
    {RGB(220, 20, 60), "crimson"},
    {RGB(0, 255, 255), "cyan"},
    {RGB(0, 0, 139), "darkblue"},
    {RGB(0, 139, 139), "darkcyan"},
    {RGB(184, 134, 11), "darkgoldenrod"},
    {RGB(169, 169, 169), "darkgray"},
    {RGB(0, 100, 0), "darkgreen"},
    {RGB(189, 183, 107), "darkkhaki"},
    {RGB(139, 0, 139), "darkmagenta"},
    {RGB(85, 107, 47), "darkolivegreen"},
    {RGB(255, 140, 0), "darkorange"},
    {RGB(153, 50, 204), "darkorchid"},
    {RGB(139, 0, 0), "darkred"},
    {RGB(233, 150, 122), "darksalmon"},
    {RGB(143, 188, 139), "darkseagreen"},
    {RGB(72, 61, 139), "darkslateblue"},
    {RGB(47, 79, 79), "darkslategray"},
    {RGB(0, 206, 209), "darkturquoise"},
    {RGB(148, 0, 211), "darkviolet"},
    {RGB(255, 20, 147), "deeppink"},
    {RGB(0, 191, 255), "deepskyblue"},
    {RGB(105, 105, 105), "dimgray"},
    {RGB(30, 144, 255), "dodgerblue"},
    {RGB(178, 34, 34), "firebrick"},
    {RGB(255, 250, 240), "floralwhite"},
    {RGB(34, 139, 34), "forestgreen"},
    {RGB(255, 0, 255), "fuchsia"},
    {RGB(220, 220, 220), "gainsboro"},
    {RGB(248, 248, 255), "ghostwhite"},
    {RGB(255, 215, 0), "gold"},
    {RGB(218, 165, 32), "goldenrod"},
    {RGB(128, 128, 128), "gray"},
    {RGB(0, 128, 0), "green"},
    {RGB(173, 255, 47), "greenyellow"},
    {RGB(240, 255, 240), "honeydew"},
    {RGB(255, 105, 180), "hotpink"},
    {RGB(205, 92, 92), "indianred"},
    {RGB(75, 0, 130), "indigo"},
    {RGB(255, 255, 240), "ivory"},
    {RGB(240, 230, 140), "khaki"},
    {RGB(230, 230, 250), "lavender"},
    {RGB(255, 240, 245), "lavenderblush"},
    {RGB(124, 252, 0), "lawngreen"},
    {RGB(255, 250, 205), "lemonchiffon"},
    {RGB(173, 216, 230), "lightblue"},
    {RGB(240, 128, 128), "lightcoral"},
    {RGB(224, 255, 255), "lightcyan"},
    {RGB(250, 250, 210), "lightgoldenrodyellow"},
    {RGB(144, 238, 144), "lightgreen"},
    {RGB(211, 211, 211), "lightgrey"},
    {RGB(255, 182, 193), "lightpink"},
    {RGB(255, 160, 122), "lightsalmon"},
    {RGB(32, 178, 170), "lightseagreen"},
    {RGB(135, 206, 250), "lightskyblue"},
    {RGB(119, 136, 153), "lightslategray"},
    {RGB(176, 196, 222), "lightsteelblue"},
    {RGB(255, 255, 224), "lightyellow"},
    {RGB(0, 255, 0), "lime"},
    {RGB(50, 205, 50), "limegreen"},
    {RGB(250, 240, 230), "linen"},
    {RGB(255, 0, 255), "magenta"},
    {RGB(128, 0, 0), "maroon"},
    {RGB(102, 205, 170), "mediumaquamarine"},
    {RGB(0, 0, 205), "mediumblue"},
    {RGB(186, 85, 211), "mediumorchid"},
    {RGB(147, 112, 219), "mediumpurple"},
    {RGB(60, 179, 113), "mediumseagreen"},
    {RGB(123, 104, 238), "mediumslateblue"},
    {RGB(0, 250, 154), "mediumspringgreen"},
    {RGB(72, 209, 204), "mediumturquoise"},
    {RGB(199, 21, 133), "mediumvioletred"},
    {RGB(25, 25, 112), "midnightblue"},
    {RGB(245, 255, 250), "mintcream"},
    {RGB(255, 228, 225), "mistyrose"},
    {RGB(255, 228, 181), "moccasin"},
    {RGB(255, 222, 173), "navajowhite"},
    {RGB(0, 0, 128), "navy"},
    {RGB(253, 245, 230), "oldlace"},
    {RGB(128, 128, 0), "olive"},
    {RGB(107, 142, 35), "olivedrab"},
    {RGB(255, 165, 0), "orange"},
    {RGB(255, 69, 0), "orangered"},
    {RGB(218, 112, 214), "orchid"},
    {RGB(238, 232, 170), "palegoldenrod"},
    {RGB(152, 251, 152), "palegreen"},
    {RGB(175, 238, 238), "paleturquoise"},
    {RGB(219, 112, 147), "palevioletred"},
    {RGB(255, 239, 213), "papayawhip"},
    {RGB(255, 218, 185), "peachpuff"},
    {RGB(205, 133, 63), "peru"},
    {RGB(255, 192, 203), "pink"},
    {RGB(221, 160, 221), "plum"},
    {RGB(176, 224, 230), "powderblue"},
    {RGB(128, 0, 128), "purple"},
    {RGB(255, 0, 0), "red"},
    {RGB(188, 143, 143), "rosybrown"},
    {RGB(65, 105, 225), "royalblue"},
    {RGB(139, 69, 19), "saddlebrown"},
    {RGB(250, 128, 114), "salmon"},
    {RGB(244, 164, 96), "sandybrown"},
    {RGB(46, 139, 87), "seagreen"},
    {RGB(255, 245, 238), "seashell"},
    {RGB(160, 82, 45), "sienna"},
    {RGB(192, 192, 192), "silver"},
    {RGB(135, 206, 235), "skyblue"},
    {RGB(106, 90, 205), "slateblue"},
    {RGB(112, 128, 144), "slategray"},
    {RGB(255, 250, 250), "snow"},
    {RGB(0, 255, 127), "springgreen"},
    {RGB(70, 130, 180), "steelblue"},
    {RGB(210, 180, 140), "tan"},
    {RGB(0, 128, 128), "teal"},
    {RGB(216, 191, 216), "thistle"},
    {RGB(255, 99, 71), "tomato"},
    {RGB(64, 224, 208), "turquoise"},
    {RGB(238, 130, 238), "violet"},
    {RGB(245, 222, 179), "wheat"},
    {RGB(255, 255, 255), "white"},
    {RGB(245, 245, 245), "whitesmoke"},
    {RGB(255, 255, 0), "yellow"},
    {RGB(154, 205, 50), "yellowgreen"},
};

BYTE ToByte(double value)
{
    const double v = value * 255;
    if (!(v > 0))
        return 0;
    if (v >= 255)
        return 255;
    return (BYTE)v; // truncated
}

} // namespace

CRgbHlsColor::CRgbHlsColor(COLORREF colour)
    : m_red(GetRValue(colour)), m_green(GetGValue(colour)), m_blue(GetBValue(colour)), m_spare((BYTE)(colour >> 24)),
      m_hue(0), m_saturation(0), m_luminance(0), m_rgbValid(true), m_hlsValid(false)
{}

CRgbHlsColor CRgbHlsColor::FromIndex(int index)
{
    int row = index % kNamedColourCount;
    if (row < 0)
        row += kNamedColourCount;
    return CRgbHlsColor(kNamedColours[row].colour);
}

CString CRgbHlsColor::GetNameOfIndex(int index)
{
    if (index < 0 || index >= kNamedColourCount)
        return CString();
    return CString(kNamedColours[index].name);
}

CRgbHlsColor CRgbHlsColor::FromString(LPCTSTR text)
{
    CRgbHlsColor colour(RGB(0, 0, 0));
    colour.SetString(text);
    return colour;
}

COLORREF CRgbHlsColor::GetColorRef()
{
    ToRgb();
    return (COLORREF)m_red | ((COLORREF)m_green << 8) | ((COLORREF)m_blue << 16) | ((COLORREF)m_spare << 24);
}

void CRgbHlsColor::SetRgb(BYTE red, BYTE green, BYTE blue)
{
    m_red = red;
    m_green = green;
    m_blue = blue;
    m_rgbValid = true;
    m_hlsValid = false;
}

void CRgbHlsColor::SetRed(BYTE red)
{
    ToRgb();
    m_red = red;
    m_hlsValid = false;
}

void CRgbHlsColor::SetGreen(BYTE green)
{
    ToRgb();
    m_green = green;
    m_hlsValid = false;
}

void CRgbHlsColor::SetBlue(BYTE blue)
{
    ToRgb();
    m_blue = blue;
    m_hlsValid = false;
}

BYTE CRgbHlsColor::GetRed()
{
    ToRgb();
    return m_red;
}

BYTE CRgbHlsColor::GetGreen()
{
    ToRgb();
    return m_green;
}

BYTE CRgbHlsColor::GetBlue()
{
    ToRgb();
    return m_blue;
}

void CRgbHlsColor::SetHls(float hue, float luminance, float saturation)
{
    m_hue = hue;
    m_luminance = luminance;
    m_saturation = saturation;
    m_hlsValid = true;
    m_rgbValid = false;
}

void CRgbHlsColor::SetHue(float hue)
{
    ToHls();
    m_hue = hue;
    m_rgbValid = false;
}

void CRgbHlsColor::SetSaturation(float saturation)
{
    ToHls();
    m_saturation = saturation;
    m_rgbValid = false;
}

void CRgbHlsColor::SetLuminance(float luminance)
{
    ToHls();
    m_luminance = luminance;
    m_rgbValid = false;
}

float CRgbHlsColor::GetHue()
{
    ToHls();
    return m_hue;
}

float CRgbHlsColor::GetSaturation()
{
    ToHls();
    return m_saturation;
}

float CRgbHlsColor::GetLuminance()
{
    ToHls();
    return m_luminance;
}

CString CRgbHlsColor::GetString()
{
    ToRgb();
    CString text;
    text.Format("%02X%02X%02X", m_red, m_green, m_blue);
    return text;
}

bool CRgbHlsColor::SetString(LPCTSTR text)
{
    unsigned int r = 0, g = 0, b = 0;
    if (text && sscanf(text, "%2x%2x%2x", &r, &g, &b) == 3) {
        SetRgb((BYTE)r, (BYTE)g, (BYTE)b);
        return true;
    }
    m_red = m_green = m_blue = 0;
    return false;
}

CString CRgbHlsColor::GetName()
{
    const COLORREF colour = GetColorRef();
    for (int row = kNamedColourCount - 1; row >= 0; --row)
        if (kNamedColours[row].colour == colour)
            return CString(kNamedColours[row].name);
    return "#" + GetString();
}

void CRgbHlsColor::ToHls()
{
    if (m_hlsValid)
        return;
    const int r = m_red, g = m_green, b = m_blue;
    const int mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const double lum = (mx + mn) / 510.0;
    double sat = 0, hue = 0;
    if (mx != mn) {
        const double d = mx - mn;
        sat = lum <= 0.5 ? d / (mx + mn) : d / (510.0 - mx - mn);
        const double rc = (mx - r) / d, gc = (mx - g) / d, bc = (mx - b) / d;
        if (r == mx)
            hue = (6 + bc - gc) * 60;
        if (g == mx)
            hue = (2 + rc - bc) * 60;
        if (b == mx)
            hue = (4 + gc - rc) * 60;
        if (hue > 360)
            hue -= 360;
    }
    m_hue = (float)hue;
    m_luminance = (float)lum;
    m_saturation = (float)sat;
    m_hlsValid = true;
}

void CRgbHlsColor::ToRgb()
{
    if (m_rgbValid)
        return;
    const double lum = m_luminance, sat = m_saturation;
    if (sat == 0) {
        m_red = m_green = m_blue = ToByte(lum);
    } else {
        const double m2 = lum > 0.5 ? lum + sat - lum * sat : lum * (1 + sat);
        const double m1 = 2 * lum - m2;
        auto channel = [m1, m2](double h) {
            if (h > 360)
                h -= 360;
            if (h < 0)
                h += 360;
            double v;
            if (h < 60)
                v = m1 + (m2 - m1) * h / 60;
            else if (h < 180)
                v = m2;
            else if (h < 240)
                v = m1 + (m2 - m1) * (240 - h) / 60;
            else
                v = m1;
            return ToByte(v);
        };
        m_red = channel(m_hue + 120.0);
        m_green = channel(m_hue);
        m_blue = channel(m_hue - 120.0);
    }
    m_rgbValid = true;
}

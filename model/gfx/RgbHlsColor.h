// A colour held as red/green/blue bytes and as hue/luminance/saturation, each form computed
// from the other when it is asked for; and the table of the 140 named colours.
#pragma once

#include "fw/fw.h"

class CRgbHlsColor
{
public:
    CRgbHlsColor() : CRgbHlsColor(RGB(0, 0, 0)) {}
    explicit CRgbHlsColor(COLORREF colour);

    enum { kNamedColourCount = 140 };
    // Row index of the name table (taken modulo 140).
    static CRgbHlsColor FromIndex(int index);
    // Name of row index 0..139; empty for any other index.
    static CString GetNameOfIndex(int index);
    // Black, then SetString(text).
    static CRgbHlsColor FromString(LPCTSTR text);

    COLORREF GetColorRef();

    void SetRgb(BYTE red, BYTE green, BYTE blue);
    void SetRed(BYTE red);
    void SetGreen(BYTE green);
    void SetBlue(BYTE blue);
    BYTE GetRed();
    BYTE GetGreen();
    BYTE GetBlue();

    // Hue in degrees 0..360, luminance and saturation 0..1.
    void SetHls(float hue, float luminance, float saturation);
    void SetHue(float hue);
    void SetSaturation(float saturation);
    void SetLuminance(float luminance);
    float GetHue();
    float GetSaturation();
    float GetLuminance();

    // "RRGGBB" in upper-case hexadecimal.
    CString GetString();
    // Reads three two-digit hexadecimal numbers; on failure the bytes become 0 and false.
    bool SetString(LPCTSTR text);
    // The table name of the colour (the last row that matches wins), else "#RRGGBB".
    CString GetName();

private:
    void ToRgb();
    void ToHls();

    BYTE m_red, m_green, m_blue, m_spare;
    float m_hue, m_saturation, m_luminance;
    bool m_rgbValid, m_hlsValid;
};

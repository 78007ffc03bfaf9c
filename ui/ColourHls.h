// Colour arithmetic of the hover buttons: RGB to a packed hue-lightness-saturation value and
// back, shading a colour by lightness and saturation, and lightening or darkening it.
//
// The rule it keeps: pure functions of their arguments, no window or device context; a grey
// (red = green = blue) goes to saturation 0 and comes back as the very same grey.
#pragma once
#include <windows.h>

// A packed HLS value: hue in bits 0-7 (255 stands for 360 degrees), lightness in bits 8-15,
// saturation in bits 16-23, each 0 to 255.
typedef DWORD PackedHls;
inline BYTE HlsHue(PackedHls hls) { return (BYTE)(hls & 0xFF); }
inline BYTE HlsLightness(PackedHls hls) { return (BYTE)((hls >> 8) & 0xFF); }
inline BYTE HlsSaturation(PackedHls hls) { return (BYTE)((hls >> 16) & 0xFF); }
inline PackedHls MakeHls(BYTE hue, BYTE lightness, BYTE saturation)
{
    return (PackedHls)hue | ((PackedHls)lightness << 8) | ((PackedHls)saturation << 16);
}

PackedHls RgbToHls(COLORREF colour);
COLORREF HlsToRgb(PackedHls hls);
// The colour with its lightness and saturation moved by percent: a positive change goes that
// share of the way to 255, a negative one takes that share off, 0 keeps the component (the
// colour still makes one round trip through HLS, which truncation may move by one).
COLORREF AdjustColourHls(COLORREF colour, int lightnessPercent, int saturationPercent);

// Each channel c goes toward white, c + (255 - c) x factor, or toward black, c - c x factor,
// truncated; a factor of 0 or less, or above 1, gives the colour unchanged.
COLORREF LightenColour(COLORREF colour, double factor);
COLORREF DarkenColour(COLORREF colour, double factor);

// Layer blend modes of two channel values and the effects that combine two images:
// blending with a mode, cross-fading and embossing one image into another.
#pragma once
#include "fw/fw.h"

// a is the base value (first image), b the layer value (second image).
BYTE BlendAverage(int a, int b);
BYTE BlendMultiply(int a, int b);
BYTE BlendScreen(int a, int b);
BYTE BlendDarken(int a, int b);
BYTE BlendLighten(int a, int b);
BYTE BlendDifference(int a, int b);
BYTE BlendNegation(int a, int b);
BYTE BlendExclusion(int a, int b);
BYTE BlendOverlay(int a, int b);
BYTE BlendHardLight(int a, int b);
BYTE BlendSoftLight(int a, int b);
BYTE BlendColorDodge(int a, int b);
BYTE BlendColorBurn(int a, int b);
BYTE BlendSoftDodge(int a, int b);
BYTE BlendSoftBurn(int a, int b);
BYTE BlendReflect(int a, int b);
BYTE BlendGlow(int a, int b);
BYTE BlendFreeze(int a, int b);
BYTE BlendHeat(int a, int b);
BYTE BlendAdditive(int a, int b);
BYTE BlendSubtractive(int a, int b);
BYTE BlendInterpolation(int a, int b);
BYTE BlendStamp(int a, int b);
BYTE BlendXor(int a, int b);

// Modes 1..24 in the order above; any other mode gives a.
BYTE BlendPixel(int a, int b, int mode);

// The sources are combined over their common width and height (their bottom-left parts);
// the result lands at the destination's origin.  E_FAIL when either source cannot be read.
HRESULT DibBlendLayers(HDC destination, HDC first, HDC second, int mode, LONG* lines);
// opacity 0 shows the first source, 255 the second.
HRESULT DibCrossFade(HDC destination, HDC first, HDC second, int opacity, LONG* lines);
// The first source's relief (direction 1..8, larger ones wrap) laid over the second.
HRESULT DibReliefBlend(HDC destination, HDC first, HDC second, double depth, int direction, LONG* lines);

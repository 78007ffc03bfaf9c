// Geometric distortions: each destination pixel is copied from a source pixel found by a
// mapping around the image centre (polar remappings, waves and ripples, lenses, water drops).
// All take (destination DC, source DC, ..., lines).  Pixels a mapping leaves unwritten keep
// the source's, so results repeat.
#pragma once
#include "fw/fw.h"

HRESULT DibBulge(HDC destination, HDC source, LONG* lines);
HRESULT DibBulgeDoubleAngle(HDC destination, HDC source, LONG* lines);
HRESULT DibPinch(HDC destination, HDC source, LONG* lines);
HRESULT DibHalfAngle(HDC destination, HDC source, LONG* lines);
// twist -255..255; 0 copies the image.
HRESULT DibSwirl(HDC destination, HDC source, int twist, LONG* lines);
HRESULT DibTwirl(HDC destination, HDC source, int amount, LONG* lines);
HRESULT DibTwistGradient(HDC destination, HDC source, double outerAngle, double centreAngle, LONG* lines);
HRESULT DibPolarToRect(HDC destination, HDC source, int unused, LONG* lines);
HRESULT DibWaves(HDC destination, HDC source, short amplitude, short frequency, short mode, LONG* lines);
HRESULT DibRipple(HDC destination, HDC source, short amplitude, short frequency, LONG* lines);
HRESULT DibRippleGrowing(HDC destination, HDC source, short amplitude, short frequency, LONG* lines);
// strength 0 draws nothing; positive magnifies the middle, negative shrinks it.
HRESULT DibLens(HDC destination, HDC source, double strength, LONG* lines);
HRESULT DibCylinderLens(HDC destination, HDC source, double strength, LONG* lines);
HRESULT DibWaterDrops(HDC destination, HDC source, int largest, int count, int strength, LONG* lines);

// Pixel shuffles (random diffusion, pixelation, row swaps, a mirror from a column, drips)
// on the pixel buffer, and blit effects that copy rectangles between device contexts.
#pragma once
#include "fw/fw.h"

HRESULT DibDiffuse(HDC destination, HDC source, LONG* lines);
// n <= 0: lines becomes 0 and nothing is drawn.
HRESULT DibPixelate(HDC destination, HDC source, int n, LONG* lines);
HRESULT DibSwapRowPairs(HDC destination, HDC source, LONG* lines);
// A column outside 1..width gives -1 (0xFFFFFFFF), nothing drawn, lines untouched.
HRESULT DibMirrorFromColumn(HDC destination, HDC source, int column, LONG* lines);
HRESULT DibDrip(HDC destination, HDC source, int amount, LONG* lines);

HRESULT DibWaveStrips(HDC destination, HDC source, int amplitude, int frequency, BYTE wrap, BYTE rows, LONG* lines);
HRESULT DibScatterTiles(HDC destination, HDC source, int tileWidth, int tileHeight, int jitter, LONG* lines);
// Both flags: the vertical mirror only.  Always 0.
HRESULT DibFlip(HDC destination, HDC source, int width, int height, BOOL horizontal, BOOL vertical);
// One BitBlt; lines receives its result.  Always 0.
HRESULT DibCopy(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop,
                LONG* lines);

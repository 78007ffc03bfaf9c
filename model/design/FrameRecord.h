// One design area's record: background fill, border frame with its own fill, the
// clip-art images and the optional cut-out region.  A plain record of forty 32-bit
// words: the array zero-fills new records and copies them as raw memory.
#pragma once

#include <windows.h>

class CImageLayer;
class CRegionData;

struct FrameRecord
{
    CRegionData* region;          // owned; cut-out region of the design area
    CImageLayer* frameImage;      // owned; border-frame image over the design rectangle
    CImageLayer* templateImage;   // owned; template image, dimmed on request
    CImageLayer* backgroundImage; // owned; background clip-art tiled as a texture
    CImageLayer* frameFillImage;  // owned; texture that fills the frame band
    int bgRadial;
    int bgLinear;
    int contentFlag; // reserved; only a record copy sets it
    COLORREF bgColour1;
    COLORREF bgColour2;
    COLORREF bgColour3;
    COLORREF bgColour4;
    COLORREF bgColour5;
    float bgOpacity;
    int bgAngle;
    float edgeMargin; // inches of unprinted band along the item outline
    float bgTileScale;
    int bgTileRotation;
    int bgTileTransparency; // percent, 100 opaque
    int frameStyle;         // 0 none, 1 to 14
    int frameFillStyle;     // 1 solid, 2 linear, 3 radial
    int frameFillAngle;
    float frameSize;
    float frameOutlineWidth;
    float frameIntensity;
    COLORREF frameColour1;
    COLORREF frameColour2;
    COLORREF frameColour3;
    COLORREF frameColour4;
    COLORREF frameColour5;
    COLORREF frameOutlineColour;
    float frameOpacity;
    float frameSpareFloat;
    int frameSpareInt;
    float frameImageScale;
    float frameImageOffset;
    int frameImageRotation;
    DWORD reserved1;
    DWORD reserved2;
    int frameImageTransparency; // percent, 100 opaque
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(FrameRecord) == 40 * 4, "a frame record is forty 32-bit words");
#endif

// Fills every field with the value a new or reset design area starts with; the
// pointers are left alone (the caller owns what they point to).
void SetFrameRecordDefaults(FrameRecord& record);

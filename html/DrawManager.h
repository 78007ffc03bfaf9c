// The pixel toolbox of the HTML drawer and the tooltip: colour helpers, blends, images with
// colour effects, masks and shadows, gradient and texture fills, framed rectangles and
// lines in pen styles.
// Rule kept: per-pixel work happens only in DIB sections in memory (never per-pixel GDI
// calls); every selection is undone and every handle made here is released once; an object
// that cannot be made ends the operation without drawing.
#pragma once
#include "fw/fw.h"
#include "html/DibBuffer.h"
#include <vector>

class CPPDrawManager
{
public:
    // Image effect flags.
    enum : WORD {
        IMAGE_EFFECT_GRAY = 0x0001,
        IMAGE_EFFECT_DARKER = 0x0002,
        IMAGE_EFFECT_LIGHTER = 0x0004,
        IMAGE_EFFECT_MONO = 0x0008,
        IMAGE_EFFECT_SHADOW = 0x0100,
        IMAGE_EFFECT_SOFT_SHADOW = 0x0200,
        IMAGE_EFFECT_INVERT = 0x8000,
    };
    // Background effect numbers of FillEffect; any other number fills solid.
    enum {
        EFFECT_SOLID = 0,
        EFFECT_HGRADIENT,
        EFFECT_VGRADIENT,
        EFFECT_HCGRADIENT,
        EFFECT_VCGRADIENT,
        EFFECT_3HGRADIENT,
        EFFECT_3VGRADIENT,
        EFFECT_NOISE,
        EFFECT_DIAGSHADE,
        EFFECT_HSHADE,
        EFFECT_VSHADE,
        EFFECT_HBUMP,
        EFFECT_VBUMP,
        EFFECT_SOFTBUMP,
        EFFECT_HARDBUMP,
        EFFECT_METAL,
    };
    // Pen style codes of DrawRectangle and DrawLine; any other code draws solid.
    enum {
        PEN_NULL = 0,
        PEN_SOLID = 1,
        PEN_DASH = 2,
        PEN_DOT = 3,
        PEN_DASHDOT = 4,
        PEN_DASHDOTDOT = 5,
        PEN_DOUBLE = 6,
    };

    CPPDrawManager();
    virtual ~CPPDrawManager();
    CPPDrawManager(const CPPDrawManager&) = delete;
    CPPDrawManager& operator=(const CPPDrawManager&) = delete;

    // Colour helpers on 32-bit pixel words (blue in the low byte); computed results have a
    // zero high byte.
    static DWORD GrayColor(DWORD pixel);
    static COLORREF GrayColorRef(COLORREF colour);
    static DWORD InvertColor(DWORD colour);
    static DWORD DarkenColor(DWORD pixel, double factor);  // 0 <= factor < 1, else unchanged
    static DWORD LightenColor(DWORD pixel, double factor); // 0 < factor <= 1, else unchanged
    static DWORD MixColors(DWORD c1, double f1, DWORD c2, double f2);

    static SIZE GetSizeOfIcon(HICON icon);
    static SIZE GetSizeOfBitmap(HBITMAP bitmap);

    void AlphaBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int percent);
    void AlphaChannelBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY);
    void MultipleCopy(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                      int srcHeight);

    // A new 32-bit DIB section (the caller deletes it), or null.
    HBITMAP CreateImageEffect(HBITMAP bitmap, int width, int height, WORD flags, BOOL useMask, COLORREF maskColour,
                              COLORREF monoColour);
    // A new icon (the caller destroys it), or null.
    HICON StretchIcon(HICON icon, int width, int height);
    void DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, BOOL useMask, COLORREF maskColour,
                    WORD flags, BOOL shadow, int dx, int dy, int depthX, int depthY, COLORREF colour);
    void DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, WORD flags, BOOL shadow, int dx, int dy,
                  int depthX, int depthY, COLORREF colour);
    void DrawImageList(HDC dc, int x, int y, int width, int height, HBITMAP strip, int index, int cx, int cy,
                       BOOL useMask, COLORREF maskColour, WORD flags, BOOL shadow, int dx, int dy, int depthX,
                       int depthY, COLORREF colour);
    // Whether the last image effect made saw an alpha channel.
    bool HadAlphaChannel() const { return m_alpha; }

    void DrawShadow(HDC dst, int x, int y, int width, int height, HBITMAP mask, BOOL soft, int depthX, int depthY);
    // The darkening factor (0..1) of every pixel: the mask's blue byte / 255, blurred when soft.
    bool MaskToDepth(HDC dc, int width, int height, HBITMAP mask, BOOL soft, int depthX, int depthY,
                     std::vector<double>& factors);
    void DarkenByDepth(HDC dst, int x, int y, int width, int height, const std::vector<double>& factors);
    // A depthX x depthY box filter of the mask's blue bytes, 255 outside the mask, into one
    // factor in 0..1 per pixel (width x height of them).
    static void BlurMask(int width, int height, const DWORD* maskBits, int depthX, int depthY, double* factors);

    void FillGradient(HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, BOOL horizontal);
    void FillEffect(HDC dc, int effect, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3, int granularity = 5,
                    int blend = 0);
    void DrawRectangle(HDC dc, int left, int top, int right, int bottom, COLORREF colour1, COLORREF colour2,
                       int style = PEN_SOLID, int width = 1);
    void DrawRectangle(HDC dc, const RECT& rect, COLORREF colour1, COLORREF colour2, int style = PEN_SOLID,
                       int width = 1);
    void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int style = PEN_SOLID, int width = 1);

private:
    // Where an image's pixels, its AND mask (made from the image when null) and its shadow
    // mask come from.
    struct ImageSources
    {
        HDC image;
        BOOL imageUseMask;
        COLORREF imageMask;
        HDC andMask;
        HDC shadow;
        BOOL shadowUseMask;
        COLORREF shadowMask;
    };
    void DrawImageEffects(HDC dc, int x, int y, int width, int height, const ImageSources& sources, WORD flags,
                          BOOL shadow, int dx, int dy, int depthX, int depthY, COLORREF colour);
    bool MakeImageEffect(class CDibCanvas& target, HDC src, int width, int height, WORD flags, BOOL useMask,
                         COLORREF maskColour, COLORREF monoColour);
    void DrawShadowFrom(HDC dst, int x, int y, int width, int height, HDC mask, BOOL soft, int depthX, int depthY);
    bool DepthFrom(HDC dc, int width, int height, HDC mask, BOOL soft, int depthX, int depthY,
                   std::vector<double>& factors);
    void FillEffectDib(HDC dc, const RECT& rect, int effect, int granularity, int blend, COLORREF c1, COLORREF c2,
                       COLORREF c3);

    CPPDibBuffer m_canvas; // the texture canvas, made again for every texture fill
    bool m_alpha = false;
};

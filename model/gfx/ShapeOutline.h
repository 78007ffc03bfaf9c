// Outlines of the border frames and speech bubbles, built as GDI+ paths.
//
// Every builder appends one figure to a path that the caller owns. Coordinates are in the
// caller's units; a frame outline lies in the box (0, 0)-(W, H), inset by the frame width m,
// with d the size of the style's ornament.
#pragma once

#include <windows.h>
#include <gdiplus.h>

// The step and the widened edges that the repeated ornaments (styles 7, 8, 10, 14) use so
// that a whole number of ornaments covers each edge.
struct OrnamentFit
{
    double step;                     // ornament length s: shorter inner side / longer inner side
    int countX;                      // ornaments along the top and bottom edges
    int countY;                      // ornaments along the left and right edges
    double left, top, right, bottom; // L, T, R', B': the edges moved out by the excess
};

// Fills fit for an area of W x H with frame width m. False (fit zeroed) when the inner area
// is empty or the ornaments would be absurdly many; the builders then add no ornaments.
bool ComputeOrnamentFit(float m, float W, float H, OrnamentFit* fit);

class CShapePath
{
public:
    virtual ~CShapePath() {}

    // The fourteen frame styles.
    static void AddRectangle(Gdiplus::GraphicsPath* path, float m, float W, float H);               // 1
    static void AddRoundedRect(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);    // 2
    static void AddBowedOut(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);       // 3
    static void AddBowedIn(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);        // 4
    static void AddCornerLoops(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);    // 5
    static void AddConcaveCorners(Gdiplus::GraphicsPath* path, float m, float d, float W, float H); // 6
    // 7 with d > 0 (scallops pointing out); style 8 is this builder with -d.
    static void AddScallops(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);
    static void AddEllipse(Gdiplus::GraphicsPath* path, float m, float W, float H);                 // 9
    static void AddZigzag(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);         // 10
    static void AddSCurves(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);        // 11
    static void AddCornerSquares(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);  // 12
    static void AddNotchedCorners(Gdiplus::GraphicsPath* path, float m, float d, float W, float H); // 13
    static void AddWaves(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);          // 14

    // Style 1..14 by number (8 = 7 with -d); false and nothing added for any other style.
    static bool AddFrameStyle(Gdiplus::GraphicsPath* path, int style, float m, float d, float W, float H);
};

// Speech bubbles around a text of W x H: a body of 1.1 W x 1.2 H centred on the origin with a
// tail at position 1..8 (1 top-right corner, then clockwise; other positions add no tail).
// Variant 1 has square corners, variant 2 rounds every corner that carries no tail.
void AddSpeechBubblePath1(Gdiplus::GraphicsPath* path, int tailPos, float tailWidth, float tailLength, float W,
                          float H);
void AddSpeechBubblePath2(Gdiplus::GraphicsPath* path, int tailPos, float tailWidth, float tailLength, float W,
                          float H);

// The frame outlines again as free functions beside the bubbles, in the same geometry as
// CShapePath's builders (styles 1, 3, 4, 5, 6, 7, 9, 10, 11, 12 and 14).
void AddRectanglePath(Gdiplus::GraphicsPath* path, float m, float W, float H);
void AddBowedOutPath(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);
void AddBowedInPath(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);
void AddCornerLoopsPath(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);
void AddConcaveCornersPath(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);
void AddScallopsPath(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);
void AddEllipsePath(Gdiplus::GraphicsPath* path, float m, float W, float H);
void AddZigzagPath(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);
void AddSCurvesPath(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);
void AddCornerSquaresPath(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);
void AddWavesPath(Gdiplus::GraphicsPath* path, float m, float d, float W, float H);

// A base for outline builders that keep no state.
class CPathBuilder
{
public:
    virtual ~CPathBuilder() {}
};

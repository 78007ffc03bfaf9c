// Process-wide switches and small helpers shared by the renderers, the view, printing
// and the panels: units, GDI+ quality and scale, colour matrices, encoders, point
// rotation, the shared dialog font and bubble-help text (sounds: base/Sound.h).
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include "fw/fw.h"

// --- Process-wide values (each 0 until set) ---------------------------------------------
void SetDisplayMode(BOOL on); // quality drawing on screen ("display")
BOOL GetDisplayMode();
void SetMetric(BOOL on); // lengths shown in millimetres ("metric")
BOOL IsMetric();
void SetGlobalValueA(int mirror); // print-mirror flag
int GetGlobalValueA();
void SetGlobalValueC(int printing); // printing flag: renderers draw for print
int GetGlobalValueC();
void SetGlobalFloat(float version); // version of the design file being read
float GetGlobalFloat();

// --- Units --------------------------------------------------------------------------------
// Display units are hundredths of an inch, or tenths of a millimetre (254 to the inch)
// when metric is on.  Conversions to integers truncate toward zero.
int ToDisplayUnitsA(float inches);
float FromDisplayUnits(int units);
int DisplayUnitsToHundredths(int units);
// Small unit-dependent choices: 50 when metric else 40; n / 2 when metric else n;
// n x 2 when metric else n.
int UnitsFiftyOrForty();
int HalveWhenMetric(int n);
int DoubleWhenMetric(int n);

// --- GDI+ helpers -------------------------------------------------------------------------
// High quality when printing or in display mode; otherwise no smoothing, low-quality
// interpolation and high-speed compositing.
void DrawWithCurrentStyle(Gdiplus::Graphics* graphics, BOOL printing);

// Page scale of a design drawn in inches into `rect` (device pixels) on `dc`: returns
// the scale; when the DC is not printing also the offsets (inches) of the rectangle's
// top-left corner; width/height receive the printable size.  `graphics` may be null.
float ComputeDrawingScale(CDC* dc, Gdiplus::Graphics* graphics, const CRect& rect, float printableWidth,
                          float printableHeight, double& xOffset, double& yOffset, double& width, double& height);

// Colour matrices for bitmaps: alpha x percent / 100; red, green and blue x 0.7.
Gdiplus::Status SetOpacityMatrix(Gdiplus::ImageAttributes* attributes, int percent);
Gdiplus::Status SetDimMatrix(Gdiplus::ImageAttributes* attributes);

// Writes every pixel back with its own ARGB value (x outer, y inner).  Null does nothing.
void RewriteBitmapPixels(Gdiplus::Bitmap* bitmap);
// A new fully transparent 32-bit ARGB bitmap owned by the caller.
Gdiplus::Bitmap* CreateArgbBitmap(int width, int height);

// Index of the installed encoder of that MIME type with its CLSID, or -1 (clsid untouched).
int GetEncoderClsid(const WCHAR* mimeType, CLSID* clsid);
void FindJpegEncoder();
CLSID GetJpegEncoderClsid();

// Rotates pt about the origin by `degrees` and scales it.
void RotatePointF(Gdiplus::PointF& pt, double degrees, double scale);
// The same for whole pixels, each result rounded to the nearest integer (negative ones too).
void RotatePoint(POINT& pt, double degrees, double scale);

// --- Fonts and texts ----------------------------------------------------------------------
// The shared dialog font: Arial, 12 pixels, bold, antialiased (made on first use).
HFONT GetDialogFont();
// Two more shared fonts, each made on first use: Arial of height 8, regular; Times New
// Roman of 32 pixels, regular, italic.
HFONT GetSmallDialogFont();
HFONT GetTitleFont();

// The HTML of a bubble help for the HTML tooltip.
CString FormatBubbleHelp(CString title, CString body, CString footer, int iconId);

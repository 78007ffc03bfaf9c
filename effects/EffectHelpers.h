// The small pixel helpers every effect uses: clamping, mixing, luminance, index clamping,
// look-up tables, histograms, two-level arrays, the message pump, a convolution and the
// tables of the contour effect.  Pure functions on 24-bit buffers (see EffectFrame.h).
#pragma once
#include "fw/fw.h"

#include <stdint.h>

BYTE ClampByte(int value);
// a at t = 0, b at t = 255, a straight line between; a weight outside 0..255 extrapolates.
int MixByte(int a, int b, int t);
double MixDouble(double a, double b, double t);
BYTE Luminance(int red, int green, int blue);
int64_t RoundDouble(double value);
// The largest offset not above d that keeps i + offset at or below n - 1.
int ReflectIndex(int i, int d, int n);
// The boundary radius for a direction (radians) of an a x b image.
double PolarAngle(int a, int b, double angle);

// n blocks of m zeroed bytes; nullptr (nothing held) when one cannot be had.
BYTE** Alloc2D(int n, int m);
void Free2D(BYTE** array, int n);

// Handles every waiting message of this thread; a WM_QUIT stops it, undispatched and posted
// again, so the thread's loop still ends.
void PumpMessages();

void ApplyChannelLuts(const BYTE* red, const BYTE* green, const BYTE* blue, BYTE* buffer, int width, int height);

struct HistogramRecord
{
    int32_t counts[256];
    int32_t lowest;
    int32_t highest;
};
// channel: 1 red, 2 green, 4 blue; any other code leaves the counters 0.
void BuildHistogram(const BYTE* buffer, int width, int height, int32_t* counts, int channel);
void HistogramRange(HistogramRecord* record);

// A new buffer (the caller frees it with EffectFree) or, for r < 1, `buffer` itself;
// nullptr when it cannot be allocated.
BYTE* ConvolveKernel(const BYTE* buffer, int width, int height, const double* kernel, int r);

void BuildTriangleLut(BYTE* buffer, int width, int height, int step);
// segment: start index, end index, three start values, three end values.
void FillLutRamp(const int32_t* segment, BYTE* table1, BYTE* table2, BYTE* table3);
void RotateLut(BYTE* table, int phase);
void ApplyBandLut(BYTE* buffer, int width, int height, int bands, int phase);
void ApplyFirePalette(BYTE* buffer, int width, int height);
void ApplyIcePalette(BYTE* buffer, int width, int height);

// Window helpers shared by the neighbourhood filters (not part of the library's interface).
#pragma once
#include "effects/EffectFrame.h"
#include "effects/EffectHelpers.h"

namespace effects_detail {

inline int ClampInt(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }
inline int GreyOf(const BYTE* p) { return (p[0] + p[1] + p[2]) / 3; }

// The neighbour at (x + dx, y + dy): never past the top row or the last column, and the
// pixel itself when either coordinate falls below 0.
inline const BYTE* Neighbour(const Dib& dib, int x, int y, int dx, int dy)
{
    if (x + dx < 0 || y + dy < 0)
        return dib.Px(x, y);
    return dib.Px(x + ReflectIndex(x, dx, dib.width), y + ReflectIndex(y, dy, dib.height));
}

// Per-channel sums of a window, 32-bit.
struct Sum3
{
    int c[3] = {0, 0, 0};
    void Add(const BYTE* p)
    {
        c[0] += p[0];
        c[1] += p[1];
        c[2] += p[2];
    }
    void StoreMean(BYTE* p, int count) const
    {
        for (int k = 0; k < 3; ++k)
            p[k] = (BYTE)(c[k] / count);
    }
};

} // namespace effects_detail

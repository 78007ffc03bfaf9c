// The device context that rubber-band feedback is drawn into during a drag.
#pragma once
#include "fw/fw.h"
#include <optional>

// Stands in for a target DC: draws into an off-screen copy of the target's visible
// area and copies only the touched bounds back with one raster operation, so that
// exclusive-or feedback neither flickers nor leaves traces.  A printer target is
// drawn into directly.
class CTrackDC : public CDC
{
public:
    CTrackDC(CDC* target, DWORD rop);
    ~CTrackDC() override;

    // Makes sure the process-wide feedback bitmap is at least width x height
    // (it only grows).  FALSE when it cannot be made.
    static BOOL PrepareBitmap(CDC* target, int width, int height);
    // Size of the shared bitmap (0 x 0 before first use); for checks.
    static CSize GetSharedBitmapSize();

private:
    void TakeOverTarget();

    CDC* m_pTarget;
    DWORD m_dwRop;
    std::optional<CSelectGuard> m_bitmapSelection; // the shared bitmap in the memory DC
    BOOL m_bMemory;                                // drawing goes to the shared bitmap
    BOOL m_bTakenOver;                             // the target's handles are borrowed
};

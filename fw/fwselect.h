// A GDI object selected into a DC for one scope.
//
// The rule it keeps: what was selected before goes back when the guard goes, before the
// object may be deleted, exactly once. A palette is selected with SelectPalette (as a
// foreground palette) and put back the same way; a region is never selected (a DC copies a
// region as its clip region: use SelectClipRgn), so the guard leaves the DC alone for one.
#pragma once
#include "fw/fwgdi.h"

class CSelectGuard
{
public:
    // deleteAfter: the guard owns `object` and deletes it when it goes (after restoring),
    // even when the selection failed.
    CSelectGuard(HDC dc, HGDIOBJ object, bool deleteAfter = false);
    // The wrapper keeps ownership.
    CSelectGuard(CDC* dc, CGdiObject* object);
    ~CSelectGuard();

    // The object that was selected before (NULL when the selection failed).
    HGDIOBJ Previous() const { return m_previous; }
    // False when the selection failed (nothing to restore then).
    bool Selected() const { return m_previous != nullptr; }

private:
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;

    HDC m_dc;
    HGDIOBJ m_object;
    HGDIOBJ m_previous = nullptr;
    bool m_palette = false;
    bool m_delete;
};

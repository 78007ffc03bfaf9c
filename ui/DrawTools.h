// Small drawing tools of the owner-drawn controls: an off-screen buffer over a target device
// context, and a pen or a brush of one colour selected for one scope.
//
// The rule it keeps: each owns what it makes, puts back what it replaced before deleting its
// own object, exactly once, and cannot be copied. Every selection goes through CSelectGuard.
#pragma once
#include "fw/fw.h"

#include <memory>

// Drawing goes to a compatible bitmap; the destructor copies the area back to the target at
// the same place. The area is the given rectangle, or the target's clip box when that is
// empty. The bitmap spans (0, 0) to the area's bottom-right; the strips above and left of
// the area are clipped away.
class CMemoryBufferDC : public CDC
{
public:
    CMemoryBufferDC(HDC target, const RECT& area);
    ~CMemoryBufferDC() override;
    CMemoryBufferDC(const CMemoryBufferDC&) = delete;
    CMemoryBufferDC& operator=(const CMemoryBufferDC&) = delete;

    const CRect& Area() const { return m_area; }

private:
    HDC m_target;
    CRect m_area;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_replaced = nullptr;
};

// A solid pen of width 1 in one colour, selected while the object lives.
class CPenSelector
{
public:
    CPenSelector(HDC dc, COLORREF colour);
    ~CPenSelector();
    CPenSelector(const CPenSelector&) = delete;
    CPenSelector& operator=(const CPenSelector&) = delete;

    // Puts the previous pen back, deletes this one and selects a new one of the colour.
    void SetColour(COLORREF colour);
    // The colour of the pen selected now, read back from the pen itself.
    COLORREF GetColour() const;

private:
    HDC m_dc;
    HPEN m_pen = nullptr;
    std::unique_ptr<CSelectGuard> m_guard;
};

// A solid brush in one colour, or the stock hollow brush for kNoBrushColour, selected while
// the object lives.
class CBrushSelector
{
public:
    static constexpr COLORREF kNoBrushColour = 0xFFFFFFFF;

    CBrushSelector(HDC dc, COLORREF colour);
    ~CBrushSelector();
    CBrushSelector(const CBrushSelector&) = delete;
    CBrushSelector& operator=(const CBrushSelector&) = delete;

    void SetColour(COLORREF colour);
    // The brush's colour read back from the brush; kNoBrushColour for the hollow brush.
    COLORREF GetColour() const;

private:
    HDC m_dc;
    HBRUSH m_brush = nullptr; // null while the stock hollow brush is selected
    std::unique_ptr<CSelectGuard> m_guard;
};

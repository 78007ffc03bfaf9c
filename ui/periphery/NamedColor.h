// A colour and its text forms: one of 140 colour names, "#RRGGBB", or "r,g,b" in decimal.
//
// The rule it keeps: text never yields a colour outside 0x00BBGGRR; numbers of "r,g,b" are
// clamped to 0..255 each, and a text it cannot read gives black.
#pragma once
#include "fw/fw.h"

class CNamedColor
{
public:
    CNamedColor() = default;
    explicit CNamedColor(COLORREF colour) : m_colour(colour) {}
    // A name (any case), "#RRGGBB" or "r,g,b"; black when the text is none of them.
    explicit CNamedColor(LPCTSTR text);
    virtual ~CNamedColor() = default;

    COLORREF GetColor() const { return m_colour; }
    void SetColor(COLORREF colour) { m_colour = colour; }
    // "#RRGGBB" in upper-case digits.
    CString GetHex() const;
    // The first name of the table with this colour, as the table spells it; "not defined".
    CString GetName() const;
    // Only "#" and six characters are read (each pair up to its first non-hex digit); any
    // other text gives black. Returns the new colour.
    COLORREF SetHex(LPCTSTR text);
    // The colour of the name, any case; black for a name not in the table.
    COLORREF SetName(LPCTSTR name);

    struct Row
    {
        COLORREF colour;
        const char* name;
    };
    // The 140 named colours, in alphabetical order.
    static const Row* Table(int* count);

private:
    COLORREF m_colour = 0;
};

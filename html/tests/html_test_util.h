// What only the html tests need: reference text drawn with plain GDI in a font of their
// choosing, to compare with what the drawer drew.  Surfaces, pictures and the GDI leak
// check come from testsupport/.
#pragma once
#include "fw/fw.h"
#include <gtest/gtest.h>
#include <optional>
#include <string.h>

namespace html_test {

// A font of plain GDI, selected into a DC for the lifetime of this object.
class TestFont
{
public:
    TestFont(HDC dc, int height, LPCTSTR face, int weight = FW_NORMAL, BOOL italic = FALSE, BOOL underline = FALSE,
             BOOL strikeOut = FALSE)
        : m_dc(dc)
    {
        m_font.CreateFont(height, 0, 0, 0, weight, (BYTE)italic, (BYTE)underline, (BYTE)strikeOut, DEFAULT_CHARSET, 0,
                          0, 0, 0, face);
        m_selection.emplace(dc, m_font.m_hObject);
    }
    TestFont(const TestFont&) = delete;
    TestFont& operator=(const TestFont&) = delete;
    int Width(LPCTSTR text) const
    {
        SIZE s = {0, 0};
        ::GetTextExtentPoint32(m_dc, text, (int)strlen(text), &s);
        return s.cx;
    }
    TEXTMETRIC Metrics() const
    {
        TEXTMETRIC tm = {};
        ::GetTextMetrics(m_dc, &tm);
        return tm;
    }
    // Draws text with its top-left corner at (x, y) in colour, on a transparent background.
    int Draw(int x, int y, LPCTSTR text, COLORREF colour = RGB(0, 0, 0)) const
    {
        ::SetBkMode(m_dc, TRANSPARENT);
        ::SetTextColor(m_dc, colour);
        ::TextOut(m_dc, x, y, text, (int)strlen(text));
        return x + Width(text);
    }

private:
    HDC m_dc;
    CFont m_font;
    std::optional<CSelectGuard> m_selection; // goes before the font
};

} // namespace html_test

// The face list: an owner-drawn combo box listing every font face of the screen once, each drawn
// in its own typeface (by style), a TrueType face marked with the glyph of bitmap 130.
//
// The rule it keeps: every font made to draw or measure an item is selected back and deleted
// within that call; a face whose font cannot be made is drawn without a name, never with a
// stale font.
#pragma once
#include "fw/fwwin.h"

class CFontComboBox : public CComboBox
{
public:
    // Styles: what an item shows.
    enum {
        kStyleNameOwnFace = 0, // the name in its own typeface
        kStyleName = 1,        // the name in the control's font
        kStyleNameSample = 2,  // the name, then the sample in the item's typeface
        kStyleSampleName = 3,  // the sample in the item's typeface, then the name
        kStyleSample = 4       // the sample in the item's typeface only
    };

    CFontComboBox();
    ~CFontComboBox() override;

    // The glyph list, one item per face of a client DC of the control (item data: the font
    // type flags), then item 0 selected.
    void FillFonts();
    // The drop-down as wide as the widest name, a scroll bar and two edges.
    void SetDroppedWidthToFit();

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;

    int m_style;
    CString m_sampleText;
    COLORREF m_sampleColour;
    int m_itemHeight;
    int m_nameWidth;
    int m_sampleWidth;

private:
    static int CALLBACK EnumFace(const LOGFONT* font, const TEXTMETRIC*, DWORD type, LPARAM self);
    // The item's font: the face at the item height, normal weight, antialiased.
    BOOL MakeItemFont(CFont& font, const CString& face) const;

    CImageList m_glyphs;
};

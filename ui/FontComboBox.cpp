#include "ui/FontComboBox.h"

#include "res/ui_res.h"
#include "ui/Skin.h"

#include <algorithm>
#include <cstdlib>

namespace {

const int kGlyphWidth = 10;
const int kGlyphX = 5;
const int kGlyphY = 4;
const int kTextIndent = 10;

CString ItemText(const CComboBox& combo, int item)
{
    CString text;
    if (item >= 0)
        combo.GetLBText(item, text);
    return text;
}

int TextWidth(HDC dc, const CString& text)
{
    SIZE size = {};
    ::GetTextExtentPoint32(dc, text, text.GetLength(), &size);
    return size.cx;
}

// Draws text at x, centred vertically in the item, and returns its width.
int DrawAt(HDC dc, int x, const CRect& item, const CString& text)
{
    SIZE size = {};
    ::GetTextExtentPoint32(dc, text, text.GetLength(), &size);
    ::TextOut(dc, x, item.top + (item.Height() - size.cy) / 2, text, text.GetLength());
    return size.cx;
}

} // namespace

CFontComboBox::CFontComboBox()
    : m_style(kStyleNameSample), m_sampleColour(kSkinFontSample), m_itemHeight(18), m_nameWidth(50), m_sampleWidth(0)
{}

CFontComboBox::~CFontComboBox()
{
    m_glyphs.DeleteImageList();
    m_sampleText.Empty();
}

int CALLBACK CFontComboBox::EnumFace(const LOGFONT* font, const TEXTMETRIC*, DWORD type, LPARAM self)
{
    auto* combo = reinterpret_cast<CFontComboBox*>(self);
    // Some systems report a face once per style and character set: list it once.
    if (combo->FindStringExact(-1, font->lfFaceName) != CB_ERR)
        return 1;
    const int index = combo->AddString(font->lfFaceName);
    if (index >= 0)
        combo->SetItemData(index, type);
    return 1;
}

void CFontComboBox::FillFonts()
{
    m_glyphs.DeleteImageList();
    CBitmap glyph;
    if (glyph.LoadBitmap(IDB_FONT_GLYPH)) {
        BITMAP bm = {};
        glyph.GetBitmap(&bm);
        if (m_glyphs.Create(kGlyphWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 1))
            m_glyphs.Add(&glyph, RGB(255, 255, 255));
    }
    HDC dc = ::GetDC(m_hWnd);
    if (dc != nullptr) {
        ::EnumFonts(dc, nullptr, (FONTENUMPROC)&CFontComboBox::EnumFace, reinterpret_cast<LPARAM>(this));
        ::ReleaseDC(m_hWnd, dc);
    }
    SetCurSel(0);
}

void CFontComboBox::SetDroppedWidthToFit()
{
    HDC dc = ::GetDC(m_hWnd);
    if (dc == nullptr)
        return;
    int widest = 0;
    for (int i = 0; i < GetCount(); ++i)
        widest = std::max(widest, TextWidth(dc, ItemText(*this, i)));
    ::ReleaseDC(m_hWnd, dc);
    SetDroppedWidth(widest + ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXEDGE));
}

BOOL CFontComboBox::MakeItemFont(CFont& font, const CString& face) const
{
    return font.CreateFont(m_itemHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

void CFontComboBox::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    const CString face = ItemText(*this, (int)mis->itemID);
    CFont font;
    if (!MakeItemFont(font, face))
        return;
    LOGFONT lf = {};
    font.GetLogFont(&lf);
    mis->itemHeight = (UINT)(std::abs(lf.lfHeight) + 4);
    if (m_style != kStyleNameSample && m_style != kStyleSampleName) {
        m_nameWidth = 0;
        m_sampleWidth = 0;
        return;
    }
    HDC dc = ::GetDC(m_hWnd);
    if (dc == nullptr)
        return;
    {
        CSelectGuard gui(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        m_nameWidth = std::max(m_nameWidth, TextWidth(dc, face));
    }
    {
        CSelectGuard own(dc, font.GetSafeHandle());
        m_sampleWidth = std::max(m_sampleWidth, TextWidth(dc, m_sampleText));
    }
    ::ReleaseDC(m_hWnd, dc);
}

void CFontComboBox::DrawItem(LPDRAWITEMSTRUCT dis)
{
    HDC dc = dis->hDC;
    CRect item = dis->rcItem;
    const bool focus = (dis->itemState & ODS_FOCUS) != 0;
    if ((int)dis->itemID != -1) {
        const int saved = ::SaveDC(dc);
        COLORREF sampleColour = m_sampleColour;
        if ((dis->itemState & ODS_SELECTED) != 0) {
            ::SetBkColor(dc, ::GetSysColor(COLOR_HIGHLIGHT));
            ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
            sampleColour = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        }
        ::ExtTextOut(dc, 0, 0, ETO_OPAQUE, &item, nullptr, 0, nullptr);
        ::SetBkMode(dc, TRANSPARENT);
        if ((dis->itemData & TRUETYPE_FONTTYPE) != 0 && m_glyphs.GetSafeHandle() != nullptr)
            ImageList_Draw(m_glyphs, 0, dc, item.left + kGlyphX, item.top + kGlyphY, ILD_TRANSPARENT);
        item.left += kTextIndent;
        const CString name = ItemText(*this, (int)dis->itemID);
        const int x = item.left + kTextIndent;
        const bool inEdit = (dis->itemState & ODS_COMBOBOXEDIT) != 0;
        CFont font;
        if (m_style == kStyleName || MakeItemFont(font, name)) {
            const COLORREF textColour = ::GetTextColor(dc);
            switch (m_style) {
            case kStyleNameOwnFace: {
                CSelectGuard own(dc, font.GetSafeHandle());
                DrawAt(dc, x, item, name);
                break;
            }
            case kStyleName:
                DrawAt(dc, x, item, name);
                break;
            case kStyleNameSample: {
                const int nameWidth = DrawAt(dc, x, item, name);
                CSelectGuard own(dc, font.GetSafeHandle());
                ::SetTextColor(dc, sampleColour);
                DrawAt(dc, x + (inEdit ? nameWidth : m_nameWidth) + kTextIndent, item, m_sampleText);
                ::SetTextColor(dc, textColour);
                break;
            }
            case kStyleSampleName: {
                int sampleWidth = 0;
                {
                    CSelectGuard own(dc, font.GetSafeHandle());
                    ::SetTextColor(dc, sampleColour);
                    sampleWidth = DrawAt(dc, x, item, m_sampleText);
                    ::SetTextColor(dc, textColour);
                }
                DrawAt(dc, x + (inEdit ? sampleWidth : m_sampleWidth) + kTextIndent, item, name);
                break;
            }
            case kStyleSample: {
                CSelectGuard own(dc, font.GetSafeHandle());
                ::SetTextColor(dc, sampleColour);
                DrawAt(dc, x, item, m_sampleText);
                break;
            }
            default:
                break;
            }
        }
        ::RestoreDC(dc, saved);
    }
    // Last, so that the item's own fill does not wipe it out.
    if (focus)
        ::DrawFocusRect(dc, &dis->rcItem);
}

// The drawer's style sheets: rules applied to a style record, property by property, with
// colour values and lengths.
#include "html/HtmlDrawer.h"
#include <limits.h>
#include <stdlib.h>

namespace {

int Clamp(long long value) { return value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : (int)value); }

// The decimal number at the start of text, clamped to the range of int so that products
// with it stay defined.
long long LeadingNumber(LPCTSTR text) { return Clamp(strtoll(text, nullptr, 10)); }

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

} // namespace

void CPPHtmlDrawer::SetCssStyles(LPCTSTR text)
{
    m_styleSheet.SetCssStyles(text ? text : CPPHtmlStyleSheet::DefaultStyles());
}

void CPPHtmlDrawer::SetDefaultCssStyles() { SetCssStyles(nullptr); }

void CPPHtmlDrawer::SetCssStylesFromResource(UINT id, LPCTSTR dll)
{
    const CString text = (dll && *dll) ? GetStringFromDll(id, dll) : GetStringFromResource(id);
    SetCssStyles(text);
}

void CPPHtmlDrawer::ResetStyle()
{
    PPHtmlStyle fresh;
    fresh.width = m_style.width;
    fresh.height = m_style.height;
    m_style = fresh;
}

void CPPHtmlDrawer::ApplyStyleByName(LPCTSTR selector, PPHtmlStyle& style)
{
    const LPCTSTR declarations = m_styleSheet.GetStyleText(selector);
    if (declarations)
        ApplyDeclarations(CString(declarations), style);
}

void CPPHtmlDrawer::ApplyDeclarations(const CString& declarations, PPHtmlStyle& style)
{
    if (declarations.IsEmpty())
        return;
    CString text = declarations;
    text.MakeLower();
    const int length = text.GetLength();
    char nameEnd[8] = ":";
    strcat(nameEnd, HtmlTokens::kBlanks);
    int pos = 0;
    while (HtmlTokens::SkipToToken(text, pos)) {
        const CString property = HtmlTokens::ReadToken(text, pos, nameEnd);
        if (!HtmlTokens::ExpectChar(text, pos, ':')) {
            HtmlTokens::FindOneOf(text, pos, ";"); // a declaration without a value
            continue;
        }
        HtmlTokens::SkipChars(text, pos, HtmlTokens::kBlanks);
        CString value;
        if (pos < length && text[pos] == '"') {
            int end = text.Find('"', pos + 1);
            if (end < 0)
                end = length;
            value = text.Mid(pos + 1, end - pos - 1);
            pos = end < length ? end + 1 : length;
        } else {
            value = HtmlTokens::ReadToken(text, pos, ";");
            value.TrimRight(HtmlTokens::kBlanks);
        }
        ApplyProperty(property, value, style);
    }
}

void CPPHtmlDrawer::ApplyProperty(const CString& property, const CString& value, PPHtmlStyle& style)
{
    if (property == "font-size") {
        style.fontHeight = GetLengthValue(value, style.fontHeight, TRUE);
    } else if (property == "font-family") {
        if (!value.IsEmpty())
            style.face = value;
    } else if (property == "font-style") {
        if (value.IsEmpty() || value == "normal")
            style.italic = FALSE;
        else if (value == "italic" || value == "oblique")
            style.italic = TRUE;
    } else if (property == "font-weight") {
        if (value.IsEmpty() || value == "normal")
            style.weight = FW_NORMAL;
        else if (value == "bold")
            style.weight = FW_BOLD;
        else if (value == "bolder")
            style.weight = FW_HEAVY;
        else if (value == "lighter")
            style.weight = FW_THIN;
        else
            style.weight = Clamp(LeadingNumber(value));
    } else if (property == "text-align") {
        if (value.IsEmpty() || value == "left")
            style.hAlign = PPHtmlStyle::ALIGN_LEFT;
        else if (value == "center")
            style.hAlign = PPHtmlStyle::ALIGN_CENTER;
        else if (value == "right")
            style.hAlign = PPHtmlStyle::ALIGN_RIGHT;
    } else if (property == "text-transform") {
        if (value.IsEmpty() || value == "none")
            style.transform = PPHtmlStyle::TRANSFORM_NONE;
        else if (value == "uppercase")
            style.transform = PPHtmlStyle::TRANSFORM_UPPER;
        else if (value == "lowercase")
            style.transform = PPHtmlStyle::TRANSFORM_LOWER;
        else if (value == "capitalize")
            style.transform = PPHtmlStyle::TRANSFORM_CAPITALIZE;
    } else if (property == "color") {
        style.textColor = m_enabled ? GetColorValue(value, style.textColor) : m_disabledColor;
    } else if (property == "background-color") {
        if (value.IsEmpty() || value == "transparent" || !m_enabled) {
            style.bkMode = TRANSPARENT;
        } else {
            style.bkMode = OPAQUE;
            style.bkColor = GetColorValue(value, style.bkColor);
        }
    } else if (property == "text-decoration") {
        if (value.IsEmpty()) {
            style.underline = style.strikeOut = style.overline = FALSE;
            return;
        }
        char separators[8] = ",";
        strcat(separators, HtmlTokens::kBlanks);
        int pos = 0;
        while (pos < value.GetLength()) {
            HtmlTokens::SkipChars(value, pos, separators);
            const CString word = HtmlTokens::ReadToken(value, pos, separators);
            if (word == "none")
                style.underline = style.strikeOut = style.overline = FALSE;
            else if (word == "underline")
                style.underline = TRUE;
            else if (word == "line-through")
                style.strikeOut = TRUE;
            else if (word == "overline")
                style.overline = TRUE;
        }
    } else if (property == "vertical-align") {
        if (value.IsEmpty() || value == "baseline")
            style.vAlign = PPHtmlStyle::VALIGN_BASELINE;
        else if (value == "middle" || value == "vcenter")
            style.vAlign = PPHtmlStyle::VALIGN_MIDDLE;
        else if (value == "top")
            style.vAlign = PPHtmlStyle::VALIGN_TOP;
        else if (value == "bottom")
            style.vAlign = PPHtmlStyle::VALIGN_BOTTOM;
    } else if (property == "border-color") {
        const COLORREF colour = m_enabled ? GetColorValue(value, style.borderLight) : m_disabledColor;
        style.borderLight = style.borderDark = colour;
    } else if (property == "border-width" || property == "size") {
        if (value == "thin")
            style.borderWidth = ::MulDiv(style.borderWidth, 75, 100);
        else if (value == "thick")
            style.borderWidth = ::MulDiv(style.borderWidth, 125, 100);
        else if (value != "medium")
            style.borderWidth = GetLengthValue(value, style.borderWidth, FALSE);
        if (style.borderWidth == 0)
            style.borderStyle = CPPDrawManager::PEN_NULL;
        else if (style.borderStyle == CPPDrawManager::PEN_NULL)
            style.borderStyle = CPPDrawManager::PEN_SOLID;
    } else if (property == "border-style") {
        if (value.IsEmpty() || value == "none")
            style.borderStyle = CPPDrawManager::PEN_NULL;
        else if (value == "solid")
            style.borderStyle = CPPDrawManager::PEN_SOLID;
        else if (value == "dotted")
            style.borderStyle = CPPDrawManager::PEN_DOT;
        else if (value == "dashed")
            style.borderStyle = CPPDrawManager::PEN_DASH;
        else if (value == "double")
            style.borderStyle = CPPDrawManager::PEN_DOUBLE;
        if (style.borderStyle != CPPDrawManager::PEN_NULL && style.borderWidth == 0)
            style.borderWidth = 1;
    } else if (property == "margin") {
        style.margin = GetLengthValue(value, style.margin, FALSE);
    } else if (property == "padding") {
        style.padding = GetLengthValue(value, style.padding, FALSE);
    }
}

int CPPHtmlDrawer::GetLengthValue(const CString& text, int def, BOOL fontSize)
{
    if (text.IsEmpty())
        return def;
    const int length = text.GetLength();
    if (text[length - 1] == '%')
        return ::MulDiv(def, Clamp(LeadingNumber(text.Left(length - 1))), 100);
    CString body = text;
    if (body[0] == '+' || body[0] == '-')
        body = body.Mid(1);
    if (body.IsEmpty())
        return def;
    const long long number = LeadingNumber(body);
    const CString unit = body.GetLength() >= 2 ? body.Right(2) : CString();

    // Without a device context of its own yet, the drawer measures on the screen's.
    CDC fallback;
    if (!m_hDC)
        fallback.Attach(::CreateCompatibleDC(nullptr));
    const HDC dc = m_hDC ? m_hDC : fallback.GetSafeHdc();
    auto perInch = [&]() { return (long long)::GetDeviceCaps(dc, LOGPIXELSY); };
    if (unit == "px")
        return Clamp(number);
    if (unit == "ex") {
        SIZE x = {0, 0};
        ::GetTextExtentPoint32(dc, "x", 1, &x);
        return Clamp(number * x.cx);
    }
    if (unit == "em") {
        TEXTMETRIC tm = {};
        ::GetTextMetrics(dc, &tm);
        return Clamp(number * tm.tmHeight);
    }
    if (unit == "in")
        return Clamp(number * perInch());
    if (unit == "cm")
        return Clamp((long long)(number * perInch() / 2.54));
    if (unit == "mm")
        return Clamp((long long)(number * perInch() / 25.4));
    if (unit == "pt")
        return Clamp(number * perInch() / 72);
    if (unit == "pc")
        return Clamp(number * perInch() / 6);

    static const int kFontSizes[7] = {8, 10, 12, 14, 18, 24, 36};
    const unsigned long plain = strtoul(body, nullptr, 0);
    if (fontSize && plain >= 1 && plain <= 7)
        return kFontSizes[plain - 1];
    return Clamp((long long)plain);
}

COLORREF CPPHtmlDrawer::GetColorByName(const CString& name, COLORREF def) const
{
    if (!m_enabled)
        return m_disabledColor;
    COLORREF colour = def;
    return m_dialect.LookupColor(name, colour) ? colour : def;
}

COLORREF CPPHtmlDrawer::GetColorValue(const CString& text, COLORREF def) const
{
    if (text.IsEmpty())
        return def;
    if (text[0] == '#') {
        if (text.GetLength() != 7)
            return def;
        for (int i = 1; i < 7; ++i)
            if (!IsHexDigit(text[i]))
                return def;
        const unsigned long rgb = strtoul((LPCTSTR)text + 1, nullptr, 16);
        return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    if (text[0] >= '0' && text[0] <= '9')
        return (COLORREF)strtoul(text, nullptr, 0);
    return GetColorByName(text, def);
}

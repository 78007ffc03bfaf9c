// The drawer's tag interpreter: style scopes, the font tag, links, rules, line breaks, tabs
// and resource strings.
#include "html/HtmlDrawer.h"
#include "html/DataModule.h"
#include <memory>

namespace {

// A string resource read into a buffer that grows until at least 3 characters stay free.
CString LoadResourceString(HMODULE module, UINT id)
{
    if (!module || !id)
        return CString();
    for (int size = 256; size <= 0x10000 + 256; size += 256) {
        std::unique_ptr<char[]> buffer(new char[(size_t)size]);
        const int length = ::LoadString(module, (UINT)(WORD)id, buffer.get(), size);
        if (length <= 0)
            return CString();
        if (size - length >= 3)
            return CString(buffer.get(), length);
    }
    return CString();
}

} // namespace

CString CPPHtmlDrawer::GetStringFromResource(UINT id) const { return LoadResourceString(FwGetResourceHandle(), id); }

CString CPPHtmlDrawer::GetStringFromDll(UINT id, LPCTSTR dll) const
{
    if (!id)
        return CString();
    if (dll && *dll) {
        HtmlData::DataModule module(dll);
        return LoadResourceString(module.handle, id);
    }
    return LoadResourceString(m_resourceModule, id);
}

CString CPPHtmlDrawer::GetResourceStringPart(UINT id, int index) const
{
    const CString text = GetStringFromResource(id);
    int start = 0;
    for (int part = 0; part < index; ++part) {
        const int newLine = text.Find('\n', start);
        if (newLine < 0)
            return CString();
        start = newLine + 1;
    }
    if (index < 0)
        return CString();
    const int end = text.Find('\n', start);
    return end < 0 ? text.Mid(start) : text.Mid(start, end - start);
}

void CPPHtmlDrawer::InterpretTag(const CString& tag)
{
    // The name ends at the first blank or "="; the attribute text starts there.
    const int end = tag.FindOneOf(" =");
    CString name = end < 0 ? tag : tag.Left(end);
    name.TrimRight(' ');
    const CString attributes = end < 0 ? CString() : tag.Mid(end);

    m_style.name.Empty();
    CString styleName;
    bool closing = false;
    const int code = GetTagCode(name, styleName, closing);
    if (code == CPPHtmlDialect::TAG_NONE)
        return;

    if (!styleName.IsEmpty()) {
        if (closing) {
            // Only the innermost scope can be closed.
            if (!m_styleStack.empty() && m_styleStack.back().name == styleName) {
                m_style = m_styleStack.back();
                m_styleStack.pop_back();
                m_style.name.Empty();
                UpdateContext();
            }
            m_style.name.Empty();
            return;
        }
        m_style.name = styleName;
        m_styleStack.push_back(m_style);
        m_style.name.Empty();
        ApplyStyleTag(code, styleName, attributes);
        UpdateContext();
        return;
    }

    // Tags without a scope act at once, opening or closing.
    switch (code) {
    case CPPHtmlDialect::TAG_RULE:
        DrawRule(attributes);
        break;
    case CPPHtmlDialect::TAG_NEWLINE:
        m_line.wrapped = FALSE;
        NewLine(GetLengthValue(attributes.Mid(1), 1, FALSE));
        break;
    case CPPHtmlDialect::TAG_TAB:
        Tabulation(GetLengthValue(attributes.Mid(1), 1, FALSE));
        break;
    case CPPHtmlDialect::TAG_STRING:
        DrawResourceString(attributes);
        break;
    case CPPHtmlDialect::TAG_BITMAP:
    case CPPHtmlDialect::TAG_ICON:
    case CPPHtmlDialect::TAG_IMAGELIST:
        DrawImageTag(code, attributes);
        break;
    default:
        break;
    }
}

void CPPHtmlDrawer::ApplyStyleTag(int code, const CString& styleName, const CString& attributes)
{
    switch (code) {
    case CPPHtmlDialect::TAG_BOLD:
        m_style.weight = m_style.weight * 2 > FW_HEAVY ? FW_HEAVY : m_style.weight * 2;
        break;
    case CPPHtmlDialect::TAG_ITALIC:
        m_style.italic = !m_style.italic;
        break;
    case CPPHtmlDialect::TAG_UNDERLINE:
        m_style.underline = !m_style.underline;
        break;
    case CPPHtmlDialect::TAG_STRIKEOUT:
        m_style.strikeOut = !m_style.strikeOut;
        break;
    case CPPHtmlDialect::TAG_FONT:
        ApplyFontAttributes(attributes);
        break;
    case CPPHtmlDialect::TAG_LEFT:
        m_style.hAlign = PPHtmlStyle::ALIGN_LEFT;
        break;
    case CPPHtmlDialect::TAG_CENTER:
        m_style.hAlign = PPHtmlStyle::ALIGN_CENTER;
        break;
    case CPPHtmlDialect::TAG_RIGHT:
        m_style.hAlign = PPHtmlStyle::ALIGN_RIGHT;
        break;
    case CPPHtmlDialect::TAG_JUSTIFY:
        m_style.hAlign = PPHtmlStyle::ALIGN_JUSTIFY;
        break;
    case CPPHtmlDialect::TAG_BASELINE:
        m_style.vAlign = PPHtmlStyle::VALIGN_BASELINE;
        break;
    case CPPHtmlDialect::TAG_TOP:
        m_style.vAlign = PPHtmlStyle::VALIGN_TOP;
        break;
    case CPPHtmlDialect::TAG_VCENTER:
        m_style.vAlign = PPHtmlStyle::VALIGN_MIDDLE;
        break;
    case CPPHtmlDialect::TAG_BOTTOM:
        m_style.vAlign = PPHtmlStyle::VALIGN_BOTTOM;
        break;
    case CPPHtmlDialect::TAG_STYLED:
        ApplyStyleByName(styleName, m_style);
        break;
    case CPPHtmlDialect::TAG_SPAN: {
        int pos = 0;
        CString name, value;
        while (HtmlTokens::GetTagAttributes(attributes, pos, name, value))
            if (name == "class")
                ApplyStyleByName("." + value, m_style);
        break;
    }
    case CPPHtmlDialect::TAG_LINK:
        OpenLink(attributes);
        break;
    default:
        break;
    }
}

void CPPHtmlDrawer::ApplyFontAttributes(const CString& attributes)
{
    int pos = 0;
    CString name, value;
    while (HtmlTokens::GetTagAttributes(attributes, pos, name, value)) {
        if (name == "face") {
            if (!value.IsEmpty())
                m_style.face = value;
        } else if (name == "size") {
            m_style.fontHeight = GetLengthValue(value, m_style.fontHeight, TRUE);
        } else if (name == "color") {
            m_style.textColor = m_enabled ? GetColorValue(value, m_style.textColor) : m_disabledColor;
        } else if (name == "style") {
            bool set = true;
            for (int i = 0; i < value.GetLength(); ++i) {
                switch (value[i]) {
                case '+':
                    set = true;
                    continue;
                case '-':
                    set = false;
                    continue;
                case 'b':
                    m_style.weight = set ? FW_BOLD : FW_NORMAL;
                    break;
                case 'i':
                    m_style.italic = set;
                    break;
                case 'u':
                    m_style.underline = set;
                    break;
                case 's':
                    m_style.strikeOut = set;
                    break;
                case 'o':
                    m_style.overline = set;
                    break;
                default:
                    continue; // ignored, sign and all
                }
                set = true;
            }
        } else if (name == "weight") {
            ApplyProperty("font-weight", value, m_style);
        } else if (name == "bkgnd") {
            if (value.IsEmpty() || value == "transparent" || !m_enabled) {
                m_style.bkMode = TRANSPARENT;
            } else {
                m_style.bkMode = OPAQUE;
                m_style.bkColor = GetColorValue(value, m_style.bkColor);
            }
        }
    }
}

void CPPHtmlDrawer::OpenLink(const CString& attributes)
{
    m_style.linkKind = PPHtmlStyle::LINK_MESSAGE;
    m_style.linkText.Empty();
    int pos = 0;
    CString name, value;
    while (HtmlTokens::GetTagAttributes(attributes, pos, name, value)) {
        if (name == "href") {
            m_style.linkKind = PPHtmlStyle::LINK_ADDRESS;
            m_style.linkText = value;
        } else if (name == "msg") {
            m_style.linkKind = PPHtmlStyle::LINK_MESSAGE;
            m_style.linkText = value;
        }
    }
    ++m_linkCounter;
    ApplyStyleByName(m_linkCounter == m_hoverLink ? "a:hover" : "a:link", m_style);
}

void CPPHtmlDrawer::DrawRule(const CString& attributes)
{
    PPHtmlStyle ruleStyle = m_style;
    ApplyStyleByName("hr", ruleStyle);
    COLORREF colour = ruleStyle.textColor;
    bool isPercent = true;
    int percent = 100;
    int width = 0;
    int thickness = 1;
    int pos = 0;
    CString name, value;
    while (HtmlTokens::GetTagAttributes(attributes, pos, name, value)) {
        if (name == "width") {
            isPercent = !value.IsEmpty() && value[value.GetLength() - 1] == '%';
            if (isPercent)
                percent = atoi(value.Left(value.GetLength() - 1));
            else
                width = GetLengthValue(value, 0, FALSE);
        } else if (name == "size") {
            thickness = GetLengthValue(value, 1, FALSE);
        } else if (name == "color") {
            colour = m_enabled ? GetColorValue(value, colour) : m_disabledColor;
        }
    }
    if (m_measuring) {
        if (isPercent) {
            m_line.percent += percent;
            width = 1;
        }
        if (m_line.ascent < thickness + 8)
            m_line.ascent = thickness + 8;
        m_line.align = m_style.hAlign;
    } else {
        if (isPercent)
            width = ::MulDiv(m_block.right - m_block.left, percent, 100);
        const int y = m_pen.y + m_line.ascent / 2;
        m_drawManager.DrawLine(m_hDC, m_pen.x, y, m_pen.x + width, y, colour, CPPDrawManager::PEN_SOLID, thickness);
    }
    MovePen(m_pen.x, width);
}

void CPPHtmlDrawer::DrawResourceString(const CString& attributes)
{
    UINT idres = 0, iddll = 0;
    CString srcdll;
    int pos = 0;
    CString name, value;
    while (HtmlTokens::GetTagAttributes(attributes, pos, name, value)) {
        if (name == "idres")
            idres = (UINT)GetLengthValue(value, 0, FALSE);
        else if (name == "iddll")
            iddll = (UINT)GetLengthValue(value, 0, FALSE);
        else if (name == "srcdll")
            srcdll = value;
    }
    const CString text = idres ? GetStringFromResource(idres) : GetStringFromDll(iddll, srcdll);
    if (text.IsEmpty())
        return;
    // One piece that never wraps.
    const SIZE extent = Extent(text);
    const int y = VerticalAlignText(m_pen.y, extent.cy);
    if (!m_measuring) {
        AddHotArea(m_pen.x, y, m_pen.x + extent.cx, y + extent.cy);
        ::TextOut(m_hDC, m_pen.x, y, text, text.GetLength());
    }
    MovePen(m_pen.x, extent.cx);
}

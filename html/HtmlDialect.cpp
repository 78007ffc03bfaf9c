#include "html/HtmlDialect.h"

namespace {

struct TagRow
{
    const char* name;
    int code;
    const char* style;
};

const TagRow kTags[] = {
    {"b", CPPHtmlDialect::TAG_BOLD, "bold"},
    {"i", CPPHtmlDialect::TAG_ITALIC, "italic"},
    {"em", CPPHtmlDialect::TAG_ITALIC, "italic"},
    {"u", CPPHtmlDialect::TAG_UNDERLINE, "underline"},
    {"s", CPPHtmlDialect::TAG_STRIKEOUT, "strikeout"},
    {"strike", CPPHtmlDialect::TAG_STRIKEOUT, "strikeout"},
    {"font", CPPHtmlDialect::TAG_FONT, "font"},
    {"hr", CPPHtmlDialect::TAG_RULE, ""},
    {"br", CPPHtmlDialect::TAG_NEWLINE, ""},
    {"\n", CPPHtmlDialect::TAG_NEWLINE, ""},
    {"t", CPPHtmlDialect::TAG_TAB, ""},
    {"\t", CPPHtmlDialect::TAG_TAB, ""},
    {"left", CPPHtmlDialect::TAG_LEFT, "left"},
    {"center", CPPHtmlDialect::TAG_CENTER, "center"},
    {"right", CPPHtmlDialect::TAG_RIGHT, "right"},
    {"justify", CPPHtmlDialect::TAG_JUSTIFY, "justify"},
    {"baseline", CPPHtmlDialect::TAG_BASELINE, "baseline"},
    {"top", CPPHtmlDialect::TAG_TOP, "top"},
    {"vcenter", CPPHtmlDialect::TAG_VCENTER, "vcenter"},
    {"middle", CPPHtmlDialect::TAG_VCENTER, "vcenter"},
    {"bottom", CPPHtmlDialect::TAG_BOTTOM, "bottom"},
    {"bmp", CPPHtmlDialect::TAG_BITMAP, ""},
    {"icon", CPPHtmlDialect::TAG_ICON, ""},
    {"ilst", CPPHtmlDialect::TAG_IMAGELIST, ""},
    {"string", CPPHtmlDialect::TAG_STRING, ""},
    {"body", CPPHtmlDialect::TAG_STYLED, "body"},
    {"h1", CPPHtmlDialect::TAG_STYLED, "h1"},
    {"h2", CPPHtmlDialect::TAG_STYLED, "h2"},
    {"h3", CPPHtmlDialect::TAG_STYLED, "h3"},
    {"h4", CPPHtmlDialect::TAG_STYLED, "h4"},
    {"h5", CPPHtmlDialect::TAG_STYLED, "h5"},
    {"h6", CPPHtmlDialect::TAG_STYLED, "h6"},
    {"code", CPPHtmlDialect::TAG_STYLED, "code"},
    {"pre", CPPHtmlDialect::TAG_STYLED, "pre"},
    {"big", CPPHtmlDialect::TAG_STYLED, "big"},
    {"small", CPPHtmlDialect::TAG_STYLED, "small"},
    {"sub", CPPHtmlDialect::TAG_STYLED, "sub"},
    {"sup", CPPHtmlDialect::TAG_STYLED, "sup"},
    {"span", CPPHtmlDialect::TAG_SPAN, "span"},
    {"a", CPPHtmlDialect::TAG_LINK, "link"},
};

// Each replacement is one byte of Windows-1252; "&lt;" gives the doubled "<" that the tag
// reader turns back into one literal "<".
const char* const kEntities[][2] = {
    {"&amp;", "&"},       {"&bull;", "\x95"}, {"&copy;", "\xA9"},  {"&euro;", "\x80"}, {"&gt;", ">"},
    {"&iquest;", "\xBF"}, {"&lt;", "<<"},     {"&nbsp;", " "},     {"&para;", "\xB6"}, {"&pound;", "\xA3"},
    {"&quot;", "\""},     {"&reg;", "\xAE"},  {"&trade;", "\x99"},
};

// Colour keywords as 0xRRGGBB, as they are usually written.
struct ColourRow
{
    const char* name;
    DWORD rgb;
};

const ColourRow kBasicColours[] = {
    {"aqua", 0x00FFFF},   {"black", 0x000000},  {"blue", 0x0000FF},   {"brown", 0xA52A2A},   {"cyan", 0x00FFFF},
    {"gold", 0xFFD700},   {"gray", 0x808080},   {"green", 0x008000},  {"magenta", 0xFF00FF}, {"maroon", 0x800000},
    {"navy", 0x000080},   {"olive", 0x808000},  {"orange", 0xFFA500}, {"pink", 0xFFC0CB},    {"purple", 0x800080},
    {"red", 0xFF0000},    {"silver", 0xC0C0C0}, {"snow", 0xFFFAFA},   {"violet", 0xEE82EE},  {"white", 0xFFFFFF},
    {"yellow", 0xFFFF00},
};

const ColourRow kExtendedColours[] = {
    {"aliceblue", 0xF0F8FF},
    {"antiquewhite", 0xFAEBD7},
    {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF},
    {"beige", 0xF5F5DC},
    {"bisque", 0xFFE4C4},
    {"blanchedalmond", 0xFFEBCD},
    {"blueviolet", 0x8A2BE2},
    {"burlywood", 0xDEB887},
    {"cadetblue", 0x5F9EA0},
    {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50},
    {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC},
    {"crimson", 0xDC143C},
    {"darkblue", 0x00008B},
    {"darkcyan", 0x008B8B},
    {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9},
    {"darkgreen", 0x006400},
    {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B},
    {"darkolivegreen", 0x556B2F},
    {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000},
    {"darksalmon", 0xE9967A},
    {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F},
    {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3},
    {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF},
    {"dimgray", 0x696969},
    {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222},
    {"floralwhite", 0xFFFAF0},
    {"forestgreen", 0x228B22},
    {"fuchsia", 0xFF00FF},
    {"gainsboro", 0xDCDCDC},
    {"ghostwhite", 0xF8F8FF},
    {"goldenrod", 0xDAA520},
    {"greenyellow", 0xADFF2F},
    {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4},
    {"indianred", 0xCD5C5C},
    {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00},
    {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF},
    {"lightgoldenrodyellow", 0xFAFAD2},
    {"lightgreen", 0x90EE90},
    {"lightgrey", 0xD3D3D3},
    {"lightpink", 0xFFB6C1},
    {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA},
    {"lightslategray", 0x778899},
    {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0},
    {"lime", 0x00FF00},
    {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6},
    {"mediumaquamarine", 0x66CDAA},
    {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370DB},
    {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A},
    {"mediumturquoise", 0x48D1CC},
    {"mediumvioletred", 0xC71585},
    {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1},
    {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD},
    {"oldlace", 0xFDF5E6},
    {"olivedrab", 0x6B8E23},
    {"orangered", 0xFF4500},
    {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA},
    {"palegreen", 0x98FB98},
    {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093},
    {"papayawhip", 0xFFEFD5},
    {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F},
    {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6},
    {"rosybrown", 0xBC8F8F},
    {"royalblue", 0x4169E1},
    {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460},
    {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE},
    {"sienna", 0xA0522D},
    {"skyblue", 0x87CEEB},
    {"slateblue", 0x6A5ACD},
    {"slategray", 0x708090},
    {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C},
    {"teal", 0x008080},
    {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0},
    {"wheat", 0xF5DEB3},
    {"whitesmoke", 0xF5F5F5},
    {"yellowgreen", 0x9ACD32},
};

struct SystemColourRow
{
    const char* name;
    int index;
};

const SystemColourRow kSystemColours[] = {
    {"activeborder", 10},   {"activecaption", 2},    {"appworkspace", 12},
    {"background", 1},      {"buttonface", 15},      {"buttonhighlight", 20},
    {"buttonshadow", 16},   {"buttontext", 18},      {"captiontext", 9},
    {"graytext", 17},       {"highlight", 13},       {"highlighttext", 14},
    {"inactiveborder", 11}, {"inactivecaption", 3},  {"inactivecaptiontext", 19},
    {"infobackground", 24}, {"infotext", 23},        {"menu", 4},
    {"menutext", 7},        {"scrollbar", 0},        {"threeddarkshadow", 21},
    {"threedface", 15},     {"threedhighlight", 20}, {"threedlightshadow", 22},
    {"threedshadow", 16},   {"window", 5},           {"windowframe", 6},
    {"windowtext", 8},
};

COLORREF FromRgb(DWORD rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

} // namespace

CPPHtmlDialect::CPPHtmlDialect()
{
    InitTagAliases();
    InitEntities();
    InitColorNames();
}

void CPPHtmlDialect::InitTagAliases()
{
    for (const TagRow& row : kTags)
        AddTag(row.name, row.code, row.style);
}

void CPPHtmlDialect::InitEntities()
{
    for (const auto& row : kEntities)
        m_entities[row[0]] = row[1];
}

void CPPHtmlDialect::InitColorNames()
{
    for (const ColourRow& row : kBasicColours)
        SetColorName(row.name, FromRgb(row.rgb));
    for (const ColourRow& row : kExtendedColours)
        SetColorName(row.name, FromRgb(row.rgb));
    for (const SystemColourRow& row : kSystemColours)
        m_colors[row.name] = Colour{0, row.index};
}

void CPPHtmlDialect::AddTag(LPCTSTR name, int code, LPCTSTR styleName) { m_tags[name] = Tag{code, styleName}; }

void CPPHtmlDialect::SetColorName(LPCTSTR name, COLORREF value) { m_colors[name] = Colour{value, -1}; }

int CPPHtmlDialect::GetTagCode(const CString& tag, CString& styleName, bool& closing) const
{
    closing = !tag.IsEmpty() && tag[0] == '/';
    styleName.Empty();
    const auto found = m_tags.find(closing ? tag.Mid(1) : tag);
    if (found == m_tags.end())
        return TAG_NONE;
    styleName = found->second.style;
    return found->second.code;
}

bool CPPHtmlDialect::LookupColor(const CString& name, COLORREF& colour) const
{
    const auto found = m_colors.find(name);
    if (found == m_colors.end())
        return false;
    colour = found->second.sysIndex >= 0 ? ::GetSysColor(found->second.sysIndex) : found->second.value;
    return true;
}

CString CPPHtmlDialect::ReplaceEntities(const CString& text) const
{
    CString result = text;
    for (const auto& entity : m_entities)
        result.Replace(entity.first, entity.second);
    return result;
}

namespace HtmlTokens {

const char kBlanks[] = " \t\r\n";

namespace {

bool IsTokenChar(char c, bool arithmetic)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.')
        return true;
    return arithmetic && (c == '+' || c == '-' || c == '*' || c == '/');
}

bool InSet(char c, LPCTSTR set) { return c && strchr(set, c) != nullptr; }

} // namespace

bool SkipToToken(const CString& text, int& pos, bool arithmetic)
{
    const int length = text.GetLength();
    if (pos < 0)
        pos = 0;
    while (pos < length && !IsTokenChar(text[pos], arithmetic))
        ++pos;
    return pos < length;
}

char FindOneOf(const CString& text, int& pos, LPCTSTR set)
{
    const int length = text.GetLength();
    if (pos < 0)
        pos = 0;
    while (pos < length && !InSet(text[pos], set))
        ++pos;
    return pos < length ? text[pos] : 0;
}

void SkipChars(const CString& text, int& pos, LPCTSTR set)
{
    const int length = text.GetLength();
    if (pos < 0)
        pos = 0;
    while (pos < length && InSet(text[pos], set))
        ++pos;
}

bool ExpectChar(const CString& text, int& pos, char ch)
{
    int at = pos;
    SkipChars(text, at, kBlanks);
    if (at >= text.GetLength() || text[at] != ch)
        return false;
    pos = at + 1;
    return true;
}

CString ReadToken(const CString& text, int& pos, LPCTSTR terminators)
{
    if (pos < 0)
        pos = 0;
    const int start = pos < text.GetLength() ? pos : text.GetLength();
    FindOneOf(text, pos, terminators);
    return text.Mid(start, pos - start);
}

bool GetValue(const CString& text, int& pos, char separator, LPCTSTR terminators, CString& value)
{
    value.Empty();
    if (!ExpectChar(text, pos, separator))
        return false;
    SkipChars(text, pos, kBlanks);
    const int length = text.GetLength();
    if (pos < length && (text[pos] == '"' || text[pos] == '\'')) {
        const char quote = text[pos];
        int end = text.Find(quote, pos + 1);
        if (end < 0)
            end = length;
        value = text.Mid(pos + 1, end - pos - 1);
        pos = end < length ? end + 1 : length;
        return true;
    }
    value = ReadToken(text, pos, terminators);
    return true;
}

bool GetTagAttributes(const CString& text, int& pos, CString& name, CString& value)
{
    name.Empty();
    value.Empty();
    if (!SkipToToken(text, pos))
        return false;
    char terminators[8] = "=";
    strcat(terminators, kBlanks);
    name = ReadToken(text, pos, terminators);
    int at = pos;
    if (GetValue(text, at, '=', kBlanks, value))
        pos = at;
    return true;
}

CString GetStrValue(const CString& def, const CString& value) { return value.IsEmpty() ? def : value; }

} // namespace HtmlTokens

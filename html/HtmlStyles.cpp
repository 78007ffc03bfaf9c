#include "html/HtmlStyles.h"

namespace {

const char kDefaultStyles[] = "body {font-size: 10pt; color:black; font-family:Verdana}\r\n"
                              "p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
                              "h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
                              "h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
                              "h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\r\n"
                              "h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
                              "h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
                              "h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\r\n"
                              "pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\r\n"
                              "code {color:#990000; font-family:Arial}\r\n"
                              "a:link {text-decoration:none; color:blue}\r\n"
                              "a:hover {text-decoration:underline; color:blue}\r\n"
                              "sub {font-size:65%; vertical-align:bottom}\r\n"
                              "sup {font-size:65%; vertical-align:top}\r\n"
                              "big {font-size:125%}\r\n"
                              "small {font-size:75%}\r\n"
                              ".cpp-comment {color:green; font-style:italic}\r\n";

CString Lower(LPCTSTR text)
{
    CString lower(text);
    lower.MakeLower();
    return lower;
}

} // namespace

LPCTSTR CPPHtmlStyleSheet::DefaultStyles() { return kDefaultStyles; }

void CPPHtmlStyleSheet::SetCssStyles(LPCTSTR text)
{
    m_rules.clear();
    m_text = text;
    int pos = 0;
    char selectorEnd[8] = "{";
    strcat(selectorEnd, HtmlTokens::kBlanks);
    while (HtmlTokens::SkipToToken(m_text, pos)) {
        const CString selector = HtmlTokens::ReadToken(m_text, pos, selectorEnd);
        const int open = m_text.Find('{', pos);
        if (open < 0)
            break;
        const int close = m_text.Find('}', open + 1);
        if (close < 0)
            break;
        SetStyle(selector, m_text.Mid(open + 1, close - open - 1));
        pos = close + 1;
    }
}

void CPPHtmlStyleSheet::SetStyle(LPCTSTR selector, LPCTSTR declarations) { m_rules[Lower(selector)] = declarations; }

void CPPHtmlStyleSheet::RemoveStyle(LPCTSTR selector) { m_rules.erase(Lower(selector)); }

LPCTSTR CPPHtmlStyleSheet::GetStyleText(LPCTSTR selector) const
{
    const auto found = m_rules.find(Lower(selector));
    return found == m_rules.end() ? nullptr : (LPCTSTR)found->second;
}

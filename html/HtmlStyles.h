// The style sheet of the HTML drawer: named rules (selector to declaration text, kept
// unparsed) read from a small style-sheet language, and the default sheet.
// Rule kept: selectors are stored and looked up in lower case; a sheet that breaks off (a
// "{" without "}" or the reverse) keeps the rules before the break and nothing after it.
#pragma once
#include "html/HtmlDialect.h"

class CPPHtmlStyleSheet
{
public:
    CPPHtmlStyleSheet() = default;

    // The 17 rules every drawer starts with, one a line.
    static LPCTSTR DefaultStyles();

    // Empties the map, keeps the text and reads its rules; a later rule with the same
    // selector replaces the earlier one.
    void SetCssStyles(LPCTSTR text);
    const CString& GetCssStyles() const { return m_text; }
    void SetStyle(LPCTSTR selector, LPCTSTR declarations);
    void RemoveStyle(LPCTSTR selector);
    // The declarations of the rule, or null when there is none (valid until the map changes).
    LPCTSTR GetStyleText(LPCTSTR selector) const;
    int GetStyleCount() const { return (int)m_rules.size(); }

private:
    std::map<CString, CString, PPStringLess> m_rules;
    CString m_text;
};

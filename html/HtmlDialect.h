// The text language of the HTML drawer: its tags, character entities and colour names, and
// the tokenizer that reads tag attributes and style declarations.
// Rule kept: the tables are filled once and never change behind a caller; every scan of the
// tokenizer either advances or reports the end, so no text can make a reader loop.
#pragma once
#include "fw/fw.h"
#include <map>

struct PPStringLess
{
    bool operator()(const CString& a, const CString& b) const { return strcmp(a, b) < 0; }
};

class CPPHtmlDialect
{
public:
    enum TagCode {
        TAG_NONE = 0,
        TAG_BOLD = 1,
        TAG_ITALIC = 2,
        TAG_UNDERLINE = 3,
        TAG_STRIKEOUT = 4,
        TAG_FONT = 5,
        TAG_RULE = 6,
        TAG_NEWLINE = 7,
        TAG_TAB = 8,
        TAG_LEFT = 9,
        TAG_CENTER = 10,
        TAG_RIGHT = 11,
        TAG_JUSTIFY = 12,
        TAG_BASELINE = 13,
        TAG_TOP = 14,
        TAG_VCENTER = 15,
        TAG_BOTTOM = 16,
        TAG_BITMAP = 17,
        TAG_ICON = 18,
        TAG_IMAGELIST = 19,
        TAG_STRING = 20,
        TAG_STYLED = 21, // applies the style rule of its own name
        TAG_SPAN = 22,
        TAG_LINK = 23,
    };

    CPPHtmlDialect();

    void InitTagAliases();
    void InitEntities();
    void InitColorNames();
    void AddTag(LPCTSTR name, int code, LPCTSTR styleName);
    void SetColorName(LPCTSTR name, COLORREF value);

    // The code of a tag (0 when unknown); a leading "/" is removed and sets closing. Tags are
    // looked up as written: "B" is no tag.
    int GetTagCode(const CString& tag, CString& styleName, bool& closing) const;
    // A known name's colour (a system colour is read now); false for an unknown name.
    bool LookupColor(const CString& name, COLORREF& colour) const;
    // Every entity replaced by its text, the entities in ascending byte order of their names.
    CString ReplaceEntities(const CString& text) const;

private:
    struct Tag
    {
        int code;
        CString style;
    };
    struct Colour
    {
        COLORREF value;
        int sysIndex; // a GetSysColor index, -1 for a fixed value
    };
    std::map<CString, Tag, PPStringLess> m_tags;
    std::map<CString, CString, PPStringLess> m_entities;
    std::map<CString, Colour, PPStringLess> m_colors;
};

// Readers over a text and a position in it.
namespace HtmlTokens {

extern const char kBlanks[]; // space, tab, carriage return, new line

// Moves to the next letter, digit or "." (with arithmetic also "+", "-", "*", "/"); false
// at the end.
bool SkipToToken(const CString& text, int& pos, bool arithmetic = false);
// Moves to the next character of set and returns it; 0 with pos at the end when none.
char FindOneOf(const CString& text, int& pos, LPCTSTR set);
// Moves past every character of set.
void SkipChars(const CString& text, int& pos, LPCTSTR set);
// Skips blanks, then consumes ch; false (pos unmoved) when anything else follows.
bool ExpectChar(const CString& text, int& pos, char ch);
// The text from pos up to the next character of terminators or the end; pos moves there.
CString ReadToken(const CString& text, int& pos, LPCTSTR terminators);
// After the separator (blanks around it skipped): a value in single or double quotes,
// without them, or the text up to the next terminator. False when the separator is missing.
bool GetValue(const CString& text, int& pos, char separator, LPCTSTR terminators, CString& value);
// The next attribute of a tag: its name and its value (empty without "="); false at the end.
bool GetTagAttributes(const CString& text, int& pos, CString& name, CString& value);
// The value, or the default when the value is empty.
CString GetStrValue(const CString& def, const CString& value);

} // namespace HtmlTokens

#include "net/XmlNode.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
// Characters that end a name token and stand as tokens of their own.
bool IsSpecial(char c) { return c != '\0' && std::strchr("<>=\\/?!", c) != nullptr; }

// Reads the tokens of a tag: quoted texts, names, and single special characters.
class TagTokens
{
public:
    TagTokens(const CString& doc, int pos) : m_doc(doc), m_len(doc.GetLength()), m_pos(pos) {}

    // Moves to the next token; false at the end of the text. An unclosed quote runs to the end.
    bool Next()
    {
        while (m_pos < m_len && IsBlank(m_doc[m_pos]))
            ++m_pos;
        if (m_pos >= m_len)
            return false;
        m_start = m_pos;
        const char c = m_doc[m_pos];
        m_quoted = c == '"' || c == '\'';
        m_unclosed = false;
        if (m_quoted) {
            const int close = m_doc.Find(c, m_pos + 1);
            m_unclosed = close < 0;
            m_pos = close < 0 ? m_len : close + 1;
        } else if (IsSpecial(c)) {
            ++m_pos;
        } else {
            while (m_pos < m_len && !IsBlank(m_doc[m_pos]) && !IsSpecial(m_doc[m_pos]) && m_doc[m_pos] != '"' &&
                   m_doc[m_pos] != '\'')
                ++m_pos;
        }
        return true;
    }
    bool Is(char c) const { return !m_quoted && m_pos - m_start == 1 && m_doc[m_start] == c; }
    bool Quoted() const { return m_quoted; }
    bool Unclosed() const { return m_unclosed; }
    int Start() const { return m_start; }
    int End() const { return m_pos; }
    CString Text() const { return m_doc.Mid(m_start, m_pos - m_start); }

private:
    const CString& m_doc;
    int m_len;
    int m_pos;
    int m_start = 0;
    bool m_quoted = false;
    bool m_unclosed = false;
};

// The end of a "<!" declaration: the ">" outside nested brackets and quotes; -1 when none.
int DeclarationEnd(const CString& doc, int pos)
{
    int depth = 0;
    for (int i = pos; i < doc.GetLength(); ++i) {
        const char c = doc[i];
        if (c == '"' || c == '\'') {
            const int close = doc.Find(c, i + 1);
            if (close < 0)
                return -1;
            i = close;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            --depth;
        } else if (c == '>' && depth <= 0) {
            return i;
        }
    }
    return -1;
}

struct Entity
{
    const char* name;
    char ch;
};
const Entity kEntities[] = {{"lt;", '<'}, {"amp;", '&'}, {"gt;", '>'}, {"apos;", '\''}, {"quot;", '"'}};

} // namespace

CString XmlEscape(LPCSTR text, BOOL attribute)
{
    CString out;
    if (text == nullptr)
        return out;
    for (const char* p = text; *p != '\0'; ++p) {
        switch (*p) {
        case '<':
            out += "&lt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\'':
            out += attribute ? "&apos;" : "'";
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        default:
            out += *p;
            break;
        }
    }
    return out;
}

CXmlNode::CXmlNode()
{
    m_records.SetSize(8);
    m_iPosFree = 1;
}

int CXmlNode::NewRecord()
{
    const int size = (int)m_records.GetSize();
    if (m_iPosFree >= size)
        m_records.SetSize(size + size / 2 + 1);
    const int index = m_iPosFree++;
    m_records[index] = CXmlElement();
    return index;
}

BOOL CXmlNode::ParseFailed(int index, LPCSTR format, const CString& name)
{
    m_strError.Format(format, (LPCSTR)name);
    // The failed element's record goes back; records after it went back with their parse.
    m_iPosFree = index;
    return FALSE;
}

BOOL CXmlNode::LoadFromText(LPCSTR text)
{
    m_strDoc = text != nullptr ? text : "";
    m_strError.Empty();
    m_records.SetSize(0);
    m_records.SetSize(m_strDoc.GetLength() / 64 + 8);
    m_records[0] = CXmlElement();
    m_iPosFree = 1;
    int pos = 0;
    const int top = Parse(0, pos, 1);
    ResetPos();
    if (top <= 0) {
        m_records[0] = CXmlElement();
        m_iPosFree = 1;
        if (top == 0 && m_strError.IsEmpty())
            m_strError = "Element tag not found";
        return FALSE;
    }
    m_records[0].iChild = top;
    m_strError.Empty();
    return TRUE;
}

int CXmlNode::Parse(int iParent, int& pos, int depth)
{
    const int index = NewRecord();
    m_records[index].iParent = iParent;
    const int len = m_strDoc.GetLength();

    // Skip text, processing instructions, comments, CDATA and declarations up to an element.
    for (;;) {
        const int open = m_strDoc.Find('<', pos);
        if (open < 0) {
            m_strError = "Element tag not found";
            m_iPosFree = index;
            pos = len;
            return 0;
        }
        pos = open;
        if (pos + 1 >= len) {
            ParseFailed(index, "Abrupt end within tag");
            return -1;
        }
        const char next = m_strDoc[pos + 1];
        if (next == '/') {
            m_iPosFree = index;
            return 0;
        }
        int end = -1;
        if (next == '?') {
            end = m_strDoc.Find("?>", pos + 2);
            end = end < 0 ? -1 : end + 2;
        } else if (next == '!' && m_strDoc.Mid(pos + 2, 1) == "[") {
            end = m_strDoc.Find("]]>", pos + 2);
            end = end < 0 ? -1 : end + 3;
        } else if (next == '!' && m_strDoc.Mid(pos + 2, 1) == "-") {
            end = m_strDoc.Find("-->", pos + 2);
            end = end < 0 ? -1 : end + 3;
        } else if (next == '!') {
            end = DeclarationEnd(m_strDoc, pos + 2);
            end = end < 0 ? -1 : end + 1;
        } else {
            break;
        }
        if (end < 0) {
            ParseFailed(index, "Invalid node");
            return -1;
        }
        pos = end;
    }

    if (depth > kMaxDepth) {
        ParseFailed(index, "Elements nested deeper than 256 levels");
        return -1;
    }

    // The start tag: its name, then any attributes up to ">".
    m_records[index].nStartL = pos;
    TagTokens tokens(m_strDoc, pos + 1);
    if (!tokens.Next()) {
        ParseFailed(index, "Abrupt end within tag");
        return -1;
    }
    if (tokens.Is('/')) {
        // "< /name>": the parent's end tag, written loosely; the parent says what is wrong.
        m_iPosFree = index;
        return 0;
    }
    if (tokens.Quoted()) {
        ParseFailed(index, "Tag starts with quote");
        return -1;
    }
    const CString name = tokens.Text();
    bool closed = false;
    while (tokens.Next()) {
        if (tokens.Unclosed()) {
            ParseFailed(index, "Abrupt end within tag");
            return -1;
        }
        if (tokens.Is('<'))
            break;
        if (tokens.Is('>')) {
            closed = true;
            break;
        }
    }
    if (!closed) {
        ParseFailed(index, "End of tag not found");
        return -1;
    }
    const int startR = tokens.Start();
    m_records[index].nStartR = startR;
    pos = startR + 1;
    if (m_strDoc[startR - 1] == '/' && startR - 1 > m_records[index].nStartL) {
        m_records[index].nEndL = startR - 1;
        m_records[index].nEndR = startR;
        return index;
    }

    // The children, each linked behind the one before.
    int last = 0;
    for (;;) {
        const int child = Parse(index, pos, depth + 1);
        if (child < 0) {
            m_iPosFree = index;
            return -1;
        }
        if (child == 0)
            break;
        if (last == 0)
            m_records[index].iChild = child;
        else
            m_records[last].iNext = child;
        last = child;
    }

    // The end tag: "/", the element's name, ">".
    if (pos >= len) {
        ParseFailed(index, "End tag of %s element not found", name);
        return -1;
    }
    m_records[index].nEndL = pos;
    TagTokens end(m_strDoc, pos + 2);
    if (m_strDoc[pos + 1] != '/') {
        ParseFailed(index, "Expecting end tag of element %s", name);
        return -1;
    }
    if (!end.Next() || end.Quoted() || end.Text() != name) {
        ParseFailed(index, "End tag does not correspond to %s", name);
        return -1;
    }
    if (!end.Next() || !end.Is('>')) {
        ParseFailed(index, "End tag not completed for element %s", name);
        return -1;
    }
    m_records[index].nEndR = end.Start();
    pos = end.End();
    m_strError.Empty();
    return index;
}

void CXmlNode::ResetPos()
{
    m_iPosParent = 0;
    m_iPos = 0;
    m_iPosChild = 0;
    m_nNodeType = 0;
}

CString CXmlNode::TagName(int index) const
{
    if (index <= 0 || index >= m_iPosFree)
        return CString();
    TagTokens tokens(m_strDoc, m_records[index].nStartL + 1);
    return tokens.Next() && !tokens.Quoted() ? tokens.Text() : CString();
}

BOOL CXmlNode::Matches(int index, LPCSTR name) const
{
    if (name == nullptr || *name == '\0')
        return TRUE;
    const CString tag = TagName(index);
    const int n = tag.GetLength();
    if (n == 0 || std::strncmp(name, tag, (size_t)n) != 0)
        return FALSE;
    return name[n] == '\0' || std::strchr(" =/[", name[n]) != nullptr;
}

BOOL CXmlNode::FindElem(LPCSTR name)
{
    int i = m_iPos != 0 ? m_records[m_iPos].iNext : m_records[m_iPosParent].iChild;
    for (; i != 0; i = m_records[i].iNext) {
        if (Matches(i, name)) {
            m_iPos = i;
            m_iPosChild = 0;
            m_nNodeType = 1;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CXmlNode::FindChildElem(LPCSTR name)
{
    if (m_iPos == 0 && !FindElem(nullptr))
        return FALSE;
    int i = m_iPosChild != 0 ? m_records[m_iPosChild].iNext : m_records[m_iPos].iChild;
    for (; i != 0; i = m_records[i].iNext) {
        if (Matches(i, name)) {
            m_iPosChild = i;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CXmlNode::IntoElem()
{
    if (m_iPos == 0 || m_nNodeType != 1)
        return FALSE;
    m_iPosParent = m_iPos;
    m_iPos = m_iPosChild;
    m_iPosChild = 0;
    m_nNodeType = m_iPos != 0 ? 1 : 0;
    return TRUE;
}

BOOL CXmlNode::OutOfElem()
{
    if (m_iPosParent == 0)
        return FALSE;
    m_iPosChild = m_iPos;
    m_iPos = m_iPosParent;
    m_iPosParent = m_records[m_iPosParent].iParent;
    m_nNodeType = 1;
    return TRUE;
}

CString CXmlNode::ElementText(int index) const
{
    if (index <= 0 || index >= m_iPosFree)
        return CString();
    const CXmlElement& e = m_records[index];
    if (e.iChild != 0 || e.nEndR == e.nStartR)
        return CString();
    const int first = e.nStartR + 1;
    const CString content = m_strDoc.Mid(first, e.nEndL - first);
    int lead = 0;
    while (lead < content.GetLength() && IsBlank(content[lead]))
        ++lead;
    static const char kCdata[] = "<![CDATA[";
    if (std::strncmp((LPCSTR)content + lead, kCdata, sizeof kCdata - 1) == 0) {
        const int body = lead + (int)sizeof kCdata - 1;
        const int close = content.Find("]]>", body);
        if (close >= 0)
            return content.Mid(body, close - body);
    }
    CString out;
    for (int i = 0; i < content.GetLength(); ++i) {
        const char c = content[i];
        if (c == '&') {
            bool replaced = false;
            for (const Entity& entity : kEntities) {
                const size_t n = std::strlen(entity.name);
                if (std::strncmp((LPCSTR)content + i + 1, entity.name, n) == 0) {
                    out += entity.ch;
                    i += (int)n;
                    replaced = true;
                    break;
                }
            }
            if (replaced)
                continue;
        }
        out += c;
    }
    return out;
}

void CXmlNode::Splice(int at, int removed, const CString& replacement, int skip)
{
    const int delta = replacement.GetLength() - removed;
    m_strDoc = m_strDoc.Left(at) + replacement + m_strDoc.Mid(at + removed);
    for (int i = 1; i < m_iPosFree; ++i) {
        if (i == skip)
            continue;
        CXmlElement& e = m_records[i];
        for (int* field : {&e.nStartL, &e.nStartR, &e.nEndL, &e.nEndR})
            if (*field >= at + removed)
                *field += delta;
    }
}

BOOL CXmlNode::Add(bool child, LPCSTR name, LPCSTR text)
{
    if (name == nullptr || *name == '\0')
        return FALSE;
    int iParent = 0, iAfter = 0;
    if (child) {
        if (m_iPos == 0)
            return FALSE;
        iParent = m_iPos;
        iAfter = m_iPosChild;
    } else {
        iParent = m_iPosParent;
        iAfter = m_iPos;
        if (iParent == 0 && iAfter == 0 && m_records[0].iChild != 0)
            return FALSE;
    }

    const bool withText = text != nullptr;
    CString line = CString("<") + name + (withText ? ">" + XmlEscape(text, FALSE) + "</" + name + ">" : CString("/>"));
    const int lineLength = line.GetLength();
    line += "\r\n";
    const int tagEnd = line.Find('>');
    CXmlElement added = CXmlElement();
    added.iParent = iParent;

    int at = 0;
    if (iAfter != 0) {
        // On the line after the element it follows.
        at = m_records[iAfter].nEndR + 1;
        if (m_strDoc.Mid(at, 2) == "\r\n")
            at += 2;
        else if (m_strDoc.Mid(at, 1) == "\n")
            at += 1;
        Splice(at, 0, line, 0);
    } else if (iParent == 0) {
        // The top element of a document that has none: at the end of the text.
        if (!m_strDoc.IsEmpty() && m_strDoc[m_strDoc.GetLength() - 1] != '\n') {
            m_strDoc += "\r\n";
        }
        at = m_strDoc.GetLength();
        m_strDoc += line;
    } else {
        CXmlElement& p = m_records[iParent];
        if (p.nEndR == p.nStartR) {
            // "<p/>" becomes "<p>", the new line, "</p>".
            const CString tag = TagName(iParent);
            const int slash = p.nEndL;
            const CString replacement = ">\r\n" + line + "</" + tag + ">";
            Splice(slash, 2, replacement, iParent);
            at = slash + 3;
            p.nStartR = slash;
            p.nEndL = at + line.GetLength();
            p.nEndR = p.nEndL + tag.GetLength() + 2;
        } else if (p.nEndL == p.nStartR + 1) {
            // "<p></p>": the new line between the two tags.
            const int insert = p.nEndL;
            Splice(insert, 0, "\r\n" + line, 0);
            at = insert + 2;
        } else {
            at = p.nEndL;
            Splice(at, 0, line, 0);
        }
    }

    added.nStartL = at;
    added.nStartR = at + tagEnd;
    if (withText) {
        added.nEndL = at + lineLength - (int)std::strlen(name) - 3;
        added.nEndR = at + lineLength - 1;
    } else {
        added.nEndL = at + lineLength - 2;
        added.nEndR = at + lineLength - 1;
    }
    const int index = NewRecord();
    m_records[index] = added;
    if (iAfter != 0) {
        m_records[index].iNext = m_records[iAfter].iNext;
        m_records[iAfter].iNext = index;
    } else if (m_records[iParent].iChild == 0) {
        m_records[iParent].iChild = index;
    } else {
        int last = m_records[iParent].iChild;
        while (m_records[last].iNext != 0)
            last = m_records[last].iNext;
        m_records[last].iNext = index;
    }

    if (child) {
        m_iPosChild = index;
    } else {
        m_iPos = index;
        m_iPosChild = 0;
        m_nNodeType = 1;
    }
    return TRUE;
}

BOOL CXmlNode::AddElem(LPCSTR name, LPCSTR text) { return Add(false, name, text); }

BOOL CXmlNode::AddChildElem(LPCSTR name, LPCSTR text) { return Add(true, name, text); }

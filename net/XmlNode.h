// A small XML document: the whole document is kept as one text, and its elements are
// indexed in a flat table of records that hold offsets into that text. Callers move
// through it with three positions (parent, main, child), read element text, and add
// elements, which are written straight into the text as whole lines.
//
// The rules it keeps: parsing stops with an error at a nesting depth of kMaxDepth, so a
// reply from the network cannot exhaust the stack; an added element shifts every later
// offset by the length it inserted, so the records always match the text; escaping builds
// its result by appending, never into a buffer of guessed size.
#pragma once
#include "fw/fwcoll.h"
#include "fw/fwstring.h"

// One element's offsets into the document text, and its links in the table.
struct CXmlElement
{
    int nStartL; // "<" of the start tag
    int nStartR; // ">" of the start tag
    int nEndL;   // "<" of the end tag; the "/" of an empty-element tag
    int nEndR;   // ">" of the end tag; the start tag's ">" for an empty-element tag
    int nReserved;
    int iParent; // record index of the parent, 0 = the document
    int iChild;  // first child, 0 = none
    int iNext;   // next sibling, 0 = none
};

class CXmlNode
{
public:
    // Deeper nesting than this fails the parse.
    static constexpr int kMaxDepth = 256;

    CXmlNode();

    // Replaces the document by text (null: empty) and parses it. TRUE when an element was
    // parsed; otherwise the text stays, the table holds the document record only and
    // GetError() says why. The positions are reset either way.
    BOOL LoadFromText(LPCSTR text);
    CString GetDoc() const { return m_strDoc; }
    const CString& GetError() const { return m_strError; }

    // Moves the main position to the next element named name (null or empty: any).
    BOOL FindElem(LPCSTR name = nullptr);
    // Moves the child position to the main element's next child named name.
    BOOL FindChildElem(LPCSTR name = nullptr);
    BOOL IntoElem();
    BOOL OutOfElem();
    // Back to the top of the document; the child position back to before the first child.
    void ResetPos();
    void ResetChildPos() { m_iPosChild = 0; }

    // The text of the main or the child element (empty for elements with children).
    CString GetData() const { return ElementText(m_iPos); }
    CString GetChildData() const { return ElementText(m_iPosChild); }
    // The name of the main or the child element.
    CString GetTagName() const { return TagName(m_iPos); }
    CString GetChildTagName() const { return TagName(m_iPosChild); }

    // Adds "<name/>" or "<name>text</name>" as a line after the main element (or at the end
    // of the parent's content) and makes it the main element.
    BOOL AddElem(LPCSTR name, LPCSTR text = nullptr);
    // Adds it after the child position (or at the end of the main element's content) and
    // makes it the child element.
    BOOL AddChildElem(LPCSTR name, LPCSTR text = nullptr);

    // The table as parsed: records 1 .. GetRecordCount() - 1 are elements.
    int GetRecordCount() const { return m_iPosFree; }
    const CXmlElement& GetRecord(int index) const { return m_records[index]; }
    int GetMainPos() const { return m_iPos; }
    int GetChildPos() const { return m_iPosChild; }

private:
    int NewRecord();
    // The element's index, 0 when the parent's content ended, -1 on an error.
    int Parse(int iParent, int& pos, int depth);
    BOOL ParseFailed(int index, LPCSTR format, const CString& name = CString());
    CString TagName(int index) const;
    CString ElementText(int index) const;
    BOOL Matches(int index, LPCSTR name) const;
    BOOL Add(bool child, LPCSTR name, LPCSTR text);
    // Inserts replacement at [at, at + removed) of the text, shifting every record's
    // offsets at or behind at + removed.
    void Splice(int at, int removed, const CString& replacement, int skip);

    CString m_strDoc;
    CString m_strError;
    CArray<CXmlElement, const CXmlElement&> m_records;
    int m_iPosParent = 0;
    int m_iPos = 0;
    int m_iPosChild = 0;
    int m_iPosFree = 1;
    int m_nNodeType = 0;
};

// The text with the markup characters <, & and > replaced by entities; in attribute mode
// also the apostrophe and the double quote.
CString XmlEscape(LPCSTR text, BOOL attribute);

// A help book: a text file of pages, each with an id, two lines of text and numbered links
// with their action lines and a condition.
//
// The rules it keeps: the book owns its pages and each page its links, deleted exactly once;
// a page or link that was never finished, or that a later one with the same id replaces, is
// deleted then; a tag that needs a page or link before one exists is ignored.
#pragma once
#include "fw/fw.h"

class CHelpLink
{
public:
    CHelpLink() { ++s_live; }
    virtual ~CHelpLink() { --s_live; }
    CHelpLink(const CHelpLink&) = delete;
    CHelpLink& operator=(const CHelpLink&) = delete;
    // How many links exist in the process: what a book forgot to delete shows here.
    static LONG Live() { return s_live; }
    int m_nNumber = 0; // from 0 within its page
    CString m_strText;
    CStringList m_actions;
    CString m_strCondition;

private:
    static LONG s_live;
};

class CHelpPage
{
public:
    CHelpPage() { ++s_live; }
    virtual ~CHelpPage();
    CHelpPage(const CHelpPage&) = delete;
    CHelpPage& operator=(const CHelpPage&) = delete;
    static LONG Live() { return s_live; }
    CString m_strFirst, m_strSecond; // the two lines after the page's id
    CMap<WORD, WORD, CHelpLink*, CHelpLink*> m_links;
    CStringList m_strings;

private:
    static LONG s_live;
};

class CHelpBook
{
public:
    CHelpBook();
    virtual ~CHelpBook();
    CHelpBook(const CHelpBook&) = delete;
    CHelpBook& operator=(const CHelpBook&) = delete;

    // Reads "<help folder>\<name>"; TRUE also when the file cannot be opened (no pages).
    BOOL Load(LPCTSTR name);
    // Reads a file by its path; TRUE also when it cannot be opened.
    BOOL LoadFile(LPCTSTR path);
    // The page stored under the id; null when there is none.
    CHelpPage* GetPage(WORD id) const;
    int GetPageCount() const { return (int)m_pages.GetCount(); }
    // The text after the first "=" of the line; FALSE when there is none.
    static BOOL GetValueOfLine(LPCTSTR line, CString& value);

private:
    CMap<WORD, WORD, CHelpPage*, CHelpPage*> m_pages;
};

#include "ui/periphery/HelpBook.h"

#include "base/KeyStore.h"

#include <stdio.h>
#include <stdlib.h>
#include <memory>
#include <string>

LONG CHelpLink::s_live = 0;
LONG CHelpPage::s_live = 0;

namespace {

// Deletes every value of a map that owns them, then empties it.
template <class Value> void DeleteAll(CMap<WORD, WORD, Value*, Value*>& map)
{
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        WORD key = 0;
        Value* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        delete value;
    }
    map.RemoveAll();
}

} // namespace

CHelpPage::~CHelpPage()
{
    --s_live;
    DeleteAll(m_links);
}

CHelpBook::CHelpBook() { m_pages.InitHashTable(17); }

CHelpBook::~CHelpBook() { DeleteAll(m_pages); }

CHelpPage* CHelpBook::GetPage(WORD id) const
{
    CHelpPage* page = nullptr;
    return m_pages.Lookup(id, page) ? page : nullptr;
}

BOOL CHelpBook::GetValueOfLine(LPCTSTR line, CString& value)
{
    const char* eq = line != nullptr ? strchr(line, '=') : nullptr;
    if (eq == nullptr)
        return FALSE;
    value = eq + 1;
    return TRUE;
}

BOOL CHelpBook::Load(LPCTSTR name)
{
    CString path;
    path.Format("%s\\%s", (LPCTSTR)GetDataFolder("help"), name);
    return LoadFile(path);
}

namespace {

// One line without its end; false at the end of the file. Lines of any length.
bool ReadLine(FILE* f, CString& line)
{
    std::string text;
    int c;
    while ((c = fgetc(f)) != EOF && c != '\n')
        text += (char)c;
    if (c == EOF && text.empty())
        return false;
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    line = text.c_str();
    return true;
}

} // namespace

BOOL CHelpBook::LoadFile(LPCTSTR path)
{
    FILE* f = fopen(path, "rb");
    if (f == nullptr)
        return TRUE;
    enum Mode { kNone, kPage, kLink, kActions, kCondition } mode = kNone;
    std::unique_ptr<CHelpPage> page;
    std::unique_ptr<CHelpLink> link;
    WORD pageId = 0;
    int nextLink = 0;
    // Lines of the file, empty ones skipped.
    auto next = [f](CString& line) {
        while (ReadLine(f, line))
            if (!line.IsEmpty())
                return true;
        return false;
    };
    CString line;
    while (next(line)) {
        if (line == "[page]") {
            page.reset(new CHelpPage);
            link.reset();
            nextLink = 0;
            mode = kPage;
            if (!next(line))
                break;
        } else if (line == "[/page]") {
            mode = kNone;
            if (page) {
                CHelpPage* old = nullptr;
                if (m_pages.Lookup(pageId, old))
                    delete old;
                m_pages.SetAt(pageId, page.release());
            }
            continue;
        } else if (line == "[Condition]" || line == "[actions]") {
            // Without a link there is nothing for these lines to belong to.
            mode = !link ? kNone : line == "[actions]" ? kActions : kCondition;
            if (!next(line))
                break;
        } else if (line == "[link]") {
            mode = page ? kLink : kNone;
            if (page)
                link.reset(new CHelpLink);
            // This line itself numbers the link; the next one is its text.
        } else if (line == "[/link]") {
            mode = kNone;
            if (page && link) {
                const WORD number = (WORD)link->m_nNumber;
                CHelpLink* old = nullptr;
                if (page->m_links.Lookup(number, old))
                    delete old;
                page->m_links.SetAt(number, link.release());
            }
            link.reset();
            continue;
        }
        switch (mode) {
        case kPage:
            pageId = (WORD)strtoul(line, nullptr, 10);
            next(page->m_strFirst);
            next(page->m_strSecond);
            break;
        case kLink:
            link->m_nNumber = nextLink++;
            next(link->m_strText);
            break;
        case kActions:
            if (line.Find("//") < 0)
                link->m_actions.AddTail(line);
            break;
        case kCondition:
            if (line.Find("//") < 0)
                link->m_strCondition = line;
            break;
        case kNone:
            break;
        }
    }
    fclose(f);
    return TRUE;
}

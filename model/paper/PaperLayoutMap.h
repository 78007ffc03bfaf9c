// The catalogue of paper layouts by 16-bit id, with the built-in layouts.
#pragma once

#include "fw/fw.h"

class CPaperLayout;
class CPaperSizeMap;

typedef CList<CPaperLayout*, CPaperLayout*> CPaperLayoutList;

// Owns its records.
class CPaperLayoutMap
{
public:
    CPaperLayoutMap();
    virtual ~CPaperLayoutMap();

    // The 92 built-in layouts, each linked to its paper size in the given catalogue (the
    // process-wide one when none is given), which must be filled first.
    void AddBuiltInLayouts(const CPaperSizeMap* paperSizes = NULL);
    // Takes ownership; a layout already held under the id is deleted.
    void Add(CPaperLayout* layout);
    CPaperLayout* Lookup(WORD id) const;
    // A new list (owned by the caller, the records are not) of every layout, by ascending id.
    CPaperLayoutList* GetLayoutList() const;
    INT_PTR GetCount() const { return m_map.GetCount(); }
    void RemoveAll();

private:
    CPaperLayoutMap(const CPaperLayoutMap&) = delete;
    CPaperLayoutMap& operator=(const CPaperLayoutMap&) = delete;

    CMap<WORD, WORD, CPaperLayout*, CPaperLayout*> m_map;
};

#include "model/paper/PaperLayoutMap.h"

#include <algorithm>
#include <vector>

#include "model/paper/PaperLayout.h"

CPaperLayoutMap::CPaperLayoutMap() {}

CPaperLayoutMap::~CPaperLayoutMap() { RemoveAll(); }

void CPaperLayoutMap::Add(CPaperLayout* layout)
{
    if (!layout)
        return;
    const WORD id = (WORD)layout->GetId();
    CPaperLayout* old = NULL;
    if (m_map.Lookup(id, old) && old != layout)
        delete old;
    m_map.SetAt(id, layout);
}

CPaperLayout* CPaperLayoutMap::Lookup(WORD id) const
{
    CPaperLayout* layout = NULL;
    return m_map.Lookup(id, layout) ? layout : NULL;
}

CPaperLayoutList* CPaperLayoutMap::GetLayoutList() const
{
    std::vector<CPaperLayout*> all;
    POSITION pos = m_map.GetStartPosition();
    while (pos) {
        WORD id;
        CPaperLayout* layout;
        m_map.GetNextAssoc(pos, id, layout);
        all.push_back(layout);
    }
    std::sort(all.begin(), all.end(),
              [](const CPaperLayout* a, const CPaperLayout* b) { return (WORD)a->GetId() < (WORD)b->GetId(); });
    CPaperLayoutList* list = new CPaperLayoutList;
    for (CPaperLayout* layout : all)
        list->AddTail(layout);
    return list;
}

void CPaperLayoutMap::RemoveAll()
{
    POSITION pos = m_map.GetStartPosition();
    while (pos) {
        WORD id;
        CPaperLayout* layout;
        m_map.GetNextAssoc(pos, id, layout);
        delete layout;
    }
    m_map.RemoveAll();
}

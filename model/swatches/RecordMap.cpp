#include "model/swatches/RecordMap.h"

SwatchRecord BuiltInSwatch()
{
    SwatchRecord r = {};
    r.id = kBuiltInSwatchKey;
    for (COLORREF& c : r.colour)
        c = kBuiltInSwatchColour;
    return r;
}

CRecordMap::CRecordMap() : m_map(10) { m_map.InitHashTable(17); }

CRecordMap::~CRecordMap() = default;

void CRecordMap::SetAt(const SwatchRecord& record) { m_map.SetAt(record.id, record); }

BOOL CRecordMap::Lookup(SwatchRecord& record, DWORD key) const { return m_map.Lookup(key, record); }

void CRecordMap::RemoveKey(DWORD key) { m_map.RemoveKey(key); }

void CRecordMap::RemoveAll()
{
    m_map.RemoveAll();
    m_map.InitHashTable(17);
}

void CRecordMap::GetKeys(CList<DWORD, DWORD>& keys) const
{
    POSITION pos = m_map.GetStartPosition();
    while (pos != nullptr) {
        DWORD key = 0;
        SwatchRecord r;
        m_map.GetNextAssoc(pos, key, r);
        keys.AddTail(key);
    }
}

int CRecordMap::GetCount() const { return (int)m_map.GetCount(); }

int CRecordMap::FindMatch(const SwatchRecord& record) const
{
    int result = 0;
    POSITION pos = m_map.GetStartPosition();
    while (pos != nullptr) {
        DWORD key = 0;
        SwatchRecord r;
        m_map.GetNextAssoc(pos, key, r);
        bool same = true;
        for (int i = 0; i < 5; ++i)
            same = same && r.colour[i] == record.colour[i];
        if (same)
            result = key == kBuiltInSwatchKey ? -1 : 1;
    }
    return result;
}

DWORD CRecordMap::NewKey() const
{
    DWORD key = (DWORD)m_map.GetCount() + 1;
    while (m_map.PLookup(key) != nullptr)
        ++key;
    return key;
}

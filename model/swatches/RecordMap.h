// The swatches in memory: one record of five colours per swatch id, in the framework's hash
// map (17 buckets, blocks of 10), so that a walk visits the keys in the map's own order.
//
// The rule it keeps: records go in and out by value, the map owns them; a new swatch takes a
// key no record holds, so adding never replaces a swatch.
#pragma once
#include "fw/fw.h"

// One swatch: its id (the map key), its five colours and a spare value carried along.
struct SwatchRecord
{
    DWORD id;
    COLORREF colour[5]; // colour 1 .. colour 5
    DWORD spare;
};

// The built-in swatch: key 0, five whites; it lives only in memory.
const DWORD kBuiltInSwatchKey = 0;
const COLORREF kBuiltInSwatchColour = 0xFFFFFF;
SwatchRecord BuiltInSwatch();

class CRecordMap
{
public:
    CRecordMap();
    virtual ~CRecordMap();
    CRecordMap(const CRecordMap&) = delete;
    CRecordMap& operator=(const CRecordMap&) = delete;

    // Stores the record under record.id, replacing any record with that key.
    void SetAt(const SwatchRecord& record);
    // Copies the key's record out; FALSE, and nothing written, when the key is absent.
    BOOL Lookup(SwatchRecord& record, DWORD key) const;
    // Removes the key's record; an absent key changes nothing.
    void RemoveKey(DWORD key);
    void RemoveAll();
    // Appends every key in the map's walk order (not sorted).
    void GetKeys(CList<DWORD, DWORD>& keys) const;
    int GetCount() const;
    // Compares colours 1 to 5 (id and spare ignored) with every record: 0 when none matches,
    // -1 when the last match in walk order is the built-in swatch, 1 when it is another.
    int FindMatch(const SwatchRecord& record) const;
    // A key for a new swatch: the count + 1, then upward while that key is taken.
    DWORD NewKey() const;

private:
    CMap<DWORD, DWORD, SwatchRecord, const SwatchRecord&> m_map;
};

// The cut-out region of a frame record, kept as the raw bytes of a Windows region
// description (RGNDATA) so that it travels unchanged from design file to design file.
#pragma once

#include "fw/fw.h"
#include <objidl.h>

class CRegionData
{
public:
    CRegionData();
    virtual ~CRegionData();

    void Clear();
    // Copies the bytes; FALSE for an empty or unreadable block.
    BOOL SetData(const void* bytes, DWORD size);
    const BYTE* GetData() const { return m_data; }
    DWORD GetSize() const { return m_size; }
    const CString& GetSourceName() const { return m_sourceName; }

    BOOL LoadFromFile(LPCTSTR path);
    void CopyTo(CRegionData& other) const;
    // The region scaled and moved into target; without usable data an empty region
    // and FALSE.
    BOOL CreateRegion(const CRect& target, CRgn* out) const;

    // Stream form "Region%d.dat": the bytes alone (defined with the design file).
    BOOL Save(IStorage* storage, LPCTSTR streamName);
    BOOL Load(IStorage* storage, LPCTSTR streamName);

    // Objects alive in this process (leak checks).
    static long GetLiveCount();

private:
    CRegionData(const CRegionData&) = delete;
    CRegionData& operator=(const CRegionData&) = delete;

    BYTE* m_data;
    DWORD m_size;
    CString m_sourceName;
};

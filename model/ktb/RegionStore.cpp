// The stream form of cut-out regions: "Region%d.dat" holds the region description's bytes
// and nothing else.
#include "model/ktb/DesignSections.h"

#include "model/ktb/DesignStorage.h"
#include "model/ktb/RegionCheck.h"
#include "model/design/RegionData.h"

HRESULT ReadRegionStream(IStorage* storage, LPCTSTR name, CRegionData& region)
{
    region.Clear();
    std::vector<BYTE> bytes;
    HRESULT hr = ReadStreamBytes(storage, name, kMaxRegionStreamBytes, bytes);
    if (hr == STG_E_FILENOTFOUND)
        return hr;
    if (FAILED(hr) || !CheckRegionBytes(bytes.empty() ? NULL : &bytes[0], bytes.size()))
        return E_FAIL;
    return region.SetData(&bytes[0], (DWORD)bytes.size()) ? S_OK : E_OUTOFMEMORY;
}

HRESULT WriteRegionStream(IStorage* storage, LPCTSTR name, const CRegionData& region)
{
    if (region.GetSize() == 0)
        return S_FALSE;
    return WriteStreamBytes(storage, name, region.GetData(), region.GetSize(), true);
}

BOOL CRegionData::Save(IStorage* storage, LPCTSTR streamName)
{
    return WriteRegionStream(storage, streamName, *this) == S_OK;
}

BOOL CRegionData::Load(IStorage* storage, LPCTSTR streamName)
{
    return ReadRegionStream(storage, streamName, *this) == S_OK;
}

#include "model/design/RegionData.h"

#include <stdlib.h>
#include <string.h>

namespace {
LONG g_liveRegions = 0;
}

long CRegionData::GetLiveCount() { return g_liveRegions; }

CRegionData::CRegionData() : m_data(NULL), m_size(0) { InterlockedIncrement(&g_liveRegions); }

CRegionData::~CRegionData()
{
    Clear();
    InterlockedDecrement(&g_liveRegions);
}

void CRegionData::Clear()
{
    free(m_data);
    m_data = NULL;
    m_size = 0;
}

BOOL CRegionData::SetData(const void* bytes, DWORD size)
{
    Clear();
    if (!bytes || size == 0)
        return FALSE;
    m_data = (BYTE*)calloc(size, 1);
    if (!m_data)
        return FALSE;
    memcpy(m_data, bytes, size);
    m_size = size;
    return TRUE;
}

BOOL CRegionData::LoadFromFile(LPCTSTR path)
{
    Clear();
    m_sourceName = path;
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD size = GetFileSize(f, NULL);
    BOOL ok = FALSE;
    if (size != INVALID_FILE_SIZE && size != 0 && size < 0x10000000) {
        m_data = (BYTE*)calloc(size, 1);
        DWORD got = 0;
        if (m_data && ReadFile(f, m_data, size, &got, NULL) && got == size) {
            m_size = size;
            ok = TRUE;
        } else {
            Clear();
        }
    }
    CloseHandle(f);
    return ok;
}

void CRegionData::CopyTo(CRegionData& other) const
{
    if (&other == this)
        return;
    other.m_sourceName = m_sourceName;
    other.SetData(m_data, m_size);
}

BOOL CRegionData::CreateRegion(const CRect& target, CRgn* out) const
{
    if (!out)
        return FALSE;
    out->DeleteObject();
    // Only a block whose header matches its length goes to the system.
    const RGNDATAHEADER* h = (const RGNDATAHEADER*)m_data;
    bool usable = m_data && m_size >= sizeof(RGNDATAHEADER) && h->dwSize == sizeof(RGNDATAHEADER) &&
                  h->iType == RDH_RECTANGLES && h->nCount <= (m_size - sizeof(RGNDATAHEADER)) / sizeof(RECT);
    HRGN temp = usable ? ExtCreateRegion(NULL, m_size, (const RGNDATA*)m_data) : NULL;
    RECT box;
    if (!temp || GetRgnBox(temp, &box) == NULLREGION || box.right <= box.left || box.bottom <= box.top) {
        if (temp)
            DeleteObject(temp);
        out->CreateRectRgn(0, 0, 0, 0);
        return FALSE;
    }
    DeleteObject(temp);
    XFORM xf = {0};
    xf.eM11 = (FLOAT)((double)target.Width() / (box.right - box.left));
    xf.eM22 = (FLOAT)((double)target.Height() / (box.bottom - box.top));
    HRGN scaled = ExtCreateRegion(&xf, m_size, (const RGNDATA*)m_data);
    if (!scaled) {
        out->CreateRectRgn(0, 0, 0, 0);
        return FALSE;
    }
    RECT b2;
    GetRgnBox(scaled, &b2);
    OffsetRgn(scaled, target.left - b2.left, target.top - b2.top);
    out->Attach(scaled);
    return TRUE;
}

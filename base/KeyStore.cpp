#include "base/KeyStore.h"

#include <objbase.h>
#include <stdlib.h>

#include "base/ComOwner.h"
#include "base/StreamCodec.h"

namespace {

const WCHAR kDataStream[] = L"Data";

} // namespace

CKeyStore::CKeyStore() : m_map(10) {}

CKeyStore::~CKeyStore() {}

CString CKeyStore::GetValue(const CString& key) const
{
    CString value;
    if (!m_map.Lookup(key, value))
        value.Empty();
    return value;
}

void CKeyStore::SetValue(const CString& key, const CString& value) { m_map.SetAt(key, value); }

void CKeyStore::SetNumber(const CString& key, int value)
{
    CString text;
    text.Format("%d", value);
    SetValue(key, text);
}

int CKeyStore::GetCount() const { return (int)m_map.GetCount(); }

std::vector<CString> CKeyStore::GetKeys() const
{
    std::vector<CString> keys;
    POSITION pos = m_map.GetStartPosition();
    while (pos != nullptr) {
        CString key, value;
        m_map.GetNextAssoc(pos, key, value);
        keys.push_back(key);
    }
    return keys;
}

CString CKeyStore::FilePath(const CString& fileName) const
{
    CString path;
    path.Format("%s\\%s", (LPCTSTR)GetValue("root"), (LPCTSTR)fileName);
    return path;
}

BOOL CKeyStore::Load(const CString& fileName)
{
    CWaitCursor wait;
    const ComScope com = EnsureCom();
    if (!com)
        return FALSE;
    ComOwner<IStorage> storage;
    if (FAILED(StgOpenStorage(CStringW(FilePath(fileName)), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                              storage.Put())))
        return FALSE;
    ComOwner<IStream> stream;
    if (FAILED(storage->OpenStream(kDataStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put())))
        return FALSE;

    // The count is only a hint from the file: a negative one reads nothing, and reading
    // ends at the first record that is not there, however large the count.
    LONG count = 0;
    if (FAILED(ReadI4Record(stream, count)))
        return TRUE;
    for (LONG i = 0; i < count; i++) {
        CString record;
        if (FAILED(ReadBstrRecord(stream, record)))
            break;
        int split = record.Find("==");
        if (split < 0)
            continue; // this program never writes such a record; it has no key to set
        SetValue(record.Left(split), record.Mid(split + 2));
    }
    return TRUE;
}

BOOL CKeyStore::Save(const CString& fileName)
{
    CWaitCursor wait;
    const ComScope com = EnsureCom();
    if (!com)
        return FALSE;
    ComOwner<IStorage> storage;
    if (FAILED(StgCreateDocfile(CStringW(FilePath(fileName)), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                storage.Put())))
        return FALSE;
    ComOwner<IStream> stream;
    if (FAILED(storage->CreateStream(kDataStream, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.Put())))
        return FALSE;

    HRESULT hr = WriteI4Record(stream, (LONG)m_map.GetCount());
    POSITION pos = m_map.GetStartPosition();
    while (pos != nullptr && SUCCEEDED(hr)) {
        CString key, value, record;
        m_map.GetNextAssoc(pos, key, value);
        record.Format("%s==%s", (LPCTSTR)key, (LPCTSTR)value);
        hr = WriteBstrRecord(stream, record);
    }
    return SUCCEEDED(hr);
}

CKeyStore& GetKeyStore()
{
    // Built on first use (before the application object runs) and destroyed at exit.
    static CKeyStore store;
    return store;
}

CString GetSetting(CString key) { return GetKeyStore().GetValue(key); }

int GetSettingInt(CString key) { return atoi(GetKeyStore().GetValue(key)); }

int GetSettingIntB(CString key) { return atoi(GetKeyStore().GetValue(key)); }

float GetSettingFloat(CString key) { return (float)atof(GetKeyStore().GetValue(key)); }

void SetSetting(CString key, CString value) { GetKeyStore().SetValue(key, value); }

void SetSettingInt(CString key, int value) { GetKeyStore().SetNumber(key, value); }

void SetSettingFloat(CString key, float value)
{
    CString text;
    text.Format("%f", (double)value);
    GetKeyStore().SetValue(key, text);
}

CString GetDataFolder(CString name)
{
    CString folder = GetSetting("path_" + name);
    if (!folder.IsEmpty())
        return folder;
    folder.Format("%s\\%s", (LPCTSTR)GetSetting("root"), (LPCTSTR)name);
    return folder;
}

BOOL SetDataFolder(CString name, CString folder)
{
    SetSetting("path_" + name, folder);
    return TRUE;
}

namespace {

CString WithoutTrailingSlash(CString folder)
{
    while (folder.GetLength() > 1 && (folder.Right(1) == "\\" || folder.Right(1) == "/"))
        folder = folder.Left(folder.GetLength() - 1);
    return folder;
}

bool FolderExists(const CString& folder)
{
    const DWORD attributes = ::GetFileAttributesA(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

void SettleDataFolders(const CString& runFolder)
{
    const CString storedRoot = WithoutTrailingSlash(GetSetting("root"));
    const CString root = WithoutTrailingSlash(runFolder);
    SetSetting("root", runFolder);
    for (const CString& key : GetKeyStore().GetKeys()) {
        if (key.Left(5) != "path_")
            continue;
        CString folder = GetSetting(key);
        if (folder.IsEmpty())
            continue;
        // Inside the earlier root (the root itself, or below it after a backslash).
        const int n = storedRoot.GetLength();
        if (n > 0 && folder.GetLength() >= n && folder.Left(n).CompareNoCase(storedRoot) == 0 &&
            (folder.GetLength() == n || folder[n] == '\\' || folder[n] == '/'))
            folder = root + folder.Mid(n);
        // An empty value reads as no setting: the area's folder under root.
        SetSetting(key, FolderExists(folder) ? folder : CString());
    }
}

#include "base/RegKey.h"

#include <vector>

namespace {

bool IsRoot(HKEY key)
{
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE || key == HKEY_USERS;
}

} // namespace

CRegistryKey::CRegistryKey() : m_lastResult(0), m_root(HKEY_CURRENT_USER), m_lazyWrite(1) {}

CRegistryKey::~CRegistryKey() { Close(); }

void CRegistryKey::Close()
{
    m_key.Empty();
    m_root = HKEY_CURRENT_USER;
    m_lazyWrite = 1;
}

BOOL CRegistryKey::SetRootKey(HKEY root)
{
    if (!IsRoot(root))
        return FALSE;
    m_root = root;
    return TRUE;
}

BOOL CRegistryKey::CreateKey(LPCTSTR path)
{
    if (!path || !*path)
        return FALSE;
    HKEY key = NULL;
    if (RegCreateKeyExA(m_root, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return FALSE;
    if (!m_lazyWrite)
        RegFlushKey(key);
    RegCloseKey(key);
    return TRUE;
}

BOOL CRegistryKey::SetKey(LPCTSTR path, BOOL create)
{
    if (!path || !*path) {
        m_key.Empty();
        return TRUE;
    }
    HKEY key = NULL;
    if (create)
        m_lastResult =
            RegCreateKeyExA(m_root, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key, NULL);
    else
        m_lastResult = RegOpenKeyExA(m_root, path, 0, KEY_ALL_ACCESS, &key);
    if (m_lastResult != ERROR_SUCCESS)
        return FALSE;
    m_key = path;
    if (!m_lazyWrite)
        RegFlushKey(key);
    RegCloseKey(key);
    return TRUE;
}

BOOL CRegistryKey::DeleteKey(LPCTSTR path)
{
    if (!path || !*path)
        return FALSE;
    if (!KeyExists(path))
        return TRUE;
    return RegDeleteKeyA(m_root, path) == ERROR_SUCCESS;
}

HKEY CRegistryKey::Open(REGSAM access)
{
    HKEY key = NULL;
    if (RegOpenKeyExA(m_root, m_key.IsEmpty() ? NULL : (LPCTSTR)m_key, 0, access, &key) != ERROR_SUCCESS)
        return NULL;
    return key;
}

BOOL CRegistryKey::DeleteValue(LPCTSTR name)
{
    HKEY key = Open(KEY_SET_VALUE);
    if (!key)
        return FALSE;
    const LONG r = RegDeleteValueA(key, name);
    if (!m_lazyWrite)
        RegFlushKey(key);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

BOOL CRegistryKey::KeyExists(LPCTSTR path, HKEY root)
{
    HKEY key = NULL;
    if (RegOpenKeyExA(root && IsRoot(root) ? root : m_root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    RegCloseKey(key);
    return TRUE;
}

BOOL CRegistryKey::ValueExists(LPCTSTR name)
{
    HKEY key = Open(KEY_READ);
    if (!key)
        return FALSE;
    const LONG r = RegQueryValueExA(key, name, NULL, NULL, NULL, NULL);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

DWORD CRegistryKey::GetValueSize(LPCTSTR name)
{
    HKEY key = Open(KEY_READ);
    if (!key)
        return 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, NULL, NULL, NULL, &size) != ERROR_SUCCESS)
        size = 0;
    RegCloseKey(key);
    return size;
}

DWORD CRegistryKey::GetValueType(LPCTSTR name)
{
    HKEY key = Open(KEY_READ);
    if (!key)
        return REG_NONE;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key, name, NULL, &type, NULL, NULL) != ERROR_SUCCESS)
        type = REG_NONE;
    RegCloseKey(key);
    return type;
}

DWORD CRegistryKey::GetSubKeyCount()
{
    HKEY key = Open(KEY_READ);
    if (!key)
        return 0;
    DWORD subKeys = 0;
    if (RegQueryInfoKeyA(key, NULL, NULL, NULL, &subKeys, NULL, NULL, NULL, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
        subKeys = 0;
    RegCloseKey(key);
    return subKeys;
}

DWORD CRegistryKey::GetValueCount()
{
    HKEY key = Open(KEY_READ);
    if (!key)
        return 0;
    DWORD values = 0;
    if (RegQueryInfoKeyA(key, NULL, NULL, NULL, NULL, NULL, NULL, &values, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
        values = 0;
    RegCloseKey(key);
    return values;
}

CString CRegistryKey::ReadString(LPCTSTR name, LPCTSTR def)
{
    HKEY key = Open(KEY_READ);
    if (!key)
        return CString(def);
    CString value(def);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name, NULL, &type, NULL, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<char> buffer(size + 1, 0);
        if (RegQueryValueExA(key, name, NULL, NULL, (BYTE*)buffer.data(), &size) == ERROR_SUCCESS)
            value = buffer.data(); // a value stored without its terminator still ends here
    }
    RegCloseKey(key);
    return value;
}

BOOL CRegistryKey::WriteString(LPCTSTR name, LPCTSTR value)
{
    HKEY key = Open(KEY_WRITE);
    if (!key)
        return FALSE;
    const char* text = value ? value : "";
    const LONG r = RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1);
    if (!m_lazyWrite)
        RegFlushKey(key);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

DWORD CRegistryKey::ReadDword(LPCTSTR name, DWORD def)
{
    HKEY key = Open(KEY_READ);
    if (!key)
        return def;
    DWORD type = 0, value = 0, size = sizeof(value);
    const LONG r = RegQueryValueExA(key, name, NULL, &type, (BYTE*)&value, &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value) ? value : def;
}

BOOL CRegistryKey::ReadBinary(LPCTSTR name, void* data, DWORD size)
{
    HKEY key = Open(KEY_READ);
    if (!key)
        return FALSE;
    std::vector<BYTE> buffer(size);
    DWORD type = 0, got = size;
    const LONG r = RegQueryValueExA(key, name, NULL, &type, buffer.data(), &got);
    RegCloseKey(key);
    // Only a binary value of exactly the expected size is taken.
    if (r != ERROR_SUCCESS || type != REG_BINARY || got != size)
        return FALSE;
    memcpy(data, buffer.data(), size);
    return TRUE;
}

BOOL CRegistryKey::WriteBinary(LPCTSTR name, const void* data, DWORD size)
{
    HKEY key = Open(KEY_WRITE);
    if (!key)
        return FALSE;
    const LONG r = RegSetValueExA(key, name, 0, REG_BINARY, (const BYTE*)data, size);
    if (!m_lazyWrite)
        RegFlushKey(key);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

#define SL_BINARY_VALUE(Type, Read, Write)                            \
    Type CRegistryKey::Read(LPCTSTR name, Type def)                   \
    {                                                                 \
        Type value;                                                   \
        return ReadBinary(name, &value, sizeof(value)) ? value : def; \
    }                                                                 \
    BOOL CRegistryKey::Write(LPCTSTR name, Type value) { return WriteBinary(name, &value, sizeof(value)); }

SL_BINARY_VALUE(int, ReadInt, WriteInt)
SL_BINARY_VALUE(UINT, ReadUInt, WriteUInt)
SL_BINARY_VALUE(long, ReadLong, WriteLong)
SL_BINARY_VALUE(DWORD, ReadDwordBinary, WriteDwordBinary)
SL_BINARY_VALUE(double, ReadDouble, WriteDouble)
SL_BINARY_VALUE(POINT, ReadPoint, WritePoint)
SL_BINARY_VALUE(SIZE, ReadSize, WriteSize)
SL_BINARY_VALUE(RECT, ReadRect, WriteRect)
#undef SL_BINARY_VALUE

BOOL CRegistryKey::ReadThree(LPCTSTR name, int values[3])
{
    int v[3];
    if (!ReadBinary(name, v, sizeof(v)))
        return FALSE;
    memcpy(values, v, sizeof(v));
    return TRUE;
}

BOOL CRegistryKey::WriteThree(LPCTSTR name, const int values[3]) { return WriteBinary(name, values, 3 * sizeof(int)); }

BOOL CRegistryKey::ReadFont(LPCTSTR name, LOGFONTA* font) { return font && ReadBinary(name, font, sizeof(LOGFONTA)); }

BOOL CRegistryKey::WriteFont(LPCTSTR name, const LOGFONTA* font)
{
    return font && WriteBinary(name, font, sizeof(LOGFONTA));
}

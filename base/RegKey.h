// Typed access to one registry key below one of the four root keys.
#pragma once

#include "fw/fw.h"

class CRegistryKey
{
public:
    CRegistryKey();
    virtual ~CRegistryKey();

    // Only HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_USERS.
    BOOL SetRootKey(HKEY root);
    HKEY GetRootKey() const { return m_root; }
    // When off, every write is flushed to disk at once.
    void SetLazyWrite(BOOL lazy) { m_lazyWrite = lazy ? 1 : 0; }

    BOOL CreateKey(LPCTSTR path);
    // Makes path the key that the value operations address (creating it when asked); an
    // empty path clears it.
    BOOL SetKey(LPCTSTR path, BOOL create);
    const CString& GetKey() const { return m_key; }
    LONG GetLastResult() const { return m_lastResult; }
    // Succeeds also when the key does not exist.
    BOOL DeleteKey(LPCTSTR path);
    BOOL DeleteValue(LPCTSTR name);
    BOOL KeyExists(LPCTSTR path, HKEY root = NULL);
    BOOL ValueExists(LPCTSTR name);
    DWORD GetValueSize(LPCTSTR name);
    DWORD GetValueType(LPCTSTR name);
    DWORD GetSubKeyCount();
    DWORD GetValueCount();

    CString ReadString(LPCTSTR name, LPCTSTR def);
    BOOL WriteString(LPCTSTR name, LPCTSTR value);
    DWORD ReadDword(LPCTSTR name, DWORD def); // a REG_DWORD value
    // Binary values of fixed sizes.
    int ReadInt(LPCTSTR name, int def);
    BOOL WriteInt(LPCTSTR name, int value);
    UINT ReadUInt(LPCTSTR name, UINT def);
    BOOL WriteUInt(LPCTSTR name, UINT value);
    long ReadLong(LPCTSTR name, long def);
    BOOL WriteLong(LPCTSTR name, long value);
    DWORD ReadDwordBinary(LPCTSTR name, DWORD def);
    BOOL WriteDwordBinary(LPCTSTR name, DWORD value);
    double ReadDouble(LPCTSTR name, double def);
    BOOL WriteDouble(LPCTSTR name, double value);
    POINT ReadPoint(LPCTSTR name, POINT def);
    BOOL WritePoint(LPCTSTR name, POINT value);
    SIZE ReadSize(LPCTSTR name, SIZE def);
    BOOL WriteSize(LPCTSTR name, SIZE value);
    BOOL ReadThree(LPCTSTR name, int values[3]); // false (values unchanged) when absent
    BOOL WriteThree(LPCTSTR name, const int values[3]);
    RECT ReadRect(LPCTSTR name, RECT def);
    BOOL WriteRect(LPCTSTR name, RECT value);
    BOOL ReadFont(LPCTSTR name, LOGFONTA* font);
    BOOL WriteFont(LPCTSTR name, const LOGFONTA* font);

    // Clears the current key; the root goes back to HKEY_CURRENT_USER, lazy writing on.
    void Close();

private:
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    HKEY Open(REGSAM access);
    BOOL ReadBinary(LPCTSTR name, void* data, DWORD size);
    BOOL WriteBinary(LPCTSTR name, const void* data, DWORD size);

    LONG m_lastResult;
    HKEY m_root;
    BYTE m_lazyWrite;
    CString m_key;
};

// The settings store: one process-wide map of text keys to text values, read at start-up
// from the compound files "security.dat" and "ziviz.dat" in the folder named by "root"
// and written back to "ziviz.dat" when the main window closes.
//
// A settings file holds one stream "Data": a VT_I4 VARIANT record with the count, then
// that many BSTR records "key==value" (the first "==" splits; values may contain "==").
#pragma once

#include "fw/fw.h"

#include <vector>

class CKeyStore
{
public:
    CKeyStore();
    virtual ~CKeyStore();

    CString GetValue(const CString& key) const; // "" when absent
    void SetValue(const CString& key, const CString& value);
    void SetNumber(const CString& key, int value); // "%d"

    // Merges the file "<root>\<fileName>" into the store, later loads winning per key.
    // FALSE when the file or its stream "Data" cannot be opened (store unchanged).
    // Reading stops at the first record that cannot be read.
    BOOL Load(const CString& fileName);
    // Writes the whole store to "<root>\<fileName>", replacing the file.  FALSE when the
    // file or stream cannot be created or a record cannot be written.
    BOOL Save(const CString& fileName);

    int GetCount() const;
    // Every key, in the map's own order.
    std::vector<CString> GetKeys() const;

private:
    CKeyStore(const CKeyStore&) = delete;
    CKeyStore& operator=(const CKeyStore&) = delete;
    CString FilePath(const CString& fileName) const;

    CMapStringToString m_map;
};

// The process-wide store.
CKeyStore& GetKeyStore();

// Free functions over the one store.
CString GetSetting(CString key);
int GetSettingInt(CString key); // C library decimal conversion; no digits = 0
int GetSettingIntB(CString key);
float GetSettingFloat(CString key);
void SetSetting(CString key, CString value);
void SetSettingInt(CString key, int value);
void SetSettingFloat(CString key, float value); // "%f"

// Folder of a data area: the setting "path_<name>" when not empty, else "<root>\<name>".
CString GetDataFolder(CString name);
BOOL SetDataFolder(CString name, CString folder);

// Start-up, once the settings files are read: the folder the program runs from becomes
// "root" whatever root an earlier run stored, so a copied or moved program keeps its settings
// and designs to itself.  A stored data folder inside that earlier root moves along into the
// new one; a stored data folder is kept only where it exists, else its area falls back to
// "<root>\<name>".
void SettleDataFolders(const CString& runFolder);

// The language table: the localised texts of the program by key, loaded from the
// language file "<language>.ini" in the process's current directory.
//
// Each line of the file is split at its first "=" into key and text, byte for byte: no
// trimming, no comments, no sections (a line without "=" sets the empty key).  A later
// line wins.  "#" in a text stands for a line break (GetLangText turns it into "\n").
#pragma once

#include "fw/fw.h"

class CTextTable
{
public:
    CTextTable();
    virtual ~CTextTable();

    // Empties the table, then reads the file; FALSE when it cannot be opened.
    BOOL Load(const CString& fileName);
    CString Lookup(const CString& key) const; // "" when absent

private:
    CTextTable(const CTextTable&) = delete;
    CTextTable& operator=(const CTextTable&) = delete;

    CMapStringToString m_map;
};

// The process-wide table.
CTextTable& GetTextTable();

// Loads "<language>.ini", falling back to "english.ini"; the current language becomes
// the name given either way.
void LoadLanguageFile(CString language);
CString GetCurrentLanguage();

// The text of a key with every "#" turned into a line feed; "" when absent.
CString GetLangText(CString key);

// The print-preview tool bar template of the current language.
UINT GetPreviewToolbarId();

// A string resource of the program ("" when it does not exist).
CString LoadResString(UINT id);

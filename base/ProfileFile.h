// Typed access to a Windows profile (INI) file through the private-profile functions.
// Every value is stored as text; a missing section or key name gives FALSE or the default.
#pragma once

#include "fw/fw.h"

class CIniFile
{
public:
    CIniFile();
    explicit CIniFile(LPCTSTR path);
    virtual ~CIniFile();

    void SetPath(LPCTSTR path);
    CString GetPath() const { return m_path ? CString(m_path) : CString(); }

    // Text (a NULL value writes the empty text).
    CString GetString(LPCTSTR section, LPCTSTR key, LPCTSTR def = NULL) const;
    BOOL WriteString(LPCTSTR section, LPCTSTR key, LPCTSTR value) const;
    BOOL AppendString(LPCTSTR section, LPCTSTR key, LPCTSTR text) const;

    // Whole numbers in base 10, 8, 16 or 2 (any other base reads as 10).
    int GetInt(LPCTSTR section, LPCTSTR key, int def, int base = 10) const;
    BOOL WriteInt(LPCTSTR section, LPCTSTR key, int value, int base = 10) const;
    UINT GetUInt(LPCTSTR section, LPCTSTR key, UINT def, int base = 10) const;
    BOOL WriteUInt(LPCTSTR section, LPCTSTR key, UINT value, int base = 10) const;
    BOOL IncreaseInt(LPCTSTR section, LPCTSTR key, int delta = 1, int base = 10) const;
    BOOL IncreaseUInt(LPCTSTR section, LPCTSTR key, UINT delta = 1, int base = 10) const;

    // "%f", or a fixed number of decimals when precision is above 0.
    double GetDouble(LPCTSTR section, LPCTSTR key, double def) const;
    BOOL WriteDouble(LPCTSTR section, LPCTSTR key, double value, int precision = -1) const;
    BOOL IncreaseDouble(LPCTSTR section, LPCTSTR key, double delta, int precision = -1) const;

    // "true" and "yes" in any case are true, else a non-zero number; written as 1 or 0.
    BOOL GetBool(LPCTSTR section, LPCTSTR key, BOOL def) const;
    BOOL WriteBool(LPCTSTR section, LPCTSTR key, BOOL value) const;
    BOOL InvertBool(LPCTSTR section, LPCTSTR key) const;

    char GetChar(LPCTSTR section, LPCTSTR key, char def) const;
    BOOL WriteChar(LPCTSTR section, LPCTSTR key, char value) const;

    // Byte blocks as two upper-case hexadecimal digits per byte. GetData reads up to count
    // bytes starting at byte offset of the stored block and returns how many it read (0 when
    // the text is not all hexadecimal digits).
    int GetData(LPCTSTR section, LPCTSTR key, BYTE* data, int count, int offset = 0) const;
    BOOL WriteData(LPCTSTR section, LPCTSTR key, const BYTE* data, int count) const;
    BOOL AppendData(LPCTSTR section, LPCTSTR key, const BYTE* data, int count) const;
    POINT GetPoint(LPCTSTR section, LPCTSTR key, POINT def) const;
    BOOL WritePoint(LPCTSTR section, LPCTSTR key, POINT value) const;
    RECT GetRect(LPCTSTR section, LPCTSTR key, RECT def) const;
    BOOL WriteRect(LPCTSTR section, LPCTSTR key, RECT value) const;

    // Lists joined by the delimiter; read back split at any of the delimiter characters.
    int GetStringList(LPCTSTR section, LPCTSTR key, CStringArray& items, LPCTSTR delimiters = ",",
                      BOOL trim = FALSE) const;
    BOOL WriteStringList(LPCTSTR section, LPCTSTR key, const CStringArray& items, LPCTSTR delimiter = ",") const;

    // The "key=value" lines of a section, its key names, the file's section names.
    int GetSectionLines(LPCTSTR section, CStringArray& lines) const;
    int GetKeyNames(LPCTSTR section, CStringArray& keys) const;
    int GetSectionNames(CStringArray& sections) const;
    BOOL DeleteSection(LPCTSTR section) const;
    BOOL DeleteKey(LPCTSTR section, LPCTSTR key) const;
    BOOL SectionExists(LPCTSTR section) const;
    BOOL KeyExists(LPCTSTR section, LPCTSTR key) const;
    // Copies (or moves) a section or a key; refuse: fail when the target exists.
    BOOL CopySection(LPCTSTR source, LPCTSTR target, BOOL refuse = FALSE) const;
    BOOL MoveSection(LPCTSTR source, LPCTSTR target, BOOL refuse = FALSE) const;
    BOOL CopyKey(LPCTSTR sourceSection, LPCTSTR sourceKey, LPCTSTR targetSection, LPCTSTR targetKey,
                 BOOL refuse = FALSE) const;
    BOOL MoveKey(LPCTSTR sourceSection, LPCTSTR sourceKey, LPCTSTR targetSection, LPCTSTR targetKey,
                 BOOL refuse = FALSE) const;

private:
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // Reads a NUL-separated list (section lines or names) with a growing buffer.
    int ReadList(LPCTSTR section, CStringArray& items) const;

    char* m_path;
};

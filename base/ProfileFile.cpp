#include "base/ProfileFile.h"

#include <stdlib.h>
#include <string.h>

#include <vector>

namespace {

const char kMissing[] = "{63788286-AE30-4D6B-95DF-3B451C1C79F9}";

bool Named(LPCTSTR name) { return name && *name; }

int ReadBase(int base) { return base == 2 || base == 8 || base == 16 ? base : 10; }

CString FormatUnsigned(UINT value, int base)
{
    CString text;
    switch (base) {
    case 8:
        text.Format("%o", value);
        break;
    case 16:
        text.Format("%X", value);
        break;
    case 2: {
        char digits[65];
        int n = 0;
        do {
            digits[n++] = (char)('0' + (value & 1));
            value >>= 1;
        } while (value && n < 64);
        for (int k = 0; k < n; ++k)
            text += digits[n - 1 - k];
        break;
    }
    default:
        text.Format("%u", value);
        break;
    }
    return text;
}

bool IsHex(const CString& text)
{
    for (int k = 0; k < text.GetLength(); ++k)
        if (!strchr("0123456789abcdefABCDEF", text[k]))
            return false;
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

} // namespace

CIniFile::CIniFile() : m_path(NULL) {}

CIniFile::CIniFile(LPCTSTR path) : m_path(NULL) { SetPath(path); }

CIniFile::~CIniFile() { delete[] m_path; }

void CIniFile::SetPath(LPCTSTR path)
{
    delete[] m_path;
    m_path = NULL;
    if (path) {
        m_path = new char[strlen(path) + 1];
        strcpy(m_path, path);
    }
}

CString CIniFile::GetString(LPCTSTR section, LPCTSTR key, LPCTSTR def) const
{
    if (!Named(section) || !Named(key))
        return CString(def);
    for (DWORD size = 512;; size += 512) {
        std::vector<char> buffer(size);
        const DWORD n = GetPrivateProfileStringA(section, key, def ? def : "", buffer.data(), size, m_path);
        if (n < size - 1)
            return CString(buffer.data(), (int)n);
    }
}

BOOL CIniFile::WriteString(LPCTSTR section, LPCTSTR key, LPCTSTR value) const
{
    if (!Named(section) || !Named(key))
        return FALSE;
    return WritePrivateProfileStringA(section, key, value ? value : "", m_path);
}

BOOL CIniFile::AppendString(LPCTSTR section, LPCTSTR key, LPCTSTR text) const
{
    if (!Named(section) || !Named(key))
        return FALSE;
    CString value;
    value.Format("%s%s", (LPCTSTR)GetString(section, key), text ? text : "");
    return WriteString(section, key, value);
}

UINT CIniFile::GetUInt(LPCTSTR section, LPCTSTR key, UINT def, int base) const
{
    CString text = GetString(section, key);
    if (text.IsEmpty())
        return def;
    text = text.Left(64);
    return (UINT)strtoul(text, NULL, ReadBase(base));
}

int CIniFile::GetInt(LPCTSTR section, LPCTSTR key, int def, int base) const
{
    return (int)GetUInt(section, key, (UINT)def, base);
}

BOOL CIniFile::WriteInt(LPCTSTR section, LPCTSTR key, int value, int base) const
{
    if (base == 10 || (base != 8 && base != 16 && base != 2)) {
        CString text;
        text.Format("%d", value);
        return WriteString(section, key, text);
    }
    return WriteString(section, key, FormatUnsigned((UINT)value, base));
}

BOOL CIniFile::WriteUInt(LPCTSTR section, LPCTSTR key, UINT value, int base) const
{
    return WriteString(section, key, FormatUnsigned(value, base));
}

BOOL CIniFile::IncreaseInt(LPCTSTR section, LPCTSTR key, int delta, int base) const
{
    return WriteInt(section, key, GetInt(section, key, 0, base) + delta, base);
}

BOOL CIniFile::IncreaseUInt(LPCTSTR section, LPCTSTR key, UINT delta, int base) const
{
    return WriteUInt(section, key, GetUInt(section, key, 0, base) + delta, base);
}

double CIniFile::GetDouble(LPCTSTR section, LPCTSTR key, double def) const
{
    const CString text = GetString(section, key);
    return text.IsEmpty() ? def : strtod(text, NULL);
}

BOOL CIniFile::WriteDouble(LPCTSTR section, LPCTSTR key, double value, int precision) const
{
    CString format("%f");
    if (precision > 0)
        format.Format("%%.%df", precision);
    CString text;
    text.Format(format, value);
    return WriteString(section, key, text);
}

BOOL CIniFile::IncreaseDouble(LPCTSTR section, LPCTSTR key, double delta, int precision) const
{
    return WriteDouble(section, key, GetDouble(section, key, 0) + delta, precision);
}

BOOL CIniFile::GetBool(LPCTSTR section, LPCTSTR key, BOOL def) const
{
    const CString text = GetString(section, key);
    if (text.IsEmpty())
        return def;
    if (text.CompareNoCase("true") == 0 || text.CompareNoCase("yes") == 0)
        return TRUE;
    return strtol(text, NULL, 10) != 0;
}

BOOL CIniFile::WriteBool(LPCTSTR section, LPCTSTR key, BOOL value) const
{
    return WriteString(section, key, value ? "1" : "0");
}

BOOL CIniFile::InvertBool(LPCTSTR section, LPCTSTR key) const
{
    return WriteBool(section, key, !GetBool(section, key, FALSE));
}

char CIniFile::GetChar(LPCTSTR section, LPCTSTR key, char def) const
{
    const CString text = GetString(section, key);
    return text.IsEmpty() ? def : text[0];
}

BOOL CIniFile::WriteChar(LPCTSTR section, LPCTSTR key, char value) const
{
    const char text[2] = {value, 0};
    return WriteString(section, key, text);
}

int CIniFile::GetData(LPCTSTR section, LPCTSTR key, BYTE* data, int count, int offset) const
{
    const CString text = GetString(section, key);
    if (!data || count <= 0 || offset < 0 || !IsHex(text))
        return 0;
    const int stored = text.GetLength() / 2;
    int n = 0;
    for (int b = offset; b < stored && n < count; ++b, ++n)
        data[n] = (BYTE)(HexDigit(text[2 * b]) * 16 + HexDigit(text[2 * b + 1]));
    return n;
}

BOOL CIniFile::WriteData(LPCTSTR section, LPCTSTR key, const BYTE* data, int count) const
{
    CString text;
    for (int k = 0; data && k < count; ++k)
        text.AppendFormat("%02X", data[k]);
    return WriteString(section, key, text);
}

BOOL CIniFile::AppendData(LPCTSTR section, LPCTSTR key, const BYTE* data, int count) const
{
    CString text = GetString(section, key);
    if (!IsHex(text))
        text.Empty();
    for (int k = 0; data && k < count; ++k)
        text.AppendFormat("%02X", data[k]);
    return WriteString(section, key, text);
}

POINT CIniFile::GetPoint(LPCTSTR section, LPCTSTR key, POINT def) const
{
    POINT p;
    return GetData(section, key, (BYTE*)&p, sizeof(p)) == (int)sizeof(p) ? p : def;
}

BOOL CIniFile::WritePoint(LPCTSTR section, LPCTSTR key, POINT value) const
{
    return WriteData(section, key, (const BYTE*)&value, sizeof(value));
}

RECT CIniFile::GetRect(LPCTSTR section, LPCTSTR key, RECT def) const
{
    RECT r;
    return GetData(section, key, (BYTE*)&r, sizeof(r)) == (int)sizeof(r) ? r : def;
}

BOOL CIniFile::WriteRect(LPCTSTR section, LPCTSTR key, RECT value) const
{
    return WriteData(section, key, (const BYTE*)&value, sizeof(value));
}

int CIniFile::GetStringList(LPCTSTR section, LPCTSTR key, CStringArray& items, LPCTSTR delimiters, BOOL trim) const
{
    items.RemoveAll();
    const CString text = GetString(section, key);
    if (text.IsEmpty())
        return 0;
    const CString delims(delimiters && *delimiters ? delimiters : ",");
    int start = 0;
    for (int k = 0; k <= text.GetLength(); ++k) {
        if (k == text.GetLength() || delims.Find(text[k]) >= 0) {
            CString item = text.Mid(start, k - start);
            if (trim)
                item.Trim(" \t\r\n");
            items.Add(item);
            start = k + 1;
        }
    }
    return (int)items.GetSize();
}

BOOL CIniFile::WriteStringList(LPCTSTR section, LPCTSTR key, const CStringArray& items, LPCTSTR delimiter) const
{
    CString text;
    for (INT_PTR k = 0; k < items.GetSize(); ++k) {
        if (k)
            text += delimiter ? delimiter : ",";
        text += items[k];
    }
    return WriteString(section, key, text);
}

int CIniFile::ReadList(LPCTSTR section, CStringArray& items) const
{
    items.RemoveAll();
    for (DWORD size = 512;; size += 512) {
        std::vector<char> buffer(size);
        const DWORD n = section ? GetPrivateProfileSectionA(section, buffer.data(), size, m_path)
                                : GetPrivateProfileSectionNamesA(buffer.data(), size, m_path);
        if (n >= size - 2)
            continue; // too small: grow
        for (const char* p = buffer.data(); *p; p += strlen(p) + 1)
            items.Add(p);
        return (int)items.GetSize();
    }
}

int CIniFile::GetSectionLines(LPCTSTR section, CStringArray& lines) const
{
    lines.RemoveAll();
    return Named(section) ? ReadList(section, lines) : 0;
}

int CIniFile::GetKeyNames(LPCTSTR section, CStringArray& keys) const
{
    CStringArray lines;
    keys.RemoveAll();
    GetSectionLines(section, lines);
    for (INT_PTR k = 0; k < lines.GetSize(); ++k) {
        const int eq = lines[k].Find('=');
        CString name = eq >= 0 ? lines[k].Left(eq) : lines[k];
        keys.Add(name.Trim());
    }
    return (int)keys.GetSize();
}

int CIniFile::GetSectionNames(CStringArray& sections) const { return ReadList(NULL, sections); }

BOOL CIniFile::DeleteSection(LPCTSTR section) const
{
    return Named(section) && WritePrivateProfileStringA(section, NULL, NULL, m_path);
}

BOOL CIniFile::DeleteKey(LPCTSTR section, LPCTSTR key) const
{
    return Named(section) && Named(key) && WritePrivateProfileStringA(section, key, NULL, m_path);
}

BOOL CIniFile::SectionExists(LPCTSTR section) const
{
    if (!Named(section))
        return FALSE;
    CStringArray names;
    GetSectionNames(names);
    for (INT_PTR k = 0; k < names.GetSize(); ++k)
        if (names[k].CompareNoCase(section) == 0)
            return TRUE;
    return FALSE;
}

BOOL CIniFile::KeyExists(LPCTSTR section, LPCTSTR key) const
{
    if (!Named(section) || !Named(key))
        return FALSE;
    return GetString(section, key, kMissing) != kMissing;
}

BOOL CIniFile::CopySection(LPCTSTR source, LPCTSTR target, BOOL refuse) const
{
    if (!Named(source) || !Named(target) || _stricmp(source, target) == 0)
        return FALSE;
    if (!SectionExists(source) || (refuse && SectionExists(target)))
        return FALSE;
    CStringArray lines;
    GetSectionLines(source, lines);
    std::vector<char> block;
    for (INT_PTR k = 0; k < lines.GetSize(); ++k)
        block.insert(block.end(), (LPCTSTR)lines[k], (LPCTSTR)lines[k] + lines[k].GetLength() + 1);
    block.push_back(0);
    block.push_back(0);
    DeleteSection(target);
    return WritePrivateProfileSectionA(target, block.data(), m_path);
}

BOOL CIniFile::MoveSection(LPCTSTR source, LPCTSTR target, BOOL refuse) const
{
    return CopySection(source, target, refuse) && DeleteSection(source);
}

BOOL CIniFile::CopyKey(LPCTSTR sourceSection, LPCTSTR sourceKey, LPCTSTR targetSection, LPCTSTR targetKey,
                       BOOL refuse) const
{
    if (!Named(sourceSection) || !Named(sourceKey) || !Named(targetSection) || !Named(targetKey))
        return FALSE;
    if (_stricmp(sourceSection, targetSection) == 0 && _stricmp(sourceKey, targetKey) == 0)
        return FALSE;
    if (!KeyExists(sourceSection, sourceKey) || (refuse && KeyExists(targetSection, targetKey)))
        return FALSE;
    return WriteString(targetSection, targetKey, GetString(sourceSection, sourceKey));
}

BOOL CIniFile::MoveKey(LPCTSTR sourceSection, LPCTSTR sourceKey, LPCTSTR targetSection, LPCTSTR targetKey,
                       BOOL refuse) const
{
    return CopyKey(sourceSection, sourceKey, targetSection, targetKey, refuse) && DeleteKey(sourceSection, sourceKey);
}

#include "base/TextTable.h"

namespace {

CString& CurrentLanguage()
{
    static CString name;
    return name;
}

} // namespace

CTextTable::CTextTable() : m_map(10) {}

CTextTable::~CTextTable() {}

BOOL CTextTable::Load(const CString& fileName)
{
    m_map.RemoveAll();
    CStdioFile file;
    if (!file.Open(fileName, CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
        return FALSE;
    CString line;
    while (file.ReadString(line)) {
        int split = line.Find('=');
        if (split < 0)
            m_map.SetAt(CString(), line);
        else
            m_map.SetAt(line.Left(split), line.Mid(split + 1));
    }
    file.Close();
    return TRUE;
}

CString CTextTable::Lookup(const CString& key) const
{
    CString text;
    if (!m_map.Lookup(key, text))
        text.Empty();
    return text;
}

CTextTable& GetTextTable()
{
    static CTextTable table;
    return table;
}

void LoadLanguageFile(CString language)
{
    CString fileName;
    fileName.Format("%s.ini", (LPCTSTR)language);
    if (!GetTextTable().Load(fileName))
        GetTextTable().Load("english.ini");
    CurrentLanguage() = language;
}

CString GetCurrentLanguage() { return CurrentLanguage(); }

CString GetLangText(CString key)
{
    CString text = GetTextTable().Lookup(key); // a plain copy: never used as a format
    text.Replace('#', '\n');
    return text;
}

UINT GetPreviewToolbarId()
{
    static const struct
    {
        const char* language;
        UINT id;
    } kToolbars[] = {
        {"ENGLISH", 30723}, {"FRENCH", 400}, {"GERMAN", 401}, {"SPANISH", 402}, {"ITALIAN", 403},
    };
    CString language = GetCurrentLanguage();
    for (const auto& entry : kToolbars)
        if (language.CompareNoCase(entry.language) == 0)
            return entry.id;
    return 30723;
}

CString LoadResString(UINT id)
{
    CString text;
    if (!text.LoadString(id))
        text.Empty();
    return text;
}

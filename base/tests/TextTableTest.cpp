// Language files: how lines split into keys and texts, the fallback to English, and the
// preview tool bar chosen by the language.
#include <windows.h>
#include <gtest/gtest.h>

#include <stdio.h>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/TextTable.h"

namespace {

// Runs a test in a fresh current directory of its own (language files are read from the
// current directory), and goes back afterwards.
class InTempDirectory : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(MAX_PATH, m_old);
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        m_dir.Format("%ssllang%lu", base, GetCurrentProcessId());
        CreateDirectoryA(m_dir, nullptr);
        SetCurrentDirectoryA(m_dir);
    }
    void TearDown() override
    {
        for (const CString& f : m_files)
            DeleteFileA(f);
        SetCurrentDirectoryA(m_old);
        RemoveDirectoryA(m_dir);
        LoadLanguageFile("english"); // the tests' own folder holds the real files
    }
    void Write(const char* name, const char* bytes)
    {
        FILE* f = fopen(name, "wb");
        ASSERT_NE(nullptr, f);
        fputs(bytes, f);
        fclose(f);
        m_files.push_back(m_dir + "\\" + name);
    }

private:
    char m_old[MAX_PATH] = {};
    CString m_dir;
    std::vector<CString> m_files;
};

typedef InTempDirectory TextTableFile;

TEST_F(TextTableFile, LinesSplitAtTheFirstEquals)
{
    Write("test.ini",
          "KEY=a=b\r\n"
          " X =y\r\n"
          "T=one#two\r\n"
          "F=%d of %s\r\n"
          "DUP=first\r\n"
          "DUP=second\r\n"
          "E=\r\n"
          "\r\n"
          "[Menu]\n" // a lone LF ends a line too
          "LAST=no line end");
    CTextTable table;
    ASSERT_TRUE(table.Load("test.ini"));
    struct
    {
        const char* key;
        const char* table;
        const char* lang;
    } cases[] = {
        {"KEY", "a=b", "a=b"},
        {" X ", "y", "y"}, // blanks belong to key and text
        {"X", "", ""},
        {"T", "one#two", "one\ntwo"},  // "#" is a line break only for GetLangText
        {"F", "%d of %s", "%d of %s"}, // never used as a format
        {"DUP", "second", "second"},   // the later line wins
        {"E", "", ""},
        {"", "[Menu]", "[Menu]"}, // lines without "=" set the empty key
        {"LAST", "no line end", "no line end"},
        {"absent", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.table, table.Lookup(c.key)) << "[" << c.key << "]";

    LoadLanguageFile("test");
    for (const auto& c : cases)
        EXPECT_STREQ(c.lang, GetLangText(c.key)) << "[" << c.key << "]";
    EXPECT_STREQ("test", GetCurrentLanguage());
}

TEST_F(TextTableFile, MissingLanguageFallsBackToEnglish)
{
    Write("english.ini", "OK=OK\r\nT=a#b\r\n");
    Write("dutch.ini", "OK=Goed\r\nONLY_DUTCH=ja\r\n");
    LoadLanguageFile("dutch");
    EXPECT_STREQ("Goed", GetLangText("OK"));

    struct
    {
        const char* language;
        UINT toolbar;
    } cases[] = {
        {"french", 400},  {"FRENCH", 400},    {"German", 401},  {"spanish", 402},
        {"italian", 403}, {"english", 30723}, {"greek", 30723}, {"", 30723},
    };
    for (const auto& c : cases) {
        LoadLanguageFile(c.language); // none of these files exists here
        EXPECT_STREQ("OK", GetLangText("OK")) << c.language;
        EXPECT_STREQ("a\nb", GetLangText("T")) << c.language;
        EXPECT_STREQ("", GetLangText("ONLY_DUTCH")) << c.language; // nothing survives
        EXPECT_STREQ(c.language, GetCurrentLanguage());
        EXPECT_EQ(c.toolbar, GetPreviewToolbarId()) << c.language;
    }
}

TEST_F(TextTableFile, NoFileAtAllLeavesTheTableEmpty)
{
    Write("dutch.ini", "OK=Goed\r\n");
    LoadLanguageFile("dutch");
    CTextTable table;
    EXPECT_FALSE(table.Load("absent.ini"));
    LoadLanguageFile("swahili"); // neither "swahili.ini" nor "english.ini" here
    EXPECT_STREQ("", GetLangText("OK"));
}

} // namespace

namespace {

// Every key of the program is in all five language files, with a text.
TEST(LanguageFiles, EveryLanguageHasEveryKey)
{
    const char* languages[] = {"english", "french", "dutch", "portugese", "greek"};
    std::map<std::string, std::set<std::string>> keys;
    for (const char* language : languages) {
        CString name;
        name.Format("%s.ini", language);
        FILE* f = fopen(name, "rb");
        ASSERT_NE(nullptr, f) << language;
        char line[4096];
        while (fgets(line, sizeof line, f)) {
            std::string text(line);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            size_t split = text.find('=');
            ASSERT_NE(std::string::npos, split) << language << ": " << text;
            EXPECT_LT(split + 1, text.size()) << language << ": empty text of " << text;
            EXPECT_TRUE(keys[language].insert(text.substr(0, split)).second) << language << ": key twice: " << text;
        }
        fclose(f);
    }
    EXPECT_FALSE(keys["english"].empty());
    for (const char* language : languages)
        EXPECT_EQ(keys["english"], keys[language]) << language;
}

} // namespace

namespace {

// Each language file is in its own ANSI code page, never in UTF-8 (which the program
// would show as two or three wrong characters per letter); Greek is in code page 1253.
TEST(LanguageFiles, EachIsInItsCodePage)
{
    const struct
    {
        const char* language;
        UINT codePage;
    } files[] = {{"english", 1252}, {"french", 1252}, {"dutch", 1252}, {"portugese", 1252}, {"greek", 1253}};
    for (const auto& f : files) {
        CString name;
        name.Format("%s.ini", f.language);
        FILE* file = fopen(name, "rb");
        ASSERT_NE(nullptr, file) << f.language;
        int greekLetters = 0;
        char line[4096];
        while (fgets(line, sizeof line, file)) {
            int length = (int)strlen(line);
            bool ascii = true;
            for (int i = 0; i < length; i++)
                ascii = ascii && (BYTE)line[i] < 0x80;
            if (ascii)
                continue;
            EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line, length, nullptr, 0))
                << f.language << " in UTF-8: " << line;
            WCHAR wide[4096];
            int count = MultiByteToWideChar(f.codePage, MB_ERR_INVALID_CHARS, line, length, wide, 4096);
            EXPECT_GT(count, 0) << f.language << ": " << line;
            for (int i = 0; i < count; i++) {
                bool greek = wide[i] >= 0x0370 && wide[i] <= 0x03FF;
                greekLetters += greek;
                if (f.codePage != 1253) {
                    EXPECT_FALSE(greek) << f.language << ": " << line;
                }
            }
        }
        fclose(file);
        if (f.codePage == 1253) {
            EXPECT_GT(greekLetters, 100) << f.language;
        }
    }
}

} // namespace

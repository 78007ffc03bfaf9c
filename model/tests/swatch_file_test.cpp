// The swatches file and the swatch map: what lands on disk byte for byte, what a load makes
// of good and bad lines, that a failed write leaves the file as it was, the map's walk order,
// the keys of new swatches and the match that enables a panel's swatch buttons.
#include "model/swatches/RecordMap.h"
#include "model/swatches/SwatchFile.h"

#include "base/KeyStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A fresh folder under the temp folder, removed with what it holds.
class SwatchFolder
{
public:
    SwatchFolder()
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        m_path.Format("%sslswatch%lu_%lu", base, GetCurrentProcessId(), ++s_count);
        CreateDirectoryA(m_path, nullptr);
    }
    ~SwatchFolder()
    {
        for (const std::string& name : Names()) {
            SetFileAttributesA(File(name.c_str()), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(File(name.c_str()));
        }
        RemoveDirectoryA(m_path);
    }
    CString File(LPCTSTR name = "swatches.txt") const { return m_path + "\\" + name; }
    const CString& Path() const { return m_path; }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(m_path + "\\*", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
                    names.push_back(found.cFileName);
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        return names;
    }
    void Write(const std::string& bytes, LPCTSTR name = "swatches.txt") const
    {
        HANDLE f = CreateFileA(File(name), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done = 0;
        if (f != INVALID_HANDLE_VALUE) {
            WriteFile(f, bytes.data(), (DWORD)bytes.size(), &done, nullptr);
            CloseHandle(f);
        }
    }
    // The file's bytes; "<missing>" when there is no such file.
    std::string Read(LPCTSTR name = "swatches.txt") const
    {
        HANDLE f = CreateFileA(File(name), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        if (f == INVALID_HANDLE_VALUE)
            return "<missing>";
        std::string bytes;
        char buffer[1024];
        DWORD got = 0;
        while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0)
            bytes.append(buffer, got);
        CloseHandle(f);
        return bytes;
    }

private:
    CString m_path;
    static unsigned long s_count;
};
unsigned long SwatchFolder::s_count = 0;

SwatchRecord Swatch(DWORD id, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4, COLORREF c5)
{
    SwatchRecord r = {};
    r.id = id;
    r.colour[0] = c1;
    r.colour[1] = c2;
    r.colour[2] = c3;
    r.colour[3] = c4;
    r.colour[4] = c5;
    return r;
}

// Five colours that differ in every byte, so that any slot mix-up shows.
const SwatchRecord kPlum = Swatch(0, RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9), RGB(10, 11, 12), RGB(13, 14, 15));
const char kPlumLine[] = "1,2,3,"    // colour 1
                         "4,5,6,"    // colour 2
                         "13,14,15," // colour 5, third in the file
                         "7,8,9,"    // colour 3
                         "10,11,12"; // colour 4
const char kWhiteLine[] = "255,255,255,255,255,255,255,255,255,255,255,255,255,255,255";
const char kGreyLine[] = "9,9,9,9,9,9,9,9,9,9,9,9,9,9,9";

std::vector<DWORD> KeysOf(const CRecordMap& map)
{
    CList<DWORD, DWORD> keys;
    map.GetKeys(keys);
    std::vector<DWORD> out;
    for (POSITION pos = keys.GetHeadPosition(); pos != nullptr;)
        out.push_back(keys.GetNext(pos));
    return out;
}

void ExpectSameColours(const SwatchRecord& expected, const SwatchRecord& actual, const char* what)
{
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(expected.colour[i], actual.colour[i]) << what << ": colour " << i + 1;
}

TEST(SwatchFile, ASwatchRoundTripsWithColourFiveStoredThird)
{
    SwatchFolder folder;
    folder.Write(""); // the program never makes the file: it has to be there
    ASSERT_EQ(SwatchWrite::Written, AppendSwatchLine(folder.File(), SwatchLine(kPlum)));
    EXPECT_EQ(std::string(kPlumLine) + "\r\n", folder.Read());

    CRecordMap map;
    LoadSwatches(map, folder.File());
    EXPECT_EQ((std::vector<DWORD>{1, 0}), KeysOf(map));
    SwatchRecord back = {};
    ASSERT_TRUE(map.Lookup(back, 1));
    EXPECT_EQ(1u, back.id);
    ExpectSameColours(kPlum, back, "read back");
}

// Appending: each case starts from a file's bytes and ends with its bytes.
TEST(SwatchFile, AppendKeepsTheFileWholeAndAddsNoCopy)
{
    const std::string plum = std::string(kPlumLine) + "\r\n";
    const std::string grey = std::string(kGreyLine) + "\r\n";
    struct Case
    {
        const char* what;
        std::string before;
        SwatchWrite result;
        std::string after;
    } cases[] = {
        {"line there already", grey + plum, SwatchWrite::Unchanged, grey + plum},
        {"line there, LF only", grey + kPlumLine + "\n", SwatchWrite::Unchanged, grey + kPlumLine + "\n"},
        {"appended after the last line", grey, SwatchWrite::Written, grey + plum},
        {"last line without a break gets one", kGreyLine, SwatchWrite::Written, grey + plum},
        {"a bad line stays", "1,2,3\r\n", SwatchWrite::Written, "1,2,3\r\n" + plum},
    };
    for (const Case& c : cases) {
        SwatchFolder folder;
        folder.Write(c.before);
        EXPECT_EQ(c.result, AppendSwatchLine(folder.File(), kPlumLine)) << c.what;
        EXPECT_EQ(c.after, folder.Read()) << c.what;
    }
}

TEST(SwatchFile, RemoveDropsEveryCopyAndKeepsTheRestInOrder)
{
    SwatchFolder folder;
    const std::string plum = std::string(kPlumLine) + "\r\n";
    folder.Write(plum + "junk line\r\n" + kGreyLine + "\r\n" + plum + "\r\n" + kWhiteLine);
    EXPECT_EQ(SwatchWrite::Written, RemoveSwatchLine(folder.File(), kPlumLine));
    EXPECT_EQ(std::string("junk line\r\n") + kGreyLine + "\r\n" + "\r\n" + kWhiteLine + "\r\n", folder.Read())
        << "both copies gone; the bad line, the empty line and the rest kept in their order";
    EXPECT_EQ(std::vector<std::string>{"swatches.txt"}, folder.Names()) << "no temporary file left behind";

    const std::string now = folder.Read();
    EXPECT_EQ(SwatchWrite::Unchanged, RemoveSwatchLine(folder.File(), kPlumLine));
    EXPECT_EQ(now, folder.Read());
}

// Lines that are not exactly 15 whole numbers are skipped by a load, and the good lines
// after them still get the next keys.
TEST(SwatchFile, LoadSkipsBadLinesAndNumbersTheGoodOnes)
{
    SwatchFolder folder;
    folder.Write(std::string("1,2,3,4,5,6,7,8,9,10,11,12,13,14\r\n") // 14 numbers
                 + "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16\r\n"      // 16 numbers
                 + "\r\n"                                            // empty
                 + "1,2,3,4,5,6,7,8,x,10,11,12,13,14,15\r\n"         // a word among them
                 + "1,2,3,4,5,6,7,8,9,10,11,,13,14,15\r\n"           // an empty field
                 + kGreyLine + "\r\n"                                // key 1
                 + "256,257,258,0,0,0,0,0,0,0,0,0,0,0,-1\n"          // key 2: low bytes, LF only
                 + " 1, 2, 3,4,5,6,7,8,9,10,11,12,13,14,15,");       // key 3: blanks, trailing comma
    CRecordMap map;
    LoadSwatches(map, folder.File());
    EXPECT_EQ((std::vector<DWORD>{3, 2, 1, 0}), KeysOf(map));
    SwatchRecord r = {};
    ASSERT_TRUE(map.Lookup(r, 2));
    EXPECT_EQ(RGB(0, 1, 2), r.colour[0]);
    EXPECT_EQ(RGB(0, 0, 255), r.colour[3]) << "colour 4 is the fifth triple";
    ASSERT_TRUE(map.Lookup(r, 3));
    EXPECT_EQ(RGB(1, 2, 3), r.colour[0]);
    EXPECT_EQ(RGB(7, 8, 9), r.colour[4]) << "colour 5 is the third triple";
}

TEST(SwatchFile, MissingReadOnlyAndLockedFiles)
{
    SwatchFolder folder;
    CRecordMap map;
    LoadSwatches(map, folder.File());
    EXPECT_EQ(std::vector<DWORD>{0}, KeysOf(map)) << "a missing file: the built-in swatch only";
    SwatchRecord r = {};
    ASSERT_TRUE(map.Lookup(r, 0));
    ExpectSameColours(BuiltInSwatch(), r, "built-in");
    EXPECT_EQ(RGB(255, 255, 255), r.colour[2]);
    EXPECT_EQ(SwatchWrite::Failed, AppendSwatchLine(folder.File(), kPlumLine));
    EXPECT_EQ(SwatchWrite::Failed, RemoveSwatchLine(folder.File(), kPlumLine));
    EXPECT_EQ("<missing>", folder.Read()) << "the program never makes the file";

    // A read-only file loads.
    const std::string bytes = std::string(kGreyLine) + "\r\n" + kPlumLine + "\r\n";
    folder.Write(bytes);
    ASSERT_TRUE(SetFileAttributesA(folder.File(), FILE_ATTRIBUTE_READONLY));
    LoadSwatches(map, folder.File());
    EXPECT_EQ((std::vector<DWORD>{2, 1, 0}), KeysOf(map));
    ASSERT_TRUE(SetFileAttributesA(folder.File(), FILE_ATTRIBUTE_NORMAL));

    // Held open by another program that lets others only read it: it still loads, since a
    // load only reads; adding fails, and so does the replacing of a removal's rewrite, and
    // the file is as it was, with no temporary file left.
    HANDLE reader = CreateFileA(folder.File(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    LoadSwatches(map, folder.File());
    EXPECT_EQ((std::vector<DWORD>{2, 1, 0}), KeysOf(map));
    EXPECT_EQ(SwatchWrite::Failed, AppendSwatchLine(folder.File(), kWhiteLine));
    EXPECT_EQ(SwatchWrite::Failed, RemoveSwatchLine(folder.File(), kPlumLine));
    CloseHandle(reader);
    EXPECT_EQ(bytes, folder.Read());
    EXPECT_EQ(std::vector<std::string>{"swatches.txt"}, folder.Names()) << "the temporary file is gone";
    // Positive control: the same removal goes through once the file is free.
    EXPECT_EQ(SwatchWrite::Written, RemoveSwatchLine(folder.File(), kPlumLine));
    EXPECT_EQ(std::string(kGreyLine) + "\r\n", folder.Read());

    // Locked entirely by another program: nothing loads, nothing is written.
    HANDLE lock = CreateFileA(folder.File(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    LoadSwatches(map, folder.File());
    EXPECT_EQ(std::vector<DWORD>{0}, KeysOf(map));
    EXPECT_EQ(SwatchWrite::Failed, AppendSwatchLine(folder.File(), kPlumLine));
    EXPECT_EQ(SwatchWrite::Failed, RemoveSwatchLine(folder.File(), kGreyLine));
    CloseHandle(lock);
    EXPECT_EQ(std::string(kGreyLine) + "\r\n", folder.Read());
}

TEST(SwatchFile, PathIsTheSwatchesDataFolder)
{
    const CString before = GetSetting("path_swatches");
    SetSetting("path_swatches", "C:\\cakes\\sw");
    EXPECT_STREQ("C:\\cakes\\sw\\swatches.txt", SwatchFilePath());
    SetSetting("path_swatches", before);
}

TEST(SplitString, FieldsAndTheirValues)
{
    struct Case
    {
        const char* text;
        const char* separator;
        int fields;
        bool numbers;
        std::vector<int> values;
    } cases[] = {
        {"1,2,3", ",", 3, true, {1, 2, 3}},
        {"", ",", 0, true, {}},
        {"7,", ",", 1, true, {7}},
        {"1,,2", ",", 3, false, {1, 0, 2}},
        {"12abc,-4", ",", 2, false, {12, -4}},
        {"5::6::77", "::", 3, true, {5, 6, 77}},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17",
         ",",
         17,
         true,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
    };
    for (const Case& c : cases) {
        int values[15];
        for (int& v : values)
            v = -99;
        bool numbers = !c.numbers;
        EXPECT_EQ(c.fields, SplitString(c.text, values, c.separator, &numbers)) << c.text;
        EXPECT_EQ(c.numbers, numbers) << c.text;
        for (size_t i = 0; i < c.values.size(); ++i)
            EXPECT_EQ(c.values[i], values[i]) << c.text << " field " << i;
        if (c.values.size() < 15) {
            EXPECT_EQ(-99, values[c.values.size()]) << c.text << ": nothing stored past the fields";
        }
    }
}

// Walk order: bucket (key / 16) mod 17, buckets upward, newest key first in each.
TEST(RecordMap, WalkOrderNewKeysAndMatches)
{
    CRecordMap map;
    for (DWORD k = 0; k < 20; ++k)
        map.SetAt(Swatch(k, k, k, k, k, k));
    EXPECT_EQ((std::vector<DWORD>{15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 19, 18, 17, 16}), KeysOf(map));

    CRecordMap small;
    small.SetAt(BuiltInSwatch());
    for (DWORD k = 1; k <= 3; ++k)
        small.SetAt(Swatch(k, RGB(k, 0, 0), 0, 0, 0, 0));
    EXPECT_EQ(5u, small.NewKey()) << "four keys: count + 1";
    small.SetAt(Swatch(5, RGB(5, 0, 0), 0, 0, 0, 0));
    small.RemoveKey(1);
    small.RemoveKey(42); // absent: nothing changes
    EXPECT_EQ((std::vector<DWORD>{5, 3, 2, 0}), KeysOf(small));
    EXPECT_EQ(6u, small.NewKey()) << "5 is taken: the next free one, nothing replaced";

    SwatchRecord r = Swatch(77, 1, 1, 1, 1, 1);
    EXPECT_FALSE(small.Lookup(r, 1));
    EXPECT_EQ(77u, r.id) << "a missing key writes nothing";

    struct Case
    {
        const char* what;
        SwatchRecord probe;
        int expected;
    } cases[] = {
        {"built-in whites", Swatch(9, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF), -1},
        {"a saved swatch, id ignored", Swatch(0, RGB(3, 0, 0), 0, 0, 0, 0), 1},
        {"one colour off", Swatch(3, RGB(3, 0, 0), 0, 0, 0, 1), 0},
        {"unknown", Swatch(0, RGB(1, 2, 3), 0, 0, 0, 0), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, small.FindMatch(c.probe)) << c.what;

    // A saved line of five whites matches too: the last match in walk order decides.
    small.SetAt(Swatch(16, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF));
    EXPECT_EQ(1, small.FindMatch(BuiltInSwatch())) << "key 16 walks after key 0";
    small.RemoveKey(16);
    small.SetAt(Swatch(4, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF));
    EXPECT_EQ(-1, small.FindMatch(BuiltInSwatch())) << "key 0 walks after key 4";
}

} // namespace

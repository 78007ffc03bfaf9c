// Settings files: their exact bytes, how loads merge, and how damaged files are read.
#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <vector>

#include "base/ComOwner.h"
#include "base/KeyStore.h"
#include "base/StreamCodec.h"

namespace {

typedef std::vector<BYTE> Bytes;

// A fresh folder under the temp folder, removed with what it holds.
class TempFolder
{
public:
    TempFolder()
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        m_path.Format("%sslkeys%lu_%lu", base, GetCurrentProcessId(), ++s_count);
        CreateDirectoryA(m_path, nullptr);
    }
    ~TempFolder()
    {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(m_path + "\\*", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA(m_path + "\\" + found.cFileName);
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(m_path);
    }
    const CString& Path() const { return m_path; }
    CString File(LPCTSTR name) const { return m_path + "\\" + name; }

private:
    CString m_path;
    static unsigned long s_count;
};
unsigned long TempFolder::s_count = 0;

// Writes a settings file whose stream "Data" holds exactly `bytes`.
void WriteSettingsFile(const CString& path, const Bytes& bytes, const WCHAR* streamName = L"Data")
{
    const ComScope com = EnsureCom();
    ComOwner<IStorage> storage;
    ASSERT_EQ(S_OK,
              StgCreateDocfile(CStringW(path), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage.Put()));
    ComOwner<IStream> stream;
    ASSERT_EQ(S_OK, storage->CreateStream(streamName, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.Put()));
    ULONG put = 0;
    if (!bytes.empty())
        stream->Write(bytes.data(), (ULONG)bytes.size(), &put);
}

// The stream "Data" of a settings file, and the names of every element of its top storage.
Bytes ReadDataStream(const CString& path, std::vector<CString>* names = nullptr)
{
    const ComScope com = EnsureCom();
    Bytes bytes;
    ComOwner<IStorage> storage;
    if (FAILED(StgOpenStorage(CStringW(path), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, storage.Put())))
        return bytes;
    ComOwner<IEnumSTATSTG> elements;
    if (names != nullptr && SUCCEEDED(storage->EnumElements(0, nullptr, 0, elements.Put()))) {
        STATSTG stat;
        while (elements->Next(1, &stat, nullptr) == S_OK) {
            names->push_back(CString(stat.pwcsName));
            CoTaskMemFree(stat.pwcsName);
        }
    }
    ComOwner<IStream> stream;
    if (SUCCEEDED(storage->OpenStream(L"Data", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put()))) {
        STATSTG stat = {};
        stream->Stat(&stat, STATFLAG_NONAME);
        bytes.resize((size_t)stat.cbSize.QuadPart);
        ULONG got = 0;
        if (!bytes.empty())
            stream->Read(bytes.data(), (ULONG)bytes.size(), &got);
    }
    return bytes;
}

// A VT_I4 count record followed by BSTR records of the given texts.
Bytes DataStream(LONG count, std::initializer_list<const char*> records)
{
    Bytes bytes = {0x03, 0x00};
    for (int i = 0; i < 4; i++)
        bytes.push_back((BYTE)(count >> (8 * i)));
    for (const char* text : records) {
        DWORD size = (DWORD)(strlen(text) + 1) * 2;
        for (int i = 0; i < 4; i++)
            bytes.push_back((BYTE)(size >> (8 * i)));
        for (const char* p = text; *p; p++) {
            bytes.push_back((BYTE)*p);
            bytes.push_back(0);
        }
        bytes.push_back(0);
        bytes.push_back(0);
    }
    return bytes;
}

TEST(KeyStoreFile, SingleRootKeyIsByteExact)
{
    // The store writes into its own "root" folder.
    CreateDirectoryA("C:\\X", nullptr);
    DeleteFileA("C:\\X\\ziviz.dat");
    CKeyStore store;
    store.SetValue("root", "C:\\X");
    ASSERT_TRUE(store.Save("ziviz.dat"));

    std::vector<CString> names;
    Bytes data = ReadDataStream("C:\\X\\ziviz.dat", &names);
    const Bytes expected = {
        0x03, 0x00,                              // VARTYPE of the count: VT_I4
        0x01, 0x00, 0x00, 0x00,                  // count: 1 record
        0x16, 0x00, 0x00, 0x00,                  // byte length: 10 characters x 2 + terminator
        'r',  0,    'o',  0,    'o',  0, 't', 0, // "root"
        '=',  0,    '=',  0,                     // "=="
        'C',  0,    ':',  0,    '\\', 0, 'X', 0, // "C:\X"
        0x00, 0x00,                              // terminator
    };
    EXPECT_EQ(32u, data.size());
    EXPECT_EQ(expected, data);
    ASSERT_EQ(1u, names.size()); // nothing but the stream "Data"
    EXPECT_STREQ("Data", names[0]);

    // A copy for the check by an independent reader of compound files.
    if (const char* copy = getenv("SL_SETTINGS_COPY"))
        CopyFileA("C:\\X\\ziviz.dat", copy, FALSE);
    DeleteFileA("C:\\X\\ziviz.dat");
    RemoveDirectoryA("C:\\X");
}

TEST(KeyStoreFile, SizeFollowsKeysAndValues)
{
    TempFolder folder;
    CKeyStore store;
    store.SetValue("root", folder.Path());
    store.SetValue("empty", "");
    store.SetValue("language", "french");
    ASSERT_TRUE(store.Save("ziviz.dat"));
    size_t expected = 6;
    for (const CString& pair : {"root==" + folder.Path(), CString("empty=="), CString("language==french")})
        expected += 4 + 2 * (pair.GetLength() + 1);
    EXPECT_EQ(expected, ReadDataStream(folder.File("ziviz.dat")).size());

    CKeyStore loaded;
    loaded.SetValue("root", folder.Path());
    ASSERT_TRUE(loaded.Load("ziviz.dat"));
    EXPECT_EQ(3, loaded.GetCount());
    EXPECT_STREQ("", loaded.GetValue("empty"));
    EXPECT_STREQ("french", loaded.GetValue("language"));
}

TEST(KeyStoreFile, LoadsMergeAndTheLaterWins)
{
    TempFolder folder;
    WriteSettingsFile(folder.File("security.dat"),
                      DataStream(2, {"printer_security==aaaa", "printing_security==bbbb"}));
    WriteSettingsFile(folder.File("ziviz.dat"),
                      DataStream(3, {"printer_security==cccc", "formula==x==y", "Key==upper"}));
    CKeyStore store;
    store.SetValue("root", folder.Path());
    store.SetValue("key", "lower");
    EXPECT_TRUE(store.Load("security.dat"));
    EXPECT_TRUE(store.Load("ziviz.dat"));
    struct
    {
        const char* key;
        const char* value;
    } expected[] = {
        {"printer_security", "cccc"},  // "ziviz.dat" overrides "security.dat"
        {"printing_security", "bbbb"}, // kept from "security.dat"
        {"formula", "x==y"},           // only the first "==" splits
        {"key", "lower"},              // keys are case-sensitive
        {"Key", "upper"},
        {"missing", ""},
    };
    for (const auto& e : expected)
        EXPECT_STREQ(e.value, store.GetValue(e.key)) << e.key;
}

TEST(KeyStoreFile, DamagedFilesReadOnlyWhatIsThere)
{
    struct Case
    {
        const char* what;
        Bytes data;
        BOOL result;
        int keys; // besides "root"
    } cases[] = {
        {"count 0x7FFFFFFF, two records", DataStream(0x7FFFFFFF, {"a==1", "b==2"}), TRUE, 2},
        {"negative count", DataStream(-5, {"a==1"}), TRUE, 0},
        {"count 3, one record", DataStream(3, {"a==1"}), TRUE, 1},
        {"empty stream", {}, TRUE, 0},
        {"record without ==", DataStream(2, {"lonely", "b==2"}), TRUE, 1},
        {"second record cut short",
         [] {
             Bytes b = DataStream(2, {"a==1", "b==2"});
             b.resize(b.size() - 3);
             return b;
         }(),
         TRUE, 1},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        WriteSettingsFile(folder.File("ziviz.dat"), c.data);
        CKeyStore store;
        store.SetValue("root", folder.Path());
        DWORD start = GetTickCount();
        EXPECT_EQ(c.result, store.Load("ziviz.dat")) << c.what;
        EXPECT_LT(GetTickCount() - start, 2000u) << c.what;
        EXPECT_EQ(1 + c.keys, store.GetCount()) << c.what;
        EXPECT_STREQ("", store.GetValue("")) << c.what; // no empty key made up
    }
}

TEST(KeyStoreFile, MissingFilesLeaveTheStoreAlone)
{
    TempFolder folder;
    WriteSettingsFile(folder.File("other.dat"), DataStream(1, {"a==1"}), L"NotData");
    CKeyStore store;
    store.SetValue("root", folder.Path());
    store.SetValue("kept", "yes");
    EXPECT_FALSE(store.Load("absent.dat"));
    EXPECT_FALSE(store.Load("other.dat")); // no stream "Data"
    EXPECT_EQ(2, store.GetCount());
    EXPECT_STREQ("yes", store.GetValue("kept"));
}

TEST(KeyStoreFile, SaveReportsAFileItCannotCreate)
{
    CKeyStore store;
    store.SetValue("root", "C:\\no\\such\\folder");
    EXPECT_FALSE(store.Save("ziviz.dat"));

    TempFolder folder;
    store.SetValue("root", folder.Path());
    HANDLE locked =
        CreateFileA(folder.File("ziviz.dat"), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    EXPECT_FALSE(store.Save("ziviz.dat"));
    CloseHandle(locked);
    EXPECT_TRUE(store.Save("ziviz.dat"));
}

TEST(Settings, FreeFunctionsReadNumbersAndFolders)
{
    SetSetting("root", "C:\\X");
    SetSetting("n1", "12abc");
    SetSetting("n2", "abc");
    SetSetting("n3", "  -7");
    SetSettingInt("n4", 42);
    SetSettingFloat("f", 1.5f);
    struct
    {
        const char* key;
        int value;
    } ints[] = {
        {"n1", 12}, {"n2", 0}, {"n3", -7}, {"n4", 42}, {"never-set", 0},
    };
    for (const auto& e : ints) {
        EXPECT_EQ(e.value, GetSettingInt(e.key)) << e.key;
        EXPECT_EQ(e.value, GetSettingIntB(e.key)) << e.key;
    }
    EXPECT_STREQ("1.500000", GetSetting("f"));
    EXPECT_EQ(1.5f, GetSettingFloat("f"));
    EXPECT_STREQ("", GetSetting("never-set"));

    EXPECT_STREQ("C:\\X\\IMAGES_DIR", GetDataFolder("IMAGES_DIR"));
    EXPECT_TRUE(SetDataFolder("IMAGES_DIR", "D:\\Pics"));
    EXPECT_STREQ("D:\\Pics", GetSetting("path_IMAGES_DIR"));
    EXPECT_STREQ("D:\\Pics", GetDataFolder("IMAGES_DIR"));
}

// A program copied or moved after a run: the stored root and the data folders inside it
// follow the folder it runs from; stored folders are kept only where they exist.
TEST(Settings, RunFolderWinsOverTheStoredRoot)
{
    TempFolder run, elsewhere;
    ASSERT_TRUE(CreateDirectoryA(run.File("SAVE_DIR"), nullptr));
    ASSERT_TRUE(CreateDirectoryA(run.File("Pics"), nullptr));
    const CString old = "C:\\sl_moved_away\\Studio";
    struct
    {
        const char* key;
        CString stored;
        CString settled; // "" reads as the area's folder under the new root
    } cases[] = {
        {"path_SAVE_DIR", old + "\\SAVE_DIR", run.File("SAVE_DIR")},
        {"path_IMAGES_DIR", "c:\\SL_MOVED_AWAY\\studio\\Pics", run.File("Pics")}, // any case
        {"path_FRAMES_DIR", old + "\\Frames", ""},                                // not in the copy
        {"path_SCANS_DIR", elsewhere.Path(), elsewhere.Path()},                   // chosen, and there
        {"path_help", "C:\\sl_no_such_folder\\help", ""},                         // chosen, gone
        {"path_swatches", "C:\\sl_moved_away\\Studio2\\swatches", ""},            // a name that only starts alike
        {"path_empty", "", ""},
    };
    SetSetting("root", old);
    for (const auto& c : cases)
        SetSetting(c.key, c.stored);
    SetSetting("not_a_path", old + "\\SAVE_DIR");

    SettleDataFolders(run.Path());

    EXPECT_STREQ(run.Path(), GetSetting("root"));
    for (const auto& c : cases)
        EXPECT_STREQ(c.settled, GetSetting(c.key)) << c.key << " stored as " << (LPCTSTR)c.stored;
    EXPECT_STREQ(run.File("FRAMES_DIR"), GetDataFolder("FRAMES_DIR"));
    EXPECT_STREQ(old + "\\SAVE_DIR", GetSetting("not_a_path")) << "only data folders move";

    // Run again where it ran before: nothing moves.
    SettleDataFolders(run.Path());
    EXPECT_STREQ(run.File("SAVE_DIR"), GetSetting("path_SAVE_DIR"));
    EXPECT_STREQ(elsewhere.Path(), GetSetting("path_SCANS_DIR"));
    RemoveDirectoryA(run.File("SAVE_DIR"));
    RemoveDirectoryA(run.File("Pics"));
}

} // namespace

// The compound-file container of designs: the structural check that runs before the
// platform's storage code sees a file, opening from memory, capped stream reads, and the
// writer that replaces a target only with a complete file.
#include <windows.h>
#include <objidl.h>
#include <gtest/gtest.h>

#include "base/ComOwner.h"
#include "model/ktb/CompoundCheck.h"
#include "model/ktb/DesignStorage.h"
#include "model/tests/KtbTestUtil.h"

using namespace ktb;

namespace {

Bytes Filled(size_t n, BYTE seed)
{
    Bytes out(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = (BYTE)(seed + i * 7);
    return out;
}

Bytes SampleFile()
{
    return MakeCompoundFile(
        {{"CakeData", Filled(300, 1)}, {"Image1.png", Filled(9000, 2)}, {"Region0.dat", Filled(70, 3)}});
}

TEST(FileContainer, CheckAcceptsWhatTheStorageCodeWrites)
{
    Bytes file = SampleFile();
    const char* why = nullptr;
    EXPECT_TRUE(CheckCompoundFile(file.data(), file.size(), &why)) << why;
    // An empty compound file too.
    Bytes empty = MakeCompoundFile({});
    EXPECT_TRUE(CheckCompoundFile(empty.data(), empty.size(), &why)) << why;
}

TEST(FileContainer, CheckIgnoresTheUpperSizeHalfOfVersion3)
{
    // Older writers left garbage there; the storage code reads the lower half only.
    Bytes file = SampleFile();
    CfbPatch p(file);
    p.Set32(p.Entry(p.Find("CakeData")) + 0x7C, 0xCDCDCDCD);
    p.Set32(p.Entry(p.Find("Image1.png")) + 0x7C, 1);
    const char* why = nullptr;
    EXPECT_TRUE(CheckCompoundFile(file.data(), file.size(), &why)) << why;
    ComOwner<IStorage> storage;
    ASSERT_EQ(S_OK, OpenStorageOnBytes(file.data(), file.size(), storage.Put()));
    ByteVector bytes;
    EXPECT_EQ(S_OK, ReadStreamBytes(storage, "Image1.png", 9000, bytes));
    EXPECT_EQ(Filled(9000, 2), bytes);
}

TEST(FileContainer, CheckRefusesDamagedStructure)
{
    struct Case
    {
        const char* what;
        void (*damage)(Bytes& file);
    } cases[] = {
        {"signature", [](Bytes& f) { f[0] = 0xD1; }},
        {"byte order", [](Bytes& f) { f[0x1C] = 0xFF; }},
        {"sector shift 16", [](Bytes& f) { f[0x1E] = 16; }},
        {"FAT sector count 2^31", [](Bytes& f) { CfbPatch(f).Set32(0x2C, 0x80000000u); }},
        {"FAT sector count 0", [](Bytes& f) { CfbPatch(f).Set32(0x2C, 0); }},
        {"FAT sector beyond the file", [](Bytes& f) { CfbPatch(f).Set32(0x4C, 5000); }},
        {"directory start beyond the file", [](Bytes& f) { CfbPatch(f).Set32(0x30, 5000); }},
        {"big stream chain loops on itself",
         [](Bytes& f) {
             CfbPatch p(f);
             DWORD start = p.Get32(p.Entry(p.Find("Image1.png")) + 0x74);
             p.Set32(p.FatEntry(start + 3), start); // 18 sectors: the 4th leads back
         }},
        {"directory chain loops",
         [](Bytes& f) {
             CfbPatch p(f);
             DWORD dir = p.Get32(0x30);
             p.Set32(p.FatEntry(dir), dir);
         }},
        {"two streams share sectors",
         [](Bytes& f) {
             CfbPatch p(f);
             DWORD data = p.Get32(p.Entry(p.Find("Image1.png")) + 0x74);
             p.Set32(p.FatEntry(p.Get32(0x30)), data); // directory runs into stream data
         }},
        {"stream bigger than its chain",
         [](Bytes& f) {
             CfbPatch p(f);
             p.Set32(p.Entry(p.Find("Image1.png")) + 0x78, 900000);
         }},
        {"mini stream bigger than the mini stream",
         [](Bytes& f) {
             CfbPatch p(f);
             p.Set32(p.Entry(p.Find("Region0.dat")) + 0x78, 4000);
         }},
        {"mini chain loops",
         [](Bytes& f) {
             CfbPatch p(f);
             DWORD firstMiniFat = p.Get32(0x3C);
             DWORD start = p.Get32(p.Entry(p.Find("CakeData")) + 0x74);
             p.Set32(p.SectorAt(firstMiniFat) + 4 * start, start);
         }},
        {"directory tree cycle",
         [](Bytes& f) {
             CfbPatch p(f);
             DWORD child = p.Get32(p.Entry(0) + 0x4C);
             p.Set32(p.Entry(child) + 0x44, child); // left sibling = itself
         }},
        {"directory link out of range",
         [](Bytes& f) {
             CfbPatch p(f);
             DWORD child = p.Get32(p.Entry(0) + 0x4C);
             p.Set32(p.Entry(child) + 0x48, 0x7FFFFFFF);
         }},
        {"root entry not a root",
         [](Bytes& f) {
             CfbPatch p(f);
             f[p.Entry(0) + 0x42] = 1;
         }},
        {"name length odd",
         [](Bytes& f) {
             CfbPatch p(f);
             f[p.Entry(p.Find("CakeData")) + 0x40] = 17;
         }},
        {"cut in half", [](Bytes& f) { f.resize(f.size() / 2); }},
        {"header only", [](Bytes& f) { f.resize(512); }},
    };
    for (const Case& c : cases) {
        Bytes file = SampleFile();
        c.damage(file);
        EXPECT_FALSE(CheckCompoundFile(file.data(), file.size())) << c.what;
        ComOwner<IStorage> storage;
        EXPECT_EQ(STG_E_INVALIDHEADER, OpenStorageOnBytes(file.data(), file.size(), storage.Put())) << c.what;
        EXPECT_EQ(nullptr, storage.Get()) << c.what;
    }
}

TEST(FileContainer, OpensFromMemoryAndReadsStreamsWithinCaps)
{
    Bytes file = SampleFile();
    ComOwner<IStorage> storage;
    ASSERT_EQ(S_OK, OpenStorageOnBytes(file.data(), file.size(), storage.Put()));
    file.assign(file.size(), 0); // the storage holds its own copy

    ByteVector bytes;
    EXPECT_EQ(S_OK, ReadStreamBytes(storage, "Image1.png", 9000, bytes));
    EXPECT_EQ(Filled(9000, 2), bytes);
    EXPECT_EQ(S_OK, ReadStreamBytes(storage, "Region0.dat", 1000, bytes));
    EXPECT_EQ(Filled(70, 3), bytes);
    EXPECT_EQ(E_OUTOFMEMORY, ReadStreamBytes(storage, "Image1.png", 8999, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(STG_E_FILENOTFOUND, ReadStreamBytes(storage, "Image2.png", 9000, bytes));
    // Names the storage code must never see.
    for (const char* name : {"", "Image1.png/x", "C:\\x", "a!b", "a name that is longer than thirty-one characters"})
        EXPECT_EQ(STG_E_INVALIDNAME, ReadStreamBytes(storage, name, 9000, bytes)) << name;
}

TEST(FileContainer, ReadFileBytesRefusesFilesOverTheCap)
{
    std::string folder = ScratchFolder("file_container_read");
    std::string path = folder + "\\data.bin";
    ASSERT_TRUE(WriteFileBytes(path, Filled(100, 4)));
    ByteVector bytes;
    EXPECT_EQ(S_OK, ReadFileBytes(path.c_str(), bytes, 100));
    EXPECT_EQ(Filled(100, 4), bytes);
    EXPECT_EQ(E_OUTOFMEMORY, ReadFileBytes(path.c_str(), bytes, 99));
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(FAILED(ReadFileBytes((folder + "\\missing.bin").c_str(), bytes, 100)));
}

} // namespace

namespace {

// Writes one stream "CakeData" holding `content` through the writer; the result of Commit.
HRESULT WriteThroughWriter(const std::string& target, const Bytes& content, bool commit)
{
    CDesignFileWriter writer;
    HRESULT hr = writer.Begin(target.c_str());
    if (FAILED(hr))
        return hr;
    hr = WriteStreamBytes(writer.GetStorage(), "CakeData", content.data(), content.size(), false);
    if (FAILED(hr) || !commit)
        return hr;
    return writer.Commit();
}

Bytes CakeDataOf(const std::string& path)
{
    ByteVector file;
    EXPECT_EQ(S_OK, ReadFileBytes(path.c_str(), file, kMaxCompoundFileBytes));
    ComOwner<IStorage> storage;
    EXPECT_EQ(S_OK, OpenStorageOnBytes(file.data(), file.size(), storage.Put()));
    ByteVector bytes;
    if (storage) {
        EXPECT_EQ(S_OK, ReadStreamBytes(storage, "CakeData", 1 << 20, bytes));
    }
    return bytes;
}

TEST(FileContainer, WriterReplacesTheTargetOnlyWhenComplete)
{
    std::string folder = ScratchFolder("file_container_write");
    std::string target = folder + "\\design.ktb";
    const Bytes first = Filled(5000, 5), second = Filled(200, 6);

    // New target.
    ASSERT_EQ(S_OK, WriteThroughWriter(target, first, true));
    EXPECT_EQ(first, CakeDataOf(target));
    EXPECT_EQ(1, CountFiles(folder));

    // Abandoned: the old file stays, the temporary file goes.
    EXPECT_EQ(S_OK, WriteThroughWriter(target, second, false));
    EXPECT_EQ(first, CakeDataOf(target));
    EXPECT_EQ(1, CountFiles(folder));

    // Replaced.
    ASSERT_EQ(S_OK, WriteThroughWriter(target, second, true));
    EXPECT_EQ(second, CakeDataOf(target));
    EXPECT_EQ(1, CountFiles(folder));

    // The target is held open elsewhere: the final step fails, nothing changes.
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_TRUE(FAILED(WriteThroughWriter(target, first, true)));
    CloseHandle(held);
    EXPECT_EQ(second, CakeDataOf(target));
    EXPECT_EQ(1, CountFiles(folder));

    // A read-only target is not replaced.
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(FAILED(WriteThroughWriter(target, first, true)));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(second, CakeDataOf(target));
    EXPECT_EQ(1, CountFiles(folder));
}

TEST(FileContainer, WriterCannotCreateInMissingFoldersOrOverFolders)
{
    std::string folder = ScratchFolder("file_container_nowhere");
    EXPECT_TRUE(FAILED(WriteThroughWriter(folder + "\\no such folder\\design.ktb", Filled(10, 7), true)));
    EXPECT_TRUE(FAILED(WriteThroughWriter(folder, Filled(10, 7), true)));
    EXPECT_TRUE(FAILED(WriteThroughWriter("", Filled(10, 7), true)));
    EXPECT_EQ(0, CountFiles(folder));
}

} // namespace

// Folder walks over a small tree made in the tests' working folder:
//   walk\a.pap (10 bytes), walk\B.pap (30), walk\c.txt (5), walk\sub2\ (empty),
//   walk\sub1\d.pap (20), walk\sub1\deep\e.pap (40), walk\sub1\loop -> walk (a link)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/FileUtils.h"

namespace {

void MakeFile(const char* path, int size)
{
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, f) << path;
    std::string bytes(size, 'x');
    DWORD done = 0;
    ::WriteFile(f, bytes.data(), (DWORD)size, &done, NULL);
    CloseHandle(f);
}

// A link to a folder: a symbolic link where the system makes one, else (under Wine) a
// link of the host system, which Wine shows as a reparse point.
bool MakeFolderLink(const char* folder, const char* name, const char* target)
{
    const std::string link = std::string(folder) + "\\" + name;
    if (!CreateSymbolicLinkA(link.c_str(), target, SYMBOLIC_LINK_FLAG_DIRECTORY) ||
        GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::string cmd = std::string("Z:\\bin\\ln -s ") + target + " " + name;
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi;
        if (!CreateProcessA(NULL, &cmd[0], NULL, NULL, FALSE, 0, NULL, folder, &si, &pi))
            return false;
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    // A host process may still be running when its handle reports it ended.
    for (int tries = 0; tries < 100; ++tries) {
        const DWORD attr = GetFileAttributesA(link.c_str());
        if (attr != INVALID_FILE_ATTRIBUTES)
            return (attr & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        Sleep(50);
    }
    return false;
}

class FolderWalk : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CreateDirectoryA("walk", NULL);
        CreateDirectoryA("walk\\sub1", NULL);
        CreateDirectoryA("walk\\sub1\\deep", NULL);
        CreateDirectoryA("walk\\sub2", NULL);
        MakeFile("walk\\a.pap", 10);
        MakeFile("walk\\B.pap", 30);
        MakeFile("walk\\c.txt", 5);
        MakeFile("walk\\sub1\\d.pap", 20);
        MakeFile("walk\\sub1\\deep\\e.pap", 40);
        const DWORD attr = GetFileAttributesA("walk\\sub1\\loop");
        hasLink_ = (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_REPARSE_POINT)) ||
                   MakeFolderLink("walk\\sub1", "loop", "..");
    }
    static bool hasLink_;
};
bool FolderWalk::hasLink_ = false;

std::vector<std::string> Paths(const CFolderScan& scan)
{
    std::vector<std::string> out;
    for (INT_PTR k = 0; k < scan.GetSize(); ++k)
        out.push_back((LPCTSTR)scan[k].GetPath());
    return out;
}

typedef std::vector<std::string> Names;

TEST_F(FolderWalk, Table)
{
    ASSERT_TRUE(hasLink_) << "no folder link could be made";
    const struct
    {
        BOOL recurse, folders;
        int order;
        Names expected;
    } cases[] = {
        {FALSE, FALSE, 4, {"walk\\a.pap", "walk\\B.pap"}},
        {FALSE, TRUE, 4, {"walk\\a.pap", "walk\\B.pap", "walk\\sub1", "walk\\sub2"}},
        {TRUE, FALSE, 4, {"walk\\a.pap", "walk\\B.pap", "walk\\sub1\\d.pap", "walk\\sub1\\deep\\e.pap"}},
        // The link is listed as a folder but not entered.
        {TRUE,
         TRUE,
         4,
         {"walk\\a.pap", "walk\\B.pap", "walk\\sub1", "walk\\sub1\\d.pap", "walk\\sub1\\deep",
          "walk\\sub1\\deep\\e.pap", "walk\\sub1\\loop", "walk\\sub2"}},
        {TRUE, FALSE, 5, {"walk\\sub1\\deep\\e.pap", "walk\\sub1\\d.pap", "walk\\B.pap", "walk\\a.pap"}},
        {TRUE, FALSE, 2, {"walk\\a.pap", "walk\\sub1\\d.pap", "walk\\B.pap", "walk\\sub1\\deep\\e.pap"}},
        {TRUE, FALSE, 3, {"walk\\sub1\\deep\\e.pap", "walk\\B.pap", "walk\\sub1\\d.pap", "walk\\a.pap"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "recurse " << c.recurse << " folders " << c.folders << " order " << c.order);
        CFolderScan scan;
        volatile LONG progress = 0;
        const int count = scan.Walk("walk\\", "*.pap", c.recurse, c.order, c.folders, NULL, &progress);
        EXPECT_EQ((int)c.expected.size(), count);
        EXPECT_EQ((LONG)c.expected.size(), progress);
        EXPECT_EQ(c.expected, Paths(scan));
    }
}

TEST_F(FolderWalk, DiscoveryOrderPutsSubFoldersFirst)
{
    CFolderScan scan;
    EXPECT_EQ(4, scan.Walk("walk\\", "*.pap", TRUE, 0, FALSE, NULL, NULL));
    const Names paths = Paths(scan);
    ASSERT_EQ(4u, paths.size());
    EXPECT_EQ("walk\\sub1\\deep\\e.pap", paths[0]); // depth first
    EXPECT_EQ("walk\\sub1\\d.pap", paths[1]);
    EXPECT_EQ(10u, scan[2].GetSize() + scan[3].GetSize() - 30u); // a.pap and B.pap last
}

TEST_F(FolderWalk, NothingToFind)
{
    CFolderScan scan;
    EXPECT_EQ(0, scan.Walk("walk\\sub2\\", "*.pap", TRUE, 4, TRUE, NULL, NULL));
    EXPECT_EQ(0, scan.GetSize());
    EXPECT_EQ(0, scan.Walk("walk\\missing\\", "*.pap", TRUE, 4, TRUE, NULL, NULL));
}

// Sets the cancel flag as soon as a folder is added, as a watching thread might.
class CancellingScan : public CFolderScan
{
public:
    explicit CancellingScan(volatile BOOL* cancel) : m_cancel(cancel) {}
    INT_PTR AddSorted(const CFilePath& entry, int order) override
    {
        const INT_PTR at = CFolderScan::AddSorted(entry, order);
        if (entry.IsFolder())
            *m_cancel = TRUE;
        return at;
    }

private:
    volatile BOOL* m_cancel;
};

TEST_F(FolderWalk, CancelDuringTheFolderPassAddsNoFiles)
{
    volatile BOOL cancel = FALSE;
    CancellingScan scan(&cancel);
    EXPECT_EQ(1, scan.Walk("walk\\", "*.pap", TRUE, 4, TRUE, &cancel, NULL));
    ASSERT_EQ(1, scan.GetSize());
    EXPECT_TRUE(scan[0].IsFolder());

    volatile BOOL already = TRUE;
    CFolderScan none;
    EXPECT_EQ(0, none.Walk("walk\\", "*.pap", TRUE, 4, TRUE, &already, NULL));
}

TEST(FilePath, SortingAndParts)
{
    CFilePath small, bigOld, bigNew;
    ASSERT_TRUE(small.FillFromPath("walk\\a.pap"));
    ASSERT_TRUE(bigOld.FillFromPath("walk\\B.pap"));
    ASSERT_TRUE(bigNew.FillFromPath("walk\\B.pap"));
    bigNew.SetFlag(7);
    CFolderScan scan;
    EXPECT_EQ(0, scan.AddSorted(bigOld, CFolderScan::kSizeUp));
    EXPECT_EQ(0, scan.AddSorted(small, CFolderScan::kSizeUp));
    EXPECT_EQ(1, scan.AddSorted(bigNew, CFolderScan::kSizeUp)); // before the equal size
    EXPECT_EQ(7u, scan[1].GetFlag());
    EXPECT_EQ(3, scan.AddSorted(small, 99)); // any other code: at the end

    EXPECT_EQ(30u, bigOld.GetSize());
    EXPECT_FALSE(bigOld.IsFolder());
    EXPECT_STREQ(".pap", bigOld.GetExtension());
    EXPECT_STREQ("B", bigOld.GetFileName());
    EXPECT_STREQ("walk\\", bigOld.GetDirectory());
    EXPECT_STREQ("", bigOld.GetDrive());

    CFilePath missing;
    EXPECT_FALSE(missing.FillFromPath("walk\\none.pap"));
    EXPECT_EQ((DWORD)-1, missing.GetAttributes());
    EXPECT_STREQ("", missing.GetExtension());
    EXPECT_EQ(-1, scan.AddFile("walk\\none.pap", 0));
}

TEST(FullPath, MakesAbsoluteAgainstTheCurrentFolderAtAnyLength)
{
    char here[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, here), 0u);
    const CString cwd(here);
    const CString parent = cwd.Left(cwd.ReverseFind('\\'));
    const CString deep = CString('d', 150) + "\\" + CString('e', 150) + "\\cake.ktb"; // longer than MAX_PATH
    struct
    {
        const char* what;
        CString path;
        CString full;
    } cases[] = {
        {"relative", "walk\\a.pap", cwd + "\\walk\\a.pap"},
        {"up a folder", "..\\x.ktb", parent + "\\x.ktb"},
        {"forward slashes", "walk/a.pap", cwd + "\\walk\\a.pap"},
        {"absolute stays", "C:\\cakes\\b.ktb", "C:\\cakes\\b.ktb"},
        {"longer than MAX_PATH", deep, cwd + "\\" + deep},
        {"empty", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.full, FullPath(c.path)) << c.what;
    EXPECT_STREQ("", FullPath(nullptr));
}

// A file of the given bytes in the working folder, as an entry.
CFilePath EntryOf(const char* name, const std::vector<BYTE>& bytes)
{
    HANDLE f = CreateFileA(name, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    EXPECT_NE(INVALID_HANDLE_VALUE, f) << name;
    DWORD done = 0;
    ::WriteFile(f, bytes.data(), (DWORD)bytes.size(), &done, NULL);
    CloseHandle(f);
    CFilePath entry;
    EXPECT_TRUE(entry.FillFromPath(name)) << name;
    return entry;
}

// Words 0x04030201, 0x08070605 and the partial 0x00000A09.
const std::vector<BYTE> kTen = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
// The words' lowest bytes spell "abc"; the other bytes do not count for the word CRC.
const std::vector<BYTE> kAbc = {'a', 0x11, 0x22, 0x33, 'b', 0x44, 0x55, 0x66, 'c', 0x77, 0x88, 0x99};

TEST(FilePath, ChecksumsInSteps)
{
    typedef DWORD (CFilePath::*Checksum)(ULONGLONG, BOOL, volatile BOOL*, volatile LONG*);
    const Checksum sum = &CFilePath::SumChecksum, crc = &CFilePath::WordCrcChecksum;
    const struct
    {
        const char* what;
        const std::vector<BYTE>& bytes;
        Checksum checksum;
        ULONGLONG firstLimit;
        DWORD first;
        LONG firstBytes;
        DWORD whole;
    } cases[] = {
        // A limit of 5 is rounded up to two whole words.
        {"sum", kTen, sum, 5, 0x0C0A0806, 8, 0x0C0A120F},
        {"sum, limit past the end", kTen, sum, 64, 0x0C0A120F, 10, 0x0C0A120F},
        // The standard CRC-32 of "a" and of "abc": complemented only at the end of the file.
        {"word CRC", kAbc, crc, 4, ~0xE8B7BE43u, 4, 0x352441C2},
        {"word CRC, limit 0", kAbc, crc, 0, 0x352441C2, 12, 0x352441C2},
    };
    for (const auto& c : cases) {
        CFilePath entry = EntryOf("checksum.bin", c.bytes);
        volatile LONG progress = 0;
        EXPECT_EQ(c.first, (entry.*c.checksum)(c.firstLimit, FALSE, NULL, &progress)) << c.what;
        EXPECT_EQ(c.firstBytes, progress) << c.what;
        // On to the end, from where it stopped.
        EXPECT_EQ(c.whole, (entry.*c.checksum)(0, FALSE, NULL, &progress)) << c.what;
        EXPECT_EQ((LONG)c.bytes.size(), progress) << c.what;
        EXPECT_EQ(c.whole, (entry.*c.checksum)(0, FALSE, NULL, &progress)) << c.what << ": nothing left";
        EXPECT_EQ(c.whole, (entry.*c.checksum)(0, TRUE, NULL, NULL)) << c.what << ": restarted";
        // A set cancel flag reads nothing.
        volatile BOOL cancel = TRUE;
        progress = 0;
        EXPECT_EQ(c.checksum == sum ? 0u : 0xFFFFFFFFu, (entry.*c.checksum)(0, TRUE, &cancel, &progress)) << c.what;
        EXPECT_EQ(0, progress) << c.what;
    }
    // Both are kept apart, and a file that cannot be opened leaves the value.
    CFilePath entry = EntryOf("checksum.bin", kTen);
    EXPECT_EQ(0x0C0A0806u, entry.SumChecksum(8, FALSE, NULL, NULL));
    EXPECT_EQ(0x352441C2u, EntryOf("checksum.bin", kAbc).WordCrcChecksum(0, FALSE, NULL, NULL));
    DeleteFileA("checksum.bin");
    EXPECT_EQ(0x0C0A0806u, entry.SumChecksum(0, FALSE, NULL, NULL));
}

// Workers sharing one progress counter: every byte counted, none lost to a race.
TEST(FilePath, ChecksumProgressSharedByWorkers)
{
    std::vector<BYTE> bytes(5 * 16384 + 3, 1);
    EntryOf("shared.bin", bytes);
    struct Job
    {
        volatile LONG* progress;
        DWORD sum;
        static DWORD WINAPI Run(LPVOID p)
        {
            Job* job = (Job*)p;
            for (int round = 0; round < 20; ++round) {
                CFilePath entry;
                entry.FillFromPath("shared.bin");
                job->sum = entry.SumChecksum(0, TRUE, NULL, job->progress);
            }
            return 0;
        }
    };
    volatile LONG progress = 0;
    Job jobs[4];
    HANDLE threads[4];
    for (int i = 0; i < 4; ++i) {
        jobs[i] = {&progress, 0};
        threads[i] = CreateThread(NULL, 0, &Job::Run, &jobs[i], 0, NULL);
        ASSERT_NE((HANDLE)NULL, threads[i]);
    }
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(4, threads, TRUE, 60000));
    for (HANDLE t : threads)
        CloseHandle(t);
    EXPECT_EQ((LONG)(4 * 20 * bytes.size()), progress);
    // 20480 whole words of 0x01010101 and a last word 0x00010101.
    EXPECT_EQ((DWORD)(20480u * 0x01010101u + 0x00010101u), jobs[0].sum);
    DeleteFileA("shared.bin");
}

} // namespace

#include "base/FileUtils.h"

#include "digest/crc32.h"

#include <mbstring.h>
#include <stdlib.h>

#include <vector>

CString FullPath(LPCTSTR path)
{
    if (path == nullptr || *path == 0)
        return CString(path);
    // The wide call: the ANSI one stops at MAX_PATH. The size counts the terminating zero.
    const CStringW wide(path);
    const DWORD size = GetFullPathNameW(wide, 0, nullptr, nullptr);
    if (size == 0)
        return CString(path);
    std::vector<WCHAR> full(size);
    const DWORD written = GetFullPathNameW(wide, size, full.data(), nullptr);
    if (written == 0 || written >= size)
        return CString(path);
    return CString(full.data(), (int)written);
}

CFilePath::CFilePath()
    : m_flag(0), m_attributes((DWORD)-1), m_size(0), m_sum(0), m_crc(0xFFFFFFFF), m_sumDone(0), m_crcDone(0)
{}

void CFilePath::Fill(const WIN32_FIND_DATAA& data, LPCTSTR prefix, DWORD flag)
{
    m_path = CString(prefix) + data.cFileName;
    m_attributes = data.dwFileAttributes;
    m_size = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    m_created = CTime(data.ftCreationTime);
    m_accessed = CTime(data.ftLastAccessTime);
    m_written = CTime(data.ftLastWriteTime);
    m_flag = flag;
    // Another file: its checksums start afresh.
    m_sum = 0;
    m_crc = 0xFFFFFFFF;
    m_sumDone = m_crcDone = 0;
}

bool CFilePath::FillFromPath(LPCTSTR fullPath)
{
    if (!fullPath || !*fullPath)
        return false;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(fullPath, &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    const CString path(fullPath);
    Fill(data, path.Left(path.ReverseFind('\\') + 1), 0);
    return true;
}

namespace {

enum Part { kDrive, kDirectory, kName, kExtension };

CString SplitPart(const CString& path, Part part)
{
    char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
    drive[0] = dir[0] = name[0] = ext[0] = 0;
    if (path.GetLength() >= _MAX_PATH)
        return CString();
    _splitpath(path, drive, dir, name, ext);
    switch (part) {
    case kDrive:
        return drive;
    case kDirectory:
        return dir;
    case kName:
        return name;
    default:
        return ext;
    }
}

bool IsDots(const char* name) { return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)); }

bool Cancelled(volatile BOOL* cancel) { return cancel && *cancel; }

} // namespace

CString CFilePath::GetExtension() const { return SplitPart(m_path, kExtension); }
CString CFilePath::GetDrive() const { return SplitPart(m_path, kDrive); }
CString CFilePath::GetDirectory() const { return SplitPart(m_path, kDirectory); }
CString CFilePath::GetFileName() const { return SplitPart(m_path, kName); }

DWORD CFilePath::SumChecksum(ULONGLONG limit, BOOL restart, volatile BOOL* cancel, volatile LONG* progress)
{
    return RunChecksum(false, limit, restart, cancel, progress);
}

DWORD CFilePath::WordCrcChecksum(ULONGLONG limit, BOOL restart, volatile BOOL* cancel, volatile LONG* progress)
{
    return RunChecksum(true, limit, restart, cancel, progress);
}

DWORD CFilePath::RunChecksum(bool crc, ULONGLONG limit, BOOL restart, volatile BOOL* cancel, volatile LONG* progress)
{
    DWORD& value = crc ? m_crc : m_sum;
    ULONGLONG& done = crc ? m_crcDone : m_sumDone;
    if (restart) {
        value = crc ? 0xFFFFFFFF : 0;
        done = 0;
    }
    HANDLE f = CreateFileA(m_path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return value;
    LARGE_INTEGER size = {};
    GetFileSizeEx(f, &size);
    const ULONGLONG fileSize = (ULONGLONG)size.QuadPart;
    limit = (limit + 3) & ~(ULONGLONG)3;
    if (limit == 0 || limit > fileSize)
        limit = fileSize;
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)done;
    if (done < limit && SetFilePointerEx(f, at, NULL, FILE_BEGIN)) {
        BYTE block[16384];
        while (done < limit && !Cancelled(cancel)) {
            const DWORD want = (DWORD)(limit - done < sizeof block ? limit - done : sizeof block);
            DWORD got = 0;
            if (!ReadFile(f, block, want, &got, NULL) || got == 0)
                break;
            for (DWORD i = 0; i < got; i += 4) {
                DWORD word = 0;
                for (DWORD k = 0; k < 4 && i + k < got; ++k)
                    word |= (DWORD)block[i + k] << (8 * k);
                value = crc ? crc32_detail::kTable.v[(value ^ word) & 0xFF] ^ (value >> 8) : value + word;
            }
            done += got;
            // One atomic add: the progress may be shared by several workers.
            if (progress)
                InterlockedExchangeAdd(progress, (LONG)got);
        }
    }
    CloseHandle(f);
    return crc && done >= fileSize ? ~value : value;
}

CFolderScan::CFolderScan() { SetSize(0, 50); }

CFolderScan::~CFolderScan() {}

INT_PTR CFolderScan::AddSorted(const CFilePath& entry, int order)
{
    auto comparePaths = [](const CFilePath& a, const CFilePath& b) {
        return _mbsicmp((const unsigned char*)(LPCTSTR)a.GetPath(), (const unsigned char*)(LPCTSTR)b.GetPath());
    };
    const INT_PTR count = GetSize();
    INT_PTR at = count;
    for (INT_PTR i = 0; i < count && at == count; ++i) {
        const CFilePath& e = GetAt(i);
        switch (order) {
        case kSizeUp:
            if (e.GetSize() >= entry.GetSize())
                at = i;
            break;
        case kSizeDown:
            if (e.GetSize() <= entry.GetSize())
                at = i;
            break;
        case kPathUp:
            if (comparePaths(e, entry) >= 0)
                at = i;
            break;
        case kPathDown:
            if (comparePaths(e, entry) <= 0)
                at = i;
            break;
        default:
            i = count;
            break;
        }
    }
    if (at == count)
        return Add(entry);
    InsertAt(at, entry);
    return at;
}

int CFolderScan::Walk(LPCTSTR folder, LPCTSTR mask, BOOL recurse, int order, BOOL includeFolders, volatile BOOL* cancel,
                      volatile LONG* progress)
{
    const CString base(folder);
    int count = 0;
    WIN32_FIND_DATAA data;

    // Sub-folders first.
    HANDLE find = FindFirstFileA(base + "*", &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsDots(data.cFileName))
                continue;
            if (includeFolders) {
                CFilePath entry;
                entry.Fill(data, base, 0);
                AddSorted(entry, order);
                ++count;
                if (progress)
                    InterlockedIncrement(progress);
            }
            // A junction or a link may lead back up the tree or to another volume.
            if (recurse && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                count += Walk(base + data.cFileName + "\\", mask, recurse, order, includeFolders, cancel, progress);
        } while (!Cancelled(cancel) && FindNextFileA(find, &data));
        FindClose(find);
    }
    if (Cancelled(cancel))
        return count;

    // Then the matching files.
    find = FindFirstFileA(base + mask, &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            CFilePath entry;
            entry.Fill(data, base, 0);
            AddSorted(entry, order);
            ++count;
            if (progress)
                InterlockedIncrement(progress);
        } while (!Cancelled(cancel) && FindNextFileA(find, &data));
        FindClose(find);
    }
    return count;
}

INT_PTR CFolderScan::AddFile(LPCTSTR fullPath, int order)
{
    CFilePath entry;
    if (!entry.FillFromPath(fullPath))
        return -1;
    return AddSorted(entry, order);
}

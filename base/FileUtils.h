// Listing files: one file-system entry, and an ordered list of entries filled by a walk
// over a folder; and the one way the program makes a path absolute.
#pragma once

#include "fw/fw.h"

// The absolute form of `path` against the current directory, whatever its length; the path
// as given when the system cannot make it absolute.
CString FullPath(LPCTSTR path);

// One file or folder found on disk.
class CFilePath
{
public:
    CFilePath();

    // Fills from the find data of one entry: path = prefix + name.
    void Fill(const WIN32_FIND_DATAA& data, LPCTSTR prefix, DWORD flag);
    // Fills from the one entry the path names (prefix: the path up to its last backslash);
    // false, and nothing changed, when there is no such entry.
    bool FillFromPath(LPCTSTR fullPath);

    const CString& GetPath() const { return m_path; }
    DWORD GetFlag() const { return m_flag; }
    void SetFlag(DWORD flag) { m_flag = flag; }
    DWORD GetAttributes() const { return m_attributes; }
    bool IsFolder() const { return m_attributes != (DWORD)-1 && (m_attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    ULONGLONG GetSize() const { return m_size; }
    const CTime& GetCreationTime() const { return m_created; }
    const CTime& GetLastAccessTime() const { return m_accessed; }
    const CTime& GetLastWriteTime() const { return m_written; }

    // Parts of the path as the C run time splits it: the extension with its ".", the drive
    // with its ":", the folder with its trailing backslash, the file name without extension.
    CString GetExtension() const;
    CString GetDrive() const;
    CString GetDirectory() const;
    CString GetFileName() const;

    // Checksums of the file, each continuing where its last call stopped (restart: from
    // the start, afresh): reads up to `limit` bytes (rounded up to a multiple of 4; 0 or
    // beyond the end means the whole file) in blocks of at most 16 KB, stopping early once
    // *cancel is set; *progress grows by the bytes read, atomically.  Each returns its
    // running value; a file that cannot be opened leaves it as it is.
    // The sum of the file's little-endian 32-bit words (a last partial word with its
    // missing high bytes 0).
    DWORD SumChecksum(ULONGLONG limit, BOOL restart, volatile BOOL* cancel, volatile LONG* progress);
    // One step of the CRC-32 table per 32-bit word, so only each word's lowest byte counts:
    // from all ones, complemented once the whole file has been read.
    DWORD WordCrcChecksum(ULONGLONG limit, BOOL restart, volatile BOOL* cancel, volatile LONG* progress);

private:
    DWORD RunChecksum(bool crc, ULONGLONG limit, BOOL restart, volatile BOOL* cancel, volatile LONG* progress);

    DWORD m_flag;
    CString m_path;
    DWORD m_attributes;
    ULONGLONG m_size;
    CTime m_created;
    CTime m_accessed;
    CTime m_written;
    DWORD m_sum;
    DWORD m_crc;
    ULONGLONG m_sumDone;
    ULONGLONG m_crcDone;
};

// Entries in the order the caller asks for.
class CFolderScan : public CArray<CFilePath, const CFilePath&>
{
public:
    enum Order {
        kDiscovery = 0, // any code other than the ones below
        kSizeUp = 2,    // a new entry goes before equal sizes
        kSizeDown = 3,
        kPathUp = 4, // paths compare without regard to case
        kPathDown = 5,
    };

    CFolderScan();
    virtual ~CFolderScan();

    // Inserts a copy of the entry; returns its index.
    virtual INT_PTR AddSorted(const CFilePath& entry, int order);

    // Adds the folder's sub-folders (when includeFolders; with their contents first when
    // recurse) and then its files matching the mask. folder ends with a backslash. Links to
    // folders (junctions, symbolic links) are listed but never entered. Stops when *cancel
    // becomes set; *progress counts every entry added (atomically). Returns how many entries
    // this call added.
    int Walk(LPCTSTR folder, LPCTSTR mask, BOOL recurse, int order, BOOL includeFolders, volatile BOOL* cancel,
             volatile LONG* progress);

    // Adds the entry that the full path names; -1 when there is none.
    INT_PTR AddFile(LPCTSTR fullPath, int order);
};

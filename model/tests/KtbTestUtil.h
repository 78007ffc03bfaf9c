// Helpers of the design-file tests: compound files built in memory, and record streams
// written byte by byte (independently of the program's record codec), so that fixtures of
// older forms are exactly what those programs wrote.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <utility>
#include <vector>

namespace ktb {

typedef std::vector<BYTE> Bytes;

// Record stream builder: BSTR and VARIANT records as laid out on disk.
class Records
{
public:
    Records& Raw(const void* p, size_t n)
    {
        const BYTE* b = (const BYTE*)p;
        bytes.insert(bytes.end(), b, b + n);
        return *this;
    }
    Records& U16(WORD v) { return Raw(&v, 2); }
    Records& U32(DWORD v) { return Raw(&v, 4); }
    // 4-byte byte count (text bytes + 2), UTF-16LE text, 2-byte zero.  ASCII only.
    Records& Bstr(const std::string& text)
    {
        U32((DWORD)(text.size() * 2 + 2));
        for (char c : text)
            U16((WORD)(BYTE)c);
        return U16(0);
    }
    Records& Key(const std::string& key, int value) { return Bstr(key + "=" + std::to_string(value)); }
    Records& I4(LONG v) { U16(VT_I4); return Raw(&v, 4); }
    Records& R4(float v) { U16(VT_R4); return Raw(&v, 4); }
    Records& R8(double v) { U16(VT_R8); return Raw(&v, 8); }
    Records& Bool(bool v) { U16(VT_BOOL); return U16(v ? 0xFFFF : 0); }
    Records& Text(const std::string& text) { U16(VT_BSTR); return Bstr(text); }
    Records& Append(const Records& other) { return Raw(other.bytes.data(), other.bytes.size()); }

    Bytes bytes;
};

inline std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// A compound file held in memory with the given streams in its root storage.
inline Bytes MakeCompoundFile(const std::vector<std::pair<std::string, Bytes>>& streams)
{
    ILockBytes* lock = nullptr;
    EXPECT_EQ(S_OK, CreateILockBytesOnHGlobal(nullptr, TRUE, &lock));
    IStorage* storage = nullptr;
    EXPECT_EQ(S_OK, StgCreateDocfileOnILockBytes(lock, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                                 0, &storage));
    for (const auto& s : streams) {
        IStream* stream = nullptr;
        EXPECT_EQ(S_OK, storage->CreateStream(Wide(s.first).c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                              0, 0, &stream));
        if (!stream)
            continue;
        ULONG put = 0;
        if (!s.second.empty()) {
            EXPECT_EQ(S_OK, stream->Write(s.second.data(), (ULONG)s.second.size(), &put));
        }
        stream->Release();
    }
    storage->Commit(STGC_DEFAULT);
    storage->Release();
    STATSTG stat = {};
    lock->Stat(&stat, STATFLAG_NONAME);
    HGLOBAL mem = nullptr;
    GetHGlobalFromILockBytes(lock, &mem);
    Bytes out((size_t)stat.cbSize.QuadPart);
    const BYTE* p = (const BYTE*)GlobalLock(mem);
    memcpy(out.data(), p, out.size());
    GlobalUnlock(mem);
    lock->Release();
    return out;
}

inline bool WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    bool ok = bytes.empty() || (WriteFile(f, bytes.data(), (DWORD)bytes.size(), &put, nullptr) && put == bytes.size());
    CloseHandle(f);
    return ok;
}

inline Bytes ReadFileAll(const std::string& path)
{
    Bytes out;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return out;
    DWORD size = GetFileSize(f, nullptr);
    out.resize(size);
    DWORD got = 0;
    if (size)
        ReadFile(f, out.data(), size, &got, nullptr);
    CloseHandle(f);
    return out;
}

// Names of the streams in a compound file's root storage (sorted as enumerated).
inline std::vector<std::string> StreamNames(IStorage* storage)
{
    std::vector<std::string> names;
    IEnumSTATSTG* e = nullptr;
    if (FAILED(storage->EnumElements(0, nullptr, 0, &e)))
        return names;
    STATSTG stat;
    ULONG got = 0;
    while (e->Next(1, &stat, &got) == S_OK) {
        std::wstring w(stat.pwcsName);
        names.push_back(std::string(w.begin(), w.end()));
        CoTaskMemFree(stat.pwcsName);
    }
    e->Release();
    return names;
}

// A fresh folder under the test's working folder, emptied first.
inline std::string ScratchFolder(const char* name)
{
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::string folder = std::string(cwd) + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                SetFileAttributesA((folder + "\\" + fd.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((folder + "\\" + fd.cFileName).c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    return folder;
}

inline int CountFiles(const std::string& folder)
{
    int n = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++n;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
}

} // namespace ktb

// Helpers of the design-file tests: compound files built in memory, designs outside a
// document, and the record fixtures of KtbRecords.h.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gtest/gtest.h>

#include <string.h>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "model/tests/KtbRecords.h"

namespace ktb {

inline std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// A compound file held in memory with the given streams in its root storage.
inline Bytes MakeCompoundFile(const std::vector<std::pair<std::string, Bytes>>& streams)
{
    ILockBytes* lock = nullptr;
    EXPECT_EQ(S_OK, CreateILockBytesOnHGlobal(nullptr, TRUE, &lock));
    IStorage* storage = nullptr;
    EXPECT_EQ(S_OK,
              StgCreateDocfileOnILockBytes(lock, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage));
    for (const auto& s : streams) {
        IStream* stream = nullptr;
        EXPECT_EQ(S_OK, storage->CreateStream(Wide(s.first).c_str(),
                                              STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream));
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

// Reads and patches the tables of a (valid) version-3 compound file in place.
class CfbPatch
{
public:
    explicit CfbPatch(Bytes& bytes) : b(bytes) {}
    DWORD Get32(size_t at) const
    {
        DWORD v;
        memcpy(&v, &b[at], 4);
        return v;
    }
    void Set32(size_t at, DWORD v) { memcpy(&b[at], &v, 4); }
    size_t SectorAt(DWORD n) const { return (n + 1) * 512u; }
    // Offset of FAT entry n (the first FAT sector covers 128 sectors: enough here).
    size_t FatEntry(DWORD n) const { return SectorAt(Get32(0x4C)) + 4 * n; }
    // Offset of directory entry `id`, following the directory chain.
    size_t Entry(DWORD id) const
    {
        DWORD sector = Get32(0x30);
        for (DWORD k = 0; k < id / 4; ++k)
            sector = Get32(FatEntry(sector));
        return SectorAt(sector) + 128 * (id % 4);
    }
    // Directory id of the root-level entry with that name, found through the tree (a
    // writer may leave stale entries of the same name outside it).
    DWORD Find(const char* name) const
    {
        std::vector<DWORD> todo{Get32(Entry(0) + 0x4C)};
        while (!todo.empty()) {
            DWORD id = todo.back();
            todo.pop_back();
            if (id == 0xFFFFFFFF)
                continue;
            size_t e = Entry(id);
            std::string s;
            for (size_t i = 0; i + 2 < b[e + 0x40]; i += 2)
                s += (char)b[e + i];
            if (s == name)
                return id;
            todo.push_back(Get32(e + 0x44));
            todo.push_back(Get32(e + 0x48));
        }
        ADD_FAILURE() << "no entry " << name;
        return 0;
    }
    Bytes& b;
};

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

#include "model/ktb/DesignFile.h"
#include "model/design/ImageLayerList.h"
#include "model/design/LayerArray.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "model/design/TextItemList.h"

namespace ktb {

// The catalogues a design file names layouts and papers from.
inline void FillCatalogues()
{
    if (GetGlobalObjectB()->GetCount() == 0)
        GetGlobalObjectB()->AddOversizedPapers();
    if (GetGlobalObjectA()->GetCount() == 0)
        GetGlobalObjectA()->AddBuiltInLayouts();
}

// A design outside any document: one default frame record, no objects, the catalogue's
// layout 2.
struct TestDesign
{
    TestDesign(int layoutId = 2)
    {
        FillCatalogues();
        if (const CPaperLayout* known = GetGlobalObjectA()->Lookup((WORD)layoutId))
            layout.CopyFrom(*known);
    }
    DesignParts Parts()
    {
        DesignParts p = {&layers, &images, &texts, &layout, sheet, mirror};
        return p;
    }
    CLayerArray layers;
    CImageLayerList images;
    CTextItemList texts;
    CPaperLayout layout;
    Gdiplus::Bitmap* sheet = nullptr;
    int mirror = 0;
};

// The design written into a compound file in memory.
inline Bytes WriteToMemory(TestDesign& design)
{
    ILockBytes* lock = nullptr;
    EXPECT_EQ(S_OK, CreateILockBytesOnHGlobal(nullptr, TRUE, &lock));
    IStorage* storage = nullptr;
    EXPECT_EQ(S_OK,
              StgCreateDocfileOnILockBytes(lock, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage));
    DesignParts parts = design.Parts();
    EXPECT_EQ(S_OK, WriteDesign(storage, parts));
    storage->Commit(STGC_DEFAULT);
    storage->Release();
    STATSTG stat = {};
    lock->Stat(&stat, STATFLAG_NONAME);
    HGLOBAL mem = nullptr;
    GetHGlobalFromILockBytes(lock, &mem);
    Bytes out((size_t)stat.cbSize.QuadPart);
    memcpy(out.data(), GlobalLock(mem), out.size());
    GlobalUnlock(mem);
    lock->Release();
    return out;
}

// The whole content of a stream of a compound file held in memory (empty when missing).
inline Bytes StreamOf(const Bytes& file, const char* name, bool* found = nullptr)
{
    Bytes out;
    if (found)
        *found = false;
    ILockBytes* lock = nullptr;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, file.size());
    memcpy(GlobalLock(mem), file.data(), file.size());
    GlobalUnlock(mem);
    CreateILockBytesOnHGlobal(mem, TRUE, &lock);
    IStorage* storage = nullptr;
    if (SUCCEEDED(StgOpenStorageOnILockBytes(lock, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage))) {
        IStream* stream = nullptr;
        if (SUCCEEDED(storage->OpenStream(Wide(name).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream))) {
            if (found)
                *found = true;
            STATSTG stat = {};
            stream->Stat(&stat, STATFLAG_NONAME);
            out.resize((size_t)stat.cbSize.QuadPart);
            ULONG got = 0;
            if (!out.empty())
                stream->Read(out.data(), (ULONG)out.size(), &got);
            stream->Release();
        }
        storage->Release();
    }
    lock->Release();
    return out;
}

inline std::vector<std::string> StreamNamesOf(const Bytes& file)
{
    std::vector<std::string> names;
    ILockBytes* lock = nullptr;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, file.size());
    memcpy(GlobalLock(mem), file.data(), file.size());
    GlobalUnlock(mem);
    CreateILockBytesOnHGlobal(mem, TRUE, &lock);
    IStorage* storage = nullptr;
    if (SUCCEEDED(StgOpenStorageOnILockBytes(lock, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage))) {
        names = StreamNames(storage);
        storage->Release();
    }
    lock->Release();
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace ktb

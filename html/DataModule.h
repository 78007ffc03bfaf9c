// A library opened only to read its resources: loaded as a data file, so a library named by
// a text (an image or string tag, the drawer's resource module) never runs its code.
// Rule kept: every module loaded here is freed exactly once, by the object that loaded it.
#pragma once
#include <windows.h>

namespace HtmlData {

// The load flags of every library the drawer names by path.
const DWORD kDataFileFlags = LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;

inline HMODULE LoadDataModule(LPCTSTR path)
{
    return (path && *path) ? ::LoadLibraryEx(path, nullptr, kDataFileFlags) : nullptr;
}

// Loaded for one call and freed after it.
class DataModule
{
public:
    explicit DataModule(LPCTSTR path) : handle(LoadDataModule(path)) {}
    ~DataModule()
    {
        if (handle)
            ::FreeLibrary(handle);
    }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    HMODULE handle;
};

} // namespace HtmlData

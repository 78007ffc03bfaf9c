// The document's key line for archives and the import of another design's images.
#include "model/design/FrostwellDoc.h"

#include "base/ComOwner.h"
#include "base/KeyStore.h"
#include "model/ktb/CompoundCheck.h"
#include "model/ktb/DesignFile.h"
#include "model/ktb/DesignStorage.h"
#include "model/ktb/ImageCheck.h"

#include <stdlib.h>
#include <algorithm>
#include <vector>

void CFrostwellDoc::WriteKeyLine(CArchive& ar, LPCTSTR key, int value)
{
    CString line;
    line.Format("%s=%d", key, value);
    ar << line;
}

namespace {

// The number of a stream named exactly "Image<n>.png", or -1.
int ImageStreamNumber(const WCHAR* name)
{
    if (name == NULL || wcsncmp(name, L"Image", 5) != 0)
        return -1;
    WCHAR* end = NULL;
    const long n = wcstol(name + 5, &end, 10);
    if (end == name + 5 || n < 0 || n > 1000000 || wcscmp(end, L".png") != 0)
        return -1;
    WCHAR canonical[32];
    swprintf(canonical, 32, L"Image%ld.png", n);
    return wcscmp(canonical, name) == 0 ? (int)n : -1;
}

bool WriteWholeFile(const CString& path, const ByteVector& bytes)
{
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    const bool ok = WriteFile(f, bytes.data(), (DWORD)bytes.size(), &done, NULL) && done == bytes.size();
    CloseHandle(f);
    if (!ok)
        DeleteFileA(path);
    return ok;
}

} // namespace

int CFrostwellDoc::ImportImagesFromDesign(LPCTSTR path)
{
    if (path == NULL || *path == 0)
        return 0;
    const CString folder = GetDataFolder("SCANS_DIR");
    char name[_MAX_FNAME] = {};
    if (folder.IsEmpty() || strlen(path) >= _MAX_PATH)
        return 0;
    _splitpath(path, NULL, NULL, name, NULL);

    // The file is read and checked whole before any stream is looked at.
    ByteVector file;
    ComOwner<IStorage> storage;
    if (FAILED(ReadFileBytes(path, file, kMaxCompoundFileBytes)) ||
        FAILED(OpenStorageOnBytes(file.data(), file.size(), storage.Put())))
        return 0;
    std::vector<int> numbers;
    ComOwner<IEnumSTATSTG> elements;
    if (FAILED(storage->EnumElements(0, NULL, 0, elements.Put())))
        return 0;
    STATSTG stat;
    while (elements->Next(1, &stat, NULL) == S_OK) {
        const int n = stat.type == STGTY_STREAM ? ImageStreamNumber(stat.pwcsName) : -1;
        CoTaskMemFree(stat.pwcsName);
        if (n >= 0 && numbers.size() < (size_t)kMaxDesignImages)
            numbers.push_back(n);
    }
    std::sort(numbers.begin(), numbers.end());

    int saved = 0;
    for (int n : numbers) {
        CString stream, target;
        stream.Format("Image%d.png", n);
        target.Format("%s\\%s-%d.png", (LPCTSTR)folder, name, n);
        ByteVector png;
        if (SUCCEEDED(ReadStreamBytes(storage, stream, kMaxImageStreamBytes, png)) &&
            CheckImageBytes(png.data(), png.size()) && WriteWholeFile(target, png))
            ++saved;
    }
    return saved;
}

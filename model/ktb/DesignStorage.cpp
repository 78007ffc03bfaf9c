#include "model/ktb/DesignStorage.h"

#include <string.h>
#include <new>

#include "base/ComOwner.h"
#include "base/FileUtils.h"
#include "model/ktb/CompoundCheck.h"

HRESULT ReadFileBytes(LPCTSTR path, ByteVector& bytes, size_t cap)
{
    bytes.clear();
    if (path == NULL || *path == 0)
        return E_INVALIDARG;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(GetLastError());
    HRESULT hr = S_OK;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        hr = HRESULT_FROM_WIN32(GetLastError());
    else if (size.QuadPart < 0 || (ULONGLONG)size.QuadPart > cap)
        hr = E_OUTOFMEMORY;
    if (SUCCEEDED(hr) && size.QuadPart > 0) {
        try {
            bytes.resize((size_t)size.QuadPart);
        } catch (const std::bad_alloc&) {
            hr = E_OUTOFMEMORY;
        }
        DWORD got = 0;
        if (SUCCEEDED(hr) && (!ReadFile(file, &bytes[0], (DWORD)bytes.size(), &got, NULL) || got != bytes.size()))
            hr = E_FAIL;
    }
    CloseHandle(file);
    if (FAILED(hr))
        ByteVector().swap(bytes);
    return hr;
}

namespace {

// A movable global memory block holding a copy of the bytes; NULL when out of memory.
HGLOBAL CopyToGlobal(const BYTE* data, size_t size)
{
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (mem == NULL)
        return NULL;
    if (size) {
        void* dst = GlobalLock(mem);
        if (dst == NULL) {
            GlobalFree(mem);
            return NULL;
        }
        memcpy(dst, data, size);
        GlobalUnlock(mem);
    }
    return mem;
}

} // namespace

HRESULT OpenStorageOnBytes(const BYTE* data, size_t size, IStorage** storage)
{
    if (storage == NULL)
        return E_POINTER;
    *storage = NULL;
    if (!CheckCompoundFile(data, size))
        return STG_E_INVALIDHEADER;
    HGLOBAL mem = CopyToGlobal(data, size);
    if (mem == NULL)
        return E_OUTOFMEMORY;
    ComOwner<ILockBytes> bytes;
    HRESULT hr = CreateILockBytesOnHGlobal(mem, TRUE, bytes.Put());
    if (FAILED(hr)) {
        GlobalFree(mem);
        return hr;
    }
    // The lock bytes report the block's size, which may be rounded up: pin it.
    ULARGE_INTEGER exact;
    exact.QuadPart = size;
    hr = bytes->SetSize(exact);
    if (FAILED(hr))
        return hr;
    return StgOpenStorageOnILockBytes(bytes, NULL, STGM_READ | STGM_SHARE_EXCLUSIVE, NULL, 0, storage);
}

bool IsUsableStreamName(LPCTSTR name)
{
    if (name == NULL || *name == 0)
        return false;
    size_t length = strlen(name);
    if (length > 31)
        return false;
    for (size_t i = 0; i < length; ++i) {
        const char c = name[i];
        if ((unsigned char)c < 0x20 || c == '/' || c == '\\' || c == ':' || c == '!')
            return false;
    }
    return true;
}

HRESULT ReadStreamBytes(IStorage* storage, LPCTSTR name, size_t cap, ByteVector& bytes)
{
    bytes.clear();
    if (storage == NULL)
        return E_POINTER;
    if (!IsUsableStreamName(name))
        return STG_E_INVALIDNAME;
    ComOwner<IStream> stream;
    HRESULT hr = storage->OpenStream(CStringW(name), NULL, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put());
    if (FAILED(hr))
        return hr;
    STATSTG stat = {};
    hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr))
        return hr;
    if (stat.cbSize.QuadPart > cap)
        return E_OUTOFMEMORY;
    try {
        bytes.resize((size_t)stat.cbSize.QuadPart);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        ULONG got = 0;
        ULONG want = (ULONG)(bytes.size() - done > 0x100000 ? 0x100000 : bytes.size() - done);
        hr = stream->Read(&bytes[done], want, &got);
        if (FAILED(hr) || got == 0) {
            ByteVector().swap(bytes);
            return FAILED(hr) ? hr : E_FAIL;
        }
        done += got;
    }
    return S_OK;
}

HRESULT CreateMemoryStream(const BYTE* data, size_t size, IStream** stream)
{
    if (stream == NULL)
        return E_POINTER;
    *stream = NULL;
    HGLOBAL mem = CopyToGlobal(data, size);
    if (mem == NULL)
        return E_OUTOFMEMORY;
    ComOwner<IStream> made;
    HRESULT hr = CreateStreamOnHGlobal(mem, TRUE, made.Put());
    if (FAILED(hr)) {
        GlobalFree(mem);
        return hr;
    }
    ULARGE_INTEGER exact;
    exact.QuadPart = size;
    hr = made->SetSize(exact);
    if (SUCCEEDED(hr))
        *stream = made.Detach();
    return hr;
}

HRESULT WriteStreamBytes(IStorage* storage, LPCTSTR name, const void* data, size_t size, bool replace)
{
    if (storage == NULL)
        return E_POINTER;
    if (!IsUsableStreamName(name))
        return STG_E_INVALIDNAME;
    ComOwner<IStream> stream;
    DWORD mode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE | (replace ? STGM_CREATE : 0);
    HRESULT hr = storage->CreateStream(CStringW(name), mode, 0, 0, stream.Put());
    if (FAILED(hr))
        return hr;
    const BYTE* p = (const BYTE*)data;
    size_t done = 0;
    while (done < size) {
        ULONG put = 0;
        ULONG want = (ULONG)(size - done > 0x100000 ? 0x100000 : size - done);
        hr = stream->Write(p + done, want, &put);
        if (FAILED(hr))
            return hr;
        if (put == 0)
            return STG_E_MEDIUMFULL;
        done += put;
    }
    return S_OK;
}

CDesignFileWriter::CDesignFileWriter() {}

CDesignFileWriter::~CDesignFileWriter() { Abandon(); }

HRESULT CDesignFileWriter::Begin(LPCTSTR target)
{
    Abandon();
    if (target == NULL || *target == 0)
        return E_INVALIDARG;
    const CString full = FullPath(target);
    // The folder ends at the last backslash; a path without a file name after it is no target.
    const int slash = full.ReverseFind('\\');
    if (slash < 0 || slash + 1 >= full.GetLength() || full.GetLength() >= MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    DWORD attributes = GetFileAttributesA(full);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return STG_E_ACCESSDENIED;
    const CString folder = full.Left(slash + 1);
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder, "ktb", 0, temporary)) // creates the empty file
        return HRESULT_FROM_WIN32(GetLastError());
    m_temporary = temporary;
    m_target = full;
    HRESULT hr =
        StgCreateDocfile(CStringW(temporary), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0, m_storage.Put());
    if (FAILED(hr) || m_storage == NULL) {
        Abandon();
        return FAILED(hr) ? hr : E_FAIL;
    }
    return S_OK;
}

HRESULT CDesignFileWriter::Commit()
{
    if (m_storage == NULL)
        return E_UNEXPECTED;
    HRESULT hr = m_storage->Commit(STGC_DEFAULT);
    m_storage.Reset(); // the file must be closed before it can take the target's place
    if (SUCCEEDED(hr) && !MoveFileExA(m_temporary, m_target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        hr = HRESULT_FROM_WIN32(GetLastError());
    if (FAILED(hr)) {
        Abandon();
        return hr;
    }
    m_temporary.Empty();
    m_target.Empty();
    return S_OK;
}

void CDesignFileWriter::Abandon()
{
    m_storage.Reset();
    if (!m_temporary.IsEmpty())
        DeleteFileA(m_temporary);
    m_temporary.Empty();
    m_target.Empty();
}

// The compound files that hold designs: opened from memory after a structural check,
// read stream by stream with a size cap, and written into a temporary file in the target's
// folder that replaces the target only once it is complete.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <vector>

#include "fw/fw.h"
#include "base/ComOwner.h"

typedef std::vector<BYTE> ByteVector;

// Reads a whole file (at most `cap` bytes; a larger file fails with E_OUTOFMEMORY).
HRESULT ReadFileBytes(LPCTSTR path, ByteVector& bytes, size_t cap);

// The root storage of a compound file held in memory (read only).  The bytes are copied;
// a file that fails the structural check gives STG_E_INVALIDHEADER and no storage.
HRESULT OpenStorageOnBytes(const BYTE* data, size_t size, IStorage** storage);

// The whole content of a stream of `storage`.  A missing stream gives
// STG_E_FILENOTFOUND, one longer than `cap` E_OUTOFMEMORY, a short read E_FAIL.
HRESULT ReadStreamBytes(IStorage* storage, LPCTSTR name, size_t cap, ByteVector& bytes);

// A memory stream holding a copy of the bytes, positioned at its start.
HRESULT CreateMemoryStream(const BYTE* data, size_t size, IStream** stream);

// Creates a stream in `storage` (STGM_CREATE when `replace`, else an existing stream of
// that name makes the creation fail) and writes the bytes.
HRESULT WriteStreamBytes(IStorage* storage, LPCTSTR name, const void* data, size_t size, bool replace);

// Stream names are at most 31 characters; longer names from a file are refused before
// they reach the storage code.
bool IsUsableStreamName(LPCTSTR name);

// Writes a compound file by way of a temporary file in the target's folder.  Begin creates
// the temporary compound file; Commit releases the storage and puts the file in the
// target's place.  Without a Commit the temporary file is removed and the target stays as
// it was.
class CDesignFileWriter
{
public:
    CDesignFileWriter();
    ~CDesignFileWriter();

    HRESULT Begin(LPCTSTR target);
    IStorage* GetStorage() const { return m_storage; }
    HRESULT Commit();
    void Abandon();

private:
    CDesignFileWriter(const CDesignFileWriter&) = delete;
    CDesignFileWriter& operator=(const CDesignFileWriter&) = delete;

    ComOwner<IStorage> m_storage;
    CString m_target;
    CString m_temporary;
};

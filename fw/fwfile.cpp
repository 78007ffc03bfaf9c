#include "fw/fwfile.h"
#include <io.h>
#include <fcntl.h>
#include <share.h>
#include <errno.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

void ReportOpenError(CFileException* error, LONG osError, LPCSTR fileName)
{
    if (error) {
        error->m_cause = CFileException::OsErrorToException(osError);
        error->m_lOsError = osError;
        error->m_strFileName = fileName;
    }
}

CString FullPath(LPCSTR fileName)
{
    char full[MAX_PATH];
    char* namePart = NULL;
    DWORD n = GetFullPathNameA(fileName, MAX_PATH, full, &namePart);
    return n > 0 && n < MAX_PATH ? CString(full) : CString(fileName);
}

} // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE file) : m_hFile(file), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCSTR fileName, UINT openFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, fileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

BOOL CFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error)
{
    if (m_hFile != hFileNull)
        Abort();
    openFlags &= ~(UINT)typeBinary;
    DWORD access;
    switch (openFlags & 3) {
    case modeRead:
        access = GENERIC_READ;
        break;
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    default:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    }
    DWORD share;
    switch (openFlags & 0x70) {
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        share = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default:
        share = 0;
        break; // exclusive or compatibility
    }
    DWORD create = OPEN_EXISTING;
    if (openFlags & modeCreate)
        create = (openFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (openFlags & osWriteThrough)
        attributes |= FILE_FLAG_WRITE_THROUGH;
    if (openFlags & osNoBuffer)
        attributes |= FILE_FLAG_NO_BUFFERING;
    if (openFlags & osRandomAccess)
        attributes |= FILE_FLAG_RANDOM_ACCESS;
    if (openFlags & osSequentialScan)
        attributes |= FILE_FLAG_SEQUENTIAL_SCAN;
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, (openFlags & modeNoInherit) ? FALSE : TRUE};

    HANDLE h = CreateFileA(fileName, access, share, &sa, create, attributes, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        ReportOpenError(error, (LONG)GetLastError(), fileName);
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    m_strFileName = FullPath(fileName);
    return TRUE;
}

void CFile::Close()
{
    BOOL failed = FALSE;
    if (m_hFile != hFileNull)
        failed = !CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (failed)
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (count == 0)
        return 0;
    DWORD read = 0;
    if (!ReadFile(m_hFile, buffer, count, &read, NULL))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return read;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    DWORD written = 0;
    if (!WriteFile(m_hFile, buffer, count, &written, NULL))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    if (written != count)
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(m_hFile, distance, &result, from))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (ULONGLONG)result.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero, result;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(m_hFile, zero, &result, FILE_CURRENT))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (ULONGLONG)result.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (ULONGLONG)size.QuadPart;
}

void CFile::SetLength(ULONGLONG newLength)
{
    ULONGLONG keep = GetPosition();
    Seek((LONGLONG)newLength, begin);
    if (!SetEndOfFile(m_hFile))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    if (keep < newLength)
        Seek((LONGLONG)keep, begin);
}

void CFile::Flush()
{
    if (m_hFile != hFileNull && !FlushFileBuffers(m_hFile))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
}

CString CFile::GetFilePath() const { return m_strFileName; }

CString CFile::GetFileName() const
{
    int slash = m_strFileName.ReverseFind('\\');
    int other = m_strFileName.ReverseFind('/');
    if (other > slash)
        slash = other;
    return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

namespace {
BOOL FillStatus(const WIN32_FILE_ATTRIBUTE_DATA& data, LPCSTR path, CFileStatus& status)
{
    status.m_ctime = CTime(data.ftCreationTime);
    status.m_atime = CTime(data.ftLastAccessTime);
    status.m_mtime = CTime(data.ftLastWriteTime);
    status.m_size = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    status.m_attribute = (BYTE)data.dwFileAttributes;
    lstrcpynA(status.m_szFullName, path, MAX_PATH);
    return TRUE;
}
} // namespace

BOOL CFile::GetStatus(CFileStatus& status) const { return GetStatus(m_strFileName, status); }

BOOL CFile::GetStatus(LPCSTR fileName, CFileStatus& status)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (fileName == NULL || !GetFileAttributesExA(fileName, GetFileExInfoStandard, &data))
        return FALSE;
    return FillStatus(data, FullPath(fileName), status);
}

void CFile::Rename(LPCSTR oldName, LPCSTR newName)
{
    if (!MoveFileA(oldName, newName))
        CFileException::ThrowOsError((LONG)GetLastError(), oldName);
}

void CFile::Remove(LPCSTR fileName)
{
    if (!DeleteFileA(fileName))
        CFileException::ThrowOsError((LONG)GetLastError(), fileName);
}

// ---- CStdioFile

CStdioFile::CStdioFile() : m_pStream(NULL), m_bOwnStream(FALSE) {}

CStdioFile::CStdioFile(FILE* stream) : m_pStream(stream), m_bOwnStream(FALSE)
{
    if (stream)
        m_hFile = (HANDLE)_get_osfhandle(_fileno(stream));
}

CStdioFile::CStdioFile(LPCSTR fileName, UINT openFlags) : m_pStream(NULL), m_bOwnStream(FALSE)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, fileName);
}

CStdioFile::~CStdioFile() { Abort(); }

BOOL CStdioFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error)
{
    Abort();
    // The handle is opened by CFile (sharing and creation rules), then handed to the
    // C runtime as a text or binary stream.
    UINT fileFlags = openFlags & ~(UINT)(typeText | typeBinary);
    if (!CFile::Open(fileName, fileFlags, error))
        return FALSE;
    int crtFlags = (openFlags & typeBinary) ? _O_BINARY : _O_TEXT;
    char mode[4] = {0, 0, 0, 0};
    switch (openFlags & 3) {
    case modeRead:
        crtFlags |= _O_RDONLY;
        mode[0] = 'r';
        break;
    case modeWrite:
        crtFlags |= _O_WRONLY;
        mode[0] = 'w';
        break;
    default:
        crtFlags |= _O_RDWR;
        mode[0] = 'r';
        mode[1] = '+';
        break;
    }
    mode[strlen(mode)] = (openFlags & typeBinary) ? 'b' : 't';
    int fd = _open_osfhandle((intptr_t)m_hFile, crtFlags);
    FILE* stream = fd < 0 ? NULL : _fdopen(fd, mode);
    if (stream == NULL) {
        if (fd >= 0)
            _close(fd); // closes the handle too
        else
            CloseHandle(m_hFile);
        m_hFile = hFileNull;
        m_bCloseOnDelete = FALSE;
        ReportOpenError(error, ERROR_TOO_MANY_OPEN_FILES, fileName);
        return FALSE;
    }
    m_pStream = stream;
    m_bOwnStream = TRUE;
    m_bCloseOnDelete = FALSE; // the stream owns the handle now
    return TRUE;
}

void CStdioFile::Close()
{
    int failed = 0;
    if (m_pStream && m_bOwnStream)
        failed = fclose(m_pStream);
    m_pStream = NULL;
    m_bOwnStream = FALSE;
    m_hFile = hFileNull;
    if (failed)
        AfxThrowFileException(CFileException::genericException, _doserrno, m_strFileName);
}

void CStdioFile::Abort()
{
    if (m_pStream && m_bOwnStream)
        fclose(m_pStream);
    m_pStream = NULL;
    m_bOwnStream = FALSE;
    m_hFile = hFileNull;
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    if (count == 0)
        return 0;
    size_t n = fread(buffer, 1, count, m_pStream);
    if (n == 0 && ferror(m_pStream)) {
        clearerr(m_pStream);
        AfxThrowFileException(CFileException::genericException, _doserrno, m_strFileName);
    }
    return (UINT)n;
}

void CStdioFile::Write(const void* buffer, UINT count)
{
    if (fwrite(buffer, 1, count, m_pStream) != count)
        AfxThrowFileException(CFileException::genericException, _doserrno, m_strFileName);
}

void CStdioFile::WriteString(LPCSTR text)
{
    if (text && fputs(text, m_pStream) == EOF)
        AfxThrowFileException(CFileException::diskFull, _doserrno, m_strFileName);
}

LPSTR CStdioFile::ReadString(LPSTR buffer, UINT maxChars)
{
    if (buffer == NULL || maxChars == 0)
        return NULL;
    LPSTR r = fgets(buffer, (int)maxChars, m_pStream);
    if (r == NULL && ferror(m_pStream)) {
        clearerr(m_pStream);
        AfxThrowFileException(CFileException::genericException, _doserrno, m_strFileName);
    }
    return r;
}

BOOL CStdioFile::ReadString(CString& line)
{
    line.Empty();
    char chunk[256];
    bool any = false;
    for (;;) {
        if (fgets(chunk, sizeof chunk, m_pStream) == NULL) {
            if (ferror(m_pStream)) {
                clearerr(m_pStream);
                AfxThrowFileException(CFileException::genericException, _doserrno, m_strFileName);
            }
            break;
        }
        any = true;
        int len = (int)strlen(chunk);
        if (len > 0 && chunk[len - 1] == '\n') {
            line.Append(chunk, len - 1);
            break;
        }
        line.Append(chunk, len);
    }
    // A CR before the LF is already gone in text mode; one left over (binary mode) is too.
    if (line.GetLength() > 0 && line[line.GetLength() - 1] == '\r')
        line.Delete(line.GetLength() - 1);
    return any;
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from)
{
    int origin = from == begin ? SEEK_SET : from == end ? SEEK_END : SEEK_CUR;
    if (_fseeki64(m_pStream, offset, origin) != 0)
        AfxThrowFileException(CFileException::badSeek, _doserrno, m_strFileName);
    return GetPosition();
}

ULONGLONG CStdioFile::GetPosition() const
{
    long long pos = _ftelli64(m_pStream);
    if (pos < 0)
        AfxThrowFileException(CFileException::invalidFile, _doserrno, m_strFileName);
    return (ULONGLONG)pos;
}

ULONGLONG CStdioFile::GetLength() const
{
    fflush(m_pStream);
    LARGE_INTEGER size;
    HANDLE h = (HANDLE)_get_osfhandle(_fileno(m_pStream));
    if (!GetFileSizeEx(h, &size))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (ULONGLONG)size.QuadPart;
}

void CStdioFile::Flush()
{
    if (m_pStream && fflush(m_pStream) != 0)
        AfxThrowFileException(CFileException::diskFull, _doserrno, m_strFileName);
}

// ---- CArchive

CArchive::CArchive(CFile* file, UINT mode, int, void*) : m_pDocument(NULL), m_pFile(file), m_nMode(mode) {}

CArchive::~CArchive() {}

UINT CArchive::Read(void* buffer, UINT count)
{
    if (!IsLoading())
        AfxThrowArchiveException(CArchiveException::writeOnly);
    return m_pFile->Read(buffer, count);
}

void CArchive::ReadExact(void* buffer, UINT count)
{
    if (Read(buffer, count) != count)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_pFile->GetFilePath());
}

void CArchive::Write(const void* buffer, UINT count)
{
    if (!IsStoring())
        AfxThrowArchiveException(CArchiveException::readOnly);
    m_pFile->Write(buffer, count);
}

void CArchive::WriteString(LPCSTR text)
{
    if (text)
        Write(text, (UINT)strlen(text));
}

BOOL CArchive::ReadString(CString& text)
{
    text.Empty();
    char c;
    bool any = false;
    while (Read(&c, 1) == 1) {
        any = true;
        if (c == '\n')
            break;
        if (c != '\r')
            text += c;
    }
    return any;
}

CArchive& CArchive::operator<<(const CString& s)
{
    DWORD len = (DWORD)s.GetLength();
    if (len < 0xFF) {
        *this << (BYTE)len;
    } else if (len < 0xFFFE) {
        *this << (BYTE)0xFF << (WORD)len;
    } else {
        *this << (BYTE)0xFF << (WORD)0xFFFF << len;
    }
    Write((LPCSTR)s, len);
    return *this;
}

CArchive& CArchive::operator>>(CString& s)
{
    BYTE b;
    *this >> b;
    DWORD len = b;
    if (b == 0xFF) {
        WORD w;
        *this >> w;
        len = w;
        if (w == 0xFFFF)
            *this >> len;
    }
    // The length comes from the file: never trust it beyond what the file holds.
    ULONGLONG left = m_pFile->GetLength() - m_pFile->GetPosition();
    if (len > left)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_pFile->GetFilePath());
    LPSTR p = s.GetBufferSetLength((int)len);
    ReadExact(p, len);
    s.ReleaseBuffer((int)len);
    return *this;
}

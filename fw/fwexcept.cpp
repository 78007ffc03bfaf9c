#include "fw/fwexcept.h"
#include <string.h>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

BOOL CopyMessage(LPCSTR text, LPSTR buffer, UINT maxLength, PUINT helpContext)
{
    if (helpContext)
        *helpContext = 0;
    if (buffer == NULL || maxLength == 0)
        return FALSE;
    lstrcpynA(buffer, text ? text : "", (int)maxLength);
    return text != NULL && *text != 0;
}

} // namespace

BOOL CException::GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext) const
{
    CopyMessage(NULL, buffer, maxLength, helpContext);
    return FALSE;
}

int CException::ReportError(UINT type, UINT messageId) const
{
    char text[512];
    CString message;
    if (GetErrorMessage(text, sizeof text))
        message = text;
    else if (messageId == 0 || !message.LoadString(messageId))
        message = "An unexpected error occurred.";
    return MessageBoxA(GetActiveWindow(), message, NULL, type);
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CMemoryException::GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext) const
{
    return CopyMessage("Out of memory.", buffer, maxLength, helpContext);
}

BOOL CNotSupportedException::GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext) const
{
    return CopyMessage("The operation is not supported.", buffer, maxLength, helpContext);
}

BOOL CResourceException::GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext) const
{
    return CopyMessage("A system resource could not be created.", buffer, maxLength, helpContext);
}

BOOL CFileException::GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext) const
{
    static const char* const reasons[] = {
        "no error",
        "an unexpected error",
        "it was not found",
        "the path is invalid",
        "too many files are open",
        "access was denied",
        "the file is invalid",
        "the current folder cannot be removed",
        "the folder is full",
        "the position is invalid",
        "a hardware I/O error occurred",
        "of a sharing violation",
        "of a lock violation",
        "the disk is full",
        "the end of the file was reached",
    };
    int cause = m_cause >= 0 && m_cause <= endOfFile ? m_cause : genericException;
    CString text;
    LPCSTR name = m_strFileName.IsEmpty() ? "an unnamed file" : (LPCSTR)m_strFileName;
    if (cause == none)
        text.Format("No error occurred with %s.", name);
    else
        text.Format("%s could not be accessed because %s.", name, reasons[cause]);
    return CopyMessage(text, buffer, maxLength, helpContext);
}

int CFileException::OsErrorToException(LONG osError)
{
    switch (osError) {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_CANNOT_MAKE:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
    case ERROR_INVALID_ACCESS:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return removeCurrentDir;
    case ERROR_NO_MORE_FILES:
        return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
        return badSeek;
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

void CFileException::ThrowOsError(LONG osError, LPCSTR fileName)
{
    AfxThrowFileException(OsErrorToException(osError), osError, fileName);
}

BOOL CArchiveException::GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext) const
{
    CString text;
    text.Format("The archive %s could not be read or written (cause %d).",
                m_strFileName.IsEmpty() ? "" : (LPCSTR)m_strFileName, m_cause);
    return CopyMessage(text, buffer, maxLength, helpContext);
}

void AfxThrowMemoryException()
{
    static CMemoryException preallocated(FALSE);
    throw &preallocated;
}

void AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AfxThrowResourceException() { throw new CResourceException; }
void AfxThrowUserException() { throw new CUserException; }

void AfxThrowFileException(int cause, LONG osError, LPCSTR fileName)
{
    throw new CFileException(cause, osError, fileName);
}

void AfxThrowArchiveException(int cause, LPCSTR fileName) { throw new CArchiveException(cause, fileName); }

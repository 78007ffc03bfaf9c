// Exceptions of the framework layer. They are thrown by pointer and the catcher ends them
// with Delete():  catch (CFileException* e) { ...; e->Delete(); }
#pragma once
#include "fw/fwobject.h"
#include "fw/fwstring.h"
#include <new>

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
    // Copies the message into buffer (always terminated); FALSE when there is none.
    virtual BOOL GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext = NULL) const;
    // Shows the message in a message box (or the text of messageId when there is none);
    // returns the message box's result.
    virtual int ReportError(UINT type = MB_OK, UINT messageId = 0) const;
    // Deletes the exception unless it is a preallocated one.
    void Delete();

protected:
    BOOL m_bAutoDelete;
};

class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
    BOOL GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext = NULL) const override;
};

class CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
    BOOL GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext = NULL) const override;
};

class CResourceException : public CException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
    BOOL GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext = NULL) const override;
};

// Thrown when the user cancelled: reported to nobody.
class CUserException : public CException
{
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    explicit CFileException(int cause = none, LONG osError = -1, LPCSTR fileName = NULL)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
    {}

    BOOL GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext = NULL) const override;
    // Cause for a Win32 error code (GetLastError).
    static int OsErrorToException(LONG osError);
    static void ThrowOsError(LONG osError, LPCSTR fileName = NULL);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    explicit CArchiveException(int cause = none, LPCSTR fileName = NULL) : m_cause(cause), m_strFileName(fileName) {}
    BOOL GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext = NULL) const override;
    int m_cause;
    CString m_strFileName;
};

// Throw helpers. The memory exception is one preallocated object (memory may be short);
// Delete() leaves it alone.
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, LPCSTR fileName = NULL);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCSTR fileName = NULL);

// Runs f and turns the C++ runtime's std::bad_alloc into the framework's memory exception,
// for code whose callers catch CMemoryException*.
template <class F> auto FwMapBadAlloc(F f) -> decltype(f())
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
}

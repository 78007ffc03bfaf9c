// The framework's internet classes: thin owners of WinInet handles for an HTTP exchange
// (session, connection, request file) and the exception they throw, with the library's
// message text. Each handle is closed exactly once, by Close() or the destructor; the
// objects cannot be copied. Failures throw CInternetException by pointer (end it with
// Delete()).
#pragma once
#include "fw/fwexcept.h"
#include "fw/fwstring.h"

#include <wininet.h>

class CHttpConnection;
class CHttpFile;

class CInternetException : public CException
{
    DECLARE_DYNAMIC(CInternetException)
public:
    explicit CInternetException(DWORD error) : m_dwError(error) {}
    // The library's message for the error (its extended text when it gave one), or
    // "Internet error N" when it has none.
    BOOL GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext = NULL) const override;

    DWORD m_dwError;
    DWORD_PTR m_dwContext = 0;
};

// Throws the internet exception for GetLastError().
[[noreturn]] void AfxThrowInternetException(DWORD_PTR context, DWORD error = 0);

class CInternetSession
{
public:
    CInternetSession(LPCSTR agent = nullptr, DWORD_PTR context = 1, DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG,
                     LPCSTR proxy = nullptr, LPCSTR proxyBypass = nullptr, DWORD flags = 0);
    virtual ~CInternetSession();
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // A connection the caller deletes (before the session).
    CHttpConnection* GetHttpConnection(LPCSTR server, DWORD flags, INTERNET_PORT port = INTERNET_INVALID_PORT_NUMBER,
                                       LPCSTR user = nullptr, LPCSTR password = nullptr);
    BOOL SetOption(DWORD option, DWORD value);
    void Close();
    operator HINTERNET() const { return m_hSession; }
    DWORD_PTR GetContext() const { return m_dwContext; }

private:
    HINTERNET m_hSession = nullptr;
    DWORD_PTR m_dwContext;
};

class CHttpConnection
{
public:
    CHttpConnection(CInternetSession* session, HINTERNET connection, DWORD_PTR context);
    virtual ~CHttpConnection();
    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

    // A request the caller deletes (before the connection).
    CHttpFile* OpenRequest(LPCSTR verb, LPCSTR objectName, LPCSTR referer = nullptr, DWORD_PTR context = 1,
                           LPCSTR* acceptTypes = nullptr, LPCSTR version = nullptr,
                           DWORD flags = INTERNET_FLAG_EXISTING_CONNECT);
    void Close();
    operator HINTERNET() const { return m_hConnection; }

private:
    HINTERNET m_hConnection = nullptr;
    DWORD_PTR m_dwContext;
};

class CHttpFile
{
public:
    CHttpFile(HINTERNET request, DWORD_PTR context);
    virtual ~CHttpFile();
    CHttpFile(const CHttpFile&) = delete;
    CHttpFile& operator=(const CHttpFile&) = delete;

    BOOL AddRequestHeaders(LPCSTR headers, DWORD flags = HTTP_ADDREQ_FLAG_ADD_IF_NEW, int length = -1);
    BOOL SendRequest(LPCSTR headers = nullptr, DWORD headersLength = 0, LPVOID optional = nullptr,
                     DWORD optionalLength = 0);
    BOOL QueryInfoStatusCode(DWORD& status) const;
    // The reply's Content-Length header: FALSE when there is none or it is no number.
    BOOL QueryContentLength(unsigned long long& length) const;
    // Bytes read, 0 at the end of the reply.
    UINT Read(void* buffer, UINT count);
    void Close();
    operator HINTERNET() const { return m_hFile; }

private:
    HINTERNET m_hFile = nullptr;
    DWORD_PTR m_dwContext;
};

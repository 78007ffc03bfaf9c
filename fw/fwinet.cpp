#include "fw/fwinet.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CInternetException, CException)

BOOL CInternetException::GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext) const
{
    if (helpContext != NULL)
        *helpContext = 0;
    if (buffer == NULL || maxLength == 0)
        return FALSE;
    CString text;
    char message[512] = "";
    HMODULE module = ::GetModuleHandleA("wininet.dll");
    if (::FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, module, m_dwError, 0, message,
                         sizeof message, NULL) > 0 ||
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, m_dwError, 0, message,
                         sizeof message, NULL) > 0) {
        text = message;
        text.TrimRight();
    } else {
        text.Format("Internet error %lu", (unsigned long)m_dwError);
    }
    // The server's own words, when the library kept some.
    if (m_dwError == ERROR_INTERNET_EXTENDED_ERROR) {
        DWORD code = 0, length = sizeof message;
        if (::InternetGetLastResponseInfoA(&code, message, &length) && length > 0)
            text = message;
    }
    ::lstrcpynA(buffer, text, (int)maxLength);
    return TRUE;
}

void AfxThrowInternetException(DWORD_PTR context, DWORD error)
{
    if (error == 0)
        error = ::GetLastError();
    CInternetException* e = new CInternetException(error);
    e->m_dwContext = context;
    throw e;
}

CInternetSession::CInternetSession(LPCSTR agent, DWORD_PTR context, DWORD accessType, LPCSTR proxy, LPCSTR proxyBypass,
                                   DWORD flags)
    : m_dwContext(context)
{
    m_hSession = ::InternetOpenA(agent, accessType, proxy, proxyBypass, flags);
    if (m_hSession == nullptr)
        AfxThrowInternetException(context);
}

CInternetSession::~CInternetSession() { Close(); }

void CInternetSession::Close()
{
    if (m_hSession != nullptr)
        ::InternetCloseHandle(m_hSession);
    m_hSession = nullptr;
}

BOOL CInternetSession::SetOption(DWORD option, DWORD value)
{
    return ::InternetSetOptionA(m_hSession, option, &value, sizeof value);
}

CHttpConnection* CInternetSession::GetHttpConnection(LPCSTR server, DWORD flags, INTERNET_PORT port, LPCSTR user,
                                                     LPCSTR password)
{
    HINTERNET connection =
        ::InternetConnectA(m_hSession, server, port, user, password, INTERNET_SERVICE_HTTP, flags, m_dwContext);
    if (connection == nullptr)
        AfxThrowInternetException(m_dwContext);
    return new CHttpConnection(this, connection, m_dwContext);
}

CHttpConnection::CHttpConnection(CInternetSession*, HINTERNET connection, DWORD_PTR context)
    : m_hConnection(connection), m_dwContext(context)
{}

CHttpConnection::~CHttpConnection() { Close(); }

void CHttpConnection::Close()
{
    if (m_hConnection != nullptr)
        ::InternetCloseHandle(m_hConnection);
    m_hConnection = nullptr;
}

CHttpFile* CHttpConnection::OpenRequest(LPCSTR verb, LPCSTR objectName, LPCSTR referer, DWORD_PTR context,
                                        LPCSTR* acceptTypes, LPCSTR version, DWORD flags)
{
    HINTERNET request =
        ::HttpOpenRequestA(m_hConnection, verb, objectName, version, referer, acceptTypes, flags, context);
    if (request == nullptr)
        AfxThrowInternetException(context);
    return new CHttpFile(request, context);
}

CHttpFile::CHttpFile(HINTERNET request, DWORD_PTR context) : m_hFile(request), m_dwContext(context) {}

CHttpFile::~CHttpFile() { Close(); }

void CHttpFile::Close()
{
    if (m_hFile != nullptr)
        ::InternetCloseHandle(m_hFile);
    m_hFile = nullptr;
}

BOOL CHttpFile::AddRequestHeaders(LPCSTR headers, DWORD flags, int length)
{
    const DWORD n = length < 0 ? (DWORD)-1L : (DWORD)length;
    if (!::HttpAddRequestHeadersA(m_hFile, headers, n, flags))
        AfxThrowInternetException(m_dwContext);
    return TRUE;
}

BOOL CHttpFile::SendRequest(LPCSTR headers, DWORD headersLength, LPVOID optional, DWORD optionalLength)
{
    if (!::HttpSendRequestA(m_hFile, headers, headersLength, optional, optionalLength))
        AfxThrowInternetException(m_dwContext);
    return TRUE;
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& status) const
{
    DWORD length = sizeof status;
    status = 0;
    return ::HttpQueryInfoA(m_hFile, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, NULL);
}

BOOL CHttpFile::QueryContentLength(unsigned long long& length) const
{
    char text[32] = "";
    DWORD size = sizeof text;
    length = 0;
    if (!::HttpQueryInfoA(m_hFile, HTTP_QUERY_CONTENT_LENGTH, text, &size, NULL))
        return FALSE;
    char* end = nullptr;
    if (text[0] < '0' || text[0] > '9')
        return FALSE;
    length = std::strtoull(text, &end, 10);
    return end != nullptr && *end == '\0';
}

UINT CHttpFile::Read(void* buffer, UINT count)
{
    DWORD read = 0;
    if (!::InternetReadFile(m_hFile, buffer, count, &read))
        AfxThrowInternetException(m_dwContext);
    return (UINT)read;
}

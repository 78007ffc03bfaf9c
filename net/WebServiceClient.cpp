#include "net/WebServiceClient.h"
#include "fw/fwapp.h"
#include "fw/fwctl.h"
#include "fw/fwinet.h"
#include "base/TextTable.h"

#include <cstdlib>
#include <memory>

const char CWebServiceClient::kAgent[] = "zorv web services";
const char CWebServiceClient::kServicePath[] = "/zorv/services/server.php";

namespace {

const DWORD kSessionFlags = INTERNET_FLAG_DONT_CACHE;          // 0x04000000
const DWORD kConnectionFlags = INTERNET_FLAG_NO_AUTO_REDIRECT; // 0x00200000
// Reload, existing connection, no cache write, keep the connection.
const DWORD kRequestFlags = 0xA4400000;
// Messages handled per call at most, so a window that keeps asking to be painted cannot
// hold the read loop.
const int kPumpBound = 1000;

struct EndpointOverride
{
    bool set = false;
    CString host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
};
EndpointOverride& Override()
{
    static EndpointOverride o;
    return o;
}

CString LocalHostName()
{
    char name[256] = "";
    DWORD size = sizeof name;
    if (::GetComputerNameExA(ComputerNameDnsHostname, name, &size) && name[0] != '\0')
        return name;
    size = sizeof name;
    if (::GetComputerNameA(name, &size))
        return name;
    return "localhost";
}

void ShowFailure(LPCSTR text)
{
    CString message(text);
    // The library's text is shown as it came, cut to a message's length.
    if (message.GetLength() > 260)
        message = message.Left(260);
    AfxMessageBox(message, MB_OK);
}

class BusyFlag
{
public:
    explicit BusyFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyFlag() { m_flag = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

private:
    bool& m_flag;
};

} // namespace

void PumpWaitingMessages()
{
    MSG msg;
    for (int i = 0; i < kPumpBound && ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); ++i) {
        if (!AfxPumpMessage()) {
            ::PostQuitMessage((int)msg.wParam);
            return;
        }
    }
}

CWebServiceClient::CWebServiceClient() : m_body(CByteStream::kMemory) {}

void CWebServiceClient::SetDefaultEndpoint()
{
    const EndpointOverride& o = Override();
    m_strHost = o.set ? o.host : LocalHostName();
    m_nPort = o.set ? o.port : (INTERNET_PORT)INTERNET_DEFAULT_HTTP_PORT;
    m_strPath = kServicePath;
}

void CWebServiceClient::SetEndpoint(LPCSTR host, INTERNET_PORT port, LPCSTR path)
{
    m_strHost = host;
    m_nPort = port;
    m_strPath = path;
}

void CWebServiceClient::OverrideDefaultEndpoint(LPCSTR host, INTERNET_PORT port)
{
    EndpointOverride& o = Override();
    o.set = host != nullptr;
    o.host = host;
    o.port = port;
}

void CWebServiceClient::BuildMethodCall(LPCSTR method, const CMapStringToString& params)
{
    m_request.LoadFromText("<?web.in version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n");
    m_request.AddElem("methodCall");
    m_request.AddChildElem("methodName", method);
    m_request.AddChildElem("params");
    m_request.IntoElem();
    for (POSITION pos = params.GetStartPosition(); pos != nullptr;) {
        CString type, value;
        params.GetNextAssoc(pos, type, value);
        m_request.AddChildElem("param");
        m_request.IntoElem();
        m_request.AddChildElem(type, value);
        m_request.OutOfElem();
    }
    m_request.OutOfElem();
}

BOOL CWebServiceClient::Post() { return Exchange(false); }

BOOL CWebServiceClient::PostDebug() { return Exchange(true); }

BOOL CWebServiceClient::Exchange(bool parse)
{
    if (m_busy)
        return FALSE;
    BusyFlag busy(m_busy);
    m_lastStatus = 0;
    m_readPieces.clear();
    const CString request = m_request.GetDoc();
    CString headers;
    headers.Format("Content-Type: text/xml; charset=utf-8\nContent-Length:%d", request.GetLength());
    CString failure;
    CString text;
    try {
        CInternetSession session(kAgent, 1, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, kSessionFlags);
        std::unique_ptr<CHttpConnection> connection(
            session.GetHttpConnection(m_strHost, kConnectionFlags, m_nPort, nullptr, nullptr));
        std::unique_ptr<CHttpFile> file(
            connection->OpenRequest("POST", m_strPath, nullptr, 1, nullptr, nullptr, kRequestFlags));
        file->AddRequestHeaders(headers, HTTP_ADDREQ_FLAG_ADD_IF_NEW);
        file->SendRequest(nullptr, 0, (LPVOID)(LPCSTR)request, (DWORD)request.GetLength());
        DWORD status = 0;
        file->QueryInfoStatusCode(status);
        m_lastStatus = status;
        unsigned long long announced = 0;
        const bool hasLength = file->QueryContentLength(announced) != FALSE;
        if (status < 200 || status > 299) {
            failure.Format((LPCTSTR)GetLangText("WEB_STATUS"), (unsigned long)status);
        } else if (hasLength && announced > (unsigned long long)m_nMaxReply) {
            failure = GetLangText("WEB_TOO_LARGE");
        } else {
            if (!parse) {
                m_body.Close();
                m_body.Open();
                m_body.Reserve(hasLength ? (size_t)announced : 0);
            }
            char piece[kReadPiece];
            long long total = 0;
            for (;;) {
                const UINT n = file->Read(piece, kReadPiece);
                m_readPieces.push_back(n);
                if (n == 0)
                    break;
                total += n;
                if (total > m_nMaxReply) {
                    failure = GetLangText("WEB_TOO_LARGE");
                    break;
                }
                if (parse) {
                    text.Append(piece, (int)n);
                } else if (m_body.Write(piece, 1, n) != n) {
                    failure = GetLangText("WEB_NO_MEMORY");
                    break;
                }
                PumpWaitingMessages();
            }
            if (failure.IsEmpty() && hasLength && (unsigned long long)total != announced)
                failure = GetLangText("WEB_ENDED_EARLY");
        }
        file->Close();
        connection->Close();
        session.Close();
    } catch (CInternetException* e) {
        char message[261] = "";
        e->GetErrorMessage(message, sizeof message);
        e->Delete();
        failure = message[0] != '\0' ? CString(message) : GetLangText("WEB_UNREACHABLE");
    }
    if (parse) {
        m_response.LoadFromText(text);
        // A copy to look at; a folder that cannot be written is no failure of the call.
        char folder[MAX_PATH] = "";
        const DWORD n = ::GetTempPathA(MAX_PATH, folder);
        if (n > 0 && n < MAX_PATH - 12) {
            const CString path = CString(folder) + "struct.xml";
            HANDLE f = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (f != INVALID_HANDLE_VALUE) {
                const CString doc = m_response.GetDoc();
                DWORD written = 0;
                ::WriteFile(f, (LPCSTR)doc, (DWORD)doc.GetLength(), &written, nullptr);
                ::CloseHandle(f);
            }
        }
    }
    if (!failure.IsEmpty()) {
        ShowFailure(failure);
        return FALSE;
    }
    return TRUE;
}

void CWebServiceClient::ParseMethodResponse(CWebResultList& results)
{
    CXmlNode& x = m_response;
    x.ResetPos();
    for (LPCSTR step : {"methodResponse", "params", "param", "value", "array", "data"}) {
        if (!x.FindElem(step))
            return;
        x.IntoElem();
    }
    while (x.FindElem("value")) {
        x.IntoElem();
        while (x.FindElem("struct")) {
            x.IntoElem();
            CMapStringToString* record = new CMapStringToString(10);
            while (x.FindElem("member")) {
                // Each member on its own: one without a name or a string stores nothing.
                CString name, value;
                x.ResetChildPos();
                if (x.FindChildElem("name"))
                    name = x.GetChildData();
                x.ResetChildPos();
                if (x.FindChildElem("value")) {
                    x.IntoElem();
                    if (x.FindChildElem("string"))
                        value = x.GetChildData();
                    x.OutOfElem();
                }
                if (!name.IsEmpty() && !value.IsEmpty())
                    record->SetAt(name, value);
            }
            x.OutOfElem();
            if (record->IsEmpty())
                delete record;
            else
                results.AddTail(record);
        }
        x.OutOfElem();
    }
}

void CWebServiceClient::FillContainerCombo(const CWebResultList& results, CComboBox& combo, LPCSTR linkKey,
                                           LPCSTR linkValue, LPCSTR nameKey, LPCSTR idKey)
{
    for (POSITION pos = results.GetHeadPosition(); pos != nullptr;) {
        const CMapStringToString* record = results.GetNext(pos);
        CString link, name, id;
        if (!record->Lookup(linkKey, link) || link != linkValue)
            continue;
        if (!record->Lookup(nameKey, name) || !record->Lookup(idKey, id) || name.IsEmpty() || id.IsEmpty())
            continue;
        const int index = combo.AddString(name);
        if (index >= 0)
            combo.SetItemData(index, (DWORD_PTR)std::atoi(id));
    }
}

void CWebServiceClient::ClearResults(CWebResultList& results)
{
    while (!results.IsEmpty())
        delete results.RemoveHead();
}

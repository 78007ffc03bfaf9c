// The client of the design web service: XML-RPC calls posted over HTTP through the
// framework's internet classes, their replies kept in a byte stream or parsed into records
// (one string-to-string map per struct of the reply).
//
// The rules it keeps: a reply counts only with an HTTP status of 200 to 299; a reply beyond
// kMaxReply bytes is refused, whatever its Content-Length says, and one shorter than its
// Content-Length is a failure; a client runs one exchange at a time (a second one asked for
// from a message handled between reads is refused); every failure is shown in a message box
// and returns FALSE. Only the UI thread calls it.
#pragma once
#include "fw/fwcoll.h"
#include "fw/fwstring.h"
#include "net/ByteStream.h"
#include "net/XmlNode.h"

#include <wininet.h>

#include <vector>

class CComboBox;

// One map per struct of a reply, member name to string; the list owns the maps.
typedef CTypedPtrList<CPtrList, CMapStringToString*> CWebResultList;

class CWebServiceClient
{
public:
    static constexpr int kMaxReply = 64 * 1024 * 1024;
    static constexpr UINT kReadPiece = 1999;
    static const char kAgent[];
    static const char kServicePath[];

    CWebServiceClient();

    // The host is the local machine's name on port 80, the path the service's; a test may
    // set another default with OverrideDefaultEndpoint.
    void SetDefaultEndpoint();
    void SetEndpoint(LPCSTR host, INTERNET_PORT port, LPCSTR path);
    // The endpoint SetDefaultEndpoint gives from now on (null host: the local machine, port 80).
    static void OverrideDefaultEndpoint(LPCSTR host, INTERNET_PORT port);

    // Builds the methodCall document: the method name and one param per map entry, whose
    // element is named by the entry's key (a type name such as "string") and holds its value.
    void BuildMethodCall(LPCSTR method, const CMapStringToString& params);
    // Sends the request; the reply's bytes are kept in the body stream.
    BOOL Post();
    // Sends the request, parses the reply into the response document, and keeps a copy of
    // its text in "struct.xml" in the temporary folder (a failure to write it is ignored).
    BOOL PostDebug();
    // Appends one map per struct of the response document's array to results.
    void ParseMethodResponse(CWebResultList& results);
    // Adds the name of each record whose linkKey holds linkValue, with its id (a number) as
    // the item data; records without a name or an id are left out.
    static void FillContainerCombo(const CWebResultList& results, CComboBox& combo, LPCSTR linkKey, LPCSTR linkValue,
                                   LPCSTR nameKey, LPCSTR idKey);
    static void ClearResults(CWebResultList& results);

    bool IsBusy() const { return m_busy; }
    // The HTTP status of the last exchange that got one (0: none).
    DWORD GetLastStatus() const { return m_lastStatus; }
    // The byte counts of the last exchange's reads, the closing 0 included.
    const std::vector<UINT>& GetReadPieces() const { return m_readPieces; }

    // The largest reply taken; kMaxReply unless a test sets a smaller one.
    int m_nMaxReply = kMaxReply;
    CString m_strHost;
    INTERNET_PORT m_nPort = INTERNET_DEFAULT_HTTP_PORT;
    CString m_strPath;
    CXmlNode m_request;
    CXmlNode m_response;
    CByteStream m_body;

private:
    BOOL Exchange(bool parse);

    bool m_busy = false;
    DWORD m_lastStatus = 0;
    std::vector<UINT> m_readPieces;
};

// Handles the messages waiting in this thread's queue through the framework's pump; a quit
// message is put back for the outer loop.
void PumpWaitingMessages();

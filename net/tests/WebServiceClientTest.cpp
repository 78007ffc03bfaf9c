// The web service client: the request text, the exchange with the stand-in server on
// 127.0.0.1 (headers, status, sizes, pieces, failures shown as messages), the reply's
// records and the container list they fill.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "fw/fwctl.h"
#include "fw/fwwin.h"
#include "net/WebServiceClient.h"
#include "base/TextTable.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Input.h"
#include "testsupport/StandInServer.h"

namespace {

const char kProlog[] = "<?web.in version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n";

TEST(WebServiceRequest, GetItemIsNineLinesWithoutValueWrapper)
{
    CWebServiceClient client;
    CMapStringToString params;
    params.SetAt("string", "dezireze.rev");
    client.BuildMethodCall("download.getItem", params);
    const std::string expected = std::string(kProlog) + "<methodCall>\r\n"
                                                        "<methodName>download.getItem</methodName>\r\n"
                                                        "<params>\r\n"
                                                        "<param>\r\n"
                                                        "<string>dezireze.rev</string>\r\n"
                                                        "</param>\r\n"
                                                        "</params>\r\n"
                                                        "</methodCall>\r\n";
    EXPECT_EQ(expected, std::string(client.m_request.GetDoc()));
}

TEST(WebServiceRequest, EmptyMapWritesParamsAsEmptyTagAndValuesAreEscaped)
{
    CWebServiceClient client;
    CMapStringToString none;
    client.BuildMethodCall("download.getContainers", none);
    EXPECT_EQ(std::string(kProlog) + "<methodCall>\r\n<methodName>download.getContainers</methodName>\r\n<params/>\r\n"
                                     "</methodCall>\r\n",
              std::string(client.m_request.GetDoc()));

    CMapStringToString params;
    params.SetAt("string", "a<b & 'c'");
    client.BuildMethodCall("m", params);
    EXPECT_NE(std::string::npos, std::string(client.m_request.GetDoc()).find("<string>a&lt;b &amp; 'c'</string>\r\n"));
}

// A reply document parsed as the client parses PostDebug's reply.
struct RecordCase
{
    const char* label;
    const char* reply;
    std::vector<std::vector<std::pair<const char*, const char*>>> records;
};

std::string Member(const char* name, const char* value)
{
    return std::string("<member>") + (name ? std::string("<name>") + name + "</name>" : "") + "<value>" +
           (value ? std::string("<string>") + value + "</string>" : "") + "</value></member>";
}

std::string Reply(const std::string& structs)
{
    return "<?xml version=\"1.0\"?><methodResponse><params><param><value><array><data>" + structs +
           "</data></array></value></param></params></methodResponse>";
}

TEST(WebServiceResponse, StructsBecomeRecords)
{
    const std::string two = Reply("<value><struct>" + Member("id", "1") + Member("name", "A") +
                                  "</struct></value><value><struct>" + Member("id", "2") + "</struct></value>");
    // Members that lack a name or a string store nothing, and take nothing from the member before.
    const std::string partial = Reply("<value><struct>" + Member("a", "1") + Member(nullptr, "2") +
                                      Member("b", nullptr) + Member("c", "3") + "</struct></value>");
    const std::string dropped =
        Reply("<value><struct>" + Member(nullptr, "x") + Member("y", nullptr) + "</struct></value>");
    const std::string value = std::string("<?xml version=\"1.0\"?>") +
                              "<methodResponse><params><param><value><array><data><value><struct>" +
                              "<member><value><string>v</string></value><name>n</name></member>" +
                              "</struct></value></data></array></value></param></params></methodResponse>";
    const RecordCase cases[] = {
        {"two structs", two.c_str(), {{{"id", "1"}, {"name", "A"}}, {{"id", "2"}}}},
        {"members without name or string", partial.c_str(), {{{"a", "1"}, {"c", "3"}}}},
        {"struct of incomplete members", dropped.c_str(), {}},
        {"value before name", value.c_str(), {{{"n", "v"}}}},
        {"fault reply", "<methodResponse><fault><value>x</value></fault></methodResponse>", {}},
        {"not XML", "<html><body>Not found", {}},
        {"empty", "", {}},
    };
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.label);
        CWebServiceClient client;
        client.m_response.LoadFromText(c.reply);
        CWebResultList results;
        client.ParseMethodResponse(results);
        ASSERT_EQ(c.records.size(), (size_t)results.GetCount());
        POSITION pos = results.GetHeadPosition();
        for (const auto& expected : c.records) {
            const CMapStringToString* record = results.GetNext(pos);
            EXPECT_EQ(expected.size(), (size_t)record->GetCount());
            for (const auto& kv : expected) {
                CString value;
                EXPECT_TRUE(record->Lookup(kv.first, value)) << kv.first;
                EXPECT_STREQ(kv.second, value);
            }
        }
        CWebServiceClient::ClearResults(results);
        EXPECT_TRUE(results.IsEmpty());
    }
}

// The server for the exchanges of this suite.
class WebServiceExchange : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_server = new StandInServer(600); }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_server->Started()) << s_server->Problem();
        ASSERT_EQ(200, s_server->Post("/control/mode?m=normal"));
        LoadLanguageFile("english"); // the tests' own folder holds the real files
    }

    void Aim(CWebServiceClient& client, const char* path)
    {
        client.SetEndpoint("127.0.0.1", s_server->Port(), path);
        client.BuildMethodCall("download.getItem", Params());
    }
    static CMapStringToString& Params()
    {
        static CMapStringToString params;
        params.SetAt("string", "dezireze.rev");
        return params;
    }
    // Runs the exchange, answering the message boxes it shows; their texts are kept.
    BOOL Exchange(CWebServiceClient& client, bool debug, std::vector<std::string>& messages)
    {
        DialogDriver driver(DialogDriver::EveryDialog(), [&](HWND dlg) {
            messages.push_back((LPCSTR)ItemText(dlg, 0xFFFF));
            Press(dlg, IDOK);
        });
        const BOOL ok = debug ? client.PostDebug() : client.Post();
        EXPECT_TRUE(driver.Unexpected().empty());
        return ok;
    }

    static StandInServer* s_server;
};
StandInServer* WebServiceExchange::s_server = nullptr;

TEST_F(WebServiceExchange, RequestCarriesAgentHeadersAndTheRequestText)
{
    CWebServiceClient client;
    Aim(client, CWebServiceClient::kServicePath);
    const int before = s_server->RequestCount();
    std::vector<std::string> messages;
    ASSERT_TRUE(Exchange(client, false, messages));
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(before + 1, s_server->RequestCount());
    const std::string logged = s_server->Request(before + 1);
    const size_t blank = logged.find("\r\n\r\n");
    ASSERT_NE(std::string::npos, blank);
    const std::string head = logged.substr(0, blank + 2);
    const std::string body = logged.substr(blank + 4);
    EXPECT_EQ(0u, head.find("POST /zorv/services/server.php HTTP/1.1\r\n")) << head;
    EXPECT_NE(std::string::npos, head.find("User-Agent: zorv web services\r\n")) << head;
    EXPECT_NE(std::string::npos, head.find("Content-Type: text/xml; charset=utf-8\r\n")) << head;
    EXPECT_EQ(std::string(client.m_request.GetDoc()), body);
    // The reply of download.getItem: the picture's bytes.
    ASSERT_GT(client.m_body.GetLength(), 8);
    EXPECT_EQ(0, memcmp(client.m_body.GetData(), "\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(200u, client.GetLastStatus());
}

TEST_F(WebServiceExchange, ContainersFillTheComboWithTheirIds)
{
    CWebServiceClient client;
    client.SetEndpoint("127.0.0.1", s_server->Port(), CWebServiceClient::kServicePath);
    client.BuildMethodCall("download.getContainers", CMapStringToString());
    std::vector<std::string> messages;
    ASSERT_TRUE(Exchange(client, true, messages));
    CWebResultList results;
    client.ParseMethodResponse(results);
    ASSERT_EQ(3, (int)results.GetCount());

    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, "STATIC", "combo host", WS_POPUP, CRect(0, 0, 200, 200), nullptr, 0));
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 150, 100), &parent, 1105));
    CWebServiceClient::FillContainerCombo(results, combo, "parentid", "2", "name", "id");
    ASSERT_EQ(2, combo.GetCount());
    CString name;
    combo.GetLBText(0, name);
    EXPECT_STREQ("Birthday cakes", name);
    EXPECT_EQ(11u, combo.GetItemData(0));
    combo.GetLBText(1, name);
    EXPECT_STREQ("Wedding cakes", name);
    EXPECT_EQ(12u, combo.GetItemData(1));
    CWebServiceClient::ClearResults(results);
    combo.DestroyWindow();
    parent.DestroyWindow();
}

TEST_F(WebServiceExchange, RepliesAreReadInPiecesOf1999Bytes)
{
    struct
    {
        int size;
        std::vector<UINT> pieces;
    } cases[] = {
        {1999, {1999, 0}},
        {0, {0}},
        {4003, {1999, 1999, 5, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        CWebServiceClient client;
        Aim(client, ("/size/" + std::to_string(c.size)).c_str());
        std::vector<std::string> messages;
        ASSERT_TRUE(Exchange(client, false, messages));
        EXPECT_EQ(c.pieces, client.GetReadPieces());
        ASSERT_EQ(c.size, client.m_body.GetLength());
        for (int i = 0; i < c.size; ++i)
            ASSERT_EQ(i % 251, client.m_body.GetData()[i]) << i;
    }
}

TEST_F(WebServiceExchange, FailuresAreShownAndReturnFalse)
{
    // Replies without a length are read with a smaller limit, so that the run stays short.
    const int small = 1000000;
    struct
    {
        const char* label;
        const char* path;
        int limit;           // 0: the client's own
        const char* message; // a part of the message shown
    } cases[] = {
        {"404 page", "/status/404", 0, "404"},
        {"server error", "/status/500", 0, "500"},
        {"redirect not followed", "/status/302", 0, "302"},
        {"Content-Length beyond the limit", "/lie/4000000000", 0, "too large"},
        {"reply shorter than its Content-Length", "/lie/5000", 0, ""},
        {"reply without Content-Length beyond the limit", "/nolength/1000001", small, "too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CWebServiceClient client;
        EXPECT_EQ(64 * 1024 * 1024, client.m_nMaxReply);
        if (c.limit != 0)
            client.m_nMaxReply = c.limit;
        Aim(client, c.path);
        std::vector<std::string> messages;
        EXPECT_FALSE(Exchange(client, false, messages));
        ASSERT_EQ(1u, messages.size());
        EXPECT_NE(std::string::npos, messages[0].find(c.message)) << messages[0];
        // Nothing large was reserved on the server's word.
        EXPECT_LE(client.m_body.GetCapacity(), small + 4096);
    }
    // The message is the user's language.
    LoadLanguageFile("french");
    {
        CWebServiceClient client;
        Aim(client, "/status/404");
        std::vector<std::string> messages;
        EXPECT_FALSE(Exchange(client, false, messages));
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ("Le service web a r\xe9pondu avec le statut HTTP 404.", messages[0]);
    }
    LoadLanguageFile("english");
    // The positive control: a reply of exactly the limit, without Content-Length, is read whole.
    CWebServiceClient client;
    client.m_nMaxReply = small;
    Aim(client, "/nolength/1000000");
    std::vector<std::string> messages;
    EXPECT_TRUE(Exchange(client, false, messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(small, client.m_body.GetLength());
}

TEST_F(WebServiceExchange, ClosedPortFailsQuicklyWithTheLibrarysMessage)
{
    // Port 1: nothing listens there.
    CWebServiceClient client;
    client.SetEndpoint("127.0.0.1", 1, CWebServiceClient::kServicePath);
    client.BuildMethodCall("download.getContainers", CMapStringToString());
    std::vector<std::string> messages;
    const DWORD start = GetTickCount();
    EXPECT_FALSE(Exchange(client, true, messages));
    EXPECT_LT(GetTickCount() - start, 10000u);
    ASSERT_EQ(1u, messages.size());
    EXPECT_FALSE(messages[0].empty());
    CWebResultList results;
    client.ParseMethodResponse(results);
    EXPECT_TRUE(results.IsEmpty());
}

TEST_F(WebServiceExchange, DebugCopyGoesToTheTemporaryFolder)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string copy = std::string(temp) + "struct.xml";
    DeleteFileA(copy.c_str());
    DeleteFileA("c:\\struct.xml");
    CWebServiceClient client;
    client.SetEndpoint("127.0.0.1", s_server->Port(), CWebServiceClient::kServicePath);
    client.BuildMethodCall("download.getContainers", CMapStringToString());
    std::vector<std::string> messages;
    ASSERT_TRUE(Exchange(client, true, messages));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("c:\\struct.xml"));
    DeleteFileA(copy.c_str());
}

// The message that starts a second exchange while the first one reads.
const UINT kSecondExchange = WM_APP + 7;
struct Reentry
{
    CWebServiceClient* client = nullptr;
    int calls = 0;
    BOOL result = TRUE;
    bool busy = false;
} g_reentry;

LRESULT CALLBACK ReentryProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kSecondExchange) {
        ++g_reentry.calls;
        g_reentry.busy = g_reentry.client->IsBusy();
        g_reentry.result = g_reentry.client->Post();
        return 0;
    }
    return DefWindowProcA(wnd, message, wParam, lParam);
}

TEST_F(WebServiceExchange, SecondExchangeDuringAReadIsRefused)
{
    ASSERT_EQ(200, s_server->Post("/control/mode?m=slow"));
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ReentryProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "NetReentry";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowA("NetReentry", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, wnd);
    CWebServiceClient client;
    Aim(client, CWebServiceClient::kServicePath); // the picture: more than one piece
    g_reentry = Reentry();
    g_reentry.client = &client;
    PostMessageA(wnd, kSecondExchange, 0, 0);
    std::vector<std::string> messages;
    const int before = s_server->RequestCount();
    EXPECT_TRUE(Exchange(client, false, messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(1, g_reentry.calls);
    EXPECT_TRUE(g_reentry.busy);
    EXPECT_FALSE(g_reentry.result);
    EXPECT_EQ(before + 1, s_server->RequestCount()); // the second one sent nothing
    EXPECT_GT(client.GetReadPieces().size(), 2u);    // the slow reply came in several pieces
    // Afterwards the client takes the next exchange.
    EXPECT_FALSE(client.IsBusy());
    ASSERT_EQ(200, s_server->Post("/control/mode?m=normal"));
    EXPECT_TRUE(Exchange(client, false, messages));
    DestroyWindow(wnd);
}

} // namespace

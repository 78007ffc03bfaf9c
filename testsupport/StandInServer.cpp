#include "testsupport/StandInServer.h"

#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string Env(const char* name)
{
    char value[1024] = "";
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value) : std::string();
}

// A Unix path as this program sees it, through the drive that maps the root.
std::string DosPath(const std::string& unix)
{
    std::string dos = "Z:" + unix;
    for (char& c : dos)
        if (c == '/')
            c = '\\';
    return dos;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return f ? s.str() : std::string();
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

} // namespace

StandInServer::StandInServer(int maxSeconds)
{
    const std::string source = Env("SL_SOURCE_DIR");
    const std::string binary = Env("SL_BINARY_DIR");
    if (source.empty() || binary.empty()) {
        m_problem = "SL_SOURCE_DIR and SL_BINARY_DIR are not set: run the tests under the test command";
        return;
    }
    static int serial = 0;
    char name[64];
    std::snprintf(name, sizeof name, "/testdata/standin-%lu-%d", (unsigned long)GetCurrentProcessId(), ++serial);
    m_unixDir = binary + name;
    m_dosDir = DosPath(m_unixDir);
    CreateDirectoryA(m_dosDir.c_str(), nullptr);
    const std::string portFile = m_unixDir + "/port";
    std::string cmd = "\"Z:\\usr\\bin\\python3\" \"" + source + "/net/tests/stand_in_server.py\" --port-file \"" +
                      portFile + "\" --log-dir \"" + m_unixDir + "/log\" --max-seconds " + std::to_string(maxSeconds);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        m_problem = "python3 could not be started (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    // python3 is a Unix program: Wine fills in no process information for it, and the
    // handles there are leftovers that may be this process's own. The port file is the
    // one sign of the server, so none of them is kept, waited on or closed.
    const std::string dosPort = DosPath(portFile);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 15000) {
        if (Exists(dosPort)) {
            const int port = std::atoi(ReadFile(dosPort).c_str());
            if (port > 0 && port < 65536) {
                m_port = (unsigned short)port;
                return;
            }
        }
        Sleep(20);
    }
    m_problem = "the stand-in server did not give its port within 15 s";
}

StandInServer::~StandInServer()
{
    if (m_port != 0)
        Post("/control/quit");
    if (!m_dosDir.empty()) {
        for (int n = RequestCount(); n > 0; --n)
            DeleteFileA((m_dosDir + "\\log\\request-" + std::to_string(n) + ".txt").c_str());
        RemoveDirectoryA((m_dosDir + "\\log").c_str());
        DeleteFileA((m_dosDir + "\\port").c_str());
        RemoveDirectoryA(m_dosDir.c_str());
    }
}

int StandInServer::Post(const char* path, const std::string& body) const
{
    if (m_port == 0)
        return 0;
    int status = 0;
    HINTERNET session = InternetOpenA("stand-in control", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection =
        session ? InternetConnectA(session, "127.0.0.1", m_port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0)
                : nullptr;
    HINTERNET request = connection ? HttpOpenRequestA(connection, "POST", path, nullptr, nullptr, nullptr,
                                                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
                                   : nullptr;
    if (request && HttpSendRequestA(request, nullptr, 0, (LPVOID)body.data(), (DWORD)body.size())) {
        DWORD code = 0, size = sizeof code;
        if (HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr))
            status = (int)code;
        char sink[512];
        DWORD read = 0;
        while (InternetReadFile(request, sink, sizeof sink, &read) && read > 0) {}
    }
    for (HINTERNET h : {request, connection, session})
        if (h)
            InternetCloseHandle(h);
    return status;
}

int StandInServer::RequestCount() const
{
    int n = 0;
    while (Exists(m_dosDir + "\\log\\request-" + std::to_string(n + 1) + ".txt"))
        ++n;
    return n;
}

std::string StandInServer::Request(int n) const
{
    return ReadFile(m_dosDir + "\\log\\request-" + std::to_string(n) + ".txt");
}

bool StandInServer::WaitForRequests(int count, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    while (RequestCount() < count) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

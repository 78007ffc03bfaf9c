// The stand-in for the design web service (net/tests/stand_in_server.py), started by a test
// on a free port of 127.0.0.1 and ended with it. It keeps each request it got as a file the
// test reads back. Starting waits for the server's port with a bound; a server that does
// not come is a failure of the test, never a skip.
#pragma once
#include <windows.h>

#include <string>

class StandInServer
{
public:
    // Starts the server (python3 from the machine, the script from SL_SOURCE_DIR); it ends
    // by itself after maxSeconds.
    explicit StandInServer(int maxSeconds = 300);
    // Asks the server to end (bounded) and removes its files.
    ~StandInServer();
    StandInServer(const StandInServer&) = delete;
    StandInServer& operator=(const StandInServer&) = delete;

    // Whether the server answered its start; Problem() says what went wrong when not.
    bool Started() const { return m_port != 0; }
    const std::string& Problem() const { return m_problem; }
    unsigned short Port() const { return m_port; }

    // Posts body to the path (such as "/control/mode?m=slow"); the HTTP status, 0 on failure.
    int Post(const char* path, const std::string& body = std::string()) const;
    // How many requests the server has kept, and the text of request n (from 1): its line,
    // headers, a blank line and its body; empty when there is none.
    int RequestCount() const;
    std::string Request(int n) const;
    // Waits (bounded) until the server has kept at least count requests.
    bool WaitForRequests(int count, DWORD timeoutMs = 10000) const;

private:
    std::string m_unixDir; // the server's folder, as the server names it
    std::string m_dosDir;  // the same, as this program names it
    std::string m_problem;
    unsigned short m_port = 0;
};

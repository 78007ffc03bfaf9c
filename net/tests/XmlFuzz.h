// The fuzzer of web service replies, shared by the short fixed-seed run in the tests and the
// long run of bench/xml_fuzz.cpp. It mutates valid XML-RPC replies (bytes changed, removed
// or repeated, markup inserted, nesting deepened) and hands each mutant to the XML document
// and to the reply's records, on a worker thread watched by the caller: a mutant that takes
// longer than the bound stops the run with its number and seed (a crash ends the process).
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "net/WebServiceClient.h"

namespace xmlfuzz {

struct Options
{
    uint64_t seed = 1;
    uint64_t maxMutants = 1000;
    DWORD maxSeconds = 60;
    DWORD boundMs = 2000; // per mutant
    std::function<void(uint64_t mutants)> progress;
};

struct Figures
{
    uint64_t mutants = 0;
    uint64_t parsed = 0;  // mutants the document took
    uint64_t records = 0; // records read from them
    double maxMs = 0;
    std::string failure;
};

inline std::string Member(const char* name, const char* value)
{
    return std::string("<member><name>") + name + "</name><value><string>" + value + "</string></value></member>";
}

inline std::vector<std::string> Seeds()
{
    const std::string head = "<?xml version=\"1.0\"?>\r\n<methodResponse><params><param><value><array><data>";
    const std::string tail = "</data></array></value></param></params></methodResponse>\r\n";
    std::string three;
    const char* rows[][3] = {
        {"11", "Birthday &amp; more", "2"}, {"12", "<![CDATA[<Wedding>]]>", "2"}, {"13", "x", "5"}};
    for (const auto& r : rows)
        three += "<value><struct>" + Member("id", r[0]) + Member("name", r[1]) + Member("parentid", r[2]) +
                 "</struct></value>\r\n";
    return {
        head + three + tail,
        head + tail,
        "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"b\">]><!-- c --><methodResponse><fault><value><struct>" +
            Member("faultCode", "4") + "</struct></value></fault></methodResponse>",
        head + "<value><struct><member><name>id</name><value>7</value></member></struct></value>" + tail,
    };
}

class Random
{
public:
    explicit Random(uint64_t seed) : m_state(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    uint32_t Next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (uint32_t)(m_state >> 33);
    }
    size_t Below(size_t n) { return n == 0 ? 0 : Next() % n; }

private:
    uint64_t m_state;
};

inline std::string Mutate(const std::string& seed, Random& r)
{
    std::string s = seed;
    static const char* const kPieces[] = {
        "<",     ">",  "/", "</", "/>",      "<!",       "<?",       "<![CDATA[", "]]>",    "-->",      "&",
        "&amp;", "\"", "'", "=",  "<value>", "</value>", "<struct>", "<member>",  "<name>", "<string>", "\r\n"};
    const int steps = 1 + (int)r.Below(4);
    for (int i = 0; i < steps; ++i) {
        const size_t at = r.Below(s.size() + 1);
        switch (r.Below(6)) {
        case 0: // a byte changed
            if (!s.empty())
                s[r.Below(s.size())] = (char)r.Next();
            break;
        case 1: // a run removed
            s.erase(at, r.Below(40));
            break;
        case 2: { // a run repeated
            const std::string run = s.substr(at, r.Below(200));
            s.insert(at, run);
            break;
        }
        case 3: // markup inserted
            s.insert(at, kPieces[r.Below(sizeof kPieces / sizeof kPieces[0])]);
            break;
        case 4: { // nesting deepened, sometimes past any sane depth
            const size_t depth = r.Below(2) ? r.Below(300) : 1000 + r.Below(20000);
            std::string open, close;
            for (size_t d = 0; d < depth; ++d) {
                open += "<value>";
                close += "</value>";
            }
            s.insert(at, open + (r.Below(2) ? close : std::string()));
            break;
        }
        default: // cut short
            s.resize(at);
            break;
        }
    }
    return s;
}

// One mutant through everything the client does with a reply.
inline void Exercise(const std::string& text, Figures& f)
{
    CWebServiceClient client;
    if (client.m_response.LoadFromText(text.c_str()))
        ++f.parsed;
    CWebResultList results;
    client.ParseMethodResponse(results);
    f.records += (uint64_t)results.GetCount();
    CWebServiceClient::ClearResults(results);
    // Walk every element and read its text.
    CXmlNode& x = client.m_response;
    x.ResetPos();
    int guard = 0;
    while (x.FindElem() && ++guard < 100000) {
        x.GetData();
        while (x.FindChildElem())
            x.GetChildData();
        if (!x.IntoElem())
            break;
    }
}

struct Shared
{
    Options options;
    Figures figures;
    volatile LONG current = 0;    // the mutant being worked on
    volatile DWORD startedAt = 0; // when it started
    volatile LONG done = 0;
    volatile LONG stop = 0;
};

inline DWORD WINAPI Worker(LPVOID p)
{
    Shared& s = *static_cast<Shared*>(p);
    const std::vector<std::string> seeds = Seeds();
    Random r(s.options.seed);
    const DWORD begin = GetTickCount();
    for (uint64_t i = 0; i < s.options.maxMutants && !s.stop; ++i) {
        if (GetTickCount() - begin > s.options.maxSeconds * 1000)
            break;
        const std::string mutant = Mutate(seeds[r.Below(seeds.size())], r);
        s.startedAt = GetTickCount();
        InterlockedExchange(&s.current, (LONG)i + 1);
        const DWORD t0 = GetTickCount();
        Exercise(mutant, s.figures);
        const double ms = (double)(GetTickCount() - t0);
        if (ms > s.figures.maxMs)
            s.figures.maxMs = ms;
        s.figures.mutants = i + 1;
        InterlockedExchange(&s.current, 0);
        if (s.options.progress && (i + 1) % 500 == 0)
            s.options.progress(i + 1);
    }
    InterlockedExchange(&s.done, 1);
    return 0;
}

// Runs the mutants; a failure names the mutant that overran its bound.
inline Figures Run(const Options& options)
{
    Shared* s = new Shared;
    s->options = options;
    HANDLE thread = CreateThread(nullptr, 8 << 20, Worker, s, 0, nullptr);
    if (thread == nullptr) {
        Figures f;
        f.failure = "no worker thread";
        delete s;
        return f;
    }
    for (;;) {
        if (WaitForSingleObject(thread, 50) == WAIT_OBJECT_0)
            break;
        const LONG current = s->current;
        if (current != 0 && GetTickCount() - s->startedAt > options.boundMs && s->current == current) {
            char text[160];
            std::snprintf(text, sizeof text, "mutant %ld of seed %llu took more than %lu ms", (long)current,
                          (unsigned long long)options.seed, (unsigned long)options.boundMs);
            Figures f = s->figures;
            f.failure = text;
            // A worker that hangs cannot be joined: it and its state are left behind.
            CloseHandle(thread);
            return f;
        }
    }
    CloseHandle(thread);
    Figures f = s->figures;
    delete s;
    return f;
}

} // namespace xmlfuzz

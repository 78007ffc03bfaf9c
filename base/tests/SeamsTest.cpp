// The open-URL and sound seams: the browser command line, what is refused before anything
// starts, the real opener's order (shell, then the registry's browser) on fake starters, and
// the sound path. Nothing here reaches a shell, the registry's browser or the sound device.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/OpenUrl.h"
#include "base/Sound.h"

namespace {

std::vector<std::string> g_calls;

std::string Call(const char* what, LPCTSTR text, int show)
{
    return std::string(what) + "|" + text + "|" + std::to_string(show);
}

// Puts the real seams back whatever a test did.
struct SeamsRestored
{
    ~SeamsRestored()
    {
        SetOpenUrlHandler(nullptr);
        SetUrlStarters(UrlStarters());
        SetSoundHandler(nullptr);
    }
};

TEST(UrlOpenCommand, QuotesTheAddressAndRefusesWhatCouldLeaveTheQuotes)
{
    const CString longUrl = "http://example.com/" + CString('a', 2000 - 19);
    ASSERT_EQ(2000, longUrl.GetLength());
    struct
    {
        const char* what;
        const char* registryCommand;
        CString url;
        bool built;
        CString command;
    } cases[] = {
        {"quoted %1", "winebrowser.exe \"%1\"", "http://example.com/a?b=1&c=2", true,
         "winebrowser.exe \"http://example.com/a?b=1&c=2\""},
        {"quoted %1 with arguments around it", "\"C:\\x\\browser.exe\" -url \"%1\" -new", "http://x.org", true,
         "\"C:\\x\\browser.exe\" -url \"http://x.org\" -new"},
        {"unquoted %1", "browser.exe %1", "http://x.org", true, "browser.exe \"http://x.org\""},
        {"no %1", "winebrowser.exe -nohome", "http://x.org", true, "winebrowser.exe -nohome \"http://x.org\""},
        {"no %1, trailing blanks", "browser.exe  ", "http://x.org", true, "browser.exe \"http://x.org\""},
        {"spaces stay inside the quotes", "browser.exe \"%1\"", "file:///C:/My Cakes/a b.htm", true,
         "browser.exe \"file:///C:/My Cakes/a b.htm\""},
        {"a %1 in the address is not replaced again", "b.exe \"%1\"", "http://x.org/%1", true,
         "b.exe \"http://x.org/%1\""},
        {"2,000 characters", "b.exe \"%1\"", longUrl, true, "b.exe \"" + longUrl + "\""},
        {"double quote", "b.exe \"%1\"", "http://x.org/\" & calc.exe & \"", false, "untouched"},
        {"new line", "b.exe \"%1\"", "http://x.org/\ncalc.exe", false, "untouched"},
        {"control character 0x01", "b.exe \"%1\"", "http://x.org/\x01", false, "untouched"},
        {"delete character", "b.exe %1", "http://x.org/\x7F", false, "untouched"},
        {"tab", "b.exe %1", "http://x.org/\t", false, "untouched"},
        {"embedded zero", "b.exe %1", CString("http://x.org/\0calc", 18), false, "untouched"},
        {"empty address", "b.exe \"%1\"", "", false, "untouched"},
        {"blank command", "   ", "http://x.org", false, "untouched"},
    };
    for (const auto& c : cases) {
        CString command = "untouched";
        EXPECT_EQ(c.built, BuildUrlOpenCommand(c.registryCommand, c.url, command)) << c.what;
        EXPECT_STREQ(c.command, command) << c.what;
    }
}

INT_PTR RecordingHandler(LPCTSTR url, int show)
{
    g_calls.push_back(Call("handler", url, show));
    return 42;
}

TEST(OpenUrl, RefusedAddressesReachNothing)
{
    SeamsRestored restore;
    g_calls.clear();
    EXPECT_EQ(nullptr, SetOpenUrlHandler(RecordingHandler));
    for (LPCTSTR url : {"http://x.org/\"a\"", "http://x.org/\ncalc", "http://x.org/\x01", "", (LPCTSTR) nullptr}) {
        const INT_PTR result = OpenUrl(url);
        EXPECT_LE(result, 32) << (url ? url : "(null)");
    }
    EXPECT_TRUE(g_calls.empty()) << g_calls.front();
    // The control: an ordinary address reaches the handler, with its show command.
    EXPECT_EQ(42, OpenUrl("http://x.org/cakes", SW_SHOWMAXIMIZED));
    EXPECT_EQ(std::vector<std::string>{Call("handler", "http://x.org/cakes", SW_SHOWMAXIMIZED)}, g_calls);
    EXPECT_EQ(RecordingHandler, SetOpenUrlHandler(nullptr));
}

// Fake starters: what the shell answers, what the registry holds and whether a start works.
INT_PTR g_shellResult = 0;
const char* g_registryCommand = nullptr;
bool g_startWorks = false;

INT_PTR FakeShell(LPCTSTR url, int show)
{
    g_calls.push_back(Call("shell", url, show));
    return g_shellResult;
}

bool FakeRegistry(CString& command)
{
    g_calls.push_back("registry");
    if (g_registryCommand == nullptr)
        return false;
    command = g_registryCommand;
    return true;
}

bool FakeStart(const CString& commandLine, int show)
{
    g_calls.push_back(Call("start", commandLine, show));
    return g_startWorks;
}

TEST(OpenUrl, ShellFirstThenTheRegisteredBrowserWithTheQuotedAddress)
{
    SeamsRestored restore;
    SetOpenUrlHandler(nullptr);
    SetUrlStarters(UrlStarters{FakeShell, FakeRegistry, FakeStart});
    const char* url = "http://x.org/a b";
    struct
    {
        const char* what;
        INT_PTR shell;
        const char* registry;
        bool startWorks;
        bool opened;
        INT_PTR result; // when not opened
        std::vector<std::string> calls;
    } cases[] = {
        {"the shell opens it", 42, "browser.exe \"%1\"", true, true, 0, {Call("shell", url, SW_SHOWNORMAL)}},
        {"the shell fails: the browser starts",
         SE_ERR_NOASSOC,
         "browser.exe \"%1\"",
         true,
         true,
         0,
         {Call("shell", url, SW_SHOWNORMAL), "registry",
          Call("start", "browser.exe \"http://x.org/a b\"", SW_SHOWNORMAL)}},
        {"no browser registered: the shell's answer",
         SE_ERR_NOASSOC,
         nullptr,
         true,
         false,
         SE_ERR_NOASSOC,
         {Call("shell", url, SW_SHOWNORMAL), "registry"}},
        {"the browser does not start: the shell's answer",
         SE_ERR_FNF,
         "browser.exe",
         false,
         false,
         SE_ERR_FNF,
         {Call("shell", url, SW_SHOWNORMAL), "registry",
          Call("start", "browser.exe \"http://x.org/a b\"", SW_SHOWNORMAL)}},
    };
    for (const auto& c : cases) {
        g_calls.clear();
        g_shellResult = c.shell;
        g_registryCommand = c.registry;
        g_startWorks = c.startWorks;
        const INT_PTR result = OpenUrl(url);
        if (c.opened)
            EXPECT_GT(result, 32) << c.what;
        else
            EXPECT_EQ(c.result, result) << c.what;
        EXPECT_EQ(c.calls, g_calls) << c.what;
    }
    // A refused address never reaches the starters, even with no handler in between.
    g_calls.clear();
    g_shellResult = SE_ERR_NOASSOC;
    EXPECT_LE(OpenUrl("http://x.org/\" & calc"), 32);
    EXPECT_TRUE(g_calls.empty());
}

TEST(OpenUrl, ReadsTheBrowserCommandOfTheRegistry)
{
    // The real registry (".htm" and its open command), with the shell and the start faked.
    SeamsRestored restore;
    SetOpenUrlHandler(nullptr);
    SetUrlStarters(UrlStarters{FakeShell, nullptr, FakeStart});
    g_calls.clear();
    g_shellResult = SE_ERR_NOASSOC;
    g_startWorks = true;
    EXPECT_GT(OpenUrl("http://x.org/a b"), 32);
    ASSERT_EQ(2u, g_calls.size()) << "no browser command read from the registry";
    const std::string start = g_calls[1];
    const std::string tail = " \"http://x.org/a b\"|1";
    ASSERT_GT(start.size(), tail.size() + 7);
    EXPECT_EQ("start|", start.substr(0, 6));
    EXPECT_EQ(tail, start.substr(start.size() - tail.size())) << start;
    EXPECT_EQ(std::string::npos, start.find("%1")) << start;
}

void RecordingSound(LPCTSTR path) { g_calls.push_back(Call("sound", path, 0)); }

TEST(PlayAppSound, PlaysTheFileOfTheWavsFolderThroughTheHandler)
{
    SeamsRestored restore;
    g_calls.clear();
    EXPECT_EQ(nullptr, SetSoundHandler(RecordingSound));
    PlayAppSound("click.wav");
    EXPECT_EQ(std::vector<std::string>{Call("sound", "wavs\\click.wav", 0)}, g_calls);
    EXPECT_EQ(RecordingSound, SetSoundHandler(nullptr));
}

} // namespace

#include "base/OpenUrl.h"

#include <shellapi.h>

#include <vector>

namespace {

INT_PTR ShellOpen(LPCTSTR url, int showCommand)
{
    return (INT_PTR)ShellExecuteA(nullptr, "open", url, nullptr, nullptr, showCommand);
}

// The default value of a key of HKEY_CLASSES_ROOT as text, whatever its length; an expandable
// value comes expanded (asking for REG_SZ alone is how RegGetValue expands it).
bool ReadClassesText(LPCTSTR key, CString& text)
{
    const DWORD flags = RRF_RT_REG_SZ;
    DWORD size = 0;
    LONG result = RegGetValueA(HKEY_CLASSES_ROOT, key, nullptr, flags, nullptr, nullptr, &size);
    // The value may grow between the two reads: a few tries, then give up.
    for (int attempt = 0; attempt < 4 && (result == ERROR_SUCCESS || result == ERROR_MORE_DATA); ++attempt) {
        std::vector<char> buffer(size + 1, 0);
        size = (DWORD)buffer.size();
        result = RegGetValueA(HKEY_CLASSES_ROOT, key, nullptr, flags, nullptr, buffer.data(), &size);
        if (result == ERROR_SUCCESS) {
            text = buffer.data();
            return !text.IsEmpty();
        }
    }
    return false;
}

bool ReadBrowserCommand(CString& command)
{
    CString htmlClass;
    if (!ReadClassesText(".htm", htmlClass))
        return false;
    return ReadClassesText(htmlClass + "\\shell\\open\\command", command);
}

bool StartCommand(const CString& commandLine, int showCommand)
{
    // CreateProcess may write into the command line: hand it a copy.
    std::vector<char> line((LPCTSTR)commandLine, (LPCTSTR)commandLine + commandLine.GetLength() + 1);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = (WORD)showCommand;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

UrlStarters g_starters = {};
OpenUrlHandler g_handler = nullptr;

INT_PTR OpenWithBrowser(LPCTSTR url, int showCommand)
{
    INT_PTR (*shellOpen)(LPCTSTR, int) = g_starters.shellOpen ? g_starters.shellOpen : ShellOpen;
    bool (*readCommand)(CString&) = g_starters.readBrowserCommand ? g_starters.readBrowserCommand : ReadBrowserCommand;
    bool (*start)(const CString&, int) = g_starters.startCommand ? g_starters.startCommand : StartCommand;

    const INT_PTR shell = shellOpen(url, showCommand);
    if (shell > 32)
        return shell;
    CString registryCommand, command;
    if (!readCommand(registryCommand) || !BuildUrlOpenCommand(registryCommand, url, command))
        return shell;
    return start(command, showCommand) ? kUrlStarted : shell;
}

} // namespace

bool IsOpenableUrl(LPCTSTR url)
{
    if (url == nullptr || *url == 0)
        return false;
    for (const char* c = url; *c != 0; ++c) {
        const unsigned char byte = (unsigned char)*c;
        if (byte == '"' || byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

bool BuildUrlOpenCommand(const CString& registryCommand, const CString& url, CString& command)
{
    // An embedded zero would cut the address short without anyone seeing it.
    if (!IsOpenableUrl(url) || (int)strlen(url) != url.GetLength())
        return false;
    CString base(registryCommand);
    base.TrimRight();
    if (base.IsEmpty())
        return false; // a blank command would try to run the address itself
    const CString quoted = "\"" + url + "\"";
    int at = registryCommand.Find("\"%1\"");
    int width = 4;
    if (at < 0) {
        at = registryCommand.Find("%1");
        width = 2;
    }
    if (at < 0)
        command = base + " " + quoted;
    else
        command = registryCommand.Left(at) + quoted + registryCommand.Mid(at + width);
    return true;
}

INT_PTR OpenUrl(LPCTSTR url, int showCommand)
{
    if (!IsOpenableUrl(url))
        return kUrlRefused;
    return g_handler ? g_handler(url, showCommand) : OpenWithBrowser(url, showCommand);
}

OpenUrlHandler SetOpenUrlHandler(OpenUrlHandler handler)
{
    OpenUrlHandler previous = g_handler;
    g_handler = handler;
    return previous;
}

UrlStarters SetUrlStarters(const UrlStarters& starters)
{
    UrlStarters previous = g_starters;
    g_starters = starters;
    return previous;
}

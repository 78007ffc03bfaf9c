// Opening a web address with the user's browser, through one function that tests replace.
// The rule: an address reaches a command line only inside double quotes, and an address that
// could break out of them (a double quote) or hide a second line (a control character) is
// refused before anything is started. No test may start a browser: tests replace the opener
// (SetOpenUrlHandler) or the starters below it (SetUrlStarters).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "fw/fw.h"

// Opens an address with the registered browser: the shell's "open" first; when that fails,
// the ".htm" open command of the registry with the address in double quotes, started with
// CreateProcess. An address holding a double quote or a control character is refused
// (nothing started). Returns a value above 32 on success, as the shell does.
INT_PTR OpenUrl(LPCTSTR url, int showCommand = SW_SHOWNORMAL);
typedef INT_PTR (*OpenUrlHandler)(LPCTSTR url, int showCommand);
// Tests replace it; returns the previous one (nullptr = the real one).
OpenUrlHandler SetOpenUrlHandler(OpenUrlHandler handler);

// Pure: the command line that runs the registry's ".htm" open command (e.g.
// `winebrowser.exe "%1"` or `"C:\x\browser.exe" -url "%1"` or a command without %1) with the
// address. The address is always in double quotes (a "%1" already in quotes is replaced inside
// them; without %1 the quoted address is appended); false (command untouched) for an empty
// address or one with a double quote or a control character, and for a blank command (it
// would run the address itself). Built in a CString, any length.
bool BuildUrlOpenCommand(const CString& registryCommand, const CString& url, CString& command);

// Whether an address may be opened at all: not empty, no double quote, no control character.
bool IsOpenableUrl(LPCTSTR url);

// What OpenUrl returns when it refuses an address (as the shell's "access denied").
const INT_PTR kUrlRefused = SE_ERR_ACCESSDENIED;
// What the real opener returns when the registry's browser command was started.
const INT_PTR kUrlStarted = 33;

// The starters of the real opener. A null member stands for the real one: the shell's "open"
// verb, the ".htm" open command of HKEY_CLASSES_ROOT (any length), CreateProcess.
struct UrlStarters
{
    INT_PTR (*shellOpen)(LPCTSTR url, int showCommand);
    bool (*readBrowserCommand)(CString& command);
    bool (*startCommand)(const CString& commandLine, int showCommand);
};
// Tests replace them; returns the previous ones.
UrlStarters SetUrlStarters(const UrlStarters& starters);

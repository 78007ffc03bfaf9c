// Per-thread state of the window layer (internal).
#pragma once
#include <windows.h>
#include <unordered_map>

class CWnd;
class CWinThread;
class CMenu;

struct FwThreadState
{
    ~FwThreadState();
    MSG lastSent = {};                     // the message being handled (for Default)
    CWnd* pWndInit = nullptr;              // the object the creation hook attaches next
    HHOOK hHook = nullptr;                 // this thread's creation hook
    HWND hLockoutNotify = nullptr;         // a dialog whose notifications UpdateData holds back
    int pumpDepth = 0;                     // nesting of message pumps
    CWinThread* pThread = nullptr;         // the thread object of this thread
    std::unordered_map<HWND, CWnd*> temps; // temporary window wrappers
    std::unordered_map<HMENU, CMenu*> tempMenus;
};

FwThreadState& FwGetThreadState();

// COM on this program's threads: ComOwner, the one owner of a COM interface pointer (released
// exactly once, moved but never copied), and EnsureCom, the one way a thread initialises COM.
//
// The rule of EnsureCom: a thread that uses COM holds a ComScope from EnsureCom() for as long
// as it holds COM pointers, and declares it before them, so that every pointer is released
// before its own uninitialise. The scope uninitialises only what its own initialise did:
// - the UI thread: the application holds one scope from start-up to exit, so every later
//   scope on that thread only counts up and down again;
// - a worker: its thread function holds one scope around all its work, so COM ends with the
//   worker and never stays initialised on a thread that is gone;
// - a function that may run on either (the settings store, the design file): holds its own
//   scope for the call, which is cheap inside an outer one and complete without one.
// A thread already in the multi-threaded apartment keeps it: COM is usable there, and the
// scope leaves that apartment alone. A scope belongs to the thread that made it.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <unknwn.h>

template <class T> class ComOwner
{
public:
    ComOwner() : m_p(nullptr) {}
    explicit ComOwner(T* adopted) : m_p(adopted) {} // takes over the caller's reference
    ComOwner(ComOwner&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ComOwner& operator=(ComOwner&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }
    ~ComOwner() { Reset(); }

    // The slot for a T** out-parameter; what was held is released first, so a second call
    // into the same owner never leaks the first result.
    T** Put()
    {
        Reset();
        return &m_p;
    }
    // Releases what is held and takes over `adopted` (no AddRef).
    void Reset(T* adopted = nullptr)
    {
        T* old = m_p;
        m_p = adopted;
        if (old != nullptr)
            old->Release();
    }
    // Gives the reference to the caller, who releases it.
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }

    ComOwner(const ComOwner&) = delete;
    ComOwner& operator=(const ComOwner&) = delete;

private:
    T* m_p;
};

// COM initialised on the thread that made it, for as long as the scope lives. Usable()
// (or the bool test) says whether COM can be used on this thread. Asking a temporary does not
// compile: `if (!EnsureCom())` would uninitialise again before the COM work starts.
class ComScope
{
public:
    ComScope() : m_usable(false), m_initialised(false), m_thread(0) {}
    ComScope(ComScope&& other) noexcept;
    ComScope& operator=(ComScope&& other) noexcept;
    ~ComScope() { End(); }

    bool Usable() const& { return m_usable; }
    bool Usable() && = delete;
    explicit operator bool() const& { return m_usable; }
    explicit operator bool() && = delete;

    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    friend ComScope EnsureCom();
    void End();

    bool m_usable;
    bool m_initialised; // this scope's CoInitialize succeeded and awaits its CoUninitialize
    DWORD m_thread;
};

// Initialises COM (apartment-threaded) on the calling thread for the scope's life.
[[nodiscard]] ComScope EnsureCom();

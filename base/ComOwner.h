// One owner per COM interface pointer: released exactly once, never copied.
#pragma once

#include <windows.h>
#include <unknwn.h>

template <class T> class CComOwner
{
public:
    CComOwner() : m_p(NULL) {}
    explicit CComOwner(T* p) : m_p(p) {}
    ~CComOwner() { Release(); }

    // Releases what is held now and gives the slot to fill (for the T** out-parameters).
    T** Receive()
    {
        Release();
        return &m_p;
    }
    void Release()
    {
        if (m_p) {
            T* p = m_p;
            m_p = NULL;
            p->Release();
        }
    }
    T* Detach()
    {
        T* p = m_p;
        m_p = NULL;
        return p;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }

private:
    CComOwner(const CComOwner&) = delete;
    CComOwner& operator=(const CComOwner&) = delete;

    T* m_p;
};

#include "base/ComOwner.h"

ComScope::ComScope(ComScope&& other) noexcept
    : m_usable(other.m_usable), m_initialised(other.m_initialised), m_thread(other.m_thread)
{
    other.m_usable = false;
    other.m_initialised = false;
}

ComScope& ComScope::operator=(ComScope&& other) noexcept
{
    if (this != &other) {
        End();
        m_usable = other.m_usable;
        m_initialised = other.m_initialised;
        m_thread = other.m_thread;
        other.m_usable = false;
        other.m_initialised = false;
    }
    return *this;
}

void ComScope::End()
{
    // Uninitialising on another thread would end that thread's COM, not ours: a scope that
    // wandered off leaves its count to the thread's end.
    if (m_initialised && m_thread == GetCurrentThreadId())
        CoUninitialize();
    m_initialised = false;
    m_usable = false;
}

ComScope EnsureCom()
{
    ComScope scope;
    scope.m_thread = GetCurrentThreadId();
    const HRESULT hr = CoInitialize(nullptr);
    // S_OK and S_FALSE both count up and are paired; RPC_E_CHANGED_MODE means the thread is
    // in the multi-threaded apartment, usable, and not ours to end.
    scope.m_initialised = SUCCEEDED(hr);
    scope.m_usable = SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
    return scope;
}

#include "fw/fwobject.h"
#include "fw/fwexcept.h"
#include <stdarg.h>
#include <stdio.h>

CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, NULL, NULL};

namespace {
volatile LONG g_liveObjects = 0;
}

CObject::CObject() { InterlockedIncrement(&g_liveObjects); }

CObject::~CObject() { InterlockedDecrement(&g_liveObjects); }

LONG FwLiveObjects() { return g_liveObjects; }

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive&) {}

CObject* CRuntimeClass::CreateObject()
{
    if (m_pfnCreateObject == NULL)
        return NULL;
    try {
        return m_pfnCreateObject();
    } catch (const std::bad_alloc&) {
        return NULL;
    }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c != NULL; c = c->m_pBaseClass)
        if (c == base)
            return TRUE;
    return FALSE;
}

void FwTrace(LPCTSTR format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    OutputDebugStringA(buffer);
}

void FwAssertFailed(const char* file, int line, const char* expr)
{
    FwTrace("%s(%d): assertion failed: %s\n", file, line, expr);
}

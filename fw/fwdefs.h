// Basic types and debugging macros of the framework layer.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <stddef.h>

// Opaque iteration handle of lists and maps.
struct __POSITION
{};
typedef __POSITION* POSITION;
// Start value for map walks before the first GetNextAssoc.
#define BEFORE_START_POSITION ((POSITION)-1L)

#ifndef AFXAPI
#define AFXAPI
#endif

// Writes a formatted line to the debugger (OutputDebugString) in every build.
void FwTrace(LPCTSTR format, ...);
// Reports a failed assertion (debugger output; the program goes on).
void FwAssertFailed(const char* file, int line, const char* expr);

#ifdef _DEBUG
#define ASSERT(f)                                   \
    do {                                            \
        if (!(f))                                   \
            FwAssertFailed(__FILE__, __LINE__, #f); \
    } while (0)
#define VERIFY(f) ASSERT(f)
#define TRACE(...) FwTrace(__VA_ARGS__)
#else
// Unevaluated, but the names in them still count as used.
template <class... A> inline void FwNoTrace(const A&...) {}
#define ASSERT(f) ((void)sizeof(!(f)))
#define VERIFY(f) ((void)(f))
#define TRACE(...) FwNoTrace(__VA_ARGS__)
#endif
#define TRACE0(s) TRACE("%s", s)
#define ASSERT_VALID(p) ((void)0)
#define DEBUG_ONLY(f) ((void)0)
#define ASSERT_KINDOF(cls, p) ASSERT((p)->IsKindOf(RUNTIME_CLASS(cls)))

// Module whose resources CString::LoadString and the GDI loaders read (the exe by default).
HINSTANCE FwGetResourceHandle();
void FwSetResourceHandle(HINSTANCE module);

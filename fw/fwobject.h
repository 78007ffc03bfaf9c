// CObject and run-time class records: type tests, creation by class record and a count of
// live objects for leak tests.
#pragma once
#include "fw/fwdefs.h"

class CObject;
class CArchive;

// One record per class that declares it; records are constant data, so they are
// ready before any constructor of a global object runs.
struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                  // 0xFFFF unless serialisable
    CObject* (*m_pfnCreateObject)(); // NULL unless the class is creatable
    CRuntimeClass* m_pBaseClass;     // NULL for CObject

    // A new object of the class, or NULL when the class is not creatable or memory ran out.
    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject
{
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();

    BOOL IsKindOf(const CRuntimeClass* cls) const;
    BOOL IsSerializable() const;
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}

    static CRuntimeClass classCObject;

protected:
    CObject();
    // Framework objects own handles and pointers: not copyable unless a class says so.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// Framework objects alive right now, all threads (for leak tests): each construction
// counts one, each destruction takes it back.
LONG FwLiveObjects();

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)         \
public:                                     \
    static CRuntimeClass class##class_name; \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, pfnNew)                              \
    CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class_name), schema, pfnNew, \
                                                   RUNTIME_CLASS(base_class_name)};                      \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)           \
    CObject* class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)     \
    CObject* class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)

// Casts p to class_name* when the object is of that class or derived from it, else NULL.
#define DYNAMIC_DOWNCAST(class_name, p) \
    ((p) != NULL && (p)->IsKindOf(RUNTIME_CLASS(class_name)) ? static_cast<class_name*>(p) : NULL)
#define STATIC_DOWNCAST(class_name, p) (static_cast<class_name*>(p))

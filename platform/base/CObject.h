// CObject with run-time class information (name and base class; no dynamic creation), and the
// exceptions that can reach a host.
#pragma once

#include "platform/base/WinTypes.h"

#include <stdexcept>
#include <string>

class CObject;

struct CRuntimeClass
{
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;

    BOOL IsDerivedFrom(const CRuntimeClass* base) const
    {
        for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
            if (c == base)
                return TRUE;
        return FALSE;
    }
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    const CRuntimeClass* GetRuntimeClass() const override                                          \
    {                                                                                              \
        return RUNTIME_CLASS(class_name);                                                          \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name),          \
                                                         RUNTIME_CLASS(base_class_name)}

class CObject
{
public:
    static const CRuntimeClass classCObject;
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    BOOL IsKindOf(const CRuntimeClass* c) const { return GetRuntimeClass()->IsDerivedFrom(c); }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// A framework array's bounds check failed: an index out of range. Thrown by value; catch it as
// CInvalidArgException or std::invalid_argument. what() says which index and which size.
class CInvalidArgException : public std::invalid_argument
{
public:
    explicit CInvalidArgException(const std::string& what) : std::invalid_argument(what) {}
};

[[noreturn]] void AfxThrowInvalidArgException(const std::string& what);

// A COM-style byte stream and the shell's in-memory stream (SHCreateMemStream).
#pragma once

#include "platform/base/WinTypes.h"

union LARGE_INTEGER {
    struct
    {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
};

union ULARGE_INTEGER {
    struct
    {
        DWORD LowPart;
        DWORD HighPart;
    } u;
    ULONGLONG QuadPart;
};

constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;

// Reference counted: the creator holds one reference and calls Release when done.
class IStream
{
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual HRESULT Read(void* data, ULONG count, ULONG* read) = 0;
    virtual HRESULT Write(const void* data, ULONG count, ULONG* written) = 0;
    virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;

protected:
    virtual ~IStream() = default;
};

// A stream over a copy of `data`; null only when the copy cannot be allocated.
IStream* SHCreateMemStream(const BYTE* data, UINT size);

// The walk over a list that the private-profile functions answer (section names or section
// lines): characters from 0 up to the answered count, each NUL ending one item. Shared by the
// three skin loaders.
#pragma once

#include "platform/base/CString.h"

#include <cstddef>

namespace skin {

// Calls fn(const wchar_t* item, size_t length) for each item, in order.
template <class Fn> void ForEachListItem(const wchar_t* list, size_t count, Fn fn)
{
    size_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        if (list[i] != 0)
            continue;
        fn(list + start, i - start);
        start = i + 1;
    }
}

// A section line split at its first '=': a line without one has the name "" and is all value.
inline void SplitLine(const CString& line, CString& name, CString& value)
{
    const int eq = line.Find(L'=');
    name = eq < 0 ? CString() : line.Left(eq);
    value = eq < 0 ? line : line.Mid(eq + 1);
}

} // namespace skin

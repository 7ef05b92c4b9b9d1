// Every file the library opens by a caller's path goes through here. A skin authored on
// Windows names its files with backslashes and in whatever letter case its author typed:
// backslashes become slashes, and where the exact name does not exist a name that differs
// only in letter case is taken, folder by folder.
#pragma once

#include "platform/base/CString.h"

#include <cstdio>
#include <string>

namespace platform {

// The UTF-8 path to use on disk for `path`. Existing files and folders are found whatever
// the letter case of each part; parts that exist in no case are kept as written, so that a
// new file can be created under its given name.
std::string ResolvePath(const CString& path);

// fopen of the resolved path; `mode` as for fopen ("rb", "wb" ...).
FILE* OpenFile(const CString& path, const char* mode);

} // namespace platform

// The C runtime's wide entry points, through the resolver.
FILE* _wfopen(const wchar_t* path, const wchar_t* mode);
int _waccess(const wchar_t* path, int mode);

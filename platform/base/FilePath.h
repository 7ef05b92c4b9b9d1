// Every file the library opens by a caller's path goes through here. A skin authored on
// Windows names its files with backslashes and in whatever letter case its author typed:
// backslashes become slashes, and where the exact name does not exist a name that differs
// only in letter case is taken, folder by folder. That guess is for reading only: a file
// written, created or deleted is named exactly as the caller wrote it, since "media" and
// "Media", or "x\y" and "x/y", are different places on Linux and a guess could overwrite or
// delete another one.
#pragma once

#include "platform/base/CString.h"

#include <cstdio>
#include <string>

namespace platform {

// The UTF-8 path to use on disk for `path`. Existing files and folders are found whatever
// the letter case of each part; parts that exist in no case are kept as written, so that a
// new file can be created under its given name.
std::string ResolvePath(const CString& path);

// The path's bytes on disk exactly as written (see CString::ToPathBytes); no guessing.
std::string ExactPath(const CString& path);

// fopen with `mode` as for fopen: "r" and "rb" open the resolved path; every mode that writes
// ("w", "a", "+") opens the exact one.
FILE* OpenFile(const CString& path, const char* mode);

} // namespace platform

// The C runtime's wide entry points, through the resolver.
FILE* _wfopen(const wchar_t* path, const wchar_t* mode);
int _waccess(const wchar_t* path, int mode);

// The Windows private-profile (INI) functions over ProfileDocument.
//
// Sizes count wchar_t characters. A missing, unreadable or non-regular file reads as an empty
// one. Paths go through platform::ResolvePath, so a skin authored on Windows (backslashes,
// other letter case) is found. Each file is parsed once and answered from memory until its
// size, modification time or identity (device, inode) changes; a file modified within the
// last two seconds is also compared byte for byte, because two writes inside one tick of the
// file system's clock leave the same time stamp.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ini/ProfileDocument.h"

#include <memory>
#include <string>

// Names of all sections in file order, each ended by a NUL, the list by one more NUL. Answers
// the characters written without that last NUL; a list cut to fit answers size - 2.
DWORD GetPrivateProfileSectionNamesW(LPWSTR buffer, DWORD size, LPCWSTR path);

// The lines of the first section of that name as "key=value" (a line without '=' as it
// stands; comments left out), listed as the names are.
DWORD GetPrivateProfileSectionW(LPCWSTR section, LPWSTR buffer, DWORD size, LPCWSTR path);

// The key's value read as an integer: an optional sign, then "0x", "0o" or "0b" for another
// base, digits up to the first other character, wrapping modulo 2^32. `defaultValue` when the
// section or key is missing or the value is empty.
UINT GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR path);

// The key's value (one pair of enclosing quotes removed), else `defaultValue` without its
// trailing spaces, else "": at most size - 1 characters and a NUL; answers the length copied.
// A null key lists the section's key names, a null section the section names.
DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer,
                               DWORD size, LPCWSTR path);

namespace platform::ini {

// The legacy 8-bit code page of files that are neither UTF-16 nor valid UTF-8, as an iconv
// name; "WINDOWS-1252" until set. Setting it drops every parsed file.
void SetLegacyCodePage(const std::string& iconvName);
std::string GetLegacyCodePage();

// Drops every parsed file.
void FlushProfileCache();

// The parsed file at `path`, checked against the disk now (an empty document when missing).
std::shared_ptr<const ProfileDocument> OpenProfile(LPCWSTR path);

// While a snapshot lives, the functions above answer calls on this thread for the path as the
// snapshot's maker spelled it from the file as it was when the snapshot was made. A loader
// that reads a file through thousands of calls thus reads one consistent version and checks
// the disk once, not once per call. Snapshots nest; make and drop them on one thread.
class ProfileSnapshot
{
public:
    explicit ProfileSnapshot(LPCWSTR path);
    ~ProfileSnapshot();
    ProfileSnapshot(const ProfileSnapshot&) = delete;
    ProfileSnapshot& operator=(const ProfileSnapshot&) = delete;

    // The path as the snapshot keeps it. Calls given this very string are answered without
    // comparing it (the snapshot owns it, so it cannot have been rewritten); any other string
    // is compared character by character.
    LPCWSTR Path() const;

    struct Pin; // its place on the thread's list of snapshots, with its lookup memo

private:
    std::unique_ptr<Pin> m_pin;
};

} // namespace platform::ini

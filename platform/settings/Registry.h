// The registry functions the library calls, with their Windows names, values and results, kept
// in settings databases (SettingsStore.h).
//
// Roots:
//   HKEY_CURRENT_USER   $XDG_CONFIG_HOME/skinkit/settings.db (default ~/.config), read and written
//   HKEY_LOCAL_MACHINE  skinkit/settings.db in the first folder of $XDG_CONFIG_DIRS that has one
//                       (default /etc/xdg), opened read-only
//   HKEY_CLASSES_ROOT   read-only: the desktop's handler of HTML files (".htm", ".html" and
//                       "<handler>\shell\open\command", see platform/shell/Shell.h)
// SKINKIT_SETTINGS_DIR moves both databases to <dir>/user.db and <dir>/machine.db; a relative
// <dir> is taken from the current folder when the store is first used.
//
// Each process keeps one connection per root for its whole life, opened on first use; opening
// a key is a lookup in that connection. Key paths and value names ignore letter case, and
// backslashes separate the levels of a key path.
//
// Data is passed as the bytes Windows passes: a REG_DWORD is 4 little-endian bytes and a
// REG_SZ is UTF-16LE text whose byte count is two per UTF-16 unit. Key paths and value names
// are wide (wchar_t) texts.
//
// A key opened with write access takes the store's write lock when a query through it fails
// (a missing value, or one too large for the buffer), and keeps it until RegCloseKey, so that
// storing a replacement after a failed query cannot overwrite a value another process wrote in
// between. Close such keys promptly, on the thread that opened them.
#pragma once

#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

using LSTATUS = LONG;
using REGSAM = DWORD;
using PHKEY = HKEY*;
using PLONG = LONG*;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// Predefined roots, sign-extended as on 64-bit Windows.
#define HKEY_CLASSES_ROOT                                                                          \
    (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000000u))))
#define HKEY_CURRENT_USER                                                                          \
    (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000001u))))
#define HKEY_LOCAL_MACHINE                                                                         \
    (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000002u))))

// Results.
constexpr LSTATUS ERROR_SUCCESS = 0;
constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
constexpr LSTATUS ERROR_OUTOFMEMORY = 14;
constexpr LSTATUS ERROR_NO_MORE_FILES = 18;
constexpr LSTATUS ERROR_WRITE_FAULT = 29;
constexpr LSTATUS ERROR_LOCK_VIOLATION = 33;
constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
constexpr LSTATUS ERROR_DISK_FULL = 112;
constexpr LSTATUS ERROR_BAD_PATHNAME = 161;
constexpr LSTATUS ERROR_MORE_DATA = 234;
constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;
constexpr LSTATUS ERROR_NOACCESS = 998;
constexpr LSTATUS ERROR_CANTOPEN = 1011;
constexpr LSTATUS ERROR_REGISTRY_IO_FAILED = 1016;

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

// Access rights.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = 0x20019;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Options and dispositions of RegCreateKeyExW.
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_OPTION_VOLATILE = 1;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Key paths deeper than 512 levels, or with a level named by more than 255 UTF-16 units, are
// refused by both openers with ERROR_INVALID_PARAMETER (platform::settings::kMaxKeyLevels).
//
// Opens `subKey` below `key`, creating it and its missing parents. Read-only roots answer
// ERROR_ACCESS_DENIED for a missing key or for write access. Class, options and security
// attributes are accepted and ignored.
LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                        REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                        LPDWORD disposition);
// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist. Nothing is created.
LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
// The value's type, bytes and byte count. A buffer smaller than the value gets nothing and
// ERROR_MORE_DATA with the needed count; a null `data` asks for the count only.
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size);
LSTATUS RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);
LSTATUS RegDeleteValueW(HKEY key, LPCWSTR name);
// Makes the changes made through `key` durable now (ends its write lock, if it holds one).
LSTATUS RegFlushKey(HKEY key);
LSTATUS RegCloseKey(HKEY key);
// The default value of `subKey` below `key` as a wide text. `data` is a wchar_t buffer; the
// counts are Windows byte counts, two per UTF-16 unit with the terminating NUL included.
LSTATUS RegQueryValueW(HKEY key, LPCWSTR subKey, LPWSTR data, PLONG size);

namespace platform::settings {

// Where the databases live, as the environment names them now.
std::string UserStorePath();
std::string MachineStorePath();

// Closes the process's connections; the next call opens the databases again where the
// environment then names them. Keys still open become invalid.
void CloseStores();

// What `skinkit-reg list` shows: the direct sub-keys (their last level) and the values of one
// key, in name order. False when the key does not exist.
struct ListedKey
{
    std::vector<std::string> subKeys;
    struct Entry
    {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Entry> values;
};
bool ListKey(HKEY root, LPCWSTR path, ListedKey* out);

} // namespace platform::settings

// One settings database: keys by path, typed named values below each key, on SQLite.
//
// Key paths and value names compare as the registry compares them: letter case is ignored and
// backslashes separate the levels of a path. Each row therefore keeps a folded form (the
// lookup key) beside the spelling first used, which is what listings show.
//
// Several processes may use one database at once: it runs in WAL mode with a busy timeout, a
// change is one short transaction, and a read that must be followed by a dependent write takes
// the write lock first (BeginWrite), so that a value written by another process in between is
// never overwritten unseen.
#pragma once

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform::settings {

// A key path or value name in both forms, UTF-8.
struct Name
{
    std::string folded;   // compared: upper-cased letters, single backslashes between levels
    std::string spelling; // shown: as the caller wrote it, same levels
};

// Splits `path` at backslashes, drops empty levels ("a\\\b\" is "a\b") and folds each level.
Name MakeKeyPath(std::wstring_view path);

// The limits Windows sets on key paths: 512 levels below a root, and 255 UTF-16 units in the
// name of one level. Deeper keys and longer names are refused, never stored.
constexpr size_t kMaxKeyLevels = 512;
constexpr size_t kMaxKeyNameUnits = 255;

struct KeyPathSize
{
    size_t levels = 0;      // as MakeKeyPath counts them, empty levels dropped
    size_t longestName = 0; // UTF-16 units
};
KeyPathSize MeasureKeyPath(std::wstring_view path);
// Whether `path` below a key of `parentLevels` levels stays within both limits.
bool KeyPathFits(size_t parentLevels, std::wstring_view path);
// The levels of a folded or spelled key path.
size_t KeyLevels(const std::string& path);

// A value name is folded as a whole; backslashes are ordinary characters in it.
Name MakeValueName(std::wstring_view name);
// Joins a parent key path and a relative path below it.
Name JoinKeyPath(const Name& parent, const Name& child);

struct StoredValue
{
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct ListedValue
{
    std::string name; // spelling
    StoredValue value;
};

enum class Status {
    Ok,
    NotFound,
    ReadOnly, // the database was opened read-only
    Busy,     // another process kept the write lock past the busy timeout
    Full,     // the disk or a file size limit is reached
    Failed,   // any other input/output or database error
};

class Store
{
public:
    enum class Mode {
        ReadWrite, // created when missing, WAL
        ReadOnly,  // never written; a missing file fails to open
        // Created when missing, rollback journal: a machine-wide store is built this way, so
        // that users without write access to its folder can open it read-only.
        Build,
    };

    // Opens the database at `file` (UTF-8 path). ReadWrite creates the file and its folder
    // when missing. Null when the file cannot be opened in that mode.
    static std::unique_ptr<Store> Open(const std::string& file, Mode mode);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    bool IsReadOnly() const { return m_readOnly; }
    sqlite3* Handle() const { return m_db; }

    // The write lock, taken at once (BEGIN IMMEDIATE) so that what is read inside the
    // transaction stays true until Commit.
    Status BeginWrite();
    Status Commit();
    void Rollback();
    bool InTransaction() const;

    // A key exists when it was created or a key below it was.
    bool KeyExists(const std::string& folded);
    // Creates the key, and with it every missing level above it. `created` tells whether the
    // key itself was new.
    Status CreateKey(const Name& key, bool* created);

    Status GetValue(const std::string& key, const std::string& name, StoredValue* out);
    Status SetValue(const Name& key, const Name& name, DWORD type, const BYTE* data, size_t size);
    Status DeleteValue(const std::string& key, const std::string& name);

    // Direct sub-keys (spellings of their last level) and values of a key, in folded order.
    std::vector<std::string> ListSubKeys(const std::string& key);
    std::vector<ListedValue> ListValues(const std::string& key);

private:
    Store() = default;
    bool Prepare();
    Status Exec(const char* sql);
    Status Step(sqlite3_stmt* stmt);

    sqlite3* m_db = nullptr;
    bool m_readOnly = false;
    sqlite3_stmt* m_keyExists = nullptr;
    sqlite3_stmt* m_keyInsert = nullptr;
    sqlite3_stmt* m_valueGet = nullptr;
    sqlite3_stmt* m_valueSet = nullptr;
    sqlite3_stmt* m_valueDelete = nullptr;
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
};

} // namespace platform::settings

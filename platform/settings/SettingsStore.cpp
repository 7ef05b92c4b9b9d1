#include "platform/settings/SettingsStore.h"

#include <glib.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <map>

namespace platform::settings {
namespace {

void AppendUtf8(std::string& out, gunichar ch)
{
    if (ch < 0x80) {
        out += static_cast<char>(ch);
        return;
    }
    if ((ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF)
        ch = 0xFFFD;
    char bytes[6];
    out.append(bytes, static_cast<size_t>(g_unichar_to_utf8(ch, bytes)));
}

// Both forms of a name in UTF-8. The registry compares names by upper-casing each character
// (a simple, one-to-one mapping, so "ß" stays "ß"); GLib's mapping is the same kind and does
// not depend on the locale.
void AppendBoth(Name& out, std::wstring_view text)
{
    for (const wchar_t wch : text) {
        const auto ch = static_cast<gunichar>(wch);
        AppendUtf8(out.spelling, ch);
        if (ch < 0x80)
            out.folded += static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - ('a' - 'A') : ch);
        else
            AppendUtf8(out.folded, g_unichar_toupper(ch));
    }
}

Status FromSqlite(int rc)
{
    switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
        return Status::Ok;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Status::Busy;
    case SQLITE_READONLY:
        return Status::ReadOnly;
    case SQLITE_FULL:
        return Status::Full;
    default:
        return Status::Failed;
    }
}

// Creates every missing folder of `dir`, private to the user as configuration folders are.
bool MakeFolders(const std::string& dir)
{
    if (dir.empty())
        return true;
    return g_mkdir_with_parents(dir.c_str(), 0700) == 0;
}

// A key's row stands for every level above it too: a key of n levels costs one row of its own
// length, not n rows holding every path above it (n squared in all). Stores written before hold
// a row for each level as well, which reads the same.
const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS key("
    " path TEXT PRIMARY KEY," // folded, levels joined by one backslash; "" is the root
    " spelling TEXT NOT NULL"
    ") WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS value("
    " key TEXT NOT NULL,"  // folded path of the key
    " name TEXT NOT NULL," // folded name; "" is the key's default value
    " spelling TEXT NOT NULL,"
    " type INTEGER NOT NULL," // REG_SZ 1, REG_DWORD 4, ...
    " data BLOB NOT NULL,"    // the bytes as stored, texts in UTF-16LE
    " PRIMARY KEY(key, name)"
    ") WITHOUT ROWID;";

} // namespace

// --- names ---

Name MakeKeyPath(std::wstring_view path)
{
    Name out;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t next = path.find(L'\\', pos);
        if (next == std::wstring_view::npos)
            next = path.size();
        if (next > pos) {
            const std::wstring_view level = path.substr(pos, next - pos);
            if (!out.folded.empty()) {
                out.folded += '\\';
                out.spelling += '\\';
            }
            AppendBoth(out, level);
        }
        pos = next + 1;
    }
    return out;
}

KeyPathSize MeasureKeyPath(std::wstring_view path)
{
    KeyPathSize size;
    size_t units = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') {
            size.levels += units > 0;
            size.longestName = std::max(size.longestName, units);
            units = 0;
        } else {
            units += static_cast<std::uint32_t>(path[i]) > 0xFFFF ? 2 : 1; // a surrogate pair
        }
    }
    return size;
}

bool KeyPathFits(size_t parentLevels, std::wstring_view path)
{
    const KeyPathSize size = MeasureKeyPath(path);
    return size.longestName <= kMaxKeyNameUnits && parentLevels + size.levels <= kMaxKeyLevels;
}

size_t KeyLevels(const std::string& path)
{
    return path.empty() ? 0 : 1 + static_cast<size_t>(std::count(path.begin(), path.end(), '\\'));
}

Name MakeValueName(std::wstring_view name)
{
    Name out;
    AppendBoth(out, name);
    return out;
}

Name JoinKeyPath(const Name& parent, const Name& child)
{
    if (parent.folded.empty())
        return child;
    if (child.folded.empty())
        return parent;
    return {parent.folded + '\\' + child.folded, parent.spelling + '\\' + child.spelling};
}

// --- opening ---

std::unique_ptr<Store> Store::Open(const std::string& file, Mode mode)
{
    std::unique_ptr<Store> store(new Store);
    store->m_readOnly = mode == Mode::ReadOnly;
    int flags = SQLITE_OPEN_NOMUTEX; // callers serialise; see Registry.cpp
    if (store->m_readOnly) {
        flags |= SQLITE_OPEN_READONLY;
    } else {
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        const size_t slash = file.rfind('/');
        if (slash != std::string::npos && !MakeFolders(file.substr(0, slash)))
            return nullptr;
    }
    if (sqlite3_open_v2(file.c_str(), &store->m_db, flags, nullptr) != SQLITE_OK)
        return nullptr;
    sqlite3_extended_result_codes(store->m_db, 1);
    // Another process may hold the write lock for the length of one short transaction.
    sqlite3_busy_timeout(store->m_db, 5000);

    if (!store->m_readOnly) {
        // WAL lets readers go on beside one writer, and a commit is one append to the log.
        // NORMAL syncs at checkpoints only: a killed process loses nothing it committed, a
        // power cut may roll back the last commits but never corrupts the file.
        const char* journal =
            mode == Mode::Build ? "PRAGMA journal_mode=DELETE" : "PRAGMA journal_mode=WAL";
        // Processes that create the file together contend for it; changing the journal mode
        // can answer "busy" at once, without waiting in the busy handler.
        Status status = Status::Busy;
        for (int attempt = 0; status == Status::Busy && attempt < 500; ++attempt) {
            if (attempt > 0)
                g_usleep(10 * 1000);
            status = store->Exec(journal);
            if (status == Status::Ok)
                status = store->Exec("PRAGMA synchronous=NORMAL");
            if (status == Status::Ok)
                status = store->Exec(kSchema);
        }
        if (status != Status::Ok)
            return nullptr;
    }
    if (!store->Prepare())
        return nullptr;
    return store;
}

Store::~Store()
{
    for (sqlite3_stmt* s :
         {m_keyExists, m_keyInsert, m_valueGet, m_valueSet, m_valueDelete, m_begin, m_commit})
        sqlite3_finalize(s);
    if (m_db)
        sqlite3_close_v2(m_db);
}

bool Store::Prepare()
{
    struct
    {
        sqlite3_stmt** stmt;
        const char* sql;
    } const statements[] = {
        // The key's own row, or a row below it: a backslash and ']' are neighbours in
        // code order, so every path below K lies between "K\" and "K]" (as SQL spells them).
        {&m_keyExists, "SELECT EXISTS(SELECT 1 FROM key WHERE path=?1)"
                       " OR EXISTS(SELECT 1 FROM key WHERE path>?1||'\\' AND path<?1||']')"},
        {&m_keyInsert, "INSERT OR IGNORE INTO key(path, spelling) VALUES(?1, ?2)"},
        {&m_valueGet, "SELECT type, data FROM value WHERE key=?1 AND name=?2"},
        {&m_valueSet,
         "INSERT INTO value(key, name, spelling, type, data) VALUES(?1, ?2, ?3, ?4, ?5)"
         " ON CONFLICT(key, name) DO UPDATE SET type=excluded.type, data=excluded.data"},
        {&m_valueDelete, "DELETE FROM value WHERE key=?1 AND name=?2"},
        {&m_begin, "BEGIN IMMEDIATE"},
        {&m_commit, "COMMIT"},
    };
    for (const auto& s : statements) {
        if (sqlite3_prepare_v3(m_db, s.sql, -1, SQLITE_PREPARE_PERSISTENT, s.stmt, nullptr) !=
            SQLITE_OK)
            return false;
    }
    return true;
}

Status Store::Exec(const char* sql)
{
    return FromSqlite(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr));
}

Status Store::Step(sqlite3_stmt* stmt)
{
    const int rc = sqlite3_step(stmt);
    const Status status = rc == SQLITE_ROW || rc == SQLITE_DONE ? Status::Ok : FromSqlite(rc);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    return status;
}

// --- transactions ---

Status Store::BeginWrite()
{
    if (m_readOnly)
        return Status::ReadOnly;
    return Step(m_begin);
}

Status Store::Commit()
{
    const Status status = Step(m_commit);
    if (status != Status::Ok)
        Rollback();
    return status;
}

void Store::Rollback()
{
    if (InTransaction())
        Exec("ROLLBACK");
}

bool Store::InTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

// --- keys ---

bool Store::KeyExists(const std::string& folded)
{
    if (folded.empty())
        return true;
    sqlite3_bind_text(m_keyExists, 1, folded.data(), static_cast<int>(folded.size()),
                      SQLITE_STATIC);
    const bool found =
        sqlite3_step(m_keyExists) == SQLITE_ROW && sqlite3_column_int(m_keyExists, 0) != 0;
    sqlite3_reset(m_keyExists);
    sqlite3_clear_bindings(m_keyExists);
    return found;
}

Status Store::CreateKey(const Name& key, bool* created)
{
    if (created)
        *created = false;
    if (m_readOnly)
        return Status::ReadOnly;
    // The root always exists, and a key below which another was made exists already.
    if (KeyExists(key.folded))
        return Status::Ok;
    sqlite3_bind_text(m_keyInsert, 1, key.folded.data(), static_cast<int>(key.folded.size()),
                      SQLITE_STATIC);
    sqlite3_bind_text(m_keyInsert, 2, key.spelling.data(), static_cast<int>(key.spelling.size()),
                      SQLITE_STATIC);
    const Status status = Step(m_keyInsert);
    if (status == Status::Ok && created)
        *created = sqlite3_changes(m_db) > 0;
    return status;
}

// --- values ---

Status Store::GetValue(const std::string& key, const std::string& name, StoredValue* out)
{
    sqlite3_bind_text(m_valueGet, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    sqlite3_bind_text(m_valueGet, 2, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    Status status = Status::NotFound;
    const int rc = sqlite3_step(m_valueGet);
    if (rc == SQLITE_ROW) {
        out->type = static_cast<DWORD>(sqlite3_column_int64(m_valueGet, 0));
        const auto* bytes = static_cast<const BYTE*>(sqlite3_column_blob(m_valueGet, 1));
        const int size = sqlite3_column_bytes(m_valueGet, 1);
        out->data.assign(bytes, bytes + size);
        status = Status::Ok;
    } else if (rc != SQLITE_DONE) {
        status = FromSqlite(rc);
    }
    sqlite3_reset(m_valueGet);
    sqlite3_clear_bindings(m_valueGet);
    return status;
}

Status Store::SetValue(const Name& key, const Name& name, DWORD type, const BYTE* data, size_t size)
{
    if (m_readOnly)
        return Status::ReadOnly;
    static const BYTE empty = 0;
    sqlite3_bind_text(m_valueSet, 1, key.folded.data(), static_cast<int>(key.folded.size()),
                      SQLITE_STATIC);
    sqlite3_bind_text(m_valueSet, 2, name.folded.data(), static_cast<int>(name.folded.size()),
                      SQLITE_STATIC);
    sqlite3_bind_text(m_valueSet, 3, name.spelling.data(), static_cast<int>(name.spelling.size()),
                      SQLITE_STATIC);
    sqlite3_bind_int64(m_valueSet, 4, type);
    // A zero-length blob, not NULL: an empty text is a stored value.
    sqlite3_bind_blob64(m_valueSet, 5, size ? data : &empty, size, SQLITE_STATIC);
    return Step(m_valueSet);
}

Status Store::DeleteValue(const std::string& key, const std::string& name)
{
    if (m_readOnly)
        return Status::ReadOnly;
    sqlite3_bind_text(m_valueDelete, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    sqlite3_bind_text(m_valueDelete, 2, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    const Status status = Step(m_valueDelete);
    if (status == Status::Ok && sqlite3_changes(m_db) == 0)
        return Status::NotFound;
    return status;
}

// --- listings ---

std::vector<std::string> Store::ListSubKeys(const std::string& key)
{
    // Every row below the key names one of its direct sub-keys in its next level: the
    // sub-key's own row where there is one (it sorts before the rows below it), else the
    // first row below the sub-key.
    std::map<std::string, std::string> found; // folded level -> spelling
    sqlite3_stmt* stmt = nullptr;
    const char* sql = key.empty() ? "SELECT path, spelling FROM key ORDER BY path"
                                  : "SELECT path, spelling FROM key"
                                    " WHERE path>?1||'\\' AND path<?1||']' ORDER BY path";
    if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        return {};
    if (!key.empty())
        sqlite3_bind_text(stmt, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    const size_t skipLevels = KeyLevels(key);
    // Level `n` of a path; folded and spelled forms have their backslashes at the same levels.
    const auto level = [](std::string_view path, size_t n) {
        size_t start = 0;
        for (; n > 0; --n)
            start = path.find('\\', start) + 1;
        return path.substr(start, path.find('\\', start) - start);
    };
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const std::string_view path(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                    static_cast<size_t>(sqlite3_column_bytes(stmt, 0)));
        const std::string_view spelling(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)),
                                        static_cast<size_t>(sqlite3_column_bytes(stmt, 1)));
        found.try_emplace(std::string(level(path, skipLevels)),
                          std::string(level(spelling, skipLevels)));
    }
    sqlite3_finalize(stmt);
    std::vector<std::string> out;
    out.reserve(found.size());
    for (auto& [folded, spelled] : found)
        out.push_back(std::move(spelled));
    return out;
}

std::vector<ListedValue> Store::ListValues(const std::string& key)
{
    std::vector<ListedValue> out;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db,
                           "SELECT spelling, type, data FROM value WHERE key=?1 ORDER BY name", -1,
                           &stmt, nullptr) != SQLITE_OK)
        return out;
    sqlite3_bind_text(stmt, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ListedValue v;
        v.name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        v.value.type = static_cast<DWORD>(sqlite3_column_int64(stmt, 1));
        const auto* bytes = static_cast<const BYTE*>(sqlite3_column_blob(stmt, 2));
        v.value.data.assign(bytes, bytes + sqlite3_column_bytes(stmt, 2));
        out.push_back(std::move(v));
    }
    sqlite3_finalize(stmt);
    return out;
}

} // namespace platform::settings

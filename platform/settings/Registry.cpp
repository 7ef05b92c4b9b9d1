#include "platform/settings/Registry.h"

#include "platform/base/CString.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/Shell.h"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_set>

using platform::settings::Name;
using platform::settings::Status;
using platform::settings::Store;
using platform::settings::StoredValue;

namespace {

enum class Root { User, Machine, Classes };

struct KeyObject
{
    Root root;
    Name path;
    bool canQuery;
    bool canWrite;
    bool holdsLock = false; // see TakeWriteLock
};

// The process's connections and open keys. Never destroyed: a key may be closed from another
// static object's destructor.
struct Process
{
    std::recursive_mutex mutex;
    bool forked = false; // set in a child made by fork
    std::unique_ptr<Store> user;
    std::unique_ptr<Store> machine;
    bool userTried = false;
    bool machineTried = false;
    int lockDepth = 0; // open keys holding the write transaction
    std::unordered_set<KeyObject*> keys;
    // Keys known to exist, by folded path. Nothing deletes keys, so once seen a key stays,
    // and opening it again needs no look into the database.
    std::unordered_set<std::string> knownKeys[2]; // user, machine
    StoredValue scratch;                          // a reused buffer for queries
};

Process& State()
{
    static Process* process = [] {
        auto* p = new Process;
        ::pthread_atfork(nullptr, nullptr, [] { State().forked = true; });
        return p;
    }();
    return *process;
}

void ForgetKnownKeys(Process& p)
{
    for (auto& known : p.knownKeys)
        known.clear();
}

// A child made by fork must not use its parent's connections (SQLite's locks belong to the
// process that took them): it forgets them without closing, and opens its own.
void ForgetAfterFork(Process& p)
{
    if (!p.forked)
        return;
    p.forked = false;
    (void)p.user.release();
    (void)p.machine.release();
    p.keys.clear();
    p.lockDepth = 0;
    ForgetKnownKeys(p);
    p.userTried = p.machineTried = false;
}

// Every entry point works on the process state under its lock, after a fork has been noticed.
struct LockedState
{
    Process& p;
    std::lock_guard<std::recursive_mutex> guard;
    LockedState() : p(State()), guard(p.mutex) { ForgetAfterFork(p); }
};

bool FileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The XDG folders: a relative value is invalid there and ignored, as the XDG base directory
// rules say.
std::string EnvDir(const char* name)
{
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

// SKINKIT_SETTINGS_DIR is ours: a relative folder is taken from the current folder at the
// time the store is first used, rather than silently dropped for the user's real settings.
std::string MovedDir()
{
    const char* value = std::getenv("SKINKIT_SETTINGS_DIR");
    if (!value || !value[0])
        return {};
    if (value[0] == '/')
        return value;
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    if (!cwd)
        return {};
    std::string dir = cwd.get();
    std::string rel = value;
    while (rel.rfind("./", 0) == 0)
        rel.erase(0, 2);
    if (rel.empty() || rel == ".")
        return dir;
    return (dir == "/" ? "" : dir) + "/" + rel;
}

Store* StoreFor(Process& p, Root root)
{
    switch (root) {
    case Root::User:
        if (!p.userTried) {
            p.userTried = true;
            const std::string file = platform::settings::UserStorePath();
            p.user = Store::Open(file, Store::Mode::ReadWrite);
            // A store we may not write (read-only folder or medium) still answers reads.
            if (!p.user && FileExists(file))
                p.user = Store::Open(file, Store::Mode::ReadOnly);
        }
        return p.user.get();
    case Root::Machine:
        if (!p.machineTried) {
            p.machineTried = true;
            const std::string file = platform::settings::MachineStorePath();
            if (FileExists(file))
                p.machine = Store::Open(file, Store::Mode::ReadOnly);
        }
        return p.machine.get();
    case Root::Classes:
        // Not a database: the desktop's associations answer (ClassesKey).
        return nullptr;
    }
    return nullptr;
}

LSTATUS ErrorFrom(Status status)
{
    switch (status) {
    case Status::Ok:
        return ERROR_SUCCESS;
    case Status::NotFound:
        return ERROR_FILE_NOT_FOUND;
    case Status::ReadOnly:
        return ERROR_ACCESS_DENIED;
    case Status::Busy:
        return ERROR_LOCK_VIOLATION;
    case Status::Full:
        return ERROR_DISK_FULL;
    case Status::Failed:
        break;
    }
    return ERROR_REGISTRY_IO_FAILED;
}

// What a handle stands for; null for a handle that is neither predefined nor open.
const KeyObject* Resolve(Process& p, HKEY key)
{
    static const KeyObject user{Root::User, {}, true, true};
    static const KeyObject machine{Root::Machine, {}, true, false};
    static const KeyObject classes{Root::Classes, {}, true, false};
    if (key == HKEY_CURRENT_USER)
        return &user;
    if (key == HKEY_LOCAL_MACHINE)
        return &machine;
    if (key == HKEY_CLASSES_ROOT)
        return &classes;
    auto* object = reinterpret_cast<KeyObject*>(key);
    return p.keys.count(object) ? object : nullptr;
}

KeyObject* OpenObject(Process& p, HKEY key)
{
    auto* object = reinterpret_cast<KeyObject*>(key);
    return p.keys.count(object) ? object : nullptr;
}

// The open key and its store for a call on its values that needs the right `may` (canQuery or
// canWrite); `error` is what the call answers instead when either is missing, `noStore` being
// the answer when the store cannot be opened.
struct ValueTarget
{
    const KeyObject* object = nullptr;
    Store* store = nullptr;
    LSTATUS error = ERROR_SUCCESS;
};

ValueTarget ReachValues(Process& p, HKEY key, bool KeyObject::*may, LSTATUS noStore)
{
    const KeyObject* object = Resolve(p, key);
    if (!object)
        return {nullptr, nullptr, ERROR_INVALID_HANDLE};
    if (!(object->*may))
        return {nullptr, nullptr, ERROR_ACCESS_DENIED};
    Store* store = StoreFor(p, object->root);
    if (!store)
        return {nullptr, nullptr, noStore};
    return {object, store, ERROR_SUCCESS};
}

// The write transaction, held from a failed query through the replacing store until the key
// is closed. The mutex stays locked as long, so that threads of this process wait as other
// processes do.
void TakeWriteLock(Process& p, Store* store, KeyObject* object)
{
    if (object->holdsLock || !object->canWrite || store->IsReadOnly())
        return;
    p.mutex.lock();
    if (p.lockDepth == 0 && store->BeginWrite() != Status::Ok) {
        p.mutex.unlock();
        return;
    }
    // The depth counts keys holding the transaction; the mutex is held once per count.
    assert(p.lockDepth >= 0);
    ++p.lockDepth;
    object->holdsLock = true;
}

LSTATUS ReleaseWriteLock(Process& p, KeyObject* object)
{
    if (!object->holdsLock)
        return ERROR_SUCCESS;
    object->holdsLock = false;
    LSTATUS result = ERROR_SUCCESS;
    // A key that holds the lock was counted when it took it: a depth of 0 here means the
    // pairing broke, and committing would end a transaction another key still relies on.
    assert(p.lockDepth > 0);
    if (--p.lockDepth == 0 && p.user) {
        result = ErrorFrom(p.user->Commit());
        if (result != ERROR_SUCCESS)
            ForgetKnownKeys(p); // keys created inside the transaction went with it
    }
    p.mutex.unlock();
    return result;
}

std::wstring_view NameView(LPCWSTR name)
{
    return name ? std::wstring_view(name) : std::wstring_view();
}

LSTATUS OpenKey(HKEY parent, LPCWSTR subKey, REGSAM access, bool create, PHKEY result,
                LPDWORD disposition)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (subKey && subKey[0] == L'\\')
        return ERROR_BAD_PATHNAME;

    LockedState locked;
    Process& p = locked.p;
    const KeyObject* resolved = Resolve(p, parent);
    if (!resolved)
        return ERROR_INVALID_HANDLE;
    const KeyObject& base = *resolved;
    const bool wantsWrite = (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK)) != 0;
    if (wantsWrite && !base.canWrite)
        return ERROR_ACCESS_DENIED;
    if (!platform::settings::KeyPathFits(platform::settings::KeyLevels(base.path.folded),
                                         NameView(subKey)))
        return ERROR_INVALID_PARAMETER;

    const Name path = platform::settings::JoinKeyPath(
        base.path,
        platform::settings::MakeKeyPath(subKey ? std::wstring_view(subKey) : std::wstring_view()));
    if (base.root == Root::Classes) {
        if (!platform::shell::ClassesKey(CString::FromUtf8(path.spelling).Str(), nullptr))
            return create ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
        auto* object = new KeyObject{Root::Classes, path, true, false};
        p.keys.insert(object);
        *result = reinterpret_cast<HKEY>(object);
        if (disposition)
            *disposition = REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    }
    Store* store = StoreFor(p, base.root);
    if (!store)
        return base.root == Root::User ? ERROR_CANTOPEN : ERROR_FILE_NOT_FOUND;

    DWORD how = REG_OPENED_EXISTING_KEY;
    std::unordered_set<std::string>* known =
        base.root == Root::Classes ? nullptr : &p.knownKeys[base.root == Root::User ? 0 : 1];
    const bool seen = known && known->count(path.folded);
    if (!seen && !store->KeyExists(path.folded)) {
        if (!create)
            return ERROR_FILE_NOT_FOUND;
        if (store->IsReadOnly())
            return ERROR_ACCESS_DENIED;
        // One transaction for all the missing levels, unless a held write lock already is one.
        const bool own = !store->InTransaction();
        Status status = own ? store->BeginWrite() : Status::Ok;
        bool created = false;
        if (status == Status::Ok)
            status = store->CreateKey(path, &created);
        if (status == Status::Ok && own)
            status = store->Commit();
        else if (status != Status::Ok && own)
            store->Rollback();
        if (status != Status::Ok)
            return ErrorFrom(status);
        how = REG_CREATED_NEW_KEY;
    }
    if (known)
        known->insert(path.folded);

    // A store opened read-only after a failed read-write open still answers queries.
    auto* object = new KeyObject{base.root, path, true, base.canWrite && !store->IsReadOnly()};
    p.keys.insert(object);
    *result = reinterpret_cast<HKEY>(object);
    if (disposition)
        *disposition = how;
    return ERROR_SUCCESS;
}

// The classes root holds only unnamed text values (platform::shell::ClassesKey).
LSTATUS QueryClassesValue(const KeyObject& object, LPCWSTR name, LPDWORD type, LPBYTE data,
                          LPDWORD size)
{
    std::wstring text;
    if ((name && name[0]) ||
        !platform::shell::ClassesKey(CString::FromUtf8(object.path.spelling).Str(), &text))
        return ERROR_FILE_NOT_FOUND;
    const std::u16string units = CString(text).ToUtf16() + u'\0';
    const DWORD needed = static_cast<DWORD>(units.size() * 2);
    if (type)
        *type = REG_SZ;
    if (!size)
        return ERROR_SUCCESS;
    if (data && needed > *size) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data)
        std::memcpy(data, units.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

} // namespace

// --- locations ---

namespace platform::settings {

std::string UserStorePath()
{
    const std::string moved = MovedDir();
    if (!moved.empty())
        return moved + "/user.db";
    std::string config = EnvDir("XDG_CONFIG_HOME");
    if (config.empty()) {
        const char* home = std::getenv("HOME");
        config = std::string(home ? home : "") + "/.config";
    }
    return config + "/skinkit/settings.db";
}

std::string MachineStorePath()
{
    const std::string moved = MovedDir();
    if (!moved.empty())
        return moved + "/machine.db";
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string list = dirs && dirs[0] ? dirs : "/etc/xdg";
    std::string first;
    size_t pos = 0;
    while (pos <= list.size()) {
        size_t next = list.find(':', pos);
        if (next == std::string::npos)
            next = list.size();
        const std::string dir = list.substr(pos, next - pos);
        if (!dir.empty() && dir[0] == '/') {
            const std::string file = dir + "/skinkit/settings.db";
            if (FileExists(file))
                return file;
            if (first.empty())
                first = file;
        }
        pos = next + 1;
    }
    return first.empty() ? "/etc/xdg/skinkit/settings.db" : first;
}

void CloseStores()
{
    LockedState locked;
    Process& p = locked.p;
    int holders = 0;
    for (KeyObject* object : p.keys) {
        if (object->holdsLock) {
            p.mutex.unlock();
            ++holders;
        }
        delete object;
    }
    assert(holders == p.lockDepth);
    (void)holders;
    p.keys.clear();
    ForgetKnownKeys(p);
    if (p.user)
        p.user->Rollback();
    p.lockDepth = 0;
    p.user.reset();
    p.machine.reset();
    p.userTried = p.machineTried = false;
}

bool ListKey(HKEY root, LPCWSTR path, ListedKey* out)
{
    LockedState locked;
    Process& p = locked.p;
    const KeyObject* resolved = Resolve(p, root);
    if (!resolved)
        return false;
    const KeyObject& base = *resolved;
    if (!KeyPathFits(KeyLevels(base.path.folded), NameView(path)))
        return false;
    Store* store = StoreFor(p, base.root);
    const Name key = JoinKeyPath(base.path, MakeKeyPath(NameView(path)));
    if (!store || !store->KeyExists(key.folded))
        return false;
    out->subKeys = store->ListSubKeys(key.folded);
    out->values.clear();
    for (auto& v : store->ListValues(key.folded))
        out->values.push_back({std::move(v.name), v.value.type, std::move(v.value.data)});
    return true;
}

} // namespace platform::settings

// --- the registry functions ---

LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM access,
                        LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition)
{
    if (!subKey)
        return ERROR_INVALID_PARAMETER;
    return OpenKey(key, subKey, access, true, result, disposition);
}

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result)
{
    return OpenKey(key, subKey, access, false, result, nullptr);
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size)
{
    if (reserved || (data && !size))
        return ERROR_INVALID_PARAMETER;
    LockedState locked;
    Process& p = locked.p;
    if (const KeyObject* classes = Resolve(p, key); classes && classes->root == Root::Classes)
        return QueryClassesValue(*classes, name, type, data, size);
    const ValueTarget target = ReachValues(p, key, &KeyObject::canQuery, ERROR_FILE_NOT_FOUND);
    if (target.error != ERROR_SUCCESS)
        return target.error;
    const KeyObject& object = *target.object;
    Store* store = target.store;

    const Name valueName = platform::settings::MakeValueName(NameView(name));
    StoredValue& value = p.scratch; // keeps its buffer from call to call
    Status status = store->GetValue(object.path.folded, valueName.folded, &value);
    const auto fits = [&] { return !data || value.data.size() <= *size; };
    if (status == Status::NotFound || (status == Status::Ok && !fits())) {
        // The caller may store a replacement next: decide under the write lock, so that a
        // value another process writes meanwhile is seen rather than overwritten.
        if (KeyObject* open = OpenObject(p, key); open && !open->holdsLock && open->canWrite) {
            TakeWriteLock(p, store, open);
            if (open->holdsLock)
                status = store->GetValue(object.path.folded, valueName.folded, &value);
        }
    }
    if (status != Status::Ok)
        return ErrorFrom(status);
    if (type)
        *type = value.type;
    const DWORD needed = static_cast<DWORD>(value.data.size());
    if (!size)
        return ERROR_SUCCESS;
    if (data && needed > *size) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data && needed)
        std::memcpy(data, value.data.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size)
{
    if (!data && size)
        return ERROR_NOACCESS;
    LockedState locked;
    const ValueTarget target = ReachValues(locked.p, key, &KeyObject::canWrite, ERROR_CANTOPEN);
    if (target.error != ERROR_SUCCESS)
        return target.error;
    const KeyObject& object = *target.object;
    Store* store = target.store;
    return ErrorFrom(store->SetValue(object.path, platform::settings::MakeValueName(NameView(name)),
                                     type, data, size));
}

LSTATUS RegDeleteValueW(HKEY key, LPCWSTR name)
{
    LockedState locked;
    const ValueTarget target = ReachValues(locked.p, key, &KeyObject::canWrite, ERROR_CANTOPEN);
    if (target.error != ERROR_SUCCESS)
        return target.error;
    const KeyObject& object = *target.object;
    Store* store = target.store;
    return ErrorFrom(store->DeleteValue(object.path.folded,
                                        platform::settings::MakeValueName(NameView(name)).folded));
}

LSTATUS RegFlushKey(HKEY key)
{
    LockedState locked;
    Process& p = locked.p;
    if (!Resolve(p, key))
        return ERROR_INVALID_HANDLE;
    KeyObject* object = OpenObject(p, key);
    return object ? ReleaseWriteLock(p, object) : ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key)
{
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT)
        return ERROR_SUCCESS;
    LockedState locked;
    Process& p = locked.p;
    KeyObject* object = OpenObject(p, key);
    if (!object)
        return ERROR_INVALID_HANDLE;
    const LSTATUS result = ReleaseWriteLock(p, object);
    p.keys.erase(object);
    delete object;
    return result;
}

LSTATUS RegQueryValueW(HKEY key, LPCWSTR subKey, LPWSTR data, PLONG size)
{
    HKEY opened = key;
    if (subKey && subKey[0]) {
        const LSTATUS status = RegOpenKeyExW(key, subKey, 0, KEY_QUERY_VALUE, &opened);
        if (status != ERROR_SUCCESS)
            return status;
    }
    DWORD bytes = 0;
    DWORD type = 0;
    LSTATUS status = RegQueryValueExW(opened, nullptr, nullptr, &type, nullptr, &bytes);
    std::u16string text;
    if (status == ERROR_SUCCESS) {
        text.resize(bytes / 2);
        status = RegQueryValueExW(opened, nullptr, nullptr, &type,
                                  reinterpret_cast<LPBYTE>(text.data()), &bytes);
        text.resize(bytes / 2);
        if (const size_t nul = text.find(u'\0'); nul != std::u16string::npos)
            text.resize(nul);
    } else if (status == ERROR_FILE_NOT_FOUND) {
        status = ERROR_SUCCESS; // an unset default value reads as an empty text
    }
    if (opened != key)
        RegCloseKey(opened);
    if (status != ERROR_SUCCESS)
        return status;

    const LONG needed = static_cast<LONG>((text.size() + 1) * 2);
    if (data) {
        if (!size || *size < needed) {
            if (size)
                *size = needed;
            return ERROR_MORE_DATA;
        }
        const std::wstring wide = CString::FromUtf16(text).Str();
        std::wmemcpy(data, wide.c_str(), wide.size() + 1);
    }
    if (size)
        *size = needed;
    return ERROR_SUCCESS;
}

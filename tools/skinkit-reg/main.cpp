// skinkit-reg: read, write and list the settings the player stored.
//
//   skinkit-reg get  KEY [NAME]          print one value (NAME omitted: the key's default value)
//   skinkit-reg set  KEY NAME VALUE      store a value; -t dword|sz picks its type
//   skinkit-reg list KEY                 sub-keys (ending in "\") and values of a key
//
// --machine reads the machine-wide settings instead of the current user's; with `set` it
// writes them, which needs write access to that file (an administrator building defaults).
// Options may come before or after the subcommand.
// Exit status: 0 done, 1 no such key or value or a failed operation, 2 bad usage.
#include "platform/base/CString.h"
#include "platform/settings/Registry.h"
#include "platform/settings/SettingsStore.h"

#include <CLI/CLI.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

namespace {

enum Exit { kDone = 0, kFailed = 1, kUsage = 2 };

// What the library accepts as a text: a 260-unit UTF-16 buffer with its terminating NUL.
constexpr size_t kMaxTextUnits = 259;

std::wstring Wide(const std::string& utf8)
{
    return CString::FromUtf8(utf8).Str();
}

const char* TypeName(DWORD type)
{
    switch (type) {
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    case REG_BINARY:
        return "REG_BINARY";
    case REG_DWORD:
        return "REG_DWORD";
    case REG_MULTI_SZ:
        return "REG_MULTI_SZ";
    case REG_QWORD:
        return "REG_QWORD";
    default:
        return "REG_NONE";
    }
}

// The value as a person reads it: numbers in decimal, texts as text, anything else in hex.
std::string Show(DWORD type, const std::vector<BYTE>& data)
{
    if (type == REG_DWORD && data.size() == 4) {
        const DWORD v =
            data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<DWORD>(data[3]) << 24);
        return std::to_string(v);
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::u16string units(data.size() / 2, u'\0');
        for (size_t i = 0; i < units.size(); ++i)
            units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        if (const size_t nul = units.find(u'\0'); nul != std::u16string::npos)
            units.resize(nul);
        return CString::FromUtf16(units).ToUtf8();
    }
    std::string hex;
    char two[4];
    for (BYTE b : data) {
        std::snprintf(two, sizeof(two), "%02x", b);
        hex += two;
    }
    return hex;
}

// Decimal, with an optional sign (-1 is 0xFFFFFFFF), or hexadecimal written 0x...: a leading
// zero is not octal, since "0123" typed by a person means 123.
std::optional<DWORD> ParseNumber(const std::string& text)
{
    std::string digits = text;
    bool negative = false;
    int base = 10;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        negative = digits[0] == '-';
        digits.erase(0, 1);
    }
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.erase(0, 2);
    }
    if (digits.empty() || digits.size() > 20)
        return std::nullopt;
    unsigned long long v = 0;
    for (char c : digits) {
        const unsigned d = platform::DigitValue(static_cast<wchar_t>(c));
        if (d >= static_cast<unsigned>(base))
            return std::nullopt;
        v = v * static_cast<unsigned>(base) + d;
        if (v > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (negative) {
        if (base != 10 || v > 0x80000000ull)
            return std::nullopt;
        return static_cast<DWORD>(0u - static_cast<DWORD>(v));
    }
    return static_cast<DWORD>(v);
}

// Why a settings database cannot be used, for a message that names the cause; empty when it
// opens (or, for one that may be created, when its folder would let it be made).
std::string StoreProblem(const std::string& file)
{
    namespace st = platform::settings;
    struct stat info;
    if (::stat(file.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return {};
        return file + ": " + std::strerror(errno);
    }
    if (S_ISDIR(info.st_mode))
        return file + ": is a directory, not a settings database";
    if (::access(file.c_str(), R_OK) != 0)
        return file + ": " + std::strerror(errno);
    if (!st::Store::Open(file, st::Store::Mode::ReadOnly))
        return file + ": not a settings database (or damaged)";
    return {};
}

// Why `file` cannot be written, in the system's words ("Read-only file system", "Permission
// denied"); empty when it could be. A file not made yet is asked of the nearest folder that
// exists, where it would be made.
std::string WriteProblem(const std::string& file)
{
    std::string path = file;
    while (::access(path.c_str(), F_OK) != 0 && errno == ENOENT) {
        const size_t slash = path.find_last_of('/');
        if (slash == std::string::npos) {
            path = ".";
            break;
        }
        path = slash == 0 ? "/" : path.substr(0, slash);
    }
    if (::access(path.c_str(), W_OK) != 0)
        return std::strerror(errno);
    return {};
}

// The settings database behind a root key.
std::string StorePath(HKEY root)
{
    return root == HKEY_LOCAL_MACHINE ? platform::settings::MachineStorePath()
                                      : platform::settings::UserStorePath();
}

// The message for a failed registry call: the store's own problem when it has one.
std::string Cause(HKEY root, LSTATUS status)
{
    const std::string file = StorePath(root);
    if (std::string problem = StoreProblem(file); !problem.empty())
        return problem;
    // A refused write: the system says whether the medium or the permissions refuse it.
    if (status == ERROR_ACCESS_DENIED || status == ERROR_CANTOPEN)
        if (std::string problem = WriteProblem(file); !problem.empty())
            return file + ": " + problem;
    switch (status) {
    case ERROR_ACCESS_DENIED:
        return file + ": permission denied";
    case ERROR_LOCK_VIOLATION:
        return file + ": another program keeps it locked";
    case ERROR_DISK_FULL:
        return file + ": the disk is full";
    case ERROR_CANTOPEN:
        return file + ": cannot be opened or created";
    default:
        return file + ": input/output error (" + std::to_string(status) + ")";
    }
}

std::vector<BYTE> Encode(DWORD type, const std::string& text, DWORD number)
{
    std::vector<BYTE> bytes;
    if (type == REG_DWORD) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<BYTE>(number >> (8 * i)));
    } else {
        for (char16_t u : CString::FromUtf8(text).ToUtf16()) {
            bytes.push_back(static_cast<BYTE>(u & 0xFF));
            bytes.push_back(static_cast<BYTE>(u >> 8));
        }
    }
    return bytes;
}

int Get(HKEY root, const std::string& key, const std::string& name)
{
    HKEY h = nullptr;
    if (const LSTATUS opened = RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &h);
        opened != ERROR_SUCCESS) {
        if (opened == ERROR_FILE_NOT_FOUND && StoreProblem(StorePath(root)).empty())
            std::cerr << "skinkit-reg: no key " << key << "\n";
        else
            std::cerr << "skinkit-reg: " << Cause(root, opened) << "\n";
        return kFailed;
    }
    const std::wstring wname = Wide(name);
    DWORD type = 0, size = 0;
    LSTATUS status = RegQueryValueExW(h, wname.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data(size);
    if (status == ERROR_SUCCESS)
        status = RegQueryValueExW(h, wname.c_str(), nullptr, &type, data.data(), &size);
    RegCloseKey(h);
    if (status == ERROR_FILE_NOT_FOUND) {
        std::cerr << "skinkit-reg: no value " << (name.empty() ? "(default)" : name) << " in "
                  << key << "\n";
        return kFailed;
    }
    if (status != ERROR_SUCCESS) {
        std::cerr << "skinkit-reg: " << Cause(root, status) << "\n";
        return kFailed;
    }
    data.resize(size);
    std::cout << Show(type, data) << "\n";
    return kDone;
}

// The type a new value gets: the one asked for, else the one the value already has, else a
// number when the text reads as one.
DWORD ChooseType(HKEY root, const std::string& key, const std::string& name,
                 const std::string& asked, const std::string& value)
{
    if (asked == "dword")
        return REG_DWORD;
    if (asked == "sz")
        return REG_SZ;
    HKEY h = nullptr;
    DWORD type = REG_NONE;
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &h) == ERROR_SUCCESS) {
        DWORD size = 0;
        if (RegQueryValueExW(h, Wide(name).c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            type = REG_NONE;
        RegCloseKey(h);
    }
    if (type == REG_DWORD || type == REG_SZ)
        return type;
    return ParseNumber(value) ? REG_DWORD : REG_SZ;
}

int Set(bool machine, const std::string& key, const std::string& name, const std::string& value,
        const std::string& asked)
{
    const DWORD type =
        ChooseType(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, key, name, asked, value);
    DWORD number = 0;
    if (type == REG_DWORD) {
        const auto parsed = ParseNumber(value);
        if (!parsed) {
            std::cerr << "skinkit-reg: not a 32-bit number (decimal, or hexadecimal written "
                         "0x...): "
                      << value << "\n";
            return kUsage;
        }
        number = *parsed;
    } else if (const size_t units = CString::FromUtf8(value).ToUtf16().size();
               units > kMaxTextUnits) {
        // The library reads texts through a 260-unit buffer and replaces a longer one by its
        // default: storing it would lose it at the next start.
        std::cerr << "skinkit-reg: the text is " << units << " UTF-16 units long; settings "
                  << "texts hold at most " << kMaxTextUnits << "\n";
        return kUsage;
    }
    const std::vector<BYTE> bytes = Encode(type, value, number);
    const std::string stored = std::string(TypeName(type)) + " " + Show(type, bytes);

    if (machine) {
        // The library only ever reads this store; building it is the administrator's job.
        namespace st = platform::settings;
        auto store = st::Store::Open(st::MachineStorePath(), st::Store::Mode::Build);
        const st::Name k = st::MakeKeyPath(Wide(key));
        if (!store || store->BeginWrite() != st::Status::Ok ||
            store->CreateKey(k, nullptr) != st::Status::Ok ||
            store->SetValue(k, st::MakeValueName(Wide(name)), type, bytes.data(), bytes.size()) !=
                st::Status::Ok ||
            store->Commit() != st::Status::Ok) {
            std::string problem = StoreProblem(st::MachineStorePath());
            if (problem.empty())
                if (std::string refused = WriteProblem(st::MachineStorePath()); !refused.empty())
                    problem = st::MachineStorePath() + ": " + refused;
            std::cerr << "skinkit-reg: cannot write "
                      << (problem.empty() ? st::MachineStorePath() : problem) << "\n";
            return kFailed;
        }
        std::cout << "stored " << stored << "\n";
        return kDone;
    }

    HKEY h = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(h, Wide(name).c_str(), 0, type, bytes.data(),
                                static_cast<DWORD>(bytes.size()));
        const LSTATUS closed = RegCloseKey(h);
        if (status == ERROR_SUCCESS)
            status = closed;
    }
    if (status != ERROR_SUCCESS) {
        std::cerr << "skinkit-reg: cannot write " << key << ": " << Cause(HKEY_CURRENT_USER, status)
                  << "\n";
        return kFailed;
    }
    std::cout << "stored " << stored << "\n";
    return kDone;
}

int List(HKEY root, const std::string& key)
{
    platform::settings::ListedKey listed;
    if (!platform::settings::ListKey(root, Wide(key).c_str(), &listed)) {
        if (std::string problem = StoreProblem(StorePath(root)); !problem.empty())
            std::cerr << "skinkit-reg: " << problem << "\n";
        else
            std::cerr << "skinkit-reg: no key " << key << "\n";
        return kFailed;
    }
    for (const auto& sub : listed.subKeys)
        std::cout << sub << "\\\n";
    for (const auto& v : listed.values)
        std::cout << (v.name.empty() ? "(default)" : v.name) << "\t" << TypeName(v.type) << "\t"
                  << Show(v.type, v.data) << "\n";
    return kDone;
}

std::string Footer()
{
    namespace st = platform::settings;
    return "Where settings live:\n"
           "  current user   $XDG_CONFIG_HOME/skinkit/settings.db (default ~/.config/...)\n"
           "  machine-wide   skinkit/settings.db in the first folder of $XDG_CONFIG_DIRS that "
           "has one (default /etc/xdg), read-only for the player\n"
           "  SKINKIT_SETTINGS_DIR=DIR moves both to DIR/user.db and DIR/machine.db (a relative "
           "DIR is taken from the current folder).\n"
           "Now: user " +
           st::UserStorePath() + ", machine " + st::MachineStorePath() +
           "\n"
           "To move settings, copy the .db file (with its -wal file, if any) while no player "
           "runs, or point SKINKIT_SETTINGS_DIR at the new folder.\n"
           "Numbers are decimal unless written 0x...; texts hold at most " +
           std::to_string(kMaxTextUnits) + " UTF-16 units; keys at most " +
           std::to_string(st::kMaxKeyLevels) + " levels, each named by at most " +
           std::to_string(st::kMaxKeyNameUnits) +
           " units.\n"
           "Exit status: 0 done, 1 no such key or value, or a failed operation (the message "
           "names the cause), 2 bad usage.";
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Read, write and list skinkit settings"};
    app.require_subcommand(1);
    app.footer(Footer());
    bool machine = false;
    std::string key, name, value, type;
    app.add_flag("--machine", machine, "the machine-wide settings instead of the current user's");
    app.add_option("-t,--type", type,
                   "with set: dword or sz (default: the stored type, else a number if it reads "
                   "as one)")
        ->check(CLI::IsMember({"dword", "sz"}));

    CLI::App* get = app.add_subcommand("get", "print a value");
    get->add_option("KEY", key, "key path, levels separated by backslashes")->required();
    get->add_option("NAME", name, "value name (omitted: the key's default value)");

    CLI::App* set = app.add_subcommand("set", "store a value, then say which type it stored");
    set->add_option("KEY", key)->required();
    set->add_option("NAME", name)->required();
    set->add_option("VALUE", value)->required();

    CLI::App* list = app.add_subcommand("list", "list the sub-keys and values of a key");
    list->add_option("KEY", key, "key path (omitted: the root)");
    // Options of the whole program are also taken after the subcommand.
    for (CLI::App* sub : {get, set, list})
        sub->fallthrough();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kDone : kUsage;
    }
    if (!type.empty() && !set->parsed()) {
        std::cerr << "skinkit-reg: --type goes with set only\n";
        return kUsage;
    }
    // The library refuses such keys with a bare error code: say which limit the key passes.
    namespace st = platform::settings;
    if (const st::KeyPathSize size = st::MeasureKeyPath(Wide(key));
        size.levels > st::kMaxKeyLevels) {
        std::cerr << "skinkit-reg: the key has " << size.levels << " levels; keys have at most "
                  << st::kMaxKeyLevels << "\n";
        return kUsage;
    } else if (size.longestName > st::kMaxKeyNameUnits) {
        std::cerr << "skinkit-reg: a level of the key is " << size.longestName
                  << " UTF-16 units long; key names hold at most " << st::kMaxKeyNameUnits << "\n";
        return kUsage;
    }
    const HKEY root = machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    if (get->parsed())
        return Get(root, key, name);
    if (set->parsed())
        return Set(machine, key, name, value, type);
    return List(root, key);
}

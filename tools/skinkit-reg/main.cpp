// skinkit-reg: read, write and list the settings the player stored.
//
//   skinkit-reg get  KEY [NAME]          print one value (NAME omitted: the key's default value)
//   skinkit-reg set  KEY NAME VALUE      store a value; -t dword|sz picks its type
//   skinkit-reg list KEY                 sub-keys (ending in "\") and values of a key
//
// --machine reads the machine-wide settings instead of the current user's; with `set` it
// writes them, which needs write access to that file (an administrator building defaults).
// Exit status: 0 done, 1 no such key or value, 2 bad arguments or a store that failed.
#include "platform/base/CString.h"
#include "platform/settings/Registry.h"
#include "platform/settings/SettingsStore.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

namespace {

enum Exit { kDone = 0, kMissing = 1, kFailed = 2 };

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

std::optional<DWORD> ParseNumber(const std::string& text)
{
    try {
        size_t used = 0;
        const unsigned long long v = std::stoull(text, &used, 0);
        if (used == text.size() && v <= 0xFFFFFFFFull)
            return static_cast<DWORD>(v);
        const long long s = std::stoll(text, &used, 0); // -1 means 0xFFFFFFFF
        if (used == text.size() && s >= -2147483648LL && s < 0)
            return static_cast<DWORD>(s);
    } catch (const std::exception&) {
    }
    return std::nullopt;
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
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) {
        std::cerr << "skinkit-reg: no key " << key << "\n";
        return kMissing;
    }
    const std::wstring wname = Wide(name);
    DWORD type = 0, size = 0;
    LSTATUS status = RegQueryValueExW(h, wname.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data(size);
    if (status == ERROR_SUCCESS)
        status = RegQueryValueExW(h, wname.c_str(), nullptr, &type, data.data(), &size);
    RegCloseKey(h);
    if (status != ERROR_SUCCESS) {
        std::cerr << "skinkit-reg: no value " << (name.empty() ? "(default)" : name) << " in "
                  << key << "\n";
        return kMissing;
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
            std::cerr << "skinkit-reg: not a 32-bit number: " << value << "\n";
            return kFailed;
        }
        number = *parsed;
    }
    const std::vector<BYTE> bytes = Encode(type, value, number);

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
            std::cerr << "skinkit-reg: cannot write " << st::MachineStorePath() << "\n";
            return kFailed;
        }
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
        std::cerr << "skinkit-reg: cannot write " << key << " (error " << status << ")\n";
        return kFailed;
    }
    return kDone;
}

int List(HKEY root, const std::string& key)
{
    platform::settings::ListedKey listed;
    if (!platform::settings::ListKey(root, Wide(key).c_str(), &listed)) {
        std::cerr << "skinkit-reg: no key " << key << "\n";
        return kMissing;
    }
    for (const auto& sub : listed.subKeys)
        std::cout << sub << "\\\n";
    for (const auto& v : listed.values)
        std::cout << (v.name.empty() ? "(default)" : v.name) << "\t" << TypeName(v.type) << "\t"
                  << Show(v.type, v.data) << "\n";
    return kDone;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Read, write and list skinkit settings"};
    app.require_subcommand(1);
    bool machine = false;
    app.add_flag("--machine", machine, "the machine-wide settings instead of the current user's");
    std::string key, name, value, type;

    CLI::App* get = app.add_subcommand("get", "print a value");
    get->add_option("KEY", key, "key path, levels separated by backslashes")->required();
    get->add_option("NAME", name, "value name (omitted: the key's default value)");

    CLI::App* set = app.add_subcommand("set", "store a value");
    set->add_option("KEY", key)->required();
    set->add_option("NAME", name)->required();
    set->add_option("VALUE", value)->required();
    set->add_option("-t,--type", type,
                    "dword or sz (default: the stored type, else a number if it reads as one)")
        ->check(CLI::IsMember({"dword", "sz"}));

    CLI::App* list = app.add_subcommand("list", "list the sub-keys and values of a key");
    list->add_option("KEY", key, "key path (omitted: the root)");

    CLI11_PARSE(app, argc, argv);
    const HKEY root = machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    if (get->parsed())
        return Get(root, key, name);
    if (set->parsed())
        return Set(machine, key, name, value, type);
    return List(root, key);
}

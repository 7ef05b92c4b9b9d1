// A settings store in a private temporary folder, and an independent look at its file.
#pragma once

#include "platform/settings/Registry.h"
#include "tests/TestKit.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <string>
#include <vector>

// RegCreateKeyExW with every access; its result, the key in `h`.
inline LSTATUS CreateKey(HKEY root, const wchar_t* path, HKEY* h, DWORD* disposition = nullptr)
{
    return RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           h, disposition);
}

inline HKEY Create(HKEY root, const wchar_t* path, DWORD* disposition = nullptr)
{
    HKEY h = nullptr;
    EXPECT_EQ(CreateKey(root, path, &h, disposition), ERROR_SUCCESS);
    return h;
}

// A key path of `levels` levels, each named `name`.
inline std::wstring DeepKey(int levels, const std::wstring& name = L"k")
{
    std::wstring path = name;
    for (int i = 1; i < levels; ++i)
        path += L"\\" + name;
    return path;
}

class SettingsFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("SKINKIT_SETTINGS_DIR", dir.c_str(), 1);
        platform::settings::CloseStores();
    }
    void TearDown() override
    {
        platform::settings::CloseStores();
        ::unsetenv("SKINKIT_SETTINGS_DIR");
    }

    std::string UserDb() const { return dir + "/user.db"; }
    std::string MachineDb() const { return dir + "/machine.db"; }

    // One column of one row through SQLite itself, bypassing the library: "" when absent.
    static std::string Sql(const std::string& file, const std::string& query)
    {
        sqlite3* db = nullptr;
        std::string out;
        if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* stmt = nullptr;
            if (sqlite3_prepare_v2(db, query.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
                sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
                out = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            sqlite3_finalize(stmt);
        }
        sqlite3_close(db);
        return out;
    }

    struct Outcome
    {
        int status = -1;
        std::string out; // standard output and standard error, without the last newline
    };
    // skinkit-reg as a separate process, run by a shell in `cwd` on the store in `settingsDir`
    // (this test's own when empty), spelled as given.
    Outcome Tool(const std::string& args, const std::string& cwd = "/",
                 const std::string& settingsDir = "")
    {
        Outcome r;
        r.out = testkit::RunCommand("cd '" + cwd + "' && SKINKIT_SETTINGS_DIR='" +
                                        (settingsDir.empty() ? dir : settingsDir) +
                                        "' '" SKINKIT_REG_EXE "' " + args + " 2>&1",
                                    &r.status);
        if (!r.out.empty() && r.out.back() == '\n')
            r.out.pop_back();
        return r;
    }
    // A value's column in the user store, by its folded key and name.
    std::string Stored(const std::string& key, const std::string& name,
                       const std::string& column = "type||':'||hex(data)") const
    {
        return Sql(UserDb(), "SELECT " + column + " FROM value WHERE key='" + key +
                                 "' AND name=upper('" + name + "')");
    }

    testkit::TempDir tmp{"skinkit_settings"};
    const std::string dir = tmp.Path();
};

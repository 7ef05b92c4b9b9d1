// A settings store in a private temporary folder, and an independent look at its file.
#pragma once

#include "platform/settings/Registry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class SettingsFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/skinkit_settings_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
        ::setenv("SKINKIT_SETTINGS_DIR", dir.c_str(), 1);
        platform::settings::CloseStores();
    }
    void TearDown() override
    {
        platform::settings::CloseStores();
        ::unsetenv("SKINKIT_SETTINGS_DIR");
        std::filesystem::remove_all(dir);
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

    // skinkit-reg run as a separate process on the same store; its output without the newline.
    std::string Tool(const std::string& args, int* exitCode = nullptr)
    {
        const std::string cmd =
            "SKINKIT_SETTINGS_DIR='" + dir + "' '" SKINKIT_REG_EXE "' " + args + " 2>/dev/null";
        FILE* pipe = ::popen(cmd.c_str(), "r");
        std::string out;
        char buf[512];
        while (pipe && std::fgets(buf, sizeof(buf), pipe))
            out += buf;
        const int status = pipe ? ::pclose(pipe) : -1;
        if (exitCode)
            *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (!out.empty() && out.back() == '\n')
            out.pop_back();
        return out;
    }

    std::string dir;
};

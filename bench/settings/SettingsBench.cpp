// CUtilReg against bare SQLite prepared statements doing the same work on the same store file:
// the cost of the registry layer (handles, name folding, key checks, the write lock) per call.
#include "platform/settings/Registry.h"
#include "util/UtilReg.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

const CString kKey = L"Software\\Skinkit\\Bench";
const char* kFoldedKey = "SOFTWARE\\SKINKIT\\BENCH";

// One store for the whole run, in a private temporary folder.
const std::string& StoreFile()
{
    static const std::string file = [] {
        static char dir[] = "/tmp/skinkit_bench_settings_XXXXXX";
        if (!::mkdtemp(dir))
            std::abort();
        std::atexit([] { std::filesystem::remove_all(dir); });
        ::setenv("SKINKIT_SETTINGS_DIR", dir, 1);
        platform::settings::CloseStores();
        CUtilReg().WriteRegDWORD(kKey, L"Volume", 1); // creates the store and the key
        CUtilReg().WriteRegString(kKey, L"Title", L"A title of a modest length");
        return std::string(dir) + "/user.db";
    }();
    return file;
}

// The peer: its own connection with the store's settings.
struct Bare
{
    sqlite3* db = nullptr;
    sqlite3_stmt* select = nullptr;
    sqlite3_stmt* upsert = nullptr;
    sqlite3_stmt* begin = nullptr;
    sqlite3_stmt* commit = nullptr;

    Bare()
    {
        sqlite3_open_v2(StoreFile().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 5000);
        sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(db, "SELECT type, data FROM value WHERE key=?1 AND name=?2", -1, &select,
                           nullptr);
        sqlite3_prepare_v2(
            db,
            "INSERT INTO value(key, name, spelling, type, data) VALUES(?1, ?2, ?2, 4, ?3)"
            " ON CONFLICT(key, name) DO UPDATE SET type=excluded.type, data=excluded.data",
            -1, &upsert, nullptr);
        sqlite3_prepare_v2(db, "BEGIN IMMEDIATE", -1, &begin, nullptr);
        sqlite3_prepare_v2(db, "COMMIT", -1, &commit, nullptr);
    }
    ~Bare()
    {
        for (sqlite3_stmt* s : {select, upsert, begin, commit})
            sqlite3_finalize(s);
        sqlite3_close(db);
    }
    static void Run(sqlite3_stmt* s)
    {
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    bool Read(const std::string& name, DWORD* out)
    {
        sqlite3_bind_text(select, 1, kFoldedKey, -1, SQLITE_STATIC);
        sqlite3_bind_text(select, 2, name.c_str(), -1, SQLITE_STATIC);
        const bool found =
            sqlite3_step(select) == SQLITE_ROW && sqlite3_column_bytes(select, 1) <= 4;
        if (found)
            std::memcpy(out, sqlite3_column_blob(select, 1), sqlite3_column_bytes(select, 1));
        sqlite3_reset(select);
        return found;
    }
    void Write(const std::string& name, DWORD value)
    {
        sqlite3_bind_text(upsert, 1, kFoldedKey, -1, SQLITE_STATIC);
        sqlite3_bind_text(upsert, 2, name.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_blob(upsert, 3, &value, 4, SQLITE_STATIC);
        Run(upsert);
    }
};

// --- reads of a stored number ---

void ReadNumber_CUtilReg(benchmark::State& state)
{
    StoreFile();
    CUtilReg reg;
    for (auto _ : state)
        benchmark::DoNotOptimize(reg.ReadRegDWORD(kKey, L"Volume", 0));
}
BENCHMARK(ReadNumber_CUtilReg);

void ReadNumber_BareSqlite(benchmark::State& state)
{
    Bare bare;
    DWORD v = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(bare.Read("VOLUME", &v));
}
BENCHMARK(ReadNumber_BareSqlite);

// --- writes of a number ---

void WriteNumber_CUtilReg(benchmark::State& state)
{
    StoreFile();
    CUtilReg reg;
    DWORD i = 0;
    for (auto _ : state)
        reg.WriteRegDWORD(kKey, L"Counter", ++i);
}
BENCHMARK(WriteNumber_CUtilReg);

void WriteNumber_BareSqlite(benchmark::State& state)
{
    Bare bare;
    DWORD i = 0;
    for (auto _ : state)
        bare.Write("COUNTER", ++i);
}
BENCHMARK(WriteNumber_BareSqlite);

// --- first reads: the default stored under the write lock ---

void ReadMissingStoresDefault_CUtilReg(benchmark::State& state)
{
    StoreFile();
    CUtilReg reg;
    int i = 0;
    CString name;
    for (auto _ : state) {
        state.PauseTiming();
        name.Format(L"u%d", ++i);
        state.ResumeTiming();
        benchmark::DoNotOptimize(reg.ReadRegDWORD(kKey, name, 7));
    }
}
BENCHMARK(ReadMissingStoresDefault_CUtilReg);

void ReadMissingStoresDefault_BareSqlite(benchmark::State& state)
{
    Bare bare;
    int i = 0;
    std::string name;
    for (auto _ : state) {
        state.PauseTiming();
        name = "B" + std::to_string(++i);
        state.ResumeTiming();
        DWORD v = 7;
        Bare::Run(bare.begin);
        if (!bare.Read(name, &v))
            bare.Write(name, 7);
        Bare::Run(bare.commit);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(ReadMissingStoresDefault_BareSqlite);

} // namespace

// Several processes on one store, a writer killed mid-write, and stores that cannot be written.
#include "util/UtilReg.h"

#include "SettingsFixture.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <fstream>

namespace {

const CString kKey = L"Software\\Skinkit\\Stress";

// Runs `body` in a child process; its exit status (-1 when it died of a signal).
template <class Body> pid_t Spawn(Body body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 1;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    return pid;
}

int Wait(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return -2;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

CString Numbered(const std::string& prefix, int a, int b = -1)
{
    return CString::FromUtf8(prefix + std::to_string(a) + (b < 0 ? "" : "_" + std::to_string(b)));
}

} // namespace

using SharedStore = SettingsFolder;

// Every process writes its own values and races the others to store the defaults of shared
// ones. A lost value, a "database is locked" failure or two processes seeing different first
// values all show up here.
TEST_F(SharedStore, FourProcessesWritingTwoThousandValuesEachLoseNothing)
{
    constexpr int kProcesses = 4, kWrites = 2000;
    std::array<pid_t, kProcesses> pids{};
    for (int p = 0; p < kProcesses; ++p) {
        pids[p] = Spawn([&, p] {
            CUtilReg reg;
            std::ofstream seen(dir + "/seen" + std::to_string(p));
            for (int i = 0; i < kWrites; ++i) {
                reg.WriteRegDWORD(kKey, Numbered("p", p, i),
                                  static_cast<DWORD>(i * kProcesses + p));
                // The first process to read stores its number; the others must read it back.
                seen << reg.ReadRegDWORD(kKey, Numbered("first", i), static_cast<DWORD>(p + 1))
                     << "\n";
            }
            return seen.good() ? 0 : 3;
        });
        ASSERT_GT(pids[p], 0);
    }
    for (pid_t pid : pids)
        EXPECT_EQ(Wait(pid), 0);

    platform::settings::CloseStores();
    EXPECT_EQ(Sql(UserDb(), "SELECT count(*) FROM value WHERE name LIKE 'P%'"),
              std::to_string(kProcesses * kWrites));
    // Each value holds exactly what its writer wrote, and every process read the first values
    // some process stored, read back from disk.
    CUtilReg reg;
    int wrong = 0, disagreements = 0;
    std::array<std::ifstream, kProcesses> seen;
    for (int p = 0; p < kProcesses; ++p)
        seen[p].open(dir + "/seen" + std::to_string(p));
    for (int i = 0; i < kWrites; ++i) {
        const DWORD stored = reg.ReadRegDWORD(kKey, Numbered("first", i), 0);
        for (int p = 0; p < kProcesses; ++p) {
            DWORD v = ~0u;
            seen[p] >> v;
            disagreements += v != stored;
            wrong += reg.ReadRegDWORD(kKey, Numbered("p", p, i), ~0u) !=
                     static_cast<DWORD>(i * kProcesses + p);
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(disagreements, 0);
}

using KilledWriter = SettingsFolder;

TEST_F(KilledWriter, StoreOpensWithEveryAcknowledgedValue)
{
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        int acks[2];
        ASSERT_EQ(::pipe(acks), 0);
        const pid_t pid = Spawn([&] {
            ::close(acks[0]);
            CUtilReg reg;
            for (int i = 0;; ++i) {
                reg.WriteRegDWORD(kKey, Numbered("r", round, i), static_cast<DWORD>(i));
                // Texts make the transactions span several pages now and then.
                reg.WriteRegString(kKey, Numbered("s", round, i % 50), CString(L'x', 200 + i % 59));
                if (::write(acks[1], &i, sizeof(i)) != sizeof(i))
                    return 2;
            }
        });
        ASSERT_GT(pid, 0);
        ::close(acks[1]);
        // Let it run into the middle of a write at a moment that differs per round.
        int last = -1, got = 0;
        while (last < 150 + 97 * round && ::read(acks[0], &got, sizeof(got)) == sizeof(got))
            last = got;
        ::kill(pid, SIGKILL);
        while (::read(acks[0], &got, sizeof(got)) == sizeof(got))
            last = got;
        ::close(acks[0]);
        EXPECT_EQ(Wait(pid), -1);

        platform::settings::CloseStores();
        EXPECT_EQ(Sql(UserDb(), "PRAGMA integrity_check"), "ok");
        int missing = 0;
        CUtilReg reg;
        for (int i = 0; i <= last; ++i)
            missing += reg.ReadRegDWORD(kKey, Numbered("r", round, i), 0xFFFFFFFF) !=
                       static_cast<DWORD>(i);
        EXPECT_EQ(missing, 0) << "of " << last + 1 << " acknowledged";
    }
}

using UnwritableStore = SettingsFolder;

// No place for the store (a regular file where the folder should be: even root cannot create
// it there) and read-only files: reads answer stored values or defaults, writes fail quietly.
TEST_F(UnwritableStore, NoPlaceOrReadOnlyFilesGiveStoredValuesOrDefaults)
{
    CUtilReg reg;
    reg.WriteRegDWORD(kKey, L"Volume", 5);
    platform::settings::CloseStores();
    std::ofstream(dir + "/file") << "x";
    ::setenv("SKINKIT_SETTINGS_DIR", (dir + "/file/settings").c_str(), 1);
    reg.WriteRegDWORD(kKey, L"Volume", 6);
    EXPECT_EQ(reg.ReadRegDWORD(kKey, L"Volume", 70), 70u);
    EXPECT_EQ(reg.ReadRegDWORD(kKey, L"Volume", 71), 71u);
    platform::settings::CloseStores();
    ::setenv("SKINKIT_SETTINGS_DIR", dir.c_str(), 1);
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    namespace fs = std::filesystem;
    fs::permissions(UserDb(), fs::perms::owner_read);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    const DWORD volume = reg.ReadRegDWORD(kKey, L"Volume", 70);
    EXPECT_TRUE(volume == 5 || volume == 70) << volume;
    EXPECT_EQ(reg.ReadRegDWORD(kKey, L"Missing", 9), 9u);
    reg.WriteRegDWORD(kKey, L"Volume", 6);
    fs::permissions(dir, fs::perms::owner_all);
    platform::settings::CloseStores();
    EXPECT_EQ(reg.ReadRegDWORD(kKey, L"Volume", 0), 5u);
}

// A file size limit stands in for a full disk: writes past it fail inside SQLite.
TEST_F(UnwritableStore, FullDiskGivesDefaultsAndKeepsWhatWasWritten)
{
    CUtilReg().WriteRegDWORD(kKey, L"Before", 1234);
    const pid_t pid = Spawn([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        CUtilReg reg;
        reg.WriteRegDWORD(kKey, L"Warm", 1); // the child's own connection, before the limit
        struct rlimit limit;
        const auto size = [&](const char* suffix) {
            std::error_code ec;
            const auto n = std::filesystem::file_size(UserDb() + suffix, ec);
            return ec ? 0 : static_cast<rlim_t>(n);
        };
        limit.rlim_cur = limit.rlim_max = std::max(size(""), size("-wal")) + 16 * 1024;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 4;
        int failed = 0;
        for (int i = 0; i < 200; ++i) {
            const CString name = Numbered("big", i);
            reg.WriteRegString(kKey, name, CString(L'z', 259));
            failed += reg.ReadRegString(kKey, name, L"default") == L"default";
        }
        if (failed == 0)
            return 5; // the limit never bit: the test proves nothing
        if (reg.ReadRegDWORD(kKey, L"Before", 0) != 1234)
            return 6;
        return reg.ReadRegDWORD(kKey, L"NewAfterFull", 77) == 77 ? 0 : 7;
    });
    ASSERT_GT(pid, 0);
    EXPECT_EQ(Wait(pid), 0);
    platform::settings::CloseStores();
    EXPECT_EQ(Sql(UserDb(), "PRAGMA integrity_check"), "ok");
    CUtilReg reg;
    EXPECT_EQ(reg.ReadRegDWORD(kKey, L"Before", 0), 1234u);
    EXPECT_EQ(reg.ReadRegDWORD(kKey, L"Warm", 0), 1u);
}

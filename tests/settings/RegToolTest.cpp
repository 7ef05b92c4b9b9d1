// skinkit-reg stores what the user meant or says why not: numbers, text lengths, the settings
// folder, broken stores, and its exit statuses. The store is read back by SQLite itself and by
// the library in this process.
#include "SettingsFixture.h"

#include "platform/base/CString.h"
#include "util/UtilReg.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

using RegTool = SettingsFolder;

// Exit status 0 success, 1 a failed operation, 2 bad usage; and what the output must say, set
// saying what it stored: numbers are decimal unless written hex. A key past the registry's
// limits is bad usage named by the limit, refused before the store is made (where the limits
// lie is the library's rule, held by its own tests).
TEST_F(RegTool, ExitStatusesAndWhatIsSaid)
{
    const std::string deep = CString(DeepKey(513).c_str()).ToUtf8();
    // Arguments, exit status, what the output says.
    const std::tuple<std::string, int, const char*> cases[] = {
        {"set '" + deep + "' N 1", 2, "513 levels"},
        {"get " + std::string(256, 'n') + " N", 2, "256 UTF-16 units"},
        {"--machine get 'Software\\App' A", 1, ""}, // no machine store here
        {"set 'Software\\App' N 0123", 0, "REG_DWORD 123"},
        {"set 'Software\\App' N 0x1F", 0, "REG_DWORD 31"},
        {"set 'Software\\App' N 0X10", 0, "REG_DWORD 16"},
        {"set 'Software\\App' N 4294967295", 0, "REG_DWORD 4294967295"},
        {"set 'Software\\App' N -1", 0, "REG_DWORD 4294967295"},
        {"set -t sz 'Software\\App' A 1", 0, "REG_SZ 1"},
        {"set 'Software\\App' B 1 -t sz", 0, "REG_SZ 1"},
        {"-t sz set 'Software\\App' C 1", 0, "REG_SZ 1"},
        {"set 'Software\\App' Skin Blue", 0, "REG_SZ Blue"},
        {"set 'Software\\App' Code 0042 --type sz", 0, "REG_SZ 0042"},
        {"get", 2, ""},
        {"frobnicate", 2, ""},
        {"get 'Software\\App' A -t sz", 2, ""},
        {"set -t dword 'Software\\App' M 0x", 2, "not a 32-bit number"},
        {"set -t dword 'Software\\App' M 12abc", 2, "not a 32-bit number"},
        {"set -t dword 'Software\\App' M 4294967296", 2, "not a 32-bit number"},
        {"set -t dword 'Software\\App' M -0x1", 2, "not a 32-bit number"},
        {"--help", 0, "Exit status"},
        // 300 characters would be stored whole and replaced by the default at the next read;
        // the longest text the library keeps is stored.
        {"set -t sz 'Software\\App' Long " + std::string(300, 'a'), 2, "259"},
        {"set -t sz 'Software\\App' Title " + std::string(259, 'b'), 0, "REG_SZ bbb"},
    };
    for (const auto& [args, status, says] : cases) {
        const Outcome r = Tool(args);
        EXPECT_EQ(r.status, status) << args << ": " << r.out;
        EXPECT_NE(r.out.find(says), std::string::npos) << args << ": " << r.out;
        if (std::string_view(says) == "256 UTF-16 units") {
            EXPECT_FALSE(fs::exists(UserDb())) << "a refused key made the store";
        }
    }
    for (const char* name : {"A", "B", "C", "Skin", "Code"})
        EXPECT_EQ(Stored("SOFTWARE\\APP", name, "type"), "1") << name;
    EXPECT_EQ(Stored("SOFTWARE\\APP", "Code", "hex(data)"), "3000300034003200");
    EXPECT_EQ(Stored("SOFTWARE\\APP", "M", "type") + Stored("SOFTWARE\\APP", "Long", "type"), "");
    platform::settings::CloseStores();
    EXPECT_EQ(CUtilReg().ReadRegDWORD(L"Software\\App", L"N", 7), 0xFFFFFFFFu);
    EXPECT_EQ(CUtilReg().ReadRegString(L"Software\\App", L"Title", L"x"), CString(L'b', 259));
}

TEST_F(RegTool, ARelativeSettingsFolderIsTakenFromTheCurrentFolder)
{
    fs::create_directories(dir + "/work");
    const Outcome r = Tool("set 'Software\\App' N 5", dir + "/work", "rel/settings");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(Sql(dir + "/work/rel/settings/user.db", "SELECT hex(data) FROM value"), "05000000");
    const Outcome help = Tool("--help", dir + "/work", "rel/settings");
    EXPECT_NE(help.out.find(dir + "/work/rel/settings/user.db"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("SKINKIT_SETTINGS_DIR"), std::string::npos);
}

TEST_F(RegTool, ABrokenStoreSaysWhatIsWrongNotNoKey)
{
    // What, how it is made, what is said.
    const std::tuple<const char*, void (*)(const std::string&), const char*> cases[] = {
        {"a directory", [](const std::string& f) { fs::create_directories(f); }, "directory"},
        {"not a database", [](const std::string& f) { std::ofstream(f) << std::string(4096, 'x'); },
         "not a settings database"},
    };
    for (const auto& [what, make, said] : cases) {
        fs::remove_all(UserDb());
        make(UserDb());
        for (const char* args :
             {"get 'Software\\App' N", "list 'Software\\App'", "set 'Software\\App' N 1"}) {
            const Outcome r = Tool(args);
            EXPECT_EQ(r.status, 1) << what << ", " << args;
            EXPECT_NE(r.out.find(said), std::string::npos) << what << ", " << args << ": " << r.out;
            EXPECT_EQ(r.out.find("no key"), std::string::npos) << r.out;
        }
    }
}

// A store on a read-only file system is refused by the medium, not by permissions: the
// message names that cause, whether the store exists already or would have to be made.
TEST_F(RegTool, AReadOnlyFileSystemIsNamedAsTheCause)
{
    const std::string mounted = dir + "/ro", fresh = dir + "/ro/fresh";
    fs::create_directories(mounted);
    if (std::system(("mount -t tmpfs -o size=1m tmpfs '" + mounted + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    struct Unmount
    {
        std::string at;
        ~Unmount() { (void)std::system(("umount '" + at + "'").c_str()); }
    } const unmount{mounted};
    ASSERT_EQ(Tool("set 'Software\\App' N 1", "/", mounted).status, 0);
    ASSERT_EQ(std::system(("mount -o remount,ro '" + mounted + "'").c_str()), 0);

    const std::pair<const char*, std::string> cases[] = {{"set 'Software\\App' N 2", mounted},
                                                         {"set 'Software\\App\\New' N 2", mounted},
                                                         {"set 'Software\\App' N 2", fresh}};
    for (const auto& [args, settings] : cases) {
        const Outcome r = Tool(args, "/", settings);
        EXPECT_EQ(r.status, 1) << args << " in " << settings;
        EXPECT_NE(r.out.find(std::strerror(EROFS)), std::string::npos)
            << args << " in " << settings << ": " << r.out;
        EXPECT_EQ(r.out.find("permission denied"), std::string::npos) << r.out;
    }
    EXPECT_EQ(Tool("get 'Software\\App' N", "/", mounted).out, "1");
}

// skinkit-reg stores what the user meant or says why not: numbers, text lengths, the settings
// folder, broken stores, and its exit statuses. The store is read back by SQLite itself and by
// the library in this process.
#include "SettingsFixture.h"

#include "platform/base/CString.h"
#include "util/UtilReg.h"

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome
{
    int status = -1;
    std::string out; // standard output and standard error together
};

// The tool run by a shell in `cwd` with SKINKIT_SETTINGS_DIR set to `settingsDir` as given.
Outcome Reg(const std::string& settingsDir, const std::string& args, const std::string& cwd = "/")
{
    const std::string cmd = "cd '" + cwd + "' && SKINKIT_SETTINGS_DIR='" + settingsDir + "' '" +
                            SKINKIT_REG_EXE + "' " + args + " 2>&1";
    Outcome r;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    char buf[512];
    while (pipe && std::fgets(buf, sizeof buf, pipe))
        r.out += buf;
    const int status = pipe ? ::pclose(pipe) : -1;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class RegTool : public SettingsFolder
{
protected:
    std::string StoredType(const std::string& name)
    {
        return Sql(UserDb(), "SELECT type FROM value WHERE name = upper('" + name + "')");
    }
    std::string StoredHex(const std::string& name)
    {
        return Sql(UserDb(), "SELECT hex(data) FROM value WHERE name = upper('" + name + "')");
    }
};

} // namespace

TEST_F(RegTool, NumbersAreDecimalUnlessWrittenHex)
{
    struct
    {
        const char* typed;
        DWORD stored;
    } const cases[] = {{"0123", 123}, {"010", 10},         {"0x1F", 31},
                       {"0X10", 16},  {"-1", 0xFFFFFFFFu}, {"4294967295", 0xFFFFFFFFu}};
    CUtilReg reg;
    for (const auto& c : cases) {
        const Outcome r = Reg(dir, std::string("set 'Software\\App' N ") + c.typed);
        EXPECT_EQ(r.status, 0) << c.typed << ": " << r.out;
        EXPECT_NE(r.out.find("REG_DWORD " + std::to_string(c.stored)), std::string::npos)
            << "set says what it stored: " << r.out;
        platform::settings::CloseStores();
        EXPECT_EQ(reg.ReadRegDWORD(L"Software\\App", L"N", 7), c.stored) << c.typed;
    }
    // Not numbers in either base: refused as bad usage, nothing stored.
    for (const char* bad : {"0x", "12abc", "0o17", "4294967296", "-0x1"}) {
        const Outcome r = Reg(dir, std::string("set -t dword 'Software\\App' M ") + bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.out.find("not a 32-bit number"), std::string::npos) << r.out;
    }
    EXPECT_EQ(StoredType("M"), "");
}

TEST_F(RegTool, SetSaysWhichTypeItStored)
{
    const Outcome text = Reg(dir, "set 'Software\\App' Skin Blue");
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("REG_SZ Blue"), std::string::npos) << text.out;
    EXPECT_EQ(StoredType("Skin"), "1");
    const Outcome forced = Reg(dir, "set 'Software\\App' Code 0042 --type sz");
    EXPECT_NE(forced.out.find("REG_SZ 0042"), std::string::npos) << forced.out;
    EXPECT_EQ(StoredHex("Code"), "3000300034003200"); // "0042" in UTF-16LE
}

TEST_F(RegTool, ATextLongerThanTheLibraryReadsIsRefused)
{
    // 300 characters would be stored whole and then replaced by the default at the next read.
    const std::string longText(300, 'a');
    const Outcome r = Reg(dir, "set -t sz 'Software\\App' Title " + longText);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("259"), std::string::npos) << r.out;
    EXPECT_EQ(StoredType("Title"), "");
    // The longest text the library keeps is still stored and read back whole.
    const std::string fits(259, 'b');
    EXPECT_EQ(Reg(dir, "set -t sz 'Software\\App' Title " + fits).status, 0);
    platform::settings::CloseStores();
    EXPECT_EQ(CUtilReg().ReadRegString(L"Software\\App", L"Title", L"x"), CString::FromUtf8(fits));
}

TEST_F(RegTool, ARelativeSettingsFolderIsTakenFromTheCurrentFolder)
{
    fs::create_directories(dir + "/work");
    const Outcome r = Reg("rel/settings", "set 'Software\\App' N 5", dir + "/work");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(fs::exists(dir + "/work/rel/settings/user.db"));
    EXPECT_EQ(Sql(dir + "/work/rel/settings/user.db", "SELECT hex(data) FROM value"), "05000000");
    const Outcome help = Reg("rel/settings", "--help", dir + "/work");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find(dir + "/work/rel/settings/user.db"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("SKINKIT_SETTINGS_DIR"), std::string::npos);
}

TEST_F(RegTool, ABrokenStoreSaysWhatIsWrongNotNoKey)
{
    struct
    {
        const char* what;
        void (*make)(const std::string& file);
        const char* said;
    } const cases[] = {
        {"a directory", [](const std::string& f) { fs::create_directories(f); }, "directory"},
        {"not a database", [](const std::string& f) { std::ofstream(f) << std::string(4096, 'x'); },
         "not a settings database"},
    };
    for (const auto& c : cases) {
        fs::remove_all(UserDb());
        c.make(UserDb());
        for (const char* args :
             {"get 'Software\\App' N", "list 'Software\\App'", "set 'Software\\App' N 1"}) {
            const Outcome r = Reg(dir, args);
            EXPECT_EQ(r.status, 1) << c.what << ", " << args;
            EXPECT_NE(r.out.find(c.said), std::string::npos)
                << c.what << ", " << args << ": " << r.out;
            EXPECT_EQ(r.out.find("no key"), std::string::npos) << r.out;
        }
    }
}

TEST_F(RegTool, OptionsComeBeforeOrAfterTheSubcommandAndUsageErrorsExitTwo)
{
    EXPECT_EQ(Reg(dir, "set -t sz 'Software\\App' A 1").status, 0);
    EXPECT_EQ(Reg(dir, "set 'Software\\App' B 1 -t sz").status, 0);
    EXPECT_EQ(Reg(dir, "-t sz set 'Software\\App' C 1").status, 0);
    for (const char* name : {"A", "B", "C"})
        EXPECT_EQ(StoredType(name), "1") << name;
    // The machine-wide store does not exist here: the key is missing, wherever --machine is.
    EXPECT_EQ(Reg(dir, "--machine get 'Software\\App' A").status, 1);
    EXPECT_EQ(Reg(dir, "get 'Software\\App' A --machine").status, 1);
    EXPECT_EQ(Reg(dir, "get").status, 2);
    EXPECT_EQ(Reg(dir, "frobnicate").status, 2);
    EXPECT_EQ(Reg(dir, "get 'Software\\App' A -t sz").status, 2);
    const Outcome help = Reg(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Exit status"), std::string::npos) << help.out;
}

TEST_F(RegTool, ALatin1PathKeptInTheSettingsNamesTheSameFileWhenReadBack)
{
    const CString path = CString::FromPathBytes("/home/user/vid\xE9os/clip \xE9t\xE9.avi");
    CUtilReg reg;
    reg.WriteRegString(L"Software\\App", L"LastFile", path);
    platform::settings::CloseStores();
    const CString back = reg.ReadRegString(L"Software\\App", L"LastFile", L"");
    EXPECT_EQ(back.ToPathBytes(), "/home/user/vid\xE9os/clip \xE9t\xE9.avi");
}

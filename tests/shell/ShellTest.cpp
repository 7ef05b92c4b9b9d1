// The shell services over a private desktop: a fake browser registered for text/html and the
// http and https schemes in an XDG tree of this test's own, set up before GLib reads its
// folders. The fake browser writes its arguments to a log that the tests read back.
#include "platform/shell/Shell.h"
#include "platform/settings/Registry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

struct FakeDesktop
{
    FakeDesktop()
    {
        char pattern[] = "/tmp/skinkit_shell_XXXXXX";
        root = ::mkdtemp(pattern);
        fs::create_directories(root / "data/applications");
        fs::create_directories(root / "config");
        fs::create_directories(root / "bin");
        Write(root / "bin/fakebrowser",
              "#!/bin/sh\necho \"$*\" >> '" + (root / "calls.log").string() + "'\n");
        fs::permissions(root / "bin/fakebrowser", fs::perms::owner_all);
        Write(root / "data/applications/fakebrowser.desktop",
              "[Desktop Entry]\nType=Application\nName=Fake Browser\n"
              "Exec=fakebrowser --new-window %u\n"
              "MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n");
        Write(root / "config/mimeapps.list",
              "[Default Applications]\ntext/html=fakebrowser.desktop\n"
              "x-scheme-handler/http=fakebrowser.desktop\n"
              "x-scheme-handler/https=fakebrowser.desktop\n");
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        ::setenv("SKINKIT_SETTINGS_DIR", (root / "settings").c_str(), 1);
        const char* path = std::getenv("PATH");
        ::setenv("PATH", ((root / "bin").string() + ":" + (path ? path : "/usr/bin:/bin")).c_str(),
                 1);
    }
    ~FakeDesktop() { fs::remove_all(root); }
    static void Write(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
    fs::path root;
};

// Made while static objects are built: before any test, and before GLib caches the folders.
FakeDesktop g_desktop;

// The fake browser's calls, waiting up to five seconds for `lines` of them.
std::string Calls(size_t lines = 1)
{
    const fs::path log = g_desktop.root / "calls.log";
    for (int i = 0; i < 500; ++i) {
        std::ifstream in(log);
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        if (static_cast<size_t>(std::count(s.begin(), s.end(), '\n')) >= lines)
            return s;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

class Shell : public ::testing::Test
{
protected:
    void SetUp() override { fs::remove(g_desktop.root / "calls.log"); }
    void TearDown() override { platform::shell::SetDesktop({}); }
};

INT_PTR Code(HINSTANCE h)
{
    return reinterpret_cast<INT_PTR>(h);
}

} // namespace

TEST(ShellExecLines, FieldCodesBecomeOnePlaceholder)
{
    const struct
    {
        const wchar_t* exec;
        const wchar_t* line;
    } cases[] = {
        {L"fakebrowser --new-window %u", L"fakebrowser --new-window %1"},
        {L"viewer %U %f", L"viewer %1"},
        {L"b --icon %i %c %k", L"b --icon"},
        {L"c --zoom=100%% %F", L"c --zoom=100% %1"},
        {L"plain", L"plain"},
        {L"\"/opt/my browser/run\" %u --x", L"\"/opt/my browser/run\" %1 --x"},
        {L"trailing %", L"trailing %"},
    };
    for (const auto& k : cases)
        EXPECT_EQ(platform::shell::CommandLineOfExec(k.exec), k.line) << CString(k.exec).ToUtf8();
}

TEST_F(Shell, ClassesRootAnswersTheDesktopHtmlHandler)
{
    wchar_t type[260];
    LONG size = sizeof(char16_t) * 260;
    ASSERT_EQ(RegQueryValueW(HKEY_CLASSES_ROOT, L".htm", type, &size), ERROR_SUCCESS);
    EXPECT_STREQ(type, L"fakebrowser.desktop");
    wchar_t command[260];
    size = sizeof(char16_t) * 260;
    const std::wstring key = std::wstring(type) + L"\\Shell\\Open\\Command";
    ASSERT_EQ(RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), command, &size), ERROR_SUCCESS);
    EXPECT_STREQ(command, L"fakebrowser --new-window %1");

    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".HTML", 0, KEY_QUERY_VALUE, &h), ERROR_SUCCESS);
    DWORD kind = 0, bytes = 0;
    EXPECT_EQ(RegQueryValueExW(h, nullptr, nullptr, &kind, nullptr, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(kind, REG_SZ);
    EXPECT_EQ(bytes, 2u * (19 + 1));
    EXPECT_EQ(RegQueryValueExW(h, L"named", nullptr, &kind, nullptr, &bytes), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".txt", 0, KEY_QUERY_VALUE, &h),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".htm", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &h, nullptr),
              ERROR_ACCESS_DENIED);
}

TEST_F(Shell, WithoutAnHtmlHandlerTheClassesRootIsEmpty)
{
    platform::shell::Desktop none;
    none.htmlHandler = [] { return std::optional<platform::shell::Desktop::Handler>(); };
    platform::shell::SetDesktop(none);
    wchar_t text[260];
    LONG size = sizeof(char16_t) * 260;
    EXPECT_EQ(RegQueryValueW(HKEY_CLASSES_ROOT, L".htm", text, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(Shell, OpenHandsTheUrlToTheDefaultHandler)
{
    EXPECT_GT(Code(ShellExecuteW(nullptr, L"open", L"https://example.com/a b?x=1&y=2", nullptr,
                                 nullptr, 5)),
              32);
    EXPECT_EQ(Calls(), "--new-window https://example.com/a b?x=1&y=2\n");
}

TEST_F(Shell, OpenRefusesMissingFilesAndUnknownVerbs)
{
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"open", L"/no/such/file.htm", nullptr, nullptr, 5)),
              SE_ERR_FNF);
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"print", L"https://example.com/", nullptr, nullptr, 5)),
              SE_ERR_NOASSOC);
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"open", L"", nullptr, nullptr, 5)), SE_ERR_FNF);
}

TEST_F(Shell, OpenGivesAnExistingPathAsAFileUrl)
{
    std::string seen;
    platform::shell::Desktop recording;
    recording.open = [&seen](const std::string& uri) {
        seen = uri;
        return INT_PTR(42);
    };
    platform::shell::SetDesktop(recording);
    const fs::path page = g_desktop.root / "read me.htm";
    FakeDesktop::Write(page, "<p>");
    EXPECT_EQ(Code(ShellExecuteW(nullptr, nullptr, CString::FromUtf8(page.string()), nullptr,
                                 nullptr, 5)),
              42);
    EXPECT_EQ(seen, "file://" + (g_desktop.root / "read%20me.htm").string());
}

TEST_F(Shell, WinExecStartsTheProgramWithoutAShell)
{
    EXPECT_GT(WinExec("fakebrowser  'two words' \"$HOME\" https://e.org/?a=1", 5), 31u);
    EXPECT_EQ(Calls(), "two words $HOME https://e.org/?a=1\n");
    EXPECT_EQ(WinExec("", 5), 2u);
    EXPECT_EQ(WinExec(nullptr, 5), 2u);
    EXPECT_EQ(WinExec("no-such-program-of-skinkit", 5), 2u);
    EXPECT_EQ(WinExec("fakebrowser 'unbalanced", 5), ERROR_BAD_FORMAT);
}

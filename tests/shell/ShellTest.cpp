// The shell services over a private desktop whose fake browser is the default for HTML files
// and web addresses.
#include "platform/shell/Shell.h"
#include "platform/settings/Registry.h"

#include "FakeDesktop.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

FakeDesktop g_desktop({"text/html", "x-scheme-handler/http", "x-scheme-handler/https"});

class Shell : public ::testing::Test
{
protected:
    void SetUp() override { g_desktop.ClearCalls(); }
    void TearDown() override { platform::shell::SetDesktop({}); }
};

INT_PTR Open(LPCWSTR verb, LPCWSTR file)
{
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, verb, file, nullptr, nullptr, 5));
}

// The classes root's default value of `key`, or "" when the query fails.
std::wstring ClassesRoot(const wchar_t* key)
{
    wchar_t text[260] = L"";
    LONG size = sizeof(char16_t) * 260;
    return RegQueryValueW(HKEY_CLASSES_ROOT, key, text, &size) == ERROR_SUCCESS ? text : L"";
}

} // namespace

TEST(ShellExecLines, FieldCodesBecomeOnePlaceholder)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"fakebrowser --new-window %u", L"fakebrowser --new-window %1"},
        {L"viewer %U %f", L"viewer %1"},
        {L"b --icon %i %c %k", L"b --icon"},
        {L"c --zoom=100%% %F", L"c --zoom=100% %1"},
        {L"plain", L"plain"},
        {L"\"/opt/my browser/run\" %u --x", L"\"/opt/my browser/run\" %1 --x"},
        {L"trailing %", L"trailing %"}};
    for (auto [exec, line] : cases)
        EXPECT_EQ(platform::shell::CommandLineOfExec(exec), line) << CString(exec).ToUtf8();
}

TEST_F(Shell, ClassesRootAnswersTheDesktopHtmlHandler)
{
    EXPECT_EQ(ClassesRoot(L".htm"), L"fakebrowser.desktop");
    EXPECT_EQ(ClassesRoot(L"fakebrowser.desktop\\Shell\\Open\\Command"),
              L"fakebrowser --new-window %1");
    EXPECT_EQ(ClassesRoot(L".txt"), L"");
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".HTML", 0, KEY_QUERY_VALUE, &h), ERROR_SUCCESS);
    wchar_t type[32] = L"";
    LONG size = sizeof(char16_t) * 32;
    EXPECT_EQ(RegQueryValueW(h, nullptr, type, &size), ERROR_SUCCESS); // as the hyperlink reads it
    EXPECT_STREQ(type, L"fakebrowser.desktop");
    EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".htm", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &h, nullptr),
              ERROR_ACCESS_DENIED);
    const BYTE one[4] = {1};
    EXPECT_EQ(RegSetValueExW(HKEY_CLASSES_ROOT, L"x", 0, REG_DWORD, one, 4), ERROR_ACCESS_DENIED);

    platform::shell::Desktop none;
    none.htmlHandler = [] { return std::optional<platform::shell::Desktop::Handler>(); };
    platform::shell::SetDesktop(none);
    EXPECT_EQ(ClassesRoot(L".htm"), L"");
}

TEST_F(Shell, OpenHandsTheUrlToTheDefaultHandlerAndNamesFailures)
{
    EXPECT_GT(Open(L"open", L"https://example.com/a b?x=1&y=2"), 32);
    EXPECT_EQ(g_desktop.Calls(), "[--new-window][https://example.com/a b?x=1&y=2]\n");
    EXPECT_EQ(Open(L"open", L"/no/such/file.htm"), SE_ERR_FNF);
    EXPECT_EQ(Open(L"print", L"https://example.com/"), SE_ERR_NOASSOC);
    EXPECT_EQ(Open(L"open", L""), SE_ERR_FNF);
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
    EXPECT_EQ(
        Open(nullptr, CString::FromUtf8(g_desktop.tmp.Write("read me.htm", std::string("<p>")))),
        42);
    EXPECT_EQ(seen, "file://" + (g_desktop.root / "read%20me.htm").string());
}

TEST_F(Shell, WinExecSplitsAsAShellWouldWithoutRunningOne)
{
    EXPECT_GT(WinExec("fakebrowser  'two words' \"$HOME\" https://e.org/?a=1", 5), 31u);
    EXPECT_EQ(g_desktop.Calls(), "[two words][$HOME][https://e.org/?a=1]\n");
    for (const char* line : {"", static_cast<const char*>(nullptr), "no-such-program-of-skinkit"})
        EXPECT_EQ(WinExec(line, 5), 2u) << (line ? line : "null");
    EXPECT_EQ(WinExec("fakebrowser 'unbalanced", 5), ERROR_BAD_FORMAT);
}

// The registry functions themselves: results and sizes as Windows gives them.
#include "SettingsFixture.h"

#include <cstring>

namespace {

HKEY Create(HKEY root, const wchar_t* path, DWORD* disposition = nullptr)
{
    HKEY h = nullptr;
    EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &h, disposition),
              ERROR_SUCCESS);
    return h;
}

} // namespace

using RegistryKeys = SettingsFolder;

TEST_F(RegistryKeys, CreateTellsNewFromExistingOpenNeverCreatesAndBadArgumentsFail)
{
    HKEY h = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\New", 0, KEY_READ, &h),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(h, nullptr);
    DWORD how = 0;
    RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\New", &how));
    EXPECT_EQ(how, REG_CREATED_NEW_KEY);
    RegCloseKey(Create(HKEY_CURRENT_USER, L"SOFTWARE\\new", &how));
    EXPECT_EQ(how, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"software\\NEW", 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);

    // Paths below an open key, and bad arguments.
    HKEY parent = Create(HKEY_CURRENT_USER, L"Software");
    HKEY child = Create(parent, L"Vendor\\App");
    const DWORD v = 9;
    EXPECT_EQ(RegSetValueExW(child, L"n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), 4),
              ERROR_SUCCESS);
    RegCloseKey(child);
    HKEY again = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Vendor\\App", 0, KEY_READ, &again),
              ERROR_SUCCESS);
    RegCloseKey(again);
    RegCloseKey(parent);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"\\Lead", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &h, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCloseKey(parent), ERROR_INVALID_HANDLE); // already closed
    DWORD size = 4;
    EXPECT_EQ(RegQueryValueExW(parent, L"n", nullptr, nullptr, nullptr, &size),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueExW(HKEY_CURRENT_USER, L"n", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
}

// Keys deeper than 512 levels or with a level name longer than 255 units are refused with an
// error code, whether the path is given whole or below an open key; nothing is stored for them.
TEST_F(RegistryKeys, KeysPastTheDepthAndNameLimitsAreRefused)
{
    const auto deep = [](int levels, const std::wstring& name = L"k") {
        std::wstring path;
        for (int i = 0; i < levels; ++i)
            path += (i ? L"\\" : L"") + name;
        return path;
    };
    const struct
    {
        std::wstring path;
        LSTATUS result;
    } cases[] = {
        {deep(512), ERROR_SUCCESS},
        {deep(513), ERROR_INVALID_PARAMETER},
        {deep(512) + L"\\\\", ERROR_SUCCESS}, // empty levels do not count
        {std::wstring(255, L'n'), ERROR_SUCCESS},
        {std::wstring(256, L'n'), ERROR_INVALID_PARAMETER},
        {L"a\\" + std::wstring(256, L'n') + L"\\b", ERROR_INVALID_PARAMETER},
        {std::wstring(127, L'n') + L"\U0001F600", ERROR_SUCCESS},           // 129 units
        {std::wstring(254, L'n') + L"\U0001F600", ERROR_INVALID_PARAMETER}, // 256 units
    };
    for (const auto& c : cases) {
        HKEY h = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, c.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &h, nullptr),
                  c.result)
            << c.path.size();
        EXPECT_EQ(h != nullptr, c.result == ERROR_SUCCESS);
        RegCloseKey(h);
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, c.path.c_str(), 0, KEY_READ, &h),
                  c.result == ERROR_SUCCESS ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER);
        RegCloseKey(h);
    }
    // Below an open key the levels add up.
    HKEY half = nullptr, h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, deep(300).c_str(), 0, KEY_ALL_ACCESS, &half),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyExW(half, deep(212, L"m").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &h, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_EQ(RegCreateKeyExW(half, deep(213, L"m").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &h, nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(half);
    EXPECT_EQ(Sql(UserDb(), "SELECT count(*) FROM key WHERE length(path) > 1024"), "0");
}

// The classes root is the shell's: its own tests hold it.
TEST_F(RegistryKeys, ReadOnlyRootsRefuseWritesAndAnswerNotFound)
{
    HKEY h = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &h, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_QUERY_VALUE, &h),
              ERROR_FILE_NOT_FOUND);
}

using RegistryValues = SettingsFolder;

TEST_F(RegistryValues, SmallBufferGetsMoreDataAndTheSizeNeededAndDeletedValuesAreGone)
{
    HKEY h = Create(HKEY_CURRENT_USER, L"Software\\App");
    const char16_t text[] = u"abcdef";
    ASSERT_EQ(RegSetValueExW(h, L"T", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 12),
              ERROR_SUCCESS);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExW(h, L"t", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 12u);
    BYTE small[4] = {1, 2, 3, 4}, exact[12];
    size = sizeof(small);
    EXPECT_EQ(RegQueryValueExW(h, L"T", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(std::memcmp(small, "\1\2\3\4", 4), 0); // untouched
    size = sizeof(exact);
    EXPECT_EQ(RegQueryValueExW(h, L"T", nullptr, &type, exact, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::memcmp(exact, text, 12), 0);

    size = 4;
    EXPECT_EQ(RegQueryValueExW(h, L"Missing", nullptr, &type, small, &size), ERROR_FILE_NOT_FOUND);
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExW(h, L"T", &reserved, &type, small, &size), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegDeleteValueW(h, L"t"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(h, L"t"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(h, L"T", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(h);
}

TEST_F(RegistryValues, DefaultValueReadsAsWideTextWithWindowsByteCounts)
{
    const wchar_t* key = L"Classes\\http\\shell\\open\\command";
    HKEY h = Create(HKEY_CURRENT_USER, key);
    const char16_t cmd[] = u"browser \U0001F310 %1"; // one character outside the BMP: two units
    ASSERT_EQ(
        RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(cmd), sizeof(cmd) - 2),
        ERROR_SUCCESS);
    RegCloseKey(h);

    LONG size = 0;
    EXPECT_EQ(
        RegQueryValueW(HKEY_CURRENT_USER, L"classes\\HTTP\\shell\\open\\command", nullptr, &size),
        ERROR_SUCCESS);
    EXPECT_EQ(size, static_cast<LONG>(sizeof(cmd))); // UTF-16 units and the NUL, two bytes each
    wchar_t text[260];
    size = 4;
    EXPECT_EQ(RegQueryValueW(HKEY_CURRENT_USER, key, text, &size), ERROR_MORE_DATA);
    size = sizeof(char16_t) * 260;
    EXPECT_EQ(RegQueryValueW(HKEY_CURRENT_USER, key, text, &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, L"browser \U0001F310 %1");
    // A key without a default value reads as an empty text.
    RegCloseKey(Create(HKEY_CURRENT_USER, L"Classes\\empty"));
    size = sizeof(char16_t) * 260;
    EXPECT_EQ(RegQueryValueW(HKEY_CURRENT_USER, L"Classes\\empty", text, &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, L"");
}

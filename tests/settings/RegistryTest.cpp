// The registry functions themselves: results and sizes as Windows gives them.
#include "SettingsFixture.h"

#include <cstring>
#include <string>
#include <vector>

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

    // Paths below an open key, and bad arguments.
    HKEY parent = Create(HKEY_CURRENT_USER, L"Software");
    RegCloseKey(Create(parent, L"Vendor\\App"));
    EXPECT_EQ(RegCloseKey(parent), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Vendor\\App", 0, KEY_READ, &h),
              ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_EQ(CreateKey(HKEY_CURRENT_USER, L"\\Lead", &h), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCloseKey(parent), ERROR_INVALID_HANDLE); // already closed
    DWORD size = 4;
    EXPECT_EQ(RegQueryValueExW(parent, L"n", nullptr, nullptr, nullptr, &size),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueExW(HKEY_CURRENT_USER, L"n", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
    // The machine root refuses writes and, without a store, answers that a key is not there.
    EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, L"Software", &h), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_QUERY_VALUE, &h),
              ERROR_FILE_NOT_FOUND);
}

// Keys deeper than 512 levels or with a level name longer than 255 units are refused with an
// error code, whether the path is given whole or below an open key; nothing is stored for them.
TEST_F(RegistryKeys, KeysPastTheDepthAndNameLimitsAreRefused)
{
    const std::pair<std::wstring, LSTATUS> cases[] = {
        {DeepKey(512), ERROR_SUCCESS},
        {DeepKey(513), ERROR_INVALID_PARAMETER},
        {DeepKey(512) + L"\\\\", ERROR_SUCCESS}, // empty levels do not count
        {std::wstring(255, L'n'), ERROR_SUCCESS},
        {std::wstring(256, L'n'), ERROR_INVALID_PARAMETER},
        {L"a\\" + std::wstring(256, L'n') + L"\\b", ERROR_INVALID_PARAMETER},
        {std::wstring(127, L'n') + L"\U0001F600", ERROR_SUCCESS},           // 129 units
        {std::wstring(254, L'n') + L"\U0001F600", ERROR_INVALID_PARAMETER}, // 256 units
    };
    for (const auto& [path, result] : cases) {
        HKEY h = nullptr;
        EXPECT_EQ(CreateKey(HKEY_CURRENT_USER, path.c_str(), &h), result) << path.size();
        EXPECT_EQ(h != nullptr, result == ERROR_SUCCESS);
        RegCloseKey(h);
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &h),
                  result == ERROR_SUCCESS ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER);
        RegCloseKey(h);
    }
    // Below an open key the levels add up.
    HKEY half = nullptr, h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, DeepKey(300).c_str(), 0, KEY_ALL_ACCESS, &half),
              ERROR_SUCCESS);
    EXPECT_EQ(CreateKey(half, DeepKey(212, L"m").c_str(), &h), ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_EQ(CreateKey(half, DeepKey(213, L"m").c_str(), &h), ERROR_INVALID_PARAMETER);
    RegCloseKey(half);
    EXPECT_EQ(Sql(UserDb(), "SELECT count(*) FROM key WHERE length(path) > 1024"), "0");
}

// A key costs the store what its path is long, not its path times its depth: ten times the
// depth is ten times the key text stored. Every level above it still exists and lists the next.
TEST_F(RegistryKeys, AKeyCostsTheStoreLinearlyInItsDepth)
{
    const auto deep = [](const std::wstring& top, int levels) {
        std::wstring path = top;
        for (int i = 1; i < levels; ++i)
            path += L"\\Level" + std::to_wstring(1000 + i);
        return path;
    };
    const auto storedText = [this](const std::string& top) {
        const std::string sum = "SELECT sum(length(path) + length(spelling)) FROM key WHERE path='";
        return std::stoll("0" + Sql(UserDb(), sum + top + "' OR path LIKE '" + top + "\\%'"));
    };
    RegCloseKey(Create(HKEY_CURRENT_USER, deep(L"Shallow", 50).c_str()));
    RegCloseKey(Create(HKEY_CURRENT_USER, deep(L"Deeper0", 500).c_str()));
    const long long shallow = storedText("SHALLOW"), deeper = storedText("DEEPER0");
    ASSERT_GT(shallow, 0);
    EXPECT_LE(deeper, 11 * shallow) << shallow << " " << deeper;

    platform::settings::ListedKey listed;
    for (int levels = 1; levels < 500; levels += 83) {
        const std::wstring key = deep(L"Deeper0", levels);
        ASSERT_TRUE(platform::settings::ListKey(HKEY_CURRENT_USER, key.c_str(), &listed)) << levels;
        EXPECT_EQ(listed.subKeys,
                  std::vector<std::string>{"Level" + std::to_string(1000 + levels)});
    }
    ASSERT_TRUE(platform::settings::ListKey(HKEY_CURRENT_USER, L"", &listed));
    EXPECT_EQ(listed.subKeys, (std::vector<std::string>{"Deeper0", "Shallow"}));
}

// Stores written before hold a row for every level of a key: they read back as they did, and
// keys added to them list beside the old ones.
TEST_F(RegistryKeys, AStoreWithARowForEveryLevelReadsBackTheSame)
{
    RegCloseKey(Create(HKEY_CURRENT_USER, L"Seed"));
    platform::settings::CloseStores();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(UserDb().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "DELETE FROM key;"
                           "INSERT INTO key VALUES('SOFTWARE','Software'),"
                           "('SOFTWARE\\VENDOR','Software\\VENDOR'),"
                           "('SOFTWARE\\VENDOR\\APP','Software\\Vendor\\App'),"
                           "('SOFTWARE\\VENDORX','Software\\VendorX')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    DWORD how = 0;
    RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\Vendor", &how));
    EXPECT_EQ(how, REG_OPENED_EXISTING_KEY);
    RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\Vendor\\App\\Window", &how));
    EXPECT_EQ(how, REG_CREATED_NEW_KEY);
    RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\Vendor\\Added\\Deep", &how));
    EXPECT_EQ(how, REG_CREATED_NEW_KEY);
    // A key and the sub-keys it lists.
    const std::pair<const wchar_t*, std::vector<std::string>> cases[] = {
        {L"", {"Software"}},
        {L"software", {"VENDOR", "VendorX"}}, // the level's own row spells it
        {L"Software\\Vendor", {"Added", "App"}},
        {L"Software\\Vendor\\App", {"Window"}},
        {L"Software\\VendorX", {}},
    };
    for (const auto& [key, subKeys] : cases) {
        platform::settings::ListedKey listed;
        ASSERT_TRUE(platform::settings::ListKey(HKEY_CURRENT_USER, key, &listed));
        EXPECT_EQ(listed.subKeys, subKeys);
    }
    HKEY h = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Vendor\\Ap", 0, KEY_READ, &h),
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
    EXPECT_EQ(std::tuple(type, size), std::tuple(REG_SZ, 12u));
    BYTE small[4] = {1, 2, 3, 4}, exact[12];
    size = sizeof(small);
    EXPECT_EQ(RegQueryValueExW(h, L"T", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(std::tuple(size, std::memcmp(small, "\1\2\3\4", 4)), std::tuple(12u, 0)); // untouched
    size = sizeof(exact);
    EXPECT_EQ(RegQueryValueExW(h, L"T", nullptr, &type, exact, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::memcmp(exact, text, 12), 0);

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

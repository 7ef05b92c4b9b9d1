#include "util/UtilReg.h"

#include "SettingsFixture.h"

namespace {

const CString kKey = L"Software\\Skinkit\\Player";
const std::string kFolded = "SOFTWARE\\SKINKIT\\PLAYER"; // as the store compares keys

void StoreRaw(const CString& path, const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes)
{
    const HKEY h = Create(HKEY_CURRENT_USER, path);
    EXPECT_EQ(RegSetValueExW(h, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(h);
}

// UTF-16LE, as this little-endian machine holds it.
std::vector<BYTE> Utf16Bytes(const std::u16string& text, bool withNul)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {bytes, bytes + 2 * (text.size() + withNul)};
}

} // namespace

using RegNumbers = SettingsFolder;

// What the first read stores, seen without the library: four little-endian bytes of type
// REG_DWORD, or the text in UTF-16LE without terminator.
TEST_F(RegNumbers, FirstReadStoresTheDefaultAndLaterReadsKeepIt)
{
    CUtilReg reg;
    EXPECT_EQ(reg.ReadRegDWORD(kKey, L"Volume", 70), 70u);
    EXPECT_EQ(reg.ReadRegString(kKey, L"Skin", L"Blue"), CString(L"Blue"));
    EXPECT_EQ(Stored(kFolded, "Volume"), "4:46000000");
    EXPECT_EQ(Stored(kFolded, "Skin"), "1:42006C0075006500");
    EXPECT_EQ(reg.ReadRegDWORD(kKey, L"Volume", 5), 70u);
    EXPECT_EQ(reg.ReadRegString(kKey, L"Skin", L"Red"), CString(L"Blue"));
    // A text longer than four bytes is replaced by the default number.
    StoreRaw(kKey, L"Mode", REG_SZ, Utf16Bytes(u"fast", false));
    EXPECT_EQ(reg.ReadRegDWORD(kKey, L"Mode", 3), 3u);
    EXPECT_EQ(Stored(kFolded, "Mode"), "4:03000000");
}

TEST_F(RegNumbers, StoredValueOfAtMostFourBytesIsTakenOverTheDefaultsBytes)
{
    // What, its type and bytes, and what it reads as over the default 0xAABBCCDD.
    const std::tuple<const char*, DWORD, std::vector<BYTE>, DWORD> cases[] = {
        {"a number", REG_DWORD, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
        {"two bytes", REG_BINARY, {0x34, 0x12}, 0xAABB1234},
        {"no bytes", REG_BINARY, {}, 0xAABBCCDD},
    };
    CUtilReg reg;
    for (const auto& [what, type, stored, expected] : cases) {
        StoreRaw(kKey, L"N", type, stored);
        EXPECT_EQ(reg.ReadRegDWORD(kKey, L"N", 0xAABBCCDD), expected) << what;
    }
    // None of those reads replaced the stored value.
    EXPECT_EQ(Stored(kFolded, "N", "type||':'||length(data)"), "3:0");
}

using RegTexts = SettingsFolder;

TEST_F(RegTexts, LengthLimits)
{
    const std::u16string a259(259, u'a'), a260(260, u'b'), a300(300, u'c');
    // 258 units and a surrogate pair: cutting at 259 would leave half a character.
    const std::u16string pairAtEdge = std::u16string(258, u'd') + u"\U0001F600";
    // A Latin-1 file name as the path functions hold it: its bytes must come back.
    const std::u16string latin1 = CString::FromPathBytes("/home/vid\xE9os/\xE9t\xE9.avi").ToUtf16();
    // What; the bytes stored, or else the text written with WriteRegString; what reads back
    // over the default "dflt".
    const std::tuple<const char*, std::vector<BYTE>, std::u16string, std::u16string> cases[] = {
        {"259 characters are read back whole", Utf16Bytes(a259, false), {}, a259},
        {"259 characters with their NUL fit the buffer", Utf16Bytes(a259, true), {}, a259},
        {"260 characters without NUL fill the buffer exactly", Utf16Bytes(a260, false), {}, a260},
        {"260 characters with their NUL are replaced", Utf16Bytes(a260, true), {}, u"dflt"},
        {"a longer write is cut to 259", {}, a300, a300.substr(0, 259)},
        {"a cut never splits a surrogate pair", {}, pairAtEdge, pairAtEdge.substr(0, 258)},
        {"a Latin-1 file name keeps its bytes", {}, latin1, latin1},
    };
    CUtilReg reg;
    for (const auto& [what, stored, written, expected] : cases) {
        if (written.empty())
            StoreRaw(kKey, L"T", REG_SZ, stored);
        else
            reg.WriteRegString(kKey, L"T", CString::FromUtf16(written));
        EXPECT_EQ(reg.ReadRegString(kKey, L"T", L"dflt").ToUtf16(), expected) << what;
        // What a read answers is what the next read finds.
        EXPECT_EQ(reg.ReadRegString(kKey, L"T", L"other").ToUtf16(), expected) << what;
    }
    // An empty text is a value, not a miss; a long default is cut before it is stored.
    reg.WriteRegString(kKey, L"Last", L"");
    EXPECT_EQ(reg.ReadRegString(kKey, L"Last", L"fallback"), CString(L""));
    EXPECT_EQ(reg.ReadRegString(kKey, L"Path", CString(L'x', 400)).GetLength(), 259);
    EXPECT_EQ(Stored(kFolded, "Path", "length(data)"), "518");
}

using RegRoots = SettingsFolder;

TEST_F(RegRoots, MachineRootIsReadButNeverWrittenAndAMissingKeyCreatesNothing)
{
    CUtilReg reg;
    EXPECT_EQ(reg.ReadRegDWORD(L"Software\\Nowhere", L"X", 9, 1), 9u);
    reg.WriteRegDWORD(L"Software\\Nowhere", L"X", 1, 1);
    EXPECT_FALSE(std::filesystem::exists(MachineDb()) || std::filesystem::exists(UserDb()));

    // Values the machine store holds are read but never replaced.
    ASSERT_EQ(Tool("--machine set 'Software\\Vendor' Codec 7").status, 0);
    ASSERT_EQ(Tool("--machine set 'Software\\Vendor' Title -t sz 'seven'").status, 0);
    platform::settings::CloseStores();
    EXPECT_EQ(reg.ReadRegDWORD(L"software\\vendor", L"codec", 1, 1), 7u);
    EXPECT_EQ(reg.ReadRegString(L"Software\\Vendor", L"Title", L"x", 1), CString(L"seven"));
    // A text read as a number fails, and the default cannot be stored over it.
    EXPECT_EQ(reg.ReadRegDWORD(L"Software\\Vendor", L"Title", 4, 1), 4u);
    reg.WriteRegDWORD(L"Software\\Vendor", L"Codec", 8, 1);
    EXPECT_EQ(Sql(MachineDb(), "SELECT hex(data) FROM value WHERE name='CODEC'"), "07000000");
    EXPECT_EQ(Sql(MachineDb(), "SELECT type FROM value WHERE name='TITLE'"), "1");
    // The user root has its own values under the same path.
    EXPECT_EQ(reg.ReadRegDWORD(L"Software\\Vendor", L"Codec", 1), 1u);
}

TEST_F(RegRoots, EverySelectorButOneIsTheUserRoot)
{
    CUtilReg reg;
    for (int root : {0, 2, -1}) {
        const CString name = CString(std::to_wstring(root));
        reg.WriteRegString(kKey, name, L"t", root);
        EXPECT_EQ(reg.ReadRegString(kKey, name, L"", 0), CString(L"t")) << root;
    }
}

// A key past the platform's limits cannot be opened: reads answer the default, writes do
// nothing, and nothing is stored, as for any key that cannot be opened.
TEST_F(RegRoots, KeysPastTheLimitsGiveDefaultsAndStoreNothing)
{
    CUtilReg().WriteRegDWORD(L"Seed", L"S", 1);
    for (const CString& key :
         {CString(DeepKey(513).c_str()), CString(std::wstring(256, L'n').c_str())}) {
        CUtilReg reg;
        EXPECT_EQ(reg.ReadRegDWORD(key, L"N", 7), 7u);
        reg.WriteRegString(key, L"T", L"text");
        EXPECT_EQ(reg.ReadRegString(key, L"T", L"fallback"), CString(L"fallback"));
    }
    EXPECT_EQ(Sql(UserDb(), "SELECT (SELECT count(*) FROM key) || (SELECT count(*) FROM value)"),
              "11"); // the seed's key and value
}

TEST_F(RegRoots, LetterCaseAndDoubledSeparatorsNameTheSameValue)
{
    CUtilReg reg;
    reg.WriteRegDWORD(L"Software\\Vendor\\App", L"Volume", 33);
    EXPECT_EQ(reg.ReadRegDWORD(L"SOFTWARE\\vendor\\\\app\\", L"VOLUME", 0), 33u);
    reg.WriteRegString(L"software\\VENDOR\\App", L"Title", L"Ünïcode");
    EXPECT_EQ(reg.ReadRegString(L"Software\\Vendor\\App", L"TITLE", L""), CString(L"Ünïcode"));
    EXPECT_EQ(Sql(UserDb(), "SELECT count(*) FROM key"), "1");
}

using RegProcesses = SettingsFolder;

// skinkit-reg's smoke test: it reads and lists what the library wrote, and fails on a missing
// value.
TEST_F(RegProcesses, ValuesAreReadBackByAFreshProcess)
{
    CUtilReg reg;
    reg.WriteRegDWORD(kKey, L"Volume", 4000000000u);
    reg.WriteRegString(kKey, L"Title", L"Größe 12");
    EXPECT_EQ(reg.ReadRegDWORD(kKey, L"Created", 12), 12u);
    reg.WriteRegDWORD(kKey + L"\\Window", L"Left", 1);
    EXPECT_EQ(Tool("get 'software\\skinkit\\player' volume").out, "4000000000");
    EXPECT_EQ(Tool("get 'Software\\Skinkit\\Player' Title").out, "Größe 12");
    EXPECT_EQ(Tool("list 'SOFTWARE\\SKINKIT\\PLAYER'").out,
              "Window\\\nCreated\tREG_DWORD\t12\nTitle\tREG_SZ\tGröße 12\n"
              "Volume\tREG_DWORD\t4000000000");
    EXPECT_EQ(Tool("get 'Software\\Skinkit\\Player' Missing").status, 1);
}

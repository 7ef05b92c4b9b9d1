// The private-profile functions against the Windows behaviour they stand in for: list cutting,
// name matching, integer reading, encodings, and files changing under the cache.
#include "platform/ini/PrivateProfile.h"

#include "platform/base/CString.h"
#include "tests/TestKit.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

class ProfileFiles : public ::testing::Test
{
protected:
    std::wstring Write(const std::string& name, const std::string& bytes)
    {
        return CString::FromUtf8(tmp.Write(name, bytes)).Str();
    }
    static std::wstring String(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                               const wchar_t* def = L"<none>", DWORD size = 260)
    {
        std::vector<wchar_t> buf(size + 1, L'#');
        const DWORD n = GetPrivateProfileStringW(section, key, def, buf.data(), size, path.c_str());
        EXPECT_EQ(n, wcslen(buf.data()));
        return buf.data();
    }
    testkit::TempDir tmp{"skinkit_ini"};
    const fs::path root = tmp.Root();
};

// The items of a NUL-separated list, walked up to the answered count as the loaders walk it.
std::vector<std::wstring> Items(const wchar_t* buf, DWORD count)
{
    std::vector<std::wstring> items;
    size_t start = 0;
    for (size_t i = 0; i < count; ++i)
        if (buf[i] == 0) {
            items.emplace_back(buf + start, i - start);
            start = i + 1;
        }
    return items;
}

const char kThreeSections[] = "[section1]\nk=v\n[section2]\n[section3]\n";

} // namespace

using ListCutting = ProfileFiles;

// The names of kThreeSections, and the lines of one section (a comment left out, a line
// without '=' as it stands).
TEST_F(ListCutting, ListsAnswerCountWithoutFinalNulAndSizeMinusTwoWhenCut)
{
    const auto names = Write("names.ini", kThreeSections);
    const auto lines = Write("lines.ini", "[s]\nname1 = val1\n; a comment\nname2=\n  name  \n");
    // Whether a section's lines are listed (else the names), the size given, the count answered
    // and the buffer's first characters.
    const std::tuple<bool, DWORD, DWORD, std::wstring> cases[] = {
        {false, 29, 27, std::wstring(L"section1\0section2\0section3\0\0", 28)},
        {false, 28, 26, std::wstring(L"section1\0section2\0section3\0\0", 28)}, // exact fit: cut
        {false, 27, 25, std::wstring(L"section1\0section2\0section\0\0", 27)},
        {false, 2, 0, std::wstring(L"\0\0", 2)},
        {false, 1, 0, std::wstring(L"\0", 1)},
        {true, 30, 23, std::wstring(L"name1=val1\0name2=\0name\0\0", 24)},
        {true, 24, 22, std::wstring(L"name1=val1\0name2=\0name\0\0", 24)},
        {true, 8, 6, std::wstring(L"name1=\0\0", 8)},
    };
    for (const auto& [sectionLines, size, answer, content] : cases) {
        std::vector<wchar_t> buf(40, L'#');
        const DWORD n = sectionLines
                            ? GetPrivateProfileSectionW(L"S", buf.data(), size, lines.c_str())
                            : GetPrivateProfileSectionNamesW(buf.data(), size, names.c_str());
        EXPECT_EQ(n, answer) << size;
        EXPECT_EQ(std::wstring(buf.data(), content.size()), content) << size;
        EXPECT_EQ(buf[size], L'#') << "wrote past the buffer, size " << size;
    }
}

TEST_F(ListCutting, MissingFileOrSectionAnswersZero)
{
    const auto path = Write("a.ini", kThreeSections);
    wchar_t buf[16] = {L'#', L'#'};
    EXPECT_EQ(GetPrivateProfileSectionW(L"nope", buf, 16, path.c_str()), 0u);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(GetPrivateProfileSectionW(L"section2", buf, 16, path.c_str()), 0u);
    const auto missing = (root / "missing.ini").wstring();
    EXPECT_EQ(GetPrivateProfileSectionNamesW(buf, 16, missing.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileIntW(L"section1", L"k", 7, missing.c_str()), 7u);
    EXPECT_EQ(String(missing, L"section1", L"k"), L"<none>");
    const auto folder = root.wstring();
    for (const wchar_t* notAFile : {folder.c_str(), L"", static_cast<const wchar_t*>(nullptr)})
        EXPECT_EQ(GetPrivateProfileSectionNamesW(buf, 16, notAFile), 0u);
}

using Lookups = ProfileFiles;

TEST_F(Lookups, NamesMatchWhateverTheCaseAndBlanks)
{
    const auto path =
        Write("a.ini", "  [ Btn Play ]  trailing\n\tKey One\t=  some value ; not a comment \n");
    EXPECT_EQ(String(path, L"btn play", L"KEY ONE"), L"some value ; not a comment");
    EXPECT_EQ(String(path, L"  BTN PLAY ", L" key one\t"), L"some value ; not a comment");
    EXPECT_EQ(String(path, L"btnplay", L"key one"), L"<none>");
}

// A long section is searched through a key table, a short one line by line: the first key of
// a name answers either way, and a later section of the same name is out of reach.
TEST_F(Lookups, FirstSectionAndFirstKeyWinWhileTheNamesListRepeats)
{
    std::string big = "[big]\n";
    for (int i = 0; i < 40; ++i)
        big += "k" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    big += "K7=70\n";
    const auto path = Write("a.ini", "[Btn]\nx=1\nX=2\n[BTN]\nx=3\ny=4\n[btn]\n" + big);
    const std::tuple<const wchar_t*, const wchar_t*, int> cases[] = {
        {L"btn", L"x", 1},    {L"BTN", L"X", 1},  {L"Btn", L"y", -1},   {L"big", L"K7", 7},
        {L"big", L"k39", 39}, {L"big", L"k0", 0}, {L"big", L"k40", -1}, {L"big", L"x", -1},
    };
    for (const auto& [section, key, want] : cases)
        EXPECT_EQ(static_cast<int>(GetPrivateProfileIntW(section, key, -1, path.c_str())), want)
            << section << " " << key;
    wchar_t buf[64];
    EXPECT_EQ(Items(buf, GetPrivateProfileSectionNamesW(buf, 64, path.c_str())),
              (std::vector<std::wstring>{L"Btn", L"BTN", L"btn", L"big"}));
    EXPECT_EQ(Items(buf, GetPrivateProfileSectionW(L"BTN", buf, 64, path.c_str())),
              (std::vector<std::wstring>{L"x=1", L"X=2"}));
}

// Every kind of line end: CR, CR LF, LF, an empty line, none at the end of the file.
TEST_F(Lookups, OddLinesAndSections)
{
    const auto path =
        Write("a.ini", "before=0\n[]\nhidden=1\n[a]b]\rk=1\r\n[open\n\nbare\n;c=1\n#h=2");
    wchar_t buf[64];
    EXPECT_EQ(Items(buf, GetPrivateProfileSectionNamesW(buf, 64, path.c_str())),
              (std::vector<std::wstring>{L"a]b"}));
    EXPECT_EQ(Items(buf, GetPrivateProfileSectionW(L"a]b", buf, 64, path.c_str())),
              (std::vector<std::wstring>{L"k=1", L"[open", L"bare", L"#h=2"}));
    EXPECT_EQ(String(path, L"a]b", L"bare"), L"<none>") << "a line without '=' has no value";
    EXPECT_EQ(String(path, L"a]b", L";c"), L"<none>") << "comments are no keys";
    EXPECT_EQ(String(path, L"a]b", L"#h"), L"2") << "only ';' starts a comment";
    EXPECT_EQ(String(path, L"", L"hidden"), L"<none>");
    EXPECT_EQ(String(path, L"", L"before"), L"<none>");
}

using StringReads = ProfileFiles;

TEST_F(StringReads, QuotesDefaultsAndShortBuffers)
{
    const auto path = Write(
        "a.ini", "[s]\nq1=\"quoted\"\nq2='single'\nq3=\"mixed'\nq4=\"\nlong=abcdefghij\nempty=\n");
    EXPECT_EQ(String(path, L"s", L"q1"), L"quoted");
    EXPECT_EQ(String(path, L"s", L"q2"), L"single");
    EXPECT_EQ(String(path, L"s", L"q3"), L"\"mixed'");
    EXPECT_EQ(String(path, L"s", L"q4"), L"\"");
    EXPECT_EQ(String(path, L"s", L"empty"), L"");
    EXPECT_EQ(String(path, L"s", L"none", L"def  "), L"def");
    EXPECT_EQ(String(path, L"s", L"none", nullptr), L"");
    EXPECT_EQ(String(path, L"s", L"long", L"", 5), L"abcd");
    EXPECT_EQ(String(path, L"s", L"none", L"default", 4), L"def");
}

TEST_F(StringReads, NullKeyListsKeysAndNullSectionListsSections)
{
    const auto path = Write("a.ini", "[one]\na=1\nbare\nb=2\n[two]\n");
    wchar_t buf[32];
    EXPECT_EQ(Items(buf, GetPrivateProfileStringW(L"one", nullptr, L"", buf, 32, path.c_str())),
              (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(Items(buf, GetPrivateProfileStringW(nullptr, nullptr, L"", buf, 32, path.c_str())),
              (std::vector<std::wstring>{L"one", L"two"}));
    EXPECT_EQ(GetPrivateProfileStringW(L"two", nullptr, L"dflt", buf, 32, path.c_str()), 4u);
    EXPECT_STREQ(buf, L"dflt");
}

TEST_F(ProfileFiles, IntegersReadAsTheSystemReadsThem)
{
    const char* const readTo30 = "000000000000000000000000000009"; // its 9 is not read
    // The value and what it reads as over the default 99.
    const std::pair<const char*, UINT> cases[] = {
        {"", 99},     {"42", 42},   {"-1", 0xFFFFFFFFu}, {"+7", 7},     {"  12  ", 12},
        {"42A9", 42}, {"B42", 0},   {"0x1F", 31},        {"0x1fz", 31}, {"-0x10", 0u - 16u},
        {"0X10", 0},  {"0o17", 15}, {"0b101", 5},        {"0b2", 0},    {"4294967297", 1},
        {"'12'", 12}, {"0012", 12}, {"1 2", 1},          {"-", 0},      {readTo30, 0},
    };
    std::string file = "[s]\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        file += "k" + std::to_string(i) + "=" + cases[i].first + "\n";
    const auto path = Write("a.ini", file);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::wstring key = L"k" + std::to_wstring(i);
        EXPECT_EQ(GetPrivateProfileIntW(L"s", key.c_str(), 99, path.c_str()), cases[i].second)
            << cases[i].first;
    }
    EXPECT_EQ(GetPrivateProfileIntW(L"s", L"missing", -5, path.c_str()), static_cast<UINT>(-5));
}

TEST_F(ProfileFiles, EveryEncodingGivesTheSameAnswers)
{
    const std::u16string text = u"[Fenêtre]\r\nTitre=Lecture à l'écran\r\nx=12\r\n";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char16_t c : text) {
        le += char(c & 0xFF), le += char(c >> 8);
        be += char(c >> 8), be += char(c & 0xFF);
    }
    const std::string utf8 = CString::FromUtf16(text).ToUtf8();
    std::string cp1252;
    for (char16_t c : text)
        cp1252 += char(c); // the text is Latin-1 only
    const std::pair<const char*, std::string> files[] = {
        {"le", le},     {"be", be},         {"utf8bom", "\xEF\xBB\xBF" + utf8},
        {"utf8", utf8}, {"cp1252", cp1252},
    };
    for (const auto& [name, bytes] : files) {
        const auto path = Write(std::string(name) + ".ini", bytes);
        EXPECT_EQ(String(path, L"FENÊTRE", L"titre"), L"Lecture à l'écran") << name;
        EXPECT_EQ(GetPrivateProfileIntW(L"fenêtre", L"X", 0, path.c_str()), 12u) << name;
    }
}

TEST_F(ProfileFiles, TheLegacyCodePageCanBeChosen)
{
    const auto path = Write("a.ini", "[s]\nk=\x80\xE9\x81\n");
    EXPECT_EQ(String(path, L"s", L"k"), L"\u20AC\u00E9\u0081")
        << "undefined bytes keep their value";
    platform::ini::SetLegacyCodePage("ISO-8859-5");
    EXPECT_EQ(String(path, L"s", L"k"), L"\u0080\u0449\u0081");
    platform::ini::SetLegacyCodePage("");
    EXPECT_EQ(String(path, L"s", L"k"), L"\u20AC\u00E9\u0081")
        << "an empty name restores the default";
}

using Freshness = ProfileFiles;

TEST_F(Freshness, ARewriteIsSeenEvenWithinTheSameClockTick)
{
    const auto path = Write("a.ini", "[s]\nk=1\n");
    EXPECT_EQ(GetPrivateProfileIntW(L"s", L"k", 0, path.c_str()), 1u);
    Write("a.ini", "[s]\nk=2\n"); // same size, written at once
    EXPECT_EQ(GetPrivateProfileIntW(L"s", L"k", 0, path.c_str()), 2u);
    Write("b.ini", "[s]\nk=3\n");
    fs::rename(root / "b.ini", root / "a.ini");
    EXPECT_EQ(GetPrivateProfileIntW(L"s", L"k", 0, path.c_str()), 3u);
    fs::remove(root / "a.ini");
    EXPECT_EQ(GetPrivateProfileIntW(L"s", L"k", 0, path.c_str()), 0u);
}

// A snapshot serves its path as spelled, whichever string holds it; another spelling of the
// same file, and every call after the snapshot, read the disk.
TEST_F(Freshness, SnapshotsKeepOneVersionOfTheirPathAndNest)
{
    const auto one = Write("one.ini", "[s]\nk=1\n");
    const auto two = Write("two.ini", "[s]\nk=2\n");
    const auto oneElsewise = CString::FromUtf8((root / "." / "one.ini").string()).Str();
    auto read = [](const std::wstring& path) {
        return GetPrivateProfileIntW(L"s", L"k", 0, path.c_str());
    };
    {
        platform::ini::ProfileSnapshot outer(one.c_str());
        Write("one.ini", "[s]\nk=11\n");
        {
            platform::ini::ProfileSnapshot inner(two.c_str());
            Write("two.ini", "[s]\nk=22\n");
            const std::wstring copy = one;
            EXPECT_EQ(read(copy), 1u) << "the outer snapshot still serves its file";
            EXPECT_EQ(read(two), 2u);
            EXPECT_EQ(read(oneElsewise), 11u);
            EXPECT_EQ(GetPrivateProfileIntW(L"s", L"k", 0, outer.Path()), 1u);
            EXPECT_EQ(read(one.substr(0, one.size() - 1)) + read(one + L"x"), 0u)
                << "a spelling one character shorter or longer names another file";
        }
        EXPECT_EQ(read(one), 1u);
        EXPECT_EQ(read(two), 22u);
    }
    EXPECT_EQ(read(one), 11u);
    {
        auto first = std::make_unique<platform::ini::ProfileSnapshot>(one.c_str());
        platform::ini::ProfileSnapshot second(two.c_str());
        Write("two.ini", "[s]\nk=222\n");
        first.reset();
        EXPECT_EQ(read(two), 22u) << "dropping an outer snapshot first keeps the inner one";
    }
}

// Inside a snapshot a loader reads key after key of one section through one name buffer; a
// buffer rewritten in place names the new section.
TEST_F(Freshness, ANameBufferRewrittenInPlaceNamesTheNewSection)
{
    const auto path = Write("a.ini", "[left]\nx=1\n[right]\nx=2\n");
    platform::ini::ProfileSnapshot snapshot(path.c_str());
    wchar_t name[16];
    for (const auto& [spelling, want] :
         {std::pair{L"left", 1u}, {L"right", 2u}, {L" left ", 1u}, {L"LEFT", 1u}, {L"up", 0u}}) {
        std::wcscpy(name, spelling);
        EXPECT_EQ(GetPrivateProfileIntW(name, L"x", 0, path.c_str()), want) << spelling;
        EXPECT_EQ(GetPrivateProfileIntW(name, L"x", 0, path.c_str()), want) << spelling;
    }
}

TEST_F(ProfileFiles, AWindowsStylePathFindsTheFile)
{
    fs::create_directories(root / "Skin" / "Lang");
    tmp.Write("Skin/Lang/English.INI", std::string("[Language Info]\nLanguageName=English\n"));
    const std::wstring path = CString::FromUtf8(root.string()).Str() + L"\\skin\\LANG\\english.ini";
    EXPECT_EQ(String(path, L"Language Info", L"LanguageName"), L"English");
}

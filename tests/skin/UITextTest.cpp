// The language tables: the file's identity, the main tables' splitting and replacing, and the
// setup cache's reading, caching and refusal to cache.
#include "skin/UIText.h"

#include "SkinFiles.h"

#include <string>
#include <utility>

namespace {

const char kEnglish[] = "[Language Info]\n"
                        "LanguageID=0x0409\n"
                        "LanguageName=English\n"
                        "Map=us\n"
                        "[Font Info]\n"
                        "FontName=Tahoma\n"
                        "[AppMain]\n"
                        "IDC_OPEN=12,Open file\n"
                        "IDC_X=12\n"
                        "IDC_NEG=-1,Negative\n"
                        "IDC_BOTH=1,main\n"
                        "[AppPopup]\n"
                        "IDS_ASK=10,Delete, really?\n"
                        "[AppViewerSetup]\n"
                        "IDC_BOTH=3,viewer\n"
                        "[AppSetup]\n"
                        "IDS_LANG=11,Language\n"
                        "IDS_ASK2=10,Delete, really?\n"
                        "IDS_ALONE=12\n"
                        "IDS_NEG=-3,Text\n"
                        "IDS_RUNS=,,7,,a,,b,,\n";

} // namespace

using LanguageIdentity = SkinFiles;

TEST_F(LanguageIdentity, TheExampleFileAndIdsScannedFromTheRight)
{
    CUIText text;
    const CString path = Write("en.ini", kEnglish);
    EXPECT_EQ(text.GetLangID(path), 0x0409);
    EXPECT_EQ(text.GetLangName(path), L"English");
    EXPECT_EQ(text.GetMapInfo(path), L"us");
    EXPECT_EQ(text.GetFontName(path), L"Tahoma");
    EXPECT_EQ(text.GetLangName(Root() + L"\\missing.ini"), L"");
    EXPECT_EQ(text.GetLangID(Write("none.ini", "[Language Info]\n")), 0);

    // Language ids scan from the right.
    const std::pair<const char*, unsigned short> cases[] = {{"409", 0x0409},   {"", 0},
                                                            {"0x4G9", 0xFFFF}, {"0X1a", 0x1A},
                                                            {"zz x12", 0x12},  {"12345", 0x2345}};
    for (const auto& [value, want] : cases)
        EXPECT_EQ(text.GetLangID(
                      Write("id.ini", std::string("[Language Info]\nLanguageID=") + value + "\n")),
                  want)
            << value;
}

using MainTexts = SkinFiles;

TEST_F(MainTexts, SplitAtTheFirstCommaLaterSectionsReplaceAndLoadingAdds)
{
    CUIText text;
    // "size,text" as the main table answers for `key`.
    const auto main = [&](const wchar_t* key) {
        return std::to_string(text.GetFontSizeMain(key)) + "," + text.GetTextMain(key).ToUtf8();
    };
    EXPECT_EQ(text.LoadTextMain(Write("en.ini", kEnglish)), 1);
    EXPECT_EQ(main(L"IDC_OPEN"), "12,Open file");
    EXPECT_EQ(main(L"IDS_ASK"), "10,Delete, really?");
    EXPECT_EQ(main(L"IDC_X"), "0,12") << "no comma: size 0, the whole rest is the text";
    EXPECT_EQ(main(L"IDC_BOTH"), "3,viewer");
    EXPECT_EQ(main(L"idc_open"), "-1,") << "keys are case-sensitive";
    EXPECT_EQ(main(L"IDS_LANG"), "-1,") << "AppSetup is not a main section";

    // The combined lookups: only the second tells a missing key from a size of -1.
    CString got = L"untouched";
    int size = 99;
    EXPECT_EQ(text.GetFontAndTextMain(L"IDC_NEG", got), -1);
    EXPECT_EQ(got, L"Negative");
    EXPECT_EQ(text.GetFontAndTextMain2(L"IDC_NEG", got, size), 1);
    EXPECT_EQ(size, -1);
    got = L"untouched";
    size = 99;
    EXPECT_EQ(text.GetFontAndTextMain(L"missing", got), -1);
    EXPECT_EQ(text.GetFontAndTextMain2(L"missing", got, size), 0);
    EXPECT_EQ(std::pair(got, size), std::pair(CString(L"untouched"), 99));
    EXPECT_EQ(text.GetFontAndTextMain(L"IDC_OPEN", got), 12);

    // Loading adds, unloading empties.
    text.LoadTextMain(Write("more.ini", "[AppMain]\nIDC_NEW=9,New\nlinewithoutequals\n"));
    EXPECT_EQ(main(L"IDC_OPEN") + " " + main(L"IDC_NEW") + " " + main(L""),
              "12,Open file 9,New 0,linewithoutequals");
    text.UnloadTextMain();
    EXPECT_EQ(text.GetFontSizeMain(L"IDC_OPEN"), -1);
    EXPECT_EQ(text.LoadTextMain(Root() + L"\\missing.ini"), 1);
}

using SetupTexts = SkinFiles;

TEST_F(SetupTexts, TheLastCommaFieldIsTheTextCachedByKeyWhateverThePathUntilUnloaded)
{
    CUIText text;
    const CString path = Write("en.ini", kEnglish);
    // "size,text" as the setup cache answers for `key` of `file`, the text asked for first.
    const auto setup = [&](const CString& file, const wchar_t* key) {
        const std::string said = text.GetTextSetup(file, key).ToUtf8();
        return std::to_string(text.GetFontSizeSetup(file, key)) + "," + said;
    };
    EXPECT_EQ(setup(path, L"IDS_LANG"), "11,Language");
    EXPECT_EQ(setup(path, L"IDS_ASK2"), "10, really?");
    EXPECT_EQ(setup(path, L"IDS_ALONE"), "12,");
    EXPECT_EQ(setup(path, L"IDS_RUNS"), "7,b") << "runs of commas separate, as wcstok splits";
    EXPECT_EQ(setup(path, L"missing"), "-1,");

    // Cached by key whatever the path, until unloaded.
    const CString de = Write("de.ini", "[AppSetup]\nIDS_LANG=13,Sprache\nIDS_NEG=4,Jetzt\n");
    EXPECT_EQ(setup(de, L"IDS_LANG"), "11,Language");
    EXPECT_EQ(setup(path, L"IDS_NEG"), "-1,") << "a negative size is not cached...";
    EXPECT_EQ(text.GetTextSetup(de, L"IDS_NEG"), L"Jetzt") << "...so the next call reads its file";
    text.UnloadTextSetup();
    EXPECT_EQ(text.GetFontSizeSetup(de, L"IDS_LANG"), 13);
}

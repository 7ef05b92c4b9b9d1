// The language tables: the file's identity, the main tables' splitting and replacing, and the
// setup cache's reading, caching and refusal to cache.
#include "skin/UIText.h"

#include "SkinFiles.h"

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
    EXPECT_EQ(text.LoadTextMain(Write("en.ini", kEnglish)), 1);
    EXPECT_EQ(text.GetTextMain(L"IDC_OPEN"), L"Open file");
    EXPECT_EQ(text.GetFontSizeMain(L"IDC_OPEN"), 12);
    EXPECT_EQ(text.GetTextMain(L"IDS_ASK"), L"Delete, really?");
    EXPECT_EQ(text.GetFontSizeMain(L"IDS_ASK"), 10);
    EXPECT_EQ(text.GetTextMain(L"IDC_X"), L"12") << "no comma: size 0, the whole rest is the text";
    EXPECT_EQ(text.GetFontSizeMain(L"IDC_X"), 0);
    EXPECT_EQ(text.GetTextMain(L"IDC_BOTH"), L"viewer");
    EXPECT_EQ(text.GetFontSizeMain(L"IDC_BOTH"), 3);
    EXPECT_EQ(text.GetTextMain(L"idc_open"), L"") << "keys are case-sensitive";
    EXPECT_EQ(text.GetFontSizeMain(L"IDS_LANG"), -1) << "AppSetup is not a main section";

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
    EXPECT_EQ(got, L"untouched");
    EXPECT_EQ(size, 99);
    EXPECT_EQ(text.GetFontAndTextMain(L"IDC_OPEN", got), 12);

    // Loading adds, unloading empties.
    text.LoadTextMain(Write("more.ini", "[AppMain]\nIDC_NEW=9,New\nlinewithoutequals\n"));
    EXPECT_EQ(text.GetTextMain(L"IDC_OPEN"), L"Open file");
    EXPECT_EQ(text.GetTextMain(L"IDC_NEW"), L"New");
    EXPECT_EQ(text.GetTextMain(L""), L"linewithoutequals");
    text.UnloadTextMain();
    EXPECT_EQ(text.GetFontSizeMain(L"IDC_OPEN"), -1);
    EXPECT_EQ(text.LoadTextMain(Root() + L"\\missing.ini"), 1);
}

using SetupTexts = SkinFiles;

TEST_F(SetupTexts, TheLastCommaFieldIsTheTextCachedByKeyWhateverThePathUntilUnloaded)
{
    CUIText text;
    const CString path = Write("en.ini", kEnglish);
    EXPECT_EQ(text.GetTextSetup(path, L"IDS_LANG"), L"Language");
    EXPECT_EQ(text.GetFontSizeSetup(path, L"IDS_LANG"), 11);
    EXPECT_EQ(text.GetTextSetup(path, L"IDS_ASK2"), L" really?");
    EXPECT_EQ(text.GetTextSetup(path, L"IDS_ALONE"), L"");
    EXPECT_EQ(text.GetFontSizeSetup(path, L"IDS_ALONE"), 12);
    EXPECT_EQ(text.GetFontSizeSetup(path, L"IDS_RUNS"), 7)
        << "runs of commas separate, as wcstok splits";
    EXPECT_EQ(text.GetTextSetup(path, L"IDS_RUNS"), L"b");
    EXPECT_EQ(text.GetTextSetup(path, L"missing"), L"");
    EXPECT_EQ(text.GetFontSizeSetup(path, L"missing"), -1);

    // Cached by key whatever the path, until unloaded.
    const CString de = Write("de.ini", "[AppSetup]\nIDS_LANG=13,Sprache\nIDS_NEG=4,Jetzt\n");
    EXPECT_EQ(text.GetTextSetup(path, L"IDS_LANG"), L"Language");
    EXPECT_EQ(text.GetTextSetup(de, L"IDS_LANG"), L"Language");
    EXPECT_EQ(text.GetTextSetup(path, L"IDS_NEG"), L"") << "a negative size is not cached...";
    EXPECT_EQ(text.GetFontSizeSetup(path, L"IDS_NEG"), -1);
    EXPECT_EQ(text.GetTextSetup(de, L"IDS_NEG"), L"Jetzt") << "...so the next call reads its file";
    text.UnloadTextSetup();
    EXPECT_EQ(text.GetFontSizeSetup(de, L"IDS_LANG"), 13);
}

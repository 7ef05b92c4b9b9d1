// The layout loader: record contents from the file's rules, the default record, colour
// parsing, and pointer lifetimes across loads.
#include "skin/UICoordi.h"

#include "SkinFiles.h"

#include <array>
#include <tuple>

namespace {

using Edges = std::array<LONG, 4>;
Edges E(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

using LayoutRecords = SkinFiles;

// The BtnPlay example, every key in its fields, a section with only x (the rest -1, and the
// rectangle from those), and sums past the int range, which wrap.
TEST_F(LayoutRecords, EveryKeyLandsInItsFieldsAndKeysPastColor05AreNotRead)
{
    CUICoordi coordi;
    EXPECT_EQ(coordi.LoadInfo(
                  Write("layout.ini",
                        "[BtnPlay]\nx=10\ny=20\ncx=32\ncy=32\ns2r=5\nColorText=255,0,128,255\n"
                        "[W]\nx=1\ny=2\ncx=3\ncy=4\ns2l=5\ns2r=6\ns2t=7\ns2b=8\nhc=9\nvc=10\n"
                        "dl=11\ndr=12\ndt=13\ndb=14\nh_ratio=15\ntype=16\n"
                        "Color00=1,2,3,4\nColor05=9,8,7,6\nColor06=1,1,1,1\n"
                        "[Only]\nx=5\n[Big]\nx=2147483647\ncx=1\ny=0x7fffffff\ncy=2\n")),
              1);
    const _WIN_POS* w = coordi.GetWinPos(L"BtnPlay");
    EXPECT_EQ(std::tuple(w->pt.x, w->pt.y, w->nS2L, w->nS2R, w->nS2T, w->nS2B),
              std::tuple(10, 20, -1, 5, -1, -1));
    EXPECT_EQ(E(w->rc), (Edges{10, 20, 42, 52}));
    EXPECT_EQ(E(w->rcS2), (Edges{-1, -1, 5, -1}));
    for (int v : {w->nHC, w->nVC, w->nDL, w->nDR, w->nDT, w->nDB, w->nHRatio, w->nType})
        EXPECT_EQ(v, 0);
    EXPECT_EQ(E(w->rcD), (Edges{0, 0, 0, 0}));
    EXPECT_EQ(w->clrText.GetValue(), 0xFF0080FFu);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(w->clrColor[i].GetValue(), 0xFFFFFFFFu);

    w = coordi.GetWinPos(L"W");
    EXPECT_EQ(E(w->rc), (Edges{1, 2, 4, 6}));
    EXPECT_EQ(E(w->rcS2), (Edges{5, 7, 6, 8}));
    EXPECT_EQ(E(w->rcD), (Edges{11, 13, 12, 14}));
    EXPECT_EQ(std::tuple(w->nHC, w->nVC, w->nHRatio, w->nType), std::tuple(9, 10, 15, 16))
        << "key names match whatever their case";
    // How a colour is read is the colour table's test; these prove each key reaches its slot.
    EXPECT_EQ(w->clrColor[0].GetValue(), 0x01020304u);
    EXPECT_EQ(w->crColor[5], 0x00060708u);

    w = coordi.GetWinPos(L"Only");
    EXPECT_EQ(std::tuple(w->nY, w->nCX, w->nCY, w->nType), std::tuple(-1, -1, -1, 0));
    EXPECT_EQ(E(w->rc), (Edges{5, -1, 4, -2}));
    EXPECT_EQ(E(w->rcS2), (Edges{-1, -1, -1, -1}));
    EXPECT_EQ(w->clrText.GetValue(), 0xFFFFFFFFu);

    w = coordi.GetWinPos(L"Big");
    EXPECT_EQ(std::tuple(w->rc.right, w->rc.bottom), std::tuple(INT32_MIN, INT32_MIN + 1));
}

TEST_F(LayoutRecords, ColoursAreParsedAsAlphaRedGreenBlueLowBytes)
{
    // Values are cut to 31 characters: of the last only "1,2,3," survives, blue reads 0.
    const std::tuple<std::string, std::uint32_t, std::uint32_t> cases[] = {
        {"255,255,255,255", 0xFFFFFFFF, 0x00FFFFFF},
        {"10,20,30", 0x0A14001E, 0x001E0014},
        {"-1,300,0,0", 0xFF2C0000, 0x0000002C},
        {"", 0, 0},
        {" 1 , 2,3,4", 0x01020304, 0x00040302},
        {"1,2,3,4,5", 0x01020304, 0x00040302},
        {"x,1,2,3", 0x00010203, 0x00030201},
        {"0x10,16,017,+18", 0x00101112, 0x00121110},
        {"1,2,3," + std::string(28, ' ') + "99", 0x01020300, 0x00000302}};
    for (const auto& [value, argb, colorref] : cases) {
        CUICoordi coordi;
        coordi.LoadInfo(Write("c.ini", "[C]\nColorText=" + value + "\n"));
        EXPECT_EQ(coordi.GetWinPos(L"C")->clrText.GetValue(), argb) << value;
        EXPECT_EQ(coordi.GetWinPos(L"C")->crText, colorref) << value;
    }
}

using LayoutLookups = SkinFiles;

TEST_F(LayoutLookups, TheDefaultRecordForUnknownNamesAndASecondLoadAddsAndReplaces)
{
    CUICoordi coordi;
    coordi.LoadInfo(Write("layout.ini", "[Btn]\nx=1\n[BTN]\nx=2\n"));
    const _WIN_POS* def = coordi.GetWinPos(L"nothing");
    EXPECT_EQ(coordi.GetWinPos(L"other"), def);
    EXPECT_EQ(coordi.GetWinPos(L"btn"), def);
    EXPECT_EQ(std::tuple(def->nS2L, def->nX, def->clrText.GetValue(), def->clrColor[5].GetValue()),
              std::tuple(-1, 0, 0u, 0u));
    EXPECT_EQ(E(def->rcS2), (Edges{-1, -1, -1, -1}));
    EXPECT_NE(coordi.GetWinPos(L"Btn"), coordi.GetWinPos(L"BTN"));
    // The file reader matches section names without regard to case, so both entries read the
    // first section's values.
    EXPECT_EQ(coordi.GetWinPos(L"BTN")->nX, 1);
    // Missing and empty files load nothing and still succeed.
    CUICoordi none;
    EXPECT_EQ(none.LoadInfo(Root() + L"\\missing.ini"), 1);
    EXPECT_EQ(none.LoadInfo(Write("empty.ini", "")), 1);
    EXPECT_EQ(none.GetWinPos(L"")->nS2L, -1);

    // A second load adds and replaces; earlier pointers stay valid until unload.
    CUICoordi twice;
    twice.LoadInfo(Write("one.ini", "[A]\nx=1\n[B]\nx=2\n"));
    _WIN_POS* firstB = twice.GetWinPos(L"B");
    twice.LoadInfo(Write("two.ini", "[B]\nx=20\n[C]\nx=30\n"));
    EXPECT_EQ(
        std::tuple(twice.GetWinPos(L"A")->nX, twice.GetWinPos(L"B")->nX, twice.GetWinPos(L"C")->nX),
        std::tuple(1, 20, 30));
    EXPECT_EQ(firstB->nX, 2) << "the displaced record lives until unload";
    twice.UnloadInfo();
    for (const wchar_t* name : {L"A", L"B", L"C"})
        EXPECT_EQ(twice.GetWinPos(name)->nS2L, -1) << "unloaded: the default record";
}

// The list's layout against worked examples: scaling, row places, check-box geometry, the
// top-index correction and picture fitting.
#include "controls/list/ListLayout.h"

#include "../controls/ControlTestKit.h"

#include <algorithm>
#include <array>
#include <climits>

namespace {

constexpr list::Design kDesign{564, 32, 32};

TEST(ListLayout, ColumnsScaleBothWaysRowsHeaderAndFontOnlyDown)
{
    // Width → a 100-wide column, row, header, font (14 × 0.75 = 10.5 truncates; rows round).
    const std::array<int, 5> scales[] = {{282, 50, 16, 16, 7},
                                         {564, 100, 32, 32, 14},
                                         {1128, 200, 32, 32, 14},
                                         {423, 75, 24, 24, 10},
                                         {1, 0, 0, 0, 0}};
    for (auto [width, column, row, header, font] : scales) {
        const list::Scale sc = list::ScaleFor(width, kDesign);
        EXPECT_EQ(std::tuple(list::ScaledWidth(100, sc.ratio), sc.rowHeight, sc.headerHeight,
                             list::ScaledFontSize(14, sc.s)),
                  std::tuple(column, row, header, font))
            << width;
    }
    // The check box: the smaller edge less two quarters, centred in its cell.
    EXPECT_EQ(list::CheckBoxIn(100, 64, 40, 32), CRect(112, 72, 128, 88));
    EXPECT_EQ(list::CheckBoxIn(0, 0, 7, 32), CRect(1, 13, 6, 18)); // 7 − 2 × 1 = 5
    EXPECT_EQ(list::CheckBoxIn(0, 0, 0, 32), CRect(0, 16, 0, 16));
}

TEST(ListLayout, PlacesAndBoxesAtFullAndHalfWidth)
{
    list::Model model;
    list::Layout layout;
    ASSERT_TRUE(list::ComputeLayout(model, kDesign, 564, 300, layout));
    // No columns: places without check boxes.
    EXPECT_EQ(std::pair(layout.rowRects.size(), layout.checkRects.size()), std::pair(8ul, 0ul));
    model.InsertColumn(0, L"#", 200, 0);
    model.InsertColumn(1, L"name", 324, 0);
    model.InsertColumn(2, L"", 40, 0);
    // 300 high: eight whole places at y = 32, 64, … 256 (the ninth is cut); the hit rectangle
    // leaves out each place's first and last lines.
    ASSERT_TRUE(list::ComputeLayout(model, kDesign, 564, 300, layout));
    ASSERT_EQ(std::pair(layout.maxRowCount, layout.checkRects.size()), std::pair(8, 8ul));
    EXPECT_EQ(
        Str({layout.rowRects[0], layout.rowRects[7], layout.checkRects[0], layout.headerCheck}),
        "0,33 564x30 | 0,257 564x30 | 536,40 16x16 | 536,8 16x16");
    EXPECT_FALSE(list::ComputeLayout(model, kDesign, 0, 300, layout)); // no size: kept
    EXPECT_FALSE(list::ComputeLayout(model, kDesign, 564, 0, layout));
    EXPECT_EQ(layout.maxRowCount, 8);
    // Half as wide: x0 = 524 × 0.5 = 262, the last column 20 wide, rows 16, the box 8.
    ASSERT_TRUE(list::ComputeLayout(model, kDesign, 282, 300, layout));
    EXPECT_EQ(layout.maxRowCount, (300 - 16) / 16);
    EXPECT_EQ(Str({layout.rowRects[0], layout.checkRects[0]}), "0,17 282x14 | 268,20 8x8");
    // Rows scaled to nothing fit no place.
    ASSERT_TRUE(list::ComputeLayout(model, {564, 0, 32}, 564, 300, layout));
    EXPECT_EQ(layout.maxRowCount, 0);
}

// Sizes at the int limits once made the layout count (cy − hh) / h places for a header far
// above the client (billions of rectangles) or overflow int. Only the places that fit the
// client are laid out, and every sum stays inside int (the sanitizer build checks that).
TEST(ListLayout, HostSizesAtTheLimitsLayOutOnlyWhatFits)
{
    list::Model model;
    for (int j = 0; j < 3; ++j)
        model.InsertColumn(j, L"", 0, 0);
    const int sizes[] = {INT_MIN, -1000000000, -1, 0, 1, 32, INT_MAX};
    const long long bases[] = {-(1LL << 32) + 1, INT_MIN, -1, 0, 1, 564, INT_MAX, (1LL << 32) - 1};
    for (long long base : bases)
        for (int row : sizes)
            for (int header : sizes)
                for (int width : sizes) {
                    for (int j = 0; j < 3; ++j)
                        model.GetColumn(j)->nWidth = width;
                    list::Layout layout;
                    ASSERT_TRUE(list::ComputeLayout(model, {base, row, header}, 564, 300, layout));
                    SCOPED_TRACE(::testing::Message()
                                 << base << " " << row << " " << header << " " << width);
                    ASSERT_LE(layout.rowRects.size(), 300u);
                    EXPECT_EQ(layout.rowRects.size(), size_t(std::max(layout.maxRowCount, 0)));
                    for (const CRect& r : layout.rowRects)
                        EXPECT_TRUE(r.top >= 0 && r.bottom < 300);
                }
    // A design width of 0 or less scales nothing; row and header heights below 0 are 0.
    for (long long base : {0LL, -564LL, -(1LL << 32) + 1}) {
        const list::Scale sc = list::ScaleFor(282, {base, -32, INT_MIN});
        EXPECT_EQ(std::tuple(sc.ratio, sc.rowHeight, sc.headerHeight), std::tuple(1.0, 0, 0))
            << base;
    }
    EXPECT_EQ(std::pair(list::ScaledWidth(INT_MAX, 1e9), list::ScaledWidth(INT_MIN, 1e9)),
              std::pair(list::kMaxCoord, -list::kMaxCoord));
}

TEST(ListLayout, TopIndexCorrectedSoTheLastPageIsFull)
{
    // The top is taken from the scroll bar as it comes, INT_MIN included.
    const std::array<int, 4> cases[] = {
        {15, 20, 8, 12},           {15, 5, 8, 0},       {3, 20, 8, 3}, {12, 20, 8, 12},
        {INT_MIN, 20, 8, INT_MIN}, {INT_MAX, 20, 8, 12}};
    for (auto [top, rows, places, corrected] : cases)
        EXPECT_EQ(list::CorrectTopIndex(top, rows, places), corrected) << top << " " << rows;
}

TEST(ListLayout, PicturesKeepTheirAspectRatioCentredAndCutPlacesShowTheTop)
{
    const Gdiplus::Rect box(0, 0, 40, 24);
    EXPECT_EQ(Str({list::FitPicture(box, 200, 100), list::FitPicture(box, 100, 200)}),
              "0,2 40x20 | 14,0 12x24");
    EXPECT_EQ(list::FitPicture(box, 0, 10).Width, 0);
    // Background height, the place's visible height, the row height → source rows shown.
    const std::array<int, 4> cuts[] = {{32, 12, 32, 12},
                                       {64, 12, 32, 24},
                                       {10, 1, 32, 0},
                                       {16384, 1 << 23, 1 << 24, 8192}}; // a product past 32 bits
    for (auto [source, visible, row, shown] : cuts)
        EXPECT_EQ(list::CutSourceHeight(source, visible, row), shown) << source << " " << visible;
}

} // namespace

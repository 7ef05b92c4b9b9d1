// The list's layout against worked examples: scaling, row places, check-box geometry, the
// top-index correction and picture fitting.
#include "controls/list/ListLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr list::Design kDesign{564, 32, 32, 14};

struct ScaleCase
{
    int width;
    int column100, rowHeight, headerHeight, font;
};

TEST(ListScale, ColumnsBothWaysRowsHeaderAndFontOnlyDown)
{
    const ScaleCase cases[] = {
        {282, 50, 16, 16, 7},    {564, 100, 32, 32, 14},
        {1128, 200, 32, 32, 14}, {423, 75, 24, 24, 10}, // 14 × 0.75 = 10.5 truncates; rows round
        {1, 0, 0, 0, 0},
    };
    for (const ScaleCase& c : cases) {
        const list::Scale sc = list::ScaleFor(c.width, kDesign);
        EXPECT_EQ(list::ScaledWidth(100, sc.ratio), c.column100) << c.width;
        EXPECT_EQ(sc.rowHeight, c.rowHeight) << c.width;
        EXPECT_EQ(sc.headerHeight, c.headerHeight) << c.width;
        EXPECT_EQ(sc.fontSize, c.font) << c.width;
    }
}

TEST(ListCheckBox, SideIsTheSmallerEdgeLessTwoQuarters)
{
    EXPECT_EQ(list::CheckBoxIn(0, 0, 40, 32), CRect(12, 8, 28, 24));
    EXPECT_EQ(list::CheckBoxIn(100, 64, 40, 32), CRect(112, 72, 128, 88));
    EXPECT_EQ(list::CheckBoxIn(0, 0, 7, 32), CRect(1, 13, 6, 18)); // 7 − 2 × 1 = 5
    EXPECT_EQ(list::CheckBoxIn(0, 0, 0, 32), CRect(0, 16, 0, 16));
}

class ListLayoutCase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        model.InsertColumn(0, L"#", 200, 0);
        model.InsertColumn(1, L"name", 324, 0);
        model.InsertColumn(2, L"", 40, 0);
    }
    list::Model model;
    list::Layout layout;
};

TEST_F(ListLayoutCase, EightWholePlacesInThreeHundredPixels)
{
    ASSERT_TRUE(list::ComputeLayout(model, kDesign, 564, 300, layout));
    EXPECT_EQ(layout.maxRowCount, 8);
    ASSERT_EQ(layout.rowRects.size(), 8u);
    ASSERT_EQ(layout.checkRects.size(), 8u);
    // Places at y = 32, 64, … 256; the hit rectangle leaves out the first and last lines.
    EXPECT_EQ(layout.rowRects[0], CRect(0, 33, 564, 63));
    EXPECT_EQ(layout.rowRects[7], CRect(0, 256 + 1, 564, 256 + 31));
    EXPECT_EQ(layout.checkRects[0], CRect(524 + 12, 32 + 8, 524 + 28, 32 + 24));
    EXPECT_EQ(layout.headerCheck, CRect(524 + 12, 8, 524 + 28, 24));
}

TEST_F(ListLayoutCase, HalfWidthHalvesColumnsAndRows)
{
    ASSERT_TRUE(list::ComputeLayout(model, kDesign, 282, 300, layout));
    EXPECT_EQ(layout.maxRowCount, (300 - 16) / 16);
    // x0 = 524 × 0.5 = 262, last column 20 wide, rows 16: m = 16, side 8.
    EXPECT_EQ(layout.checkRects[0], CRect(262 + 6, 16 + 4, 262 + 14, 16 + 12));
    EXPECT_EQ(layout.rowRects[0], CRect(0, 17, 282, 31));
}

TEST_F(ListLayoutCase, NoSizeLeavesTheLayoutAsItWas)
{
    ASSERT_TRUE(list::ComputeLayout(model, kDesign, 564, 300, layout));
    EXPECT_FALSE(list::ComputeLayout(model, kDesign, 0, 300, layout));
    EXPECT_FALSE(list::ComputeLayout(model, kDesign, 564, 0, layout));
    EXPECT_EQ(layout.maxRowCount, 8);
}

TEST(ListLayoutNoColumns, RowPlacesWithoutCheckBoxes)
{
    list::Model model;
    list::Layout layout;
    ASSERT_TRUE(list::ComputeLayout(model, kDesign, 564, 300, layout));
    EXPECT_EQ(layout.rowRects.size(), 8u);
    EXPECT_TRUE(layout.checkRects.empty());
}

TEST(ListLayoutTooLow, RowsScaledToNothingFitNoPlace)
{
    list::Model model;
    list::Layout layout;
    ASSERT_TRUE(list::ComputeLayout(model, {564, 0, 32, 14}, 564, 300, layout));
    EXPECT_EQ(layout.maxRowCount, 0);
}

TEST(ListTopIndex, CorrectedSoTheLastPageIsFull)
{
    struct Case
    {
        int top, rows, places, expected;
    };
    const Case cases[] = {
        {15, 20, 8, 12}, {15, 5, 8, 0}, {3, 20, 8, 3}, {12, 20, 8, 12}, {0, 0, 8, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list::CorrectTopIndex(c.top, c.rows, c.places), c.expected);
}

TEST(ListPicture, KeepsItsAspectRatioCentred)
{
    const Gdiplus::Rect box(0, 0, 40, 24);
    const Gdiplus::Rect wide = list::FitPicture(box, 200, 100);
    EXPECT_EQ(wide.X, 0);
    EXPECT_EQ(wide.Y, 2);
    EXPECT_EQ(wide.Width, 40);
    EXPECT_EQ(wide.Height, 20);
    const Gdiplus::Rect tall = list::FitPicture(box, 100, 200);
    EXPECT_EQ(tall.X, 14);
    EXPECT_EQ(tall.Y, 0);
    EXPECT_EQ(tall.Width, 12);
    EXPECT_EQ(tall.Height, 24);
    const Gdiplus::Rect none = list::FitPicture(box, 0, 10);
    EXPECT_EQ(none.Width, 0);
}

TEST(ListCutPlace, ShowsTheTopPartOfTheBackground)
{
    EXPECT_EQ(list::CutSourceHeight(32, 12, 32), 12);
    EXPECT_EQ(list::CutSourceHeight(64, 12, 32), 24);
    EXPECT_EQ(list::CutSourceHeight(10, 1, 32), 0);
}

} // namespace

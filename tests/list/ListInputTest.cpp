// What a point, the wheel and EnsureVisible do to the list, without a window.
#include "controls/list/ListInput.h"

#include <gtest/gtest.h>

namespace {

TEST(ListWheel, OneRowAMessageWithinTheRows)
{
    struct Case
    {
        int top, delta, expected;
    };
    // 20 rows, 8 places.
    const Case cases[] = {
        {12, -120, 12}, // the last page: toward the user does nothing
        {12, 120, 11},  {11, -120, 12}, {0, 120, 0}, {0, -360, 1}, // one row whatever the delta
        {5, 0, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list::WheelTop(c.top, 8, 20, c.delta), c.expected) << c.top << " " << c.delta;
    EXPECT_EQ(list::WheelTop(0, 8, 5, -120), 0);
}

TEST(ListEnsureVisible, ScrollsTheRowToTheNearerEdge)
{
    struct Case
    {
        int top, row, expected;
    };
    const Case cases[] = {
        {0, 15, 8}, {8, 3, 3}, {3, 5, 3}, {3, 10, 3}, {3, 11, 4}, {3, 20, 3}, {3, -1, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list::EnsureVisibleTop(c.top, 8, 20, c.row), c.expected) << c.top << " " << c.row;
}

class ListHit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        model.InsertColumn(0, L"a", 200, 0);
        model.InsertColumn(1, L"b", 160, 0);
        model.InsertColumn(2, L"c", 40, 0);
        for (int i = 0; i < 20; ++i)
            model.InsertItem(i, L"row");
        model.m_bCheckbox = 1;
        model.m_bShowHeaderCheckbox = 1;
        list::ComputeLayout(model, {400, 32, 32, 14}, 400, 300, layout);
    }
    list::Hit Click(int x, int y, int top = 0)
    {
        return list::HitTestClick({model, layout, 32, 32, top}, CPoint(x, y));
    }
    list::Hit DoubleClick(int x, int y, int top = 0)
    {
        return list::HitTestDoubleClick({model, layout, 32, 32, top}, CPoint(x, y));
    }
    list::Model model;
    list::Layout layout;
};

TEST_F(ListHit, PartsUnderThePoint)
{
    struct Case
    {
        int x, y, top;
        list::HitPart part;
        int row;
    };
    using P = list::HitPart;
    const Case cases[] = {
        {380, 16, 0, P::HeaderCheck, -1}, {100, 16, 0, P::Nothing, -1}, // the header elsewhere
        {100, 10, 0, P::Nothing, -1}, // less than a row above the first place: place 0, missed
        {100, 32, 0, P::Nothing, -1}, // the first place's top line
        {100, 33, 0, P::Row, 0},          {100, 62, 0, P::Row, 0},
        {100, 63, 0, P::Nothing, -1}, // its bottom line
        {100, 80, 0, P::Row, 1},          {380, 80, 0, P::RowCheck, 1},
        {372, 72, 0, P::RowCheck, 1},     {371, 80, 0, P::Row, 1},
        {100, 80, 12, P::Row, 13},        {395, 80, 0, P::Row, 1}, // under the scroll bar too
        {100, 290, 0, P::Nothing, -1},                             // the cut ninth place
        {100, 80, 19, P::Nothing, -1},                             // a place without a row
    };
    for (const Case& c : cases) {
        const list::Hit h = Click(c.x, c.y, c.top);
        EXPECT_EQ(h.part, c.part) << c.x << "," << c.y;
        EXPECT_EQ(h.row, c.row) << c.x << "," << c.y;
    }
}

TEST_F(ListHit, DoubleClicksIgnoreCheckBoxes)
{
    EXPECT_EQ(DoubleClick(380, 80).part, list::HitPart::Row);
    EXPECT_EQ(DoubleClick(380, 16).part, list::HitPart::Nothing);
    model.m_bShowHeaderCheckbox = 0;
    model.m_bCheckbox = 0;
    EXPECT_EQ(Click(380, 16).part, list::HitPart::Nothing);
    EXPECT_EQ(Click(380, 80).part, list::HitPart::Row);
}

} // namespace

// What a point, the wheel and EnsureVisible do to the list, without a window.
#include "controls/list/ListInput.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <utility>

namespace {

TEST(ListInput, WheelAndEnsureVisibleWithin20RowsIn8Places)
{
    // One row a message whatever the delta; toward the user stops at the last page.
    const std::array<int, 3> wheel[] = {{12, -120, 12}, {12, 120, 11}, {11, -120, 12},
                                        {0, 120, 0},    {0, -360, 1},  {5, 0, 5}};
    for (auto [top, delta, expected] : wheel)
        EXPECT_EQ(list::WheelTop(top, 8, 20, delta), expected) << top << " " << delta;
    EXPECT_EQ(list::WheelTop(0, 8, 5, -120), 0);
    // The row comes to the nearer edge; rows outside the list move nothing.
    const std::array<int, 3> ensure[] = {{0, 15, 8}, {8, 3, 3},  {3, 5, 3}, {3, 10, 3},
                                         {3, 11, 4}, {3, 20, 3}, {3, -1, 3}};
    for (auto [top, row, expected] : ensure)
        EXPECT_EQ(list::EnsureVisibleTop(top, 8, 20, row), expected) << top << " " << row;
}

TEST(ListInput, PartsUnderThePoint)
{
    list::Model model;
    list::Layout layout;
    model.InsertColumn(0, L"a", 200, 0);
    model.InsertColumn(1, L"b", 160, 0);
    model.InsertColumn(2, L"c", 40, 0);
    for (int i = 0; i < 20; ++i)
        model.InsertItem(i, L"row");
    model.m_bCheckbox = model.m_bShowHeaderCheckbox = 1;
    list::ComputeLayout(model, {400, 32, 32}, 400, 300, layout);
    using P = list::HitPart;
    // x, y, top, a double click, boxes shown → the part and row hit.
    const std::tuple<int, int, int, bool, bool, P, int> cases[] = {
        {380, 16, 0, false, true, P::HeaderCheck, -1},
        {100, 16, 0, false, true, P::Nothing, -1},
        {100, 10, 0, false, true, P::Nothing, -1}, // less than a row above place 0: missed
        {100, 32, 0, false, true, P::Nothing, -1}, // the first place's top line
        {100, 33, 0, false, true, P::Row, 0},
        {100, 62, 0, false, true, P::Row, 0},
        {100, 63, 0, false, true, P::Nothing, -1}, // its bottom line
        {100, 80, 0, false, true, P::Row, 1},
        {380, 80, 0, false, true, P::RowCheck, 1},
        {372, 72, 0, false, true, P::RowCheck, 1},
        {371, 80, 0, false, true, P::Row, 1},
        {100, 80, 12, false, true, P::Row, 13},
        {395, 80, 0, false, true, P::Row, 1},
        {100, 290, 0, false, true, P::Nothing, -1}, // the cut ninth place
        {100, 80, 19, false, true, P::Nothing, -1}, // a place without a row
        {380, 80, 0, true, true, P::Row, 1},        // double clicks ignore check boxes
        {380, 16, 0, true, true, P::Nothing, -1},
        {380, 16, 0, false, false, P::Nothing, -1}, // boxes switched off
        {380, 80, 0, false, false, P::Row, 1},
    };
    for (auto [x, y, top, dbl, boxes, part, row] : cases) {
        model.m_bCheckbox = model.m_bShowHeaderCheckbox = boxes;
        const list::HitQuery in{model, layout, top};
        const list::Hit h =
            dbl ? list::HitTestDoubleClick(in, CPoint(x, y)) : list::HitTestClick(in, CPoint(x, y));
        EXPECT_EQ(std::pair(h.part, h.row), std::pair(part, row))
            << x << "," << y << " top " << top << (dbl ? " double" : "");
    }
}

} // namespace

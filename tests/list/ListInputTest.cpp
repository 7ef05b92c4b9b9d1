// What a point, the wheel, EnsureVisible and the keys do to the list, without a window.
#include "controls/list/ListInput.h"
#include "controls/list/ListKeys.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
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
        {100, 16, 0, false, true, P::Nothing, -1}, // less than a row above place 0: missed
        {100, 32, 0, false, true, P::Nothing, -1}, // the first place's top line
        {100, 33, 0, false, true, P::Row, 0},
        {100, 62, 0, false, true, P::Row, 0},
        {100, 63, 0, false, true, P::Nothing, -1}, // its bottom line
        {100, 80, 0, false, true, P::Row, 1},
        {380, 80, 0, false, true, P::RowCheck, 1},
        {372, 72, 0, false, true, P::RowCheck, 1},
        {371, 80, 0, false, true, P::Row, 1},
        {100, 80, 12, false, true, P::Row, 13},
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

TEST(ListKeys, RowForEachKey)
{
    // selected, top, page, rows → Up, Down, PageUp, PageDown, Home, End.
    const std::array<int, 10> cases[] = {{5, 0, 8, 20, 4, 6, 0, 13, 0, 19},
                                         {19, 12, 8, 20, 18, 19, 11, 19, 0, 19},
                                         {-1, 12, 8, 20, 12, 12, 12, 12, 0, 19},
                                         {40, INT_MAX, 8, 20, 19, 19, 19, 19, 0, 19},
                                         {5, 0, 0, 20, 4, 6, 4, 6, 0, 19},
                                         {3, 0, 8, 0, -1, -1, -1, -1, -1, -1},
                                         {INT_MAX - 1, 0, INT_MAX, INT_MAX, INT_MAX - 2,
                                          INT_MAX - 1, 0, INT_MAX - 1, 0, INT_MAX - 1}};
    for (const auto& c : cases)
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(list::RowForKey(list::Key(k), c[0], c[1], c[2], c[3]), c[4 + k])
                << k << " " << c[0];
}

// One session against the clock: the text grows while keys come less than a second apart, a
// pause starts again after the selected row, case is ignored beyond ASCII, a space only
// continues a text, a character beyond the basic plane comes as two halves.
TEST(ListKeys, TypeAheadSession)
{
    list::Model model;
    const wchar_t* rows[] = {L"Apple",       L"banana", L"Apricot",       L"\u00C9mile",
                             L"\u00E9clair", L"Ab Cd",  L"\U0001D49Clpha"};
    for (int i = 0; i < 7; ++i)
        model.InsertItem(i, rows[i]);
    // unit, time → row found
    const std::tuple<unsigned, DWORD, int> steps[] = {
        {'a', 10000, 0},    {'P', 10500, 0},   {'r', 10999, 2},       {'a', 11999, 5},
        {'b', 12000, 5},    {' ', 12100, 5},   {'c', 12200, 5},       {'x', 12300, -1},
        {' ', 14000, -1},   {0xE9, 14100, 3},  {0xC9, 15100, 4},      {0xD835, 17000, -1},
        {0xDC9C, 17100, 6}, {'\r', 17200, -1}, {0x110000, 17300, -1}, {'a', 0xFFFFFF00, 0},
        {'p', 0x10, 0}};
    list::TypeAhead typing;
    int selected = -1;
    for (auto [unit, time, row] : steps) {
        EXPECT_EQ(typing.Type(model, unit, time, selected), row) << unit << " at " << time;
        selected = row >= 0 ? row : selected;
    }
}

} // namespace

// The list's table as assistive technology reads it, from the model alone: the rows on the
// screen clamped to the rows there are, a selection or current row outside them read as none.
#include "controls/list/ListAccess.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>

TEST(ListAccess, ShownRowsSelectionAndCurrentClamped)
{
    // Rows, top, places, selected, indicated → first shown, rows shown, selected, current.
    const std::array<int, 9> cases[] = {
        {5, 0, 3, 1, 4, 0, 3, 1, 4},   {5, 4, 3, -1, -1, 4, 1, -1, -1},
        {5, 9, 3, 7, 5, 5, 0, -1, -1}, {0, 0, 3, 0, 0, 0, 0, -1, -1},
        {5, -2, -1, 2, 2, 0, 0, 2, 2}, {100000, 99998, 4, 99999, 0, 99998, 2, 99999, 0},
    };
    for (auto [rows, top, places, selected, indicated, first, shown, wantSelected, wantCurrent] :
         cases) {
        list::Model m;
        for (int i = 0; i < rows; ++i)
            m.InsertItem(i, L"x");
        m.m_nSelectedItem = selected;
        m.m_nIndicatedItem = indicated;
        const auto t = list::DescribeTable(m, top, places);
        EXPECT_EQ(std::tuple(t.firstShown, t.shownRows, t.selected, t.current),
                  std::tuple(first, shown, wantSelected, wantCurrent))
            << rows << " rows from " << top;
    }
}

// Rows: their texts per column, check state (mixed included) only with check boxes, and no row
// outside the range; emptying the list starts a new generation.
TEST(ListAccess, RowsChecksAndGenerations)
{
    namespace acc = platform::wnd::acc;
    list::Model m;
    m.InsertColumn(0, L"#", 40, 1);
    m.InsertColumn(1, L"Name", 100, 1);
    m.InsertItem(0, L"1");
    m.SetItemText(0, 1, L"clip");
    platform::wnd::AccRow row;
    ASSERT_TRUE(list::DescribeRow(m, 0, row));
    EXPECT_EQ(std::tuple(row.cells.size(), row.cells[1], row.states & acc::Checkable),
              std::tuple(2u, CString(L"clip"), 0u));
    m.m_bCheckbox = 1;
    for (int check : {1, -1, 0}) {
        m.SetCheck(0, check);
        ASSERT_TRUE(list::DescribeRow(m, 0, row));
        EXPECT_EQ(row.states & (acc::Checkable | acc::Checked | acc::Mixed),
                  acc::Checkable | (check == 1 ? acc::Checked : 0u) |
                      (check < 0 ? acc::Mixed : 0u));
    }
    for (int bad : {-1, 1, INT_MAX})
        EXPECT_FALSE(list::DescribeRow(m, bad, row)) << bad;
    const unsigned before = list::DescribeTable(m, 0, 1).generation;
    m.DeleteAllItems();
    EXPECT_NE(list::DescribeTable(m, 0, 1).generation, before);
}

#include "controls/list/ListAccess.h"

#include <algorithm>

namespace list {

namespace acc = platform::wnd::acc;

platform::wnd::AccTable DescribeTable(const Model& model, int top, int places)
{
    platform::wnd::AccTable t;
    t.rows = model.GetItemCount();
    t.columns = model.ColumnCount();
    t.headers.reserve(static_cast<size_t>(t.columns));
    for (int c = 0; c < t.columns; ++c) {
        const Column* column = model.GetColumn(c);
        t.headers.push_back(column ? column->strText : CString());
    }
    t.firstShown = std::clamp(top, 0, t.rows);
    t.shownRows = std::clamp(places, 0, t.rows - t.firstShown);
    const auto valid = [&](int row) { return row >= 0 && row < t.rows ? row : -1; };
    t.selected = valid(model.m_nSelectedItem);
    t.current = model.m_bShowIndicator ? valid(model.m_nIndicatedItem) : -1;
    t.generation = model.m_generation;
    return t;
}

bool DescribeRow(const Model& model, int row, platform::wnd::AccRow& out)
{
    if (row < 0 || row >= model.GetItemCount())
        return false;
    const int columns = model.ColumnCount();
    const Item* item = model.GetItem(row);
    out.cells.assign(static_cast<size_t>(columns), CString());
    for (int c = 0; item && c < std::min(columns, kCells); ++c)
        out.cells[static_cast<size_t>(c)] = item->strText[c];
    // A greyed row can still be selected and checked (CCtrlListbox::SetItemDisabled).
    out.states = acc::Enabled | acc::Selectable;
    if (row == model.m_nSelectedItem)
        out.states |= acc::Selected;
    if (model.m_bCheckbox) {
        const int check = model.GetCheck(row);
        out.states |=
            acc::Checkable | (IsChecked(check) ? acc::Checked : 0u) | (check < 0 ? acc::Mixed : 0u);
    }
    out.current = model.m_bShowIndicator && row == model.m_nIndicatedItem;
    return true;
}

} // namespace list

// The list as assistive technology reads it: a table whose columns are the list's columns with
// their header texts, whose rows are the model's rows with their cell texts, selection, check
// state and the indicated row as the current one. Answered from the model alone, so that a
// table of any length is described at the same cost; the window's handlers only pass these on.
#pragma once

#include "controls/list/ListModel.h"
#include "platform/wnd/Accessible.h"

namespace list {

// The table part of the list's description, `top` the first row shown and `places` the
// number of row places the layout has.
platform::wnd::AccTable DescribeTable(const Model& model, int top, int places);

// Row `row` (missing keys inside the range read as empty rows); false outside 0 .. count - 1.
bool DescribeRow(const Model& model, int row, platform::wnd::AccRow& out);

} // namespace list

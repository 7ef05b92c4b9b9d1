// What the mouse does to the list, free of windows: which part of the list a point hits and
// where the wheel and EnsureVisible move the first visible row. The list keeps no mouse state;
// a click is read from the release point alone.
#pragma once

#include "controls/list/ListLayout.h"
#include "controls/list/ListModel.h"

namespace list {

enum class HitPart { Nothing, HeaderCheck, RowCheck, Row };

struct Hit
{
    HitPart part = HitPart::Nothing;
    int row = -1; // the row index (top index + place) for RowCheck and Row
};

// What is being asked about a point: the places and heights are the layout's, the same that
// painting reads.
struct HitQuery
{
    const Model& model;
    const Layout& layout;
    int topIndex;
};

// | point                                         | click        | double click |
// |-----------------------------------------------|--------------|--------------|
// | in the header check box (while it is shown)   | HeaderCheck  | Nothing      |
// | above the places, below them, on no row       | Nothing      | Nothing      |
// | in a row's check box (while boxes are on)     | RowCheck     | Row          |
// | elsewhere in a row place, gap lines excluded  | Row          | Row          |
Hit HitTestClick(const HitQuery& q, CPoint point);
Hit HitTestDoubleClick(const HitQuery& q, CPoint point);

// One row a wheel message: toward the user (delta < 0) down while rows remain below the page,
// away from the user up while the top is not the first row; delta 0 stays.
int WheelTop(int top, int maxRowCount, int rowCount, int delta);

// The top that brings `row` into view: it becomes the first visible row when above the page
// and the last when below it; a row in view or outside the rows keeps the top.
int EnsureVisibleTop(int top, int maxRowCount, int rowCount, int row);

} // namespace list

#include "controls/list/ListInput.h"

namespace list {

namespace {

// The place under the point and its row, or -1 when the point hits no stored row.
int PlaceUnder(const HitQuery& q, CPoint point, int* row)
{
    const int h = q.layout.scale.rowHeight;
    if (h <= 0)
        return -1;
    // Truncation toward zero: a point less than a row above the first place gives place 0,
    // whose rectangle test then fails.
    const long long r = (static_cast<long long>(point.y) - q.layout.scale.headerHeight) / h;
    if (r < 0 || r >= q.layout.maxRowCount || r >= static_cast<int>(q.layout.rowRects.size()))
        return -1;
    // The top is taken from the scroll bar as it comes, so the sum may leave the int range.
    const long long i = static_cast<long long>(q.topIndex) + r;
    if (i < 0 || i >= q.model.GetItemCount() || !q.model.GetItem(static_cast<int>(i)))
        return -1;
    *row = static_cast<int>(i);
    return static_cast<int>(r);
}

} // namespace

Hit HitTestClick(const HitQuery& q, CPoint point)
{
    if (q.model.m_bShowHeaderCheckbox && q.layout.headerCheck.PtInRect(point))
        return {HitPart::HeaderCheck, -1};
    int i = -1;
    const int r = PlaceUnder(q, point, &i);
    if (r < 0)
        return {};
    if (q.model.m_bCheckbox && r < static_cast<int>(q.layout.checkRects.size()) &&
        q.layout.checkRects[static_cast<size_t>(r)].PtInRect(point))
        return {HitPart::RowCheck, i};
    if (q.layout.rowRects[static_cast<size_t>(r)].PtInRect(point))
        return {HitPart::Row, i};
    return {};
}

Hit HitTestDoubleClick(const HitQuery& q, CPoint point)
{
    int i = -1;
    const int r = PlaceUnder(q, point, &i);
    if (r >= 0 && q.layout.rowRects[static_cast<size_t>(r)].PtInRect(point))
        return {HitPart::Row, i};
    return {};
}

int WheelTop(int top, int maxRowCount, int rowCount, int delta)
{
    if (delta < 0 && static_cast<long long>(top) + maxRowCount < rowCount)
        return top + 1;
    if (delta > 0 && top >= 1)
        return top - 1;
    return top;
}

int EnsureVisibleTop(int top, int maxRowCount, int rowCount, int row)
{
    if (row < 0 || row >= rowCount)
        return top;
    if (row < top)
        return row;
    if (row < static_cast<long long>(top) + maxRowCount)
        return top;
    return row - maxRowCount + 1;
}

} // namespace list

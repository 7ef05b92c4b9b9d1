#include "controls/list/ListLayout.h"

#include <algorithm>

namespace list {

Scale ScaleFor(int clientWidth, const Design& design)
{
    Scale sc{};
    // A zero design width would divide by zero: it scales nothing.
    sc.ratio = design.baseWidth != 0 ? static_cast<double>(clientWidth) / design.baseWidth : 1.0;
    sc.s = std::min(1.0, sc.ratio);
    sc.rowHeight = static_cast<int>(design.rowHeight * sc.s + 0.5);
    sc.headerHeight = static_cast<int>(design.headerHeight * sc.s + 0.5);
    sc.fontSize = static_cast<int>(design.fontSize * sc.s);
    return sc;
}

int ScaledWidth(int width, double ratio)
{
    return static_cast<int>(width * ratio + 0.5);
}

CRect CheckBoxIn(int cellLeft, int cellTop, int cellWidth, int cellHeight)
{
    const int m = std::min(cellWidth, cellHeight);
    const int side = m - 2 * (m / 4);
    const int left = cellLeft + (cellWidth - side) / 2;
    const int top = cellTop + (cellHeight - side) / 2;
    return CRect(left, top, left + side, top + side);
}

std::vector<ColumnSpan> PaintColumns(const Model& model, double ratio)
{
    const int n = model.ColumnCount();
    std::vector<ColumnSpan> spans;
    spans.reserve(static_cast<size_t>(n));
    int x = 0;
    for (int j = 0; j < n; ++j) {
        const Column* c = model.GetColumn(j);
        const int w = c ? ScaledWidth(c->nWidth, ratio) : 0;
        spans.push_back({x, w, c});
        x += w;
    }
    return spans;
}

bool ComputeLayout(const Model& model, const Design& design, int cx, int cy, Layout& layout)
{
    if (cx < 1 || cy < 1)
        return false;
    const Scale sc = ScaleFor(cx, design);
    const int h = sc.rowHeight;
    const int hh = sc.headerHeight;
    // Rows scaled to nothing fit no place (rather than dividing by a zero row height).
    layout.maxRowCount = h > 0 ? (cy - hh) / h : 0;
    layout.rowRects.clear();
    layout.checkRects.clear();

    const int n = model.ColumnCount();
    const int last = n - 1;
    long long sum = 0;
    for (int j = 0; j < last; ++j)
        if (const Column* c = model.GetColumn(j))
            sum += c->nWidth;
    const int x0 = static_cast<int>(sum * sc.ratio + 0.5);
    const Column* lastColumn = n > 0 ? model.GetColumn(last) : nullptr;
    const int wL = lastColumn ? ScaledWidth(lastColumn->nWidth, sc.ratio) : 0;

    layout.headerCheck = CheckBoxIn(x0, 0, wL, hh);
    for (int r = 0; r < layout.maxRowCount; ++r) {
        if (lastColumn)
            layout.checkRects.push_back(CheckBoxIn(x0, hh + r * h, wL, h));
        const int y = hh + 1 + r * h;
        layout.rowRects.push_back(CRect(0, y, cx, y + h - 2));
    }
    return true;
}

int CorrectTopIndex(int top, int rowCount, int maxRowCount)
{
    if (maxRowCount > rowCount - top)
        return std::max(0, rowCount - maxRowCount);
    return top;
}

Gdiplus::Rect FitPicture(Gdiplus::Rect box, int iw, int ih)
{
    if (iw <= 0 || ih <= 0 || box.Width <= 0 || box.Height <= 0)
        return Gdiplus::Rect(box.X, box.Y, 0, 0);
    const double ab = static_cast<double>(box.Width) / box.Height;
    const double ai = static_cast<double>(iw) / ih;
    if (ab > ai) {
        const int w = static_cast<int>(ai * box.Height);
        return Gdiplus::Rect(box.X + (box.Width - w) / 2, box.Y, w, box.Height);
    }
    const int h = static_cast<int>(box.Width / ai);
    return Gdiplus::Rect(box.X, box.Y + (box.Height - h) / 2, box.Width, h);
}

int CutSourceHeight(int imageHeight, int rem, int h)
{
    if (h <= 0)
        return 0;
    return static_cast<int>(static_cast<unsigned>(imageHeight) * static_cast<unsigned>(rem) /
                            static_cast<unsigned>(h));
}

} // namespace list

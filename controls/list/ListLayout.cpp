#include "controls/list/ListLayout.h"

#include <algorithm>

namespace list {

namespace {

// A coordinate from a value worked out in double precision, truncated toward zero and kept
// within ±kMaxCoord (converting a double outside int is undefined).
int ClampedCoord(double v)
{
    if (!(v > -kMaxCoord)) // NaN too
        return v != v ? 0 : -kMaxCoord;
    if (v >= kMaxCoord)
        return kMaxCoord;
    return static_cast<int>(v);
}

int ClampedCoord(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, -kMaxCoord, kMaxCoord));
}

} // namespace

Scale ScaleFor(int clientWidth, const Design& design)
{
    Scale sc{};
    // A design width of 0 would divide by zero, a negative one mirror every column: neither
    // scales anything.
    sc.ratio = design.baseWidth > 0
                   ? static_cast<double>(std::max(clientWidth, 0)) / design.baseWidth
                   : 1.0;
    sc.s = std::min(1.0, sc.ratio);
    sc.rowHeight = std::max(0, ClampedCoord(design.rowHeight * sc.s + 0.5));
    sc.headerHeight = std::max(0, ClampedCoord(design.headerHeight * sc.s + 0.5));
    return sc;
}

int ScaledWidth(long long width, double ratio)
{
    return ClampedCoord(static_cast<double>(width) * ratio + 0.5);
}

int TruncatedWidth(long long width, double ratio)
{
    return ClampedCoord(static_cast<double>(width) * ratio);
}

int ScaledFontSize(int fontSize, double s)
{
    return ClampedCoord(fontSize * s);
}

CRect CheckBoxIn(int cellLeft, int cellTop, int cellWidth, int cellHeight)
{
    const long long m = std::min(cellWidth, cellHeight);
    const long long side = m - 2 * (m / 4);
    const int left = ClampedCoord(cellLeft + (cellWidth - side) / 2);
    const int top = ClampedCoord(cellTop + (cellHeight - side) / 2);
    return CRect(left, top, ClampedCoord(left + side), ClampedCoord(top + side));
}

std::vector<ColumnSpan> PaintColumns(const Model& model, double ratio)
{
    const int n = model.ColumnCount();
    std::vector<ColumnSpan> spans;
    spans.reserve(static_cast<size_t>(n));
    long long x = 0;
    for (int j = 0; j < n; ++j) {
        const Column* c = model.GetColumn(j);
        const int w = c ? ScaledWidth(c->nWidth, ratio) : 0;
        spans.push_back({ClampedCoord(x), w, c});
        x += w;
    }
    return spans;
}

bool ComputeLayout(const Model& model, const Design& design, int cx, int cy, Layout& layout,
                   int barWidth)
{
    if (cx < 1 || cy < 1)
        return false;
    const Scale sc = ScaleFor(cx, design);
    layout.scale = sc;
    layout.width = cx;
    layout.height = cy;
    layout.contentWidth = static_cast<int>(
        std::clamp<long long>(static_cast<long long>(cx) - std::max(barWidth, 0), 0, cx));
    const int h = sc.rowHeight;
    const int hh = sc.headerHeight;
    // Rows scaled to nothing fit no place (rather than dividing by a zero row height). The
    // header is 0 .. kMaxCoord high, so the places counted all lie inside the client, and there
    // are never more of them than the client has pixel lines.
    layout.maxRowCount = h > 0 ? (cy - hh) / h : 0;
    layout.rowRects.clear();
    layout.checkRects.clear();

    const int n = model.ColumnCount();
    const int last = n - 1;
    long long sum = 0;
    for (int j = 0; j < last; ++j)
        if (const Column* c = model.GetColumn(j))
            sum += c->nWidth;
    const int x0 = ScaledWidth(sum, sc.ratio);
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
    // The top is taken from the scroll bar as it comes: the differences are worked out wide.
    if (maxRowCount > static_cast<long long>(rowCount) - top)
        return static_cast<int>(std::max(0LL, static_cast<long long>(rowCount) - maxRowCount));
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
    // Unsigned, as the rule says, but wide enough that a tall row cannot wrap the product.
    return static_cast<int>(static_cast<unsigned long long>(static_cast<unsigned>(imageHeight)) *
                            static_cast<unsigned>(rem) / static_cast<unsigned>(h));
}

} // namespace list

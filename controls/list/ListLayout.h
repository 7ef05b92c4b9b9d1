// Where things lie in the list: the scale from the design width, the row places that fit, and
// the row, cell, check-box and picture rectangles. One Layout is computed from the model, the
// design numbers and the client size whenever any of them changes, and read by painting and hit
// testing alike.
#pragma once

#include "controls/list/ListModel.h"
#include "platform/base/CRect.h"

#include <vector>

namespace list {

// No list is laid out larger than this many pixels either way. Sizes a host passes in are
// clamped to it, so that a sum of a few coordinates always stays inside int.
constexpr int kMaxCoord = 1 << 24;

// The design numbers the scale is worked out from.
struct Design
{
    long long baseWidth; // the design width of the whole list (a difference of two ints)
    int rowHeight;       // at scale 1
    int headerHeight;    // at scale 1
};

// Column widths follow the client width both ways; rows, header and font only shrink. A design
// width of 0 or less scales nothing; row and header heights below 0 count as 0.
struct Scale
{
    double ratio;
    double s;
    int rowHeight;
    int headerHeight;
};
Scale ScaleFor(int clientWidth, const Design& design);

// trunc(width × ratio + 0.5), within ±kMaxCoord.
int ScaledWidth(long long width, double ratio);
// trunc(width × ratio), within ±kMaxCoord: the header texts' boxes are truncated, not rounded.
int TruncatedWidth(long long width, double ratio);
// trunc(fontSize × s): the font only shrinks with the list. The font is no part of the layout,
// so that a new font needs no new layout.
int ScaledFontSize(int fontSize, double s);

// The check box centred in a cell of w × h: side = m − 2 × trunc(m / 4), m = min(w, h).
CRect CheckBoxIn(int cellLeft, int cellTop, int cellWidth, int cellHeight);

struct ColumnSpan
{
    int left;
    int width;
    const Column* column; // null for a missing key
};
// Painting's column edges: each width rounded by itself and the edges summed from them, so they
// may differ by a pixel from the layout's x0.
std::vector<ColumnSpan> PaintColumns(const Model& model, double ratio);

struct Layout
{
    Scale scale{};
    int width = 0;        // the client width: places and their hit rectangles span all of it
    int height = 0;       // the client height
    int contentWidth = 0; // the width painted, the scroll bar's strip left out
    int maxRowCount = 0;
    std::vector<CRect> rowRects;   // per place: hit rectangle, first and last pixel lines left out
    std::vector<CRect> checkRects; // per place: check box in the last column
    CRect headerCheck;
};
// The layout of a cx × cy client whose right `barWidth` pixels belong to a scroll bar; a size
// below 1 either way leaves `layout` as it was and answers false. Only the places that fit the
// client are laid out, however large the row height or however small the header.
bool ComputeLayout(const Model& model, const Design& design, int cx, int cy, Layout& layout,
                   int barWidth = 0);

// The top row after a size change: the last page is full whenever there are enough rows.
int CorrectTopIndex(int top, int rowCount, int maxRowCount);

// A picture of iw × ih fitted into the box keeping its aspect ratio, centred across the
// spare direction.
Gdiplus::Rect FitPicture(Gdiplus::Rect box, int iw, int ih);

// A row place cut by the client's bottom: the rows of the background image that fill the
// remaining `rem` of a row `h` high.
int CutSourceHeight(int imageHeight, int rem, int h);

} // namespace list

// Where things lie in the list: the scale from the design width, the row places that fit, and
// the row, cell, check-box and picture rectangles. One Layout is computed from the model and
// the client size at each size change and read by painting and hit testing alike.
#pragma once

#include "controls/list/ListModel.h"
#include "platform/base/CRect.h"

#include <vector>

namespace list {

// The design numbers the scale is worked out from.
struct Design
{
    int baseWidth;    // the design width of the whole list
    int rowHeight;    // at scale 1
    int headerHeight; // at scale 1
    int fontSize;     // at scale 1
};

// Column widths follow the client width both ways; rows, header and font only shrink.
struct Scale
{
    double ratio;
    double s;
    int rowHeight;
    int headerHeight;
    int fontSize;
};
Scale ScaleFor(int clientWidth, const Design& design);

// trunc(width × ratio + 0.5)
int ScaledWidth(int width, double ratio);

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
    int maxRowCount = 0;
    std::vector<CRect> rowRects;   // per place: hit rectangle, first and last pixel lines left out
    std::vector<CRect> checkRects; // per place: check box in the last column
    CRect headerCheck;
};
// The layout of a cx × cy client; a size below 1 either way leaves `layout` as it was and
// answers false.
bool ComputeLayout(const Model& model, const Design& design, int cx, int cy, Layout& layout);

// The top row after a size change: the last page is full whenever there are enough rows.
int CorrectTopIndex(int top, int rowCount, int maxRowCount);

// A picture of iw × ih fitted into the box keeping its aspect ratio, centred across the
// spare direction.
Gdiplus::Rect FitPicture(Gdiplus::Rect box, int iw, int ih);

// A row place cut by the client's bottom: the rows of the background image that fill the
// remaining `rem` of a row `h` high.
int CutSourceHeight(int imageHeight, int rem, int h);

} // namespace list

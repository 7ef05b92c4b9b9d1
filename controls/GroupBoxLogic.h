// The group box's logic, free of windows and surfaces: the bands a paint divides the control
// into, the header's place for each style and alignment, the order of icon and text in it, the
// grayscale conversion of icon pixels, and which controls lie inside the box.
#pragma once

#include "platform/base/CRect.h"
#include "platform/base/WinTypes.h"

#include <algorithm>
#include <array>
#include <climits>

namespace grp {

// The values of the control's enumerations.
enum Alignment { AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };
enum BorderStyle { BorderFlat = 0, BorderEtched = 1 };
enum ControlStyle { StyleFrame = 0, StyleHeader = 1 };

// Visual-styles values: the group box part of the button class, its normal state, and the
// text colour property; and the colour that stands for "the style's or the system's".
constexpr int BP_GROUPBOX = 4;
constexpr int GBS_NORMAL = 1;
constexpr int TMT_TEXTCOLOR = 3803;
constexpr COLORREF kUnset = 0xFFFFFFFF;

// Anything but StyleFrame is the header style; anything but BorderEtched is flat.
inline bool IsFrame(int style)
{
    return style == StyleFrame;
}
inline bool IsEtched(int border)
{
    return border == BorderEtched;
}
// As icon alignment, only AlignRight puts the icon after the text.
inline bool IconAfterText(int iconAlignment)
{
    return iconAlignment == AlignRight;
}

// Host-given sizes, margins and spacings can be anything an int holds, so the geometry below is
// worked out in 64 bits and each coordinate clamped into an int at the end.
inline int ClampToInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// A paint's bands, from the control's rectangle: the header band on top (height h =
// max(text height, icon size) + 1), the border below its middle, and the icon band centred on
// the border's top edge. Halves truncate toward zero.
struct Bands
{
    CRect header;
    CRect border;
    CRect icon;
    int headerHalf;
};
Bands Layout(const CRect& rect, CSize text, int iconSize);
// The part of the control below the header strip (2 x headerHalf high): where the parent
// shows through in the frame style.
CRect BelowHeaderStrip(const CRect& rect, int headerHalf);

struct HeaderParams
{
    int style;
    int alignment;
    int textWidth;
    int iconSize; // 0: no icon
    int iconSpacing;
    int marginX;
    int marginY;
};
// The header background: the band moved down by marginY, as wide as its content plus 6 (the
// header style at the sides: plus 3), placed per style and alignment:
//
// | style  | alignment | width | left edge                 |
// |--------|-----------|-------|---------------------------|
// | frame  | left      | w + 6 | L + marginX               |
// | frame  | centre    | w + 6 | L + (R - L - width) / 2   |
// | frame  | other     | w + 6 | R - marginX - width       |
// | header | left      | w + 3 | L                         |
// | header | centre    | w + 6 | L + (R - L - width) / 2   |
// | header | other     | w + 3 | R - width                 |
//
// w = text width + icon size, plus the spacing when there are both.
CRect HeaderRect(const CRect& band, const HeaderParams& p);

// Where the icon and the text start inside the header, from its left edge: the first of the
// two is indented by 3 (none for the header style aligned left); the second follows the first
// and the spacing (the spacing only when the first is there: text width non-zero, or an icon,
// even one drawn at size 0).
struct Placement
{
    int iconLeft;
    int textLeft;
};
Placement PlaceItems(int headerLeft, int style, int alignment, bool iconAfter, int textWidth,
                     bool hasIcon, int iconSize, int iconSpacing);

// Entry i is the gray (255 - i) of every channel: entry 0 white, entry 255 black.
using Palette = std::array<COLORREF, 256>;
void FillGrayPalette(Palette& palette);
// One icon pixel, bytes blue, green, red, alpha in the low to high byte: the average of the
// three colours picks a palette entry (index 255 - average, 1 in place of 0), alpha is kept; a
// fully transparent pixel whose index would be 255 (black) stays as it is.
DWORD GrayPixel(DWORD bgra, const Palette& palette);

// A child lies inside the box when its rectangle is wholly within the box's.
inline bool Inside(const CRect& child, const CRect& box)
{
    return child.left >= box.left && child.top >= box.top && child.right <= box.right &&
           child.bottom <= box.bottom;
}

} // namespace grp

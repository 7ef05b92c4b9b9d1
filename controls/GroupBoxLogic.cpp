#include "controls/GroupBoxLogic.h"

#include <algorithm>

namespace grp {

Bands Layout(const CRect& rect, CSize text, int iconSize)
{
    const int h = std::max<int>(text.cy, iconSize) + 1;
    Bands b;
    b.header = rect;
    b.header.bottom = rect.top + h;
    b.border = rect;
    b.border.top = rect.top + h / 2;
    b.icon = rect;
    b.icon.top = b.border.top - iconSize / 2;
    b.icon.bottom = b.icon.top + iconSize;
    b.headerHalf = h / 2;
    return b;
}

CRect HeaderRect(const CRect& band, const HeaderParams& p)
{
    CRect r = band;
    r.OffsetRect(0, p.marginY);
    int w = p.textWidth + p.iconSize;
    if (p.textWidth != 0 && p.iconSize > 0)
        w += p.iconSpacing;
    const int L = band.left, R = band.right;
    int width = w + 6, left;
    if (IsFrame(p.style)) {
        if (p.alignment == AlignLeft)
            left = L + p.marginX;
        else if (p.alignment == AlignCenter)
            left = L + (R - L - width) / 2;
        else
            left = R - p.marginX - width;
    } else {
        if (p.alignment == AlignCenter) {
            left = L + (R - L - width) / 2;
        } else {
            width = w + 3;
            left = p.alignment == AlignLeft ? L : R - width;
        }
    }
    r.left = left;
    r.right = left + width;
    return r;
}

Placement PlaceItems(int headerLeft, int style, int alignment, bool iconAfter, int textWidth,
                     bool hasIcon, int iconSize, int iconSpacing)
{
    const int indent = (!IsFrame(style) && alignment == AlignLeft) ? 0 : 3;
    const int first = headerLeft + indent;
    Placement p{};
    if (iconAfter) {
        p.textLeft = first;
        p.iconLeft = first + textWidth + (textWidth != 0 ? iconSpacing : 0);
    } else {
        p.iconLeft = first;
        p.textLeft = first + (hasIcon ? iconSize + iconSpacing : 0);
    }
    return p;
}

void FillGrayPalette(Palette& palette)
{
    for (int i = 0; i < 256; ++i)
        palette[static_cast<size_t>(i)] = static_cast<COLORREF>(255 - i) * 0x010101u;
}

DWORD GrayPixel(DWORD bgra, const Palette& palette)
{
    const int blue = static_cast<int>(bgra & 0xFF), green = static_cast<int>((bgra >> 8) & 0xFF),
              red = static_cast<int>((bgra >> 16) & 0xFF);
    const DWORD alpha = bgra >> 24;
    const int avg = (blue + green + red) / 3;
    int index = 255 - avg;
    if (index == 0)
        index = 1;
    if (alpha == 0 && index == 255)
        return bgra;
    return (alpha << 24) | palette[static_cast<size_t>(index)];
}

} // namespace grp

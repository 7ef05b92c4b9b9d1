#include "controls/GroupBoxLogic.h"

#include <algorithm>

namespace grp {

Bands Layout(const CRect& rect, CSize text, int iconSize)
{
    const long long h = std::max<long long>(text.cy, iconSize) + 1;
    Bands b;
    b.header = rect;
    b.header.bottom = ClampToInt(rect.top + h);
    b.border = rect;
    b.border.top = ClampToInt(rect.top + h / 2);
    b.icon = rect;
    b.icon.top = ClampToInt(static_cast<long long>(b.border.top) - iconSize / 2);
    b.icon.bottom = ClampToInt(static_cast<long long>(b.icon.top) + iconSize);
    b.headerHalf = ClampToInt(h / 2);
    return b;
}

CRect BelowHeaderStrip(const CRect& rect, int headerHalf)
{
    CRect below = rect;
    below.top = ClampToInt(rect.top + 2LL * headerHalf);
    return below;
}

CRect HeaderRect(const CRect& band, const HeaderParams& p)
{
    CRect r = band;
    r.top = ClampToInt(static_cast<long long>(band.top) + p.marginY);
    r.bottom = ClampToInt(static_cast<long long>(band.bottom) + p.marginY);
    long long w = static_cast<long long>(p.textWidth) + p.iconSize;
    if (p.textWidth != 0 && p.iconSize > 0)
        w += p.iconSpacing;
    const long long L = band.left, R = band.right;
    long long width = w + 6, left;
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
    r.left = ClampToInt(left);
    r.right = ClampToInt(left + width);
    return r;
}

Placement PlaceItems(int headerLeft, int style, int alignment, bool iconAfter, int textWidth,
                     bool hasIcon, int iconSize, int iconSpacing)
{
    const int indent = (!IsFrame(style) && alignment == AlignLeft) ? 0 : 3;
    const long long first = static_cast<long long>(headerLeft) + indent;
    Placement p{};
    if (iconAfter) {
        p.textLeft = ClampToInt(first);
        p.iconLeft = ClampToInt(first + textWidth + (textWidth != 0 ? iconSpacing : 0));
    } else {
        p.iconLeft = ClampToInt(first);
        p.textLeft =
            ClampToInt(first + (hasIcon ? static_cast<long long>(iconSize) + iconSpacing : 0));
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

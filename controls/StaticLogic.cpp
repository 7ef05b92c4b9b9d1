#include "controls/StaticLogic.h"

#include "controls/WideMath.h"

#include <algorithm>

namespace stc {

int AlignmentBits(DWORD style)
{
    return static_cast<int>(style & 0x3);
}

TextPlan LabelText(int alignmentBits, bool alignSet, Gdiplus::StringAlignment horizontal,
                   Gdiplus::StringAlignment vertical)
{
    if (alignSet)
        return {horizontal, vertical, true};
    TextPlan p{Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear, true};
    switch (alignmentBits) {
    case 0:
        break;
    case 1:
        p.horizontal = Gdiplus::StringAlignmentCenter;
        break;
    case 2:
        p.horizontal = Gdiplus::StringAlignmentFar;
        break;
    default:
        p.showText = false;
        break;
    }
    return p;
}

int IconTop(int controlHeight, int iconHeight)
{
    return (controlHeight - iconHeight) / 2;
}

int TextLeft(bool hasIcon, int iconWidth)
{
    return hasIcon ? wide::Saturate(static_cast<int64_t>(iconWidth) + 5) : 0;
}

Gdiplus::Rect TextBox(int width, int height, int left)
{
    return wide::CutRect(left, 0, static_cast<int64_t>(width) - left, height);
}

Gdiplus::Rect DigitCell(int width, int height, int count, int i)
{
    if (count <= 0)
        return Gdiplus::Rect();
    return Gdiplus::Rect(static_cast<int>(static_cast<long long>(width) * i / count), 0,
                         width / count, height);
}

int CellsToDraw(int width, int count, int textLength)
{
    if (count <= 0 || width / count == 0)
        return 0;
    return std::min(count, textLength);
}

int DigitAt(const CString& text, int i)
{
    if (i < 0 || i >= text.GetLength())
        return -1;
    const wchar_t c = text[i];
    return (c >= L'0' && c <= L'9') ? c - L'0' : -1;
}

} // namespace stc

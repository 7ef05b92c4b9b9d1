// The logic of the owner-drawn statics (image, label, digit display), free of windows and
// surfaces: the style they take when subclassed, the label's text alignment, the icon's place,
// the digit cells and which digit a cell shows.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/gdiplus/Gdiplus.h"

namespace stc {

// The alignment bits of a static's style (SS_LEFT 0, SS_CENTER 1, SS_RIGHT 2, 3), as a label
// remembers them when it is subclassed.
int AlignmentBits(DWORD style);

struct TextPlan
{
    Gdiplus::StringAlignment horizontal;
    Gdiplus::StringAlignment vertical;
    bool showText;
};
// The label's text placement. Once SetTextAlign was called its two alignments hold; before,
// the text sits at the top and the remembered style bits give the horizontal alignment:
//
// | bits | horizontal | text  |
// |------|------------|-------|
// | 0    | near       | shown |
// | 1    | centre     | shown |
// | 2    | far        | shown |
// | 3    | -          | none  |
TextPlan LabelText(int alignmentBits, bool alignSet, Gdiplus::StringAlignment horizontal,
                   Gdiplus::StringAlignment vertical);

// The label's icon sits at x = 0, centred vertically (negative when taller than the control);
// the text box starts 5 pixels right of it, or at 0 without an icon.
int IconTop(int controlHeight, int iconHeight);
int TextLeft(bool hasIcon, int iconWidth);
// The text box of a width x height control whose text starts `left` pixels in (an offset the
// host gives, or the label's icon): (left, 0, width - left, height), edges cut as
// wide::CutRect does.
Gdiplus::Rect TextBox(int width, int height, int left);

// The label's and the digit display's backgrounds: both origins negative take the whole
// picture.
inline bool WholeBackground(int x, int y)
{
    return x < 0 && y < 0;
}

// --- digit display ---

constexpr int kDigitPictures = 10;
// Cell `i` of `count` equal cells across a width x height control: (W x i / n, 0, W / n, H),
// whole-number divisions, so a width that does not divide leaves the last columns free.
Gdiplus::Rect DigitCell(int width, int height, int count, int i);
// How many of the first `count` cells can show a digit of a text `textLength` long: none when
// the cells are narrower than a pixel, else no more than the text has characters (the cells
// after the text stay empty). Painting loops this often, whatever count the host gave.
int CellsToDraw(int width, int count, int textLength);
// The digit the text's character `i` stands for, or -1 when the text is shorter or the
// character is not '0' to '9' (the cell is then left empty).
int DigitAt(const CString& text, int i);

} // namespace stc

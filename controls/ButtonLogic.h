// The skinned button's logic, free of windows and surfaces: the style classification, the
// six visual states, frame slicing and the text and glyph geometry.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdiplus/Gdiplus.h"

#include <array>

namespace btn {

enum State { Normal = 0, Hover = 1, Disabled = 2, Down = 3, DownHover = 4, DownDisabled = 5 };
constexpr int kStateCount = 6;

struct Flags
{
    bool down;
    bool disabled;
    bool hover;
};

// | disabled | down | hover | state        |
// |----------|------|-------|--------------|
// | no       | no   | no    | Normal       |
// | no       | no   | yes   | Hover        |
// | no       | yes  | no    | Down         |
// | no       | yes  | yes   | DownHover    |
// | yes      | no   | any   | Disabled     |
// | yes      | yes  | any   | DownDisabled |
State ChooseState(Flags f);

// Down at paint time: pressed, or for a check-type button also checked.
bool IsDown(bool checkType, bool selected, int check);

struct Kind
{
    bool checkType;
    bool pushLike;
};
// Check-type when (style & 0x2) or (style & 0x9) == 0x9; push-like with BS_PUSHLIKE.
Kind Classify(DWORD style);
// Drawn as a check box (glyph and text) rather than as a push button.
inline bool DrawnAsCheckBox(Kind k)
{
    return k.checkType && !k.pushLike;
}
// The style with the type bits made owner-drawn.
DWORD OwnerDrawStyle(DWORD style);

// Frame of a strip of `frameCount` frames shown in `state`. Counts 2, 4 and 6 follow the skin
// convention; 1 shows its one frame everywhere, 3 is normal/hover/pressed, 5 is the six-frame
// order with the disabled frame standing in for down-and-disabled, more than 6 uses the first
// six. Counts below 1 are treated as 1.
int FrameForState(int frameCount, int state);
// Source rectangle of a frame: frames lie side by side, each strip width / count wide.
Gdiplus::Rect FrameRect(int stripWidth, int stripHeight, int frameCount, int frame);

// The states that a whole image given for `state` in a group of `imageCount` images serves,
// as a bit mask (bit s for state s); 0 when the count is neither 2 nor 3.
unsigned StatesForImage(int imageCount, int state);

// Background source rectangle of a push-drawn button of size w x h.
struct Background
{
    RECT rect; // m_rcBg
    int x, y;  // m_nBgX, m_nBgY
    bool stretch;
    int imageWidth;
};
Gdiplus::Rect BackgroundSource(const Background& bg, int w, int h);

struct TextAlign
{
    Gdiplus::StringAlignment horizontal;
    Gdiplus::StringAlignment vertical;
};
TextAlign AlignmentFromStyle(DWORD style, bool checkBoxDrawn);

// Check-box geometry: the glyph's top (centred, negative when taller than the control) and the
// glyph width with its 3-pixel gap, 0 without a glyph strip.
int GlyphTop(int controlHeight, int stripHeight);
int GlyphWidth(int stripWidth, int frameCount);

} // namespace btn

// The skinned button's logic, free of windows and surfaces: the style classification, the
// six visual states, frame slicing and the text and glyph geometry.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdiplus/Gdiplus.h"

#include <array>
#include <optional>

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

// The flags a button shows with the window system's item flags (ODS_SELECTED for pressed,
// ODS_DISABLED), its check and the mouse: the same for a paint request's flags as for those
// the button has between paints.
Flags FlagsFor(unsigned itemState, bool checkType, int check, bool hover);

struct Kind
{
    bool checkType;
    bool pushLike;
};
// Check-type when the type bits hold the check box's bit or all of the auto radio button's
// bits: check box, auto check box, auto three-state and auto radio, not radio or three-state.
// Push-like when BS_PUSHLIKE is set as well.
Kind Classify(DWORD style);
// Drawn as a check box (glyph and text) rather than as a push button.
inline bool DrawnAsCheckBox(Kind k)
{
    return k.checkType && !k.pushLike;
}

// m_nButtonType: frames are nine-sliced with the margin; any other type stretches them.
constexpr int kNineSliced = 2;

// Frame of a strip of `frameCount` frames shown in `state`:
//
// | count | Normal | Hover | Disabled | Down | DownHover | DownDisabled |
// |-------|--------|-------|----------|------|-----------|--------------|
// | 2     | 0      | 0     | 0        | 1    | 1         | 1            |
// | 4     | 0      | 1     | 2        | 3    | 3         | 2            |
// | 6     | 0      | 1     | 2        | 3    | 4         | 5            |
//
// Counts 2, 4 and 6 follow the skin convention; 1 shows its one frame everywhere, 3 is
// normal/hover/pressed, 5 is the six-frame order with the disabled frame standing in for
// down-and-disabled, more than 6 uses the first six. Counts below 1 are treated as 1.
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

// --- geometry ---

// Pixels between a check box's glyph and its text.
constexpr int kGlyphGap = 3;

// Check-box geometry: the glyph's top (centred, negative when taller than the control) and the
// glyph width with its gap.
int GlyphTop(int controlHeight, int stripHeight);
int GlyphWidth(int stripWidth, int frameCount);

// A strip of `frames` frames side by side, `width` x `height` in all.
struct Strip
{
    int width, height, frames;
};

// What places a button's glyph and text in its width x height picture.
struct Geometry
{
    Kind kind;
    int width, height;
    int textOffset, vTextOffset; // m_nTextOffset, m_nVTextOffset
    // The whole-strip image (m_pImage); none when the images were given per state.
    std::optional<Strip> glyphs;
    // The state's source frame: a check box's glyph is drawn at this size.
    Gdiplus::Size frame;
};

struct Layout
{
    // Where the glyph frame goes: at the left, centred vertically on the strip's height. Empty
    // for a push-drawn button and for a check box without a glyph strip.
    Gdiplus::Rect glyph;
    // The text box: the window less the offsets, and for a check box less the glyph and its gap.
    Gdiplus::Rect text;
};
Layout LayOut(const Geometry& g);

} // namespace btn

// The sliders' arithmetic, free of windows and surfaces: the position under the mouse, the
// thumb's place for a position, and where each picture goes for the two paintings.
#pragma once

#include "platform/gdiplus/Gdiplus.h"

namespace slider {

// Slots of the sliders' four pictures.
enum Picture { PlayedBar = 0, RemainingBar = 1, Thumb = 2, Background = 3 };
constexpr int kPictureCount = 4;

struct Range
{
    int min;
    int max;
};

// A value kept inside the range: below min gives min, above max gives max.
int Clamp(Range r, int value);

// The position under the mouse at client x on a window `windowWidth` wide with a thumb
// `thumbWidth` wide: the share of the range that the thumb's left edge has covered of the
// track, rounded half up, taken in unsigned 32-bit arithmetic, then clamped (signed).
//
// | x (range 0..100, W 210, thumb 10) | offset        | position        |
// |-----------------------------------|---------------|-----------------|
// | 105                               | 100           | 50              |
// | 3                                 | 0 (from -2)   | 0               |
// | 300                               | 295           | 148, clamped 100 |
//
// A window no wider than the thumb has no track: every press answers min.
int PosFromMouse(Range r, int x, int windowWidth, int thumbWidth);

// The thumb's left edge for `pos`: (W - thumb) x (pos - min) / (max - min), truncated toward
// zero, formed in 64 bits and clamped to int. A position outside the range (the range changed
// after it was set) lands outside the track. An empty range (max == min) puts the thumb at 0.
// The layouts below cut every edge at wide::kFar, so a thumb far outside keeps the bars
// reaching across the window from its side.
int ThumbLeft(Range r, int pos, int windowWidth, int thumbWidth);

// What a key asks of a slider: a step, a page (a tenth of the range, at least 1) either way,
// or an end.
enum class Key { StepDown, StepUp, PageDown, PageUp, Home, End };

// The position a key moves to from `pos`, inside the range, formed in 64 bits.
//
// | range 0..100, pos 50 | StepDown 49 | StepUp 51 | PageDown 40 | PageUp 60 | Home 0 | End 100 |
// | range 0..5, pos 5    | 4           | 5         | 4 (page 1)  | 5         | 0      | 5       |
int PosForKey(Range r, int pos, Key key);

struct Size
{
    int w;
    int h;
};

// Where the plain slider draws its pictures: each bar at its own height, centred, with fixed
// insets of 5 pixels; the remaining bar drawn once more as the right end cap; the thumb at its
// own size or, in a control lower than it, shrunk to the control's height.
struct PlainLayout
{
    int thumbX;
    Gdiplus::Rect played;
    Gdiplus::Rect remaining;
    Gdiplus::Rect rightEnd;
    Gdiplus::Rect thumb;
};
PlainLayout LayoutPlain(Range r, int pos, Size window, Size played, Size remaining, Size thumb);

// Where the extended slider draws its pictures: the thumb scaled to the control's height, the
// bars scaled by the same factor and centred, the played bar ending and the remaining bar
// starting at the thumb's centre.
struct ExLayout
{
    Gdiplus::Rect thumbRect; // the thumb at its drawn size, at (0, 0)
    int thumbX;
    int centre; // xc
    Gdiplus::Rect played;
    Gdiplus::Rect remaining;
    Gdiplus::Rect thumb;
};
// A thumb picture without height cannot be scaled: answers false and leaves `out` alone.
bool LayoutEx(Range r, int pos, Size window, Size played, Size remaining, Size thumb,
              ExLayout* out);

// Tile `i` of a bar `tileWidth` wide tiled from x = 0 up to `end`: at i x tileWidth, and
// min(tileWidth, end - i x tileWidth) wide. TileCount answers how many tiles reach `end` (0 for
// end <= 0 or a picture without width).
int TileCount(int end, int tileWidth);
int TileWidth(int end, int tileWidth, int i);

} // namespace slider

// The scroll bar's arithmetic, free of windows and surfaces: where the track lies, how tall the
// thumb is and where it stands, the thumb's tiles, and what a drag or a click on the track makes
// of the position. All values are whole pixels of the bar's client area.
#pragma once

#include "platform/base/CRect.h"

#include <vector>

namespace vscroll {

constexpr int kMinThumb = 40;

// The two arrow heights count only when both arrow images are given; otherwise the track
// covers the whole bar.
struct Arrows
{
    bool bothImages;
    int top;    // height of the top arrow image
    int bottom; // height of the bottom arrow image
};

struct Track
{
    int top;
    int length;
};
Track TrackOf(int barHeight, Arrows arrows);

// Items beyond the first page, within the int range; the bar scrolls when it is above 0.
int Range(int itemCount, int pageRows);

// The thumb height for a track of `trackLength`: the track divided by the number of pages
// (rounded up), at least kMinThumb. A page of fewer than one row is treated as empty: the
// thumb is then as long as the track.
int ThumbHeight(int trackLength, int itemCount, int pageRows);

// The arrows are enabled only when there is more than a page of items.
bool ArrowsEnabled(int itemCount, int pageRows);

// Whether a thumb is drawn at all: something to scroll and a page of at least one row.
bool HasThumb(int itemCount, int pageRows);

// The thumb's top, and its hit rectangle (1 .. W − 1 across, thumbHeight − 2 down), for the
// position `pos` of `range`; range must be above 0. A position outside 0 .. range stands at
// the nearer end.
int ThumbTop(Track track, int thumbHeight, int pos, int range);
CRect ThumbRect(int barWidth, int thumbTop, int thumbHeight);

// Tiles of a tiled thumb: each `tileHeight` high, the last one cut to what is left of
// thumbHeight − 2. A tile height below 1 gives no tiles.
struct Tile
{
    int y;
    int height;
};
std::vector<Tile> ThumbTiles(int thumbTop, int thumbHeight, int tileHeight);

// Presses and releases on the track act only when at least one whole page of items exists.
bool TrackActive(int itemCount, int pageRows);

// The position a drag gives for the pointer at `pointY` (counted from the top of the bar,
// arrows included, so the thumb's middle follows the pointer).
int DragPosition(int pointY, int thumbHeight, int barHeight, Arrows arrows, int range);

// | release point                     | position                       |
// |-----------------------------------|--------------------------------|
// | above the thumb (y < top)         | max(pos − page, 0)             |
// | within top .. bottom (inclusive)  | unchanged                      |
// | below the thumb (y > bottom)      | min(pos + page, range)         |
int PagePosition(int pointY, const CRect& thumb, int pos, int pageRows, int range);

// What a key asks of the bar; each stands for a mouse action: an arrow button, a click in the
// track above or below the thumb, or the thumb dragged to an end.
enum class Key { LineUp, LineDown, PageUp, PageDown, Top, Bottom };

// The position a key moves to from `pos`, acting only where its mouse action would; R is
// Range(itemCount, pageRows). Arithmetic is wide: the position is whatever the owner set.
//
// | key      | acts when                                  | position              |
// |----------|--------------------------------------------|-----------------------|
// | LineUp   | the arrows are enabled and pos >= 1        | pos − 1               |
// | LineDown | the arrows are enabled and pos < R         | pos + 1               |
// | PageUp   | the track is active (TrackActive)          | max(pos − page, 0)    |
// | PageDown | the track is active                        | min(pos + page, R)    |
// | Top      | a thumb stands (HasThumb)                  | 0                     |
// | Bottom   | a thumb stands                             | R                     |
// Otherwise the position stays.
int PosForKey(Key key, int pos, int itemCount, int pageRows);

} // namespace vscroll

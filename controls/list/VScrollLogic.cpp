#include "controls/list/VScrollLogic.h"

#include <algorithm>
#include <climits>

namespace vscroll {

Track TrackOf(int barHeight, Arrows arrows)
{
    if (!arrows.bothImages)
        return {0, barHeight};
    return {arrows.top, barHeight - arrows.top - arrows.bottom};
}

int Range(int itemCount, int pageRows)
{
    // Both counts come from the owner as they are: the difference is worked out wide.
    const long long range = static_cast<long long>(itemCount) - pageRows;
    return static_cast<int>(std::clamp<long long>(range, INT_MIN, INT_MAX));
}

int ThumbHeight(int trackLength, int itemCount, int pageRows)
{
    int t = trackLength;
    if (pageRows >= 1 && itemCount > pageRows) {
        const int pages = (itemCount - 1) / pageRows + 1;
        t = t / pages;
    }
    return std::max(t, kMinThumb);
}

bool ArrowsEnabled(int itemCount, int pageRows)
{
    return itemCount > pageRows;
}

bool HasThumb(int itemCount, int pageRows)
{
    return pageRows >= 1 && Range(itemCount, pageRows) > 0;
}

int ThumbTop(Track track, int thumbHeight, int pos, int range)
{
    if (range <= 0)
        return track.top + 1;
    // The position is not clamped by its setter: one outside 0 .. range shows the thumb at that
    // end of the track rather than outside it.
    const long long p = std::clamp(pos, 0, range);
    const long long travel = (static_cast<long long>(track.length) - thumbHeight) * p / range;
    return static_cast<int>(
        std::clamp<long long>(track.top + 1LL + travel, INT_MIN / 2, INT_MAX / 2));
}

CRect ThumbRect(int barWidth, int thumbTop, int thumbHeight)
{
    return CRect(1, thumbTop, barWidth - 1, thumbTop + thumbHeight - 2);
}

std::vector<Tile> ThumbTiles(int thumbTop, int thumbHeight, int tileHeight)
{
    std::vector<Tile> tiles;
    if (tileHeight < 1)
        return tiles;
    const int inner = thumbHeight - 2;
    for (int i = 0; inner - i * tileHeight >= 1; ++i)
        tiles.push_back({thumbTop + i * tileHeight, std::min(tileHeight, inner - i * tileHeight)});
    return tiles;
}

bool TrackActive(int itemCount, int pageRows)
{
    return pageRows >= 1 && itemCount / pageRows != 0;
}

int DragPosition(int pointY, int thumbHeight, int barHeight, Arrows arrows, int range)
{
    const long long y = static_cast<long long>(pointY) - thumbHeight / 2;
    const int arrowsHeight = arrows.bothImages ? arrows.top + arrows.bottom : 0;
    const long long span = static_cast<long long>(barHeight) - thumbHeight - arrowsHeight;
    if (y < 0)
        return 0;
    if (y >= span)
        return std::max(range, 0);
    return static_cast<int>(static_cast<long long>(range) * y / span);
}

int PagePosition(int pointY, const CRect& thumb, int pos, int pageRows, int range)
{
    // The position is whatever the owner set, unclamped: page in a wider type.
    if (pointY < thumb.top)
        return static_cast<int>(std::max(static_cast<long long>(pos) - pageRows, 0LL));
    if (pointY > thumb.bottom)
        return static_cast<int>(
            std::min(static_cast<long long>(pos) + pageRows, static_cast<long long>(range)));
    return pos;
}

int PosForKey(Key key, int pos, int itemCount, int pageRows)
{
    const int range = Range(itemCount, pageRows);
    switch (key) {
    case Key::LineUp:
        return ArrowsEnabled(itemCount, pageRows) && pos >= 1 ? pos - 1 : pos;
    case Key::LineDown:
        return ArrowsEnabled(itemCount, pageRows) && pos < range ? pos + 1 : pos;
    case Key::PageUp:
    case Key::PageDown: {
        if (!TrackActive(itemCount, pageRows))
            return pos;
        // A click just above (below) the thumb: the same rule the mouse pages by.
        const CRect thumb(0, 1, 0, 1);
        return PagePosition(key == Key::PageUp ? 0 : 2, thumb, pos, pageRows, range);
    }
    case Key::Top:
        return HasThumb(itemCount, pageRows) ? 0 : pos;
    case Key::Bottom:
        return HasThumb(itemCount, pageRows) ? range : pos;
    }
    return pos;
}

} // namespace vscroll

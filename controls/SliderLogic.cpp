#include "controls/SliderLogic.h"

#include <algorithm>
#include <cstdint>

namespace slider {

int Clamp(Range r, int value)
{
    if (value < r.min)
        return r.min;
    if (value > r.max)
        return r.max;
    return value;
}

int PosFromMouse(Range r, int x, int windowWidth, int thumbWidth)
{
    const int offset = std::max(x - thumbWidth / 2, 0);
    const int span = windowWidth - thumbWidth;
    if (span <= 0)
        return r.min;
    // Unsigned throughout, as the track's callers size their ranges for: the product of range
    // and offset must stay below 2^32.
    const uint32_t range = static_cast<uint32_t>(r.max) - static_cast<uint32_t>(r.min);
    const uint32_t share =
        (range * static_cast<uint32_t>(offset) * 2u / static_cast<uint32_t>(span) + 1u) / 2u;
    const int pos = static_cast<int>(static_cast<uint32_t>(r.min) + share);
    return Clamp(r, pos);
}

int ThumbLeft(Range r, int pos, int windowWidth, int thumbWidth)
{
    const int64_t range = static_cast<int64_t>(r.max) - r.min;
    if (range == 0)
        return 0;
    const int64_t track = static_cast<int64_t>(windowWidth) - thumbWidth;
    return static_cast<int>(track * (static_cast<int64_t>(pos) - r.min) / range);
}

PlainLayout LayoutPlain(Range r, int pos, Size window, Size played, Size remaining, Size thumb)
{
    const int W = window.w, H = window.h;
    PlainLayout l{};
    l.thumbX = ThumbLeft(r, pos, W, thumb.w);
    l.played = Gdiplus::Rect(5, (H - played.h) / 2, thumb.w / 2 + l.thumbX, played.h);
    l.remaining = Gdiplus::Rect(l.thumbX + 5, (H - remaining.h) / 2, std::max(W - l.thumbX - 10, 0),
                                remaining.h);
    l.rightEnd =
        Gdiplus::Rect(W - thumb.w / 2 - 5, (H - remaining.h) / 2, thumb.w / 2, remaining.h);
    if (H >= thumb.h)
        l.thumb = Gdiplus::Rect(l.thumbX, (H - thumb.h) / 2, thumb.w, thumb.h);
    else
        l.thumb = Gdiplus::Rect(
            l.thumbX, 0,
            static_cast<int>(static_cast<uint32_t>(H) * static_cast<uint32_t>(thumb.w) /
                             static_cast<uint32_t>(thumb.h)),
            H);
    return l;
}

bool LayoutEx(Range r, int pos, Size window, Size played, Size remaining, Size thumb, ExLayout* out)
{
    if (thumb.h <= 0)
        return false;
    const int W = window.w, H = window.h;
    const double k = static_cast<double>(H) / thumb.h;
    ExLayout l{};
    const int tw = static_cast<int>(static_cast<uint32_t>(H) * static_cast<uint32_t>(thumb.w) /
                                    static_cast<uint32_t>(thumb.h));
    l.thumbRect = Gdiplus::Rect(0, 0, tw, H);
    l.thumbX = ThumbLeft(r, pos, W, tw);
    l.centre = tw / 2 + l.thumbX;
    const int h0 = static_cast<int>(played.h * k);
    l.played = Gdiplus::Rect(0, (H - h0) / 2, l.centre, h0);
    const int h1 = static_cast<int>(remaining.h * k);
    l.remaining = Gdiplus::Rect(l.centre, (H - h1) / 2, W - l.centre, h1);
    l.thumb = Gdiplus::Rect(l.thumbX, 0, tw, H);
    *out = l;
    return true;
}

int TileCount(int end, int tileWidth)
{
    if (end <= 0 || tileWidth <= 0)
        return 0;
    return static_cast<int>((static_cast<int64_t>(end) + tileWidth - 1) / tileWidth);
}

int TileWidth(int end, int tileWidth, int i)
{
    return std::min(tileWidth, end - i * tileWidth);
}

} // namespace slider

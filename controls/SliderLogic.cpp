#include "controls/SliderLogic.h"

#include "controls/WideMath.h"

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
    const int64_t offset = std::max<int64_t>(static_cast<int64_t>(x) - thumbWidth / 2, 0);
    const int64_t span = static_cast<int64_t>(windowWidth) - thumbWidth;
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
    // The track is clamped to int so that the product stays inside 64 bits; a track wider
    // than that only comes from a thumb width that wrapped, and no screen shows the difference.
    const int64_t track = wide::Saturate(static_cast<int64_t>(windowWidth) - thumbWidth);
    return wide::Saturate(track * (static_cast<int64_t>(pos) - r.min) / range);
}

namespace {

// (H - h) / 2, the signed centring of a picture h high in a window H high.
int64_t Centred(int H, int h)
{
    return (static_cast<int64_t>(H) - h) / 2;
}

// H x w / h in unsigned 32 bits: a picture w x h scaled to height H.
int ScaledWidth(int H, int w, int h)
{
    return static_cast<int>(static_cast<uint32_t>(H) * static_cast<uint32_t>(w) /
                            static_cast<uint32_t>(h));
}

} // namespace

PlainLayout LayoutPlain(Range r, int pos, Size window, Size played, Size remaining, Size thumb)
{
    const int64_t W = window.w, H = window.h;
    PlainLayout l{};
    l.thumbX = ThumbLeft(r, pos, window.w, thumb.w);
    const int64_t x = l.thumbX, half = thumb.w / 2;
    l.played = wide::CutRect(5, Centred(window.h, played.h), half + x, played.h);
    l.remaining = wide::CutRect(x + 5, Centred(window.h, remaining.h),
                                std::max<int64_t>(W - x - 10, 0), remaining.h);
    l.rightEnd = wide::CutRect(W - half - 5, Centred(window.h, remaining.h), half, remaining.h);
    if (H >= thumb.h)
        l.thumb = wide::CutRect(x, Centred(window.h, thumb.h), thumb.w, thumb.h);
    else
        l.thumb = wide::CutRect(x, 0, ScaledWidth(window.h, thumb.w, thumb.h), H);
    return l;
}

bool LayoutEx(Range r, int pos, Size window, Size played, Size remaining, Size thumb, ExLayout* out)
{
    if (thumb.h <= 0)
        return false;
    const int64_t W = window.w, H = window.h;
    const double k = static_cast<double>(H) / thumb.h;
    ExLayout l{};
    const int tw = ScaledWidth(window.h, thumb.w, thumb.h);
    l.thumbRect = Gdiplus::Rect(0, 0, tw, window.h);
    l.thumbX = ThumbLeft(r, pos, window.w, tw);
    l.centre = wide::Saturate(static_cast<int64_t>(tw / 2) + l.thumbX);
    const int h0 = wide::Truncate(played.h * k);
    l.played = wide::CutRect(0, (H - h0) / 2, l.centre, h0);
    const int h1 = wide::Truncate(remaining.h * k);
    l.remaining = wide::CutRect(l.centre, (H - h1) / 2, W - l.centre, h1);
    l.thumb = wide::CutRect(l.thumbX, 0, tw, H);
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
    return wide::Saturate(std::min<int64_t>(tileWidth, static_cast<int64_t>(end) -
                                                           static_cast<int64_t>(i) * tileWidth));
}

int PosForKey(Range r, int pos, Key key)
{
    const std::int64_t span = static_cast<std::int64_t>(r.max) - r.min;
    const std::int64_t page = std::max<std::int64_t>(1, span / 10);
    std::int64_t next = pos;
    switch (key) {
    case Key::StepDown:
        next = static_cast<std::int64_t>(pos) - 1;
        break;
    case Key::StepUp:
        next = static_cast<std::int64_t>(pos) + 1;
        break;
    case Key::PageDown:
        next = static_cast<std::int64_t>(pos) - page;
        break;
    case Key::PageUp:
        next = static_cast<std::int64_t>(pos) + page;
        break;
    case Key::Home:
        return Clamp(r, r.min);
    case Key::End:
        return Clamp(r, r.max);
    }
    next = std::clamp<std::int64_t>(next, INT32_MIN, INT32_MAX);
    return Clamp(r, static_cast<int>(next));
}

} // namespace slider

// Arithmetic on values a host passes in (sizes, offsets, counts, positions): sums and products
// are formed in 64 bits and brought back into int by saturation, so that INT_MIN or INT_MAX
// given for a field gives a far-away rectangle rather than an overflow.
#pragma once

#include "platform/gdiplus/Gdiplus.h"

#include <cstdint>
#include <limits>

namespace wide {

// `v` clamped to int's range.
constexpr int Saturate(int64_t v)
{
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

// `v` truncated toward zero and clamped to int's range (NaN gives 0).
constexpr int Truncate(double v)
{
    if (!(v == v))
        return 0;
    if (v <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (v >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

// How far from the origin an edge of a rectangle to draw is kept. Values a host gives (an
// offset, a position left outside a changed range) can put edges beyond int, and the painter's
// fixed-point coordinates hold no more than 2^23 either way: text placed beyond lands anywhere,
// a picture stretched over about 10^9 pixels is not drawn. An edge cut at 2^22 is still far
// outside any window, so a rectangle keeps the side it comes from and what it covers on screen.
constexpr int64_t kFar = int64_t{1} << 22;

constexpr int64_t Cut(int64_t edge)
{
    return edge < -kFar ? -kFar : edge > kFar ? kFar : edge;
}

// The rectangle (x, y, w, h), given in 64 bits, with each edge cut; a negative size stays
// negative, an empty one empty.
inline Gdiplus::Rect CutRect(int64_t x, int64_t y, int64_t w, int64_t h)
{
    const int64_t left = Cut(x), top = Cut(y);
    return Gdiplus::Rect(static_cast<int>(left), static_cast<int>(top),
                         static_cast<int>(Cut(x + w) - left), static_cast<int>(Cut(y + h) - top));
}

// The rectangle between two corners as (x, y, width, height), each size saturated.
inline Gdiplus::Rect RectFromEdges(int left, int top, int right, int bottom)
{
    return Gdiplus::Rect(left, top, Saturate(static_cast<int64_t>(right) - left),
                         Saturate(static_cast<int64_t>(bottom) - top));
}

} // namespace wide

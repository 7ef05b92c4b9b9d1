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

// The rectangle between two corners as (x, y, width, height), each size saturated.
inline Gdiplus::Rect RectFromEdges(int left, int top, int right, int bottom)
{
    return Gdiplus::Rect(left, top, Saturate(static_cast<int64_t>(right) - left),
                         Saturate(static_cast<int64_t>(bottom) - top));
}

} // namespace wide

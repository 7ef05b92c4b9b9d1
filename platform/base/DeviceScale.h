// The one rule that maps logical pixels (96-DPI units, in which windows, hosts and controls
// keep working at every display scale) onto device pixels of a window's surface. Edges are
// rounded and sizes are derived from the rounded edges, so two rectangles that share a
// logical edge share a device edge too: neither a gap nor an overlap at any scale. The window
// tree, painting and hit testing all go through these functions, and a device point maps back
// to the logical point whose device pixels contain it, so a click reaches the window that
// painted the spot.
#pragma once

#include "platform/base/CRect.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace platform {

// A scale a window accepts: finite and in (0, 8].
inline bool IsUsableScale(double scale)
{
    return std::isfinite(scale) && scale > 0.0 && scale <= 8.0;
}

// The device edge of logical edge `logical`: logical × scale rounded half up. Wide
// arithmetic, clamped to int, for any coordinate a host may pass.
inline int DeviceEdge(long long logical, double scale)
{
    if (scale == 1.0)
        return static_cast<int>(std::clamp<long long>(logical, INT_MIN, INT_MAX));
    const double v = std::floor(static_cast<double>(logical) * scale + 0.5);
    return static_cast<int>(
        std::clamp(v, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

inline CRect DeviceRect(const RECT& logical, double scale)
{
    return CRect(DeviceEdge(logical.left, scale), DeviceEdge(logical.top, scale),
                 DeviceEdge(logical.right, scale), DeviceEdge(logical.bottom, scale));
}

// The device size of a logical `size` whose start is at logical `at`.
inline int DeviceSpan(long long at, long long size, double scale)
{
    return DeviceEdge(at + size, scale) - DeviceEdge(at, scale);
}

// The logical coordinate whose device pixels contain device pixel `device`: the largest p
// with DeviceEdge(p) <= device. DeviceEdge(p) <= d holds exactly when p × scale < d + 0.5.
inline int LogicalCoord(long long device, double scale)
{
    if (scale == 1.0)
        return static_cast<int>(std::clamp<long long>(device, INT_MIN, INT_MAX));
    const double bound = (static_cast<double>(device) + 0.5) / scale;
    double p = std::ceil(bound) - 1.0;
    // One step either way mends what the division rounded.
    if (std::floor((p + 1.0) * scale + 0.5) <= static_cast<double>(device))
        p += 1.0;
    else if (std::floor(p * scale + 0.5) > static_cast<double>(device))
        p -= 1.0;
    return static_cast<int>(
        std::clamp(p, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

inline POINT LogicalPoint(POINT device, double scale)
{
    return POINT{LogicalCoord(device.x, scale), LogicalCoord(device.y, scale)};
}

// The device pixels a line `logicalWidth` logical pixels wide covers: a whole number, the
// scale rounded (at least one) for each logical pixel.
inline int DeviceLineWidth(int logicalWidth, double scale)
{
    const long long per = std::max(1LL, std::llround(scale));
    return static_cast<int>(std::min<long long>(per * std::max(0, logicalWidth), INT_MAX));
}

// Where a drawing context's logical coordinates land on its target's device pixels: logical
// point p goes to DeviceEdge(origin + p) - offset. `origin` is the context's logical origin on
// its window's surface, and `offset` the device position of the target's first pixel: none for
// the surface itself, the device edge of the area for a picture composed for part of it, so
// that the picture's pixels are the very ones the area covers and its copy back is 1:1. GDI
// drawing and Graphics on a device context both map through this.
struct DeviceMapping
{
    double scale = 1.0;
    POINT origin{};
    POINT offset{};

    int X(long long x) const { return Shifted(DeviceEdge(origin.x + x, scale), offset.x); }
    int Y(long long y) const { return Shifted(DeviceEdge(origin.y + y, scale), offset.y); }
    // A rectangle in the context's logical coordinates.
    CRect Rect(const RECT& r) const { return CRect(X(r.left), Y(r.top), X(r.right), Y(r.bottom)); }
    // The same given as position and size, added wide.
    CRect Area(long long x, long long y, long long cx, long long cy) const
    {
        return CRect(X(x), Y(y), X(x + cx), Y(y + cy));
    }
    // A rectangle in the surface's logical coordinates (a clip), origin left out.
    CRect SurfaceRect(const RECT& r) const
    {
        return CRect(Shifted(DeviceEdge(r.left, scale), offset.x),
                     Shifted(DeviceEdge(r.top, scale), offset.y),
                     Shifted(DeviceEdge(r.right, scale), offset.x),
                     Shifted(DeviceEdge(r.bottom, scale), offset.y));
    }
    // The logical coordinates whose device pixels hold device pixel (x, y).
    int LogicalX(long long x) const
    {
        return Unshifted(LogicalCoord(x + offset.x, scale), origin.x);
    }
    int LogicalY(long long y) const
    {
        return Unshifted(LogicalCoord(y + offset.y, scale), origin.y);
    }
    // Device pixels per logical pixel of a line: round(scale), at least one.
    int LinePixels() const { return DeviceLineWidth(1, scale); }

private:
    static int Shifted(int device, long long offset)
    {
        return static_cast<int>(std::clamp<long long>(device - offset, INT_MIN, INT_MAX));
    }
    static int Unshifted(int logical, long long origin) { return Shifted(logical, origin); }
};

} // namespace platform

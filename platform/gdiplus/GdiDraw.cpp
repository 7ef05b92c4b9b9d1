// GDI drawing on device contexts: pens, brushes, rectangles, lines, fills, pixel copies and
// the context's colours and modes. Pixels are written directly as whole, opaque pixels, the
// way GDI draws without antialiasing (see the pixel rules in Gdi.h). On a scaled window the
// coordinates go through the context's DeviceMapping: edges snap by the rule of DeviceScale.h,
// and a pen covers round(scale) device pixels for each logical pixel it covers at scale 1.
#include "platform/gdiplus/GdiPrivate.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <vector>

using platform::gdi::DeviceTarget;
using platform::gdi::GdiObject;
using platform::gdi::Kind;
using platform::gdi::PixelAccess;

namespace {

// Fills device pixels [l, r) x [t, b) with `value`, inside `clip` and the target.
void FillSpan(PixelAccess& px, const RECT& clip, int l, int t, int r, int b, std::uint32_t value)
{
    l = std::max({l, static_cast<int>(clip.left), 0});
    t = std::max({t, static_cast<int>(clip.top), 0});
    r = std::min({r, static_cast<int>(clip.right), px.width});
    b = std::min({b, static_cast<int>(clip.bottom), px.height});
    if (r <= l || b <= t)
        return;
    // wchar_t is 32 bits here: the C library's wide fill is the fastest 32-bit fill at hand.
    static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));
    for (int y = t; y < b; ++y)
        std::wmemset(reinterpret_cast<wchar_t*>(px.Row(y) + l), static_cast<wchar_t>(value),
                     static_cast<size_t>(r - l));
    px.dirty = true;
}

// The pixels one pen stroke covers, gathered as spans and written in one go.
class Stroke
{
public:
    void Add(int l, int t, int r, int b)
    {
        if (r > l && b > t)
            m_rects.push_back(RECT{l, t, r, b});
    }
    void Paint(const DeviceTarget& dc, COLORREF colour) const
    {
        if (m_rects.empty())
            return;
        PixelAccess px(dc.target);
        if (!px.pixels)
            return;
        const std::uint32_t value = platform::gdi::PixelOf(colour);
        for (const RECT& r : m_rects)
            FillSpan(px, dc.clip, r.left, r.top, r.right, r.bottom, value);
    }

private:
    std::vector<RECT> m_rects;
};

// The round join of a wide pen, as offsets around a corner point: GDI takes the region of a
// rounded rectangle (a circle of the pen's width) and fills it at each vertex. The rows below
// follow the integer ellipse walk GDI's rounded-rectangle regions use.
struct JoinRow
{
    int y, left, right; // pixels [left, right) of row y, relative to the vertex
};
std::vector<JoinRow> RoundJoin(int w)
{
    int left = -(w / 2), top = -(w / 2);
    int right = (w + 1) / 2 + 1, bottom = (w + 1) / 2 + 1;
    int ew = (w + 1) / 2 + 1 + w / 2, eh = ew;
    right -= 1;
    bottom -= 1;
    ew = std::min(right - left, ew);
    eh = std::min(bottom - top, eh);
    std::vector<JoinRow> rows;
    if (ew < 2 || eh < 2) {
        for (int y = top; y < bottom; ++y)
            rows.push_back({y, left, right});
        return rows;
    }
    struct Span
    {
        int l = 0, t = 0, r = 0, b = 0;
    };
    std::vector<Span> spans(static_cast<size_t>(eh));
    const long long a = ew - 1, b = eh - 1;
    const long long asq = 8 * a * a, bsq = 8 * b * b;
    long long dx = 4 * b * b * (1 - a), dy = 4 * a * a * (1 + (b % 2));
    long long err = dx + dy + a * a * (b % 2);
    int x = 0, y = eh / 2;
    spans[static_cast<size_t>(y)].l = left;
    spans[static_cast<size_t>(y)].r = right;
    while (x <= ew / 2) {
        const long long e2 = 2 * err;
        if (e2 >= dx) {
            ++x;
            dx += bsq;
            err += dx;
        }
        if (e2 <= dy) {
            ++y;
            dy += asq;
            err += dy;
            if (y < eh) {
                spans[static_cast<size_t>(y)].l = left + x;
                spans[static_cast<size_t>(y)].r = right - x;
            }
        }
    }
    int i = 0;
    for (; i < eh / 2; ++i) {
        spans[static_cast<size_t>(i)].l = spans[static_cast<size_t>(b - i)].l;
        spans[static_cast<size_t>(i)].r = spans[static_cast<size_t>(b - i)].r;
        spans[static_cast<size_t>(i)].t = top + i;
        spans[static_cast<size_t>(i)].b = top + i + 1;
    }
    for (; i < eh; ++i) {
        spans[static_cast<size_t>(i)].t = bottom - eh + i;
        spans[static_cast<size_t>(i)].b = spans[static_cast<size_t>(i)].t + 1;
    }
    spans[static_cast<size_t>(eh / 2)].t = top + eh / 2;
    for (const Span& s : spans)
        for (int row = s.t; row < s.b; ++row)
            rows.push_back({row, s.l, s.r});
    return rows;
}

int ClampInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// A pen as it lands on device pixels: `width` logical pixels, each `per` device pixels wide
// (1 at scale 1, round(scale) on a scaled window). It covers the pixels its scale-1 twin
// covers, each grown into a per x per block, placed at the device edges of its ends.
struct DevicePen
{
    int width;
    int per;
    int Thickness() const { return ClampInt(static_cast<long long>(width) * per); }
    int Half() const { return ClampInt(static_cast<long long>(width / 2) * per); }
    // The device position of a stroke through logical coordinate v, `edge` mapping a
    // logical edge to its device one: its band starts at the device edge of its first row
    // (v - width/2), as the top and left sides of a rectangle do.
    template <typename Edge> int Near(Edge edge, long long v) const
    {
        return ClampInt(static_cast<long long>(edge(v - width / 2)) + Half());
    }
    // The same for a band that ends at the device edge after its last row, as the right and
    // bottom sides of a rectangle do, so that a frame stays inside its rectangle's pixels.
    template <typename Edge> int Far(Edge edge, long long v) const
    {
        return ClampInt(static_cast<long long>(edge(v - width / 2 + width)) - Thickness() + Half());
    }
};

// The pen's shape at a device point: its round join, or for a 1-pixel pen one scaled pixel.
void AddJoin(Stroke& stroke, const DevicePen& pen, int x, int y)
{
    const int k = pen.per;
    if (pen.width <= 1) {
        stroke.Add(x, y, ClampInt(static_cast<long long>(x) + k),
                   ClampInt(static_cast<long long>(y) + k));
        return;
    }
    static std::mutex lock;
    static std::vector<std::vector<JoinRow>> cache;
    std::lock_guard<std::mutex> guard(lock);
    const int w = pen.width;
    if (cache.size() <= static_cast<size_t>(w))
        cache.resize(static_cast<size_t>(w) + 1);
    std::vector<JoinRow>& rows = cache[static_cast<size_t>(w)];
    if (rows.empty())
        rows = RoundJoin(w);
    for (const JoinRow& r : rows)
        stroke.Add(x + r.left * k, y + r.y * k, x + r.right * k, y + (r.y + 1) * k);
}

struct PenInfo
{
    bool visible;
    int width;
    COLORREF colour;
};

PenInfo PenOf(const GdiObject& dc)
{
    const GdiObject* pen = dc.state.pen;
    if (!pen)
        return {true, 1, 0x000000};
    return {pen->penStyle != PS_NULL, std::max(1, pen->penWidth), pen->colour};
}

// Visits the pixels of the line from (x0, y0) towards (x1, y1), the end pixel excluded
// (Bresenham: one pixel per step of the longer axis).
template <typename Visit> void WalkLine(int x0, int y0, int x1, int y1, Visit&& visit)
{
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    while (x != x1 || y != y1) {
        visit(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// A pen segment from (x0, y0) to (x1, y1) in device pixels, the end point left out. One-pixel
// pens step along the line (a scaled one as a band of `per` rows or columns); wider ones cover
// bands of rows (or columns) from w/2 above (or left of) the line, with round joins at both
// ends. Slanted lines stamp the pen's shape along the way.
void AddSegment(Stroke& stroke, const DevicePen& pen, int x0, int y0, int x1, int y1)
{
    if (pen.width <= 1 && pen.per == 1) {
        WalkLine(x0, y0, x1, y1, [&](int x, int y) { stroke.Add(x, y, x + 1, y + 1); });
        return;
    }
    const int o = pen.Half(), w = pen.Thickness();
    if (y0 == y1) {
        stroke.Add(std::min(x0, x1), y0 - o, std::max(x0, x1), y0 - o + w);
    } else if (x0 == x1) {
        stroke.Add(x0 - o, std::min(y0, y1), x0 - o + w, std::max(y0, y1));
    } else {
        WalkLine(x0, y0, x1, y1, [&](int x, int y) { AddJoin(stroke, pen, x, y); });
    }
    if (pen.width > 1) {
        AddJoin(stroke, pen, x0, y0);
        AddJoin(stroke, pen, x1, y1);
    }
}

bool SolidBrushColour(const GdiObject* brush, COLORREF* colour)
{
    if (!brush) {
        *colour = 0xFFFFFF;
        return true;
    }
    if (brush->penStyle != 0) // BS_NULL
        return false;
    *colour = brush->colour;
    return true;
}

GdiObject* MakeStock(Kind kind, int style, int width, COLORREF colour)
{
    auto object = std::make_unique<GdiObject>();
    object->kind = kind;
    object->stock = true;
    object->penStyle = style;
    object->penWidth = width;
    object->colour = colour;
    GdiObject* raw = object.get();
    platform::gdi::Register(std::move(object));
    return raw;
}

} // namespace

namespace platform::gdi {

DeviceTarget::DeviceTarget(const platform::SurfaceDC& dc)
    : target(dc.target), map(dc.Mapping()), clip(map.SurfaceRect(dc.clip))
{
}

void FillDevice(Gdiplus::Bitmap* target, const RECT& clip, const RECT& device, COLORREF colour)
{
    PixelAccess px(target);
    if (px.pixels)
        FillSpan(px, clip, device.left, device.top, device.right, device.bottom, PixelOf(colour));
}

} // namespace platform::gdi

HGDIOBJ GetStockObject(int id)
{
    static GdiObject* stock[18] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        stock[WHITE_BRUSH] = MakeStock(Kind::Brush, 0, 0, RGB(255, 255, 255));
        stock[LTGRAY_BRUSH] = MakeStock(Kind::Brush, 0, 0, RGB(192, 192, 192));
        stock[GRAY_BRUSH] = MakeStock(Kind::Brush, 0, 0, RGB(128, 128, 128));
        stock[DKGRAY_BRUSH] = MakeStock(Kind::Brush, 0, 0, RGB(64, 64, 64));
        stock[BLACK_BRUSH] = MakeStock(Kind::Brush, 0, 0, RGB(0, 0, 0));
        stock[NULL_BRUSH] = MakeStock(Kind::Brush, 1, 0, 0); // BS_NULL
        stock[WHITE_PEN] = MakeStock(Kind::Pen, PS_SOLID, 1, RGB(255, 255, 255));
        stock[BLACK_PEN] = MakeStock(Kind::Pen, PS_SOLID, 1, RGB(0, 0, 0));
        stock[NULL_PEN] = MakeStock(Kind::Pen, PS_NULL, 1, 0);
    });
    if (id < 0 || id >= 18)
        return nullptr;
    if (id >= OEM_FIXED_FONT && id != 15)
        return platform::gdi::StockFont(id);
    return stock[id];
}

HPEN CreatePen(int style, int width, COLORREF colour)
{
    if (style != PS_SOLID && style != PS_NULL)
        style = PS_SOLID; // dashes are not drawn: a solid line stands in
    auto object = std::make_unique<GdiObject>();
    object->kind = Kind::Pen;
    object->penStyle = style;
    object->penWidth = std::max(1, width);
    object->colour = colour & 0xFFFFFF;
    return platform::gdi::RegisterAs<HPEN>(std::move(object));
}

HBRUSH CreateSolidBrush(COLORREF colour)
{
    auto object = std::make_unique<GdiObject>();
    object->kind = Kind::Brush;
    object->colour = colour & 0xFFFFFF;
    return platform::gdi::RegisterAs<HBRUSH>(std::move(object));
}

namespace {

// Where destination device coordinate `d` takes its pixel from, for a copy between contexts of
// different scales: the same place within the same logical pixel, `shift` logical pixels on.
// `logicalOf` answers the destination's logical coordinate of a device one; the edges map
// logical coordinates to device ones on either side.
template <typename LogicalOf, typename ToEdge, typename FromEdge>
long long SourceOf(int d, long long shift, LogicalOf logicalOf, ToEdge toEdge, FromEdge fromEdge)
{
    const long long u = logicalOf(d);
    const long long t0 = toEdge(u), t1 = toEdge(u + 1);
    const long long f0 = fromEdge(u + shift), f1 = fromEdge(u + shift + 1);
    const double within =
        (static_cast<double>(d - t0) + 0.5) / static_cast<double>(std::max(1LL, t1 - t0));
    return f0 + static_cast<long long>(std::floor(within * static_cast<double>(f1 - f0)));
}

// Copies logical area `to` (device pixels of the destination) from `shiftX`, `shiftY` logical
// pixels on in the source, each destination pixel from the source pixel at the same place
// within the same logical pixel: what a copy between contexts of different scales needs.
void CopyAcrossScales(PixelAccess& dp, const PixelAccess& sp, bool same, const DeviceTarget& dt,
                      const DeviceTarget& st, const CRect& to, long long shiftX, long long shiftY)
{
    const int l = std::max({to.left, static_cast<int>(dt.clip.left), 0});
    const int t = std::max({to.top, static_cast<int>(dt.clip.top), 0});
    const int r = std::min({to.right, static_cast<int>(dt.clip.right), dp.width});
    const int b = std::min({to.bottom, static_cast<int>(dt.clip.bottom), dp.height});
    if (r <= l || b <= t)
        return;
    const platform::DeviceMapping &dm = dt.map, &sm = st.map;
    std::vector<int> columns;
    for (int x = l; x < r; ++x) {
        const long long sx = SourceOf(
            x, shiftX, [&](long long d) { return dm.LogicalX(d); },
            [&](long long v) { return dm.X(v); }, [&](long long v) { return sm.X(v); });
        columns.push_back(sx >= 0 && sx < sp.width ? static_cast<int>(sx) : -1);
    }
    // Within one surface the source is read whole before anything is written.
    std::vector<std::uint32_t> copy;
    if (same)
        for (int y = 0; y < sp.height; ++y)
            copy.insert(copy.end(), sp.Row(y), sp.Row(y) + sp.width);
    for (int y = t; y < b; ++y) {
        const long long sy = SourceOf(
            y, shiftY, [&](long long d) { return dm.LogicalY(d); },
            [&](long long v) { return dm.Y(v); }, [&](long long v) { return sm.Y(v); });
        if (sy < 0 || sy >= sp.height)
            continue;
        const std::uint32_t* in =
            same ? copy.data() + static_cast<size_t>(sy) * static_cast<size_t>(sp.width)
                 : sp.Row(static_cast<int>(sy));
        std::uint32_t* out = dp.Row(y);
        for (int x = l; x < r; ++x)
            if (const int sx = columns[static_cast<size_t>(x - l)]; sx >= 0)
                out[x] = in[sx];
    }
    dp.dirty = true;
}

} // namespace

BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop)
{
    platform::SurfaceDC d, s;
    if (rop != SRCCOPY || !platform::DescribeDC(dst, &d) || !platform::DescribeDC(src, &s))
        return FALSE;
    if (cx <= 0 || cy <= 0)
        return TRUE;
    const DeviceTarget dt(d), st(s);
    // Device rectangles of either side: of one size between contexts of one scale (a control's
    // picture and its window, a window and its parent), so the copy is 1:1.
    const CRect to = dt.map.Area(x, y, cx, cy);
    const CRect from = st.map.Area(x1, y1, cx, cy);
    PixelAccess dp(d.target);
    if (!dp.pixels)
        return FALSE;
    const bool same = d.target == s.target;
    std::unique_ptr<PixelAccess> spHolder;
    if (!same)
        spHolder = std::make_unique<PixelAccess>(s.target);
    const PixelAccess& sp = same ? dp : *spHolder;
    if (!sp.pixels)
        return FALSE;
    if (to.Size() != from.Size()) {
        CopyAcrossScales(dp, sp, same, dt, st, to, static_cast<long long>(x1) - x,
                         static_cast<long long>(y1) - y);
        return TRUE;
    }
    // Destination clipped to its clip, source kept inside its pixels.
    const long long shiftX = static_cast<long long>(from.left) - to.left;
    const long long shiftY = static_cast<long long>(from.top) - to.top;
    const int l = ClampInt(
        std::max<long long>({to.left, static_cast<long long>(dt.clip.left), 0LL, -shiftX}));
    const int t =
        ClampInt(std::max<long long>({to.top, static_cast<long long>(dt.clip.top), 0LL, -shiftY}));
    const int r = ClampInt(std::min<long long>(
        {to.right, static_cast<long long>(dt.clip.right), dp.width, sp.width - shiftX}));
    const int b = ClampInt(std::min<long long>(
        {to.bottom, static_cast<long long>(dt.clip.bottom), dp.height, sp.height - shiftY}));
    if (r <= l || b <= t)
        return TRUE;
    const int w = r - l;
    const int sx0 = static_cast<int>(l + shiftX);
    std::vector<std::uint32_t> rows;
    if (same) {
        // Overlapping copies within one surface read the source before writing.
        rows.resize(static_cast<size_t>(w) * static_cast<size_t>(b - t));
        for (int row = t; row < b; ++row)
            std::memcpy(rows.data() + static_cast<size_t>(row - t) * static_cast<size_t>(w),
                        sp.Row(static_cast<int>(row + shiftY)) + sx0, static_cast<size_t>(w) * 4);
        for (int row = t; row < b; ++row)
            std::memcpy(dp.Row(row) + l,
                        rows.data() + static_cast<size_t>(row - t) * static_cast<size_t>(w),
                        static_cast<size_t>(w) * 4);
    } else {
        for (int row = t; row < b; ++row)
            std::memcpy(dp.Row(row) + l, sp.Row(static_cast<int>(row + shiftY)) + sx0,
                        static_cast<size_t>(w) * 4);
    }
    dp.dirty = true;
    return TRUE;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    GdiObject* b = platform::gdi::Lookup(brush, Kind::Brush);
    if (!d || !rect || !b)
        return 0;
    COLORREF colour;
    if (!SolidBrushColour(b, &colour))
        return 1;
    const DeviceTarget dt(d->dc);
    platform::gdi::FillDevice(dt.target, dt.clip, dt.map.Rect(*rect), colour);
    return 1;
}

// The focus rectangle: every other pixel of the 1-pixel outline inverted (a checker pattern
// anchored at the device origin), so that a second call takes it away again. Inverting a
// premultiplied pixel keeps its alpha: each colour channel c becomes alpha - c. On a scaled
// window the outline is round(scale) device pixels thick inside the rectangle's device edges,
// and the checker's squares as wide.
BOOL DrawFocusRect(HDC dc, const RECT* rect)
{
    platform::SurfaceDC d;
    if (!rect || !platform::DescribeDC(dc, &d))
        return FALSE;
    PixelAccess px(d.target);
    if (!px.pixels)
        return FALSE;
    const DeviceTarget dt(d);
    const CRect box = dt.map.Rect(*rect);
    if (box.IsRectEmpty())
        return TRUE;
    const int k = dt.map.LinePixels();
    const POINT anchor = dt.map.offset; // the surface's first pixel, where the checker starts
    const int cl = std::max(static_cast<int>(dt.clip.left), 0);
    const int ct = std::max(static_cast<int>(dt.clip.top), 0);
    const int cr = std::min(static_cast<int>(dt.clip.right), px.width);
    const int cb = std::min(static_cast<int>(dt.clip.bottom), px.height);
    auto invert = [&](int x, int y) {
        if (x < cl || x >= cr || (((x + anchor.x) / k + (y + anchor.y) / k) & 1))
            return;
        std::uint32_t& p = px.Row(y)[x];
        const std::uint32_t a = p >> 24;
        const std::uint32_t rr = a - ((p >> 16) & 0xFF), gg = a - ((p >> 8) & 0xFF),
                            bb = a - (p & 0xFF);
        p = (a << 24) | (rr << 16) | (gg << 8) | bb;
    };
    // Each pixel of the outline once: whole rows in the top and bottom bands, the side bands'
    // columns between them.
    const long long innerTop = static_cast<long long>(box.top) + k;
    const long long innerBottom = static_cast<long long>(box.bottom) - k;
    const int leftEnd =
        ClampInt(std::min<long long>(static_cast<long long>(box.left) + k, box.right));
    const int rightStart =
        ClampInt(std::max<long long>(static_cast<long long>(box.right) - k, leftEnd));
    for (int y = std::max<int>(box.top, ct); y < std::min<int>(box.bottom, cb); ++y) {
        if (y < innerTop || y >= innerBottom) {
            for (int x = std::max<int>(box.left, cl); x < std::min<int>(box.right, cr); ++x)
                invert(x, y);
            continue;
        }
        for (int x = box.left; x < leftEnd; ++x)
            invert(x, y);
        for (int x = rightStart; x < box.right; ++x)
            invert(x, y);
    }
    px.dirty = true;
    return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    if (!d)
        return FALSE;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const DeviceTarget dt(d->dc);
    const platform::DeviceMapping& map = dt.map;
    COLORREF fill;
    if (SolidBrushColour(d->state.brush, &fill))
        platform::gdi::FillDevice(dt.target, dt.clip,
                                  map.Area(left, top, static_cast<long long>(right) - left - 1,
                                           static_cast<long long>(bottom) - top - 1),
                                  fill);
    const PenInfo info = PenOf(*d);
    if (!info.visible || right - left < 1 || bottom - top < 1)
        return TRUE;
    // The outline runs through (left, top) and (right - 1, bottom - 1); on a scaled window the
    // far sides end at the rectangle's far device edges.
    const DevicePen pen{info.width, map.LinePixels()};
    auto edgeX = [&map](long long v) { return map.X(v); };
    auto edgeY = [&map](long long v) { return map.Y(v); };
    const int l = pen.Near(edgeX, left), t = pen.Near(edgeY, top);
    const int r = pen.Far(edgeX, static_cast<long long>(right) - 1);
    const int b = pen.Far(edgeY, static_cast<long long>(bottom) - 1);
    Stroke stroke;
    if (pen.width <= 1) {
        const int k = pen.per;
        stroke.Add(l, t, r + k, t + k);
        stroke.Add(l, b, r + k, b + k);
        stroke.Add(l, t, l + k, b + k);
        stroke.Add(r, t, r + k, b + k);
    } else {
        const int w = pen.Thickness(), half = pen.Half();
        stroke.Add(l, t - half, r, t - half + w);
        stroke.Add(l, b - half, r, b - half + w);
        stroke.Add(l - half, t, l - half + w, b);
        stroke.Add(r - half, t, r - half + w, b);
        AddJoin(stroke, pen, l, t);
        AddJoin(stroke, pen, r, t);
        AddJoin(stroke, pen, r, b);
        AddJoin(stroke, pen, l, b);
    }
    stroke.Paint(dt, info.colour);
    return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    if (!d)
        return FALSE;
    if (previous)
        *previous = d->state.position;
    d->state.position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    if (!d)
        return FALSE;
    const PenInfo info = PenOf(*d);
    const POINT from = d->state.position;
    d->state.position = POINT{x, y};
    if (!info.visible)
        return TRUE;
    const DeviceTarget dt(d->dc);
    const platform::DeviceMapping& map = dt.map;
    const DevicePen pen{info.width, map.LinePixels()};
    auto edgeX = [&map](long long v) { return map.X(v); };
    auto edgeY = [&map](long long v) { return map.Y(v); };
    Stroke stroke;
    AddSegment(stroke, pen, pen.Near(edgeX, from.x), pen.Near(edgeY, from.y), pen.Near(edgeX, x),
               pen.Near(edgeY, y));
    stroke.Paint(dt, info.colour);
    return TRUE;
}

namespace {

constexpr COLORREF kInvalidColour = 0xFFFFFFFF; // CLR_INVALID

COLORREF ReplaceColour(HDC dc, COLORREF platform::gdi::DCState::*field, COLORREF colour)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    if (!d)
        return kInvalidColour;
    const COLORREF previous = d->state.*field;
    d->state.*field = colour & 0xFFFFFF;
    return previous;
}

COLORREF ColourOf(HDC dc, COLORREF platform::gdi::DCState::*field)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    return d ? d->state.*field : kInvalidColour;
}

} // namespace

COLORREF SetTextColor(HDC dc, COLORREF colour)
{
    return ReplaceColour(dc, &platform::gdi::DCState::text, colour);
}

COLORREF GetTextColor(HDC dc)
{
    return ColourOf(dc, &platform::gdi::DCState::text);
}

COLORREF SetBkColor(HDC dc, COLORREF colour)
{
    return ReplaceColour(dc, &platform::gdi::DCState::bk, colour);
}

COLORREF GetBkColor(HDC dc)
{
    return ColourOf(dc, &platform::gdi::DCState::bk);
}

int SetBkMode(HDC dc, int mode)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    if (!d || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    const int previous = d->state.bkMode;
    d->state.bkMode = mode;
    return previous;
}

int GetBkMode(HDC dc)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    return d ? d->state.bkMode : 0;
}

namespace platform {

void FillSolidRect(HDC dc, const RECT& r, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void OutlineRect(HDC dc, const RECT& r, int penWidth, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, penWidth, colour);
    {
        ScopedSelect usePen(dc, pen), hollow(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    DeleteObject(pen);
}

void SolidLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    {
        ScopedSelect usePen(dc, pen);
        MoveToEx(dc, x0, y0, nullptr);
        LineTo(dc, x1, y1);
    }
    DeleteObject(pen);
}

} // namespace platform

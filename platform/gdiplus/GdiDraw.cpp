// GDI drawing on device contexts: pens, brushes, rectangles, lines, fills, pixel copies and
// the context's colours and modes. Pixels are written directly as whole, opaque pixels, the
// way GDI draws without antialiasing (see the pixel rules in Gdi.h).
#include "platform/gdiplus/GdiPrivate.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <vector>

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
    void Paint(const platform::SurfaceDC& dc, COLORREF colour) const
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

void AddJoin(Stroke& stroke, int w, int x, int y)
{
    static std::mutex lock;
    static std::vector<std::vector<JoinRow>> cache;
    std::lock_guard<std::mutex> guard(lock);
    if (cache.size() <= static_cast<size_t>(w))
        cache.resize(static_cast<size_t>(w) + 1);
    std::vector<JoinRow>& rows = cache[static_cast<size_t>(w)];
    if (rows.empty())
        rows = RoundJoin(w);
    for (const JoinRow& r : rows)
        stroke.Add(x + r.left, y + r.y, x + r.right, y + r.y + 1);
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
// pens step along the line; wider ones cover bands of rows (or columns) from w/2 above (or
// left of) the line, with round joins at both ends.
void AddSegment(Stroke& stroke, int w, int x0, int y0, int x1, int y1)
{
    if (w <= 1) {
        WalkLine(x0, y0, x1, y1, [&](int x, int y) { stroke.Add(x, y, x + 1, y + 1); });
        return;
    }
    const int o = w / 2;
    if (y0 == y1) {
        stroke.Add(std::min(x0, x1), y0 - o, std::max(x0, x1), y0 - o + w);
    } else if (x0 == x1) {
        stroke.Add(x0 - o, std::min(y0, y1), x0 - o + w, std::max(y0, y1));
    } else {
        // Slanted wide lines: the pen's round shape stamped along the line.
        WalkLine(x0, y0, x1, y1, [&](int x, int y) { AddJoin(stroke, w, x, y); });
    }
    AddJoin(stroke, w, x0, y0);
    AddJoin(stroke, w, x1, y1);
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

void FillDevice(const platform::SurfaceDC& dc, int l, int t, int r, int b, COLORREF colour)
{
    PixelAccess px(dc.target);
    if (px.pixels)
        FillSpan(px, dc.clip, l, t, r, b, PixelOf(colour));
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

BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop)
{
    platform::SurfaceDC d, s;
    if (rop != SRCCOPY || !platform::DescribeDC(dst, &d) || !platform::DescribeDC(src, &s))
        return FALSE;
    if (cx <= 0 || cy <= 0)
        return TRUE;
    // Device rectangles: destination clipped to its clip, source to its target.
    const int dx0 = d.origin.x + x, dy0 = d.origin.y + y;
    const int sx0 = s.origin.x + x1, sy0 = s.origin.y + y1;
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
    int l = std::max({dx0, static_cast<int>(d.clip.left), 0});
    int t = std::max({dy0, static_cast<int>(d.clip.top), 0});
    int r = std::min({dx0 + cx, static_cast<int>(d.clip.right), dp.width});
    int b = std::min({dy0 + cy, static_cast<int>(d.clip.bottom), dp.height});
    // Keep the source inside its pixels.
    l = std::max(l, dx0 + (0 - sx0));
    t = std::max(t, dy0 + (0 - sy0));
    r = std::min(r, dx0 + (sp.width - sx0));
    b = std::min(b, dy0 + (sp.height - sy0));
    if (r <= l || b <= t)
        return TRUE;
    const int w = r - l;
    std::vector<std::uint32_t> rows;
    if (same) {
        // Overlapping copies within one surface read the source before writing.
        rows.resize(static_cast<size_t>(w) * static_cast<size_t>(b - t));
        for (int row = t; row < b; ++row)
            std::memcpy(rows.data() + static_cast<size_t>(row - t) * static_cast<size_t>(w),
                        sp.Row(row - dy0 + sy0) + (l - dx0 + sx0), static_cast<size_t>(w) * 4);
        for (int row = t; row < b; ++row)
            std::memcpy(dp.Row(row) + l,
                        rows.data() + static_cast<size_t>(row - t) * static_cast<size_t>(w),
                        static_cast<size_t>(w) * 4);
    } else {
        for (int row = t; row < b; ++row)
            std::memcpy(dp.Row(row) + l, sp.Row(row - dy0 + sy0) + (l - dx0 + sx0),
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
    const POINT o = d->dc.origin;
    platform::gdi::FillDevice(d->dc, o.x + rect->left, o.y + rect->top, o.x + rect->right,
                              o.y + rect->bottom, colour);
    return 1;
}

// The focus rectangle: every other pixel of the 1-pixel outline inverted (a checker pattern
// anchored at the device origin), so that a second call takes it away again. Inverting a
// premultiplied pixel keeps its alpha: each colour channel c becomes alpha - c.
BOOL DrawFocusRect(HDC dc, const RECT* rect)
{
    platform::SurfaceDC d;
    if (!rect || !platform::DescribeDC(dc, &d))
        return FALSE;
    PixelAccess px(d.target);
    if (!px.pixels)
        return FALSE;
    const int l = d.origin.x + rect->left, t = d.origin.y + rect->top;
    const int r = d.origin.x + rect->right, b = d.origin.y + rect->bottom;
    if (r <= l || b <= t)
        return TRUE;
    const int cl = std::max({static_cast<int>(d.clip.left), 0});
    const int ct = std::max({static_cast<int>(d.clip.top), 0});
    const int cr = std::min({static_cast<int>(d.clip.right), px.width});
    const int cb = std::min({static_cast<int>(d.clip.bottom), px.height});
    auto invert = [&](int x, int y) {
        if (x < cl || x >= cr || y < ct || y >= cb || ((x + y) & 1))
            return;
        std::uint32_t& p = px.Row(y)[x];
        const std::uint32_t a = p >> 24;
        const std::uint32_t rr = a - ((p >> 16) & 0xFF), gg = a - ((p >> 8) & 0xFF),
                            bb = a - (p & 0xFF);
        p = (a << 24) | (rr << 16) | (gg << 8) | bb;
    };
    for (int x = l; x < r; ++x) {
        invert(x, t);
        if (b - 1 != t)
            invert(x, b - 1);
    }
    for (int y = t + 1; y < b - 1; ++y) {
        invert(l, y);
        if (r - 1 != l)
            invert(r - 1, y);
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
    const POINT o = d->dc.origin;
    int l = o.x + left, t = o.y + top, r = o.x + right, b = o.y + bottom;
    COLORREF fill;
    if (SolidBrushColour(d->state.brush, &fill))
        platform::gdi::FillDevice(d->dc, l, t, r - 1, b - 1, fill);
    const PenInfo pen = PenOf(*d);
    if (!pen.visible || r - l < 1 || b - t < 1)
        return TRUE;
    // The outline runs through (l, t) and (r - 1, b - 1).
    --r;
    --b;
    Stroke stroke;
    if (pen.width <= 1) {
        stroke.Add(l, t, r + 1, t + 1);
        stroke.Add(l, b, r + 1, b + 1);
        stroke.Add(l, t, l + 1, b + 1);
        stroke.Add(r, t, r + 1, b + 1);
    } else {
        const int w = pen.width, half = w / 2;
        stroke.Add(l, t - half, r, t - half + w);
        stroke.Add(l, b - half, r, b - half + w);
        stroke.Add(l - half, t, l - half + w, b);
        stroke.Add(r - half, t, r - half + w, b);
        AddJoin(stroke, w, l, t);
        AddJoin(stroke, w, r, t);
        AddJoin(stroke, w, r, b);
        AddJoin(stroke, w, l, b);
    }
    stroke.Paint(d->dc, pen.colour);
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
    const PenInfo pen = PenOf(*d);
    const POINT from = d->state.position;
    d->state.position = POINT{x, y};
    if (!pen.visible)
        return TRUE;
    const POINT o = d->dc.origin;
    Stroke stroke;
    AddSegment(stroke, pen.width, o.x + from.x, o.y + from.y, o.x + x, o.y + y);
    stroke.Paint(d->dc, pen.colour);
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

// Graphics: image drawing, rectangles and state. Text is in Text.cpp.
#include "platform/base/DeviceScale.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/GdiplusPrivate.h"

#include <cmath>

namespace Gdiplus {
namespace {

cairo_filter_t FilterFor(InterpolationMode mode)
{
    switch (mode) {
    case InterpolationModeNearestNeighbor:
        return CAIRO_FILTER_NEAREST;
    case InterpolationModeHighQualityBilinear:
        return CAIRO_FILTER_GOOD;
    case InterpolationModeBicubic:
    case InterpolationModeHighQualityBicubic:
        return CAIRO_FILTER_BEST;
    default:
        return CAIRO_FILTER_BILINEAR;
    }
}

bool HalfPixelOffset(PixelOffsetMode mode)
{
    return mode == PixelOffsetModeHalf || mode == PixelOffsetModeHighQuality;
}

void SetSourceColor(cairo_t* cr, const Color& c)
{
    cairo_set_source_rgba(cr, c.GetR() / 255.0, c.GetG() / 255.0, c.GetB() / 255.0,
                          c.GetA() / 255.0);
}

const SolidBrush* AsSolid(const Brush* brush)
{
    return dynamic_cast<const SolidBrush*>(brush);
}

// A device edge: the rule of DeviceScale.h (half up) applied to a transformed coordinate.
double Snap(double device)
{
    return std::floor(device + 0.5);
}

// The device rectangle of user rectangle (x, y, w, h) with its edges snapped; a negative
// size stays negative (mirrored pictures).
void SnapRect(cairo_t* cr, double& x, double& y, double& w, double& h)
{
    double x1 = x + w, y1 = y + h;
    cairo_user_to_device(cr, &x, &y);
    cairo_user_to_device(cr, &x1, &y1);
    x = Snap(x);
    y = Snap(y);
    w = Snap(x1) - x;
    h = Snap(y1) - y;
}

// Draws in device pixels until it ends: a scaled graphics snaps its shapes first.
class DeviceSpace
{
public:
    explicit DeviceSpace(cairo_t* cr) : m_cr(cr)
    {
        cairo_save(cr);
        cairo_identity_matrix(cr);
    }
    ~DeviceSpace() { cairo_restore(m_cr); }
    DeviceSpace(const DeviceSpace&) = delete;
    DeviceSpace& operator=(const DeviceSpace&) = delete;

private:
    cairo_t* m_cr;
};

} // namespace

Graphics::Graphics(Image* image)
{
    if (!detail::IsStarted()) {
        lastResult = GdiplusNotInitialized;
        return;
    }
    detail::ImageData* data = NativeOf(image);
    if (!data) {
        lastResult = InvalidParameter;
        return;
    }
    nativeGraphics = std::make_unique<detail::GraphicsData>();
    nativeGraphics->target = image->nativeImage;
    nativeGraphics->cr = cairo_create(data->surface);
    cairo_get_matrix(nativeGraphics->cr, &nativeGraphics->baseMatrix);
}

Graphics::Graphics(HDC hdc)
{
    if (!detail::IsStarted()) {
        lastResult = GdiplusNotInitialized;
        return;
    }
    platform::SurfaceDC dc;
    if (!platform::DescribeDC(hdc, &dc) || !NativeOf(dc.target)) {
        lastResult = InvalidParameter;
        return;
    }
    nativeGraphics = std::make_unique<detail::GraphicsData>();
    detail::GraphicsData& g = *nativeGraphics;
    g.target = dc.target->nativeImage;
    g.cr = cairo_create(NativeOf(dc.target)->surface);
    // The clip is kept in device pixels; logical coordinates are scaled first and moved by
    // the logical origin, so that every edge is rounded from its position on the surface, as
    // the context's DeviceMapping has it (a picture of part of a window starts at that part's
    // device edge).
    const platform::DeviceMapping map = dc.Mapping();
    const CRect clip = map.SurfaceRect(dc.clip);
    g.clipX = clip.left;
    g.clipY = clip.top;
    g.clipW = clip.right - clip.left;
    g.clipH = clip.bottom - clip.top;
    cairo_rectangle(g.cr, g.clipX, g.clipY, std::max(0.0, g.clipW), std::max(0.0, g.clipH));
    cairo_clip(g.cr);
    cairo_translate(g.cr, -map.offset.x, -map.offset.y);
    if (dc.scale != 1.0) {
        g.deviceScale = dc.scale;
        cairo_scale(g.cr, dc.scale, dc.scale);
    }
    cairo_translate(g.cr, dc.origin.x, dc.origin.y);
    cairo_get_matrix(g.cr, &g.baseMatrix);
}

Graphics::~Graphics()
{
    if (nativeGraphics && nativeGraphics->cr)
        cairo_surface_flush(cairo_get_target(nativeGraphics->cr));
}

Status Graphics::SetStatus(Status status) const
{
    if (status != Ok)
        lastResult = status;
    return status;
}

Status Graphics::GetLastStatus() const
{
    return detail::TakeStatus(lastResult);
}

void Graphics::Flush()
{
    if (nativeGraphics)
        cairo_surface_flush(cairo_get_target(nativeGraphics->cr));
}

// --- images ---

// Draws source area (sx, sy, sw, sh) of the image stretched into (dx, dy, dw, dh): the pattern
// covers the whole image (pixels next to a sub-area are sampled by the filter, as GDI+ does),
// outside the image it is transparent, and negative sizes mirror.
Status Graphics::DrawImageArea(Image* image, double dx, double dy, double dw, double dh, double sx,
                               double sy, double sw, double sh)
{
    detail::ImageData* img = NativeOf(image);
    if (!nativeGraphics || !img)
        return SetStatus(InvalidParameter);
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0)
        return Ok;
    detail::GraphicsData& g = *nativeGraphics;
    cairo_t* cr = g.cr;
    // Source rectangles are logical; a picture drawn for a display scale has more pixels.
    const double f = img->scale;
    const bool sameLogicalSize = dw == sw && dh == sh;
    sx *= f;
    sy *= f;
    sw *= f;
    sh *= f;
    if (g.deviceScale != 1.0) {
        // A picture fills the device pixels its logical rectangle snaps to. A source area
        // inside the picture is sampled on its own, its edges padded: the display's scale
        // must not bleed neighbouring frames of a strip in, nor fade the edges, as a stretch
        // the control asked for may. A picture of exactly the device size (an owner-drawn
        // control's composition) is copied 1:1.
        SnapRect(cr, dx, dy, dw, dh);
        const bool inside = sw > 0 && sh > 0 && sx >= 0 && sy >= 0 && sx + sw <= img->Width() &&
                            sy + sh <= img->Height();
        if (inside && dw > 0 && dh > 0) {
            const DeviceSpace device(cr);
            cairo_surface_t* area =
                cairo_surface_create_for_rectangle(img->surface, sx, sy, sw, sh);
            cairo_pattern_t* p = cairo_pattern_create_for_surface(area);
            cairo_matrix_t m;
            cairo_matrix_init(&m, sw / dw, 0, 0, sh / dh, -dx * sw / dw, -dy * sh / dh);
            cairo_pattern_set_matrix(p, &m);
            // Pixels that fit exactly are copied; a picture the control draws at its own size is
            // scaled only for the display, with good filtering whatever the control's mode.
            cairo_pattern_set_filter(p, dw == sw && dh == sh ? CAIRO_FILTER_NEAREST
                                        : sameLogicalSize    ? CAIRO_FILTER_GOOD
                                                             : FilterFor(g.interpolation));
            cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
            cairo_set_source(cr, p);
            cairo_set_operator(cr, g.compositing == CompositingModeSourceCopy
                                       ? CAIRO_OPERATOR_SOURCE
                                       : CAIRO_OPERATOR_OVER);
            cairo_rectangle(cr, dx, dy, dw, dh);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
            cairo_surface_destroy(area);
            return Ok;
        }
        const DeviceSpace device(cr);
        const double scale = g.deviceScale;
        g.deviceScale = 1.0;
        const Status status = DrawImageArea(image, dx, dy, dw, dh, sx / f, sy / f, sw / f, sh / f);
        g.deviceScale = scale;
        return status;
    }
    // Only the part of the destination inside the clip (with a pixel of slack for filtered
    // edges) goes to Cairo: its fixed-point coordinates wrap around far outside the surface,
    // and a rectangle of billions of pixels would paint garbage.
    double cx0 = 0, cy0 = 0, cx1 = 0, cy1 = 0;
    cairo_clip_extents(cr, &cx0, &cy0, &cx1, &cy1);
    const double left = std::max(std::min(dx, dx + dw), cx0 - 1);
    const double right = std::min(std::max(dx, dx + dw), cx1 + 1);
    const double top = std::max(std::min(dy, dy + dh), cy0 - 1);
    const double bottom = std::min(std::max(dy, dy + dh), cy1 + 1);
    if (!(left < right && top < bottom))
        return Ok;
    const cairo_operator_t op =
        g.compositing == CompositingModeSourceCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER;
    auto whole = [](double v) { return v == std::floor(v); };
    if (dw == sw && dh == sh && dw > 0 && dh > 0 && whole(dx) && whole(dy) && whole(sx) &&
        whole(sy)) {
        // An unscaled copy between whole pixels samples pixel centres exactly under every
        // filter and offset mode: a plain translated fill gives the same pixels, cheaper.
        cairo_set_operator(cr, op);
        cairo_set_source_surface(cr, img->surface, dx - sx, dy - sy);
        cairo_rectangle(cr, dx, dy, dw, dh);
        cairo_fill(cr);
        return Ok;
    }
    const double kx = sw / dw, ky = sh / dh;
    double ox = sx - dx * kx, oy = sy - dy * ky;
    const cairo_filter_t filter = FilterFor(g.interpolation);
    if (!HalfPixelOffset(g.pixelOffset)) {
        // Pixel centres on integers: device pixel i samples source sx + (i - dx) * k.
        ox += 0.5 * (1.0 - kx);
        oy += 0.5 * (1.0 - ky);
        if (filter == CAIRO_FILTER_NEAREST) {
            // GDI+ rounds a sample exactly between two source pixels up; pixman rounds down.
            ox += 1.0 / 1024;
            oy += 1.0 / 1024;
        }
    }
    cairo_save(cr);
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    cairo_clip(cr);
    cairo_pattern_t* p = cairo_pattern_create_for_surface(img->surface);
    cairo_matrix_t m;
    cairo_matrix_init(&m, kx, 0, 0, ky, ox, oy);
    cairo_pattern_set_matrix(p, &m);
    cairo_pattern_set_filter(p, filter);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_NONE);
    cairo_set_source(cr, p);
    cairo_set_operator(cr, op);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
    return Ok;
}

Status Graphics::DrawImage(Image* image, INT x, INT y)
{
    detail::ImageData* img = NativeOf(image);
    if (!img)
        return SetStatus(InvalidParameter);
    return DrawImage(image, x, y, img->LogicalWidth(), img->LogicalHeight());
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT width, INT height)
{
    detail::ImageData* img = NativeOf(image);
    if (!img)
        return SetStatus(InvalidParameter);
    return DrawImageArea(image, x, y, width, height, 0, 0, img->LogicalWidth(),
                         img->LogicalHeight());
}

Status Graphics::DrawImage(Image* image, const Rect& rect)
{
    return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawImage(Image* image, REAL x, REAL y, REAL width, REAL height)
{
    detail::ImageData* img = NativeOf(image);
    if (!img)
        return SetStatus(InvalidParameter);
    return DrawImageArea(image, x, y, width, height, 0, 0, img->LogicalWidth(),
                         img->LogicalHeight());
}

Status Graphics::DrawImage(Image* image, const RectF& rect)
{
    return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT srcx, INT srcy, INT srcwidth,
                           INT srcheight, Unit srcUnit)
{
    if (srcUnit != UnitPixel)
        return SetStatus(NotImplemented);
    return DrawImageArea(image, x, y, srcwidth, srcheight, srcx, srcy, srcwidth, srcheight);
}

Status Graphics::DrawImage(Image* image, const Rect& destRect, INT srcx, INT srcy, INT srcwidth,
                           INT srcheight, Unit srcUnit, const ImageAttributes*, DrawImageAbort,
                           VOID*)
{
    if (srcUnit != UnitPixel)
        return SetStatus(NotImplemented);
    return DrawImageArea(image, destRect.X, destRect.Y, destRect.Width, destRect.Height, srcx, srcy,
                         srcwidth, srcheight);
}

Status Graphics::DrawImage(Image* image, const RectF& destRect, REAL srcx, REAL srcy, REAL srcwidth,
                           REAL srcheight, Unit srcUnit, const ImageAttributes*, DrawImageAbort,
                           VOID*)
{
    if (srcUnit != UnitPixel)
        return SetStatus(NotImplemented);
    return DrawImageArea(image, destRect.X, destRect.Y, destRect.Width, destRect.Height, srcx, srcy,
                         srcwidth, srcheight);
}

// --- shapes ---

Status Graphics::Clear(const Color& color)
{
    if (!nativeGraphics)
        return SetStatus(InvalidParameter);
    cairo_t* cr = nativeGraphics->cr;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    SetSourceColor(cr, color);
    cairo_paint(cr);
    cairo_restore(cr);
    return Ok;
}

Status Graphics::FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height)
{
    return FillRectangle(brush, static_cast<REAL>(x), static_cast<REAL>(y),
                         static_cast<REAL>(width), static_cast<REAL>(height));
}

Status Graphics::FillRectangle(const Brush* brush, const Rect& rect)
{
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::FillRectangle(const Brush* brush, const RectF& rect)
{
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height)
{
    const SolidBrush* solid = AsSolid(brush);
    if (!nativeGraphics || !solid)
        return SetStatus(InvalidParameter);
    if (width <= 0 || height <= 0)
        return Ok;
    cairo_t* cr = nativeGraphics->cr;
    Color c;
    solid->GetColor(&c);
    cairo_save(cr);
    cairo_set_operator(cr, nativeGraphics->compositing == CompositingModeSourceCopy
                               ? CAIRO_OPERATOR_SOURCE
                               : CAIRO_OPERATOR_OVER);
    SetSourceColor(cr, c);
    if (nativeGraphics->deviceScale != 1.0) {
        double dx = x, dy = y, dw = width, dh = height;
        SnapRect(cr, dx, dy, dw, dh);
        const DeviceSpace device(cr);
        cairo_rectangle(cr, dx, dy, dw, dh);
        cairo_fill(cr);
    } else {
        cairo_rectangle(cr, x, y, width, height);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    return Ok;
}

Status Graphics::DrawRectangle(const Pen* pen, INT x, INT y, INT width, INT height)
{
    if (!nativeGraphics || !pen)
        return SetStatus(InvalidParameter);
    cairo_t* cr = nativeGraphics->cr;
    Color c;
    pen->GetColor(&c);
    cairo_save(cr);
    SetSourceColor(cr, c);
    const double scale = nativeGraphics->deviceScale;
    if (scale != 1.0) {
        // The outline's edges snap, and the pen covers whole device pixels inward of them.
        double dx = x, dy = y, dw = width, dh = height;
        SnapRect(cr, dx, dy, dw, dh);
        const double line =
            platform::DeviceLineWidth(static_cast<int>(std::lround(pen->GetWidth())), scale);
        const DeviceSpace device(cr);
        cairo_set_line_width(cr, line);
        cairo_rectangle(cr, dx + line / 2, dy + line / 2, dw, dh);
        cairo_stroke(cr);
    } else {
        cairo_set_line_width(cr, pen->GetWidth());
        // A 1-pixel pen covers the pixels whose top-left corners lie on the outline.
        cairo_rectangle(cr, x + 0.5, y + 0.5, width, height);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    return Ok;
}

Status Graphics::DrawRectangle(const Pen* pen, const Rect& rect)
{
    return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2)
{
    if (!nativeGraphics || !pen)
        return SetStatus(InvalidParameter);
    cairo_t* cr = nativeGraphics->cr;
    Color c;
    pen->GetColor(&c);
    cairo_save(cr);
    SetSourceColor(cr, c);
    const double scale = nativeGraphics->deviceScale;
    if (scale != 1.0) {
        // The ends snap; the pen is a whole number of device pixels wide, down and right of
        // the line as a 1-pixel pen is at scale 1.
        double ax = x1, ay = y1, bx = x2, by = y2;
        cairo_user_to_device(cr, &ax, &ay);
        cairo_user_to_device(cr, &bx, &by);
        const double line =
            platform::DeviceLineWidth(static_cast<int>(std::lround(pen->GetWidth())), scale);
        const DeviceSpace device(cr);
        cairo_set_line_width(cr, line);
        cairo_move_to(cr, Snap(ax) + line / 2, Snap(ay) + line / 2);
        cairo_line_to(cr, Snap(bx) + line / 2, Snap(by) + line / 2);
        cairo_stroke(cr);
    } else {
        cairo_set_line_width(cr, pen->GetWidth());
        cairo_move_to(cr, x1 + 0.5, y1 + 0.5);
        cairo_line_to(cr, x2 + 0.5, y2 + 0.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    return Ok;
}

// --- state ---

template <typename Mode> Mode Graphics::ModeOf(Mode detail::GraphicsData::*field, Mode none) const
{
    if (!nativeGraphics) {
        SetStatus(InvalidParameter);
        return none;
    }
    return (*nativeGraphics).*field;
}

template <typename Mode>
Status Graphics::StoreMode(Mode detail::GraphicsData::*field, Mode mode, Mode lowest, Mode highest)
{
    if (!nativeGraphics || mode < lowest || mode > highest)
        return SetStatus(InvalidParameter);
    (*nativeGraphics).*field = mode;
    return Ok;
}

Status Graphics::SetInterpolationMode(InterpolationMode mode)
{
    if (mode == InterpolationModeDefault || mode == InterpolationModeLowQuality)
        mode = InterpolationModeBilinear;
    else if (mode == InterpolationModeHighQuality)
        mode = InterpolationModeHighQualityBicubic;
    return StoreMode(&detail::GraphicsData::interpolation, mode, InterpolationModeDefault,
                     InterpolationModeHighQualityBicubic);
}

InterpolationMode Graphics::GetInterpolationMode() const
{
    return ModeOf(&detail::GraphicsData::interpolation, InterpolationModeInvalid);
}

Status Graphics::SetPixelOffsetMode(PixelOffsetMode mode)
{
    return StoreMode(&detail::GraphicsData::pixelOffset, mode, PixelOffsetModeDefault,
                     PixelOffsetModeHalf);
}

PixelOffsetMode Graphics::GetPixelOffsetMode() const
{
    return ModeOf(&detail::GraphicsData::pixelOffset, PixelOffsetModeInvalid);
}

Status Graphics::SetSmoothingMode(SmoothingMode mode)
{
    const Status status = StoreMode(&detail::GraphicsData::smoothing, mode, SmoothingModeDefault,
                                    SmoothingModeAntiAlias);
    if (status == Ok)
        cairo_set_antialias(nativeGraphics->cr,
                            (mode == SmoothingModeHighQuality || mode == SmoothingModeAntiAlias)
                                ? CAIRO_ANTIALIAS_DEFAULT
                                : CAIRO_ANTIALIAS_NONE);
    return status;
}

SmoothingMode Graphics::GetSmoothingMode() const
{
    return ModeOf(&detail::GraphicsData::smoothing, SmoothingModeInvalid);
}

Status Graphics::SetTextRenderingHint(TextRenderingHint hint)
{
    return StoreMode(&detail::GraphicsData::textHint, hint, TextRenderingHintSystemDefault,
                     TextRenderingHintClearTypeGridFit);
}

TextRenderingHint Graphics::GetTextRenderingHint() const
{
    return ModeOf(&detail::GraphicsData::textHint, TextRenderingHintSystemDefault);
}

Status Graphics::SetCompositingMode(CompositingMode mode)
{
    return StoreMode(&detail::GraphicsData::compositing, mode, CompositingModeSourceOver,
                     CompositingModeSourceCopy);
}

CompositingMode Graphics::GetCompositingMode() const
{
    return ModeOf(&detail::GraphicsData::compositing, CompositingModeSourceOver);
}

Status Graphics::SetClip(const Rect& rect, CombineMode combineMode)
{
    if (!nativeGraphics ||
        (combineMode != CombineModeReplace && combineMode != CombineModeIntersect))
        return SetStatus(InvalidParameter);
    cairo_t* cr = nativeGraphics->cr;
    if (combineMode == CombineModeReplace)
        ResetClip();
    double x = rect.X, y = rect.Y, w = std::max(0, rect.Width), h = std::max(0, rect.Height);
    if (nativeGraphics->deviceScale != 1.0) {
        // A clip on whole device pixels, as the rectangle would be filled.
        // Not inside a saved state: restoring it would take the clip back.
        SnapRect(cr, x, y, w, h);
        cairo_matrix_t current;
        cairo_get_matrix(cr, &current);
        cairo_identity_matrix(cr);
        cairo_rectangle(cr, x, y, w, h);
        cairo_clip(cr);
        cairo_set_matrix(cr, &current);
        return Ok;
    }
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    return Ok;
}

Status Graphics::ResetClip()
{
    if (!nativeGraphics)
        return SetStatus(InvalidParameter);
    detail::GraphicsData& g = *nativeGraphics;
    cairo_reset_clip(g.cr);
    if (g.clipW >= 0) {
        // The device context's own clip stays: it bounds the window being painted.
        cairo_matrix_t current;
        cairo_get_matrix(g.cr, &current);
        cairo_identity_matrix(g.cr);
        cairo_rectangle(g.cr, g.clipX, g.clipY, g.clipW, g.clipH);
        cairo_clip(g.cr);
        cairo_set_matrix(g.cr, &current);
    }
    return Ok;
}

Status Graphics::GetVisibleClipBounds(Rect* rect) const
{
    if (!nativeGraphics || !rect)
        return SetStatus(InvalidParameter);
    // Cairo bounds an unclipped image surface by its own extent.
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    cairo_clip_extents(nativeGraphics->cr, &x0, &y0, &x1, &y1);
    const double left = std::floor(x0), top = std::floor(y0);
    *rect = Rect(static_cast<INT>(left), static_cast<INT>(top),
                 static_cast<INT>(std::ceil(x1) - left), static_cast<INT>(std::ceil(y1) - top));
    return Ok;
}

Status Graphics::TranslateTransform(REAL dx, REAL dy)
{
    if (!nativeGraphics)
        return SetStatus(InvalidParameter);
    cairo_translate(nativeGraphics->cr, dx, dy);
    return Ok;
}

Status Graphics::SetDeviceScale(REAL scale, INT originX, INT originY)
{
    if (!nativeGraphics || !platform::IsUsableScale(scale))
        return SetStatus(InvalidParameter);
    detail::GraphicsData& g = *nativeGraphics;
    cairo_t* cr = g.cr;
    cairo_set_matrix(cr, &g.baseMatrix);
    cairo_translate(cr, -platform::DeviceEdge(originX, scale),
                    -platform::DeviceEdge(originY, scale));
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, originX, originY);
    cairo_get_matrix(cr, &g.baseMatrix);
    g.deviceScale = scale;
    return Ok;
}

Status Graphics::ResetTransform()
{
    if (!nativeGraphics)
        return SetStatus(InvalidParameter);
    cairo_set_matrix(nativeGraphics->cr, &nativeGraphics->baseMatrix);
    return Ok;
}

} // namespace Gdiplus

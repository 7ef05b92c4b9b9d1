// Pieces the benchmarks share: plain pictures for our controls, and what the direct Cairo/Pango
// peers set up the same way.
#pragma once

#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/WindowManager.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>

namespace benchkit {

// A bitmap of one colour, for our controls.
inline std::unique_ptr<Gdiplus::Bitmap> SolidBitmap(int w, int h, Gdiplus::ARGB colour)
{
    auto b = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(b.get());
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
    g.FillRectangle(&brush, 0, 0, w, h);
    return b;
}

// A device context on a top-level window's surface, placed and clipped at a child's rectangle,
// as the window layer hands one to a control's DrawItem. Give it back with DeleteDC.
inline HDC ChildDC(HWND topLevel, int x, int y, int w, int h)
{
    const RECT clip{x, y, x + w, y + h};
    return platform::CreateSurfaceDC(platform::wnd::TopLevelSurface(topLevel), POINT{x, y}, &clip);
}

// A peer's picture of one colour. Cairo skips drawing a surface that was never drawn into, so a
// peer's stand-in for a real picture must be painted, or it would cost nothing.
inline cairo_surface_t* SolidSurface(int w, int h, double r, double g, double b, double a = 1.0)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgba(cr, r, g, b, a);
    cairo_paint(cr);
    cairo_destroy(cr);
    return s;
}

// A Pango context drawing grey-antialiased text, with hinted or unhinted metrics as the text
// it stands beside: GDI+ text unhinted, GDI text hinted slightly.
inline PangoContext* TextContext(bool hinted)
{
    PangoContext* ctx = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(fo,
                                        hinted ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(fo, hinted ? CAIRO_HINT_STYLE_SLIGHT : CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(ctx, fo);
    cairo_font_options_destroy(fo);
    return ctx;
}

// A font of that family and style at `px` pixels.
inline PangoFontDescription* Font(const char* family, int px)
{
    PangoFontDescription* desc = pango_font_description_from_string(family);
    pango_font_description_set_absolute_size(desc, px * PANGO_SCALE);
    return desc;
}

// A control composed off screen at its size by `paint`, then put onto the window at its place,
// as owner-drawn controls do. On a window surface with a device scale, the scratch has the
// same scale: `paint` works in logical units, Cairo and Pango draw at device resolution.
template <typename Fn> void Child(cairo_t* window, int x, int y, int w, int h, Fn&& paint)
{
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(cairo_get_target(window), &sx, &sy);
    cairo_surface_t* scratch = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, static_cast<int>(w * sx + 0.5), static_cast<int>(h * sy + 0.5));
    cairo_surface_set_device_scale(scratch, sx, sy);
    cairo_t* cr = cairo_create(scratch);
    paint(cr);
    cairo_destroy(cr);
    cairo_save(window);
    cairo_rectangle(window, x, y, w, h);
    cairo_clip(window);
    cairo_set_source_surface(window, scratch, x, y);
    cairo_paint(window);
    cairo_restore(window);
    cairo_surface_destroy(scratch);
}

} // namespace benchkit

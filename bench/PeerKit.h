// Pieces the benchmarks' direct Cairo/Pango peers share.
#pragma once

#include <cairo.h>

namespace peer {

// A picture of one opaque colour. Cairo skips drawing a surface that was never drawn into, so
// a peer's stand-in for a real picture must be painted, or it would cost nothing.
inline cairo_surface_t* SolidSurface(int w, int h, double r, double g, double b, double a = 1.0)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgba(cr, r, g, b, a);
    cairo_paint(cr);
    cairo_destroy(cr);
    return s;
}

} // namespace peer

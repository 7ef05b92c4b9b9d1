// Tiny picture files for the image cache's tests, written by gdk-pixbuf's encoders (an
// independent peer of the decoders under test).
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>
#include <string>

namespace pictures {

// Saves a w x h picture of one colour at `path` as `type` ("png", "bmp", "ico"); false when
// the encoder fails.
inline bool Save(const std::string& path, int w, int h, std::uint32_t rgba,
                 const char* type = "png")
{
    GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, w, h);
    if (!pb)
        return false;
    gdk_pixbuf_fill(pb, rgba);
    const gboolean ok = gdk_pixbuf_save(pb, path.c_str(), type, nullptr, nullptr);
    g_object_unref(pb);
    return ok;
}

} // namespace pictures

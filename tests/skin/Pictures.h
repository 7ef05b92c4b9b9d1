// Tiny picture files for the image cache's tests: BMP and ICO written byte by byte, PNG
// through gdk-pixbuf's encoder (an independent peer of the decoder under test).
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>
#include <string>

namespace pictures {

inline void Put16(std::string& s, std::uint32_t v)
{
    s += char(v & 0xFF), s += char((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, std::uint32_t v)
{
    Put16(s, v & 0xFFFF), Put16(s, v >> 16);
}

inline std::string InfoHeader(int w, int h, int bits)
{
    std::string s;
    Put32(s, 40), Put32(s, std::uint32_t(w)), Put32(s, std::uint32_t(h)), Put16(s, 1),
        Put16(s, std::uint32_t(bits));
    for (int i = 0; i < 6; ++i)
        Put32(s, 0); // BI_RGB, size, resolution, palette
    return s;
}

// A w x h 24-bit bitmap file of one colour.
inline std::string Bmp(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    const int stride = (w * 3 + 3) & ~3;
    std::string pixels;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            pixels += char(b), pixels += char(g), pixels += char(r);
        pixels.append(std::string::size_type(stride - w * 3), '\0');
    }
    std::string s = "BM";
    Put32(s, std::uint32_t(14 + 40 + pixels.size())), Put32(s, 0), Put32(s, 14 + 40);
    return s + InfoHeader(w, h, 24) + pixels;
}

// A one-image icon file, w x h, 32-bit opaque pixels of one colour.
inline std::string Ico(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    std::string dib = InfoHeader(w, 2 * h, 32);
    for (int i = 0; i < w * h; ++i)
        dib += char(b), dib += char(g), dib += char(r), dib += char(0xFF);
    const int maskStride = ((w + 31) / 32) * 4;
    dib.append(std::string::size_type(maskStride * h), '\0');
    std::string s;
    Put16(s, 0), Put16(s, 1), Put16(s, 1); // reserved, type icon, one image
    s += char(w), s += char(h), s += '\0', s += '\0';
    Put16(s, 1), Put16(s, 32), Put32(s, std::uint32_t(dib.size())), Put32(s, 6 + 16);
    return s + dib;
}

// Saves a w x h PNG of one colour at `path`; false when the encoder fails.
inline bool SavePng(const std::string& path, int w, int h, std::uint32_t rgba)
{
    GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, w, h);
    if (!pb)
        return false;
    gdk_pixbuf_fill(pb, rgba);
    const gboolean ok = gdk_pixbuf_save(pb, path.c_str(), "png", nullptr, nullptr);
    g_object_unref(pb);
    return ok;
}

} // namespace pictures

// Small helpers for probing pixels of a Gdiplus::Bitmap in tests.
#pragma once

#include "platform/base/Stream.h"
#include "platform/gdiplus/Gdiplus.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

inline Gdiplus::ARGB PixelAt(Gdiplus::Bitmap& b, int x, int y)
{
    Gdiplus::Color c;
    b.GetPixel(x, y, &c);
    return c.GetValue();
}

// Channel-wise equality within `tolerance` (premultiplied storage rounds translucent pixels).
inline bool Near(Gdiplus::ARGB a, Gdiplus::ARGB b, int tolerance = 1)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                     static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

// A bitmap whose pixels are given row by row.
inline Gdiplus::Bitmap* MakeBitmap(int w, int h, const Gdiplus::ARGB* pixels)
{
    auto* b = new Gdiplus::Bitmap(w, h, Gdiplus::PixelFormat32bppARGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->SetPixel(x, y, Gdiplus::Color(pixels[y * w + x]));
    return b;
}

// Every pixel of `b` against `want(x, y)`; the first that differs ends the test.
template <class Want> void ExpectPixels(Gdiplus::Bitmap& b, Want want)
{
    for (int y = 0; y < static_cast<int>(b.GetHeight()); ++y)
        for (int x = 0; x < static_cast<int>(b.GetWidth()); ++x)
            ASSERT_EQ(PixelAt(b, x, y), static_cast<Gdiplus::ARGB>(want(x, y))) << x << "," << y;
}

// A picture decoded from bytes in memory, as an Image or a Bitmap.
template <class Picture = Gdiplus::Bitmap>
std::unique_ptr<Picture> FromBytes(const std::vector<BYTE>& bytes)
{
    IStream* s = SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    std::unique_ptr<Picture> picture(Picture::FromStream(s));
    s->Release();
    return picture;
}

inline bool Untouched(Gdiplus::Bitmap& b)
{
    for (int y = 0; y < static_cast<int>(b.GetHeight()); ++y)
        for (int x = 0; x < static_cast<int>(b.GetWidth()); ++x)
            if (PixelAt(b, x, y) != 0)
                return false;
    return true;
}

// A transparent surface drawn with whole source pixels on the pixel grid.
struct PixelCanvas
{
    PixelCanvas(int w, int h) : bitmap(w, h, Gdiplus::PixelFormat32bppARGB), g(&bitmap)
    {
        g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    }
    Gdiplus::Bitmap bitmap;
    Gdiplus::Graphics g;
};

// The character that stands for pixel `p` in a test's picture: that of the first legend entry
// with its colour, '?' for none.
inline char Legend(Gdiplus::ARGB p, std::initializer_list<std::pair<char, Gdiplus::ARGB>> legend)
{
    for (const auto& [c, colour] : legend)
        if (p == colour)
            return c;
    return '?';
}

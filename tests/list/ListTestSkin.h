// Solid-colour skin pictures for the list and scroll bar tests, so that the part shown is read
// from any inner pixel.
#pragma once

#include "platform/gdiplus/Gdiplus.h"

#include <memory>
#include <vector>

namespace listtest {

inline std::unique_ptr<Gdiplus::Bitmap> Solid(int w, int h, Gdiplus::ARGB colour)
{
    auto b = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(b.get());
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
    g.FillRectangle(&brush, 0, 0, w, h);
    return b;
}

// Two bands: the top `split` rows one colour, the rest another.
inline std::unique_ptr<Gdiplus::Bitmap> Banded(int w, int h, int split, Gdiplus::ARGB top,
                                               Gdiplus::ARGB bottom)
{
    auto b = Solid(w, h, bottom);
    Gdiplus::Graphics g(b.get());
    Gdiplus::SolidBrush brush{Gdiplus::Color(top)};
    g.FillRectangle(&brush, 0, 0, w, split);
    return b;
}

} // namespace listtest

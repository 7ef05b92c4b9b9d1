// What the control tests share: solid test pictures, rectangle checks, and where a text was
// drawn in a captured control (the bounding box of the pixels that match a colour test; text
// edges are smoothed, so tests look for strongly coloured pixels rather than one exact value).
#pragma once

#include "platform/gdiplus/Gdiplus.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

inline std::unique_ptr<Gdiplus::Bitmap> Solid(int w, int h, Gdiplus::ARGB colour)
{
    auto b = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(b.get());
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
    g.FillRectangle(&brush, 0, 0, w, h);
    return b;
}

inline void ExpectRect(const Gdiplus::Rect& r, int x, int y, int w, int h, const char* what)
{
    EXPECT_EQ(r.X, x) << what;
    EXPECT_EQ(r.Y, y) << what;
    EXPECT_EQ(r.Width, w) << what;
    EXPECT_EQ(r.Height, h) << what;
}

struct InkBox
{
    int left = -1, top = -1, right = -1, bottom = -1; // inclusive; -1 when nothing matched
    bool Any() const { return left >= 0; }
    int CentreX2() const { return left + right; } // twice the centre, to stay whole
    int CentreY2() const { return top + bottom; }
};

inline InkBox FindInk(Gdiplus::Bitmap& shot, const std::function<bool(const Gdiplus::Color&)>& is)
{
    InkBox b;
    for (int y = 0; y < static_cast<int>(shot.GetHeight()); ++y)
        for (int x = 0; x < static_cast<int>(shot.GetWidth()); ++x) {
            Gdiplus::Color c;
            shot.GetPixel(x, y, &c);
            if (!is(c))
                continue;
            if (!b.Any()) {
                b.left = b.right = x;
                b.top = b.bottom = y;
            }
            b.left = x < b.left ? x : b.left;
            b.right = x > b.right ? x : b.right;
            b.top = y < b.top ? y : b.top;
            b.bottom = y > b.bottom ? y : b.bottom;
        }
    return b;
}

inline bool Reddish(const Gdiplus::Color& c)
{
    return c.GetRed() > 180 && c.GetGreen() < 120 && c.GetBlue() < 120;
}
inline bool Bluish(const Gdiplus::Color& c)
{
    return c.GetBlue() > 180 && c.GetRed() < 120 && c.GetGreen() < 120;
}

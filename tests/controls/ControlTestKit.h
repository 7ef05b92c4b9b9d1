// What the control tests share: a headless host window, pictures made of solid bands, rectangles
// as text (a table row reads as the layout it expects), and where a text was drawn in a captured
// control (the bounding box of the pixels that pass a colour test; text edges are smoothed, so
// tests look for strongly coloured pixels rather than one exact value).
#pragma once

#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

// A w x h picture of vertical bands, left to right: (width, colour); colour 0 stays clear.
inline std::unique_ptr<Gdiplus::Bitmap>
Bands(int w, int h, std::initializer_list<std::pair<int, Gdiplus::ARGB>> bands)
{
    auto b = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(b.get());
    int x = 0;
    for (const auto& [width, colour] : bands) {
        Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
        g.FillRectangle(&brush, x, 0, width, h);
        x += width;
    }
    return b;
}
inline std::unique_ptr<Gdiplus::Bitmap> Solid(int w, int h, Gdiplus::ARGB colour)
{
    return Bands(w, h, {{w, colour}});
}

// "x,y wxh" for each rectangle, joined by " | ".
inline std::string Str(std::initializer_list<Gdiplus::Rect> rects)
{
    std::string s;
    for (const Gdiplus::Rect& r : rects)
        s += (s.empty() ? "" : " | ") + std::to_string(r.X) + "," + std::to_string(r.Y) + " " +
             std::to_string(r.Width) + "x" + std::to_string(r.Height);
    return s;
}

struct InkBox
{
    int left = -1, top = -1, right = -1, bottom = -1; // inclusive; -1 when nothing matched
    bool Any() const { return left >= 0; }
};

inline InkBox FindInk(platform::wnd::HeadlessDriver& driver, CWnd& w,
                      bool (*is)(const Gdiplus::Color&))
{
    InkBox b;
    auto shot = driver.Capture(w.m_hWnd);
    for (int y = 0; shot && y < static_cast<int>(shot->GetHeight()); ++y)
        for (int x = 0; x < static_cast<int>(shot->GetWidth()); ++x) {
            Gdiplus::Color c;
            shot->GetPixel(x, y, &c);
            if (!is(c))
                continue;
            b.left = b.left < 0 || x < b.left ? x : b.left;
            b.right = x > b.right ? x : b.right;
            b.top = b.top < 0 ? y : b.top;
            b.bottom = y;
        }
    return b;
}

// A test with a headless display and a visible top-level `Host` of 300 x 200 at the origin.
template <class Host = CWnd> class HostedTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    }
    DWORD At(CWnd& w, int x, int y) { return driver.PixelAt(w.m_hWnd, {x, y}); }
    InkBox Ink(CWnd& w, bool (*is)(const Gdiplus::Color&)) { return FindInk(driver, w, is); }

    platform::wnd::HeadlessDriver driver;
    Host host;
};

inline bool Reddish(const Gdiplus::Color& c)
{
    return c.GetRed() > 180 && c.GetGreen() < 120 && c.GetBlue() < 120;
}
inline bool Bluish(const Gdiplus::Color& c)
{
    return c.GetBlue() > 180 && c.GetRed() < 120 && c.GetGreen() < 120;
}
inline bool White(const Gdiplus::Color& c) // whiter than the host's face, F0F0F0
{
    return c.GetRed() > 245 && c.GetGreen() > 245 && c.GetBlue() > 245;
}

// What the control tests share: a headless host window, pictures made of solid bands, rectangles
// as text (a table row reads as the layout it expects), and where a text was drawn in a captured
// control (the bounding box of the pixels that pass a colour test; text edges are smoothed, so
// tests look for strongly coloured pixels rather than one exact value).
#pragma once

#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <array>
#include <cwchar>
#include <functional>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

// A w x h picture of vertical bands, left to right: (width, colour); what they leave stays clear.
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
// A w x h picture whose top `split` rows are one colour and the rest another.
inline std::unique_ptr<Gdiplus::Bitmap> TopBand(int w, int h, int split, Gdiplus::ARGB top,
                                                Gdiplus::ARGB rest)
{
    auto b = Solid(w, h, rest);
    Gdiplus::SolidBrush brush{Gdiplus::Color(top)};
    Gdiplus::Graphics(b.get()).FillRectangle(&brush, 0, 0, w, split);
    return b;
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
inline std::string Str(std::initializer_list<CRect> rects)
{
    std::string s;
    for (const CRect& r : rects)
        s += (s.empty() ? "" : " | ") + Str({Gdiplus::Rect(r.left, r.top, r.Width(), r.Height())});
    return s;
}

// A COLORREF as the opaque pixel a capture shows.
inline DWORD Argb(COLORREF c)
{
    Gdiplus::Color p;
    p.SetFromCOLORREF(c);
    return p.GetValue();
}

// The extent of `text` in `font`, measured on a context of our own.
inline SIZE TextExtent(HFONT font, const wchar_t* text)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &s);
    SelectObject(dc, old);
    DeleteDC(dc);
    return s;
}

using ColourTest = bool (*)(const Gdiplus::Color&);
inline constexpr ColourTest Reddish = [](const Gdiplus::Color& c) {
    return c.GetRed() > 180 && c.GetGreen() < 120 && c.GetBlue() < 120;
};
inline constexpr ColourTest Bluish = [](const Gdiplus::Color& c) {
    return c.GetBlue() > 180 && c.GetRed() < 120 && c.GetGreen() < 120;
};
inline constexpr ColourTest White = [](const Gdiplus::Color& c) { // whiter than the F0F0F0 face
    return c.GetRed() > 245 && c.GetGreen() > 245 && c.GetBlue() > 245;
};

struct InkBox
{
    int left = -1, top = -1, right = -1, bottom = -1; // inclusive; -1 when nothing matched
    bool Any() const { return left >= 0; }
};

// A parent that notes what its children tell it, in order: "command <id> <code>" for WM_COMMAND,
// "<message in hex> <wParam> <lParam>" for the private ones (WM_USER and above), each followed
// by what `state` says once the message is handled and "; ".
class CHeardHost : public CWnd
{
public:
    std::string heard;
    std::function<std::string()> state = [] { return std::string(); };

protected:
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override
    {
        const LRESULT result = CWnd::WindowProc(m, w, l); // a reflected notification acts first
        std::ostringstream s;
        if (m == WM_COMMAND)
            s << "command " << LOWORD(w) << " " << HIWORD(w) << " " << state() << "; ";
        else if (m >= WM_USER && m < 0x8000)
            s << std::hex << m << std::dec << " " << w << " " << l << " " << state() << "; ";
        heard += s.str();
        return result;
    }
};

// A test with a headless display and a visible top-level host of 300 x 200 at the origin.
class HostedTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    }
    DWORD At(CWnd& w, int x, int y) { return driver.PixelAt(w.m_hWnd, {x, y}); }
    // Calls `visit(x, y, colour)` for each pixel of `w` inside `area` (all of it when empty).
    template <class Visit> void EachPixel(CWnd& w, Visit visit, CRect area = CRect())
    {
        auto shot = driver.Capture(w.m_hWnd);
        if (shot && area.IsRectEmpty())
            area = CRect(0, 0, int(shot->GetWidth()), int(shot->GetHeight()));
        for (int y = area.top; shot && y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                Gdiplus::Color c;
                shot->GetPixel(x, y, &c);
                visit(x, y, c);
            }
    }
    // How many pixels of `w` inside `area` (the whole window when empty) are exactly `argb`.
    int Count(CWnd& w, DWORD argb, CRect area = CRect())
    {
        int n = 0;
        EachPixel(
            w, [&](int, int, const Gdiplus::Color& c) { n += c.GetValue() == argb; }, area);
        return n;
    }
    InkBox Ink(CWnd& w, ColourTest is)
    {
        InkBox b;
        EachPixel(w, [&](int x, int y, const Gdiplus::Color& c) {
            if (!is(c))
                return;
            b.left = b.left < 0 || x < b.left ? x : b.left;
            b.right = x > b.right ? x : b.right;
            b.top = b.top < 0 ? y : b.top;
            b.bottom = y;
        });
        return b;
    }

    platform::wnd::HeadlessDriver driver;
    CHeardHost host;
};

// The owner-draw helper every control paints through: the modes reach the composing graphics,
// the picture lands 1:1 at the device context's origin, and notifications carry the id.
#include "controls/OwnerDraw.h"

#include "platform/gdiplus/GdiObject.h"

#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr Gdiplus::ARGB kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kClear = 0x00000000u;

Gdiplus::ARGB Pixel(Gdiplus::Bitmap& b, int x, int y)
{
    Gdiplus::Color c;
    b.GetPixel(x, y, &c);
    return c.GetValue();
}

TEST(OwnerDrawCompose, PixelExactModesScaleACheckerOntoWholePixels)
{
    Gdiplus::Bitmap checker(2, 2, Gdiplus::PixelFormat32bppARGB);
    checker.SetPixel(0, 0, Gdiplus::Color(kRed));
    checker.SetPixel(1, 0, Gdiplus::Color(kBlue));
    checker.SetPixel(0, 1, Gdiplus::Color(kBlue));
    checker.SetPixel(1, 1, Gdiplus::Color(kRed));
    // A 6 x 6 target with the DC's origin at (1, 1): the 4 x 4 picture covers 1..4 only.
    Gdiplus::Bitmap target(6, 6, Gdiplus::PixelFormat32bppARGB);
    const HDC dc = platform::CreateSurfaceDC(&target, POINT{1, 1}, nullptr);
    ASSERT_TRUE(dc);
    EXPECT_TRUE(ownerdraw::Compose(
        dc, CSize(4, 4), ownerdraw::kPixelExact, [&](Gdiplus::Graphics& g, int w, int h) {
            g.DrawImage(&checker, Gdiplus::Rect(0, 0, w, h), 0, 0, 2, 2, Gdiplus::UnitPixel);
        }));
    DeleteDC(dc);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x <= 4 && y >= 1 && y <= 4;
            const bool red = ((x - 1) / 2 + (y - 1) / 2) % 2 == 0;
            EXPECT_EQ(Pixel(target, x, y), !inside ? kClear
                                           : red   ? kRed
                                                   : kBlue)
                << "at " << x << "," << y;
        }
}

TEST(OwnerDrawCompose, NothingToDrawOnAnEmptySizeOrWithoutADC)
{
    Gdiplus::Bitmap target(4, 4, Gdiplus::PixelFormat32bppARGB);
    const HDC dc = platform::CreateSurfaceDC(&target, POINT{0, 0}, nullptr);
    for (auto [target, size] : {std::pair<HDC, CSize>{dc, CSize(0, 4)},
                                {dc, CSize(4, 0)},
                                {dc, CSize(-1, -1)},
                                {nullptr, CSize(4, 4)}}) {
        bool painted = false;
        EXPECT_FALSE(ownerdraw::Compose(target, size, ownerdraw::kDefaultModes,
                                        [&](Gdiplus::Graphics&, int, int) { painted = true; }));
        EXPECT_FALSE(painted) << size.cx << "x" << size.cy;
    }
    DeleteDC(dc);
}

TEST(OwnerDrawNotify, TheParentHearsTheControlsIdAndWindowSizeIsTheOuterRectangle)
{
    platform::wnd::HeadlessDriver driver;
    CWnd parent, control, orphan;
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, L"parent", WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    ASSERT_TRUE(control.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 20, 70, 45),
                                 &parent, 1234));
    ASSERT_TRUE(orphan.CreateEx(0, nullptr, L"", WS_VISIBLE, CRect(0, 0, 5, 5), nullptr, 0));
    driver.Record(parent.m_hWnd);
    constexpr UINT kMessage = WM_USER + 7;
    ownerdraw::NotifyParent(control, kMessage, 99);
    ownerdraw::SendToParent(control, kMessage, 5, 6);
    ASSERT_EQ(driver.Recorded().size(), 2u);
    const auto& r = driver.Recorded();
    EXPECT_EQ(std::tuple(r[0].message, r[0].wParam, r[0].lParam, r[1].wParam, r[1].lParam),
              std::tuple(kMessage, WPARAM{1234}, LPARAM{99}, WPARAM{5}, LPARAM{6}));
    EXPECT_EQ(ownerdraw::NotifyParent(orphan, kMessage, 1), 0);
    EXPECT_EQ(ownerdraw::WindowSize(control), CSize(60, 25));
}

TEST(OwnerDrawComposeGdi, TheMemoryPictureLandsWholeAtTheOriginOrNothingIsDrawn)
{
    // A 6 x 6 clear target with the DC's origin at (1, 1): a 3 x 2 picture, its left column
    // filled red and the rest left as the fresh bitmap's opaque black, covers (1..3, 1..2).
    Gdiplus::Bitmap target(6, 6, Gdiplus::PixelFormat32bppARGB);
    const HDC dc = platform::CreateSurfaceDC(&target, POINT{1, 1}, nullptr);
    ASSERT_TRUE(dc);
    EXPECT_TRUE(ownerdraw::ComposeGdi(dc, CSize(3, 2), [&](HDC memory, int w, int h) {
        EXPECT_EQ(std::pair(w, h), std::pair(3, 2));
        const RECT column{0, 0, 1, h};
        FillRect(memory, &column, CBrush(RGB(255, 0, 0)));
    }));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x <= 3 && y >= 1 && y <= 2;
            EXPECT_EQ(Pixel(target, x, y), !inside  ? kClear
                                           : x == 1 ? kRed
                                                    : 0xFF000000u)
                << "at " << x << "," << y;
        }
    for (auto [to, size] :
         {std::pair<HDC, CSize>{dc, CSize(0, 4)}, {dc, CSize(4, -1)}, {nullptr, CSize(4, 4)}}) {
        bool painted = false;
        EXPECT_FALSE(ownerdraw::ComposeGdi(to, size, [&](HDC, int, int) { painted = true; }));
        EXPECT_FALSE(painted) << size.cx << "x" << size.cy;
    }
    DeleteDC(dc);
}

} // namespace

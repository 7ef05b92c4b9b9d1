// Windows at display scales 1.0 to 3.0: logical geometry stays as it is, the surface has the
// device pixels, siblings snap edge to edge, a device point reaches the window that painted it,
// and lines are whole device pixels (text at the device size is the drawing layer's test,
// ScaledGdi, and the scaled demo's display test).
#include "Probe.h"

#include "platform/base/DeviceScale.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using platform::wnd::HeadlessDriver;

namespace {

constexpr double kScales[] = {1.0, 1.25, 1.5, 1.75, 2.0, 3.0};
constexpr Gdiplus::ARGB kGrey = 0xFF808080u, kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu;

// Siblings edge to edge in two rows, of odd sizes and positions so that every scale rounds
// some edges up and some down.
std::vector<CRect> SiblingRects()
{
    std::vector<CRect> rects;
    int x = 3;
    for (int w : {7, 13, 1, 10, 19, 2}) {
        rects.emplace_back(x, 5, x + w, 16);
        rects.emplace_back(x, 16, x + w, 19);
        x += w;
    }
    return rects;
}

class Scaled : public ::testing::TestWithParam<double>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_VISIBLE, CRect(0, 0, 97, 61), nullptr, 0));
        int id = 1;
        for (const CRect& r : SiblingRects()) {
            const auto c = static_cast<Gdiplus::ARGB>(0xFF000000u | (id * 0x1F3D5Bu));
            children.push_back(std::make_unique<CFillWnd>(c));
            ASSERT_TRUE(
                children.back()->Create(nullptr, L"c", WS_CHILD | WS_VISIBLE, r, &parent, id++));
        }
        driver.Pump();
    }
    double Scale() const { return GetParam(); }
    DWORD Pixel(int x, int y)
    {
        Gdiplus::Color c;
        platform::wnd::TopLevelSurface(parent.m_hWnd)->GetPixel(x, y, &c);
        return c.GetValue();
    }

    HeadlessDriver driver{GetParam()};
    CFillWnd parent{kGrey};
    std::vector<std::unique_ptr<CFillWnd>> children;
};

// Logical geometry stays as it is while the surface has the device pixels; siblings neither
// overlap nor leave a gap; a press at each device corner of a child reaches that child, at the
// corner of its logical client, and the pixel there is the child's own.
TEST_P(Scaled, SiblingsSnapEdgeToEdgeAndEachDeviceCornerReachesTheChildThatPaintedIt)
{
    CRect client;
    parent.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 97, 61));
    Gdiplus::Bitmap* surface = platform::wnd::TopLevelSurface(parent.m_hWnd);
    EXPECT_EQ(CSize(surface->GetWidth(), surface->GetHeight()),
              CSize(platform::DeviceEdge(97, Scale()), platform::DeviceEdge(61, Scale())));
    CClientDC dc(&parent);
    EXPECT_EQ(std::pair(GetDeviceCaps(dc.m_hDC, LOGPIXELSY), GetDeviceCaps(dc.m_hDC, HORZRES)),
              std::pair(96, 97));

    std::vector<CRect> device;
    for (const auto& c : children)
        device.emplace_back(driver.DeviceRectOf(c->m_hWnd));
    for (size_t i = 0; i < device.size(); ++i) {
        ASSERT_FALSE(device[i].IsRectEmpty()) << i;
        for (size_t j = i + 1; j < device.size(); ++j) {
            CRect overlap;
            EXPECT_FALSE(overlap.IntersectRect(device[i], device[j])) << i << " and " << j;
        }
    }
    for (size_t i = 0; i + 2 < device.size(); ++i)
        EXPECT_EQ(device[i].right, device[i + 2].left) << i;
    for (size_t i = 0; i < device.size(); i += 2)
        EXPECT_EQ(device[i].bottom, device[i + 1].top) << i;
    const CRect &first = device.front(), &last = device.back();
    for (POINT p : {CPoint(first.left - 1, first.top), CPoint(first.left, first.top - 1),
                    CPoint(last.right, last.top), CPoint(last.left, last.bottom)})
        EXPECT_EQ(Pixel(p.x, p.y), kGrey) << p.x << "," << p.y;

    for (size_t i = 0; i < children.size(); ++i) {
        const CRect& d = device[i];
        CRect logical;
        children[i]->GetClientRect(&logical);
        const std::pair<POINT, CPoint> corners[] = {
            {{d.left, d.top}, {0, 0}},
            {{d.right - 1, d.top}, {logical.right - 1, 0}},
            {{d.left, d.bottom - 1}, {0, logical.bottom - 1}},
            {{d.right - 1, d.bottom - 1}, {logical.right - 1, logical.bottom - 1}},
        };
        for (const auto& [at, client] : corners) {
            const int before = children[i]->downs;
            driver.MoveMouseDevice(parent.m_hWnd, at);
            driver.MouseDown();
            driver.MouseUp();
            driver.AdvanceTime(1000); // no double clicks
            EXPECT_EQ(std::tuple(children[i]->downs, children[i]->down, Pixel(at.x, at.y)),
                      std::tuple(before + 1, client, DWORD{children[i]->color}))
                << i << " at " << at.x << "," << at.y;
        }
    }
}

TEST_P(Scaled, AOnePixelLineCoversTheRoundedScaleInDeviceRows)
{
    CFillWnd line(kWhite, true);
    ASSERT_TRUE(
        line.Create(nullptr, L"l", WS_CHILD | WS_VISIBLE, CRect(30, 25, 60, 40), &parent, 99));
    driver.Pump();
    const CRect d(driver.DeviceRectOf(line.m_hWnd));
    const int column = d.left + platform::DeviceSpan(30, 10, Scale());
    std::vector<int> rows;
    for (int y = d.top; y < d.bottom; ++y)
        if (Pixel(column, y) != kWhite) {
            EXPECT_EQ(Pixel(column, y), kBlack) << "row " << y;
            rows.push_back(y);
        }
    ASSERT_EQ(static_cast<int>(rows.size()), platform::DeviceLineWidth(1, Scale()));
    EXPECT_EQ(rows.front(), platform::DeviceEdge(25 + 3, Scale()));
}

INSTANTIATE_TEST_SUITE_P(Scales, Scaled, ::testing::ValuesIn(kScales));

TEST(WindowScale, AMoveToAnotherScaleKeepsLogicalSizesAndAnUnusableScaleIsRefused)
{
    HeadlessDriver driver(std::nan("")); // refused too: the windows stay at 1
    CFillWnd top(kGrey);
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"t", WS_VISIBLE, CRect(10, 20, 50, 45), nullptr, 0));
    driver.Pump();
    for (double bad : {std::nan(""), 0.0, -2.0, 9.0, HUGE_VAL})
        EXPECT_FALSE(platform::wnd::SetWindowScale(top.m_hWnd, bad)) << bad;
    EXPECT_EQ(std::pair(platform::wnd::WindowScale(top.m_hWnd), top.dpiChanges), std::pair(1.0, 0));

    ASSERT_TRUE(platform::wnd::SetWindowScale(top.m_hWnd, 2.0));
    // The same place on the screen (device 10, 20) in logical pixels of the new scale; the
    // logical size kept.
    EXPECT_EQ(std::tuple(top.dpiChanges, top.dpi, top.suggested),
              std::tuple(1, WPARAM{MAKEWPARAM(192, 192)}, CRect(5, 10, 45, 35)));
    EXPECT_EQ(platform::wnd::TopLevelSurface(top.m_hWnd)->GetWidth(), 80u);
    EXPECT_EQ(driver.PixelAt(top.m_hWnd, {39, 24}), kGrey);
    CRect client;
    top.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 40, 25));
}

TEST(DisplayScale, TheOverrideWinsThenTheDisplayDpiThenXftDpiThenGdkScale)
{
    struct Case
    {
        const char* override;
        double displayDpi, xftDpi;
        const char* gdk;
        double scale; // NaN: refused later by the window layer
    } cases[] = {
        {"2", 96, 96, "1", 2.0},       {"2x", 192, 0, nullptr, std::nan("")},
        {"", 144, 0, nullptr, 1.5},    {nullptr, 101, 192, "3", 1.0},
        {nullptr, 0, 120, "3", 1.25},  {nullptr, -5, 0, "2", 2.0},
        {nullptr, 0, 0, "2.5", 1.0},   {nullptr, 0, 0, "0", 1.0},
        {nullptr, 0, 0, nullptr, 1.0},
    };
    for (const Case& c : cases) {
        const double got =
            platform::wnd::PickDisplayScale(c.override, c.displayDpi, c.xftDpi, c.gdk);
        if (std::isnan(c.scale))
            EXPECT_TRUE(std::isnan(got)) << (c.override ? c.override : "-");
        else
            EXPECT_EQ(got, c.scale)
                << (c.override ? c.override : "-") << " " << c.displayDpi << " " << c.xftDpi;
    }
}

} // namespace

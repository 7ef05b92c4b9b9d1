// Both sliders through the headless window layer: what the parent hears, in order, for a press,
// a drag (also outside the control, under capture) and a release; clamping by SetPos; and a few
// pixels that show where each picture went.
#include "controls/CtrlSliderEx.h"

#include "platform/wnd/headless/HeadlessDriver.h"

#include "ControlTestKit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using platform::wnd::HeadlessDriver;

namespace {

constexpr UINT kId = 42;
constexpr Gdiplus::ARGB kPlayed = 0xFFC02020u, kRemaining = 0xFF20A040u, kThumb = 0xFF2040E0u,
                        kBack = 0xFF303030u;

struct Heard
{
    UINT message;
    WPARAM id;
    LPARAM pos;
    int thumbXThen; // where the slider had last painted its thumb when the parent heard it
};

class CSliderHost : public CWnd
{
public:
    CCtrlSlider* slider = nullptr;
    std::vector<Heard> heard;

protected:
    LRESULT Note(UINT message, WPARAM wParam, LPARAM lParam)
    {
        heard.push_back({message, wParam, lParam, slider ? slider->m_nThumbX : -99});
        return 0;
    }
    LRESULT OnDown(WPARAM w, LPARAM l) { return Note(WM_SLIDER_LBUTTONDOWN, w, l); }
    LRESULT OnUp(WPARAM w, LPARAM l) { return Note(WM_SLIDER_LBUTTONUP, w, l); }
    LRESULT OnMove(WPARAM w, LPARAM l) { return Note(WM_SLIDER_MOUSEMOVE, w, l); }
    DECLARE_MESSAGE_MAP()
};

} // namespace

BEGIN_MESSAGE_MAP(CSliderHost, CWnd)
ON_MESSAGE(WM_SLIDER_LBUTTONDOWN, OnDown)
ON_MESSAGE(WM_SLIDER_LBUTTONUP, OnUp)
ON_MESSAGE(WM_SLIDER_MOUSEMOVE, OnMove)
END_MESSAGE_MAP()

namespace {

class Sliders : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 300, 100), nullptr, 0));
    }
    // A 210 x 20 slider at (20, 30), range 0..100, with 10 x 16 thumb and 4-high bars.
    void Make(CCtrlSlider& s)
    {
        ASSERT_TRUE(
            s.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(20, 30, 230, 50), &host, kId));
        host.slider = &s;
        s.SetImage(played.get(), 0);
        s.SetImage(remaining.get(), 1);
        s.SetImage(thumb.get(), 2);
        s.SetRange(0, 100);
        driver.Pump();
    }
    DWORD At(CCtrlSlider& s, int x, int y) { return driver.PixelAt(s.m_hWnd, {x, y}); }

    HeadlessDriver driver;
    CSliderHost host;
    std::unique_ptr<Gdiplus::Bitmap> played = Solid(8, 4, kPlayed);
    std::unique_ptr<Gdiplus::Bitmap> remaining = Solid(8, 4, kRemaining);
    std::unique_ptr<Gdiplus::Bitmap> thumb = Solid(10, 16, kThumb);
};

// One session with the plain slider: paint, press, drag (also outside the control, under
// capture), release, a release without a press, the setters, then the edges that must not
// divide by zero.
TEST_F(Sliders, PlainSliderSession)
{
    CCtrlSlider s;
    Make(s);
    ASSERT_EQ(s.m_nThumbX, 8) << "position 4 of 0..100 on a 200 track";
    driver.MoveMouse(s.m_hWnd, {105, 10});
    driver.MouseDown();
    EXPECT_EQ(CWnd::GetCapture(), &s);
    // Thumb 100..110, bars 4 high at y 8..11 inset 5 from both ends, the end cap at 200..204.
    EXPECT_EQ(At(s, 50, 10), kPlayed);
    EXPECT_EQ(At(s, 104, 3), kThumb);
    EXPECT_EQ(At(s, 150, 10), kRemaining);
    EXPECT_EQ(At(s, 203, 10), kRemaining);
    EXPECT_NE(At(s, 50, 7), kPlayed);
    EXPECT_NE(At(s, 2, 10), kPlayed);
    EXPECT_NE(At(s, 207, 10), kRemaining);
    driver.MoveMouse(s.m_hWnd, {60, 10});
    driver.MoveMouse(s.m_hWnd, {60, 11});  // unchanged position, still reported
    driver.MoveMouse(s.m_hWnd, {400, 60}); // outside the control: the capture keeps it
    driver.MouseUp();
    driver.MoveMouse(s.m_hWnd, {30, 10}); // no drag: nothing
    driver.AdvanceTime(1000);             // past the double-click time
    driver.MouseUp();                     // a release without a press still notifies
    const std::vector<Heard> want = {
        {WM_SLIDER_LBUTTONDOWN, kId, 50, 8},  {WM_SLIDER_MOUSEMOVE, kId, 28, 100},
        {WM_SLIDER_MOUSEMOVE, kId, 28, 56},   {WM_SLIDER_MOUSEMOVE, kId, 100, 56},
        {WM_SLIDER_LBUTTONUP, kId, 100, 200}, {WM_SLIDER_LBUTTONUP, kId, 100, 200},
    };
    ASSERT_EQ(host.heard.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(host.heard[i].message, want[i].message) << i;
        EXPECT_EQ(host.heard[i].id, want[i].id) << i;
        EXPECT_EQ(host.heard[i].pos, want[i].pos) << i;
        EXPECT_EQ(host.heard[i].thumbXThen, want[i].thumbXThen) << i;
    }
    EXPECT_EQ(s.m_bDragging, 0);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    s.SetRange(0, 20);
    s.SetPos(25);
    EXPECT_EQ(s.GetPos(), 20);
    s.SetRange(0, 5);
    EXPECT_EQ(s.GetPos(), 20) << "a new range does not clamp";
    s.SetImage(thumb.get(), 4); // slot 4 would overwrite the range
    int lo = -1, hi = -1;
    s.GetRange(lo, hi);
    EXPECT_EQ(hi, 5);

    s.SetRange(5, 5);
    s.MoveWindow(20, 30, 8, 20); // narrower than the thumb
    host.heard.clear();
    driver.Click(s.m_hWnd, {4, 10});
    ASSERT_EQ(host.heard.size(), 2u);
    EXPECT_EQ(host.heard[0].pos, 5);
    EXPECT_EQ(s.m_nThumbX, 0);
}

// The scaled slider: thumb and bars scaled to the height, the played bar stretched or tiled.
TEST_F(Sliders, ExtendedSliderPainting)
{
    CCtrlSliderEx s;
    Make(s);
    auto tallThumb = Solid(10, 40, kThumb);
    auto tile = std::make_unique<Gdiplus::Bitmap>(10, 4, Gdiplus::PixelFormat32bppARGB);
    {
        // Left 6 columns red, right 4 dark: a tile shows where it starts.
        Gdiplus::Graphics g(tile.get());
        Gdiplus::SolidBrush red{Gdiplus::Color(kPlayed)}, dark{Gdiplus::Color(kBack)};
        g.FillRectangle(&red, 0, 0, 6, 4);
        g.FillRectangle(&dark, 6, 0, 4, 4);
    }
    s.SetImage(tallThumb.get(), 2);
    s.SetImage(tile.get(), 0);
    s.MoveWindow(20, 30, 55, 20);
    s.SetPos(50); // thumb 5 x 20 at (25, 0), centre 27
    EXPECT_EQ(At(s, 27, 0), kThumb);
    EXPECT_TRUE(s.m_rcThumb == CRect(0, 0, 5, 20));
    EXPECT_EQ(At(s, 27, 19), kThumb);
    EXPECT_EQ(At(s, 20, 9), kBack) << "stretched over 0..27, column 20 comes from column 7";
    EXPECT_EQ(At(s, 5, 10), kPlayed);
    EXPECT_NE(At(s, 5, 8), kPlayed) << "the bar is 2 high at y = 9";
    s.SetBarType(1);
    s.Invalidate();
    EXPECT_EQ(At(s, 5, 9), kPlayed) << "tiles keep their width";
    EXPECT_EQ(At(s, 8, 10), kBack);
    EXPECT_EQ(At(s, 12, 10), kPlayed) << "second tile starts at 10";
    EXPECT_EQ(At(s, 20, 9), kPlayed) << "third tile starts at 20";
    EXPECT_EQ(At(s, 40, 9), kRemaining);
}

} // namespace

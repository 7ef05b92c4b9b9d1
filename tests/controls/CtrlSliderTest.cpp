// Both sliders through the headless window layer: what the parent hears, in order, for a press,
// a drag (also outside the control, under capture) and a release, the range kept by SetPos and
// SetRange, and a few pixels that show where each picture went.
#include "controls/CtrlSliderEx.h"

#include "ControlTestKit.h"

namespace {

constexpr Gdiplus::ARGB kPlayed = 0xFFC02020u, kRemaining = 0xFF20A040u, kThumb = 0xFF2040E0u,
                        kBack = 0xFF303030u;

class Sliders : public HostedTest
{
protected:
    // A 210 x 20 slider at (20, 30), range 0..100, with a 10 x 16 thumb and 4-high bars.
    void Make(CCtrlSlider& s)
    {
        ASSERT_TRUE(
            s.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(20, 30, 230, 50), &host, 42));
        host.state = [&s] { return "@" + std::to_string(s.m_nThumbX); };
        for (int i = 0; i < 3; ++i)
            s.SetImage(pictures[i].get(), i);
        s.SetRange(0, 100);
        driver.Pump();
    }

    std::unique_ptr<Gdiplus::Bitmap> pictures[3] = {Solid(8, 4, kPlayed), Solid(8, 4, kRemaining),
                                                    Solid(10, 16, kThumb)};
};

TEST_F(Sliders, PlainSliderSession)
{
    CCtrlSlider s;
    Make(s);
    driver.MoveMouse(s.m_hWnd, {105, 10});
    driver.MouseDown();
    EXPECT_EQ(CWnd::GetCapture(), &s);
    // Where each picture goes is the layout table's business; the painting follows it: thumb
    // 100..109, bars 4 high at y 8..11 inset 5 from both ends, the end cap at 200..204.
    for (auto [x, y, colour, is] : {std::tuple{50, 10, kPlayed, true},
                                    {104, 3, kThumb, true},
                                    {203, 10, kRemaining, true},
                                    {50, 7, kPlayed, false}})
        EXPECT_EQ(At(s, x, y) == colour, is) << x << "," << y;
    driver.MoveMouse(s.m_hWnd, {60, 10});
    driver.MoveMouse(s.m_hWnd, {60, 11});  // unchanged position, still reported
    driver.MoveMouse(s.m_hWnd, {400, 60}); // outside the control: the capture keeps it
    driver.MouseUp();
    driver.MoveMouse(s.m_hWnd, {30, 10}); // no drag: nothing
    driver.AdvanceTime(1000);             // past the double-click time
    driver.MouseUp();                     // a release without a press still notifies
    // Down 440, up 441, move 442, each with the id, the position and where the slider had last
    // painted its thumb when the parent heard.
    EXPECT_EQ(host.heard, "440 42 50 @8; 442 42 28 @100; 442 42 28 @56; 442 42 100 @56; "
                          "441 42 100 @200; 441 42 100 @200; ");
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    s.SetRange(0, 20);
    s.SetPos(25);
    s.SetRange(0, 5);
    s.SetImage(pictures[2].get(), 4); // not a picture slot: must not overwrite the range
    int lo = -1, hi = -1;
    s.GetRange(lo, hi);
    EXPECT_EQ(s.GetPos() * 100 + hi, 2005) << "clamped to 20, kept by a new range";
}

// The scaled slider: thumb and bars scaled to the height, the played bar stretched or tiled.
TEST_F(Sliders, ExtendedSliderPainting)
{
    CCtrlSliderEx s;
    Make(s);
    auto tallThumb = Solid(10, 40, kThumb);
    auto tile = Bands(10, 4, {{6, kPlayed}, {4, kBack}}); // a tile shows where it starts
    s.SetImage(tallThumb.get(), 2);
    s.SetImage(tile.get(), 0);
    s.MoveWindow(20, 30, 55, 20);
    s.SetPos(50); // thumb 5 x 20 at (25, 0), centre 27; bars 2 high at y 9; x 20 stretched from 7
    for (auto [x, y, colour, is] : {std::tuple{27, 0, kThumb, true},
                                    {27, 19, kThumb, true},
                                    {20, 9, kBack, true},
                                    {5, 10, kPlayed, true},
                                    {5, 8, kPlayed, false},
                                    {40, 9, kRemaining, true}})
        EXPECT_EQ(At(s, x, y) == colour, is) << "stretched: " << x << "," << y;
    s.SetBarType(1);
    s.Invalidate();
    for (auto [x, colour] : {std::pair{5, kPlayed}, {8, kBack}, {12, kPlayed}, {20, kPlayed}})
        EXPECT_EQ(At(s, x, 9), colour) << "tiles of 10 from 0, at their own width: x " << x;
}

} // namespace

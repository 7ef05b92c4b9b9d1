// Both sliders through the headless window layer: what the parent hears, in order, for a press,
// a drag (also outside the control, under capture) and a release, the range kept by SetPos and
// SetRange, and a few pixels that show where each picture went.
#include "controls/CtrlSliderEx.h"

#include "ControlTestKit.h"
#include "controls/KeyboardAccess.h"

#include <chrono>
#include <climits>

namespace {

constexpr Gdiplus::ARGB kPlayed = 0xFFC02020u, kRemaining = 0xFF20A040u, kThumb = 0xFF2040E0u,
                        kBack = 0xFF303030u;

class Sliders : public HostedTest
{
protected:
    // A 210 x 20 slider at (20, 30), range 0..100, with a 10 x 16 thumb and 4-high bars;
    // painted unless asked not to.
    void Make(CCtrlSlider& s, bool paint = true)
    {
        ASSERT_TRUE(
            s.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(20, 30, 230, 50), &host, 42));
        host.state = [&s] { return "@" + std::to_string(s.m_nThumbX); };
        for (int i = 0; i < 3; ++i)
            s.SetImage(pictures[i].get(), i);
        s.SetRange(0, 100);
        if (paint)
            driver.Pump();
    }

    std::unique_ptr<Gdiplus::Bitmap> pictures[3] = {Solid(8, 4, kPlayed), Solid(8, 4, kRemaining),
                                                    Solid(10, 16, kThumb)};
};

TEST_F(Sliders, PlainSliderSessionAndExtendedPainting)
{
    CCtrlSlider s;
    Make(s);
    driver.MoveMouse(s.m_hWnd, {105, 10});
    driver.MouseDown();
    EXPECT_EQ(CWnd::GetCapture(), &s);
    // Where each picture goes is the layout table's business; the painting follows it: thumb
    // 100..109, bars at y 8..11 inset 5 from both ends, the end cap at 200..204.
    for (auto [x, y, colour] :
         {std::tuple{50, 10, kPlayed}, {104, 3, kThumb}, {203, 10, kRemaining}})
        EXPECT_EQ(At(s, x, y), colour) << x << "," << y;
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

    // The scaled slider: thumb and bars scaled to the height, the played bar stretched or tiled.
    CCtrlSliderEx ex;
    Make(ex);
    auto tallThumb = Solid(10, 40, kThumb);
    auto tile = Bands(10, 4, {{6, kPlayed}, {4, kBack}}); // a tile shows where it starts
    ex.SetImage(tallThumb.get(), 2);
    ex.SetImage(tile.get(), 0);
    ex.MoveWindow(20, 30, 55, 20);
    ex.SetPos(50); // thumb 5 x 20 at (25, 0), centre 27; bars 2 high at y 9; x 20 stretched from 7
    EXPECT_EQ(Str({ex.GetThumbRect()}), "25,0 5x20") << "before the paint";
    for (auto [x, y, colour] : {std::tuple{27, 0, kThumb},
                                {27, 19, kThumb},
                                {20, 9, kBack},
                                {5, 10, kPlayed},
                                {40, 9, kRemaining}})
        EXPECT_EQ(At(ex, x, y), colour) << "stretched: " << x << "," << y;
    EXPECT_EQ(Str({ex.m_rcThumb}) + " at " + std::to_string(ex.m_nThumbX), "0,0 5x20 at 25");
    ex.SetBarType(1);
    ex.Invalidate();
    for (auto [x, colour] : {std::pair{5, kPlayed}, {8, kBack}, {12, kPlayed}, {20, kPlayed}})
        EXPECT_EQ(At(ex, x, 9), colour) << "tiles of 10 from 0, at their own width: x " << x;
}

// The thumb's place is a const answer of the slider's state, asked by painting and by the host
// alike: a press on the thumb before the first paint, a drag, and each setter move it at once,
// while m_nThumbX keeps its published meaning (where the last paint put it). The scaled slider's
// is checked in the session above.
TEST_F(Sliders, TheThumbIsWhereTheStateSaysBeforeAnyPaint)
{
    CCtrlSlider s;
    Make(s, false); // position 4: (210 - 10) x 4 / 100 = 8
    auto thumb = [&s] { return Str({s.GetThumbRect()}); };
    EXPECT_EQ(thumb(), "8,2 10x16");
    EXPECT_EQ(s.m_nThumbX, -1) << "not painted yet";
    // A press on the thumb's middle keeps it where it is and starts the drag; nothing painted.
    s.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(13, 10));
    EXPECT_EQ(s.GetPos(), 4);
    EXPECT_EQ(CWnd::GetCapture(), &s);
    s.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(105, 10));
    EXPECT_EQ(thumb(), "100,2 10x16") << "dragged to 50";
    s.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(105, 10));
    EXPECT_EQ(s.m_nThumbX, -1);
    for (auto [step, want] : std::initializer_list<std::pair<std::function<void()>, const char*>>{
             {[&] { s.SetPos(25); }, "50,2 10x16"},
             {[&] { s.SetRange(0, 50); }, "100,2 10x16"},
             {[&] { s.MoveWindow(20, 30, 110, 12); }, "50,0 7x12"}, // shrunk to the height
             {[&] { s.SetImage(nullptr, slider::Thumb); }, "0,0 0x0"}}) {
        step();
        EXPECT_EQ(thumb(), want);
    }
    s.SetImage(pictures[2].get(), slider::Thumb);
    driver.Pump();
    EXPECT_EQ(s.m_nThumbX, s.GetThumbRect().left) << "the last paint put it where it is now";
    EXPECT_EQ(At(s, 55, 6), kThumb);
}

// Host-given extremes through both sliders: ranges and positions at the ends of int, positions
// left far outside a changed range, a press at the ends of int. Each row paints (under the
// sanitizers nothing may overflow) and shows the picture the rule gives: which of the played
// bar, the remaining bar and the thumb covers x = 100 and x = 203 (the end cap).
TEST_F(Sliders, HostileRangesAndPositions)
{
    constexpr int lo = INT_MIN, hi = INT_MAX;
    CCtrlSlider s;
    Make(s);
    // Rows: range set first, position, range set after, where the thumb was painted, what shows
    // at 100 and 203.
    for (auto [min, max, pos, min2, max2, left, at100, at203] :
         {std::tuple{lo, hi, hi, lo, hi, 200, kPlayed, kThumb},
          {lo, hi, lo, lo, hi, 0, kRemaining, kRemaining},
          {lo, hi, 0, lo, hi, 100, kThumb, kRemaining},
          {0, hi, hi, 0, 1, 1 << 22, kPlayed, kRemaining},
          {lo, 0, lo, 0, 1, -(1 << 22), kRemaining, kRemaining}}) {
        s.SetRange(min, max);
        s.SetPos(pos);
        s.SetRange(min2, max2);
        driver.Pump();
        EXPECT_EQ(std::tuple(s.m_nThumbX, At(s, 100, 10), At(s, 203, 10)),
                  std::tuple(left, at100, at203))
            << pos << " of " << min2 << ".." << max2;
    }
    s.SetRange(lo, hi);
    for (int x : {lo, -1, 0, 105, 209, hi}) {
        s.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
        s.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, 10));
    }

    // The tiled bar of a thumb far right of its range: tiles are laid up to the window's edge
    // only, not up to the thumb a billion pixels away.
    CCtrlSliderEx x;
    Make(x);
    auto tile = Bands(10, 4, {{6, kPlayed}, {4, kBack}});
    x.SetImage(tile.get(), 0);
    x.SetBarType(1);
    x.SetRange(0, hi);
    x.SetPos(hi);
    x.SetRange(0, 1);
    const auto start = std::chrono::steady_clock::now();
    x.Invalidate();
    for (auto [px, colour] : {std::pair{5, kPlayed}, {8, kBack}, {205, kPlayed}, {208, kBack}})
        EXPECT_EQ(At(x, px, 10), colour) << "tiles across the whole window: x " << px;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

} // namespace

// With keyboard access on, a focused slider answers its keys as a click and a drag at the new
// place would: a press and its repeats are a press and moves, the release a release. Off, the
// same keys change nothing. Which key moves how far is the key table's business (SliderKeys);
// a single arrow key's press and release through real key events is the SDL keys display test's.
TEST_F(Sliders, KeysMoveTheThumbOnlyWithKeyboardAccess)
{
    CCtrlSlider s;
    Make(s);
    s.SetPos(50);
    s.SetFocus();
    host.heard.clear();
    host.state = [] { return std::string(); };
    driver.Key(VK_RIGHT);
    EXPECT_EQ(std::tuple(s.GetPos(), s.SendMessage(WM_GETDLGCODE), host.heard),
              std::tuple(50, LRESULT(0), ""));

    // A page down held for two repeats, then a key the slider does not take.
    skinkit::EnableKeyboardAccess(true);
    for (int i = 0; i < 3; ++i)
        driver.KeyDown(VK_NEXT);
    driver.KeyUp(VK_NEXT);
    driver.Key('A');
    EXPECT_EQ(std::tuple(s.GetPos(), s.SendMessage(WM_GETDLGCODE), host.heard),
              std::tuple(20, LRESULT(DLGC_WANTARROWS),
                         "440 42 40 ; 442 42 30 ; 442 42 20 ; 441 42 20 ; "));
    // The focus leaving mid-press ends the drag where the thumb stands.
    host.heard.clear();
    driver.KeyDown(VK_RIGHT);
    ::SetFocus(nullptr);
    driver.KeyUp(VK_RIGHT);
    EXPECT_EQ(host.heard, "440 42 21 ; 441 42 21 ; ");
    skinkit::EnableKeyboardAccess(false);
}

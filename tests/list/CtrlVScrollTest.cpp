// The scroll bar through the headless window layer: what the parent hears for arrows, paging,
// dragging and the setters, in order, and the painted thumb.
#include "controls/list/CtrlVScroll.h"

#include "controls/KeyboardAccess.h"

#include "../controls/ControlTestKit.h"

#include <climits>

namespace {

constexpr Gdiplus::ARGB kTrack = 0xFF203040u, kThumb = 0xFFE0C020u, kArrow = 0xFF6080A0u;

// A 12 x 200 bar with 16-high arrows, 100 items, 10 a page: the thumb 40 high, at 17 for 0.
class ScrollBar : public HostedTest
{
protected:
    void SetUp() override
    {
        HostedTest::SetUp();
        Make(bar, 20);
        driver.Pump();
    }
    void Make(CCtrlVScroll& b, int x)
    {
        ASSERT_TRUE(b.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, 0));
        for (int slot = 0; slot < 4; ++slot)
            b.SetImage(pictures[slot].get(), slot);
        b.MoveWindow(x, 0, 12, 200);
        b.SetMaxRowCount(10);
        b.SetItemCount(100);
    }
    void Click(CWnd& w, int y) { driver.Click(w.m_hWnd, {5, y}); }

    CCtrlVScroll bar;
    std::unique_ptr<Gdiplus::Bitmap> pictures[4] = {Solid(48, 16, kArrow), Solid(48, 16, kArrow),
                                                    Solid(12, 50, kTrack), Solid(12, 16, kThumb)};
};

TEST_F(ScrollBar, Session)
{
    Click(bar.m_btnTop, 5); // at 0: nothing
    Click(bar.m_btnBottom, 5);
    Click(bar.m_btnTop, 5);
    bar.SetCurPos(5, 0); // silent
    bar.SetCurPos(5, 1); // unchanged: silent too
    bar.SetCurPos(7, 1);
    bar.SetCurPos(0, 0);
    driver.MoveMouse(bar.m_hWnd, {5, 120}); // below the thumb: pages on the release only
    driver.MouseDown();
    host.heard += "| ";
    driver.MouseUp();
    EXPECT_EQ(bar.GetThumbRect().top, 17 + 128 * 10 / 90);
    Click(bar, 35); // inside the moved thumb: a drag without moves
    Click(bar, 20); // above it
    driver.AdvanceTime(1000);
    driver.MoveMouse(bar.m_hWnd, {5, 30});
    driver.MouseDown();
    driver.MoveMouse(bar.m_hWnd, {5, 20 + 64});  // y′ 64 of the span 128
    driver.MoveMouse(bar.m_hWnd, {40, 20 + 70}); // beside the bar, still captured
    driver.MoveMouse(bar.m_hWnd, {5, 400});      // below it
    driver.MouseUp();
    driver.MoveMouse(bar.m_hWnd, {5, 30}); // released: no longer dragging
    Click(bar.m_btnBottom, 5);             // at the range's end: nothing
    // One page: the arrows switch off and no thumb stands, so the press drags nothing and the
    // release pages to the range's end, 0.
    bar.SetItemCount(10);
    EXPECT_FALSE(bar.m_btnTop.IsWindowEnabled() || bar.m_btnBottom.IsWindowEnabled());
    driver.AdvanceTime(1000);
    driver.MoveMouse(bar.m_hWnd, {5, 150});
    driver.MouseDown();
    bar.SetCurPos(3, 0);
    driver.MoveMouse(bar.m_hWnd, {5, 30});
    driver.MouseUp();
    EXPECT_EQ(host.heard, "465 1 0 ; 465 0 0 ; 465 7 0 ; | 465 10 0 ; 465 0 0 ; "
                          "465 45 0 ; 465 49 0 ; 465 90 0 ; 465 0 0 ; ");
}

// The thumb's rectangle was once stored by the paint, so a press before the first paint missed
// it. A bar that has never painted takes the press on its thumb (81 .. 119 at 45) and drags.
TEST_F(ScrollBar, ThumbPressedBeforeTheFirstPaintDrags)
{
    CCtrlVScroll fresh;
    Make(fresh, 40);
    fresh.SetCurPos(45, 0);
    fresh.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 100));
    fresh.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 20 + 32)); // y′ 32 of 128
    fresh.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 52));
    EXPECT_EQ(host.heard, "465 22 0 ; ");
}

// Counts and positions at the int limits: the thumb stays on the track, and the arrows,
// pages, drags and keys keep to the range.
TEST_F(ScrollBar, CountsAndPositionsAtTheLimits)
{
    skinkit::EnableKeyboardAccess(true);
    const int values[] = {INT_MIN, -1, 0, 1, 10, INT_MAX};
    for (int items : values)
        for (int page : values)
            for (int pos : values) {
                bar.SetItemCount(items);
                bar.SetMaxRowCount(page);
                bar.SetCurPos(pos, 0);
                const CRect thumb = bar.GetThumbRect();
                EXPECT_TRUE(thumb.IsRectEmpty() || (thumb.left == 1 && thumb.right == 11 &&
                                                    thumb.top >= 17 && thumb.bottom <= 184))
                    << items << " " << page << " " << pos;
                At(bar, 5, 100); // painted
                for (UINT vk : {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END})
                    bar.SendMessage(WM_KEYDOWN, vk, 0);
                Click(bar.m_btnBottom, 5);
                Click(bar.m_btnTop, 5);
                Click(bar, 30);
                Click(bar, 190);
                driver.AdvanceTime(1000);
            }
    skinkit::EnableKeyboardAccess(false);
}

// With keyboard access on, a focused bar's keys tell the parent what the arrow, the page click
// or the drag to an end tells it; a held key steps once a repeat. Off, or while the mouse is
// captured, they do nothing.
TEST_F(ScrollBar, KeysActAsTheirMouseActions)
{
    bar.SetFocus();
    // on, key, presses → pos
    const std::tuple<bool, UINT, int, int, const char*> steps[] = {
        {false, VK_DOWN, 1, 0, ""},
        {true, VK_UP, 1, 0, ""},
        {true, VK_DOWN, 3, 3, "465 1 0 ; 465 2 0 ; 465 3 0 ; "},
        {true, VK_NEXT, 1, 13, "465 13 0 ; "},
        {true, VK_END, 1, 90, "465 90 0 ; "},
        {true, VK_DOWN, 1, 90, ""},
        {true, VK_PRIOR, 1, 80, "465 80 0 ; "},
        {true, VK_HOME, 1, 0, "465 0 0 ; "},
        {true, 'A', 1, 0, ""}};
    for (auto [on, vk, presses, pos, heard] : steps) {
        skinkit::EnableKeyboardAccess(on);
        host.heard.clear();
        for (int i = 0; i < presses; ++i) // the later presses are the key's repeats
            driver.KeyDown(vk);
        driver.KeyUp(vk);
        EXPECT_EQ(std::pair(bar.GetCurPos(), host.heard), std::pair(pos, std::string(heard)));
    }
    EXPECT_EQ(bar.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS);
    host.SetCapture();
    driver.Key(VK_END);
    ReleaseCapture();
    EXPECT_EQ(bar.GetCurPos(), 0);
    skinkit::EnableKeyboardAccess(false);
}

TEST_F(ScrollBar, PaintsTrackArrowsAndThumbTiles)
{
    bar.SetImage(pictures[2].get(), 4); // outside the four slots: ignored
    bar.SetImage(pictures[2].get(), -1);
    bar.SetCurPos(90, 0);
    // Thumb 145 .. 183 inside 1 .. 11; the track elsewhere; the arrows at both ends.
    const std::tuple<int, int, Gdiplus::ARGB> pixels[] = {{5, 150, kThumb}, {5, 182, kThumb},
                                                          {0, 150, kTrack}, {5, 100, kTrack},
                                                          {5, 5, kArrow},   {5, 195, kArrow}};
    for (auto [x, y, colour] : pixels)
        EXPECT_EQ(At(bar, x, y), colour) << x << "," << y;
    // Tiled, each 16-pixel tile at 17, 33, 49 (cut to 6) shows its top band first.
    bar.SetCurPos(0, 0);
    auto banded = TopBand(12, 16, 8, kThumb, 0xFF10F010u);
    bar.SetImage(banded.get(), 3);
    bar.SetScrollType(1);
    bar.Invalidate();
    for (auto [y, colour] :
         {std::pair{18, kThumb}, {27, 0xFF10F010u}, {34, kThumb}, {50, kThumb}, {56, kTrack}})
        EXPECT_EQ(At(bar, 5, y), colour) << y;
}

} // namespace

// The scroll bar through the headless window layer: arrows, paging, dragging, the setters'
// silence, and the painted thumb.
#include "controls/list/CtrlVScroll.h"

#include "ListTestSkin.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <vector>

using platform::wnd::HeadlessDriver;

namespace {

constexpr Gdiplus::ARGB kTrack = 0xFF203040u;
constexpr Gdiplus::ARGB kThumb = 0xFFE0C020u;
constexpr Gdiplus::ARGB kArrow = 0xFF6080A0u;

class ScrollBar : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 100, 260), nullptr, 0));
        ASSERT_TRUE(
            bar.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, 0));
        bar.SetImage(arrow.get(), 0);
        bar.SetImage(arrow.get(), 1);
        bar.SetImage(track.get(), 2);
        bar.SetImage(thumb.get(), 3);
        bar.MoveWindow(20, 10, 12, 200);
        bar.SetMaxRowCount(10);
        bar.SetItemCount(100);
        driver.Pump();
        driver.Record(host.m_hWnd);
    }
    // The positions the parent heard, in order.
    std::vector<WPARAM> Heard() const
    {
        std::vector<WPARAM> out;
        for (const MSG& m : driver.Recorded())
            if (m.message == UM_VSCROLL_POS) {
                EXPECT_EQ(m.lParam, 0);
                out.push_back(m.wParam);
            }
        return out;
    }

    HeadlessDriver driver;
    CWnd host;
    CCtrlVScroll bar;
    std::unique_ptr<Gdiplus::Bitmap> arrow = listtest::Solid(48, 16, kArrow);
    std::unique_ptr<Gdiplus::Bitmap> track = listtest::Solid(12, 50, kTrack);
    std::unique_ptr<Gdiplus::Bitmap> thumb = listtest::Solid(12, 16, kThumb);
};

using Positions = std::vector<WPARAM>;

TEST_F(ScrollBar, ArrowsMoveOneItemWithinTheRange)
{
    driver.Click(bar.m_btnTop.m_hWnd, {5, 5}); // at 0: nothing
    driver.Click(bar.m_btnBottom.m_hWnd, {5, 5});
    driver.Click(bar.m_btnBottom.m_hWnd, {5, 5});
    driver.Click(bar.m_btnTop.m_hWnd, {5, 5});
    bar.SetCurPos(90, 0);
    driver.Click(bar.m_btnBottom.m_hWnd, {5, 5}); // at R: nothing
    EXPECT_EQ(Heard(), (Positions{1, 2, 1}));
    EXPECT_EQ(bar.GetCurPos(), 90);
}

TEST_F(ScrollBar, TrackPagesOnReleaseOnly)
{
    // The thumb stands at 17 .. 55 at position 0.
    EXPECT_EQ(bar.m_rcThumb, CRect(1, 17, 11, 55));
    driver.MoveMouse(bar.m_hWnd, {5, 120});
    driver.MouseDown();
    EXPECT_TRUE(Heard().empty());
    driver.MouseUp();
    EXPECT_EQ(bar.m_rcThumb.top, 17 + 128 * 10 / 90);
    driver.Click(bar.m_hWnd, {5, 35}); // inside the moved thumb: a drag without moves
    driver.Click(bar.m_hWnd, {5, 20}); // above it
    EXPECT_EQ(Heard(), (Positions{10, 0}));
}

TEST_F(ScrollBar, DragFollowsThePointerUnderCapture)
{
    driver.MoveMouse(bar.m_hWnd, {5, 30});
    driver.MouseDown();
    driver.MoveMouse(bar.m_hWnd, {5, 20 + 64});  // y′ 64 of span 128
    driver.MoveMouse(bar.m_hWnd, {40, 20 + 70}); // beside the bar, still captured
    driver.MoveMouse(bar.m_hWnd, {5, 400});      // below it
    driver.MouseUp();
    driver.MoveMouse(bar.m_hWnd, {5, 30}); // released: no longer dragging
    EXPECT_EQ(Heard(), (Positions{45, 90 * 70 / 128, 90}));
    EXPECT_EQ(bar.m_bDragging, 0);
}

TEST_F(ScrollBar, SettersAreSilentUnlessAsked)
{
    bar.SetCurPos(5, 0);
    bar.SetCurPos(5, 1);
    bar.SetCurPos(7, 1);
    bar.SetCurPos(-3, 0); // not clamped
    EXPECT_EQ(Heard(), (Positions{7}));
    EXPECT_EQ(bar.GetCurPos(), -3);
}

TEST_F(ScrollBar, OnePageDisablesTheArrowsButAnOldThumbStillStartsADrag)
{
    bar.SetItemCount(10);
    EXPECT_FALSE(bar.m_btnTop.IsWindowEnabled());
    EXPECT_FALSE(bar.m_btnBottom.IsWindowEnabled());
    // The thumb rectangle of the last paint with a thumb stays, and its drag yields 0.
    driver.MoveMouse(bar.m_hWnd, {5, 30});
    driver.MouseDown();
    EXPECT_EQ(bar.m_bDragging, 1);
    bar.SetCurPos(3, 0);
    driver.MoveMouse(bar.m_hWnd, {5, 150});
    driver.MouseUp();
    EXPECT_EQ(Heard(), (Positions{0}));
    bar.SetItemCount(11);
    EXPECT_TRUE(bar.m_btnTop.IsWindowEnabled());
}

TEST_F(ScrollBar, PaintsTrackBetweenTheArrowsAndTheThumbAtItsPlace)
{
    bar.SetCurPos(90, 0);
    // Thumb 145 .. 183 inside 1 .. 11; the track elsewhere; the arrows at both ends.
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {5, 150}), kThumb);
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {5, 182}), kThumb);
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {0, 150}), kTrack);
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {5, 100}), kTrack);
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {5, 5}), kArrow);
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {5, 195}), kArrow);
    EXPECT_EQ(bar.m_rcThumb, CRect(1, 145, 11, 183));
}

TEST_F(ScrollBar, TiledThumbRepeatsItsImage)
{
    auto banded = listtest::Banded(12, 16, 8, kThumb, 0xFF10F010u);
    bar.SetImage(banded.get(), 3);
    bar.SetScrollType(1);
    bar.Invalidate();
    // Tiles at 17, 33 and 49 (6 high): each shows the top band first.
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {5, 18}), kThumb);
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {5, 27}), 0xFF10F010u);
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {5, 34}), kThumb);
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {5, 50}), kThumb);
    EXPECT_EQ(driver.PixelAt(bar.m_hWnd, {5, 56}), kTrack);
}

TEST_F(ScrollBar, ImageIndexOutsideTheFourSlotsIsIgnored)
{
    bar.SetImage(track.get(), 4);
    bar.SetImage(track.get(), -1);
    EXPECT_EQ(bar.m_pImage[3], thumb.get());
}

} // namespace

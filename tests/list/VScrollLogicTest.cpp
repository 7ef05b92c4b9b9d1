// The scroll bar's arithmetic against worked examples: a 200-pixel bar with 16-pixel arrows.
#include "controls/list/VScrollLogic.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr vscroll::Arrows kArrows{true, 16, 16};

TEST(VScrollTrack, ArrowsCountOnlyWhenBothImagesAreThere)
{
    EXPECT_EQ(vscroll::TrackOf(200, kArrows).top, 16);
    EXPECT_EQ(vscroll::TrackOf(200, kArrows).length, 168);
    const vscroll::Track whole = vscroll::TrackOf(200, {false, 16, 0});
    EXPECT_EQ(whole.top, 0);
    EXPECT_EQ(whole.length, 200);
}

struct ThumbCase
{
    int track, items, page, thumb;
};

TEST(VScrollThumb, HeightByPagesRoundedUpAndRaisedToTheMinimum)
{
    const ThumbCase cases[] = {
        {168, 100, 10, 40},  // 10 pages: 16 raised to 40
        {168, 25, 10, 56},   // 3 pages, rounded up
        {168, 10, 10, 168},  // one page: the whole track
        {168, 11, 10, 84},   // two pages
        {30, 5, 10, 40},     // short track
        {168, 100, 0, 168},  // a page of no rows divides nothing
        {168, 100, -3, 168}, // nor does a negative page
    };
    for (const ThumbCase& c : cases)
        EXPECT_EQ(vscroll::ThumbHeight(c.track, c.items, c.page), c.thumb)
            << c.items << " items, page " << c.page;
}

TEST(VScrollThumb, PlacementAtTheLastPosition)
{
    const int top = vscroll::ThumbTop(vscroll::TrackOf(200, kArrows), 40, 90, 90);
    EXPECT_EQ(top, 16 + 1 + 128 * 90 / 90);
    EXPECT_EQ(vscroll::ThumbRect(12, top, 40), CRect(1, 145, 11, 183));
    EXPECT_EQ(vscroll::ThumbTop(vscroll::TrackOf(200, kArrows), 40, 0, 90), 17);
    EXPECT_EQ(vscroll::ThumbTop(vscroll::TrackOf(200, kArrows), 40, 45, 90), 17 + 64);
}

TEST(VScrollThumb, NothingToScrollDrawsNoThumbAndDisablesArrows)
{
    EXPECT_FALSE(vscroll::HasThumb(10, 10));
    EXPECT_FALSE(vscroll::ArrowsEnabled(10, 10));
    EXPECT_TRUE(vscroll::HasThumb(11, 10));
    EXPECT_TRUE(vscroll::ArrowsEnabled(11, 10));
    EXPECT_FALSE(vscroll::HasThumb(100, 0));
    // The track answers presses once a whole page exists, scrollable or not.
    EXPECT_TRUE(vscroll::TrackActive(10, 10));
    EXPECT_FALSE(vscroll::TrackActive(9, 10));
    EXPECT_FALSE(vscroll::TrackActive(100, 0));
}

TEST(VScrollThumb, TiledThumbCutsItsLastTile)
{
    const std::vector<vscroll::Tile> tiles = vscroll::ThumbTiles(50, 40, 16);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[0].y, 50);
    EXPECT_EQ(tiles[0].height, 16);
    EXPECT_EQ(tiles[1].y, 66);
    EXPECT_EQ(tiles[1].height, 16);
    EXPECT_EQ(tiles[2].y, 82);
    EXPECT_EQ(tiles[2].height, 6);
    EXPECT_EQ(vscroll::ThumbTiles(50, 40, 38).size(), 1u);
    EXPECT_TRUE(vscroll::ThumbTiles(50, 40, 0).empty());
}

struct DragCase
{
    int pointY, expected;
};

TEST(VScrollDrag, PositionFromTheTopOfTheBar)
{
    // Thumb 40, span = 200 − 40 − 32 = 128, range 90.
    const DragCase cases[] = {
        {19, 0},                  // y′ below 0
        {20, 0},                  // y′ 0
        {16 + 20, 90 * 16 / 128}, // the very top of the track is not position 0
        {20 + 64, 45},
        {20 + 127, 90 * 127 / 128},
        {20 + 128, 90}, // y′ at span
        {1000, 90},
        {-50, 0},
    };
    for (const DragCase& c : cases)
        EXPECT_EQ(vscroll::DragPosition(c.pointY, 40, 200, kArrows, 90), c.expected)
            << "y " << c.pointY;
    // Nothing to scroll: any drag gives 0.
    EXPECT_EQ(vscroll::DragPosition(150, 40, 200, kArrows, 0), 0);
    EXPECT_EQ(vscroll::DragPosition(150, 40, 200, kArrows, -5), 0);
    // A bar shorter than its thumb and arrows cannot divide by its span.
    EXPECT_EQ(vscroll::DragPosition(30, 40, 60, kArrows, 90), 90);
}

struct PageCase
{
    int pointY, pos, expected;
};

TEST(VScrollPage, ByTheVerticalCoordinateAlone)
{
    const CRect thumb(1, 145, 11, 183);
    const PageCase cases[] = {
        {100, 3, 0},   // page up from 3 goes to 0
        {100, 50, 40}, // page up
        {144, 50, 40}, // just above the thumb
        {145, 50, 50}, // thumb top, inclusive
        {183, 50, 50}, // thumb bottom, inclusive
        {184, 50, 60}, // page down
        {190, 88, 90}, // page down from R − 2 goes to R
        {190, 95, 90}, // from above R, to R
    };
    for (const PageCase& c : cases)
        EXPECT_EQ(vscroll::PagePosition(c.pointY, thumb, c.pos, 10, 90), c.expected)
            << "y " << c.pointY << " from " << c.pos;
}

} // namespace

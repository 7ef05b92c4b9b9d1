// The scroll bar's arithmetic against worked examples: a 200-pixel bar with 16-pixel arrows,
// a thumb of 40 and a range of 90 (a span of 200 − 40 − 32 = 128).
#include "controls/list/VScrollLogic.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>
#include <utility>

namespace {

constexpr vscroll::Arrows kArrows{true, 16, 16};

TEST(VScrollLogic, TrackAndThumb)
{
    const vscroll::Track t = vscroll::TrackOf(200, kArrows);
    EXPECT_EQ(std::pair(t.top, t.length), std::pair(16, 168));
    EXPECT_EQ(vscroll::TrackOf(200, {false, 16, 0}).length, 200); // one arrow missing: none count
    // Track, items, page → thumb: by pages rounded up, raised to 40; no page divides nothing.
    const std::array<int, 4> thumbs[] = {{168, 100, 10, 40}, {168, 25, 10, 56}, {168, 10, 10, 168},
                                         {168, 11, 10, 84},  {30, 5, 10, 40},   {168, 100, 0, 168}};
    for (auto [track, items, page, thumb] : thumbs)
        EXPECT_EQ(vscroll::ThumbHeight(track, items, page), thumb) << items << " / " << page;
    for (auto [pos, top] : {std::pair{0, 17}, {45, 17 + 64}, {90, 17 + 128}})
        EXPECT_EQ(vscroll::ThumbTop(t, 40, pos, 90), top) << pos;
    EXPECT_EQ(vscroll::ThumbRect(12, 145, 40), CRect(1, 145, 11, 183));
    // Items, page → thumb shown, arrows enabled, track answering (a whole page, scrollable or not).
    const std::tuple<int, int, bool, bool, bool> states[] = {{10, 10, false, false, true},
                                                             {11, 10, true, true, true},
                                                             {9, 10, false, false, false},
                                                             {100, 0, false, true, false}};
    for (auto [items, page, thumb, arrows, track] : states) {
        EXPECT_EQ(vscroll::HasThumb(items, page), thumb) << items;
        EXPECT_EQ(vscroll::ArrowsEnabled(items, page), arrows) << items;
        EXPECT_EQ(vscroll::TrackActive(items, page), track) << items;
    }
}

// Counts and positions as the owner gives them: the range once wrapped at the int limits and a
// position past it put the thumb outside the bar.
TEST(VScrollLogic, CountsAndPositionsAtTheLimits)
{
    const std::array<int, 3> ranges[] = {
        {INT_MAX, -1, INT_MAX}, {INT_MIN, 1, INT_MIN}, {100, 10, 90}};
    for (auto [items, page, range] : ranges)
        EXPECT_EQ(vscroll::Range(items, page), range) << items << " - " << page;
    const vscroll::Track t = vscroll::TrackOf(200, kArrows);
    // Position, range → thumb top: outside 0 .. range the thumb stands at the nearer end.
    const std::array<int, 3> tops[] = {
        {INT_MAX, 90, 145}, {INT_MIN, 90, 17},       {-1, 90, 17},
        {91, 90, 145},      {INT_MAX, INT_MAX, 145}, {1, INT_MAX, 17}};
    for (auto [pos, range, top] : tops)
        EXPECT_EQ(vscroll::ThumbTop(t, 40, pos, range), top) << pos << " of " << range;
    EXPECT_EQ(vscroll::ThumbHeight(168, INT_MAX, 1), 40);
    EXPECT_EQ(vscroll::DragPosition(INT_MAX, 40, 200, kArrows, INT_MAX), INT_MAX);
    EXPECT_EQ(vscroll::PagePosition(300, CRect(1, 145, 11, 183), INT_MAX, INT_MAX, INT_MAX),
              INT_MAX);
}

// The cut last tile is the painting test's, read from the pixels.
TEST(VScrollLogic, TiledThumbCutsItsLastTile)
{
    EXPECT_EQ(vscroll::ThumbTiles(50, 40, 38).size(), 1u);
    EXPECT_TRUE(vscroll::ThumbTiles(50, 40, 0).empty());
}

TEST(VScrollLogic, DragFromTheTopOfTheBar)
{
    // The pointer's y, the range, the bar's height → position. A bar shorter than thumb and
    // arrows has no span to divide by.
    const std::array<int, 4> cases[] = {
        {19, 90, 200, 0},   {20, 90, 200, 0},  {84, 90, 200, 45}, {147, 90, 200, 90 * 127 / 128},
        {148, 90, 200, 90}, {150, -5, 200, 0}, {30, 90, 60, 90}};
    for (auto [y, range, height, pos] : cases)
        EXPECT_EQ(vscroll::DragPosition(y, 40, height, kArrows, range), pos) << y << " " << range;
}

TEST(VScrollLogic, PagingByTheVerticalCoordinateAlone)
{
    const CRect thumb(1, 145, 11, 183);
    const std::array<int, 3> cases[] = {{100, 3, 0},   {100, 50, 40}, {144, 50, 40}, {145, 50, 50},
                                        {183, 50, 50}, {184, 50, 60}, {190, 88, 90}, {190, 95, 90}};
    for (auto [y, from, to] : cases)
        EXPECT_EQ(vscroll::PagePosition(y, thumb, from, 10, 90), to) << y << " from " << from;
}

// Keys act only where their mouse action would: arrows while enabled, pages on an active
// track, the ends while a thumb stands; a position the owner left outside 0 .. R is paged in.
TEST(VScrollLogic, KeysActWhereTheirMouseActionWould)
{
    using K = vscroll::Key;
    // key, pos, items, page → pos
    const std::tuple<K, int, int, int, int> cases[] = {
        {K::LineUp, 5, 100, 10, 4},
        {K::LineUp, 5, 10, 10, 5},
        {K::LineDown, -3, 5, 10, -3},
        {K::PageDown, 95, 100, 10, 90},
        {K::PageDown, 3, 5, 10, 3},
        {K::Bottom, 4, 10, 10, 4},
        {K::LineDown, INT_MAX, INT_MAX, INT_MIN, INT_MAX},
        {K::PageUp, INT_MIN, INT_MAX, INT_MAX, 0}};
    for (auto [key, pos, items, page, to] : cases)
        EXPECT_EQ(vscroll::PosForKey(key, pos, items, page), to) << int(key) << " at " << pos;
}

} // namespace

// The sliders' arithmetic against worked examples: the position under the mouse, the thumb's
// place, the two layouts and the tiling of the played bar, with the edges (empty range, a
// window no wider than the thumb, a position outside a changed range).
#include "controls/SliderLogic.h"

#include "ControlTestKit.h"

#include <gtest/gtest.h>

namespace {

struct MouseCase
{
    slider::Range range;
    int x, width, thumb;
    int pos;
};

TEST(SliderLogic, PositionFromTheMouse)
{
    const MouseCase cases[] = {
        {{0, 100}, 105, 210, 10, 50},  // offset 100 of a 200 track
        {{0, 100}, 3, 210, 10, 0},     // offset -2 taken as 0
        {{0, 100}, 300, 210, 10, 100}, // 148 clamped
        {{0, 100}, -40, 210, 10, 0},   // left of the window under capture
        {{10, 20}, 105, 210, 10, 15},
        {{0, 100}, 6, 210, 10, 1}, // offset 1: 0.5 rounds up
        {{0, 3}, 38, 210, 10, 0},  // offset 33: 0.495 rounds down
        {{-50, 50}, 5, 210, 10, -50},
        {{-50, 50}, 205, 210, 10, 50},
        {{0, 2000000}, 1000, 1010, 10, 1990000}, // the widest range the unsigned product allows
        {{7, 7}, 120, 210, 10, 7},               // empty range
        {{0, 100}, 50, 10, 10, 0},               // no track: the window is the thumb
        {{0, 100}, 50, 8, 10, 0},                // narrower than the thumb
    };
    for (const MouseCase& c : cases)
        EXPECT_EQ(slider::PosFromMouse(c.range, c.x, c.width, c.thumb), c.pos)
            << "range " << c.range.min << ".." << c.range.max << " x " << c.x << " W " << c.width;
}

struct ThumbCase
{
    slider::Range range;
    int pos, width, thumb;
    int left;
};

TEST(SliderLogic, ThumbPlace)
{
    const ThumbCase cases[] = {
        {{10, 20}, 15, 210, 10, 100},  {{0, 100}, 50, 210, 10, 100}, {{0, 3}, 1, 210, 10, 66},
        {{0, 100}, 100, 210, 10, 200}, {{0, 5}, 20, 210, 10, 800}, // kept outside a new range
        {{0, 100}, -1, 210, 10, -2},   {{5, 5}, 5, 210, 10, 0},    // empty range
        {{0, 100}, 50, 8, 10, -1},                                 // truncated toward zero
    };
    for (const ThumbCase& c : cases)
        EXPECT_EQ(slider::ThumbLeft(c.range, c.pos, c.width, c.thumb), c.left)
            << "pos " << c.pos << " of " << c.range.min << ".." << c.range.max;
}

TEST(SliderLogic, ClampKeepsTheRange)
{
    EXPECT_EQ(slider::Clamp({0, 20}, 25), 20);
    EXPECT_EQ(slider::Clamp({0, 20}, -3), 0);
    EXPECT_EQ(slider::Clamp({0, 20}, 7), 7);
}

TEST(SliderLogic, PlainLayoutInsetsAndCentring)
{
    // Range 0..100 at 50 in 210 x 20: thumb 10 x 16, bars 6 and 4 high.
    const slider::PlainLayout l =
        slider::LayoutPlain({0, 100}, 50, {210, 20}, {8, 6}, {8, 4}, {10, 16});
    EXPECT_EQ(l.thumbX, 100);
    ExpectRect(l.played, 5, 7, 105, 6, "played");
    ExpectRect(l.remaining, 105, 8, 100, 4, "remaining");
    ExpectRect(l.rightEnd, 200, 8, 5, 4, "right end");
    ExpectRect(l.thumb, 100, 2, 10, 16, "thumb");
}

TEST(SliderLogic, PlainThumbShrinksToALowControl)
{
    // A 16 x 16 thumb in a 12-pixel-high control: 12 x 12 at y = 0; a 14-high bar sits at y -1.
    const slider::PlainLayout l =
        slider::LayoutPlain({0, 100}, 0, {100, 12}, {4, 14}, {4, 4}, {16, 16});
    ExpectRect(l.thumb, 0, 0, 12, 12, "thumb");
    EXPECT_EQ(l.played.Y, -1);
    // At the far right the remaining bar has no width left, not a negative one.
    const slider::PlainLayout r =
        slider::LayoutPlain({0, 100}, 100, {100, 12}, {4, 4}, {4, 4}, {8, 8});
    EXPECT_EQ(r.remaining.Width, 0);
}

TEST(SliderLogic, ExLayoutScalesThumbAndBars)
{
    // A 10 x 40 thumb in a 20-high control: 5 x 20; a 4-high bar 2 high at y = 9.
    slider::ExLayout l{};
    ASSERT_TRUE(slider::LayoutEx({0, 100}, 50, {205, 20}, {10, 4}, {10, 4}, {10, 40}, &l));
    ExpectRect(l.thumbRect, 0, 0, 5, 20, "thumb size");
    EXPECT_EQ(l.thumbX, 100);
    EXPECT_EQ(l.centre, 102);
    ExpectRect(l.played, 0, 9, 102, 2, "played");
    ExpectRect(l.remaining, 102, 9, 103, 2, "remaining");
    ExpectRect(l.thumb, 100, 0, 5, 20, "thumb");
    EXPECT_FALSE(slider::LayoutEx({0, 100}, 50, {205, 20}, {10, 4}, {10, 4}, {10, 0}, &l))
        << "a thumb without height cannot be scaled";
}

TEST(SliderLogic, TiledPlayedBar)
{
    // A 10-wide bar up to xc = 25: tiles at 0, 10, 20, widths 10, 10, 5.
    ASSERT_EQ(slider::TileCount(25, 10), 3);
    EXPECT_EQ(slider::TileWidth(25, 10, 0), 10);
    EXPECT_EQ(slider::TileWidth(25, 10, 1), 10);
    EXPECT_EQ(slider::TileWidth(25, 10, 2), 5);
    EXPECT_EQ(slider::TileCount(30, 10), 3);
    EXPECT_EQ(slider::TileCount(0, 10), 0);
    EXPECT_EQ(slider::TileCount(-4, 10), 0);
    EXPECT_EQ(slider::TileCount(25, 0), 0) << "a picture without width would never end";
}

} // namespace

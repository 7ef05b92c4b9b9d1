// The sliders' arithmetic against worked examples: the position under the mouse, the thumb's
// place, the two layouts and the tiling of the played bar, with the edges (empty range, a
// window no wider than the thumb, a position outside a changed range).
#include "controls/SliderLogic.h"

#include "ControlTestKit.h"

#include <gtest/gtest.h>

namespace {

using slider::Range;

TEST(SliderLogic, PositionFromTheMouse)
{
    const struct
    {
        Range range;
        int x, width, thumb, pos;
    } cases[] = {
        {{0, 100}, 105, 210, 10, 50},
        {{0, 100}, 3, 210, 10, 0}, // offset -2 taken as 0
        {{0, 100}, 300, 210, 10, 100},
        {{0, 100}, -40, 210, 10, 0}, // left of it, under capture
        {{10, 20}, 105, 210, 10, 15},
        {{0, 100}, 6, 210, 10, 1}, // offset 1: 0.5 rounds up
        {{0, 3}, 38, 210, 10, 0},  // 0.495 rounds down
        {{-50, 50}, 5, 210, 10, -50},
        {{-50, 50}, 205, 210, 10, 50},
        {{0, 2000000}, 1000, 1010, 10, 1990000}, // the widest range the unsigned product allows
        {{7, 7}, 120, 210, 10, 7},               // empty range
        {{0, 100}, 50, 10, 10, 0},
        {{0, 100}, 50, 8, 10, 0}, // no track, or narrower than the thumb
    };
    for (const auto& c : cases)
        EXPECT_EQ(slider::PosFromMouse(c.range, c.x, c.width, c.thumb), c.pos)
            << c.range.min << ".." << c.range.max << " x " << c.x << " W " << c.width;
}

TEST(SliderLogic, ThumbPlaceAndClamp)
{
    const struct
    {
        Range range;
        int pos, width, left;
    } cases[] = {
        {{10, 20}, 15, 210, 100},  {{0, 100}, 50, 210, 100}, {{0, 3}, 1, 210, 66},
        {{0, 100}, 100, 210, 200}, {{0, 5}, 20, 210, 800}, // kept outside a new range
        {{0, 100}, -1, 210, -2},   {{5, 5}, 5, 210, 0},    // empty range
        {{0, 100}, 50, 8, -1},                             // truncated toward zero
    };
    for (const auto& c : cases)
        EXPECT_EQ(slider::ThumbLeft(c.range, c.pos, c.width, 10), c.left)
            << c.pos << " of " << c.range.min << ".." << c.range.max;
    for (auto [value, kept] : {std::pair{25, 20}, {-3, 0}, {7, 7}})
        EXPECT_EQ(slider::Clamp({0, 20}, value), kept);
}

TEST(SliderLogic, Layouts)
{
    // Range 0..100 at 50 in 210 x 20, thumb 10 x 16, bars 6 and 4 high: played, remaining, end
    // cap, thumb, each bar inset 5 and centred.
    slider::PlainLayout p = slider::LayoutPlain({0, 100}, 50, {210, 20}, {8, 6}, {8, 4}, {10, 16});
    EXPECT_EQ(p.thumbX, 100);
    EXPECT_EQ(Str({p.played, p.remaining, p.rightEnd, p.thumb}),
              "5,7 105x6 | 105,8 100x4 | 200,8 5x4 | 100,2 10x16");
    // A 16 x 16 thumb in a 12-high control shrinks to 12 x 12 at y 0; a 14-high bar sits at -1.
    p = slider::LayoutPlain({0, 100}, 0, {100, 12}, {4, 14}, {4, 4}, {16, 16});
    EXPECT_EQ(Str({p.played, p.thumb}), "5,-1 8x14 | 0,0 12x12");
    p = slider::LayoutPlain({0, 100}, 100, {100, 12}, {4, 4}, {4, 4}, {8, 8});
    EXPECT_EQ(p.remaining.Width, 0) << "no width left at the far right, not a negative one";

    // The extended slider: a 10 x 40 thumb in a 20-high control is 5 x 20; a 4-high bar 2 at y 9.
    slider::ExLayout x{};
    ASSERT_TRUE(slider::LayoutEx({0, 100}, 50, {205, 20}, {10, 4}, {10, 4}, {10, 40}, &x));
    EXPECT_EQ(x.centre, 102);
    EXPECT_EQ(Str({x.thumbRect, x.played, x.remaining, x.thumb}),
              "0,0 5x20 | 0,9 102x2 | 102,9 103x2 | 100,0 5x20");
    EXPECT_FALSE(slider::LayoutEx({0, 100}, 50, {205, 20}, {10, 4}, {10, 4}, {10, 0}, &x))
        << "a thumb without height cannot be scaled";
}

TEST(SliderLogic, TiledPlayedBar)
{
    const struct
    {
        int end, tile;
        std::string widths;
    } cases[] = {
        {25, 10, "10 10 5"}, {30, 10, "10 10 10"}, {0, 10, ""},
        {-4, 10, ""},        {25, 0, ""}, // a picture without width would never end
    };
    for (const auto& c : cases) {
        std::string widths;
        for (int i = 0; i < slider::TileCount(c.end, c.tile); ++i)
            widths += (i ? " " : "") + std::to_string(slider::TileWidth(c.end, c.tile, i));
        EXPECT_EQ(widths, c.widths) << "up to " << c.end << " by " << c.tile;
    }
}

} // namespace

// The sliders' arithmetic against worked examples: the position under the mouse, the thumb's
// place, the two layouts and the tiling of the played bar, with the edges (empty range, a
// window no wider than the thumb, a position outside a changed range).
#include "controls/SliderLogic.h"

#include "ControlTestKit.h"

#include <climits>

namespace {

// Rows: min, max, mouse x, window width, position; a 10-wide thumb. In order: the worked
// examples (offset 100 of 200, -2 taken as 0, 148 clamped), left of the window under capture,
// offset 1 (0.5 rounds up), offset 33 of 0..3 (0.495 rounds down), a negative range, the widest
// range the unsigned product allows, an empty range, no track, a window narrower than the thumb.
TEST(SliderLogic, PositionFromTheMouseAndThumbPlace)
{
    const std::array<int, 5> cases[] = {{0, 100, 105, 210, 50},  {0, 100, 3, 210, 0},
                                        {0, 100, 300, 210, 100}, {10, 20, 105, 210, 15},
                                        {0, 100, -40, 210, 0},   {0, 100, 6, 210, 1},
                                        {0, 3, 38, 210, 0},      {-50, 50, 5, 210, -50},
                                        {-50, 50, 205, 210, 50}, {0, 2000000, 1000, 1010, 1990000},
                                        {7, 7, 120, 210, 7},     {0, 100, 50, 10, 0},
                                        {0, 100, 50, 8, 0}};
    for (auto [min, max, x, w, pos] : cases)
        EXPECT_EQ(slider::PosFromMouse({min, max}, x, w, 10), pos)
            << min << ".." << max << " x " << x;
    // Rows: min, max, position, window width, thumb left; a 10-wide thumb. A position kept outside
    // a new range, below it, an empty range, a window narrower than the thumb (truncated toward
    // zero). (Clamping is the key table's and the control's SetPos.)
    const std::array<int, 5> thumbs[] = {
        {10, 20, 15, 210, 100}, {0, 100, 50, 210, 100}, {0, 3, 1, 210, 66}, {0, 100, 100, 210, 200},
        {0, 5, 20, 210, 800},   {0, 100, -1, 210, -2},  {5, 5, 5, 210, 0},  {0, 100, 50, 8, -1}};
    for (auto [min, max, pos, w, left] : thumbs)
        EXPECT_EQ(slider::ThumbLeft({min, max}, pos, w, 10), left)
            << pos << " of " << min << ".." << max;
}

TEST(SliderLogic, LayoutsAndTiledPlayedBar)
{
    // Range 0..100 at 50 in 210 x 20, thumb 10 x 16, bars 6 and 4 high: played, remaining, end
    // cap, thumb, each bar inset 5 and centred.
    slider::PlainLayout p = slider::LayoutPlain({0, 100}, 50, {210, 20}, {8, 6}, {8, 4}, {10, 16});
    EXPECT_EQ(std::to_string(p.thumbX) + ": " + Str({p.played, p.remaining, p.rightEnd, p.thumb}),
              "100: 5,7 105x6 | 105,8 100x4 | 200,8 5x4 | 100,2 10x16");
    // A 16 x 16 thumb in a 12-high control shrinks to 12 x 12 at y 0; a 14-high bar sits at -1.
    p = slider::LayoutPlain({0, 100}, 0, {100, 12}, {4, 14}, {4, 4}, {16, 16});
    EXPECT_EQ(Str({p.played, p.thumb}), "5,-1 8x14 | 0,0 12x12");
    p = slider::LayoutPlain({0, 100}, 100, {100, 12}, {4, 4}, {4, 4}, {8, 8});
    EXPECT_EQ(p.remaining.Width, 0) << "no width left at the far right, not a negative one";

    // The extended slider: a 10 x 40 thumb in a 20-high control is 5 x 20; a 4-high bar 2 at y 9.
    slider::ExLayout x{};
    ASSERT_TRUE(slider::LayoutEx({0, 100}, 50, {205, 20}, {10, 4}, {10, 4}, {10, 40}, &x));
    EXPECT_EQ(std::to_string(x.centre) + ": " + Str({x.thumbRect, x.played, x.remaining, x.thumb}),
              "102: 0,0 5x20 | 0,9 102x2 | 102,9 103x2 | 100,0 5x20");
    EXPECT_FALSE(slider::LayoutEx({0, 100}, 50, {205, 20}, {10, 4}, {10, 4}, {10, 0}, &x))
        << "a thumb without height cannot be scaled";
    // Tiles up to the thumb's centre; a picture without width would never end.
    const std::tuple<int, int, const char*> cases[] = {
        {25, 10, "10 10 5"}, {30, 10, "10 10 10"}, {0, 10, ""}, {-4, 10, ""}, {25, 0, ""}};
    for (auto [end, tile, want] : cases) {
        std::string widths;
        for (int i = 0; i < slider::TileCount(end, tile); ++i)
            widths += (i ? " " : "") + std::to_string(slider::TileWidth(end, tile, i));
        EXPECT_EQ(widths, want) << "up to " << end << " by " << tile;
    }
}

// Host-given extremes: ranges and positions at the ends of int, a position left far outside a
// changed range, widths at the ends of int. Every edge is formed wide and saturated: the thumb
// lands where the rule puts it, or at the end of int when the rule leaves int; nothing wraps.
TEST(SliderLogic, HostileValues)
{
    constexpr int lo = INT_MIN, hi = INT_MAX;
    // Rows: min, max, position, window width, thumb left (10-wide thumb).
    // (The whole range of int at its ends and middle is the control's hostile test's.)
    const std::array<int, 5> thumbs[] = {{hi, lo, 0, 210, 99},     {0, 1, hi, 210, hi},
                                         {0, 1, lo, 210, lo},      {0, 1, 1 << 20, 210, 200 << 20},
                                         {0, hi, hi, hi, hi - 10}, {0, 100, 50, lo, lo / 2}};
    for (auto [min, max, pos, w, left] : thumbs)
        EXPECT_EQ(slider::ThumbLeft({min, max}, pos, w, 10), left)
            << pos << " of " << min << ".." << max << " in " << w;
    // Rows: min, max, mouse x, window width, position: the mapping's unsigned arithmetic stays
    // well defined, and its answer inside the range.
    const std::array<int, 4> mice[] = {{lo, hi, 105, 210},
                                       {0, 100, lo, 210},
                                       {0, 100, hi, 210},
                                       {0, 100, 105, hi},
                                       {0, 100, 105, lo}};
    for (auto [min, max, x, w] : mice) {
        const int pos = slider::PosFromMouse({min, max}, x, w, 10);
        EXPECT_TRUE(pos >= min && pos <= max) << x << " in " << w << " gives " << pos;
    }

    // A position far right of a changed range: the played bar reaches past the window (its
    // right edge cut at 2^22), the remaining bar has no width, the end cap stays; far left, the
    // played bar has none and the remaining bar comes from far left up to its own end.
    const std::string far = std::to_string(1 << 22);
    slider::PlainLayout p = slider::LayoutPlain({0, 1}, hi, {210, 20}, {8, 6}, {8, 4}, {10, 16});
    EXPECT_EQ(p.thumbX, hi);
    EXPECT_EQ(Str({p.played, p.remaining, p.rightEnd}),
              "5,7 " + std::to_string((1 << 22) - 5) + "x6 | " + far + ",8 0x4 | 200,8 5x4");
    p = slider::LayoutPlain({0, 1}, lo, {210, 20}, {8, 6}, {8, 4}, {10, 16});
    EXPECT_EQ(Str({p.remaining}), "-" + far + ",8 " + std::to_string((1 << 22) + 205) + "x4");
    EXPECT_LT(p.played.Width, 0);
    slider::ExLayout x{};
    ASSERT_TRUE(slider::LayoutEx({0, 1}, hi, {205, 20}, {10, 4}, {10, 4}, {10, 40}, &x));
    EXPECT_EQ(x.centre, hi);
    EXPECT_EQ(Str({x.played}), "0,9 " + far + "x2");
    EXPECT_LT(x.remaining.Width, 0);
    for (auto [end, tile, i, want] :
         {std::array{hi, 10, 0, 10}, {hi, 10, hi / 10, 7}, {lo, 10, 1, lo}, {10, hi, 2, lo}})
        EXPECT_EQ(slider::TileWidth(end, tile, i), want) << end << " by " << tile << " #" << i;
}

} // namespace

TEST(SliderKeys, EachKeyMovesInsideTheRange)
{
    using slider::Key;
    // Rows: the range, the position, the key, the new position.
    const std::tuple<slider::Range, int, Key, int> cases[] = {
        {{0, 100}, 50, Key::StepDown, 49},
        {{0, 100}, 50, Key::StepUp, 51},
        {{0, 100}, 50, Key::PageDown, 40},
        {{0, 100}, 50, Key::PageUp, 60},
        {{0, 100}, 50, Key::Home, 0},
        {{0, 100}, 50, Key::End, 100},
        {{0, 5}, 5, Key::StepUp, 5},
        {{0, 5}, 5, Key::PageDown, 4},
        {{0, 100}, 0, Key::StepDown, 0},
        {{7, 7}, 7, Key::PageUp, 7},
        {{0, 100}, 250, Key::StepDown, 100},
        {{INT_MIN, INT_MAX}, INT_MAX, Key::PageUp, INT_MAX},
        {{INT_MIN, INT_MAX}, 0, Key::PageDown, -429496729},
    };
    for (auto [r, pos, key, expected] : cases)
        EXPECT_EQ(slider::PosForKey(r, pos, key), expected)
            << r.min << ".." << r.max << " from " << pos << " key " << int(key);
}

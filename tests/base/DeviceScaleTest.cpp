// The one rule from logical to device pixels: edges rounded half up, sizes from the rounded
// edges, and device points mapped back to the logical pixel that covers them.
#include "platform/base/DeviceScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

constexpr double kScales[] = {1.0, 1.25, 1.5, 1.75, 2.0, 3.0};

TEST(DeviceScale, EdgesRoundHalfUpAndEveryDevicePixelBelongsToTheLogicalPixelAroundIt)
{
    const std::tuple<long long, double, int> cases[] = {
        {1, 1.5, 2}, {3, 1.5, 5}, {-1, 1.5, -1}, {2, 1.25, 3}, {1, 1.25, 1}, {3, 1.75, 5},
    };
    for (const auto& [logical, scale, device] : cases)
        EXPECT_EQ(platform::DeviceEdge(logical, scale), device) << logical << " at " << scale;

    // Every device pixel belongs to the logical pixel whose edges surround it.
    for (double s : kScales)
        for (int p = -40; p < 200; ++p) {
            ASSERT_EQ(platform::LogicalCoord(platform::DeviceEdge(p, s), s), p) << s;
            const int from = platform::DeviceEdge(p, s), to = platform::DeviceEdge(p + 1, s);
            // Sizes come from rounded edges: never empty at scale 1 or more, never a gap.
            ASSERT_GE(to - from, 1) << p << " at " << s;
            for (int d = from; d < to; ++d)
                ASSERT_EQ(platform::LogicalCoord(d, s), p) << d << " at " << s;
        }
}

TEST(DeviceScale, ALogicalLineIsTheRoundedScaleAndUnusableScalesAndFarCoordinates)
{
    const std::pair<double, int> cases[] = {{1.0, 1},  {1.25, 1}, {1.5, 2},
                                            {1.75, 2}, {2.0, 2},  {3.0, 3}};
    for (auto [s, rows] : cases) {
        EXPECT_EQ(platform::DeviceLineWidth(1, s), rows) << s;
        EXPECT_EQ(platform::DeviceLineWidth(2, s), 2 * rows) << s;
    }
    EXPECT_EQ(platform::DeviceLineWidth(1, 0.4), 1);

    for (double s : {std::nan(""), std::numeric_limits<double>::infinity(), 0.0, -1.0, 8.01})
        EXPECT_FALSE(platform::IsUsableScale(s)) << s;
    for (double s : {0.5, 1.0, 3.0, 8.0})
        EXPECT_TRUE(platform::IsUsableScale(s)) << s;
    EXPECT_EQ(platform::DeviceEdge(INT_MAX, 3.0), INT_MAX);
    EXPECT_EQ(platform::DeviceEdge(INT_MIN, 3.0), INT_MIN);
}

} // namespace

#include "platform/base/CRect.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

TEST(MulDivRule, RoundsHalfAwayFromZeroAndRefusesZeroDivisor)
{
    // 10.67, 12, -8.25, the halves, then a zero divisor and a result past the int range.
    EXPECT_EQ(
        (std::vector{MulDiv(8, 96, 72), MulDiv(9, 96, 72), MulDiv(-11, 72, 96), MulDiv(7, 1, 2),
                     MulDiv(-7, 1, 2), MulDiv(5, 3, 0), MulDiv(0x7FFFFFFF, 0x7FFFFFFF, 1)}),
        (std::vector{11, 12, -8, 4, -4, -1, -1}));
}

TEST(MessageParams, SignedCoordinatesFromLParam)
{
    const LPARAM lp = MAKELPARAM(static_cast<WORD>(-5), 300);
    EXPECT_EQ(GET_X_LPARAM(lp), -5);
    EXPECT_EQ(GET_Y_LPARAM(lp), 300);
}

TEST(RectGeometry, PtInRectExcludesRightAndBottom)
{
    const CRect r(10, 20, 30, 40);
    EXPECT_EQ(std::tuple(r.PtInRect(CPoint(10, 20)), r.PtInRect(CPoint(30, 25)),
                         r.PtInRect(CPoint(15, 40))),
              std::tuple(TRUE, FALSE, FALSE));
    CRect i;
    EXPECT_FALSE(i.IntersectRect(r, CRect(30, 20, 40, 40)));
    EXPECT_TRUE(i.IsRectNull());
}

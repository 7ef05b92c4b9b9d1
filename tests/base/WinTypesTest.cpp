#include "platform/base/CRect.h"

#include <gtest/gtest.h>

TEST(MulDivRule, RoundsHalfAwayFromZeroAndRefusesZeroDivisor)
{
    EXPECT_EQ(MulDiv(8, 96, 72), 11); // 10.67
    EXPECT_EQ(MulDiv(9, 96, 72), 12);
    EXPECT_EQ(MulDiv(-11, 72, 96), -8); // -8.25
    EXPECT_EQ(MulDiv(7, 1, 2), 4);
    EXPECT_EQ(MulDiv(-7, 1, 2), -4);
    EXPECT_EQ(MulDiv(5, 3, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 0x7FFFFFFF, 1), -1);
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
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 25)));
    EXPECT_FALSE(r.PtInRect(CPoint(15, 40)));
    CRect i;
    EXPECT_FALSE(i.IntersectRect(r, CRect(30, 20, 40, 40)));
    EXPECT_TRUE(i.IsRectNull());
}

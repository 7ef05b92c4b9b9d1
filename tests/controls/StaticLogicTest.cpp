// The statics' logic against worked examples: the label's alignment from its style or from
// SetTextAlign, the icon's place, the digit cells and the digit a cell shows.
#include "controls/StaticLogic.h"

#include <gtest/gtest.h>

namespace {

using Gdiplus::StringAlignmentCenter;
using Gdiplus::StringAlignmentFar;
using Gdiplus::StringAlignmentNear;

struct AlignCase
{
    int bits;
    bool set;
    Gdiplus::StringAlignment h, v; // given to SetTextAlign
    Gdiplus::StringAlignment wantH, wantV;
    bool shown;
};

TEST(StaticLogic, LabelAlignment)
{
    const AlignCase cases[] = {
        {0, false, StringAlignmentFar, StringAlignmentFar, StringAlignmentNear, StringAlignmentNear,
         true},
        {1, false, StringAlignmentFar, StringAlignmentFar, StringAlignmentCenter,
         StringAlignmentNear, true},
        {2, false, StringAlignmentNear, StringAlignmentFar, StringAlignmentFar, StringAlignmentNear,
         true},
        {3, false, StringAlignmentNear, StringAlignmentNear, StringAlignmentNear,
         StringAlignmentNear, false},
        {1, true, StringAlignmentNear, StringAlignmentCenter, StringAlignmentNear,
         StringAlignmentCenter, true},
        {3, true, StringAlignmentFar, StringAlignmentFar, StringAlignmentFar, StringAlignmentFar,
         true},
    };
    for (const AlignCase& c : cases) {
        const stc::TextPlan p = stc::LabelText(c.bits, c.set, c.h, c.v);
        EXPECT_EQ(p.showText, c.shown) << "bits " << c.bits << " set " << c.set;
        if (c.shown) {
            EXPECT_EQ(p.horizontal, c.wantH) << "bits " << c.bits << " set " << c.set;
            EXPECT_EQ(p.vertical, c.wantV) << "bits " << c.bits << " set " << c.set;
        }
    }
    EXPECT_EQ(stc::AlignmentBits(0x50000002u), 2);
    EXPECT_EQ(stc::AlignmentBits(0x50000103u), 3);
}

TEST(StaticLogic, IconAndTextPlace)
{
    EXPECT_EQ(stc::IconTop(20, 16), 2);
    EXPECT_EQ(stc::TextLeft(true, 16), 21);
    EXPECT_EQ(stc::TextLeft(false, 16), 0);
    EXPECT_EQ(stc::IconTop(10, 16), -3) << "a tall icon sits above the top, centred";
    EXPECT_EQ(stc::IconTop(10, 15), -2) << "signed halving truncates toward zero";
}

struct CellCase
{
    int width, count, i;
    int x, w;
};

TEST(StaticLogic, DigitCells)
{
    const CellCase cases[] = {
        {60, 3, 0, 0, 20},  {60, 3, 1, 20, 20}, {60, 3, 2, 40, 20},
        {61, 3, 2, 40, 20}, // the last column stays free
        {60, 2, 1, 30, 30}, {10, 3, 1, 3, 3},   {10, 3, 2, 6, 3},
    };
    for (const CellCase& c : cases) {
        const Gdiplus::Rect r = stc::DigitCell(c.width, 20, c.count, c.i);
        EXPECT_EQ(r.X, c.x) << c.width << "/" << c.count << " cell " << c.i;
        EXPECT_EQ(r.Width, c.w) << c.width << "/" << c.count << " cell " << c.i;
        EXPECT_EQ(r.Y, 0);
        EXPECT_EQ(r.Height, 20);
    }
    EXPECT_EQ(stc::DigitCell(60, 20, 0, 0).Width, 0) << "no cells, no division";
}

TEST(StaticLogic, DigitOfACharacter)
{
    const CString text(L"04a2");
    EXPECT_EQ(stc::DigitAt(text, 0), 0);
    EXPECT_EQ(stc::DigitAt(text, 1), 4);
    EXPECT_EQ(stc::DigitAt(text, 2), -1) << "not a digit";
    EXPECT_EQ(stc::DigitAt(text, 3), 2);
    EXPECT_EQ(stc::DigitAt(text, 4), -1) << "past the text";
    EXPECT_EQ(stc::DigitAt(text, -1), -1);
    EXPECT_EQ(stc::DigitAt(CString(L":"), 0), -1) << "the character after '9'";
    EXPECT_EQ(stc::DigitAt(CString(L"/"), 0), -1) << "the character before '0'";
}

} // namespace

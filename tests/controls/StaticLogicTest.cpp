// The statics' logic against worked examples: the label's alignment from its style or from
// SetTextAlign, the icon's place, the digit cells and the digit a cell shows.
#include "controls/StaticLogic.h"

#include "ControlTestKit.h"

#include <gtest/gtest.h>

namespace {

constexpr auto N = Gdiplus::StringAlignmentNear, C = Gdiplus::StringAlignmentCenter,
               F = Gdiplus::StringAlignmentFar;

TEST(StaticLogic, LabelAlignment)
{
    const struct
    {
        DWORD style;
        bool set;
        Gdiplus::StringAlignment h, v, wantH, wantV; // h, v: given to SetTextAlign
        bool shown;
    } cases[] = {
        {0x50000000u, false, F, F, N, N, true}, {0x50000001u, false, F, F, C, N, true},
        {0x50000002u, false, N, F, F, N, true}, {0x50000103u, false, N, N, N, N, false},
        {0x50000001u, true, N, C, N, C, true},  {0x50000003u, true, F, F, F, F, true},
    };
    for (const auto& c : cases) {
        const stc::TextPlan p = stc::LabelText(stc::AlignmentBits(c.style), c.set, c.h, c.v);
        EXPECT_EQ(p.showText, c.shown) << std::hex << c.style << " set " << c.set;
        if (c.shown) {
            EXPECT_EQ(p.horizontal * 3 + p.vertical, c.wantH * 3 + c.wantV)
                << std::hex << c.style << " set " << c.set;
        }
    }
}

TEST(StaticLogic, IconCellsAndDigits)
{
    // Icon top in a control, signed halving toward zero; the text starts 5 past the icon.
    for (auto [h, icon, top] : {std::tuple{20, 16, 2}, {10, 16, -3}, {10, 15, -2}})
        EXPECT_EQ(stc::IconTop(h, icon), top) << h << " high, icon " << icon;
    EXPECT_EQ(stc::TextLeft(true, 16), 21);
    EXPECT_EQ(stc::TextLeft(false, 16), 0);

    // Cells of W / n in whole numbers: 61 / 3 leaves the last column free.
    const struct
    {
        int width, count, i;
        std::string cell;
    } cells[] = {{60, 3, 0, "0,0 20x20"},  {60, 3, 2, "40,0 20x20"}, {61, 3, 2, "40,0 20x20"},
                 {60, 2, 1, "30,0 30x20"}, {10, 3, 1, "3,0 3x20"},   {10, 3, 2, "6,0 3x20"},
                 {60, 0, 0, "0,0 0x0"}}; // no cells, no division
    for (const auto& c : cells)
        EXPECT_EQ(Str({stc::DigitCell(c.width, 20, c.count, c.i)}), c.cell)
            << c.width << "/" << c.count << " cell " << c.i;

    // The digit a character shows; -1 outside the text, before '0' and after '9'.
    const CString text(L"04a2/:");
    std::string digits;
    for (int i = -1; i <= 6; ++i)
        digits += std::to_string(stc::DigitAt(text, i)) + " ";
    EXPECT_EQ(digits, "-1 0 4 -1 2 -1 -1 -1 ");
}

} // namespace

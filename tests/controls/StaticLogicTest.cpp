// The statics' logic against worked examples: the label's alignment from its style or from
// SetTextAlign, the icon's place, the digit cells and the digit a cell shows.
#include "controls/StaticLogic.h"

#include "ControlTestKit.h"

#include <climits>

namespace {

// Rows: style, SetTextAlign called, its horizontal and vertical (0 near, 1 centre, 2 far),
// then the plan as "horizontal vertical", or "-" for no text (alignment bits 3 without it).
TEST(StaticLogic, LabelAlignmentIconCellsAndDigits)
{
    const std::tuple<unsigned, bool, int, int, const char*> cases[] = {
        {0x50000000u, false, 2, 2, "0 0"}, {0x50000001u, false, 2, 2, "1 0"},
        {0x50000002u, false, 0, 2, "2 0"}, {0x50000103u, false, 0, 0, "-"},
        {0x50000001u, true, 0, 1, "0 1"},  {0x50000003u, true, 2, 2, "2 2"}};
    for (auto [style, set, h, v, want] : cases) {
        const stc::TextPlan p =
            stc::LabelText(stc::AlignmentBits(style), set, Gdiplus::StringAlignment(h),
                           Gdiplus::StringAlignment(v));
        EXPECT_EQ(p.showText ? std::to_string(p.horizontal) + " " + std::to_string(p.vertical)
                             : "-",
                  want)
            << std::hex << style << " set " << set;
    }
    // Icon top in a control, signed halving toward zero; the text starts 5 past the icon.
    for (auto [h, icon, top] : {std::tuple{20, 16, 2}, {10, 16, -3}, {10, 15, -2}})
        EXPECT_EQ(stc::IconTop(h, icon), top) << h << " high, icon " << icon;
    EXPECT_EQ(std::pair(stc::TextLeft(true, 16), stc::TextLeft(false, 16)), std::pair(21, 0));

    // Cells of W / n in whole numbers: 61 / 3 leaves the last column free; no cells, no division.
    const std::tuple<int, int, int, const char*> cells[] = {
        {60, 3, 0, "0,0 20x20"},  {60, 3, 2, "40,0 20x20"}, {61, 3, 2, "40,0 20x20"},
        {60, 2, 1, "30,0 30x20"}, {10, 3, 1, "3,0 3x20"},   {10, 3, 2, "6,0 3x20"},
        {60, 0, 0, "0,0 0x0"}};
    for (auto [w, n, i, cell] : cells)
        EXPECT_EQ(Str({stc::DigitCell(w, 20, n, i)}), cell) << w << "/" << n << " cell " << i;

    // The digit a character shows; -1 outside the text, before '0' and after '9'.
    std::string digits;
    for (int i = -1; i <= 6; ++i)
        digits += std::to_string(stc::DigitAt(CString(L"04a2/:"), i)) + " ";
    EXPECT_EQ(digits, "-1 0 4 -1 2 -1 -1 -1 ");
}

// Host-given extremes: a digit count at the ends of int, text offsets at the ends of int, an
// icon at the end of int. The painting loops CellsToDraw times: never past the text, never
// over cells narrower than a pixel; text boxes keep their side with edges cut at 2^22.
TEST(StaticLogic, HostileCountsAndOffsets)
{
    constexpr int lo = INT_MIN, hi = INT_MAX;
    // Rows: width, digit count, text length, cells drawn.
    const std::array<int, 4> counts[] = {{61, 3, 3, 3},  {61, 5, 3, 3},  {61, 2, 3, 2},
                                         {61, 61, 3, 3}, {61, 62, 3, 0}, {61, hi, 3, 0},
                                         {61, lo, 3, 0}, {61, 0, 3, 0},  {hi, hi, 1000, 1000}};
    for (auto [w, n, len, cells] : counts)
        EXPECT_EQ(stc::CellsToDraw(w, n, len), cells) << w << " wide, " << n << " digits";
    EXPECT_EQ(Str({stc::DigitCell(hi, 20, hi, hi - 1)}), std::to_string(hi - 1) + ",0 1x20");
    const std::string far = std::to_string(1 << 22);
    // Rows: width, left, text box.
    for (auto [w, left, box] :
         {std::tuple{100, 30, std::string("30,0 70x20")},
          {100, hi, far + ",0 " + std::to_string(100 - (1 << 22)) + "x20"},
          {100, lo, "-" + far + ",0 " + std::to_string((1 << 22) + 100) + "x20"},
          {100, 200, "200,0 -100x20"}})
        EXPECT_EQ(Str({stc::TextBox(w, 20, left)}), box) << left;
    EXPECT_EQ(stc::TextLeft(true, hi), hi);
}

} // namespace

// The group box's layout and pixel rules, as tables.
#include "controls/GroupBoxLogic.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

TEST(GroupBoxLayout, BandsHeaderAndItsIconAndText)
{
    // Text 14 high: h = 15; an icon of 16 decides: h = 17; nothing at all: h = 1; 9 / 2 -> 4.
    const std::array<int, 6> cases[] = {
        {14, 0, 15, 7, 7, 7}, {14, 16, 17, 8, 0, 8}, {0, 0, 1, 0, 0, 0}, {20, 9, 21, 10, 6, 10}};
    for (auto [textHeight, icon, headerBottom, borderTop, iconTop, half] : cases) {
        const grp::Bands b = grp::Layout(CRect(0, 0, 100, 60), CSize(40, textHeight), icon);
        EXPECT_EQ(std::tuple(b.header, b.border, b.icon, b.headerHalf),
                  std::tuple(CRect(0, 0, 100, headerBottom), CRect(0, borderTop, 100, 60),
                             CRect(0, iconTop, 100, iconTop + icon), half));
    }
    // Band (10, 0)-(210, 15); text 50 wide, icon 16 with spacing 8 -> w = 74.
    const CRect band(10, 0, 210, 15);
    // Rows: style, alignment, margins x and y, text width, icon size, the header.
    const std::tuple<int, int, int, int, int, int, CRect> headers[] = {
        {grp::StyleFrame, grp::AlignLeft, 8, 0, 50, 16, {18, 0, 98, 15}},
        {grp::StyleFrame, grp::AlignCenter, 8, 0, 50, 16, {70, 0, 150, 15}},
        {grp::StyleFrame, grp::AlignRight, 8, 0, 50, 16, {122, 0, 202, 15}},
        {grp::StyleFrame, 7, 8, 0, 50, 16, {122, 0, 202, 15}}, // any other: right
        {grp::StyleHeader, grp::AlignLeft, 8, 0, 50, 16, {10, 0, 87, 15}},
        {grp::StyleHeader, grp::AlignCenter, 8, 0, 50, 16, {70, 0, 150, 15}},
        {grp::StyleHeader, grp::AlignRight, 8, 0, 50, 16, {133, 0, 210, 15}},
        {5, grp::AlignLeft, 8, 0, 50, 16, {10, 0, 87, 15}}, // any other style: header
        {grp::StyleFrame, grp::AlignLeft, 8, 3, 50, 16, {18, 3, 98, 18}},
        {grp::StyleFrame, grp::AlignLeft, 8, 0, 50, 0, {18, 0, 74, 15}},     // no icon: no spacing
        {grp::StyleFrame, grp::AlignLeft, 8, 0, 0, 16, {18, 0, 40, 15}},     // no text: no spacing
        {grp::StyleFrame, grp::AlignCenter, 0, 0, 195, 0, {10, 0, 211, 15}}, // (200-201)/2 = 0
        {grp::StyleFrame, grp::AlignCenter, 0, 0, 196, 0, {9, 0, 211, 15}},  // (200-202)/2 = -1
    };
    for (const auto& [style, alignment, marginX, marginY, textWidth, icon, expected] : headers)
        EXPECT_EQ(grp::HeaderRect(band, {style, alignment, textWidth, icon, 8, marginX, marginY}),
                  expected)
            << style << "/" << alignment << " text " << textWidth << " icon " << icon;
    for (auto [style, alignment, iconAfter, textWidth, icon, iconLeft, textLeft] :
         {std::tuple{grp::StyleFrame, grp::AlignLeft, false, 50, 16, 23, 47},
          {grp::StyleFrame, grp::AlignLeft, false, 50, 0, 23, 23},
          {grp::StyleFrame, grp::AlignLeft, true, 50, 16, 81, 23},
          {grp::StyleFrame, grp::AlignLeft, true, 0, 16, 23, 23},
          {grp::StyleHeader, grp::AlignLeft, false, 50, 16, 20, 44}, // no indent
          {grp::StyleHeader, grp::AlignCenter, false, 50, 16, 23, 47}}) {
        const grp::Placement p =
            grp::PlaceItems(20, style, alignment, iconAfter, textWidth, icon > 0, icon, 8);
        EXPECT_EQ(std::pair(p.iconLeft, p.textLeft), std::pair(iconLeft, textLeft))
            << style << "/" << alignment << "/" << iconAfter;
    }
    // An icon at size 0 still brings its spacing.
    EXPECT_EQ(grp::PlaceItems(20, grp::StyleFrame, grp::AlignLeft, false, 50, true, 0, 8).textLeft,
              31);
}

TEST(GroupBoxPixels, GrayIconPixelsAndWhollyInside)
{
    grp::Palette palette;
    grp::FillGrayPalette(palette);
    const std::pair<DWORD, DWORD> cases[] = {
        {0xFFFFFFFF, 0xFFFEFEFE}, // white becomes 254 gray
        {0x00000000, 0x00000000}, // transparent black stays
        {0x00FFFFFF, 0x00FEFEFE}, // transparent white does not
        {0x80000000, 0x80000000}, // black (index 255) with alpha: palette black
        {0xFF0000FF, 0xFF555555}, // blue 255: average 85
        {0x00010101, 0x00010101}, // index 254: changed, though it looks the same
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(grp::GrayPixel(in, palette), out) << std::hex << in;
    const std::pair<CRect, bool> children[] = {
        {{10, 10, 100, 100}, true}, {{20, 20, 30, 30}, true}, {{90, 20, 101, 30}, false},
        {{9, 20, 30, 30}, false},   {{20, 5, 30, 30}, false}, {{20, 20, 30, 101}, false},
    };
    for (const auto& [child, inside] : children)
        EXPECT_EQ(grp::Inside(child, CRect(10, 10, 100, 100)), inside)
            << child.left << "," << child.top;
}

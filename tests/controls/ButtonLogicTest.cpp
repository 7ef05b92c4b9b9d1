// The skinned button's logic tables.
#include "controls/ButtonLogic.h"

#include "platform/wnd/WinUser.h"

#include "ControlTestKit.h"

#include <tuple>

using namespace btn;

TEST(ButtonState, EveryCombinationOfDownDisabledAndHover)
{
    const std::tuple<bool, bool, bool, State> cases[] = {
        {false, false, false, Normal},     {false, false, true, Hover},
        {true, false, false, Down},        {true, false, true, DownHover},
        {false, true, false, Disabled},    {false, true, true, Disabled},
        {true, true, false, DownDisabled}, {true, true, true, DownDisabled}};
    for (auto [down, disabled, hover, want] : cases)
        EXPECT_EQ(ChooseState({down, disabled, hover}), want) << down << disabled << hover;
}

TEST(ButtonClassify, TypeBitsDecideCheckTypeAndPushLike)
{
    const std::tuple<DWORD, bool, bool> cases[] = {{BS_PUSHBUTTON, false, false},
                                                   {BS_CHECKBOX, true, false},
                                                   {BS_AUTOCHECKBOX, true, false},
                                                   {BS_RADIOBUTTON, false, false},
                                                   {BS_3STATE, false, false},
                                                   {BS_AUTO3STATE, true, false},
                                                   {BS_AUTORADIOBUTTON, true, false},
                                                   {BS_AUTOCHECKBOX | BS_PUSHLIKE, true, true},
                                                   {BS_PUSHBUTTON | BS_PUSHLIKE, false, false}};
    for (auto [style, check, pushLike] : cases) {
        const Kind k = Classify(style);
        EXPECT_EQ(std::pair(k.checkType, k.pushLike), std::pair(check, pushLike))
            << std::hex << style;
    }
}

TEST(ButtonFrames, FrameOfEachStateAndWhereFramesLie)
{
    // Rows: frame count, then the frame of each state.
    const std::pair<int, std::array<int, kStateCount>> cases[] = {
        {2, {0, 0, 0, 1, 1, 1}}, {4, {0, 1, 2, 3, 3, 2}},  {6, {0, 1, 2, 3, 4, 5}},
        {0, {0, 0, 0, 0, 0, 0}}, {-3, {0, 0, 0, 0, 0, 0}}, {1, {0, 0, 0, 0, 0, 0}},
        {3, {0, 1, 0, 2, 2, 2}}, {5, {0, 1, 2, 3, 4, 2}},  {9, {0, 1, 2, 3, 4, 5}},
    };
    for (const auto& [count, frames] : cases)
        for (int s = 0; s < kStateCount; ++s)
            EXPECT_EQ(FrameForState(count, s), frames[size_t(s)])
                << "count " << count << " state " << s;
    // Frame 2 of 4 in 120, of 3 in 100 (100 / 3 = 33), and of no count: the whole picture.
    EXPECT_EQ(Str({FrameRect(120, 30, 4, 2), FrameRect(100, 10, 3, 2), FrameRect(100, 10, 0, 0)}),
              "60,0 30x30 | 66,0 33x10 | 0,0 100x10");
    const std::tuple<int, int, unsigned> masks[] = {
        {2, 0, 0b000111u}, {2, 2, 0b000111u}, {2, 3, 0b111000u}, {2, -1, 0b111000u},
        {3, 0, 0b000101u}, {3, 2, 0b000101u}, {3, 1, 0b000010u}, {3, 4, 0b111000u},
        {4, 0, 0u},        {1, 0, 0u}};
    for (auto [count, state, mask] : masks)
        EXPECT_EQ(StatesForImage(count, state), mask) << count << "," << state;
}

TEST(ButtonLayout, BackgroundSourceTextAlignmentGlyphAndTextBoxes)
{
    const std::pair<Background, const char*> backgrounds[] = {
        {{{5, 6, 25, 16}, 1, 2, true, 300}, "5,6 20x10"},
        {{{5, 6, 25, 16}, 1, 2, false, 300}, "5,6 80x30"},
        {{{0, 6, 25, 16}, 1, 2, false, 300}, "1,2 80x30"}, // left 0: fallback
        {{{-1, -1, -1, -1}, 1, 2, true, 300}, "1,2 300x30"}};
    for (auto [bg, want] : backgrounds)
        EXPECT_EQ(Str({BackgroundSource(bg, 80, 30)}), want);
    constexpr auto N = Gdiplus::StringAlignmentNear, C = Gdiplus::StringAlignmentCenter,
                   F = Gdiplus::StringAlignmentFar;
    const std::tuple<DWORD, bool, Gdiplus::StringAlignment, Gdiplus::StringAlignment> texts[] = {
        {0, false, C, C},
        {0, true, N, C},
        {BS_LEFT | BS_TOP, false, N, N},
        {BS_RIGHT | BS_BOTTOM, true, F, F},
        {BS_CENTER | BS_VCENTER, true, C, C}};
    for (auto [style, checkBox, h, v] : texts) {
        const TextAlign a = AlignmentFromStyle(style, checkBox);
        EXPECT_EQ(std::pair(a.horizontal, a.vertical), std::pair(h, v)) << std::hex << style;
    }
    const Kind push{false, false}, box{true, false}, pushLike{true, true};
    const Strip strip{64, 16, 4}, tall{64, 17, 4}, count0{64, 16, 0};
    // Rows: name, the geometry, then the glyph's and the text's boxes.
    const std::tuple<const char*, Geometry, Gdiplus::Rect, Gdiplus::Rect> cases[] = {
        {"push", {push, 80, 30, 5, 4, std::nullopt, {80, 30}}, {}, {5, 4, 75, 26}},
        {"push-like", {pushLike, 80, 30, 0, 0, strip, {16, 16}}, {}, {0, 0, 80, 30}},
        // A 16 x 16 glyph in a 20-pixel-high control: at y = 2, text 16 + 3 from the left.
        {"check box", {box, 120, 20, 0, 0, strip, {16, 16}}, {0, 2, 16, 16}, {19, 0, 101, 20}},
        {"offsets", {box, 120, 20, 4, 3, strip, {16, 16}}, {0, 2, 16, 16}, {23, 3, 97, 17}},
        // Taller than the control: centred at a negative top, whole-number division toward 0.
        {"tall glyph", {box, 120, 10, 0, 0, tall, {16, 17}}, {0, -3, 16, 17}, {19, 0, 101, 10}},
        {"no strip", {box, 120, 20, 4, 0, std::nullopt, {30, 30}}, {}, {4, 0, 116, 20}},
        {"count 0", {box, 120, 20, 0, 0, count0, {64, 16}}, {0, 2, 64, 16}, {67, 0, 53, 20}},
    };
    for (const auto& [name, in, glyph, text] : cases) {
        const Layout l = LayOut(in);
        EXPECT_EQ(Str({l.glyph, l.text}), Str({glyph, text})) << name;
    }
}

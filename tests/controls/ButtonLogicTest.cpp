// The skinned button's logic tables.
#include "controls/ButtonLogic.h"

#include "platform/wnd/WinUser.h"

#include <gtest/gtest.h>

#include <string>

using namespace btn;

TEST(ButtonState, EveryCombinationOfDownDisabledAndHover)
{
    const struct
    {
        Flags f;
        State want;
    } cases[] = {
        {{false, false, false}, Normal},     {{false, false, true}, Hover},
        {{true, false, false}, Down},        {{true, false, true}, DownHover},
        {{false, true, false}, Disabled},    {{false, true, true}, Disabled},
        {{true, true, false}, DownDisabled}, {{true, true, true}, DownDisabled},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseState(c.f), c.want) << c.f.down << c.f.disabled << c.f.hover;
}

TEST(ButtonClassify, TypeBitsDecideCheckTypeAndPushLike)
{
    const struct
    {
        DWORD style;
        bool check, pushLike;
    } cases[] = {
        {BS_PUSHBUTTON, false, false},
        {BS_DEFPUSHBUTTON, false, false},
        {BS_CHECKBOX, true, false},
        {BS_AUTOCHECKBOX, true, false},
        {BS_RADIOBUTTON, false, false},
        {BS_3STATE, false, false},
        {BS_AUTO3STATE, true, false},
        {BS_USERBUTTON, false, false},
        {BS_AUTORADIOBUTTON, true, false},
        {BS_AUTOCHECKBOX | BS_PUSHLIKE, true, true},
        {BS_PUSHBUTTON | BS_PUSHLIKE, false, false},
    };
    for (const auto& c : cases) {
        const Kind k = Classify(c.style);
        EXPECT_EQ(k.checkType, c.check) << std::hex << c.style;
        EXPECT_EQ(k.pushLike, c.pushLike) << std::hex << c.style;
    }
}

TEST(ButtonFrames, FrameOfEachStateByCount)
{
    const struct
    {
        int count;
        int frames[kStateCount];
    } cases[] = {
        {2, {0, 0, 0, 1, 1, 1}}, {4, {0, 1, 2, 3, 3, 2}},  {6, {0, 1, 2, 3, 4, 5}},
        {0, {0, 0, 0, 0, 0, 0}}, {-3, {0, 0, 0, 0, 0, 0}}, {1, {0, 0, 0, 0, 0, 0}},
        {3, {0, 1, 0, 2, 2, 2}}, {5, {0, 1, 2, 3, 4, 2}},  {9, {0, 1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases)
        for (int s = 0; s < kStateCount; ++s)
            EXPECT_EQ(FrameForState(c.count, s), c.frames[s])
                << "count " << c.count << " state " << s;
}

TEST(ButtonFrames, FramesLieSideBySideAndAreWholePixelsWide)
{
    const Gdiplus::Rect r = FrameRect(120, 30, 4, 2);
    EXPECT_EQ(r.X, 60);
    EXPECT_EQ(r.Width, 30);
    EXPECT_EQ(r.Height, 30);
    EXPECT_EQ(FrameRect(100, 10, 3, 2).X, 66); // 100 / 3 = 33
    EXPECT_EQ(FrameRect(100, 10, 0, 0).Width, 100);
}

TEST(ButtonFrames, WholeImagesServeTheirStateGroup)
{
    const struct
    {
        int count, state;
        unsigned mask;
    } cases[] = {
        {2, 0, 0b000111}, {2, 2, 0b000111}, {2, 3, 0b111000}, {2, -1, 0b111000}, {3, 0, 0b000101},
        {3, 2, 0b000101}, {3, 1, 0b000010}, {3, 4, 0b111000}, {4, 0, 0},         {1, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StatesForImage(c.count, c.state), c.mask) << c.count << "," << c.state;
}

TEST(ButtonBackground, SourceRectangleByRuleAndStretch)
{
    const struct
    {
        const char* name;
        Background bg;
        Gdiplus::Rect want;
    } cases[] = {
        {"rect stretched", {{5, 6, 25, 16}, 1, 2, true, 300}, {5, 6, 20, 10}},
        {"rect copied", {{5, 6, 25, 16}, 1, 2, false, 300}, {5, 6, 80, 30}},
        {"left 0 falls back", {{0, 6, 25, 16}, 1, 2, false, 300}, {1, 2, 80, 30}},
        {"unset, stretched", {{-1, -1, -1, -1}, 1, 2, true, 300}, {1, 2, 300, 30}},
    };
    for (const auto& c : cases) {
        const Gdiplus::Rect r = BackgroundSource(c.bg, 80, 30);
        EXPECT_TRUE(r.Equals(c.want))
            << c.name << ": " << r.X << "," << r.Y << "," << r.Width << "," << r.Height;
    }
}

TEST(ButtonText, AlignmentFromStyleBits)
{
    using A = Gdiplus::StringAlignment;
    const struct
    {
        DWORD style;
        bool checkBox;
        A h, v;
    } cases[] = {
        {0, false, Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter},
        {0, true, Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter},
        {BS_LEFT | BS_TOP, false, Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear},
        {BS_RIGHT | BS_BOTTOM, true, Gdiplus::StringAlignmentFar, Gdiplus::StringAlignmentFar},
        {BS_CENTER | BS_VCENTER, true, Gdiplus::StringAlignmentCenter,
         Gdiplus::StringAlignmentCenter},
    };
    for (const auto& c : cases) {
        const TextAlign a = AlignmentFromStyle(c.style, c.checkBox);
        EXPECT_EQ(a.horizontal, c.h) << std::hex << c.style;
        EXPECT_EQ(a.vertical, c.v) << std::hex << c.style;
    }
}

TEST(ButtonLayout, GlyphAndTextBoxByKindSizeOffsetsAndStrip)
{
    const Kind push{false, false}, box{true, false}, pushLike{true, true};
    const Strip strip{64, 16, 4}, tall{64, 17, 4}, count0{64, 16, 0};
    const struct
    {
        const char* name;
        Geometry in;
        Gdiplus::Rect glyph, text;
    } cases[] = {
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
    auto show = [](const Gdiplus::Rect& r) {
        return std::to_string(r.X) + "," + std::to_string(r.Y) + " " + std::to_string(r.Width) +
               "x" + std::to_string(r.Height);
    };
    for (const auto& c : cases) {
        const Layout l = LayOut(c.in);
        EXPECT_EQ(show(l.glyph), show(c.glyph)) << c.name;
        EXPECT_EQ(show(l.text), show(c.text)) << c.name;
    }
}

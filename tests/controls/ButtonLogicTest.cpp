// The skinned button's logic tables.
#include "controls/ButtonLogic.h"

#include "platform/wnd/WinUser.h"

#include <gtest/gtest.h>

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

TEST(ButtonState, CheckedCountsAsDownOnlyForCheckTypeButtons)
{
    EXPECT_TRUE(IsDown(true, false, 1));
    EXPECT_TRUE(IsDown(true, false, 2));
    EXPECT_FALSE(IsDown(false, false, 1));
    EXPECT_TRUE(IsDown(false, true, 0));
    EXPECT_FALSE(IsDown(true, false, 0));
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

TEST(ButtonClassify, OwnerDrawStyleReplacesTheTypeBitsOnly)
{
    for (DWORD type = 0; type <= 0xF; ++type)
        EXPECT_EQ(OwnerDrawStyle(type | BS_LEFTTEXT | BS_CENTER | WS_VISIBLE),
                  BS_OWNERDRAW | BS_LEFTTEXT | BS_CENTER | WS_VISIBLE);
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

TEST(ButtonGlyph, CentredVerticallyAndTextStartsAfterAGap)
{
    EXPECT_EQ(GlyphTop(20, 16), 2);
    EXPECT_EQ(GlyphTop(10, 16), -3);
    EXPECT_EQ(GlyphTop(10, 17), -3); // whole-number division rounds toward zero
    EXPECT_EQ(GlyphWidth(64, 4), 19);
    EXPECT_EQ(GlyphWidth(64, 0), 67);
}

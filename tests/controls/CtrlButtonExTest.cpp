// The divided-strip button: the three pieces at the skin's height and at half of it, in a later
// frame of a strip, the text's left edge and scaled font, the undivided face without text, and
// through the headless layer the behaviour it shares with the skinned button (click, check).
#include "controls/CtrlButtonEx.h"

#include "ControlTestKit.h"

#include <climits>

namespace {

// Rows: picture height, control height (120 wide, left area 28, right cap 5), then the three
// source pieces, the three drawn pieces and the text's left edge. At half height the middle is
// 120 - 16.5, the right cap 2.5 at 117.5 and the text at 15.5, all truncated; a picture without
// height gives no scale. (A later frame of the strip is the painting test's.)
TEST(ButtonExLogic, DividedFrames)
{
    for (auto [pictureHeight, h, want] :
         {std::tuple{
              40, 40,
              "0,0 28x40 | 28,0 67x40 | 95,0 5x40 / 0,0 28x40 | 28,0 87x40 | 115,0 5x40 / 31"},
          {40, 20,
           "0,0 28x40 | 28,0 67x40 | 95,0 5x40 / 0,0 14x20 | 14,0 103x20 | 117,0 2x20 / 15"},
          {0, 20, "0,0 28x20 | 28,0 87x20 | 115,0 5x20 / 31"}}) {
        const btn::DividedFrame d = btn::DivideFrame({0, 0, pictureHeight ? 100 : 0, pictureHeight},
                                                     pictureHeight, 120, h, 28, 5);
        EXPECT_EQ((pictureHeight ? Str({d.source[0], d.source[1], d.source[2]}) + " / " : "") +
                      Str({d.dest[0], d.dest[1], d.dest[2]}) + " / " + std::to_string(d.textLeft),
                  want);
    }
    EXPECT_EQ(btn::ScaledFontSize(15, 0.5), 7);
}

// Left areas and right caps at the ends of int: the pieces' edges are summed wide and saturated
// (the middle and the text edge come out at the ends of int, not wrapped), and the font scale
// of a huge size stays a size.
TEST(ButtonExLogic, HostileDivisions)
{
    constexpr int lo = INT_MIN, hi = INT_MAX;
    // Rows: left, right, the three drawn pieces, the text's left edge (120 x 40, unscaled).
    const auto h = std::to_string(hi), l = std::to_string(lo);
    for (auto [left, right, want] : {std::tuple{hi, hi,
                                                "0,0 " + h + "x40 | " + h + ",0 " + l +
                                                    "x40 | -2147483527,0 " + h + "x40 / " + h},
                                     {lo, lo,
                                      "0,0 " + l + "x40 | " + l + ",0 " + h + "x40 | " + h + ",0 " +
                                          l + "x40 / " + std::to_string(lo + 3)}}) {
        const btn::DividedFrame d = btn::DivideFrame({0, 0, 100, 40}, 40, 120, 40, left, right);
        EXPECT_EQ(Str({d.dest[0], d.dest[1], d.dest[2]}) + " / " + std::to_string(d.textLeft),
                  want);
        EXPECT_EQ(d.source[1].X, left == hi ? hi : lo) << "the middle's source, saturated";
    }
    EXPECT_EQ(btn::ScaledFontSize(LONG_MAX, 2.0), hi);
}

constexpr UINT kId = 500;
constexpr DWORD kFace = 0xFFF0F0F0u;

class DividedButton : public HostedTest
{
protected:
    void Make(DWORD style, const wchar_t* text, CRect rect)
    {
        host.state = [this] { return std::to_string(button.GetCheck()); };
        ASSERT_TRUE(button.Create(text, WS_CHILD | WS_VISIBLE | style, rect, &host, kId));
        button.SetButtonImage(strip.get(), 4);
        button.Invalidate();
    }
    // The pixel's channel: 'r', 'g' or 'b'.
    int Px(int x, int y, char channel)
    {
        const Gdiplus::Color c(At(button, x, y));
        return channel == 'r' ? c.GetRed() : channel == 'g' ? c.GetGreen() : c.GetBlue();
    }

    CCtrlButtonEx button;
    // Each of the four 100-wide frames: a red left area (28), a green middle whose red is 0x30
    // times the frame's index, a blue right cap (5).
    static constexpr Gdiplus::ARGB L = 0xFFE00000u, R = 0xFF0000E0u;
    std::unique_ptr<Gdiplus::Bitmap> strip = [] {
        auto b = Bands(400, 40, {});
        for (unsigned k = 0; k < 4; ++k)
            Gdiplus::Graphics(b.get()).DrawImage(
                Bands(100, 40, {{28, L}, {67, 0xFF00E000u + k * 0x300000u}, {5, R}}).get(),
                int(k) * 100, 0);
        return b;
    }();
};

// One push-drawn divided button: its frame stretched whole without text, divided with text at
// 40 and at 20 pixels high (text from x 31 and 15, the font halved), then checked by a click:
// the checked state's frame is the one divided. (What the parent hears, and the frames of the
// other states, are the skinned button's tests', whose handlers this button keeps.)
TEST_F(DividedButton, PushButtonSession)
{
    Make(BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_LEFT, L"", CRect(10, 10, 250, 50)); // 240 x 40
    EXPECT_GT(Px(50, 20, 'r'), 200) << "no text: the 100-wide frame stretched, column 20";
    button.SetWindowText(L"MMMM");
    button.SetInitFont(L"Liberation Sans", 24, Gdiplus::FontStyleBold);
    button.SetTextColor(Gdiplus::Color(0xFFFFFFFFu), 6);
    button.Invalidate();
    // Left area 28, x 50 in the middle, the right cap from 235.
    EXPECT_GT(Px(20, 3, 'r') + Px(50, 3, 'g') + Px(236, 3, 'b'), 3 * 200);
    const InkBox tall = Ink(button, White);
    EXPECT_TRUE(tall.left >= 31 && tall.left < 31 + 8) << tall.left << ": the M's side bearing";

    button.MoveWindow(10, 60, 120, 20); // left piece 14, right piece 2 at 117: column 119 bare
    EXPECT_GT(Px(11, 3, 'r') + Px(15, 3, 'g') + Px(118, 3, 'b'), 3 * 200);
    EXPECT_EQ(At(button, 119, 3), kFace) << "trunc(2.5) leaves the last column";
    const InkBox low = Ink(button, White);
    EXPECT_TRUE(low.left >= 15 && low.left < 15 + 4) << low.left;
    EXPECT_NEAR((low.bottom - low.top + 1) * 2, tall.bottom - tall.top + 1, 3)
        << "the font is halved with the frame";

    EXPECT_EQ(Px(60, 3, 'r'), 0) << "frame 0";
    driver.Click(button.m_hWnd, {60, 10});
    driver.LeaveWindows();
    EXPECT_EQ(Px(60, 3, 'r'), 0x90) << "checked: frame 3";
}

TEST_F(DividedButton, CheckBoxDrawsTheGlyphAtItsOwnSize)
{
    Make(BS_AUTOCHECKBOX, L"MMMM", CRect(10, 10, 130, 30)); // 120 x 20
    auto glyphs = Solid(64, 16, R);
    button.SetButtonImage(glyphs.get(), 4);
    button.SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
    button.SetTextColor(Gdiplus::Color(0xFFE01010u), 6);
    button.Invalidate();
    // The 16 x 16 glyph at x 0, centred at y 2; the text from the glyph's width + 3.
    for (auto [x, y, colour] : {std::tuple{0, 2, R}, {15, 17, R}, {0, 1, kFace}, {16, 10, kFace}})
        EXPECT_EQ(At(button, x, y), colour) << x << "," << y;
    const int left = Ink(button, Reddish).left;
    EXPECT_TRUE(left >= 19 && left < 19 + 6) << left;
}

// The divided face painted with divisions at the ends of int (under the sanitizers nothing may
// overflow): a left area wider than the button covers it, and the text, pushed out of the
// control either way, leaves no ink.
TEST_F(DividedButton, HostileDivisionsPaint)
{
    Make(BS_PUSHBUTTON | BS_LEFT, L"MMMM", CRect(10, 10, 250, 50));
    button.SetInitFont(L"Liberation Sans", 24, Gdiplus::FontStyleBold);
    button.SetTextColor(Gdiplus::Color(0xFFFFFFFFu), 6);
    for (int division : {INT_MAX, INT_MIN}) {
        button.SetButtonDiv(division, division);
        button.Invalidate();
        EXPECT_TRUE(division < 0 || Px(120, 3, 'r') > 200) << division;
        EXPECT_FALSE(Ink(button, White).Any()) << division;
    }
}

} // namespace

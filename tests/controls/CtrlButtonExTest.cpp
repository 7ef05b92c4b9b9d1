// The divided-strip button: the three pieces at the skin's height and at half of it, in a later
// frame of a strip, the text's left edge and scaled font, the undivided face without text, and
// through the headless layer the behaviour it shares with the skinned button (click, check).
#include "controls/CtrlButtonEx.h"

#include "platform/wnd/headless/HeadlessDriver.h"

#include "ControlTestKit.h"

#include <gtest/gtest.h>

#include <memory>

using platform::wnd::HeadlessDriver;

namespace {

TEST(ButtonExLogic, PiecesAtTheSkinsHeight)
{
    const btn::DividedFrame d = btn::DivideFrame({0, 0, 100, 40}, 40, 120, 40, 28, 5);
    ExpectRect(d.source[btn::LeftPiece], 0, 0, 28, 40, "left source");
    ExpectRect(d.source[btn::MiddlePiece], 28, 0, 67, 40, "middle source");
    ExpectRect(d.source[btn::RightPiece], 95, 0, 5, 40, "right source");
    ExpectRect(d.dest[btn::LeftPiece], 0, 0, 28, 40, "left");
    ExpectRect(d.dest[btn::MiddlePiece], 28, 0, 87, 40, "middle");
    ExpectRect(d.dest[btn::RightPiece], 115, 0, 5, 40, "right");
    EXPECT_EQ(d.textLeft, 31);
}

TEST(ButtonExLogic, PiecesAtHalfHeightTruncate)
{
    const btn::DividedFrame d = btn::DivideFrame({0, 0, 100, 40}, 40, 120, 20, 28, 5);
    EXPECT_DOUBLE_EQ(d.scale, 0.5);
    ExpectRect(d.dest[btn::LeftPiece], 0, 0, 14, 20, "left");
    ExpectRect(d.dest[btn::MiddlePiece], 14, 0, 103, 20, "middle: 120 - 16.5 truncated");
    ExpectRect(d.dest[btn::RightPiece], 117, 0, 2, 20, "right: at 117.5, 2.5 wide, truncated");
    EXPECT_EQ(d.textLeft, 15);
    EXPECT_EQ(btn::ScaledFontSize(15, d.scale), 7);
}

TEST(ButtonExLogic, LaterFrameOfAStrip)
{
    // Frame 3 of a four-frame strip 400 wide: its right piece is cut from 395.
    const btn::DividedFrame d = btn::DivideFrame({300, 0, 100, 40}, 40, 120, 40, 28, 5);
    ExpectRect(d.source[btn::LeftPiece], 300, 0, 28, 40, "left source");
    ExpectRect(d.source[btn::MiddlePiece], 328, 0, 67, 40, "middle source");
    ExpectRect(d.source[btn::RightPiece], 395, 0, 5, 40, "right source");
}

TEST(ButtonExLogic, APictureWithoutHeightKeepsSkinScale)
{
    const btn::DividedFrame d = btn::DivideFrame({0, 0, 0, 0}, 0, 120, 20, 28, 5);
    EXPECT_DOUBLE_EQ(d.scale, 1.0);
    EXPECT_EQ(d.textLeft, 31);
}

constexpr UINT kId = 500;
constexpr DWORD kFace = 0xFFF0F0F0u;
// Each frame: a red left area (28), a green middle, a blue right cap (5); frames differ in
// their middle's red channel.
std::unique_ptr<Gdiplus::Bitmap> DividedStrip(int frames)
{
    auto b = std::make_unique<Gdiplus::Bitmap>(frames * 100, 40, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(b.get());
    for (int k = 0; k < frames; ++k) {
        Gdiplus::SolidBrush left{Gdiplus::Color(0xFFE00000u)},
            middle{Gdiplus::Color(0xFF00E000u | (0x30u * static_cast<unsigned>(k)) << 16)},
            right{Gdiplus::Color(0xFF0000E0u)};
        g.FillRectangle(&left, k * 100, 0, 28, 40);
        g.FillRectangle(&middle, k * 100 + 28, 0, 67, 40);
        g.FillRectangle(&right, k * 100 + 95, 0, 5, 40);
    }
    return b;
}

class CClickHost : public CWnd
{
public:
    CCtrlButtonEx* button = nullptr;
    std::vector<int> checkSeen;

protected:
    void OnClicked() { checkSeen.push_back(button->GetCheck()); }
    DECLARE_MESSAGE_MAP()
};

} // namespace

BEGIN_MESSAGE_MAP(CClickHost, CWnd)
ON_BN_CLICKED(kId, OnClicked)
END_MESSAGE_MAP()

namespace {

class DividedButton : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
        host.button = &button;
    }
    void Make(DWORD style, const wchar_t* text, CRect rect)
    {
        ASSERT_TRUE(button.Create(text, WS_CHILD | WS_VISIBLE | style, rect, &host, kId));
        button.SetButtonImage(strip.get(), 4);
        button.Invalidate();
    }
    Gdiplus::Color At(int x, int y)
    {
        return Gdiplus::Color(driver.PixelAt(button.m_hWnd, {x, y}));
    }

    HeadlessDriver driver;
    CClickHost host;
    CCtrlButtonEx button;
    std::unique_ptr<Gdiplus::Bitmap> strip = DividedStrip(4);
};

// One push-drawn divided button: its frame stretched whole without text, divided with text at
// 40 and at 20 pixels high (text from x 31 and 15, the font halved), then clicked, checked and
// disabled as the skinned button is.
TEST_F(DividedButton, PushButtonSession)
{
    Make(BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_LEFT, L"", CRect(10, 10, 250, 50)); // 240 x 40
    EXPECT_GT(At(50, 20).GetRed(), 200) << "no text: the 100-wide frame stretched, column 20";
    button.SetWindowText(L"MMMM");
    button.SetInitFont(L"Liberation Sans", 24, Gdiplus::FontStyleBold);
    button.SetTextColor(Gdiplus::Color(0xFFFFFFFFu), 6);
    button.Invalidate();
    EXPECT_GT(At(20, 3).GetRed(), 200) << "left area 28";
    EXPECT_GT(At(50, 3).GetGreen(), 200) << "divided: x 50 lies in the middle";
    EXPECT_GT(At(236, 3).GetBlue(), 150) << "right cap at 235";
    auto white = [](const Gdiplus::Color& c) {
        // Whiter than the host's face (F0F0F0), which shows where the right cap leaves a column.
        return c.GetRed() > 245 && c.GetGreen() > 245 && c.GetBlue() > 245;
    };
    auto shot = driver.Capture(button.m_hWnd);
    ASSERT_TRUE(shot);
    const InkBox tall = FindInk(*shot, white);
    ASSERT_TRUE(tall.Any());
    EXPECT_GE(tall.left, 31);
    EXPECT_LT(tall.left, 31 + 8) << "the M's own side bearing";

    button.MoveWindow(10, 60, 120, 20);
    EXPECT_GT(At(11, 3).GetRed(), 200) << "left piece 14 wide";
    EXPECT_GT(At(15, 3).GetGreen(), 200);
    EXPECT_GT(At(118, 3).GetBlue(), 150) << "right piece at 117";
    EXPECT_EQ(At(119, 3).GetValue(), kFace) << "trunc(2.5) leaves the last column";
    shot = driver.Capture(button.m_hWnd);
    ASSERT_TRUE(shot);
    const InkBox low = FindInk(*shot, white);
    ASSERT_TRUE(low.Any());
    EXPECT_GE(low.left, 15);
    EXPECT_LT(low.left, 15 + 4);
    EXPECT_NEAR((low.bottom - low.top + 1) * 2, tall.bottom - tall.top + 1, 3)
        << "the font is halved with the frame";

    EXPECT_EQ(At(60, 3).GetRed(), 0) << "frame 0";
    driver.Record(host.m_hWnd);
    driver.Click(button.m_hWnd, {60, 10});
    ASSERT_EQ(driver.Commands(BN_CLICKED).size(), 1u);
    EXPECT_EQ(host.checkSeen, std::vector<int>{1});
    driver.LeaveWindows();
    EXPECT_EQ(At(60, 3).GetRed(), 0x90) << "checked: frame 3";
    button.EnableWindow(FALSE);
    EXPECT_EQ(At(60, 3).GetRed(), 0x60) << "checked and disabled: frame 2";
}

TEST_F(DividedButton, CheckBoxDrawsTheGlyphAtItsOwnSize)
{
    Make(BS_AUTOCHECKBOX, L"MMMM", CRect(10, 10, 130, 30)); // 120 x 20
    auto glyphs = std::make_unique<Gdiplus::Bitmap>(64, 16, Gdiplus::PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(glyphs.get());
        Gdiplus::SolidBrush b{Gdiplus::Color(0xFF0000E0u)};
        g.FillRectangle(&b, 0, 0, 64, 16);
    }
    button.SetButtonImage(glyphs.get(), 4);
    button.SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
    button.SetTextColor(Gdiplus::Color(0xFFE01010u), 6);
    button.Invalidate();
    EXPECT_EQ(At(0, 2).GetValue(), 0xFF0000E0u);
    EXPECT_EQ(At(15, 17).GetValue(), 0xFF0000E0u);
    EXPECT_EQ(At(0, 1).GetValue(), kFace);
    EXPECT_EQ(At(16, 10).GetValue(), kFace);
    auto shot = driver.Capture(button.m_hWnd);
    ASSERT_TRUE(shot);
    const InkBox ink = FindInk(*shot, Reddish);
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.left, 19);
    EXPECT_LT(ink.left, 19 + 6);
}

} // namespace

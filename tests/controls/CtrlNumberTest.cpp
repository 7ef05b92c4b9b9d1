// The digit display through the headless window layer: the cells each digit picture fills,
// the background's two modes, a short or non-digit text, and the style it takes.
#include "controls/CtrlNumber.h"

#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using platform::wnd::HeadlessDriver;

namespace {

constexpr UINT kId = 300;
constexpr Gdiplus::ARGB kBack = 0xFF101820u;

Gdiplus::ARGB DigitColour(int d)
{
    return 0xFF000000u | (0x10u * static_cast<unsigned>(d + 1)) << 16 | 0x00A0u;
}

std::unique_ptr<Gdiplus::Bitmap> Solid(int w, int h, Gdiplus::ARGB colour)
{
    auto b = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(b.get());
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
    g.FillRectangle(&brush, 0, 0, w, h);
    return b;
}

class DigitDisplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 200, 80), nullptr, 0));
        for (int d = 0; d < 10; ++d)
            digits.push_back(Solid(4, 6, DigitColour(d)));
    }
    void Make(const wchar_t* text, int width, DWORD style = SS_RIGHT)
    {
        ASSERT_TRUE(number.Create(text, WS_CHILD | WS_VISIBLE | style,
                                  CRect(10, 10, 10 + width, 30), &host, kId));
        for (int d = 0; d < 10; ++d)
            number.SetImage(digits[static_cast<size_t>(d)].get(), d);
        number.SetBkImage(back.get(), -1, -1);
        number.Invalidate();
    }
    DWORD At(int x, int y = 10) { return driver.PixelAt(number.m_hWnd, {x, y}); }

    HeadlessDriver driver;
    CWnd host;
    CCtrlNumber number;
    std::vector<std::unique_ptr<Gdiplus::Bitmap>> digits;
    std::unique_ptr<Gdiplus::Bitmap> back = Solid(8, 8, kBack);
};

TEST_F(DigitDisplay, ThreeDigitsFillThreeEqualCells)
{
    Make(L"042", 60);
    EXPECT_EQ(number.GetStyle() & SS_TYPEMASK, SS_OWNERDRAW) << "a right-aligned static too";
    for (int x : {0, 19})
        EXPECT_EQ(At(x), DigitColour(0)) << x;
    for (int x : {20, 39})
        EXPECT_EQ(At(x), DigitColour(4)) << x;
    for (int x : {40, 59})
        EXPECT_EQ(At(x), DigitColour(2)) << x;
}

TEST_F(DigitDisplay, AnUnevenWidthLeavesTheLastColumnToTheBackground)
{
    Make(L"042", 61);
    EXPECT_EQ(At(59), DigitColour(2));
    EXPECT_EQ(At(60), kBack);
}

TEST_F(DigitDisplay, FewerDigitsTakeHalvesAndTheRestOfTheTextIsIgnored)
{
    Make(L"123", 60);
    number.SetDigit(2);
    number.Invalidate();
    EXPECT_EQ(At(0), DigitColour(1));
    EXPECT_EQ(At(29), DigitColour(1));
    EXPECT_EQ(At(30), DigitColour(2));
    EXPECT_EQ(At(59), DigitColour(2));
}

TEST_F(DigitDisplay, ShortOrForeignTextLeavesItsCellsEmpty)
{
    Make(L"7", 60);
    EXPECT_EQ(At(5), DigitColour(7));
    EXPECT_EQ(At(25), kBack);
    EXPECT_EQ(At(45), kBack);
    number.SetWindowText(L"9:5"); // a new text repaints by itself
    EXPECT_EQ(At(5), DigitColour(9));
    EXPECT_EQ(At(25), kBack);
    EXPECT_EQ(At(45), DigitColour(5));
}

TEST_F(DigitDisplay, BackgroundCopiedFromAnOriginOrStretchedWhole)
{
    // Columns 0..9 of a 40-wide picture are one colour each, the rest another.
    Gdiplus::Bitmap stripes(40, 20, Gdiplus::PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&stripes);
        for (int x = 0; x < 40; ++x) {
            Gdiplus::SolidBrush b{Gdiplus::Color(0xFF000000u | static_cast<unsigned>(x * 6))};
            g.FillRectangle(&b, x, 0, 1, 20);
        }
    }
    Make(L"", 30);
    number.SetBkImage(&stripes, 5, 0);
    number.Invalidate();
    EXPECT_EQ(At(0), 0xFF000000u | 30u) << "column 5 copied at x 0";
    EXPECT_EQ(At(20), 0xFF000000u | 150u);
    number.SetBkImage(&stripes, -1, -1);
    number.Invalidate();
    EXPECT_EQ(At(29), 0xFF000000u | 234u) << "the whole picture stretched: column 39 at the end";
}

TEST_F(DigitDisplay, DigitIndexesOutsideTheTenAreIgnored)
{
    Make(L"000", 60);
    number.SetImage(digits[5].get(), 10);
    number.SetImage(digits[5].get(), -1);
    number.Invalidate();
    EXPECT_EQ(At(5), DigitColour(0));
    EXPECT_EQ(number.m_pImageBk, back.get()) << "slot 10 would have been the background";
}

TEST_F(DigitDisplay, NothingReachesTheParent)
{
    Make(L"042", 60);
    driver.Record(host.m_hWnd);
    number.SetWindowText(L"043");
    driver.Click(number.m_hWnd, {5, 5});
    for (const MSG& m : driver.Recorded())
        EXPECT_NE(m.message, WM_COMMAND);
    EXPECT_EQ(At(45), DigitColour(3));
}

} // namespace

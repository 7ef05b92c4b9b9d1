// The digit display through the headless window layer: the cells each digit picture fills,
// the background's two modes, a short or non-digit text, and the style it takes.
#include "controls/CtrlNumber.h"

#include "platform/wnd/headless/HeadlessDriver.h"

#include "ControlTestKit.h"

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

// One display through its life: three cells at W = 60 and 61, SetDigit(2), a short and a
// foreign text, the two background modes, an index outside the ten, and nothing for the parent.
TEST_F(DigitDisplay, Session)
{
    Make(L"042", 61);
    EXPECT_EQ(number.GetStyle() & SS_TYPEMASK, SS_OWNERDRAW) << "a right-aligned static too";
    driver.Record(host.m_hWnd);
    const struct
    {
        int x;
        Gdiplus::ARGB colour;
    } cells[] = {{0, DigitColour(0)},  {19, DigitColour(0)}, {20, DigitColour(4)},
                 {39, DigitColour(4)}, {40, DigitColour(2)}, {59, DigitColour(2)},
                 {60, kBack}}; // 61 does not divide by 3: the last column keeps the background
    for (const auto& c : cells)
        EXPECT_EQ(At(c.x), c.colour) << "x " << c.x;

    number.SetWindowText(L"123"); // a new text repaints by itself
    number.SetDigit(2);
    number.Invalidate();
    EXPECT_EQ(At(29), DigitColour(1));
    EXPECT_EQ(At(30), DigitColour(2));
    EXPECT_EQ(At(59), DigitColour(2));

    number.SetDigit(3);
    number.SetWindowText(L"7");
    EXPECT_EQ(At(5), DigitColour(7));
    EXPECT_EQ(At(25), kBack) << "past the text: empty";
    number.SetWindowText(L"9:5");
    EXPECT_EQ(At(25), kBack) << "not a digit: empty";
    EXPECT_EQ(At(45), DigitColour(5));

    number.SetImage(digits[5].get(), 10); // slot 10 would overwrite the background
    number.SetImage(digits[5].get(), -1);
    EXPECT_EQ(number.m_pImageBk, back.get());

    // Columns of a 40-wide picture are one colour each: column x is blue x * 6.
    Gdiplus::Bitmap stripes(40, 20, Gdiplus::PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&stripes);
        for (int x = 0; x < 40; ++x) {
            Gdiplus::SolidBrush b{Gdiplus::Color(0xFF000000u | static_cast<unsigned>(x * 6))};
            g.FillRectangle(&b, x, 0, 1, 20);
        }
    }
    number.SetWindowText(L"");
    number.SetBkImage(&stripes, 5, 0);
    number.Invalidate();
    EXPECT_EQ(At(0), 0xFF000000u | 30u) << "column 5 copied at x 0";
    EXPECT_EQ(At(20), 0xFF000000u | 150u);
    number.SetBkImage(&stripes, -1, -1);
    number.Invalidate();
    EXPECT_EQ(At(60), 0xFF000000u | 234u) << "the whole picture stretched: column 39 at the end";

    driver.Click(number.m_hWnd, {5, 5});
    for (const MSG& m : driver.Recorded())
        EXPECT_NE(m.message, WM_COMMAND) << "the display tells its parent nothing";
}

} // namespace

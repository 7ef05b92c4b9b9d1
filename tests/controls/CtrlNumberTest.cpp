// The digit display through the headless window layer: the cells each digit picture fills,
// the background's two modes, a short or non-digit text, and the style it takes.
#include "controls/CtrlNumber.h"

#include "ControlTestKit.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr Gdiplus::ARGB kBack = 0xFF101820u;

constexpr Gdiplus::ARGB Digit(unsigned d)
{
    return 0xFF0000A0u | (0x10u * (d + 1)) << 16;
}

// One display through its life: three cells at W = 61, SetDigit(2), a short and a foreign text,
// the two background modes, an index outside the ten, and nothing for the parent.
using DigitDisplay = HostedTest<>;

TEST_F(DigitDisplay, Session)
{
    CCtrlNumber n;
    ASSERT_TRUE(
        n.Create(L"042", WS_CHILD | WS_VISIBLE | SS_RIGHT, CRect(10, 10, 71, 30), &host, 300));
    EXPECT_EQ(n.GetStyle() & SS_TYPEMASK, SS_OWNERDRAW) << "a right-aligned static too";
    std::vector<std::unique_ptr<Gdiplus::Bitmap>> digits;
    for (unsigned d = 0; d < 10; ++d)
        n.SetImage(digits.emplace_back(Solid(4, 6, Digit(d))).get(), static_cast<int>(d));
    auto back = Solid(8, 8, kBack);
    n.SetBkImage(back.get(), -1, -1);
    n.SetImage(digits[5].get(), 10); // slot 10 would overwrite the background
    n.SetImage(digits[5].get(), -1);
    driver.Record(host.m_hWnd);
    // Each state: the text, the digit count, and the colours at x 0, 19, 20, 29, 30, 40, 59, 60.
    const struct
    {
        const wchar_t* text;
        int count;
        std::vector<Gdiplus::ARGB> at;
    } states[] = {
        {L"042", 3, {Digit(0), Digit(0), Digit(4), Digit(4), Digit(4), Digit(2), Digit(2), kBack}},
        {L"123", 2, {Digit(1), Digit(1), Digit(1), Digit(1), Digit(2), Digit(2), Digit(2), kBack}},
        {L"7", 3, {Digit(7), Digit(7), kBack, kBack, kBack, kBack, kBack, kBack}}, // past the text
        {L"9:5", 3, {Digit(9), Digit(9), kBack, kBack, kBack, Digit(5), Digit(5), kBack}},
    };
    for (const auto& st : states) {
        n.SetDigit(st.count);
        n.SetWindowText(st.text); // a new text repaints by itself
        int i = 0;
        for (int x : {0, 19, 20, 29, 30, 40, 59, 60})
            EXPECT_EQ(At(n, x, 10), st.at[static_cast<size_t>(i++)])
                << "x " << x << " " << st.count;
    }

    // Columns of a 40-wide picture are one colour each: column x is blue 6x.
    auto stripes = Bands(40, 20, {});
    Gdiplus::Graphics g(stripes.get());
    for (int x = 0; x < 40; ++x) {
        Gdiplus::SolidBrush b{Gdiplus::Color(0xFF000000u | static_cast<unsigned>(x * 6))};
        g.FillRectangle(&b, x, 0, 1, 20);
    }
    n.SetWindowText(L"");
    n.SetBkImage(stripes.get(), 5, 0);
    n.Invalidate();
    EXPECT_EQ(At(n, 0, 10), 0xFF00001Eu) << "column 5 copied at x 0";
    EXPECT_EQ(At(n, 20, 10), 0xFF000096u);
    n.SetBkImage(stripes.get(), -1, -1);
    n.Invalidate();
    EXPECT_EQ(At(n, 60, 10), 0xFF0000EAu) << "the whole picture stretched: column 39 at the end";

    driver.Click(n.m_hWnd, {5, 5});
    for (const MSG& m : driver.Recorded())
        EXPECT_NE(m.message, WM_COMMAND) << "the display tells its parent nothing";
}

} // namespace

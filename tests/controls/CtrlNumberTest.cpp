// The digit display through the headless window layer: the cells each digit picture fills,
// the background's two modes, a short or non-digit text, and the style it takes.
#include "controls/CtrlNumber.h"

#include "ControlTestKit.h"

#include <chrono>
#include <climits>
#include <vector>

namespace {

// Digit d is the picture 0xFF(d+1)000A0; what a pixel shows reads as that digit, "b" for the
// background colour `back` or "?".
class DigitDisplay : public HostedTest
{
protected:
    void Make(DWORD style)
    {
        ASSERT_TRUE(
            n.Create(L"042", WS_CHILD | WS_VISIBLE | style, CRect(10, 10, 71, 30), &host, 3));
        for (unsigned d = 0; d < 10; ++d)
            n.SetImage(digits.emplace_back(Solid(4, 6, 0xFF0000A0u | (d + 1) << 20)).get(), int(d));
    }
    std::string Shown(int x, DWORD back)
    {
        const DWORD c = At(n, x, 10);
        return (c & 0xFFFF) == 0xA0 ? std::to_string((c >> 20 & 0xF) - 1) : c == back ? "b" : "?";
    }

    CCtrlNumber n;
    std::vector<std::unique_ptr<Gdiplus::Bitmap>> digits;
};

// One display through its life: three cells at W = 61, a short and a foreign text,
// the two background modes, an index outside the ten, and nothing for the parent.
TEST_F(DigitDisplay, Session)
{
    Make(SS_RIGHT);
    EXPECT_EQ(n.GetStyle() & SS_TYPEMASK, SS_OWNERDRAW) << "a right-aligned static too";
    // Columns of an 80-wide background are one colour each: column x is blue 3x.
    auto back = Bands(80, 20, {});
    Gdiplus::Graphics g(back.get());
    for (int x = 0; x < 80; ++x) {
        Gdiplus::SolidBrush b{Gdiplus::Color(0xFF000000u | static_cast<unsigned>(x * 3))};
        g.FillRectangle(&b, x, 0, 1, 20);
    }
    n.SetBkImage(back.get(), 5, 0);  // column 5 copied at x 0, at its own size
    n.SetImage(digits[5].get(), 10); // slot 10 or -1 would overwrite the background
    n.SetImage(digits[5].get(), -1);
    // Each state: digit count, text, and what shows at x 0, 19, 20, 29, 30, 40, 59, 60 (a digit,
    // or b: the background). 61 does not divide by 3: the last column keeps the background.
    for (auto [count, text, want] : {std::tuple{3, L"042", "0 0 4 4 4 2 2 b"},
                                     {3, L"7", "7 7 b b b b b b"},
                                     {3, L"9:5", "9 9 b b b 5 5 b"}}) {
        n.SetDigit(count);
        n.SetWindowText(text); // a new text repaints by itself
        std::string shown;
        for (int x : {0, 19, 20, 29, 30, 40, 59, 60})
            shown += Shown(x, 0xFF000000u + (5 + x) * 3) + " ";
        EXPECT_EQ(shown, std::string(want) + " ") << count << " digits";
    }
    n.SetWindowText(L"");
    n.SetBkImage(back.get(), -1, -1);
    n.Invalidate();
    EXPECT_EQ(At(n, 60, 10), 0xFF0000EDu) << "the whole picture stretched: column 79 at the end";

    driver.Click(n.m_hWnd, {5, 5});
    EXPECT_EQ(host.heard, "") << "the display tells its parent nothing";
}

// Host-given extremes: digit counts at the ends of int and background origins at the ends of
// int. SetDigit(INT_MAX) used to loop 2^31 times a paint (seconds each); the cells are 0 wide
// then, so the picture is the background alone, at once. Rows: count, background origin, what
// shows at x 0, 1, 2, 3, 30 (as in Session), all within a second.
TEST_F(DigitDisplay, HostileCountsAndOrigins)
{
    constexpr int lo = INT_MIN, hi = INT_MAX;
    Make(0);
    auto back = Solid(80, 20, 0xFF101010u);
    const std::tuple<int, int, int, const char*> cases[] = {
        {hi, 5, 0, "b b b b b"},  {lo, 5, 0, "b b b b b"},  {61, 5, 0, "0 4 2 b b"},
        {3, hi, hi, "0 0 0 0 4"}, {3, lo, lo, "0 0 0 0 4"}, {3, -1, lo, "0 0 0 0 4"}};
    for (auto [count, x, y, want] : cases) {
        n.SetDigit(count);
        n.SetBkImage(back.get(), x, y);
        const auto start = std::chrono::steady_clock::now();
        n.Invalidate();
        std::string shown;
        for (int px : {0, 1, 2, 3, 30})
            shown += (shown.empty() ? "" : " ") + Shown(px, 0xFF101010u);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << count;
        if (x != hi && x != lo)
            EXPECT_EQ(shown, want) << count << " digits, background from " << x << "," << y;
        else
            EXPECT_EQ(shown.substr(0, 1), "0") << "the digits over a background out of reach";
    }
}

} // namespace

// The skinned button through the headless window layer: frames shown per state, checking,
// notifications to the parent, hover and leave.
#include "controls/CtrlButton.h"

#include "ControlTestKit.h"

#include <climits>
#include <cstdint>
#include <functional>

namespace {

constexpr UINT kId = 1001;
constexpr DWORD kFace = 0xFFF0F0F0u; // the top-level's erase colour (COLOR_3DFACE)

// Frame k of a strip is one solid colour, so the frame shown is read from any inner pixel.
constexpr Gdiplus::ARGB kFrameColour[6] = {0xFF102030u, 0xFF405060u, 0xFF708090u,
                                           0xFFA0B0C0u, 0xFFD0E0F0u, 0xFF332211u};

std::unique_ptr<Gdiplus::Bitmap> Strip(int frames, int frameWidth, int height)
{
    auto b = Bands(frames * frameWidth, height, {});
    for (int k = 0; k < frames; ++k)
        Gdiplus::Graphics(b.get()).DrawImage(Solid(frameWidth, height, kFrameColour[k]).get(),
                                             k * frameWidth, 0);
    return b;
}

// The parent hears each click with the button's check state at that moment.
class SkinnedButton : public HostedTest
{
protected:
    void SetUp() override
    {
        HostedTest::SetUp();
        host.state = [this] { return std::to_string(button.GetCheck()); };
    }
    // A dialog-made system button of `style`, subclassed as a dialog host does.
    void MakeSubclassed(DWORD style, CRect rect = CRect(10, 10, 70, 40))
    {
        CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                        rect.Width(), rect.Height(), host.m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kId)), nullptr,
                        nullptr);
        ASSERT_TRUE(button.SubclassDlgItem(kId, &host));
    }
    DWORD Shown(POINT p = {30, 15}) { return driver.PixelAt(button.m_hWnd, p); }

    CCtrlButton button;
    std::unique_ptr<Gdiplus::Bitmap> strip4 = Strip(4, 30, 30); // the 120 x 30 strip
};

// Through the driver's mouse (the frame each state shows is TheStateFollowsInput...'s): hover
// needs the pointer to rest; the parent hears each click after the check has changed, the second
// click of a double click too; the check messages take any checked value.
TEST_F(SkinnedButton, APushLikeCheckButtonThroughHoverPressClickAndCheck)
{
    MakeSubclassed(BS_AUTOCHECKBOX | BS_PUSHLIKE);
    button.SetButtonImage(strip4.get(), 4);
    driver.MoveMouse(button.m_hWnd, {30, 15});
    EXPECT_EQ(Shown(), kFrameColour[0]);
    driver.AdvanceTime(1);
    EXPECT_EQ(Shown(), kFrameColour[1]);
    driver.DoubleClick(button.m_hWnd, {30, 15});
    EXPECT_EQ(host.heard, "command 1001 0 1; command 1001 0 0; ");

    driver.MoveMouse(host.m_hWnd, {200, 100});
    for (auto [value, check] :
         {std::pair<WPARAM, int>{BST_INDETERMINATE, 1}, {7, 0}, {BST_CHECKED, 1}}) {
        button.SendMessage(BM_SETCHECK, value);
        EXPECT_EQ(button.SendMessage(BM_GETCHECK), check) << value;
        EXPECT_EQ(Shown(), kFrameColour[check ? 3 : 0]) << value;
    }
}

// Subclassing and creating both make the button owner-drawn by replacing the type bits (OR-ing
// them left a radio button never painted). A push button created with BS_LEFTTEXT stays a push
// button: it clicks without checking and ignores the check messages.
TEST_F(SkinnedButton, APushButtonClicksWithoutCheckingAndIgnoresCheckMessages)
{
    MakeSubclassed(BS_RADIOBUTTON);
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
    CCtrlButton push;
    ASSERT_TRUE(push.Create(L"", WS_CHILD | WS_VISIBLE | BS_LEFTTEXT, CRect(100, 10, 160, 40),
                            &host, 1002));
    EXPECT_EQ(push.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
    push.SetButtonImage(strip4.get(), 4);
    host.state = [&push] { return std::to_string(push.GetCheck()); };
    driver.Click(push.m_hWnd, {30, 15});
    EXPECT_EQ(host.heard, "command 1002 0 0; ");
    push.SendMessage(BM_SETCHECK, BST_CHECKED);
    push.SetCheck(1);
    EXPECT_EQ(push.SendMessage(BM_GETCHECK), 0);
    driver.MoveMouse(host.m_hWnd, {290, 190});
    EXPECT_EQ(driver.PixelAt(push.m_hWnd, {30, 15}), kFrameColour[0]);
    push.EnableWindow(FALSE);
    EXPECT_EQ(driver.PixelAt(push.m_hWnd, {30, 15}), kFrameColour[2]);
}

// A background alone paints nothing; a background shows through transparent frames. (Which part
// of each picture is taken is the frame and background tables' business.)
TEST_F(SkinnedButton, BackgroundOnlyAndTranslucentFrames)
{
    MakeSubclassed(BS_PUSHBUTTON);
    auto bg = Strip(2, 60, 30); // left half frame colour 0, right 1
    button.SetButtonImageBg(bg.get(), 0, 0, 0);
    button.Invalidate();
    EXPECT_EQ(Shown(), kFace);
    Gdiplus::Bitmap clear(120, 30, Gdiplus::PixelFormat32bppARGB);
    button.SetButtonImage(&clear, 4);
    button.SetButtonImageBg(bg.get(), CRect(60, 0, 120, 30)); // left > 0: 1:1 from x = 60
    button.Invalidate();
    EXPECT_EQ(Shown({5, 15}), kFrameColour[1]);
}

// Where the glyph goes is the layout table's business; this proves the painting follows it.
TEST_F(SkinnedButton, CheckBoxGlyphOfTheStateIsDrawnInItsLayoutBox)
{
    MakeSubclassed(BS_AUTOCHECKBOX, CRect(10, 10, 130, 30)); // 120 x 20
    auto glyphs = Strip(4, 16, 16);
    button.SetButtonImage(glyphs.get(), 4);
    // From y 2, drawn at its own size (16), not stretched.
    EXPECT_EQ(std::tuple(Shown({8, 1}), Shown({8, 2}), Shown({16, 10})),
              std::tuple(kFace, kFrameColour[0], kFace));
    button.SetCheck(1);
    EXPECT_EQ(Shown({8, 10}), kFrameColour[3]);
}

// The state is a const answer of the button's own state (pushed, enabled, checked, hovered):
// after each input, sent straight to the button with no paint in between, it is already the
// state the next paint draws; m_bDown and m_bDisabled keep recording the last paint.
TEST_F(SkinnedButton, TheStateFollowsInputWithoutAPaintInBetween)
{
    MakeSubclassed(BS_AUTOCHECKBOX | BS_PUSHLIKE);
    button.SetButtonImage(strip4.get(), 4);
    const LPARAM inside = MAKELPARAM(30, 15);
    for (auto [input, want] : std::initializer_list<std::pair<std::function<void()>, btn::State>>{
             {[] {}, btn::Normal},
             {[&] { button.SendMessage(WM_MOUSEHOVER, 0, inside); }, btn::Hover},
             {[&] { button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside); }, btn::DownHover},
             {[&] { button.SendMessage(WM_LBUTTONUP, 0, inside); }, btn::DownHover}, // checked
             {[&] { button.SendMessage(WM_MOUSELEAVE); }, btn::Down},
             {[&] { button.EnableWindow(FALSE); }, btn::DownDisabled},
             {[&] { button.EnableWindow(TRUE); }, btn::Down},
             {[&] { button.SendMessage(BM_SETCHECK, BST_UNCHECKED); }, btn::Normal},
             {[&] { button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside); }, btn::Down}}) {
        input();
        EXPECT_EQ(button.GetVisualState(), want) << "before the paint";
        EXPECT_EQ(Shown(), kFrameColour[btn::FrameForState(4, want)]) << "the paint agrees";
        EXPECT_EQ(button.m_bDown, want >= btn::Down) << "the record of that paint";
    }
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(500, 500)); // released outside: no click
    EXPECT_EQ(button.GetVisualState(), btn::Normal);
}

// Host-given extremes: frame counts, text offsets, background rectangles and nine-slice margins
// at the ends of int. Each row paints (under the sanitizers nothing may overflow) and shows the
// frame the rule gives at a corner the text cannot reach.
TEST_F(SkinnedButton, HostileCountsOffsetsAndRectangles)
{
    constexpr int lo = INT_MIN, hi = INT_MAX;
    MakeSubclassed(BS_PUSHBUTTON);
    button.SetWindowText(L"MM");
    button.SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
    auto bg = Strip(2, 60, 30);
    for (auto [set, want] : std::initializer_list<std::pair<std::function<void()>, DWORD>>{
             {[&] { button.SetButtonImage(strip4.get(), hi); }, kFace},           // frames 0 wide
             {[&] { button.SetButtonImage(strip4.get(), lo); }, kFrameColour[0]}, // one frame
             {[&] { button.SetButtonImage(strip4.get(), 4); }, kFrameColour[0]},
             {[&] { button.SetTextOffset(hi); }, kFrameColour[0]},
             {[&] { button.SetTextOffset(lo); }, kFrameColour[0]},
             {[&] { button.SetVerticalTextOffset(lo); }, kFrameColour[0]},
             {[&] { button.SetVerticalTextOffset(hi); }, kFrameColour[0]},
             {[&] { button.SetButtonImageBg(bg.get(), CRect(1, 1, lo, hi)); }, kFrameColour[0]},
             {[&] { button.SetButtonImageBg(bg.get(), lo, hi, 1); }, kFrameColour[0]},
             {[&] { button.SetButtonType(2, hi); }, kFrameColour[0]},
             {[&] { button.SetButtonType(2, lo); }, kFrameColour[0]}}) {
        set();
        button.Invalidate();
        EXPECT_EQ(Shown({1, 1}), want);
    }
    CCtrlButton box;
    ASSERT_TRUE(box.Create(L"MM", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(100, 50, 220, 70),
                           &host, 1003));
    auto glyphs = Strip(4, 16, 16);
    box.SetButtonImage(glyphs.get(), 4);
    box.SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
    for (int offset : {hi, lo}) {
        box.SetTextOffset(offset);
        box.SetVerticalTextOffset(offset);
        box.Invalidate();
        EXPECT_EQ(driver.PixelAt(box.m_hWnd, {8, 10}), kFrameColour[0]) << offset;
    }
}

} // namespace

// Keys and characters, key state, the focus and where it goes when its window does.
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <vector>

using platform::wnd::HeadlessDriver;

namespace {

bool IsKeyboardMessage(UINT m)
{
    return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == WM_SETFOCUS || m == WM_KILLFOCUS;
}

struct Seen
{
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Seen&) const = default;
};

class Keyboard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        top = CreateWindowExW(0, nullptr, L"top", WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr,
                              nullptr, nullptr);
        a = Child(1, 0, 0);
        b = Child(2, 50, 0);
        for (HWND h : {top, a, b})
            driver.Record(h);
    }
    HWND Child(int id, int x, int y, HWND parent = nullptr)
    {
        return CreateWindowExW(
            0, nullptr, L"c", WS_CHILD | WS_VISIBLE, x, y, 40, 20, parent ? parent : top,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    }
    // The keyboard and focus messages recorded since the last call.
    std::vector<Seen> Take()
    {
        std::vector<Seen> out;
        for (const MSG& m : driver.Recorded())
            if (IsKeyboardMessage(m.message))
                out.push_back(Seen{m.hwnd, m.message, m.wParam, m.lParam});
        driver.ClearRecorded();
        return out;
    }
    HeadlessDriver driver;
    HWND top = nullptr, a = nullptr, b = nullptr;
};

} // namespace

// Each step's messages to the focus window, lParam as Windows builds it: repeat count 1,
// bit 29 Alt held (system keys), bit 30 previously down, bit 31 released.
TEST_F(Keyboard, KeyAndCharacterMessagesInOrderWithTheirFlags)
{
    SetFocus(a);
    Take();
    struct Step
    {
        const char* what;
        void (*act)(HeadlessDriver&);
        std::vector<std::tuple<UINT, WPARAM, LPARAM>> expected;
    };
    const Step steps[] = {
        {"press", [](HeadlessDriver& d) { d.KeyDown('A'); }, {{WM_KEYDOWN, 'A', 0x00000001}}},
        {"repeat", [](HeadlessDriver& d) { d.KeyDown('A'); }, {{WM_KEYDOWN, 'A', 0x40000001}}},
        {"release", [](HeadlessDriver& d) { d.KeyUp('A'); }, {{WM_KEYUP, 'A', 0xC0000001}}},
        {"Enter makes its character",
         [](HeadlessDriver& d) { d.Key(VK_RETURN); },
         {{WM_KEYDOWN, VK_RETURN, 1}, {WM_CHAR, 13, 1}, {WM_KEYUP, VK_RETURN, 0xC0000001}}},
        {"Ctrl+C",
         [](HeadlessDriver& d) { d.Key('C', MOD_CONTROL); },
         {{WM_KEYDOWN, VK_CONTROL, 1},
          {WM_KEYDOWN, 'C', 1},
          {WM_CHAR, 3, 1},
          {WM_KEYUP, 'C', 0xC0000001},
          {WM_KEYUP, VK_CONTROL, 0xC0000001}}},
        {"Alt+X is a system key; Alt's release after it is not",
         [](HeadlessDriver& d) { d.Key('X', MOD_ALT); },
         {{WM_SYSKEYDOWN, VK_MENU, 0x20000001},
          {WM_SYSKEYDOWN, 'X', 0x20000001},
          {WM_SYSCHAR, 'x', 0x20000001},
          {WM_SYSKEYUP, 'X', 0xE0000001},
          {WM_KEYUP, VK_MENU, 0xC0000001}}},
        {"Alt alone",
         [](HeadlessDriver& d) { d.Key(VK_MENU); },
         {{WM_SYSKEYDOWN, VK_MENU, 0x20000001}, {WM_SYSKEYUP, VK_MENU, 0xE0000001}}},
        {"Ctrl+Alt+X is not a system key",
         [](HeadlessDriver& d) { d.Key('X', MOD_CONTROL | MOD_ALT); },
         {{WM_KEYDOWN, VK_CONTROL, 1},
          {WM_KEYDOWN, VK_MENU, 1},
          {WM_KEYDOWN, 'X', 1},
          {WM_KEYUP, 'X', 0xC0000001},
          {WM_KEYUP, VK_MENU, 0xC0000001},
          {WM_KEYUP, VK_CONTROL, 0xC0000001}}},
        {"text: one WM_CHAR per UTF-16 unit, a surrogate pair as two",
         [](HeadlessDriver& d) { d.Type("é\xD0\xB6\xF0\x9F\x8E\xB5"); },
         {{WM_CHAR, 0xE9, 1}, {WM_CHAR, 0x436, 1}, {WM_CHAR, 0xD83C, 1}, {WM_CHAR, 0xDFB5, 1}}},
        {"losing the keyboard releases every key held, each a WM_KEYUP (Alt alone too)",
         [](HeadlessDriver& d) {
             d.KeyDown(VK_SHIFT);
             d.KeyDown(VK_MENU);
             d.LoseKeyboard();
         },
         {{WM_KEYDOWN, VK_SHIFT, 1},
          {WM_SYSKEYDOWN, VK_MENU, 0x20000001},
          {WM_KEYUP, VK_SHIFT, 0xC0000001},
          {WM_KEYUP, VK_MENU, 0xC0000001}}},
        {"out-of-range codes are ignored",
         [](HeadlessDriver& d) {
             d.KeyDown(0);
             d.KeyDown(255);
             d.KeyDown(0x1234);
         },
         {}},
    };
    for (const Step& s : steps) {
        s.act(driver);
        std::vector<Seen> want;
        for (const auto& [m, w, l] : s.expected)
            want.push_back(Seen{a, m, w, l});
        EXPECT_EQ(Take(), want) << s.what;
    }
}

TEST_F(Keyboard, KeyStateFollowsTheMessagesAndTogglesOnEachPress)
{
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    driver.KeyDown(VK_SHIFT);
    EXPECT_EQ(static_cast<USHORT>(GetKeyState(VK_SHIFT)), 0x8001u);
    EXPECT_EQ(static_cast<USHORT>(GetAsyncKeyState(VK_SHIFT)), 0x8000u);
    driver.KeyDown(VK_SHIFT); // a repeat does not toggle
    EXPECT_EQ(static_cast<USHORT>(GetKeyState(VK_SHIFT)), 0x8001u);
    driver.KeyUp(VK_SHIFT);
    EXPECT_EQ(std::pair(GetKeyState(VK_SHIFT), GetAsyncKeyState(VK_SHIFT)),
              std::pair(SHORT(1), SHORT(0)));
    driver.Key(VK_SHIFT);
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    // The left and right keys are reported as the generic one.
    platform::wnd::QueueKey(top, VK_RCONTROL, true);
    driver.Pump();
    EXPECT_TRUE(GetKeyState(VK_CONTROL) & GetKeyState(VK_RCONTROL) & 0x8000);
    // Keys held when the keyboard goes elsewhere are held no longer.
    driver.KeyDown('A');
    driver.LoseKeyboard();
    for (int vk : {int{VK_CONTROL}, int{VK_RCONTROL}, int{'A'}})
        EXPECT_EQ(std::pair(GetKeyState(vk) & 0x8000, GetAsyncKeyState(vk) & 0x8000),
                  std::pair(0, 0))
            << vk;
    EXPECT_EQ(std::pair(GetKeyState(-1), GetKeyState(100000)), std::pair(SHORT(0), SHORT(0)));
}

// Keys go to the focus window, else to the top-level, also while another window holds the
// capture; SetFocus sends WM_KILLFOCUS, then WM_SETFOCUS, and refuses disabled and unknown
// windows.
TEST_F(Keyboard, KeysGoToTheFocusElseTheTopLevelAndSetFocusSendsKillThenSet)
{
    driver.Key('Q');
    EXPECT_EQ(Take(),
              (std::vector<Seen>{{top, WM_KEYDOWN, 'Q', 1}, {top, WM_KEYUP, 'Q', 0xC0000001}}));
    SetFocus(a);
    EXPECT_EQ(Take(), (std::vector<Seen>{{a, WM_SETFOCUS, 0, 0}}));
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(Take(), (std::vector<Seen>{{a, WM_KILLFOCUS, reinterpret_cast<WPARAM>(b), 0},
                                         {b, WM_SETFOCUS, reinterpret_cast<WPARAM>(a), 0}}));
    EXPECT_EQ(SetFocus(b), b);
    EXPECT_TRUE(Take().empty());
    SetCapture(a);
    driver.Key('Q');
    EXPECT_EQ(Take(), (std::vector<Seen>{{b, WM_KEYDOWN, 'Q', 1}, {b, WM_KEYUP, 'Q', 0xC0000001}}));
    ReleaseCapture();
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x7777)), nullptr);
    EXPECT_EQ(GetFocus(), b);
    // Keys for a top-level that is gone are dropped.
    platform::wnd::QueueKey(reinterpret_cast<HWND>(0x7777), 'Q', true);
    platform::wnd::QueueText(reinterpret_cast<HWND>(0x7777), "q");
    driver.Pump();
    EXPECT_TRUE(Take().empty());
}

// Where the focus goes when its window (or one around it) is hidden, disabled or destroyed:
// hidden (and so destroyed, which hides a shown child first) to the hidden window's parent,
// disabled to nothing.
TEST_F(Keyboard, FocusLeavesHiddenDisabledAndDestroyedWindowsAsWindowsMovesIt)
{
    enum Goes { ToPanel, ToTop, ToNothing };
    struct Case
    {
        const char* what;
        void (*act)(HWND panel, HWND inner);
        Goes goes;
    };
    const Case cases[] = {
        {"hidden", [](HWND, HWND i) { ShowWindow(i, SW_HIDE); }, ToPanel},
        {"parent hidden", [](HWND p, HWND) { ShowWindow(p, SW_HIDE); }, ToTop},
        {"disabled", [](HWND, HWND i) { EnableWindow(i, FALSE); }, ToNothing},
        {"parent disabled", [](HWND p, HWND) { EnableWindow(p, FALSE); }, ToNothing},
        {"destroyed", [](HWND, HWND i) { DestroyWindow(i); }, ToPanel},
        {"parent destroyed", [](HWND p, HWND) { DestroyWindow(p); }, ToTop},
    };
    for (const Case& c : cases) {
        const HWND panel = Child(3, 100, 50);
        const HWND inner = Child(4, 0, 0, panel);
        driver.Record(panel);
        driver.Record(inner);
        SetFocus(inner);
        Take();
        c.act(panel, inner);
        const HWND wanted = c.goes == ToPanel ? panel : c.goes == ToTop ? top : nullptr;
        EXPECT_EQ(GetFocus(), wanted) << c.what;
        const std::vector<Seen> seen = Take();
        ASSERT_FALSE(seen.empty()) << c.what;
        EXPECT_EQ(seen.front(), (Seen{inner, WM_KILLFOCUS, reinterpret_cast<WPARAM>(wanted), 0}))
            << c.what;
        if (wanted) {
            EXPECT_EQ(seen.back(), (Seen{wanted, WM_SETFOCUS, reinterpret_cast<WPARAM>(inner), 0}))
                << c.what;
        }
        DestroyWindow(panel);
        SetFocus(nullptr);
    }
}

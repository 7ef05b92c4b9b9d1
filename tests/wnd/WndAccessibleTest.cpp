// The window layer's side of assistive technology: names without mnemonics, values asked of a
// control of whole positions, the defaults every window answers, and what the listener hears,
// in order.
#include "platform/wnd/Accessible.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

using namespace platform::wnd;

TEST(AccessibleRules, NamesLoseTheirMnemonicMarks)
{
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"&Play", L"Play"}, {L"Sto&p", L"Stop"}, {L"A&&B", L"A&B"}, {L"&&&Go", L"&Go"},
        {L"End&", L"End"},   {L"", L""},          {L"&", L""},
    };
    for (auto [text, name] : rows)
        EXPECT_EQ(TextWithoutMnemonic(text), CString(name)) << CString(text).ToUtf8();
}

TEST(AccessibleRules, ValuesBecomeTheNearestPositionInsideTheRange)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Row
    {
        int min, max;
        double value;
        bool taken;
        int pos;
    };
    const Row rows[] = {
        {0, 100, 29.5, true, 30}, {0, 100, 0, true, 0},
        {0, 100, 100, true, 100}, {0, 100, 100.2, false, 0},
        {0, 100, -0.1, false, 0}, {0, 100, nan, false, 0},
        {0, 100, inf, false, 0},  {100, 0, 40, true, 40},
        {-5, -5, -5, true, -5},   {INT_MIN, INT_MAX, INT_MAX, true, INT_MAX},
    };
    for (const Row& r : rows) {
        int pos = 0;
        EXPECT_EQ(PositionForValue(r.min, r.max, r.value, &pos), r.taken)
            << r.min << ".." << r.max << " " << r.value;
        EXPECT_EQ(pos, r.pos) << r.value;
    }
}

namespace {

std::string g_heard;

void Listen(HWND hwnd, AccEvent e)
{
    static const char* names[] = {"created", "destroying", "focus", "changed"};
    g_heard +=
        std::string(names[int(e)]) + " " + std::to_string(hwnd ? ::GetDlgCtrlID(hwnd) : -1) + "; ";
}

class AccessibleWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        top = CreateWindowExW(0, nullptr, L"&Top", WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr,
                              nullptr, nullptr);
    }
    void TearDown() override
    {
        SetAccessibilityListener(nullptr);
        DestroyAllWindows();
    }
    HWND Make(LPCWSTR cls, DWORD style, int id, LPCWSTR text = L"")
    {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 50, 20, top,
                               reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr,
                               nullptr);
    }
    HeadlessDriver driver;
    HWND top = nullptr;
};

AccDescription Describe(HWND h)
{
    AccDescription d;
    SendMessageW(h, WM_ACCDESCRIBE, 0, reinterpret_cast<LPARAM>(&d));
    return d;
}

} // namespace

TEST_F(AccessibleWindows, DefaultsOfEveryWindowAndOfTheSystemClasses)
{
    const HWND plain = Make(nullptr, WS_TABSTOP, 1, L"Pa&nel");
    const HWND hidden = Make(L"STATIC", SS_LEFT, 2, L"&Label");
    ShowWindow(hidden, SW_HIDE);
    const HWND notify = Make(L"STATIC", SS_NOTIFY, 3, L"Click me");
    const HWND icon = Make(L"STATIC", SS_ICON, 4, L"");
    const HWND inDisabled = Make(nullptr, 0, 5);
    const HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 0, 0, 9, 9,
                                        inDisabled, nullptr, nullptr, nullptr);
    EnableWindow(inDisabled, FALSE);
    SetFocus(plain);
    struct Row
    {
        HWND h;
        AccRole role;
        const char* name;
        unsigned states;
        size_t actions;
    };
    const unsigned shown = acc::Enabled | acc::Visible | acc::Showing;
    const Row rows[] = {
        {top, AccRole::Frame, "Top", shown | acc::Active, 0},
        {plain, AccRole::Panel, "Panel", shown | acc::Focusable | acc::Focused, 0},
        {hidden, AccRole::Label, "Label", acc::Enabled, 0},
        {notify, AccRole::Label, "Click me", shown, 1},
        {icon, AccRole::Image, "", shown, 0},
        // Inside a disabled window: not enabled, whatever its own style says.
        {button, AccRole::PushButton, "OK", acc::Visible | acc::Showing | acc::Focusable, 1},
    };
    for (const Row& r : rows) {
        const AccDescription d = Describe(r.h);
        EXPECT_EQ(std::tuple(d.role, d.name.ToUtf8(), d.states, d.actions.size()),
                  std::tuple(r.role, std::string(r.name), r.states, r.actions));
    }
    // A static that reports clicks is clicked by its action as by the mouse.
    driver.Record(top);
    EXPECT_TRUE(SendMessageW(notify, WM_ACCDOACTION, 0, 0));
    ASSERT_EQ(driver.Commands(STN_CLICKED).size(), 1u);
    EXPECT_FALSE(SendMessageW(hidden, WM_ACCDOACTION, 0, 0)); // no SS_NOTIFY: no action
    EXPECT_FALSE(SendMessageW(button, WM_ACCSETVALUE, 0, 0)); // no value
}

TEST_F(AccessibleWindows, TheListenerHearsCreationFocusChangesAndDestruction)
{
    g_heard.clear();
    SetAccessibilityListener(&Listen);
    const HWND a = Make(nullptr, 0, 1);
    const HWND b = Make(L"STATIC", 0, 2);
    SetFocus(a);
    g_heard.clear();
    SetWindowTextW(b, L"new");
    EnableWindow(a, FALSE); // the focus leaves a disabled window
    DestroyWindow(b);
    // The text is set, then the static repaints; the parent repaints where b was, a with it.
    EXPECT_EQ(g_heard, "changed 2; changed 2; focus -1; changed 1; destroying 2; changed 0; "
                       "changed 1; ");
    SetAccessibilityListener(nullptr);
    g_heard.clear();
    Make(nullptr, 0, 3);
    EXPECT_EQ(g_heard, "");
}

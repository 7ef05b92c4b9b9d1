// Mouse routing, double clicks, capture, hover and leave tracking, thread timers, message boxes.
// A window's timers are the tooltip's, the link's and the demo player's to test.
#include "Probe.h"

#include <gtest/gtest.h>

using platform::wnd::HeadlessDriver;

namespace {

class Input : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_VISIBLE, CRect(100, 50, 400, 250),
                                    nullptr, 0));
        ASSERT_TRUE(
            child.Create(nullptr, L"c", WS_CHILD | WS_VISIBLE, CRect(20, 30, 120, 80), &parent, 7));
        parent.log.clear();
        child.log.clear();
    }
    HeadlessDriver driver;
    CProbeWnd parent;
    CProbeWnd child;
};

} // namespace

TEST_F(Input, MouseMessagesCarryClientCoordinatesUnderCaptureSkipDisabledWindowsAndWheelsPassOn)
{
    RECT r{};
    child.GetWindowRect(&r);
    EXPECT_EQ(CRect(r), CRect(120, 80, 220, 130));
    child.SetCapture();
    driver.MoveMouse(parent.m_hWnd, {2, 3});
    EXPECT_EQ(std::pair(child.lastPoint, parent.Count("move")), std::pair(CPoint(-18, -27), 0));
    ::ReleaseCapture();
    EXPECT_EQ(child.Count("capturechanged"), 1);
    driver.MoveMouse(parent.m_hWnd, {2, 4});
    EXPECT_EQ(parent.Count("move"), 1);

    // A disabled child's input goes to its parent, and disabling drops capture and focus.
    child.SetCapture();
    child.SetFocus();
    EXPECT_FALSE(child.EnableWindow(FALSE));
    EXPECT_EQ(std::pair(::GetCapture(), ::GetFocus()), std::pair(HWND{}, HWND{}));
    driver.Click(child.m_hWnd, {5, 5});
    EXPECT_EQ(std::tuple(child.Count("down"), parent.Count("down"), parent.lastPoint),
              std::tuple(0, 1, CPoint(25, 35)));
    EXPECT_TRUE(child.EnableWindow(TRUE));

    // The wheel goes to the focus window, else to the one under the pointer; a window that
    // leaves it alone passes it on to its parent.
    parent.handleWheel = true;
    driver.MoveMouse(child.m_hWnd, {5, 5});
    driver.Wheel(-240);
    EXPECT_EQ(parent.wheelDelta, -240);
    child.handleWheel = true;
    child.SetFocus();
    driver.MoveMouse(parent.m_hWnd, {250, 150});
    driver.Wheel(120);
    EXPECT_EQ(std::pair(child.wheelDelta, parent.wheelDelta), std::pair(120, -240));
}

// A handler's point is the pointer's screen position less the window's client origin on the
// screen, through nested frames (WS_EX_CLIENTEDGE 2 px, WS_BORDER 1 px) and under a capture
// held while the pointer is over another top-level window.
TEST_F(Input, ClientPointsThroughFramesAndFromAnotherTopLevel)
{
    CProbeWnd framed, inner, other;
    ASSERT_TRUE(framed.CreateEx(WS_EX_CLIENTEDGE, nullptr, L"f", WS_CHILD | WS_VISIBLE,
                                CRect(150, 20, 290, 180), &parent, 8));
    ASSERT_TRUE(inner.Create(nullptr, L"i", WS_CHILD | WS_VISIBLE | WS_BORDER,
                             CRect(10, 10, 60, 60), &framed, 9));
    ASSERT_TRUE(
        other.CreateEx(0, nullptr, L"o", WS_VISIBLE, CRect(500, 300, 600, 400), nullptr, 0));
    const CPoint origin(100 + 150 + 2 + 10 + 1, 50 + 20 + 2 + 10 + 1);
    const struct
    {
        CPoint screen;
        CProbeWnd* want;
        CPoint client;
    } moves[] = {
        {origin + CPoint(4, 6), &inner, CPoint(4, 6)},
        {origin + CPoint(-1, 0), &inner, CPoint(-1, 0)}, // on inner's border
        {origin + CPoint(-2, 0), &framed, CPoint(10 + 1 - 2, 10 + 1)},
    };
    for (const auto& m : moves) {
        inner.lastPoint = framed.lastPoint = CPoint(-999, -999);
        driver.MoveMouseScreen(m.screen);
        EXPECT_EQ(m.want->lastPoint, m.client) << m.screen.x << "," << m.screen.y;
    }
    inner.SetCapture();
    driver.MoveMouseScreen({510, 320});
    EXPECT_EQ(inner.lastPoint, CPoint(510, 320) - origin);
    EXPECT_EQ(other.Count("move"), 0);
    ::ReleaseCapture();
}

// Each press comes `gap` ms after the previous one at `at`; the second press within 500 ms and
// a 4 x 4 square is a double click, and the press after a double click starts afresh.
TEST_F(Input, DoubleClickRules)
{
    struct Press
    {
        DWORD gap;
        POINT at;
    };
    const struct
    {
        const char* name;
        std::vector<Press> presses;
        std::vector<std::string> log;
    } cases[] = {
        {"at 500 ms", {{0, {10, 10}}, {500, {10, 10}}}, {"down", "up", "dblclk", "up"}},
        {"late", {{0, {10, 10}}, {501, {10, 10}}}, {"down", "up", "down", "up"}},
        {"moved 2", {{0, {10, 10}}, {100, {12, 8}}}, {"down", "up", "dblclk", "up"}},
        {"moved 3", {{0, {10, 10}}, {100, {13, 10}}}, {"down", "up", "down", "up"}},
        {"third",
         {{0, {10, 10}}, {50, {10, 10}}, {50, {10, 10}}},
         {"down", "up", "dblclk", "up", "down", "up"}},
    };
    for (const auto& c : cases) {
        driver.AdvanceTime(1000);
        child.log.clear();
        for (const Press& p : c.presses) {
            driver.AdvanceTime(p.gap);
            driver.MoveMouse(child.m_hWnd, p.at);
            driver.MouseDown();
            driver.MouseUp();
        }
        std::erase(child.log, "move");
        EXPECT_EQ(child.log, c.log) << c.name;
    }
}

// Hover comes once the pointer rested within a 4 x 4 square for the hover time (100 ms); a
// move further out starts the wait again. It is one-shot. Leave comes when the pointer goes to
// another window or off the windows, and at once when it was not there when asked.
TEST_F(Input, HoverComesAfterRestingForTheHoverTimeAndLeaveWhenThePointerGoes)
{
    const struct
    {
        POINT second; // 60 ms after the first, at {10, 10}
        DWORD due;    // hover due this long after the second move
    } cases[] = {{{12, 12}, 40}, {{13, 10}, 100}};
    for (const auto& c : cases) {
        child.log.clear();
        driver.MoveMouse(child.m_hWnd, {10, 10});
        TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, child.m_hWnd, 100};
        ASSERT_TRUE(_TrackMouseEvent(&tme));
        driver.AdvanceTime(60);
        driver.MoveMouse(child.m_hWnd, c.second);
        driver.AdvanceTime(c.due - 1);
        EXPECT_EQ(child.Count("hover"), 0) << c.due;
        driver.AdvanceTime(1);
        EXPECT_EQ(child.Count("hover"), 1) << c.due;
        driver.AdvanceTime(500);
        EXPECT_EQ(std::pair(child.Count("hover"), child.Count("leave")), std::pair(1, 0))
            << "one-shot";
        driver.MoveMouse(parent.m_hWnd, {1, 1});
        EXPECT_EQ(child.Count("leave"), 1);
    }
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, child.m_hWnd, 0};
    driver.MoveMouse(child.m_hWnd, {10, 10});
    _TrackMouseEvent(&tme);
    driver.LeaveWindows();
    EXPECT_EQ(child.Count("leave"), 2);
    driver.MoveMouse(parent.m_hWnd, {1, 1});
    _TrackMouseEvent(&tme); // asked while the pointer is elsewhere
    driver.Pump();
    EXPECT_EQ(child.Count("leave"), 3);
}

// A thread timer has no window: its procedure runs with the id it was given, and the ids
// start afresh once every window is gone, so that a run does not depend on the one before.
TEST(ThreadTimers, ProcedureRunsUntilKilledAndIdsStartAfresh)
{
    static std::vector<UINT_PTR> ticks;
    ticks.clear();
    UINT_PTR first = 0;
    for (size_t round = 1; round <= 2; ++round) {
        HeadlessDriver driver;
        const UINT_PTR id = SetTimer(
            nullptr, 0, 50, [](HWND, UINT, UINT_PTR tick, DWORD) { ticks.push_back(tick); });
        first = first ? first : id;
        EXPECT_EQ(id, first);
        driver.AdvanceTime(100);
        EXPECT_EQ(ticks, std::vector<UINT_PTR>(2 * round, id));
        KillTimer(nullptr, id);
        driver.AdvanceTime(100);
        EXPECT_EQ(ticks.size(), 2 * round);
    }
}

// What a box shows and the beep are recorded (the link's failed-open test reads them).
TEST(MessageBoxes, HeadlessBoxesTakeTheirDefaultButtonOrTheAnswerGiven)
{
    HeadlessDriver driver;
    const struct
    {
        UINT type;
        int answer;
    } cases[] = {{MB_YESNO | MB_ICONQUESTION, IDYES},
                 {MB_YESNO | MB_DEFBUTTON2, IDNO},
                 {MB_ABORTRETRYIGNORE, IDABORT},
                 {MB_TYPEMASK, IDOK}}; // no such kind: OK, not a read past the table
    for (const auto& c : cases)
        EXPECT_EQ(MessageBoxW(nullptr, L"text", L"caption", c.type), c.answer) << c.type;
    driver.AnswerMessageBoxes(IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"again", nullptr, MB_YESNO), IDNO);
}

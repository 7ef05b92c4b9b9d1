// Mouse routing, double clicks, capture, hover and leave tracking, timers.
#include "Probe.h"

#include <gtest/gtest.h>

#include <ostream>

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

TEST_F(Input, MouseMessagesCarryClientCoordinates)
{
    driver.MoveMouseScreen({100 + 20 + 7, 50 + 30 + 9});
    EXPECT_EQ(child.lastPoint, CPoint(7, 9));
    RECT r{};
    child.GetWindowRect(&r);
    EXPECT_EQ(CRect(r), CRect(120, 80, 220, 130));
}

TEST_F(Input, CaptureDeliversOutsideTheWindowWithNegativeCoordinates)
{
    driver.MoveMouse(child.m_hWnd, {5, 5});
    child.SetCapture();
    driver.MoveMouse(parent.m_hWnd, {2, 3});
    EXPECT_EQ(child.lastPoint, CPoint(-18, -27));
    EXPECT_EQ(parent.Count("move"), 0);
    ::ReleaseCapture();
    EXPECT_EQ(child.Count("capturechanged"), 1);
    driver.MoveMouse(parent.m_hWnd, {2, 4});
    EXPECT_EQ(parent.Count("move"), 1);
}

struct DoubleClickCase
{
    const char* name;
    DWORD gap;
    POINT second;
    bool dbl;
};

// Names the case in test listings instead of dumping its bytes.
inline void PrintTo(const DoubleClickCase& c, std::ostream* os)
{
    *os << c.name;
}

class DoubleClicks : public Input, public ::testing::WithParamInterface<DoubleClickCase>
{
};

TEST_P(DoubleClicks, SecondPressWithinTimeAndSquareIsADoubleClick)
{
    driver.Click(child.m_hWnd, {10, 10});
    driver.AdvanceTime(GetParam().gap);
    driver.MoveMouse(child.m_hWnd, GetParam().second);
    driver.MouseDown();
    driver.MouseUp();
    EXPECT_EQ(child.Count("dblclk"), GetParam().dbl ? 1 : 0);
    EXPECT_EQ(child.Count("down"), GetParam().dbl ? 1 : 2);
}

INSTANTIATE_TEST_SUITE_P(Rules, DoubleClicks,
                         ::testing::Values(DoubleClickCase{"quick", 100, {10, 10}, true},
                                           DoubleClickCase{"at500ms", 500, {10, 10}, true},
                                           DoubleClickCase{"late", 501, {10, 10}, false},
                                           DoubleClickCase{"moved2", 100, {12, 8}, true},
                                           DoubleClickCase{"moved3", 100, {13, 10}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Input, ThirdPressAfterADoubleClickIsAPlainPress)
{
    driver.DoubleClick(child.m_hWnd, {10, 10});
    driver.AdvanceTime(50);
    driver.MouseDown();
    driver.MouseUp();
    EXPECT_EQ(child.Count("dblclk"), 1);
    EXPECT_EQ(child.Count("down"), 2);
}

TEST_F(Input, HoverComesAfterRestingForTheHoverTime)
{
    driver.MoveMouse(child.m_hWnd, {10, 10});
    TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, child.m_hWnd, 100};
    ASSERT_TRUE(_TrackMouseEvent(&tme));
    driver.AdvanceTime(60);
    driver.MoveMouse(child.m_hWnd, {12, 12}); // inside the 4 x 4 square: keeps waiting
    driver.AdvanceTime(39);
    EXPECT_EQ(child.Count("hover"), 0);
    driver.AdvanceTime(1);
    EXPECT_EQ(child.Count("hover"), 1);
    driver.AdvanceTime(500);
    EXPECT_EQ(child.Count("hover"), 1) << "hover is one-shot";
}

TEST_F(Input, MovingFurtherRestartsTheHoverWait)
{
    driver.MoveMouse(child.m_hWnd, {10, 10});
    TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER, child.m_hWnd, 100};
    _TrackMouseEvent(&tme);
    driver.AdvanceTime(60);
    driver.MoveMouse(child.m_hWnd, {13, 10});
    driver.AdvanceTime(60);
    EXPECT_EQ(child.Count("hover"), 0);
    driver.AdvanceTime(40);
    EXPECT_EQ(child.Count("hover"), 1);
}

TEST_F(Input, LeaveComesWhenThePointerGoesToAnotherWindowOrOutside)
{
    driver.MoveMouse(child.m_hWnd, {10, 10});
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, child.m_hWnd, 0};
    _TrackMouseEvent(&tme);
    driver.MoveMouse(child.m_hWnd, {20, 10});
    EXPECT_EQ(child.Count("leave"), 0);
    driver.MoveMouse(parent.m_hWnd, {1, 1});
    EXPECT_EQ(child.Count("leave"), 1);

    driver.MoveMouse(child.m_hWnd, {10, 10});
    _TrackMouseEvent(&tme);
    driver.LeaveWindows();
    EXPECT_EQ(child.Count("leave"), 2);
}

TEST_F(Input, TrackingAskedWhileOutsideLeavesAtOnce)
{
    driver.MoveMouse(parent.m_hWnd, {1, 1});
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, child.m_hWnd, 0};
    _TrackMouseEvent(&tme);
    driver.Pump();
    EXPECT_EQ(child.Count("leave"), 1);
}

TEST_F(Input, TimersTickAtTheirIntervalAndStopWhenKilled)
{
    child.SetTimer(100, 100);
    driver.AdvanceTime(99);
    EXPECT_EQ(child.Count("timer 100"), 0);
    driver.AdvanceTime(251);
    EXPECT_EQ(child.Count("timer 100"), 3);
    child.SetTimer(100, 200); // the same id replaces
    driver.AdvanceTime(199);
    EXPECT_EQ(child.Count("timer 100"), 3);
    driver.AdvanceTime(1);
    EXPECT_EQ(child.Count("timer 100"), 4);
    child.KillTimer(100);
    driver.AdvanceTime(1000);
    EXPECT_EQ(child.Count("timer 100"), 4);
}

TEST_F(Input, GetMessagePosGivesTheScreenPointerOfATimerTick)
{
    driver.MoveMouse(child.m_hWnd, {3, 4});
    child.SetTimer(1, 10);
    driver.AdvanceTime(10);
    EXPECT_EQ(GET_X_LPARAM(child.lastMessagePos), 100 + 20 + 3);
    EXPECT_EQ(GET_Y_LPARAM(child.lastMessagePos), 50 + 30 + 4);
}

TEST_F(Input, DisabledChildsInputGoesToItsParentAndDisablingDropsCapture)
{
    driver.MoveMouse(child.m_hWnd, {5, 5});
    child.SetCapture();
    child.SetFocus();
    EXPECT_FALSE(child.EnableWindow(FALSE));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(::GetFocus(), nullptr);
    driver.Click(child.m_hWnd, {5, 5});
    EXPECT_EQ(child.Count("down"), 0);
    EXPECT_EQ(parent.Count("down"), 1);
    EXPECT_EQ(parent.lastPoint, CPoint(25, 35));
    EXPECT_TRUE(child.EnableWindow(TRUE));
}

TEST_F(Input, WheelGoesToTheFocusWindowWithScreenCoordinates)
{
    child.handleWheel = true;
    parent.handleWheel = true;
    child.SetFocus();
    driver.MoveMouse(parent.m_hWnd, {250, 150});
    driver.Wheel(120);
    EXPECT_EQ(child.wheelDelta, 120);
    EXPECT_EQ(parent.wheelDelta, 0);
}

TEST(MessageBoxes, HeadlessBoxesTakeTheirDefaultButtonAndAreRecorded)
{
    HeadlessDriver driver;
    const struct
    {
        UINT type;
        int answer;
    } cases[] = {{MB_OK, IDOK},
                 {MB_OKCANCEL, IDOK},
                 {MB_YESNO | MB_ICONQUESTION, IDYES},
                 {MB_YESNO | MB_DEFBUTTON2, IDNO},
                 {MB_RETRYCANCEL, IDRETRY},
                 {MB_ABORTRETRYIGNORE, IDABORT}};
    for (const auto& c : cases)
        EXPECT_EQ(MessageBoxW(nullptr, L"text", L"caption", c.type), c.answer) << c.type;
    ASSERT_EQ(driver.MessageBoxes().size(), std::size(cases));
    EXPECT_EQ(driver.MessageBoxes()[2].text, CString(L"text"));
    EXPECT_EQ(driver.MessageBoxes()[2].type, MB_YESNO | MB_ICONQUESTION);
    driver.AnswerMessageBoxes(IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"again", nullptr, MB_YESNO), IDNO);
    MessageBeep(MB_ICONEXCLAMATION);
    EXPECT_EQ(driver.Beeps(), 1);
}

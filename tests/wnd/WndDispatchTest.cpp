// Creation, subclassing, dispatch, reflection and destruction.
#include "Probe.h"

#include <gtest/gtest.h>

using platform::wnd::HeadlessDriver;

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
ON_WM_MOUSEHOVER()
ON_WM_MOUSELEAVE()
ON_WM_TIMER()
ON_WM_CAPTURECHANGED()
ON_CONTROL_RANGE(BN_CLICKED, 100, 199, OnButtonClicked)
ON_CONTROL_RANGE(BN_DOUBLECLICKED, 100, 199, OnButtonDoubleClicked)
ON_CONTROL_RANGE(STN_CLICKED, 200, 299, OnStaticClicked)
END_MESSAGE_MAP()

namespace {

std::vector<std::string> g_order;

// A button that takes its reflected click first, as the skinned buttons do.
class CReflectingButton : public CButton
{
public:
    BOOL answer = FALSE;

protected:
    BOOL OnClickedEx()
    {
        g_order.push_back("child");
        return answer;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedEx)
END_MESSAGE_MAP()

class COrderParent : public CProbeWnd
{
protected:
    void OnClicked() { g_order.push_back("parent"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COrderParent, CProbeWnd)
ON_BN_CLICKED(101, OnClicked)
END_MESSAGE_MAP()

class Dispatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_order.clear();
        ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_VISIBLE, CRect(100, 50, 400, 250),
                                    nullptr, 0));
    }
    HWND Control(const wchar_t* cls, DWORD style, int x, int y, INT_PTR id)
    {
        return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, 50, 20,
                               parent.m_hWnd, reinterpret_cast<HMENU>(id), nullptr, nullptr);
    }
    HeadlessDriver driver;
    COrderParent parent;
};

} // namespace

TEST_F(Dispatch, CreationRunsPreSubclassThenCreateThenSizeAndMinusOneLeavesNoWindow)
{
    CProbeWnd child, refused;
    ASSERT_TRUE(child.Create(nullptr, L"c", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &parent, 7));
    EXPECT_EQ(child.log, (std::vector<std::string>{"presubclass", "create", "size 0x0"}));
    refused.createAnswer = -1;
    EXPECT_FALSE(refused.Create(nullptr, L"r", WS_CHILD, CRect(0, 0, 10, 10), &parent, 8));
    EXPECT_EQ(std::pair(refused.m_hWnd, ::GetDlgItem(parent.m_hWnd, 8)), std::pair(HWND{}, HWND{}));
}

TEST_F(Dispatch, SubclassingAnExistingControlRunsPreSubclassAndTakesItsMessages)
{
    const HWND h = Control(L"BUTTON", 0, 10, 10, 100);
    CWnd* before = CWnd::FromHandle(h);
    ASSERT_NE(before, nullptr);
    CProbeWnd sub;
    ASSERT_TRUE(sub.SubclassDlgItem(100, &parent));
    EXPECT_EQ(sub.log, std::vector<std::string>{"presubclass"});
    EXPECT_EQ(CWnd::FromHandle(h), &sub);
    ::SendMessageW(h, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 4));
    EXPECT_EQ(sub.Count("down"), 1);
    // The object that stood in before still reaches the window.
    EXPECT_EQ(before->GetDlgCtrlID(), 100);
    CProbeWnd again;
    EXPECT_FALSE(again.SubclassWindow(h));
}

TEST_F(Dispatch, ChildSeesTheReflectedClickFirstAndItsAnswerDecidesForTheParent)
{
    const struct
    {
        BOOL childAnswer;
        std::vector<std::string> order;
    } cases[] = {{FALSE, {"child", "parent"}}, {TRUE, {"child"}}};
    for (const auto& c : cases) {
        g_order.clear();
        CReflectingButton button;
        button.answer = c.childAnswer;
        ASSERT_TRUE(
            button.Create(L"b", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 30), &parent, 101));
        driver.Click(button.m_hWnd, {5, 5});
        EXPECT_EQ(g_order, c.order) << c.childAnswer;
    }
}

TEST_F(Dispatch, PostedMessagesWaitForThePumpAndPreTranslateMayRewriteThem)
{
    parent.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(1, 2));
    EXPECT_EQ(parent.Count("up"), 0);
    driver.Pump();
    EXPECT_EQ(parent.Count("up"), 1);
    CProbeWnd child;
    child.rewriteDblClk = true;
    ASSERT_TRUE(
        child.Create(nullptr, L"c", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 7));
    driver.DoubleClick(child.m_hWnd, {5, 5});
    EXPECT_EQ(child.Count("down"), 2);
    EXPECT_EQ(child.Count("dblclk"), 0);
}

TEST_F(Dispatch, DestructionReachesParentBeforeChildrenAndObjectsOutliveWindows)
{
    CProbeWnd child, grandchild;
    ASSERT_TRUE(
        child.Create(nullptr, L"c", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 7));
    ASSERT_TRUE(
        grandchild.Create(nullptr, L"g", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &child, 8));
    const HWND c = child.m_hWnd, g = grandchild.m_hWnd;
    child.log.clear();
    grandchild.log.clear();
    driver.MoveMouse(g, {1, 1});
    ::SetCapture(g);
    ::SetTimer(g, 1, 100, nullptr);
    ASSERT_TRUE(child.DestroyWindow());
    EXPECT_EQ(std::tuple(IsWindow(c), IsWindow(g), child.m_hWnd, grandchild.m_hWnd, ::GetCapture()),
              std::tuple(FALSE, FALSE, HWND{}, HWND{}, HWND{}));
    driver.AdvanceTime(300);
    EXPECT_EQ(grandchild.Count("timer 1"), 0);
    EXPECT_EQ(std::pair(child.log.front(), grandchild.Count("destroy")),
              std::pair(std::string("destroy"), 1));
}

// The press captures and pushes; the pushed look follows the pointer; only a release inside
// clicks, and the click names the button's id and handle.
TEST_F(Dispatch, SystemButtonClicksOnlyWhenReleasedInsideAndOwnerDrawOnesReportDoubleClicks)
{
    const struct
    {
        POINT release; // 50 x 20 button
        int clicks;
    } cases[] = {{{49, 19}, 1}, {{50, 5}, 0}, {{5, -1}, 0}};
    const HWND h = Control(L"BUTTON", 0, 10, 10, 150);
    driver.Record(parent.m_hWnd);
    for (const auto& c : cases) {
        driver.ClearRecorded();
        driver.MoveMouse(h, {5, 5});
        driver.MouseDown();
        EXPECT_EQ(::GetCapture(), h);
        EXPECT_TRUE(::SendMessageW(h, BM_GETSTATE, 0, 0) & BST_PUSHED);
        driver.MoveMouse(h, c.release);
        EXPECT_EQ((::SendMessageW(h, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0, c.clicks == 1);
        driver.MouseUp();
        EXPECT_EQ(::GetCapture(), nullptr);
        const auto clicks = driver.Commands(BN_CLICKED);
        ASSERT_EQ(clicks.size(), static_cast<size_t>(c.clicks))
            << c.release.x << "," << c.release.y;
        for (const MSG& m : clicks)
            EXPECT_EQ(std::pair(LOWORD(m.wParam), reinterpret_cast<HWND>(m.lParam)),
                      std::pair(WORD{150}, h));
        driver.AdvanceTime(1000); // no double click with the next case
    }
    EXPECT_EQ(parent.Count("clicked 150"), 1);
    // An owner-draw button reports a double click instead of a second press.
    driver.DoubleClick(Control(L"BUTTON", BS_OWNERDRAW, 10, 40, 120), {5, 5});
    EXPECT_EQ(parent.Count("clicked 120"), 1);
    EXPECT_EQ(parent.Count("doubleclicked 120"), 1);
}

TEST_F(Dispatch, StaticWithNotifyReportsClicksWithoutItPassesThemThrough)
{
    driver.Click(Control(L"STATIC", SS_NOTIFY, 0, 0, 201), {5, 5});
    EXPECT_EQ(parent.Count("static clicked 201"), 1);
    parent.log.clear();
    driver.Click(Control(L"STATIC", 0, 0, 40, 202), {5, 5});
    EXPECT_EQ(parent.Count("static clicked 202"), 0);
    EXPECT_EQ(std::pair(parent.Count("down"), parent.lastPoint), std::pair(1, CPoint(5, 45)));
}

TEST_F(Dispatch, WindowTextRoundTripsWhateverItsLength)
{
    CProbeWnd child;
    ASSERT_TRUE(child.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 5, 5), &parent, 9));
    for (int length : {0, 1, 126, 127, 128, 1000}) {
        const CString text(L'x', length);
        child.SetWindowText(text);
        EXPECT_EQ(child.GetWindowText(), text) << length;
        EXPECT_EQ(child.GetWindowTextLength(), length);
    }
}

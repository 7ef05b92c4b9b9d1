// Invalidation, paint order and clipping (owner drawing is the skinned button's to test).
#include "Probe.h"

#include <gtest/gtest.h>

using platform::wnd::HeadlessDriver;

BEGIN_MESSAGE_MAP(CFillWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

class Paint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            parent.CreateEx(0, nullptr, L"p", WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
        ASSERT_TRUE(
            child.Create(nullptr, L"c", WS_CHILD | WS_VISIBLE, CRect(10, 20, 60, 50), &parent, 5));
        driver.Pump();
    }
    HeadlessDriver driver;
    CFillWnd parent{0xFF808080u};
    CFillWnd child{0xFFFF0000u};
};

} // namespace

TEST_F(Paint, ChildrenPaintOverTheirParentInsideTheirRectangleAndRepaintWhenCovered)
{
    const struct
    {
        POINT p;
        DWORD want;
    } probes[] = {{{10, 20}, 0xFFFF0000u}, {{59, 49}, 0xFFFF0000u}, {{9, 20}, 0xFF808080u},
                  {{60, 49}, 0xFF808080u}, {{59, 50}, 0xFF808080u}, {{199, 99}, 0xFF808080u}};
    for (const auto& pr : probes)
        EXPECT_EQ(driver.PixelAt(parent.m_hWnd, pr.p), pr.want) << pr.p.x << "," << pr.p.y;
    // Moved, it is repainted where it was and where it is.
    child.MoveWindow(100, 20, 50, 30);
    driver.Pump();
    EXPECT_EQ(driver.PixelAt(parent.m_hWnd, {10, 20}), 0xFF808080u);
    EXPECT_EQ(driver.PixelAt(parent.m_hWnd, {100, 20}), 0xFFFF0000u);
    // Invalidating repaints the children it covers, and erases only when asked.
    const int before = child.paints;
    parent.Invalidate();
    driver.Pump();
    EXPECT_EQ(child.paints, before + 1);
    EXPECT_EQ(driver.PixelAt(child.m_hWnd, {0, 0}), 0xFFFF0000u);
    CRect elsewhere(0, 0, 100, 100); // up to the moved child's left edge
    parent.InvalidateRect(&elsewhere);
    driver.Pump();
    EXPECT_EQ(child.paints, before + 1);
    const int erases = child.erases;
    child.Invalidate(FALSE);
    driver.Pump();
    EXPECT_EQ(child.erases, erases);
    child.Invalidate(TRUE);
    driver.Pump();
    EXPECT_EQ(child.erases, erases + 1);
}

// A handler that holds a window DC while the top-level is resized (a control's PreSubclass
// code may GetDC and SetWindowPos): drawing through the DC must not reach the freed surface
// (AddressSanitizer reports it), and the resized window still shows its own repaint.
TEST_F(Paint, DcHeldAcrossATopLevelResizeDrawsIntoNoFreedSurface)
{
    {
        CClientDC dc(&parent);
        parent.MoveWindow(0, 0, 300, 150);
        Gdiplus::Graphics g(dc.m_hDC);
        Gdiplus::SolidBrush brush{Gdiplus::Color(0xFF0000FFu)};
        g.FillRectangle(&brush, 0, 0, 300, 150);
    }
    EXPECT_EQ(driver.PixelAt(parent.m_hWnd, {250, 120}), 0xFF808080u);
}

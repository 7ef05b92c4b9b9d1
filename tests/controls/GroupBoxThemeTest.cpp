// The group box with a visual style active: the stand-in visual-styles library (tests/frame)
// answers a themed desktop, gives the text colour 0x123456 and draws nothing for the frame.
#include "controls/CtrlGroupBox.h"

#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

namespace {

DWORD Argb(COLORREF c)
{
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

} // namespace

TEST(GroupBoxTheme, ThemeColoursFrameAndTheirOverrides)
{
    platform::wnd::HeadlessDriver driver;
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    CCtrlGroupBox box;
    box.SetTextColor(RGB(1, 2, 3), FALSE); // replaced on subclassing
    ASSERT_TRUE(box.Create(L"Themed", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 110), &host, 1));
    ASSERT_TRUE(box.m_bThemed);
    EXPECT_EQ(box.GetTextColor(), 0x00123456u);
    const DWORD shadow = Argb(GetSysColor(COLOR_BTNSHADOW));
    const int y = 60;
    // The style draws the frame (here: nothing), not the etched rectangle.
    EXPECT_NE(driver.PixelAt(box.m_hWnd, {0, y}), shadow);

    box.SetBorderColor(RGB(200, 0, 0));
    EXPECT_EQ(driver.PixelAt(box.m_hWnd, {0, y}), Argb(RGB(200, 0, 0)));

    box.SetBorderColor(0xFFFFFFFF).EnableTheme(FALSE);
    EXPECT_EQ(driver.PixelAt(box.m_hWnd, {0, y}), shadow);

    box.SetTextColor(RGB(9, 9, 9), FALSE).SetBorderColor(RGB(0, 0, 200), FALSE).EnableTheme(TRUE);
    EXPECT_EQ(box.GetBorderColor(), 0xFFFFFFFFu);
    EXPECT_EQ(box.GetTextColor(), 0x00123456u);
    EXPECT_NE(driver.PixelAt(box.m_hWnd, {0, y}), shadow);
}

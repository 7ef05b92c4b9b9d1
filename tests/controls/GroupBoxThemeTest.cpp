// The group box with a visual style active: the stand-in visual-styles library (tests/frame)
// answers a themed desktop, gives the text colour 0x123456 and draws nothing for the frame.
#include "controls/CtrlGroupBox.h"

#include "ControlTestKit.h"

using GroupBoxTheme = HostedTest;

TEST_F(GroupBoxTheme, ThemeColoursFrameAndTheirOverrides)
{
    CCtrlGroupBox box;
    box.SetTextColor(RGB(1, 2, 3), FALSE); // replaced on subclassing
    ASSERT_TRUE(box.Create(L"Themed", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 110), &host, 1));
    ASSERT_TRUE(box.m_bThemed);
    EXPECT_EQ(box.GetTextColor(), 0x00123456u);
    const DWORD shadow = Argb(GetSysColor(COLOR_BTNSHADOW));
    EXPECT_NE(At(box, 0, 60), shadow); // the style draws the frame, not the etched rectangle
    box.SetBorderColor(RGB(200, 0, 0));
    EXPECT_EQ(At(box, 0, 60), Argb(RGB(200, 0, 0)));
    box.SetBorderColor(0xFFFFFFFF).EnableTheme(FALSE);
    EXPECT_EQ(At(box, 0, 60), shadow);
    // Turned on again, the style takes back the colours set meanwhile.
    box.SetTextColor(RGB(9, 9, 9), FALSE).SetBorderColor(RGB(0, 0, 200), FALSE).EnableTheme(TRUE);
    EXPECT_EQ(std::tuple(box.GetBorderColor(), box.GetTextColor(), At(box, 0, 60) != shadow),
              std::tuple(0xFFFFFFFFu, 0x00123456u, true));
}

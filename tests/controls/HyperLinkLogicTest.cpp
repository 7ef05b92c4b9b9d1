// The hyperlink's decisions, as tables.
#include "controls/HyperLinkLogic.h"

#include "platform/wnd/WinUser.h"

#include <gtest/gtest.h>

#include <utility>

TEST(HyperLinkLogic, SizingKeepsTheEdgeTheStyleNames)
{
    // Window (100, 50)-(201, 80), 2-pixel frame on every side; text 60 x 14.
    const std::pair<DWORD, CRect> cases[] = {
        {SS_LEFT, {100, 50, 164, 68}},        {SS_RIGHT, {137, 50, 201, 68}},
        {SS_CENTER, {118, 50, 183, 68}}, // (101 - 64) / 2 = 18 off each side
        {SS_CENTERIMAGE, {100, 56, 164, 74}}, {SS_NOTIFY | SS_RIGHT, {137, 50, 201, 68}},
    };
    for (const auto& [style, expected] : cases)
        EXPECT_EQ(hlink::SizedToText(CRect(100, 50, 201, 80), CSize(4, 4), CSize(60, 14), style),
                  expected)
            << style;
    // Growing: a text wider than the window moves the edges outward alike.
    EXPECT_EQ(hlink::SizedToText(CRect(0, 0, 10, 10), CSize(0, 0), CSize(31, 10), SS_CENTER),
              CRect(-10, 0, 20, 10));
}

TEST(HyperLinkLogic, FallbackCommandAndErrorTexts)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"\"C:\\b\\browser.exe\" \"%1\"", L"\"C:\\b\\browser.exe\"  https://x.org/"},
        {L"browser --new-window %1", L"browser --new-window  https://x.org/"},
        {L"browser %1 \"%1\"", L"browser %1  https://x.org/"}, // the quoted one first
        {L"browser", L"browser https://x.org/"},
        {L"", L" https://x.org/"},
    };
    for (auto [registered, run] : cases)
        EXPECT_EQ(hlink::FallbackCommand(registered, L"https://x.org/"), CString(run))
            << CString(registered).ToUtf8();
    // One known code and one unknown prove the mapping; the texts themselves are data.
    EXPECT_EQ(hlink::ErrorMessage(26),
              CString(L"Unable to open hyperlink:\n\nA sharing violation occurred. "));
    EXPECT_EQ(hlink::ErrorMessage(99), CString(L"Unable to open hyperlink:\n\nUnknown Error (99) "
                                               L"occurred."));
}

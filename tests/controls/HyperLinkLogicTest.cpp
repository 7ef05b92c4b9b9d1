// The hyperlink's decisions, as tables.
#include "controls/HyperLinkLogic.h"

#include "platform/wnd/WinUser.h"

#include <gtest/gtest.h>

TEST(HyperLinkLogic, ColourForState)
{
    const COLORREF link = 1, visited = 2, hover = 3;
    EXPECT_EQ(hlink::ChooseColour(false, false, link, visited, hover), link);
    EXPECT_EQ(hlink::ChooseColour(false, true, link, visited, hover), visited);
    EXPECT_EQ(hlink::ChooseColour(true, false, link, visited, hover), hover);
    EXPECT_EQ(hlink::ChooseColour(true, true, link, visited, hover), hover);
}

TEST(HyperLinkLogic, SizingKeepsTheEdgeTheStyleNames)
{
    // Window (100, 50)-(201, 80), 2-pixel frame on every side; text 60 x 14.
    const CRect window(100, 50, 201, 80);
    const CSize frame(4, 4), text(60, 14);
    const struct
    {
        DWORD style;
        CRect expected;
    } cases[] = {
        {SS_LEFT, {100, 50, 164, 68}},
        {SS_RIGHT, {137, 50, 201, 68}},
        {SS_CENTER, {118, 50, 183, 68}}, // (101 - 64) / 2 = 18 off each side
        {SS_CENTERIMAGE, {100, 56, 164, 74}},
        {SS_CENTER | SS_CENTERIMAGE, {118, 56, 183, 74}},
        {SS_NOTIFY | SS_RIGHT, {137, 50, 201, 68}},
    };
    for (const auto& k : cases)
        EXPECT_EQ(hlink::SizedToText(window, frame, text, k.style), k.expected) << k.style;
    // Growing: a text wider than the window moves the edges outward alike.
    EXPECT_EQ(hlink::SizedToText(CRect(0, 0, 10, 10), CSize(0, 0), CSize(31, 10), SS_CENTER),
              CRect(-10, 0, 20, 10));
}

TEST(HyperLinkLogic, FallbackCommandCutAtThePlaceholder)
{
    const struct
    {
        const wchar_t* registered;
        const wchar_t* run;
    } cases[] = {
        {L"\"C:\\b\\browser.exe\" \"%1\"", L"\"C:\\b\\browser.exe\"  https://x.org/"},
        {L"browser --new-window %1", L"browser --new-window  https://x.org/"},
        {L"browser %1 \"%1\"", L"browser %1  https://x.org/"}, // the quoted one first
        {L"browser", L"browser https://x.org/"},
        {L"", L" https://x.org/"},
    };
    for (const auto& k : cases)
        EXPECT_EQ(hlink::FallbackCommand(k.registered, L"https://x.org/"), CString(k.run))
            << CString(k.registered).ToUtf8();
}

TEST(HyperLinkLogic, ErrorTexts)
{
    EXPECT_EQ(hlink::ErrorMessage(26),
              CString(L"Unable to open hyperlink:\n\nA sharing violation occurred. "));
    EXPECT_EQ(hlink::ErrorMessage(99),
              CString(L"Unable to open hyperlink:\n\nUnknown Error (99) occurred."));
    EXPECT_EQ(hlink::ErrorMessage(31), CString(L"Unable to open hyperlink:\n\nThere is no "
                                               L"application associated\nwith the given "
                                               L"filename extension."));
    EXPECT_EQ(hlink::ErrorMessage(-1),
              CString(L"Unable to open hyperlink:\n\nUnknown Error (-1) occurred."));
}

TEST(HyperLinkLogic, UnderlineModes)
{
    EXPECT_TRUE(hlink::UnderlinedBySetting(1));
    EXPECT_FALSE(hlink::UnderlinedBySetting(0));
    EXPECT_FALSE(hlink::UnderlinedBySetting(-1));
    EXPECT_TRUE(hlink::UnderlineOnHover(-1));
    EXPECT_FALSE(hlink::UnderlineOnHover(1));
    EXPECT_FALSE(hlink::PlainOnLeave(1));
    EXPECT_TRUE(hlink::PlainOnLeave(0));
    EXPECT_TRUE(hlink::PlainOnLeave(-1));
}

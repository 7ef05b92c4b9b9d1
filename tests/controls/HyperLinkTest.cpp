// The hyperlink through the headless window layer: attaching, sizing, a hover and leave sequence
// per underline mode, the tooltip, and opening with its fallback and its error report. The
// private desktop's fake browser handles HTML files only, not web addresses: opening one
// fails, and the command registered for HTML files is the one that runs.
#include "controls/HyperLink.h"
#include "controls/KeyboardAccess.h"

#include "platform/host/HostResources.h"
#include "platform/shell/Shell.h"

#include "../shell/FakeDesktop.h"
#include "ControlTestKit.h"

namespace {

FakeDesktop g_desktop({"text/html"});

constexpr UINT kLinkId = 200;

bool Underlined(CWnd& w)
{
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(w.m_hWnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfUnderline != 0;
}

class HyperLink : public HostedTest
{
protected:
    void SetUp() override
    {
        HostedTest::SetUp();
        platform::host::SetApplicationName(L"Link test");
    }
    void TearDown() override { platform::shell::SetDesktop({}); }

    // A dialog's static at (50, 50), 200 x 30, attached as a host does.
    void Attach(CHyperLink& one, const wchar_t* text, DWORD style = 0)
    {
        CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 50, 50, 200, 30,
                        host.m_hWnd, reinterpret_cast<HMENU>(std::uintptr_t{kLinkId}), nullptr,
                        nullptr);
        ASSERT_TRUE(one.SubclassDlgItem(kLinkId, &host));
    }

    CHyperLink link;
};

} // namespace

// Attaching takes the URL from the text, or the text from the URL, and sizes the window to the
// underlined text (which edge each style keeps is the sizing table's business).
TEST_F(HyperLink, AttachingTakesTheUrlOrTheTextAndSizesToTheText)
{
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    CFont underlined;
    underlined.CreateFontIndirect(&lf);
    const SIZE text = TextExtent(underlined, L"https://example.org/page");
    Attach(link, L"https://example.org/page", SS_RIGHT);
    CRect c;
    link.GetWindowRect(&c);
    host.ScreenToClient(&c);
    EXPECT_EQ(std::tuple(link.GetURL(), link.GetStyle() & SS_NOTIFY, c),
              std::tuple(CString(L"https://example.org/page"), DWORD(SS_NOTIFY),
                         CRect(250 - text.cx, 50, 250, 50 + text.cy)));
    link.DestroyWindow();

    CHyperLink second;
    second.SetURL(L"https://example.org/other");
    Attach(second, L"");
    EXPECT_EQ(second.GetWindowText(), CString(L"https://example.org/other"));
}

// Each mode's look before, during and after a hover, then visited and hovered again: "U" when
// underlined, then the colours shown (p plain, h hover, v visited). Hover wins over visited; the
// leave is found by the next tick. The hand cursor over the link is the display test's.
TEST_F(HyperLink, HoverAndLeaveSetUnderlineAndColourPerMode)
{
    const DWORD plain = Argb(RGB(0, 0, 238)), visited = Argb(RGB(85, 26, 139)),
                hover = Argb(GetSysColor(COLOR_HIGHLIGHT)); // what 0xFFFFFFFF stands for
    auto look = [&](CHyperLink& one) {
        return std::string(Underlined(one) ? " U" : " ") + (Count(one, plain) ? "p" : "") +
               (Count(one, hover) ? "h" : "") + (Count(one, visited) ? "v" : "");
    };
    for (auto [mode, want] :
         {std::pair{-1, " p Uh p v Uh"}, {1, " Up Uh Up Uv Uh"}, {0, " p h p v h"}}) {
        CHyperLink one;
        one.SetUnderline(1); // before attaching: replaced by -1
        Attach(one, L"WWWWWW");
        EXPECT_EQ(one.GetUnderline(), -1);
        one.SetUnderline(mode);
        one.SetColours(RGB(0, 0, 238), RGB(85, 26, 139), 0xFFFFFFFF);
        std::string seen = look(one);
        driver.MoveMouse(one.m_hWnd, {3, 3});
        seen += look(one);
        driver.AdvanceTime(150); // ticks with the mouse still over it
        driver.MoveMouse(host.m_hWnd, {290, 190});
        EXPECT_TRUE(one.m_bHover);
        driver.AdvanceTime(100);
        seen += look(one);
        one.SetVisited(TRUE);
        seen += look(one);
        driver.MoveMouse(one.m_hWnd, {3, 3});
        EXPECT_EQ(seen + look(one), want) << mode;
        driver.MoveMouse(host.m_hWnd, {290, 190});
        one.DestroyWindow();
    }
}

// The tooltip shows the URL after half a second at rest (leaving hides it: the display test's,
// LinkXvfbTest.sh), and a click hides it. A failed open runs the command registered for HTML
// files, cut at its placeholder with a blank and the URL after it. When there is none either,
// the link beeps and names the cause.
TEST_F(HyperLink, TooltipThenAFailedOpenRunsTheHtmlCommandElseBeepsAndNamesTheCause)
{
    Attach(link, L"Docs");
    link.SetURL(L"https://example.org/a?b=1");
    driver.MoveMouse(link.m_hWnd, {2, 2});
    driver.AdvanceTime(300);
    driver.MoveMouse(link.m_hWnd, {4, 3}); // moving starts the wait again
    driver.AdvanceTime(499);
    ASSERT_EQ(driver.ToolTips().size(), 1u);
    EXPECT_FALSE(driver.ToolTips()[0].shown);
    driver.AdvanceTime(1);
    EXPECT_EQ(std::pair(driver.ToolTips()[0].shown, driver.ToolTips()[0].text),
              std::pair(true, CString(L"https://example.org/a?b=1")));
    driver.Click(link.m_hWnd, {4, 3});
    EXPECT_EQ(std::tuple(g_desktop.Calls(), link.GetVisited(), driver.MessageBoxes().size()),
              std::tuple("[--new-window][https://example.org/a?b=1]\n", TRUE, size_t{0}));
    driver.AdvanceTime(1000);
    EXPECT_FALSE(driver.ToolTips()[0].shown) << "the press hid the tip while the mouse stays";
    link.SetVisited(FALSE);
    for (int code : {26, 0}) {
        platform::shell::Desktop failing;
        failing.open = [code](const std::string&) { return INT_PTR(code); };
        failing.htmlHandler = [] { return std::optional<platform::shell::Desktop::Handler>(); };
        platform::shell::SetDesktop(failing);
        const int beeps = driver.Beeps();
        const size_t boxes = driver.MessageBoxes().size();
        driver.AdvanceTime(1000); // not a double click
        driver.Click(link.m_hWnd, {2, 2});
        ASSERT_EQ(driver.MessageBoxes().size(), boxes + 1);
        const auto& box = driver.MessageBoxes().back();
        EXPECT_EQ(std::tuple(box.text, box.caption, box.type, driver.Beeps(), link.GetVisited()),
                  std::tuple(hlink::ErrorMessage(code), CString(L"Link test"),
                             UINT(MB_ICONEXCLAMATION), beeps + 1, FALSE));
    }
}

// With keyboard access, Enter and Space on the focused link send the click's notification
// (once per press, not per repeat), and the dialog manager leaves it Enter; the focus shows
// as the link's focus colour along its edge. Off, the keys do nothing.
TEST_F(HyperLink, EnterAndSpaceOpenItAsAClickDoesWithKeyboardAccess)
{
    Attach(link, L"https://example.org/k");
    link.SetFocusColor(Gdiplus::Color(0xFFE0C000u));
    link.SetFocus();
    host.SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS));
    const MSG enter{link.m_hWnd, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    int opened = 0;
    platform::shell::Desktop counting;
    counting.open = [&opened](const std::string&) { return INT_PTR(++opened > 0 ? 42 : 0); };
    platform::shell::SetDesktop(counting);
    for (bool access : {false, true}) {
        skinkit::EnableKeyboardAccess(access);
        link.Invalidate();
        EXPECT_EQ(driver.PixelAt(link.m_hWnd, {0, 0}) == 0xFFE0C000u, access);
        EXPECT_EQ((link.SendMessage(WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                   DLGC_WANTMESSAGE) != 0,
                  access);
        opened = 0;
        host.heard.clear();
        driver.Key(VK_RETURN);
        driver.KeyDown(VK_SPACE);
        driver.KeyDown(VK_SPACE); // a repeat
        driver.KeyUp(VK_SPACE);
        EXPECT_EQ(std::pair(opened, host.heard),
                  std::pair(access ? 2 : 0,
                            std::string(access ? "command 200 0 ; command 200 0 ; " : "")))
            << access;
    }
    skinkit::EnableKeyboardAccess(false);
}

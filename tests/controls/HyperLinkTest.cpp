// The hyperlink through the headless window layer: attaching, sizing, underlining over a hover
// and leave sequence, colours, the tooltip, the cursor, and opening with its fallback and its
// error report. The desktop is private: an XDG tree of this test's own, made before GLib reads
// its folders, registers a fake browser for HTML files only (no handler for web addresses), so
// that opening a web address fails and the registered command is the one that runs.
#include "controls/HyperLink.h"

#include "platform/host/HostResources.h"
#include "platform/shell/Shell.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using platform::wnd::HeadlessDriver;

namespace {

struct PrivateDesktop
{
    PrivateDesktop()
    {
        char pattern[] = "/tmp/skinkit_link_XXXXXX";
        root = ::mkdtemp(pattern);
        for (const char* d : {"data/applications", "config", "bin", "system"})
            fs::create_directories(root / d);
        Write(root / "bin/fakebrowser",
              "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done >> '" +
                  (root / "calls.log").string() + "'\necho >> '" + (root / "calls.log").string() +
                  "'\n");
        fs::permissions(root / "bin/fakebrowser", fs::perms::owner_all);
        Write(root / "data/applications/fakebrowser.desktop",
              "[Desktop Entry]\nType=Application\nName=Fake Browser\n"
              "Exec=fakebrowser --new-window %u\nMimeType=text/html;\n");
        Write(root / "config/mimeapps.list",
              "[Default Applications]\ntext/html=fakebrowser.desktop\n");
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (root / "system").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (root / "system").c_str(), 1);
        const char* path = std::getenv("PATH");
        ::setenv("PATH", ((root / "bin").string() + ":" + (path ? path : "/usr/bin:/bin")).c_str(),
                 1);
    }
    ~PrivateDesktop() { fs::remove_all(root); }
    static void Write(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
    std::string Calls()
    {
        for (int i = 0; i < 500; ++i) { // five seconds at most
            std::ifstream in(root / "calls.log");
            std::stringstream text;
            text << in.rdbuf();
            if (!text.str().empty() && text.str().back() == '\n')
                return text.str();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }
    fs::path root;
};

PrivateDesktop g_desktop;

constexpr UINT kLinkId = 200;

LOGFONTW FontOf(HWND wnd)
{
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(wnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
}

DWORD Argb(COLORREF c)
{
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

class HyperLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0));
        platform::host::SetApplicationName(L"Link test");
    }
    void TearDown() override { platform::shell::SetDesktop({}); }

    // A dialog's static, attached as a host does.
    void Attach(const wchar_t* text, DWORD style = 0, CRect rect = CRect(50, 50, 250, 80))
    {
        CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                        rect.Width(), rect.Height(), host.m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kLinkId)), nullptr,
                        nullptr);
        ASSERT_TRUE(link.SubclassDlgItem(kLinkId, &host));
    }
    CRect WindowInHost()
    {
        RECT r{};
        link.GetWindowRect(&r);
        CRect c(r);
        host.ScreenToClient(&c);
        return c;
    }
    // Width and height of the text in the link's underlined font, measured on our own context.
    SIZE Extent(const wchar_t* text)
    {
        LOGFONTW lf{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        lf.lfUnderline = TRUE;
        HFONT font = CreateFontIndirectW(&lf);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE s{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &s);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(font);
        return s;
    }
    int CountColour(DWORD colour)
    {
        const CRect r = WindowInHost();
        int n = 0;
        for (int y = 0; y < r.Height(); ++y)
            for (int x = 0; x < r.Width(); ++x)
                n += driver.PixelAt(link.m_hWnd, {x, y}) == colour;
        return n;
    }

    HeadlessDriver driver;
    CWnd host;
    CHyperLink link;
};

} // namespace

TEST_F(HyperLink, UrlAndTextTakenFromEachOther)
{
    Attach(L"https://example.org/page");
    EXPECT_EQ(link.GetURL(), CString(L"https://example.org/page"));
    EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);

    CHyperLink second;
    second.SetURL(L"https://example.org/other");
    CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 100, 50, 20, host.m_hWnd,
                    reinterpret_cast<HMENU>(std::uintptr_t{201}), nullptr, nullptr);
    ASSERT_TRUE(second.SubclassDlgItem(201, &host));
    EXPECT_EQ(second.GetWindowText(), CString(L"https://example.org/other"));
}

TEST_F(HyperLink, SizedToTheTextKeepingTheEdgeTheStyleNames)
{
    const SIZE text = Extent(L"Read me");
    const struct
    {
        DWORD style;
        int left;
    } cases[] = {
        {SS_LEFT, 50},
        {SS_RIGHT, 250 - text.cx},
        {SS_CENTER, 50 + (200 - text.cx) / 2},
    };
    for (const auto& k : cases) {
        CHyperLink one;
        CreateWindowExW(0, L"STATIC", L"Read me", WS_CHILD | WS_VISIBLE | k.style, 50, 50, 200, 30,
                        host.m_hWnd, reinterpret_cast<HMENU>(std::uintptr_t{300}), nullptr,
                        nullptr);
        ASSERT_TRUE(one.SubclassDlgItem(300, &host));
        RECT r{};
        one.GetWindowRect(&r);
        CRect c(r);
        host.ScreenToClient(&c);
        EXPECT_EQ(c.left, k.left) << k.style;
        EXPECT_EQ(c.top, 50) << k.style;
        EXPECT_EQ(c.Height(), text.cy) << k.style;
        // A centred one shrinks by half the difference on both sides.
        if (k.style == SS_CENTER) {
            EXPECT_EQ(c.right, 250 - (200 - text.cx) / 2);
        } else {
            EXPECT_EQ(c.Width(), text.cx) << k.style;
        }
        one.DestroyWindow();
    }
}

TEST_F(HyperLink, UnderlineModesOverHoverAndLeave)
{
    const struct
    {
        int mode;
        bool before, during, after;
    } cases[] = {{-1, false, true, false}, {1, true, true, true}, {0, false, false, false}};
    for (const auto& k : cases) {
        CHyperLink one;
        one.SetUnderline(1); // before attaching: replaced by -1
        CreateWindowExW(0, L"STATIC", L"Link", WS_CHILD | WS_VISIBLE, 50, 50, 100, 20, host.m_hWnd,
                        reinterpret_cast<HMENU>(std::uintptr_t{301}), nullptr, nullptr);
        ASSERT_TRUE(one.SubclassDlgItem(301, &host));
        EXPECT_EQ(one.GetUnderline(), -1);
        one.SetUnderline(k.mode);
        EXPECT_EQ(FontOf(one.m_hWnd).lfUnderline != 0, k.before) << k.mode;
        driver.MoveMouse(one.m_hWnd, {3, 3});
        EXPECT_EQ(FontOf(one.m_hWnd).lfUnderline != 0, k.during) << k.mode;
        EXPECT_TRUE(one.m_bHover);
        driver.AdvanceTime(150); // ticks with the mouse still over it
        EXPECT_TRUE(one.m_bHover);
        driver.MoveMouse(host.m_hWnd, {300, 150});
        EXPECT_TRUE(one.m_bHover); // the leave is found by the next tick
        driver.AdvanceTime(100);
        EXPECT_FALSE(one.m_bHover) << k.mode;
        EXPECT_EQ(FontOf(one.m_hWnd).lfUnderline != 0, k.after) << k.mode;
        one.DestroyWindow();
    }
}

TEST_F(HyperLink, ColoursFollowHoverAndVisited)
{
    Attach(L"WWWWWW");
    link.SetColours(RGB(0, 0, 238), RGB(85, 26, 139), 0xFFFFFFFF);
    EXPECT_EQ(link.GetHoverColour(), GetSysColor(COLOR_HIGHLIGHT));
    const DWORD linkColour = Argb(RGB(0, 0, 238)), hover = Argb(GetSysColor(COLOR_HIGHLIGHT)),
                visited = Argb(RGB(85, 26, 139));
    EXPECT_GT(CountColour(linkColour), 0);
    EXPECT_EQ(CountColour(hover), 0);
    driver.MoveMouse(link.m_hWnd, {2, 2});
    EXPECT_GT(CountColour(hover), 0);
    EXPECT_EQ(CountColour(linkColour), 0);
    driver.MoveMouse(host.m_hWnd, {390, 190});
    driver.AdvanceTime(100);
    link.SetVisited(TRUE);
    EXPECT_GT(CountColour(visited), 0);
    EXPECT_EQ(CountColour(hover), 0);
}

TEST_F(HyperLink, TooltipShowsTheUrlAfterHalfASecondAtRest)
{
    Attach(L"Docs");
    link.SetURL(L"https://example.org/docs");
    driver.MoveMouse(link.m_hWnd, {2, 2});
    driver.AdvanceTime(300);
    driver.MoveMouse(link.m_hWnd, {4, 3}); // moving starts the wait again
    driver.AdvanceTime(499);
    auto tips = driver.ToolTips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_FALSE(tips[0].shown);
    driver.AdvanceTime(1);
    tips = driver.ToolTips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_TRUE(tips[0].shown);
    EXPECT_EQ(tips[0].text, CString(L"https://example.org/docs"));
    driver.MoveMouse(host.m_hWnd, {390, 190});
    driver.AdvanceTime(100);
    EXPECT_FALSE(driver.ToolTips()[0].shown);
    // A press hides it, and it stays hidden while the mouse stays.
    driver.MoveMouse(link.m_hWnd, {2, 2});
    driver.AdvanceTime(500);
    EXPECT_TRUE(driver.ToolTips()[0].shown);
    platform::shell::Desktop quiet;
    quiet.open = [](const std::string&) { return INT_PTR(42); };
    platform::shell::SetDesktop(quiet);
    driver.MouseDown();
    driver.MouseUp();
    driver.AdvanceTime(1000);
    EXPECT_FALSE(driver.ToolTips()[0].shown);
}

TEST_F(HyperLink, HandCursorOverTheLinkOnly)
{
    Attach(L"Docs");
    driver.MoveMouse(link.m_hWnd, {2, 2});
    EXPECT_EQ(driver.CursorShown(), 32649); // the hand
    driver.MoveMouse(host.m_hWnd, {390, 190});
    EXPECT_EQ(driver.CursorShown(), 32512); // the arrow
}

TEST_F(HyperLink, AFailedOpenRunsTheRegisteredHtmlCommand)
{
    Attach(L"https://example.org/a?b=1");
    driver.Click(link.m_hWnd, {2, 2});
    // No handler for web addresses here: the command registered for HTML files ran, cut at its
    // placeholder, with a blank and the URL after it.
    EXPECT_EQ(g_desktop.Calls(), "[--new-window][https://example.org/a?b=1]\n");
    EXPECT_TRUE(link.GetVisited());
    EXPECT_TRUE(driver.MessageBoxes().empty());
}

TEST_F(HyperLink, FailuresBeepAndNameTheirCause)
{
    Attach(L"https://example.org/");
    for (int code : {26, 0}) {
        platform::shell::Desktop failing;
        failing.open = [code](const std::string&) { return INT_PTR(code); };
        failing.htmlHandler = [] { return std::optional<platform::shell::Desktop::Handler>(); };
        platform::shell::SetDesktop(failing);
        const int beeps = driver.Beeps();
        const size_t boxes = driver.MessageBoxes().size();
        driver.AdvanceTime(1000); // not a double click
        driver.Click(link.m_hWnd, {2, 2});
        EXPECT_EQ(driver.Beeps(), beeps + 1);
        ASSERT_EQ(driver.MessageBoxes().size(), boxes + 1);
        const auto& box = driver.MessageBoxes().back();
        EXPECT_EQ(box.text, hlink::ErrorMessage(code));
        EXPECT_EQ(box.caption, CString(L"Link test"));
        EXPECT_EQ(box.type, MB_ICONEXCLAMATION);
        EXPECT_FALSE(link.GetVisited());
    }
    EXPECT_EQ(driver.MessageBoxes()[0].text,
              CString(L"Unable to open hyperlink:\n\nA sharing violation occurred. "));
    EXPECT_EQ(driver.MessageBoxes()[1].text, CString(L"Unable to open hyperlink:\n\nThe operating "
                                                     L"system is out\nof memory or resources."));
}

TEST_F(HyperLink, AnUnknownCodeIsReportedWithItsNumber)
{
    // A code no launcher answers on failure, reported as the host would see it.
    class Reporting : public CHyperLink
    {
    public:
        using CHyperLink::ReportError;
    } reporting;
    reporting.ReportError(99);
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text,
              CString(L"Unable to open hyperlink:\n\nUnknown Error (99) occurred."));
    EXPECT_EQ(driver.MessageBoxes()[0].type, MB_ICONEXCLAMATION);
}

// The system static's text: drawn in its WM_SETFONT font, on the brush and in the colours the
// parent's WM_CTLCOLORSTATIC handler answers, gray while disabled.
#include "platform/gdiplus/Gdi.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

namespace {

constexpr COLORREF kBrush = RGB(200, 0, 0);
constexpr COLORREF kText = RGB(0, 0, 255);

DWORD Argb(COLORREF c)
{
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

class CColourHost : public CWnd
{
public:
    HBRUSH brush = CreateSolidBrush(kBrush);
    ~CColourHost() override
    {
        DestroyWindow();
        DeleteObject(brush);
    }

protected:
    HBRUSH OnCtlColor(CDC* dc, CWnd*, UINT)
    {
        dc->SetTextColor(kText);
        return brush;
    }
    DECLARE_MESSAGE_MAP()
};

} // namespace

BEGIN_MESSAGE_MAP(CColourHost, CWnd)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

namespace {

// Rows of the static where the text left ink (anything but the brush), and the strongest blue
// of any pixel.
struct Ink
{
    int rows = 0;
    int maxBlue = 0;
};
Ink InkOf(platform::wnd::HeadlessDriver& driver, HWND wnd, int w, int h)
{
    Ink ink;
    for (int y = 0; y < h; ++y) {
        bool any = false;
        for (int x = 0; x < w; ++x) {
            const DWORD p = driver.PixelAt(wnd, {x, y});
            any = any || p != Argb(kBrush);
            ink.maxBlue = std::max(ink.maxBlue, static_cast<int>(p & 0xFF));
        }
        ink.rows += any;
    }
    return ink;
}

} // namespace

TEST(StaticText, FontBrushAndColoursFromTheWindowAndItsParent)
{
    platform::wnd::HeadlessDriver driver;
    CColourHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 300, 100), nullptr, 0));
    const HWND label = CreateWindowExW(0, L"STATIC", L"WWW", WS_CHILD | WS_VISIBLE, 10, 10, 120, 40,
                                       host.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(driver.PixelAt(label, {119, 39}), Argb(kBrush)); // the brush fills the rest
    const Ink small = InkOf(driver, label, 120, 40);
    EXPECT_GT(small.rows, 5);
    EXPECT_GT(small.maxBlue, 200); // in the colour the handler chose

    LOGFONTW lf{};
    lf.lfHeight = -28;
    std::wcscpy(lf.lfFaceName, L"Liberation Sans");
    HFONT big = CreateFontIndirectW(&lf);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    EXPECT_GE(InkOf(driver, label, 120, 40).rows, small.rows * 2);

    EnableWindow(label, FALSE);
    const Ink gray = InkOf(driver, label, 120, 40);
    EXPECT_GT(gray.rows, 5);
    EXPECT_LE(gray.maxBlue, GetBValue(GetSysColor(COLOR_GRAYTEXT)));
    DestroyWindow(label);
    DeleteObject(big);
}

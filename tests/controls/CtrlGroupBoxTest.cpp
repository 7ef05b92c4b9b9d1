// The group box through the headless window layer: frame and header pixels per style and
// alignment, the parent showing through, disabled text and icon, enabling the controls inside,
// clicks reaching a button inside, texts from the host's resources and image lists.
#include "controls/CtrlGroupBox.h"

#include "platform/host/HostResources.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using platform::wnd::HeadlessDriver;

namespace {

constexpr UINT kBoxId = 100;
constexpr UINT kButtonId = 101;

DWORD Argb(COLORREF c)
{
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

const DWORD kShadow = Argb(GetSysColor(COLOR_BTNSHADOW));
const DWORD kHighlight = Argb(GetSysColor(COLOR_BTNHIGHLIGHT));
const DWORD kFace = Argb(GetSysColor(COLOR_BTNFACE));

// An icon of 16 x 16: the left half opaque white, the right half transparent black.
HICON HalfWhiteIcon()
{
    Gdiplus::Bitmap pixels(16, 16, Gdiplus::PixelFormat32bppARGB);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.SetPixel(
                x, y, x < 8 ? Gdiplus::Color(255, 255, 255, 255) : Gdiplus::Color(0, 0, 0, 0));
    platform::host::SetIconPicture(500, pixels);
    return static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(500), IMAGE_ICON, 16, 16, 0));
}

class GroupBox : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 320, 200), nullptr, 0));
    }
    void TearDown() override { platform::host::ClearResources(); }

    void MakeBox(const wchar_t* text = L"Group", CRect rect = CRect(10, 10, 210, 110))
    {
        ASSERT_TRUE(box.Create(text, WS_CHILD | WS_VISIBLE, rect, &host, kBoxId));
        width = rect.Width();
        height = rect.Height();
    }
    // The text's extent in the box's font, measured on a context of our own.
    SIZE TextSize(const wchar_t* text)
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, box.GetFont()->GetSafeHandle());
        SIZE s{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &s);
        SelectObject(dc, old);
        DeleteDC(dc);
        return s;
    }
    DWORD At(int x, int y) { return driver.PixelAt(box.m_hWnd, {x, y}); }
    // The columns of row y that are not the border's shadow colour, as [first, last + 1).
    std::pair<int, int> GapInRow(int y, int from, int to)
    {
        int first = -1, last = -1;
        for (int x = from; x < to; ++x)
            if (At(x, y) != kShadow) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return {first, last + 1};
    }

    HeadlessDriver driver;
    CWnd host;
    CCtrlGroupBox box;
    int width = 0, height = 0;
};

} // namespace

TEST_F(GroupBox, DefaultFrameIsEtchedBelowHalfTheHeaderWithTheHeaderEightFromTheLeft)
{
    MakeBox();
    const SIZE text = TextSize(L"Group");
    const int top = (text.cy + 1) / 2; // the border's top edge
    const int W = width, H = height;
    // The etched frame: shadow outline one pixel in, highlight outline one pixel out.
    EXPECT_EQ(At(0, top), kShadow);
    EXPECT_EQ(At(W - 2, top), kShadow);
    EXPECT_EQ(At(W - 1, top), kHighlight);
    EXPECT_EQ(At(0, top + 1), kShadow);
    EXPECT_EQ(At(1, top + 1), kHighlight);
    EXPECT_EQ(At(3, top + 1), kHighlight);
    EXPECT_EQ(At(W - 2, top + 1), kShadow);
    for (int y : {top + 2, (top + H) / 2, H - 3}) {
        EXPECT_EQ(At(0, y), kShadow) << y;
        EXPECT_EQ(At(1, y), kHighlight) << y;
        EXPECT_EQ(At(2, y), kFace) << y;
        EXPECT_EQ(At(W - 2, y), kShadow) << y;
        EXPECT_EQ(At(W - 1, y), kHighlight) << y;
    }
    EXPECT_EQ(At(5, H - 2), kShadow);
    EXPECT_EQ(At(W - 1, H - 2), kHighlight);
    EXPECT_EQ(At(5, H - 1), kHighlight);
    // Above the border: the header band in the background colour.
    EXPECT_EQ(At(0, top - 1), kFace);
    // The header background hides the border from 8 to 8 + text width + 6.
    EXPECT_EQ(GapInRow(top, 1, W - 2), std::make_pair(8, 8 + static_cast<int>(text.cx) + 6));
    EXPECT_EQ(box.m_nHeaderHalf, top);
}

TEST_F(GroupBox, HeaderPlacedPerStyleAndAlignment)
{
    MakeBox(L"Header");
    const int tw = TextSize(L"Header").cx;
    const int top = (TextSize(L"Header").cy + 1) / 2;
    const int W = width;
    const struct
    {
        CCtrlGroupBox::CONTROL_STYLE style;
        CCtrlGroupBox::ALIGNMENT alignment;
        int gapLeft, gapWidth;
    } cases[] = {
        {CCtrlGroupBox::STYLE_FRAME, CCtrlGroupBox::ALIGN_LEFT, 8, tw + 6},
        {CCtrlGroupBox::STYLE_FRAME, CCtrlGroupBox::ALIGN_CENTER, (W - (tw + 6)) / 2, tw + 6},
        {CCtrlGroupBox::STYLE_FRAME, CCtrlGroupBox::ALIGN_RIGHT, W - 8 - (tw + 6), tw + 6},
        {CCtrlGroupBox::STYLE_HEADER, CCtrlGroupBox::ALIGN_LEFT, 0, tw + 3},
        {CCtrlGroupBox::STYLE_HEADER, CCtrlGroupBox::ALIGN_CENTER, (W - (tw + 6)) / 2, tw + 6},
        {CCtrlGroupBox::STYLE_HEADER, CCtrlGroupBox::ALIGN_RIGHT, W - (tw + 3), tw + 3},
    };
    for (const auto& k : cases) {
        box.SetControlStyle(k.style, FALSE).SetAlignment(k.alignment);
        const bool frame = k.style == CCtrlGroupBox::STYLE_FRAME;
        // The frame's top edge runs to W - 2 (the highlight takes the last column); the header
        // style's line runs the whole width.
        const auto gap = GapInRow(top, frame ? 1 : 0, frame ? W - 1 : W);
        EXPECT_EQ(gap, std::make_pair(k.gapLeft, k.gapLeft + k.gapWidth))
            << k.style << "/" << k.alignment;
        if (frame) {
            EXPECT_EQ(At(0, height - 5), kShadow);
        } else {
            // Only a line: nothing at the sides or the bottom, the highlight right under it.
            EXPECT_EQ(At(0, height - 5), kFace);
            EXPECT_EQ(At(k.gapLeft > 0 ? 0 : W - 1, top + 1), kHighlight);
        }
    }
}

TEST_F(GroupBox, BorderColourDrawsFlatOrEtchedInThatColour)
{
    MakeBox();
    const int top = (TextSize(L"Group").cy + 1) / 2;
    box.SetBorderStyle(CCtrlGroupBox::BORDER_FLAT, FALSE).SetBorderColor(RGB(200, 0, 0));
    const DWORD red = Argb(RGB(200, 0, 0));
    EXPECT_EQ(At(0, top + 10), red);
    EXPECT_EQ(At(1, top + 10), kFace);
    EXPECT_EQ(At(width - 1, top + 10), red);
    EXPECT_EQ(At(5, height - 1), red);
    box.SetBorderStyle(CCtrlGroupBox::BORDER_ETCHED);
    EXPECT_EQ(At(0, top + 10), red);
    EXPECT_EQ(At(1, top + 10), kHighlight);
    EXPECT_EQ(At(width - 2, top + 10), red);
    // Back to the unset colour: the system shadow again, and the old frame is gone.
    box.SetBorderColor(0xFFFFFFFF);
    EXPECT_EQ(At(0, top + 10), kShadow);
    EXPECT_EQ(At(width - 2, top + 10), kShadow);
}

TEST_F(GroupBox, ParentPixelsShowInsideTheFrame)
{
    // The box's own background colour only in the header strip; below it what the parent
    // shows (its dialog colour).
    MakeBox();
    box.SetBkColor(RGB(10, 20, 30));
    const int top = (TextSize(L"Group").cy + 1) / 2;
    EXPECT_EQ(At(150, 0), Argb(RGB(10, 20, 30)));
    EXPECT_EQ(At(150, 2 * box.m_nHeaderHalf - 1), Argb(RGB(10, 20, 30)));
    EXPECT_EQ(At(150, 2 * box.m_nHeaderHalf + 2), kFace);
    EXPECT_EQ(At(100, 60), kFace);
    EXPECT_EQ(At(0, top + 10), kShadow);
}

TEST_F(GroupBox, DisabledShowsGrayTextAndAGrayscaleIcon)
{
    MakeBox(L"WWWW");
    HICON icon = HalfWhiteIcon();
    ASSERT_NE(icon, nullptr);
    box.SetIcon(icon, 16);
    const int iconTop = box.m_nHeaderHalf - 8;
    const int iconLeft = 8 + 3;
    EXPECT_EQ(At(iconLeft + 2, iconTop + 4), 0xFFFFFFFFu);
    EXPECT_EQ(At(iconLeft + 12, iconTop + 4), kFace);
    auto count = [&](DWORD colour) {
        int n = 0;
        for (int y = 0; y < 2 * box.m_nHeaderHalf + 2; ++y)
            for (int x = iconLeft + 16; x < width; ++x)
                n += At(x, y) == colour;
        return n;
    };
    const DWORD black = Argb(GetSysColor(COLOR_BTNTEXT)), gray = Argb(GetSysColor(COLOR_GRAYTEXT));
    EXPECT_GT(count(black), 0);
    EXPECT_EQ(count(gray), 0);

    box.EnableWindow(FALSE, FALSE);
    EXPECT_EQ(At(iconLeft + 2, iconTop + 4), 0xFFFEFEFEu); // white became 254 gray
    EXPECT_EQ(At(iconLeft + 12, iconTop + 4), kFace);      // transparent stays transparent
    EXPECT_EQ(count(black), 0);
    EXPECT_GT(count(gray), 0);

    // Without the disabled style: the coloured icon and the text colour, but still a frame in
    // the shadow colour whatever border colour is set.
    box.SetBorderColor(RGB(0, 0, 200), FALSE).SetDisabledStyle(FALSE);
    EXPECT_EQ(At(iconLeft + 2, iconTop + 4), 0xFFFFFFFFu);
    EXPECT_GT(count(black), 0);
    EXPECT_EQ(At(0, height - 5), kShadow);
    DestroyIcon(icon);
}

TEST_F(GroupBox, EnablingTakesTheControlsWhollyInside)
{
    CButton inside, across, outside;
    ASSERT_TRUE(inside.Create(L"in", WS_CHILD | WS_VISIBLE, CRect(20, 30, 80, 50), &host, 1));
    ASSERT_TRUE(across.Create(L"edge", WS_CHILD | WS_VISIBLE, CRect(180, 30, 240, 50), &host, 2));
    ASSERT_TRUE(outside.Create(L"out", WS_CHILD | WS_VISIBLE, CRect(220, 120, 280, 150), &host, 3));
    MakeBox();
    box.EnableWindow(FALSE, TRUE);
    EXPECT_FALSE(box.IsWindowEnabled());
    EXPECT_FALSE(inside.IsWindowEnabled());
    EXPECT_TRUE(across.IsWindowEnabled());
    EXPECT_TRUE(outside.IsWindowEnabled());
    box.EnableWindow(TRUE, FALSE);
    EXPECT_TRUE(box.IsWindowEnabled());
    EXPECT_FALSE(inside.IsWindowEnabled());
    box.EnableWindow(TRUE, TRUE);
    EXPECT_TRUE(inside.IsWindowEnabled());
}

TEST_F(GroupBox, AClickInsideReachesTheButtonBelowTheBox)
{
    CButton button;
    ASSERT_TRUE(
        button.Create(L"in", WS_CHILD | WS_VISIBLE, CRect(20, 30, 80, 50), &host, kButtonId));
    MakeBox(); // made later: on top of the button
    driver.Record(host.m_hWnd);
    driver.Click(button.m_hWnd, {10, 10});
    ASSERT_EQ(driver.Commands(BN_CLICKED).size(), 1u);
    EXPECT_EQ(LOWORD(driver.Commands(BN_CLICKED)[0].wParam), kButtonId);
}

TEST_F(GroupBox, TextFromTheHostsResourcesAndIconsFromImageLists)
{
    MakeBox();
    platform::host::SetString(42, L"From resources");
    box.SetWindowTextW(MAKEINTRESOURCEW(42));
    EXPECT_EQ(box.GetWindowText(), CString(L"From resources"));
    box.SetWindowTextW(nullptr);
    EXPECT_EQ(box.GetWindowText(), CString(L""));

    CImageList list;
    ASSERT_TRUE(list.Create(24, 24, ILC_COLOR32, 1, 1));
    HICON icon = HalfWhiteIcon();
    list.Add(icon);
    DestroyIcon(icon);
    box.SetImageList(&list, 1); // the count: nothing
    EXPECT_EQ(box.m_hIcon, nullptr);
    EXPECT_EQ(box.m_nIconSize, 0);
    box.SetImageList(&list, 0);
    EXPECT_NE(box.m_hIcon, nullptr);
    EXPECT_EQ(box.m_nIconSize, 24);
    box.SetImageList(&list, -1);
    EXPECT_EQ(box.m_hIcon, nullptr);
    EXPECT_EQ(box.m_nIconSize, 0);
    box.SetIcon(UINT(500), 16);
    EXPECT_NE(box.m_hIcon, nullptr);
    EXPECT_EQ(box.m_nIconSize, 16);
    box.SetIcon(UINT(501), 16); // no such resource
    EXPECT_EQ(box.m_hIcon, nullptr);
    EXPECT_EQ(box.m_nIconSize, 0);
}

TEST_F(GroupBox, FontsAtNinetySixDotsPerInch)
{
    MakeBox();
    EXPECT_EQ(box.GetFontPointSize(), 8); // the stock GUI font: height -11
    box.SetFont(L"Liberation Sans", 9, FALSE);
    LOGFONTW lf{};
    ASSERT_EQ(box.GetFont(&lf), 1);
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_EQ(box.GetFontPointSize(), 9);
    EXPECT_EQ(box.GetFontFaceName(), CString(L"Liberation Sans"));
    box.SetBold(TRUE, FALSE);
    EXPECT_EQ(box.GetBold(), 1);
    box.SetFont(static_cast<const wchar_t*>(nullptr), 12, FALSE); // keeps the face
    EXPECT_EQ(box.GetFontFaceName(), CString(L"Liberation Sans"));
    EXPECT_EQ(box.GetFontPointSize(), 12);
    EXPECT_EQ(box.GetFont(static_cast<LOGFONTW*>(nullptr)), 0);

    CCtrlGroupBox unattached;
    EXPECT_EQ(unattached.GetFontPointSize(), 8);
    EXPECT_EQ(unattached.GetFontFaceName(), CString(L"MS Sans Serif"));
    EXPECT_EQ(unattached.GetBold(), 0);
}

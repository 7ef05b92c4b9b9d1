// The label and the image control through the headless window layer: the icon's place and the
// text beside it, the alignment from the subclassed style or from SetTextAlign, the colour that
// follows the enabled state, and the image control's background part and foreground.
#include "controls/CtrlStatic.h"
#include "controls/CtrlImage.h"

#include "platform/wnd/headless/HeadlessDriver.h"

#include "ControlTestKit.h"

#include <gtest/gtest.h>

#include <memory>

using platform::wnd::HeadlessDriver;

namespace {

constexpr UINT kId = 400;
constexpr Gdiplus::ARGB kBack = 0xFFF0F0F0u, kIcon = 0xFF20C020u;

class Labels : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 300, 120), nullptr, 0));
    }
    // A dialog's static of `style`, 160 x h at (10, 10), subclassed as a dialog host does.
    void MakeLabel(DWORD style, const wchar_t* text, int h = 20)
    {
        CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 10, 10, 160, h,
                        host.m_hWnd, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kId)),
                        nullptr, nullptr);
        ASSERT_TRUE(label.SubclassDlgItem(kId, &host));
        label.SetBkImage(back.get(), -1, -1, 0);
        label.SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
        label.SetTextColor(Gdiplus::Color(0xFFE01010u), -1);
        label.Invalidate();
    }
    InkBox Ink(CWnd& w, bool (*is)(const Gdiplus::Color&) = Reddish)
    {
        auto shot = driver.Capture(w.m_hWnd);
        return shot ? FindInk(*shot, is) : InkBox{};
    }

    HeadlessDriver driver;
    CWnd host;
    CCtrlStatic label;
    std::unique_ptr<Gdiplus::Bitmap> back = Solid(4, 4, kBack);
};

// One label through its life: centred at the top from its style, then aligned by
// SetTextAlign, then lowered to 20 pixels with a 16 x 16 icon, then disabled; and a label
// from a static whose alignment bits are 3.
TEST_F(Labels, LabelSession)
{
    MakeLabel(SS_CENTER, L"MM", 40);
    EXPECT_EQ(label.GetStyle() & SS_TYPEMASK, SS_OWNERDRAW);
    InkBox ink = Ink(label);
    ASSERT_TRUE(ink.Any());
    EXPECT_NEAR(ink.CentreX2(), 160, 4) << "centred across 160";
    EXPECT_LT(ink.top, 8) << "at the top";

    label.SetTextAlign(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter);
    label.Invalidate();
    ink = Ink(label);
    ASSERT_TRUE(ink.Any());
    EXPECT_LT(ink.left, 4) << "left";
    EXPECT_NEAR(ink.CentreY2(), 40, 5) << "centred down 40";

    label.MoveWindow(10, 10, 160, 20);
    auto icon = Solid(16, 16, kIcon);
    label.SetImageIcon(icon.get());
    label.Invalidate();
    EXPECT_EQ(driver.PixelAt(label.m_hWnd, {0, 1}), kBack);
    EXPECT_EQ(driver.PixelAt(label.m_hWnd, {0, 2}), kIcon);
    EXPECT_EQ(driver.PixelAt(label.m_hWnd, {15, 17}), kIcon);
    EXPECT_EQ(driver.PixelAt(label.m_hWnd, {15, 18}), kBack);
    ink = Ink(label);
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.left, 21);
    EXPECT_LT(ink.left, 21 + 6);

    label.SetTextColor(Gdiplus::Color(0xFF1010E0u), 1);
    label.SetTextColor(Gdiplus::Color(0xFF10E010u), 2); // not a colour slot: ignored
    EXPECT_EQ(label.m_nStaticAlign, 1) << "slot 2 would overwrite the remembered alignment";
    label.EnableWindow(FALSE);
    label.Invalidate();
    EXPECT_FALSE(Ink(label, Reddish).Any());
    EXPECT_TRUE(Ink(label, Bluish).Any());

    CCtrlStatic hidden;
    CreateWindowExW(0, L"STATIC", L"MM", WS_CHILD | WS_VISIBLE | 3, 10, 50, 160, 20, host.m_hWnd,
                    reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kId + 1)), nullptr,
                    nullptr);
    ASSERT_TRUE(hidden.SubclassDlgItem(kId + 1, &host));
    hidden.SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
    hidden.SetTextColor(Gdiplus::Color(0xFFE01010u), -1);
    hidden.Invalidate();
    EXPECT_FALSE(Ink(hidden).Any()) << "alignment bits 3 show no text";
}

TEST_F(Labels, ImageControlStretchesItsBackgroundPartAndForeground)
{
    // Left half of the background picture dark, right half light; a part from the right half.
    Gdiplus::Bitmap bg(20, 10, Gdiplus::PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&bg);
        Gdiplus::SolidBrush dark{Gdiplus::Color(0xFF202020u)}, light{Gdiplus::Color(0xFFC0C0C0u)};
        g.FillRectangle(&dark, 0, 0, 10, 10);
        g.FillRectangle(&light, 10, 0, 10, 10);
    }
    CCtrlImage image;
    ASSERT_TRUE(
        image.Create(L"MM", WS_CHILD | WS_VISIBLE, CRect(10, 60, 110, 100), &host, kId + 2));
    image.SetImageBk(&bg, CRect(10, 0, 20, 10));
    image.SetImage(nullptr);
    // Probes stay off the edges: this control stretches with smoothing.
    EXPECT_EQ(driver.PixelAt(image.m_hWnd, {50, 20}), 0xFFC0C0C0u);
    EXPECT_EQ(driver.PixelAt(image.m_hWnd, {90, 30}), 0xFFC0C0C0u);
    Gdiplus::Bitmap half(20, 20, Gdiplus::PixelFormat32bppARGB); // top half green, bottom clear
    {
        Gdiplus::Graphics g(&half);
        Gdiplus::SolidBrush green{Gdiplus::Color(kIcon)};
        g.FillRectangle(&green, 0, 0, 20, 10);
    }
    image.SetImage(&half); // repaints by itself
    EXPECT_EQ(driver.PixelAt(image.m_hWnd, {50, 2}), kIcon);
    const Gdiplus::Color below(driver.PixelAt(image.m_hWnd, {50, 37}));
    EXPECT_NEAR(below.GetGreen(), 0xC0, 8) << "the clear half shows the background";
    image.SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
    image.SetTextColor(Gdiplus::Color(0xFFE01010u));
    image.SetTextOffset(30);
    image.Invalidate();
    const InkBox ink = Ink(image);
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.left, 30);
    EXPECT_LT(ink.left, 36);
}

} // namespace

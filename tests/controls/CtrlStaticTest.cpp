// The label and the image control through the headless window layer: the icon's place and the
// text beside it, the alignment from the subclassed style or from SetTextAlign, the colour that
// follows the enabled state, and the image control's background part and foreground.
#include "controls/CtrlStatic.h"
#include "controls/CtrlImage.h"

#include "ControlTestKit.h"

#include <climits>

namespace {

constexpr Gdiplus::ARGB kBack = 0xFFF0F0F0u, kIcon = 0xFF20C020u, kRed = 0xFFE01010u;

class Labels : public HostedTest
{
protected:
    // A dialog's static of `style`, 160 x 40 at (10, y), subclassed as a dialog host does.
    void MakeLabel(CCtrlStatic& label, DWORD style, int y, UINT id)
    {
        CreateWindowExW(0, L"STATIC", L"MM", WS_CHILD | WS_VISIBLE | style, 10, y, 160, 40,
                        host.m_hWnd, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)),
                        nullptr, nullptr);
        ASSERT_TRUE(label.SubclassDlgItem(id, &host));
        label.SetBkImage(back.get(), -1, -1, 0);
        label.SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
        label.SetTextColor(Gdiplus::Color(kRed), -1);
        label.Invalidate();
    }

    std::unique_ptr<Gdiplus::Bitmap> back = Solid(4, 4, kBack);
};

// One label through its life: centred at the top from its style, then aligned by SetTextAlign,
// then lowered to 20 pixels with a 16 x 16 icon, then disabled; and a label from a static whose
// alignment bits are 3.
TEST_F(Labels, LabelSession)
{
    CCtrlStatic label, hidden;
    MakeLabel(label, SS_CENTER, 10, 400);
    EXPECT_EQ(label.GetStyle() & SS_TYPEMASK, SS_OWNERDRAW);
    InkBox ink = Ink(label, Reddish);
    EXPECT_NEAR(ink.left + ink.right, 160, 4) << "centred across 160";
    EXPECT_LT(ink.top, 8) << "at the top";

    label.SetTextAlign(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter);
    label.Invalidate();
    ink = Ink(label, Reddish);
    EXPECT_LT(ink.left, 4) << "left";
    EXPECT_NEAR(ink.top + ink.bottom, 40, 5) << "centred down 40";

    label.MoveWindow(10, 10, 160, 20);
    auto icon = Solid(16, 16, kIcon);
    label.SetImageIcon(icon.get());
    label.Invalidate();
    for (auto [x, y, colour] :
         {std::tuple{0, 1, kBack}, {0, 2, kIcon}, {15, 17, kIcon}, {15, 18, kBack}})
        EXPECT_EQ(At(label, x, y), colour) << "icon at y 2: " << x << "," << y;
    ink = Ink(label, Reddish);
    EXPECT_TRUE(ink.left >= 21 && ink.left < 21 + 6) << ink.left;

    label.SetTextColor(Gdiplus::Color(0xFF1010E0u), 1);
    label.SetTextColor(Gdiplus::Color(0xFF10E010u), 2); // not a colour slot: ignored
    EXPECT_EQ(label.m_nStaticAlign, 1) << "slot 2 would overwrite the remembered alignment";
    label.EnableWindow(FALSE);
    label.Invalidate();
    EXPECT_EQ(std::pair(Ink(label, Reddish).Any(), Ink(label, Bluish).Any()),
              std::pair(false, true));

    MakeLabel(hidden, 3, 50, 401);
    EXPECT_FALSE(Ink(hidden, Reddish).Any()) << "alignment bits 3 show no text";
}

// The image control stretches the part of its background and its foreground. Then host-given
// extremes: background parts, text offsets and a label's background origins at the ends of int.
// Each row paints (under the sanitizers nothing may overflow); the foreground still shows, and
// a text pushed a long way out of its control leaves no ink in it.
TEST_F(Labels, ImageControlAndHostileRectanglesOriginsAndOffsets)
{
    constexpr int lo = INT_MIN, hi = INT_MAX;
    auto bg = Bands(20, 10, {{10, 0xFF202020u}, {10, 0xFFC0C0C0u}}); // the part: the right half
    auto half = Bands(20, 20, {{10, kIcon}});                        // the right half clear
    CCtrlImage image;
    ASSERT_TRUE(image.Create(L"MM", WS_CHILD | WS_VISIBLE, CRect(10, 60, 110, 100), &host, 402));
    image.SetImageBk(bg.get(), CRect(10, 0, 20, 10));
    image.SetImage(nullptr);
    // Probes stay off the edges: this control stretches with smoothing.
    EXPECT_EQ(std::pair(At(image, 10, 20), At(image, 90, 30)), std::pair(0xFFC0C0C0u, 0xFFC0C0C0u));
    image.SetImage(half.get()); // repaints by itself
    EXPECT_EQ(At(image, 20, 20), kIcon);
    EXPECT_NEAR(Gdiplus::Color(At(image, 80, 20)).GetGreen(), 0xC0, 8)
        << "the clear half: background";
    image.SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
    image.SetTextColor(Gdiplus::Color(kRed));
    image.SetTextOffset(30);
    image.Invalidate();
    const int left = Ink(image, Reddish).left;
    EXPECT_TRUE(left >= 30 && left < 36) << left;

    const std::tuple<CRect, int, bool> cases[] = {{CRect(lo, lo, hi, hi), 0, true},
                                                  {CRect(hi, hi, lo, lo), 0, true},
                                                  {CRect(0, 0, 20, 10), hi, false},
                                                  {CRect(0, 0, 20, 10), lo, false},
                                                  {CRect(0, 0, 20, 10), 0, true}};
    for (auto [rect, offset, inked] : cases) {
        image.SetImageBk(bg.get(), rect);
        image.SetTextOffset(offset);
        image.Invalidate();
        EXPECT_EQ(At(image, 45, 3), kIcon) << offset;
        EXPECT_EQ(Ink(image, Reddish).Any(), inked) << offset;
    }

    CCtrlStatic label;
    MakeLabel(label, SS_LEFT, 10, 400);
    for (auto [x, y, stretch] : {std::tuple{hi, hi, 0}, {lo, hi, 1}, {hi, lo, 1}, {lo, lo, 0}}) {
        label.SetBkImage(back.get(), x, y, stretch);
        label.Invalidate();
        EXPECT_TRUE(Ink(label, Reddish).Any()) << x << "," << y << " stretch " << stretch;
    }
}

} // namespace

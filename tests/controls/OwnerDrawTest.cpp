// The owner-draw helper every control paints through: the modes reach the composing graphics,
// the picture lands 1:1 at the device context's origin, the focus painter, and a notification
// from a window without a parent.
#include "controls/OwnerDraw.h"
#include "controls/CtrlSlider.h"
#include "controls/KeyboardAccess.h"

#include "platform/gdiplus/GdiObject.h"

#include "../gdiplus/PixelProbe.h"
#include "ControlTestKit.h"

#include <tuple>

namespace {

constexpr Gdiplus::ARGB kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kClear = 0x00000000u;

// A 2 x 2 checker drawn pixel-exact over a 4 x 4 control whose DC has its origin at (1, 1):
// at 1.0 it covers target pixels 1..4 in cells of 2; at 1.5 the control covers device pixels
// 2..7 and the checker's cells are 3 x 3 device pixels each, not a stretched 4 x 4 composition.
// An empty size or no DC draws nothing, through either composer.
TEST(OwnerDrawCompose, PixelExactModesScaleACheckerOntoWholeDevicePixels)
{
    Gdiplus::Bitmap checker(2, 2, Gdiplus::PixelFormat32bppARGB);
    for (int i = 0; i < 4; ++i)
        checker.SetPixel(i % 2, i / 2, Gdiplus::Color(i == 0 || i == 3 ? kRed : kBlue));
    // Rows: scale, target size, the first device pixel, a cell's device width.
    for (auto [scale, size, from, cell] : {std::tuple{1.0, 6, 1, 2}, {1.5, 10, 2, 3}}) {
        Gdiplus::Bitmap target(size, size, Gdiplus::PixelFormat32bppARGB);
        const HDC dc = platform::CreateScaledSurfaceDC(&target, POINT{1, 1}, nullptr, scale);
        ASSERT_TRUE(dc);
        EXPECT_EQ(ownerdraw::DevicePictureOf(dc, CSize(4, 4)).width, 2 * cell);
        int seenW = 0;
        EXPECT_TRUE(ownerdraw::Compose(
            dc, CSize(4, 4), ownerdraw::kPixelExact, [&](Gdiplus::Graphics& g, int w, int h) {
                seenW = w;
                g.DrawImage(&checker, Gdiplus::Rect(0, 0, w, h), 0, 0, 2, 2, Gdiplus::UnitPixel);
            }));
        EXPECT_EQ(seenW, 4) << "the painter works in logical pixels";
        ExpectPixels(target, [&](int x, int y) {
            const bool inside =
                x >= from && x < from + 2 * cell && y >= from && y < from + 2 * cell;
            const bool red = ((x - from) / cell + (y - from) / cell) % 2 == 0;
            return !inside ? kClear : red ? kRed : kBlue;
        });
        for (auto [to, empty] : {std::pair<HDC, CSize>{dc, CSize(0, 4)},
                                 {dc, CSize(4, 0)},
                                 {dc, CSize(-1, -1)},
                                 {nullptr, CSize(4, 4)}}) {
            bool painted = false;
            EXPECT_FALSE(ownerdraw::Compose(to, empty, ownerdraw::kDefaultModes,
                                            [&](Gdiplus::Graphics&, int, int) { painted = true; }));
            EXPECT_FALSE(ownerdraw::ComposeGdi(to, empty, [&](HDC, int, int) { painted = true; }));
            EXPECT_FALSE(painted) << empty.cx << "x" << empty.cy;
        }
        DeleteDC(dc);
    }
}

TEST(OwnerDrawComposeGdi, TheMemoryPictureLandsWholeAtTheOrigin)
{
    // A 6 x 6 clear target with the DC's origin at (1, 1): a 3 x 2 picture, its left column
    // filled red and the rest left as the fresh bitmap's opaque black, covers (1..3, 1..2).
    Gdiplus::Bitmap target(6, 6, Gdiplus::PixelFormat32bppARGB);
    const HDC dc = platform::CreateSurfaceDC(&target, POINT{1, 1}, nullptr);
    ASSERT_TRUE(dc);
    EXPECT_TRUE(ownerdraw::ComposeGdi(dc, CSize(3, 2), [&](HDC memory, int w, int h) {
        EXPECT_EQ(std::pair(w, h), std::pair(3, 2));
        const RECT column{0, 0, 1, h};
        FillRect(memory, &column, CBrush(RGB(255, 0, 0)));
    }));
    ExpectPixels(target, [](int x, int y) {
        return !(x >= 1 && x <= 3 && y >= 1 && y <= 2) ? kClear : x == 1 ? kRed : 0xFF000000u;
    });
    DeleteDC(dc);
}

// The focus painter on a 40 x 20 slider with an opaque grey background: nothing unless keyboard
// access is on, the slider has the focus and the keyboard was used; then the skin's picture
// (cut at its centre: a 5 x 5 of rings A, B around C keeps 2-pixel corners and stretches C),
// else its colour as a frame along the edge, else the dotted rectangle (every other pixel one
// inside the edge inverted).
TEST(OwnerDrawFocus, TheSkinsPictureElseItsColourElseDottedOnlyOnceTheKeyboardWasUsed)
{
    constexpr Gdiplus::ARGB kGrey = 0xFF808080u, kA = 0xFF102030u, kB = 0xFF405060u,
                            kC = 0xFF708090u, kFrame = 0xFFE0C000u;
    platform::wnd::HeadlessDriver driver;
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 100, 60), nullptr, 0));
    // What a parent hears, with the control's id, every control's own test shows; a window
    // without a parent tells nobody, and nothing breaks.
    EXPECT_EQ(ownerdraw::NotifyParent(host, WM_USER + 7, 1), 0);
    const auto grey = Solid(4, 4, kGrey);
    auto rings = Solid(5, 5, kA);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x)
            rings->SetPixel(x, y, Gdiplus::Color(x == 2 && y == 2 ? kC : kB));
    CCtrlSlider s;
    ASSERT_TRUE(s.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 50, 30), &host, 7));
    s.SetImageBG(grey.get(), 0, 0, 1);
    enum Look { None, Colour, Picture };
    // Rows: keyboard access, the keyboard used, the look, then the pixels at (0, 10), (1, 10)
    // and (20, 10).
    const std::tuple<bool, bool, Look, Gdiplus::ARGB, Gdiplus::ARGB, Gdiplus::ARGB> cases[] = {
        {false, true, Colour, kGrey, kGrey, kGrey}, {true, false, Colour, kGrey, kGrey, kGrey},
        {true, true, Colour, kFrame, kGrey, kGrey}, {true, true, Picture, kA, kB, kC},
        {true, true, None, kGrey, 0, kGrey},
    };
    auto at = [&](int x, int y) { return driver.PixelAt(s.m_hWnd, {x, y}); };
    for (auto [access, keyboardUsed, look, edge, inside, middle] : cases) {
        skinkit::EnableKeyboardAccess(access);
        host.SendMessage(WM_CHANGEUISTATE,
                         MAKEWPARAM(keyboardUsed ? UIS_CLEAR : UIS_SET, UISF_HIDEFOCUS));
        s.SetFocusColor(look == Colour ? Gdiplus::Color(kFrame) : Gdiplus::Color(0, 0, 0, 0));
        s.SetFocusImage(look == Picture ? rings.get() : nullptr);
        s.SetFocus();
        s.Invalidate();
        // The dotted look inverts one of two neighbours.
        const bool in =
            look == None ? (at(1, 10) != kGrey) + (at(1, 11) != kGrey) == 1 : at(1, 10) == inside;
        EXPECT_EQ(std::tuple(at(0, 10), in, at(20, 10)), std::tuple(edge, true, middle))
            << access << keyboardUsed << look;
        ::SetFocus(nullptr); // the look goes with the focus
        EXPECT_EQ(at(0, 10), kGrey) << access << keyboardUsed << look;
    }
    skinkit::EnableKeyboardAccess(false);
    // A 9 x 9 picture keeps corners of 4, but never more than half the control: 1 across 3.
    const RECT m = ownerdraw::FocusPictureMargins(CSize(9, 9), CSize(3, 20));
    EXPECT_EQ(std::tuple(m.left, m.top, m.right, m.bottom), std::tuple(1, 4, 1, 4));
}

} // namespace

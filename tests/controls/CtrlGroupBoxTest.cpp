// The group box through the headless window layer: frame and header pixels per style and
// alignment, the parent showing through, disabled text and icon, enabling the controls inside,
// clicks reaching a button inside, texts and icons from the host's resources and image lists.
#include "controls/CtrlGroupBox.h"
#include "controls/KeyboardAccess.h"

#include "platform/base/DeviceScale.h"
#include "platform/host/HostResources.h"

#include "../gdiplus/PixelProbe.h"
#include "ControlTestKit.h"

#include <functional>
#include <limits>
#include <string>
#include <tuple>

namespace {

const DWORD kShadow = Argb(GetSysColor(COLOR_BTNSHADOW));
const DWORD kHighlight = Argb(GetSysColor(COLOR_BTNHIGHLIGHT));
const DWORD kFace = Argb(GetSysColor(COLOR_BTNFACE));
constexpr COLORREF kRed = RGB(200, 0, 0);

// Icon resource 500, 16 x 16: the left half opaque white, the right half transparent black.
HICON HalfWhiteIcon()
{
    platform::host::SetIconPicture(500, *Bands(16, 16, {{8, 0xFFFFFFFFu}, {8, 0x00000000u}}));
    return static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(500), IMAGE_ICON, 16, 16, 0));
}

class GroupBox : public HostedTest
{
protected:
    static constexpr int W = 200, H = 100;

    void TearDown() override { platform::host::ClearResources(); }
    void MakeBox(const wchar_t* text = L"Group")
    {
        ASSERT_TRUE(
            box.Create(text, WS_CHILD | WS_VISIBLE, CRect(10, 10, 10 + W, 10 + H), &host, 100));
        extent = TextExtent(*box.GetFont(), text);
        top = (extent.cy + 1) / 2;
    }
    DWORD At(int x, int y) { return HostedTest::At(box, x, y); }
    // The columns of row y that are not the border's shadow colour, as [first, last + 1).
    std::pair<int, int> GapInRow(int y, int from, int to)
    {
        int first = -1, last = -1;
        for (int x = from; x < to; ++x)
            if (At(x, y) != kShadow) {
                first = first < 0 ? x : first;
                last = x;
            }
        return {first, last + 1};
    }

    // The frame's sides and corners as characters (S shadow, H highlight, R red, . face, ? other):
    // rows top - 1, top, top + 1, 60, H - 2 and H - 1; columns 0, 1, 2, W - 3, W - 2 and W - 1.
    std::string Edges()
    {
        std::string s;
        for (int y : {top - 1, top, top + 1, 60, H - 2, H - 1}) {
            s += s.empty() ? "" : " ";
            for (int x : {0, 1, 2, W - 3, W - 2, W - 1})
                s += Legend(At(x, y),
                            {{'S', kShadow}, {'H', kHighlight}, {'.', kFace}, {'R', Argb(kRed)}});
        }
        return s;
    }

    CCtrlGroupBox box;
    SIZE extent{};
    int top = 0; // the border's top edge, from the text's height alone
};

} // namespace

TEST_F(GroupBox, FramesInTheBorderColourBackgroundAndHeaderStyle)
{
    MakeBox();
    // Etched: a shadow outline one pixel in and a highlight one one pixel out. Once the colour is
    // unset again, nothing is left of the red frame.
    const char* etched = "...... SSSSSH SHHHSH SH..SH SSSSSH HHHHHH";
    EXPECT_EQ(Edges(), etched);
    for (auto [style, colour, edges] :
         {std::tuple{CCtrlGroupBox::BORDER_FLAT, kRed, "...... RRRRRR R....R R....R R....R RRRRRR"},
          {CCtrlGroupBox::BORDER_ETCHED, kRed, "...... RRRRRH RHHHRH RH..RH RRRRRH HHHHHH"},
          {CCtrlGroupBox::BORDER_ETCHED, COLORREF(0xFFFFFFFF), etched}}) {
        box.SetBorderStyle(style, FALSE).SetBorderColor(colour);
        EXPECT_EQ(Edges(), edges) << style << " " << colour;
    }
    // The box's own background fills the header strip only; below it the parent shows.
    box.SetBkColor(RGB(10, 20, 30));
    const DWORD back = Argb(RGB(10, 20, 30));
    EXPECT_EQ(std::tuple(At(150, 0), At(150, 2 * top - 1), At(150, 2 * top + 2), At(0, 60)),
              std::tuple(back, back, kFace, kShadow));
    box.SetBkColor(GetSysColor(COLOR_BTNFACE));

    // Where the header goes is the layout table's business, and the frame's gap is the text test's
    // below; the painting follows the header style and its alignment: only a line across the
    // whole width with the highlight right under it, nothing at the sides.
    box.SetControlStyle(CCtrlGroupBox::STYLE_HEADER, FALSE)
        .SetAlignment(CCtrlGroupBox::ALIGN_RIGHT);
    EXPECT_EQ(std::tuple(GapInRow(top, 0, W), At(0, top + 1), At(0, H - 5)),
              std::tuple(std::make_pair(W - (int(extent.cx) + 3), W), kHighlight, kFace));
}

TEST_F(GroupBox, DisabledShowsGrayTextAndAGrayscaleIcon)
{
    MakeBox(L"WWWW");
    HICON icon = HalfWhiteIcon();
    ASSERT_NE(icon, nullptr);
    box.SetIcon(icon, 16).SetBorderColor(RGB(0, 0, 200));
    const int iconTop = box.m_nHeaderHalf - 8, iconLeft = 8 + 3;
    const CRect text(iconLeft + 16, 0, W, 2 * box.m_nHeaderHalf + 2);
    const DWORD black = Argb(GetSysColor(COLOR_BTNTEXT)), gray = Argb(GetSysColor(COLOR_GRAYTEXT));
    // Without the disabled style: the coloured icon and the text colour, but still a frame in
    // the shadow colour whatever border colour is set. Disabled, white becomes 254 gray.
    for (auto [enable, disabledStyle, white, frame, grayText] :
         {std::tuple{TRUE, TRUE, 0xFFFFFFFFu, Argb(RGB(0, 0, 200)), false},
          {FALSE, TRUE, 0xFFFEFEFEu, kShadow, true},
          {FALSE, FALSE, 0xFFFFFFFFu, kShadow, false}}) {
        box.SetDisabledStyle(disabledStyle);
        box.EnableWindow(enable, FALSE);
        EXPECT_EQ(std::tuple(At(iconLeft + 2, iconTop + 4), At(0, H - 5),
                             Count(box, black, text) > 0, Count(box, gray, text) > 0),
                  std::tuple(white, frame, !grayText, grayText))
            << enable << disabledStyle;
    }
    DestroyIcon(icon);
}

// The controls wholly inside the box are its own. Enabling with its children takes them, not
// one across its edge or outside it. With keyboard access, the focus given to the box goes on
// to the first tab stop inside that can take it: not one across its edge, a disabled one or one
// that is no tab stop. A click inside reaches the button under the box.
TEST_F(GroupBox, TheControlsWhollyInsideTakeItsEnablingAndItsFocus)
{
    const std::pair<CRect, DWORD> buttons[] = {{CRect(180, 30, 240, 50), WS_TABSTOP},
                                               {CRect(20, 30, 80, 50), WS_TABSTOP | WS_DISABLED},
                                               {CRect(20, 55, 80, 75), 0},
                                               {CRect(100, 55, 160, 75), WS_TABSTOP},
                                               {CRect(100, 80, 160, 100), WS_TABSTOP},
                                               {CRect(220, 120, 280, 150), WS_TABSTOP}};
    CButton made[std::size(buttons)];
    for (size_t i = 0; i < std::size(buttons); ++i)
        ASSERT_TRUE(made[i].Create(L"b", WS_CHILD | WS_VISIBLE | buttons[i].second,
                                   buttons[i].first, &host, static_cast<UINT>(i + 1)));
    MakeBox();
    for (bool access : {false, true}) {
        skinkit::EnableKeyboardAccess(access);
        ::SetFocus(nullptr);
        box.SetFocus();
        EXPECT_EQ(::GetFocus(), access ? made[3].m_hWnd : box.m_hWnd) << access;
    }
    skinkit::EnableKeyboardAccess(false);
    for (auto [enable, withChildren, insideToo] :
         {std::tuple{FALSE, TRUE, false}, {TRUE, FALSE, false}, {TRUE, TRUE, true}}) {
        box.EnableWindow(enable, withChildren);
        EXPECT_EQ(std::tuple(box.IsWindowEnabled() != 0, made[3].IsWindowEnabled() != 0,
                             made[0].IsWindowEnabled() != 0, made[5].IsWindowEnabled() != 0),
                  std::tuple(enable != 0, insideToo, true, true));
    }
    driver.Click(made[4].m_hWnd, {10, 10}); // the box, made later, lies over it
    EXPECT_EQ(host.heard, "command 5 0 ; ");
}

// The text, icons and font from the host: resources, image lists and a font face kept.
TEST_F(GroupBox, TextIconsAndFontsFromTheHost)
{
    MakeBox();
    platform::host::SetString(42, L"From resources");
    box.SetWindowTextW(MAKEINTRESOURCEW(42));
    EXPECT_EQ(box.GetWindowText(), CString(L"From resources"));

    HICON icon = HalfWhiteIcon();
    CImageList list;
    ASSERT_TRUE(list.Create(24, 24, ILC_COLOR32, 1, 1));
    list.Add(icon);
    DestroyIcon(icon);
    // Each source gives an icon at its size or, when it has none, takes the one shown away.
    for (auto [fromList, which, size] :
         {std::tuple{true, 0, 24}, {true, 1, 0}, {false, 500, 16}, {false, 501, 0}}) {
        if (fromList)
            box.SetImageList(&list, which);
        else
            box.SetIcon(UINT(which), 16);
        EXPECT_EQ(std::pair(box.m_hIcon != nullptr, box.m_nIconSize), std::pair(size > 0, size))
            << fromList << " " << which;
    }
    box.SetFont(L"Liberation Sans", 9, FALSE).SetBold(TRUE, FALSE);
    box.SetFont(static_cast<const wchar_t*>(nullptr), 12, FALSE); // keeps the face
    EXPECT_EQ(box.GetFontFaceName(), CString(L"Liberation Sans"));
    EXPECT_EQ(box.GetFont(static_cast<LOGFONTW*>(nullptr)), 0);
    // A point size whose MulDiv is INT_MIN still gives a height that fits, and reads back: the
    // height and its point size come from the rule at 96 DPI.
    box.SetFont(static_cast<const wchar_t*>(nullptr), -1610612736, FALSE);
    LOGFONTW lf{};
    ASSERT_EQ(box.GetFont(&lf), 1);
    EXPECT_EQ(std::pair(int(lf.lfHeight), box.GetFontPointSize()),
              std::pair(std::numeric_limits<int>::max(), 1610612735));
}

// Values a host may pass that reach the header's arithmetic: each setter takes every value,
// the control paints (enabled and disabled, frame and header style, icon on either side), and
// once sane values are back the frame is whole again.
TEST_F(GroupBox, HostileValuesPaintWithoutOverflow)
{
    MakeBox(L"Hostile");
    HICON icon = HalfWhiteIcon();
    ASSERT_NE(icon, nullptr);
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32, 1, 1));
    list.Add(icon);
    constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
    const std::pair<const char*, std::function<void(CCtrlGroupBox&, int)>> setters[] = {
        {"SetIcon(HICON)", [&](CCtrlGroupBox& b, int v) { b.SetIcon(icon, UINT(v)); }},
        {"SetIcon(id)", [](CCtrlGroupBox& b, int v) { b.SetIcon(UINT(500), UINT(v)); }},
        {"SetIcon(id) size 16", [](CCtrlGroupBox& b, int v) { b.SetIcon(UINT(v), 16u); }},
        {"SetImageList", [&](CCtrlGroupBox& b, int v) { b.SetImageList(&list, v); }},
        {"SetIconSpacing", [](CCtrlGroupBox& b, int v) { b.SetIconSpacing(v); }},
        {"SetMargins x", [](CCtrlGroupBox& b, int v) { b.SetMargins(v, 0); }},
        {"SetMargins y", [](CCtrlGroupBox& b, int v) { b.SetMargins(8, v); }},
        {"SetDisabledStyle", [](CCtrlGroupBox& b, int v) { b.SetDisabledStyle(v); }},
    };
    for (const auto& [name, set] : setters)
        for (int value : {kMin, kMin + 1, -1, 0, 1, kMax - 1, kMax}) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(value));
            box.SetIcon(icon, 16, FALSE);
            for (auto [style, iconAlignment, enable] :
                 {std::tuple{CCtrlGroupBox::STYLE_FRAME, CCtrlGroupBox::ALIGN_LEFT, TRUE},
                  {CCtrlGroupBox::STYLE_FRAME, CCtrlGroupBox::ALIGN_RIGHT, FALSE},
                  {CCtrlGroupBox::STYLE_HEADER, CCtrlGroupBox::ALIGN_RIGHT, TRUE},
                  {CCtrlGroupBox::STYLE_HEADER, CCtrlGroupBox::ALIGN_LEFT, FALSE}}) {
                box.SetControlStyle(style, FALSE).SetIconAlignment(iconAlignment, FALSE);
                box.EnableWindow(enable, FALSE);
                set(box, value);
                At(0, 0); // the capture shows the paint through
            }
            box.EnableWindow(TRUE, FALSE);
            box.SetControlStyle(CCtrlGroupBox::STYLE_FRAME, FALSE)
                .SetIcon(HICON(nullptr), 0, FALSE)
                .SetIconSpacing(8, FALSE)
                .SetDisabledStyle(TRUE, FALSE)
                .SetMargins(8, 0);
            EXPECT_EQ(Edges(), "...... SSSSSH SHHHSH SH..SH SSSSSH HHHHHH");
        }
    DestroyIcon(icon);
}

// The header follows the text whichever spelling the host writes it with: the gap in the top
// edge is the new text's width plus 6.
TEST_F(GroupBox, HeaderFollowsTheTextWrittenEitherWay)
{
    MakeBox(L"A");
    const std::pair<const char*, std::function<void(CCtrlGroupBox&, const wchar_t*)>> writers[] = {
        {"SetWindowTextW", [](CCtrlGroupBox& b, const wchar_t* t) { b.SetWindowTextW(t); }},
        {"SetWindowText", [](CCtrlGroupBox& b, const wchar_t* t) { b.SetWindowText(t); }},
        {"::SetWindowTextW", [](CCtrlGroupBox& b, const wchar_t* t) { ::SetWindowTextW(b, t); }},
    };
    for (const auto& [name, write] : writers)
        for (const wchar_t* text : {L"A much longer header", L"Short", L"A"}) {
            write(box, text);
            const int tw = static_cast<int>(TextExtent(*box.GetFont(), text).cx);
            EXPECT_EQ(GapInRow(top, 1, W - 1), std::make_pair(8, 8 + tw + 6))
                << name << " " << CString(text).GetLength();
        }
}

// On a scaled window the box composes at device resolution: each line of its etched frame is
// round(scale) device pixels thick, starting at the device edge of its logical place, and the
// frame's far sides end at the box's far device edges.
using ScaledGroupBox = ::testing::TestWithParam<double>;

TEST_P(ScaledGroupBox, EtchedFrameLinesAreRoundScaleDevicePixelsInsideTheBox)
{
    constexpr int W = 200, H = 100, kAt = 10;
    const double s = GetParam();
    platform::wnd::HeadlessDriver driver{s};
    CWnd host;
    CCtrlGroupBox box;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    ASSERT_TRUE(
        box.Create(L"Group", WS_CHILD | WS_VISIBLE, CRect(kAt, kAt, kAt + W, kAt + H), &host, 1));
    const int top = (TextExtent(*box.GetFont(), L"Group").cy + 1) / 2;
    const auto shot = driver.Capture(box.m_hWnd);
    ASSERT_TRUE(shot);
    // Device pixels of the box's logical coordinate v, and of a line one logical pixel thick.
    auto e = [s](int v) { return platform::DeviceEdge(kAt + v, s) - platform::DeviceEdge(kAt, s); };
    const int k = platform::DeviceLineWidth(1, s);
    // The highlight outline (2 pixels, one in) painted first, the shadow one over it.
    auto expected = [&](int length, int near, int farHighlight, int farShadow) {
        std::string want(static_cast<size_t>(length), '.');
        auto paint = [&](int from, int to, char c) {
            for (int i = std::max(from, 0); i < std::min(to, length); ++i)
                want[static_cast<size_t>(i)] = c;
        };
        paint(near, near + 2 * k, 'H');
        paint(farHighlight - 2 * k, farHighlight, 'H');
        paint(near, near + k, 'S');
        paint(farShadow - k, farShadow, 'S');
        return want;
    };
    auto legend = [&](int x, int y) {
        return Legend(PixelAt(*shot, x, y), {{'S', kShadow}, {'H', kHighlight}, {'.', kFace}});
    };
    const int w = static_cast<int>(shot->GetWidth()), h = static_cast<int>(shot->GetHeight());
    std::string column, row;
    for (int y = e(top) - 2; y < h; ++y)
        column += legend(e(W / 2), y);
    for (int x = 0; x < w; ++x)
        row += legend(x, e(H / 2));
    EXPECT_EQ(column, expected(h, e(top), e(H), e(H - 1)).substr(static_cast<size_t>(e(top) - 2)))
        << s;
    EXPECT_EQ(row, expected(w, e(0), e(W), e(W - 1))) << s;
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledGroupBox, ::testing::Values(1.0, 1.25, 1.5, 1.75, 2.0, 3.0));

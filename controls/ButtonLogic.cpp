#include "controls/ButtonLogic.h"

#include "controls/WideMath.h"
#include "platform/wnd/WinUser.h"

namespace btn {

namespace {
// The type bits Classify tests (the owner-drawn types above auto radio have both).
constexpr DWORD kCheckBoxBit = BS_CHECKBOX;
constexpr DWORD kAutoRadioBits = BS_AUTORADIOBUTTON;
} // namespace

State ChooseState(Flags f)
{
    if (f.disabled)
        return f.down ? DownDisabled : Disabled;
    return static_cast<State>((f.hover ? 1 : 0) + (f.down ? 3 : 0));
}

bool IsDown(bool checkType, bool selected, int check)
{
    return selected || (checkType && check != 0);
}

Flags FlagsFor(unsigned itemState, bool checkType, int check, bool hover)
{
    return {IsDown(checkType, (itemState & ODS_SELECTED) != 0, check),
            (itemState & ODS_DISABLED) != 0, hover};
}

Kind Classify(DWORD style)
{
    Kind k{};
    k.checkType = (style & kCheckBoxBit) != 0 || (style & kAutoRadioBits) == kAutoRadioBits;
    k.pushLike = k.checkType && (style & BS_PUSHLIKE) != 0;
    return k;
}

int FrameForState(int frameCount, int state)
{
    static constexpr std::array<std::array<int, kStateCount>, 7> table = {{
        {0, 0, 0, 0, 0, 0}, // 0: treated as 1
        {0, 0, 0, 0, 0, 0},
        {0, 0, 0, 1, 1, 1},
        {0, 1, 0, 2, 2, 2},
        {0, 1, 2, 3, 3, 2},
        {0, 1, 2, 3, 4, 2},
        {0, 1, 2, 3, 4, 5},
    }};
    if (state < 0 || state >= kStateCount)
        return 0;
    const int row = frameCount < 0 ? 0 : frameCount > 6 ? 6 : frameCount;
    return table[static_cast<size_t>(row)][static_cast<size_t>(state)];
}

Gdiplus::Rect FrameRect(int stripWidth, int stripHeight, int frameCount, int frame)
{
    const int fw = stripWidth / (frameCount < 1 ? 1 : frameCount);
    return Gdiplus::Rect(wide::Saturate(static_cast<int64_t>(frame) * fw), 0, fw, stripHeight);
}

unsigned StatesForImage(int imageCount, int state)
{
    constexpr unsigned up = 0b000111, down = 0b111000;
    if (imageCount == 2)
        return (state >= 0 && state <= 2) ? up : down;
    if (imageCount == 3) {
        if (state == 0 || state == 2)
            return 0b000101;
        if (state == 1)
            return 0b000010;
        return down;
    }
    return 0;
}

Gdiplus::Rect BackgroundSource(const Background& bg, int w, int h)
{
    if (bg.rect.left > 0) {
        if (bg.stretch)
            return wide::RectFromEdges(bg.rect.left, bg.rect.top, bg.rect.right, bg.rect.bottom);
        return Gdiplus::Rect(bg.rect.left, bg.rect.top, w, h);
    }
    if (bg.stretch)
        return Gdiplus::Rect(bg.x, bg.y, bg.imageWidth, h);
    return Gdiplus::Rect(bg.x, bg.y, w, h);
}

namespace {

// A pair of style bits chooses an alignment: the first alone the near edge, the second alone
// the far one, both the centre, neither `neither`.
Gdiplus::StringAlignment AlignmentFromBits(DWORD bits, DWORD nearBit, DWORD farBit,
                                           Gdiplus::StringAlignment neither)
{
    if (bits == nearBit)
        return Gdiplus::StringAlignmentNear;
    if (bits == farBit)
        return Gdiplus::StringAlignmentFar;
    return bits ? Gdiplus::StringAlignmentCenter : neither;
}

} // namespace

TextAlign AlignmentFromStyle(DWORD style, bool checkBoxDrawn)
{
    TextAlign a{};
    a.horizontal = AlignmentFromBits(style & BS_CENTER, BS_LEFT, BS_RIGHT,
                                     checkBoxDrawn ? Gdiplus::StringAlignmentNear
                                                   : Gdiplus::StringAlignmentCenter);
    a.vertical =
        AlignmentFromBits(style & BS_VCENTER, BS_TOP, BS_BOTTOM, Gdiplus::StringAlignmentCenter);
    return a;
}

int GlyphTop(int controlHeight, int stripHeight)
{
    return static_cast<int>((static_cast<int64_t>(controlHeight) - stripHeight) / 2);
}

int GlyphWidth(int stripWidth, int frameCount)
{
    return wide::Saturate(static_cast<int64_t>(stripWidth / (frameCount < 1 ? 1 : frameCount)) +
                          kGlyphGap);
}

Layout LayOut(const Geometry& g)
{
    Layout out{};
    // The offsets are the host's: the text box's edges are summed in 64 bits and cut.
    int64_t left = g.textOffset;
    if (DrawnAsCheckBox(g.kind) && g.glyphs) {
        out.glyph =
            Gdiplus::Rect(0, GlyphTop(g.height, g.glyphs->height), g.frame.Width, g.frame.Height);
        left += GlyphWidth(g.glyphs->width, g.glyphs->frames);
    }
    out.text = wide::CutRect(left, g.vTextOffset, g.width - left,
                             static_cast<int64_t>(g.height) - g.vTextOffset);
    return out;
}

} // namespace btn

// GDI drawing on device contexts: pens, rectangles, lines, text boxes, pixel copies, fonts,
// stock objects, icons and image lists. Expected pixels come from GDI's pixel rules (whole
// pixels, right and bottom exclusive, wide pens w/2 up-left with round joins), written out as
// pictures, not from our own output.
#include "platform/base/DeviceScale.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/GdiObject.h"

#include "PixelProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace Gdiplus;

namespace {

constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr COLORREF kShadow = RGB(160, 160, 160);
constexpr COLORREF kHighlight = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// The opaque pixel of a COLORREF (0x00BBGGRR), from the layout of both rather than our conversion.
ARGB Opaque(COLORREF c)
{
    return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

// The smallest rectangle of `area` that holds every pixel of `b` not of the face colour.
CRect InkBox(Bitmap& b, const CRect& area)
{
    CRect box;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (PixelAt(b, x, y) != Opaque(kFace))
                box.UnionRect(box, CRect(x, y, x + 1, y + 1));
    return box;
}

// `font` made as Liberation Sans (unless another face is named) of the given LOGFONT height.
void MakeFont(CFont& font, LONG height, const wchar_t* face = L"Liberation Sans")
{
    LOGFONTW lf{};
    lf.lfHeight = height;
    std::wcscpy(lf.lfFaceName, face);
    font.CreateFontIndirect(&lf);
}

struct Canvas
{
    Canvas(int w, int h, COLORREF fill = kFace) : width(w), height(h)
    {
        FillRect(dc, CRect(0, 0, w, h), CBrush(fill));
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    ARGB At(int x, int y) { return PixelAt(*platform::BitmapOfHandle(bitmap), x, y); }
    CRect Ink() { return InkBox(*platform::BitmapOfHandle(bitmap), CRect(0, 0, width, height)); }
    // The pixels as characters, row by row: S shadow, H highlight, b blue, # black, . face.
    std::string Picture()
    {
        std::string out;
        for (int y = 0; y < height; ++y, out += '\n')
            for (int x = 0; x < width; ++x)
                out += Legend(At(x, y), {{'S', Opaque(kShadow)},
                                         {'H', Opaque(kHighlight)},
                                         {'b', Opaque(kBlue)},
                                         {'#', Opaque(0)},
                                         {'.', Opaque(kFace)}});
        return out;
    }
    int width, height;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
};

// Rectangle() with a solid pen and the given brush (none: the stock hollow one).
void Frame(HDC dc, int penWidth, COLORREF colour, RECT r, HBRUSH brush = nullptr)
{
    CPen pen(PS_SOLID, penWidth, colour);
    platform::ScopedSelect usePen(dc, pen), useBrush(dc, brush, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

// A 32-bit icon of w x h from bottom-up DIB rows, with its colour and mask bitmaps and the
// screen context that made them, all released at the end of the scope.
struct DibIcon
{
    DibIcon(int w, int h, const BYTE* rows)
        : colour(CreateCompatibleBitmap(screen, w, h)), mask(CreateCompatibleBitmap(screen, w, h))
    {
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        EXPECT_EQ(SetDIBits(screen, colour, 0, UINT(h), rows, &bmi, DIB_RGB_COLORS), h);
        ICONINFO info{TRUE, 0, 0, mask, colour};
        icon = CreateIconIndirect(&info);
    }
    ~DibIcon()
    {
        DestroyIcon(icon);
        for (HBITMAP b : {colour, mask})
            DeleteObject(b);
        DeleteDC(screen);
    }
    HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP colour, mask;
    BITMAPINFO bmi{};
    HICON icon = nullptr;
};

} // namespace

TEST(GdiPens, EtchedFrameFilledRectangleAndLinesThatLeaveTheirEndPointAndMoveThePosition)
{
    Canvas c(12, 9);
    Frame(c.dc, 2, kHighlight, {1, 1, 12, 9});
    Frame(c.dc, 1, kShadow, {0, 0, 11, 8});
    EXPECT_EQ(c.Picture(), "SSSSSSSSSSSH\n"
                           "SHHHHHHHHHSH\n"
                           "SH........SH\n"
                           "SH........SH\n"
                           "SH........SH\n"
                           "SH........SH\n"
                           "SH........SH\n"
                           "SSSSSSSSSSSH\n"
                           "HHHHHHHHHHHH\n");
    Canvas filled(6, 5);
    CBrush blue(kBlue);
    Frame(filled.dc, 1, 0, {0, 0, 5, 4}, blue);
    EXPECT_EQ(filled.Picture(), "#####.\n#bbb#.\n#bbb#.\n#####.\n......\n");

    // Lines leave their end point and follow the current position.
    const struct
    {
        POINT from, to;
        const char* picture;
    } cases[] = {
        {{2, 2}, {6, 2}, "........\n........\n..SSSS..\n"},
        {{6, 2}, {2, 2}, "........\n........\n...SSSS.\n"},
        {{2, 0}, {2, 2}, "..S.....\n..S.....\n........\n"},
        {{3, 2}, {3, 2}, "........\n........\n........\n"},
    };
    for (const auto& k : cases) {
        Canvas c(8, 3);
        CPen pen(PS_SOLID, 1, kShadow);
        platform::ScopedSelect use(c.dc, pen);
        MoveToEx(c.dc, k.from.x, k.from.y, nullptr);
        LineTo(c.dc, k.to.x, k.to.y);
        EXPECT_EQ(c.Picture(), k.picture)
            << k.from.x << "," << k.from.y << " -> " << k.to.x << "," << k.to.y;
        POINT now{};
        MoveToEx(c.dc, 0, 0, &now);
        EXPECT_EQ(CPoint(now), CPoint(k.to));
    }
}

TEST(GdiCopies, BitBltClipsToTheDestinationAndReadsTheSourceOrigin)
{
    Canvas src(8, 8, RGB(255, 0, 0));
    const RECT square{4, 4, 8, 8};
    FillRect(src.dc, &square, CBrush(RGB(0, 255, 0)));

    // A context on a bigger surface with its origin at (2, 1) and a clip, as a window's is.
    Bitmap screen(10, 10, PixelFormat32bppARGB);
    const RECT clip{2, 1, 6, 5};
    HDC window = platform::CreateSurfaceDC(&screen, POINT{2, 1}, &clip);
    ASSERT_TRUE(BitBlt(window, 0, 0, 8, 8, src.dc, 2, 2, SRCCOPY));
    EXPECT_EQ(PixelAt(screen, 2, 1), Opaque(RGB(255, 0, 0))); // source (2, 2)
    EXPECT_EQ(PixelAt(screen, 4, 3), Opaque(RGB(0, 255, 0))); // source (4, 4)
    EXPECT_EQ(PixelAt(screen, 6, 3), 0u);                     // outside the clip
    EXPECT_EQ(PixelAt(screen, 3, 5), 0u);

    Canvas back(4, 4, RGB(0, 0, 0));
    ASSERT_TRUE(BitBlt(back.dc, 0, 0, 4, 4, window, 1, 1, SRCCOPY));
    EXPECT_EQ(back.At(0, 0), Opaque(RGB(255, 0, 0)));
    EXPECT_EQ(back.At(1, 1), Opaque(RGB(0, 255, 0)));
    EXPECT_FALSE(BitBlt(back.dc, 0, 0, 4, 4, window, 0, 0, 0x00EE0086)); // SRCPAINT: not kept
    DeleteDC(window);
}

TEST(GdiSelection, ABitmapDeletedWhileSelectedGoesWhenTheContextLetsItGoStockObjectsNever)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
    HGDIOBJ initial = SelectObject(dc, bitmap);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(platform::BitmapOfHandle(bitmap), nullptr); // the handle is gone for callers
    RECT r{0, 0, 4, 4};
    EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 1);
    EXPECT_EQ(SelectObject(dc, initial), bitmap); // deselected now, and so gone
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_BRUSH)), nullptr);

    // Stock objects survive deletion; an unknown stock number answers none.
    LOGFONTW lf{};
    HGDIOBJ var = GetStockObject(ANSI_VAR_FONT);
    EXPECT_TRUE(DeleteObject(var));
    EXPECT_EQ(GetObjectW(var, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(GetStockObject(15), nullptr);
}

// A canvas with Liberation Sans at 12 pixels selected: ascent 11 + descent 3.
class GdiText : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MakeFont(font, -12);
        old = SelectObject(c.dc, font);
    }
    void TearDown() override { SelectObject(c.dc, old); }
    SIZE Extent(const wchar_t* text, int n = -1)
    {
        SIZE s{};
        EXPECT_TRUE(GetTextExtentPoint32W(c.dc, text, n, &s));
        return s;
    }
    // The rectangle DT_CALCRECT gives `text` in the given width; the height answered is its own.
    CRect Calc(const wchar_t* text, UINT format, int width = 500)
    {
        RECT r{0, 0, width, 100};
        EXPECT_EQ(DrawTextW(c.dc, text, -1, &r, DT_CALCRECT | format), r.bottom) << text;
        return r;
    }

    Canvas c{60, 24};
    CFont font;
    HGDIOBJ old = nullptr;
};

TEST_F(GdiText, SingleLineCentredVerticallyWithItsOpaqueBoxOrInkInsideTheRectangle)
{
    // A blank draws only its background box: x..x+cx, y..y+height, y = top + h/2 - cy/2.
    const struct
    {
        int top, bottom, boxTop;
    } cases[] = {{1, 15, 1}, {1, 21, 4}, {3, 18, 3}, {1, 17, 2}};
    const int cx = Extent(L"  ").cx;
    SetBkMode(c.dc, OPAQUE);
    SetBkColor(c.dc, kBlue);
    for (const auto& k : cases) {
        RECT r{3, k.top, 39, k.bottom};
        FillRect(c.dc, CRect(0, 0, 60, 24), CBrush(kFace));
        EXPECT_EQ(DrawTextW(c.dc, L"  ", -1, &r, DT_SINGLELINE | DT_VCENTER), 14);
        EXPECT_EQ(c.Ink(), CRect(3, k.boxTop, 3 + cx, std::min(k.boxTop + 14, k.bottom)))
            << k.bottom;
        EXPECT_EQ(c.At(3, k.boxTop), Opaque(kBlue)) << k.bottom;
    }
    // Transparent text leaves the background, and its ink stays inside the rectangle.
    FillRect(c.dc, CRect(0, 0, 60, 24), CBrush(kFace));
    SetBkMode(c.dc, TRANSPARENT);
    SetTextColor(c.dc, RGB(0, 0, 0));
    RECT r{2, 2, 12, 18};
    DrawTextW(c.dc, L"WWWWWW", -1, &r, DT_SINGLELINE | DT_VCENTER);
    const CRect ink = c.Ink();
    EXPECT_GT(ink.Width(), 5);
    EXPECT_TRUE(ink.left >= 2 && ink.top >= 2 && ink.right <= 12 && ink.bottom <= 18)
        << ink.left << "," << ink.top << " " << ink.right << "," << ink.bottom;
}

TEST_F(GdiText, ExtentsAndCalcRectMeasureAlignmentAndWrapping)
{
    const int word = Extent(L"Hello", 5).cx;
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(c.dc, &tm));
    // Whole-pixel advances add up exactly; an empty text takes no room.
    EXPECT_EQ(
        std::tuple(Extent(L"Hello").cy, tm.tmHeight, Extent(L"HelloHello").cx, Extent(L"", 0).cx),
        std::tuple(14, 14, 2 * word, 0));
    RECT r{10, 5, 500, 100};
    EXPECT_EQ(DrawTextW(c.dc, L"Hello", -1, &r, DT_CALCRECT | DT_SINGLELINE), 14);
    EXPECT_EQ(CRect(r), CRect(10, 5, 10 + word, 19));
    EXPECT_EQ(Calc(L"one\ntwo\r\nthree", 0).Height(), 42);
    // Sized to itself a text stays one line; a word that does not fit goes to the next.
    EXPECT_EQ(Calc(L"HelloHello", DT_WORDBREAK, 2 * word).Height(), 14);
    EXPECT_EQ(Calc(L"Hello Hello", DT_WORDBREAK, Extent(L"Hello Hello").cx).Height(), 14);
    EXPECT_EQ(Calc(L"Hello Hello Hello", DT_WORDBREAK, word + 4).Height(), 42);
    // A prefix ampersand takes no room, unless prefixes are off.
    EXPECT_EQ(Calc(L"&Hello", DT_SINGLELINE).right, word);
    EXPECT_GT(Calc(L"&Hello", DT_SINGLELINE | DT_NOPREFIX).right, word);
}

TEST(GdiFonts, FaceNamesAreCutToThirtyOneCharactersAndPointSizesConvertWithoutOverflow)
{
    LOGFONTW lf{};
    lf.lfHeight = -12;
    for (int i = 0; i < ::LF_FACESIZE; ++i)
        lf.lfFaceName[i] = L'a' + (i % 26); // no terminator in the record
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    LOGFONTW back{};
    ASSERT_EQ(font.GetLogFont(&back), static_cast<int>(sizeof back));
    EXPECT_EQ(std::wcslen(back.lfFaceName), 31u);
    Canvas c(4, 4);
    SelectObject(c.dc, font);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32W(c.dc, L"Hi", 2, &size));
    EXPECT_GT(size.cx, 0);
}

TEST(GdiIcons, PixelsRoundTripThroughDibsIconsImageListsAndTheMapAndCursorsAreShared)
{
    const ARGB pixels[] = {0xFFFFFFFF, 0x00000000, 0xFF102030, 0xFF000000};
    const BYTE rows[] = {0x30, 0x20, 0x10, 0xFF, 0, 0, 0, 0xFF, // bottom: (0,1) (1,1)
                         0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};   // top: (0,0) (1,0)
    const DibIcon made(2, 2, rows);
    ASSERT_NE(made.icon, nullptr);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(PixelAt(*platform::BitmapOfHandle(made.icon), i % 2, i / 2), pixels[i]) << i;

    BITMAPINFO query = made.bmi;
    query.bmiHeader.biHeight = -2;
    BYTE out[16] = {};
    ASSERT_EQ(GetDIBits(made.screen, made.colour, 0, 2, out, &query, DIB_RGB_COLORS), 2);
    EXPECT_EQ(std::memcmp(out, rows + 8, 8), 0);
    EXPECT_EQ(std::memcmp(out + 8, rows, 8), 0);

    // A copy from an image list, drawn: opaque pixels replace, the transparent one leaves the
    // background.
    HIMAGELIST list = ImageList_Create(2, 2, ILC_COLOR32, 1, 1);
    EXPECT_EQ(ImageList_AddIcon(list, made.icon), 0);
    HICON copy = ImageList_GetIcon(list, 0, ILD_NORMAL);
    Canvas c(4, 4, kBlue);
    ASSERT_TRUE(DrawIconEx(c.dc, 1, 1, copy, 2, 2, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(std::tuple(c.At(1, 1), c.At(2, 1), c.At(1, 2)),
              std::tuple(0xFFFFFFFFu, Opaque(kBlue), 0xFF102030u));
    DestroyIcon(copy);
    ImageList_Destroy(list);

    // System cursors are shared, and copies keep their kind.
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), hand);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(106)), nullptr);
    HCURSOR handCopy = CopyIcon(hand);
    EXPECT_EQ(platform::SystemCursorOf(handCopy), 32649);
    EXPECT_TRUE(DestroyIcon(hand)); // shared: still there
    EXPECT_EQ(platform::SystemCursorOf(hand), 32649);
    DestroyIcon(handCopy);

    // Mapped pixels pass through the map as straight alpha, and the mask is kept.
    const BYTE row[] = {0x30, 0x20, 0x10, 0xFF, 0x30, 0x20, 0x10, 0x80}; // opaque, half
    const DibIcon half(2, 1, row);
    ASSERT_NE(half.icon, nullptr);
    std::vector<DWORD> seen;
    HICON mapped = platform::MapIconPixels(half.icon, [&](DWORD bgra) {
        seen.push_back(bgra);
        return bgra ^ 0x00FFFFFFu;
    });
    ASSERT_NE(mapped, nullptr);
    EXPECT_EQ(seen, (std::vector<DWORD>{0xFF102030u, 0x80102030u}));
    EXPECT_EQ(PixelAt(*platform::BitmapOfHandle(mapped), 0, 0), 0xFFEFDFCFu);
    EXPECT_EQ(PixelAt(*platform::BitmapOfHandle(mapped), 1, 0) >> 24, 0x80u);
    EXPECT_EQ(platform::MapIconPixels(nullptr, [](DWORD p) { return p; }), nullptr);
    EXPECT_EQ(platform::MapIconPixels(half.icon, nullptr), nullptr);
    DestroyIcon(mapped);
}

TEST(GdiSelection, ScopedSelectPutsBackWhatItReplacedOrFallsBack)
{
    Canvas c(2, 2);
    // The font selected now: selecting a probe answers it, and it goes straight back.
    auto current = [&] {
        HGDIOBJ now = SelectObject(c.dc, GetStockObject(ANSI_VAR_FONT));
        SelectObject(c.dc, now);
        return now;
    };
    const HGDIOBJ before = current(); // the stock fonts are made now, not over the stale handle
    CFont a, b, gone;
    for (CFont* f : {&a, &b, &gone})
        MakeFont(*f, -12);
    const HGDIOBJ stale = gone.GetSafeHandle();
    gone.DeleteObject();
    for (auto [object, fallback, selected] : {std::tuple<HGDIOBJ, HGDIOBJ, HGDIOBJ>{a, nullptr, a},
                                              {nullptr, b, b},
                                              {stale, b, b},
                                              {stale, nullptr, nullptr},
                                              {nullptr, nullptr, nullptr}}) {
        {
            platform::ScopedSelect use(c.dc, object, fallback);
            EXPECT_EQ(static_cast<bool>(use), selected != nullptr) << object << " " << fallback;
            EXPECT_EQ(current(), selected ? selected : before);
        }
        EXPECT_EQ(current(), before);
    }

    // Point sizes and heights at the display's dots per inch, without overflow.
    constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
    // MulDiv (whose rounding has its own table) gives -1 where the result does not fit, and
    // INT_MIN for -1610612736 points.
    const std::pair<int, int> heights[] = {
        {8, -11}, {-8, 11}, {kMax, 1}, {kMin, 1}, {-1610612736, kMax}};
    for (auto [points, height] : heights)
        EXPECT_EQ(platform::FontHeightOfPoints(points), height) << points;
    for (auto [height, points] :
         {std::pair{-11, 8}, {16, 12}, {kMin, 1610612736}, {kMax, 1610612735}})
        EXPECT_EQ(platform::PointsOfFontHeight(height), points) << height;
}

namespace {

// GDI on a context of a scaled window, its logical origin at (1, 1): every edge lands on the
// device pixel DeviceScale.h maps it to, and lines are round(scale) device pixels thick.
class ScaledGdi : public ::testing::TestWithParam<double>
{
protected:
    ScaledGdi() { Graphics(&target).Clear(Color(Opaque(kFace))); }
    ~ScaledGdi() override { DeleteDC(dc); }
    double S() const { return GetParam(); }
    int E(long long logical) const { return platform::DeviceEdge(logical, S()); }
    int K() const { return platform::DeviceLineWidth(1, S()); }
    ARGB At(int x, int y) { return PixelAt(target, x, y); }

    Bitmap target{platform::DeviceEdge(160, GetParam()), platform::DeviceEdge(95, GetParam()),
                  PixelFormat32bppARGB};
    HDC dc = platform::CreateScaledSurfaceDC(&target, POINT{1, 1}, nullptr, GetParam());
};

TEST_P(ScaledGdi, FillsCopiesIconsAndLinesLandOnTheRulesDevicePixels)
{
    // Fills side by side, a 2 x 1 plain picture copied over two logical pixels and a 3 x 1 icon:
    // each covers exactly its device columns of row 0.
    const struct
    {
        int x, w;
        COLORREF colour;
    } cells[] = {{0, 3, kBlue}, {3, 1, kShadow}, {4, 4, kBlue}, {8, 1, kShadow}, {9, 2, 0}};
    for (const auto& c : cells) {
        const RECT r{c.x, 0, c.x + c.w, 2};
        FillRect(dc, &r, CBrush(c.colour));
    }
    Canvas two(2, 1, kBlue);
    const RECT right{1, 0, 2, 1};
    FillRect(two.dc, &right, CBrush(kShadow));
    ASSERT_TRUE(BitBlt(dc, 9, 0, 2, 1, two.dc, 0, 0, SRCCOPY));
    const ARGB blue[] = {Opaque(kBlue), Opaque(kBlue), Opaque(kBlue)};
    DibIcon icon(3, 1, reinterpret_cast<const BYTE*>(blue));
    ASSERT_TRUE(DrawIconEx(dc, 11, 0, icon.icon, 3, 1, 0, nullptr, DI_NORMAL));
    const std::string want = "bbbSbbbbSbSbbb."; // each logical column: b blue, S shadow, . face
    for (int column = 0; column < static_cast<int>(want.size()); ++column)
        for (int x = E(1 + column); x < E(2 + column); ++x)
            EXPECT_EQ(Legend(At(x, E(1)),
                             {{'b', Opaque(kBlue)}, {'S', Opaque(kShadow)}, {'.', Opaque(kFace)}}),
                      want[column])
                << S() << " column " << x;

    // A 1-pixel line and a 1-pixel outline: round(scale) device rows from the device edge of
    // their row, the outline's far sides inside its rectangle's far device edges.
    CPen pen(PS_SOLID, 1, 0);
    {
        platform::ScopedSelect use(dc, pen);
        MoveToEx(dc, 2, 5, nullptr);
        LineTo(dc, 9, 5);
    }
    Frame(dc, 1, 0, {2, 8, 12, 13});
    auto band = [&](int y, int from) { return y >= from && y < from + K(); };
    // Columns inside the outline: the line's, its last and its end point (left out).
    for (int x : {E(6), E(10) - 1, E(10)})
        for (int y = E(4); y < E(15); ++y) {
            const bool line = x < E(10) && band(y, E(6));
            const bool outline = band(y, E(9)) || band(y, E(14) - K());
            EXPECT_EQ(At(x, y) == Opaque(0), line || outline) << S() << " at " << x << "," << y;
        }
}

TEST_P(ScaledGdi, AFocusRectangleIsRoundScaleThickAndASecondOneTakesItAway)
{
    const RECT r{2, 2, 12, 9};
    const CRect box(E(3), E(3), E(13), E(10));
    ASSERT_TRUE(DrawFocusRect(dc, &r));
    EXPECT_EQ(InkBox(target, CRect(0, 0, E(160), E(95))), box) << S();
    // A band K() device pixels thick: its last row inked, nothing inside it.
    const CRect lastRow(box.left, box.top + K() - 1, box.right, box.top + K());
    EXPECT_FALSE(InkBox(target, lastRow).IsRectEmpty()) << S();
    const CRect inside(box.left + K(), box.top + K(), box.right - K(), box.bottom - K());
    EXPECT_TRUE(InkBox(target, inside).IsRectEmpty()) << S();
    ASSERT_TRUE(DrawFocusRect(dc, &r));
    ExpectPixels(target, [](int, int) { return Opaque(kFace); });
}

// The ink's height in device rows: the rows of `area` where some pixel is covered more than
// half (hinted text has sharp horizontal edges, but thin stems may be grey on every row).
int InkHeight(Bitmap& b, const CRect& area)
{
    int rows = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        int darkest = 255;
        for (int x = area.left; x < area.right; ++x)
            darkest = std::min<int>(darkest, (PixelAt(b, x, y) >> 8) & 0xFF);
        rows += darkest < 120; // on the face colour, 240
    }
    return rows;
}

TEST_P(ScaledGdi, TextIsMeasuredInLogicalPixelsAndDrawnAtTheDeviceSize)
{
    // The font at 1, and at scale x its size for the reference drawn at 1.
    CFont font, bigFont;
    MakeFont(font, -12);
    MakeFont(bigFont, -std::lround(12 * S()));
    Canvas plain(160, 45), reference(160, 80);
    platform::ScopedSelect usePlain(plain.dc, font), use(dc, font), useBig(reference.dc, bigFont);
    for (HDC each : {dc, reference.dc}) {
        SetBkMode(each, TRANSPARENT);
        SetTextColor(each, 0);
    }
    SIZE logical{}, readme{};
    GetTextExtentPoint32W(plain.dc, L"Read the README", -1, &logical);
    GetTextExtentPoint32W(dc, L"Read the README", -1, &readme);
    EXPECT_EQ(CSize(readme), CSize(logical)) << S();
    RECT calc{0, 0, 500, 100};
    DrawTextW(dc, L"Read the README", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(CRect(calc), CRect(0, 0, logical.cx, logical.cy)) << S();
    // Drawn in a box of its measured width, a line fills it to its last glyph and no further
    // (give or take the rounding of that glyph's place).
    RECT box{2, 1, 2 + readme.cx, 20};
    DrawTextW(dc, L"Read the README", -1, &box, DT_SINGLELINE | DT_NOCLIP);
    const int w = static_cast<int>(target.GetWidth()), h = static_cast<int>(target.GetHeight());
    const int right = InkBox(target, CRect(0, 0, w, E(21))).right;
    EXPECT_LE(right, E(1 + box.right) + 1) << S();
    EXPECT_GE(right, E(1 + box.right) + 1 - 3 * K()) << S();
    // Laid out at the device size, not stretched: the ink is as high as that of the font at
    // scale x its size drawn at 1, within a pixel. (Hinting rounds heights at each size, so
    // scale x the height at 1 can be off by more.)
    RECT hh{2, 22, 60, 44}, hhBig{2, 2, 150, 78};
    DrawTextW(dc, L"HHg", -1, &hh, DT_SINGLELINE);
    DrawTextW(reference.dc, L"HHg", -1, &hhBig, DT_SINGLELINE);
    EXPECT_NEAR(InkHeight(target, CRect(0, E(22), w, E(45))),
                InkHeight(*platform::BitmapOfHandle(reference.bitmap), CRect(0, 0, 160, 80)), 1)
        << S();
    // Wrapped where the logical layout wraps: three lines of 14 pixels, the third inked, nothing
    // below.
    SIZE word{};
    GetTextExtentPoint32W(dc, L"Hello", -1, &word);
    RECT wrapped{2, 46, 2 + word.cx + 4, 95};
    EXPECT_EQ(DrawTextW(dc, L"Hello Hello Hello", -1, &wrapped, DT_WORDBREAK), 42);
    EXPECT_GT(InkHeight(target, CRect(0, E(1 + 74), w, E(1 + 88))), 0) << S();
    EXPECT_EQ(InkHeight(target, CRect(0, E(1 + 88), w, h)), 0) << S();
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledGdi, ::testing::Values(1.0, 1.25, 1.5, 1.75, 2.0, 3.0));

} // namespace

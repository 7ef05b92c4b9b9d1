// GDI drawing on device contexts: pens, rectangles, lines, text boxes, pixel copies, fonts,
// stock objects, icons and image lists. Expected pixels come from GDI's pixel rules (whole
// pixels, right and bottom exclusive, wide pens w/2 up-left with round joins), written out as
// pictures, not from our own output.
#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/GdiObject.h"

#include "PixelProbe.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr COLORREF kShadow = RGB(160, 160, 160);
constexpr COLORREF kHighlight = RGB(255, 255, 255);

ARGB Opaque(COLORREF c)
{
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// A memory context with a w x h bitmap filled with `fill`.
struct Canvas
{
    Canvas(int w, int h, COLORREF fill = kFace) : width(w), height(h)
    {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, w, h);
        old = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT all{0, 0, w, h};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    ARGB At(int x, int y) { return PixelAt(*platform::BitmapOfHandle(bitmap), x, y); }
    // The picture as characters, one per pixel, from a colour legend.
    std::string Picture(const std::vector<std::pair<char, COLORREF>>& legend)
    {
        std::string out;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                char ch = '?';
                for (const auto& [c, colour] : legend)
                    if (At(x, y) == Opaque(colour))
                        ch = c;
                out += ch;
            }
            out += '\n';
        }
        return out;
    }
    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

void Outline(HDC dc, int width, COLORREF colour, RECT r)
{
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

} // namespace

TEST(GdiPens, EtchedFrameFromTwoAndOnePixelPens)
{
    Canvas c(12, 9);
    Outline(c.dc, 2, kHighlight, {1, 1, 12, 9});
    Outline(c.dc, 1, kShadow, {0, 0, 11, 8});
    EXPECT_EQ(c.Picture({{'.', kFace}, {'S', kShadow}, {'H', kHighlight}}), "SSSSSSSSSSSH\n"
                                                                            "SHHHHHHHHHSH\n"
                                                                            "SH........SH\n"
                                                                            "SH........SH\n"
                                                                            "SH........SH\n"
                                                                            "SH........SH\n"
                                                                            "SH........SH\n"
                                                                            "SSSSSSSSSSSH\n"
                                                                            "HHHHHHHHHHHH\n");
}

TEST(GdiPens, FivePixelPenLeavesTheFourOuterCorners)
{
    Canvas c(12, 9);
    Outline(c.dc, 5, kShadow, {2, 2, 10, 7});
    EXPECT_EQ(c.Picture({{'.', kFace}, {'E', kShadow}}), ".EEEEEEEEEE.\n"
                                                         "EEEEEEEEEEEE\n"
                                                         "EEEEEEEEEEEE\n"
                                                         "EEEEEEEEEEEE\n"
                                                         "EEEEEEEEEEEE\n"
                                                         "EEEEEEEEEEEE\n"
                                                         "EEEEEEEEEEEE\n"
                                                         "EEEEEEEEEEEE\n"
                                                         ".EEEEEEEEEE.\n");
}

TEST(GdiPens, FivePixelPenBandsAroundALargerRectangle)
{
    Canvas c(16, 14);
    Outline(c.dc, 5, kShadow, {2, 2, 14, 12});
    const std::string picture = c.Picture({{'.', kFace}, {'E', kShadow}});
    EXPECT_EQ(picture.substr(5 * 17, 17), "EEEEE......EEEEE\n"); // inside stays
    EXPECT_EQ(picture.substr(0, 17), ".EEEEEEEEEEEEEE.\n");
}

TEST(GdiPens, LinesLeaveTheirEndPointAndFollowTheCurrentPosition)
{
    struct Case
    {
        POINT from, to;
        const char* row; // the pixels of row 2 (or column 2 for vertical lines)
        bool vertical;
    };
    const Case cases[] = {
        {{0, 2}, {8, 2}, "SSSSSSSS", false}, {{2, 2}, {6, 2}, "..SSSS..", false},
        {{6, 2}, {2, 2}, "...SSSS.", false}, {{2, 0}, {2, 5}, "SSSSS...", true},
        {{3, 2}, {3, 2}, "........", false},
    };
    for (const Case& k : cases) {
        Canvas c(8, 8);
        HPEN pen = CreatePen(PS_SOLID, 1, kShadow);
        HGDIOBJ old = SelectObject(c.dc, pen);
        POINT before{};
        MoveToEx(c.dc, k.from.x, k.from.y, &before);
        LineTo(c.dc, k.to.x, k.to.y);
        SelectObject(c.dc, old);
        DeleteObject(pen);
        std::string got;
        for (int i = 0; i < 8; ++i)
            got += c.At(k.vertical ? 2 : i, k.vertical ? i : 2) == Opaque(kShadow) ? 'S' : '.';
        EXPECT_EQ(got, k.row) << k.from.x << "," << k.from.y << " -> " << k.to.x << "," << k.to.y;
        POINT now{};
        MoveToEx(c.dc, 0, 0, &now);
        EXPECT_EQ(now.x, k.to.x);
        EXPECT_EQ(now.y, k.to.y);
    }
}

TEST(GdiPens, RectangleFillsInsideWithTheSelectedBrush)
{
    Canvas c(6, 5);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(c.dc, brush);
    HGDIOBJ oldPen = SelectObject(c.dc, GetStockObject(BLACK_PEN));
    Rectangle(c.dc, 0, 0, 5, 4);
    SelectObject(c.dc, oldPen);
    SelectObject(c.dc, old);
    DeleteObject(brush);
    EXPECT_EQ(c.Picture({{'.', kFace}, {'#', 0}, {'b', RGB(0, 0, 255)}}), "#####.\n"
                                                                          "#bbb#.\n"
                                                                          "#bbb#.\n"
                                                                          "#####.\n"
                                                                          "......\n");
}

TEST(GdiCopies, BitBltClipsToTheDestinationAndReadsTheSourceOrigin)
{
    Canvas src(8, 8, RGB(255, 0, 0));
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    RECT square{4, 4, 8, 8};
    FillRect(src.dc, &square, green);
    DeleteObject(green);

    // A context on a bigger surface with its origin at (2, 1) and a clip, as a window's is.
    Bitmap screen(10, 10, PixelFormat32bppARGB);
    const RECT clip{2, 1, 6, 5};
    HDC window = platform::CreateSurfaceDC(&screen, POINT{2, 1}, &clip);
    ASSERT_TRUE(BitBlt(window, 0, 0, 8, 8, src.dc, 2, 2, SRCCOPY));
    EXPECT_EQ(PixelAt(screen, 2, 1), Opaque(RGB(255, 0, 0))); // source (2, 2)
    EXPECT_EQ(PixelAt(screen, 4, 3), Opaque(RGB(0, 255, 0))); // source (4, 4)
    EXPECT_EQ(PixelAt(screen, 6, 3), 0u);                     // outside the clip
    EXPECT_EQ(PixelAt(screen, 3, 5), 0u);

    // ... and back: the window's pixels as a source.
    Canvas back(4, 4, RGB(0, 0, 0));
    ASSERT_TRUE(BitBlt(back.dc, 0, 0, 4, 4, window, 1, 1, SRCCOPY));
    EXPECT_EQ(back.At(0, 0), Opaque(RGB(255, 0, 0)));
    EXPECT_EQ(back.At(1, 1), Opaque(RGB(0, 255, 0)));
    EXPECT_FALSE(BitBlt(back.dc, 0, 0, 4, 4, window, 0, 0, 0x00EE0086)); // SRCPAINT: not kept
    DeleteDC(window);
}

TEST(GdiSelection, ABitmapDeletedWhileSelectedGoesWhenTheContextLetsItGo)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
    HGDIOBJ initial = SelectObject(dc, bitmap);
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 4);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(platform::BitmapOfHandle(bitmap), nullptr); // the handle is gone for callers
    RECT r{0, 0, 4, 4};
    EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 1);
    EXPECT_EQ(SelectObject(dc, initial), bitmap); // deselected now, and so gone
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 96);
    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_BRUSH)), nullptr);
}

TEST(GdiStock, StockObjectsSurviveDeletionAndTwelveIsTheVariableFont)
{
    LOGFONTW lf{};
    HGDIOBJ var = GetStockObject(ANSI_VAR_FONT);
    ASSERT_EQ(GetObjectW(var, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
    EXPECT_NE(GetStockObject(SYSTEM_FONT), var);
    ASSERT_EQ(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf),
              static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_TRUE(DeleteObject(var));
    EXPECT_EQ(GetObjectW(var, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(GetStockObject(15), nullptr);
    EXPECT_EQ(GetStockObject(99), nullptr);
}

// --- text ---

class GdiText : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LOGFONTW lf{};
        lf.lfHeight = -12;
        std::wcscpy(lf.lfFaceName, L"Liberation Sans");
        font = CreateFontIndirectW(&lf);
    }
    void TearDown() override { DeleteObject(font); }
    HFONT font = nullptr;
};

TEST_F(GdiText, ExtentIsWholePixelAdvancesByAscentPlusDescent)
{
    Canvas c(4, 4);
    HGDIOBJ old = SelectObject(c.dc, font);
    SIZE one{}, two{};
    ASSERT_TRUE(GetTextExtentPoint32W(c.dc, L"Hello", 5, &one));
    ASSERT_TRUE(GetTextExtentPoint32W(c.dc, L"HelloHello", -1, &two));
    EXPECT_EQ(one.cy, 14); // Liberation Sans at 12 px: ascent 11 + descent 3
    EXPECT_GT(one.cx, 20);
    EXPECT_EQ(two.cx, 2 * one.cx); // whole-pixel advances add up exactly
    SIZE empty{};
    ASSERT_TRUE(GetTextExtentPoint32W(c.dc, L"", 0, &empty));
    EXPECT_EQ(empty.cx, 0);
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(c.dc, &tm));
    EXPECT_EQ(tm.tmHeight, 14);
    SelectObject(c.dc, old);
}

TEST_F(GdiText, SingleLineCentredVerticallyWithItsOpaqueBox)
{
    // A blank draws only its background box: x..x+cx, y..y+height, y = top + h/2 - cy/2.
    struct Case
    {
        int top, bottom, boxTop;
    };
    const Case cases[] = {{0, 14, 0}, {0, 20, 3}, {2, 17, 2}, {0, 16, 1}};
    for (const Case& k : cases) {
        Canvas c(40, 24);
        HGDIOBJ old = SelectObject(c.dc, font);
        SIZE size{};
        GetTextExtentPoint32W(c.dc, L"  ", 2, &size);
        SetBkMode(c.dc, OPAQUE);
        SetBkColor(c.dc, RGB(0, 0, 255));
        RECT r{3, k.top, 39, k.bottom};
        EXPECT_EQ(DrawTextW(c.dc, L"  ", -1, &r, DT_SINGLELINE | DT_VCENTER), 14);
        SelectObject(c.dc, old);
        const ARGB blue = Opaque(RGB(0, 0, 255));
        const int boxBottom = std::min(k.boxTop + 14, k.bottom);
        EXPECT_EQ(c.At(3, k.boxTop), blue) << k.bottom;
        EXPECT_EQ(c.At(3 + size.cx - 1, boxBottom - 1), blue) << k.bottom;
        EXPECT_EQ(c.At(3 + size.cx, k.boxTop), Opaque(kFace)) << k.bottom;
        EXPECT_EQ(c.At(2, k.boxTop), Opaque(kFace)) << k.bottom;
        if (k.boxTop > 0) {
            EXPECT_EQ(c.At(3, k.boxTop - 1), Opaque(kFace)) << k.bottom;
        }
        EXPECT_EQ(c.At(3, boxBottom), Opaque(kFace)) << k.bottom;
    }
}

TEST_F(GdiText, TransparentTextLeavesTheBackgroundAndInkStaysInsideTheRectangle)
{
    Canvas c(60, 20);
    HGDIOBJ old = SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    SetTextColor(c.dc, RGB(0, 0, 0));
    RECT r{2, 2, 12, 18};
    DrawTextW(c.dc, L"WWWWWW", -1, &r, DT_SINGLELINE | DT_VCENTER);
    SelectObject(c.dc, old);
    int inked = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            if (c.At(x, y) == Opaque(kFace))
                continue;
            ++inked;
            EXPECT_TRUE(x >= 2 && x < 12 && y >= 2 && y < 18) << x << "," << y;
        }
    EXPECT_GT(inked, 10);
}

TEST_F(GdiText, CalcRectMeasuresAlignmentAndWrapping)
{
    Canvas c(4, 4);
    HGDIOBJ old = SelectObject(c.dc, font);
    SIZE word{};
    GetTextExtentPoint32W(c.dc, L"Hello", 5, &word);
    RECT r{10, 5, 500, 100};
    EXPECT_EQ(DrawTextW(c.dc, L"Hello", -1, &r, DT_CALCRECT | DT_SINGLELINE), 14);
    EXPECT_EQ(r.right, 10 + word.cx);
    EXPECT_EQ(r.bottom, 19);
    RECT lines{0, 0, 500, 100};
    EXPECT_EQ(DrawTextW(c.dc, L"one\ntwo\r\nthree", -1, &lines, DT_CALCRECT), 42);
    RECT exact{0, 0, 2 * word.cx, 100}; // "HelloHello" sized to itself stays one line
    EXPECT_EQ(DrawTextW(c.dc, L"HelloHello", -1, &exact, DT_CALCRECT | DT_WORDBREAK), 14);
    SIZE two{};
    GetTextExtentPoint32W(c.dc, L"Hello Hello", 11, &two);
    RECT fits{0, 0, two.cx, 100};
    EXPECT_EQ(DrawTextW(c.dc, L"Hello Hello", -1, &fits, DT_CALCRECT | DT_WORDBREAK), 14);
    RECT narrow{0, 0, word.cx + 4, 100};
    EXPECT_EQ(DrawTextW(c.dc, L"Hello Hello Hello", -1, &narrow, DT_CALCRECT | DT_WORDBREAK), 42);
    // A prefix ampersand takes no room; a doubled one is one character.
    RECT amp{0, 0, 500, 100}, plain{0, 0, 500, 100};
    DrawTextW(c.dc, L"&Hello", -1, &amp, DT_CALCRECT | DT_SINGLELINE);
    DrawTextW(c.dc, L"Hello", -1, &plain, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(amp.right, plain.right);
    RECT noPrefix{0, 0, 500, 100};
    DrawTextW(c.dc, L"&Hello", -1, &noPrefix, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(noPrefix.right, plain.right);
    SelectObject(c.dc, old);
}

TEST(GdiFonts, FaceNamesAreCutToThirtyOneCharactersAndUnknownFacesStillDraw)
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
    HGDIOBJ old = SelectObject(c.dc, font);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32W(c.dc, L"Hi", 2, &size));
    EXPECT_GT(size.cx, 0);
    EXPECT_GE(size.cy, 12);
    SelectObject(c.dc, old);
}

// --- icons and image lists ---

TEST(GdiIcons, PixelsRoundTripThroughDibsIntoANewIcon)
{
    const ARGB pixels[] = {0xFFFFFFFF, 0x00000000, 0xFF102030, 0xFF000000};
    std::unique_ptr<Bitmap> source(MakeBitmap(2, 2, pixels));
    HIMAGELIST list = ImageList_Create(2, 2, ILC_COLOR32, 1, 1);
    ASSERT_NE(list, nullptr);
    // An image list takes icons; make one from the bitmap's pixels through a DIB.
    HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 2, 2);
    HBITMAP mask = CreateCompatibleBitmap(screen, 2, 2);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 2;
    bmi.bmiHeader.biHeight = 2; // bottom-up: the first row given is the bottom one
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    const BYTE rows[] = {0x30, 0x20, 0x10, 0xFF, 0, 0, 0, 0xFF, // bottom: (0,1) (1,1)
                         0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};   // top: (0,0) (1,0)
    ASSERT_EQ(SetDIBits(screen, colour, 0, 2, rows, &bmi, DIB_RGB_COLORS), 2);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    Bitmap* got = platform::BitmapOfHandle(icon);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(PixelAt(*got, i % 2, i / 2), pixels[i]) << i;

    // ... and out again through GetDIBits, top-down this time.
    BITMAPINFO query{};
    query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_EQ(GetDIBits(screen, colour, 0, 2, nullptr, &query, DIB_RGB_COLORS), 2);
    EXPECT_EQ(query.bmiHeader.biSizeImage, 16u);
    query.bmiHeader.biHeight = -2;
    BYTE out[16] = {};
    ASSERT_EQ(GetDIBits(screen, colour, 0, 2, out, &query, DIB_RGB_COLORS), 2);
    EXPECT_EQ(std::memcmp(out, rows + 8, 8), 0);
    EXPECT_EQ(std::memcmp(out + 8, rows, 8), 0);

    EXPECT_EQ(ImageList_AddIcon(list, icon), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 1);
    EXPECT_EQ(ImageList_GetIcon(list, 1, ILD_NORMAL), nullptr);
    EXPECT_EQ(ImageList_GetIcon(list, -1, ILD_NORMAL), nullptr);
    HICON copy = ImageList_GetIcon(list, 0, ILD_NORMAL);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, icon);
    EXPECT_EQ(PixelAt(*platform::BitmapOfHandle(copy), 0, 1), pixels[2]);

    // Drawn: opaque pixels replace, the transparent one leaves the background.
    Canvas c(4, 4, RGB(0, 0, 255));
    ASSERT_TRUE(DrawIconEx(c.dc, 1, 1, copy, 2, 2, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(c.At(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(c.At(2, 1), Opaque(RGB(0, 0, 255)));
    EXPECT_EQ(c.At(1, 2), 0xFF102030u);

    DestroyIcon(copy);
    DestroyIcon(icon);
    DeleteObject(colour);
    DeleteObject(mask);
    DeleteDC(screen);
    ImageList_Destroy(list);
}

TEST(GdiCursors, SystemCursorsAreSharedAndCopiesKeepTheirKind)
{
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), hand);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(106)), nullptr);
    HCURSOR copy = CopyIcon(hand);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(platform::SystemCursorOf(copy), 32649);
    EXPECT_TRUE(DestroyIcon(hand)); // shared: still there
    EXPECT_EQ(platform::SystemCursorOf(hand), 32649);

    static HCURSOR seen;
    platform::SetCursorListener([](HCURSOR c) { seen = c; });
    HCURSOR before = SetCursor(copy);
    EXPECT_EQ(seen, copy);
    EXPECT_EQ(GetCursor(), copy);
    SetCursor(before);
    platform::SetCursorListener(nullptr);
    DestroyIcon(copy);
}

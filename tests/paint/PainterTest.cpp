#include "paint/CtrlGDIpString.h"

#include "PixelProbe.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Gdiplus;

namespace {

// A 9 x 9 picture of nine uniform cells: columns and rows 0-1, 2-6 and 7-8, so margins of 2
// on every side cut it along the cell borders. Cell (row r, column k) has colour CellColour.
ARGB CellColour(int r, int k)
{
    return 0xFF000000u | (static_cast<ARGB>(40 + 60 * r) << 16) |
           (static_cast<ARGB>(40 + 60 * k) << 8);
}

std::unique_ptr<Bitmap> NineCells()
{
    ARGB px[81];
    auto band = [](int v) { return v < 2 ? 0 : v < 7 ? 1 : 2; };
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            px[y * 9 + x] = CellColour(band(y), band(x));
    return std::unique_ptr<Bitmap>(MakeBitmap(9, 9, px));
}

int Band(int v, const int edges[4])
{
    for (int i = 0; i < 3; ++i)
        if (v >= edges[i] && v < edges[i + 1])
            return i;
    return -1;
}

// Where the cells of a 30 x 20 rectangle at (10, 10) with margins of 2 land.
const int kX[4] = {10, 12, 38, 40}, kY[4] = {10, 12, 28, 30};

// Every pixel of `target` against the cells the edge arithmetic puts there.
void ExpectCells(Bitmap& target, const int X[4], const int Y[4])
{
    ExpectPixels(target, [&](int x, int y) {
        const int r = Band(y, Y), k = Band(x, X);
        return (r < 0 || k < 0) ? 0u : CellColour(r, k);
    });
}

// Columns holding any ink.
std::pair<int, int> InkColumns(Bitmap& b)
{
    int left = 1 << 20, right = -1;
    for (int y = 0; y < static_cast<int>(b.GetHeight()); ++y)
        for (int x = 0; x < static_cast<int>(b.GetWidth()); ++x)
            if (PixelAt(b, x, y) >> 24) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

} // namespace

TEST(NineSlice, CellsLandWhereTheEdgeArithmeticPutsThem)
{
    auto image = NineCells();
    PixelCanvas c(50, 40);
    CCtrlGDIpString().DrawBg(&c.g, image.get(), Rect(10, 10, 30, 20), 2, RECT{2, 2, 2, 2});
    ExpectCells(c.bitmap, kX, kY);
}

TEST(NineSlice, DrawBtnSlicesAPartOfTheImageOrOnlyItsCentre)
{
    // Source: the lower-right 7 x 7 of the picture, margins 0 left/top and 2 right/bottom: the
    // middle column and row come from cells 1 and the border from cells 2.
    auto image = NineCells();
    PixelCanvas c(30, 30);
    CCtrlGDIpString painter;
    painter.DrawBtn(&c.g, image.get(), Rect(5, 5, 20, 12), Rect(2, 2, 7, 7), RECT{0, 0, 2, 2});
    ExpectPixels(c.bitmap, [](int x, int y) {
        const bool in = x >= 5 && x < 25 && y >= 5 && y < 17;
        return in ? CellColour(y < 15 ? 1 : 2, x < 23 ? 1 : 2) : 0u;
    });
    // Zero margins: only the stretched centre.
    PixelCanvas z(20, 20);
    painter.DrawBtn(&z.g, image.get(), Rect(2, 3, 14, 9), Rect(3, 3, 3, 3), RECT{});
    ExpectPixels(z.bitmap, [](int x, int y) {
        return x >= 2 && x < 16 && y >= 3 && y < 12 ? CellColour(1, 1) : 0u;
    });
}

TEST(NineSlice, ScaledMarginsTruncateTheSumTowardZero)
{
    auto image = NineCells();
    // 20 + 2 * 1.75 = 23.5 -> 23; the right edge 60 - 3.5 = 56.5 -> 56.
    PixelCanvas a(70, 20);
    CCtrlGDIpString painter;
    painter.DrawBg4(&a.g, image.get(), Rect(20, 0, 40, 20), 99, RECT{2, 2, 2, 2}, 1.75);
    EXPECT_EQ(PixelAt(a.bitmap, 22, 10), CellColour(1, 0));
    EXPECT_EQ(PixelAt(a.bitmap, 23, 10), CellColour(1, 1));
    EXPECT_EQ(PixelAt(a.bitmap, 55, 10), CellColour(1, 1));
    EXPECT_EQ(PixelAt(a.bitmap, 56, 10), CellColour(1, 2));

    // Destination x -10: the left edge is trunc(-10 + 3.5) = -6, not -10 + trunc(3.5) = -7.
    // The graphics is shifted by 20 so that destination x maps to pixel x + 20.
    PixelCanvas b(70, 20);
    b.g.TranslateTransform(20, 0);
    painter.DrawBg4(&b.g, image.get(), Rect(-10, 0, 40, 20), 0, RECT{2, 2, 2, 2}, 1.75);
    EXPECT_EQ(PixelAt(b.bitmap, 13, 10), CellColour(1, 0)); // -7
    EXPECT_EQ(PixelAt(b.bitmap, 14, 10), CellColour(1, 1)); // -6

    // Scale 1 paints what mode 2 paints.
    PixelCanvas c(50, 40);
    painter.DrawBg4(&c.g, image.get(), Rect(10, 10, 30, 20), 0, RECT{2, 2, 2, 2}, 1.0);
    ExpectCells(c.bitmap, kX, kY);
}

TEST(ImageModes, OtherModesAndEmptyDestinationsDrawNothing)
{
    auto image = NineCells();
    PixelCanvas c(20, 20);
    CCtrlGDIpString painter;
    painter.DrawBg(&c.g, image.get(), Rect(0, 0, 20, 20), 3, RECT{2, 2, 2, 2});
    painter.DrawBg(&c.g, image.get(), Rect(0, 0, 20, 20), -1, RECT{2, 2, 2, 2});
    painter.DrawBg(&c.g, image.get(), Rect(0, 0, 0, 20), 1, RECT{});
    painter.DrawBg(&c.g, image.get(), Rect(0, 0, 20, 0), 1, RECT{});
    EXPECT_TRUE(Untouched(c.bitmap));
    // A failed picture neither draws nor hangs in tiling.
    Bitmap failed(0, 0, PixelFormat32bppARGB);
    painter.DrawBg(&c.g, &failed, Rect(0, 0, 20, 20), 1, RECT{});
    painter.DrawBg(&c.g, &failed, Rect(0, 0, 20, 20), 2, RECT{1, 1, 1, 1});
    EXPECT_TRUE(Untouched(c.bitmap));
}

// An unknown name still gives a font; copies build their own font of the same description, and
// each is deleted once.
TEST(PainterFont, ANewDescriptionMakesANewFontAndCopiesOwnTheirs)
{
    CCtrlGDIpString painter(L"Liberation Sans", 12, FontStyleRegular);
    painter.SetInit(L"Liberation Sans", 12, FontStyleBold);
    CCtrlGDIpString unknown(L"NoSuchFontXYZ", 12, FontStyleRegular);
    ASSERT_NE(unknown.m_pFont, nullptr);
    EXPECT_EQ(unknown.m_pFont->GetLastStatus(), Ok);
    CCtrlGDIpString copy(painter);
    ASSERT_NE(copy.m_pFont, painter.m_pFont);
    EXPECT_EQ(copy.m_pFont->GetStyle(), FontStyleBold);
    copy = unknown;
    copy = copy;
    copy = CCtrlGDIpString();
    EXPECT_EQ(copy.m_pFont, nullptr);
}

TEST(PainterText, AlignmentUsesTheMeasuredBoxUnroundedAndNoFontDrawsNothing)
{
    CCtrlGDIpString painter(L"Liberation Sans", 16, FontStyleRegular);
    Bitmap probe(1, 1, PixelFormat32bppARGB);
    Graphics pg(&probe);
    StringFormat format(StringFormatFlagsNoClip);
    RectF box;
    pg.MeasureString(L"HH", -1, painter.m_pFont, RectF(10, 0, 101, 40), &format, &box);

    for (auto align : {StringAlignmentNear, StringAlignmentCenter, StringAlignmentFar}) {
        Bitmap target(140, 40, PixelFormat32bppARGB);
        Graphics g(&target);
        painter.DrawString(&g, L"HH", 10, 0, 101, 40, Color::Black, align, StringAlignmentNear);
        const double origin = align == StringAlignmentNear     ? 10.0
                              : align == StringAlignmentCenter ? 10.0 + (101.0 - box.Width) * 0.5
                                                               : 10.0 + 101.0 - box.Width;
        const auto [left, right] = InkColumns(target);
        // The ink of "HH" starts a sixth of the em (plus the H's bearing) after the origin and
        // ends inside the measured box.
        EXPECT_GE(left, static_cast<int>(origin + 16.0 / 6)) << align;
        EXPECT_LE(left, static_cast<int>(origin + 16.0 / 6) + 3) << align;
        EXPECT_LE(right, origin + box.Width) << align;
    }
    Bitmap target(40, 20, PixelFormat32bppARGB);
    Graphics g(&target);
    CCtrlGDIpString().DrawString(&g, L"text", 0, 0, 40, 20, Color::Black, StringAlignmentCenter,
                                 StringAlignmentCenter); // no font: draws nothing
    EXPECT_EQ(InkColumns(target).second, -1);
}

// The painter with arguments no skin sends: scales that are not finite, edges past the
// integer range, and tiles far beyond the surface.
#include "paint/CtrlGDIpString.h"

#include "PixelProbe.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace Gdiplus;

namespace {

std::unique_ptr<Bitmap> Solid(int w, int h, ARGB colour)
{
    std::vector<ARGB> px(static_cast<size_t>(w * h), colour);
    return std::unique_ptr<Bitmap>(MakeBitmap(w, h, px.data()));
}

} // namespace

TEST(PainterBounds, DrawBg4WithAScaleThatIsNotFiniteOrHugeDrawsNothing)
{
    auto image = Solid(6, 6, 0xFFFF0000);
    const double scales[] = {std::numeric_limits<double>::quiet_NaN(), 1e30, -1e30,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (double scale : scales) {
        PixelCanvas s(20, 20);
        CCtrlGDIpString().DrawBg4(&s.g, image.get(), Rect(0, 0, 20, 20), 0, RECT{2, 2, 2, 2},
                                  scale);
        EXPECT_TRUE(Untouched(s.bitmap)) << "scale " << scale;
    }
    // Zero margins scale to zero whatever the factor: still a plain stretch.
    PixelCanvas s(8, 8);
    CCtrlGDIpString().DrawBg4(&s.g, image.get(), Rect(0, 0, 8, 8), 0, RECT{0, 0, 0, 0}, 1.0);
    EXPECT_EQ(PixelAt(s.bitmap, 7, 7), 0xFFFF0000u);
}

TEST(PainterBounds, EdgeSumsPastTheIntegerRangeDrawNothing)
{
    auto image = Solid(6, 6, 0xFFFF0000);
    PixelCanvas s(20, 20);
    CCtrlGDIpString painter;
    // X + Width, and X + margin, leave the int range.
    painter.DrawBtn(&s.g, image.get(), Rect(INT_MAX - 5, 0, 20, 20), Rect(0, 0, 6, 6),
                    RECT{2, 2, 2, 2});
    painter.DrawBg(&s.g, image.get(), Rect(0, 0, 20, 20), 2, RECT{INT_MAX, 0, INT_MIN, 0});
    painter.DrawBg4(&s.g, image.get(), Rect(INT_MIN + 1, 0, INT_MAX, 20), 0, RECT{0, 0, 5, 0}, 2.0);
    painter.DrawBg(&s.g, image.get(), Rect(INT_MAX - 5, 0, 20, 20), 1, RECT{});
    EXPECT_TRUE(Untouched(s.bitmap));
}

TEST(PainterBounds, TilingAHugeRectangleVisitsOnlyTheTilesInTheClipASmallOneStopsAtItsEdges)
{
    // Three columns and two rows of distinct colours, tiled from (-4, -3): every pixel of the
    // surface must be the picture's pixel at its offset modulo the picture's size. Were each
    // of the rectangle's billions of tiles drawn, this would never end.
    const ARGB px[6] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF001000, 0xFF002000, 0xFF003000};
    std::unique_ptr<Bitmap> image(MakeBitmap(3, 2, px));
    PixelCanvas s(16, 12);
    const Rect huge(-4, -3, INT_MAX - 10, INT_MAX - 10);
    CCtrlGDIpString().DrawBg(&s.g, image.get(), huge, 1, RECT{});
    ExpectPixels(s.bitmap, [&](int x, int y) { return px[((y + 3) % 2) * 3 + (x + 4) % 3]; });
    // A small rectangle: its last tiles are cut at its edges; with the default modes, as a
    // host's graphics has them, whole-pixel copies are exact.
    Bitmap small(16, 12, PixelFormat32bppARGB);
    Graphics g(&small);
    CCtrlGDIpString().DrawBg(&g, image.get(), Rect(1, 1, 10, 7), 1, RECT{});
    ExpectPixels(small, [&](int x, int y) {
        return x >= 1 && x < 11 && y >= 1 && y < 8 ? px[((y - 1) % 2) * 3 + (x - 1) % 3] : 0u;
    });

    // A clip inside the surface: only it is painted, and still on the tile grid.
    PixelCanvas clipped(16, 12);
    clipped.g.SetClip(Rect(5, 4, 3, 2));
    auto one = Solid(1, 1, 0xFF0000FF);
    CCtrlGDIpString().DrawBg(&clipped.g, one.get(), Rect(0, 0, 1 << 30, 1 << 30), 1, RECT{});
    ExpectPixels(clipped.bitmap, [](int x, int y) {
        return x >= 5 && x < 8 && y >= 4 && y < 6 ? 0xFF0000FFu : 0u;
    });
}

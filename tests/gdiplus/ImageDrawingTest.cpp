#include "PixelProbe.h"

#include "platform/base/DeviceScale.h"
#include "platform/gdiplus/Gdi.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Gdiplus;

// Which source pixel of a 4 x 1 strip lands on each of 8 destination pixels ('.': none).
TEST(ImageGeometry, SourcePixelsByModesAndRectangles)
{
    enum Modes { Default, Nearest, NearestHalf };
    const struct
    {
        const char* what;
        Modes modes;
        Rect dest, src;
        const char* want;
    } cases[] = {
        {"no offset shifts half a source pixel", Nearest, {0, 0, 8, 1}, {0, 0, 4, 1}, "0112233."},
        {"source beyond the image", NearestHalf, {0, 0, 4, 1}, {2, 0, 4, 1}, "23......"},
        {"zero destination width", NearestHalf, {0, 0, 0, 1}, {0, 0, 4, 1}, "........"},
        {"zero source width", NearestHalf, {0, 0, 4, 1}, {0, 0, 0, 1}, "........"},
        {"negative width mirrors", NearestHalf, {4, 0, -4, 1}, {0, 0, 4, 1}, "3210...."},
        {"integer copies stay exact", Default, {1, 0, 2, 1}, {1, 0, 2, 1}, ".12....."},
    };
    // Pixel k of the strip is opaque with red = 10 * (k + 1): drawn pixels name their source.
    const ARGB px[4] = {0xFF0A0000, 0xFF140000, 0xFF1E0000, 0xFF280000};
    std::unique_ptr<Bitmap> strip(MakeBitmap(4, 1, px));
    for (const auto& c : cases) {
        Bitmap target(8, 1, PixelFormat32bppARGB);
        Graphics g(&target);
        if (c.modes != Default)
            g.SetInterpolationMode(InterpolationModeNearestNeighbor);
        if (c.modes == NearestHalf)
            g.SetPixelOffsetMode(PixelOffsetModeHalf);
        const Rect& r = c.src;
        EXPECT_EQ(g.DrawImage(strip.get(), c.dest, r.X, r.Y, r.Width, r.Height, UnitPixel), Ok);
        std::string indices;
        for (int x = 0; x < 8; ++x) {
            const ARGB p = PixelAt(target, x, 0);
            indices += (p >> 24) == 0 ? '.' : char('0' + ((p >> 16) & 0xFF) / 10 - 1);
        }
        EXPECT_EQ(indices, c.want) << c.what;
    }
}

TEST(Composition, HalfTransparentPixelsBlendSourceOverAndLockBitsHandsOutStraightAlpha)
{
    Bitmap target(2, 1, PixelFormat32bppARGB);
    Graphics g(&target);
    SolidBrush blue(Color(255, 0, 0, 255));
    g.FillRectangle(&blue, 0, 0, 2, 1);
    const ARGB half = 0x80FF0000;
    std::unique_ptr<Bitmap> red(MakeBitmap(1, 1, &half));
    g.DrawImage(red.get(), 0, 0, 1, 1);
    // out = src * a + dst * (1 - a), a = 128/255
    EXPECT_TRUE(Near(PixelAt(target, 0, 0), 0xFF80007F)) << std::hex << PixelAt(target, 0, 0);
    EXPECT_EQ(PixelAt(target, 1, 0), 0xFF0000FFu);
    // Non-premultiplied pixels survive storage within one step per channel.
    Bitmap b(1, 1, PixelFormat32bppARGB);
    b.SetPixel(0, 0, Color(0x40, 0x10, 0x80, 0xF0));
    EXPECT_TRUE(Near(PixelAt(b, 0, 0), 0x401080F0, 3)) << std::hex << PixelAt(b, 0, 0);
}

TEST(FailedObjects, FailuresAreRecordedNotThrown)
{
    Bitmap empty(0, 5, PixelFormat32bppARGB);
    EXPECT_EQ(empty.GetLastStatus(), InvalidParameter);
    Graphics g(&empty);
    EXPECT_EQ(g.GetLastStatus(), InvalidParameter);
    SolidBrush brush(Color::Black);
    EXPECT_EQ(g.FillRectangle(&brush, 0, 0, 1, 1), InvalidParameter);

    Bitmap target(2, 2, PixelFormat32bppARGB);
    Graphics ok(&target);
    EXPECT_EQ(ok.DrawImage(&empty, 0, 0, 2, 2), InvalidParameter);
    EXPECT_EQ(ok.SetInterpolationMode(static_cast<InterpolationMode>(42)), InvalidParameter);
    EXPECT_EQ(ok.GetLastStatus(), InvalidParameter);
    EXPECT_EQ(ok.GetLastStatus(), Ok); // reading the last status resets it
    EXPECT_EQ(ok.GetInterpolationMode(),
              InterpolationModeBilinear); // the refused mode left it alone
    EXPECT_EQ(PixelAt(target, 0, 0), 0u);
    EXPECT_EQ(target.Clone(1, 1, 2, 2, PixelFormat32bppARGB), nullptr);
    std::unique_ptr<Bitmap> part(target.Clone(1, 1, 1, 1, PixelFormatDontCare));
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->GetWidth(), 1u);

    // LockBits hands out straight alpha and writes back.
    Bitmap b(3, 2, PixelFormat32bppARGB);
    b.SetPixel(2, 1, Color(0x80, 0xFF, 0x00, 0x00));
    BitmapData data;
    Rect r(1, 1, 2, 1);
    ASSERT_EQ(b.LockBits(&r, ImageLockModeRead | ImageLockModeWrite, PixelFormat32bppARGB, &data),
              Ok);
    auto* row = static_cast<ARGB*>(data.Scan0);
    EXPECT_TRUE(Near(row[1], 0x80FF0000, 2));
    row[0] = 0xFF123456;
    EXPECT_EQ(b.LockBits(&r, ImageLockModeRead, PixelFormat32bppARGB, &data), WrongState);
    ASSERT_EQ(b.UnlockBits(&data), Ok);
    EXPECT_EQ(PixelAt(b, 1, 1), 0xFF123456u);
}

// On a scaled device context every edge is the logical edge's device position rounded half up
// (platform/base/DeviceScale.h): fills, clips and picture copies cover whole device pixels,
// never a partly covered row, and a frame of a strip is scaled without its neighbour's columns.
// The context's own clip (logical, from x 1 of the target) cuts Graphics' drawing too.
TEST(ScaledDeviceContexts, FillsClipsAndPicturesSnapToWholeDevicePixels)
{
    constexpr ARGB kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;
    Bitmap strip(8, 3, PixelFormat32bppARGB); // a red frame, then a blue one
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x)
            strip.SetPixel(x, y, Color(x < 4 ? kRed : kBlue));
    for (double s : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
        Bitmap target(40, 40, PixelFormat32bppARGB);
        const RECT clip{2, 0, 40, 40};
        const HDC dc = platform::CreateScaledSurfaceDC(&target, POINT{1, 1}, &clip, s);
        ASSERT_TRUE(dc);
        {
            Graphics g(dc);
            SolidBrush red{Color(kRed)}, blue{Color(kBlue)};
            g.FillRectangle(&red, 0, 0, 5, 3);
            g.DrawImage(&strip, Rect(7, 0, 4, 3), 0, 0, 4, 3, UnitPixel);
            g.SetClip(Rect(0, 3, 2, 1));
            g.FillRectangle(&blue, -10, -10, 50, 50);
        }
        DeleteDC(dc);
        EXPECT_EQ(Graphics(dc).GetLastStatus(), InvalidParameter); // a deleted context
        // Whether device pixel (x, y) lies in the logical rectangle l, t, r, b (origin (1, 1)).
        auto in = [s](int x, int y, int l, int t, int r, int b) {
            auto edge = [s](int logical) { return platform::DeviceEdge(logical + 1, s); };
            return x >= edge(l) && x < edge(r) && y >= edge(t) && y < edge(b);
        };
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool red = in(x, y, 1, 0, 5, 3) || in(x, y, 7, 0, 11, 3);
                ASSERT_EQ(PixelAt(target, x, y), red                    ? kRed
                                                 : in(x, y, 1, 3, 2, 4) ? kBlue
                                                                        : 0u)
                    << s << " at " << x << "," << y;
            }
    }
}

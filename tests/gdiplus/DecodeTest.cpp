#include "PixelProbe.h"

#include "platform/gdiplus/Gdi.h"
#include "tests/TestKit.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

using namespace Gdiplus;

namespace {

// 2 x 2 picture: red, green / blue, half-transparent white. Encoded by gdk-pixbuf, which
// stands apart from our decoding path (that only reads).
std::vector<BYTE> Encode(const char* type, bool alpha)
{
    GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, alpha, 8, 2, 2);
    const int stride = gdk_pixbuf_get_rowstride(pb), n = alpha ? 4 : 3;
    guchar* p = gdk_pixbuf_get_pixels(pb);
    const guchar rgba[4][4] = {
        {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 128}};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < n; ++c)
            p[(i / 2) * stride + (i % 2) * n + c] = rgba[i][c];
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pb, &buffer, &size, type, nullptr, nullptr);
    g_object_unref(pb);
    std::vector<BYTE> bytes(buffer, buffer + size);
    g_free(buffer);
    return bytes;
}

} // namespace

// Lossless formats come back exactly, in straight ARGB; the lossy JPEG keeps only opacity
// certain (the colours of a 2 x 2 picture share their chroma).
TEST(DecodeFiles, PixelsComeBackInStraightArgbAndFailuresGiveAnObjectWhoseStatusIsNotOk)
{
    for (auto [type, alpha] : {std::pair{"png", true}, {"bmp", false}, {"ico", true}}) {
        SCOPED_TRACE(type);
        auto b = FromBytes(Encode(type, alpha));
        ASSERT_EQ(b->GetLastStatus(), Ok);
        ASSERT_EQ(std::tuple(b->GetWidth(), b->GetHeight()), std::tuple(2u, 2u));
        EXPECT_EQ(std::tuple(PixelAt(*b, 0, 0), PixelAt(*b, 1, 0), PixelAt(*b, 0, 1)),
                  std::tuple(0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu));
        EXPECT_TRUE(!alpha || Near(PixelAt(*b, 1, 1), 0x80FFFFFF, 2))
            << std::hex << PixelAt(*b, 1, 1);
    }
    auto jpeg = FromBytes(Encode("jpeg", false));
    ASSERT_EQ(jpeg->GetLastStatus(), Ok);
    EXPECT_EQ(PixelAt(*jpeg, 0, 0) >> 24, 0xFFu);
    // A 1 x 1 GIF whose only pixel is palette entry 0, red.
    const BYTE gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0,  0,
                        0,   ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 0x44, 1, 0, ';'};
    auto b = FromBytes(std::vector<BYTE>(gif, gif + sizeof gif));
    ASSERT_EQ(b->GetLastStatus(), Ok);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0xFFFF0000u);

    // Failures give an object whose status is not Ok.
    std::unique_ptr<Image> missing(Image::FromFile(L"/nonexistent/skin/none.png"));
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->GetWidth(), 0u);
    EXPECT_EQ(missing->GetLastStatus(), InvalidParameter);

    const BYTE junk[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    EXPECT_NE(FromBytes(std::vector<BYTE>(junk, junk + sizeof junk))->GetLastStatus(), Ok);
    EXPECT_NE(FromBytes({})->GetLastStatus(), Ok);

    Bitmap target(2, 2, PixelFormat32bppARGB);
    Graphics g(&target);
    EXPECT_NE(g.DrawImage(missing.get(), 0, 0, 2, 2), Ok);
    EXPECT_EQ(PixelAt(target, 0, 0), 0u);
}

// The one PNG writer of the library, tools and demo: read back by gdk-pixbuf, a decoder that
// shares nothing with it, in straight (not premultiplied) RGBA.
TEST(EncodePng, PixelsReadBackThroughAnotherDecoder)
{
    const ARGB pixels[] = {0xFFFF0000u, 0xFF00FF00u, 0x00000000u,
                           0xFF0000FFu, 0x80FFFFFFu, 0xFF123456u};
    std::unique_ptr<Bitmap> b(MakeBitmap(3, 2, pixels));
    const testkit::TempDir tmp;
    const std::string path = tmp.File("encoded.png");
    ASSERT_EQ(platform::SaveImageAsPng(b.get(), CString::FromUtf8(path)), Ok);
    GError* error = nullptr;
    GdkPixbuf* back = gdk_pixbuf_new_from_file(path.c_str(), &error);
    ASSERT_NE(back, nullptr) << (error ? error->message : "");
    ASSERT_EQ(gdk_pixbuf_get_width(back), 3);
    ASSERT_EQ(gdk_pixbuf_get_height(back), 2);
    ASSERT_TRUE(gdk_pixbuf_get_has_alpha(back));
    const guchar* p = gdk_pixbuf_get_pixels(back);
    const int stride = gdk_pixbuf_get_rowstride(back);
    for (int i = 0; i < 6; ++i) {
        const guchar* q = p + (i / 3) * stride + (i % 3) * 4;
        const ARGB got = ARGB(q[3]) << 24 | ARGB(q[0]) << 16 | ARGB(q[1]) << 8 | q[2];
        EXPECT_TRUE(Near(got, pixels[i])) << i << ": " << std::hex << got;
    }
    g_object_unref(back);

    Bitmap unwritable(1, 1, PixelFormat32bppARGB);
    EXPECT_EQ(platform::SaveImageAsPng(&unwritable, L"/nonexistent/dir/a.png"), Win32Error);
}

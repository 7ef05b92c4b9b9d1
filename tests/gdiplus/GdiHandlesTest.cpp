#include "platform/gdiplus/Gdi.h"

#include "PixelProbe.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace Gdiplus;

class GdiPictureHandles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("skinkit_gdi_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 16, 8);
        gdk_pixbuf_fill(pb, 0x00FF00FF);
        gdk_pixbuf_save(pb, (dir / "Pic.bmp").c_str(), "bmp", nullptr, nullptr);
        gdk_pixbuf_save(pb, (dir / "pic.png").c_str(), "png", nullptr, nullptr);
        GdkPixbuf* square = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 16, 16);
        gdk_pixbuf_fill(square, 0xFF000080);
        gdk_pixbuf_save(square, (dir / "pic.ico").c_str(), "ico", nullptr, nullptr);
        g_object_unref(pb);
        g_object_unref(square);
    }
    void TearDown() override { fs::remove_all(dir); }
    CString Path(const char* name) { return CString::FromUtf8((dir / name).string()); }
    fs::path dir;
};

TEST_F(GdiPictureHandles, BitmapsLoadBmpFilesOnlyAndDeleteOnce)
{
    HANDLE h = LoadImageW(GetModuleHandleW(nullptr), Path("PIC.BMP"), IMAGE_BITMAP, 0, 0,
                          LR_LOADFROMFILE | LR_DEFAULTSIZE);
    ASSERT_NE(h, nullptr);
    BITMAP bm{};
    EXPECT_EQ(GetObjectW(h, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 16);
    EXPECT_EQ(bm.bmHeight, 8);
    EXPECT_EQ(PixelAt(*platform::BitmapOfHandle(h), 3, 3), 0xFF00FF00u);
    EXPECT_TRUE(DeleteObject(h));
    EXPECT_FALSE(DeleteObject(h));
    EXPECT_EQ(
        LoadImageW(nullptr, Path("pic.png"), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE),
        nullptr);
    EXPECT_EQ(LoadImageW(nullptr, Path("none.bmp"), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
}

TEST_F(GdiPictureHandles, IconsLoadAtTheSystemIconSize)
{
    HICON icon = static_cast<HICON>(
        LoadImageW(nullptr, Path("pic.ico"), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    ASSERT_NE(icon, nullptr);
    Bitmap* pixels = platform::BitmapOfHandle(icon);
    EXPECT_EQ(pixels->GetWidth(), 32u);
    EXPECT_EQ(pixels->GetHeight(), 32u);
    EXPECT_FALSE(DeleteObject(icon)); // an icon is not a GDI object
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
}

TEST(DeviceContexts, GraphicsDrawsAtTheOriginInsideTheClip)
{
    Bitmap surface(20, 10, PixelFormat32bppARGB);
    const RECT clip{5, 0, 12, 10};
    HDC dc = platform::CreateSurfaceDC(&surface, POINT{4, 2}, &clip);
    ASSERT_NE(dc, nullptr);
    {
        Graphics g(dc);
        ASSERT_EQ(g.GetLastStatus(), Ok);
        SolidBrush red(Color::Red);
        g.FillRectangle(&red, 0, 0, 100, 3); // lands at (4, 2) and is cut at x 5 and 12
    }
    EXPECT_EQ(PixelAt(surface, 4, 2), 0u);
    EXPECT_EQ(PixelAt(surface, 5, 2), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(surface, 11, 4), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(surface, 12, 4), 0u);
    EXPECT_EQ(PixelAt(surface, 6, 5), 0u);
    EXPECT_TRUE(DeleteDC(dc));
    Graphics stale(dc);
    EXPECT_EQ(stale.GetLastStatus(), InvalidParameter);
}

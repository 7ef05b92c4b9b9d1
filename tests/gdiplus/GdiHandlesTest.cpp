#include "platform/gdiplus/Gdi.h"

#include "../skin/Pictures.h"
#include "PixelProbe.h"
#include "tests/TestKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace fs = std::filesystem;
using namespace Gdiplus;

class GdiPictureHandles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pictures::Save(dir / "Pic.bmp", 16, 8, 0x00FF00FF, "bmp");
        pictures::Save(dir / "pic.png", 16, 8, 0x00FF00FF);
        pictures::Save(dir / "pic.ico", 16, 16, 0xFF000080, "ico");
    }
    CString Path(const char* name) { return CString::FromUtf8((dir / name).string()); }
    testkit::TempDir tmp{"skinkit_gdi"};
    const fs::path dir = tmp.Root();
};

TEST_F(GdiPictureHandles, BitmapsLoadBmpFilesOnlyAndDeleteOnceAndIconsAtTheSystemSize)
{
    HANDLE h = LoadImageW(GetModuleHandleW(nullptr), Path("PIC.BMP"), IMAGE_BITMAP, 0, 0,
                          LR_LOADFROMFILE | LR_DEFAULTSIZE);
    ASSERT_NE(h, nullptr);
    BITMAP bm{};
    EXPECT_EQ(GetObjectW(h, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(std::tuple(bm.bmWidth, bm.bmHeight), std::tuple(16, 8));
    EXPECT_EQ(PixelAt(*platform::BitmapOfHandle(h), 3, 3), 0xFF00FF00u);
    EXPECT_TRUE(DeleteObject(h));
    EXPECT_FALSE(DeleteObject(h));
    EXPECT_EQ(
        LoadImageW(nullptr, Path("pic.png"), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE),
        nullptr);
    EXPECT_EQ(LoadImageW(nullptr, Path("none.bmp"), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);

    // Icons load at the system icon size.
    HICON icon = static_cast<HICON>(
        LoadImageW(nullptr, Path("pic.ico"), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    ASSERT_NE(icon, nullptr);
    Bitmap* pixels = platform::BitmapOfHandle(icon);
    EXPECT_EQ(std::tuple(pixels->GetWidth(), pixels->GetHeight()), std::tuple(32u, 32u));
    EXPECT_FALSE(DeleteObject(icon)); // an icon is not a GDI object
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
}

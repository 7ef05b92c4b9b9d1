#include "platform/host/HostResources.h"
#include "platform/gdiplus/Gdi.h"

#include "../gdiplus/PixelProbe.h"

#include <gtest/gtest.h>

class HostResources : public ::testing::Test
{
protected:
    void TearDown() override { platform::host::ClearResources(); }
};

TEST_F(HostResources, StringsAreCutToTheBufferAndMissingOnesAreEmpty)
{
    platform::host::SetString(7, L"Group of controls");
    wchar_t buffer[6] = L"xxxxx";
    EXPECT_EQ(LoadStringW(nullptr, 7, buffer, 6), 5);
    EXPECT_STREQ(buffer, L"Group");
    EXPECT_EQ(LoadStringW(nullptr, 8, buffer, 6), 0);
    EXPECT_STREQ(buffer, L"");
    LPCWSTR direct = nullptr;
    EXPECT_EQ(LoadStringW(nullptr, 7, reinterpret_cast<LPWSTR>(&direct), 0), 17);
    EXPECT_STREQ(direct, L"Group of controls");
    platform::host::SetString(7, L"");
    EXPECT_EQ(LoadStringW(nullptr, 7, buffer, 6), 0);
}

TEST_F(HostResources, IconsLoadByNumberAtTheSizeAsked)
{
    const Gdiplus::ARGB pixels[] = {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000};
    std::unique_ptr<Gdiplus::Bitmap> red(MakeBitmap(2, 2, pixels));
    platform::host::SetIconPicture(300, *red);
    HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(300), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(icon, nullptr);
    Gdiplus::Bitmap* got = platform::BitmapOfHandle(icon);
    EXPECT_EQ(got->GetWidth(), 16u);
    EXPECT_EQ(PixelAt(*got, 8, 8), 0xFFFF0000u);
    EXPECT_TRUE(DestroyIcon(icon));
    HICON natural =
        static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(300), IMAGE_ICON, 0, 0, 0));
    ASSERT_NE(natural, nullptr);
    EXPECT_EQ(platform::BitmapOfHandle(natural)->GetWidth(), 2u);
    DestroyIcon(natural);
    EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCEW(301), IMAGE_ICON, 16, 16, 0), nullptr);
}

TEST_F(HostResources, ApplicationNameDefaultsToTheProgram)
{
    EXPECT_STREQ(AfxGetAppName(), L"test_host");
    platform::host::SetApplicationName(L"Player");
    EXPECT_STREQ(AfxGetAppName(), L"Player");
}

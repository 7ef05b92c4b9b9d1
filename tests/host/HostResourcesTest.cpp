// The host's resource table as LoadStringW and LoadImageW read it, and the application's name.
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
    LPCWSTR direct = nullptr; // no buffer: a pointer to the text itself
    EXPECT_EQ(LoadStringW(nullptr, 7, reinterpret_cast<LPWSTR>(&direct), 0), 17);
    EXPECT_STREQ(direct, L"Group of controls");
    platform::host::SetString(7, L"");
    EXPECT_EQ(LoadStringW(nullptr, 7, buffer, 6), 0);
    EXPECT_STREQ(AfxGetAppName(), L"test_host"); // the program's name unless the host sets one
}

TEST_F(HostResources, IconsLoadByNumberAtTheSizeAsked)
{
    const Gdiplus::ARGB red[] = {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000};
    platform::host::SetIconPicture(300, *std::unique_ptr<Gdiplus::Bitmap>(MakeBitmap(2, 2, red)));
    for (const auto& [asked, width] : {std::pair{16, 16u}, std::pair{0, 2u}}) { // 0: as it is
        auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(300),
                                                  IMAGE_ICON, asked, asked, 0));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(platform::BitmapOfHandle(icon)->GetWidth(), width);
        EXPECT_EQ(PixelAt(*platform::BitmapOfHandle(icon), width / 2, width / 2), 0xFFFF0000u);
        EXPECT_TRUE(DestroyIcon(icon));
    }
    EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCEW(301), IMAGE_ICON, 16, 16, 0), nullptr);
}

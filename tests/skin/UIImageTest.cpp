// The image cache: a Windows-authored skin folder loading on Linux, the three independent
// kinds, the "transparent" fallback, failed pictures, and pointer lifetimes across loads.
#include "skin/UIImage.h"

#include "../gdiplus/PixelProbe.h"
#include "Pictures.h"
#include "SkinFiles.h"

#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/PictureScale.h"

namespace {

class ImageCache : public SkinFiles
{
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
        // The skin as its author's Windows machine wrote it: names in mixed case.
        std::filesystem::create_directories(root / "Skin" / "Img" / "Buttons");
        const auto img = root / "Skin" / "Img";
        ASSERT_TRUE(pictures::Save(img / "Play.PNG", 2, 2, 0xFF0000FF));
        ASSERT_TRUE(pictures::Save(img / "Buttons" / "Stop.png", 3, 1, 0x00FF00FF));
        ASSERT_TRUE(pictures::Save(img / "Clear.png", 1, 1, 0));
        ASSERT_TRUE(pictures::Save(img / "Back.BMP", 4, 3, 0x010203FF, "bmp"));
        ASSERT_TRUE(pictures::Save(img / "App.ico", 16, 16, 0x090807FF, "ico"));
        Write("Skin/Img/broken.png", "not a picture");
        folder = Root() + L"\\skin\\img";
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(token); }

    static int Width(Gdiplus::Image* image)
    {
        return image ? static_cast<int>(image->GetWidth()) : -1;
    }

    ULONG_PTR token = 0;
    CString folder;
};

const char kList[] = "[HD-png]\n"
                     "transparent=clear.png\n"
                     "btn_play=play.png\n"
                     "btn_stop=BUTTONS\\stop.PNG\n"
                     "bad=broken.png\n"
                     "gone=missing.png\n"
                     "[HD-bmp]\n"
                     "back=back.bmp\n"
                     "notbmp=play.png\n"
                     "[HD-icon]\n"
                     "app=app.ico\n"
                     "notico=back.bmp\n";

} // namespace

TEST_F(ImageCache, AWindowsSkinFolderLoadsWithBackslashesAndOtherLetterCase)
{
    CUIImage cache;
    const CString list = Write("Skin/images.ini", kList);
    EXPECT_EQ(cache.LoadImageFiles(folder, list), 1);
    EXPECT_EQ(cache.LoadBitmapFiles(folder, list), 1);
    EXPECT_EQ(cache.LoadIconFiles(folder, list), 1);
    // The sizes each kind is loaded at are the picture loaders' own tests.
    EXPECT_EQ(Width(cache.GetImageFile(L"btn_play")), 2);
    EXPECT_EQ(Width(cache.GetImageFile(L"btn_stop")), 3);
    EXPECT_NE(cache.GetBitmapFile(L"back"), nullptr);
    EXPECT_NE(cache.GetIconFile(L"app"), nullptr);

    // Failed pictures are stored and answered as failed, never as the transparent fallback,
    // which answers only for names not loaded.
    Gdiplus::Image* clear = cache.GetImageFile(L"transparent");
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(cache.GetImageFile(L"unknown"), clear);
    for (const wchar_t* name : {L"bad", L"gone"}) {
        Gdiplus::Image* image = cache.GetImageFile(name);
        ASSERT_NE(image, nullptr) << "a failed image is stored, not dropped";
        EXPECT_NE(image, clear);
        EXPECT_NE(image->GetLastStatus(), Gdiplus::Ok);
    }
    EXPECT_EQ(cache.GetBitmapFile(L"notbmp"), nullptr) << "a PNG is no bitmap file";
    EXPECT_EQ(cache.GetIconFile(L"notico"), nullptr);
}

TEST_F(ImageCache, AMissingSectionOrListAnswersZeroAndNoFallback)
{
    CUIImage other;
    const CString partial = Write("partial.ini", "[HD-png]\np=play.png\n[HD-bmp]\n");
    EXPECT_EQ(other.LoadBitmapFiles(folder, partial), 0);
    EXPECT_EQ(other.LoadIconFiles(folder, partial), 0);
    EXPECT_EQ(other.LoadImageFiles(folder, Root() + L"\\missing.ini"), 0);
    EXPECT_EQ(other.LoadImageFiles(folder, partial), 1);
    EXPECT_EQ(other.GetImageFile(L"unknown"), nullptr);
}

// The three kinds have their own names and lifetimes; a name loaded again is replaced, but what a
// control still draws stays valid until its kind is unloaded.
TEST_F(ImageCache, TheThreeKindsHaveTheirOwnNamesAndReplacedPicturesStayValidUntilUnload)
{
    CUIImage cache;
    const CString list = Write("list.ini", "[HD-png]\nsame=play.png\nsame=buttons\\stop.png\n"
                                           "[HD-bmp]\nsame=back.bmp\n[HD-icon]\nsame=app.ico\n");
    cache.LoadImageFiles(folder, list);
    cache.LoadBitmapFiles(folder, list);
    cache.LoadIconFiles(folder, list);
    EXPECT_EQ(Width(cache.GetImageFile(L"same")), 3) << "the later line wins";
    Gdiplus::Image* first = cache.GetImageFile(L"same");
    HBITMAP firstBitmap = cache.GetBitmapFile(L"same");

    const CString again = Write("two.ini", "[HD-png]\nsame=play.png\n[HD-bmp]\nsame=back.bmp\n");
    cache.LoadImageFiles(folder, again);
    cache.LoadBitmapFiles(folder, again);
    EXPECT_EQ(Width(cache.GetImageFile(L"same")), 2);
    EXPECT_EQ(Width(first), 3) << "a control still drawing the first picture keeps it";
    BITMAP bm{};
    EXPECT_NE(GetObjectW(firstBitmap, sizeof bm, &bm), 0);
    cache.UnloadIconFiles();
    EXPECT_EQ(cache.GetIconFile(L"same"), nullptr);
    EXPECT_EQ(Width(cache.GetImageFile(L"same")), 2);
    cache.UnloadImageFiles();
    EXPECT_EQ(cache.GetImageFile(L"same"), nullptr);
    EXPECT_NE(cache.GetBitmapFile(L"same"), nullptr);
    cache.UnloadBitmapFiles();
    EXPECT_EQ(GetObjectW(firstBitmap, sizeof bm, &bm), 0) << "released with its kind";
}

namespace {

// Two colours side by side, `factor` device pixels per logical pixel of a 4 x 2 picture.
bool SaveHalves(const std::filesystem::path& path, int factor, Gdiplus::ARGB left,
                Gdiplus::ARGB right)
{
    Gdiplus::Bitmap b(4 * factor, 2 * factor, Gdiplus::PixelFormat32bppARGB);
    for (int y = 0; y < 2 * factor; ++y)
        for (int x = 0; x < 4 * factor; ++x)
            b.SetPixel(x, y, Gdiplus::Color(x < 2 * factor ? left : right));
    return platform::SaveImageAsPng(&b, CString::FromUtf8(path.string())) == Gdiplus::Ok;
}

constexpr Gdiplus::ARGB kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kGreen = 0xFF00FF00u;

class ScaledImages : public ImageCache
{
protected:
    void SetUp() override
    {
        ImageCache::SetUp();
        const auto img = root / "Skin" / "Img";
        ASSERT_TRUE(SaveHalves(img / "Thumb.png", 1, kRed, kBlue));
        ASSERT_TRUE(SaveHalves(img / "thumb@2x.PNG", 2, kGreen, kGreen));
        ASSERT_TRUE(SaveHalves(img / "Knob.png", 1, kRed, kBlue));
        ASSERT_TRUE(SaveHalves(img / "Bad.png", 1, kRed, kBlue));
        Write("Skin/Img/Bad@2x.png", "not a picture");
    }
};

} // namespace

// Which factor a scale takes is the rule's own test; one scale on each side of it here, and
// how each picture is drawn on a window of that scale.
TEST_F(ScaledImages, TheTwicePictureIsChosenAboveOneAndCopiedAndAPlainOneFiltered)
{
    const CString list =
        Write("Skin/scaled.ini", "[HD-png]\nthumb=thumb.png\nknob=knob.png\nbad=bad.png\n");
    for (auto [scale, factor] : {std::pair{1.0, 1.0}, {1.25, 2.0}, {2.0, 2.0}}) {
        SCOPED_TRACE(scale);
        CUIImage cache;
        cache.SetDisplayScale(scale);
        ASSERT_EQ(cache.LoadImageFiles(folder, list), 1);
        Gdiplus::Image* thumb = cache.GetImageFile(L"thumb");
        EXPECT_EQ(platform::PictureScale(thumb), factor);
        EXPECT_EQ(Width(thumb), 4); // the logical size, whichever picture came
        EXPECT_EQ(thumb->GetHeight(), 2u);
        // A failed per-scale picture gives way to the plain one; none beside it: the plain one.
        for (const wchar_t* plain : {L"bad", L"knob"}) {
            EXPECT_EQ(cache.GetImageFile(plain)->GetLastStatus(), Gdiplus::Ok);
            EXPECT_EQ(platform::PictureScale(cache.GetImageFile(plain)), 1.0);
        }
        if (scale == 1.0)
            continue;
        Gdiplus::Bitmap target(12, 6, Gdiplus::PixelFormat32bppARGB);
        const HDC dc = platform::CreateScaledSurfaceDC(&target, POINT{0, 0}, nullptr, scale);
        {
            Gdiplus::Graphics g(dc);
            // As a skinned control draws: nearest neighbour, its picture at its own size.
            g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
            g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
            g.DrawImage(scale == 2.0 ? thumb : cache.GetImageFile(L"knob"),
                        Gdiplus::Rect(0, 0, 4, 2), 0, 0, 4, 2, Gdiplus::UnitPixel);
        }
        DeleteDC(dc);
        if (scale == 2.0) {
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(PixelAt(target, x, 3), kGreen) << x;
        } else {
            // 4 logical pixels over 5 device pixels: the middle one mixes red and blue.
            Gdiplus::Color c;
            target.GetPixel(2, 1, &c);
            EXPECT_GT(c.GetR(), 40) << "filtered, not nearest";
            EXPECT_GT(c.GetB(), 40) << "filtered, not nearest";
        }
    }
}

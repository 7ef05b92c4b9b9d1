// Arbitrary bytes as a skin picture: loaded by the image cache as an image, a bitmap and an
// icon, decoded from a stream, and drawn. The seeds are tiny PNG, BMP, ICO and GIF files.
#include "platform/base/Stream.h"
#include "platform/gdiplus/Gdiplus.h"
#include "skin/UIImage.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace {

struct Skin
{
    std::string folder, list;
};

// A folder with the list file naming one picture under all three kinds; written once.
const Skin& TheSkin()
{
    static const Skin skin = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
        Skin s;
        s.folder = "/tmp/skinkit_fuzz_picture_" + std::to_string(::getpid());
        ::mkdir(s.folder.c_str(), 0700);
        s.list = s.folder + "/images.ini";
        if (FILE* f = std::fopen(s.list.c_str(), "wb")) {
            std::fputs("[HD-png]\npic=pic.bin\n[HD-bmp]\npic=pic.bin\n[HD-icon]\npic=pic.bin\n", f);
            std::fclose(f);
        }
        return s;
    }();
    return skin;
}

void Draw(Gdiplus::Image* image)
{
    if (!image || image->GetLastStatus() != Gdiplus::Ok)
        return;
    Gdiplus::Bitmap target(8, 8, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(&target);
    g.DrawImage(image, Gdiplus::Rect(0, 0, 8, 8), 0, 0, static_cast<INT>(image->GetWidth()),
                static_cast<INT>(image->GetHeight()), Gdiplus::UnitPixel);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const Skin& skin = TheSkin();
    if (FILE* f = std::fopen((skin.folder + "/pic.bin").c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }

    CUIImage cache;
    const CString folder = CString::FromPathBytes(skin.folder);
    const CString list = CString::FromPathBytes(skin.list);
    cache.LoadImageFiles(folder, list);
    cache.LoadBitmapFiles(folder, list);
    cache.LoadIconFiles(folder, list);
    Draw(cache.GetImageFile(L"pic"));
    volatile bool sink = cache.GetBitmapFile(L"pic") != nullptr;
    sink = sink || cache.GetIconFile(L"pic") != nullptr;
    (void)sink;

    if (IStream* stream = SHCreateMemStream(data, static_cast<UINT>(size))) {
        std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromStream(stream));
        Draw(image.get());
        stream->Release();
    }
    return 0;
}

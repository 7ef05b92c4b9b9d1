// The three skin loaders reading an arbitrary file as layout file, image list and language
// file at once (the image folder does not exist, so no picture is decoded).
#include "skin/UICoordi.h"
#include "skin/UIImage.h"
#include "skin/UIText.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/skinkit_fuzz_skin_" + std::to_string(::getpid()) + ".ini";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    const CString file = CString::FromUtf8(path);

    CUICoordi coordi;
    coordi.LoadInfo(file);
    coordi.LoadInfo(file);
    volatile int sink = coordi.GetWinPos(L"BtnPlay")->rc.right;

    CUIText text;
    text.LoadTextMain(file);
    sink = sink + text.GetLangID(file) + text.GetFontSizeMain(L"IDC_OPEN");
    sink = sink + text.GetFontSizeSetup(file, L"IDS_LANG") +
           text.GetTextSetup(file, L"IDS_ASK").GetLength();
    sink = sink + text.GetLangName(file).GetLength() + text.GetFontName(file).GetLength();

    CUIImage images;
    const CString folder = L"/nonexistent\\skin";
    images.LoadImageFiles(folder, file);
    images.LoadBitmapFiles(folder, file);
    images.LoadIconFiles(folder, file);
    sink = sink + (images.GetImageFile(L"transparent") != nullptr);
    (void)sink;
    return 0;
}

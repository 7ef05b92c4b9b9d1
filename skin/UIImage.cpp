#include "skin/UIImage.h"

#include "skin/ProfileList.h"
#include "skin/ScaledPicture.h"

#include "platform/base/FilePath.h"
#include "platform/gdiplus/PictureScale.h"
#include "platform/ini/PrivateProfile.h"

#include <unistd.h>
#include <vector>

namespace {

constexpr DWORD kListChars = 16384;
constexpr UINT kLoadFlags = LR_LOADFROMFILE | LR_DEFAULTSIZE;

template <class T>
void Replace(CMapStringTo<T>& map, std::vector<T>& displaced, const CString& name, T picture)
{
    T old{};
    if (map.Lookup(name, old) && old)
        displaced.push_back(old);
    map.SetAt(name, picture);
}

// One section of the list: every file loaded with `load(path)` under its name; a name loaded
// again displaces its earlier picture. Answers 0 when the section reads empty.
template <class T, class Load>
int LoadInto(CMapStringTo<T>& map, std::vector<T>& displaced, const CString& folder,
             const CString& listPath, const wchar_t* section, Load load)
{
    platform::ini::ProfileSnapshot snapshot(listPath);
    std::vector<wchar_t> buffer(kListChars, 0);
    const DWORD count = GetPrivateProfileSectionW(section, buffer.data(), kListChars, listPath);
    if (count == 0)
        return 0;
    skin::ForEachListItem(buffer.data(), count, [&](const wchar_t* item, size_t length) {
        CString name, file;
        skin::SplitLine(CString(item, static_cast<int>(length)), name, file);
        Replace(map, displaced, name, load(skin::PicturePath(folder, file)));
    });
    return 1;
}

// A bitmap or icon file at its own size.
template <class Handle, UINT Type> Handle LoadFromFile(const CString& path)
{
    return static_cast<Handle>(LoadImageW(GetModuleHandleW(nullptr), path, Type, 0, 0, kLoadFlags));
}

template <class T, class Release>
void ReleaseAll(CMapStringTo<T>& map, std::vector<T>& displaced, Release release)
{
    POSITION pos = map.GetStartPosition();
    while (pos) {
        CString name;
        T picture{};
        map.GetNextAssoc(pos, name, picture);
        if (picture)
            release(picture);
    }
    map.RemoveAll();
    for (T picture : displaced)
        release(picture);
    displaced.clear();
}

// The picture for display `scale`: the per-scale one the rule chooses among those beside
// `path`, marked with its factor, or the plain one.
Gdiplus::Image* LoadForScale(const CString& path, double scale)
{
    std::vector<double> available;
    if (scale != 1.0)
        for (double factor : skin::kPictureFactors)
            if (access(platform::ResolvePath(skin::PicturePathForFactor(path, factor)).c_str(),
                       R_OK) == 0)
                available.push_back(factor);
    const double factor = skin::ChoosePictureFactor(available, scale);
    if (factor != 1.0) {
        Gdiplus::Image* picture =
            Gdiplus::Image::FromFile(skin::PicturePathForFactor(path, factor), FALSE);
        if (picture->GetLastStatus() == Gdiplus::Ok && picture->GetWidth() > 0 &&
            platform::SetPictureScale(picture, factor))
            return picture;
        delete picture;
    }
    return Gdiplus::Image::FromFile(path, FALSE);
}

} // namespace

CString skin::PicturePath(const CString& folder, const CString& file)
{
    CString path;
    path.Format(L"%s\\%s", folder.GetString(), file.GetString());
    return path;
}

CUIImage::~CUIImage()
{
    UnloadImageFiles();
    UnloadBitmapFiles();
    UnloadIconFiles();
}

int CUIImage::LoadImageFiles(CString folder, CString listPath)
{
    return LoadInto(m_mapImage, m_arrDisplacedImage, folder, listPath, skin::kImageSection,
                    [this](const CString& path) { return LoadForScale(path, m_scale); });
}

int CUIImage::LoadBitmapFiles(CString folder, CString listPath)
{
    return LoadInto(m_mapBitmap, m_arrDisplacedBitmap, folder, listPath, skin::kBitmapSection,
                    LoadFromFile<HBITMAP, IMAGE_BITMAP>);
}

int CUIImage::LoadIconFiles(CString folder, CString listPath)
{
    return LoadInto(m_mapIcon, m_arrDisplacedIcon, folder, listPath, skin::kIconSection,
                    LoadFromFile<HICON, IMAGE_ICON>);
}

void CUIImage::UnloadImageFiles()
{
    ReleaseAll(m_mapImage, m_arrDisplacedImage, [](Gdiplus::Image* image) { delete image; });
}

void CUIImage::UnloadBitmapFiles()
{
    ReleaseAll(m_mapBitmap, m_arrDisplacedBitmap, [](HBITMAP bitmap) { DeleteObject(bitmap); });
}

void CUIImage::UnloadIconFiles()
{
    ReleaseAll(m_mapIcon, m_arrDisplacedIcon, [](HICON icon) { DestroyIcon(icon); });
}

Gdiplus::Image* CUIImage::GetImageFile(CString name)
{
    Gdiplus::Image* image = nullptr;
    if (m_mapImage.Lookup(name, image) && image)
        return image;
    image = nullptr;
    m_mapImage.Lookup(L"transparent", image);
    return image;
}

HBITMAP CUIImage::GetBitmapFile(CString name)
{
    HBITMAP bitmap = nullptr;
    m_mapBitmap.Lookup(name, bitmap);
    return bitmap;
}

HICON CUIImage::GetIconFile(CString name)
{
    HICON icon = nullptr;
    m_mapIcon.Lookup(name, icon);
    return icon;
}

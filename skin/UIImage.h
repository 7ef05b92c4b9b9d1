// The skin's pictures, loaded once from a folder by the names an image list file gives them
// and handed out by name: GDI+ images for painting, bitmap and icon handles for GDI drawing.
// The cache owns every picture; callers borrow them until the unload of their kind.
#pragma once

#include "platform/base/CMap.h"
#include "platform/base/CString.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/Gdiplus.h"

#include <vector>

namespace skin {

// The sections of an image list file, one for each kind of picture.
inline constexpr const wchar_t* kImageSection = L"HD-png";
inline constexpr const wchar_t* kBitmapSection = L"HD-bmp";
inline constexpr const wchar_t* kIconSection = L"HD-icon";

// The file a list line names, as the loaders open it: folder\file.
CString PicturePath(const CString& folder, const CString& file);

} // namespace skin

class CUIImage
{
public:
    CUIImage() = default;
    virtual ~CUIImage();
    CUIImage(const CUIImage&) = delete;
    CUIImage& operator=(const CUIImage&) = delete;

    // Each loads the lines name=file of its section ("HD-png", "HD-bmp", "HD-icon") of the
    // list file, the file taken relative to `folder` as folder\file. Answers 0 when the
    // section is missing or empty, else 1; a picture that fails to load is stored failed.
    int LoadImageFiles(CString folder, CString listPath);
    // The display scale the next LoadImageFiles loads for (1.0 at first): where the skin has
    // per-scale pictures beside a file ("play@2x.png" beside "play.png"), the one
    // skin::ChoosePictureFactor picks is loaded and measures in logical pixels; one that
    // fails to load gives way to the plain picture.
    void SetDisplayScale(double scale) { m_scale = scale; }
    int LoadBitmapFiles(CString folder, CString listPath);
    int LoadIconFiles(CString folder, CString listPath);

    void UnloadImageFiles();
    void UnloadBitmapFiles();
    void UnloadIconFiles();

    // The image of that name; for a name not loaded (or loaded as null) the image named
    // "transparent"; else null. A picture that failed to decode is answered as it is.
    Gdiplus::Image* GetImageFile(CString name);
    HBITMAP GetBitmapFile(CString name); // null when not loaded
    HICON GetIconFile(CString name);     // null when not loaded

private:
    CMapStringTo<Gdiplus::Image*> m_mapImage;
    CMapStringTo<HBITMAP> m_mapBitmap;
    CMapStringTo<HICON> m_mapIcon;
    // Pictures a later line or load displaced from their map: callers may still draw them,
    // so they live until the unload of their kind.
    std::vector<Gdiplus::Image*> m_arrDisplacedImage;
    std::vector<HBITMAP> m_arrDisplacedBitmap;
    std::vector<HICON> m_arrDisplacedIcon;
    double m_scale = 1.0;
};

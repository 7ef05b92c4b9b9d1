#include "demo/host/SkinPicture.h"

#include "platform/gdiplus/Gdi.h"
#include "skin/ScaledPicture.h"

#include <cmath>
#include <cstdio>

namespace demo {

SkinPicture::SkinPicture(int w, int h, double scale)
    : m_scale(scale),
      m_bitmap(static_cast<INT>(std::lround(w * scale)), static_cast<INT>(std::lround(h * scale)),
               Gdiplus::PixelFormat32bppARGB),
      m_graphics(&m_bitmap)
{
    if (scale != 1.0)
        m_graphics.SetDeviceScale(static_cast<Gdiplus::REAL>(scale), 0, 0);
}

bool SkinPicture::Save(const std::string& folder, const std::string& name)
{
    m_graphics.Flush();
    const CString file = skin::PicturePathForFactor(CString::FromPathBytes(name), m_scale);
    const std::string path = folder + "/" + file.ToPathBytes();
    if (platform::SaveImageAsPng(&m_bitmap, CString::FromPathBytes(path)) != Gdiplus::Ok) {
        std::fprintf(stderr, "skinkit-demo-skin: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace demo

// Pictures drawn for a display scale: a skin's "name@2x.png" has twice the pixels of
// "name.png" for the same logical size. Marked with its factor, such a picture measures
// (GetWidth, GetHeight) and is addressed (source rectangles) in logical pixels, and a scaled
// window's graphics draws its pixels 1:1.
#pragma once

#include "platform/gdiplus/Gdiplus.h"

namespace platform {

// False (nothing changed) for a failed picture or a factor that is not finite and in (0, 8].
bool SetPictureScale(Gdiplus::Image* picture, double factor);
// 1.0 for a plain picture and for none.
double PictureScale(Gdiplus::Image* picture);

} // namespace platform

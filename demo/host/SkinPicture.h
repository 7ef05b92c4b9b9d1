// A picture of the sample skin as skinkit-demo-skin draws it: w x h logical pixels for display
// scale 1 (the plain file) or more (its "@2x" twin beside it, drawn at that resolution with
// the same logical drawing calls, never scaled up from the plain one), written under the name
// the skin loaders look for at that scale.
#pragma once

#include "platform/gdiplus/Gdiplus.h"

#include <string>

namespace demo {

// The scales the skin's buttons and slider thumbs are drawn for.
inline constexpr double kSkinPictureScales[] = {1.0, 2.0};

class SkinPicture
{
public:
    SkinPicture(int w, int h, double scale = 1.0);
    SkinPicture(const SkinPicture&) = delete;
    SkinPicture& operator=(const SkinPicture&) = delete;

    // Draws in logical pixels onto the picture's device pixels.
    Gdiplus::Graphics& Graphics() { return m_graphics; }
    double Scale() const { return m_scale; }
    // Writes "folder/name" for scale 1, "folder/name@2x.png" and the like for others; false,
    // with a message, when it cannot.
    bool Save(const std::string& folder, const std::string& name);

private:
    double m_scale;
    Gdiplus::Bitmap m_bitmap;
    Gdiplus::Graphics m_graphics;
};

} // namespace demo

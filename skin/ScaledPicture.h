// Per-scale skin pictures: beside "name.ext" a skin may hold "name@2x.ext" (and @1.5x, @3x ...)
// drawn for that many device pixels per logical pixel. These are the names such pictures have
// and the rule that chooses one for a window's scale; loading stays with the loaders.
#pragma once

#include "platform/base/CString.h"

#include <vector>

namespace skin {

// The factors a skin may provide pictures for, in rising order.
inline constexpr double kPictureFactors[] = {1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0};

// The name of the picture for `factor` beside `path`: "@<factor>x" before the extension of
// the file name ("skin\\play.png", 2 -> "skin\\play@2x.png"); at the end without one. Factor
// 1 is `path` itself.
CString PicturePathForFactor(const CString& path, double factor);

// The factor to load for a window of `scale` among the `available` ones (1.0, the plain
// picture, is always available): the smallest at or above the scale, else the largest, so
// that a picture is scaled down rather than up where the skin allows.
double ChoosePictureFactor(const std::vector<double>& available, double scale);

} // namespace skin

#include "skin/ScaledPicture.h"

#include <algorithm>
#include <cmath>

namespace skin {

CString PicturePathForFactor(const CString& path, double factor)
{
    if (factor == 1.0)
        return path;
    CString suffix;
    suffix.Format(L"@%gx", factor);
    const int slash = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    const int dot = path.ReverseFind(L'.');
    // A dot that starts the file name (".png") is part of the name, not an extension.
    if (dot <= slash + 1)
        return path + suffix;
    return path.Left(dot) + suffix + path.Mid(dot);
}

double ChoosePictureFactor(const std::vector<double>& available, double scale)
{
    double atOrAbove = 0, largest = 1.0;
    auto consider = [&](double f) {
        if (!std::isfinite(f) || f <= 0)
            return;
        largest = std::max(largest, f);
        if (f >= scale && (atOrAbove == 0 || f < atOrAbove))
            atOrAbove = f;
    };
    consider(1.0);
    for (double f : available)
        consider(f);
    return atOrAbove != 0 ? atOrAbove : largest;
}

} // namespace skin

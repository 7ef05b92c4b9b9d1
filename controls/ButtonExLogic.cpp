#include "controls/ButtonExLogic.h"

namespace btn {

DividedFrame DivideFrame(const Gdiplus::Rect& frame, int pictureHeight, int w, int h, int left,
                         int right)
{
    DividedFrame d{};
    d.scale = pictureHeight > 0 ? static_cast<double>(h) / pictureHeight : 1.0;
    const double k = d.scale;
    const Gdiplus::Rect& F = frame;
    d.source[LeftPiece] = Gdiplus::Rect(F.X, F.Y, left, F.Height);
    d.source[MiddlePiece] = Gdiplus::Rect(F.X + left, F.Y, F.Width - left - right, F.Height);
    d.source[RightPiece] = Gdiplus::Rect(F.X + F.Width - right, F.Y, right, F.Height);
    d.dest[LeftPiece] = Gdiplus::Rect(0, 0, static_cast<int>(left * k), h);
    d.dest[MiddlePiece] =
        Gdiplus::Rect(static_cast<int>(left * k), 0, static_cast<int>(w - (left + right) * k), h);
    d.dest[RightPiece] =
        Gdiplus::Rect(static_cast<int>(w - right * k), 0, static_cast<int>(right * k), h);
    d.textLeft = static_cast<int>((left + 3) * k);
    return d;
}

long ScaledFontSize(long size, double scale)
{
    return static_cast<long>(size * scale);
}

} // namespace btn

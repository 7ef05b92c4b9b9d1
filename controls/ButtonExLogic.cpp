#include "controls/ButtonExLogic.h"

#include "controls/WideMath.h"

namespace btn {

DividedFrame DivideFrame(const Gdiplus::Rect& frame, int pictureHeight, int w, int h, int left,
                         int right)
{
    DividedFrame d{};
    d.scale = pictureHeight > 0 ? static_cast<double>(h) / pictureHeight : 1.0;
    const double k = d.scale;
    // Host-given widths may be anything: the source edges are summed in 64 bits, the scaled
    // ones in double, and each is brought back into int by saturation.
    const int64_t X = frame.X, Y = frame.Y, L = left, R = right;
    auto rect = [](int64_t x, int64_t y, int64_t rw, int64_t rh) {
        return Gdiplus::Rect(wide::Saturate(x), wide::Saturate(y), wide::Saturate(rw),
                             wide::Saturate(rh));
    };
    d.source[LeftPiece] = rect(X, Y, L, frame.Height);
    d.source[MiddlePiece] = rect(X + L, Y, frame.Width - L - R, frame.Height);
    d.source[RightPiece] = rect(X + frame.Width - R, Y, R, frame.Height);
    const int leftScaled = wide::Truncate(left * k);
    d.dest[LeftPiece] = Gdiplus::Rect(0, 0, leftScaled, h);
    d.dest[MiddlePiece] = Gdiplus::Rect(leftScaled, 0, wide::Truncate(w - (L + R) * k), h);
    d.dest[RightPiece] =
        Gdiplus::Rect(wide::Truncate(w - right * k), 0, wide::Truncate(right * k), h);
    d.textLeft = wide::Truncate((L + 3) * k);
    return d;
}

long ScaledFontSize(long size, double scale)
{
    return wide::Truncate(size * scale);
}

} // namespace btn

// The divided-strip button's geometry, free of windows and surfaces: a frame cut into a fixed
// left area, a stretchable middle and a fixed right cap, all scaled with the control's height,
// and the text's left edge and font size scaled the same way.
#pragma once

#include "platform/gdiplus/Gdiplus.h"

namespace btn {

enum Piece { LeftPiece = 0, MiddlePiece = 1, RightPiece = 2 };
constexpr int kPieceCount = 3;

struct DividedFrame
{
    double scale; // control height / frame picture height
    Gdiplus::Rect source[kPieceCount];
    Gdiplus::Rect dest[kPieceCount];
    int textLeft; // the left area holds no text: it starts 3 skin pixels right of it
};

// Frame `frame` of a picture `pictureHeight` high, drawn into a w x h control with a left area
// `left` and a right cap `right` skin pixels wide; every scaled edge truncated toward zero.
//
// | (left 28, right 5) | left piece  | right piece          | text from |
// |--------------------|-------------|----------------------|-----------|
// | h 40, picture 40   | 0, 28 wide  | W - 5, 5 wide        | 31        |
// | h 20, picture 40   | 0, 14 wide  | trunc(W - 2.5), 2    | 15        |
//
// A picture without height gives no scale: the pieces are then drawn at skin scale (1).
DividedFrame DivideFrame(const Gdiplus::Rect& frame, int pictureHeight, int w, int h, int left,
                         int right);

// The font's pixel size at a scale, truncated toward zero.
long ScaledFontSize(long size, double scale);

} // namespace btn

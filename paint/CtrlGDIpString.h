// The drawing toolkit the skinned controls share: one font for aligned text, and three ways of
// painting a skin image into a rectangle (nine-slice of a part, whole image stretched, tiled
// or nine-sliced, and nine-slice with scaled corners).
#pragma once

#include "platform/base/CString.h"
#include "platform/gdiplus/Gdiplus.h"

class CCtrlGDIpString
{
public:
    CCtrlGDIpString();
    CCtrlGDIpString(CString name, long size, Gdiplus::FontStyle style);
    // A copy draws with the same name, size and style; it builds its own font.
    CCtrlGDIpString(const CCtrlGDIpString& other);
    CCtrlGDIpString& operator=(const CCtrlGDIpString& other);
    virtual ~CCtrlGDIpString();

    // Makes the font; does nothing when name, size and style are those of the current font,
    // so that a control may call it before every paint.
    void SetInit(CString name, long size, Gdiplus::FontStyle style);

    // Draws `text` aligned inside (x, y, width, height) by its measured box.
    void DrawString(Gdiplus::Graphics* graphics, CString text, int x, int y, int width, int height,
                    Gdiplus::Color color, Gdiplus::StringAlignment horizontal,
                    Gdiplus::StringAlignment vertical);

    // Nine-slice of `source` into `destination`; `margins` holds the four border widths.
    void DrawBtn(Gdiplus::Graphics* graphics, Gdiplus::Image* image, Gdiplus::Rect destination,
                 Gdiplus::Rect source, RECT margins);
    // The whole image: mode 0 stretched, 1 tiled, 2 nine-sliced; other modes draw nothing.
    void DrawBg(Gdiplus::Graphics* graphics, Gdiplus::Image* image, Gdiplus::Rect destination,
                int mode, RECT margins);
    // Nine-slice of the whole image with the destination borders scaled by `scale`; `mode` is
    // not read.
    void DrawBg4(Gdiplus::Graphics* graphics, Gdiplus::Image* image, Gdiplus::Rect destination,
                 int mode, RECT margins, double scale);

    Gdiplus::Font* m_pFont;
    CString m_strFontName;
    long m_nFontSize;
    Gdiplus::FontStyle m_nFontStyle;
};

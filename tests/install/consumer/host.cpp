// A host as a player would write it: no start-up of its own, a painter, a picture.
#include "paint/CtrlGDIpString.h"

#include <cstdio>

int main()
{
    Gdiplus::Bitmap canvas(64, 24, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(&canvas);
    CCtrlGDIpString painter(L"Liberation Sans", 12, Gdiplus::FontStyleRegular);
    painter.DrawString(&g, L"host", 0, 0, 64, 24, Gdiplus::Color::Black,
                       Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter);
    if (g.GetLastStatus() != Gdiplus::Ok || canvas.GetLastStatus() != Gdiplus::Ok)
        return 1;
    std::puts("drawn");
    return 0;
}

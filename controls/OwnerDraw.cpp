#include "controls/OwnerDraw.h"

#include "platform/base/DeviceScale.h"

namespace ownerdraw {

CSize WindowSize(const CWnd& wnd)
{
    CRect r;
    wnd.GetWindowRect(&r);
    return CSize(r.Width(), r.Height());
}

void CopyToDC(HDC dc, Gdiplus::Bitmap& picture)
{
    Gdiplus::Graphics target(dc);
    target.DrawImage(&picture, 0, 0, static_cast<INT>(picture.GetWidth()),
                     static_cast<INT>(picture.GetHeight()));
}

void CopyToDC(HDC dc, Gdiplus::Bitmap& picture, CSize size)
{
    Gdiplus::Graphics target(dc);
    target.DrawImage(&picture, 0, 0, static_cast<INT>(size.cx), static_cast<INT>(size.cy));
}

DevicePicture DevicePictureOf(HDC dc, CSize size)
{
    platform::SurfaceDC d;
    if (!platform::DescribeDC(dc, &d) || d.scale == 1.0)
        return DevicePicture{static_cast<int>(size.cx), static_cast<int>(size.cy), 1.0, POINT{}};
    return DevicePicture{platform::DeviceSpan(d.origin.x, size.cx, d.scale),
                         platform::DeviceSpan(d.origin.y, size.cy, d.scale), d.scale, d.origin};
}

Gdiplus::Rect BackgroundSource(BackgroundKind kind, int x, int y, CSize picture, CSize window)
{
    switch (kind) {
    case BackgroundKind::Whole:
        return Gdiplus::Rect(0, 0, picture.cx, picture.cy);
    case BackgroundKind::StretchFrom:
        return Gdiplus::Rect(x, y, picture.cx, picture.cy);
    case BackgroundKind::CopyFrom:
        break;
    }
    return Gdiplus::Rect(x, y, window.cx, window.cy);
}

CSize PictureSize(Gdiplus::Image* picture)
{
    if (!picture)
        return CSize(0, 0);
    return CSize(static_cast<int>(picture->GetWidth()), static_cast<int>(picture->GetHeight()));
}

void DrawStretched(Gdiplus::Graphics& g, Gdiplus::Image* picture, const Gdiplus::Rect& dst)
{
    if (picture)
        g.DrawImage(picture, dst, 0, 0, static_cast<INT>(picture->GetWidth()),
                    static_cast<INT>(picture->GetHeight()), Gdiplus::UnitPixel);
}

void DrawBackground(Gdiplus::Graphics& g, Gdiplus::Image* picture, BackgroundKind kind, int x,
                    int y, CSize window)
{
    if (!picture)
        return;
    const Gdiplus::Rect src = BackgroundSource(kind, x, y, PictureSize(picture), window);
    g.DrawImage(picture, Gdiplus::Rect(0, 0, window.cx, window.cy), src.X, src.Y, src.Width,
                src.Height, Gdiplus::UnitPixel);
}

void MakeOwnerDrawn(CWnd& control, DWORD typeMask, DWORD ownerDrawType)
{
    control.ModifyStyle(typeMask, ownerDrawType);
}

void ReplaceFont(CCtrlGDIpString*& painter, const CString& family, long size,
                 Gdiplus::FontStyle style)
{
    delete painter;
    painter = new CCtrlGDIpString(family, size, style);
}

void DestroyOwnWindow(CWnd& control)
{
    if (control.m_hWnd && CWnd::FromHandlePermanent(control.m_hWnd) == &control)
        control.DestroyWindow();
}

LRESULT SendToParent(CWnd& control, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* parent = control.GetParent();
    return parent ? parent->SendMessage(message, wParam, lParam) : 0;
}

LRESULT NotifyParent(CWnd& control, UINT message, LPARAM lParam)
{
    return SendToParent(control, message, static_cast<WPARAM>(control.GetDlgCtrlID()), lParam);
}

} // namespace ownerdraw

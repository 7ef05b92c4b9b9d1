#include "controls/OwnerDraw.h"

#include "controls/KeyboardAccess.h"
#include "platform/base/DeviceScale.h"

#include <algorithm>

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

GdiPicture::GdiPicture(HDC like, CSize size) : m_size(size)
{
    m_bitmap = platform::CreateDeviceBitmap(like, size);
    if (!m_bitmap)
        return;
    m_memory = CreateCompatibleDC(like);
    m_previous = m_memory ? SelectObject(m_memory, m_bitmap) : nullptr;
    if (!m_previous && m_memory) {
        DeleteDC(m_memory);
        m_memory = nullptr;
    }
}

GdiPicture::~GdiPicture()
{
    if (m_memory) {
        SelectObject(m_memory, m_previous);
        DeleteDC(m_memory);
    }
    if (m_bitmap)
        DeleteObject(m_bitmap);
}

void GdiPicture::CopyTo(HDC dc) const
{
    if (m_memory)
        BitBlt(dc, 0, 0, static_cast<int>(m_size.cx), static_cast<int>(m_size.cy), m_memory, 0, 0,
               SRCCOPY);
}

bool CopyParentBackground(const CWnd& control, HDC dc, const CRect& part)
{
    CWnd* parent = control.GetParent();
    if (!parent || !::IsWindow(parent->m_hWnd))
        return false;
    if (part.IsRectEmpty())
        return true;
    CRect behind;
    control.GetWindowRect(&behind);
    parent->ScreenToClient(&behind);
    HDC parentDC = ::GetDC(parent->m_hWnd);
    BitBlt(dc, part.left, part.top, part.Width(), part.Height(), parentDC, behind.left + part.left,
           behind.top + part.top, SRCCOPY);
    ::ReleaseDC(parent->m_hWnd, parentDC);
    return true;
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

HFONT WindowFont(CWnd& control)
{
    if (::IsWindow(control.m_hWnd)) {
        if (auto font = reinterpret_cast<HFONT>(control.SendMessage(WM_GETFONT)))
            return font;
        HWND parent = ::GetParent(control.m_hWnd);
        if (::IsWindow(parent))
            if (auto font = reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)))
                return font;
    }
    for (int id : {DEFAULT_GUI_FONT, SYSTEM_FONT, ANSI_VAR_FONT})
        if (HGDIOBJ stock = GetStockObject(id))
            return static_cast<HFONT>(stock);
    return nullptr;
}

bool ShowsFocus(const CWnd& control)
{
    return skinkit::KeyboardAccessEnabled() && control.m_hWnd && ::GetFocus() == control.m_hWnd &&
           !(::SendMessageW(control.m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

RECT FocusPictureMargins(CSize picture, CSize control)
{
    const LONG x = std::max<LONG>(0, std::min((picture.cx - 1) / 2, control.cx / 2));
    const LONG y = std::max<LONG>(0, std::min((picture.cy - 1) / 2, control.cy / 2));
    return RECT{x, y, x, y};
}

void RepaintForFocus(CWnd& control)
{
    if (skinkit::KeyboardAccessEnabled())
        control.Invalidate();
}

void PaintFocus(const CWnd& control, HDC dc, CSize size, const FocusLook& look)
{
    if (!dc || size.cx <= 0 || size.cy <= 0 || !ShowsFocus(control))
        return;
    const int w = static_cast<int>(size.cx), h = static_cast<int>(size.cy);
    if (!look.picture && look.color.GetA() == 0) {
        RECT dotted{1, 1, w - 1, h - 1};
        DrawFocusRect(dc, &dotted);
        return;
    }
    // Cell-exact, so that a frame picture's lines and the colour frame land on whole pixels.
    Gdiplus::Graphics g(dc);
    g.SetInterpolationMode(kPixelExact.interpolation);
    g.SetPixelOffsetMode(kPixelExact.pixelOffset);
    if (look.picture) {
        const CSize picture = PictureSize(look.picture);
        CCtrlGDIpString slicer;
        slicer.DrawBtn(&g, look.picture, Gdiplus::Rect(0, 0, w, h),
                       Gdiplus::Rect(0, 0, picture.cx, picture.cy),
                       FocusPictureMargins(picture, size));
        return;
    }
    Gdiplus::SolidBrush brush(look.color);
    g.FillRectangle(&brush, 0, 0, w, 1);
    g.FillRectangle(&brush, 0, h - 1, w, 1);
    if (h > 2) {
        g.FillRectangle(&brush, 0, 1, 1, h - 2);
        g.FillRectangle(&brush, w - 1, 1, 1, h - 2);
    }
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

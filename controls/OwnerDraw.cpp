#include "controls/OwnerDraw.h"

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

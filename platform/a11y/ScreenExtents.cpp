#include "platform/a11y/Accessibility.h"
#include "platform/base/DeviceScale.h"
#include "platform/wnd/WinUser.h"
#include "platform/wnd/WindowManager.h"

namespace platform::a11y {

CRect ScreenExtents(HWND hwnd)
{
    const HWND top = wnd::TopLevelOf(hwnd);
    RECT topRect{}, r{};
    if (!top || !::GetWindowRect(top, &topRect) || !::GetWindowRect(hwnd, &r))
        return CRect(0, 0, 0, 0);
    // A top-level has no frame of its own: its window rectangle is its surface, at its place
    // on the screen, and everything inside it is scaled from its origin.
    const CRect inTop(r.left - topRect.left, r.top - topRect.top, r.right - topRect.left,
                      r.bottom - topRect.top);
    CRect device = DeviceRect(inTop, wnd::WindowScale(hwnd));
    device.OffsetRect(topRect.left, topRect.top);
    return device;
}

} // namespace platform::a11y

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
    // A top-level has no frame of its own: its window rectangle is its surface, standing at
    // the device place of its logical place on the screen, and everything inside it is scaled
    // from its origin.
    const CRect inTop(r.left - topRect.left, r.top - topRect.top, r.right - topRect.left,
                      r.bottom - topRect.top);
    const double scale = wnd::WindowScale(hwnd);
    CRect device = DeviceRect(inTop, scale);
    device.OffsetRect(DeviceEdge(topRect.left, scale), DeviceEdge(topRect.top, scale));
    return device;
}

} // namespace platform::a11y

// What the window layer needs from a display system: native top-level windows that show a
// pixel surface, input, and a clock. Everything else (the window tree, messages, capture,
// hover, timers, painting) is the layer's own, so that every backend gives the same messages
// in the same order. Backends register by name; "headless" is always there and is the default.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <memory>
#include <string>

namespace Gdiplus {
class Bitmap;
}

namespace platform::wnd {

class Backend
{
public:
    virtual ~Backend() = default;
    virtual const char* Name() const = 0;
    // Milliseconds; message times, timers, double clicks and hover all read this clock.
    virtual DWORD Now() = 0;
    // A native window showing a top-level window of `screenRect`; false when none can be made.
    virtual bool CreateTopLevel(HWND hwnd, const CString& title, const RECT& screenRect,
                                bool visible) = 0;
    virtual void DestroyTopLevel(HWND hwnd) = 0;
    virtual void MoveTopLevel(HWND /*hwnd*/, const RECT& /*screenRect*/) {}
    virtual void ShowTopLevel(HWND /*hwnd*/, bool /*visible*/) {}
    virtual void SetTitle(HWND /*hwnd*/, const CString& /*title*/) {}
    // Device pixels per logical (96-DPI) pixel for a new top-level window at `screenRect`;
    // the window layer refuses an unusable answer and keeps 1.0.
    virtual double DisplayScale(const RECT& /*screenRect*/) { return 1.0; }
    // Shows the `dirty` part (device pixels) of the top-level window's surface.
    virtual void Present(HWND hwnd, Gdiplus::Bitmap& surface, const RECT& dirty) = 0;
    // Hands pending input to the window layer (QueueInput), waiting at most `timeoutMs` for
    // some; a negative timeout waits until input arrives. False when no input can ever come,
    // which ends a message loop that has nothing else to wait for.
    virtual bool WaitInput(int timeoutMs) = 0;
    // Keeps delivering pointer events while a window holds the capture, also outside.
    virtual void CaptureMouse(bool /*capture*/) {}
    // Shows a modal message box; answers the id of the button chosen (IDOK, IDYES ...), or
    // 0 when no box can be shown.
    virtual int MessageBox(HWND owner, const CString& text, const CString& caption, UINT type) = 0;
    virtual void Beep(UINT /*type*/) {}
    // Shows system cursor `id` (the IDC_ number: 32512 the arrow, 32649 the hand; 0 hides the
    // cursor) over the backend's windows. Backends that show cursors call this base too, so
    // that ShownCursor answers what was last shown.
    virtual void ShowCursor(int id) { m_shownCursor = id; }
    int ShownCursor() const { return m_shownCursor; }
    // The native window that shows top-level `hwnd`, named as other programs take a parent
    // window ("x11:<hex window id>"); empty when there is none that another program can use.
    virtual std::string NativeHandle(HWND /*topLevel*/) { return {}; }
    // Whether the windows are shown on a desktop, where assistive technology may read them;
    // the accessibility unit starts with such a backend only.
    virtual bool OnDesktop() const { return false; }

protected:
    int m_shownCursor = 32512;
};

using BackendFactory = std::unique_ptr<Backend> (*)();
void RegisterBackend(const char* name, BackendFactory factory);
// Makes the named backend current; all windows of the previous backend are destroyed first.
// False (and the current backend kept) when the name is unknown or the factory fails.
bool UseBackend(const char* name);
// The current backend; at first use, the one named by SKINKIT_WND_BACKEND, else headless.
Backend& CurrentBackend();

// The scale a display backend gives new windows, from what the desktop tells, first answer
// first: `override` (SKINKIT_SCALE: a number, or anything else, which the window layer then
// refuses), the display's DPI, the X resource Xft.dpi, GDK_SCALE (a whole number). DPIs
// become scales in quarter steps (96 is 1.0, 144 is 1.5), so that a monitor that measures
// 101 DPI is not drawn at 1.05. Null texts and DPIs not above 0 are not known; none: 1.0.
double PickDisplayScale(const char* override, double displayDpi, double xftDpi,
                        const char* gdkScale);

// The native handle (Backend::NativeHandle) of the top-level window that `hwnd` is in, for a
// dialog of another program to sit on; empty for a null or unknown window and for a top-level
// that is not shown.
std::string NativeWindowHandle(HWND hwnd);

} // namespace platform::wnd

// The window layer's entry points for backends, drivers and message loops.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/wnd/WinUser.h"

#include <functional>
#include <string_view>
#include <vector>

namespace Gdiplus {
class Bitmap;
}
class CDC;

namespace platform::wnd {

// --- input from a backend, pointer points in device pixels of a top-level window's surface ---
enum class Input { Move, LeftDown, LeftUp, Wheel, Leave, KeyDown, KeyUp, Text };
// Queued raw; the target window, double clicks, hover and leave are worked out when the
// event is taken from the queue, so that a capture set by an earlier event applies.
void QueueInput(HWND topLevel, Input kind, POINT client, int wheelDelta = 0);
// A key went down (again, when held: a repeat) or up: `vk` a virtual-key code (1..254),
// `scan` the keyboard's scan code, `extended` the extended-key flag. The keys go to the focus
// window whichever top-level the backend reports them for; `topLevel` takes them when nothing
// has the focus.
void QueueKey(HWND topLevel, UINT vk, bool down, UINT scan = 0, bool extended = false);
// The top-level lost the keyboard to another window of the desktop: every key still down is
// released, the focus window getting a WM_KEYUP for each (never WM_SYSKEYUP, Alt included), so
// that GetKeyState reports none held and no control waits for a release that would never come.
void QueueKeysReleased(HWND topLevel);
// Text the user typed (UTF-8: what a layout, a dead key or an input method made of the keys);
// it becomes one WM_CHAR per UTF-16 unit.
void QueueText(HWND topLevel, std::string_view utf8);
// The user asked to close a top-level window: WM_CLOSE is posted to it.
void QueueClose(HWND topLevel);
// The native window was moved by the user or the desktop: screen coordinates follow.
void TopLevelMoved(HWND topLevel, POINT screen);

// --- message loops ---
// Handles everything pending: queued messages and input, then paints, then due timers and
// hover (each timer at most once per call). Answers false once WM_QUIT was taken.
bool PumpMessages();
// Pumps and waits for input until PostQuitMessage; answers its exit code. Ends early (answering
// -1) when the backend can deliver no more input and nothing is scheduled.
int RunMessageLoop();
// Milliseconds until the next timer or hover is due; -1 when none is scheduled.
int NextDeadline();

// --- other work on the message loop's thread ---
// Something the message loop serves besides windows (the accessibility unit's GLib main
// context): descriptors that a backend's wait watches too, so that it wakes for them, and
// work done without waiting at every pump. Nothing of it runs on another thread.
class LoopSource
{
public:
    virtual ~LoopSource() = default;
    // Appends the descriptors to watch (poll's events in `events`); answers the milliseconds
    // until the source wants serving anyway (0: now), or -1 for no such time.
    struct Watch
    {
        int fd;
        short events;
    };
    virtual int Prepare(std::vector<Watch>& watches) = 0;
    // Does what is ready, without waiting.
    virtual void Serve() = 0;
};
void AddLoopSource(LoopSource* source);
void RemoveLoopSource(LoopSource* source);
// For backends' waits: every source's descriptors appended to `watches`; answers the soonest
// time any source wants serving (-1 none).
int PrepareLoopSources(std::vector<LoopSource::Watch>& watches);
bool HasLoopSources();

// --- surfaces ---
// The composed pixels of a top-level window (client area), or null.
Gdiplus::Bitmap* TopLevelSurface(HWND topLevel);
HWND TopLevelOf(HWND hwnd);
// Top-level windows in creation order.
std::vector<HWND> TopLevels();
// The client origin of a window in its top-level's surface.
POINT ClientOriginInTop(HWND hwnd);
bool IsTopLevel(HWND hwnd);

// --- display scale ---
// Device pixels per logical pixel of the top-level window `hwnd` is in; 1.0 for none.
double WindowScale(HWND hwnd);
// Moves a top-level window to another scale, as when it is dragged to another display: its
// surface gets the new number of pixels, it is sent WM_DPICHANGED (the new DPI in both words
// of wParam, its suggested window rectangle in lParam: the present one, since windows keep
// logical sizes) and repainted. A scale that is not finite, not above 0 or above 8 is refused
// with a message on stderr, and false.
bool SetWindowScale(HWND topLevel, double scale);

// --- observation (drivers and tests) ---
// Called for every message sent to any window, before its procedure runs.
using MessageObserver = std::function<void(HWND, UINT, WPARAM, LPARAM)>;
void SetMessageObserver(MessageObserver observer);
// Destroys every window and forgets queued messages, timers, capture, focus and tracking.
void DestroyAllWindows();

// --- device-context wrappers (CDC::FromHandle) ---
void RegisterDCWrapper(HDC dc, CDC* wrapper);
void UnregisterDCWrapper(HDC dc, CDC* wrapper);
CDC* DCWrapper(HDC dc);

} // namespace platform::wnd

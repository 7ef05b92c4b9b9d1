// Internal to platform/wnd: the window record and what the rooms of the window layer ask of
// each other. Each room owns its state and forgets it in its Reset, which the window tree
// calls once every window is gone; Forget... drops what a room keeps about one window that is
// being destroyed.
//
//   WndTree.cpp, WndGeometry.cpp  records, creation and destruction, rectangles, visibility
//   WndDispatch.cpp               the queue, send and post, pumping, observers
//   WndInput.cpp                  hit test, pointer routing, capture, hover, double clicks
//   WndKeyboard.cpp               the focus, key state, key and character messages
//   WndDialog.cpp                 the dialog manager (tab order, mnemonics) and accelerators
//   WndTimers.cpp                 window and thread timers
//   WndPaint.cpp                  invalidation, the paint tree, paint and window DCs
//   SystemClasses.cpp             the generic, button and static window procedures
//   WndAccessible.cpp             default descriptions for assistive technology, its listener
//   Wnd.cpp, WndMsgMap.cpp, WndDC.cpp, WndControls.cpp  the objects over windows and DCs
#pragma once

#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/wnd/Accessible.h"
#include "platform/wnd/WinUser.h"
#include "platform/wnd/WindowManager.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Gdiplus {
class Bitmap;
}
class CWnd;

namespace platform::wnd {

enum class ClassKind { Generic, Button, Static };

struct Window
{
    HWND handle = nullptr;
    CWnd* obj = nullptr;
    // The plain CWnd of a window made without an object, and those replaced by subclassing
    // (callers may still hold them; they keep working through the window).
    std::unique_ptr<CWnd> wrapper;
    std::vector<std::unique_ptr<CWnd>> retired;
    HWND parent = nullptr;
    std::vector<HWND> children; // creation order; later ones are on top
    ClassKind kind = ClassKind::Generic;
    CString className;
    UINT classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    CString text;
    HFONT font = nullptr;
    CRect rect;   // window rectangle: parent client coordinates, screen for top-levels
    CRect update; // client coordinates
    bool erase = false;
    bool destroying = false;
    // System button state.
    bool pushed = false;
    bool tracking = false; // pressed with the left button or Space, capture held
    int check = 0;
    // UISF_HIDEFOCUS, UISF_HIDEACCEL: what the window does not show until the keyboard is used.
    WORD uiState = 0;
    // Top-level windows.
    // The surface has `scale` device pixels per logical pixel (DeviceScale.h); everything
    // else about windows stays logical.
    double scale = 1.0;
    std::unique_ptr<Gdiplus::Bitmap> surface;
    CRect dirty; // logical pixels drawn since the last present
    bool native = false;
};

// --- window tree ---
Window* Find(HWND hwnd);
int BorderWidth(const Window& w);
// (0, 0, width, height) of the client area.
CRect ClientRect(const Window& w);
// The window and all its ancestors have WS_VISIBLE.
bool IsShown(HWND hwnd);
void ForEachWindow(const std::function<void(Window&)>& visit);
// Creation with the object that becomes the window's handler (null: a plain CWnd).
HWND MakeWindow(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                HWND parent, UINT id, CWnd* object, LPVOID param);
void AttachObject(HWND hwnd, CWnd* object);
void DetachObject(HWND hwnd, CWnd* object);
CWnd* ObjectOf(HWND hwnd);
// The object the window's owner attached (created or subclassed with), or null when only the
// window's own plain CWnd stands for it.
CWnd* PermanentObjectOf(HWND hwnd);

// --- dispatch ---
// What waits in the queue: a posted message, or raw input for a top-level window (msg.hwnd)
// whose target is worked out when it is taken.
struct QueueItem
{
    bool input = false;
    MSG msg{};
    Input kind = Input::Move;
    POINT client{};
    int delta = 0;
    // Keys: the virtual-key code, the scan code and the extended-key flag; text: UTF-16 units.
    UINT vk = 0;
    UINT scan = 0;
    bool extended = false;
    // A release the keyboard's loss made rather than the user: always WM_KEYUP.
    bool lost = false;
    std::u16string text;
};
void PostItem(QueueItem item);
// Posts with the current time and pointer, the way the window manager stamps its messages.
void PostStamped(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Drops queued messages of `hwnd` that `drop` picks (every one without a predicate).
void DropQueued(HWND hwnd, const std::function<bool(const MSG&)>& drop = {});
// Runs PreTranslateMessage along the parent chain, then the procedure (or the timer's proc);
// false when a PreTranslateMessage took the message.
bool Deliver(MSG msg);
// The procedure part of Deliver alone (what DispatchMessage does), for the dialog manager.
void DispatchToProc(const MSG& msg);
// The dialog's WM_NEXTDLGCTL as the default dialog procedure answers it: wParam a window
// (lParam nonzero) or the direction (0 next, nonzero previous).
void NextDialogControl(HWND dialog, WPARAM wParam, LPARAM lParam);
const MSG* CurrentMessage();
void ResetDispatch();

// --- input ---
void ProcessInput(const QueueItem& item);
POINT CursorPos();
// Posts a due hover; answers whether it did. The next hover deadline, or -1.
bool PostDueHover(DWORD now);
long HoverWait(DWORD now);
void ForgetInput(HWND hwnd);
void ResetInput();

// --- keyboard ---
void ProcessKey(const QueueItem& item);
// The focus leaves `hwnd` (or a window inside it) that is being hidden: to `hwnd`'s parent,
// or to nothing for a top-level window; being disabled: to nothing.
void FocusLeavesHidden(HWND hwnd);
void FocusLeavesDisabled(HWND hwnd);
void ForgetFocus(HWND hwnd);
void ResetKeyboard();

// --- timers ---
bool PostDueTimers(DWORD now);
long TimerWait(DWORD now);
void ForgetTimers(HWND hwnd);
void ResetTimers();

// --- painting ---
bool PaintPending();
void PaintTopLevels();
// A new surface of the top-level's size. The old one lives on while a DC handed out still
// draws into it, so that a handler holding a DC across a resize draws into nothing instead of
// freed memory.
void ResizeTopSurface(Window& w);
// The backend's scale for a new top-level window at `screenRect`, 1.0 when it is unusable.
double InitialScale(const RECT& screenRect);
void RetireSurface(std::unique_ptr<Gdiplus::Bitmap> surface);
void ResetPaint();

// --- clock ---
DWORD Now();
// Wrap-around safe "now is at or past due".
inline bool Elapsed(DWORD now, DWORD due)
{
    return static_cast<std::int32_t>(now - due) >= 0;
}
inline long WaitUntil(DWORD now, DWORD due)
{
    return Elapsed(now, due) ? 0 : static_cast<long>(due - now);
}

// --- assistive technology ---
// Tells the accessibility unit's listener, when there is one.
void TellAccessibility(HWND hwnd, AccEvent event);
// Starts (true) or stops the accessibility unit, when it is there.
void StartAccessibility(bool start);
// The default answers to WM_ACCDESCRIBE: what every window has, then what the system button
// and static add.
void DescribeWindow(HWND hwnd, const Window& w, AccDescription& d);
void DescribeButton(HWND hwnd, const Window& w, AccDescription& d);
void DescribeStatic(const Window& w, AccDescription& d);

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT GenericProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace platform::wnd

// The protected hooks of CWnd that the window layer calls.
struct CWndAccess
{
    static void PreSubclass(CWnd* w);
    static void PostNcDestroy(CWnd* w);
};

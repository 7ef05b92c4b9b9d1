// Pointer input: the window under the pointer, routing to the capture window (the wheel to the
// focus window), capture itself, hover and leave tracking, double clicks. Keys and the focus
// are the keyboard room's (WndKeyboard.cpp); raw key events taken from the queue are handed
// to it from here, as pointer events are routed.
//
// Cursors: before each uncaptured move or press the window under the pointer is asked
// (AskCursor); whoever answers calls SetCursor, which the backend shows. Tooltips hear of
// moves and presses from their tools, which relay them from PreTranslateMessage.
#include "platform/base/DeviceScale.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WndInternal.h"

#include <cstdlib>

namespace platform::wnd {
namespace {

// Windows' defaults: a double click is the second press within 500 ms and a 4 x 4 pixel
// square; hover needs the pointer to rest within a 4 x 4 square.
constexpr DWORD kDoubleClickTime = 500;
constexpr int kDoubleClickHalf = 2;
constexpr int kHoverHalf = 2;
constexpr DWORD kDefaultHoverTime = 400;

struct Tracking
{
    HWND hwnd = nullptr;
    DWORD flags = 0;
    DWORD hoverTime = 0;
    POINT hoverOrigin{};
    DWORD hoverStart = 0;
};

struct Click
{
    HWND hwnd = nullptr;
    DWORD time = 0;
    POINT pt{};
};

struct InputState
{
    HWND capture = nullptr;
    HWND underCursor = nullptr;
    POINT cursor{}; // screen
    WPARAM keys = 0;
    Click lastClick;
    Tracking tracking;
};

InputState& I()
{
    static InputState input;
    return input;
}

bool Within(POINT a, POINT b, int half)
{
    return std::abs(a.x - b.x) <= half && std::abs(a.y - b.y) <= half;
}

// A press is the second of a double click when the previous press (not itself the second of
// one) hit the same window, in time and close by.
bool IsSecondClick(const Click& last, const Click& press)
{
    return last.hwnd && last.hwnd == press.hwnd && press.time - last.time <= kDoubleClickTime &&
           Within(last.pt, press.pt, kDoubleClickHalf);
}

// The deepest shown window under `screen`, a point on the screen. The walk down carries each
// window's client origin on the screen, so the point itself stays as it is; every window asked
// is told the same point. Windows that answer HTTRANSPARENT (statics without SS_NOTIFY) let
// the point through; a disabled window's input goes to its parent.
HWND HitTest(HWND top, POINT screen)
{
    const LPARAM asked = MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
    const Window* t = Find(top);
    if (!t)
        return nullptr;
    HWND h = top;
    POINT origin{t->rect.left, t->rect.top}; // a top-level has no border
    for (;;) {
        const Window* w = Find(h);
        if (!w)
            return nullptr;
        HWND next = nullptr;
        POINT nextOrigin{};
        for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
            const Window* c = Find(*it);
            if (!c || !(c->style & WS_VISIBLE))
                continue;
            CRect onScreen = c->rect;
            onScreen.OffsetRect(origin);
            if (!onScreen.PtInRect(screen))
                continue;
            const int b = BorderWidth(*c);
            if (SendMessageW(*it, WM_NCHITTEST, 0, asked) == HTTRANSPARENT)
                continue;
            next = *it;
            nextOrigin = POINT{onScreen.left + b, onScreen.top + b};
            break;
        }
        if (!next)
            break;
        h = next;
        origin = nextOrigin;
    }
    while (h && h != top) {
        const Window* w = Find(h);
        if (!w || !(w->style & WS_DISABLED))
            break;
        h = w->parent;
    }
    const Window* found = Find(h);
    if (found && (found->style & WS_DISABLED))
        return nullptr;
    return h;
}

// --- hover and leave ---

void UpdateTracking(HWND under)
{
    Tracking& t = I().tracking;
    if (!t.hwnd || under == t.hwnd)
        return;
    const HWND left = t.hwnd;
    const bool wantsLeave = (t.flags & TME_LEAVE) != 0;
    t = Tracking{};
    if (wantsLeave)
        PostStamped(left, WM_MOUSELEAVE, 0, 0);
}

void RestartHover(POINT screen)
{
    Tracking& t = I().tracking;
    if (!t.hwnd || !(t.flags & TME_HOVER) || Within(screen, t.hoverOrigin, kHoverHalf))
        return;
    t.hoverOrigin = screen;
    t.hoverStart = Now();
}

bool HoverArmed()
{
    const Tracking& t = I().tracking;
    return t.hwnd && (t.flags & TME_HOVER);
}

// A point as mouse messages carry it: signed 16-bit x and y.
LPARAM PointLParam(POINT p)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x)),
                      static_cast<WORD>(static_cast<SHORT>(p.y)));
}

LPARAM ClientLParam(HWND hwnd, POINT screen)
{
    POINT p = screen;
    ScreenToClient(hwnd, &p);
    return PointLParam(p);
}

// The backend's point (in top-level `top`'s client area) in `target`'s client coordinates.
// The target is usually inside `top`; one holding the capture may be in another top-level.
POINT TargetClientPoint(const Window& top, POINT inTop, HWND target)
{
    const POINT origin = ClientOriginInTop(target);
    POINT p{inTop.x - origin.x, inTop.y - origin.y};
    if (const Window* other = Find(TopLevelOf(target)); other && other != &top) {
        p.x += top.rect.left - other->rect.left;
        p.y += top.rect.top - other->rect.top;
    }
    return p;
}

// WM_SETCURSOR before each uncaptured move or press; false when the target went meanwhile.
bool AskCursor(HWND target, UINT message)
{
    const UINT asked = message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : message;
    SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                 MAKELPARAM(static_cast<WORD>(HTCLIENT), static_cast<WORD>(asked)));
    return Find(target) != nullptr;
}

// The message a pointer event becomes for `target`, updating the buttons and the last press.
UINT MouseMessage(Input kind, HWND target, DWORD now, POINT screen)
{
    InputState& s = I();
    switch (kind) {
    case Input::LeftDown: {
        s.keys |= MK_LBUTTON;
        const Click press{target, now, screen};
        const Window* w = Find(target);
        const bool dbl = w && (w->classStyle & CS_DBLCLKS) && IsSecondClick(s.lastClick, press);
        s.lastClick = dbl ? Click{} : press;
        return dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
    }
    case Input::LeftUp:
        s.keys &= ~MK_LBUTTON;
        return WM_LBUTTONUP;
    case Input::Wheel:
        return WM_MOUSEWHEEL;
    case Input::Move:
    case Input::Leave:
    case Input::KeyDown:
    case Input::KeyUp:
    case Input::Text:
        break;
    }
    return WM_MOUSEMOVE;
}

} // namespace

void ProcessInput(const QueueItem& item)
{
    if (item.kind == Input::KeyDown || item.kind == Input::KeyUp || item.kind == Input::Text) {
        ProcessKey(item);
        return;
    }
    InputState& s = I();
    const HWND top = item.msg.hwnd;
    const Window* t = Find(top);
    if (!t)
        return;
    const DWORD now = Now();
    // The backend's point is in device pixels of the top-level's surface: it becomes logical
    // once, by the rule that painting snaps with, so the point lands in the window that
    // painted that device pixel. The logical point becomes a screen point once (hit test,
    // hover, the wheel and the message's stamp) and the target's client point once (the
    // message's lParam); neither is converted back.
    const POINT inTop = LogicalPoint(item.client, t->scale);
    const POINT screen{t->rect.left + inTop.x, t->rect.top + inTop.y};
    // The pointer that left every window is somewhere none of them is.
    s.cursor = item.kind == Input::Leave ? POINT{-32768, -32768} : screen;
    const HWND under = item.kind == Input::Leave ? nullptr : HitTest(top, screen);
    UpdateTracking(under);
    s.underCursor = under;
    if (item.kind == Input::Move)
        RestartHover(screen);

    HWND target = s.capture ? s.capture : under;
    // The hit test asks the windows themselves; one of them may have gone meanwhile.
    if (!Find(target) || item.kind == Input::Leave)
        return;
    const UINT message = MouseMessage(item.kind, target, now, screen);
    WPARAM wParam = s.keys;
    LPARAM lParam = 0;
    if (message == WM_MOUSEWHEEL) {
        // The wheel goes to the focus window, with screen coordinates.
        if (const HWND focus = GetFocus(); focus && TopLevelOf(focus) == top)
            target = focus;
        wParam = MAKEWPARAM(static_cast<WORD>(s.keys),
                            static_cast<WORD>(static_cast<SHORT>(item.delta)));
        lParam = PointLParam(screen);
    } else {
        lParam = PointLParam(TargetClientPoint(*t, inTop, target));
        if (!s.capture && message != WM_LBUTTONUP && !AskCursor(target, message))
            return;
    }
    Deliver(MSG{target, message, wParam, lParam, now, screen});
}

POINT CursorPos()
{
    return I().cursor;
}

bool PostDueHover(DWORD now)
{
    Tracking& t = I().tracking;
    if (!HoverArmed() || !Elapsed(now, t.hoverStart + t.hoverTime))
        return false;
    t.flags &= ~TME_HOVER;
    const HWND h = t.hwnd;
    if (!(t.flags & TME_LEAVE))
        t = Tracking{};
    PostStamped(h, WM_MOUSEHOVER, I().keys, ClientLParam(h, I().cursor));
    return true;
}

long HoverWait(DWORD now)
{
    const Tracking& t = I().tracking;
    return HoverArmed() ? WaitUntil(now, t.hoverStart + t.hoverTime) : -1;
}

void ForgetInput(HWND hwnd)
{
    InputState& s = I();
    ForgetFocus(hwnd);
    if (s.underCursor == hwnd)
        s.underCursor = nullptr;
    if (s.tracking.hwnd == hwnd)
        s.tracking = Tracking{};
    if (s.lastClick.hwnd == hwnd)
        s.lastClick = Click{};
}

void ResetInput()
{
    const POINT cursor = I().cursor;
    I() = InputState{};
    // The pointer stays where it is when the windows go.
    I().cursor = cursor;
    ResetKeyboard();
}

} // namespace platform::wnd

using namespace platform::wnd;

// --- capture ---

namespace {

// Puts `hwnd` in `slot`, the previous holder in `old`; false when there is nothing to tell
// anyone: `hwnd` is no window (old null) or holds the slot already.
bool Replace(HWND& slot, HWND hwnd, HWND& old)
{
    old = nullptr;
    if (hwnd && !Find(hwnd))
        return false;
    old = slot;
    if (old == hwnd)
        return false;
    slot = hwnd;
    return true;
}

} // namespace

HWND SetCapture(HWND hwnd)
{
    HWND old = nullptr;
    if (!Replace(I().capture, hwnd, old))
        return old;
    CurrentBackend().CaptureMouse(hwnd != nullptr);
    if (old)
        SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

BOOL ReleaseCapture()
{
    SetCapture(nullptr);
    return TRUE;
}

HWND GetCapture()
{
    return I().capture;
}

BOOL GetCursorPos(LPPOINT point)
{
    if (!point)
        return FALSE;
    *point = I().cursor;
    return TRUE;
}

// --- tracking ---

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT tme)
{
    InputState& s = I();
    if (!tme)
        return FALSE;
    Tracking& t = s.tracking;
    if (tme->dwFlags & TME_CANCEL) {
        if (t.hwnd == tme->hwndTrack) {
            t.flags &= ~tme->dwFlags;
            if (!(t.flags & (TME_HOVER | TME_LEAVE)))
                t = Tracking{};
        }
        return TRUE;
    }
    if (!Find(tme->hwndTrack))
        return FALSE;
    if (s.underCursor != tme->hwndTrack) {
        // Asked while the pointer is already elsewhere: the leave comes at once.
        if (tme->dwFlags & TME_LEAVE)
            PostStamped(tme->hwndTrack, WM_MOUSELEAVE, 0, 0);
        if (t.hwnd == tme->hwndTrack)
            t = Tracking{};
        return TRUE;
    }
    if (t.hwnd && t.hwnd != tme->hwndTrack)
        UpdateTracking(tme->hwndTrack);
    const DWORD keep = t.hwnd == tme->hwndTrack ? t.flags : 0;
    t.hwnd = tme->hwndTrack;
    t.flags = keep | (tme->dwFlags & (TME_HOVER | TME_LEAVE));
    if (tme->dwFlags & TME_HOVER) {
        t.hoverTime = tme->dwHoverTime == HOVER_DEFAULT ? kDefaultHoverTime : tme->dwHoverTime;
        t.hoverOrigin = s.cursor;
        t.hoverStart = Now();
    }
    return TRUE;
}

BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT track)
{
    return TrackMouseEvent(track);
}

// The window tree, message dispatch, input routing, invalidation and painting, timers and
// mouse tracking. One process-wide state: the layer serves the host's user-interface thread
// only, as the window manager it stands in for serves one thread's windows.
//
// Child windows are not native windows: each top-level window has one pixel surface, and its
// children paint into their part of it through device contexts clipped to their visible
// client area, parents before children. So that a parent's repaint never leaves a child
// covered, invalidating a window always invalidates the children it overlaps.
#include "platform/wnd/WindowManager.h"

#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/WndInternal.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <map>
#include <unordered_map>

namespace platform::wnd {
namespace {

// Windows' defaults: a double click is the second press within 500 ms and a 4 x 4 pixel
// square; hover needs the pointer to rest within a 4 x 4 square.
constexpr DWORD kDoubleClickTime = 500;
constexpr int kDoubleClickHalf = 2;
constexpr int kHoverHalf = 2;
constexpr DWORD kDefaultHoverTime = 400;
constexpr UINT kMinTimer = 10;

struct Timer
{
    HWND hwnd;
    UINT_PTR id;
    UINT interval;
    DWORD due;
    TIMERPROC proc;
};

struct QueueItem
{
    bool input = false;
    MSG msg{};
    Input kind = Input::Move;
    POINT client{};
    int delta = 0;
};

struct Tracking
{
    HWND hwnd = nullptr;
    DWORD flags = 0;
    DWORD hoverTime = 0;
    POINT hoverOrigin{};
    DWORD hoverStart = 0;
};

struct LastClick
{
    HWND hwnd = nullptr;
    DWORD time = 0;
    POINT pt{};
};

// Set once the state is gone at process exit: objects that outlive it (a host's static
// windows) then find no window instead of a destroyed map.
bool g_stateGone = false;

struct State
{
    ~State()
    {
        g_stateGone = true;
        for (auto& [h, w] : windows) {
            if (w->wrapper)
                w->wrapper->m_hWnd = nullptr;
            for (auto& r : w->retired)
                r->m_hWnd = nullptr;
        }
    }
    std::map<HWND, std::unique_ptr<Window>> windows;
    std::uintptr_t nextHandle = 0x10000;
    std::vector<HWND> topLevels;
    std::deque<QueueItem> queue;
    std::vector<Timer> timers;
    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND underCursor = nullptr;
    POINT cursor{};
    WPARAM keys = 0;
    LastClick lastClick;
    Tracking tracking;
    std::vector<MSG> sending;
    POINT messagePos{};
    DWORD messageTime = 0;
    bool quit = false;
    int quitCode = 0;
    std::unordered_map<HDC, CDC*> dcWrappers;
    std::unordered_map<HDC, std::unique_ptr<CDC>> tempDCs;
    MessageObserver observer;
};

State& S()
{
    static State state;
    return state;
}

DWORD Now()
{
    return CurrentBackend().Now();
}

bool Elapsed(DWORD now, DWORD due)
{
    return static_cast<std::int32_t>(now - due) >= 0;
}

CRect ClientRectOf(const Window& w)
{
    const int b = BorderWidth(w);
    return CRect(0, 0, std::max(0, w.rect.Width() - 2 * b), std::max(0, w.rect.Height() - 2 * b));
}

void PostItem(QueueItem item)
{
    S().queue.push_back(std::move(item));
}

void PostMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    QueueItem item;
    item.msg = MSG{hwnd, message, wParam, lParam, Now(), S().cursor};
    PostItem(item);
}

} // namespace

// --- window records ---

Window* Find(HWND hwnd)
{
    if (!hwnd || g_stateGone)
        return nullptr;
    auto it = S().windows.find(hwnd);
    return it == S().windows.end() ? nullptr : it->second.get();
}

int BorderWidth(const Window& w)
{
    if (!w.parent)
        return 0;
    if (w.exStyle & WS_EX_CLIENTEDGE)
        return 2;
    if (w.style & WS_BORDER)
        return 1;
    if ((w.exStyle & WS_EX_STATICEDGE) || (w.kind == ClassKind::Static && (w.style & SS_SUNKEN)))
        return 1;
    return 0;
}

std::vector<HWND> TopLevels()
{
    return S().topLevels;
}

bool IsTopLevel(HWND hwnd)
{
    const Window* w = Find(hwnd);
    return w && !w->parent;
}

HWND TopLevelOf(HWND hwnd)
{
    const Window* w = Find(hwnd);
    while (w && w->parent)
        w = Find(w->parent);
    return w ? w->handle : nullptr;
}

POINT ClientOriginInTop(HWND hwnd)
{
    POINT o{0, 0};
    for (const Window* w = Find(hwnd); w && w->parent; w = Find(w->parent)) {
        const int b = BorderWidth(*w);
        o.x += w->rect.left + b;
        o.y += w->rect.top + b;
    }
    return o;
}

// The part of the window's client area that its ancestors let show, in top-level pixels.
static CRect VisibleClientInTop(HWND hwnd)
{
    const Window* w = Find(hwnd);
    if (!w)
        return CRect();
    const POINT o = ClientOriginInTop(hwnd);
    CRect r = ClientRectOf(*w);
    r.OffsetRect(o);
    for (const Window* p = Find(w->parent); p; p = Find(p->parent)) {
        CRect pr = ClientRectOf(*p);
        pr.OffsetRect(ClientOriginInTop(p->handle));
        r.IntersectRect(r, pr);
    }
    return r;
}

static bool IsShown(HWND hwnd)
{
    for (const Window* w = Find(hwnd); w; w = Find(w->parent))
        if (!(w->style & WS_VISIBLE))
            return false;
    return true;
}

static void AddDirty(HWND hwnd, const CRect& topRect)
{
    Window* top = Find(TopLevelOf(hwnd));
    if (top)
        top->dirty.UnionRect(top->dirty, topRect);
}

// --- creation and destruction ---

HWND CreateWindowInternal(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                          const RECT& rect, HWND parent, UINT id, CWnd* object, LPVOID param)
{
    State& s = S();
    Window* parentRec = Find(parent);
    if ((style & WS_CHILD) && !parentRec)
        return nullptr;
    if (!(style & WS_CHILD))
        parentRec = nullptr;

    auto rec = std::make_unique<Window>();
    const HWND hwnd = reinterpret_cast<HWND>(s.nextHandle);
    s.nextHandle += 0x10;
    rec->handle = hwnd;
    rec->className = className ? CString(className) : CString(L"SkinkitWnd");
    rec->kind = ClassKind::Generic;
    if (className && _wcsicmp(className, L"BUTTON") == 0)
        rec->kind = ClassKind::Button;
    else if (className && _wcsicmp(className, L"STATIC") == 0)
        rec->kind = ClassKind::Static;
    rec->style = style;
    rec->exStyle = exStyle;
    rec->id = parentRec ? static_cast<int>(id) : 0;
    rec->text = windowName ? CString(windowName) : CString();
    rec->rect = CRect(rect);
    rec->rect.NormalizeRect();
    rec->parent = parentRec ? parent : nullptr;
    Window& w = *rec;
    s.windows.emplace(hwnd, std::move(rec));

    if (parentRec) {
        parentRec->children.push_back(hwnd);
    } else {
        w.surface = std::make_unique<Gdiplus::Bitmap>(std::max(1, w.rect.Width()),
                                                      std::max(1, w.rect.Height()),
                                                      Gdiplus::PixelFormat32bppARGB);
        s.topLevels.push_back(hwnd);
        if (!CurrentBackend().CreateTopLevel(hwnd, w.text, w.rect, (style & WS_VISIBLE) != 0)) {
            s.topLevels.pop_back();
            s.windows.erase(hwnd);
            return nullptr;
        }
        w.native = true;
    }

    if (object) {
        object->m_hWnd = hwnd;
        w.obj = object;
        CWndAccess::PreSubclass(object);
    } else {
        w.wrapper = std::make_unique<CWnd>();
        w.wrapper->m_hWnd = hwnd;
        w.obj = w.wrapper.get();
    }

    CREATESTRUCTW cs{};
    cs.lpCreateParams = param;
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id));
    cs.x = w.rect.left;
    cs.y = w.rect.top;
    cs.cx = w.rect.Width();
    cs.cy = w.rect.Height();
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        ::DestroyWindow(hwnd);
        return nullptr;
    }
    Window* again = Find(hwnd);
    if (!again)
        return nullptr;
    const CRect client = ClientRectOf(*again);
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(client.Width()), static_cast<WORD>(client.Height())));
    if (IsWindow(hwnd) && (style & WS_VISIBLE))
        ::InvalidateRect(hwnd, nullptr, TRUE);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

void AttachObject(HWND hwnd, CWnd* object)
{
    Window* w = Find(hwnd);
    if (!w)
        return;
    if (w->wrapper && w->obj == w->wrapper.get())
        w->retired.push_back(std::move(w->wrapper));
    w->obj = object;
}

void DetachObject(HWND hwnd, CWnd* object)
{
    Window* w = Find(hwnd);
    if (!w || w->obj != object)
        return;
    w->wrapper = std::make_unique<CWnd>();
    w->wrapper->m_hWnd = hwnd;
    w->obj = w->wrapper.get();
}

CWnd* ObjectOf(HWND hwnd)
{
    Window* w = Find(hwnd);
    return w ? w->obj : nullptr;
}

bool IsPermanentObject(HWND hwnd)
{
    Window* w = Find(hwnd);
    return w && w->obj && w->obj != w->wrapper.get();
}

static void ForgetWindow(HWND hwnd)
{
    State& s = S();
    std::erase_if(s.timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
    std::erase_if(s.queue, [hwnd](const QueueItem& q) { return !q.input && q.msg.hwnd == hwnd; });
    if (s.focus == hwnd)
        s.focus = nullptr;
    if (s.underCursor == hwnd)
        s.underCursor = nullptr;
    if (s.tracking.hwnd == hwnd)
        s.tracking = Tracking{};
    if (s.lastClick.hwnd == hwnd)
        s.lastClick = LastClick{};
}

BOOL DestroyWindowInternal(HWND hwnd)
{
    State& s = S();
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    if (w->destroying)
        return TRUE;
    w->destroying = true;
    const HWND parent = w->parent;
    CRect area = w->rect;

    if (s.capture == hwnd)
        ::ReleaseCapture();
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    if ((w = Find(hwnd)) != nullptr) {
        const std::vector<HWND> children = w->children;
        for (HWND child : children)
            DestroyWindowInternal(child);
    }
    ForgetWindow(hwnd);
    SendMessageW(hwnd, WM_NCDESTROY, 0, 0);

    w = Find(hwnd);
    if (!w)
        return TRUE;
    if (Window* p = Find(parent))
        std::erase(p->children, hwnd);
    if (!parent) {
        std::erase(s.topLevels, hwnd);
        if (w->native)
            CurrentBackend().DestroyTopLevel(hwnd);
    }
    CWnd* object = w->obj;
    const bool permanent = object && object != w->wrapper.get();
    std::unique_ptr<Window> owned = std::move(s.windows[hwnd]);
    s.windows.erase(hwnd);
    for (auto& r : owned->retired)
        r->m_hWnd = nullptr;
    if (owned->wrapper)
        owned->wrapper->m_hWnd = nullptr;
    if (permanent && object->m_hWnd == hwnd)
        object->m_hWnd = nullptr;
    owned.reset();
    if (parent && IsWindow(parent))
        ::InvalidateRect(parent, &area, TRUE);
    if (permanent)
        CWndAccess::PostNcDestroy(object);
    return TRUE;
}

void DestroyAllWindows()
{
    State& s = S();
    while (!s.topLevels.empty())
        DestroyWindowInternal(s.topLevels.back());
    // Children whose parent went away without taking them along cannot exist; anything left is
    // a leak of ours, but clear it so that the next test starts clean.
    s.windows.clear();
    s.queue.clear();
    s.timers.clear();
    s.capture = s.focus = s.underCursor = nullptr;
    s.keys = 0;
    s.lastClick = LastClick{};
    s.tracking = Tracking{};
    s.quit = false;
    s.quitCode = 0;
    s.tempDCs.clear();
}

// --- dispatch ---

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    State& s = S();
    Window* w = Find(hwnd);
    if (!w)
        return 0;
    if (s.observer)
        s.observer(hwnd, message, wParam, lParam);
    CWnd* object = w->obj;
    s.sending.push_back(MSG{hwnd, message, wParam, lParam, s.messageTime, s.messagePos});
    const LRESULT r = object ? object->WindowProc(message, wParam, lParam)
                             : CallClassProc(hwnd, message, wParam, lParam);
    s.sending.pop_back();
    return r;
}

const MSG* CurrentMessage()
{
    const State& s = S();
    return s.sending.empty() ? nullptr : &s.sending.back();
}

static void Deliver(MSG msg)
{
    State& s = S();
    for (HWND h = msg.hwnd; h;) {
        CWnd* object = ObjectOf(h);
        if (object && object->PreTranslateMessage(&msg))
            return;
        const Window* w = Find(h);
        h = w ? w->parent : nullptr;
    }
    if (!Find(msg.hwnd))
        return;
    s.messagePos = msg.pt;
    s.messageTime = msg.time;
    if (msg.message == WM_TIMER && msg.lParam) {
        reinterpret_cast<TIMERPROC>(msg.lParam)(msg.hwnd, WM_TIMER, msg.wParam, msg.time);
        return;
    }
    Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

BOOL Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && !Find(hwnd))
        return FALSE;
    PostMsg(hwnd, message, wParam, lParam);
    return TRUE;
}

void Quit(int code)
{
    S().quit = true;
    S().quitCode = code;
}

void SetMessageObserver(MessageObserver observer)
{
    S().observer = std::move(observer);
}

// --- input ---

static CRect WindowRectInParentClient(const Window& w)
{
    return w.rect;
}

// The deepest shown window under `pt` (top-level client coordinates). Windows that answer
// HTTRANSPARENT (statics without SS_NOTIFY) let the point through; a disabled window's input
// goes to its parent.
static HWND HitTest(HWND top, POINT pt)
{
    HWND h = top;
    POINT local = pt;
    for (;;) {
        const Window* w = Find(h);
        if (!w)
            return nullptr;
        HWND next = nullptr;
        POINT nextLocal{};
        for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
            const Window* c = Find(*it);
            if (!c || !(c->style & WS_VISIBLE) || !WindowRectInParentClient(*c).PtInRect(local))
                continue;
            const int b = BorderWidth(*c);
            const POINT cl{local.x - c->rect.left - b, local.y - c->rect.top - b};
            POINT screen = cl;
            ::ClientToScreen(*it, &screen);
            if (Send(*it, WM_NCHITTEST, 0,
                     MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y))) ==
                HTTRANSPARENT)
                continue;
            next = *it;
            nextLocal = cl;
            break;
        }
        if (!next)
            break;
        h = next;
        local = nextLocal;
    }
    while (h && h != top) {
        const Window* w = Find(h);
        if (!w || !(w->style & WS_DISABLED))
            break;
        h = w->parent;
    }
    const Window* t = Find(h);
    if (t && (t->style & WS_DISABLED))
        return nullptr;
    return h;
}

static void UpdateTracking(HWND under)
{
    State& s = S();
    Tracking& t = s.tracking;
    if (!t.hwnd || under == t.hwnd)
        return;
    const HWND left = t.hwnd;
    const bool wantsLeave = (t.flags & TME_LEAVE) != 0;
    t = Tracking{};
    if (wantsLeave)
        PostMsg(left, WM_MOUSELEAVE, 0, 0);
}

static void RestartHover(POINT screen)
{
    Tracking& t = S().tracking;
    if (!t.hwnd || !(t.flags & TME_HOVER))
        return;
    if (std::abs(screen.x - t.hoverOrigin.x) > kHoverHalf ||
        std::abs(screen.y - t.hoverOrigin.y) > kHoverHalf) {
        t.hoverOrigin = screen;
        t.hoverStart = Now();
    }
}

static LPARAM ClientLParam(HWND hwnd, POINT screen)
{
    POINT p = screen;
    ::ScreenToClient(hwnd, &p);
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x)),
                      static_cast<WORD>(static_cast<SHORT>(p.y)));
}

static void ProcessInput(const QueueItem& item)
{
    State& s = S();
    const HWND top = item.msg.hwnd;
    const Window* t = Find(top);
    if (!t)
        return;
    const DWORD now = Now();
    POINT screen{t->rect.left + item.client.x, t->rect.top + item.client.y};
    if (item.kind != Input::Leave)
        s.cursor = screen;
    const HWND under = item.kind == Input::Leave ? nullptr : HitTest(top, item.client);
    UpdateTracking(under);
    s.underCursor = under;
    if (item.kind == Input::Move)
        RestartHover(screen);

    HWND target = s.capture ? s.capture : under;
    // The hit test asks the windows themselves; one of them may have gone meanwhile.
    const Window* targetRec = Find(target);
    if (!targetRec || item.kind == Input::Leave)
        return;

    UINT message = WM_MOUSEMOVE;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    switch (item.kind) {
    case Input::Move:
        message = WM_MOUSEMOVE;
        break;
    case Input::LeftDown: {
        s.keys |= MK_LBUTTON;
        const LastClick& lc = s.lastClick;
        const bool dbl = lc.hwnd == target && now - lc.time <= kDoubleClickTime &&
                         std::abs(screen.x - lc.pt.x) <= kDoubleClickHalf &&
                         std::abs(screen.y - lc.pt.y) <= kDoubleClickHalf &&
                         (targetRec->classStyle & CS_DBLCLKS);
        message = dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        s.lastClick = dbl ? LastClick{} : LastClick{target, now, screen};
        break;
    }
    case Input::LeftUp:
        s.keys &= ~MK_LBUTTON;
        message = WM_LBUTTONUP;
        break;
    case Input::Wheel: {
        message = WM_MOUSEWHEEL;
        if (s.focus && TopLevelOf(s.focus) == top)
            target = s.focus;
        wParam = MAKEWPARAM(static_cast<WORD>(s.keys),
                            static_cast<WORD>(static_cast<SHORT>(item.delta)));
        lParam = MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(screen.x)),
                            static_cast<WORD>(static_cast<SHORT>(screen.y)));
        break;
    }
    case Input::Leave:
        return;
    }
    if (message != WM_MOUSEWHEEL) {
        wParam = s.keys;
        lParam = ClientLParam(target, screen);
        if (!s.capture && message != WM_LBUTTONUP) {
            Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                 MAKELPARAM(
                     static_cast<WORD>(HTCLIENT),
                     static_cast<WORD>(message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : message)));
            if (!Find(target))
                return;
        }
    }
    Deliver(MSG{target, message, wParam, lParam, now, screen});
}

void QueueInput(HWND topLevel, Input kind, POINT client, int wheelDelta)
{
    QueueItem item;
    item.input = true;
    item.kind = kind;
    item.client = client;
    item.delta = wheelDelta;
    item.msg.hwnd = topLevel;
    PostItem(item);
}

void QueueClose(HWND topLevel)
{
    Post(topLevel, WM_CLOSE, 0, 0);
}

void TopLevelMoved(HWND topLevel, POINT screen)
{
    Window* w = Find(topLevel);
    if (w && !w->parent)
        w->rect.MoveToXY(screen.x, screen.y);
}

HWND SetCaptureInternal(HWND hwnd)
{
    State& s = S();
    if (hwnd && !Find(hwnd))
        return nullptr;
    const HWND old = s.capture;
    if (old == hwnd)
        return old;
    s.capture = hwnd;
    CurrentBackend().CaptureMouse(hwnd != nullptr);
    if (old)
        Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

HWND GetCaptureInternal()
{
    return S().capture;
}

HWND SetFocusInternal(HWND hwnd)
{
    State& s = S();
    if (hwnd && !Find(hwnd))
        return nullptr;
    const HWND old = s.focus;
    if (old == hwnd)
        return old;
    s.focus = hwnd;
    if (old)
        Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && s.focus == hwnd)
        Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocusInternal()
{
    return S().focus;
}

POINT CursorPos()
{
    return S().cursor;
}

BOOL TrackMouse(LPTRACKMOUSEEVENT tme)
{
    State& s = S();
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
            PostMsg(tme->hwndTrack, WM_MOUSELEAVE, 0, 0);
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

// --- timers ---

UINT_PTR SetTimerInternal(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    State& s = S();
    if (hwnd && !Find(hwnd))
        return 0;
    if (!hwnd) {
        // A thread timer gets a fresh id, as the window manager hands out.
        static UINT_PTR nextThreadTimer = 0x7FFF0000;
        id = nextThreadTimer++;
    }
    const UINT interval = std::max(elapse, kMinTimer);
    for (Timer& t : s.timers)
        if (t.hwnd == hwnd && t.id == id) {
            t.interval = interval;
            t.due = Now() + interval;
            t.proc = proc;
            return hwnd ? 1 : id;
        }
    s.timers.push_back(Timer{hwnd, id, interval, Now() + interval, proc});
    return hwnd ? 1 : id;
}

BOOL KillTimerInternal(HWND hwnd, UINT_PTR id)
{
    State& s = S();
    const auto n =
        std::erase_if(s.timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    std::erase_if(s.queue, [&](const QueueItem& q) {
        return !q.input && q.msg.hwnd == hwnd && q.msg.message == WM_TIMER && q.msg.wParam == id;
    });
    return n ? TRUE : FALSE;
}

int NextDeadline()
{
    const State& s = S();
    const DWORD now = Now();
    long best = -1;
    auto consider = [&](DWORD due) {
        const long wait = Elapsed(now, due) ? 0 : static_cast<long>(due - now);
        if (best < 0 || wait < best)
            best = wait;
    };
    for (const Timer& t : s.timers)
        consider(t.due);
    if (s.tracking.hwnd && (s.tracking.flags & TME_HOVER))
        consider(s.tracking.hoverStart + s.tracking.hoverTime);
    return static_cast<int>(best);
}

static bool PostDueTimersAndHover()
{
    State& s = S();
    const DWORD now = Now();
    bool posted = false;
    for (Timer& t : s.timers) {
        if (!Elapsed(now, t.due))
            continue;
        t.due = now + t.interval;
        QueueItem item;
        item.msg = MSG{t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), now, s.cursor};
        PostItem(item);
        posted = true;
    }
    Tracking& tr = s.tracking;
    if (tr.hwnd && (tr.flags & TME_HOVER) && Elapsed(now, tr.hoverStart + tr.hoverTime)) {
        tr.flags &= ~TME_HOVER;
        const HWND h = tr.hwnd;
        if (!(tr.flags & TME_LEAVE))
            tr = Tracking{};
        PostMsg(h, WM_MOUSEHOVER, s.keys, ClientLParam(h, s.cursor));
        posted = true;
    }
    return posted;
}

// --- painting ---

void Invalidate(HWND hwnd, const RECT* rect, bool erase)
{
    Window* w = Find(hwnd);
    if (!w)
        return;
    const CRect client = ClientRectOf(*w);
    CRect r = rect ? CRect(*rect) : client;
    r.IntersectRect(r, client);
    if (r.IsRectEmpty())
        return;
    w->update.UnionRect(w->update, r);
    w->erase = w->erase || erase;
    const std::vector<HWND> children = w->children;
    for (HWND c : children) {
        const Window* cw = Find(c);
        if (!cw)
            continue;
        CRect part;
        if (!part.IntersectRect(r, cw->rect))
            continue;
        const int b = BorderWidth(*cw);
        part.OffsetRect(-cw->rect.left - b, -cw->rect.top - b);
        Invalidate(c, &part, false);
    }
}

void Validate(HWND hwnd, const RECT* rect)
{
    Window* w = Find(hwnd);
    if (!w)
        return;
    // The update area is one rectangle: only a rectangle that covers it all validates it.
    const CRect r = rect ? CRect(*rect) : ClientRectOf(*w);
    const CRect& u = w->update;
    if (r.left <= u.left && r.top <= u.top && r.right >= u.right && r.bottom >= u.bottom) {
        w->update.SetRectEmpty();
        w->erase = false;
    }
}

static bool PaintPending()
{
    for (const auto& [h, w] : S().windows)
        if (!w->update.IsRectEmpty() && IsShown(h))
            return true;
    return false;
}

static void PaintTree(HWND hwnd)
{
    Window* w = Find(hwnd);
    if (!w || !(w->style & WS_VISIBLE))
        return;
    if (!w->update.IsRectEmpty()) {
        Send(hwnd, WM_PAINT, 0, 0);
        // A paint handler that never began painting leaves the update area; the default
        // procedure would have validated it.
        if ((w = Find(hwnd)) != nullptr && !w->update.IsRectEmpty()) {
            w->update.SetRectEmpty();
            w->erase = false;
        }
    }
    if ((w = Find(hwnd)) == nullptr)
        return;
    const std::vector<HWND> children = w->children;
    for (HWND c : children)
        PaintTree(c);
}

void PaintTopLevels()
{
    const std::vector<HWND> tops = S().topLevels;
    for (HWND top : tops) {
        PaintTree(top);
        Window* t = Find(top);
        if (!t || t->dirty.IsRectEmpty() || !t->surface)
            continue;
        CRect dirty = t->dirty;
        t->dirty.SetRectEmpty();
        dirty.IntersectRect(dirty, CRect(0, 0, t->rect.Width(), t->rect.Height()));
        if (!dirty.IsRectEmpty() && (t->style & WS_VISIBLE))
            CurrentBackend().Present(top, *t->surface, dirty);
    }
}

HDC BeginPaintInternal(HWND hwnd, LPPAINTSTRUCT ps)
{
    Window* w = Find(hwnd);
    if (!w || !ps)
        return nullptr;
    *ps = PAINTSTRUCT{};
    Window* top = Find(TopLevelOf(hwnd));
    const POINT origin = ClientOriginInTop(hwnd);
    CRect clip = w->update;
    clip.OffsetRect(origin);
    clip.IntersectRect(clip, VisibleClientInTop(hwnd));
    const bool erase = w->erase;
    ps->rcPaint = w->update;
    w->update.SetRectEmpty();
    w->erase = false;
    ps->hdc = platform::CreateSurfaceDC(top->surface.get(), origin, &clip);
    AddDirty(hwnd, clip);
    if (erase && ps->hdc)
        ps->fErase = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) ? FALSE : TRUE;
    return ps->hdc;
}

BOOL EndPaintInternal(const PAINTSTRUCT* ps)
{
    if (!ps || !ps->hdc)
        return FALSE;
    S().tempDCs.erase(ps->hdc);
    DeleteDC(ps->hdc);
    return TRUE;
}

HDC GetDCInternal(HWND hwnd)
{
    Window* top = Find(TopLevelOf(hwnd));
    if (!top || !top->surface)
        return nullptr;
    const CRect clip = VisibleClientInTop(hwnd);
    AddDirty(hwnd, clip);
    return platform::CreateSurfaceDC(top->surface.get(), ClientOriginInTop(hwnd), &clip);
}

int ReleaseDCInternal(HDC dc)
{
    if (!dc)
        return 0;
    S().tempDCs.erase(dc);
    DeleteDC(dc);
    return 1;
}

void ResizeTopSurface(Window& w)
{
    if (w.parent)
        return;
    const int cw = std::max(1, w.rect.Width()), ch = std::max(1, w.rect.Height());
    if (w.surface && static_cast<int>(w.surface->GetWidth()) == cw &&
        static_cast<int>(w.surface->GetHeight()) == ch)
        return;
    w.surface = std::make_unique<Gdiplus::Bitmap>(cw, ch, Gdiplus::PixelFormat32bppARGB);
}

Gdiplus::Bitmap* TopLevelSurface(HWND topLevel)
{
    Window* w = Find(topLevel);
    return w && !w->parent ? w->surface.get() : nullptr;
}

// --- message loop ---

bool PumpMessages()
{
    State& s = S();
    bool timersDone = false;
    for (int guard = 0; guard < 100000; ++guard) {
        if (!s.queue.empty()) {
            QueueItem item = s.queue.front();
            s.queue.pop_front();
            if (item.input)
                ProcessInput(item);
            else if (item.msg.message == WM_QUIT && !item.msg.hwnd)
                Quit(static_cast<int>(item.msg.wParam));
            else
                Deliver(item.msg);
            continue;
        }
        if (PaintPending()) {
            PaintTopLevels();
            continue;
        }
        if (!timersDone) {
            timersDone = true;
            if (PostDueTimersAndHover())
                continue;
        }
        break;
    }
    // Surfaces drawn through GetDC outside a paint still need showing.
    PaintTopLevels();
    return !s.quit;
}

int RunMessageLoop()
{
    State& s = S();
    for (;;) {
        if (!PumpMessages())
            break;
        if (!CurrentBackend().WaitInput(NextDeadline()) && NextDeadline() < 0 && s.queue.empty())
            return -1;
    }
    const int code = s.quitCode;
    s.quit = false;
    return code;
}

// --- device-context wrappers ---

void RegisterDCWrapper(HDC dc, CDC* wrapper)
{
    if (dc)
        S().dcWrappers[dc] = wrapper;
}

void UnregisterDCWrapper(HDC dc, CDC* wrapper)
{
    if (g_stateGone)
        return;
    auto it = S().dcWrappers.find(dc);
    if (it != S().dcWrappers.end() && it->second == wrapper)
        S().dcWrappers.erase(it);
}

CDC* DCWrapper(HDC dc)
{
    if (!dc || g_stateGone)
        return nullptr;
    State& s = S();
    auto it = s.dcWrappers.find(dc);
    if (it != s.dcWrappers.end())
        return it->second;
    auto& temp = s.tempDCs[dc];
    if (!temp)
        temp = std::make_unique<CDC>(dc);
    return temp.get();
}

} // namespace platform::wnd

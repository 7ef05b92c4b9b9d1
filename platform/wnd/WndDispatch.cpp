// Message dispatch: the queue of posted messages and raw input, synchronous sends (re-entrant:
// a handler may send on), the message loop and the observer that drivers and tests watch.
#include "platform/wnd/Backend.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/WndInternal.h"

#include <algorithm>
#include <deque>

namespace platform::wnd {
namespace {

struct Dispatch
{
    std::deque<QueueItem> queue;
    // The messages being handled, innermost last; Default() and GetMessagePos read them.
    std::vector<MSG> sending;
    // Stamp of the queued message last taken, for the sends it causes.
    POINT messagePos{};
    DWORD messageTime = 0;
    bool quit = false;
    int quitCode = 0;
    MessageObserver observer;
    std::vector<LoopSource*> sources;
};

Dispatch& D()
{
    static Dispatch dispatch;
    return dispatch;
}

} // namespace

DWORD Now()
{
    return CurrentBackend().Now();
}

void PostItem(QueueItem item)
{
    D().queue.push_back(std::move(item));
}

void PostStamped(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    QueueItem item;
    item.msg = MSG{hwnd, message, wParam, lParam, Now(), CursorPos()};
    PostItem(item);
}

void DropQueued(HWND hwnd, const std::function<bool(const MSG&)>& drop)
{
    std::erase_if(D().queue, [&](const QueueItem& q) {
        return !q.input && q.msg.hwnd == hwnd && (!drop || drop(q.msg));
    });
}

const MSG* CurrentMessage()
{
    const Dispatch& d = D();
    return d.sending.empty() ? nullptr : &d.sending.back();
}

bool Deliver(MSG msg)
{
    for (HWND h = msg.hwnd; h;) {
        CWnd* object = ObjectOf(h);
        if (object && object->PreTranslateMessage(&msg))
            return false;
        const Window* w = Find(h);
        h = w ? w->parent : nullptr;
    }
    DispatchToProc(msg);
    return true;
}

void DispatchToProc(const MSG& msg)
{
    Dispatch& d = D();
    // Thread messages (a thread timer's tick) have no window to go to.
    if (msg.hwnd && !Find(msg.hwnd))
        return;
    d.messagePos = msg.pt;
    d.messageTime = msg.time;
    if (msg.message == WM_TIMER && msg.lParam) {
        reinterpret_cast<TIMERPROC>(msg.lParam)(msg.hwnd, WM_TIMER, msg.wParam, msg.time);
        return;
    }
    if (msg.hwnd)
        SendMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
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
    PostMessageW(topLevel, WM_CLOSE, 0, 0);
}

void SetMessageObserver(MessageObserver observer)
{
    D().observer = std::move(observer);
}

int NextDeadline()
{
    const DWORD now = Now();
    const long timer = TimerWait(now), hover = HoverWait(now);
    if (timer < 0 || (hover >= 0 && hover < timer))
        return static_cast<int>(hover);
    return static_cast<int>(timer);
}

void AddLoopSource(LoopSource* source)
{
    if (source && std::find(D().sources.begin(), D().sources.end(), source) == D().sources.end())
        D().sources.push_back(source);
}

void RemoveLoopSource(LoopSource* source)
{
    std::erase(D().sources, source);
}

bool HasLoopSources()
{
    return !D().sources.empty();
}

int PrepareLoopSources(std::vector<LoopSource::Watch>& watches)
{
    int soonest = -1;
    const std::vector<LoopSource*> sources = D().sources;
    for (LoopSource* s : sources) {
        const int due = s->Prepare(watches);
        if (due >= 0 && (soonest < 0 || due < soonest))
            soonest = due;
    }
    return soonest;
}

bool PumpMessages()
{
    Dispatch& d = D();
    // Served first, so that what they do (an action asked by a screen reader) is handled in
    // this same pump. A copy: serving may remove a source.
    const std::vector<LoopSource*> sources = d.sources;
    for (LoopSource* s : sources)
        if (std::find(d.sources.begin(), d.sources.end(), s) != d.sources.end())
            s->Serve();
    bool timersDone = false;
    for (int guard = 0; guard < 100000; ++guard) {
        if (!d.queue.empty()) {
            QueueItem item = d.queue.front();
            d.queue.pop_front();
            if (item.input)
                ProcessInput(item);
            else if (item.msg.message == WM_QUIT && !item.msg.hwnd) {
                d.quit = true;
                d.quitCode = static_cast<int>(item.msg.wParam);
            } else
                Deliver(item.msg);
            continue;
        }
        if (PaintPending()) {
            PaintTopLevels();
            continue;
        }
        if (!timersDone) {
            timersDone = true;
            const DWORD now = Now();
            const bool timers = PostDueTimers(now);
            if (PostDueHover(now) || timers)
                continue;
        }
        break;
    }
    // Surfaces drawn through GetDC outside a paint still need showing.
    PaintTopLevels();
    return !d.quit;
}

int RunMessageLoop()
{
    Dispatch& d = D();
    for (;;) {
        if (!PumpMessages())
            break;
        if (!CurrentBackend().WaitInput(NextDeadline()) && NextDeadline() < 0 && d.queue.empty())
            return -1;
    }
    const int code = d.quitCode;
    d.quit = false;
    return code;
}

void ResetDispatch()
{
    Dispatch& d = D();
    d.queue.clear();
    d.quit = false;
    d.quitCode = 0;
}

} // namespace platform::wnd

using namespace platform::wnd;

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dispatch& d = D();
    Window* w = Find(hwnd);
    if (!w)
        return 0;
    if (d.observer)
        d.observer(hwnd, message, wParam, lParam);
    CWnd* object = w->obj;
    d.sending.push_back(MSG{hwnd, message, wParam, lParam, d.messageTime, d.messagePos});
    const LRESULT r = object ? object->WindowProc(message, wParam, lParam)
                             : CallClassProc(hwnd, message, wParam, lParam);
    d.sending.pop_back();
    return r;
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && !Find(hwnd))
        return FALSE;
    PostStamped(hwnd, message, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

LRESULT CallClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Window* w = Find(hwnd);
    if (!w)
        return 0;
    switch (w->kind) {
    case ClassKind::Button:
        return ButtonProc(hwnd, message, wParam, lParam);
    case ClassKind::Static:
        return StaticProc(hwnd, message, wParam, lParam);
    case ClassKind::Generic:
        break;
    }
    return GenericProc(hwnd, message, wParam, lParam);
}

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GenericProc(hwnd, message, wParam, lParam);
}

DWORD GetMessagePos()
{
    const MSG* m = CurrentMessage();
    const POINT p = m ? m->pt : CursorPos();
    return MAKELONG(static_cast<WORD>(static_cast<SHORT>(p.x)),
                    static_cast<WORD>(static_cast<SHORT>(p.y)));
}

DWORD GetMessageTime()
{
    const MSG* m = CurrentMessage();
    return m ? m->time : Now();
}

// Window and thread timers on the backend's clock. A due timer posts one WM_TIMER per pump;
// ticks missed while nobody pumped are not made up.
#include "platform/wnd/WndInternal.h"

#include <algorithm>

namespace platform::wnd {
namespace {

constexpr UINT kMinTimer = 10;
// Thread timers get fresh ids from here, as the window manager hands them out.
constexpr UINT_PTR kFirstThreadTimer = 0x7FFF0000;

struct Timer
{
    HWND hwnd;
    UINT_PTR id;
    UINT interval;
    DWORD due;
    TIMERPROC proc;
};

struct Timers
{
    std::vector<Timer> list;
    UINT_PTR nextThreadTimer = kFirstThreadTimer;
};

Timers& Tm()
{
    static Timers timers;
    return timers;
}

} // namespace

bool PostDueTimers(DWORD now)
{
    bool posted = false;
    for (Timer& t : Tm().list) {
        if (!Elapsed(now, t.due))
            continue;
        t.due = now + t.interval;
        QueueItem item;
        item.msg = MSG{t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), now, CursorPos()};
        PostItem(item);
        posted = true;
    }
    return posted;
}

long TimerWait(DWORD now)
{
    long best = -1;
    for (const Timer& t : Tm().list) {
        const long wait = WaitUntil(now, t.due);
        if (best < 0 || wait < best)
            best = wait;
    }
    return best;
}

void ForgetTimers(HWND hwnd)
{
    std::erase_if(Tm().list, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
}

void ResetTimers()
{
    Tm() = Timers{};
}

} // namespace platform::wnd

using namespace platform::wnd;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    Timers& s = Tm();
    if (hwnd && !Find(hwnd))
        return 0;
    if (!hwnd)
        id = s.nextThreadTimer++;
    const UINT interval = std::max(elapse, kMinTimer);
    const DWORD due = Now() + interval;
    const UINT_PTR answer = hwnd ? 1 : id;
    for (Timer& t : s.list)
        if (t.hwnd == hwnd && t.id == id) {
            t = Timer{hwnd, id, interval, due, proc};
            return answer;
        }
    s.list.push_back(Timer{hwnd, id, interval, due, proc});
    return answer;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    const auto n =
        std::erase_if(Tm().list, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    DropQueued(hwnd, [id](const MSG& m) { return m.message == WM_TIMER && m.wParam == id; });
    return n ? TRUE : FALSE;
}

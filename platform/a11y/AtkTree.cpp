// The tree's life: its start and stop, the GLib main context served by the message loop, and
// the signals that tell the bridge what changed. The objects are AtkObjects.cpp's. See
// Accessibility.h.
//
// Objects are made when the bridge first asks for them (a child, the parent of the focus) and
// live until their window goes: then they become defunct (their state says so and every call
// answers nothing) and are let go; the bridge may keep its own reference a while longer.
//
// What the bridge is told comes from comparing descriptions: a window the window layer says
// changed (invalidated, text, shown, enabled) is described again at the next pump, and every
// difference from what was last reported becomes its signal. The focus is reported as it moves.
#include "platform/a11y/Accessibility.h"
#include "platform/a11y/AtkPrivate.h"
#include "platform/wnd/Accessible.h"
#include "platform/wnd/WinUser.h"
#include "platform/wnd/WindowManager.h"

#include <cstdlib>
#include <cstring>

#if SKINKIT_HAVE_ATK
#include <algorithm>
#include <cstdio>
#include <glib.h>
#include <vector>

namespace platform::a11y {

using wnd::AccDescription;
using wnd::AccEvent;

namespace {

// What the bridge is to be told at the next pump.
struct Tree
{
    // Windows to describe again, in the order they changed; windows made, to announce to
    // their parents.
    std::vector<HWND> changed;
    std::vector<HWND> created;
    HWND focus = nullptr; // as last reported
    bool focusMoved = false;
    // The application's children as last reported, and whether they may have changed.
    std::vector<HWND> tops;
    bool topsMoved = false;
    // Windows whose value changed while a value event was held back.
    std::vector<HWND> valuesWaiting;
};
Tree* g_tree = nullptr;
const AtkLibrary* g_lib = nullptr;

// --- what changed ---

// A value that moves by itself (a seek slider during playback) is told at most this often,
// unless its window has the focus: a reader would otherwise speak nothing else.
constexpr DWORD kValueInterval = 1000;

// Whether a value change is told now; when not, it waits for the interval's end
// (ServeWaitingValues).
bool TellValueNow(Node* node)
{
    const DWORD now = ::GetTickCount();
    if (::GetFocus() != node->hwnd && node->valueTold != 0 &&
        now - node->valueTold < kValueInterval) {
        if (!node->valueWaits)
            g_tree->valuesWaiting.push_back(node->hwnd);
        node->valueWaits = true;
        return false;
    }
    // 0 stands for "never told"; a clock at 0 counts as a moment later.
    node->valueTold = now ? now : 1;
    node->valueWaits = false;
    return true;
}

void ReportChanges(Node* node)
{
    const AccDescription now = Refresh(node);
    AccDescription& was = node->reported;
    AtkObject* o = node->object;
    // The focus is reported as it moves (ReportFocus), not here.
    NotifyStates(o, (now.states ^ was.states) & ~wnd::acc::Focused, now.states);
    if (now.name != was.name)
        g_object_notify(G_OBJECT(o), "accessible-name");
    if (now.description != was.description)
        g_object_notify(G_OBJECT(o), "accessible-description");
    bool valueHeld = false;
    if (now.hasValue && (!was.hasValue || now.value.current != was.value.current)) {
        valueHeld = !TellValueNow(node);
        if (!valueHeld)
            g_object_notify(G_OBJECT(o), "accessible-value");
    }
    if (now.role == wnd::AccRole::Table || was.role == wnd::AccRole::Table)
        ReportTable(node, was.table, now.table);
    if (now.text != was.text && HasText(was)) {
        const std::string before = was.text.ToUtf8();
        const std::string after = node->text;
        if (!before.empty())
            g_signal_emit_by_name(o, "text-remove", 0,
                                  static_cast<gint>(g_utf8_strlen(before.c_str(), -1)),
                                  before.c_str());
        if (!after.empty())
            g_signal_emit_by_name(o, "text-insert", 0,
                                  static_cast<gint>(g_utf8_strlen(after.c_str(), -1)),
                                  after.c_str());
    }
    const unsigned focused = was.states & wnd::acc::Focused;
    const double told = was.value.current;
    was = now;
    was.states = (was.states & ~wnd::acc::Focused) | focused;
    if (valueHeld)
        was.value.current = told;
}

// Values held back whose interval ended are described again (with `describe`; without, only
// counted); answers the milliseconds until the next one is due (-1 for none).
int ServeWaitingValues(bool describe)
{
    Tree& t = *g_tree;
    const DWORD now = ::GetTickCount();
    int next = -1;
    for (size_t i = 0; i < t.valuesWaiting.size();) {
        const HWND h = t.valuesWaiting[i];
        Node* node = FindNode(h);
        if (!node || !::IsWindow(h) || !node->valueWaits) {
            t.valuesWaiting.erase(t.valuesWaiting.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        const DWORD waited = now - node->valueTold;
        const bool due = waited >= kValueInterval || ::GetFocus() == h;
        if (due && describe) {
            t.valuesWaiting.erase(t.valuesWaiting.begin() + static_cast<std::ptrdiff_t>(i));
            node->valueWaits = false;
            ReportChanges(node);
            continue;
        }
        const int wait = due ? 0 : static_cast<int>(kValueInterval - waited);
        next = next < 0 ? wait : std::min(next, wait);
        ++i;
    }
    return next;
}

void ReportFocus()
{
    Tree& t = *g_tree;
    t.focusMoved = false;
    const HWND now = ::GetFocus();
    if (now == t.focus)
        return;
    if (Node* was = FindNode(t.focus)) {
        was->reported.states &= ~wnd::acc::Focused;
        g_lib->atk_object_notify_state_change(was->object, ATK_STATE_FOCUSED, FALSE);
    }
    t.focus = now;
    if (AtkObject* o = ObjectFor(now)) {
        FindNode(now)->reported.states |= wnd::acc::Focused;
        g_lib->atk_object_notify_state_change(o, ATK_STATE_FOCUSED, TRUE);
    }
}

// The application's children are its shown top-level windows: those hidden or gone since the
// last report leave it (from the last, so that each index is still right), those shown come.
void ReportTopLevels()
{
    Tree& t = *g_tree;
    t.topsMoved = false;
    const std::vector<HWND> now = ChildWindows(nullptr);
    for (size_t i = t.tops.size(); i-- > 0;) {
        const HWND h = t.tops[i];
        if (std::find(now.begin(), now.end(), h) != now.end())
            continue;
        const Node* node = FindNode(h);
        g_signal_emit_by_name(AppObject(), "children-changed::remove", static_cast<gint>(i),
                              node ? node->object : nullptr);
        t.tops.erase(t.tops.begin() + static_cast<std::ptrdiff_t>(i));
    }
    for (size_t i = 0; i < now.size(); ++i) {
        if (std::find(t.tops.begin(), t.tops.end(), now[i]) != t.tops.end())
            continue;
        t.tops.insert(t.tops.begin() + static_cast<std::ptrdiff_t>(std::min(i, t.tops.size())),
                      now[i]);
        g_signal_emit_by_name(AppObject(), "children-changed::add", static_cast<gint>(i),
                              ObjectFor(now[i]));
    }
}

// Runs at every pump: announces new windows to their parents' objects, reports changes.
void Flush()
{
    Tree& t = *g_tree;
    if (t.topsMoved)
        ReportTopLevels();
    const std::vector<HWND> created = std::move(t.created);
    t.created.clear();
    for (HWND h : created) {
        if (!::IsWindow(h) || FindNode(h))
            continue;
        const HWND parent = ::GetParent(h);
        const Node* parentNode = FindNode(parent);
        const gint index = IndexIn(parent, h);
        if (!parentNode || index < 0)
            continue;
        g_signal_emit_by_name(parentNode->object, "children-changed::add", index, ObjectFor(h));
    }
    const std::vector<HWND> changed = std::move(t.changed);
    t.changed.clear();
    for (HWND h : changed)
        if (Node* node = FindNode(h); node && ::IsWindow(h))
            ReportChanges(node);
    ServeWaitingValues(true);
    if (t.focusMoved)
        ReportFocus();
}

// A window is going: its parent's object hears that it leaves, then its object turns defunct.
void WindowGoes(Node* node)
{
    Tree& t = *g_tree;
    AtkObject* o = node->object;
    const HWND h = node->hwnd;
    if (!wnd::IsTopLevel(h)) {
        const HWND parent = ::GetParent(h);
        const Node* parentNode = FindNode(parent);
        const gint index = IndexIn(parent, h);
        if (parentNode && index >= 0)
            g_signal_emit_by_name(parentNode->object, "children-changed::remove", index, o);
    }
    if (auto top = std::find(t.tops.begin(), t.tops.end(), h); top != t.tops.end()) {
        g_signal_emit_by_name(AppObject(), "children-changed::remove",
                              static_cast<gint>(top - t.tops.begin()), o);
        t.tops.erase(top);
    }
    if (t.focus == h)
        t.focus = nullptr;
    DropNode(node);
}

void OnWindowEvent(HWND hwnd, AccEvent event)
{
    if (!g_tree)
        return;
    Tree& t = *g_tree;
    if (wnd::IsTopLevel(hwnd))
        t.topsMoved = true;
    switch (event) {
    case AccEvent::Created:
        if (!wnd::IsTopLevel(hwnd))
            t.created.push_back(hwnd);
        break;
    case AccEvent::Destroying:
        if (Node* node = FindNode(hwnd))
            WindowGoes(node);
        break;
    case AccEvent::Focus:
        t.focusMoved = true;
        break;
    case AccEvent::Changed:
        if (FindNode(hwnd) &&
            std::find(t.changed.begin(), t.changed.end(), hwnd) == t.changed.end())
            t.changed.push_back(hwnd);
        break;
    }
}

// --- the GLib main context, served by the message loop ---

class MainContextSource : public wnd::LoopSource
{
public:
    int Prepare(std::vector<Watch>& watches) override
    {
        GMainContext* context = g_main_context_default();
        if (!g_main_context_acquire(context))
            return 10;
        gint priority = 0;
        const bool ready = g_main_context_prepare(context, &priority);
        gint timeout = -1;
        gint n = g_main_context_query(context, priority, &timeout, m_fds.data(),
                                      static_cast<gint>(m_fds.size()));
        if (n > static_cast<gint>(m_fds.size())) {
            m_fds.resize(static_cast<size_t>(n));
            n = g_main_context_query(context, priority, &timeout, m_fds.data(), n);
        }
        g_main_context_release(context);
        if (g_tree) {
            const int waiting = ServeWaitingValues(false);
            if (waiting >= 0 && (timeout < 0 || waiting < timeout))
                timeout = waiting;
        }
        for (gint i = 0; i < n && i < static_cast<gint>(m_fds.size()); ++i)
            watches.push_back(Watch{m_fds[static_cast<size_t>(i)].fd,
                                    static_cast<short>(m_fds[static_cast<size_t>(i)].events)});
        return ready ? 0 : timeout;
    }

    void Serve() override
    {
        if (!g_tree)
            return;
        Flush();
        // What is ready now, a bounded number of rounds, so that a flood of requests cannot
        // starve the windows.
        for (int i = 0; i < 64 && g_main_context_iteration(nullptr, FALSE); ++i) {
        }
        if (g_tree)
            Flush();
    }

private:
    std::vector<GPollFD> m_fds = std::vector<GPollFD>(8);
};

MainContextSource* g_source = nullptr;

std::string ProgramName()
{
    if (const gchar* name = g_get_prgname())
        return name;
    char comm[64] = {};
    if (FILE* f = std::fopen("/proc/self/comm", "r")) {
        if (std::fgets(comm, sizeof comm, f))
            comm[std::strcspn(comm, "\n")] = '\0';
        std::fclose(f);
    }
    return comm[0] ? comm : "skinkit";
}

void OnBackend(bool start)
{
    if (start)
        Start();
    else
        Stop();
}

const bool g_hooked = (wnd::SetAccessibilityStarter(&OnBackend), true);

bool g_bridged = false;

bool MakeTree(bool bridge)
{
    if (!MakeObjects(ProgramName()))
        return false;
    g_lib = LoadAtk();
    g_tree = new Tree;
    g_tree->tops = ChildWindows(nullptr);
    g_tree->focus = ::GetFocus();
    g_source = new MainContextSource;
    wnd::AddLoopSource(g_source);
    wnd::SetAccessibilityListener(&OnWindowEvent);
    g_bridged = bridge && g_lib->atk_bridge_adaptor_init(nullptr, nullptr) == 0;
    if (bridge && !g_bridged) {
        Stop();
        return false;
    }
    return true;
}

} // namespace

bool Start()
{
    (void)g_hooked;
    if (g_tree)
        return true;
    if (const char* no = std::getenv("NO_AT_BRIDGE"); no && std::strcmp(no, "1") == 0)
        return false;
    if (AskSessionBus(SessionBusAddress()) != BusAnswer::Enabled)
        return false;
    return MakeTree(true);
}

bool StartInProcess()
{
    return g_tree || MakeTree(false);
}

void Stop()
{
    if (!g_tree)
        return;
    wnd::SetAccessibilityListener(nullptr);
    wnd::RemoveLoopSource(g_source);
    delete g_source;
    g_source = nullptr;
    if (g_bridged)
        g_lib->atk_bridge_adaptor_cleanup();
    g_bridged = false;
    DropObjects();
    delete g_tree;
    g_tree = nullptr;
}

bool Active()
{
    return g_tree != nullptr;
}

} // namespace platform::a11y

#else

namespace platform::a11y {

bool Start()
{
    return false;
}
bool StartInProcess()
{
    return false;
}
void Stop() {}
bool Active()
{
    return false;
}
size_t ObjectsMade()
{
    return 0;
}

} // namespace platform::a11y

#endif

// The accessibility unit on the headless backend: where the windows lie on the screen in device
// pixels, and what a start costs when the desktop has no accessibility bus.
#include "platform/a11y/Accessibility.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>

using namespace platform;

namespace {

std::string Str(const CRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.Width()) +
           "x" + std::to_string(r.Height());
}

int Threads()
{
    int n = 0;
    if (DIR* d = opendir("/proc/self/task")) {
        while (dirent* e = readdir(d))
            n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}

bool Mapped(const std::string& library)
{
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(library) != std::string::npos)
            return true;
    return false;
}

} // namespace

// A top-level at (100, 50) on the screen; a panel at (10, 20) in it with a 1-pixel border, and a
// button at (3, 4) 40 x 30 in the panel's client area. The top-level's place is the screen's;
// everything inside it is scaled from its origin, edges rounded as DeviceScale.h rounds them.
TEST(ScreenExtents, DevicePixelsAtEveryScale)
{
    struct Row
    {
        double scale;
        const char* top;
        const char* panel;
        const char* button;
    };
    const Row rows[] = {
        {1.0, "100,50 200x150", "110,70 80x60", "114,75 40x30"},
        {2.0, "100,50 400x300", "120,90 160x120", "128,100 80x60"},
        // 14 x 1.5 = 21, 25 x 1.5 = 37.5 -> 38; 54 x 1.5 = 81, 55 x 1.5 = 82.5 -> 83.
        {1.5, "100,50 300x225", "115,80 120x90", "121,88 60x45"},
    };
    for (const Row& r : rows) {
        wnd::HeadlessDriver driver(r.scale);
        const HWND top = CreateWindowExW(0, nullptr, L"top", WS_VISIBLE, 100, 50, 200, 150, nullptr,
                                         nullptr, nullptr, nullptr);
        const HWND panel = CreateWindowExW(0, nullptr, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10,
                                           20, 80, 60, top, nullptr, nullptr, nullptr);
        const HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 3, 4, 40, 30,
                                            panel, nullptr, nullptr, nullptr);
        EXPECT_EQ(Str(a11y::ScreenExtents(top)), r.top) << r.scale;
        EXPECT_EQ(Str(a11y::ScreenExtents(panel)), r.panel) << r.scale;
        EXPECT_EQ(Str(a11y::ScreenExtents(button)), r.button) << r.scale;
        // The surface the backend shows has the top-level's device size.
        CRect onSurface = a11y::ScreenExtents(button);
        onSurface.OffsetRect(-100, -50);
        EXPECT_EQ(Str(CRect(driver.DeviceRectOf(button))), Str(onSurface));
        DestroyWindow(top);
        EXPECT_EQ(Str(a11y::ScreenExtents(button)), "0,0 0x0"); // a window that went
    }
}

// No accessibility bus: the start answers at once, and makes no thread and loads no library of
// the accessibility stack.
TEST(Start, WithoutABusCostsNothing)
{
    EXPECT_EQ(a11y::AskSessionBus(""), a11y::BusAnswer::NoBus);
    EXPECT_EQ(a11y::AskSessionBus("unix:path=/nonexistent/skinkit-bus"), a11y::BusAnswer::NoBus);
    EXPECT_EQ(a11y::AskSessionBus("not an address"), a11y::BusAnswer::NoBus);

    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/skinkit-bus", 1);
    const int threads = Threads();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(a11y::Start());
    const auto spent = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::microseconds>(spent).count(), 5000);
    EXPECT_FALSE(a11y::Active());
    EXPECT_EQ(Threads(), threads);
    EXPECT_FALSE(Mapped("libatk"));
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

#if SKINKIT_HAVE_ATK
// --- the ATK objects, asked in this process as the bridge asks them ---

#include "controls/CtrlSlider.h"

// The value calls the bridge makes are ATK's older GValue ones.
#define ATK_DISABLE_DEPRECATION_WARNINGS
#include <atk/atk.h>
#include <dlfcn.h>

namespace {

// ATK's own entry points, from the library the tree loaded.
struct Atk
{
    template <typename F> F* Get(const char* name)
    {
        return reinterpret_cast<F*>(dlsym(lib, name));
    }
    void* lib = dlopen("libatk-1.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    decltype(&atk_get_root) root = Get<decltype(atk_get_root)>("atk_get_root");
    decltype(&atk_object_get_n_accessible_children) count =
        Get<decltype(atk_object_get_n_accessible_children)>("atk_object_get_n_accessible_children");
    decltype(&atk_object_ref_accessible_child) child =
        Get<decltype(atk_object_ref_accessible_child)>("atk_object_ref_accessible_child");
    decltype(&atk_object_get_name) name = Get<decltype(atk_object_get_name)>("atk_object_get_name");
    decltype(&atk_object_get_role) role = Get<decltype(atk_object_get_role)>("atk_object_get_role");
    decltype(&atk_object_get_index_in_parent) index =
        Get<decltype(atk_object_get_index_in_parent)>("atk_object_get_index_in_parent");
    decltype(&atk_object_ref_state_set) states =
        Get<decltype(atk_object_ref_state_set)>("atk_object_ref_state_set");
    decltype(&atk_state_set_contains_state) has =
        Get<decltype(atk_state_set_contains_state)>("atk_state_set_contains_state");
    decltype(&atk_action_do_action) act =
        Get<decltype(atk_action_do_action)>("atk_action_do_action");
    decltype(&atk_value_set_current_value) setValue =
        Get<decltype(atk_value_set_current_value)>("atk_value_set_current_value");
    decltype(&atk_component_get_extents) extents =
        Get<decltype(atk_component_get_extents)>("atk_component_get_extents");

    bool State(AtkObject* o, AtkStateType s)
    {
        AtkStateSet* set = states(o);
        const bool on = has(set, s);
        g_object_unref(set);
        return on;
    }
};

std::string g_signals;

void OnChildren(AtkObject*, guint index, gpointer, gpointer detail)
{
    g_signals += std::string(static_cast<const char*>(detail)) + " " + std::to_string(index) + "; ";
}

void OnState(AtkObject*, gchar* name, gboolean on, gpointer)
{
    g_signals += std::string(name) + (on ? " on" : " off") + "; ";
}

bool SetValue(Atk& atk, AtkObject* o, double v)
{
    GValue value = G_VALUE_INIT;
    g_value_init(&value, G_TYPE_DOUBLE);
    g_value_set_double(&value, v);
    return atk.setValue(reinterpret_cast<AtkValue*>(o), &value);
}

} // namespace

TEST(Tree, ObjectsAnswerAsTheWindowsDescribeThemselves)
{
    wnd::HeadlessDriver driver(2.0);
    const HWND top = CreateWindowExW(0, nullptr, L"Player", WS_VISIBLE, 100, 50, 300, 200, nullptr,
                                     nullptr, nullptr, nullptr);
    const HWND play = CreateWindowExW(0, L"BUTTON", L"&Play", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                      10, 10, 60, 20, top, nullptr, nullptr, nullptr);
    CCtrlSlider volume;
    volume.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 40, 110, 60),
                  CWnd::FromHandle(top), 7);
    volume.SetRange(0, 100);
    if (!a11y::StartInProcess())
        GTEST_SKIP() << "ATK is not installed";
    Atk atk;
    ASSERT_TRUE(atk.root && atk.act && atk.setValue && atk.extents);

    AtkObject* app = atk.root();
    EXPECT_EQ(atk.role(app), ATK_ROLE_APPLICATION);
    ASSERT_EQ(atk.count(app), 1);
    AtkObject* frame = atk.child(app, 0);
    EXPECT_EQ(atk.role(frame), ATK_ROLE_FRAME);
    EXPECT_STREQ(atk.name(frame), "Player");
    ASSERT_EQ(atk.count(frame), 2);
    AtkObject* button = atk.child(frame, 0);
    AtkObject* slider = atk.child(frame, 1);
    EXPECT_EQ(atk.role(button), ATK_ROLE_PUSH_BUTTON);
    EXPECT_STREQ(atk.name(button), "Play");
    EXPECT_EQ(atk.index(slider), 1);
    EXPECT_EQ(atk.role(slider), ATK_ROLE_SLIDER);
    // Out of range: nothing, and nothing breaks.
    EXPECT_EQ(atk.child(frame, 2), nullptr);
    EXPECT_EQ(atk.child(frame, -1), nullptr);
    gint x, y, w, h;
    atk.extents(reinterpret_cast<AtkComponent*>(button), &x, &y, &w, &h, ATK_XY_SCREEN);
    EXPECT_EQ(Str(CRect(x, y, x + w, y + h)), "120,70 120x40");

    // A value inside the range moves the slider; one outside is refused.
    EXPECT_TRUE(SetValue(atk, slider, 30));
    EXPECT_EQ(volume.GetPos(), 30);
    EXPECT_FALSE(SetValue(atk, slider, 101));
    EXPECT_EQ(volume.GetPos(), 30);

    // The click runs from the message loop, as the mouse's would.
    driver.Record(top);
    EXPECT_TRUE(atk.act(reinterpret_cast<AtkAction*>(button), 0));
    EXPECT_FALSE(atk.act(reinterpret_cast<AtkAction*>(button), 1));
    EXPECT_TRUE(driver.Commands(BN_CLICKED).empty());
    driver.Pump();
    EXPECT_EQ(driver.Commands(BN_CLICKED).size(), 1u);

    // Signals: a child made, the focus, a window going.
    g_signals.clear();
    g_signal_connect(frame, "children-changed::add", G_CALLBACK(OnChildren),
                     const_cast<char*>("add"));
    g_signal_connect(frame, "children-changed::remove", G_CALLBACK(OnChildren),
                     const_cast<char*>("remove"));
    g_signal_connect(button, "state-change", G_CALLBACK(OnState), nullptr);
    const HWND later = CreateWindowExW(0, L"STATIC", L"Ready", WS_CHILD | WS_VISIBLE, 10, 70, 60,
                                       20, top, nullptr, nullptr, nullptr);
    SetFocus(play);
    driver.Pump();
    EXPECT_EQ(g_signals, "add 2; focused on; ");
    EXPECT_TRUE(atk.State(button, ATK_STATE_FOCUSED));

    // The button's window goes: its object turns defunct and answers nothing, without a crash.
    g_object_ref(button);
    g_signals.clear();
    DestroyWindow(play);
    driver.Pump();
    EXPECT_EQ(g_signals, "remove 0; defunct on; ");
    EXPECT_TRUE(atk.State(button, ATK_STATE_DEFUNCT));
    EXPECT_EQ(atk.name(button), nullptr);
    EXPECT_EQ(atk.count(button), 0);
    EXPECT_EQ(atk.index(button), -1);
    EXPECT_FALSE(atk.act(reinterpret_cast<AtkAction*>(button), 0));
    EXPECT_EQ(atk.count(frame), 2); // the slider and the later label
    (void)later;
    g_object_unref(button);
    g_object_unref(slider);

    DestroyWindow(top);
    driver.Pump();
    EXPECT_EQ(atk.count(app), 0);
    EXPECT_TRUE(atk.State(frame, ATK_STATE_DEFUNCT));
    g_object_unref(frame);
    a11y::Stop();
    EXPECT_FALSE(a11y::Active());
}
#endif

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

// The accessibility tree: the windows exported to screen readers on the desktop's
// accessibility bus (AT-SPI) through the desktop's own libraries (ATK and its bridge), which
// are loaded only when the desktop says assistive technology is in use. Each top-level window
// is a frame under the application's object; each child window an object whose role, name,
// states and value come from its answer to WM_ACCDESCRIBE (platform/wnd/Accessible.h), whose
// actions and value setting go back to it as WM_ACCDOACTION and WM_ACCSETVALUE, and whose
// place is its screen rectangle in device pixels.
//
// Everything runs on the thread of the message loop: the GLib main context the bridge talks
// through is served by the loop (a LoopSource), never by a thread of its own.
//
// It starts by itself when a backend that shows windows on a desktop becomes current (the
// headless one never does), and costs nothing when nobody listens: without a session bus, an
// accessibility bus, or with the bus saying that assistive technology is off (org.a11y.Status
// IsEnabled and ScreenReaderEnabled both false), or with NO_AT_BRIDGE=1, no library is loaded,
// no thread and no object is made.
#pragma once

#include "platform/base/CRect.h"
#include "platform/base/WinTypes.h"

#include <cstddef>
#include <string>

namespace platform::a11y {

// What the session bus says about assistive technology.
enum class BusAnswer {
    NoBus,    // no session bus, or no accessibility bus on it
    Disabled, // the accessibility bus says nobody listens
    Enabled,
};
// Asks the session bus at `address` (a D-Bus address; empty: none) without starting the
// accessibility bus when it is not running, and without any thread.
BusAnswer AskSessionBus(const std::string& address);
// The session bus's address as the desktop gives it: DBUS_SESSION_BUS_ADDRESS, else the
// user's bus socket in XDG_RUNTIME_DIR when there is one; empty for none.
std::string SessionBusAddress();

// Starts exporting the windows, when the desktop wants it; answers whether the tree is
// exported now. Stop ends it: the objects handed out become defunct.
bool Start();
void Stop();
bool Active();
// The tree without the bridge and without asking the bus: its objects answer ATK's own calls
// made in this process, and nothing is exported. For checks of the tree itself (tests).
bool StartInProcess();

// The number of objects the tree has made since the process started (windows, table headers
// and cells), for checks of what a tree costs.
size_t ObjectsMade();

// The window's rectangle on the screen in device pixels: its top-level's place on the screen
// plus its logical rectangle in the top-level scaled by the top-level's scale, by the rule of
// platform/base/DeviceScale.h. Empty for an unknown window.
CRect ScreenExtents(HWND hwnd);

} // namespace platform::a11y

// The backends: the built-in ones in one table (a static link keeps them all, as nothing has
// to pull a registering object file in), and those a host or test adds at run time.
#include "platform/wnd/Backend.h"

#include "platform/gdiplus/Gdi.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/WndInternal.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

namespace platform::wnd {

// Each defined next to its backend.
std::unique_ptr<Backend> MakeHeadlessBackend();
std::unique_ptr<Backend> MakeSdlBackend();

namespace {

struct BuiltIn
{
    const char* name;
    BackendFactory make;
};

constexpr BuiltIn kBuiltIn[] = {
    {"headless", &MakeHeadlessBackend},
    {"sdl2", &MakeSdlBackend},
};

std::map<std::string, BackendFactory>& Added()
{
    static std::map<std::string, BackendFactory> added;
    return added;
}

std::unique_ptr<Backend>& Current()
{
    static std::unique_ptr<Backend> current;
    return current;
}

BackendFactory FactoryFor(const std::string& name)
{
    for (const BuiltIn& b : kBuiltIn)
        if (name == b.name)
            return b.make;
    auto it = Added().find(name);
    return it == Added().end() ? nullptr : it->second;
}

} // namespace

void RegisterBackend(const char* name, BackendFactory factory)
{
    if (name && factory)
        Added()[name] = factory;
}

bool UseBackend(const char* name)
{
    const BackendFactory factory = name ? FactoryFor(name) : nullptr;
    if (!factory)
        return false;
    if (Current() && std::string(Current()->Name()) == name)
        return true;
    std::unique_ptr<Backend> next = factory();
    if (!next)
        return false;
    if (Current()) {
        DestroyAllWindows();
        if (Current()->OnDesktop())
            StartAccessibility(false);
    }
    Current() = std::move(next);
    if (Current()->OnDesktop())
        StartAccessibility(true);
    return true;
}

namespace {

// SetCursor (a GDI call) reaches the backend through here: a cursor that is not one of the
// system's shows as the arrow.
void ShowCursorOnBackend(HCURSOR cursor)
{
    const int id = cursor ? platform::SystemCursorOf(cursor) : 0;
    CurrentBackend().ShowCursor(cursor && !id ? 32512 : id);
}

} // namespace

Backend& CurrentBackend()
{
    static const bool hooked = (platform::SetCursorListener(&ShowCursorOnBackend), true);
    (void)hooked;
    if (!Current()) {
        const char* wanted = std::getenv("SKINKIT_WND_BACKEND");
        if (!wanted || !UseBackend(wanted))
            Current() = MakeHeadlessBackend();
    }
    return *Current();
}

std::string NativeWindowHandle(HWND hwnd)
{
    if (!hwnd || !::IsWindow(hwnd))
        return {};
    const HWND top = TopLevelOf(hwnd);
    if (!top || !::IsWindowVisible(top))
        return {};
    return CurrentBackend().NativeHandle(top);
}

} // namespace platform::wnd

using platform::wnd::CurrentBackend;

DWORD GetTickCount()
{
    return CurrentBackend().Now();
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    return CurrentBackend().MessageBox(owner, CString(text),
                                       caption ? CString(caption) : CString(L"Error"), type);
}

BOOL MessageBeep(UINT type)
{
    CurrentBackend().Beep(type);
    return TRUE;
}

namespace platform::wnd {

double PickDisplayScale(const char* override, double displayDpi, double xftDpi,
                        const char* gdkScale)
{
    if (override && *override) {
        char* end = nullptr;
        const double scale = std::strtod(override, &end);
        return *end == '\0' ? scale : std::nan("");
    }
    auto fromDpi = [](double dpi) { return std::round(dpi / 96.0 * 4.0) / 4.0; };
    if (std::isfinite(displayDpi) && displayDpi > 0 && fromDpi(displayDpi) > 0)
        return fromDpi(displayDpi);
    if (std::isfinite(xftDpi) && xftDpi > 0 && fromDpi(xftDpi) > 0)
        return fromDpi(xftDpi);
    if (gdkScale && *gdkScale) {
        char* end = nullptr;
        const long scale = std::strtol(gdkScale, &end, 10);
        if (*end == '\0' && scale >= 1 && scale <= 8)
            return static_cast<double>(scale);
    }
    return 1.0;
}

} // namespace platform::wnd

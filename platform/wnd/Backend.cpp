// The backend registry.
#include "platform/wnd/Backend.h"

#include "platform/wnd/WindowManager.h"

#include <cstdlib>
#include <map>
#include <string>

namespace platform::wnd {
namespace {

std::map<std::string, BackendFactory>& Registry()
{
    static std::map<std::string, BackendFactory> registry;
    return registry;
}

std::unique_ptr<Backend>& Current()
{
    static std::unique_ptr<Backend> current;
    return current;
}

} // namespace

// Defined by the headless backend, so that it is there whatever the link order of the
// registrations.
std::unique_ptr<Backend> MakeHeadlessBackend();

void RegisterBackend(const char* name, BackendFactory factory)
{
    if (name && factory)
        Registry()[name] = factory;
}

bool UseBackend(const char* name)
{
    if (!name)
        return false;
    BackendFactory factory = nullptr;
    if (std::string(name) == "headless")
        factory = &MakeHeadlessBackend;
    else if (auto it = Registry().find(name); it != Registry().end())
        factory = it->second;
    if (!factory)
        return false;
    if (Current() && std::string(Current()->Name()) == name)
        return true;
    std::unique_ptr<Backend> next = factory();
    if (!next)
        return false;
    if (Current())
        DestroyAllWindows();
    Current() = std::move(next);
    return true;
}

Backend& CurrentBackend()
{
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

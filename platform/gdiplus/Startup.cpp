#include "platform/gdiplus/GdiplusPrivate.h"

#include <mutex>
#include <set>

namespace Gdiplus {
namespace {

// Reached from the library's load and unload hooks, which run before ordinary static
// initialisation and after static destruction: the state is made on first use and never
// destroyed.
struct StartupState
{
    std::mutex lock;
    std::set<ULONG_PTR> tokens;
    ULONG_PTR nextToken = 0x5EED0001;
};

StartupState& State()
{
    static StartupState* state = new StartupState;
    return *state;
}

} // namespace

namespace detail {

bool IsStarted()
{
    StartupState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    return !st.tokens.empty();
}

} // namespace detail

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* output)
{
    if (!token || !input)
        return InvalidParameter;
    if (input->GdiplusVersion != 1)
        return UnsupportedGdiplusVersion;
    if (output) {
        // Background-thread notification hooks are not offered: there is no background thread.
        output->NotificationHook = nullptr;
        output->NotificationUnhook = nullptr;
    }
    StartupState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    *token = st.nextToken++;
    st.tokens.insert(*token);
    return Ok;
}

void GdiplusShutdown(ULONG_PTR token)
{
    StartupState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    st.tokens.erase(token);
}

} // namespace Gdiplus

#include "controls/KeyboardAccess.h"

#include <atomic>

namespace skinkit {
namespace {

std::atomic<bool> g_keyboardAccess{false};

} // namespace

void EnableKeyboardAccess(bool enable)
{
    g_keyboardAccess = enable;
}

bool KeyboardAccessEnabled()
{
    return g_keyboardAccess;
}

} // namespace skinkit

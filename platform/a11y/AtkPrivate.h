// The ATK and AT-SPI bridge functions the accessibility unit calls, loaded when the tree is
// first exported: a program whose desktop has no assistive technology never loads them. The
// GType macros of the ATK headers call these libraries directly, so the unit uses the
// `*_get_type` pointers below instead of them. Internal to platform/a11y.
#pragma once

#if SKINKIT_HAVE_ATK
#include <atk-bridge.h>
#include <atk/atk.h>

namespace platform::a11y {

#define SKINKIT_ATK_FUNCTIONS(X)                                                                   \
    X(atk_object_get_type)                                                                         \
    X(atk_util_get_type)                                                                           \
    X(atk_component_get_type)                                                                      \
    X(atk_action_get_type)                                                                         \
    X(atk_value_get_type)                                                                          \
    X(atk_text_get_type)                                                                           \
    X(atk_object_initialize)                                                                       \
    X(atk_object_notify_state_change)                                                              \
    X(atk_state_set_new)                                                                           \
    X(atk_state_set_add_state)

#define SKINKIT_BRIDGE_FUNCTIONS(X)                                                                \
    X(atk_bridge_adaptor_init)                                                                     \
    X(atk_bridge_adaptor_cleanup)

struct AtkLibrary
{
#define SKINKIT_ATK_POINTER(name) decltype(&::name) name = nullptr;
    SKINKIT_ATK_FUNCTIONS(SKINKIT_ATK_POINTER)
    SKINKIT_BRIDGE_FUNCTIONS(SKINKIT_ATK_POINTER)
#undef SKINKIT_ATK_POINTER
};

// The functions, loaded at the first call; null when a library or a function is missing.
const AtkLibrary* LoadAtk();
// Loaded already (for tests that check that nothing was).
bool AtkLoaded();

} // namespace platform::a11y
#endif

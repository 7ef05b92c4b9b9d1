// The ATK and AT-SPI bridge functions the accessibility unit calls, loaded when the tree is
// first exported: a program whose desktop has no assistive technology never loads them. The
// GType macros of the ATK headers call these libraries directly, so the unit uses the
// `*_get_type` pointers below instead of them. Internal to platform/a11y.
#pragma once

#if SKINKIT_HAVE_ATK
#include "platform/wnd/Accessible.h"

#include <atk-bridge.h>
#include <atk/atk.h>

#include <string>
#include <vector>

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

// --- AtkObjects.cpp: the objects over the windows ---

// What stands behind one window's object; a null hwnd once the window went.
struct Node
{
    HWND hwnd = nullptr;
    AtkObject* object = nullptr;
    wnd::AccDescription reported; // what the bridge was last told
    // Kept for the const strings the ATK calls hand out.
    std::string name, description, text;
    std::vector<std::string> actions;
};

// Makes the application object (registering the types and AtkUtil's root at the first
// call); false when ATK cannot be loaded. DropObjects lets every object go, defunct.
bool MakeObjects(const std::string& appName);
void DropObjects();
AtkObject* AppObject();
// The window's object, made when there is none yet; null for no window.
AtkObject* ObjectFor(HWND hwnd);
// The window's object's node, or null when none was made.
Node* FindNode(HWND hwnd);
// The object becomes defunct and is let go; its window is forgotten.
void DropNode(Node* node);
// What the window answers to WM_ACCDESCRIBE (an empty description for none).
wnd::AccDescription Describe(HWND hwnd);
// Reads the window afresh into the node's strings; answers the description.
wnd::AccDescription Refresh(Node* node);
// An object's children: a window's child windows in creation order; for the application
// (null), the shown top-level windows.
std::vector<HWND> ChildWindows(HWND parent);
// `hwnd`'s place among ChildWindows(parent), or -1.
int IndexIn(HWND parent, HWND hwnd);
// The object has the text interface.
bool HasText(const wnd::AccDescription& d);
// A state-change signal for every state bit in `changed`, on or off as `now` says.
void NotifyStates(AtkObject* object, unsigned changed, unsigned now);

} // namespace platform::a11y
#endif

// The ATK and AT-SPI bridge functions the accessibility unit calls, loaded when the tree is
// first exported: a program whose desktop has no assistive technology never loads them. The
// GType macros of the ATK headers call these libraries directly, so the unit uses the
// `*_get_type` pointers below instead of them. Internal to platform/a11y.
#pragma once

#if SKINKIT_HAVE_ATK
#include "platform/wnd/Accessible.h"

#include <atk-bridge.h>
#include <atk/atk.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace platform::a11y {

#define SKINKIT_ATK_FUNCTIONS(X)                                                                   \
    X(atk_object_get_type)                                                                         \
    X(atk_util_get_type)                                                                           \
    X(atk_component_get_type)                                                                      \
    X(atk_action_get_type)                                                                         \
    X(atk_value_get_type)                                                                          \
    X(atk_text_get_type)                                                                           \
    X(atk_table_get_type)                                                                          \
    X(atk_table_cell_get_type)                                                                     \
    X(atk_selection_get_type)                                                                      \
    X(atk_hyperlink_get_type)                                                                      \
    X(atk_hyperlink_impl_get_type)                                                                 \
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

// A table's objects kept while it is there: its column headers, and the cells of the rows
// on the screen with what the bridge was last told of those rows. Cells of other rows are made
// when asked and kept by nobody but the asker, so that a table costs what its screen shows.
struct TableCache
{
    std::vector<AtkObject*> headers;      // one reference each; null where none was asked for
    std::vector<std::string> headerTexts; // for the const strings of the column descriptions
    std::map<std::pair<int, int>, AtkObject*> cells; // (row, column), one reference each
    std::map<int, wnd::AccRow> rows;                 // per row with a kept cell
};

// What stands behind one window's object; a null hwnd once the window went.
struct Node
{
    HWND hwnd = nullptr;
    AtkObject* object = nullptr;
    wnd::AccDescription reported; // what the bridge was last told
    // Kept for the const strings the ATK calls hand out.
    std::string name, description, text;
    std::vector<std::string> actions;
    TableCache table; // for a table
    // When a value change was last told (GetTickCount), and whether one waits to be told.
    DWORD valueTold = 0;
    bool valueWaits = false;
};

// Makes the application object (registering the types and AtkUtil's root at the first
// call); false when ATK cannot be loaded. DropObjects lets every object go, defunct.
bool MakeObjects(const std::string& appName);
void DropObjects();
AtkObject* AppObject();
// The window's object, made when there is none yet; null for no window.
AtkObject* ObjectFor(HWND hwnd);
// The node behind a window's object (not a cell's), or null.
Node* NodeOfWindowObject(AtkObject* object);
// The node's window while the tree is up and the window is there; else null.
HWND LiveWindow(Node* node);
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
// A new state set with the ATK states of the bits.
AtkStateSet* StateSetOf(unsigned states);
// Counts an object made (ObjectsMade in Accessibility.h).
void CountObjectMade();

// --- AtkTable.cpp: a table's headers and cells ---

// The children a table has besides its windows: its column headers, then its cells row by row.
gint TableChildCount(const wnd::AccTable& t);
// A new reference to the table child at `index` counted after the windows, or null.
AtkObject* RefTableChild(Node* table, const wnd::AccTable& t, gint index);
// Gives a table's object type the table and selection interfaces; registers the cell type.
void AddTableInterfaces(GType tableType);
// Tells the bridge how the table changed from `was` to `now`, and keeps only the cells of the
// rows now on the screen.
void ReportTable(Node* node, const wnd::AccTable& was, const wnd::AccTable& now);
// The table's kept objects become defunct and are let go.
void DropTable(Node* node);

} // namespace platform::a11y
#endif

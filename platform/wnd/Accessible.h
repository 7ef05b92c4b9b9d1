// How windows describe themselves to assistive technology (screen readers), and how such a
// program acts on them. Every window answers WM_ACCDESCRIBE: the window layer fills what it
// knows (a role from the class and style, the text as the name, enabled, shown and focused),
// and a control's thin handler calls Default() and then adds its own (a check, a value range,
// its text). WM_ACCDOACTION and WM_ACCSETVALUE go back to the control, which does exactly
// what the mouse would, notifications included. The accessibility unit (platform/a11y) reads
// windows only through these messages; the window layer tells it what changed through the
// listener below, which costs nothing while nobody listens.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

// lParam: an AccDescription* to fill. Answers TRUE.
constexpr UINT WM_ACCDESCRIBE = 0x03D0;
// wParam: the index of the action (AccDescription::actions). Answers TRUE when it was done.
constexpr UINT WM_ACCDOACTION = 0x03D1;
// lParam: a const double* with the new value. Answers TRUE when it was taken, FALSE for a
// value outside the range or a window without a value.
constexpr UINT WM_ACCSETVALUE = 0x03D2;
// For a table: wParam the row (from 0), lParam an AccRow* to fill. Answers TRUE, FALSE for a
// row outside 0 .. rows - 1.
constexpr UINT WM_ACCDESCRIBEROW = 0x03D3;
// For a table: wParam the row to select, exactly as a click on it selects it (the parent hears
// the same notification). Answers TRUE when it was selected, FALSE for no such row.
constexpr UINT WM_ACCSELECTROW = 0x03D4;

namespace platform::wnd {

enum class AccRole {
    Unknown,
    Frame,   // a top-level window
    ToolTip, // a pop-up top-level window
    Panel,   // a window that holds others; with a caption, a group box
    PushButton,
    ToggleButton,
    CheckBox,
    RadioButton,
    Label,
    Slider,
    ScrollBar,
    Link,
    Image,
    Table,
};

// States, as bits.
namespace acc {
constexpr unsigned Enabled = 1u << 0;
constexpr unsigned Focusable = 1u << 1;
constexpr unsigned Focused = 1u << 2;
constexpr unsigned Pressed = 1u << 3;
constexpr unsigned Checkable = 1u << 4;
constexpr unsigned Checked = 1u << 5;
constexpr unsigned Visible = 1u << 6; // WS_VISIBLE itself
constexpr unsigned Showing = 1u << 7; // and every ancestor too
constexpr unsigned Horizontal = 1u << 8;
constexpr unsigned Active = 1u << 9; // a top-level that holds the focus
constexpr unsigned Selectable = 1u << 10;
constexpr unsigned Selected = 1u << 11;
constexpr unsigned Mixed = 1u << 12; // a check box neither checked nor unchecked
} // namespace acc

struct AccValue
{
    double min = 0;
    double max = 0;
    double current = 0;
    double step = 0; // the smallest change, 0 for any
};

// What a table (AccRole::Table) says about itself besides the common part: only numbers and
// the column headers, so that describing a table of any length costs the same. Its rows are
// asked one at a time (WM_ACCDESCRIBEROW).
struct AccTable
{
    int rows = 0;
    int columns = 0;
    std::vector<CString> headers; // one per column, empty for none
    int firstShown = 0;           // the rows on the screen: firstShown .. + shownRows - 1
    int shownRows = 0;
    int selected = -1; // -1 for none
    // The row the table marks as the current one (a media list's playing row), -1 for none.
    int current = -1;
    // Changes whenever every row was taken out at once, so that a row object made before
    // stands for nothing afterwards even when a new row has the same index.
    unsigned generation = 0;
};

// One row of a table.
struct AccRow
{
    std::vector<CString> cells; // one text per column
    unsigned states = 0;        // Enabled, Selectable, Selected, Checkable, Checked, Mixed
    bool current = false;
};

struct AccDescription
{
    AccRole role = AccRole::Unknown;
    CString name;
    CString description;
    unsigned states = 0;
    bool hasValue = false;
    AccValue value;
    // The actions WM_ACCDOACTION takes by index, named as assistive technology names them
    // ("click", "jump").
    std::vector<std::string> actions;
    // What the window shows as text, for labels and the like; empty for none.
    CString text;
    // Where a link leads.
    CString url;
    // For AccRole::Table.
    AccTable table;
};

// A window text as a name: the mnemonic marks taken out ("&Play" is "Play", "&&" is "&").
CString TextWithoutMnemonic(const CString& text);
// The role of a system button of `style`: check boxes, radio buttons and push-like ones
// (toggle buttons) by their type, group boxes as panels, anything else a push button.
AccRole ButtonRole(DWORD style);

// The position a value asked for stands for in a control of whole positions from `min` to
// `max` (either way round): the nearest one. False for a value outside the range or not a
// number, which the control refuses.
bool PositionForValue(int min, int max, double value, int* pos);

// What the window layer reports to the accessibility unit.
enum class AccEvent {
    Created,    // a window was made (after WM_CREATE)
    Destroying, // a window is going (before WM_DESTROY)
    Focus,      // the focus moved to this window (null: to none)
    Changed,    // the window may look or read differently: invalidated, text, shown, enabled
};
using AccListener = void (*)(HWND hwnd, AccEvent event);
// A window whose description changed without a repaint (a table's new rows) says so here.
void AccessibleChanged(HWND hwnd);
// One listener; null removes it.
void SetAccessibilityListener(AccListener listener);

// Called with true when a backend that shows windows on a desktop becomes current (and the
// desktop may have assistive technology), with false when it goes. The accessibility unit
// hooks in here, so that the window layer does not depend on it.
using AccStarter = void (*)(bool start);
void SetAccessibilityStarter(AccStarter starter);

} // namespace platform::wnd

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
} // namespace acc

struct AccValue
{
    double min = 0;
    double max = 0;
    double current = 0;
    double step = 0; // the smallest change, 0 for any
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
// One listener; null removes it.
void SetAccessibilityListener(AccListener listener);

// Called with true when a backend that shows windows on a desktop becomes current (and the
// desktop may have assistive technology), with false when it goes. The accessibility unit
// hooks in here, so that the window layer does not depend on it.
using AccStarter = void (*)(bool start);
void SetAccessibilityStarter(AccStarter starter);

} // namespace platform::wnd

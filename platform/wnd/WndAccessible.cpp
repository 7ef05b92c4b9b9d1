// The window layer's side of assistive technology: the default answers of the generic, button
// and static classes to WM_ACCDESCRIBE and WM_ACCDOACTION, and the listener that hears what
// changes. See Accessible.h.
#include "platform/wnd/Accessible.h"
#include "platform/wnd/ToolTipCtrl.h"
#include "platform/wnd/WndInternal.h"

#include <algorithm>
#include <cmath>

namespace platform::wnd {
namespace {

AccListener g_listener = nullptr;
AccStarter g_starter = nullptr;

bool IsCheckType(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
           type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

} // namespace

CString TextWithoutMnemonic(const CString& text)
{
    CString out;
    const int n = text.GetLength();
    for (int i = 0; i < n; ++i) {
        // A single '&' marks the next letter; "&&" stands for one '&'.
        if (text[i] == L'&' && i + 1 < n)
            ++i;
        else if (text[i] == L'&')
            continue;
        out += text[i];
    }
    return out;
}

AccRole ButtonRole(DWORD style)
{
    const DWORD type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX)
        return AccRole::Panel;
    if (IsCheckType(type) && (style & BS_PUSHLIKE))
        return AccRole::ToggleButton;
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
        return AccRole::RadioButton;
    if (IsCheckType(type))
        return AccRole::CheckBox;
    return AccRole::PushButton;
}

bool PositionForValue(int min, int max, double value, int* pos)
{
    const double lo = std::min(min, max), hi = std::max(min, max);
    if (!(value >= lo && value <= hi))
        return false;
    *pos = static_cast<int>(std::lround(value));
    return true;
}

void SetAccessibilityListener(AccListener listener)
{
    g_listener = listener;
}

void SetAccessibilityStarter(AccStarter starter)
{
    g_starter = starter;
}

void TellAccessibility(HWND hwnd, AccEvent event)
{
    if (g_listener)
        g_listener(hwnd, event);
}

void AccessibleChanged(HWND hwnd)
{
    TellAccessibility(hwnd, AccEvent::Changed);
}

void StartAccessibility(bool start)
{
    if (g_starter)
        g_starter(start);
}

void DescribeWindow(HWND hwnd, const Window& w, AccDescription& d)
{
    d.role = w.parent ? AccRole::Panel : (w.style & WS_POPUP) ? AccRole::ToolTip : AccRole::Frame;
    d.name = TextWithoutMnemonic(w.text);
    if (d.name.IsEmpty() && w.parent)
        d.name = CToolTipCtrl::TipCovering(hwnd);
    d.states = 0;
    bool enabled = true;
    for (const Window* a = &w; a; a = Find(a->parent))
        enabled = enabled && !(a->style & WS_DISABLED);
    if (enabled)
        d.states |= acc::Enabled;
    if (w.style & WS_VISIBLE)
        d.states |= acc::Visible;
    if (IsShown(hwnd))
        d.states |= acc::Showing;
    if (w.style & WS_TABSTOP)
        d.states |= acc::Focusable;
    const HWND focus = GetFocus();
    if (focus == hwnd)
        d.states |= acc::Focused | acc::Focusable;
    if (!w.parent && focus && (focus == hwnd || IsChild(hwnd, focus)))
        d.states |= acc::Active;
}

void DescribeButton(HWND hwnd, const Window& w, AccDescription& d)
{
    const DWORD type = w.style & BS_TYPEMASK;
    d.role = ButtonRole(w.style);
    if (type == BS_GROUPBOX)
        return;
    d.states |= acc::Focusable;
    // Asked of the window, so that a subclass keeping its own check answers.
    const auto state = static_cast<WPARAM>(SendMessageW(hwnd, BM_GETSTATE, 0, 0));
    const LRESULT check = SendMessageW(hwnd, BM_GETCHECK, 0, 0);
    if (state & BST_PUSHED)
        d.states |= acc::Pressed;
    if (IsCheckType(type)) {
        d.states |= acc::Checkable;
        if (check)
            d.states |= acc::Checked;
        if (check && (w.style & BS_PUSHLIKE))
            d.states |= acc::Pressed;
    }
    d.actions = {"click"};
}

void DescribeStatic(const Window& w, AccDescription& d)
{
    const DWORD type = w.style & SS_TYPEMASK;
    if (type == SS_ICON || type == SS_BITMAP) {
        d.role = AccRole::Image;
        return;
    }
    d.role = AccRole::Label;
    d.text = (w.style & SS_NOPREFIX) ? w.text : TextWithoutMnemonic(w.text);
    d.name = d.text;
    if (w.style & SS_NOTIFY)
        d.actions = {"click"};
}

} // namespace platform::wnd

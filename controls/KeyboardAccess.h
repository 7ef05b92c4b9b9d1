// Keys for the controls this library draws itself (sliders, scroll bar, list box, hyperlink).
// The platform's own keyboard interface (system buttons, the dialog manager, accelerators) is
// always there; these keys are an extension a host turns on, so that a host wanting exactly
// the controls' original behaviour keeps it. Off by default; library-wide.
#pragma once

#include "platform/base/WinTypes.h"

#include <initializer_list>
#include <utility>

namespace skinkit {

void EnableKeyboardAccess(bool enable);
bool KeyboardAccessEnabled();

// A control's own name for virtual key `vk`, looked up in the control's `table`; false, with
// `*key` untouched, for a key the table does not name.
template <typename Key>
bool KeyFor(UINT vk, std::initializer_list<std::pair<UINT, Key>> table, Key* key)
{
    for (const auto& [code, named] : table)
        if (code == vk) {
            *key = named;
            return true;
        }
    return false;
}

} // namespace skinkit

// Keys for the controls this library draws itself (sliders, scroll bar, list box, hyperlink).
// The platform's own keyboard interface (system buttons, the dialog manager, accelerators) is
// always there; these keys are an extension a host turns on, so that a host wanting exactly
// the controls' original behaviour keeps it. Off by default; library-wide.
#pragma once

namespace skinkit {

void EnableKeyboardAccess(bool enable);
bool KeyboardAccessEnabled();

} // namespace skinkit

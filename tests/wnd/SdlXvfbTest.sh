#!/bin/sh
# The SDL2 backend on a real X server: a private Xvfb display, the pointer moved onto a
# skinned button with xdotool (the screen must then show the button's hover frame) and a
# click (the probe's parent must hear BN_CLICKED); the wheel in both directions on the way.
# The window's native handle must name the X window that shows it.
# Skips (77) without Xvfb, xdotool or import.
# Usage: SdlXvfbTest.sh PROBE
. "$(dirname "$0")/../XvfbKit.sh"
need
start_display
start_probe "$1"
find_window 'skinkit sdl probe'

# Another program's dialog is made transient for the window by this name; a window that is
# not shown has none to give.
grep -q "^NATIVE x11:$(printf '%x' "$wid")\$" "$work/out" || fail "the native handle is not x11:$(printf '%x' "$wid")"
grep -q '^HIDDEN $' "$work/out" || fail "a hidden window gave a native handle"

# The button sits at (20, 20) in the window, 80 x 30; its hover face is 30c090, srgb(48,192,144).
xdotool mousemove --window "$wid" 50 30
sx=$((X + 60)); sy=$((Y + 35))
# Each try nudges the pointer, so that a hover missed while the window came up comes again.
hover_shown() {
  [ "$(pixel "$sx" "$sy")" = 'srgb(48,192,144)' ] && return 0
  xdotool mousemove --window "$wid" 50 $((30 + i % 2))
  return 1
}
wait_for 30 "the screen does not show the hover frame at $sx,$sy" hover_shown

# Wheel away from the user (button 4) is +120, toward the user -120; the button does not
# handle it, so the default handling passes it on to the parent.
for step in "4 120" "5 -120"; do
  set -- $step
  xdotool click "$1"
  wait_for 50 "wheel button $1 did not reach the parent as $2" grep -q "^WHEEL $2\$" "$work/out"
done

xdotool click 1
wait_probe_end "the click"
grep -q '^BN_CLICKED 7$' "$work/out" || fail "the parent did not get BN_CLICKED"
[ "$code" -eq 0 ] || fail "the probe exited with $code"
echo "ok: hover frame shown, wheel and BN_CLICKED delivered"

#!/bin/sh
# The SDL2 backend on a real X server whose desktop asks for 192 DPI (Xft.dpi: Xvfb tells SDL
# no DPI of its own): without SKINKIT_SCALE the window takes the display's scale 2, is twice
# its logical size, the skinned button's device pixels show its hover frame (the screen read
# back), and a click at device coordinates lands on the button (a point just outside the
# button's device pixels must not), its parent hearing BN_CLICKED. A window moved to scale 2
# once shown grows in place. A SKINKIT_SCALE that is no scale is refused with a message and the
# window keeps 1 (the override's other values are PickDisplayScale's table), where the native
# handle names the X window and the wheel reaches the parent. Every run must end with status 0:
# a teardown of two top-levels once failed at exit.
# Skips (77) without Xvfb, xdotool, import or xprop.
# Usage: SdlScaleXvfbTest.sh PROBE
. "$(dirname "$0")/../XvfbKit.sh"
need xprop
start_display
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER 'Xft.dpi:	192' ||
  fail "could not set Xft.dpi"

# The probe's window is 200 x 100 logical pixels; its button covers logical (20, 20)-(100, 50).
# Usage: expect_size W H [ENV...]: starts the probe with ENV, expects a W x H window.
expect_size() {
  w=$1 h=$2; shift 2
  [ -n "$probe_group" ] && stop_group "$probe_group"
  start_probe env "$@" "$probe"
  find_window 'skinkit sdl probe'
  [ "$WIDTH" -eq "$w" ] && [ "$HEIGHT" -eq "$h" ] || fail "the window is $WIDTH x $HEIGHT, not $w x $h"
}
# Ends the probe with a click on the button at device (x, y).
click_to_end() {
  xdotool mousemove --window "$wid" "$1" "$2" click 1
  wait_probe_end "the click"
  [ "$code" -eq 0 ] || fail "the probe exited with $code"
}
probe=$1

expect_size 400 200
# Device (40, 40)-(200, 100). Its hover face is 30c090, srgb(48,192,144), also at its first
# device pixel.
xdotool mousemove --window "$wid" 100 60
hover_shown() {
  [ "$(pixel $((X + 40)) $((Y + 40)))" = 'srgb(48,192,144)' ] &&
    [ "$(pixel $((X + 199)) $((Y + 99)))" = 'srgb(48,192,144)' ] && return 0
  xdotool mousemove --window "$wid" 100 $((60 + i % 2))
  return 1
}
wait_for 30 "the screen does not show the hover frame on the button's device pixels" hover_shown

# Device (39, 60) is logical 19: beside the button, the press goes to the parent.
xdotool mousemove --window "$wid" 39 60 click 1
sleep 0.3
grep -q '^BN_CLICKED' "$work/out" && fail "a click beside the button clicked it"
click_to_end 40 99 # the probe exits 0 only when its parent heard BN_CLICKED

# Moved to scale 2 once shown, the window grows to twice its logical size, keeps its place,
# and shows the button's device pixels there.
[ -n "$probe_group" ] && stop_group "$probe_group"
start_probe env SKINKIT_SCALE=1 "$probe" --rescale 2
find_window 'skinkit sdl probe'
was_x=$X was_y=$Y
grown() { eval "$(xdotool getwindowgeometry --shell "$wid")"; [ "$WIDTH" -eq 400 ] && [ "$HEIGHT" -eq 200 ]; }
wait_for 30 "the window did not grow to 400 x 200 at scale 2" grown
[ "$X" -eq "$was_x" ] && [ "$Y" -eq "$was_y" ] || fail "the window moved from $was_x,$was_y to $X,$Y"
xdotool mousemove --window "$wid" 100 60
wait_for 30 "the rescaled window does not show the hover frame" hover_shown
click_to_end 40 99

expect_size 200 100 SKINKIT_SCALE=2x
grep -q 'SKINKIT_SCALE=2x refused' "$work/out" || fail "no message refusing SKINKIT_SCALE=2x"
# Another program's dialog is made transient for the window by this name; a window that is
# not shown has none to give.
grep -q "^NATIVE x11:$(printf '%x' "$wid")\$" "$work/out" || fail "the native handle is not x11:$(printf '%x' "$wid")"
grep -q '^HIDDEN $' "$work/out" || fail "a hidden window gave a native handle"
# Wheel away from the user (button 4) is +120, toward the user -120; the button does not
# handle it, so the default handling passes it on to the parent.
xdotool mousemove --window "$wid" 30 30
for step in "4 120" "5 -120"; do
  set -- $step
  xdotool click "$1"
  wait_for 50 "wheel button $1 did not reach the parent as $2" grep -q "^WHEEL $2\$" "$work/out"
done
click_to_end 30 30
echo "ok: the display's scale 2, hover and click at device coordinates; an override; a refusal; native handle and wheel"

#!/bin/sh
# The SDL2 backend at scale 2 (SKINKIT_SCALE) on a real X server: the window is twice its
# logical size, the skinned button's device pixels show its hover frame, and a click at device
# coordinates lands on the button. A point just outside the button's device pixels must not.
# Skips (77) without Xvfb, xdotool or import.
# Usage: SdlScaleXvfbTest.sh PROBE
. "$(dirname "$0")/../XvfbKit.sh"
need
start_display
start_probe env SKINKIT_SCALE=2 "$1"
find_window 'skinkit sdl probe'

# The probe's window is 200 x 100 logical pixels.
[ "$WIDTH" -eq 400 ] && [ "$HEIGHT" -eq 200 ] || fail "the window is $WIDTH x $HEIGHT, not 400 x 200"

# The button covers logical (20, 20)-(100, 50): device (40, 40)-(200, 100). Its hover face is
# 30c090, srgb(48,192,144), also at its first device pixel.
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
xdotool mousemove --window "$wid" 40 99 click 1
wait_probe_end "the click"
grep -q '^BN_CLICKED 7$' "$work/out" || fail "the parent did not get BN_CLICKED"
[ "$code" -eq 0 ] || fail "the probe exited with $code"
echo "ok: twice the size, hover and click at device coordinates"

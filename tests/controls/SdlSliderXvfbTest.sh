#!/bin/sh
# The sliders under the SDL2 backend on a real X server: the pointer presses on the seek slider
# and drags it with xdotool; while the button is still down the screen must show the new
# position in the digit display (the parent writes it there from the slider's notifications),
# and the release must end the drag. Skips (77) without Xvfb, xdotool or import.
# Usage: SdlSliderXvfbTest.sh PROBE
. "$(dirname "$0")/../XvfbKit.sh"
need
start_display
start_probe "$1"
find_window 'skinkit slider probe'

# Digit d shows as srgb(20+20d, 200-15d, 100). The display's three cells are 20 wide at
# (20, 50) in the window. Usage: expect_digit CELL DIGIT WHEN
expect_digit() {
  sx=$((X + 30 + 20 * $1)); sy=$((Y + 60)); want="srgb($((20 + 20 * $2)),$((200 - 15 * $2)),100)"
  shows() { [ "$(pixel "$sx" "$sy")" = "$want" ]; }
  wait_for 50 "cell $1 of the time display does not show $2 ($3)" shows
}
# The slider sits at (20, 20), 210 x 16: client x 105 is position 50, x 55 is 25.
xdotool mousemove --window "$wid" 125 28
sleep 0.2
xdotool mousedown 1
wait_for 50 "the press did not reach the parent as position 50" grep -q '^DOWN 50$' "$work/out"
expect_digit 1 5 "after the press"
# Drag left, out of the slider and below it: the capture keeps the drag.
xdotool mousemove --window "$wid" 75 28
expect_digit 1 2 "while dragging"
xdotool mousemove --window "$wid" 10 90
expect_digit 1 0 "dragged past the left end"
grep -q '^MOVE 25$' "$work/out" || fail "no MOVE 25 while dragging"
xdotool mouseup 1
wait_probe_end "the release"
grep -q '^UP 0$' "$work/out" || fail "the release did not reach the parent with position 0"
[ "$code" -eq 0 ] || fail "the probe exited with $code"
echo "ok: the drag moved the time display on screen"

#!/bin/sh
# The list under the SDL2 backend on a private Xvfb display: the wheel and a drag of the scroll
# bar's thumb scroll it, read from the screen, where the row in the first place shows its colour.
# (The wheel's two directions are the backend's own test.) Skips (77) without Xvfb or xdotool.
# Usage: ListSdlXvfbTest.sh PROBE
. "$(dirname "$0")/../XvfbKit.sh"
need
start_display
start_probe "$1"
find_window 'skinkit list probe'

# Row i's colour, as the probe paints it.
colour() { echo "srgb($((10 + 5 * $1)),$((200 - 4 * $1)),$((60 + 3 * $1)))"; }
# The first place's picture centre: list at (10, 10), header 32, picture box centre (30, 16).
px=$((X + 10 + 30)); py=$((Y + 10 + 32 + 16))
expect_row() {
  want=$(colour "$1")
  shows() { [ "$(pixel "$px" "$py")" = "$want" ]; }
  wait_for 40 "$2: the first place does not show row $1 ($want)" shows
}

expect_row 0 "at start"
# A click on a row gives the list the focus; the wheel goes to the focus window.
xdotool mousemove --window "$wid" 200 100 click 1
sleep 0.3
xdotool click --repeat 3 --delay 100 5
expect_row 3 "three notches toward the user"

# The thumb (bar at x 388..400 of the list, arrows 12 high, 40 rows in 8 places: thumb 55
# high, at 13 + 221 * 3 / 32 = 33 for top 3); pressed in its middle, dragged to the bottom.
bx=$((10 + 394)); by=$((10 + 33 + 27))
xdotool mousemove --window "$wid" "$bx" "$by" mousedown 1
sleep 0.2
xdotool mousemove --window "$wid" "$bx" $((10 + 299))
sleep 0.2
xdotool mouseup 1
expect_row 32 "the thumb dragged to the bottom"
echo "ok: the wheel and a drag of the thumb scroll the list"

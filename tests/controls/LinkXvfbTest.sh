#!/bin/sh
# The hyperlink under the SDL2 backend on a private Xvfb display: the pointer moved onto the
# link with xdotool must make the backend show the hand cursor, and resting there the tooltip
# window (titled with the URL) must come up; moved away, the arrow comes back and the tooltip
# goes. Skips (77) without Xvfb, xdotool or import.
# Usage: LinkXvfbTest.sh PROBE
. "$(dirname "$0")/../XvfbKit.sh"
need
start_display
start_probe "$1"
find_window 'skinkit link probe'

# The link starts at (20, 20) of the window; its text is some 60 pixels wide. Each try nudges
# the pointer, so that a move missed while the window came up comes again.
over_link() {
  xdotool mousemove --window "$wid" 25 $((25 + i % 2))
  grep -q '^CURSOR 32649$' "$work/out"
}
wait_for 30 "the hand cursor was not shown over the link" over_link
tip_window() { xdotool search --onlyvisible --name 'https://example.org/probe' >/dev/null 2>&1; }
wait_for 30 "no tooltip window with the URL came up" tip_window

xdotool mousemove --window "$wid" 250 100
wait_for 30 "the arrow did not come back off the link" grep -q '^CURSOR 32512$' "$work/out"
tip_gone() { ! tip_window; }
wait_for 30 "the tooltip window stayed after leaving the link" tip_gone
echo "ok: hand cursor over the link, tooltip window shown, arrow and no tooltip off it"

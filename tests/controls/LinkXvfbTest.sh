#!/bin/sh
# The hyperlink under the SDL2 backend on a private Xvfb display: the pointer moved onto the
# link with xdotool must make the backend show the hand cursor, and resting there the tooltip
# window (titled with the URL) must come up; moved away, the arrow comes back.
# Skips (77) without Xvfb or xdotool.
# Usage: LinkXvfbTest.sh PROBE
PROBE=$1
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
xvfb_pid=
probe_pid=
cleanup() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- probe output:"; cat "$work/out" 2>/dev/null; exit 1; }
wait_for() {
  tries=$1; what=$2; shift 2
  i=0
  until "$@"; do
    i=$((i + 1)); [ $i -gt "$tries" ] && fail "$what"
    sleep 0.1
  done
}

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
wait_for 100 "Xvfb did not start" test -s "$work/display"
DISPLAY=:$(cat "$work/display")
export DISPLAY
SDL_VIDEODRIVER=x11
export SDL_VIDEODRIVER

ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$PROBE" >"$work/out" 2>&1 &
probe_pid=$!
wait_for 100 "the probe did not get ready" grep -q '^ready' "$work/out"
probe_window() { wid=$(xdotool search --name 'skinkit link probe' 2>/dev/null | head -n 1) && [ -n "$wid" ]; }
wait_for 50 "no probe window on the display" probe_window

# The link starts at (20, 20) of the window; its text is some 60 pixels wide.
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

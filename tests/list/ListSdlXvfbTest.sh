#!/bin/sh
# The list under the SDL2 backend on a private Xvfb display: a click gives it the focus, three
# wheel notches toward the user scroll it by three rows, and a drag of the scroll bar's thumb
# to the bottom scrolls it to the last page; each is read from the screen, where the picture
# of the row in the first place has that row's own colour.
# Skips (77) without Xvfb, xdotool or import.
# Usage: ListSdlXvfbTest.sh PROBE
PROBE=$1
for tool in Xvfb xdotool import; do
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

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
i=0
while [ ! -s "$work/display" ]; do
  i=$((i + 1)); [ $i -gt 100 ] && fail "Xvfb did not start"
  sleep 0.1
done
DISPLAY=:$(cat "$work/display")
export DISPLAY
SDL_VIDEODRIVER=x11
export SDL_VIDEODRIVER

ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$PROBE" >"$work/out" 2>&1 &
probe_pid=$!
i=0
until grep -q '^ready' "$work/out" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 100 ] && fail "the probe did not get ready"
  sleep 0.1
done
i=0
until wid=$(xdotool search --name 'skinkit list probe' 2>/dev/null | head -n 1) && [ -n "$wid" ]; do
  i=$((i + 1)); [ $i -gt 50 ] && fail "no probe window on the display"
  sleep 0.1
done
eval "$(xdotool getwindowgeometry --shell "$wid")"

# Row i's colour, as the probe paints it.
colour() { echo "srgb($((10 + 5 * $1)),$((200 - 4 * $1)),$((60 + 3 * $1)))"; }
# The first place's picture centre: list at (10, 10), header 32, picture box centre (30, 16).
px=$((X + 10 + 30)); py=$((Y + 10 + 32 + 16))
expect_row() {
  want=$(colour "$1")
  i=0
  until import -window root -crop "1x1+$px+$py" txt:- 2>/dev/null | grep -q "$want"; do
    i=$((i + 1))
    if [ $i -gt 40 ]; then
      import -window root -crop "1x1+$px+$py" txt:- 2>&1
      fail "$2: the first place does not show row $1 ($want)"
    fi
    sleep 0.1
  done
}

expect_row 0 "at start"
# A click on a row gives the list the focus; the wheel goes to the focus window.
xdotool mousemove --window "$wid" 200 100 click 1
sleep 0.3
for n in 1 2 3; do
  xdotool click 5
  sleep 0.1
done
expect_row 3 "three notches toward the user"
xdotool click 4
expect_row 2 "one notch away from the user"

# The thumb (bar at x 388..400 of the list, arrows 12 high, 40 rows in 8 places: thumb 55
# high, at 13 + 221 * 2 / 32 = 26 for top 2); pressed in its middle, dragged to the bottom.
bx=$((10 + 394)); by=$((10 + 26 + 27))
xdotool mousemove --window "$wid" "$bx" "$by" mousedown 1
sleep 0.2
xdotool mousemove --window "$wid" "$bx" $((by + 100))
sleep 0.1
xdotool mousemove --window "$wid" "$bx" $((10 + 299))
sleep 0.2
xdotool mouseup 1
expect_row 32 "the thumb dragged to the bottom"
echo "ok: the wheel and a drag of the thumb scroll the list"

#!/bin/sh
# The sliders under the SDL2 backend on a real X server: a private Xvfb display, the pointer
# presses on the seek slider and drags it with xdotool; while the button is still down the
# screen must show the new position in the digit display (the parent writes it there from the
# slider's notifications), and the release must end the drag.
# Skips (77) without Xvfb or xdotool.
# Usage: SdlSliderXvfbTest.sh PROBE X-PIXEL
PROBE=$1
XPIXEL=$2
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
until wid=$(xdotool search --name 'skinkit slider probe' 2>/dev/null | head -n 1) && [ -n "$wid" ]; do
  i=$((i + 1)); [ $i -gt 50 ] && fail "no probe window on the display"
  sleep 0.1
done
eval "$(xdotool getwindowgeometry --shell "$wid")"

# Digit d shows as srgb(20+20d, 200-15d, 100). The display's three cells are 20 wide at
# (20, 50) in the window.
face() { echo "srgb($((20 + 20 * $1)),$((200 - 15 * $1)),100)"; }
# Waits until cell $1 of the display shows digit $2.
expect_digit() {
  sx=$((X + 30 + 20 * $1)); sy=$((Y + 60))
  i=0
  until "$XPIXEL" "$sx" "$sy" 2>/dev/null | grep -q "$(face "$2")"; do
    i=$((i + 1))
    if [ $i -gt 50 ]; then
      "$XPIXEL" "$sx" "$sy"
      fail "cell $1 of the time display does not show $2 ($3)"
    fi
    sleep 0.1
  done
}

# The slider sits at (20, 20), 210 x 16: client x 105 is position 50, x 55 is 25.
xdotool mousemove --window "$wid" 125 28
sleep 0.2
xdotool mousedown 1
i=0
until grep -q '^DOWN 50$' "$work/out"; do
  i=$((i + 1)); [ $i -gt 50 ] && fail "the press did not reach the parent as position 50"
  sleep 0.1
done
expect_digit 1 5 "after the press"
# Drag left, out of the slider and below it: the capture keeps the drag.
xdotool mousemove --window "$wid" 75 28
expect_digit 1 2 "while dragging"
expect_digit 2 5 "while dragging"
xdotool mousemove --window "$wid" 10 90
expect_digit 1 0 "dragged past the left end"
expect_digit 2 0 "dragged past the left end"
grep -q '^MOVE 25$' "$work/out" || fail "no MOVE 25 while dragging"
xdotool mouseup 1
i=0
while kill -0 "$probe_pid" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 100 ] && fail "the probe did not end after the release"
  sleep 0.1
done
wait "$probe_pid"
code=$?
probe_pid=
grep -q '^UP 0$' "$work/out" || fail "the release did not reach the parent with position 0"
[ "$code" -eq 0 ] || fail "the probe exited with $code"
echo "ok: the drag moved the time display on screen"

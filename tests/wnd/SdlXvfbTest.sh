#!/bin/sh
# The SDL2 backend on a real X server: a private Xvfb display, the pointer moved onto a
# skinned button with xdotool (the screen must then show the button's hover frame) and a
# click (the probe's parent must hear BN_CLICKED); the wheel in both directions on the way.
# The window's native handle must name the X window that shows it.
# Skips (77) without Xvfb, xdotool or import.
# Usage: SdlXvfbTest.sh PROBE
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
# Usage: wait_for TRIES WHAT COMMAND...: runs the command every 0.1 s until it succeeds (its
# `i` counts the tries); after TRIES tries, fails saying WHAT.
wait_for() {
  tries=$1; what=$2; shift 2
  i=0
  until "$@"; do
    i=$((i + 1)); [ $i -gt "$tries" ] && fail "$what"
    sleep 0.1
  done
}

# Xvfb picks a free display itself and writes its number.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
wait_for 100 "Xvfb did not start" test -s "$work/display"
DISPLAY=:$(cat "$work/display")
export DISPLAY
SDL_VIDEODRIVER=x11
export SDL_VIDEODRIVER

# The X11 and D-Bus libraries that SDL loads keep allocations for the life of the process;
# under AddressSanitizer only this probe skips the leak check (the unit tests keep it).
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$PROBE" >"$work/out" 2>&1 &
probe_pid=$!
wait_for 100 "the probe did not get ready" grep -q '^ready' "$work/out"
probe_window() { wid=$(xdotool search --name 'skinkit sdl probe' 2>/dev/null | head -n 1) && [ -n "$wid" ]; }
wait_for 50 "no probe window on the display" probe_window
eval "$(xdotool getwindowgeometry --shell "$wid")"

# Another program's dialog is made transient for the window by this name; a window that is
# not shown has none to give.
grep -q "^NATIVE x11:$(printf '%x' "$wid")\$" "$work/out" || fail "the native handle is not x11:$(printf '%x' "$wid")"
grep -q '^HIDDEN $' "$work/out" || fail "a hidden window gave a native handle"

# The button sits at (20, 20) in the window, 80 x 30; its hover face is 30c090, srgb(48,192,144).
xdotool mousemove --window "$wid" 50 30
sx=$((X + 60)); sy=$((Y + 35))
# Each try nudges the pointer, so that a hover missed while the window came up comes again.
hover_shown() {
  import -window root -crop "1x1+$sx+$sy" txt:- 2>/dev/null | grep -q 'srgb(48,192,144)' && return 0
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
probe_ended() { ! kill -0 "$probe_pid" 2>/dev/null; }
wait_for 100 "the probe did not end after the click" probe_ended
wait "$probe_pid"
code=$?
probe_pid=
grep -q '^BN_CLICKED 7$' "$work/out" || fail "the parent did not get BN_CLICKED"
[ "$code" -eq 0 ] || fail "the probe exited with $code"
echo "ok: hover frame shown, wheel and BN_CLICKED delivered"

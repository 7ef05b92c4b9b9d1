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

# Xvfb picks a free display itself and writes its number.
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

# The X11 and D-Bus libraries that SDL loads keep allocations for the life of the process;
# under AddressSanitizer only this probe skips the leak check (the unit tests keep it).
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$PROBE" >"$work/out" 2>&1 &
probe_pid=$!
i=0
until grep -q '^ready' "$work/out" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 100 ] && fail "the probe did not get ready"
  sleep 0.1
done
i=0
until wid=$(xdotool search --name 'skinkit sdl probe' 2>/dev/null | head -n 1) && [ -n "$wid" ]; do
  i=$((i + 1)); [ $i -gt 50 ] && fail "no probe window on the display"
  sleep 0.1
done
eval "$(xdotool getwindowgeometry --shell "$wid")"

# Another program's dialog is made transient for the window by this name; a window that is
# not shown has none to give.
grep -q "^NATIVE x11:$(printf '%x' "$wid")\$" "$work/out" || fail "the native handle is not x11:$(printf '%x' "$wid")"
grep -q '^HIDDEN $' "$work/out" || fail "a hidden window gave a native handle"

# The button sits at (20, 20) in the window, 80 x 30; its hover face is 30c090, srgb(48,192,144).
xdotool mousemove --window "$wid" 50 30
sx=$((X + 60)); sy=$((Y + 35))
i=0
until import -window root -crop "1x1+$sx+$sy" txt:- 2>/dev/null | grep -q 'srgb(48,192,144)'; do
  i=$((i + 1))
  if [ $i -gt 30 ]; then
    import -window root -crop "1x1+$sx+$sy" txt:- 2>&1
    fail "the screen does not show the hover frame at $sx,$sy"
  fi
  xdotool mousemove --window "$wid" 50 $((30 + i % 2))
  sleep 0.1
done

# Wheel away from the user (button 4) is +120, toward the user -120; the button does not
# handle it, so the default handling passes it on to the parent.
for step in "4 120" "5 -120"; do
  set -- $step
  xdotool click "$1"
  i=0
  until grep -q "^WHEEL $2\$" "$work/out"; do
    i=$((i + 1)); [ $i -gt 50 ] && fail "wheel button $1 did not reach the parent as $2"
    sleep 0.1
  done
done

xdotool click 1
i=0
while kill -0 "$probe_pid" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 100 ] && fail "the probe did not end after the click"
  sleep 0.1
done
wait "$probe_pid"
code=$?
probe_pid=
grep -q '^BN_CLICKED 7$' "$work/out" || fail "the parent did not get BN_CLICKED"
[ "$code" -eq 0 ] || fail "the probe exited with $code"
echo "ok: hover frame shown, wheel and BN_CLICKED delivered"

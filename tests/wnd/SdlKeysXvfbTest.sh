#!/bin/sh
# Real key events through the SDL2 backend on a private Xvfb display: Tab walks the tab stops,
# Space clicks the focused button, text typed with xdotool (a non-ASCII letter among them)
# reaches the focused control as characters, Alt+mnemonic clicks its button, Shift+Tab wraps
# to the slider, whose arrow keys move it (press, release), Esc cancels; a key held while the
# keyboard goes to another window is released.
# Skips (77) without Xvfb, xdotool, xwininfo or import.
# Usage: SdlKeysXvfbTest.sh PROBE
. "$(dirname "$0")/../XvfbKit.sh"
need xwininfo
start_display
start_probe "$1"
find_window 'skinkit keys probe'
xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowactivate --sync "$wid" 2>/dev/null

# Usage: expect LINE GESTURE...: makes the gesture until the probe prints LINE (a key pressed
# before the window had the keyboard is tried again).
expect() {
  line=$1; shift
  seen() { grep -qx "$line" "$work/out"; }
  n=0
  until seen; do
    n=$((n + 1)); [ $n -gt 5 ] && fail "no '$line' after: $*"
    "$@"
    k=0; while ! seen && [ $k -lt 10 ]; do sleep 0.1; k=$((k + 1)); done
  done
}
expect 'FOCUS 11' xdotool key --window "$wid" Tab
expect 'FOCUS 12' xdotool key Tab
expect 'BN_CLICKED 12' xdotool key space
expect 'FOCUS 13' xdotool key Tab
expect 'CHAR e9' xdotool type 'é'
expect 'CHAR 41' xdotool type 'A'
# Shift held while the keyboard goes to another window (the root) is released at once.
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
expect 'KEYUP 10 0' sh -c "xdotool keydown shift; xdotool windowfocus $root"
xdotool keyup shift
xdotool windowfocus "$wid" 2>/dev/null
expect 'BN_CLICKED 11' xdotool key alt+o
xdotool key shift+Tab
expect 'SLIDER 441 11' xdotool key Right
grep -qx 'SLIDER 440 11' "$work/out" || fail "the slider's key press was not a press at 11"
expect 'SLIDER 441 10' xdotool key Left
xdotool key Escape
wait_probe_end "Esc"
[ "$code" -eq 0 ] || fail "the probe exited with $code"
echo "ok: Tab, Space, typed text (é), a mnemonic, the slider's keys through real key events"

# What the display tests share, sourced by their scripts: a private Xvfb display, the probe
# started on it under SDL2's X11 driver, waits that poll, and screen pixels read back from the
# X server (what it shows, not what a program meant to draw).
# Both end with the script, however it ends: by a trap, or, when it is killed outright, by a
# watcher that outlives it.
# Usage: . XvfbKit.sh; need TOOL...; start_display; start_probe PROBE [ARG...]; find_window TITLE
need() {
  for tool in Xvfb xdotool import setsid pgrep "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
  done
}
work=$(mktemp -d)
xvfb_pid=
probe_pid=
probe_group=
watchers=
# Whether process group $1 still has a member that is not just waiting to be reaped.
group_alive() {
  for p in $(pgrep -g "$1" 2>/dev/null); do
    [ "$(cut -d' ' -f3 "/proc/$p/stat" 2>/dev/null)" = Z ] || return 0
  done
  return 1
}
# Ends process group $1 (the X server, or the probe with whatever it started): asked first,
# then, if it lingers past two seconds, killed.
stop_group() {
  kill -TERM "-$1" 2>/dev/null
  n=0
  while group_alive "$1" && [ $n -lt 20 ]; do sleep 0.1; n=$((n + 1)); done
  kill -KILL "-$1" 2>/dev/null
  wait "$1" 2>/dev/null
  return 0
}
# A script killed outright runs no trap: a watcher (a group of its own, so that its sleep goes
# with it) ends group $1 once this script is gone.
watch_over() {
  setsid sh -c 'while kill -0 "$0" 2>/dev/null; do sleep 0.5; done
                kill -TERM "-$1" 2>/dev/null; sleep 2; kill -KILL "-$1" 2>/dev/null' "$$" "$1" \
    </dev/null >/dev/null 2>&1 &
  watchers="$watchers $!"
}
cleanup() {
  # The probe's group also after the probe ended: what it started may outlive it.
  [ -n "$probe_group" ] && stop_group "$probe_group"
  [ -n "$xvfb_pid" ] && stop_group "$xvfb_pid"
  for w in $watchers; do kill -TERM "-$w" 2>/dev/null; wait "$w" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
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
# Xvfb picks a free display itself and writes its number. The screen is 640x480 unless the
# script sets xvfb_screen (WIDTHxHEIGHTxDEPTH). It keeps what was set on it (root window
# properties such as the desktop's resources) while no client is connected.
start_display() {
  setsid Xvfb -displayfd 3 -screen 0 "${xvfb_screen:-640x480x24}" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  watch_over "$xvfb_pid"
  wait_for 100 "Xvfb did not start" test -s "$work/display"
  DISPLAY=:$(cat "$work/display")
  export DISPLAY
  SDL_VIDEODRIVER=x11
  export SDL_VIDEODRIVER
}
# The X11 and D-Bus libraries that SDL loads keep allocations for the life of the process;
# under AddressSanitizer only the probe skips the leak check (the unit tests keep it). The probe
# leads a process group of its own, so that what it starts (a chooser) ends with it.
start_probe() {
  # Emptied here, not only by the redirection of the command started in the background, so that
  # the wait below cannot find an earlier probe's "ready".
  : >"$work/out"
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" setsid "$@" >"$work/out" 2>&1 &
  probe_pid=$!
  probe_group=$probe_pid
  watch_over "$probe_pid"
  wait_for 100 "the probe did not get ready" grep -q '^ready' "$work/out"
}
# Sets wid to the window titled $1 and X, Y, WIDTH, HEIGHT to its place on the screen.
find_window() {
  title=$1
  probe_window() { wid=$(xdotool search --name "$title" 2>/dev/null | head -n 1) && [ -n "$wid" ]; }
  wait_for 50 "no probe window on the display" probe_window
  eval "$(xdotool getwindowgeometry --shell "$wid")"
}
# Prints the screen pixel at ($1, $2) as srgb(r,g,b).
pixel() { import -window root -crop "1x1+$1+$2" txt:- 2>/dev/null | grep -o 'srgb([0-9,]*)'; }
# Waits for the probe to exit after the gesture that ends it; its exit status is left in code.
wait_probe_end() {
  probe_ended() { ! kill -0 "$probe_pid" 2>/dev/null; }
  wait_for 100 "the probe did not end after $1" probe_ended
  wait "$probe_pid"
  code=$?
  probe_pid=
}

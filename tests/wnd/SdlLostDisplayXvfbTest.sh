#!/bin/sh
# A display that goes away under an idle SDL2 program: its X server is killed while the probe
# waits for input. The probe must end within 5 seconds with status 1, saying on stderr that
# the display was lost, and say it once: a second report would come from a teardown that
# talked to the dead connection (and such a teardown has been seen spinning instead of
# ending).
# Skips (77) without Xvfb, xdotool or import.
# Usage: SdlLostDisplayXvfbTest.sh PROBE
. "$(dirname "$0")/../XvfbKit.sh"
need
start_display
start_probe "$1"
find_window 'skinkit sdl probe'
sleep 0.3

stop_group "$xvfb_pid"
xvfb_pid=
probe_ended() { ! group_alive "$probe_pid"; }
wait_for 50 "the probe still runs 5 s after its display went away" probe_ended
wait "$probe_pid"
code=$?
probe_pid=
[ "$code" -eq 1 ] || fail "the probe exited with $code, not 1"
reports=$(grep -c 'connection to display .* was lost' "$work/out")
[ "$reports" -eq 1 ] || fail "the loss was reported $reports times, not once"
grep -q 'XIO' "$work/out" && fail "Xlib reported the broken connection itself"
echo "ok: the probe ended with status 1 and one message when its display went away"

#!/bin/sh
# The real zenity on a private Xvfb display, driven by xdotool as a user would: it must accept
# the arguments CUtilPath gives it (filters, folder) and hand the typed path back; asked for
# several files, Ctrl+A there selects the folder's videos (not its other files) and all come
# back in order.
# Skips (77) without Xvfb, xdotool, import or zenity.
# Usage: ZenityXvfbTest.sh PROBE
. "$(dirname "$0")/../XvfbKit.sh"
need zenity
start_display
mkdir -p "$work/Videos"
want="$work/Videos/clip.avi"
echo x >"$want"
# No accessibility bus to wait for, nor a settings daemon to start.
SKINKIT_CHOOSER=zenity NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory
export SKINKIT_CHOOSER NO_AT_BRIDGE GSETTINGS_BACKEND
# One xdotool per step: a chained xdotool types with synthetic events, which GTK ignores.
focus_zenity() {
  w=$(timeout 15 xdotool search --sync --onlyvisible --class zenity | head -n 1)
  [ -n "$w" ] || fail "no zenity window"
  timeout 10 xdotool windowfocus --sync "$w" || fail "zenity did not take the focus"
  sleep "$1"
}

start_probe "$1" "$work/Videos"
focus_zenity 0.4
timeout 10 xdotool type --delay 10 "$want"
sleep 0.4
timeout 10 xdotool key Return
wait_probe_end "Return"
grep -qx "CHOSEN $want" "$work/out" || fail "the chooser did not hand back $want"
[ "$code" -eq 0 ] || fail "the probe exited with $code"

echo y >"$work/Videos/second.avi"
echo n >"$work/Videos/notes.txt"
start_probe "$1" --multiple "$work/Videos"
focus_zenity 0.8
timeout 10 xdotool key ctrl+a
sleep 0.4
timeout 10 xdotool key Return
wait_probe_end "Return"
[ "$code" -eq 0 ] || fail "the probe for several files exited with $code"
[ "$(grep '^CHOSEN' "$work/out")" = "$(printf 'CHOSEN %s\nCHOSEN %s' "$want" "$work/Videos/second.avi")" ] ||
  fail "the chooser did not hand back both videos in order"
echo "ok: zenity took our filter and folder, handed the typed path back, and several files in order"

#!/bin/sh
# The demo read by pyatspi (DemoA11yClient.py) over a private session bus and the AT-SPI bus it
# starts, on a private Xvfb display; first, with the bus saying nobody listens, the demo must
# load none of the accessibility libraries.
# Skips (77) without dbus-run-session, the bus launcher, pyatspi, Xvfb, xdotool or ImageMagick.
# Usage: DemoA11yXvfbTest.sh SKINKIT-DEMO
here=$(cd "$(dirname "$0")" && pwd)
launcher=
for l in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$l" ] && launcher=$l
done
python=
for p in /usr/bin/python3 python3; do
  if command -v "$p" >/dev/null 2>&1 && "$p" -c 'import pyatspi' 2>/dev/null; then python=$p; break; fi
done
command -v dbus-run-session >/dev/null 2>&1 || { echo "skipped: dbus-run-session is not installed"; exit 77; }
command -v dbus-send >/dev/null 2>&1 || { echo "skipped: dbus-send is not installed"; exit 77; }
[ -n "$launcher" ] || { echo "skipped: the AT-SPI bus launcher (at-spi2-core) is not installed"; exit 77; }
[ -n "$python" ] || { echo "skipped: pyatspi (python3-pyatspi) is not installed"; exit 77; }

# A session bus of our own, which ends with this script (and the accessibility bus with it).
if [ -z "$SKINKIT_A11Y_SESSION" ]; then
  SKINKIT_A11Y_SESSION=1 exec dbus-run-session -- sh "$0" "$@"
fi

. "$here/../XvfbKit.sh"
need
# The whole demo window on the screen, its control bar included.
xvfb_screen=1024x768x24
start_display
SKINKIT_SETTINGS_DIR="$work/settings" SKINKIT_DEMO_MEDIA="$work/media" SDL_AUDIODRIVER=dummy
export SKINKIT_SETTINGS_DIR SKINKIT_DEMO_MEDIA SDL_AUDIODRIVER
unset NO_AT_BRIDGE
status() {
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:"$1" variant:boolean:"$2" \
    >/dev/null || fail "the accessibility bus could not be told $1=$2"
}

# --- nobody listens: nothing is loaded ---
status IsEnabled false
status ScreenReaderEnabled false
start_probe "$1" --print-events
grep -q 'libatk' "/proc/$probe_pid/maps" && fail "ATK was loaded with assistive technology off"
stop_group "$probe_group"
probe_group=
echo "ok: with assistive technology off the demo loads no ATK library"

# --- a screen reader listens ---
status IsEnabled true
start_probe "$1" --print-events
grep -q 'libatk-bridge' "/proc/$probe_pid/maps" || fail "the AT-SPI bridge was not loaded"
find_window "skinkit demo"
set -- $(grep '^button 1001 at' "$work/out" | sed 's/[^0-9]\{1,\}/ /g')
# "button 1001 at X,Y size WxH"
timeout 90 "$python" "$here/DemoA11yClient.py" skinkit-demo "$X" "$Y" "$2" "$3" "$4" "$5" \
  "$work/out" || fail "the accessibility client found faults"
kill -0 "$probe_pid" 2>/dev/null || fail "the demo ended while it was read"

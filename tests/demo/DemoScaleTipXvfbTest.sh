#!/bin/sh
# The demo at display scale 2 on a private Xvfb display: a pop-up placed from the pointer's
# screen position (the README link's tooltip) opens at the pointer, not at half its distance
# from the window's corner. Screen coordinates are logical pixels of the window's scale, so
# the tip stands one pointer-height (20 logical, 40 device pixels) below the pointer.
# Skips (77) without Xvfb or xdotool.
# Usage: DemoScaleTipXvfbTest.sh SKINKIT-DEMO
. "$(dirname "$0")/../XvfbKit.sh"
need
xvfb_screen=2048x1536x24
start_display
SKINKIT_SETTINGS_DIR="$work/settings" SKINKIT_DEMO_MEDIA="$work/media" SDL_AUDIODRIVER=dummy \
  SKINKIT_SCALE=2
export SKINKIT_SETTINGS_DIR SKINKIT_DEMO_MEDIA SDL_AUDIODRIVER SKINKIT_SCALE
start_probe "$1" --backend sdl2 --print-events --exit-after 20000
find_window 'skinkit demo'
# The link covers logical (215, 305)-(355, 323) of the window: device (430, 610)-(710, 646).
xdotool mousemove --window "$wid" 470 628
tip_shown() {
  tip=$(xdotool search --onlyvisible --name 'README' 2>/dev/null | head -n 1)
  [ -n "$tip" ] && return 0
  # A move restarts the tip's wait: nudge the pointer once a second, in case the first move
  # came before the window took it.
  [ $((i % 10)) -eq 9 ] && xdotool mousemove --window "$wid" 470 $((628 + i / 10 % 2))
  return 1
}
wait_for 60 "no tooltip over the README link" tip_shown
eval "$(xdotool getmouselocation --shell)"
px=$X py=$Y
eval "$(xdotool getwindowgeometry --shell "$tip")"
dx=$((X - px)) dy=$((Y - py))
[ "$dx" -ge -2 ] && [ "$dx" -le 2 ] && [ "$dy" -ge 38 ] && [ "$dy" -le 42 ] ||
  fail "the tip is at $X,$Y for the pointer at $px,$py"
echo "ok: at scale 2 the tooltip opens at the pointer ($dx, $dy device pixels from it)"

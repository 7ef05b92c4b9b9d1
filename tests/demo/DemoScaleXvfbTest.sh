#!/bin/sh
# The demo at display scale 2 on a private Xvfb display: its title is drawn at the device
# resolution (edges sharper, by Sobel, than the scale-1 title scaled up bilinearly), and the
# README link's tooltip opens one pointer-height (40 device pixels) below the pointer, not at
# half the pointer's distance from the window's corner.
# Skips (77) without Xvfb, xdotool or ImageMagick.
# Usage: DemoScaleXvfbTest.sh SKINKIT-DEMO
. "$(dirname "$0")/../XvfbKit.sh"
need convert
xvfb_screen=2048x1536x24
start_display
export SKINKIT_SETTINGS_DIR="$work/settings" SKINKIT_DEMO_MEDIA="$work/media" \
  SDL_AUDIODRIVER=dummy SKINKIT_SCALE=2

# The title static covers logical (16, 8)-(340, 28).
for s in 1 2; do
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" SKINKIT_SCALE=$s timeout 60 \
    "$1" --backend sdl2 --exit-after 1500 --window-screenshot "$work/shot$s.png" \
    >"$work/out" 2>&1 || fail "the demo at scale $s exited with $?"
done
convert "$work/shot1.png" -crop 324x20+16+8 +repage -colorspace gray -filter Triangle \
  -resize 200% "$work/up.png" &&
  convert "$work/shot2.png" -crop 648x40+32+16 +repage -colorspace gray "$work/sharp.png" ||
  fail "no title in the shots"
edges() {
  convert "$1" -define convolve:scale='!' -morphology Convolve Sobel:0 -evaluate abs 0 \
    -format '%[fx:mean]' info:
}
up=$(edges "$work/up.png") sharp=$(edges "$work/sharp.png")
awk -v u="$up" -v s="$sharp" 'BEGIN { exit !(s > 1.25 * u) }' ||
  fail "the title at scale 2 is not crisp: edge strength $sharp, scaled up from 1: $up"
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
echo "ok: at scale 2 text is crisp (edges $sharp against $up scaled up) and the tooltip opens at the pointer ($dx, $dy device pixels from it)"

#!/bin/sh
# The demo playing a file in a real SDL2 window on a private Xvfb display: the part of its shot
# where it says it showed frame K must be ffmpeg's picture of K (or a neighbour), scaled the same
# way (bilinear), within a small tolerance; a frame three further on must not pass.
# Skips (77) without Xvfb, ffmpeg or ImageMagick.
# Usage: DemoPlayerXvfbTest.sh SKINKIT-DEMO
. "$(dirname "$0")/../XvfbKit.sh"
need ffmpeg convert compare
start_display
clip="$work/clip.avi"
ffmpeg -v error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=6 \
  -f lavfi -i sine=frequency=440:sample_rate=44100:duration=6 \
  -c:v mpeg4 -q:v 2 -c:a libmp3lame -b:a 64k "$clip" || fail "ffmpeg could not make the clip"
# The demo's settings and sample files stay in the work folder; no sound card is needed.
export SKINKIT_SETTINGS_DIR="$work/settings" SKINKIT_DEMO_MEDIA="$work/media" SDL_AUDIODRIVER=dummy
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" timeout 60 \
  "$1" --backend sdl2 --print-events --exit-after 2500 --window-screenshot "$work/shot.png" \
  "$clip" >"$work/out" 2>&1 || fail "the demo exited with $?"
line=$(grep '^video frame' "$work/out") || fail "the demo did not say what it showed"
# "video frame K at MS ms, picture at X,Y size WxH"
set -- $(echo "$line" | sed 's/[^0-9]\{1,\}/ /g')
k=$1 ms=$2 x=$3 y=$4 w=$5 h=$6
[ "$ms" -ge 1500 ] || fail "only $ms ms were played in 2.5 s"
[ "$w" -gt 0 ] && [ "$h" -gt 0 ] || fail "no picture was shown"
convert "$work/shot.png" -crop "${w}x${h}+${x}+${y}" +repage "$work/shown.png"
# Pixels further than 8% from ffmpeg's frame k (scaled as the player scales) are counted.
differ() {
  ffmpeg -v error -y -i "$clip" -vf "select=eq(n\,$1),scale=$w:$h:flags=bilinear" \
    -frames:v 1 "$work/ref$1.png" || fail "ffmpeg could not give frame $1"
  compare -metric AE -fuzz 8% "$work/shown.png" "$work/ref$1.png" null: 2>&1 | cut -d' ' -f1
}
# The shot is taken from the X server, which may still show the frame before the one reported
# or already the next: the closest of the three must match.
best=
for n in $((k - 1)) "$k" $((k + 1)); do
  [ "$n" -ge 0 ] || continue
  d=$(differ "$n")
  if [ -z "$best" ] || [ "${d%.*}" -lt "${same%.*}" ]; then best=$n same=$d; fi
done
next=$(differ $((best + 3)))
limit=$((w * h / 100))
echo "frame $k at $ms ms, ${w}x${h} at $x,$y: frame $best, $same pixels differ (frame $((best + 3)): $next)"
[ "${same%.*}" -le "$limit" ] || fail "$same of $((w * h)) pixels differ from ffmpeg's frame $best"
[ "${next%.*}" -gt "$limit" ] || fail "frame $((best + 3)) passes too: the check tells nothing"
echo "ok: the shot shows ffmpeg's frame $best at the video area's size"

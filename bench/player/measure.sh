#!/bin/sh
# The demo player's cost, against ffmpeg decoding the same file:
#  1. a 640x480 MPEG-4 + MP3 file of 60 s is made with ffmpeg;
#  2. `ffmpeg -i FILE -f null -` decodes it: its CPU time (user + sys) per second of media;
#  3. skinkit-demo plays it in a real SDL2 window on a private Xvfb display, at real time (no
#     sound card needed: SDL's dummy audio driver), for the whole file; its CPU time less that
#     of a start that exits at once, per second of media;
#  4. the demo idle (the sample files listed, nothing playing) for 10 s: the wake-ups of all
#     its threads, counted as voluntary plus involuntary context switches.
# Prints one line per figure. Needs ffmpeg, Xvfb and GNU time (/usr/bin/time).
# Usage: bench/player/measure.sh [BUILD_DIR]   (default: build; builds skinkit-demo there)
set -eu
src=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$src/build}
demo=$build/demo/skinkit-demo
cmake --build "$build" --target skinkit-demo >/dev/null
for tool in ffmpeg Xvfb /usr/bin/time; do
  command -v "$tool" >/dev/null 2>&1 || { echo "needs $tool" >&2; exit 1; }
done
work=$(mktemp -d)
xvfb=
demo_pid=
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

seconds=${MEASURE_SECONDS:-60} # a shorter run only checks the script
clip=$work/clip.avi
ffmpeg -v error -y -f lavfi -i "testsrc2=size=640x480:rate=25:duration=$seconds" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" \
  -c:v mpeg4 -q:v 4 -c:a libmp3lame -b:a 128k "$clip"

# CPU seconds (user + sys) of a command.
cpu() {
  /usr/bin/time -f '%U %S' -o "$work/time" "$@" >/dev/null 2>&1 || true
  awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}
ffmpeg_cpu=$(cpu ffmpeg -v error -threads 1 -i "$clip" -f null -)
ffmpeg_mt_cpu=$(cpu ffmpeg -v error -i "$clip" -f null -)
# The same decode with each picture turned into what the demo shows: BGRA at the video area's
# 420 x 315, bilinear, as the demo's own conversion does.
ffmpeg_show_cpu=$(cpu ffmpeg -v error -threads 1 -i "$clip" -vf scale=420:315:flags=bilinear \
  -pix_fmt bgra -f null -)

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
n=0
while [ ! -s "$work/display" ] && [ $n -lt 100 ]; do sleep 0.1; n=$((n + 1)); done
DISPLAY=:$(cat "$work/display") SDL_AUDIODRIVER=dummy SKINKIT_SETTINGS_DIR=$work/settings \
  SKINKIT_DEMO_MEDIA=$work/media
export DISPLAY SDL_AUDIODRIVER SKINKIT_SETTINGS_DIR SKINKIT_DEMO_MEDIA
# The window layer has SDL copy a window's surface to the X server (shared memory).
# MEASURE_FRAMEBUFFER=gl measures SDL's OpenGL presentation instead: under Xvfb that is Mesa's
# software rasteriser, which costs more than the player.
if [ "${MEASURE_FRAMEBUFFER:-}" = gl ]; then
  SDL_FRAMEBUFFER_ACCELERATION=1
  export SDL_FRAMEBUFFER_ACCELERATION
fi

# The start alone (the window up, the file read, its first frame shown), then the whole play.
start_cpu=$(cpu "$demo" --backend sdl2 --exit-after 300 "$clip")
play_ms=$((seconds * 1000 + 300))
play_cpu=$(cpu "$demo" --backend sdl2 --exit-after "$play_ms" "$clip")

# Idle: the sample files listed, the first one's first frame shown, nothing playing.
"$demo" --backend sdl2 --exit-after 15000 >/dev/null 2>&1 &
demo_pid=$!
sleep 3
switches() {
  cat /proc/"$demo_pid"/task/*/status 2>/dev/null |
    awk '/ctxt_switches/ { n += $2 } END { print n + 0 }'
}
before=$(switches)
sleep 10
after=$(switches)
wait "$demo_pid" 2>/dev/null || true
demo_pid=

awk -v s="$seconds" -v f="$ffmpeg_cpu" -v fm="$ffmpeg_mt_cpu" -v fs="$ffmpeg_show_cpu" -v st="$start_cpu" \
  -v p="$play_cpu" -v b="$before" -v a="$after" \
  -v fb="${MEASURE_FRAMEBUFFER:-x11}" 'BEGIN {
  play = p - st
  printf "file: 640x480 MPEG-4 + MP3 128k, %d s; window surface presented by %s\n", s, fb
  printf "ffmpeg -threads 1 -i FILE -f null -: %.3f s CPU, %.4f s per media second\n", f, f / s
  printf "ffmpeg -i FILE -f null - (its own threads): %.3f s CPU, %.4f s per media second\n", fm, fm / s
  printf "ffmpeg -threads 1 ... -vf scale=420:315 -pix_fmt bgra -f null -: %.3f s CPU, %.4f s per media second\n", fs, fs / s
  printf "skinkit-demo start alone: %.3f s CPU\n", st
  printf "skinkit-demo playing at real time: %.3f s CPU less the start = %.3f s, %.4f s per media second (%.1f%% of one core)\n", p, play, play / s, 100 * play / s
  printf "ratio demo / ffmpeg -threads 1: %.2fx; demo / ffmpeg: %.2fx; demo / ffmpeg to BGRA at the shown size: %.2fx\n", play / f, play / fm, play / fs
  printf "idle (nothing playing) 10 s: %d wake-ups, %.1f a second\n", a - b, (a - b) / 10
}'

#!/usr/bin/env bash
# Builds the demo host (and only what it needs: no tests, no benchmarks) and runs it on the
# sample skin. With a display it opens a real window; without one it runs under a virtual X
# server and writes a screenshot. Arguments go to the demo: AVI files or folders to play.
set -euo pipefail
# Paths the user gave are taken from where the script was started, before it moves.
args=()
for a in "$@"; do
  if [ -e "$a" ]; then args+=("$(realpath -- "$a")"); else args+=("$a"); fi
done
set -- "${args[@]+"${args[@]}"}"
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=${SKINKIT_DEMO_BUILD:-build-demo}
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSKINKIT_TESTS=OFF -DSKINKIT_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --target skinkit-demo -j"$(nproc)"

out_dir=${SKINKIT_DEMO_OUT:-$PWD/out}
mkdir -p "$out_dir"
demo=$build/demo/skinkit-demo

if [ -n "${DISPLAY:-}" ]; then
  exec "$demo" "$@"
fi
shot="$out_dir/skinkit-demo.png"
echo "no display: running the demo under Xvfb; the screenshot goes to $shot"
xvfb-run -a -s "-screen 0 1024x768x24" "$demo" --exit-after 2000 --window-screenshot "$shot" "$@"
echo "screenshot: $shot"

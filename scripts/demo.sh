#!/usr/bin/env bash
# Builds skinkit and runs its demo host on the sample skin. With a display it opens a real
# window; without one it runs under a virtual X server and writes a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

out_dir=${SKINKIT_DEMO_OUT:-$PWD/out}
mkdir -p "$out_dir"
demo=build/demo/skinkit-demo
if [ ! -x "$demo" ]; then
  # Without the demo host, show what the painter draws.
  build/tools/skinkit-render/skinkit-render "$out_dir/skinkit-render.png"
  exit 0
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$demo" "$@"
fi
shot="$out_dir/skinkit-demo.png"
echo "no display: running the demo under Xvfb; the screenshot goes to $shot"
xvfb-run -a -s "-screen 0 1024x768x24" "$demo" --exit-after 2000 --window-screenshot "$shot" "$@"
echo "screenshot: $shot"

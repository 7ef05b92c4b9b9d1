#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need. Idempotent: when all
# are present it does nothing; otherwise it refreshes the package lists first.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libcairo2-dev libpango1.0-dev libgdk-pixbuf-2.0-dev libglib2.0-dev libsdl2-dev libsqlite3-dev
  libatk1.0-dev libatk-bridge2.0-dev libdbus-1-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev
  clang libclang-rt-14-dev
  ffmpeg libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  xvfb xauth xdotool x11-utils zenity
  at-spi2-core python3-pyatspi dbus-x11
  imagemagick
  fonts-liberation fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
